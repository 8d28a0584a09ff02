#pragma once
// Graphic controls that show a picture or draw a geometric shape.
#include <memory>

#include "host/vcl/Controls.h"

namespace host {

class TImage : public TGraphicControl {
    HOST_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* AOwner);

    TPicture* GetPicture() const { return FPicture.get(); }
    void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
    // The picture's bitmap canvas; an empty picture gets a bitmap of the
    // control's size first. Raises EInvalidOperation for other graphics.
    TCanvas* GetCanvas();
    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool GetCenter() const { return FCenter; }
    void SetCenter(bool Value);
    bool GetStretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool Value);

protected:
    void Destroy() override;
    void Paint() override;
    // Where the picture goes in client coordinates.
    TRect DestRect();
    virtual void PictureChanged(TObject* Sender);

    std::unique_ptr<TPicture> FPicture;
    bool FAutoSize = false;
    bool FCenter = false;
    bool FStretch = false;
    bool FTransparent = false;
    bool FDrawing = false;
};

HOST_ENUM(TShapeType, stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle)

class TShape : public TGraphicControl {
    HOST_CLASS(TShape, TGraphicControl)
public:
    explicit TShape(TComponent* AOwner);

    TShapeType GetShape() const { return FShape; }
    void SetShape(TShapeType Value);
    TPen* GetPen() const { return FPen.get(); }
    void SetPen(TPen* Value) { FPen->Assign(Value); }
    TBrush* GetBrush() const { return FBrush.get(); }
    void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
    // Repaints after a change of the pen or the brush.
    void StyleChanged(TObject* Sender);

protected:
    void Paint() override;

    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TShapeType FShape = stRectangle;
};

} // namespace host
