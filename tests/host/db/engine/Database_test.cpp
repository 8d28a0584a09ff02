#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "EngineTestUtil.h"
#include "host/db/engine/EngineInfo.h"
#include "host/rtl/Drives.h"

using namespace enginetest;

namespace {

// The exception-log and message tables as the table-creating editor defines
// them; dBASE strings are 254 long where the others use 255.
TTableDesc LogTableDesc(TTableType Type)
{
    int wide = Type == ttDBase ? 254 : 255;
    TTableDesc d;
    d.Fields = {{"ERR_TIME", ftDateTime, 0, true},   {"USER_NAME", ftString, wide, false},
                {"ERR_CLASS", ftString, 63, false},  {"ERR_MSG", ftString, wide, false},
                {"EXE_NAME", ftString, wide, false}, {"APP_NAME", ftString, wide, false},
                {"SNDR_CLASS", ftString, 63, false}, {"SNDR_NAME", ftString, 63, false},
                {"ERR_ADDR", ftString, 9, false},    {"SYS_CLASS", ftString, 63, false},
                {"SYS_MSG", ftString, wide, false},  {"SYS_ADDR", ftString, 9, false}};
    if (Type == ttDBase) d.Indexes = {{"PRIMARYKEY", "ERR_TIME", "", IndexOpt(ixUnique)}};
    if (Type == ttParadox) d.Indexes = {{"PRIMARYKEY", "ERR_TIME", "", IndexOpt(ixPrimary) | IndexOpt(ixUnique)}};
    return d;
}

TTableDesc MsgTableDesc(TTableType Type)
{
    TTableDesc d;
    d.Fields = {{"ERR_CLASS", ftString, 63, true},
                {"MSG_TYPE", ftSmallint, 0, true},
                {"LOG", ftBoolean, 0, true},
                {"TERMINATE", ftBoolean, 0, true},
                {"ERR_MSG", ftMemo, 240, true}};
    if (Type == ttDBase) d.Indexes = {{"PRIMARYKEY", "ERR_CLASS", "", IndexOpt(ixUnique)}};
    if (Type == ttParadox) d.Indexes = {{"PRIMARYKEY", "ERR_CLASS", "", IndexOpt(ixPrimary) | IndexOpt(ixUnique)}};
    return d;
}

void ExpectSameDesc(const TTableDesc& A, const TTableDesc& B)
{
    ASSERT_EQ(A.Fields.size(), B.Fields.size());
    for (size_t i = 0; i < A.Fields.size(); ++i) {
        EXPECT_EQ(A.Fields[i].Name, B.Fields[i].Name);
        EXPECT_EQ(A.Fields[i].DataType, B.Fields[i].DataType) << A.Fields[i].Name;
        EXPECT_EQ(A.Fields[i].Size, B.Fields[i].Size) << A.Fields[i].Name;
        EXPECT_EQ(A.Fields[i].Required, B.Fields[i].Required) << A.Fields[i].Name;
    }
    ASSERT_EQ(A.Indexes.size(), B.Indexes.size());
    for (size_t i = 0; i < A.Indexes.size(); ++i) {
        EXPECT_EQ(A.Indexes[i].Name, B.Indexes[i].Name);
        EXPECT_EQ(A.Indexes[i].Fields, B.Indexes[i].Fields);
        EXPECT_EQ(A.Indexes[i].Expression, B.Indexes[i].Expression);
        EXPECT_EQ(A.Indexes[i].Options, B.Indexes[i].Options);
    }
}

TDbiResult ErrorOf(const std::function<void()>& F)
{
    try {
        F();
    } catch (const EEngineError& e) {
        return e.GetErrorCode();
    }
    return DBIERR_NONE;
}

TEST(Database, CreatesLogAndMessageTablesOfEveryKind)
{
    TempDir dir, sqlDir;
    auto std = TEngineDatabase::Open(dir.Path());
    auto sql = TEngineDatabase::Open(sqlDir.File("app.sqlite"), true);
    struct Case {
        TEngineDatabase* db;
        const char *log, *msg;
        TTableType type;
    };
    for (auto t : std::vector<Case>{{std.get(), "ERRLOG", "ERRMSG", ttParadox},
                                    {std.get(), "ERRLOG.DBF", "ERRMSG.DBF", ttDBase},
                                    {sql.get(), "ERRLOG", "ERRMSG", ttDefault}}) {
        t.db->CreateTable(t.log, t.type, LogTableDesc(t.type));
        t.db->CreateTable(t.msg, t.type, MsgTableDesc(t.type));
        auto log = t.db->OpenTable(t.log, t.type);
        auto msg = t.db->OpenTable(t.msg, t.type);
        ExpectSameDesc(log->GetDesc(), LogTableDesc(t.type));
        ExpectSameDesc(msg->GetDesc(), MsgTableDesc(t.type));
        EXPECT_EQ(log->GetTableType(), t.type);
    }
    EXPECT_EQ(std->GetTableNames("*.DB"), (std::vector<std::string>{"ERRLOG.DB", "ERRMSG.DB"}));
    EXPECT_EQ(std->GetTableNames("*.DBF"), (std::vector<std::string>{"ERRLOG.DBF", "ERRMSG.DBF"}));
    EXPECT_EQ(std->GetTableNames("*.*").size(), 4u);
    EXPECT_EQ(std->GetTableNames("errl*.db", false), (std::vector<std::string>{"ERRLOG"}));
    EXPECT_EQ(sql->GetTableNames("*"), (std::vector<std::string>{"ERRLOG", "ERRMSG"}));

    // The SQL variant gets its primary keys afterwards, as unique primary indexes.
    sql->ExecSQL("ALTER TABLE ERRLOG\r\nADD PRIMARY KEY (ERR_TIME)");
    sql->ExecSQL("alter table \"ERRMSG\" add primary key (ERR_CLASS)");
    auto msg = sql->OpenTable("ERRMSG");
    ASSERT_EQ(msg->GetDesc().Indexes.size(), 1u);
    EXPECT_TRUE(msg->GetDesc().Indexes[0].Has(ixPrimary) && msg->GetDesc().Indexes[0].Has(ixUnique));
    TEngineCursor c(msg);
    c.InsertRecord(Rec({S("EFoo"), I(1), B(true), B(false), S("text")}));
    EXPECT_EQ(ErrorOf([&] { c.InsertRecord(Rec({S("EFoo"), I(2), B(true), B(false), S("again")})); }), DBIERR_KEYVIOL);
    EXPECT_EQ(ErrorOf([&] { sql->ExecSQL("ALTER TABLE ERRMSG ADD PRIMARY KEY (ERR_CLASS)"); }), DBIERR_INVALIDPARAM);
}

TEST(Database, AddPrimaryKeyOverDuplicatesFailsAndChangesNothing)
{
    TempDir dir;
    auto db = TEngineDatabase::Open(dir.Path());
    TTableDesc d;
    d.Fields = {{"K", ftInteger, 0, false}};
    db->CreateTable("T", ttParadox, d);
    TEngineCursor c(db->OpenTable("T"));
    c.InsertRecord(Rec({I(1)}));
    c.InsertRecord(Rec({I(1)}));
    EXPECT_EQ(ErrorOf([&] { db->ExecSQL("ALTER TABLE T.DB ADD PRIMARY KEY (K)"); }), DBIERR_KEYVIOL);
    EXPECT_TRUE(db->OpenTable("T")->GetDesc().Indexes.empty());
    EXPECT_EQ(db->OpenTable("T")->GetRecordCount(), 2);
}

TEST(Database, ConstraintViolationsLeaveDataIntact)
{
    TempDir dir;
    auto db = TEngineDatabase::Open(dir.Path());
    db->CreateTable("CUSTOMER", ttParadox, CustomerDesc());
    TEngineCursor c(db->OpenTable("CUSTOMER"));
    c.InsertRecord(Rec({S("alpha"), S("Rome"), I(1), B(true)}));
    c.InsertRecord(Rec({S("bravo"), S("Oslo"), I(2), B(true)}));
    struct Case {
        std::function<void()> edit;
        TDbiResult code;
    };
    for (auto& t : std::vector<Case>{
             {[&] { c.InsertRecord(Rec({S("alpha"), S("Paris"), I(3), B(false)})); }, DBIERR_KEYVIOL},
             {[&] { c.InsertRecord(Rec({TValue(), S("Paris"), I(3), B(false)})); }, DBIERR_REQDERR},
             {[&] {
                  c.First();
                  c.ModifyRecord(Rec({S("bravo"), S("Rome"), I(1), B(true)}));
              },
              DBIERR_KEYVIOL},
             {[&] { c.InsertRecord(Rec({S("x"), S("Paris"), S("many"), B(false)})); }, DBIERR_TYPEMISMATCH}}) {
        EXPECT_EQ(ErrorOf(t.edit), t.code);
        c.Refresh();
        EXPECT_EQ(Names(c), "alpha bravo");
        c.First();
        EXPECT_EQ(c.GetRecord()->Values[1].Bytes, "Rome");
    }
}

TEST(Database, BlobsRoundTripWhole)
{
    TempDir dir;
    auto db = TEngineDatabase::Open(dir.Path());
    TTableDesc d;
    d.Fields = {{"ID", ftAutoInc, 0, false}, {"MEMO", ftMemo, 0, false}, {"PIC", ftGraphic, 0, false},
                {"RAW", ftBytes, 16, false}};
    db->CreateTable("BLOBS.DBF", ttDefault, d);
    TEngineCursor c(db->OpenTable("BLOBS.DBF"));
    std::string memo(100000, 'm'), pic;
    for (int i = 0; i < 70000; ++i) pic += static_cast<char>(i * 7);
    c.InsertRecord(Rec({TValue(), S(memo), TValue::OfBlob(pic), TValue::OfBlob(std::string("\0\1\2", 3))}));
    c.InsertRecord(Rec({TValue(), S("short"), TValue(), TValue()}));
    TEngineCursor r(db->OpenTable("BLOBS.DBF"));
    r.First();
    auto rec = r.GetRecord();
    EXPECT_EQ(rec->Values[0].Int, 1);
    EXPECT_EQ(rec->Values[1].Bytes, memo);
    EXPECT_EQ(rec->Values[2].Bytes, pic);
    EXPECT_EQ(rec->Values[3].Bytes, std::string("\0\1\2", 3));
    r.Next();
    EXPECT_EQ(r.GetRecord()->Values[0].Int, 2);
    EXPECT_TRUE(r.GetRecord()->Values[2].IsNull());
}

TEST(Database, TransactionsCommitAndRollBack)
{
    TempDir dir;
    for (bool sqlBased : {true, false}) {
        auto db = sqlBased ? TEngineDatabase::Open(dir.File("t.sqlite"), true) : TEngineDatabase::Open(dir.Path());
        db->CreateTable("CUST", ttDefault, CustomerDesc());
        EXPECT_EQ(db->IsSQLBased(), sqlBased);
        TEngineCursor c(db->OpenTable("CUST"));
        EXPECT_EQ(db->GetTranInfo().State, xsINACTIVE);
        db->StartTransaction(xilREPEATABLEREAD);
        EXPECT_EQ(db->GetTranInfo().State, xsACTIVE);
        EXPECT_EQ(db->GetTranInfo().IsolationLevel, xilREPEATABLEREAD);
        EXPECT_EQ(ErrorOf([&] { db->StartTransaction(); }), DBIERR_ACTIVETRAN);
        c.InsertRecord(Rec({S("kept"), S(""), I(1), B(true)}));
        db->Commit();
        db->StartTransaction(xilDIRTYREAD);
        c.InsertRecord(Rec({S("undone"), S(""), I(1), B(true)}));
        EXPECT_EQ(Names(c), "kept undone");
        db->Rollback();
        EXPECT_EQ(db->GetTranInfo().State, xsINACTIVE);
        EXPECT_EQ(ErrorOf([&] { db->Commit(); }), DBIERR_NOACTIVETRAN);
        c.Refresh();
        EXPECT_EQ(Names(c), "kept");
        auto again = TEngineDatabase::Open(sqlBased ? dir.File("t.sqlite") : dir.Path());
        EXPECT_EQ(again->OpenTable("CUST")->GetRecordCount(), 1) << sqlBased;
    }
}

TEST(Database, LockedTableGivesErrorAfterShortWait)
{
    TempDir dir;
    auto db = TEngineDatabase::Open(dir.Path());
    db->CreateTable("CUST", ttParadox, CustomerDesc());
    db->SetBusyTimeout(100);
    TEngineCursor c(db->OpenTable("CUST"));
    // Another process's connection holding the write lock.
    auto other = std::make_unique<TSqlConnection>(dir.File("CUST.DB"), TOpenMode::ReadWrite, 0);
    other->Exec("BEGIN EXCLUSIVE");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ErrorOf([&] { c.InsertRecord(Rec({S("a"), S(""), I(1), B(true)})); }), DBIERR_LOCKED);
    EXPECT_EQ(ErrorOf([&] { c.Refresh(); }), DBIERR_LOCKED);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    other->Exec("ROLLBACK");
    other.reset();
    c.InsertRecord(Rec({S("a"), S(""), I(1), B(true)}));
    c.Refresh();
    EXPECT_EQ(c.GetRecordCount(), 1);
}

