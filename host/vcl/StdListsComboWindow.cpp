// The "COMBOBOX" window: a selection field with a drop-down button, and a
// list window that drops down as a popup (or sits below, CBS_SIMPLE). The
// CB_* messages go to the list as LB_* messages where they can.
#include "host/gdi/WinText.h"
#include "host/vcl/StdListsComboState.h"
#include "host/vcl/StdListsWindow.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace host {

using namespace lists;

namespace {

const char* const kComboProp = "HostComboWindow";

int Count(const TComboState& S) { return int(SendMessage(S.List, LB_GETCOUNT, 0, 0)); }
int CurSel(const TComboState& S) { return int(SendMessage(S.List, LB_GETCURSEL, 0, 0)); }

std::string ItemText(const TComboState& S, int I)
{
    LRESULT len = SendMessage(S.List, LB_GETTEXTLEN, WPARAM(I), 0);
    if (len < 0) return {};
    std::string s(size_t(len) + 1, '\0');
    SendMessage(S.List, LB_GETTEXT, WPARAM(I), LPARAM(s.data()));
    s.resize(size_t(len));
    return s;
}

int EdgeHeight(const TComboState& S) { return ComboKind(S) == CBS_SIMPLE ? S.FieldHeight + 6 : S.FieldHeight + 6; }

void Layout(TComboState& S)
{
    if (ComboKind(S) != CBS_SIMPLE || !S.List) return;
    RECT c;
    GetClientRect(S.Wnd, &c);
    int top = EdgeHeight(S);
    MoveWindow(S.List, 0, top, c.right, std::max(0, int(c.bottom) - top), TRUE);
}

// The field shows the list's selection (with the edit part: its text).
void FieldFromList(TComboState& S)
{
    int i = CurSel(S);
    std::string text = i >= 0 ? ItemText(S, i) : std::string();
    if (HasEdit(S))
        EditSetText(S, text, true);
    else
        InvalidateRect(S.Wnd, nullptr, FALSE);
}

LRESULT SetCurSel(TComboState& S, int I)
{
    LRESULT r = SendMessage(S.List, LB_SETCURSEL, WPARAM(I), 0);
    FieldFromList(S);
    return r < 0 ? CB_ERR : r;
}

void SetFont(TComboState& S, HFONT Font)
{
    S.Font = Font;
    HDC dc = GetDC(S.Wnd);
    HGDIOBJ old = Font ? SelectObject(dc, Font) : nullptr;
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    if (old) SelectObject(dc, old);
    ReleaseDC(S.Wnd, dc);
    if (S.List) SendMessage(S.List, WM_SETFONT, WPARAM(Font), 0);
    if (!(S.Style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE))) {
        S.ItemHeight = std::max(1, int(tm.tmHeight));
        S.FieldHeight = S.ItemHeight + 2;
    }
    // The window keeps the height of its field.
    if (ComboKind(S) != CBS_SIMPLE) {
        RECT w;
        GetWindowRect(S.Wnd, &w);
        SetWindowPos(S.Wnd, nullptr, 0, 0, w.right - w.left, EdgeHeight(S), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Layout(S);
    InvalidateRect(S.Wnd, nullptr, TRUE);
}

// ---- Dropping down -------------------------------------------------------------------------

int ListHeight(const TComboState& S)
{
    int n = Count(S), rows = std::clamp(n, 1, std::max(1, S.DropCount));
    int h = 0;
    for (int i = 0; i < rows; ++i) h += std::max(1, int(SendMessage(S.List, LB_GETITEMHEIGHT, WPARAM(i), 0)));
    return h + 2;
}

void Drop(TComboState& S)
{
    if (S.Dropped || ComboKind(S) == CBS_SIMPLE) return;
    NotifyCombo(S, CBN_DROPDOWN);
    if (!IsWindow(S.Wnd)) return;
    S.OrigIndex = CurSel(S);
    RECT w;
    GetWindowRect(S.Wnd, &w);
    int h = ListHeight(S);
    int y = w.bottom;
    // Above the combo box when the screen has no room below it.
    if (y + h > GetSystemMetrics(SM_CYSCREEN) && w.top - h >= 0) y = w.top - h;
    SetWindowPos(S.List, HWND_TOP, w.left, y, w.right - w.left, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    S.Dropped = true;
    if (S.OrigIndex >= 0) SendMessage(S.List, LB_SETTOPINDEX, WPARAM(S.OrigIndex), 0);
    SendMessage(S.List, LBCB_STARTTRACK, 0, 0);
    InvalidateRect(S.Wnd, nullptr, FALSE);
}

void CloseUp(TComboState& S, bool Chosen)
{
    if (!S.Dropped) return;
    S.Dropped = false;
    S.ButtonDown = false;
    SendMessage(S.List, LBCB_ENDTRACK, 0, 0);
    ShowWindow(S.List, SW_HIDE);
    int index = CurSel(S);
    bool changed = index != S.OrigIndex;
    if (Chosen && HasEdit(S) && index >= 0 && S.Text != ItemText(S, index)) changed = true;
    if (!Chosen && changed) SendMessage(S.List, LB_SETCURSEL, WPARAM(S.OrigIndex), 0);
    NotifyCombo(S, Chosen ? CBN_SELENDOK : CBN_SELENDCANCEL);
    NotifyCombo(S, CBN_CLOSEUP);
    InvalidateRect(S.Wnd, nullptr, FALSE);
    if (Chosen && changed && IsWindow(S.Wnd)) {
        FieldFromList(S);
        NotifyCombo(S, CBN_SELCHANGE);
    }
}

// Keys that move the selection while the list is closed.
bool MoveSelection(TComboState& S, int Vk)
{
    int n = Count(S);
    if (n == 0) return false;
    int cur = CurSel(S), target;
    bool list = ComboKind(S) == CBS_DROPDOWNLIST;
    switch (Vk) {
    case VK_UP: target = cur - 1; break;
    case VK_DOWN: target = cur + 1; break;
    case VK_LEFT: if (!list) return false; target = cur - 1; break;
    case VK_RIGHT: if (!list) return false; target = cur + 1; break;
    case VK_PRIOR: target = cur - std::max(1, S.DropCount - 1); break;
    case VK_NEXT: target = cur + std::max(1, S.DropCount - 1); break;
    case VK_HOME: if (!list) return false; target = 0; break;
    case VK_END: if (!list) return false; target = n - 1; break;
    default: return false;
    }
    if (cur < 0) target = Vk == VK_END ? n - 1 : 0;
    target = std::clamp(target, 0, n - 1);
    if (target != cur) {
        SetCurSel(S, target);
        NotifyCombo(S, CBN_SELCHANGE);
    }
    return true;
}

void KeyDown(TComboState& S, int Vk, bool Alt)
{
    if (Vk == VK_F4 || (Alt && (Vk == VK_DOWN || Vk == VK_UP))) {
        if (S.Dropped)
            CloseUp(S, true);
        else
            Drop(S);
        return;
    }
    if (S.Dropped) {
        if (Vk == VK_RETURN) return CloseUp(S, true);
        if (Vk == VK_ESCAPE) return CloseUp(S, false);
        if (Vk == VK_UP || Vk == VK_DOWN || Vk == VK_PRIOR || Vk == VK_NEXT || Vk == VK_HOME || Vk == VK_END)
            SendMessage(S.List, WM_KEYDOWN, WPARAM(Vk), 0);
        return;
    }
    if (HasEdit(S) && EditKey(S, Vk)) return;
    MoveSelection(S, Vk);
}

// Typing in a drop-down list selects the next item that starts with the key.
void Char(TComboState& S, char C)
{
    if (HasEdit(S)) return EditChar(S, C);
    if (static_cast<unsigned char>(C) < ' ') return;
    if (S.Dropped) {
        SendMessage(S.List, WM_CHAR, WPARAM(static_cast<unsigned char>(C)), 0);
        return;
    }
    char text[2] = {C, 0};
    LRESULT found = SendMessage(S.List, LB_FINDSTRING, WPARAM(CurSel(S)), LPARAM(text));
    if (found < 0 || int(found) == CurSel(S)) return;
    SetCurSel(S, int(found));
    NotifyCombo(S, CBN_SELCHANGE);
}

void MouseDown(TComboState& S, POINT P, bool Double)
{
    if (GetFocus() != S.Wnd) ::host::SetFocus(S.Wnd);
    if (!IsWindow(S.Wnd)) return;
    RECT b = ButtonRect(S);
    bool onButton = P.x >= b.left && P.x < b.right && P.y >= b.top && P.y < b.bottom;
    if (ComboKind(S) == CBS_DROPDOWNLIST || (ComboKind(S) == CBS_DROPDOWN && onButton)) {
        S.ButtonDown = true;
        Drop(S);
        return;
    }
    if (!HasEdit(S)) return;
    if (Double) {
        S.SelStart = 0;
        S.SelEnd = int(S.Text.size());
        InvalidateRect(S.Wnd, nullptr, FALSE);
        return;
    }
    EditMouse(S, P, GetKeyState(VK_SHIFT) < 0);
    S.EditDrag = true;
    SetCapture(S.Wnd);
}

// Notifications of the list window.
void ListCommand(TComboState& S, int Code)
{
    if (Code == LBN_SELCHANGE && !S.Dropped) {
        FieldFromList(S);
        NotifyCombo(S, CBN_SELCHANGE);
    }
    if (Code == LBN_DBLCLK) NotifyCombo(S, CBN_DBLCLK);
}

void CreateList(TComboState& S)
{
    DWORD style = LBS_NOTIFY | LBS_HASSTRINGS | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
    if (S.Style & CBS_SORT) style |= LBS_SORT;
    if (S.Style & CBS_OWNERDRAWFIXED) style |= LBS_OWNERDRAWFIXED;
    if (S.Style & CBS_OWNERDRAWVARIABLE) style |= LBS_OWNERDRAWVARIABLE;
    DWORD ex = 0;
    if (ComboKind(S) == CBS_SIMPLE) {
        style |= WS_CHILD | WS_VISIBLE;
        ex = WS_EX_CLIENTEDGE;
    } else {
        style |= WS_POPUP | WS_BORDER;
        ex = WS_EX_TOOLWINDOW;
    }
    S.List = CreateWindowEx(ex, "LISTBOX", "", style, 0, 0, 100, 100, S.Wnd, nullptr, HInstance(), nullptr);
    SendMessage(S.List, LBCB_SETCOMBO, 0, LPARAM(S.Wnd));
    Layout(S);
}

LRESULT ComboMessage(TComboState& S, UINT Msg, WPARAM W, LPARAM L)
{
    switch (Msg) {
    case CB_ADDSTRING: return SendMessage(S.List, LB_ADDSTRING, 0, L);
    case CB_INSERTSTRING: return SendMessage(S.List, LB_INSERTSTRING, W, L);
    case CB_DELETESTRING: {
        bool selected = int(W) == CurSel(S);
        LRESULT r = SendMessage(S.List, LB_DELETESTRING, W, 0);
        if (selected && !HasEdit(S)) InvalidateRect(S.Wnd, nullptr, FALSE);
        return r;
    }
    case CB_RESETCONTENT:
        SendMessage(S.List, LB_RESETCONTENT, 0, 0);
        EditSetText(S, "", false);
        InvalidateRect(S.Wnd, nullptr, FALSE);
        return CB_OKAY;
    case CB_GETCOUNT: return Count(S);
    case CB_GETLBTEXT: return SendMessage(S.List, LB_GETTEXT, W, L);
    case CB_GETLBTEXTLEN: return SendMessage(S.List, LB_GETTEXTLEN, W, L);
    case CB_SETITEMDATA: return SendMessage(S.List, LB_SETITEMDATA, W, L);
    case CB_GETITEMDATA: return SendMessage(S.List, LB_GETITEMDATA, W, L);
    case CB_FINDSTRING: return SendMessage(S.List, LB_FINDSTRING, W, L);
    case CB_FINDSTRINGEXACT: return SendMessage(S.List, LB_FINDSTRINGEXACT, W, L);
    case CB_SETCURSEL: return SetCurSel(S, int(W));
    case CB_GETCURSEL: return CurSel(S);
    case CB_SELECTSTRING: {
        LRESULT i = SendMessage(S.List, LB_FINDSTRING, W, L);
        return i < 0 ? CB_ERR : SetCurSel(S, int(i));
    }
    case CB_SHOWDROPDOWN:
        if (W) Drop(S);
        else CloseUp(S, false);
        return TRUE;
    case CB_GETDROPPEDSTATE: return S.Dropped;
    case CB_LIMITTEXT: S.Limit = std::max(0, int(W)); return TRUE;
    case CB_GETEDITSEL:
        if (!HasEdit(S)) return CB_ERR;
        if (W) *reinterpret_cast<DWORD*>(W) = DWORD(std::min(S.SelStart, S.SelEnd));
        if (L) *reinterpret_cast<DWORD*>(L) = DWORD(std::max(S.SelStart, S.SelEnd));
        return MAKELRESULT(std::min(S.SelStart, S.SelEnd), std::max(S.SelStart, S.SelEnd));
    case CB_SETEDITSEL: {
        if (!HasEdit(S)) return CB_ERR;
        int n = int(S.Text.size()), a = SHORT(LOWORD(L)), b = SHORT(HIWORD(L));
        S.SelStart = a < 0 ? 0 : std::min(a, n);
        S.SelEnd = b < 0 ? n : std::min(b, n);
        if (a < 0) S.SelStart = S.SelEnd = n;
        PlaceCaret(S);
        InvalidateRect(S.Wnd, nullptr, FALSE);
        return TRUE;
    }
    case CB_SETITEMHEIGHT:
        if (L < 1 || L > 255) return CB_ERR;
        if (int(W) == -1) {
            S.FieldHeight = int(L);
            SetFont(S, S.Font);
            return CB_OKAY;
        }
        S.ItemHeight = int(L);
        return SendMessage(S.List, LB_SETITEMHEIGHT, W, L);
    case CB_GETITEMHEIGHT:
        return int(W) == -1 ? S.FieldHeight : SendMessage(S.List, LB_GETITEMHEIGHT, W, 0);
    case CB_GETDROPPEDCONTROLRECT:
        if (L) GetWindowRect(S.Dropped ? S.List : S.Wnd, reinterpret_cast<RECT*>(L));
        return TRUE;
    case CB_SETMINVISIBLE: S.DropCount = std::max(1, int(W)); return TRUE;
    case CB_GETMINVISIBLE: return S.DropCount;
    case CB_GETTOPINDEX: return SendMessage(S.List, LB_GETTOPINDEX, 0, 0);
    case CB_SETTOPINDEX: return SendMessage(S.List, LB_SETTOPINDEX, W, 0);
    }
    return CB_ERR;
}

LRESULT TextMessage(TComboState& S, UINT Msg, WPARAM W, LPARAM L)
{
    std::string text = HasEdit(S) ? S.Text : (CurSel(S) >= 0 ? ItemText(S, CurSel(S)) : std::string());
    switch (Msg) {
    case WM_GETTEXTLENGTH: return LRESULT(text.size());
    case WM_GETTEXT: {
        if (W == 0 || !L) return 0;
        size_t n = std::min(text.size(), size_t(W) - 1);
        std::memcpy(reinterpret_cast<char*>(L), text.data(), n);
        reinterpret_cast<char*>(L)[n] = 0;
        return LRESULT(n);
    }
    case WM_SETTEXT: {
        const char* s = reinterpret_cast<const char*>(L);
        if (HasEdit(S)) {
            EditSetText(S, s ? s : "", false);
            return TRUE;
        }
        // A drop-down list can only show one of its items.
        LRESULT i = SendMessage(S.List, LB_FINDSTRINGEXACT, WPARAM(-1), L);
        SetCurSel(S, int(i));
        return i < 0 ? CB_ERR : TRUE;
    }
    }
    return 0;
}

LRESULT WindowMessage(TComboState& S, HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    switch (Msg) {
    case WM_PAINT: PaintCombo(S); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT: SetFont(S, HFONT(W)); return 0;
    case WM_GETFONT: return LRESULT(S.Font);
    case WM_SIZE: Layout(S); InvalidateRect(Wnd, nullptr, TRUE); return 0;
    case WM_WINDOWPOSCHANGING: {
        auto* wp = reinterpret_cast<WINDOWPOS*>(L);
        if (ComboKind(S) != CBS_SIMPLE && !(wp->flags & SWP_NOSIZE)) wp->cy = EdgeHeight(S);
        return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | (S.Dropped ? DLGC_WANTALLKEYS : 0);
    case WM_SETFOCUS:
        S.Focused = true;
        if (HasEdit(S)) {
            S.SelStart = 0;
            S.SelEnd = int(S.Text.size());
            CreateCaret(Wnd, nullptr, 1, S.FieldHeight);
            PlaceCaret(S);
            ShowCaret(Wnd);
        }
        InvalidateRect(Wnd, nullptr, FALSE);
        NotifyCombo(S, CBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        S.Focused = false;
        CloseUp(S, false);
        if (HasEdit(S)) DestroyCaret();
        InvalidateRect(Wnd, nullptr, FALSE);
        NotifyCombo(S, CBN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: MouseDown(S, POINT{GET_X_LPARAM(L), GET_Y_LPARAM(L)}, Msg == WM_LBUTTONDBLCLK); return 0;
    case WM_MOUSEMOVE:
        if (S.EditDrag) EditMouse(S, POINT{GET_X_LPARAM(L), GET_Y_LPARAM(L)}, true);
        return 0;
    case WM_LBUTTONUP:
        if (S.EditDrag && GetCapture() == Wnd) ReleaseCapture();
        S.EditDrag = false;
        if (!S.Dropped && S.ButtonDown) {
            S.ButtonDown = false;
            InvalidateRect(Wnd, nullptr, FALSE);
        }
        return 0;
    case WM_KEYDOWN: KeyDown(S, int(W), false); return 0;
    case WM_SYSKEYDOWN:
        if (W == VK_DOWN || W == VK_UP) {
            KeyDown(S, int(W), true);
            return 0;
        }
        break;
    case WM_CHAR: Char(S, char(W)); return 0;
    case WM_MOUSEWHEEL:
        if (S.Dropped) return SendMessage(S.List, WM_MOUSEWHEEL, W, L);
        MoveSelection(S, GET_WHEEL_DELTA_WPARAM(W) > 0 ? VK_UP : VK_DOWN);
        return 0;
    case WM_COMMAND:
        if (HWND(L) == S.List) {
            ListCommand(S, SHORT(HIWORD(W)));
            return 0;
        }
        break;
    case WM_CTLCOLORLISTBOX:
    case WM_DRAWITEM:
    case WM_MEASUREITEM: return S.Notify ? SendMessage(S.Notify, Msg, W, L) : 0;
    case WM_ENABLE: InvalidateRect(Wnd, nullptr, TRUE); return 0;
    case LBCB_ENDTRACK: CloseUp(S, W != 0); return 0;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_SETTEXT: return TextMessage(S, Msg, W, L);
    }
    return DefWindowProc(Wnd, Msg, W, L);
}

}  // namespace

namespace lists {

TComboState* ComboStateOf(HWND Wnd) { return static_cast<TComboState*>(GetProp(Wnd, kComboProp)); }

void NotifyCombo(TComboState& S, int Code)
{
    if (S.Notify) SendMessage(S.Notify, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(S.Wnd), Code), LPARAM(S.Wnd));
}

}  // namespace lists

LRESULT ComboBoxWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    if (Msg == WM_NCCREATE) {
        auto* s = new TComboState;
        s->Wnd = Wnd;
        auto* cs = reinterpret_cast<const CREATESTRUCT*>(L);
        s->Notify = cs ? cs->hwndParent : GetParent(Wnd);
        s->Style = DWORD(GetWindowLongPtr(Wnd, GWL_STYLE));
        SetProp(Wnd, kComboProp, s);
        return DefWindowProc(Wnd, Msg, W, L);
    }
    TComboState* s = ComboStateOf(Wnd);
    if (!s) return DefWindowProc(Wnd, Msg, W, L);
    if (Msg == WM_CREATE) {
        CreateList(*s);
        SetFont(*s, nullptr);
        return 0;
    }
    if (Msg == WM_NCDESTROY) {
        std::unique_ptr<TComboState> owned(s);
        RemoveProp(Wnd, kComboProp);
        return DefWindowProc(Wnd, Msg, W, L);
    }
    if (Msg == WM_DESTROY) {
        if (s->List) DestroyWindow(s->List);
        s->List = nullptr;
        return 0;
    }
    if (!s->List) return DefWindowProc(Wnd, Msg, W, L);
    if ((Msg >= CB_GETEDITSEL && Msg <= CB_SETTOPINDEX) || Msg == CB_SETMINVISIBLE || Msg == CB_GETMINVISIBLE)
        return ComboMessage(*s, Msg, W, L);
    return WindowMessage(*s, Wnd, Msg, W, L);
}

}  // namespace host
