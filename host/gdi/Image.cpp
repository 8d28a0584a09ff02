#include "host/gdi/Image.h"

#include "host/rtl/SysUtils.h"
#include "host/gdi/Bmp.h"
#include "host/gdi/Ico.h"
#include "host/gdi/Png.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace host {

void AllocateImage(TImageData& Image, int64_t Width, int64_t Height, const char* Format)
{
    if (Width <= 0 || Height <= 0)
        throw EInvalidGraphic("Invalid " + std::string(Format) + ": image has no pixels (" + std::to_string(Width) +
                              " x " + std::to_string(Height) + ")");
    if (Width > kMaxImageSide || Height > kMaxImageSide || Width * Height > kMaxImagePixels)
        throw EInvalidGraphic("Invalid " + std::string(Format) + ": dimensions too large (" +
                              std::to_string(Width) + " x " + std::to_string(Height) + ")");
    Image.Width = static_cast<int>(Width);
    Image.Height = static_cast<int>(Height);
    Image.Pixels.assign(static_cast<size_t>(Width * Height), 0);
    Image.Alpha.clear();
}

std::vector<uint8_t> ReadWholeFile(const std::string& FileName)
{
    std::ifstream in(FileName, std::ios::binary);
    if (!in)
        throw EFOpenError("Cannot open file \"" + FileName + "\"");
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& FileName, const std::vector<uint8_t>& Data)
{
    std::ofstream out(FileName, std::ios::binary | std::ios::trunc);
    if (!out)
        throw EFCreateError("Cannot create file \"" + FileName + "\"");
    out.write(reinterpret_cast<const char*>(Data.data()), static_cast<std::streamsize>(Data.size()));
    if (!out)
        throw EWriteError("Cannot write file \"" + FileName + "\"");
}

TImageFormat DetectImageFormat(const uint8_t* Data, size_t Size)
{
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (Size >= 8 && std::memcmp(Data, kPng, 8) == 0)
        return TImageFormat::Png;
    if (Size >= 2 && Data[0] == 'B' && Data[1] == 'M')
        return TImageFormat::Bmp;
    if (Size >= 4 && Data[0] == 0 && Data[1] == 0 && Data[2] == 1 && Data[3] == 0)
        return TImageFormat::Ico;
    return TImageFormat::Unknown;
}

TImageData LoadImageFile(const std::string& FileName)
{
    std::vector<uint8_t> data = ReadWholeFile(FileName);
    switch (DetectImageFormat(data.data(), data.size())) {
    case TImageFormat::Bmp: return LoadBmp(data.data(), data.size());
    case TImageFormat::Png: return LoadPng(data.data(), data.size());
    case TImageFormat::Ico: return LoadIco(data.data(), data.size(), 0, 0);
    case TImageFormat::Unknown: break;
    }
    throw EInvalidGraphic("Unknown picture file format: \"" + FileName + "\"");
}

} // namespace host
