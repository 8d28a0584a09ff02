// Window scroll bars (WS_HSCROLL, WS_VSCROLL): state, painting in the
// non-client area, and mouse handling that sends WM_HSCROLL/WM_VSCROLL.
#include "host/win/WinInternal.h"

#include <algorithm>

namespace host::win {

namespace {

constexpr int kArrow = 16;
constexpr int kMinThumb = 8;

int Thickness() { return GetSystemMetrics(SM_CXVSCROLL); }

// The highest position the thumb can reach.
int MaxPos(const TScrollBarState& s)
{
    int page = s.Page ? int(s.Page) - 1 : 0;
    return std::max(s.Min, s.Max - page);
}

struct TBarLayout {
    RECT Bar;  // window coordinates
    bool Vertical = true;
    int Length = 0;      // along the bar
    int TrackStart = 0;  // offset of the track from the bar start
    int TrackLength = 0;
    int ThumbStart = 0;
    int ThumbLength = 0;
};

TBarLayout Layout(TWnd* w, int bar)
{
    TBarLayout l;
    l.Bar = ScrollBarRect(w, bar);
    l.Vertical = bar == SB_VERT;
    l.Length = l.Vertical ? l.Bar.bottom - l.Bar.top : l.Bar.right - l.Bar.left;
    int arrow = std::min(kArrow, l.Length / 2);
    l.TrackStart = arrow;
    l.TrackLength = std::max(0, l.Length - 2 * arrow);
    const TScrollBarState& s = ScrollState(w, bar);
    int range = s.Max - s.Min + 1;
    l.ThumbLength = s.Page ? std::max(kMinThumb, int(int64_t(l.TrackLength) * s.Page / std::max(range, 1)))
                           : Thickness();
    if (l.ThumbLength > l.TrackLength || s.Max <= s.Min || s.Disabled == ESB_DISABLE_BOTH) {
        l.ThumbLength = 0;
        return l;
    }
    int span = MaxPos(s) - s.Min;
    int pos = std::clamp(s.Tracking ? s.TrackPos : s.Pos, s.Min, MaxPos(s));
    l.ThumbStart = l.TrackStart + (span > 0 ? int(int64_t(l.TrackLength - l.ThumbLength) * (pos - s.Min) / span) : 0);
    return l;
}

RECT Part(const TBarLayout& l, int from, int to)
{
    return l.Vertical ? RECT{l.Bar.left, l.Bar.top + from, l.Bar.right, l.Bar.top + to}
                      : RECT{l.Bar.left + from, l.Bar.top, l.Bar.left + to, l.Bar.bottom};
}

void PaintArrow(HDC dc, RECT r, bool vertical, bool first, bool enabled)
{
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    RECT e = r;
    DrawEdge(dc, &e, EDGE_RAISED, BF_RECT);
    HBRUSH ink = GetSysColorBrush(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        RECT line;
        if (vertical) {
            int y = first ? cy - 2 + i : cy + 1 - i;
            line = RECT{cx - i, y, cx + i + 1, y + 1};
        } else {
            int x = first ? cx - 2 + i : cx + 1 - i;
            line = RECT{x, cy - i, x + 1, cy + i + 1};
        }
        FillRect(dc, &line, ink);
    }
}

// Sends a scroll notification the way scroll bars of a window do.
void Notify(HWND h, int bar, WORD code, int pos)
{
    SendMessage(h, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, pos), 0);
}

int PosFromPixel(TWnd* w, int bar, int pixel)
{
    TBarLayout l = Layout(w, bar);
    const TScrollBarState& s = ScrollState(w, bar);
    int free = l.TrackLength - l.ThumbLength;
    if (free <= 0)
        return s.Min;
    int off = std::clamp(pixel - l.TrackStart, 0, free);
    return s.Min + int((int64_t(off) * (MaxPos(s) - s.Min) + free / 2) / free);
}

constexpr UINT kRepeatDelay = 400, kRepeatRate = 50;

// While an arrow or the track stays pressed under the cursor, the command repeats.
void RepeatScroll(HWND, UINT, UINT_PTR id, DWORD)
{
    TTracking& t = State().Tracking;
    TWnd* w = FindWnd(t.Wnd);
    if (t.What != TTracking::Kind::ScrollButton || t.RepeatTimer != id || !w) {
        KillTimer(nullptr, id);
        return;
    }
    SetTimer(nullptr, id, kRepeatRate, RepeatScroll);
    POINT o = ScreenOrigin(w);
    WORD code = SB_ENDSCROLL;
    POINT p{State().Cursor.x - o.x, State().Cursor.y - o.y};
    if (ScrollBarHit(w, t.Bar, p, code) != HTNOWHERE && code == t.Code)
        Notify(t.Wnd, t.Bar, code, 0);
}

}  // namespace

