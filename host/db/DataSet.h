#pragma once
// TDataSet: the state machine, navigation, editing and field list of a
// dataset over an engine cursor, and the notification of its data sources.
//
// The dataset keeps a window of record buffers around the current record,
// as many as the largest BufferCount of its data links ask for; links with
// a window of several records (grids) read them by setting ActiveRecord.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/db/DBBase.h"
#include "host/db/Fields.h"
#include "host/rtl/Strings.h"
#include "host/vcl/Classes.h"

namespace host {

class TDataSource;
class TDataLink;

using TDataSetNotifyEvent = TEvent<void(TDataSet* DataSet)>;
using TFilterRecordEvent = TEvent<void(TDataSet* DataSet, bool& Accept)>;
// What to do after a failed post, edit or delete: raise the error, end
// silently, or try again.
HOST_ENUM(TDataAction, daFail, daAbort, daRetry)
using TDataSetErrorEvent = TEvent<void(TDataSet* DataSet, EDatabaseError* E, TDataAction& Action)>;

// A record buffer: the stored values and those of calculated and lookup fields.
struct TRecBuf {
    engine::TRecord Rec;
    std::vector<engine::TValue> Calc;
};

// The fields of a dataset, in display order.
class TFields {
public:
    explicit TFields(TDataSet* ADataSet) : FDataSet(ADataSet) {}
    int GetCount() const { return static_cast<int>(FList.size()); }
    TField* GetField(int Index) const;
    TField* operator[](int Index) const { return GetField(Index); }
    TField* FindField(const std::string& FieldName) const;
    TField* FieldByName(const std::string& FieldName) const;
    int IndexOf(const TField* Field) const;
    void Add(TField* Field);
    void Remove(TField* Field);
    void Move(int CurIndex, int NewIndex);
    void Clear() { FList.clear(); }
    void GetFieldNames(TStrings* List) const;

private:
    TDataSet* FDataSet;
    std::vector<TField*> FList;
};

class TDataSet : public TComponent {
    HOST_CLASS(TDataSet, TComponent)
public:
    explicit TDataSet(TComponent* AOwner);

    // ---- opening and state
    bool GetActive() const { return FState != dsInactive; }
    void SetActive(bool Value);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    TDataSetState GetState() const { return FState; }
    bool GetModified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    virtual bool GetCanModify() const;
    bool CanModify() const { return GetCanModify(); }
    void CheckActive() const;
    void CheckInactive() const;

    // ---- navigation
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Moves up to Distance records, stopping at either end; returns the distance moved.
    int MoveBy(int Distance);
    bool GetBOF() const { return FBOF; }
    bool GetEOF() const { return FEOF; }
    bool IsEmpty() const;
    int64_t GetRecordCount() const;
    // 1-based number of the current record; -1 when there is none.
    int64_t GetRecNo() const;
    void SetRecNo(int64_t Value);

    // ---- bookmarks
    TBookmark GetBookmark() const;
    void GotoBookmark(const TBookmark& Bookmark);
    void FreeBookmark(TBookmark& Bookmark) { Bookmark = {}; }
    bool BookmarkValid(const TBookmark& Bookmark) const;
    int CompareBookmarks(const TBookmark& A, const TBookmark& B) const;

    // ---- editing
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    // Append or Insert, the fields set in order from Values, then Post.
    void AppendRecord(const TVariantArray& Values);
    void InsertRecord(const TVariantArray& Values);
    void Delete();
    void CheckBrowseMode();
    // Asks the data links to write their pending edits into the record.
    void UpdateRecord();
    void Refresh();
    // Re-reads the record window around the current record.
    void Resync();
    // Puts the engine cursor back on the active record (after a link changed ActiveRecord).
    void UpdateCursorPos();
    // Tells the dataset that the engine cursor was moved behind its back.
    void CursorPosChanged();
    void ClearFields();

    // ---- data-aware controls
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount != 0; }
    // Whether DataSource leads back to this dataset through master sources.
    bool IsLinkedTo(const TDataSource* DataSource) const;
    // The data source this dataset takes values from (a master), if any.
    virtual TDataSource* GetDataSource() const { return nullptr; }

    // ---- fields
    TFields* GetFields() const { return FFields.get(); }
    TField* GetField(int Index) const { return FFields->GetField(Index); }
    int GetFieldCount() const { return FFields->GetCount(); }
    TField* FindField(const std::string& FieldName) const { return FFields->FindField(FieldName); }
    // Raises EDatabaseError "Field '%s' not found".
    TField* FieldByName(const std::string& FieldName) const { return FFields->FieldByName(FieldName); }
    void GetFieldNames(TStrings* List) const { FFields->GetFieldNames(List); }
    // Fields named in a ';'-separated list; raises for unknown names.
    std::vector<TField*> GetFieldList(const std::string& FieldNames) const;
    TFieldDefs* GetFieldDefs() const { return FFieldDefs.get(); }
    // Reads the field definitions from the underlying table.
    virtual void UpdateFieldDefs();
    virtual void UpdateIndexDefs() {}
    // Whether the fields were made from the field definitions at open time.
    bool GetDefaultFields() const { return FDefaultFields; }
    virtual bool IsIndexField(const TField* Field) const;
    bool GetAutoCalcFields() const { return FAutoCalcFields; }
    void SetAutoCalcFields(bool Value) { FAutoCalcFields = Value; }

