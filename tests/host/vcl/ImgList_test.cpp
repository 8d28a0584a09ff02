// Image lists: the window-system calls probed by pixels, and the component
// over them.
#include "host/rtl/Streams.h"
#include "host/vcl/Filer.h"
#include "host/vcl/ImgList.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace host;

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 128, 0),
                   kYellow = RGB(255, 255, 0), kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

// A 32-bit bitmap of W x H in one colour, with an optional rectangle in another.
HBITMAP MakeBitmap(int W, int H, COLORREF Fill, RECT Inner = {}, COLORREF InnerColor = 0)
{
    HBITMAP b = CreateBitmap(W, H, 1, 32, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, b);
    HBRUSH fill = CreateSolidBrush(Fill);
    RECT all{0, 0, W, H};
    FillRect(dc, &all, fill);
    DeleteObject(fill);
    if (Inner.right > Inner.left) {
        HBRUSH inner = CreateSolidBrush(InnerColor);
        FillRect(dc, &Inner, inner);
        DeleteObject(inner);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return b;
}

// A memory DC over a bitmap filled with one colour, freed at scope end.
struct TTarget {
    explicit TTarget(COLORREF Fill, int W = 10, int H = 10)
    {
        Bmp = MakeBitmap(W, H, Fill);
        Dc = CreateCompatibleDC(nullptr);
        Old = SelectObject(Dc, Bmp);
    }
    ~TTarget()
    {
        SelectObject(Dc, Old);
        DeleteDC(Dc);
        DeleteObject(Bmp);
    }
    COLORREF At(int X, int Y) const { return GetPixel(Dc, X, Y); }
    HBITMAP Bmp;
    HDC Dc;
    HGDIOBJ Old;
};

// A 4 x 4 image: red border (the mask colour) around a blue 2 x 2 centre.
HIMAGELIST MaskedList()
{
    HIMAGELIST l = ImageList_Create(4, 4, ILC_MASK | ILC_COLOR32, 1, 1);
    HBITMAP b = MakeBitmap(4, 4, kRed, RECT{1, 1, 3, 3}, kBlue);
    EXPECT_EQ(ImageList_AddMasked(l, b, kRed), 0);
    DeleteObject(b);
    return l;
}

TEST(ImageListTest, DrawExColoursAndStylesByPixel)
{
    HIMAGELIST l = MaskedList();
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    auto mix = [](COLORREF a, COLORREF b, int pctB) {
        auto ch = [&](int sa, int sb) { return (sa * (100 - pctB) + sb * pctB + 50) / 100; };
        return RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)), ch(GetBValue(a), GetBValue(b)));
    };
    struct Case {
        const char* Name;
        COLORREF Bk, Fg;
        UINT Style;
        COLORREF Edge, Centre;
    } cases[] = {
        {"none shows the target", CLR_NONE, CLR_NONE, ILD_NORMAL, kGreen, kBlue},
        {"colour fills the mask", kYellow, CLR_NONE, ILD_NORMAL, kYellow, kBlue},
        {"transparent beats the colour", kYellow, CLR_NONE, ILD_TRANSPARENT, kGreen, kBlue},
        {"default is the list's (none)", CLR_DEFAULT, CLR_NONE, ILD_NORMAL, kGreen, kBlue},
        {"mask alone", CLR_NONE, CLR_NONE, ILD_MASK, kWhite, kBlack},
        {"image ignores the mask", CLR_NONE, CLR_NONE, ILD_IMAGE, kBlack, kBlue},
        {"blend 50 with white", CLR_NONE, kWhite, ILD_BLEND50, kGreen, mix(kBlue, kWhite, 50)},
        {"blend 25 with red", CLR_NONE, kRed, ILD_BLEND25, kGreen, mix(kBlue, kRed, 25)},
        {"selected blends the highlight", CLR_NONE, CLR_DEFAULT, ILD_SELECTED, kGreen, mix(kBlue, highlight, 50)},
        {"blend with the target", CLR_NONE, CLR_NONE, ILD_FOCUS, kGreen, mix(kBlue, kGreen, 25)},
    };
    for (const Case& c : cases) {
        TTarget t(kGreen);
        ASSERT_TRUE(ImageList_DrawEx(l, 0, t.Dc, 3, 2, 0, 0, c.Bk, c.Fg, c.Style)) << c.Name;
        EXPECT_EQ(t.At(3, 2), c.Edge) << c.Name;
        EXPECT_EQ(t.At(4, 3), c.Centre) << c.Name;
        EXPECT_EQ(t.At(2, 2), kGreen) << c.Name << ": outside the image";
        EXPECT_EQ(t.At(7, 6), kGreen) << c.Name << ": past the image";
    }
    // The list's background colour stands in for CLR_DEFAULT.
    EXPECT_EQ(ImageList_SetBkColor(l, kYellow), CLR_NONE);
    EXPECT_EQ(ImageList_GetBkColor(l), kYellow);
    TTarget t(kGreen);
    ImageList_Draw(l, 0, t.Dc, 0, 0, ILD_NORMAL);
    EXPECT_EQ(t.At(0, 0), kYellow);
    ImageList_Destroy(l);
}

