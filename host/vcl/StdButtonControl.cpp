// TButtonControl: the window behaviour every button shares (pressing,
// tracking, the button messages, notifying the parent, owner drawing).
#include "host/vcl/StdButtons.h"

namespace host {

namespace {

bool IsRadioStyle(DWORD kind) { return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON; }
bool IsCheckStyle(DWORD kind)
{
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE;
}
bool IsThreeState(DWORD kind) { return kind == BS_3STATE || kind == BS_AUTO3STATE; }

// Lends the canvas the paint DC for one paint, also when painting throws.
struct TCanvasLoan {
    TControlCanvas& Canvas;
    TCanvasLoan(TControlCanvas& C, HDC DC) : Canvas(C)
    {
        Canvas.Lock();
        Canvas.FreeHandle();
        Canvas.SetHandle(DC);
    }
    ~TCanvasLoan()
    {
        Canvas.SetHandle(nullptr);
        Canvas.Unlock();
    }
};

} // namespace

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner)
{
    FCanvas = std::make_unique<TControlCanvas>();
    FCanvas->SetControl(this);
}

void TButtonControl::Destroy()
{
    FCanvas->FreeHandle();
    inherited::Destroy();
    FCanvas.reset();
}

void TButtonControl::DestroyWnd()
{
    FCanvas->FreeHandle();
    FPushed = FTracking = FSpaceDown = false;
    inherited::DestroyWnd();
}

// A click on a button that does not have the focus focuses it first; when the
// focus does not arrive (an OnExit refused it) the click is dropped. The
// clicks the focus change causes (a radio button checks itself) stay quiet.
void TButtonControl::WndProc(TMessage& Message)
{
    if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) &&
        !GetComponentState().Contains(csDesigning) && !Focused()) {
        FClicksDisabled = true;
        ::host::SetFocus(GetHandle());
        FClicksDisabled = false;
        if (!Focused()) return;
    }
    inherited::WndProc(Message);
}

DWORD TButtonControl::ButtonStyle() const
{
    return FHandle ? DWORD(GetWindowLongPtr(FHandle, GWL_STYLE)) & BS_TYPEMASK : BS_PUSHBUTTON;
}

void TButtonControl::SetPushed(bool Value)
{
    if (FPushed == Value) return;
    FPushed = Value;
    if (!FHandle) return;
    InvalidateRect(FHandle, nullptr, FALSE);
    UpdateWindow(FHandle);
}

// The parent hears of clicks through WM_COMMAND and reflects them back as
// CN_COMMAND; a button in a window no control owns reflects them itself.
void TButtonControl::NotifyParent(WORD Code)
{
    HWND parent = ::host::GetParent(FHandle);
    WPARAM wParam = MAKEWPARAM(WORD(GetDlgCtrlID(FHandle)), Code);
    if (parent && FindControl(parent)) {
        SendMessage(parent, WM_COMMAND, wParam, LPARAM(FHandle));
        return;
    }
    if (parent) SendMessage(parent, WM_COMMAND, wParam, LPARAM(FHandle));
    Perform(CN_COMMAND, wParam, LPARAM(FHandle));
}

