// TBitmap: a GDI bitmap with a canvas, shared between copies until one of
// them draws.
#include <algorithm>
#include <cstring>

#include "host/gdi/Bmp.h"
#include "host/gdi/Image.h"
#include "host/gdi/Png.h"
#include "host/rtl/Resources.h"
#include "host/rtl/Streams.h"
#include "host/vcl/Graphics.h"

namespace host {

class TBitmapCanvas;

struct TBitmapImage {
    HBITMAP Handle = nullptr;
    // Pixels of a colour DIB section, top-down rows.
    uint32_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    bool Monochrome = false;
    TPixelFormat Format = pfDevice;
    // The pixels of a dormant image, whose handle is gone.
    std::optional<TImageData> Saved;
    // The one canvas whose DC has the handle selected (a bitmap is selected
    // into one DC at a time).
    TBitmapCanvas* SelectedIn = nullptr;

    TBitmapImage() = default;
    TBitmapImage(const TBitmapImage&) = delete;
    TBitmapImage& operator=(const TBitmapImage&) = delete;
    ~TBitmapImage()
    {
        if (Handle) DeleteObject(Handle);
    }
};

class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* ABitmap) : FBitmap(ABitmap) {}
    using TCanvas::PeekHandle;
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext()
    {
        HDC dc = PeekHandle();
        if (!dc) return;
        SetHandle(nullptr);
        if (FOldBitmap) SelectObject(dc, FOldBitmap);
        FOldBitmap = nullptr;
        if (FImage && FImage->SelectedIn == this) FImage->SelectedIn = nullptr;
        FImage.reset();
        DeleteDC(dc);
    }

protected:
    void CreateHandle() override
    {
        FBitmap->HandleNeeded();
        HDC dc = CreateCompatibleDC(nullptr);
        FImage = FBitmap->FImage;
        if (FImage->Handle) {
            if (FImage->SelectedIn && FImage->SelectedIn != this) FImage->SelectedIn->FreeContext();
            FOldBitmap = SelectObject(dc, FImage->Handle);
            FImage->SelectedIn = this;
        }
        SetHandle(dc);
    }

private:
    TBitmap* FBitmap;
    // Keeps the selected image alive while the DC holds it.
    std::shared_ptr<TBitmapImage> FImage;
    HGDIOBJ FOldBitmap = nullptr;
};

namespace {

TPixelFormat FormatOfDepth(int Bits)
{
    switch (Bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf16bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pfDevice;
    }
}

int DepthOfFormat(TPixelFormat Format)
{
    switch (Format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf32bit: return 32;
    default: return 24;
    }
}

// A colour bitmap is a 32-bit top-down DIB section, so ScanLine can reach it.
HBITMAP MakeBitmap(int Width, int Height, bool Monochrome, uint32_t** Bits)
{
    *Bits = nullptr;
    if (Monochrome) return CreateBitmap(Width, Height, 1, 1, nullptr);
    BITMAPINFO bmi{};
    bmi.bmiHeader.biWidth = Width;
    bmi.bmiHeader.biHeight = -Height;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP h = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    *Bits = static_cast<uint32_t*>(bits);
    return h;
}

void PutImage(HBITMAP Handle, const TImageData& Image)
{
    BITMAPINFO bmi{};
    bmi.bmiHeader.biWidth = Image.Width;
    bmi.bmiHeader.biHeight = -Image.Height;
    bmi.bmiHeader.biBitCount = 32;
    SetDIBits(nullptr, Handle, 0, static_cast<UINT>(Image.Height), Image.Pixels.data(), &bmi, DIB_RGB_COLORS);
}

bool IsBlackAndWhite(const TImageData& Image)
{
    if (Image.SourceBitsPerPixel != 1) return false;
    for (uint32_t c : Image.Palette)
        if ((c & 0xFFFFFF) != 0 && (c & 0xFFFFFF) != 0xFFFFFF) return false;
    return true;
}

std::vector<uint8_t> ReadRest(TStream* Stream)
{
    int64_t size = Stream->GetSize() - Stream->GetPosition();
    std::vector<uint8_t> data(static_cast<size_t>(std::max<int64_t>(size, 0)));
    if (!data.empty()) Stream->ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
    return data;
}

TImageData DecodeBitmapBytes(const uint8_t* Data, size_t Size)
{
    switch (DetectImageFormat(Data, Size)) {
    case TImageFormat::Bmp: return LoadBmp(Data, Size);
    case TImageFormat::Png: return LoadPng(Data, Size);
    default: throw EInvalidGraphic("Bitmap image is not valid");
    }
}

} // namespace

