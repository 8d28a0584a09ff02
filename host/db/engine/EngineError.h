#pragma once
// Failures of the database engine: one exception class carrying the engine's
// numeric error code (category in the high byte, code in the low byte).
#include <cstdint>
#include <string>

#include "host/rtl/SysUtils.h"

namespace host::engine {

using TDbiResult = uint16_t;

constexpr TDbiResult DBIERR_NONE = 0;

constexpr TDbiResult ERRCAT_NOTFOUND = 0x22;
constexpr TDbiResult ERRCAT_DATACORRUPT = 0x21;
constexpr TDbiResult ERRCAT_INTEGRITY = 0x26;
constexpr TDbiResult ERRCAT_INVALIDREQ = 0x27;
constexpr TDbiResult ERRCAT_LOCKCONFLICT = 0x29;
constexpr TDbiResult ERRCAT_QUERY = 0x2E;
constexpr TDbiResult ERRCAT_IO = 0x2B;

constexpr TDbiResult DBIERR_BOF = 0x2201;
constexpr TDbiResult DBIERR_EOF = 0x2202;
constexpr TDbiResult DBIERR_RECNOTFOUND = 0x2206;
constexpr TDbiResult DBIERR_NOCURRREC = 0x2205;
constexpr TDbiResult DBIERR_FILECORRUPT = 0x2102;
constexpr TDbiResult DBIERR_KEYVIOL = 0x2601;
constexpr TDbiResult DBIERR_REQDERR = 0x2604;
constexpr TDbiResult DBIERR_INVALIDPARAM = 0x2702;
constexpr TDbiResult DBIERR_INVALIDHNDL = 0x2706;
constexpr TDbiResult DBIERR_NOSUCHINDEX = 0x270D;
constexpr TDbiResult DBIERR_INVALIDBOOKMARK = 0x2716;
constexpr TDbiResult DBIERR_NOSUCHFILTER = 0x2722;
constexpr TDbiResult DBIERR_NOSUCHTABLE = 0x2729;
constexpr TDbiResult DBIERR_NOSUCHFIELD = 0x2710;
constexpr TDbiResult DBIERR_TABLEEXISTS = 0x2727;
constexpr TDbiResult DBIERR_TYPEMISMATCH = 0x2E16;
constexpr TDbiResult DBIERR_QRYSYNTAX = 0x2E01;
constexpr TDbiResult DBIERR_NOTSUPPORTED = 0x273E;
constexpr TDbiResult DBIERR_TABLEREADONLY = 0x2721;
constexpr TDbiResult DBIERR_ACTIVETRAN = 0x2731;
constexpr TDbiResult DBIERR_NOACTIVETRAN = 0x2732;
constexpr TDbiResult DBIERR_LOCKED = 0x2901;
constexpr TDbiResult DBIERR_OSACCESS = 0x2B01;
constexpr TDbiResult DBIERR_OSEINVAL = 0x2B02;

class EEngineError : public Exception {
public:
    EEngineError(TDbiResult ACode, std::string Msg) : Exception(std::move(Msg)), FErrorCode(ACode) {}
    const char* ClassName() const noexcept override { return "EEngineError"; }

    TDbiResult GetErrorCode() const { return FErrorCode; }
    int GetCategory() const { return FErrorCode >> 8; }
    int GetSubCode() const { return FErrorCode & 0xFF; }

private:
    TDbiResult FErrorCode;
};

// The engine's own wording for Code, for messages that carry no detail.
std::string EngineErrorText(TDbiResult Code);

[[noreturn]] void RaiseEngineError(TDbiResult Code, const std::string& Detail = {});

} // namespace host::engine
