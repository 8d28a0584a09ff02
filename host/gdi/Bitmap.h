#pragma once
// DIB decoding shared by the bitmap and blit code.
#include "host/gdi/Raster.h"

namespace host::gdi {

int DibStride(int width, int bpp);
bool DibFormatSupported(const BITMAPINFOHEADER& h);
// The pixel (0x00RRGGBB) at column x of one DIB row.
uint32_t DibPixel(const BITMAPINFO& bmi, const uint8_t* row, int x);
// Copies DIB scan lines [startScan, startScan + lines) into s, which has the
// DIB's size; bits points at the first of those lines.
void DibToSurface(const BITMAPINFO& bmi, const void* bits, int startScan, int lines,
                  const Surface& s);

}  // namespace host::gdi
