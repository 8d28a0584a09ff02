#pragma once
// Real windows on an X display: every top-level window of the window system
// is an X window showing the window's surface, and the X server's input
// comes back as input at screen coordinates.
#include "host/backend/Backend.h"
#include "host/backend/x11/X11Shm.h"

#include <X11/Xlib.h>

#include <map>
#include <memory>
#include <vector>

namespace host::x11 {

class TX11Backend : public TBackend {
public:
    TX11Backend(TBackendHost& host, Display* display);
    ~TX11Backend() override;

    SIZE ScreenSize() const override;
    void TopLevelChanged(HWND wnd) override;
    void TopLevelPainted(HWND wnd, const RECT& dirty) override;
    void TopLevelDestroyed(HWND wnd) override;
    bool WaitForEvents(int timeoutMs) override;
    TImageData CaptureScreen() override;
    void CursorChanged(HICON cursor) override;
    bool HasDisplay() const override { return true; }

    // The X window that shows wnd, or 0 (for tests).
    Window XWindowOf(HWND wnd) const;

private:
    struct TXWin {
        Window Xw = 0;
        RECT Rect;  // the geometry the server has or was last asked for
        bool Mapped = false;
        std::string Title;
        bool Named = false;
        HWND Owner = nullptr;
        bool Topmost = false;
        std::unique_ptr<TShmImage> Shm;  // null until painted, or without shared memory
    };

    TBackendHost& FHost;
    Display* FDisplay;
    int FScreen;
    GC FGc;
    Atom FProtocols, FDeleteWindow, FNetWmName, FUtf8, FNetWmState, FNetWmStateAbove;
    std::map<HWND, TXWin> FWindows;
    Cursor FCursor = 0;
    std::map<int, Cursor> FCursorCache;
    bool FKeyDown[256] = {};
    std::vector<Window> FStacking;  // as last sent to the server, top first
    bool FUseShm = false;  // KEL_X11_SHM=0 turns shared memory off

    TXWin& Create(const TTopLevelView& v);
    void Update(TXWin& xw, const TTopLevelView& v);
    void SetSizeHints(HWND wnd, Window xw, const RECT& r);
    void SetAbove(TXWin& xw, bool above);
    void Restack();
    void PutPixels(const TTopLevelView& v, TXWin& xw, RECT r);
    static void CopyPixels(XImage* img, int dx, int dy, const gdi::Surface& s, const RECT& r, Visual* vis);
    HWND FindHwnd(Window xw) const;
    bool FindView(HWND wnd, TTopLevelView& out) const;
    int ProcessPending();
    void Handle(XEvent& e);
    void HandleKey(XKeyEvent& e, bool down);
    void HandleConfigure(const XConfigureEvent& e);
};

}  // namespace host::x11
