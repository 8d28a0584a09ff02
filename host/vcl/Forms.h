#pragma once
// Forms, the application object and the screen object.
#include "host/vcl/Controls.h"

namespace host {

class TCustomForm : public TWinControl {
    HOST_CLASS(TCustomForm, TWinControl)
public:
    explicit TCustomForm(TComponent* AOwner);

    TModalResult GetModalResult() const { return FModalResult; }
    virtual void SetModalResult(TModalResult Value) { FModalResult = Value; }
    // The control that has (or gets, when the form becomes active) the focus.
    TWinControl* GetActiveControl() const { return FActiveControl; }
    virtual void SetActiveControl(TWinControl* Control) { FActiveControl = Control; }

protected:
    TModalResult FModalResult = mrNone;
    TWinControl* FActiveControl = nullptr;
};

} // namespace host
