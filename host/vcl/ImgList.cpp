#include "host/vcl/ImgList.h"

#include <cstring>
#include <utility>
#include <vector>

#include "host/rtl/Streams.h"
#include "host/vcl/Filer.h"

namespace host {

namespace {

constexpr uint32_t kStreamTag = 0x314C494B;  // "KIL1"
constexpr int kMaxSide = 4096;

void CheckSize(int W, int H)
{
    if (W <= 0 || H <= 0 || W > kMaxSide || H > kMaxSide) throw EInvalidOperation("Invalid image size");
}

HIMAGELIST NewList(int W, int H, bool Masked, int AllocBy)
{
    HIMAGELIST h = ImageList_Create(W, H, (Masked ? ILC_MASK : 0) | ILC_COLORDDB, AllocBy, AllocBy);
    if (!h) throw EInvalidOperation("Invalid ImageList");
    return h;
}

// A bitmap of the strip cell Index, for handing images between lists.
void CopyCell(HBITMAP Strip, int Index, int W, int H, HBITMAP Target)
{
    HDC src = CreateCompatibleDC(nullptr);
    HDC dst = CreateCompatibleDC(nullptr);
    HGDIOBJ os = SelectObject(src, Strip);
    HGDIOBJ od = SelectObject(dst, Target);
    BitBlt(dst, 0, 0, W, H, src, Index * W, 0, SRCCOPY);
    SelectObject(src, os);
    SelectObject(dst, od);
    DeleteDC(src);
    DeleteDC(dst);
}

void CopyImage(HIMAGELIST From, int Index, HIMAGELIST To)
{
    IMAGEINFO info;
    int w = 0, h = 0;
    if (!ImageList_GetImageInfo(From, Index, &info) || !ImageList_GetIconSize(From, &w, &h)) return;
    HBITMAP image = CreateBitmap(w, h, 1, 32, nullptr);
    HBITMAP mask = info.hbmMask ? CreateBitmap(w, h, 1, 32, nullptr) : nullptr;
    CopyCell(info.hbmImage, Index, w, h, image);
    if (mask) CopyCell(info.hbmMask, Index, w, h, mask);
    ImageList_Add(To, image, mask);
    DeleteObject(image);
    if (mask) DeleteObject(mask);
}

} // namespace

COLORREF GetRGBColor(TColor Value)
{
    if (Value == clNone) return CLR_NONE;
    if (Value == clDefault) return CLR_DEFAULT;
    return ColorToRGB(Value);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, int AWidth, int AHeight) : TComponent(AOwner)
{
    CheckSize(AWidth, AHeight);
    FWidth = AWidth;
    FHeight = AHeight;
}

TCustomImageList* TCustomImageList::CreateSize(int AWidth, int AHeight)
{
    return new TCustomImageList(nullptr, AWidth, AHeight);
}

void TCustomImageList::Destroy()
{
    FreeHandle();
    inherited::Destroy();
}

void TCustomImageList::FreeHandle()
{
    if (FHandle && !FShareImages) ImageList_Destroy(FHandle);
    FHandle = nullptr;
}

HIMAGELIST TCustomImageList::GetHandle()
{
    if (!FHandle) {
        FHandle = NewList(FWidth, FHeight, FMasked, FAllocBy);
        ImageList_SetBkColor(FHandle, GetRGBColor(FBkColor));
    }
    return FHandle;
}

void TCustomImageList::SetHandle(HIMAGELIST Value)
{
    if (Value == FHandle) return;
    FreeHandle();
    FHandle = Value;
    int w = 0, h = 0;
    if (FHandle && ImageList_GetIconSize(FHandle, &w, &h)) {
        FWidth = w;
        FHeight = h;
        COLORREF bk = ImageList_GetBkColor(FHandle);
        FBkColor = bk == CLR_NONE ? clNone : TColor(bk);
    }
    Change();
}

bool TCustomImageList::HasImages() const { return FHandle && ImageList_GetImageCount(FHandle) > 0; }

void TCustomImageList::Rebuild(HIMAGELIST Old, bool KeepImages)
{
    FHandle = NewList(FWidth, FHeight, FMasked, FAllocBy);
    ImageList_SetBkColor(FHandle, GetRGBColor(FBkColor));
    if (Old && KeepImages)
        for (int i = 0; i < ImageList_GetImageCount(Old); ++i) CopyImage(Old, i, FHandle);
    if (Old && !FShareImages) ImageList_Destroy(Old);
}

void TCustomImageList::SetWidth(int Value)
{
    if (Value == FWidth) return;
    CheckSize(Value, FHeight);
    FWidth = Value;
    // Images of another size cannot be kept: the list starts empty.
    if (FHandle) Rebuild(std::exchange(FHandle, nullptr), false);
    Change();
}

void TCustomImageList::SetHeight(int Value)
{
    if (Value == FHeight) return;
    CheckSize(FWidth, Value);
    FHeight = Value;
    if (FHandle) Rebuild(std::exchange(FHandle, nullptr), false);
    Change();
}

void TCustomImageList::SetMasked(bool Value)
{
    if (Value == FMasked) return;
    FMasked = Value;
    if (FHandle) Rebuild(std::exchange(FHandle, nullptr), true);
    Change();
}

void TCustomImageList::SetBkColor(TColor Value)
{
    if (Value == FBkColor) return;
    FBkColor = Value;
    if (FHandle) ImageList_SetBkColor(FHandle, GetRGBColor(Value));
    Change();
}

void TCustomImageList::SetBlendColor(TColor Value)
{
    if (Value == FBlendColor) return;
    FBlendColor = Value;
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value)
{
    if (Value == FDrawingStyle) return;
    FDrawingStyle = Value;
    Change();
}

void TCustomImageList::SetImageType(TImageType Value)
{
    if (Value == FImageType) return;
    FImageType = Value;
    Change();
}

void TCustomImageList::Change()
{
    if (OnChange) OnChange(this);
}

int TCustomImageList::GetCount() { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

void TCustomImageList::CheckIndex(int Index) const
{
    if (Index < 0 || !FHandle || Index >= ImageList_GetImageCount(FHandle))
        throw EInvalidOperation("Invalid ImageList Index");
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask)
{
    if (!Image) {
        // No image: a blank, transparent slot to fill later with Replace.
        HIMAGELIST h = GetHandle();
        int index = ImageList_GetImageCount(h);
        if (!ImageList_SetImageCount(h, UINT(index + 1)))
            throw EInvalidOperation("Failed to add image to the ImageList");
        Change();
        return index;
    }
    int r = ImageList_Add(GetHandle(), Image->GetHandle(), Mask ? Mask->GetHandle() : nullptr);
    if (r < 0) throw EInvalidOperation("Failed to add image to the ImageList");
    Change();
    return r;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor)
{
    if (!Image) return -1;
    if (MaskColor == clDefault) MaskColor = Image->GetTransparentColor();
    int r = ImageList_AddMasked(GetHandle(), Image->GetHandle(), ColorToRGB(MaskColor));
    if (r < 0) throw EInvalidOperation("Failed to add image to the ImageList");
    Change();
    return r;
}

void TCustomImageList::AddImages(TCustomImageList* Value)
{
    if (!Value || Value == this || !Value->FHandle) return;
    if (Value->FWidth != FWidth || Value->FHeight != FHeight) throw EInvalidOperation("Invalid image size");
    for (int i = 0; i < Value->GetCount(); ++i) CopyImage(Value->FHandle, i, GetHandle());
    Change();
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask)
{
    CheckIndex(Index);
    if (!Image) return;
    if (!ImageList_Replace(FHandle, Index, Image->GetHandle(), Mask ? Mask->GetHandle() : nullptr))
        throw EInvalidOperation("Failed to replace image in the ImageList");
    Change();
}

void TCustomImageList::ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor)
{
    CheckIndex(Index);
    if (!NewImage) return;
    // Builds the image through a one-image list so the mask rule stays in one place.
    HIMAGELIST tmp = NewList(FWidth, FHeight, true, 1);
    if (MaskColor == clDefault) MaskColor = NewImage->GetTransparentColor();
    ImageList_AddMasked(tmp, NewImage->GetHandle(), ColorToRGB(MaskColor));
    IMAGEINFO info;
    if (ImageList_GetImageInfo(tmp, 0, &info)) {
        HBITMAP image = CreateBitmap(FWidth, FHeight, 1, 32, nullptr);
        HBITMAP mask = CreateBitmap(FWidth, FHeight, 1, 32, nullptr);
        CopyCell(info.hbmImage, 0, FWidth, FHeight, image);
        CopyCell(info.hbmMask, 0, FWidth, FHeight, mask);
        ImageList_Replace(FHandle, Index, image, mask);
        DeleteObject(image);
        DeleteObject(mask);
    }
    ImageList_Destroy(tmp);
    Change();
}

void TCustomImageList::Delete(int Index)
{
    CheckIndex(Index);
    ImageList_Remove(FHandle, Index);
    Change();
}

void TCustomImageList::Clear()
{
    if (FHandle) ImageList_Remove(FHandle, -1);
    Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index)
{
    if (!Canvas || !FHandle || Index < 0 || Index >= GetCount()) return;
    static const UINT styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
    UINT style = styles[FDrawingStyle];
    if (FImageType == itMask) style |= ILD_MASK;
    DoDraw(Index, Canvas, X, Y, style);
}

void TCustomImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style)
{
    Canvas->RequiredState(TCanvasState{csHandleValid});
    ImageList_DrawEx(FHandle, Index, Canvas->GetHandle(), X, Y, 0, 0, GetRGBColor(FBkColor),
                     GetRGBColor(FBlendColor), Style);
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image)
{
    if (!Image) return;
    CheckIndex(Index);
    Image->SetSize(FWidth, FHeight);
    Image->GetCanvas()->GetBrush()->SetColor(FBkColor == clNone ? clBtnFace : FBkColor);
    Image->GetCanvas()->FillRect(Rect(0, 0, FWidth, FHeight));
    ImageList_Draw(FHandle, Index, Image->GetCanvas()->GetHandle(), 0, 0, ILD_NORMAL);
    Image->Changed(Image);
}

