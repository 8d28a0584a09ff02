// Message dialogs and input boxes, answered through the modal hook.
#include "FormsTest.h"

#include "host/vcl/Dialogs.h"
#include "host/vcl/StdButtons.h"
#include "host/vcl/StdEdit.h"
#include "host/vcl/StdLabel.h"

#include <cstdlib>

namespace formstest {
namespace {

TForm* FormOf(HWND Wnd) { return dynamic_cast<TForm*>(FindControl(Wnd)); }

void ClickButton(TForm* Form, const std::string& Name)
{
    auto* b = dynamic_cast<TButton*>(Form->FindComponent(Name));
    ASSERT_NE(b, nullptr) << Name;
    TPoint p = b->ClientToScreen(TPoint{b->GetWidth() / 2, b->GetHeight() / 2});
    Input::Click(p.x, p.y);
}

TEST_F(FormsTest, MessageDialogsShowTheirTypeButtonsAndText)
{
    struct Case {
        TMsgDlgType Type;
        TMsgDlgButtons Buttons;
        std::string Caption;
        std::vector<std::string> Names;     // in order, left to right
        std::vector<std::string> Captions;
        std::string Click;
        int Result;
    } cases[] = {
        {mtWarning, mbYesNoCancel, "Warning", {"Yes", "No", "Cancel"}, {"&Yes", "&No", "Cancel"}, "No", mrNo},
        {mtError, mbAbortRetryIgnore, "Error", {"Abort", "Retry", "Ignore"}, {"&Abort", "&Retry", "&Ignore"},
         "Retry", mrRetry},
        {mtInformation, TMsgDlgButtons{mbOK}, "Information", {"OK"}, {"OK"}, "OK", mrOk},
        {mtConfirmation, TMsgDlgButtons{mbYes, mbNo, mbAll, mbHelp}, "Confirmation", {"Yes", "No", "All", "Help"},
         {"&Yes", "&No", "&All", "&Help"}, "All", mrAll},
        {mtCustom, mbOKCancel, "test_vcl", {"OK", "Cancel"}, {"OK", "Cancel"}, "Cancel", mrCancel},
    };
    for (const Case& k : cases) {
        std::string caption, text;
        std::vector<std::string> names, captions;
        SetModalHook([&](HWND Wnd) {
            TForm* form = FormOf(Wnd);
            ASSERT_NE(form, nullptr);
            caption = form->GetCaption();
            auto* label = dynamic_cast<TLabel*>(form->FindComponent("Message"));
            ASSERT_NE(label, nullptr);
            text = label->GetCaption();
            std::vector<TButton*> buttons;
            for (int i = 0; i < form->GetControlCount(); ++i)
                if (auto* b = dynamic_cast<TButton*>(form->GetControls(i))) buttons.push_back(b);
            std::sort(buttons.begin(), buttons.end(), [](TButton* a, TButton* b) { return a->GetLeft() < b->GetLeft(); });
            for (TButton* b : buttons) {
                names.push_back(b->GetName());
                captions.push_back(b->GetCaption());
                EXPECT_EQ(b->GetTop(), buttons.front()->GetTop());
                EXPECT_LE(b->GetBoundsRect().bottom, form->GetClientHeight());
            }
            EXPECT_LE(label->GetBoundsRect().right, form->GetClientWidth());
            ClickButton(form, k.Click);
        });
        int result = MessageDlg("Save the changes to the customer record?", k.Type, k.Buttons, 0);
        EXPECT_EQ(result, k.Result) << k.Caption;
        EXPECT_EQ(caption, k.Caption);
        EXPECT_EQ(text, "Save the changes to the customer record?");
        EXPECT_EQ(names, k.Names) << k.Caption;
        EXPECT_EQ(captions, k.Captions) << k.Caption;
    }
    EXPECT_EQ(Screen->GetFormCount(), 0);  // every dialog was freed
}

TEST_F(FormsTest, ReturnAndEscapeAnswerTheDefaultAndCancelButtons)
{
    struct Case {
        TMsgDlgButtons Buttons;
        int Key;
        int Result;
    } cases[] = {
        {mbYesNoCancel, VK_RETURN, mrYes},
        {mbYesNoCancel, VK_ESCAPE, mrCancel},
        {TMsgDlgButtons{mbYes, mbNo}, VK_ESCAPE, mrNo},
        {TMsgDlgButtons{mbOK}, VK_ESCAPE, mrOk},
        {mbAbortRetryIgnore, VK_RETURN, mrAbort},
    };
    for (const Case& k : cases) {
        SetModalHook([&](HWND) { Input::KeyPress(k.Key); });
        EXPECT_EQ(MessageDlg("Go on?", mtConfirmation, k.Buttons, 0), k.Result) << k.Key;
    }
}

TEST_F(FormsTest, LongTextsMakeWiderAndTallerDialogs)
{
    std::vector<SIZE> sizes;
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        sizes.push_back(SIZE{form->GetWidth(), form->GetHeight()});
        // Centred on the screen.
        EXPECT_NEAR(form->GetLeft() + form->GetWidth() / 2, 400, 1);
        EXPECT_NEAR(form->GetTop() + form->GetHeight() / 2, 300, 1);
        form->SetModalResult(mrOk);
    });
    ShowMessage("Short");
    ShowMessage("A much longer message that needs a much wider dialog to show it on one line");
    std::string paragraph;
    for (int i = 0; i < 30; ++i) paragraph += "Many words that wrap. ";
    ShowMessage(paragraph);
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_GT(sizes[1].cx, sizes[0].cx);
    EXPECT_LE(sizes[2].cx, 800 / 2 + 100);  // wrapped at half the screen
    EXPECT_GT(sizes[2].cy, sizes[1].cy);
}

