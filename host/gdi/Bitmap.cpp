// Bitmaps: device-dependent ones (1-bit or 32-bit), DIB sections and the
// DIB transfer calls.
#include "host/gdi/Bitmap.h"

#include "host/gdi/Dc.h"
#include "host/gdi/WinGdi.h"

#include <cstring>

namespace host::gdi {

int DibStride(int width, int bpp) { return ((width * bpp + 31) / 32) * 4; }

bool DibFormatSupported(const BITMAPINFOHEADER& h)
{
    bool depth = h.biBitCount == 1 || h.biBitCount == 4 || h.biBitCount == 8 ||
                 h.biBitCount == 16 || h.biBitCount == 24 || h.biBitCount == 32;
    bool size = h.biWidth > 0 && h.biHeight != 0 && h.biWidth <= 65535 &&
                h.biHeight <= 65535 && h.biHeight >= -65535;
    return depth && size && (h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS);
}

uint32_t DibPixel(const BITMAPINFO& bmi, const uint8_t* row, int x)
{
    const BITMAPINFOHEADER& h = bmi.bmiHeader;
    auto palette = [&](unsigned i) {
        unsigned used = h.biClrUsed ? h.biClrUsed : (1u << h.biBitCount);
        if (i >= used)
            return uint32_t(0);
        const RGBQUAD& q = bmi.bmiColors[i];
        return (uint32_t(q.rgbRed) << 16) | (uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
    };
    switch (h.biBitCount) {
    case 1: return palette((row[x >> 3] >> (7 - (x & 7))) & 1);
    case 4: return palette((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
    case 8: return palette(row[x]);
    case 16: {
        unsigned v = row[2 * x] | (row[2 * x + 1] << 8);  // 5-5-5
        unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        return ((r * 255 / 31) << 16) | ((g * 255 / 31) << 8) | (b * 255 / 31);
    }
    case 24: return (uint32_t(row[3 * x + 2]) << 16) | (uint32_t(row[3 * x + 1]) << 8) | row[3 * x];
    default: {
        uint32_t v;
        std::memcpy(&v, row + 4 * x, 4);
        return v & kPixelMask;
    }
    }
}

// Monochrome bitmaps keep 0 for black and white for everything else, as
// colour data converted to one bit does.
static uint32_t ToBitmapPixel(uint32_t p, bool mono) { return mono ? RealizeColor(PixelToColor(p), true) : p; }

void DibToSurface(const BITMAPINFO& bmi, const void* bits, int startScan, int lines,
                  const Surface& s)
{
    const BITMAPINFOHEADER& h = bmi.bmiHeader;
    int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    int stride = DibStride(h.biWidth, h.biBitCount);
    const uint8_t* base = static_cast<const uint8_t*>(bits);
    for (int i = 0; i < lines; ++i) {
        int scan = startScan + i;  // scan lines count from the bottom of a bottom-up DIB
        int y = h.biHeight < 0 ? scan : height - 1 - scan;
        if (y < 0 || y >= s.Height || scan >= height)
            continue;
        const uint8_t* row = base + ptrdiff_t(i) * stride;
        uint32_t* out = s.Row(y);
        for (int x = 0; x < s.Width && x < h.biWidth; ++x)
            out[x] = ToBitmapPixel(DibPixel(bmi, row, x), s.Monochrome);
    }
}

}  // namespace host::gdi

namespace host {

using namespace gdi;

namespace {

HBITMAP Register(BitmapObject* b) { return static_cast<HBITMAP>(AddObject(std::unique_ptr<BitmapObject>(b))); }

bool SaneSize(int w, int h) { return w > 0 && h > 0 && int64_t(w) * h <= (int64_t(1) << 28); }

}  // namespace

// Like Win32, a bitmap compatible with a fresh memory DC is monochrome,
// because that DC still holds its 1x1 monochrome bitmap.
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height)
{
    Dc* dc = hdc ? FindDc(hdc) : nullptr;
    if (hdc && !dc)
        return nullptr;
    if (width == 0 || height == 0)
        return static_cast<HBITMAP>(DefaultBitmap());
    if (!SaneSize(width, height))
        return nullptr;
    return Register(MakeBitmap(width, height, dc && dc->Monochrome()));
}

// bits: rows of bitsPerPixel data, each padded to 16 bits (device-dependent layout).
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    if (width == 0 || height == 0)
        return static_cast<HBITMAP>(DefaultBitmap());
    if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32) || !SaneSize(width, height))
        return nullptr;
    BitmapObject* b = MakeBitmap(width, height, bitsPerPixel == 1);
    HBITMAP h = Register(b);
    if (bits)
        SetBitmapBits(h, DWORD(bitsPerPixel == 1 ? ((width + 15) / 16) * 2 * height : width * 4 * height), bits);
    return h;
}

