#include "host/db/engine/Schema.h"

#include <algorithm>
#include <cctype>

#include "host/db/engine/EngineError.h"
#include "host/db/engine/Sqlite.h"

namespace host::engine {

TValueKind StorageKind(TFieldType T)
{
    switch (T) {
    case ftString:
    case ftMemo:
    case ftFmtMemo:
    case ftFixedChar:
    case ftWideString: return TValueKind::Text;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftBoolean:
    case ftAutoInc:
    case ftLargeint: return TValueKind::Integer;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftDate:
    case ftTime:
    case ftDateTime: return TValueKind::Float;
    default: return TValueKind::Blob;
    }
}

bool IsBlobType(TFieldType T)
{
    switch (T) {
    case ftBlob:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary: return true;
    default: return false;
    }
}

bool IsStringType(TFieldType T) { return T == ftString || T == ftFixedChar || T == ftWideString; }

const char* SqlTypeName(TFieldType T)
{
    switch (StorageKind(T)) {
    case TValueKind::Text: return "TEXT";
    case TValueKind::Integer: return "INTEGER";
    case TValueKind::Float: return "REAL";
    default: return "BLOB";
    }
}

TFieldType FieldTypeFromDecl(const std::string& Decl)
{
    std::string d = UpperCase(Decl);
    auto has = [&](const char* w) { return d.find(w) != std::string::npos; };
    if (has("BOOL")) return ftBoolean;
    if (has("SMALLINT")) return ftSmallint;
    if (has("BIGINT")) return ftLargeint;
    if (has("INT")) return ftInteger;
    if (has("DATETIME") || has("TIMESTAMP")) return ftDateTime;
    if (has("DATE")) return ftDate;
    if (has("TIME")) return ftTime;
    if (has("MEMO") || d == "TEXT" || has("CLOB")) return ftMemo;
    if (has("CHAR") || has("TEXT")) return ftString;
    if (has("MONEY") || has("CURRENCY")) return ftCurrency;
    if (has("REAL") || has("FLOA") || has("DOUB") || has("NUMERIC") || has("DECIMAL")) return ftFloat;
    if (has("BLOB") || d.empty()) return ftBlob;
    return ftString;
}

std::string UpperCase(std::string S)
{
    std::transform(S.begin(), S.end(), S.begin(), [](unsigned char c) { return std::toupper(c); });
    return S;
}

bool SameName(const std::string& A, const std::string& B)
{
    return A.size() == B.size() && UpperCase(A) == UpperCase(B);
}

TTableType TableTypeFromName(const std::string& Name)
{
    auto dot = Name.rfind('.');
    if (dot == std::string::npos) return ttDefault;
    std::string ext = UpperCase(Name.substr(dot));
    if (ext == ".DB") return ttParadox;
    if (ext == ".DBF") return ttDBase;
    if (ext == ".TXT") return ttASCII;
    return ttDefault;
}

std::string ExtensionOf(TTableType T)
{
    switch (T) {
    case ttDBase: return ".DBF";
    case ttASCII: return ".TXT";
    default: return ".DB";
    }
}

std::vector<std::string> SplitFieldNames(const std::string& Fields)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= Fields.size()) {
        size_t end = Fields.find(';', start);
        if (end == std::string::npos) end = Fields.size();
        std::string name = Fields.substr(start, end - start);
        auto b = name.find_first_not_of(" \t");
        auto e = name.find_last_not_of(" \t");
        if (b != std::string::npos) out.push_back(name.substr(b, e - b + 1));
        start = end + 1;
    }
    return out;
}

void EnsureMetadataTables(TSqlConnection& Conn)
{
    Conn.Exec("CREATE TABLE IF NOT EXISTS KEL$TABLES(TABLE_NAME TEXT PRIMARY KEY, TABLE_TYPE INTEGER);"
              "CREATE TABLE IF NOT EXISTS KEL$FIELDS(TABLE_NAME TEXT, FIELD_NO INTEGER, NAME TEXT, TYPE INTEGER,"
              " SIZE INTEGER, REQUIRED INTEGER, PRIMARY KEY(TABLE_NAME, FIELD_NO));"
              "CREATE TABLE IF NOT EXISTS KEL$INDEXES(TABLE_NAME TEXT, INDEX_NO INTEGER, NAME TEXT, FIELDS TEXT,"
              " EXPRESSION TEXT, OPTIONS INTEGER, PRIMARY KEY(TABLE_NAME, INDEX_NO));");
}

void WriteMetadata(TSqlConnection& Conn, const std::string& SqlName, TTableType Type, const TTableDesc& Desc)
{
    EnsureMetadataTables(Conn);
    DeleteMetadata(Conn, SqlName);
    {
        auto st = Conn.Prepare("INSERT INTO KEL$TABLES VALUES(?,?)");
        st.BindText(1, SqlName);
        st.BindInt(2, Type);
        st.Execute();
    }
    for (size_t i = 0; i < Desc.Fields.size(); ++i) {
        const auto& f = Desc.Fields[i];
        auto st = Conn.Prepare("INSERT INTO KEL$FIELDS VALUES(?,?,?,?,?,?)");
        st.BindText(1, SqlName);
        st.BindInt(2, static_cast<int64_t>(i));
        st.BindText(3, f.Name);
        st.BindInt(4, f.DataType);
        st.BindInt(5, f.Size);
        st.BindInt(6, f.Required);
        st.Execute();
    }
    for (size_t i = 0; i < Desc.Indexes.size(); ++i) {
        const auto& x = Desc.Indexes[i];
        auto st = Conn.Prepare("INSERT INTO KEL$INDEXES VALUES(?,?,?,?,?,?)");
        st.BindText(1, SqlName);
        st.BindInt(2, static_cast<int64_t>(i));
        st.BindText(3, x.Name);
        st.BindText(4, x.Fields);
        st.BindText(5, x.Expression);
        st.BindInt(6, x.Options);
        st.Execute();
    }
}

