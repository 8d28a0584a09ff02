#include "host/db/engine/Database.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>

#include "host/db/engine/EngineError.h"
#include "host/db/engine/EngineInfo.h"
#include "host/rtl/FileUtils.h"

namespace fs = std::filesystem;

namespace host::engine {

namespace {

// The table inside each file of a standard database.
const std::string StandardSqlName = "DATA";

bool IsInternalTable(const std::string& Name)
{
    std::string u = UpperCase(Name);
    return u.rfind("SQLITE_", 0) == 0 || u.rfind("KEL$", 0) == 0;
}

void CheckTableName(const std::string& Name)
{
    if (Name.empty() || Name.find('/') != std::string::npos || Name.find('\0') != std::string::npos ||
        Name == "." || Name == "..")
        RaiseEngineError(DBIERR_INVALIDPARAM, "table name '" + Name + "'");
}

void CheckDesc(const TTableDesc& Desc)
{
    if (Desc.Fields.empty()) RaiseEngineError(DBIERR_INVALIDPARAM, "a table needs at least one field");
    for (size_t i = 0; i < Desc.Fields.size(); ++i) {
        const auto& f = Desc.Fields[i];
        if (f.Name.empty() || f.DataType == ftUnknown || f.DataType > ftLargeint || SameName(f.Name, RecNoColumn))
            RaiseEngineError(DBIERR_INVALIDPARAM, "field '" + f.Name + "'");
        for (size_t k = 0; k < i; ++k)
            if (SameName(Desc.Fields[k].Name, f.Name)) RaiseEngineError(DBIERR_INVALIDPARAM, "duplicate field " + f.Name);
    }
}

} // namespace

bool MatchesMask(const std::string& Name, const std::string& Mask)
{
    // Iterative wildcard match with backtracking on the last '*'.
    size_t n = 0, m = 0, starM = std::string::npos, starN = 0;
    auto eq = [](char a, char b) { return std::toupper((unsigned char)a) == std::toupper((unsigned char)b); };
    while (n < Name.size()) {
        if (m < Mask.size() && (Mask[m] == '?' || eq(Mask[m], Name[n]))) {
            ++n;
            ++m;
        } else if (m < Mask.size() && Mask[m] == '*') {
            starM = m++;
            starN = n;
        } else if (starM != std::string::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < Mask.size() && Mask[m] == '*') ++m;
    // "*.*" matches names without an extension too, as folder listings do.
    if (m < Mask.size() && Mask.substr(m) == ".*") return true;
    return m == Mask.size();
}

TEngineDatabase::TEngineDatabase(TDatabaseKind Kind, std::string Path) : FKind(Kind), FPath(std::move(Path))
{
    ++EngineCounters().Databases;
}

TEngineDatabase::~TEngineDatabase()
{
    --EngineCounters().Databases;
    if (FTran.State == xsACTIVE) {
        try {
            Rollback();
        } catch (...) {
        }
    }
}

std::unique_ptr<TEngineDatabase> TEngineDatabase::Open(const std::string& Path, bool Create)
{
    // Programs name their databases with drive letters ("C:\DATA") as often as with folders.
    const std::string native = NativeFileName(Path);
    std::error_code ec;
    if (fs::is_directory(native, ec)) return OpenStandard(native);
    return OpenSql(native, Create);
}

std::unique_ptr<TEngineDatabase> TEngineDatabase::OpenStandard(const std::string& Folder)
{
    std::error_code ec;
    if (!fs::is_directory(Folder, ec)) RaiseEngineError(DBIERR_OSEINVAL, "folder " + Folder);
    return std::unique_ptr<TEngineDatabase>(new TEngineDatabase(TDatabaseKind::Standard, Folder));
}

std::unique_ptr<TEngineDatabase> TEngineDatabase::OpenSql(const std::string& FileName, bool Create)
{
    std::unique_ptr<TEngineDatabase> db(new TEngineDatabase(TDatabaseKind::Sql, FileName));
    db->FSqlConn = std::make_shared<TSqlConnection>(FileName, Create ? TOpenMode::Create : TOpenMode::ReadWrite,
                                                    db->FBusyTimeout);
    // Touch the file now so that junk is reported at open, not at first use.
    db->FSqlConn->Exec("SELECT count(*) FROM sqlite_master");
    return db;
}

void TEngineDatabase::SetBusyTimeout(int Ms)
{
    FBusyTimeout = Ms;
    if (FSqlConn) FSqlConn->SetBusyTimeout(Ms);
    for (auto& [name, weak] : FFileConns)
        if (auto c = weak.lock()) c->SetBusyTimeout(Ms);
}

std::shared_ptr<TSqlConnection> TEngineDatabase::Connect(const std::string& FileName, TOpenMode Mode) const
{
    auto it = FFileConns.find(FileName);
    if (it != FFileConns.end())
        if (auto c = it->second.lock()) return c;
    auto conn = std::make_shared<TSqlConnection>(FileName, Mode, FBusyTimeout);
    conn->Exec("SELECT count(*) FROM sqlite_master");
    FFileConns[FileName] = conn;
    if (FTran.State == xsACTIVE) {
        conn->Exec("BEGIN");
        FTranConns.push_back(conn);
    }
    return conn;
}

std::string TEngineDatabase::ResolveFile(const std::string& Name, TTableType Type) const
{
    CheckTableName(Name);
    std::string file = Name;
    if (TableTypeFromName(Name) == ttDefault && Name.find('.') == std::string::npos) file += ExtensionOf(Type);
    fs::path exact = fs::path(FPath) / file;
    std::error_code ec;
    if (fs::exists(exact, ec)) return exact.string();
    // Table names compare without case, file names on this system do not.
    for (const auto& e : fs::directory_iterator(FPath, ec))
        if (SameName(e.path().filename().string(), file)) return e.path().string();
    return exact.string();
}

std::string TEngineDatabase::TableFileName(const std::string& Name, TTableType Type) const
{
    return ResolveFile(Name, Type);
}

std::shared_ptr<TSqlConnection> TEngineDatabase::Locate(const std::string& Name, TTableType Type,
                                                         std::string& SqlName) const
{
    if (FKind == TDatabaseKind::Sql) {
        CheckTableName(Name);
        auto st = FSqlConn->Prepare("SELECT name FROM sqlite_master WHERE type='table' AND upper(name)=upper(?)");
        st.BindText(1, Name);
        if (!st.Step() || IsInternalTable(Name)) RaiseEngineError(DBIERR_NOSUCHTABLE, Name);
        SqlName = st.ColumnText(0);
        return FSqlConn;
    }
    std::string file = ResolveFile(Name, Type);
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) RaiseEngineError(DBIERR_NOSUCHTABLE, Name);
    SqlName = StandardSqlName;
    auto conn = Connect(file, TOpenMode::ReadWrite);
    auto st = conn->Prepare("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?");
    st.BindText(1, SqlName);
    if (!st.Step()) RaiseEngineError(DBIERR_FILECORRUPT, file + " holds no table");
    return conn;
}

std::vector<std::string> TEngineDatabase::GetTableNames(const std::string& Mask, bool Extensions) const
{
    std::vector<std::string> names;
    std::string mask = Mask.empty() ? "*" : Mask;
    if (FKind == TDatabaseKind::Sql) {
        auto st = FSqlConn->Prepare("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name");
        while (st.Step()) {
            std::string n(st.ColumnText(0));
            if (!IsInternalTable(n) && MatchesMask(n, mask)) names.push_back(n);
        }
        return names;
    }
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(FPath, ec)) {
        if (!e.is_regular_file(ec)) continue;
        std::string n = e.path().filename().string();
        std::string u = UpperCase(n);
        if (u.ends_with("-JOURNAL") || u.ends_with("-WAL") || u.ends_with("-SHM")) continue;
        if (!MatchesMask(n, mask)) continue;
        names.push_back(Extensions ? n : e.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool TEngineDatabase::TableExists(const std::string& Name, TTableType Type) const
{
    try {
        std::string sql;
        Locate(Name, Type, sql);
        return true;
    } catch (const EEngineError& e) {
        if (e.GetErrorCode() == DBIERR_NOSUCHTABLE) return false;
        throw;
    }
}

void TEngineDatabase::CreateTableIn(TSqlConnection& Conn, const std::string& SqlName, TTableType Type,
                                    const TTableDesc& Desc)
{
    std::string sql = "CREATE TABLE " + QuoteIdent(SqlName) + "(" + QuoteIdent(RecNoColumn) +
                      " INTEGER PRIMARY KEY AUTOINCREMENT";
    for (const auto& f : Desc.Fields) {
        sql += ", " + QuoteIdent(f.Name) + " " + SqlTypeName(f.DataType);
        if (f.Required) sql += " NOT NULL";
    }
    sql += ")";
    Conn.Exec(sql);
    for (const auto& x : Desc.Indexes) Conn.Exec(CreateIndexSql(SqlName, Desc, x));
    WriteMetadata(Conn, SqlName, Type, Desc);
}

void TEngineDatabase::CreateTable(const std::string& Name, TTableType Type, const TTableDesc& Desc)
{
    CheckTableName(Name);
    CheckDesc(Desc);
    for (const auto& x : Desc.Indexes) IndexKeyParts(Desc, x); // validates before anything is touched
    if (Type == ttDefault) Type = TableTypeFromName(Name);
    if (FKind == TDatabaseKind::Sql) {
        FSqlConn->Exec("SAVEPOINT kel_create");
        try {
            std::string old;
            if (TableExists(Name)) {
                Locate(Name, Type, old);
                FSqlConn->Exec("DROP TABLE " + QuoteIdent(old));
                DeleteMetadata(*FSqlConn, old);
            }
            CreateTableIn(*FSqlConn, Name, Type == ttDefault ? ttDefault : Type, Desc);
            FSqlConn->Exec("RELEASE kel_create");
        } catch (...) {
            FSqlConn->Exec("ROLLBACK TO kel_create; RELEASE kel_create");
            throw;
        }
        FSqlConn->ClearCache();
        return;
    }
    if (Type == ttDefault) Type = ttParadox;
    std::string file = ResolveFile(Name, Type);
    if (auto it = FFileConns.find(file); it != FFileConns.end() && !it->second.expired())
        RaiseEngineError(DBIERR_LOCKED, Name + " is open");
    std::error_code ec;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) fs::remove(file + suffix, ec);
    try {
        TSqlConnection conn(file, TOpenMode::Create, FBusyTimeout);
        conn.Exec("BEGIN");
        CreateTableIn(conn, StandardSqlName, Type, Desc);
        conn.Exec("COMMIT");
    } catch (...) {
        fs::remove(file, ec);
        throw;
    }
}

void TEngineDatabase::DeleteTable(const std::string& Name, TTableType Type)
{
    std::string sqlName;
    auto conn = Locate(Name, Type, sqlName);
    if (FKind == TDatabaseKind::Sql) {
        conn->Exec("DROP TABLE " + QuoteIdent(sqlName));
        DeleteMetadata(*conn, sqlName);
        conn->ClearCache();
        return;
    }
    std::string file = conn->FileName();
    if (conn.use_count() > 1) RaiseEngineError(DBIERR_LOCKED, Name + " is open");
    conn.reset();
    FFileConns.erase(file);
    std::error_code ec;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) fs::remove(file + suffix, ec);
}

void TEngineDatabase::RenameTable(const std::string& Name, const std::string& NewName, TTableType Type)
{
    CheckTableName(NewName);
    if (TableExists(NewName, Type)) RaiseEngineError(DBIERR_TABLEEXISTS, NewName);
    std::string sqlName;
    auto conn = Locate(Name, Type, sqlName);
    if (FKind == TDatabaseKind::Sql) {
        conn->Exec("ALTER TABLE " + QuoteIdent(sqlName) + " RENAME TO " + QuoteIdent(NewName));
        RenameMetadata(*conn, sqlName, NewName);
        conn->ClearCache();
        return;
    }
    std::string file = conn->FileName();
    if (conn.use_count() > 1) RaiseEngineError(DBIERR_LOCKED, Name + " is open");
    conn.reset();
    FFileConns.erase(file);
    std::string target = (fs::path(FPath) / NewName).string();
    if (TableTypeFromName(NewName) == ttDefault && NewName.find('.') == std::string::npos)
        target += fs::path(file).extension().string();
    std::error_code ec;
    fs::rename(file, target, ec);
    if (ec) RaiseEngineError(DBIERR_OSACCESS, ec.message());
}

void TEngineDatabase::EmptyTable(const std::string& Name, TTableType Type)
{
    std::string sqlName;
    auto conn = Locate(Name, Type, sqlName);
    conn->Exec("DELETE FROM " + QuoteIdent(sqlName));
}

std::shared_ptr<TEngineTable> TEngineDatabase::OpenTable(const std::string& Name, TTableType Type, bool ReadOnly,
                                                         bool Exclusive)
{
    std::string sqlName;
    auto conn = Locate(Name, Type, sqlName);
    std::string file = conn->FileName();
    if (auto it = FExclusive.find(file); it != FExclusive.end()) {
        if (!it->second.expired()) RaiseEngineError(DBIERR_LOCKED, Name + " is opened exclusively");
        FExclusive.erase(it);
    }
    if (Exclusive && FKind == TDatabaseKind::Standard) {
        long others = static_cast<long>(std::count(FTranConns.begin(), FTranConns.end(), conn));
        if (conn.use_count() > 1 + others) RaiseEngineError(DBIERR_LOCKED, Name + " is open");
        // The connection keeps the file's exclusive lock from now until it closes.
        conn->Exec("PRAGMA locking_mode=EXCLUSIVE");
        if (!conn->InTransaction()) conn->Exec("BEGIN EXCLUSIVE; COMMIT");
    }
    std::string listed = FKind == TDatabaseKind::Sql ? sqlName : fs::path(file).filename().string();
    auto table = std::make_shared<TEngineTable>(conn, listed, sqlName, ReadOnly);
    if (Exclusive && FKind == TDatabaseKind::Standard) FExclusive[file] = table;
    return table;
}

namespace {

// "ALTER TABLE <name> ADD PRIMARY KEY (<f1>, <f2>)", names optionally quoted.
bool ParseAddPrimaryKey(const std::string& Sql, std::string& Table, std::string& Fields)
{
    static const std::regex re(
        R"re(^\s*ALTER\s+TABLE\s+("([^"]+)"|'([^']+)'|(\S+))\s+ADD\s+PRIMARY\s+KEY\s*\(([^)]*)\)\s*;?\s*$)re",
        std::regex::icase);
    std::smatch m;
    if (!std::regex_match(Sql, m, re)) return false;
    Table = m[2].matched ? m[2].str() : m[3].matched ? m[3].str() : m[4].str();
    Fields.clear();
    std::string list = m[5].str();
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos) end = list.size();
        std::string f = list.substr(start, end - start);
        f.erase(std::remove_if(f.begin(), f.end(), [](char c) { return std::isspace((unsigned char)c) || c == '"'; }),
                f.end());
        if (!f.empty()) Fields += (Fields.empty() ? "" : ";") + f;
        start = end + 1;
    }
    return !Fields.empty();
}

} // namespace

