// The modeless find and replace dialogs.
#include "host/vcl/CommonDialogs.h"
#include "host/vcl/CommonDialogsInternal.h"

namespace host {

using namespace cdlg;

// The form of a find or replace dialog; it belongs to the dialog component
// and lives until the component goes, hidden between uses.
class TFindDialogForm : public TForm {
    HOST_CLASS(TFindDialogForm, TForm)
    friend class TFindDialog;
    friend class TReplaceDialog;

public:
    TFindDialogForm(TFindDialog* ADialog, bool AReplace);
    // Shows what the dialog's properties say: the texts and the options.
    void LoadFromDialog();
    void LoadOptions();
    // The text and the boxes, into the dialog's properties.
    void StoreToDialog();

private:
    void BuildFind(const TDlgUnits& U);
    void BuildReplace(const TDlgUnits& U);
    void PlaceOption(TControl* Control, bool Hidden, bool Disabled);
    void TextChanged();

    TFindDialog* FDialog;
    bool FReplace;
    TEdit* FFindEdit = nullptr;
    TEdit* FReplaceEdit = nullptr;
    TCheckBox* FWholeWord = nullptr;
    TCheckBox* FMatchCase = nullptr;
    TGroupBox* FDirection = nullptr;
    TRadioButton* FUp = nullptr;
    TRadioButton* FDown = nullptr;
    TButton* FFindNext = nullptr;
    TButton* FReplaceButton = nullptr;
    TButton* FReplaceAll = nullptr;
    TButton* FHelp = nullptr;
};

TFindDialogForm::TFindDialogForm(TFindDialog* ADialog, bool AReplace)
    : TForm(ADialog), FDialog(ADialog), FReplace(AReplace)
{
    SetName(AReplace ? "ReplaceDialogForm" : "FindDialogForm");
    SetBorderStyle(bsDialog);
    SetBorderIcons(TBorderIcons{biSystemMenu});
    SetCaption(AReplace ? "Replace" : "Find");
    SetKeyPreview(true);
    TDlgUnits u = DialogUnitsOf(this);
    if (AReplace)
        BuildReplace(u);
    else
        BuildFind(u);
    FFindNext->SetDefault(true);
    FFindNext->OnClick = [this](TObject*) { FDialog->Find(); };
    auto* cancel = static_cast<TButton*>(FindComponent("Cancel"));
    cancel->SetCancel(true);
    cancel->OnClick = [this](TObject*) { FDialog->CloseDialog(); };
    FHelp->OnClick = [this](TObject*) { FDialog->ShowHelp(); };
    FFindEdit->OnChange = [this](TObject*) { TextChanged(); };
    OnClose = [](TObject*, TCloseAction& Action) { Action = caHide; };
}

void TFindDialogForm::BuildFind(const TDlgUnits& U)
{
    SetClientWidth(U.X(236));
    SetClientHeight(U.Y(64));
    FFindEdit = Place<TEdit>(this, this, "FindText", U, 47, 7, 128, 12);
    PlaceLabel(this, this, "Fi&nd what:", U, 4, 9, 42, 8, FFindEdit);
    FWholeWord = PlaceCheck(this, this, "WholeWord", "Match &whole word only", U, 4, 26, 100, 12, false);
    FMatchCase = PlaceCheck(this, this, "MatchCase", "Match &case", U, 4, 42, 64, 12, false);
    FDirection = Place<TGroupBox>(this, this, "Direction", U, 107, 26, 68, 28);
    FDirection->SetCaption("Direction");
    FUp = PlaceRadio(this, FDirection, "Up", "&Up", U, 4, 12, 28, 12, false);
    FDown = PlaceRadio(this, FDirection, "Down", "&Down", U, 34, 12, 32, 12, true);
    FFindNext = PlaceButton(this, "FindNext", "&Find Next", U, 182, 5, 50, 14);
    PlaceButton(this, "Cancel", "Cancel", U, 182, 23, 50, 14);
    FHelp = PlaceButton(this, "Help", "&Help", U, 182, 45, 50, 14);
}

void TFindDialogForm::BuildReplace(const TDlgUnits& U)
{
    SetClientWidth(U.X(230));
    SetClientHeight(U.Y(94));
    FFindEdit = Place<TEdit>(this, this, "FindText", U, 54, 7, 114, 12);
    PlaceLabel(this, this, "Fi&nd what:", U, 4, 9, 48, 8, FFindEdit);
    FReplaceEdit = Place<TEdit>(this, this, "ReplaceText", U, 54, 24, 114, 12);
    PlaceLabel(this, this, "Re&place with:", U, 4, 26, 48, 8, FReplaceEdit);
    FWholeWord = PlaceCheck(this, this, "WholeWord", "Match &whole word only", U, 5, 46, 104, 12, false);
    FMatchCase = PlaceCheck(this, this, "MatchCase", "Match &case", U, 5, 62, 59, 12, false);
    FFindNext = PlaceButton(this, "FindNext", "&Find Next", U, 174, 4, 50, 14);
    FReplaceButton = PlaceButton(this, "Replace", "&Replace", U, 174, 21, 50, 14);
    FReplaceAll = PlaceButton(this, "ReplaceAll", "Replace &All", U, 174, 38, 50, 14);
    PlaceButton(this, "Cancel", "Cancel", U, 174, 55, 50, 14);
    FHelp = PlaceButton(this, "Help", "&Help", U, 174, 75, 50, 14);
    FReplaceButton->OnClick = [this](TObject*) {
        FDialog->FOptions -= frReplaceAll;
        FDialog->FOptions += frReplace;
        static_cast<TReplaceDialog*>(FDialog)->Replace();
    };
    FReplaceAll->OnClick = [this](TObject*) {
        FDialog->FOptions -= frReplace;
        FDialog->FOptions += frReplaceAll;
        static_cast<TReplaceDialog*>(FDialog)->Replace();
    };
}

void TFindDialogForm::PlaceOption(TControl* Control, bool Hidden, bool Disabled)
{
    if (!Control) return;
    Control->SetVisible(!Hidden);
    Control->SetEnabled(!Disabled);
}

void TFindDialogForm::LoadFromDialog()
{
    FFindEdit->SetText(FDialog->FFindText);
    if (FReplaceEdit) FReplaceEdit->SetText(FDialog->FReplaceText);
    LoadOptions();
}

void TFindDialogForm::LoadOptions()
{
    TFindOptions o = FDialog->FOptions;
    FWholeWord->SetChecked(o.Contains(frWholeWord));
    FMatchCase->SetChecked(o.Contains(frMatchCase));
    PlaceOption(FWholeWord, o.Contains(frHideWholeWord), o.Contains(frDisableWholeWord));
    PlaceOption(FMatchCase, o.Contains(frHideMatchCase), o.Contains(frDisableMatchCase));
    if (FDirection) {
        (o.Contains(frDown) ? FDown : FUp)->SetChecked(true);
        PlaceOption(FDirection, o.Contains(frHideUpDown), o.Contains(frDisableUpDown));
        FUp->SetEnabled(!o.Contains(frDisableUpDown));
        FDown->SetEnabled(!o.Contains(frDisableUpDown));
    }
    FHelp->SetVisible(o.Contains(frShowHelp));
    TextChanged();
}

void TFindDialogForm::StoreToDialog()
{
    FDialog->FFindText = FFindEdit->GetText();
    if (FReplaceEdit) FDialog->FReplaceText = FReplaceEdit->GetText();
    TFindOptions& o = FDialog->FOptions;
    auto put = [&o](TFindOption Option, bool On) { On ? o.Include(Option) : o.Exclude(Option); };
    put(frWholeWord, FWholeWord->GetChecked());
    put(frMatchCase, FMatchCase->GetChecked());
    if (FDirection) put(frDown, FDown->GetChecked());
}

// Nothing to search for: the search buttons wait for a text.
void TFindDialogForm::TextChanged()
{
    bool any = !FFindEdit->GetText().empty();
    FFindNext->SetEnabled(any);
    if (FReplaceButton) FReplaceButton->SetEnabled(any);
    if (FReplaceAll) FReplaceAll->SetEnabled(any);
}

// ---- TFindDialog ------------------------------------------------------------------------------

TFindDialog::TFindDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

void TFindDialog::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FForm) FForm = nullptr;
}

