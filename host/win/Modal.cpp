// Nested message loops for modal windows.
#include "host/win/Modal.h"
#include "host/win/WinInternal.h"

namespace host::win {

namespace {

TModalHook GHook;

std::string Describe(HWND wnd)
{
    char text[256] = {};
    char cls[64] = {};
    if (IsWindow(wnd)) {
        GetWindowText(wnd, text, int(sizeof text));
        GetClassName(wnd, cls, int(sizeof cls));
    }
    return std::string("Modal window \"") + text + "\" (" + cls +
           ") was never closed: nothing can answer it";
}

void PumpUntilIdle(const std::function<bool()>& done)
{
    MSG msg;
    while (!done() && PeekInternal(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

}  // namespace

}  // namespace host::win

namespace host {

using namespace win;

TModalHook SetModalHook(TModalHook Hook)
{
    TModalHook old = std::move(GHook);
    GHook = std::move(Hook);
    return old;
}

int ModalLoopDepth() { return State().ModalDepth; }

void SetModalIdleLimit(uint64_t MaxIdleMs) { SetIdleLimit(MaxIdleMs); }

void RunModalLoop(HWND Wnd, const std::function<bool()>& Done)
{
    TState& s = State();
    ++s.ModalDepth;
    struct Guard {
        ~Guard() { --State().ModalDepth; }
    } guard;
    bool quit = false;
    auto finished = [&] { return quit || Done() || State().QuitPending; };
    PumpUntilIdle(finished);
    if (!finished() && GHook) {
        // The hook may open further modal windows; each gets the hook in turn.
        TModalHook hook = GHook;
        hook(Wnd);
    }
    MSG msg;
    while (!finished()) {
        if (PeekInternal(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(int(msg.wParam));
                quit = true;
                break;
            }
            TranslateMessage(&msg);
            DispatchMessage(&msg);
            continue;
        }
        WaitForWork([&] { return Describe(Wnd); });
    }
}

// Read by the window system's view for its backend (InputQueue.cpp).
constexpr const char* kModalOverProp = "HostModalOver";

std::vector<HWND> DisableTaskWindows(HWND Keep)
{
    std::vector<HWND> disabled;
    std::vector<HWND> tops;
    for (TWnd* c : State().Desktop->Children)
        tops.push_back(c->Handle);
    // A display shows the modal window over the one the user was in, even
    // when nothing owns it.
    HWND over = State().Active != Keep ? State().Active : nullptr;
    for (HWND h : tops)
        if (TWnd* w = FindWnd(h); !over && w && h != Keep && (w->Style & WS_VISIBLE) && !(w->Style & WS_DISABLED))
            over = h;
    if (Keep && over)
        SetProp(Keep, kModalOverProp, over);
    for (HWND h : tops) {
        TWnd* w = FindWnd(h);
        if (!w || h == Keep || !(w->Style & WS_VISIBLE) || (w->Style & WS_DISABLED))
            continue;
        EnableWindow(h, FALSE);
        disabled.push_back(h);
    }
    return disabled;
}

void EnableTaskWindows(const std::vector<HWND>& Windows)
{
    for (HWND h : Windows)
        if (IsWindow(h))
            EnableWindow(h, TRUE);
}

}  // namespace host
