#include "host/rtl/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace host {

namespace {

constexpr int MaxDigits = 18;
constexpr int InfExponent = 32767;
constexpr int NanExponent = -32768;

// Increments the decimal digit string; returns true when it carried out of
// the first digit (all nines).
bool IncrementDigits(std::string& D)
{
    for (size_t i = D.size(); i-- > 0;) {
        if (D[i] != '9') {
            ++D[i];
            return false;
        }
        D[i] = '0';
    }
    return true;
}

void InsertThousands(std::string& Int)
{
    if (ThousandSeparator == '\0') return;
    for (int i = static_cast<int>(Int.size()) - 3; i > 0; i -= 3) Int.insert(static_cast<size_t>(i), 1, ThousandSeparator);
}

std::string ExponentText(int Exp, bool AlwaysSign, int MinDigits)
{
    std::string r = "E";
    if (Exp < 0) r += '-';
    else if (AlwaysSign) r += '+';
    std::string n = std::to_string(std::abs(Exp));
    if (static_cast<int>(n.size()) < MinDigits) n.insert(0, static_cast<size_t>(MinDigits) - n.size(), '0');
    return r + n;
}

// Integer and fraction digits of R with exactly Decimals fraction digits.
void SplitFixed(const TFloatRec& R, int Decimals, std::string& Int, std::string& Frac)
{
    const std::string& D = R.Digits;
    int e = D.empty() ? 0 : R.Exponent;
    Int.clear();
    for (int i = 0; i < e; ++i) Int += i < static_cast<int>(D.size()) ? D[static_cast<size_t>(i)] : '0';
    if (Int.empty()) Int.push_back('0');
    Frac.clear();
    for (int i = 0; i < Decimals; ++i) {
        int k = e + i;
        Frac += k >= 0 && k < static_cast<int>(D.size()) ? D[static_cast<size_t>(k)] : '0';
    }
}

std::string FormatGeneral(double Value, int Precision, int Digits)
{
    TFloatRec r = FloatToDecimal(Value, Precision, 9999);
    if (r.Digits.empty()) return "0";
    std::string s = r.Negative ? "-" : "";
    const std::string& d = r.Digits;
    int e = r.Exponent;
    if (e > Precision || e < -3) {
        s += d[0];
        if (d.size() > 1) s += DecimalSeparator + d.substr(1);
        return s + ExponentText(e - 1, false, std::clamp(Digits, 0, 4));
    }
    if (e <= 0) return s + "0" + DecimalSeparator + std::string(static_cast<size_t>(-e), '0') + d;
    std::string i = d.substr(0, std::min<size_t>(d.size(), static_cast<size_t>(e)));
    i.append(static_cast<size_t>(e) - i.size(), '0');
    s += i;
    if (d.size() > static_cast<size_t>(e)) s += DecimalSeparator + d.substr(static_cast<size_t>(e));
    return s;
}

std::string FormatExponent(double Value, int Precision, int Digits)
{
    TFloatRec r = FloatToDecimal(Value, Precision, 9999);
    std::string d = r.Digits;
    int exp = d.empty() ? 0 : r.Exponent - 1;
    d.append(static_cast<size_t>(Precision) - d.size(), '0');
    std::string s = r.Negative ? "-" : "";
    s += d[0];
    if (Precision > 1) s += DecimalSeparator + d.substr(1);
    return s + ExponentText(exp, true, std::clamp(Digits, 0, 4));
}

std::string CurrencyText(const std::string& Number, bool Negative)
{
    const std::string& c = CurrencyString;
    if (!Negative) {
        switch (CurrencyFormat) {
        case 1: return Number + c;
        case 2: return c + " " + Number;
        case 3: return Number + " " + c;
        default: return c + Number;
        }
    }
    const std::string& n = Number;
    switch (NegCurrFormat) {
    case 1: return "-" + c + n;
    case 2: return c + "-" + n;
    case 3: return c + n + "-";
    case 4: return "(" + n + c + ")";
    case 5: return "-" + n + c;
    case 6: return n + "-" + c;
    case 7: return n + c + "-";
    case 8: return "-" + n + " " + c;
    case 9: return "-" + c + " " + n;
    case 10: return n + " " + c + "-";
    case 11: return c + " " + n + "-";
    case 12: return c + " -" + n;
    case 13: return n + "- " + c;
    case 14: return "(" + c + " " + n + ")";
    case 15: return "(" + n + " " + c + ")";
    default: return "(" + c + n + ")";
    }
}

std::string FormatFixed(double Value, TFloatFormat Format, int Precision, int Digits)
{
    Digits = std::clamp(Digits, 0, MaxDigits);
    TFloatRec r = FloatToDecimal(Value, Precision, Digits);
    if (!r.Digits.empty() && r.Exponent > Precision) return FormatGeneral(Value, Precision, 0);
    std::string i, f;
    SplitFixed(r, Digits, i, f);
    if (Format != ffFixed) InsertThousands(i);
    std::string n = f.empty() ? i : i + DecimalSeparator + f;
    if (Format == ffCurrency) return CurrencyText(n, r.Negative);
    return r.Negative ? "-" + n : n;
}

bool IsBlank(char C) { return C == ' '; }

} // namespace

