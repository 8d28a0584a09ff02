#pragma once
// A decoded raster image, independent of any device context: what the BMP, ICO
// and PNG codecs produce and consume, and what bitmaps are created from.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace host {

struct TImageData {
    int Width = 0;
    int Height = 0;
    // Top-down rows of 0x00RRGGBB.
    std::vector<uint32_t> Pixels;
    // Per-pixel opacity (0 transparent .. 255 opaque), same layout as Pixels;
    // empty when the image is fully opaque. Icon AND masks land here too.
    std::vector<uint8_t> Alpha;
    // What the source stored: bits per pixel and, for indexed images, its palette.
    int SourceBitsPerPixel = 32;
    std::vector<uint32_t> Palette;

    bool Empty() const { return Width <= 0 || Height <= 0; }
    bool HasAlpha() const { return !Alpha.empty(); }
    uint32_t Pixel(int X, int Y) const { return Pixels[static_cast<size_t>(Y) * Width + X]; }
    uint8_t AlphaAt(int X, int Y) const
    {
        return Alpha.empty() ? 255 : Alpha[static_cast<size_t>(Y) * Width + X];
    }
};

// Decoders refuse images beyond this many pixels so that a forged header cannot
// make them allocate without bound.
constexpr int64_t kMaxImagePixels = int64_t(1) << 25;
constexpr int kMaxImageSide = 1 << 16;

// Allocates Width x Height black opaque pixels, or raises EInvalidGraphic when the
// dimensions are not positive or exceed the limits above.
void AllocateImage(TImageData& Image, int64_t Width, int64_t Height, const char* Format);

std::vector<uint8_t> ReadWholeFile(const std::string& FileName);
void WriteWholeFile(const std::string& FileName, const std::vector<uint8_t>& Data);

enum class TImageFormat { Unknown, Bmp, Ico, Png };

// Recognises a file by its signature, not its extension.
TImageFormat DetectImageFormat(const uint8_t* Data, size_t Size);
// Decodes any supported file; icons yield their largest entry.
TImageData LoadImageFile(const std::string& FileName);

} // namespace host
