#include "host/backend/x11/X11Shm.h"

#include <X11/Xutil.h>

#include <sys/ipc.h>
#include <sys/shm.h>

namespace host::x11 {

namespace {

bool GAttachFailed = false;

int TrapAttachError(Display*, XErrorEvent*)
{
    GAttachFailed = true;
    return 0;
}

}  // namespace

TShmImage::TShmImage(Display* display, Visual* visual, int depth)
    : FDisplay(display), FVisual(visual), FDepth(depth)
{
}

TShmImage::~TShmImage() { Release(); }

bool TShmImage::Available(Display* display) { return XShmQueryExtension(display); }

void TShmImage::Release()
{
    if (!FImage)
        return;
    XShmDetach(FDisplay, &FInfo);
    XSync(FDisplay, False);
    FImage->data = nullptr;
    XDestroyImage(FImage);
    shmdt(FInfo.shmaddr);
    FImage = nullptr;
    FInfo = XShmSegmentInfo{};
}

bool TShmImage::Reserve(int width, int height)
{
    if (FImage && FImage->width >= width && FImage->height >= height)
        return true;
    Release();
    XImage* img = XShmCreateImage(FDisplay, FVisual, unsigned(FDepth), ZPixmap, nullptr, &FInfo,
                                  unsigned(width), unsigned(height));
    if (!img)
        return false;
    FInfo.shmid = shmget(IPC_PRIVATE, size_t(img->bytes_per_line) * size_t(height), IPC_CREAT | 0600);
    if (FInfo.shmid < 0) {
        XDestroyImage(img);
        return false;
    }
    FInfo.shmaddr = img->data = static_cast<char*>(shmat(FInfo.shmid, nullptr, 0));
    FInfo.readOnly = False;
    // A server on another machine refuses the segment; that error arrives
    // asynchronously, so it is trapped around a round trip.
    GAttachFailed = false;
    XErrorHandler old = XSetErrorHandler(TrapAttachError);
    bool attached = img->data != reinterpret_cast<char*>(-1) && XShmAttach(FDisplay, &FInfo);
    XSync(FDisplay, False);
    XSetErrorHandler(old);
    // Marked for removal now: it goes away with the last detach, even if
    // the program dies.
    shmctl(FInfo.shmid, IPC_RMID, nullptr);
    if (!attached || GAttachFailed) {
        if (img->data != reinterpret_cast<char*>(-1))
            shmdt(img->data);
        img->data = nullptr;
        XDestroyImage(img);
        FInfo = XShmSegmentInfo{};
        return false;
    }
    FImage = img;
    return true;
}

void TShmImage::Put(Drawable target, GC gc, int srcX, int srcY, int dstX, int dstY, int width, int height)
{
    XShmPutImage(FDisplay, target, gc, FImage, srcX, srcY, dstX, dstY, unsigned(width), unsigned(height), False);
    XSync(FDisplay, False);
}

}  // namespace host::x11
