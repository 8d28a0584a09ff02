#pragma once
// Shape decomposition: geometry in, pixel spans out. Coordinates here are
// whatever the caller uses (device or surface); nothing is clipped.
#include "host/gdi/Region.h"

#include <vector>

namespace host::gdi {

// Shapes are only decomposed inside a window (e.g. the clip box), so huge
// shapes cost what their visible part costs.
constexpr RECT kNoWindow{-(1 << 29), -(1 << 29), 1 << 29, 1 << 29};

// One row of a shape that is convex across each row: [X1, X2), empty if X1 >= X2.
struct RowRange {
    int X1 = 0;
    int X2 = 0;
};

// A convex-per-row shape: Rows[i] is row Top + i.
struct RowShape {
    int Top = 0;
    std::vector<RowRange> Rows;
    bool Contains(int x, int y) const;
    void AppendSpans(std::vector<Span>& out) const;
};

// Polygon interiors sample pixel centres; pixels on left and top edges are
// in, pixels on right and bottom edges are out, so abutting polygons neither
// overlap nor leave gaps.
std::vector<Span> PolygonSpans(const POINT* pts, const int* counts, int polygons, int fillMode,
                               const RECT& window = kNoWindow);

// The ellipse that touches the pixels left..right-1 and top..bottom-1. Rows
// outside the window (plus one row each side, for outlines) are left out.
RowShape EllipseShape(const RECT& r, const RECT& window = kNoWindow);
// Row y of that ellipse.
RowRange EllipseRow(const RECT& r, int y);
// A rectangle with corners cut by ellipses of the given diameters.
RowShape RoundRectShape(const RECT& r, int ellipseWidth, int ellipseHeight,
                        const RECT& window = kNoWindow);

// The one-pixel boundary of a shape: its pixels that have a 4-neighbour
// outside it. The result is 8-connected.
std::vector<Span> Outline(const RowShape& s);
// Shape pixels that are not on the outline.
std::vector<Span> Interior(const RowShape& s);
// Pixels of outer not in inner (a ring for wide pens).
std::vector<Span> Difference(const RowShape& outer, const RowShape& inner);

}  // namespace host::gdi
