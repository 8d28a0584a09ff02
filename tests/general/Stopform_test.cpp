#include "general/Stopform.h"
#include "general/Stopwtch.h"

#include "host/rtl/Clock.h"
#include "host/rtl/SysLocale.h"
#include "host/win/Input.h"
#include "host/win/Modal.h"
#include "host/win/Screen.h"

#include <gtest/gtest.h>

using namespace host;
using namespace kel;

namespace {

class StopWatchDialogTest : public ::testing::Test {
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
    TFormatSettingsGuard Settings;
    TVirtualClock Clock;
    TClockOverride Override{Clock};
};

TEST_F(StopWatchDialogTest, ShowsTheFiguresInTheStatedLayoutAndClosesWithOK)
{
    TStopWatch Watch(nullptr);
    Watch.SetName("SW1");
    Watch.SetLogFormat(lfTicks);
    for (uint32_t Ms : {100u, 250u, 150u}) {
        Watch.Start();
        Clock.Advance(Ms);
        Watch.Stop();
    }
    bool Seen = false;
    SetModalHook([&](HWND Wnd) {
        auto* Dialog = dynamic_cast<TStopWatchDialog*>(FindControl(Wnd));
        ASSERT_NE(Dialog, nullptr);
        Seen = true;
        EXPECT_EQ(Dialog->GetCaption(), "SW1");
        EXPECT_EQ(Dialog->GetClientWidth(), 317);
        EXPECT_EQ(Dialog->GetClientHeight(), 214);
        EXPECT_EQ(Dialog->GetBorderStyle(), bsDialog);
        EXPECT_EQ(Dialog->GetActiveControl(), Dialog->OKBtn);
        EXPECT_EQ(Dialog->lblLaps->GetCaption(), "3");
        EXPECT_EQ(Dialog->lblTotal->GetCaption(), "500 mS");
        EXPECT_EQ(Dialog->lblAverage->GetCaption(), "167 mS");
        EXPECT_EQ(Dialog->lblLastLap->GetCaption(), "150 mS");
        EXPECT_EQ(Dialog->lblTotal->GetFont()->GetColor(), clBlue);
        EXPECT_TRUE(Dialog->lblTotal->GetFont()->GetStyle().Contains(fsBold));
        // Caption labels end at x = 100; values start at x = 120 on the same rows.
        const struct {
            TLabel *Caption, *Value;
            int Top;
            const char* Text;
        } Rows[] = {{Dialog->Label1, Dialog->lblLaps, 36, "Laps:"},
                    {Dialog->Label2, Dialog->lblTotal, 67, "Total:"},
                    {Dialog->Label3, Dialog->lblAverage, 97, "Average:"},
                    {Dialog->Label4, Dialog->lblLastLap, 128, "Last Lap:"}};
        for (const auto& Row : Rows) {
            EXPECT_EQ(Row.Caption->GetCaption(), Row.Text);
            EXPECT_EQ(Row.Caption->GetLeft() + Row.Caption->GetWidth(), 100);
            EXPECT_EQ(Row.Caption->GetAlignment(), taRightJustify);
            EXPECT_EQ(Row.Caption->GetTop(), Row.Top);
            EXPECT_EQ(Row.Value->GetLeft(), 120);
            EXPECT_EQ(Row.Value->GetTop(), Row.Top);
        }
        EXPECT_EQ(Dialog->OKBtn->GetBoundsRect(), (TRect{120, 180, 197, 207}));
        // Return presses the default OK button.
        Screenshot(Wnd, ::testing::TempDir() + "stopwatch_dialog.png");
        Input::KeyPress(VK_RETURN);
    });
    Watch.Show();
    EXPECT_TRUE(Seen);
}

TEST_F(StopWatchDialogTest, SecondsFormatAndNoLapsShowZeros)
{
    TStopWatch Watch(nullptr);
    Watch.SetName("Idle");
    SetModalHook([&](HWND Wnd) {
        auto* Dialog = dynamic_cast<TStopWatchDialog*>(FindControl(Wnd));
        ASSERT_NE(Dialog, nullptr);
        EXPECT_EQ(Dialog->lblLaps->GetCaption(), "0");
        EXPECT_EQ(Dialog->lblAverage->GetCaption(), "0.000  seconds");
        Dialog->SetModalResult(mrOk);
    });
    Watch.Show();
}

} // namespace
