#include "WinTestUtil.h"

using namespace host;
using namespace wintest;

namespace {

class InputTest : public WinTest {};

POINT ClientPoint(const TLogged& l) { return PointFromLParam(l.LParam); }

TEST_F(InputTest, ClickReachesTheWindowUnderTheCursorInClientCoordinates)
{
    HWND top = Top("T", 100, 100, 300, 200, WS_POPUP | WS_VISIBLE);
    HWND a = Child(top, 1, 10, 10, 100, 50);
    HWND b = Child(a, 2, 20, 20, 30, 20);  // inside a
    HWND c = Child(top, 3, 150, 10, 100, 50, WS_CHILD | WS_VISIBLE | WS_DISABLED);
    HWND hidden = Child(top, 4, 10, 100, 100, 50, WS_CHILD);
    struct Case {
        POINT screen;
        HWND target;
        POINT client;
    } cases[] = {
        {{115, 115}, a, {5, 5}},
        {{135, 135}, b, {5, 5}},
        {{105, 150}, top, {5, 50}},      // between the children
        {{260, 120}, top, {160, 20}},    // a disabled child lets the click through
        {{120, 210}, top, {20, 110}},    // hidden windows are not hit
    };
    for (const Case& k : cases) {
        Log().clear();
        Input::Click(k.screen.x, k.screen.y);
        auto downs = Only(WM_LBUTTONDOWN);
        ASSERT_EQ(downs.size(), 1u) << k.screen.x << "," << k.screen.y;
        EXPECT_EQ(downs[0].Wnd, k.target) << k.screen.x << "," << k.screen.y;
        EXPECT_EQ(ClientPoint(downs[0]), k.client);
        EXPECT_EQ(downs[0].WParam & MK_LBUTTON, MK_LBUTTON);
        auto ups = Only(WM_LBUTTONUP);
        ASSERT_EQ(ups.size(), 1u);
        EXPECT_EQ(ups[0].WParam & MK_LBUTTON, 0u);
        // The cursor was asked for on the way.
        bool setCursor = false;
        for (const TLogged& l : Only(WM_SETCURSOR))
            setCursor |= l.Wnd == k.target && LOWORD(uintptr_t(l.LParam)) == HTCLIENT;
        EXPECT_TRUE(setCursor);
    }
    (void)c;
    (void)hidden;
}

TEST_F(InputTest, CaptureRoutesMouseOutsideTheWindow)
{
    HWND top = Top("T", 0, 0, 300, 300, WS_POPUP | WS_VISIBLE);
    HWND a = Child(top, 1, 10, 10, 50, 50);
    HWND other = Child(top, 2, 100, 100, 50, 50);
    // a captures on button down, as a dragging control does.
    WNDPROC inst = MakeObjectInstance([&](TMessage& m) {
        Log().push_back(TLogged{a, m.Msg, m.WParam, m.LParam});
        if (m.Msg == WM_LBUTTONDOWN)
            SetCapture(a);
        if (m.Msg == WM_LBUTTONUP)
            ReleaseCapture();
        m.Result = DefWindowProc(a, m.Msg, m.WParam, m.LParam);
    });
    SetWindowLongPtr(a, GWL_WNDPROC, LONG_PTR(inst));
    ProcessPendingMessages();
    Log().clear();
    Input::Drag(POINT{20, 20}, POINT{120, 130}, 2);
    auto moves = Only(WM_MOUSEMOVE);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().Wnd, a);
    EXPECT_EQ(ClientPoint(moves.back()), (POINT{110, 120})) << "outside a, in a's coordinates";
    for (UINT m : Messages(other))
        ADD_FAILURE() << "the window under the cursor got message " << std::hex << m;
    auto ups = Only(WM_LBUTTONUP);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].Wnd, a);
    auto changed = Only(WM_CAPTURECHANGED);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
    // Without capture the same move goes to the window under the cursor.
    Log().clear();
    Input::MouseMove(120, 130);
    Input::MouseMove(125, 130);
    ASSERT_FALSE(Only(WM_MOUSEMOVE).empty());
    EXPECT_EQ(Only(WM_MOUSEMOVE).back().Wnd, other);
    SetWindowLongPtr(a, GWL_WNDPROC, LONG_PTR(RecordingProc));
    FreeObjectInstance(inst);
}

