#pragma once
// Keyset cursors: the ordered row identifiers of a table's current index, range,
// master link and active filters, built by one sequential scan; records are
// fetched by row identifier on demand through a small cache.
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/db/engine/FilterExpr.h"
#include "host/db/engine/Table.h"

namespace host::engine {

// A stable reference to a record: its row identifier and the table it belongs to.
struct TBookmark {
    int64_t RowId = 0;
    uint64_t TableStamp = 0;
    bool IsNull() const { return TableStamp == 0; }
    bool operator==(const TBookmark&) const = default;
};

// One end of a range: values for the first Values.size() fields of the current
// order. A text value ending in #255 stands for every text with the part before
// it as prefix.
struct TKeyBound {
    std::vector<TValue> Values;
    bool Exclusive = false;
};

enum class TSeqNumKind : int { None = -1, PhysicalRecNo = 0, SeqNo = 1 };

using TFilterHandle = uint32_t;
// Returns true to keep the record. ClientData is handed back unchanged.
using TRecordCallback = std::function<bool(const TRecord& Rec)>;

enum TLocateOption : uint8_t { loCaseInsensitive, loPartialKey };
using TLocateOptions = uint32_t;
constexpr TLocateOptions LocateOpt(TLocateOption O) { return 1u << O; }

// What the Dbi cursor-properties call reports.
struct TCursorProps {
    std::string TableName;
    TTableType TableType = ttDefault;
    int FieldCount = 0;
    int KeyFieldCount = 0; // fields of the current order; 0 in physical order
    int IndexCount = 0;
    int IndexNo = -1;      // the current index, -1 for none
    TSeqNumKind SeqNums = TSeqNumKind::None;
    bool ReadOnly = false;
    int64_t RecordCount = 0;
    int Filters = 0;
};

class TEngineCursor {
public:
    explicit TEngineCursor(std::shared_ptr<TEngineTable> Table, const std::string& IndexName = {});
    ~TEngineCursor();

    TEngineTable& Table() const { return *FTable; }
    TCursorProps GetCursorProps() const;
    // Makes sure the cursor's changes are stored.
    void SaveChanges();
    const std::shared_ptr<TEngineTable>& SharedTable() const { return FTable; }

    // Current order.
    void SwitchToIndex(const std::string& IndexName);
    void SwitchToFieldNames(const std::string& Fields);
    void SwitchToPhysicalOrder();
    const TOrder& GetOrder() const { return FOrder; }
    int GetKeyFieldCount() const { return static_cast<int>(FOrder.Parts.size()); }

    // Navigation with the dataset's BOF/EOF flags: First sets BOF, Last sets EOF,
    // Next at the last record and Prior at the first set the flag and stay.
    void First();
    void Last();
    bool Next();
    bool Prior();
    // Moves up to Distance records, stopping at either end; returns the distance moved.
    int MoveBy(int Distance);
    bool GetBOF() const { return FBOF; }
    bool GetEOF() const { return FEOF; }
    bool IsEmpty() const { return FKeys.empty(); }
    int64_t GetRecordCount() const { return static_cast<int64_t>(FKeys.size()); }
    // Puts the cursor on the crack before the first / after the last record.
    void SetToBegin();
    void SetToEnd();
    bool HasCurrent() const { return FPos >= 0 && FPos < static_cast<int64_t>(FKeys.size()); }
    // 0-based position in the keyset; -1 before the first, RecordCount after the last.
    int64_t GetPosition() const { return FPos; }

    // The current record; raises when there is none or it has gone.
    std::shared_ptr<const TRecord> GetRecord();
    // The current record read again from the store, not from the cache.
    std::shared_ptr<const TRecord> ReadRecord();
    // The record at 0-based Position of the current order.
    std::shared_ptr<const TRecord> GetRecordAt(int64_t Position);
    int64_t GetRowId() const;

    // Record numbers: the 1-based position in the current order (tables with
    // sequence numbers) and the physical number (insertion order).
    TSeqNumKind GetSeqNumKind() const;
    int64_t GetSeqNo() const;
    void SetSeqNo(int64_t SeqNo);
    int64_t GetPhysRecNo() const;

    TBookmark GetBookmark() const;
    void GotoBookmark(const TBookmark& Bookmark);
    bool BookmarkValid(const TBookmark& Bookmark) const;
    // Orders two bookmarks by their position in the current order (-1, 0, 1).
    int CompareBookmarks(const TBookmark& A, const TBookmark& B) const;

