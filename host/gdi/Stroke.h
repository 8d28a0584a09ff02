#pragma once
// Pen strokes: cosmetic one-pixel lines, dash styles and wide round pens.
// All points are in surface coordinates.
#include "host/gdi/Dc.h"
#include "host/gdi/Shape.h"

#include <vector>

namespace host::gdi {

// The pixels of a cosmetic line from a towards b. The end point itself is
// never painted, so polylines meet without painting a vertex twice.
void LinePixelsEndExcluded(POINT a, POINT b, std::vector<POINT>& out);

// Pixels within width/2 of a polyline (round ends and joins), each once.
Region WideStrokeRegion(const POINT* pts, int count, bool closed, int width);

// Draws a polyline with the DC's pen, clipped; closed adds the last-to-first
// segment. Dash state runs on across segments.
void StrokePolyline(Dc& dc, const POINT* pts, int count, bool closed);

// Paints a set of pixels with the DC's pen (ROP2 applied, clipped).
void PaintPenPixels(Dc& dc, const std::vector<POINT>& pixels);
void PaintPenSpans(Dc& dc, const std::vector<Span>& spans);

}  // namespace host::gdi
