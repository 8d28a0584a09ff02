#include "host/db/DataSource.h"

#include <algorithm>

#include "host/db/DBConsts.h"

namespace host {

std::function<bool(TComponent* Control)> DBFocusControlHandler;

// ---- TDataSource

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

void TDataSource::Destroy()
{
    for (TDataLink* l : std::vector<TDataLink*>(FDataLinks)) l->SetDataSource(nullptr);
    SetDataSet(nullptr);
    inherited::Destroy();
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDataSet) SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* Value)
{
    if (Value == FDataSet) return;
    if (Value && IsLinkedTo(Value)) DatabaseError(DBConsts::SCircularDataLink);
    if (FDataSet) {
        FDataSet->RemoveDataSource(this);
        FDataSet->RemoveFreeNotification(this);
    }
    FDataSet = Value;
    if (Value) {
        Value->AddDataSource(this);
        Value->FreeNotification(this);
    }
    UpdateState();
}

void TDataSource::SetEnabled(bool Value)
{
    if (Value == FEnabled) return;
    FEnabled = Value;
    UpdateState();
}

void TDataSource::Edit()
{
    if (FAutoEdit && FState == dsBrowse) FDataSet->Edit();
}

bool TDataSource::IsLinkedTo(const TDataSet* DataSet) const
{
    // Follows the dataset's own master source chain back to this source.
    for (int guard = 0; DataSet && guard < 1000; ++guard) {
        TDataSource* ds = DataSet->GetDataSource();
        if (!ds) break;
        if (ds == this) return true;
        DataSet = ds->GetDataSet();
    }
    return false;
}

void TDataSource::UpdateState()
{
    SetState(FEnabled && FDataSet ? FDataSet->GetState() : dsInactive);
}

void TDataSource::SetState(TDataSetState Value)
{
    if (Value == FState) return;
    TDataSetState prior = FState;
    FState = Value;
    NotifyDataLinks(deUpdateState, 0);
    if (GetComponentState().Contains(csDestroying)) return;
    OnStateChange(this);
    if (prior == dsInactive) OnDataChange(this, nullptr);
}

void TDataSource::NotifyDataLinks(TDataEvent Event, intptr_t Info)
{
    // A link may leave (or its control be freed) while being told.
    for (TDataLink* l : std::vector<TDataLink*>(FDataLinks))
        if (std::find(FDataLinks.begin(), FDataLinks.end(), l) != FDataLinks.end()) l->DataEvent(Event, Info);
}

void TDataSource::DataEvent(TDataEvent Event, intptr_t Info)
{
    if (Event == deUpdateState) {
        UpdateState();
        return;
    }
    if (FState == dsInactive) return;
    NotifyDataLinks(Event, Info);
    switch (Event) {
    case deFieldChange: OnDataChange(this, reinterpret_cast<TField*>(Info)); break;
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange: OnDataChange(this, nullptr); break;
    case deUpdateRecord: OnUpdateData(this); break;
    default: break;
    }
}

void TDataSource::AddDataLink(TDataLink* Link)
{
    FDataLinks.push_back(Link);
    if (FDataSet) FDataSet->UpdateBufferCount();
}

void TDataSource::RemoveDataLink(TDataLink* Link)
{
    std::erase(FDataLinks, Link);
    if (FDataSet) FDataSet->UpdateBufferCount();
}

HOST_PUBLISHED(TDataSource)
{
    P.Property("AutoEdit", &TDataSource::GetAutoEdit, &TDataSource::SetAutoEdit).Default(true);
    P.Property("DataSet", &TDataSource::GetDataSet, &TDataSource::SetDataSet);
    P.Property("Enabled", &TDataSource::GetEnabled, &TDataSource::SetEnabled).Default(true);
    P.Property("OnStateChange", &TDataSource::OnStateChange);
    P.Property("OnDataChange", &TDataSource::OnDataChange);
    P.Property("OnUpdateData", &TDataSource::OnUpdateData);
}

HOST_REGISTER_CLASSES(TDataSource);

// ---- TDataLink

TDataLink::~TDataLink()
{
    if (FDataSource) FDataSource->RemoveDataLink(this);
}

void TDataLink::SetDataSource(TDataSource* Value)
{
    if (Value == FDataSource) return;
    if (FDataSourceFixed) DatabaseError(DBConsts::SDataSourceChange);
    if (FDataSource) {
        FDataSource->RemoveDataLink(this);
        FDataSource = nullptr;
        // Leaving a source makes the link inactive.
        UpdateState();
    }
    FDataSource = Value;
    if (Value) {
        Value->AddDataLink(this);
        UpdateState();
    }
}

TDataSet* TDataLink::GetDataSet() const { return FDataSource ? FDataSource->GetDataSet() : nullptr; }

void TDataLink::SetReadOnly(bool Value)
{
    if (Value == FReadOnly) return;
    FReadOnly = Value;
    UpdateState();
}

void TDataLink::SetBufferCount(int Value)
{
    if (Value < 1) Value = 1;
    if (Value == FBufferCount) return;
    FBufferCount = Value;
    if (TDataSet* ds = GetDataSet()) {
        ds->UpdateBufferCount();
        if (FActive) UpdateRange();
    }
}

