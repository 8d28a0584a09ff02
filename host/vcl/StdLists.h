#pragma once
// List boxes and combo boxes.
//
// A list box is a window of the class "LISTBOX", which keeps the items and
// the selection; Items talks to it through LB_* messages, so a descendant
// that catches those messages sees every change. Without a window (before
// the first one, while one is being re-created) the items, the selection
// and the top index wait in the control and go into the next window.
//
// Owner drawing: the window sends WM_DRAWITEM / WM_MEASUREITEM to its
// parent, which reflects them back as CN_DRAWITEM / CN_MEASUREITEM; the
// handlers prepare Canvas and call the DrawItem / MeasureItem virtuals.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/rtl/Strings.h"
#include "host/vcl/Controls.h"

namespace host {

HOST_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable)
HOST_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)
// The bits of DRAWITEMSTRUCT.itemState, in order.
HOST_ENUM(TOwnerDrawStateItem, odSelected, odGrayed, odDisabled, odChecked, odFocused)
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

using TDrawItemEvent = TEvent<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TEvent<void(TWinControl* Control, int Index, int& Height)>;

// Items, selection and top index while a list or combo box has no window.
struct TItemStore {
    std::vector<std::pair<std::string, TObject*>> Items;
    std::vector<int> Selected;
    int ItemIndex = -1;
    int TopIndex = 0;
};

// The messages through which Items reaches a list window (LB_*) or a combo
// box window (CB_*).
struct TItemMessages {
    UINT Add, Insert, Delete, Reset, Count, GetText, GetTextLen, SetData, GetData, FindExact, GetCurSel, SetCurSel;
    LRESULT Err;
};

// The Items of a list or combo box: the window's items, or the waiting ones.
class TItemStrings : public TStrings {
    HOST_CLASS(TItemStrings, TStrings)
public:
    // UseWindow answers whether the window exists (making it when it can);
    // Sorted whether waiting items are kept in order.
    TItemStrings(TWinControl* Control, const TItemMessages& Messages, TItemStore& Store,
                 std::function<bool()> UseWindow, std::function<bool()> Sorted);
    int Add(const std::string& S) override;
    int AddObject(const std::string& S, TObject* AObject) override;
    void Clear() override;
    void Delete(int Index) override;
    void Insert(int Index, const std::string& S) override;
    void InsertObject(int Index, const std::string& S, TObject* AObject) override;
    int IndexOf(const std::string& S) const override;
    int GetCount() const override;

protected:
    std::string Get(int Index) const override;
    TObject* GetObject(int Index) const override;
    void Put(int Index, const std::string& S) override;
    void PutObject(int Index, TObject* AObject) override;
    void SetUpdateState(bool Updating) override;

private:
    bool Windowed() const { return FControl->HandleAllocated(); }
    void CheckIndex(int Index, int Limit) const;

    TWinControl* FControl;
    const TItemMessages& FMsgs;
    TItemStore& FStore;
    std::function<bool()> FUseWindow;
    std::function<bool()> FSorted;
};

class TCustomListBox : public TWinControl {
    HOST_CLASS(TCustomListBox, TWinControl)
    HOST_MESSAGES(TCustomListBox)
public:
    explicit TCustomListBox(TComponent* AOwner);

    void Clear();
    // The item at Pos (client coordinates); outside every item -1 when
    // Existing, else the item count (where a new item would go).
    int ItemAtPos(const TPoint& Pos, bool Existing);
    TRect ItemRect(int Index);

    TCanvas* GetCanvas() const { return FCanvas.get(); }
    TStrings* GetItems() const { return FItems.get(); }
    void SetItems(TStrings* Value);
    int GetItemIndex();
    void SetItemIndex(int Value);
    int GetTopIndex();
    void SetTopIndex(int Value);
    int GetSelCount();
    bool GetSelected(int Index);
    void SetSelected(int Index, bool Value);

protected:
    void Destroy() override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);

    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    int GetColumns() const { return FColumns; }
    void SetColumns(int Value);
    bool GetExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool Value);
    bool GetIntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool Value);
    int GetItemHeight();
    void SetItemHeight(int Value);
    bool GetMultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool GetSorted() const { return FSorted; }
    void SetSorted(bool Value);
    TListBoxStyle GetStyle() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    bool IsItemHeightStored() const { return FStyle != lbStandard && FItemHeight != 16; }

    void CNCommand(TMessage& Message);
    void CNDrawItem(TMessage& Message);
    void CNMeasureItem(TMessage& Message);
    void CNCtlColorListBox(TMessage& Message);
    void WMSize(TMessage& Message);
    void WMWindowPosChanging(TMessage& Message);

    TDrawItemEvent FOnDrawItem;
    TMeasureItemEvent FOnMeasureItem;

