#include "host/rtl/Streams.h"
#include "host/vcl/Graphics.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    try {
        host::TMemoryStream ms;
        ms.WriteBuffer(Data, static_cast<int64_t>(Size));
        ms.SetPosition(0);
        host::TMetafile mf;
        mf.LoadFromStream(&ms);
        // Whatever loads must replay; a small target keeps the pace.
        host::TBitmap target;
        target.SetSize(16, 16);
        target.GetCanvas()->StretchDraw(host::Rect(0, 0, 16, 16), &mf);
        host::TMemoryStream out;
        mf.SaveToStream(&out);
    } catch (const host::Exception&) {
    }
    return 0;
}
