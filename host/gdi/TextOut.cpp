#include "host/gdi/FontFile.h"
#include "host/gdi/FontObject.h"
#include "host/gdi/TextPaint.h"
#include "host/gdi/WinGdi.h"
#include "host/gdi/WinText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace host::gdi {

std::string_view TextArg(LPCSTR text, int count)
{
    if (!text) return {};
    return count < 0 ? std::string_view(text) : std::string_view(text, size_t(count));
}

TTextRun MeasureRun(Dc& dc, TFontInstance& font, std::u32string chars, const INT* dx, size_t dxCount)
{
    if (dx || dc.S.TextCharExtra == 0) return LayoutRun(font, std::move(chars), dx, dxCount);
    std::vector<int> d(chars.size());
    for (size_t i = 0; i < chars.size(); ++i) d[i] = font.Advance(chars[i]) + dc.S.TextCharExtra;
    return LayoutRun(font, std::move(chars), d.data(), d.size());
}

TTextRender PaintRun(Dc& dc, TFontInstance& font, const TTextRun& run, const TRunPaint& how)
{
    TTextRenderOptions o;
    o.Align = how.Align;
    o.Background = how.OpaqueBox;
    o.UnderlineChar = how.UnderlineChar;
    // Only the visible part is rendered; the clip is in surface coordinates.
    RECT visible = dc.EffectiveClip().Box();
    o.Limited = true;
    o.Limit = RECT{visible.left - dc.DeviceOrigin.x, visible.top - dc.DeviceOrigin.y,
                   visible.right - dc.DeviceOrigin.x, visible.bottom - dc.DeviceOrigin.y};
    TTextRender r = RenderRun(font, run, how.Ref.x, how.Ref.y, o);
    if (how.Clip) {
        r.Background.Crop(how.Clip->left, how.Clip->top, how.Clip->right, how.Clip->bottom);
        r.Text.Crop(how.Clip->left, how.Clip->top, how.Clip->right, how.Clip->bottom);
    }
    if (!r.Background.Empty())
        PaintCoverage(dc, r.Background.Left, r.Background.Top, r.Background.Width, r.Background.Height,
                      r.Background.Data.data(), r.Background.Width, dc.S.BkColor);
    if (!r.Text.Empty())
        PaintCoverage(dc, r.Text.Left, r.Text.Top, r.Text.Width, r.Text.Height, r.Text.Data.data(), r.Text.Width,
                      dc.S.TextColor);
    return r;
}

namespace {

// Moves the current position past the text for TA_UPDATECP: to its end for
// left alignment, back to its start for right alignment, nowhere when centred.
void AdvanceCurrentPosition(Dc& dc, const TTextRender& r, UINT align)
{
    if ((align & TA_CENTER) == TA_CENTER) return;
    double dx = r.EndX - r.BaseX, dy = r.EndY - r.BaseY;
    if (align & TA_RIGHT) { dx = -dx; dy = -dy; }
    dc.S.CurPos.x += int(std::lround(dx));
    dc.S.CurPos.y += int(std::lround(dy));
}

} // namespace

}  // namespace host::gdi

namespace host {

using namespace gdi;

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* tm)
{
    TFontInstance* f = SelectedFont(hdc);
    if (!f || !tm) return FALSE;
    const TFontMetrics& m = f->Metrics();
    *tm = TEXTMETRIC();
    tm->tmHeight = m.Height;
    tm->tmAscent = m.Ascent;
    tm->tmDescent = m.Descent;
    tm->tmInternalLeading = m.InternalLeading;
    tm->tmExternalLeading = m.ExternalLeading;
    tm->tmAveCharWidth = m.AveCharWidth;
    tm->tmMaxCharWidth = m.MaxCharWidth;
    tm->tmWeight = m.Weight;
    tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = 0xFF;
    tm->tmDefaultChar = 0x1F;
    tm->tmBreakChar = 0x20;
    tm->tmItalic = m.Italic;
    tm->tmUnderlined = m.Underlined;
    tm->tmStruckOut = m.StruckOut;
    tm->tmPitchAndFamily = m.PitchAndFamily;
    tm->tmCharSet = m.CharSet;
    return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* tm) { return GetTextMetrics(hdc, tm); }

BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int count, SIZE* size)
{
    return GetTextExtentExPoint(hdc, text, count, 0, nullptr, nullptr, size);
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, SIZE* size)
{
    return GetTextExtentPoint32(hdc, text, count, size);
}

BOOL GetTextExtentPoint(HDC hdc, LPCSTR text, int count, SIZE* size)
{
    return GetTextExtentPoint32(hdc, text, count, size);
}

BOOL GetTextExtentExPoint(HDC hdc, LPCSTR text, int count, int maxExtent, INT* fit, INT* dx, SIZE* size)
{
    Dc* dc = FindDc(hdc);
    TFontInstance* f = SelectedFont(hdc);
    if (!dc || !f || (count > 0 && !text)) return FALSE;
    TTextRun run = MeasureRun(*dc, *f, DecodeText(TextArg(text, std::max(count, 0))));
    if (size) *size = SIZE{run.Width(), f->Metrics().Height};
    if (dx)
        for (size_t i = 0; i < run.Chars.size(); ++i) dx[i] = run.Offsets[i + 1];
    if (fit) {
        *fit = 0;
        while (size_t(*fit) < run.Chars.size() && run.Offsets[size_t(*fit) + 1] <= maxExtent) ++*fit;
    }
    return TRUE;
}

BOOL GetCharWidth32(HDC hdc, UINT first, UINT last, INT* widths)
{
    TFontInstance* f = SelectedFont(hdc);
    if (!f || !widths || last < first) return FALSE;
    for (UINT c = first; c <= last; ++c) widths[c - first] = f->Advance(char32_t(c));
    return TRUE;
}

BOOL GetCharWidth32A(HDC hdc, UINT first, UINT last, INT* widths) { return GetCharWidth32(hdc, first, last, widths); }
BOOL GetCharWidth(HDC hdc, UINT first, UINT last, INT* widths) { return GetCharWidth32(hdc, first, last, widths); }

int GetTextFace(HDC hdc, int count, LPSTR faceName)
{
    FontObject* f = SelectedFontObject(hdc);
    if (!f) return 0;
    // A name the engine could not find reports the family used instead.
    std::string name = f->Log.lfFaceName;
    if (name.empty() || MappedFamily(name) != f->Instance->Family()) name = f->Instance->Family();
    if (!faceName) return int(name.size()) + 1;
    if (count <= 0) return 0;
    size_t n = std::min(name.size(), size_t(count) - 1);
    std::memcpy(faceName, name.data(), n);
    faceName[n] = 0;
    return int(n) + 1;
}

int GetTextFaceA(HDC hdc, int count, LPSTR faceName) { return GetTextFace(hdc, count, faceName); }

BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const INT* dx)
{
    Dc* dc = FindDc(hdc);
    TFontInstance* f = SelectedFont(hdc);
    if (!dc || !f || (count && !text)) return FALSE;
    const UINT align = dc->S.TextAlign;
    POINT ref = (align & TA_UPDATECP) ? dc->S.CurPos : POINT{x, y};
    RECT clip{};
    if (rect) {
        POINT tl = dc->ToDevice(POINT{rect->left, rect->top}), br = dc->ToDevice(POINT{rect->right, rect->bottom});
        clip = RECT{tl.x, tl.y, br.x, br.y};
        if ((options & ETO_OPAQUE) && clip.right > clip.left && clip.bottom > clip.top)
            PaintSolidRect(*dc, clip, dc->S.BkColor);
    }
    std::u32string chars = DecodeText(std::string_view(text ? text : "", count));
    TTextRun run = MeasureRun(*dc, *f, std::move(chars), dx, dx ? count : 0);
    TRunPaint how;
    how.Ref = dc->ToDevice(ref);
    how.Align = align;
    how.OpaqueBox = dc->S.BkMode == OPAQUE;
    how.Clip = rect && (options & ETO_CLIPPED) ? &clip : nullptr;
    TTextRender r = PaintRun(*dc, *f, run, how);
    if (align & TA_UPDATECP) AdvanceCurrentPosition(*dc, r, align);
    return TRUE;
}

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const INT* dx)
{
    return ExtTextOut(hdc, x, y, options, rect, text, count, dx);
}

BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int count)
{
    std::string_view s = TextArg(text, count);
    return ExtTextOut(hdc, x, y, 0, nullptr, s.data(), UINT(s.size()), nullptr);
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) { return TextOut(hdc, x, y, text, count); }

}  // namespace host
