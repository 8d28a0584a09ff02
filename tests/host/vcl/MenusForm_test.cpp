// A form's main menu: the bar on the form's window, commands and shortcuts.
#include "FormsTest.h"

#include "host/vcl/Menus.h"

namespace {

using namespace host;
using namespace formstest;

class MenusFormTest : public FormsTest {
protected:
    TMenuItem* Item(TComponent* Owner, const std::string& Caption, TShortCut Key = 0)
    {
        auto* item = new TMenuItem(Owner);
        item->SetCaption(Caption);
        item->SetShortCut(Key);
        item->OnClick = TNotifyEvent([this](TObject* Sender) {
            FClicks.push_back(static_cast<TMenuItem*>(Sender)->GetCaption());
        });
        return item;
    }
    std::vector<std::string> FClicks;
};

TEST_F(MenusFormTest, TheMainMenuIsTheFormsMenuBar)
{
    TForm* form = MakeForm("MenuForm");
    form->SetClientHeight(150);
    auto* menu = new TMainMenu(form);
    TMenuItem* file = Item(form, "&File");
    file->Add(Item(form, "&Open", ShortCut('O', {ssCtrl})));
    file->Add(Item(form, "&Close"));
    menu->GetItems()->Add(file);
    form->SetMenu(menu);
    form->Show();
    ProcessPendingMessages();
    EXPECT_EQ(GetMenu(form->GetHandle()), menu->GetHandle());
    // The form keeps its height; the bar takes its room from the client area.
    EXPECT_EQ(form->GetClientHeight(), 150 - GetSystemMetrics(SM_CYMENU));

    RECT bar{};
    ASSERT_TRUE(GetMenuItemRect(form->GetHandle(), menu->GetHandle(), 0, &bar));
    SetModalHook([&](HWND) {
        RECT r{};
        GetMenuItemRect(nullptr, file->GetHandle(), 1, &r);
        Input::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    });
    Input::Click((bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2);
    SetModalHook(nullptr);
    ProcessPendingMessages();
    EXPECT_EQ(FClicks, (std::vector<std::string>{"&File", "&Close"})) << "the item opening its menu clicks first";

    FClicks.clear();
    SetModalHook([](HWND) { Input::KeyPress(VK_RETURN); });
    Input::KeyPress('F', Input::Alt);
    SetModalHook(nullptr);
    ProcessPendingMessages();
    EXPECT_EQ(FClicks, (std::vector<std::string>{"&File", "&Open"}));

    FClicks.clear();
    Input::KeyPress('O', Input::Ctrl);
    EXPECT_EQ(FClicks, (std::vector<std::string>{"&File", "&Open"})) << "the shortcut works with the menu closed";
    Screenshot(form->GetHandle(), "/tmp/kel_menus_form.png");

    menu->Free();
    EXPECT_EQ(form->GetMenu(), nullptr);
    EXPECT_EQ(GetMenu(form->GetHandle()), nullptr);
}

}  // namespace
