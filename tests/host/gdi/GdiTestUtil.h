#pragma once
// A small memory DC for pixel tests, and a dump of it for a person to look at.
#include "host/gdi/WinGdi.h"

#include <string>
#include <vector>

namespace host::test {

class TestCanvas {
public:
    explicit TestCanvas(int w = 10, int h = 10, COLORREF fill = RGB(255, 255, 255), bool mono = false)
        : W(w), H(h)
    {
        Dc = CreateCompatibleDC(nullptr);
        Bmp = mono ? CreateBitmap(w, h, 1, 1, nullptr) : CreateBitmap(w, h, 1, 32, nullptr);
        Old = SelectObject(Dc, Bmp);
        Clear(fill);
    }
    ~TestCanvas()
    {
        SelectObject(Dc, Old);
        DeleteObject(Bmp);
        DeleteDC(Dc);
    }
    TestCanvas(const TestCanvas&) = delete;
    TestCanvas& operator=(const TestCanvas&) = delete;

    void Clear(COLORREF c)
    {
        HBRUSH b = CreateSolidBrush(c);
        RECT r{0, 0, W, H};
        FillRect(Dc, &r, b);
        DeleteObject(b);
    }
    COLORREF At(int x, int y) const { return GetPixel(Dc, x, y); }
    // Rows of '#' (pixel differs from bg) and '.', for readable expectations.
    std::string Mask(COLORREF bg = RGB(255, 255, 255)) const
    {
        std::string s;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x)
                s += At(x, y) == bg ? '.' : '#';
            s += '\n';
        }
        return s;
    }
    // Writes a PNG, enlarged so single pixels are visible.
    void WritePng(const std::string& path, int scale = 8) const
    {
        TestCanvas big(W * scale, H * scale);
        StretchBlt(big.Dc, 0, 0, W * scale, H * scale, Dc, 0, 0, W, H, SRCCOPY);
        SaveDCToPng(big.Dc, path);
    }

    int W, H;
    HDC Dc;
    HBITMAP Bmp;
    HGDIOBJ Old;
};

// Selects a pen or brush for the lifetime of the guard and deletes it after.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ obj) : FDc(dc), FObj(obj), FOld(SelectObject(dc, obj)) {}
    ~Selected()
    {
        SelectObject(FDc, FOld);
        DeleteObject(FObj);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC FDc;
    HGDIOBJ FObj;
    HGDIOBJ FOld;
};

inline std::string Rows(std::initializer_list<const char*> rows)
{
    std::string s;
    for (const char* r : rows) {
        s += r;
        s += '\n';
    }
    return s;
}

}  // namespace host::test
