#pragma once
// THintWindow: the small window that shows a control's hint under the mouse.
#include <string>

#include "host/vcl/Controls.h"

namespace host {

// A hint text "short|long": the part before the bar shows in the hint
// window, the part after it goes to Application->Hint (status bars).
std::string GetShortHint(const std::string& Hint);
std::string GetLongHint(const std::string& Hint);

class THintWindow : public TCustomControl {
    HOST_CLASS(THintWindow, TCustomControl)
public:
    explicit THintWindow(TComponent* AOwner);
    // Shows AHint in Rect (screen coordinates) without taking the focus.
    virtual void ActivateHint(TRect Rect, const std::string& AHint);
    // The size the hint needs, at most MaxWidth wide, with its top-left at 0, 0.
    virtual TRect CalcHintRect(int MaxWidth, const std::string& AHint);
    void ReleaseHandle();
    bool IsHintShowing() const { return FHandle && IsWindowVisible(FHandle); }

protected:
    void CreateParams(TCreateParams& Params) override;
    bool CanShowStandalone() const override { return false; }
    void Paint() override;
};

} // namespace host
