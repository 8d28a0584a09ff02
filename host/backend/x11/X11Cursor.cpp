#include "host/backend/x11/X11Cursor.h"

#include <algorithm>

namespace host::x11 {

namespace {

// Perceived brightness, so that a coloured arrow keeps its dark outline.
bool IsDark(uint32_t pixel)
{
    unsigned r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return r * 299 + g * 587 + b * 114 < 128 * 1000;
}

}  // namespace

TCursorPlanes CursorPlanes(const TImageData& image)
{
    TCursorPlanes p;
    p.Width = image.Width;
    p.Height = image.Height;
    p.Stride = (image.Width + 7) / 8;
    p.Source.assign(size_t(p.Stride) * size_t(p.Height), 0);
    p.Mask.assign(p.Source.size(), 0);
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
            if (image.AlphaAt(x, y) < 128)
                continue;
            size_t at = size_t(y) * size_t(p.Stride) + size_t(x / 8);
            auto bit = static_cast<unsigned char>(1u << (x % 8));
            p.Mask[at] |= bit;
            if (IsDark(image.Pixel(x, y)))
                p.Source[at] |= bit;
        }
    return p;
}

Cursor CreateImageCursor(Display* display, Window root, const TImageData& image, POINT hotSpot)
{
    if (image.Empty())
        return 0;
    TCursorPlanes p = CursorPlanes(image);
    Pixmap source = XCreateBitmapFromData(display, root, reinterpret_cast<const char*>(p.Source.data()),
                                          unsigned(p.Width), unsigned(p.Height));
    Pixmap mask = XCreateBitmapFromData(display, root, reinterpret_cast<const char*>(p.Mask.data()),
                                        unsigned(p.Width), unsigned(p.Height));
    XColor black{}, white{};
    white.red = white.green = white.blue = 0xFFFF;
    black.flags = white.flags = DoRed | DoGreen | DoBlue;
    unsigned hx = unsigned(std::clamp<int>(hotSpot.x, 0, p.Width - 1));
    unsigned hy = unsigned(std::clamp<int>(hotSpot.y, 0, p.Height - 1));
    Cursor c = XCreatePixmapCursor(display, source, mask, &black, &white, hx, hy);
    XFreePixmap(display, source);
    XFreePixmap(display, mask);
    return c;
}

}  // namespace host::x11
