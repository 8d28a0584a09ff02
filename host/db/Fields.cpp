#include "host/db/Fields.h"

#include "host/db/DBConsts.h"
#include "host/db/DataSet.h"
#include "host/db/DataSource.h"
#include "host/rtl/SysFloat.h"

namespace host {

using engine::TValue;
using engine::TValueKind;

TField::TField(TComponent* AOwner) : TComponent(AOwner) {}

void TField::Destroy()
{
    if (FDataSet) {
        FDataSet->GetFields()->Remove(this);
        FDataSet = nullptr;
    }
    if (FLookupDataSet) FLookupDataSet->RemoveFreeNotification(this);
    inherited::Destroy();
}

void TField::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FLookupDataSet) FLookupDataSet = nullptr;
}

TComponent* TField::GetParentComponent() const { return FDataSet; }

void TField::SetParentComponent(TComponent* Value)
{
    if (GetComponentState().Contains(csLoading) || !FDataSet) SetDataSet(dynamic_cast<TDataSet*>(Value));
}

void TField::SetDataSet(TDataSet* Value)
{
    if (Value == FDataSet) return;
    if (FDataSet) FDataSet->CheckInactive();
    if (Value) {
        Value->CheckInactive();
        Value->AddField(this);
    }
    if (FDataSet) FDataSet->RemoveField(this);
    FDataSet = Value;
}

void TField::CheckInactive() const
{
    if (FDataSet) FDataSet->CheckInactive();
}

void TField::SetFieldName(const std::string& Value)
{
    if (Value == FFieldName) return;
    if (FDataSet) {
        TField* other = FDataSet->FindField(Value);
        if (other && other != this) DatabaseErrorFmt(DBConsts::SDuplicateFieldName, {Value});
        CheckInactive();
    }
    FFieldName = Value;
}

void TField::SetFieldKind(TFieldKind Value)
{
    if (Value == FFieldKind) return;
    CheckInactive();
    FFieldKind = Value;
}

void TField::SetSize(int Value)
{
    if (Value == FSize) return;
    CheckInactive();
    FSize = Value;
}

int TField::GetIndex() const { return FDataSet ? FDataSet->GetFields()->IndexOf(this) : -1; }

void TField::SetIndex(int Value)
{
    if (!FDataSet) return;
    int cur = GetIndex();
    if (cur == Value) return;
    FDataSet->GetFields()->Move(cur, Value);
    PropertyChanged(true);
}

bool TField::GetIsIndexField() const { return FDataSet && FDataSet->IsIndexField(this); }

void TField::PropertyChanged(bool LayoutAffected)
{
    if (FDataSet && FDataSet->GetActive()) FDataSet->DataEvent(LayoutAffected ? deLayoutChange : deDataSetChange, 0);
}

void TField::SetDisplayLabel(const std::string& Value)
{
    if (Value == FDisplayLabel) return;
    FDisplayLabel = Value == FFieldName ? std::string() : Value;
    PropertyChanged(true);
}

void TField::SetDisplayWidth(int Value)
{
    if (Value == FDisplayWidth) return;
    FDisplayWidth = Value;
    PropertyChanged(true);
}

void TField::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment) return;
    FAlignment = Value;
    PropertyChanged(false);
}

void TField::SetVisible(bool Value)
{
    if (Value == FVisible) return;
    FVisible = Value;
    PropertyChanged(true);
}

void TField::SetReadOnly(bool Value)
{
    if (Value == FReadOnly) return;
    FReadOnly = Value;
    PropertyChanged(false);
}

void TField::SetEditMask(const std::string& Value)
{
    if (Value == FEditMask) return;
    FEditMask = Value;
    PropertyChanged(false);
}

void TField::SetLookupDataSet(TDataSet* Value)
{
    if (Value == FLookupDataSet) return;
    CheckInactive();
    if (FLookupDataSet) FLookupDataSet->RemoveFreeNotification(this);
    FLookupDataSet = Value;
    if (Value) Value->FreeNotification(this);
}

bool TField::IsValidChar(char) const { return true; }

bool TField::CanModify() const
{
    if (FReadOnly || !FDataSet) return false;
    if (FFieldKind != fkData && FFieldKind != fkInternalCalc) return false;
    return FDataSet->GetState() == dsSetKey || FDataSet->CanModify();
}

void TField::Bind(int AFieldNo, int ACalcIndex)
{
    FFieldNo = AFieldNo;
    FCalcIndex = ACalcIndex;
}

// ---- values

bool TField::GetData(TValue& Value) const
{
    if (FValidating) {
        Value = *FValidating;
        return !Value.IsNull();
    }
    if (!FDataSet) DatabaseErrorFmt(DBConsts::SDataSetMissing, {GetDisplayName()});
    return FDataSet->GetFieldData(this, Value);
}

void TField::SetData(const TValue& Value)
{
    if (!FDataSet) DatabaseErrorFmt(DBConsts::SDataSetMissing, {GetDisplayName()});
    TDataSetState st = FDataSet->GetState();
    bool writable = IsDataEditState(st) || st == dsSetKey || st == dsCalcFields || st == dsFilter;
    if (!writable) DatabaseError(DBConsts::SNotEditing);
    bool calcState = st == dsCalcFields || st == dsFilter;
    if (!calcState && st != dsSetKey) {
        if (FReadOnly || (FFieldKind != fkData && FFieldKind != fkInternalCalc))
            DatabaseErrorFmt(DBConsts::SFieldReadOnly, {GetDisplayName()});
        Validate(Value);
    }
    FDataSet->SetFieldData(this, Value);
}

