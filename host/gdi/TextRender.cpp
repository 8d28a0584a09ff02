#include "host/gdi/TextRender.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace host {

namespace {

struct TPt {
    double X, Y;
};
using TQuad = std::array<TPt, 4>;

struct TBox {
    int L = std::numeric_limits<int>::max(), T = std::numeric_limits<int>::max();
    int R = std::numeric_limits<int>::min(), B = std::numeric_limits<int>::min();
    void Add(int l, int t, int r, int b)
    {
        if (r <= l || b <= t) return;
        L = std::min(L, l); T = std::min(T, t); R = std::max(R, r); B = std::max(B, b);
    }
    void Add(const TQuad& Q)
    {
        double l = Q[0].X, t = Q[0].Y, r = l, b = t;
        for (auto& p : Q) { l = std::min(l, p.X); r = std::max(r, p.X); t = std::min(t, p.Y); b = std::max(b, p.Y); }
        Add(int(std::floor(l)), int(std::floor(t)), int(std::ceil(r)) + 1, int(std::ceil(b)) + 1);
    }
    bool Empty() const { return R <= L || B <= T; }
    void Clamp(const TTextRenderOptions& O)
    {
        if (!O.Limited) return;
        L = std::max(L, int(O.Limit.left)); T = std::max(T, int(O.Limit.top));
        R = std::min(R, int(O.Limit.right)); B = std::min(B, int(O.Limit.bottom));
    }
};

// Maps offsets along and across the unrotated baseline to device coordinates.
class TFrame {
public:
    TFrame(const TFontInstance& F, double X, double Y) : FX(X), FY(Y), FC(F.DirX()), FS(-F.DirY()) {}
    TPt At(double U, double V) const { return {FX + U * FC + V * FS, FY - U * FS + V * FC}; }
    TQuad Rect(double U0, double V0, double U1, double V1) const
    {
        return {At(U0, V0), At(U1, V0), At(U1, V1), At(U0, V1)};
    }

private:
    double FX, FY, FC, FS;
};

void Allocate(TCoverageMask& M, const TBox& B)
{
    if (B.Empty()) return;
    M.Left = B.L;
    M.Top = B.T;
    M.Width = B.R - B.L;
    M.Height = B.B - B.T;
    M.Data.assign(size_t(M.Width) * M.Height, 0);
}

// Sets every pixel whose centre lies inside the convex quad. Pixel centres are
// sampled, so an axis-aligned box with whole-pixel corners fills exactly
// [x0, x1) x [y0, y1).
void FillQuad(TCoverageMask& M, const TQuad& Q)
{
    for (int row = 0; row < M.Height; ++row) {
        double cy = M.Top + row + 0.5, lo = 1e18, hi = -1e18;
        for (int i = 0; i < 4; ++i) {
            TPt a = Q[i], b = Q[(i + 1) % 4];
            if ((a.Y <= cy && b.Y > cy) || (b.Y <= cy && a.Y > cy)) {
                double x = a.X + (cy - a.Y) * (b.X - a.X) / (b.Y - a.Y);
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
        }
        if (lo > hi) continue;
        int x0 = std::max(M.Left, int(std::ceil(lo - 0.5))), x1 = std::min(M.Left + M.Width, int(std::ceil(hi - 0.5)));
        for (int x = x0; x < x1; ++x) M.Data[size_t(row) * M.Width + (x - M.Left)] = 255;
    }
}

// Merges a glyph placed at (X, Y) into the mask, keeping the stronger coverage;
// the parts outside the mask are dropped.
void Blend(TCoverageMask& M, const TGlyph& G, int X, int Y)
{
    int x0 = std::max(0, M.Left - X), y0 = std::max(0, M.Top - Y);
    int x1 = std::min(G.Width, M.Left + M.Width - X), y1 = std::min(G.Height, M.Top + M.Height - Y);
    for (int gy = y0; gy < y1; ++gy) {
        uint8_t* dst = &M.Data[size_t(Y + gy - M.Top) * M.Width + (X + x0 - M.Left)];
        const uint8_t* src = &G.Coverage[size_t(gy) * G.Width + x0];
        for (int gx = 0; gx < x1 - x0; ++gx) dst[gx] = std::max(dst[gx], src[gx]);
    }
}

struct TLine {
    int U0, U1, Top, Size;
};

std::vector<TLine> DecorationLines(const TFontInstance& Font, const TTextRun& Run, int UnderlineChar)
{
    const TFontMetrics& m = Font.Metrics();
    std::vector<TLine> lines;
    if (m.Underlined) lines.push_back({0, Run.Width(), m.UnderlineTop, m.UnderlineSize});
    if (m.StruckOut) lines.push_back({0, Run.Width(), m.StrikeOutTop, m.StrikeOutSize});
    if (UnderlineChar >= 0 && size_t(UnderlineChar) < Run.Chars.size())
        lines.push_back({Run.Offsets[size_t(UnderlineChar)], Run.Offsets[size_t(UnderlineChar) + 1], m.UnderlineTop,
                         m.UnderlineSize});
    return lines;
}

} // namespace

void TCoverageMask::Crop(int L, int T, int R, int B)
{
    int nl = std::max(L, Left), nt = std::max(T, Top), nr = std::min(R, Left + Width), nb = std::min(B, Top + Height);
    if (nr <= nl || nb <= nt) {
        *this = TCoverageMask();
        return;
    }
    std::vector<uint8_t> d(size_t(nr - nl) * (nb - nt));
    for (int y = nt; y < nb; ++y)
        std::copy_n(&Data[size_t(y - Top) * Width + (nl - Left)], nr - nl, &d[size_t(y - nt) * (nr - nl)]);
    Left = nl; Top = nt; Width = nr - nl; Height = nb - nt;
    Data = std::move(d);
}

std::u32string DecodeText(std::string_view Text)
{
    std::u32string out;
    out.reserve(Text.size());
    for (size_t i = 0; i < Text.size();) {
        unsigned char c = static_cast<unsigned char>(Text[i]);
        int extra = c >= 0xF0 && c < 0xF5 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 ? 1 : 0;
        if (c >= 0xF5) extra = 0;
        char32_t cp = extra == 3 ? c & 7 : extra == 2 ? c & 15 : c & 31;
        bool ok = extra > 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + k >= Text.size()) { ok = false; break; }
            unsigned char cc = static_cast<unsigned char>(Text[i + k]);
            if ((cc & 0xC0) != 0x80) ok = false;
            else cp = cp << 6 | (cc & 0x3F);
        }
        if (ok && ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))) ok = false;
        if (ok) {
            out.push_back(cp);
            i += size_t(extra) + 1;
        } else {
            out.push_back(c);
            ++i;
        }
    }
    return out;
}

