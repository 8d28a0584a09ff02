#include "host/db/BDE.h"

namespace host {

namespace {
// The text of the last failing call, so that Check can report its detail.
struct TLastError {
    DBIResult Code = engine::DBIERR_NONE;
    std::string Message;
} LastError;

template <class F>
DBIResult Call(F&& Action)
{
    try {
        Action();
        return engine::DBIERR_NONE;
    } catch (const engine::EEngineError& e) {
        LastError = {e.GetErrorCode(), e.GetMessage()};
        return e.GetErrorCode();
    }
}

DBIResult Invalid()
{
    LastError = {engine::DBIERR_INVALIDHNDL, engine::EngineErrorText(engine::DBIERR_INVALIDHNDL)};
    return engine::DBIERR_INVALIDHNDL;
}
} // namespace

DBIResult DbiAddFilter(hDBICur hCursor, intptr_t iClientData, uint16_t iPriority, bool, const engine::TFilterExpr* pcanExpr,
                       pfGENFilter pfFilter, hDBIFilter& hFilter)
{
    if (!hCursor) return Invalid();
    if (!pcanExpr && !pfFilter) {
        LastError = {engine::DBIERR_INVALIDPARAM, "a filter needs an expression or a callback"};
        return engine::DBIERR_INVALIDPARAM;
    }
    return Call([&] {
        if (pcanExpr) {
            hFilter = hCursor->AddFilter(iPriority, *pcanExpr);
            return;
        }
        hFilter = hCursor->AddFilter(iPriority, [pfFilter, iClientData](const engine::TRecord& Rec) {
            return pfFilter(iClientData, Rec, Rec.RowId) != 0;
        });
    });
}

DBIResult DbiActivateFilter(hDBICur hCursor, hDBIFilter hFilter)
{
    if (!hCursor) return Invalid();
    return Call([&] {
        hCursor->ActivateFilter(hFilter);
        hCursor->Refresh();
    });
}

DBIResult DbiDeactivateFilter(hDBICur hCursor, hDBIFilter hFilter)
{
    if (!hCursor) return Invalid();
    return Call([&] {
        hCursor->DeactivateFilter(hFilter);
        hCursor->Refresh();
    });
}

DBIResult DbiDropFilter(hDBICur hCursor, hDBIFilter hFilter)
{
    if (!hCursor) return Invalid();
    return Call([&] {
        hCursor->DropFilter(hFilter);
        hCursor->Refresh();
    });
}

DBIResult DbiGetCursorProps(hDBICur hCursor, CURProps& curProps)
{
    if (!hCursor) return Invalid();
    return Call([&] { curProps = hCursor->GetCursorProps(); });
}

DBIResult DbiGetRecord(hDBICur hCursor, DBILockType, engine::TRecord* pRecBuff)
{
    if (!hCursor) return Invalid();
    return Call([&] {
        auto rec = hCursor->GetRecord();
        if (pRecBuff) *pRecBuff = *rec;
    });
}

DBIResult DbiGetSeqNo(hDBICur hCursor, int32_t& iSeqNo)
{
    if (!hCursor) return Invalid();
    return Call([&] { iSeqNo = static_cast<int32_t>(hCursor->GetSeqNo()); });
}

DBIResult DbiGetField(hDBICur hCursor, uint16_t iField, const engine::TRecord& RecBuf, engine::TValue& Dest,
                      bool& bBlank)
{
    if (!hCursor) return Invalid();
    if (iField < 1 || iField > RecBuf.Values.size()) {
        LastError = {engine::DBIERR_NOSUCHFIELD, engine::EngineErrorText(engine::DBIERR_NOSUCHFIELD)};
        return engine::DBIERR_NOSUCHFIELD;
    }
    Dest = RecBuf.Values[iField - 1u];
    bBlank = Dest.IsNull();
    return engine::DBIERR_NONE;
}

DBIResult DbiSaveChanges(hDBICur hCursor)
{
    if (!hCursor) return Invalid();
    return Call([&] { hCursor->SaveChanges(); });
}

DBIResult DbiGetSysVersion(SYSVersion& sysVersion)
{
    return Call([&] { sysVersion = engine::GetSysVersion(); });
}

DBIResult DbiGetSysConfig(SYSConfig& sysConfig)
{
    return Call([&] { sysConfig = engine::GetSysConfig(); });
}

DBIResult DbiGetSysInfo(SYSInfo& sysInfo)
{
    return Call([&] { sysInfo = engine::GetSysInfo(); });
}

DBIResult DbiGetNetUserName(std::string& UserName)
{
    return Call([&] { UserName = engine::GetNetUserName(); });
}

DBIResult DbiGetClientInfo(CLIENTInfo& clientInfo)
{
    return Call([&] { clientInfo = engine::GetClientInfo(); });
}

DBIResult DbiGetTranInfo(hDBIDb hDb, hDBIXact, XInfo& xInfo)
{
    if (!hDb) return Invalid();
    return Call([&] { xInfo = hDb->GetTranInfo(); });
}

void Check(DBIResult Status)
{
    if (Status == engine::DBIERR_NONE) return;
    std::string msg = LastError.Code == Status ? LastError.Message : std::string();
    throw EDBEngineError(Status, msg);
}

} // namespace host
