#include <gtest/gtest.h>

#include "DBTestUtil.h"
#include "host/db/DBCommon.h"
#include "host/db/Session.h"

using namespace host;
using namespace dbtest;

namespace {

TEST(SessionTest, AliasesDatabasesAndTableNames)
{
    TempDir dir;
    CreateCustomers(dir.Path(), {{1, "Smith", "Paris", 5}});
    {
        Owned<TTable> t(new TTable(nullptr));
        t->SetDatabaseName(dir.Path());
        t->SetTableName("PARTS.DBF");
        t->GetFieldDefs()->Add("CODE", ftString, 8);
        t->CreateTable();
    }
    Session()->AddStandardAlias("KELTEST", dir.Path(), "");
    EXPECT_THROW(Session()->AddStandardAlias("keltest", dir.Path(), ""), EDatabaseError);
    TStringList list;
    Session()->GetAliasParams("KelTest", &list);
    EXPECT_EQ(list.GetStrings(0), "PATH=" + dir.Path());
    Session()->GetTableNames("KELTEST", "*.DB", true, false, &list);
    EXPECT_EQ(list.GetText(), "CUSTOMER.DB\r\n");
    Session()->GetTableNames("KELTEST", "*", false, false, &list);
    EXPECT_EQ(list.GetCount(), 2);
    {
        Owned<TTable> t(new TTable(nullptr));
        t->SetDatabaseName("KELTEST");
        t->SetTableName("CUSTOMER.DB");
        t->Open();
        EXPECT_EQ(t->FieldByName("NAME")->GetAsString(), "Smith");
        TExprParser p(t.get(), "QTY > 3 AND NAME = 'S*'", {});
        EXPECT_GT(p.GetDataSize(), 0);
        EXPECT_THROW(TExprParser(t.get(), "QTY >", {}), Exception);
    }
    TDatabase* d = Session()->OpenDatabase("KELTEST");
    EXPECT_TRUE(d->GetConnected());
    EXPECT_EQ(Session()->FindDatabase("keltest"), d);
    Session()->GetDatabaseNames(&list);
    EXPECT_GE(list.IndexOf("KELTEST"), 0);
    d->SetKeepConnection(false);
    Session()->CloseDatabase(d);
    EXPECT_EQ(Session()->FindDatabase("KELTEST"), nullptr);
    Session()->DeleteAlias("KELTEST");
    EXPECT_FALSE(Session()->IsAlias("KELTEST"));
}

} // namespace
