#pragma once
// Helper routines for datasets: read-only test, the largest value of a field
// type, a dataset's description and the file mask of a table type.
#include <string>

#include "host/db/Query.h"

namespace kel {

// Set by nothing in the library; kept for applications that test it.
extern bool Apollo_DB_Installed;

// True for nullptr; a table's ReadOnly; for a query or stored procedure not
// CanModify; true for other datasets.
bool kelDataSetReadOnly(host::TDataSet* DataSet);
// The largest value of a field type as text, for open-ended ranges; empty
// for types without one.
std::string kelMaxFieldType(host::TFieldType FieldType);
// A table's TableName, another dataset's component name, or "nil".
std::string kelGetDataSetDesc(host::TDataSet* DataSet);
// "*.DB", "*.DBF", "*.TXT" or empty.
std::string kelGetTableTypeMask(host::TTableType TableType);

} // namespace kel
