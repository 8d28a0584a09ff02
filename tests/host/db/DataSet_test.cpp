#include <gtest/gtest.h>

#include "DBTestUtil.h"

using namespace host;
using namespace dbtest;

namespace {

class DataSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateCustomers(Dir.Path(), {{1, "Smith", "Paris", 5}, {2, "Jones", "Rome", 7}, {3, "Brown", "Oslo", 1},
                                     {4, "Adams", "Paris", 3}, {5, "Clark", "Lima", 9}});
    }
    TempDir Dir;
};

TEST_F(DataSetTest, NavigationSetsBofAndEofAtBothEnds)
{
    Owned<TTable> t(OpenCustomers(Dir.Path()));
    EXPECT_TRUE(t->GetBOF());
    EXPECT_FALSE(t->GetEOF());
    EXPECT_EQ(t->FieldByName("NAME")->GetAsString(), "Smith");
    t->Prior();
    EXPECT_TRUE(t->GetBOF());
    EXPECT_EQ(t->FieldByName("ID")->GetAsInteger(), 1);
    t->Next();
    EXPECT_FALSE(t->GetBOF());
    t->Last();
    EXPECT_TRUE(t->GetEOF());
    EXPECT_EQ(t->FieldByName("ID")->GetAsInteger(), 5);
    t->Prior();
    EXPECT_FALSE(t->GetEOF());
    t->Next();
    EXPECT_FALSE(t->GetEOF()) << "reaching the last record by Next does not set EOF";
    t->Next();
    EXPECT_TRUE(t->GetEOF());
    EXPECT_EQ(t->FieldByName("ID")->GetAsInteger(), 5);
    EXPECT_EQ(t->GetRecordCount(), 5);
    EXPECT_EQ(Column(t.get(), "NAME"), "Smith,Jones,Brown,Adams,Clark");
}

TEST_F(DataSetTest, MoveByStopsAtEitherEnd)
{
    Owned<TTable> t(OpenCustomers(Dir.Path()));
    struct Step {
        int Distance, Moved, Id;
        bool Bof, Eof;
    };
    const Step steps[] = {{2, 2, 3, false, false}, {10, 2, 5, false, true}, {10, 0, 5, false, true},
                          {-3, -3, 2, false, false}, {-10, -1, 1, true, false}, {0, 0, 1, true, false}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.Distance);
        EXPECT_EQ(t->MoveBy(s.Distance), s.Moved);
        EXPECT_EQ(t->FieldByName("ID")->GetAsInteger(), s.Id);
        EXPECT_EQ(t->GetBOF(), s.Bof);
        EXPECT_EQ(t->GetEOF(), s.Eof);
        EXPECT_EQ(t->GetRecNo(), s.Id);
    }
}

TEST_F(DataSetTest, EmptyTableIsBofAndEof)
{
    Owned<TTable> t(OpenCustomers(Dir.Path()));
    t->Close();
    t->EmptyTable();
    t->Open();
    EXPECT_TRUE(t->IsEmpty());
    EXPECT_TRUE(t->GetBOF());
    EXPECT_TRUE(t->GetEOF());
    EXPECT_TRUE(t->FieldByName("NAME")->GetIsNull());
    EXPECT_EQ(t->MoveBy(3), 0);
    EXPECT_THROW(t->Delete(), EDatabaseError);
}

