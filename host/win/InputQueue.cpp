// Raw input from the backend (or a test) becomes window messages when it is
// retrieved: hit testing, capture, activation, WM_SETCURSOR, double clicks
// and the keyboard state all apply at that moment, as on the platform.
#include "host/win/MenuInternal.h"

#include <cstdlib>

namespace host::win {

namespace {

int ButtonVk(int button) { return button == 0 ? VK_LBUTTON : button == 1 ? VK_RBUTTON : VK_MBUTTON; }

void SetKey(BYTE* keys, int vk, bool down)
{
    auto one = [&](int k) {
        if (down && !(keys[k] & 0x80))
            keys[k] ^= 0x01;  // every press toggles; it matters for the lock keys
        keys[k] = BYTE((keys[k] & 0x01) | (down ? 0x80 : 0));
    };
    one(vk);
    switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT: one(VK_SHIFT); break;
    case VK_LCONTROL:
    case VK_RCONTROL: one(VK_CONTROL); break;
    case VK_LMENU:
    case VK_RMENU: one(VK_MENU); break;
    case VK_SHIFT: one(VK_LSHIFT); break;
    case VK_CONTROL: one(VK_LCONTROL); break;
    case VK_MENU: one(VK_LMENU); break;
    default: break;
    }
}

WPARAM MouseKeys(const BYTE* keys)
{
    WPARAM mk = 0;
    if (keys[VK_LBUTTON] & 0x80) mk |= MK_LBUTTON;
    if (keys[VK_RBUTTON] & 0x80) mk |= MK_RBUTTON;
    if (keys[VK_MBUTTON] & 0x80) mk |= MK_MBUTTON;
    if (keys[VK_SHIFT] & 0x80) mk |= MK_SHIFT;
    if (keys[VK_CONTROL] & 0x80) mk |= MK_CONTROL;
    return mk;
}

HWND HitTestIn(TWnd* w, POINT pt, LRESULT* hit)
{
    HWND h = w->Handle;
    RECT client = ClientScreenRect(w);
    if (PtInRect(&client, pt)) {
        std::vector<HWND> kids;
        for (TWnd* c : w->Children)
            kids.push_back(c->Handle);
        for (HWND k : kids) {
            TWnd* c = FindWnd(k);
            RECT r = c ? ScreenRect(c) : RECT{};
            // Disabled children let the mouse through to their parent.
            if (!c || !(c->Style & WS_VISIBLE) || (c->Style & WS_DISABLED) || !PtInRect(&r, pt))
                continue;
            if (HWND found = HitTestIn(c, pt, hit))
                return found;
        }
    }
    if (!FindWnd(h))
        return nullptr;
    *hit = SendMessage(h, WM_NCHITTEST, 0, PointToLParam(pt));
    return *hit == HTTRANSPARENT ? nullptr : h;
}

struct TConverted {
    MSG Msg;
    LRESULT Hit = HTCLIENT;
    UINT ClientMsg = 0;  // the client message number, for WM_SETCURSOR
    bool Valid = false;
};

UINT MouseMessage(const TRawInput& in)
{
    switch (in.Kind) {
    case TInputKind::ButtonDown: return WM_LBUTTONDOWN + 3 * UINT(in.Button);
    case TInputKind::ButtonUp: return WM_LBUTTONUP + 3 * UINT(in.Button);
    case TInputKind::Wheel: return WM_MOUSEWHEEL;
    default: return WM_MOUSEMOVE;
    }
}

bool IsDoubleClick(const TState& s, HWND target, UINT msg, LRESULT hit, const TRawInput& in)
{
    if (s.LastClickWnd != target || s.LastClickMsg != msg || s.LastClickHit != hit)
        return false;
    if (in.Time - s.LastClickTime > s.DoubleClickTime)
        return false;
    int half = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    if (std::abs(in.Pt.x - s.LastClickPt.x) > half || std::abs(in.Pt.y - s.LastClickPt.y) > half)
        return false;
    TWnd* w = FindWnd(target);
    return hit != HTCLIENT || (w && w->Class && (w->Class->Info.style & CS_DBLCLKS));
}

TConverted ConvertMouse(TState& s, const TRawInput& in)
{
    TConverted c;
    BYTE keys[256];
    std::copy(std::begin(s.Keys), std::end(s.Keys), keys);
    if (in.Kind == TInputKind::ButtonDown || in.Kind == TInputKind::ButtonUp)
        SetKey(keys, ButtonVk(in.Button), in.Kind == TInputKind::ButtonDown);
    UINT msg = MouseMessage(in);
    c.ClientMsg = msg;
    if (in.Kind == TInputKind::Wheel) {
        HWND target = s.Focus ? s.Focus : s.Active;
        if (!target)
            return c;
        c.Msg.hwnd = target;
        c.Msg.message = WM_MOUSEWHEEL;
        c.Msg.wParam = MAKEWPARAM(int(MouseKeys(keys)), in.Delta);
        c.Msg.lParam = PointToLParam(in.Pt);
        c.Valid = true;
        return c;
    }
    HWND target = s.Capture;
    c.Hit = HTCLIENT;
    if (!target)
        target = HitTestWindow(in.Pt, &c.Hit);
    if (!target)
        return c;
    c.Msg.hwnd = target;
    if (c.Hit == HTCLIENT) {
        POINT p = in.Pt;
        ScreenToClient(target, &p);
        c.Msg.lParam = PointToLParam(p);
        c.Msg.wParam = MouseKeys(keys);
    } else {
        msg = msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
        c.Msg.lParam = PointToLParam(in.Pt);
        c.Msg.wParam = WPARAM(c.Hit);
    }
    if (in.Kind == TInputKind::ButtonDown && IsDoubleClick(s, target, msg, c.Hit, in))
        msg += 2;
    c.Msg.message = msg;
    c.Valid = true;
    return c;
}

TConverted ConvertKey(TState& s, const TRawInput& in)
{
    TConverted c;
    // An open menu takes the keyboard without taking the focus.
    HWND target = MenuKeyTarget();
    if (!target)
        target = s.Focus ? s.Focus : s.Active;
    if (!target)
        return c;
    c.Msg.hwnd = target;
    if (in.Kind == TInputKind::Char) {
        c.Msg.message = WM_CHAR;
        c.Msg.wParam = WPARAM(BYTE(in.Vk));
        c.Msg.lParam = 1;
        c.Valid = true;
        return c;
    }
    bool down = in.Kind == TInputKind::KeyDown;
    bool wasDown = s.Keys[in.Vk & 0xFF] & 0x80;
    BYTE keys[256];
    std::copy(std::begin(s.Keys), std::end(s.Keys), keys);
    SetKey(keys, in.Vk & 0xFF, down);
    bool altDown = keys[VK_MENU] & 0x80;
    bool sys = altDown || in.Vk == VK_F10 || in.Vk == VK_MENU || !s.Focus;
    if (altDown && (keys[VK_CONTROL] & 0x80) && s.Focus)
        sys = false;  // Ctrl+Alt combinations are ordinary keys
    c.Msg.message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    c.Msg.wParam = WPARAM(in.Vk);
    UINT scan = MapVirtualKey(UINT(in.Vk), 0);
    LPARAM l = 1 | (LPARAM(scan & 0xFF) << 16);
    if ((keys[VK_MENU] & 0x80) || (in.Vk == VK_MENU && !down))
        l |= LPARAM(1) << 29;
    if (down ? wasDown : true)
        l |= LPARAM(1) << 30;
    if (!down)
        l |= LPARAM(1) << 31;
    c.Msg.lParam = LPARAM(uint32_t(l));
    c.Valid = true;
    return c;
}

// Each ancestor of a child window hears of a button press in it, unless the
// child asked not to tell (WS_EX_NOPARENTNOTIFY).
void NotifyParents(HWND target, UINT msg, POINT screen)
{
    TWnd* w = FindWnd(target);
    while (w && (w->Style & WS_CHILD) && !(w->ExStyle & WS_EX_NOPARENTNOTIFY) && w->Parent) {
        HWND parent = w->Parent->Handle;
        POINT p = screen;
        ScreenToClient(parent, &p);
        SendMessage(parent, WM_PARENTNOTIFY, MAKEWPARAM(int(msg), 0), PointToLParam(p));
        w = FindWnd(parent);
    }
}

// Activation and cursor shape before a mouse message is delivered; false
// when WM_MOUSEACTIVATE eats the click.
bool CommitMouse(TState& s, const TRawInput& in, const TConverted& c)
{
    s.Cursor = in.Pt;
    if (in.Kind == TInputKind::ButtonDown || in.Kind == TInputKind::ButtonUp)
        SetKey(s.Keys, ButtonVk(in.Button), in.Kind == TInputKind::ButtonDown);
    HWND target = c.Msg.hwnd;
    if (in.Kind == TInputKind::ButtonDown && !s.Capture) {
        TWnd* w = FindWnd(target);
        TWnd* top = w ? TopLevelOf(w) : nullptr;
        if (top && !top->Desktop && s.Active != top->Handle && !(top->Style & WS_DISABLED)) {
            LRESULT r = SendMessage(target, WM_MOUSEACTIVATE, WPARAM(top->Handle),
                                    MAKELPARAM(int(c.Hit), int(c.ClientMsg)));
            if ((r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT) && FindWnd(top->Handle))
                ActivateWindow(top, WA_CLICKACTIVE);
            if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT)
                return false;
        }
    }
    if (!FindWnd(target))
        return false;
    if (!s.Capture && in.Kind != TInputKind::ButtonUp && in.Kind != TInputKind::Wheel)
        SendMessage(target, WM_SETCURSOR, WPARAM(target), MAKELPARAM(int(c.Hit), int(c.ClientMsg)));
    if (c.Hit == HTERROR || !FindWnd(target))
        return false;
    s.MouseWnd = target;
    if (in.Kind == TInputKind::ButtonDown && c.Hit == HTCLIENT)
        NotifyParents(target, c.ClientMsg, in.Pt);
    if (!FindWnd(target))
        return false;
    if (in.Kind == TInputKind::ButtonDown) {
        bool dbl = c.Msg.message == WM_LBUTTONDBLCLK || c.Msg.message == WM_RBUTTONDBLCLK ||
                   c.Msg.message == WM_MBUTTONDBLCLK || c.Msg.message == WM_NCLBUTTONDBLCLK ||
                   c.Msg.message == WM_NCRBUTTONDBLCLK || c.Msg.message == WM_NCMBUTTONDBLCLK;
        // A double click starts a new count, so a third click is single again.
        s.LastClickWnd = dbl ? nullptr : target;
        s.LastClickMsg = c.Msg.message;
        s.LastClickTime = in.Time;
        s.LastClickPt = in.Pt;
        s.LastClickHit = c.Hit;
    }
    return true;
}

