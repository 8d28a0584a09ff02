// The clipboard, printing, capture and designer routines.
#include "general/Kelutilf.h"

#include "host/design/DsgnIntf.h"
#include "host/gdi/WinGdi.h"
#include "host/rtl/Strings.h"
#include "host/vcl/Clipbrd.h"
#include "host/vcl/Forms.h"
#include "host/vcl/Printers.h"
#include "host/win/Screen.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace host;
using namespace kel;
namespace fs = std::filesystem;

// Quarters of red, green, blue and white, so that a shifted or flipped
// capture cannot pass.
class TQuarters : public TCustomControl {
    HOST_CLASS(TQuarters, TCustomControl)
public:
    explicit TQuarters(TComponent* AOwner) : TCustomControl(AOwner) {}

protected:
    void Paint() override
    {
        TCanvas* c = GetCanvas();
        int w = GetClientWidth(), h = GetClientHeight();
        const TColor colors[] = {clRed, clLime, clBlue, clWhite};
        for (int i = 0; i < 4; ++i) {
            c->GetBrush()->SetColor(colors[i]);
            c->FillRect(Rect(i % 2 ? w / 2 : 0, i / 2 ? h / 2 : 0, i % 2 ? w : w / 2, i / 2 ? h : h / 2));
        }
        c->GetPen()->SetColor(clBlack);
        c->MoveTo(0, 0);
        c->LineTo(w, h);
    }
};

// A list whose reading fails at one line, as a broken source would.
class TFailingStrings : public TStringList {
    HOST_CLASS(TFailingStrings, TStringList)
public:
    int FailAt = -1;
    std::string Get(int Index) const override
    {
        if (Index == FailAt) throw Exception("source lost");
        return inherited::Get(Index);
    }
};

class KelutilfPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem(SIZE{320, 240});
        Saved = PrinterSettings();
        char pattern[] = "/tmp/kel-utilf-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        Folder = pattern;
        PrinterSettings().OutputFolder = Folder;
        PrinterSettings().Dpi = 72;
        PrinterSettings().KeepPageImages = true;
        Old = SetPrinter(new TPrinter());
    }
    void TearDown() override
    {
        delete SetPrinter(Old);
        PrinterSettings() = Saved;
        fs::remove_all(Folder);
        ResetWindowSystem();
    }
    static std::unique_ptr<TStringList> Lines(int Count)
    {
        auto list = std::make_unique<TStringList>();
        for (int i = 0; i < Count; ++i) list->Add("Line " + std::to_string(i + 1));
        return list;
    }
    // Top rows of each band of ink (runs of rows with a non-white pixel).
    static std::vector<int> InkBandTops(const TImageData& Page, int& Left)
    {
        std::vector<int> tops;
        Left = Page.Width;
        bool inBand = false;
        for (int y = 0; y < Page.Height; ++y) {
            bool ink = false;
            for (int x = 0; x < Page.Width; ++x)
                if (Page.Pixel(x, y) != 0xFFFFFF) {
                    ink = true;
                    Left = std::min(Left, x);
                }
            if (ink && !inBand) tops.push_back(y);
            inBand = ink;
        }
        return tops;
    }

    TPrinterSettings Saved;
    std::string Folder;
    TPrinter* Old = nullptr;
};

TEST_F(KelutilfPrint, StrToClipPutsText)
{
    kelStrToClip("copied");
    EXPECT_EQ(Clipboard()->GetAsText(), "copied");
    kelStrToClip("");
    EXPECT_EQ(Clipboard()->GetAsText(), "");
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
}