int TDataLink::GetActiveRecord() const
{
    TDataSet* ds = GetDataSet();
    if (!ds || FDataSource->GetState() == dsSetKey) return 0;
    return ds->GetActiveRecord() - FFirstRecord;
}

void TDataLink::SetActiveRecord(int Value)
{
    TDataSet* ds = GetDataSet();
    if (!ds || FDataSource->GetState() == dsSetKey) return;
    ds->SetActiveRecord(Value + FFirstRecord);
}

int TDataLink::GetRecordCount() const
{
    TDataSet* ds = GetDataSet();
    if (!ds || !FActive) return 0;
    if (FDataSource->GetState() == dsSetKey) return 1;
    return std::max(0, std::min(FBufferCount, ds->GetBufferRecordCount() - FFirstRecord));
}

bool TDataLink::Edit()
{
    if (!FEditing && FActive) FDataSource->Edit();
    return FEditing;
}

void TDataLink::UpdateRecord()
{
    FUpdating = true;
    try {
        UpdateData();
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

void TDataLink::UpdateState()
{
    SetActive(FDataSource && FDataSource->GetState() != dsInactive);
    SetEditing(FDataSource && IsDataEditState(FDataSource->GetState()) && !FReadOnly);
}

void TDataLink::SetActive(bool Value)
{
    if (Value == FActive) return;
    FActive = Value;
    if (Value)
        UpdateRange();
    else
        FFirstRecord = 0;
    ActiveChanged();
}

void TDataLink::SetEditing(bool Value)
{
    if (Value == FEditing) return;
    FEditing = Value;
    EditingChanged();
}

// Keeps the dataset's active record inside the link's window and the window
// inside the dataset's buffers.
void TDataLink::UpdateRange()
{
    TDataSet* ds = GetDataSet();
    if (!ds) return;
    int active = ds->GetActiveRecord();
    int lo = std::max(0, active - FBufferCount + 1);
    int hi = std::min(std::max(0, ds->GetBufferCount() - FBufferCount), active);
    FFirstRecord = std::max(lo, std::min(FFirstRecord, hi));
}

void TDataLink::DataEvent(TDataEvent Event, intptr_t Info)
{
    if (Event == deUpdateState) {
        UpdateState();
        return;
    }
    if (!FActive) return;
    switch (Event) {
    case deFieldChange:
    case deRecordChange:
        if (!FUpdating) RecordChanged(reinterpret_cast<TField*>(Info));
        break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange: {
        int count = 0;
        if (FDataSource->GetState() != dsSetKey) {
            TDataSet* ds = GetDataSet();
            int active = ds->GetActiveRecord();
            int first = FFirstRecord + static_cast<int>(Info);
            int last = first + FBufferCount - 1;
            if (active > last)
                count = active - last;
            else if (active < first)
                count = active - first;
            FFirstRecord = first + count;
        }
        if (Event == deDataSetChange)
            DataSetChanged();
        else if (Event == deDataSetScroll)
            DataSetScrolled(count);
        else
            LayoutChanged();
        break;
    }
    case deUpdateRecord: UpdateRecord(); break;
    case deCheckBrowseMode: CheckBrowseMode(); break;
    case deFocusControl: FocusControl(reinterpret_cast<TField**>(Info)); break;
    default: break;
    }
}

// ---- TFieldDataLink

void TFieldDataLink::SetFieldName(const std::string& Value)
{
    if (Value == FFieldName) return;
    FFieldName = Value;
    UpdateField();
}

void TFieldDataLink::UpdateField()
{
    SetField(nullptr);
    if (GetActive() && !FFieldName.empty()) SetField(GetDataSet()->FieldByName(FFieldName));
}

void TFieldDataLink::SetField(TField* Value)
{
    if (Value == FField) return;
    FField = Value;
    EditingChanged();
    RecordChanged(nullptr);
}

bool TFieldDataLink::CanModify() const { return !GetReadOnly() && FField && FField->CanModify(); }

bool TFieldDataLink::Edit()
{
    if (CanModify()) TDataLink::Edit();
    return FEditing;
}

void TFieldDataLink::SetEditingState(bool Value)
{
    if (Value == FEditing) return;
    FEditing = Value;
    FModified = false;
    OnEditingChange(this);
}

void TFieldDataLink::ActiveChanged()
{
    UpdateField();
    OnActiveChange(this);
}

void TFieldDataLink::EditingChanged() { SetEditingState(TDataLink::GetEditing() && CanModify()); }

void TFieldDataLink::FocusControl(TField** Field)
{
    if (!*Field || *Field != FField || !FControl || !DBFocusControlHandler) return;
    if (DBFocusControlHandler(FControl)) *Field = nullptr;
}

void TFieldDataLink::LayoutChanged() { UpdateField(); }

void TFieldDataLink::RecordChanged(TField* Field)
{
    if (Field && Field != FField) return;
    OnDataChange(this);
    FModified = false;
}

void TFieldDataLink::UpdateData()
{
    if (!FModified) return;
    if (FField) OnUpdateData(this);
    FModified = false;
}

} // namespace host