TEST_F(DataSetTest, StateTransitionsRaiseEventsInOrder)
{
    Owned<TTable> t(new TTable(nullptr));
    t->SetDatabaseName(Dir.Path());
    t->SetTableName("CUSTOMER.DB");
    std::vector<std::string> log;
    auto hook = [&](TDataSetNotifyEvent& E, const char* Name) {
        E = [&log, Name](TDataSet* D) { log.push_back(std::string(Name) + ":" + GetEnumName(TypeInfo<TDataSetState>(), D->GetState())); };
    };
    hook(t->BeforeOpen, "BeforeOpen");
    hook(t->AfterOpen, "AfterOpen");
    hook(t->BeforeInsert, "BeforeInsert");
    hook(t->AfterInsert, "AfterInsert");
    hook(t->OnNewRecord, "OnNewRecord");
    hook(t->BeforeEdit, "BeforeEdit");
    hook(t->AfterEdit, "AfterEdit");
    hook(t->BeforePost, "BeforePost");
    hook(t->AfterPost, "AfterPost");
    hook(t->BeforeCancel, "BeforeCancel");
    hook(t->AfterCancel, "AfterCancel");
    hook(t->BeforeDelete, "BeforeDelete");
    hook(t->AfterDelete, "AfterDelete");
    hook(t->BeforeScroll, "BeforeScroll");
    hook(t->AfterScroll, "AfterScroll");
    hook(t->BeforeClose, "BeforeClose");
    hook(t->AfterClose, "AfterClose");

    struct Case {
        std::function<void(TTable*)> Action;
        std::vector<std::string> Expected;
    };
    const Case cases[] = {
        {[](TTable* T) { T->Open(); }, {"BeforeOpen:dsInactive", "AfterOpen:dsBrowse", "AfterScroll:dsBrowse"}},
        {[](TTable* T) { T->Edit(); }, {"BeforeEdit:dsBrowse", "AfterEdit:dsEdit"}},
        {[](TTable* T) {
             T->FieldByName("QTY")->SetAsInteger(50);
             T->Post();
         },
         {"BeforePost:dsEdit", "AfterPost:dsBrowse"}},
        {[](TTable* T) { T->Insert(); },
         {"BeforeInsert:dsBrowse", "BeforeScroll:dsBrowse", "OnNewRecord:dsInsert", "AfterInsert:dsInsert",
          "AfterScroll:dsInsert"}},
        {[](TTable* T) { T->Cancel(); }, {"BeforeCancel:dsInsert", "AfterCancel:dsBrowse"}},
        {[](TTable* T) { T->Delete(); },
         {"BeforeDelete:dsBrowse", "BeforeScroll:dsBrowse", "AfterDelete:dsBrowse", "AfterScroll:dsBrowse"}},
        {[](TTable* T) { T->Close(); }, {"BeforeClose:dsBrowse", "AfterClose:dsInactive"}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        log.clear();
        cases[i].Action(t.get());
        EXPECT_EQ(log, cases[i].Expected);
    }
    t->Open();
    EXPECT_EQ(t->GetRecordCount(), 4);
    EXPECT_EQ(Column(t.get(), "QTY"), "7,1,3,9") << "the edit of record 1 was posted, then the record deleted";
}

TEST_F(DataSetTest, EditingRules)
{
    Owned<TTable> t(OpenCustomers(Dir.Path()));
    TField* qty = t->FieldByName("QTY");
    EXPECT_THROW(qty->SetAsInteger(1), EDatabaseError) << "not in edit mode";
    EXPECT_THROW(t->Post(), EDatabaseError);
    t->Edit();
    EXPECT_FALSE(t->GetModified());
    qty->SetAsInteger(42);
    EXPECT_TRUE(t->GetModified());
    t->Next(); // CheckBrowseMode posts the change
    EXPECT_EQ(t->GetState(), dsBrowse);
    t->First();
    EXPECT_EQ(qty->GetAsInteger(), 42);
    t->Edit();
    qty->SetAsInteger(99);
    t->Cancel();
    EXPECT_EQ(qty->GetAsInteger(), 42);
    // A required field left empty refuses the post and keeps the new record.
    t->Append();
    t->FieldByName("ID")->SetAsInteger(10);
    EXPECT_THROW(t->Post(), EDatabaseError);
    EXPECT_EQ(t->GetState(), dsInsert);
    t->FieldByName("NAME")->SetAsString("Young");
    t->Post();
    EXPECT_EQ(t->FieldByName("NAME")->GetAsString(), "Young");
    EXPECT_EQ(t->GetRecordCount(), 6);
    // Read-only tables refuse edits.
    t->Close();
    t->SetReadOnly(true);
    t->Open();
    EXPECT_FALSE(t->CanModify());
    EXPECT_THROW(t->Edit(), EDatabaseError);
}

TEST_F(DataSetTest, KeyViolationRaisesEngineErrorAndKeepsData)
{
    Owned<TTable> t(OpenCustomers(Dir.Path()));
    t->Append();
    t->FieldByName("ID")->SetAsInteger(2);
    t->FieldByName("NAME")->SetAsString("Twin");
    try {
        t->Post();
        FAIL() << "duplicate key posted";
    } catch (const EDBEngineError& e) {
        ASSERT_GE(e.GetErrorCount(), 1);
        EXPECT_EQ(e.GetErrors(0).GetErrorCode(), engine::DBIERR_KEYVIOL);
        EXPECT_EQ(e.GetErrors(0).GetCategory(), engine::ERRCAT_INTEGRITY);
    }
    EXPECT_EQ(t->GetState(), dsInsert);
    EXPECT_EQ(t->FieldByName("NAME")->GetAsString(), "Twin") << "the user's values survive the failure";
    t->Cancel();
    EXPECT_EQ(Column(t.get(), "NAME"), "Smith,Jones,Brown,Adams,Clark");
}

TEST_F(DataSetTest, MissingTableRaisesEngineError)
{
    Owned<TTable> t(new TTable(nullptr));
    t->SetDatabaseName(Dir.Path());
    t->SetTableName("NOWHERE.DB");
    try {
        t->Open();
        FAIL() << "opened a missing table";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.GetErrors(0).GetErrorCode(), engine::DBIERR_NOSUCHTABLE);
    }
    EXPECT_FALSE(t->GetActive());
    EXPECT_EQ(t->GetFieldCount(), 0);
}

