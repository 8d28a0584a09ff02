#pragma once
// Where windows appear. The window system talks to exactly one backend through
// this interface: it reports what its top-level windows look like, and the
// backend reports the user's input and waits for it. The headless backend
// keeps an in-memory screen; a display backend shows each top-level window as
// a window of its own.
#include "host/gdi/Image.h"
#include "host/gdi/Raster.h"
#include "host/gdi/WinTypes.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace host {

// One top-level window as the backend sees it.
struct TTopLevelView {
    HWND Wnd = nullptr;
    RECT Rect;                             // screen coordinates
    const gdi::Surface* Surface = nullptr;  // the window's pixels, Rect's size
    bool Visible = false;
    std::string Title;
    HWND Owner = nullptr;  // owned and modal windows stay above their owner
    bool Topmost = false;
    // What a window manager needs to show the window as its own: the window
    // inside its frame and title bar (screen coordinates; menu bar, scroll
    // bars and client area), whether it has a title bar, whether it is a
    // transient pop-up (menu, hint, drop-down list) that no manager should
    // touch, its minimised or maximised state, and whether it is active.
    RECT InnerRect;
    bool Caption = false;
    bool Popup = false;
    bool Minimized = false;
    bool Maximized = false;
    bool Active = false;
};

// What the window system offers its backend.
class TBackendHost {
public:
    virtual ~TBackendHost() = default;
    // Visible and hidden top-level windows, bottom of the z-order first.
    virtual std::vector<TTopLevelView> TopLevels() const = 0;
    virtual COLORREF DesktopColor() const = 0;

    // Input at screen coordinates; button 0 left, 1 right, 2 middle.
    virtual void MouseMoveInput(POINT screen) = 0;
    virtual void MouseButtonInput(POINT screen, int button, bool down) = 0;
    virtual void MouseWheelInput(POINT screen, int delta) = 0;
    virtual void KeyInput(int vk, bool down) = 0;
    // A typed character (a Unicode code point) that no virtual key of the
    // standard layout produces, delivered as WM_CHAR.
    virtual void CharInput(unsigned ch) = 0;

    // What the display did to a top-level window on its own: the user moved
    // or resized it (screen coordinates), asked to close it, or gave or took
    // its keyboard focus.
    virtual void TopLevelMovedInput(HWND wnd, const RECT& screen) = 0;
    virtual void CloseInput(HWND wnd) = 0;
    virtual void FocusInput(HWND wnd, bool gained) = 0;
    // The window's smallest and largest tracking size.
    virtual void SizeLimits(HWND wnd, SIZE& minSize, SIZE& maxSize) = 0;
    // The standard cursor resource (IDC_ARROW's number, ...) a cursor
    // stands for, or 0 for a cursor of its own.
    virtual int StandardCursorId(HICON cursor) const = 0;

    // The display minimised, maximised or restored a top-level window
    // (SW_MINIMIZE, SW_SHOWMAXIMIZED, SW_RESTORE).
    virtual void ShowStateInput(HWND, int /*showCmd*/) {}
    // The display went away: nothing can be shown or typed any more, and the
    // program's loop should end.
    virtual void DisplayLostInput() {}
    // A cursor's own picture (with its opacity) and hot spot;
    // false when it has none.
    virtual bool CursorImage(HICON, TImageData& /*image*/, POINT& /*hotSpot*/) const { return false; }
};

class TBackend {
public:
    virtual ~TBackend() = default;

    virtual SIZE ScreenSize() const = 0;
    // A top-level window was created, moved, resized, shown, hidden or
    // restacked, or painted within dirty (window coordinates).
    virtual void TopLevelChanged(HWND wnd) = 0;
    virtual void TopLevelPainted(HWND wnd, const RECT& dirty) = 0;
    virtual void TopLevelDestroyed(HWND wnd) = 0;
    // Waits until input arrives (reported through the host) or timeoutMs
    // passes; timeoutMs < 0 waits without limit. Returns false at once when
    // no input can ever arrive, so that an idle loop can fail instead of hanging.
    virtual bool WaitForEvents(int timeoutMs) = 0;
    // The whole screen as it shows now.
    virtual TImageData CaptureScreen() = 0;
    virtual void CursorChanged(HICON cursor) = 0;
    // Whether the windows appear on a real display a person can see and use.
    virtual bool HasDisplay() const { return false; }

    // The program put new contents on its clipboard, with this text or
    // none: other programs of the display may paste it from now on.
    virtual void ClipboardChanged(const std::optional<std::string>& /*text*/) {}
    // What another program of the display holds on its clipboard: its text,
    // or an empty text when it offers none. nullopt when no other program
    // owns the clipboard, and the program's own contents stand.
    virtual std::optional<std::string> ForeignClipboardText() { return std::nullopt; }
};

// The in-memory screen used by tests and by programs run without a display.
std::unique_ptr<TBackend> CreateHeadlessBackend(TBackendHost& host, SIZE screenSize);
// Real windows on an X display (nullptr: the default display); nullptr when
// the display cannot be opened.
std::unique_ptr<TBackend> CreateX11Backend(TBackendHost& host, const char* display);

}  // namespace host