void TButtonControl::ButtonMouse(TMessage& Message)
{
    DWORD kind = ButtonStyle();
    switch (Message.Msg) {
    case WM_LBUTTONDBLCLK:
        if (IsRadioStyle(kind) || kind == BS_OWNERDRAW) {
            NotifyParent(BN_DOUBLECLICKED);
            return;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        FTracking = true;
        SetCapture(FHandle);
        SetPushed(true);
        return;
    case WM_MOUSEMOVE: {
        if (!FTracking) return;
        RECT r;
        ::host::GetClientRect(FHandle, &r);
        SetPushed(PtInRect(&r, PointFromLParam(Message.LParam)) != 0);
        return;
    }
    default: {  // WM_LBUTTONUP
        if (!FTracking) return;
        FTracking = false;
        bool inside = FPushed;
        SetPushed(false);
        ReleaseCapture();
        if (inside) Perform(BM_CLICK, 0, 1);
    }
    }
}

void TButtonControl::ButtonKey(TMessage& Message)
{
    if (Message.Msg == WM_KEYDOWN) {
        if (FSpaceDown) return;  // auto-repeat
        FSpaceDown = true;
        SetPushed(true);
        return;
    }
    if (!FSpaceDown) return;
    FSpaceDown = false;
    bool pushed = FPushed;
    SetPushed(false);
    if (pushed) Perform(BM_CLICK, 0, 1);
}

// The window-system button. Returns false for messages it leaves to the
// default window procedure.
bool TButtonControl::ButtonMessage(TMessage& Message)
{
    DWORD kind = ButtonStyle();
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        if (kind == BS_GROUPBOX) return false;
        ButtonMouse(Message);
        return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (Message.WParam != VK_SPACE || kind == BS_GROUPBOX) return false;
        ButtonKey(Message);
        return true;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        if (FTracking) {
            FTracking = false;
            SetPushed(false);
            if (Message.Msg == WM_CANCELMODE && GetCapture() == FHandle) ReleaseCapture();
        }
        return false;
    case WM_SETFOCUS:
        InvalidateRect(FHandle, nullptr, FALSE);
        // A radio button reached by the keyboard checks itself.
        if (IsRadioStyle(kind) && FCheck == BST_UNCHECKED && GetKeyState(VK_LBUTTON) >= 0 && GetCapture() != FHandle)
            NotifyParent(BN_CLICKED);
        return false;
    case WM_KILLFOCUS:
        FSpaceDown = false;
        if (FTracking) {
            FTracking = false;
            if (GetCapture() == FHandle) ReleaseCapture();
        }
        SetPushed(false);
        InvalidateRect(FHandle, nullptr, FALSE);
        return false;
    case WM_ENABLE:
        InvalidateRect(FHandle, nullptr, FALSE);
        return false;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = Message.WParam ? HDC(Message.WParam) : BeginPaint(FHandle, &ps);
        try {
            PaintWindow(dc);
        } catch (...) {
            if (!Message.WParam) EndPaint(FHandle, &ps);
            throw;
        }
        if (!Message.WParam) EndPaint(FHandle, &ps);
        Message.Result = 0;
        return true;
    }
    case WM_GETDLGCODE:
        if (kind == BS_GROUPBOX) Message.Result = DLGC_STATIC;
        else if (IsRadioStyle(kind)) Message.Result = DLGC_BUTTON | DLGC_RADIOBUTTON;
        else if (kind == BS_DEFPUSHBUTTON) Message.Result = DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        else if (kind == BS_PUSHBUTTON) Message.Result = DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        else Message.Result = DLGC_BUTTON;
        return true;
    case BM_GETSTATE:
        Message.Result = LRESULT(FCheck) | (FPushed ? BST_PUSHED : 0) | (GetFocus() == FHandle ? BST_FOCUS : 0);
        return true;
    case BM_SETSTATE:
        SetPushed(Message.WParam != 0);
        Message.Result = 0;
        return true;
    case BM_GETCHECK:
        Message.Result = LRESULT(FCheck);
        return true;
    case BM_SETCHECK: {
        WPARAM check = Message.WParam;
        if (check == BST_INDETERMINATE && !IsThreeState(kind)) check = BST_CHECKED;
        if (check > BST_INDETERMINATE) check = BST_CHECKED;
        if ((IsCheckStyle(kind) || IsRadioStyle(kind)) && check != FCheck) {
            FCheck = check;
            InvalidateRect(FHandle, nullptr, FALSE);
        }
        Message.Result = 0;
        return true;
    }
    case BM_SETSTYLE: {
        LONG_PTR style = GetWindowLongPtr(FHandle, GWL_STYLE);
        SetWindowLongPtr(FHandle, GWL_STYLE, (style & ~LONG_PTR(BS_TYPEMASK)) | LONG_PTR(Message.WParam & BS_TYPEMASK));
        if (LOWORD(Message.LParam)) InvalidateRect(FHandle, nullptr, FALSE);
        Message.Result = 0;
        return true;
    }
    case BM_CLICK:
        // LParam 1: the press already showed (mouse or space); 0: a programmatic click.
        if (!IsWindowEnabled(FHandle)) return true;
        if (!Message.LParam) {
            SetPushed(true);
            SetPushed(false);
        }
        if (kind == BS_AUTOCHECKBOX) FCheck = FCheck == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        if (kind == BS_AUTO3STATE) FCheck = (FCheck + 1) % 3;
        NotifyParent(BN_CLICKED);
        return true;
    default:
        return false;
    }
}

