#include "host/rtl/SysUtils.h"

#include <gtest/gtest.h>

using namespace host;

namespace {

struct TFormatCase {
    const char* Fmt;
    std::vector<TVarRec> Args;
    const char* Expected;
};

std::string FormatVec(const std::string& Fmt, const std::vector<TVarRec>& Args)
{
    // Format takes an initializer list; rebuild one of up to four arguments.
    switch (Args.size()) {
    case 0: return Format(Fmt, {});
    case 1: return Format(Fmt, {Args[0]});
    case 2: return Format(Fmt, {Args[0], Args[1]});
    case 3: return Format(Fmt, {Args[0], Args[1], Args[2]});
    default: return Format(Fmt, {Args[0], Args[1], Args[2], Args[3]});
    }
}

} // namespace

TEST(Format, Conversions)
{
    TFormatSettingsGuard settings;
    const TFormatCase cases[] = {
        {"%d", {42}, "42"},
        {"%d", {-42}, "-42"},
        {"%5d|", {42}, "   42|"},
        {"%-5d|", {42}, "42   |"},
        {"%.5d", {-42}, "-00042"},
        {"%3.5d", {7}, "00007"},
        {"%d", {int64_t(1) << 40}, "1099511627776"},
        {"%u", {-1}, "4294967295"},
        {"%x", {255}, "FF"},
        {"%.4x", {255}, "00FF"},
        {"%x", {-1}, "FFFFFFFF"},
        {"%X", {0xABCDEF}, "ABCDEF"},
        {"%e", {1.0}, "1.00000000000000E+000"},
        {"%.3e", {-1234.5}, "-1.23E+003"},
        {"%.2e", {0.000123}, "1.2E-004"},
        {"%f", {3.14159}, "3.14"},
        {"%.0f", {2.5}, "3"},
        {"%.3f", {-0.5}, "-0.500"},
        {"%.1f", {0.05}, "0.1"},
        {"%.2f", {-0.001}, "0.00"},
        {"%g", {1234.5}, "1234.5"},
        {"%g", {0.1 + 0.2}, "0.3"},
        {"%g", {1e20}, "1E20"},
        {"%g", {0.0001}, "0.0001"},
        {"%g", {0.00001}, "1E-5"},
        {"%.3g", {1234.5}, "1.23E3"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%.0n", {-999.5}, "-1,000"},
        {"%m", {1234.5}, "$1,234.50"},
        {"%m", {-1234.5}, "($1,234.50)"},
        {"%.0m", {5.0}, "$5"},
        {"%s", {"abc"}, "abc"},
        {"%.2s", {"abc"}, "ab"},
        {"%6s|%-6s|", {"ab", "cd"}, "    ab|cd    |"},
        {"%s", {'x'}, "x"},
        {"%c%c", {'o', 'k'}, "ok"},
        {"100%%", {}, "100%"},
        {"%1:s %0:s %s", {"a", "b"}, "b a b"},
        {"%*d", {4, 7}, "   7"},
        {"%-*d|", {4, 7}, "7   |"},
        {"%*d|", {-4, 7}, "7   |"},
        {"%.*f", {1, 2.25}, "2.3"},
        {"%*.*f", {8, 3, 3.14159}, "   3.142"},
        {"%d %s", {1, "x"}, "1 x"},
        {"%f", {1e308 * 10}, "INF"},
        {"%.1f", {-1e308 * 10}, "-INF"},
    };
    for (const TFormatCase& c : cases) EXPECT_EQ(FormatVec(c.Fmt, c.Args), c.Expected) << c.Fmt;
}

TEST(Format, PointerHasFixedWidth)
{
    int x = 0;
    std::string s = Format("%p", {static_cast<const void*>(&x)});
    EXPECT_EQ(s.size(), sizeof(void*) * 2);
    EXPECT_EQ(s, IntToHex(static_cast<int64_t>(reinterpret_cast<uintptr_t>(&x)), int(sizeof(void*) * 2)));
    EXPECT_EQ(Format("%p", {static_cast<const void*>(nullptr)}), std::string(sizeof(void*) * 2, '0'));
}

TEST(Format, FollowsLocaleSettings)
{
    TFormatSettingsGuard settings;
    DecimalSeparator = ',';
    ThousandSeparator = '.';
    CurrencyString = "EUR";
    CurrencyFormat = 3;
    NegCurrFormat = 8;
    EXPECT_EQ(Format("%n", {1234.5}), "1.234,50");
    EXPECT_EQ(Format("%m", {1234.5}), "1.234,50 EUR");
    EXPECT_EQ(Format("%m", {-2.0}), "-2,00 EUR");
    EXPECT_EQ(Format("%e", {1.5}), "1,50000000000000E+000");
}

TEST(Format, MismatchOrMissingArgumentRaises)
{
    const TFormatCase bad[] = {
        {"%d", {1.5}, ""},     {"%f", {1}, ""},       {"%s", {1}, ""},        {"%c", {"ab"}, ""},
        {"%d", {}, ""},        {"%d %d", {1}, ""},    {"%q", {1}, ""},        {"%", {1}, ""},
        {"%5", {1}, ""},       {"%3:d", {1}, ""},     {"%*d", {"x", 1}, ""},  {"%d", {true}, ""},
        {"%p", {1}, ""},       {"%999999999d", {1}, ""},
    };
    for (const TFormatCase& c : bad) {
        try {
            FormatVec(c.Fmt, c.Args);
            ADD_FAILURE() << "no exception for " << c.Fmt;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.GetMessage(), std::string("Format '") + c.Fmt + "' invalid or incompatible with argument");
        }
    }
}

TEST(Format, ExceptionFormatsItsMessage)
{
    EConvertError e("'%s' is not %d", {"x", 5});
    EXPECT_EQ(e.GetMessage(), "'x' is not 5");
    EXPECT_STREQ(e.ClassName(), "EConvertError");
}
