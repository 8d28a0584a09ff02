// Radio groups: buttons made from Items, ItemIndex by mouse, keys and code,
// the column layout, and form files that keep the items but not the buttons.
#include "FormsTest.h"

#include "host/gdi/WinText.h"
#include "host/vcl/ExtRadioGroup.h"
#include "host/vcl/Filer.h"

namespace formstest {
namespace {

// A group that can be told to refuse changes.
class TLockedRadioGroup : public TRadioGroup {
    HOST_CLASS(TLockedRadioGroup, TRadioGroup)
public:
    explicit TLockedRadioGroup(TComponent* AOwner) : TRadioGroup(AOwner) {}
    bool Locked = false;

protected:
    bool CanModify() override { return !Locked; }
};

class RadioGroupTest : public FormsTest {
protected:
    template <class G = TRadioGroup>
    G* Group(TForm* Form, std::vector<std::string> Items, int W = 160, int H = 120)
    {
        auto* g = Make<G>(Form, "Group", 10, 10, W, H);
        g->SetCaption("Pick");
        for (const std::string& s : Items) g->GetItems()->Add(s);
        g->OnClick = [this, g](TObject*) { Clicks.push_back(g->GetItemIndex()); };
        return g;
    }
    void ClickOn(TControl* C)
    {
        TPoint p = C->ClientToScreen(TPoint{8, C->GetHeight() / 2});
        Input::Click(p.x, p.y);
        Input::AdvanceTime(GetDoubleClickTime() + 1);
    }
    std::vector<int> Clicks;
};

TEST_F(RadioGroupTest, ClicksAndArrowKeysMoveTheCheckedItem)
{
    TForm* form = MakeForm("F");
    TRadioGroup* g = Group(form, {"Red", "Green", "Blue"});
    form->Show();
    ProcessPendingMessages();
    ASSERT_EQ(g->GetButtonCount(), 3);
    EXPECT_EQ(g->GetItemIndex(), -1);

    ClickOn(g->GetButton(1));
    EXPECT_EQ(g->GetItemIndex(), 1);
    EXPECT_TRUE(g->GetButton(1)->GetChecked());
    EXPECT_TRUE(g->GetButton(1)->Focused());

    struct Step {
        int Key;
        int Expected;
    } steps[] = {{VK_DOWN, 2}, {VK_DOWN, 0}, {VK_UP, 2}, {VK_LEFT, 1}, {VK_RIGHT, 2}};
    for (const Step& s : steps) {
        Input::KeyPress(s.Key);
        EXPECT_EQ(g->GetItemIndex(), s.Expected) << "key " << s.Key;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(g->GetButton(i)->GetChecked(), i == s.Expected);
    }
    EXPECT_EQ(Clicks, (std::vector<int>{1, 2, 0, 2, 1, 2}));
}

TEST_F(RadioGroupTest, SettingItemIndexChecksOneButtonAndClampsToTheItems)
{
    TForm* form = MakeForm("F");
    TRadioGroup* g = Group(form, {"a", "b", "c"});
    struct Row {
        int Set, Expected;
    } rows[] = {{2, 2}, {0, 0}, {7, 2}, {-5, -1}, {1, 1}};
    for (const Row& r : rows) {
        g->SetItemIndex(r.Set);
        EXPECT_EQ(g->GetItemIndex(), r.Expected) << r.Set;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(g->GetButton(i)->GetChecked(), i == r.Expected) << r.Set;
    }
    // The framework's radio group reports a change made in code as a click.
    EXPECT_EQ(Clicks, (std::vector<int>{2, 0, 2, 1}));
}

TEST_F(RadioGroupTest, EditingItemsRebuildsButtonsAndKeepsAValidIndex)
{
    TForm* form = MakeForm("F");
    TRadioGroup* g = Group(form, {"a", "b", "c", "d"});
    g->SetItemIndex(1);
    Clicks.clear();

    g->GetItems()->SetStrings(0, "alpha");
    EXPECT_EQ(g->GetButton(0)->GetCaption(), "alpha");
    EXPECT_EQ(g->GetItemIndex(), 1);

    g->GetItems()->Add("e");
    ASSERT_EQ(g->GetButtonCount(), 5);
    EXPECT_EQ(g->GetButton(4)->GetCaption(), "e");
    EXPECT_EQ(g->GetItemIndex(), 1);
    EXPECT_TRUE(g->GetButton(1)->GetChecked());

    g->SetItemIndex(4);
    Clicks.clear();
    g->GetItems()->Delete(4);  // the checked item goes: the last one left takes over
    EXPECT_EQ(g->GetButtonCount(), 4);
    EXPECT_EQ(g->GetItemIndex(), 3);
    EXPECT_TRUE(g->GetButton(3)->GetChecked());

    g->GetItems()->Clear();
    EXPECT_EQ(g->GetButtonCount(), 0);
    EXPECT_EQ(g->GetItemIndex(), -1);
    g->GetItems()->Add("x");
    EXPECT_EQ(g->GetItemIndex(), -1);
    EXPECT_FALSE(g->GetButton(0)->GetChecked());
    EXPECT_TRUE(Clicks.empty()) << "item edits are not clicks";
}

TEST_F(RadioGroupTest, ButtonsFillColumnsBelowTheCaption)
{
    TForm* form = MakeForm("F", 100, 80, 400, 300);
    struct Row {
        int Items, Columns, W, H;
    } rows[] = {{3, 1, 160, 120}, {5, 2, 200, 100}, {7, 3, 301, 131}, {4, 4, 250, 60}, {2, 5, 200, 80}};
    for (const Row& r : rows) {
        std::vector<std::string> items;
        for (int i = 0; i < r.Items; ++i) items.push_back("Item " + std::to_string(i));
        TRadioGroup* g = Group(form, items, r.W, r.H);
        g->SetColumns(r.Columns);
        form->Show();
        ProcessPendingMessages();
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, g->GetFont()->GetHandle());
        TEXTMETRIC tm;
        GetTextMetrics(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        int perColumn = (r.Items + r.Columns - 1) / r.Columns;
        int width = (r.W - 10) / r.Columns;
        int rows = r.H - tm.tmHeight - 5;
        int height = rows / perColumn;
        int top = tm.tmHeight + 1 + (rows % perColumn) / 2;
        for (int i = 0; i < r.Items; ++i) {
            TControl* b = g->GetButton(i);
            SCOPED_TRACE("items " + std::to_string(r.Items) + " button " + std::to_string(i));
            EXPECT_EQ(b->GetLeft(), 8 + (i / perColumn) * width);
            EXPECT_EQ(b->GetTop(), top + (i % perColumn) * height);
            EXPECT_EQ(b->GetWidth(), width);
            EXPECT_EQ(b->GetHeight(), height);
            EXPECT_TRUE(b->GetVisible());
            EXPECT_LE(b->GetLeft() + b->GetWidth(), r.W - 2) << "inside the frame";
            EXPECT_GT(b->GetTop(), tm.tmHeight / 2) << "below the caption";
        }
        // Resizing lays them out again.
        g->SetBounds(g->GetLeft(), g->GetTop(), r.W + 40, r.H);
        EXPECT_EQ(g->GetButton(0)->GetWidth(), (r.W + 30) / r.Columns);
        g->Free();
    }
}

TEST_F(RadioGroupTest, CanModifyRefusesClicksAndDisablingReachesTheButtons)
{
    TForm* form = MakeForm("F");
    auto* g = Group<TLockedRadioGroup>(form, {"a", "b"});
    form->Show();
    ProcessPendingMessages();
    g->Locked = true;
    ClickOn(g->GetButton(1));
    EXPECT_EQ(g->GetItemIndex(), -1);
    EXPECT_FALSE(g->GetButton(1)->GetChecked());
    g->Locked = false;
    ClickOn(g->GetButton(1));
    EXPECT_EQ(g->GetItemIndex(), 1);

    g->SetEnabled(false);
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(g->GetButton(i)->GetEnabled());
    g->SetEnabled(true);
    EXPECT_TRUE(g->GetButton(0)->GetEnabled());
}

TEST_F(RadioGroupTest, FormFilesKeepItemsAndIndexButNotTheButtons)
{
    TForm* form = MakeForm("F");
    TRadioGroup* g = Group(form, {"one", "two", "three"});
    g->SetColumns(2);
    g->SetItemIndex(2);
    std::string text = ObjectBinaryToText(WriteComponentToString(g));
    EXPECT_EQ(text.find("TGroupButton"), std::string::npos) << text;
    EXPECT_NE(text.find("ItemIndex = 2"), std::string::npos) << text;

    auto* copy = new TRadioGroup(nullptr);
    ReadComponentFromString(WriteComponentToString(g), copy);
    ASSERT_EQ(copy->GetButtonCount(), 3);
    EXPECT_EQ(copy->GetButton(2)->GetCaption(), "three");
    EXPECT_EQ(copy->GetItemIndex(), 2);
    EXPECT_TRUE(copy->GetButton(2)->GetChecked());
    EXPECT_EQ(copy->GetColumns(), 2);
    copy->Free();

    // An index past the stored items comes back as the last item.
    std::string bad = text;
    bad.replace(bad.find("ItemIndex = 2"), 13, "ItemIndex = 7");
    copy = new TRadioGroup(nullptr);
    ReadComponentFromString(ObjectTextToBinary(bad), copy);
    EXPECT_EQ(copy->GetItemIndex(), 2);
    EXPECT_TRUE(copy->GetButton(2)->GetChecked());
    copy->Free();
}

} // namespace
} // namespace formstest
