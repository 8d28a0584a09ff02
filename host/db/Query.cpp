#include "host/db/Query.h"

#include <cctype>

#include "host/db/DBConsts.h"
#include "host/db/DataSource.h"

namespace host {

// ---- parameters

void TParam::AssignField(const TField* Field)
{
    FDataType = Field->GetDataType();
    FValue = Field->GetAsVariant();
}

TParam* TParams::CreateParam(TFieldType DataType, const std::string& Name, TParamType ParamType)
{
    FItems.push_back(std::make_unique<TParam>(Name, ParamType));
    FItems.back()->SetDataType(DataType);
    return FItems.back().get();
}

TParam* TParams::GetItem(int Index) const
{
    if (Index < 0 || Index >= GetCount()) DatabaseError("Parameter index out of range");
    return FItems[static_cast<size_t>(Index)].get();
}

TParam* TParams::FindParam(const std::string& Name) const
{
    for (auto& p : FItems)
        if (SameText(p->GetName(), Name)) return p.get();
    return nullptr;
}

TParam* TParams::ParamByName(const std::string& Name) const
{
    TParam* p = FindParam(Name);
    if (!p) DatabaseErrorFmt(DBConsts::SParameterNotFound, {Name});
    return p;
}

void TParams::AssignValues(const TParams& Source)
{
    for (auto& p : FItems)
        if (TParam* s = Source.FindParam(p->GetName())) {
            p->SetDataType(s->GetDataType());
            p->SetValue(s->GetValue());
        }
}

std::string ParseSQLParams(const std::string& SQL, std::vector<std::string>& Names)
{
    std::string out;
    char quote = 0;
    for (size_t i = 0; i < SQL.size(); ++i) {
        char c = SQL[i];
        if (quote) {
            out += c;
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            out += c;
            continue;
        }
        if (c != ':') {
            out += c;
            continue;
        }
        if (i + 1 < SQL.size() && SQL[i + 1] == ':') {
            out += ':';
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < SQL.size() && (std::isalnum(static_cast<unsigned char>(SQL[j])) || SQL[j] == '_')) ++j;
        if (j == i + 1) {
            out += c;
            continue;
        }
        Names.push_back(SQL.substr(i + 1, j - i - 1));
        out += '?';
        i = j - 1;
    }
    return out;
}

// ---- TQuery

TQuery::TQuery(TComponent* AOwner)
    : TDBDataSet(AOwner), FSQL(std::make_unique<TStringList>()), FParams(std::make_unique<TParams>()),
      FDataLink(std::make_unique<TQueryDataLink>(this))
{
    FSQL->SetOnChange(TNotifyEvent(this, &TQuery::SQLChanged));
}

void TQuery::Destroy()
{
    FDataLink->SetDataSource(nullptr);
    TDBDataSet::Destroy();
}

void TQuery::SetSQL(TStrings* Value) { FSQL->Assign(Value); }

void TQuery::SQLChanged(TObject*)
{
    if (GetActive()) Close();
    UnPrepare();
    // The parameter list follows the text; values of names that stay are kept.
    std::vector<std::string> names;
    FText = ParseSQLParams(FSQL->GetText(), names);
    auto fresh = std::make_unique<TParams>();
    for (auto& n : names)
        if (!fresh->FindParam(n)) fresh->CreateParam(ftUnknown, n, ptInput);
    fresh->AssignValues(*FParams);
    FParams = std::move(fresh);
    FParamOrder = std::move(names);
}

void TQuery::Prepare()
{
    if (FPrepared) return;
    if (Trim(FSQL->GetText()).empty()) DatabaseError(DBConsts::SNoSQLStatement);
    engine::TEngineDatabase& db = OpenDatabase();
    // Compiled now so that a mistake shows before the statement runs.
    DbiGuard([&] { db.CheckSql(FText); });
    FPrepared = true;
}

void TQuery::UnPrepare() { FPrepared = false; }

void TQuery::SetRequestLive(bool Value)
{
    if (Value == FRequestLive) return;
    CheckInactive();
    FRequestLive = Value;
}

void TQuery::SetUniDirectional(bool Value)
{
    if (Value == FUniDirectional) return;
    CheckInactive();
    FUniDirectional = Value;
}

TDataSource* TQuery::GetDataSource() const { return FDataLink->GetDataSource(); }

void TQuery::SetDataSource(TDataSource* Value)
{
    if (Value == GetDataSource()) return;
    if (Value && IsLinkedTo(Value)) DatabaseError(DBConsts::SCircularDataLink);
    if (TDataSource* old = GetDataSource()) old->RemoveFreeNotification(this);
    FDataLink->SetDataSource(Value);
    if (Value) Value->FreeNotification(this);
}

void TQuery::Notification(TComponent* AComponent, TOperation Operation)
{
    TDBDataSet::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == GetDataSource()) FDataLink->SetDataSource(nullptr);
}

