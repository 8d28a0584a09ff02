#pragma once
// Keys of the X keyboard as the window system's virtual keys.
#include <X11/Xlib.h>

namespace host::x11 {

// The virtual key of a key's unshifted keysym, or 0 for keys without one.
int KeysymToVk(KeySym sym);
// The character the standard (US) layout types for vk with or without Shift,
// or 0: what the window system's own translation will produce.
unsigned UsLayoutChar(int vk, bool shift);
// The Unicode character a keysym stands for, or 0.
unsigned KeysymToChar(KeySym sym);

}  // namespace host::x11
