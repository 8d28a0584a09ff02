#include "host/db/engine/Cursor.h"

#include <algorithm>

#include "host/db/engine/EngineError.h"
#include "host/db/engine/EngineInfo.h"

namespace host::engine {

TEngineCursor::TEngineCursor(std::shared_ptr<TEngineTable> Table, const std::string& IndexName)
    : FTable(std::move(Table))
{
    if (!FTable) RaiseEngineError(DBIERR_INVALIDHNDL, "no table");
    FOrder = FTable->OrderForIndexName(IndexName);
    Rebuild();
    SetToBegin();
    ++EngineCounters().Cursors;
}

TEngineCursor::~TEngineCursor() { --EngineCounters().Cursors; }

TCursorProps TEngineCursor::GetCursorProps() const
{
    TCursorProps p;
    p.TableName = FTable->GetName();
    p.TableType = FTable->GetTableType();
    p.FieldCount = FTable->GetFieldCount();
    p.KeyFieldCount = static_cast<int>(FOrder.Parts.size());
    p.IndexCount = static_cast<int>(FTable->GetDesc().Indexes.size());
    p.IndexNo = FOrder.IndexNo;
    p.SeqNums = GetSeqNumKind();
    p.ReadOnly = FTable->GetReadOnly();
    p.RecordCount = GetRecordCount();
    p.Filters = static_cast<int>(FFilters.size());
    return p;
}

void TEngineCursor::SaveChanges()
{
    // Every edit is written through when it is made (or held by the database's
    // explicit transaction), so there is no buffered change to flush; a table
    // that has gone away is still reported.
    (void)FTable->GetRecordCount();
}

void TEngineCursor::SwitchToIndex(const std::string& IndexName)
{
    TOrder o = FTable->OrderForIndexName(IndexName);
    int64_t keep = HasCurrent() ? FKeys[FPos] : 0;
    FOrder = std::move(o);
    FLow.reset();
    FHigh.reset();
    Rebuild();
    int64_t p = keep ? PositionOf(keep) : -1;
    if (p >= 0) Place(p);
    else SetToBegin();
}

void TEngineCursor::SwitchToFieldNames(const std::string& Fields)
{
    int64_t keep = HasCurrent() ? FKeys[FPos] : 0;
    FOrder = FTable->OrderForFieldNames(Fields);
    FLow.reset();
    FHigh.reset();
    Rebuild();
    int64_t p = keep ? PositionOf(keep) : -1;
    if (p >= 0) Place(p);
    else SetToBegin();
}

void TEngineCursor::SwitchToPhysicalOrder()
{
    int64_t keep = HasCurrent() ? FKeys[FPos] : 0;
    FOrder = FTable->PhysicalOrder();
    FLow.reset();
    FHigh.reset();
    Rebuild();
    int64_t p = keep ? PositionOf(keep) : -1;
    if (p >= 0) Place(p);
    else SetToBegin();
}

// ---- navigation

void TEngineCursor::Place(int64_t Position)
{
    int64_t n = static_cast<int64_t>(FKeys.size());
    if (n == 0) {
        FPos = -1;
        FBOF = FEOF = true;
        return;
    }
    FPos = std::clamp<int64_t>(Position, 0, n - 1);
    FBOF = FEOF = false;
}

void TEngineCursor::First()
{
    Place(0);
    FBOF = true;
}

void TEngineCursor::Last()
{
    Place(static_cast<int64_t>(FKeys.size()) - 1);
    FEOF = true;
}

bool TEngineCursor::Next() { return MoveBy(1) == 1; }

bool TEngineCursor::Prior() { return MoveBy(-1) == -1; }

int TEngineCursor::MoveBy(int Distance)
{
    int64_t n = static_cast<int64_t>(FKeys.size());
    if (n == 0) {
        Place(0);
        return 0;
    }
    if (Distance == 0) return 0;
    // From a crack the first step lands on the nearest record.
    int64_t from = FPos < 0 ? -1 : (FPos >= n ? n : FPos);
    int64_t target = from + Distance;
    int moved;
    if (target >= n) {
        int64_t to = n - 1;
        moved = static_cast<int>(to - from);
        Place(to);
        FEOF = true;
    } else if (target < 0) {
        moved = static_cast<int>(0 - from);
        Place(0);
        FBOF = true;
    } else {
        moved = Distance;
        Place(target);
    }
    // Stepping off a crack away from the records moves nowhere.
    if ((Distance > 0 && moved < 0) || (Distance < 0 && moved > 0)) moved = 0;
    return moved;
}

void TEngineCursor::SetToBegin()
{
    FPos = -1;
    FBOF = true;
    FEOF = FKeys.empty();
}

void TEngineCursor::SetToEnd()
{
    FPos = static_cast<int64_t>(FKeys.size());
    FEOF = true;
    FBOF = FKeys.empty();
}

int64_t TEngineCursor::GetRowId() const
{
    if (!HasCurrent()) RaiseEngineError(FPos < 0 ? DBIERR_BOF : DBIERR_EOF);
    return FKeys[FPos];
}

std::shared_ptr<const TRecord> TEngineCursor::GetRecord()
{
    if (!HasCurrent()) RaiseEngineError(FKeys.empty() || FPos >= 0 ? DBIERR_EOF : DBIERR_BOF);
    return GetRecordAt(FPos);
}

std::shared_ptr<const TRecord> TEngineCursor::ReadRecord()
{
    Invalidate(GetRowId());
    return GetRecord();
}

std::shared_ptr<const TRecord> TEngineCursor::GetRecordAt(int64_t Position)
{
    if (Position < 0 || Position >= static_cast<int64_t>(FKeys.size())) RaiseEngineError(DBIERR_INVALIDPARAM, "position");
    int64_t rowid = FKeys[Position];
    auto it = FCacheMap.find(rowid);
    if (it != FCacheMap.end()) {
        FCacheList.splice(FCacheList.begin(), FCacheList, it->second);
        return it->second->second;
    }
    auto rec = std::make_shared<TRecord>();
    if (!FTable->FetchRecord(rowid, *rec)) RaiseEngineError(DBIERR_RECNOTFOUND, "the record was deleted by another user");
    FCacheList.emplace_front(rowid, rec);
    FCacheMap[rowid] = FCacheList.begin();
    if (FCacheList.size() > CacheSize) {
        FCacheMap.erase(FCacheList.back().first);
        FCacheList.pop_back();
    }
    return rec;
}

void TEngineCursor::Invalidate(int64_t RowId)
{
    auto it = FCacheMap.find(RowId);
    if (it == FCacheMap.end()) return;
    FCacheList.erase(it->second);
    FCacheMap.erase(it);
}

void TEngineCursor::ClearCache()
{
    FCacheList.clear();
    FCacheMap.clear();
}

// ---- record numbers and bookmarks

TSeqNumKind TEngineCursor::GetSeqNumKind() const
{
    switch (FTable->GetTableType()) {
    case ttDBase: return TSeqNumKind::PhysicalRecNo;
    case ttParadox: return TSeqNumKind::SeqNo;
    default: return TSeqNumKind::None;
    }
}

int64_t TEngineCursor::GetSeqNo() const
{
    if (!HasCurrent()) RaiseEngineError(FPos < 0 ? DBIERR_BOF : DBIERR_EOF);
    return FPos + 1;
}

void TEngineCursor::SetSeqNo(int64_t SeqNo)
{
    if (SeqNo < 1 || SeqNo > static_cast<int64_t>(FKeys.size())) RaiseEngineError(DBIERR_INVALIDPARAM, "sequence number");
    Place(SeqNo - 1);
}

int64_t TEngineCursor::GetPhysRecNo() const { return GetRowId(); }

TBookmark TEngineCursor::GetBookmark() const { return {GetRowId(), FTable->GetStamp()}; }

int64_t TEngineCursor::PositionOf(int64_t RowId) const
{
    auto it = std::find(FKeys.begin(), FKeys.end(), RowId);
    return it == FKeys.end() ? -1 : it - FKeys.begin();
}

bool TEngineCursor::BookmarkValid(const TBookmark& Bookmark) const
{
    return !Bookmark.IsNull() && Bookmark.TableStamp == FTable->GetStamp() && PositionOf(Bookmark.RowId) >= 0;
}

void TEngineCursor::GotoBookmark(const TBookmark& Bookmark)
{
    if (Bookmark.IsNull() || Bookmark.TableStamp != FTable->GetStamp()) RaiseEngineError(DBIERR_INVALIDBOOKMARK);
    int64_t p = PositionOf(Bookmark.RowId);
    if (p < 0) RaiseEngineError(DBIERR_RECNOTFOUND, "the bookmarked record is not in the view");
    Place(p);
}

int TEngineCursor::CompareBookmarks(const TBookmark& A, const TBookmark& B) const
{
    if (A.IsNull() || B.IsNull()) return A.IsNull() == B.IsNull() ? 0 : (A.IsNull() ? -1 : 1);
    if (A.TableStamp != FTable->GetStamp() || B.TableStamp != FTable->GetStamp()) RaiseEngineError(DBIERR_INVALIDBOOKMARK);
    if (A.RowId == B.RowId) return 0;
    int64_t pa = PositionOf(A.RowId), pb = PositionOf(B.RowId);
    if (pa < 0 || pb < 0) return A.RowId < B.RowId ? -1 : 1;
    return pa < pb ? -1 : 1;
}

// ---- keyset

void TEngineCursor::Refresh()
{
    int64_t keep = HasCurrent() ? FKeys[FPos] : 0;
    int64_t oldPos = FPos;
    bool bof = FBOF, eof = FEOF;
    ClearCache();
    Rebuild();
    int64_t p = keep ? PositionOf(keep) : -1;
    if (p >= 0) {
        Place(p);
        return;
    }
    if (oldPos < 0 || FKeys.empty()) {
        SetToBegin();
        return;
    }
    Place(oldPos);
    FBOF = bof && FPos == 0;
    FEOF = eof && FPos == static_cast<int64_t>(FKeys.size()) - 1;
}

std::vector<TValue> TEngineCursor::KeyAt(int64_t Position) const
{
    std::vector<TValue> key;
    if (!FTable->FetchKey(FKeys[Position], FOrder, key)) key.assign(FOrder.Parts.size(), TValue());
    return key;
}

int64_t TEngineCursor::InsertPosition(const std::vector<TValue>& Key, int64_t RowId) const
{
    int64_t lo = 0, hi = static_cast<int64_t>(FKeys.size());
    while (lo < hi) {
        int64_t mid = lo + (hi - lo) / 2;
        int c = FOrder.IsPhysical() ? 0 : CompareKeys(FOrder, KeyAt(mid), Key, FOrder.Parts.size());
        if (c == 0) c = FKeys[mid] < RowId ? -1 : (FKeys[mid] > RowId ? 1 : 0);
        if (c < 0) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

void TEngineCursor::RequireOrder() const
{
    if (FOrder.IsPhysical()) RaiseEngineError(DBIERR_NOSUCHINDEX, "the cursor has no current index");
}

} // namespace host::engine
