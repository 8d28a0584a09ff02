// Shapes and images probed by the pixels they leave on their parent.
#include "ControlTest.h"

#include "host/vcl/ExtShapes.h"
#include "host/vcl/Filer.h"

#include <cstdlib>
#include <string>

namespace controltest {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0),
                   kBlue = RGB(0, 0, 255);

class ShapeTest : public ControlTest {
protected:
    // The colour at (X, Y) of control C's client area, as the screen shows it.
    COLORREF Probe(TControl* C, int X, int Y)
    {
        ProcessPendingMessages();
        TPoint s = ScreenOf(C, X, Y);
        TImageData img = CaptureWindow(nullptr);
        uint32_t p = img.Pixel(s.x, s.y);
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    TTestPanel* Surface()
    {
        TTestPanel* root = Root();
        root->SetColor(clWhite);
        return root;
    }
};

TEST_F(ShapeTest, EachShapeKindDrawsItsGeometry)
{
    TTestPanel* root = Surface();
    auto* shape = Make<TShape>(root, "Shape", 10, 10, 100, 50);
    shape->GetBrush()->SetColor(clRed);
    struct Spot {
        int X, Y;
        COLORREF Expected;
    };
    struct Case {
        TShapeType Kind;
        std::vector<Spot> Probes;
    } cases[] = {
        {stRectangle, {{0, 0, kBlack}, {99, 49, kBlack}, {1, 1, kRed}, {50, 25, kRed}}},
        // Squares and circles take the smaller side, centred: x from 25 to 74.
        {stSquare, {{24, 25, kWhite}, {25, 25, kBlack}, {26, 25, kRed}, {74, 25, kBlack}, {75, 25, kWhite}}},
        {stRoundRect, {{0, 0, kWhite}, {50, 0, kBlack}, {0, 25, kBlack}, {50, 25, kRed}}},
        {stRoundSquare, {{25, 0, kWhite}, {50, 0, kBlack}, {20, 25, kWhite}, {50, 25, kRed}}},
        {stEllipse, {{0, 0, kWhite}, {4, 4, kWhite}, {50, 0, kBlack}, {0, 25, kBlack}, {50, 25, kRed}}},
        {stCircle, {{20, 25, kWhite}, {25, 25, kBlack}, {50, 0, kBlack}, {30, 5, kWhite}, {50, 25, kRed}}},
    };
    for (const Case& c : cases) {
        shape->SetShape(c.Kind);
        for (const auto& p : c.Probes)
            EXPECT_EQ(Probe(shape, p.X, p.Y), p.Expected) << "shape " << int(c.Kind) << " at " << p.X << "," << p.Y;
    }
}

TEST_F(ShapeTest, AWidePenStaysInsideTheControl)
{
    TTestPanel* root = Surface();
    auto* shape = Make<TShape>(root, "Shape", 10, 10, 40, 30);
    shape->GetBrush()->SetColor(clRed);
    shape->GetPen()->SetWidth(4);
    shape->GetPen()->SetColor(clBlue);
    EXPECT_EQ(Probe(shape, 0, 15), kBlue);
    EXPECT_EQ(Probe(shape, 39, 15), kBlue);
    EXPECT_EQ(Probe(shape, 20, 29), kBlue);
    EXPECT_EQ(Probe(shape, 20, 15), kRed);
    EXPECT_EQ(Probe(shape, -1, 15), kWhite);
    EXPECT_EQ(Probe(shape, 40, 15), kWhite);
    // A pen or brush change repaints.
    shape->GetBrush()->SetColor(clBlack);
    EXPECT_EQ(Probe(shape, 20, 15), kBlack);
}

// A 4 x 4 bitmap: left half red, right half blue.
TBitmap* Halves()
{
    auto* b = new TBitmap;
    b->SetSize(4, 4);
    b->GetCanvas()->GetBrush()->SetColor(clRed);
    b->GetCanvas()->FillRect(Rect(0, 0, 2, 4));
    b->GetCanvas()->GetBrush()->SetColor(clBlue);
    b->GetCanvas()->FillRect(Rect(2, 0, 4, 4));
    return b;
}

TEST_F(ShapeTest, ImagePlacementStretchCentreAndTransparency)
{
    TTestPanel* root = Surface();
    auto* image = Make<TImage>(root, "Image", 10, 10, 20, 20);
    TBitmap* bmp = Halves();
    image->GetPicture()->SetBitmap(bmp);
    bmp->Free();
    struct Spot {
        int X, Y;
        COLORREF Expected;
    };
    struct Case {
        const char* Name;
        bool Stretch, Center, Transparent;
        std::vector<Spot> Probes;
    } cases[] = {
        {"top left", false, false, false, {{1, 1, kRed}, {3, 3, kBlue}, {5, 5, kWhite}}},
        {"stretched", true, false, false, {{4, 10, kRed}, {15, 10, kBlue}, {19, 19, kBlue}}},
        {"centred", false, true, false, {{9, 9, kRed}, {11, 10, kBlue}, {7, 7, kWhite}, {12, 12, kWhite}}},
        // The bottom-left pixel (red) is the transparent colour.
        {"transparent", false, true, true, {{9, 9, kWhite}, {11, 10, kBlue}}},
        {"stretched transparent", true, false, true, {{4, 10, kWhite}, {15, 10, kBlue}}},
    };
    for (const Case& c : cases) {
        image->SetStretch(c.Stretch);
        image->SetCenter(c.Center);
        image->SetTransparent(c.Transparent);
        for (const auto& p : c.Probes)
            EXPECT_EQ(Probe(image, p.X, p.Y), p.Expected) << c.Name << " " << p.X << "," << p.Y;
    }
}

TEST_F(ShapeTest, ImageAutoSizeAndCanvas)
{
    TTestPanel* root = Surface();
    auto* image = Make<TImage>(root, "Image", 10, 10, 50, 50);
    // An empty picture gets a bitmap of the control's size to draw on.
    TCanvas* c = image->GetCanvas();
    c->GetBrush()->SetColor(clBlue);
    c->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(image->GetPicture()->GetWidth(), 50);
    EXPECT_EQ(Probe(image, 5, 5), kBlue) << "drawing on the canvas repaints";

    TBitmap* bmp = Halves();
    image->SetAutoSize(true);
    image->GetPicture()->SetBitmap(bmp);
    bmp->Free();
    EXPECT_EQ(image->GetWidth(), 4);
    EXPECT_EQ(image->GetHeight(), 4);

    image->GetPicture()->SetGraphic(nullptr);
    auto* meta = new TMetafile;
    meta->SetWidth(5);
    meta->SetHeight(5);
    image->GetPicture()->SetGraphic(meta);
    meta->Free();
    EXPECT_THROW(image->GetCanvas(), EInvalidOperation);
}

TEST_F(ShapeTest, PropertiesSurviveAFormFile)
{
    TTestPanel* root = Surface();
    auto* shape = Make<TShape>(root, "Shape", 10, 10, 40, 30);
    shape->SetShape(stRoundSquare);
    shape->GetPen()->SetWidth(3);
    shape->GetBrush()->SetColor(clYellow);
    auto* copy = new TShape(nullptr);
    ReadComponentFromString(WriteComponentToString(shape), copy);
    EXPECT_EQ(copy->GetShape(), stRoundSquare);
    EXPECT_EQ(copy->GetPen()->GetWidth(), 3);
    EXPECT_EQ(copy->GetBrush()->GetColor(), clYellow);
    copy->Free();

    auto* image = Make<TImage>(root, "Image", 10, 10, 40, 30);
    image->SetStretch(true);
    image->SetCenter(true);
    image->SetTransparent(true);
    TBitmap* bmp = Halves();
    image->GetPicture()->SetBitmap(bmp);
    bmp->Free();
    auto* icopy = new TImage(nullptr);
    ReadComponentFromString(WriteComponentToString(image), icopy);
    EXPECT_TRUE(icopy->GetStretch());
    EXPECT_TRUE(icopy->GetCenter());
    EXPECT_TRUE(icopy->GetTransparent());
    ASSERT_NE(icopy->GetPicture()->GetBitmap(), nullptr);
    EXPECT_EQ(icopy->GetPicture()->GetBitmap()->GetCanvas()->GetPixels(3, 0), clBlue);
    icopy->Free();
}

} // namespace
} // namespace controltest

