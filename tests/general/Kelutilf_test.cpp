#include "general/Kelutilf.h"

#include <gtest/gtest.h>

using namespace kel;

TEST(Kelutilf, TrimRemovesSpacesOnly)
{
    struct { const char *in, *l, *r, *lr; } cases[] = {
        {"", "", "", ""},
        {"   ", "", "", ""},
        {"  a b  ", "a b  ", "  a b", "a b"},
        {"\ta\t", "\ta\t", "\ta\t", "\ta\t"},
        {" \tx ", "\tx ", " \tx", "\tx"},
    };
    for (auto c : cases) {
        EXPECT_EQ(kelLTrim(c.in), c.l) << '[' << c.in << ']';
        EXPECT_EQ(kelRTrim(c.in), c.r) << '[' << c.in << ']';
        EXPECT_EQ(kelLRTrim(c.in), c.lr) << '[' << c.in << ']';
    }
}

TEST(Kelutilf, ReplaceFirstAndAll)
{
    struct { const char *find, *repl, *src; bool cs; const char *first, *all; } cases[] = {
        {"a", "aa", "banana", true, "baanana", "baanaanaa"}, // inserted text is not searched again
        {"", "x", "banana", true, "banana", "banana"},        // empty Find never matches
        {"", "x", "", false, "", ""},
        {"AN", "x", "banana", false, "bxana", "bxxa"},        // folded match, original text kept around it
        {"AN", "x", "banana", true, "banana", "banana"},
        {"aa", "b", "aaaaa", true, "baaa", "bba"},            // non-overlapping, left to right
        {"ana", "", "bananas", true, "bnas", "bnas"},
        {"x", "y", "abc", false, "abc", "abc"},
        {"ab", "XY", "aBAb", false, "XYAb", "XYXY"},
        {"é", "e", "café É", false, "cafe É", "cafe É"},       // bytes beyond ASCII compare exactly
        {"%t", "Orders", "Empty %t? %T", false, "Empty Orders? %T", "Empty Orders? Orders"},
    };
    for (auto c : cases) {
        EXPECT_EQ(kelReplaceStr(c.find, c.repl, c.src, c.cs), c.first) << c.find << " in " << c.src;
        EXPECT_EQ(kelReplaceAll(c.find, c.repl, c.src, c.cs), c.all) << c.find << " in " << c.src;
    }
}

TEST(Kelutilf, ReplaceAllHandlesManyMatches)
{
    std::string src(100000, 'a');
    EXPECT_EQ(kelReplaceAll("A", "bc", src, false).size(), 200000u);
}

TEST(Kelutilf, ProperCase)
{
    struct { const char *in, *out; } cases[] = {
        {"  hELLO   wORLD", "  Hello   World"},
        {"o'neil", "O'neil"},
        {"2nd street", "2Nd Street"},
        {"", ""},
        {"MCDONALD-SMITH jr.", "Mcdonald-smith Jr."},
        {"ab\tcd", "Ab\tcd"},       // only a space starts a word
        {"\tab cd", "\tAb Cd"},     // other characters leave the pending capital
        {"élan vital", "éLan Vital"},
    };
    for (auto c : cases) EXPECT_EQ(kelProperCase(c.in), c.out) << c.in;
}

TEST(Kelutilf, FileNamePart)
{
    struct { const char *in, *out; } cases[] = {
        {"c:\\dir\\report.final.txt", "report"},
        {"c:\\my.dir\\file", "file"},
        {"c:readme.txt", "readme"},
        {"/home/user/notes.md", "notes"},
        {"plain", "plain"},
        {"c:\\dir\\", ""},
        {".profile", ""},
    };
    for (auto c : cases) EXPECT_EQ(kelFileNamePart(c.in), c.out) << c.in;
}

TEST(Kelutilf, ReplaceFileExtLooksInTheNamePartOnly)
{
    struct { const char *in, *ext, *out; } cases[] = {
        {"c:\\my.dir\\file.txt", ".ini", "c:\\my.dir\\file.ini"},
        {"report.final.txt", ".ini", "report.ini"},
        {"readme", ".ini", "readme"},
        {"c:\\my.dir\\readme", ".ini", "c:\\my.dir\\readme"},
        {"/opt/app.d/app.conf", ".bak", "/opt/app.d/app.bak"},
        {"d:app.exe", ".ini", "d:app.ini"},
        {"file.", "", "file"},
    };
    for (auto c : cases) EXPECT_EQ(kelReplaceFileExt(c.in, c.ext), c.out) << c.in;
}
