// Labels: sizing to the text, accelerators, layout and the disabled look.
#include "ControlTest.h"
#include "host/vcl/Filer.h"
#include "host/vcl/StdCtrls.h"

#include <cstdlib>

namespace controltest {
namespace {

COLORREF At(const TImageData& Img, int X, int Y)
{
    uint32_t p = Img.Pixel(X, Y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// A label that shows what the drawing code asks of it.
class TProbeLabel : public TLabel {
    HOST_CLASS(TProbeLabel, TLabel)
public:
    explicit TProbeLabel(TComponent* AOwner) : TLabel(AOwner) {}
    std::string Suffix;
    std::vector<UINT> Flags;

protected:
    std::string GetLabelText() override { return inherited::GetLabelText() + Suffix; }
    void DoDrawText(TRect& Rect, UINT F) override
    {
        Flags.push_back(F);
        inherited::DoDrawText(Rect, F);
    }
};

SIZE TextSize(TFont* Font, const std::string& Text, UINT Flags = 0)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font->GetHandle());
    RECT r{0, 0, 0, 0};
    DrawText(dc, Text.c_str(), int(Text.size()), &r, DT_CALCRECT | DT_EXPANDTABS | Flags);
    SelectObject(dc, old);
    DeleteDC(dc);
    return SIZE{r.right, r.bottom};
}

TEST_F(ControlTest, AutoSizeFitsTheTextKeepingTheAnchoredSide)
{
    TTestPanel* root = Root();
    const std::string shortText = "Hi", longText = "Hello, world";
    for (TAlignment a : {taLeftJustify, taRightJustify, taCenter}) {
        auto* label = Make<TLabel>(root, "L", 100, 10, 10, 10);
        label->SetAlignment(a);
        label->SetCaption(shortText);
        SIZE s1 = TextSize(label->GetFont(), shortText);
        EXPECT_EQ(label->GetWidth(), s1.cx);
        EXPECT_EQ(label->GetHeight(), s1.cy);
        int right = label->GetLeft() + label->GetWidth(), mid2 = 2 * label->GetLeft() + label->GetWidth();
        int left = label->GetLeft();
        label->SetCaption(longText);
        SIZE s2 = TextSize(label->GetFont(), longText);
        EXPECT_EQ(label->GetWidth(), s2.cx);
        if (a == taLeftJustify) {
            EXPECT_EQ(label->GetLeft(), left);
        } else if (a == taRightJustify) {
            EXPECT_EQ(label->GetLeft() + label->GetWidth(), right);
        } else {
            EXPECT_LE(std::abs(2 * label->GetLeft() + label->GetWidth() - mid2), 1);
        }
        label->Free();
    }
    auto* label = Make<TLabel>(root, "Fixed", 10, 10, 30, 40);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 30, 40);
    label->SetCaption("A much longer caption");
    EXPECT_EQ(label->GetBoundsRect(), (TRect{10, 10, 40, 50})) << "without AutoSize the bounds stay";
    label->SetCaption("");
    label->SetAutoSize(true);
    EXPECT_EQ(label->GetHeight(), TextSize(label->GetFont(), " ").cy) << "an empty label keeps one line";
    EXPECT_EQ(label->GetWidth(), TextSize(label->GetFont(), " ").cx);
}

TEST_F(ControlTest, AutoSizeMeasuresWithoutAmpersandsUnlessShownLiterally)
{
    auto* label = new TLabel(nullptr);
    label->SetCaption("&File && more");
    EXPECT_EQ(label->GetWidth(), TextSize(label->GetFont(), "&File && more").cx);
    EXPECT_EQ(label->GetWidth(), TextSize(label->GetFont(), "File & more", DT_NOPREFIX).cx);
    label->SetShowAccelChar(false);
    EXPECT_EQ(label->GetWidth(), TextSize(label->GetFont(), "&File && more", DT_NOPREFIX).cx);
    label->SetWordWrap(true);
    label->SetAutoSize(false);
    label->SetWidth(30);
    label->SetAutoSize(true);
    EXPECT_GT(label->GetHeight(), TextSize(label->GetFont(), "X").cy) << "wrapped onto several lines";
    label->Free();
}

TEST_F(ControlTest, AcceleratorFocusesTheFocusControl)
{
    TTestPanel* root = Root();
    auto* edit = Make<TTestPanel>(root, "Edit", 100, 10, 80, 20);
    edit->SetTabStop(true);
    auto* other = Make<TTestPanel>(root, "Other", 100, 50, 80, 20);
    other->SetTabStop(true);
    auto* label = Make<TLabel>(root, "Label", 10, 10, 60, 15);
    label->SetCaption("&Name");
    label->SetFocusControl(edit);
    other->SetFocus();
    struct TCase {
        const char* Name;
        std::function<void()> Setup;
        int Key;
        bool Focuses;
    } cases[] = {
        {"its letter", [] {}, 'N', true},
        {"another letter", [] {}, 'X', false},
        {"accelerators off", [&] { label->SetShowAccelChar(false); }, 'N', false},
        {"disabled label", [&] { label->SetEnabled(false); }, 'N', false},
        {"target that cannot take focus", [&] { edit->SetEnabled(false); }, 'N', false},
        {"literal ampersand", [&] { label->SetCaption("&&Name"); }, 'N', false},
    };
    for (const TCase& k : cases) {
        label->SetCaption("&Name");
        label->SetShowAccelChar(true);
        label->SetEnabled(true);
        edit->SetEnabled(true);
        other->SetFocus();
        k.Setup();
        Input::KeyPress(k.Key);
        EXPECT_EQ(edit->Focused(), k.Focuses) << k.Name;
    }
    edit->Free();
    EXPECT_EQ(label->GetFocusControl(), nullptr) << "a freed focus control is forgotten";
    other->SetFocus();
    Input::KeyPress('N');  // must not touch the freed control
}

TEST_F(ControlTest, IsAccelFindsTheMarkedLetter)
{
    struct TCase {
        const char* Text;
        int Key;
        bool Expected;
    } cases[] = {
        {"&Save", 'S', true},  {"&Save", 's', true},  {"S&ave", 'A', true}, {"Save", 'S', false},
        {"&&Save", 'S', false}, {"&&&Save", 'S', true}, {"Save&", 'S', false}, {"", 'S', false},
    };
    for (const TCase& k : cases) EXPECT_EQ(IsAccel(WORD(k.Key), k.Text), k.Expected) << k.Text << " " << char(k.Key);
}

TEST_F(ControlTest, LayoutPlacesTheTextVerticallyAndVirtualsAreUsed)
{
    TTestPanel* root = Root();
    root->SetColor(clWhite);
    auto* label = Make<TProbeLabel>(root, "Probe", 10, 10, 100, 60);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 100, 60);
    label->SetColor(clWhite);
    label->SetCaption("X");
    label->Suffix = "YZ";
    // The first rows with dark pixels, per layout.
    std::vector<int> tops;
    for (TTextLayout layout : {tlTop, tlCenter, tlBottom}) {
        label->SetLayout(layout);
        ProcessPendingMessages();
        TImageData img = CaptureWindow(FHost);
        int top = -1, right = -1;
        for (int y = 0; y < 60 && top < 0; ++y)
            for (int x = 0; x < 100; ++x)
                if (At(img, 10 + x, 10 + y) != RGB(255, 255, 255)) {
                    top = y;
                    break;
                }
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 100; ++x)
                if (At(img, 10 + x, 10 + y) != RGB(255, 255, 255)) right = std::max(right, x);
        ASSERT_GE(top, 0);
        tops.push_back(top);
        EXPECT_GT(right, TextSize(label->GetFont(), "X").cx) << "GetLabelText's text is drawn";
    }
    int h = TextSize(label->GetFont(), "XYZ").cy;
    EXPECT_EQ(tops[1] - tops[0], (60 - h) / 2);
    EXPECT_EQ(tops[2] - tops[0], 60 - h);
    ASSERT_FALSE(label->Flags.empty());
    EXPECT_TRUE(label->Flags.back() & DT_EXPANDTABS);
}