bool TFindDialog::Execute()
{
    bool fresh = !FForm;
    if (fresh) FForm = new TFindDialogForm(this, IsReplaceDialog());
    FForm->SetCtl3D(FCtl3D);
    FForm->LoadFromDialog();
    if (FPosition.x >= 0 && FPosition.y >= 0) {
        FForm->SetBounds(FPosition.x, FPosition.y, FForm->GetWidth(), FForm->GetHeight());
    } else if (fresh) {
        FForm->SetBounds((GetScreen()->GetWidth() - FForm->GetWidth()) / 2,
                         (GetScreen()->GetHeight() - FForm->GetHeight()) / 3, FForm->GetWidth(), FForm->GetHeight());
    }
    FForm->Show();
    return true;
}

void TFindDialog::CloseDialog()
{
    if (!FForm) return;
    FForm->StoreToDialog();
    FForm->Hide();
}

TForm* TFindDialog::GetForm() const { return FForm; }

// Each setter changes only its own part of a shown dialog, so that what the
// user typed elsewhere stays.
void TFindDialog::SetFindText(const std::string& Value)
{
    FFindText = Value;
    if (FForm) FForm->FFindEdit->SetText(Value);
}

void TFindDialog::SetOptions(TFindOptions Value)
{
    FOptions = Value;
    if (FForm) FForm->LoadOptions();
}

TPoint TFindDialog::GetPosition() const
{
    if (FForm) return TPoint{FForm->GetLeft(), FForm->GetTop()};
    return FPosition;
}

void TFindDialog::SetPosition(const TPoint& Value)
{
    FPosition = Value;
    if (FForm) FForm->SetBounds(Value.x, Value.y, FForm->GetWidth(), FForm->GetHeight());
}

// Each button press reports exactly one action in Options: frFindNext,
// frReplace or frReplaceAll.
void TFindDialog::Find()
{
    if (FForm) FForm->StoreToDialog();
    FOptions -= TFindOptions{frReplace, frReplaceAll};
    FOptions += frFindNext;
    if (OnFind) OnFind(this);
}

void TReplaceDialog::SetReplaceText(const std::string& Value)
{
    FReplaceText = Value;
    if (FForm && FForm->FReplaceEdit) FForm->FReplaceEdit->SetText(Value);
}

void TReplaceDialog::Replace()
{
    if (FForm) FForm->StoreToDialog();
    FOptions -= frFindNext;
    if (OnReplace) OnReplace(this);
}

} // namespace host
