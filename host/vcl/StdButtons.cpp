// Push buttons, check boxes and radio buttons.
#include "host/vcl/StdButtons.h"

#include "host/vcl/Forms.h"
#include "host/vcl/StdPublish.h"

namespace host {

namespace {

// The text goes on the side Alignment names; the glyph on the other.
struct TGlyphLayout {
    TRect Glyph;
    TRect Text;
};

TGlyphLayout LayoutGlyph(const TRect& Client, int GlyphSize, TAlignment Alignment)
{
    const int gap = 4;
    TGlyphLayout l{Client, Client};
    if (Alignment == taLeftJustify) {
        l.Glyph.left = Client.right - GlyphSize;
        l.Text.right = l.Glyph.left - gap;
        l.Text.left += 1;
    } else {
        l.Glyph.right = Client.left + GlyphSize;
        l.Text.left = l.Glyph.right + gap;
    }
    return l;
}

bool AltDown(LPARAM KeyData) { return (HIWORD(uintptr_t(KeyData)) & KF_ALTDOWN) != 0; }

} // namespace

// ---- TButton --------------------------------------------------------------------------------

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    FControlStyle = TControlStyle{csSetCaption, csOpaque, csDoubleClicks};
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::Click()
{
    // The form's ModalResult is set before OnClick, which may still change it.
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    inherited::Click();
}

void TButton::SetDefault(bool Value)
{
    if (FDefault == Value) return;
    FDefault = Value;
    if (!HandleAllocated()) return;
    if (TCustomForm* form = GetParentForm(this)) {
        form->Perform(CM_FOCUSCHANGED, 0, LPARAM(form->GetActiveControl()));
        return;
    }
    TWinControl* root = GetRootControl();
    root->Perform(CM_FOCUSCHANGED, 0, LPARAM(root->GetFocusedControl()));
}

void TButton::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd()
{
    inherited::CreateWnd();
    FActive = FDefault;
    FIsFocused = FDefault;
}

void TButton::SetButtonStyle(bool ADefault)
{
    if (ADefault == FIsFocused) return;
    FIsFocused = ADefault;
    if (HandleAllocated()) SendMessage(GetHandle(), BM_SETSTYLE, ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 1);
}

void TButton::PaintButton(TCanvas* Canvas)
{
    TRect r = GetClientRect();
    bool framed = (GetWindowLongPtr(FHandle, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    HDC dc = Canvas->GetHandle();
    if (framed) {
        // The default button: a black line round the whole button.
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    if (IsPushed()) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
        InflateRect(&r, -1, -1);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        InflateRect(&r, -1, -1);
        OffsetRect(&r, 1, 1);
    } else {
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    }
    DrawCaption(Canvas, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Focused()) {
        TRect focus = GetClientRect();
        InflateRect(&focus, -4, -4);
        Canvas->GetBrush()->SetStyle(bsSolid);
        Canvas->GetFont()->SetColor(clBtnText);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        ::host::DrawFocusRect(dc, &focus);
    }
}

void TButton::CMDialogKey(TMessage& Message)
{
    WORD key = WORD(Message.WParam);
    bool mine = (key == VK_RETURN && FActive) || (key == VK_ESCAPE && FCancel);
    if (mine && !AltDown(Message.LParam) && CanFocus()) {
        Message.Result = 1;
        Click();
        return;
    }
    inherited::Dispatch(Message);
}

void TButton::CMDialogChar(TMessage& Message)
{
    if (IsAccel(WORD(Message.WParam), GetCaption()) && CanFocus()) {
        Message.Result = 1;
        Click();
        return;
    }
    inherited::Dispatch(Message);
}

// The default frame follows the focus among push buttons and returns to the
// default button when the focus goes to anything else.
void TButton::CMFocusChanged(TMessage& Message)
{
    auto* sender = reinterpret_cast<TWinControl*>(Message.LParam);
    if (sender && dynamic_cast<TButton*>(sender))
        FActive = sender == this;
    else
        FActive = FDefault;
    SetButtonStyle(FActive);
    inherited::Dispatch(Message);
}

void TButton::CNCommand(TMessage& Message)
{
    if (HIWORD(Message.WParam) == BN_CLICKED) Click();
}

HOST_MESSAGE_MAP(TButton)
{
    M(CM_DIALOGKEY, &TButton::CMDialogKey);
    M(CM_DIALOGCHAR, &TButton::CMDialogChar);
    M(CM_FOCUSCHANGED, &TButton::CMFocusChanged);
    M(CN_COMMAND, &TButton::CNCommand);
}

// ---- TCustomCheckBox ----------------------------------------------------------------------

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner)
{
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

void TCustomCheckBox::SetState(TCheckBoxState Value)
{
    if (FState == Value) return;
    FState = Value;
    if (HandleAllocated()) SendMessage(GetHandle(), BM_SETCHECK, WPARAM(FState), 0);
    if (!FClicksDisabled) Click();
}

void TCustomCheckBox::SetAlignment(TAlignment Value)
{
    // A check box has its text left or right of the box, never centred.
    if (FAlignment == Value || Value == taCenter) return;
    FAlignment = Value;
    RecreateWnd();
}

void TCustomCheckBox::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.Style |= BS_3STATE | (FAlignment == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TCustomCheckBox::CreateWnd()
{
    inherited::CreateWnd();
    SendMessage(GetHandle(), BM_SETCHECK, WPARAM(FState), 0);
}

void TCustomCheckBox::Toggle()
{
    switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::PaintButton(TCanvas* Canvas)
{
    inherited::PaintButton(Canvas);
    TGlyphLayout l = LayoutGlyph(GetClientRect(), 13, FAlignment);
    UINT state = DFCS_BUTTONCHECK;
    if (FState == cbChecked) state |= DFCS_CHECKED;
    if (FState == cbGrayed) state |= DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (IsPushed()) state |= DFCS_PUSHED;
    if (!GetEnabled()) state |= DFCS_INACTIVE;
    if (!GetCtl3D()) state |= DFCS_FLAT;
    HDC dc = Canvas->GetHandle();
    DrawFrameControl(dc, &l.Glyph, DFC_BUTTON, state);
    TRect text = DrawCaption(Canvas, l.Text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (Focused() && !GetCaption().empty()) {
        InflateRect(&text, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, ColorToRGB(GetColor()));
        ::host::DrawFocusRect(dc, &text);
    }
}

void TCustomCheckBox::CMDialogChar(TMessage& Message)
{
    if (IsAccel(WORD(Message.WParam), GetCaption()) && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        Message.Result = 1;
        return;
    }
    inherited::Dispatch(Message);
}

void TCustomCheckBox::CNCommand(TMessage& Message)
{
    if (HIWORD(Message.WParam) == BN_CLICKED) Toggle();
}

HOST_MESSAGE_MAP(TCustomCheckBox)
{
    M(CM_DIALOGCHAR, &TCustomCheckBox::CMDialogChar);
    M(CN_COMMAND, &TCustomCheckBox::CNCommand);
}

// ---- TRadioButton ---------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool Value)
{
    if (FChecked == Value) return;
    FChecked = Value;
    SetTabStop(Value);
    if (HandleAllocated()) SendMessage(GetHandle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!Value) return;
    if (FParent) {
        for (int i = 0; i < FParent->GetControlCount(); ++i) {
            auto* sibling = dynamic_cast<TRadioButton*>(FParent->GetControls(i));
            if (sibling && sibling != this) sibling->SetChecked(false);
        }
    }
    if (!FClicksDisabled) Click();
}

void TRadioButton::SetAlignment(TAlignment Value)
{
    if (FAlignment == Value || Value == taCenter) return;
    FAlignment = Value;
    RecreateWnd();
}

void TRadioButton::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.Style |= BS_RADIOBUTTON | (FAlignment == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TRadioButton::CreateWnd()
{
    inherited::CreateWnd();
    SendMessage(GetHandle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::PaintButton(TCanvas* Canvas)
{
    inherited::PaintButton(Canvas);
    TGlyphLayout l = LayoutGlyph(GetClientRect(), 12, FAlignment);
    UINT state = DFCS_BUTTONRADIO;
    if (FChecked) state |= DFCS_CHECKED;
    if (IsPushed()) state |= DFCS_PUSHED;
    if (!GetEnabled()) state |= DFCS_INACTIVE;
    if (!GetCtl3D()) state |= DFCS_FLAT;
    HDC dc = Canvas->GetHandle();
    DrawFrameControl(dc, &l.Glyph, DFC_BUTTON, state);
    TRect text = DrawCaption(Canvas, l.Text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (Focused() && !GetCaption().empty()) {
        InflateRect(&text, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, ColorToRGB(GetColor()));
        ::host::DrawFocusRect(dc, &text);
    }
}

void TRadioButton::CMDialogChar(TMessage& Message)
{
    if (IsAccel(WORD(Message.WParam), GetCaption()) && CanFocus()) {
        SetFocus();
        Message.Result = 1;
        return;
    }
    inherited::Dispatch(Message);
}

void TRadioButton::CNCommand(TMessage& Message)
{
    switch (HIWORD(Message.WParam)) {
    case BN_CLICKED: SetChecked(true); break;
    case BN_DOUBLECLICKED: DblClick(); break;
    default: break;
    }
}

HOST_MESSAGE_MAP(TRadioButton)
{
    M(CM_DIALOGCHAR, &TRadioButton::CMDialogChar);
    M(CN_COMMAND, &TRadioButton::CNCommand);
}

// ---- Published properties -------------------------------------------------------------------

HOST_PUBLISHED(TButton)
{
    HOST_PUBLISH_CONTROL_LOOK(TButton);
    P.Property("Cancel", &TButton::GetCancel, &TButton::SetCancel).Default(false);
    P.Property("Caption", &TButton::GetCaption, &TButton::SetCaption);
    P.Property("Default", &TButton::GetDefault, &TButton::SetDefault).Default(false);
    P.Property("ModalResult", &TButton::GetModalResult, &TButton::SetModalResult).Default(mrNone);
    HOST_PUBLISH_FOCUS(TButton);
    HOST_PUBLISH_MOUSE_EVENTS(TButton);
}

HOST_PUBLISHED(TCheckBox)
{
    HOST_PUBLISH_CONTROL_LOOK(TCheckBox);
    P.Property("Alignment", &TCheckBox::GetAlignment, &TCheckBox::SetAlignment).Default(taRightJustify);
    P.Property("AllowGrayed", &TCheckBox::GetAllowGrayed, &TCheckBox::SetAllowGrayed).Default(false);
    P.Property("Caption", &TCheckBox::GetCaption, &TCheckBox::SetCaption);
    P.Property("Checked", &TCheckBox::GetChecked, &TCheckBox::SetChecked).Stored(false);
    P.Property("Ctl3D", &TCheckBox::GetCtl3D, &TCheckBox::SetCtl3D).Default(true);
    P.Property("State", &TCheckBox::GetState, &TCheckBox::SetState).Default(cbUnchecked);
    HOST_PUBLISH_FOCUS(TCheckBox);
    HOST_PUBLISH_MOUSE_EVENTS(TCheckBox);
}

HOST_PUBLISHED(TRadioButton)
{
    HOST_PUBLISH_CONTROL_LOOK(TRadioButton);
    P.Property("Alignment", &TRadioButton::GetAlignment, &TRadioButton::SetAlignment).Default(taRightJustify);
    P.Property("Caption", &TRadioButton::GetCaption, &TRadioButton::SetCaption);
    P.Property("Checked", &TRadioButton::GetChecked, &TRadioButton::SetChecked).Default(false);
    P.Property("Ctl3D", &TRadioButton::GetCtl3D, &TRadioButton::SetCtl3D).Default(true);
    HOST_PUBLISH_FOCUS(TRadioButton);
    HOST_PUBLISH_MOUSE_EVENTS(TRadioButton);
}

static const bool buttonsRegistered =
    (RegisterClasses({TButton::StaticClass(), TCheckBox::StaticClass(), TRadioButton::StaticClass()}), true);

} // namespace host
