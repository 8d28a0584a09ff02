// DrawFrameControl: the drawn parts of standard controls in the classic 3-D
// look. Small glyphs (check marks, radio circles) are pixel patterns so that
// they look the same at every size; arrows and caption glyphs scale with the
// rectangle.
#include "host/win/WinUser.h"

#include <algorithm>
#include <cstring>

namespace host {

namespace {

void Fill(HDC hdc, int l, int t, int r, int b, int color)
{
    RECT rc{l, t, r, b};
    if (l < r && t < b)
        FillRect(hdc, &rc, GetSysColorBrush(color));
}

void Pixel(HDC hdc, int x, int y, COLORREF c) { SetPixelV(hdc, x, y, c); }

// Paints the cells of a pattern whose character is ch, at (x, y).
void Pattern(HDC hdc, int x, int y, const char* const* rows, int count, char ch, COLORREF c)
{
    for (int j = 0; j < count; ++j)
        for (int i = 0; rows[j][i]; ++i)
            if (rows[j][i] == ch)
                Pixel(hdc, x + i, y + j, c);
}

// A square of side n centred vertically at the left of r (right with
// DFCS_BUTTON... callers decide), the way check boxes sit in their rect.
RECT GlyphBox(const RECT& r, int n)
{
    int h = r.bottom - r.top;
    int top = r.top + (h - n) / 2;
    return RECT{r.left, top, r.left + n, top + n};
}

// ---- Push buttons ----

BOOL DrawPushFrame(HDC hdc, RECT* r, UINT state)
{
    UINT flags = BF_RECT | BF_SOFT | BF_MIDDLE;
    if (state & (DFCS_FLAT | DFCS_MONO))
        flags |= (state & DFCS_MONO) ? BF_MONO : BF_FLAT;
    RECT face = *r;
    DrawEdge(hdc, &face, (state & DFCS_PUSHED) || (state & DFCS_CHECKED) ? EDGE_SUNKEN : EDGE_RAISED,
             flags | BF_ADJUST);
    if ((state & DFCS_CHECKED) && !(state & DFCS_PUSHED)) {
        // A latched button shows a dithered face, as toolbar toggles do.
        for (int y = face.top; y < face.bottom; ++y)
            for (int x = face.left + ((y + face.left) & 1); x < face.right; x += 2)
                Pixel(hdc, x, y, GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    if (state & DFCS_ADJUSTRECT)
        *r = face;
    return TRUE;
}

// ---- Check boxes ----

const char* const kCheckMark[] = {
    "......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X....",
};

BOOL DrawCheckBox(HDC hdc, RECT* r, UINT state)
{
    const int n = 13;
    RECT box = GlyphBox(*r, n);
    bool inactive = state & DFCS_INACTIVE;
    bool grayed = (state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED);
    if (state & (DFCS_FLAT | DFCS_MONO)) {
        HBRUSH frame = GetSysColorBrush((state & DFCS_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW);
        FrameRect(hdc, &box, frame);
        Fill(hdc, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1,
             (inactive || (state & DFCS_PUSHED)) ? COLOR_BTNFACE : COLOR_WINDOW);
    } else {
        RECT in = box;
        DrawEdge(hdc, &in, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        Fill(hdc, in.left, in.top, in.right, in.bottom,
             (inactive || grayed || (state & DFCS_PUSHED)) ? COLOR_BTNFACE : COLOR_WINDOW);
    }
    if (state & DFCS_CHECKED) {
        int color = (inactive || grayed) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT;
        Pattern(hdc, box.left + 3, box.top + 3, kCheckMark, 7, 'X', GetSysColor(color));
    }
    if (state & DFCS_ADJUSTRECT)
        *r = box;
    return TRUE;
}

// ---- Radio buttons ----

// O: outer ring, I: inner ring, W: the well. The top-left half of each ring
// is in shadow, the bottom-right half lit.
const char* const kRadio[] = {
    "....OOOO....", "..OOIIIIOO..", ".OIIWWWWIIO.", ".OIWWWWWWIO.", "OIWWWWWWWWIO", "OIWWWWWWWWIO",
    "OIWWWWWWWWIO", "OIWWWWWWWWIO", ".OIWWWWWWIO.", ".OIIWWWWIIO.", "..OOIIIIOO..", "....OOOO....",
};
const char* const kRadioDot[] = {".XX.", "XXXX", "XXXX", ".XX."};

int RadioColor(char ch, int x, int y, UINT state)
{
    bool topLeft = x + y < 11;
    bool flat = state & (DFCS_FLAT | DFCS_MONO);
    switch (ch) {
    case 'O': return flat ? COLOR_BTNSHADOW : (topLeft ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
    case 'I':
        if (flat) return (state & (DFCS_INACTIVE | DFCS_PUSHED)) ? COLOR_BTNFACE : COLOR_WINDOW;
        return topLeft ? COLOR_3DDKSHADOW : COLOR_3DLIGHT;
    case 'W': return (state & (DFCS_INACTIVE | DFCS_PUSHED)) ? COLOR_BTNFACE : COLOR_WINDOW;
    default: return -1;
    }
}

BOOL DrawRadio(HDC hdc, RECT* r, UINT state)
{
    const int n = 12;
    RECT box = GlyphBox(*r, n);
    bool mask = state & DFCS_BUTTONRADIOMASK;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            char ch = kRadio[y][x];
            if (ch == '.') {
                if (mask) Pixel(hdc, box.left + x, box.top + y, RGB(255, 255, 255));
                continue;
            }
            int color = mask ? -1 : RadioColor(ch, x, y, state);
            Pixel(hdc, box.left + x, box.top + y, color < 0 ? RGB(0, 0, 0) : GetSysColor(color));
        }
    if ((state & DFCS_CHECKED) && !mask) {
        int color = (state & DFCS_INACTIVE) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT;
        Pattern(hdc, box.left + 4, box.top + 4, kRadioDot, 4, 'X', GetSysColor(color));
    }
    if (state & DFCS_ADJUSTRECT)
        *r = box;
    return TRUE;
}

BOOL DrawButton(HDC hdc, RECT* r, UINT state)
{
    if (state & DFCS_BUTTONPUSH)
        return DrawPushFrame(hdc, r, state);
    if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK))
        return DrawRadio(hdc, r, state);
    return DrawCheckBox(hdc, r, state);
}

// ---- Arrows ----

enum class TArrow { Up, Down, Left, Right };

// A filled triangle of `rows` rows whose base is 2 * rows - 1 wide, centred
// at (cx, cy) and pointing in dir.
void Triangle(HDC hdc, int cx, int cy, int rows, TArrow dir, int color)
{
    HBRUSH brush = GetSysColorBrush(color);
    int first = -(rows / 2);
    for (int k = 0; k < rows; ++k) {
        int half = (dir == TArrow::Up || dir == TArrow::Left) ? k : rows - 1 - k;
        int off = first + k;
        RECT line = (dir == TArrow::Up || dir == TArrow::Down)
                        ? RECT{cx - half, cy + off, cx + half + 1, cy + off + 1}
                        : RECT{cx + off, cy - half, cx + off + 1, cy + half + 1};
        FillRect(hdc, &line, brush);
    }
}

int ArrowRows(const RECT& r)
{
    int side = std::min(r.right - r.left, r.bottom - r.top);
    return std::max(1, (side - 2) / 4 + 1);
}

// The arrow's size follows the whole button, its place the face.
void ArrowGlyph(HDC hdc, const RECT& button, const RECT& face, TArrow dir, UINT state)
{
    int cx = (face.left + face.right - 1) / 2, cy = (face.top + face.bottom) / 2;
    if (state & DFCS_PUSHED) {
        ++cx;
        ++cy;
    }
    int rows = ArrowRows(button);
    if (state & DFCS_INACTIVE) {
        Triangle(hdc, cx + 1, cy + 1, rows, dir, COLOR_BTNHIGHLIGHT);
        Triangle(hdc, cx, cy, rows, dir, COLOR_BTNSHADOW);
        return;
    }
    Triangle(hdc, cx, cy, rows, dir, COLOR_BTNTEXT);
}

// The sizing grip: three diagonal stripes in the bottom-right corner, each a
// lit line above two shadow lines, as if light came from the top left.
void GripLine(HDC hdc, const RECT& r, int d, int size, COLORREF c)
{
    for (int k = 0; k <= d; ++k) {
        int dx = k, dy = d - k;
        if (dx < size && dy < size) Pixel(hdc, r.right - 1 - dx, r.bottom - 1 - dy, c);
    }
}

BOOL DrawSizeGrip(HDC hdc, RECT* r)
{
    int size = std::min({int(r->right - r->left), int(r->bottom - r->top), 12});
    for (int i = 0; i < 3; ++i) {
        GripLine(hdc, *r, 4 * i + 1, size, GetSysColor(COLOR_BTNSHADOW));
        GripLine(hdc, *r, 4 * i + 2, size, GetSysColor(COLOR_BTNSHADOW));
        GripLine(hdc, *r, 4 * i + 3, size, GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    return TRUE;
}

BOOL DrawScroll(HDC hdc, RECT* r, UINT state)
{
    UINT part = state & 0xFF;
    if (part == DFCS_SCROLLSIZEGRIP || part == DFCS_SCROLLSIZEGRIPRIGHT)
        return DrawSizeGrip(hdc, r);
    RECT face = *r;
    if (state & DFCS_PUSHED) {
        // Pressed scroll arrows go flat: one shadow line round a plain face.
        FrameRect(hdc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
        InflateRect(&face, -1, -1);
        Fill(hdc, face.left, face.top, face.right, face.bottom, COLOR_BTNFACE);
    } else {
        DrawPushFrame(hdc, &face, (state & (DFCS_FLAT | DFCS_MONO)) | DFCS_ADJUSTRECT);
    }
    TArrow dir = part == DFCS_SCROLLUP     ? TArrow::Up
                 : part == DFCS_SCROLLLEFT ? TArrow::Left
                 : part == DFCS_SCROLLRIGHT ? TArrow::Right
                                            : TArrow::Down;
    ArrowGlyph(hdc, *r, face, dir, state);
    if (state & DFCS_ADJUSTRECT)
        *r = face;
    return TRUE;
}

// ---- Caption buttons ----

void Bar(HDC hdc, int l, int t, int r, int b, int color) { Fill(hdc, l, t, r, b, color); }

void CloseGlyph(HDC hdc, const RECT& g, int color)
{
    int n = std::min(g.right - g.left, g.bottom - g.top);
    for (int k = 0; k < n; ++k) {
        Bar(hdc, g.left + k, g.top + k, g.left + k + 2, g.top + k + 1, color);
        Bar(hdc, g.left + n - 2 - k, g.top + k, g.left + n - k, g.top + k + 1, color);
    }
}

void CaptionGlyph(HDC hdc, const RECT& g, UINT part, int color)
{
    int w = g.right - g.left, h = g.bottom - g.top;
    switch (part) {
    case DFCS_CAPTIONCLOSE: CloseGlyph(hdc, g, color); break;
    case DFCS_CAPTIONMIN: Bar(hdc, g.left, g.bottom - 2, g.right - 1, g.bottom, color); break;
    case DFCS_CAPTIONMAX: {
        RECT frame = g;
        FrameRect(hdc, &frame, GetSysColorBrush(color));
        Bar(hdc, g.left, g.top + 1, g.right, g.top + 2, color);
        break;
    }
    case DFCS_CAPTIONRESTORE: {
        int s = std::max(3, std::min(w, h) * 2 / 3);
        RECT back{g.right - s, g.top, g.right, g.top + s};
        RECT front{g.left, g.bottom - s, g.left + s, g.bottom};
        FrameRect(hdc, &back, GetSysColorBrush(color));
        Bar(hdc, back.left, back.top + 1, back.right, back.top + 2, color);
        Fill(hdc, front.left, front.top, front.right, front.bottom, COLOR_BTNFACE);
        FrameRect(hdc, &front, GetSysColorBrush(color));
        Bar(hdc, front.left, front.top + 1, front.right, front.top + 2, color);
        break;
    }
    default: {  // help: a question mark in the button's text font
        RECT t = g;
        SetBkMode(hdc, TRANSPARENT);
        COLORREF old = SetTextColor(hdc, GetSysColor(color));
        DrawText(hdc, "?", 1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
        SetTextColor(hdc, old);
    }
    }
}

BOOL DrawCaption(HDC hdc, RECT* r, UINT state)
{
    RECT face = *r;
    DrawPushFrame(hdc, &face, (state & (DFCS_PUSHED | DFCS_FLAT | DFCS_MONO)) | DFCS_ADJUSTRECT);
    int w = face.right - face.left, h = face.bottom - face.top;
    int side = std::max(3, std::min(w, h) - 4);
    int gl = face.left + (w - side) / 2, gt = face.top + (h - side) / 2;
    if (state & DFCS_PUSHED) {
        ++gl;
        ++gt;
    }
    RECT g{gl, gt, gl + side, gt + side};
    UINT part = state & 0xFF;
    if (state & DFCS_INACTIVE) {
        RECT lit = g;
        OffsetRect(&lit, 1, 1);
        CaptionGlyph(hdc, lit, part, COLOR_BTNHIGHLIGHT);
        CaptionGlyph(hdc, g, part, COLOR_BTNSHADOW);
    } else {
        CaptionGlyph(hdc, g, part, COLOR_BTNTEXT);
    }
    if (state & DFCS_ADJUSTRECT)
        *r = face;
    return TRUE;
}

// ---- Menu marks: black on white, to be used as masks ----

BOOL DrawMenuMark(HDC hdc, RECT* r, UINT state)
{
    Fill(hdc, r->left, r->top, r->right, r->bottom, COLOR_WINDOW);
    COLORREF black = RGB(0, 0, 0);
    int cx = (r->left + r->right - 1) / 2, cy = (r->top + r->bottom) / 2;
    switch (state & 0xFF) {
    case DFCS_MENUCHECK: Pattern(hdc, cx - 3, cy - 3, kCheckMark, 7, 'X', black); break;
    case DFCS_MENUBULLET: Pattern(hdc, cx - 1, cy - 2, kRadioDot, 4, 'X', black); break;
    default: {
        HBRUSH b = CreateSolidBrush(black);
        int rows = ArrowRows(*r);
        bool left = (state & 0xFF) == DFCS_MENUARROWRIGHT;  // points left, for right-to-left menus
        for (int k = 0; k < rows; ++k) {
            int half = left ? k : rows - 1 - k;
            int x = cx - rows / 2 + k;
            RECT line{x, cy - half, x + 1, cy + half + 1};
            FillRect(hdc, &line, b);
        }
        DeleteObject(b);
    }
    }
    return TRUE;
}

}  // namespace

BOOL DrawFrameControl(HDC hdc, RECT* rect, UINT type, UINT state)
{
    if (!hdc || !rect)
        return FALSE;
    switch (type) {
    case DFC_BUTTON: return DrawButton(hdc, rect, state);
    case DFC_SCROLL: return DrawScroll(hdc, rect, state);
    case DFC_CAPTION: return DrawCaption(hdc, rect, state);
    case DFC_MENU:
    case DFC_POPUPMENU: return DrawMenuMark(hdc, rect, state);
    default: return FALSE;
    }
}

// ---- DrawState ----

namespace {

struct TStateText {
    LPCSTR Text;
    int Length;
    UINT Format;
};

SIZE MeasureStateText(HDC hdc, const TStateText& t)
{
    RECT r{0, 0, 0, 0};
    DrawText(hdc, t.Text, t.Length, &r, t.Format | DT_CALCRECT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void StateText(HDC hdc, const TStateText& t, int x, int y, int cx, int cy, COLORREF color)
{
    RECT r{x, y, x + cx, y + cy};
    COLORREF old = SetTextColor(hdc, color);
    int oldMode = SetBkMode(hdc, TRANSPARENT);
    DrawText(hdc, t.Text, t.Length, &r, t.Format);
    SetBkMode(hdc, oldMode);
    SetTextColor(hdc, old);
}

BOOL StateBitmap(HDC hdc, HBITMAP bitmap, int x, int y, int cx, int cy)
{
    HDC src = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(src, bitmap);
    BOOL ok = BitBlt(hdc, x, y, cx, cy, src, 0, 0, SRCCOPY);
    SelectObject(src, old);
    DeleteDC(src);
    return ok;
}

}  // namespace

BOOL DrawState(HDC hdc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM lData, WPARAM wData, int x, int y, int cx,
               int cy, UINT flags)
{
    if (!hdc)
        return FALSE;
    UINT kind = flags & 0xF;
    if (kind == DST_TEXT || kind == DST_PREFIXTEXT) {
        LPCSTR text = reinterpret_cast<LPCSTR>(lData);
        if (!text)
            return FALSE;
        int len = wData ? int(wData) : int(std::strlen(text));
        UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP;
        if (kind == DST_TEXT)
            format |= DT_NOPREFIX;
        if (flags & DSS_HIDEPREFIX)
            format |= DT_HIDEPREFIX;
        if (flags & DSS_PREFIXONLY)
            format |= DT_PREFIXONLY;
        TStateText t{text, len, format};
        if (cx == 0 || cy == 0) {
            SIZE s = MeasureStateText(hdc, t);
            cx = cx ? cx : s.cx;
            cy = cy ? cy : s.cy;
        }
        if (flags & DSS_DISABLED) {
            StateText(hdc, t, x + 1, y + 1, cx, cy, GetSysColor(COLOR_BTNHIGHLIGHT));
            StateText(hdc, t, x, y, cx, cy, GetSysColor(COLOR_BTNSHADOW));
            return TRUE;
        }
        COLORREF color = GetTextColor(hdc);
        if ((flags & DSS_MONO) && brush) {
            LOGBRUSH lb;
            if (GetObject(brush, sizeof lb, &lb)) color = lb.lbColor;
        }
        StateText(hdc, t, x, y, cx, cy, color);
        return TRUE;
    }
    if (kind == DST_BITMAP) {
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(lData);
        BITMAP bm;
        if (!bitmap || !GetObject(bitmap, sizeof bm, &bm))
            return FALSE;
        return StateBitmap(hdc, bitmap, x, y, cx ? cx : bm.bmWidth, cy ? cy : bm.bmHeight);
    }
    if (kind == DST_COMPLEX && proc) {
        // The callback draws at (0, 0); the image lands at (x, y).
        POINT org;
        OffsetViewportOrgEx(hdc, x, y, &org);
        BOOL ok = proc(hdc, lData, wData, cx, cy);
        SetViewportOrgEx(hdc, org.x, org.y, nullptr);
        return ok;
    }
    return FALSE;
}

BOOL DrawStateA(HDC hdc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM lData, WPARAM wData, int x, int y, int cx,
                int cy, UINT flags)
{
    return DrawState(hdc, brush, proc, lData, wData, x, y, cx, cy, flags);
}

}  // namespace host
