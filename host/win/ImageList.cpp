// Image lists: two strips of 32-bit pixels (the images and their masks) that
// grow by whole images. Drawing composes the result in memory against what
// the destination already shows, so transparency and blending work on any DC.
#include "host/win/CommCtrl.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

namespace host {

struct TImageListData {
    int Cx = 0;
    int Cy = 0;
    UINT Flags = 0;
    int Grow = 4;
    int Count = 0;
    int Capacity = 0;
    COLORREF Bk = CLR_NONE;
    HBITMAP Image = nullptr;
    uint32_t* ImageBits = nullptr;
    HBITMAP Mask = nullptr;
    uint32_t* MaskBits = nullptr;

    bool Masked() const { return (Flags & ILC_MASK) != 0; }
    int Stride() const { return Cx * Capacity; }
    uint32_t& Pixel(int i, int x, int y) { return ImageBits[size_t(y) * Stride() + size_t(i) * Cx + x]; }
    uint32_t& MaskPixel(int i, int x, int y) { return MaskBits[size_t(y) * Stride() + size_t(i) * Cx + x]; }
};

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

std::set<HIMAGELIST>& LiveLists()
{
    static std::set<HIMAGELIST> lists;
    return lists;
}

bool Valid(HIMAGELIST himl) { return himl && LiveLists().count(himl) != 0; }

// Pixels are 0x00RRGGBB in memory; COLORREF is 0x00BBGGRR.
uint32_t ToPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

HBITMAP MakeStrip(int w, int h, uint32_t** bits)
{
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = std::max(w, 1);
    bmi.bmiHeader.biHeight = -std::max(h, 1);
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    HBITMAP b = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &p, nullptr, 0);
    *bits = static_cast<uint32_t*>(p);
    return b;
}

// Reallocates both strips for Capacity images, keeping the first Count.
bool Reserve(TImageListData* l, int capacity)
{
    if (capacity <= l->Capacity) return true;
    uint32_t* img = nullptr;
    uint32_t* msk = nullptr;
    HBITMAP image = MakeStrip(l->Cx * capacity, l->Cy, &img);
    HBITMAP mask = MakeStrip(l->Cx * capacity, l->Cy, &msk);
    if (!image || !mask) {
        if (image) DeleteObject(image);
        if (mask) DeleteObject(mask);
        return false;
    }
    size_t newStride = size_t(l->Cx) * capacity;
    std::fill(msk, msk + newStride * std::max(l->Cy, 1), kWhite);
    std::fill(img, img + newStride * std::max(l->Cy, 1), 0u);
    for (int y = 0; y < l->Cy && l->Count > 0; ++y) {
        size_t n = size_t(l->Cx) * l->Count;
        std::memcpy(img + y * newStride, l->ImageBits + size_t(y) * l->Stride(), n * 4);
        std::memcpy(msk + y * newStride, l->MaskBits + size_t(y) * l->Stride(), n * 4);
    }
    if (l->Image) DeleteObject(l->Image);
    if (l->Mask) DeleteObject(l->Mask);
    l->Image = image;
    l->ImageBits = img;
    l->Mask = mask;
    l->MaskBits = msk;
    l->Capacity = capacity;
    return true;
}

// The pixels of a bitmap, top-down 0x00RRGGBB; empty when it is no bitmap.
std::vector<uint32_t> ReadBitmap(HBITMAP bmp, int& w, int& h)
{
    BITMAP bm{};
    w = h = 0;
    if (!bmp || !GetObject(bmp, sizeof bm, &bm)) return {};
    w = bm.bmWidth;
    h = bm.bmHeight;
    std::vector<uint32_t> px(size_t(w) * h);
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    if (GetDIBits(nullptr, bmp, 0, UINT(h), px.data(), &bmi, DIB_RGB_COLORS) != h) return {};
    for (uint32_t& p : px) p &= kWhite;
    return px;
}

// Stores the cell at column Cell of the source pixels as image i. Without a
// mask source every pixel is opaque.
void StoreImage(TImageListData* l, int i, const std::vector<uint32_t>& src, int srcW, int cell,
                const std::vector<uint32_t>* mask, int maskW)
{
    for (int y = 0; y < l->Cy; ++y)
        for (int x = 0; x < l->Cx; ++x) {
            int sx = cell * l->Cx + x;
            l->Pixel(i, x, y) = src[size_t(y) * srcW + sx];
            bool transparent = false;
            if (mask && sx < maskW) transparent = (*mask)[size_t(y) * maskW + sx] != 0;
            l->MaskPixel(i, x, y) = transparent ? kWhite : 0;
        }
}