TEST_F(DataSetTest, BookmarksSurviveInsertsAndDeletesElsewhere)
{
    Owned<TTable> t(OpenCustomers(Dir.Path()));
    t->MoveBy(2); // Brown
    TBookmark bm = t->GetBookmark();
    t->First();
    t->Delete(); // Smith
    t->Insert();
    t->FieldByName("ID")->SetAsInteger(0);
    t->FieldByName("NAME")->SetAsString("Zero");
    t->Post();
    t->Last();
    EXPECT_TRUE(t->BookmarkValid(bm));
    t->GotoBookmark(bm);
    EXPECT_EQ(t->FieldByName("NAME")->GetAsString(), "Brown");
    TBookmark last;
    t->Last();
    last = t->GetBookmark();
    EXPECT_LT(t->CompareBookmarks(bm, last), 0);
    EXPECT_GT(t->CompareBookmarks(last, bm), 0);
    EXPECT_EQ(t->CompareBookmarks(bm, bm), 0);
    t->GotoBookmark(bm);
    t->Delete();
    EXPECT_FALSE(t->BookmarkValid(bm));
    EXPECT_THROW(t->GotoBookmark(bm), EDatabaseError);
    t->FreeBookmark(bm);
    EXPECT_TRUE(bm.IsNull());
}

TEST_F(DataSetTest, LocateAndLookup)
{
    Owned<TTable> t(OpenCustomers(Dir.Path()));
    EXPECT_TRUE(t->Locate("CITY;QTY", {"Paris", 3}));
    EXPECT_EQ(t->FieldByName("NAME")->GetAsString(), "Adams");
    EXPECT_TRUE(t->Locate("NAME", {"jo"}, TLocateOptions{loCaseInsensitive, loPartialKey}));
    EXPECT_EQ(t->FieldByName("ID")->GetAsInteger(), 2);
    EXPECT_FALSE(t->Locate("NAME", {"Nobody"}));
    EXPECT_EQ(t->FieldByName("ID")->GetAsInteger(), 2) << "a failed search does not move";
    auto r = t->Lookup("ID", {5}, "NAME;CITY");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].AsString(), "Clark");
    EXPECT_EQ(r[1].AsString(), "Lima");
    EXPECT_EQ(t->FieldByName("ID")->GetAsInteger(), 2) << "Lookup does not move";
    EXPECT_TRUE(t->Lookup("ID", {77}, "NAME")[0].IsNull());
}

TEST_F(DataSetTest, FilterExpressionRunsBeforeOnFilterRecord)
{
    Owned<TTable> t(OpenCustomers(Dir.Path()));
    std::vector<std::string> seen;
    t->SetOnFilterRecord([&](TDataSet* D, bool& Accept) {
        seen.push_back(D->FieldByName("NAME")->GetAsString());
        Accept = D->FieldByName("QTY")->GetAsInteger() > 3;
    });
    t->SetFilter("CITY = 'Paris' OR CITY = 'Lima'");
    t->SetFiltered(true);
    EXPECT_EQ(Column(t.get(), "NAME"), "Smith,Clark");
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"Adams", "Clark", "Smith"}));
    t->SetFiltered(false);
    EXPECT_EQ(t->GetRecordCount(), 5);
    t->SetOnFilterRecord(nullptr);
    t->SetFilter("QTY >= 5");
    t->SetFiltered(true);
    EXPECT_EQ(Column(t.get(), "ID"), "1,2,5");
}

