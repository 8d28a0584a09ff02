// Navigation, the record window, bookmarks, calculated fields, filters and searching.
#include <algorithm>

#include "host/db/DBConsts.h"
#include "host/db/DataSet.h"
#include "host/db/DataSource.h"
#include "host/db/engine/FilterParser.h"

namespace host {

using engine::TValue;

// ---- the record window

int64_t TDataSet::CursorPos() const { return FCursor ? FCursor->GetPosition() : -1; }

void TDataSet::ReadRecordInto(int64_t Position, TRecBuf& Buf)
{
    Buf.Rec = *Cursor().GetRecordAt(Position);
    Buf.Calc.assign(static_cast<size_t>(FCalcFieldCount), TValue());
    if (FCalcFieldCount > 0) CalculateFields(Buf);
}

void TDataSet::FillWindow(int64_t Top)
{
    engine::TEngineCursor& c = Cursor();
    int64_t n = c.GetRecordCount();
    int64_t bc = FBufferCount;
    bool current = c.HasCurrent();
    int64_t pos = current ? c.GetPosition() : 0;
    if (current) Top = std::min(std::max(Top, pos - bc + 1), pos);
    Top = std::max<int64_t>(0, std::min(Top, n - bc));
    FWindowTop = Top;
    FRecordCount = static_cast<int>(std::max<int64_t>(0, std::min(bc, n - Top)));
    FBuffers.resize(static_cast<size_t>(FRecordCount));
    DbiGuard([&] {
        for (int i = 0; i < FRecordCount; ++i) ReadRecordInto(Top + i, FBuffers[i]);
    });
    FActiveRecord = current ? static_cast<int>(pos - Top) : 0;
    if (FActiveRecord >= FRecordCount) FActiveRecord = std::max(0, FRecordCount - 1);
}

void TDataSet::ResyncAt(int PreferredActive) { FillWindow(CursorPos() - PreferredActive); }

void TDataSet::ClearBuffers()
{
    FBuffers.clear();
    FRecordCount = 0;
    FActiveRecord = 0;
}

void TDataSet::Resync()
{
    CheckActive();
    if (FCursor->IsEmpty()) FBOF = FEOF = true;
    ResyncAt(FActiveRecord);
    DataEvent(deDataSetChange, 0);
}

void TDataSet::SetActiveRecord(int Value)
{
    if (Value < 0 || Value >= std::max(1, FRecordCount)) return;
    FActiveRecord = Value;
}

void TDataSet::UpdateCursorPos()
{
    if (!FCursor || FState == dsInsert || FActiveRecord >= FRecordCount) return;
    int64_t rowid = FBuffers[FActiveRecord].Rec.RowId;
    if (FCursor->HasCurrent() && FCursor->GetRowId() == rowid) return;
    DbiGuard([&] { FCursor->GotoBookmark({rowid, FCursor->Table().GetStamp()}); });
}

void TDataSet::CursorPosChanged()
{
    // UpdateCursorPos compares the cursor's record with the active buffer, so
    // nothing needs remembering here.
}

void TDataSet::NotifyScroll(int64_t OldTop) { DataEvent(deDataSetScroll, static_cast<intptr_t>(OldTop - FWindowTop)); }

// ---- navigation

void TDataSet::First()
{
    CheckBrowseMode();
    if (CursorPos() > 0) CheckBiDirectional();
    BeforeScroll(this);
    Cursor().First();
    FillWindow(0);
    FBOF = true;
    FEOF = FCursor->IsEmpty();
    DataEvent(deDataSetChange, 0);
    AfterScroll(this);
}

void TDataSet::Last()
{
    CheckBrowseMode();
    BeforeScroll(this);
    Cursor().Last();
    FillWindow(FCursor->GetRecordCount());
    FEOF = true;
    FBOF = FCursor->IsEmpty();
    DataEvent(deDataSetChange, 0);
    AfterScroll(this);
}

void TDataSet::CheckBiDirectional() const
{
    if (FUniDirectional) DatabaseError(DBConsts::SDataSetUnidirectional);
}

int TDataSet::MoveBy(int Distance)
{
    CheckBrowseMode();
    if (Distance == 0) return 0;
    if (Distance < 0) CheckBiDirectional();
    BeforeScroll(this);
    if ((Distance > 0 && FEOF) || (Distance < 0 && FBOF)) return 0;
    UpdateCursorPos();
    FBOF = FEOF = false;
    int64_t oldTop = FWindowTop;
    int moved = Cursor().MoveBy(Distance);
    if (moved != Distance) (Distance > 0 ? FEOF : FBOF) = true;
    if (FCursor->IsEmpty()) FBOF = FEOF = true;
    int64_t pos = CursorPos();
    int64_t top = FWindowTop;
    if (pos < top)
        top = pos;
    else if (pos >= top + FBufferCount)
        top = pos - FBufferCount + 1;
    FillWindow(top);
    NotifyScroll(oldTop);
    AfterScroll(this);
    return moved;
}

bool TDataSet::IsEmpty() const { return FRecordCount == 0; }

int64_t TDataSet::GetRecordCount() const
{
    CheckActive();
    return FCursor->GetRecordCount();
}

int64_t TDataSet::GetRecNo() const
{
    if (!FCursor || FState == dsInsert || FRecordCount == 0) return -1;
    return FWindowTop + FActiveRecord + 1;
}

void TDataSet::SetRecNo(int64_t Value)
{
    CheckBrowseMode();
    int64_t cur = GetRecNo();
    if (cur < 0 || Value == cur) return;
    MoveBy(static_cast<int>(Value - cur));
}

// ---- bookmarks

TBookmark TDataSet::GetBookmark() const
{
    if (!FCursor || FState == dsInsert || FActiveRecord >= FRecordCount) return {};
    return {FBuffers[FActiveRecord].Rec.RowId, FCursor->Table().GetStamp()};
}

void TDataSet::GotoBookmark(const TBookmark& Bookmark)
{
    CheckBrowseMode();
    if (!BookmarkValid(Bookmark)) DatabaseError(DBConsts::SRecordNotFound);
    BeforeScroll(this);
    FCursor->GotoBookmark(Bookmark);
    FBOF = FEOF = false;
    ResyncAt((FBufferCount - 1) / 2);
    DataEvent(deDataSetChange, 0);
    AfterScroll(this);
}

bool TDataSet::BookmarkValid(const TBookmark& Bookmark) const { return FCursor && FCursor->BookmarkValid(Bookmark); }

int TDataSet::CompareBookmarks(const TBookmark& A, const TBookmark& B) const
{
    if (A.IsNull() || B.IsNull()) return A.IsNull() == B.IsNull() ? 0 : (A.IsNull() ? -1 : 1);
    if (A == B) return 0;
    CheckActive();
    return FCursor->CompareBookmarks(A, B);
}

// ---- record buffers

TRecBuf* TDataSet::CurrentBuffer() const
{
    switch (FState) {
    case dsInactive: return nullptr;
    case dsCalcFields: return FCalcBuffer;
    case dsFilter: return const_cast<TRecBuf*>(&FFilterBuffer);
    case dsSetKey: return GetStateBuffer();
    default:
        return FActiveRecord < FRecordCount ? const_cast<TRecBuf*>(&FBuffers[FActiveRecord]) : nullptr;
    }
}

bool TDataSet::GetFieldData(const TField* Field, TValue& Value) const
{
    Value = TValue();
    const TRecBuf* buf = CurrentBuffer();
    if (!buf) return false;
    int no = Field->GetFieldNo();
    int calc = Field->GetCalcIndex();
    if (no > 0 && no <= static_cast<int>(buf->Rec.Values.size()))
        Value = buf->Rec.Values[no - 1];
    else if (calc >= 0 && calc < static_cast<int>(buf->Calc.size()))
        Value = buf->Calc[calc];
    return !Value.IsNull();
}

void TDataSet::SetFieldData(TField* Field, const TValue& Value)
{
    TRecBuf* buf = CurrentBuffer();
    if (!buf) RaiseNotEditing();
    int no = Field->GetFieldNo();
    int calc = Field->GetCalcIndex();
    TValue stored = Value;
    if (no > 0 && no <= static_cast<int>(buf->Rec.Values.size())) {
        // Converted now so that a value the field cannot hold fails at once.
        if (!stored.IsNull()) stored = DbiGuard([&] { return Cursor().Table().Coerce(no - 1, stored); });
        buf->Rec.Values[no - 1] = std::move(stored);
    } else if (calc >= 0) {
        if (calc >= static_cast<int>(buf->Calc.size())) buf->Calc.resize(static_cast<size_t>(calc) + 1);
        buf->Calc[calc] = std::move(stored);
    } else {
        return;
    }
    if (FState != dsCalcFields && FState != dsFilter) DataEvent(deFieldChange, reinterpret_cast<intptr_t>(Field));
}

void TDataSet::RaiseNotEditing() const { DatabaseError(DBConsts::SNotEditing); }

// ---- calculated and lookup fields

void TDataSet::CalculateFields(TRecBuf& Buf)
{
    if (FCalcFieldCount == 0) return;
    Buf.Calc.assign(static_cast<size_t>(FCalcFieldCount), TValue());
    TDataSetState saved = FState;
    TRecBuf* savedBuf = FCalcBuffer;
    FState = dsCalcFields;
    FCalcBuffer = &Buf;
    try {
        for (int i = 0; i < FFields->GetCount(); ++i) {
            TField* f = FFields->GetField(i);
            if (f->GetFieldKind() != fkLookup) continue;
            TDataSet* ds = f->GetLookupDataSet();
            if (!ds || f->GetKeyFields().empty() || f->GetLookupKeyFields().empty() ||
                f->GetLookupResultField().empty())
                DatabaseErrorFmt(DBConsts::SLookupInfoError, {f->GetDisplayName()});
            if (!ds->GetActive()) continue;
            TVariantArray keys;
            for (TField* k : GetFieldList(f->GetKeyFields())) keys.push_back(k->GetAsVariant());
            TVariantArray r = ds->Lookup(f->GetLookupKeyFields(), keys, f->GetLookupResultField());
            Buf.Calc[f->GetCalcIndex()] = r.empty() ? TValue() : static_cast<const TValue&>(r[0]);
        }
        OnCalcFields(this);
    } catch (...) {
        FState = saved;
        FCalcBuffer = savedBuf;
        throw;
    }
    FState = saved;
    FCalcBuffer = savedBuf;
}

// ---- filters

void TDataSet::SetFilter(const std::string& Value)
{
    if (Value == FFilterText) return;
    FFilterText = Value;
    if (GetActive() && FFiltered) {
        CheckBrowseMode();
        UpdateFilters();
        First();
    }
}

void TDataSet::SetFiltered(bool Value)
{
    if (Value == FFiltered) return;
    if (!GetActive()) {
        FFiltered = Value;
        return;
    }
    CheckBrowseMode();
    FFiltered = Value;
    UpdateFilters();
    First();
}

void TDataSet::SetFilterOptions(TFilterOptions Value)
{
    if (Value == FFilterOptions) return;
    FFilterOptions = Value;
    if (GetActive() && FFiltered) {
        CheckBrowseMode();
        UpdateFilters();
        First();
    }
}

void TDataSet::SetOnFilterRecord(const TFilterRecordEvent& Value)
{
    if (Value == FOnFilterRecord) return;
    FOnFilterRecord = Value;
    if (GetActive() && FFiltered) {
        CheckBrowseMode();
        UpdateFilters();
        First();
    }
}

void TDataSet::UpdateFilters()
{
    if (!FCursor) return;
    bool had = FExprFilter || FRecordFilter;
    if (FExprFilter) FCursor->DropFilter(FExprFilter);
    if (FRecordFilter) FCursor->DropFilter(FRecordFilter);
    FExprFilter = FRecordFilter = 0;
    if (FFiltered && !FFilterText.empty()) {
        auto expr = engine::CompileFilter(FFilterText, FCursor->Table().GetDesc().Fields,
                                          static_cast<engine::TFilterOptions>(FFilterOptions.ToInt()));
        FExprFilter = FCursor->AddFilter(1, expr);
        FCursor->ActivateFilter(FExprFilter);
    }
    if (FFiltered && FOnFilterRecord) {
        // Runs after the expression, so the handler sees only records it accepted.
        FRecordFilter = FCursor->AddFilter(2, [this](const engine::TRecord& Rec) { return FilterRecord(Rec); });
        FCursor->ActivateFilter(FRecordFilter);
    }
    if (had || FExprFilter || FRecordFilter) FCursor->Refresh();
}

bool TDataSet::FilterRecord(const engine::TRecord& Rec)
{
    FFilterBuffer.Rec = Rec;
    FFilterBuffer.Calc.assign(static_cast<size_t>(FCalcFieldCount), TValue());
    if (FCalcFieldCount > 0) CalculateFields(FFilterBuffer);
    TDataSetState saved = FState;
    FState = dsFilter;
    bool accept = true;
    try {
        FOnFilterRecord(this, accept);
    } catch (...) {
        FState = saved;
        throw;
    }
    FState = saved;
    return accept;
}

// ---- searching

namespace {
std::vector<int> FieldNumbers(const std::vector<TField*>& Fields)
{
    std::vector<int> r;
    for (TField* f : Fields) {
        if (f->GetFieldNo() <= 0) DatabaseErrorFmt(DBConsts::SFieldTypeMismatch, {f->GetDisplayName(), "Data", "Calculated"});
        r.push_back(f->GetFieldNo() - 1);
    }
    return r;
}
} // namespace

bool TDataSet::Locate(const std::string& KeyFields, const TVariantArray& KeyValues, TLocateOptions Options)
{
    CheckBrowseMode();
    auto fields = FieldNumbers(GetFieldList(KeyFields));
    if (fields.size() != KeyValues.size()) DatabaseError("Number of key values does not match the key fields");
    std::vector<TValue> values(KeyValues.begin(), KeyValues.end());
    BeforeScroll(this);
    UpdateCursorPos();
    bool found = DbiGuard(
        [&] { return Cursor().Locate(fields, values, static_cast<engine::TLocateOptions>(Options.ToInt())); });
    if (!found) return false;
    FBOF = FEOF = false;
    ResyncAt((FBufferCount - 1) / 2);
    DataEvent(deDataSetChange, 0);
    AfterScroll(this);
    return true;
}

TVariantArray TDataSet::Lookup(const std::string& KeyFields, const TVariantArray& KeyValues,
                               const std::string& ResultFields)
{
    CheckBrowseMode();
    auto fields = FieldNumbers(GetFieldList(KeyFields));
    auto results = GetFieldList(ResultFields);
    if (fields.size() != KeyValues.size()) DatabaseError("Number of key values does not match the key fields");
    std::vector<TValue> values(KeyValues.begin(), KeyValues.end());
    engine::TEngineCursor& c = Cursor();
    // Searched on the cursor and put back, so that the window does not move.
    bool had = c.HasCurrent();
    TBookmark saved = had ? c.GetBookmark() : TBookmark();
    TVariantArray r;
    bool found = DbiGuard([&] { return c.Locate(fields, values); });
    if (found) {
        TRecBuf temp;
        temp.Rec = *DbiGuard([&] { return c.GetRecord(); });
        CalculateFields(temp);
        TDataSetState state = FState;
        TRecBuf* savedBuf = FCalcBuffer;
        FState = dsCalcFields;
        FCalcBuffer = &temp;
        for (TField* f : results) r.push_back(f->GetAsVariant());
        FState = state;
        FCalcBuffer = savedBuf;
    }
    if (had && c.BookmarkValid(saved))
        c.GotoBookmark(saved);
    else
        UpdateCursorPos();
    if (!found) r.assign(results.size(), TVariant());
    return r;
}

} // namespace host
