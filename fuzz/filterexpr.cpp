// Feeds arbitrary filter texts to the compiler and evaluates what compiles
// against a fixed record: only compile errors may come out.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/db/engine/FilterParser.h"

using namespace host;
using namespace host::engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const std::vector<TFieldDesc> fields = {
        {"NAME", ftString, 30, false}, {"Cust No", ftSmallint, 0, false}, {"QTY", ftInteger, 0, false},
        {"PAID", ftBoolean, 0, false}, {"PRICE", ftFloat, 0, false},      {"SINCE", ftDate, 0, false},
        {"AT", ftTime, 0, false},      {"STAMP", ftDateTime, 0, false},   {"NOTES", ftMemo, 0, false}};
    static const TRecord record = [] {
        TRecord r(fields.size());
        r.Values = {TValue::OfText("Smith"), TValue::OfInt(7), TValue(), TValue::OfBool(true), TValue::OfFloat(2.5),
                    TValue::OfFloat(45000), TValue::OfFloat(0.5), TValue::OfFloat(45000.25), TValue::OfText("x")};
        return r;
    }();
    if (Size < 1) return 0;
    TFilterOptions options = Data[0] & 3;
    std::string text(reinterpret_cast<const char*>(Data) + 1, Size - 1);
    try {
        TFilterExpr e = CompileFilter(text, fields, options);
        TFilterExpr copy = e;
        (void)copy.Evaluate(record);
    } catch (const EFilterExprError&) {
    }
    return 0;
}