TEST_F(DataSetTest, CalculatedAndLookupFields)
{
    Owned<TTable> cities(new TTable(nullptr));
    {
        Owned<TTable> c(new TTable(nullptr));
        c->SetDatabaseName(Dir.Path());
        c->SetTableName("CITY.DB");
        c->GetFieldDefs()->Add("CITY", ftString, 20, true);
        c->GetFieldDefs()->Add("COUNTRY", ftString, 20, false);
        c->GetIndexDefs()->Add("", "CITY", TIndexOptions{ixPrimary, ixUnique});
        c->CreateTable();
        c->Open();
        for (auto [city, country] : {std::pair{"Paris", "France"}, {"Rome", "Italy"}}) {
            c->Append();
            c->FieldByName("CITY")->SetAsString(city);
            c->FieldByName("COUNTRY")->SetAsString(country);
            c->Post();
        }
    }
    cities->SetDatabaseName(Dir.Path());
    cities->SetTableName("CITY.DB");
    cities->Open();

    Owned<TTable> t(new TTable(nullptr));
    t->SetDatabaseName(Dir.Path());
    t->SetTableName("CUSTOMER.DB");
    for (auto [name, type] : {std::pair{"ID", ftInteger}, {"NAME", ftString}, {"CITY", ftString}, {"QTY", ftInteger}}) {
        TField* f = static_cast<TField*>(DefaultFieldClass(type)->NewInstance(t.get()));
        f->SetFieldName(name);
        f->SetDataSet(t.get());
    }
    auto* twice = new TIntegerField(t.get());
    twice->SetFieldName("TWICE");
    twice->SetFieldKind(fkCalculated);
    twice->SetDataSet(t.get());
    auto* country = new TStringField(t.get());
    country->SetFieldName("COUNTRY");
    country->SetFieldKind(fkLookup);
    country->SetLookupDataSet(cities.get());
    country->SetKeyFields("CITY");
    country->SetLookupKeyFields("CITY");
    country->SetLookupResultField("COUNTRY");
    country->SetDataSet(t.get());
    t->OnCalcFields = [](TDataSet* D) {
        D->FieldByName("TWICE")->SetAsInteger(D->FieldByName("QTY")->GetAsInteger() * 2);
    };
    t->Open();
    EXPECT_FALSE(t->GetDefaultFields());
    EXPECT_EQ(Column(t.get(), "TWICE"), "10,14,2,6,18");
    EXPECT_EQ(Column(t.get(), "COUNTRY"), "France,Italy,,France,");
    t->First();
    t->Edit();
    t->FieldByName("QTY")->SetAsInteger(21);
    EXPECT_EQ(twice->GetAsInteger(), 42) << "AutoCalcFields recalculates on each change";
    EXPECT_THROW(twice->SetAsInteger(1), EDatabaseError) << "calculated fields are read-only outside OnCalcFields";
    t->Cancel();
}

TEST_F(DataSetTest, DefaultFieldsFollowTheTable)
{
    Owned<TTable> t(OpenCustomers(Dir.Path()));
    EXPECT_TRUE(t->GetDefaultFields());
    ASSERT_EQ(t->GetFieldCount(), 4);
    EXPECT_EQ(t->GetField(0)->ClassName(), "TIntegerField");
    EXPECT_EQ(t->GetField(1)->ClassName(), "TStringField");
    EXPECT_EQ(t->GetField(1)->GetSize(), 20);
    EXPECT_TRUE(t->GetField(1)->GetRequired());
    EXPECT_EQ(t->GetField(2)->GetIndex(), 2);
    EXPECT_EQ(t->FindField("nope"), nullptr);
    EXPECT_THROW(t->FieldByName("nope"), EDatabaseError);
    EXPECT_TRUE(t->FieldByName("ID")->GetIsIndexField());
    EXPECT_FALSE(t->FieldByName("CITY")->GetIsIndexField());
    t->Close();
    EXPECT_EQ(t->GetFieldCount(), 0) << "default fields go with the cursor";
}

} // namespace
