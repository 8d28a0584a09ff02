#include "WinTestUtil.h"

#include "host/gdi/Bmp.h"
#include "host/gdi/Ico.h"
#include "host/rtl/Resources.h"

#include <cstdlib>
#include <cstring>

using namespace host;
using namespace wintest;

namespace {

class ModalTest : public WinTest {};

std::vector<std::pair<UINT_PTR, uint64_t>> GFired;

void CALLBACK_Record(HWND, UINT, UINT_PTR id, DWORD) { GFired.emplace_back(id, GetClock().MonotonicMs()); }

TEST_F(ModalTest, TimersFireOnVirtualTimeInDueOrder)
{
    HWND w = Top("T", 0, 0, 100, 100);
    uint64_t start = FClock.MonotonicMs();
    SetTimer(w, 1, 300, nullptr);
    SetTimer(w, 2, 200, nullptr);
    GFired.clear();
    UINT_PTR cb = SetTimer(nullptr, 0, 250, CALLBACK_Record);
    Log().clear();
    ProcessPendingMessages();
    EXPECT_TRUE(Only(WM_TIMER).empty()) << "nothing is due before time passes";
    Input::AdvanceTime(650);
    std::vector<std::pair<UINT_PTR, uint64_t>> fired;
    for (const TLogged& l : Only(WM_TIMER))
        fired.emplace_back(l.WParam, 0);
    // Window timers at 200, 300, 400, 600; the callback timer at 250 and 500.
    std::vector<UINT_PTR> ids;
    for (auto& f : fired)
        ids.push_back(f.first);
    EXPECT_EQ(ids, (std::vector<UINT_PTR>{2, 1, 2, 1, 2}));
    ASSERT_EQ(GFired.size(), 2u);
    EXPECT_EQ(GFired[0].second - start, 250u);
    EXPECT_EQ(GFired[1].second - start, 500u);
    EXPECT_TRUE(KillTimer(w, 2));
    EXPECT_FALSE(KillTimer(w, 2));
    Log().clear();
    Input::AdvanceTime(300);
    ids.clear();
    for (const TLogged& l : Only(WM_TIMER))
        ids.push_back(l.WParam);
    EXPECT_EQ(ids, (std::vector<UINT_PTR>{1}));
    KillTimer(nullptr, cb);
    DestroyWindow(w);
    Input::AdvanceTime(1000);
}

TEST_F(ModalTest, TheHookAnswersAMessageBoxThroughItsButtons)
{
    HWND main = Top("Main", 0, 0, 300, 200);
    ProcessPendingMessages();
    struct Case {
        UINT type;
        int button;  // the id the hook clicks, or 0 to press a key
        int key;
        int expected;
    } cases[] = {
        {MB_YESNO | MB_ICONQUESTION, IDNO, 0, IDNO},
        {MB_OKCANCEL, IDOK, 0, IDOK},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, 0, VK_RETURN, IDNO},
        {MB_OKCANCEL, 0, VK_ESCAPE, IDCANCEL},
        {MB_OK | MB_ICONERROR, 0, VK_ESCAPE, IDOK},
    };
    for (const Case& c : cases) {
        std::string seenText;
        bool mainDisabled = false;
        SetModalHook([&](HWND box) {
            char caption[64];
            GetWindowText(box, caption, 64);
            seenText = caption;
            mainDisabled = !IsWindowEnabled(main);
            if (const char* dir = std::getenv("KEL_SCREENSHOTS"); dir && c.type == (MB_YESNO | MB_ICONQUESTION))
                Screenshot(nullptr, std::string(dir) + "/win-messagebox.png");
            if (c.button) {
                HWND b = GetDlgItem(box, c.button);
                ASSERT_NE(b, nullptr);
                POINT p = Input::CenterOf(b);
                Input::Click(p.x, p.y);
            } else {
                Input::KeyPress(c.key);
            }
        });
        int r = MessageBox(main, "Save the changes?", "Question", c.type);
        EXPECT_EQ(r, c.expected) << "type " << c.type;
        EXPECT_EQ(seenText, "Question");
        EXPECT_TRUE(mainDisabled) << "the owner is disabled while the box is up";
        EXPECT_TRUE(IsWindowEnabled(main));
        EXPECT_EQ(GetActiveWindow(), main);
    }
}