bool TField::GetIsNull() const
{
    TValue v;
    return !GetData(v);
}

void TField::Validate(const TValue& Value)
{
    if (!OnValidate) return;
    FValidating = &Value;
    try {
        OnValidate(this);
    } catch (...) {
        FValidating = nullptr;
        throw;
    }
    FValidating = nullptr;
}

void TField::AccessError(const std::string& TypeName) const
{
    DatabaseErrorFmt(DBConsts::SFieldAccessError, {GetDisplayName(), TypeName});
}

void TField::RangeError(double Value, double Min, double Max) const
{
    DatabaseErrorFmt(DBConsts::SFieldRangeError,
                     {FloatToStr(Value), GetDisplayName(), FloatToStr(Min), FloatToStr(Max)});
}

std::string TField::GetAsString() const { AccessError("String"); }
void TField::SetAsString(const std::string&) { AccessError("String"); }
int32_t TField::GetAsInteger() const { AccessError("Integer"); }
void TField::SetAsInteger(int32_t) { AccessError("Integer"); }
double TField::GetAsFloat() const { AccessError("Float"); }
void TField::SetAsFloat(double) { AccessError("Float"); }
bool TField::GetAsBoolean() const { AccessError("Boolean"); }
void TField::SetAsBoolean(bool) { AccessError("Boolean"); }
TDateTime TField::GetAsDateTime() const { AccessError("DateTime"); }
void TField::SetAsDateTime(TDateTime) { AccessError("DateTime"); }

TVariant TField::GetAsVariant() const
{
    TValue v;
    GetData(v);
    return v;
}

void TField::SetAsVariant(const TVariant& Value)
{
    switch (Value.Kind) {
    case TValueKind::Null: Clear(); break;
    case TValueKind::Integer: SetAsInteger(static_cast<int32_t>(Value.Int)); break;
    case TValueKind::Float: SetAsFloat(Value.Float); break;
    case TValueKind::Text:
    case TValueKind::Blob: SetAsString(Value.Bytes); break;
    }
}

// ---- texts

std::string TField::ClassDesc() const
{
    std::string name = ClassName();
    if (name.size() > 1 && name[0] == 'T') name.erase(0, 1);
    if (name.size() > 5 && name.compare(name.size() - 5, 5, "Field") == 0) name.resize(name.size() - 5);
    return "(" + (GetIsNull() ? name : UpperCase(name)) + ")";
}

std::string TField::FormatText(bool) const { return GetIsNull() ? std::string() : GetAsString(); }

std::string TField::GetDisplayText() const
{
    if (OnGetText) {
        std::string s;
        OnGetText(const_cast<TField*>(this), s, true);
        return s;
    }
    return FormatText(true);
}

std::string TField::GetText() const
{
    if (OnGetText) {
        std::string s;
        OnGetText(const_cast<TField*>(this), s, false);
        return s;
    }
    return FormatText(false);
}

void TField::SetText(const std::string& Value) { SetAsString(Value); }

void TField::SetEditText(const std::string& Value)
{
    if (OnSetText)
        OnSetText(this, Value);
    else
        SetText(Value);
}

void TField::FocusControl()
{
    if (!FDataSet || !FDataSet->GetActive()) return;
    TField* f = this;
    FDataSet->DataEvent(deFocusControl, reinterpret_cast<intptr_t>(&f));
}

// ---- published

HOST_PUBLISHED(TField)
{
    P.Property("Alignment", &TField::GetAlignment, &TField::SetAlignment).Default(taLeftJustify);
    P.Property("DisplayLabel", &TField::FDisplayLabel);
    P.Property("DisplayWidth", &TField::FDisplayWidth).Default(0);
    P.Property("EditMask", &TField::GetEditMask, &TField::SetEditMask);
    P.Property("FieldKind", &TField::GetFieldKind, &TField::SetFieldKind).Default(fkData);
    P.Property("FieldName", &TField::GetFieldName, &TField::SetFieldName);
    P.Property("KeyFields", &TField::GetKeyFields, &TField::SetKeyFields);
    P.Property("LookupDataSet", &TField::GetLookupDataSet, &TField::SetLookupDataSet);
    P.Property("LookupKeyFields", &TField::GetLookupKeyFields, &TField::SetLookupKeyFields);
    P.Property("LookupResultField", &TField::GetLookupResultField, &TField::SetLookupResultField);
    P.Property("ReadOnly", &TField::GetReadOnly, &TField::SetReadOnly).Default(false);
    P.Property("Required", &TField::GetRequired, &TField::SetRequired).Default(false);
    P.Property("Visible", &TField::GetVisible, &TField::SetVisible).Default(true);
    P.Property("OnChange", &TField::OnChange);
    P.Property("OnGetText", &TField::OnGetText);
    P.Property("OnSetText", &TField::OnSetText);
    P.Property("OnValidate", &TField::OnValidate);
}

} // namespace host