TEST_F(FormsTest, MessageDlgPosPlacesTheDialogAndShowMessageFmtFormats)
{
    TPoint at{-2, -2};
    std::string text;
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        at = TPoint{form->GetLeft(), form->GetTop()};
        text = dynamic_cast<TLabel*>(form->FindComponent("Message"))->GetCaption();
        form->SetModalResult(mrOk);
    });
    MessageDlgPos("Here", mtInformation, TMsgDlgButtons{mbOK}, 0, 30, 40);
    EXPECT_EQ(at, (TPoint{30, 40}));
    ShowMessageFmt("%d records in %s", {12, "Orders"});
    EXPECT_EQ(text, "12 records in Orders");
}

TEST_F(FormsTest, TheHelpButtonAsksForHelpWithoutClosing)
{
    int context = 0;
    Application->OnHelp = [&](WORD, LPARAM Data, bool&) {
        context = int(Data);
        return true;
    };
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        ClickButton(form, "Help");
        EXPECT_TRUE(form->GetVisible());
        ClickButton(form, "OK");
    });
    EXPECT_EQ(MessageDlg("Need help?", mtInformation, TMsgDlgButtons{mbOK, mbHelp}, 1234), mrOk);
    EXPECT_EQ(context, 1234);
}

TEST_F(FormsTest, InputQueryEditsTheValueAndCancelKeepsIt)
{
    std::string prompt;
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        prompt = dynamic_cast<TLabel*>(form->FindComponent("Prompt"))->GetCaption();
        auto* edit = dynamic_cast<TEdit*>(form->FindComponent("Edit"));
        ASSERT_NE(edit, nullptr);
        EXPECT_TRUE(edit->Focused());
        Input::TypeText("Smith");  // replaces the selected old value
        Input::KeyPress(VK_RETURN);
    });
    std::string value = "Jones";
    EXPECT_TRUE(InputQuery("Find", "Customer name:", value));
    EXPECT_EQ(value, "Smith");
    EXPECT_EQ(prompt, "Customer name:");

    SetModalHook([&](HWND) {
        Input::TypeText("ignored");
        Input::KeyPress(VK_ESCAPE);
    });
    EXPECT_FALSE(InputQuery("Find", "Customer name:", value));
    EXPECT_EQ(value, "Smith");
    EXPECT_EQ(InputBox("Find", "Name:", "default"), "default");
}

TEST_F(FormsTest, TheDialogShowsAnIconForItsType)
{
    struct Case {
        TMsgDlgType Type;
        TColor Centre;
    } cases[] = {{mtConfirmation, clBlue}, {mtError, clRed}, {mtInformation, clBlue}, {mtCustom, clBtnFace}};
    for (const Case& k : cases) {
        COLORREF seen = 0xFFFFFFFF;
        SetModalHook([&](HWND Wnd) {
            TForm* form = FormOf(Wnd);
            auto* label = dynamic_cast<TLabel*>(form->FindComponent("Message"));
            // The icon sits left of the text, at the top margin.
            TPoint centre = form->ClientToScreen(TPoint{label->GetLeft() / 2 + 4, label->GetTop() + 20});
            if (k.Type == mtCustom) centre = form->ClientToScreen(TPoint{4, 4});
            HDC dc = GetDC(nullptr);
            seen = GetPixel(dc, centre.x, centre.y);
            ReleaseDC(nullptr, dc);
            if (const char* dir = std::getenv("KEL_SCREENSHOTS"); dir && k.Type == mtConfirmation)
                Screenshot(Wnd, std::string(dir) + "/vcl-messagedlg.png");
            form->SetModalResult(mrNo);
        });
        MessageDlg("Delete the selected record?\nThis cannot be undone.", k.Type, mbYesNoCancel, 0);
        EXPECT_EQ(seen, ColorToRGB(k.Centre)) << int(k.Type);
    }
}

} // namespace
} // namespace formstest
