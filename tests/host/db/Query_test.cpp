#include <gtest/gtest.h>

#include "DBTestUtil.h"
#include "host/db/DBConsts.h"
#include "host/db/DataSource.h"
#include "host/db/Query.h"

using namespace host;
using namespace dbtest;

namespace {

class QueryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateCustomers(Dir.Path(), {{1, "Smith", "Paris", 5}, {2, "Jones", "Rome", 7}, {3, "Brown", "Oslo", 1},
                                     {4, "Adams", "Rome", 9}, {5, "Clark", "Paris", 3}});
        Owned<TTable> o(new TTable(nullptr));
        o->SetDatabaseName(Dir.Path());
        o->SetTableName("ORDERS.DB");
        o->GetFieldDefs()->Add("ORDERNO", ftInteger, 0, true);
        o->GetFieldDefs()->Add("CUSTID", ftInteger, 0, true);
        o->GetFieldDefs()->Add("AMOUNT", ftCurrency, 0, false);
        o->GetIndexDefs()->Add("", "ORDERNO", TIndexOptions{ixPrimary, ixUnique});
        o->CreateTable();
        o->Open();
        for (auto [no, cust, amount] : {std::tuple{10, 2, 12.5}, {11, 2, 7.0}, {12, 4, 100.0}, {13, 1, 3.25}}) {
            o->AppendRecord({no, cust, amount});
        }
    }
    TQuery* Query(const std::string& Sql, bool Live = false)
    {
        auto* q = new TQuery(nullptr);
        q->SetDatabaseName(Dir.Path());
        q->GetSQL()->SetText(Sql);
        q->SetRequestLive(Live);
        return q;
    }
    TempDir Dir;
};

TEST_F(QueryTest, SelectOverOneTableNavigatesLikeATable)
{
    Owned<TQuery> q(Query("SELECT ID, NAME, QTY FROM CUSTOMER WHERE QTY > 2 ORDER BY NAME"));
    q->Open();
    ASSERT_EQ(q->GetFieldCount(), 3);
    EXPECT_EQ(q->FieldByName("ID")->GetDataType(), ftInteger);
    EXPECT_EQ(q->FieldByName("NAME")->GetDataType(), ftString);
    EXPECT_EQ(q->FieldByName("NAME")->GetSize(), 20) << "types and sizes come from the table's own definitions";
    EXPECT_EQ(q->GetRecordCount(), 4);
    EXPECT_EQ(Column(q.get(), "NAME"), "Adams,Clark,Jones,Smith");

    q->First();
    EXPECT_TRUE(q->GetBOF());
    EXPECT_FALSE(q->GetEOF());
    q->Prior();
    EXPECT_TRUE(q->GetBOF());
    EXPECT_EQ(q->FieldByName("NAME")->GetAsString(), "Adams");
    EXPECT_EQ(q->MoveBy(10), 3) << "MoveBy stops at the last record";
    EXPECT_TRUE(q->GetEOF());
    EXPECT_EQ(q->FieldByName("NAME")->GetAsString(), "Smith");
    EXPECT_EQ(q->MoveBy(-10), -3);
    EXPECT_TRUE(q->GetBOF());

    q->Next();
    TBookmark mark = q->GetBookmark();
    q->Last();
    q->GotoBookmark(mark);
    EXPECT_EQ(q->FieldByName("NAME")->GetAsString(), "Clark");
    EXPECT_TRUE(q->Locate("NAME", {"jones"}, TLocateOptions{loCaseInsensitive}));
    EXPECT_EQ(q->FieldByName("QTY")->GetAsInteger(), 7);
    EXPECT_EQ(q->GetRecNo(), 3);
}

TEST_F(QueryTest, ResultWithoutRequestLiveIsReadOnly)
{
    Owned<TQuery> q(Query("SELECT * FROM CUSTOMER"));
    q->Open();
    EXPECT_EQ(q->GetFieldCount(), 4) << "the engine's row numbers stay hidden";
    EXPECT_FALSE(q->CanModify());
    try {
        q->Edit();
        FAIL() << "a read-only result went into edit mode";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.GetMessage(), DBConsts::SDataSetReadOnly);
    }
    EXPECT_THROW(q->Append(), EDatabaseError);
    EXPECT_EQ(q->GetState(), dsBrowse);
}

