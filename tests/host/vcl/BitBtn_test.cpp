// Bitmap buttons: the standard kinds, modal results through real clicks, and
// the owner-drawn face (pressed, default frame, disabled glyph).
#include "FormsTest.h"

#include "host/vcl/Buttons.h"
#include "host/vcl/Filer.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace formstest {
namespace {

COLORREF At(const TImageData& Img, int X, int Y)
{
    uint32_t p = Img.Pixel(X, Y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int CountColor(const TImageData& Img, const TRect& R, COLORREF Color)
{
    int n = 0;
    for (int y = R.top; y < R.bottom; ++y)
        for (int x = R.left; x < R.right; ++x) n += At(Img, x, y) == Color;
    return n;
}

// The bounding box of the pixels of Color in R; empty when there are none.
TRect BoxOf(const TImageData& Img, const TRect& R, COLORREF Color)
{
    TRect box = Rect(R.right, R.bottom, R.left, R.top);
    for (int y = R.top; y < R.bottom; ++y)
        for (int x = R.left; x < R.right; ++x)
            if (At(Img, x, y) == Color) {
                box.left = std::min<int>(box.left, x);
                box.top = std::min<int>(box.top, y);
                box.right = std::max<int>(box.right, x + 1);
                box.bottom = std::max<int>(box.bottom, y + 1);
            }
    return box;
}

const COLORREF kGreen = RGB(0, 128, 0);

class BitBtnTest : public FormsTest {
protected:
    void ClickOn(TControl* C)
    {
        TPoint p = C->ClientToScreen(TPoint{C->GetWidth() / 2, C->GetHeight() / 2});
        Input::Click(p.x, p.y);
        Input::AdvanceTime(GetDoubleClickTime() + 1);
    }
};

TEST_F(BitBtnTest, EachKindBringsItsCaptionResultAndDefaults)
{
    struct Row {
        TBitBtnKind Kind;
        const char* Caption;
        TModalResult Result;
        bool Default, Cancel;
    } rows[] = {
        {bkOK, "OK", mrOk, true, false},         {bkCancel, "Cancel", mrCancel, false, true},
        {bkHelp, "&Help", mrNone, false, false}, {bkYes, "&Yes", mrYes, true, false},
        {bkNo, "&No", mrNo, false, true},        {bkClose, "&Close", mrNone, false, false},
        {bkAbort, "Abort", mrAbort, false, false}, {bkRetry, "&Retry", mrRetry, false, false},
        {bkIgnore, "&Ignore", mrIgnore, false, false}, {bkAll, "&All", mrAll, false, false},
    };
    TForm* form = MakeForm("F");
    for (const Row& r : rows) {
        auto* b = Make<TBitBtn>(form, "B", 10, 10, 90, 30);
        b->SetKind(r.Kind);
        SCOPED_TRACE(r.Caption);
        EXPECT_EQ(b->GetKind(), r.Kind);
        EXPECT_EQ(b->GetCaption(), r.Caption);
        EXPECT_EQ(b->GetModalResult(), r.Result);
        EXPECT_EQ(b->GetDefault(), r.Default);
        EXPECT_EQ(b->GetCancel(), r.Cancel);
        EXPECT_FALSE(b->GetGlyph()->GetEmpty());
        // Back to custom keeps what the kind filled in.
        b->SetKind(bkCustom);
        EXPECT_EQ(b->GetCaption(), r.Caption);
        EXPECT_FALSE(b->GetGlyph()->GetEmpty());
        b->Free();
    }
}

TEST_F(BitBtnTest, ChangingWhatAKindFixesMakesTheButtonCustom)
{
    TForm* form = MakeForm("F");
    auto* b = Make<TBitBtn>(form, "B", 10, 10, 90, 30);
    struct Row {
        const char* What;
        std::function<void()> Change;
    } rows[] = {
        {"modal result", [&] { b->SetModalResult(mrRetry); }},
        {"default", [&] { b->SetDefault(false); }},
        {"cancel", [&] { b->SetCancel(true); }},
        {"glyph", [&] {
             TBitmap bmp;
             bmp.SetSize(8, 8);
             b->SetGlyph(&bmp);
         }},
    };
    for (const Row& r : rows) {
        b->SetKind(bkCustom);
        b->SetKind(bkOK);
        ASSERT_EQ(b->GetKind(), bkOK);
        r.Change();
        EXPECT_EQ(b->GetKind(), bkCustom) << r.What;
    }
    b->SetKind(bkOK);
    b->SetCaption("&Accept");
    EXPECT_EQ(b->GetKind(), bkOK) << "a caption of one's own keeps the kind";
}

TEST_F(BitBtnTest, ClicksAndKeysEndAModalFormWithTheKindsResult)
{
    struct Row {
        const char* How;
        TModalResult Expected;
    } rows[] = {{"click OK", mrOk}, {"click Cancel", mrCancel}, {"Return", mrOk}, {"Escape", mrCancel}};
    for (const Row& r : rows) {
        TForm* dialog = MakeForm("Dialog");
        auto* ok = Make<TBitBtn>(dialog, "OkBtn", 40, 120, 90, 30);
        ok->SetKind(bkOK);
        auto* cancel = Make<TBitBtn>(dialog, "CancelBtn", 150, 120, 90, 30);
        cancel->SetKind(bkCancel);
        auto* box = Make<TFocusBox>(dialog, "Box", 10, 10, 60, 24);
        box->SetTabOrder(0);
        SetModalHook([&](HWND) {
            std::string how = r.How;
            if (how == "click OK") ClickOn(ok);
            if (how == "click Cancel") ClickOn(cancel);
            if (how == "Return") Input::KeyPress(VK_RETURN);
            if (how == "Escape") Input::KeyPress(VK_ESCAPE);
        });
        EXPECT_EQ(dialog->ShowModal(), r.Expected) << r.How;
        Free(dialog);
        Forget(dialog);
    }
}

TEST_F(BitBtnTest, CloseButtonClosesItsForm)
{
    TForm* form = MakeForm("F");
    auto* close = Make<TBitBtn>(form, "CloseBtn", 40, 100, 90, 30);
    close->SetKind(bkClose);
    bool clicked = false, closing = false;
    close->OnClick = [&](TObject*) { clicked = true; };
    form->OnClose = [&](TObject*, TCloseAction&) { closing = true; };
    form->Show();
    ProcessPendingMessages();
    ClickOn(close);
    ProcessPendingMessages();
    EXPECT_TRUE(closing);
    EXPECT_FALSE(form->GetVisible());
    EXPECT_FALSE(clicked) << "a Close button closes instead of clicking";

    // Anything else, and OnClick runs.
    close->SetKind(bkHelp);
    form->Show();
    ProcessPendingMessages();
    ClickOn(close);
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(form->GetVisible());
}

TEST_F(BitBtnTest, PressedWhileHeldAndOnlyAReleaseInsideClicks)
{
    TForm* form = MakeForm("F");
    auto* b = Make<TBitBtn>(form, "B", 40, 60, 90, 30);
    b->SetKind(bkRetry);
    auto* box = Make<TFocusBox>(form, "Box", 10, 10, 60, 24);
    box->SetTabOrder(0);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    ProcessPendingMessages();
    TImageData up = CaptureWindow(b->GetHandle());
    // Raised, with no black frame (neither default nor focused): lit outside.
    EXPECT_EQ(At(up, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));

    TPoint in = b->ClientToScreen(TPoint{45, 15}), out = b->ClientToScreen(TPoint{45, 60});
    Input::MouseMove(in.x, in.y);
    Input::MouseDown();
    ProcessPendingMessages();
    TImageData down = CaptureWindow(b->GetHandle());
    // Focused and pressed: the black frame, then the plain shadow frame.
    EXPECT_EQ(At(down, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(At(down, 1, 1), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(down, 2, 2), GetSysColor(COLOR_BTNFACE));
    // The glyph sinks with the face.
    TRect whole = Rect(0, 0, 90, 30), upGlyph = BoxOf(up, whole, kGreen), downGlyph = BoxOf(down, whole, kGreen);
    ASSERT_LT(upGlyph.left, upGlyph.right);
    EXPECT_EQ(downGlyph.left, upGlyph.left + 1);
    EXPECT_EQ(downGlyph.top, upGlyph.top + 1);

    Input::MouseMove(out.x, out.y);
    ProcessPendingMessages();
    TImageData dragged = CaptureWindow(b->GetHandle());
    EXPECT_EQ(At(dragged, 0, 0), GetSysColor(COLOR_WINDOWFRAME)) << "still focused";
    EXPECT_EQ(At(dragged, 1, 1), GetSysColor(COLOR_BTNHIGHLIGHT)) << "dragged off, the button comes up";
    Input::MouseUp();
    EXPECT_EQ(clicks, 0);

    Input::AdvanceTime(GetDoubleClickTime() + 1);
    Input::Click(in.x, in.y);
    EXPECT_EQ(clicks, 1);
    // Two quick clicks are two presses.
    Input::Click(in.x, in.y);
    EXPECT_EQ(clicks, 2);
}

TEST_F(BitBtnTest, DefaultButtonWearsTheBlackFrameUntilAnotherButtonHasTheFocus)
{
    TForm* form = MakeForm("F");
    auto* ok = Make<TBitBtn>(form, "OkBtn", 40, 60, 90, 30);
    ok->SetKind(bkOK);
    auto* other = Make<TBitBtn>(form, "Other", 150, 60, 90, 30);
    other->SetKind(bkIgnore);
    auto* box = Make<TFocusBox>(form, "Box", 10, 10, 60, 24);
    box->SetTabOrder(0);
    form->Show();
    ProcessPendingMessages();
    EXPECT_EQ(At(CaptureWindow(ok->GetHandle()), 0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_NE(At(CaptureWindow(other->GetHandle()), 0, 0), GetSysColor(COLOR_WINDOWFRAME));

    other->SetFocus();
    ProcessPendingMessages();
    EXPECT_NE(At(CaptureWindow(ok->GetHandle()), 0, 0), GetSysColor(COLOR_WINDOWFRAME));
    TImageData focused = CaptureWindow(other->GetHandle());
    EXPECT_EQ(At(focused, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
    // The dotted focus rectangle runs 4 pixels inside the edge.
    int dots = 0;
    for (int x = 4; x < 86; ++x) dots += At(focused, x, 4) != GetSysColor(COLOR_BTNFACE);
    EXPECT_GT(dots, 30);
}

TEST_F(BitBtnTest, LayoutAndMarginPlaceTheGlyphAndTheCaptionBesideIt)
{
    // Where the check's ink lies inside its own 16 x 16 cell.
    std::unique_ptr<TBitmap> cell = MakeBitBtnGlyph(bkOK);
    TPoint ink{16, 16};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (cell->GetCanvas()->GetPixels(x, y) == clGreen) {
                ink.x = std::min(ink.x, x);
                ink.y = std::min(ink.y, y);
            }
    // The content area is the client area less 2 pixels of frame all round.
    struct Row {
        TButtonLayout Layout;
        int W, H;
        TPoint Glyph;  // the cell's top-left on the button
    } rows[] = {
        {blGlyphLeft, 90, 30, {2 + 4, 2 + (26 - 16 + 1) / 2}},
        {blGlyphRight, 90, 30, {88 - 4 - 16, 2 + (26 - 16 + 1) / 2}},
        {blGlyphTop, 90, 50, {2 + (86 - 16 + 1) / 2, 2 + 4}},
        {blGlyphBottom, 90, 50, {2 + (86 - 16 + 1) / 2, 48 - 4 - 16}},
    };
    TForm* form = MakeForm("F");
    auto* box = Make<TFocusBox>(form, "Box", 10, 10, 60, 24);
    box->SetTabOrder(0);
    form->Show();
    for (const Row& r : rows) {
        auto* b = Make<TBitBtn>(form, "B", 40, 60, r.W, r.H);
        b->SetKind(bkOK);
        b->SetDefault(false);  // no black frame
        b->SetLayout(r.Layout);
        b->SetMargin(4);
        ProcessPendingMessages();
        TImageData img = CaptureWindow(b->GetHandle());
        TRect whole = Rect(0, 0, r.W, r.H);
        TRect glyph = BoxOf(img, whole, kGreen);
        TRect text = BoxOf(img, Rect(2, 2, r.W - 2, r.H - 2), GetSysColor(COLOR_BTNTEXT));
        SCOPED_TRACE(int(r.Layout));
        EXPECT_EQ(glyph.left - ink.x, r.Glyph.x);
        EXPECT_EQ(glyph.top - ink.y, r.Glyph.y);
        ASSERT_LT(text.left, text.right) << "the caption is drawn";
        switch (r.Layout) {
        case blGlyphLeft: EXPECT_GE(text.left, r.Glyph.x + 16); break;
        case blGlyphRight: EXPECT_LE(text.right, r.Glyph.x); break;
        case blGlyphTop: EXPECT_GE(text.top, r.Glyph.y + 16); break;
        case blGlyphBottom: EXPECT_LE(text.bottom, r.Glyph.y); break;
        }
        b->Free();
    }
}

TEST_F(BitBtnTest, StyleChoosesTheLookOfTheFace)
{
    struct Row {
        TButtonStyle Style;
        COLORREF Corner, Edge;  // pixels (0, 0) and (1, 0)
    } rows[] = {
        {bsAutoDetect, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNHIGHLIGHT)},
        {bsNew, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNHIGHLIGHT)},
        // The older look: a black outline with its corners cut off.
        {bsWin31, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOWFRAME)},
    };
    TForm* form = MakeForm("F");
    auto* box = Make<TFocusBox>(form, "Box", 10, 10, 60, 24);
    box->SetTabOrder(0);
    auto* b = Make<TBitBtn>(form, "B", 40, 60, 90, 30);
    b->SetKind(bkNo);
    form->Show();
    for (const Row& r : rows) {
        b->SetStyle(r.Style);
        ProcessPendingMessages();
        TImageData img = CaptureWindow(b->GetHandle());
        EXPECT_EQ(At(img, 0, 0), r.Corner) << int(r.Style);
        EXPECT_EQ(At(img, 1, 0), r.Edge) << int(r.Style);
    }
}

TEST_F(BitBtnTest, DisabledButtonEmbossesItsGlyph)
{
    TForm* form = MakeForm("F");
    auto* b = Make<TBitBtn>(form, "B", 40, 60, 40, 30);
    b->SetKind(bkOK);
    b->SetCaption("");  // the glyph alone
    auto* box = Make<TFocusBox>(form, "Box", 10, 10, 60, 24);
    box->SetTabOrder(0);
    b->SetDefault(false);
    form->Show();
    ProcessPendingMessages();
    TRect inside = Rect(3, 3, 37, 27);
    TImageData enabled = CaptureWindow(b->GetHandle());
    EXPECT_GT(CountColor(enabled, inside, kGreen), 20) << "the green check";
    EXPECT_EQ(CountColor(enabled, inside, GetSysColor(COLOR_BTNHIGHLIGHT)), 0);

    b->SetEnabled(false);
    ProcessPendingMessages();
    TImageData disabled = CaptureWindow(b->GetHandle());
    EXPECT_EQ(CountColor(disabled, inside, kGreen), 0);
    int lit = CountColor(disabled, inside, GetSysColor(COLOR_BTNHIGHLIGHT));
    int shaded = CountColor(disabled, inside, GetSysColor(COLOR_BTNSHADOW));
    EXPECT_GT(lit, 3);
    EXPECT_GT(shaded, 20);
    EXPECT_LT(lit, shaded) << "the shadow copy lies over most of the highlight";
}

TEST_F(BitBtnTest, FormFilesStoreTheKindNotWhatItImplies)
{
    TForm* form = MakeForm("F");
    auto* b = Make<TBitBtn>(form, "OkBtn", 40, 60, 90, 30);
    b->SetKind(bkOK);
    std::string text = ObjectBinaryToText(WriteComponentToString(b));
    EXPECT_NE(text.find("Kind = bkOK"), std::string::npos) << text;
    for (const char* implied : {"Caption", "ModalResult", "Glyph", "Default", "NumGlyphs"})
        EXPECT_EQ(text.find(implied), std::string::npos) << implied << " in\n" << text;

    auto* copy = new TBitBtn(nullptr);
    ReadComponentFromString(WriteComponentToString(b), copy);
    EXPECT_EQ(copy->GetKind(), bkOK);
    EXPECT_EQ(copy->GetCaption(), "OK");
    EXPECT_EQ(copy->GetModalResult(), mrOk);
    EXPECT_TRUE(copy->GetDefault());
    copy->Free();

    // A caption of one's own survives the kind being read after it.
    b->SetCaption("&Accept");
    b->SetLayout(blGlyphRight);
    copy = new TBitBtn(nullptr);
    ReadComponentFromString(WriteComponentToString(b), copy);
    EXPECT_EQ(copy->GetKind(), bkOK);
    EXPECT_EQ(copy->GetCaption(), "&Accept");
    EXPECT_EQ(copy->GetLayout(), blGlyphRight);
    copy->Free();

    // A glyph of one's own makes the button custom, and is stored.
    TBitmap bmp;
    bmp.SetSize(32, 16);
    bmp.GetCanvas()->GetBrush()->SetColor(clRed);
    bmp.GetCanvas()->FillRect(Rect(0, 0, 32, 16));
    b->SetGlyph(&bmp);
    copy = new TBitBtn(nullptr);
    ReadComponentFromString(WriteComponentToString(b), copy);
    EXPECT_EQ(copy->GetKind(), bkCustom);
    EXPECT_EQ(copy->GetGlyph()->GetWidth(), 32);
    EXPECT_EQ(copy->GetNumGlyphs(), 2);
    EXPECT_EQ(copy->GetModalResult(), mrOk);
    EXPECT_EQ(copy->GetCaption(), "&Accept");
    copy->Free();
}

} // namespace
} // namespace formstest
