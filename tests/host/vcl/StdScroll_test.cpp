// The scroll bar control worked by injected mouse and keys.
#include "ControlTest.h"

#include "host/vcl/Filer.h"
#include "host/vcl/StdScroll.h"

#include <cstdlib>

namespace controltest {
namespace {

class ScrollBarTest : public ControlTest {
protected:
    TScrollBar* Bar(TScrollBarKind Kind = sbHorizontal)
    {
        TTestPanel* root = Root();
        auto* bar = Make<TScrollBar>(root, "Bar", 10, 10, 200, 16);
        bar->SetKind(Kind);
        bar->OnScroll = [this](TObject*, TScrollCode Code, int& Pos) { Log.push_back({Code, Pos}); };
        return bar;
    }
    struct TEntry {
        TScrollCode Code;
        int Pos;
        bool operator==(const TEntry&) const = default;
    };
    std::vector<TScrollCode> Codes() const
    {
        std::vector<TScrollCode> r;
        for (const TEntry& e : Log) r.push_back(e.Code);
        return r;
    }
    std::vector<TEntry> Log;
};

TEST_F(ScrollBarTest, ArrowsAndPageClicksStepThePosition)
{
    TScrollBar* bar = Bar();
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    struct Case {
        int X;  // in the bar
        TScrollCode Code;
        int Position;
    } cases[] = {
        {5, scLineUp, 0},     // already at Min: stays
        {195, scLineDown, 1},
        {195, scLineDown, 2},
        {150, scPageDown, 10},  // right of the thumb
        {20, scPageUp, 2},      // left of it
        {5, scLineUp, 1},
    };
    for (const Case& c : cases) {
        Log.clear();
        TPoint p = ScreenOf(bar, c.X, 8);
        Input::Click(p.x, p.y);
        Input::AdvanceTime(GetDoubleClickTime() + 1);
        EXPECT_EQ(Codes(), (std::vector<TScrollCode>{c.Code, scEndScroll})) << c.X;
        EXPECT_EQ(bar->GetPosition(), c.Position) << c.X;
    }
    EXPECT_EQ(changes, 5);
}

TEST_F(ScrollBarTest, AHeldArrowRepeatsOnTheClock)
{
    TScrollBar* bar = Bar();
    TPoint p = ScreenOf(bar, 195, 8);
    Input::MouseMove(p.x, p.y);
    Input::MouseDown();
    EXPECT_EQ(bar->GetPosition(), 1);
    Input::AdvanceTime(399);
    EXPECT_EQ(bar->GetPosition(), 1) << "no repeat before the delay";
    Input::AdvanceTime(1);
    EXPECT_EQ(bar->GetPosition(), 2);
    Input::AdvanceTime(200);  // four more at 50 ms
    EXPECT_EQ(bar->GetPosition(), 6);
    // Off the arrow the repeat pauses; back on it resumes.
    TPoint off = ScreenOf(bar, 100, 8);
    Input::MouseMove(off.x, off.y);
    Input::AdvanceTime(200);
    EXPECT_EQ(bar->GetPosition(), 6);
    Input::MouseMove(p.x, p.y);
    Input::AdvanceTime(50);
    EXPECT_EQ(bar->GetPosition(), 7);
    Input::MouseUp();
    Input::AdvanceTime(500);
    EXPECT_EQ(bar->GetPosition(), 7);
    EXPECT_EQ(Log.back().Code, scEndScroll);
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThenSetsThePosition)
{
    TScrollBar* bar = Bar();
    int arrow = 16, thumb = 16;  // the bar is 16 high: square arrows and thumb
    int free = 200 - 2 * arrow - thumb;
    TPoint from = ScreenOf(bar, arrow + thumb / 2, 8);
    TPoint to = ScreenOf(bar, arrow + thumb / 2 + free / 2, 8);
    Input::Drag(from, to, 4);
    ASSERT_GE(Log.size(), 3u);
    for (size_t i = 0; i + 2 < Log.size(); ++i) EXPECT_EQ(Log[i].Code, scTrack) << i;
    EXPECT_EQ(Log[Log.size() - 2], (TEntry{scPosition, 50}));
    EXPECT_EQ(Log.back().Code, scEndScroll);
    EXPECT_EQ(bar->GetPosition(), 50);
    // Positions grow with the drag.
    for (size_t i = 1; i + 2 < Log.size(); ++i) EXPECT_GT(Log[i].Pos, Log[i - 1].Pos);
    // Dragged past the end the thumb stops at Max.
    Log.clear();
    Input::AdvanceTime(GetDoubleClickTime() + 1);
    TPoint thumbNow = ScreenOf(bar, arrow + free / 2 + thumb / 2, 8);
    Input::Drag(thumbNow, ScreenOf(bar, 400, 8), 2);
    EXPECT_EQ(bar->GetPosition(), 100);
}

TEST_F(ScrollBarTest, KeysScrollAVerticalBarWithFocus)
{
    TScrollBar* bar = Bar(sbVertical);
    EXPECT_EQ(bar->GetWidth(), 16) << "turning the bar swaps its sides";
    EXPECT_EQ(bar->GetHeight(), 200);
    bar->SetFocus();
    ASSERT_TRUE(bar->Focused());
    struct Case {
        int Key;
        TScrollCode Code;
        int Position;
    } cases[] = {
        {VK_DOWN, scLineDown, 1}, {VK_RIGHT, scLineDown, 2}, {VK_NEXT, scPageDown, 10}, {VK_UP, scLineUp, 9},
        {VK_END, scBottom, 100},  {VK_PRIOR, scPageUp, 92},  {VK_HOME, scTop, 0},       {VK_LEFT, scLineUp, 0},
    };
    for (const Case& c : cases) {
        Log.clear();
        Input::KeyPress(c.Key);
        EXPECT_EQ(Codes(), (std::vector<TScrollCode>{c.Code, scEndScroll})) << c.Key;
        EXPECT_EQ(bar->GetPosition(), c.Position) << c.Key;
    }
}

TEST_F(ScrollBarTest, RangeChecksAndAHandlerThatOverreaches)
{
    TScrollBar* bar = Bar();
    EXPECT_THROW(bar->SetPosition(101), EInvalidOperation);
    EXPECT_THROW(bar->SetMin(50), EInvalidOperation);  // above Position 0
    EXPECT_THROW(bar->SetParams(5, 10, 0), EInvalidOperation);
    bar->SetParams(30, 20, 40);
    EXPECT_EQ(bar->GetPosition(), 30);
    // OnScroll may change the position; the bar keeps it within its range.
    bar->OnScroll = [](TObject*, TScrollCode, int& Pos) { Pos = 1000; };
    TPoint p = ScreenOf(bar, 195, 8);
    Input::Click(p.x, p.y);
    EXPECT_EQ(bar->GetPosition(), 40);
}

TEST_F(ScrollBarTest, PropertiesSurviveAFormFileInAnyOrder)
{
    TScrollBar* bar = Bar(sbVertical);
    bar->SetParams(250, 200, 300);
    bar->SetSmallChange(3);
    bar->SetLargeChange(30);
    std::string data = WriteComponentToString(bar);
    auto* copy = new TScrollBar(nullptr);
    // Max, Min and Position are stored in that order: Min 200 arrives while
    // Position is still 0 and must not be refused.
    ReadComponentFromString(data, copy);
    EXPECT_EQ(copy->GetKind(), sbVertical);
    EXPECT_EQ(copy->GetMin(), 200);
    EXPECT_EQ(copy->GetMax(), 300);
    EXPECT_EQ(copy->GetPosition(), 250);
    EXPECT_EQ(copy->GetSmallChange(), 3);
    EXPECT_EQ(copy->GetLargeChange(), 30);
    EXPECT_EQ(copy->GetHeight(), 200);
    copy->Free();
}

} // namespace
} // namespace controltest

