#include <gtest/gtest.h>

#include "DBTestUtil.h"

using namespace host;
using namespace dbtest;

namespace {

class TableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateCustomers(Dir.Path(), {{1, "Smith", "Paris", 5}, {2, "Jones", "Rome", 7}, {3, "Brown", "Oslo", 1},
                                     {4, "Adams", "Paris", 3}, {5, "Clark", "Lima", 9}, {6, "Smyth", "Rome", 2}});
    }
    TempDir Dir;
};

TEST_F(TableTest, FindKeyAndGotoNearestWithPartialKeys)
{
    Owned<TTable> t(OpenCustomers(Dir.Path(), "ByName"));
    EXPECT_EQ(Column(t.get(), "NAME"), "Adams,Brown,Clark,Jones,Smith,Smyth");
    struct Case {
        const char* Key;
        bool Found;
        const char* Nearest;
    };
    const Case cases[] = {{"Jones", true, "Jones"}, {"jones", true, "Jones"}, {"Sm", false, "Smith"},
                          {"Smz", false, ""},        {"A", false, "Adams"},    {"Zed", false, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Key);
        t->First();
        EXPECT_EQ(t->FindKey({c.Key}), c.Found);
        t->FindNearest({c.Key});
        // Past every key, the nearest record is the last one.
        EXPECT_EQ(t->FieldByName("NAME")->GetAsString(), *c.Nearest ? c.Nearest : "Smyth");
    }
    t->SetKey();
    EXPECT_EQ(t->GetState(), dsSetKey);
    t->FieldByName("NAME")->SetAsString("Clark");
    EXPECT_TRUE(t->GotoKey());
    EXPECT_EQ(t->GetState(), dsBrowse);
    EXPECT_EQ(t->FieldByName("ID")->GetAsInteger(), 5);
    t->EditKey();
    t->SetKeyExclusive(true);
    t->Post();
    t->GotoNearest();
    EXPECT_EQ(t->FieldByName("NAME")->GetAsString(), "Jones") << "exclusive: the first key after Clark";
}

TEST_F(TableTest, CompositeIndexFindsWithFewerKeyFields)
{
    Owned<TTable> t(new TTable(nullptr));
    t->SetDatabaseName(Dir.Path());
    t->SetTableName("CUSTOMER.DB");
    t->SetIndexFieldNames("CITY;NAME");
    t->Open();
    EXPECT_EQ(t->GetIndexFieldCount(), 2);
    EXPECT_EQ(t->GetIndexField(1)->GetFieldName(), "NAME");
    EXPECT_TRUE(t->FindKey({"Rome"}));
    EXPECT_EQ(t->FieldByName("NAME")->GetAsString(), "Jones");
    EXPECT_TRUE(t->FindKey({"Rome", "Smyth"}));
    EXPECT_EQ(t->FieldByName("ID")->GetAsInteger(), 6);
    t->SetKey();
    t->FieldByName("CITY")->SetAsString("Paris");
    t->FieldByName("NAME")->SetAsString("Zzz");
    t->SetKeyFieldCount(1);
    EXPECT_TRUE(t->GotoKey()) << "KeyFieldCount 1 searches on CITY alone";
    EXPECT_EQ(t->FieldByName("NAME")->GetAsString(), "Adams");
}

TEST_F(TableTest, RangesWithPrefixSentinel)
{
    Owned<TTable> t(OpenCustomers(Dir.Path(), "ByName"));
    struct Case {
        TVariantArray Start, End;
        const char* Names;
    };
    const std::string all255(20, '\xFF');
    const Case cases[] = {
        {{"B"}, {"Jones"}, "Brown,Clark,Jones"},
        {{"Sm"}, {"Sm" + all255}, "Smith,Smyth"},
        {{""}, {"C" + all255}, "Adams,Brown,Clark"},
        {{"Smz"}, {"Smz" + all255}, ""},
    };
    for (const Case& c : cases) {
        t->SetRange(c.Start, c.End);
        EXPECT_EQ(Column(t.get(), "NAME"), c.Names);
    }
    t->SetRangeStart();
    t->FieldByName("NAME")->SetAsString("Clark");
    t->SetKeyExclusive(true);
    t->SetRangeEnd();
    t->FieldByName("NAME")->SetAsString("Smith");
    t->ApplyRange();
    EXPECT_EQ(Column(t.get(), "NAME"), "Jones,Smith");
    t->EditRangeEnd();
    t->FieldByName("NAME")->SetAsString("Smyth");
    t->ApplyRange();
    EXPECT_EQ(Column(t.get(), "NAME"), "Jones,Smith,Smyth") << "editing one end keeps the other";
    t->CancelRange();
    EXPECT_EQ(t->GetRecordCount(), 6);
}

