// Menu items: the tree, its properties and the window-system menu that shows
// each item's sub-items.
#include "host/vcl/Menus.h"

#include <algorithm>

namespace host {

namespace {

// Command ids are unique across every menu: popup menus share one window
// that dispatches their commands.
class TCommandPool {
public:
    UINT Take()
    {
        for (size_t i = FNext; i < FUsed.size(); ++i)
            if (!FUsed[i])
                return Mark(i);
        for (size_t i = 1; i < FNext && i < FUsed.size(); ++i)
            if (!FUsed[i])
                return Mark(i);
        if (FUsed.size() >= 0xFFFF)
            throw EMenuError("Too many menu items");
        FUsed.push_back(false);
        return Mark(FUsed.size() - 1);
    }
    void Give(UINT Id)
    {
        if (Id < FUsed.size())
            FUsed[Id] = false;
    }

private:
    UINT Mark(size_t i)
    {
        FUsed[i] = true;
        FNext = i + 1;
        return UINT(i);
    }
    std::vector<bool> FUsed = std::vector<bool>(1, true);  // 0 is never an id
    size_t FNext = 1;
};

TCommandPool& Commands()
{
    static TCommandPool pool;
    return pool;
}

std::string StripAccel(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size())
            ++i;
        out += s[i];
    }
    return out;
}

}  // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(Commands().Take()) {}

void TMenuItem::Destroy()
{
    if (FParent)
        FParent->Remove(this);
    while (!FItems.empty()) {
        TMenuItem* child = FItems.back();
        FItems.pop_back();
        child->FParent = nullptr;
        child->Free();
    }
    DestroyHandle();
    Commands().Give(FCommand);
    inherited::Destroy();
}

void TMenuItem::DestroyHandle()
{
    if (!FHandle)
        return;
    // Sub-items' own menus stay theirs to destroy.
    while (GetMenuItemCount(FHandle) > 0)
        RemoveMenu(FHandle, 0, MF_BYPOSITION);
    DestroyMenu(FHandle);
    FHandle = nullptr;
}

void TMenuItem::Click()
{
    if (FEnabled && OnClick)
        OnClick(this);
}

TMenuItem* TMenuItem::GetItem(int Index) const
{
    if (Index < 0 || Index >= GetCount())
        throw EMenuError("Menu index out of range");
    return FItems[size_t(Index)];
}

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (!Item)
        return;
    if (Item->FParent)
        throw EMenuError("Menu inserted twice");
    for (const TMenuItem* p = this; p; p = p->FParent)
        if (p == Item)
            throw EMenuError("Menu item cannot contain itself");
    Index = std::clamp(Index, 0, GetCount());
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    RebuildHandle();
    MenuChanged(GetCount() == 1);
}

void TMenuItem::Add(TMenuItem* Item) { Insert(GetCount(), Item); }

void TMenuItem::Delete(int Index)
{
    TMenuItem* item = GetItem(Index);
    FItems.erase(FItems.begin() + Index);
    item->FParent = nullptr;
    RebuildHandle();
    MenuChanged(FItems.empty());
}

void TMenuItem::Remove(TMenuItem* Item)
{
    int i = IndexOf(Item);
    if (i < 0)
        throw EMenuError("Menu item not found");
    Delete(i);
}

void TMenuItem::Clear()
{
    while (!FItems.empty())
        FItems.back()->Free();  // each removes itself
}

int TMenuItem::IndexOf(const TMenuItem* Item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const
{
    std::string wanted = StripAccel(ACaption);
    for (TMenuItem* item : FItems)
        if (SameText(StripAccel(item->FCaption), wanted))
            return item;
    return nullptr;
}

int TMenuItem::GetMenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int Value)
{
    if (!FParent)
        return;
    TMenuItem* parent = FParent;
    int count = parent->GetCount();
    Value = std::clamp(Value, 0, count - 1);
    if (Value == GetMenuIndex())
        return;
    parent->Delete(GetMenuIndex());
    parent->Insert(Value, this);
}

TMenu* TMenuItem::GetMenu() const
{
    const TMenuItem* root = this;
    while (root->FParent)
        root = root->FParent;
    return root->FMenu;
}

