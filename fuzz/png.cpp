#include "host/gdi/Png.h"
#include "host/rtl/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    try {
        host::TImageData img = host::LoadPng(Data, Size);
        if (int64_t(img.Width) * img.Height <= (1 << 20)) host::SavePng(img);
    } catch (const host::EInvalidGraphic&) {
    }
    return 0;
}
