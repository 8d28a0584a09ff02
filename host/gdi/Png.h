#pragma once
// PNG files through libpng.
#include "host/gdi/Image.h"

namespace host {

// Decodes any PNG (palette, grey, RGB, with or without alpha, 16-bit,
// interlaced). The alpha channel is kept when the file has one or a tRNS chunk.
TImageData LoadPng(const uint8_t* Data, size_t Size);
TImageData LoadPngFile(const std::string& FileName);

// Encodes 8-bit RGB, or RGBA when the image has alpha.
std::vector<uint8_t> SavePng(const TImageData& Image);
void SavePngFile(const TImageData& Image, const std::string& FileName);

} // namespace host
