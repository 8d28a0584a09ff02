#include "host/vcl/Clipbrd.h"

#include "host/rtl/Streams.h"
#include "host/vcl/Filer.h"
#include "host/win/Screen.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace host;

class TClipNote : public TComponent {
    HOST_CLASS(TClipNote, TComponent)
public:
    explicit TClipNote(TComponent* AOwner) : TComponent(AOwner) {}
    std::string FText;
    int FCount = 0;
};

HOST_PUBLISHED(TClipNote)
{
    P.Property("Count", &TClipNote::FCount).Default(0);
    P.Property("Text", &TClipNote::FText);
}

HOST_REGISTER_CLASSES(TClipNote);

class ClipbrdTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem(SIZE{320, 240});
        Clipboard()->Clear();
    }
    void TearDown() override
    {
        while (Clipboard()->GetOpenRefCount() > 0) Clipboard()->Close();
        Clipboard()->Clear();
    }
    std::vector<UINT> Formats()
    {
        std::vector<UINT> f;
        for (int i = 0; i < Clipboard()->GetFormatCount(); ++i) f.push_back(Clipboard()->GetFormats(i));
        return f;
    }
};

TBitmap* MakeBitmap(int W, int H)
{
    auto* b = new TBitmap();
    b->SetSize(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) b->GetCanvas()->SetPixels(x, y, TColor((x * 40) | (y * 70) << 8 | 0x300000));
    return b;
}

void ExpectSamePixels(TBitmap* A, TBitmap* B)
{
    ASSERT_EQ(A->GetWidth(), B->GetWidth());
    ASSERT_EQ(A->GetHeight(), B->GetHeight());
    for (int y = 0; y < A->GetHeight(); ++y)
        for (int x = 0; x < A->GetWidth(); ++x)
            ASSERT_EQ(A->GetCanvas()->GetPixels(x, y), B->GetCanvas()->GetPixels(x, y)) << x << "," << y;
}

TEST_F(ClipbrdTest, TextRoundTrips)
{
    const std::string cases[] = {"", "hello", "two\r\nlines", "caf\xC3\xA9 \xE2\x82\xAC", std::string(5000, 'x')};
    for (const std::string& text : cases) {
        Clipboard()->SetAsText(text);
        EXPECT_EQ(Clipboard()->GetAsText(), text);
        EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
        EXPECT_EQ(Formats(), std::vector<UINT>{CF_TEXT});
    }
}

TEST_F(ClipbrdTest, TextBufferIsCutToItsSize)
{
    Clipboard()->SetTextBuf("abcdef");
    struct { int size; int copied; const char* text; } cases[] = {
        {10, 6, "abcdef"}, {7, 6, "abcdef"}, {4, 3, "abc"}, {1, 0, ""},
    };
    for (auto c : cases) {
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(Clipboard()->GetTextBuf(buffer, c.size), c.copied);
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(buffer[c.size], '#') << "wrote past the buffer of " << c.size;
    }
    EXPECT_EQ(Clipboard()->GetTextBuf(nullptr, 5), 0);
}

// A writer that leaves no terminating NUL must not make readers run off
// the block.
TEST_F(ClipbrdTest, TextWithoutTerminatorEndsAtTheBlock)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 3);
    std::memcpy(GlobalLock(block), "xyz", 3);
    GlobalUnlock(block);
    Clipboard()->SetAsHandle(CF_TEXT, block);
    EXPECT_EQ(Clipboard()->GetAsText(), "xyz");
}

TEST_F(ClipbrdTest, OpenPairCollectsFormatsOtherwiseEachSetReplaces)
{
    UINT custom = RegisterClipboardFormat("Test Records");
    EXPECT_EQ(custom, RegisterClipboardFormat("test records")) << "registration ignores case";
    const char data[] = {1, 2, 0, 4};

    Clipboard()->Open();
    Clipboard()->SetAsText("row");
    Clipboard()->Open();
    Clipboard()->SetBuffer(custom, data, sizeof data);
    Clipboard()->Close();
    EXPECT_EQ(Clipboard()->GetOpenRefCount(), 1);
    Clipboard()->Close();
    EXPECT_EQ(Formats(), (std::vector<UINT>{CF_TEXT, custom}));
    EXPECT_EQ(Clipboard()->GetBuffer(custom), (std::vector<uint8_t>{1, 2, 0, 4}));
    EXPECT_EQ(Clipboard()->GetAsText(), "row");

    Clipboard()->SetAsText("alone");
    EXPECT_EQ(Formats(), std::vector<UINT>{CF_TEXT});
    EXPECT_FALSE(Clipboard()->HasFormat(custom));
    EXPECT_TRUE(Clipboard()->GetBuffer(custom).empty());
    EXPECT_EQ(Clipboard()->GetFormats(5), 0u);
}

