#include "host/gdi/DcInternal.h"
#include "host/gdi/Image.h"
#include "host/gdi/Png.h"
#include "host/gdi/WinText.h"
#include "host/rtl/SysUtils.h"

namespace host {

namespace {

TImageData ImageFromSurface(const gdi::Surface& S)
{
    TImageData img;
    AllocateImage(img, S.Width, S.Height, "bitmap");
    img.SourceBitsPerPixel = S.Monochrome ? 1 : 32;
    for (int y = 0; y < S.Height; ++y) {
        const uint32_t* row = S.Row(y);
        for (int x = 0; x < S.Width; ++x) img.Pixels[size_t(y) * S.Width + x] = row[x] & gdi::kPixelMask;
    }
    return img;
}

} // namespace

TImageData ImageFromBitmap(HBITMAP bitmap)
{
    auto* b = gdi::FindObjectAs<gdi::BitmapObject>(bitmap, OBJ_BITMAP);
    if (!b) throw EInvalidGraphicOperation("Not a bitmap handle");
    return ImageFromSurface(b->Surf);
}

TImageData ImageFromDC(HDC hdc)
{
    gdi::Dc* dc = gdi::FindDc(hdc);
    if (!dc || !dc->Target) throw EInvalidGraphicOperation("The device context has no surface");
    return ImageFromSurface(*dc->Target);
}

HBITMAP CreateBitmapFromImage(const TImageData& image)
{
    if (image.Empty()) return nullptr;
    std::unique_ptr<gdi::BitmapObject> b(gdi::MakeBitmap(image.Width, image.Height, false));
    for (int y = 0; y < image.Height; ++y) {
        uint32_t* row = b->Surf.Row(y);
        for (int x = 0; x < image.Width; ++x) row[x] = image.Pixel(x, y) & gdi::kPixelMask;
    }
    return static_cast<HBITMAP>(gdi::AddObject(std::move(b)));
}

void SaveBitmapToPng(HBITMAP bitmap, const std::string& fileName)
{
    SavePngFile(ImageFromBitmap(bitmap), fileName);
}

void SaveDCToPng(HDC hdc, const std::string& fileName)
{
    SavePngFile(ImageFromDC(hdc), fileName);
}

} // namespace host
