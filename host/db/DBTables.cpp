#include "host/db/DBTables.h"

#include <map>

#include "host/db/DBConsts.h"
#include "host/db/Database.h"
#include "host/db/Session.h"

namespace host {

// ---- engine databases by name

std::shared_ptr<engine::TEngineDatabase> AcquireEngineDatabase(const std::string& DatabaseName)
{
    if (DatabaseName.empty()) DatabaseError(DBConsts::SDatabaseNameMissing);
    if (TDatabase* d = TDatabase::Find(DatabaseName)) return d->GetHandle();
    static std::map<std::string, std::weak_ptr<engine::TEngineDatabase>> open;
    std::string path = Session()->ResolvePath(DatabaseName);
    if (auto db = open[path].lock()) return db;
    std::shared_ptr<engine::TEngineDatabase> db = DbiGuard([&] { return engine::TEngineDatabase::Open(path); });
    open[path] = db;
    return db;
}

// ---- TBDEDataSet / TDBDataSet

TBDEDataSet::TBDEDataSet(TComponent* AOwner) : TDataSet(AOwner) {}

TDBDataSet::TDBDataSet(TComponent* AOwner) : TBDEDataSet(AOwner) {}

void TDBDataSet::SetDatabaseName(const std::string& Value)
{
    if (Value == FDatabaseName) return;
    CheckInactive();
    FDatabaseName = Value;
    FDBHandle.reset();
}

void TDBDataSet::SetSessionName(const std::string& Value)
{
    if (Value == FSessionName) return;
    CheckInactive();
    FSessionName = Value;
}

TDatabase* TDBDataSet::GetDatabase() const { return TDatabase::Find(FDatabaseName); }

engine::TEngineDatabase& TDBDataSet::OpenDatabase()
{
    if (!FDBHandle) FDBHandle = AcquireEngineDatabase(FDatabaseName);
    return *FDBHandle;
}

void TDBDataSet::CloseDatabase() { FDBHandle.reset(); }

void TDBDataSet::InternalClose()
{
    CloseDatabase();
    TDatabase* d = GetDatabase();
    if (d && d->GetConnected() && !d->GetKeepConnection() && d->GetDataSetCount() == 0) d->Close();
}

HOST_PUBLISHED(TDataSet)
{
    P.Property("Active", &TDataSet::GetActive, &TDataSet::SetActive).Default(false);
    P.Property("AutoCalcFields", &TDataSet::GetAutoCalcFields, &TDataSet::SetAutoCalcFields).Default(true);
    P.Property("Filter", &TDataSet::GetFilter, &TDataSet::SetFilter);
    P.Property("Filtered", &TDataSet::GetFiltered, &TDataSet::SetFiltered).Default(false);
    P.Property("FilterOptions", &TDataSet::GetFilterOptions, &TDataSet::SetFilterOptions).Default(TFilterOptions());
    P.Property("BeforeOpen", &TDataSet::BeforeOpen);
    P.Property("AfterOpen", &TDataSet::AfterOpen);
    P.Property("BeforeClose", &TDataSet::BeforeClose);
    P.Property("AfterClose", &TDataSet::AfterClose);
    P.Property("BeforeInsert", &TDataSet::BeforeInsert);
    P.Property("AfterInsert", &TDataSet::AfterInsert);
    P.Property("BeforeEdit", &TDataSet::BeforeEdit);
    P.Property("AfterEdit", &TDataSet::AfterEdit);
    P.Property("BeforePost", &TDataSet::BeforePost);
    P.Property("AfterPost", &TDataSet::AfterPost);
    P.Property("BeforeCancel", &TDataSet::BeforeCancel);
    P.Property("AfterCancel", &TDataSet::AfterCancel);
    P.Property("BeforeDelete", &TDataSet::BeforeDelete);
    P.Property("AfterDelete", &TDataSet::AfterDelete);
    P.Property("BeforeScroll", &TDataSet::BeforeScroll);
    P.Property("AfterScroll", &TDataSet::AfterScroll);
    P.Property("OnCalcFields", &TDataSet::OnCalcFields);
    P.Property("OnFilterRecord", &TDataSet::GetOnFilterRecord, &TDataSet::SetOnFilterRecord);
    P.Property("OnNewRecord", &TDataSet::OnNewRecord);
    P.Property("OnPostError", &TDataSet::OnPostError);
    P.Property("OnEditError", &TDataSet::OnEditError);
    P.Property("OnDeleteError", &TDataSet::OnDeleteError);
}

HOST_PUBLISHED(TDBDataSet)
{
    P.Property("DatabaseName", &TDBDataSet::GetDatabaseName, &TDBDataSet::SetDatabaseName);
    P.Property("SessionName", &TDBDataSet::GetSessionName, &TDBDataSet::SetSessionName);
}

// ---- TTable

TTable::TTable(TComponent* AOwner) : TDBDataSet(AOwner), FIndexDefs(std::make_unique<TIndexDefs>(this)) {}

std::string TTable::EngineTableName() const
{
    if (FTableName.empty()) DatabaseError(DBConsts::SNoTableName);
    return FTableName;
}

std::unique_ptr<engine::TEngineCursor> TTable::CreateCursor()
{
    std::string name = EngineTableName();
    engine::TEngineDatabase& db = OpenDatabase();
    auto table = db.OpenTable(name, FTableType, FReadOnly, FExclusive);
    auto cursor = std::make_unique<engine::TEngineCursor>(table, FIndexFieldNames.empty() ? FIndexName : std::string());
    if (!FIndexFieldNames.empty()) cursor->SwitchToFieldNames(FIndexFieldNames);
    return cursor;
}

void TTable::InternalClose() { TDBDataSet::InternalClose(); }

bool TTable::GetCanModify() const { return !FReadOnly && TDBDataSet::GetCanModify(); }

void TTable::SetTableName(const std::string& Value)
{
    if (Value == FTableName) return;
    CheckInactive();
    FTableName = Value;
}

void TTable::SetTableType(TTableType Value)
{
    if (Value == FTableType) return;
    CheckInactive();
    FTableType = Value;
}

void TTable::SetReadOnly(bool Value)
{
    if (Value == FReadOnly) return;
    CheckInactive();
    FReadOnly = Value;
}

void TTable::SetExclusive(bool Value)
{
    if (Value == FExclusive) return;
    CheckInactive();
    FExclusive = Value;
}

void TTable::UpdateIndexDefs()
{
    if (FCursor) {
        FIndexDefs->Assign(FCursor->Table().GetDesc().Indexes);
        return;
    }
    engine::TEngineDatabase& db = OpenDatabase();
    auto table = DbiGuard([&] { return db.OpenTable(EngineTableName(), FTableType, true); });
    FIndexDefs->Assign(table->GetDesc().Indexes);
}

void TTable::GetIndexNames(TStrings* List)
{
    UpdateIndexDefs();
    List->BeginUpdate();
    List->Clear();
    for (int i = 0; i < FIndexDefs->GetCount(); ++i)
        if (!FIndexDefs->GetItem(i)->GetName().empty()) List->Add(FIndexDefs->GetItem(i)->GetName());
    List->EndUpdate();
}

void TTable::SwitchOrder()
{
    if (!GetActive()) return;
    CheckBrowseMode();
    DbiGuard([&] {
        if (!FIndexFieldNames.empty())
            FCursor->SwitchToFieldNames(FIndexFieldNames);
        else
            FCursor->SwitchToIndex(FIndexName);
    });
    for (auto& k : FKeys) ClearKeyBuffer(k);
    Resync();
}

void TTable::SetIndexName(const std::string& Value)
{
    if (Value == FIndexName && FIndexFieldNames.empty()) return;
    FIndexName = Value;
    FIndexFieldNames.clear();
    SwitchOrder();
}

void TTable::SetIndexFieldNames(const std::string& Value)
{
    if (Value == FIndexFieldNames) return;
    FIndexFieldNames = Value;
    if (!Value.empty()) FIndexName.clear();
    SwitchOrder();
}

int TTable::GetIndexFieldCount() const { return FCursor ? FCursor->GetKeyFieldCount() : 0; }

TField* TTable::GetIndexField(int Index) const
{
    if (!FCursor || Index < 0 || Index >= GetIndexFieldCount()) DatabaseError(DBConsts::SFieldIndexError);
    int no = FCursor->GetOrder().Parts[static_cast<size_t>(Index)].FieldNo;
    for (int i = 0; i < GetFieldCount(); ++i)
        if (GetField(i)->GetFieldNo() == no + 1) return GetField(i);
    return nullptr;
}

bool TTable::IsIndexField(const TField* Field) const
{
    if (!FCursor || Field->GetFieldNo() <= 0) return false;
    for (auto& part : FCursor->GetOrder().Parts)
        if (part.FieldNo == Field->GetFieldNo() - 1) return true;
    return false;
}

void TTable::CreateTable()
{
    CheckInactive();
    engine::TEngineDatabase& db = OpenDatabase();
    engine::TTableDesc desc;
    desc.Fields = FFieldDefs->ToDesc();
    if (desc.Fields.empty())
        for (int i = 0; i < GetFieldCount(); ++i) {
            TField* f = GetField(i);
            if (f->GetFieldKind() == fkData)
                desc.Fields.push_back({f->GetFieldName(), f->GetDataType(), f->GetSize(), f->GetRequired()});
        }
    desc.Indexes = FIndexDefs->ToDesc();
    DbiGuard([&] { db.CreateTable(EngineTableName(), FTableType, desc); });
}

void TTable::DeleteTable()
{
    CheckInactive();
    engine::TEngineDatabase& db = OpenDatabase();
    DbiGuard([&] { db.DeleteTable(EngineTableName(), FTableType); });
}

void TTable::EmptyTable()
{
    if (GetActive()) {
        CheckBrowseMode();
        DbiGuard([&] {
            FDBHandle->EmptyTable(EngineTableName(), FTableType);
            FCursor->Refresh();
        });
        First();
        return;
    }
    engine::TEngineDatabase& db = OpenDatabase();
    DbiGuard([&] { db.EmptyTable(EngineTableName(), FTableType); });
}

bool TTable::Exists()
{
    if (GetActive()) return true;
    engine::TEngineDatabase& db = OpenDatabase();
    return DbiGuard([&] { return db.TableExists(EngineTableName(), FTableType); });
}

HOST_PUBLISHED(TTable)
{
    P.Property("Exclusive", &TTable::GetExclusive, &TTable::SetExclusive).Default(false);
    P.Property("IndexFieldNames", &TTable::GetIndexFieldNames, &TTable::SetIndexFieldNames);
    P.Property("IndexName", &TTable::GetIndexName, &TTable::SetIndexName);
    P.Property("MasterFields", &TTable::GetMasterFields, &TTable::SetMasterFields);
    P.Property("MasterSource", &TTable::GetMasterSource, &TTable::SetMasterSource);
    P.Property("ReadOnly", &TTable::GetReadOnly, &TTable::SetReadOnly).Default(false);
    P.Property("TableName", &TTable::GetTableName, &TTable::SetTableName);
    P.Property("TableType", &TTable::GetTableType, &TTable::SetTableType).Default(ttDefault);
    P.Property("UpdateMode", &TTable::GetUpdateMode, &TTable::SetUpdateMode).Default(upWhereAll);
}

HOST_REGISTER_CLASSES(TTable);

} // namespace host
