// The speed button: a windowless button that can stay down, alone or as one
// of a group of siblings of which at most one is down.
#include <cctype>

#include "host/vcl/Buttons.h"

namespace host {

namespace {

// Whether Key is the accelerator (the letter after a single '&') of Caption.
bool IsAccelKey(WORD Key, const std::string& Caption)
{
    for (size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != '&') continue;
        if (Caption[i + 1] == '&') {
            ++i;  // "&&" is a literal ampersand
            continue;
        }
        return std::toupper(static_cast<unsigned char>(Caption[i + 1])) == std::toupper(int(Key & 0xFF));
    }
    return false;
}

} // namespace

HOST_MESSAGE_MAP(TSpeedButton)
{
    M(CM_BUTTONPRESSED, &TSpeedButton::CMButtonPressed);
    M(CM_DIALOGCHAR, &TSpeedButton::CMDialogChar);
    M(CM_ENABLEDCHANGED, &TSpeedButton::CMEnabledChanged);
    M(CM_FONTCHANGED, &TSpeedButton::CMFontChanged);
    M(CM_TEXTCHANGED, &TSpeedButton::CMTextChanged);
    M(CM_SYSCOLORCHANGE, &TSpeedButton::CMSysColorChange);
    M(CM_MOUSEENTER, &TSpeedButton::CMMouseEnter);
    M(CM_MOUSELEAVE, &TSpeedButton::CMMouseLeave);
    M(WM_LBUTTONDBLCLK, &TSpeedButton::WMLButtonDblClk);
}

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(std::make_unique<TButtonGlyph>())
{
    SetBounds(0, 0, 25, 25);
    // No click events from the framework: the button decides when it was clicked.
    FControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
    FGlyph->OnChange = TNotifyEvent(this, &TSpeedButton::GlyphChanged);
    FColor = clBtnFace;
}

void TSpeedButton::Destroy()
{
    FGlyph->OnChange = TNotifyEvent();
    inherited::Destroy();
}

void TSpeedButton::Loaded()
{
    inherited::Loaded();
    FGlyph->CreateButtonGlyph(GetEnabled() ? bsUp : bsDisabled);
}

void TSpeedButton::GlyphChanged(TObject*)
{
    if (!GetComponentState().Contains(csDestroying)) Invalidate();
}

// ---- Painting ------------------------------------------------------------------------------

void TSpeedButton::Paint()
{
    bool designing = GetComponentState().Contains(csDesigning);
    if (!GetEnabled() && !designing) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    TCanvas* c = GetCanvas();
    c->SetFont(GetFont());
    bool pressed = FState == bsDown || FState == bsExclusive;
    TRect r = Rect(0, 0, GetWidth(), GetHeight());
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(r);
    c->RequiredState(csAllValid);
    if (!FFlat) {
        DrawEdge(c->GetHandle(), &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT | BF_ADJUST);
    } else {
        // Flat buttons show a thin frame only while down or under the mouse.
        if (pressed || (FMouseInControl && FState != bsDisabled) || designing)
            DrawEdge(c->GetHandle(), &r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        InflateRect(&r, -1, -1);
    }
    TPoint offset{0, 0};
    if (pressed) {
        if (FState == bsExclusive && (!FFlat || !FMouseInControl)) {
            std::unique_ptr<TBitmap> pattern = MakePatternBitmap(clBtnFace, clBtnHighlight);
            c->GetBrush()->SetBitmap(pattern.get());
            c->FillRect(r);
            c->GetBrush()->SetBitmap(nullptr);
        }
        offset = TPoint{1, 1};
    }
    FGlyph->Draw(c, r, offset, GetCaption(), FLayout, FMargin, FSpacing, FState, FFlat);
}

// ---- Mouse ---------------------------------------------------------------------------------

bool TSpeedButton::IsInside(int X, int Y)
{
    return X >= 0 && X < GetClientWidth() && Y >= 0 && Y < GetClientHeight();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    inherited::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !GetEnabled()) return;
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    inherited::MouseMove(Shift, X, Y);
    if (!FDragging) return;
    TButtonState state = FDown ? bsExclusive : bsUp;
    if (IsInside(X, Y)) state = FDown ? bsExclusive : bsDown;
    if (state == FState) return;
    FState = state;
    Invalidate();
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    inherited::MouseUp(Button, Shift, X, Y);
    if (!FDragging) return;
    FDragging = false;
    bool doClick = IsInside(X, Y);
    if (FGroupIndex == 0) {
        FState = bsUp;
        FMouseInControl = false;
        Invalidate();
    } else if (doClick) {
        SetDown(!FDown);
        if (FDown) Repaint();
    } else {
        if (FDown) FState = bsExclusive;
        Repaint();
    }
    // Tracking first: OnClick is the last thing that may see this button.
    UpdateTracking();
    if (doClick) Click();
}

void TSpeedButton::Click() { inherited::Click(); }

