#pragma once
// Fields: the typed views of one column of a dataset's current record, with
// their conversions, display and edit texts, and validation.
#include <memory>
#include <string>
#include <vector>

#include "host/db/DBBase.h"
#include "host/rtl/Streams.h"
#include "host/vcl/Classes.h"

namespace host {

class TField;
class TDataSet;

using TFieldNotifyEvent = TEvent<void(TField* Sender)>;
using TFieldGetTextEvent = TEvent<void(TField* Sender, std::string& Text, bool DisplayText)>;
using TFieldSetTextEvent = TEvent<void(TField* Sender, const std::string& Text)>;

class TField : public TComponent {
    HOST_CLASS(TField, TComponent)
public:
    explicit TField(TComponent* AOwner);

    TDataSet* GetDataSet() const { return FDataSet; }
    // Adds the field to the dataset's field list (only while it is closed).
    void SetDataSet(TDataSet* Value);
    const std::string& GetFieldName() const { return FFieldName; }
    void SetFieldName(const std::string& Value);
    TFieldType GetDataType() const { return FDataType; }
    TFieldKind GetFieldKind() const { return FFieldKind; }
    void SetFieldKind(TFieldKind Value);
    bool GetCalculated() const { return FFieldKind == fkCalculated; }
    void SetCalculated(bool Value) { SetFieldKind(Value ? fkCalculated : fkData); }
    bool GetLookup() const { return FFieldKind == fkLookup; }
    int GetSize() const { return FSize; }
    virtual void SetSize(int Value);
    // 1-based position in the record; 0 for calculated and lookup fields.
    int GetFieldNo() const { return FFieldNo; }
    // Position in the dataset's field list.
    int GetIndex() const;
    void SetIndex(int Value);
    bool GetIsIndexField() const;

