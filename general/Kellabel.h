#pragma once
// A label whose one-line caption turns through any whole angle, with a raised,
// lowered, embossed or shadowed caption and a border that turns with the text.
// The caption's look and the border are small style objects the label owns.
#include <cstdint>
#include <string>

#include "general/Kelutilg.h"
#include "host/vcl/StdLabel.h"

namespace kel {

HOST_ENUM_T(TCaptionEffect, uint8_t, ceNormal, ceRaised, ceLowered, ceEmbossRaised, ceEmbossLowered, ceShadowed)
HOST_ENUM_T(TBorderEffect, uint8_t, beNone, beLine, beRaised, beLowered, beFrameRaised, beFrameLowered)

using TDegrees = uint16_t;
using TkelBorderWidth = int32_t;

// The border round a rotated label. Extent is the margin the border adds round
// the text box; it follows Effect and Width.
class TkelBorderStyle : public host::TPersistent {
    HOST_CLASS(TkelBorderStyle, host::TPersistent)
public:
    TkelBorderStyle() = default;
    void Assign(host::TPersistent* Source) override;

    int32_t GetExtent() const { return FExtent; }
    TBorderEffect GetEffect() const { return FEffect; }
    void SetEffect(TBorderEffect Value);
    host::TColor GetColorHighlight() const { return FColorHighlight; }
    void SetColorHighlight(host::TColor Value);
    host::TColor GetColorShadow() const { return FColorShadow; }
    void SetColorShadow(host::TColor Value);
    TkelBorderWidth GetWidth() const { return FWidth; }
    // Widths below 1 become 1: a border line is at least a pixel wide.
    void SetWidth(TkelBorderWidth Value);

    // Set by the owning label.
    host::TNotifyEvent OnChange;

private:
    void UpdateExtent();
    void Changed();

    int32_t FExtent = 0;
    TBorderEffect FEffect = beNone;
    host::TColor FColorHighlight = host::clBtnHighlight;
    host::TColor FColorShadow = host::clBtnShadow;
    TkelBorderWidth FWidth = 1;
};

// The caption's three-dimensional look. Offset is the distance between the
// face text and its highlight and shadow copies.
class TkelCaptionStyle : public host::TPersistent {
    HOST_CLASS(TkelCaptionStyle, host::TPersistent)
public:
    TkelCaptionStyle() = default;
    void Assign(host::TPersistent* Source) override;

    int32_t GetExtent() const { return FExtent; }
    TCaptionEffect GetEffect() const { return FEffect; }
    void SetEffect(TCaptionEffect Value);
    host::TColor GetColorHighlight() const { return FColorHighlight; }
    void SetColorHighlight(host::TColor Value);
    host::TColor GetColorShadow() const { return FColorShadow; }
    void SetColorShadow(host::TColor Value);
    int GetOffset() const { return FOffset; }
    void SetOffset(int Value);

    host::TNotifyEvent OnChange;

private:
    void UpdateExtent();
    void Changed();

    int32_t FExtent = 0;
    TCaptionEffect FEffect = ceNormal;
    host::TColor FColorHighlight = host::clBtnHighlight;
    host::TColor FColorShadow = host::clBtnShadow;
    int FOffset = 1;
};

// The label computes its own geometry: the rotated text box (FCorners), where
// the caption's unrotated top-left lands (FTextPos), and with AutoSize the
// control's size, keeping its centre (RotateCenter) or its top-left in place.
class TRotLabel : public host::TCustomLabel {
    HOST_CLASS(TRotLabel, host::TCustomLabel)
public:
    explicit TRotLabel(host::TComponent* AOwner);

    TDegrees GetAngle() const { return FAngle; }
    // Any whole number of degrees; kept as 0..359.
    void SetAngle(int Value);
    TkelBorderStyle* GetBorderStyle() const { return FBorderStyle.get(); }
    void SetBorderStyle(TkelBorderStyle* Value);
    TkelCaptionStyle* GetCaptionStyle() const { return FCaptionStyle.get(); }
    void SetCaptionStyle(TkelCaptionStyle* Value);
    bool GetRotateCenter() const { return FRotateCenter; }
    void SetRotateCenter(bool Value) { FRotateCenter = Value; }
    using TCustomLabel::GetAutoSize;
    using TCustomLabel::GetFocusControl;
    using TCustomLabel::GetTransparent;
    using TCustomLabel::SetAutoSize;
    using TCustomLabel::SetFocusControl;
    using TCustomLabel::SetTransparent;

    // The geometry of the last layout, in client coordinates: corners in the
    // order top-left, top-right, bottom-right, bottom-left of the unrotated
    // box, then the first again.
    TPoint GetTextPos() const { return FTextPos; }
    const TPoint* GetCorners() const { return FCorners; }

    // The unrotated size of the caption in the label's font (one blank when
    // the caption is empty).
    TRect MeasureCaption();

protected:
    void Destroy() override;
    void Paint() override;
    // Every inherited path that would fit the bounds to the text (Loaded,
    // AutoSize, font and caption changes) lays the rotated label out instead.
    void AdjustBounds() override;
    void UpdateGeometry();

private:
    void StyleChanged(host::TObject* Sender);
    std::string CaptionText();
    // A font like the canvas's current one, turned by Angle; the caller
    // deletes it.
    host::HFONT CreateRotatedFont(host::TCanvas* Canvas);
    void DrawCaptionAt(host::TColor Color, TPoint P);
    void DrawEffectCaption(int D, bool Emboss, bool ShadowOnly);
    void DrawBorder();
    void DrawEdgeLines(const std::vector<host::TPoint>& C, host::TColor A, host::TColor B);
    host::TColor FaceColor(bool Emboss);

    TDegrees FAngle = 0;
    double FSinA = 0;
    double FCosA = 1.0;
    TPoint FTextPos;
    TPoint FCorners[5];
    std::unique_ptr<TkelBorderStyle> FBorderStyle;
    std::unique_ptr<TkelCaptionStyle> FCaptionStyle;
    bool FRotateCenter = true;
};

} // namespace kel
