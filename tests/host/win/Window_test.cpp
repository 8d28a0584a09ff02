#include "WinTestUtil.h"

#include <cstdio>

using namespace host;
using namespace wintest;

namespace {

class WindowTest : public WinTest {};

TEST_F(WindowTest, CreationSendsMessagesInOrderWithCreateParams)
{
    int param = 42;
    static LPVOID seen = nullptr;
    WNDCLASSEX wc;
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_CREATE)
            seen = reinterpret_cast<CREATESTRUCT*>(l)->lpCreateParams;
        return RecordingProc(h, m, w, l);
    };
    wc.lpszClassName = "Params";
    ASSERT_NE(RegisterClassEx(&wc), 0);
    EXPECT_EQ(RegisterClassEx(&wc), 0) << "a class name is registered once";
    HWND w = CreateWindowEx(0, "Params", "T", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, nullptr, nullptr,
                            HInstance(), &param);
    ASSERT_TRUE(IsWindow(w));
    EXPECT_EQ(seen, &param);
    std::vector<UINT> expected{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE};
    EXPECT_EQ(Messages(w, true), expected);
    char text[8];
    GetWindowText(w, text, 8);
    EXPECT_STREQ(text, "T");
    EXPECT_FALSE(UnregisterClass("Params", nullptr)) << "a class with windows stays";
}

TEST_F(WindowTest, DestroySendsDestroyParentFirstAndNcDestroyChildrenFirst)
{
    HWND top = Top("P", 0, 0, 200, 200);
    HWND child = Child(top, 1, 0, 0, 50, 50);
    HWND grand = Child(child, 2, 0, 0, 10, 10);
    Log().clear();
    ASSERT_TRUE(DestroyWindow(top));
    std::vector<std::pair<HWND, UINT>> got;
    for (const TLogged& l : Log())
        if (l.Msg == WM_DESTROY || l.Msg == WM_NCDESTROY)
            got.emplace_back(l.Wnd, l.Msg);
    std::vector<std::pair<HWND, UINT>> expected{{top, WM_DESTROY},     {child, WM_DESTROY},
                                                {grand, WM_DESTROY},   {grand, WM_NCDESTROY},
                                                {child, WM_NCDESTROY}, {top, WM_NCDESTROY}};
    EXPECT_EQ(got, expected);
    EXPECT_FALSE(IsWindow(top) || IsWindow(child) || IsWindow(grand));
}

TEST_F(WindowTest, GeometryAndCoordinateMapping)
{
    HWND top = Top("G", 100, 50, 300, 200, WS_POPUP | WS_BORDER | WS_VISIBLE);
    HWND child = Child(top, 7, 10, 20, 80, 40, WS_CHILD | WS_VISIBLE | WS_BORDER);
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r, (RECT{111, 71, 191, 111})) << "1-pixel border of the parent shifts its client";
    GetClientRect(child, &r);
    EXPECT_EQ(r, (RECT{0, 0, 78, 38}));
    POINT p{0, 0};
    ClientToScreen(child, &p);
    EXPECT_EQ(p, (POINT{112, 72}));
    ScreenToClient(top, &p);
    EXPECT_EQ(p, (POINT{11, 21}));
    POINT q{5, 5};
    MapWindowPoints(child, top, &q, 1);
    EXPECT_EQ(q, (POINT{16, 26}));
    EXPECT_EQ(GetDlgItem(top, 7), child);
    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetAncestor(child, GA_ROOT), top);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{20, 30}), child);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{200, 150}), top);
    EXPECT_EQ(WindowFromPoint(POINT{120, 80}), child);
}

