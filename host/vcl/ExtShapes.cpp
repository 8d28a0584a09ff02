#include "host/vcl/ExtShapes.h"
#include "host/vcl/Menus.h"

#include <algorithm>

namespace host {

// ---- TImage -----------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(new TPicture)
{
    FControlStyle += csReplicatable;
    FPicture->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
    SetBounds(FLeft, FTop, 105, 105);
}

void TImage::Destroy()
{
    FPicture->OnChange = TNotifyEvent();
    inherited::Destroy();
}

TRect TImage::DestRect()
{
    int pw = FPicture->GetWidth(), ph = FPicture->GetHeight();
    if (FStretch) return GetClientRect();
    if (FCenter) {
        int x = (GetClientWidth() - pw) / 2, y = (GetClientHeight() - ph) / 2;
        return Rect(x, y, x + pw, y + ph);
    }
    return Rect(0, 0, pw, ph);
}

void TImage::Paint()
{
    TCanvas* c = TGraphicControl::GetCanvas();
    if (GetComponentState().Contains(csDesigning)) {
        c->GetPen()->SetStyle(psDash);
        c->GetBrush()->SetStyle(bsClear);
        c->Rectangle(0, 0, GetWidth(), GetHeight());
    }
    TGraphic* g = FPicture->GetGraphic();
    if (!g || g->GetEmpty()) return;
    // Drawing may touch the picture (a bitmap realising its canvas); that is no change.
    FDrawing = true;
    try {
        c->StretchDraw(DestRect(), g);
    } catch (...) {
        FDrawing = false;
        throw;
    }
    FDrawing = false;
}

TCanvas* TImage::GetCanvas()
{
    if (!FPicture->GetGraphic()) {
        auto* bmp = new TBitmap;
        bmp->SetSize(GetWidth(), GetHeight());
        FPicture->SetGraphic(bmp);
        bmp->Free();
    }
    auto* bmp = dynamic_cast<TBitmap*>(FPicture->GetGraphic());
    if (!bmp) throw EInvalidOperation("Can only modify an image if it contains a bitmap");
    return bmp->GetCanvas();
}

void TImage::PictureChanged(TObject*)
{
    int pw = FPicture->GetWidth(), ph = FPicture->GetHeight();
    if (FAutoSize && pw > 0 && ph > 0) SetBounds(FLeft, FTop, pw, ph);
    TGraphic* g = FPicture->GetGraphic();
    bool opaque = false;
    if (g) {
        // Icons and metafiles draw through their own transparency.
        if (!dynamic_cast<TMetafile*>(g) && !dynamic_cast<TIcon*>(g))
            g->SetTransparent(FTransparent);
        opaque = !g->GetTransparent() && (FStretch || (pw >= GetWidth() && ph >= GetHeight()));
    }
    if (opaque)
        FControlStyle += csOpaque;
    else
        FControlStyle -= csOpaque;
    if (!FDrawing) Invalidate();
}

void TImage::SetAutoSize(bool Value)
{
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    PictureChanged(this);
}

void TImage::SetCenter(bool Value)
{
    if (Value == FCenter) return;
    FCenter = Value;
    PictureChanged(this);
}

void TImage::SetStretch(bool Value)
{
    if (Value == FStretch) return;
    FStretch = Value;
    PictureChanged(this);
}

void TImage::SetTransparent(bool Value)
{
    if (Value == FTransparent) return;
    FTransparent = Value;
    PictureChanged(this);
}

// ---- TShape -----------------------------------------------------------------------------

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner), FPen(new TPen), FBrush(new TBrush)
{
    FControlStyle += csReplicatable;
    SetBounds(FLeft, FTop, 65, 65);
    FPen->OnChange = TNotifyEvent(this, &TShape::StyleChanged);
    FBrush->OnChange = TNotifyEvent(this, &TShape::StyleChanged);
}

void TShape::StyleChanged(TObject*) { Invalidate(); }

void TShape::SetShape(TShapeType Value)
{
    if (Value == FShape) return;
    FShape = Value;
    Invalidate();
}

