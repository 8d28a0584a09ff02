#include "host/gdi/Bmp.h"
#include "host/rtl/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    try {
        host::TImageData img = host::LoadBmp(Data, Size);
        // Whatever decodes must encode again (small images only, to keep the pace).
        if (int64_t(img.Width) * img.Height <= (1 << 20))
            host::SaveBmp(img, img.SourceBitsPerPixel <= 8 ? img.SourceBitsPerPixel : 32);
    } catch (const host::EInvalidGraphic&) {
    }
    return 0;
}
