#pragma once
// Datasets over the engine's tables: the engine-backed dataset, the dataset
// bound to a named database, and TTable.
#include <memory>
#include <string>
#include <vector>

#include "host/db/DB.h"
#include "host/db/DataSource.h"
#include "host/db/engine/Database.h"

namespace host {

class TDatabase;

// The engine database for a database name: a TDatabase of that name when the
// session has one, else a folder path or a database file. Databases opened by
// path are shared while anyone holds them, so their tables take part in one
// transaction.
std::shared_ptr<engine::TEngineDatabase> AcquireEngineDatabase(const std::string& DatabaseName);

// A dataset whose records come from an engine cursor (the Handle).
class TBDEDataSet : public TDataSet {
    HOST_CLASS(TBDEDataSet, TDataSet)
public:
    explicit TBDEDataSet(TComponent* AOwner);
    engine::TEngineCursor* GetHandle() const { return FCursor.get(); }
};

// A dataset of a named database.
class TDBDataSet : public TBDEDataSet {
    HOST_CLASS(TDBDataSet, TBDEDataSet)
public:
    explicit TDBDataSet(TComponent* AOwner);
    const std::string& GetDatabaseName() const { return FDatabaseName; }
    virtual void SetDatabaseName(const std::string& Value);
    const std::string& GetSessionName() const { return FSessionName; }
    void SetSessionName(const std::string& Value);
    // The database component of DatabaseName, when there is one.
    TDatabase* GetDatabase() const;
    // The engine database while open (or opened on demand by table operations).
    engine::TEngineDatabase* GetDBHandle() const { return FDBHandle.get(); }

protected:
    engine::TEngineDatabase& OpenDatabase();
    void CloseDatabase();
    void InternalClose() override;

    std::string FDatabaseName;
    std::string FSessionName;
    std::shared_ptr<engine::TEngineDatabase> FDBHandle;
};

HOST_ENUM(TUpdateMode, upWhereAll, upWhereChanged, upWhereKeyOnly)

class TTable : public TDBDataSet {
    HOST_CLASS(TTable, TDBDataSet)
public:
    explicit TTable(TComponent* AOwner);

    const std::string& GetTableName() const { return FTableName; }
    void SetTableName(const std::string& Value);
    TTableType GetTableType() const { return FTableType; }
    void SetTableType(TTableType Value);
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool GetExclusive() const { return FExclusive; }
    void SetExclusive(bool Value);
    TUpdateMode GetUpdateMode() const { return FUpdateMode; }
    void SetUpdateMode(TUpdateMode Value) { FUpdateMode = Value; }
    bool GetCanModify() const override;

    // ---- indexes
    const std::string& GetIndexName() const { return FIndexName; }
    void SetIndexName(const std::string& Value);
    const std::string& GetIndexFieldNames() const { return FIndexFieldNames; }
    void SetIndexFieldNames(const std::string& Value);
    int GetIndexFieldCount() const;
    TField* GetIndexField(int Index) const;
    TIndexDefs* GetIndexDefs() const { return FIndexDefs.get(); }
    void UpdateIndexDefs() override;
    void GetIndexNames(TStrings* List);
    bool IsIndexField(const TField* Field) const override;

    // ---- keys
    void SetKey();
    void EditKey();
    bool GotoKey();
    void GotoNearest();
    bool FindKey(const TVariantArray& KeyValues);
    void FindNearest(const TVariantArray& KeyValues);
    bool GetKeyExclusive() const;
    void SetKeyExclusive(bool Value);
    int GetKeyFieldCount() const;
    void SetKeyFieldCount(int Value);

    // ---- ranges
    void SetRangeStart();
    void SetRangeEnd();
    void EditRangeStart();
    void EditRangeEnd();
    void ApplyRange();
    void CancelRange();
    void SetRange(const TVariantArray& StartValues, const TVariantArray& EndValues);

    // ---- master/detail
    TDataSource* GetMasterSource() const;
    void SetMasterSource(TDataSource* Value);
    const std::string& GetMasterFields() const { return FMasterFields; }
    void SetMasterFields(const std::string& Value);
    TDataSource* GetDataSource() const override { return GetMasterSource(); }

    // ---- table operations (closed table)
    void CreateTable();
    void DeleteTable();
    void EmptyTable();
    bool Exists();

protected:
    std::unique_ptr<engine::TEngineCursor> CreateCursor() override;
    void OpenCursorComplete() override;
    void InternalClose() override;
    TRecBuf* GetStateBuffer() const override;
    void KeyBufferPost(bool Commit) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Destroy() override;

private:
    // Follows the master's record and re-links the detail records.
    class TMasterLink : public TDataLink {
    public:
        explicit TMasterLink(TTable* ATable) : FTable(ATable) {}
        std::vector<TField*> Fields;

    protected:
        void ActiveChanged() override;
        void CheckBrowseMode() override;
        void LayoutChanged() override { ActiveChanged(); }
        void RecordChanged(TField* Field) override;

    private:
        TTable* FTable;
    };
    enum TKeyIndex { kiLookup, kiRangeStart, kiRangeEnd, kiCurRangeStart, kiCurRangeEnd, kiSave };
    struct TKeyBuffer {
        TRecBuf Buf;
        bool Modified = false;
        bool Exclusive = false;
        int FieldCount = 0;
    };

    void SwitchOrder();
    void CheckSetKeyMode() const;
    void SetKeyBuffer(TKeyIndex Index, bool Clear);
    void ClearKeyBuffer(TKeyBuffer& K);
    std::vector<engine::TValue> KeyValues(const TKeyBuffer& K) const;
    void SetKeyFields(TKeyIndex Index, const TVariantArray& Values);
    bool ApplyKeyRange();
    void MasterChanged();
    void MasterDisabled();
    std::string EngineTableName() const;

    std::string FTableName;
    TTableType FTableType = ttDefault;
    bool FReadOnly = false;
    bool FExclusive = false;
    TUpdateMode FUpdateMode = upWhereAll;
    std::string FIndexName, FIndexFieldNames;
    std::unique_ptr<TIndexDefs> FIndexDefs;
    TKeyBuffer FKeys[6];
    TKeyIndex FKeyIndex = kiLookup;
    std::unique_ptr<TMasterLink> FMasterLink;
    std::string FMasterFields;
};

} // namespace host
