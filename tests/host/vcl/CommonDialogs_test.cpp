// Find, replace, colour, font and print dialogs, worked through their
// controls with injected input; the modal ones answered through the modal hook.
#include "DialogTest.h"

#include "host/vcl/Dialogs.h"
#include "host/vcl/Filer.h"
#include "host/vcl/Printers.h"
#include "host/vcl/StdCtrls.h"

#include <cstdlib>

namespace formstest {
namespace {

void ClickListItem(TForm* Form, const std::string& Name, const std::string& Item)
{
    auto* list = Find<TListBox>(Form, Name);
    if (!list) return;
    int i = list->GetItems()->IndexOf(Item);
    ASSERT_GE(i, 0) << Item;
    list->SetTopIndex(i);
    TRect r = list->ItemRect(i);
    ClickAt(list, r.left + 5, (r.top + r.bottom) / 2);
}

void Shoot(HWND Wnd, const std::string& Name)
{
    if (const char* dir = std::getenv("KEL_SCREENSHOTS")) Screenshot(Wnd, std::string(dir) + "/" + Name + ".png");
}

// Answers a message dialog that a modal dialog raised: records its text and
// clicks Button.
bool AnswerMessage(HWND Wnd, std::string& Text, const std::string& Button)
{
    auto* msg = dynamic_cast<TMessageForm*>(FindControl(Wnd));
    if (!msg) return false;
    Text = dynamic_cast<TLabel*>(msg->FindComponent("Message"))->GetCaption();
    ClickCentre(msg, Button);
    return true;
}

// ---- Find and replace ------------------------------------------------------------------------

TEST_F(FormsTest, FindDialogReportsTextAndOptionsOnFindNext)
{
    struct Case {
        bool WholeWord, MatchCase, Up;
        TFindOptions Expected;
    } cases[] = {
        {false, false, false, TFindOptions{frDown, frFindNext}},
        {true, false, false, TFindOptions{frDown, frFindNext, frWholeWord}},
        {false, true, true, TFindOptions{frFindNext, frMatchCase}},
        {true, true, false, TFindOptions{frDown, frFindNext, frMatchCase, frWholeWord}},
    };
    for (const Case& k : cases) {
        auto* dialog = new TFindDialog(nullptr);
        std::vector<std::pair<std::string, TFindOptions>> finds;
        dialog->OnFind = [&](TObject* Sender) {
            auto* d = static_cast<TFindDialog*>(Sender);
            finds.push_back({d->GetFindText(), d->GetOptions()});
        };
        EXPECT_TRUE(dialog->Execute());
        TForm* form = dialog->GetForm();
        ASSERT_NE(form, nullptr);
        EXPECT_TRUE(form->GetVisible());
        EXPECT_FALSE(Find<TButton>(form, "FindNext")->GetEnabled());  // nothing to find yet
        TypeInto(form, "FindText", "Smith");
        EXPECT_TRUE(Find<TButton>(form, "FindNext")->GetEnabled());
        if (k.WholeWord) ClickCentre(form, "WholeWord");
        if (k.MatchCase) ClickCentre(form, "MatchCase");
        if (k.Up) ClickCentre(form, "Up");
        Shoot(form->GetHandle(), "find-dialog");
        ClickCentre(form, "FindNext");
        ASSERT_EQ(finds.size(), 1u);
        EXPECT_EQ(finds[0].first, "Smith");
        EXPECT_EQ(finds[0].second, k.Expected) << finds[0].second.ToInt();
        // Return presses Find Next again; Escape closes the dialog.
        Input::KeyPress(VK_RETURN);
        EXPECT_EQ(finds.size(), 2u);
        Input::KeyPress(VK_ESCAPE);
        EXPECT_FALSE(form->GetVisible());
        dialog->Free();
    }
    EXPECT_EQ(Screen->GetFormCount(), 0);
}

TEST_F(FormsTest, ReplaceDialogSetsOneActionPerButton)
{
    auto* dialog = new TReplaceDialog(nullptr);
    std::vector<std::string> log;
    auto record = [&](const char* Event) {
        return [&log, Event](TObject* Sender) {
            auto* d = static_cast<TReplaceDialog*>(Sender);
            TFindOptions o = d->GetOptions();
            std::string flags = std::string(o.Contains(frFindNext) ? "N" : "") + (o.Contains(frReplace) ? "R" : "") +
                                (o.Contains(frReplaceAll) ? "A" : "") + (o.Contains(frMatchCase) ? "c" : "");
            log.push_back(std::string(Event) + ":" + d->GetFindText() + ">" + d->GetReplaceText() + ":" + flags);
        };
    };
    dialog->OnFind = record("find");
    dialog->OnReplace = record("replace");
    dialog->SetFindText("colour");
    dialog->Execute();
    TForm* form = dialog->GetForm();
    Shoot(form->GetHandle(), "replace-dialog");
    EXPECT_EQ(Find<TEdit>(form, "FindText")->GetText(), "colour");
    TypeInto(form, "ReplaceText", "color");
    ClickCentre(form, "MatchCase");
    ClickCentre(form, "Replace");
    ClickCentre(form, "ReplaceAll");
    ClickCentre(form, "FindNext");
    std::vector<std::string> expected = {"replace:colour>color:Rc", "replace:colour>color:Ac",
                                         "find:colour>color:Nc"};
    EXPECT_EQ(log, expected);
    ClickCentre(form, "Cancel");
    EXPECT_FALSE(form->GetVisible());
    dialog->Free();
}

TEST_F(FormsTest, FindDialogOptionsHideAndDisableItsControls)
{
    struct Case {
        TFindOptions Options;
        std::string Control;
        bool Visible, Enabled;
    } cases[] = {
        {TFindOptions{frHideMatchCase}, "MatchCase", false, true},
        {TFindOptions{frDisableMatchCase}, "MatchCase", true, false},
        {TFindOptions{frHideWholeWord}, "WholeWord", false, true},
        {TFindOptions{frDisableWholeWord}, "WholeWord", true, false},
        {TFindOptions{frHideUpDown}, "Direction", false, true},
        {TFindOptions{frDisableUpDown}, "Up", true, false},
        {TFindOptions{}, "Help", false, true},
        {TFindOptions{frShowHelp}, "Help", true, true},
    };
    for (const Case& k : cases) {
        auto* dialog = new TFindDialog(nullptr);
        dialog->SetOptions(k.Options);
        dialog->Execute();
        TControl* c = Find(dialog->GetForm(), k.Control);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->GetVisible(), k.Visible) << k.Control;
        EXPECT_EQ(c->GetEnabled(), k.Enabled) << k.Control;
        dialog->Free();
    }
}

TEST_F(FormsTest, FindDialogKeepsItsPositionAndShowsAgain)
{
    auto* dialog = new TFindDialog(nullptr);
    dialog->SetPosition(TPoint{40, 50});
    dialog->Execute();
    TForm* form = dialog->GetForm();
    EXPECT_EQ(form->GetLeft(), 40);
    EXPECT_EQ(form->GetTop(), 50);
    dialog->CloseDialog();
    EXPECT_FALSE(form->GetVisible());
    dialog->SetPosition(TPoint{70, 20});
    dialog->Execute();
    EXPECT_EQ(dialog->GetForm(), form);  // the same form, shown again
    EXPECT_TRUE(form->GetVisible());
    EXPECT_EQ(dialog->GetPosition().x, 70);
    EXPECT_EQ(dialog->GetPosition().y, 20);
    // Options set by the program while the dialog is up keep what was typed.
    TypeInto(form, "FindText", "typed");
    dialog->SetOptions(TFindOptions{frMatchCase});
    EXPECT_EQ(Find<TEdit>(form, "FindText")->GetText(), "typed");
    EXPECT_TRUE(Find<TCheckBox>(form, "MatchCase")->GetChecked());
    EXPECT_TRUE(Find<TRadioButton>(form, "Up")->GetChecked());
    dialog->Free();
    EXPECT_EQ(Screen->GetFormCount(), 0);
}

// ---- Colour ----------------------------------------------------------------------------------

// The centre of cell Index of a colour grid, in the grid's client coordinates.
TPoint CellCentre(TControl* Grid, int Columns, int Rows, int Index)
{
    int w = Grid->GetWidth() / Columns, h = Grid->GetHeight() / Rows;
    return TPoint{(Index % Columns) * w + w / 2, (Index / Columns) * h + h / 2};
}

TEST_F(FormsTest, ColorDialogReturnsTheClickedColour)
{
    auto* dialog = new TColorDialog(nullptr);
    dialog->SetColor(clWhite);
    struct Case {
        int Cell;       // basic colour cell
        bool Ok;
        TColor Expected;
    } cases[] = {
        {8, true, TColor(RGB(255, 0, 0))},
        {28, true, TColor(RGB(0, 0, 255))},
        {18, false, TColor(RGB(0, 0, 255))},  // cancelled: unchanged
    };
    for (const Case& k : cases) {
        SetModalHook([&](HWND Wnd) {
            TForm* form = FormOf(Wnd);
            TControl* grid = Find(form, "BasicColors");
            TPoint p = CellCentre(grid, 8, 6, k.Cell);
            ClickAt(grid, p.x, p.y);
            Shoot(Wnd, "color-dialog");
            ClickCentre(form, k.Ok ? "OK" : "Cancel");
        });
        EXPECT_EQ(dialog->Execute(), k.Ok);
        EXPECT_EQ(dialog->GetColor(), k.Expected) << k.Cell;
    }
    dialog->Free();
}

TEST_F(FormsTest, ColorGridFollowsTheArrowKeys)
{
    auto* dialog = new TColorDialog(nullptr);
    struct Step {
        int Key;
        TColor Color;  // the basic colour chosen after the key
    } steps[] = {
        {VK_RIGHT, TColor(RGB(255, 255, 232))},
        {VK_DOWN, TColor(RGB(255, 255, 128))},
        {VK_LEFT, TColor(RGB(255, 0, 0))},
        {VK_LEFT, TColor(RGB(255, 0, 0))},  // stops at the edge
        {VK_UP, TColor(RGB(255, 128, 128))},
    };
    // Each run clicks the first cell, then presses the first n keys.
    for (size_t n = 1; n <= std::size(steps); ++n) {
        SetModalHook([&](HWND Wnd) {
            TForm* form = FormOf(Wnd);
            TControl* grid = Find(form, "BasicColors");
            TPoint p = CellCentre(grid, 8, 6, 0);
            ClickAt(grid, p.x, p.y);
            for (size_t i = 0; i < n; ++i) Input::KeyPress(steps[i].Key);
            ClickCentre(form, "OK");
        });
        ASSERT_TRUE(dialog->Execute());
        EXPECT_EQ(dialog->GetColor(), steps[n - 1].Color) << n;
    }
    dialog->Free();
}

TEST_F(FormsTest, ColorDialogDefinesCustomColoursFromTheirNumbers)
{
    auto* dialog = new TColorDialog(nullptr);
    dialog->GetCustomColors()->Add("ColorB=00FF00");
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        // The numbers lie beyond the right edge until the dialog opens fully.
        EXPECT_LT(form->GetClientWidth(), Find(form, "HueField")->GetLeft());
        ClickCentre(form, "DefineCustom");
        EXPECT_GT(form->GetClientWidth(), Find(form, "Luminance")->GetLeft());
        TControl* custom = Find(form, "CustomColors");
        TPoint p = CellCentre(custom, 8, 2, 2);
        ClickAt(custom, p.x, p.y);  // choose the slot, then fill it
        TypeInto(form, "Red", "10");
        TypeInto(form, "Green", "20");
        TypeInto(form, "Blue", "30");
        // The same colour as hue, saturation and luminance on their 0..240 scale.
        EXPECT_EQ(Find<TEdit>(form, "Hue")->GetText(), "140");
        EXPECT_EQ(Find<TEdit>(form, "Sat")->GetText(), "120");
        EXPECT_EQ(Find<TEdit>(form, "Lum")->GetText(), "19");
        ClickCentre(form, "AddCustom");
        Shoot(Wnd, "color-dialog-full");
        ClickCentre(form, "OK");
    });
    ASSERT_TRUE(dialog->Execute());
    TStrings* c = dialog->GetCustomColors();
    EXPECT_EQ(c->GetValues("ColorB"), "00FF00");
    EXPECT_EQ(c->GetValues("ColorA"), "FFFFFF");
    EXPECT_EQ(c->GetValues("ColorP"), "FFFFFF");
    // The third cell was chosen, then filled from the numbers typed.
    EXPECT_EQ(c->GetValues("ColorC"), "1E140A");
    EXPECT_EQ(dialog->GetColor(), TColor(RGB(10, 20, 30)));
    dialog->Free();
}

