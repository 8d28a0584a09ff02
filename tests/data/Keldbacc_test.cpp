#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "data/Keldbacc.h"
#include "data/Kelutild.h"
#include "host/rtl/DateTime.h"
#include "host/rtl/SysLocale.h"

using namespace host;
using namespace kel;

namespace {

struct TempDir {
    TempDir()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "kel_data_XXXXXX").string();
        Path = mkdtemp(tmpl.data());
    }
    ~TempDir() { std::filesystem::remove_all(Path); }
    std::string Path;
};

template <class T>
struct Owned {
    T* P;
    explicit Owned(T* A) : P(A) {}
    ~Owned() { host::Free(P); }
    T* operator->() const { return P; }
};

TEST(Kelutild, MaxFieldTypeGivesTheLargestValueOfEachType)
{
    ShortDateFormat = "dd/mm/yyyy";
    DateSeparator = '/';
    LongTimeFormat = "hh:nn:ss";
    TimeSeparator = ':';
    struct Case {
        TFieldType Type;
        std::string Text;
    };
    const Case cases[] = {{ftString, std::string(255, '\xFF')}, {ftSmallint, "32767"}, {ftInteger, "2147483647"},
                          {ftWord, "65535"},       {ftBoolean, "1"},          {ftBCD, "1.7E308"},
                          {ftDate, "31/12/9999"},  {ftTime, "23:59:59"},      {ftDateTime, "31/12/9999 23:59:59"},
                          {ftBlob, ""},            {ftAutoInc, ""}};
    for (const Case& c : cases) EXPECT_EQ(kelMaxFieldType(c.Type), c.Text) << c.Type;
    // Every real date sorts before the open end.
    EXPECT_LT(EncodeDate(2099, 1, 1), StrToDate(kelMaxFieldType(ftDate)));
}

TEST(Kelutild, TableTypeMasksAndDescriptions)
{
    EXPECT_EQ(kelGetTableTypeMask(ttParadox), "*.DB");
    EXPECT_EQ(kelGetTableTypeMask(ttDBase), "*.DBF");
    EXPECT_EQ(kelGetTableTypeMask(static_cast<TTableType>(5)), "*.DBF");
    EXPECT_EQ(kelGetTableTypeMask(ttASCII), "*.TXT");
    EXPECT_EQ(kelGetTableTypeMask(ttDefault), "");
    EXPECT_EQ(kelGetDataSetDesc(nullptr), "nil");
    Owned<TTable> t(new TTable(nullptr));
    t->SetTableName("ORDERS.DB");
    EXPECT_EQ(kelGetDataSetDesc(t.P), "ORDERS.DB");
    Owned<TQuery> q(new TQuery(nullptr));
    q->SetName("Query1");
    EXPECT_EQ(kelGetDataSetDesc(q.P), "Query1");
    EXPECT_TRUE(kelDataSetReadOnly(nullptr));
    EXPECT_FALSE(kelDataSetReadOnly(t.P));
    t->SetReadOnly(true);
    EXPECT_TRUE(kelDataSetReadOnly(t.P));
    EXPECT_TRUE(kelDataSetReadOnly(q.P));
    EXPECT_FALSE(Apollo_DB_Installed);
}

TEST(Keldbacc, LocalPathFollowsTheApplicationFolder)
{
    Owned<TLocalTable> t(new TLocalTable(nullptr));
    EXPECT_TRUE(t->GetLocalPath());
    EXPECT_EQ(t->GetDatabaseName(), kelApplicationFolder());
    t->SetDatabaseName("/elsewhere");
    EXPECT_FALSE(t->GetLocalPath());
    t->SetLocalPath(true);
    EXPECT_EQ(t->GetDatabaseName(), kelApplicationFolder());
    Owned<TLocalQuery> q(new TLocalQuery(nullptr));
    EXPECT_EQ(q->GetDatabaseName(), kelApplicationFolder());

    Owned<TLocalDatabase> d(new TLocalDatabase(nullptr));
    EXPECT_EQ(d->GetDriverName(), "STANDARD");
    ASSERT_EQ(d->GetParams()->GetCount(), 1);
    EXPECT_EQ(d->GetParams()->GetStrings(0), "Path=" + kelApplicationFolder());
}

