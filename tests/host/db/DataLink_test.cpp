#include <gtest/gtest.h>

#include "DBTestUtil.h"

using namespace host;
using namespace dbtest;

namespace {

// Records every notification as one word.
class TLogLink : public TDataLink {
public:
    std::vector<std::string> Log;

protected:
    void ActiveChanged() override { Log.push_back(GetActive() ? "Active" : "Inactive"); }
    void CheckBrowseMode() override { Log.push_back("CheckBrowseMode"); }
    void DataSetChanged() override { Log.push_back("DataSetChanged"); }
    void DataSetScrolled(int Distance) override { Log.push_back("Scrolled(" + std::to_string(Distance) + ")"); }
    void EditingChanged() override { Log.push_back(GetEditing() ? "Editing" : "NotEditing"); }
    void LayoutChanged() override { Log.push_back("LayoutChanged"); }
    void RecordChanged(TField* Field) override
    {
        Log.push_back("RecordChanged(" + (Field ? Field->GetFieldName() : std::string()) + ")");
    }
    void UpdateData() override { Log.push_back("UpdateData"); }
};

class DataLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateCustomers(Dir.Path(), {{1, "Smith", "Paris", 5}, {2, "Jones", "Rome", 7}, {3, "Brown", "Oslo", 1},
                                     {4, "Adams", "Paris", 3}, {5, "Clark", "Lima", 9}});
        Table = OpenCustomers(Dir.Path());
        Table->Close();
        Source = new TDataSource(nullptr);
        Source->SetDataSet(Table);
        Link.SetDataSource(Source);
    }
    void TearDown() override
    {
        Link.SetDataSource(nullptr);
        host::Free(Source);
        host::Free(Table);
    }
    std::vector<std::string> Take()
    {
        auto r = std::move(Link.Log);
        Link.Log.clear();
        return r;
    }
    TempDir Dir;
    TTable* Table = nullptr;
    TDataSource* Source = nullptr;
    TLogLink Link;
};

using Words = std::vector<std::string>;

