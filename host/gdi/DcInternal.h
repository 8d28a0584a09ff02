#pragma once
// Internal interface of the rasterizer for the other parts of host/gdi (the
// text engine) and for the window system. Not for use above host/.
//
// Surfaces (Raster.h): 32-bit pixels 0x00RRGGBB in a uint32_t, i.e. the
//   bytes B, G, R, X of a 32-bit DIB. Row(y) gives row y; Stride may be
//   negative (bottom-up DIB sections). Monochrome surfaces hold only 0 and
//   0xFFFFFF. ColorToPixel/PixelToColor convert from/to COLORREF;
//   RealizeColor(c, mono) gives the pixel a colour becomes on a surface.
//
// Objects (Objects.h): every GDI object derives from GdiObject and is
//   registered with AddObject, which returns its handle. FindObject(h) and
//   FindObjectAs<T>(h, OBJ_x) look a handle up (null if stale). The font
//   engine derives its font object from GdiObject with type OBJ_FONT and
//   overrides GetObjectData (GetObject(hfont, ...) dispatches to it; with
//   out == nullptr it must return the size). SelectObject, DeleteObject,
//   GetObject and GetCurrentObject(hdc, OBJ_FONT) handle fonts generically:
//   SelectObject stores the handle in Dc::S.Font and returns the previous
//   one; DeleteObject of a selected font defers the free until it is
//   deselected. Stock fonts come from RegisterStockFontFactory: call it once
//   (e.g. from a static initializer in the font engine); GetStockObject asks
//   the factory once per stock index and keeps the result forever. New DCs
//   select GetStockObject(SYSTEM_FONT).
//
// Device contexts (Dc.h): FindDc(hdc) gives the Dc. Useful state:
//   dc->S.Font, S.TextColor, S.BkColor, S.BkMode, S.TextAlign, S.CurPos
//   (logical), S.WindowOrg, S.ViewportOrg, S.TextCharExtra; dc->ToDevice(p)
//   maps logical to device coordinates. dc->Target is the surface,
//   dc->DeviceOrigin the surface position of device (0, 0), and
//   dc->EffectiveClip() the clip in surface coordinates.
//
// Window system: CreateSurfaceDc makes a DC (OBJ_DC, no bitmap selection)
//   drawing on a surface the caller owns, e.g. the screen. Its device (0, 0)
//   sits at 'origin' on the surface and it draws only inside 'visible'
//   (surface coordinates; none = the whole surface). SetSurfaceDcArea moves
//   or re-clips it later (e.g. when the window moves or is uncovered);
//   DestroySurfaceDc frees it (DeleteDC refuses DCs it did not create).
//
// Painting text: the helpers below take DEVICE coordinates, add the device
// origin and clip. Text ignores the ROP2 mode, so they copy the colour.
#include "host/gdi/Dc.h"
#include "host/gdi/Objects.h"
#include "host/gdi/Raster.h"
#include "host/gdi/Region.h"

#include <cstdint>

namespace host::gdi {

HDC CreateSurfaceDc(Surface* surface, POINT origin, std::optional<Region> visible);
void SetSurfaceDcArea(HDC hdc, POINT origin, std::optional<Region> visible);
void DestroySurfaceDc(HDC hdc);

// Paints spans (device coordinates, X2 exclusive) in colour.
void PaintSpans(Dc& dc, const Span* spans, size_t count, COLORREF colour);

// Paints an opaque rectangle (device coordinates, right/bottom exclusive) in
// colour, e.g. the background of opaque text.
void PaintSolidRect(Dc& dc, const RECT& r, COLORREF colour);

// Blends colour over a coverage mask: width x height bytes, 0 = untouched,
// 255 = colour, pitch bytes between rows; (x, y) is the device position of
// the mask's top-left byte. On monochrome surfaces coverage >= 128 paints.
void PaintCoverage(Dc& dc, int x, int y, int width, int height, const uint8_t* coverage,
                   int pitch, COLORREF colour);

}  // namespace host::gdi
