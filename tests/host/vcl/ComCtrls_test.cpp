// The status bar: panel geometry, simple text, owner drawing, streaming.
#include "ControlTest.h"
#include "host/vcl/ComCtrls.h"
#include "host/vcl/Filer.h"

namespace controltest {
namespace {

COLORREF At(const TImageData& Img, int X, int Y)
{
    uint32_t p = Img.Pixel(X, Y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

TStatusBar* MakeBar(TWinControl* Parent, std::initializer_list<int> Widths)
{
    auto* bar = new TStatusBar(nullptr);
    bar->SetParent(Parent);
    for (int w : Widths) bar->GetPanels()->Add()->SetWidth(w);
    return bar;
}

TEST_F(ControlTest, StatusBarSitsAtTheBottomAndLaysOutItsPanels)
{
    TTestPanel* root = Root();
    TStatusBar* bar = MakeBar(root, {60, 80, 50});
    EXPECT_EQ(bar->GetAlign(), alBottom);
    EXPECT_EQ(bar->GetBoundsRect(), (TRect{0, 300 - 19, 400, 300}));
    EXPECT_EQ(bar->PanelRect(0), (TRect{0, 2, 60, 19}));
    EXPECT_EQ(bar->PanelRect(1), (TRect{62, 2, 142, 19}));
    EXPECT_EQ(bar->PanelRect(2), (TRect{144, 2, 400, 19})) << "the last panel reaches the end";
    bar->GetPanels()->GetItem(0)->SetWidth(100);
    EXPECT_EQ(bar->PanelRect(1).left, 102);
}

TEST_F(ControlTest, StatusBarShowsPanelTextOrSimpleText)
{
    TTestPanel* root = Root();
    TStatusBar* bar = MakeBar(root, {100, 100});
    bar->GetPanels()->GetItem(0)->SetText("Ready");
    bar->GetPanels()->GetItem(1)->SetBevel(pbRaised);
    ProcessPendingMessages();
    TImageData img = CaptureWindow(FHost);
    int top = 281;
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(At(img, 0, top + 2), GetSysColor(COLOR_BTNSHADOW)) << "sunken panel";
    EXPECT_EQ(At(img, 99, top + 18), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(img, 102, top + 2), GetSysColor(COLOR_BTNHIGHLIGHT)) << "raised panel";
    auto inkIn = [&](const TImageData& i, int l, int r) {
        int n = 0;
        for (int y = top + 4; y < top + 17; ++y)
            for (int x = l; x < r; ++x) n += At(i, x, y) != face;
        return n;
    };
    EXPECT_GT(inkIn(img, 3, 97), 0);
    EXPECT_EQ(inkIn(img, 105, 197), 0);

    bar->SetSimpleText("Saving...");
    bar->SetSimplePanel(true);
    ProcessPendingMessages();
    img = CaptureWindow(FHost);
    EXPECT_GT(inkIn(img, 3, 97), 0);
    EXPECT_NE(At(img, 101, top + 2), GetSysColor(COLOR_BTNHIGHLIGHT)) << "one panel only";
}

TEST_F(ControlTest, OwnerDrawnPanelGetsItsFaceRect)
{
    TTestPanel* root = Root();
    TStatusBar* bar = MakeBar(root, {60, 80});
    TStatusPanel* owner = bar->GetPanels()->GetItem(1);
    owner->SetStyle(psOwnerDraw);
    std::vector<TRect> rects;
    bar->OnDrawPanel = [&](TStatusBar* Sender, TStatusPanel* Panel, const TRect& Rect) {
        EXPECT_EQ(Sender, bar);
        EXPECT_EQ(Panel, owner);
        rects.push_back(Rect);
        Sender->GetCanvas()->GetBrush()->SetColor(clRed);
        Sender->GetCanvas()->FillRect(Rect);
    };
    ProcessPendingMessages();
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects.back(), (TRect{63, 3, 399, 18}));
    EXPECT_EQ(At(CaptureWindow(FHost), 200, 281 + 10), RGB(255, 0, 0));
}

TEST_F(ControlTest, StatusBarRoundTripsItsPanels)
{
    auto* bar = new TStatusBar(nullptr);
    bar->SetName("Bar");
    TStatusPanel* p = bar->GetPanels()->Add();
    p->SetText("Left");
    p->SetWidth(120);
    p->SetAlignment(taCenter);
    p->SetBevel(pbNone);
    bar->GetPanels()->Add()->SetStyle(psOwnerDraw);
    bar->SetSimpleText("Simple");
    bar->SetSizeGrip(false);
    auto* copy = static_cast<TStatusBar*>(ReadComponentFromString(WriteComponentToString(bar), nullptr));
    ASSERT_EQ(copy->GetPanels()->GetCount(), 2);
    TStatusPanel* q = copy->GetPanels()->GetItem(0);
    EXPECT_EQ(q->GetText(), "Left");
    EXPECT_EQ(q->GetWidth(), 120);
    EXPECT_EQ(q->GetAlignment(), taCenter);
    EXPECT_EQ(q->GetBevel(), pbNone);
    EXPECT_EQ(copy->GetPanels()->GetItem(1)->GetStyle(), psOwnerDraw);
    EXPECT_EQ(copy->GetSimpleText(), "Simple");
    EXPECT_FALSE(copy->GetSizeGrip());
    EXPECT_EQ(copy->GetAlign(), alBottom);
    bar->Free();
    copy->Free();
}

} // namespace
} // namespace controltest
