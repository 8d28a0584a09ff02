// Containers and the common dialogs: an editable string grid of invoices, a
// tabbed notebook with an outline and a tree view on its pages, and buttons
// that open a file, pick a font or search the grid. The run without a display
// also photographs each common dialog.
#include <cstdio>

#include "Demo.h"

#include "host/vcl/ComCtrls.h"
#include "host/vcl/Dialogs.h"
#include "host/vcl/Grids.h"
#include "host/vcl/Outline.h"
#include "host/vcl/StdCtrls.h"
#include "host/vcl/TabNotbk.h"

namespace demo {
namespace {

using namespace host;

void FillGrid(TStringGrid* Grid)
{
    static const char* const heads[] = {"", "Invoice", "Customer", "Date", "Amount", "Paid"};
    static const char* const customers[] = {"Harbour Books", "Ostrander & Sons", "Pike Mills",
                                            "Quayside Dental", "Rowan Farms", "Tillman Glass"};
    Grid->SetColCount(6);
    Grid->SetRowCount(41);
    Grid->SetFixedCols(1);
    Grid->SetFixedRows(1);
    Grid->SetDefaultRowHeight(18);
    Grid->SetColWidths(0, 28);
    Grid->SetColWidths(2, 112);
    Grid->SetOptions(Grid->GetOptions() + TGridOptions{goEditing, goColSizing, goTabs});
    for (int c = 1; c < 6; ++c) Grid->SetCells(c, 0, heads[c]);
    for (int r = 1; r < Grid->GetRowCount(); ++r) {
        char text[32];
        std::snprintf(text, sizeof text, "%d", r);
        Grid->SetCells(0, r, text);
        std::snprintf(text, sizeof text, "INV-%04d", 1000 + r);
        Grid->SetCells(1, r, text);
        Grid->SetCells(2, r, customers[r % 6]);
        std::snprintf(text, sizeof text, "%02d/%02d/2026", 1 + r % 12, 1 + (r * 7) % 28);
        Grid->SetCells(3, r, text);
        std::snprintf(text, sizeof text, "%d.%02d", 40 + r * 37 % 900, r * 13 % 100);
        Grid->SetCells(4, r, text);
        Grid->SetCells(5, r, r % 3 ? "Yes" : "No");
    }
    Grid->SetSelection(TGridRect{2, 3, 4, 5});
}

void FillOutline(TOutline* Outline)
{
    int sales = Outline->Add(0, "Sales");
    int north = Outline->AddChild(sales, "North region");
    Outline->AddChild(north, "Harbour Books");
    Outline->AddChild(north, "Pike Mills");
    int south = Outline->AddChild(sales, "South region");
    Outline->AddChild(south, "Rowan Farms");
    int purchases = Outline->Add(sales, "Purchases");
    Outline->AddChild(purchases, "Paper");
    Outline->AddChild(purchases, "Ink");
    Outline->Add(purchases, "Payroll");
    Outline->FullExpand();
    Outline->SetSelectedItem(north);
}

void FillTree(TTreeView* Tree)
{
    TTreeNodes* nodes = Tree->GetItems();
    TTreeNode* ledger = nodes->Add(nullptr, "General ledger");
    TTreeNode* assets = nodes->AddChild(ledger, "Assets");
    nodes->AddChild(assets, "Cash");
    nodes->AddChild(assets, "Receivables");
    TTreeNode* liabilities = nodes->AddChild(ledger, "Liabilities");
    nodes->AddChild(liabilities, "Payables");
    nodes->Add(ledger, "Budgets");
    ledger->Expand(true);
    Tree->SetSelected(assets);
}

void AddNotebook(TForm* Form)
{
    auto* book = Add<TTabbedNotebook>(Form, Form, "Book", 396, 8, 220, 250);
    book->GetPages()->Clear();
    book->GetPages()->Add("Accounts");
    book->GetPages()->Add("Outline");
    book->GetPages()->Add("Notes");
    auto* tree = Add<TTreeView>(Form, book->GetPage(0), "Accounts", 4, 4, 196, 204);
    FillTree(tree);
    auto* outline = Add<TOutline>(Form, book->GetPage(1), "Regions", 4, 4, 196, 204);
    FillOutline(outline);
    auto* notes = Add<TMemo>(Form, book->GetPage(2), "Notes", 4, 4, 196, 204);
    notes->GetLines()->Add("Tabs switch pages; Ctrl+Tab too.");
    book->SetPageIndex(0);
}

void AddButtons(TForm* Form, TStringGrid* Grid)
{
    auto* fileLabel = Add<TLabel>(Form, Form, "FileLabel", 8, 272, 380, 16);
    fileLabel->SetCaption("No file chosen");
    auto* open = Add<TButton>(Form, Form, "OpenButton", 396, 266, 104, 25);
    open->SetCaption("&Open a file...");
    auto* dialog = new TOpenDialog(Form);
    dialog->SetFilter("Text files (*.txt)|*.txt|All files (*.*)|*.*");
    dialog->SetOptions(TOpenOptions{ofFileMustExist, ofHideReadOnly});
    open->OnClick = [dialog, fileLabel](TObject*) {
        if (dialog->Execute()) fileLabel->SetCaption(dialog->GetFileName());
    };
    auto* find = Add<TButton>(Form, Form, "FindButton", 512, 266, 104, 25);
    find->SetCaption("&Find...");
    auto* finder = new TFindDialog(Form);
    finder->OnFind = [finder, Grid](TObject*) {
        // Search forward from the cell after the current one, row by row.
        const int cols = Grid->GetColCount(), rows = Grid->GetRowCount();
        int start = Grid->GetRow() * cols + Grid->GetCol() + 1;
        for (int i = start; i < cols * rows; ++i) {
            int c = i % cols, r = i / cols;
            if (c < Grid->GetFixedCols() || r < Grid->GetFixedRows()) continue;
            if (Grid->GetCells(c, r).find(finder->GetFindText()) == std::string::npos) continue;
            Grid->SetCol(c);
            Grid->SetRow(r);
            return;
        }
        ShowMessage("\"" + finder->GetFindText() + "\" was not found.");
    };
    find->OnClick = [finder](TObject*) { finder->Execute(); };
}

TForm* CreateContainersForm(TComponent* Owner)
{
    auto* form = new TForm(Owner);
    form->SetName("ContainersForm");
    form->SetCaption("Grids, notebooks and trees");
    form->SetBorderStyle(bsSingle);
    form->SetPosition(poScreenCenter);
    form->SetClientWidth(624);
    form->SetClientHeight(300);
    auto* grid = Add<TStringGrid>(form, form, "Invoices", 8, 8, 380, 250);
    FillGrid(grid);
    AddNotebook(form);
    AddButtons(form, grid);
    return form;
}

const TRegisterForm Registered{"containers", "&Grids, notebooks and trees...", &CreateContainersForm};

// Each common dialog once, for its photograph.
template <class T>
HWND Modal(TComponent* Owner, const std::function<void(T*)>& Prepare = {})
{
    auto* dialog = new T(Owner);
    if (Prepare) Prepare(dialog);
    dialog->Execute();
    return nullptr;
}

template <class T>
HWND Modeless(TComponent* Owner)
{
    auto* dialog = new T(Owner);
    dialog->SetFindText("Harbour");
    dialog->Execute();
    return dialog->GetForm()->GetHandle();
}

const TRegisterDialog OpenShot{"dialog-open", [](TComponent* Owner) {
                                   return Modal<TOpenDialog>(Owner, [](TOpenDialog* d) {
                                       d->SetFilter("All files (*.*)|*.*");
                                       d->SetInitialDir("/etc");
                                   });
                               }};
const TRegisterDialog SaveShot{"dialog-save", [](TComponent* Owner) {
                                   return Modal<TSaveDialog>(Owner, [](TSaveDialog* d) {
                                       d->SetFilter("Text files (*.txt)|*.txt|All files (*.*)|*.*");
                                       d->SetInitialDir("/usr/share");
                                   });
                               }};
const TRegisterDialog FontShot{"dialog-font", [](TComponent* Owner) { return Modal<TFontDialog>(Owner); }};
const TRegisterDialog ColorShot{"dialog-color", [](TComponent* Owner) { return Modal<TColorDialog>(Owner); }};
const TRegisterDialog PrintShot{"dialog-print", [](TComponent* Owner) { return Modal<TPrintDialog>(Owner); }};
const TRegisterDialog SetupShot{"dialog-printer-setup",
                                [](TComponent* Owner) { return Modal<TPrinterSetupDialog>(Owner); }};
const TRegisterDialog FindShot{"dialog-find", &Modeless<TFindDialog>};
const TRegisterDialog ReplaceShot{"dialog-replace", &Modeless<TReplaceDialog>};

} // namespace
} // namespace demo
