#include "host/gdi/Dc.h"
#include "host/gdi/DcInternal.h"
#include "host/gdi/PrintDevice.h"

#include "host/gdi/WinGdi.h"

namespace host::gdi {

namespace {

const uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // HS_HORIZONTAL
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // HS_BDIAGONAL
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // HS_DIAGCROSS
};

}  // namespace

const uint8_t* HatchRows(int hatch) { return kHatches[hatch]; }

Dc::Dc(DWORD type) : GdiObject(type) {}

Dc::~Dc() = default;

Dc* FindDc(HDC h)
{
    GdiObject* o = FindObject(h);
    if (!o || (o->Type() != OBJ_DC && o->Type() != OBJ_MEMDC))
        return nullptr;
    return static_cast<Dc*>(o);
}

const Region& Dc::EffectiveClip()
{
    if (FClipValid)
        return FClip;
    RECT bounds = Target ? Target->Bounds() : RECT{};
    FClip = VisRgn ? Region::Combine(*VisRgn, Region(bounds), RGN_AND) : Region(bounds);
    if (S.Clip) {
        Region c = *S.Clip;
        c.Offset(DeviceOrigin.x, DeviceOrigin.y);
        FClip = Region::Combine(FClip, c, RGN_AND);
    }
    FClipValid = true;
    return FClip;
}

void Dc::RealizePen()
{
    Pen = RealPen{};
    PenObject* p = FindObjectAs<PenObject>(S.Pen, OBJ_PEN);
    if (!p) {
        Pen.Style = PS_NULL;
        return;
    }
    COLORREF c = S.Pen == GetStockObject(DC_PEN) ? S.DcPenColor : p->Log.lopnColor;
    Pen.Style = int(p->Log.lopnStyle);
    Pen.Width = p->Log.lopnWidth.x < 1 ? 1 : p->Log.lopnWidth.x;
    Pen.Pixel = RealizeColor(c, Monochrome());
    Pen.Geometric = (p->ExtStyle & PS_TYPE_MASK) == PS_GEOMETRIC;
    Pen.EndCap = int(p->ExtStyle & PS_ENDCAP_MASK);
    // Dashes exist only for one-pixel pens; wider styled pens draw solid.
    bool styled = Pen.Style >= PS_DASH && Pen.Style <= PS_DASHDOTDOT;
    if (styled && Pen.Width > 1)
        Pen.Style = PS_SOLID;
}

void Dc::RealizeBrush()
{
    Brush = RealBrush{};
    BrushObject* b = FindObjectAs<BrushObject>(S.Brush, OBJ_BRUSH);
    if (!b || b->Log.lbStyle == BS_NULL) {
        Brush.Null = true;
        return;
    }
    bool mono = Monochrome();
    if (b->Log.lbStyle == BS_SOLID) {
        COLORREF c = S.Brush == GetStockObject(DC_BRUSH) ? S.DcBrushColor : b->Log.lbColor;
        Brush.Pixel = RealizeColor(c, mono);
        return;
    }
    Brush.Patterned = true;
    if (b->Log.lbStyle == BS_HATCHED) {
        const uint8_t* rows = HatchRows(int(b->Log.lbHatch));
        uint32_t fg = RealizeColor(b->Log.lbColor, mono), bg = RealizeColor(S.BkColor, mono);
        for (int i = 0; i < 64; ++i) {
            bool on = (rows[i / 8] >> (7 - i % 8)) & 1;
            Brush.Cells[i] = on ? fg : bg;
            Brush.Opaque[i] = on || S.BkMode == OPAQUE;
        }
        return;
    }
    uint32_t fg = RealizeColor(S.TextColor, mono), bg = RealizeColor(S.BkColor, mono);
    for (int i = 0; i < 64; ++i) {
        uint32_t c = b->Cells[i];
        if (b->MonoPattern)
            c = c ? bg : fg;
        else if (mono)
            c = RealizeColor(PixelToColor(c), true);
        Brush.Cells[i] = c;
        Brush.Opaque[i] = true;
    }
}

Paint Dc::PenPaint() const { return Paint::Solid(Pen.Pixel, S.Rop2); }

Paint Dc::BrushPaint() const { return BrushPaintRop(S.Rop2); }

Paint Dc::BrushPaintRop(int rop2) const
{
    if (Brush.Null)
        return Paint::Solid(0, R2_NOP);
    if (!Brush.Patterned)
        return Paint::Solid(Brush.Pixel, rop2);
    return Paint::Pattern(Brush.Cells, Brush.Opaque, rop2, S.BrushOrg.x + DeviceOrigin.x,
                          S.BrushOrg.y + DeviceOrigin.y);
}

