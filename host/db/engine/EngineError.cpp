#include "host/db/engine/EngineError.h"

namespace host::engine {

std::string EngineErrorText(TDbiResult Code)
{
    switch (Code) {
    case DBIERR_BOF: return "At beginning of table";
    case DBIERR_EOF: return "At end of table";
    case DBIERR_RECNOTFOUND: return "Record not found";
    case DBIERR_NOCURRREC: return "No current record";
    case DBIERR_FILECORRUPT: return "Corrupt table file or not a table";
    case DBIERR_KEYVIOL: return "Key violation";
    case DBIERR_REQDERR: return "Field value required";
    case DBIERR_INVALIDPARAM: return "Invalid parameter";
    case DBIERR_INVALIDHNDL: return "Invalid handle to the function";
    case DBIERR_NOSUCHINDEX: return "Index does not exist";
    case DBIERR_INVALIDBOOKMARK: return "Invalid bookmark";
    case DBIERR_NOSUCHFILTER: return "Filter handle is invalid";
    case DBIERR_NOSUCHTABLE: return "Table does not exist";
    case DBIERR_NOSUCHFIELD: return "Field not found";
    case DBIERR_TABLEEXISTS: return "Table already exists";
    case DBIERR_TYPEMISMATCH: return "Type mismatch";
    case DBIERR_QRYSYNTAX: return "Invalid SQL statement";
    case DBIERR_NOTSUPPORTED: return "Capability not supported";
    case DBIERR_TABLEREADONLY: return "Table is read only";
    case DBIERR_ACTIVETRAN: return "A transaction is already active";
    case DBIERR_NOACTIVETRAN: return "No transaction is active";
    case DBIERR_LOCKED: return "Table is busy: locked by another user";
    case DBIERR_OSACCESS: return "Permission denied";
    case DBIERR_OSEINVAL: return "Invalid file or path";
    default: return "Database engine error";
    }
}

void RaiseEngineError(TDbiResult Code, const std::string& Detail)
{
    std::string msg = EngineErrorText(Code);
    if (!Detail.empty()) msg += ": " + Detail;
    throw EEngineError(Code, msg);
}

} // namespace host::engine