TEST_F(QueryTest, LiveResultWritesThroughToTheTable)
{
    Owned<TQuery> q(Query("SELECT ID, NAME, QTY FROM CUSTOMER WHERE CITY = 'Rome' ORDER BY QTY DESC", true));
    q->Open();
    ASSERT_TRUE(q->CanModify());
    EXPECT_EQ(Column(q.get(), "NAME"), "Adams,Jones");
    q->First();
    q->Edit();
    q->FieldByName("QTY")->SetAsInteger(2);
    q->Post();
    EXPECT_EQ(Column(q.get(), "NAME"), "Jones,Adams") << "an edited record moves to its place in the order";

    q->Append();
    q->FieldByName("ID")->SetAsInteger(6);
    q->FieldByName("NAME")->SetAsString("Evans");
    q->Post();
    q->Locate("NAME", {"Jones"});
    q->Delete();

    Owned<TTable> t(OpenCustomers(Dir.Path()));
    EXPECT_EQ(Column(t.get(), "NAME"), "Smith,Brown,Adams,Clark,Evans");
    EXPECT_EQ(Column(t.get(), "QTY"), "5,1,2,3,");
    EXPECT_EQ(Column(t.get(), "CITY"), "Paris,Oslo,Rome,Paris,") << "columns outside the result stay empty";

    // A key violation is reported and changes nothing.
    q->First();
    q->Edit();
    q->FieldByName("ID")->SetAsInteger(1);
    EXPECT_THROW(q->Post(), EDBEngineError);
    EXPECT_EQ(q->GetState(), dsEdit) << "the user's values are kept for correction";
    q->Cancel();
    t->Refresh();
    EXPECT_EQ(Column(t.get(), "ID"), "1,3,4,5,6");
}

TEST_F(QueryTest, LiveRequestOnAResultThatCannotBeWrittenGivesAReadOnlyResult)
{
    for (const char* sql : {"SELECT NAME, QTY * 2 AS DOUBLED FROM CUSTOMER", "SELECT CITY, COUNT(*) FROM CUSTOMER GROUP BY CITY",
                            "SELECT DISTINCT CITY FROM CUSTOMER",
                            "SELECT c.NAME, o.AMOUNT FROM CUSTOMER c JOIN ORDERS o ON o.CUSTID = c.ID"}) {
        Owned<TQuery> q(Query(sql, true));
        q->Open();
        EXPECT_FALSE(q->CanModify()) << sql;
    }
}

TEST_F(QueryTest, JoinsAndGroupsOverTablesOfAFolder)
{
    Owned<TQuery> q(Query("SELECT c.NAME, o.ORDERNO, o.AMOUNT FROM CUSTOMER c, ORDERS o "
                          "WHERE o.CUSTID = c.ID ORDER BY o.ORDERNO DESC"));
    q->Open();
    EXPECT_EQ(Column(q.get(), "NAME"), "Smith,Adams,Jones,Jones");
    EXPECT_EQ(q->FieldByName("AMOUNT")->GetDataType(), ftCurrency);
    q->Last();
    EXPECT_TRUE(q->GetEOF());
    EXPECT_EQ(q->FieldByName("ORDERNO")->GetAsInteger(), 10);
    q->Close();

    q->GetSQL()->SetText("SELECT CITY, COUNT(*) AS N, SUM(QTY) * 1.5 AS WEIGHT, MAX(NAME) AS LAST_NAME "
                         "FROM CUSTOMER GROUP BY CITY ORDER BY CITY");
    q->Open();
    struct Expect {
        const char* Field;
        TFieldType Type;
    } types[] = {{"CITY", ftString}, {"N", ftInteger}, {"WEIGHT", ftFloat}, {"LAST_NAME", ftString}};
    for (auto& e : types) EXPECT_EQ(q->FieldByName(e.Field)->GetDataType(), e.Type) << e.Field;
    EXPECT_EQ(Column(q.get(), "CITY"), "Oslo,Paris,Rome");
    EXPECT_EQ(Column(q.get(), "N"), "1,2,2");
    EXPECT_EQ(Column(q.get(), "WEIGHT"), "1.5,12,24");
}

TEST_F(QueryTest, ParametersBindByNameAndFollowAMasterSource)
{
    Owned<TQuery> q(Query("SELECT NAME FROM CUSTOMER WHERE CITY = :City AND QTY >= :MinQty ORDER BY NAME"));
    ASSERT_EQ(q->GetParamCount(), 2);
    q->ParamByName("city")->SetAsString("Paris");
    q->ParamByName("MinQty")->SetAsInteger(4);
    q->Open();
    EXPECT_EQ(Column(q.get(), "NAME"), "Smith");
    q->Close();
    q->ParamByName("MinQty")->SetAsInteger(0);
    q->Open();
    EXPECT_EQ(Column(q.get(), "NAME"), "Clark,Smith");
    q->Close();

    // A detail query takes its parameter from the master's current record.
    Owned<TTable> master(OpenCustomers(Dir.Path()));
    Owned<TDataSource> src(new TDataSource(nullptr));
    src->SetDataSet(master.get());
    Owned<TQuery> detail(Query("SELECT ORDERNO FROM ORDERS WHERE CUSTID = :ID ORDER BY ORDERNO"));
    detail->SetDataSource(src.get());
    detail->Open();
    master->First();
    EXPECT_EQ(Column(detail.get(), "ORDERNO"), "13");
    master->Next();
    EXPECT_EQ(Column(detail.get(), "ORDERNO"), "10,11");
    master->Next();
    EXPECT_TRUE(detail->IsEmpty());
    EXPECT_THROW(src->SetDataSet(detail.get()), EDatabaseError) << "circular link";
}

