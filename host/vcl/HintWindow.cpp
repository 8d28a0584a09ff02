// THintWindow and the hint text helpers.
#include "host/vcl/HintWindow.h"
#include "host/vcl/Forms.h"

namespace host {

std::string GetShortHint(const std::string& Hint)
{
    size_t bar = Hint.find('|');
    return bar == std::string::npos ? Hint : Hint.substr(0, bar);
}

std::string GetLongHint(const std::string& Hint)
{
    size_t bar = Hint.find('|');
    return bar == std::string::npos ? Hint : Hint.substr(bar + 1);
}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    FVisible = false;
    FParentFont = false;
    FParentColor = false;
    SetColor(clInfoBk);
    GetFont()->Assign(GetScreen()->GetHintFont());
    GetCanvas()->GetFont()->Assign(GetFont());
}

void THintWindow::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    Params.WndParent = nullptr;
    Params.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& AHint)
{
    RECT r{0, 0, MaxWidth, 0};
    TCanvas* canvas = GetCanvas();
    canvas->GetFont()->Assign(GetFont());
    DrawText(canvas->GetHandle(), AHint.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    r.right += 6;
    r.bottom += 2;
    return r;
}

void THintWindow::ActivateHint(TRect Rect, const std::string& AHint)
{
    SetCaption(AHint);
    // Kept on the screen.
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    if (Rect.right > sw) Rect.left = sw - w;
    if (Rect.bottom > sh) Rect.top = sh - h;
    if (Rect.left < 0) Rect.left = 0;
    if (Rect.top < 0) Rect.top = 0;
    SetBounds(Rect.left, Rect.top, w, h);
    SetWindowPos(GetHandle(), HWND_TOPMOST, Rect.left, Rect.top, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::ReleaseHandle()
{
    if (FHandle) ShowWindow(FHandle, SW_HIDE);
}

void THintWindow::Paint()
{
    TCanvas* canvas = GetCanvas();
    TRect r = GetClientRect();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(r);
    canvas->GetFont()->Assign(GetFont());
    canvas->GetFont()->SetColor(clInfoText);
    canvas->GetBrush()->SetStyle(bsClear);
    RECT t{r.left + 2, r.top + 1, r.right - 2, r.bottom - 1};
    std::string text = GetCaption();
    DrawText(canvas->GetHandle(), text.c_str(), -1, &t, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

} // namespace host
