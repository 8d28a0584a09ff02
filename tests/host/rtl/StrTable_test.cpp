#include "host/rtl/Resources.h"

#include <gtest/gtest.h>

using host::HasStr;
using host::LoadStr;

TEST(StrTable, EveryIdOfBothRangesAnswersWithText)
{
    struct { int first, last; } ranges[] = {{16000, 16238}, {15000, 15244}};
    for (auto r : ranges)
        for (int id = r.first; id <= r.last; ++id) {
            EXPECT_TRUE(HasStr(id)) << id;
            EXPECT_FALSE(LoadStr(id).empty()) << id;
        }
}

TEST(StrTable, TextsAreExact)
{
    // Odd spellings, double blanks and placeholders are part of the texts:
    // callers format them and translators match them.
    struct { int id; const char* text; } cases[] = {
        {16000, "Commit all changes in this transaction?"},
        {16004, "';' not found in item '%s'.  Expected format 'ItemText;IndexNumber'"},
        {16008, "Index number '%d' not found in DataSet.IndexDefs"},
        {16013, "All Files (*.*)|*.*"},
        {16026, "Invalid filter handle.  Filter must be prepared before use"},
        {16028, "Filter expression incorrectly terminated"},
        {16032, "')' expected but %s found"},
        {16036, "NULL only allowed with '=' and '<>'"},
        {16039, "Incorrectly formed filter expression"},
        {16043, "Error %d loading DLL '%s'"},
        {16049, "%s%sThis path does not exist.%sPlease enter a different path."},
        {16055, "%d is an invalid PaneIndex value.  PaneIndex must be between 0 and %d"},
        {16101, "Last record reached.  Continue searching from first record?"},
        {16104, "%d values replaced."},
        {16200, "zero"},
        {16214, "forteen"},
        {16221, "ten"},
        {16229, "ninety"},
        {16234, "trillion"},
        {16237, "#ERROR#"},
        {16238, "#NULL#"},
        {15000, "{no Caption}"},
        {15011, "Edit..."},
        {15053, "Jump Back|Move back 10 records (hold down to repeat)"},
        {15062, "Edit %datasource%|Display a form to view or edit %datasource% records"},
        {15087, "{no Hint Down}"},
        {15154, "All controls on the panel will be permanently deleted.%sAre you sure you want to continue?"},
        {15202, "Mark & Locate Records"},
        {15210, "First"},
        {15244, "Custom Up/Down Button"},
    };
    for (auto c : cases) EXPECT_EQ(LoadStr(c.id), c.text) << c.id;
}

TEST(StrTable, NeighboursOfTheRangesStayFree)
{
    // The filling of unused ids must not spill past the ranges.
    for (int id : {14999, 15245, 15999, 16239}) {
        EXPECT_FALSE(HasStr(id)) << id;
        EXPECT_EQ(LoadStr(id), "") << id;
    }
}
