// Graphics streamed with components, icons with masks, monochrome conversion.
#include <gtest/gtest.h>

#include "host/gdi/Bmp.h"
#include "host/gdi/Ico.h"
#include "host/rtl/Resources.h"
#include "host/rtl/Streams.h"
#include "host/vcl/Filer.h"
#include "host/vcl/Graphics.h"

using namespace host;

namespace graphicstest {

class TPictureHolder : public TComponent {
    HOST_CLASS(TPictureHolder, TComponent)
public:
    explicit TPictureHolder(TComponent* AOwner) : TComponent(AOwner) {}
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TPicture* GetPicture() const { return FPicture.get(); }
    void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }

private:
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
    std::unique_ptr<TPicture> FPicture = std::make_unique<TPicture>();
    TColor FColor = clWindow;
};

HOST_PUBLISHED(TPictureHolder)
{
    P.Property("Color", &TPictureHolder::GetColor, &TPictureHolder::SetColor).Type(ColorTypeInfo()).Default(clWindow);
    P.Property("Font", &TPictureHolder::GetFont, &TPictureHolder::SetFont);
    P.Property("Picture", &TPictureHolder::GetPicture, &TPictureHolder::SetPicture);
}

HOST_REGISTER_CLASSES(TPictureHolder);

} // namespace graphicstest

using graphicstest::TPictureHolder;

TEST(GraphicsStreaming, FontAndPictureStreamAsSubObjects)
{
    TPictureHolder* src = new TPictureHolder(nullptr);
    src->SetName("Holder");
    src->SetColor(clRed);
    src->GetFont()->SetName("Arial");
    src->GetFont()->SetStyle(TFontStyles{fsBold, fsItalic});
    TBitmap* bmp = src->GetPicture()->GetBitmap();
    bmp->SetSize(3, 2);
    bmp->GetCanvas()->SetPixels(2, 1, clPurple);
    std::string binary = WriteComponentToString(src);
    std::string text = ObjectBinaryToText(binary);
    EXPECT_NE(text.find("Color = clRed"), std::string::npos) << text;
    EXPECT_NE(text.find("Font.Name = 'Arial'"), std::string::npos) << text;
    EXPECT_NE(text.find("Font.Style = [fsBold, fsItalic]"), std::string::npos) << text;
    EXPECT_NE(text.find("Picture.Data"), std::string::npos) << text;

    TPictureHolder* dst = new TPictureHolder(nullptr);
    ReadComponentFromString(binary, dst);
    EXPECT_EQ(dst->GetColor(), clRed);
    EXPECT_EQ(dst->GetFont()->GetName(), "Arial");
    EXPECT_EQ(dst->GetFont()->GetStyle(), (TFontStyles{fsBold, fsItalic}));
    auto* back = dynamic_cast<TBitmap*>(dst->GetPicture()->GetGraphic());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetWidth(), 3);
    EXPECT_EQ(back->GetCanvas()->GetPixels(2, 1), clPurple);
    src->Free();
    dst->Free();
}

TEST(Icon, DrawsThroughItsMask)
{
    TImageData im;
    AllocateImage(im, 4, 4, "icon");
    im.Alpha.assign(16, 255);
    for (int i = 0; i < 16; ++i) im.Pixels[i] = 0x0000FF; // blue, 0x00RRGGBB
    im.Alpha[0] = 0;                                    // top-left transparent
    std::vector<uint8_t> file = SaveIco({im});
    TMemoryStream ms;
    ms.WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
    ms.SetPosition(0);
    TIcon icon;
    icon.LoadFromStream(&ms);
    EXPECT_EQ(icon.GetWidth(), 4);
    EXPECT_THROW(icon.SetWidth(8), EInvalidGraphicOperation);

    TBitmap dst;
    dst.SetSize(10, 10);
    dst.GetCanvas()->GetBrush()->SetColor(clYellow);
    dst.GetCanvas()->FillRect(Rect(0, 0, 10, 10));
    dst.GetCanvas()->Draw(2, 2, &icon);
    EXPECT_EQ(dst.GetCanvas()->GetPixels(2, 2), clYellow);
    EXPECT_EQ(dst.GetCanvas()->GetPixels(3, 2), clBlue);
    EXPECT_EQ(dst.GetCanvas()->GetPixels(5, 5), clBlue);
    EXPECT_EQ(dst.GetCanvas()->GetPixels(6, 6), clYellow);

    TMemoryStream saved;
    icon.SaveToStream(&saved);
    EXPECT_EQ(saved.GetSize(), static_cast<int64_t>(file.size()));
}

