// Interactive moving and sizing of windows, and pressing caption buttons:
// once started, the mouse belongs to the tracking until its button goes up.
#include "host/win/WinInternal.h"

#include <algorithm>

namespace host::win {

bool TrackScrollInput(const TRawInput& in);

namespace {

WPARAM EdgeOf(LRESULT hit)
{
    switch (hit) {
    case HTLEFT: return WMSZ_LEFT;
    case HTRIGHT: return WMSZ_RIGHT;
    case HTTOP: return WMSZ_TOP;
    case HTTOPLEFT: return WMSZ_TOPLEFT;
    case HTTOPRIGHT: return WMSZ_TOPRIGHT;
    case HTBOTTOM: return WMSZ_BOTTOM;
    case HTBOTTOMLEFT: return WMSZ_BOTTOMLEFT;
    case HTBOTTOMRIGHT: return WMSZ_BOTTOMRIGHT;
    default: return 0;
    }
}

LRESULT HitOfCommand(WPARAM cmd)
{
    static const LRESULT kHits[] = {HTNOWHERE, HTLEFT, HTRIGHT, HTTOP, HTTOPLEFT,
                                    HTTOPRIGHT, HTBOTTOM, HTBOTTOMLEFT, HTBOTTOMRIGHT};
    WPARAM edge = cmd & 0x0F;
    return edge <= 8 ? kHits[edge] : HTBOTTOMRIGHT;
}

bool MovesLeft(LRESULT hit) { return hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT; }
bool MovesRight(LRESULT hit) { return hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT; }
bool MovesTop(LRESULT hit) { return hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT; }
bool MovesBottom(LRESULT hit) { return hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT; }

// The rectangle a size drag asks for, kept within the window's tracking
// limits; the edge that is not dragged stays put.
RECT SizedRect(TWnd* w, const TTracking& t, int dx, int dy)
{
    RECT r = t.StartRect;
    if (MovesLeft(t.Hit)) r.left += dx;
    if (MovesRight(t.Hit)) r.right += dx;
    if (MovesTop(t.Hit)) r.top += dy;
    if (MovesBottom(t.Hit)) r.bottom += dy;
    MINMAXINFO m = DefaultMinMaxInfo(w->Handle);
    SendMessage(w->Handle, WM_GETMINMAXINFO, 0, LPARAM(&m));
    int cx = std::clamp<int>(r.right - r.left, std::min<int>(m.ptMinTrackSize.x, m.ptMaxTrackSize.x), m.ptMaxTrackSize.x);
    int cy = std::clamp<int>(r.bottom - r.top, std::min<int>(m.ptMinTrackSize.y, m.ptMaxTrackSize.y), m.ptMaxTrackSize.y);
    if (MovesLeft(t.Hit)) r.left = r.right - cx; else r.right = r.left + cx;
    if (MovesTop(t.Hit)) r.top = r.bottom - cy; else r.bottom = r.top + cy;
    return r;
}

void TrackMove(const TRawInput& in)
{
    TTracking t = State().Tracking;
    TWnd* w = FindWnd(t.Wnd);
    if (!w)
        return;
    int dx = in.Pt.x - t.Start.x, dy = in.Pt.y - t.Start.y;
    RECT r = t.StartRect;
    if (t.What == TTracking::Kind::Move) {
        OffsetRect(&r, dx, dy);
        SendMessage(t.Wnd, WM_MOVING, 0, LPARAM(&r));
        SetWindowPos(t.Wnd, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    r = SizedRect(w, t, dx, dy);
    if (!FindWnd(t.Wnd))
        return;
    SendMessage(t.Wnd, WM_SIZING, EdgeOf(t.Hit), LPARAM(&r));
    SetWindowPos(t.Wnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TrackNcButton(const TRawInput& in)
{
    TTracking t = State().Tracking;
    if (in.Kind != TInputKind::ButtonUp)
        return true;
    TWnd* w = FindWnd(t.Wnd);
    bool over = w && NcHitTest(w, in.Pt) == t.Hit;
    ReleaseCapture();
    if (!over || !FindWnd(t.Wnd))
        return true;
    WPARAM cmd = t.Hit == HTCLOSE ? SC_CLOSE
                 : t.Hit == HTMINBUTTON ? SC_MINIMIZE
                 : (w->Style & WS_MAXIMIZE) ? SC_RESTORE
                                            : SC_MAXIMIZE;
    SendMessage(t.Wnd, WM_SYSCOMMAND, cmd, PointToLParam(in.Pt));
    return true;
}

}  // namespace

void StartSizeMove(TWnd* w, WPARAM command, POINT screen)
{
    TState& s = State();
    if (s.Tracking.What != TTracking::Kind::None || (w->Style & WS_MAXIMIZE))
        return;
    TTracking t;
    t.What = (command & 0xFFF0) == SC_MOVE ? TTracking::Kind::Move : TTracking::Kind::Size;
    t.Wnd = w->Handle;
    t.Hit = t.What == TTracking::Kind::Move ? HTCAPTION : HitOfCommand(command);
    // Where the mouse is now: callers often pass no point (SC_MOVE + HTCAPTION with 0).
    t.Start = State().Cursor;
    (void)screen;
    t.StartRect = w->Rect;  // in the parent's client coordinates, as SetWindowPos takes them
    s.Tracking = t;
    SetCapture(w->Handle);
    SendMessage(t.Wnd, WM_ENTERSIZEMOVE, 0, 0);
    RunTrackingLoop();
}

void RunTrackingLoop()
{
    MSG msg;
    while (State().Tracking.What != TTracking::Kind::None) {
        if (!PeekInternal(&msg, nullptr, 0, 0, PM_REMOVE))
            return;  // input paused mid-drag: the queue drives the rest
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

bool TrackKey(const TRawInput& in)
{
    TTracking t = State().Tracking;
    if (t.What != TTracking::Kind::Move && t.What != TTracking::Kind::Size)
        return false;
    if (in.Kind == TInputKind::KeyDown && in.Vk == VK_ESCAPE) {
        // Escape puts the window back where the drag began.
        const RECT& r = t.StartRect;
        SetWindowPos(t.Wnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        ReleaseCapture();
    }
    return true;  // the keyboard is the tracking's meanwhile
}

bool TrackInput(const TRawInput& in)
{
    TTracking& t = State().Tracking;
    switch (t.What) {
    case TTracking::Kind::None: return false;
    case TTracking::Kind::NcButton: return TrackNcButton(in);
    case TTracking::Kind::ScrollThumb:
    case TTracking::Kind::ScrollButton: return TrackScrollInput(in);
    default: break;
    }
    if (in.Kind == TInputKind::MouseMove) {
        TrackMove(in);
        return true;
    }
    if (in.Kind == TInputKind::ButtonUp && in.Button == 0) {
        ReleaseCapture();  // ends the tracking with WM_EXITSIZEMOVE
        return true;
    }
    return true;  // other buttons and the wheel do nothing meanwhile
}

}  // namespace host::win
