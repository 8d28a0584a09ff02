#include "host/vcl/ExtPanels.h"

#include "host/vcl/StdPublish.h"

namespace host {

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width)
{
    Canvas->GetPen()->SetWidth(1);
    --Rect.bottom;
    --Rect.right;
    for (; Width > 0; --Width) {
        TPoint topLeft{Rect.left, Rect.top}, topRight{Rect.right, Rect.top};
        TPoint bottomLeft{Rect.left, Rect.bottom}, bottomRight{Rect.right, Rect.bottom};
        Canvas->GetPen()->SetColor(TopColor);
        Canvas->Polyline({bottomLeft, topLeft, topRight});
        Canvas->GetPen()->SetColor(BottomColor);
        --bottomLeft.x;
        Canvas->Polyline({topRight, bottomRight, bottomLeft});
        InflateRect(&Rect, -1, -1);
    }
    ++Rect.bottom;
    ++Rect.right;
}

// ---- TCustomPanel ---------------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                  csDoubleClicks, csReplicatable};
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    if (FBorderStyle == bsSingle) {
        if (GetCtl3D())
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
    // Resizing repaints what changed; FullRepaint decides about the rest.
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

int TCustomPanel::BevelSize() const
{
    int size = FBorderWidth;
    if (FBevelOuter != bvNone) size += FBevelWidth;
    if (FBevelInner != bvNone) size += FBevelWidth;
    return size;
}

void TCustomPanel::AdjustClientRect(TRect& Rect)
{
    inherited::AdjustClientRect(Rect);
    int size = BevelSize();
    InflateRect(&Rect, -size, -size);
}

void TCustomPanel::BevelsChanged()
{
    Realign();
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value)
{
    if (FAlignment == Value) return;
    FAlignment = Value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value)
{
    if (FBevelInner == Value) return;
    FBevelInner = Value;
    BevelsChanged();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value)
{
    if (FBevelOuter == Value) return;
    FBevelOuter = Value;
    BevelsChanged();
}

void TCustomPanel::SetBevelWidth(TBevelWidth Value)
{
    // A bevel is at least one pixel wide; a border may be none.
    if (Value < 1) Value = 1;
    if (FBevelWidth == Value) return;
    FBevelWidth = Value;
    BevelsChanged();
}

void TCustomPanel::SetBorderWidth(TBorderWidth Value)
{
    if (Value < 0) Value = 0;
    if (FBorderWidth == Value) return;
    FBorderWidth = Value;
    BevelsChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value)
{
    // Only no border or a single line make sense round a panel.
    if (Value != bsNone && Value != bsSingle) Value = bsSingle;
    if (FBorderStyle == Value) return;
    FBorderStyle = Value;
    RecreateWnd();
}

namespace {

void BevelColors(TBevelCut Bevel, TColor& Top, TColor& Bottom)
{
    Top = Bevel == bvLowered ? clBtnShadow : clBtnHighlight;
    Bottom = Bevel == bvLowered ? clBtnHighlight : clBtnShadow;
}

} // namespace

void TCustomPanel::Paint()
{
    TCanvas* canvas = GetCanvas();
    TRect rect = GetClientRect();
    TColor top, bottom;
    if (FBevelOuter != bvNone) {
        BevelColors(FBevelOuter, top, bottom);
        Frame3D(canvas, rect, top, bottom, FBevelWidth);
    }
    Frame3D(canvas, rect, GetColor(), GetColor(), FBorderWidth);
    if (FBevelInner != bvNone) {
        BevelColors(FBevelInner, top, bottom);
        Frame3D(canvas, rect, top, bottom, FBevelWidth);
    }
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(rect);
    std::string text = GetCaption();
    if (text.empty()) return;
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->SetFont(GetFont());
    int h = canvas->TextHeight("W");
    rect.top = (rect.bottom + rect.top - h) / 2;
    rect.bottom = rect.top + h;
    UINT flags = DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE |
                 (FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT);
    canvas->RequiredState(TCanvasState{csHandleValid, csFontValid, csBrushValid});
    HDC dc = canvas->GetHandle();
    if (GetEnabled()) {
        DrawText(dc, text.c_str(), int(text.size()), &rect, flags);
        return;
    }
    // Disabled: a lit copy down-right under a shadow copy.
    OffsetRect(&rect, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawText(dc, text.c_str(), int(text.size()), &rect, flags);
    OffsetRect(&rect, -1, -1);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawText(dc, text.c_str(), int(text.size()), &rect, flags);
}

void TCustomPanel::CMTextChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

void TCustomPanel::CMCtl3DChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (FBorderStyle == bsSingle) RecreateWnd();
}

// Without FullRepaint a resized panel repaints only its frame, which moved;
// a caption moves with the size, so a captioned panel repaints whole.
void TCustomPanel::WMWindowPosChanged(TMessage& Message)
{
    if (FFullRepaint || !GetCaption().empty()) {
        Invalidate();
    } else if (HandleAllocated()) {
        int size = BevelSize();
        RECT r = GetClientRect(), inner = r;
        InflateRect(&inner, -size, -size);
        RECT strips[] = {{r.left, r.top, r.right, inner.top},
                         {r.left, inner.bottom, r.right, r.bottom},
                         {r.left, r.top, inner.left, r.bottom},
                         {inner.right, r.top, r.right, r.bottom}};
        for (const RECT& s : strips) InvalidateRect(GetHandle(), &s, TRUE);
    }
    inherited::Dispatch(Message);
}

HOST_MESSAGE_MAP(TCustomPanel)
{
    M(CM_TEXTCHANGED, &TCustomPanel::CMTextChanged);
    M(CM_CTL3DCHANGED, &TCustomPanel::CMCtl3DChanged);
    M(WM_WINDOWPOSCHANGED, &TCustomPanel::WMWindowPosChanged);
}

// ---- TBevel -----------------------------------------------------------------------------------

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle += csReplicatable;
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value)
{
    if (FShape == Value) return;
    FShape = Value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value)
{
    if (FStyle == Value) return;
    FStyle = Value;
    Invalidate();
}

