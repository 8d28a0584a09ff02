#pragma once
// EDBEngineError: an engine failure as the framework reports it, a stack of
// errors whose top one gives the message.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/db/engine/EngineError.h"
#include "host/rtl/SysUtils.h"

namespace host {

HOST_DECLARE_EXCEPTION(EDatabaseError, Exception);

class TDBError {
public:
    TDBError(uint16_t AErrorCode, std::string AMessage, int ANativeError = 0)
        : FErrorCode(AErrorCode), FNativeError(ANativeError), FMessage(std::move(AMessage)) {}
    uint16_t GetErrorCode() const { return FErrorCode; }
    int GetCategory() const { return FErrorCode >> 8; }
    int GetSubCode() const { return FErrorCode & 0xFF; }
    int GetNativeError() const { return FNativeError; }
    const std::string& GetMessage() const { return FMessage; }

private:
    uint16_t FErrorCode;
    int FNativeError;
    std::string FMessage;
};

class EDBEngineError : public EDatabaseError {
public:
    // One error with Code; Message empty takes the engine's wording.
    explicit EDBEngineError(uint16_t ErrorCode, const std::string& Message = {});
    explicit EDBEngineError(const engine::EEngineError& Error);
    const char* ClassName() const noexcept override { return "EDBEngineError"; }

    int GetErrorCount() const { return static_cast<int>(FErrors.size()); }
    const TDBError& GetErrors(int Index) const { return FErrors.at(static_cast<size_t>(Index)); }
    // Adds an error under the top one (context such as the table name).
    void AddError(const TDBError& Error) { FErrors.push_back(Error); }

private:
    std::vector<TDBError> FErrors;
};

// Runs Action, turning engine failures into EDBEngineError.
template <class F>
decltype(auto) DbiGuard(F&& Action)
{
    try {
        return Action();
    } catch (const engine::EEngineError& e) {
        throw EDBEngineError(e);
    }
}

} // namespace host
