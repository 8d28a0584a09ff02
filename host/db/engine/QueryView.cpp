// Results of SELECT statements as table-like views for keyset cursors, and
// SQL on standard databases, whose tables are separate files.
#include <algorithm>
#include <map>
#include <set>

#include "host/db/engine/Database.h"
#include "host/db/engine/EngineError.h"
#include "host/db/engine/SqlText.h"

namespace host::engine {

namespace {

const std::string StandardSqlName = "DATA";

std::string NextTag()
{
    static uint64_t n = 0;
    return "kelq" + std::to_string(++n);
}

std::string DescKey(const std::string& Schema, const std::string& Table)
{
    return UpperCase(Schema) + "|" + UpperCase(Table);
}

TFieldType TypeOfValue(const TValue& V)
{
    switch (V.Kind) {
    case TValueKind::Integer: return V.Int == static_cast<int32_t>(V.Int) ? ftInteger : ftLargeint;
    case TValueKind::Float: return ftFloat;
    case TValueKind::Blob: return ftBlob;
    default: return ftString;
    }
}

void BindAll(TSqlStatement& St, const std::vector<TValue>& Params)
{
    for (size_t i = 0; i < Params.size(); ++i) St.Bind(static_cast<int>(i) + 1, Params[i]);
}

// Field names of a result are unique: later duplicates get a suffix.
std::string UniqueName(const std::string& Name, const TTableDesc& Desc)
{
    auto taken = [&](const std::string& N) {
        for (const auto& f : Desc.Fields)
            if (SameName(f.Name, N)) return true;
        return false;
    };
    std::string base = Name.empty() ? std::string("COLUMN") : Name;
    if (!taken(base)) return base;
    for (int i = 1;; ++i)
        if (!taken(base + "_" + std::to_string(i))) return base + "_" + std::to_string(i);
}

const TFieldDesc* FindField(const TTableDesc& Desc, const std::string& Name)
{
    for (const auto& f : Desc.Fields)
        if (SameName(f.Name, Name)) return &f;
    return nullptr;
}

} // namespace

// A statement with its table references pointing into one connection.
struct TEngineDatabase::TResolvedSql {
    std::shared_ptr<TSqlConnection> Conn;
    std::string Sql;
    // Several files of a standard database attached to a private connection.
    bool Attached = false;
    // Table structures by schema and table, for the types of result columns.
    std::map<std::string, TTableDesc> Descs;
    // The name the statement's first top-level table is listed by.
    std::string FirstName;
};

TTableDesc TEngineDatabase::DescOf(TResolvedSql& R, const std::string& Schema, const std::string& Table) const
{
    auto it = R.Descs.find(DescKey(Schema, Table));
    if (it != R.Descs.end()) return it->second;
    TTableDesc d;
    TTableType type = ttDefault;
    if (FKind == TDatabaseKind::Sql && SameName(Schema, "main")) {
        if (!ReadMetadata(*R.Conn, Table, d, type)) d = DescribeSqlTable(*R.Conn, Table);
    }
    R.Descs[DescKey(Schema, Table)] = d;
    return d;
}

TEngineDatabase::TResolvedSql TEngineDatabase::ResolveSql(const std::string& Sql, bool Select) const
{
    TResolvedSql r;
    auto refs = TableRefsOf(Sql);
    for (const auto& ref : refs)
        if (ref.Depth == 0) {
            r.FirstName = ref.Name;
            break;
        }
    if (FKind == TDatabaseKind::Sql) {
        r.Conn = FSqlConn;
        r.Sql = Sql;
        return r;
    }
    // Each table is a file holding one table; files are found by table name.
    std::vector<std::string> files;
    std::map<std::string, std::shared_ptr<TSqlConnection>> conns;
    for (const auto& ref : refs) {
        std::string sqlName;
        auto conn = Locate(ref.Name, ttDefault, sqlName);
        if (!conns.count(conn->FileName())) files.push_back(conn->FileName());
        conns[conn->FileName()] = conn;
    }
    auto readDesc = [&](const std::string& File, const std::string& Schema) {
        TTableDesc d;
        TTableType type = ttDefault;
        if (!ReadMetadata(*conns[File], StandardSqlName, d, type)) d = DescribeSqlTable(*conns[File], StandardSqlName);
        r.Descs[DescKey(Schema, StandardSqlName)] = d;
    };
    std::map<std::string, std::string> schemaOf;
    if (files.size() == 1) {
        r.Conn = conns[files[0]];
        readDesc(files[0], "main");
        schemaOf[files[0]] = "";
    } else {
        if (!Select)
            RaiseEngineError(DBIERR_NOTSUPPORTED,
                             "a statement that changes data names exactly one table of a standard database");
        r.Conn = std::make_shared<TSqlConnection>(":memory:", TOpenMode::Create, FBusyTimeout);
        r.Attached = true;
        for (size_t i = 0; i < files.size(); ++i) {
            std::string schema = "kel" + std::to_string(i + 1);
            auto st = r.Conn->Prepare("ATTACH DATABASE ? AS " + QuoteIdent(schema), false);
            st.BindText(1, files[i]);
            st.Execute();
            readDesc(files[i], schema);
            schemaOf[files[i]] = QuoteIdent(schema) + ".";
        }
    }
    std::vector<std::string> repl;
    for (const auto& ref : refs) {
        std::string sqlName;
        auto conn = Locate(ref.Name, ttDefault, sqlName);
        std::string target = schemaOf[conn->FileName()] + QuoteIdent(StandardSqlName);
        // Without an alias the table keeps the name it was written with, so
        // that qualified column names still find it.
        bool alias = Select && !ref.HasAlias && ref.Depth >= 0;
        repl.push_back(alias ? target + " AS " + ref.Text : target);
    }
    r.Sql = ReplaceTableRefs(Sql, refs, repl);
    return r;
}

void TEngineDatabase::CheckSql(const std::string& Sql)
{
    TResolvedSql r = ResolveSql(Sql, SplitSelect(Sql).IsSelect);
    r.Conn->Prepare(r.Sql, false);
}

std::shared_ptr<TEngineTable> TEngineDatabase::OpenQuery(const std::string& Sql, const std::vector<TValue>& Params,
                                                         bool Live)
{
    TResolvedSql r = ResolveSql(Sql, true);
    // Bad SQL fails here, with the store's own message (compiling runs nothing).
    r.Conn->Prepare(r.Sql, false);
    if (!SplitSelect(Sql).IsSelect)
        RaiseEngineError(DBIERR_INVALIDPARAM, "the statement returns no records; run it with ExecSQL");
    TSelectParts p = SplitSelect(r.Sql);
    bool oneTable = !p.Complex && p.TopLevelTables == 1 && !p.FromHasSubquery &&
                    p.ListParams + p.FromParams + p.OrderParams + p.OtherParams == 0;
    if (oneTable)
        if (auto view = OpenKeysetView(r, p, Params, Live)) return view;
    return OpenCopiedView(r, Params);
}

std::shared_ptr<TEngineTable> TEngineDatabase::OpenKeysetView(TResolvedSql& R, const TSelectParts& P,
                                                              const std::vector<TValue>& Params, bool Live)
{
    const TTableRef* ref = nullptr;
    for (const auto& t : P.Tables)
        if (t.Depth == 0) ref = &t;
    std::string tableText = R.Sql.substr(ref->Pos, ref->Len);
    std::string schema = "main";
    if (tableText.find('.') != std::string::npos && R.Attached) schema = tableText.substr(1, tableText.find('"', 1) - 1);
    TTableDesc base = DescOf(R, schema, ref->Name);
    bool hasRecNo = false;
    {
        auto st = R.Conn->Prepare("SELECT name FROM pragma_table_info(?, ?)", false);
        st.BindText(1, ref->Name);
        st.BindText(2, schema);
        while (st.Step()) hasRecNo = hasRecNo || st.ColumnText(0) == RecNoColumn;
    }
    TViewDef v;
    v.Tag = NextTag();
    v.Name = R.FirstName;
    v.FromSql = tableText + " AS " + QuoteIdent(ref->HasAlias ? ref->Alias : ref->Name) + " /*" + v.Tag + "*/";
    v.RowIdSql = hasRecNo ? QuoteIdent(RecNoColumn) : "rowid";
    // A star stands for the table's fields, leaving out the row numbers.
    std::string list;
    for (const auto& item : SplitSqlList(P.List)) {
        auto toks = TokenizeSql(item);
        bool star = !toks.empty() && toks.back().Text == "*" && (toks.size() == 1 || toks[toks.size() - 2].Text == ".");
        if (!star) {
            list += (list.empty() ? "" : ",") + item;
            continue;
        }
        for (const auto& f : base.Fields) list += (list.empty() ? "" : ",") + QuoteIdent(f.Name);
    }
    v.FieldListSql = list;
    std::string select = "SELECT " + list + " FROM " + v.FromSql + (P.Where.empty() ? "" : " WHERE " + P.Where);
    std::vector<std::string> origin;
    bool writable = !R.Attached;
    bool needRow = false;
    {
        // WITHOUT ROWID tables and views have no row identifiers to keep.
        try {
            R.Conn->Prepare("SELECT " + v.RowIdSql + " FROM " + v.FromSql + " LIMIT 0", false);
        } catch (const EEngineError&) {
            return nullptr;
        }
        auto st = R.Conn->Prepare(select, false);
        for (int i = 0; i < st.ColumnCount(); ++i) {
            std::string s, t, c;
            TFieldDesc f;
            f.Name = UniqueName(st.ColumnName(i), v.Desc);
            const TFieldDesc* bf = nullptr;
            if (st.ColumnOrigin(i, s, t, c) && SameName(t, ref->Name) && c != RecNoColumn) bf = FindField(base, c);
            if (bf) {
                f.DataType = bf->DataType;
                f.Size = bf->Size;
                f.Required = bf->Required;
                if (std::find(origin.begin(), origin.end(), bf->Name) != origin.end()) writable = false;
                origin.push_back(bf->Name);
            } else {
                writable = false;
                origin.emplace_back();
                std::string decl = st.ColumnDeclType(i);
                f.DataType = decl.empty() ? ftUnknown : FieldTypeFromDecl(decl);
                needRow = needRow || decl.empty();
            }
            v.Desc.Fields.push_back(f);
        }
    }
    if (needRow) TypeExpressions(R, select, Params, v.Desc);
    if (!OrderOfView(P.OrderBy, v.Desc, origin, v.Order)) return nullptr;
    v.WhereSql = P.Where;
    v.WhereParams = Params;
    if (Live && writable) {
        v.WriteTable = ref->Name;
        v.WriteColumns = origin;
    } else {
        for (auto& f : v.Desc.Fields) f.Required = false;
    }
    return std::make_shared<TEngineTable>(R.Conn, std::move(v));
}

void TEngineDatabase::TypeExpressions(TResolvedSql& R, const std::string& Select, const std::vector<TValue>& Params,
                                      TTableDesc& Desc) const
{
    // Expressions have no declared type: the first row's values tell.
    auto st = R.Conn->Prepare(Select + " LIMIT 1", false);
    BindAll(st, Params);
    bool row = st.Step();
    for (size_t i = 0; i < Desc.Fields.size(); ++i) {
        TFieldDesc& f = Desc.Fields[i];
        if (f.DataType != ftUnknown) continue;
        f.DataType = row ? TypeOfValue(st.ColumnValue(static_cast<int>(i))) : ftString;
        if (f.DataType == ftString) f.Size = 255;
    }
}

bool TEngineDatabase::OrderOfView(const std::string& OrderBy, const TTableDesc& Desc,
                                  const std::vector<std::string>& Origin, std::vector<TKeyPart>& Parts) const
{
    for (const auto& term : SplitSqlList(OrderBy)) {
        auto toks = TokenizeSql(term);
        TKeyPart part;
        size_t n = toks.size();
        if (n && (toks[n - 1].Is("ASC") || toks[n - 1].Is("DESC"))) {
            part.Descending = toks[n - 1].Is("DESC");
            --n;
        }
        if (n == 0) return false;
        for (size_t i = 0; i < n; ++i) {
            if (toks[i].Is("NULLS")) return false; // an order the key comparison does not follow
            if (toks[i].Is("COLLATE") && i + 1 < n && toks[i + 1].Is("NOCASE")) part.Coll = TCollation::NoCase;
        }
        std::string expr = term.substr(0, toks[n - 1].Pos + toks[n - 1].Len);
        int field = -1;
        if (n == 1 && toks[0].Kind == TSqlToken::Number) {
            field = std::stoi(toks[0].Text) - 1;
            if (field < 0 || field >= static_cast<int>(Desc.Fields.size())) return false;
        } else if (n == 1 && (toks[0].Kind == TSqlToken::Word || toks[0].Kind == TSqlToken::Quoted)) {
            for (size_t i = 0; i < Desc.Fields.size(); ++i)
                if (SameName(Desc.Fields[i].Name, toks[0].Name())) field = static_cast<int>(i);
        }
        if (field >= 0) {
            // A result column: ordered by the table column it reads.
            if (Origin[field].empty()) return false;
            expr = QuoteIdent(Origin[field]);
        }
        part.Sql = expr;
        part.FieldNo = field;
        Parts.push_back(part);
    }
    return true;
}

std::shared_ptr<TEngineTable> TEngineDatabase::OpenCopiedView(TResolvedSql& R, const std::vector<TValue>& Params)
{
    TViewDef v;
    v.Tag = NextTag();
    v.Name = R.FirstName.empty() ? std::string("query") : R.FirstName;
    v.DropTable = "KEL$RESULT_" + v.Tag;
    {
        auto st = R.Conn->Prepare("CREATE TEMP TABLE " + QuoteIdent(v.DropTable) + " AS " + R.Sql, false);
        BindAll(st, Params);
        st.Execute();
    }
    std::vector<std::string> columns;
    {
        auto st = R.Conn->Prepare("SELECT name FROM pragma_table_info(?, 'temp')", false);
        st.BindText(1, v.DropTable);
        while (st.Step()) columns.emplace_back(st.ColumnText(0));
    }
    v.FromSql = "temp." + QuoteIdent(v.DropTable) + " /*" + v.Tag + "*/";
    v.RowIdSql = "rowid";
    auto st = R.Conn->Prepare(R.Sql, false);
    bool needRow = false;
    for (int i = 0; i < st.ColumnCount() && i < static_cast<int>(columns.size()); ++i) {
        std::string s, t, c;
        bool direct = st.ColumnOrigin(i, s, t, c);
        if (direct && c == RecNoColumn) continue;
        TFieldDesc f;
        f.Name = UniqueName(st.ColumnName(i), v.Desc);
        const TFieldDesc* bf = nullptr;
        TTableDesc d;
        if (direct) {
            d = DescOf(R, s, t);
            bf = FindField(d, c);
        }
        if (bf) {
            f.DataType = bf->DataType;
            f.Size = bf->Size;
        } else {
            std::string decl = st.ColumnDeclType(i);
            f.DataType = decl.empty() ? ftUnknown : FieldTypeFromDecl(decl);
            needRow = needRow || decl.empty();
        }
        v.Desc.Fields.push_back(f);
        v.FieldListSql += (v.FieldListSql.empty() ? "" : ",") + QuoteIdent(columns[i]);
    }
    if (v.Desc.Fields.empty()) RaiseEngineError(DBIERR_INVALIDPARAM, "the query has no fields");
    if (needRow) TypeExpressions(R, "SELECT " + v.FieldListSql + " FROM " + v.FromSql, {}, v.Desc);
    return std::make_shared<TEngineTable>(R.Conn, std::move(v));
}

int64_t TEngineDatabase::ExecStandardSQL(const std::string& Sql, const std::vector<TValue>& Params)
{
    TResolvedSql r = ResolveSql(Sql, false);
    auto st = r.Conn->Prepare(r.Sql, false);
    BindAll(st, Params);
    st.Execute();
    return r.Conn->Changes();
}

} // namespace host::engine
