#include <gtest/gtest.h>

#include "EngineTestUtil.h"

using namespace enginetest;

namespace {

class CursorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Db = TEngineDatabase::Open(Dir.Path());
        Db->CreateTable("CUSTOMER.DB", ttDefault, CustomerDesc());
        Table = Db->OpenTable("CUSTOMER.DB");
        TEngineCursor c(Table);
        for (auto& [name, city, qty, paid] : std::vector<std::tuple<std::string, std::string, int, bool>>{
                 {"delta", "Paris", 5, true}, {"alpha", "london", 12, false}, {"echo", "Berlin", 20, true},
                 {"bravo", "Paris", 10, true}, {"charlie", "berlin", 1, false}, {"smith", "Rome", 7, true},
                 {"smithers", "Rome", 8, false}, {"smyth", "Oslo", 9, true}})
            c.InsertRecord(Rec({S(name), S(city), I(qty), B(paid)}));
    }

    TempDir Dir;
    std::unique_ptr<TEngineDatabase> Db;
    std::shared_ptr<TEngineTable> Table;
};

TEST_F(CursorTest, OrdersByPrimarySecondaryAndPhysical)
{
    TEngineCursor c(Table);
    EXPECT_EQ(Names(c), "alpha bravo charlie delta echo smith smithers smyth");
    c.SwitchToIndex("ByCity");
    EXPECT_EQ(Names(c), "charlie echo alpha smyth bravo delta smith smithers");
    c.SwitchToPhysicalOrder();
    EXPECT_EQ(Names(c), "delta alpha echo bravo charlie smith smithers smyth");
    c.SwitchToFieldNames("QTY");
    EXPECT_EQ(Names(c), "charlie delta smith smithers smyth bravo alpha echo");
    EXPECT_THROW(c.SwitchToIndex("Nope"), EEngineError);
}

TEST_F(CursorTest, BofEofAtBothEndsAndMoveByStops)
{
    TEngineCursor c(Table);
    c.First();
    EXPECT_TRUE(c.GetBOF());
    EXPECT_FALSE(c.GetEOF());
    EXPECT_FALSE(c.Prior());
    EXPECT_TRUE(c.GetBOF());
    EXPECT_TRUE(c.Next());
    EXPECT_FALSE(c.GetBOF());
    c.Last();
    EXPECT_TRUE(c.GetEOF());
    EXPECT_EQ(c.GetRecord()->Values[0].Bytes, "smyth");
    EXPECT_FALSE(c.Next());
    EXPECT_TRUE(c.GetEOF());
    EXPECT_EQ(c.GetRecord()->Values[0].Bytes, "smyth");

    struct Case {
        int start, by, moved;
        bool bof, eof;
        const char* name;
    };
    for (auto t : std::vector<Case>{{0, 3, 3, false, false, "delta"},
                                    {5, 10, 2, false, true, "smyth"},
                                    {2, -10, -2, true, false, "alpha"},
                                    {7, 1, 0, false, true, "smyth"},
                                    {0, -1, 0, true, false, "alpha"},
                                    {4, 0, 0, false, false, "echo"}}) {
        c.SetSeqNo(t.start + 1);
        EXPECT_EQ(c.MoveBy(t.by), t.moved) << t.start << " by " << t.by;
        EXPECT_EQ(c.GetBOF(), t.bof) << t.start << " by " << t.by;
        EXPECT_EQ(c.GetEOF(), t.eof) << t.start << " by " << t.by;
        EXPECT_EQ(c.GetRecord()->Values[0].Bytes, t.name);
    }
    // From the cracks: towards the records lands on the nearest one.
    c.SetToEnd();
    EXPECT_EQ(c.MoveBy(3), 0);
    EXPECT_EQ(c.GetRecord()->Values[0].Bytes, "smyth");
    c.SetToEnd();
    EXPECT_EQ(c.MoveBy(-2), -2);
    EXPECT_EQ(c.GetRecord()->Values[0].Bytes, "smithers");
    c.SetToBegin();
    EXPECT_EQ(c.MoveBy(-1), 0);
    EXPECT_TRUE(c.GetBOF());
    c.SetToBegin();
    EXPECT_FALSE(c.HasCurrent());
    EXPECT_THROW(c.GetRecord(), EEngineError);
    EXPECT_TRUE(c.Next());
    EXPECT_EQ(c.GetRecord()->Values[0].Bytes, "alpha");
}

