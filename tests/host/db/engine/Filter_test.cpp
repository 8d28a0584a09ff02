#include <gtest/gtest.h>

#include "EngineTestUtil.h"
#include "host/db/engine/FilterParser.h"
#include "host/rtl/Resources.h"
#include "host/rtl/SysLocale.h"

using namespace enginetest;

namespace {

class FilterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Db = TEngineDatabase::Open(Dir.Path());
        TTableDesc d = CustomerDesc();
        d.Fields.push_back({"Cust No", ftSmallint, 0, false});
        d.Fields.push_back({"SINCE", ftDate, 0, false});
        d.Fields.push_back({"NOTES", ftMemo, 0, false});
        d.Fields.push_back({"PRICE", ftFloat, 0, false});
        Db->CreateTable("CUSTOMER.DB", ttDefault, d);
        Table = Db->OpenTable("CUSTOMER.DB");
        TEngineCursor c(Table);
        // SINCE: days from 1899-12-30 (45292 = 2024-01-01).
        c.InsertRecord(Rec({S("alpha"), S("London"), I(12), B(false), I(1), F(45292), S(""), F(1.5)}));
        c.InsertRecord(Rec({S("bravo"), S("Paris"), I(10), B(true), I(2), F(45293), S(""), F(2.5)}));
        c.InsertRecord(Rec({S("charlie"), S("paris"), I(1), B(true), I(3), TValue(), S(""), F(0)}));
        c.InsertRecord(Rec({S("delta"), TValue(), I(5), B(true), I(4), F(45300), S(""), F(-1)}));
        c.InsertRecord(Rec({S("echo"), S("O'Hare"), TValue(), B(false), I(5), F(45400), S(""), F(10)}));
    }

    std::string Filtered(const std::string& Text, TFilterOptions Options = 0)
    {
        TEngineCursor c(Table);
        TFilterHandle h = c.AddFilter(1, CompileFilter(Text, Table->GetDesc().Fields, Options));
        c.ActivateFilter(h);
        c.Refresh();
        return Names(c);
    }

    TempDir Dir;
    std::unique_ptr<TEngineDatabase> Db;
    std::shared_ptr<TEngineTable> Table;
};

TEST_F(FilterTest, LanguageFormsSelectTheRightRecords)
{
    struct Case {
        const char* text;
        TFilterOptions opts;
        const char* names;
    };
    TFilterOptions ci = FilterOpt(foCaseInsensitive), np = FilterOpt(foNoPartialCompare);
    for (const auto& t : std::vector<Case>{
             {"[QTY] >= 10", 0, "alpha bravo"},
             {"( [QTY] >= 10 ) AND ( [PAID] )", 0, "bravo"},
             {"[PAID]", 0, "bravo charlie delta"},
             {"NOT [PAID]", 0, "alpha echo"},
             {"[CITY] = 'Paris'", 0, "bravo"},
             {"[CITY] = 'Paris'", ci, "bravo charlie"},
             {"[CITY] = 'par*'", ci, "bravo charlie"},
             {"[CITY] = 'P*'", 0, "bravo"},
             {"[CITY] = 'P*'", np, ""},
             {"[CITY] <> 'P*'", 0, "alpha charlie echo"},
             {"[CITY] = NULL", 0, "delta"},
             {"[CITY] <> NULL", 0, "alpha bravo charlie echo"},
             {"[QTY] IS NULL", 0, "echo"},
             {"[CITY] = 'O''Hare'", 0, "echo"},
             {"[CITY] = \"O'Hare\"", 0, "echo"},
             {"[Cust No] <= 2 or [Cust No] = 5", 0, "alpha bravo echo"},
             {"qty < 6\r\nAND paid", 0, "charlie delta"},
             {"10 <= [QTY]", 0, "alpha bravo"},
             {"[SINCE] >= '2024-01-02'", 0, "bravo delta echo"},
             {"[SINCE] < '2024-01-02'", 0, "alpha"},
             {"[SINCE] = '2024-01-09 00:00'", 0, "delta"},
             {"[PRICE] > -0.5 AND [PRICE] < 2", 0, "alpha charlie"},
             {"[PAID] = FALSE", 0, "alpha echo"},
             // A null field satisfies no comparison; NOT negates plainly.
             {"NOT ([QTY] > 4 OR [CITY] = NULL)", 0, "charlie echo"},
             {"[NAME] > 'c' AND [NAME] < 'e'", 0, "charlie delta"}}) {
        EXPECT_EQ(Filtered(t.text, t.opts), t.names) << t.text;
    }
}

