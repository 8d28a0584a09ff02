// The font dialog: face, style and size lists with their edit fields, the
// effects, and a sample drawn in the font being chosen.
#include "host/vcl/CommonDialogs.h"
#include "host/vcl/CommonDialogsInternal.h"
#include "host/vcl/Printers.h"

#include <algorithm>

namespace host {

using namespace cdlg;

namespace {

const char* const StyleNames[] = {"Regular", "Italic", "Bold", "Bold Italic"};
const int StandardSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
// The largest point size the dialog accepts when the program sets no limit.
constexpr int LargestSize = 1638;

struct TNamedColor {
    const char* Name;
    TColor Color;
};
const TNamedColor EffectColors[] = {
    {"Black", clBlack}, {"Maroon", clMaroon}, {"Green", clGreen},     {"Olive", clOlive},
    {"Navy", clNavy},   {"Purple", clPurple}, {"Teal", clTeal},       {"Gray", clGray},
    {"Silver", clSilver}, {"Red", clRed},     {"Lime", clLime},       {"Yellow", clYellow},
    {"Blue", clBlue},   {"Fuchsia", clFuchsia}, {"Aqua", clAqua},     {"White", clWhite},
};

int StyleIndexOf(TFontStyles Style) { return (Style.Contains(fsBold) ? 2 : 0) + (Style.Contains(fsItalic) ? 1 : 0); }

// Exact match first, then the first item that starts with Text (both
// without regard to case); -1 when none.
int FindItem(TStrings* Items, const std::string& Text, bool Prefix)
{
    for (int i = 0; i < Items->GetCount(); ++i)
        if (SameText(Items->GetStrings(i), Text)) return i;
    if (!Prefix || Text.empty()) return -1;
    for (int i = 0; i < Items->GetCount(); ++i)
        if (SameText(Items->GetStrings(i).substr(0, Text.size()), Text)) return i;
    return -1;
}

} // namespace

// The sample: text in the chosen font, centred in a sunken box.
class TFontSampleView : public TGraphicControl {
    HOST_CLASS(TFontSampleView, TGraphicControl)
public:
    explicit TFontSampleView(TComponent* AOwner) : TGraphicControl(AOwner) {}

protected:
    void Paint() override
    {
        TCanvas* c = GetCanvas();
        TRect r = GetClientRect();
        c->GetBrush()->SetColor(clBtnFace);
        c->FillRect(r);
        DrawEdge(c->GetHandle(), &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        c->GetFont()->Assign(GetFont());
        c->GetBrush()->SetStyle(bsClear);
        std::string text = GetText();
        RECT tr = r;
        DrawText(c->GetHandle(), text.c_str(), int(text.size()), &tr,
                 DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
};

class TFontDialogForm : public TForm {
    HOST_CLASS(TFontDialogForm, TForm)
public:
    TFontDialogForm(TComponent* AOwner, TFontDialog* ADialog);
    // Checks the fields and puts the font they describe into the dialog's
    // Font; false (after telling the user) when a field is wrong.
    bool StoreFont();

private:
    void BuildLists(const TDlgUnits& U);
    void BuildEffects(const TDlgUnits& U);
    void FillFaces();
    void FillSizes();
    void LoadFont();
    void ListClicked(TListBox* List, TEdit* Edit);
    void EditChanged(TEdit* Edit, TListBox* List);
    // The font the fields describe, or false with Error set.
    bool FontFromFields(TFont* Font, std::string& Error, TWinControl*& Culprit);
    void UpdateSample();
    bool LimitsSizes() const;

    TFontDialog* FDialog;
    TFontDialogOptions FOptions;
    TEdit* FFaceEdit = nullptr;
    TListBox* FFaces = nullptr;
    TEdit* FStyleEdit = nullptr;
    TListBox* FStyles = nullptr;
    TEdit* FSizeEdit = nullptr;
    TListBox* FSizes = nullptr;
    TCheckBox* FStrikeout = nullptr;
    TCheckBox* FUnderline = nullptr;
    TComboBox* FColors = nullptr;
    TFontSampleView* FSample = nullptr;
    bool FLoading = false;
};

TFontDialogForm::TFontDialogForm(TComponent* AOwner, TFontDialog* ADialog)
    : TForm(AOwner), FDialog(ADialog), FOptions(ADialog->FOptions)
{
    SetName("FontDialogForm");
    SetBorderStyle(bsDialog);
    SetCaption("Font");
    SetKeyPreview(true);
    SetCtl3D(ADialog->GetCtl3D());
    TDlgUnits u = DialogUnitsOf(this);
    SetClientWidth(u.X(276));
    SetClientHeight(u.Y(150));
    SetPosition(poScreenCenter);
    BuildLists(u);
    BuildEffects(u);
    PlaceOKCancel(this, u, TPoint{220, 13}, TPoint{220, 30}, 50, 14);
    auto* apply = PlaceButton(this, "Apply", "&Apply", u, 220, 47, 50, 14);
    apply->SetVisible(bool(ADialog->OnApply));
    apply->OnClick = [this](TObject*) {
        if (!StoreFont()) return;
        if (FDialog->OnApply) FDialog->OnApply(FDialog, GetHandle());
    };
    auto* help = PlaceButton(this, "Help", "&Help", u, 220, apply->GetVisible() ? 64 : 47, 50, 14);
    help->SetVisible(FOptions.Contains(fdShowHelp));
    help->OnClick = [this](TObject*) { FDialog->ShowHelp(); };
    static_cast<TButton*>(FindComponent("OK"))->OnClick = [this](TObject*) {
        if (StoreFont()) SetModalResult(mrOk);
    };
    FillFaces();
    FillSizes();
    LoadFont();
}

void TFontDialogForm::BuildLists(const TDlgUnits& U)
{
    FFaceEdit = Place<TEdit>(this, this, "FaceEdit", U, 6, 13, 94, 12);
    FFaces = Place<TListBox>(this, this, "Faces", U, 6, 26, 94, 50);
    PlaceLabel(this, this, "&Font:", U, 6, 3, 94, 9, FFaceEdit);
    FStyleEdit = Place<TEdit>(this, this, "StyleEdit", U, 108, 13, 64, 12);
    FStyles = Place<TListBox>(this, this, "Styles", U, 108, 26, 64, 50);
    PlaceLabel(this, this, "Font st&yle:", U, 108, 3, 64, 9, FStyleEdit);
    FSizeEdit = Place<TEdit>(this, this, "SizeEdit", U, 180, 13, 32, 12);
    FSizes = Place<TListBox>(this, this, "Sizes", U, 180, 26, 32, 50);
    PlaceLabel(this, this, "&Size:", U, 180, 3, 32, 9, FSizeEdit);
    for (const char* s : StyleNames) FStyles->GetItems()->Add(s);
    FFaces->SetSorted(true);
    FFaces->OnClick = [this](TObject*) { ListClicked(FFaces, FFaceEdit); };
    FStyles->OnClick = [this](TObject*) { ListClicked(FStyles, FStyleEdit); };
    FSizes->OnClick = [this](TObject*) { ListClicked(FSizes, FSizeEdit); };
    FFaceEdit->OnChange = [this](TObject*) { EditChanged(FFaceEdit, FFaces); };
    FStyleEdit->OnChange = [this](TObject*) { EditChanged(FStyleEdit, FStyles); };
    FSizeEdit->OnChange = [this](TObject*) { EditChanged(FSizeEdit, FSizes); };
}

void TFontDialogForm::BuildEffects(const TDlgUnits& U)
{
    bool effects = FOptions.Contains(fdEffects);
    auto* group = Place<TGroupBox>(this, this, "Effects", U, 6, 82, 84, 62);
    group->SetCaption("Effects");
    group->SetVisible(effects);
    FStrikeout = PlaceCheck(this, group, "Strikeout", "Stri&keout", U, 5, 10, 70, 11, false);
    FUnderline = PlaceCheck(this, group, "Underline", "&Underline", U, 5, 22, 70, 11, false);
    PlaceLabel(this, group, "&Color:", U, 5, 35, 40, 9);
    FColors = Place<TComboBox>(this, group, "Colors", U, 5, 45, 72, 12);
    FColors->SetStyle(csDropDownList);
    for (const TNamedColor& c : EffectColors) FColors->GetItems()->Add(c.Name);
    FColors->FOnChange = [this](TObject*) { UpdateSample(); };
    FStrikeout->OnClick = [this](TObject*) { UpdateSample(); };
    FUnderline->OnClick = [this](TObject*) { UpdateSample(); };
    auto* sampleGroup = Place<TGroupBox>(this, this, "SampleGroup", U, effects ? 98 : 6, 82, effects ? 114 : 206, 62);
    sampleGroup->SetCaption("Sample");
    FSample = new TFontSampleView(this);
    FSample->SetName("Sample");
    FSample->SetBounds(U.X(6), U.Y(12), sampleGroup->GetWidth() - U.X(12), U.Y(44));
    FSample->SetParent(sampleGroup);
    FSample->SetCaption("AaBbYyZz");
}

// The fonts of the chosen device; every one here is a scalable outline
// font, so only the pitch and the printer's fonts (fdWysiwyg) narrow it.
void TFontDialogForm::FillFaces()
{
    std::vector<std::string> names;
    auto addAll = [&names](TStrings* S) {
        for (int i = 0; i < S->GetCount(); ++i)
            if (std::find(names.begin(), names.end(), S->GetStrings(i)) == names.end()) names.push_back(S->GetStrings(i));
    };
    TFontDialogDevice device = FDialog->GetDevice();
    if (device != fdPrinter) addAll(GetScreen()->GetFonts());
    if (device != fdScreen) addAll(Printer()->GetFonts());
    if (FOptions.Contains(fdWysiwyg)) {
        TStrings* printerFonts = Printer()->GetFonts();
        TStrings* screenFonts = GetScreen()->GetFonts();
        std::erase_if(names, [&](const std::string& n) {
            return printerFonts->IndexOf(n) < 0 || screenFonts->IndexOf(n) < 0;
        });
    }
    if (FOptions.Contains(fdFixedPitchOnly)) {
        TFont probe;
        TCanvas* c = GetCanvas();
        std::erase_if(names, [&](const std::string& n) {
            probe.SetName(n);
            probe.SetSize(10);
            c->SetFont(&probe);
            return c->TextWidth("iiiiiiii") != c->TextWidth("WWWWWWWW");
        });
    }
    for (const std::string& n : names) FFaces->GetItems()->Add(n);
}

void TFontDialogForm::FillSizes()
{
    for (int s : StandardSizes) {
        if (LimitsSizes() && FDialog->GetMinFontSize() > 0 && s < FDialog->GetMinFontSize()) continue;
        if (LimitsSizes() && FDialog->GetMaxFontSize() > 0 && s > FDialog->GetMaxFontSize()) continue;
        FSizes->GetItems()->Add(std::to_string(s));
    }
}

bool TFontDialogForm::LimitsSizes() const { return FOptions.Contains(fdLimitSize); }

void TFontDialogForm::LoadFont()
{
    TFont* f = FDialog->GetFont();
    FLoading = true;
    if (!FOptions.Contains(fdNoFaceSel)) FFaceEdit->SetText(f->GetName());
    if (!FOptions.Contains(fdNoStyleSel)) FStyleEdit->SetText(StyleNames[StyleIndexOf(f->GetStyle())]);
    if (!FOptions.Contains(fdNoSizeSel)) FSizeEdit->SetText(std::to_string(f->GetSize()));
    FStrikeout->SetChecked(f->GetStyle().Contains(fsStrikeOut));
    FUnderline->SetChecked(f->GetStyle().Contains(fsUnderline));
    TColor rgb = TColor(ColorToRGB(f->GetColor()));
    for (int i = 0; i < int(std::size(EffectColors)); ++i)
        if (TColor(ColorToRGB(EffectColors[i].Color)) == rgb) FColors->SetItemIndex(i);
    FLoading = false;
    UpdateSample();
}

void TFontDialogForm::ListClicked(TListBox* List, TEdit* Edit)
{
    int i = List->GetItemIndex();
    if (i < 0) return;
    FLoading = true;
    Edit->SetText(List->GetItems()->GetStrings(i));
    FLoading = false;
    UpdateSample();
}

// Typing in a field selects the item it names (or starts to name).
void TFontDialogForm::EditChanged(TEdit* Edit, TListBox* List)
{
    if (!FLoading) {
        int i = FindItem(List->GetItems(), Trim(Edit->GetText()), Edit == FFaceEdit);
        List->SetItemIndex(i);
        if (i >= 0) List->SetTopIndex(i);
    } else {
        List->SetItemIndex(FindItem(List->GetItems(), Trim(Edit->GetText()), false));
    }
    UpdateSample();
}

bool TFontDialogForm::FontFromFields(TFont* Font, std::string& Error, TWinControl*& Culprit)
{
    Font->Assign(FDialog->GetFont());
    std::string face = Trim(FFaceEdit->GetText());
    if (!face.empty()) {
        int i = FindItem(FFaces->GetItems(), face, false);
        if (i >= 0) face = FFaces->GetItems()->GetStrings(i);
        if (i < 0 && FOptions.Contains(fdForceFontExist)) {
            Error = "There is no font with that name.\nChoose a font from the list of fonts.";
            Culprit = FFaceEdit;
            return false;
        }
        Font->SetName(face);
    }
    TFontStyles style = Font->GetStyle();
    std::string styleText = Trim(FStyleEdit->GetText());
    if (!styleText.empty()) {
        int i = FindItem(FStyles->GetItems(), styleText, false);
        if (i < 0) {
            Error = "There is no style of this font with that name.\nChoose a style from the list of styles.";
            Culprit = FStyleEdit;
            return false;
        }
        style -= TFontStyles{fsBold, fsItalic};
        if (i & 1) style += fsItalic;
        if (i & 2) style += fsBold;
    }
    FStrikeout->GetChecked() ? style.Include(fsStrikeOut) : style.Exclude(fsStrikeOut);
    FUnderline->GetChecked() ? style.Include(fsUnderline) : style.Exclude(fsUnderline);
    Font->SetStyle(style);
    std::string sizeText = Trim(FSizeEdit->GetText());
    if (!sizeText.empty()) {
        int size = 0;
        if (!ParseInt(sizeText, size)) {
            Error = "Size must be a number.";
            Culprit = FSizeEdit;
            return false;
        }
        int lo = 1, hi = LargestSize;
        if (LimitsSizes()) {
            if (FDialog->GetMinFontSize() > 0) lo = FDialog->GetMinFontSize();
            if (FDialog->GetMaxFontSize() > 0) hi = std::min(hi, FDialog->GetMaxFontSize());
        }
        if (size < lo || size > hi) {
            Error = Format("Size must be between %d and %d points.", {lo, hi});
            Culprit = FSizeEdit;
            return false;
        }
        Font->SetSize(size);
    }
    if (FOptions.Contains(fdEffects) && FColors->GetItemIndex() >= 0)
        Font->SetColor(EffectColors[FColors->GetItemIndex()].Color);
    return true;
}

bool TFontDialogForm::StoreFont()
{
    TFont font;
    std::string error;
    TWinControl* culprit = nullptr;
    if (!FontFromFields(&font, error, culprit)) {
        Warn(error);
        if (culprit && culprit->CanFocus()) culprit->SetFocus();
        return false;
    }
    FDialog->GetFont()->Assign(&font);
    return true;
}

void TFontDialogForm::UpdateSample()
{
    if (!FSample) return;
    TFont font;
    std::string error;
    TWinControl* culprit = nullptr;
    // Half-typed fields leave the sample as it was.
    if (!FontFromFields(&font, error, culprit)) return;
    FSample->SetFont(&font);
    FSample->Invalidate();
}

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(std::make_unique<TFont>()) {}

bool TFontDialog::Execute()
{
    TFormPtr form(new TFontDialogForm(GetApplication(), this));
    return form->ShowModal() == mrOk;
}

} // namespace host
