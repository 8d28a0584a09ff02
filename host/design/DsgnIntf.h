#pragma once
// The form designer's side of a designed form: the object that the library's
// components tell about changes they make at design time. The designer
// program implements it; property and component editors grow on top of it.
#include "host/vcl/Classes.h"

namespace host {

class TCustomForm;
class TControl;
struct TMessage;

class TDesigner {
public:
    TDesigner() = default;
    TDesigner(const TDesigner&) = delete;
    TDesigner& operator=(const TDesigner&) = delete;
    virtual ~TDesigner() = default;

    // Something on the designed form changed: the designer marks the form
    // unsaved and refreshes its views.
    virtual void Modified() = 0;
    // A component of the designed form was inserted or is going.
    virtual void Notification(TComponent*, TOperation) {}
    // Whether the designer takes Message for Sender instead of the control.
    virtual bool IsDesignMsg(TControl*, TMessage&) { return false; }
};

// The designer of a whole form, with the root component it designs.
class TFormDesigner : public TDesigner {
public:
    explicit TFormDesigner(TComponent* ARoot) : FRoot(ARoot) {}
    TComponent* GetRoot() const { return FRoot; }

private:
    TComponent* FRoot;
};

// The form's designer slot. The designer belongs to whoever made it; the
// association ends when the form is freed or the slot is set to null.
void SetFormDesigner(TCustomForm* Form, TDesigner* Designer);
TDesigner* GetFormDesigner(const TCustomForm* Form);

} // namespace host
