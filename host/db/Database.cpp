#include "host/db/Database.h"

#include <algorithm>

#include "host/db/DBConsts.h"
#include "host/db/DBTables.h"
#include "host/db/Session.h"

namespace host {

namespace {
std::vector<TDatabase*>& AllDatabases()
{
    static std::vector<TDatabase*> list;
    return list;
}
} // namespace

TDatabase::TDatabase(TComponent* AOwner) : TComponent(AOwner), FParams(std::make_unique<TStringList>())
{
    AllDatabases().push_back(this);
}

void TDatabase::Destroy()
{
    try {
        CloseDataSets();
    } catch (...) {
        // The datasets are closed as far as they let; destruction goes on.
    }
    std::erase(AllDatabases(), this);
    FHandle.reset();
    inherited::Destroy();
}

void TDatabase::Loaded()
{
    inherited::Loaded();
    if (FStreamedConnected) SetConnected(true);
}

std::vector<std::string> TDatabase::AllNames()
{
    std::vector<std::string> r;
    for (TDatabase* d : AllDatabases())
        if (!d->FDatabaseName.empty()) r.push_back(d->FDatabaseName);
    return r;
}

TDatabase* TDatabase::Find(const std::string& DatabaseName)
{
    for (TDatabase* d : AllDatabases())
        if (!DatabaseName.empty() && SameText(d->FDatabaseName, DatabaseName)) return d;
    return nullptr;
}

void TDatabase::SetDatabaseName(const std::string& Value)
{
    if (Value == FDatabaseName) return;
    if (GetConnected()) DatabaseError("Cannot perform this operation on an open database");
    FDatabaseName = Value;
}

void TDatabase::SetAliasName(const std::string& Value)
{
    if (Value == FAliasName) return;
    if (GetConnected()) DatabaseError("Cannot perform this operation on an open database");
    FAliasName = Value;
    if (!Value.empty()) FDriverName.clear();
}

void TDatabase::SetDriverName(const std::string& Value)
{
    if (Value == FDriverName) return;
    if (GetConnected()) DatabaseError("Cannot perform this operation on an open database");
    FDriverName = Value;
    if (!Value.empty()) FAliasName.clear();
}

std::string TDatabase::GetPath() const
{
    std::string path = FParams->GetValues("PATH");
    if (path.empty()) path = FParams->GetValues("DATABASE NAME");
    if (path.empty() && !FAliasName.empty()) path = Session()->ResolvePath(FAliasName);
    if (path.empty()) path = FDatabaseName;
    return path;
}

void TDatabase::SetConnected(bool Value)
{
    if (GetComponentState().Contains(csLoading)) {
        FStreamedConnected = Value;
        return;
    }
    if (Value == GetConnected()) return;
    if (!Value) {
        CloseDataSets();
        if (GetInTransaction()) Rollback();
        FHandle.reset();
        return;
    }
    if (FDatabaseName.empty()) DatabaseError(DBConsts::SDatabaseNameMissing);
    std::string path = GetPath();
    FHandle = DbiGuard([&] { return std::shared_ptr<engine::TEngineDatabase>(engine::TEngineDatabase::Open(path)); });
}

namespace {
std::vector<TDBDataSet*> DataSetsOf(const TDatabase* Db)
{
    std::vector<TDBDataSet*> list;
    for (TDataSet* ds : TDataSet::OpenDataSets())
        if (auto* d = dynamic_cast<TDBDataSet*>(ds); d && d->GetDatabase() == Db) list.push_back(d);
    return list;
}
} // namespace

int TDatabase::GetDataSetCount() const { return static_cast<int>(DataSetsOf(this).size()); }

TDBDataSet* TDatabase::GetDataSets(int Index) const
{
    auto list = DataSetsOf(this);
    if (Index < 0 || Index >= static_cast<int>(list.size())) DatabaseError("List index out of bounds");
    return list[static_cast<size_t>(Index)];
}

void TDatabase::CloseDataSets()
{
    for (TDBDataSet* d : DataSetsOf(this)) d->Close();
}

const std::shared_ptr<engine::TEngineDatabase>& TDatabase::GetHandle()
{
    SetConnected(true);
    return FHandle;
}

bool TDatabase::GetIsSQLBased() const { return FHandle ? FHandle->IsSQLBased() : SameText(FDriverName, "SQLITE"); }

bool TDatabase::GetInTransaction() const { return FHandle && FHandle->GetTranInfo().State == engine::xsACTIVE; }

void TDatabase::StartTransaction()
{
    auto& db = GetHandle();
    DbiGuard([&] { db->StartTransaction(static_cast<engine::TXILevel>(FTransIsolation)); });
}

void TDatabase::Commit()
{
    if (!FHandle) DatabaseError("Database is not connected");
    DbiGuard([&] { FHandle->Commit(); });
}

void TDatabase::Rollback()
{
    if (!FHandle) DatabaseError("Database is not connected");
    DbiGuard([&] { FHandle->Rollback(); });
}

int64_t TDatabase::Execute(const std::string& SQL, const TVariantArray& Params)
{
    auto& db = GetHandle();
    std::vector<engine::TValue> values(Params.begin(), Params.end());
    return DbiGuard([&] { return db->ExecSQL(SQL, values); });
}

HOST_PUBLISHED(TDatabase)
{
    P.Property("AliasName", &TDatabase::GetAliasName, &TDatabase::SetAliasName);
    P.Property("DatabaseName", &TDatabase::GetDatabaseName, &TDatabase::SetDatabaseName);
    P.Property("DriverName", &TDatabase::GetDriverName, &TDatabase::SetDriverName);
    P.Property("KeepConnection", &TDatabase::GetKeepConnection, &TDatabase::SetKeepConnection).Default(true);
    P.Property("LoginPrompt", &TDatabase::GetLoginPrompt, &TDatabase::SetLoginPrompt).Default(true);
    P.Property("Params", &TDatabase::GetParams, &TDatabase::SetParams);
    P.Property("TransIsolation", &TDatabase::GetTransIsolation, &TDatabase::SetTransIsolation)
        .Default(tiReadCommitted);
    P.Property("Connected", &TDatabase::GetConnected, &TDatabase::SetConnected).Default(false);
}

HOST_REGISTER_CLASSES(TDatabase);

} // namespace host
