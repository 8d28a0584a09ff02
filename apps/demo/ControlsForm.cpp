// The standard controls at work on one form: text, lists, choices, numbers,
// buttons with glyphs, shapes and pictures, a main menu and a popup menu.
#include "Demo.h"

#include "host/vcl/Buttons.h"
#include "host/vcl/ExtCtrls.h"
#include "host/vcl/Mask.h"
#include "host/vcl/Menus.h"
#include "host/vcl/Spin.h"
#include "host/vcl/StdCtrls.h"

namespace demo {
namespace {

using namespace host;

TMenuItem* Item(TComponent* Owner, TMenuItem* Parent, const std::string& Caption)
{
    auto* item = new TMenuItem(Owner);
    item->SetCaption(Caption);
    Parent->Add(item);
    return item;
}

// A 16 x 16 glyph on fuchsia (the transparent colour): text-alignment bars
// pushed left (Shift 0), centred (1) or right (2).
std::unique_ptr<TBitmap> AlignGlyph(int Shift)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(16, 16);
    TCanvas* c = bmp->GetCanvas();
    c->GetBrush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, 16, 16));
    c->GetBrush()->SetColor(clBlack);
    for (int row = 0; row < 5; ++row) {
        int width = row % 2 ? 8 : 12;
        int left = 2 + (12 - width) * Shift / 2;
        c->FillRect(Rect(left, 3 + row * 2, left + width, 4 + row * 2));
    }
    return bmp;
}

// A floppy disk: the glyph a disabled Save button embosses.
std::unique_ptr<TBitmap> DiskGlyph()
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(16, 16);
    TCanvas* c = bmp->GetCanvas();
    c->GetBrush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, 16, 16));
    c->GetBrush()->SetColor(clNavy);
    c->FillRect(Rect(2, 2, 14, 14));
    c->GetBrush()->SetColor(clWhite);
    c->FillRect(Rect(4, 2, 12, 7));
    c->GetBrush()->SetColor(clBlack);
    c->FillRect(Rect(5, 10, 11, 14));
    return bmp;
}

// A small sky-and-hills picture for the image control.
std::unique_ptr<TBitmap> Landscape(int W, int H)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(W, H);
    TCanvas* c = bmp->GetCanvas();
    for (int y = 0; y < H; ++y) {
        c->GetBrush()->SetColor(TColor(RGB(120 + y * 100 / H, 170 + y * 60 / H, 255)));
        c->FillRect(Rect(0, y, W, y + 1));
    }
    c->GetBrush()->SetColor(clYellow);
    c->GetPen()->SetColor(clOlive);
    c->Ellipse(W - 26, 6, W - 8, 24);
    c->GetBrush()->SetColor(clGreen);
    c->GetPen()->SetColor(clGreen);
    c->Ellipse(-20, H / 2, W / 2 + 10, H + 30);
    c->Ellipse(W / 3, H / 2 + 8, W + 30, H + 40);
    return bmp;
}

void BuildMenus(TForm* Form, TControl* PopupOwner)
{
    auto* menu = new TMainMenu(Form);
    menu->SetName("MainMenu");
    TMenuItem* file = Item(Form, menu->GetItems(), "&File");
    Item(Form, file, "&New");
    Item(Form, file, "&Open...");
    Item(Form, file, "-");
    Item(Form, file, "E&xit");
    TMenuItem* view = Item(Form, menu->GetItems(), "&View");
    Item(Form, view, "&Toolbar")->SetChecked(true);
    Item(Form, view, "&Status bar");
    Item(Form, menu->GetItems(), "&Help");
    Form->SetMenu(menu);

    auto* popup = new TPopupMenu(Form);
    popup->SetName("EditPopup");
    Item(Form, popup->GetItems(), "Cu&t");
    Item(Form, popup->GetItems(), "&Copy");
    Item(Form, popup->GetItems(), "&Paste");
    Item(Form, popup->GetItems(), "-");
    Item(Form, popup->GetItems(), "Word &wrap")->SetChecked(true);
    PopupOwner->SetPopupMenu(popup);
    Form->SetPopupMenu(popup);
}

void BuildToolbar(TForm* Form)
{
    const char* names[] = {"AlignLeft", "AlignCenter", "AlignRight"};
    for (int i = 0; i < 3; ++i) {
        auto* b = Add<TSpeedButton>(Form, Form, names[i], 8 + i * 25, 6, 25, 25);
        b->SetGroupIndex(1);
        std::unique_ptr<TBitmap> glyph = AlignGlyph(i);
        b->SetGlyph(glyph.get());
        b->SetDown(i == 0);
    }
    auto* flat = Add<TSpeedButton>(Form, Form, "FlatBold", 92, 6, 25, 25);
    flat->SetFlat(true);
    flat->SetCaption("B");
    flat->GetFont()->SetStyle(TFontStyles{fsBold});
    auto* save = Add<TSpeedButton>(Form, Form, "SaveButton", 122, 6, 60, 25);
    std::unique_ptr<TBitmap> disk = DiskGlyph();
    save->SetGlyph(disk.get());
    save->SetCaption("Save");
    save->SetEnabled(false);
}

// Returns the memo, which gets the popup menu.
TMemo* BuildTextColumn(TForm* Form)
{
    auto* nameLabel = Add<TLabel>(Form, Form, "NameLabel", 8, 44, 40, 16);
    nameLabel->SetCaption("&Name:");
    auto* name = Add<TEdit>(Form, Form, "NameEdit", 52, 40, 136, 24);
    name->SetText("Grace Hopper");
    nameLabel->SetFocusControl(name);

    auto* memo = Add<TMemo>(Form, Form, "NotesMemo", 8, 72, 180, 72);
    memo->GetLines()->Add("Notes for the order:");
    memo->GetLines()->Add("deliver before noon,");
    memo->GetLines()->Add("ring twice.");

    auto* list = Add<TListBox>(Form, Form, "CitiesList", 8, 152, 180, 100);
    for (const char* city : {"Amsterdam", "Berlin", "Cairo", "Dublin", "Edinburgh", "Florence", "Geneva"})
        list->GetItems()->Add(city);
    list->SetMultiSelect(true);
    list->SetSelected(1, true);
    list->SetSelected(3, true);
    list->SetSelected(4, true);
    return memo;
}