// Lines stand every 100 units from 100 down; the page turns after the given
// count, and 0 gives every line a page of its own.
TEST_F(KelutilfPrint, PrintStringsFormatPlacesLinesAndTurnsPages)
{
    struct { int lines, perPage, x; std::vector<std::vector<int>> pages; } cases[] = {
        {5, 2, 30, {{100, 200}, {100, 200}, {100}}},
        {3, 0, 0, {{100}, {100}, {100}}},
        {4, 255, 255, {{100, 200, 300, 400}}},
        {3, 3, 10, {{100, 200, 300}}},
    };
    for (const auto& c : cases) {
        auto list = Lines(c.lines);
        kelPrintStringsFormat(list.get(), uint8_t(c.x), uint8_t(c.perPage));
        const TPrintJobRecord& job = LastPrintJob();
        ASSERT_EQ(job.Pages.size(), c.pages.size()) << c.lines << " lines, " << c.perPage << " a page";
        int height = Printer()->GetCanvas()->TextHeight("Line 1");
        for (size_t p = 0; p < c.pages.size(); ++p) {
            int left = 0;
            std::vector<int> tops = InkBandTops(job.Pages[p], left);
            ASSERT_EQ(tops.size(), c.pages[p].size()) << "page " << p;
            for (size_t i = 0; i < tops.size(); ++i) {
                EXPECT_GE(tops[i], c.pages[p][i]) << "page " << p << " line " << i;
                EXPECT_LT(tops[i], c.pages[p][i] + height) << "page " << p << " line " << i;
            }
            EXPECT_GE(left, c.x);
            EXPECT_LT(left, c.x + 4);
        }
    }
}

TEST_F(KelutilfPrint, PrintStringsFormatAbortsAFailedJobAndRestoresTheCursor)
{
    TFailingStrings list;
    for (int i = 0; i < 5; ++i) list.Add("x");
    list.FailAt = 3;
    SetCursor(nullptr);
    EXPECT_THROW(kelPrintStringsFormat(&list, 0, 2), Exception);
    EXPECT_FALSE(Printer()->GetPrinting());
    EXPECT_TRUE(LastPrintJob().Aborted);
    EXPECT_TRUE(fs::is_empty(Folder));
    EXPECT_EQ(GetCursor(), CursorHandle(crDefault));

    list.FailAt = -1;
    kelPrintStringsFormat(&list, 0, 2);
    EXPECT_EQ(LastPrintJob().PageCount, 3);
}

TEST_F(KelutilfPrint, PrintStringsUsesTheTextDevice)
{
    int perPage = Printer()->GetPageHeight() / Printer()->GetCanvas()->TextHeight("0");
    struct { int lines, pages; } cases[] = {{0, 1}, {3, 1}, {perPage + 1, 2}};
    for (auto c : cases) {
        auto list = Lines(c.lines);
        kelPrintStrings(list.get());
        EXPECT_EQ(LastPrintJob().PageCount, c.pages) << c.lines;
        int left = 0;
        EXPECT_EQ(InkBandTops(LastPrintJob().Pages.at(0), left).size(), size_t(std::min(c.lines, perPage)));
    }
}

TEST_F(KelutilfPrint, PrintStringsClosesTheDeviceAfterAnError)
{
    TFailingStrings list;
    for (int i = 0; i < 4; ++i) list.Add("y");
    list.FailAt = 2;
    EXPECT_THROW(kelPrintStrings(&list), Exception);
    EXPECT_FALSE(Printer()->GetPrinting());
    EXPECT_FALSE(LastPrintJob().Aborted);
    int left = 0;
    EXPECT_EQ(InkBandTops(LastPrintJob().Pages.at(0), left).size(), 2u) << "the lines before the error";
}

class KelutilfCapture : public KelutilfPrint {
protected:
    void SetUp() override
    {
        KelutilfPrint::SetUp();
        Control = new TQuarters(nullptr);
        Control->SetBounds(10, 20, 40, 30);
        WNDCLASS wc;
        wc.lpfnWndProc = &DefWindowProc;
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = "CaptureHost";
        RegisterClass(&wc);
        Host = CreateWindowEx(0, "CaptureHost", "", WS_POPUP | WS_VISIBLE, 5, 5, 200, 150, nullptr, nullptr,
                              HInstance(), nullptr);
        Control->SetParentWindow(Host);
        Control->SetVisible(true);
        UpdateWindow(Control->GetHandle());
    }
    void TearDown() override
    {
        Control->Free();
        KelutilfPrint::TearDown();
    }
    TQuarters* Control = nullptr;
    HWND Host = nullptr;
};

