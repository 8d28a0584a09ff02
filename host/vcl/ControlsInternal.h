#pragma once
// State the control classes share across their source files.
#include "host/vcl/Controls.h"

namespace host::controls {

// The graphic control for which its parent's window holds the capture.
extern TControl* CaptureControl;
// The control CM_MOUSEENTER last went to.
extern TControl* MouseControl;

// Forgets Control wherever the shared state still refers to it.
void ControlDestroyed(TControl* Control);
// Ends a drag whose source or target is going away.
void CancelDragOf(TControl* Control);

// "Control '%s' has no parent window"
[[noreturn]] void ParentRequired(const TControl* Control);

} // namespace host::controls
