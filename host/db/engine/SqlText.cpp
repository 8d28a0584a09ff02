#include "host/db/engine/SqlText.h"

#include <cctype>

#include "host/db/engine/EngineError.h"
#include "host/db/engine/Schema.h"

namespace host::engine {

namespace {

bool IsWordStart(char C) { return std::isalpha(static_cast<unsigned char>(C)) || C == '_' || (C & 0x80); }
bool IsWordChar(char C) { return IsWordStart(C) || std::isdigit(static_cast<unsigned char>(C)) || C == '$'; }

// End of a quoted run starting at I (the opening quote); doubled closers stand for one.
size_t QuotedEnd(const std::string& S, size_t I, char Close)
{
    for (size_t j = I + 1; j < S.size(); ++j) {
        if (S[j] != Close) continue;
        if (Close != ']' && j + 1 < S.size() && S[j + 1] == Close) {
            ++j;
            continue;
        }
        return j + 1;
    }
    RaiseEngineError(DBIERR_INVALIDPARAM, "unterminated quote in SQL text");
}

bool IsClauseKeyword(const TSqlToken& T)
{
    static const char* const Words[] = {"WHERE", "GROUP", "ORDER", "HAVING", "LIMIT", "UNION", "EXCEPT",
                                        "INTERSECT", "WINDOW", "JOIN", "LEFT", "RIGHT", "INNER", "OUTER",
                                        "CROSS", "NATURAL", "ON", "USING", "FULL", "INDEXED", "NOT", "FROM",
                                        "SELECT", "VALUES", "RETURNING", "SET"};
    if (T.Kind != TSqlToken::Word) return false;
    for (const char* w : Words)
        if (T.Is(w)) return true;
    return false;
}

bool EndsFromClause(const TSqlToken& T)
{
    static const char* const Words[] = {"WHERE", "GROUP", "ORDER", "HAVING", "LIMIT", "UNION", "EXCEPT",
                                        "INTERSECT", "WINDOW", "RETURNING", "SET", "VALUES"};
    if (T.Kind != TSqlToken::Word) return false;
    for (const char* w : Words)
        if (T.Is(w)) return true;
    return false;
}

bool IsAggregateName(const TSqlToken& T)
{
    static const char* const Words[] = {"COUNT", "SUM", "AVG", "MIN", "MAX", "TOTAL", "GROUP_CONCAT", "STRING_AGG"};
    for (const char* w : Words)
        if (T.Is(w)) return true;
    return false;
}

// Reads the table reference whose name is token I; returns the index after it.
size_t ReadTableRef(const std::vector<TSqlToken>& T, size_t I, std::vector<TTableRef>& Refs, bool Target = false)
{
    size_t n = T.size();
    if (I >= n || (T[I].Kind != TSqlToken::Word && T[I].Kind != TSqlToken::Quoted) || IsClauseKeyword(T[I])) return I;
    TTableRef r;
    size_t last = I;
    if (I + 2 < n && T[I + 1].Text == "." && (T[I + 2].Kind == TSqlToken::Word || T[I + 2].Kind == TSqlToken::Quoted))
        last = I + 2; // schema-qualified: the schema is the store's business
    if (!Target && last + 1 < n && T[last + 1].Text == "(") return last + 1; // a table-valued function
    r.Name = T[last].Name();
    r.Pos = T[I].Pos;
    r.Len = T[last].Pos + T[last].Len - T[I].Pos;
    r.Text = T[last].Text;
    r.Depth = T[I].Depth;
    size_t j = last + 1;
    if (Target) {
        Refs.push_back(std::move(r));
        return j;
    }
    if (j < n && T[j].Is("AS")) ++j;
    if (j < n && (T[j].Kind == TSqlToken::Word || T[j].Kind == TSqlToken::Quoted) && !IsClauseKeyword(T[j])) {
        r.HasAlias = true;
        r.Alias = T[j].Name();
        ++j;
    }
    Refs.push_back(std::move(r));
    return j;
}

std::vector<TTableRef> FindTableRefs(const std::vector<TSqlToken>& T, int& TopLevel, bool& TopSubquery)
{
    std::vector<TTableRef> refs;
    std::vector<int> fromDepths; // depths whose FROM clause is open
    TopLevel = 0;
    TopSubquery = false;
    for (size_t i = 0; i < T.size(); ++i) {
        const TSqlToken& t = T[i];
        while (!fromDepths.empty() && t.Depth < fromDepths.back()) fromDepths.pop_back();
        bool inFrom = !fromDepths.empty() && fromDepths.back() == t.Depth;
        if (inFrom && EndsFromClause(t)) {
            fromDepths.pop_back();
            continue;
        }
        if (t.Is("UPDATE") || t.Is("INTO")) {
            size_t next = ReadTableRef(T, i + 1 + (i + 1 < T.size() && (T[i + 1].Is("OR"))) * 2, refs, true);
            if (next > i + 1) i = next - 1;
            continue;
        }
        bool starts = t.Is("FROM") || t.Is("JOIN") || (inFrom && t.Text == ",");
        if (!starts) continue;
        if (t.Is("FROM") && !inFrom) fromDepths.push_back(t.Depth);
        if (i + 1 < T.size() && T[i + 1].Text == "(" && t.Depth == 0) TopSubquery = true;
        size_t before = refs.size();
        size_t next = ReadTableRef(T, i + 1, refs);
        if (refs.size() > before && refs.back().Depth == 0) ++TopLevel;
        if (next > i + 1) i = next - 1;
    }
    return refs;
}

} // namespace

std::string TSqlToken::Name() const
{
    if (Kind != Quoted || Text.size() < 2) return Text;
    char close = Text.back();
    std::string inner = Text.substr(1, Text.size() - 2);
    if (close == ']') return inner;
    std::string out;
    for (size_t i = 0; i < inner.size(); ++i) {
        out += inner[i];
        if (inner[i] == close && i + 1 < inner.size() && inner[i + 1] == close) ++i;
    }
    return out;
}

bool TSqlToken::Is(const char* Keyword) const { return Kind == Word && SameName(Text, Keyword); }

std::vector<TSqlToken> TokenizeSql(const std::string& Sql)
{
    std::vector<TSqlToken> out;
    int depth = 0;
    size_t i = 0, n = Sql.size();
    auto push = [&](TSqlToken::TKind Kind, size_t Start, size_t End) {
        TSqlToken t;
        t.Kind = Kind;
        t.Pos = Start;
        t.Len = End - Start;
        t.Depth = depth;
        t.Text = Sql.substr(Start, End - Start);
        out.push_back(std::move(t));
    };
    while (i < n) {
        char c = Sql[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '-' && i + 1 < n && Sql[i + 1] == '-') {
            while (i < n && Sql[i] != '\n') ++i;
        } else if (c == '/' && i + 1 < n && Sql[i + 1] == '*') {
            size_t end = Sql.find("*/", i + 2);
            if (end == std::string::npos) RaiseEngineError(DBIERR_INVALIDPARAM, "unterminated comment in SQL text");
            i = end + 2;
        } else if (c == '\'') {
            size_t end = QuotedEnd(Sql, i, '\'');
            push(TSqlToken::String, i, end);
            i = end;
        } else if (c == '"' || c == '`' || c == '[') {
            size_t end = QuotedEnd(Sql, i, c == '[' ? ']' : c);
            push(TSqlToken::Quoted, i, end);
            i = end;
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(Sql[i + 1])))) {
            size_t s = i;
            while (i < n && (IsWordChar(Sql[i]) || Sql[i] == '.' ||
                             ((Sql[i] == '+' || Sql[i] == '-') && (Sql[i - 1] == 'e' || Sql[i - 1] == 'E'))))
                ++i;
            push(TSqlToken::Number, s, i);
        } else if (IsWordStart(c)) {
            size_t s = i;
            while (i < n && IsWordChar(Sql[i])) ++i;
            push(TSqlToken::Word, s, i);
        } else if (c == '?') {
            size_t s = i++;
            while (i < n && std::isdigit(static_cast<unsigned char>(Sql[i]))) ++i;
            push(TSqlToken::Param, s, i);
        } else if (c == '(') {
            push(TSqlToken::Punct, i, i + 1);
            ++depth;
            ++i;
        } else if (c == ')') {
            if (depth > 0) --depth;
            push(TSqlToken::Punct, i, i + 1);
            ++i;
        } else {
            push(TSqlToken::Punct, i, i + 1);
            ++i;
        }
    }
    return out;
}