HMENU TMenuItem::GetHandle()
{
    if (FHandle && IsMenu(FHandle))
        return FHandle;
    FHandle = FMenu ? FMenu->CreateMenuHandle() : CreatePopupMenu();
    for (TMenuItem* item : FItems)
        item->AppendTo(FHandle);
    return FHandle;
}

void TMenuItem::AppendTo(HMENU Menu)
{
    if (!FVisible)
        return;
    static const UINT breaks[] = {0, MFT_MENUBREAK, MFT_MENUBARBREAK};
    MENUITEMINFO info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
    info.fType = (IsLine() ? MFT_SEPARATOR : MFT_STRING) | breaks[FBreak] | (FRadioItem ? MFT_RADIOCHECK : 0);
    info.fState = (FChecked ? MFS_CHECKED : 0) | (FEnabled ? 0 : MFS_GRAYED) | (FDefault ? MFS_DEFAULT : 0);
    info.wID = FCommand;
    info.hSubMenu = FItems.empty() ? nullptr : GetHandle();
    std::string text = FCaption;
    // The bar of a main menu shows captions only.
    bool onBar = FParent && FParent->FMenu && dynamic_cast<TMainMenu*>(FParent->FMenu);
    if (FShortCut && !onBar)
        text += "\t" + ShortCutToText(FShortCut);
    info.dwTypeData = text.data();
    InsertMenuItem(Menu, UINT(-1), TRUE, &info);
}

void TMenuItem::RebuildHandle()
{
    if (!FHandle || !IsMenu(FHandle))
        return;
    while (GetMenuItemCount(FHandle) > 0)
        RemoveMenu(FHandle, 0, MF_BYPOSITION);
    for (TMenuItem* item : FItems)
        item->AppendTo(FHandle);
}

void TMenuItem::MenuChanged(bool)
{
    if (GetComponentState().Contains(csDestroying))
        return;
    if (FParent) {
        FParent->RebuildHandle();
        FParent->MenuChanged(false);
    } else if (FMenu) {
        FMenu->MenuChanged(this, false);
    }
}

void TMenuItem::TurnSiblingsOff()
{
    if (!FParent)
        return;
    for (TMenuItem* item : FParent->FItems)
        if (item != this && item->FRadioItem && item->FGroupIndex == FGroupIndex && item->FChecked) {
            item->FChecked = false;
            item->MenuChanged(false);
        }
}

void TMenuItem::SetCaption(const std::string& Value)
{
    if (FCaption == Value)
        return;
    FCaption = Value;
    MenuChanged(true);
}

void TMenuItem::SetChecked(bool Value)
{
    if (FChecked == Value)
        return;
    FChecked = Value;
    if (Value && FRadioItem)
        TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    MenuChanged(false);
}

void TMenuItem::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    FVisible = Value;
    MenuChanged(true);
}

void TMenuItem::SetDefault(bool Value)
{
    if (FDefault == Value)
        return;
    // One default item per menu.
    if (Value && FParent)
        for (TMenuItem* item : FParent->FItems)
            item->FDefault = false;
    FDefault = Value;
    MenuChanged(false);
}

void TMenuItem::SetRadioItem(bool Value)
{
    if (FRadioItem == Value)
        return;
    FRadioItem = Value;
    if (FChecked && FRadioItem)
        TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetGroupIndex(uint8_t Value)
{
    if (FGroupIndex == Value)
        return;
    FGroupIndex = Value;
    if (FChecked && FRadioItem)
        TurnSiblingsOff();
}

void TMenuItem::SetBreak(TMenuBreak Value)
{
    if (FBreak == Value)
        return;
    FBreak = Value;
    MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut Value)
{
    if (FShortCut == Value)
        return;
    FShortCut = Value;
    MenuChanged(true);
}

TComponent* TMenuItem::GetParentComponent() const
{
    if (FParent && FParent->FMenu)
        return FParent->FMenu;
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value)
{
    if (FParent)
        FParent->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(Value))
        menu->GetItems()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(Value))
        item->Add(this);
}

void TMenuItem::GetChildren(TGetChildProc Proc, TComponent*)
{
    for (TMenuItem* item : FItems)
        Proc(item);
}

void TMenuItem::SetChildOrder(TComponent* Child, int Order)
{
    if (auto* item = dynamic_cast<TMenuItem*>(Child); item && item->FParent == this)
        item->SetMenuIndex(Order);
}

}  // namespace host
