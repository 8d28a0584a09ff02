#include "host/gdi/Objects.h"

#include "host/gdi/Dc.h"
#include "host/gdi/WinGdi.h"

#include <cstring>
#include <unordered_map>

namespace host::gdi {

namespace {

// Handles are never reused: a stale handle finds nothing.
struct HandleTable {
    std::unordered_map<uintptr_t, std::unique_ptr<GdiObject>> Objects;
    std::unordered_map<const GdiObject*, uintptr_t> Handles;
    uintptr_t Next = 0x10000;
};

HandleTable& Table()
{
    static HandleTable* t = new HandleTable;  // outlives static destructors
    return *t;
}

StockFontFactory gFontFactory = nullptr;
HGDIOBJ gStock[STOCK_LAST + 1] = {};

template <class T>
int CopyOut(const T& value, int cb, void* out)
{
    if (!out)
        return int(sizeof(T));
    if (cb < int(sizeof(T)))
        return 0;
    std::memcpy(out, &value, sizeof(T));
    return int(sizeof(T));
}

}  // namespace

int GdiObject::GetObjectData(int, void*) const { return 0; }

int PenObject::GetObjectData(int cb, void* out) const
{
    if (!Extended)
        return CopyOut(Log, cb, out);
    EXTLOGPEN e;
    e.elpPenStyle = ExtStyle;
    e.elpWidth = DWORD(Log.lopnWidth.x);
    e.elpBrushStyle = BS_SOLID;
    e.elpColor = Log.lopnColor;
    return CopyOut(e, cb, out);
}

int BrushObject::GetObjectData(int cb, void* out) const { return CopyOut(Log, cb, out); }

int BitmapObject::GetObjectData(int cb, void* out) const
{
    BITMAP bm;
    bm.bmWidth = Surf.Width;
    bm.bmHeight = Surf.Height;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = WORD(BitsPixel);
    bm.bmWidthBytes = BitsPixel == 1 ? ((Surf.Width + 15) / 16) * 2 : Surf.Width * 4;
    if (!DibSection || cb < int(sizeof(DIBSECTION)) || !out)
        return CopyOut(bm, cb, out);
    DIBSECTION ds;
    bm.bmBits = TopDown ? Surf.Bits : Surf.Row(Surf.Height - 1);
    ds.dsBm = bm;
    ds.dsBmih.biWidth = Surf.Width;
    ds.dsBmih.biHeight = TopDown ? -Surf.Height : Surf.Height;
    ds.dsBmih.biBitCount = 32;
    ds.dsBmih.biSizeImage = DWORD(Surf.Width * Surf.Height * 4);
    return CopyOut(ds, cb, out);
}

HGDIOBJ AddObject(std::unique_ptr<GdiObject> obj)
{
    HandleTable& t = Table();
    uintptr_t h = t.Next;
    t.Next += 4;
    t.Handles[obj.get()] = h;
    t.Objects[h] = std::move(obj);
    return reinterpret_cast<HGDIOBJ>(h);
}

GdiObject* FindObject(HGDIOBJ h)
{
    HandleTable& t = Table();
    auto it = t.Objects.find(reinterpret_cast<uintptr_t>(h));
    return it == t.Objects.end() ? nullptr : it->second.get();
}

void RemoveObject(HGDIOBJ h)
{
    HandleTable& t = Table();
    auto it = t.Objects.find(reinterpret_cast<uintptr_t>(h));
    if (it == t.Objects.end())
        return;
    std::unique_ptr<GdiObject> doomed = std::move(it->second);
    t.Objects.erase(it);
    t.Handles.erase(doomed.get());
}

void AddSelection(HGDIOBJ h)
{
    if (GdiObject* o = FindObject(h))
        ++o->SelectCount;
}

void ReleaseSelection(HGDIOBJ h)
{
    GdiObject* o = FindObject(h);
    if (!o || o->SelectCount == 0)
        return;
    if (--o->SelectCount == 0 && o->DeletePending)
        RemoveObject(h);
}

void RegisterStockFontFactory(StockFontFactory factory) { gFontFactory = factory; }

BitmapObject* MakeBitmap(int width, int height, bool monochrome)
{
    auto bmp = std::make_unique<BitmapObject>();
    bmp->Storage.assign(size_t(width) * size_t(height), 0);
    bmp->Surf = Surface{bmp->Storage.data(), width, height, width, monochrome};
    bmp->BitsPixel = monochrome ? 1 : 32;
    return bmp.release();
}

namespace {

HGDIOBJ MakeStock(std::unique_ptr<GdiObject> obj)
{
    obj->Stock = true;
    return AddObject(std::move(obj));
}

HGDIOBJ StockBrush(UINT style, COLORREF c)
{
    auto b = std::make_unique<BrushObject>();
    b->Log.lbStyle = style;
    b->Log.lbColor = c;
    return MakeStock(std::move(b));
}

HGDIOBJ StockPen(int style, COLORREF c)
{
    auto p = std::make_unique<PenObject>();
    p->Log.lopnStyle = UINT(style);
    p->Log.lopnWidth.x = 0;
    p->Log.lopnColor = c;
    return MakeStock(std::move(p));
}

bool IsFontIndex(int i)
{
    return (i >= OEM_FIXED_FONT && i <= DEVICE_DEFAULT_FONT) || i == SYSTEM_FIXED_FONT ||
           i == DEFAULT_GUI_FONT;
}

HGDIOBJ CreateStock(int i)
{
    switch (i) {
    case WHITE_BRUSH: return StockBrush(BS_SOLID, RGB(255, 255, 255));
    case LTGRAY_BRUSH: return StockBrush(BS_SOLID, RGB(192, 192, 192));
    case GRAY_BRUSH: return StockBrush(BS_SOLID, RGB(128, 128, 128));
    case DKGRAY_BRUSH: return StockBrush(BS_SOLID, RGB(64, 64, 64));
    case BLACK_BRUSH: return StockBrush(BS_SOLID, RGB(0, 0, 0));
    case NULL_BRUSH: return StockBrush(BS_NULL, 0);
    case DC_BRUSH: return StockBrush(BS_SOLID, RGB(255, 255, 255));
    case WHITE_PEN: return StockPen(PS_SOLID, RGB(255, 255, 255));
    case BLACK_PEN: return StockPen(PS_SOLID, RGB(0, 0, 0));
    case NULL_PEN: return StockPen(PS_NULL, 0);
    case DC_PEN: return StockPen(PS_SOLID, RGB(0, 0, 0));
    case DEFAULT_PALETTE: return MakeStock(std::make_unique<GdiObject>(OBJ_PAL));
    default: break;
    }
    if (IsFontIndex(i) && gFontFactory) {
        HGDIOBJ f = gFontFactory(i);
        if (GdiObject* o = FindObject(f))
            o->Stock = true;
        return f;
    }
    return nullptr;
}

}  // namespace

HBITMAP DefaultBitmap()
{
    static HBITMAP h = [] {
        std::unique_ptr<BitmapObject> b(MakeBitmap(1, 1, true));
        b->Surf.Bits[0] = 0;
        b->Stock = true;
        return static_cast<HBITMAP>(AddObject(std::move(b)));
    }();
    return h;
}

}  // namespace host::gdi