void TEngineDatabase::AddPrimaryKey(const std::string& Table, const std::string& Fields)
{
    std::string sqlName;
    auto conn = Locate(Table, ttDefault, sqlName);
    TTableDesc desc;
    TTableType type = ttDefault;
    if (!ReadMetadata(*conn, sqlName, desc, type)) desc = DescribeSqlTable(*conn, sqlName);
    for (const auto& x : desc.Indexes)
        if (x.Has(ixPrimary)) RaiseEngineError(DBIERR_INVALIDPARAM, Table + " already has a primary key");
    TIndexDesc pk{{}, Fields, {}, IndexOpt(ixPrimary) | IndexOpt(ixUnique)};
    IndexKeyParts(desc, pk);
    desc.Indexes.insert(desc.Indexes.begin(), pk);
    conn->Exec("SAVEPOINT kel_pk");
    try {
        conn->Exec(CreateIndexSql(sqlName, desc, pk));
        WriteMetadata(*conn, sqlName, type, desc);
        conn->Exec("RELEASE kel_pk");
    } catch (...) {
        conn->Exec("ROLLBACK TO kel_pk; RELEASE kel_pk");
        throw;
    }
    conn->ClearCache();
}

int64_t TEngineDatabase::ExecSQL(const std::string& Sql, const std::vector<TValue>& Params)
{
    std::string table, fields;
    if (ParseAddPrimaryKey(Sql, table, fields)) {
        AddPrimaryKey(table, fields);
        return 0;
    }
    if (FKind != TDatabaseKind::Sql) return ExecStandardSQL(Sql, Params);
    auto st = FSqlConn->Prepare(Sql, false);
    for (size_t i = 0; i < Params.size(); ++i) {
        const auto& v = Params[i];
        int n = static_cast<int>(i) + 1;
        switch (v.Kind) {
        case TValueKind::Null: st.BindNull(n); break;
        case TValueKind::Integer: st.BindInt(n, v.Int); break;
        case TValueKind::Float: st.BindFloat(n, v.Float); break;
        case TValueKind::Text: st.BindText(n, v.Bytes); break;
        case TValueKind::Blob: st.BindBlob(n, v.Bytes); break;
        }
    }
    st.Execute();
    int64_t changed = FSqlConn->Changes();
    std::string u = UpperCase(Sql.substr(0, 16));
    if (u.find("CREATE") != std::string::npos || u.find("DROP") != std::string::npos ||
        u.find("ALTER") != std::string::npos)
        FSqlConn->ClearCache();
    return changed;
}