    std::string GetDisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const std::string& Value);
    std::string GetDisplayName() const { return GetDisplayLabel(); }
    int GetDisplayWidth() const { return FDisplayWidth > 0 ? FDisplayWidth : GetDefaultWidth(); }
    void SetDisplayWidth(int Value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool GetRequired() const { return FRequired; }
    void SetRequired(bool Value) { FRequired = Value; }
    const std::string& GetEditMask() const { return FEditMask; }
    void SetEditMask(const std::string& Value);
    // Whether Ch may be typed into the field.
    virtual bool IsValidChar(char Ch) const;
    virtual bool CanModify() const;

    // Lookup fields: KeyFields of this dataset matched against LookupKeyFields
    // of LookupDataSet give LookupResultField.
    TDataSet* GetLookupDataSet() const { return FLookupDataSet; }
    void SetLookupDataSet(TDataSet* Value);
    const std::string& GetKeyFields() const { return FKeyFields; }
    void SetKeyFields(const std::string& Value) { FKeyFields = Value; }
    const std::string& GetLookupKeyFields() const { return FLookupKeyFields; }
    void SetLookupKeyFields(const std::string& Value) { FLookupKeyFields = Value; }
    const std::string& GetLookupResultField() const { return FLookupResultField; }
    void SetLookupResultField(const std::string& Value) { FLookupResultField = Value; }

    // The value in the current record buffer; false when it is null.
    bool GetData(engine::TValue& Value) const;
    // Stores Value into the record being edited (validation, OnChange, links).
    void SetData(const engine::TValue& Value);
    bool GetIsNull() const;
    void Clear() { SetData(engine::TValue()); }

    virtual std::string GetAsString() const;
    virtual void SetAsString(const std::string& Value);
    virtual int32_t GetAsInteger() const;
    virtual void SetAsInteger(int32_t Value);
    virtual double GetAsFloat() const;
    virtual void SetAsFloat(double Value);
    virtual bool GetAsBoolean() const;
    virtual void SetAsBoolean(bool Value);
    virtual TDateTime GetAsDateTime() const;
    virtual void SetAsDateTime(TDateTime Value);
    virtual double GetAsCurrency() const { return GetAsFloat(); }
    virtual void SetAsCurrency(double Value) { SetAsFloat(Value); }
    virtual TVariant GetAsVariant() const;
    virtual void SetAsVariant(const TVariant& Value);
    TVariant GetValue() const { return GetAsVariant(); }
    void SetValue(const TVariant& Value) { SetAsVariant(Value); }

    std::string GetDisplayText() const;
    std::string GetText() const;
    void SetText(const std::string& Value);
    std::string GetEditText() const { return GetText(); }
    void SetEditText(const std::string& Value);

    // Asks the data-aware control showing the field to take the focus.
    void FocusControl();
    // Called before a new value is stored; raises to refuse it.
    virtual void Validate(const engine::TValue& Value);

    TFieldNotifyEvent OnChange;
    TFieldNotifyEvent OnValidate;
    TFieldGetTextEvent OnGetText;
    TFieldSetTextEvent OnSetText;

    // Framework internals: binding to the record layout.
    void Bind(int AFieldNo, int ACalcIndex);
    int GetCalcIndex() const { return FCalcIndex; }
    void SetFieldType(TFieldType Value) { FDataType = Value; }
    void SetFieldSize(int Value) { FSize = Value; }
    // The dataset forgets the field without the field asking to leave.
    void DetachDataSet() { FDataSet = nullptr; }

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

protected:
    void Destroy() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // "(Memo)" for a null memo, "(MEMO)" for one with a value.
    std::string ClassDesc() const;
    // The text shown (DisplayText) or edited; null values give "".
    virtual std::string FormatText(bool DisplayText) const;
    virtual int GetDefaultWidth() const { return 10; }
    // Raises EDatabaseError "Cannot access field '%s' as type %s".
    [[noreturn]] void AccessError(const std::string& TypeName) const;
    [[noreturn]] void RangeError(double Value, double Min, double Max) const;
    void PropertyChanged(bool LayoutAffected);
    void CheckInactive() const;

    TDataSet* FDataSet = nullptr;
    std::string FFieldName;
    TFieldType FDataType = ftUnknown;
    TFieldKind FFieldKind = fkData;
    int FSize = 0;
    int FFieldNo = 0;
    int FCalcIndex = -1;
    std::string FDisplayLabel;
    int FDisplayWidth = 0;
    TAlignment FAlignment = taLeftJustify;
    bool FVisible = true;
    bool FReadOnly = false;
    bool FRequired = false;
    std::string FEditMask;
    TDataSet* FLookupDataSet = nullptr;
    std::string FKeyFields, FLookupKeyFields, FLookupResultField;
    // The value being validated, which the field shows while OnValidate runs.
    const engine::TValue* FValidating = nullptr;
};

class TStringField : public TField {
    HOST_CLASS(TStringField, TField)
public:
    explicit TStringField(TComponent* AOwner);
    std::string GetAsString() const override;
    void SetAsString(const std::string& Value) override;
    int32_t GetAsInteger() const override;
    void SetAsInteger(int32_t Value) override;
    double GetAsFloat() const override;
    void SetAsFloat(double Value) override;
    bool GetAsBoolean() const override;
    void SetAsBoolean(bool Value) override;
    TDateTime GetAsDateTime() const override;
    void SetAsDateTime(TDateTime Value) override;

protected:
    int GetDefaultWidth() const override { return FSize; }
};

// Numbers: right-aligned, shown with DisplayFormat and edited with EditFormat.
class TNumericField : public TField {
    HOST_CLASS(TNumericField, TField)
public:
    explicit TNumericField(TComponent* AOwner);
    const std::string& GetDisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const std::string& Value);
    const std::string& GetEditFormat() const { return FEditFormat; }
    void SetEditFormat(const std::string& Value);
    bool IsValidChar(char Ch) const override;
    bool GetAsBoolean() const override { AccessError("Boolean"); }

protected:
    const std::string& FormatFor(bool DisplayText) const;
    std::string FDisplayFormat, FEditFormat;
};

class TIntegerField : public TNumericField {
    HOST_CLASS(TIntegerField, TNumericField)
public:
    explicit TIntegerField(TComponent* AOwner);
    int32_t GetMinValue() const { return FMinValue; }
    void SetMinValue(int32_t Value) { FMinValue = Value; }
    int32_t GetMaxValue() const { return FMaxValue; }
    void SetMaxValue(int32_t Value) { FMaxValue = Value; }

