#pragma once
// The font kind of GDI object: the logical font as created, and its shared
// realisation.
#include "host/gdi/Font.h"
#include "host/gdi/Objects.h"

namespace host::gdi {

class FontObject : public GdiObject {
public:
    explicit FontObject(const LOGFONT& Log);
    int GetObjectData(int cb, void* out) const override;

    LOGFONT Log;
    std::shared_ptr<TFontInstance> Instance;
};

TFontRequest RequestFromLogFont(const LOGFONT& Log);
// The realised font selected in a DC (the stock system font when none is).
TFontInstance* SelectedFont(HDC hdc);
FontObject* SelectedFontObject(HDC hdc);

}  // namespace host::gdi