TFloatRec FloatToDecimal(double Value, int Precision, int Decimals)
{
    TFloatRec r;
    r.Negative = std::signbit(Value);
    if (std::isnan(Value)) {
        r.Exponent = NanExponent;
        r.Negative = false;
        return r;
    }
    if (std::isinf(Value)) {
        r.Exponent = InfExponent;
        return r;
    }
    if (Value == 0) {
        r.Negative = false;
        return r;
    }
    // The value's 18 significant digits first, then decimal rounding half away
    // from zero: 2.5 shows as 3 with no decimals.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(Value), std::chars_format::scientific, MaxDigits - 1);
    std::string text(buf, res.ptr);
    size_t ePos = text.find('e');
    std::string d = text.substr(0, 1) + text.substr(2, ePos - 2);
    int exponent = std::atoi(text.c_str() + ePos + 1) + 1;
    Precision = std::clamp(Precision, 1, MaxDigits);
    int keep = std::min<int64_t>(Precision, static_cast<int64_t>(exponent) + Decimals);
    if (keep < 0) {
        r.Negative = false;
        return r;
    }
    bool up = keep < static_cast<int>(d.size()) && d[static_cast<size_t>(keep)] >= '5';
    d.resize(static_cast<size_t>(keep));
    if (up && IncrementDigits(d)) {
        d.insert(0, 1, '1');
        ++exponent;
    }
    while (!d.empty() && d.back() == '0') d.pop_back();
    if (d.empty()) {
        r.Negative = false;
        return r;
    }
    r.Digits = d;
    r.Exponent = exponent;
    return r;
}

std::string FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits)
{
    if (std::isnan(Value)) return "NAN";
    if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
    Precision = std::clamp(Precision, 1, MaxDigits);
    switch (Format) {
    case ffExponent: return FormatExponent(Value, Precision, Digits);
    case ffFixed:
    case ffNumber:
    case ffCurrency: return FormatFixed(Value, Format, Precision, Digits);
    default: return FormatGeneral(Value, Precision, Digits);
    }
}

std::string FloatToStr(double Value) { return FloatToStrF(Value, ffGeneral, 15, 0); }

std::string CurrToStr(double Value)
{
    std::string s = FloatToStrF(Value, ffFixed, 15, 4);
    size_t dot = s.find(DecimalSeparator);
    if (dot == std::string::npos || s.find('E') != std::string::npos) return s;
    while (s.back() == '0') s.pop_back();
    if (s.back() == DecimalSeparator) s.pop_back();
    return s;
}

