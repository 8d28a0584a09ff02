// The program among other programs of the display: the keyboard focus going
// elsewhere, the clipboard shared both ways, composed characters, cursors
// of its own, and the server going away.
#include "X11Fixture.h"

#include "host/backend/x11/X11Clipboard.h"
#include "host/backend/x11/X11Cursor.h"
#include "host/gdi/Ico.h"
#include "host/rtl/Resources.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xfixes.h>

#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using namespace host;

struct TLogged {
    HWND Wnd;
    UINT Msg;
    WPARAM WParam;
};
std::vector<TLogged> GLog;

LRESULT LoggingProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    GLog.push_back(TLogged{h, m, w});
    return DefWindowProc(h, m, w, l);
}

class X11DesktopTest : public x11test::X11Fixture {
protected:
    void SetUp() override
    {
        X11Fixture::SetUp();
        GLog.clear();
        RegisterLogClass();
    }
    static void RegisterLogClass()
    {
        WNDCLASSEX wc;
        wc.lpfnWndProc = LoggingProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOW + 1));
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = "X11Desk";
        RegisterClassEx(&wc);
    }
    void TearDown() override
    {
        for (pid_t p : FChildren) {
            kill(p, SIGKILL);
            waitpid(p, nullptr, 0);
        }
        X11Fixture::TearDown();
    }
    HWND Top(const char* title, int x, int y, int w, int h)
    {
        HWND wnd = CreateWindowEx(0, "X11Desk", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, w, h, nullptr,
                                  nullptr, HInstance(), nullptr);
        UpdateWindow(wnd);
        return wnd;
    }
    std::vector<TLogged> Only(UINT msg, HWND wnd = nullptr) const
    {
        std::vector<TLogged> v;
        for (const TLogged& l : GLog)
            if (l.Msg == msg && (!wnd || l.Wnd == wnd))
                v.push_back(l);
        return v;
    }
    void FocusX(Window xw)
    {
        XSetInputFocus(FPeer, xw, RevertToPointerRoot, CurrentTime);
        XSync(FPeer, False);
    }
    std::string ClipboardText()
    {
        std::string text;
        if (!OpenClipboard(nullptr))
            return "(cannot open)";
        if (HANDLE h = GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(GlobalLock(h));
            GlobalUnlock(h);
        }
        CloseClipboard();
        return text;
    }
    void SetClipboardText(const std::string& text)
    {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        std::memcpy(GlobalLock(h), text.c_str(), text.size() + 1);
        GlobalUnlock(h);
        SetClipboardData(CF_TEXT, h);
        CloseClipboard();
    }

    // Another program that owns the clipboard and offers data as target,
    // or answers nothing at all. Returns once it owns the selection.
    void ForeignOwner(const char* target, const std::string& data, bool answers = true);
    // Asks the selection owner for a target, as another program pasting.
    std::optional<std::string> PeerPaste(const char* target);

    std::vector<pid_t> FChildren;
};

void X11DesktopTest::ForeignOwner(const char* target, const std::string& data, bool answers)
{
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        Display* d = XOpenDisplay(x11test::TXvfb::Display().c_str());
        if (!d)
            _exit(1);
        Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
        Atom clipboard = XInternAtom(d, "CLIPBOARD", False), wanted = XInternAtom(d, target, False);
        XSetSelectionOwner(d, clipboard, w, CurrentTime);
        XSync(d, False);
        char ok = 1;
        (void)!write(ready[1], &ok, 1);
        for (;;) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == SelectionClear)
                _exit(0);
            if (e.type != SelectionRequest || !answers)
                continue;
            XSelectionRequestEvent& r = e.xselectionrequest;
            XSelectionEvent reply{};
            reply.type = SelectionNotify;
            reply.requestor = r.requestor;
            reply.selection = r.selection;
            reply.target = r.target;
            reply.time = r.time;
            reply.property = None;
            if (r.target == wanted) {
                XChangeProperty(d, r.requestor, r.property, wanted, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
                reply.property = r.property;
            }
            XSendEvent(d, r.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
            XFlush(d);
        }
    }
    FChildren.push_back(pid);
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    close(ready[0]);
    close(ready[1]);
}

