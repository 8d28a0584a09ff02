#pragma once
// Floating-point text conversions and rounding. Decimal text follows the
// locale settings (DecimalSeparator, ThousandSeparator, the currency settings).
#include <cstdint>
#include <string>

namespace host {

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// A value as decimal digits: Value = 0.Digits * 10^Exponent. Digits has no
// trailing zeros and is empty for zero. Exponent is 32767 for an infinity and
// -32768 for NaN.
struct TFloatRec {
    int Exponent = 0;
    bool Negative = false;
    std::string Digits;
};

// Rounds Value (half away from zero) to at most Precision significant digits
// (1 to 18) and at most Decimals digits after the decimal point.
TFloatRec FloatToDecimal(double Value, int Precision, int Decimals);

// ffGeneral: shortest of fixed or scientific with Precision significant digits
//   (Digits: least exponent digits). ffExponent: "-d.dddE+ddd", Precision digits
//   in all, Digits exponent digits (0-4). ffFixed / ffNumber (with thousand
//   separators) / ffCurrency: Digits decimals; a value with more integer digits
//   than Precision comes out as ffGeneral.
std::string FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
// ffGeneral with 15 digits.
std::string FloatToStr(double Value);
// Sections "positive;negative;zero" of '0' and '#' placeholders, '.', ',',
// E+0 / E-0 exponents and quoted text. An empty format is FloatToStr.
std::string FormatFloat(const std::string& Format, double Value);

// Currency: four decimal places at most, shown with up to 15 significant digits.
std::string CurrToStr(double Value);
std::string CurrToStrF(double Value, TFloatFormat Format, int Digits);
std::string FormatCurr(const std::string& Format, double Value);

// Blanks around, a sign, digits with DecimalSeparator and an optional exponent.
double StrToFloat(const std::string& S);
double StrToFloatDef(const std::string& S, double Default);
bool TryStrToFloat(const std::string& S, double& Value);
double StrToCurr(const std::string& S);

// Nearest integer, halves to even; EInvalidOp when out of range.
int64_t Round(double X);
// Towards zero; EInvalidOp when out of range.
int64_t Trunc(double X);
// Integer and fractional parts, both with the sign of X.
double Int(double X);
double Frac(double X);

} // namespace host