TEST(Database, BadFilesAndNamesGiveClearErrors)
{
    TempDir dir;
    auto db = TEngineDatabase::Open(dir.Path());
    {
        std::ofstream junk(dir.File("JUNK.DB"), std::ios::binary);
        for (int i = 0; i < 4096; ++i) junk.put(static_cast<char>(i * 31 + 7));
    }
    db->CreateTable("GOOD", ttParadox, CustomerDesc());
    {
        // Damage a real table file past its header.
        std::fstream f(dir.File("GOOD.DB"), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(0);
        f.write("garbage garbage garbage", 23);
    }
    struct Case {
        std::function<void()> op;
        TDbiResult code;
    };
    for (auto& t : std::vector<Case>{{[&] { db->OpenTable("JUNK.DB"); }, DBIERR_FILECORRUPT},
                                     {[&] { db->OpenTable("GOOD"); }, DBIERR_FILECORRUPT},
                                     {[&] { db->OpenTable("MISSING"); }, DBIERR_NOSUCHTABLE},
                                     {[&] { db->DeleteTable("MISSING.DBF"); }, DBIERR_NOSUCHTABLE},
                                     {[&] { db->OpenTable("../etc/passwd"); }, DBIERR_INVALIDPARAM},
                                     {[&] { TEngineDatabase::Open(dir.File("JUNK.DB")); }, DBIERR_FILECORRUPT},
                                     {[&] { TEngineDatabase::Open(dir.File("none.sqlite")); }, DBIERR_OSEINVAL},
                                     {[&] { db->CreateTable("X", ttParadox, TTableDesc{}); }, DBIERR_INVALIDPARAM}}) {
        EXPECT_EQ(ErrorOf(t.op), t.code);
    }
}

TEST(Database, DeleteRenameAndEmptyTables)
{
    TempDir dir;
    for (bool sqlBased : {false, true}) {
        auto db = sqlBased ? TEngineDatabase::Open(dir.File("x.sqlite"), true) : TEngineDatabase::Open(dir.Path());
        db->CreateTable("A", ttParadox, CustomerDesc());
        {
            TEngineCursor c(db->OpenTable("A"));
            c.InsertRecord(Rec({S("x"), S(""), I(1), B(true)}));
            EXPECT_EQ(ErrorOf([&] { db->DeleteTable("A"); }), sqlBased ? DBIERR_NONE : DBIERR_LOCKED);
        }
        if (sqlBased) db->CreateTable("A", ttParadox, CustomerDesc());
        db->EmptyTable("A");
        EXPECT_EQ(db->OpenTable("A")->GetRecordCount(), 0);
        db->RenameTable("A", "B");
        EXPECT_FALSE(db->TableExists("A"));
        EXPECT_TRUE(db->TableExists("b"));
        EXPECT_EQ(db->OpenTable("B")->GetDesc().Indexes.size(), 2u);
        db->DeleteTable("B");
        EXPECT_FALSE(db->TableExists("B"));
    }
}

TEST(Database, ExpressionAndDescendingIndexes)
{
    TempDir dir;
    auto db = TEngineDatabase::Open(dir.Path());
    TTableDesc d = CustomerDesc();
    d.Indexes.push_back({"ByCityName", "", "UPPER(CITY)+NAME", IndexOpt(ixExpression)});
    d.Indexes.push_back({"ByQtyDesc", "QTY", "", IndexOpt(ixDescending)});
    db->CreateTable("C", ttParadox, d);
    TEngineCursor c(db->OpenTable("C"));
    for (auto [n, city, q] : std::vector<std::tuple<const char*, const char*, int>>{
             {"b", "paris", 3}, {"a", "Paris", 1}, {"c", "oslo", 2}, {"d", "Berlin", 4}})
        c.InsertRecord(Rec({S(n), S(city), I(q), B(true)}));
    c.SwitchToIndex("ByCityName");
    EXPECT_EQ(Names(c), "d c a b");
    EXPECT_TRUE(c.FindKey({S("PARISb")}));
    EXPECT_EQ(c.GetRecord()->Values[0].Bytes, "b");
    c.SwitchToIndex("ByQtyDesc");
    EXPECT_EQ(Names(c), "d b c a");
    c.SetRange(TKeyBound{{I(3)}}, TKeyBound{{I(2)}});
    EXPECT_EQ(Names(c), "b c");
    EXPECT_TRUE(c.FindKey({I(2)}));
    c.InsertRecord(Rec({S("e"), S("x"), I(2), B(true)}));
    EXPECT_EQ(Names(c), "b c e");
}

} // namespace