std::optional<std::string> X11DesktopTest::PeerPaste(const char* target)
{
    Window w = XCreateSimpleWindow(FPeer, DefaultRootWindow(FPeer), 0, 0, 1, 1, 0, 0, 0);
    Atom prop = XInternAtom(FPeer, "PEER_PASTE", False);
    XConvertSelection(FPeer, XInternAtom(FPeer, "CLIPBOARD", False), XInternAtom(FPeer, target, False), prop, w,
                      CurrentTime);
    XFlush(FPeer);
    XEvent e{};
    bool answered = PumpUntil([&] { return XCheckTypedWindowEvent(FPeer, w, SelectionNotify, &e) != 0; });
    std::optional<std::string> result;
    if (answered && e.xselection.property != None) {
        Atom type;
        int format;
        unsigned long count = 0, after;
        unsigned char* data = nullptr;
        XGetWindowProperty(FPeer, w, prop, 0, 1 << 16, True, AnyPropertyType, &type, &format, &count, &after, &data);
        if (format == 32) {  // TARGETS: their names, space-separated
            std::string names;
            for (unsigned long i = 0; i < count; ++i) {
                char* n = XGetAtomName(FPeer, reinterpret_cast<Atom*>(data)[i]);
                names += std::string(names.empty() ? "" : " ") + n;
                XFree(n);
            }
            result = names;
        } else if (data) {
            result = std::string(reinterpret_cast<char*>(data), count);
        }
        XFree(data);
    }
    XDestroyWindow(FPeer, w);
    return result;
}

TEST_F(X11DesktopTest, AnotherProgramTakingTheFocusDeactivatesTheProgram)
{
    HWND a = Top("focus a", 40, 40, 200, 150), b = Top("focus b", 300, 40, 200, 150);
    Window xa = WaitForXWindow("focus a"), xb = WaitForXWindow("focus b");
    ASSERT_NE(xa, 0u);
    ASSERT_NE(xb, 0u);
    Window other = XCreateSimpleWindow(FPeer, DefaultRootWindow(FPeer), 500, 400, 100, 100, 0, 0, 0);
    XMapWindow(FPeer, other);
    XSync(FPeer, False);

    FocusX(xa);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == a; }));
    GLog.clear();
    FocusX(xb);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == b; }));
    Pump(50);
    EXPECT_TRUE(Only(WM_ACTIVATEAPP).empty()) << "focus moving between its own windows keeps the program active";

    GLog.clear();
    FocusX(other);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == nullptr; })) << "still active";
    EXPECT_EQ(GetFocus(), nullptr);
    auto deactivations = Only(WM_ACTIVATE, b);
    ASSERT_EQ(deactivations.size(), 1u);
    EXPECT_EQ(LOWORD(deactivations[0].WParam), WA_INACTIVE);
    ASSERT_FALSE(Only(WM_ACTIVATEAPP, b).empty());
    EXPECT_EQ(Only(WM_ACTIVATEAPP, b).back().WParam, WPARAM(FALSE));
    EXPECT_FALSE(Only(WM_KILLFOCUS, b).empty());

    FocusX(xa);
    EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == a; })) << "coming back activates again";
    XDestroyWindow(FPeer, other);
}

// Without a window manager nobody else moves the keyboard focus: the window
// the program activates gets it, whatever the pointer is over.
TEST_F(X11DesktopTest, ActivatingAWindowGivesItTheKeyboard)
{
    HWND a = Top("keys a", 40, 40, 200, 150), b = Top("keys b", 300, 40, 200, 150);
    Window xa = WaitForXWindow("keys a"), xb = WaitForXWindow("keys b");
    ASSERT_NE(xa, 0u);
    ASSERT_NE(xb, 0u);
    auto focused = [&] {
        Window f = 0;
        int revert = 0;
        XGetInputFocus(FPeer, &f, &revert);
        return f;
    };
    for (auto [wnd, xw] : {std::pair{a, xa}, std::pair{b, xb}, std::pair{a, xa}}) {
        SetActiveWindow(wnd);
        EXPECT_TRUE(PumpUntil([&] { return focused() == xw; }));
        EXPECT_EQ(GetActiveWindow(), wnd) << "the focus coming back must not change the activation";
    }
}

