// Drawn control parts: pixel probes of the features a person recognises
// (which ring is lit, where the mark sits, which way an arrow points).
#include "../gdi/GdiTestUtil.h"
#include "host/win/WinUser.h"

#include <gtest/gtest.h>

namespace {

using namespace host;
using host::test::TestCanvas;

COLORREF Sys(int i) { return GetSysColor(i); }

struct TProbe {
    const char* Name;
    UINT Type, State;
    int X, Y;
    int Color;  // system colour index expected at (X, Y)
};

// A 20x13 rect: check boxes are 13x13 at the left, radio buttons 12x12 at
// the left, centred vertically (top 0 for the box, 0 for the radio as well).
TEST(DrawFrameControl, PartsUseTheClassicColours)
{
    const TProbe probes[] = {
        {"check outer ring top-left is shadow", DFC_BUTTON, DFCS_BUTTONCHECK, 0, 0, COLOR_BTNSHADOW},
        {"check outer ring bottom-right is lit", DFC_BUTTON, DFCS_BUTTONCHECK, 12, 12, COLOR_BTNHIGHLIGHT},
        {"check inner ring is dark", DFC_BUTTON, DFCS_BUTTONCHECK, 1, 1, COLOR_3DDKSHADOW},
        {"unchecked well is window colour", DFC_BUTTON, DFCS_BUTTONCHECK, 6, 6, COLOR_WINDOW},
        {"check mark in window text", DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, 6, 8, COLOR_WINDOWTEXT},
        {"check mark leaves its corner free", DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, 3, 3, COLOR_WINDOW},
        {"inactive well is face", DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_INACTIVE, 6, 6, COLOR_BTNFACE},
        {"inactive mark is shadow", DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE, 6, 8,
         COLOR_BTNSHADOW},
        {"grayed well is face", DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED, 3, 3, COLOR_BTNFACE},
        {"grayed mark is shadow", DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED, 6, 8, COLOR_BTNSHADOW},
        {"pushed well is face", DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_PUSHED, 6, 6, COLOR_BTNFACE},
        {"flat box has a shadow frame", DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT, 12, 12, COLOR_BTNSHADOW},
        {"radio ring top is shadow", DFC_BUTTON, DFCS_BUTTONRADIO, 5, 0, COLOR_BTNSHADOW},
        {"radio ring bottom is lit", DFC_BUTTON, DFCS_BUTTONRADIO, 5, 11, COLOR_BTNHIGHLIGHT},
        {"radio inner ring top is dark", DFC_BUTTON, DFCS_BUTTONRADIO, 5, 1, COLOR_3DDKSHADOW},
        {"unchecked radio well", DFC_BUTTON, DFCS_BUTTONRADIO, 5, 5, COLOR_WINDOW},
        {"radio dot", DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED, 5, 5, COLOR_WINDOWTEXT},
        {"inactive radio dot", DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_INACTIVE, 5, 5,
         COLOR_BTNSHADOW},
        {"push button lit at top-left", DFC_BUTTON, DFCS_BUTTONPUSH, 0, 0, COLOR_BTNHIGHLIGHT},
        {"push button black at bottom-right", DFC_BUTTON, DFCS_BUTTONPUSH, 19, 12, COLOR_3DDKSHADOW},
        {"push button inner shadow", DFC_BUTTON, DFCS_BUTTONPUSH, 18, 11, COLOR_BTNSHADOW},
        {"push button face", DFC_BUTTON, DFCS_BUTTONPUSH, 9, 6, COLOR_BTNFACE},
        {"pushed button dark at top-left", DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED, 0, 0, COLOR_3DDKSHADOW},
        {"pushed button lit at bottom-right", DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED, 19, 12,
         COLOR_BTNHIGHLIGHT},
        {"flat push button", DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_FLAT, 0, 0, COLOR_BTNSHADOW},
    };
    for (const TProbe& p : probes) {
        TestCanvas c(20, 13, RGB(1, 2, 3));
        RECT r{0, 0, 20, 13};
        ASSERT_TRUE(DrawFrameControl(c.Dc, &r, p.Type, p.State)) << p.Name;
        EXPECT_EQ(c.At(p.X, p.Y), Sys(p.Color)) << p.Name;
    }
}

TEST(DrawFrameControl, GlyphsSitCentredVerticallyAndAdjustRect)
{
    TestCanvas c(30, 21, RGB(1, 2, 3));
    RECT r{2, 0, 30, 21};
    DrawFrameControl(c.Dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_ADJUSTRECT);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.top, 4);
    EXPECT_EQ(r.bottom - r.top, 13);
    EXPECT_EQ(c.At(2, 3), RGB(1, 2, 3)) << "nothing above the box";
    EXPECT_EQ(c.At(2, 4), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.At(16, 10), RGB(1, 2, 3)) << "nothing right of the box";

