// TTimer: a window-system timer on a utility window.
#include "host/vcl/Timer.h"
#include "host/vcl/Forms.h"

namespace host {

namespace {
constexpr const char* TimerProp = "HostTimer";
} // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

void TTimer::Destroy()
{
    FEnabled = false;
    UpdateTimer();
    if (FWindowHandle && IsWindow(FWindowHandle) && GetProp(FWindowHandle, TimerProp) == HANDLE(this))
        DeallocateHWnd(FWindowHandle);
    FWindowHandle = nullptr;
    inherited::Destroy();
}

// The utility window goes when the window system is reset; another window
// may then have the same number.
HWND TTimer::WindowHandle()
{
    if (FWindowHandle && IsWindow(FWindowHandle) && GetProp(FWindowHandle, TimerProp) == HANDLE(this))
        return FWindowHandle;
    FWindowHandle = AllocateHWnd([this](TMessage& M) { WndProc(M); });
    SetProp(FWindowHandle, TimerProp, HANDLE(this));
    FTimerSet = false;
    return FWindowHandle;
}

void TTimer::UpdateTimer()
{
    if (FTimerSet && FWindowHandle && IsWindow(FWindowHandle)) KillTimer(FWindowHandle, 1);
    FTimerSet = false;
    if (GetComponentState().Contains(csLoading) || GetComponentState().Contains(csDesigning)) return;
    if (!FEnabled || FInterval == 0 || !FOnTimer) return;
    if (!SetTimer(WindowHandle(), 1, FInterval, nullptr)) throw EOutOfResources("Not enough timers available");
    FTimerSet = true;
}

void TTimer::Loaded()
{
    inherited::Loaded();
    UpdateTimer();
}

void TTimer::SetEnabled(bool Value)
{
    if (FEnabled == Value) return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned Value)
{
    if (FInterval == Value) return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::SetOnTimer(const TNotifyEvent& Value)
{
    FOnTimer = Value;
    UpdateTimer();
}

void TTimer::Timer() { FOnTimer(this); }

void TTimer::WndProc(TMessage& Message)
{
    if (Message.Msg != WM_TIMER) {
        Message.Result = DefWindowProc(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    try {
        Timer();
    } catch (...) {
        GetApplication()->HandleException(this);
    }
}

HOST_PUBLISHED(TTimer)
{
    P.Property("Enabled", &TTimer::GetEnabled, &TTimer::SetEnabled).Default(true);
    P.Property("Interval", &TTimer::GetInterval, &TTimer::SetInterval).Default(1000);
    P.Property("OnTimer", &TTimer::GetOnTimer, &TTimer::SetOnTimer);
}

HOST_REGISTER_CLASSES(TTimer);

} // namespace host