TEST_F(X11DesktopTest, LeavingAllWindowsTellsTheWindowUnderThePointer)
{
    HWND a = Top("leave", 100, 100, 200, 150);
    ASSERT_NE(WaitForXWindow("leave"), 0u);
    XTestFakeMotionEvent(FPeer, -1, 150, 150, 0);
    XFlush(FPeer);
    ASSERT_TRUE(PumpUntil([&] { return !Only(WM_MOUSEMOVE, a).empty(); }));
    EXPECT_TRUE(Only(WM_MOUSELEAVE).empty());
    XTestFakeMotionEvent(FPeer, -1, 700, 500, 0);
    XFlush(FPeer);
    EXPECT_TRUE(PumpUntil([&] { return !Only(WM_MOUSELEAVE, a).empty(); }));
}

TEST_F(X11DesktopTest, OtherProgramsPasteWhatTheProgramCopied)
{
    HWND wnd = Top("copy", 100, 100, 200, 150);
    ASSERT_NE(WaitForXWindow("copy"), 0u);
    (void)wnd;
    SetClipboardText("line one\r\nline two \xC3\xA9 \xE2\x82\xAC");
    EXPECT_NE(XGetSelectionOwner(FPeer, XInternAtom(FPeer, "CLIPBOARD", False)), Window(None));
    struct {
        const char* Target;
        std::optional<std::string> Expected;
    } cases[] = {
        {"UTF8_STRING", "line one\nline two \xC3\xA9 \xE2\x82\xAC"},
        {"TEXT", "line one\nline two \xC3\xA9 \xE2\x82\xAC"},
        {"STRING", "line one\nline two \xE9 ?"},  // Latin-1: no euro sign
        {"image/png", std::nullopt},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.Target);
        EXPECT_EQ(PeerPaste(c.Target), c.Expected);
    }
    auto targets = PeerPaste("TARGETS");
    ASSERT_TRUE(targets);
    for (const char* t : {"TARGETS", "UTF8_STRING", "STRING", "TEXT"})
        EXPECT_NE(targets->find(t), std::string::npos) << t << " missing from " << *targets;
}

TEST_F(X11DesktopTest, TheProgramPastesWhatOtherProgramsCopied)
{
    HWND wnd = Top("paste", 100, 100, 200, 150);
    ASSERT_NE(WaitForXWindow("paste"), 0u);
    (void)wnd;
    SetClipboardText("ours");
    struct {
        const char* Target;
        std::string Offered;
        std::string Expected;
    } cases[] = {
        {"UTF8_STRING", "from another\nprogram \xC3\xBC", "from another\r\nprogram \xC3\xBC"},
        {"STRING", "caf\xE9", "caf\xC3\xA9"},  // an owner that offers Latin-1 only
        {"image/png", "\x89PNG", ""},        // no text at all: nothing to paste, not our old text
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.Target);
        ForeignOwner(c.Target, c.Offered);
        EXPECT_EQ(ClipboardText(), c.Expected);
    }
    // Copying again makes the program the owner once more.
    SetClipboardText("ours again");
    EXPECT_EQ(PeerPaste("UTF8_STRING"), std::optional<std::string>("ours again"));
    EXPECT_EQ(ClipboardText(), "ours again");
}

TEST_F(X11DesktopTest, AnOwnerThatNeverAnswersCostsABoundedWait)
{
    HWND wnd = Top("silent", 100, 100, 200, 150);
    ASSERT_NE(WaitForXWindow("silent"), 0u);
    (void)wnd;
    ForeignOwner("UTF8_STRING", "never sent", false);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ClipboardText(), "");
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(x11::TX11Clipboard::kTimeoutMs + 1000));
}

TEST(X11ClipboardText, LineEndsAndEncodingsConvert)
{
    struct {
        std::string Ours, X;
    } lines[] = {{"a\r\nb", "a\nb"}, {"a\r\n\r\nb\r\n", "a\n\nb\n"}, {"no breaks", "no breaks"}, {"", ""}};
    for (auto& c : lines) {
        EXPECT_EQ(x11::ToXLineEnds(c.Ours), c.X);
        EXPECT_EQ(x11::FromXLineEnds(c.X), c.Ours);
    }
    EXPECT_EQ(x11::FromXLineEnds("mixed\r\nand\nlone\rcr"), "mixed\r\nand\r\nlone\rcr");
    struct {
        std::string Utf8, Latin1;
    } text[] = {{"plain", "plain"},
                {"\xC3\xA9t\xC3\xA9", "\xE9t\xE9"},
                {"\xE2\x82\xAC 5", "? 5"},
                {"\xF0\x9F\x98\x80", "?"},
                {"cut \xC3", "cut ?"},  // a sequence broken off at the end
                {"\x80x", "?x"}};
    for (auto& c : text) {
        SCOPED_TRACE(c.Utf8);
        EXPECT_EQ(x11::Utf8ToLatin1(c.Utf8), c.Latin1);
    }
    EXPECT_EQ(x11::Latin1ToUtf8("caf\xE9 \xFF"), "caf\xC3\xA9 \xC3\xBF");
}

