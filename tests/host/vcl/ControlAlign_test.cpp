// Aligned children share out their parent's client area.
#include "ControlTest.h"

namespace controltest {
namespace {

struct TPlaced {
    TAlign Align;
    TRect Bounds;    // before aligning
    TRect Expected;  // after
};

TEST_F(ControlTest, AlignedChildrenTakeEdgesInTheClassicOrder)
{
    struct Case {
        const char* Name;
        std::vector<TPlaced> Children;
    } cases[] = {
        {"all five",
         {{alClient, {0, 0, 10, 10}, {30, 20, 160, 90}},
          {alRight, {0, 0, 40, 10}, {160, 20, 200, 90}},
          {alLeft, {0, 0, 30, 10}, {0, 20, 30, 90}},
          {alBottom, {0, 0, 10, 10}, {0, 90, 200, 100}},
          {alTop, {0, 0, 10, 20}, {0, 0, 200, 20}}}},
        {"two tops keep their order by Top",
         {{alTop, {0, 50, 10, 60}, {0, 15, 200, 25}}, {alTop, {0, 5, 10, 20}, {0, 0, 200, 15}}}},
        {"two rights: the one further right is outermost",
         {{alRight, {100, 0, 120, 10}, {150, 0, 170, 100}}, {alRight, {150, 0, 180, 10}, {170, 0, 200, 100}}}},
        {"unaligned stays put",
         {{alNone, {3, 4, 13, 14}, {3, 4, 13, 14}}, {alLeft, {0, 0, 25, 5}, {0, 0, 25, 100}}}},
    };
    for (const Case& k : cases) {
        TTestPanel* root = Root();
        auto* host = Make<TTestPanel>(root, "Host", 0, 0, 200, 100);
        host->DisableAlign();
        std::vector<TControl*> made;
        int n = 0;
        for (const TPlaced& p : k.Children) {
            auto* c = Make<TTestBox>(host, "C" + std::to_string(n++), p.Bounds.left, p.Bounds.top,
                                     p.Bounds.right - p.Bounds.left, p.Bounds.bottom - p.Bounds.top);
            c->SetAlign(p.Align);
            made.push_back(c);
        }
        host->EnableAlign();
        for (size_t i = 0; i < made.size(); ++i)
            EXPECT_EQ(made[i]->GetBoundsRect(), k.Children[i].Expected) << k.Name << " child " << i;
        root->Free();
        FRoots.clear();
    }
}

TEST_F(ControlTest, AlignmentFollowsResizeVisibilityAndChanges)
{
    TTestPanel* root = Root();
    auto* host = Make<TTestPanel>(root, "Host", 0, 0, 200, 100);
    auto* top = Make<TTestPanel>(host, "Top", 0, 0, 10, 20);
    auto* client = Make<TTestBox>(host, "Client", 0, 0, 10, 10);
    top->SetAlign(alTop);
    client->SetAlign(alClient);
    EXPECT_EQ(client->GetBoundsRect(), (TRect{0, 20, 200, 100}));
    // The parent's window resizing realigns.
    host->SetBounds(0, 0, 300, 150);
    EXPECT_EQ(top->GetBoundsRect(), (TRect{0, 0, 300, 20}));
    EXPECT_EQ(client->GetBoundsRect(), (TRect{0, 20, 300, 150}));
    // A hidden control gives its room back.
    top->SetVisible(false);
    EXPECT_EQ(client->GetBoundsRect(), (TRect{0, 0, 300, 150}));
    top->SetVisible(true);
    // A top bar turned into a left bar keeps its thickness as width.
    top->SetAlign(alLeft);
    EXPECT_EQ(top->GetBoundsRect(), (TRect{0, 0, 20, 150}));
    EXPECT_EQ(client->GetBoundsRect(), (TRect{20, 0, 300, 150}));
    // Windowed aligned children move their windows.
    RECT r;
    GetWindowRect(top->GetHandle(), &r);
    EXPECT_EQ(r.bottom - r.top, 150);
}

} // namespace
} // namespace controltest