void TCustomImageList::Assign(TPersistent* Source)
{
    auto* list = dynamic_cast<TCustomImageList*>(Source);
    if (!list) {
        inherited::Assign(Source);
        return;
    }
    FreeHandle();
    FWidth = list->FWidth;
    FHeight = list->FHeight;
    FMasked = list->FMasked;
    FBkColor = list->FBkColor;
    FBlendColor = list->FBlendColor;
    FDrawingStyle = list->FDrawingStyle;
    FImageType = list->FImageType;
    FAllocBy = list->FAllocBy;
    FShareImages = false;
    GetHandle();
    AddImages(list);
    Change();
}

// ---- Streaming -------------------------------------------------------------------------

// The images stream as a tag, width, height, count and mask flag (32-bit
// little-endian), then the image pixels and, when masked, one byte per pixel
// of the mask (1 = transparent), image after image.
void TCustomImageList::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineBinaryProperty("Bitmap", TStreamProc(this, &TCustomImageList::ReadData),
                                TStreamProc(this, &TCustomImageList::WriteData), HasImages());
}

namespace {

void WriteInt(TStream* S, uint32_t V)
{
    uint8_t b[4] = {uint8_t(V), uint8_t(V >> 8), uint8_t(V >> 16), uint8_t(V >> 24)};
    S->WriteBuffer(b, 4);
}

uint32_t ReadInt(TStream* S)
{
    uint8_t b[4];
    S->ReadBuffer(b, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

// Pixel access to a list's strips for streaming.
uint32_t* StripBits(HBITMAP Strip, int& Stride)
{
    DIBSECTION ds{};
    if (GetObject(Strip, sizeof ds, &ds) < int(sizeof(BITMAP)) || !ds.dsBm.bmBits) return nullptr;
    Stride = ds.dsBm.bmWidth;
    return static_cast<uint32_t*>(ds.dsBm.bmBits);
}

} // namespace

void TCustomImageList::WriteData(TStream* Stream)
{
    int count = GetCount();
    WriteInt(Stream, kStreamTag);
    WriteInt(Stream, uint32_t(FWidth));
    WriteInt(Stream, uint32_t(FHeight));
    WriteInt(Stream, uint32_t(count));
    WriteInt(Stream, FMasked ? 1 : 0);
    for (int i = 0; i < count; ++i) {
        IMAGEINFO info;
        ImageList_GetImageInfo(FHandle, i, &info);
        int stride = 0, mstride = 0;
        uint32_t* img = StripBits(info.hbmImage, stride);
        uint32_t* msk = info.hbmMask ? StripBits(info.hbmMask, mstride) : nullptr;
        if (!img) throw EWriteError("Failed to write ImageList data to stream");
        for (int y = 0; y < FHeight; ++y) {
            for (int x = 0; x < FWidth; ++x) WriteInt(Stream, img[size_t(y) * stride + i * FWidth + x] & 0xFFFFFF);
            if (!FMasked) continue;
            for (int x = 0; x < FWidth; ++x) {
                uint8_t m = msk && (msk[size_t(y) * mstride + i * FWidth + x] & 0xFFFFFF) ? 1 : 0;
                Stream->WriteBuffer(&m, 1);
            }
        }
    }
}

void TCustomImageList::ReadData(TStream* Stream)
{
    static const char* kBad = "Failed to read ImageList data from stream";
    if (ReadInt(Stream) != kStreamTag) throw EReadError(kBad);
    int w = int(ReadInt(Stream)), h = int(ReadInt(Stream));
    uint32_t count = ReadInt(Stream);
    bool masked = ReadInt(Stream) != 0;
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) throw EReadError(kBad);
    int64_t perImage = int64_t(w) * h * (4 + (masked ? 1 : 0));
    if (perImage * count > Stream->GetSize() - Stream->GetPosition()) throw EReadError(kBad);
    FreeHandle();
    FWidth = w;
    FHeight = h;
    FMasked = masked;
    GetHandle();
    std::vector<uint32_t> image(size_t(w) * h), mask(size_t(w) * h);
    for (uint32_t i = 0; i < count; ++i) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) image[size_t(y) * w + x] = ReadInt(Stream) & 0xFFFFFF;
            for (int x = 0; masked && x < w; ++x) {
                uint8_t m;
                Stream->ReadBuffer(&m, 1);
                mask[size_t(y) * w + x] = m ? 0xFFFFFF : 0;
            }
        }
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = w;
        bmi.bmiHeader.biHeight = -h;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        HBITMAP ib = CreateBitmap(w, h, 1, 32, nullptr);
        HBITMAP mb = masked ? CreateBitmap(w, h, 1, 32, nullptr) : nullptr;
        SetDIBits(nullptr, ib, 0, UINT(h), image.data(), &bmi, DIB_RGB_COLORS);
        if (mb) SetDIBits(nullptr, mb, 0, UINT(h), mask.data(), &bmi, DIB_RGB_COLORS);
        ImageList_Add(FHandle, ib, mb);
        DeleteObject(ib);
        if (mb) DeleteObject(mb);
    }
    Change();
}

HOST_PUBLISHED(TImageList)
{
    P.Property("AllocBy", &TImageList::GetAllocBy, &TImageList::SetAllocBy).Default(4);
    P.Property("BkColor", &TImageList::GetBkColor, &TImageList::SetBkColor).Type(ColorTypeInfo()).Default(clNone);
    P.Property("BlendColor", &TImageList::GetBlendColor, &TImageList::SetBlendColor)
        .Type(ColorTypeInfo())
        .Default(clNone);
    P.Property("DrawingStyle", &TImageList::GetDrawingStyle, &TImageList::SetDrawingStyle).Default(dsNormal);
    P.Property("Height", &TImageList::GetHeight, &TImageList::SetHeight).Default(16);
    P.Property("ImageType", &TImageList::GetImageType, &TImageList::SetImageType).Default(itImage);
    P.Property("Masked", &TImageList::GetMasked, &TImageList::SetMasked).Default(true);
    P.Property("ShareImages", &TImageList::GetShareImages, &TImageList::SetShareImages).Default(false);
    P.Property("Width", &TImageList::GetWidth, &TImageList::SetWidth).Default(16);
    P.Property("OnChange", &TImageList::OnChange);
}

HOST_REGISTER_CLASSES(TImageList);

} // namespace host