// A dead key waits for its letter; the input method composes the two.
TEST_F(X11DesktopTest, DeadKeysComposeThroughTheInputMethod)
{
    HWND wnd = Top("dead keys", 80, 80, 300, 200);
    Window xw = WaitForXWindow("dead keys");
    ASSERT_NE(xw, 0u);
    SetFocus(wnd);
    FocusX(xw);
    int minCode = 0, maxCode = 0, perCode = 0;
    XDisplayKeycodes(FPeer, &minCode, &maxCode);
    KeySym* map = XGetKeyboardMapping(FPeer, KeyCode(minCode), maxCode - minCode + 1, &perCode);
    int spare = 0;
    for (int code = maxCode; code >= minCode && !spare; --code) {
        bool empty = true;
        for (int i = 0; i < perCode; ++i)
            empty = empty && map[(code - minCode) * perCode + i] == NoSymbol;
        if (empty)
            spare = code;
    }
    XFree(map);
    ASSERT_NE(spare, 0) << "no unused keycode to remap";
    KeySym dead = XK_dead_acute;
    XChangeKeyboardMapping(FPeer, spare, 1, &dead, 1);
    XSync(FPeer, False);
    Pump(50);  // the program hears of the new mapping
    KeyCode e = XKeysymToKeycode(FPeer, XK_e);
    for (KeyCode k : {KeyCode(spare), e}) {
        XTestFakeKeyEvent(FPeer, k, True, 0);
        XTestFakeKeyEvent(FPeer, k, False, 0);
    }
    XFlush(FPeer);
    std::string typed;
    PumpUntil([&] {
        typed.clear();
        for (const TLogged& l : Only(WM_CHAR))
            typed += char(l.WParam);
        return typed.size() >= 2;
    });
    KeySym none = NoSymbol;
    XChangeKeyboardMapping(FPeer, spare, 1, &none, 1);
    XSync(FPeer, False);
    EXPECT_EQ(typed, "\xC3\xA9") << "the dead key and its letter make one character";
}

TEST(X11CursorPlanes, OpaqueDarkPixelsAreBlackAndLightOnesWhite)
{
    TImageData img;
    AllocateImage(img, 10, 2, "test");
    img.Alpha.assign(20, 255);
    img.Pixels[0] = 0x000000;   // black, shows
    img.Pixels[1] = 0xFFFFFF;   // white, shows
    img.Pixels[2] = 0x2040C0;   // dark blue: black
    img.Pixels[3] = 0xF0E060;   // light yellow: white
    img.Alpha[4] = 0;           // transparent
    img.Pixels[9] = 0x000000;   // second byte of the row
    img.Alpha[10 + 8] = 100;    // mostly transparent, second row
    x11::TCursorPlanes p = x11::CursorPlanes(img);
    ASSERT_EQ(p.Stride, 2);
    ASSERT_EQ(p.Mask.size(), 4u);
    EXPECT_EQ(p.Mask[0], 0xEF);  // all but pixel 4
    EXPECT_EQ(p.Source[0] & 0x0F, 0x05);
    EXPECT_EQ(p.Mask[1], 0x03);
    EXPECT_EQ(p.Source[1] & 0x02, 0x02);
    EXPECT_EQ(p.Mask[3], 0x02);  // pixel 8 of row 2 hidden, 9 shows
}

