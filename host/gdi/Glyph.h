#pragma once
// A rendered glyph: a coverage bitmap placed relative to the pen position.
#include <cstdint>
#include <vector>

namespace host {

struct TGlyph {
    // Offset of the bitmap's top-left pixel from the pen position (y down).
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    // Unrotated advance in whole pixels.
    int Advance = 0;
    // Width * Height coverage values, 0 (none) to 255 (full); monochrome glyphs
    // hold only 0 and 255.
    std::vector<uint8_t> Coverage;
};

} // namespace host