namespace {

TEST(Database, CursorPropertiesAndEngineInformation)
{
    TempDir dir;
    int databases = GetSysInfo().Databases, cursors = GetSysInfo().Cursors;
    auto db = TEngineDatabase::Open(dir.Path());
    db->CreateTable("CUST", ttParadox, CustomerDesc());
    auto c = std::make_unique<TEngineCursor>(db->OpenTable("CUST"), "ByCity");
    c->InsertRecord(Rec({S("a"), S("Rome"), I(1), B(true)}));
    TCursorProps p = c->GetCursorProps();
    EXPECT_EQ(p.TableName, "CUST.DB");
    EXPECT_EQ(p.TableType, ttParadox);
    EXPECT_EQ(p.FieldCount, 4);
    EXPECT_EQ(p.KeyFieldCount, 2);
    EXPECT_EQ(p.IndexCount, 2);
    EXPECT_EQ(p.IndexNo, 1);
    EXPECT_EQ(p.SeqNums, TSeqNumKind::SeqNo);
    EXPECT_EQ(p.RecordCount, 1);
    EXPECT_EQ(GetSysInfo().Databases, databases + 1);
    EXPECT_EQ(GetSysInfo().Cursors, cursors + 1);
    c.reset();
    EXPECT_EQ(GetSysInfo().Cursors, cursors);
    EXPECT_GE(GetSysVersion().Version, 100);
    EXPECT_FALSE(GetSysVersion().StoreVersion.empty());
    EXPECT_EQ(GetSysConfig().UserName, GetNetUserName());
    EXPECT_FALSE(GetClientInfo().WorkDir.empty());
}

} // namespace