// Adds Cells images from the pixels; returns the first index or -1.
int AddPixels(TImageListData* l, const std::vector<uint32_t>& src, int w, int h,
              const std::vector<uint32_t>* mask, int maskW, int maskH)
{
    if (src.empty() || h < l->Cy || w < l->Cx || l->Cx <= 0) return -1;
    if (mask && (maskH < l->Cy || maskW < w)) mask = nullptr;
    int cells = w / l->Cx;
    if (l->Count + cells > l->Capacity &&
        !Reserve(l, std::max(l->Count + cells, l->Capacity + std::max(l->Grow, 1))))
        return -1;
    int first = l->Count;
    for (int c = 0; c < cells; ++c) StoreImage(l, first + c, src, w, c, mask, maskW);
    l->Count += cells;
    return first;
}

uint32_t Mix(uint32_t a, uint32_t b, int percentB)
{
    uint32_t r = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int ca = int((a >> shift) & 0xFF), cb = int((b >> shift) & 0xFF);
        r |= uint32_t((ca * (100 - percentB) + cb * percentB + 50) / 100) << shift;
    }
    return r;
}

struct TDrawArgs {
    int W, H;
    uint32_t Bk;
    bool BkNone;
    uint32_t Fg;
    bool FgNone;
    int Blend;  // percent of the blend colour
    UINT Style;
};

uint32_t ComposePixel(TImageListData* l, int i, int x, int y, uint32_t dest, const TDrawArgs& a)
{
    bool clear = l->Masked() && l->MaskPixel(i, x, y) != 0;
    if (a.Style & ILD_MASK) return clear ? kWhite : 0;
    if (clear && !(a.Style & ILD_IMAGE)) {
        if (a.BkNone || (a.Style & ILD_TRANSPARENT)) return dest;
        return a.Bk;
    }
    uint32_t p = l->Pixel(i, x, y);
    if (a.Blend) p = Mix(p, a.FgNone ? dest : a.Fg, a.Blend);
    return p;
}

} // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow)
{
    if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096) return nullptr;
    auto* l = new TImageListData;
    l->Cx = cx;
    l->Cy = cy;
    l->Flags = flags;
    l->Grow = std::max(grow, 1);
    if (!Reserve(l, std::max(initial, 1))) {
        delete l;
        return nullptr;
    }
    LiveLists().insert(l);
    return l;
}

BOOL ImageList_Destroy(HIMAGELIST himl)
{
    if (!Valid(himl)) return FALSE;
    LiveLists().erase(himl);
    DeleteObject(himl->Image);
    DeleteObject(himl->Mask);
    delete himl;
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST himl) { return Valid(himl) ? himl->Count : 0; }

BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT count)
{
    if (!Valid(himl) || count > 65536) return FALSE;
    int n = int(count);
    if (n > himl->Capacity && !Reserve(himl, n)) return FALSE;
    for (int i = himl->Count; i < n; ++i)
        for (int y = 0; y < himl->Cy; ++y)
            for (int x = 0; x < himl->Cx; ++x) {
                himl->Pixel(i, x, y) = 0;
                himl->MaskPixel(i, x, y) = kWhite;
            }
    himl->Count = n;
    return TRUE;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy)
{
    if (!Valid(himl) || !cx || !cy) return FALSE;
    *cx = himl->Cx;
    *cy = himl->Cy;
    return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy)
{
    if (!Valid(himl) || cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096) return FALSE;
    DeleteObject(himl->Image);
    DeleteObject(himl->Mask);
    himl->Image = himl->Mask = nullptr;
    himl->Cx = cx;
    himl->Cy = cy;
    himl->Count = himl->Capacity = 0;
    return Reserve(himl, 1) ? TRUE : FALSE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk)
{
    if (!Valid(himl)) return CLR_NONE;
    COLORREF old = himl->Bk;
    himl->Bk = clrBk;
    return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl) { return Valid(himl) ? himl->Bk : CLR_NONE; }

