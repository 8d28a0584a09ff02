#pragma once
// TTimer: a component that fires OnTimer at an interval, from the message
// loop, on the host clock (so tests run it on virtual time).
#include "host/vcl/Controls.h"

namespace host {

class TTimer : public TComponent {
    HOST_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* AOwner);

    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // Milliseconds; 0 stops the timer.
    unsigned GetInterval() const { return FInterval; }
    void SetInterval(unsigned Value);
    const TNotifyEvent& GetOnTimer() const { return FOnTimer; }
    void SetOnTimer(const TNotifyEvent& Value);

    TNotifyEvent FOnTimer;

protected:
    void Destroy() override;
    void Loaded() override;
    virtual void Timer();

private:
    void UpdateTimer();
    void WndProc(TMessage& Message);
    HWND WindowHandle();

    bool FEnabled = true;
    unsigned FInterval = 1000;
    HWND FWindowHandle = nullptr;
    bool FTimerSet = false;
};

} // namespace host