std::string CurrToStrF(double Value, TFloatFormat Format, int Digits)
{
    return FloatToStrF(Value, Format, 15, Digits);
}

std::string FormatCurr(const std::string& Format, double Value) { return FormatFloat(Format, Value); }

bool TryStrToFloat(const std::string& S, double& Value)
{
    size_t p = 0, n = S.size();
    while (p < n && IsBlank(S[p])) ++p;
    while (n > p && IsBlank(S[n - 1])) --n;
    std::string norm;
    if (p < n && (S[p] == '+' || S[p] == '-')) norm += S[p++];
    int mantDigits = 0, intDigits = 0, leadingFracZeros = 0;
    bool seenNonZero = false;
    for (; p < n && std::isdigit(static_cast<unsigned char>(S[p])); ++p, ++mantDigits) {
        norm += S[p];
        if (S[p] != '0') seenNonZero = true;
        if (seenNonZero) ++intDigits;
    }
    if (p < n && S[p] == DecimalSeparator) {
        norm += '.';
        for (++p; p < n && std::isdigit(static_cast<unsigned char>(S[p])); ++p, ++mantDigits) {
            norm += S[p];
            if (S[p] != '0') seenNonZero = true;
            else if (!seenNonZero) ++leadingFracZeros;
        }
    }
    if (mantDigits == 0) return false;
    if (p < n && (S[p] == 'e' || S[p] == 'E')) {
        norm += 'e';
        ++p;
        if (p < n && (S[p] == '+' || S[p] == '-')) norm += S[p++];
        size_t start = p;
        while (p < n && std::isdigit(static_cast<unsigned char>(S[p]))) norm += S[p++];
        if (p == start) return false;
    }
    if (p != n) return false;
    double v = 0;
    const char* first = norm.c_str() + (norm[0] == '+' ? 1 : 0);
    auto res = std::from_chars(first, norm.c_str() + norm.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // Too small to represent is zero; too large is an error.
        size_t e = norm.find('e');
        long long exp = e == std::string::npos ? 0 : std::strtoll(norm.c_str() + e + 1, nullptr, 10);
        exp = std::clamp(exp, -1000000000LL, 1000000000LL);  // strtoll saturates; keep the sum below in range
        long long magnitude = (intDigits > 0 ? intDigits : -leadingFracZeros) + exp;
        if (magnitude > 0) return false;
        v = norm[0] == '-' ? -0.0 : 0.0;
    } else if (res.ec != std::errc() || res.ptr != norm.c_str() + norm.size()) {
        return false;
    }
    Value = v;
    return true;
}

double StrToFloat(const std::string& S)
{
    double v;
    if (!TryStrToFloat(S, v)) ConvertErrorFmt("'%s' is not a valid floating point value", {S});
    return v;
}

double StrToFloatDef(const std::string& S, double Default)
{
    double v;
    return TryStrToFloat(S, v) ? v : Default;
}

double StrToCurr(const std::string& S)
{
    double v = StrToFloat(S);
    return std::round(v * 10000) / 10000;
}

namespace {
void CheckIntRange(double X)
{
    // 2^63 is the first double beyond int64.
    if (!std::isfinite(X) || X >= 9223372036854775808.0 || X < -9223372036854775808.0)
        throw EInvalidOp("Invalid floating point operation");
}
} // namespace

int64_t Round(double X)
{
    double f = std::floor(X);
    double d = X - f;
    double r = d > 0.5 ? f + 1 : d < 0.5 ? f : (std::fmod(f, 2.0) == 0 ? f : f + 1);
    CheckIntRange(r);
    return static_cast<int64_t>(r);
}

int64_t Trunc(double X)
{
    double t = std::trunc(X);
    CheckIntRange(t);
    return static_cast<int64_t>(t);
}

double Int(double X) { return std::trunc(X); }

double Frac(double X) { return X - std::trunc(X); }

} // namespace host