TEST_F(TableTest, MasterDetailFollowsTheMaster)
{
    {
        Owned<TTable> o(new TTable(nullptr));
        o->SetDatabaseName(Dir.Path());
        o->SetTableName("ORDERS.DB");
        o->GetFieldDefs()->Add("ORDERNO", ftInteger, 0, true);
        o->GetFieldDefs()->Add("CUSTID", ftInteger, 0, true);
        o->GetFieldDefs()->Add("AMOUNT", ftFloat);
        o->GetIndexDefs()->Add("", "ORDERNO", TIndexOptions{ixPrimary, ixUnique});
        o->GetIndexDefs()->Add("ByCust", "CUSTID;ORDERNO");
        o->CreateTable();
        o->Open();
        for (auto [no, cust] : {std::pair{10, 1}, {11, 2}, {12, 1}, {13, 3}, {14, 1}}) {
            o->Append();
            o->FieldByName("ORDERNO")->SetAsInteger(no);
            o->FieldByName("CUSTID")->SetAsInteger(cust);
            o->Post();
        }
    }
    Owned<TTable> master(OpenCustomers(Dir.Path()));
    Owned<TDataSource> ms(new TDataSource(nullptr));
    ms->SetDataSet(master.get());
    Owned<TTable> detail(new TTable(nullptr));
    detail->SetDatabaseName(Dir.Path());
    detail->SetTableName("ORDERS.DB");
    detail->SetIndexName("ByCust");
    detail->SetMasterFields("ID");
    detail->SetMasterSource(ms.get());
    detail->Open();
    EXPECT_EQ(Column(detail.get(), "ORDERNO"), "10,12,14");
    master->Next();
    EXPECT_EQ(Column(detail.get(), "ORDERNO"), "11");
    master->Next();
    master->Next(); // Adams has no orders
    EXPECT_TRUE(detail->IsEmpty());
    // A detail edit is posted before the master moves on.
    master->First();
    detail->First();
    detail->Edit();
    detail->FieldByName("AMOUNT")->SetAsFloat(2.5);
    master->Next();
    EXPECT_EQ(detail->GetState(), dsBrowse);
    master->First();
    EXPECT_DOUBLE_EQ(detail->FieldByName("AMOUNT")->GetAsFloat(), 2.5);
    detail->SetMasterSource(nullptr);
    EXPECT_EQ(detail->GetRecordCount(), 5);
}

TEST_F(TableTest, CreateTableForEachTableType)
{
    for (auto [name, type] : {std::pair{"PARTS.DB", ttDefault}, {"PARTS.DBF", ttDefault}, {"STOCK", ttDBase},
                              {"ITEMS", ttParadox}}) {
        SCOPED_TRACE(name);
        Owned<TTable> t(new TTable(nullptr));
        t->SetDatabaseName(Dir.Path());
        t->SetTableName(name);
        t->SetTableType(type);
        t->GetFieldDefs()->Add("CODE", ftString, 8, true);
        t->GetFieldDefs()->Add("PRICE", ftCurrency);
        t->GetFieldDefs()->Add("SINCE", ftDate);
        t->GetFieldDefs()->Add("NOTE", ftMemo);
        t->GetIndexDefs()->Add("ByCode", "CODE", TIndexOptions{ixUnique});
        t->CreateTable();
        EXPECT_TRUE(t->Exists());
        t->SetIndexName("ByCode");
        t->Open();
        EXPECT_EQ(t->FieldByName("PRICE")->ClassName(), "TCurrencyField");
        EXPECT_EQ(t->FieldByName("SINCE")->ClassName(), "TDateField");
        EXPECT_EQ(t->FieldByName("NOTE")->ClassName(), "TMemoField");
        t->Append();
        t->FieldByName("CODE")->SetAsString("B1");
        t->FieldByName("PRICE")->SetAsFloat(1.25);
        t->FieldByName("SINCE")->SetAsDateTime(EncodeDate(2020, 2, 29));
        t->FieldByName("NOTE")->SetAsString("long text");
        t->Post();
        t->Close();
        t->Open();
        EXPECT_EQ(t->FieldByName("CODE")->GetAsString(), "B1");
        EXPECT_DOUBLE_EQ(t->FieldByName("PRICE")->GetAsFloat(), 1.25);
        EXPECT_EQ(t->FieldByName("SINCE")->GetAsDateTime(), EncodeDate(2020, 2, 29));
        EXPECT_EQ(t->FieldByName("NOTE")->GetAsString(), "long text");
        TStringList names;
        t->GetIndexNames(&names);
        EXPECT_EQ(names.GetCount(), 1);
        t->Close();
        t->DeleteTable();
        EXPECT_FALSE(t->Exists());
    }
}

} // namespace
