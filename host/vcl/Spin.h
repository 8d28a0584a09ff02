#pragma once
// TSpinButton (a pair of up and down arrow buttons that repeat while held)
// and TSpinEdit (an integer edit with a spin button inside).
#include <memory>

#include "host/vcl/StdEdit.h"

namespace host {

class TSpinButton : public TCustomControl {
    HOST_CLASS(TSpinButton, TCustomControl)
    HOST_MESSAGES(TSpinButton)
public:
    explicit TSpinButton(TComponent* AOwner);

    // Optional pictures on the buttons; empty ones show an arrow.
    TBitmap* GetUpGlyph() const { return FUpGlyph.get(); }
    void SetUpGlyph(TBitmap* Value);
    TBitmap* GetDownGlyph() const { return FDownGlyph.get(); }
    void SetDownGlyph(TBitmap* Value);
    // The control that takes the focus when a button is pressed.
    TWinControl* GetFocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

    // The first repeat comes after InitRepeatPause ms, the next ones every RepeatPause ms.
    static constexpr unsigned InitRepeatPause = 400;
    static constexpr unsigned RepeatPause = 100;

protected:
    enum class TPart { None, Up, Down };
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void UpClick();
    virtual void DownClick();
    TRect PartRect(TPart Part);
    TPart PartAt(int X, int Y);
    void PaintPart(TPart Part);
    void FirePart(TPart Part);
    void StopRepeat();

    void WMTimer(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);

    std::unique_ptr<TBitmap> FUpGlyph;
    std::unique_ptr<TBitmap> FDownGlyph;
    TWinControl* FFocusControl = nullptr;
    TPart FPressed = TPart::None;
    bool FInside = false;
    bool FRepeating = false;
};

class TSpinEdit : public TCustomEdit {
    HOST_CLASS(TSpinEdit, TCustomEdit)
    HOST_MESSAGES(TSpinEdit)
public:
    explicit TSpinEdit(TComponent* AOwner);

    TSpinButton* GetButton() const { return FButton; }
    bool GetEditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    int GetIncrement() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    int GetMinValue() const { return FMinValue; }
    void SetMinValue(int Value);
    int GetMaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value);
    // The text as a number; MinValue while the text is no number.
    int GetValue();
    void SetValue(int Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    virtual bool IsValidChar(char Key);
    virtual void UpClick(TObject* Sender);
    virtual void DownClick(TObject* Sender);
    // Value clamped to MinValue..MaxValue when those make a range.
    int CheckValue(int Value) const;
    void PlaceButton();

    void WMSize(TMessage& Message);
    void CMExit(TMessage& Message);
    void WMPaste(TMessage& Message);
    void WMCut(TMessage& Message);

    TSpinButton* FButton = nullptr;
    bool FEditorEnabled = true;
    int FIncrement = 1;
    int FMinValue = 0;
    int FMaxValue = 0;
};

} // namespace host