TScrollBarState& ScrollState(TWnd* w, int bar) { return bar == SB_VERT ? w->VScroll : w->HScroll; }

RECT ScrollBarRect(TWnd* w, int bar)
{
    DWORD flag = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    if (!(w->Style & flag) || (w->Style & WS_MINIMIZE))
        return RECT{};
    const RECT& c = w->Client;
    int t = Thickness();
    if (bar == SB_VERT)
        return RECT{c.right, c.top, c.right + t, c.bottom};
    return RECT{c.left, c.bottom, c.right, c.bottom + t};
}

void PaintScrollBar(TWnd* w, HDC dc, int bar)
{
    TBarLayout l = Layout(w, bar);
    if (IsRectEmpty(&l.Bar))
        return;
    const TScrollBarState& s = ScrollState(w, bar);
    int arrow = l.TrackStart;
    PaintArrow(dc, Part(l, 0, arrow), l.Vertical, true, !(s.Disabled & ESB_DISABLE_LTUP) && s.Max > s.Min);
    PaintArrow(dc, Part(l, l.Length - arrow, l.Length), l.Vertical, false,
               !(s.Disabled & ESB_DISABLE_RTDN) && s.Max > s.Min);
    RECT track = Part(l, l.TrackStart, l.TrackStart + l.TrackLength);
    // The classic track is a checker of face and highlight.
    HBRUSH pattern = GetSysColorBrush(COLOR_SCROLLBAR);
    FillRect(dc, &track, pattern);
    if (l.ThumbLength > 0) {
        RECT thumb = Part(l, l.ThumbStart, l.ThumbStart + l.ThumbLength);
        FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
    }
}

LRESULT ScrollBarHit(TWnd* w, int bar, POINT windowPt, WORD& code)
{
    TBarLayout l = Layout(w, bar);
    if (!PtInRect(&l.Bar, windowPt))
        return HTNOWHERE;
    int along = l.Vertical ? windowPt.y - l.Bar.top : windowPt.x - l.Bar.left;
    if (along < l.TrackStart)
        code = SB_LINEUP;
    else if (along >= l.Length - l.TrackStart)
        code = SB_LINEDOWN;
    else if (l.ThumbLength == 0)
        code = SB_ENDSCROLL;
    else if (along < l.ThumbStart)
        code = SB_PAGEUP;
    else if (along >= l.ThumbStart + l.ThumbLength)
        code = SB_PAGEDOWN;
    else
        code = SB_THUMBTRACK;
    return bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
}

bool StartScrollTracking(TWnd* w, int bar, POINT screen)
{
    POINT o = ScreenOrigin(w);
    POINT p{screen.x - o.x, screen.y - o.y};
    WORD code = SB_ENDSCROLL;
    if (ScrollBarHit(w, bar, p, code) == HTNOWHERE || code == SB_ENDSCROLL)
        return false;
    TScrollBarState& s = ScrollState(w, bar);
    if (s.Disabled == ESB_DISABLE_BOTH || s.Max <= s.Min)
        return false;
    TTracking t;
    t.Wnd = w->Handle;
    t.Bar = bar;
    t.Start = screen;
    t.Code = code;
    HWND h = w->Handle;
    if (code == SB_THUMBTRACK) {
        TBarLayout l = Layout(w, bar);
        t.What = TTracking::Kind::ScrollThumb;
        // Where in the thumb it was grabbed, so the thumb does not jump.
        t.StartPos = (bar == SB_VERT ? p.y - l.Bar.top : p.x - l.Bar.left) - l.ThumbStart;
        s.Tracking = true;
        s.TrackPos = s.Pos;
    } else {
        t.What = TTracking::Kind::ScrollButton;
    }
    State().Tracking = t;
    SetCapture(h);
    if (code != SB_THUMBTRACK) {
        Notify(h, bar, code, 0);
        if (State().Tracking.What == TTracking::Kind::ScrollButton)
            State().Tracking.RepeatTimer = SetTimer(nullptr, 0, kRepeatDelay, RepeatScroll);
    }
    RunTrackingLoop();
    return true;
}

