#include "general/Kelcurlb.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "host/rtl/Resources.h"
#include "host/rtl/SysUtils.h"

using namespace kel;

namespace {

std::string Words(double Value) { return NumToWords("", "", ffNoFraction, Value, false, true); }

std::string Cheque(double Value, TCurrFractionFormat Format = ffHundredths)
{
    return NumToWords("dollars", "cents", Format, Value, true, true);
}

} // namespace

TEST(Kelcurlb, IntegerWordsAcrossScales)
{
    struct { double value; const char* words; } cases[] = {
        {0, "zero"},
        {7, "seven"},
        {10, "ten"},
        {12, "twelve"},
        {14, "forteen"},
        {19, "nineteen"},
        {20, "twenty"},
        {21, "twenty one"},
        {99, "ninety nine"},
        {100, "one hundred"},
        {101, "one hundred one"},
        {110, "one hundred ten"},
        {115, "one hundred fifteen"},
        {999, "nine hundred ninety nine"},
        {1000, "one thousand"},
        {1001, "one thousand one"},
        {1010, "one thousand ten"},
        {12000, "twelve thousand"},
        {100000, "one hundred thousand"},
        {999999, "nine hundred ninety nine thousand nine hundred ninety nine"},
        {1000000, "one million"},
        {1000001, "one million one"},
        {1001000, "one million one thousand"},
        {1014000, "one million forteen thousand"},
        {20000000, "twenty million"},
        {1000000000, "one billion"},
        {1000000010, "one billion ten"},
        {2147483647, "two billion one hundred forty seven million four hundred eighty three thousand "
                     "six hundred forty seven"},
    };
    for (auto c : cases) EXPECT_EQ(Words(c.value), c.words) << c.value;
}

TEST(Kelcurlb, FractionFormats)
{
    struct { double value; TCurrFractionFormat format; const char* text; } cases[] = {
        {123.45, ffHundredths, "One hundred twenty three dollars and 45/100"},
        {1000, ffUnitsWords, "One thousand dollars and zero cents"},
        {1000, ffNoFraction, "One thousand dollars"},
        {0.5, ffUnitsDigits, "Zero dollars and 50 cents"},
        {0.99, ffUnitsWords, "Zero dollars and ninety nine cents"},
        {5.14, ffUnitsWords, "Five dollars and forteen cents"},
        {7.05, ffHundredths, "Seven dollars and 05/100"},
    };
    for (auto c : cases) EXPECT_EQ(Cheque(c.value, c.format), c.text) << c.value;

    // Empty unit texts drop out together with their blank.
    EXPECT_EQ(NumToWords("", "cents", ffHundredths, 7.05, true, true), "Seven and 05/100");
    EXPECT_EQ(NumToWords("dollars", "", ffUnitsDigits, 7.05, true, true), "Seven dollars and 05");
    EXPECT_EQ(NumToWords("", "", ffUnitsWords, 7.05, false, true), "seven and five");
    EXPECT_EQ(NumToWords("dollars", "cents", ffHundredths, 123.45, false, true),
              "one hundred twenty three dollars and 45/100");
}

TEST(Kelcurlb, AmountIsRoundedToWholeCentsFirst)
{
    // Halves go to the even cent, judged on the decimal the user wrote: 2.675
    // is stored as 2.67499..., yet reads as a half.
    struct { double value; const char* text; } cases[] = {
        {1.995, "Two dollars and 00/100"},
        {1.985, "One dollars and 98/100"},
        {0.125, "Zero dollars and 12/100"},
        {0.135, "Zero dollars and 14/100"},
        {2.675, "Two dollars and 68/100"},
        {1.006, "One dollars and 01/100"},
        {0.1 + 0.2, "Zero dollars and 30/100"},
        {9.999, "Ten dollars and 00/100"},
        {-0.001, "Zero dollars and 00/100"},
        {2147483647.994, "Two billion one hundred forty seven million four hundred eighty three thousand "
                         "six hundred forty seven dollars and 99/100"},
    };
    for (auto c : cases) EXPECT_EQ(Cheque(c.value), c.text) << c.value;
    EXPECT_EQ(Cheque(1.999, ffNoFraction), "Two dollars");
}

TEST(Kelcurlb, AmountsThatCannotBeWritten)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct { double value; bool range; } cases[] = {
        {-5, false}, {-0.01, false}, {-1e20, false}, {nan, false}, {inf, false}, {-inf, false},
        {2147483648.0, true}, {2147483647.995, true}, {3e9, true}, {1e300, true},
    };
    for (auto c : cases) {
        EXPECT_EQ(Cheque(c.value), "#ERROR#") << c.value;
        if (c.range)
            EXPECT_THROW(NumToWords("dollars", "cents", ffHundredths, c.value, true, false), host::ERangeError)
                << c.value;
        else
            EXPECT_THROW(NumToWords("dollars", "cents", ffHundredths, c.value, true, false), host::EConvertError)
                << c.value;
    }
}

TEST(Kelcurlb, WordsComeFromTheStringTable)
{
    const host::TStringTableEntry uno{16201, "uno"}, one{16201, "one"};
    host::RegisterStringTable(&uno, 1);
    std::string text = Cheque(101);
    host::RegisterStringTable(&one, 1);
    EXPECT_EQ(text, "Uno hundred uno dollars and 00/100");
}