    std::string GetAsString() const override;
    void SetAsString(const std::string& Value) override;
    int32_t GetAsInteger() const override;
    void SetAsInteger(int32_t Value) override;
    double GetAsFloat() const override { return GetAsInteger(); }
    void SetAsFloat(double Value) override;
    TVariant GetAsVariant() const override;
    void SetAsVariant(const TVariant& Value) override;
    void Validate(const engine::TValue& Value) override;

protected:
    std::string FormatText(bool DisplayText) const override;
    int GetDefaultWidth() const override { return 11; }
    // The range the storage can hold; MinValue = MaxValue = 0 checks only this.
    int64_t FMinRange = INT32_MIN, FMaxRange = INT32_MAX;
    int32_t FMinValue = 0, FMaxValue = 0;
};

class TSmallintField : public TIntegerField {
    HOST_CLASS(TSmallintField, TIntegerField)
public:
    explicit TSmallintField(TComponent* AOwner);

protected:
    int GetDefaultWidth() const override { return 6; }
};

class TWordField : public TIntegerField {
    HOST_CLASS(TWordField, TIntegerField)
public:
    explicit TWordField(TComponent* AOwner);

protected:
    int GetDefaultWidth() const override { return 5; }
};

class TAutoIncField : public TIntegerField {
    HOST_CLASS(TAutoIncField, TIntegerField)
public:
    explicit TAutoIncField(TComponent* AOwner);
};

class TFloatField : public TNumericField {
    HOST_CLASS(TFloatField, TNumericField)
public:
    explicit TFloatField(TComponent* AOwner);
    bool GetCurrency() const { return FCurrency; }
    void SetCurrency(bool Value);
    int GetPrecision() const { return FPrecision; }
    void SetPrecision(int Value);
    double GetMinValue() const { return FMinValue; }
    void SetMinValue(double Value) { FMinValue = Value; }
    double GetMaxValue() const { return FMaxValue; }
    void SetMaxValue(double Value) { FMaxValue = Value; }

    std::string GetAsString() const override;
    void SetAsString(const std::string& Value) override;
    int32_t GetAsInteger() const override;
    void SetAsInteger(int32_t Value) override { SetAsFloat(Value); }
    double GetAsFloat() const override;
    void SetAsFloat(double Value) override;
    TVariant GetAsVariant() const override;
    void SetAsVariant(const TVariant& Value) override;
    void Validate(const engine::TValue& Value) override;
    bool IsValidChar(char Ch) const override;

protected:
    std::string FormatText(bool DisplayText) const override;
    int GetDefaultWidth() const override { return 10; }
    bool FCurrency = false;
    int FPrecision = 15;
    double FMinValue = 0, FMaxValue = 0;
};

class TCurrencyField : public TFloatField {
    HOST_CLASS(TCurrencyField, TFloatField)
public:
    explicit TCurrencyField(TComponent* AOwner);
};

// Fixed-point numbers with Size decimals, held as floating point.
class TBCDField : public TFloatField {
    HOST_CLASS(TBCDField, TFloatField)
public:
    explicit TBCDField(TComponent* AOwner);
    void SetAsFloat(double Value) override;
};

class TBooleanField : public TField {
    HOST_CLASS(TBooleanField, TField)
public:
    explicit TBooleanField(TComponent* AOwner);
    // "TrueText;FalseText".
    const std::string& GetDisplayValues() const { return FDisplayValues; }
    void SetDisplayValues(const std::string& Value);

    std::string GetAsString() const override;
    void SetAsString(const std::string& Value) override;
    bool GetAsBoolean() const override;
    void SetAsBoolean(bool Value) override;
    int32_t GetAsInteger() const override { AccessError("Integer"); }
    double GetAsFloat() const override { AccessError("Float"); }
    TVariant GetAsVariant() const override;
    void SetAsVariant(const TVariant& Value) override;

protected:
    std::string FormatText(bool DisplayText) const override;
    int GetDefaultWidth() const override;
    std::string FDisplayValues;
    std::string FTextTrue, FTextFalse;
};

