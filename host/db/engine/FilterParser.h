#pragma once
// The filter text compiler: turns a filter expression such as
//   ( [Qty] >= 10 ) AND ( [Paid] ) OR [City] = 'Par*'
// into a filter expression tree over a table's fields.
#include <string>
#include <vector>

#include "host/db/engine/FilterExpr.h"
#include "host/db/engine/Schema.h"
#include "host/rtl/SysUtils.h"

namespace host::engine {

// A filter text that cannot be compiled; Ident is the string-table id of the text.
class EFilterExprError : public Exception {
public:
    EFilterExprError(int AIdent, std::string Msg) : Exception(std::move(Msg)), FIdent(AIdent) {}
    const char* ClassName() const noexcept override { return "EFilterExprError"; }
    int GetIdent() const { return FIdent; }

private:
    int FIdent;
};

// String-table ids of the compiler's messages.
constexpr int SFilterTerminated = 16028;
constexpr int SFilterFieldUnterminated = 16029;
constexpr int SFilterStringUnterminated = 16030;
constexpr int SFilterInvalidChar = 16031;
constexpr int SFilterParenExpected = 16032;
constexpr int SFilterExprExpected = 16033;
constexpr int SFilterFieldAndConst = 16034;
constexpr int SFilterBadField = 16035;
constexpr int SFilterNullOperator = 16036;
constexpr int SFilterConstRange = 16037;
constexpr int SFilterNotBoolean = 16038;
constexpr int SFilterMalformed = 16039;

// Fields are looked up by name without regard to case; Options are the
// foCaseInsensitive / foNoPartialCompare bits.
TFilterExpr CompileFilter(const std::string& Text, const std::vector<TFieldDesc>& Fields, TFilterOptions Options = 0);

} // namespace host::engine