TEST_F(FormsTest, ColorDialogPreventFullOpenDisablesDefining)
{
    auto* dialog = new TColorDialog(nullptr);
    dialog->SetOptions(TColorDialogOptions{cdPreventFullOpen, cdFullOpen});
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        EXPECT_FALSE(Find(form, "DefineCustom")->GetEnabled());
        EXPECT_LT(form->GetClientWidth(), Find(form, "HueField")->GetLeft());
        Input::KeyPress(VK_ESCAPE);
    });
    EXPECT_FALSE(dialog->Execute());
    dialog->Free();
}

// ---- Font ------------------------------------------------------------------------------------

TEST_F(FormsTest, FontDialogReturnsTheChosenFaceStyleAndSize)
{
    auto* dialog = new TFontDialog(nullptr);
    dialog->GetFont()->SetName("Arial");
    dialog->GetFont()->SetSize(10);
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        EXPECT_EQ(Find<TEdit>(form, "FaceEdit")->GetText(), "Arial");
        EXPECT_EQ(Find<TEdit>(form, "SizeEdit")->GetText(), "10");
        ClickListItem(form, "Faces", "Courier New");
        ClickListItem(form, "Styles", "Bold Italic");
        ClickListItem(form, "Sizes", "14");
        ClickCentre(form, "Underline");
        EXPECT_EQ(Find(form, "Sample")->GetFont()->GetName(), "Courier New");
        EXPECT_EQ(Find(form, "Sample")->GetFont()->GetSize(), 14);
        Shoot(Wnd, "font-dialog");
        ClickCentre(form, "OK");
    });
    ASSERT_TRUE(dialog->Execute());
    TFont* f = dialog->GetFont();
    EXPECT_EQ(f->GetName(), "Courier New");
    EXPECT_EQ(f->GetSize(), 14);
    EXPECT_EQ(f->GetStyle(), (TFontStyles{fsBold, fsItalic, fsUnderline}));
    dialog->Free();
}

