#pragma once
// Table structure: field and index definitions, table types, and how they are
// kept in a table file's own metadata tables so that a table round-trips exactly.
#include <cstdint>
#include <string>
#include <vector>

#include "host/db/engine/Value.h"

namespace host {

enum TTableType : uint8_t { ttDefault, ttParadox, ttDBase, ttASCII };
enum TIndexOption : uint8_t { ixPrimary, ixUnique, ixDescending, ixCaseInsensitive, ixExpression };

} // namespace host

namespace host::engine {

class TSqlConnection;

using TIndexOptions = uint32_t;
constexpr TIndexOptions IndexOpt(TIndexOption O) { return 1u << O; }

struct TFieldDesc {
    std::string Name;
    TFieldType DataType = ftUnknown;
    int Size = 0;
    bool Required = false;
};

struct TIndexDesc {
    std::string Name;       // empty for the unnamed primary index
    std::string Fields;     // ';'-separated field names
    std::string Expression; // for ixExpression indexes
    TIndexOptions Options = 0;

    bool Has(TIndexOption O) const { return (Options & IndexOpt(O)) != 0; }
};

struct TTableDesc {
    std::vector<TFieldDesc> Fields;
    std::vector<TIndexDesc> Indexes;
};

// The storage class a logical type is kept in.
TValueKind StorageKind(TFieldType T);
bool IsBlobType(TFieldType T);
bool IsStringType(TFieldType T);
const char* SqlTypeName(TFieldType T);
// The logical type for a column declared by plain SQL.
TFieldType FieldTypeFromDecl(const std::string& Decl);

TTableType TableTypeFromName(const std::string& Name);
std::string ExtensionOf(TTableType T);

// Splits "A;B; C" into trimmed names.
std::vector<std::string> SplitFieldNames(const std::string& Fields);
// Case-insensitive ASCII comparison, the way field and table names compare.
bool SameName(const std::string& A, const std::string& B);
std::string UpperCase(std::string S);

// Reads and writes the metadata of table SqlName in Conn.
void EnsureMetadataTables(TSqlConnection& Conn);
void WriteMetadata(TSqlConnection& Conn, const std::string& SqlName, TTableType Type, const TTableDesc& Desc);
// False when the file holds no metadata for SqlName (a table made by plain SQL).
bool ReadMetadata(TSqlConnection& Conn, const std::string& SqlName, TTableDesc& Desc, TTableType& Type);
void DeleteMetadata(TSqlConnection& Conn, const std::string& SqlName);
void RenameMetadata(TSqlConnection& Conn, const std::string& OldName, const std::string& NewName);
// The structure of a table without metadata, from the store's catalogue.
TTableDesc DescribeSqlTable(TSqlConnection& Conn, const std::string& SqlName);

// Column name used by tables this engine creates for their row identifiers,
// which are never reused so that bookmarks and record numbers stay stable.
constexpr const char* RecNoColumn = "KEL$RECNO";

} // namespace host::engine
