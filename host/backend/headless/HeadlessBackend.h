#pragma once
// An in-memory screen: the desktop colour with the visible top-level windows
// drawn over it bottom to top. Nothing arrives from outside, so waiting for
// input only lets time pass.
#include "host/backend/Backend.h"

namespace host {

class THeadlessBackend : public TBackend {
public:
    THeadlessBackend(TBackendHost& host, SIZE screenSize);

    SIZE ScreenSize() const override { return FSize; }
    void TopLevelChanged(HWND) override {}
    void TopLevelPainted(HWND, const RECT&) override {}
    void TopLevelDestroyed(HWND) override {}
    bool WaitForEvents(int timeoutMs) override;
    TImageData CaptureScreen() override;
    void CursorChanged(HICON cursor) override { FCursor = cursor; }

private:
    TBackendHost& FHost;
    SIZE FSize;
    HICON FCursor = nullptr;
};

}  // namespace host