TEST_F(FormsTest, FontDialogRejectsWhatItCannotUse)
{
    struct Case {
        TFontDialogOptions Options;
        std::string Face, Size;
        std::string Message;   // empty: accepted
    } cases[] = {
        {TFontDialogOptions{}, "Times New Roman", "12", ""},
        {TFontDialogOptions{}, "Times New Roman", "twelve", "Size must be a number."},
        {TFontDialogOptions{}, "Times New Roman", "5000", "Size must be between 1 and 1638 points."},
        {TFontDialogOptions{fdLimitSize}, "Arial", "20", "Size must be between 8 and 16 points."},
        {TFontDialogOptions{fdLimitSize}, "Arial", "16", ""},
        {TFontDialogOptions{fdForceFontExist}, "No Such Face", "10",
         "There is no font with that name.\nChoose a font from the list of fonts."},
        {TFontDialogOptions{}, "No Such Face", "10", ""},
    };
    for (const Case& k : cases) {
        auto* dialog = new TFontDialog(nullptr);
        dialog->SetOptions(k.Options);
        dialog->SetMinFontSize(8);
        dialog->SetMaxFontSize(16);
        std::string message;
        SetModalHook([&](HWND Wnd) {
            if (AnswerMessage(Wnd, message, "OK")) return;
            TForm* form = FormOf(Wnd);
            TypeInto(form, "FaceEdit", k.Face);
            TypeInto(form, "SizeEdit", k.Size);
            ClickCentre(form, "OK");
            if (form->GetModalResult() == mrNone) ClickCentre(form, "Cancel");
        });
        bool ok = dialog->Execute();
        EXPECT_EQ(message, k.Message) << k.Face << " " << k.Size;
        EXPECT_EQ(ok, k.Message.empty()) << k.Face << " " << k.Size;
        if (ok) {
            EXPECT_EQ(dialog->GetFont()->GetName(), k.Face);
        }
        dialog->Free();
    }
}

