#pragma once
// The screen the windows appear on, and what tests and tools do with it.
#include "host/gdi/Image.h"
#include "host/win/WinUser.h"

#include <string>

namespace host {

// Destroys every window and starts afresh on a screen of the given size:
// empty queues, no timers, no focus, capture or active window, keys up.
// Window classes registered by the program are forgotten too.
void ResetWindowSystem(SIZE screenSize = SIZE{1024, 768});
SIZE GetScreenSize();
// True when the windows appear on a real display (X11), false for the
// in-memory screen of tests and of programs run without a display.
bool ScreenHasDisplay();

// The pixels of one window (frame included) as the screen shows it, or of
// the whole screen when Wnd is null.
TImageData CaptureWindow(HWND Wnd);
// Writes CaptureWindow(Wnd) as a PNG file.
void Screenshot(HWND Wnd, const std::string& FileName);

// Delivers every message that is ready without waiting; returns how many
// were dispatched. Timers fire only when due on the host clock.
int ProcessPendingMessages();

}  // namespace host
