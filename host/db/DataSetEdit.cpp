// Editing: the edit and insert states, posting, cancelling and deleting.
#include <algorithm>

#include "host/db/DBConsts.h"
#include "host/db/DataSet.h"

namespace host {

using engine::TValue;

void TDataSet::InternalInitRecord(TRecBuf& Buf)
{
    Buf.Rec = engine::TRecord(FCursor ? static_cast<size_t>(FCursor->Table().GetFieldCount()) : 0);
    Buf.Calc.assign(static_cast<size_t>(FCalcFieldCount), TValue());
}

void TDataSet::Edit()
{
    if (IsDataEditState(FState)) return;
    if (FRecordCount == 0) {
        Insert();
        return;
    }
    CheckBrowseMode();
    if (!GetCanModify()) DatabaseError(DBConsts::SDataSetReadOnly);
    BeforeEdit(this);
    UpdateCursorPos();
    // Start from the stored record, which another cursor may have changed.
    TRecBuf& buf = FBuffers[FActiveRecord];
    RunWithErrorEvent(OnEditError, [&] { buf.Rec = *FCursor->ReadRecord(); });
    CalculateFields(buf);
    SetState(dsEdit);
    DataEvent(deRecordChange, 0);
    AfterEdit(this);
}

void TDataSet::BeginInsertAppend()
{
    CheckBrowseMode();
    if (!GetCanModify()) DatabaseError(DBConsts::SDataSetReadOnly);
    BeforeInsert(this);
    BeforeScroll(this);
}

void TDataSet::EndInsertAppend()
{
    SetState(dsInsert);
    try {
        OnNewRecord(this);
    } catch (...) {
        SetState(dsBrowse);
        ResyncAt(FActiveRecord);
        DataEvent(deDataSetChange, 0);
        throw;
    }
    FModified = false;
    DataEvent(deDataSetChange, 0);
    AfterInsert(this);
    AfterScroll(this);
}

void TDataSet::InsertBuffer(int At)
{
    TRecBuf buf;
    InternalInitRecord(buf);
    FBuffers.insert(FBuffers.begin() + At, std::move(buf));
    FActiveRecord = At;
    if (static_cast<int>(FBuffers.size()) > FBufferCount) {
        // The window keeps its size: the record scrolled out is the one
        // farthest from the new record.
        if (At == static_cast<int>(FBuffers.size()) - 1) {
            FBuffers.erase(FBuffers.begin());
            --FActiveRecord;
            ++FWindowTop;
        } else {
            FBuffers.pop_back();
        }
    }
    FRecordCount = static_cast<int>(FBuffers.size());
}

void TDataSet::Insert()
{
    BeginInsertAppend();
    UpdateCursorPos();
    InsertBuffer(FRecordCount == 0 ? 0 : FActiveRecord);
    FBOF = FEOF = false;
    EndInsertAppend();
}

void TDataSet::Append()
{
    BeginInsertAppend();
    engine::TEngineCursor& c = Cursor();
    c.Last();
    int64_t n = c.GetRecordCount();
    int64_t top = std::max<int64_t>(0, n - (FBufferCount - 1));
    FWindowTop = top;
    FBuffers.resize(static_cast<size_t>(n - top));
    for (int64_t i = top; i < n; ++i) ReadRecordInto(i, FBuffers[static_cast<size_t>(i - top)]);
    FRecordCount = static_cast<int>(FBuffers.size());
    InsertBuffer(FRecordCount);
    FBOF = false;
    FEOF = true;
    EndInsertAppend();
}

void TDataSet::SetFieldsAndPost(const TVariantArray& Values)
{
    try {
        for (size_t i = 0; i < Values.size() && static_cast<int>(i) < GetFieldCount(); ++i)
            GetField(static_cast<int>(i))->SetAsVariant(Values[i]);
        Post();
    } catch (...) {
        Cancel();
        throw;
    }
}

void TDataSet::AppendRecord(const TVariantArray& Values)
{
    Append();
    SetFieldsAndPost(Values);
}

void TDataSet::InsertRecord(const TVariantArray& Values)
{
    Insert();
    SetFieldsAndPost(Values);
}

void TDataSet::CheckRequiredFields()
{
    for (int i = 0; i < FFields->GetCount(); ++i) {
        TField* f = FFields->GetField(i);
        if (!f->GetRequired() || f->GetReadOnly() || f->GetFieldKind() != fkData) continue;
        if (f->GetDataType() == ftAutoInc || !f->GetIsNull()) continue;
        f->FocusControl();
        DatabaseErrorFmt(DBConsts::SFieldRequired, {f->GetDisplayName()});
    }
}

void TDataSet::InternalPost()
{
    TRecBuf& buf = FBuffers[FActiveRecord];
    if (FState == dsInsert) {
        FCursor->InsertRecord(buf.Rec);
        return;
    }
    UpdateCursorPos();
    FCursor->ModifyRecord(buf.Rec);
}

void TDataSet::InternalDelete()
{
    UpdateCursorPos();
    FCursor->DeleteRecord();
}

void TDataSet::UpdateRecord()
{
    if (!IsDataEditState(FState) && FState != dsSetKey) RaiseNotEditing();
    DataEvent(deUpdateRecord, 0);
}

void TDataSet::RunWithErrorEvent(const TDataSetErrorEvent& Handler, const std::function<void()>& Action)
{
    for (;;) {
        try {
            DbiGuard(Action);
            return;
        } catch (EDatabaseError& E) {
            if (!Handler) throw;
            TDataAction action = daFail;
            Handler(this, &E, action);
            if (action == daFail) throw;
            if (action == daAbort) Abort();
        }
    }
}

void TDataSet::Post()
{
    UpdateRecord();
    if (FState == dsSetKey) {
        KeyBufferPost(true);
        return;
    }
    DataEvent(deCheckBrowseMode, 0);
    BeforePost(this);
    CheckRequiredFields();
    // A failing write (key violation, required field) leaves the dataset in
    // its edit state with the user's values, so nothing typed is lost.
    RunWithErrorEvent(OnPostError, [&] { InternalPost(); });
    SetState(dsBrowse);
    FBOF = FEOF = false;
    Resync();
    AfterPost(this);
}

void TDataSet::Cancel()
{
    if (FState == dsSetKey) {
        KeyBufferPost(false);
        return;
    }
    if (!IsDataEditState(FState)) return;
    DataEvent(deCheckBrowseMode, 0);
    BeforeCancel(this);
    bool inserting = FState == dsInsert;
    SetState(dsBrowse);
    if (inserting && FCursor->IsEmpty()) FBOF = FEOF = true;
    Resync();
    AfterCancel(this);
}

void TDataSet::Delete()
{
    CheckActive();
    if (FState == dsInsert || FState == dsSetKey) {
        Cancel();
        return;
    }
    if (FRecordCount == 0) DatabaseError(DBConsts::SDataSetEmpty);
    DataEvent(deCheckBrowseMode, 0);
    BeforeDelete(this);
    BeforeScroll(this);
    RunWithErrorEvent(OnDeleteError, [&] { InternalDelete(); });
    SetState(dsBrowse);
    FBOF = FEOF = false;
    Resync();
    AfterDelete(this);
    AfterScroll(this);
}

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    DataEvent(deCheckBrowseMode, 0);
    switch (FState) {
    case dsEdit:
    case dsInsert:
        UpdateRecord();
        if (FModified)
            Post();
        else
            Cancel();
        break;
    case dsSetKey: Post(); break;
    default: break;
    }
}

void TDataSet::Refresh()
{
    CheckBrowseMode();
    UpdateCursorPos();
    DbiGuard([&] { FCursor->Refresh(); });
    Resync();
}

void TDataSet::ClearFields()
{
    if (!IsDataEditState(FState)) RaiseNotEditing();
    DataEvent(deCheckBrowseMode, 0);
    TRecBuf& buf = FBuffers[FActiveRecord];
    int64_t rowid = buf.Rec.RowId;
    InternalInitRecord(buf);
    buf.Rec.RowId = rowid;
    CalculateFields(buf);
    DataEvent(deRecordChange, 0);
}

} // namespace host