TEST_F(FormsTest, FontDialogApplyHandsOverTheFontWithoutClosing)
{
    auto* dialog = new TFontDialog(nullptr);
    std::vector<std::string> applied;
    HWND dialogWnd = nullptr;
    dialog->OnApply = [&](TObject* Sender, HWND Wnd) {
        applied.push_back(static_cast<TFontDialog*>(Sender)->GetFont()->GetName());
        EXPECT_EQ(Wnd, dialogWnd);
    };
    SetModalHook([&](HWND Wnd) {
        dialogWnd = Wnd;
        TForm* form = FormOf(Wnd);
        ClickListItem(form, "Faces", "Times New Roman");
        ClickCentre(form, "Apply");
        EXPECT_TRUE(form->GetVisible());
        ClickCentre(form, "Cancel");
    });
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(applied, std::vector<std::string>{"Times New Roman"});
    dialog->Free();
}

TEST_F(FormsTest, FontDialogListsTheFacesItsOptionsAllow)
{
    auto listed = [&](TFontDialogDevice Device, TFontDialogOptions Options) {
        auto* dialog = new TFontDialog(nullptr);
        dialog->SetDevice(Device);
        dialog->SetOptions(Options);
        std::vector<std::string> faces;
        SetModalHook([&](HWND Wnd) {
            auto* list = Find<TListBox>(FormOf(Wnd), "Faces");
            for (int i = 0; i < list->GetItems()->GetCount(); ++i) faces.push_back(list->GetItems()->GetStrings(i));
            Input::KeyPress(VK_ESCAPE);
        });
        dialog->Execute();
        dialog->Free();
        return faces;
    };
    std::vector<std::string> screen;
    for (int i = 0; i < Screen->GetFonts()->GetCount(); ++i) screen.push_back(Screen->GetFonts()->GetStrings(i));
    EXPECT_EQ(listed(fdScreen, {}), screen);
    EXPECT_EQ(listed(fdScreen, TFontDialogOptions{fdFixedPitchOnly}), std::vector<std::string>{"Courier New"});
    // The printer's fonts are the families the font configuration knows.
    std::vector<std::string> printer = listed(fdPrinter, {});
    EXPECT_EQ(int(printer.size()), Printer()->GetFonts()->GetCount());
    std::vector<std::string> both = listed(fdBoth, {});
    EXPECT_GE(both.size(), std::max(printer.size(), screen.size()));
    for (const std::string& f : listed(fdBoth, TFontDialogOptions{fdWysiwyg})) {
        EXPECT_GE(Printer()->GetFonts()->IndexOf(f), 0) << f;
        EXPECT_GE(Screen->GetFonts()->IndexOf(f), 0) << f;
    }
}

