#pragma once
// How closed shapes split into a brush part and a pen part.
#include "host/gdi/Dc.h"
#include "host/gdi/Shape.h"

#include <functional>

namespace host::gdi {

// Makes a shape for bounds, decomposed only inside a window.
using ShapeMaker = std::function<RowShape(const RECT& bounds, const RECT& window)>;

struct ShapeParts {
    std::vector<Span> Fill;
    std::vector<Span> Outline;
};

// Logical bounds -> normalized surface rectangle (right/bottom exclusive).
RECT SurfaceBounds(Dc& dc, int l, int t, int r, int b);
RECT NullPenFillBounds(RECT r);
RECT WidePenOuterBounds(const RealPen& pen, RECT r);
ShapeParts SplitShape(const RealPen& pen, RECT bounds, const ShapeMaker& make,
                      const RECT& window);
// The part of the surface drawing can reach: the clip box.
RECT DrawWindow(Dc& dc);
// bounds: the shape's bounds, the centre around which dashed outlines run.
void PaintParts(Dc& dc, const ShapeParts& parts, const RECT& bounds);

}  // namespace host::gdi
