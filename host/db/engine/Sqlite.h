#pragma once
// A thin RAII layer over SQLite: connections with a prepared-statement cache,
// statements that reset themselves, and SQLite failures turned into engine errors.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/db/engine/Value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace host::engine {

class TSqlConnection;

// A prepared statement borrowed from a connection's cache; it is reset and its
// bindings cleared when the borrower lets go.
class TSqlStatement {
public:
    TSqlStatement(TSqlConnection& Conn, sqlite3_stmt* Stmt) : FConn(&Conn), FStmt(Stmt) {}
    TSqlStatement(TSqlStatement&& Other) noexcept : FConn(Other.FConn), FStmt(Other.FStmt) { Other.FStmt = nullptr; }
    TSqlStatement(const TSqlStatement&) = delete;
    TSqlStatement& operator=(const TSqlStatement&) = delete;
    ~TSqlStatement();

    void BindNull(int Index);
    void BindInt(int Index, int64_t Value);
    void BindFloat(int Index, double Value);
    void BindText(int Index, std::string_view Value);
    void BindBlob(int Index, std::string_view Value);
    void Bind(int Index, const TValue& Value);

    // Advances to the next row; false when done. Raises on failure.
    bool Step();
    // Runs a statement that returns no rows.
    void Execute();
    // Makes the statement ready to run again (bindings are kept).
    void Reset();

    sqlite3_stmt* Handle() const { return FStmt; }
    int ColumnCount() const;
    bool IsNull(int Col) const;
    int64_t ColumnInt(int Col) const;
    double ColumnFloat(int Col) const;
    std::string_view ColumnText(int Col) const;
    std::string_view ColumnBlob(int Col) const;
    TValueKind ColumnKind(int Col) const;
    TValue ColumnValue(int Col) const;
    std::string ColumnName(int Col) const;
    // The declared type of a column that reads a table column straight; empty for expressions.
    std::string ColumnDeclType(int Col) const;
    // Where a column's values come from: schema, table and column; false for expressions.
    bool ColumnOrigin(int Col, std::string& Schema, std::string& Table, std::string& Column) const;

private:
    TSqlConnection* FConn;
    sqlite3_stmt* FStmt;
};

enum class TOpenMode { ReadWrite, ReadOnly, Create };

class TSqlConnection {
public:
    TSqlConnection(const std::string& FileName, TOpenMode Mode, int BusyTimeoutMs);
    ~TSqlConnection();
    TSqlConnection(const TSqlConnection&) = delete;
    TSqlConnection& operator=(const TSqlConnection&) = delete;

    sqlite3* Handle() const { return FDb; }
    const std::string& FileName() const { return FFileName; }

    // A prepared statement for Sql, kept for reuse unless Cache is false
    // (statements built from outside text would grow the cache without bound).
    TSqlStatement Prepare(const std::string& Sql, bool Cache = true);
    // Prepared afresh and finalised after use (for one-off statements).
    void Exec(const std::string& Sql);
    void SetBusyTimeout(int Ms);

    bool InTransaction() const;
    int64_t LastInsertRowId() const;
    int64_t Changes() const;
    // Raises the engine error for the connection's last SQLite failure.
    [[noreturn]] void Fail(int Rc) const;
    void Check(int Rc) const;

    // Forgets cached statements (after schema changes).
    void ClearCache();
    // Forgets the idle cached statements whose text contains Tag (statements
    // of a query that has gone, so that the cache does not keep growing).
    void ForgetTagged(const std::string& Tag);

private:
    friend class TSqlStatement;
    void Release(sqlite3_stmt* Stmt);

    sqlite3* FDb = nullptr;
    std::string FFileName;
    std::unordered_map<std::string, sqlite3_stmt*> FCache;
    enum class TStmtState { CachedIdle, CachedBusy, Loose };
    std::unordered_map<sqlite3_stmt*, TStmtState> FState;
};

// SQL text helpers.
std::string QuoteIdent(std::string_view Name);
std::string QuoteString(std::string_view Text);

} // namespace host::engine
