// The non-client area: frame sizes, hit testing and painting of a classic
// 3-D frame with caption, system buttons and scroll bars.
#include "host/gdi/WinText.h"
#include "host/win/MenuInternal.h"

#include <algorithm>

namespace host::win {

namespace {

constexpr int kCaption = 19;     // caption bar including its bottom line
constexpr int kSmCaption = 15;
constexpr int kFrame = 4;        // sizing frame
constexpr int kDlgFrame = 3;
constexpr int kScroll = 16;

bool HasDlgFrame(DWORD style, DWORD exStyle)
{
    return (exStyle & WS_EX_DLGMODALFRAME) ||
           ((style & WS_DLGFRAME) && !(style & WS_THICKFRAME));
}

}  // namespace

TFrameMetrics FrameMetrics(DWORD style, DWORD exStyle)
{
    TFrameMetrics m;
    if (style & WS_MINIMIZE) {
        m.Border = kDlgFrame;
        m.Caption = (exStyle & WS_EX_TOOLWINDOW) ? kSmCaption : kCaption;
        return m;
    }
    if (HasThickFrame(style))
        m.Border = kFrame;
    else if (HasDlgFrame(style, exStyle))
        m.Border = kDlgFrame;
    else if (style & WS_BORDER)
        m.Border = 1;
    if (HasCaption(style))
        m.Caption = (exStyle & WS_EX_TOOLWINDOW) ? kSmCaption : kCaption;
    if (exStyle & WS_EX_CLIENTEDGE)
        m.Edge = 2;
    else if (exStyle & WS_EX_STATICEDGE)
        m.Edge = 1;
    return m;
}

RECT ClientFromWindow(const RECT& window, DWORD style, DWORD exStyle)
{
    TFrameMetrics m = FrameMetrics(style, exStyle);
    RECT c = window;
    int inset = m.Border + m.Edge;
    c.left += inset;
    c.right -= inset;
    c.top += inset + m.Caption;
    c.bottom -= inset;
    if (!(style & WS_MINIMIZE)) {
        if (style & WS_VSCROLL)
            c.right -= kScroll;
        if (style & WS_HSCROLL)
            c.bottom -= kScroll;
    }
    c.right = std::max(c.left, c.right);
    c.bottom = std::max(c.top, c.bottom);
    return c;
}

RECT CaptionRect(TWnd* w)
{
    TFrameMetrics m = FrameMetrics(w->Style, w->ExStyle);
    if (!m.Caption)
        return RECT{};
    int width = w->Rect.right - w->Rect.left;
    return RECT{m.Border, m.Border, width - m.Border, m.Border + m.Caption - 1};
}

namespace {

// Caption buttons right to left: close, then maximise and minimise.
RECT CaptionButton(TWnd* w, int index)
{
    RECT c = CaptionRect(w);
    int h = c.bottom - c.top;
    int bw = h - 2, bh = h - 4;
    int right = c.right - 2 - index * bw - (index > 0 ? 2 : 0);
    return RECT{right - bw, c.top + 2, right, c.top + 2 + bh};
}

// Modal-frame dialogs and tool windows have no system-menu icon.
bool HasSysIcon(TWnd* w)
{
    return (w->Style & WS_SYSMENU) && !(w->ExStyle & (WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME));
}

bool HasMinMax(TWnd* w) { return (w->Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) && !(w->Style & WS_CHILD) && !(w->ExStyle & WS_EX_TOOLWINDOW); }

}  // namespace

bool IsActiveLook(TWnd* w) { return w->ActiveLook; }

RECT CloseButtonRect(TWnd* w)
{
    if (!(w->Style & WS_SYSMENU) || !HasCaption(w->Style))
        return RECT{};
    return CaptionButton(w, 0);
}

LRESULT NcHitTest(TWnd* w, POINT screen)
{
    RECT r = ScreenRect(w);
    if (!PtInRect(&r, screen))
        return HTNOWHERE;
    POINT p{screen.x - r.left, screen.y - r.top};
    int width = r.right - r.left, height = r.bottom - r.top;
    if (w->Style & WS_MINIMIZE)
        return HTCAPTION;
    RECT client = w->Client;
    if (PtInRect(&client, p))
        return HTCLIENT;
    TFrameMetrics m = FrameMetrics(w->Style, w->ExStyle);
    if (p.x < m.Border || p.x >= width - m.Border || p.y < m.Border || p.y >= height - m.Border) {
        if (!HasThickFrame(w->Style))
            return HTBORDER;
        int corner = GetSystemMetrics(SM_CYCAPTION) + m.Border;
        bool top = p.y < corner, bottom = p.y >= height - corner;
        bool left = p.x < corner, right = p.x >= width - corner;
        if (p.x < m.Border)
            return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
        if (p.x >= width - m.Border)
            return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
        if (p.y < m.Border)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    }
    RECT cap = CaptionRect(w);
    if (PtInRect(&cap, p)) {
        if (w->Style & WS_SYSMENU) {
            RECT icon{cap.left, cap.top, cap.left + (cap.bottom - cap.top), cap.bottom};
            if (HasSysIcon(w) && PtInRect(&icon, p))
                return HTSYSMENU;
            RECT close = CaptionButton(w, 0);
            if (PtInRect(&close, p))
                return HTCLOSE;
            if (HasMinMax(w)) {
                RECT mx = CaptionButton(w, 1), mn = CaptionButton(w, 2);
                if (PtInRect(&mx, p))
                    return HTMAXBUTTON;
                if (PtInRect(&mn, p))
                    return HTMINBUTTON;
            }
        }
        return HTCAPTION;
    }
    RECT bar = MenuBarRect(w);
    if (PtInRect(&bar, p))
        return HTMENU;
    RECT vs = ScrollBarRect(w, SB_VERT), hs = ScrollBarRect(w, SB_HORZ);
    if (PtInRect(&vs, p))
        return HTVSCROLL;
    if (PtInRect(&hs, p))
        return HTHSCROLL;
    if ((w->Style & WS_VSCROLL) && (w->Style & WS_HSCROLL) && p.x >= vs.left && p.y >= hs.top &&
        p.x < vs.right && p.y < hs.bottom)
        return HTSIZE;
    return HTBORDER;
}

// ---- Painting ----

namespace {

void Fill(HDC dc, RECT r, int sysColor) { FillRect(dc, &r, GetSysColorBrush(sysColor)); }

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF c)
{
    HPEN pen = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void PaintFrame(TWnd* w, HDC dc, RECT& r, const TFrameMetrics& m)
{
    if (!m.Border)
        return;
    if (m.Border == 1) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
        return;
    }
    RECT edge = r;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    RECT inner = r;
    InflateRect(&inner, -2, -2);
    bool active = IsActiveLook(w);
    int colour = HasThickFrame(w->Style) ? (active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER)
                                         : COLOR_BTNFACE;
    for (int i = 2; i < m.Border; ++i) {
        FrameRect(dc, &inner, GetSysColorBrush(colour));
        InflateRect(&inner, -1, -1);
    }
    r = inner;
}

void PaintCaptionButton(HDC dc, RECT b, int kind, bool enabled)
{
    RECT e = b;
    Fill(dc, b, COLOR_BTNFACE);
    DrawEdge(dc, &e, EDGE_RAISED, BF_RECT);
    COLORREF ink = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    int cx = (b.left + b.right) / 2 - 1, cy = (b.top + b.bottom) / 2;
    if (kind == 0) {  // close: a thick cross
        for (int d = 0; d < 2; ++d) {
            Line(dc, cx - 3 + d, cy - 3, cx + 4 + d, cy + 4, ink);
            Line(dc, cx + 3 + d, cy - 3, cx - 4 + d, cy + 4, ink);
        }
    } else if (kind == 1) {  // maximise / restore: a window outline
        RECT box{cx - 4, cy - 4, cx + 5, cy + 4};
        HBRUSH br = CreateSolidBrush(ink);
        FrameRect(dc, &box, br);
        RECT bar{box.left, box.top + 1, box.right, box.top + 2};
        FillRect(dc, &bar, br);
        DeleteObject(br);
    } else {  // minimise: a bar at the bottom
        RECT bar{cx - 3, cy + 2, cx + 3, cy + 4};
        HBRUSH br = CreateSolidBrush(ink);
        FillRect(dc, &bar, br);
        DeleteObject(br);
    }
}

// A small window glyph standing in for the application icon.
void PaintSysIcon(HDC dc, RECT cap)
{
    int s = cap.bottom - cap.top - 4;
    RECT icon{cap.left + 2, cap.top + 2, cap.left + 2 + s, cap.top + 2 + s};
    Fill(dc, icon, COLOR_WINDOW);
    FrameRect(dc, &icon, GetSysColorBrush(COLOR_WINDOWTEXT));
    RECT bar{icon.left, icon.top, icon.right, icon.top + 3};
    FillRect(dc, &bar, GetSysColorBrush(COLOR_HIGHLIGHT));
}

void PaintCaption(TWnd* w, HDC dc)
{
    RECT cap = CaptionRect(w);
    bool active = IsActiveLook(w);
    Fill(dc, cap, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    RECT below{cap.left, cap.bottom, cap.right, cap.bottom + 1};
    Fill(dc, below, COLOR_BTNFACE);
    int textLeft = cap.left + 2;
    int textRight = cap.right - 2;
    if (w->Style & WS_SYSMENU) {
        if (HasSysIcon(w)) {
            PaintSysIcon(dc, cap);
            textLeft = cap.left + (cap.bottom - cap.top) + 2;
        }
        PaintCaptionButton(dc, CaptionButton(w, 0), 0, true);
        textRight = CaptionButton(w, 0).left - 2;
        if (HasMinMax(w)) {
            PaintCaptionButton(dc, CaptionButton(w, 1), 1, w->Style & WS_MAXIMIZEBOX);
            PaintCaptionButton(dc, CaptionButton(w, 2), 2, w->Style & WS_MINIMIZEBOX);
            textRight = CaptionButton(w, 2).left - 2;
        }
    }
    if (w->Text.empty() || textRight <= textLeft)
        return;
    LOGFONT lf;
    lf.lfHeight = -11;
    lf.lfWeight = FW_BOLD;
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "MS Sans Serif");
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    RECT tr{textLeft, cap.top, textRight, cap.bottom};
    DrawText(dc, w->Text.c_str(), int(w->Text.size()), &tr,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
    DeleteObject(font);
}

}  // namespace

void NcPaint(TWnd* w)
{
    if (!IsReallyVisible(w))
        return;
    TFrameMetrics m = FrameMetrics(w->Style, w->ExStyle);
    bool scrolls = (w->Style & (WS_HSCROLL | WS_VSCROLL)) != 0;
    RECT bar = MenuBarRect(w);
    if (!m.Border && !m.Caption && !m.Edge && !scrolls && IsRectEmpty(&bar))
        return;
    HDC dc = MakeDc(w, TDcArea::Frame);
    RECT r{0, 0, w->Rect.right - w->Rect.left, w->Rect.bottom - w->Rect.top};
    PaintFrame(w, dc, r, m);
    if (m.Caption)
        PaintCaption(w, dc);
    r.top += m.Caption;
    if (!IsRectEmpty(&bar)) {
        PaintMenuBar(w, dc);
        r.top = bar.bottom;
    }
    if (m.Edge == 2) {
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    } else if (m.Edge == 1) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    }
    if (w->Style & WS_VSCROLL)
        PaintScrollBar(w, dc, SB_VERT);
    if (w->Style & WS_HSCROLL)
        PaintScrollBar(w, dc, SB_HORZ);
    if ((w->Style & WS_VSCROLL) && (w->Style & WS_HSCROLL)) {
        RECT v = ScrollBarRect(w, SB_VERT), h = ScrollBarRect(w, SB_HORZ);
        RECT corner{v.left, h.top, v.right, h.bottom};
        Fill(dc, corner, COLOR_BTNFACE);
    }
    ReleaseDC(w->Handle, dc);
}

}  // namespace host::win

