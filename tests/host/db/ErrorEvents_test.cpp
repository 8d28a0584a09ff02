#include <gtest/gtest.h>

#include "DBTestUtil.h"

using namespace host;
using namespace dbtest;

namespace {

class ErrorEventsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateCustomers(Dir.Path(), {{1, "Smith", "Paris", 5}, {2, "Jones", "Rome", 7}});
        T = OpenCustomers(Dir.Path());
    }
    void TearDown() override { host::Free(T); }
    TempDir Dir;
    TTable* T = nullptr;
};

TEST_F(ErrorEventsTest, PostErrorHandlerFailsAbortsOrRetries)
{
    struct Case {
        TDataAction Action;
        bool Fix; // the handler corrects the key before a retry
        const char* Outcome;
    } cases[] = {{daFail, false, "raised"}, {daAbort, false, "aborted"}, {daRetry, true, "posted"}};
    for (auto& c : cases) {
        int calls = 0;
        std::string seen;
        T->OnPostError = [&](TDataSet* DataSet, EDatabaseError* E, TDataAction& Action) {
            ++calls;
            seen = E->GetMessage();
            if (c.Fix) DataSet->FieldByName("ID")->SetAsInteger(9);
            Action = c.Action;
        };
        T->Last();
        T->Edit();
        T->FieldByName("ID")->SetAsInteger(1); // a key violation
        std::string outcome;
        try {
            T->Post();
            outcome = "posted";
        } catch (const EAbort&) {
            outcome = "aborted";
        } catch (const EDBEngineError&) {
            outcome = "raised";
        }
        EXPECT_EQ(outcome, c.Outcome);
        EXPECT_EQ(calls, 1);
        EXPECT_FALSE(seen.empty());
        if (T->GetState() == dsEdit) {
            EXPECT_EQ(T->FieldByName("ID")->GetAsInteger(), 1) << "the user's value is kept";
            T->Cancel();
        }
    }
    EXPECT_EQ(Column(T, "ID"), "1,9");
}

TEST_F(ErrorEventsTest, EditAndDeleteErrorsReachTheirHandlers)
{
    // Another cursor deletes the record this one shows.
    T->Last();
    Owned<TTable> other(OpenCustomers(Dir.Path()));
    other->Last();
    other->Delete();

    int editCalls = 0, deleteCalls = 0;
    T->OnEditError = [&](TDataSet*, EDatabaseError*, TDataAction& Action) {
        ++editCalls;
        Action = daAbort;
    };
    T->OnDeleteError = [&](TDataSet*, EDatabaseError*, TDataAction& Action) {
        ++deleteCalls;
        Action = daFail;
    };
    EXPECT_THROW(T->Edit(), EAbort);
    EXPECT_EQ(T->GetState(), dsBrowse);
    EXPECT_THROW(T->Delete(), EDBEngineError);
    EXPECT_EQ(editCalls, 1);
    EXPECT_EQ(deleteCalls, 1);

    // Without handlers the errors raise as they are.
    T->OnEditError = nullptr;
    EXPECT_THROW(T->Edit(), EDBEngineError);
    T->Refresh();
    EXPECT_EQ(Column(T, "NAME"), "Smith");
}

} // namespace
