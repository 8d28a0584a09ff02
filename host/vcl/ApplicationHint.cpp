// TApplication: hints. The mouse resting over a control with ShowHint for
// HintPause shows its hint; HintHidePause later, or on a click or a key, the
// hint goes. Moving to another control changes Application->Hint (OnHint).
#include "host/vcl/Forms.h"
#include "host/vcl/HintWindow.h"

namespace host {

namespace {
constexpr UINT_PTR HintTimerId = 1;

bool CancelsHint(UINT Msg)
{
    return Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_MBUTTONDOWN || Msg == WM_NCLBUTTONDOWN ||
           Msg == WM_KEYDOWN || Msg == WM_SYSKEYDOWN || Msg == WM_MOUSEWHEEL;
}
} // namespace

void TApplication::SetHint(const std::string& Value)
{
    if (FHint == Value) return;
    FHint = Value;
    OnHint(this);
}

void TApplication::SetShowHint(bool Value)
{
    if (FShowHint == Value) return;
    FShowHint = Value;
    if (!Value) CancelHint();
}

void TApplication::StartHintTimer(UINT Delay)
{
    StopHintTimer();
    SetTimer(GetHandle(), HintTimerId, Delay, nullptr);
    FHintTimerOn = true;
}

void TApplication::StopHintTimer()
{
    if (!FHintTimerOn) return;
    FHintTimerOn = false;
    if (FHandle && IsWindow(FHandle)) KillTimer(FHandle, HintTimerId);
}

void TApplication::HintMouseMessage(const MSG& Msg)
{
    if (CancelsHint(Msg.message)) {
        CancelHint();
        return;
    }
    if (Msg.message != WM_MOUSEMOVE && Msg.message != WM_MOUSELEAVE) return;
    POINT p;
    GetCursorPos(&p);
    TControl* control = FindDragTarget(p, true);
    if (control == FHintControl) return;
    FHintControl = control;
    if (control) control->FreeNotification(this);
    SetHint(control ? GetLongHint(control->GetHint()) : std::string());
    bool wasShowing = FHintShowing;
    CancelHint();
    FHintControl = control;
    // Once one hint showed, the next control's hint follows without the pause.
    if (control && FShowHint) StartHintTimer(wasShowing ? 50 : UINT(FHintPause));
}

void TApplication::HintTimerExpired()
{
    StopHintTimer();
    if (FHintShowing) {
        CancelHint();
        return;
    }
    POINT p;
    GetCursorPos(&p);
    ActivateHint(p);
}

void TApplication::ActivateHint(const TPoint& CursorPos)
{
    TControl* control = FHintControl;
    if (!control || !FShowHint || !control->GetShowHint()) return;
    std::string text = GetShortHint(control->GetHint());
    if (text.empty()) return;
    if (!FHintWindow) {
        FHintWindow = new THintWindow(this);
        FHintWindow->FreeNotification(this);
    }
    FHintWindow->SetColor(FHintColor);
    TRect r = FHintWindow->CalcHintRect(GetScreen()->GetWidth() / 3, text);
    int top = CursorPos.y + GetSystemMetrics(SM_CYCURSOR) * 2 / 3;
    OffsetRect(&r, CursorPos.x, top);
    FHintWindow->ActivateHint(r, text);
    FHintShowing = true;
    if (FHintHidePause > 0) StartHintTimer(UINT(FHintHidePause));
}

void TApplication::CancelHint()
{
    StopHintTimer();
    if (FHintWindow) FHintWindow->ReleaseHandle();
    FHintShowing = false;
}

} // namespace host