namespace {

TEST(Database, ExclusiveTablesShutOthersOut)
{
    TempDir dir;
    auto db = TEngineDatabase::Open(dir.Path());
    auto other = TEngineDatabase::Open(dir.Path()); // stands for another program
    db->SetBusyTimeout(50);
    other->SetBusyTimeout(50);
    db->CreateTable("CUST", ttParadox, CustomerDesc());
    {
        auto shared = other->OpenTable("CUST");
        EXPECT_EQ(ErrorOf([&] { db->OpenTable("CUST"); }), DBIERR_NONE);
        EXPECT_EQ(ErrorOf([&] { other->OpenTable("CUST", ttDefault, false, true); }), DBIERR_LOCKED);
    }
    {
        auto mine = db->OpenTable("CUST", ttDefault, false, true);
        TEngineCursor c(mine);
        c.InsertRecord(Rec({S("a"), S(""), I(1), B(true)}));
        db->EmptyTable("CUST");
        EXPECT_EQ(ErrorOf([&] { db->OpenTable("CUST"); }), DBIERR_LOCKED);
        EXPECT_EQ(ErrorOf([&] { other->OpenTable("CUST"); }), DBIERR_LOCKED);
    }
    EXPECT_EQ(other->OpenTable("CUST")->GetRecordCount(), 0);
}

} // namespace