TSelectParts SplitSelect(const std::string& Sql)
{
    TSelectParts p;
    auto t = TokenizeSql(Sql);
    if (t.empty()) return p;
    if (t[0].Is("WITH")) {
        p.IsSelect = true;
        p.Complex = true;
    } else if (!t[0].Is("SELECT")) {
        return p;
    }
    p.IsSelect = true;
    p.Tables = FindTableRefs(t, p.TopLevelTables, p.FromHasSubquery);
    if (p.Complex) return p;
    // Part boundaries at depth 0: 0 list, 1 from, 2 where, 3 order, 4 anything else.
    enum { kList, kFrom, kWhere, kOrder, kOther };
    int part = kList;
    size_t start[5] = {0, 0, 0, 0, 0}, end[5] = {0, 0, 0, 0, 0};
    size_t i = 1;
    if (i < t.size() && t[i].Is("DISTINCT")) p.Complex = true;
    if (i < t.size() && (t[i].Is("DISTINCT") || t[i].Is("ALL"))) ++i;
    start[kList] = i < t.size() ? t[i].Pos : Sql.size();
    auto close = [&](size_t Pos) { end[part] = Pos; };
    for (; i < t.size(); ++i) {
        const TSqlToken& k = t[i];
        if (k.Kind == TSqlToken::Param) {
            int* counts[] = {&p.ListParams, &p.FromParams, &p.WhereParams, &p.OrderParams, &p.OtherParams};
            ++*counts[part];
        }
        if (part == kList && k.Kind == TSqlToken::Word && i + 1 < t.size() && t[i + 1].Text == "(" && IsAggregateName(k))
            p.Complex = true;
        if (k.Is("OVER")) p.Complex = true;
        if (k.Depth != 0 || k.Kind != TSqlToken::Word) continue;
        int next = -1;
        if (k.Is("FROM") && part == kList) next = kFrom;
        else if (k.Is("WHERE") && part == kFrom) next = kWhere;
        else if (k.Is("ORDER") && i + 1 < t.size() && t[i + 1].Is("BY") && part < kOrder) next = kOrder;
        else if (k.Is("GROUP") || k.Is("HAVING") || k.Is("LIMIT") || k.Is("UNION") || k.Is("EXCEPT") ||
                 k.Is("INTERSECT") || k.Is("WINDOW") || k.Is("OFFSET"))
            next = kOther;
        if (next < 0) continue;
        if (next == kOther) p.Complex = true;
        close(k.Pos);
        part = next;
        size_t skip = next == kOrder ? 2 : 1;
        start[part] = i + skip < t.size() ? t[i + skip].Pos : Sql.size();
        if (next == kOrder) ++i;
    }
    close(Sql.size());
    auto text = [&](int Part) {
        if (end[Part] <= start[Part]) return std::string();
        std::string s = Sql.substr(start[Part], end[Part] - start[Part]);
        while (!s.empty() && (std::isspace(static_cast<unsigned char>(s.back())) || s.back() == ';')) s.pop_back();
        return s;
    };
    p.List = text(kList);
    p.Where = text(kWhere);
    p.OrderBy = text(kOrder);
    return p;
}

