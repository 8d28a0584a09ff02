// TCustomComboBox: the combo box window's properties, notifications and
// owner drawing, and the items kept across window re-creation.
#include "host/vcl/StdLists.h"

#include "host/vcl/StdListsWindow.h"

#include <algorithm>

namespace host {

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(FLeft, FTop, 145, 21);
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    static const TItemMessages messages{CB_ADDSTRING,   CB_INSERTSTRING,    CB_DELETESTRING, CB_RESETCONTENT,
                                        CB_GETCOUNT,    CB_GETLBTEXT,       CB_GETLBTEXTLEN, CB_SETITEMDATA,
                                        CB_GETITEMDATA, CB_FINDSTRINGEXACT, CB_GETCURSEL,    CB_SETCURSEL,
                                        CB_ERR};
    FItems = std::make_unique<TItemStrings>(
        this, messages, FSave, [this] { return UseWindow(); }, [this] { return FSorted; });
    FCanvas = std::make_unique<TControlCanvas>();
    FCanvas->SetControl(this);
}

void TCustomComboBox::Destroy()
{
    inherited::Destroy();
    FCanvas->SetControl(nullptr);
}

bool TCustomComboBox::UseWindow()
{
    if (HandleAllocated()) return true;
    if (GetComponentState().Contains(csLoading) || GetComponentState().Contains(csDestroying)) return false;
    if (!FParent && !GetParentWindow()) return false;
    HandleNeeded();
    return HandleAllocated();
}

void TCustomComboBox::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    RegisterListWindowClasses();
    WNDCLASS system;
    GetClassInfo(nullptr, "COMBOBOX", &system);
    Params.WindowClass.lpfnWndProc = system.lpfnWndProc;
    static const DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST,
                                   CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                   CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
    Params.Style |= CBS_HASSTRINGS | CBS_AUTOHSCROLL | WS_TABSTOP | styles[FStyle];
    if (FSorted) Params.Style |= CBS_SORT;
}

void TCustomComboBox::CreateWnd()
{
    std::string text = FText;
    inherited::CreateWnd();
    Perform(CB_LIMITTEXT, WPARAM(FMaxLength), 0);
    Perform(CB_SETMINVISIBLE, WPARAM(FDropDownCount), 0);
    if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) {
        Perform(CB_SETITEMHEIGHT, WPARAM(-1), FItemHeight);
        Perform(CB_SETITEMHEIGHT, 0, FItemHeight);
    }
    for (auto& [s, data] : FSave.Items) {
        LRESULT i = Perform(CB_ADDSTRING, 0, LPARAM(s.c_str()));
        if (i >= 0) Perform(CB_SETITEMDATA, WPARAM(i), LPARAM(data));
    }
    if (FSave.ItemIndex >= 0) Perform(CB_SETCURSEL, WPARAM(FSave.ItemIndex), 0);
    if (HasEditPart() || FSave.ItemIndex < 0) Perform(WM_SETTEXT, 0, LPARAM(text.c_str()));
    FSave = TItemStore();
}

