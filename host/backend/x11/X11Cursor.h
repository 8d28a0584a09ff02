#pragma once
// Cursors with pictures of their own as X cursors.
#include "host/gdi/Image.h"
#include "host/gdi/WinTypes.h"

#include <X11/Xlib.h>

#include <vector>

namespace host::x11 {

// A two-colour cursor from a picture: opaque pixels show, dark ones black
// and light ones white; 0 when the server refuses it.
Cursor CreateImageCursor(Display* display, Window root, const TImageData& image, POINT hotSpot);

// The two planes of such a cursor, rows padded to bytes, least significant
// bit first: which pixels show (mask) and which of them are black (source).
struct TCursorPlanes {
    int Width = 0;
    int Height = 0;
    int Stride = 0;
    std::vector<unsigned char> Source;
    std::vector<unsigned char> Mask;
};
TCursorPlanes CursorPlanes(const TImageData& image);

}  // namespace host::x11
