// The Items of list and combo boxes: messages to the window, or the items
// waiting in the control while it has none.
#include "host/rtl/SysUtils.h"
#include "host/vcl/StdLists.h"

#include <algorithm>

namespace host {

TItemStrings::TItemStrings(TWinControl* Control, const TItemMessages& Messages, TItemStore& Store,
                           std::function<bool()> UseWindow, std::function<bool()> Sorted)
    : FControl(Control), FMsgs(Messages), FStore(Store), FUseWindow(std::move(UseWindow)), FSorted(std::move(Sorted))
{
}

void TItemStrings::CheckIndex(int Index, int Limit) const
{
    if (Index < 0 || Index >= Limit) Error("List index out of bounds (%d)", Index);
}

int TItemStrings::GetCount() const
{
    if (Windowed()) return int(FControl->Perform(FMsgs.Count, 0, 0));
    return int(FStore.Items.size());
}

std::string TItemStrings::Get(int Index) const
{
    if (!Windowed()) {
        CheckIndex(Index, GetCount());
        return FStore.Items[size_t(Index)].first;
    }
    LRESULT len = FControl->Perform(FMsgs.GetTextLen, WPARAM(Index), 0);
    if (len == FMsgs.Err) Error("List index out of bounds (%d)", Index);
    std::string s(size_t(len) + 1, '\0');
    FControl->Perform(FMsgs.GetText, WPARAM(Index), LPARAM(s.data()));
    s.resize(size_t(len));
    return s;
}

TObject* TItemStrings::GetObject(int Index) const
{
    if (!Windowed()) {
        CheckIndex(Index, GetCount());
        return FStore.Items[size_t(Index)].second;
    }
    CheckIndex(Index, GetCount());
    return reinterpret_cast<TObject*>(FControl->Perform(FMsgs.GetData, WPARAM(Index), 0));
}

void TItemStrings::PutObject(int Index, TObject* AObject)
{
    CheckIndex(Index, GetCount());
    if (FUseWindow())
        FControl->Perform(FMsgs.SetData, WPARAM(Index), LPARAM(AObject));
    else
        FStore.Items[size_t(Index)].second = AObject;
}

// Replacing a string keeps its object and the selection.
void TItemStrings::Put(int Index, const std::string& S)
{
    TObject* data = GetObject(Index);
    bool windowed = FUseWindow();
    LRESULT cur = windowed ? FControl->Perform(FMsgs.GetCurSel, 0, 0) : FStore.ItemIndex;
    std::vector<int> keep = FStore.Selected;
    Delete(Index);
    InsertObject(Index, S, data);
    if (windowed) {
        if (cur >= 0) FControl->Perform(FMsgs.SetCurSel, WPARAM(cur), 0);
        return;
    }
    FStore.ItemIndex = int(cur);
    FStore.Selected = keep;
}

int TItemStrings::Add(const std::string& S) { return AddObject(S, nullptr); }

int TItemStrings::AddObject(const std::string& S, TObject* AObject)
{
    if (FUseWindow()) {
        LRESULT index = FControl->Perform(FMsgs.Add, 0, LPARAM(S.c_str()));
        if (index < 0) throw EOutOfResources("Failed to add a list item");
        FControl->Perform(FMsgs.SetData, WPARAM(index), LPARAM(AObject));
        return int(index);
    }
    auto& items = FStore.Items;
    auto pos = items.end();
    // The order the window keeps: after equal texts, without case.
    if (FSorted())
        pos = std::upper_bound(items.begin(), items.end(), S, [](const std::string& s, const auto& item) {
            return AnsiCompareText(s, item.first) < 0;
        });
    int index = int(pos - items.begin());
    items.insert(pos, {S, AObject});
    for (int& i : FStore.Selected)
        if (i >= index) ++i;
    if (FStore.ItemIndex >= index) ++FStore.ItemIndex;
    return index;
}

void TItemStrings::Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }

void TItemStrings::InsertObject(int Index, const std::string& S, TObject* AObject)
{
    if (Index < 0 || Index > GetCount()) Error("List index out of bounds (%d)", Index);
    if (FUseWindow()) {
        LRESULT index = FControl->Perform(FMsgs.Insert, WPARAM(Index), LPARAM(S.c_str()));
        if (index < 0) throw EOutOfResources("Failed to insert a list item");
        FControl->Perform(FMsgs.SetData, WPARAM(index), LPARAM(AObject));
        return;
    }
    FStore.Items.insert(FStore.Items.begin() + Index, {S, AObject});
    for (int& i : FStore.Selected)
        if (i >= Index) ++i;
    if (FStore.ItemIndex >= Index) ++FStore.ItemIndex;
}

void TItemStrings::Delete(int Index)
{
    CheckIndex(Index, GetCount());
    if (FUseWindow()) {
        FControl->Perform(FMsgs.Delete, WPARAM(Index), 0);
        return;
    }
    FStore.Items.erase(FStore.Items.begin() + Index);
    auto& sel = FStore.Selected;
    sel.erase(std::remove(sel.begin(), sel.end(), Index), sel.end());
    for (int& i : sel)
        if (i > Index) --i;
    if (FStore.ItemIndex == Index)
        FStore.ItemIndex = -1;
    else if (FStore.ItemIndex > Index)
        --FStore.ItemIndex;
}

void TItemStrings::Clear()
{
    if (FUseWindow()) {
        FControl->Perform(FMsgs.Reset, 0, 0);
        return;
    }
    FStore = TItemStore();
}

int TItemStrings::IndexOf(const std::string& S) const
{
    if (Windowed()) {
        LRESULT i = FControl->Perform(FMsgs.FindExact, WPARAM(-1), LPARAM(S.c_str()));
        return i < 0 ? -1 : int(i);
    }
    return inherited::IndexOf(S);
}

void TItemStrings::SetUpdateState(bool Updating)
{
    if (!Windowed()) return;
    FControl->Perform(WM_SETREDRAW, Updating ? 0 : 1, 0);
    if (!Updating) FControl->Refresh();
}

}  // namespace host