TBitmap::TBitmap() : FImage(std::make_shared<TBitmapImage>()) {}

TBitmap::~TBitmap() { FCanvas.reset(); }

void TBitmap::Destroy()
{
    FCanvas.reset();
    inherited::Destroy();
}

void TBitmap::FreeContext()
{
    if (FCanvas) FCanvas->FreeContext();
}

void TBitmap::NewImage(HBITMAP Handle, bool Monochrome, TPixelFormat Format)
{
    FreeContext();
    auto image = std::make_shared<TBitmapImage>();
    image->Handle = Handle;
    image->Monochrome = Monochrome;
    image->Format = Monochrome ? pf1bit : Format;
    if (Handle) {
        BITMAP bm;
        GetObject(Handle, sizeof bm, &bm);
        image->Width = bm.bmWidth;
        image->Height = bm.bmHeight;
        DIBSECTION ds;
        if (!Monochrome && GetObject(Handle, sizeof ds, &ds) == sizeof ds && ds.dsBmih.biHeight < 0)
            image->Bits = static_cast<uint32_t*>(ds.dsBm.bmBits);
    }
    FImage = std::move(image);
}

void TBitmap::HandleNeeded()
{
    TBitmapImage& im = *FImage;
    if (im.Handle || !im.Saved) return;
    im.Handle = MakeBitmap(im.Saved->Width, im.Saved->Height, im.Monochrome, &im.Bits);
    if (!im.Handle) throw EOutOfResources("Out of system resources");
    PutImage(im.Handle, *im.Saved);
    im.Saved.reset();
}

HBITMAP TBitmap::CopyHandle() const
{
    const TBitmapImage& im = *FImage;
    TImageData data = im.Handle ? ImageFromBitmap(im.Handle) : *im.Saved;
    uint32_t* bits = nullptr;
    HBITMAP h = MakeBitmap(data.Width, data.Height, im.Monochrome, &bits);
    if (!h) throw EOutOfResources("Out of system resources");
    PutImage(h, data);
    return h;
}

void TBitmap::Unshare()
{
    if (FImage.use_count() <= 1 || GetEmpty()) return;
    // Our canvas's DC holds a reference of its own while it is open.
    if (FCanvas && FCanvas->PeekHandle() && FImage.use_count() == 2) return;
    HBITMAP h = CopyHandle();
    TPixelFormat format = FImage->Format;
    NewImage(h, FImage->Monochrome, format);
}

void TBitmap::FreeImage() { Unshare(); }

void TBitmap::CanvasChanging(TObject*) { Unshare(); }

void TBitmap::Changed(TObject* Sender) { inherited::Changed(Sender); }

TCanvas* TBitmap::GetCanvas()
{
    if (!FCanvas) {
        FCanvas = std::make_unique<TBitmapCanvas>(this);
        FCanvas->OnChanging = TNotifyEvent(this, &TBitmap::CanvasChanging);
        FCanvas->OnChange = TNotifyEvent(this, &TBitmap::Changed);
    }
    return FCanvas.get();
}

HBITMAP TBitmap::GetHandle()
{
    Unshare();
    HandleNeeded();
    return FImage->Handle;
}

void TBitmap::SetHandle(HBITMAP Value)
{
    if (Value && Value == FImage->Handle) return;
    BITMAP bm;
    if (Value && GetObject(Value, sizeof bm, &bm) == 0) throw EInvalidGraphicOperation("Invalid bitmap handle");
    bool mono = Value && bm.bmBitsPixel == 1;
    NewImage(Value, mono, mono ? pf1bit : pfDevice);
    Changed(this);
}