namespace host {

using namespace gdi;

HGDIOBJ GetStockObject(int index)
{
    if (index < 0 || index > STOCK_LAST)
        return nullptr;
    if (!gStock[index])
        gStock[index] = CreateStock(index);
    return gStock[index];
}

DWORD GetObjectType(HGDIOBJ h)
{
    GdiObject* o = FindObject(h);
    return o ? o->Type() : 0;
}

int GetObject(HGDIOBJ h, int cb, void* out)
{
    GdiObject* o = FindObject(h);
    if (!o || cb < 0)
        return 0;
    return o->GetObjectData(cb, out);
}

int GetObjectA(HGDIOBJ h, int cb, void* out) { return GetObject(h, cb, out); }

// Stock objects survive DeleteObject; objects still selected are freed when
// the last DC lets go of them, except bitmaps, which Win32 refuses to delete.
BOOL DeleteObject(HGDIOBJ h)
{
    GdiObject* o = FindObject(h);
    if (!o)
        return FALSE;
    if (o->Stock)
        return TRUE;
    if (o->Type() == OBJ_DC || o->Type() == OBJ_MEMDC)
        return FALSE;
    if (o->SelectCount > 0) {
        if (o->Type() == OBJ_BITMAP)
            return FALSE;
        o->DeletePending = true;
        return TRUE;
    }
    RemoveObject(h);
    return TRUE;
}

HPEN CreatePen(int style, int width, COLORREF colour)
{
    if ((style & PS_STYLE_MASK) > PS_INSIDEFRAME)
        return nullptr;
    auto p = std::make_unique<PenObject>();
    p->Log.lopnStyle = UINT(style & PS_STYLE_MASK);
    p->Log.lopnWidth.x = width < 0 ? 0 : width;
    p->Log.lopnColor = colour;
    return static_cast<HPEN>(AddObject(std::move(p)));
}

HPEN CreatePenIndirect(const LOGPEN* lp)
{
    return lp ? CreatePen(int(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor) : nullptr;
}

// Only solid-coloured pens; user styles fall back to solid.
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* lb, DWORD, const DWORD*)
{
    if (!lb || lb->lbStyle != BS_SOLID)
        return nullptr;
    int s = int(style & PS_STYLE_MASK);
    if (s == PS_USERSTYLE || s == PS_ALTERNATE)
        s = (s == PS_ALTERNATE) ? PS_DOT : PS_SOLID;
    if (s > PS_INSIDEFRAME)
        return nullptr;
    auto p = std::make_unique<PenObject>();
    p->Log.lopnStyle = UINT(s);
    p->Log.lopnWidth.x = LONG(width);
    p->Log.lopnColor = lb->lbColor;
    p->ExtStyle = style;
    p->Extended = true;
    return static_cast<HPEN>(AddObject(std::move(p)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb)
{
    if (!lb)
        return nullptr;
    switch (lb->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(lb->lbColor);
    case BS_NULL: {
        auto b = std::make_unique<BrushObject>();
        b->Log.lbStyle = BS_NULL;
        return static_cast<HBRUSH>(AddObject(std::move(b)));
    }
    case BS_HATCHED: return CreateHatchBrush(int(lb->lbHatch), lb->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
    default: return nullptr;
    }
}

HBRUSH CreateSolidBrush(COLORREF colour)
{
    auto b = std::make_unique<BrushObject>();
    b->Log.lbStyle = BS_SOLID;
    b->Log.lbColor = colour & 0xFFFFFF;
    return static_cast<HBRUSH>(AddObject(std::move(b)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF colour)
{
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return nullptr;
    auto b = std::make_unique<BrushObject>();
    b->Log.lbStyle = BS_HATCHED;
    b->Log.lbColor = colour & 0xFFFFFF;
    b->Log.lbHatch = ULONG_PTR(hatch);
    return static_cast<HBRUSH>(AddObject(std::move(b)));
}

// The brush copies the top-left 8x8 pixels, so the bitmap may be deleted
// afterwards; smaller bitmaps repeat.
HBRUSH CreatePatternBrush(HBITMAP bitmap)
{
    BitmapObject* bmp = FindObjectAs<BitmapObject>(bitmap, OBJ_BITMAP);
    if (!bmp || bmp->Surf.Width <= 0 || bmp->Surf.Height <= 0)
        return nullptr;
    auto b = std::make_unique<BrushObject>();
    b->Log.lbStyle = BS_PATTERN;
    b->Log.lbHatch = reinterpret_cast<ULONG_PTR>(bitmap);
    b->MonoPattern = bmp->BitsPixel == 1;
    b->PatternBitmap = bitmap;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            b->Cells[y * 8 + x] = bmp->Surf.Row(y % bmp->Surf.Height)[x % bmp->Surf.Width];
    return static_cast<HBRUSH>(AddObject(std::move(b)));
}

HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL)
{
    if (!FindDc(hdc) || GetObjectType(palette) != OBJ_PAL)
        return nullptr;
    return static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
}

UINT RealizePalette(HDC hdc) { return FindDc(hdc) ? 0 : GDI_ERROR; }

// The colour a DC would actually paint: itself on colour surfaces, black or
// white on monochrome ones.
COLORREF GetNearestColor(HDC hdc, COLORREF colour)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return CLR_INVALID;
    return PixelToColor(RealizeColor(colour & 0xFFFFFF, dc->Monochrome()));
}

}  // namespace host
