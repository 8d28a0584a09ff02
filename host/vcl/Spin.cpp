// TSpinButton and TSpinEdit.
#include "host/vcl/Spin.h"

#include "host/vcl/StdEditInternal.h"

#include <algorithm>
#include <cctype>

namespace host {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;

} // namespace

// ---- TSpinButton ------------------------------------------------------------------------------

TSpinButton::TSpinButton(TComponent* AOwner)
    : TCustomControl(AOwner), FUpGlyph(std::make_unique<TBitmap>()), FDownGlyph(std::make_unique<TBitmap>())
{
    FControlStyle = TControlStyle{csCaptureMouse, csOpaque};
    FParentColor = false;
    FColor = clBtnFace;
    SetBounds(0, 0, 20, 25);
}

void TSpinButton::SetUpGlyph(TBitmap* Value)
{
    FUpGlyph->Assign(Value);
    Invalidate();
}

void TSpinButton::SetDownGlyph(TBitmap* Value)
{
    FDownGlyph->Assign(Value);
    Invalidate();
}

void TSpinButton::SetFocusControl(TWinControl* Value)
{
    if (FFocusControl == Value) return;
    FFocusControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TSpinButton::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

TRect TSpinButton::PartRect(TPart Part)
{
    TRect r = GetClientRect();
    int middle = r.bottom / 2;
    if (Part == TPart::Up) r.bottom = middle;
    else r.top = middle;
    return r;
}

TSpinButton::TPart TSpinButton::PartAt(int X, int Y)
{
    POINT p{X, Y};
    for (TPart part : {TPart::Up, TPart::Down}) {
        TRect r = PartRect(part);
        if (PtInRect(&r, p)) return part;
    }
    return TPart::None;
}

void TSpinButton::UpClick() { OnUpClick(this); }
void TSpinButton::DownClick() { OnDownClick(this); }

void TSpinButton::FirePart(TPart Part)
{
    if (Part == TPart::Up) UpClick();
    else if (Part == TPart::Down) DownClick();
}

void TSpinButton::StopRepeat()
{
    if (FRepeating && HandleAllocated()) KillTimer(FHandle, kRepeatTimer);
    FRepeating = false;
}

void TSpinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    inherited::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !GetEnabled()) return;
    if (FFocusControl && FFocusControl->GetTabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (FTabStop && !Focused() && CanFocus())
        SetFocus();
    FPressed = PartAt(X, Y);
    FInside = FPressed != TPart::None;
    if (FPressed == TPart::None) return;
    SetTimer(GetHandle(), kRepeatTimer, InitRepeatPause, nullptr);
    FRepeating = true;
    Invalidate();
}

void TSpinButton::MouseMove(TShiftState Shift, int X, int Y)
{
    inherited::MouseMove(Shift, X, Y);
    if (FPressed == TPart::None) return;
    bool inside = PartAt(X, Y) == FPressed;
    if (inside == FInside) return;
    FInside = inside;
    Invalidate();
}

// A press released over its button counts once more, as a click.
void TSpinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TPart part = FPressed;
    bool inside = part != TPart::None && PartAt(X, Y) == part;
    StopRepeat();
    FPressed = TPart::None;
    FInside = false;
    Invalidate();
    if (Button == mbLeft && inside) FirePart(part);
    inherited::MouseUp(Button, Shift, X, Y);
}

void TSpinButton::WMTimer(TMessage& Message)
{
    if (Message.WParam != kRepeatTimer) {
        inherited::Dispatch(Message);
        return;
    }
    SetTimer(FHandle, kRepeatTimer, RepeatPause, nullptr);
    if (FPressed != TPart::None && FInside && GetMouseCapture()) FirePart(FPressed);
}

void TSpinButton::KeyDown(WORD& Key, TShiftState Shift)
{
    inherited::KeyDown(Key, Shift);
    if (Key == VK_UP) UpClick();
    else if (Key == VK_DOWN) DownClick();
}

void TSpinButton::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

void TSpinButton::CMEnabledChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (!GetEnabled()) StopRepeat();
    Invalidate();
}

void TSpinButton::Paint()
{
    PaintPart(TPart::Up);
    PaintPart(TPart::Down);
}