bool TQuery::GetCanModify() const { return TDBDataSet::GetCanModify(); }

std::vector<engine::TValue> TQuery::ParamValues() const
{
    std::vector<engine::TValue> values;
    TDataSet* master = GetDataSource() ? GetDataSource()->GetDataSet() : nullptr;
    for (auto& n : FParamOrder) {
        TParam* p = FParams->ParamByName(n);
        if (p->GetIsNull() && p->GetDataType() == ftUnknown && master && master->GetActive())
            if (TField* f = master->FindField(n)) {
                values.push_back(f->GetAsVariant());
                continue;
            }
        values.push_back(p->GetValue());
    }
    return values;
}

void TQuery::RefreshParams()
{
    if (!GetActive() || GetComponentState().Contains(csDestroying)) return;
    TDataSet* master = GetDataSource() ? GetDataSource()->GetDataSet() : nullptr;
    if (!master || !master->GetActive() || master->GetState() == dsSetKey) return;
    DisableControls();
    try {
        Close();
        Open();
    } catch (...) {
        EnableControls();
        throw;
    }
    EnableControls();
}

void TQuery::TQueryDataLink::ActiveChanged()
{
    if (GetActive()) FQuery->RefreshParams();
}

void TQuery::TQueryDataLink::RecordChanged(TField* Field)
{
    // A whole-record change (a move); edits of single fields wait for the post.
    if (!Field) FQuery->RefreshParams();
}

void TQuery::TQueryDataLink::CheckBrowseMode()
{
    if (FQuery->GetActive()) FQuery->CheckBrowseMode();
}

void TQuery::ExecSQL()
{
    CheckInactive();
    Prepare();
    auto values = ParamValues();
    engine::TEngineDatabase& db = OpenDatabase();
    FRowsAffected = DbiGuard([&] { return db.ExecSQL(FText, values); });
}

std::unique_ptr<engine::TEngineCursor> TQuery::CreateCursor()
{
    Prepare();
    auto values = ParamValues();
    engine::TEngineDatabase& db = OpenDatabase();
    auto view = db.OpenQuery(FText, values, FRequestLive);
    return std::make_unique<engine::TEngineCursor>(view);
}

HOST_PUBLISHED(TQuery)
{
    P.Property("DataSource", &TQuery::GetDataSource, &TQuery::SetDataSource);
    P.Property("RequestLive", &TQuery::GetRequestLive, &TQuery::SetRequestLive).Default(false);
    P.Property("SQL", &TQuery::GetSQL, &TQuery::SetSQL);
    P.Property("UniDirectional", &TQuery::GetUniDirectional, &TQuery::SetUniDirectional).Default(false);
}

// ---- TStoredProc

TStoredProc::TStoredProc(TComponent* AOwner) : TDBDataSet(AOwner), FParams(std::make_unique<TParams>()) {}

void TStoredProc::NotSupported() const
{
    throw EDBEngineError(engine::DBIERR_NOTSUPPORTED,
                         "Stored procedures are not supported by this engine: " + FStoredProcName);
}

void TStoredProc::Prepare() { NotSupported(); }
void TStoredProc::ExecProc() { NotSupported(); }
std::unique_ptr<engine::TEngineCursor> TStoredProc::CreateCursor() { NotSupported(); }

HOST_PUBLISHED(TStoredProc)
{
    P.Property("StoredProcName", &TStoredProc::GetStoredProcName, &TStoredProc::SetStoredProcName);
}

HOST_REGISTER_CLASSES(TQuery, TStoredProc);

} // namespace host
