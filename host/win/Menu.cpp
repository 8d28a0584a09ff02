// Menu handles and their items: creation, editing and queries.
#include "host/win/MenuInternal.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace host::win {

namespace {

struct TMenuTable {
    std::unordered_map<uintptr_t, std::unique_ptr<TMenuRec>> Menus;
    uintptr_t Next = 0x00A00000;
};

TMenuTable& Table()
{
    static TMenuTable t;
    return t;
}

HMENU NewMenu(bool popup)
{
    auto rec = std::make_unique<TMenuRec>();
    uintptr_t id = Table().Next++;
    rec->Handle = reinterpret_cast<HMENU>(id);
    rec->Popup = popup;
    HMENU h = rec->Handle;
    Table().Menus[id] = std::move(rec);
    return h;
}

void Destroy(TMenuRec* m)
{
    // Submenus go with their menu, as on the platform; a cycle cannot loop
    // because the record is unlinked before its items are visited.
    auto node = Table().Menus.extract(uintptr_t(m->Handle));
    if (node.empty())
        return;
    for (TMenuItemRec& it : node.mapped()->Items)
        if (it.Sub && FindMenu(it.Sub->Handle) == it.Sub)
            Destroy(it.Sub);
    if (m->BarOf) {
        if (TWnd* w = FindWnd(m->BarOf); w && w->Menu == m->Handle)
            w->Menu = nullptr;
    }
}

// An item of flags-style calls (AppendMenu, InsertMenu, ModifyMenu).
bool ItemFromFlags(UINT flags, UINT_PTR newItem, LPCSTR text, TMenuItemRec& it)
{
    it.Type = flags & (MFT_SEPARATOR | MFT_MENUBREAK | MFT_MENUBARBREAK | MFT_OWNERDRAW |
                       MFT_BITMAP | MFT_RIGHTJUSTIFY);
    it.State = flags & (MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT);
    it.Sub = nullptr;
    it.Bitmap = nullptr;
    if (flags & MF_POPUP) {
        it.Sub = FindMenu(reinterpret_cast<HMENU>(newItem));
        if (!it.Sub)
            return false;
        it.Id = UINT(-1);
    } else {
        it.Id = UINT(newItem);
    }
    if (flags & MF_BITMAP)
        it.Bitmap = reinterpret_cast<HBITMAP>(const_cast<char*>(text));
    else if (flags & MF_OWNERDRAW)
        it.Data = ULONG_PTR(text);
    else if (!(flags & MF_SEPARATOR))
        it.Text = text ? text : "";
    return true;
}

bool Contains(TMenuRec* outer, TMenuRec* inner)
{
    if (outer == inner)
        return true;
    for (TMenuItemRec& it : outer->Items)
        if (it.Sub && Contains(it.Sub, inner))
            return true;
    return false;
}

void Changed(TMenuRec* m)
{
    if (m->BarOf)
        DrawMenuBar(m->BarOf);
}

void ApplyInfo(TMenuItemRec& it, const MENUITEMINFO* info)
{
    UINT mask = info->fMask;
    if (mask & MIIM_TYPE) {
        it.Type = info->fType;
        if (!(it.Type & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)))
            it.Text = info->dwTypeData ? info->dwTypeData : "";
    }
    if (mask & MIIM_FTYPE)
        it.Type = info->fType;
    if (mask & MIIM_STRING)
        it.Text = info->dwTypeData ? info->dwTypeData : "";
    if (mask & MIIM_STATE)
        it.State = info->fState;
    if (mask & MIIM_ID)
        it.Id = info->wID;
    if (mask & MIIM_SUBMENU)
        it.Sub = FindMenu(info->hSubMenu);
    if (mask & MIIM_DATA)
        it.Data = info->dwItemData;
    if (mask & MIIM_BITMAP)
        it.Bitmap = info->hbmpItem;
}

void CopyText(const std::string& text, LPSTR buffer, UINT max)
{
    if (!buffer || max == 0)
        return;
    size_t n = std::min<size_t>(text.size(), max - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = 0;
}

}  // namespace

TMenuRec* FindMenu(HMENU h)
{
    auto it = Table().Menus.find(uintptr_t(h));
    return it == Table().Menus.end() ? nullptr : it->second.get();
}

int FindMenuItem(TMenuRec*& menu, UINT item, UINT flags)
{
    if (!menu)
        return -1;
    if (flags & MF_BYPOSITION)
        return item < menu->Items.size() ? int(item) : -1;
    for (size_t i = 0; i < menu->Items.size(); ++i) {
        TMenuItemRec& it = menu->Items[i];
        if (!it.Sub && it.Id == item)
            return int(i);
    }
    for (size_t i = 0; i < menu->Items.size(); ++i) {
        TMenuItemRec& it = menu->Items[i];
        if (!it.Sub)
            continue;
        // A popup item answers to its submenu's handle too.
        if (uintptr_t(it.Sub->Handle) == item)
            return int(i);
        TMenuRec* sub = it.Sub;
        int found = FindMenuItem(sub, item, flags);
        if (found >= 0) {
            menu = sub;
            return found;
        }
    }
    return -1;
}

}  // namespace host::win

