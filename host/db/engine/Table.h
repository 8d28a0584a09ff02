#pragma once
// One open table: its structure, its connection and statements, record
// fetching by row identifier and the write path shared by its cursors.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/db/engine/Schema.h"
#include "host/db/engine/Sqlite.h"
#include "host/db/engine/Value.h"

namespace host::engine {

// One column of an ordering: its SQL expression, how texts compare and the direction.
struct TKeyPart {
    std::string Sql;
    TCollation Coll = TCollation::Binary;
    bool Descending = false;
    int FieldNo = -1; // -1 for an expression
};

// The order of a cursor: an index of the table, an ad hoc field list, or the
// physical (row identifier) order when Parts is empty.
struct TOrder {
    int IndexNo = -1;
    std::vector<TKeyPart> Parts;
    bool IsPhysical() const { return Parts.empty(); }
    // The statement reading a row's key, built on first use.
    mutable std::string KeySql;
};

// Compares two key tuples over the first Count parts of Order (row identifiers aside).
int CompareKeys(const TOrder& Order, const std::vector<TValue>& A, const std::vector<TValue>& B, size_t Count);

// What the result of a select is read through (see TEngineDatabase::OpenQuery):
// row identifiers of one table (or of a temporary table holding the result),
// the select list as the fields, the query's condition and order.
struct TViewDef {
    std::string Name;
    std::string FromSql;
    std::string RowIdSql;
    std::string FieldListSql;
    TTableDesc Desc;
    std::string WhereSql;
    std::vector<TValue> WhereParams;
    std::vector<TKeyPart> Order;
    // Live results: the table edits are written to and each field's column there.
    std::string WriteTable;
    std::vector<std::string> WriteColumns;
    // Marks the view's statements in the connection's statement cache.
    std::string Tag;
    // A temporary table holding the result, dropped with the view.
    std::string DropTable;
};

class TEngineTable {
public:
    // Name: the table's name as the database lists it; SqlName: the table inside the file.
    TEngineTable(std::shared_ptr<TSqlConnection> Conn, std::string Name, std::string SqlName, bool ReadOnly);
    // A query result; read-only unless View names a table to write to.
    TEngineTable(std::shared_ptr<TSqlConnection> Conn, TViewDef View);
    ~TEngineTable();
    TEngineTable(const TEngineTable&) = delete;
    TEngineTable& operator=(const TEngineTable&) = delete;

    bool IsView() const { return FIsView; }
    // The query's own condition, ANDed into every scan of a view.
    const std::string& ViewWhereSql() const { return FWhereSql; }
    const std::vector<TValue>& ViewWhereParams() const { return FWhereParams; }
    // Whether the row still satisfies the view's condition.
    bool MatchesView(int64_t RowId) const;

    const std::string& GetName() const { return FName; }
    const std::string& GetSqlName() const { return FSqlName; }
    TTableType GetTableType() const { return FType; }
    const TTableDesc& GetDesc() const { return FDesc; }
    int GetFieldCount() const { return static_cast<int>(FDesc.Fields.size()); }
    const TFieldDesc& GetField(int FieldNo) const { return FDesc.Fields.at(FieldNo); }
    // -1 when the table has no such field.
    int FieldIndex(const std::string& Name) const;
    int FieldIndexChecked(const std::string& Name) const;
    bool GetReadOnly() const { return FReadOnly; }
    TSqlConnection& Conn() const { return *FConn; }
    const std::shared_ptr<TSqlConnection>& SharedConn() const { return FConn; }
    // Identifies the table for bookmark validation.
    uint64_t GetStamp() const { return FStamp; }

    // SQL fragments.
    const std::string& RowIdSql() const { return FRowIdSql; }
    const std::string& TableSql() const { return FTableSql; }
    const std::string& FieldListSql() const { return FFieldListSql; }

    TOrder PhysicalOrder() const { return {}; }
    // Order of the index named Name; empty Name gives the primary index when the
    // table has one, else the physical order.
    TOrder OrderForIndexName(const std::string& Name) const;
    // Order by a ';'-separated field list; an index with these leading fields is
    // used when there is one.
    TOrder OrderForFieldNames(const std::string& Fields) const;
    TOrder OrderForIndex(int IndexNo) const;
    int PrimaryIndex() const;

    bool FetchRecord(int64_t RowId, TRecord& Rec) const;
    bool FetchKey(int64_t RowId, const TOrder& Order, std::vector<TValue>& Key) const;
    int64_t GetRecordCount() const;

    // Writes; constraint failures raise key-violation or required-field errors
    // and leave the stored data as it was.
    int64_t InsertRecord(const TRecord& Rec);
    void ModifyRecord(int64_t RowId, const TRecord& Rec);
    void DeleteRecord(int64_t RowId);

    // Reads a row of a running statement from column Offset on into Rec.
    void ReadRow(const TSqlStatement& St, int Offset, TRecord& Rec) const;
    // The value as the field stores it; raises a type mismatch for values the field cannot hold.
    TValue Coerce(int FieldNo, const TValue& V) const;

private:
    void BindValue(TSqlStatement& St, int Index, int FieldNo, const TValue& V) const;

    std::shared_ptr<TSqlConnection> FConn;
    std::string FName, FSqlName;
    TTableType FType = ttDefault;
    TTableDesc FDesc;
    bool FReadOnly;
    bool FHasRecNo = false;
    uint64_t FStamp = 0;
    std::string FRowIdSql, FTableSql, FFieldListSql;
    std::string FSelectByRowId, FInsertSql, FUpdateSql, FDeleteSql;
    // Where writes go and the columns written (the table itself, or a live view's table).
    std::string FWriteTableSql;
    std::vector<std::string> FWriteColumns;
    bool FIsView = false;
    std::string FWhereSql, FTag, FDropTable;
    std::vector<TValue> FWhereParams;
    std::vector<TKeyPart> FViewOrder;
    void BuildWriteSql();
};

// SQL texts shared by table creation and ordering.
std::string IndexSqlName(const std::string& SqlName, const TIndexDesc& Index);
// The key parts of Index over Desc; raises for unknown fields.
std::vector<TKeyPart> IndexKeyParts(const TTableDesc& Desc, const TIndexDesc& Index);
std::string CreateIndexSql(const std::string& SqlName, const TTableDesc& Desc, const TIndexDesc& Index);
// Translates an index expression (field names, '+' concatenation, string
// literals, upper/lower/trim/substr calls) into SQL.
std::string IndexExpressionSql(const TTableDesc& Desc, const std::string& Expr);

} // namespace host::engine