TEST_F(KelutilfCapture, ControlBitmapEqualsTheScreen)
{
    TBitmap* bitmap = kelGetControlBitmap(Control);
    TImageData shot = CaptureWindow(Control->GetHandle());
    ASSERT_EQ(bitmap->GetWidth(), 40);
    ASSERT_EQ(bitmap->GetHeight(), 30);
    ASSERT_EQ(shot.Width, 40);
    ASSERT_EQ(shot.Height, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(ColorToRGB(bitmap->GetCanvas()->GetPixels(x, y)),
                      COLORREF(RGB(shot.Pixel(x, y) >> 16, (shot.Pixel(x, y) >> 8) & 0xFF, shot.Pixel(x, y) & 0xFF)))
                << x << "," << y;
    EXPECT_EQ(bitmap->GetCanvas()->GetPixels(5, 25), clBlue);
    bitmap->Free();
}

TEST_F(KelutilfCapture, ControlImagePrintsScaledToThePrinter)
{
    PrinterSettings().Dpi = 192;
    SetPrinter(new TPrinter())->Free();
    kelPrintControlImage(Control);
    const TPrintJobRecord& job = LastPrintJob();
    ASSERT_EQ(job.Pages.size(), 1u);
    TBitmap* bitmap = kelGetControlBitmap(Control);
    const TImageData& page = job.Pages[0];
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            COLORREF c = ColorToRGB(bitmap->GetCanvas()->GetPixels(x, y));
            uint32_t expected = uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
            ASSERT_EQ(page.Pixel(2 * x, 2 * y), expected) << x << "," << y;
            ASSERT_EQ(page.Pixel(2 * x + 1, 2 * y + 1), expected) << x << "," << y;
        }
    EXPECT_EQ(page.Pixel(80, 60), 0xFFFFFFu) << "nothing beyond the scaled image";
    bitmap->Free();
}

class TFakeDesigner : public TDesigner {
public:
    int Modifications = 0;
    void Modified() override { ++Modifications; }
};

TEST(KelutilfDesigner, ModifiedReachesTheFormsDesignerOnlyWhenDesigning)
{
    ResetWindowSystem(SIZE{320, 240});
    auto* form = new TCustomForm(nullptr);
    auto* control = new TQuarters(form);
    control->SetParent(form);
    auto* plain = new TComponent(form);
    auto* orphan = new TQuarters(nullptr);
    TFakeDesigner designer;

    kelDesignerModified(control);
    kelDesignerModified(nullptr);
    form->SetDesigning(true);
    kelDesignerModified(control);  // no designer yet
    SetFormDesigner(form, &designer);
    EXPECT_EQ(GetFormDesigner(form), &designer);
    orphan->SetDesigning(true);

    struct { TComponent* component; int calls; } cases[] = {
        {control, 1}, {plain, 1}, {form, 1}, {orphan, 0},
    };
    for (auto c : cases) {
        designer.Modifications = 0;
        kelDesignerModified(c.component);
        EXPECT_EQ(designer.Modifications, c.calls) << c.component->ClassName();
    }

    form->SetDesigning(false);
    designer.Modifications = 0;
    kelDesignerModified(control);
    EXPECT_EQ(designer.Modifications, 0) << "not being designed";

    SetFormDesigner(form, nullptr);
    EXPECT_EQ(GetFormDesigner(form), nullptr);
    SetFormDesigner(form, &designer);
    form->Free();
    orphan->Free();
    auto* next = new TCustomForm(nullptr);
    EXPECT_EQ(GetFormDesigner(next), nullptr) << "a freed form's slot is gone";
    next->Free();
    ResetWindowSystem();
}

} // namespace
