#include "general/Kelcurlb.h"

#include "host/vcl/Filer.h"
#include "host/win/Screen.h"

#include <gtest/gtest.h>

#include <functional>

using namespace host;
using namespace kel;

namespace {

class CurrencyLabelTest : public ::testing::Test {
protected:
    void SetUp() override { ResetWindowSystem(SIZE{800, 600}); }
    void TearDown() override { ResetWindowSystem(); }
};

TEST_F(CurrencyLabelTest, CaptionFollowsEveryProperty)
{
    auto* L = new TCurrencyLabel(nullptr);
    EXPECT_EQ(L->GetCaption(), "Zero dollars and 00/100") << "the caption is built at construction";
    struct Step {
        std::function<void()> Change;
        const char* Caption;
    };
    const Step Steps[] = {
        {[&] { L->SetValue(123.45); }, "One hundred twenty three dollars and 45/100"},
        {[&] { L->SetCurrFractionFormat(ffUnitsDigits); }, "One hundred twenty three dollars and 45 cents"},
        {[&] { L->SetCurrText("euros"); }, "One hundred twenty three euros and 45 cents"},
        {[&] { L->SetCurrFractionText("cent"); }, "One hundred twenty three euros and 45 cent"},
        {[&] { L->SetFirstUpperCase(false); }, "one hundred twenty three euros and 45 cent"},
        {[&] { L->SetValue(-5); }, "#ERROR#"},
    };
    for (const Step& S : Steps) {
        S.Change();
        EXPECT_EQ(L->GetCaption(), S.Caption);
    }
    // Without the handling, rebuilding the caption of a bad amount raises.
    EXPECT_THROW(L->SetHandleException(false), Exception);
    L->SetValue(7);
    EXPECT_THROW(L->SetValue(-6), Exception);
    L->Free();
}

TEST_F(CurrencyLabelTest, PropertiesRoundTripThroughAFormFileAndTheCaptionIsRebuiltOnLoad)
{
    auto* L = new TCurrencyLabel(nullptr);
    L->SetName("Amount");
    L->SetValue(1000);
    L->SetCurrText("pounds");
    L->SetCurrFractionFormat(ffUnitsWords);
    L->SetHandleException(false);
    const std::string Data = WriteComponentToString(L);
    L->Free();

    auto* R = new TCurrencyLabel(nullptr);
    ReadComponentFromString(Data, R);
    EXPECT_EQ(R->GetValue(), 1000);
    EXPECT_EQ(R->GetCurrText(), "pounds");
    EXPECT_EQ(R->GetCurrFractionText(), "cents");
    EXPECT_EQ(R->GetCurrFractionFormat(), ffUnitsWords);
    EXPECT_FALSE(R->GetHandleException());
    EXPECT_EQ(R->GetCaption(), "One thousand pounds and zero cents");
    R->Free();
}

} // namespace
