#include "host/rtl/SysUtils.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace host;

TEST(FloatToStrF, EveryFormat)
{
    TFormatSettingsGuard settings;
    struct {
        double Value;
        TFloatFormat Format;
        int Precision, Digits;
        const char* Expected;
    } cases[] = {
        {0, ffGeneral, 15, 0, "0"},
        {1.5, ffGeneral, 15, 0, "1.5"},
        {-123456789012345.0, ffGeneral, 15, 0, "-123456789012345"},
        {1234567890123456.0, ffGeneral, 15, 0, "1.23456789012346E15"},
        {1.5e-10, ffGeneral, 15, 0, "1.5E-10"},
        {1e20, ffGeneral, 15, 3, "1E020"},
        {2.0 / 3, ffGeneral, 4, 0, "0.6667"},
        {0, ffExponent, 4, 2, "0.000E+00"},
        {12345, ffExponent, 3, 0, "1.23E+4"},
        {-0.00012345, ffExponent, 2, 4, "-1.2E-0004"},
        {9.99, ffExponent, 2, 1, "1.0E+1"},
        {1234.567, ffFixed, 15, 2, "1234.57"},
        {1234.567, ffFixed, 15, 0, "1235"},
        {0.125, ffFixed, 15, 2, "0.13"},
        {-0.125, ffFixed, 15, 2, "-0.13"},
        {-0.004, ffFixed, 15, 2, "0.00"},
        {1e20, ffFixed, 15, 2, "1E20"},
        {1234567.5, ffNumber, 15, 1, "1,234,567.5"},
        {-123.0, ffNumber, 15, 0, "-123"},
        {999.999, ffNumber, 15, 2, "1,000.00"},
        {1234.5, ffCurrency, 15, 2, "$1,234.50"},
        {-1234.5, ffCurrency, 15, 0, "($1,235)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToStrF(c.Value, c.Format, c.Precision, c.Digits), c.Expected)
            << c.Value << " format " << c.Format << " " << c.Precision << "/" << c.Digits;
}

TEST(FloatToStrF, NegativeCurrencyFormats)
{
    TFormatSettingsGuard settings;
    const char* expected[16] = {"($1.00)", "-$1.00", "$-1.00", "$1.00-", "(1.00$)", "-1.00$", "1.00-$", "1.00$-",
                                "-1.00 $", "-$ 1.00", "1.00 $-", "$ 1.00-", "$ -1.00", "1.00- $", "($ 1.00)",
                                "(1.00 $)"};
    for (int f = 0; f < 16; ++f) {
        NegCurrFormat = f;
        EXPECT_EQ(FloatToStrF(-1, ffCurrency, 15, 2), expected[f]) << f;
    }
    const char* positive[4] = {"$1.00", "1.00$", "$ 1.00", "1.00 $"};
    for (int f = 0; f < 4; ++f) {
        CurrencyFormat = f;
        EXPECT_EQ(FloatToStrF(1, ffCurrency, 15, 2), positive[f]) << f;
    }
}

TEST(FloatToStr, ShowsFifteenDigitsWithoutNoise)
{
    TFormatSettingsGuard settings;
    EXPECT_EQ(FloatToStr(0.1), "0.1");
    EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FloatToStr(-2.5), "-2.5");
    EXPECT_EQ(FloatToStr(100), "100");
    EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
    EXPECT_EQ(FloatToStr(-HUGE_VAL), "-INF");
    EXPECT_EQ(CurrToStr(12.3456789), "12.3457");
    EXPECT_EQ(CurrToStr(-5), "-5");
}

TEST(FormatFloat, Pictures)
{
    TFormatSettingsGuard settings;
    struct {
        const char* Format;
        double Value;
        const char* Expected;
    } cases[] = {
        {"", 1.5, "1.5"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"0.00", 1.005, "1.00"},
        {"0.00", 1234.5, "1234.50"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#,##0", 999, "999"},
        {"#,##0", -1000, "-1,000"},
        {"#.##", 1, "1"},
        {"#.##", 0.5, ".5"},
        {"0.##", 1.5, "1.5"},
        {"0.0#", 1.5, "1.5"},
        {"0.0#", 1.567, "1.57"},
        {"#", 0, ""},
        {"000", 7, "007"},
        {"00", 12345, "12345"},
        {".00", 12.5, "12.50"},
        {"#,##0.00;(#,##0.00)", -1234.5, "(1,234.50)"},
        {"#,##0.00;(#,##0.00);Zero", 0, "Zero"},
        {"#,##0.00;(#,##0.00);Zero", 12, "12.00"},
        {"0.0;-0.0;Zero", -0.01, "Zero"},
        {"0.0", -0.01, "0.0"},
        {"0.00;;Nothing", -3, "-3.00"},
        {"0.00E+00", 1234.5, "1.23E+03"},
        {"0.00E-00", 1234.5, "1.23E03"},
        {"0.00e-0", 0.00012345, "1.23e-4"},
        {"00.0E+0", 1234.5, "12.3E+2"},
        {"0.0E+00", 0, "0.0E+00"},
        {"\"Total: \"0.00", 5, "Total: 5.00"},
        {"'#'0", 5, "#5"},
        {"0 'kg'", -5, "-5 kg"},
        {"$#,##0.00;($#,##0.00)", -5, "($5.00)"},
        {"0%", 50, "50%"},
        {"0;", -4, "-4"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFloat(c.Format, c.Value), c.Expected) << c.Format << " " << c.Value;
}

TEST(FormatFloat, FollowsSeparators)
{
    TFormatSettingsGuard settings;
    DecimalSeparator = ',';
    ThousandSeparator = ' ';
    EXPECT_EQ(FormatFloat("#,##0.00", 1234567.5), "1 234 567,50");
}

TEST(StrToFloat, AcceptsAndRejects)
{
    TFormatSettingsGuard settings;
    struct {
        const char* Text;
        bool Valid;
        double Value;
    } cases[] = {
        {"1.5", true, 1.5},       {"  -2.25  ", true, -2.25}, {"+3", true, 3},        {".5", true, 0.5},
        {"5.", true, 5},          {"1e3", true, 1000},        {"1.5E-2", true, 0.015}, {"1e-400", true, 0},
        {"", false, 0},           {".", false, 0},            {"1e", false, 0},        {"1,5", false, 0},
        {"1.5x", false, 0},       {"--1", false, 0},          {"1e400", false, 0},
        {"1e99999999999999999999", false, 0}, {"-1e-99999999999999999999", true, 0},     {"INF", false, 0},
        {"NAN", false, 0},        {"1 2", false, 0},          {"0x10", false, 0},
    };
    for (const auto& c : cases) {
        double v = -99;
        EXPECT_EQ(TryStrToFloat(c.Text, v), c.Valid) << c.Text;
        if (c.Valid) {
            EXPECT_DOUBLE_EQ(v, c.Value) << c.Text;
        }
    }
    try {
        StrToFloat("abc");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.GetMessage(), "'abc' is not a valid floating point value");
    }
    DecimalSeparator = ',';
    EXPECT_DOUBLE_EQ(StrToFloat("1,25"), 1.25);
    double v;
    EXPECT_FALSE(TryStrToFloat("1.25", v));
}

TEST(Round, HalvesGoToEven)
{
    struct {
        double X;
        int64_t Rounded, Truncated;
    } cases[] = {
        {0.5, 0, 0},   {1.5, 2, 1},    {2.5, 2, 2},   {3.5, 4, 3},     {-0.5, 0, 0},   {-1.5, -2, -1},
        {-2.5, -2, -2}, {2.4999, 2, 2}, {2.5001, 3, 2}, {-2.7, -3, -2}, {1e15 + 0.5, 1000000000000000, 1000000000000000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Round(c.X), c.Rounded) << c.X;
        EXPECT_EQ(Trunc(c.X), c.Truncated) << c.X;
    }
    EXPECT_THROW(Round(1e19), EInvalidOp);
    EXPECT_THROW(Trunc(std::nan("")), EInvalidOp);
    EXPECT_DOUBLE_EQ(Int(-2.75), -2);
    EXPECT_DOUBLE_EQ(Frac(-2.75), -0.75);
}