void TCustomComboBox::DestroyWnd()
{
    FSave = TItemStore();
    int n = int(Perform(CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) FSave.Items.emplace_back(FItems->GetStrings(i), FItems->GetObjects(i));
    FSave.ItemIndex = GetItemIndex();
    inherited::DestroyWnd();
}

// ---- Properties --------------------------------------------------------------------------

void TCustomComboBox::SetItems(TStrings* Value) { FItems->Assign(Value); }

void TCustomComboBox::Clear()
{
    FItems->Clear();
    SetText("");
}

void TCustomComboBox::SelectAll()
{
    if (HandleAllocated()) Perform(CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

int TCustomComboBox::GetItemIndex()
{
    if (!HandleAllocated()) return FSave.ItemIndex;
    LRESULT r = Perform(CB_GETCURSEL, 0, 0);
    return r < 0 ? -1 : int(r);
}

void TCustomComboBox::SetItemIndex(int Value)
{
    if (!UseWindow()) {
        FSave.ItemIndex = Value < int(FSave.Items.size()) ? Value : -1;
        return;
    }
    Perform(CB_SETCURSEL, WPARAM(Value), 0);
}

bool TCustomComboBox::GetDroppedDown() { return HandleAllocated() && Perform(CB_GETDROPPEDSTATE, 0, 0) != 0; }

void TCustomComboBox::SetDroppedDown(bool Value)
{
    if (UseWindow()) Perform(CB_SHOWDROPDOWN, Value ? 1 : 0, 0);
}

int TCustomComboBox::GetSelStart()
{
    if (!HandleAllocated()) return 0;
    DWORD start = 0;
    Perform(CB_GETEDITSEL, WPARAM(&start), 0);
    return int(start);
}

void TCustomComboBox::SetSelStart(int Value)
{
    if (UseWindow()) Perform(CB_SETEDITSEL, 0, MAKELPARAM(Value, Value));
}

int TCustomComboBox::GetSelLength()
{
    if (!HandleAllocated()) return 0;
    DWORD start = 0, end = 0;
    Perform(CB_GETEDITSEL, WPARAM(&start), LPARAM(&end));
    return int(end - start);
}

void TCustomComboBox::SetSelLength(int Value)
{
    if (!UseWindow()) return;
    int start = GetSelStart();
    Perform(CB_SETEDITSEL, 0, MAKELPARAM(start, start + std::max(0, Value)));
}

std::string TCustomComboBox::GetSelText()
{
    std::string text = GetText();
    int start = std::min(GetSelStart(), int(text.size()));
    return text.substr(size_t(start), size_t(std::max(0, GetSelLength())));
}

// Replaces the selected text and leaves the caret after the new text.
void TCustomComboBox::SetSelText(const std::string& Value)
{
    if (!HasEditPart() || !UseWindow()) return;
    std::string text = GetText();
    int start = std::min(GetSelStart(), int(text.size()));
    int length = std::min(GetSelLength(), int(text.size()) - start);
    text.replace(size_t(start), size_t(length), Value);
    Perform(WM_SETTEXT, 0, LPARAM(text.c_str()));
    int caret = start + int(Value.size());
    Perform(CB_SETEDITSEL, 0, MAKELPARAM(caret, caret));
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value)
{
    if (FStyle == Value) return;
    FStyle = Value;
    RecreateWnd();
}

void TCustomComboBox::SetSorted(bool Value)
{
    if (FSorted == Value) return;
    FSorted = Value;
    if (HandleAllocated()) {
        RecreateWnd();
        return;
    }
    if (Value)
        std::stable_sort(FSave.Items.begin(), FSave.Items.end(),
                         [](const auto& a, const auto& b) { return AnsiCompareText(a.first, b.first) < 0; });
}

void TCustomComboBox::SetDropDownCount(int Value)
{
    Value = std::max(1, Value);
    if (FDropDownCount == Value) return;
    FDropDownCount = Value;
    if (HandleAllocated()) Perform(CB_SETMINVISIBLE, WPARAM(Value), 0);
}

void TCustomComboBox::SetMaxLength(int Value)
{
    Value = std::max(0, Value);
    if (FMaxLength == Value) return;
    FMaxLength = Value;
    if (HandleAllocated()) Perform(CB_LIMITTEXT, WPARAM(Value), 0);
}

int TCustomComboBox::GetItemHeight()
{
    if (HandleAllocated() && (FStyle != csOwnerDrawFixed && FStyle != csOwnerDrawVariable))
        return int(Perform(CB_GETITEMHEIGHT, 0, 0));
    return FItemHeight;
}

void TCustomComboBox::SetItemHeight(int Value)
{
    if (Value <= 0 || FItemHeight == Value) return;
    FItemHeight = Value;
    if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) RecreateWnd();
}

// ---- Events and owner drawing --------------------------------------------------------------

void TCustomComboBox::Change()
{
    if (FOnChange) FOnChange(this);
}

void TCustomComboBox::DropDown()
{
    if (FOnDropDown) FOnDropDown(this);
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (FOnDrawItem) {
        FOnDrawItem(this, Index, Rect, State);
        return;
    }
    FCanvas->FillRect(Rect);
    if (Index >= 0 && Index < FItems->GetCount()) FCanvas->TextOut(Rect.left + 2, Rect.top, FItems->GetStrings(Index));
}

void TCustomComboBox::MeasureItem(int Index, int& Height)
{
    if (FOnMeasureItem) FOnMeasureItem(this, Index, Height);
}

void TCustomComboBox::CNCommand(TMessage& Message)
{
    switch (SHORT(HIWORD(Message.WParam))) {
    case CBN_DBLCLK: DblClick(); break;
    case CBN_EDITCHANGE: Change(); break;
    case CBN_DROPDOWN: DropDown(); break;
    case CBN_SELCHANGE:
        Click();
        Change();
        break;
    }
}

void TCustomComboBox::CNDrawItem(TMessage& Message)
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

void TCustomComboBox::CNMeasureItem(TMessage& Message)
{
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    int height = FItemHeight;
    if (FStyle == csOwnerDrawVariable) MeasureItem(int(mis->itemID), height);
    mis->itemHeight = UINT(std::max(1, height));
    Message.Result = 1;
}

void TCustomComboBox::CNCtlColorListBox(TMessage& Message)
{
    HDC dc = HDC(Message.WParam);
    SetTextColor(dc, ColorToRGB(GetFont()->GetColor()));
    SetBkColor(dc, ColorToRGB(FColor));
    Message.Result = LRESULT(GetBrush()->GetHandle());
}

HOST_MESSAGE_MAP(TCustomComboBox)
{
    M(CN_COMMAND, &TCustomComboBox::CNCommand);
    M(CN_DRAWITEM, &TCustomComboBox::CNDrawItem);
    M(CN_MEASUREITEM, &TCustomComboBox::CNMeasureItem);
    M(CN_CTLCOLORLISTBOX, &TCustomComboBox::CNCtlColorListBox);
}

}  // namespace host
