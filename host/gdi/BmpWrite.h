#pragma once
// Writing packed DIBs, shared by the BMP and icon writers.
#include "host/gdi/Bmp.h"
#include "host/gdi/ImageBytes.h"

namespace host {

// Appends an info header, colour table and bottom-up bits; with IconAndMask the
// header height is doubled and a one-bit AND mask (alpha below 128) follows.
void AppendDib(TByteWriter& W, const TImageData& Img, int Bpp, TDibMask Mask);

} // namespace host