TEST_F(InputTest, DraggingTheBorderResizesThroughHitTestAndASubclassCanClamp)
{
    HWND w = Top("Sizable", 100, 100, 300, 200);
    ProcessPendingMessages();
    RECT r;
    GetWindowRect(w, &r);
    // Bottom-right corner, then the right edge.
    Input::Drag(POINT{r.right - 2, r.bottom - 2}, POINT{r.right + 48, r.bottom + 28}, 5);
    RECT now;
    GetWindowRect(w, &now);
    EXPECT_EQ(now, (RECT{100, 100, 450, 330}));
    auto hits = Only(WM_NCHITTEST);
    ASSERT_FALSE(hits.empty());
    EXPECT_EQ(Only(WM_ENTERSIZEMOVE).size(), 1u);
    EXPECT_EQ(Only(WM_EXITSIZEMOVE).size(), 1u);
    EXPECT_GE(Only(WM_WINDOWPOSCHANGING).size(), 5u) << "one per step";
    EXPECT_GE(Only(WM_GETMINMAXINFO).size(), 5u);

    // A subclass installed through an object instance keeps the width at most 320.
    WNDPROC old = reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWL_WNDPROC));
    int changing = 0;
    WNDPROC inst = MakeObjectInstance([&](TMessage& m) {
        if (m.Msg == WM_WINDOWPOSCHANGING) {
            ++changing;
            auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
            if (!(wp->flags & SWP_NOSIZE) && wp->cx > 320)
                wp->cx = 320;
        }
        m.Result = CallWindowProc(old, w, m.Msg, m.WParam, m.LParam);
    });
    SetWindowLongPtr(w, GWL_WNDPROC, LONG_PTR(inst));
    GetWindowRect(w, &r);
    int midY = (r.top + r.bottom) / 2;
    Input::Drag(POINT{r.right - 1, midY}, POINT{r.right + 100, midY + 40}, 4);
    GetWindowRect(w, &now);
    EXPECT_EQ(now.right - now.left, 320);
    EXPECT_EQ(now.bottom - now.top, 230) << "the right edge does not change the height";
    EXPECT_GE(changing, 4);
    // The minimum tracking size holds when dragging the left edge far right.
    GetWindowRect(w, &r);
    Input::Drag(POINT{r.left + 1, midY}, POINT{r.right + 200, midY}, 2);
    GetWindowRect(w, &now);
    EXPECT_EQ(now.right, r.right) << "the right edge stays";
    EXPECT_EQ(now.right - now.left, GetSystemMetrics(SM_CXMINTRACK));
    SetWindowLongPtr(w, GWL_WNDPROC, LONG_PTR(old));
    FreeObjectInstance(inst);
}

