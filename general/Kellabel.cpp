#include "general/Kellabel.h"

#include <cmath>
#include <vector>

#include "host/gdi/WinText.h"
#include "host/vcl/Menus.h"
#include "host/win/WinUser.h"

namespace kel {

using namespace host;

namespace {

constexpr double DegToRad = 0.017453292519943295;
// The caption is measured and drawn as one line of at most this many bytes.
constexpr size_t MaxCaption = 255;

int NormalizedAngle(int Value) { return ((Value % 360) + 360) % 360; }

std::vector<host::TPoint> ToHost(const kel::TPoint* Points, int Count)
{
    std::vector<host::TPoint> v;
    for (int i = 0; i < Count; ++i) v.push_back(host::TPoint{Points[i].x, Points[i].y});
    return v;
}

} // namespace

// ---- TkelBorderStyle ------------------------------------------------------------------------

void TkelBorderStyle::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TkelBorderStyle*>(Source);
    if (!other) return inherited::Assign(Source);
    FExtent = other->FExtent;
    FEffect = other->FEffect;
    FColorHighlight = other->FColorHighlight;
    FColorShadow = other->FColorShadow;
    FWidth = other->FWidth;
    Changed();
}

void TkelBorderStyle::Changed()
{
    if (OnChange) OnChange(this);
}

void TkelBorderStyle::UpdateExtent()
{
    switch (FEffect) {
    case beNone: FExtent = 0; break;
    case beLine:
    case beRaised:
    case beLowered: FExtent = FWidth / 2 + 1; break;
    case beFrameRaised:
    case beFrameLowered: FExtent = FWidth * 2 + 1; break;
    }
}

void TkelBorderStyle::SetEffect(TBorderEffect Value)
{
    if (FEffect == Value) return;
    FEffect = Value;
    UpdateExtent();
    Changed();
}

void TkelBorderStyle::SetWidth(TkelBorderWidth Value)
{
    if (Value < 1) Value = 1;
    if (FWidth == Value) return;
    FWidth = Value;
    UpdateExtent();
    Changed();
}

void TkelBorderStyle::SetColorHighlight(TColor Value)
{
    if (FColorHighlight == Value) return;
    FColorHighlight = Value;
    Changed();
}

void TkelBorderStyle::SetColorShadow(TColor Value)
{
    if (FColorShadow == Value) return;
    FColorShadow = Value;
    Changed();
}

// ---- TkelCaptionStyle -----------------------------------------------------------------------

void TkelCaptionStyle::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TkelCaptionStyle*>(Source);
    if (!other) return inherited::Assign(Source);
    FExtent = other->FExtent;
    FEffect = other->FEffect;
    FColorHighlight = other->FColorHighlight;
    FColorShadow = other->FColorShadow;
    FOffset = other->FOffset;
    Changed();
}

void TkelCaptionStyle::Changed()
{
    if (OnChange) OnChange(this);
}

void TkelCaptionStyle::UpdateExtent()
{
    switch (FEffect) {
    case ceNormal: FExtent = 0; break;
    case ceRaised:
    case ceLowered:
    case ceEmbossRaised:
    case ceEmbossLowered: FExtent = FOffset * 2; break;
    case ceShadowed: FExtent = FOffset; break;
    }
}

void TkelCaptionStyle::SetEffect(TCaptionEffect Value)
{
    if (FEffect == Value) return;
    FEffect = Value;
    UpdateExtent();
    Changed();
}

void TkelCaptionStyle::SetOffset(int Value)
{
    if (FOffset == Value) return;
    FOffset = Value;
    UpdateExtent();
    Changed();
}

void TkelCaptionStyle::SetColorHighlight(TColor Value)
{
    if (FColorHighlight == Value) return;
    FColorHighlight = Value;
    Changed();
}

void TkelCaptionStyle::SetColorShadow(TColor Value)
{
    if (FColorShadow == Value) return;
    FColorShadow = Value;
    Changed();
}

// ---- TRotLabel: properties --------------------------------------------------------------------

TRotLabel::TRotLabel(TComponent* AOwner)
    : TCustomLabel(AOwner), FBorderStyle(std::make_unique<TkelBorderStyle>()),
      FCaptionStyle(std::make_unique<TkelCaptionStyle>())
{
    FBorderStyle->OnChange = TNotifyEvent(this, &TRotLabel::StyleChanged);
    FCaptionStyle->OnChange = TNotifyEvent(this, &TRotLabel::StyleChanged);
    SetShowAccelChar(false);
    SetParentFont(false);
    GetFont()->SetName("Arial");
    GetFont()->SetSize(10);
    UpdateGeometry();
}