    // ---- filters and searching
    const std::string& GetFilter() const { return FFilterText; }
    void SetFilter(const std::string& Value);
    bool GetFiltered() const { return FFiltered; }
    void SetFiltered(bool Value);
    TFilterOptions GetFilterOptions() const { return FFilterOptions; }
    void SetFilterOptions(TFilterOptions Value);
    TFilterRecordEvent GetOnFilterRecord() const { return FOnFilterRecord; }
    void SetOnFilterRecord(const TFilterRecordEvent& Value);
    bool Locate(const std::string& KeyFields, const TVariantArray& KeyValues, TLocateOptions Options = {});
    // The ResultFields of the record whose KeyFields equal KeyValues, without
    // moving; null when there is none. Several result fields give an array.
    TVariantArray Lookup(const std::string& KeyFields, const TVariantArray& KeyValues, const std::string& ResultFields);

    // ---- record buffers (for data links and fields)
    int GetBufferCount() const { return FBufferCount; }
    int GetActiveRecord() const { return FActiveRecord; }
    // Number of filled buffers of the window.
    int GetBufferRecordCount() const { return FRecordCount; }
    void SetActiveRecord(int Value);
    // The buffer field values are read from and written to in the current state.
    TRecBuf* CurrentBuffer() const;
    bool GetFieldData(const TField* Field, engine::TValue& Value) const;
    void SetFieldData(TField* Field, const engine::TValue& Value);

    // Every open dataset, for routines that flush or examine them all.
    static const std::vector<TDataSet*>& OpenDataSets();

    // The engine cursor while open (nullptr when closed).
    engine::TEngineCursor* GetCursor() const { return FCursor.get(); }

    // ---- events
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent OnNewRecord, OnCalcFields;
    TDataSetErrorEvent OnPostError, OnEditError, OnDeleteError;

    // ---- framework internals
    void DataEvent(TDataEvent Event, intptr_t Info);
    void AddDataSource(TDataSource* DataSource);
    void RemoveDataSource(TDataSource* DataSource);
    void UpdateBufferCount();
    void AddField(TField* Field);
    void RemoveField(TField* Field);

protected:
    void Destroy() override;
    void Loaded() override;

    // What descendants supply: the cursor and the field definitions.
    virtual std::unique_ptr<engine::TEngineCursor> CreateCursor() = 0;
    virtual void InternalClose() {}
    virtual void InternalPost();
    virtual void InternalDelete();
    virtual void InternalInitRecord(TRecBuf& Buf);
    // A buffer for states whose values live outside the record window (dsSetKey).
    virtual TRecBuf* GetStateBuffer() const { return nullptr; }
    // Ends (Commit) or abandons the dsSetKey state of keyed datasets.
    virtual void KeyBufferPost(bool Commit) { (void)Commit; }
    // Called after the cursor has been opened and the fields bound.
    virtual void OpenCursorComplete() {}
    virtual void CheckRequiredFields();
    void SetState(TDataSetState Value);
    void CreateFields();
    void BindFields(bool Binding);
    void DestroyFields();
    void CalculateFields(TRecBuf& Buf);
    // Re-applies filter settings to an open cursor.
    void UpdateFilters();
    // Fills the window so that the cursor's record is buffer Active.
    void FillWindow(int64_t Top);
    void ResyncAt(int PreferredActive);
    void ClearBuffers();
    int64_t CursorPos() const;
    engine::TEngineCursor& Cursor() const;
    [[noreturn]] void RaiseNotEditing() const;
    // Runs a write, letting Handler decide about a database error (fail, abort or retry).
    void RunWithErrorEvent(const TDataSetErrorEvent& Handler, const std::function<void()>& Action);
    // Refuses moves backwards on a forward-only dataset.
    void CheckBiDirectional() const;

    std::unique_ptr<engine::TEngineCursor> FCursor;
    std::unique_ptr<TFields> FFields;
    std::unique_ptr<TFieldDefs> FFieldDefs;
    std::vector<TDataSource*> FDataSources;
    TDataSetState FState = dsInactive;
    bool FModified = false;
    bool FBOF = true, FEOF = true;
    bool FDefaultFields = false;
    bool FAutoCalcFields = true;
    bool FStreamedActive = false;
    // Forward-only: no moves backwards once the first record has been left.
    bool FUniDirectional = false;
    int FDisableCount = 0;
    TDataSetState FDisableState = dsInactive;
    TDataEvent FEnableEvent = deDataSetChange;
    int FCalcFieldCount = 0;

    // The window: FBuffers[0 .. FRecordCount-1] hold the records at cursor
    // positions FWindowTop..; in dsInsert the new record is one more buffer.
    std::vector<TRecBuf> FBuffers;
    int FBufferCount = 1;
    int FRecordCount = 0;
    int FActiveRecord = 0;
    int64_t FWindowTop = 0;
    // For states that read other buffers.
    TRecBuf* FCalcBuffer = nullptr;
    TRecBuf FFilterBuffer;
    TDataSetState FSavedState = dsInactive;

    std::string FFilterText;
    bool FFiltered = false;
    TFilterOptions FFilterOptions;
    TFilterRecordEvent FOnFilterRecord;
    engine::TFilterHandle FExprFilter = 0, FRecordFilter = 0;

private:
    void DoOpen();
    void OpenCursor();
    void DoClose();
    void BeginInsertAppend();
    void SetFieldsAndPost(const TVariantArray& Values);
    void EndInsertAppend();
    void InsertBuffer(int At);
    bool FilterRecord(const engine::TRecord& Rec);
    void NotifyScroll(int64_t OldTop);
    void ReadRecordInto(int64_t Position, TRecBuf& Buf);
    friend class TField;
};

} // namespace host
