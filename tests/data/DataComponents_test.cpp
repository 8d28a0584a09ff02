// The data components as a program uses them: read from a form file, and the
// idle-time component hooked into the application's idle event.
#include <gtest/gtest.h>

#include "../host/db/DBTestUtil.h"
#include "data/Keldbacc.h"
#include "host/db/Database.h"
#include "host/db/Query.h"
#include "host/vcl/Filer.h"
#include "host/vcl/Forms.h"

using namespace host;
using namespace kel;
using namespace dbtest;

namespace {

// A form-like root with the handlers the form file names.
class TDataRoot : public TComponent {
    HOST_CLASS(TDataRoot, TComponent)
public:
    explicit TDataRoot(TComponent* AOwner) : TComponent(AOwner) {}
    // Writes the components it owns, as a form or data module does.
    void GetChildren(TGetChildProc Proc, TComponent* Root) override
    {
        if (Root == this)
            for (int i = 0; i < GetComponentCount(); ++i) Proc(GetComponents(i));
    }
    void TablePostError(TDataSet*, EDatabaseError* E, TDataAction& Action)
    {
        LastError = E->GetMessage();
        Action = daAbort;
    }
    void IdleHandler(TObject*, bool& Done)
    {
        ++Idles;
        Done = false;
    }
    std::string LastError;
    int Idles = 0;
};

HOST_PUBLISHED(TDataRoot)
{
    P.Method("TablePostError", &TDataRoot::TablePostError);
    P.Method("IdleHandler", &TDataRoot::IdleHandler);
}

HOST_REGISTER_CLASSES(TDataRoot);

std::string FormText(const std::string& Dir)
{
    return "object Root: TDataRoot\n"
           "  object Db: TDatabase\n"
           "    DatabaseName = 'STREAMDB'\n"
           "    DriverName = 'STANDARD'\n"
           "    KeepConnection = False\n"
           "    LoginPrompt = False\n"
           "    Params.Strings = (\n"
           "      'PATH=" + Dir + "')\n"
           "    TransIsolation = tiDirtyRead\n"
           "  end\n"
           "  object Customers: TTable\n"
           "    DatabaseName = 'STREAMDB'\n"
           "    IndexName = 'ByName'\n"
           "    TableName = 'CUSTOMER.DB'\n"
           "    Active = True\n"
           "    OnPostError = TablePostError\n"
           "  end\n"
           "  object CustSource: TDataSource\n"
           "    DataSet = Customers\n"
           "  end\n"
           "  object Orders: TQuery\n"
           "    DatabaseName = 'STREAMDB'\n"
           "    DataSource = CustSource\n"
           "    RequestLive = True\n"
           "    SQL.Strings = (\n"
           "      'SELECT ORDERNO FROM ORDERS'\n"
           "      'WHERE CUSTID = :ID ORDER BY ORDERNO')\n"
           "    Active = True\n"
           "  end\n"
           "  object Local: TLocalTable\n"
           "    TableName = 'CUSTOMER.DB'\n"
           "    ReadOnly = True\n"
           "  end\n"
           "  object Idle: TDBIdleTime\n"
           "    OnIdle = IdleHandler\n"
           "  end\n"
           "end\n";
}

class DataComponentsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateCustomers(Dir.Path(), {{1, "Smith", "Paris", 5}, {2, "Jones", "Rome", 7}});
        Owned<TTable> o(new TTable(nullptr));
        o->SetDatabaseName(Dir.Path());
        o->SetTableName("ORDERS.DB");
        o->GetFieldDefs()->Add("ORDERNO", ftInteger, 0, true);
        o->GetFieldDefs()->Add("CUSTID", ftInteger, 0, true);
        o->GetIndexDefs()->Add("", "ORDERNO", TIndexOptions{ixPrimary, ixUnique});
        o->CreateTable();
        o->Open();
        for (auto [no, cust] : {std::pair{10, 2}, {11, 2}, {12, 1}}) o->AppendRecord({no, cust});
    }
    void TearDown() override { DoneApplication(); }
    TempDir Dir;
};

