// TCustomForm: the window, its styles, showing, closing and modal loops.
#include "host/vcl/Forms.h"
#include "host/vcl/Menus.h"
#include "host/win/Modal.h"

#include <algorithm>

namespace host {

namespace {

bool HasCaption(TFormBorderStyle Style) { return Style != bsNone; }
bool IsToolWindow(TFormBorderStyle Style) { return Style == bsToolWindow || Style == bsSizeToolWin; }
// Dialogs and tool windows carry no minimize or maximize boxes.
bool TakesSizeBoxes(TFormBorderStyle Style) { return Style == bsSingle || Style == bsSizeable; }

DWORD BorderStyleBits(TFormBorderStyle Style)
{
    switch (Style) {
    case bsNone: return WS_POPUP;
    case bsSingle: case bsToolWindow: return WS_CAPTION | WS_BORDER;
    case bsSizeable: case bsSizeToolWin: return WS_CAPTION | WS_THICKFRAME;
    case bsDialog: return WS_POPUP | WS_CAPTION;
    }
    return 0;
}

DWORD BorderIconBits(TFormBorderStyle Style, TBorderIcons Icons)
{
    if (!HasCaption(Style) || !Icons.Contains(biSystemMenu)) return 0;
    DWORD bits = WS_SYSMENU;
    if (TakesSizeBoxes(Style)) {
        if (Icons.Contains(biMinimize)) bits |= WS_MINIMIZEBOX;
        if (Icons.Contains(biMaximize)) bits |= WS_MAXIMIZEBOX;
    }
    return bits;
}

} // namespace

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FVisible = false;
    FParentFont = false;
    FParentColor = false;
    FParentShowHint = false;
    FColor = clBtnFace;
    FBrush->SetColor(FColor);
    FWidth = 320;
    FHeight = 240;
    FCanvas = std::make_unique<TControlCanvas>();
    FCanvas->SetControl(this);
    FIcon = std::make_unique<TIcon>();
    GetScreen()->AddForm(this);
}

TForm::TForm(TComponent* AOwner) : TCustomForm(AOwner) {}

void TCustomForm::BeforeDestruction()
{
    inherited::BeforeDestruction();
    if (!GetComponentState().Contains(csDesigning)) DoDestroy();
}

void TCustomForm::Destroy()
{
    GetScreen()->RemoveForm(this);
    FCanvas->FreeHandle();
    inherited::Destroy();
    FCanvas.reset();
}

void TCustomForm::Loaded()
{
    inherited::Loaded();
    if (FCreated || GetComponentState().Contains(csDesigning)) return;
    FCreated = true;
    DoCreate();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FActiveControl) FActiveControl = nullptr;
    if (AComponent == reinterpret_cast<TComponent*>(FMenu)) FMenu = nullptr;
}

// Owned components without a parent control (timers, menus, data sources)
// stream before the controls.
void TCustomForm::GetChildren(TGetChildProc Proc, TComponent* Root)
{
    if (Root == this)
        for (int i = 0; i < GetComponentCount(); ++i) {
            TComponent* c = GetComponents(i);
            if (!c->HasParent()) Proc(c);
        }
    inherited::GetChildren(Proc, Root);
}

// ---- Events -----------------------------------------------------------------------------------

void TCustomForm::DoCreate() { OnCreate(this); }
void TCustomForm::DoDestroy() { OnDestroy(this); }
void TCustomForm::DoShow() { OnShow(this); }
void TCustomForm::DoHide() { OnHide(this); }
void TCustomForm::DoClose(TCloseAction& Action) { OnClose(this, Action); }
void TCustomForm::Activate() { OnActivate(this); }
void TCustomForm::Deactivate() { OnDeactivate(this); }
void TCustomForm::Paint() { OnPaint(this); }
void TCustomForm::Resize() { OnResize(this); }

// ---- The window -------------------------------------------------------------------------------

