#include "host/rtl/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace host {

void Abort() { throw EAbort("Operation aborted"); }

namespace {

bool IsTrimmed(char C) { return static_cast<unsigned char>(C) <= ' '; }

char UpAscii(char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 32) : C; }
char LowAscii(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C + 32) : C; }

} // namespace

std::string Trim(const std::string& S) { return TrimLeft(TrimRight(S)); }

std::string TrimLeft(const std::string& S)
{
    size_t i = 0;
    while (i < S.size() && IsTrimmed(S[i])) ++i;
    return S.substr(i);
}

std::string TrimRight(const std::string& S)
{
    size_t n = S.size();
    while (n > 0 && IsTrimmed(S[n - 1])) --n;
    return S.substr(0, n);
}

std::string UpperCase(const std::string& S)
{
    std::string r = S;
    std::transform(r.begin(), r.end(), r.begin(), UpAscii);
    return r;
}

std::string LowerCase(const std::string& S)
{
    std::string r = S;
    std::transform(r.begin(), r.end(), r.begin(), LowAscii);
    return r;
}

int CompareStr(const std::string& S1, const std::string& S2)
{
    size_t n = std::min(S1.size(), S2.size());
    for (size_t i = 0; i < n; ++i) {
        int d = static_cast<unsigned char>(S1[i]) - static_cast<unsigned char>(S2[i]);
        if (d != 0) return d;
    }
    return static_cast<int>(S1.size()) - static_cast<int>(S2.size());
}

int CompareText(const std::string& S1, const std::string& S2)
{
    size_t n = std::min(S1.size(), S2.size());
    for (size_t i = 0; i < n; ++i) {
        int d = static_cast<unsigned char>(UpAscii(S1[i])) - static_cast<unsigned char>(UpAscii(S2[i]));
        if (d != 0) return d;
    }
    return static_cast<int>(S1.size()) - static_cast<int>(S2.size());
}

bool SameText(const std::string& S1, const std::string& S2) { return CompareText(S1, S2) == 0; }

