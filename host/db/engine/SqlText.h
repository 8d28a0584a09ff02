#pragma once
// Just enough SQL reading to run a select as a cursor: tokens, the clauses of
// a top-level SELECT, and the table references of its FROM clauses.
#include <cstddef>
#include <string>
#include <vector>

namespace host::engine {

struct TSqlToken {
    enum TKind { Word, Quoted, String, Number, Param, Punct };
    TKind Kind = Punct;
    size_t Pos = 0, Len = 0;
    int Depth = 0; // parenthesis depth at the token ('(' itself counts outside)
    std::string Text;
    // The unquoted name of a Word or Quoted token.
    std::string Name() const;
    bool Is(const char* Keyword) const;
};

// Comments are dropped; an unterminated quote or comment raises an engine error.
std::vector<TSqlToken> TokenizeSql(const std::string& Sql);

// A table named in a FROM or JOIN clause, at any depth.
struct TTableRef {
    std::string Name;  // unquoted
    size_t Pos = 0;    // the name token in the text
    size_t Len = 0;
    std::string Text;  // the name as written (with its quotes)
    bool HasAlias = false;
    std::string Alias; // unquoted alias when HasAlias
    int Depth = 0;
};

// The parts of a top-level "SELECT list FROM from [WHERE ..] [ORDER BY ..]".
struct TSelectParts {
    bool IsSelect = false;
    // Anything that keeps rows from mapping one-to-one onto the rows of a
    // single table: DISTINCT, GROUP BY, HAVING, LIMIT, UNION, WITH, window
    // functions, aggregate calls in the list.
    bool Complex = false;
    std::string List, Where, OrderBy;
    // Parameters ('?') in each part, in order of the text.
    int ListParams = 0, FromParams = 0, WhereParams = 0, OrderParams = 0, OtherParams = 0;
    std::vector<TTableRef> Tables; // every table reference in the text
    int TopLevelTables = 0;        // references of the top-level FROM
    bool FromHasSubquery = false;
};

TSelectParts SplitSelect(const std::string& Sql);
// The tables a statement names: FROM and JOIN references and the targets of
// UPDATE and INSERT INTO.
std::vector<TTableRef> TableRefsOf(const std::string& Sql);

// Items separated by top-level commas, trimmed.
std::vector<std::string> SplitSqlList(const std::string& Text);

// Text with each reference Refs[i] replaced by Replacements[i].
std::string ReplaceTableRefs(const std::string& Sql, const std::vector<TTableRef>& Refs,
                             const std::vector<std::string>& Replacements);

} // namespace host::engine
