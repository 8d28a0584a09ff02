#pragma once
// GDI objects and the handle table. A handle is an opaque number that the
// table maps to its object; a stale or foreign handle finds nothing instead
// of reaching freed memory.
#include "host/gdi/Raster.h"
#include "host/gdi/Region.h"
#include "host/gdi/WinTypes.h"

#include <memory>
#include <vector>

namespace host::gdi {

class GdiObject {
public:
    explicit GdiObject(DWORD type) : FType(type) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    DWORD Type() const { return FType; }  // OBJ_PEN, OBJ_FONT, ...
    // GetObject: with out == nullptr returns the size needed; otherwise copies
    // at most cb bytes and returns the bytes written (0 on failure).
    virtual int GetObjectData(int cb, void* out) const;

    bool Stock = false;
    int SelectCount = 0;         // DCs that have it selected
    bool DeletePending = false;  // DeleteObject while selected: freed on deselect

private:
    DWORD FType;
};

// Registers obj and returns its new handle.
HGDIOBJ AddObject(std::unique_ptr<GdiObject> obj);
// The object behind h, or null when h is unknown or deleted.
GdiObject* FindObject(HGDIOBJ h);
template <class T>
T* FindObjectAs(HGDIOBJ h, DWORD type)
{
    GdiObject* o = FindObject(h);
    return o && o->Type() == type ? static_cast<T*>(o) : nullptr;
}
// Frees the object now (no stock or selection checks).
void RemoveObject(HGDIOBJ h);
// Called by SelectObject/RestoreDC when a DC stops using h.
void ReleaseSelection(HGDIOBJ h);
void AddSelection(HGDIOBJ h);

// The font engine supplies the stock fonts: GetStockObject(SYSTEM_FONT, ...)
// calls the factory once per index and marks the result stock.
using StockFontFactory = HFONT (*)(int stockIndex);
void RegisterStockFontFactory(StockFontFactory factory);

class PenObject : public GdiObject {
public:
    PenObject() : GdiObject(OBJ_PEN) {}
    int GetObjectData(int cb, void* out) const override;
    LOGPEN Log;
    DWORD ExtStyle = 0;  // full ExtCreatePen style (type, caps, joins), 0 for CreatePen
    bool Extended = false;
};

class BrushObject : public GdiObject {
public:
    BrushObject() : GdiObject(OBJ_BRUSH) {}
    int GetObjectData(int cb, void* out) const override;
    LOGBRUSH Log;
    // BS_PATTERN: the 8x8 cells copied at creation; monochrome patterns take
    // the DC's text colour for 0 bits and background colour for 1 bits.
    uint32_t Cells[64] = {};
    bool MonoPattern = false;
    HBITMAP PatternBitmap = nullptr;
};

class BitmapObject : public GdiObject {
public:
    BitmapObject() : GdiObject(OBJ_BITMAP) {}
    int GetObjectData(int cb, void* out) const override;
    Surface Surf;
    std::vector<uint32_t> Storage;
    int BitsPixel = 32;   // 1 for monochrome bitmaps
    bool DibSection = false;
    // A bottom-up DIB section is the same memory seen with a negative
    // stride, so writes through the caller's pointer show at once.
    bool TopDown = true;
    HDC SelectedIn = nullptr;  // a bitmap can be in one DC at a time
};

class RegionObject : public GdiObject {
public:
    RegionObject() : GdiObject(OBJ_REGION) {}
    Region Rgn;
};

// A new, unregistered bitmap with zeroed pixels.
BitmapObject* MakeBitmap(int width, int height, bool monochrome);
// The 1x1 monochrome bitmap every new memory DC starts with.
HBITMAP DefaultBitmap();
// Hatch rows: bit 0x80 is the leftmost pixel.
const uint8_t* HatchRows(int hatch);

}  // namespace host::gdi