TEST_F(CursorTest, EmptyCursorIsAtBothEnds)
{
    TEngineCursor c(Table);
    c.SetRange(TKeyBound{{S("x")}}, TKeyBound{{S("y")}});
    EXPECT_TRUE(c.IsEmpty());
    c.First();
    EXPECT_TRUE(c.GetBOF() && c.GetEOF());
    EXPECT_EQ(c.MoveBy(5), 0);
    EXPECT_FALSE(c.Next());
    EXPECT_THROW(c.GetRecord(), EEngineError);
}

TEST_F(CursorTest, BookmarksSurviveEditsElsewhere)
{
    TEngineCursor c(Table);
    ASSERT_TRUE(c.FindKey({S("delta")}));
    TBookmark delta = c.GetBookmark();
    c.First();
    TBookmark alpha = c.GetBookmark();
    EXPECT_EQ(c.CompareBookmarks(alpha, delta), -1);
    EXPECT_EQ(c.CompareBookmarks(delta, alpha), 1);
    EXPECT_EQ(c.CompareBookmarks(delta, delta), 0);

    c.InsertRecord(Rec({S("aaron"), S("Paris"), I(1), B(true)}));
    c.Last();
    c.DeleteRecord();
    ASSERT_TRUE(c.FindKey({S("bravo")}));
    c.DeleteRecord();
    c.GotoBookmark(delta);
    EXPECT_EQ(c.GetRecord()->Values[0].Bytes, "delta");
    EXPECT_EQ(c.GetSeqNo(), 4); // aaron alpha charlie delta

    // A bookmark of a deleted record is detected, not followed.
    c.DeleteRecord();
    EXPECT_FALSE(c.BookmarkValid(delta));
    EXPECT_TRUE(c.BookmarkValid(alpha));
    EXPECT_THROW(c.GotoBookmark(delta), EEngineError);
    EXPECT_THROW(c.GotoBookmark(TBookmark{}), EEngineError);
}

TEST_F(CursorTest, SequenceAndPhysicalRecordNumbers)
{
    TEngineCursor c(Table);
    EXPECT_EQ(c.GetSeqNumKind(), TSeqNumKind::SeqNo);
    c.Last();
    EXPECT_EQ(c.GetSeqNo(), 8);
    c.SetSeqNo(3);
    EXPECT_EQ(c.GetRecord()->Values[0].Bytes, "charlie");
    EXPECT_EQ(c.GetPhysRecNo(), 5); // fifth inserted

    TTableDesc d = CustomerDesc();
    d.Indexes = {{"PRIMARYKEY", "NAME", "", IndexOpt(ixUnique)}};
    Db->CreateTable("CUST", ttDBase, d);
    auto dbf = Db->OpenTable("CUST.DBF");
    TEngineCursor x(dbf, "PRIMARYKEY");
    EXPECT_EQ(x.GetSeqNumKind(), TSeqNumKind::PhysicalRecNo);
    for (auto n : {"c", "a", "b"}) x.InsertRecord(Rec({S(n), S(""), I(0), B(false)}));
    x.First();
    EXPECT_EQ(x.GetPhysRecNo(), 2);
    // Physical numbers are not reused after a delete.
    x.Last();
    x.DeleteRecord();
    x.InsertRecord(Rec({S("d"), S(""), I(0), B(false)}));
    EXPECT_EQ(x.GetPhysRecNo(), 4);
}

TEST_F(CursorTest, FindKeyAndGotoNearestOnPartialKeys)
{
    TEngineCursor c(Table, "ByCity");
    struct Case {
        std::vector<TValue> key;
        bool partial, found;
        const char* name; // where FindKey or GotoNearest lands
    };
    for (const auto& t : std::vector<Case>{{{S("paris")}, false, true, "bravo"},
                                           {{S("PARIS"), S("delta")}, false, true, "delta"},
                                           {{S("Rome"), S("smi")}, true, true, "smith"},
                                           {{S("Rome"), S("smi")}, false, false, "smith"},
                                           {{S("Lis")}, false, false, "alpha"},
                                           {{S("Lo")}, true, true, "alpha"},
                                           {{S("Zurich")}, false, false, "smithers"}}) {
        c.First();
        EXPECT_EQ(c.FindKey(t.key, t.partial), t.found) << t.name;
        if (t.found) {
            EXPECT_EQ(c.GetRecord()->Values[0].Bytes, t.name);
        }
        c.GotoNearest(t.key, t.partial);
        EXPECT_EQ(c.GetRecord()->Values[0].Bytes, t.name);
    }
    c.SwitchToPhysicalOrder();
    EXPECT_THROW(c.FindKey({S("x")}), EEngineError);
}