void TRotLabel::Destroy()
{
    // The styles go first so that nothing they fire reaches a label being torn down.
    FBorderStyle->OnChange = nullptr;
    FCaptionStyle->OnChange = nullptr;
    inherited::Destroy();
}

void TRotLabel::SetAngle(int Value)
{
    Value = NormalizedAngle(Value);
    if (FAngle == Value) return;
    FAngle = static_cast<TDegrees>(Value);
    FSinA = std::sin(Value * DegToRad);
    FCosA = std::cos(Value * DegToRad);
    UpdateGeometry();
}

void TRotLabel::SetBorderStyle(TkelBorderStyle* Value)
{
    if (Value == FBorderStyle.get()) return;
    FBorderStyle->Assign(Value);
    FBorderStyle->OnChange = TNotifyEvent(this, &TRotLabel::StyleChanged);
    UpdateGeometry();
}

void TRotLabel::SetCaptionStyle(TkelCaptionStyle* Value)
{
    if (Value == FCaptionStyle.get()) return;
    FCaptionStyle->Assign(Value);
    FCaptionStyle->OnChange = TNotifyEvent(this, &TRotLabel::StyleChanged);
    UpdateGeometry();
}

void TRotLabel::StyleChanged(TObject*) { UpdateGeometry(); }

void TRotLabel::AdjustBounds() { UpdateGeometry(); }

// ---- TRotLabel: geometry ------------------------------------------------------------------------

std::string TRotLabel::CaptionText()
{
    std::string text = GetCaption();
    if (text.size() > MaxCaption) text.resize(MaxCaption);
    return text;
}

HFONT TRotLabel::CreateRotatedFont(TCanvas* Canvas)
{
    LOGFONT lf{};
    GetObject(Canvas->GetFont()->GetHandle(), sizeof lf, &lf);
    lf.lfEscapement = FAngle * 10;
    return CreateFontIndirect(&lf);
}

TRect TRotLabel::MeasureCaption()
{
    std::string text = CaptionText();
    if (text.empty()) text = " ";
    HDC dc = GetDC(nullptr);
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.SetFont(GetFont());
    canvas.RequiredState(TCanvasState{csHandleValid, csFontValid});
    HFONT rotated = CreateRotatedFont(&canvas);
    HGDIOBJ old = SelectObject(dc, rotated);
    RECT r{0, 0, 0, 0};
    DrawText(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT);
    SelectObject(dc, old);
    DeleteObject(rotated);
    canvas.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    return TRect{r.left, r.top, r.right, r.bottom};
}

void TRotLabel::UpdateGeometry()
{
    const auto state = GetComponentState();
    if (state.Contains(csLoading) || state.Contains(csReading) || !FBorderStyle || !FCaptionStyle) {
        Invalidate();
        return;
    }
    TRect r = MeasureCaption();
    auto inflate = [&r](int D) {
        r.Left -= D;
        r.Top -= D;
        r.Right += D;
        r.Bottom += D;
    };
    const bool bordered = FBorderStyle->GetEffect() != beNone;
    if (FCaptionStyle->GetEffect() != ceNormal) inflate(FCaptionStyle->GetExtent());
    if (bordered) {
        inflate(FBorderStyle->GetExtent());
        r.Left -= 2;
    }
    FTextPos = TPoint{0, 0};
    SetRectPoints(r, FCorners);
    RotateWinPolygon(FTextPos, FCorners, 3, FSinA, FCosA);
    FCorners[4] = FCorners[0];
    TRect b = GetPolygonBounds(FCorners, 4);
    if (bordered) {
        b.Right += FBorderStyle->GetExtent();
        b.Bottom += FBorderStyle->GetExtent();
    }
    OffsetPoint(FTextPos, -b.Left, -b.Top);
    OffsetPoints(FCorners, 4, -b.Left, -b.Top);
    const int w = b.Right - b.Left, h = b.Bottom - b.Top;
    if (GetAutoSize()) {
        if (FRotateCenter)
            SetBounds(GetLeft() + GetWidth() / 2 - w / 2, GetTop() + GetHeight() / 2 - h / 2, w, h);
        else
            SetBounds(GetLeft(), GetTop(), w, h);
    }
    Invalidate();
}

// ---- TRotLabel: painting ------------------------------------------------------------------------

TColor TRotLabel::FaceColor(bool Emboss)
{
    if (!GetEnabled()) return clGrayText;
    return Emboss ? GetColor() : GetFont()->GetColor();
}

