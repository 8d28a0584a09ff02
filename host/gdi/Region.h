#pragma once
// A region as y-x bands: rows [Top, Bottom) that share one sorted list of
// disjoint half-open x intervals. Adjacent bands with equal intervals are
// merged, so equal areas always have equal representations (EqualRgn is a
// plain comparison).
#include "host/gdi/WinTypes.h"

#include <vector>

namespace host::gdi {

// One run of pixels on row Y, X1 inclusive to X2 exclusive.
struct Span {
    int Y;
    int X1;
    int X2;
};

class Region {
public:
    struct Band {
        int Top;
        int Bottom;
        std::vector<int> X;  // pairs: x1, x2 (exclusive), ascending, disjoint
        bool operator==(const Band&) const = default;
    };

    Region() = default;
    explicit Region(const RECT& r);

    // Rows may come in any order; spans of one row may overlap.
    static Region FromSpans(std::vector<Span> spans);
    static Region Combine(const Region& a, const Region& b, int mode);

    bool IsEmpty() const { return FBands.empty(); }
    bool IsRect() const { return FBands.size() == 1 && FBands[0].X.size() == 2; }
    int Complexity() const;  // NULLREGION, SIMPLEREGION or COMPLEXREGION
    RECT Box() const;
    bool Contains(int x, int y) const;
    bool Intersects(const RECT& r) const;
    void Offset(int dx, int dy);
    const std::vector<Band>& Bands() const { return FBands; }
    // Band containing row y, or null.
    const Band* BandAt(int y) const;
    // Visits the intersections of the region with rectangle r as rectangles.
    template <class F>
    void ForEachRect(const RECT& r, F&& f) const;

    bool operator==(const Region&) const = default;

private:
    void AppendBand(int top, int bottom, std::vector<int>&& x);
    std::vector<Band> FBands;
};

template <class F>
void Region::ForEachRect(const RECT& r, F&& f) const
{
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    for (const Band& b : FBands) {
        if (b.Bottom <= r.top)
            continue;
        if (b.Top >= r.bottom)
            break;
        int top = b.Top > r.top ? b.Top : r.top;
        int bottom = b.Bottom < r.bottom ? b.Bottom : r.bottom;
        for (size_t i = 0; i < b.X.size(); i += 2) {
            int x1 = b.X[i] > r.left ? b.X[i] : r.left;
            int x2 = b.X[i + 1] < r.right ? b.X[i + 1] : r.right;
            if (x1 < x2)
                f(RECT{x1, top, x2, bottom});
        }
    }
}

}  // namespace host::gdi
