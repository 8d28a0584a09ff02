// TWinControl: its window, its children, painting and showing.
#include "host/vcl/Controls.h"
#include "host/vcl/ControlsInternal.h"

#include <algorithm>

namespace host {

namespace controls {

TControl* CaptureControl = nullptr;
TControl* MouseControl = nullptr;

void ControlDestroyed(TControl* Control)
{
    if (CaptureControl == Control) {
        CaptureControl = nullptr;
        if (Control->GetParent() && GetCapture() == Control->GetParent()->GetHandle()) ReleaseCapture();
    }
    if (MouseControl == Control) MouseControl = nullptr;
}

void ParentRequired(const TControl* Control)
{
    throw EInvalidOperation("Control '" + Control->GetName() + "' has no parent window");
}

} // namespace controls

namespace {

// The control whose window is being made: its first message binds the window
// to it (CreateWindowEx has not returned the handle yet).
TWinControl* CreationControl = nullptr;
constexpr const char* ControlProp = "HostControl";

} // namespace

LRESULT InitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TWinControl* control = CreationControl;
    if (!control) return DefWindowProc(Wnd, Msg, WParam, LParam);
    CreationControl = nullptr;
    control->FHandle = Wnd;
    SetProp(Wnd, ControlProp, HANDLE(control));
    SetWindowLongPtr(Wnd, GWL_WNDPROC, LONG_PTR(control->FObjectInstance));
    return CallWindowProc(control->FObjectInstance, Wnd, Msg, WParam, LParam);
}

TWinControl* FindControl(HWND Wnd)
{
    if (!Wnd || !IsWindow(Wnd)) return nullptr;
    return static_cast<TWinControl*>(GetProp(Wnd, ControlProp));
}

TControl* GetCaptureControl()
{
    TControl* result = FindControl(GetCapture());
    if (result && controls::CaptureControl && controls::CaptureControl->GetParent() == result)
        result = controls::CaptureControl;
    return result;
}

void SetCaptureControl(TControl* Control)
{
    ReleaseCapture();
    controls::CaptureControl = nullptr;
    if (!Control) return;
    auto* win = dynamic_cast<TWinControl*>(Control);
    if (!win) {
        if (!Control->GetParent()) return;
        controls::CaptureControl = Control;
        win = Control->GetParent();
    }
    SetCapture(win->GetHandle());
}

TControl* GetMouseControl() { return controls::MouseControl; }

bool TControl::GetMouseCapture() { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value)
{
    if (GetMouseCapture() == Value) return;
    SetCaptureControl(Value ? this : nullptr);
}

// ---- Life --------------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
    FIsControl = true;
    FBrush = std::make_unique<TBrush>();
    FBrush->SetColor(FColor);
}

void TWinControl::Destroy()
{
    if (FParent) RemoveFocus(true);
    if (FHandle) DestroyWindowHandle();
    // Children go first, whoever owns them.
    while (GetControlCount() > 0) {
        TControl* child = GetControls(GetControlCount() - 1);
        Remove(child);
        child->Free();
    }
    inherited::Destroy();
    if (FObjectInstance) {
        FreeObjectInstance(FObjectInstance);
        FObjectInstance = nullptr;
    }
}

