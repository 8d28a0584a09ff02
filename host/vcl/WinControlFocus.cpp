// TWinControl: focus, tab order and the keyboard.
#include "host/vcl/Controls.h"
#include "host/vcl/ControlsInternal.h"

#include <algorithm>
#include <climits>

namespace host {

TWinControl* TWinControl::GetRootControl()
{
    TWinControl* root = this;
    while (root->FParent) root = root->FParent;
    return root;
}

// ---- Focus ---------------------------------------------------------------------------------

bool TWinControl::CanFocus() const
{
    for (const TWinControl* c = this; c; c = c->FParent)
        if (!c->FVisible || !c->GetEnabled()) return false;
    return true;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus()
{
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    GetRootControl()->FocusControl(this);
}

void TWinControl::FocusControl(TWinControl* Control)
{
    if (Control) ::host::SetFocus(Control->GetHandle());
}

bool TWinControl::SetFocusedControl(TWinControl* Control)
{
    if (GetComponentState().Contains(csDestroying)) return true;
    TWinControl* old = FFocusedControl;
    if (old == Control) return true;
    FFocusedControl = Control;
    SendFocusMessages(old, Control);
    Perform(CM_FOCUSCHANGED, 0, LPARAM(Control));
    return true;
}

// CM_EXIT climbs from the control losing the focus up to the nearest parent
// both share; CM_ENTER then goes down from there to the one gaining it.
void TWinControl::SendFocusMessages(TWinControl* Old, TWinControl* New)
{
    TWinControl* common = this;
    if (Old && New) {
        common = New;
        while (common && !common->ContainsControl(Old)) common = common->FParent;
        if (!common) common = this;
    }
    for (TWinControl* c = Old; c && c != common; c = c->FParent) {
        c->Perform(CM_EXIT, 0, 0);
        // A handler may have moved the focus on again.
        if (FFocusedControl != New) return;
    }
    std::vector<TWinControl*> chain;
    for (TWinControl* c = New; c && c != common; c = c->FParent) chain.push_back(c);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        (*it)->Perform(CM_ENTER, 0, 0);
        if (FFocusedControl != New) return;
    }
}

void TWinControl::RemoveFocus(bool Removing)
{
    TWinControl* root = GetRootControl();
    if (root != this) root->FocusDestroyed(this, Removing);
}

void TWinControl::FocusDestroyed(TWinControl* Control, bool Removing)
{
    (void)Removing;
    if (FFocusedControl && Control->ContainsControl(FFocusedControl)) FFocusedControl = Control->FParent;
}

void TWinControl::WMSetFocus(TMessage& Message) { DefaultHandler(Message); }
void TWinControl::WMKillFocus(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }
void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }

void TWinControl::CMFocusChanged(TMessage& Message) { Broadcast(Message); }

// ---- Tab order -------------------------------------------------------------------------------

int TWinControl::GetTabOrder() const
{
    if (!FParent) return -1;
    auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int Value)
{
    if (FControlState.Contains(csReadingState))
        FTabOrder = Value;
    else
        UpdateTabOrder(Value);
}

void TWinControl::UpdateTabOrder(int Value)
{
    if (!FParent) return;
    auto& list = FParent->FTabList;
    int cur = GetTabOrder();
    int count = int(list.size());
    if (Value < 0 || Value >= count) Value = count - 1;
    if (cur < 0 || Value == cur) return;
    list.erase(list.begin() + cur);
    list.insert(list.begin() + Value, this);
}

// After reading, the children take the tab positions the form stored.
void TWinControl::FixupTabList()
{
    std::stable_sort(FTabList.begin(), FTabList.end(), [](TWinControl* a, TWinControl* b) {
        int ka = a->FTabOrder < 0 ? INT_MAX : a->FTabOrder;
        int kb = b->FTabOrder < 0 ? INT_MAX : b->FTabOrder;
        return ka < kb;
    });
}