void TSpeedButton::UpdateTracking()
{
    if (!FFlat || !GetEnabled() || GetComponentState().Contains(csDestroying)) return;
    POINT p;
    GetCursorPos(&p);
    bool inside = FindDragTarget(p, true) == this;
    if (inside != FMouseInControl) Perform(inside ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
}

void TSpeedButton::WMLButtonDblClk(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (FDown) DblClick();
}

void TSpeedButton::CMMouseEnter(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (!FFlat || FMouseInControl || !GetEnabled()) return;
    FMouseInControl = true;
    Repaint();
}

void TSpeedButton::CMMouseLeave(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (!FFlat || !FMouseInControl || !GetEnabled()) return;
    FMouseInControl = false;
    Invalidate();
}

// ---- Groups and state ----------------------------------------------------------------------

void TSpeedButton::SetDown(bool Value)
{
    if (FGroupIndex == 0) Value = false;
    if (Value == FDown) return;
    // Without AllowAllUp the down button of a group stays down until another goes down.
    if (FDown && !FAllowAllUp) return;
    FDown = Value;
    if (Value) {
        if (FState == bsUp) Invalidate();
        FState = bsExclusive;
        UpdateExclusive();
    } else {
        FState = bsUp;
        Repaint();
    }
}

void TSpeedButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !GetParent()) return;
    TMessage m{CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(this), 0};
    GetParent()->Broadcast(m);
}

void TSpeedButton::CMButtonPressed(TMessage& Message)
{
    if (int(Message.WParam) != FGroupIndex) return;
    auto* sender = dynamic_cast<TSpeedButton*>(reinterpret_cast<TObject*>(Message.LParam));
    if (!sender || sender == this) return;
    if (sender->GetDown() && FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
    }
    FAllowAllUp = sender->GetAllowAllUp();
}

void TSpeedButton::SetGroupIndex(int Value)
{
    if (Value == FGroupIndex) return;
    FGroupIndex = Value;
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value)
{
    if (Value == FAllowAllUp) return;
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TSpeedButton::SetFlat(bool Value)
{
    if (Value == FFlat) return;
    FFlat = Value;
    Invalidate();
}

void TSpeedButton::SetGlyph(TBitmap* Value)
{
    FGlyph->SetGlyph(Value);
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs Value)
{
    FGlyph->SetNumGlyphs(Value);
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value)
{
    if (Value == FLayout) return;
    FLayout = Value;
    Invalidate();
}

void TSpeedButton::SetMargin(int Value)
{
    if (Value == FMargin || Value < -1) return;
    FMargin = Value;
    Invalidate();
}

void TSpeedButton::SetSpacing(int Value)
{
    if (Value == FSpacing) return;
    FSpacing = Value;
    Invalidate();
}

// ---- Other messages --------------------------------------------------------------------

void TSpeedButton::CMDialogChar(TMessage& Message)
{
    if (IsAccelKey(WORD(Message.WParam), GetCaption()) && GetEnabled() && GetVisible()) {
        Click();
        Message.Result = 1;
        return;
    }
    inherited::Dispatch(Message);
}

void TSpeedButton::CMEnabledChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    FGlyph->CreateButtonGlyph(GetEnabled() ? bsUp : bsDisabled);
    if (!GetEnabled() && FMouseInControl) FMouseInControl = false;
    UpdateTracking();
    Repaint();
}

void TSpeedButton::CMFontChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

void TSpeedButton::CMTextChanged(TMessage&) { Invalidate(); }

void TSpeedButton::CMSysColorChange(TMessage&)
{
    FGlyph->Invalidate();
    Invalidate();
}

HOST_PUBLISHED(TSpeedButton)
{
    P.Property("AllowAllUp", &TSpeedButton::GetAllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
    P.Property("GroupIndex", &TSpeedButton::GetGroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
    P.Property("Down", &TSpeedButton::GetDown, &TSpeedButton::SetDown).Default(false);
    P.Property("Caption", &TSpeedButton::GetCaption, &TSpeedButton::SetCaption);
    P.Property("Enabled", &TSpeedButton::GetEnabled, &TSpeedButton::SetEnabled).Default(true);
    P.Property("Flat", &TSpeedButton::GetFlat, &TSpeedButton::SetFlat).Default(false);
    P.Property("Font", &TSpeedButton::GetFont, &TSpeedButton::SetFont).Stored(&TSpeedButton::IsFontStored);
    P.Property("Glyph", &TSpeedButton::GetGlyph, &TSpeedButton::SetGlyph);
    P.Property("Layout", &TSpeedButton::GetLayout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
    P.Property("Margin", &TSpeedButton::GetMargin, &TSpeedButton::SetMargin).Default(-1);
    P.Property("NumGlyphs", &TSpeedButton::GetNumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
    P.Property("ParentFont", &TSpeedButton::GetParentFont, &TSpeedButton::SetParentFont).Default(true);
    P.Property("ParentShowHint", &TSpeedButton::GetParentShowHint, &TSpeedButton::SetParentShowHint)
        .Default(true);
    P.Property("ShowHint", &TSpeedButton::GetShowHint, &TSpeedButton::SetShowHint)
        .Stored(&TSpeedButton::IsShowHintStored);
    P.Property("Spacing", &TSpeedButton::GetSpacing, &TSpeedButton::SetSpacing).Default(4);
    P.Property("Visible", &TSpeedButton::GetVisible, &TSpeedButton::SetVisible).Default(true);
    P.Property("OnClick", &TSpeedButton::OnClick);
    P.Property("OnDblClick", &TSpeedButton::OnDblClick);
    P.Property("OnMouseDown", &TSpeedButton::OnMouseDown);
    P.Property("OnMouseMove", &TSpeedButton::OnMouseMove);
    P.Property("OnMouseUp", &TSpeedButton::OnMouseUp);
}

HOST_REGISTER_CLASSES(TSpeedButton);

} // namespace host