// ---- The window ----------------------------------------------------------------------------

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params = TCreateParams{};
    Params.Caption = FText;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls)) {
        Params.Style |= WS_CLIPCHILDREN;
        Params.ExStyle |= WS_EX_CONTROLPARENT;
    }
    if (!GetComponentState().Contains(csDesigning) && !FEnabled) Params.Style |= WS_DISABLED;
    if (FTabStop) Params.Style |= WS_TABSTOP;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    Params.WndParent = FParent ? FParent->GetHandle() : FParentWindow;
    Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    Params.WindowClass.lpfnWndProc = &DefWindowProc;
    Params.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    Params.WindowClass.hbrBackground = nullptr;
    Params.WindowClass.hInstance = HInstance();
    Params.WinClassName = ClassName();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params)
{
    HWND wnd = CreateWindowEx(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style,
                              Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr,
                              Params.WindowClass.hInstance, Params.Param);
    if (wnd) FHandle = wnd;
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    if (!params.WndParent && (params.Style & WS_CHILD)) {
        auto* owner = dynamic_cast<TWinControl*>(GetOwner());
        if (owner && owner->GetComponentState().Contains(csReading))
            params.WndParent = owner->GetHandle();
        else
            controls::ParentRequired(this);
    }
    FDefWndProc = params.WindowClass.lpfnWndProc;
    WNDCLASS existing;
    bool registered = GetClassInfo(params.WindowClass.hInstance, params.WinClassName.c_str(), &existing);
    if (!registered || existing.lpfnWndProc != &InitWndProc) {
        if (registered) UnregisterClass(params.WinClassName.c_str(), params.WindowClass.hInstance);
        WNDCLASS wc = params.WindowClass;
        wc.lpfnWndProc = &InitWndProc;
        wc.lpszClassName = params.WinClassName.c_str();
        if (!RegisterClass(&wc)) throw EOutOfResources("Cannot register window class " + params.WinClassName);
    }
    if (!FObjectInstance) FObjectInstance = MakeObjectInstance([this](TMessage& M) { MainWndProc(M); });
    CreationControl = this;
    try {
        CreateWindowHandle(params);
    } catch (...) {
        CreationControl = nullptr;
        throw;
    }
    CreationControl = nullptr;
    if (!FHandle) throw EOutOfResources("Error creating window");
    // The window holds the text from now on.
    FText.clear();
    UpdateBounds();
    Perform(WM_SETFONT, WPARAM(FFont->GetHandle()), 1);
}