TEST_F(ModalTest, AnUnansweredModalLoopFailsInsteadOfHanging)
{
    HWND main = Top("Main", 0, 0, 300, 200);
    ProcessPendingMessages();
    try {
        MessageBox(main, "Nobody answers", "Lonely", MB_OK);
        ADD_FAILURE() << "the loop returned";
    } catch (const EIdleLoop& e) {
        EXPECT_NE(std::string(e.what()).find("Lonely"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(IsWindowEnabled(main)) << "the owner comes back after the failure";
    EXPECT_EQ(FindWindow("#32770", nullptr), nullptr) << "the box is gone";

    // A repeating timer alone does not keep an unanswered loop alive forever.
    SetTimer(main, 1, 1000, nullptr);
    SetModalIdleLimit(60000);
    bool done = false;
    EXPECT_THROW(RunModalLoop(main, [&] { return done; }), EIdleLoop);
    SetModalIdleLimit(10 * 60 * 1000);

    // A loop ended by a timer runs on virtual time without help.
    int ticks = 0;
    WNDPROC inst = MakeObjectInstance([&](TMessage& m) {
        if (m.Msg == WM_TIMER && ++ticks == 3)
            done = true;
        m.Result = DefWindowProc(main, m.Msg, m.WParam, m.LParam);
    });
    SetWindowLongPtr(main, GWL_WNDPROC, LONG_PTR(inst));
    uint64_t before = FClock.MonotonicMs();
    RunModalLoop(main, [&] { return done; });
    EXPECT_EQ(ticks, 3);
    EXPECT_GE(FClock.MonotonicMs() - before, 3000u);
    SetWindowLongPtr(main, GWL_WNDPROC, LONG_PTR(RecordingProc));
    FreeObjectInstance(inst);

    // A plain message loop in which only a timer ticks gives up as well.
    SetModalIdleLimit(60000);
    int loops = 0;
    MSG timerMsg;
    EXPECT_THROW(
        for (;;) {
            GetMessage(&timerMsg, nullptr, 0, 0);
            DispatchMessage(&timerMsg);
            ++loops;
        },
        EIdleLoop);
    EXPECT_GE(loops, 50);
    EXPECT_LE(loops, 61);
    SetModalIdleLimit(10 * 60 * 1000);

    // An idle GetMessage with nothing to wait for fails too.
    KillTimer(main, 1);
    ProcessPendingMessages();
    MSG msg;
    EXPECT_THROW(GetMessage(&msg, nullptr, 0, 0), EIdleLoop);
}

TEST_F(ModalTest, ObjectInstancesAreDistinctCallableProcedures)
{
    int a = 0, b = 0;
    WNDPROC pa = MakeObjectInstance([&](TMessage& m) { a += int(m.WParam); m.Result = 1; });
    WNDPROC pb = MakeObjectInstance([&](TMessage& m) { b += int(m.WParam); m.Result = 2; });
    EXPECT_NE(pa, pb);
    EXPECT_EQ(pa(nullptr, WM_USER, 5, 0), 1);
    EXPECT_EQ(CallWindowProc(pb, nullptr, WM_USER, 7, 0), 2);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 7);
    FreeObjectInstance(pa);
    WNDPROC pc = MakeObjectInstance([&](TMessage& m) { m.Result = 3; });
    EXPECT_EQ(pc(nullptr, WM_USER, 0, 0), 3);
    FreeObjectInstance(pb);
    FreeObjectInstance(pc);
    struct Handler {
        UINT Last = 0;
        void WndProc(TMessage& m) { Last = m.Msg; m.Result = 4; }
    } handler;
    WNDPROC pm = MakeObjectInstance(&handler, &Handler::WndProc);
    EXPECT_EQ(pm(nullptr, WM_USER + 8, 0, 0), 4);
    EXPECT_EQ(handler.Last, WM_USER + 8);
    FreeObjectInstance(pm);

    // A utility window delivers its messages to the method.
    std::vector<UINT> got;
    HWND util = AllocateHWnd([&](TMessage& m) { got.push_back(m.Msg); });
    ASSERT_TRUE(IsWindow(util));
    EXPECT_FALSE(IsWindowVisible(util));
    PostMessage(util, WM_USER + 4, 0, 0);
    ProcessPendingMessages();
    EXPECT_EQ(got, (std::vector<UINT>{WM_USER + 4}));
    DeallocateHWnd(util);
    EXPECT_FALSE(IsWindow(util));
}

TEST_F(ModalTest, ClipboardHoldsMovableBlocksByFormat)
{
    HWND w = Top("C", 0, 0, 100, 100);
    UINT custom = RegisterClipboardFormat("Kel Rows");
    EXPECT_GE(custom, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat("kel rows"), custom) << "names compare without case";
    ASSERT_TRUE(OpenClipboard(w));
    EXPECT_FALSE(OpenClipboard(nullptr)) << "someone else has it open";
    EXPECT_TRUE(EmptyClipboard());
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 6);
    std::memcpy(GlobalLock(text), "hello", 6);
    GlobalUnlock(text);
    HGLOBAL rows = GlobalAlloc(GHND, 3);
    SetClipboardData(CF_TEXT, text);
    SetClipboardData(custom, rows);
    CloseClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(custom));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr) << "closed clipboards give nothing";
    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL got = GetClipboardData(CF_TEXT);
    ASSERT_NE(got, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(got)), "hello");
    GlobalUnlock(got);
    EXPECT_EQ(GlobalSize(GetClipboardData(custom)), 3u);
    EXPECT_EQ(EnumClipboardFormats(0), CF_TEXT);
    EXPECT_EQ(EnumClipboardFormats(CF_TEXT), custom);
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    CloseClipboard();
    EXPECT_EQ(GlobalFree(reinterpret_cast<HGLOBAL>(uintptr_t(0x12345))), reinterpret_cast<HGLOBAL>(uintptr_t(0x12345)))
        << "freeing a stranger fails";
}

