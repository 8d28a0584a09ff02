#include "host/db/DataSet.h"

#include <algorithm>

#include "host/db/DBConsts.h"
#include "host/db/DataSource.h"

namespace host {

using engine::TValue;

// ---- TFields

TField* TFields::GetField(int Index) const
{
    if (Index < 0 || Index >= GetCount()) DatabaseError(DBConsts::SFieldIndexError);
    return FList[Index];
}

TField* TFields::FindField(const std::string& FieldName) const
{
    for (TField* f : FList)
        if (SameText(f->GetFieldName(), FieldName)) return f;
    return nullptr;
}

TField* TFields::FieldByName(const std::string& FieldName) const
{
    TField* f = FindField(FieldName);
    if (!f) DatabaseErrorFmt(DBConsts::SFieldNotFound, {FieldName});
    return f;
}

int TFields::IndexOf(const TField* Field) const
{
    auto it = std::find(FList.begin(), FList.end(), Field);
    return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

void TFields::Add(TField* Field)
{
    if (!Field->GetFieldName().empty() && FindField(Field->GetFieldName()))
        DatabaseErrorFmt(DBConsts::SDuplicateFieldName, {Field->GetFieldName()});
    FList.push_back(Field);
}

void TFields::Remove(TField* Field) { std::erase(FList, Field); }

void TFields::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex) return;
    NewIndex = std::clamp(NewIndex, 0, GetCount() - 1);
    TField* f = GetField(CurIndex);
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, f);
}

void TFields::GetFieldNames(TStrings* List) const
{
    List->BeginUpdate();
    List->Clear();
    for (TField* f : FList) List->Add(f->GetFieldName());
    List->EndUpdate();
}

// ---- TDataSet: construction and lifetime

namespace {
std::vector<TDataSet*>& OpenList()
{
    static std::vector<TDataSet*> list;
    return list;
}
} // namespace

const std::vector<TDataSet*>& TDataSet::OpenDataSets() { return OpenList(); }

TDataSet::TDataSet(TComponent* AOwner)
    : TComponent(AOwner), FFields(std::make_unique<TFields>(this)), FFieldDefs(std::make_unique<TFieldDefs>(this))
{
}

void TDataSet::Destroy()
{
    if (GetActive()) {
        try {
            Close();
        } catch (...) {
            // A failing close must not stop the destruction; the cursor goes regardless.
            std::erase(OpenList(), this);
            FCursor.reset();
            FState = dsInactive;
        }
    }
    // Data sources keep pointers to us; tell them we are gone.
    for (TDataSource* ds : std::vector<TDataSource*>(FDataSources)) ds->SetDataSet(nullptr);
    DestroyFields();
    while (FFields->GetCount()) {
        TField* f = FFields->GetField(0);
        f->DetachDataSet();
        FFields->Remove(f);
    }
    inherited::Destroy();
}

void TDataSet::Loaded()
{
    inherited::Loaded();
    if (FStreamedActive) SetActive(true);
}

void TDataSet::CheckActive() const
{
    if (!GetActive()) DatabaseError(DBConsts::SDataSetClosed);
}

void TDataSet::CheckInactive() const
{
    if (GetActive()) DatabaseError(DBConsts::SDataSetOpen);
}

engine::TEngineCursor& TDataSet::Cursor() const
{
    if (!FCursor) DatabaseError(DBConsts::SDataSetClosed);
    return *FCursor;
}

bool TDataSet::GetCanModify() const { return FCursor && !FCursor->Table().GetReadOnly(); }

void TDataSet::SetState(TDataSetState Value)
{
    if (FState == Value) return;
    FState = Value;
    FModified = false;
    DataEvent(deUpdateState, 0);
}

// ---- opening and closing

void TDataSet::SetActive(bool Value)
{
    if (GetComponentState().Contains(csReading) || GetComponentState().Contains(csLoading)) {
        FStreamedActive = Value;
        return;
    }
    if (GetActive() == Value) return;
    if (Value) {
        BeforeOpen(this);
        DoOpen();
        SetState(dsBrowse);
        AfterOpen(this);
        if (!IsEmpty()) AfterScroll(this);
    } else {
        bool destroying = GetComponentState().Contains(csDestroying);
        if (!destroying) BeforeClose(this);
        SetState(dsInactive);
        DoClose();
        if (!destroying) AfterClose(this);
    }
}

void TDataSet::DoOpen()
{
    DbiGuard([&] { FCursor = CreateCursor(); });
    try {
        DbiGuard([&] { OpenCursor(); });
        OpenList().push_back(this);
    } catch (...) {
        BindFields(false);
        if (FDefaultFields) DestroyFields();
        FCursor.reset();
        FBuffers.clear();
        FRecordCount = 0;
        throw;
    }
}

void TDataSet::OpenCursor()
{
    {
        UpdateFieldDefs();
        FDefaultFields = FFields->GetCount() == 0;
        if (FDefaultFields) CreateFields();
        BindFields(true);
        UpdateFilters();
        OpenCursorComplete();
        FBOF = true;
        FEOF = false;
        FCursor->First();
        FEOF = FCursor->IsEmpty();
        FillWindow(0);
    }
}

void TDataSet::DoClose()
{
    std::erase(OpenList(), this);
    InternalClose();
    FCursor.reset();
    FExprFilter = FRecordFilter = 0;
    FBuffers.clear();
    FRecordCount = 0;
    FActiveRecord = 0;
    FWindowTop = 0;
    BindFields(false);
    if (FDefaultFields) DestroyFields();
    FDefaultFields = false;
    FBOF = FEOF = true;
}