// The pointer went where no window of the program is (another program's
// window, the desktop of a real display): the window it was over hears.
void PointerLeft(TState& s)
{
    HWND last = s.MouseWnd;
    s.MouseWnd = nullptr;
    if (last && !s.Capture && FindWnd(last))
        PostMessage(last, WM_MOUSELEAVE, 0, 0);
}

bool IsMouse(TInputKind k)
{
    return k == TInputKind::MouseMove || k == TInputKind::ButtonDown || k == TInputKind::ButtonUp ||
           k == TInputKind::Wheel;
}

}  // namespace

HWND HitTestWindow(POINT pt, LRESULT* hit)
{
    *hit = HTNOWHERE;
    std::vector<HWND> tops;
    for (TWnd* c : State().Desktop->Children)
        tops.push_back(c->Handle);
    for (HWND h : tops) {
        TWnd* top = FindWnd(h);
        RECT r = top ? ScreenRect(top) : RECT{};
        if (!top || !(top->Style & WS_VISIBLE) || !PtInRect(&r, pt))
            continue;
        if (top->Style & WS_DISABLED) {
            *hit = HTERROR;
            return h;
        }
        if (HWND found = HitTestIn(top, pt, hit))
            return found;
    }
    *hit = HTNOWHERE;
    return nullptr;
}

