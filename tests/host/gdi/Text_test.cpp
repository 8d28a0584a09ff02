#include "host/gdi/Image.h"
#include "host/gdi/Png.h"
#include "host/gdi/WinGdi.h"
#include "host/gdi/WinText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using namespace host;

namespace {

constexpr COLORREF kWhite = 0xFFFFFF, kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00;

// A white 32-bit canvas with its own font.
class Canvas {
public:
    Canvas(int W, int H) : FW(W), FH(H)
    {
        FDc = CreateCompatibleDC(nullptr);
        FBmp = CreateCompatibleBitmap(FDc, W, H);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = W;
        bi.bmiHeader.biHeight = -H;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        FBmp = CreateDIBSection(FDc, &bi, 0, &bits, nullptr, 0);
        SelectObject(FDc, FBmp);
        Fill(RECT{0, 0, W, H}, kWhite);
    }
    ~Canvas()
    {
        DeleteDC(FDc);
        DeleteObject(FBmp);
        if (FFont) DeleteObject(FFont);
    }
    HDC Dc() const { return FDc; }
    void Fill(RECT R, COLORREF C)
    {
        HRGN rgn = CreateRectRgnIndirect(&R);
        HBRUSH b = CreateSolidBrush(C);
        FillRgn(FDc, rgn, b);
        DeleteObject(b);
        DeleteObject(rgn);
    }
    void UseFont(const char* Face, int Height, int Escapement = 0, bool Underline = false)
    {
        HFONT f = CreateFont(Height, 0, Escapement, Escapement, FW_NORMAL, 0, Underline, 0, ANSI_CHARSET, 0, 0, 0, 0, Face);
        SelectObject(FDc, f);
        if (FFont) DeleteObject(FFont);
        FFont = f;
    }
    // Pixel as a COLORREF.
    COLORREF At(int X, int Y) const
    {
        TImageData img = ImageFromDC(FDc);
        uint32_t p = img.Pixel(X, Y);
        return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
    }
    // Bounds of pixels of colour C ({0,0,0,0} when none).
    RECT Bounds(COLORREF C) const
    {
        TImageData img = ImageFromDC(FDc);
        RECT r{FW, FH, 0, 0};
        for (int y = 0; y < FH; ++y)
            for (int x = 0; x < FW; ++x) {
                uint32_t p = img.Pixel(x, y);
                if ((((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16)) != C) continue;
                r.left = std::min<LONG>(r.left, x); r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1); r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
        return r.right ? r : RECT{0, 0, 0, 0};
    }
    int Count(COLORREF C) const
    {
        TImageData img = ImageFromDC(FDc);
        int n = 0;
        for (uint32_t p : img.Pixels) n += (((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16)) == C;
        return n;
    }

private:
    int FW, FH;
    HDC FDc;
    HBITMAP FBmp = nullptr;
    HFONT FFont = nullptr;
};

// Rectangles compare and print as text.
std::string Str(const RECT& R)
{
    return "(" + std::to_string(R.left) + "," + std::to_string(R.top) + ")-(" + std::to_string(R.right) + "," +
           std::to_string(R.bottom) + ")";
}

bool Inside(const RECT& In, const RECT& Out)
{
    return In.left >= Out.left && In.top >= Out.top && In.right <= Out.right && In.bottom <= Out.bottom;
}

SIZE Extent(HDC Dc, const char* Text)
{
    SIZE s{};
    GetTextExtentPoint32(Dc, Text, int(std::strlen(Text)), &s);
    return s;
}

} // namespace

TEST(Text, OpaqueBoxFollowsAlignmentAndEscapement)
{
    const int x = 150, y = 120;
    const char* text = "Measured Text";
    struct { int esc; UINT align; } cases[] = {
        {0, TA_TOP | TA_LEFT}, {0, TA_BASELINE | TA_CENTER}, {0, TA_BOTTOM | TA_RIGHT},
        {900, TA_TOP | TA_LEFT}, {1800, TA_TOP | TA_LEFT}, {2700, TA_TOP | TA_LEFT}, {900, TA_BASELINE | TA_RIGHT},
    };
    for (auto c : cases) {
        Canvas cv(300, 240);
        cv.UseFont("Arial", -16, c.esc);
        TEXTMETRIC tm;
        ASSERT_TRUE(GetTextMetrics(cv.Dc(), &tm));
        SIZE ext = Extent(cv.Dc(), text);
        SetTextAlign(cv.Dc(), c.align);
        SetBkMode(cv.Dc(), OPAQUE);
        SetBkColor(cv.Dc(), kGreen);
        SetTextColor(cv.Dc(), kRed);
        ASSERT_TRUE(TextOut(cv.Dc(), x, y, text, -1));
        // The unrotated box relative to the reference point: a along the text, d across it.
        int a0 = (c.align & TA_CENTER) == TA_CENTER ? -(ext.cx / 2) : (c.align & TA_RIGHT) ? -ext.cx : 0;
        int d0 = (c.align & TA_BASELINE) == TA_BASELINE ? -tm.tmAscent : (c.align & TA_BOTTOM) ? -tm.tmHeight : 0;
        int a1 = a0 + ext.cx, d1 = d0 + tm.tmHeight;
        RECT want = c.esc == 0      ? RECT{x + a0, y + d0, x + a1, y + d1}
                    : c.esc == 900  ? RECT{x + d0, y - a1, x + d1, y - a0}
                    : c.esc == 1800 ? RECT{x - a1, y - d1, x - a0, y - d0}
                                    : RECT{x - d1, y + a0, x - d0, y + a1};
        SCOPED_TRACE("escapement " + std::to_string(c.esc) + " align " + std::to_string(c.align));
        RECT box = cv.Bounds(kGreen), ink = cv.Bounds(kRed);
        RECT all;
        UnionRect(&all, &box, &ink);
        EXPECT_EQ(Str(all), Str(want));
        EXPECT_GT(cv.Count(kRed), 50);
        EXPECT_EQ(cv.Count(kWhite), 300 * 240 - (want.right - want.left) * (want.bottom - want.top));
    }
}

TEST(Text, TransparentTextIgnoresRop2AndHonoursTheClip)
{
    Canvas cv(200, 60);
    cv.UseFont("Arial", -20);
    SetBkMode(cv.Dc(), TRANSPARENT);
    SetTextColor(cv.Dc(), kBlue);
    SetROP2(cv.Dc(), R2_XORPEN);
    SIZE ext = Extent(cv.Dc(), "Clip me please");
    IntersectClipRect(cv.Dc(), 10, 0, 60, 60);
    TextOut(cv.Dc(), 10, 10, "Clip me please", -1);
    RECT ink = cv.Bounds(kBlue);
    EXPECT_GT(cv.Count(kBlue), 30);
    EXPECT_TRUE(Inside(ink, RECT{10, 10, 60, 10 + ext.cy})) << Str(ink);
    EXPECT_GE(ink.right, 55); // the clip cut through the text, not before it
    // Nothing but white and the text colour: no background, no XOR mix.
    EXPECT_EQ(cv.Count(kBlue) + cv.Count(kWhite), 200 * 60);
}

TEST(Text, ExtTextOutOpaqueClippedDistancesAndWindowOrigin)
{
    Canvas cv(200, 80);
    cv.UseFont("Arial", -16);
    SetBkMode(cv.Dc(), TRANSPARENT);
    SetBkColor(cv.Dc(), kGreen);
    SetTextColor(cv.Dc(), kRed);
    RECT r{20, 10, 70, 40};
    ASSERT_TRUE(ExtTextOut(cv.Dc(), 20, 15, ETO_OPAQUE | ETO_CLIPPED, &r, "Wide clipped text", 17, nullptr));
    EXPECT_EQ(cv.Bounds(kGreen).left, 20);
    EXPECT_EQ(cv.Bounds(kGreen).top, 10);
    RECT ink = cv.Bounds(kRed);
    EXPECT_TRUE(Inside(ink, r)) << Str(ink);
    EXPECT_EQ(cv.Count(kGreen) + cv.Count(kRed), 50 * 30);

    // Distances place each character; a shifted window origin moves everything.
    Canvas d(200, 40);
    d.UseFont("Arial", -16);
    SetTextColor(d.Dc(), kRed);
    SetBkMode(d.Dc(), TRANSPARENT);
    SetWindowOrgEx(d.Dc(), -5, 0, nullptr);
    INT dx[] = {40, 40, 40};
    ExtTextOut(d.Dc(), 0, 5, 0, nullptr, "lll", 3, dx);
    Canvas one(200, 40);
    one.UseFont("Arial", -16);
    SetTextColor(one.Dc(), kRed);
    SetBkMode(one.Dc(), TRANSPARENT);
    TextOut(one.Dc(), 5, 5, "l", 1);
    RECT first = one.Bounds(kRed);
    RECT all = d.Bounds(kRed);
    EXPECT_EQ(all.left, first.left);
    EXPECT_EQ(all.right, first.right + 80);
    EXPECT_EQ(d.Count(kRed), 3 * one.Count(kRed));
}

TEST(Text, UpdateCpAdvancesTheCurrentPosition)
{
    Canvas cv(300, 60);
    cv.UseFont("Arial", -16);
    SetTextAlign(cv.Dc(), TA_UPDATECP);
    TextOut(cv.Dc(), 0, 0, "abc", 3);
    TextOut(cv.Dc(), 0, 0, "def", 3);
    POINT cp;
    GetCurrentPositionEx(cv.Dc(), &cp);
    EXPECT_EQ(cp.x, Extent(cv.Dc(), "abcdef").cx);
    EXPECT_EQ(cp.y, 0);
    SetTextAlign(cv.Dc(), TA_UPDATECP | TA_RIGHT);
    TextOut(cv.Dc(), 0, 0, "abc", 3);
    GetCurrentPositionEx(cv.Dc(), &cp);
    EXPECT_EQ(cp.x, Extent(cv.Dc(), "abcdef").cx - Extent(cv.Dc(), "abc").cx);
}

TEST(Text, FontObjectsAnswerGetObjectMetricsAndWidths)
{
    Canvas cv(10, 10);
    HFONT f = CreateFont(-18, 0, 450, 450, FW_BOLD, 1, 1, 0, ANSI_CHARSET, 0, 0, 0, 0, "Times New Roman");
    LOGFONT lf{};
    EXPECT_EQ(GetObject(f, sizeof lf, &lf), int(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -18);
    EXPECT_EQ(lf.lfEscapement, 450);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_STREQ(lf.lfFaceName, "Times New Roman");
    EXPECT_EQ(GetObjectType(f), OBJ_FONT);
    HGDIOBJ old = SelectObject(cv.Dc(), f);
    TEXTMETRIC tm;
    GetTextMetrics(cv.Dc(), &tm);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 18);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    EXPECT_TRUE(tm.tmItalic && tm.tmUnderlined && !tm.tmStruckOut);
    EXPECT_EQ(tm.tmPitchAndFamily & 0xF0, FF_ROMAN);
    char face[LF_FACESIZE];
    EXPECT_EQ(GetTextFace(cv.Dc(), sizeof face, face), int(std::strlen("Times New Roman")) + 1);
    EXPECT_STREQ(face, "Times New Roman");
    // Character widths add up to the extent; extent is unrotated.
    INT w[3];
    ASSERT_TRUE(GetCharWidth32(cv.Dc(), 'a', 'c', w));
    EXPECT_EQ(w[0] + w[1] + w[2], Extent(cv.Dc(), "abc").cx);
    SetTextCharacterExtra(cv.Dc(), 3);
    EXPECT_EQ(w[0] + w[1] + w[2] + 9, Extent(cv.Dc(), "abc").cx);
    SelectObject(cv.Dc(), old);
    DeleteObject(f);

    HFONT unknown = CreateFont(-12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Surely Not Installed");
    SelectObject(cv.Dc(), unknown);
    GetTextFace(cv.Dc(), sizeof face, face);
    EXPECT_STREQ(face, "DejaVu Sans");
    SelectObject(cv.Dc(), old);
    DeleteObject(unknown);
}

TEST(Text, DrawTextMeasuresBreaksAndAligns)
{
    Canvas cv(300, 200);
    cv.UseFont("Arial", -14);
    TEXTMETRIC tm;
    GetTextMetrics(cv.Dc(), &tm);
    const int lh = tm.tmHeight;
    SIZE one = Extent(cv.Dc(), "Single line");

    RECT r{10, 20, 10, 20};
    EXPECT_EQ(DrawText(cv.Dc(), "Single line", -1, &r, DT_CALCRECT | DT_SINGLELINE), lh);
    EXPECT_EQ(Str(r), Str(RECT{10, 20, 10 + one.cx, 20 + lh}));
    r = RECT{0, 0, 0, 0};
    EXPECT_EQ(DrawText(cv.Dc(), "two\nlines", -1, &r, DT_CALCRECT), 2 * lh);
    EXPECT_EQ(r.right, std::max(Extent(cv.Dc(), "two").cx, Extent(cv.Dc(), "lines").cx));
    r = RECT{0, 0, 0, 0};
    DrawText(cv.Dc(), "x", -1, &r, DT_CALCRECT | DT_EXTERNALLEADING);
    EXPECT_EQ(r.bottom, lh + tm.tmExternalLeading);

    // Word breaking: every line fits, no word is split, all words survive.
    const char* para = "The quick brown fox jumps over the lazy dog again and again";
    r = RECT{0, 0, 120, 0};
    int h = DrawText(cv.Dc(), para, -1, &r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(h % lh, 0);
    EXPECT_GE(h / lh, 4);
    EXPECT_LE(r.right, 120);
    EXPECT_GT(r.right, 80);
    // A word wider than the rectangle keeps its line and widens the result.
    r = RECT{0, 0, 30, 0};
    EXPECT_EQ(DrawText(cv.Dc(), "a Supercalifragilistic b", -1, &r, DT_CALCRECT | DT_WORDBREAK), 3 * lh);
    EXPECT_EQ(r.right, Extent(cv.Dc(), "Supercalifragilistic").cx);

    // Prefixes: "&&" measures as one ampersand, "&F" as F.
    r = RECT{0, 0, 0, 0};
    DrawText(cv.Dc(), "A&&B &File", -1, &r, DT_CALCRECT);
    EXPECT_EQ(r.right, Extent(cv.Dc(), "A&B File").cx);
    r = RECT{0, 0, 0, 0};
    DrawText(cv.Dc(), "A&&B", -1, &r, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(r.right, Extent(cv.Dc(), "A&&B").cx);

    // Tabs expand to multiples of eight average widths, or DT_TABSTOP's count.
    r = RECT{0, 0, 0, 0};
    DrawText(cv.Dc(), "a\tb", -1, &r, DT_CALCRECT | DT_EXPANDTABS);
    EXPECT_EQ(r.right, 8 * tm.tmAveCharWidth + Extent(cv.Dc(), "b").cx);
    r = RECT{0, 0, 0, 0};
    DrawText(cv.Dc(), "a\tb", -1, &r, DT_CALCRECT | DT_EXPANDTABS | DT_TABSTOP | (4 << 8));
    EXPECT_EQ(r.right, 4 * tm.tmAveCharWidth + Extent(cv.Dc(), "b").cx);
}

TEST(Text, DrawTextPaintsWhereItMeasured)
{
    struct { UINT format; } cases[] = {
        {DT_SINGLELINE | DT_LEFT | DT_TOP}, {DT_SINGLELINE | DT_CENTER | DT_VCENTER},
        {DT_SINGLELINE | DT_RIGHT | DT_BOTTOM},
    };
    for (auto c : cases) {
        Canvas cv(200, 100);
        cv.UseFont("Arial", -14);
        SetBkMode(cv.Dc(), OPAQUE);
        SetBkColor(cv.Dc(), kGreen);
        SetTextColor(cv.Dc(), kRed);
        SIZE ext = Extent(cv.Dc(), "Box");
        RECT r{20, 10, 180, 90};
        int h = DrawText(cv.Dc(), "Box", -1, &r, c.format);
        int x = (c.format & DT_CENTER) ? 20 + (160 - ext.cx) / 2 : (c.format & DT_RIGHT) ? 180 - ext.cx : 20;
        int y = (c.format & DT_VCENTER) ? 10 + (80 - ext.cy) / 2 : (c.format & DT_BOTTOM) ? 90 - ext.cy : 10;
        RECT box = cv.Bounds(kGreen), ink = cv.Bounds(kRed), all;
        UnionRect(&all, &box, &ink);
        EXPECT_EQ(Str(all), Str(RECT{x, y, x + ext.cx, y + ext.cy})) << c.format;
        EXPECT_EQ(h, y + ext.cy - 10) << c.format;
    }
}

TEST(Text, DrawTextUnderlinesPrefixAndShortensWithEllipsis)
{
    Canvas cv(300, 100);
    cv.UseFont("Arial", -16);
    SetBkMode(cv.Dc(), TRANSPARENT);
    SetTextColor(cv.Dc(), kRed);
    TEXTMETRIC tm;
    GetTextMetrics(cv.Dc(), &tm);
    RECT r{0, 0, 300, 30};
    DrawText(cv.Dc(), "x&Wz", -1, &r, DT_SINGLELINE);
    // The underline is the lowest ink, and it runs exactly under the W.
    RECT ink = cv.Bounds(kRed);
    int xw = Extent(cv.Dc(), "x").cx, ww = Extent(cv.Dc(), "W").cx;
    int row = ink.bottom - 1;
    EXPECT_GT(row, tm.tmAscent);
    for (int x = 0; x < 60; ++x)
        EXPECT_EQ(cv.At(x, row) == kRed, x >= xw && x < xw + ww) << x;
    Canvas hidden(300, 100);
    hidden.UseFont("Arial", -16);
    SetTextColor(hidden.Dc(), kRed);
    SetBkMode(hidden.Dc(), TRANSPARENT);
    DrawText(hidden.Dc(), "x&Wz", -1, &r, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_LT(hidden.Bounds(kRed).bottom, ink.bottom);

    // An end ellipsis keeps the text inside and ends in dots.
    Canvas e(300, 40);
    e.UseFont("Arial", -16);
    SetTextColor(e.Dc(), kRed);
    SetBkMode(e.Dc(), TRANSPARENT);
    RECT er{0, 0, 100, 30};
    const char* longText = "This sentence is far too long for the box";
    DrawText(e.Dc(), longText, -1, &er, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    RECT einks = e.Bounds(kRed);
    EXPECT_LE(einks.right, 100);
    EXPECT_GT(einks.right, 100 - Extent(e.Dc(), "W...").cx);
    // The last ink is a dot: a small square blob near the baseline.
    int dotX = einks.right - 1;
    EXPECT_EQ(e.At(dotX, tm.tmAscent - 1), kRed);
    EXPECT_NE(e.At(dotX, tm.tmAscent - 6), kRed);
    RECT calc{0, 0, 100, 0};
    DrawText(e.Dc(), "C:\\a\\very\\long\\folder\\name.txt", -1, &calc, DT_CALCRECT | DT_SINGLELINE | DT_PATH_ELLIPSIS);
    EXPECT_LE(calc.right, 100);
}

TEST(Text, TabbedTextUsesTheGivenStops)
{
    Canvas cv(300, 40);
    cv.UseFont("Arial", -14);
    TEXTMETRIC tm;
    GetTextMetrics(cv.Dc(), &tm);
    INT stops[] = {50, 120};
    DWORD e = GetTabbedTextExtent(cv.Dc(), "a\tb\tcc", -1, 2, stops);
    EXPECT_EQ(LOWORD(e), 120 + Extent(cv.Dc(), "cc").cx);
    EXPECT_EQ(HIWORD(e), tm.tmHeight);
    INT every = 30;
    e = GetTabbedTextExtent(cv.Dc(), "a\t\tb", -1, 1, &every);
    EXPECT_EQ(LOWORD(e), 60 + Extent(cv.Dc(), "b").cx);
    e = GetTabbedTextExtent(cv.Dc(), "a\tb", -1, 0, nullptr);
    EXPECT_EQ(LOWORD(e), 8 * tm.tmAveCharWidth + Extent(cv.Dc(), "b").cx);

    SetTextColor(cv.Dc(), kRed);
    SetBkMode(cv.Dc(), TRANSPARENT);
    // Stops count from the tab origin, not from where the text starts.
    TabbedTextOut(cv.Dc(), 20, 5, "\tl", -1, 2, stops, 0);
    Canvas ref(300, 40);
    ref.UseFont("Arial", -14);
    SetTextColor(ref.Dc(), kRed);
    SetBkMode(ref.Dc(), TRANSPARENT);
    TextOut(ref.Dc(), 50, 5, "l", 1);
    EXPECT_EQ(Str(cv.Bounds(kRed)), Str(ref.Bounds(kRed)));
}

TEST(Text, SavedPngShowsWhatTheDcHolds)
{
    Canvas cv(64, 32);
    cv.UseFont("Arial", -14);
    SetTextColor(cv.Dc(), kBlue);
    TextOut(cv.Dc(), 2, 2, "PNG", 3);
    std::string path = (std::filesystem::temp_directory_path() / "kel_text_png_test.png").string();
    SaveDCToPng(cv.Dc(), path);
    TImageData back = LoadPngFile(path);
    TImageData now = ImageFromDC(cv.Dc());
    std::filesystem::remove(path);
    EXPECT_EQ(back.Pixels, now.Pixels);
    HBITMAP copy = CreateBitmapFromImage(back);
    EXPECT_EQ(ImageFromBitmap(copy).Pixels, now.Pixels);
    DeleteObject(copy);
}
