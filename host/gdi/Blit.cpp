// Block transfers: PatBlt, BitBlt, StretchBlt, MaskBlt and the DIB variants,
// plus single pixels.
#include "host/gdi/Blit.h"

#include "host/gdi/Bitmap.h"
#include "host/gdi/Rop.h"
#include "host/gdi/WinGdi.h"

#include <algorithm>
#include <vector>

namespace host::gdi {

// Monochrome -> colour: 0 bits take the destination's text colour, 1 bits its
// background colour. Colour -> monochrome: pixels equal to the source DC's
// background colour become 1, all others 0.
uint32_t ConvertSourcePixel(uint32_t s, const BlitSource& src, uint32_t dstText, uint32_t dstBk,
                            bool dstMono)
{
    if (src.Mono && !dstMono)
        return s ? dstBk : dstText;
    if (!src.Mono && dstMono)
        return s == src.BkPixel ? kPixelMask : 0;
    return s;
}

namespace {

// Nearest source index for destination index i of n, over a source span of m.
int MapIndex(int i, int n, int m) { return n == m ? i : int((int64_t(2 * i + 1) * m) / (2 * int64_t(n))); }

// The source pixels [first, last) that destination index i of n stands for:
// one pixel when enlarging or copying, the whole block when shrinking.
struct SourceRange {
    int First, Last;
};
SourceRange MapRange(int i, int n, int m)
{
    if (m <= n) {
        int k = MapIndex(i, n, m);
        return SourceRange{k, k + 1};
    }
    int first = int(int64_t(i) * m / n), last = int(int64_t(i + 1) * m / n);
    return SourceRange{first, std::max(last, first + 1)};
}

// How shrinking merges source pixels: BLACKONWHITE keeps black (AND),
// WHITEONBLACK keeps white (OR), HALFTONE averages, COLORONCOLOR keeps one.
uint32_t Merge(int mode, uint32_t acc, uint32_t p, int count)
{
    if (count == 0)
        return p;
    switch (mode) {
    case BLACKONWHITE: return acc & p;
    case WHITEONBLACK: return acc | p;
    default: return acc;
    }
}

// Samples one destination pixel; false when its source lies outside the surface.
bool SampleSource(const Surface& surf, const BlitSource& s, SourceRange xs, SourceRange ys, int mode,
                  uint32_t text, uint32_t bk, bool dstMono, uint32_t& out)
{
    bool average = mode == HALFTONE && (xs.Last - xs.First > 1 || ys.Last - ys.First > 1);
    if (mode == COLORONCOLOR || (xs.Last - xs.First == 1 && ys.Last - ys.First == 1)) {
        int x = s.X + (xs.First + xs.Last - 1) / 2, y = s.Y + (ys.First + ys.Last - 1) / 2;
        if (x < 0 || y < 0 || x >= surf.Width || y >= surf.Height)
            return false;
        out = ConvertSourcePixel(surf.Row(y)[x], s, text, bk, dstMono);
        return true;
    }
    uint32_t acc = 0;
    uint64_t sum[3] = {};
    int count = 0;
    for (int y = std::max(s.Y + ys.First, 0); y < std::min(s.Y + ys.Last, surf.Height); ++y)
        for (int x = std::max(s.X + xs.First, 0); x < std::min(s.X + xs.Last, surf.Width); ++x) {
            uint32_t p = ConvertSourcePixel(surf.Row(y)[x], s, text, bk, dstMono);
            acc = Merge(mode, acc, p, count);
            sum[0] += p & 0xFF;
            sum[1] += (p >> 8) & 0xFF;
            sum[2] += (p >> 16) & 0xFF;
            ++count;
        }
    if (count == 0)
        return false;
    if (average) {
        uint32_t avg = uint32_t(sum[0] / count) | uint32_t(sum[1] / count) << 8 | uint32_t(sum[2] / count) << 16;
        acc = dstMono ? RealizeColor(PixelToColor(avg), true) : avg;
    }
    out = acc;
    return true;
}

struct Mapped {
    RECT Dst;  // surface, normalized
    bool FlipX = false, FlipY = false;
};

Mapped NormalizeDest(Dc& dc, int x, int y, int w, int h)
{
    Mapped m;
    int sx = ClampCoord(int64_t(x) + dc.OffsetX()), sy = ClampCoord(int64_t(y) + dc.OffsetY());
    w = ClampCoord(w);
    h = ClampCoord(h);
    if (w < 0) {
        sx += w + 1;
        w = -w;
        m.FlipX = true;
    }
    if (h < 0) {
        sy += h + 1;
        h = -h;
        m.FlipY = true;
    }
    m.Dst = RECT{sx, sy, sx + w, sy + h};
    return m;
}

}  // namespace

bool DoBlit(Dc& dst, int x, int y, int w, int h, const BlitSource* src, DWORD rop,
            const MaskSource* mask)
{
    if (!dst.Target || w == 0 || h == 0)
        return false;
    uint8_t code = uint8_t(rop >> 16), back = mask ? uint8_t(rop >> 24) : code;
    bool needSrc = RopUsesSource(code) || RopUsesSource(back);
    bool needPat = RopUsesPattern(code) || RopUsesPattern(back);
    if (needSrc && !src)
        return false;
    if (needPat && dst.Brush.Null)
        return true;  // nothing to combine with
    Mapped m = NormalizeDest(dst, x, y, w, h);
    w = m.Dst.right - m.Dst.left;
    h = m.Dst.bottom - m.Dst.top;
    BlitSource s = src ? *src : BlitSource{};
    if (src && s.W < 0) {
        s.X += s.W + 1;
        s.W = -s.W;
        m.FlipX = !m.FlipX;
    }
    if (src && s.H < 0) {
        s.Y += s.H + 1;
        s.H = -s.H;
        m.FlipY = !m.FlipY;
    }
    const Region& clip = dst.EffectiveClip();
    const Surface& d = *dst.Target;
    RECT box = clip.Box();
    RECT vis{std::max({m.Dst.left, box.left, LONG(0)}), std::max({m.Dst.top, box.top, LONG(0)}),
             std::min({m.Dst.right, box.right, LONG(d.Width)}), std::min({m.Dst.bottom, box.bottom, LONG(d.Height)})};
    if (vis.left >= vis.right || vis.top >= vis.bottom)
        return true;
    // Reading and writing the same surface: read the source rows from a copy.
    std::vector<uint32_t> copy;
    Surface srcSurf = src ? *s.Surf : Surface{};
    if (src && s.Surf->Bits == dst.Target->Bits) {
        copy.resize(size_t(srcSurf.Width) * size_t(srcSurf.Height));
        int r0 = std::clamp(s.Y, 0, srcSurf.Height), r1 = std::clamp(s.Y + s.H, 0, srcSurf.Height);
        for (int r = r0; r < r1; ++r)
            std::copy(srcSurf.Row(r), srcSurf.Row(r) + srcSurf.Width, copy.begin() + ptrdiff_t(r) * srcSurf.Width);
        srcSurf.Bits = copy.data();
        srcSurf.Stride = srcSurf.Width;
    }
    bool dstMono = dst.Monochrome();
    uint32_t text = RealizeColor(dst.S.TextColor, dstMono), bk = RealizeColor(dst.S.BkColor, dstMono);
    int orgX = dst.S.BrushOrg.x + dst.DeviceOrigin.x, orgY = dst.S.BrushOrg.y + dst.DeviceOrigin.y;
    int vw = vis.right - vis.left;
    std::vector<uint32_t> sRow(static_cast<size_t>(vw)), pRow(static_cast<size_t>(vw));
    std::vector<char> valid(static_cast<size_t>(vw), 1);
    for (int dy = vis.top; dy < vis.bottom; ++dy) {
        int j = dy - m.Dst.top;
        const Region::Band* band = clip.BandAt(dy);
        if (!band)
            continue;
        if (src) {
            SourceRange ys = MapRange(m.FlipY ? h - 1 - j : j, h, s.H);
            for (int v = 0; v < vw; ++v) {
                int i = vis.left + v - m.Dst.left;
                SourceRange xs = MapRange(m.FlipX ? w - 1 - i : i, w, s.W);
                valid[size_t(v)] = SampleSource(srcSurf, s, xs, ys, dst.S.StretchMode, text, bk, dstMono,
                                                sRow[size_t(v)]);
            }
        }
        if (needPat) {
            const uint32_t* cells = dst.Brush.Cells + ((dy - orgY) & 7) * 8;
            for (int v = 0; v < vw; ++v)
                pRow[size_t(v)] = dst.Brush.Patterned ? cells[(vis.left + v - orgX) & 7] : dst.Brush.Pixel;
        }
        uint32_t* row = d.Row(dy);
        for (size_t k = 0; k < band->X.size(); k += 2) {
            int x1 = std::max(band->X[k], int(vis.left));
            int x2 = std::min(band->X[k + 1], int(vis.right));
            for (int dx = x1; dx < x2;) {
                int v = dx - vis.left;
                if (!valid[size_t(v)]) {
                    ++dx;
                    continue;
                }
                int run = dx;
                while (run < x2 && valid[size_t(run - vis.left)])
                    ++run;
                if (!mask) {
                    Rop3Row(code, row + dx, sRow.data() + v, pRow.data() + v, run - dx);
                } else {
                    for (int px = dx; px < run; ++px) {
                        size_t vv = size_t(px - vis.left);
                        bool fore = mask->Pixel(px - m.Dst.left, j);
                        row[px] = Rop3(fore ? code : back, pRow[vv], sRow[vv], row[px]);
                    }
                }
                dx = run;
            }
        }
    }
    return true;
}

bool MaskSource::Pixel(int i, int j) const
{
    int x = X + i, y = Y + j;
    if (!Surf || x < 0 || y < 0 || x >= Surf->Width || y >= Surf->Height)
        return true;
    return Surf->Row(y)[x] != 0;
}

BlitSource SourceOf(Dc& src, int x, int y, int w, int h)
{
    BlitSource s;
    s.Surf = src.Target;
    s.Mono = src.Monochrome();
    s.BkPixel = RealizeColor(src.S.BkColor, s.Mono);
    s.X = x + src.OffsetX();
    s.Y = y + src.OffsetY();
    s.W = w;
    s.H = h;
    return s;
}

}  // namespace host::gdi

