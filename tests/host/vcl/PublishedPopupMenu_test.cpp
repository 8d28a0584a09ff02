// The standard controls publish PopupMenu: a form file keeps the link, and
// reading it back points each control at the form's own popup menu.
#include "FormsTest.h"

#include "host/vcl/Buttons.h"
#include "host/vcl/ComCtrls.h"
#include "host/vcl/ExtCtrls.h"
#include "host/vcl/Filer.h"
#include "host/vcl/Mask.h"
#include "host/vcl/Menus.h"
#include "host/vcl/Spin.h"
#include "host/vcl/StdCtrls.h"

namespace formstest {
namespace {

template <class T>
TControl* Create(TComponent* Owner)
{
    return new T(Owner);
}

TEST_F(FormsTest, StandardControlsKeepTheirPopupMenuInFormFiles)
{
    struct Row {
        const char* Class;
        TControl* (*Make)(TComponent*);
    } rows[] = {
        {"TLabel", &Create<TLabel>},           {"TEdit", &Create<TEdit>},
        {"TMemo", &Create<TMemo>},             {"TButton", &Create<TButton>},
        {"TCheckBox", &Create<TCheckBox>},     {"TRadioButton", &Create<TRadioButton>},
        {"TListBox", &Create<TListBox>},       {"TComboBox", &Create<TComboBox>},
        {"TScrollBar", &Create<TScrollBar>},   {"TGroupBox", &Create<TGroupBox>},
        {"TRadioGroup", &Create<TRadioGroup>}, {"TPanel", &Create<TPanel>},
        {"TImage", &Create<TImage>},           {"TMaskEdit", &Create<TMaskEdit>},
        {"TSpinEdit", &Create<TSpinEdit>},     {"TBitBtn", &Create<TBitBtn>},
        {"TStatusBar", &Create<TStatusBar>},
    };
    TForm* form = MakeForm("PopupForm");
    auto* popup = new TPopupMenu(form);
    popup->SetName("Pop");
    form->SetPopupMenu(popup);
    int n = 0;
    for (const Row& r : rows) {
        TControl* c = r.Make(form);
        c->SetName("C" + std::to_string(n++));
        c->SetParent(form);
        c->SetPopupMenu(popup);
        EXPECT_NE(GetPropInfo(c, "PopupMenu"), nullptr) << r.Class;
    }

    std::string data = WriteComponentToString(form);
    TForm* copy = MakeForm("Copy");
    ReadComponentFromString(data, copy);
    auto* pop = dynamic_cast<TPopupMenu*>(copy->FindComponent("Pop"));
    ASSERT_NE(pop, nullptr);
    EXPECT_EQ(copy->GetPopupMenu(), pop);
    n = 0;
    for (const Row& r : rows) {
        auto* c = dynamic_cast<TControl*>(copy->FindComponent("C" + std::to_string(n++)));
        ASSERT_NE(c, nullptr) << r.Class;
        EXPECT_EQ(std::string(c->ClassName()), r.Class);
        EXPECT_EQ(c->GetPopupMenu(), pop) << r.Class;
    }
}

} // namespace
} // namespace formstest