TEST_F(DataComponentsTest, FormFileBringsTheDataComponentsUpLinkedAndOpen)
{
    auto* root = static_cast<TDataRoot*>(ReadComponentFromString(ObjectTextToBinary(FormText(Dir.Path())), nullptr));
    Owned<TDataRoot> owner(root);
    auto* db = static_cast<TDatabase*>(root->FindComponent("Db"));
    auto* customers = static_cast<TTable*>(root->FindComponent("Customers"));
    auto* orders = static_cast<TQuery*>(root->FindComponent("Orders"));
    auto* local = static_cast<TLocalTable*>(root->FindComponent("Local"));
    ASSERT_TRUE(db && customers && orders && local);

    EXPECT_FALSE(db->GetKeepConnection());
    EXPECT_EQ(db->GetTransIsolation(), tiDirtyRead);
    EXPECT_TRUE(db->GetConnected()) << "its datasets opened through it";
    EXPECT_EQ(db->GetDataSetCount(), 2);
    EXPECT_EQ(customers->GetIndexName(), "ByName");
    EXPECT_EQ(Column(customers, "NAME"), "Jones,Smith");
    EXPECT_TRUE(orders->GetRequestLive());
    EXPECT_EQ(orders->GetSQL()->GetCount(), 2);
    EXPECT_EQ(orders->GetDataSource(), root->FindComponent("CustSource"));
    customers->First();
    EXPECT_EQ(Column(orders, "ORDERNO"), "10,11") << "the detail query follows the master table";
    EXPECT_TRUE(orders->CanModify());
    EXPECT_TRUE(local->GetReadOnly());
    EXPECT_TRUE(local->GetLocalPath());
    EXPECT_EQ(local->GetDatabaseName(), kelApplicationFolder());

    // The streamed handler decides about a failing post.
    customers->Edit();
    customers->FieldByName("ID")->SetAsInteger(1);
    EXPECT_THROW(customers->Post(), EAbort);
    EXPECT_FALSE(root->LastError.empty()) << "the handler saw the key violation";
    customers->Cancel();

    // Closing the database closes its datasets; with KeepConnection off the
    // connection ends with the last dataset.
    db->Close();
    EXPECT_FALSE(customers->GetActive());
    EXPECT_FALSE(orders->GetActive());
    customers->Open();
    EXPECT_TRUE(db->GetConnected());
    customers->Close();
    EXPECT_FALSE(db->GetConnected());

    std::string written = ObjectBinaryToText(WriteComponentToString(root));
    for (const char* line : {"KeepConnection = False", "RequestLive = True", "OnPostError = TablePostError",
                             "DataSource = CustSource", "OnIdle = IdleHandler", "'PATH="})
        EXPECT_NE(written.find(line), std::string::npos) << line << " missing from\n" << written;
}

TEST_F(DataComponentsTest, IdleTimeChainsTheProgramsIdleHandler)
{
    int programIdles = 0;
    Application->OnIdle = [&](TObject*, bool& Done) {
        ++programIdles;
        Done = false; // keeps the loop from waiting for a message that never comes
    };
    TIdleEvent program = Application->OnIdle;
    auto* root = new TDataRoot(nullptr);
    Owned<TDataRoot> owner(root);
    auto* idle = new TDBIdleTime(root);
    idle->OnIdle = TIdleEvent(root, &TDataRoot::IdleHandler);
    EXPECT_NE(Application->OnIdle, program) << "the component took the idle event";

    Application->HandleMessage();
    Application->HandleMessage();
    EXPECT_EQ(root->Idles, 2);
    EXPECT_EQ(programIdles, 2) << "the program's own handler still runs";

    host::Free(idle);
    EXPECT_EQ(Application->OnIdle, program) << "the program's handler is back";
    Application->HandleMessage();
    EXPECT_EQ(root->Idles, 2);
    EXPECT_EQ(programIdles, 3);

    // A handler installed after the component's is left alone when it goes.
    auto* second = new TDBIdleTime(root);
    TIdleEvent later = TIdleEvent(root, &TDataRoot::IdleHandler);
    Application->OnIdle = later;
    host::Free(second);
    EXPECT_EQ(Application->OnIdle, later);
}

} // namespace