namespace host {

using namespace gdi;

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop)
{
    Dc* dc = FindDc(hdc);
    if (!dc || RopUsesSource(uint8_t(rop >> 16)))
        return FALSE;
    DoBlit(*dc, x, y, w, h, nullptr, rop, nullptr);
    return TRUE;
}

BOOL StretchBlt(HDC hdst, int x, int y, int w, int h, HDC hsrc, int xs, int ys, int ws, int hs,
                DWORD rop)
{
    Dc* dst = FindDc(hdst);
    if (!dst)
        return FALSE;
    if (!RopUsesSource(uint8_t(rop >> 16)))
        return DoBlit(*dst, x, y, w, h, nullptr, rop, nullptr) || w == 0 || h == 0;
    Dc* src = FindDc(hsrc);
    if (!src || !src->Target || ws == 0 || hs == 0)
        return FALSE;
    BlitSource s = SourceOf(*src, xs, ys, ws, hs);
    DoBlit(*dst, x, y, w, h, &s, rop, nullptr);
    return TRUE;
}

BOOL BitBlt(HDC hdst, int x, int y, int w, int h, HDC hsrc, int xs, int ys, DWORD rop)
{
    return StretchBlt(hdst, x, y, w, h, hsrc, xs, ys, w, h, rop);
}