bool ConvertInput(MSG* msg, const std::function<bool(const MSG&)>& accept, bool remove)
{
    TState& s = State();
    while (!s.Input.empty()) {
        TRawInput in = s.Input.front();
        bool mouse = IsMouse(in.Kind);
        if (remove && in.Kind == TInputKind::MouseMove && !in.Paced && s.Input.size() > 1 &&
            s.Input[1].Kind == TInputKind::MouseMove) {
            s.Input.pop_front();  // only the latest position of a run of moves matters
            continue;
        }
        if (remove && mouse && TrackInput(in)) {
            s.Cursor = in.Pt;
            if (in.Kind == TInputKind::ButtonDown || in.Kind == TInputKind::ButtonUp)
                SetKey(s.Keys, ButtonVk(in.Button), in.Kind == TInputKind::ButtonDown);
            if (!s.Input.empty())
                s.Input.pop_front();
            continue;
        }
        if (remove && !mouse && in.Kind != TInputKind::Char && TrackKey(in)) {
            SetKey(s.Keys, in.Vk & 0xFF, in.Kind == TInputKind::KeyDown);
            s.Input.pop_front();
            continue;
        }
        TConverted c = mouse ? ConvertMouse(s, in) : ConvertKey(s, in);
        if (!c.Valid) {
            // Nobody can take it: it changes the state and is gone.
            s.Input.pop_front();
            if (mouse) {
                if (in.Kind == TInputKind::MouseMove)
                    PointerLeft(s);
                s.Cursor = in.Pt;
                if (in.Kind == TInputKind::ButtonDown || in.Kind == TInputKind::ButtonUp)
                    SetKey(s.Keys, ButtonVk(in.Button), in.Kind == TInputKind::ButtonDown);
            } else if (in.Kind != TInputKind::Char) {
                SetKey(s.Keys, in.Vk & 0xFF, in.Kind == TInputKind::KeyDown);
            }
            continue;
        }
        c.Msg.time = in.Time;
        if (!accept(c.Msg))
            return false;
        if (!remove) {
            *msg = c.Msg;
            return true;
        }
        s.Input.pop_front();
        if (mouse) {
            if (!CommitMouse(s, in, c))
                continue;
        } else if (in.Kind != TInputKind::Char) {
            SetKey(s.Keys, in.Vk & 0xFF, in.Kind == TInputKind::KeyDown);
            s.LastKeyVk = in.Vk;
        }
        *msg = c.Msg;
        msg->pt = in.Pt;
        return true;
    }
    return false;
}

