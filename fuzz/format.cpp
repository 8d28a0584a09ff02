// Format, FormatFloat, FormatDateTime, the text parsers and the text
// comparisons on arbitrary input:
// each may reject it with an exception of the runtime, never crash or hang.
#include "host/rtl/SysUtils.h"

#include <cmath>
#include <cstdlib>
#include <string>

using namespace host;

namespace {

void Check(bool Condition)
{
    if (!Condition) std::abort();
}

void Formats(const std::string& S)
{
    static int Target = 0;
    try {
        Format(S, {42, -7, 3.25, "text", 'c', static_cast<const void*>(&Target), 1e300, 2});
    } catch (const EConvertError&) {
    }
    try {
        FormatFloat(S, -1234.5678);
        FormatFloat(S, 0);
        FormatFloat(S, 1e-300);
    } catch (const EConvertError&) {
    }
    FormatDateTime(S, 39145.5457);
    FormatDateTime(S, -1.25);
}

void Parsers(const std::string& S)
{
    double d;
    if (TryStrToFloat(S, d)) Check(std::isfinite(d));
    int i;
    TryStrToInt(S, i);
    int64_t i64;
    TryStrToInt64(S, i64);
    TDateTime t;
    if (TryStrToDate(S, t)) Check(t >= -693593 && t <= 2958466);
    if (TryStrToTime(S, t)) Check(t >= 0 && t < 1);
    TryStrToDateTime(S, t);
    // Case mapping keeps lengths (StringReplace relies on it); the dictionary
    // order is antisymmetric.
    Check(AnsiUpperCase(S).size() == S.size() && AnsiLowerCase(S).size() == S.size());
    size_t half = S.size() / 2;
    std::string a = S.substr(0, half), b = S.substr(half);
    Check(AnsiCompareStr(a, b) == -AnsiCompareStr(b, a));
    Check(AnsiCompareText(a, b) == -AnsiCompareText(b, a));
    StringReplace(S, b, a, {rfReplaceAll, rfIgnoreCase});
    try {
        MatchesMask("some.name.txt", S);
    } catch (const EMaskException&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    std::string s(reinterpret_cast<const char*>(Data), Size);
    Formats(s);
    Parsers(s);
    return 0;
}
