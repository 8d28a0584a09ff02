#include "host/vcl/StdLabel.h"

#include "host/vcl/StdPublish.h"

#include <cctype>

namespace host {

bool IsAccel(WORD Key, const std::string& Caption)
{
    for (size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != '&') continue;
        if (Caption[i + 1] == '&') {
            ++i;  // a literal ampersand
            continue;
        }
        return std::toupper(static_cast<unsigned char>(Caption[i + 1])) == std::toupper(int(Key & 0xFF));
    }
    return false;
}

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle += csOpaque;
    FControlStyle += csReplicatable;
    SetBounds(0, 0, 65, 17);
}

// ---- Properties --------------------------------------------------------------------------

void TCustomLabel::SetAlignment(TAlignment Value)
{
    if (FAlignment == Value) return;
    FAlignment = Value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value)
{
    if (FAutoSize == Value) return;
    FAutoSize = Value;
    AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* Value)
{
    if (FFocusControl == Value) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TCustomLabel::SetLayout(TTextLayout Value)
{
    if (FLayout == Value) return;
    FLayout = Value;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value)
{
    if (FShowAccelChar == Value) return;
    FShowAccelChar = Value;
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool Value)
{
    if (GetTransparent() == Value) return;
    if (Value)
        FControlStyle -= csOpaque;
    else
        FControlStyle += csOpaque;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value)
{
    if (FWordWrap == Value) return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded()
{
    inherited::Loaded();
    AdjustBounds();
}

// ---- Drawing -------------------------------------------------------------------------------

std::string TCustomLabel::GetLabelText() { return GetCaption(); }

UINT TCustomLabel::TextFlags() const
{
    UINT flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0);
    if (FAlignment == taRightJustify) flags |= DT_RIGHT;
    if (FAlignment == taCenter) flags |= DT_CENTER;
    return flags;
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags)
{
    std::string text = GetLabelText();
    // An empty label (or a lone accelerator mark) still measures one line high.
    if ((Flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&"))) text += ' ';
    if (!FShowAccelChar) Flags |= DT_NOPREFIX;
    TCanvas* canvas = GetCanvas();
    canvas->SetFont(GetFont());
    auto draw = [&](TRect& r) {
        canvas->RequiredState(TCanvasState{csHandleValid, csFontValid, csBrushValid});
        RECT rc = r;
        DrawText(canvas->GetHandle(), text.c_str(), int(text.size()), &rc, Flags);
        r = rc;
    };
    if (GetEnabled() || (Flags & DT_CALCRECT)) {
        draw(Rect);
        return;
    }
    // Disabled: a lit copy one pixel down-right under a shadow copy.
    OffsetRect(&Rect, 1, 1);
    canvas->GetFont()->SetColor(clBtnHighlight);
    draw(Rect);
    OffsetRect(&Rect, -1, -1);
    canvas->GetFont()->SetColor(clBtnShadow);
    draw(Rect);
}

void TCustomLabel::Paint()
{
    TCanvas* canvas = GetCanvas();
    TRect rect = GetClientRect();
    if (!GetTransparent()) {
        canvas->GetBrush()->SetColor(GetColor());
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->FillRect(rect);
    }
    canvas->GetBrush()->SetStyle(bsClear);
    UINT flags = TextFlags();
    if (FLayout != tlTop) {
        TRect calc = rect;
        DoDrawText(calc, flags | DT_CALCRECT);
        int room = GetHeight() - calc.bottom;
        OffsetRect(&rect, 0, FLayout == tlBottom ? room : room / 2);
    }
    DoDrawText(rect, flags);
}

// Measuring needs a DC even before the label has a parent to paint on.
TRect TCustomLabel::MeasureText(int Width)
{
    TCanvas* canvas = GetCanvas();
    HDC dc = CreateCompatibleDC(nullptr);
    canvas->SetHandle(dc);
    TRect rect{0, 0, Width, 0};
    try {
        DoDrawText(rect, TextFlags() | DT_CALCRECT);
    } catch (...) {
        canvas->SetHandle(nullptr);
        DeleteDC(dc);
        throw;
    }
    canvas->SetHandle(nullptr);
    DeleteDC(dc);
    return rect;
}

void TCustomLabel::AdjustBounds()
{
    if (GetComponentState().Contains(csReading) || GetComponentState().Contains(csLoading) || !FAutoSize)
        return;
    TRect rect = MeasureText(GetWidth());
    int width = rect.right - rect.left, x = GetLeft();
    if (FAlignment == taRightJustify) x += GetWidth() - width;
    if (FAlignment == taCenter) x += (GetWidth() - width) / 2;
    SetBounds(x, GetTop(), width, rect.bottom - rect.top);
}

// ---- Messages --------------------------------------------------------------------------------

void TCustomLabel::CMTextChanged(TMessage&)
{
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    AdjustBounds();
}

void TCustomLabel::CMDialogChar(TMessage& Message)
{
    if (!FFocusControl || !GetEnabled() || !FShowAccelChar || !IsAccel(WORD(Message.WParam), GetCaption())) return;
    if (!FFocusControl->CanFocus()) return;
    FFocusControl->SetFocus();
    Message.Result = 1;
}

HOST_MESSAGE_MAP(TCustomLabel)
{
    M(CM_TEXTCHANGED, &TCustomLabel::CMTextChanged);
    M(CM_FONTCHANGED, &TCustomLabel::CMFontChanged);
    M(CM_DIALOGCHAR, &TCustomLabel::CMDialogChar);
}

HOST_PUBLISHED(TLabel)
{
    HOST_PUBLISH_CONTROL_LOOK(TLabel);
    P.Property("Alignment", &TLabel::GetAlignment, &TLabel::SetAlignment).Default(taLeftJustify);
    P.Property("AutoSize", &TLabel::GetAutoSize, &TLabel::SetAutoSize).Default(true);
    P.Property("Caption", &TLabel::GetCaption, &TLabel::SetCaption);
    P.Property("FocusControl", &TLabel::GetFocusControl, &TLabel::SetFocusControl);
    P.Property("Layout", &TLabel::GetLayout, &TLabel::SetLayout).Default(tlTop);
    P.Property("ShowAccelChar", &TLabel::GetShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
    P.Property("Transparent", &TLabel::GetTransparent, &TLabel::SetTransparent).Default(false);
    P.Property("WordWrap", &TLabel::GetWordWrap, &TLabel::SetWordWrap).Default(false);
    HOST_PUBLISH_MOUSE_EVENTS(TLabel);
}

static const bool labelRegistered = (RegisterClasses({TLabel::StaticClass()}), true);

} // namespace host