    // Ranges on the current index.
    void SetRange(const std::optional<TKeyBound>& Low, const std::optional<TKeyBound>& High);
    void CancelRange();
    bool HasRange() const { return FLow || FHigh; }

    // Master/detail: only records whose Fields equal Values.
    void SetLink(const std::vector<int>& Fields, const std::vector<TValue>& Values);
    void CancelLink();

    // Key search on the current index: Values for the first Values.size() key
    // fields; with PartialLast the last value matches as a text prefix.
    bool FindKey(const std::vector<TValue>& Values, bool PartialLast = false);
    // Goes to the first record whose key is at or after Values (the last record when none is).
    void GotoNearest(const std::vector<TValue>& Values, bool PartialLast = false);
    bool Locate(const std::vector<int>& Fields, const std::vector<TValue>& Values, TLocateOptions Options = 0);

    // Filters run in ascending priority order (equal priorities in the order added).
    TFilterHandle AddFilter(uint16_t Priority, const TFilterExpr& Expr);
    TFilterHandle AddFilter(uint16_t Priority, TRecordCallback Callback);
    void ActivateFilter(TFilterHandle Handle);
    void DeactivateFilter(TFilterHandle Handle);
    void DropFilter(TFilterHandle Handle);
    bool HasActiveFilters() const;

    // Re-reads the keyset and the records; stays on the same record when it still exists.
    void Refresh();

    // Edits, written through at once. The inserted or modified record takes its
    // place in the current order and becomes current when it belongs to the
    // cursor's view; a deleted one leaves it, and the cursor moves to the next.
    int64_t InsertRecord(const TRecord& Rec);
    void ModifyRecord(const TRecord& Rec);
    void DeleteRecord();

    // The record cache size (records).
    static constexpr size_t CacheSize = 64;

private:
    struct TFilter {
        TFilterHandle Handle;
        uint16_t Priority;
        bool Active = false;
        std::optional<TFilterExpr> Expr;
        TRecordCallback Callback;
    };

    void Rebuild();
    void RebuildTwoPass();
    // Physical: in row identifier order, without the range conditions.
    std::string ScanSql(bool WithKeys, bool WithFields, bool Physical, std::vector<TValue>& Params) const;
    bool PassesFilters(const TRowAccess& Row, const TRecord* Rec, const TSqlStatement* St, int Offset,
                       TRecord& Scratch) const;
    bool InRange(const std::vector<TValue>& Key) const;
    bool PassesLink(const TRecord& Rec) const;
    bool BelongsToView(int64_t RowId);
    // Position at which a row with Key and RowId belongs.
    int64_t InsertPosition(const std::vector<TValue>& Key, int64_t RowId) const;
    // First position whose key is at or after Values.
    int64_t LowerBound(const std::vector<TValue>& Values, bool PartialLast) const;
    int CompareKeyPrefix(const std::vector<TValue>& Key, const std::vector<TValue>& Values, bool PartialLast) const;
    std::vector<TValue> KeyAt(int64_t Position) const;
    int64_t PositionOf(int64_t RowId) const;
    void Place(int64_t Position);
    void RequireOrder() const;
    TFilter& FindFilter(TFilterHandle Handle);
    bool LocateInView(const std::vector<int>& Fields, const std::vector<TValue>& Values, TLocateOptions Options);
    void Invalidate(int64_t RowId);
    void ClearCache();

    std::shared_ptr<TEngineTable> FTable;
    TOrder FOrder;
    std::vector<int64_t> FKeys;
    // Keys sampled at every FenceStep-th position of the keyset, for key search.
    static constexpr size_t FenceStep = 64;
    std::vector<std::vector<TValue>> FFences;
    bool FFencesValid = false;
    int64_t FPos = -1;
    bool FBOF = true, FEOF = true;
    std::optional<TKeyBound> FLow, FHigh;
    std::vector<int> FLinkFields;
    std::vector<TValue> FLinkValues;
    bool FLinked = false;
    std::vector<TFilter> FFilters;
    TFilterHandle FNextHandle = 1;

    using TCacheList = std::list<std::pair<int64_t, std::shared_ptr<const TRecord>>>;
    TCacheList FCacheList;
    std::unordered_map<int64_t, TCacheList::iterator> FCacheMap;
};

} // namespace host::engine
