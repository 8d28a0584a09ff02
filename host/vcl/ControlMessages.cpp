// Message dispatch and the mouse and notification handlers of TControl.
#include "host/vcl/Controls.h"
#include "host/rtl/Strings.h"

#include <algorithm>
#include <map>

namespace host {

// ---- Handler tables ----------------------------------------------------------------

void TMessageTable::Add(UINT Msg, THandler Handler)
{
    auto it = std::lower_bound(FEntries.begin(), FEntries.end(), Msg,
                               [](const TEntry& e, UINT m) { return e.Msg < m; });
    if (it != FEntries.end() && it->Msg == Msg)
        it->Handler = std::move(Handler);
    else
        FEntries.insert(it, TEntry{Msg, std::move(Handler)});
}

bool TMessageTable::Call(TControl* Self, TMessage& Message) const
{
    auto it = std::lower_bound(FEntries.begin(), FEntries.end(), Message.Msg,
                               [](const TEntry& e, UINT m) { return e.Msg < m; });
    if (it == FEntries.end() || it->Msg != Message.Msg) return false;
    it->Handler(Self, Message);
    return true;
}

struct HostMessages_TControl {
    static void Declare(TMessageMapBuilder<TControl>& M)
    {
        M(WM_LBUTTONDOWN, &TControl::WMLButtonDown);
        M(WM_LBUTTONDBLCLK, &TControl::WMLButtonDblClk);
        M(WM_LBUTTONUP, &TControl::WMLButtonUp);
        M(WM_RBUTTONDOWN, &TControl::WMRButtonDown);
        M(WM_RBUTTONDBLCLK, &TControl::WMRButtonDblClk);
        M(WM_RBUTTONUP, &TControl::WMRButtonUp);
        M(WM_MBUTTONDOWN, &TControl::WMMButtonDown);
        M(WM_MBUTTONDBLCLK, &TControl::WMMButtonDblClk);
        M(WM_MBUTTONUP, &TControl::WMMButtonUp);
        M(WM_MOUSEMOVE, &TControl::WMMouseMove);
        M(WM_CANCELMODE, &TControl::WMCancelMode);
        M(WM_CONTEXTMENU, &TControl::WMContextMenu);
        M(CM_VISIBLECHANGED, &TControl::CMVisibleChanged);
        M(CM_ENABLEDCHANGED, &TControl::CMEnabledChanged);
        M(CM_FONTCHANGED, &TControl::CMFontChanged);
        M(CM_COLORCHANGED, &TControl::CMColorChanged);
        M(CM_PARENTFONTCHANGED, &TControl::CMParentFontChanged);
        M(CM_PARENTCOLORCHANGED, &TControl::CMParentColorChanged);
        M(CM_PARENTSHOWHINTCHANGED, &TControl::CMParentShowHintChanged);
        M(CM_PARENTCTL3DCHANGED, &TControl::CMParentCtl3DChanged);
        M(CM_HITTEST, &TControl::CMHitTest);
    }
};

const TMessageTable& TControl::MessageTable()
{
    static const TMessageTable table = [] {
        TMessageTable t;
        TMessageMapBuilder<TControl> b(t);
        HostMessages_TControl::Declare(b);
        return t;
    }();
    return table;
}

void TControl::Dispatch(TMessage& Message)
{
    if (!MessageTable().Call(this, Message)) DefaultHandler(Message);
}

// A control without a window keeps its text itself.
void TControl::DefaultHandler(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<char*>(Message.LParam);
        int max = int(Message.WParam);
        if (!buffer || max <= 0) {
            Message.Result = 0;
            return;
        }
        int n = std::min<int>(int(FText.size()), max - 1);
        std::copy_n(FText.data(), n, buffer);
        buffer[n] = '\0';
        Message.Result = n;
        return;
    }
    case WM_GETTEXTLENGTH:
        Message.Result = LRESULT(FText.size());
        return;
    case WM_SETTEXT: {
        auto* text = reinterpret_cast<const char*>(Message.LParam);
        FText = text ? text : "";
        Message.Result = 1;
        return;
    }
    default:
        break;
    }
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage m{Msg, WParam, LParam, 0};
    if (FWindowProc)
        FWindowProc(m);
    else
        WndProc(m);
    return m.Result;
}

// ---- The mouse ---------------------------------------------------------------------------

TShiftState KeysToShiftState(WPARAM Keys)
{
    TShiftState s;
    if (Keys & MK_SHIFT) s += ssShift;
    if (Keys & MK_CONTROL) s += ssCtrl;
    if (Keys & MK_LBUTTON) s += ssLeft;
    if (Keys & MK_RBUTTON) s += ssRight;
    if (Keys & MK_MBUTTON) s += ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s += ssAlt;
    return s;
}

