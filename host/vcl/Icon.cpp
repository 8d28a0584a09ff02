// TIcon: an icon image with its transparency mask.
#include <algorithm>

#include "host/gdi/Ico.h"
#include "host/gdi/Image.h"
#include "host/rtl/Resources.h"
#include "host/rtl/Streams.h"
#include "host/vcl/Graphics.h"

namespace host {

struct TIcon::TIconData {
    TImageData Image;
    // The file as loaded, saved back unchanged.
    std::vector<uint8_t> FileBytes;
};

TIcon::TIcon() : FData(std::make_shared<TIconData>()) { FTransparent = true; }

TIcon::~TIcon() = default;

bool TIcon::GetEmpty() const { return FData->Image.Empty(); }
int TIcon::GetWidth() const { return FData->Image.Width; }
int TIcon::GetHeight() const { return FData->Image.Height; }

void TIcon::SetWidth(int) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }
void TIcon::SetHeight(int) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }

void TIcon::Assign(TPersistent* Source)
{
    if (!Source) {
        FData = std::make_shared<TIconData>();
        return Changed(this);
    }
    auto* i = dynamic_cast<TIcon*>(Source);
    if (!i) return inherited::Assign(Source);
    if (i == this) return;
    // Icon data is never changed in place, so copies share it.
    FData = i->FData;
    Changed(this);
}

void TIcon::LoadFromStream(TStream* Stream)
{
    int64_t size = Stream->GetSize() - Stream->GetPosition();
    auto data = std::make_shared<TIconData>();
    data->FileBytes.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    if (size > 0) Stream->ReadBuffer(data->FileBytes.data(), size);
    if (DetectImageFormat(data->FileBytes.data(), data->FileBytes.size()) != TImageFormat::Ico)
        throw EInvalidGraphic("Icon image is not valid");
    data->Image = LoadIco(data->FileBytes.data(), data->FileBytes.size(), 0, 0);
    FData = std::move(data);
    Changed(this);
}

void TIcon::SaveToStream(TStream* Stream)
{
    if (GetEmpty()) return;
    std::vector<uint8_t> bytes = FData->FileBytes.empty() ? SaveIco({FData->Image}) : FData->FileBytes;
    Stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TIcon::LoadFromResourceName(const std::string& ResName)
{
    auto res = FindResourceData(TResType::Icon, ResName);
    if (!res) throw EResNotFound("Resource " + ResName + " not found");
    TMemoryStream ms;
    ms.WriteBuffer(res->data(), static_cast<int64_t>(res->size()));
    ms.SetPosition(0);
    LoadFromStream(&ms);
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (!ACanvas || GetEmpty()) return;
    const TImageData& im = FData->Image;
    // The icon's own rules: AND with the mask, then XOR with the image whose
    // transparent pixels are black. Half-opaque pixels count as opaque.
    TImageData andMask = im, xorImage = im;
    andMask.Alpha.clear();
    xorImage.Alpha.clear();
    for (int y = 0; y < im.Height; ++y)
        for (int x = 0; x < im.Width; ++x) {
            size_t i = static_cast<size_t>(y) * im.Width + x;
            bool opaque = im.AlphaAt(x, y) >= 128;
            andMask.Pixels[i] = opaque ? 0x000000 : 0xFFFFFF;
            if (!opaque) xorImage.Pixels[i] = 0;
        }
    HBITMAP maskBmp = CreateBitmapFromImage(andMask);
    HBITMAP imageBmp = CreateBitmapFromImage(xorImage);
    HDC mem = CreateCompatibleDC(nullptr);
    ACanvas->RequiredState(csAllValid);
    HDC dst = ACanvas->GetHandle();
    int dw = Rect.right - Rect.left, dh = Rect.bottom - Rect.top;
    HGDIOBJ old = SelectObject(mem, maskBmp);
    StretchBlt(dst, Rect.left, Rect.top, dw, dh, mem, 0, 0, im.Width, im.Height, SRCAND);
    SelectObject(mem, imageBmp);
    StretchBlt(dst, Rect.left, Rect.top, dw, dh, mem, 0, 0, im.Width, im.Height, SRCINVERT);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(maskBmp);
    DeleteObject(imageBmp);
}

} // namespace host
