// The Items of a list box: LB_* messages to the list window, or the items
// waiting in the control while it has none.
#include "host/rtl/SysUtils.h"
#include "host/vcl/StdLists.h"

#include <algorithm>

namespace host {

namespace {

[[noreturn]] void IndexError(int Index) { throw EStringListError(Format("List index out of bounds (%d)", {Index})); }

}  // namespace

int TListBoxStrings::GetCount() const
{
    if (FListBox->HandleAllocated()) return int(FListBox->Perform(LB_GETCOUNT, 0, 0));
    return int(FListBox->FSaveItems.size());
}

std::string TListBoxStrings::Get(int Index) const
{
    if (FListBox->HandleAllocated()) {
        LRESULT len = FListBox->Perform(LB_GETTEXTLEN, WPARAM(Index), 0);
        if (len == LB_ERR) IndexError(Index);
        std::string s(size_t(len) + 1, '\0');
        FListBox->Perform(LB_GETTEXT, WPARAM(Index), LPARAM(s.data()));
        s.resize(size_t(len));
        return s;
    }
    if (Index < 0 || Index >= GetCount()) IndexError(Index);
    return FListBox->FSaveItems[size_t(Index)].first;
}

TObject* TListBoxStrings::GetObject(int Index) const
{
    if (FListBox->HandleAllocated()) {
        LRESULT data = FListBox->Perform(LB_GETITEMDATA, WPARAM(Index), 0);
        if (data == LB_ERR) IndexError(Index);
        return reinterpret_cast<TObject*>(data);
    }
    if (Index < 0 || Index >= GetCount()) IndexError(Index);
    return FListBox->FSaveItems[size_t(Index)].second;
}

void TListBoxStrings::PutObject(int Index, TObject* AObject)
{
    if (FListBox->UseWindow()) {
        if (FListBox->Perform(LB_SETITEMDATA, WPARAM(Index), LPARAM(AObject)) == LB_ERR) IndexError(Index);
        return;
    }
    if (Index < 0 || Index >= GetCount()) IndexError(Index);
    FListBox->FSaveItems[size_t(Index)].second = AObject;
}

// Replacing a string keeps its object and the selection.
void TListBoxStrings::Put(int Index, const std::string& S)
{
    int selected = FListBox->GetItemIndex();
    TObject* data = GetObject(Index);
    Delete(Index);
    InsertObject(Index, S, data);
    FListBox->SetItemIndex(selected);
}

int TListBoxStrings::Add(const std::string& S) { return AddObject(S, nullptr); }

int TListBoxStrings::AddObject(const std::string& S, TObject* AObject)
{
    if (FListBox->UseWindow()) {
        LRESULT index = FListBox->Perform(LB_ADDSTRING, 0, LPARAM(S.c_str()));
        if (index < 0) throw EOutOfResources("Failed to add a list item");
        FListBox->Perform(LB_SETITEMDATA, WPARAM(index), LPARAM(AObject));
        return int(index);
    }
    auto& items = FListBox->FSaveItems;
    auto pos = items.end();
    // The same order the window keeps: after equal texts, without case.
    if (FListBox->FSorted)
        pos = std::upper_bound(items.begin(), items.end(), S, [](const std::string& s, const auto& item) {
            return AnsiCompareText(s, item.first) < 0;
        });
    int index = int(pos - items.begin());
    items.insert(pos, {S, AObject});
    return index;
}

void TListBoxStrings::Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }

void TListBoxStrings::InsertObject(int Index, const std::string& S, TObject* AObject)
{
    if (Index < 0 || Index > GetCount()) IndexError(Index);
    if (FListBox->UseWindow()) {
        LRESULT index = FListBox->Perform(LB_INSERTSTRING, WPARAM(Index), LPARAM(S.c_str()));
        if (index < 0) throw EOutOfResources("Failed to insert a list item");
        FListBox->Perform(LB_SETITEMDATA, WPARAM(index), LPARAM(AObject));
        return;
    }
    FListBox->FSaveItems.insert(FListBox->FSaveItems.begin() + Index, {S, AObject});
}

void TListBoxStrings::Delete(int Index)
{
    if (FListBox->UseWindow()) {
        if (FListBox->Perform(LB_DELETESTRING, WPARAM(Index), 0) == LB_ERR) IndexError(Index);
        return;
    }
    if (Index < 0 || Index >= GetCount()) IndexError(Index);
    FListBox->FSaveItems.erase(FListBox->FSaveItems.begin() + Index);
    auto& sel = FListBox->FSaveSelected;
    sel.erase(std::remove(sel.begin(), sel.end(), Index), sel.end());
    for (int& i : sel)
        if (i > Index) --i;
    if (FListBox->FSaveItemIndex == Index) FListBox->FSaveItemIndex = -1;
    if (FListBox->FSaveItemIndex > Index) --FListBox->FSaveItemIndex;
}

void TListBoxStrings::Clear()
{
    if (FListBox->UseWindow()) {
        FListBox->Perform(LB_RESETCONTENT, 0, 0);
        return;
    }
    FListBox->FSaveItems.clear();
    FListBox->FSaveSelected.clear();
    FListBox->FSaveItemIndex = -1;
    FListBox->FSaveTopIndex = 0;
}

int TListBoxStrings::IndexOf(const std::string& S) const
{
    if (FListBox->HandleAllocated()) {
        LRESULT i = FListBox->Perform(LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(S.c_str()));
        return i < 0 ? -1 : int(i);
    }
    return inherited::IndexOf(S);
}

void TListBoxStrings::SetUpdateState(bool Updating)
{
    if (!FListBox->HandleAllocated()) return;
    FListBox->Perform(WM_SETREDRAW, Updating ? 0 : 1, 0);
    if (!Updating) FListBox->Refresh();
}

}  // namespace host