// The mask's 1 bits take the foreground ROP (low code of rop4), its 0 bits
// the background ROP (high byte).
BOOL MaskBlt(HDC hdst, int x, int y, int w, int h, HDC hsrc, int xs, int ys, HBITMAP mask,
             int xm, int ym, DWORD rop4)
{
    if (!mask)
        return BitBlt(hdst, x, y, w, h, hsrc, xs, ys, rop4 & 0x00FFFFFF);
    Dc* dst = FindDc(hdst);
    BitmapObject* m = FindObjectAs<BitmapObject>(mask, OBJ_BITMAP);
    if (!dst || !m || m->BitsPixel != 1 || w <= 0 || h <= 0)
        return FALSE;
    MaskSource ms{&m->Surf, xm, ym};
    Dc* src = FindDc(hsrc);
    BlitSource s;
    if (src && src->Target)
        s = SourceOf(*src, xs, ys, w, h);
    DoBlit(*dst, x, y, w, h, src && src->Target ? &s : nullptr, rop4, &ms);
    return TRUE;
}

int StretchDIBits(HDC hdc, int xd, int yd, int wd, int hd, int xs, int ys, int ws, int hs,
                  const void* bits, const BITMAPINFO* bmi, UINT, DWORD rop)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !bits || !bmi || !DibFormatSupported(bmi->bmiHeader))
        return 0;
    const BITMAPINFOHEADER& hd0 = bmi->bmiHeader;
    int height = hd0.biHeight < 0 ? -hd0.biHeight : hd0.biHeight;
    std::vector<uint32_t> pixels(size_t(hd0.biWidth) * size_t(height));
    Surface tmp{pixels.data(), hd0.biWidth, height, hd0.biWidth, false};
    DibToSurface(*bmi, bits, 0, height, tmp);
    // Source coordinates count from the DIB's bottom for bottom-up DIBs.
    int top = hd0.biHeight < 0 ? ys : height - ys - hs;
    BlitSource s;
    s.Surf = &tmp;
    s.X = xs;
    s.Y = top;
    s.W = ws;
    s.H = hs;
    DoBlit(*dc, xd, yd, wd, hd, &s, rop, nullptr);
    return hs;
}

