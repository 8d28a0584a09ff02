#pragma once
// The scroll bar control: a windowed bar with two arrow buttons, a track and
// a thumb, worked by mouse and keyboard, reporting every step through
// OnScroll and every change of Position through OnChange.
#include "host/vcl/Controls.h"

namespace host {

HOST_ENUM(TScrollBarKind, sbHorizontal, sbVertical)
HOST_ENUM(TScrollCode, scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom,
          scEndScroll)
using TScrollEvent = TEvent<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TCustomControl {
    HOST_CLASS(TScrollBar, TCustomControl)
    HOST_MESSAGES(TScrollBar)
public:
    explicit TScrollBar(TComponent* AOwner);

    // Raises EInvalidOperation "Scroll bar property out of range" unless
    // AMin <= APosition <= AMax.
    void SetParams(int APosition, int AMin, int AMax);

    TScrollBarKind GetKind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int GetMin() const { return FMin; }
    void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
    int GetMax() const { return FMax; }
    void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
    int GetPosition() const { return FPosition; }
    void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
    int GetSmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value) { FSmallChange = Value; }
    int GetLargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value) { FLargeChange = Value; }

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    // What is pressed while the mouse button is held.
    enum class TPart { None, LineUp, LineDown, PageUp, PageDown, Thumb };
    struct TLayout {
        int Length = 0, Thickness = 0, Arrow = 0, ThumbStart = 0, ThumbLength = 0;
    };

    void Loaded() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);
    // Moves the position as Code says (Pos for scPosition and scTrack),
    // within Min..Max, after OnScroll has seen (and perhaps changed) it.
    void DoScroll(TScrollCode Code, int Pos);

    TLayout GetLayout();
    TPart PartAt(int X, int Y);
    int PosFromPixel(int Along);
    TRect PartRect(int From, int To);
    void PaintArrow(const TRect& R, bool First, bool Pressed);
    void PaintTrack(TLayout L);
    void StopRepeat();

    void WMTimer(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);
    void WMCancelMode(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);

    TScrollBarKind FKind = sbHorizontal;
    int FPosition = 0;
    int FMin = 0;
    int FMax = 100;
    int FSmallChange = 1;
    int FLargeChange = 8;
    TPart FPressed = TPart::None;
    bool FPressedInside = false;
    bool FKeyScrolled = false;
    int FGrabOffset = 0;
    int FTrackPos = 0;
    TPoint FMousePos{0, 0};
};

} // namespace host
