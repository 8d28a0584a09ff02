#pragma once
// Static text: TCustomLabel and TLabel.
#include "host/vcl/Controls.h"

namespace host {

HOST_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)

// Whether Caption carries Key as its accelerator ("&Save" answers 'S' and
// 's'; "&&" is a literal ampersand and marks nothing).
bool IsAccel(WORD Key, const std::string& Caption);

class TCustomLabel : public TGraphicControl {
    HOST_CLASS(TCustomLabel, TGraphicControl)
    HOST_MESSAGES(TCustomLabel)
public:
    explicit TCustomLabel(TComponent* AOwner);
    TCanvas* GetCanvas() const { return TGraphicControl::GetCanvas(); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    void Paint() override;
    // Fits the bounds to the text when AutoSize is on, keeping the side
    // Alignment anchors (left, right or the centre) where it is.
    virtual void AdjustBounds();
    // Draws (or with DT_CALCRECT measures) the label text in Rect; disabled
    // labels emboss it. Descendants change what or how the label draws here.
    virtual void DoDrawText(TRect& Rect, UINT Flags);
    virtual std::string GetLabelText();

    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool GetAutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool Value);
    TWinControl* GetFocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    TTextLayout GetLayout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool GetShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    bool GetTransparent() const { return !FControlStyle.Contains(csOpaque); }
    void SetTransparent(bool Value);
    bool GetWordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

    void CMTextChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMDialogChar(TMessage& Message);

    TWinControl* FFocusControl = nullptr;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FShowAccelChar = true;

private:
    UINT TextFlags() const;
    TRect MeasureText(int Width);
};

class TLabel : public TCustomLabel {
    HOST_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
    using TCustomLabel::GetAlignment;
    using TCustomLabel::GetAutoSize;
    using TCustomLabel::GetFocusControl;
    using TCustomLabel::GetLayout;
    using TCustomLabel::GetShowAccelChar;
    using TCustomLabel::GetTransparent;
    using TCustomLabel::GetWordWrap;
    using TCustomLabel::SetAlignment;
    using TCustomLabel::SetAutoSize;
    using TCustomLabel::SetFocusControl;
    using TCustomLabel::SetLayout;
    using TCustomLabel::SetShowAccelChar;
    using TCustomLabel::SetTransparent;
    using TCustomLabel::SetWordWrap;
};

} // namespace host