TEST_F(ModalTest, ResourcesAndStringsComeFromTheRegistry)
{
    static const char kBlock[] = "raw bytes";
    RegisterResource(TResType::RawData, "WINTESTDATA", std::string_view(kBlock, 9));
    HRSRC r = FindResource(nullptr, "wintestdata", RT_RCDATA);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(SizeofResource(nullptr, r), 9u);
    EXPECT_EQ(std::memcmp(LockResource(LoadResource(nullptr, r)), "raw bytes", 9), 0);
    EXPECT_EQ(FindResource(nullptr, "WINTESTDATA", RT_BITMAP), nullptr);
    static const TStringTableEntry kStrings[] = {{31999, "Window test string"}};
    RegisterStringTable(kStrings, 1);
    char buf[8];
    EXPECT_EQ(LoadString(nullptr, 31999, buf, sizeof buf), 7);
    EXPECT_STREQ(buf, "Window ");
    EXPECT_EQ(LoadString(nullptr, 31998, buf, sizeof buf), 0);
    UnregisterResource(TResType::RawData, "WINTESTDATA");
    EXPECT_NE(LoadCursor(nullptr, IDC_SIZEWE), LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(LoadCursor(nullptr, "NO SUCH CURSOR"), nullptr);
}

TEST_F(ModalTest, BitmapsAndCursorsLoadFromRegisteredResources)
{
    TImageData img;
    AllocateImage(img, 4, 3, "test");
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            img.Pixels[size_t(y * 4 + x)] = x == 1 && y == 2 ? 0x00FF0000 : 0x000000FF;
    static std::vector<uint8_t> bmp = SaveBmp(img, 24);
    RegisterResource(TResType::Bitmap, "WINTESTBMP",
                     std::string_view(reinterpret_cast<const char*>(bmp.data()), bmp.size()));
    HBITMAP h = LoadBitmap(HInstance(), "WinTestBmp");
    ASSERT_NE(h, nullptr);
    BITMAP info;
    GetObject(h, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 4);
    EXPECT_EQ(info.bmHeight, 3);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, h);
    EXPECT_EQ(GetPixel(dc, 1, 2), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(h);
    EXPECT_EQ(LoadBitmap(HInstance(), "NOSUCHBMP"), nullptr);

    TImageData icon;
    AllocateImage(icon, 32, 32, "test");
    static std::vector<uint8_t> ico = SaveIco({icon});
    RegisterResource(TResType::Cursor, "WINTESTCUR",
                     std::string_view(reinterpret_cast<const char*>(ico.data()), ico.size()));
    HCURSOR cur = LoadCursor(HInstance(), "WINTESTCUR");
    ASSERT_NE(cur, nullptr);
    EXPECT_EQ(LoadCursor(HInstance(), "wintestcur"), cur) << "loaded once, shared after";
    ICONINFO ii;
    ASSERT_TRUE(GetIconInfo(cur, &ii));
    EXPECT_FALSE(ii.fIcon);
    EXPECT_NE(ii.hbmColor, nullptr);
    DeleteObject(ii.hbmColor);
    SetCursor(cur);
    EXPECT_EQ(GetCursor(), cur);
    static const char kJunk[] = "not a cursor";
    RegisterResource(TResType::Cursor, "WINTESTJUNK", std::string_view(kJunk, sizeof kJunk));
    EXPECT_EQ(LoadCursor(HInstance(), "WINTESTJUNK"), nullptr) << "bad data gives no cursor";
    UnregisterResource(TResType::Bitmap, "WINTESTBMP");
    UnregisterResource(TResType::Cursor, "WINTESTCUR");
    UnregisterResource(TResType::Cursor, "WINTESTJUNK");
}

}  // namespace