TShiftState KeyboardStateToShiftState()
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s += ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s += ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s += ssAlt;
    if (GetKeyState(VK_LBUTTON) < 0) s += ssLeft;
    if (GetKeyState(VK_RBUTTON) < 0) s += ssRight;
    if (GetKeyState(VK_MBUTTON) < 0) s += ssMiddle;
    return s;
}

void TControl::WndProc(TMessage& Message)
{
    if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
        // A control that does not take double clicks sees a second press.
        if (!FControlStyle.Contains(csDoubleClicks) &&
            (Message.Msg == WM_LBUTTONDBLCLK || Message.Msg == WM_RBUTTONDBLCLK || Message.Msg == WM_MBUTTONDBLCLK))
            Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
        if (Dragging() && GetCaptureControl() == this && HandleDragMessage(Message)) return;
        switch (Message.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (FDragMode == dmAutomatic) {
                BeginAutoDrag();
                return;
            }
            FControlState += csLButtonDown;
            break;
        case WM_LBUTTONUP:
            FControlState -= csLButtonDown;
            break;
        default:
            break;
        }
    }
    Dispatch(Message);
}

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift)
{
    if (FControlStyle.Contains(csNoStdEvents)) return;
    MouseDown(Button, KeysToShiftState(Message.WParam) + Shift, MsgX(Message), MsgY(Message));
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button)
{
    if (FControlStyle.Contains(csNoStdEvents)) return;
    MouseUp(Button, KeysToShiftState(Message.WParam), MsgX(Message), MsgY(Message));
}

// Whatever holds the mouse (a pressed button of another control) lets go
// before this control takes it.
void TControl::SendCancelMode()
{
    TControl* capture = GetCaptureControl();
    if (capture && capture != this) capture->Perform(WM_CANCELMODE, 0, 0);
}

void TControl::WMLButtonDown(TMessage& Message)
{
    SendCancelMode();
    DefaultHandler(Message);
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents)) FControlState += csClicked;
    DoMouseDown(Message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& Message)
{
    SendCancelMode();
    DefaultHandler(Message);
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents)) DblClick();
    DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& Message)
{
    DefaultHandler(Message);
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) {
        FControlState -= csClicked;
        TRect r = GetClientRect();
        POINT p = PointFromLParam(Message.LParam);
        // A press that ends outside is not a click.
        if (PtInRect(&r, p)) Click();
    }
    DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonDown(TMessage& Message)
{
    DefaultHandler(Message);
    DoMouseDown(Message, mbRight, {});
}

void TControl::WMRButtonDblClk(TMessage& Message)
{
    DefaultHandler(Message);
    DoMouseDown(Message, mbRight, {ssDouble});
}

void TControl::WMRButtonUp(TMessage& Message)
{
    DefaultHandler(Message);
    DoMouseUp(Message, mbRight);
}

void TControl::WMMButtonDown(TMessage& Message)
{
    DefaultHandler(Message);
    DoMouseDown(Message, mbMiddle, {});
}

void TControl::WMMButtonDblClk(TMessage& Message)
{
    DefaultHandler(Message);
    DoMouseDown(Message, mbMiddle, {ssDouble});
}

void TControl::WMMButtonUp(TMessage& Message)
{
    DefaultHandler(Message);
    DoMouseUp(Message, mbMiddle);
}

void TControl::WMMouseMove(TMessage& Message)
{
    DefaultHandler(Message);
    if (FControlStyle.Contains(csNoStdEvents)) return;
    MouseMove(KeysToShiftState(Message.WParam), MsgX(Message), MsgY(Message));
}

void TControl::WMCancelMode(TMessage& Message)
{
    DefaultHandler(Message);
    if (GetMouseCapture()) {
        SetMouseCapture(false);
        if (FControlState.Contains(csLButtonDown)) {
            // The release will never come: finish the press where the control is.
            FControlState -= csLButtonDown;
            FControlState -= csClicked;
            TMessage up{WM_LBUTTONUP, 0, MAKELPARAM(-1, -1), 0};
            DoMouseUp(up, mbLeft);
        }
    } else {
        FControlState -= csLButtonDown;
        FControlState -= csClicked;
    }
}

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) { OnMouseMove(this, Shift, X, Y); }

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::CMHitTest(TMessage& Message) { Message.Result = HTCLIENT; }

// ---- Notifications -----------------------------------------------------------------------

void TControl::CMVisibleChanged(TMessage&)
{
    InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque));
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }

