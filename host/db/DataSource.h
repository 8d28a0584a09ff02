#pragma once
// TDataSource connects a dataset to data-aware controls; TDataLink is what a
// control holds to hear from the data source; TFieldDataLink follows one field.
#include <functional>
#include <string>
#include <vector>

#include "host/db/DataSet.h"
#include "host/vcl/Classes.h"

namespace host {

class TDataLink;

using TDataChangeEvent = TEvent<void(TObject* Sender, TField* Field)>;

class TDataSource : public TComponent {
    HOST_CLASS(TDataSource, TComponent)
public:
    explicit TDataSource(TComponent* AOwner);

    TDataSet* GetDataSet() const { return FDataSet; }
    // Raises EDatabaseError "Circular datalinks are not allowed" when the
    // dataset depends on this data source.
    void SetDataSet(TDataSet* Value);
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool GetAutoEdit() const { return FAutoEdit; }
    void SetAutoEdit(bool Value) { FAutoEdit = Value; }
    TDataSetState GetState() const { return FState; }
    // Puts the dataset into edit mode when AutoEdit allows and it is browsing.
    void Edit();
    // Whether DataSet is this source's dataset or reaches it through master sources.
    bool IsLinkedTo(const TDataSet* DataSet) const;

    TNotifyEvent OnStateChange;
    TDataChangeEvent OnDataChange;
    TNotifyEvent OnUpdateData;

    // Framework internals.
    void DataEvent(TDataEvent Event, intptr_t Info);
    void AddDataLink(TDataLink* Link);
    void RemoveDataLink(TDataLink* Link);
    const std::vector<TDataLink*>& DataLinks() const { return FDataLinks; }

protected:
    void Destroy() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void UpdateState();
    void SetState(TDataSetState Value);
    void NotifyDataLinks(TDataEvent Event, intptr_t Info);

    TDataSet* FDataSet = nullptr;
    bool FEnabled = true;
    bool FAutoEdit = true;
    TDataSetState FState = dsInactive;
    std::vector<TDataLink*> FDataLinks;
};

// Notifications arrive in this order of slots: ActiveChanged, CheckBrowseMode,
// DataSetChanged, DataSetScrolled, FocusControl, EditingChanged, LayoutChanged,
// RecordChanged, UpdateData.
class TDataLink : public TPersistent {
    HOST_CLASS(TDataLink, TPersistent)
public:
    TDataLink() = default;
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;
    // Leaves its data source quietly: a link being destroyed hears nothing more.
    ~TDataLink() override;

    TDataSource* GetDataSource() const { return FDataSource; }
    // Raises EDatabaseError "DataSource cannot be changed" when DataSourceFixed.
    void SetDataSource(TDataSource* Value);
    TDataSet* GetDataSet() const;
    bool GetActive() const { return FActive; }
    bool GetEditing() const { return FEditing; }
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    int GetBufferCount() const { return FBufferCount; }
    void SetBufferCount(int Value);
    // The link's row (0-based, within its BufferCount) of the dataset's active record.
    int GetActiveRecord() const;
    void SetActiveRecord(int Value);
    // Rows of the link's window holding records.
    int GetRecordCount() const;
    bool GetDataSourceFixed() const { return FDataSourceFixed; }
    void SetDataSourceFixed(bool Value) { FDataSourceFixed = Value; }
    // Puts the dataset into edit mode through the data source; whether the link now edits.
    bool Edit();
    // Writes the control's pending change (UpdateData) while the link stays quiet.
    void UpdateRecord();

    // Framework internal: called by the data source.
    void DataEvent(TDataEvent Event, intptr_t Info);

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    // Distance: rows the link's window moved (positive towards the end).
    virtual void DataSetScrolled(int Distance) { (void)Distance; DataSetChanged(); }
    // Field points at the field to focus; a control that takes the focus clears it.
    virtual void FocusControl(TField** Field) { (void)Field; }
    virtual void EditingChanged() {}
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField* Field) { (void)Field; }
    virtual void UpdateData() {}

private:
    void UpdateState();
    void SetActive(bool Value);
    void SetEditing(bool Value);
    void UpdateRange();

    TDataSource* FDataSource = nullptr;
    int FFirstRecord = 0;
    int FBufferCount = 1;
    bool FActive = false;
    bool FEditing = false;
    bool FUpdating = false;
    bool FReadOnly = false;
    bool FDataSourceFixed = false;
};

// How a data-aware control takes the focus; installed by the controls layer.
// Returns whether the control took it.
extern std::function<bool(TComponent* Control)> DBFocusControlHandler;

class TFieldDataLink : public TDataLink {
    HOST_CLASS(TFieldDataLink, TDataLink)
public:
    TFieldDataLink() = default;

    TField* GetField() const { return FField; }
    const std::string& GetFieldName() const { return FFieldName; }
    void SetFieldName(const std::string& Value);
    TComponent* GetControl() const { return FControl; }
    void SetControl(TComponent* Value) { FControl = Value; }
    bool GetEditing() const { return FEditing; }
    bool CanModify() const;
    bool Edit();
    // The control's value differs from the field's; UpdateData will be asked for it.
    void Modified() { FModified = true; }
    bool GetModified() const { return FModified; }
    // Shows the field's value again, dropping the control's change.
    void Reset() { RecordChanged(nullptr); }

    TNotifyEvent OnDataChange;
    TNotifyEvent OnEditingChange;
    TNotifyEvent OnUpdateData;
    TNotifyEvent OnActiveChange;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void FocusControl(TField** Field) override;
    void LayoutChanged() override;
    void RecordChanged(TField* Field) override;
    void UpdateData() override;

private:
    void UpdateField();
    void SetField(TField* Value);
    void SetEditingState(bool Value);

    TField* FField = nullptr;
    std::string FFieldName;
    TComponent* FControl = nullptr;
    bool FEditing = false;
    bool FModified = false;
};

} // namespace host
