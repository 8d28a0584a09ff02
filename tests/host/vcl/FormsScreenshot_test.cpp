// What forms look like: a sizable form with controls, a dialog, an MDI frame.
// Set KEL_SCREENSHOTS to a folder to get the pictures.
#include "FormsTest.h"

#include "host/vcl/StdEdit.h"

#include <cstdlib>

namespace formstest {
namespace {

TEST_F(FormsTest, FormsLookLikeClassicWindows)
{
    TForm* form = MakeForm("Customer", 20, 20, 320, 200);
    form->SetCaption("Customer");
    auto* edit = Make<TEdit>(form, "Name", 16, 16, 200, 21);
    edit->SetText("Jane Smith");
    Make<TFocusBox>(form, "Box", 16, 50, 80, 24);
    form->Show();
    TForm* dialog = MakeForm("Dialog", 360, 20, 260, 140);
    dialog->SetCaption("Dialog");
    dialog->SetBorderStyle(bsDialog);
    dialog->Show();
    TForm* frame = MakeForm("Frame", 20, 250, 500, 300);
    frame->SetCaption("Frame");
    frame->SetFormStyle(fsMDIForm);
    frame->Show();
    TForm* child = MakeForm("Child", 10, 10, 200, 120);
    child->SetCaption("Child");
    child->SetFormStyle(fsMDIChild);
    child->Show();
    form->SetFocus();
    ProcessPendingMessages();

    // The client area is button face; the active caption differs from the inactive one.
    HDC dc = GetDC(nullptr);
    TPoint inside = form->ClientToScreen(TPoint{250, 150});
    EXPECT_EQ(GetPixel(dc, inside.x, inside.y), ColorToRGB(clBtnFace));
    RECT fr, dr;
    GetWindowRect(form->GetHandle(), &fr);
    GetWindowRect(dialog->GetHandle(), &dr);
    int captionY = GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    EXPECT_NE(GetPixel(dc, fr.right - 60, fr.top + captionY), GetPixel(dc, dr.right - 60, dr.top + captionY));
    ReleaseDC(nullptr, dc);
    if (const char* dir = std::getenv("KEL_SCREENSHOTS")) Screenshot(nullptr, std::string(dir) + "/vcl-forms.png");
}

} // namespace
} // namespace formstest
