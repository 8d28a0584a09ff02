#include "host/win/Input.h"

#include "host/rtl/Clock.h"
#include "host/rtl/SysUtils.h"
#include "host/win/Screen.h"
#include "host/win/WinInternal.h"

namespace host::Input {

namespace {

TBackendHost& Host() { return win::ScreenBackendHost(); }
// Where the last injected mouse event happened (the cursor gets there when
// the event is delivered).
POINT Where()
{
    auto& q = win::State().Input;
    for (auto it = q.rbegin(); it != q.rend(); ++it)
        if (it->Kind != win::TInputKind::KeyDown && it->Kind != win::TInputKind::KeyUp &&
            it->Kind != win::TInputKind::Char)
            return it->Pt;
    return win::State().Cursor;
}
void Settle() { ProcessPendingMessages(); }

// Injected events are stamped with the host clock; consecutive clicks of a
// double click must not look simultaneous to a clock that stands still.
void Press(int Vk, bool Down)
{
    Host().KeyInput(Vk, Down);
    Settle();
}

}  // namespace

void MouseMove(int X, int Y)
{
    Host().MouseMoveInput(POINT{X, Y});
    Settle();
}

void MouseDown(TButton Button)
{
    Host().MouseButtonInput(Where(), int(Button), true);
    Settle();
}

void MouseUp(TButton Button)
{
    Host().MouseButtonInput(Where(), int(Button), false);
    Settle();
}

void Click(int X, int Y, TButton Button)
{
    MouseMove(X, Y);
    MouseDown(Button);
    MouseUp(Button);
}

void DoubleClick(int X, int Y)
{
    Click(X, Y);
    Click(X, Y);
}

// The whole gesture is queued before anything is delivered, as a real hand
// keeps moving while the program works: a drag that starts a modal move or
// size loop finds the rest of the gesture waiting for it.
void Drag(POINT From, POINT To, int Steps, TButton Button)
{
    if (Steps < 1)
        Steps = 1;
    Host().MouseMoveInput(From);
    win::PaceLastInput();
    Host().MouseButtonInput(From, int(Button), true);
    POINT at = From;
    for (int i = 1; i <= Steps; ++i) {
        at = POINT{From.x + (To.x - From.x) * i / Steps, From.y + (To.y - From.y) * i / Steps};
        Host().MouseMoveInput(at);
        win::PaceLastInput();
    }
    Host().MouseButtonInput(at, int(Button), false);
    Settle();
}

void Wheel(int Delta)
{
    Host().MouseWheelInput(Where(), Delta);
    Settle();
}

void KeyDown(int Vk) { Press(Vk, true); }
void KeyUp(int Vk) { Press(Vk, false); }

void KeyPress(int Vk, unsigned Modifiers)
{
    if (Modifiers & Ctrl) KeyDown(VK_CONTROL);
    if (Modifiers & Alt) KeyDown(VK_MENU);
    if (Modifiers & Shift) KeyDown(VK_SHIFT);
    KeyDown(Vk);
    KeyUp(Vk);
    if (Modifiers & Shift) KeyUp(VK_SHIFT);
    if (Modifiers & Alt) KeyUp(VK_MENU);
    if (Modifiers & Ctrl) KeyUp(VK_CONTROL);
}

void TypeText(const std::string& Text)
{
    for (char ch : Text) {
        int vk = 0;
        bool shift = false;
        if (!win::CharToKey(ch, vk, shift)) {
            win::PushCharInput(ch);
            Settle();
            continue;
        }
        bool caps = GetKeyState(VK_CAPITAL) & 1;
        bool letter = vk >= 'A' && vk <= 'Z';
        KeyPress(vk, (letter && caps ? !shift : shift) ? Shift : NoModifiers);
    }
}

void AdvanceTime(uint64_t Ms)
{
    auto* clock = dynamic_cast<TVirtualClock*>(&GetClock());
    if (!clock)
        throw EInvalidOperation("AdvanceTime needs a virtual clock");
    uint64_t end = clock->MonotonicMs() + Ms;
    Settle();
    for (;;) {
        int64_t delay = win::NextTimerDelay();
        uint64_t now = clock->MonotonicMs();
        if (delay < 0 || now + uint64_t(delay) > end)
            break;
        clock->Advance(uint64_t(delay));
        Settle();
    }
    clock->Advance(end - clock->MonotonicMs());
    Settle();
}

int BeepCount() { return win::State().BeepCount; }

POINT CenterOf(HWND Wnd)
{
    RECT r{};
    GetWindowRect(Wnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace host::Input
