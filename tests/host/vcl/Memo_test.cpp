// TMemo: lines, wrapping, vertical scrolling and the line messages.
#include "EditTest.h"

#include "host/vcl/Filer.h"

namespace edittest {
namespace {

class MemoTest : public ControlTest {
protected:
    TMemo* MakeMemo(int Width = 150, int Height = 80)
    {
        auto* m = Make<TMemo>(Root(), "Memo1", 10, 10, Width, Height);
        m->OnChange = [this](TObject*) { ++Changes; };
        return m;
    }
    int Changes = 0;
};

std::string Numbered(int Count)
{
    std::string s;
    for (int i = 0; i < Count; ++i) s += "line " + std::to_string(i) + (i + 1 < Count ? "\r\n" : "");
    return s;
}

TEST_F(MemoTest, TypingReturnsMakesLinesThatLinesReads)
{
    TMemo* m = MakeMemo();
    m->SetFocus();
    Input::TypeText("first");
    Input::KeyPress(VK_RETURN);
    Input::TypeText("second");
    EXPECT_EQ(m->GetText(), "first\r\nsecond");
    ASSERT_EQ(m->GetLines()->GetCount(), 2);
    EXPECT_EQ(m->GetLines()->GetStrings(1), "second");
    EXPECT_EQ(m->GetCaretPos(), (TPoint{6, 1}));
    // Shift+Up selects back to the same column of the line above.
    Input::KeyPress(VK_HOME);
    Input::KeyPress(VK_UP, Input::Shift);
    EXPECT_EQ(m->GetSelText(), "first\r\n");
    Input::KeyPress(VK_DELETE);
    EXPECT_EQ(m->GetText(), "second");
    Input::KeyPress('Z', Input::Ctrl);
    EXPECT_EQ(m->GetText(), "first\r\nsecond");
}

TEST_F(MemoTest, LinesChangesShowAtOnce)
{
    TMemo* m = MakeMemo();
    TStrings* lines = m->GetLines();
    lines->Add("a");
    lines->Add("b");
    EXPECT_EQ(m->GetText(), "a\r\nb\r\n");
    EXPECT_EQ(lines->GetCount(), 2);
    lines->Insert(1, "between");
    lines->SetStrings(0, "A");
    EXPECT_EQ(m->GetText(), "A\r\nbetween\r\nb\r\n");
    lines->Delete(1);
    EXPECT_EQ(lines->GetText(), "A\r\nb\r\n");
    lines->Delete(1);
    EXPECT_EQ(m->GetText(), "A\r\n");
    m->SetText("x\r\ny");
    EXPECT_EQ(lines->GetCount(), 2);
    EXPECT_EQ(lines->GetStrings(1), "y");
    lines->Add("z");
    EXPECT_EQ(m->GetText(), "x\r\ny\r\nz\r\n");
    EXPECT_GT(Changes, 0);
    lines->Clear();
    EXPECT_EQ(m->GetText(), "");
    EXPECT_EQ(lines->GetCount(), 0);
    EXPECT_THROW(lines->GetStrings(0), Exception);
}

TEST_F(MemoTest, WordWrapBreaksAtBlanksWithinTheWidth)
{
    TMemo* m = MakeMemo(120, 200);
    std::string text = "the quick brown fox jumps over the lazy dog again and again";
    m->SetText(text);
    int wrapped = int(m->Perform(EM_GETLINECOUNT, 0, 0));
    EXPECT_GT(wrapped, 2);
    TBitmap bmp;
    bmp.SetWidth(1);
    bmp.SetHeight(1);
    bmp.GetCanvas()->SetFont(m->GetFont());
    int width = m->GetClientWidth() - 3;
    std::string joined;
    for (int i = 0; i < wrapped; ++i) {
        std::string line = m->GetLines()->GetStrings(i);
        std::string trimmed = line.substr(0, line.find_last_not_of(' ') + 1);
        EXPECT_LE(bmp.GetCanvas()->TextWidth(trimmed), width) << line;
        EXPECT_NE(line.front(), ' ') << line;
        joined += line;
    }
    EXPECT_EQ(joined, text);  // wrapping adds no characters
    EXPECT_EQ(m->GetText(), text);
    m->SetWordWrap(false);
    EXPECT_EQ(m->Perform(EM_GETLINECOUNT, 0, 0), 1);
    // An unbreakable word is cut where it no longer fits.
    m->SetWordWrap(true);
    m->SetText(std::string(60, 'W'));
    EXPECT_GT(m->Perform(EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(MemoTest, ScrollingMovesTheFirstVisibleLine)
{
    TMemo* m = MakeMemo(150, 80);
    m->SetScrollBars(ssVertical);
    m->SetText(Numbered(30));
    m->SetFocus();
    EXPECT_EQ(m->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    m->Perform(EM_LINESCROLL, 0, 5);
    EXPECT_EQ(m->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 5);
    int sevenStart = int(m->Perform(EM_LINEINDEX, 7, 0));
    EXPECT_EQ(m->Perform(EM_LINEFROMCHAR, sevenStart + 3, 0), 7);
    EXPECT_EQ(m->Perform(EM_LINELENGTH, sevenStart, 0), 6);
    // A click lands on the line shown there, not the one at that place unscrolled.
    TPoint s = m->ClientToScreen(TPoint{10, 2});
    Input::Click(s.x, s.y);
    EXPECT_EQ(m->Perform(EM_LINEFROMCHAR, WPARAM(-1), 0), 5);

    Input::KeyPress(VK_END, Input::Ctrl);
    EXPECT_EQ(m->GetCaretPos().y, 29);
    int first = int(m->Perform(EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(first, 20);
    EXPECT_LT(m->GetCaretPoint().y, m->GetClientHeight());
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(m->GetHandle(), SB_VERT, &si);
    EXPECT_EQ(si.nPos, first);
    EXPECT_EQ(si.nMax, 29);

    Input::KeyPress(VK_HOME, Input::Ctrl);
    EXPECT_EQ(m->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    Input::KeyPress(VK_NEXT);
    // A page down moves caret and view by the lines that fit.
    int paged = int(m->Perform(EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(paged, 2);
    EXPECT_EQ(m->GetCaretPos().y, paged);
    Input::MouseMove(s.x, s.y);
    Input::Wheel(-WHEEL_DELTA);
    EXPECT_EQ(m->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), paged + 3);
    m->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(m->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), paged + 4);
    m->Perform(EM_SCROLLCARET, 0, 0);
    EXPECT_GE(m->GetCaretPoint().y, 0);
}

TEST_F(MemoTest, ReturnsAndTabsFollowWantReturnsAndWantTabs)
{
    struct Case {
        bool WantReturns;
        bool WantTabs;
        std::string Expected;
    } cases[] = {
        {true, false, "a\r\nb\r\nc"},
        {false, false, "ab\r\nc"},  // only Ctrl+Return breaks the line
        {true, true, "a\r\nb\r\n\tc"},
    };
    for (const Case& c : cases) {
        TMemo* m = MakeMemo();
        m->SetWantReturns(c.WantReturns);
        m->SetWantTabs(c.WantTabs);
        m->SetFocus();
        Input::TypeText("a");
        Input::KeyPress(VK_RETURN);
        Input::TypeText("b");
        Input::KeyPress(VK_RETURN, Input::Ctrl);
        if (c.WantTabs) Input::KeyPress(VK_TAB);
        Input::TypeText("c");
        EXPECT_EQ(m->GetText(), c.Expected) << c.WantReturns << c.WantTabs;
        bool wantsTab = (m->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB) != 0;
        EXPECT_EQ(wantsTab, c.WantTabs);
    }
}

TEST_F(MemoTest, PaintsLinesSelectionAndScrollBar)
{
    TMemo* m = MakeMemo(160, 70);
    m->SetScrollBars(ssVertical);
    m->SetText(Numbered(8));
    m->SetFocus();
    m->Perform(EM_SETSEL, 3, 12);
    ProcessPendingMessages();
    Screenshot(m->GetParent()->GetHandle(), "/tmp/kel-memo.png");
    TImageData img = Capture(m);
    EXPECT_TRUE(HasColor(img, clHighlight, TRect{2, 2, 100, 40}));
    // The vertical scroll bar takes the right edge.
    EXPECT_TRUE(HasColor(img, clBtnFace, TRect{img.Width - 16, 4, img.Width - 3, img.Height - 4}));
}

TEST(MemoStreamingTest, LinesAndOptionsSurviveAFormFile)
{
    auto* m = new TMemo(nullptr);
    m->SetName("Memo1");
    m->GetLines()->Add("one");
    m->GetLines()->Add("two");
    m->SetScrollBars(ssBoth);
    m->SetWordWrap(false);
    m->SetWantTabs(true);
    m->SetAlignment(taCenter);
    std::string data = WriteComponentToString(m);
    auto* copy = static_cast<TMemo*>(ReadComponentFromString(data, nullptr));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetText(), "one\r\ntwo\r\n");
    EXPECT_EQ(copy->GetScrollBars(), ssBoth);
    EXPECT_FALSE(copy->GetWordWrap());
    EXPECT_TRUE(copy->GetWantTabs());
    EXPECT_EQ(copy->GetAlignment(), taCenter);
    EXPECT_EQ(WriteComponentToString(copy), data);
    copy->Free();
    m->Free();
}

} // namespace
} // namespace edittest