int Pos(const std::string& Substr, const std::string& S)
{
    if (Substr.empty()) return 0;
    size_t p = S.find(Substr);
    return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

int AnsiPos(const std::string& Substr, const std::string& S) { return Pos(Substr, S); }

std::string Copy(const std::string& S, int Index, int Count)
{
    if (Index < 1) Index = 1;
    if (Count <= 0 || Index > static_cast<int>(S.size())) return "";
    return S.substr(static_cast<size_t>(Index - 1), static_cast<size_t>(Count));
}

void Delete(std::string& S, int Index, int Count)
{
    if (Index < 1 || Index > static_cast<int>(S.size()) || Count <= 0) return;
    S.erase(static_cast<size_t>(Index - 1), static_cast<size_t>(Count));
}

void Insert(const std::string& Source, std::string& S, int Index)
{
    size_t at = static_cast<size_t>(std::clamp(Index, 1, static_cast<int>(S.size()) + 1) - 1);
    S.insert(at, Source);
}

std::string StringOfChar(char Ch, int Count) { return Count > 0 ? std::string(static_cast<size_t>(Count), Ch) : ""; }

int LastDelimiter(const std::string& Delimiters, const std::string& S)
{
    size_t p = S.find_last_of(Delimiters);
    return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

bool IsDelimiter(const std::string& Delimiters, const std::string& S, int Index)
{
    if (Index < 1 || Index > static_cast<int>(S.size())) return false;
    return Delimiters.find(S[static_cast<size_t>(Index - 1)]) != std::string::npos;
}

bool IsValidIdent(const std::string& Ident)
{
    auto alpha = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; };
    if (Ident.empty() || !alpha(Ident[0])) return false;
    return std::all_of(Ident.begin(), Ident.end(),
                       [&](char c) { return alpha(c) || std::isdigit(static_cast<unsigned char>(c)); });
}

std::string StringReplace(const std::string& S, const std::string& OldPattern, const std::string& NewPattern,
                          TReplaceFlags Flags)
{
    if (OldPattern.empty()) return S;
    bool ignoreCase = Flags.Contains(rfIgnoreCase);
    // Case mapping keeps lengths, so positions in the mapped text hold in S.
    const std::string hay = ignoreCase ? AnsiUpperCase(S) : S;
    const std::string needle = ignoreCase ? AnsiUpperCase(OldPattern) : OldPattern;
    std::string r;
    size_t from = 0;
    while (true) {
        size_t p = hay.find(needle, from);
        if (p == std::string::npos) break;
        r.append(S, from, p - from);
        r += NewPattern;
        from = p + needle.size();
        if (!Flags.Contains(rfReplaceAll)) break;
    }
    r.append(S, from, std::string::npos);
    return r;
}

std::string QuotedStr(const std::string& S) { return AnsiQuotedStr(S, '\''); }

std::string AnsiQuotedStr(const std::string& S, char Quote)
{
    std::string r(1, Quote);
    for (char c : S) {
        r += c;
        if (c == Quote) r += Quote;
    }
    r += Quote;
    return r;
}

std::string AnsiExtractQuotedStr(const char*& P, char Quote)
{
    if (P == nullptr || *P != Quote) return "";
    std::string r;
    const char* p = P + 1;
    while (*p != '\0') {
        if (*p == Quote) {
            if (p[1] != Quote) {
                ++p;
                break;
            }
            ++p;
        }
        r += *p++;
    }
    P = p;
    return r;
}

std::string AnsiDequotedStr(const std::string& S, char Quote)
{
    if (S.empty() || S[0] != Quote) return S;
    const char* p = S.c_str();
    return AnsiExtractQuotedStr(p, Quote);
}

std::string IntToStr(int64_t Value) { return std::to_string(Value); }

namespace {
std::string HexDigits(uint64_t V, int Digits)
{
    static const char* const Hex = "0123456789ABCDEF";
    std::string r;
    do {
        r.insert(r.begin(), Hex[V & 15]);
        V >>= 4;
    } while (V != 0);
    if (static_cast<int>(r.size()) < Digits) r.insert(0, static_cast<size_t>(Digits) - r.size(), '0');
    return r;
}

// The digits of S after blanks, sign and hex prefix, as an unsigned magnitude
// no greater than Limit.
bool ParseInteger(const std::string& S, uint64_t PosLimit, uint64_t NegLimit, uint64_t HexLimit, bool& Negative,
                  uint64_t& Magnitude)
{
    size_t i = 0, n = S.size();
    while (i < n && S[i] == ' ') ++i;
    Negative = false;
    if (i < n && (S[i] == '+' || S[i] == '-')) Negative = S[i++] == '-';
    bool hex = false;
    if (i < n && S[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < n && S[i] == '0' && (S[i + 1] == 'x' || S[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= n) return false;
    uint64_t limit = hex ? HexLimit : Negative ? NegLimit : PosLimit;
    uint64_t v = 0;
    for (; i < n; ++i) {
        int d;
        char c = S[i];
        if (c >= '0' && c <= '9') d = c - '0';
        else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        uint64_t base = hex ? 16 : 10;
        if (v > (limit - static_cast<uint64_t>(d)) / base) return false;
        v = v * base + static_cast<uint64_t>(d);
    }
    Magnitude = v;
    return true;
}
} // namespace

std::string IntToHex(int32_t Value, int Digits) { return HexDigits(static_cast<uint32_t>(Value), Digits); }

std::string IntToHex(int64_t Value, int Digits) { return HexDigits(static_cast<uint64_t>(Value), Digits); }

bool TryStrToInt(const std::string& S, int& Value)
{
    bool neg;
    uint64_t m;
    if (!ParseInteger(S, INT32_MAX, uint64_t(INT32_MAX) + 1, UINT32_MAX, neg, m)) return false;
    // Hex digits fill all 32 bits: $FFFFFFFF is -1.
    uint32_t bits = static_cast<uint32_t>(m);
    Value = static_cast<int32_t>(neg ? 0u - bits : bits);
    return true;
}

bool TryStrToInt64(const std::string& S, int64_t& Value)
{
    bool neg;
    uint64_t m;
    if (!ParseInteger(S, INT64_MAX, uint64_t(INT64_MAX) + 1, UINT64_MAX, neg, m)) return false;
    Value = static_cast<int64_t>(neg ? 0 - m : m);
    return true;
}

int StrToInt(const std::string& S)
{
    int v;
    if (!TryStrToInt(S, v)) ConvertErrorFmt("'%s' is not a valid integer value", {S});
    return v;
}

int64_t StrToInt64(const std::string& S)
{
    int64_t v;
    if (!TryStrToInt64(S, v)) ConvertErrorFmt("'%s' is not a valid integer value", {S});
    return v;
}

int StrToIntDef(const std::string& S, int Default)
{
    int v;
    return TryStrToInt(S, v) ? v : Default;
}

int64_t StrToInt64Def(const std::string& S, int64_t Default)
{
    int64_t v;
    return TryStrToInt64(S, v) ? v : Default;
}

int MulDiv(int Number, int Numerator, int Denominator)
{
    if (Denominator == 0) return -1;
    int64_t product = static_cast<int64_t>(Number) * Numerator;
    int64_t d = Denominator;
    if (d < 0) {
        product = -product;
        d = -d;
    }
    int64_t r = product >= 0 ? (product + d / 2) / d : (product - d / 2) / d;
    if (r > INT_MAX || r < -INT_MAX) return -1;
    return static_cast<int>(r);
}

} // namespace host