void TControl::CMFontChanged(TMessage&) { Invalidate(); }

void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage&)
{
    if (!FParentFont || !FParent) return;
    FFont->Assign(FParent->GetFont());
    // Assign went through FontChanged, which cleared the flag.
    FParentFont = true;
}

void TControl::CMParentColorChanged(TMessage&)
{
    if (!FParentColor || !FParent) return;
    SetColor(FParent->GetColor());
    FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage&)
{
    if (!FParentShowHint || !FParent) return;
    SetShowHint(FParent->GetShowHint());
    FParentShowHint = true;
}

void TControl::CMParentCtl3DChanged(TMessage&)
{
    if (!FParentCtl3D || !FParent) return;
    SetCtl3D(FParent->GetCtl3D());
    FParentCtl3D = true;
}

// ---- Cursors and the exception hook -------------------------------------------------

namespace {

std::map<TCursor, HCURSOR>& CursorTable()
{
    static std::map<TCursor, HCURSOR> table;
    return table;
}

LPCSTR StandardCursor(TCursor Cursor)
{
    switch (Cursor) {
    case crCross: return IDC_CROSS;
    case crIBeam: return IDC_IBEAM;
    case crSize: return IDC_SIZEALL;
    case crSizeNESW: return IDC_SIZENESW;
    case crSizeNS: case crVSplit: return IDC_SIZENS;
    case crSizeNWSE: return IDC_SIZENWSE;
    case crSizeWE: case crHSplit: return IDC_SIZEWE;
    case crUpArrow: return IDC_UPARROW;
    case crHourGlass: case crSQLWait: return IDC_WAIT;
    case crNoDrop: case crNo: return IDC_NO;
    case crAppStart: return IDC_APPSTARTING;
    case crHelp: return IDC_HELP;
    case crHandPoint: return IDC_HAND;
    default: return IDC_ARROW;
    }
}

struct TCursorName {
    TCursor Value;
    const char* Name;
};

constexpr TCursorName CursorNames[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},         {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},       {crSize, "crSize"},
    {crSizeNESW, "crSizeNESW"},   {crSizeNS, "crSizeNS"},     {crSizeNWSE, "crSizeNWSE"},
    {crSizeWE, "crSizeWE"},       {crUpArrow, "crUpArrow"},   {crHourGlass, "crHourGlass"},
    {crDrag, "crDrag"},           {crNoDrop, "crNoDrop"},     {crHSplit, "crHSplit"},
    {crVSplit, "crVSplit"},       {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},
    {crNo, "crNo"},               {crAppStart, "crAppStart"}, {crHelp, "crHelp"},
    {crHandPoint, "crHandPoint"},
};

TExceptionHandler& ExceptionHandler()
{
    static TExceptionHandler handler;
    return handler;
}

} // namespace

HCURSOR CursorHandle(TCursor Cursor)
{
    auto it = CursorTable().find(Cursor);
    if (it != CursorTable().end()) return it->second;
    if (Cursor == crNone) return nullptr;
    return LoadCursor(nullptr, StandardCursor(Cursor));
}

void SetCursorHandle(TCursor Cursor, HCURSOR Handle)
{
    if (Handle)
        CursorTable()[Cursor] = Handle;
    else
        CursorTable().erase(Cursor);
}

namespace {
TCursor GlobalCursor = crDefault;
} // namespace

TCursor GetGlobalCursor() { return GlobalCursor; }
void SetGlobalCursor(TCursor Cursor) { GlobalCursor = Cursor; }

bool CursorToIdent(int64_t Cursor, std::string& Ident)
{
    for (const TCursorName& n : CursorNames)
        if (n.Value == Cursor) {
            Ident = n.Name;
            return true;
        }
    return false;
}

bool IdentToCursor(const std::string& Ident, int64_t& Cursor)
{
    for (const TCursorName& n : CursorNames)
        if (SameText(Ident, n.Name)) {
            Cursor = n.Value;
            return true;
        }
    return false;
}

const TTypeInfo* CursorTypeInfo()
{
    static const TTypeInfo info = MakeIntegerTypeInfo("TCursor", &IdentToCursor, &CursorToIdent);
    return &info;
}

TExceptionHandler SetApplicationExceptionHandler(TExceptionHandler Handler)
{
    TExceptionHandler old = std::move(ExceptionHandler());
    ExceptionHandler() = std::move(Handler);
    return old;
}

void HandleWindowProcException(TObject* Sender)
{
    if (!ExceptionHandler()) throw;
    TExceptionHandler handler = ExceptionHandler();
    handler(Sender);
}

} // namespace host
