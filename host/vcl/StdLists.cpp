// TCustomListBox: the list window's properties, owner drawing, and the items
// and selection kept across window re-creation.
#include "host/vcl/StdLists.h"

#include "host/vcl/StdListsWindow.h"

#include <algorithm>

namespace host {

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(FLeft, FTop, 121, 97);
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    static const TItemMessages messages{LB_ADDSTRING,   LB_INSERTSTRING,    LB_DELETESTRING, LB_RESETCONTENT,
                                        LB_GETCOUNT,    LB_GETTEXT,         LB_GETTEXTLEN,   LB_SETITEMDATA,
                                        LB_GETITEMDATA, LB_FINDSTRINGEXACT, LB_GETCURSEL,    LB_SETCURSEL,
                                        LB_ERR};
    FItems = std::make_unique<TItemStrings>(
        this, messages, FSave, [this] { return UseWindow(); }, [this] { return FSorted; });
    FCanvas = std::make_unique<TControlCanvas>();
    FCanvas->SetControl(this);
}

void TCustomListBox::Destroy()
{
    inherited::Destroy();
    FCanvas->SetControl(nullptr);
}

bool TCustomListBox::UseWindow()
{
    if (HandleAllocated()) return true;
    if (GetComponentState().Contains(csLoading) || GetComponentState().Contains(csDestroying)) return false;
    if (!FParent && !GetParentWindow()) return false;
    HandleNeeded();
    return HandleAllocated();
}

// ---- Window ------------------------------------------------------------------------------

void TCustomListBox::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    RegisterListWindowClasses();
    WNDCLASS system;
    GetClassInfo(nullptr, "LISTBOX", &system);
    Params.WindowClass.lpfnWndProc = system.lpfnWndProc;
    // The bars show only while there is something to scroll.
    Params.Style |= WS_VSCROLL | WS_HSCROLL | LBS_HASSTRINGS | LBS_NOTIFY | WS_TABSTOP;
    if (FStyle == lbOwnerDrawFixed) Params.Style |= LBS_OWNERDRAWFIXED;
    if (FStyle == lbOwnerDrawVariable) Params.Style |= LBS_OWNERDRAWVARIABLE;
    if (FSorted) Params.Style |= LBS_SORT;
    if (FMultiSelect) Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (!FIntegralHeight) Params.Style |= LBS_NOINTEGRALHEIGHT;
    if (FColumns > 0) Params.Style |= LBS_MULTICOLUMN;
    if (FBorderStyle == bsSingle) {
        if (FCtl3D)
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
}

void TCustomListBox::CreateWnd()
{
    inherited::CreateWnd();
    if (FStyle != lbStandard) Perform(LB_SETITEMHEIGHT, 0, FItemHeight);
    SetColumnWidth();
    RestoreState();
}

void TCustomListBox::DestroyWnd()
{
    SaveState();
    inherited::DestroyWnd();
}