TEST_F(CursorTest, RangesWithPrefixSentinelAndExclusiveBounds)
{
    TEngineCursor c(Table);
    struct Case {
        std::optional<TKeyBound> low, high;
        const char* names;
    };
    std::string ff = "\xFF";
    for (const auto& t : std::vector<Case>{
             {TKeyBound{{S("smith")}}, TKeyBound{{S("smith" + ff)}}, "smith smithers"},
             {TKeyBound{{S("b")}}, TKeyBound{{S("d" + ff)}}, "bravo charlie delta"},
             {TKeyBound{{S("bravo")}, true}, TKeyBound{{S("echo")}, true}, "charlie delta"},
             {std::nullopt, TKeyBound{{S("bravo")}}, "alpha bravo"},
             {TKeyBound{{S("sm")}}, std::nullopt, "smith smithers smyth"},
             {TKeyBound{{S("x")}}, std::nullopt, ""}}) {
        c.SetRange(t.low, t.high);
        EXPECT_EQ(Names(c), t.names);
    }
    c.CancelRange();
    EXPECT_EQ(c.GetRecordCount(), 8);

    c.SwitchToIndex("ByCity");
    c.SetRange(TKeyBound{{S("paris")}}, TKeyBound{{S("PARIS")}});
    EXPECT_EQ(Names(c), "bravo delta");
    c.SetRange(TKeyBound{{S("Rome"), S("smith")}}, TKeyBound{{S("Rome"), S("smith" + ff)}});
    EXPECT_EQ(Names(c), "smith smithers");
    // A null low bound sorts first and so starts at the beginning.
    c.SetRange(TKeyBound{{TValue()}}, TKeyBound{{S("Berlin" + ff)}});
    EXPECT_EQ(Names(c), "charlie echo");
}

TEST_F(CursorTest, MasterDetailLinkFollowsMasterValues)
{
    TTableDesc d;
    d.Fields = {{"CUST", ftString, 30, true}, {"ITEM", ftString, 30, false}};
    d.Indexes = {{"ByCust", "CUST;ITEM", "", 0}};
    Db->CreateTable("ORDERS.DB", ttDefault, d);
    TEngineCursor orders(Db->OpenTable("ORDERS.DB"), "ByCust");
    for (auto [cust, item] : std::vector<std::pair<const char*, const char*>>{
             {"alpha", "pen"}, {"bravo", "ink"}, {"alpha", "cap"}, {"delta", "nib"}})
        orders.InsertRecord(Rec({S(cust), S(item)}));

    TEngineCursor master(Table);
    int custField = 0;
    struct Case {
        const char* master;
        const char* items;
    };
    for (auto t : std::vector<Case>{{"alpha", "cap pen"}, {"bravo", "ink"}, {"charlie", ""}}) {
        ASSERT_TRUE(master.FindKey({S(t.master)}));
        orders.SetLink({custField}, {master.GetRecord()->Values[0]});
        EXPECT_EQ(Names(orders, 1), t.items);
    }
    // A detail record inserted under the current master joins the view in order.
    orders.InsertRecord(Rec({S("charlie"), S("box")}));
    orders.InsertRecord(Rec({S("delta"), S("zip")}));
    EXPECT_EQ(Names(orders, 1), "box");
    orders.CancelLink();
    EXPECT_EQ(orders.GetRecordCount(), 6);
}