std::vector<TTableRef> TableRefsOf(const std::string& Sql)
{
    int top = 0;
    bool sub = false;
    return FindTableRefs(TokenizeSql(Sql), top, sub);
}

std::vector<std::string> SplitSqlList(const std::string& Text)
{
    std::vector<std::string> items;
    auto t = TokenizeSql(Text);
    size_t from = 0;
    auto add = [&](size_t To) {
        size_t a = from, b = To;
        while (a < b && std::isspace(static_cast<unsigned char>(Text[a]))) ++a;
        while (b > a && std::isspace(static_cast<unsigned char>(Text[b - 1]))) --b;
        if (b > a) items.push_back(Text.substr(a, b - a));
    };
    for (const auto& k : t)
        if (k.Depth == 0 && k.Text == ",") {
            add(k.Pos);
            from = k.Pos + 1;
        }
    add(Text.size());
    return items;
}

std::string ReplaceTableRefs(const std::string& Sql, const std::vector<TTableRef>& Refs,
                             const std::vector<std::string>& Replacements)
{
    std::string out;
    size_t at = 0;
    for (size_t i = 0; i < Refs.size(); ++i) {
        out += Sql.substr(at, Refs[i].Pos - at);
        out += Replacements[i];
        at = Refs[i].Pos + Refs[i].Len;
    }
    return out + Sql.substr(at);
}

} // namespace host::engine
