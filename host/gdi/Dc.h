#pragma once
// A device context: attribute state plus the surface it draws on. Memory DCs
// draw on their selected bitmap; a window DC is the same object over the
// screen surface with a device origin and a visible region.
#include "host/gdi/Objects.h"

#include <optional>
#include <vector>

namespace host::gdi {

// What SaveDC keeps and RestoreDC brings back.
struct DcState {
    HPEN Pen = nullptr;
    HBRUSH Brush = nullptr;
    HFONT Font = nullptr;
    HBITMAP Bitmap = nullptr;
    COLORREF TextColor = 0x000000;
    COLORREF BkColor = 0xFFFFFF;
    COLORREF DcBrushColor = 0xFFFFFF;
    COLORREF DcPenColor = 0x000000;
    int BkMode = OPAQUE;
    int Rop2 = R2_COPYPEN;
    int PolyFillMode = ALTERNATE;
    int StretchMode = BLACKONWHITE;
    int ArcDirection = AD_COUNTERCLOCKWISE;
    int MapMode = MM_TEXT;
    int TextCharExtra = 0;
    UINT TextAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    POINT CurPos;
    POINT BrushOrg;
    POINT WindowOrg;
    POINT ViewportOrg;
    std::optional<Region> Clip;  // device coordinates; none = no clipping region
};

// A cosmetic or geometric pen as drawing uses it.
struct RealPen {
    int Style = PS_SOLID;  // PS_SOLID .. PS_INSIDEFRAME
    int Width = 1;         // 0 is treated as 1
    uint32_t Pixel = 0;
    bool Geometric = false;
    int EndCap = PS_ENDCAP_ROUND;
    bool IsNull() const { return Style == PS_NULL; }
};

// A brush realised for the current surface and DC colours.
struct RealBrush {
    bool Null = false;
    bool Patterned = false;
    uint32_t Pixel = 0;
    uint32_t Cells[64] = {};
    bool Opaque[64] = {};
};

class Dc : public GdiObject {
public:
    explicit Dc(DWORD type = OBJ_MEMDC);
    ~Dc() override;

    DcState S;
    std::vector<DcState> Saved;

    // The surface drawn on. Memory DCs point at their bitmap's surface.
    Surface* Target = nullptr;
    // Surface position of device (0, 0) and the part of the surface this DC
    // may touch (surface coordinates); set by the window system for window DCs.
    POINT DeviceOrigin;
    std::optional<Region> VisRgn;  // none: the whole surface
    // Screen DCs have no selectable bitmap.
    bool OwnsSurface = false;

    RealPen Pen;
    RealBrush Brush;

    // Logical -> device (MM_TEXT: translation only) and device -> surface.
    POINT ToDevice(POINT p) const
    {
        return POINT{p.x - S.WindowOrg.x + S.ViewportOrg.x, p.y - S.WindowOrg.y + S.ViewportOrg.y};
    }
    POINT ToLogical(POINT p) const
    {
        return POINT{p.x + S.WindowOrg.x - S.ViewportOrg.x, p.y + S.WindowOrg.y - S.ViewportOrg.y};
    }
    // Logical -> surface offset.
    int OffsetX() const { return -S.WindowOrg.x + S.ViewportOrg.x + DeviceOrigin.x; }
    int OffsetY() const { return -S.WindowOrg.y + S.ViewportOrg.y + DeviceOrigin.y; }

    // Clip in surface coordinates: clipping region ∩ visible region ∩ surface.
    const Region& EffectiveClip();
    void InvalidateClip() { FClipValid = false; }

    // Re-derive the realised pen/brush after a selection or colour change.
    void RealizePen();
    void RealizeBrush();

    Paint PenPaint() const;
    Paint BrushPaint() const;  // through ROP2
    Paint BrushPaintRop(int rop2) const;
    bool Monochrome() const { return Target && Target->Monochrome; }

private:
    Region FClip;
    bool FClipValid = false;
};

// The DC behind h (memory, window or screen DC), or null.
Dc* FindDc(HDC h);
// Re-derives target, clip, pen and brush from S (after RestoreDC, a bitmap
// change, or a window system change to the target or visible region).
void RealizeAll(Dc& dc);
// The paint of another brush as realised in this DC (colours, origin).
// False when h is not a brush.
bool BrushPaintOf(Dc& dc, HBRUSH h, int rop2, Paint& out);
void FreeDc(HDC hdc, Dc& dc);

}  // namespace host::gdi
