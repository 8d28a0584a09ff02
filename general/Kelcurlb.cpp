#include "general/Kelcurlb.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "general/Kelconst.h"
#include "host/rtl/Resources.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/StdPublish.h"

namespace kel {
namespace {

constexpr uint64_t MaxWholeUnits = 2147483647;

struct TAmount {
    uint32_t Units;
    int Cents;
};

std::string Word(int Ident) { return host::LoadStr(Ident); }

// The "and" before the fraction is read once, as the rest of the program keeps
// the texts it shows in globals loaded at start-up.
const std::string& AndWord()
{
    static const std::string word = Word(SkelNumAnd);
    return word;
}

// The shortest decimal text that reads back as Value: what a user typed or
// sees printed, not the binary expansion.
std::string ShortestDecimal(double Value)
{
    char buf[512];
    auto res = std::to_chars(buf, buf + sizeof buf, Value, std::chars_format::fixed);
    if (res.ec != std::errc()) return std::to_string(Value);
    return std::string(buf, res.ptr);
}

bool AllZeros(const std::string& S, size_t From)
{
    return S.find_first_not_of('0', From) == std::string::npos;
}

constexpr uint64_t TooManyCents = UINT64_MAX;

// The amount of a non-negative, finite Value in whole cents, rounded halves to
// even on its decimal text; TooManyCents when the units exceed 32 bits.
uint64_t RoundToCents(double Value)
{
    std::string text = ShortestDecimal(Value);
    size_t dot = text.find('.');
    std::string whole = text.substr(0, dot);
    std::string fraction = dot == std::string::npos ? std::string() : text.substr(dot + 1);
    fraction.resize(std::max<size_t>(fraction.size(), 2), '0');
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.size() > 10) return TooManyCents;

    uint64_t cents = std::stoull(whole.empty() ? "0" : whole) * 100 + std::stoul(fraction.substr(0, 2));
    bool roundUp = fraction.size() > 2 && fraction[2] >= '5';
    if (fraction.size() > 2 && fraction[2] == '5' && AllZeros(fraction, 3)) roundUp = cents % 2 != 0;
    if (roundUp) ++cents;
    return cents / 100 > MaxWholeUnits ? TooManyCents : cents;
}

// A negative amount is an error unless it rounds to zero cents (-0.001 reads
// as zero, as it would print).
TAmount CheckedAmount(double Value)
{
    const std::string shown = ShortestDecimal(Value);
    if (!std::isfinite(Value)) throw host::EConvertError(kelFmtLoadStr(SkelNumInvalidAmount, {shown}));
    uint64_t cents = RoundToCents(std::fabs(Value));
    if (Value < 0 && cents != 0) throw host::EConvertError(kelFmtLoadStr(SkelNumInvalidAmount, {shown}));
    if (cents == TooManyCents) throw host::ERangeError(kelFmtLoadStr(SkelNumAmountTooLarge, {shown}));
    return {static_cast<uint32_t>(cents / 100), static_cast<int>(cents % 100)};
}

bool GroupIsZero(const std::string& Digits, int P)
{
    int len = static_cast<int>(Digits.size());
    for (int q = P; q <= P + 2 && q <= len; ++q)
        if (Digits[len - q] != '0') return false;
    return true;
}

// The words of N, each followed by one space, built from the units digit
// leftwards; p is a digit's position counted from the right (1 = units).
std::string IntegerWords(uint32_t N)
{
    const std::string digits = std::to_string(N);
    const int len = static_cast<int>(digits.size());
    std::string result;
    auto prepend = [&result](const std::string& Words) { result.insert(0, Words + " "); };
    for (int p = 1; p <= len; ++p) {
        int d = digits[len - p] - '0';
        switch (p % 3) {
        case 1:
            if (p > 1 && !GroupIsZero(digits, p)) prepend(Word(SkelNumScales + p / 3));
            if (p == len) {
                prepend(Word(SkelNumDigits + d));
            } else if (digits[len - p - 1] == '1') {
                prepend(Word(SkelNumTeens + d));
                ++p; // the tens digit is spoken with the teen
            } else if (d > 0) {
                prepend(Word(SkelNumDigits + d));
            }
            break;
        case 2:
            if (d >= 1) prepend(Word(SkelNumTens + d));
            break;
        default:
            if (d >= 1) prepend(Word(SkelNumDigits + d) + " " + Word(SkelNumHundred));
            break;
        }
    }
    return result;
}

std::string TwoDigits(int Cents)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", Cents);
    return buf;
}

std::string PrefixUnit(const std::string& CurrText, const std::string& F)
{
    return CurrText.empty() ? F : CurrText + " " + F;
}

// The cents as "and" plus the fraction text. ffUnitsWords writes the cents as
// this routine would write a whole amount without fraction or unit texts.
std::string FractionPart(const std::string& CurrText, const std::string& CurrFractionText,
                         TCurrFractionFormat FractionFormat, int Cents)
{
    if (FractionFormat == ffNoFraction) return CurrText;
    if (FractionFormat == ffHundredths) return PrefixUnit(CurrText, AndWord() + " " + TwoDigits(Cents) + "/100");

    std::string cents = TwoDigits(Cents);
    if (FractionFormat == ffUnitsWords) {
        cents = IntegerWords(static_cast<uint32_t>(Cents));
        cents.pop_back();
    }
    std::string f = AndWord() + " " + cents;
    if (!CurrFractionText.empty()) f += " " + CurrFractionText;
    return PrefixUnit(CurrText, f);
}

