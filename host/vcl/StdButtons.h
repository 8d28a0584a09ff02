#pragma once
// Buttons: push buttons, check boxes, radio buttons, and the group box that
// frames them.
//
// A TButtonControl's window behaves as a window-system button: its
// DefaultHandler presses it on the mouse and the space bar, answers
// BM_GETSTATE/BM_SETSTATE/BM_GETCHECK/BM_SETCHECK/BM_SETSTYLE/BM_CLICK and
// WM_GETDLGCODE, and tells its parent BN_CLICKED through WM_COMMAND, which the
// parent reflects back as CN_COMMAND. A button whose style is BS_OWNERDRAW
// leaves painting to its parent through WM_DRAWITEM (reflected as
// CN_DRAWITEM) with ODS_SELECTED, ODS_FOCUS and ODS_DISABLED in itemState.
#include "host/vcl/StdLabel.h"

namespace host {

HOST_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)

class TButtonControl : public TWinControl {
    HOST_CLASS(TButtonControl, TWinControl)
    HOST_MESSAGES(TButtonControl)
public:
    explicit TButtonControl(TComponent* AOwner);
    void DefaultHandler(TMessage& Message) override;

protected:
    void Destroy() override;
    void WndProc(TMessage& Message) override;
    void DestroyWnd() override;
    void PaintWindow(HDC DC) override;
    // Paints the button when it is not owner-drawn.
    virtual void PaintButton(TCanvas* Canvas);
    virtual bool GetChecked() const { return false; }
    virtual void SetChecked(bool) {}
    bool IsCheckedStored() const { return GetChecked(); }
    // What the window shows: BM_GETSTATE's pushed and focus bits.
    bool IsPushed() const { return FPushed; }
    TCanvas* GetButtonCanvas() const { return FCanvas.get(); }
    // The caption with its accelerator, the focus rectangle around it when
    // focused, embossed when disabled; returns the rectangle the text took.
    TRect DrawCaption(TCanvas* Canvas, TRect Rect, UINT Flags);

    void WMEraseBkgnd(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMTextChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);

    bool FClicksDisabled = false;

private:
    DWORD ButtonStyle() const;
    void SetPushed(bool Value);
    void NotifyParent(WORD Code);
    void DrawOwnerItem(HDC DC);
    void ButtonMouse(TMessage& Message);
    void ButtonKey(TMessage& Message);
    bool ButtonMessage(TMessage& Message);

    std::unique_ptr<TControlCanvas> FCanvas;
    bool FPushed = false;
    bool FTracking = false;
    bool FSpaceDown = false;
    WPARAM FCheck = BST_UNCHECKED;
};

class TButton : public TButtonControl {
    HOST_CLASS(TButton, TButtonControl)
    HOST_MESSAGES(TButton)
public:
    explicit TButton(TComponent* AOwner);
    void Click() override;

    bool GetCancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    bool GetDefault() const { return FDefault; }
    void SetDefault(bool Value);
    TModalResult GetModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    // Moves the thick default frame on or off (BS_DEFPUSHBUTTON); owner-drawn
    // descendants keep their style and draw the frame themselves.
    virtual void SetButtonStyle(bool ADefault);
    void PaintButton(TCanvas* Canvas) override;
    // Whether this button shows the default frame now (it is the default
    // button and no other button has the focus, or it has the focus itself).
    bool IsActive() const { return FActive; }

    void CMDialogKey(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    void CMFocusChanged(TMessage& Message);
    void CNCommand(TMessage& Message);

    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;
    bool FIsFocused = false;
    TModalResult FModalResult = mrNone;
};

class TCustomCheckBox : public TButtonControl {
    HOST_CLASS(TCustomCheckBox, TButtonControl)
    HOST_MESSAGES(TCustomCheckBox)
public:
    explicit TCustomCheckBox(TComponent* AOwner);
    bool GetChecked() const override { return FState == cbChecked; }
    void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckBoxState GetState() const { return FState; }
    void SetState(TCheckBoxState Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    // Unchecked -> grayed (when allowed) or checked; checked -> unchecked;
    // grayed -> checked.
    virtual void Toggle();
    void PaintButton(TCanvas* Canvas) override;

    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool GetAllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }

    void CMDialogChar(TMessage& Message);
    void CNCommand(TMessage& Message);

    TAlignment FAlignment = taRightJustify;
    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
    HOST_CLASS(TCheckBox, TCustomCheckBox)
public:
    explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
    using TCustomCheckBox::GetAlignment;
    using TCustomCheckBox::GetAllowGrayed;
    using TCustomCheckBox::SetAlignment;
    using TCustomCheckBox::SetAllowGrayed;
};

class TRadioButton : public TButtonControl {
    HOST_CLASS(TRadioButton, TButtonControl)
    HOST_MESSAGES(TRadioButton)
public:
    explicit TRadioButton(TComponent* AOwner);
    bool GetChecked() const override { return FChecked; }
    // Checking one unchecks the other radio buttons of the same parent.
    void SetChecked(bool Value) override;
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void PaintButton(TCanvas* Canvas) override;

    void CMDialogChar(TMessage& Message);
    void CNCommand(TMessage& Message);

    TAlignment FAlignment = taRightJustify;
    bool FChecked = false;
};

class TCustomGroupBox : public TCustomControl {
    HOST_CLASS(TCustomGroupBox, TCustomControl)
    HOST_MESSAGES(TCustomGroupBox)
public:
    explicit TCustomGroupBox(TComponent* AOwner);

protected:
    // Children sit below the caption and inside the etched frame.
    void AdjustClientRect(TRect& Rect) override;
    void Paint() override;
    void CMDialogChar(TMessage& Message);
    void CMTextChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);

private:
    int CaptionHeight();
};

class TGroupBox : public TCustomGroupBox {
    HOST_CLASS(TGroupBox, TCustomGroupBox)
public:
    explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

} // namespace host
