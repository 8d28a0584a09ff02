#include "host/rtl/SysUtils.h"

#include <climits>
#include <gtest/gtest.h>

using namespace host;

TEST(Strings, TrimRemovesEveryControlCharacter)
{
    EXPECT_EQ(Trim(" \t\r\n ab c \x01"), "ab c");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a \x1f"), "  a");
    EXPECT_EQ(Trim("   "), "");
    // Bytes above 127 are text, not blanks.
    EXPECT_EQ(Trim("\xc3\xa9 "), "\xc3\xa9");
}

TEST(Strings, CaseMapping)
{
    EXPECT_EQ(UpperCase("abc\xc3\xa9z"), "ABC\xc3\xa9Z");
    EXPECT_EQ(LowerCase("ABC"), "abc");
    // e acute, y diaeresis, Cyrillic and Greek letters; sharp s has no capital.
    EXPECT_EQ(AnsiUpperCase("caf\xc3\xa9 \xc3\xbf \xd0\xb4 \xce\xb1 \xc3\x9f"), "CAF\xc3\x89 \xc5\xb8 \xd0\x94 \xce\x91 \xc3\x9f");
    EXPECT_EQ(AnsiLowerCase("CAF\xc3\x89 \xc5\xb8 \xd0\x94 \xce\x91"), "caf\xc3\xa9 \xc3\xbf \xd0\xb4 \xce\xb1");
    // Malformed UTF-8 passes through untouched.
    EXPECT_EQ(AnsiUpperCase("a\xc3"), "A\xc3");
    EXPECT_EQ(AnsiUpperCase("\xe9t\xe9"), "\xe9T\xe9");
}

TEST(Strings, Comparisons)
{
    EXPECT_LT(CompareStr("a", "b"), 0);
    EXPECT_GT(CompareStr("a", "B"), 0);
    EXPECT_EQ(CompareStr("abc", "abc"), 0);
    EXPECT_LT(CompareStr("ab", "abc"), 0);
    EXPECT_GT(CompareStr("\xc3\xa9", "z"), 0);
    EXPECT_EQ(CompareText("Hello", "hELLO"), 0);
    EXPECT_LT(CompareText("apple", "Banana"), 0);
    EXPECT_TRUE(SameText("ABC", "abc"));
    EXPECT_FALSE(SameText("ABC", "abd"));

    // Dictionary order: case is the last resort, accents come with their letter.
    EXPECT_LT(AnsiCompareStr("a", "B"), 0);
    EXPECT_LT(AnsiCompareStr("a", "A"), 0);
    EXPECT_LT(AnsiCompareStr("A", "b"), 0);
    EXPECT_LT(AnsiCompareStr("e", "\xc3\xa9"), 0);
    EXPECT_LT(AnsiCompareStr("\xc3\xa9", "f"), 0);
    EXPECT_LT(AnsiCompareStr("-x", "1"), 0);
    EXPECT_LT(AnsiCompareStr("9", "a"), 0);
    EXPECT_EQ(AnsiCompareText("CAF\xc3\x89", "caf\xc3\xa9"), 0);
    EXPECT_NE(AnsiCompareText("cafe", "caf\xc3\xa9"), 0);
    EXPECT_TRUE(AnsiSameText("\xd0\x94", "\xd0\xb4"));
}

TEST(Strings, DictionaryOrderIsATotalOrder)
{
    // Ascending; ASCII prefixes and letters beyond ASCII take different paths.
    const std::string sorted[] = {"-x", "1", "9", "a", "A", "ab", "Ab", "abc", "b", "e", "\xc3\xa9", "\xc3\x89",
                                  "ea", "f", "z", "\xce\xb1", "\xce\xa9", "\xe2\x82\xac"};
    const size_t n = std::size(sorted);
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < n; ++j) {
            int expected = i < j ? -1 : i > j ? 1 : 0;
            EXPECT_EQ(AnsiCompareStr(sorted[i], sorted[j]), expected) << sorted[i] << " vs " << sorted[j];
            EXPECT_EQ(AnsiCompareText(sorted[i], sorted[j]) > 0, AnsiCompareText(sorted[j], sorted[i]) < 0);
        }
    }
}

TEST(Strings, PositionsAreOneBasedAndClamped)
{
    EXPECT_EQ(Pos("lo", "hello"), 4);
    EXPECT_EQ(Pos("x", "hello"), 0);
    EXPECT_EQ(Pos("", "hello"), 0);
    struct {
        int Index, Count;
        const char* Expected;
    } copies[] = {{1, 2, "he"}, {0, 2, "he"}, {-5, 1, "h"}, {4, 99, "lo"}, {6, 1, ""}, {2, 0, ""}, {2, -1, ""}};
    for (const auto& c : copies) EXPECT_EQ(Copy("hello", c.Index, c.Count), c.Expected) << c.Index << "," << c.Count;

    struct {
        int Index, Count;
        const char* Expected;
    } deletes[] = {{1, 2, "llo"}, {4, 99, "hel"}, {0, 2, "hello"}, {6, 1, "hello"}, {2, 0, "hello"}};
    for (const auto& c : deletes) {
        std::string s = "hello";
        Delete(s, c.Index, c.Count);
        EXPECT_EQ(s, c.Expected) << c.Index << "," << c.Count;
    }
    struct {
        int Index;
        const char* Expected;
    } inserts[] = {{1, "XYab"}, {2, "aXYb"}, {3, "abXY"}, {99, "abXY"}, {-1, "XYab"}};
    for (const auto& c : inserts) {
        std::string s = "ab";
        Insert("XY", s, c.Index);
        EXPECT_EQ(s, c.Expected) << c.Index;
    }
    EXPECT_EQ(StringOfChar('-', 3), "---");
    EXPECT_EQ(StringOfChar('-', -3), "");
    EXPECT_EQ(LastDelimiter("/\\", "a/b\\c"), 4);
    EXPECT_EQ(LastDelimiter(".", "abc"), 0);
}