private:
    // True when the list window exists (made on demand when the control can
    // have one); false while items wait in the control.
    bool UseWindow();
    void SetColumnWidth();
    void SaveState();
    void RestoreState();

    std::unique_ptr<TItemStrings> FItems;
    std::unique_ptr<TControlCanvas> FCanvas;
    TListBoxStyle FStyle = lbStandard;
    TBorderStyle FBorderStyle = bsSingle;
    int FColumns = 0;
    int FItemHeight = 16;
    bool FIntegralHeight = false;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FSorted = false;
    TItemStore FSave;  // while there is no window
};

class TListBox : public TCustomListBox {
    HOST_CLASS(TListBox, TCustomListBox)
public:
    explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
    using TCustomListBox::GetBorderStyle;
    using TCustomListBox::SetBorderStyle;
    using TCustomListBox::GetColumns;
    using TCustomListBox::SetColumns;
    using TCustomListBox::GetExtendedSelect;
    using TCustomListBox::SetExtendedSelect;
    using TCustomListBox::GetIntegralHeight;
    using TCustomListBox::SetIntegralHeight;
    using TCustomListBox::GetItemHeight;
    using TCustomListBox::SetItemHeight;
    using TCustomListBox::GetMultiSelect;
    using TCustomListBox::SetMultiSelect;
    using TCustomListBox::GetSorted;
    using TCustomListBox::SetSorted;
    using TCustomListBox::GetStyle;
    using TCustomListBox::SetStyle;
    using TCustomListBox::FOnDrawItem;
    using TCustomListBox::FOnMeasureItem;
};

// A combo box: a window of the class "COMBOBOX" with a selection field and
// a list that drops down as a popup window (below the box, or above it when
// the screen has no room). In csDropDown and csSimple the field edits its
// text; csDropDownList and the owner-drawn styles show the selected item.
class TCustomComboBox : public TWinControl {
    HOST_CLASS(TCustomComboBox, TWinControl)
    HOST_MESSAGES(TCustomComboBox)
public:
    explicit TCustomComboBox(TComponent* AOwner);

    void Clear();
    void SelectAll();
    TCanvas* GetCanvas() const { return FCanvas.get(); }
    TStrings* GetItems() const { return FItems.get(); }
    void SetItems(TStrings* Value);
    int GetItemIndex();
    void SetItemIndex(int Value);
    bool GetDroppedDown();
    void SetDroppedDown(bool Value);
    int GetSelStart();
    void SetSelStart(int Value);
    int GetSelLength();
    void SetSelLength(int Value);
    std::string GetSelText();
    void SetSelText(const std::string& Value);

protected:
    void Destroy() override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void Change();
    virtual void DropDown();
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);

    TComboBoxStyle GetStyle() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    bool GetSorted() const { return FSorted; }
    void SetSorted(bool Value);
    int GetDropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    int GetMaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    int GetItemHeight();
    void SetItemHeight(int Value);
    bool IsItemHeightStored() const { return FItemHeight != 16; }

    void CNCommand(TMessage& Message);
    void CNDrawItem(TMessage& Message);
    void CNMeasureItem(TMessage& Message);
    void CNCtlColorListBox(TMessage& Message);

    TNotifyEvent FOnChange;
    TNotifyEvent FOnDropDown;
    TDrawItemEvent FOnDrawItem;
    TMeasureItemEvent FOnMeasureItem;

private:
    bool UseWindow();
    bool HasEditPart() const { return FStyle == csDropDown || FStyle == csSimple; }

    std::unique_ptr<TItemStrings> FItems;
    std::unique_ptr<TControlCanvas> FCanvas;
    TComboBoxStyle FStyle = csDropDown;
    bool FSorted = false;
    int FDropDownCount = 8;
    int FMaxLength = 0;
    int FItemHeight = 16;
    TItemStore FSave;
};

class TComboBox : public TCustomComboBox {
    HOST_CLASS(TComboBox, TCustomComboBox)
public:
    explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
    using TCustomComboBox::GetStyle;
    using TCustomComboBox::SetStyle;
    using TCustomComboBox::GetSorted;
    using TCustomComboBox::SetSorted;
    using TCustomComboBox::GetDropDownCount;
    using TCustomComboBox::SetDropDownCount;
    using TCustomComboBox::GetMaxLength;
    using TCustomComboBox::SetMaxLength;
    using TCustomComboBox::GetItemHeight;
    using TCustomComboBox::SetItemHeight;
    using TCustomComboBox::FOnChange;
    using TCustomComboBox::FOnDropDown;
    using TCustomComboBox::FOnDrawItem;
    using TCustomComboBox::FOnMeasureItem;
};

}  // namespace host
