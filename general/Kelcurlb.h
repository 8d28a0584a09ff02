#pragma once
// Amounts of money in English words, as written on cheques:
// 123.45 -> "One hundred twenty three dollars and 45/100". The words come from
// the string table, so a translated table changes them without code changes.
#include <string>

#include "host/vcl/StdCtrls.h"
#include "host/vcl/TypInfo.h"

namespace kel {

// How the cents follow the whole units: ffHundredths "dollars and 45/100",
// ffUnitsDigits "dollars and 45 cents", ffUnitsWords "dollars and forty five
// cents", ffNoFraction "dollars".
HOST_ENUM(TCurrFractionFormat, ffHundredths, ffUnitsDigits, ffUnitsWords, ffNoFraction)

// Value is first rounded to whole cents (halves to even, judged on the
// shortest decimal text of the double, so 1.995 counts as 1.995 and not as the
// binary 1.99499...), then written as words. Negative amounts and amounts of
// 2^31 units or more cannot be written: with HandleException the result is
// "#ERROR#", otherwise EConvertError (not a valid amount) or ERangeError (too
// large) is raised.
std::string NumToWords(const std::string& CurrText, const std::string& CurrFractionText,
                       TCurrFractionFormat FractionFormat, double Value, bool FirstUpperCase,
                       bool HandleException);

// A label whose caption is always its Value written in words; the caption
// cannot be set otherwise.
class TCustomCurrencyLabel : public host::TCustomLabel {
    HOST_CLASS(TCustomCurrencyLabel, host::TCustomLabel)
public:
    explicit TCustomCurrencyLabel(host::TComponent* AOwner);

protected:
    void Loaded() override;
    // Rebuilds the caption from the properties (not while loading).
    void UpdateCaption();

    double GetValue() const { return FValue; }
    void SetValue(double Value);
    const std::string& GetCurrText() const { return FCurrText; }
    void SetCurrText(const std::string& Value);
    const std::string& GetCurrFractionText() const { return FCurrFractionText; }
    void SetCurrFractionText(const std::string& Value);
    TCurrFractionFormat GetCurrFractionFormat() const { return FCurrFractionFormat; }
    void SetCurrFractionFormat(TCurrFractionFormat Value);
    bool GetFirstUpperCase() const { return FFirstUpperCase; }
    void SetFirstUpperCase(bool Value);
    bool GetHandleException() const { return FHandleException; }
    void SetHandleException(bool Value);
    bool IsCurrTextStored() const { return FCurrText != "dollars"; }
    bool IsCurrFractionTextStored() const { return FCurrFractionText != "cents"; }

private:
    double FValue = 0;
    std::string FCurrText = "dollars";
    std::string FCurrFractionText = "cents";
    TCurrFractionFormat FCurrFractionFormat = ffHundredths;
    bool FFirstUpperCase = true;
    bool FHandleException = true;
};

class TCurrencyLabel : public TCustomCurrencyLabel {
    HOST_CLASS(TCurrencyLabel, TCustomCurrencyLabel)
public:
    explicit TCurrencyLabel(host::TComponent* AOwner) : TCustomCurrencyLabel(AOwner) {}
    using TCustomCurrencyLabel::GetCurrFractionFormat;
    using TCustomCurrencyLabel::GetCurrFractionText;
    using TCustomCurrencyLabel::GetCurrText;
    using TCustomCurrencyLabel::GetFirstUpperCase;
    using TCustomCurrencyLabel::GetHandleException;
    using TCustomCurrencyLabel::GetValue;
    using TCustomCurrencyLabel::SetCurrFractionFormat;
    using TCustomCurrencyLabel::SetCurrFractionText;
    using TCustomCurrencyLabel::SetCurrText;
    using TCustomCurrencyLabel::SetFirstUpperCase;
    using TCustomCurrencyLabel::SetHandleException;
    using TCustomCurrencyLabel::SetValue;
    using TCustomLabel::GetAlignment;
    using TCustomLabel::GetAutoSize;
    using TCustomLabel::GetTransparent;
    using TCustomLabel::GetWordWrap;
    using TCustomLabel::SetAlignment;
    using TCustomLabel::SetAutoSize;
    using TCustomLabel::SetTransparent;
    using TCustomLabel::SetWordWrap;
};

} // namespace kel
