#include "general/Kelconst.h"

#include <gtest/gtest.h>

#include "host/rtl/Resources.h"

using namespace kel;

TEST(Kelconst, NamesDesignateTheirTexts)
{
    struct { int id; const char* text; } cases[] = {
        {SkelFilterEmpty, "Filter expression is empty"},
        {SkelFilterInvalidHandle, "Invalid filter handle.  Filter must be prepared before use"},
        {SkelDataSetRequired, "DataSet required"},
        {SkelInvalidPaneIndex, "%d is an invalid PaneIndex value.  PaneIndex must be between 0 and %d"},
        {SkelTextNotFoundInField, "'%s' not found in current field."},
        {SkelNumTeens + 4, "forteen"},
        {SkelNumScales + 2, "million"},
        {SkelNumTens + 1, "ten"},
        {SkelNullValue, "#NULL#"},
        {SkelDsnNoHintDown, "{no Hint Down}"},
        {SkelDsnHintBookmarkDown, "Go To Bookmark|Return to the last bookmarked record"},
        {SkelDsnGroupOther, "Other"},
        {SkelDsnListNames + 34, "Custom Up/Down Button"},
    };
    for (auto c : cases) EXPECT_EQ(host::LoadStr(c.id), c.text) << c.id;
}

TEST(Kelconst, FmtLoadStrFillsTheText)
{
    EXPECT_EQ(kelFmtLoadStr(SkelTextNotFound, {"Smith"}), "'Smith' not found.");
    EXPECT_EQ(kelFmtLoadStr(SkelIndexNumberNotFound, {9}), "Index number '9' not found in DataSet.IndexDefs");
}