TEST(ImageListTest, PartialDrawAndUnmaskedListsAreOpaque)
{
    HIMAGELIST l = MaskedList();
    TTarget t(kGreen);
    ImageList_DrawEx(l, 0, t.Dc, 0, 0, 2, 2, kYellow, CLR_NONE, ILD_NORMAL);
    EXPECT_EQ(t.At(1, 1), kBlue);
    EXPECT_EQ(t.At(2, 2), kGreen);  // dx, dy of 2 stop before the rest
    ImageList_Destroy(l);

    HIMAGELIST plain = ImageList_Create(4, 4, ILC_COLOR32, 1, 1);
    HBITMAP b = MakeBitmap(4, 4, kRed, RECT{1, 1, 3, 3}, kBlue);
    EXPECT_EQ(ImageList_AddMasked(plain, b, kRed), 0);
    DeleteObject(b);
    TTarget u(kGreen);
    ImageList_DrawEx(plain, 0, u.Dc, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
    EXPECT_EQ(u.At(0, 0), kBlack);  // no mask: the keyed pixels stay (black)
    EXPECT_EQ(u.At(1, 1), kBlue);
    ImageList_Destroy(plain);
}

TEST(ImageListTest, AddStripRemoveReplaceAndMask)
{
    HIMAGELIST l = ImageList_Create(4, 4, ILC_MASK, 1, 1);
    // A strip of three cells: red, green, blue; a mask whose middle cell is clear.
    HBITMAP strip = CreateBitmap(12, 4, 1, 32, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, strip);
    const COLORREF cells[] = {kRed, kGreen, kBlue};
    for (int i = 0; i < 3; ++i) {
        HBRUSH br = CreateSolidBrush(cells[i]);
        RECT r{i * 4, 0, i * 4 + 4, 4};
        FillRect(dc, &r, br);
        DeleteObject(br);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    HBITMAP mask = MakeBitmap(12, 4, kBlack, RECT{4, 0, 8, 4}, kWhite);
    EXPECT_EQ(ImageList_Add(l, strip, mask), 0);
    EXPECT_EQ(ImageList_GetImageCount(l), 3);
    EXPECT_EQ(ImageList_Add(l, strip, nullptr), 3);
    EXPECT_EQ(ImageList_GetImageCount(l), 6);

    auto centre = [&](int i) {
        TTarget t(kYellow);
        ImageList_Draw(l, i, t.Dc, 0, 0, ILD_TRANSPARENT);
        return t.At(2, 2);
    };
    EXPECT_EQ(centre(0), kRed);
    EXPECT_EQ(centre(1), kYellow);  // clear in the mask
    EXPECT_EQ(centre(4), kGreen);   // added without a mask: opaque

    ASSERT_TRUE(ImageList_Remove(l, 0));
    EXPECT_EQ(ImageList_GetImageCount(l), 5);
    EXPECT_EQ(centre(1), kBlue);  // the others moved down
    HBITMAP white = MakeBitmap(4, 4, kWhite);
    ASSERT_TRUE(ImageList_Replace(l, 1, white, nullptr));
    EXPECT_EQ(centre(1), kWhite);
    EXPECT_FALSE(ImageList_Replace(l, 9, white, nullptr));
    EXPECT_FALSE(ImageList_Remove(l, 5));
    ASSERT_TRUE(ImageList_Remove(l, -1));
    EXPECT_EQ(ImageList_GetImageCount(l), 0);

    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(l, &cx, &cy));
    EXPECT_EQ(cx, 4);
    EXPECT_EQ(cy, 4);
    // A bitmap smaller than one image adds nothing.
    HBITMAP tiny = MakeBitmap(3, 4, kWhite);
    EXPECT_EQ(ImageList_Add(l, tiny, nullptr), -1);
    for (HBITMAP b : {strip, mask, white, tiny}) DeleteObject(b);
    ImageList_Destroy(l);
}

TEST(ImageListTest, StaleHandlesAndBadIndexesFailWithoutHarm)
{
    HIMAGELIST l = MaskedList();
    TTarget t(kGreen);
    EXPECT_FALSE(ImageList_Draw(l, 1, t.Dc, 0, 0, ILD_NORMAL));
    EXPECT_FALSE(ImageList_Draw(l, -1, t.Dc, 0, 0, ILD_NORMAL));
    EXPECT_TRUE(ImageList_Destroy(l));
    EXPECT_FALSE(ImageList_Destroy(l));
    EXPECT_FALSE(ImageList_Draw(l, 0, t.Dc, 0, 0, ILD_NORMAL));
    EXPECT_EQ(ImageList_GetImageCount(l), 0);
    EXPECT_EQ(ImageList_Create(0, 16, ILC_MASK, 1, 1), nullptr);
    EXPECT_EQ(t.At(0, 0), kGreen);
}

// ---- The component ------------------------------------------------------------------

std::unique_ptr<TBitmap, void (*)(TBitmap*)> Glyph(TColor Back, TColor Centre)
{
    std::unique_ptr<TBitmap, void (*)(TBitmap*)> b(new TBitmap, [](TBitmap* p) { p->Free(); });
    b->SetSize(4, 4);
    b->GetCanvas()->GetBrush()->SetColor(Back);
    b->GetCanvas()->FillRect(Rect(0, 0, 4, 4));
    b->GetCanvas()->GetBrush()->SetColor(Centre);
    b->GetCanvas()->FillRect(Rect(1, 1, 3, 3));
    return b;
}

struct TCanvasTarget {
    TCanvasTarget()
    {
        Bmp->SetSize(10, 10);
        Bmp->GetCanvas()->GetBrush()->SetColor(clGreen);
        Bmp->GetCanvas()->FillRect(Rect(0, 0, 10, 10));
    }
    ~TCanvasTarget() { Bmp->Free(); }
    TColor At(int X, int Y) { return Bmp->GetCanvas()->GetPixels(X, Y); }
    TBitmap* Bmp = new TBitmap;
};

TEST(TImageListTest, DrawingStylesAndColours)
{
    TImageList* list = new TImageList(nullptr, 4, 4);
    auto g = Glyph(clRed, clBlue);
    EXPECT_EQ(list->AddMasked(g.get(), clRed), 0);
    EXPECT_EQ(list->GetCount(), 1);
    struct Case {
        TDrawingStyle Style;
        TColor Bk, Blend;
        TImageType Type;
        TColor Edge, Centre;
    } cases[] = {
        {dsNormal, clNone, clNone, itImage, clGreen, clBlue},
        {dsNormal, clYellow, clNone, itImage, clYellow, clBlue},
        {dsTransparent, clYellow, clNone, itImage, clGreen, clBlue},
        {dsSelected, clNone, clWhite, itImage, clGreen, TColor(0xFF8080)},
        {dsNormal, clNone, clNone, itMask, clWhite, clBlack},
    };
    for (const Case& c : cases) {
        list->SetDrawingStyle(c.Style);
        list->SetBkColor(c.Bk);
        list->SetBlendColor(c.Blend);
        list->SetImageType(c.Type);
        TCanvasTarget t;
        list->Draw(t.Bmp->GetCanvas(), 2, 2, 0);
        EXPECT_EQ(t.At(2, 2), c.Edge) << int(c.Style) << " " << int(c.Type);
        EXPECT_EQ(t.At(3, 3), c.Centre) << int(c.Style) << " " << int(c.Type);
    }
    // An index out of range draws nothing; Delete checks it.
    TCanvasTarget t;
    list->Draw(t.Bmp->GetCanvas(), 0, 0, 3);
    EXPECT_EQ(t.At(1, 1), clGreen);
    EXPECT_THROW(list->Delete(3), EInvalidOperation);
    list->Free();
}

TEST(TImageListTest, SizeChangeEmptiesAndMaskChangeKeepsImages)
{
    TImageList* list = new TImageList(nullptr, 4, 4);
    int changes = 0;
    list->OnChange = [&](TObject*) { ++changes; };
    auto g = Glyph(clRed, clBlue);
    list->AddMasked(g.get(), clRed);
    list->AddMasked(g.get(), clDefault);  // the bitmap's own transparent colour: red
    EXPECT_EQ(changes, 2);
    list->SetMasked(false);
    EXPECT_EQ(list->GetCount(), 2);
    TCanvasTarget t;
    list->Draw(t.Bmp->GetCanvas(), 0, 0, 1);
    EXPECT_EQ(t.At(0, 0), clBlack);  // unmasked now: the keyed pixels show
    EXPECT_EQ(t.At(1, 1), clBlue);
    list->SetWidth(8);
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_THROW(list->SetHeight(0), EInvalidOperation);
    EXPECT_EQ(list->GetHeight(), 4);
    list->Free();
}

TEST(TImageListTest, ReplaceDeleteAndCopyBetweenLists)
{
    TImageList* list = new TImageList(nullptr, 4, 4);
    auto red = Glyph(clRed, clBlue);
    auto white = Glyph(clWhite, clYellow);
    for (int i = 0; i < 3; ++i) list->AddMasked(red.get(), clRed);
    list->ReplaceMasked(1, white.get(), clWhite);
    list->Replace(2, white.get(), nullptr);
    struct Case {
        int Index;
        TColor Edge, Centre;
    } cases[] = {{0, clGreen, clBlue}, {1, clGreen, clYellow}, {2, clWhite, clYellow}};
    auto check = [&](TCustomImageList* L, const char* What) {
        for (const Case& c : cases) {
            TCanvasTarget t;
            L->Draw(t.Bmp->GetCanvas(), 0, 0, c.Index);
            EXPECT_EQ(t.At(0, 0), c.Edge) << What << " " << c.Index;
            EXPECT_EQ(t.At(1, 1), c.Centre) << What << " " << c.Index;
        }
    };
    check(list, "replaced");
    TImageList* copy = new TImageList(nullptr);
    copy->Assign(list);
    EXPECT_EQ(copy->GetCount(), 3);
    check(copy, "assigned");
    // A blank slot is transparent until an image replaces it.
    EXPECT_EQ(list->Add(nullptr, nullptr), 3);
    TCanvasTarget blank;
    list->Draw(blank.Bmp->GetCanvas(), 0, 0, 3);
    EXPECT_EQ(blank.At(1, 1), clGreen);
    list->ReplaceMasked(3, red.get(), clRed);
    list->Draw(blank.Bmp->GetCanvas(), 0, 0, 3);
    EXPECT_EQ(blank.At(1, 1), clBlue);
    list->Delete(3);
    list->Delete(0);
    EXPECT_EQ(list->GetCount(), 2);
    EXPECT_THROW(list->Replace(2, white.get(), nullptr), EInvalidOperation);
    list->Clear();
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(copy->GetCount(), 3) << "the copy owns its own images";
    copy->Free();
    list->Free();
}

TEST(TImageListTest, ImagesAndPropertiesSurviveAFormFile)
{
    TImageList* list = new TImageList(nullptr, 4, 4);
    list->SetName("Images");
    auto a = Glyph(clRed, clBlue);
    auto b = Glyph(clWhite, clYellow);
    list->AddMasked(a.get(), clRed);
    list->Add(b.get(), nullptr);
    list->SetBkColor(clAqua);
    list->SetDrawingStyle(dsTransparent);
    std::string data = WriteComponentToString(list);
    EXPECT_NE(ObjectBinaryToText(data).find("DrawingStyle = dsTransparent"), std::string::npos);

    TImageList* copy = new TImageList(nullptr);
    ReadComponentFromString(data, copy);
    EXPECT_EQ(copy->GetWidth(), 4);
    EXPECT_EQ(copy->GetCount(), 2);
    EXPECT_EQ(copy->GetBkColor(), clAqua);
    EXPECT_EQ(copy->GetDrawingStyle(), dsTransparent);
    TCanvasTarget t;
    copy->Draw(t.Bmp->GetCanvas(), 0, 0, 0);
    copy->Draw(t.Bmp->GetCanvas(), 5, 5, 1);
    EXPECT_EQ(t.At(0, 0), clGreen);  // masked pixel stays transparent
    EXPECT_EQ(t.At(1, 1), clBlue);
    EXPECT_EQ(t.At(5, 5), clWhite);  // the unmasked image is opaque
    EXPECT_EQ(t.At(6, 6), clYellow);
    EXPECT_EQ(WriteComponentToString(copy), WriteComponentToString(list));

    // A truncated image block is refused, not read past its end.
    size_t at = data.find("KIL1");
    ASSERT_NE(at, std::string::npos);
    std::string cut = data;
    cut[at + 12] = char(50);  // claims 50 images
    TImageList* bad = new TImageList(nullptr);
    EXPECT_THROW(ReadComponentFromString(cut, bad), EReadError);
    bad->Free();
    copy->Free();
    list->Free();
}

} // namespace
