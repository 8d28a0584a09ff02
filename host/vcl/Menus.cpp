// Menus: the main menu of a form, popup menus and the window that receives
// the commands of popup menus.
#include "host/vcl/Menus.h"

#include <algorithm>

namespace host {

namespace {

// Popup menus post their commands to one hidden window, which hands each to
// the popup menu that has the item.
class TPopupList {
public:
    void Add(TPopupMenu* Menu) { FMenus.push_back(Menu); }
    void Remove(TPopupMenu* Menu) { FMenus.erase(std::remove(FMenus.begin(), FMenus.end(), Menu), FMenus.end()); }
    HWND Window()
    {
        // The window system may have been reset under us (tests do), and a
        // new window may carry the old handle: the procedure tells.
        if (!FWindow || !IsWindow(FWindow) || GetWindowLongPtr(FWindow, GWL_WNDPROC) != FProc) {
            if (FProc)
                FreeObjectInstance(WNDPROC(FProc));  // its window died with the reset
            FWindow = AllocateHWnd([this](TMessage& M) { WndProc(M); });
            FProc = GetWindowLongPtr(FWindow, GWL_WNDPROC);
        }
        return FWindow;
    }

private:
    void WndProc(TMessage& M)
    {
        std::vector<TPopupMenu*> menus = FMenus;
        for (TPopupMenu* menu : menus) {
            if (std::find(FMenus.begin(), FMenus.end(), menu) == FMenus.end())
                continue;
            try {
                if (M.Msg == WM_COMMAND && menu->DispatchCommand(M.WParamLo()))
                    return;
                if (M.Msg == WM_INITMENUPOPUP && menu->DispatchPopup(HMENU(M.WParam)))
                    return;
            } catch (...) {
                HandleWindowProcException(menu);
                return;
            }
        }
        M.Result = DefWindowProc(FWindow, M.Msg, M.WParam, M.LParam);
    }

    std::vector<TPopupMenu*> FMenus;
    HWND FWindow = nullptr;
    LONG_PTR FProc = 0;
};

TPopupList& PopupList()
{
    static TPopupList list;
    return list;
}

TMenuItem* FindIn(TMenuItem* item, UINT value, TFindItemKind kind)
{
    for (int i = 0; i < item->GetCount(); ++i) {
        TMenuItem* c = item->GetItem(i);
        bool match = kind == fkCommand    ? c->GetCommand() == value
                     : kind == fkShortCut ? c->GetShortCut() != 0 && c->GetShortCut() == value
                                          : c->HandleAllocated() && uintptr_t(c->GetHandle()) == value;
        if (match)
            return c;
        if (TMenuItem* deeper = FindIn(c, value, kind))
            return deeper;
    }
    return nullptr;
}

// An item can be used only when it and every item above it are enabled.
bool Reachable(const TMenuItem* item)
{
    for (; item && item->GetParent(); item = item->GetParent())
        if (!item->GetEnabled() || !item->GetVisible())
            return false;
    return true;
}

}  // namespace

// ---- TMenu ----

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner)
{
    FItems = new TMenuItem(this);
    FItems->FMenu = this;
}

void TMenu::Destroy()
{
    SetWindowHandle(nullptr);
    TMenuItem* items = FItems;
    FItems = nullptr;
    items->FMenu = nullptr;
    items->Free();
    inherited::Destroy();
}

TMenuItem* TMenu::FindItem(UINT Value, TFindItemKind Kind) const
{
    if (!FItems)
        return nullptr;
    if (Kind == fkHandle && FItems->FHandle && uintptr_t(FItems->FHandle) == Value)
        return FItems;
    return FindIn(FItems, Value, Kind);
}