bool TBitmap::HandleAllocated() const { return FImage->Handle != nullptr; }

HBITMAP TBitmap::ReleaseHandle()
{
    FreeContext();
    Unshare();
    HandleNeeded();
    HBITMAP h = FImage->Handle;
    if (!h) return nullptr;
    FImage->Saved = ImageFromBitmap(h);
    FImage->Handle = nullptr;
    FImage->Bits = nullptr;
    return h;
}

void TBitmap::Dormant()
{
    if (!FImage->Handle) return;
    FreeContext();
    FImage->Saved = ImageFromBitmap(FImage->Handle);
    DeleteObject(FImage->Handle);
    FImage->Handle = nullptr;
    FImage->Bits = nullptr;
}

// ---- Size and format ---------------------------------------------------------------

bool TBitmap::GetEmpty() const { return FImage->Width <= 0 || FImage->Height <= 0; }
int TBitmap::GetWidth() const { return FImage->Width; }
int TBitmap::GetHeight() const { return FImage->Height; }
void TBitmap::SetWidth(int Value) { SetSize(Value, FImage->Height); }
void TBitmap::SetHeight(int Value) { SetSize(FImage->Width, Value); }

void TBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == FImage->Width && AHeight == FImage->Height) return;
    bool mono = FImage->Monochrome;
    TPixelFormat format = FImage->Format;
    HBITMAP h = nullptr;
    if (AWidth > 0 && AHeight > 0) {
        // The old picture stays in the top-left corner; new area is white.
        TImageData data;
        AllocateImage(data, AWidth, AHeight, "bitmap");
        std::fill(data.Pixels.begin(), data.Pixels.end(), 0xFFFFFF);
        if (!GetEmpty()) {
            HandleNeeded();
            TImageData old = ImageFromBitmap(FImage->Handle);
            for (int y = 0; y < std::min(AHeight, old.Height); ++y)
                for (int x = 0; x < std::min(AWidth, old.Width); ++x)
                    data.Pixels[static_cast<size_t>(y) * AWidth + x] = old.Pixel(x, y);
        }
        uint32_t* bits = nullptr;
        h = MakeBitmap(AWidth, AHeight, mono, &bits);
        if (!h) throw EOutOfResources("Out of system resources");
        PutImage(h, data);
    }
    NewImage(h, mono, format);
    FImage->Width = AWidth;
    FImage->Height = AHeight;
    Changed(this);
}

bool TBitmap::GetMonochrome() const { return FImage->Monochrome; }

// Colour to monochrome works as a blit does: pixels of the background colour
// (the canvas's brush colour, white without a canvas) become white, all others black.
HBITMAP TBitmap::MonochromeCopy(TColor Background)
{
    int w = FImage->Width, h = FImage->Height;
    HBITMAP mono = CreateBitmap(w, h, 1, 1, nullptr);
    if (!mono) throw EOutOfResources("Out of system resources");
    if (FImage->SelectedIn) FImage->SelectedIn->FreeContext();
    HDC src = CreateCompatibleDC(nullptr), dst = CreateCompatibleDC(nullptr);
    HGDIOBJ oldSrc = SelectObject(src, FImage->Handle), oldDst = SelectObject(dst, mono);
    SetBkColor(src, ColorToRGB(Background));
    BitBlt(dst, 0, 0, w, h, src, 0, 0, SRCCOPY);
    SelectObject(src, oldSrc);
    SelectObject(dst, oldDst);
    DeleteDC(src);
    DeleteDC(dst);
    return mono;
}

