#include "host/gdi/Ico.h"
#include "host/rtl/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    try {
        host::ListIcoEntries(Data, Size);
        host::LoadIco(Data, Size, 32, 32);
    } catch (const host::EInvalidGraphic&) {
    }
    return 0;
}