std::string Convert(const std::string& CurrText, const std::string& CurrFractionText,
                    TCurrFractionFormat FractionFormat, double Value, bool FirstUpperCase)
{
    TAmount amount = CheckedAmount(Value);
    std::string result = IntegerWords(amount.Units);
    result += FractionPart(CurrText, CurrFractionText, FractionFormat, amount.Cents);
    if (!result.empty() && result.back() == ' ') result.pop_back();
    if (FirstUpperCase && !result.empty() && result[0] >= 'a' && result[0] <= 'z')
        result[0] = static_cast<char>(result[0] - 'a' + 'A');
    return result;
}

} // namespace

std::string NumToWords(const std::string& CurrText, const std::string& CurrFractionText,
                       TCurrFractionFormat FractionFormat, double Value, bool FirstUpperCase,
                       bool HandleException)
{
    if (!HandleException) return Convert(CurrText, CurrFractionText, FractionFormat, Value, FirstUpperCase);
    try {
        return Convert(CurrText, CurrFractionText, FractionFormat, Value, FirstUpperCase);
    } catch (const std::exception&) {
        return Word(SkelNumError);
    }
}

} // namespace kel

// ---- TCustomCurrencyLabel --------------------------------------------------------------

namespace kel {

using namespace host;

TCustomCurrencyLabel::TCustomCurrencyLabel(TComponent* AOwner) : TCustomLabel(AOwner) { UpdateCaption(); }

void TCustomCurrencyLabel::Loaded()
{
    inherited::Loaded();
    UpdateCaption();
}

void TCustomCurrencyLabel::UpdateCaption()
{
    if (GetComponentState().Contains(csLoading)) return;
    SetText(NumToWords(FCurrText, FCurrFractionText, FCurrFractionFormat, FValue, FFirstUpperCase, FHandleException));
}

void TCustomCurrencyLabel::SetValue(double Value)
{
    if (FValue == Value) return;
    FValue = Value;
    UpdateCaption();
}

void TCustomCurrencyLabel::SetCurrText(const std::string& Value)
{
    if (FCurrText == Value) return;
    FCurrText = Value;
    UpdateCaption();
}

void TCustomCurrencyLabel::SetCurrFractionText(const std::string& Value)
{
    if (FCurrFractionText == Value) return;
    FCurrFractionText = Value;
    UpdateCaption();
}

void TCustomCurrencyLabel::SetCurrFractionFormat(TCurrFractionFormat Value)
{
    if (FCurrFractionFormat == Value) return;
    FCurrFractionFormat = Value;
    UpdateCaption();
}

void TCustomCurrencyLabel::SetFirstUpperCase(bool Value)
{
    if (FFirstUpperCase == Value) return;
    FFirstUpperCase = Value;
    UpdateCaption();
}

void TCustomCurrencyLabel::SetHandleException(bool Value)
{
    if (FHandleException == Value) return;
    FHandleException = Value;
    UpdateCaption();
}

HOST_PUBLISHED(TCurrencyLabel)
{
    HOST_PUBLISH_CONTROL_LOOK(TCurrencyLabel);
    P.Property("Alignment", &TCurrencyLabel::GetAlignment, &TCurrencyLabel::SetAlignment).Default(taLeftJustify);
    P.Property("AutoSize", &TCurrencyLabel::GetAutoSize, &TCurrencyLabel::SetAutoSize).Default(true);
    P.Property("Transparent", &TCurrencyLabel::GetTransparent, &TCurrencyLabel::SetTransparent).Default(false);
    P.Property("WordWrap", &TCurrencyLabel::GetWordWrap, &TCurrencyLabel::SetWordWrap).Default(false);
    P.Property("Value", &TCurrencyLabel::GetValue, &TCurrencyLabel::SetValue);
    P.Property("CurrText", &TCurrencyLabel::GetCurrText, &TCurrencyLabel::SetCurrText)
        .Stored(&TCurrencyLabel::IsCurrTextStored);
    P.Property("CurrFractionText", &TCurrencyLabel::GetCurrFractionText, &TCurrencyLabel::SetCurrFractionText)
        .Stored(&TCurrencyLabel::IsCurrFractionTextStored);
    P.Property("CurrFractionFormat", &TCurrencyLabel::GetCurrFractionFormat, &TCurrencyLabel::SetCurrFractionFormat)
        .Default(ffHundredths);
    P.Property("FirstUpperCase", &TCurrencyLabel::GetFirstUpperCase, &TCurrencyLabel::SetFirstUpperCase).Default(true);
    P.Property("HandleException", &TCurrencyLabel::GetHandleException, &TCurrencyLabel::SetHandleException)
        .Default(true);
    HOST_PUBLISH_MOUSE_EVENTS(TCurrencyLabel);
}

HOST_REGISTER_CLASSES(TCurrencyLabel);

} // namespace kel
