#pragma once
// Menus inside the window system: the item records behind HMENU, their
// layout and painting, and the tracking of open menus. Not for use outside
// host/win.
#include "host/win/WinInternal.h"

#include <string>
#include <vector>

namespace host::win {

struct TMenuRec;

struct TMenuItemRec {
    UINT Type = MFT_STRING;  // MFT_* bits
    UINT State = 0;          // MFS_* bits
    UINT Id = 0;
    TMenuRec* Sub = nullptr;
    std::string Text;
    ULONG_PTR Data = 0;
    HBITMAP Bitmap = nullptr;

    bool IsSeparator() const { return (Type & MFT_SEPARATOR) != 0; }
    bool IsDisabled() const { return (State & MFS_GRAYED) != 0; }
    bool IsChecked() const { return (State & MFS_CHECKED) != 0; }
    bool StartsColumn() const { return (Type & (MFT_MENUBREAK | MFT_MENUBARBREAK)) != 0; }
};

struct TMenuRec {
    HMENU Handle = nullptr;
    bool Popup = false;
    std::vector<TMenuItemRec> Items;
    HWND BarOf = nullptr;  // the window whose menu bar it is
};

TMenuRec* FindMenu(HMENU h);
// The position of an item given by command or by position; -1 when absent.
// By command, the search goes into submenus and reports the menu that holds it.
int FindMenuItem(TMenuRec*& menu, UINT item, UINT flags);

// ---- Layout and painting (MenuPaint.cpp) ----
HFONT MenuFont(bool bold = false);
// The text before the tab, and the shortcut text after it.
std::string ItemLabel(const TMenuItemRec& item);
std::string ItemShortCut(const TMenuItemRec& item);
// The accelerator letter after '&' (upper case), or 0.
char ItemAccel(const TMenuItemRec& item);

struct TPopupLayout {
    SIZE Size{};                 // the popup window, frame included
    std::vector<RECT> Items;     // client coordinates
    std::vector<int> Column;     // column of each item
    std::vector<int> BarLines;   // x of the etched lines between columns
    int TextWidth = 0;           // of the label part, per column
};
TPopupLayout LayoutPopup(TMenuRec* menu);
void PaintPopup(HDC dc, TMenuRec* menu, const TPopupLayout& layout, int selected, RECT client);

// Menu bar items laid out in rows inside a bar of the given width; rectangles
// relative to the bar's top-left corner.
std::vector<RECT> LayoutMenuBar(TMenuRec* menu, int width);
int MenuBarHeightFor(TMenuRec* menu, int width);
void PaintMenuBarItems(HDC dc, TMenuRec* menu, RECT bar, int selected, bool pushed);

// ---- Menu bars (MenuBar.cpp) ----
// The bar's height for a window of the given width (0 when it has none).
int MenuBarHeight(TWnd* w, int windowWidth);
// The bar's rectangle in window coordinates (empty when there is none).
RECT MenuBarRect(TWnd* w);
void PaintMenuBar(TWnd* w, HDC dc);
// The bar item under a screen point, or -1.
int MenuBarItemAt(TWnd* w, POINT screen);
RECT MenuBarItemScreenRect(TWnd* w, int index);

// ---- Tracking (MenuTrack.cpp) ----
// Opens the bar of w in the mouse's or the keyboard's way.
void TrackMenuBarMouse(TWnd* w, POINT screen);
void TrackMenuBarKey(TWnd* w, char accel);
// Where keyboard input goes while a menu is tracked, or null.
HWND MenuKeyTarget();
// The bar item shown pushed or selected while tracking, or -1.
int TrackedBarItem(HWND wnd, bool* pushed);
// Screen rectangle of an item of an open popup.
bool OpenPopupItemRect(HMENU menu, int index, RECT* r);

}  // namespace host::win
