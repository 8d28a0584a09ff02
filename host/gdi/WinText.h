#pragma once
// The Win32-style text entry points: fonts, metrics, text output, DrawText,
// and writing what a DC shows to a PNG file.
#include "host/gdi/WinTypes.h"

#include <string>

namespace host {

struct TImageData;

// ---- Fonts ----
HFONT CreateFontIndirect(const LOGFONT* lf);
HFONT CreateFontIndirectA(const LOGFONTA* lf);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                 DWORD quality, DWORD pitchAndFamily, LPCSTR faceName);
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR faceName);

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* tm);
BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* tm);
// Unrotated logical extent: width of the characters (plus the DC's character
// extra) and the font's cell height.
BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int count, SIZE* size);
BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, SIZE* size);
BOOL GetTextExtentPoint(HDC hdc, LPCSTR text, int count, SIZE* size);
// How many characters fit in maxExtent (when fit is given) and the extent up
// to the end of each character (when dx is given, one per character).
BOOL GetTextExtentExPoint(HDC hdc, LPCSTR text, int count, int maxExtent, INT* fit, INT* dx, SIZE* size);
BOOL GetCharWidth32(HDC hdc, UINT first, UINT last, INT* widths);
BOOL GetCharWidth32A(HDC hdc, UINT first, UINT last, INT* widths);
BOOL GetCharWidth(HDC hdc, UINT first, UINT last, INT* widths);
// Copies the face name (at most count bytes with the terminator) and returns
// the bytes copied; with a null buffer returns the size needed.
int GetTextFace(HDC hdc, int count, LPSTR faceName);
int GetTextFaceA(HDC hdc, int count, LPSTR faceName);

// ---- Text output ----
constexpr UINT ETO_OPAQUE = 0x0002, ETO_CLIPPED = 0x0004, ETO_GLYPH_INDEX = 0x0010, ETO_RTLREADING = 0x0080,
               ETO_IGNORELANGUAGE = 0x1000;

// Counts below zero mean a zero-terminated string.
BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int count);
BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count);
BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const INT* dx);
BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const INT* dx);

constexpr UINT DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
               DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40,
               DT_TABSTOP = 0x80, DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400,
               DT_NOPREFIX = 0x800, DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000,
               DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000, DT_RTLREADING = 0x20000,
               DT_WORD_ELLIPSIS = 0x40000, DT_NOFULLWIDTHCHARBREAK = 0x80000, DT_HIDEPREFIX = 0x100000,
               DT_PREFIXONLY = 0x200000;

// Formats text in rect and returns its height (with DT_VCENTER or DT_BOTTOM:
// the offset from rect->top to the bottom of the text). DT_CALCRECT only
// measures: rect's right and bottom grow or shrink to fit the text.
int DrawText(HDC hdc, LPCSTR text, int count, RECT* rect, UINT format);
int DrawTextA(HDC hdc, LPCSTR text, int count, RECT* rect, UINT format);

// Tab stops are logical x positions relative to tabOrigin; none means every
// eight average character widths, one means that fixed spacing. Return
// MAKELONG(width, height).
LONG TabbedTextOut(HDC hdc, int x, int y, LPCSTR text, int count, int tabCount, const INT* tabStops,
                   int tabOrigin);
LONG TabbedTextOutA(HDC hdc, int x, int y, LPCSTR text, int count, int tabCount, const INT* tabStops,
                    int tabOrigin);
DWORD GetTabbedTextExtent(HDC hdc, LPCSTR text, int count, int tabCount, const INT* tabStops);
DWORD GetTabbedTextExtentA(HDC hdc, LPCSTR text, int count, int tabCount, const INT* tabStops);

// ---- Looking at what was drawn ----
// The pixels of a bitmap, or of the bitmap or surface a DC draws on.
TImageData ImageFromBitmap(HBITMAP bitmap);
TImageData ImageFromDC(HDC hdc);
// A 32-bit bitmap holding the image (alpha is dropped: bitmaps are opaque).
HBITMAP CreateBitmapFromImage(const TImageData& image);
// Write PNG files; raise EFCreateError / EInvalidGraphicOperation on failure.
void SaveBitmapToPng(HBITMAP bitmap, const std::string& fileName);
void SaveDCToPng(HDC hdc, const std::string& fileName);

}  // namespace host