void TCustomForm::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    DWORD disabled = Params.Style & WS_DISABLED;
    Params.ExStyle &= ~DWORD(WS_EX_CONTROLPARENT);
    Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS | disabled | BorderStyleBits(FBorderStyle) |
                   BorderIconBits(FBorderStyle, FBorderIcons);
    if (FBorderStyle == bsDialog) Params.ExStyle |= WS_EX_DLGMODALFRAME;
    if (IsToolWindow(FBorderStyle)) Params.ExStyle |= WS_EX_TOOLWINDOW;
    if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
    Params.WndParent = nullptr;
    if (FFormStyle == fsMDIChild) {
        Params.Style = (Params.Style & ~DWORD(WS_POPUP)) | WS_CHILD;
        Params.ExStyle |= WS_EX_MDICHILD;
        if (TCustomForm* frame = MDIFrame()) Params.WndParent = frame->FClientHandle;
    }
    Params.WindowClass.style |= CS_DBLCLKS;
}

TCustomForm* TCustomForm::MDIFrame() const
{
    if (ApplicationCreated()) {
        TCustomForm* main = GetApplication()->GetMainForm();
        if (main && main->FFormStyle == fsMDIForm) return main;
    }
    TScreen* screen = GetScreen();
    for (int i = 0; i < screen->GetCustomFormCount(); ++i)
        if (screen->GetCustomForms(i)->FFormStyle == fsMDIForm) return screen->GetCustomForms(i);
    return nullptr;
}

void TCustomForm::CreateWnd()
{
    if (FFormStyle == fsMDIChild) {
        TCustomForm* frame = MDIFrame();
        if (!frame) throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
        frame->HandleNeeded();
    }
    inherited::CreateWnd();
    if (FFormStyle == fsMDIForm) CreateMDIClient();
    if (FMenu) FMenu->SetWindowHandle(FHandle);
}

void TCustomForm::DestroyWindowHandle()
{
    FCanvas->FreeHandle();
    FClientHandle = nullptr;
    inherited::DestroyWindowHandle();
}

// Without a window yet, the client area is what the frame the styles ask
// for leaves of the bounds, so ClientWidth/ClientHeight can be set first.
TRect TCustomForm::GetClientRect()
{
    if (FHandle) return inherited::GetClientRect();
    TRect r;
    MergeFrameIntoClientRect(r);
    return r;
}

void TCustomForm::MergeFrameIntoClientRect(TRect& R) const
{
    TCreateParams params;
    const_cast<TCustomForm*>(this)->CreateParams(params);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, params.Style, FMenu != nullptr, params.ExStyle);
    R = TRect{0, 0, std::max(0, FWidth - (frame.right - frame.left)), std::max(0, FHeight - (frame.bottom - frame.top))};
}

void TCustomForm::WMPaint(TMessage& Message)
{
    FControlState += csCustomPaint;
    try {
        inherited::Dispatch(Message);
    } catch (...) {
        FControlState -= csCustomPaint;
        throw;
    }
    FControlState -= csCustomPaint;
}

void TCustomForm::PaintWindow(HDC DC)
{
    FCanvas->Lock();
    FCanvas->FreeHandle();
    FCanvas->SetHandle(DC);
    struct TRelease {
        TControlCanvas& C;
        ~TRelease()
        {
            C.SetHandle(nullptr);
            C.Unlock();
        }
    } release{*FCanvas};
    Paint();
}

// ---- Properties ---------------------------------------------------------------------------------

void TCustomForm::SetFormStyle(TFormStyle Value)
{
    if (FFormStyle == Value) return;
    TFormStyle old = FFormStyle;
    FFormStyle = Value;
    if (!FHandle) return;
    if ((old == fsStayOnTop || Value == fsStayOnTop) && old != fsMDIChild && Value != fsMDIChild &&
        old != fsMDIForm && Value != fsMDIForm) {
        ApplyStayOnTop();
        return;
    }
    RecreateWnd();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value)
{
    if (FBorderStyle == Value) return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value)
{
    if (FBorderIcons == Value) return;
    FBorderIcons = Value;
    RecreateWnd();
}

void TCustomForm::SetPosition(TPosition Value)
{
    if (FPosition == Value) return;
    FPosition = Value;
    FPositioned = false;
}

TWindowState TCustomForm::GetWindowState() const
{
    if (!FHandle || !FShowing) return FWindowState;
    if (IsIconic(FHandle)) return wsMinimized;
    if (IsZoomed(FHandle)) return wsMaximized;
    return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState Value)
{
    if (GetWindowState() == Value) return;
    FWindowState = Value;
    if (FHandle && FShowing) ApplyWindowState();
}

