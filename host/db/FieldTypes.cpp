#include <cmath>

#include "host/db/DBConsts.h"
#include "host/db/DataSet.h"
#include "host/rtl/DateTime.h"
#include "host/rtl/SysFloat.h"
#include "host/rtl/SysLocale.h"

namespace host {

using engine::TValue;
using engine::TValueKind;

namespace {
// Rounds halves to even, as the framework's Round does.
int64_t RoundEven(double V) { return static_cast<int64_t>(std::nearbyint(V)); }
} // namespace

// ---- TStringField

TStringField::TStringField(TComponent* AOwner) : TField(AOwner)
{
    FDataType = ftString;
    FSize = 20;
}

std::string TStringField::GetAsString() const
{
    TValue v;
    return GetData(v) ? v.AsString() : std::string();
}

void TStringField::SetAsString(const std::string& Value)
{
    if (FSize > 0 && static_cast<int>(Value.size()) > FSize)
        SetData(TValue::OfText(Value.substr(0, FSize)));
    else
        SetData(TValue::OfText(Value));
}

int32_t TStringField::GetAsInteger() const { return StrToInt(GetAsString()); }
void TStringField::SetAsInteger(int32_t Value) { SetAsString(IntToStr(Value)); }
double TStringField::GetAsFloat() const { return StrToFloat(GetAsString()); }
void TStringField::SetAsFloat(double Value) { SetAsString(FloatToStr(Value)); }

bool TStringField::GetAsBoolean() const
{
    std::string s = GetAsString();
    return !s.empty() && (s[0] == 'T' || s[0] == 't' || s[0] == 'Y' || s[0] == 'y');
}

void TStringField::SetAsBoolean(bool Value)
{
    SetAsString(std::string(1, (Value ? DBConsts::STextTrue : DBConsts::STextFalse)[0]));
}

TDateTime TStringField::GetAsDateTime() const { return StrToDateTime(GetAsString()); }
void TStringField::SetAsDateTime(TDateTime Value) { SetAsString(DateTimeToStr(Value)); }

// ---- TNumericField

TNumericField::TNumericField(TComponent* AOwner) : TField(AOwner) { FAlignment = taRightJustify; }

void TNumericField::SetDisplayFormat(const std::string& Value)
{
    if (Value == FDisplayFormat) return;
    FDisplayFormat = Value;
    PropertyChanged(false);
}

void TNumericField::SetEditFormat(const std::string& Value)
{
    if (Value == FEditFormat) return;
    FEditFormat = Value;
    PropertyChanged(false);
}

const std::string& TNumericField::FormatFor(bool DisplayText) const
{
    return DisplayText || FEditFormat.empty() ? FDisplayFormat : FEditFormat;
}

bool TNumericField::IsValidChar(char Ch) const { return Ch == '+' || Ch == '-' || (Ch >= '0' && Ch <= '9'); }

// ---- TIntegerField and its kin

TIntegerField::TIntegerField(TComponent* AOwner) : TNumericField(AOwner) { FDataType = ftInteger; }

TSmallintField::TSmallintField(TComponent* AOwner) : TIntegerField(AOwner)
{
    FDataType = ftSmallint;
    FMinRange = -32768;
    FMaxRange = 32767;
}

TWordField::TWordField(TComponent* AOwner) : TIntegerField(AOwner)
{
    FDataType = ftWord;
    FMinRange = 0;
    FMaxRange = 65535;
}

TAutoIncField::TAutoIncField(TComponent* AOwner) : TIntegerField(AOwner) { FDataType = ftAutoInc; }

int32_t TIntegerField::GetAsInteger() const
{
    TValue v;
    return GetData(v) ? static_cast<int32_t>(v.AsInt()) : 0;
}

std::string TIntegerField::GetAsString() const
{
    TValue v;
    return GetData(v) ? IntToStr(v.AsInt()) : std::string();
}

void TIntegerField::SetAsString(const std::string& Value)
{
    if (Value.empty()) {
        Clear();
        return;
    }
    int64_t i;
    if (!TryStrToInt64(Value, i)) ConvertErrorFmt(DBConsts::SInvalidIntegerValue, {Value, GetDisplayName()});
    SetData(TValue::OfInt(i));
}

void TIntegerField::SetAsInteger(int32_t Value) { SetData(TValue::OfInt(Value)); }

void TIntegerField::SetAsFloat(double Value)
{
    if (!(Value >= static_cast<double>(FMinRange) - 0.5 && Value <= static_cast<double>(FMaxRange) + 0.5))
        RangeError(Value, static_cast<double>(FMinRange), static_cast<double>(FMaxRange));
    SetData(TValue::OfInt(RoundEven(Value)));
}

TVariant TIntegerField::GetAsVariant() const
{
    TValue v;
    return GetData(v) ? TVariant(v.AsInt()) : TVariant();
}

void TIntegerField::SetAsVariant(const TVariant& Value)
{
    if (Value.Kind == TValueKind::Integer)
        SetData(TValue::OfInt(Value.Int));
    else
        TField::SetAsVariant(Value);
}

void TIntegerField::Validate(const TValue& Value)
{
    if (!Value.IsNull()) {
        int64_t i = Value.AsInt();
        bool custom = FMinValue != 0 || FMaxValue != 0;
        int64_t lo = custom ? FMinValue : FMinRange, hi = custom ? FMaxValue : FMaxRange;
        if (i < lo || i > hi) RangeError(static_cast<double>(i), static_cast<double>(lo), static_cast<double>(hi));
    }
    TField::Validate(Value);
}

std::string TIntegerField::FormatText(bool DisplayText) const
{
    TValue v;
    if (!GetData(v)) return {};
    const std::string& fmt = FormatFor(DisplayText);
    return fmt.empty() ? IntToStr(v.AsInt()) : FormatFloat(fmt, static_cast<double>(v.AsInt()));
}

// ---- TFloatField

TFloatField::TFloatField(TComponent* AOwner) : TNumericField(AOwner) { FDataType = ftFloat; }

TCurrencyField::TCurrencyField(TComponent* AOwner) : TFloatField(AOwner)
{
    FDataType = ftCurrency;
    FCurrency = true;
}

TBCDField::TBCDField(TComponent* AOwner) : TFloatField(AOwner)
{
    FDataType = ftBCD;
    FSize = 4;
}

void TBCDField::SetAsFloat(double Value)
{
    // Kept to the field's decimals (at most four, the precision of currency).
    int decimals = FSize > 0 && FSize < 4 ? FSize : 4;
    double scale = std::pow(10.0, decimals);
    TFloatField::SetAsFloat(std::nearbyint(Value * scale) / scale);
}

void TFloatField::SetCurrency(bool Value)
{
    if (Value == FCurrency) return;
    FCurrency = Value;
    PropertyChanged(false);
}

void TFloatField::SetPrecision(int Value)
{
    Value = Value < 2 ? 2 : (Value > 15 ? 15 : Value);
    if (Value == FPrecision) return;
    FPrecision = Value;
    PropertyChanged(false);
}

double TFloatField::GetAsFloat() const
{
    TValue v;
    return GetData(v) ? v.AsFloat() : 0.0;
}

int32_t TFloatField::GetAsInteger() const
{
    double d = GetAsFloat();
    if (!(d >= INT32_MIN - 0.5 && d <= INT32_MAX + 0.5)) RangeError(d, INT32_MIN, INT32_MAX);
    return static_cast<int32_t>(RoundEven(d));
}

std::string TFloatField::GetAsString() const
{
    TValue v;
    return GetData(v) ? FloatToStr(v.AsFloat()) : std::string();
}

void TFloatField::SetAsString(const std::string& Value)
{
    if (Value.empty()) {
        Clear();
        return;
    }
    double d;
    if (!TryStrToFloat(Value, d)) ConvertErrorFmt(DBConsts::SInvalidFloatValue, {Value, GetDisplayName()});
    SetAsFloat(d);
}

void TFloatField::SetAsFloat(double Value) { SetData(TValue::OfFloat(Value)); }

TVariant TFloatField::GetAsVariant() const
{
    TValue v;
    return GetData(v) ? TVariant(v.AsFloat()) : TVariant();
}

void TFloatField::SetAsVariant(const TVariant& Value)
{
    if (Value.IsNumeric())
        SetAsFloat(Value.AsFloat());
    else
        TField::SetAsVariant(Value);
}

void TFloatField::Validate(const TValue& Value)
{
    if (!Value.IsNull() && (FMinValue != 0 || FMaxValue != 0)) {
        double d = Value.AsFloat();
        if (d < FMinValue || d > FMaxValue) RangeError(d, FMinValue, FMaxValue);
    }
    TField::Validate(Value);
}

bool TFloatField::IsValidChar(char Ch) const
{
    return TNumericField::IsValidChar(Ch) || Ch == DecimalSeparator || Ch == 'E' || Ch == 'e';
}

std::string TFloatField::FormatText(bool DisplayText) const
{
    TValue v;
    if (!GetData(v)) return {};
    const std::string& fmt = FormatFor(DisplayText);
    if (!fmt.empty()) return FormatFloat(fmt, v.AsFloat());
    if (FCurrency)
        return FloatToStrF(v.AsFloat(), DisplayText ? ffCurrency : ffFixed, FPrecision, CurrencyDecimals);
    return FloatToStrF(v.AsFloat(), ffGeneral, FPrecision, 0);
}

// ---- TBooleanField

TBooleanField::TBooleanField(TComponent* AOwner) : TField(AOwner)
{
    FDataType = ftBoolean;
    FTextTrue = DBConsts::STextTrue;
    FTextFalse = DBConsts::STextFalse;
}

void TBooleanField::SetDisplayValues(const std::string& Value)
{
    if (Value == FDisplayValues) return;
    FDisplayValues = Value;
    size_t p = Value.find(';');
    FTextTrue = Value.substr(0, p);
    FTextFalse = p == std::string::npos ? std::string() : Value.substr(p + 1);
    if (Value.empty()) {
        FTextTrue = DBConsts::STextTrue;
        FTextFalse = DBConsts::STextFalse;
    }
    PropertyChanged(true);
}

bool TBooleanField::GetAsBoolean() const
{
    TValue v;
    return GetData(v) && v.AsBool();
}

void TBooleanField::SetAsBoolean(bool Value) { SetData(TValue::OfBool(Value)); }

std::string TBooleanField::GetAsString() const
{
    TValue v;
    if (!GetData(v)) return {};
    return v.AsBool() ? FTextTrue : FTextFalse;
}

std::string TBooleanField::FormatText(bool) const { return GetAsString(); }

void TBooleanField::SetAsString(const std::string& Value)
{
    size_t n = Value.size();
    if (n == 0) {
        if (FTextFalse.empty())
            SetAsBoolean(false);
        else if (FTextTrue.empty())
            SetAsBoolean(true);
        else
            Clear();
        return;
    }
    // A leading part of either text is enough, as typed into an edit.
    if (AnsiCompareText(Value, FTextFalse.substr(0, n)) == 0)
        SetAsBoolean(false);
    else if (AnsiCompareText(Value, FTextTrue.substr(0, n)) == 0)
        SetAsBoolean(true);
    else
        ConvertErrorFmt(DBConsts::SInvalidBoolValue, {Value, GetDisplayName()});
}

TVariant TBooleanField::GetAsVariant() const
{
    TValue v;
    return GetData(v) ? TVariant(v.AsBool()) : TVariant();
}

void TBooleanField::SetAsVariant(const TVariant& Value)
{
    if (Value.IsNumeric())
        SetAsBoolean(Value.AsBool());
    else
        TField::SetAsVariant(Value);
}

int TBooleanField::GetDefaultWidth() const
{
    return static_cast<int>(std::max(FTextTrue.size(), FTextFalse.size()));
}

// ---- date and time fields

TDateTimeField::TDateTimeField(TComponent* AOwner) : TField(AOwner) { FDataType = ftDateTime; }
TDateField::TDateField(TComponent* AOwner) : TDateTimeField(AOwner) { FDataType = ftDate; }
TTimeField::TTimeField(TComponent* AOwner) : TDateTimeField(AOwner) { FDataType = ftTime; }

void TDateTimeField::SetDisplayFormat(const std::string& Value)
{
    if (Value == FDisplayFormat) return;
    FDisplayFormat = Value;
    PropertyChanged(false);
}

TDateTime TDateTimeField::GetAsDateTime() const
{
    TValue v;
    return GetData(v) ? v.AsFloat() : 0.0;
}

void TDateTimeField::SetAsDateTime(TDateTime Value) { SetData(TValue::OfFloat(Normalize(Value))); }

void TDateTimeField::SetAsString(const std::string& Value)
{
    if (Value.empty()) {
        Clear();
        return;
    }
    SetAsDateTime(ParseText(Value));
}

TVariant TDateTimeField::GetAsVariant() const
{
    TValue v;
    return GetData(v) ? TVariant(v.AsFloat()) : TVariant();
}

void TDateTimeField::SetAsVariant(const TVariant& Value)
{
    if (Value.IsNumeric())
        SetAsDateTime(Value.AsFloat());
    else
        TField::SetAsVariant(Value);
}

std::string TDateTimeField::FormatText(bool DisplayText) const
{
    TValue v;
    if (!GetData(v)) return {};
    if (DisplayText && !FDisplayFormat.empty()) return FormatDateTime(FDisplayFormat, v.AsFloat());
    return DefaultText(v.AsFloat());
}

std::string TDateTimeField::DefaultText(TDateTime Value) const { return DateTimeToStr(Value); }
TDateTime TDateTimeField::ParseText(const std::string& Text) const { return StrToDateTime(Text); }
std::string TDateField::DefaultText(TDateTime Value) const { return DateToStr(Value); }
TDateTime TDateField::ParseText(const std::string& Text) const { return StrToDate(Text); }
TDateTime TDateField::Normalize(TDateTime Value) const { return std::trunc(Value); }
std::string TTimeField::DefaultText(TDateTime Value) const { return TimeToStr(Value); }
TDateTime TTimeField::ParseText(const std::string& Text) const { return StrToTime(Text); }
TDateTime TTimeField::Normalize(TDateTime Value) const { return std::fabs(Value - std::trunc(Value)); }

// ---- binary fields

TBinaryField::TBinaryField(TComponent* AOwner) : TField(AOwner) {}
TBytesField::TBytesField(TComponent* AOwner) : TBinaryField(AOwner)
{
    FDataType = ftBytes;
    FSize = 16;
}
TVarBytesField::TVarBytesField(TComponent* AOwner) : TBinaryField(AOwner)
{
    FDataType = ftVarBytes;
    FSize = 16;
}

std::string TBinaryField::GetAsString() const
{
    TValue v;
    return GetData(v) ? v.Bytes : std::string();
}

void TBinaryField::SetAsString(const std::string& Value)
{
    SetData(Value.empty() ? TValue() : TValue::OfBlob(Value));
}

TVariant TBinaryField::GetAsVariant() const
{
    TValue v;
    return GetData(v) ? TVariant(TValue::OfBlob(v.Bytes)) : TVariant();
}

std::string TBinaryField::FormatText(bool) const { return ClassDesc(); }

// ---- field classes by type

TClass DefaultFieldClass(TFieldType DataType)
{
    switch (DataType) {
    case ftString:
    case ftFixedChar:
    case ftWideString: return TStringField::StaticClass();
    case ftSmallint: return TSmallintField::StaticClass();
    case ftInteger:
    case ftLargeint: return TIntegerField::StaticClass();
    case ftWord: return TWordField::StaticClass();
    case ftBoolean: return TBooleanField::StaticClass();
    case ftFloat: return TFloatField::StaticClass();
    case ftCurrency: return TCurrencyField::StaticClass();
    case ftBCD: return TBCDField::StaticClass();
    case ftDate: return TDateField::StaticClass();
    case ftTime: return TTimeField::StaticClass();
    case ftDateTime: return TDateTimeField::StaticClass();
    case ftBytes: return TBytesField::StaticClass();
    case ftVarBytes: return TVarBytesField::StaticClass();
    case ftAutoInc: return TAutoIncField::StaticClass();
    case ftMemo:
    case ftFmtMemo: return TMemoField::StaticClass();
    case ftGraphic: return TGraphicField::StaticClass();
    case ftBlob:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary: return TBlobField::StaticClass();
    default: return nullptr;
    }
}

// ---- published

HOST_PUBLISHED(TStringField)
{
    P.Property("Size", &TStringField::GetSize, &TStringField::SetSize).Default(20);
}

HOST_PUBLISHED(TNumericField)
{
    P.Property("Alignment", &TNumericField::GetAlignment, &TNumericField::SetAlignment).Default(taRightJustify);
    P.Property("DisplayFormat", &TNumericField::GetDisplayFormat, &TNumericField::SetDisplayFormat);
    P.Property("EditFormat", &TNumericField::GetEditFormat, &TNumericField::SetEditFormat);
}

HOST_PUBLISHED(TIntegerField)
{
    P.Property("MaxValue", &TIntegerField::GetMaxValue, &TIntegerField::SetMaxValue).Default(0);
    P.Property("MinValue", &TIntegerField::GetMinValue, &TIntegerField::SetMinValue).Default(0);
}

HOST_PUBLISHED(TSmallintField) {}
HOST_PUBLISHED(TWordField) {}
HOST_PUBLISHED(TAutoIncField) {}

HOST_PUBLISHED(TFloatField)
{
    P.Property("Currency", &TFloatField::GetCurrency, &TFloatField::SetCurrency).Default(false);
    P.Property("MaxValue", &TFloatField::GetMaxValue, &TFloatField::SetMaxValue);
    P.Property("MinValue", &TFloatField::GetMinValue, &TFloatField::SetMinValue);
    P.Property("Precision", &TFloatField::GetPrecision, &TFloatField::SetPrecision).Default(15);
}

HOST_PUBLISHED(TCurrencyField)
{
    P.Property("Currency", &TCurrencyField::GetCurrency, &TCurrencyField::SetCurrency).Default(true);
}

HOST_PUBLISHED(TBCDField)
{
    P.Property("Size", &TBCDField::GetSize, &TBCDField::SetSize).Default(4);
}

HOST_PUBLISHED(TBooleanField)
{
    P.Property("DisplayValues", &TBooleanField::GetDisplayValues, &TBooleanField::SetDisplayValues);
}

HOST_PUBLISHED(TDateTimeField)
{
    P.Property("DisplayFormat", &TDateTimeField::GetDisplayFormat, &TDateTimeField::SetDisplayFormat);
    P.Property("EditMask", &TDateTimeField::GetEditMask, &TDateTimeField::SetEditMask);
}

HOST_PUBLISHED(TDateField) {}
HOST_PUBLISHED(TTimeField) {}

HOST_PUBLISHED(TBinaryField)
{
    P.Property("Size", &TBinaryField::GetSize, &TBinaryField::SetSize).Default(16);
}

HOST_PUBLISHED(TBytesField) {}
HOST_PUBLISHED(TVarBytesField) {}

HOST_REGISTER_CLASSES(TStringField, TSmallintField, TIntegerField, TWordField, TAutoIncField, TFloatField,
                      TCurrencyField, TBCDField, TBooleanField, TDateField, TTimeField, TDateTimeField, TBytesField,
                      TVarBytesField, TBlobField, TMemoField, TGraphicField);

} // namespace host
