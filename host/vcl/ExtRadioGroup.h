#pragma once
// A group box of radio buttons driven by a list of captions: one button per
// item, laid out in columns, and the checked one as ItemIndex.
#include <memory>
#include <vector>

#include "host/rtl/Strings.h"
#include "host/vcl/StdButtons.h"

namespace host {

class TCustomRadioGroup;

// The radio buttons a radio group makes for its items. They belong to the
// group: form files never store them.
class TGroupButton : public TRadioButton {
    HOST_CLASS(TGroupButton, TRadioButton)
    HOST_MESSAGES(TGroupButton)
public:
    explicit TGroupButton(TCustomRadioGroup* AGroup);

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    TCustomRadioGroup* Group() const;
    void CNCommand(TMessage& Message);

private:
    bool FInClick = false;
};

class TCustomRadioGroup : public TCustomGroupBox {
    HOST_CLASS(TCustomRadioGroup, TCustomGroupBox)
    HOST_MESSAGES(TCustomRadioGroup)
public:
    explicit TCustomRadioGroup(TComponent* AOwner);

    // The button of item Index (for tests and for focusing it).
    TRadioButton* GetButton(int Index) const;
    int GetButtonCount() const { return int(FButtons.size()); }
    // The buttons are made from Items; form files never store them.
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;

protected:
    friend class TGroupButton;

    void Destroy() override;
    void ReadState(TReader* Reader) override;
    // Whether the user may change the checked item now; data-aware groups
    // refuse while their dataset cannot be edited.
    virtual bool CanModify();

    int GetColumns() const { return FColumns; }
    void SetColumns(int Value);
    int GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    TStrings* GetItems() const { return FItems.get(); }
    void SetItems(TStrings* Value);

    void CMEnabledChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void WMSize(TMessage& Message);

private:
    void ArrangeButtons();
    void ButtonClick(TObject* Sender);
    void ItemsChange(TObject* Sender);
    void SetButtonCount(int Value);
    void UpdateButtons();
    int TextHeight();

    std::vector<TGroupButton*> FButtons;
    std::unique_ptr<TStringList> FItems;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FReading = false;
    bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
    HOST_CLASS(TRadioGroup, TCustomRadioGroup)
public:
    explicit TRadioGroup(TComponent* AOwner) : TCustomRadioGroup(AOwner) {}
    using TCustomRadioGroup::GetColumns;
    using TCustomRadioGroup::GetItemIndex;
    using TCustomRadioGroup::GetItems;
    using TCustomRadioGroup::SetColumns;
    using TCustomRadioGroup::SetItemIndex;
    using TCustomRadioGroup::SetItems;
};

} // namespace host
