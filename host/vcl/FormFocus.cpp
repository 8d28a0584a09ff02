// TCustomForm: activation, the active control, keys, MDI frames and the message map.
#include "host/vcl/Forms.h"
#include "host/vcl/Menus.h"

namespace host {

// ---- Activation and focus -------------------------------------------------------------------

void TCustomForm::WMActivate(TMessage& Message)
{
    // The form places the focus itself (on ActiveControl), so the window
    // system's default of focusing the frame is not wanted.
    if (FFormStyle == fsMDIForm && LOWORD(Message.WParam) != WA_INACTIVE) {
        FActive = true;
        GetScreen()->SetFocusedForm(this);
        if (TForm* child = GetActiveMDIChild())
            child->SetWindowFocus();
        else
            SetWindowFocus();
        return;
    }
    FActive = LOWORD(Message.WParam) != WA_INACTIVE;
    if (!FActive) return;
    if (!FActiveControl && !GetComponentState().Contains(csDesigning))
        FActiveControl = FindNextControl(nullptr, true, true, false);
    GetScreen()->SetFocusedForm(this);
    SetWindowFocus();
}

void TCustomForm::SetWindowFocus()
{
    if (!FHandle) return;
    TWinControl* target = FActiveControl && FActiveControl->CanFocus() ? FActiveControl : this;
    ::host::SetFocus(target->GetHandle());
}

void TCustomForm::CMActivate(TMessage&) { Activate(); }
void TCustomForm::CMDeactivate(TMessage&) { Deactivate(); }

void TCustomForm::SetActiveControl(TWinControl* Control)
{
    if (FActiveControl == Control) return;
    bool loading = GetComponentState().Contains(csLoading);
    if (Control && !loading &&
        (Control == this || GetParentForm(Control) != this || !Control->CanFocus()))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = Control;
    if (Control) Control->FreeNotification(this);
    if (loading) return;
    if (FActive) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control)
{
    bool wasActive = FActive;
    SetActiveControl(Control);
    if (!wasActive) SetFocus();
}

void TCustomForm::SetFocus()
{
    if (FActive) return;
    if (!GetVisible() || !GetEnabled()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    if (FFormStyle != fsMDIChild) SetActiveWindow(GetHandle());
    SetWindowFocus();
}

// The focus moved to Control inside this form: it becomes the form's
// ActiveControl and the screen's.
bool TCustomForm::SetFocusedControl(TWinControl* Control)
{
    if (GetComponentState().Contains(csDestroying)) return true;
    if (Control != this && FActiveControl != Control) {
        FActiveControl = Control;
        if (Control) Control->FreeNotification(this);
    }
    GetScreen()->SetFocusedForm(this);
    bool result = inherited::SetFocusedControl(Control);
    // An OnEnter/OnExit handler may have moved the focus on; report where it is.
    TWinControl* now = GetFocusedControl();
    GetScreen()->SetActiveControl(this, now == this ? nullptr : now);
    return result;
}

// ---- Keys -----------------------------------------------------------------------------------

bool TCustomForm::IsShortCut(TMessage& Message)
{
    bool handled = false;
    OnShortCut(Message, handled);
    if (!handled && FMenu) handled = FMenu->IsShortCut(Message);
    return handled;
}

// Tab and the arrows move the focus; other dialog keys (Return, Escape) go
// to the controls, where default and cancel buttons take them.
void TCustomForm::CMDialogKey(TMessage& Message)
{
    WORD key = WORD(Message.WParam);
    bool navigation = key == VK_TAB || key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
    if (navigation && GetKeyState(VK_MENU) >= 0) {
        inherited::Dispatch(Message);
        if (Message.Result != 0) return;
    }
    Broadcast(Message);
}

// ---- MDI ------------------------------------------------------------------------------------

namespace {

constexpr const char* MDIClientClass = "MDICLIENT";

void RegisterMDIClientClass()
{
    WNDCLASS existing;
    if (GetClassInfo(HInstance(), MDIClientClass, &existing)) return;
    WNDCLASS wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hInstance = HInstance();
    wc.lpszClassName = MDIClientClass;
    RegisterClass(&wc);
}

} // namespace

void TCustomForm::CreateMDIClient()
{
    RegisterMDIClientClass();
    RECT r;
    ::host::GetClientRect(FHandle, &r);
    FClientHandle = CreateWindowEx(WS_EX_CLIENTEDGE, MDIClientClass, "",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, r.right,
                                   r.bottom, FHandle, nullptr, HInstance(), nullptr);
}

// The client window fills the frame's client area as the frame resizes.
void TCustomForm::WMSize(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (!FClientHandle) return;
    RECT r;
    ::host::GetClientRect(FHandle, &r);
    MoveWindow(FClientHandle, 0, 0, r.right, r.bottom, TRUE);
}

int TCustomForm::GetMDIChildCount() const
{
    if (!FClientHandle) return 0;
    int count = 0;
    TScreen* screen = GetScreen();
    for (int i = 0; i < screen->GetFormCount(); ++i) {
        TForm* f = screen->GetForms(i);
        if (f->FFormStyle == fsMDIChild && f->FHandle && ::host::GetParent(f->FHandle) == FClientHandle) ++count;
    }
    return count;
}

TForm* TCustomForm::GetMDIChildren(int I) const
{
    TScreen* screen = GetScreen();
    for (int i = 0; i < screen->GetFormCount(); ++i) {
        TForm* f = screen->GetForms(i);
        if (f->FFormStyle == fsMDIChild && f->FHandle && ::host::GetParent(f->FHandle) == FClientHandle && I-- == 0)
            return f;
    }
    throw EInvalidOperation("MDI child index out of range");
}

// The child at the top of the client window's z order.
TForm* TCustomForm::GetActiveMDIChild() const
{
    if (!FClientHandle) return nullptr;
    for (HWND w = GetTopWindow(FClientHandle); w; w = GetWindow(w, GW_HWNDNEXT))
        if (auto* f = dynamic_cast<TForm*>(FindControl(w)); f && f->GetVisible()) return f;
    return nullptr;
}

void TForm::Next()
{
    if (!FClientHandle || GetMDIChildCount() < 2) return;
    TForm* top = GetActiveMDIChild();
    if (top) top->SendToBack();
    if (TForm* now = GetActiveMDIChild()) now->SetFocus();
}

void TForm::Previous()
{
    if (!FClientHandle || GetMDIChildCount() < 2) return;
    HWND last = GetWindow(GetTopWindow(FClientHandle), GW_HWNDLAST);
    if (auto* f = dynamic_cast<TForm*>(FindControl(last))) {
        f->BringToFront();
        f->SetFocus();
    }
}

void TForm::Cascade()
{
    int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME);
    RECT r;
    if (!FClientHandle) return;
    ::host::GetClientRect(FClientHandle, &r);
    for (int i = GetMDIChildCount() - 1, n = 0; i >= 0; --i, ++n) {
        TForm* f = GetMDIChildren(i);
        f->SetBounds(n * step, n * step, r.right * 2 / 3, r.bottom * 2 / 3);
    }
}

void TForm::Tile()
{
    int count = GetMDIChildCount();
    if (!FClientHandle || count == 0) return;
    RECT r;
    ::host::GetClientRect(FClientHandle, &r);
    int h = r.bottom / count;
    for (int i = 0; i < count; ++i) GetMDIChildren(i)->SetBounds(0, i * h, r.right, h);
}

// ---- Messages -------------------------------------------------------------------------------

// Commands of the menu bar carry no control; others are reflected to their control.
void TCustomForm::WMCommand(TMessage& Message)
{
    if (Message.LParam == 0 && FMenu && FMenu->DispatchCommand(Message.WParamLo())) return;
    inherited::Dispatch(Message);
}

void TCustomForm::WMInitMenuPopup(TMessage& Message)
{
    if (FMenu && FMenu->DispatchPopup(HMENU(Message.WParam))) return;
    inherited::Dispatch(Message);
}

HOST_MESSAGE_MAP(TCustomForm)
{
    M(WM_ACTIVATE, &TCustomForm::WMActivate);
    M(WM_CLOSE, &TCustomForm::WMClose);
    M(WM_PAINT, &TCustomForm::WMPaint);
    M(WM_SIZE, &TCustomForm::WMSize);
    M(WM_COMMAND, &TCustomForm::WMCommand);
    M(WM_INITMENUPOPUP, &TCustomForm::WMInitMenuPopup);
    M(CM_ACTIVATE, &TCustomForm::CMActivate);
    M(CM_DEACTIVATE, &TCustomForm::CMDeactivate);
    M(CM_DIALOGKEY, &TCustomForm::CMDialogKey);
    M(CM_RELEASE, &TCustomForm::CMRelease);
    M(CM_SHOWINGCHANGED, &TCustomForm::CMShowingChanged);
}

} // namespace host