void TDataSet::UpdateFieldDefs()
{
    if (!FCursor) return;
    FFieldDefs->Assign(FCursor->Table().GetDesc().Fields);
}

void TDataSet::CreateFields()
{
    for (int i = 0; i < FFieldDefs->GetCount(); ++i) {
        TFieldDef* d = FFieldDefs->GetItem(i);
        TClass cls = DefaultFieldClass(d->GetDataType());
        if (!cls) continue;
        auto* f = static_cast<TField*>(cls->NewInstance(this));
        f->SetFieldType(d->GetDataType());
        f->SetFieldSize(d->GetSize());
        f->SetFieldName(d->GetName());
        f->SetRequired(d->GetRequired());
        f->SetDataSet(this);
    }
}

void TDataSet::DestroyFields()
{
    // Only the fields the dataset made itself; persistent fields belong to the form.
    for (int i = FFields->GetCount() - 1; i >= 0; --i) {
        TField* f = FFields->GetField(i);
        if (f->GetOwner() != this) continue;
        f->DetachDataSet();
        FFields->Remove(f);
        f->Free();
    }
}

void TDataSet::BindFields(bool Binding)
{
    FCalcFieldCount = 0;
    for (int i = 0; i < FFields->GetCount(); ++i) {
        TField* f = FFields->GetField(i);
        if (!Binding) {
            f->Bind(0, -1);
            continue;
        }
        if (f->GetFieldKind() != fkData) {
            f->Bind(0, FCalcFieldCount++);
            continue;
        }
        TFieldDef* d = FFieldDefs->Find(f->GetFieldName());
        bool compatible = d->GetDataType() == f->GetDataType() ||
                          (f->GetDataType() == ftUnknown) ||
                          (engine::IsBlobType(d->GetDataType()) && f->InheritsFrom(TBlobField::StaticClass()));
        if (!compatible)
            DatabaseErrorFmt(DBConsts::SFieldTypeMismatch,
                             {f->GetDisplayName(), FieldTypeName(f->GetDataType()), FieldTypeName(d->GetDataType())});
        if (f->GetDataType() == ftUnknown) f->SetFieldType(d->GetDataType());
        f->Bind(d->GetFieldNo(), -1);
    }
}

void TDataSet::AddField(TField* Field)
{
    CheckInactive();
    FFields->Add(Field);
}

void TDataSet::RemoveField(TField* Field)
{
    if (GetActive() && !GetComponentState().Contains(csDestroying)) CheckInactive();
    FFields->Remove(Field);
}

std::vector<TField*> TDataSet::GetFieldList(const std::string& FieldNames) const
{
    std::vector<TField*> r;
    for (auto& n : engine::SplitFieldNames(FieldNames)) r.push_back(FieldByName(n));
    return r;
}

bool TDataSet::IsIndexField(const TField*) const { return false; }

// ---- notifications

void TDataSet::DataEvent(TDataEvent Event, intptr_t Info)
{
    if (Event == deFieldChange) {
        auto* field = reinterpret_cast<TField*>(Info);
        if (field->GetFieldKind() == fkData || field->GetFieldKind() == fkInternalCalc) FModified = true;
        if (FState != dsSetKey) {
            if (FAutoCalcFields && FCalcFieldCount > 0 && field->GetFieldKind() == fkData)
                if (TRecBuf* buf = CurrentBuffer()) CalculateFields(*buf);
            field->OnChange(field);
        }
    }
    if (FDisableCount == 0) {
        for (TDataSource* ds : std::vector<TDataSource*>(FDataSources)) ds->DataEvent(Event, Info);
        return;
    }
    if ((Event == deUpdateState && FState == dsInactive) || Event == deLayoutChange) FEnableEvent = deLayoutChange;
}

void TDataSet::DisableControls()
{
    if (FDisableCount == 0) {
        FDisableState = FState;
        FEnableEvent = deDataSetChange;
    }
    ++FDisableCount;
}

void TDataSet::EnableControls()
{
    if (FDisableCount == 0) return;
    if (--FDisableCount != 0) return;
    if (FDisableState != FState) DataEvent(deUpdateState, 0);
    if (FDisableState != dsInactive && FState != dsInactive) DataEvent(FEnableEvent, 0);
}

bool TDataSet::IsLinkedTo(const TDataSource* DataSource) const
{
    for (int guard = 0; DataSource && guard < 1000; ++guard) {
        TDataSet* ds = DataSource->GetDataSet();
        if (!ds) break;
        if (ds == this) return true;
        DataSource = ds->GetDataSource();
    }
    return false;
}

void TDataSet::AddDataSource(TDataSource* DataSource)
{
    FDataSources.push_back(DataSource);
    UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource* DataSource)
{
    std::erase(FDataSources, DataSource);
    UpdateBufferCount();
}

void TDataSet::UpdateBufferCount()
{
    int count = 1;
    for (TDataSource* ds : FDataSources)
        for (TDataLink* l : ds->DataLinks()) count = std::max(count, l->GetBufferCount());
    if (count == FBufferCount) return;
    FBufferCount = count;
    if (!GetActive() || FState != dsBrowse) return;
    ResyncAt(FActiveRecord);
    DataEvent(deLayoutChange, 0);
}

} // namespace host
