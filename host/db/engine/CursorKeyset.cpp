// Building the keyset (ranges, master link, filters) and the operations that
// search or change it: key search, locate and edits.
#include <algorithm>
#include <unordered_set>

#include "host/db/engine/Cursor.h"
#include "host/db/engine/EngineError.h"

namespace host::engine {

namespace {

// Field access straight on the columns of a running scan (no copies).
class TStmtRow : public TRowAccess {
public:
    TStmtRow(const TSqlStatement& St, int Offset) : FSt(St), FOffset(Offset) {}
    TValueKind KindOf(int Field) const override { return FSt.ColumnKind(FOffset + Field); }
    int64_t IntOf(int Field) const override { return FSt.ColumnInt(FOffset + Field); }
    double FloatOf(int Field) const override { return FSt.ColumnFloat(FOffset + Field); }
    std::string_view BytesOf(int Field) const override
    {
        return KindOf(Field) == TValueKind::Blob ? FSt.ColumnBlob(FOffset + Field) : FSt.ColumnText(FOffset + Field);
    }

private:
    const TSqlStatement& FSt;
    int FOffset;
};

// A text bound ending in #255 stands for its prefix: returns the prefix, or
// nothing for other values.
std::optional<std::string_view> PrefixOf(const TValue& V)
{
    if (V.Kind != TValueKind::Text || V.Bytes.empty() || static_cast<unsigned char>(V.Bytes.back()) != 0xFF)
        return std::nullopt;
    std::string_view s = V.Bytes;
    while (!s.empty() && static_cast<unsigned char>(s.back()) == 0xFF) s.remove_suffix(1);
    return s;
}

int CompareToBound(const TOrder& Order, const std::vector<TValue>& Key, const TKeyBound& Bound)
{
    for (size_t i = 0; i < Bound.Values.size() && i < Key.size(); ++i) {
        const TKeyPart& part = Order.Parts[i];
        const TValue& v = Bound.Values[i];
        int c;
        auto prefix = PrefixOf(v);
        if (prefix && Key[i].Kind == TValueKind::Text && HasPrefix(Key[i].Bytes, *prefix, part.Coll)) c = 0;
        else c = CompareValues(Key[i], prefix ? TValue::OfText(*prefix) : v, part.Coll);
        if (c) return part.Descending ? -c : c;
    }
    return 0;
}

void BindValue(TSqlStatement& St, int Index, const TValue& V)
{
    switch (V.Kind) {
    case TValueKind::Null: St.BindNull(Index); break;
    case TValueKind::Integer: St.BindInt(Index, V.Int); break;
    case TValueKind::Float: St.BindFloat(Index, V.Float); break;
    case TValueKind::Text: St.BindText(Index, V.Bytes); break;
    case TValueKind::Blob: St.BindBlob(Index, V.Bytes); break;
    }
}

} // namespace

std::string TEngineCursor::ScanSql(bool WithKeys, bool WithFields, bool Physical, std::vector<TValue>& Params) const
{
    const TEngineTable& t = *FTable;
    std::string sql = "SELECT " + t.RowIdSql();
    if (WithKeys)
        for (const auto& p : FOrder.Parts) sql += "," + p.Sql;
    if (WithFields) sql += "," + t.FieldListSql();
    sql += " FROM " + t.TableSql();
    std::vector<std::string> conds;
    if (!t.ViewWhereSql().empty()) {
        conds.push_back("(" + t.ViewWhereSql() + ")");
        Params.insert(Params.end(), t.ViewWhereParams().begin(), t.ViewWhereParams().end());
    }
    if (FLinked)
        for (size_t i = 0; i < FLinkFields.size(); ++i) {
            conds.push_back(QuoteIdent(t.GetField(FLinkFields[i]).Name) + "=?");
            Params.push_back(FLinkValues[i]);
        }
    // The range narrows the scan on the first key part through the index; the
    // exact test of every bound runs on the keys as they are read.
    if (!FOrder.IsPhysical() && !Physical) {
        const TKeyPart& p0 = FOrder.Parts[0];
        auto bound = [&](const std::optional<TKeyBound>& B, bool Low) {
            if (!B || B->Values.empty() || B->Values[0].IsNull()) return;
            const TValue& v = B->Values[0];
            auto prefix = PrefixOf(v);
            bool lower = Low != p0.Descending;
            if (prefix) {
                Params.push_back(lower ? TValue::OfText(*prefix) : TValue::OfText(std::string(*prefix) + std::string(8, '\xFF')));
            } else {
                Params.push_back(v);
            }
            conds.push_back(p0.Sql + (lower ? ">=?" : "<=?"));
        };
        bound(FLow, true);
        bound(FHigh, false);
    }
    for (size_t i = 0; i < conds.size(); ++i) sql += (i ? " AND " : " WHERE ") + conds[i];
    sql += " ORDER BY ";
    if (!Physical)
        for (const auto& p : FOrder.Parts) sql += p.Sql + (p.Descending ? " DESC," : ",");
    return sql + t.RowIdSql();
}

bool TEngineCursor::InRange(const std::vector<TValue>& Key) const
{
    if (FLow) {
        int c = CompareToBound(FOrder, Key, *FLow);
        if (c < 0 || (c == 0 && FLow->Exclusive)) return false;
    }
    if (FHigh) {
        int c = CompareToBound(FOrder, Key, *FHigh);
        if (c > 0 || (c == 0 && FHigh->Exclusive)) return false;
    }
    return true;
}

bool TEngineCursor::HasActiveFilters() const
{
    return std::any_of(FFilters.begin(), FFilters.end(), [](const TFilter& f) { return f.Active; });
}

bool TEngineCursor::PassesFilters(const TRowAccess& Row, const TRecord* Rec, const TSqlStatement* St, int Offset,
                                  TRecord& Scratch) const
{
    for (const auto& f : FFilters) {
        if (!f.Active) continue;
        if (f.Expr) {
            if (!f.Expr->Evaluate(Row)) return false;
            continue;
        }
        // Callbacks see a record buffer; it is filled only for rows that get this far.
        if (!Rec) {
            FTable->ReadRow(*St, Offset, Scratch);
            Scratch.RowId = St->ColumnInt(0);
            Rec = &Scratch;
        }
        if (!f.Callback(*Rec)) return false;
    }
    return true;
}

void TEngineCursor::Rebuild()
{
    bool withKeys = FLow || FHigh;
    bool withFields = HasActiveFilters();
    bool callbacks = std::any_of(FFilters.begin(), FFilters.end(), [](const TFilter& f) { return f.Active && !f.Expr; });
    // Walking a secondary index and reading every row costs a random page read
    // per row. When only expressions filter the whole table, they run over a
    // sequential physical scan instead and the index walk reads just the index.
    // Callbacks keep the single scan so that they see records in index order.
    if (withFields && !callbacks && !withKeys && !FLinked && !FOrder.IsPhysical()) {
        RebuildTwoPass();
        return;
    }
    // Keys come along from the index at no extra reads; every FenceStep-th is kept.
    bool fences = !FOrder.IsPhysical();
    withKeys = withKeys || fences;
    std::vector<TValue> params;
    std::string sql = ScanSql(withKeys, withFields, false, params);
    auto st = FTable->Conn().Prepare(sql);
    std::vector<std::vector<TValue>> fenceKeys;
    for (size_t i = 0; i < params.size(); ++i) BindValue(st, static_cast<int>(i) + 1, params[i]);
    std::vector<int64_t> keys;
    keys.reserve(FKeys.size() ? FKeys.size() : 64);
    std::vector<TValue> key(FOrder.Parts.size());
    int fieldOffset = 1 + (withKeys ? static_cast<int>(FOrder.Parts.size()) : 0);
    TStmtRow row(st, fieldOffset);
    TRecord scratch;
    while (st.Step()) {
        int64_t rowid = st.ColumnInt(0);
        if (FLow || FHigh) {
            for (size_t i = 0; i < key.size(); ++i) key[i] = st.ColumnValue(static_cast<int>(i) + 1);
            if (!InRange(key)) continue;
        }
        if (withFields && !PassesFilters(row, nullptr, &st, fieldOffset, scratch)) continue;
        if (fences && keys.size() % FenceStep == 0) {
            if (!(FLow || FHigh))
                for (size_t i = 0; i < key.size(); ++i) key[i] = st.ColumnValue(static_cast<int>(i) + 1);
            fenceKeys.push_back(key);
        }
        keys.push_back(rowid);
    }
    FKeys.swap(keys);
    FFences.swap(fenceKeys);
    FFencesValid = fences;
    ClearCache();
}

void TEngineCursor::RebuildTwoPass()
{
    TSqlConnection& conn = FTable->Conn();
    // Both passes read one snapshot.
    bool own = !conn.InTransaction();
    if (own) conn.Exec("BEGIN");
    try {
        std::vector<int64_t> accepted;
        {
            std::vector<TValue> params;
            auto st = conn.Prepare(ScanSql(false, true, true, params));
            TStmtRow row(st, 1);
            TRecord scratch;
            while (st.Step())
                if (PassesFilters(row, nullptr, &st, 1, scratch)) accepted.push_back(st.ColumnInt(0));
        }
        std::vector<int64_t> keys;
        keys.reserve(accepted.size());
        std::vector<std::vector<TValue>> fenceKeys;
        {
            std::vector<TValue> params;
            auto st = conn.Prepare(ScanSql(true, false, false, params));
            std::vector<TValue> key(FOrder.Parts.size());
            while (st.Step()) {
                int64_t rowid = st.ColumnInt(0);
                if (!std::binary_search(accepted.begin(), accepted.end(), rowid)) continue;
                if (keys.size() % FenceStep == 0) {
                    for (size_t i = 0; i < key.size(); ++i) key[i] = st.ColumnValue(static_cast<int>(i) + 1);
                    fenceKeys.push_back(key);
                }
                keys.push_back(rowid);
            }
        }
        if (own) conn.Exec("COMMIT");
        FKeys.swap(keys);
        FFences.swap(fenceKeys);
        FFencesValid = true;
    } catch (...) {
        if (own && conn.InTransaction()) conn.Exec("ROLLBACK");
        throw;
    }
    ClearCache();
}

bool TEngineCursor::PassesLink(const TRecord& Rec) const
{
    if (!FLinked) return true;
    for (size_t i = 0; i < FLinkFields.size(); ++i) {
        const TValue& v = Rec.Values[FLinkFields[i]];
        if (v.IsNull() || FLinkValues[i].IsNull() || CompareValues(v, FLinkValues[i]) != 0) return false;
    }
    return true;
}

bool TEngineCursor::BelongsToView(int64_t RowId)
{
    TRecord rec;
    if (!FTable->FetchRecord(RowId, rec)) return false;
    if (!PassesLink(rec) || !FTable->MatchesView(RowId)) return false;
    if (FLow || FHigh) {
        std::vector<TValue> key;
        FTable->FetchKey(RowId, FOrder, key);
        if (!InRange(key)) return false;
    }
    TRecord scratch;
    return PassesFilters(rec, &rec, nullptr, 0, scratch);
}

// ---- ranges and links

void TEngineCursor::SetRange(const std::optional<TKeyBound>& Low, const std::optional<TKeyBound>& High)
{
    RequireOrder();
    auto check = [&](const std::optional<TKeyBound>& B) {
        if (!B) return B;
        if (B->Values.size() > FOrder.Parts.size()) RaiseEngineError(DBIERR_INVALIDPARAM, "more range values than key fields");
        TKeyBound b = *B;
        for (size_t i = 0; i < b.Values.size(); ++i) {
            int f = FOrder.Parts[i].FieldNo;
            if (f >= 0 && !PrefixOf(b.Values[i])) b.Values[i] = FTable->Coerce(f, b.Values[i]);
        }
        return std::optional<TKeyBound>(b);
    };
    auto low = check(Low), high = check(High);
    FLow = std::move(low);
    FHigh = std::move(high);
    Rebuild();
    SetToBegin();
}

void TEngineCursor::CancelRange()
{
    if (!FLow && !FHigh) return;
    int64_t keep = HasCurrent() ? FKeys[FPos] : 0;
    FLow.reset();
    FHigh.reset();
    Rebuild();
    int64_t p = keep ? PositionOf(keep) : -1;
    if (p >= 0) Place(p);
    else SetToBegin();
}

void TEngineCursor::SetLink(const std::vector<int>& Fields, const std::vector<TValue>& Values)
{
    if (Fields.size() != Values.size() || Fields.empty()) RaiseEngineError(DBIERR_INVALIDPARAM, "link fields");
    std::vector<TValue> values;
    for (size_t i = 0; i < Fields.size(); ++i) {
        if (Fields[i] < 0 || Fields[i] >= FTable->GetFieldCount()) RaiseEngineError(DBIERR_NOSUCHFIELD);
        values.push_back(FTable->Coerce(Fields[i], Values[i]));
    }
    FLinkFields = Fields;
    FLinkValues = std::move(values);
    FLinked = true;
    Rebuild();
    SetToBegin();
}

void TEngineCursor::CancelLink()
{
    if (!FLinked) return;
    FLinked = false;
    FLinkFields.clear();
    FLinkValues.clear();
    Rebuild();
    SetToBegin();
}

// ---- key search

int TEngineCursor::CompareKeyPrefix(const std::vector<TValue>& Key, const std::vector<TValue>& Values,
                                    bool PartialLast) const
{
    for (size_t i = 0; i < Values.size(); ++i) {
        const TKeyPart& part = FOrder.Parts[i];
        int c;
        bool partial = PartialLast && i + 1 == Values.size() && Values[i].Kind == TValueKind::Text;
        if (partial && Key[i].Kind == TValueKind::Text && HasPrefix(Key[i].Bytes, Values[i].Bytes, part.Coll)) c = 0;
        else c = CompareValues(Key[i], Values[i], part.Coll);
        if (c) return part.Descending ? -c : c;
    }
    return 0;
}

int64_t TEngineCursor::LowerBound(const std::vector<TValue>& Values, bool PartialLast) const
{
    int64_t lo = 0, hi = static_cast<int64_t>(FKeys.size());
    if (FFencesValid && !FFences.empty()) {
        // The sampled keys narrow the search to one block without reading rows.
        size_t f = 0, n = FFences.size();
        while (f < n) {
            size_t mid = f + (n - f) / 2;
            if (CompareKeyPrefix(FFences[mid], Values, PartialLast) < 0) f = mid + 1;
            else n = mid;
        }
        hi = std::min<int64_t>(hi, static_cast<int64_t>(f) * FenceStep);
        lo = f ? static_cast<int64_t>(f - 1) * FenceStep + 1 : 0;
    }
    while (lo < hi) {
        int64_t mid = lo + (hi - lo) / 2;
        if (CompareKeyPrefix(KeyAt(mid), Values, PartialLast) < 0) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

namespace {

std::vector<TValue> CoerceKey(const TEngineTable& T, const TOrder& O, const std::vector<TValue>& Values)
{
    if (Values.empty() || Values.size() > O.Parts.size())
        RaiseEngineError(DBIERR_INVALIDPARAM, "key values do not fit the index");
    std::vector<TValue> out;
    for (size_t i = 0; i < Values.size(); ++i)
        out.push_back(O.Parts[i].FieldNo >= 0 ? T.Coerce(O.Parts[i].FieldNo, Values[i]) : Values[i]);
    return out;
}

} // namespace

bool TEngineCursor::FindKey(const std::vector<TValue>& Values, bool PartialLast)
{
    RequireOrder();
    auto key = CoerceKey(*FTable, FOrder, Values);
    int64_t p = LowerBound(key, PartialLast);
    if (p >= static_cast<int64_t>(FKeys.size()) || CompareKeyPrefix(KeyAt(p), key, PartialLast) != 0) return false;
    Place(p);
    return true;
}

void TEngineCursor::GotoNearest(const std::vector<TValue>& Values, bool PartialLast)
{
    RequireOrder();
    auto key = CoerceKey(*FTable, FOrder, Values);
    int64_t p = LowerBound(key, PartialLast);
    Place(p);
    if (p >= static_cast<int64_t>(FKeys.size()) && !FKeys.empty()) FEOF = true;
}

bool TEngineCursor::Locate(const std::vector<int>& Fields, const std::vector<TValue>& Values, TLocateOptions Options)
{
    if (Fields.size() != Values.size() || Fields.empty()) RaiseEngineError(DBIERR_INVALIDPARAM, "locate fields");
    if (FTable->IsView()) return LocateInView(Fields, Values, Options);
    const TEngineTable& t = *FTable;
    std::string sql = "SELECT " + t.RowIdSql() + " FROM " + t.TableSql() + " WHERE ";
    std::vector<TValue> params;
    for (size_t i = 0; i < Fields.size(); ++i) {
        if (Fields[i] < 0 || Fields[i] >= t.GetFieldCount()) RaiseEngineError(DBIERR_NOSUCHFIELD);
        std::string col = QuoteIdent(t.GetField(Fields[i]).Name);
        std::string coll = (Options & LocateOpt(loCaseInsensitive)) ? " COLLATE NOCASE" : "";
        if (i) sql += " AND ";
        TValue v = Values[i].IsNull() ? Values[i] : t.Coerce(Fields[i], Values[i]);
        if (v.IsNull()) {
            sql += col + " IS NULL";
        } else if ((Options & LocateOpt(loPartialKey)) && v.Kind == TValueKind::Text) {
            sql += "substr(" + col + ",1," + std::to_string(v.Bytes.size()) + ")=?" + coll;
            params.push_back(v);
        } else {
            sql += col + "=?" + coll;
            params.push_back(v);
        }
    }
    auto st = t.Conn().Prepare(sql);
    for (size_t i = 0; i < params.size(); ++i) BindValue(st, static_cast<int>(i) + 1, params[i]);
    std::unordered_set<int64_t> hits;
    while (st.Step()) hits.insert(st.ColumnInt(0));
    if (hits.empty()) return false;
    for (size_t p = 0; p < FKeys.size(); ++p)
        if (hits.count(FKeys[p])) {
            Place(static_cast<int64_t>(p));
            return true;
        }
    return false;
}

bool TEngineCursor::LocateInView(const std::vector<int>& Fields, const std::vector<TValue>& Values,
                                 TLocateOptions Options)
{
    // A view's fields may be expressions with no column to search by, so the
    // records are compared as they are read.
    std::vector<TValue> want;
    for (size_t i = 0; i < Fields.size(); ++i) {
        if (Fields[i] < 0 || Fields[i] >= FTable->GetFieldCount()) RaiseEngineError(DBIERR_NOSUCHFIELD);
        want.push_back(Values[i].IsNull() ? Values[i] : FTable->Coerce(Fields[i], Values[i]));
    }
    TCollation coll = (Options & LocateOpt(loCaseInsensitive)) ? TCollation::NoCase : TCollation::Binary;
    bool partial = (Options & LocateOpt(loPartialKey)) != 0;
    for (int64_t p = 0; p < static_cast<int64_t>(FKeys.size()); ++p) {
        TRecord rec;
        if (!FTable->FetchRecord(FKeys[p], rec)) continue;
        bool match = true;
        for (size_t i = 0; i < Fields.size() && match; ++i) {
            const TValue& v = rec.Values[Fields[i]];
            if (want[i].IsNull()) match = v.IsNull();
            else if (partial && want[i].Kind == TValueKind::Text && v.Kind == TValueKind::Text)
                match = HasPrefix(v.Bytes, want[i].Bytes, coll);
            else match = !v.IsNull() && CompareValues(v, want[i], coll) == 0;
        }
        if (match) {
            Place(p);
            return true;
        }
    }
    return false;
}

// ---- filters

TEngineCursor::TFilter& TEngineCursor::FindFilter(TFilterHandle Handle)
{
    for (auto& f : FFilters)
        if (f.Handle == Handle) return f;
    RaiseEngineError(DBIERR_NOSUCHFILTER);
}

TFilterHandle TEngineCursor::AddFilter(uint16_t Priority, const TFilterExpr& Expr)
{
    for (int f : Expr.FieldsUsed())
        if (f < 0 || f >= FTable->GetFieldCount()) RaiseEngineError(DBIERR_NOSUCHFIELD, "in filter expression");
    TFilter f{FNextHandle++, Priority, false, Expr, {}};
    auto at = std::upper_bound(FFilters.begin(), FFilters.end(), Priority,
                               [](uint16_t p, const TFilter& x) { return p < x.Priority; });
    FFilters.insert(at, std::move(f));
    return FNextHandle - 1;
}

TFilterHandle TEngineCursor::AddFilter(uint16_t Priority, TRecordCallback Callback)
{
    if (!Callback) RaiseEngineError(DBIERR_INVALIDPARAM, "no callback");
    TFilter f{FNextHandle++, Priority, false, std::nullopt, std::move(Callback)};
    auto at = std::upper_bound(FFilters.begin(), FFilters.end(), Priority,
                               [](uint16_t p, const TFilter& x) { return p < x.Priority; });
    FFilters.insert(at, std::move(f));
    return FNextHandle - 1;
}

void TEngineCursor::ActivateFilter(TFilterHandle Handle) { FindFilter(Handle).Active = true; }
void TEngineCursor::DeactivateFilter(TFilterHandle Handle) { FindFilter(Handle).Active = false; }

void TEngineCursor::DropFilter(TFilterHandle Handle)
{
    FindFilter(Handle);
    std::erase_if(FFilters, [&](const TFilter& f) { return f.Handle == Handle; });
}

// ---- edits

int64_t TEngineCursor::InsertRecord(const TRecord& Rec)
{
    FFencesValid = false; // positions shift
    int64_t rowid = FTable->InsertRecord(Rec);
    Invalidate(rowid);
    if (!BelongsToView(rowid)) return rowid;
    std::vector<TValue> key;
    if (!FOrder.IsPhysical()) FTable->FetchKey(rowid, FOrder, key);
    int64_t p = InsertPosition(key, rowid);
    FKeys.insert(FKeys.begin() + p, rowid);
    Place(p);
    return rowid;
}

void TEngineCursor::ModifyRecord(const TRecord& Rec)
{
    FFencesValid = false; // positions shift
    int64_t rowid = GetRowId();
    FTable->ModifyRecord(rowid, Rec);
    Invalidate(rowid);
    int64_t old = FPos;
    FKeys.erase(FKeys.begin() + old);
    if (!BelongsToView(rowid)) {
        Place(old);
        return;
    }
    std::vector<TValue> key;
    if (!FOrder.IsPhysical()) FTable->FetchKey(rowid, FOrder, key);
    int64_t p = InsertPosition(key, rowid);
    FKeys.insert(FKeys.begin() + p, rowid);
    Place(p);
}

void TEngineCursor::DeleteRecord()
{
    FFencesValid = false; // positions shift
    int64_t rowid = GetRowId();
    FTable->DeleteRecord(rowid);
    Invalidate(rowid);
    int64_t old = FPos;
    FKeys.erase(FKeys.begin() + old);
    bool wasLast = old >= static_cast<int64_t>(FKeys.size());
    Place(old);
    if (wasLast && !FKeys.empty()) FEOF = true;
}

} // namespace host::engine
