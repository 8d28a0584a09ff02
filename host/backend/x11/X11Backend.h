#pragma once
// Real windows on an X display: every top-level window of the window system
// is an X window showing the window's surface, and the X server's input
// comes back as input at screen coordinates.
//
// Under a window manager the manager draws the title bar and frame, and the
// X window shows what is inside them (menu bar, scroll bars, client area);
// on a bare server the window system's own frame shows. Menus, hints and
// drop-down lists are never managed.
#include "host/backend/Backend.h"
#include "host/backend/x11/X11Clipboard.h"
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
    void ClipboardChanged(const std::optional<std::string>& text) override;
    std::optional<std::string> ForeignClipboardText() override;

    // The X window that shows wnd, or 0 (for tests).
    Window XWindowOf(HWND wnd) const;
    // Whether a window manager decorates the windows.
    bool Managed() const { return FManaged; }
    // Whether an input method turns keys into text.
    bool HasInputMethod() const { return FIm != nullptr; }

private:
    struct TXWin {
        Window Xw = 0;
        RECT Rect;  // what the server shows, as it has it or was last asked for
        bool Mapped = false;
        std::string Title;
        bool Named = false;
        HWND Owner = nullptr;
        bool Topmost = false;
        bool Decorated = false;  // the manager draws the frame: Rect is what is inside it
        bool Popup = false;      // override-redirect
        bool KindTold = false;   // the manager knows whether to decorate it
        bool Iconic = false;     // minimised, as asked of or reported by the manager
        bool Maximized = false;  // as asked of or reported by the manager
        XIC Ic = nullptr;
        std::unique_ptr<TShmImage> Shm;  // null until painted, or without shared memory
    };

    TBackendHost& FHost;
    Display* FDisplay;
    int FScreen;
    GC FGc;
    Atom FProtocols, FDeleteWindow, FNetWmName, FUtf8, FNetWmState, FNetWmStateAbove;
    Atom FNetWmStateMaxV, FNetWmStateMaxH, FWmState, FMotifHints, FNetActiveWindow;
    bool FManaged = false;
    std::map<HWND, TXWin> FWindows;
    Cursor FCursor = 0;
    std::map<int, Cursor> FCursorCache;      // standard shapes by resource number
    std::map<HICON, Cursor> FImageCursors;  // cursors with pictures of their own
    bool FKeyDown[256] = {};
    std::vector<Window> FStacking;  // as last sent to the server, top first
    bool FUseShm = false;  // KEL_X11_SHM=0 turns shared memory off
    XIM FIm = nullptr;
    std::unique_ptr<TX11Clipboard> FClipboard;
    HWND FFocusLeft = nullptr;  // lost the focus; deactivates unless another of ours took it
    bool FFocusMoved = false;   // focus notices arrived since the last look
    HWND FActiveAsked = nullptr;  // the active window the display was last asked to focus
    bool FLost = false;         // the connection to the server broke

    static void ConnectionLost(Display* display, void* self);
    void OpenInputMethod();
    static void InputMethodGone(XIM im, XPointer self, XPointer unused);
    void CreateIc(TXWin& xw);

    TXWin& Create(const TTopLevelView& v);
    void Update(TXWin& xw, const TTopLevelView& v);
    void UpdateKind(TXWin& xw, const TTopLevelView& v);
    void UpdateStates(TXWin& xw, const TTopLevelView& v);
    void SetSizeHints(HWND wnd, const TXWin& xw, const TTopLevelView& v);
    void SetAbove(TXWin& xw, bool above);
    void SendState(const TXWin& xw, bool add, Atom first, Atom second);
    void AskForFocus(const TXWin& xw);
    void Restack();
    void PutPixels(const TTopLevelView& v, TXWin& xw, RECT r);
    static void CopyPixels(XImage* img, int dx, int dy, const gdi::Surface& s, const RECT& r, Visual* vis);
    HWND FindHwnd(Window xw) const;
    bool FindView(HWND wnd, TTopLevelView& out) const;
    int ProcessPending();
    void Handle(XEvent& e);
    void HandleExpose(const XExposeEvent& e);
    void HandleKey(XKeyEvent& e, bool down);
    void TypeText(const std::string& utf8, int vk, bool shift, bool command);
    void HandleConfigure(const XConfigureEvent& e);
    void HandleFocus(const XFocusChangeEvent& e);
    void HandleProperty(const XPropertyEvent& e);
    void CheckFocus();
    Cursor CursorFor(HICON cursor);
};

inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }
inline bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The rectangle of v the X window shows: the inside of the frame when a
// window manager draws the frame, otherwise the whole window.
RECT ShownRect(const TTopLevelView& v, bool decorated);

}  // namespace host::x11
