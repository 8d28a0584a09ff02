#pragma once
// The common ancestors of the library's forms. The system and application
// families fix the font a dialog is laid out in, so a dialog looks the same
// whatever font the program's own forms use.
#include "host/vcl/Forms.h"
#include "host/vcl/TypInfo.h"

namespace kel {

// How a component shows a dialog or pop-up form of its own.
HOST_ENUM(TkelPopupFormStyle, pfsNormal, pfsModal, pfsMDIChild, pfsStayOnTop)

class TkelForm : public host::TForm {
    HOST_CLASS(TkelForm, host::TForm)
public:
    explicit TkelForm(host::TComponent* AOwner) : TForm(AOwner) {}
};

// Design-time editors and technical dialogs: "MS Sans Serif" 8.
class TkelSystemForm : public TkelForm {
    HOST_CLASS(TkelSystemForm, TkelForm)
public:
    explicit TkelSystemForm(host::TComponent* AOwner);

protected:
    // The font is set again once a stored layout has been read, so it wins
    // over whatever font the layout names.
    void Loaded() override;
};

// Dialogs end users see in a running program: "Arial" 10.
class TkelApplicationForm : public TkelForm {
    HOST_CLASS(TkelApplicationForm, TkelForm)
public:
    explicit TkelApplicationForm(host::TComponent* AOwner);

protected:
    void Loaded() override;
};

class TnpForm : public host::TForm {
    HOST_CLASS(TnpForm, host::TForm)
public:
    explicit TnpForm(host::TComponent* AOwner) : TForm(AOwner) {}
};

// The navigation panel's automatic form: "Arial" 10.
class TnpApplicationForm : public TnpForm {
    HOST_CLASS(TnpApplicationForm, TnpForm)
public:
    explicit TnpApplicationForm(host::TComponent* AOwner);

protected:
    void Loaded() override;
};

// Shows Form as Style says: modal (returns the modal result when it closes),
// an MDI child when the application's main form is an MDI frame (otherwise an
// ordinary window), stay-on-top, or normal. Non-modal styles return mrNone.
host::TModalResult kelShowPopupForm(host::TForm* Form, TkelPopupFormStyle Style);

} // namespace kel