TEST_F(ControlTest, DisabledLabelIsEmbossedAndTransparentLabelShowsItsParent)
{
    TTestPanel* root = Root();
    root->SetColor(clRed);
    auto* label = Make<TLabel>(root, "Label", 10, 10, 10, 10);
    label->SetCaption("Disabled");
    label->SetColor(clBtnFace);
    label->SetEnabled(false);
    ProcessPendingMessages();
    TImageData img = CaptureWindow(FHost);
    int lit = 0, shadow = 0, black = 0;
    for (int y = 0; y < label->GetHeight(); ++y)
        for (int x = 0; x < label->GetWidth(); ++x) {
            COLORREF c = At(img, 10 + x, 10 + y);
            lit += c == GetSysColor(COLOR_BTNHIGHLIGHT);
            shadow += c == GetSysColor(COLOR_BTNSHADOW);
            black += c == RGB(0, 0, 0);
        }
    EXPECT_GT(lit, 0);
    EXPECT_GT(shadow, 0);
    EXPECT_EQ(black, 0);
    EXPECT_EQ(At(img, 10, 10), GetSysColor(COLOR_BTNFACE)) << "opaque labels fill their colour";
    label->SetTransparent(true);
    ProcessPendingMessages();
    EXPECT_EQ(At(CaptureWindow(FHost), 10, 10), RGB(255, 0, 0));
}

TEST_F(ControlTest, LabelRoundTripsThroughFormText)
{
    auto* label = new TLabel(nullptr);
    label->SetName("Label");
    label->SetAutoSize(false);
    label->SetBounds(3, 4, 50, 20);
    label->SetCaption("&Total:");
    label->SetAlignment(taRightJustify);
    label->SetLayout(tlCenter);
    label->SetWordWrap(true);
    label->SetShowAccelChar(false);
    label->SetTransparent(true);
    label->SetColor(clYellow);
    std::string text = WriteComponentToString(label);
    auto* copy = static_cast<TLabel*>(ReadComponentFromString(text, nullptr));
    EXPECT_EQ(copy->GetCaption(), "&Total:");
    EXPECT_FALSE(copy->GetAutoSize());
    EXPECT_EQ(copy->GetBoundsRect(), (TRect{3, 4, 53, 24}));
    EXPECT_EQ(copy->GetAlignment(), taRightJustify);
    EXPECT_EQ(copy->GetLayout(), tlCenter);
    EXPECT_TRUE(copy->GetWordWrap());
    EXPECT_FALSE(copy->GetShowAccelChar());
    EXPECT_TRUE(copy->GetTransparent());
    EXPECT_EQ(copy->GetColor(), clYellow);
    label->Free();
    copy->Free();
}

} // namespace
} // namespace controltest
