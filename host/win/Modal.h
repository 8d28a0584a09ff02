#pragma once
// Nested message loops for modal windows, and the hook through which tests
// answer them.
#include "host/rtl/SysUtils.h"
#include "host/win/WinUser.h"

#include <functional>
#include <vector>

namespace host {

// A message loop waited for something that can never come: no input can
// arrive, no timer is set, and nothing ended the loop.
HOST_DECLARE_EXCEPTION(EIdleLoop, Exception);

// Called once when a modal loop starts, after the modal window has been
// shown and painted, with that window. It may work the window (through
// injected input or messages) and end the loop.
using TModalHook = std::function<void(HWND Wnd)>;
// Installs Hook and returns the previous one.
TModalHook SetModalHook(TModalHook Hook);

// Runs a nested message loop until Done() returns true or WM_QUIT arrives
// (which is posted again for the outer loop). When the queue is idle with a
// virtual clock, time jumps to the next timer; a loop that nothing can ever
// end raises EIdleLoop naming Wnd instead of hanging.
void RunModalLoop(HWND Wnd, const std::function<bool()>& Done);
int ModalLoopDepth();
// Under a virtual clock, any waiting loop (modal, GetMessage, WaitMessage)
// in which only timers and painting happen for MaxIdleMs of virtual time
// raises EIdleLoop too: nothing else will ever change. Ten minutes by default.
void SetModalIdleLimit(uint64_t MaxIdleMs);

// Called by DispatchMessage before a message reaches its window, in every
// loop (the application's, modal loops, ProcessPendingMessages): the
// framework's application handles key reflection, hints and shortcuts here.
// Returning true means the message was handled and is not dispatched. A
// plain function pointer so that it can be installed during static start-up;
// it survives ResetWindowSystem.
using TDispatchHook = bool (*)(MSG& Msg);
TDispatchHook SetDispatchHook(TDispatchHook Hook);

// Disables every visible, enabled top-level window except Keep and returns
// them so that EnableTaskWindows can enable them again.
std::vector<HWND> DisableTaskWindows(HWND Keep);
void EnableTaskWindows(const std::vector<HWND>& Windows);

}  // namespace host