int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask)
{
    if (!Valid(himl)) return -1;
    int w, h, mw = 0, mh = 0;
    std::vector<uint32_t> px = ReadBitmap(image, w, h);
    std::vector<uint32_t> mpx = himl->Masked() ? ReadBitmap(mask, mw, mh) : std::vector<uint32_t>{};
    return AddPixels(himl, px, w, h, mpx.empty() ? nullptr : &mpx, mw, mh);
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF crMask)
{
    if (!Valid(himl)) return -1;
    int w, h;
    std::vector<uint32_t> px = ReadBitmap(image, w, h);
    uint32_t key = ToPixel(crMask);
    std::vector<uint32_t> mpx(px.size());
    for (size_t k = 0; k < px.size(); ++k) {
        if (px[k] != key) continue;
        mpx[k] = kWhite;
        px[k] = 0;  // transparent pixels turn black, as the masked blit expects
    }
    return AddPixels(himl, px, w, h, himl->Masked() ? &mpx : nullptr, w, h);
}

BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP image, HBITMAP mask)
{
    if (!Valid(himl) || i < 0 || i >= himl->Count) return FALSE;
    int w, h, mw = 0, mh = 0;
    std::vector<uint32_t> px = ReadBitmap(image, w, h);
    if (px.empty() || w < himl->Cx || h < himl->Cy) return FALSE;
    std::vector<uint32_t> mpx = himl->Masked() ? ReadBitmap(mask, mw, mh) : std::vector<uint32_t>{};
    bool useMask = !mpx.empty() && mw >= himl->Cx && mh >= himl->Cy;
    StoreImage(himl, i, px, w, 0, useMask ? &mpx : nullptr, mw);
    return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST himl, int i)
{
    if (!Valid(himl)) return FALSE;
    if (i == -1) {
        himl->Count = 0;
        return TRUE;
    }
    if (i < 0 || i >= himl->Count) return FALSE;
    for (int y = 0; y < himl->Cy; ++y) {
        size_t row = size_t(y) * himl->Stride();
        size_t at = row + size_t(i) * himl->Cx;
        size_t tail = size_t(himl->Count - i - 1) * himl->Cx;
        std::memmove(himl->ImageBits + at, himl->ImageBits + at + himl->Cx, tail * 4);
        std::memmove(himl->MaskBits + at, himl->MaskBits + at + himl->Cx, tail * 4);
    }
    --himl->Count;
    return TRUE;
}

BOOL ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* info)
{
    if (!Valid(himl) || !info || i < 0 || i >= himl->Count) return FALSE;
    info->hbmImage = himl->Image;
    info->hbmMask = himl->Masked() ? himl->Mask : nullptr;
    info->rcImage = RECT{i * himl->Cx, 0, (i + 1) * himl->Cx, himl->Cy};
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle)
{
    return ImageList_DrawEx(himl, i, hdcDst, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, fStyle);
}

BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy,
                      COLORREF rgbBk, COLORREF rgbFg, UINT fStyle)
{
    if (!Valid(himl) || i < 0 || i >= himl->Count || !hdcDst) return FALSE;
    TDrawArgs a{};
    a.W = dx > 0 ? std::min(dx, himl->Cx) : himl->Cx;
    a.H = dy > 0 ? std::min(dy, himl->Cy) : himl->Cy;
    COLORREF bk = rgbBk == CLR_DEFAULT ? himl->Bk : rgbBk;
    a.BkNone = bk == CLR_NONE;
    a.Bk = a.BkNone ? 0 : ToPixel(bk);
    a.FgNone = rgbFg == CLR_NONE;
    a.Fg = ToPixel(rgbFg == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : rgbFg);
    a.Blend = (fStyle & ILD_BLEND50) ? 50 : (fStyle & ILD_BLEND25) ? 25 : 0;
    a.Style = fStyle;

    uint32_t* bits = nullptr;
    HBITMAP temp = MakeStrip(a.W, a.H, &bits);
    HDC mem = CreateCompatibleDC(hdcDst);
    if (!temp || !mem) {
        if (temp) DeleteObject(temp);
        if (mem) DeleteDC(mem);
        return FALSE;
    }
    HGDIOBJ old = SelectObject(mem, temp);
    BitBlt(mem, 0, 0, a.W, a.H, hdcDst, x, y, SRCCOPY);
    for (int py = 0; py < a.H; ++py)
        for (int px = 0; px < a.W; ++px) {
            uint32_t& d = bits[size_t(py) * a.W + px];
            d = ComposePixel(himl, i, px, py, d & kWhite, a);
        }
    BitBlt(hdcDst, x, y, a.W, a.H, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(temp);
    return TRUE;
}

} // namespace host