int SetDIBitsToDevice(HDC hdc, int xd, int yd, DWORD w, DWORD h, int xs, int ys, UINT start,
                      UINT lines, const void* bits, const BITMAPINFO* bmi, UINT usage)
{
    if (!bmi || start != 0)
        return 0;
    int height = bmi->bmiHeader.biHeight < 0 ? -bmi->bmiHeader.biHeight : bmi->bmiHeader.biHeight;
    if (int(lines) < height)
        return 0;
    return StretchDIBits(hdc, xd, yd, int(w), int(h), xs, ys, int(w), int(h), bits, bmi, usage, SRCCOPY)
               ? int(lines)
               : 0;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF c)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !dc->Target)
        return CLR_INVALID;
    int sx = x + dc->OffsetX(), sy = y + dc->OffsetY();
    uint32_t p = RealizeColor(c, dc->Monochrome());
    if (!dc->EffectiveClip().Contains(sx, sy))
        return CLR_INVALID;
    dc->Target->Row(sy)[sx] = p;
    return PixelToColor(p);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF c) { return SetPixel(hdc, x, y, c) != CLR_INVALID; }

// Pixels outside the clip or the surface read as CLR_INVALID.
COLORREF GetPixel(HDC hdc, int x, int y)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !dc->Target)
        return CLR_INVALID;
    int sx = x + dc->OffsetX(), sy = y + dc->OffsetY();
    if (!dc->EffectiveClip().Contains(sx, sy))
        return CLR_INVALID;
    return PixelToColor(dc->Target->Row(sy)[sx]);
}

}  // namespace host
