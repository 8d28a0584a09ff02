#pragma once
// A window's pixels in memory shared with a local X server (MIT-SHM), so
// that painting does not push every pixel through the connection.
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

namespace host::x11 {

class TShmImage {
public:
    TShmImage(Display* display, Visual* visual, int depth);
    ~TShmImage();
    TShmImage(const TShmImage&) = delete;
    TShmImage& operator=(const TShmImage&) = delete;

    // Whether the server can share memory with this process at all.
    static bool Available(Display* display);
    // Makes the image at least width x height; false when shared memory
    // cannot be had, and the caller sends pixels the ordinary way.
    bool Reserve(int width, int height);
    XImage* Image() const { return FImage; }
    // Shows the image's rectangle at (srcX, srcY) at (dstX, dstY) of the
    // target; returns once the server has read it, so that the memory can be
    // written again.
    void Put(Drawable target, GC gc, int srcX, int srcY, int dstX, int dstY, int width, int height);

private:
    Display* FDisplay;
    Visual* FVisual;
    int FDepth;
    XShmSegmentInfo FInfo{};
    XImage* FImage = nullptr;

    void Release();
};

}  // namespace host::x11
