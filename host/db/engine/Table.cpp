#include "host/db/engine/Table.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>

#include "host/db/engine/EngineError.h"

namespace host::engine {

int CompareKeys(const TOrder& Order, const std::vector<TValue>& A, const std::vector<TValue>& B, size_t Count)
{
    for (size_t i = 0; i < Count && i < Order.Parts.size(); ++i) {
        int c = CompareValues(A[i], B[i], Order.Parts[i].Coll);
        if (c) return Order.Parts[i].Descending ? -c : c;
    }
    return 0;
}

TEngineTable::TEngineTable(std::shared_ptr<TSqlConnection> Conn, std::string Name, std::string SqlName, bool ReadOnly)
    : FConn(std::move(Conn)), FName(std::move(Name)), FSqlName(std::move(SqlName)), FReadOnly(ReadOnly)
{
    if (!ReadMetadata(*FConn, FSqlName, FDesc, FType)) {
        FDesc = DescribeSqlTable(*FConn, FSqlName);
        FType = ttDefault;
    }
    {
        std::vector<std::string> columns;
        auto st = FConn->Prepare("SELECT name FROM pragma_table_info(?)");
        st.BindText(1, FSqlName);
        while (st.Step()) columns.emplace_back(st.ColumnText(0));
        FHasRecNo = std::find(columns.begin(), columns.end(), RecNoColumn) != columns.end();
        // Metadata that names columns the table lacks means a damaged file.
        for (const auto& f : FDesc.Fields)
            if (std::none_of(columns.begin(), columns.end(), [&](const std::string& c) { return SameName(c, f.Name); }))
                RaiseEngineError(DBIERR_FILECORRUPT, FName + ": field " + f.Name + " is missing");
    }
    FStamp = std::hash<std::string>()(FConn->FileName() + '|' + FSqlName);
    FTableSql = QuoteIdent(FSqlName);
    FRowIdSql = FHasRecNo ? QuoteIdent(RecNoColumn) : "rowid";
    for (size_t i = 0; i < FDesc.Fields.size(); ++i) {
        if (i) FFieldListSql += ',';
        FFieldListSql += QuoteIdent(FDesc.Fields[i].Name);
        FWriteColumns.push_back(FDesc.Fields[i].Name);
    }
    FWriteTableSql = FTableSql;
    FSelectByRowId = "SELECT " + FFieldListSql + " FROM " + FTableSql + " WHERE " + FRowIdSql + "=?";
    BuildWriteSql();
}

TEngineTable::TEngineTable(std::shared_ptr<TSqlConnection> Conn, TViewDef View)
    : FConn(std::move(Conn)), FName(std::move(View.Name)), FDesc(std::move(View.Desc)),
      FReadOnly(View.WriteTable.empty()), FIsView(true)
{
    static uint64_t Views = 0;
    FStamp = std::hash<std::string>()(FConn->FileName() + "|view|" + std::to_string(++Views));
    FTableSql = View.FromSql;
    FRowIdSql = View.RowIdSql;
    FFieldListSql = View.FieldListSql;
    FWhereSql = std::move(View.WhereSql);
    FWhereParams = std::move(View.WhereParams);
    FViewOrder = std::move(View.Order);
    FTag = std::move(View.Tag);
    FDropTable = std::move(View.DropTable);
    FSelectByRowId = "SELECT " + FFieldListSql + " FROM " + FTableSql + " WHERE " + FRowIdSql + "=?";
    if (FReadOnly) return;
    FSqlName = View.WriteTable;
    FWriteTableSql = QuoteIdent(View.WriteTable);
    FWriteColumns = std::move(View.WriteColumns);
    BuildWriteSql();
}

TEngineTable::~TEngineTable()
{
    if (!FIsView) return;
    // Cleanup must not throw: a failure only leaves a temporary table behind
    // until the connection closes.
    try {
        if (!FTag.empty()) FConn->ForgetTagged(FTag);
        if (!FDropTable.empty()) FConn->Exec("DROP TABLE IF EXISTS temp." + QuoteIdent(FDropTable));
    } catch (...) {
    }
}

void TEngineTable::BuildWriteSql()
{
    std::string cols, params, sets;
    for (size_t i = 0; i < FWriteColumns.size(); ++i) {
        std::string q = QuoteIdent(FWriteColumns[i]);
        cols += (i ? "," : "") + q;
        params += i ? ",?" : "?";
        sets += (i ? "," : "") + q + "=?";
    }
    FInsertSql = "INSERT INTO " + FWriteTableSql + "(" + cols + ") VALUES(" + params + ")";
    FUpdateSql = "UPDATE " + FWriteTableSql + " SET " + sets + " WHERE " + FRowIdSql + "=?";
    FDeleteSql = "DELETE FROM " + FWriteTableSql + " WHERE " + FRowIdSql + "=?";
}

bool TEngineTable::MatchesView(int64_t RowId) const
{
    if (FWhereSql.empty()) return true;
    auto st = FConn->Prepare("SELECT 1 FROM " + FTableSql + " WHERE (" + FWhereSql + ") AND " + FRowIdSql + "=?");
    int n = 1;
    for (const auto& v : FWhereParams) st.Bind(n++, v);
    st.BindInt(n, RowId);
    return st.Step();
}

int TEngineTable::FieldIndex(const std::string& Name) const
{
    for (size_t i = 0; i < FDesc.Fields.size(); ++i)
        if (SameName(FDesc.Fields[i].Name, Name)) return static_cast<int>(i);
    return -1;
}

int TEngineTable::FieldIndexChecked(const std::string& Name) const
{
    int i = FieldIndex(Name);
    if (i < 0) RaiseEngineError(DBIERR_NOSUCHFIELD, Name);
    return i;
}

int TEngineTable::PrimaryIndex() const
{
    for (size_t i = 0; i < FDesc.Indexes.size(); ++i)
        if (FDesc.Indexes[i].Has(ixPrimary)) return static_cast<int>(i);
    return -1;
}

TOrder TEngineTable::OrderForIndex(int IndexNo) const
{
    TOrder o;
    o.IndexNo = IndexNo;
    o.Parts = IndexKeyParts(FDesc, FDesc.Indexes.at(IndexNo));
    return o;
}

TOrder TEngineTable::OrderForIndexName(const std::string& Name) const
{
    if (Name.empty() && FIsView) {
        TOrder o;
        o.Parts = FViewOrder;
        return o;
    }
    if (Name.empty()) {
        int p = PrimaryIndex();
        return p >= 0 ? OrderForIndex(p) : PhysicalOrder();
    }
    for (size_t i = 0; i < FDesc.Indexes.size(); ++i)
        if (SameName(FDesc.Indexes[i].Name, Name)) return OrderForIndex(static_cast<int>(i));
    RaiseEngineError(DBIERR_NOSUCHINDEX, Name);
}

TOrder TEngineTable::OrderForFieldNames(const std::string& Fields) const
{
    auto names = SplitFieldNames(Fields);
    if (names.empty()) return OrderForIndexName({});
    for (size_t i = 0; i < FDesc.Indexes.size(); ++i) {
        const auto& x = FDesc.Indexes[i];
        if (x.Has(ixExpression)) continue;
        auto xf = SplitFieldNames(x.Fields);
        if (xf.size() < names.size()) continue;
        bool match = true;
        for (size_t k = 0; k < names.size() && match; ++k) match = SameName(xf[k], names[k]);
        if (match) {
            return OrderForIndex(static_cast<int>(i));
        }
    }
    TIndexDesc adhoc;
    adhoc.Fields = Fields;
    TOrder o;
    o.Parts = IndexKeyParts(FDesc, adhoc);
    return o;
}

void TEngineTable::ReadRow(const TSqlStatement& St, int Offset, TRecord& Rec) const
{
    Rec.Values.resize(FDesc.Fields.size());
    for (size_t i = 0; i < FDesc.Fields.size(); ++i) {
        int col = Offset + static_cast<int>(i);
        TValue& v = Rec.Values[i];
        v.Kind = St.ColumnKind(col);
        switch (v.Kind) {
        case TValueKind::Integer: v.Int = St.ColumnInt(col); break;
        case TValueKind::Float: v.Float = St.ColumnFloat(col); break;
        case TValueKind::Text: v.Bytes.assign(St.ColumnText(col)); break;
        case TValueKind::Blob: v.Bytes.assign(St.ColumnBlob(col)); break;
        default: break;
        }
    }
}

bool TEngineTable::FetchRecord(int64_t RowId, TRecord& Rec) const
{
    auto st = FConn->Prepare(FSelectByRowId);
    st.BindInt(1, RowId);
    if (!st.Step()) return false;
    ReadRow(st, 0, Rec);
    Rec.RowId = RowId;
    return true;
}

bool TEngineTable::FetchKey(int64_t RowId, const TOrder& Order, std::vector<TValue>& Key) const
{
    if (Order.KeySql.empty()) {
        std::string sql = "SELECT ";
        for (size_t i = 0; i < Order.Parts.size(); ++i) sql += (i ? "," : "") + Order.Parts[i].Sql;
        Order.KeySql = sql + " FROM " + FTableSql + " WHERE " + FRowIdSql + "=?";
    }
    auto st = FConn->Prepare(Order.KeySql);
    st.BindInt(1, RowId);
    if (!st.Step()) return false;
    Key.resize(Order.Parts.size());
    for (size_t i = 0; i < Order.Parts.size(); ++i) Key[i] = st.ColumnValue(static_cast<int>(i));
    return true;
}

int64_t TEngineTable::GetRecordCount() const
{
    auto st = FConn->Prepare("SELECT count(*) FROM " + FTableSql + (FWhereSql.empty() ? "" : " WHERE " + FWhereSql));
    int n = 1;
    for (const auto& v : FWhereParams) st.Bind(n++, v);
    st.Step();
    return st.ColumnInt(0);
}

TValue TEngineTable::Coerce(int FieldNo, const TValue& V) const
{
    if (V.IsNull()) return V;
    TFieldType t = FDesc.Fields.at(FieldNo).DataType;
    switch (StorageKind(t)) {
    case TValueKind::Integer:
        if (V.Kind == TValueKind::Integer) return t == ftBoolean ? TValue::OfBool(V.Int != 0) : V;
        if (V.Kind == TValueKind::Float && std::isfinite(V.Float)) return TValue::OfInt(std::llround(V.Float));
        break;
    case TValueKind::Float:
        if (V.IsNumeric()) return TValue::OfFloat(V.AsFloat());
        break;
    case TValueKind::Text:
        if (V.Kind == TValueKind::Text) return V;
        if (V.IsNumeric()) return TValue::OfText(V.AsString());
        break;
    default:
        if (V.Kind == TValueKind::Blob) return V;
        if (V.Kind == TValueKind::Text) return TValue::OfBlob(V.Bytes);
        break;
    }
    RaiseEngineError(DBIERR_TYPEMISMATCH, FDesc.Fields[FieldNo].Name);
}

void TEngineTable::BindValue(TSqlStatement& St, int Index, int FieldNo, const TValue& V) const
{
    TValue c = Coerce(FieldNo, V);
    switch (c.Kind) {
    case TValueKind::Null: St.BindNull(Index); break;
    case TValueKind::Integer: St.BindInt(Index, c.Int); break;
    case TValueKind::Float: St.BindFloat(Index, c.Float); break;
    case TValueKind::Text: St.BindText(Index, c.Bytes); break;
    case TValueKind::Blob: St.BindBlob(Index, c.Bytes); break;
    }
}

namespace {

void CheckWritable(const TEngineTable& T)
{
    if (T.GetReadOnly()) RaiseEngineError(DBIERR_TABLEREADONLY, T.GetName());
}

} // namespace

int64_t TEngineTable::InsertRecord(const TRecord& Rec)
{
    CheckWritable(*this);
    auto st = FConn->Prepare(FInsertSql);
    for (int i = 0; i < GetFieldCount(); ++i) BindValue(st, i + 1, i, i < (int)Rec.Values.size() ? Rec.Values[i] : TValue());
    st.Execute();
    int64_t rowid = FConn->LastInsertRowId();
    for (int i = 0; i < GetFieldCount(); ++i) {
        if (FDesc.Fields[i].DataType != ftAutoInc) continue;
        if (i < (int)Rec.Values.size() && !Rec.Values[i].IsNull()) continue;
        // Auto-increment fields take the row identifier, which is never reused.
        auto up = FConn->Prepare("UPDATE " + FWriteTableSql + " SET " + QuoteIdent(FWriteColumns[i]) + "=" + FRowIdSql +
                                 " WHERE " + FRowIdSql + "=?");
        up.BindInt(1, rowid);
        up.Execute();
    }
    return rowid;
}

void TEngineTable::ModifyRecord(int64_t RowId, const TRecord& Rec)
{
    CheckWritable(*this);
    auto st = FConn->Prepare(FUpdateSql);
    int n = GetFieldCount();
    for (int i = 0; i < n; ++i) BindValue(st, i + 1, i, i < (int)Rec.Values.size() ? Rec.Values[i] : TValue());
    st.BindInt(n + 1, RowId);
    st.Execute();
    if (FConn->Changes() == 0) RaiseEngineError(DBIERR_RECNOTFOUND, FName);
}

void TEngineTable::DeleteRecord(int64_t RowId)
{
    CheckWritable(*this);
    auto st = FConn->Prepare(FDeleteSql);
    st.BindInt(1, RowId);
    st.Execute();
    if (FConn->Changes() == 0) RaiseEngineError(DBIERR_RECNOTFOUND, FName);
}

std::string IndexSqlName(const std::string& SqlName, const TIndexDesc& Index)
{
    return SqlName + "$" + (Index.Name.empty() ? std::string("PRIMARY") : UpperCase(Index.Name));
}

std::vector<TKeyPart> IndexKeyParts(const TTableDesc& Desc, const TIndexDesc& Index)
{
    TCollation coll = Index.Has(ixCaseInsensitive) ? TCollation::NoCase : TCollation::Binary;
    std::string collSql = coll == TCollation::NoCase ? " COLLATE NOCASE" : "";
    bool desc = Index.Has(ixDescending);
    std::vector<TKeyPart> parts;
    if (Index.Has(ixExpression)) {
        parts.push_back({"(" + IndexExpressionSql(Desc, Index.Expression) + ")" + collSql, coll, desc, -1});
        return parts;
    }
    for (const auto& name : SplitFieldNames(Index.Fields)) {
        int no = -1;
        for (size_t i = 0; i < Desc.Fields.size(); ++i)
            if (SameName(Desc.Fields[i].Name, name)) no = static_cast<int>(i);
        if (no < 0) RaiseEngineError(DBIERR_NOSUCHFIELD, name);
        TCollation c = IsStringType(Desc.Fields[no].DataType) || Desc.Fields[no].DataType == ftMemo ? coll : TCollation::Binary;
        parts.push_back({QuoteIdent(Desc.Fields[no].Name) + (c == TCollation::NoCase ? collSql : ""), c, desc, no});
    }
    if (parts.empty()) RaiseEngineError(DBIERR_INVALIDPARAM, "index without fields");
    return parts;
}

std::string CreateIndexSql(const std::string& SqlName, const TTableDesc& Desc, const TIndexDesc& Index)
{
    std::string sql = "CREATE ";
    if (Index.Has(ixUnique) || Index.Has(ixPrimary)) sql += "UNIQUE ";
    sql += "INDEX " + QuoteIdent(IndexSqlName(SqlName, Index)) + " ON " + QuoteIdent(SqlName) + "(";
    auto parts = IndexKeyParts(Desc, Index);
    for (size_t i = 0; i < parts.size(); ++i)
        sql += (i ? "," : "") + parts[i].Sql + (parts[i].Descending ? " DESC" : "");
    return sql + ")";
}

namespace {

bool IsIdentChar(char C) { return std::isalnum(static_cast<unsigned char>(C)) || C == '_' || C == '$'; }

} // namespace

std::string IndexExpressionSql(const TTableDesc& Desc, const std::string& Expr)
{
    std::string out;
    size_t i = 0;
    while (i < Expr.size()) {
        char c = Expr[i];
        if (c == ' ' || c == '\t' || c == '(' || c == ')' || c == ',') {
            out += c;
            ++i;
        } else if (c == '+') {
            out += "||";
            ++i;
        } else if (c == '\'' || c == '"') {
            size_t end = Expr.find(c, i + 1);
            if (end == std::string::npos) RaiseEngineError(DBIERR_INVALIDPARAM, "index expression " + Expr);
            out += QuoteString(Expr.substr(i + 1, end - i - 1));
            i = end + 1;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            while (i < Expr.size() && std::isdigit(static_cast<unsigned char>(Expr[i]))) out += Expr[i++];
        } else if (IsIdentChar(c)) {
            size_t start = i;
            while (i < Expr.size() && IsIdentChar(Expr[i])) ++i;
            std::string word = Expr.substr(start, i - start);
            size_t next = Expr.find_first_not_of(' ', i);
            std::string upper = UpperCase(word);
            bool call = next != std::string::npos && Expr[next] == '(';
            if (call && (upper == "UPPER" || upper == "LOWER" || upper == "TRIM" || upper == "SUBSTR")) {
                out += upper;
                continue;
            }
            bool found = false;
            for (const auto& f : Desc.Fields)
                if (SameName(f.Name, word)) {
                    out += QuoteIdent(f.Name);
                    found = true;
                }
            if (!found) RaiseEngineError(DBIERR_NOSUCHFIELD, word);
        } else {
            RaiseEngineError(DBIERR_INVALIDPARAM, "index expression " + Expr);
        }
    }
    return out;
}

} // namespace host::engine
