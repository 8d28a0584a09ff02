#include "host/gdi/Shape.h"

#include <algorithm>
#include <cmath>

namespace host::gdi {

bool RowShape::Contains(int x, int y) const
{
    int i = y - Top;
    if (i < 0 || i >= int(Rows.size()))
        return false;
    return x >= Rows[size_t(i)].X1 && x < Rows[size_t(i)].X2;
}

void RowShape::AppendSpans(std::vector<Span>& out) const
{
    for (size_t i = 0; i < Rows.size(); ++i)
        if (Rows[i].X1 < Rows[i].X2)
            out.push_back(Span{Top + int(i), Rows[i].X1, Rows[i].X2});
}

namespace {

int64_t CeilDiv(int64_t num, int64_t den)  // den > 0
{
    return num >= 0 ? (num + den - 1) / den : -((-num) / den);
}

struct Crossing {
    int64_t X;
    int Dir;
};

struct Edge {
    int YLo, YHi;
    int64_t X0, Y0, Dx, Dy;  // Dy > 0 after normalising
    int Dir;
};

std::vector<Edge> BuildEdges(const POINT* pts, const int* counts, int polygons)
{
    std::vector<Edge> edges;
    const POINT* p = pts;
    for (int k = 0; k < polygons; ++k) {
        int n = counts[k];
        for (int i = 0; i < n; ++i) {
            POINT a = p[i], b = p[(i + 1) % n];
            if (a.y == b.y)
                continue;
            int dir = b.y > a.y ? 1 : -1;
            if (dir < 0)
                std::swap(a, b);
            edges.push_back(Edge{int(a.y), int(b.y), a.x, a.y, int64_t(b.x) - a.x, int64_t(b.y) - a.y, dir});
        }
        p += n;
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.YLo < r.YLo; });
    return edges;
}

// The first pixel centre at or right of the edge on row y.
int64_t CrossingX(const Edge& e, int y)
{
    return CeilDiv(e.X0 * e.Dy + (int64_t(y) - e.Y0) * e.Dx, e.Dy);
}

int Clamp32(int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2)); }

}  // namespace

std::vector<Span> PolygonSpans(const POINT* pts, const int* counts, int polygons, int fillMode,
                               const RECT& window)
{
    std::vector<Span> spans;
    int total = 0;
    for (int k = 0; k < polygons; ++k)
        total += counts[k] > 0 ? counts[k] : 0;
    if (total < 2)
        return spans;
    int ymin = pts[0].y, ymax = pts[0].y;
    for (int i = 0; i < total; ++i) {
        ymin = std::min(ymin, int(pts[i].y));
        ymax = std::max(ymax, int(pts[i].y));
    }
    ymin = std::max(ymin, int(window.top));
    ymax = std::min(ymax, int(window.bottom));
    std::vector<Edge> edges = BuildEdges(pts, counts, polygons);
    std::vector<const Edge*> active;
    std::vector<Crossing> xs;
    size_t next = 0;
    for (int y = ymin; y < ymax; ++y) {
        while (next < edges.size() && edges[next].YLo <= y)
            active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->YHi <= y; }),
                     active.end());
        xs.clear();
        for (const Edge* e : active)
            xs.push_back(Crossing{CrossingX(*e, y), e->Dir});
        std::sort(xs.begin(), xs.end(), [](const Crossing& l, const Crossing& r) { return l.X < r.X; });
        if (fillMode == ALTERNATE) {
            for (size_t i = 0; i + 1 < xs.size(); i += 2)
                if (xs[i].X < xs[i + 1].X)
                    spans.push_back(Span{y, Clamp32(xs[i].X), Clamp32(xs[i + 1].X)});
            continue;
        }
        int wind = 0;
        int64_t start = 0;
        for (const Crossing& c : xs) {
            int before = wind;
            wind += c.Dir;
            if (before == 0 && wind != 0)
                start = c.X;
            else if (before != 0 && wind == 0 && start < c.X)
                spans.push_back(Span{y, Clamp32(start), Clamp32(c.X)});
        }
    }
    return spans;
}

namespace {

// The rows of r that lie in the window widened by one row each side.
void WindowRows(const RECT& r, const RECT& window, RowShape& s)
{
    s.Top = std::max(int(r.top), int(window.top) - 1);
    int bottom = std::min(int(r.bottom), int(window.bottom) + 1);
    s.Rows.assign(size_t(std::max(0, bottom - s.Top)), RowRange{});
}

}  // namespace