// A push-button face per part: raised, or sunken and shifted while held.
void TSpinButton::PaintPart(TPart Part)
{
    TCanvas* c = GetCanvas();
    TRect r = PartRect(Part);
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(r);
    bool down = FPressed == Part && FInside;
    TRect edge = r;
    DrawEdge(c->GetHandle(), &edge, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    int shift = down ? 1 : 0;
    int cx = (r.left + r.right) / 2 + shift, cy = (r.top + r.bottom) / 2 + shift;
    TBitmap* glyph = Part == TPart::Up ? FUpGlyph.get() : FDownGlyph.get();
    if (!glyph->GetEmpty()) {
        c->Draw(cx - glyph->GetWidth() / 2, cy - glyph->GetHeight() / 2, glyph);
        return;
    }
    // A small arrow; a disabled one is embossed.
    int h = std::max(1, std::min((r.right - r.left) / 4, (r.bottom - r.top) / 3));
    auto arrow = [&](int dx, int dy) {
        std::vector<TPoint> pts;
        if (Part == TPart::Up)
            pts = {{cx - h + dx, cy + h / 2 + dy}, {cx + h + dx, cy + h / 2 + dy}, {cx + dx, cy - h / 2 - 1 + dy}};
        else
            pts = {{cx - h + dx, cy - h / 2 + dy}, {cx + h + dx, cy - h / 2 + dy}, {cx + dx, cy + h / 2 + 1 + dy}};
        c->Polygon(pts);
    };
    c->GetPen()->SetStyle(psSolid);
    if (GetEnabled()) {
        c->GetPen()->SetColor(clBtnText);
        c->GetBrush()->SetColor(clBtnText);
        arrow(0, 0);
    } else {
        c->GetPen()->SetColor(clBtnHighlight);
        c->GetBrush()->SetColor(clBtnHighlight);
        arrow(1, 1);
        c->GetPen()->SetColor(clBtnShadow);
        c->GetBrush()->SetColor(clBtnShadow);
        arrow(0, 0);
    }
}

HOST_MESSAGE_MAP(TSpinButton)
{
    M(WM_TIMER, &TSpinButton::WMTimer);
    M(WM_GETDLGCODE, &TSpinButton::WMGetDlgCode);
    M(CM_ENABLEDCHANGED, &TSpinButton::CMEnabledChanged);
}

// ---- TSpinEdit ---------------------------------------------------------------------------------

TSpinEdit::TSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
    // The button belongs to the edit as its child, not to the form: it is
    // freed with the edit and never written to a form file.
    FButton = new TSpinButton(nullptr);
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetTabStop(false);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = TNotifyEvent(this, &TSpinEdit::UpClick);
    FButton->OnDownClick = TNotifyEvent(this, &TSpinEdit::DownClick);
    FButton->SetParent(this);
    FRightInset = FButton->GetWidth();
    SetText("0");
}

void TSpinEdit::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
}

void TSpinEdit::CreateWnd()
{
    inherited::CreateWnd();
    PlaceButton();
}

void TSpinEdit::PlaceButton()
{
    int clientWidth = HandleAllocated() ? int(GetClientRect().right) : FWidth - 4;
    int clientHeight = HandleAllocated() ? int(GetClientRect().bottom) : FHeight - 4;
    FButton->SetBounds(std::max(0, clientWidth - FButton->GetWidth()), 0, FButton->GetWidth(), clientHeight);
}

void TSpinEdit::WMSize(TMessage& Message)
{
    inherited::Dispatch(Message);
    PlaceButton();
}

int TSpinEdit::CheckValue(int Value) const
{
    if (FMinValue < FMaxValue) return std::clamp(Value, FMinValue, FMaxValue);
    return Value;
}

int TSpinEdit::GetValue()
{
    int value = 0;
    return TryStrToInt(GetText(), value) ? value : FMinValue;
}

void TSpinEdit::SetValue(int Value) { SetText(IntToStr(CheckValue(Value))); }

void TSpinEdit::SetMinValue(int Value)
{
    if (FMinValue == Value) return;
    FMinValue = Value;
    if (!GetComponentState().Contains(csLoading) && CheckValue(GetValue()) != GetValue()) SetValue(GetValue());
}

void TSpinEdit::SetMaxValue(int Value)
{
    if (FMaxValue == Value) return;
    FMaxValue = Value;
    if (!GetComponentState().Contains(csLoading) && CheckValue(GetValue()) != GetValue()) SetValue(GetValue());
}

