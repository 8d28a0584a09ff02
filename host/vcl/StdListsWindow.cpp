// The "LISTBOX" window: items with data and selection, fixed or measured
// heights, one or many columns, scroll bars, mouse and keyboard selection.
// Work is proportional to the visible items: positions are counted from the
// top index, never from the first item.
#include "host/vcl/StdListsWindow.h"

#include "host/gdi/WinText.h"
#include "host/rtl/Clock.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/StdListsWindowState.h"

#include <algorithm>
#include <memory>

namespace host::lists {

namespace {

const char* const kStateProp = "HostListWindow";

TListState* StateOf(HWND Wnd) { return static_cast<TListState*>(GetProp(Wnd, kStateProp)); }

bool IsMultiColumn(const TListState& S) { return (S.Style & LBS_MULTICOLUMN) != 0; }
bool IsVariable(const TListState& S) { return (S.Style & LBS_OWNERDRAWVARIABLE) && !IsMultiColumn(S); }
bool IsOwnerDraw(const TListState& S) { return (S.Style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
bool IsMultiSel(const TListState& S) { return (S.Style & LBS_MULTIPLESEL) != 0; }
bool IsExtendedSel(const TListState& S) { return (S.Style & LBS_EXTENDEDSEL) != 0; }
bool IsSingleSel(const TListState& S) { return !IsMultiSel(S) && !IsExtendedSel(S); }
int Count(const TListState& S) { return int(S.Items.size()); }
bool ValidIndex(const TListState& S, int I) { return I >= 0 && I < Count(S); }

RECT Client(const TListState& S)
{
    RECT r;
    GetClientRect(S.Wnd, &r);
    return r;
}

int HeightOf(const TListState& S, int I)
{
    if (IsVariable(S) && ValidIndex(S, I)) return std::max(1, S.Items[I].Height);
    return std::max(1, S.ItemHeight);
}

int RowsPerColumn(const TListState& S) { return std::max(1, int(Client(S).bottom) / HeightOf(S, -1)); }
int VisibleColumns(const TListState& S) { return std::max(1, int(Client(S).right) / std::max(1, S.ColumnWidth)); }

// Items from Top that fit whole (at least one).
int FullVisibleCount(const TListState& S)
{
    int h = Client(S).bottom;
    if (IsMultiColumn(S)) return RowsPerColumn(S) * VisibleColumns(S);
    if (!IsVariable(S)) return std::max(1, h / HeightOf(S, -1));
    int n = 0, y = 0;
    for (int i = S.Top; i < Count(S); ++i) {
        y += HeightOf(S, i);
        if (y > h) break;
        ++n;
    }
    return std::max(1, n);
}

int MaxTop(const TListState& S)
{
    int n = Count(S);
    if (n == 0) return 0;
    if (IsMultiColumn(S)) {
        int rows = RowsPerColumn(S);
        int columns = (n + rows - 1) / rows;
        return std::max(0, columns - VisibleColumns(S)) * rows;
    }
    if (!IsVariable(S)) return std::max(0, n - std::max(1, int(Client(S).bottom) / HeightOf(S, -1)));
    int h = Client(S).bottom, y = 0, top = n;
    while (top > 0 && y + HeightOf(S, top - 1) <= h) y += HeightOf(S, --top);
    return std::min(top, n - 1);
}

}  // namespace

// ---- Geometry --------------------------------------------------------------------------

bool ItemRect(const TListState& S, int I, RECT& R)
{
    if (!ValidIndex(S, I)) return false;
    RECT c = Client(S);
    if (IsMultiColumn(S)) {
        int rows = RowsPerColumn(S), h = HeightOf(S, -1);
        int rel = I - S.Top;
        int col = rel >= 0 ? rel / rows : -((-rel + rows - 1) / rows);
        int row = rel - col * rows;
        R = RECT{col * S.ColumnWidth, row * h, (col + 1) * S.ColumnWidth, (row + 1) * h};
        return true;
    }
    int y = 0;
    if (!IsVariable(S))
        y = (I - S.Top) * HeightOf(S, -1);
    else if (I >= S.Top)
        for (int k = S.Top; k < I; ++k) y += HeightOf(S, k);
    else
        for (int k = I; k < S.Top; ++k) y -= HeightOf(S, k);
    int width = std::max(int(c.right), S.HExtent);
    R = RECT{-S.HPos, y, width - S.HPos, y + HeightOf(S, I)};
    return true;
}

// The item at P (client coordinates), the nearest one when P is outside the
// items; -1 for an empty list.
int ItemFromPoint(const TListState& S, POINT P, bool& Outside)
{
    Outside = false;
    int n = Count(S);
    if (n == 0) return Outside = true, -1;
    RECT c = Client(S);
    if (P.x < 0 || P.y < 0 || P.x >= c.right || P.y >= c.bottom) Outside = true;
    int index;
    if (IsMultiColumn(S)) {
        int rows = RowsPerColumn(S);
        int col = std::max(0, int(P.x) / std::max(1, S.ColumnWidth));
        int row = std::clamp(int(P.y) / HeightOf(S, -1), 0, rows - 1);
        index = S.Top + col * rows + row;
    } else if (P.y < 0) {
        index = S.Top - 1;
    } else {
        int y = 0;
        index = S.Top;
        while (index < n && y + HeightOf(S, index) <= P.y) y += HeightOf(S, index++);
    }
    if (index < 0) return Outside = true, 0;
    if (index >= n) return Outside = true, n - 1;
    return index;
}

// ---- Scrolling ---------------------------------------------------------------------------

void UpdateScrollBars(TListState& S)
{
    if (!S.Redraw) {
        S.ScrollPending = true;
        return;
    }
    S.ScrollPending = false;
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (IsMultiColumn(S)) {
        int rows = RowsPerColumn(S);
        si.nMax = std::max(0, (Count(S) + rows - 1) / rows - 1);
        si.nPage = UINT(VisibleColumns(S));
        si.nPos = S.Top / rows;
        if (S.HBar) SetScrollInfo(S.Wnd, SB_HORZ, &si, TRUE);
        return;
    }
    si.nMax = std::max(0, Count(S) - 1);
    si.nPage = UINT(FullVisibleCount(S));
    si.nPos = S.Top;
    if (S.VBar) SetScrollInfo(S.Wnd, SB_VERT, &si, TRUE);
    if (!S.HBar) return;
    si.nMax = std::max(0, S.HExtent - 1);
    si.nPage = UINT(Client(S).right);
    si.nPos = S.HPos;
    SetScrollInfo(S.Wnd, SB_HORZ, &si, TRUE);
}

void Repaint(TListState& S)
{
    if (S.Redraw) InvalidateRect(S.Wnd, nullptr, TRUE);
}

void SetTop(TListState& S, int Top)
{
    Top = std::clamp(Top, 0, MaxTop(S));
    if (IsMultiColumn(S)) Top -= Top % RowsPerColumn(S);
    if (Top == S.Top) return;
    S.Top = Top;
    UpdateScrollBars(S);
    Repaint(S);
}

void SetHPos(TListState& S, int Pos)
{
    Pos = std::clamp(Pos, 0, std::max(0, S.HExtent - int(Client(S).right)));
    if (Pos == S.HPos) return;
    S.HPos = Pos;
    UpdateScrollBars(S);
    Repaint(S);
}

void EnsureVisible(TListState& S, int I)
{
    if (!ValidIndex(S, I)) return;
    if (I < S.Top) return SetTop(S, I);
    if (IsMultiColumn(S)) {
        int rows = RowsPerColumn(S), cols = VisibleColumns(S);
        if (I >= S.Top + rows * cols) SetTop(S, (I / rows - cols + 1) * rows);
        return;
    }
    if (!IsVariable(S)) {
        int full = FullVisibleCount(S);
        if (I >= S.Top + full) SetTop(S, I - full + 1);
        return;
    }
    int h = Client(S).bottom, y = HeightOf(S, I), top = I;
    while (top > S.Top && y + HeightOf(S, top - 1) <= h) y += HeightOf(S, --top);
    if (top > S.Top) SetTop(S, top);
}

// ---- Selection -------------------------------------------------------------------------

bool IsSelected(const TListState& S, int I)
{
    if (!ValidIndex(S, I)) return false;
    return IsSingleSel(S) ? I == S.Cur : S.Items[I].Selected;
}

void InvalidateItem(TListState& S, int I)
{
    RECT r;
    if (S.Redraw && ItemRect(S, I, r)) InvalidateRect(S.Wnd, &r, TRUE);
}

void SetCaret(TListState& S, int I)
{
    if (I == S.Caret) return;
    InvalidateItem(S, S.Caret);
    S.Caret = I;
    InvalidateItem(S, I);
}

void SetCur(TListState& S, int I)
{
    if (I == S.Cur) return;
    InvalidateItem(S, S.Cur);
    S.Cur = I;
    InvalidateItem(S, I);
}

void SetItemSelected(TListState& S, int I, bool Value)
{
    if (!ValidIndex(S, I) || S.Items[I].Selected == Value) return;
    S.Items[I].Selected = Value;
    S.SelCount += Value ? 1 : -1;
    InvalidateItem(S, I);
}

// Selects First..Last (either order) and, with Exclusive, nothing else.
void SelectRange(TListState& S, int First, int Last, bool Exclusive)
{
    if (First > Last) std::swap(First, Last);
    if (Exclusive && S.SelCount > 0)
        for (int i = 0; i < Count(S); ++i)
            if (i < First || i > Last) SetItemSelected(S, i, false);
    for (int i = std::max(0, First); i <= Last && i < Count(S); ++i) SetItemSelected(S, i, true);
}

void Notify(TListState& S, int Code)
{
    if (!(S.Style & LBS_NOTIFY) && !S.Combo) return;
    HWND target = S.Combo ? S.Combo : S.Notify;
    if (target) SendMessage(target, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(S.Wnd), Code), LPARAM(S.Wnd));
}

// ---- Items -------------------------------------------------------------------------------

int SortedPosition(const TListState& S, const std::string& Text)
{
    int lo = 0, hi = Count(S);
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (AnsiCompareText(S.Items[mid].Text, Text) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void MeasureItem(TListState& S, int I)
{
    MEASUREITEMSTRUCT mis;
    mis.CtlType = S.Combo ? ODT_COMBOBOX : ODT_LISTBOX;
    mis.CtlID = UINT(GetDlgCtrlID(S.Wnd));
    mis.itemID = UINT(I);
    mis.itemHeight = UINT(S.ItemHeight);
    mis.itemData = S.Items[I].Data;
    mis.hwndItem = S.Combo ? S.Combo : S.Wnd;
    SendMessage(S.Combo ? S.Combo : S.Notify, WM_MEASUREITEM, mis.CtlID, LPARAM(&mis));
    S.Items[I].Height = std::max(1, int(mis.itemHeight));
}

LRESULT InsertItem(TListState& S, int Index, const std::string& Text)
{
    if (Index < 0 || Index > Count(S)) Index = Count(S);
    S.Items.insert(S.Items.begin() + Index, TListItem{Text, 0, false, S.ItemHeight});
    if (S.Cur >= Index) ++S.Cur;
    if (S.Caret >= Index && S.Caret >= 0 && Count(S) > 1) ++S.Caret;
    if (S.Anchor >= Index) ++S.Anchor;
    if (IsVariable(S)) MeasureItem(S, Index);
    UpdateScrollBars(S);
    RECT r, c = Client(S);
    if (S.Redraw && ItemRect(S, Index, r) && r.top < c.bottom) {
        r.bottom = c.bottom;
        InvalidateRect(S.Wnd, &r, TRUE);
    }
    return Index;
}

LRESULT DeleteItem(TListState& S, int Index)
{
    if (!ValidIndex(S, Index)) return LB_ERR;
    RECT r, c = Client(S);
    bool visible = ItemRect(S, Index, r) && r.bottom > 0 && r.top < c.bottom;
    if (S.Items[Index].Selected) --S.SelCount;
    S.Items.erase(S.Items.begin() + Index);
    if (S.Cur > Index)
        --S.Cur;
    else if (S.Cur == Index)
        S.Cur = -1;
    if (S.Caret > Index) --S.Caret;
    S.Caret = std::clamp(S.Caret, 0, std::max(0, Count(S) - 1));
    if (S.Anchor > Index)
        --S.Anchor;
    else if (S.Anchor == Index)
        S.Anchor = -1;
    if (S.Top > MaxTop(S)) S.Top = MaxTop(S);
    UpdateScrollBars(S);
    if (visible || Index < S.Top) Repaint(S);
    return Count(S);
}

void ResetContent(TListState& S)
{
    S.Items.clear();
    S.Cur = -1;
    S.Caret = 0;
    S.Anchor = -1;
    S.Top = 0;
    S.HPos = 0;
    S.SelCount = 0;
    UpdateScrollBars(S);
    Repaint(S);
}

int FindString(const TListState& S, int Start, const std::string& Text, bool Exact)
{
    int n = Count(S);
    if (n == 0) return int(LB_ERR);
    if (Start < -1 || Start >= n) Start = -1;
    for (int k = 1; k <= n; ++k) {
        int i = (Start + k) % n;
        const std::string& item = S.Items[i].Text;
        bool match = Exact ? SameText(item, Text)
                           : item.size() >= Text.size() && SameText(item.substr(0, Text.size()), Text);
        if (match) return i;
    }
    return int(LB_ERR);
}

// ---- Creation --------------------------------------------------------------------------

void Create(HWND Wnd, const CREATESTRUCT* Cs)
{
    auto* s = new TListState;
    s->Wnd = Wnd;
    s->Notify = Cs ? Cs->hwndParent : GetParent(Wnd);
    s->Style = DWORD(GetWindowLongPtr(Wnd, GWL_STYLE));
    s->VBar = (s->Style & WS_VSCROLL) != 0;
    s->HBar = (s->Style & WS_HSCROLL) != 0;
    SetProp(Wnd, kStateProp, s);
    HDC dc = GetDC(Wnd);
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    ReleaseDC(Wnd, dc);
    s->ItemHeight = std::max(1, int(tm.tmHeight));
    s->ColumnWidth = 64;
}

void Destroy(HWND Wnd)
{
    std::unique_ptr<TListState> s(StateOf(Wnd));
    RemoveProp(Wnd, kStateProp);
}

void SetFont(TListState& S, HFONT Font)
{
    S.Font = Font;
    if (IsOwnerDraw(S)) return;
    HDC dc = GetDC(S.Wnd);
    HGDIOBJ old = Font ? SelectObject(dc, Font) : nullptr;
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    if (old) SelectObject(dc, old);
    ReleaseDC(S.Wnd, dc);
    S.ItemHeight = std::max(1, int(tm.tmHeight));
    UpdateScrollBars(S);
    Repaint(S);
}

TListState* State(HWND Wnd) { return StateOf(Wnd); }

}  // namespace host::lists
