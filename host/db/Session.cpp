#include "host/db/Session.h"

#include <algorithm>

#include "host/db/DBTables.h"

namespace host {

TSession* Session()
{
    static TSession* session = new TSession(nullptr);
    return session;
}

TSession::TSession(TComponent* AOwner) : TComponent(AOwner) {}

void TSession::AddStandardAlias(const std::string& Name, const std::string& Path, const std::string& DefaultDriver)
{
    if (Name.empty()) DatabaseError("Alias name missing");
    if (IsAlias(Name)) DatabaseErrorFmt("Alias '%s' already exists", {Name});
    FAliases[UpperCase(Name)] = {Path, DefaultDriver.empty() ? "STANDARD" : DefaultDriver};
}

void TSession::DeleteAlias(const std::string& Name) { FAliases.erase(UpperCase(Name)); }

const TSession::TAlias* TSession::FindAlias(const std::string& Name) const
{
    auto it = FAliases.find(UpperCase(Name));
    return it == FAliases.end() ? nullptr : &it->second;
}

bool TSession::IsAlias(const std::string& Name) const { return FindAlias(Name) != nullptr; }

void TSession::GetAliasNames(TStrings* List) const
{
    List->BeginUpdate();
    List->Clear();
    for (auto& [name, alias] : FAliases) List->Add(name);
    List->EndUpdate();
}

void TSession::GetAliasParams(const std::string& AliasName, TStrings* List) const
{
    const TAlias* a = FindAlias(AliasName);
    if (!a) DatabaseErrorFmt("Unknown database alias '%s'", {AliasName});
    List->Clear();
    List->Add("PATH=" + a->Path);
}

std::string TSession::GetAliasDriverName(const std::string& AliasName) const
{
    const TAlias* a = FindAlias(AliasName);
    if (!a) DatabaseErrorFmt("Unknown database alias '%s'", {AliasName});
    return a->Driver;
}

void TSession::GetDatabaseNames(TStrings* List) const
{
    std::vector<std::string> names;
    for (auto& [name, alias] : FAliases) names.push_back(name);
    for (auto& n : TDatabase::AllNames())
        if (std::find(names.begin(), names.end(), n) == names.end()) names.push_back(n);
    std::sort(names.begin(), names.end());
    List->BeginUpdate();
    List->Clear();
    for (auto& n : names) List->Add(n);
    List->EndUpdate();
}

void TSession::GetDriverNames(TStrings* List) const
{
    List->Clear();
    List->Add("STANDARD");
    List->Add("SQLITE");
}

std::string TSession::ResolvePath(const std::string& DatabaseName) const
{
    if (const TAlias* a = FindAlias(DatabaseName)) return a->Path;
    return DatabaseName;
}

void TSession::GetTableNames(const std::string& DatabaseName, const std::string& Pattern, bool Extensions,
                             bool SystemTables, TStrings* List) const
{
    auto db = AcquireEngineDatabase(DatabaseName);
    auto names = DbiGuard([&] { return db->GetTableNames(Pattern.empty() ? "*" : Pattern, Extensions); });
    List->BeginUpdate();
    List->Clear();
    for (auto& n : names)
        if (SystemTables || n.rfind("KEL$", 0) != 0) List->Add(n);
    List->EndUpdate();
}

void TSession::GetStoredProcNames(const std::string&, TStrings* List) const { List->Clear(); }

TDatabase* TSession::OpenDatabase(const std::string& DatabaseName)
{
    TDatabase* d = FindDatabase(DatabaseName);
    if (!d) {
        d = new TDatabase(this);
        d->SetDatabaseName(DatabaseName);
        d->GetParams()->Add("PATH=" + ResolvePath(DatabaseName));
    }
    d->Open();
    return d;
}

void TSession::CloseDatabase(TDatabase* Database)
{
    if (!Database) return;
    Database->Close();
    if (Database->GetOwner() == this && !Database->GetKeepConnection()) Database->Free();
}

} // namespace host