void TBitmap::SetMonochrome(bool Value)
{
    if (Value == FImage->Monochrome) return;
    int w = FImage->Width, h = FImage->Height;
    HBITMAP handle = nullptr;
    if (!GetEmpty()) {
        TColor background = FCanvas ? FCanvas->GetBrush()->GetColor() : clWhite;
        FreeContext();
        HandleNeeded();
        if (Value) {
            handle = MonochromeCopy(background);
        } else {
            TImageData data = ImageFromBitmap(FImage->Handle);
            uint32_t* bits = nullptr;
            handle = MakeBitmap(w, h, false, &bits);
            if (!handle) throw EOutOfResources("Out of system resources");
            PutImage(handle, data);
        }
    }
    NewImage(handle, Value, Value ? pf1bit : pfDevice);
    FImage->Width = w;
    FImage->Height = h;
    Changed(this);
}

void TBitmap::Mask(TColor TransparentColor)
{
    if (GetEmpty()) return;
    FreeContext();
    HandleNeeded();
    HBITMAP mono = MonochromeCopy(TransparentColor);
    int w = FImage->Width, h = FImage->Height;
    NewImage(mono, true, pf1bit);
    FImage->Width = w;
    FImage->Height = h;
    Changed(this);
}

TPixelFormat TBitmap::GetPixelFormat() const { return FImage->Format; }

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    if (Value == FImage->Format) return;
    SetMonochrome(Value == pf1bit);
    FImage->Format = Value;
    Changed(this);
}

uint32_t* TBitmap::ScanLine(int Row)
{
    if (GetEmpty() || Row < 0 || Row >= FImage->Height)
        throw EInvalidGraphicOperation("Scan line index out of range");
    if (FImage->Monochrome) throw EInvalidGraphicOperation("Scan lines are available for colour bitmaps only");
    Unshare();
    HandleNeeded();
    if (!FImage->Bits) {
        // An adopted handle that is not a top-down DIB section: move it into one.
        HBITMAP h = CopyHandle();
        TPixelFormat format = FImage->Format;
        NewImage(h, false, format);
    }
    GdiFlush();
    return FImage->Bits + static_cast<ptrdiff_t>(Row) * FImage->Width;
}

// ---- Transparency --------------------------------------------------------------------

TColor TBitmap::GetTransparentColor()
{
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
    if (FImage->Monochrome) return clWhite;
    if (GetEmpty()) return clDefault;
    return GetCanvas()->GetPixels(0, FImage->Height - 1);
}