TEST(Strings, StringReplace)
{
    struct {
        const char* S;
        const char* Old;
        const char* New;
        TReplaceFlags Flags;
        const char* Expected;
    } cases[] = {
        {"banana", "a", "aa", {rfReplaceAll}, "baanaanaa"},
        {"banana", "a", "o", {}, "bonana"},
        {"banana", "AN", "x", {rfIgnoreCase}, "bxana"},
        {"banana", "AN", "x", {rfReplaceAll, rfIgnoreCase}, "bxxa"},
        {"banana", "AN", "x", {rfReplaceAll}, "banana"},
        {"banana", "", "x", {rfReplaceAll}, "banana"},
        {"aaa", "aa", "b", {rfReplaceAll}, "ba"},
        {"CAF\xc3\x89 caf\xc3\xa9", "caf\xc3\xa9", "tea", {rfReplaceAll, rfIgnoreCase}, "tea tea"},
    };
    for (const auto& c : cases) EXPECT_EQ(StringReplace(c.S, c.Old, c.New, c.Flags), c.Expected) << c.S << " " << c.Old;
}

TEST(Strings, Quoting)
{
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(QuotedStr(""), "''");
    EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");

    const char* text = "'it''s' rest";
    const char* p = text;
    EXPECT_EQ(AnsiExtractQuotedStr(p, '\''), "it's");
    EXPECT_STREQ(p, " rest");
    p = text + 8;
    EXPECT_EQ(AnsiExtractQuotedStr(p, '\''), "");
    EXPECT_EQ(p, text + 8);
    const char* open = "'unterminated";
    EXPECT_EQ(AnsiExtractQuotedStr(open, '\''), "unterminated");
    EXPECT_EQ(*open, '\0');
    EXPECT_EQ(AnsiDequotedStr("\"a\"\"b\"", '"'), "a\"b");
    EXPECT_EQ(AnsiDequotedStr("plain", '"'), "plain");
}

TEST(Strings, IsValidIdent)
{
    EXPECT_TRUE(IsValidIdent("Button1"));
    EXPECT_TRUE(IsValidIdent("_x"));
    EXPECT_FALSE(IsValidIdent("1x"));
    EXPECT_FALSE(IsValidIdent(""));
    EXPECT_FALSE(IsValidIdent("a b"));
}

TEST(IntegerConversions, ParseAndPrint)
{
    struct {
        const char* Text;
        bool Valid;
        int Value;
    } cases[] = {
        {"42", true, 42},           {"  -42", true, -42},        {"+7", true, 7},
        {"$FF", true, 255},         {"$ff", true, 255},          {"-$10", true, -16},
        {"0x1A", true, 26},         {"$FFFFFFFF", true, -1},     {"2147483647", true, INT_MAX},
        {"-2147483648", true, INT_MIN}, {"2147483648", false, 0}, {"$100000000", false, 0},
        {"", false, 0},             {" ", false, 0},             {"42 ", false, 0},
        {"4 2", false, 0},          {"1.5", false, 0},           {"$", false, 0},
        {"-", false, 0},            {"abc", false, 0},           {"99999999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        int v = -99;
        EXPECT_EQ(TryStrToInt(c.Text, v), c.Valid) << c.Text;
        if (c.Valid) {
            EXPECT_EQ(v, c.Value) << c.Text;
        }
        EXPECT_EQ(StrToIntDef(c.Text, -7), c.Valid ? c.Value : -7) << c.Text;
    }
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("4294967296"), int64_t(1) << 32);
    EXPECT_EQ(StrToInt64Def("9223372036854775808", 5), 5);
    try {
        StrToInt("12a");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.GetMessage(), "'12a' is not a valid integer value");
    }
    EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(-1, 1), "FFFFFFFF");
    EXPECT_EQ(IntToHex(int64_t(-1), 1), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(0, 0), "0");
}

TEST(MulDiv, RoundsHalfAwayFromZeroAndFlagsFailure)
{
    struct {
        int A, B, C, Expected;
    } cases[] = {
        {10, 3, 4, 8},          {5, 1, 2, 3},           {-5, 1, 2, -3},        {5, -1, 2, -3},
        {5, 1, -2, -3},         {-5, -1, -2, -3},        {7, 1, 3, 2},          {8, 1, 3, 3},
        {100000, 100000, 10000, 1000000},               {1, 1, 0, -1},         {INT_MAX, 2, 1, -1},
        {96, 600, 96, 600},     {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
    };
    for (const auto& c : cases) EXPECT_EQ(MulDiv(c.A, c.B, c.C), c.Expected) << c.A << "*" << c.B << "/" << c.C;
}
