#pragma once
// BMP files and packed device-independent bitmaps.
#include "host/gdi/Image.h"

namespace host {

// A BMP file (file header followed by a DIB).
TImageData LoadBmp(const uint8_t* Data, size_t Size);
TImageData LoadBmpFile(const std::string& FileName);

// A packed DIB: info header, colour table, bits. With IconMask the header's
// height covers the colour bits and the AND mask that follows them; the mask
// becomes the image's alpha. BitsOffset, when not zero, is where the bits start
// counted from Data (a file's bfOffBits).
enum class TDibMask { None, IconAndMask };
TImageData LoadDib(const uint8_t* Data, size_t Size, TDibMask Mask = TDibMask::None, size_t BitsOffset = 0);

// Writes a BMP file with 1, 4, 8, 24 or 32 bits per pixel. Indexed depths use
// the image's palette when every pixel is in it, else a palette of the image's
// own colours when they fit, else a fixed palette with nearest-colour matching.
// 32 bits keep the alpha channel when the image has one.
std::vector<uint8_t> SaveBmp(const TImageData& Image, int BitsPerPixel);
void SaveBmpFile(const TImageData& Image, const std::string& FileName, int BitsPerPixel = 24);

} // namespace host