TEST_F(CursorTest, LocateWithOptions)
{
    TEngineCursor c(Table);
    int city = Table->FieldIndexChecked("CITY"), qty = Table->FieldIndexChecked("QTY");
    struct Case {
        std::vector<int> fields;
        std::vector<TValue> values;
        TLocateOptions opts;
        const char* name; // nullptr: not found
    };
    for (const auto& t : std::vector<Case>{{{city}, {S("paris")}, 0, nullptr},
                                           {{city}, {S("paris")}, LocateOpt(loCaseInsensitive), "bravo"},
                                           {{city}, {S("Ber")}, LocateOpt(loPartialKey), "echo"},
                                           {{city}, {S("ber")}, LocateOpt(loPartialKey) | LocateOpt(loCaseInsensitive), "charlie"},
                                           {{city, qty}, {S("Rome"), I(8)}, 0, "smithers"},
                                           {{qty}, {I(99)}, 0, nullptr}}) {
        c.First();
        bool found = c.Locate(t.fields, t.values, t.opts);
        EXPECT_EQ(found, t.name != nullptr);
        if (t.name) {
            EXPECT_EQ(c.GetRecord()->Values[0].Bytes, t.name);
        }
    }
}

TEST_F(CursorTest, RefreshSeesOtherConnectionsAndKeepsPosition)
{
    TEngineCursor c(Table);
    ASSERT_TRUE(c.FindKey({S("delta")}));
    {
        auto other = TEngineDatabase::Open(Dir.Path());
        TEngineCursor o(other->OpenTable("CUSTOMER.DB"));
        o.InsertRecord(Rec({S("aardvark"), S("Oslo"), I(3), B(false)}));
        ASSERT_TRUE(o.FindKey({S("delta")}));
        TRecord r = *o.GetRecord();
        r.Values[2] = I(99);
        o.ModifyRecord(r);
    }
    EXPECT_EQ(c.GetRecordCount(), 8);
    c.Refresh();
    EXPECT_EQ(c.GetRecordCount(), 9);
    EXPECT_EQ(c.GetRecord()->Values[0].Bytes, "delta");
    EXPECT_EQ(c.GetRecord()->Values[2].Int, 99);
    EXPECT_EQ(c.GetSeqNo(), 5);
}

} // namespace

namespace {

// Key search over a keyset of many blocks, before and after edits and with a
// filter: position of key 2k is k among the even keys.
TEST(CursorKeys, KeySearchAcrossManyBlocks)
{
    TempDir dir;
    auto db = TEngineDatabase::Open(dir.Path());
    TTableDesc d;
    d.Fields = {{"K", ftInteger, 0, false}, {"ODD", ftBoolean, 0, false}};
    d.Indexes = {{"ByK", "K", "", 0}};
    db->CreateTable("T", ttParadox, d);
    {
        TEngineCursor w(db->OpenTable("T"), "ByK");
        db->StartTransaction();
        for (int k = 999; k >= 0; --k) w.InsertRecord(Rec({I(2 * k), B(false)}));
        db->Commit();
    }
    TEngineCursor c(db->OpenTable("T"), "ByK");
    auto check = [&](const char* stage, int64_t shift) {
        for (int x : {0, 1, 2, 127, 128, 129, 130, 640, 1001, 1998, 1999, 2500}) {
            bool found = c.FindKey({I(x)});
            EXPECT_EQ(found, x % 2 == 0 && x < 2000) << stage << " " << x;
            c.GotoNearest({I(x)});
            int64_t want = x >= 1998 ? 1998 : x + x % 2;
            EXPECT_EQ(c.GetRecord()->Values[0].Int, want) << stage << " " << x;
            EXPECT_EQ(c.GetSeqNo(), want / 2 + 1 + (want > 600 ? shift : 0)) << stage << " " << x;
        }
    };
    check("fresh", 0);
    c.InsertRecord(Rec({I(600), B(true)})); // a duplicate key, after the first 600
    check("edited", 1);
    c.Refresh();
    check("refreshed", 1);
    TFilterHandle cb = c.AddFilter(1, [](const TRecord& r) { return r.Values[1].Int == 0; });
    c.ActivateFilter(cb);
    c.Refresh();
    check("callback", 0);
    c.DropFilter(cb);
    TFilterExpr e;
    TExprNode f;
    f.Op = TExprOp::BoolField;
    f.Field = 1;
    TExprNode n;
    n.Op = TExprOp::Not;
    n.Left = e.Add(f);
    e.SetRoot(e.Add(n));
    c.ActivateFilter(c.AddFilter(1, e));
    c.Refresh();
    check("expression", 0);
}

} // namespace