void ResetInputState()
{
    TState& s = State();
    std::fill(std::begin(s.Keys), std::end(s.Keys), 0);
    std::fill(std::begin(s.AsyncKeys), std::end(s.AsyncKeys), 0);
    s.Input.clear();
    s.Cursor = POINT{};
}

namespace {

// Menus, hints and drop-down lists: captionless pop-ups that belong to
// another window or float above all.
bool IsPopupWindow(const TWnd* w)
{
    if (HasCaption(w->Style) || !(w->Style & WS_POPUP))
        return false;
    return w->Owner || (w->ExStyle & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
}

// The window without the frame and title bar that a window manager draws in
// their place; the menu bar and scroll bars stay the window's own.
RECT InnerScreenRect(const TWnd* w)
{
    RECT r = ScreenRect(w);
    TFrameMetrics m = FrameMetrics(w->Style, w->ExStyle);
    return RECT{r.left + m.Border, r.top + m.Border + m.Caption, r.right - m.Border, r.bottom - m.Border};
}

// Where DisableTaskWindows (Modal.cpp) keeps the window a modal window was
// shown over.
constexpr const char* kModalOverProp = "HostModalOver";

// The window a modal window was shown over, while that one waits for it.
HWND ModalOver(TWnd* w)
{
    auto over = static_cast<HWND>(GetProp(w->Handle, kModalOverProp));
    TWnd* o = FindWnd(over);
    return o && (o->Style & WS_DISABLED) && (w->Style & WS_VISIBLE) ? over : nullptr;
}

class TWinBackendHost : public TBackendHost {
public:
    std::vector<TTopLevelView> TopLevels() const override
    {
        std::vector<TTopLevelView> v;
        auto& kids = State().Desktop->Children;
        for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
            TWnd* w = *it;
            TTopLevelView t;
            t.Wnd = w->Handle;
            t.Rect = ScreenRect(w);
            t.Surface = &w->Surf;
            t.Visible = (w->Style & WS_VISIBLE) != 0;
            t.Title = w->Text;
            t.Owner = w->Owner ? w->Owner->Handle : ModalOver(w);
            t.Topmost = (w->ExStyle & WS_EX_TOPMOST) != 0;
            t.InnerRect = InnerScreenRect(w);
            t.Caption = HasCaption(w->Style);
            t.Popup = IsPopupWindow(w);
            t.Minimized = (w->Style & WS_MINIMIZE) != 0;
            t.Maximized = (w->Style & WS_MAXIMIZE) != 0;
            t.Active = State().Active == w->Handle;
            v.push_back(std::move(t));
        }
        return v;
    }
    COLORREF DesktopColor() const override { return GetSysColor(COLOR_BACKGROUND); }

    void MouseMoveInput(POINT screen) override { Push(TInputKind::MouseMove, screen); }
    void MouseButtonInput(POINT screen, int button, bool down) override
    {
        SetKey(State().AsyncKeys, ButtonVk(button), down);
        TRawInput& in = Push(down ? TInputKind::ButtonDown : TInputKind::ButtonUp, screen);
        in.Button = button;
    }
    void MouseWheelInput(POINT screen, int delta) override
    {
        Push(TInputKind::Wheel, screen).Delta = delta;
    }
    void KeyInput(int vk, bool down) override
    {
        SetKey(State().AsyncKeys, vk & 0xFF, down);
        Push(down ? TInputKind::KeyDown : TInputKind::KeyUp, State().Cursor).Vk = vk;
    }
    void CharInput(unsigned ch) override
    {
        // Characters travel as UTF-8 bytes, one WM_CHAR each.
        char buf[4];
        int n = 0;
        if (ch < 0x80) {
            buf[n++] = char(ch);
        } else if (ch < 0x800) {
            buf[n++] = char(0xC0 | (ch >> 6));
            buf[n++] = char(0x80 | (ch & 0x3F));
        } else if (ch < 0x10000) {
            buf[n++] = char(0xE0 | (ch >> 12));
            buf[n++] = char(0x80 | ((ch >> 6) & 0x3F));
            buf[n++] = char(0x80 | (ch & 0x3F));
        } else if (ch < 0x110000) {
            buf[n++] = char(0xF0 | (ch >> 18));
            buf[n++] = char(0x80 | ((ch >> 12) & 0x3F));
            buf[n++] = char(0x80 | ((ch >> 6) & 0x3F));
            buf[n++] = char(0x80 | (ch & 0x3F));
        }
        for (int i = 0; i < n; ++i)
            PushCharInput(buf[i]);
    }
    void TopLevelMovedInput(HWND wnd, const RECT& r) override
    {
        if (!FindWnd(wnd))
            return;
        SetWindowPos(wnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void CloseInput(HWND wnd) override
    {
        if (FindWnd(wnd))
            PostMessage(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    void FocusInput(HWND wnd, bool gained) override
    {
        TWnd* w = FindWnd(wnd);
        // A window a modal one waits on stays inactive, as a click on it
        // leaves the modal window active.
        if (gained && w && (w->Style & WS_VISIBLE) && !(w->Style & WS_DISABLED) && State().Active != wnd)
            SetActiveWindow(wnd);
        // Another program took the keyboard: the active window deactivates
        // and the focus goes, as when the user switches programs.
        if (!gained && State().Active)
            ActivateWindow(nullptr, WA_INACTIVE);
    }
    void SizeLimits(HWND wnd, SIZE& minSize, SIZE& maxSize) override
    {
        MINMAXINFO m = DefaultMinMaxInfo(wnd);
        SendMessage(wnd, WM_GETMINMAXINFO, 0, LPARAM(&m));
        minSize = SIZE{m.ptMinTrackSize.x, m.ptMinTrackSize.y};
        maxSize = SIZE{m.ptMaxTrackSize.x, m.ptMaxTrackSize.y};
    }
    int StandardCursorId(HICON cursor) const override { return win::StandardCursorId(cursor); }
    void ShowStateInput(HWND wnd, int showCmd) override
    {
        if (FindWnd(wnd))
            ShowWindow(wnd, showCmd);
    }
    void DisplayLostInput() override { PostQuitMessage(1); }
    bool CursorImage(HICON cursor, TImageData& image, POINT& hotSpot) const override
    {
        return win::CursorImage(cursor, image, hotSpot);
    }

private:
    static TRawInput& Push(TInputKind kind, POINT pt)
    {
        TRawInput in;
        in.Kind = kind;
        in.Pt = pt;
        in.Time = TickNow();
        State().Input.push_back(in);
        return State().Input.back();
    }
};

}  // namespace

TBackendHost& ScreenBackendHost()
{
    static TWinBackendHost host;
    return host;
}

void PaceLastInput()
{
    if (!State().Input.empty())
        State().Input.back().Paced = true;
}

void PushCharInput(char ch)
{
    TRawInput in;
    in.Kind = TInputKind::Char;
    in.Vk = BYTE(ch);
    in.Time = TickNow();
    State().Input.push_back(in);
}

}  // namespace host::win
