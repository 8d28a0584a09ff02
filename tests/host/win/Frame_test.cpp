#include "WinTestUtil.h"

using namespace host;
using namespace wintest;

namespace {

class FrameTest : public WinTest {};

TEST_F(FrameTest, HitTestAnswersByPositionOnAClassicFrame)
{
    // A sizable captioned window at (100, 100), 300 x 200.
    HWND w = Top("Hit", 100, 100, 300, 200);
    int f = GetSystemMetrics(SM_CXFRAME);
    int cap = GetSystemMetrics(SM_CYCAPTION);
    struct Case {
        int x, y;
        LRESULT hit;
    } cases[] = {
        {101, 101, HTTOPLEFT},       {250, 101, HTTOP},
        {398, 101, HTTOPRIGHT},      {101, 200, HTLEFT},
        {398, 200, HTRIGHT},         {101, 298, HTBOTTOMLEFT},
        {250, 298, HTBOTTOM},        {398, 298, HTBOTTOMRIGHT},
        {250, 100 + f + 5, HTCAPTION}, {100 + f + 6, 100 + f + 8, HTSYSMENU},
        {400 - f - 10, 100 + f + 8, HTCLOSE}, {250, 200, HTCLIENT},
        {99, 200, HTNOWHERE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y)), c.hit) << c.x << "," << c.y;
    // A fixed dialog frame has borders but no sizing edges.
    HWND d = CreateWindowEx(WS_EX_DLGMODALFRAME, "Rec", "Dlg", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                            0, 0, 200, 100, nullptr, nullptr, HInstance(), nullptr);
    EXPECT_EQ(SendMessage(d, WM_NCHITTEST, 0, MAKELPARAM(1, 50)), HTBORDER);
    EXPECT_EQ(SendMessage(d, WM_NCHITTEST, 0, MAKELPARAM(100, 10)), HTCAPTION);
    (void)cap;
}

TEST_F(FrameTest, ClientAreaFollowsStylesAndAdjustWindowRectInvertsIt)
{
    int f = GetSystemMetrics(SM_CXFRAME), d = GetSystemMetrics(SM_CXDLGFRAME);
    int cap = GetSystemMetrics(SM_CYCAPTION), sb = GetSystemMetrics(SM_CXVSCROLL);
    struct Case {
        DWORD style, ex;
        RECT client;  // in window coordinates of a 200 x 150 window
    } cases[] = {
        {WS_POPUP, 0, {0, 0, 200, 150}},
        {WS_POPUP | WS_BORDER, 0, {1, 1, 199, 149}},
        {WS_OVERLAPPEDWINDOW, 0, {f, f + cap, 200 - f, 150 - f}},
        {WS_POPUP | WS_CAPTION, 0, {d, d + cap, 200 - d, 150 - d}},
        {WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, {d, d + GetSystemMetrics(SM_CYSMCAPTION), 200 - d, 150 - d}},
        {WS_CHILD, WS_EX_CLIENTEDGE, {2, 2, 198, 148}},
        {WS_CHILD | WS_VSCROLL | WS_HSCROLL, 0, {0, 0, 200 - sb, 150 - sb}},
    };
    HWND parent = Top("P", 0, 0, 400, 400, WS_POPUP | WS_VISIBLE);
    for (const Case& c : cases) {
        HWND w = CreateWindowEx(c.ex, "Rec", "", c.style, 10, 20, 200, 150, parent, nullptr, HInstance(), nullptr);
        ASSERT_NE(w, nullptr);
        RECT wr, cr;
        GetWindowRect(w, &wr);
        GetClientRect(w, &cr);
        POINT o{0, 0};
        ClientToScreen(w, &o);
        RECT got{o.x - wr.left, o.y - wr.top, o.x - wr.left + cr.right, o.y - wr.top + cr.bottom};
        EXPECT_EQ(got, c.client) << std::hex << c.style << " " << c.ex;
        RECT r = cr;
        AdjustWindowRectEx(&r, c.style, FALSE, c.ex);
        EXPECT_EQ(r.right - r.left, 200) << std::hex << c.style;
        EXPECT_EQ(r.bottom - r.top, 150) << std::hex << c.style;
        DestroyWindow(w);
    }
}

TEST_F(FrameTest, QueueDeliversPostedThenInputThenQuitThenPaintThenTimers)
{
    HWND w = Top("Q", 0, 0, 200, 200, WS_POPUP | WS_VISIBLE);
    ProcessPendingMessages();
    SetTimer(w, 1, 100, nullptr);
    FClock.Advance(100);
    InvalidateRect(w, nullptr, FALSE);
    SetCursorPos(50, 50);
    PostQuitMessage(0);
    PostMessage(w, WM_USER, 0, 0);
    PostThreadMessage(GetCurrentThreadId(), WM_USER + 1, 0, 0);
    std::vector<UINT> order;
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(msg.message);
        if (msg.message == WM_PAINT)
            ValidateRect(w, nullptr);
        if (msg.message == WM_TIMER)
            KillTimer(w, 1);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_USER + 1, WM_MOUSEMOVE, WM_QUIT, WM_PAINT, WM_TIMER}));
    EXPECT_EQ(msg.hwnd, w);
}

