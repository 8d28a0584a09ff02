// The window procedure of "LISTBOX": the LB_* messages and the window
// messages, and the tracking a dropped combo list does.
#include "host/vcl/StdListsWindow.h"

#include "host/vcl/StdListsWindowState.h"

#include <algorithm>
#include <cstring>

namespace host {

using namespace lists;

namespace {

int Count(const TListState& S) { return int(S.Items.size()); }
bool Valid(const TListState& S, WPARAM I) { return int(I) >= 0 && int(I) < Count(S); }
bool IsSingleSel(const TListState& S) { return !(S.Style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)); }

LRESULT SetCurSel(TListState& S, int I)
{
    if (!IsSingleSel(S)) return LB_ERR;
    if (I < 0 || I >= Count(S)) {
        SetCur(S, -1);
        return LB_ERR;
    }
    SetCur(S, I);
    SetCaret(S, I);
    EnsureVisible(S, I);
    return I;
}

LRESULT SetSel(TListState& S, bool Select, int I)
{
    if (IsSingleSel(S)) return LB_ERR;
    if (I == -1) {
        SelectRange(S, 0, Count(S) - 1, false);
        if (!Select)
            for (int k = 0; k < Count(S); ++k) SetItemSelected(S, k, false);
        return LB_OKAY;
    }
    if (I < 0 || I >= Count(S)) return LB_ERR;
    SetItemSelected(S, I, Select);
    return LB_OKAY;
}

LRESULT SelectString(TListState& S, int Start, const char* Text)
{
    int i = FindString(S, Start, Text ? Text : "", false);
    if (i < 0) return LB_ERR;
    if (IsSingleSel(S)) return SetCurSel(S, i);
    SetItemSelected(S, i, true);
    SetCaret(S, i);
    EnsureVisible(S, i);
    return i;
}

LRESULT SetItemHeight(TListState& S, WPARAM Index, LPARAM Height)
{
    if (Height < 1 || Height > 255) return LB_ERR;
    if ((S.Style & LBS_OWNERDRAWVARIABLE) && !(S.Style & LBS_MULTICOLUMN)) {
        if (!Valid(S, Index)) return LB_ERR;
        S.Items[Index].Height = int(Height);
    } else {
        S.ItemHeight = int(Height);
    }
    SetTop(S, S.Top);
    UpdateScrollBars(S);
    Repaint(S);
    return LB_OKAY;
}

LRESULT GetItemHeight(const TListState& S, WPARAM Index)
{
    if ((S.Style & LBS_OWNERDRAWVARIABLE) && !(S.Style & LBS_MULTICOLUMN) && Valid(S, Index))
        return S.Items[Index].Height;
    return S.ItemHeight;
}

void EndComboTrack(TListState& S, bool Chosen)
{
    if (!S.ComboTrack) return;
    S.ComboTrack = S.Tracking = false;
    if (GetCapture() == S.Wnd) ReleaseCapture();
    if (S.Combo) SendMessage(S.Combo, LBCB_ENDTRACK, Chosen ? 1 : 0, 0);
}

bool InClient(const TListState& S, POINT P)
{
    RECT c;
    GetClientRect(S.Wnd, &c);
    return P.x >= 0 && P.y >= 0 && P.x < c.right && P.y < c.bottom;
}

void ComboHover(TListState& S, POINT P)
{
    bool outside;
    int i = ItemFromPoint(S, P, outside);
    if (!InClient(S, P) || i < 0 || outside) return;
    SetCur(S, i);
    SetCaret(S, i);
}

// A press outside the dropped list closes it; on its scroll bar it scrolls.
void ComboMouseDown(TListState& S, POINT P)
{
    if (InClient(S, P)) return ComboHover(S, P);
    POINT screen = P;
    ClientToScreen(S.Wnd, &screen);
    RECT w, c;
    GetWindowRect(S.Wnd, &w);
    GetClientRect(S.Wnd, &c);
    bool inWindow = screen.x >= w.left && screen.x < w.right && screen.y >= w.top && screen.y < w.bottom;
    if (!inWindow) return EndComboTrack(S, false);
    if (P.x < c.right || P.y < 0 || P.y >= c.bottom) return;
    int arrow = GetSystemMetrics(SM_CYVSCROLL);
    int code = P.y < arrow ? SB_LINEUP : P.y >= c.bottom - arrow ? SB_LINEDOWN : P.y < c.bottom / 2 ? SB_PAGEUP : SB_PAGEDOWN;
    Scroll(S, true, code);
}

void ComboMouseUp(TListState& S, POINT P)
{
    bool outside;
    int i = ItemFromPoint(S, P, outside);
    if (!InClient(S, P) || i < 0 || outside) return;
    SetCur(S, i);
    EndComboTrack(S, true);
}

LRESULT GetText(const TListState& S, WPARAM I, LPARAM Buffer)
{
    if (!Valid(S, I)) return LB_ERR;
    const std::string& t = S.Items[I].Text;
    if (Buffer) std::memcpy(reinterpret_cast<char*>(Buffer), t.c_str(), t.size() + 1);
    return LRESULT(t.size());
}

LRESULT GetSelItems(const TListState& S, WPARAM Max, LPARAM Buffer)
{
    if (IsSingleSel(S)) return LB_ERR;
    int* out = reinterpret_cast<int*>(Buffer);
    int n = 0;
    for (int i = 0; i < Count(S) && n < int(Max); ++i)
        if (S.Items[i].Selected) out[n++] = i;
    return n;
}

LRESULT ItemRectMessage(const TListState& S, WPARAM I, LPARAM R)
{
    RECT r;
    if (!R || !ItemRect(S, int(I), r)) return LB_ERR;
    *reinterpret_cast<RECT*>(R) = r;
    return 1;
}

LRESULT ListMessage(TListState& S, UINT Msg, WPARAM W, LPARAM L)
{
    const char* text = reinterpret_cast<const char*>(L);
    switch (Msg) {
    case LB_ADDSTRING: {
        std::string t = text ? text : "";
        return InsertItem(S, (S.Style & LBS_SORT) ? SortedPosition(S, t) : Count(S), t);
    }
    case LB_INSERTSTRING: return InsertItem(S, int(W), text ? text : "");
    case LB_DELETESTRING: return DeleteItem(S, int(W));
    case LB_RESETCONTENT: ResetContent(S); return 0;
    case LB_GETCOUNT: return Count(S);
    case LB_GETTEXT: return GetText(S, W, L);
    case LB_GETTEXTLEN: return Valid(S, W) ? LRESULT(S.Items[W].Text.size()) : LB_ERR;
    case LB_SETITEMDATA: return Valid(S, W) ? (S.Items[W].Data = ULONG_PTR(L), LB_OKAY) : LB_ERR;
    case LB_GETITEMDATA: return Valid(S, W) ? LRESULT(S.Items[W].Data) : LB_ERR;
    case LB_SETCURSEL: return SetCurSel(S, int(W));
    case LB_GETCURSEL: return IsSingleSel(S) ? (S.Cur >= 0 ? S.Cur : LB_ERR) : (Count(S) ? S.Caret : LB_ERR);
    case LB_SETSEL: return SetSel(S, W != 0, int(L));
    case LB_GETSEL: return Valid(S, W) ? LRESULT(IsSelected(S, int(W))) : LB_ERR;
    case LB_GETSELCOUNT: return IsSingleSel(S) ? LB_ERR : S.SelCount;
    case LB_GETSELITEMS: return GetSelItems(S, W, L);
    case LB_SELITEMRANGEEX: SelectRange(S, int(W), int(L), false); return LB_OKAY;
    case LB_SELITEMRANGE:
        if (W) SelectRange(S, LOWORD(L), HIWORD(L), false);
        else for (int i = LOWORD(L); i <= HIWORD(L) && i < Count(S); ++i) SetItemSelected(S, i, false);
        return LB_OKAY;
    case LB_SETTOPINDEX:
        if (!Valid(S, W) && Count(S) > 0) return LB_ERR;
        SetTop(S, int(W));
        return LB_OKAY;
    case LB_GETTOPINDEX: return S.Top;
    case LB_SETCARETINDEX:
        if (!Valid(S, W)) return LB_ERR;
        if (IsSingleSel(S)) return SetCurSel(S, int(W)) == LB_ERR ? LB_ERR : LB_OKAY;
        SetCaret(S, int(W));
        EnsureVisible(S, int(W));
        return LB_OKAY;
    case LB_GETCARETINDEX: return IsSingleSel(S) && S.Cur >= 0 ? S.Cur : S.Caret;
    case LB_SETANCHORINDEX: S.Anchor = Valid(S, W) ? int(W) : -1; return LB_OKAY;
    case LB_GETANCHORINDEX: return S.Anchor;
    case LB_SETHORIZONTALEXTENT:
        S.HExtent = std::max(0, int(W));
        SetHPos(S, S.HPos);
        UpdateScrollBars(S);
        Repaint(S);
        return 0;
    case LB_GETHORIZONTALEXTENT: return S.HExtent;
    case LB_GETITEMRECT: return ItemRectMessage(S, W, L);
    case LB_ITEMFROMPOINT: {
        bool outside;
        int i = ItemFromPoint(S, POINT{GET_X_LPARAM(L), GET_Y_LPARAM(L)}, outside);
        return MAKELRESULT(std::max(0, i), outside || i < 0 ? 1 : 0);
    }
    case LB_SETITEMHEIGHT: return SetItemHeight(S, W, L);
    case LB_GETITEMHEIGHT: return GetItemHeight(S, W);
    case LB_FINDSTRING: return FindString(S, int(W), text ? text : "", false);
    case LB_FINDSTRINGEXACT: return FindString(S, int(W), text ? text : "", true);
    case LB_SELECTSTRING: return SelectString(S, int(W), text);
    case LB_SETCOLUMNWIDTH:
        S.ColumnWidth = std::max(1, int(W));
        SetTop(S, S.Top);
        UpdateScrollBars(S);
        Repaint(S);
        return LB_OKAY;
    }
    return LB_ERR;
}

LRESULT MouseMessage(TListState& S, UINT Msg, WPARAM W, LPARAM L)
{
    POINT p{GET_X_LPARAM(L), GET_Y_LPARAM(L)};
    switch (Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (S.ComboTrack) ComboMouseDown(S, p);
        else MouseDown(S, p, W, Msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        if (S.ComboTrack) ComboHover(S, p);
        else MouseMove(S, p);
        return 0;
    case WM_LBUTTONUP:
        if (S.ComboTrack) ComboMouseUp(S, p);
        else lists::MouseUp(S, p);
        return 0;
    }
    return 0;
}

LRESULT WindowMessage(TListState& S, HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    switch (Msg) {
    case WM_CREATE: UpdateScrollBars(S); return 0;
    case WM_PAINT: Paint(S); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT: SetFont(S, HFONT(W)); return 0;
    case WM_GETFONT: return LRESULT(S.Font);
    case WM_SIZE: SetTop(S, S.Top); UpdateScrollBars(S); Repaint(S); return 0;
    case WM_SETFOCUS:
        S.Focused = true;
        InvalidateItem(S, IsSingleSel(S) && S.Cur >= 0 ? S.Cur : S.Caret);
        Notify(S, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        S.Focused = false;
        InvalidateItem(S, IsSingleSel(S) && S.Cur >= 0 ? S.Cur : S.Caret);
        Notify(S, LBN_KILLFOCUS);
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: return MouseMessage(S, Msg, W, L);
    case WM_CAPTURECHANGED:
        if (HWND(L) == Wnd) return 0;
        if (S.ComboTrack) EndComboTrack(S, false);
        S.Tracking = false;
        return 0;
    case WM_KEYDOWN: KeyDown(S, int(W)); return 0;
    case WM_CHAR: Char(S, char(W)); return 0;
    case WM_VSCROLL: Scroll(S, true, LOWORD(W)); return 0;
    case WM_HSCROLL: Scroll(S, false, LOWORD(W)); return 0;
    case WM_MOUSEWHEEL: Wheel(S, GET_WHEEL_DELTA_WPARAM(W)); return 0;
    case WM_SETREDRAW:
        S.Redraw = W != 0;
        if (S.Redraw) {
            SetTop(S, S.Top);
            UpdateScrollBars(S);
            InvalidateRect(Wnd, nullptr, TRUE);
        }
        return 0;
    case WM_ENABLE: Repaint(S); return 0;
    case WM_MOUSEACTIVATE:
        // A dropped combo list never takes the activation from the form.
        if (S.Combo) return MA_NOACTIVATE;
        break;
    case LBCB_SETCOMBO: S.Combo = HWND(L); return 0;
    case LBCB_STARTTRACK:
        S.ComboTrack = S.Tracking = true;
        SetCapture(Wnd);
        return 0;
    case LBCB_ENDTRACK: EndComboTrack(S, W != 0); return 0;
    }
    return DefWindowProc(Wnd, Msg, W, L);
}

}  // namespace

LRESULT ListBoxWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    if (Msg == WM_NCCREATE) {
        Create(Wnd, reinterpret_cast<const CREATESTRUCT*>(L));
        return DefWindowProc(Wnd, Msg, W, L);
    }
    TListState* s = State(Wnd);
    if (!s) return DefWindowProc(Wnd, Msg, W, L);
    if (Msg == WM_NCDESTROY) {
        Destroy(Wnd);
        return DefWindowProc(Wnd, Msg, W, L);
    }
    // The scroll bar bits come and go as the bars show and hide.
    if (Msg == WM_STYLECHANGED && W == WPARAM(GWL_STYLE))
        s->Style = reinterpret_cast<STYLESTRUCT*>(L)->styleNew & ~(WS_VSCROLL | WS_HSCROLL);
    if (Msg >= LB_ADDSTRING && Msg <= LB_ITEMFROMPOINT) return ListMessage(*s, Msg, W, L);
    return WindowMessage(*s, Wnd, Msg, W, L);
}

void RegisterListWindowClasses()
{
    static bool done = false;
    WNDCLASS wc;
    if (done && GetClassInfo(nullptr, "LISTBOX", &wc)) return;
    done = true;
    wc = WNDCLASS();
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ListBoxWndProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "LISTBOX";
    RegisterClass(&wc);
    wc.lpfnWndProc = &ComboBoxWndProc;
    wc.lpszClassName = "COMBOBOX";
    RegisterClass(&wc);
}

}  // namespace host
