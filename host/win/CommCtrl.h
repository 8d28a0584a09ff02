#pragma once
// Common controls of the window system: image lists. An image list holds
// images of one size, each with an optional mask (white = transparent), and
// draws them onto any device context.
#include "host/gdi/WinGdi.h"

namespace host {

struct TImageListData;
using HIMAGELIST = TImageListData*;

constexpr COLORREF CLR_NONE = 0xFFFFFFFF, CLR_DEFAULT = 0xFF000000;

// Creation flags: ILC_MASK keeps a mask per image; the colour depth flags are
// accepted for compatibility (images are 32-bit in memory).
constexpr UINT ILC_COLOR = 0x0000, ILC_MASK = 0x0001, ILC_COLOR4 = 0x0004, ILC_COLOR8 = 0x0008,
               ILC_COLOR16 = 0x0010, ILC_COLOR24 = 0x0018, ILC_COLOR32 = 0x0020,
               ILC_COLORDDB = 0x00FE;

constexpr UINT ILD_NORMAL = 0x0000, ILD_TRANSPARENT = 0x0001, ILD_BLEND25 = 0x0002,
               ILD_FOCUS = 0x0002, ILD_BLEND50 = 0x0004, ILD_SELECTED = 0x0004,
               ILD_BLEND = 0x0004, ILD_MASK = 0x0010, ILD_IMAGE = 0x0020;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST himl);
int ImageList_GetImageCount(HIMAGELIST himl);
// Grows or shrinks the list; new images are black and fully transparent.
BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT count);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
// Changes the image size and empties the list.
BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy);
COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk);
COLORREF ImageList_GetBkColor(HIMAGELIST himl);

// Adds the images side by side in image (its width div the image width of
// them); mask may be nullptr. Returns the index of the first, or -1.
int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask);
// The mask comes from the pixels of crMask, which turn black in the image.
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF crMask);
BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP image, HBITMAP mask);
// i = -1 removes every image.
BOOL ImageList_Remove(HIMAGELIST himl, int i);
struct IMAGEINFO {
    HBITMAP hbmImage = nullptr;  // the list's image strip, owned by the list
    HBITMAP hbmMask = nullptr;   // its mask strip (white = transparent), or nullptr
    int Unused1 = 0;
    int Unused2 = 0;
    RECT rcImage{};              // where image i lies in both strips
};
BOOL ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* pImageInfo);

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle);
// dx, dy of 0 draw the whole image; smaller values draw its top-left part.
// rgbBk: CLR_NONE draws through the mask, CLR_DEFAULT uses the list's
// background colour. rgbFg is the blend colour of ILD_BLEND25/50: CLR_DEFAULT
// is the highlight colour, CLR_NONE blends with the destination.
BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy,
                      COLORREF rgbBk, COLORREF rgbFg, UINT fStyle);

} // namespace host