    RECT push{0, 0, 30, 21};
    DrawFrameControl(c.Dc, &push, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    EXPECT_EQ(push.left, 2);
    EXPECT_EQ(push.top, 2);
    EXPECT_EQ(push.right, 28);
    EXPECT_EQ(push.bottom, 19);
}

// The row (or column) of arrow pixels nearest the tip is the narrowest.
int CountText(const TestCanvas& c, int x0, int y0, int dx, int dy, int n)
{
    int count = 0;
    for (int i = 0; i < n; ++i)
        count += c.At(x0 + i * dx, y0 + i * dy) == Sys(COLOR_BTNTEXT);
    return count;
}

TEST(DrawFrameControl, ScrollArrowsPointTheirWay)
{
    struct TCase {
        UINT Part;
        bool Vertical;
        bool TipFirst;  // tip at the top (or left)
    };
    const TCase cases[] = {
        {DFCS_SCROLLUP, true, true},
        {DFCS_SCROLLDOWN, true, false},
        {DFCS_SCROLLCOMBOBOX, true, false},
        {DFCS_SCROLLLEFT, false, true},
        {DFCS_SCROLLRIGHT, false, false},
    };
    for (const TCase& k : cases) {
        TestCanvas c(16, 16);
        RECT r{0, 0, 16, 16};
        DrawFrameControl(c.Dc, &r, DFC_SCROLL, k.Part);
        // Widths of the arrow's lines across the travel direction.
        std::vector<int> widths;
        for (int i = 2; i < 14; ++i) {
            int w = k.Vertical ? CountText(c, 2, i, 1, 0, 12) : CountText(c, i, 2, 0, 1, 12);
            if (w) widths.push_back(w);
        }
        ASSERT_EQ(widths.size(), 4u) << k.Part;
        EXPECT_EQ(k.TipFirst ? widths.front() : widths.back(), 1) << k.Part;
        EXPECT_EQ(k.TipFirst ? widths.back() : widths.front(), 7) << k.Part;
    }
}

TEST(DrawFrameControl, InactiveArrowIsEmbossed)
{
    TestCanvas c(16, 16);
    RECT r{0, 0, 16, 16};
    DrawFrameControl(c.Dc, &r, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE);
    int shadow = 0, lit = 0, text = 0;
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x) {
            shadow += c.At(x, y) == Sys(COLOR_BTNSHADOW);
            lit += c.At(x, y) == Sys(COLOR_BTNHIGHLIGHT);
            text += c.At(x, y) == Sys(COLOR_BTNTEXT);
        }
    EXPECT_EQ(text, 0);
    EXPECT_EQ(shadow, 16);  // the whole triangle: 1 + 3 + 5 + 7
    EXPECT_GT(lit, 0);
}

TEST(DrawFrameControl, PushedArrowMovesDownRight)
{
    TestCanvas up(16, 16), down(16, 16);
    RECT r{0, 0, 16, 16};
    DrawFrameControl(up.Dc, &r, DFC_SCROLL, DFCS_SCROLLDOWN);
    DrawFrameControl(down.Dc, &r, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED);
    int arrow = 0;
    for (int y = 2; y < 13; ++y)
        for (int x = 2; x < 13; ++x) {
            arrow += up.At(x, y) == Sys(COLOR_BTNTEXT);
            EXPECT_EQ(up.At(x, y) == Sys(COLOR_BTNTEXT), down.At(x + 1, y + 1) == Sys(COLOR_BTNTEXT));
        }
    EXPECT_EQ(arrow, 16);
    EXPECT_EQ(down.At(0, 0), Sys(COLOR_BTNSHADOW)) << "pressed arrows go flat";
}