bool TMenu::DispatchCommand(WORD ACommand)
{
    TMenuItem* item = FindItem(ACommand, fkCommand);
    if (!item)
        return false;
    item->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU AMenu)
{
    TMenuItem* item = FindItem(UINT(uintptr_t(AMenu)), fkHandle);
    if (!item)
        return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(const TMessage& Message)
{
    TShortCut sc = ShortCutFromMessage(Message);
    TMenuItem* item = sc ? FindItem(sc, fkShortCut) : nullptr;
    if (!item || !Reachable(item))
        return false;
    // The submenus on the way are opened in spirit: their handlers update
    // the items before the shortcut's item runs.
    std::vector<TMenuItem*> path;
    for (TMenuItem* p = item->GetParent(); p && p->GetParent(); p = p->GetParent())
        path.insert(path.begin(), p);
    for (TMenuItem* p : path)
        p->Click();
    if (!item->GetEnabled())
        return false;
    item->Click();
    return true;
}

void TMenu::SetWindowHandle(HWND Value) { FWindowHandle = Value; }

void TMenu::MenuChanged(TMenuItem*, bool) {}

void TMenu::RebuildItems()
{
    if (FItems)
        FItems->RebuildHandle();
}

void TMenu::GetChildren(TGetChildProc Proc, TComponent* Root)
{
    if (FItems)
        FItems->GetChildren(Proc, Root);
}

void TMenu::SetChildOrder(TComponent* Child, int Order)
{
    if (FItems)
        FItems->SetChildOrder(Child, Order);
}

// ---- TMainMenu ----

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}

void TMainMenu::SetWindowHandle(HWND Value)
{
    if (FWindowHandle && IsWindow(FWindowHandle) && FItems && FItems->HandleAllocated() &&
        GetMenu(FWindowHandle) == FItems->GetHandle())
        SetMenu(FWindowHandle, nullptr);
    FWindowHandle = Value;
    if (Value && FItems)
        SetMenu(Value, GetHandle());
}

void TMainMenu::MenuChanged(TMenuItem*, bool)
{
    if (FWindowHandle && IsWindow(FWindowHandle)) {
        // The bar's own items are rebuilt here; deeper items rebuild their parents.
        RebuildItems();
        DrawMenuBar(FWindowHandle);
    }
}

// ---- TPopupMenu ----

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) { PopupList().Add(this); }

void TPopupMenu::Destroy()
{
    PopupList().Remove(this);
    inherited::Destroy();
}

void TPopupMenu::SetPopupComponent(TComponent* Value)
{
    if (FPopupComponent == Value)
        return;
    if (FPopupComponent)
        FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupComponent)
        FPopupComponent = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender)
{
    if (OnPopup)
        OnPopup(Sender);
}

