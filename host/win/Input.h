#pragma once
// Simulated user input for tests and scripted tours. Every event enters at
// screen coordinates through the same path as a backend's real input (hit
// testing, capture, activation, focus), and pending messages are then
// delivered, so a call returns after the program has reacted.
#include "host/win/WinUser.h"

#include <string>

namespace host::Input {

enum class TButton { Left = 0, Right = 1, Middle = 2 };

// Modifier keys held around a key press.
enum TModifier : unsigned { NoModifiers = 0, Shift = 1, Ctrl = 2, Alt = 4 };

void MouseMove(int X, int Y);
void MouseDown(TButton Button = TButton::Left);
void MouseUp(TButton Button = TButton::Left);
void Click(int X, int Y, TButton Button = TButton::Left);
// Two clicks within the double-click time.
void DoubleClick(int X, int Y);
// Press at From, move in Steps equal steps to To, release there.
void Drag(POINT From, POINT To, int Steps = 4, TButton Button = TButton::Left);
void Wheel(int Delta);

void KeyDown(int Vk);
void KeyUp(int Vk);
void KeyPress(int Vk, unsigned Modifiers = NoModifiers);
// Types each character with the keys that produce it (Shift as needed);
// characters no key produces arrive as WM_CHAR.
void TypeText(const std::string& Text);

// Moves a virtual host clock on by Ms, delivering each timer when it falls
// due, in order. Requires a TVirtualClock to be installed.
void AdvanceTime(uint64_t Ms);

// How many times MessageBeep (or Beep) was called since the last reset.
int BeepCount();

// The centre of a window in screen coordinates, for clicking it.
POINT CenterOf(HWND Wnd);

}  // namespace host::Input
