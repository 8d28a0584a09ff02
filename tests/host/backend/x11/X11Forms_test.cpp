// Real forms on the virtual display: what a user of a desktop program sees
// and does reaches the framework's events.
// The framework's headers first: Xlib's macros (KeyPress, None) would break them.
#include "host/vcl/Buttons.h"
#include "host/vcl/Forms.h"
#include "host/vcl/StdButtons.h"
#include "host/vcl/StdEdit.h"
#include "host/vcl/StdLabel.h"
#include "host/win/Modal.h"

#include "X11Fixture.h"

#include <X11/Xatom.h>

#include <vector>

namespace {

using namespace host;

class X11FormsTest : public x11test::X11Fixture {
protected:
    void SetUp() override
    {
        X11Fixture::SetUp();
        DoneApplication();
    }
    void TearDown() override
    {
        FreeForms();
        DoneApplication();
        X11Fixture::TearDown();
    }
    void FreeForms()
    {
        for (auto it = FForms.rbegin(); it != FForms.rend(); ++it)
            Free(*it);
        FForms.clear();
    }
    TForm* MakeForm(const std::string& caption, int l, int t, int w, int h)
    {
        auto* f = new TForm(nullptr);
        f->SetCaption(caption);
        f->SetBounds(l, t, w, h);
        FForms.push_back(f);
        return f;
    }
    template <class T>
    T* Make(TWinControl* parent, int l, int t, int w, int h)
    {
        auto* c = new T(parent);
        c->SetBounds(l, t, w, h);
        c->SetParent(parent);
        return c;
    }
    // A form with a few standard controls, the same on every backend.
    TForm* SampleForm()
    {
        TForm* f = MakeForm("sample", 120, 90, 360, 220);
        auto* b = Make<TButton>(f, 16, 16, 100, 28);
        b->SetCaption("&Apply");
        auto* e = Make<TEdit>(f, 16, 60, 200, 24);
        e->SetText("Some text 123");
        auto* l = Make<TLabel>(f, 16, 100, 200, 20);
        l->SetCaption("A label, gjpqy");
        auto* s = Make<TSpeedButton>(f, 240, 16, 60, 28);
        s->SetCaption("Speed");
        return f;
    }
    Window ShowAndWait(TForm* f)
    {
        f->Show();
        Window xw = WaitForXWindow(f->GetCaption());
        Pump(50);  // the first paint and its exposure
        return xw;
    }
    POINT ScreenPointOf(TControl* c, int x, int y)
    {
        TPoint p = c->ClientToScreen(TPoint{x, y});
        return POINT{p.x, p.y};
    }
    void FocusX(Window xw)
    {
        XSetInputFocus(FPeer, xw, RevertToParent, CurrentTime);
        XSync(FPeer, False);
    }

