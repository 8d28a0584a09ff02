#pragma once
// Shared by the text entry points: measuring runs with the DC's settings and
// painting them through the DC.
#include "host/gdi/DcInternal.h"
#include "host/gdi/TextRender.h"

#include <string_view>

namespace host::gdi {

// A zero-terminated string when count is negative.
std::string_view TextArg(LPCSTR text, int count);

// Lays out text in the DC's font with its character extra; explicit
// distances (dx) win over both.
TTextRun MeasureRun(Dc& dc, TFontInstance& font, std::u32string chars, const INT* dx = nullptr,
                    size_t dxCount = 0);

struct TRunPaint {
    POINT Ref;                  // device coordinates
    UINT Align = TA_TOP | TA_LEFT;
    bool OpaqueBox = false;     // fill the text's cell box with the background colour
    const RECT* Clip = nullptr; // device coordinates, in addition to the DC's clip
    int UnderlineChar = -1;
};

// Paints a run in the DC's text (and background) colour; ROP2 does not apply.
TTextRender PaintRun(Dc& dc, TFontInstance& font, const TTextRun& run, const TRunPaint& how);

}  // namespace host::gdi