void TShape::Paint()
{
    TCanvas* c = GetCanvas();
    c->SetPen(FPen.get());
    c->SetBrush(FBrush.get());
    // The pen straddles the outline: inset by half its width so it stays inside.
    int pw = FPen->GetWidth();
    int x = pw / 2, y = x;
    int w = GetWidth() - pw + 1, h = GetHeight() - pw + 1;
    if (pw == 0) {
        --w;
        --h;
    }
    int s = std::min(w, h);
    if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
        x += (w - s) / 2;
        y += (h - s) / 2;
        w = h = s;
    }
    switch (FShape) {
    case stRectangle:
    case stSquare: c->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: c->RoundRect(x, y, x + w, y + h, s / 4, s / 4); break;
    case stEllipse:
    case stCircle: c->Ellipse(x, y, x + w, y + h); break;
    }
}

// ---- Published properties ----------------------------------------------------------------

HOST_PUBLISHED(TImage)
{
    P.Property("Align", &TImage::GetAlign, &TImage::SetAlign).Default(alNone);
    P.Property("AutoSize", &TImage::GetAutoSize, &TImage::SetAutoSize).Default(false);
    P.Property("Center", &TImage::GetCenter, &TImage::SetCenter).Default(false);
    P.Property("DragCursor", &TImage::GetDragCursor, &TImage::SetDragCursor)
        .Type(CursorTypeInfo())
        .Default(crDrag);
    P.Property("DragMode", &TImage::GetDragMode, &TImage::SetDragMode).Default(dmManual);
    P.Property("Enabled", &TImage::GetEnabled, &TImage::SetEnabled).Default(true);
    P.Property("ParentShowHint", &TImage::GetParentShowHint, &TImage::SetParentShowHint).Default(true);
    P.Property("PopupMenu", &TImage::GetPopupMenu, &TImage::SetPopupMenu);
    P.Property("Picture", &TImage::GetPicture, &TImage::SetPicture);
    P.Property("ShowHint", &TImage::GetShowHint, &TImage::SetShowHint).Stored(&TImage::IsShowHintStored);
    P.Property("Stretch", &TImage::GetStretch, &TImage::SetStretch).Default(false);
    P.Property("Transparent", &TImage::GetTransparent, &TImage::SetTransparent).Default(false);
    P.Property("Visible", &TImage::GetVisible, &TImage::SetVisible).Default(true);
    P.Property("OnClick", &TImage::OnClick);
    P.Property("OnDblClick", &TImage::OnDblClick);
    P.Property("OnDragDrop", &TImage::OnDragDrop);
    P.Property("OnDragOver", &TImage::OnDragOver);
    P.Property("OnEndDrag", &TImage::OnEndDrag);
    P.Property("OnMouseDown", &TImage::OnMouseDown);
    P.Property("OnMouseMove", &TImage::OnMouseMove);
    P.Property("OnMouseUp", &TImage::OnMouseUp);
    P.Property("OnStartDrag", &TImage::OnStartDrag);
}

HOST_PUBLISHED(TShape)
{
    P.Property("Align", &TShape::GetAlign, &TShape::SetAlign).Default(alNone);
    P.Property("Brush", &TShape::GetBrush, &TShape::SetBrush);
    P.Property("DragCursor", &TShape::GetDragCursor, &TShape::SetDragCursor)
        .Type(CursorTypeInfo())
        .Default(crDrag);
    P.Property("DragMode", &TShape::GetDragMode, &TShape::SetDragMode).Default(dmManual);
    P.Property("Enabled", &TShape::GetEnabled, &TShape::SetEnabled).Default(true);
    P.Property("ParentShowHint", &TShape::GetParentShowHint, &TShape::SetParentShowHint).Default(true);
    P.Property("Pen", &TShape::GetPen, &TShape::SetPen);
    P.Property("Shape", &TShape::GetShape, &TShape::SetShape).Default(stRectangle);
    P.Property("ShowHint", &TShape::GetShowHint, &TShape::SetShowHint).Stored(&TShape::IsShowHintStored);
    P.Property("Visible", &TShape::GetVisible, &TShape::SetVisible).Default(true);
    P.Property("OnDragDrop", &TShape::OnDragDrop);
    P.Property("OnDragOver", &TShape::OnDragOver);
    P.Property("OnEndDrag", &TShape::OnEndDrag);
    P.Property("OnMouseDown", &TShape::OnMouseDown);
    P.Property("OnMouseMove", &TShape::OnMouseMove);
    P.Property("OnMouseUp", &TShape::OnMouseUp);
    P.Property("OnStartDrag", &TShape::OnStartDrag);
}

HOST_REGISTER_CLASSES(TImage, TShape);

} // namespace host
