#pragma once
// A database of the engine: a standard database is a folder holding one table
// file per table (named by table name and extension); an SQL database is one
// file holding many tables.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/db/engine/Schema.h"
#include "host/db/engine/Table.h"

namespace host::engine {

enum class TDatabaseKind { Standard, Sql };
struct TSelectParts;

// Transaction isolation levels and states, numbered as the Dbi calls report them.
enum TXILevel : uint8_t { xilDIRTYREAD, xilREADCOMMITTED, xilREPEATABLEREAD };
enum TXState : uint8_t { xsINACTIVE, xsACTIVE };

struct TTranInfo {
    TXState State = xsINACTIVE;
    TXILevel IsolationLevel = xilREADCOMMITTED;
};

class TEngineDatabase {
public:
    // An existing folder opens as a standard database, anything else as an SQL
    // database file (created when Create is set and it does not exist).
    static std::unique_ptr<TEngineDatabase> Open(const std::string& Path, bool Create = false);
    static std::unique_ptr<TEngineDatabase> OpenStandard(const std::string& Folder);
    static std::unique_ptr<TEngineDatabase> OpenSql(const std::string& FileName, bool Create = false);
    ~TEngineDatabase();

    TDatabaseKind GetKind() const { return FKind; }
    bool IsSQLBased() const { return FKind == TDatabaseKind::Sql; }
    const std::string& GetPath() const { return FPath; }

    // Milliseconds a locked table is waited for before the lock error is raised.
    void SetBusyTimeout(int Ms);
    int GetBusyTimeout() const { return FBusyTimeout; }

    // Table names matching Mask (wildcards * and ?, case-insensitive); standard
    // databases list file names with their extensions unless Extensions is false.
    std::vector<std::string> GetTableNames(const std::string& Mask = "*", bool Extensions = true) const;
    bool TableExists(const std::string& Name, TTableType Type = ttDefault) const;

    // Creates (replacing an existing table of that name) a table from its field
    // and index definitions.
    void CreateTable(const std::string& Name, TTableType Type, const TTableDesc& Desc);
    void DeleteTable(const std::string& Name, TTableType Type = ttDefault);
    void RenameTable(const std::string& Name, const std::string& NewName, TTableType Type = ttDefault);
    void EmptyTable(const std::string& Name, TTableType Type = ttDefault);
    // Exclusive (standard databases): refused while the table is open anywhere
    // else; while it stays open, nobody else can open it.
    std::shared_ptr<TEngineTable> OpenTable(const std::string& Name, TTableType Type = ttDefault, bool ReadOnly = false,
                                            bool Exclusive = false);
    // The file a table of a standard database lives in.
    std::string TableFileName(const std::string& Name, TTableType Type = ttDefault) const;

    // Runs a statement that returns no rows, with positional parameters; returns
    // the number of rows changed. "ALTER TABLE t ADD PRIMARY KEY (f1, f2)" makes
    // a unique primary index, on either kind of database.
    int64_t ExecSQL(const std::string& Sql, const std::vector<TValue>& Params = {});

    // The result of a SELECT (with positional parameters) as a view for a
    // cursor. A select from one table reads it through the table's row
    // identifiers; with Live, edits are written back to that table when every
    // field is one of its columns. Other results (joins, groups, DISTINCT,
    // unions) are copied into a temporary table first. On a standard database
    // the tables named are its files.
    std::shared_ptr<TEngineTable> OpenQuery(const std::string& Sql, const std::vector<TValue>& Params, bool Live);
    // Compiles Sql without running it; raises the store's message when it does not compile.
    void CheckSql(const std::string& Sql);

    void StartTransaction(TXILevel Level = xilREADCOMMITTED);
    void Commit();
    void Rollback();
    TTranInfo GetTranInfo() const;

private:
    TEngineDatabase(TDatabaseKind Kind, std::string Path);
    std::shared_ptr<TSqlConnection> Connect(const std::string& FileName, TOpenMode Mode) const;
    std::string ResolveFile(const std::string& Name, TTableType Type) const;
    // The connection and the name inside it of table Name.
    std::shared_ptr<TSqlConnection> Locate(const std::string& Name, TTableType Type, std::string& SqlName) const;
    void CreateTableIn(TSqlConnection& Conn, const std::string& SqlName, TTableType Type, const TTableDesc& Desc);
    void AddPrimaryKey(const std::string& Table, const std::string& Fields);
    void ForEachTransactional(void (*Action)(TSqlConnection&));
    struct TResolvedSql;
    TResolvedSql ResolveSql(const std::string& Sql, bool Select) const;
    TTableDesc DescOf(TResolvedSql& R, const std::string& Schema, const std::string& Table) const;
    std::shared_ptr<TEngineTable> OpenKeysetView(TResolvedSql& R, const TSelectParts& P,
                                                 const std::vector<TValue>& Params, bool Live);
    std::shared_ptr<TEngineTable> OpenCopiedView(TResolvedSql& R, const std::vector<TValue>& Params);
    void TypeExpressions(TResolvedSql& R, const std::string& Select, const std::vector<TValue>& Params,
                         TTableDesc& Desc) const;
    bool OrderOfView(const std::string& OrderBy, const TTableDesc& Desc, const std::vector<std::string>& Origin,
                     std::vector<TKeyPart>& Parts) const;
    int64_t ExecStandardSQL(const std::string& Sql, const std::vector<TValue>& Params);

    TDatabaseKind FKind;
    std::string FPath;
    int FBusyTimeout = 1000;
    std::shared_ptr<TSqlConnection> FSqlConn;
    mutable std::map<std::string, std::weak_ptr<TSqlConnection>> FFileConns;
    std::map<std::string, std::weak_ptr<TEngineTable>> FExclusive;
    TTranInfo FTran;
    // Connections inside the running transaction of a standard database.
    mutable std::vector<std::shared_ptr<TSqlConnection>> FTranConns;
};

// Whether Name matches Mask (wildcards * and ?, ASCII case-insensitive).
bool MatchesMask(const std::string& Name, const std::string& Mask);

} // namespace host::engine
