// Painting a control tree: windowed children paint themselves, graphic
// children paint on their parent's window in z order.
#include "ControlTest.h"

#include <cstdlib>

namespace controltest {
namespace {

COLORREF At(const TImageData& Img, int X, int Y)
{
    uint32_t p = Img.Pixel(X, Y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

TEST_F(ControlTest, TreePaintsInZOrderOnTheScreen)
{
    TTestPanel* root = Root();
    root->SetColor(clSilver);
    auto* panel = Make<TTestPanel>(root, "Panel", 20, 20, 200, 150);
    panel->SetColor(clWhite);
    auto* red = Make<TTestBox>(panel, "Red", 10, 10, 60, 40);
    red->SetColor(clRed);
    auto* blue = Make<TTestBox>(panel, "Blue", 50, 30, 60, 40);
    blue->SetColor(clBlue);
    auto* green = Make<TTestPanel>(root, "Green", 250, 20, 100, 100);
    green->SetColor(clGreen);
    ProcessPendingMessages();

    TImageData img = CaptureWindow(FHost);
    const char* dir = std::getenv("TEST_OUTPUT_DIR");
    Screenshot(FHost, std::string(dir ? dir : "/tmp") + "/controls_tree.png");
    struct Probe {
        int X, Y;
        COLORREF Expected;
    } probes[] = {
        {5, 5, RGB(0xC0, 0xC0, 0xC0)},   // root background
        {25, 25, RGB(255, 255, 255)},    // panel background
        {20 + 15, 20 + 15, RGB(255, 0, 0)},  // red only
        {20 + 60, 20 + 40, RGB(0, 0, 255)},  // overlap: blue is on top
        {20 + 105, 20 + 65, RGB(0, 0, 255)}, // blue only
        {300, 70, RGB(0, 128, 0)},       // windowed sibling
    };
    for (const Probe& p : probes) EXPECT_EQ(At(img, p.X, p.Y), p.Expected) << p.X << "," << p.Y;

    // Raising the red box repaints the overlap in red.
    red->BringToFront();
    ProcessPendingMessages();
    img = CaptureWindow(FHost);
    EXPECT_EQ(At(img, 20 + 60, 20 + 40), RGB(255, 0, 0));
    // A hidden box leaves the panel's background behind.
    red->Hide();
    ProcessPendingMessages();
    img = CaptureWindow(FHost);
    EXPECT_EQ(At(img, 20 + 15, 20 + 15), RGB(255, 255, 255));
    // A moved box paints at its new place and clears the old one.
    blue->SetBounds(120, 90, 30, 30);
    ProcessPendingMessages();
    img = CaptureWindow(FHost);
    EXPECT_EQ(At(img, 20 + 105, 20 + 65), RGB(255, 255, 255));
    EXPECT_EQ(At(img, 20 + 130, 20 + 100), RGB(0, 0, 255));
}

TEST_F(ControlTest, ControlCanvasDrawsOutsidePaint)
{
    TTestPanel* root = Root();
    root->SetColor(clWhite);
    auto* box = Make<TTestBox>(root, "Box", 40, 50, 20, 20);
    ProcessPendingMessages();
    // A graphic control's canvas is its part of the parent's window.
    box->GetCanvas()->GetBrush()->SetColor(clFuchsia);
    box->GetCanvas()->FillRect(TRect{0, 0, 100, 100});
    TImageData img = CaptureWindow(FHost);
    EXPECT_EQ(At(img, 45, 55), RGB(255, 0, 255));
    EXPECT_EQ(At(img, 61, 55), RGB(255, 255, 255));
}

} // namespace
} // namespace controltest