namespace host {

using namespace win;

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu)
{
    TMenuRec* m = FindMenu(menu);
    if (!m)
        return FALSE;
    Destroy(m);
    return TRUE;
}

BOOL IsMenu(HMENU menu) { return FindMenu(menu) != nullptr; }

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR newItem, LPCSTR text)
{
    return InsertMenu(menu, UINT(-1), flags | MF_BYPOSITION, newItem, text);
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCSTR text)
{
    TMenuRec* m = FindMenu(menu);
    if (!m)
        return FALSE;
    TMenuItemRec it;
    if (!ItemFromFlags(flags, newItem, text, it))
        return FALSE;
    if (it.Sub && Contains(it.Sub, m))
        return FALSE;  // a menu inside itself would open forever
    size_t at = m->Items.size();
    if (position != UINT(-1)) {
        TMenuRec* holder = m;
        int found = FindMenuItem(holder, position, flags & MF_BYPOSITION);
        if (found >= 0) {
            m = holder;
            at = size_t(found);
        }
    }
    m->Items.insert(m->Items.begin() + std::ptrdiff_t(at), std::move(it));
    Changed(m);
    return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCSTR text)
{
    TMenuRec* m = FindMenu(menu);
    int i = FindMenuItem(m, position, flags);
    if (i < 0)
        return FALSE;
    TMenuItemRec it;
    if (!ItemFromFlags(flags, newItem, text, it))
        return FALSE;
    if (it.Sub && Contains(it.Sub, m))
        return FALSE;
    TMenuItemRec& old = m->Items[size_t(i)];
    // A submenu that is replaced by something else is destroyed.
    if (old.Sub && old.Sub != it.Sub && FindMenu(old.Sub->Handle))
        Destroy(old.Sub);
    it.Data = (flags & MF_OWNERDRAW) ? it.Data : old.Data;
    old = std::move(it);
    Changed(m);
    return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags)
{
    TMenuRec* m = FindMenu(menu);
    int i = FindMenuItem(m, position, flags);
    if (i < 0)
        return FALSE;
    m->Items.erase(m->Items.begin() + i);
    Changed(m);
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags)
{
    TMenuRec* m = FindMenu(menu);
    int i = FindMenuItem(m, position, flags);
    if (i < 0)
        return FALSE;
    TMenuRec* sub = m->Items[size_t(i)].Sub;
    m->Items.erase(m->Items.begin() + i);
    if (sub && FindMenu(sub->Handle))
        Destroy(sub);
    Changed(m);
    return TRUE;
}

BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info)
{
    TMenuRec* m = FindMenu(menu);
    if (!m || !info)
        return FALSE;
    TMenuItemRec it;
    ApplyInfo(it, info);
    if ((info->fMask & MIIM_SUBMENU) && info->hSubMenu && !it.Sub)
        return FALSE;
    if (it.Sub && Contains(it.Sub, m))
        return FALSE;
    if (it.Sub && !(info->fMask & MIIM_ID))
        it.Id = UINT(-1);
    size_t at = m->Items.size();
    TMenuRec* holder = m;
    int found = FindMenuItem(holder, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (found >= 0) {
        m = holder;
        at = size_t(found);
    }
    m->Items.insert(m->Items.begin() + std::ptrdiff_t(at), std::move(it));
    Changed(m);
    return TRUE;
}

BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info)
{
    TMenuRec* m = FindMenu(menu);
    int i = FindMenuItem(m, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (i < 0 || !info)
        return FALSE;
    TMenuRec* newSub = (info->fMask & MIIM_SUBMENU) ? FindMenu(info->hSubMenu) : nullptr;
    if (newSub && Contains(newSub, m))
        return FALSE;
    ApplyInfo(m->Items[size_t(i)], info);
    Changed(m);
    return TRUE;
}

BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFO info)
{
    TMenuRec* m = FindMenu(menu);
    int i = FindMenuItem(m, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (i < 0 || !info)
        return FALSE;
    const TMenuItemRec& it = m->Items[size_t(i)];
    UINT mask = info->fMask;
    if (mask & (MIIM_TYPE | MIIM_FTYPE))
        info->fType = it.Type;
    if (mask & MIIM_STATE)
        info->fState = it.State;
    if (mask & MIIM_ID)
        info->wID = it.Id;
    if (mask & MIIM_SUBMENU)
        info->hSubMenu = it.Sub ? it.Sub->Handle : nullptr;
    if (mask & MIIM_DATA)
        info->dwItemData = it.Data;
    if (mask & MIIM_BITMAP)
        info->hbmpItem = it.Bitmap;
    if (mask & (MIIM_TYPE | MIIM_STRING)) {
        if (info->dwTypeData && info->cch > 0)
            CopyText(it.Text, info->dwTypeData, info->cch + 1);
        info->cch = UINT(it.Text.size());
    }
    return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check)
{
    TMenuRec* m = FindMenu(menu);
    int i = FindMenuItem(m, item, check);
    if (i < 0)
        return DWORD(-1);
    TMenuItemRec& it = m->Items[size_t(i)];
    DWORD old = it.State & MF_CHECKED;
    it.State = (it.State & ~MF_CHECKED) | (check & MF_CHECKED);
    return old;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable)
{
    TMenuRec* m = FindMenu(menu);
    int i = FindMenuItem(m, item, enable);
    if (i < 0)
        return -1;
    TMenuItemRec& it = m->Items[size_t(i)];
    BOOL old = BOOL(it.State & MFS_GRAYED);
    it.State = (it.State & ~MFS_GRAYED) | (enable & MFS_GRAYED);
    Changed(m);
    return old;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags)
{
    TMenuRec* m = FindMenu(menu);
    TMenuRec* fm = m;
    TMenuRec* lm = m;
    TMenuRec* cm = m;
    int f = FindMenuItem(fm, first, flags), l = FindMenuItem(lm, last, flags);
    int c = FindMenuItem(cm, check, flags);
    if (f < 0 || l < 0 || c < 0 || fm != lm || fm != cm || f > l || c < f || c > l)
        return FALSE;
    for (int i = f; i <= l; ++i) {
        TMenuItemRec& it = fm->Items[size_t(i)];
        if (i == c) {
            it.State |= MFS_CHECKED;
            it.Type |= MFT_RADIOCHECK;
        } else {
            it.State &= ~MFS_CHECKED;
        }
    }
    return TRUE;
}

BOOL HiliteMenuItem(HWND wnd, HMENU menu, UINT item, UINT hilite)
{
    TMenuRec* m = FindMenu(menu);
    int i = FindMenuItem(m, item, hilite);
    if (i < 0)
        return FALSE;
    TMenuItemRec& it = m->Items[size_t(i)];
    it.State = (it.State & ~MFS_HILITE) | (hilite & MF_HILITE);
    if (wnd && m->BarOf == wnd)
        DrawMenuBar(wnd);
    return TRUE;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition)
{
    TMenuRec* m = FindMenu(menu);
    if (!m)
        return FALSE;
    int target = -1;
    if (item != UINT(-1)) {
        for (size_t i = 0; i < m->Items.size() && target < 0; ++i)
            if (byPosition ? i == item : (!m->Items[i].Sub && m->Items[i].Id == item))
                target = int(i);
        if (target < 0)
            return FALSE;
    }
    for (size_t i = 0; i < m->Items.size(); ++i) {
        UINT& s = m->Items[i].State;
        s = int(i) == target ? (s | MFS_DEFAULT) : (s & ~MFS_DEFAULT);
    }
    return TRUE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT)
{
    TMenuRec* m = FindMenu(menu);
    if (!m)
        return UINT(-1);
    for (size_t i = 0; i < m->Items.size(); ++i)
        if (m->Items[i].State & MFS_DEFAULT)
            return byPosition ? UINT(i) : m->Items[i].Id;
    return UINT(-1);
}

int GetMenuItemCount(HMENU menu)
{
    TMenuRec* m = FindMenu(menu);
    return m ? int(m->Items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position)
{
    TMenuRec* m = FindMenu(menu);
    if (!m || position < 0 || size_t(position) >= m->Items.size())
        return UINT(-1);
    const TMenuItemRec& it = m->Items[size_t(position)];
    return it.Sub ? UINT(-1) : it.Id;
}

HMENU GetSubMenu(HMENU menu, int position)
{
    TMenuRec* m = FindMenu(menu);
    if (!m || position < 0 || size_t(position) >= m->Items.size())
        return nullptr;
    TMenuRec* sub = m->Items[size_t(position)].Sub;
    return sub ? sub->Handle : nullptr;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags)
{
    TMenuRec* m = FindMenu(menu);
    int i = FindMenuItem(m, item, flags);
    if (i < 0)
        return UINT(-1);
    const TMenuItemRec& it = m->Items[size_t(i)];
    UINT state = it.State | (it.Type & ~MFT_RADIOCHECK);
    if (it.Sub)
        return (UINT(it.Sub->Items.size()) << 8) | (state & 0xFF) | MF_POPUP;
    return state;
}

int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int max, UINT flags)
{
    TMenuRec* m = FindMenu(menu);
    int i = FindMenuItem(m, item, flags);
    if (i < 0)
        return 0;
    const std::string& text = m->Items[size_t(i)].Text;
    if (!buffer || max <= 0)
        return int(text.size());
    CopyText(text, buffer, UINT(max));
    return int(std::min<size_t>(text.size(), size_t(max - 1)));
}

}  // namespace host
