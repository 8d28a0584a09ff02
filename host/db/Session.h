#pragma once
// TSession: the aliases, databases and tables an application can reach.
#include <map>
#include <string>

#include "host/db/Database.h"

namespace host {

class TSession : public TComponent {
    HOST_CLASS(TSession, TComponent)
public:
    explicit TSession(TComponent* AOwner);

    const std::string& GetSessionName() const { return FSessionName; }
    void SetSessionName(const std::string& Value) { FSessionName = Value; }
    const std::string& GetNetFileDir() const { return FNetFileDir; }
    void SetNetFileDir(const std::string& Value) { FNetFileDir = Value; }
    const std::string& GetPrivateDir() const { return FPrivateDir; }
    void SetPrivateDir(const std::string& Value) { FPrivateDir = Value; }

    // An alias of a folder (DefaultDriver "STANDARD") or of an SQL database file.
    void AddStandardAlias(const std::string& Name, const std::string& Path, const std::string& DefaultDriver);
    void DeleteAlias(const std::string& Name);
    bool IsAlias(const std::string& Name) const;
    void GetAliasNames(TStrings* List) const;
    // "PATH=..." of the alias; raises EDatabaseError for an unknown alias.
    void GetAliasParams(const std::string& AliasName, TStrings* List) const;
    std::string GetAliasDriverName(const std::string& AliasName) const;
    // Aliases and the database components' names, sorted.
    void GetDatabaseNames(TStrings* List) const;
    void GetDriverNames(TStrings* List) const;
    // Tables of a database whose names match Pattern ("*.DB", "CUST*").
    void GetTableNames(const std::string& DatabaseName, const std::string& Pattern, bool Extensions,
                       bool SystemTables, TStrings* List) const;
    void GetStoredProcNames(const std::string& DatabaseName, TStrings* List) const;

    // The database component of that name, made (and owned by the session) when there is none.
    TDatabase* OpenDatabase(const std::string& DatabaseName);
    void CloseDatabase(TDatabase* Database);
    TDatabase* FindDatabase(const std::string& DatabaseName) const { return TDatabase::Find(DatabaseName); }

    // The folder or file an alias or database name stands for.
    std::string ResolvePath(const std::string& DatabaseName) const;

private:
    struct TAlias {
        std::string Path, Driver;
    };
    const TAlias* FindAlias(const std::string& Name) const;

    std::string FSessionName = "Default";
    std::string FNetFileDir, FPrivateDir;
    std::map<std::string, TAlias> FAliases; // by upper-case name
};

// The default session.
TSession* Session();

} // namespace host