namespace {

void ForEachHandle(const DcState& s, void (*f)(HGDIOBJ))
{
    f(s.Pen);
    f(s.Brush);
    f(s.Font);
    f(s.Bitmap);
}

}  // namespace

// Brings pen, brush and surface in line with S after a restore or a bitmap change.
void RealizeAll(Dc& dc)
{
    if (dc.S.Bitmap) {
        if (BitmapObject* b = FindObjectAs<BitmapObject>(dc.S.Bitmap, OBJ_BITMAP))
            dc.Target = &b->Surf;
    }
    dc.InvalidateClip();
    dc.RealizePen();
    dc.RealizeBrush();
}

bool BrushPaintOf(Dc& dc, HBRUSH h, int rop2, Paint& out)
{
    BrushObject* b = FindObjectAs<BrushObject>(h, OBJ_BRUSH);
    if (!b)
        return false;
    if (b->Log.lbStyle == BS_SOLID && h != GetStockObject(DC_BRUSH)) {
        out = Paint::Solid(RealizeColor(b->Log.lbColor, dc.Monochrome()), rop2);
        return true;
    }
    HBRUSH saved = dc.S.Brush;
    RealBrush real = dc.Brush;
    dc.S.Brush = h;
    dc.RealizeBrush();
    out = dc.BrushPaintRop(rop2);
    dc.S.Brush = saved;
    dc.Brush = real;
    return true;
}

}  // namespace host::gdi

namespace host {

using namespace gdi;

}  // namespace host

namespace host::gdi {

namespace {

HDC NewDc(DWORD type, Surface* surface, HBITMAP bitmap)
{
    auto dc = std::make_unique<Dc>(type);
    dc->S.Pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    dc->S.Brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    dc->S.Font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    dc->S.Bitmap = bitmap;
    dc->Target = surface;
    Dc* raw = dc.get();
    HDC h = static_cast<HDC>(AddObject(std::move(dc)));
    ForEachHandle(raw->S, AddSelection);
    RealizeAll(*raw);
    return h;
}

}  // namespace

void FreeDc(HDC hdc, Dc& dc)
{
    if (BitmapObject* b = FindObjectAs<BitmapObject>(dc.S.Bitmap, OBJ_BITMAP))
        if (b->SelectedIn == hdc)
            b->SelectedIn = nullptr;
    ForEachHandle(dc.S, ReleaseSelection);
    for (const DcState& s : dc.Saved)
        ForEachHandle(s, ReleaseSelection);
    RemoveObject(hdc);
}

HDC CreateSurfaceDc(Surface* surface, POINT origin, std::optional<Region> visible)
{
    HDC h = NewDc(OBJ_DC, surface, nullptr);
    SetSurfaceDcArea(h, origin, std::move(visible));
    return h;
}

void SetSurfaceDcArea(HDC hdc, POINT origin, std::optional<Region> visible)
{
    Dc* dc = FindDc(hdc);
    if (!dc || dc->Type() != OBJ_DC)
        return;
    dc->DeviceOrigin = origin;
    dc->VisRgn = std::move(visible);
    dc->InvalidateClip();
}

void DestroySurfaceDc(HDC hdc)
{
    Dc* dc = FindDc(hdc);
    if (dc && dc->Type() == OBJ_DC)
        FreeDc(hdc, *dc);
}

}  // namespace host::gdi

