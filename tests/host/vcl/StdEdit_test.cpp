// TEdit driven through injected keyboard and mouse input.
#include "EditTest.h"

#include "host/vcl/Filer.h"

namespace edittest {
namespace {

class EditTest : public ControlTest {
protected:
    TEdit* MakeEdit(const std::string& Text = "", int Width = 150)
    {
        auto* root = Root();
        auto* e = Make<TEdit>(root, "Edit1", 10, 10, Width, 21);
        e->SetText(Text);
        e->OnChange = [this](TObject*) { ++Changes; };
        return e;
    }
    void Focus(TEdit* E)
    {
        E->SetFocus();
        ProcessPendingMessages();
    }
    int Changes = 0;
};

TEST_F(EditTest, TypingInsertsAtTheCaretAndFiresOnChangeForEachCharacter)
{
    TEdit* e = MakeEdit();
    Focus(e);
    Input::TypeText("Hello");
    EXPECT_EQ(e->GetText(), "Hello");
    EXPECT_EQ(Changes, 5);
    EXPECT_TRUE(e->GetModified());
    Input::KeyPress(VK_HOME);
    Input::TypeText(">");
    Input::KeyPress(VK_END);
    Input::KeyPress(VK_BACK);
    Input::KeyPress(VK_HOME);
    Input::KeyPress(VK_DELETE);
    EXPECT_EQ(e->GetText(), "Hell");
    // Text set in code fires OnChange too, and is not a user modification.
    Changes = 0;
    e->SetText("code");
    EXPECT_EQ(Changes, 1);
    EXPECT_FALSE(e->GetModified());
    EXPECT_EQ(e->GetSelStart(), 0);
}

TEST_F(EditTest, KeyboardMovesAndExtendsTheSelection)
{
    TEdit* e = MakeEdit("one two three");
    Focus(e);
    struct Step {
        int Key;
        unsigned Mods;
        int SelStart;
        int SelLength;
    } steps[] = {
        {VK_HOME, 0, 0, 0},
        {VK_RIGHT, Input::Shift, 0, 1},
        {VK_RIGHT, Input::Shift, 0, 2},
        {VK_RIGHT, Input::Ctrl | Input::Shift, 0, 4},  // to the start of "two"
        {VK_RIGHT, Input::Ctrl, 8, 0},                 // to the start of "three"
        {VK_LEFT, Input::Ctrl | Input::Shift, 4, 4},   // back to "two", anchor stays at 8
        {VK_END, Input::Shift, 8, 5},
        {VK_LEFT, 0, 12, 0},
        {VK_HOME, Input::Shift, 0, 12},
        {VK_END, 0, 13, 0},
        {VK_UP, 0, 12, 0},  // a single line takes Up as Left
        {VK_DOWN, Input::Shift, 12, 1},
    };
    for (const Step& s : steps) {
        Input::KeyPress(s.Key, s.Mods);
        EXPECT_EQ(e->GetSelStart(), s.SelStart) << "key " << s.Key << " mods " << s.Mods;
        EXPECT_EQ(e->GetSelLength(), s.SelLength) << "key " << s.Key << " mods " << s.Mods;
    }
    // Ctrl+A is not an edit command in the classic look.
    Input::KeyPress(VK_HOME);
    Input::KeyPress('A', Input::Ctrl);
    EXPECT_EQ(e->GetSelLength(), 0);
    EXPECT_EQ(e->GetText(), "one two three");
}

TEST_F(EditTest, MouseClickDragDoubleClickAndShiftClickSelect)
{
    TEdit* e = MakeEdit("alpha beta gamma");
    TPoint at2 = ScreenAt(e, 2);
    Input::Click(at2.x, at2.y);
    EXPECT_TRUE(e->Focused());
    EXPECT_EQ(e->GetSelStart(), 2);
    EXPECT_EQ(e->GetSelLength(), 0);  // a click does not auto-select

    Input::AdvanceTime(GetDoubleClickTime() + 1);
    Input::Drag(ScreenAt(e, 6), ScreenAt(e, 10));
    EXPECT_EQ(e->GetSelText(), "beta");

    Input::AdvanceTime(GetDoubleClickTime() + 1);
    TPoint inGamma = ScreenAt(e, 13);
    Input::DoubleClick(inGamma.x, inGamma.y);
    EXPECT_EQ(e->GetSelText(), "gamma");

    Input::AdvanceTime(GetDoubleClickTime() + 1);
    Input::Click(at2.x, at2.y);
    TPoint at8 = ScreenAt(e, 8);
    Input::KeyDown(VK_SHIFT);
    Input::Click(at8.x, at8.y);
    Input::KeyUp(VK_SHIFT);
    EXPECT_EQ(e->GetSelStart(), 2);
    EXPECT_EQ(e->GetSelText(), "pha be");
}

TEST_F(EditTest, ClipboardRoundTripsThroughAllItsKeys)
{
    TEdit* e = MakeEdit("copy cut paste");
    Focus(e);
    e->SetSelStart(0);
    e->SetSelLength(4);
    Input::KeyPress('C', Input::Ctrl);
    EXPECT_EQ(ClipboardText(), "copy");

    e->SetSelStart(5);
    e->SetSelLength(3);
    Input::KeyPress('X', Input::Ctrl);
    EXPECT_EQ(ClipboardText(), "cut");
    EXPECT_EQ(e->GetText(), "copy  paste");

    Input::KeyPress(VK_END);
    Input::KeyPress('V', Input::Ctrl);
    EXPECT_EQ(e->GetText(), "copy  pastecut");

    e->SetSelStart(0);
    e->SetSelLength(4);
    Input::KeyPress(VK_INSERT, Input::Ctrl);
    EXPECT_EQ(ClipboardText(), "copy");
    Input::KeyPress(VK_DELETE, Input::Shift);
    EXPECT_EQ(e->GetText(), "  pastecut");
    Input::KeyPress(VK_END);
    Input::KeyPress(VK_INSERT, Input::Shift);
    EXPECT_EQ(e->GetText(), "  pastecutcopy");

    // A single line keeps only the first line of what is pasted.
    SetClipboardText("first\r\nsecond");
    e->SelectAll();
    e->PasteFromClipboard();
    EXPECT_EQ(e->GetText(), "first");
}

TEST_F(EditTest, MaxLengthAndReadOnlyBlockInputWithABeep)
{
    TEdit* e = MakeEdit();
    e->SetMaxLength(3);
    Focus(e);
    int beeps = Input::BeepCount();
    Input::TypeText("abcd");
    EXPECT_EQ(e->GetText(), "abc");
    EXPECT_EQ(Input::BeepCount(), beeps + 1);
    SetClipboardText("XYZ");
    e->SetSelStart(1);
    e->SetSelLength(1);
    e->PasteFromClipboard();  // replaces one character: room for one
    EXPECT_EQ(e->GetText(), "aXc");
    // Code may set a longer text; only input is limited.
    e->SetText("longer");
    EXPECT_EQ(e->GetText(), "longer");

    e->SetReadOnly(true);
    Changes = 0;
    Input::KeyPress(VK_END);
    Input::TypeText("q");
    Input::KeyPress(VK_BACK);
    Input::KeyPress(VK_DELETE);
    e->SelectAll();
    Input::KeyPress('X', Input::Ctrl);
    Input::KeyPress('V', Input::Ctrl);
    EXPECT_EQ(e->GetText(), "longer");
    EXPECT_EQ(Changes, 0);
    // Copying from a read-only edit still works.
    Input::KeyPress('C', Input::Ctrl);
    EXPECT_EQ(ClipboardText(), "longer");
}

TEST_F(EditTest, UndoRestoresTheLastEditAndUndoesItself)
{
    TEdit* e = MakeEdit("base");
    Focus(e);
    EXPECT_FALSE(e->GetCanUndo());
    Input::KeyPress(VK_END);
    Input::TypeText("123");
    EXPECT_TRUE(e->GetCanUndo());
    Input::KeyPress('Z', Input::Ctrl);
    EXPECT_EQ(e->GetText(), "base");  // the typed run goes as one step
    Input::KeyPress('Z', Input::Ctrl);
    EXPECT_EQ(e->GetText(), "base123");
    e->ClearUndo();
    EXPECT_FALSE(e->GetCanUndo());
    e->Undo();
    EXPECT_EQ(e->GetText(), "base123");
    e->SelectAll();
    Input::KeyPress(VK_DELETE);
    EXPECT_EQ(e->GetText(), "");
    e->Undo();
    EXPECT_EQ(e->GetText(), "base123");
}

TEST_F(EditTest, CharCaseConvertsTypedPastedAndExistingText)
{
    struct Case {
        TEditCharCase CharCase;
        std::string Expected;
    } cases[] = {{ecNormal, "MiXed"}, {ecUpperCase, "MIXED"}, {ecLowerCase, "mixed"}};
    for (const Case& c : cases) {
        TEdit* e = MakeEdit("Mi");
        e->SetCharCase(c.CharCase);
        Focus(e);
        Input::KeyPress(VK_END);
        Input::TypeText("X");
        SetClipboardText("ed");
        e->PasteFromClipboard();
        EXPECT_EQ(e->GetText(), c.Expected);
        e->SetText("Ab");
        EXPECT_EQ(e->GetText(), c.CharCase == ecNormal ? "Ab" : c.CharCase == ecUpperCase ? "AB" : "ab");
    }
}

TEST_F(EditTest, LongTextScrollsToKeepTheCaretVisible)
{
    TEdit* e = MakeEdit("", 60);
    Focus(e);
    Input::TypeText("a fairly long line of text that will not fit");
    TRect client = e->GetClientRect();
    TPoint caret = e->GetCaretPoint();
    EXPECT_GT(e->GetScrollX(), 0);
    EXPECT_GE(caret.x, 0);
    EXPECT_LT(caret.x, client.right);
    EXPECT_GT(e->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 0);  // first visible character
    Input::KeyPress(VK_HOME);
    EXPECT_EQ(e->GetScrollX(), 0);
    EXPECT_EQ(e->GetCaretPoint().x, PosOf(e, 0).x);
    POINT p;
    GetCaretPos(&p);
    EXPECT_EQ(p.x, e->GetCaretPoint().x);
}

TEST_F(EditTest, AutoSelectSelectsAllWhenTabbedInto)
{
    auto* root = Root();
    auto* first = Make<TEdit>(root, "First", 10, 10, 100, 21);
    auto* second = Make<TEdit>(root, "Second", 10, 40, 100, 21);
    auto* third = Make<TEdit>(root, "Third", 10, 70, 100, 21);
    second->SetText("selected");
    third->SetText("kept");
    third->SetAutoSelect(false);
    first->SetFocus();
    Input::KeyPress(VK_TAB);
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(second->GetSelLength(), 8);
    Input::KeyPress(VK_TAB);
    EXPECT_TRUE(third->Focused());
    EXPECT_EQ(third->GetSelLength(), 0);
}

TEST_F(EditTest, EditMessagesReadAndChangeTheText)
{
    TEdit* e = MakeEdit("0123456789");
    e->Perform(EM_SETSEL, 2, 5);
    DWORD s = 0, en = 0;
    e->Perform(EM_GETSEL, WPARAM(&s), LPARAM(&en));
    EXPECT_EQ(s, 2u);
    EXPECT_EQ(en, 5u);
    e->Perform(EM_REPLACESEL, TRUE, LPARAM("ab"));
    EXPECT_EQ(e->GetText(), "01ab56789");
    EXPECT_EQ(e->Perform(EM_CANUNDO, 0, 0), 1);
    e->Perform(EM_SETSEL, 0, -1);
    EXPECT_EQ(e->GetSelLength(), 9);
    e->Perform(EM_LIMITTEXT, 4, 0);
    EXPECT_EQ(e->GetMaxLength(), 4);
    e->Perform(EM_SETMODIFY, FALSE, 0);
    EXPECT_EQ(e->Perform(EM_GETMODIFY, 0, 0), 0);
    e->Perform(EM_SETREADONLY, TRUE, 0);
    EXPECT_TRUE(e->GetReadOnly());
    e->Perform(EM_SETPASSWORDCHAR, '#', 0);
    EXPECT_EQ(e->GetPasswordChar(), '#');
    EXPECT_EQ(e->Perform(EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_EQ(e->Perform(EM_LINELENGTH, 3, 0), 9);
    char buf[4];
    EXPECT_EQ(e->Perform(WM_GETTEXT, sizeof buf, LPARAM(buf)), 3);
    EXPECT_STREQ(buf, "01a");
    EXPECT_EQ(e->Perform(WM_GETTEXTLENGTH, 0, 0), 9);
    LRESULT code = e->Perform(WM_GETDLGCODE, 0, 0);
    EXPECT_TRUE(code & DLGC_WANTCHARS);
    EXPECT_TRUE(code & DLGC_WANTARROWS);
    EXPECT_FALSE(code & DLGC_WANTTAB);
}

TEST_F(EditTest, PasswordCharHidesTheTextOnScreenAndFromTheClipboard)
{
    auto* root = Root();
    auto* secret = Make<TEdit>(root, "Secret", 10, 10, 100, 21);
    auto* stars = Make<TEdit>(root, "Stars", 10, 40, 100, 21);
    auto* plain = Make<TEdit>(root, "Plain", 10, 70, 100, 21);
    secret->SetText("abc");
    secret->SetPasswordChar('*');
    stars->SetText("***");
    plain->SetText("abc");
    ProcessPendingMessages();
    EXPECT_EQ(Capture(secret).Pixels, Capture(stars).Pixels);
    EXPECT_NE(Capture(secret).Pixels, Capture(plain).Pixels);
    EXPECT_EQ(secret->GetText(), "abc");
    SetClipboardText("before");
    secret->SelectAll();
    secret->CopyToClipboard();
    secret->CutToClipboard();
    EXPECT_EQ(ClipboardText(), "before");
    EXPECT_EQ(secret->GetText(), "abc");
}

TEST_F(EditTest, PaintsSunkenEdgeSelectionAndDisabledText)
{
    TEdit* e = MakeEdit("Selected text");
    Focus(e);
    e->SetSelStart(0);
    e->SetSelLength(8);
    ProcessPendingMessages();
    Screenshot(e->GetParent()->GetHandle(), "/tmp/kel-edit.png");
    TImageData img = Capture(e);
    // The sunken client edge: shadow outside at the top left, highlight at the bottom right.
    EXPECT_EQ(img.Pixel(0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(img.Pixel(img.Width - 1, img.Height - 1), Rgb(clBtnHighlight));
    TPoint sel = PosOf(e, 0), end = PosOf(e, 8);
    EXPECT_TRUE(HasColor(img, clHighlight, TRect{sel.x + 2, 4, end.x + 2, 16}));
    EXPECT_TRUE(HasColor(img, clHighlightText, TRect{sel.x + 2, 4, end.x + 2, 16}));
    // Without the focus the selection is hidden.
    Make<TEdit>(e->GetParent(), "Other", 10, 60, 50, 21)->SetFocus();
    ProcessPendingMessages();
    EXPECT_FALSE(HasColor(Capture(e), clHighlight, TRect{0, 0, 200, 30}));
    e->SetEnabled(false);
    ProcessPendingMessages();
    EXPECT_TRUE(HasColor(Capture(e), clGrayText, TRect{0, 0, 200, 30}));
    EXPECT_TRUE(HasColor(Capture(e), clWindow, TRect{4, 4, 6, 6}));
}

TEST_F(EditTest, AutoSizeFollowsTheFont)
{
    TEdit* e = MakeEdit("x");
    int small = e->GetHeight();
    e->GetFont()->SetSize(20);
    EXPECT_GT(e->GetHeight(), small + 10);
    e->SetAutoSize(false);
    e->SetHeight(50);
    e->GetFont()->SetSize(8);
    EXPECT_EQ(e->GetHeight(), 50);
}

TEST(EditStreamingTest, PublishedPropertiesSurviveAFormFile)
{
    auto* e = new TEdit(nullptr);
    e->SetName("Edit1");
    e->SetText("hello");
    e->SetMaxLength(12);
    e->SetPasswordChar('*');
    e->SetCharCase(ecUpperCase);
    e->SetReadOnly(true);
    e->SetAutoSelect(false);
    e->SetBorderStyle(bsNone);
    e->SetHideSelection(false);
    std::string data = WriteComponentToString(e);
    auto* copy = static_cast<TEdit*>(ReadComponentFromString(data, nullptr));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetText(), "HELLO");
    EXPECT_EQ(copy->GetMaxLength(), 12);
    EXPECT_EQ(copy->GetPasswordChar(), '*');
    EXPECT_EQ(copy->GetCharCase(), ecUpperCase);
    EXPECT_TRUE(copy->GetReadOnly());
    EXPECT_FALSE(copy->GetAutoSelect());
    EXPECT_EQ(copy->GetBorderStyle(), bsNone);
    EXPECT_FALSE(copy->GetHideSelection());
    EXPECT_FALSE(copy->GetModified());
    EXPECT_EQ(WriteComponentToString(copy), data);
    copy->Free();
    e->Free();
}

} // namespace
} // namespace edittest
