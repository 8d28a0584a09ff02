#pragma once
// Icon and cursor files: a directory of images, each a DIB with an AND mask or
// a PNG stream.
#include "host/gdi/Image.h"

namespace host {

struct TIconEntryInfo {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 0;
    int HotSpotX = 0; // cursors only
    int HotSpotY = 0;
};

std::vector<TIconEntryInfo> ListIcoEntries(const uint8_t* Data, size_t Size);

// Decodes the entry that best fits DesiredWidth x DesiredHeight: an exact size,
// else the nearest larger one, else the largest; the deepest colour wins among
// equal sizes. Zero for both asks for the largest.
TImageData LoadIco(const uint8_t* Data, size_t Size, int DesiredWidth, int DesiredHeight);
TImageData LoadIcoFile(const std::string& FileName, int DesiredWidth = 0, int DesiredHeight = 0);
std::vector<TImageData> LoadIcoAll(const uint8_t* Data, size_t Size);

// Writes an icon file with one 32-bit entry (alpha and AND mask) per image.
std::vector<uint8_t> SaveIco(const std::vector<TImageData>& Images);

} // namespace host
