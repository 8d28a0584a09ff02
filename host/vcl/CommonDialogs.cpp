// The common dialogs' base class and the helpers their forms share.
#include "host/vcl/CommonDialogs.h"
#include "host/vcl/CommonDialogsInternal.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace host {

namespace cdlg {

TDlgUnits DialogUnitsOf(TForm* Form)
{
    TCanvas* canvas = Form->GetCanvas();
    canvas->GetFont()->Assign(Form->GetFont());
    std::string letters;
    for (char c = 'A'; c <= 'Z'; ++c) letters += c;
    for (char c = 'a'; c <= 'z'; ++c) letters += c;
    TDlgUnits u;
    int width = canvas->TextWidth(letters);
    u.CharWidth = std::max(1, (width / 26 + 1) / 2);
    u.CharHeight = std::max(1, canvas->TextHeight(letters));
    return u;
}

TLabel* PlaceLabel(TForm* Form, TWinControl* Parent, const std::string& Caption, const TDlgUnits& U, int X, int Y,
                   int W, int H, TWinControl* FocusControl)
{
    auto* label = new TLabel(Form);
    label->SetAutoSize(false);
    label->SetBounds(U.X(X), U.Y(Y), U.X(W), U.Y(H));
    label->SetCaption(Caption);
    label->SetParent(Parent);
    if (FocusControl) label->SetFocusControl(FocusControl);
    return label;
}

TButton* PlaceButton(TForm* Form, const std::string& Name, const std::string& Caption, const TDlgUnits& U, int X,
                     int Y, int W, int H, TModalResult Result)
{
    auto* b = Place<TButton>(Form, Form, Name, U, X, Y, W, H);
    b->SetCaption(Caption);
    b->SetModalResult(Result);
    return b;
}

void PlaceOKCancel(TForm* Form, const TDlgUnits& U, TPoint OK, TPoint Cancel, int W, int H)
{
    TButton* ok = PlaceButton(Form, "OK", "OK", U, OK.x, OK.y, W, H);
    ok->SetDefault(true);
    TButton* cancel = PlaceButton(Form, "Cancel", "Cancel", U, Cancel.x, Cancel.y, W, H, mrCancel);
    cancel->SetCancel(true);
}

TCheckBox* PlaceCheck(TForm* Form, TWinControl* Parent, const std::string& Name, const std::string& Caption,
                      const TDlgUnits& U, int X, int Y, int W, int H, bool Checked)
{
    auto* c = Place<TCheckBox>(Form, Parent, Name, U, X, Y, W, H);
    c->SetCaption(Caption);
    c->SetChecked(Checked);
    return c;
}

TRadioButton* PlaceRadio(TForm* Form, TWinControl* Parent, const std::string& Name, const std::string& Caption,
                         const TDlgUnits& U, int X, int Y, int W, int H, bool Checked)
{
    auto* r = Place<TRadioButton>(Form, Parent, Name, U, X, Y, W, H);
    r->SetCaption(Caption);
    if (Checked) r->SetChecked(true);
    return r;
}

void Warn(const std::string& Text) { MessageDlg(Text, mtWarning, TMsgDlgButtons{mbOK}, 0); }

bool Confirm(const std::string& Text)
{
    return MessageDlg(Text, mtWarning, TMsgDlgButtons{mbYes, mbNo}, 0) == mrYes;
}

bool ParseInt(const std::string& Text, int& Value)
{
    std::string t = Trim(Text);
    if (t.empty() || t.size() > 9) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    Value = std::atoi(t.c_str());
    return true;
}

} // namespace cdlg

TForm* TCommonDialog::CreateDialogForm(const std::string& Caption, int Width, int Height)
{
    auto* form = new TForm(GetApplication());
    form->SetBorderStyle(bsDialog);
    form->SetCaption(Caption);
    form->SetCtl3D(FCtl3D);
    form->SetKeyPreview(true);
    cdlg::TDlgUnits u = cdlg::DialogUnitsOf(form);
    form->SetClientWidth(u.X(Width));
    form->SetClientHeight(u.Y(Height));
    form->SetPosition(poScreenCenter);
    return form;
}

void TCommonDialog::ShowHelp() { GetApplication()->HelpContext(FHelpContext); }

} // namespace host
