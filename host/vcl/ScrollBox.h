#pragma once
// Scrolling containers: a windowed control whose children may lie beyond
// its client area, reached through its own window scroll bars.
// TControlScrollBar is one of those bars; TScrollingWinControl moves its
// children when a bar moves and, with AutoScroll, sizes the bars' ranges to
// the children; TScrollBox is the published container with a sunken border.
#include <memory>

#include "host/vcl/Controls.h"
#include "host/vcl/StdScroll.h"

namespace host {

class TScrollingWinControl;

class TControlScrollBar : public TPersistent {
    HOST_CLASS(TControlScrollBar, TPersistent)
public:
    TControlScrollBar() = default;
    TControlScrollBar(TScrollingWinControl* AControl, TScrollBarKind AKind) : FControl(AControl), FKind(AKind) {}
    void Assign(TPersistent* Source) override;

    TScrollBarKind GetKind() const { return FKind; }
    // How far the content reaches, in pixels; no bar while it fits.
    int GetRange() const { return FRange; }
    void SetRange(int Value);
    // How far the content is scrolled, 0 .. Range - client size.
    int GetPosition() const { return FPosition; }
    void SetPosition(int Value);
    // Pixels per arrow click.
    int GetIncrement() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value < 1 ? 1 : Value; }
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    // Room kept around a control scrolled into view, and beyond the last one.
    int GetMargin() const { return FMargin; }
    void SetMargin(int Value);
    // Whether the content follows the thumb while it is dragged.
    bool GetTracking() const { return FTracking; }
    void SetTracking(bool Value) { FTracking = Value; }
    bool IsScrollBarVisible();
    // The client size along this bar.
    int ControlSize();

protected:
    friend class TScrollingWinControl;
    void ScrollMessage(const TMessage& Message);
    void Update();
    bool IsRangeStored() const;

    TScrollingWinControl* FControl = nullptr;
    TScrollBarKind FKind = sbHorizontal;
    int FRange = 0;
    int FPosition = 0;
    int FIncrement = 8;
    int FMargin = 0;
    bool FVisible = true;
    bool FTracking = false;
    // Where the thumb was last dragged to, for the position that ends the drag.
    int FThumbPos = -1;
};

class TScrollingWinControl : public TWinControl {
    HOST_CLASS(TScrollingWinControl, TWinControl)
    HOST_MESSAGES(TScrollingWinControl)
public:
    explicit TScrollingWinControl(TComponent* AOwner);

    TControlScrollBar* GetHorzScrollBar() const { return FHorzScrollBar.get(); }
    void SetHorzScrollBar(TControlScrollBar* Value) { FHorzScrollBar->Assign(Value); }
    TControlScrollBar* GetVertScrollBar() const { return FVertScrollBar.get(); }
    void SetVertScrollBar(TControlScrollBar* Value) { FVertScrollBar->Assign(Value); }
    bool GetAutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value);
    // Moves every child by (DeltaX, DeltaY) pixels.
    void ScrollBy(int DeltaX, int DeltaY);
    // Scrolls so that AControl (a descendant) is wholly in view, Margin included.
    void ScrollInView(TControl* AControl);
    // With AutoScroll: the bars' ranges become the extent of the visible children.
    void CalcAutoRange();

protected:
    friend class TControlScrollBar;
    void CreateWnd() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void AutoScrollInView(TControl* AControl);
    void UpdateScrollBars();

    void WMHScroll(TMessage& Message);
    void WMVScroll(TMessage& Message);
    void WMSize(TMessage& Message);
    void CMFocusChanged(TMessage& Message);

    std::unique_ptr<TControlScrollBar> FHorzScrollBar;
    std::unique_ptr<TControlScrollBar> FVertScrollBar;
    bool FAutoScroll = true;
    bool FUpdatingScrollBars = false;
    bool FCalcingRange = false;
};

class TScrollBox : public TScrollingWinControl {
    HOST_CLASS(TScrollBox, TScrollingWinControl)
public:
    explicit TScrollBox(TComponent* AOwner);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);

protected:
    void CreateParams(TCreateParams& Params) override;

    TBorderStyle FBorderStyle = bsSingle;
};

} // namespace host