void TRotLabel::DrawCaptionAt(TColor Color, TPoint P)
{
    TCanvas* canvas = GetCanvas();
    canvas->GetFont()->SetColor(Color);
    canvas->RequiredState(TCanvasState{csHandleValid, csFontValid});
    HDC dc = canvas->GetHandle();
    HFONT rotated = CreateRotatedFont(canvas);
    HGDIOBJ old = SelectObject(dc, rotated);
    SetTextColor(dc, ColorToRGB(Color));
    SetBkMode(dc, TRANSPARENT);
    const std::string text = CaptionText();
    TextOut(dc, P.x, P.y, text.c_str(), int(text.size()));
    SelectObject(dc, old);
    DeleteObject(rotated);
}

void TRotLabel::DrawEffectCaption(int D, bool Emboss, bool ShadowOnly)
{
    // The shadow falls down-right of the text as it reads, in quarter turns.
    int dx = D, dy = D;
    if (FAngle >= 46 && FAngle <= 135) dy = -D;
    else if (FAngle >= 136 && FAngle <= 225) dx = dy = -D;
    else if (FAngle >= 226 && FAngle <= 315) dx = -D;
    TPoint p = FTextPos;
    if (ShadowOnly) {
        OffsetPoint(p, dx, dy);
    } else {
        OffsetPoint(p, -dx, -dy);
        DrawCaptionAt(FCaptionStyle->GetColorHighlight(), p);
        OffsetPoint(p, 2 * dx, 2 * dy);
    }
    DrawCaptionAt(FCaptionStyle->GetColorShadow(), p);
    OffsetPoint(p, -dx, -dy);
    DrawCaptionAt(FaceColor(Emboss), p);
}

// Colour A goes on the two edges that face up-left on the screen.
void TRotLabel::DrawEdgeLines(const std::vector<host::TPoint>& C, TColor A, TColor B)
{
    int first = 0; // the corner the A polyline starts from
    if (FAngle >= 45 && FAngle <= 134) first = 0;
    else if (FAngle >= 135 && FAngle <= 224) first = 1;
    else if (FAngle >= 225 && FAngle <= 314) first = 2;
    else first = 3;
    auto at = [&C](int I) { return C[size_t(I % 4)]; };
    TCanvas* canvas = GetCanvas();
    canvas->GetPen()->SetColor(A);
    canvas->Polyline({at(first), at(first + 1), at(first + 2)});
    canvas->GetPen()->SetColor(B);
    canvas->Polyline({at(first + 2), at(first + 3), at(first + 4)});
}

void TRotLabel::DrawBorder()
{
    TCanvas* canvas = GetCanvas();
    std::vector<host::TPoint> pts = ToHost(FCorners, 5);
    const TkelBorderStyle& style = *FBorderStyle;
    canvas->GetPen()->SetMode(pmCopy);
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetWidth(style.GetWidth());
    canvas->GetBrush()->SetStyle(GetTransparent() ? bsClear : bsSolid);
    auto polygonIn = [&](TColor Color) {
        canvas->GetPen()->SetColor(Color);
        canvas->Polygon(pts);
    };
    auto shift = [&](int D) {
        for (host::TPoint& p : pts) {
            p.x += D;
            p.y += D;
        }
    };
    switch (style.GetEffect()) {
    case beNone: break;
    case beLine: polygonIn(style.GetColorShadow()); break;
    case beRaised: DrawEdgeLines(pts, style.GetColorHighlight(), style.GetColorShadow()); break;
    case beLowered: DrawEdgeLines(pts, style.GetColorShadow(), style.GetColorHighlight()); break;
    case beFrameRaised:
    case beFrameLowered: {
        const bool raised = style.GetEffect() == beFrameRaised;
        canvas->GetBrush()->SetStyle(bsClear);
        polygonIn(raised ? style.GetColorHighlight() : style.GetColorShadow());
        shift(style.GetWidth());
        polygonIn(raised ? style.GetColorShadow() : style.GetColorHighlight());
        break;
    }
    }
}

void TRotLabel::Paint()
{
    TCanvas* canvas = GetCanvas();
    if (!GetTransparent()) {
        canvas->GetBrush()->SetColor(GetColor());
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->FillRect(GetClientRect());
    }
    if (FBorderStyle->GetEffect() != beNone) DrawBorder();
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->SetFont(GetFont());
    const int d = FCaptionStyle->GetOffset();
    switch (FCaptionStyle->GetEffect()) {
    case ceNormal: DrawCaptionAt(FaceColor(false), FTextPos); break;
    case ceRaised: DrawEffectCaption(d, false, false); break;
    case ceLowered: DrawEffectCaption(-d, false, false); break;
    case ceEmbossRaised: DrawEffectCaption(d, true, false); break;
    case ceEmbossLowered: DrawEffectCaption(-d, true, false); break;
    case ceShadowed: DrawEffectCaption(d, false, true); break;
    }
}

// ---- Published properties -------------------------------------------------------------------------

