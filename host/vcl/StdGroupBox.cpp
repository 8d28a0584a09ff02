// The group box: an etched frame with the caption set into its top edge.
#include "host/vcl/StdButtons.h"

#include "host/vcl/StdPublish.h"

namespace host {

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks,
                                  csReplicatable};
    SetBounds(0, 0, 185, 105);
}

int TCustomGroupBox::CaptionHeight()
{
    TCanvas* canvas = GetCanvas();
    canvas->SetFont(GetFont());
    if (HandleAllocated()) return canvas->TextHeight("0");
    HDC dc = CreateCompatibleDC(nullptr);
    canvas->SetHandle(dc);
    int h = canvas->TextHeight("0");
    canvas->SetHandle(nullptr);
    DeleteDC(dc);
    return h;
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect)
{
    inherited::AdjustClientRect(Rect);
    Rect.top += CaptionHeight();
    InflateRect(&Rect, -1, -1);
    if (GetCtl3D()) InflateRect(&Rect, -1, -1);
}

void TCustomGroupBox::Paint()
{
    TCanvas* canvas = GetCanvas();
    canvas->SetFont(GetFont());
    int h = canvas->TextHeight("0");
    TRect r{0, h / 2 - 1, GetWidth(), GetHeight()};
    if (GetCtl3D()) {
        // Etched: a lit frame one pixel down-right under a shadow frame.
        ++r.left;
        ++r.top;
        canvas->GetBrush()->SetColor(clBtnHighlight);
        canvas->FrameRect(r);
        OffsetRect(&r, -1, -1);
        canvas->GetBrush()->SetColor(clBtnShadow);
    } else {
        canvas->GetBrush()->SetColor(clWindowFrame);
    }
    canvas->FrameRect(r);
    std::string text = GetCaption();
    if (text.empty()) return;
    RECT t{8, 0, 0, h};
    HDC dc = canvas->GetHandle();
    DrawText(dc, text.c_str(), int(text.size()), &t, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
    // The caption's background breaks the frame behind it.
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(t);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->RequiredState(TCanvasState{csHandleValid, csFontValid, csBrushValid});
    if (GetEnabled())
        DrawText(dc, text.c_str(), int(text.size()), &t, DT_LEFT | DT_SINGLELINE);
    else
        DrawState(dc, nullptr, nullptr, LPARAM(text.c_str()), WPARAM(text.size()), t.left, t.top, t.right - t.left,
                  t.bottom - t.top, DST_PREFIXTEXT | DSS_DISABLED);
}

void TCustomGroupBox::CMDialogChar(TMessage& Message)
{
    if (IsAccel(WORD(Message.WParam), GetCaption()) && CanFocus()) {
        if (TWinControl* first = FindNextControl(nullptr, true, true, false)) first->SetFocus();
        Message.Result = 1;
        return;
    }
    inherited::Dispatch(Message);
}

void TCustomGroupBox::CMTextChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
    Realign();
}

void TCustomGroupBox::CMFontChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
    Realign();
}

HOST_MESSAGE_MAP(TCustomGroupBox)
{
    M(CM_DIALOGCHAR, &TCustomGroupBox::CMDialogChar);
    M(CM_TEXTCHANGED, &TCustomGroupBox::CMTextChanged);
    M(CM_FONTCHANGED, &TCustomGroupBox::CMFontChanged);
}

HOST_PUBLISHED(TGroupBox)
{
    HOST_PUBLISH_CONTROL_LOOK(TGroupBox);
    P.Property("Caption", &TGroupBox::GetCaption, &TGroupBox::SetCaption);
    P.Property("Ctl3D", &TGroupBox::GetCtl3D, &TGroupBox::SetCtl3D).Default(true);
    HOST_PUBLISH_FOCUS(TGroupBox);
    HOST_PUBLISH_MOUSE_EVENTS(TGroupBox);
}

static const bool groupBoxRegistered = (RegisterClass(TGroupBox::StaticClass()), true);

} // namespace host