TEST_F(QueryTest, BadStatementsGiveClearErrorsAndLeaveTheQueryClosed)
{
    struct Case {
        const char* Sql;
        const char* Expected; // part of the message
    } cases[] = {
        {"SELEC NAME FROM CUSTOMER", "syntax error"},
        {"SELECT NAME FROM NOWHERE", "NOWHERE"},
        {"SELECT NOSUCH FROM CUSTOMER", "no such column"},
        {"SELECT NAME FROM CUSTOMER WHERE NAME = 'open", "unterminated"},
        {"UPDATE CUSTOMER SET QTY = 0", "returns no records"},
    };
    for (auto& c : cases) {
        Owned<TQuery> q(Query(c.Sql));
        try {
            q->Open();
            ADD_FAILURE() << c.Sql << " opened";
        } catch (const EDBEngineError& e) {
            EXPECT_NE(e.GetMessage().find(c.Expected), std::string::npos) << c.Sql << ": " << e.GetMessage();
        }
        EXPECT_FALSE(q->GetActive());
    }
    Owned<TQuery> q(Query("SELECT NAME FROM CUSTOMER WHERE"));
    EXPECT_THROW(q->Prepare(), EDBEngineError) << "Prepare compiles the statement";
    EXPECT_FALSE(q->GetPrepared());
    q->GetSQL()->SetText("SELECT NAME FROM CUSTOMER");
    q->Prepare();
    EXPECT_TRUE(q->GetPrepared());
    q->GetSQL()->Add("WHERE QTY > 4");
    EXPECT_FALSE(q->GetPrepared()) << "a new text needs preparing again";
    q->Open();
    EXPECT_EQ(q->GetRecordCount(), 3);
    Owned<TQuery> empty(Query(""));
    EXPECT_THROW(empty->Open(), EDatabaseError);
}

TEST_F(QueryTest, UniDirectionalResultsOnlyMoveForward)
{
    Owned<TQuery> q(Query("SELECT NAME FROM CUSTOMER ORDER BY ID"));
    q->SetUniDirectional(true);
    q->Open();
    EXPECT_THROW(q->SetUniDirectional(false), EDatabaseError) << "fixed while open";
    q->Next();
    q->Next();
    EXPECT_EQ(q->FieldByName("NAME")->GetAsString(), "Brown");
    try {
        q->Prior();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.GetMessage(), DBConsts::SDataSetUnidirectional);
    }
    EXPECT_THROW(q->MoveBy(-1), EDatabaseError);
    EXPECT_THROW(q->First(), EDatabaseError);
    q->Last();
    EXPECT_EQ(q->FieldByName("NAME")->GetAsString(), "Clark");
}

TEST_F(QueryTest, FiltersApplyToQueryResults)
{
    Owned<TQuery> q(Query("SELECT NAME, QTY * 10 AS SCORE FROM CUSTOMER ORDER BY NAME"));
    q->Open();
    q->SetFilter("SCORE >= 50");
    q->SetFiltered(true);
    EXPECT_EQ(Column(q.get(), "NAME"), "Adams,Jones,Smith");
    EXPECT_TRUE(q->Locate("SCORE", {90}));
    EXPECT_EQ(q->FieldByName("NAME")->GetAsString(), "Adams");
}

TEST(QuerySqlDatabase, LiveQueryOnAnSqlDatabaseFile)
{
    TempDir dir;
    std::string file = dir.Path() + "/shop.sqlite";
    engine::TEngineDatabase::Open(file, true);
    Owned<TTable> t(new TTable(nullptr));
    t->SetDatabaseName(file);
    t->SetTableName("ITEM");
    t->GetFieldDefs()->Add("ID", ftInteger, 0, true);
    t->GetFieldDefs()->Add("NAME", ftString, 10, true);
    t->GetIndexDefs()->Add("", "ID", TIndexOptions{ixPrimary, ixUnique});
    t->CreateTable();
    t->Open();
    for (auto [id, name] : {std::pair{1, "bolt"}, {2, "nut"}, {3, "washer"}}) t->AppendRecord({id, name});

    Owned<TQuery> q(new TQuery(nullptr));
    q->SetDatabaseName(file);
    q->GetSQL()->SetText("SELECT i.NAME FROM ITEM i WHERE i.ID <> 2 ORDER BY i.NAME DESC");
    q->SetRequestLive(true);
    q->Open();
    EXPECT_EQ(Column(q.get(), "NAME"), "washer,bolt");
    q->First();
    q->Edit();
    q->FieldByName("NAME")->SetAsString("anchor");
    q->Post();
    EXPECT_EQ(Column(q.get(), "NAME"), "bolt,anchor");
    q->First();
    q->Edit();
    q->FieldByName("NAME")->Clear();
    EXPECT_THROW(q->Post(), EDatabaseError) << "a required field of the table";
    q->Cancel();
    t->Refresh();
    EXPECT_EQ(Column(t.get(), "NAME"), "bolt,nut,anchor");
}

} // namespace