TEST_F(ClipbrdTest, ClipboardHeldByAnotherWindowRaises)
{
    WNDCLASS wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = "ClipOwner";
    RegisterClass(&wc);
    HWND other = CreateWindowEx(0, "ClipOwner", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, HInstance(), nullptr);
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(OpenClipboard(other));
    EXPECT_THROW(Clipboard()->SetAsText("x"), Exception);
    EXPECT_EQ(Clipboard()->GetOpenRefCount(), 0);
    CloseClipboard();
    Clipboard()->SetAsText("x");
    EXPECT_EQ(Clipboard()->GetAsText(), "x");
    DestroyWindow(other);
}

TEST_F(ClipbrdTest, BitmapGoesAsBitmapAndDibAndComesBackIntoAPicture)
{
    TBitmap* source = MakeBitmap(5, 3);
    Clipboard()->Assign(source);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_PICTURE));

    TPicture picture;
    picture.Assign(Clipboard());
    ASSERT_NE(dynamic_cast<TBitmap*>(picture.GetGraphic()), nullptr);
    ExpectSamePixels(source, picture.GetBitmap());

    // The clipboard keeps its own copy: changing the source later is not seen.
    source->GetCanvas()->SetPixels(0, 0, clRed);
    TBitmap again;
    again.Assign(Clipboard());
    EXPECT_NE(again.GetCanvas()->GetPixels(0, 0), clRed);
    source->Free();
}

TEST_F(ClipbrdTest, BitmapHandleAloneIsReadAndStaysTheClipboards)
{
    TBitmap* source = MakeBitmap(4, 4);
    HBITMAP handle = source->ReleaseHandle();
    Clipboard()->SetAsHandle(CF_BITMAP, handle);
    TBitmap copy;
    copy.Assign(Clipboard());
    ExpectSamePixels(source, &copy);
    EXPECT_EQ(Clipboard()->GetAsHandle(CF_BITMAP), handle);
    BITMAP bm;
    EXPECT_NE(GetObject(handle, sizeof bm, &bm), 0) << "the clipboard's bitmap was freed by the reader";
    source->Free();
}

TEST_F(ClipbrdTest, MetafileRoundTripsAndDrawsTheSame)
{
    TMetafile meta;
    meta.SetWidth(20);
    meta.SetHeight(10);
    {
        TMetafileCanvas canvas(&meta, nullptr);
        canvas.GetBrush()->SetColor(clBlue);
        canvas.Rectangle(2, 2, 18, 8);
        canvas.MoveTo(0, 9);
        canvas.LineTo(19, 9);
    }
    Clipboard()->Assign(&meta);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_METAFILEPICT));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_PICTURE));

    TPicture picture;
    picture.Assign(Clipboard());
    TMetafile* back = dynamic_cast<TMetafile*>(picture.GetGraphic());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetRecordCount(), meta.GetRecordCount());

    TBitmap a, b;
    a.SetSize(20, 10);
    b.SetSize(20, 10);
    a.GetCanvas()->Draw(0, 0, &meta);
    b.GetCanvas()->Draw(0, 0, back);
    ExpectSamePixels(&a, &b);
}

TEST_F(ClipbrdTest, PictureFromWrongOrCorruptDataRaises)
{
    TPicture picture;
    Clipboard()->SetAsText("not a picture");
    EXPECT_THROW(picture.Assign(Clipboard()), EInvalidGraphic);
    TBitmap bitmap;
    EXPECT_THROW(bitmap.Assign(Clipboard()), EInvalidGraphic);

    const uint8_t junk[] = {40, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 32, 0};
    Clipboard()->SetBuffer(CF_DIB, junk, sizeof junk);
    EXPECT_THROW(picture.Assign(Clipboard()), EInvalidGraphic);
    Clipboard()->SetBuffer(CF_METAFILEPICT, junk, sizeof junk);
    EXPECT_THROW(picture.Assign(Clipboard()), EInvalidGraphic);

    TIcon icon;
    EXPECT_THROW(Clipboard()->Assign(&icon), EInvalidGraphic);
}

TEST_F(ClipbrdTest, ComponentPastesUnderAFreshName)
{
    auto* owner = new TComponent(nullptr);
    auto* note = new TClipNote(owner);
    note->SetName("Note1");
    note->FText = "remember";
    note->FCount = 3;
    Clipboard()->SetComponent(note);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_COMPONENT));

    auto* pasted = dynamic_cast<TClipNote*>(Clipboard()->GetComponent(owner, nullptr));
    ASSERT_NE(pasted, nullptr);
    EXPECT_NE(pasted, note);
    EXPECT_EQ(pasted->GetOwner(), owner);
    EXPECT_EQ(pasted->GetName(), "Note2");
    EXPECT_EQ(pasted->FText, "remember");
    EXPECT_EQ(pasted->FCount, 3);
    owner->Free();

    Clipboard()->Clear();
    EXPECT_EQ(Clipboard()->GetComponent(nullptr, nullptr), nullptr);
}

} // namespace