void TButtonControl::DefaultHandler(TMessage& Message)
{
    if (FHandle && ButtonMessage(Message)) return;
    inherited::DefaultHandler(Message);
}

// ---- Painting ------------------------------------------------------------------------------

void TButtonControl::WMEraseBkgnd(TMessage& Message)
{
    // Buttons paint every pixel themselves.
    Message.Result = 1;
}

void TButtonControl::PaintWindow(HDC DC)
{
    if (ButtonStyle() == BS_OWNERDRAW) {
        DrawOwnerItem(DC);
        return;
    }
    TCanvasLoan loan(*FCanvas, DC);
    PaintButton(FCanvas.get());
}

void TButtonControl::PaintButton(TCanvas* Canvas)
{
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
}

void TButtonControl::DrawOwnerItem(HDC DC)
{
    DRAWITEMSTRUCT item;
    item.CtlType = ODT_BUTTON;
    item.CtlID = UINT(GetDlgCtrlID(FHandle));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = (FPushed ? ODS_SELECTED : 0) | (GetFocus() == FHandle ? ODS_FOCUS : 0) |
                     (IsWindowEnabled(FHandle) ? 0 : ODS_DISABLED);
    item.hwndItem = FHandle;
    item.hDC = DC;
    ::host::GetClientRect(FHandle, &item.rcItem);
    HWND parent = ::host::GetParent(FHandle);
    if (parent && FindControl(parent))
        SendMessage(parent, WM_DRAWITEM, WPARAM(item.CtlID), LPARAM(&item));
    else
        Perform(CN_DRAWITEM, WPARAM(item.CtlID), LPARAM(&item));
}

TRect TButtonControl::DrawCaption(TCanvas* Canvas, TRect Rect, UINT Flags)
{
    std::string text = GetCaption();
    Canvas->SetFont(GetFont());
    Canvas->GetBrush()->SetStyle(bsClear);
    Canvas->RequiredState(TCanvasState{csHandleValid, csFontValid, csBrushValid});
    HDC dc = Canvas->GetHandle();
    RECT calc = Rect;
    DrawText(dc, text.c_str(), int(text.size()), &calc, Flags | DT_CALCRECT);
    // Centre the measured text where Flags ask for it.
    int w = calc.right - calc.left, h = calc.bottom - calc.top;
    int left = (Flags & DT_CENTER) ? Rect.left + (Rect.right - Rect.left - w) / 2 : Rect.left;
    int top = (Flags & DT_VCENTER) ? Rect.top + (Rect.bottom - Rect.top - h) / 2 : Rect.top;
    RECT r{left, top, left + w, top + h};
    UINT draw = (Flags & ~(DT_CENTER | DT_VCENTER | DT_BOTTOM | DT_RIGHT)) | DT_NOCLIP;
    if (GetEnabled()) {
        DrawText(dc, text.c_str(), int(text.size()), &r, draw);
    } else {
        int len = int(text.size());
        DrawState(dc, nullptr, nullptr, LPARAM(text.c_str()), WPARAM(len), r.left, r.top, w, h,
                  DST_PREFIXTEXT | DSS_DISABLED);
    }
    return r;
}

// ---- Messages ------------------------------------------------------------------------------

void TButtonControl::CMEnabledChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

void TButtonControl::CMTextChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

void TButtonControl::CMFontChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

HOST_MESSAGE_MAP(TButtonControl)
{
    M(WM_ERASEBKGND, &TButtonControl::WMEraseBkgnd);
    M(CM_ENABLEDCHANGED, &TButtonControl::CMEnabledChanged);
    M(CM_TEXTCHANGED, &TButtonControl::CMTextChanged);
    M(CM_FONTCHANGED, &TButtonControl::CMFontChanged);
}

} // namespace host
