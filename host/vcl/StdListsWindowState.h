#pragma once
// The state of one list window and the operations its message handlers share.
#include "host/win/WinUser.h"

#include <string>
#include <vector>

namespace host::lists {

struct TListItem {
    std::string Text;
    ULONG_PTR Data = 0;
    bool Selected = false;  // multiple and extended selection only
    int Height = 0;         // variable heights only
};

struct TListState {
    HWND Wnd = nullptr;
    HWND Notify = nullptr;  // parent or owner: WM_COMMAND, WM_DRAWITEM, WM_MEASUREITEM
    HWND Combo = nullptr;   // the combo box this list drops down from
    DWORD Style = 0;
    // Created with WS_VSCROLL / WS_HSCROLL (hiding a bar takes the style away).
    bool VBar = false;
    bool HBar = false;
    std::vector<TListItem> Items;
    int Top = 0;
    int Cur = -1;     // the selected item of a single-selection list
    int Caret = 0;    // the item with the focus rectangle
    int Anchor = -1;  // where shift-selection starts
    int SelCount = 0;
    int ItemHeight = 13;
    int ColumnWidth = 64;
    int HExtent = 0;
    int HPos = 0;
    HFONT Font = nullptr;
    bool Focused = false;
    bool Redraw = true;
    bool ScrollPending = false;
    bool Tracking = false;     // mouse selection or a dropped combo list
    bool ComboTrack = false;   // tracking for a combo box
    bool ExtendSel = false;    // the tracking press held Shift
    bool ToggleSel = false;    // the tracking press held Ctrl
    std::string TypeAhead;
    uint64_t TypeAheadTick = 0;
};

TListState* State(HWND Wnd);
void Create(HWND Wnd, const CREATESTRUCT* Cs);
void Destroy(HWND Wnd);
void SetFont(TListState& S, HFONT Font);

bool ItemRect(const TListState& S, int I, RECT& R);
int ItemFromPoint(const TListState& S, POINT P, bool& Outside);
void UpdateScrollBars(TListState& S);
void Repaint(TListState& S);
void SetTop(TListState& S, int Top);
void SetHPos(TListState& S, int Pos);
void EnsureVisible(TListState& S, int I);

bool IsSelected(const TListState& S, int I);
void InvalidateItem(TListState& S, int I);
void SetCaret(TListState& S, int I);
void SetCur(TListState& S, int I);
void SetItemSelected(TListState& S, int I, bool Value);
void SelectRange(TListState& S, int First, int Last, bool Exclusive);
void Notify(TListState& S, int Code);

int SortedPosition(const TListState& S, const std::string& Text);
LRESULT InsertItem(TListState& S, int Index, const std::string& Text);
LRESULT DeleteItem(TListState& S, int Index);
void ResetContent(TListState& S);
int FindString(const TListState& S, int Start, const std::string& Text, bool Exact);

// StdListsWindowInput.cpp / StdListsWindowPaint.cpp
void Paint(TListState& S);
void MouseDown(TListState& S, POINT P, WPARAM Keys, bool Double);
void MouseMove(TListState& S, POINT P);
void MouseUp(TListState& S, POINT P);
void KeyDown(TListState& S, int Vk);
void Char(TListState& S, char C);
void Scroll(TListState& S, bool Vertical, int Code);
void Wheel(TListState& S, int Delta);

}  // namespace host::lists