TEST(DrawFrameControl, CaptionGlyphsDiffer)
{
    const UINT parts[] = {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE};
    std::vector<std::string> masks;
    for (UINT part : parts) {
        TestCanvas c(16, 14);
        RECT r{0, 0, 16, 14};
        DrawFrameControl(c.Dc, &r, DFC_CAPTION, part);
        std::string m;
        for (int y = 2; y < 12; ++y)
            for (int x = 2; x < 14; ++x) m += c.At(x, y) == Sys(COLOR_BTNTEXT) ? '#' : '.';
        EXPECT_NE(m.find('#'), std::string::npos) << part;
        for (const std::string& other : masks) EXPECT_NE(m, other) << part;
        masks.push_back(m);
    }
}

TEST(DrawFrameControl, SizeGripStripesAndUnknownTypes)
{
    TestCanvas c(16, 16, Sys(COLOR_BTNFACE));
    RECT r{0, 0, 16, 16};
    DrawFrameControl(c.Dc, &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    EXPECT_EQ(c.At(15, 14), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.At(15, 12), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(c.At(0, 0), Sys(COLOR_BTNFACE)) << "the grip stays in the corner";
    EXPECT_FALSE(DrawFrameControl(c.Dc, &r, 99, 0));
    EXPECT_FALSE(DrawFrameControl(c.Dc, nullptr, DFC_BUTTON, 0));
}

TEST(DrawState, DisabledTextIsEmbossed)
{
    TestCanvas c(60, 20, Sys(COLOR_BTNFACE));
    SetTextColor(c.Dc, RGB(0, 0, 0));
    const char* text = "Ill";
    ASSERT_TRUE(DrawState(c.Dc, nullptr, nullptr, LPARAM(text), 0, 2, 2, 0, 0, DST_TEXT | DSS_DISABLED));
    int shadow = 0, lit = 0, black = 0, litBelowShadow = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            COLORREF p = c.At(x, y);
            shadow += p == Sys(COLOR_BTNSHADOW);
            lit += p == Sys(COLOR_BTNHIGHLIGHT);
            black += p == RGB(0, 0, 0);
            if (p == Sys(COLOR_BTNSHADOW) && c.At(x + 1, y + 1) == Sys(COLOR_BTNHIGHLIGHT)) ++litBelowShadow;
        }
    EXPECT_GT(shadow, 0);
    EXPECT_GT(lit, 0);
    EXPECT_GT(litBelowShadow, 0);
    EXPECT_EQ(black, 0) << "disabled text ignores the DC's text colour";
    EXPECT_EQ(GetTextColor(c.Dc), RGB(0, 0, 0)) << "the DC is left as it was";
}

TEST(DrawState, PrefixTextUnderlinesAndComplexDrawsAtOffset)
{
    TestCanvas plain(60, 20), prefixed(60, 20);
    const char* text = "&Ab";
    DrawState(plain.Dc, nullptr, nullptr, LPARAM("Ab"), 0, 0, 0, 0, 0, DST_TEXT);
    DrawState(prefixed.Dc, nullptr, nullptr, LPARAM(text), 0, 0, 0, 0, 0, DST_PREFIXTEXT);
    EXPECT_NE(plain.Mask(), prefixed.Mask()) << "the accelerator is underlined";

    TestCanvas c(20, 20);
    auto proc = [](HDC dc, LPARAM, WPARAM, int cx, int cy) -> BOOL {
        RECT r{0, 0, cx, cy};
        FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        return TRUE;
    };
    ASSERT_TRUE(DrawState(c.Dc, nullptr, proc, 0, 0, 5, 6, 3, 2, DST_COMPLEX));
    EXPECT_EQ(c.At(5, 6), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(c.At(7, 7), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(c.At(4, 6), RGB(255, 255, 255));
    EXPECT_EQ(c.At(8, 6), RGB(255, 255, 255));
    EXPECT_FALSE(DrawState(c.Dc, nullptr, nullptr, 0, 0, 0, 0, 0, 0, DST_TEXT)) << "no text";
}

} // namespace