void BuildChoiceColumn(TForm* Form)
{
    auto* combo = Add<TComboBox>(Form, Form, "CityCombo", 200, 40, 170, 24);
    for (const char* s : {"Lisbon", "Madrid", "Naples"}) combo->GetItems()->Add(s);
    combo->SetText("Lisbon");
    auto* list = Add<TComboBox>(Form, Form, "ShipCombo", 200, 70, 170, 24);
    list->SetStyle(csDropDownList);
    for (const char* s : {"Air mail", "Courier", "Sea freight"}) list->GetItems()->Add(s);
    list->SetItemIndex(1);

    auto* checked = Add<TCheckBox>(Form, Form, "GiftCheck", 200, 102, 170, 20);
    checked->SetCaption("&Gift wrapping");
    checked->SetChecked(true);
    auto* grayed = Add<TCheckBox>(Form, Form, "InsureCheck", 200, 124, 170, 20);
    grayed->SetCaption("&Insurance (some items)");
    grayed->SetAllowGrayed(true);
    grayed->SetState(cbGrayed);
    auto* disabled = Add<TCheckBox>(Form, Form, "ExpressCheck", 200, 146, 170, 20);
    disabled->SetCaption("&Express (unavailable)");
    disabled->SetEnabled(false);

    auto* group = Add<TRadioGroup>(Form, Form, "PaymentGroup", 200, 170, 170, 82);
    group->SetCaption("&Payment");
    group->SetColumns(2);
    for (const char* s : {"Cash", "Cheque", "Card", "Invoice"}) group->GetItems()->Add(s);
    group->SetItemIndex(2);
}

void BuildNumberColumn(TForm* Form)
{
    auto* scroll = Add<TScrollBar>(Form, Form, "ZoomBar", 382, 42, 210, 17);
    scroll->SetPosition(35);
    auto* spinLabel = Add<TLabel>(Form, Form, "QtyLabel", 382, 74, 30, 16);
    spinLabel->SetCaption("&Qty:");
    auto* spin = Add<TSpinEdit>(Form, Form, "QtySpin", 414, 70, 60, 24);
    spin->SetMinValue(1);
    spin->SetMaxValue(99);
    spin->SetValue(12);
    spinLabel->SetFocusControl(spin);
    auto* phone = Add<TMaskEdit>(Form, Form, "PhoneEdit", 482, 70, 110, 24);
    phone->SetEditMask("!\\(999\\) 000-0000;1;_");
    phone->SetText("(555) 123-4567");

    auto* rounded = Add<TShape>(Form, Form, "NoteShape", 382, 104, 100, 64);
    rounded->SetShape(stRoundRect);
    rounded->GetBrush()->SetColor(clYellow);
    rounded->GetPen()->SetWidth(2);
    auto* circle = Add<TShape>(Form, Form, "StampShape", 494, 104, 40, 40);
    circle->SetShape(stCircle);
    circle->GetBrush()->SetColor(clRed);

    auto* image = Add<TImage>(Form, Form, "ViewImage", 382, 176, 210, 76);
    std::unique_ptr<TBitmap> picture = Landscape(210, 76);
    image->GetPicture()->SetBitmap(picture.get());
}

TBitBtn* BuildBitButtons(TForm* Form)
{
    const TBitBtnKind kinds[] = {bkOK, bkCancel, bkYes, bkNo, bkHelp, bkRetry, bkClose};
    TBitBtn* ok = nullptr;
    for (size_t i = 0; i < std::size(kinds); ++i) {
        auto* b = Add<TBitBtn>(Form, Form, "BitBtn" + std::to_string(i), 8 + int(i) * 84, 266, 80, 28);
        b->SetKind(kinds[i]);
        if (i == 0) ok = b;
    }
    auto* ignore = Add<TBitBtn>(Form, Form, "IgnoreBtn", 8, 300, 80, 28);
    ignore->SetKind(bkIgnore);
    ignore->SetEnabled(false);
    auto* all = Add<TBitBtn>(Form, Form, "AllBtn", 92, 300, 80, 28);
    all->SetKind(bkAll);
    all->SetLayout(blGlyphTop);
    all->SetHeight(40);
    auto* old = Add<TBitBtn>(Form, Form, "AbortBtn", 176, 300, 80, 28);
    old->SetKind(bkAbort);
    old->SetStyle(bsWin31);
    return ok;
}

TForm* CreateControlsForm(TComponent* Owner)
{
    auto* form = new TForm(Owner);
    form->SetName("ControlsForm");
    form->SetCaption("Standard controls");
    form->SetBorderStyle(bsSingle);
    form->SetPosition(poScreenCenter);
    BuildToolbar(form);
    TMemo* memo = BuildTextColumn(form);
    BuildChoiceColumn(form);
    BuildNumberColumn(form);
    TBitBtn* ok = BuildBitButtons(form);
    BuildMenus(form, memo);
    // After the menu bar, which takes its height from the client area.
    form->SetClientWidth(600);
    form->SetClientHeight(348);
    ok->SetTabOrder(0);  // focused when the form shows: the default frame and the focus rectangle
    return form;
}

const TRegisterForm Registered{"controls", "Standard &controls...", &CreateControlsForm};

} // namespace
} // namespace demo