TEST_F(FormsTest, FontDialogSelectionOptionsLeaveFieldsEmptyAndTheFontAlone)
{
    auto* dialog = new TFontDialog(nullptr);
    dialog->GetFont()->SetName("Times New Roman");
    dialog->GetFont()->SetSize(11);
    dialog->GetFont()->SetStyle(TFontStyles{fsItalic});
    dialog->SetOptions(TFontDialogOptions{fdNoFaceSel, fdNoSizeSel, fdNoStyleSel, fdShowHelp});
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        for (const char* name : {"FaceEdit", "StyleEdit", "SizeEdit"}) EXPECT_EQ(Find<TEdit>(form, name)->GetText(), "") << name;
        EXPECT_FALSE(Find(form, "Effects")->GetVisible());
        EXPECT_TRUE(Find(form, "Help")->GetVisible());
        EXPECT_FALSE(Find(form, "Apply")->GetVisible());
        ClickCentre(form, "OK");
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->GetFont()->GetName(), "Times New Roman");
    EXPECT_EQ(dialog->GetFont()->GetSize(), 11);
    EXPECT_EQ(dialog->GetFont()->GetStyle(), TFontStyles{fsItalic});
    dialog->Free();
}

// ---- Print -----------------------------------------------------------------------------------

TEST_F(FormsTest, PrintDialogReturnsPageRangeCopiesAndCollation)
{
    auto* dialog = new TPrintDialog(nullptr);
    dialog->SetOptions(TPrintDialogOptions{poPageNums, poPrintToFile});
    dialog->SetMinPage(1);
    dialog->SetMaxPage(12);
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        EXPECT_FALSE(Find(form, "Selection")->GetEnabled());
        EXPECT_TRUE(Find<TRadioButton>(form, "AllPages")->GetChecked());
        TypeInto(form, "FromPage", "2");  // typing a page chooses Pages
        TypeInto(form, "ToPage", "5");
        TypeInto(form, "Copies", "3");
        ClickCentre(form, "Collate");
        ClickCentre(form, "PrintToFile");
        Shoot(Wnd, "print-dialog");
        ClickCentre(form, "OK");
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->GetPrintRange(), prPageNums);
    EXPECT_EQ(dialog->GetFromPage(), 2);
    EXPECT_EQ(dialog->GetToPage(), 5);
    EXPECT_EQ(dialog->GetCopies(), 3);
    EXPECT_TRUE(dialog->GetCollate());
    EXPECT_TRUE(dialog->GetPrintToFile());
    EXPECT_EQ(Printer()->GetCopies(), 3);
    Printer()->SetCopies(1);
    dialog->Free();
}

