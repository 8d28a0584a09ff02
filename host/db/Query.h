#pragma once
// Parameters, TQuery (statements with :name parameters) and TStoredProc.
#include <memory>
#include <string>
#include <vector>

#include "host/db/DBTables.h"
#include "host/rtl/Strings.h"

namespace host {

HOST_ENUM(TParamType, ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult)

class TParam {
public:
    TParam(std::string AName, TParamType AParamType = ptInput) : FName(std::move(AName)), FParamType(AParamType) {}
    const std::string& GetName() const { return FName; }
    TParamType GetParamType() const { return FParamType; }
    void SetParamType(TParamType Value) { FParamType = Value; }
    TFieldType GetDataType() const { return FDataType; }
    void SetDataType(TFieldType Value) { FDataType = Value; }
    bool GetIsNull() const { return FValue.IsNull(); }
    void Clear() { FValue = TVariant(); }
    const TVariant& GetValue() const { return FValue; }
    void SetValue(const TVariant& Value) { FValue = Value; }

    std::string GetAsString() const { return FValue.IsNull() ? std::string() : FValue.AsString(); }
    void SetAsString(const std::string& Value) { Set(ftString, Value); }
    int32_t GetAsInteger() const { return static_cast<int32_t>(FValue.AsInt()); }
    void SetAsInteger(int32_t Value) { Set(ftInteger, Value); }
    double GetAsFloat() const { return FValue.AsFloat(); }
    void SetAsFloat(double Value) { Set(ftFloat, Value); }
    bool GetAsBoolean() const { return FValue.AsBool(); }
    void SetAsBoolean(bool Value) { Set(ftBoolean, Value); }
    TDateTime GetAsDateTime() const { return FValue.AsFloat(); }
    void SetAsDateTime(TDateTime Value) { Set(ftDateTime, Value); }
    void SetAsDate(TDateTime Value) { Set(ftDate, Value); }
    // Takes the field's type and value.
    void AssignField(const TField* Field);

private:
    void Set(TFieldType Type, const TVariant& Value)
    {
        FDataType = Type;
        FValue = Value;
    }
    std::string FName;
    TParamType FParamType;
    TFieldType FDataType = ftUnknown;
    TVariant FValue;
};

class TParams {
public:
    TParam* CreateParam(TFieldType DataType, const std::string& Name, TParamType ParamType);
    int GetCount() const { return static_cast<int>(FItems.size()); }
    TParam* GetItem(int Index) const;
    TParam* operator[](int Index) const { return GetItem(Index); }
    // nullptr when absent; names compare without regard to case.
    TParam* FindParam(const std::string& Name) const;
    // Raises EDatabaseError "Parameter '%s' not found".
    TParam* ParamByName(const std::string& Name) const;
    void Clear() { FItems.clear(); }
    // Keeps the values of parameters that Source has under the same name.
    void AssignValues(const TParams& Source);

private:
    std::vector<std::unique_ptr<TParam>> FItems;
};

// Replaces each :name outside quotes by ?, collecting the names in order
// (a name may appear several times). "::" stands for a colon.
std::string ParseSQLParams(const std::string& SQL, std::vector<std::string>& Names);

class TQuery : public TDBDataSet {
    HOST_CLASS(TQuery, TDBDataSet)
public:
    explicit TQuery(TComponent* AOwner);

    TStrings* GetSQL() const { return FSQL.get(); }
    void SetSQL(TStrings* Value);
    TParams* GetParams() const { return FParams.get(); }
    int GetParamCount() const { return FParams->GetCount(); }
    TParam* ParamByName(const std::string& Name) const { return FParams->ParamByName(Name); }
    void Prepare();
    void UnPrepare();
    bool GetPrepared() const { return FPrepared; }
    void SetPrepared(bool Value) { Value ? Prepare() : UnPrepare(); }
    // Runs a statement that returns no rows; RowsAffected tells how many changed.
    void ExecSQL();
    int64_t GetRowsAffected() const { return FRowsAffected; }
    bool GetRequestLive() const { return FRequestLive; }
    void SetRequestLive(bool Value);
    bool GetUniDirectional() const { return FUniDirectional; }
    void SetUniDirectional(bool Value);
    // Values of parameters not assigned are taken from this source's fields,
    // and the query runs again whenever that source moves to another record.
    TDataSource* GetDataSource() const override;
    void SetDataSource(TDataSource* Value);
    // Live results can be edited; other results are read-only.
    bool GetCanModify() const override;

protected:
    std::unique_ptr<engine::TEngineCursor> CreateCursor() override;
    void Destroy() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    class TQueryDataLink : public TDataLink {
    public:
        explicit TQueryDataLink(TQuery* AQuery) : FQuery(AQuery) {}

    protected:
        void ActiveChanged() override;
        void RecordChanged(TField* Field) override;
        void CheckBrowseMode() override;

    private:
        TQuery* FQuery;
    };
    void SQLChanged(TObject* Sender);
    std::vector<engine::TValue> ParamValues() const;
    void RefreshParams();

    std::unique_ptr<TStringList> FSQL;
    std::unique_ptr<TParams> FParams;
    std::unique_ptr<TQueryDataLink> FDataLink;
    std::vector<std::string> FParamOrder;
    std::string FText;
    bool FPrepared = false;
    bool FRequestLive = false;
    int64_t FRowsAffected = -1;
};

// Stored procedures: the engine has none, so ExecProc says so.
class TStoredProc : public TDBDataSet {
    HOST_CLASS(TStoredProc, TDBDataSet)
public:
    explicit TStoredProc(TComponent* AOwner);
    const std::string& GetStoredProcName() const { return FStoredProcName; }
    void SetStoredProcName(const std::string& Value) { FStoredProcName = Value; }
    TParams* GetParams() const { return FParams.get(); }
    int GetParamCount() const { return FParams->GetCount(); }
    TParam* ParamByName(const std::string& Name) const { return FParams->ParamByName(Name); }
    void Prepare();
    void ExecProc();
    bool GetCanModify() const override { return false; }

protected:
    std::unique_ptr<engine::TEngineCursor> CreateCursor() override;

private:
    [[noreturn]] void NotSupported() const;
    std::string FStoredProcName;
    std::unique_ptr<TParams> FParams;
};

} // namespace host
