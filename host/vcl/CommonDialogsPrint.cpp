// The print dialog (range, copies, collation, printing to a file) and the
// printer setup dialog (which printer, which orientation).
#include "host/vcl/CommonDialogs.h"
#include "host/vcl/CommonDialogsInternal.h"
#include "host/vcl/Printers.h"

#include <algorithm>
#include <memory>

namespace host {

using namespace cdlg;

namespace {

constexpr int MaxCopies = 9999;

std::string CurrentPrinterName()
{
    TStrings* printers = Printer()->GetPrinters();
    int i = Printer()->GetPrinterIndex();
    return i >= 0 && i < printers->GetCount() ? printers->GetStrings(i) : std::string("(none)");
}

} // namespace

class TPrintDialogForm : public TForm {
    HOST_CLASS(TPrintDialogForm, TForm)
public:
    TPrintDialogForm(TComponent* AOwner, TPrintDialog* ADialog);
    // The fields, checked, into the dialog; false (after telling the user)
    // when one is wrong.
    bool Store();

private:
    void BuildRange(const TDlgUnits& U);
    bool CheckPage(TEdit* Edit, int& Page);

    TPrintDialog* FDialog;
    TLabel* FPrinterName = nullptr;
    TRadioButton* FAll = nullptr;
    TRadioButton* FSelection = nullptr;
    TRadioButton* FPages = nullptr;
    TEdit* FFrom = nullptr;
    TEdit* FTo = nullptr;
    TEdit* FCopies = nullptr;
    TCheckBox* FToFile = nullptr;
    TCheckBox* FCollate = nullptr;
};

TPrintDialogForm::TPrintDialogForm(TComponent* AOwner, TPrintDialog* ADialog) : TForm(AOwner), FDialog(ADialog)
{
    SetName("PrintDialogForm");
    SetBorderStyle(bsDialog);
    SetCaption("Print");
    SetKeyPreview(true);
    SetCtl3D(ADialog->GetCtl3D());
    TDlgUnits u = DialogUnitsOf(this);
    SetClientWidth(u.X(252));
    SetClientHeight(u.Y(132));
    SetPosition(poScreenCenter);
    TPrintDialogOptions o = ADialog->FOptions;
    PlaceLabel(this, this, "Printer:", u, 4, 6, 30, 9);
    FPrinterName = PlaceLabel(this, this, CurrentPrinterName(), u, 36, 6, 164, 9);
    FPrinterName->SetName("PrinterName");
    FPrinterName->SetShowAccelChar(false);
    BuildRange(u);
    FCopies = Place<TEdit>(this, this, "Copies", u, 184, 100, 24, 12);
    FCopies->SetText(std::to_string(std::max(1, ADialog->FCopies)));
    PlaceLabel(this, this, "&Copies:", u, 150, 102, 32, 9, FCopies);
    FToFile = PlaceCheck(this, this, "PrintToFile", "Print to fi&le", u, 4, 116, 100, 12, ADialog->FPrintToFile);
    FToFile->SetVisible(o.Contains(poPrintToFile));
    FToFile->SetEnabled(!o.Contains(poDisablePrintToFile));
    FCollate = PlaceCheck(this, this, "Collate", "Colla&te copies", u, 150, 116, 80, 12, ADialog->FCollate);
    PlaceOKCancel(this, u, TPoint{206, 4}, TPoint{206, 21}, 42, 14);
    static_cast<TButton*>(FindComponent("OK"))->OnClick = [this](TObject*) {
        if (Store()) SetModalResult(mrOk);
    };
    auto* setup = PlaceButton(this, "Setup", "&Setup...", u, 206, 40, 42, 14);
    setup->OnClick = [this](TObject*) {
        auto* dialog = new TPrinterSetupDialog(nullptr);
        std::unique_ptr<TPrinterSetupDialog, void (*)(TPrinterSetupDialog*)> guard(
            dialog, [](TPrinterSetupDialog* d) { d->Free(); });
        dialog->SetHelpContext(FDialog->GetHelpContext());
        if (dialog->Execute()) FPrinterName->SetCaption(CurrentPrinterName());
    };
    auto* help = PlaceButton(this, "Help", "&Help", u, 206, 57, 42, 14);
    help->SetVisible(o.Contains(poHelp));
    help->OnClick = [this](TObject*) { FDialog->ShowHelp(); };
}

void TPrintDialogForm::BuildRange(const TDlgUnits& U)
{
    TPrintDialogOptions o = FDialog->FOptions;
    auto* group = Place<TGroupBox>(this, this, "PrintRange", U, 4, 20, 140, 74);
    group->SetCaption("Print range");
    TPrintRange range = FDialog->FPrintRange;
    if ((range == prSelection && !o.Contains(poSelection)) || (range == prPageNums && !o.Contains(poPageNums)))
        range = prAllPages;
    FAll = PlaceRadio(this, group, "AllPages", "&All", U, 6, 12, 100, 12, range == prAllPages);
    FSelection = PlaceRadio(this, group, "Selection", "S&election", U, 6, 25, 100, 12, range == prSelection);
    FSelection->SetEnabled(o.Contains(poSelection));
    FPages = PlaceRadio(this, group, "Pages", "&Pages", U, 6, 38, 100, 12, range == prPageNums);
    FPages->SetEnabled(o.Contains(poPageNums));
    FFrom = Place<TEdit>(this, group, "FromPage", U, 36, 54, 26, 12);
    PlaceLabel(this, group, "&From:", U, 14, 56, 22, 9, FFrom);
    FTo = Place<TEdit>(this, group, "ToPage", U, 88, 54, 26, 12);
    PlaceLabel(this, group, "&To:", U, 72, 56, 16, 9, FTo);
    if (FDialog->FFromPage > 0) FFrom->SetText(std::to_string(FDialog->FFromPage));
    if (FDialog->FToPage > 0) FTo->SetText(std::to_string(FDialog->FToPage));
    for (TEdit* e : {FFrom, FTo}) {
        e->SetEnabled(o.Contains(poPageNums));
        // Typing a page number means printing pages.
        e->OnChange = [this](TObject* Sender) {
            if (static_cast<TEdit*>(Sender)->Focused()) FPages->SetChecked(true);
        };
    }
}

bool TPrintDialogForm::CheckPage(TEdit* Edit, int& Page)
{
    int lo = FDialog->FMinPage, hi = FDialog->FMaxPage;
    bool unbounded = hi <= 0;
    if (!ParseInt(Edit->GetText(), Page) || Page < std::max(lo, 1) || (!unbounded && Page > hi)) {
        Warn(unbounded ? Format("This value is not within the page range.\nEnter a number from %d up.",
                                {std::max(lo, 1)})
                       : Format("This value is not within the page range.\nEnter a number between %d and %d.",
                                {std::max(lo, 1), hi}));
        Edit->SetFocus();
        Edit->SelectAll();
        return false;
    }
    return true;
}

bool TPrintDialogForm::Store()
{
    int copies = 0;
    if (!ParseInt(FCopies->GetText(), copies) || copies < 1 || copies > MaxCopies) {
        Warn(Format("The number of copies must be between 1 and %d.", {MaxCopies}));
        FCopies->SetFocus();
        return false;
    }
    int from = FDialog->FFromPage, to = FDialog->FToPage;
    if (FPages->GetChecked()) {
        if (!CheckPage(FFrom, from) || !CheckPage(FTo, to)) return false;
        if (from > to) {
            Warn("The 'From' value cannot be greater than the 'To' value.");
            FFrom->SetFocus();
            return false;
        }
    }
    FDialog->FCopies = copies;
    FDialog->FFromPage = from;
    FDialog->FToPage = to;
    FDialog->FPrintRange = FPages->GetChecked() ? prPageNums : FSelection->GetChecked() ? prSelection : prAllPages;
    FDialog->FCollate = FCollate->GetChecked();
    if (FToFile->GetVisible()) FDialog->FPrintToFile = FToFile->GetChecked();
    return true;
}

bool TPrintDialog::Execute()
{
    if (FOptions.Contains(poWarning) && Printer()->GetPrinters()->GetCount() == 0) {
        Warn("No printers are installed.");
        return false;
    }
    TFormPtr form(new TPrintDialogForm(GetApplication(), this));
    if (form->ShowModal() != mrOk) return false;
    Printer()->SetCopies(FCopies);
    return true;
}

// ---- Printer setup -----------------------------------------------------------------------------

// A sheet of paper standing or lying, with a large letter on it, so the
// choice of orientation shows at a glance.
class TOrientationView : public TGraphicControl {
    HOST_CLASS(TOrientationView, TGraphicControl)
public:
    explicit TOrientationView(TComponent* AOwner) : TGraphicControl(AOwner) {}
    void SetLandscape(bool Value)
    {
        if (Value == FLandscape) return;
        FLandscape = Value;
        Invalidate();
    }

protected:
    void Paint() override
    {
        TCanvas* c = GetCanvas();
        int w = GetWidth(), h = GetHeight();
        int pw = FLandscape ? w : w * 3 / 4, ph = FLandscape ? h * 3 / 4 : h;
        TRect page{(w - pw) / 2, (h - ph) / 2, (w - pw) / 2 + pw, (h - ph) / 2 + ph};
        c->GetPen()->SetColor(clBlack);
        c->GetBrush()->SetColor(clWhite);
        c->Rectangle(page);
        c->GetFont()->SetName("Times New Roman");
        c->GetFont()->SetHeight(-(std::min(pw, ph) * 2 / 3));
        c->GetBrush()->SetStyle(bsClear);
        RECT r = page;
        DrawText(c->GetHandle(), "A", 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

private:
    bool FLandscape = false;
};

bool TPrinterSetupDialog::Execute()
{
    TFormPtr form(CreateDialogForm("Print Setup", 232, 104));
    form->SetName("PrinterSetupForm");
    TForm* f = form.get();
    TDlgUnits u = DialogUnitsOf(f);
    auto* printerGroup = Place<TGroupBox>(f, f, "PrinterGroup", u, 4, 4, 176, 40);
    printerGroup->SetCaption("Printer");
    auto* printers = Place<TComboBox>(f, printerGroup, "Printers", u, 8, 18, 160, 12);
    printers->SetStyle(csDropDownList);
    printers->GetItems()->Assign(Printer()->GetPrinters());
    if (printers->GetItems()->GetCount() > 0) printers->SetItemIndex(Printer()->GetPrinterIndex());
    PlaceLabel(f, printerGroup, "&Name:", u, 8, 8, 60, 9, printers);
    auto* orientation = Place<TGroupBox>(f, f, "Orientation", u, 4, 50, 176, 48);
    orientation->SetCaption("Orientation");
    bool landscape = Printer()->GetOrientation() == poLandscape;
    auto* view = new TOrientationView(f);
    view->SetBounds(u.X(10), u.Y(12), u.X(24), u.Y(30));
    view->SetParent(orientation);
    view->SetLandscape(landscape);
    auto* portrait = PlaceRadio(f, orientation, "Portrait", "Po&rtrait", u, 44, 14, 70, 12, !landscape);
    auto* wide = PlaceRadio(f, orientation, "Landscape", "&Landscape", u, 44, 28, 70, 12, landscape);
    portrait->OnClick = [view](TObject*) { view->SetLandscape(false); };
    wide->OnClick = [view](TObject*) { view->SetLandscape(true); };
    PlaceOKCancel(f, u, TPoint{186, 6}, TPoint{186, 23}, 42, 14);
    static_cast<TButton*>(f->FindComponent("OK"))->SetModalResult(mrOk);
    auto* help = PlaceButton(f, "Help", "&Help", u, 186, 42, 42, 14);
    help->SetVisible(FHelpContext != 0);
    help->OnClick = [this](TObject*) { ShowHelp(); };
    if (f->ShowModal() != mrOk) return false;
    if (printers->GetItemIndex() >= 0) Printer()->SetPrinterIndex(printers->GetItemIndex());
    Printer()->SetOrientation(wide->GetChecked() ? poLandscape : poPortrait);
    return true;
}

} // namespace host