// A cursor with a picture of its own (a cursor resource) shows as itself,
// not as an arrow.
TEST_F(X11DesktopTest, ACursorOfItsOwnShowsOnTheServer)
{
    TImageData shape;
    AllocateImage(shape, 32, 32, "cursor");
    shape.Alpha.assign(32 * 32, 0);
    for (int y = 4; y < 12; ++y)
        for (int x = 6; x < 20; ++x) {
            shape.Pixels[size_t(y) * 32 + size_t(x)] = x < 13 ? 0x000000 : 0xFFFFFF;
            shape.Alpha[size_t(y) * 32 + size_t(x)] = 255;
        }
    std::vector<uint8_t> cur = SaveIco({shape});
    cur[2] = 2;  // a cursor file: the entry carries the hot spot
    cur[6 + 4] = 9;
    cur[6 + 6] = 7;
    RegisterResource(TResType::Cursor, "X11TESTCURSOR",
                     std::string_view(reinterpret_cast<const char*>(cur.data()), cur.size()));
    HCURSOR own = LoadCursor(nullptr, "X11TESTCURSOR");
    ASSERT_NE(own, nullptr);

    WNDCLASSEX wc;
    wc.lpfnWndProc = LoggingProc;
    wc.hCursor = own;
    wc.lpszClassName = "X11OwnCursor";
    RegisterClassEx(&wc);
    HWND wnd = CreateWindowEx(0, "X11OwnCursor", "cursor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150,
                              nullptr, nullptr, HInstance(), nullptr);
    ASSERT_NE(WaitForXWindow("cursor"), 0u);
    POINT p{60, 60};
    ClientToScreen(wnd, &p);
    XTestFakeMotionEvent(FPeer, -1, p.x, p.y, 0);
    XFlush(FPeer);
    ASSERT_TRUE(PumpUntil([&] { return GetCursor() == own; }));
    Pump(50);
    XFixesCursorImage* shown = XFixesGetCursorImage(FPeer);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->xhot, 9);
    EXPECT_EQ(shown->yhot, 7);
    auto at = [&](int x, int y) { return uint32_t(shown->pixels[size_t(y) * shown->width + size_t(x)]); };
    ASSERT_GE(shown->width, 20);
    ASSERT_GE(shown->height, 12);
    EXPECT_EQ(at(8, 6), 0xFF000000u);   // opaque black
    EXPECT_EQ(at(16, 6), 0xFFFFFFFFu);  // opaque white
    EXPECT_EQ(at(2, 2) >> 24, 0u);      // transparent
    XFree(shown);
    UnregisterResource(TResType::Cursor, "X11TESTCURSOR");
}

// A request the server refuses (here: another client destroyed the
// program's X window under it) is reported, and the program goes on.
TEST_F(X11DesktopTest, ARefusedRequestIsReportedNotFatal)
{
    HWND wnd = Top("destroyed under us", 60, 60, 200, 150);
    Window xw = WaitForXWindow("destroyed under us");
    ASSERT_NE(xw, 0u);
    XDestroyWindow(FPeer, xw);
    XSync(FPeer, False);
    testing::internal::CaptureStderr();
    SetWindowPos(wnd, nullptr, 90, 90, 250, 160, SWP_NOZORDER);
    InvalidateRect(wnd, nullptr, TRUE);
    Pump(200);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the X server refused request"), std::string::npos) << said;
    EXPECT_TRUE(IsWindow(wnd));
    EXPECT_TRUE(DestroyWindow(wnd));
}

// The server going away ends the program's loop with a clear message
// instead of killing the process in the middle of whatever it was doing.
TEST_F(X11DesktopTest, LosingTheServerEndsTheLoop)
{
    x11test::TXvfb::TExtra extra = x11test::TXvfb::StartExtra();
    ASSERT_NE(extra.Pid, 0) << "no second server";
    setenv("DISPLAY", extra.Display.c_str(), 1);
    ResetWindowSystem();
    ASSERT_TRUE(ScreenHasDisplay());
    RegisterLogClass();
    HWND wnd = Top("doomed", 50, 50, 200, 150);
    ASSERT_NE(wnd, nullptr);
    ProcessPendingMessages();
    kill(extra.Pid, SIGTERM);
    waitpid(extra.Pid, nullptr, 0);
    testing::internal::CaptureStderr();
    bool quit = false;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    SetTimer(wnd, 1, 10, nullptr);
    while (!quit && std::chrono::steady_clock::now() < deadline) {
        InvalidateRect(wnd, nullptr, TRUE);  // painting talks to the server
        MSG msg;
        WaitMessage();
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message == WM_QUIT)
                quit = true;
            else
                DispatchMessage(&msg);
    }
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(quit) << "the loop did not hear that the display is gone";
    EXPECT_NE(said.find("lost the connection to the X display " + extra.Display), std::string::npos) << said;
    // The window system still works without it: windows can go.
    EXPECT_TRUE(DestroyWindow(wnd));
    setenv("DISPLAY", x11test::TXvfb::Display().c_str(), 1);
}

}  // namespace
