// Image-list data in form files: any bytes as the streamed images must load
// or end in an exception, and what loads must save and load again.
#include <cstddef>
#include <cstdint>

#include "host/vcl/Filer.h"
#include "host/vcl/ImgList.h"

using namespace host;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const char* hex = "0123456789ABCDEF";
    std::string text = "object Images: TImageList\n  Bitmap = {\n    ";
    for (size_t i = 0; i < Size; ++i) {
        text += hex[Data[i] >> 4];
        text += hex[Data[i] & 15];
    }
    text += "}\nend\n";
    TImageList* list = nullptr;
    try {
        list = static_cast<TImageList*>(ReadComponentFromString(text, nullptr));
        std::string again = WriteComponentToString(list);
        ReadComponentFromString(again, nullptr)->Free();
    } catch (const Exception&) {
    }
    if (list) list->Free();
    return 0;
}