TEST_F(WindowTest, WindowPosChangingHandlerAdjustsTheMove)
{
    HWND w = Top("W", 0, 0, 200, 100);
    // A subclass that keeps the window at least 150 wide and never left of x = 20.
    WNDPROC old = reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWL_WNDPROC));
    WNDPROC inst = MakeObjectInstance([&](TMessage& m) {
        if (m.Msg == WM_WINDOWPOSCHANGING) {
            auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
            if (!(wp->flags & SWP_NOSIZE) && wp->cx < 150)
                wp->cx = 150;
            if (!(wp->flags & SWP_NOMOVE) && wp->x < 20)
                wp->x = 20;
        }
        m.Result = CallWindowProc(old, w, m.Msg, m.WParam, m.LParam);
    });
    EXPECT_EQ(reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWL_WNDPROC, LONG_PTR(inst))), old);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWL_WNDPROC)), inst);
    struct Case {
        int x, y, cx, cy;
        RECT expected;
    } cases[] = {
        {30, 40, 300, 120, {30, 40, 330, 160}},
        {0, 0, 100, 100, {20, 0, 170, 100}},
        {50, 60, 149, 80, {50, 60, 200, 140}},
    };
    for (const Case& c : cases) {
        Log().clear();
        MoveWindow(w, c.x, c.y, c.cx, c.cy, TRUE);
        RECT r;
        GetWindowRect(w, &r);
        EXPECT_EQ(r, c.expected) << c.x << "," << c.cx;
        auto sizes = Only(WM_SIZE);
        ASSERT_EQ(sizes.size(), 1u);
        RECT cr;
        GetClientRect(w, &cr);
        EXPECT_EQ(LOWORD(uintptr_t(sizes[0].LParam)), cr.right) << "WM_SIZE carries the client size";
    }
    SetWindowLongPtr(w, GWL_WNDPROC, LONG_PTR(old));
    FreeObjectInstance(inst);
}