RowRange EllipseRow(const RECT& r, int y)
{
    int64_t w = int64_t(r.right) - r.left, h = int64_t(r.bottom) - r.top;
    if (w <= 0 || h <= 0 || y < r.top || y >= r.bottom)
        return RowRange{};
    double cx = (double(r.left) + r.right - 1) / 2.0, cy = (double(r.top) + r.bottom - 1) / 2.0;
    double dy = (y - cy) / (h / 2.0);
    double t = 1.0 - dy * dy;
    if (t < 0)
        return RowRange{};
    double hw = (w / 2.0) * std::sqrt(t);
    int x1 = int(std::ceil(cx - hw - 1e-9)), x2 = int(std::floor(cx + hw + 1e-9)) + 1;
    return RowRange{std::max(x1, int(r.left)), std::min(x2, int(r.right))};
}

RowShape EllipseShape(const RECT& r, const RECT& window)
{
    RowShape s;
    if (r.right <= r.left || r.bottom <= r.top)
        return s;
    WindowRows(r, window, s);
    for (size_t i = 0; i < s.Rows.size(); ++i)
        s.Rows[i] = EllipseRow(r, s.Top + int(i));
    return s;
}

RowShape RoundRectShape(const RECT& r, int ellipseWidth, int ellipseHeight, const RECT& window)
{
    RowShape s;
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return s;
    int ew = std::clamp(ellipseWidth, 0, w), eh = std::clamp(ellipseHeight, 0, h);
    WindowRows(r, window, s);
    RECT corner{0, 0, ew, eh};
    for (size_t k = 0; k < s.Rows.size(); ++k) {
        int i = s.Top + int(k) - r.top;
        int row = -1;
        if (ew >= 2 && eh >= 2) {
            if (i < eh / 2)
                row = i;
            else if (h - i <= eh / 2)
                row = eh - (h - i);
        }
        int inset = row < 0 ? 0 : EllipseRow(corner, row).X1;
        s.Rows[k] = RowRange{r.left + inset, r.right - inset};
    }
    return s;
}

namespace {

RowRange RowOf(const RowShape& s, int i)
{
    if (i < 0 || i >= int(s.Rows.size()))
        return RowRange{};
    return s.Rows[size_t(i)];
}

// Pixels of row i whose four neighbours are all inside the shape.
RowRange InteriorRow(const RowShape& s, int i)
{
    RowRange cur = RowOf(s, i), up = RowOf(s, i - 1), down = RowOf(s, i + 1);
    if (up.X1 >= up.X2 || down.X1 >= down.X2)
        return RowRange{};
    return RowRange{std::max({cur.X1 + 1, up.X1, down.X1}), std::min({cur.X2 - 1, up.X2, down.X2})};
}

void SubtractRow(int y, RowRange a, RowRange b, std::vector<Span>& out)
{
    if (a.X1 >= a.X2)
        return;
    if (b.X1 >= b.X2) {
        out.push_back(Span{y, a.X1, a.X2});
        return;
    }
    if (a.X1 < b.X1)
        out.push_back(Span{y, a.X1, std::min(a.X2, b.X1)});
    if (b.X2 < a.X2)
        out.push_back(Span{y, std::max(a.X1, b.X2), a.X2});
}

}  // namespace

std::vector<Span> Outline(const RowShape& s)
{
    std::vector<Span> out;
    for (int i = 0; i < int(s.Rows.size()); ++i)
        SubtractRow(s.Top + i, s.Rows[size_t(i)], InteriorRow(s, i), out);
    return out;
}

std::vector<Span> Interior(const RowShape& s)
{
    std::vector<Span> out;
    for (int i = 0; i < int(s.Rows.size()); ++i) {
        RowRange in = InteriorRow(s, i);
        if (in.X1 < in.X2)
            out.push_back(Span{s.Top + i, in.X1, in.X2});
    }
    return out;
}

std::vector<Span> Difference(const RowShape& outer, const RowShape& inner)
{
    std::vector<Span> out;
    for (int i = 0; i < int(outer.Rows.size()); ++i) {
        int y = outer.Top + i;
        SubtractRow(y, outer.Rows[size_t(i)], RowOf(inner, y - inner.Top), out);
    }
    return out;
}

}  // namespace host::gdi
