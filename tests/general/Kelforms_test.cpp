#include "general/Kelforms.h"

#include "host/rtl/Clock.h"
#include "host/rtl/Resources.h"
#include "host/vcl/Filer.h"
#include "host/win/Modal.h"
#include "host/win/Screen.h"

#include <gtest/gtest.h>

using namespace host;
using namespace kel;

namespace {

class KelFormsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem(SIZE{800, 600});
        DoneApplication();
        SetModalIdleLimit(60 * 1000);
    }
    void TearDown() override
    {
        SetModalHook(nullptr);
        DoneApplication();
        ResetWindowSystem();
    }
    TVirtualClock FClock;
    TClockOverride FOverride{FClock};
};

// A dialog of the system family with a designed layout that names its own font.
class TStoredSystemDialog : public TkelSystemForm {
    HOST_CLASS(TStoredSystemDialog, TkelSystemForm)
public:
    explicit TStoredSystemDialog(TComponent* AOwner) : TkelSystemForm(AOwner)
    {
        InitInheritedComponent(this, TStoredSystemDialog::StaticClass());
    }
};

class TStoredApplicationDialog : public TkelApplicationForm {
    HOST_CLASS(TStoredApplicationDialog, TkelApplicationForm)
public:
    explicit TStoredApplicationDialog(TComponent* AOwner) : TkelApplicationForm(AOwner)
    {
        InitInheritedComponent(this, TStoredApplicationDialog::StaticClass());
    }
};

TEST_F(KelFormsTest, EachFamilyKeepsItsFontOverAStoredLayout)
{
    RegisterClasses({TStoredSystemDialog::StaticClass(), TStoredApplicationDialog::StaticClass()});
#define KEL_STORED_FONT "  Font.Name = 'Courier New'\n  Font.Height = -20\n  Font.Style = [fsBold]\n  Caption = 'Stored'\nend\n"
    static const char SysLayout[] = "object StoredSystemDialog: TStoredSystemDialog\n" KEL_STORED_FONT;
    static const char AppLayout[] = "object StoredApplicationDialog: TStoredApplicationDialog\n" KEL_STORED_FONT;
#undef KEL_STORED_FONT
    RegisterResource(TResType::FormLayout, "TStoredSystemDialog", SysLayout);
    RegisterResource(TResType::FormLayout, "TStoredApplicationDialog", AppLayout);

    struct Case {
        TForm* Form;
        const char* Name;
        int Size;
    };
    auto* Sys = new TStoredSystemDialog(nullptr);
    auto* App = new TStoredApplicationDialog(nullptr);
    auto* Plain = new TnpApplicationForm(nullptr);
    const Case Cases[] = {{Sys, "MS Sans Serif", 8}, {App, "Arial", 10}, {Plain, "Arial", 10}};
    for (const Case& C : Cases) {
        EXPECT_EQ(C.Form->GetFont()->GetName(), C.Name);
        EXPECT_EQ(C.Form->GetFont()->GetSize(), C.Size);
        EXPECT_TRUE(C.Form->GetFont()->GetStyle().Empty());
    }
    EXPECT_EQ(Sys->GetCaption(), "Stored") << "the layout was read";
    for (const Case& C : Cases) C.Form->Free();
    UnregisterResource(TResType::FormLayout, "TStoredSystemDialog");
    UnregisterResource(TResType::FormLayout, "TStoredApplicationDialog");
}

TEST_F(KelFormsTest, PopupStylesChooseHowTheFormIsShown)
{
    TForm* Main = nullptr;
    Application->CreateForm(Main);
    Main->Show();

    auto* Normal = new TkelForm(nullptr);
    EXPECT_EQ(kelShowPopupForm(Normal, pfsNormal), mrNone);
    EXPECT_TRUE(Normal->GetVisible());
    EXPECT_EQ(Normal->GetFormStyle(), fsNormal);

    auto* OnTop = new TkelForm(nullptr);
    kelShowPopupForm(OnTop, pfsStayOnTop);
    EXPECT_EQ(OnTop->GetFormStyle(), fsStayOnTop);
    EXPECT_TRUE(GetWindowLong(OnTop->GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Without an MDI frame as the main form, an MDI child request gives an ordinary window.
    auto* Child = new TkelForm(nullptr);
    kelShowPopupForm(Child, pfsMDIChild);
    EXPECT_EQ(Child->GetFormStyle(), fsNormal);
    EXPECT_TRUE(Child->GetVisible());
    EXPECT_EQ(GetParent(Child->GetHandle()), nullptr);

    auto* Modal = new TkelForm(nullptr);
    bool Answered = false;
    SetModalHook([&](HWND Wnd) {
        Answered = Wnd == Modal->GetHandle();
        Modal->SetModalResult(mrYes);
    });
    EXPECT_EQ(kelShowPopupForm(Modal, pfsModal), mrYes);
    EXPECT_TRUE(Answered);
    for (TForm* F : {Normal, OnTop, Child, Modal}) F->Free();
}

TEST_F(KelFormsTest, MDIChildStyleInsideAnMDIFrame)
{
    TForm* Frame = nullptr;
    Application->CreateForm(Frame);
    Frame->SetFormStyle(fsMDIForm);
    Frame->Show();
    auto* Child = new TkelForm(Application);
    kelShowPopupForm(Child, pfsMDIChild);
    EXPECT_EQ(Child->GetFormStyle(), fsMDIChild);
    EXPECT_NE(GetParent(Child->GetHandle()), nullptr) << "an MDI child lives in the frame's client area";
}

} // namespace