bool TrackScrollInput(const TRawInput& in)
{
    TTracking t = State().Tracking;
    TWnd* w = FindWnd(t.Wnd);
    if (!w) {
        ReleaseCapture();
        return true;
    }
    TScrollBarState& s = ScrollState(w, t.Bar);
    if (t.What == TTracking::Kind::ScrollThumb && in.Kind == TInputKind::MouseMove) {
        TBarLayout l = Layout(w, t.Bar);
        POINT o = ScreenOrigin(w);
        int along = t.Bar == SB_VERT ? in.Pt.y - o.y - l.Bar.top : in.Pt.x - o.x - l.Bar.left;
        int pos = PosFromPixel(w, t.Bar, along - t.StartPos);
        if (pos != s.TrackPos) {
            s.TrackPos = pos;
            Notify(t.Wnd, t.Bar, SB_THUMBTRACK, pos);
        }
        return true;
    }
    if (in.Kind != TInputKind::ButtonUp || in.Button != 0)
        return true;
    int finalPos = s.TrackPos;
    bool thumb = t.What == TTracking::Kind::ScrollThumb;
    if (t.RepeatTimer)
        KillTimer(nullptr, t.RepeatTimer);
    s.Tracking = false;
    ReleaseCapture();
    if (thumb)
        Notify(t.Wnd, t.Bar, SB_THUMBPOSITION, finalPos);
    Notify(t.Wnd, t.Bar, SB_ENDSCROLL, 0);
    return true;
}

}  // namespace host::win

namespace host {

using namespace win;

namespace {

TScrollBarState* BarOf(HWND hwnd, int bar)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || (bar != SB_HORZ && bar != SB_VERT))
        return nullptr;
    return &ScrollState(w, bar);
}

void RedrawBars(HWND hwnd)
{
    if (TWnd* w = FindWnd(hwnd))
        NcPaint(w);
}

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* si, BOOL redraw)
{
    TScrollBarState* s = BarOf(hwnd, bar);
    if (!s || !si)
        return 0;
    if (si->fMask & SIF_RANGE) {
        s->Min = si->nMin;
        s->Max = si->nMax;
    }
    if (si->fMask & SIF_PAGE)
        s->Page = std::min<UINT>(si->nPage, UINT(std::max(0, s->Max - s->Min + 1)));
    if (si->fMask & SIF_POS)
        s->Pos = si->nPos;
    s->Pos = std::clamp(s->Pos, s->Min, MaxPos(*s));
    // A bar with nothing to scroll hides, unless asked to stay disabled.
    TWnd* w = FindWnd(hwnd);
    bool needed = s->Max > s->Min && (s->Page == 0 || int(s->Page) <= s->Max - s->Min);
    if (si->fMask & (SIF_RANGE | SIF_PAGE)) {
        if (si->fMask & SIF_DISABLENOSCROLL)
            s->Disabled = needed ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
        else
            ShowScrollBar(hwnd, bar, needed);
    }
    if (redraw && (w = FindWnd(hwnd)))
        RedrawBars(hwnd);
    return s->Pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* si)
{
    TScrollBarState* s = BarOf(hwnd, bar);
    if (!s || !si)
        return FALSE;
    if (si->fMask & SIF_RANGE) {
        si->nMin = s->Min;
        si->nMax = s->Max;
    }
    if (si->fMask & SIF_PAGE)
        si->nPage = s->Page;
    if (si->fMask & SIF_POS)
        si->nPos = s->Pos;
    if (si->fMask & SIF_TRACKPOS)
        si->nTrackPos = s->Tracking ? s->TrackPos : s->Pos;
    return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw)
{
    TScrollBarState* s = BarOf(hwnd, bar);
    if (!s)
        return 0;
    int old = s->Pos;
    SCROLLINFO si;
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(hwnd, bar, &si, redraw);
    return old;
}

int GetScrollPos(HWND hwnd, int bar)
{
    TScrollBarState* s = BarOf(hwnd, bar);
    return s ? s->Pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw)
{
    if (!BarOf(hwnd, bar))
        return FALSE;
    SCROLLINFO si;
    si.fMask = SIF_RANGE;
    si.nMin = minPos;
    si.nMax = maxPos;
    SetScrollInfo(hwnd, bar, &si, redraw);
    return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos)
{
    TScrollBarState* s = BarOf(hwnd, bar);
    if (!s)
        return FALSE;
    if (minPos)
        *minPos = s->Min;
    if (maxPos)
        *maxPos = s->Max;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show)
{
    TWnd* w = FindWnd(hwnd);
    if (!w)
        return FALSE;
    DWORD flags = bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    DWORD style = show ? (w->Style | flags) : (w->Style & ~flags);
    if (style == w->Style)
        return TRUE;
    w->Style = style;
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows)
{
    TWnd* w = FindWnd(hwnd);
    if (!w)
        return FALSE;
    if (bar == UINT(SB_BOTH) || bar == UINT(SB_HORZ))
        w->HScroll.Disabled = arrows;
    if (bar == UINT(SB_BOTH) || bar == UINT(SB_VERT))
        w->VScroll.Disabled = arrows;
    RedrawBars(hwnd);
    return TRUE;
}

}  // namespace host