namespace {

bool HasTable(TSqlConnection& Conn, const std::string& Name)
{
    auto st = Conn.Prepare("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?");
    st.BindText(1, Name);
    return st.Step();
}

} // namespace

bool ReadMetadata(TSqlConnection& Conn, const std::string& SqlName, TTableDesc& Desc, TTableType& Type)
{
    if (!HasTable(Conn, "KEL$TABLES")) return false;
    {
        auto st = Conn.Prepare("SELECT TABLE_TYPE FROM KEL$TABLES WHERE TABLE_NAME=?");
        st.BindText(1, SqlName);
        if (!st.Step()) return false;
        Type = static_cast<TTableType>(st.ColumnInt(0));
    }
    Desc = {};
    {
        auto st = Conn.Prepare("SELECT NAME, TYPE, SIZE, REQUIRED FROM KEL$FIELDS WHERE TABLE_NAME=? ORDER BY FIELD_NO");
        st.BindText(1, SqlName);
        while (st.Step()) {
            int type = static_cast<int>(st.ColumnInt(1));
            if (type < ftUnknown || type > ftLargeint) RaiseEngineError(DBIERR_FILECORRUPT, Conn.FileName());
            Desc.Fields.push_back({std::string(st.ColumnText(0)), static_cast<TFieldType>(type),
                                   static_cast<int>(st.ColumnInt(2)), st.ColumnInt(3) != 0});
        }
    }
    auto st = Conn.Prepare(
        "SELECT NAME, FIELDS, EXPRESSION, OPTIONS FROM KEL$INDEXES WHERE TABLE_NAME=? ORDER BY INDEX_NO");
    st.BindText(1, SqlName);
    while (st.Step())
        Desc.Indexes.push_back({std::string(st.ColumnText(0)), std::string(st.ColumnText(1)),
                                std::string(st.ColumnText(2)), static_cast<TIndexOptions>(st.ColumnInt(3))});
    return true;
}

void DeleteMetadata(TSqlConnection& Conn, const std::string& SqlName)
{
    if (!HasTable(Conn, "KEL$TABLES")) return;
    for (const char* t : {"KEL$TABLES", "KEL$FIELDS", "KEL$INDEXES"}) {
        auto st = Conn.Prepare(std::string("DELETE FROM ") + t + " WHERE TABLE_NAME=?");
        st.BindText(1, SqlName);
        st.Execute();
    }
}

void RenameMetadata(TSqlConnection& Conn, const std::string& OldName, const std::string& NewName)
{
    if (!HasTable(Conn, "KEL$TABLES")) return;
    for (const char* t : {"KEL$TABLES", "KEL$FIELDS", "KEL$INDEXES"}) {
        auto st = Conn.Prepare(std::string("UPDATE ") + t + " SET TABLE_NAME=? WHERE TABLE_NAME=?");
        st.BindText(1, NewName);
        st.BindText(2, OldName);
        st.Execute();
    }
}

TTableDesc DescribeSqlTable(TSqlConnection& Conn, const std::string& SqlName)
{
    TTableDesc desc;
    {
        auto st = Conn.Prepare("SELECT name, type, \"notnull\", pk FROM pragma_table_info(?)");
        st.BindText(1, SqlName);
        while (st.Step()) {
            std::string name(st.ColumnText(0));
            if (name == RecNoColumn) continue;
            desc.Fields.push_back({name, FieldTypeFromDecl(std::string(st.ColumnText(1))), 0, st.ColumnInt(2) != 0});
        }
    }
    if (desc.Fields.empty()) RaiseEngineError(DBIERR_NOSUCHTABLE, SqlName);
    std::vector<std::pair<std::string, TIndexOptions>> lists;
    {
        auto st = Conn.Prepare("SELECT name, \"unique\", origin FROM pragma_index_list(?) ORDER BY seq");
        st.BindText(1, SqlName);
        while (st.Step()) {
            TIndexOptions o = st.ColumnInt(1) ? IndexOpt(ixUnique) : 0;
            if (st.ColumnText(2) == "pk") o |= IndexOpt(ixPrimary);
            lists.emplace_back(std::string(st.ColumnText(0)), o);
        }
    }
    for (auto& [name, opts] : lists) {
        auto st = Conn.Prepare("SELECT name FROM pragma_index_info(?) ORDER BY seqno");
        st.BindText(1, name);
        std::string fields;
        bool expr = false;
        while (st.Step()) {
            if (st.IsNull(0)) expr = true;
            if (!fields.empty()) fields += ';';
            fields += st.ColumnText(0);
        }
        if (expr) continue; // expression indexes made by plain SQL are not described
        desc.Indexes.push_back({(opts & IndexOpt(ixPrimary)) ? std::string() : name, fields, {}, opts});
    }
    return desc;
}

} // namespace host::engine