TEST_F(FormsTest, PrintDialogSetupButtonOpensThePrinterSetup)
{
    auto* dialog = new TPrintDialog(nullptr);
    std::vector<std::string> opened;
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        opened.push_back(form->GetCaption());
        if (form->GetCaption() == "Print Setup") {
            ClickCentre(form, "Landscape");
            ClickCentre(form, "OK");
            return;
        }
        ClickCentre(form, "Setup");
        EXPECT_TRUE(form->GetVisible());  // back in the print dialog
        ClickCentre(form, "Cancel");
    });
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(opened, (std::vector<std::string>{"Print", "Print Setup"}));
    EXPECT_EQ(Printer()->GetOrientation(), poLandscape);
    Printer()->SetOrientation(poPortrait);
    dialog->Free();
}

TEST_F(FormsTest, PrintDialogRejectsPagesOutsideTheRange)
{
    struct Case {
        std::string From, To, Copies;
        std::string Message;
    } cases[] = {
        {"0", "3", "1", "This value is not within the page range.\nEnter a number between 1 and 9."},
        {"2", "10", "1", "This value is not within the page range.\nEnter a number between 1 and 9."},
        {"6", "3", "1", "The 'From' value cannot be greater than the 'To' value."},
        {"2", "3", "0", "The number of copies must be between 1 and 9999."},
        {"x", "3", "1", "This value is not within the page range.\nEnter a number between 1 and 9."},
        {"9", "9", "2", ""},
    };
    for (const Case& k : cases) {
        auto* dialog = new TPrintDialog(nullptr);
        dialog->SetOptions(TPrintDialogOptions{poPageNums});
        dialog->SetMinPage(1);
        dialog->SetMaxPage(9);
        std::string message;
        SetModalHook([&](HWND Wnd) {
            if (AnswerMessage(Wnd, message, "OK")) return;
            TForm* form = FormOf(Wnd);
            ClickCentre(form, "Pages");
            TypeInto(form, "FromPage", k.From);
            TypeInto(form, "ToPage", k.To);
            TypeInto(form, "Copies", k.Copies);
            ClickCentre(form, "OK");
            if (form->GetModalResult() == mrNone) ClickCentre(form, "Cancel");
        });
        EXPECT_EQ(dialog->Execute(), k.Message.empty()) << k.From << "-" << k.To;
        EXPECT_EQ(message, k.Message) << k.From << "-" << k.To;
        dialog->Free();
    }
    Printer()->SetCopies(1);
}

