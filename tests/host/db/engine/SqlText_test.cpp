#include <gtest/gtest.h>

#include "EngineTestUtil.h"
#include "host/db/engine/SqlText.h"

using namespace enginetest;

namespace {

TEST(SqlTextTest, SelectsSplitIntoTheirParts)
{
    struct Case {
        const char* Sql;
        bool Select, Complex;
        int TopTables;
        const char* List;
        const char* Where;
        const char* Order;
    } cases[] = {
        {"SELECT a, b FROM t WHERE a = ? ORDER BY b DESC;", true, false, 1, "a, b", "a = ?", "b DESC"},
        {"select * from t", true, false, 1, "*", "", ""},
        {"SELECT a FROM t WHERE b IN (SELECT b FROM u ORDER BY b) ORDER BY a", true, false, 1, "a",
         "b IN (SELECT b FROM u ORDER BY b)", "a"},
        {"SELECT x.a, y.b FROM t x JOIN u y ON x.id = y.id", true, false, 2, "x.a, y.b", "", ""},
        {"SELECT a FROM t, u WHERE t.k = u.k", true, false, 2, "a", "t.k = u.k", ""},
        {"SELECT DISTINCT a FROM t", true, true, 1, "", "", ""},
        {"SELECT city, count(*) FROM t GROUP BY city", true, true, 1, "", "", ""},
        {"SELECT coalesce(max(a), 0) FROM t", true, true, 1, "", "", ""},
        {"SELECT a FROM t LIMIT 3", true, true, 1, "", "", ""},
        {"SELECT a FROM t UNION SELECT a FROM u", true, true, 2, "", "", ""},
        {"WITH c AS (SELECT 1) SELECT * FROM c", true, true, 1, "", "", ""},
        {"SELECT 'FROM x' AS \"WHERE\" FROM t -- ORDER BY z", true, false, 1, "'FROM x' AS \"WHERE\"", "", ""},
        {"UPDATE t SET a = 1", false, false, 0, "", "", ""},
    };
    for (auto& c : cases) {
        TSelectParts p = SplitSelect(c.Sql);
        EXPECT_EQ(p.IsSelect, c.Select) << c.Sql;
        if (!c.Select) continue;
        EXPECT_EQ(p.Complex, c.Complex) << c.Sql;
        EXPECT_EQ(p.TopLevelTables, c.TopTables) << c.Sql;
        if (c.Complex) continue;
        EXPECT_EQ(p.List, c.List) << c.Sql;
        EXPECT_EQ(p.Where, c.Where) << c.Sql;
        EXPECT_EQ(p.OrderBy, c.Order) << c.Sql;
    }
    EXPECT_THROW(SplitSelect("SELECT 'open FROM t"), EEngineError);
    EXPECT_THROW(SplitSelect("SELECT a /* FROM t"), EEngineError);
}

TEST(SqlTextTest, TableReferencesAreFoundAndReplaced)
{
    std::string sql = "SELECT c.NAME FROM \"customer.db\" c LEFT JOIN orders ON orders.id = c.id, items AS i "
                      "WHERE EXISTS (SELECT 1 FROM stock) AND f(x, y)";
    auto refs = TableRefsOf(sql);
    ASSERT_EQ(refs.size(), 4u);
    std::vector<std::string> names, aliases;
    for (auto& r : refs) {
        names.push_back(r.Name);
        aliases.push_back(r.HasAlias ? r.Alias : "-");
    }
    EXPECT_EQ(names, (std::vector<std::string>{"customer.db", "orders", "items", "stock"}));
    EXPECT_EQ(aliases, (std::vector<std::string>{"c", "-", "i", "-"}));
    EXPECT_EQ(refs[3].Depth, 1);
    EXPECT_EQ(ReplaceTableRefs(sql, refs, {"A", "B", "C", "D"}),
              "SELECT c.NAME FROM A c LEFT JOIN B ON orders.id = c.id, C AS i WHERE EXISTS (SELECT 1 FROM D) AND f(x, y)");

    auto targets = TableRefsOf("INSERT INTO log (a, b) SELECT a, b FROM pragma_table_info('t')");
    ASSERT_EQ(targets.size(), 1u) << "a table-valued function is no table";
    EXPECT_EQ(targets[0].Name, "log");
    EXPECT_EQ(SplitSqlList("a, f(b, c) , 'x,y'"), (std::vector<std::string>{"a", "f(b, c)", "'x,y'"}));
}

} // namespace
