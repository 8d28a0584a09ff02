#include "host/rtl/Lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <functional>
#include <string>
#include <vector>

using namespace host;

namespace {

void* P(intptr_t v) { return reinterpret_cast<void*>(v); }
intptr_t V(void* p) { return reinterpret_cast<intptr_t>(p); }

std::vector<intptr_t> Items(const TList& l)
{
    std::vector<intptr_t> out;
    for (int i = 0; i < l.GetCount(); ++i) out.push_back(V(l.Get(i)));
    return out;
}

TList* Make(std::initializer_list<intptr_t> values)
{
    auto* l = new TList;
    for (intptr_t v : values) l->Add(P(v));
    return l;
}

int CompareValues(void* a, void* b) { return V(a) < V(b) ? -1 : V(a) > V(b) ? 1 : 0; }

} // namespace

TEST(Lists, EditingOperations)
{
    using Items_ = std::vector<intptr_t>;
    struct Case {
        const char* name;
        std::function<void(TList&)> op;
        Items_ expected;
    };
    const Case cases[] = {
        {"insert at front", [](TList& l) { l.Insert(0, P(9)); }, {9, 1, 2, 3, 4}},
        {"insert at end", [](TList& l) { l.Insert(4, P(9)); }, {1, 2, 3, 4, 9}},
        {"delete middle", [](TList& l) { l.Delete(1); }, {1, 3, 4}},
        {"remove", [](TList& l) { EXPECT_EQ(l.Remove(P(3)), 2); }, {1, 2, 4}},
        {"remove missing", [](TList& l) { EXPECT_EQ(l.Remove(P(7)), -1); }, {1, 2, 3, 4}},
        {"extract", [](TList& l) { EXPECT_EQ(l.Extract(P(1)), P(1)); }, {2, 3, 4}},
        {"extract missing", [](TList& l) { EXPECT_EQ(l.Extract(P(8)), nullptr); }, {1, 2, 3, 4}},
        {"exchange", [](TList& l) { l.Exchange(0, 3); }, {4, 2, 3, 1}},
        {"move forward", [](TList& l) { l.Move(0, 2); }, {2, 3, 1, 4}},
        {"move backward", [](TList& l) { l.Move(3, 1); }, {1, 4, 2, 3}},
        {"put", [](TList& l) { l.Put(2, P(0)); }, {1, 2, 0, 4}},
        {"pack", [](TList& l) { l.Put(0, nullptr); l.Put(2, nullptr); l.Pack(); }, {2, 4}},
        {"grow count with nils", [](TList& l) { l.SetCount(6); }, {1, 2, 3, 4, 0, 0}},
        {"shrink count", [](TList& l) { l.SetCount(1); }, {1}},
        {"clear", [](TList& l) { l.Clear(); EXPECT_EQ(l.GetCapacity(), 0); }, {}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TList> l(Make({1, 2, 3, 4}));
        c.op(*l);
        EXPECT_EQ(Items(*l), c.expected) << c.name;
    }
}

TEST(Lists, BoundsErrors)
{
    struct Case {
        const char* name;
        std::function<void(TList&)> op;
        const char* message;
    };
    const Case cases[] = {
        {"get past end", [](TList& l) { l.Get(3); }, "List index out of bounds (3)"},
        {"get negative", [](TList& l) { l.Get(-1); }, "List index out of bounds (-1)"},
        {"put past end", [](TList& l) { l.Put(3, nullptr); }, "List index out of bounds (3)"},
        {"insert past end", [](TList& l) { l.Insert(4, nullptr); }, "List index out of bounds (4)"},
        {"delete past end", [](TList& l) { l.Delete(3); }, "List index out of bounds (3)"},
        {"exchange", [](TList& l) { l.Exchange(0, 5); }, "List index out of bounds (5)"},
        {"move", [](TList& l) { l.Move(7, 0); }, "List index out of bounds (7)"},
        {"capacity below count", [](TList& l) { l.SetCapacity(2); }, "List capacity out of bounds (2)"},
        {"negative count", [](TList& l) { l.SetCount(-1); }, "List count out of bounds (-1)"},
        {"huge count", [](TList& l) { l.SetCount(MaxListSize + 1); }, "List count out of bounds (134217728)"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TList> l(Make({1, 2, 3}));
        try {
            c.op(*l);
            ADD_FAILURE() << c.name << " did not raise";
        } catch (const EListError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.name;
        }
        EXPECT_EQ(Items(*l), (std::vector<intptr_t>{1, 2, 3})) << c.name << " changed the list";
    }
    TList empty;
    EXPECT_THROW(empty.First(), EListError);
    EXPECT_THROW(empty.Last(), EListError);
}

TEST(Lists, GrowthAndAssign)
{
    TList l;
    for (int i = 1; i <= 1000; ++i) l.Add(P(i));
    EXPECT_EQ(V(l.Last()), 1000);
    EXPECT_EQ(l.IndexOf(P(500)), 499);

    TList copy;
    copy.Add(P(77));
    copy.Assign(&l);
    EXPECT_EQ(Items(copy), Items(l));
    copy.Assign(&copy);
    EXPECT_EQ(copy.GetCount(), 1000);
}

TEST(Lists, Sort)
{
    std::unique_ptr<TList> l(Make({5, 3, 9, 1, 5, 7, 2, 8, 3, 0}));
    l->Sort(CompareValues);
    EXPECT_EQ(Items(*l), (std::vector<intptr_t>{0, 1, 2, 3, 3, 5, 5, 7, 8, 9}));

    // Large and already ordered or reversed input sorts correctly.
    TList big;
    for (int i = 20000; i > 0; --i) big.Add(P(i % 1000));
    big.Sort(CompareValues);
    for (int i = 1; i < big.GetCount(); ++i) ASSERT_LE(V(big.Get(i - 1)), V(big.Get(i)));

    // A compare function that is no order at all must not corrupt the list.
    TList odd;
    for (int i = 0; i < 500; ++i) odd.Add(P(i));
    odd.Sort([](void*, void*) { return std::rand() % 3 - 1; });
    std::vector<intptr_t> v = Items(odd);
    std::sort(v.begin(), v.end());
    for (int i = 0; i < 500; ++i) ASSERT_EQ(v[i], i);
}

TEST(Lists, NotifyReportsAddedAndRemovedItems)
{
    struct TLoggingList : TList {
        std::string log;
        void Notify(void* Ptr, TListNotification Action) override
        {
            log += "axd"[Action];
            log += std::to_string(V(Ptr));
        }
    };
    TLoggingList l;
    l.Add(P(1));
    l.Add(nullptr);
    l.Insert(0, P(2));
    l.Extract(P(1));
    l.Put(0, P(3));
    l.Clear();
    EXPECT_EQ(l.log, "a1a2x1d2a3d3");
}