TEST_F(FormsTest, PrinterSetupDialogSetsTheOrientationOnlyOnOK)
{
    ASSERT_EQ(Printer()->GetOrientation(), poPortrait);
    auto* dialog = new TPrinterSetupDialog(nullptr);
    for (bool ok : {false, true}) {
        SetModalHook([&](HWND Wnd) {
            TForm* form = FormOf(Wnd);
            EXPECT_EQ(Find<TComboBox>(form, "Printers")->GetItems()->GetCount(), Printer()->GetPrinters()->GetCount());
            ClickCentre(form, "Landscape");
            Shoot(Wnd, "printer-setup-dialog");
            ClickCentre(form, ok ? "OK" : "Cancel");
        });
        EXPECT_EQ(dialog->Execute(), ok);
        EXPECT_EQ(Printer()->GetOrientation(), ok ? poLandscape : poPortrait);
    }
    Printer()->SetOrientation(poPortrait);
    dialog->Free();
}

TEST_F(FormsTest, CommonDialogsSurviveAFormFile)
{
    for (const char* name : {"TOpenDialog", "TSaveDialog", "TFontDialog", "TColorDialog", "TPrintDialog",
                             "TPrinterSetupDialog", "TFindDialog", "TReplaceDialog"})
        EXPECT_NE(GetClass(name), nullptr) << name;
    auto* open = new TSaveDialog(nullptr);
    open->SetName("SaveDialog1");
    open->SetOptions(TOpenOptions{ofHideReadOnly, ofOverwritePrompt});
    open->SetFilter("Text files|*.txt");
    open->SetFilterIndex(2);
    open->SetDefaultExt("txt");
    open->SetHelpContext(77);
    open->GetHistoryList()->Add("a.txt");
    auto* font = new TFontDialog(nullptr);
    font->SetName("FontDialog1");
    font->GetFont()->SetName("Courier New");
    font->SetOptions(TFontDialogOptions{fdLimitSize, fdTrueTypeOnly});
    font->SetMaxFontSize(20);
    auto* replace = new TReplaceDialog(nullptr);
    replace->SetName("ReplaceDialog1");
    replace->SetFindText("old");
    replace->SetReplaceText("new");
    replace->SetOptions(TFindOptions{frMatchCase, frHideUpDown});
    for (TComponent* c : std::initializer_list<TComponent*>{open, font, replace}) {
        std::string data = WriteComponentToString(c);
        TComponent* copy = ReadComponentFromString(data, nullptr);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->ClassName(), c->ClassName());
        EXPECT_EQ(WriteComponentToString(copy), data);
        if (auto* s = dynamic_cast<TSaveDialog*>(copy)) {
            EXPECT_EQ(s->GetOptions(), (TOpenOptions{ofHideReadOnly, ofOverwritePrompt}));
            EXPECT_EQ(s->GetFilterIndex(), 2);
            EXPECT_EQ(s->GetHelpContext(), 77);
            EXPECT_EQ(s->GetHistoryList()->GetCommaText(), "a.txt");
        }
        if (auto* f = dynamic_cast<TFontDialog*>(copy)) {
            EXPECT_EQ(f->GetFont()->GetName(), "Courier New");
        }
        if (auto* r = dynamic_cast<TReplaceDialog*>(copy)) {
            EXPECT_EQ(r->GetReplaceText(), "new");
        }
        copy->Free();
        c->Free();
    }
}

} // namespace
} // namespace formstest