HOST_PUBLISHED(TkelBorderStyle)
{
    P.Property("Effect", &TkelBorderStyle::GetEffect, &TkelBorderStyle::SetEffect).Default(beNone);
    P.Property("ColorHighlight", &TkelBorderStyle::GetColorHighlight, &TkelBorderStyle::SetColorHighlight)
        .Type(ColorTypeInfo())
        .Default(clBtnHighlight);
    P.Property("ColorShadow", &TkelBorderStyle::GetColorShadow, &TkelBorderStyle::SetColorShadow)
        .Type(ColorTypeInfo())
        .Default(clBtnShadow);
    P.Property("Width", &TkelBorderStyle::GetWidth, &TkelBorderStyle::SetWidth).Default(1);
}

HOST_PUBLISHED(TkelCaptionStyle)
{
    P.Property("Effect", &TkelCaptionStyle::GetEffect, &TkelCaptionStyle::SetEffect).Default(ceNormal);
    P.Property("ColorHighlight", &TkelCaptionStyle::GetColorHighlight, &TkelCaptionStyle::SetColorHighlight)
        .Type(ColorTypeInfo())
        .Default(clBtnHighlight);
    P.Property("Offset", &TkelCaptionStyle::GetOffset, &TkelCaptionStyle::SetOffset).Default(1);
    P.Property("ColorShadow", &TkelCaptionStyle::GetColorShadow, &TkelCaptionStyle::SetColorShadow)
        .Type(ColorTypeInfo())
        .Default(clBtnShadow);
}

HOST_PUBLISHED(TRotLabel)
{
    // No default: the angle is always stored.
    P.Property("Angle", &TRotLabel::GetAngle, &TRotLabel::SetAngle);
    P.Property("AutoSize", &TRotLabel::GetAutoSize, &TRotLabel::SetAutoSize).Default(true);
    P.Property("BorderStyle", &TRotLabel::GetBorderStyle, &TRotLabel::SetBorderStyle);
    P.Property("Caption", &TRotLabel::GetCaption, &TRotLabel::SetCaption);
    P.Property("CaptionStyle", &TRotLabel::GetCaptionStyle, &TRotLabel::SetCaptionStyle);
    P.Property("Color", &TRotLabel::GetColor, &TRotLabel::SetColor)
        .Type(ColorTypeInfo())
        .Stored(&TRotLabel::IsColorStored)
        .NoDefault();
    P.Property("DragCursor", &TRotLabel::GetDragCursor, &TRotLabel::SetDragCursor)
        .Type(CursorTypeInfo())
        .Default(crDrag);
    P.Property("DragMode", &TRotLabel::GetDragMode, &TRotLabel::SetDragMode).Default(dmManual);
    P.Property("Enabled", &TRotLabel::GetEnabled, &TRotLabel::SetEnabled).Default(true);
    P.Property("FocusControl", &TRotLabel::GetFocusControl, &TRotLabel::SetFocusControl);
    P.Property("Font", &TRotLabel::GetFont, &TRotLabel::SetFont).Stored(&TRotLabel::IsFontStored);
    P.Property("ParentColor", &TRotLabel::GetParentColor, &TRotLabel::SetParentColor).Default(true);
    P.Property("ParentFont", &TRotLabel::GetParentFont, &TRotLabel::SetParentFont).Default(false);
    P.Property("ParentShowHint", &TRotLabel::GetParentShowHint, &TRotLabel::SetParentShowHint).Default(true);
    P.Property("PopupMenu", &TRotLabel::GetPopupMenu, &TRotLabel::SetPopupMenu);
    P.Property("RotateCenter", &TRotLabel::GetRotateCenter, &TRotLabel::SetRotateCenter).Default(true);
    P.Property("ShowHint", &TRotLabel::GetShowHint, &TRotLabel::SetShowHint).Stored(&TRotLabel::IsShowHintStored);
    P.Property("Transparent", &TRotLabel::GetTransparent, &TRotLabel::SetTransparent).Default(false);
    P.Property("Visible", &TRotLabel::GetVisible, &TRotLabel::SetVisible).Default(true);
    P.Property("OnClick", &TRotLabel::OnClick);
    P.Property("OnDblClick", &TRotLabel::OnDblClick);
    P.Property("OnDragDrop", &TRotLabel::OnDragDrop);
    P.Property("OnDragOver", &TRotLabel::OnDragOver);
    P.Property("OnEndDrag", &TRotLabel::OnEndDrag);
    P.Property("OnMouseDown", &TRotLabel::OnMouseDown);
    P.Property("OnMouseMove", &TRotLabel::OnMouseMove);
    P.Property("OnMouseUp", &TRotLabel::OnMouseUp);
}

HOST_REGISTER_CLASSES(TRotLabel);

} // namespace kel
