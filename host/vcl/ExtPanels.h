#pragma once
// Panels and bevels: containers and lines drawn in the 3-D system colours.
#include "host/vcl/Forms.h"

namespace host {

HOST_ENUM(TBevelCut, bvNone, bvLowered, bvRaised)
HOST_ENUM(TBevelStyle, bsLowered, bsRaised)
HOST_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine)
// A panel's border is none or a single line (sunken with Ctl3D).
using TBorderStyle = TFormBorderStyle;
using TBevelWidth = int;
using TBorderWidth = int;

// Draws Width nested frames round Rect, TopColor on the top and left lines,
// BottomColor on the bottom and right ones (which own the top-right and
// bottom-left corners), and shrinks Rect by Width on each side.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

class TCustomPanel : public TCustomControl {
    HOST_CLASS(TCustomPanel, TCustomControl)
    HOST_MESSAGES(TCustomPanel)
public:
    explicit TCustomPanel(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
    // Aligned children sit inside the bevels and the border.
    void AdjustClientRect(TRect& Rect) override;
    void Paint() override;
    // The width of the border and bevels on each side.
    int BevelSize() const;

    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TBevelCut GetBevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut GetBevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    TBevelWidth GetBevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(TBevelWidth Value);
    TBorderWidth GetBorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(TBorderWidth Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool GetFullRepaint() const { return FFullRepaint; }
    void SetFullRepaint(bool Value) { FFullRepaint = Value; }
    bool GetLocked() const { return FLocked; }
    void SetLocked(bool Value) { FLocked = Value; }

    void CMTextChanged(TMessage& Message);
    void CMCtl3DChanged(TMessage& Message);
    void WMWindowPosChanged(TMessage& Message);

    TAlignment FAlignment = taCenter;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    TBevelWidth FBevelWidth = 1;
    TBorderWidth FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    bool FFullRepaint = true;
    bool FLocked = false;

private:
    void BevelsChanged();
};

class TPanel : public TCustomPanel {
    HOST_CLASS(TPanel, TCustomPanel)
public:
    explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
    using TCustomPanel::GetAlignment;
    using TCustomPanel::GetBevelInner;
    using TCustomPanel::GetBevelOuter;
    using TCustomPanel::GetBevelWidth;
    using TCustomPanel::GetBorderStyle;
    using TCustomPanel::GetBorderWidth;
    using TCustomPanel::GetFullRepaint;
    using TCustomPanel::GetLocked;
    using TCustomPanel::SetAlignment;
    using TCustomPanel::SetBevelInner;
    using TCustomPanel::SetBevelOuter;
    using TCustomPanel::SetBevelWidth;
    using TCustomPanel::SetBorderStyle;
    using TCustomPanel::SetBorderWidth;
    using TCustomPanel::SetFullRepaint;
    using TCustomPanel::SetLocked;
};

class TBevel : public TGraphicControl {
    HOST_CLASS(TBevel, TGraphicControl)
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape GetShape() const { return FShape; }
    void SetShape(TBevelShape Value);
    TBevelStyle GetStyle() const { return FStyle; }
    void SetStyle(TBevelStyle Value);

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

} // namespace host