HBITMAP CreateBitmapIndirect(const BITMAP* bm)
{
    if (!bm)
        return nullptr;
    return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

LONG GetBitmapBits(HBITMAP bitmap, LONG cb, void* bits)
{
    BitmapObject* b = FindObjectAs<BitmapObject>(bitmap, OBJ_BITMAP);
    if (!b || cb < 0)
        return 0;
    const Surface& s = b->Surf;
    int stride = b->BitsPixel == 1 ? ((s.Width + 15) / 16) * 2 : s.Width * 4;
    if (!bits)
        return stride * s.Height;
    uint8_t* out = static_cast<uint8_t*>(bits);
    int rows = std::min(s.Height, int(cb / stride));
    for (int y = 0; y < rows; ++y) {
        uint8_t* o = out + ptrdiff_t(y) * stride;
        if (b->BitsPixel == 32) {
            std::memcpy(o, s.Row(y), size_t(stride));
            continue;
        }
        std::memset(o, 0, size_t(stride));
        for (int x = 0; x < s.Width; ++x)
            if (s.Row(y)[x])
                o[x >> 3] |= uint8_t(0x80 >> (x & 7));
    }
    return rows * stride;
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD cb, const void* bits)
{
    BitmapObject* b = FindObjectAs<BitmapObject>(bitmap, OBJ_BITMAP);
    if (!b || !bits)
        return 0;
    const Surface& s = b->Surf;
    int stride = b->BitsPixel == 1 ? ((s.Width + 15) / 16) * 2 : s.Width * 4;
    const uint8_t* in = static_cast<const uint8_t*>(bits);
    int rows = std::min(s.Height, int(cb / DWORD(stride)));
    for (int y = 0; y < rows; ++y) {
        const uint8_t* row = in + ptrdiff_t(y) * stride;
        uint32_t* out = s.Row(y);
        for (int x = 0; x < s.Width; ++x) {
            if (b->BitsPixel == 1) {
                out[x] = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? kPixelMask : 0;
            } else {
                uint32_t v;
                std::memcpy(&v, row + 4 * x, 4);
                out[x] = v & kPixelMask;
            }
        }
    }
    return rows * stride;
}

BOOL GetBitmapDimensionEx(HBITMAP bitmap, SIZE* size)
{
    if (!FindObjectAs<BitmapObject>(bitmap, OBJ_BITMAP) || !size)
        return FALSE;
    *size = SIZE{};
    return TRUE;
}

// Only 32-bit DIB sections are made: they share the surface layout, so the
// caller's pointer and the DC see the same memory.
HBITMAP CreateDIBSection(HDC, const BITMAPINFO* bmi, UINT, void** bits, HANDLE, DWORD)
{
    if (bits)
        *bits = nullptr;
    if (!bmi || !DibFormatSupported(bmi->bmiHeader) || bmi->bmiHeader.biBitCount != 32)
        return nullptr;
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if (!SaneSize(h.biWidth, height))
        return nullptr;
    BitmapObject* b = MakeBitmap(h.biWidth, height, false);
    b->DibSection = true;
    b->TopDown = h.biHeight < 0;
    if (!b->TopDown) {
        b->Surf.Bits = b->Storage.data() + ptrdiff_t(height - 1) * h.biWidth;
        b->Surf.Stride = -h.biWidth;
    }
    if (bits)
        *bits = b->Storage.data();
    return Register(b);
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* bmi, UINT usage)
{
    if (!header)
        return nullptr;
    int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    // Win32 makes a colour bitmap for a screen DC and follows the DC otherwise.
    HBITMAP h = hdc ? CreateCompatibleBitmap(hdc, header->biWidth, height)
                    : CreateBitmap(header->biWidth, height, 1, 32, nullptr);
    if (h && (init & CBM_INIT) && bits && bmi)
        SetDIBits(hdc, h, 0, UINT(height), bits, bmi, usage);
    return h;
}

int SetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, const void* bits,
              const BITMAPINFO* bmi, UINT)
{
    BitmapObject* b = FindObjectAs<BitmapObject>(bitmap, OBJ_BITMAP);
    if (!b || !bits || !bmi || !DibFormatSupported(bmi->bmiHeader))
        return 0;
    int height = bmi->bmiHeader.biHeight < 0 ? -bmi->bmiHeader.biHeight : bmi->bmiHeader.biHeight;
    int n = std::min<int>(int(lines), height - int(start));
    if (n <= 0 || start > 65535)
        return 0;
    DibToSurface(*bmi, bits, int(start), n, b->Surf);
    return n;
}