void TWinControl::CreateHandle()
{
    if (FHandle) return;
    CreateWnd();
    if (FParent)
        SetWindowPos(FHandle, FParent->PrecedingWindow(this), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::HandleNeeded()
{
    if (FHandle) return;
    if (FParent) FParent->HandleNeeded();
    CreateHandle();
}

HWND TWinControl::GetHandle()
{
    HandleNeeded();
    return FHandle;
}

void TWinControl::DestroyHandle()
{
    if (!FHandle) return;
    for (TWinControl* child : FWinControls) child->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd()
{
    // Kept for the next window, which is made with it.
    FText = GetText();
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle()
{
    HWND wnd = FHandle;
    if (wnd) DestroyWindow(wnd);
    FHandle = nullptr;
    FShowing = false;
}

void TWinControl::RecreateWnd()
{
    if (FHandle) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&)
{
    bool wasFocused = Focused();
    DestroyHandle();
    UpdateControlState();
    if (wasFocused && FHandle) ::host::SetFocus(FHandle);
}

void TWinControl::WMNCDestroy(TMessage& Message)
{
    DefaultHandler(Message);
    RemoveProp(FHandle, ControlProp);
    FHandle = nullptr;
    FShowing = false;
}

HWND TWinControl::PrecedingWindow(TWinControl* Control) const
{
    auto it = std::find(FWinControls.begin(), FWinControls.end(), Control);
    if (it != FWinControls.end())
        for (++it; it != FWinControls.end(); ++it)
            if ((*it)->FHandle) return (*it)->FHandle;
    return HWND_TOP;
}

void TWinControl::SetParentWindow(HWND Value)
{
    if (FParent || FParentWindow == Value) return;
    if (FHandle && FParentWindow && Value)
        ::host::SetParent(FHandle, Value);
    else
        DestroyHandle();
    FParentWindow = Value;
    UpdateControlState();
}

// ---- Window procedure ---------------------------------------------------------------------

void TWinControl::MainWndProc(TMessage& Message)
{
    try {
        if (FWindowProc)
            FWindowProc(Message);
        else
            WndProc(Message);
    } catch (...) {
        HandleWindowProcException(this);
    }
}

void TWinControl::DefWndProc(TMessage& Message)
{
    WNDPROC proc = FDefWndProc ? FDefWndProc : &DefWindowProc;
    Message.Result = CallWindowProc(proc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    if (!FHandle) {
        inherited::DefaultHandler(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // The child decides its own colours.
        Message.Result = SendMessage(HWND(Message.LParam), CN_BASE + Message.Msg, Message.WParam, Message.LParam);
        return;
    default:
        DefWndProc(Message);
    }
}

bool TWinControl::DoControlMsg(HWND ControlHandle, TMessage& Message)
{
    TWinControl* control = FindControl(ControlHandle);
    if (!control) return false;
    Message.Result = control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return true;
}

void TWinControl::WMCommand(TMessage& Message)
{
    if (!DoControlMsg(HWND(Message.LParam), Message)) DefaultHandler(Message);
}

// Owner-drawn children draw themselves: the item's window gets CN_DRAWITEM.
void TWinControl::WMDrawItem(TMessage& Message)
{
    auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
    if (!item || !DoControlMsg(item->hwndItem, Message)) DefaultHandler(Message);
}

void TWinControl::WMScroll(TMessage& Message)
{
    if (!Message.LParam || !DoControlMsg(HWND(Message.LParam), Message)) DefaultHandler(Message);
}

void TWinControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETFOCUS: {
        TWinControl* root = GetRootControl();
        if (!root->SetFocusedControl(this)) return;
        break;
    }
    case WM_KILLFOCUS:
        if (FControlState.Contains(csFocusing)) return;
        break;
    case WM_MOUSELEAVE: {
        // The pointer left the program's windows: no control is under it now.
        POINT p;
        GetCursorPos(&p);
        TrackMouseControl(FindDragTarget(p, true));
        break;
    }
    case WM_NCHITTEST:
        inherited::WndProc(Message);
        // A graphic child of a see-through window still takes the mouse.
        if (Message.Result == HTTRANSPARENT && ControlAtPos(ScreenToClient(MsgPos(Message)), false))
            Message.Result = HTCLIENT;
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
        // Dialog keys had their chance (CN_KEYDOWN...) in the message loop.
        if (Dragging()) {
            if (Message.Msg == WM_KEYDOWN && Message.WParam == WPARAM(VK_ESCAPE)) EndDrag(false);
            return;
        }
        break;
    default:
        if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
            if (Message.Msg == WM_MOUSEMOVE) {
                POINT p;
                GetCursorPos(&p);
                TrackMouseControl(FindDragTarget(p, true));
            }
            if (Message.Msg != WM_MOUSEWHEEL && IsControlMouseMsg(Message)) {
                if (Message.Result == 0) DefWndProc(Message);
                return;
            }
        }
        break;
    }
    inherited::WndProc(Message);
}

bool TWinControl::IsControlMouseMsg(TMessage& Message)
{
    TControl* control = nullptr;
    if (FHandle && GetCapture() == FHandle) {
        if (controls::CaptureControl && controls::CaptureControl->GetParent() == this)
            control = controls::CaptureControl;
    } else {
        control = ControlAtPos(MsgPos(Message), false);
    }
    if (!control) return false;
    TPoint p{MsgX(Message) - control->GetLeft(), MsgY(Message) - control->GetTop()};
    Message.Result = control->Perform(Message.Msg, Message.WParam, PointToLParam(p));
    return true;
}

void TWinControl::TrackMouseControl(TControl* Control)
{
    TControl* old = controls::MouseControl;
    if (old == Control) return;
    controls::MouseControl = Control;
    if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
    if (Control && controls::MouseControl == Control) Control->Perform(CM_MOUSEENTER, 0, 0);
}

// ---- Children ---------------------------------------------------------------------------

TControl* TWinControl::GetControls(int Index) const
{
    int graphic = int(FControls.size());
    if (Index < 0 || Index >= GetControlCount()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return Index < graphic ? FControls[size_t(Index)] : FWinControls[size_t(Index - graphic)];
}

void TWinControl::Insert(TControl* AControl)
{
    if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
        FWinControls.push_back(win);
        FTabList.push_back(win);
    } else {
        FControls.push_back(AControl);
    }
    AControl->FParent = this;
}

void TWinControl::Remove(TControl* AControl)
{
    if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
        std::erase(FTabList, win);
        std::erase(FWinControls, win);
    } else {
        std::erase(FControls, AControl);
    }
    AControl->FParent = nullptr;
}

void TWinControl::InsertControl(TControl* AControl)
{
    Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), 1);
    Insert(AControl);
    if (!AControl->FControlState.Contains(csReadingState)) {
        AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
        AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
        AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        AControl->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
        if (auto* win = dynamic_cast<TWinControl*>(AControl))
            win->UpdateControlState();
        else if (HandleAllocated())
            AControl->Invalidate();
        AlignControl(AControl);
    }
    Perform(CM_CONTROLCHANGE, WPARAM(AControl), 1);
}

