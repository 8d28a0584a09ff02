// TTable's key searches, ranges and master/detail link.
#include <algorithm>

#include "host/db/DBConsts.h"
#include "host/db/DBTables.h"

namespace host {

using engine::TValue;

// ---- the master link

void TTable::TMasterLink::ActiveChanged()
{
    Fields.clear();
    if (GetActive() && !FTable->FMasterFields.empty()) Fields = GetDataSet()->GetFieldList(FTable->FMasterFields);
    if (!FTable->GetActive() || FTable->GetComponentState().Contains(csDestroying)) return;
    if (GetActive() && !Fields.empty())
        FTable->MasterChanged();
    else
        FTable->MasterDisabled();
}

void TTable::TMasterLink::CheckBrowseMode()
{
    if (FTable->GetActive()) FTable->CheckBrowseMode();
}

void TTable::TMasterLink::RecordChanged(TField* Field)
{
    if (GetDataSource()->GetState() == dsSetKey || !FTable->GetActive()) return;
    if (Field && std::find(Fields.begin(), Fields.end(), Field) == Fields.end()) return;
    if (!Fields.empty()) FTable->MasterChanged();
}

TDataSource* TTable::GetMasterSource() const { return FMasterLink ? FMasterLink->GetDataSource() : nullptr; }

void TTable::SetMasterSource(TDataSource* Value)
{
    if (Value == GetMasterSource()) return;
    if (Value && IsLinkedTo(Value)) DatabaseError(DBConsts::SCircularDataLink);
    if (!FMasterLink) FMasterLink = std::make_unique<TMasterLink>(this);
    if (TDataSource* old = GetMasterSource()) old->RemoveFreeNotification(this);
    FMasterLink->SetDataSource(Value);
    if (Value) Value->FreeNotification(this);
}

void TTable::SetMasterFields(const std::string& Value)
{
    if (Value == FMasterFields) return;
    FMasterFields = Value;
    if (FMasterLink && FMasterLink->GetActive()) {
        // Re-read the master's fields and re-link.
        FMasterLink->SetDataSource(FMasterLink->GetDataSource());
        FMasterLink->Fields = FMasterLink->GetDataSet()->GetFieldList(Value);
        if (GetActive()) Value.empty() ? MasterDisabled() : MasterChanged();
    }
}

void TTable::Notification(TComponent* AComponent, TOperation Operation)
{
    TDBDataSet::Notification(AComponent, Operation);
    if (Operation == opRemove && FMasterLink && AComponent == FMasterLink->GetDataSource())
        FMasterLink->SetDataSource(nullptr);
}

void TTable::Destroy()
{
    if (FMasterLink) FMasterLink->SetDataSource(nullptr);
    TDBDataSet::Destroy();
    FMasterLink.reset();
}

namespace {
std::vector<int> LinkFieldNumbers(const engine::TEngineCursor& C, size_t Count)
{
    const auto& parts = C.GetOrder().Parts;
    if (parts.size() < Count) DatabaseError(DBConsts::SNoFieldIndexes);
    std::vector<int> r;
    for (size_t i = 0; i < Count; ++i) r.push_back(parts[i].FieldNo);
    return r;
}
} // namespace

void TTable::OpenCursorComplete()
{
    if (!FMasterLink || !FMasterLink->GetActive() || FMasterLink->Fields.empty()) return;
    std::vector<TValue> values;
    for (TField* f : FMasterLink->Fields) values.push_back(f->GetAsVariant());
    FCursor->SetLink(LinkFieldNumbers(*FCursor, values.size()), values);
}

void TTable::MasterChanged()
{
    CheckBrowseMode();
    std::vector<TValue> values;
    for (TField* f : FMasterLink->Fields) values.push_back(f->GetAsVariant());
    DbiGuard([&] { FCursor->SetLink(LinkFieldNumbers(*FCursor, values.size()), values); });
    First();
}

void TTable::MasterDisabled()
{
    CheckBrowseMode();
    DbiGuard([&] { FCursor->CancelLink(); });
    First();
}

// ---- key buffers

void TTable::ClearKeyBuffer(TKeyBuffer& K)
{
    K.Buf.Rec = engine::TRecord(FCursor ? static_cast<size_t>(FCursor->Table().GetFieldCount()) : 0);
    K.Buf.Calc.clear();
    K.Modified = false;
    K.Exclusive = false;
    K.FieldCount = 0;
}

TRecBuf* TTable::GetStateBuffer() const { return const_cast<TRecBuf*>(&FKeys[FKeyIndex].Buf); }

void TTable::CheckSetKeyMode() const
{
    if (FState != dsSetKey) DatabaseError(DBConsts::SNotEditing);
}

void TTable::SetKeyBuffer(TKeyIndex Index, bool Clear)
{
    CheckBrowseMode();
    if (GetIndexFieldCount() == 0) DatabaseError(DBConsts::SNoFieldIndexes);
    FKeyIndex = Index;
    TKeyBuffer& k = FKeys[Index];
    if (k.Buf.Rec.Values.empty()) ClearKeyBuffer(k);
    FKeys[kiSave] = k;
    if (Clear) ClearKeyBuffer(k);
    SetState(dsSetKey);
    FModified = k.Modified;
    DataEvent(deDataSetChange, 0);
}

void TTable::KeyBufferPost(bool Commit)
{
    DataEvent(deCheckBrowseMode, 0);
    if (Commit)
        FKeys[FKeyIndex].Modified = FModified;
    else
        FKeys[FKeyIndex] = FKeys[kiSave];
    SetState(dsBrowse);
    DataEvent(deDataSetChange, 0);
}

void TTable::SetKey() { SetKeyBuffer(kiLookup, true); }
void TTable::EditKey() { SetKeyBuffer(kiLookup, false); }
void TTable::SetRangeStart() { SetKeyBuffer(kiRangeStart, true); }
void TTable::SetRangeEnd() { SetKeyBuffer(kiRangeEnd, true); }
void TTable::EditRangeStart() { SetKeyBuffer(kiRangeStart, false); }
void TTable::EditRangeEnd() { SetKeyBuffer(kiRangeEnd, false); }

bool TTable::GetKeyExclusive() const
{
    CheckSetKeyMode();
    return FKeys[FKeyIndex].Exclusive;
}

void TTable::SetKeyExclusive(bool Value)
{
    CheckSetKeyMode();
    FKeys[FKeyIndex].Exclusive = Value;
}

int TTable::GetKeyFieldCount() const
{
    CheckSetKeyMode();
    return FKeys[FKeyIndex].FieldCount;
}

void TTable::SetKeyFieldCount(int Value)
{
    CheckSetKeyMode();
    FKeys[FKeyIndex].FieldCount = std::clamp(Value, 0, GetIndexFieldCount());
}

// The key of a buffer: KeyFieldCount fields, or when that is 0 the index
// fields up to the last one given a value.
std::vector<TValue> TTable::KeyValues(const TKeyBuffer& K) const
{
    const auto& parts = FCursor->GetOrder().Parts;
    size_t n = K.FieldCount > 0 ? std::min<size_t>(static_cast<size_t>(K.FieldCount), parts.size()) : parts.size();
    std::vector<TValue> values;
    for (size_t i = 0; i < n; ++i) {
        int f = parts[i].FieldNo;
        values.push_back(f >= 0 && f < static_cast<int>(K.Buf.Rec.Values.size()) ? K.Buf.Rec.Values[f] : TValue());
    }
    if (K.FieldCount == 0)
        while (!values.empty() && values.back().IsNull()) values.pop_back();
    return values;
}

void TTable::SetKeyFields(TKeyIndex Index, const TVariantArray& Values)
{
    CheckBrowseMode();
    if (GetIndexFieldCount() == 0) DatabaseError(DBConsts::SNoFieldIndexes);
    if (static_cast<int>(Values.size()) > GetIndexFieldCount()) DatabaseError("Too many key values");
    TDataSetState saved = FState;
    TKeyIndex savedIndex = FKeyIndex;
    FState = dsSetKey;
    FKeyIndex = Index;
    try {
        ClearKeyBuffer(FKeys[Index]);
        for (size_t i = 0; i < Values.size(); ++i) GetIndexField(static_cast<int>(i))->SetAsVariant(Values[i]);
        FKeys[Index].FieldCount = static_cast<int>(Values.size());
        FKeys[Index].Modified = true;
    } catch (...) {
        FState = saved;
        FKeyIndex = savedIndex;
        throw;
    }
    FState = saved;
    FKeyIndex = savedIndex;
}

// ---- key search

bool TTable::GotoKey()
{
    CheckBrowseMode();
    BeforeScroll(this);
    UpdateCursorPos();
    auto values = KeyValues(FKeys[kiLookup]);
    if (values.empty()) return false;
    bool found = DbiGuard([&] { return FCursor->FindKey(values); });
    if (!found) return false;
    FBOF = FEOF = false;
    ResyncAt((FBufferCount - 1) / 2);
    DataEvent(deDataSetChange, 0);
    AfterScroll(this);
    return true;
}

void TTable::GotoNearest()
{
    CheckBrowseMode();
    BeforeScroll(this);
    const TKeyBuffer& k = FKeys[kiLookup];
    auto values = KeyValues(k);
    DbiGuard([&] {
        FCursor->GotoNearest(values);
        if (!k.Exclusive || values.empty()) return;
        // Exclusive: past every record whose key equals the search key.
        const auto& parts = FCursor->GetOrder().Parts;
        while (FCursor->HasCurrent() && !FCursor->GetEOF()) {
            auto rec = FCursor->GetRecord();
            bool equal = true;
            for (size_t i = 0; i < values.size() && equal; ++i)
                equal = engine::CompareValues(rec->Values[parts[i].FieldNo],
                                              FCursor->Table().Coerce(parts[i].FieldNo, values[i]),
                                              parts[i].Coll) == 0;
            if (!equal || !FCursor->Next()) break;
        }
    });
    FBOF = FEOF = false;
    ResyncAt((FBufferCount - 1) / 2);
    DataEvent(deDataSetChange, 0);
    AfterScroll(this);
}

bool TTable::FindKey(const TVariantArray& KeyValues)
{
    SetKeyFields(kiLookup, KeyValues);
    return GotoKey();
}

void TTable::FindNearest(const TVariantArray& KeyValues)
{
    SetKeyFields(kiLookup, KeyValues);
    GotoNearest();
}

// ---- ranges

bool TTable::ApplyKeyRange()
{
    auto bound = [&](const TKeyBuffer& K) -> std::optional<engine::TKeyBound> {
        if (!K.Modified) return std::nullopt;
        engine::TKeyBound b;
        b.Values = KeyValues(K);
        b.Exclusive = K.Exclusive;
        if (b.Values.empty()) return std::nullopt;
        return b;
    };
    auto low = bound(FKeys[kiRangeStart]), high = bound(FKeys[kiRangeEnd]);
    DbiGuard([&] { FCursor->SetRange(low, high); });
    FKeys[kiCurRangeStart] = FKeys[kiRangeStart];
    FKeys[kiCurRangeEnd] = FKeys[kiRangeEnd];
    return true;
}

void TTable::ApplyRange()
{
    CheckBrowseMode();
    if (ApplyKeyRange()) First();
}

void TTable::CancelRange()
{
    CheckBrowseMode();
    UpdateCursorPos();
    DbiGuard([&] { FCursor->CancelRange(); });
    ClearKeyBuffer(FKeys[kiRangeStart]);
    ClearKeyBuffer(FKeys[kiRangeEnd]);
    ClearKeyBuffer(FKeys[kiCurRangeStart]);
    ClearKeyBuffer(FKeys[kiCurRangeEnd]);
    Resync();
}

void TTable::SetRange(const TVariantArray& StartValues, const TVariantArray& EndValues)
{
    CheckBrowseMode();
    SetKeyFields(kiRangeStart, StartValues);
    SetKeyFields(kiRangeEnd, EndValues);
    ApplyRange();
}

} // namespace host