TEST(Bitmap, MonochromeConversionKeepsTheBrushColourWhite)
{
    struct Case {
        bool UseMask;
        TColor Background;
    } cases[] = {{false, clFuchsia}, {true, clFuchsia}};
    for (const Case& c : cases) {
        TBitmap b;
        b.SetSize(4, 1);
        TCanvas* cv = b.GetCanvas();
        cv->SetPixels(0, 0, clFuchsia);
        cv->SetPixels(1, 0, clWhite);
        cv->SetPixels(2, 0, clBlack);
        cv->SetPixels(3, 0, clFuchsia);
        if (c.UseMask) {
            b.Mask(c.Background);
        } else {
            cv->GetBrush()->SetColor(c.Background);
            b.SetMonochrome(true);
        }
        EXPECT_TRUE(b.GetMonochrome());
        EXPECT_EQ(b.GetPixelFormat(), pf1bit);
        EXPECT_EQ(b.GetCanvas()->GetPixels(0, 0), clWhite);
        EXPECT_EQ(b.GetCanvas()->GetPixels(1, 0), clBlack) << "white is not the background";
        EXPECT_EQ(b.GetCanvas()->GetPixels(2, 0), clBlack);
        EXPECT_EQ(b.GetCanvas()->GetPixels(3, 0), clWhite);
        EXPECT_THROW(b.ScanLine(0), EInvalidGraphicOperation);
    }
}

TEST(Bitmap, DormantScanLineAndReleaseKeepPixels)
{
    TBitmap b;
    b.SetSize(3, 3);
    b.ScanLine(1)[2] = 0x00FF0000; // red in 0x00RRGGBB
    EXPECT_EQ(b.GetCanvas()->GetPixels(2, 1), clRed);
    b.Dormant();
    EXPECT_FALSE(b.HandleAllocated());
    EXPECT_EQ(b.GetCanvas()->GetPixels(2, 1), clRed);
    HBITMAP h = b.ReleaseHandle();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(b.GetCanvas()->GetPixels(2, 1), clRed) << "the bitmap keeps a copy";
    DeleteObject(h);
    b.SetWidth(5);
    EXPECT_EQ(b.GetCanvas()->GetPixels(2, 1), clRed) << "resizing keeps the picture";
    EXPECT_EQ(b.GetCanvas()->GetPixels(4, 1), clWhite);
    EXPECT_THROW(b.ScanLine(3), EInvalidGraphicOperation);
}

TEST(Bitmap, LoadsRegisteredResources)
{
    TImageData im;
    AllocateImage(im, 2, 2, "bitmap");
    im.Pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    static const std::vector<uint8_t> file = SaveBmp(im, 24);
    RegisterResource(TResType::Bitmap, "GRAPHICSTESTBMP",
                     std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
    TBitmap b;
    b.LoadFromResourceName("graphicstestbmp");
    EXPECT_EQ(b.GetWidth(), 2);
    EXPECT_EQ(b.GetCanvas()->GetPixels(0, 0), clRed);
    EXPECT_EQ(b.GetCanvas()->GetPixels(0, 1), clBlue);
    EXPECT_THROW(b.LoadFromResourceName("NO_SUCH_BITMAP"), EResNotFound);
    UnregisterResource(TResType::Bitmap, "GRAPHICSTESTBMP");
}

TEST(Picture, AssignCopiesAndAccessorsForceTheKind)
{
    TPicture a, b;
    a.GetBitmap()->SetSize(2, 2);
    b.Assign(&a);
    ASSERT_NE(dynamic_cast<TBitmap*>(b.GetGraphic()), nullptr);
    EXPECT_NE(b.GetGraphic(), a.GetGraphic());
    b.GetBitmap()->GetCanvas()->SetPixels(0, 0, clRed);
    EXPECT_EQ(a.GetBitmap()->GetCanvas()->GetPixels(0, 0), clWhite);
    TMetafile* m = b.GetMetafile();
    EXPECT_EQ(b.GetGraphic(), m);
    EXPECT_TRUE(m->GetEmpty());
    b.Assign(nullptr);
    EXPECT_EQ(b.GetGraphic(), nullptr);
}