void TWinControl::RemoveControl(TControl* AControl)
{
    Perform(CM_CONTROLCHANGE, WPARAM(AControl), 0);
    if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
        win->RemoveFocus(true);
        win->DestroyHandle();
    } else if (HandleAllocated()) {
        AControl->InvalidateControl(AControl->FVisible, false);
    }
    Remove(AControl);
    Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), 0);
    Realign();
}

bool TWinControl::ContainsControl(TControl* Control) const
{
    while (Control && Control != this) Control = Control->GetParent();
    return Control == this;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls)
{
    bool designing = GetComponentState().Contains(csDesigning);
    auto hits = [&](TControl* c) {
        TRect r = c->GetBoundsRect();
        if (!(c->FVisible || (designing && !c->FControlStyle.Contains(csNoDesignVisible)))) return false;
        if (!(c->GetEnabled() || AllowDisabled) || !PtInRect(&r, Pos)) return false;
        TPoint p{Pos.x - c->GetLeft(), Pos.y - c->GetTop()};
        return c->Perform(CM_HITTEST, 0, PointToLParam(p)) != 0;
    };
    if (AllowWinControls)
        for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
            if (hits(*it)) return *it;
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
        if (hits(*it)) return *it;
    return nullptr;
}

TControl* TWinControl::FindChildControl(const std::string& ControlName) const
{
    for (int i = 0; i < GetControlCount(); ++i) {
        TControl* c = GetControls(i);
        if (!c->GetName().empty() && SameText(c->GetName(), ControlName)) return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message)
{
    for (int i = 0; i < GetControlCount(); ++i) {
        TControl* c = GetControls(i);
        if (c->FWindowProc)
            c->FWindowProc(Message);
        else
            c->WndProc(Message);
        if (Message.Result != 0) return;
    }
}

void TWinControl::NotifyControls(UINT Msg)
{
    TMessage m{Msg, 0, 0, 0};
    Broadcast(m);
}

void TWinControl::GetChildren(TGetChildProc Proc, TComponent* Root)
{
    for (int i = 0; i < GetControlCount(); ++i) {
        TControl* c = GetControls(i);
        if (c->GetOwner() == Root) Proc(c);
    }
}

void TWinControl::SetChildOrder(TComponent* Child, int Order)
{
    if (auto* win = dynamic_cast<TWinControl*>(Child))
        win->SetZOrderPosition(Order);
    else if (auto* c = dynamic_cast<TControl*>(Child)) {
        auto& list = FControls;
        auto it = std::find(list.begin(), list.end(), c);
        if (it == list.end()) return;
        list.erase(it);
        list.insert(list.begin() + std::clamp<ptrdiff_t>(Order, 0, ptrdiff_t(list.size())), c);
    }
}

// ---- Geometry and z order -------------------------------------------------------------------

TRect TWinControl::GetClientRect()
{
    if (!FHandle) return inherited::GetClientRect();
    RECT r;
    ::host::GetClientRect(FHandle, &r);
    return r;
}

TPoint TWinControl::GetClientOrigin()
{
    if (!FHandle && !FParent && FParentWindow) {
        POINT p{FLeft, FTop};
        ::host::ClientToScreen(FParentWindow, &p);
        return p;
    }
    if (!FHandle) return inherited::GetClientOrigin();
    POINT p{0, 0};
    ::host::ClientToScreen(FHandle, &p);
    return p;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    if (FHandle && !IsIconic(FHandle)) {
        // The window reports back through WM_WINDOWPOSCHANGED and WM_SIZE.
        SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        bool resized = AWidth != FWidth || AHeight != FHeight;
        FLeft = ALeft;
        FTop = ATop;
        FWidth = AWidth;
        FHeight = AHeight;
        if (resized) Realign();
    }
    RequestAlign();
}

void TWinControl::UpdateBounds()
{
    RECT r;
    GetWindowRect(FHandle, &r);
    if (GetWindowLongPtr(FHandle, GWL_STYLE) & WS_CHILD) {
        if (HWND parent = ::host::GetParent(FHandle)) {
            POINT tl{r.left, r.top}, br{r.right, r.bottom};
            ::host::ScreenToClient(parent, &tl);
            ::host::ScreenToClient(parent, &br);
            r = RECT{tl.x, tl.y, br.x, br.y};
        }
    }
    FLeft = r.left;
    FTop = r.top;
    FWidth = r.right - r.left;
    FHeight = r.bottom - r.top;
}

void TWinControl::SetClientSize(int AWidth, int AHeight) { inherited::SetClientSize(AWidth, AHeight); }

void TWinControl::SetZOrderPosition(int Position)
{
    if (!FParent) return;
    auto& list = FParent->FWinControls;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    Position = std::clamp(Position, 0, int(list.size()));
    list.insert(list.begin() + Position, this);
    if (FHandle) {
        HWND after = FParent->PrecedingWindow(this);
        SetWindowPos(FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TWinControl::SetZOrder(bool TopMost)
{
    if (FParent) {
        SetZOrderPosition(TopMost ? int(FParent->FWinControls.size()) : 0);
        return;
    }
    if (FHandle)
        SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SetParent(TWinControl* AParent)
{
    // A parent inside this control would make the tree a loop.
    for (TWinControl* p = AParent; p; p = p->FParent)
        if (p == this) throw EInvalidOperation("A control cannot be placed inside itself");
    inherited::SetParent(AParent);
}

void TWinControl::WMSize(TMessage& Message)
{
    UpdateBounds();
    DefaultHandler(Message);
    Realign();
    if (!GetComponentState().Contains(csLoading)) Resize();
}

void TWinControl::WMMove(TMessage& Message)
{
    UpdateBounds();
    DefaultHandler(Message);
}

void TWinControl::WMWindowPosChanged(TMessage& Message)
{
    if (FHandle) UpdateBounds();
    DefaultHandler(Message);
}

// Owner-drawn children with items of their own heights measure them: the
// asking window gets CN_MEASUREITEM.
void TWinControl::WMMeasureItem(TMessage& Message)
{
    auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(Message.LParam);
    if (!item || !DoControlMsg(item->hwndItem, Message)) DefaultHandler(Message);
}

void TWinControl::WMNCHitTest(TMessage& Message)
{
    if (GetComponentState().Contains(csDesigning) && FParent) {
        Message.Result = HTCLIENT;
        return;
    }
    DefaultHandler(Message);
}

// ---- Showing -------------------------------------------------------------------------------

void TWinControl::UpdateShowing()
{
    bool designing = GetComponentState().Contains(csDesigning);
    bool show = (FVisible || (designing && !FControlStyle.Contains(csNoDesignVisible))) &&
                !FControlState.Contains(csReadingState);
    if (show) {
        if (!FHandle) CreateHandle();
        for (TWinControl* child : std::vector<TWinControl*>(FWinControls)) child->UpdateShowing();
    }
    if (FHandle && FShowing != show) {
        FShowing = show;
        try {
            Perform(CM_SHOWINGCHANGED, 0, 0);
        } catch (...) {
            FShowing = !show;
            throw;
        }
    }
    if (!show)
        for (TWinControl* child : std::vector<TWinControl*>(FWinControls)) child->UpdateShowing();
}

void TWinControl::UpdateControlState()
{
    TWinControl* control = this;
    while (control->FParent) {
        control = control->FParent;
        if (!control->GetShowing()) return;
    }
    if (control->CanShowStandalone()) UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&)
{
    UINT show = FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | show);
}

void TWinControl::CMVisibleChanged(TMessage&)
{
    if (!FVisible && FParent) RemoveFocus(false);
    if (!GetComponentState().Contains(csDesigning) || FControlStyle.Contains(csNoDesignVisible)) UpdateControlState();
}

void TWinControl::CMEnabledChanged(TMessage&)
{
    if (!FEnabled && FParent) RemoveFocus(false);
    if (FHandle && !GetComponentState().Contains(csDesigning)) EnableWindow(FHandle, FEnabled);
}

void TWinControl::CMColorChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    FBrush->SetColor(FColor);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (FHandle) Perform(WM_SETFONT, WPARAM(FFont->GetHandle()), 0);
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMCtl3DChanged(TMessage&) { NotifyControls(CM_PARENTCTL3DCHANGED); }

void TWinControl::CMShowHintChanged(TMessage&) { NotifyControls(CM_PARENTSHOWHINTCHANGED); }

void TWinControl::CMCursorChanged(TMessage&)
{
    if (!FHandle || GetCapture()) return;
    POINT p;
    GetCursorPos(&p);
    if (WindowFromPoint(p) == FHandle)
        SendMessage(FHandle, WM_SETCURSOR, WPARAM(FHandle), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void TWinControl::WMSetCursor(TMessage& Message)
{
    if (GetGlobalCursor() != crDefault) {
        ::host::SetCursor(CursorHandle(GetGlobalCursor()));
        Message.Result = 1;
        return;
    }
    if (HWND(Message.WParam) == FHandle && LOWORD(uintptr_t(Message.LParam)) == HTCLIENT) {
        TCursor cursor = FCursor;
        POINT p;
        GetCursorPos(&p);
        TControl* child = ControlAtPos(ScreenToClient(p), false);
        if (child && child->GetCursor() != crDefault) cursor = child->GetCursor();
        if (cursor != crDefault) {
            ::host::SetCursor(CursorHandle(cursor));
            Message.Result = 1;
            return;
        }
    }
    DefaultHandler(Message);
}

// ---- Painting ---------------------------------------------------------------------------------

void TWinControl::Invalidate() { Perform(CM_INVALIDATE, 0, 0); }

void TWinControl::CMInvalidate(TMessage& Message)
{
    if (!FHandle) return;
    if (FParent) FParent->Perform(CM_INVALIDATE, 1, 0);
    if (Message.WParam == 0) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update()
{
    if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::WMPaint(TMessage& Message)
{
    if (FControls.empty() && !FControlState.Contains(csCustomPaint))
        DefaultHandler(Message);
    else
        PaintHandler(Message);
}

void TWinControl::PaintHandler(TMessage& Message)
{
    PAINTSTRUCT ps;
    HDC dc = HDC(Message.WParam);
    if (!dc) dc = BeginPaint(FHandle, &ps);
    try {
        int saved = SaveDC(dc);
        int clip = SIMPLEREGION;
        // Opaque graphic children cover their part of the window's own painting.
        for (TControl* c : FControls)
            if (c->FVisible && c->FControlStyle.Contains(csOpaque)) {
                clip = ExcludeClipRect(dc, c->FLeft, c->FTop, c->FLeft + c->FWidth, c->FTop + c->FHeight);
                if (clip == NULLREGION) break;
            }
        if (clip != NULLREGION) PaintWindow(dc);
        RestoreDC(dc, saved);
        PaintControls(dc, nullptr);
    } catch (...) {
        if (!Message.WParam) EndPaint(FHandle, &ps);
        throw;
    }
    if (!Message.WParam) EndPaint(FHandle, &ps);
}

void TWinControl::PaintWindow(HDC DC)
{
    TMessage m{WM_PAINT, WPARAM(DC), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First)
{
    auto start = FControls.begin();
    if (First) {
        auto it = std::find(FControls.begin(), FControls.end(), First);
        if (it != FControls.end()) start = it;
    }
    std::vector<TControl*> list(start, FControls.end());
    for (TControl* c : list) {
        RECT r = c->GetBoundsRect();
        if (!c->FVisible || !RectVisible(DC, &r)) continue;
        if (FControlState.Contains(csPaintCopy)) c->FControlState += csPaintCopy;
        int saved = SaveDC(DC);
        POINT org;
        GetWindowOrgEx(DC, &org);
        SetWindowOrgEx(DC, org.x - c->FLeft, org.y - c->FTop, nullptr);
        IntersectClipRect(DC, 0, 0, c->FWidth, c->FHeight);
        c->Perform(WM_PAINT, WPARAM(DC), 0);
        RestoreDC(DC, saved);
        c->FControlState -= csPaintCopy;
    }
    for (TWinControl* w : FWinControls) {
        if (!(w->FCtl3D && w->FControlStyle.Contains(csFramed) && w->FVisible)) continue;
        HBRUSH shadow = CreateSolidBrush(ColorToRGB(clBtnShadow));
        RECT outer{w->FLeft - 1, w->FTop - 1, w->FLeft + w->FWidth, w->FTop + w->FHeight};
        FrameRect(DC, &outer, shadow);
        DeleteObject(shadow);
        HBRUSH light = CreateSolidBrush(ColorToRGB(clBtnHighlight));
        RECT inner{w->FLeft, w->FTop, w->FLeft + w->FWidth + 1, w->FTop + w->FHeight + 1};
        FrameRect(DC, &inner, light);
        DeleteObject(light);
    }
}

void TWinControl::WMEraseBkgnd(TMessage& Message)
{
    RECT r = GetClientRect();
    FillRect(HDC(Message.WParam), &r, FBrush->GetHandle());
    Message.Result = 1;
}

// ---- Messages ----------------------------------------------------------------------------------

HOST_MESSAGE_MAP(TWinControl)
{
    M(WM_PAINT, &TWinControl::WMPaint);
    M(WM_ERASEBKGND, &TWinControl::WMEraseBkgnd);
    M(WM_SIZE, &TWinControl::WMSize);
    M(WM_MOVE, &TWinControl::WMMove);
    M(WM_WINDOWPOSCHANGED, &TWinControl::WMWindowPosChanged);
    M(WM_SETFOCUS, &TWinControl::WMSetFocus);
    M(WM_KILLFOCUS, &TWinControl::WMKillFocus);
    M(WM_KEYDOWN, &TWinControl::WMKeyDown);
    M(WM_SYSKEYDOWN, &TWinControl::WMKeyDown);
    M(WM_KEYUP, &TWinControl::WMKeyUp);
    M(WM_SYSKEYUP, &TWinControl::WMKeyUp);
    M(WM_CHAR, &TWinControl::WMChar);
    M(WM_SETCURSOR, &TWinControl::WMSetCursor);
    M(WM_NCDESTROY, &TWinControl::WMNCDestroy);
    M(WM_NCHITTEST, &TWinControl::WMNCHitTest);
    M(WM_COMMAND, &TWinControl::WMCommand);
    M(WM_DRAWITEM, &TWinControl::WMDrawItem);
    M(WM_HSCROLL, &TWinControl::WMScroll);
    M(WM_VSCROLL, &TWinControl::WMScroll);
    M(CN_KEYDOWN, &TWinControl::CNKeyDown);
    M(CN_SYSKEYDOWN, &TWinControl::CNKeyDown);
    M(CN_CHAR, &TWinControl::CNChar);
    M(CM_ENTER, &TWinControl::CMEnter);
    M(CM_EXIT, &TWinControl::CMExit);
    M(CM_DIALOGKEY, &TWinControl::CMDialogKey);
    M(CM_DIALOGCHAR, &TWinControl::CMDialogChar);
    M(CM_CHILDKEY, &TWinControl::CMChildKey);
    M(CM_FOCUSCHANGED, &TWinControl::CMFocusChanged);
    M(CM_SHOWINGCHANGED, &TWinControl::CMShowingChanged);
    M(CM_VISIBLECHANGED, &TWinControl::CMVisibleChanged);
    M(CM_ENABLEDCHANGED, &TWinControl::CMEnabledChanged);
    M(CM_COLORCHANGED, &TWinControl::CMColorChanged);
    M(CM_FONTCHANGED, &TWinControl::CMFontChanged);
    M(CM_CTL3DCHANGED, &TWinControl::CMCtl3DChanged);
    M(CM_SHOWHINTCHANGED, &TWinControl::CMShowHintChanged);
    M(CM_INVALIDATE, &TWinControl::CMInvalidate);
    M(CM_RECREATEWND, &TWinControl::CMRecreateWnd);
    M(CM_CURSORCHANGED, &TWinControl::CMCursorChanged);
    M(WM_MEASUREITEM, &TWinControl::WMMeasureItem);
}

} // namespace host