class TDateTimeField : public TField {
    HOST_CLASS(TDateTimeField, TField)
public:
    explicit TDateTimeField(TComponent* AOwner);
    const std::string& GetDisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const std::string& Value);

    std::string GetAsString() const override { return FormatText(false); }
    void SetAsString(const std::string& Value) override;
    double GetAsFloat() const override { return GetAsDateTime(); }
    void SetAsFloat(double Value) override { SetAsDateTime(Value); }
    int32_t GetAsInteger() const override { AccessError("Integer"); }
    bool GetAsBoolean() const override { AccessError("Boolean"); }
    TDateTime GetAsDateTime() const override;
    void SetAsDateTime(TDateTime Value) override;
    TVariant GetAsVariant() const override;
    void SetAsVariant(const TVariant& Value) override;

protected:
    std::string FormatText(bool DisplayText) const override;
    virtual std::string DefaultText(TDateTime Value) const;
    virtual TDateTime ParseText(const std::string& Text) const;
    // The part of a date-time value the field keeps.
    virtual TDateTime Normalize(TDateTime Value) const { return Value; }
    int GetDefaultWidth() const override { return 18; }
    std::string FDisplayFormat;
};

class TDateField : public TDateTimeField {
    HOST_CLASS(TDateField, TDateTimeField)
public:
    explicit TDateField(TComponent* AOwner);

protected:
    std::string DefaultText(TDateTime Value) const override;
    TDateTime ParseText(const std::string& Text) const override;
    TDateTime Normalize(TDateTime Value) const override;
    int GetDefaultWidth() const override { return 10; }
};

class TTimeField : public TDateTimeField {
    HOST_CLASS(TTimeField, TDateTimeField)
public:
    explicit TTimeField(TComponent* AOwner);

protected:
    std::string DefaultText(TDateTime Value) const override;
    TDateTime ParseText(const std::string& Text) const override;
    TDateTime Normalize(TDateTime Value) const override;
    int GetDefaultWidth() const override { return 10; }
};

// Raw bytes; shown as "(Bytes)".
class TBinaryField : public TField {
    HOST_CLASS(TBinaryField, TField)
public:
    explicit TBinaryField(TComponent* AOwner);
    std::string GetAsString() const override;
    void SetAsString(const std::string& Value) override;
    TVariant GetAsVariant() const override;

protected:
    std::string FormatText(bool DisplayText) const override;
};

class TBytesField : public TBinaryField {
    HOST_CLASS(TBytesField, TBinaryField)
public:
    explicit TBytesField(TComponent* AOwner);
};

class TVarBytesField : public TBinaryField {
    HOST_CLASS(TVarBytesField, TBinaryField)
public:
    explicit TVarBytesField(TComponent* AOwner);
};

class TBlobField : public TField {
    HOST_CLASS(TBlobField, TField)
public:
    explicit TBlobField(TComponent* AOwner);
    TFieldType GetBlobType() const { return FDataType; }
    void SetBlobType(TFieldType Value);
    int64_t GetBlobSize() const;

    std::string GetAsString() const override;
    void SetAsString(const std::string& Value) override;
    TVariant GetAsVariant() const override;

    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream) const;
    // Raise EFOpenError / EFCreateError for files that cannot be opened.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName) const;

protected:
    std::string FormatText(bool DisplayText) const override;
};

class TMemoField : public TBlobField {
    HOST_CLASS(TMemoField, TBlobField)
public:
    explicit TMemoField(TComponent* AOwner);
};

class TGraphicField : public TBlobField {
    HOST_CLASS(TGraphicField, TBlobField)
public:
    explicit TGraphicField(TComponent* AOwner);
};

// The field class made for a field of type DataType (nullptr for types no
// field class handles).
TClass DefaultFieldClass(TFieldType DataType);

enum TBlobStreamMode { bmRead, bmWrite, bmReadWrite };

// A stream over a blob field's value: reading sees the value as it was when
// the stream was opened; what is written is stored into the field when the
// stream is freed.
class TBlobStream : public TStream {
    HOST_CLASS(TBlobStream, TStream)
public:
    TBlobStream(TBlobField* Field, TBlobStreamMode Mode);
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;
    // Stores what was written now rather than when the stream is freed.
    void Truncate();
    ~TBlobStream() override;

private:
    void Store();
    TBlobField* FField;
    TBlobStreamMode FMode;
    std::string FData;
    int64_t FPos = 0;
    bool FModified = false;
};

} // namespace host