    std::vector<TObject*> FForms;
};

TEST_F(X11FormsTest, AFormAppearsWithItsSizeAndCaption)
{
    TForm* f = MakeForm("a form of its size", 70, 60, 333, 222);
    Window xw = ShowAndWait(f);
    ASSERT_NE(xw, 0u);
    EXPECT_EQ(ShownGeometry(xw), RECT(70, 60, 403, 282));
}

TEST_F(X11FormsTest, AClickThroughTheServerReachesOnClick)
{
    TForm* f = MakeForm("clicking", 100, 100, 300, 200);
    auto* b = Make<TButton>(f, 20, 20, 90, 28);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    ASSERT_NE(ShowAndWait(f), 0u);
    ClickAt(ScreenPointOf(b, 45, 14));
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
    // A click beside it is no click of the button.
    ClickAt(ScreenPointOf(b, 45, 60));
    Pump(100);
    EXPECT_EQ(clicks, 1);
}

TEST_F(X11FormsTest, TypingThroughTheServerReachesAnEdit)
{
    TForm* f = MakeForm("typing", 100, 100, 300, 200);
    auto* e = Make<TEdit>(f, 20, 20, 200, 24);
    Window xw = ShowAndWait(f);
    ASSERT_NE(xw, 0u);
    e->SetFocus();
    FocusX(xw);
    TypeKeys("Hello World 42");
    EXPECT_TRUE(PumpUntil([&] { return e->GetText().size() >= 14; }));
    EXPECT_EQ(e->GetText(), "Hello World 42");
}

TEST_F(X11FormsTest, AResizeByAnotherClientReachesOnResize)
{
    TForm* f = MakeForm("resizing", 100, 100, 300, 200);
    std::vector<int> widths;
    f->OnResize = [&](TObject*) { widths.push_back(f->GetWidth()); };
    Window xw = ShowAndWait(f);
    ASSERT_NE(xw, 0u);
    widths.clear();
    XResizeWindow(FPeer, xw, 420, 310);
    XFlush(FPeer);
    EXPECT_TRUE(PumpUntil([&] { return !widths.empty() && widths.back() == 420; }));
    EXPECT_EQ(f->GetHeight(), 310);
}

TEST_F(X11FormsTest, TheCloseButtonAsksOnCloseQuery)
{
    TForm* f = MakeForm("closing", 100, 100, 300, 200);
    bool allow = false;
    int asked = 0;
    f->OnCloseQuery = [&](TObject*, bool& canClose) {
        ++asked;
        canClose = allow;
    };
    Window xw = ShowAndWait(f);
    ASSERT_NE(xw, 0u);
    auto requestClose = [&] {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = xw;
        e.xclient.message_type = XInternAtom(FPeer, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = long(XInternAtom(FPeer, "WM_DELETE_WINDOW", False));
        XSendEvent(FPeer, xw, False, NoEventMask, &e);
        XFlush(FPeer);
    };
    requestClose();
    EXPECT_TRUE(PumpUntil([&] { return asked == 1; }));
    Pump(50);
    EXPECT_TRUE(f->GetVisible()) << "refused, the form stays";
    allow = true;
    requestClose();
    EXPECT_TRUE(PumpUntil([&] { return !f->GetVisible(); }));
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(PumpUntil([&] { return FindXWindow("closing") == 0; })) << "the X window still shows";
}

TEST_F(X11FormsTest, AFlatButtonLightsUpAndGoesOutWhenThePointerLeavesTheProgram)
{
    TForm* f = MakeForm("hover", 100, 100, 300, 200);
    auto* s = Make<TSpeedButton>(f, 20, 20, 60, 28);
    s->SetFlat(true);
    ASSERT_NE(ShowAndWait(f), 0u);
    POINT over = ScreenPointOf(s, 30, 14);
    XTestFakeMotionEvent(FPeer, -1, over.x, over.y, 0);
    XFlush(FPeer);
    EXPECT_TRUE(PumpUntil([&] { return s->GetMouseInControl(); })) << "no CM_MOUSEENTER";
    // Straight out to the bare desktop, as a fast hand leaves a window.
    XTestFakeMotionEvent(FPeer, -1, 700, 550, 0);
    XFlush(FPeer);
    EXPECT_TRUE(PumpUntil([&] { return !s->GetMouseInControl(); })) << "no CM_MOUSELEAVE";
}

TEST_F(X11FormsTest, AModalFormIsATransientWindowOfTheFormItCoversAndGetsTheCloseButton)
{
    TForm* main = MakeForm("main form", 100, 100, 400, 300);
    Window mainXw = ShowAndWait(main);
    ASSERT_NE(mainXw, 0u);
    TForm* dialog = MakeForm("modal dialog", 150, 150, 250, 150);
    Window transientFor = 0, dialogXw = 0;
    bool stayedActive = false;
    int asked = 0;
    dialog->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++asked > 0; };
    SetModalHook([&](HWND) {
        PumpUntil([&] { return (dialogXw = FindXWindow("modal dialog")) != 0; });
        if (dialogXw)
            XGetTransientForHint(FPeer, dialogXw, &transientFor);
        // The display gives the focus to the form below, as a click on it would.
        XSetInputFocus(FPeer, mainXw, RevertToParent, CurrentTime);
        XSync(FPeer, False);
        Pump(50);
        stayedActive = GetActiveWindow() == dialog->GetHandle();
        // The user closes it with the title bar's button.
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = dialogXw;
        e.xclient.message_type = XInternAtom(FPeer, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = long(XInternAtom(FPeer, "WM_DELETE_WINDOW", False));
        XSendEvent(FPeer, dialogXw, False, NoEventMask, &e);
        XFlush(FPeer);
    });
    int result = dialog->ShowModal();
    SetModalHook(nullptr);
    EXPECT_TRUE(stayedActive) << "the display's focus on the covered form took the modal form's activation";
    ASSERT_NE(dialogXw, 0u);
    EXPECT_EQ(transientFor, mainXw);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(result, mrCancel);
}

// The server shows, pixel for pixel, what the in-memory screen shows of the
// same form.
TEST_F(X11FormsTest, TheServerShowsTheSameClientAreaAsTheHeadlessScreen)
{
    // The in-memory screen's picture first.
    setenv("KEL_BACKEND", "headless", 1);
    ResetWindowSystem(SIZE{800, 600});
    ASSERT_FALSE(ScreenHasDisplay());
    TForm* g = SampleForm();
    g->Show();
    ProcessPendingMessages();
    TImageData headless = CaptureWindow(g->GetHandle());
    RECT wr = g->GetBoundsRect();
    TPoint origin = g->ClientToScreen(TPoint{0, 0});
    int w = g->GetClientWidth(), h = g->GetClientHeight();
    int ox = origin.x - wr.left, oy = origin.y - wr.top;
    FreeForms();
    DoneApplication();

    setenv("KEL_BACKEND", "x11", 1);
    ResetWindowSystem();
    ASSERT_TRUE(ScreenHasDisplay());
    TForm* f = SampleForm();
    Window xw = ShowAndWait(f);
    ASSERT_NE(xw, 0u);
    ASSERT_EQ(f->ClientToScreen(TPoint{0, 0}), origin);
    XImage* img = nullptr;
    int mismatches = 0, distinct = 0;
    auto compare = [&](bool report) {
        if (img)
            XDestroyImage(img);
        img = XGetImage(FPeer, xw, ox, oy, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
        mismatches = distinct = 0;
        for (int y = 0; img && y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint32_t want = headless.Pixel(ox + x, oy + y) & 0xFFFFFF;
                auto got = uint32_t(XGetPixel(img, x, y) & 0xFFFFFF);
                distinct += want != (headless.Pixel(ox, oy) & 0xFFFFFF);
                if (got != want && mismatches++ < 5 && report)
                    ADD_FAILURE() << "pixel " << x << "," << y << " shows " << std::hex << got << " instead of "
                                  << want;
            }
        return img && mismatches == 0;
    };
    // On a busy machine the server may still be catching up with painting.
    PumpUntil([&] { return compare(false); });
    compare(true);
    ASSERT_NE(img, nullptr);
    XDestroyImage(img);
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(distinct, 500) << "the form drew too little for the comparison to mean anything";
}

}  // namespace