void TBitmap::SetTransparentColor(TColor Value)
{
    if (Value == FTransparentColor) return;
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
    Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value)
{
    if (Value == FTransparentMode) return;
    if (Value == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(GetTransparentColor());
}

// ---- Drawing -------------------------------------------------------------------------

namespace {

// Stretches Src onto Dst leaving the pixels of the transparent colour alone:
// D ^ S, masked to the transparent area, ^ S again.
void TransparentStretch(HDC Dst, const TRect& R, HDC Src, int W, int H, bool SrcMono, COLORREF Transparent)
{
    HDC maskDC = CreateCompatibleDC(nullptr);
    HBITMAP mask = CreateBitmap(W, H, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(maskDC, mask);
    if (SrcMono) {
        BitBlt(maskDC, 0, 0, W, H, Src, 0, 0, Transparent == RGB(0, 0, 0) ? NOTSRCCOPY : SRCCOPY);
    } else {
        COLORREF oldBk = SetBkColor(Src, Transparent);
        BitBlt(maskDC, 0, 0, W, H, Src, 0, 0, SRCCOPY);
        SetBkColor(Src, oldBk);
    }
    int dw = R.right - R.left, dh = R.bottom - R.top;
    StretchBlt(Dst, R.left, R.top, dw, dh, Src, 0, 0, W, H, SRCINVERT);
    COLORREF oldText = SetTextColor(Dst, RGB(0, 0, 0));
    COLORREF oldBk = SetBkColor(Dst, RGB(255, 255, 255));
    StretchBlt(Dst, R.left, R.top, dw, dh, maskDC, 0, 0, W, H, SRCAND);
    SetTextColor(Dst, oldText);
    SetBkColor(Dst, oldBk);
    StretchBlt(Dst, R.left, R.top, dw, dh, Src, 0, 0, W, H, SRCINVERT);
    SelectObject(maskDC, oldMask);
    DeleteObject(mask);
    DeleteDC(maskDC);
}

} // namespace

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (GetEmpty() || !ACanvas) return;
    GetCanvas()->RequiredState({csHandleValid});
    HDC src = FCanvas->PeekHandle();
    // The target's font and brush give a monochrome image its colours.
    ACanvas->RequiredState(csAllValid);
    HDC dst = ACanvas->GetHandle();
    int w = FImage->Width, h = FImage->Height;
    if (GetTransparent()) {
        TransparentStretch(dst, Rect, src, w, h, FImage->Monochrome, ColorToRGB(GetTransparentColor()));
        return;
    }
    StretchBlt(dst, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, src, 0, 0, w, h,
               static_cast<DWORD>(ACanvas->GetCopyMode()));
}

// ---- Loading and saving -----------------------------------------------------------------

void TBitmap::LoadImageData(const TImageData& Image)
{
    bool mono = IsBlackAndWhite(Image);
    uint32_t* bits = nullptr;
    HBITMAP h = MakeBitmap(Image.Width, Image.Height, mono, &bits);
    if (!h) throw EOutOfResources("Out of system resources");
    PutImage(h, Image);
    NewImage(h, mono, FormatOfDepth(Image.SourceBitsPerPixel));
    Changed(this);
}

void TBitmap::LoadFromStream(TStream* Stream)
{
    std::vector<uint8_t> data = ReadRest(Stream);
    LoadImageData(DecodeBitmapBytes(data.data(), data.size()));
}

void TBitmap::SaveToStream(TStream* Stream)
{
    if (GetEmpty()) return;
    HandleNeeded();
    TImageData image = ImageFromBitmap(FImage->Handle);
    if (FImage->Monochrome) image.Palette = {0x000000, 0xFFFFFF};
    std::vector<uint8_t> bytes = SaveBmp(image, FImage->Monochrome ? 1 : DepthOfFormat(FImage->Format));
    Stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TBitmap::ReadData(TStream* Stream)
{
    int32_t size = 0;
    Stream->ReadBuffer(&size, 4);
    if (size < 0 || size > Stream->GetSize() - Stream->GetPosition()) throw EInvalidGraphic("Bitmap image is not valid");
    std::vector<uint8_t> data(static_cast<size_t>(size));
    if (size > 0) Stream->ReadBuffer(data.data(), size);
    if (size == 0) return SetSize(0, 0);
    LoadImageData(DecodeBitmapBytes(data.data(), data.size()));
}

void TBitmap::WriteData(TStream* Stream)
{
    TMemoryStream ms;
    SaveToStream(&ms);
    int32_t size = static_cast<int32_t>(ms.GetSize());
    Stream->WriteBuffer(&size, 4);
    if (size > 0) Stream->WriteBuffer(ms.GetMemory(), size);
}

void TBitmap::LoadFromResourceName(const std::string& ResName)
{
    auto data = FindResourceData(TResType::Bitmap, ResName);
    if (!data) throw EResNotFound("Resource " + ResName + " not found");
    auto* bytes = reinterpret_cast<const uint8_t*>(data->data());
    if (DetectImageFormat(bytes, data->size()) == TImageFormat::Unknown)
        return LoadImageData(LoadDib(bytes, data->size()));
    LoadImageData(DecodeBitmapBytes(bytes, data->size()));
}

void TBitmap::Assign(TPersistent* Source)
{
    if (!Source) {
        NewImage(nullptr, false, pfDevice);
        return Changed(this);
    }
    auto* b = dynamic_cast<TBitmap*>(Source);
    if (!b) return inherited::Assign(Source);
    if (b == this) return;
    FreeContext();
    FImage = b->FImage;
    FTransparent = b->FTransparent;
    FTransparentColor = b->FTransparentColor;
    FTransparentMode = b->FTransparentMode;
    Changed(this);
}

} // namespace host