namespace host {

int GetSystemMetrics(int index)
{
    using namespace win;
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN:
    case SM_CXMAXIMIZED: return State().Backend->ScreenSize().cx;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
    case SM_CYMAXIMIZED: return State().Backend->ScreenSize().cy;
    case SM_CYFULLSCREEN: return State().Backend->ScreenSize().cy - kCaption;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return kScroll;
    case SM_CYCAPTION: return kCaption;
    case SM_CYSMCAPTION: return kSmCaption;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return kDlgFrame;
    case SM_CXFRAME:
    case SM_CYFRAME: return kFrame;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYMENU: return 19;
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE: return 12;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXMAXTRACK: return State().Backend->ScreenSize().cx + 12;
    case SM_CYMAXTRACK: return State().Backend->ScreenSize().cy + 12;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS: return 1;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_SWAPBUTTON: return 0;
    default: return 0;
    }
}

BOOL SystemParametersInfo(UINT action, UINT, void* pv, UINT)
{
    if (!pv)
        return FALSE;
    switch (action) {
    case SPI_GETWORKAREA: {
        SIZE s = win::State().Backend->ScreenSize();
        *static_cast<RECT*>(pv) = RECT{0, 0, s.cx, s.cy};
        return TRUE;
    }
    case SPI_GETWHEELSCROLLLINES: *static_cast<UINT*>(pv) = 3; return TRUE;
    case SPI_GETDRAGFULLWINDOWS: *static_cast<BOOL*>(pv) = TRUE; return TRUE;
    default: return FALSE;
    }
}

}  // namespace host
