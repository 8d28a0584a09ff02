#pragma once
// Menus: menu items in a tree, the main menu of a form (its menu bar) and
// popup menus, over the window system's menu handles. Items are components
// owned by the form and streamed as children of their menu.
#include <string>
#include <vector>

#include "host/vcl/Classes.h"
#include "host/vcl/Controls.h"

namespace host {

// A key with its modifiers: the virtual key in the low byte, the modifiers above.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

HOST_ENUM(TMenuBreak, mbNone, mbBreak, mbBarBreak)
HOST_ENUM(TPopupAlignment, paLeft, paRight, paCenter)
HOST_ENUM(TFindItemKind, fkCommand, fkHandle, fkShortCut)

HOST_DECLARE_EXCEPTION(EMenuError, Exception);

TShortCut ShortCut(WORD Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);
// "Ctrl+S", "Shift+Ctrl+F5", "Alt+BkSp"; an empty string for none.
std::string ShortCutToText(TShortCut ShortCut);
// The reverse, case-insensitively; 0 for a text that names no key.
TShortCut TextToShortCut(const std::string& Text);
// The shortcut a WM_KEYDOWN or WM_SYSKEYDOWN message stands for, with the
// modifiers held as it was sent.
TShortCut ShortCutFromMessage(const TMessage& Message);

class TMenu;

class TMenuItem : public TComponent {
    HOST_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* AOwner);

    // Runs OnClick when the item is enabled.
    virtual void Click();

    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out without freeing it.
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    // Frees every sub-item.
    void Clear();
    int IndexOf(const TMenuItem* Item) const;
    // The sub-item whose caption matches, ignoring '&' and case; nullptr if none.
    TMenuItem* Find(const std::string& ACaption) const;
    int GetCount() const { return int(FItems.size()); }
    TMenuItem* GetItem(int Index) const;
    TMenuItem* operator[](int Index) const { return GetItem(Index); }
    TMenuItem* GetParent() const { return FParent; }
    int GetMenuIndex() const;
    void SetMenuIndex(int Value);
    // The menu that the item's tree belongs to, if any.
    TMenu* GetMenu() const;
    // The window-system menu of the sub-items, made on first use.
    HMENU GetHandle();
    UINT GetCommand() const { return FCommand; }
    bool HandleAllocated() const { return FHandle != nullptr; }
    bool IsLine() const { return FCaption == "-"; }

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    void SetChildOrder(TComponent* Child, int Order) override;

    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    bool GetChecked() const { return FChecked; }
    void SetChecked(bool Value);
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    bool GetDefault() const { return FDefault; }
    void SetDefault(bool Value);
    bool GetRadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value);
    uint8_t GetGroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(uint8_t Value);
    TMenuBreak GetBreak() const { return FBreak; }
    void SetBreak(TMenuBreak Value);
    TShortCut GetShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    const std::string& GetHint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }
    int GetHelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

    TNotifyEvent OnClick;

protected:
    void Destroy() override;
    // Something about the item changed: its parent shows it again.
    virtual void MenuChanged(bool Rebuild);
    void AppendTo(HMENU Menu);
    void RebuildHandle();
    void TurnSiblingsOff();

private:
    friend class TMenu;
    void DestroyHandle();

    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FDefault = false;
    bool FRadioItem = false;
    uint8_t FGroupIndex = 0;
    TMenuBreak FBreak = mbNone;
    TShortCut FShortCut = 0;
    std::string FHint;
    int FHelpContext = 0;
    UINT FCommand = 0;
    HMENU FHandle = nullptr;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // set on the root item of a menu only
    std::vector<TMenuItem*> FItems;
};

class TMenu : public TComponent {
    HOST_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* AOwner);

    TMenuItem* GetItems() const { return FItems; }
    HMENU GetHandle() { return FItems->GetHandle(); }
    // Searches the whole tree by command id, submenu handle or shortcut.
    TMenuItem* FindItem(UINT Value, TFindItemKind Kind) const;
    // Clicks the item with this command; false when no item has it.
    bool DispatchCommand(WORD ACommand);
    // A submenu is about to open: its item is clicked so that its handler
    // can bring the sub-items up to date.
    bool DispatchPopup(HMENU AMenu);
    // Clicks the enabled item whose shortcut the key message is.
    bool IsShortCut(const TMessage& Message);
    HWND GetWindowHandle() const { return FWindowHandle; }
    // The window whose menu bar this menu is (main menus only).
    virtual void SetWindowHandle(HWND Value);

    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    void SetChildOrder(TComponent* Child, int Order) override;

protected:
    friend class TMenuItem;
    void Destroy() override;
    virtual HMENU CreateMenuHandle() { return CreatePopupMenu(); }
    // The tree changed; a menu bar is drawn again.
    virtual void MenuChanged(TMenuItem* Source, bool Rebuild);
    void RebuildItems();

    TMenuItem* FItems = nullptr;
    HWND FWindowHandle = nullptr;
};

class TMainMenu : public TMenu {
    HOST_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* AOwner);
    void SetWindowHandle(HWND Value) override;
    bool GetAutoMerge() const { return FAutoMerge; }
    void SetAutoMerge(bool Value) { FAutoMerge = Value; }

protected:
    HMENU CreateMenuHandle() override { return CreateMenu(); }
    void MenuChanged(TMenuItem* Source, bool Rebuild) override;

private:
    bool FAutoMerge = false;
};

class TPopupMenu : public TMenu {
    HOST_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* AOwner);

    // Shows the menu at X, Y in screen coordinates and tracks it; a chosen
    // item is clicked once the message it posts is delivered.
    virtual void Popup(int X, int Y);
    TComponent* GetPopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value);
    TPopupAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
    bool GetAutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    int GetHelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

    void Notification(TComponent* AComponent, TOperation Operation) override;

    TNotifyEvent OnPopup;

protected:
    void Destroy() override;
    virtual void DoPopup(TObject* Sender);

private:
    TComponent* FPopupComponent = nullptr;
    TPopupAlignment FAlignment = paLeft;
    bool FAutoPopup = true;
    int FHelpContext = 0;
};

// Builders for menus made in code. Items are owned by the menu's owner when
// they join a menu.
TMenuItem* NewItem(const std::string& ACaption, TShortCut AShortCut, bool AChecked, bool AEnabled,
                   TNotifyEvent AOnClick, int hCtx, const std::string& AName);
TMenuItem* NewSubMenu(const std::string& ACaption, int hCtx, const std::string& AName,
                      std::initializer_list<TMenuItem*> Items);
TMenuItem* NewLine();
TMainMenu* NewMenu(TComponent* Owner, const std::string& AName, std::initializer_list<TMenuItem*> Items);
TPopupMenu* NewPopupMenu(TComponent* Owner, const std::string& AName, TPopupAlignment Alignment,
                         bool AutoPopup, std::initializer_list<TMenuItem*> Items);

// Shows a control's popup menu for a context-menu request at Pt (screen
// coordinates, or -1, -1 from the keyboard). True when a menu was shown.
bool PopupControlMenu(TControl* Control, POINT Pt);

}  // namespace host