namespace {

void WriteDibRow(const Surface& s, int y, uint8_t* out, int bpp)
{
    const uint32_t* row = s.Row(y);
    int stride = DibStride(s.Width, bpp);
    std::memset(out, 0, size_t(stride));
    for (int x = 0; x < s.Width; ++x) {
        uint32_t p = row[x];
        if (bpp == 32)
            std::memcpy(out + 4 * x, &p, 4);
        else if (bpp == 24) {
            out[3 * x] = uint8_t(p);
            out[3 * x + 1] = uint8_t(p >> 8);
            out[3 * x + 2] = uint8_t(p >> 16);
        } else if (RealizeColor(PixelToColor(p), true))
            out[x >> 3] |= uint8_t(0x80 >> (x & 7));
    }
}

}  // namespace

// Writes 1-, 24- or 32-bit DIB rows; with bits == nullptr fills in the header.
int GetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* bmi, UINT)
{
    BitmapObject* b = FindObjectAs<BitmapObject>(bitmap, OBJ_BITMAP);
    if (!b || !bmi)
        return 0;
    BITMAPINFOHEADER& h = bmi->bmiHeader;
    const Surface& s = b->Surf;
    if (!bits) {
        h.biWidth = s.Width;
        h.biHeight = s.Height;
        h.biPlanes = 1;
        if (h.biBitCount == 0)
            h.biBitCount = WORD(b->BitsPixel);
        h.biCompression = BI_RGB;
        h.biSizeImage = DWORD(DibStride(s.Width, h.biBitCount) * s.Height);
        return s.Height;
    }
    int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 24 && bpp != 32)
        return 0;
    if (bpp == 1) {
        bmi->bmiColors[0] = RGBQUAD{0, 0, 0, 0};
        (&bmi->bmiColors[0])[1] = RGBQUAD{255, 255, 255, 0};
    }
    bool topDown = h.biHeight < 0;
    int n = std::min<int>(int(lines), s.Height - int(start));
    if (n <= 0 || start > 65535)
        return 0;
    int stride = DibStride(s.Width, bpp);
    for (int i = 0; i < n; ++i) {
        int scan = int(start) + i;
        int y = topDown ? scan : s.Height - 1 - scan;
        WriteDibRow(s, y, static_cast<uint8_t*>(bits) + ptrdiff_t(i) * stride, bpp);
    }
    return n;
}

}  // namespace host
