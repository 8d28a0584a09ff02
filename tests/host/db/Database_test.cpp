#include <gtest/gtest.h>

#include "DBTestUtil.h"
#include "host/db/BDE.h"
#include "host/db/Database.h"

using namespace host;
using namespace dbtest;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateCustomers(Dir.Path(), {{1, "Smith", "Paris", 5}, {2, "Jones", "Rome", 7}, {3, "Brown", "Oslo", 1}});
        Db = new TDatabase(nullptr);
        Db->SetDatabaseName("CUSTDB");
        Db->GetParams()->Add("PATH=" + Dir.Path());
    }
    void TearDown() override { host::Free(Db); }
    TTable* Open()
    {
        auto* t = new TTable(nullptr);
        t->SetDatabaseName("CUSTDB");
        t->SetTableName("CUSTOMER.DB");
        t->Open();
        return t;
    }
    TempDir Dir;
    TDatabase* Db = nullptr;
};

TEST_F(DatabaseTest, TransactionsCommitAndRollBack)
{
    Owned<TTable> t(Open());
    EXPECT_TRUE(Db->GetConnected());
    EXPECT_EQ(t->GetDatabase(), Db);
    EXPECT_FALSE(Db->GetIsSQLBased());
    Db->StartTransaction();
    EXPECT_TRUE(Db->GetInTransaction());
    t->Edit();
    t->FieldByName("QTY")->SetAsInteger(100);
    t->Post();
    t->Delete();
    Db->Rollback();
    EXPECT_FALSE(Db->GetInTransaction());
    t->Refresh();
    EXPECT_EQ(Column(t.get(), "QTY"), "5,7,1") << "rolled back";
    Db->StartTransaction();
    t->First();
    t->Edit();
    t->FieldByName("QTY")->SetAsInteger(100);
    t->Post();
    Db->Commit();
    t->Close();
    t->Open();
    EXPECT_EQ(Column(t.get(), "QTY"), "100,7,1") << "committed";
    EXPECT_THROW(Db->Commit(), EDBEngineError) << "no transaction is active";
    // Plain SQL reaches a folder database's table files by table name.
    EXPECT_EQ(Db->Execute("UPDATE CUSTOMER SET QTY = QTY + 1 WHERE QTY = 7"), 1);
    t->Refresh();
    EXPECT_EQ(Column(t.get(), "QTY"), "100,8,1");
}

TEST_F(DatabaseTest, DbiCallsReportCodesAndCheckRaises)
{
    Owned<TTable> t(Open());
    hDBICur h = t->GetHandle();
    CURProps props;
    Check(DbiGetCursorProps(h, props));
    EXPECT_EQ(props.FieldCount, 4);
    EXPECT_EQ(props.RecordCount, 3);
    engine::TRecord rec;
    Check(DbiGetRecord(h, dbiNOLOCK, &rec));
    engine::TValue v;
    bool blank = true;
    Check(DbiGetField(h, 2, rec, v, blank));
    EXPECT_FALSE(blank);
    EXPECT_EQ(v.AsString(), "Smith");
    EXPECT_EQ(DbiGetField(h, 9, rec, v, blank), engine::DBIERR_NOSUCHFIELD);
    // A record callback filter through the handle, then the dataset resynchronised.
    hDBIFilter f = 0;
    Check(DbiAddFilter(h, 7, 1, false, nullptr,
                       [](intptr_t Client, const engine::TRecord& R, int64_t) { return Client == 7 && R.Values[3].AsInt() > 1; },
                       f));
    Check(DbiActivateFilter(h, f));
    t->First();
    EXPECT_EQ(Column(t.get(), "NAME"), "Smith,Jones");
    Check(DbiDropFilter(h, f));
    t->First();
    EXPECT_EQ(t->GetRecordCount(), 3);
    DBIResult r = DbiDropFilter(h, f);
    EXPECT_EQ(r, engine::DBIERR_NOSUCHFILTER);
    try {
        Check(r);
        FAIL();
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.GetErrors(0).GetErrorCode(), engine::DBIERR_NOSUCHFILTER);
        EXPECT_FALSE(e.GetMessage().empty());
    }
    EXPECT_NO_THROW(Check(DbiSaveChanges(h)));
    EXPECT_EQ(DbiSaveChanges(nullptr), engine::DBIERR_INVALIDHNDL);
    XInfo x;
    Check(DbiGetTranInfo(t->GetDBHandle(), nullptr, x));
    EXPECT_EQ(x.State, engine::xsINACTIVE);
    SYSVersion ver;
    Check(DbiGetSysVersion(ver));
    EXPECT_GT(ver.Version, 0);
}

} // namespace
