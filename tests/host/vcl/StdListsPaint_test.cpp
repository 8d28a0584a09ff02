// Painting of list boxes filled at once on a shown form.
#include "FormsTest.h"

#include "host/vcl/StdLists.h"
#include "host/win/Screen.h"

namespace formstest {
namespace {

class ListPaintTest : public FormsTest {};

COLORREF At(const TImageData& Img, int X, int Y)
{
    uint32_t p = Img.Pixel(X, Y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// A list filled inside one update, or repainted at once, as soon as it has
// a parent on a shown form paints like one filled item by item.
TEST_F(ListPaintTest, ListFilledRightAfterParentingPaints)
{
    for (int batch = 0; batch < 3; ++batch) {
        auto* form = MakeForm("F" + std::to_string(batch));
        form->Show();
        ProcessPendingMessages();
        auto* lb = Make<TListBox>(form, "List", 10, 10, 150, 100);
        if (batch == 1) lb->GetItems()->BeginUpdate();
        lb->GetItems()->Add("first");
        lb->GetItems()->Add("second");
        if (batch == 1) lb->GetItems()->EndUpdate();
        if (batch == 2) lb->Refresh();
        ProcessPendingMessages();
        TImageData img = CaptureWindow(form->GetHandle());
        RECT w;
        GetWindowRect(form->GetHandle(), &w);
        TPoint p = lb->ClientToScreen(TPoint{20, lb->GetClientHeight() - 2});
        EXPECT_EQ(At(img, p.x - w.left, p.y - w.top), GetSysColor(COLOR_WINDOW)) << batch;
        TPoint edge = lb->ClientToScreen(TPoint{-2, 5});
        EXPECT_EQ(At(img, edge.x - w.left, edge.y - w.top), GetSysColor(COLOR_BTNSHADOW)) << batch;
        form->Hide();
    }
}

} // namespace
} // namespace formstest