TEST_F(InputTest, DraggingTheCaptionMovesAndTheCloseButtonCloses)
{
    HWND w = Top("Movable", 50, 50, 200, 150);
    ProcessPendingMessages();
    Input::Drag(POINT{100, 60}, POINT{160, 100}, 3);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r, (RECT{110, 90, 310, 240}));
    auto moving = Only(WM_MOVING);
    EXPECT_EQ(moving.size(), 3u);
    // The close button closes on release over it only.
    POINT close{r.right - 4 - 2 - 8, r.top + 4 + 9};
    Input::Drag(close, POINT{close.x - 60, close.y + 60}, 1);
    EXPECT_TRUE(IsWindow(w));
    Input::Click(close.x, close.y);
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(InputTest, FocusMessagesCarryTheOtherWindow)
{
    HWND top = Top("F", 0, 0, 300, 200);
    HWND a = Child(top, 1, 10, 10, 50, 50);
    HWND b = Child(top, 2, 100, 10, 50, 50);
    ProcessPendingMessages();
    EXPECT_EQ(GetFocus(), top) << "activation focuses the window";
    Log().clear();
    SetFocus(a);
    SetFocus(b);
    std::vector<std::pair<HWND, UINT>> seq;
    for (const TLogged& l : Log())
        if (l.Msg == WM_SETFOCUS || l.Msg == WM_KILLFOCUS)
            seq.emplace_back(l.Wnd, l.Msg);
    std::vector<std::pair<HWND, UINT>> expected{
        {top, WM_KILLFOCUS}, {a, WM_SETFOCUS}, {a, WM_KILLFOCUS}, {b, WM_SETFOCUS}};
    EXPECT_EQ(seq, expected);
    auto kills = Only(WM_KILLFOCUS);
    auto sets = Only(WM_SETFOCUS);
    EXPECT_EQ(HWND(kills[1].WParam), b);
    EXPECT_EQ(HWND(sets[1].WParam), a);
    EXPECT_EQ(GetFocus(), b);
    // Disabled windows do not take the focus; disabling the focus drops it.
    EnableWindow(a, FALSE);
    EXPECT_EQ(SetFocus(a), nullptr);
    EXPECT_EQ(GetFocus(), b);
    EnableWindow(b, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(InputTest, ClickingAnInactiveWindowActivatesAndRaisesIt)
{
    HWND first = Top("First", 10, 10, 200, 200);
    HWND second = Top("Second", 100, 100, 200, 200);
    ProcessPendingMessages();
    EXPECT_EQ(GetActiveWindow(), second);
    Log().clear();
    Input::Click(30, 60);
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetTopWindow(nullptr), first);
    std::vector<std::pair<HWND, UINT>> seq;
    for (const TLogged& l : Log())
        if (l.Msg == WM_MOUSEACTIVATE || l.Msg == WM_ACTIVATE || l.Msg == WM_NCACTIVATE ||
            l.Msg == WM_LBUTTONDOWN)
            seq.emplace_back(l.Wnd, l.Msg);
    std::vector<std::pair<HWND, UINT>> expected{{first, WM_MOUSEACTIVATE}, {second, WM_NCACTIVATE},
                                                {second, WM_ACTIVATE},     {first, WM_NCACTIVATE},
                                                {first, WM_ACTIVATE},      {first, WM_LBUTTONDOWN}};
    EXPECT_EQ(seq, expected);
    auto act = Only(WM_ACTIVATE);
    EXPECT_EQ(LOWORD(act[1].WParam), WA_CLICKACTIVE);
    EXPECT_EQ(HWND(act[1].LParam), second);

    // MA_NOACTIVATEANDEAT keeps the window inactive and swallows the click.
    WNDPROC inst = MakeObjectInstance([&](TMessage& m) {
        Log().push_back(TLogged{second, m.Msg, m.WParam, m.LParam});
        m.Result = m.Msg == WM_MOUSEACTIVATE ? MA_NOACTIVATEANDEAT : DefWindowProc(second, m.Msg, m.WParam, m.LParam);
    });
    SetWindowLongPtr(second, GWL_WNDPROC, LONG_PTR(inst));
    Log().clear();
    Input::Click(250, 250);
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_TRUE(Only(WM_LBUTTONDOWN).empty());
    EXPECT_EQ(Only(WM_LBUTTONUP).size(), 1u) << "only the press is eaten";
    SetWindowLongPtr(second, GWL_WNDPROC, LONG_PTR(RecordingProc));
    FreeObjectInstance(inst);
}

TEST_F(InputTest, DoubleClicksNeedTheClassStyleTimeAndPlace)
{
    HWND top = Top("D", 0, 0, 300, 200, WS_POPUP | WS_VISIBLE);
    HWND dbl = Child(top, 1, 10, 10, 100, 100);
    HWND plain = Child(top, 2, 150, 10, 100, 100, WS_CHILD | WS_VISIBLE, 0, "RecNoDbl");
    struct Case {
        HWND wnd;
        int x, y, x2;
        uint64_t pause;
        std::vector<UINT> expected;
    } cases[] = {
        {dbl, 50, 50, 50, 100, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}},
        {dbl, 50, 50, 50, 600, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
        {dbl, 50, 50, 60, 100, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
        {plain, 200, 50, 200, 100, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
    };
    for (const Case& c : cases) {
        FClock.Advance(5000);  // no click before this case counts
        Log().clear();
        Input::Click(c.x, c.y);
        FClock.Advance(c.pause);
        Input::Click(c.x2, c.y);
        std::vector<UINT> got;
        for (UINT m : Messages(c.wnd))
            if (m != WM_MOUSEMOVE)
                got.push_back(m);
        EXPECT_EQ(got, c.expected) << "pause " << c.pause << " dx " << c.x2 - c.x;
    }
}

TEST_F(InputTest, KeyboardGoesToTheFocusWithTranslationAndState)
{
    HWND top = Top("K", 0, 0, 300, 200);
    HWND edit = Child(top, 1, 10, 10, 100, 20);
    ProcessPendingMessages();
    SetFocus(edit);
    Log().clear();
    Input::TypeText("Hi, 7!");
    std::string typed;
    for (const TLogged& l : Only(WM_CHAR)) {
        EXPECT_EQ(l.Wnd, edit);
        typed += char(l.WParam);
    }
    EXPECT_EQ(typed, "Hi, 7!");
    auto downs = Only(WM_KEYDOWN);
    ASSERT_FALSE(downs.empty());
    EXPECT_EQ(downs[0].WParam, WPARAM(VK_SHIFT));
    EXPECT_EQ(downs[0].LParam & (LPARAM(1) << 30), 0) << "the key was up before";
    auto ups = Only(WM_KEYUP);
    ASSERT_FALSE(ups.empty());
    EXPECT_NE(ups[0].LParam & (LPARAM(1) << 31), 0) << "transition bit of a release";

    // Caps Lock toggles; letters follow it and Shift inverts it.
    Input::KeyPress(VK_CAPITAL);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
    Log().clear();
    Input::KeyPress('A');
    Input::KeyPress('B', Input::Shift);
    typed.clear();
    for (const TLogged& l : Only(WM_CHAR))
        typed += char(l.WParam);
    EXPECT_EQ(typed, "Ab");
    Input::KeyPress(VK_CAPITAL);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);

    // Alt makes system keys; a held key auto-repeats with the previous-state bit.
    Log().clear();
    Input::KeyPress('X', Input::Alt);
    auto sys = Only(WM_SYSKEYDOWN);
    ASSERT_EQ(sys.size(), 2u);
    EXPECT_EQ(sys[1].WParam, WPARAM('X'));
    EXPECT_NE(sys[1].LParam & (LPARAM(1) << 29), 0) << "context bit: Alt is down";
    EXPECT_EQ(Only(WM_SYSCHAR).size(), 1u);
    Log().clear();
    Input::KeyDown(VK_RIGHT);
    EXPECT_LT(GetKeyState(VK_RIGHT), 0);
    Input::KeyDown(VK_RIGHT);
    Input::KeyUp(VK_RIGHT);
    auto repeat = Only(WM_KEYDOWN);
    ASSERT_EQ(repeat.size(), 2u);
    EXPECT_NE(repeat[1].LParam & (LPARAM(1) << 30), 0);
    EXPECT_GE(GetKeyState(VK_RIGHT), 0);
    // The wheel goes to the focus.
    Log().clear();
    Input::Wheel(-WHEEL_DELTA);
    auto wheel = Only(WM_MOUSEWHEEL);
    ASSERT_GE(wheel.size(), 1u);
    EXPECT_EQ(wheel[0].Wnd, edit);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].WParam), -WHEEL_DELTA);
}