void TEngineDatabase::StartTransaction(TXILevel Level)
{
    if (FTran.State == xsACTIVE) RaiseEngineError(DBIERR_ACTIVETRAN);
    if (Level > xilREPEATABLEREAD) RaiseEngineError(DBIERR_INVALIDPARAM, "isolation level");
    if (FSqlConn) {
        FSqlConn->Exec("BEGIN");
    } else {
        FTranConns.clear();
        for (auto& [name, weak] : FFileConns)
            if (auto c = weak.lock()) {
                c->Exec("BEGIN");
                FTranConns.push_back(c);
            }
    }
    FTran.State = xsACTIVE;
    FTran.IsolationLevel = Level;
}

void TEngineDatabase::ForEachTransactional(void (*Action)(TSqlConnection&))
{
    if (FSqlConn) {
        Action(*FSqlConn);
        return;
    }
    for (auto& c : FTranConns) Action(*c);
}

void TEngineDatabase::Commit()
{
    if (FTran.State != xsACTIVE) RaiseEngineError(DBIERR_NOACTIVETRAN);
    // A busy commit leaves the transaction open so that it can be retried.
    ForEachTransactional([](TSqlConnection& c) {
        if (c.InTransaction()) c.Exec("COMMIT");
    });
    FTranConns.clear();
    FTran.State = xsINACTIVE;
}

void TEngineDatabase::Rollback()
{
    if (FTran.State != xsACTIVE) RaiseEngineError(DBIERR_NOACTIVETRAN);
    ForEachTransactional([](TSqlConnection& c) {
        if (c.InTransaction()) c.Exec("ROLLBACK");
    });
    FTranConns.clear();
    FTran.State = xsINACTIVE;
}

TTranInfo TEngineDatabase::GetTranInfo() const { return FTran; }

} // namespace host::engine