TEST_F(DataLinkTest, NotificationsFollowEachDataSetOperation)
{
    struct Case {
        const char* Name;
        std::function<void(TTable*)> Action;
        Words Expected;
    };
    const Case cases[] = {
        {"Open", [](TTable* T) { T->Open(); }, {"Active"}},
        {"Next", [](TTable* T) { T->Next(); }, {"CheckBrowseMode", "Scrolled(1)"}},
        {"Last", [](TTable* T) { T->Last(); }, {"CheckBrowseMode", "DataSetChanged"}},
        {"Edit", [](TTable* T) { T->Edit(); }, {"CheckBrowseMode", "Editing", "RecordChanged()"}},
        {"SetField", [](TTable* T) { T->FieldByName("QTY")->SetAsInteger(8); }, {"RecordChanged(QTY)"}},
        {"Post", [](TTable* T) { T->Post(); },
         {"UpdateData", "CheckBrowseMode", "NotEditing", "DataSetChanged"}},
        {"Insert", [](TTable* T) { T->Insert(); }, {"CheckBrowseMode", "Editing", "DataSetChanged"}},
        {"Cancel", [](TTable* T) { T->Cancel(); }, {"CheckBrowseMode", "NotEditing", "DataSetChanged"}},
        {"Delete", [](TTable* T) { T->Delete(); }, {"CheckBrowseMode", "DataSetChanged"}},
        {"FieldLayout", [](TTable* T) { T->FieldByName("CITY")->SetVisible(false); }, {"LayoutChanged"}},
        {"Close", [](TTable* T) { T->Close(); }, {"Inactive"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Action(Table);
        EXPECT_EQ(Take(), c.Expected);
    }
}

TEST_F(DataLinkTest, DataSourceEventsAndAutoEdit)
{
    Words log;
    Source->OnStateChange = [&](TObject*) { log.push_back(std::string("State:") + GetEnumName(TypeInfo<TDataSetState>(), Source->GetState())); };
    Source->OnDataChange = [&](TObject*, TField* F) { log.push_back("Data:" + (F ? F->GetFieldName() : std::string())); };
    Source->OnUpdateData = [&](TObject*) { log.push_back("Update"); };
    Table->Open();
    EXPECT_EQ(log, (Words{"State:dsBrowse", "Data:"}));
    log.clear();
    EXPECT_TRUE(Link.Edit()) << "AutoEdit puts the dataset into edit mode";
    Table->FieldByName("NAME")->SetAsString("X");
    Table->Post();
    EXPECT_EQ(log, (Words{"State:dsEdit", "Data:", "Data:NAME", "Update", "State:dsBrowse", "Data:"}));
    Source->SetAutoEdit(false);
    EXPECT_FALSE(Link.Edit());
    EXPECT_EQ(Table->GetState(), dsBrowse);
    log.clear();
    Source->SetEnabled(false);
    EXPECT_FALSE(Link.GetActive());
    Table->Next();
    EXPECT_EQ(log, (Words{"State:dsInactive"}));
}

TEST_F(DataLinkTest, NestedDisableControlsSendsOneChangeAtTheEnd)
{
    Table->Open();
    Take();
    Table->DisableControls();
    Table->DisableControls();
    EXPECT_TRUE(Table->ControlsDisabled());
    Table->Next();
    Table->Edit();
    Table->FieldByName("QTY")->SetAsInteger(1);
    Table->Post();
    Table->Last();
    Table->EnableControls();
    EXPECT_TRUE(Table->ControlsDisabled());
    EXPECT_TRUE(Take().empty());
    Table->EnableControls();
    EXPECT_FALSE(Table->ControlsDisabled());
    EXPECT_EQ(Take(), (Words{"DataSetChanged"}));
    // A state that differs at the end is reported first.
    Table->DisableControls();
    Table->Edit();
    Table->EnableControls();
    EXPECT_EQ(Take(), (Words{"Editing", "DataSetChanged"}));
    Table->Cancel();
    // A layout change while disabled becomes the final event.
    Take();
    Table->DisableControls();
    Table->FieldByName("CITY")->SetVisible(false);
    Table->Next();
    Table->EnableControls();
    EXPECT_EQ(Take(), (Words{"LayoutChanged"}));
}

TEST_F(DataLinkTest, WindowedLinkScrollsByRowsOutsideItsWindow)
{
    Link.SetBufferCount(3);
    Table->Open();
    Take();
    EXPECT_EQ(Table->GetBufferCount(), 3);
    EXPECT_EQ(Link.GetRecordCount(), 3);
    struct Step {
        int Distance;
        int Scroll;
        int Active;
    };
    const Step steps[] = {{1, 0, 1}, {1, 0, 2}, {1, 1, 2}, {1, 1, 2}, {-1, 0, 1}, {-1, 0, 0}, {-2, -2, 0}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.Distance);
        Table->MoveBy(s.Distance);
        EXPECT_EQ(Take(), (Words{"CheckBrowseMode", "Scrolled(" + std::to_string(s.Scroll) + ")"}));
        EXPECT_EQ(Link.GetActiveRecord(), s.Active);
    }
    // Reading another row of the window through ActiveRecord.
    Table->Last();
    std::string names;
    int saved = Link.GetActiveRecord();
    for (int i = 0; i < Link.GetRecordCount(); ++i) {
        Link.SetActiveRecord(i);
        names += Table->FieldByName("NAME")->GetAsString() + ";";
    }
    Link.SetActiveRecord(saved);
    EXPECT_EQ(names, "Brown;Adams;Clark;");
    EXPECT_EQ(Table->FieldByName("NAME")->GetAsString(), "Clark");
}

TEST_F(DataLinkTest, FieldDataLinkFollowsItsField)
{
    TFieldDataLink fl;
    Words log;
    fl.OnDataChange = [&](TObject*) { log.push_back("Data:" + (fl.GetField() ? fl.GetField()->GetAsString() : "")); };
    fl.OnEditingChange = [&](TObject*) { log.push_back(fl.GetEditing() ? "Editing" : "NotEditing"); };
    fl.OnActiveChange = [&](TObject*) { log.push_back("Active"); };
    fl.OnUpdateData = [&](TObject*) { fl.GetField()->SetAsString("Typed"); };
    fl.SetDataSource(Source);
    fl.SetFieldName("NAME");
    Table->Open();
    EXPECT_EQ(log, (Words{"Data:Smith", "Active"}));
    log.clear();
    Table->FieldByName("CITY")->FocusControl();
    EXPECT_TRUE(fl.Edit());
    fl.Modified();
    Table->Post(); // asks the link for its value
    EXPECT_EQ(Table->FieldByName("NAME")->GetAsString(), "Typed");
    // The link hears nothing of the change it writes itself.
    EXPECT_EQ(log, (Words{"Editing", "Data:Smith", "NotEditing", "Data:Typed"}));
    log.clear();
    Table->FieldByName("QTY")->SetReadOnly(true);
    fl.SetFieldName("QTY");
    EXPECT_FALSE(fl.CanModify());
    EXPECT_FALSE(fl.Edit());
    fl.SetDataSource(nullptr);
}

TEST_F(DataLinkTest, CircularLinksAndFixedSourcesAreRefused)
{
    Owned<TTable> detail(new TTable(nullptr));
    Owned<TDataSource> ds2(new TDataSource(nullptr));
    ds2->SetDataSet(detail.get());
    Table->SetMasterSource(ds2.get());
    EXPECT_THROW(detail->SetMasterSource(Source), EDatabaseError);
    Table->SetMasterSource(nullptr);
    Link.SetDataSourceFixed(true);
    EXPECT_THROW(Link.SetDataSource(ds2.get()), EDatabaseError);
    Link.SetDataSourceFixed(false);
}

} // namespace
