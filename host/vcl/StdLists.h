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
#include <memory>
#include <string>
#include <vector>

#include "host/rtl/Strings.h"
#include "host/vcl/Controls.h"

namespace host {

HOST_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable)
// The bits of DRAWITEMSTRUCT.itemState, in order.
HOST_ENUM(TOwnerDrawStateItem, odSelected, odGrayed, odDisabled, odChecked, odFocused)
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

using TDrawItemEvent = TEvent<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TEvent<void(TWinControl* Control, int Index, int& Height)>;

class TCustomListBox;

// The Items of a list box: the list window's items, or the waiting ones.
class TListBoxStrings : public TStrings {
    HOST_CLASS(TListBoxStrings, TStrings)
public:
    explicit TListBoxStrings(TCustomListBox* ListBox) : FListBox(ListBox) {}
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
    TCustomListBox* FListBox;
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
    friend class TListBoxStrings;
    void Destroy() override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);

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

    std::unique_ptr<TListBoxStrings> FItems;
    std::unique_ptr<TControlCanvas> FCanvas;
    TListBoxStyle FStyle = lbStandard;
    int FColumns = 0;
    int FItemHeight = 16;
    bool FIntegralHeight = false;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FSorted = false;
    // Waiting state (no window).
    std::vector<std::pair<std::string, TObject*>> FSaveItems;
    std::vector<int> FSaveSelected;
    int FSaveItemIndex = -1;
    int FSaveTopIndex = 0;
};

class TListBox : public TCustomListBox {
    HOST_CLASS(TListBox, TCustomListBox)
public:
    explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
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

}  // namespace host