void TBevel::Paint()
{
    TCanvas* canvas = GetCanvas();
    TColor dark = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor light = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    auto rectangle = [&](TColor topLeft, TColor bottomRight, int l, int t, int r, int b) {
        canvas->GetPen()->SetColor(topLeft);
        canvas->Polyline({TPoint{l, b}, TPoint{l, t}, TPoint{r, t}});
        canvas->GetPen()->SetColor(bottomRight);
        canvas->Polyline({TPoint{r, t}, TPoint{r, b}, TPoint{l, b}});
    };
    auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
        canvas->GetPen()->SetColor(c);
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    canvas->GetPen()->SetWidth(1);
    int w = GetWidth(), h = GetHeight();
    switch (FShape) {
    case bsBox: rectangle(dark, light, 0, 0, w - 1, h - 1); break;
    case bsFrame:
        // Etched: a lit frame one pixel down-right under a dark one.
        rectangle(light, light, 1, 1, w - 1, h - 1);
        rectangle(dark, dark, 0, 0, w - 2, h - 2);
        break;
    case bsTopLine:
        line(dark, 0, 0, w, 0);
        line(light, 0, 1, w, 1);
        break;
    case bsBottomLine:
        line(dark, 0, h - 2, w, h - 2);
        line(light, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        line(dark, 0, 0, 0, h);
        line(light, 1, 0, 1, h);
        break;
    case bsRightLine:
        line(dark, w - 2, 0, w - 2, h);
        line(light, w - 1, 0, w - 1, h);
        break;
    }
}

// ---- Published properties -------------------------------------------------------------------

HOST_PUBLISHED(TPanel)
{
    HOST_PUBLISH_CONTROL_LOOK(TPanel);
    P.Property("Alignment", &TPanel::GetAlignment, &TPanel::SetAlignment).Default(taCenter);
    P.Property("BevelInner", &TPanel::GetBevelInner, &TPanel::SetBevelInner).Default(bvNone);
    P.Property("BevelOuter", &TPanel::GetBevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
    P.Property("BevelWidth", &TPanel::GetBevelWidth, &TPanel::SetBevelWidth).Default(1);
    P.Property("BorderWidth", &TPanel::GetBorderWidth, &TPanel::SetBorderWidth).Default(0);
    P.Property("BorderStyle", &TPanel::GetBorderStyle, &TPanel::SetBorderStyle).Default(bsNone);
    P.Property("Caption", &TPanel::GetCaption, &TPanel::SetCaption);
    P.Property("Ctl3D", &TPanel::GetCtl3D, &TPanel::SetCtl3D).Default(true);
    P.Property("FullRepaint", &TPanel::GetFullRepaint, &TPanel::SetFullRepaint).Default(true);
    P.Property("Locked", &TPanel::GetLocked, &TPanel::SetLocked).Default(false);
    HOST_PUBLISH_FOCUS(TPanel);
    HOST_PUBLISH_MOUSE_EVENTS(TPanel);
}

HOST_PUBLISHED(TBevel)
{
    P.Property("Align", &TBevel::GetAlign, &TBevel::SetAlign).Default(alNone);
    P.Property("ParentShowHint", &TBevel::GetParentShowHint, &TBevel::SetParentShowHint).Default(true);
    P.Property("Shape", &TBevel::GetShape, &TBevel::SetShape).Default(bsBox);
    P.Property("ShowHint", &TBevel::GetShowHint, &TBevel::SetShowHint).Stored(&TBevel::IsShowHintStored);
    P.Property("Style", &TBevel::GetStyle, &TBevel::SetStyle).Default(bsLowered);
    P.Property("Visible", &TBevel::GetVisible, &TBevel::SetVisible).Default(true);
}

static const bool panelsRegistered = (RegisterClasses({TPanel::StaticClass(), TBevel::StaticClass()}), true);

} // namespace host
