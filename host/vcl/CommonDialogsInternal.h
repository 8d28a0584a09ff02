#pragma once
// What the common dialogs' forms share: placing named controls in dialog
// units (a quarter of the font's average character width, an eighth of its
// height, as dialog templates measure) and the messages they show.
#include <memory>
#include <string>

#include "host/vcl/CommonDialogs.h"
#include "host/vcl/Dialogs.h"
#include "host/vcl/StdCtrls.h"

namespace host::cdlg {

struct TDlgUnits {
    int CharWidth = 6;
    int CharHeight = 13;
    int X(int Units) const { return Units * CharWidth / 4; }
    int Y(int Units) const { return Units * CharHeight / 8; }
};

TDlgUnits DialogUnitsOf(TForm* Form);

// Frees a dialog's form when Execute returns, however it returns.
struct TFormFree {
    void operator()(TForm* Form) const { Form->Free(); }
};
using TFormPtr = std::unique_ptr<TForm, TFormFree>;

// A control of class T named Name, on Parent, at a rectangle given in
// dialog units.
template <class T>
T* Place(TForm* Form, TWinControl* Parent, const std::string& Name, const TDlgUnits& U, int X, int Y, int W, int H)
{
    auto* c = new T(Form);
    c->SetName(Name);
    c->SetBounds(U.X(X), U.Y(Y), U.X(W), U.Y(H));
    c->SetParent(Parent);
    return c;
}

TLabel* PlaceLabel(TForm* Form, TWinControl* Parent, const std::string& Caption, const TDlgUnits& U, int X, int Y,
                   int W, int H, TWinControl* FocusControl = nullptr);
TButton* PlaceButton(TForm* Form, const std::string& Name, const std::string& Caption, const TDlgUnits& U, int X,
                     int Y, int W, int H, TModalResult Result = mrNone);
// The OK and Cancel pair every modal dialog has: OK is the default button
// (with no modal result: its handler checks the input first), Cancel answers
// Escape.
void PlaceOKCancel(TForm* Form, const TDlgUnits& U, TPoint OK, TPoint Cancel, int W, int H);
TCheckBox* PlaceCheck(TForm* Form, TWinControl* Parent, const std::string& Name, const std::string& Caption,
                      const TDlgUnits& U, int X, int Y, int W, int H, bool Checked);
TRadioButton* PlaceRadio(TForm* Form, TWinControl* Parent, const std::string& Name, const std::string& Caption,
                         const TDlgUnits& U, int X, int Y, int W, int H, bool Checked);

// A warning with an OK button, the way the dialogs reject input.
void Warn(const std::string& Text);
// Yes/No confirmation; true for Yes.
bool Confirm(const std::string& Text);

// A whole number in Text, or false when it holds none.
bool ParseInt(const std::string& Text, int& Value);

} // namespace host::cdlg
