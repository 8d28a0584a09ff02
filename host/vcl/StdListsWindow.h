#pragma once
// The list window under list boxes and the drop-down part of combo boxes: the
// window class "LISTBOX" that answers the LB_* messages, paints its items
// (or asks its parent to, WM_DRAWITEM), and sends LBN_* notifications.
#include "host/win/WinUser.h"

namespace host {

// Registers "LISTBOX" and "COMBOBOX" once; controls subclass them.
void RegisterListWindowClasses();
LRESULT ListBoxWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT ComboBoxWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// Private messages between a combo box and its drop-down list.
constexpr UINT LBCB_STARTTRACK = WM_USER + 0x1F0;  // the list follows the mouse (capture is set)
constexpr UINT LBCB_ENDTRACK = WM_USER + 0x1F1;    // list -> combo: wParam 1 chosen, 0 cancelled
constexpr UINT LBCB_SETCOMBO = WM_USER + 0x1F2;    // the list belongs to combo lParam

}  // namespace host
