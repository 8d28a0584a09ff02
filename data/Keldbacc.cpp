#include "data/Keldbacc.h"

#include <filesystem>

#include "host/db/BDE.h"

namespace kel {

using namespace host;

std::string kelApplicationFolder()
{
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path().string();
    return exe.parent_path().string();
}

// ---- TLocalTable / TLocalQuery

TLocalTable::TLocalTable(TComponent* AOwner) : TTable(AOwner) { SetLocalPath(true); }

void TLocalTable::SetLocalPath(bool Value)
{
    FLocalPath = Value;
    if (Value) TTable::SetDatabaseName(kelApplicationFolder());
}

void TLocalTable::SetDatabaseName(const std::string& Value)
{
    if (Value == GetDatabaseName()) return;
    TTable::SetDatabaseName(Value);
    FLocalPath = false;
}

TLocalQuery::TLocalQuery(TComponent* AOwner) : TQuery(AOwner) { SetLocalPath(true); }

void TLocalQuery::SetLocalPath(bool Value)
{
    FLocalPath = Value;
    if (Value) TQuery::SetDatabaseName(kelApplicationFolder());
}

void TLocalQuery::SetDatabaseName(const std::string& Value)
{
    if (Value == GetDatabaseName()) return;
    TQuery::SetDatabaseName(Value);
    FLocalPath = false;
}

// ---- TLocalDatabase

TLocalDatabase::TLocalDatabase(TComponent* AOwner) : TDatabase(AOwner) { SetLocalPath(true); }

void TLocalDatabase::SetLocalPath(bool Value)
{
    FLocalPath = Value;
    if (!Value) return;
    SetDriverName("STANDARD");
    GetParams()->Clear();
    GetParams()->Add("Path=" + kelApplicationFolder());
}

void TLocalDatabase::Loaded()
{
    if (FLocalPath) {
        // Only lines starting exactly with "Path=" are the path; others stay.
        TStrings* params = GetParams();
        bool found = false;
        for (int i = 0; i < params->GetCount(); ++i)
            if (params->GetStrings(i).compare(0, 5, "Path=") == 0) {
                params->SetStrings(i, "Path=" + kelApplicationFolder());
                found = true;
            }
        if (!found) params->Add("Path=" + kelApplicationFolder());
    }
    TDatabase::Loaded();
}

// ---- TDBIdleTime

TDBIdleTime::TDBIdleTime(TComponent* AOwner) : TComponent(AOwner)
{
    if (GetComponentState().Contains(csDesigning)) return;
    FChained = Application->OnIdle;
    Application->OnIdle = TIdleEvent(this, &TDBIdleTime::ApplicationIdle);
    FHooked = true;
}

void TDBIdleTime::Destroy()
{
    // Only our own hook is undone: a handler installed after ours stays.
    if (FHooked && ApplicationCreated() && Application->OnIdle == TIdleEvent(this, &TDBIdleTime::ApplicationIdle))
        Application->OnIdle = FChained;
    FHooked = false;
    inherited::Destroy();
}

void TDBIdleTime::ApplicationIdle(TObject* Sender, bool& Done)
{
    DoIdle(Done);
    if (FChained) FChained(Sender, Done);
}

void kelSaveAllChanges()
{
    for (TDataSet* ds : TDataSet::OpenDataSets())
        if (ds->GetCursor() && ds->CanModify()) Check(DbiSaveChanges(ds->GetCursor()));
}

void TDBIdleTime::DoIdle(bool& Done)
{
    kelSaveAllChanges();
    OnIdle(this, Done);
}

HOST_PUBLISHED(TLocalTable)
{
    P.Property("DatabaseName", &TLocalTable::GetDatabaseName, &TLocalTable::SetDatabaseName)
        .Stored(&TLocalTable::IsDatabaseNameStored);
    P.Property("LocalPath", &TLocalTable::GetLocalPath, &TLocalTable::SetLocalPath).Default(true);
}

HOST_PUBLISHED(TLocalQuery)
{
    P.Property("DatabaseName", &TLocalQuery::GetDatabaseName, &TLocalQuery::SetDatabaseName)
        .Stored(&TLocalQuery::IsDatabaseNameStored);
    P.Property("LocalPath", &TLocalQuery::GetLocalPath, &TLocalQuery::SetLocalPath).Default(true);
}

HOST_PUBLISHED(TLocalDatabase)
{
    P.Property("LocalPath", &TLocalDatabase::GetLocalPath, &TLocalDatabase::SetLocalPath).Default(true);
}

HOST_PUBLISHED(TDBIdleTime)
{
    P.Property("OnIdle", &TDBIdleTime::OnIdle);
}

HOST_REGISTER_CLASSES(TLocalTable, TLocalQuery, TLocalDatabase, TDBIdleTime);

} // namespace kel