TEST(Keldbacc, LoadedReplacesOnlyExactPathLines)
{
    struct Case {
        std::vector<std::string> Lines, Expected;
    };
    const std::string app = "Path=" + kelApplicationFolder();
    const Case cases[] = {
        {{"Path=/other", "USER NAME=x"}, {app, "USER NAME=x"}},
        {{"path=/lower"}, {"path=/lower", app}},
        {{}, {app}},
    };
    for (const Case& c : cases) {
        TComponent::SetNextLoading(true);
        Owned<TLocalDatabase> d(new TLocalDatabase(nullptr));
        d->GetParams()->Clear();
        for (auto& l : c.Lines) d->GetParams()->Add(l);
        d->Loaded();
        std::vector<std::string> got;
        for (int i = 0; i < d->GetParams()->GetCount(); ++i) got.push_back(d->GetParams()->GetStrings(i));
        EXPECT_EQ(got, c.Expected);
    }
}

TEST(Keldbacc, QueriesRunParameterisedStatements)
{
    std::vector<std::string> names;
    EXPECT_EQ(ParseSQLParams("SELECT * FROM T WHERE A = :A AND B = ':x' AND C = :c_1 OR A = :a::int", names),
              "SELECT * FROM T WHERE A = ? AND B = ':x' AND C = ? OR A = ?:int");
    EXPECT_EQ(names, (std::vector<std::string>{"A", "c_1", "a"}));

    TempDir dir;
    std::string file = dir.Path + "/shop.sqlite";
    Owned<TDatabase> db(new TDatabase(nullptr));
    db->SetDatabaseName("SHOP");
    db->GetParams()->Add("PATH=" + file);
    db->SetDriverName("SQLITE");
    // The engine creates SQL databases on first use of a new file.
    engine::TEngineDatabase::Open(file, true);
    EXPECT_TRUE(db->GetIsSQLBased());
    db->Execute("CREATE TABLE ITEM (ID INTEGER PRIMARY KEY, NAME VARCHAR(20))");
    Owned<TQuery> q(new TQuery(nullptr));
    q->SetDatabaseName("SHOP");
    q->GetSQL()->Add("INSERT INTO ITEM (ID, NAME) VALUES (:ID, :NAME)");
    ASSERT_EQ(q->GetParamCount(), 2);
    for (auto [id, name] : {std::pair{1, "bolt"}, {2, "nut"}}) {
        q->ParamByName("ID")->SetAsInteger(id);
        q->ParamByName("name")->SetAsString(name);
        q->ExecSQL();
        EXPECT_EQ(q->GetRowsAffected(), 1);
    }
    EXPECT_THROW(q->ParamByName("NOPE"), EDatabaseError);
    Owned<TTable> t(new TTable(nullptr));
    t->SetDatabaseName("SHOP");
    t->SetTableName("ITEM");
    t->Open();
    EXPECT_EQ(t->GetRecordCount(), 2);
    EXPECT_TRUE(t->Locate("NAME", {"nut"}));

    Owned<TStoredProc> sp(new TStoredProc(nullptr));
    sp->SetStoredProcName("RECALC");
    try {
        sp->ExecProc();
        FAIL();
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.GetErrors(0).GetErrorCode(), engine::DBIERR_NOTSUPPORTED);
        EXPECT_NE(e.GetMessage().find("RECALC"), std::string::npos);
    }
    bool done = false;
    int idles = 0;
    Owned<TDBIdleTime> idle(new TDBIdleTime(nullptr));
    idle->OnIdle = [&](TObject*, bool& Done) {
        ++idles;
        Done = true;
    };
    idle->DoIdle(done);
    EXPECT_TRUE(done);
    EXPECT_EQ(idles, 1);
}

} // namespace
