#pragma once
// The engine's call interface on handles: each call returns DBIERR_NONE or an
// error code instead of raising; Check() turns a code into EDBEngineError.
#include <cstdint>
#include <functional>
#include <string>

#include "host/db/DBError.h"
#include "host/db/engine/Cursor.h"
#include "host/db/engine/Database.h"
#include "host/db/engine/EngineInfo.h"

namespace host {

using DBIResult = engine::TDbiResult;
using hDBICur = engine::TEngineCursor*;
using hDBIDb = engine::TEngineDatabase*;
using hDBIFilter = engine::TFilterHandle;
using hDBIXact = void*;
using CURProps = engine::TCursorProps;
using SYSVersion = engine::TSysVersion;
using SYSConfig = engine::TSysConfig;
using SYSInfo = engine::TSysInfo;
using CLIENTInfo = engine::TClientInfo;
using XInfo = engine::TTranInfo;

enum DBILockType { dbiNOLOCK, dbiREADLOCK, dbiWRITELOCK };

// A record callback: nonzero keeps the record. ClientData is what was given
// to DbiAddFilter; PhyRecNo the record's physical number.
using pfGENFilter = std::function<int(intptr_t ClientData, const engine::TRecord& Rec, int64_t PhyRecNo)>;

// Either an expression tree (copied) or a callback; returns the filter in hFilter.
DBIResult DbiAddFilter(hDBICur hCursor, intptr_t iClientData, uint16_t iPriority, bool bCanAbort,
                       const engine::TFilterExpr* pcanExpr, pfGENFilter pfFilter, hDBIFilter& hFilter);
DBIResult DbiActivateFilter(hDBICur hCursor, hDBIFilter hFilter);
DBIResult DbiDeactivateFilter(hDBICur hCursor, hDBIFilter hFilter);
DBIResult DbiDropFilter(hDBICur hCursor, hDBIFilter hFilter);
DBIResult DbiGetCursorProps(hDBICur hCursor, CURProps& curProps);
// Copies the current record into pRecBuff (when given).
DBIResult DbiGetRecord(hDBICur hCursor, DBILockType eLock, engine::TRecord* pRecBuff);
DBIResult DbiGetSeqNo(hDBICur hCursor, int32_t& iSeqNo);
// Field iField (1-based) of a record buffer; bBlank tells a null value.
DBIResult DbiGetField(hDBICur hCursor, uint16_t iField, const engine::TRecord& RecBuf, engine::TValue& Dest,
                      bool& bBlank);
DBIResult DbiSaveChanges(hDBICur hCursor);
DBIResult DbiGetSysVersion(SYSVersion& sysVersion);
DBIResult DbiGetSysConfig(SYSConfig& sysConfig);
DBIResult DbiGetSysInfo(SYSInfo& sysInfo);
DBIResult DbiGetNetUserName(std::string& UserName);
DBIResult DbiGetClientInfo(CLIENTInfo& clientInfo);
DBIResult DbiGetTranInfo(hDBIDb hDb, hDBIXact hXact, XInfo& xInfo);

// Raises EDBEngineError for a non-zero result, with the message of the
// failure that produced it when the last call failed with this code.
void Check(DBIResult Status);

} // namespace host
