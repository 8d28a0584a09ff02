#include "host/db/DBBase.h"

#include "host/db/DBConsts.h"
#include "host/db/DataSet.h"

namespace host {

void DatabaseError(const std::string& Msg) { throw EDatabaseError(Msg); }

void DatabaseErrorFmt(const std::string& Fmt, TVarRecs Args) { throw EDatabaseError(Format(Fmt, Args)); }

EDBEngineError::EDBEngineError(uint16_t ErrorCode, const std::string& Message)
    : EDatabaseError(Message.empty() ? engine::EngineErrorText(ErrorCode) : Message)
{
    FErrors.emplace_back(ErrorCode, GetMessage());
}

EDBEngineError::EDBEngineError(const engine::EEngineError& Error) : EDatabaseError(Error.GetMessage())
{
    FErrors.emplace_back(Error.GetErrorCode(), Error.GetMessage());
}

bool IsDataEditState(TDataSetState State) { return State == dsEdit || State == dsInsert; }

std::string FieldTypeName(TFieldType Type)
{
    static const char* const Names[] = {"Unknown", "String", "SmallInt", "Integer", "Word", "Boolean", "Float",
                                        "Currency", "BCD", "Date", "Time", "DateTime", "Bytes", "VarBytes",
                                        "AutoInc", "Blob", "Memo", "Graphic", "FmtMemo", "ParadoxOle", "DBaseOle",
                                        "TypedBinary", "Cursor", "FixedChar", "WideString", "Largeint"};
    size_t i = static_cast<size_t>(Type);
    return i < std::size(Names) ? Names[i] : "Unknown";
}

// ---- TFieldDefs

TFieldDef* TFieldDefs::Add(const std::string& Name, TFieldType DataType, int Size, bool Required)
{
    if (Name.empty()) DatabaseError(DBConsts::SFieldNameMissing);
    if (IndexOf(Name) >= 0) DatabaseErrorFmt(DBConsts::SDuplicateFieldName, {Name});
    FItems.push_back(std::make_unique<TFieldDef>(Name, DataType, Size, Required, GetCount() + 1));
    return FItems.back().get();
}

TFieldDef* TFieldDefs::GetItem(int Index) const
{
    if (Index < 0 || Index >= GetCount()) DatabaseError(DBConsts::SFieldIndexError);
    return FItems[Index].get();
}

int TFieldDefs::IndexOf(const std::string& Name) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (SameText(FItems[i]->GetName(), Name)) return i;
    return -1;
}

TFieldDef* TFieldDefs::Find(const std::string& Name) const
{
    int i = IndexOf(Name);
    if (i < 0) DatabaseErrorFmt(DBConsts::SFieldNotFound, {Name});
    return FItems[i].get();
}

void TFieldDefs::Update()
{
    if (FDataSet) FDataSet->UpdateFieldDefs();
}

std::vector<engine::TFieldDesc> TFieldDefs::ToDesc() const
{
    std::vector<engine::TFieldDesc> r;
    for (auto& d : FItems) r.push_back({d->GetName(), d->GetDataType(), d->GetSize(), d->GetRequired()});
    return r;
}

void TFieldDefs::Assign(const std::vector<engine::TFieldDesc>& Fields)
{
    Clear();
    for (auto& f : Fields) Add(f.Name, f.DataType, f.Size, f.Required);
}

// ---- TIndexDefs

TIndexDef* TIndexDefs::Add(const std::string& Name, const std::string& Fields, TIndexOptions Options)
{
    if (IndexOf(Name) >= 0 && !Name.empty()) DatabaseErrorFmt("Duplicate index name '%s'", {Name});
    FItems.push_back(std::make_unique<TIndexDef>(Name, Fields, Options));
    return FItems.back().get();
}

TIndexDef* TIndexDefs::GetItem(int Index) const
{
    if (Index < 0 || Index >= GetCount()) DatabaseError("Index out of range");
    return FItems[Index].get();
}

int TIndexDefs::IndexOf(const std::string& Name) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (SameText(FItems[i]->GetName(), Name)) return i;
    return -1;
}

TIndexDef* TIndexDefs::Find(const std::string& Name) const
{
    int i = IndexOf(Name);
    if (i < 0) DatabaseErrorFmt(DBConsts::SIndexNotFound, {Name});
    return FItems[i].get();
}

TIndexDef* TIndexDefs::GetIndexForFields(const std::string& Fields, bool CaseInsensitive) const
{
    auto want = engine::SplitFieldNames(Fields);
    for (auto& d : FItems) {
        if (d->GetOptions().Contains(ixExpression)) continue;
        if (CaseInsensitive != d->GetOptions().Contains(ixCaseInsensitive)) continue;
        auto have = engine::SplitFieldNames(d->GetFields());
        if (have.size() < want.size()) continue;
        bool match = true;
        for (size_t i = 0; i < want.size() && match; ++i) match = SameText(have[i], want[i]);
        if (match) return d.get();
    }
    return nullptr;
}

void TIndexDefs::Update()
{
    if (FDataSet) FDataSet->UpdateIndexDefs();
}

std::vector<engine::TIndexDesc> TIndexDefs::ToDesc() const
{
    std::vector<engine::TIndexDesc> r;
    for (auto& d : FItems)
        r.push_back({d->GetName(), d->GetFields(), d->GetExpression(),
                     static_cast<engine::TIndexOptions>(d->GetOptions().ToInt())});
    return r;
}

void TIndexDefs::Assign(const std::vector<engine::TIndexDesc>& Indexes)
{
    Clear();
    for (auto& x : Indexes) {
        FItems.push_back(std::make_unique<TIndexDef>(x.Name, x.Fields, TIndexOptions::FromInt(x.Options)));
        FItems.back()->SetExpression(x.Expression);
    }
}

} // namespace host
