#include "general/Kelforms.h"

namespace kel {

using namespace host;

namespace {

void SetDialogFont(TForm* Form, const char* Name, int Size)
{
    TFont* Font = Form->GetFont();
    Font->SetName(Name);
    Font->SetSize(Size);
    Font->SetStyle(TFontStyles());
}

} // namespace

TkelSystemForm::TkelSystemForm(TComponent* AOwner) : TkelForm(AOwner) { SetDialogFont(this, "MS Sans Serif", 8); }

void TkelSystemForm::Loaded()
{
    inherited::Loaded();
    SetDialogFont(this, "MS Sans Serif", 8);
}

TkelApplicationForm::TkelApplicationForm(TComponent* AOwner) : TkelForm(AOwner) { SetDialogFont(this, "Arial", 10); }

void TkelApplicationForm::Loaded()
{
    inherited::Loaded();
    SetDialogFont(this, "Arial", 10);
}

TnpApplicationForm::TnpApplicationForm(TComponent* AOwner) : TnpForm(AOwner) { SetDialogFont(this, "Arial", 10); }

void TnpApplicationForm::Loaded()
{
    inherited::Loaded();
    SetDialogFont(this, "Arial", 10);
}

TModalResult kelShowPopupForm(TForm* Form, TkelPopupFormStyle Style)
{
    switch (Style) {
    case pfsModal:
        Form->SetFormStyle(fsNormal);
        return Form->ShowModal();
    case pfsMDIChild: {
        TForm* Main = Application->GetMainForm();
        Form->SetFormStyle(Main && Main != Form && Main->GetFormStyle() == fsMDIForm ? fsMDIChild : fsNormal);
        break;
    }
    case pfsStayOnTop: Form->SetFormStyle(fsStayOnTop); break;
    default: Form->SetFormStyle(fsNormal); break;
    }
    Form->Show();
    return mrNone;
}

HOST_REGISTER_CLASSES(TkelForm, TkelSystemForm, TkelApplicationForm, TnpForm, TnpApplicationForm);

} // namespace kel