TEST_F(InputTest, ScrollBarClicksAndThumbDragSendScrollCodes)
{
    HWND w = Top("S", 0, 0, 200, 300, WS_POPUP | WS_VISIBLE | WS_VSCROLL);
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 0;
    SetScrollInfo(w, SB_VERT, &si, TRUE);
    ProcessPendingMessages();
    RECT cr;
    GetClientRect(w, &cr);
    EXPECT_EQ(cr.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
    int x = 200 - 8;
    auto codes = [&] {
        std::vector<int> v;
        for (const TLogged& l : Only(WM_VSCROLL))
            v.push_back(LOWORD(l.WParam));
        return v;
    };
    Log().clear();
    Input::Click(x, 300 - 8);  // down arrow
    EXPECT_EQ(codes(), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
    Log().clear();
    Input::Click(x, 200);  // below the thumb
    EXPECT_EQ(codes(), (std::vector<int>{SB_PAGEDOWN, SB_ENDSCROLL}));
    Log().clear();
    // Thumb at the top of the track (position 0); drag it to the middle.
    int track = 300 - 32;
    int thumb = std::max(8, track * 10 / 100);
    Input::Drag(POINT{x, 16 + thumb / 2}, POINT{x, 16 + thumb / 2 + (track - thumb) / 2}, 3);
    auto v = codes();
    ASSERT_GE(v.size(), 3u);
    EXPECT_EQ(v[0], SB_THUMBTRACK);
    EXPECT_EQ(v[v.size() - 2], SB_THUMBPOSITION);
    EXPECT_EQ(v.back(), SB_ENDSCROLL);
    int pos = HIWORD(Only(WM_VSCROLL)[v.size() - 2].WParam);
    EXPECT_NEAR(pos, 45, 1) << "half of the range 0..90";
    EXPECT_EQ(GetScrollPos(w, SB_VERT), 0) << "the program moves the position itself";
}

TEST_F(InputTest, DisabledTopLevelWindowRefusesClicksWithABeep)
{
    HWND w = Top("Off", 10, 10, 200, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_DISABLED);
    ProcessPendingMessages();
    int beeps = Input::BeepCount();
    Log().clear();
    Input::Click(100, 100);
    EXPECT_TRUE(Only(WM_LBUTTONDOWN).empty());
    EXPECT_EQ(Input::BeepCount(), beeps + 1);
    EXPECT_NE(GetActiveWindow(), w);
}

TEST_F(InputTest, EscapePutsADraggedWindowBackAndHeldArrowsRepeat)
{
    HWND w = Top("E", 100, 100, 200, 150);
    ProcessPendingMessages();
    Input::MouseMove(150, 110);
    Input::MouseDown();
    Input::MouseMove(200, 180);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 150);
    Input::KeyPress(VK_ESCAPE);
    GetWindowRect(w, &r);
    EXPECT_EQ(r, (RECT{100, 100, 300, 250}));
    EXPECT_EQ(GetCapture(), nullptr);
    Input::MouseUp();
    EXPECT_EQ(Only(WM_EXITSIZEMOVE).size(), 1u);

    HWND s = Top("S", 300, 0, 100, 200, WS_POPUP | WS_VISIBLE | WS_VSCROLL);
    SetScrollRange(s, SB_VERT, 0, 50, TRUE);
    Log().clear();
    Input::MouseMove(392, 192);
    Input::MouseDown();
    Input::AdvanceTime(400 + 5 * 50);
    Input::MouseUp();
    int lines = 0;
    for (const TLogged& l : Only(WM_VSCROLL))
        lines += LOWORD(l.WParam) == SB_LINEDOWN;
    EXPECT_EQ(lines, 1 + 1 + 5) << "the press, the first repeat after the delay, then one per interval";
}

TEST_F(InputTest, SystemMoveOfAChildRunsUntilTheButtonIsReleased)
{
    // A panel that lets the platform move it and clamps its left edge while moving.
    HWND top = Top("Parent", 0, 0, 400, 300, WS_POPUP | WS_VISIBLE);
    HWND panel = Child(top, 1, 50, 50, 100, 80);
    bool moving = false;
    int clampedWhileMoving = 0, changingOutsideLoop = 0;
    bool exitedBeforeReturn = false;
    WNDPROC inst = MakeObjectInstance([&](TMessage& m) {
        Log().push_back(TLogged{panel, m.Msg, m.WParam, m.LParam});
        if (m.Msg == WM_LBUTTONDOWN) {
            moving = true;
            ReleaseCapture();
            SendMessage(panel, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, 0);
            exitedBeforeReturn = !Only(WM_EXITSIZEMOVE).empty();
            moving = false;
            return;
        }
        if (m.Msg == WM_WINDOWPOSCHANGING) {
            auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
            if (!moving)
                ++changingOutsideLoop;
            else if (!(wp->flags & SWP_NOMOVE) && wp->x < 20) {
                wp->x = 20;
                ++clampedWhileMoving;
            }
        }
        m.Result = DefWindowProc(panel, m.Msg, m.WParam, m.LParam);
    });
    SetWindowLongPtr(panel, GWL_WNDPROC, LONG_PTR(inst));
    ProcessPendingMessages();
    Log().clear();
    Input::Drag(POINT{100, 100}, POINT{20, 140}, 4);
    RECT r;
    GetWindowRect(panel, &r);
    EXPECT_EQ(r.left, 20) << "clamped while the loop ran";
    EXPECT_EQ(r.top, 90);
    EXPECT_GT(clampedWhileMoving, 0);
    EXPECT_EQ(changingOutsideLoop, 0);
    EXPECT_TRUE(exitedBeforeReturn) << "WM_SYSCOMMAND returns after the move ends";
    EXPECT_EQ(Only(WM_MOVING).size(), 4u) << "every step of a paced drag counts";
    SetWindowLongPtr(panel, GWL_WNDPROC, LONG_PTR(RecordingProc));
    FreeObjectInstance(inst);
}

TEST_F(InputTest, PressesInChildrenNotifyTheParentsAndRightClicksAskForAMenu)
{
    HWND top = Top("T", 0, 0, 300, 200, WS_POPUP | WS_VISIBLE);
    HWND a = Child(top, 1, 10, 10, 100, 100);
    HWND b = Child(a, 2, 10, 10, 50, 50);
    ProcessPendingMessages();
    Log().clear();
    Input::Click(30, 40, Input::TButton::Right);
    std::vector<std::pair<HWND, POINT>> notes;
    for (const TLogged& l : Only(WM_PARENTNOTIFY)) {
        EXPECT_EQ(LOWORD(l.WParam), WM_RBUTTONDOWN);
        notes.emplace_back(l.Wnd, PointFromLParam(l.LParam));
    }
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].first, a);
    EXPECT_EQ(notes[0].second, (POINT{20, 30}));
    EXPECT_EQ(notes[1].first, top);
    EXPECT_EQ(notes[1].second, (POINT{30, 40}));
    auto menus = Only(WM_CONTEXTMENU);
    ASSERT_GE(menus.size(), 1u);
    EXPECT_EQ(menus[0].Wnd, b);
    EXPECT_EQ(PointFromLParam(menus[0].LParam), (POINT{30, 40})) << "screen coordinates";
    EXPECT_EQ(menus.back().Wnd, top) << "unhandled, it travels up to the top";
}

}  // namespace