// The window's items, selection and top index wait in the control.
void TCustomListBox::SaveState()
{
    FSave.Items.clear();
    FSave.Selected.clear();
    int n = int(Perform(LB_GETCOUNT, 0, 0));
    FSave.Items.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        FSave.Items.emplace_back(FItems->GetStrings(i), FItems->GetObjects(i));
        if (FMultiSelect && Perform(LB_GETSEL, WPARAM(i), 0) > 0) FSave.Selected.push_back(i);
    }
    FSave.ItemIndex = GetItemIndex();
    FSave.TopIndex = int(Perform(LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::RestoreState()
{
    if (FSave.Items.empty()) return;
    Perform(WM_SETREDRAW, 0, 0);
    for (auto& [text, data] : FSave.Items) {
        LRESULT i = Perform(LB_ADDSTRING, 0, LPARAM(text.c_str()));
        if (i >= 0) Perform(LB_SETITEMDATA, WPARAM(i), LPARAM(data));
    }
    if (FMultiSelect)
        for (int i : FSave.Selected) Perform(LB_SETSEL, 1, LPARAM(i));
    if (FSave.ItemIndex >= 0) SetItemIndex(FSave.ItemIndex);
    Perform(LB_SETTOPINDEX, WPARAM(FSave.TopIndex), 0);
    Perform(WM_SETREDRAW, 1, 0);
    FSave.Items.clear();
    FSave.Selected.clear();
    FSave.ItemIndex = -1;
    FSave.TopIndex = 0;
}

// ---- Properties --------------------------------------------------------------------------

void TCustomListBox::SetItems(TStrings* Value) { FItems->Assign(Value); }

void TCustomListBox::Clear() { FItems->Clear(); }

int TCustomListBox::GetItemIndex()
{
    if (!HandleAllocated()) return FSave.ItemIndex;
    LRESULT r = Perform(FMultiSelect ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0);
    return r < 0 ? -1 : int(r);
}

void TCustomListBox::SetItemIndex(int Value)
{
    if (GetItemIndex() == Value) return;
    if (!UseWindow()) {
        FSave.ItemIndex = Value < int(FSave.Items.size()) ? Value : -1;
        return;
    }
    Perform(FMultiSelect ? LB_SETCARETINDEX : LB_SETCURSEL, WPARAM(Value), 0);
}

int TCustomListBox::GetTopIndex()
{
    if (!HandleAllocated()) return FSave.TopIndex;
    return int(Perform(LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int Value)
{
    if (GetTopIndex() == Value) return;
    if (!UseWindow()) {
        FSave.TopIndex = Value;
        return;
    }
    Perform(LB_SETTOPINDEX, WPARAM(Value), 0);
}

int TCustomListBox::GetSelCount()
{
    if (!UseWindow()) return FMultiSelect ? int(FSave.Selected.size()) : -1;
    return int(Perform(LB_GETSELCOUNT, 0, 0));
}

bool TCustomListBox::GetSelected(int Index)
{
    if (!UseWindow()) {
        if (Index < 0 || Index >= int(FSave.Items.size()))
            throw EListError(Format("List index out of bounds (%d)", {Index}));
        if (!FMultiSelect) return Index == FSave.ItemIndex;
        return std::find(FSave.Selected.begin(), FSave.Selected.end(), Index) != FSave.Selected.end();
    }
    LRESULT r = Perform(LB_GETSEL, WPARAM(Index), 0);
    if (r < 0) throw EListError(Format("List index out of bounds (%d)", {Index}));
    return r != 0;
}

void TCustomListBox::SetSelected(int Index, bool Value)
{
    if (!FMultiSelect) {
        if (Value)
            SetItemIndex(Index);
        else if (GetItemIndex() == Index)
            SetItemIndex(-1);
        return;
    }
    if (!UseWindow()) {
        if (Index < 0 || Index >= int(FSave.Items.size()))
            throw EListError(Format("List index out of bounds (%d)", {Index}));
        auto it = std::find(FSave.Selected.begin(), FSave.Selected.end(), Index);
        if (Value && it == FSave.Selected.end()) FSave.Selected.push_back(Index);
        if (!Value && it != FSave.Selected.end()) FSave.Selected.erase(it);
        return;
    }
    if (Perform(LB_SETSEL, Value ? 1 : 0, LPARAM(Index)) == LB_ERR)
        throw EListError(Format("List index out of bounds (%d)", {Index}));
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value)
{
    if (Value != bsNone) Value = bsSingle;
    if (FBorderStyle == Value) return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TCustomListBox::SetColumns(int Value)
{
    if (Value < 0) Value = 0;
    if (FColumns == Value) return;
    bool styleChanges = FColumns == 0 || Value == 0;
    FColumns = Value;
    if (styleChanges)
        RecreateWnd();
    else
        SetColumnWidth();
}

void TCustomListBox::SetColumnWidth()
{
    if (FColumns > 0 && HandleAllocated()) Perform(LB_SETCOLUMNWIDTH, WPARAM((FWidth + FColumns - 3) / FColumns), 0);
}

void TCustomListBox::SetExtendedSelect(bool Value)
{
    if (FExtendedSelect == Value) return;
    FExtendedSelect = Value;
    RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool Value)
{
    if (FIntegralHeight == Value) return;
    FIntegralHeight = Value;
    RecreateWnd();
}

int TCustomListBox::GetItemHeight()
{
    if (HandleAllocated() && FStyle == lbStandard) return int(Perform(LB_GETITEMHEIGHT, 0, 0));
    return FItemHeight;
}

void TCustomListBox::SetItemHeight(int Value)
{
    if (Value <= 0 || FItemHeight == Value) return;
    FItemHeight = Value;
    if (FStyle != lbStandard) RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool Value)
{
    if (FMultiSelect == Value) return;
    FMultiSelect = Value;
    RecreateWnd();
}

// A newly sorted list has new positions: the old selection means nothing.
void TCustomListBox::SetSorted(bool Value)
{
    if (FSorted == Value) return;
    FSorted = Value;
    if (HandleAllocated()) {
        RecreateWnd();
        if (Value) {
            SetItemIndex(-1);
            if (FMultiSelect) Perform(LB_SETSEL, 0, -1);
        }
        return;
    }
    if (Value) {
        std::stable_sort(FSave.Items.begin(), FSave.Items.end(),
                         [](const auto& a, const auto& b) { return AnsiCompareText(a.first, b.first) < 0; });
        FSave.Selected.clear();
        FSave.ItemIndex = -1;
    }
}

void TCustomListBox::SetStyle(TListBoxStyle Value)
{
    if (FStyle == Value) return;
    FStyle = Value;
    RecreateWnd();
}

// ---- Geometry ----------------------------------------------------------------------------

TRect TCustomListBox::ItemRect(int Index)
{
    RECT r{};
    if (!UseWindow()) return TRect{};
    int count = FItems->GetCount();
    if (Index == 0 && count == 0) return TRect{0, 0, GetClientWidth(), GetItemHeight()};
    if (Index >= 0 && Index < count) {
        Perform(LB_GETITEMRECT, WPARAM(Index), LPARAM(&r));
        return TRect{r.left, r.top, r.right, r.bottom};
    }
    if (Index == count) {
        Perform(LB_GETITEMRECT, WPARAM(Index - 1), LPARAM(&r));
        int h = r.bottom - r.top;
        return TRect{r.left, r.top + h, r.right, r.bottom + h};
    }
    return TRect{};
}

int TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing)
{
    if (!UseWindow()) return -1;
    TRect client = GetClientRect();
    if (Pos.x < client.left || Pos.y < client.top || Pos.x >= client.right || Pos.y >= client.bottom) return -1;
    LRESULT hit = Perform(LB_ITEMFROMPOINT, 0, MAKELPARAM(Pos.x, Pos.y));
    int index = LOWORD(hit);
    if (HIWORD(hit) == 0 && index < FItems->GetCount()) {
        TRect r = ItemRect(index);
        if (Pos.x >= r.left && Pos.x < r.right && Pos.y >= r.top && Pos.y < r.bottom) return index;
    }
    return Existing ? -1 : FItems->GetCount();
}

// ---- Owner drawing -----------------------------------------------------------------------

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (FOnDrawItem) {
        FOnDrawItem(this, Index, Rect, State);
        return;
    }
    FCanvas->FillRect(Rect);
    if (Index < FItems->GetCount()) FCanvas->TextOut(Rect.left + 2, Rect.top, FItems->GetStrings(Index));
}

void TCustomListBox::MeasureItem(int Index, int& Height)
{
    if (FOnMeasureItem) FOnMeasureItem(this, Index, Height);
}

void TCustomListBox::CNDrawItem(TMessage& Message)
{
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
    TOwnerDrawState state = TOwnerDrawState::FromInt(dis->itemState & 0x1F);
    TRect rect{dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom};
    FCanvas->SetHandle(dis->hDC);
    FCanvas->SetFont(GetFont());
    FCanvas->SetBrush(GetBrush());
    int index = int(dis->itemID);
    if (index >= 0 && state.Contains(odSelected)) {
        FCanvas->GetBrush()->SetColor(clHighlight);
        FCanvas->GetFont()->SetColor(clHighlightText);
    }
    if (index >= 0)
        DrawItem(index, rect, state);
    else
        FCanvas->FillRect(rect);
    if (state.Contains(odFocused)) DrawFocusRect(dis->hDC, &dis->rcItem);
    FCanvas->SetHandle(nullptr);
    Message.Result = 1;
}

void TCustomListBox::CNMeasureItem(TMessage& Message)
{
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    int height = FItemHeight;
    if (FStyle == lbOwnerDrawVariable) MeasureItem(int(mis->itemID), height);
    mis->itemHeight = UINT(std::max(1, height));
    Message.Result = 1;
}

// ---- Messages ----------------------------------------------------------------------------

void TCustomListBox::CNCommand(TMessage& Message)
{
    switch (SHORT(HIWORD(Message.WParam))) {
    case LBN_SELCHANGE: Click(); break;
    case LBN_DBLCLK: DblClick(); break;
    }
}

void TCustomListBox::CNCtlColorListBox(TMessage& Message)
{
    HDC dc = HDC(Message.WParam);
    SetTextColor(dc, ColorToRGB(GetFont()->GetColor()));
    SetBkColor(dc, ColorToRGB(FColor));
    Message.Result = LRESULT(GetBrush()->GetHandle());
}

void TCustomListBox::WMSize(TMessage& Message)
{
    inherited::Dispatch(Message);
    SetColumnWidth();
}

// Without LBS_NOINTEGRALHEIGHT the window shows whole items only.
void TCustomListBox::WMWindowPosChanging(TMessage& Message)
{
    inherited::Dispatch(Message);
    auto* wp = reinterpret_cast<WINDOWPOS*>(Message.LParam);
    if (!FIntegralHeight || FStyle == lbOwnerDrawVariable || !wp || (wp->flags & SWP_NOSIZE) || !HandleAllocated())
        return;
    RECT window, client;
    ::host::GetWindowRect(FHandle, &window);
    ::host::GetClientRect(FHandle, &client);
    int frame = (window.bottom - window.top) - client.bottom;
    int h = std::max(1, GetItemHeight());
    int rows = std::max(1, (wp->cy - frame) / h);
    wp->cy = frame + rows * h;
}

HOST_MESSAGE_MAP(TCustomListBox)
{
    M(CN_COMMAND, &TCustomListBox::CNCommand);
    M(CN_DRAWITEM, &TCustomListBox::CNDrawItem);
    M(CN_MEASUREITEM, &TCustomListBox::CNMeasureItem);
    M(CN_CTLCOLORLISTBOX, &TCustomListBox::CNCtlColorListBox);
    M(WM_SIZE, &TCustomListBox::WMSize);
    M(WM_WINDOWPOSCHANGING, &TCustomListBox::WMWindowPosChanging);
}

}  // namespace host