void TWinControl::SetTabStop(bool Value)
{
    if (FTabStop == Value) return;
    FTabStop = Value;
    if (FHandle) {
        LONG_PTR style = GetWindowLongPtr(FHandle, GWL_STYLE);
        SetWindowLongPtr(FHandle, GWL_STYLE, Value ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const
{
    for (TWinControl* c : FTabList) {
        List.push_back(c);
        c->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent)
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    int count = int(list.size());
    auto found = std::find(list.begin(), list.end(), CurControl);
    int start = found != list.end() ? int(found - list.begin()) : (GoForward ? count - 1 : 0);
    int i = start;
    do {
        i = GoForward ? (i + 1) % count : (i + count - 1) % count;
        TWinControl* c = list[size_t(i)];
        if (c->CanFocus() && (!CheckTabStop || c->FTabStop) && (!CheckParent || c->FParent == this)) return c;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop)
{
    TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
    if (next) next->SetFocus();
}

// ---- Keyboard ---------------------------------------------------------------------------------

namespace {

TShiftState KeyShiftState()
{
    TShiftState s = KeyboardStateToShiftState();
    s -= ssLeft;
    s -= ssRight;
    s -= ssMiddle;
    return s;
}

} // namespace

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) { OnKeyDown(this, Key, Shift); }
void TWinControl::KeyUp(WORD& Key, TShiftState Shift) { OnKeyUp(this, Key, Shift); }
void TWinControl::KeyPress(char& Key) { OnKeyPress(this, Key); }

// A top-level control with KeyPreview sees its controls' keys first.
TWinControl* TWinControl::KeyPreviewer()
{
    TWinControl* root = GetRootControl();
    return root != this && root->GetKeyPreview() ? root : nullptr;
}

bool TWinControl::DoKeyDown(TMessage& Message)
{
    if (TWinControl* form = KeyPreviewer(); form && form->DoKeyDown(Message)) return true;
    if (FControlStyle.Contains(csNoStdEvents)) return false;
    WORD key = WORD(Message.WParam);
    KeyDown(key, KeyShiftState());
    Message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message)
{
    if (TWinControl* form = KeyPreviewer(); form && form->DoKeyUp(Message)) return true;
    if (FControlStyle.Contains(csNoStdEvents)) return false;
    WORD key = WORD(Message.WParam);
    KeyUp(key, KeyShiftState());
    Message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message)
{
    if (TWinControl* form = KeyPreviewer(); form && form->DoKeyPress(Message)) return true;
    if (FControlStyle.Contains(csNoStdEvents)) return false;
    char c = char(Message.WParam);
    KeyPress(c);
    Message.WParam = WPARAM(static_cast<unsigned char>(c));
    return c == 0;
}

void TWinControl::WMKeyDown(TMessage& Message)
{
    if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message)
{
    if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message)
{
    if (!DoKeyPress(Message)) DefaultHandler(Message);
}

// Navigation keys the control does not want go to the top control as dialog keys.
void TWinControl::CNKeyDown(TMessage& Message)
{
    Message.Result = 1;
    if (!GetComponentState().Contains(csDesigning)) {
        WORD key = WORD(Message.WParam);
        if (Perform(CM_CHILDKEY, key, LPARAM(this)) != 0) return;
        LRESULT mask = 0;
        switch (key) {
        case VK_TAB: mask = DLGC_WANTTAB; break;
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
        case VK_RETURN: case VK_EXECUTE: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
        default: break;
        }
        if (mask && Perform(CM_WANTSPECIALKEY, key, 0) == 0 && (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0 &&
            GetRootControl()->Perform(CM_DIALOGKEY, key, Message.LParam) != 0)
            return;
    }
    Message.Result = 0;
}

void TWinControl::CNChar(TMessage& Message)
{
    Message.Result = 1;
    if (!GetComponentState().Contains(csDesigning) && (Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0 &&
        GetRootControl()->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
        return;
    Message.Result = 0;
}

// The top control moves the focus with Tab and the arrow keys; forms
// replace this with their own handling. Other keys go down to the children,
// through nested containers, where default and cancel buttons take them.
void TWinControl::CMDialogKey(TMessage& Message)
{
    if (FParent || (GetKeyState(VK_MENU) < 0)) {
        Broadcast(Message);
        return;
    }
    TWinControl* focused = FFocusedControl;
    switch (WORD(Message.WParam)) {
    case VK_TAB:
        if (GetKeyState(VK_CONTROL) < 0) break;
        SelectNext(focused, GetKeyState(VK_SHIFT) >= 0, true);
        Message.Result = 1;
        return;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
        if (!focused || !focused->FParent) break;
        focused->FParent->SelectNext(focused, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
        Message.Result = 1;
        return;
    default:
        break;
    }
    Broadcast(Message);
}

void TWinControl::CMDialogChar(TMessage& Message) { Broadcast(Message); }

void TWinControl::CMChildKey(TMessage& Message)
{
    if (FParent) Message.Result = FParent->Perform(CM_CHILDKEY, Message.WParam, Message.LParam);
}

} // namespace host
