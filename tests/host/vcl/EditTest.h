#pragma once
// Helpers for the edit, memo, mask edit and spin edit tests.
#include "ControlTest.h"

#include "host/vcl/StdEdit.h"

#include <cstring>
#include <string>

namespace edittest {

using namespace host;
using controltest::ControlTest;

inline std::string ClipboardText()
{
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE mem = GetClipboardData(CF_TEXT)) {
        if (auto* p = static_cast<const char*>(GlobalLock(mem))) {
            text = p;
            GlobalUnlock(mem);
        }
    }
    CloseClipboard();
    return text;
}

inline void SetClipboardText(const std::string& Text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
    std::memcpy(GlobalLock(mem), Text.c_str(), Text.size() + 1);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
}

// The client position of the caret before character Pos.
inline TPoint PosOf(TCustomEdit* Edit, int Pos)
{
    LRESULT r = Edit->Perform(EM_POSFROMCHAR, WPARAM(Pos), 0);
    return TPoint{SHORT(LOWORD(r)), SHORT(HIWORD(r))};
}

// The screen point in the middle of the line at character Pos.
inline TPoint ScreenAt(TCustomEdit* Edit, int Pos)
{
    TPoint p = PosOf(Edit, Pos);
    return Edit->ClientToScreen(TPoint{p.x, p.y + 5});
}

inline TImageData Capture(TWinControl* Control) { return CaptureWindow(Control->GetHandle()); }

inline bool HasColor(const TImageData& Image, TColor Color, TRect Area)
{
    uint32_t rgb = ColorToRGB(Color);
    uint32_t want = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    for (int y = Area.top; y < Area.bottom && y < Image.Height; ++y)
        for (int x = Area.left; x < Area.right && x < Image.Width; ++x)
            if (Image.Pixel(x, y) == want) return true;
    return false;
}

inline uint32_t Rgb(TColor Color)
{
    uint32_t rgb = ColorToRGB(Color);
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

} // namespace edittest
