#include "host/gdi/Region.h"

#include <algorithm>

namespace host::gdi {

namespace {

bool Member(int mode, bool a, bool b)
{
    switch (mode) {
    case RGN_AND: return a && b;
    case RGN_OR: return a || b;
    case RGN_XOR: return a != b;
    case RGN_DIFF: return a && !b;
    default: return a;
    }
}

// Does the interval list contain [x, next)? pos advances monotonically.
bool Covers(const std::vector<int>& xs, size_t& pos, int x)
{
    while (pos < xs.size() && xs[pos + 1] <= x)
        pos += 2;
    return pos < xs.size() && xs[pos] <= x;
}

std::vector<int> CombineIntervals(const std::vector<int>* a, const std::vector<int>* b, int mode)
{
    static const std::vector<int> kNone;
    const std::vector<int>& xa = a ? *a : kNone;
    const std::vector<int>& xb = b ? *b : kNone;
    std::vector<int> cuts;
    cuts.reserve(xa.size() + xb.size());
    std::merge(xa.begin(), xa.end(), xb.begin(), xb.end(), std::back_inserter(cuts));
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    std::vector<int> out;
    size_t pa = 0, pb = 0;
    for (size_t i = 0; i + 1 < cuts.size(); ++i) {
        bool in = Member(mode, Covers(xa, pa, cuts[i]), Covers(xb, pb, cuts[i]));
        if (!in)
            continue;
        if (!out.empty() && out.back() == cuts[i])
            out.back() = cuts[i + 1];
        else {
            out.push_back(cuts[i]);
            out.push_back(cuts[i + 1]);
        }
    }
    return out;
}

const std::vector<int>* IntervalsAt(const std::vector<Region::Band>& bands, size_t& pos, int y)
{
    while (pos < bands.size() && bands[pos].Bottom <= y)
        ++pos;
    if (pos < bands.size() && bands[pos].Top <= y)
        return &bands[pos].X;
    return nullptr;
}

}  // namespace

Region::Region(const RECT& r)
{
    if (r.left < r.right && r.top < r.bottom)
        FBands.push_back(Band{r.top, r.bottom, {r.left, r.right}});
}

void Region::AppendBand(int top, int bottom, std::vector<int>&& x)
{
    if (x.empty() || top >= bottom)
        return;
    if (!FBands.empty() && FBands.back().Bottom == top && FBands.back().X == x) {
        FBands.back().Bottom = bottom;
        return;
    }
    FBands.push_back(Band{top, bottom, std::move(x)});
}

Region Region::FromSpans(std::vector<Span> spans)
{
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) {
        return a.Y != b.Y ? a.Y < b.Y : a.X1 < b.X1;
    });
    Region out;
    size_t i = 0;
    while (i < spans.size()) {
        int y = spans[i].Y;
        std::vector<int> xs;
        for (; i < spans.size() && spans[i].Y == y; ++i) {
            const Span& s = spans[i];
            if (s.X1 >= s.X2)
                continue;
            if (!xs.empty() && s.X1 <= xs.back())
                xs.back() = std::max(xs.back(), s.X2);
            else {
                xs.push_back(s.X1);
                xs.push_back(s.X2);
            }
        }
        out.AppendBand(y, y + 1, std::move(xs));
    }
    return out;
}

Region Region::Combine(const Region& a, const Region& b, int mode)
{
    if (mode == RGN_COPY)
        return a;
    std::vector<int> ys;
    for (const Region* r : {&a, &b})
        for (const Band& band : r->FBands) {
            ys.push_back(band.Top);
            ys.push_back(band.Bottom);
        }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    Region out;
    size_t pa = 0, pb = 0;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        const std::vector<int>* xa = IntervalsAt(a.FBands, pa, ys[i]);
        const std::vector<int>* xb = IntervalsAt(b.FBands, pb, ys[i]);
        if (!xa && !xb)
            continue;
        out.AppendBand(ys[i], ys[i + 1], CombineIntervals(xa, xb, mode));
    }
    return out;
}

int Region::Complexity() const
{
    if (FBands.empty())
        return NULLREGION;
    return IsRect() ? SIMPLEREGION : COMPLEXREGION;
}

RECT Region::Box() const
{
    if (FBands.empty())
        return RECT{};
    RECT r{FBands[0].X.front(), FBands.front().Top, FBands[0].X.back(), FBands.back().Bottom};
    for (const Band& b : FBands) {
        r.left = std::min<LONG>(r.left, b.X.front());
        r.right = std::max<LONG>(r.right, b.X.back());
    }
    return r;
}

const Region::Band* Region::BandAt(int y) const
{
    auto it = std::upper_bound(FBands.begin(), FBands.end(), y,
                               [](int v, const Band& b) { return v < b.Bottom; });
    if (it == FBands.end() || it->Top > y)
        return nullptr;
    return &*it;
}

bool Region::Contains(int x, int y) const
{
    const Band* b = BandAt(y);
    if (!b)
        return false;
    for (size_t i = 0; i < b->X.size(); i += 2)
        if (x >= b->X[i] && x < b->X[i + 1])
            return true;
    return false;
}

bool Region::Intersects(const RECT& r) const
{
    bool hit = false;
    ForEachRect(r, [&](const RECT&) { hit = true; });
    return hit;
}

void Region::Offset(int dx, int dy)
{
    for (Band& b : FBands) {
        b.Top += dy;
        b.Bottom += dy;
        for (int& x : b.X)
            x += dx;
    }
}

}  // namespace host::gdi