namespace host {

HDC CreateCompatibleDC(HDC)
{
    return NewDc(OBJ_MEMDC, nullptr, DefaultBitmap());
}

// Window and screen DCs belong to the window system.
BOOL DeleteDC(HDC hdc)
{
    if (DeletePrinterDc(hdc))
        return TRUE;
    Dc* dc = FindDc(hdc);
    if (!dc || dc->Stock || dc->Type() != OBJ_MEMDC)
        return FALSE;
    FreeDc(hdc, *dc);
    return TRUE;
}

namespace {

HGDIOBJ SelectBitmap(HDC hdc, Dc& dc, HGDIOBJ h, BitmapObject& bmp)
{
    if (dc.Type() != OBJ_MEMDC)
        return nullptr;
    if (bmp.SelectedIn && bmp.SelectedIn != hdc && !bmp.Stock)
        return nullptr;
    HGDIOBJ old = dc.S.Bitmap;
    if (BitmapObject* prev = FindObjectAs<BitmapObject>(old, OBJ_BITMAP))
        if (prev->SelectedIn == hdc)
            prev->SelectedIn = nullptr;
    if (!bmp.Stock)
        bmp.SelectedIn = hdc;
    dc.S.Bitmap = static_cast<HBITMAP>(h);
    dc.Target = &bmp.Surf;
    AddSelection(h);
    ReleaseSelection(old);
    RealizeAll(dc);
    return old;
}

template <class H>
HGDIOBJ Swap(H& slot, HGDIOBJ h)
{
    HGDIOBJ old = slot;
    slot = static_cast<H>(h);
    AddSelection(h);
    ReleaseSelection(old);
    return old;
}

}  // namespace

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h)
{
    Dc* dc = FindDc(hdc);
    GdiObject* o = FindObject(h);
    if (!dc || !o)
        return nullptr;
    switch (o->Type()) {
    case OBJ_PEN: {
        HGDIOBJ old = Swap(dc->S.Pen, h);
        dc->RealizePen();
        return old;
    }
    case OBJ_BRUSH: {
        HGDIOBJ old = Swap(dc->S.Brush, h);
        dc->RealizeBrush();
        return old;
    }
    case OBJ_FONT: return Swap(dc->S.Font, h);
    case OBJ_BITMAP: return SelectBitmap(hdc, *dc, h, *static_cast<BitmapObject*>(o));
    case OBJ_REGION: return reinterpret_cast<HGDIOBJ>(intptr_t(SelectClipRgn(hdc, static_cast<HRGN>(h))));
    default: return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return nullptr;
    switch (type) {
    case OBJ_PEN: return dc->S.Pen;
    case OBJ_BRUSH: return dc->S.Brush;
    case OBJ_FONT: return dc->S.Font;
    case OBJ_BITMAP: return dc->S.Bitmap;
    case OBJ_PAL: return GetStockObject(DEFAULT_PALETTE);
    default: return nullptr;
    }
}

int SaveDC(HDC hdc)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return 0;
    dc->Saved.push_back(dc->S);
    ForEachHandle(dc->S, AddSelection);
    return int(dc->Saved.size());
}

// saved > 0 names a level returned by SaveDC; saved < 0 counts back from the
// most recent save (-1 = the last one).
BOOL RestoreDC(HDC hdc, int saved)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    int depth = int(dc->Saved.size());
    int level = saved < 0 ? depth + saved + 1 : saved;
    if (saved == 0 || level < 1 || level > depth)
        return FALSE;
    DcState restored = dc->Saved[size_t(level - 1)];
    HBITMAP oldBitmap = dc->S.Bitmap;
    ForEachHandle(dc->S, ReleaseSelection);
    for (int i = level; i < depth; ++i)
        ForEachHandle(dc->Saved[size_t(i)], ReleaseSelection);
    dc->Saved.resize(size_t(level - 1));
    dc->S = std::move(restored);  // keeps the selection counts of the saved copy
    if (oldBitmap != dc->S.Bitmap) {
        if (BitmapObject* b = FindObjectAs<BitmapObject>(oldBitmap, OBJ_BITMAP))
            if (b->SelectedIn == hdc)
                b->SelectedIn = nullptr;
        if (BitmapObject* b = FindObjectAs<BitmapObject>(dc->S.Bitmap, OBJ_BITMAP))
            if (!b->Stock)
                b->SelectedIn = hdc;
    }
    RealizeAll(*dc);
    return TRUE;
}

int GetDeviceCaps(HDC hdc, int index)
{
    if (int value; PrinterDeviceCaps(hdc, index, value))
        return value;
    Dc* dc = FindDc(hdc);
    int w = dc && dc->Target ? dc->Target->Width : 0;
    int h = dc && dc->Target ? dc->Target->Height : 0;
    bool mono = dc && dc->Monochrome();
    switch (index) {
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZRES: return w;
    case VERTRES: return h;
    case HORZSIZE: return w * 254 / 960;
    case VERTSIZE: return h * 254 / 960;
    case BITSPIXEL: return mono ? 1 : 32;
    case PLANES: return 1;
    case NUMCOLORS: return mono ? 2 : -1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case SIZEPALETTE:
    case NUMRESERVED: return 0;
    case COLORRES: return 24;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV |
               RC_STRETCHBLT | RC_STRETCHDIB;
    case DESKTOPHORZRES: return w;
    case DESKTOPVERTRES: return h;
    case VREFRESH: return 60;
    default: return 0;
    }
}

BOOL GdiFlush() { return TRUE; }

}  // namespace host
