#pragma once
// Laying out one line of text in a realised font and rendering it into coverage
// masks in device pixels. The device context paints the masks in its colours
// through its clip region; nothing here knows about device contexts.
#include "host/gdi/Font.h"
#include "host/gdi/WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

namespace host {

struct TCoverageMask {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Data; // Width * Height, row by row

    bool Empty() const { return Width <= 0 || Height <= 0; }
    uint8_t At(int X, int Y) const
    {
        if (X < Left || Y < Top || X >= Left + Width || Y >= Top + Height) return 0;
        return Data[size_t(Y - Top) * Width + (X - Left)];
    }
    // Keeps only the part inside [L, R) x [T, B).
    void Crop(int L, int T, int R, int B);
};

// Byte strings are UTF-8 where they decode as such; any other byte stands for
// the Latin-1 character of the same number.
std::u32string DecodeText(std::string_view Text);

// Pen offsets of the characters of one line: where each starts and the total
// extent, along the unrotated baseline.
struct TTextRun {
    std::u32string Chars;
    std::vector<int> Offsets; // one more than Chars: the last is the extent
    int Width() const { return Offsets.empty() ? 0 : Offsets.back(); }
};

// Natural advances, or the caller's per-character distances when Dx is given
// (DxCount of them; missing ones fall back to the natural advance).
TTextRun LayoutRun(TFontInstance& Font, std::u32string Chars, const int* Dx = nullptr, size_t DxCount = 0);

struct TTextRender {
    TCoverageMask Background; // the rotated cell box, when asked for
    TCoverageMask Text;       // glyphs and decoration lines
    // Where the baseline starts and ends, in device pixels.
    double BaseX = 0, BaseY = 0, EndX = 0, EndY = 0;
};

struct TTextRenderOptions {
    UINT Align = TA_LEFT | TA_TOP; // the TA_ flags
    bool Background = false;
    int UnderlineChar = -1; // an extra underline under this character (mnemonics)
    // When set, the masks cover only this part of the device (the visible
    // area), so a long line far outside the target costs no memory.
    bool Limited = false;
    RECT Limit{};
};

// Renders Run with its reference point at (RefX, RefY) in device pixels.
TTextRender RenderRun(TFontInstance& Font, const TTextRun& Run, int RefX, int RefY, const TTextRenderOptions& Options);

} // namespace host