void TPopupMenu::Popup(int X, int Y)
{
    static const UINT align[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
    DoPopup(this);
    if (!FItems || FItems->GetCount() == 0)
        return;
    TrackPopupMenu(GetHandle(), align[FAlignment] | TPM_RIGHTBUTTON, X, Y, 0, PopupList().Window(), nullptr);
}

// ---- Context menus of controls ----

bool PopupControlMenu(TControl* Control, POINT Pt)
{
    TPopupMenu* menu = Control->GetPopupMenu();
    if (!menu || !menu->GetAutoPopup() || Control->GetComponentState().Contains(csDesigning))
        return false;
    if (Pt.x == -1 && Pt.y == -1) {
        // From the keyboard: the menu opens at the control's centre.
        TPoint c = Control->ClientToScreen(TPoint{Control->GetWidth() / 2, Control->GetHeight() / 2});
        Pt = POINT{c.x, c.y};
    }
    menu->SetPopupComponent(Control);
    menu->Popup(Pt.x, Pt.y);
    return true;
}

// ---- Builders ----

TMenuItem* NewItem(const std::string& ACaption, TShortCut AShortCut, bool AChecked, bool AEnabled,
                   TNotifyEvent AOnClick, int hCtx, const std::string& AName)
{
    auto* item = new TMenuItem(nullptr);
    item->SetName(AName);
    item->SetCaption(ACaption);
    item->SetShortCut(AShortCut);
    item->SetChecked(AChecked);
    item->SetEnabled(AEnabled);
    item->OnClick = AOnClick;
    item->SetHelpContext(hCtx);
    return item;
}

TMenuItem* NewSubMenu(const std::string& ACaption, int hCtx, const std::string& AName,
                      std::initializer_list<TMenuItem*> Items)
{
    TMenuItem* item = NewItem(ACaption, 0, false, true, TNotifyEvent(), hCtx, AName);
    for (TMenuItem* i : Items)
        item->Add(i);
    return item;
}

TMenuItem* NewLine() { return NewItem("-", 0, false, true, TNotifyEvent(), 0, ""); }

namespace {

// Built items join the menu's owner, as the menu's own items do.
void Adopt(TComponent* Owner, TMenuItem* Item)
{
    if (Owner && !Item->GetOwner())
        Owner->InsertComponent(Item);
    for (int i = 0; i < Item->GetCount(); ++i)
        Adopt(Owner, Item->GetItem(i));
}

void Fill(TMenu* Menu, std::initializer_list<TMenuItem*> Items)
{
    for (TMenuItem* i : Items) {
        Menu->GetItems()->Add(i);
        Adopt(Menu->GetOwner(), i);
    }
}

}  // namespace

TMainMenu* NewMenu(TComponent* Owner, const std::string& AName, std::initializer_list<TMenuItem*> Items)
{
    auto* menu = new TMainMenu(Owner);
    menu->SetName(AName);
    Fill(menu, Items);
    return menu;
}

TPopupMenu* NewPopupMenu(TComponent* Owner, const std::string& AName, TPopupAlignment Alignment,
                         bool AutoPopup, std::initializer_list<TMenuItem*> Items)
{
    auto* menu = new TPopupMenu(Owner);
    menu->SetName(AName);
    menu->SetAlignment(Alignment);
    menu->SetAutoPopup(AutoPopup);
    Fill(menu, Items);
    return menu;
}

// ---- Published properties ----

HOST_PUBLISHED(TMenuItem)
{
    P.Property("Break", &TMenuItem::GetBreak, &TMenuItem::SetBreak).Default(mbNone);
    P.Property("Caption", &TMenuItem::GetCaption, &TMenuItem::SetCaption);
    P.Property("Checked", &TMenuItem::GetChecked, &TMenuItem::SetChecked).Default(false);
    P.Property("Default", &TMenuItem::GetDefault, &TMenuItem::SetDefault).Default(false);
    P.Property("Enabled", &TMenuItem::GetEnabled, &TMenuItem::SetEnabled).Default(true);
    P.Property("GroupIndex", &TMenuItem::GetGroupIndex, &TMenuItem::SetGroupIndex).Default(0);
    P.Property("HelpContext", &TMenuItem::GetHelpContext, &TMenuItem::SetHelpContext).Default(0);
    P.Property("Hint", &TMenuItem::GetHint, &TMenuItem::SetHint);
    P.Property("RadioItem", &TMenuItem::GetRadioItem, &TMenuItem::SetRadioItem).Default(false);
    P.Property("ShortCut", &TMenuItem::GetShortCut, &TMenuItem::SetShortCut).Default(0);
    P.Property("Visible", &TMenuItem::GetVisible, &TMenuItem::SetVisible).Default(true);
    P.Property("OnClick", &TMenuItem::OnClick);
}

HOST_PUBLISHED(TMainMenu)
{
    P.Property("AutoMerge", &TMainMenu::GetAutoMerge, &TMainMenu::SetAutoMerge).Default(false);
}

HOST_PUBLISHED(TPopupMenu)
{
    P.Property("Alignment", &TPopupMenu::GetAlignment, &TPopupMenu::SetAlignment).Default(paLeft);
    P.Property("AutoPopup", &TPopupMenu::GetAutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
    P.Property("HelpContext", &TPopupMenu::GetHelpContext, &TPopupMenu::SetHelpContext).Default(0);
    P.Property("OnPopup", &TPopupMenu::OnPopup);
}

HOST_REGISTER_CLASSES(TMenuItem, TMainMenu, TPopupMenu);

}  // namespace host
