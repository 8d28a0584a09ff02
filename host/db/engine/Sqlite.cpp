#include "host/db/engine/Sqlite.h"

#include <sqlite3.h>

#include "host/db/engine/EngineError.h"

namespace host::engine {

TSqlStatement::~TSqlStatement()
{
    if (FStmt) FConn->Release(FStmt);
}

void TSqlStatement::BindNull(int Index) { FConn->Check(sqlite3_bind_null(FStmt, Index)); }
void TSqlStatement::BindInt(int Index, int64_t Value) { FConn->Check(sqlite3_bind_int64(FStmt, Index, Value)); }
void TSqlStatement::BindFloat(int Index, double Value) { FConn->Check(sqlite3_bind_double(FStmt, Index, Value)); }

void TSqlStatement::BindText(int Index, std::string_view Value)
{
    FConn->Check(sqlite3_bind_text64(FStmt, Index, Value.data(), Value.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
}

void TSqlStatement::BindBlob(int Index, std::string_view Value)
{
    FConn->Check(sqlite3_bind_blob64(FStmt, Index, Value.data(), Value.size(), SQLITE_TRANSIENT));
}

void TSqlStatement::Bind(int Index, const TValue& Value)
{
    switch (Value.Kind) {
    case TValueKind::Null: BindNull(Index); break;
    case TValueKind::Integer: BindInt(Index, Value.Int); break;
    case TValueKind::Float: BindFloat(Index, Value.Float); break;
    case TValueKind::Text: BindText(Index, Value.Bytes); break;
    case TValueKind::Blob: BindBlob(Index, Value.Bytes); break;
    }
}

bool TSqlStatement::Step()
{
    int rc = sqlite3_step(FStmt);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(FStmt);
    FConn->Fail(rc);
}

void TSqlStatement::Execute()
{
    while (Step()) {
    }
}

void TSqlStatement::Reset() { sqlite3_reset(FStmt); }

int TSqlStatement::ColumnCount() const { return sqlite3_column_count(FStmt); }
bool TSqlStatement::IsNull(int Col) const { return sqlite3_column_type(FStmt, Col) == SQLITE_NULL; }
int64_t TSqlStatement::ColumnInt(int Col) const { return sqlite3_column_int64(FStmt, Col); }
double TSqlStatement::ColumnFloat(int Col) const { return sqlite3_column_double(FStmt, Col); }

std::string_view TSqlStatement::ColumnText(int Col) const
{
    auto p = reinterpret_cast<const char*>(sqlite3_column_text(FStmt, Col));
    return p ? std::string_view(p, sqlite3_column_bytes(FStmt, Col)) : std::string_view();
}

std::string_view TSqlStatement::ColumnBlob(int Col) const
{
    auto p = static_cast<const char*>(sqlite3_column_blob(FStmt, Col));
    return p ? std::string_view(p, sqlite3_column_bytes(FStmt, Col)) : std::string_view();
}

TValueKind TSqlStatement::ColumnKind(int Col) const
{
    switch (sqlite3_column_type(FStmt, Col)) {
    case SQLITE_INTEGER: return TValueKind::Integer;
    case SQLITE_FLOAT: return TValueKind::Float;
    case SQLITE_TEXT: return TValueKind::Text;
    case SQLITE_BLOB: return TValueKind::Blob;
    default: return TValueKind::Null;
    }
}

TValue TSqlStatement::ColumnValue(int Col) const
{
    switch (ColumnKind(Col)) {
    case TValueKind::Integer: return TValue::OfInt(ColumnInt(Col));
    case TValueKind::Float: return TValue::OfFloat(ColumnFloat(Col));
    case TValueKind::Text: return TValue::OfText(ColumnText(Col));
    case TValueKind::Blob: return TValue::OfBlob(ColumnBlob(Col));
    default: return TValue();
    }
}

std::string TSqlStatement::ColumnName(int Col) const
{
    const char* p = sqlite3_column_name(FStmt, Col);
    return p ? p : "";
}

std::string TSqlStatement::ColumnDeclType(int Col) const
{
    const char* p = sqlite3_column_decltype(FStmt, Col);
    return p ? p : "";
}

bool TSqlStatement::ColumnOrigin(int Col, std::string& Schema, std::string& Table, std::string& Column) const
{
    const char* d = sqlite3_column_database_name(FStmt, Col);
    const char* t = sqlite3_column_table_name(FStmt, Col);
    const char* c = sqlite3_column_origin_name(FStmt, Col);
    if (!d || !t || !c) return false;
    Schema = d;
    Table = t;
    Column = c;
    return true;
}

TSqlConnection::TSqlConnection(const std::string& FileName, TOpenMode Mode, int BusyTimeoutMs) : FFileName(FileName)
{
    int flags = SQLITE_OPEN_URI;
    switch (Mode) {
    case TOpenMode::ReadWrite: flags |= SQLITE_OPEN_READWRITE; break;
    case TOpenMode::ReadOnly: flags |= SQLITE_OPEN_READONLY; break;
    case TOpenMode::Create: flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE; break;
    }
    int rc = sqlite3_open_v2(FileName.c_str(), &FDb, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = FDb ? sqlite3_errmsg(FDb) : "cannot open";
        sqlite3_close(FDb);
        FDb = nullptr;
        RaiseEngineError(rc == SQLITE_CANTOPEN ? DBIERR_OSEINVAL : DBIERR_OSACCESS, FileName + " (" + msg + ")");
    }
    sqlite3_extended_result_codes(FDb, 1);
    sqlite3_busy_timeout(FDb, BusyTimeoutMs);
}

TSqlConnection::~TSqlConnection()
{
    for (auto& [sql, stmt] : FCache) sqlite3_finalize(stmt);
    sqlite3_close_v2(FDb);
}

TSqlStatement TSqlConnection::Prepare(const std::string& Sql, bool Cache)
{
    auto it = FCache.find(Sql);
    if (it != FCache.end() && FState[it->second] == TStmtState::CachedIdle) {
        FState[it->second] = TStmtState::CachedBusy;
        return TSqlStatement(*this, it->second);
    }
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v3(FDb, Sql.c_str(), static_cast<int>(Sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt,
                                nullptr);
    if (rc != SQLITE_OK) Fail(rc);
    bool cache = Cache && it == FCache.end();
    if (cache) FCache.emplace(Sql, stmt);
    FState[stmt] = cache ? TStmtState::CachedBusy : TStmtState::Loose;
    return TSqlStatement(*this, stmt);
}

void TSqlConnection::ForgetTagged(const std::string& Tag)
{
    for (auto it = FCache.begin(); it != FCache.end();) {
        auto state = FState.find(it->second);
        if (it->first.find(Tag) == std::string::npos) {
            ++it;
            continue;
        }
        if (state->second == TStmtState::CachedIdle) {
            sqlite3_finalize(it->second);
            FState.erase(state);
        } else {
            state->second = TStmtState::Loose; // finalised when its borrower lets go
        }
        it = FCache.erase(it);
    }
}

void TSqlConnection::Release(sqlite3_stmt* Stmt)
{
    sqlite3_reset(Stmt);
    sqlite3_clear_bindings(Stmt);
    auto it = FState.find(Stmt);
    if (it->second == TStmtState::Loose) {
        // A second concurrent use of the same text, or one dropped from the cache.
        FState.erase(it);
        sqlite3_finalize(Stmt);
        return;
    }
    it->second = TStmtState::CachedIdle;
}

void TSqlConnection::Exec(const std::string& Sql)
{
    char* err = nullptr;
    int rc = sqlite3_exec(FDb, Sql.c_str(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK) Fail(rc);
}

void TSqlConnection::SetBusyTimeout(int Ms) { sqlite3_busy_timeout(FDb, Ms); }

int64_t TSqlConnection::LastInsertRowId() const { return sqlite3_last_insert_rowid(FDb); }
int64_t TSqlConnection::Changes() const { return sqlite3_changes64(FDb); }

bool TSqlConnection::InTransaction() const { return sqlite3_get_autocommit(FDb) == 0; }

void TSqlConnection::Check(int Rc) const
{
    if (Rc != SQLITE_OK) Fail(Rc);
}

void TSqlConnection::Fail(int Rc) const
{
    std::string detail = sqlite3_errmsg(FDb);
    switch (Rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: RaiseEngineError(DBIERR_LOCKED, FFileName);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: RaiseEngineError(DBIERR_FILECORRUPT, FFileName);
    case SQLITE_READONLY: RaiseEngineError(DBIERR_TABLEREADONLY, FFileName);
    case SQLITE_CANTOPEN: RaiseEngineError(DBIERR_OSACCESS, FFileName);
    case SQLITE_CONSTRAINT:
        if (Rc == SQLITE_CONSTRAINT_NOTNULL) RaiseEngineError(DBIERR_REQDERR, detail);
        if (Rc == SQLITE_CONSTRAINT_UNIQUE || Rc == SQLITE_CONSTRAINT_PRIMARYKEY)
            RaiseEngineError(DBIERR_KEYVIOL, detail);
        RaiseEngineError(DBIERR_KEYVIOL, detail);
    case SQLITE_MISMATCH: RaiseEngineError(DBIERR_TYPEMISMATCH, detail);
    case SQLITE_ERROR: RaiseEngineError(DBIERR_QRYSYNTAX, detail);
    default: RaiseEngineError(DBIERR_OSACCESS, detail);
    }
}

void TSqlConnection::ClearCache()
{
    for (auto it = FCache.begin(); it != FCache.end();) {
        if (FState[it->second] == TStmtState::CachedBusy) {
            FState[it->second] = TStmtState::Loose;
        } else {
            FState.erase(it->second);
            sqlite3_finalize(it->second);
        }
        it = FCache.erase(it);
    }
}

std::string QuoteIdent(std::string_view Name)
{
    std::string r = "\"";
    for (char c : Name) {
        if (c == '"') r += '"';
        r += c;
    }
    return r + "\"";
}

std::string QuoteString(std::string_view Text)
{
    std::string r = "'";
    for (char c : Text) {
        if (c == '\'') r += '\'';
        r += c;
    }
    return r + "'";
}

} // namespace host::engine