TTextRun LayoutRun(TFontInstance& Font, std::u32string Chars, const int* Dx, size_t DxCount)
{
    TTextRun run;
    run.Chars = std::move(Chars);
    run.Offsets.reserve(run.Chars.size() + 1);
    int pen = 0;
    run.Offsets.push_back(0);
    for (size_t i = 0; i < run.Chars.size(); ++i) {
        pen += Dx && i < DxCount ? Dx[i] : Font.Advance(run.Chars[i]);
        run.Offsets.push_back(pen);
    }
    return run;
}

TTextRender RenderRun(TFontInstance& Font, const TTextRun& Run, int RefX, int RefY, const TTextRenderOptions& Options)
{
    const TFontMetrics& m = Font.Metrics();
    const int width = Run.Width();
    int u = 0, v = 0;
    if ((Options.Align & TA_CENTER) == TA_CENTER) u = -(width / 2);
    else if (Options.Align & TA_RIGHT) u = -width;
    if ((Options.Align & TA_BASELINE) == TA_BASELINE) v = 0;
    else if (Options.Align & TA_BOTTOM) v = -m.Descent;
    else v = m.Ascent;
    TTextRender r;
    TPt base = TFrame(Font, RefX, RefY).At(u, v);
    TFrame frame(Font, base.X, base.Y);
    TPt end = frame.At(width, 0);
    r.BaseX = base.X; r.BaseY = base.Y; r.EndX = end.X; r.EndY = end.Y;

    if (Options.Background) {
        TQuad box = frame.Rect(0, -m.Ascent, width, m.Descent);
        TBox b;
        b.Add(box);
        b.Clamp(Options);
        Allocate(r.Background, b);
        FillQuad(r.Background, box);
    }
    std::vector<TLine> lines = DecorationLines(Font, Run, Options.UnderlineChar);
    std::vector<TPt> pens(Run.Chars.size());
    TBox bounds;
    for (size_t i = 0; i < Run.Chars.size(); ++i) {
        TPt p = frame.At(Run.Offsets[i], 0);
        pens[i] = {std::round(p.X), std::round(p.Y)};
        const TGlyph& g = Font.Glyph(Run.Chars[i]);
        int x = int(pens[i].X) + g.Left, y = int(pens[i].Y) + g.Top;
        bounds.Add(x, y, x + g.Width, y + g.Height);
    }
    for (const TLine& l : lines) bounds.Add(frame.Rect(l.U0, l.Top, l.U1, l.Top + l.Size));
    bounds.Clamp(Options);
    Allocate(r.Text, bounds);
    if (r.Text.Empty()) return r;
    for (size_t i = 0; i < Run.Chars.size(); ++i) {
        const TGlyph& g = Font.Glyph(Run.Chars[i]);
        if (g.Width && g.Height) Blend(r.Text, g, int(pens[i].X) + g.Left, int(pens[i].Y) + g.Top);
    }
    for (const TLine& l : lines) FillQuad(r.Text, frame.Rect(l.U0, l.Top, l.U1, l.Top + l.Size));
    return r;
}

} // namespace host