TEST_F(FilterTest, EverySyntaxErrorHasItsText)
{
    struct Case {
        std::string text;
        int ident;
        const char* arg; // the %s argument, when the text has one
    };
    for (const auto& t : std::vector<Case>{{"[QTY] = 1 )", 16028, nullptr},
                                           {"[QTY] = 1 [PAID]", 16028, nullptr},
                                           {"[QTY = 1", 16029, nullptr},
                                           {"[CITY] = 'Par", 16030, nullptr},
                                           {"[QTY] # 1", 16031, "#"},
                                           {"( [QTY] = 1", 16032, "end of expression"},
                                           {"[QTY] =", 16033, "end of expression"},
                                           {"AND [PAID]", 16033, "'AND'"},
                                           {"", 16033, "end of expression"},
                                           {"[QTY] = [PRICE]", 16034, nullptr},
                                           {"1 = 2", 16034, nullptr},
                                           {"[NOPE] = 1", 16035, "NOPE"},
                                           {"[NOTES] = 'x'", 16035, "NOTES"},
                                           {"[QTY] > NULL", 16036, nullptr},
                                           {"[Cust No] = 40000", 16037, nullptr},
                                           {"[QTY] = 'abc'", 16037, nullptr},
                                           {"[SINCE] = 'not a date'", 16037, nullptr},
                                           {"[SINCE] = '2023-02-29'", 16037, nullptr},
                                           {"[PAID] = 'maybe'", 16037, nullptr},
                                           {"[QTY]", 16038, "QTY"},
                                           {"NOT [CITY]", 16038, "CITY"},
                                           {"'abc'", 16039, nullptr},
                                           {"[PAID] AND 5", 16039, nullptr},
                                           {std::string(5000, '(') + "[PAID]" + std::string(5000, ')'), 16039, nullptr}}) {
        try {
            CompileFilter(t.text, Table->GetDesc().Fields);
            ADD_FAILURE() << "compiled: " << t.text;
        } catch (const EFilterExprError& e) {
            EXPECT_EQ(e.GetIdent(), t.ident) << t.text;
            std::string want = LoadStr(t.ident);
            ASSERT_FALSE(want.empty());
            if (t.arg) want = Format(want, {t.arg});
            EXPECT_EQ(e.GetMessage(), want) << t.text;
        }
    }
}

TEST_F(FilterTest, CallbackOfHigherPrioritySeesOnlyAcceptedRecords)
{
    TEngineCursor c(Table);
    std::vector<std::string> seen;
    TFilterHandle cb = c.AddFilter(2, [&](const TRecord& r) {
        seen.push_back(r.Values[0].Bytes);
        return r.Values[0].Bytes != "bravo";
    });
    TFilterHandle ex = c.AddFilter(1, CompileFilter("[PAID]", Table->GetDesc().Fields));
    c.ActivateFilter(cb);
    c.ActivateFilter(ex);
    c.Refresh();
    EXPECT_EQ(Names(c), "charlie delta");
    EXPECT_EQ(seen, (std::vector<std::string>{"bravo", "charlie", "delta"}));

    seen.clear();
    c.DeactivateFilter(ex);
    c.Refresh();
    EXPECT_EQ(Names(c), "alpha charlie delta echo");
    EXPECT_EQ(seen.size(), 5u);

    c.DropFilter(cb);
    c.Refresh();
    EXPECT_EQ(c.GetRecordCount(), 5);
    EXPECT_THROW(c.ActivateFilter(cb), EEngineError);
}

TEST_F(FilterTest, EditsHonourActiveFilters)
{
    TEngineCursor c(Table);
    c.ActivateFilter(c.AddFilter(1, CompileFilter("[PAID]", Table->GetDesc().Fields)));
    c.Refresh();
    c.InsertRecord(Rec({S("aaron"), S("Rome"), I(1), B(false), I(9), TValue(), S(""), F(0)}));
    EXPECT_EQ(Names(c), "bravo charlie delta");
    c.InsertRecord(Rec({S("coco"), S("Rome"), I(1), B(true), I(9), TValue(), S(""), F(0)}));
    EXPECT_EQ(c.GetRecord()->Values[0].Bytes, "coco");
    EXPECT_EQ(Names(c), "bravo charlie coco delta");
    // An edit that makes the record fail the filter takes it out of the view.
    ASSERT_TRUE(c.FindKey({S("charlie")}));
    TRecord r = *c.GetRecord();
    r.Values[3] = B(false);
    c.ModifyRecord(r);
    EXPECT_EQ(Names(c), "bravo coco delta");
}

TEST_F(FilterTest, TreesAreCopiedIntoTheCursor)
{
    TEngineCursor c(Table);
    TFilterHandle h;
    {
        TFilterExpr e = CompileFilter("[QTY] = 5", Table->GetDesc().Fields);
        h = c.AddFilter(1, e);
    }
    c.ActivateFilter(h);
    c.Refresh();
    EXPECT_EQ(Names(c), "delta");
}

} // namespace


namespace {

TEST_F(FilterTest, DateConstantsInTheLocaleFormat)
{
    TFormatSettings saved = GetFormatSettings();
    ShortDateFormat = "m/d/yyyy";
    DateSeparator = '/';
    EXPECT_EQ(Filtered("[SINCE] >= '1/2/2024'"), "bravo delta echo");
    EXPECT_EQ(Filtered("[SINCE] = '1/9/2024'"), "delta");
    SetFormatSettings(saved);
}

} // namespace