void TSpinEdit::UpClick(TObject*)
{
    if (FReadOnly) MessageBeep(0);
    else SetValue(GetValue() + FIncrement);
}

void TSpinEdit::DownClick(TObject*)
{
    if (FReadOnly) MessageBeep(0);
    else SetValue(GetValue() - FIncrement);
}

void TSpinEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    if (Key == VK_UP) UpClick(this);
    else if (Key == VK_DOWN) DownClick(this);
    inherited::KeyDown(Key, Shift);
}

bool TSpinEdit::IsValidChar(char Key)
{
    auto code = static_cast<unsigned char>(Key);
    bool valid = std::isdigit(code) || Key == '-' || (code < 0x20 && Key != '\r');
    // With the editor off only the control keys of navigation and the clipboard copy pass.
    if (!FEditorEnabled && valid && (code >= 0x20 || Key == '\b' || code == 0x16 || code == 0x18)) valid = false;
    return valid;
}

void TSpinEdit::KeyPress(char& Key)
{
    if (!IsValidChar(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    if (Key != 0) inherited::KeyPress(Key);
}

void TSpinEdit::CMExit(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (CheckValue(GetValue()) != GetValue()) SetValue(GetValue());
}

void TSpinEdit::WMPaste(TMessage& Message)
{
    if (!FEditorEnabled || FReadOnly) return;
    inherited::Dispatch(Message);
}

void TSpinEdit::WMCut(TMessage& Message)
{
    if (!FEditorEnabled || FReadOnly) return;
    inherited::Dispatch(Message);
}

HOST_MESSAGE_MAP(TSpinEdit)
{
    M(WM_SIZE, &TSpinEdit::WMSize);
    M(CM_EXIT, &TSpinEdit::CMExit);
    M(WM_PASTE, &TSpinEdit::WMPaste);
    M(WM_CUT, &TSpinEdit::WMCut);
}

// ---- Form files --------------------------------------------------------------------------------

HOST_PUBLISHED(TSpinButton)
{
    P.Property("Align", &TSpinButton::GetAlign, &TSpinButton::SetAlign).Default(alNone);
    P.Property("Ctl3D", &TSpinButton::GetCtl3D, &TSpinButton::SetCtl3D).Default(true);
    P.Property("DownGlyph", &TSpinButton::GetDownGlyph, &TSpinButton::SetDownGlyph);
    P.Property("DragMode", &TSpinButton::GetDragMode, &TSpinButton::SetDragMode).Default(dmManual);
    P.Property("Enabled", &TSpinButton::GetEnabled, &TSpinButton::SetEnabled).Default(true);
    P.Property("FocusControl", &TSpinButton::GetFocusControl, &TSpinButton::SetFocusControl);
    P.Property("ParentCtl3D", &TSpinButton::GetParentCtl3D, &TSpinButton::SetParentCtl3D).Default(true);
    P.Property("ParentShowHint", &TSpinButton::GetParentShowHint, &TSpinButton::SetParentShowHint).Default(true);
    P.Property("ShowHint", &TSpinButton::GetShowHint, &TSpinButton::SetShowHint).Stored(&TSpinButton::IsShowHintStored);
    P.Property("TabOrder", &TSpinButton::GetTabOrder, &TSpinButton::SetTabOrder).Default(-1);
    P.Property("TabStop", &TSpinButton::GetTabStop, &TSpinButton::SetTabStop).Default(false);
    P.Property("UpGlyph", &TSpinButton::GetUpGlyph, &TSpinButton::SetUpGlyph);
    P.Property("Visible", &TSpinButton::GetVisible, &TSpinButton::SetVisible).Default(true);
    P.Property("OnDownClick", &TSpinButton::OnDownClick);
    P.Property("OnDragDrop", &TSpinButton::OnDragDrop);
    P.Property("OnDragOver", &TSpinButton::OnDragOver);
    P.Property("OnEndDrag", &TSpinButton::OnEndDrag);
    P.Property("OnEnter", &TSpinButton::OnEnter);
    P.Property("OnExit", &TSpinButton::OnExit);
    P.Property("OnStartDrag", &TSpinButton::OnStartDrag);
    P.Property("OnUpClick", &TSpinButton::OnUpClick);
}

HOST_PUBLISHED(TSpinEdit)
{
    P.Property("AutoSelect", &TSpinEdit::GetAutoSelect, &TSpinEdit::SetAutoSelect).Default(true);
    P.Property("AutoSize", &TSpinEdit::GetAutoSize, &TSpinEdit::SetAutoSize).Default(true);
    P.Property("Color", &TSpinEdit::GetColor, &TSpinEdit::SetColor).Type(ColorTypeInfo()).Default(clWindow);
    P.Property("Ctl3D", &TSpinEdit::GetCtl3D, &TSpinEdit::SetCtl3D).Default(true);
    P.Property("DragMode", &TSpinEdit::GetDragMode, &TSpinEdit::SetDragMode).Default(dmManual);
    P.Property("EditorEnabled", &TSpinEdit::GetEditorEnabled, &TSpinEdit::SetEditorEnabled).Default(true);
    P.Property("Enabled", &TSpinEdit::GetEnabled, &TSpinEdit::SetEnabled).Default(true);
    P.Property("Font", &TSpinEdit::GetFont, &TSpinEdit::SetFont).Stored(&TSpinEdit::IsFontStored);
    P.Property("Increment", &TSpinEdit::GetIncrement, &TSpinEdit::SetIncrement).Default(1);
    P.Property("MaxLength", &TSpinEdit::GetMaxLength, &TSpinEdit::SetMaxLength).Default(0);
    P.Property("MaxValue", &TSpinEdit::GetMaxValue, &TSpinEdit::SetMaxValue);
    P.Property("MinValue", &TSpinEdit::GetMinValue, &TSpinEdit::SetMinValue);
    P.Property("ParentColor", &TSpinEdit::GetParentColor, &TSpinEdit::SetParentColor).Default(false);
    P.Property("ParentCtl3D", &TSpinEdit::GetParentCtl3D, &TSpinEdit::SetParentCtl3D).Default(true);
    P.Property("ParentFont", &TSpinEdit::GetParentFont, &TSpinEdit::SetParentFont).Default(true);
    P.Property("ParentShowHint", &TSpinEdit::GetParentShowHint, &TSpinEdit::SetParentShowHint).Default(true);
    P.Property("PopupMenu", &TSpinEdit::GetPopupMenu, &TSpinEdit::SetPopupMenu);
    P.Property("ReadOnly", &TSpinEdit::GetReadOnly, &TSpinEdit::SetReadOnly).Default(false);
    P.Property("ShowHint", &TSpinEdit::GetShowHint, &TSpinEdit::SetShowHint).Stored(&TSpinEdit::IsShowHintStored);
    P.Property("TabOrder", &TSpinEdit::GetTabOrder, &TSpinEdit::SetTabOrder).Default(-1);
    P.Property("TabStop", &TSpinEdit::GetTabStop, &TSpinEdit::SetTabStop).Default(true);
    P.Property("Value", &TSpinEdit::GetValue, &TSpinEdit::SetValue);
    P.Property("Visible", &TSpinEdit::GetVisible, &TSpinEdit::SetVisible).Default(true);
    P.Property("OnChange", &TSpinEdit::OnChange);
    P.Property("OnClick", &TSpinEdit::OnClick);
    P.Property("OnDblClick", &TSpinEdit::OnDblClick);
    P.Property("OnDragDrop", &TSpinEdit::OnDragDrop);
    P.Property("OnDragOver", &TSpinEdit::OnDragOver);
    P.Property("OnEndDrag", &TSpinEdit::OnEndDrag);
    P.Property("OnEnter", &TSpinEdit::OnEnter);
    P.Property("OnExit", &TSpinEdit::OnExit);
    P.Property("OnKeyDown", &TSpinEdit::OnKeyDown);
    P.Property("OnKeyPress", &TSpinEdit::OnKeyPress);
    P.Property("OnKeyUp", &TSpinEdit::OnKeyUp);
    P.Property("OnMouseDown", &TSpinEdit::OnMouseDown);
    P.Property("OnMouseMove", &TSpinEdit::OnMouseMove);
    P.Property("OnMouseUp", &TSpinEdit::OnMouseUp);
    P.Property("OnStartDrag", &TSpinEdit::OnStartDrag);
}

HOST_REGISTER_CLASSES(TSpinButton, TSpinEdit);

} // namespace host
