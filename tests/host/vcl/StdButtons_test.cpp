// Push buttons, check boxes, radio buttons and group boxes driven by
// injected mouse and keyboard input.
#include "ControlTest.h"
#include "host/vcl/Filer.h"
#include "host/vcl/Forms.h"
#include "host/vcl/StdCtrls.h"

#include <cstdlib>

namespace controltest {
namespace {

COLORREF At(const TImageData& Img, int X, int Y)
{
    uint32_t p = Img.Pixel(X, Y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

DWORD ButtonKind(TWinControl* C) { return DWORD(GetWindowLongPtr(C->GetHandle(), GWL_STYLE)) & BS_TYPEMASK; }

class StdButtonsTest : public ControlTest {
protected:
    TPoint Center(TControl* C) { return ScreenOf(C, C->GetWidth() / 2, C->GetHeight() / 2); }
    void NextClickIsSingle() { Input::AdvanceTime(GetDoubleClickTime() + 1); }
};

TEST_F(StdButtonsTest, ButtonClicksOnlyWhenReleasedInsideAndLooksPressedMeanwhile)
{
    TTestPanel* root = Root();
    auto* button = Make<TButton>(root, "Button", 20, 20, 75, 25);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    struct TCase {
        const char* Name;
        std::vector<TPoint> Path;  // client points visited while the button is down
        int Clicks;
    } cases[] = {
        {"press and release inside", {{10, 10}}, 1},
        {"released outside", {{10, 10}, {200, 10}}, 0},
        {"out and back in", {{10, 10}, {-30, 5}, {60, 20}}, 1},
        {"released on the edge just outside", {{10, 10}, {75, 10}}, 0},
    };
    for (const TCase& k : cases) {
        clicks = 0;
        NextClickIsSingle();
        TPoint s = ScreenOf(button, k.Path[0].x, k.Path[0].y);
        Input::MouseMove(s.x, s.y);
        Input::MouseDown();
        EXPECT_TRUE(button->Perform(BM_GETSTATE, 0, 0) & BST_PUSHED) << k.Name;
        for (size_t i = 1; i < k.Path.size(); ++i) {
            TPoint p = ScreenOf(button, k.Path[i].x, k.Path[i].y);
            Input::MouseMove(p.x, p.y);
            bool inside = k.Path[i].x >= 0 && k.Path[i].x < 75 && k.Path[i].y >= 0 && k.Path[i].y < 25;
            EXPECT_EQ((button->Perform(BM_GETSTATE, 0, 0) & BST_PUSHED) != 0, inside) << k.Name << " step " << i;
        }
        Input::MouseUp();
        EXPECT_EQ(clicks, k.Clicks) << k.Name;
        EXPECT_FALSE(button->Perform(BM_GETSTATE, 0, 0) & BST_PUSHED) << k.Name;
        EXPECT_EQ(GetCapture(), nullptr) << k.Name;
    }
    EXPECT_TRUE(button->Focused()) << "a click focuses the button";
}

TEST_F(StdButtonsTest, SpaceAndAcceleratorPressTheFocusedButton)
{
    TTestPanel* root = Root();
    auto* button = Make<TButton>(root, "Button", 20, 20, 75, 25);
    auto* other = Make<TButton>(root, "Other", 120, 20, 75, 25);
    button->SetCaption("&Save");
    std::vector<std::string> clicks;
    button->OnClick = [&](TObject*) { clicks.push_back("Save"); };
    other->OnClick = [&](TObject*) { clicks.push_back("Other"); };
    other->SetFocus();
    Input::KeyDown(VK_SPACE);
    EXPECT_TRUE(other->Perform(BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_TRUE(clicks.empty()) << "space clicks on release";
    Input::KeyUp(VK_SPACE);
    EXPECT_EQ(clicks, (std::vector<std::string>{"Other"}));
    Input::KeyPress('S');
    EXPECT_EQ(clicks, (std::vector<std::string>{"Other", "Save"}));
    button->SetEnabled(false);
    Input::KeyPress('S');
    EXPECT_EQ(clicks.size(), 2u) << "a disabled button ignores its accelerator";
}

TEST_F(StdButtonsTest, ReturnAndEscapeReachDefaultAndCancelButtonsThroughNestedParents)
{
    TTestPanel* root = Root();
    auto* edit = Make<TTestPanel>(root, "Edit", 10, 10, 80, 20);
    edit->SetTabStop(true);
    auto* bar = Make<TTestPanel>(root, "Bar", 10, 200, 300, 40);
    auto* ok = Make<TButton>(bar, "Ok", 10, 5, 75, 25);
    auto* cancel = Make<TButton>(bar, "Cancel", 100, 5, 75, 25);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    std::vector<std::string> clicks;
    ok->OnClick = [&](TObject*) { clicks.push_back("Ok"); };
    cancel->OnClick = [&](TObject*) { clicks.push_back("Cancel"); };
    edit->SetFocus();
    ProcessPendingMessages();
    struct TCase {
        int Key;
        unsigned Modifiers;
        std::vector<std::string> Clicks;
    } cases[] = {
        {VK_RETURN, Input::NoModifiers, {"Ok"}},
        {VK_ESCAPE, Input::NoModifiers, {"Cancel"}},
        {VK_RETURN, Input::Alt, {}},
    };
    for (const TCase& k : cases) {
        clicks.clear();
        Input::KeyPress(k.Key, k.Modifiers);
        EXPECT_EQ(clicks, k.Clicks) << k.Key << " " << k.Modifiers;
    }
    EXPECT_TRUE(edit->Focused()) << "the focus stays where it was";
}

TEST_F(StdButtonsTest, DefaultFrameMovesToTheFocusedPushButtonAndBack)
{
    TTestPanel* root = Root();
    auto* edit = Make<TTestPanel>(root, "Edit", 10, 10, 80, 20);
    edit->SetTabStop(true);
    auto* ok = Make<TButton>(root, "Ok", 10, 100, 75, 25);
    auto* other = Make<TButton>(root, "Other", 100, 100, 75, 25);
    ok->SetDefault(true);
    std::vector<std::string> clicks;
    ok->OnClick = [&](TObject*) { clicks.push_back("Ok"); };
    other->OnClick = [&](TObject*) { clicks.push_back("Other"); };
    edit->SetFocus();
    EXPECT_EQ(ButtonKind(ok), BS_DEFPUSHBUTTON);
    EXPECT_EQ(ButtonKind(other), BS_PUSHBUTTON);

    other->SetFocus();
    EXPECT_EQ(ButtonKind(ok), BS_PUSHBUTTON);
    EXPECT_EQ(ButtonKind(other), BS_DEFPUSHBUTTON);
    Input::KeyPress(VK_RETURN);
    EXPECT_EQ(clicks, (std::vector<std::string>{"Other"})) << "Return presses the focused push button";

    edit->SetFocus();
    EXPECT_EQ(ButtonKind(ok), BS_DEFPUSHBUTTON);
    EXPECT_EQ(ButtonKind(other), BS_PUSHBUTTON);
    ok->SetDefault(false);
    EXPECT_EQ(ButtonKind(ok), BS_PUSHBUTTON) << "no longer default: the frame goes at once";
    clicks.clear();
    Input::KeyPress(VK_RETURN);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(StdButtonsTest, ModalResultReachesTheFormBeforeOnClick)
{
    auto* form = new TForm(nullptr);
    form->SetBounds(50, 50, 400, 300);
    FRoots.push_back(form);
    form->Show();
    auto* panel = Make<TTestPanel>(form, "Panel", 0, 0, 300, 100);
    auto* yes = Make<TButton>(panel, "Yes", 10, 10, 75, 25);
    yes->SetModalResult(mrYes);
    TModalResult seen = mrNone;
    yes->OnClick = [&](TObject*) { seen = form->GetModalResult(); };
    TPoint p = Center(yes);
    Input::Click(p.x, p.y);
    EXPECT_EQ(form->GetModalResult(), mrYes);
    EXPECT_EQ(seen, mrYes);
}

TEST_F(StdButtonsTest, CheckBoxTogglesWithSpaceClickAndAccelerator)
{
    TTestPanel* root = Root();
    auto* box = Make<TCheckBox>(root, "Box", 20, 20, 120, 17);
    box->SetCaption("&Bold");
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetFocus();
    Input::KeyPress(VK_SPACE);
    EXPECT_EQ(box->GetState(), cbChecked);
    EXPECT_EQ(box->Perform(BM_GETCHECK, 0, 0), LRESULT(BST_CHECKED));
    TPoint p = Center(box);
    Input::Click(p.x, p.y);
    EXPECT_EQ(box->GetState(), cbUnchecked);
    Input::KeyPress('B');
    EXPECT_TRUE(box->GetChecked());
    EXPECT_EQ(clicks, 3);

    // With AllowGrayed the third state comes in between.
    box->SetAllowGrayed(true);
    box->SetChecked(false);
    const TCheckBoxState cycle[] = {cbGrayed, cbChecked, cbUnchecked, cbGrayed};
    for (TCheckBoxState expected : cycle) {
        Input::KeyPress(VK_SPACE);
        EXPECT_EQ(box->GetState(), expected);
    }
    EXPECT_EQ(box->Perform(BM_GETCHECK, 0, 0), LRESULT(BST_INDETERMINATE));
}

TEST_F(StdButtonsTest, RadioButtonsExcludeSiblingsAndFollowTheArrowKeys)
{
    TTestPanel* root = Root();
    auto* group = Make<TGroupBox>(root, "Group", 10, 10, 200, 120);
    auto* a = Make<TRadioButton>(group, "A", 10, 20, 100, 17);
    auto* b = Make<TRadioButton>(group, "B", 10, 40, 100, 17);
    auto* c = Make<TRadioButton>(group, "C", 10, 60, 100, 17);
    auto* elsewhere = Make<TRadioButton>(root, "Elsewhere", 250, 20, 100, 17);
    elsewhere->SetChecked(true);
    std::vector<std::string> clicks;
    for (TRadioButton* r : {a, b, c})
        r->OnClick = [&clicks](TObject* s) { clicks.push_back(static_cast<TComponent*>(s)->GetName()); };
    a->SetChecked(true);
    clicks.clear();

    TPoint p = Center(c);
    Input::Click(p.x, p.y);
    EXPECT_TRUE(c->GetChecked());
    EXPECT_FALSE(a->GetChecked());
    EXPECT_TRUE(elsewhere->GetChecked()) << "other parents keep their own choice";
    EXPECT_EQ(clicks, (std::vector<std::string>{"C"}));
    EXPECT_FALSE(a->GetTabStop()) << "only the checked button is a tab stop";
    EXPECT_TRUE(c->GetTabStop());

    clicks.clear();
    Input::KeyPress(VK_UP);
    EXPECT_TRUE(b->Focused());
    EXPECT_TRUE(b->GetChecked());
    EXPECT_FALSE(c->GetChecked());
    Input::KeyPress(VK_UP);
    EXPECT_TRUE(a->GetChecked());
    EXPECT_EQ(clicks, (std::vector<std::string>{"B", "A"}));
    int checked = 0;
    for (TRadioButton* r : {a, b, c}) checked += r->GetChecked();
    EXPECT_EQ(checked, 1);
}

// A button that leaves its drawing to the owner-draw path, as picture
// buttons do.
class TOwnerDrawnButton : public TButton {
    HOST_CLASS(TOwnerDrawnButton, TButton)
    HOST_MESSAGES(TOwnerDrawnButton)
public:
    explicit TOwnerDrawnButton(TComponent* AOwner) : TButton(AOwner) {}
    std::vector<UINT> States;
    bool SameWindow = true;

protected:
    void CreateParams(TCreateParams& Params) override
    {
        inherited::CreateParams(Params);
        Params.Style |= BS_OWNERDRAW;
    }
    void SetButtonStyle(bool) override {}
    void CNDrawItem(TMessage& Message)
    {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
        States.push_back(item->itemState);
        SameWindow = SameWindow && item->hwndItem == GetHandle() && item->CtlType == ODT_BUTTON;
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_HIGHLIGHT));
        Message.Result = 1;
    }
};

HOST_MESSAGE_MAP(TOwnerDrawnButton) { M(CN_DRAWITEM, &TOwnerDrawnButton::CNDrawItem); }

TEST_F(StdButtonsTest, OwnerDrawnButtonDrawsThroughCnDrawItemWithItsState)
{
    TTestPanel* root = Root();
    auto* button = Make<TOwnerDrawnButton>(root, "Pic", 20, 20, 60, 30);
    auto* edit = Make<TTestPanel>(root, "Edit", 200, 20, 60, 20);
    edit->SetTabStop(true);
    button->SetDefault(true);
    edit->SetFocus();
    ProcessPendingMessages();
    ASSERT_FALSE(button->States.empty());
    EXPECT_EQ(button->States.back(), 0u);
    EXPECT_EQ(ButtonKind(button), BS_OWNERDRAW) << "the default frame does not replace owner drawing";
    EXPECT_EQ(At(CaptureWindow(FHost), 20 + 30, 20 + 15), GetSysColor(COLOR_HIGHLIGHT));

    TPoint p = Center(button);
    Input::MouseMove(p.x, p.y);
    Input::MouseDown();
    ProcessPendingMessages();
    EXPECT_EQ(button->States.back(), ODS_SELECTED | ODS_FOCUS);
    Input::MouseUp();
    ProcessPendingMessages();
    EXPECT_EQ(button->States.back(), ODS_FOCUS);
    button->SetEnabled(false);
    ProcessPendingMessages();
    EXPECT_EQ(button->States.back(), ODS_DISABLED);
    EXPECT_TRUE(button->SameWindow);
}

TEST_F(StdButtonsTest, ClassicLookOfButtonCheckBoxAndGroupBox)
{
    TTestPanel* root = Root();
    root->SetColor(clBtnFace);
    auto* ok = Make<TButton>(root, "Ok", 10, 10, 75, 25);
    ok->SetCaption("OK");
    auto* box = Make<TCheckBox>(root, "Box", 10, 50, 100, 17);
    box->SetCaption("Check");
    box->SetChecked(true);
    box->SetColor(clBtnFace);
    auto* group = Make<TGroupBox>(root, "Group", 150, 10, 150, 80);
    group->SetColor(clBtnFace);
    group->SetCaption("Group");
    ProcessPendingMessages();
    TImageData img = CaptureWindow(FHost);
    const char* dir = std::getenv("TEST_OUTPUT_DIR");
    Screenshot(FHost, std::string(dir ? dir : "/tmp") + "/stdbuttons_look.png");
    struct TProbe {
        const char* Name;
        int X, Y, Color;
    } probes[] = {
        {"button lit top-left", 10, 10, COLOR_BTNHIGHLIGHT},
        {"button dark bottom-right", 84, 34, COLOR_3DDKSHADOW},
        {"button inner shadow", 83, 33, COLOR_BTNSHADOW},
        {"button face", 14, 14, COLOR_BTNFACE},
        {"check box well", 10 + 10, 52 + 4, COLOR_WINDOW},
        {"check mark", 10 + 6, 52 + 8, COLOR_WINDOWTEXT},
        {"group frame shadow", 150, 70, COLOR_BTNSHADOW},
        {"group frame light", 151, 70, COLOR_BTNHIGHLIGHT},
        {"group bottom shadow", 200, 88, COLOR_BTNSHADOW},
        {"group bottom light", 200, 89, COLOR_BTNHIGHLIGHT},
    };
    for (const TProbe& p : probes) EXPECT_EQ(At(img, p.X, p.Y), GetSysColor(p.Color)) << p.Name;
}

TEST_F(StdButtonsTest, GroupBoxPlacesAlignedChildrenInsideFrameAndBelowCaption)
{
    TTestPanel* root = Root();
    auto* group = Make<TGroupBox>(root, "Group", 10, 10, 200, 120);
    group->SetCaption("Caption");
    auto* child = Make<TTestPanel>(group, "Child", 0, 0, 10, 10);
    child->SetAlign(alClient);
    int h = group->GetCanvas()->TextHeight("0");
    EXPECT_EQ(child->GetBoundsRect(), (TRect{2, h + 2, 198, 118}));
}

TEST_F(StdButtonsTest, ButtonsRoundTripThroughFormText)
{
    auto* ok = new TButton(nullptr);
    ok->SetName("Ok");
    ok->SetCaption("&OK");
    ok->SetDefault(true);
    ok->SetCancel(true);
    ok->SetModalResult(mrOk);
    ok->SetBounds(5, 6, 80, 27);
    auto* box = new TCheckBox(nullptr);
    box->SetName("Box");
    box->SetAllowGrayed(true);
    box->SetState(cbGrayed);
    box->SetAlignment(taLeftJustify);
    auto* radio = new TRadioButton(nullptr);
    radio->SetName("Radio");
    radio->SetChecked(true);
    auto* group = new TGroupBox(nullptr);
    group->SetName("Group");
    group->SetCaption("Options");
    group->SetCtl3D(false);

    auto* ok2 = static_cast<TButton*>(ReadComponentFromString(WriteComponentToString(ok), nullptr));
    EXPECT_EQ(ok2->GetCaption(), "&OK");
    EXPECT_TRUE(ok2->GetDefault());
    EXPECT_TRUE(ok2->GetCancel());
    EXPECT_EQ(ok2->GetModalResult(), mrOk);
    EXPECT_EQ(ok2->GetBoundsRect(), (TRect{5, 6, 85, 33}));
    auto* box2 = static_cast<TCheckBox*>(ReadComponentFromString(WriteComponentToString(box), nullptr));
    EXPECT_EQ(box2->GetState(), cbGrayed);
    EXPECT_TRUE(box2->GetAllowGrayed());
    EXPECT_EQ(box2->GetAlignment(), taLeftJustify);
    auto* radio2 = static_cast<TRadioButton*>(ReadComponentFromString(WriteComponentToString(radio), nullptr));
    EXPECT_TRUE(radio2->GetChecked());
    auto* group2 = static_cast<TGroupBox*>(ReadComponentFromString(WriteComponentToString(group), nullptr));
    EXPECT_EQ(group2->GetCaption(), "Options");
    EXPECT_FALSE(group2->GetCtl3D());
    for (TComponent* c : std::initializer_list<TComponent*>{ok, box, radio, group, ok2, box2, radio2, group2})
        c->Free();
}

} // namespace
} // namespace controltest