TEST_F(FrameTest, NestedModalLoopsEachMeetTheHook)
{
    HWND main = Top("Main", 0, 0, 300, 200);
    ProcessPendingMessages();
    std::vector<std::string> seen;
    SetModalHook([&](HWND box) {
        char caption[32];
        GetWindowText(box, caption, 32);
        seen.push_back(caption);
        if (seen.size() == 1) {
            // The first box opens a second one before answering.
            EXPECT_EQ(MessageBox(box, "Inner", "Second", MB_YESNO), IDYES);
            PostMessage(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_RETURN, 0);
        } else {
            HWND yes = GetDlgItem(box, IDYES);
            POINT p = Input::CenterOf(yes);
            Input::Click(p.x, p.y);
        }
    });
    EXPECT_EQ(MessageBox(main, "Outer", "First", MB_OK), IDOK);
    EXPECT_EQ(seen, (std::vector<std::string>{"First", "Second"}));
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(ModalLoopDepth(), 0);
}

TEST_F(FrameTest, RedrawWindowFlagsChooseWhatIsPaintedAndWhen)
{
    HWND top = Top("R", 0, 0, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN);
    HWND kid = Child(top, 1, 10, 10, 50, 50);
    ProcessPendingMessages();
    auto count = [&](HWND h, UINT m) {
        int n = 0;
        for (const TLogged& l : Log())
            n += l.Wnd == h && l.Msg == m;
        return n;
    };
    struct Case {
        UINT flags;
        int topPaints, kidPaints, topFrames;
    } cases[] = {
        {RDW_INVALIDATE | RDW_UPDATENOW, 1, 0, 0},
        {RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW, 1, 1, 0},
        {RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW, 1, 0, 1},
        {RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN, 0, 0, 0},  // nothing until the loop runs
    };
    for (const Case& c : cases) {
        Log().clear();
        RedrawWindow(top, nullptr, nullptr, c.flags);
        EXPECT_EQ(count(top, WM_PAINT), c.topPaints) << std::hex << c.flags;
        EXPECT_EQ(count(kid, WM_PAINT), c.kidPaints) << std::hex << c.flags;
        EXPECT_EQ(count(top, WM_NCPAINT), c.topFrames) << std::hex << c.flags;
    }
    RECT u;
    EXPECT_TRUE(GetUpdateRect(kid, &u, FALSE));
    RedrawWindow(top, nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
    EXPECT_FALSE(GetUpdateRect(top, &u, FALSE));
    EXPECT_FALSE(GetUpdateRect(kid, &u, FALSE));
    Log().clear();
    ProcessPendingMessages();
    EXPECT_EQ(count(top, WM_PAINT) + count(kid, WM_PAINT), 0) << "validated windows are not painted";
}

TEST_F(FrameTest, KeysTranslateToCharactersOfTheStandardLayout)
{
    HWND w = Top("K", 0, 0, 200, 100);
    ProcessPendingMessages();
    struct Case {
        int vk;
        unsigned mods;
        bool numLock;
        int expected;  // -1: no WM_CHAR
    } cases[] = {
        {'Q', 0, false, 'q'},
        {'Q', Input::Shift, false, 'Q'},
        {'C', Input::Ctrl, false, 3},
        {'2', Input::Shift, false, '@'},
        {VK_OEM_1, 0, false, ';'},
        {VK_OEM_7, Input::Shift, false, '"'},
        {VK_OEM_MINUS, Input::Shift, false, '_'},
        {VK_NUMPAD7, 0, true, '7'},
        {VK_NUMPAD7, 0, false, -1},
        {VK_RETURN, 0, false, '\r'},
        {VK_BACK, 0, false, '\b'},
        {VK_ESCAPE, 0, false, 27},
        {VK_LEFT, 0, false, -1},
        {VK_F5, 0, false, -1},
    };
    for (const Case& c : cases) {
        bool on = GetKeyState(VK_NUMLOCK) & 1;
        if (on != c.numLock)
            Input::KeyPress(VK_NUMLOCK);
        Log().clear();
        Input::KeyPress(c.vk, c.mods);
        auto chars = Only(WM_CHAR);
        if (c.expected < 0) {
            EXPECT_TRUE(chars.empty()) << "vk " << c.vk;
            continue;
        }
        ASSERT_EQ(chars.size(), 1u) << "vk " << c.vk;
        EXPECT_EQ(int(chars[0].WParam), c.expected) << "vk " << c.vk << " mods " << c.mods;
        EXPECT_EQ(chars[0].Wnd, w);
    }
}

}  // namespace
