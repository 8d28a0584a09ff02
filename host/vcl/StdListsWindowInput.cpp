// Painting, mouse, keyboard and scroll handling of the list window.
#include "host/gdi/WinText.h"
#include "host/rtl/Clock.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/StdListsWindowState.h"

#include <algorithm>

namespace host::lists {

namespace {

int Count(const TListState& S) { return int(S.Items.size()); }
bool IsSingleSel(const TListState& S) { return !(S.Style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)); }
bool IsOwnerDraw(const TListState& S) { return (S.Style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }

// The item that shows the focus rectangle.
int FocusItem(const TListState& S)
{
    if (IsSingleSel(S) && S.Cur >= 0) return S.Cur;
    return S.Caret < Count(S) ? S.Caret : -1;
}

HBRUSH ControlColors(TListState& S, HDC DC)
{
    HWND target = S.Combo ? S.Combo : S.Notify;
    // A combo box answers for its list.
    HWND asking = S.Combo ? S.Combo : S.Wnd;
    HBRUSH brush = target ? HBRUSH(SendMessage(target, WM_CTLCOLORLISTBOX, WPARAM(DC), LPARAM(asking))) : nullptr;
    if (brush) return brush;
    SetTextColor(DC, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(DC, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}

void DrawOwnerItem(TListState& S, HDC DC, int I, const RECT& R, bool Enabled)
{
    DRAWITEMSTRUCT dis;
    dis.CtlType = S.Combo ? ODT_COMBOBOX : ODT_LISTBOX;
    dis.CtlID = UINT(GetDlgCtrlID(S.Wnd));
    dis.itemID = UINT(I);
    dis.itemAction = ODA_DRAWENTIRE;
    if (IsSelected(S, I)) dis.itemState |= ODS_SELECTED;
    if (S.Focused && I == FocusItem(S)) dis.itemState |= ODS_FOCUS;
    if (!Enabled) dis.itemState |= ODS_DISABLED;
    dis.hwndItem = S.Combo ? S.Combo : S.Wnd;
    dis.hDC = DC;
    dis.rcItem = R;
    dis.itemData = S.Items[I].Data;
    int saved = SaveDC(DC);
    SendMessage(S.Combo ? S.Combo : S.Notify, WM_DRAWITEM, dis.CtlID, LPARAM(&dis));
    RestoreDC(DC, saved);
}

void DrawStandardItem(TListState& S, HDC DC, int I, const RECT& R, HBRUSH Back, bool Enabled)
{
    COLORREF text = GetTextColor(DC);
    bool selected = IsSelected(S, I);
    FillRect(DC, &R, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : Back);
    COLORREF colour = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text;
    if (!Enabled) colour = GetSysColor(COLOR_GRAYTEXT);
    SetTextColor(DC, colour);
    const std::string& s = S.Items[I].Text;
    ExtTextOut(DC, R.left + 2, R.top, ETO_CLIPPED, &R, s.c_str(), UINT(s.size()), nullptr);
    SetTextColor(DC, text);
    if (S.Focused && I == FocusItem(S) && !S.Combo) DrawFocusRect(DC, &R);
}

bool Intersects(const RECT& A, const RECT& B)
{
    return A.left < B.right && B.left < A.right && A.top < B.bottom && B.top < A.bottom;
}

}  // namespace

void Paint(TListState& S)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(S.Wnd, &ps);
    HBRUSH back = ControlColors(S, dc);
    HGDIOBJ oldFont = S.Font ? SelectObject(dc, S.Font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    FillRect(dc, &ps.rcPaint, back);
    bool enabled = IsWindowEnabled(S.Wnd);
    RECT c;
    GetClientRect(S.Wnd, &c);
    // From the top index on, until the items leave the client area.
    for (int i = S.Top; i < Count(S); ++i) {
        RECT r;
        ItemRect(S, i, r);
        if (r.top >= c.bottom && (S.Style & LBS_MULTICOLUMN) == 0) break;
        if (r.left >= c.right) break;
        if (!Intersects(r, ps.rcPaint)) continue;
        if (IsOwnerDraw(S))
            DrawOwnerItem(S, dc, i, r, enabled);
        else
            DrawStandardItem(S, dc, i, r, back, enabled);
    }
    if (oldFont) SelectObject(dc, oldFont);
    EndPaint(S.Wnd, &ps);
}

// ---- Selection moves ---------------------------------------------------------------------

namespace {

void MoveTo(TListState& S, int Target, bool Shift, bool Ctrl)
{
    if (IsSingleSel(S)) {
        bool changed = Target != S.Cur;
        SetCur(S, Target);
        SetCaret(S, Target);
        EnsureVisible(S, Target);
        if (changed) Notify(S, LBN_SELCHANGE);
        return;
    }
    if (S.Style & LBS_MULTIPLESEL) {
        SetCaret(S, Target);
        EnsureVisible(S, Target);
        return;
    }
    if (Shift) {
        if (S.Anchor < 0) S.Anchor = std::clamp(S.Caret, 0, Count(S) - 1);
        SelectRange(S, S.Anchor, Target, !Ctrl);
    } else if (!Ctrl) {
        SelectRange(S, Target, Target, true);
        S.Anchor = Target;
    }
    SetCaret(S, Target);
    EnsureVisible(S, Target);
    if (Shift || !Ctrl) Notify(S, LBN_SELCHANGE);
}

void ToggleCaret(TListState& S)
{
    if (S.Caret < 0 || S.Caret >= Count(S)) return;
    SetItemSelected(S, S.Caret, !S.Items[S.Caret].Selected);
    S.Anchor = S.Caret;
    Notify(S, LBN_SELCHANGE);
}

int PageSize(const TListState& S)
{
    RECT c;
    GetClientRect(S.Wnd, &c);
    int h = std::max(1, S.ItemHeight);
    return std::max(1, int(c.bottom) / h - 1);
}

}  // namespace

void KeyDown(TListState& S, int Vk)
{
    int n = Count(S);
    if (n == 0) return;
    bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    if (Vk == VK_SPACE) {
        if ((S.Style & LBS_MULTIPLESEL) || ((S.Style & LBS_EXTENDEDSEL) && ctrl)) ToggleCaret(S);
        return;
    }
    int cur = IsSingleSel(S) ? S.Cur : std::clamp(S.Caret, 0, n - 1);
    int rows = 1;
    if (S.Style & LBS_MULTICOLUMN) {
        RECT c;
        GetClientRect(S.Wnd, &c);
        rows = std::max(1, int(c.bottom) / std::max(1, S.ItemHeight));
    }
    int target;
    switch (Vk) {
    case VK_UP: target = cur - 1; break;
    case VK_DOWN: target = cur + 1; break;
    case VK_LEFT: target = cur - rows; break;
    case VK_RIGHT: target = cur + rows; break;
    case VK_PRIOR: target = cur - PageSize(S); break;
    case VK_NEXT: target = cur + PageSize(S); break;
    case VK_HOME: target = 0; break;
    case VK_END: target = n - 1; break;
    default: return;
    }
    if (cur < 0) target = Vk == VK_END ? n - 1 : 0;
    MoveTo(S, std::clamp(target, 0, n - 1), shift, ctrl);
}

// Typing a character moves to the next item that starts with it.
void Char(TListState& S, char C)
{
    if (static_cast<unsigned char>(C) < ' ' || Count(S) == 0) return;
    if (C == ' ' && !IsSingleSel(S)) return;
    int start = IsSingleSel(S) ? S.Cur : S.Caret;
    int found = FindString(S, start, std::string(1, C), false);
    if (found >= 0) MoveTo(S, found, false, false);
}

void MouseDown(TListState& S, POINT P, WPARAM Keys, bool Double)
{
    // A combo box keeps the focus for its list.
    HWND focus = S.Combo ? S.Combo : S.Wnd;
    if (GetFocus() != focus) ::host::SetFocus(focus);
    bool outside;
    int i = ItemFromPoint(S, P, outside);
    RECT r;
    if (i < 0 || outside || !ItemRect(S, i, r) || P.y >= r.bottom || P.x >= r.right) return;
    bool shift = (Keys & MK_SHIFT) != 0, ctrl = (Keys & MK_CONTROL) != 0;
    if (S.Style & LBS_MULTIPLESEL) {
        SetItemSelected(S, i, !S.Items[i].Selected);
        SetCaret(S, i);
        Notify(S, LBN_SELCHANGE);
    } else if (S.Style & LBS_EXTENDEDSEL) {
        if (ctrl && !shift) {
            SetItemSelected(S, i, !S.Items[i].Selected);
            S.Anchor = i;
            SetCaret(S, i);
            Notify(S, LBN_SELCHANGE);
        } else {
            MoveTo(S, i, shift, ctrl);
        }
        S.ToggleSel = ctrl;
        S.Tracking = true;
    } else {
        MoveTo(S, i, false, false);
        S.Tracking = true;
    }
    if (S.Tracking) SetCapture(S.Wnd);
    if (Double) Notify(S, LBN_DBLCLK);
}

void MouseMove(TListState& S, POINT P)
{
    if (!S.Tracking || Count(S) == 0) return;
    bool outside;
    int i = ItemFromPoint(S, P, outside);
    RECT c;
    GetClientRect(S.Wnd, &c);
    // Dragging past an edge scrolls one item at a time.
    if (P.y < 0) i = std::max(0, S.Top - 1);
    if (P.y >= c.bottom && (S.Style & LBS_MULTICOLUMN) == 0) i = std::min(Count(S) - 1, i + 1);
    if (i == (IsSingleSel(S) ? S.Cur : S.Caret)) return;
    if (IsSingleSel(S)) return MoveTo(S, i, false, false);
    if (S.Anchor < 0) S.Anchor = i;
    SelectRange(S, S.Anchor, i, !S.ToggleSel);
    SetCaret(S, i);
    EnsureVisible(S, i);
    Notify(S, LBN_SELCHANGE);
}

void MouseUp(TListState& S, POINT)
{
    if (!S.Tracking) return;
    S.Tracking = false;
    if (GetCapture() == S.Wnd) ReleaseCapture();
}

void Scroll(TListState& S, bool Vertical, int Code)
{
    RECT c;
    GetClientRect(S.Wnd, &c);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(S.Wnd, Vertical ? SB_VERT : SB_HORZ, &si);
    bool columns = (S.Style & LBS_MULTICOLUMN) != 0;
    if (!Vertical) {
        // Columns scroll sideways; a single column scrolls its extent.
        int rows = std::max(1, int(c.bottom) / std::max(1, S.ItemHeight));
        if (!columns) {
            int line = 8, page = std::max(1, int(c.right));
            switch (Code) {
            case SB_LINELEFT: SetHPos(S, S.HPos - line); break;
            case SB_LINERIGHT: SetHPos(S, S.HPos + line); break;
            case SB_PAGELEFT: SetHPos(S, S.HPos - page); break;
            case SB_PAGERIGHT: SetHPos(S, S.HPos + page); break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: SetHPos(S, si.nTrackPos); break;
            case SB_LEFT: SetHPos(S, 0); break;
            case SB_RIGHT: SetHPos(S, S.HExtent); break;
            }
            return;
        }
        int page = std::max(1, int(si.nPage)) * rows;
        switch (Code) {
        case SB_LINELEFT: SetTop(S, S.Top - rows); break;
        case SB_LINERIGHT: SetTop(S, S.Top + rows); break;
        case SB_PAGELEFT: SetTop(S, S.Top - page); break;
        case SB_PAGERIGHT: SetTop(S, S.Top + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetTop(S, si.nTrackPos * rows); break;
        case SB_LEFT: SetTop(S, 0); break;
        case SB_RIGHT: SetTop(S, Count(S)); break;
        }
        return;
    }
    if (columns) return;
    int page = std::max(1, int(si.nPage));
    switch (Code) {
    case SB_LINEUP: SetTop(S, S.Top - 1); break;
    case SB_LINEDOWN: SetTop(S, S.Top + 1); break;
    case SB_PAGEUP: SetTop(S, S.Top - page); break;
    case SB_PAGEDOWN: SetTop(S, S.Top + page); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetTop(S, si.nTrackPos); break;
    case SB_TOP: SetTop(S, 0); break;
    case SB_BOTTOM: SetTop(S, Count(S)); break;
    }
}

void Wheel(TListState& S, int Delta)
{
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    int notches = Delta / WHEEL_DELTA;
    if (notches == 0) return;
    if (S.Style & LBS_MULTICOLUMN) {
        RECT c;
        GetClientRect(S.Wnd, &c);
        int rows = std::max(1, int(c.bottom) / std::max(1, S.ItemHeight));
        SetTop(S, S.Top - notches * rows);
        return;
    }
    SetTop(S, S.Top - notches * int(std::max(1u, lines)));
}

}  // namespace host::lists