void TCustomForm::ApplyWindowState()
{
    static constexpr int Cmd[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
    ShowWindow(FHandle, Cmd[FWindowState]);
}

void TCustomForm::ApplyStayOnTop()
{
    if (!FHandle || FFormStyle == fsMDIChild) return;
    HWND after = FFormStyle == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST;
    SetWindowPos(FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetIcon(TIcon* Value) { FIcon->Assign(Value); }

void TCustomForm::SetMenu(TMainMenu* Value)
{
    if (FMenu == Value) return;
    if (FMenu && HandleAllocated()) FMenu->SetWindowHandle(nullptr);
    FMenu = Value;
    if (Value) reinterpret_cast<TComponent*>(Value)->FreeNotification(this);
    if (Value && HandleAllocated()) Value->SetWindowHandle(FHandle);
}

// Where a form first appears: the designed place, the screen's centre, or a
// cascade of default places.
void TCustomForm::ApplyPosition()
{
    FPositioned = true;
    if (FPosition == poDesigned || GetComponentState().Contains(csDesigning)) return;
    int areaW = GetScreen()->GetWidth(), areaH = GetScreen()->GetHeight();
    if (FFormStyle == fsMDIChild && MDIFrame()) {
        RECT r;
        ::host::GetClientRect(MDIFrame()->FClientHandle, &r);
        areaW = r.right;
        areaH = r.bottom;
    }
    int left = FLeft, top = FTop, width = FWidth, height = FHeight;
    if (FPosition == poDefault || FPosition == poDefaultSizeOnly) {
        width = areaW * 3 / 4;
        height = areaH * 3 / 4;
    }
    if (FPosition == poDefault || FPosition == poDefaultPosOnly) {
        static int cascade = 0;
        int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME);
        left = top = step * (cascade++ % 8);
    }
    if (FPosition == poScreenCenter) {
        left = (areaW - width) / 2;
        top = (areaH - height) / 2;
    }
    SetBounds(left, top, width, height);
}

// ---- Showing and hiding -----------------------------------------------------------------------

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::CMShowingChanged(TMessage&)
{
    if (FShowing) {
        if (!FPositioned) ApplyPosition();
        try {
            DoShow();
        } catch (...) {
            HandleWindowProcException(this);
        }
        if (!FActiveControl && !GetComponentState().Contains(csDesigning))
            FActiveControl = FindNextControl(nullptr, true, true, false);
        static constexpr int Cmd[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
        ShowWindow(FHandle, Cmd[FWindowState]);
        ApplyStayOnTop();
        FFormState += fsVisible;
        return;
    }
    try {
        DoHide();
    } catch (...) {
        HandleWindowProcException(this);
    }
    FFormState -= fsVisible;
    bool wasActive = FActive || GetActiveWindow() == FHandle;
    ShowWindow(FHandle, SW_HIDE);
    if (wasActive) GetScreen()->BringFormToFront(this);
}

// ---- Closing --------------------------------------------------------------------------------

bool TCustomForm::CloseQuery()
{
    if (FFormStyle == fsMDIForm)
        for (int i = 0; i < GetMDIChildCount(); ++i)
            if (!GetMDIChildren(i)->CloseQuery()) return false;
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (FFormState.Contains(fsModal)) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    if (FFormStyle == fsMDIChild) action = FBorderIcons.Contains(biMinimize) ? caMinimize : caNone;
    DoClose(action);
    if (action == caNone) return;
    if (ApplicationCreated() && GetApplication()->GetMainForm() == this) {
        GetApplication()->Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    case caNone: break;
    }
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::Release() { PostMessage(GetHandle(), CM_RELEASE, 0, 0); }

void TCustomForm::CMRelease(TMessage&) { Free(); }

// ---- Modal loops --------------------------------------------------------------------------------

int TCustomForm::ShowModal()
{
    if (GetVisible() || !GetEnabled() || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
        throw EInvalidOperation("Cannot make a visible window modal");
    if (GetCapture()) SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    HWND previous = GetActiveWindow();
    FFormState += fsModal;
    std::vector<HWND> disabled = DisableTaskWindows(GetHandle());
    struct TRestore {
        TCustomForm* Form;
        std::vector<HWND>& Disabled;
        HWND Previous;
        ~TRestore()
        {
            EnableTaskWindows(Disabled);
            Form->FFormState -= fsModal;
            if (Previous && IsWindow(Previous) && IsWindowVisible(Previous)) SetActiveWindow(Previous);
        }
    } restore{this, disabled, previous};
    FModalResult = mrNone;
    Show();
    SetActiveWindow(FHandle);
    bool ended = false;
    RunModalLoop(FHandle, [&] {
        if (ended) return true;
        if (ApplicationCreated() && GetApplication()->GetTerminated()) FModalResult = mrCancel;
        if (FModalResult != mrNone) CloseModal();
        ended = FModalResult != mrNone;
        return ended;
    });
    if (!ended) FModalResult = mrCancel;
    TModalResult result = FModalResult;
    if (FHandle) Hide();
    return result;
}

// The modal result asks the form to close; OnCloseQuery and OnClose may
// keep it open (caNone), and caFree frees it once the loop is over.
void TCustomForm::CloseModal()
{
    TCloseAction action = caHide;
    if (CloseQuery()) {
        DoClose(action);
    } else {
        action = caNone;
    }
    if (action == caNone) FModalResult = mrNone;
    if (action == caFree) Release();
}

} // namespace host

namespace host {

HOST_PUBLISHED(TForm)
{
    P.Property("ActiveControl", &TForm::GetActiveControl, &TForm::SetActiveControl);
    P.Property("BorderIcons", &TForm::GetBorderIcons, &TForm::SetBorderIcons)
        .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
    P.Property("BorderStyle", &TForm::GetBorderStyle, &TForm::SetBorderStyle).Default(bsSizeable);
    P.Property("Caption", &TForm::GetCaption, &TForm::SetCaption);
    // A form keeps its client size; the frame around it follows the styles.
    P.Property("Width", &TForm::GetWidth, &TForm::SetWidth).Stored(false);
    P.Property("Height", &TForm::GetHeight, &TForm::SetHeight).Stored(false);
    P.Property("ClientHeight", &TForm::GetClientHeight, &TForm::SetClientHeight);
    P.Property("ClientWidth", &TForm::GetClientWidth, &TForm::SetClientWidth);
    P.Property("Color", &TForm::GetColor, &TForm::SetColor).Default(clBtnFace);
    P.Property("Enabled", &TForm::GetEnabled, &TForm::SetEnabled).Default(true);
    P.Property("Font", &TForm::GetFont, &TForm::SetFont);
    P.Property("Icon", &TForm::GetIcon, &TForm::SetIcon);
    P.Property("FormStyle", &TForm::GetFormStyle, &TForm::SetFormStyle).Default(fsNormal);
    P.Property("KeyPreview", &TForm::GetKeyPreview, &TForm::SetKeyPreview).Default(false);
    P.Property("PopupMenu", &TForm::GetPopupMenu, &TForm::SetPopupMenu);
    P.Property("Position", &TForm::GetPosition, &TForm::SetPosition).Default(poDesigned);
    P.Property("ShowHint", &TForm::GetShowHint, &TForm::SetShowHint).Default(false);
    P.Property("Visible", &TForm::GetVisible, &TForm::SetVisible).Default(false);
    P.Property("WindowState", &TForm::GetWindowState, &TForm::SetWindowState).Default(wsNormal);
    P.Property("OnActivate", &TForm::OnActivate);
    P.Property("OnClick", &TForm::OnClick);
    P.Property("OnClose", &TForm::OnClose);
    P.Property("OnCloseQuery", &TForm::OnCloseQuery);
    P.Property("OnCreate", &TForm::OnCreate);
    P.Property("OnDblClick", &TForm::OnDblClick);
    P.Property("OnDeactivate", &TForm::OnDeactivate);
    P.Property("OnDestroy", &TForm::OnDestroy);
    P.Property("OnHide", &TForm::OnHide);
    P.Property("OnKeyDown", &TForm::OnKeyDown);
    P.Property("OnKeyPress", &TForm::OnKeyPress);
    P.Property("OnKeyUp", &TForm::OnKeyUp);
    P.Property("OnMouseDown", &TForm::OnMouseDown);
    P.Property("OnMouseMove", &TForm::OnMouseMove);
    P.Property("OnMouseUp", &TForm::OnMouseUp);
    P.Property("OnPaint", &TForm::OnPaint);
    P.Property("OnResize", &TForm::OnResize);
    P.Property("OnShow", &TForm::OnShow);
}

HOST_REGISTER_CLASSES(TForm);

} // namespace host