namespace controltest {
namespace {

TEST_F(ShapeTest, ShowcaseOfShapesAndImages)
{
    TTestPanel* root = Surface();
    ProcessPendingMessages();
    for (int k = 0; k < 6; ++k) {
        auto* s = Make<TShape>(root, "S" + std::to_string(k), 10 + k * 62, 10, 56, 40);
        s->SetShape(TShapeType(k));
        s->GetBrush()->SetColor(k % 2 ? clAqua : clYellow);
        s->GetPen()->SetWidth(1 + k % 3);
    }
    auto* img = Make<TImage>(root, "Img", 10, 70, 60, 60);
    img->SetStretch(true);
    TBitmap* bmp = Halves();
    img->GetPicture()->SetBitmap(bmp);
    bmp->Free();
    auto* clear = Make<TImage>(root, "Clear", 80, 70, 60, 60);
    clear->SetCenter(true);
    clear->SetTransparent(true);
    TBitmap* b2 = Halves();
    clear->GetPicture()->SetBitmap(b2);
    b2->Free();
    clear->SetStretch(true);
    ProcessPendingMessages();
    const char* dir = std::getenv("TEST_OUTPUT_DIR");
    Screenshot(FHost, std::string(dir ? dir : "/tmp") + "/shapes.png");
    EXPECT_EQ(Probe(clear, 10, 30), kWhite) << "the transparent half shows the parent";
    EXPECT_EQ(Probe(clear, 50, 30), kBlue);
}

} // namespace
} // namespace controltest