TEST_F(WindowTest, SendIsImmediateAndPostWaitsForTheLoop)
{
    HWND w = Top("Q", 0, 0, 100, 100);
    ProcessPendingMessages();
    Log().clear();
    PostMessage(w, WM_USER + 1, 0, 0);
    SendMessage(w, WM_USER + 2, 0, 0);
    PostMessage(w, WM_USER + 3, 0, 0);
    EXPECT_EQ(Messages(w), (std::vector<UINT>{WM_USER + 2}));
    ProcessPendingMessages();
    EXPECT_EQ(Messages(w), (std::vector<UINT>{WM_USER + 2, WM_USER + 1, WM_USER + 3}));

    // PeekMessage filters and PM_NOREMOVE leave the rest queued.
    PostMessage(w, WM_USER + 5, 0, 0);
    PostMessage(w, WM_USER + 9, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 9, WM_USER + 9, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 9);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 9, WM_USER + 9, PM_REMOVE));
    ASSERT_TRUE(PeekMessage(&msg, w, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 5);
    PostQuitMessage(3);
    ASSERT_FALSE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(WindowTest, PaintGoesOnlyToInvalidWindowsWithTheirUpdateRegion)
{
    HWND top = Top("P", 0, 0, 300, 200, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    HWND a = Child(top, 1, 10, 10, 50, 50);
    HWND b = Child(top, 2, 100, 10, 50, 50);
    ProcessPendingMessages();
    RECT u;
    EXPECT_FALSE(GetUpdateRect(top, &u, FALSE)) << "everything was painted";
    Log().clear();
    RECT r{5, 6, 20, 30};
    InvalidateRect(b, &r, TRUE);
    EXPECT_TRUE(GetUpdateRect(b, &u, FALSE));
    EXPECT_EQ(u, r);
    static RECT painted;
    painted = RECT{};
    WNDPROC inst = MakeObjectInstance([&](TMessage& m) {
        if (m.Msg == WM_PAINT) {
            PAINTSTRUCT ps;
            BeginPaint(b, &ps);
            painted = ps.rcPaint;
            EndPaint(b, &ps);
        }
        Log().push_back(TLogged{b, m.Msg, m.WParam, m.LParam});
    });
    SetWindowLongPtr(b, GWL_WNDPROC, LONG_PTR(inst));
    ProcessPendingMessages();
    EXPECT_EQ(painted, r);
    EXPECT_TRUE(Only(WM_PAINT).size() == 1 && Only(WM_PAINT)[0].Wnd == b);
    EXPECT_TRUE(Messages(a, true).empty());
    EXPECT_FALSE(GetUpdateRect(b, &u, FALSE));

    // Without WS_CLIPCHILDREN, invalidating the parent reaches the children under it.
    HWND plain = Top("Q", 0, 0, 300, 200, WS_POPUP | WS_VISIBLE);
    HWND c = Child(plain, 3, 10, 10, 50, 50);
    HWND d = Child(plain, 4, 200, 10, 50, 50);
    ProcessPendingMessages();
    RECT area{0, 0, 100, 100};
    InvalidateRect(plain, &area, TRUE);
    EXPECT_TRUE(GetUpdateRect(c, &u, FALSE));
    EXPECT_EQ(u, (RECT{0, 0, 50, 50}));
    EXPECT_FALSE(GetUpdateRect(d, &u, FALSE));
    FreeObjectInstance(inst);
}

TEST_F(WindowTest, ScreenCompositesTopLevelWindowsInZOrder)
{
    // Three overlapping popups; the latest created is on top.
    HWND red = Top("R", 10, 10, 100, 100, WS_POPUP | WS_VISIBLE, RGB(255, 0, 0));
    HWND green = Top("G", 60, 60, 100, 100, WS_POPUP | WS_VISIBLE, RGB(0, 255, 0));
    HWND blue = Top("B", 110, 110, 100, 100, WS_POPUP | WS_VISIBLE, RGB(0, 0, 255));
    HWND inner = Child(green, 1, 70, 70, 30, 30, WS_CHILD | WS_VISIBLE, RGB(255, 255, 0));
    ProcessPendingMessages();
    struct Probe {
        int x, y;
        COLORREF colour;
    };
    auto check = [](const std::vector<Probe>& probes, const char* when) {
        TImageData img = CaptureWindow(nullptr);
        for (const Probe& p : probes)
            EXPECT_EQ(ScreenPixel(img, p.x, p.y), p.colour) << when << " at " << p.x << "," << p.y;
    };
    check({{20, 20, RGB(255, 0, 0)},
           {80, 80, RGB(0, 255, 0)},
           {135, 135, RGB(0, 0, 255)},
           {125, 125, RGB(0, 0, 255)},
           {300, 300, GetSysColor(COLOR_BACKGROUND)}},
          "initial");
    SetWindowPos(red, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    check({{80, 80, RGB(255, 0, 0)}, {135, 135, RGB(0, 0, 255)}}, "red raised");
    SetWindowPos(blue, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ProcessPendingMessages();
    check({{135, 135, RGB(255, 255, 0)}, {120, 150, RGB(0, 255, 0)}, {200, 200, RGB(0, 0, 255)}},
          "blue lowered");
    ShowWindow(green, SW_HIDE);
    check({{135, 135, RGB(0, 0, 255)}}, "green hidden");
    (void)inner;
}

TEST_F(WindowTest, ClassicFramesLookThreeDimensional)
{
    HWND a = Top("Customers", 20, 20, 320, 220, WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_VISIBLE);
    HWND b = Top("Orders", 200, 150, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetScrollRange(a, SB_VERT, 0, 100, TRUE);
    SetScrollPos(a, SB_VERT, 30, TRUE);
    HWND edit = Child(b, 1, 10, 10, 150, 24, WS_CHILD | WS_VISIBLE, RGB(255, 255, 255));
    SetWindowLongPtr(edit, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    SetWindowPos(edit, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ProcessPendingMessages();
    TImageData img = CaptureWindow(nullptr);
    EXPECT_EQ(GetActiveWindow(), b);
    // Active caption in the active colour, the other one inactive; raised frame edges.
    EXPECT_EQ(ScreenPixel(img, 300, 150 + 4 + 8), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(ScreenPixel(img, 150, 20 + 4 + 8), GetSysColor(COLOR_INACTIVECAPTION));
    EXPECT_EQ(ScreenPixel(img, 201, 200), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ScreenPixel(img, 200 + 299, 200), GetSysColor(COLOR_3DDKSHADOW));
    if (const char* dir = std::getenv("KEL_SCREENSHOTS"))
        Screenshot(nullptr, std::string(dir) + "/win-desktop.png");
}

TEST_F(WindowTest, ShowWindowMaximisesMinimisesAndRestores)
{
    HWND w = Top("M", 50, 50, 300, 200);
    ProcessPendingMessages();
    int f = GetSystemMetrics(SM_CXFRAME);
    struct Case {
        int cmd;
        RECT rect;
        WPARAM sizeKind;
        bool zoomed, iconic;
    } cases[] = {
        {SW_SHOWMAXIMIZED, {-f, -f, 640 + f, 480 + f}, SIZE_MAXIMIZED, true, false},
        {SW_RESTORE, {50, 50, 350, 250}, SIZE_RESTORED, false, false},
        {SW_MINIMIZE, {0, 0, 0, 0}, SIZE_MINIMIZED, false, true},
        {SW_RESTORE, {50, 50, 350, 250}, SIZE_RESTORED, false, false},
    };
    for (const Case& c : cases) {
        Log().clear();
        EXPECT_TRUE(ShowWindow(w, c.cmd)) << "it was visible";
        EXPECT_EQ(bool(IsZoomed(w)), c.zoomed) << c.cmd;
        EXPECT_EQ(bool(IsIconic(w)), c.iconic) << c.cmd;
        RECT r;
        GetWindowRect(w, &r);
        if (c.rect.right) {
            EXPECT_EQ(r, c.rect) << c.cmd;
        }
        auto sizes = Only(WM_SIZE);
        ASSERT_FALSE(sizes.empty()) << c.cmd;
        EXPECT_EQ(sizes.back().WParam, c.sizeKind) << c.cmd;
    }
    WINDOWPLACEMENT wp;
    GetWindowPlacement(w, &wp);
    EXPECT_EQ(wp.rcNormalPosition, (RECT{50, 50, 350, 250}));
    Log().clear();
    EXPECT_TRUE(ShowWindow(w, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(w));
    auto shows = Only(WM_SHOWWINDOW);
    ASSERT_EQ(shows.size(), 1u);
    EXPECT_EQ(shows[0].WParam, WPARAM(FALSE));
    EXPECT_FALSE(ShowWindow(w, SW_HIDE)) << "it was already hidden";
    EXPECT_NE(GetActiveWindow(), w);
}

TEST_F(WindowTest, TreeQueriesTextAndProperties)
{
    HWND top = Top("Tree", 0, 0, 300, 200);
    HWND a = Child(top, 1, 0, 0, 10, 10);
    HWND b = Child(top, 2, 20, 0, 10, 10);
    HWND a1 = Child(a, 3, 0, 0, 5, 5);
    // Children are created at the bottom of the z-order: creation order is tab order.
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
    static std::vector<HWND> seen;
    seen.clear();
    EnumChildWindows(top, [](HWND h, LPARAM) -> BOOL { seen.push_back(h); return TRUE; }, 0);
    EXPECT_EQ(seen, (std::vector<HWND>{a, a1, b}));
    EXPECT_TRUE(IsChild(top, a1));
    EXPECT_FALSE(IsChild(a, b));
    HWND other = Top("Other", 0, 0, 100, 100, WS_POPUP);
    EXPECT_EQ(SetParent(b, other), top);
    EXPECT_EQ(GetParent(b), other);
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), nullptr);

    SetWindowText(top, "A longer caption");
    char buf[8];
    EXPECT_EQ(GetWindowText(top, buf, sizeof buf), 7) << "truncated to the buffer";
    EXPECT_STREQ(buf, "A longe");
    EXPECT_EQ(GetWindowTextLength(top), 16);
    EXPECT_TRUE(SetProp(top, "Tag", reinterpret_cast<HANDLE>(uintptr_t(9))));
    EXPECT_EQ(GetProp(top, "TAG"), reinterpret_cast<HANDLE>(uintptr_t(9)));
    EXPECT_EQ(RemoveProp(top, "tag"), reinterpret_cast<HANDLE>(uintptr_t(9)));
    EXPECT_EQ(GetProp(top, "Tag"), nullptr);
    EXPECT_EQ(GetWindowLongPtr(a, GWL_ID), 1);
    LONG_PTR style = GetWindowLongPtr(a, GWL_STYLE);
    Log().clear();
    SetWindowLongPtr(a, GWL_STYLE, style | WS_TABSTOP);
    EXPECT_EQ(Messages(a), (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
    EXPECT_TRUE(GetWindowLongPtr(a, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(WindowTest, ScrollWindowMovesPixelsAndInvalidatesTheUncoveredStrip)
{
    HWND w = Top("S", 0, 0, 100, 100, WS_POPUP | WS_VISIBLE, RGB(255, 255, 255));
    ProcessPendingMessages();
    HDC dc = GetDC(w);
    RECT band{0, 40, 100, 50};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &band, red);
    DeleteObject(red);
    ReleaseDC(w, dc);
    RECT update;
    ScrollWindowEx(w, 0, -30, nullptr, nullptr, nullptr, &update, SW_INVALIDATE);
    EXPECT_EQ(update, (RECT{0, 70, 100, 100}));
    TImageData img = CaptureWindow(w);
    EXPECT_EQ(ScreenPixel(img, 50, 15), RGB(255, 0, 0)) << "the band moved up 30 pixels";
    EXPECT_EQ(ScreenPixel(img, 50, 45), RGB(255, 255, 255));
    RECT u;
    EXPECT_TRUE(GetUpdateRect(w, &u, FALSE));
    EXPECT_EQ(u, (RECT{0, 70, 100, 100}));
}

TEST_F(WindowTest, WindowDcsClipChildrenAndSiblingsOnRequest)
{
    struct Case {
        DWORD parentStyle, childStyle;
        bool childCoveredByParent;  // the parent's drawing shows over the child
        bool lowerCoveredBySibling;  // the lower sibling's drawing shows over the upper one
    } cases[] = {
        {WS_POPUP | WS_VISIBLE, WS_CHILD | WS_VISIBLE, true, true},
        {WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, false, false},
    };
    for (const Case& c : cases) {
        HWND top = Top("C", 0, 0, 200, 100, c.parentStyle, RGB(255, 255, 255));
        HWND upper = Child(top, 1, 10, 10, 50, 50, c.childStyle, RGB(0, 0, 255));
        HWND lower = Child(top, 2, 40, 10, 50, 50, c.childStyle, RGB(0, 255, 0));
        ProcessPendingMessages();
        auto fill = [](HWND h, COLORREF colour) {
            HDC dc = GetDC(h);
            RECT r{0, 0, 200, 100};
            HBRUSH b = CreateSolidBrush(colour);
            FillRect(dc, &r, b);
            DeleteObject(b);
            ReleaseDC(h, dc);
        };
        fill(lower, RGB(255, 0, 255));
        fill(top, RGB(255, 0, 0));
        TImageData img = CaptureWindow(top);
        EXPECT_EQ(ScreenPixel(img, 20, 20) == RGB(255, 0, 0), c.childCoveredByParent);
        EXPECT_EQ(ScreenPixel(img, 45, 20) == RGB(255, 0, 0) || ScreenPixel(img, 45, 20) == RGB(255, 0, 255),
                  c.lowerCoveredBySibling || c.childCoveredByParent);
        EXPECT_EQ(ScreenPixel(img, 150, 80), RGB(255, 0, 0));
        DestroyWindow(top);
        (void)upper;
    }
}

TEST_F(WindowTest, TopmostWindowsStayAboveOthersAndMovesCoalesce)
{
    HWND tool = Top("Tool", 0, 0, 100, 100, WS_POPUP | WS_VISIBLE, RGB(1, 2, 3));
    SetWindowPos(tool, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    HWND later = Top("Later", 0, 0, 100, 100, WS_POPUP | WS_VISIBLE, RGB(4, 5, 6));
    EXPECT_EQ(GetTopWindow(nullptr), tool);
    ProcessPendingMessages();
    EXPECT_EQ(ScreenPixel(CaptureWindow(nullptr), 50, 50), RGB(1, 2, 3));
    SetWindowPos(tool, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(later, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopWindow(nullptr), later);
    // Moves that pile up before the loop runs arrive as one.
    Log().clear();
    SetCursorPos(10, 10);
    SetCursorPos(20, 20);
    SetCursorPos(30, 30);
    ProcessPendingMessages();
    auto moves = Only(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(PointFromLParam(moves[0].LParam), (POINT{30, 30}));
}

TEST_F(WindowTest, CaretBlinksOnVirtualTimeAndSurvivesPainting)
{
    HWND w = Top("Caret", 0, 0, 100, 60, WS_POPUP | WS_VISIBLE, RGB(255, 255, 255));
    ProcessPendingMessages();
    auto at = [&] { return ScreenPixel(CaptureWindow(w), 6, 8); };
    ASSERT_TRUE(CreateCaret(w, nullptr, 2, 12));
    SetCaretPos(5, 4);
    EXPECT_EQ(at(), RGB(255, 255, 255)) << "a new caret is hidden";
    ShowCaret(w);
    EXPECT_EQ(at(), RGB(0, 0, 0));
    Input::AdvanceTime(GetCaretBlinkTime());
    EXPECT_EQ(at(), RGB(255, 255, 255)) << "blinked off";
    Input::AdvanceTime(GetCaretBlinkTime());
    EXPECT_EQ(at(), RGB(0, 0, 0)) << "blinked on";
    InvalidateRect(w, nullptr, TRUE);
    ProcessPendingMessages();
    EXPECT_EQ(at(), RGB(0, 0, 0)) << "painting hides and restores it";
    HideCaret(w);
    EXPECT_EQ(at(), RGB(255, 255, 255));
    ShowCaret(w);
    DestroyWindow(w);
    POINT p;
    EXPECT_FALSE(GetCaretPos(&p)) << "the caret goes with its window";
}

}  // namespace