namespace {

TEST(Database, DamagedMetadataIsReportedAsCorrupt)
{
    TempDir dir;
    auto db = TEngineDatabase::Open(dir.Path());
    db->CreateTable("CUST", ttParadox, CustomerDesc());
    struct Case {
        const char* damage;
    };
    for (auto t : std::vector<Case>{{"UPDATE \"KEL$FIELDS\" SET NAME='GONE' WHERE FIELD_NO=1"},
                                    {"UPDATE \"KEL$FIELDS\" SET TYPE=200 WHERE FIELD_NO=0"}}) {
        db->CreateTable("CUST", ttParadox, CustomerDesc());
        {
            TSqlConnection conn(dir.File("CUST.DB"), TOpenMode::ReadWrite, 0);
            conn.Exec(t.damage);
        }
        EXPECT_EQ(ErrorOf([&] { db->OpenTable("CUST"); }), DBIERR_FILECORRUPT) << t.damage;
    }
}

// A database named with a mapped drive letter is the folder the drive stands for.
TEST(Database, DriveLetterPathsOpenTheMappedFolder)
{
    TempDir dir;
    TEngineDatabase::Open(dir.Path())->CreateTable("CUST", ttParadox, CustomerDesc());
    SetDriveRoot('K', dir.Path());
    auto db = TEngineDatabase::Open("K:\\");
    EXPECT_NO_THROW(db->OpenTable("CUST"));
    ResetDriveRoots();
    EXPECT_EQ(ErrorOf([] { TEngineDatabase::Open("K:\\"); }), DBIERR_OSEINVAL);
}

} // namespace