namespace controltest {
namespace {

TEST_F(ControlTest, ScrollBarShowcase)
{
    TTestPanel* root = Root();
    root->SetColor(clBtnFace);
    ProcessPendingMessages();
    auto* h = Make<TScrollBar>(root, "H", 10, 10, 200, 16);
    h->SetPosition(30);
    auto* v = Make<TScrollBar>(root, "V", 220, 10, 16, 120);
    v->SetKind(sbVertical);
    v->SetBounds(220, 10, 16, 120);
    v->SetPosition(70);
    auto* off = Make<TScrollBar>(root, "Off", 10, 40, 200, 16);
    off->SetEnabled(false);
    auto* focused = Make<TScrollBar>(root, "Focused", 10, 70, 200, 16);
    focused->SetFocus();
    // A held page click shows the pressed part of the track.
    TPoint p = ScreenOf(h, 150, 8);
    Input::MouseMove(p.x, p.y);
    Input::MouseDown();
    ProcessPendingMessages();
    const char* dir = std::getenv("TEST_OUTPUT_DIR");
    Screenshot(FHost, std::string(dir ? dir : "/tmp") + "/scrollbars.png");
    TImageData img = CaptureWindow(FHost);
    // Left arrow of the disabled bar: no black arrow ink anywhere in it.
    for (int y = 41; y < 55; ++y)
        for (int x = 11; x < 25; ++x) EXPECT_NE(img.Pixel(x, y), 0u) << x << "," << y;
    // The enabled bar's arrow has black ink.
    bool ink = false;
    for (int y = 11; y < 25; ++y)
        for (int x = 11; x < 25; ++x) ink = ink || img.Pixel(x, y) == 0u;
    EXPECT_TRUE(ink);
    Input::MouseUp();
}

} // namespace
} // namespace controltest
