#pragma once
// The state of one combo box window and the operations its handlers share.
// The selection field is part of the combo window itself: in the styles
// with an edit part the combo window edits its text (caret, selection,
// typing), so focus and keys stay with the combo box.
#include "host/win/WinUser.h"

#include <string>

namespace host::lists {

struct TComboState {
    HWND Wnd = nullptr;
    HWND Notify = nullptr;
    HWND List = nullptr;  // a popup list, or a child one for CBS_SIMPLE
    DWORD Style = 0;
    HFONT Font = nullptr;
    int ItemHeight = 13;   // the list's items
    int FieldHeight = 15;  // the selection field inside the edges
    int DropCount = 8;
    bool Dropped = false;
    bool Focused = false;
    bool ButtonDown = false;
    bool EditDrag = false;
    int OrigIndex = -1;  // the selection when the list dropped
    // The edit part.
    std::string Text;
    int SelStart = 0;
    int SelEnd = 0;  // the caret
    int Limit = 0;   // 0: none
    int ScrollX = 0;
};

inline DWORD ComboKind(const TComboState& S) { return S.Style & 0x3; }
inline bool HasEdit(const TComboState& S) { return ComboKind(S) != CBS_DROPDOWNLIST; }

TComboState* ComboStateOf(HWND Wnd);
RECT FieldRect(const TComboState& S);
RECT ButtonRect(const TComboState& S);
void PaintCombo(TComboState& S);
void PlaceCaret(TComboState& S);
void NotifyCombo(TComboState& S, int Code);

// Edit part (StdListsComboEdit.cpp).
void EditChar(TComboState& S, char C);
bool EditKey(TComboState& S, int Vk);
void EditSetText(TComboState& S, const std::string& Text, bool SelectAll);
void EditMouse(TComboState& S, POINT P, bool Extend);
int EditPosFromX(TComboState& S, int X);

}  // namespace host::lists
