#pragma once
// Controls: the visible components. TControl is a rectangle on its parent;
// TWinControl owns a window of the window system; TGraphicControl paints on
// its parent's window; TCustomControl is a window with a Canvas and Paint.
//
// Messages. Every control receives messages through WindowProc (WndProc by
// default), which passes them to Dispatch. Dispatch looks the message up in
// the handler table of the object's class, then of each ancestor; a message
// no class handles reaches DefaultHandler (for a windowed control: the
// procedure of its window class). A class that handles messages says so in
// its body and lists its handlers in one block in its .cpp:
//
//     class TMyControl : public TCustomControl {
//         HOST_CLASS(TMyControl, TCustomControl)
//         HOST_MESSAGES(TMyControl)
//     public:
//         explicit TMyControl(TComponent* AOwner);
//     protected:
//         void CMEnabledChanged(TMessage& Message);
//         void WMSize(TMessage& Message);
//     };
//
//     HOST_MESSAGE_MAP(TMyControl)
//     {
//         M(CM_ENABLEDCHANGED, &TMyControl::CMEnabledChanged);
//         M(WM_SIZE, &TMyControl::WMSize);
//     }
//
//     void TMyControl::CMEnabledChanged(TMessage& Message)
//     {
//         inherited::Dispatch(Message);   // what the ancestors do with it
//         Invalidate();
//     }
//
// inherited::Dispatch is the "inherited" of a message handler: it runs the
// nearest ancestor's handler for the same message, or DefaultHandler when no
// ancestor has one. A handler that does not call it replaces the ancestors'
// handling. Handlers may be protected or private.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/rtl/Events.h"
#include "host/rtl/Sets.h"
#include "host/vcl/Classes.h"
#include "host/vcl/Graphics.h"
#include "host/vcl/TypInfo.h"
#include "host/win/WinUser.h"

namespace host {

// ---- Component messages ---------------------------------------------------------

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0, CM_DEACTIVATE = CM_BASE + 1, CM_GOTFOCUS = CM_BASE + 2,
               CM_LOSTFOCUS = CM_BASE + 3, CM_CANCELMODE = CM_BASE + 4, CM_DIALOGKEY = CM_BASE + 5,
               CM_DIALOGCHAR = CM_BASE + 6, CM_FOCUSCHANGED = CM_BASE + 7,
               CM_PARENTFONTCHANGED = CM_BASE + 8, CM_PARENTCOLORCHANGED = CM_BASE + 9,
               CM_HITTEST = CM_BASE + 10, CM_VISIBLECHANGED = CM_BASE + 11,
               CM_ENABLEDCHANGED = CM_BASE + 12, CM_COLORCHANGED = CM_BASE + 13,
               CM_FONTCHANGED = CM_BASE + 14, CM_CURSORCHANGED = CM_BASE + 15,
               CM_CTL3DCHANGED = CM_BASE + 16, CM_PARENTCTL3DCHANGED = CM_BASE + 17,
               CM_TEXTCHANGED = CM_BASE + 18, CM_MOUSEENTER = CM_BASE + 19,
               CM_MOUSELEAVE = CM_BASE + 20, CM_MENUCHANGED = CM_BASE + 21,
               CM_APPKEYDOWN = CM_BASE + 22, CM_APPSYSCOMMAND = CM_BASE + 23,
               CM_BUTTONPRESSED = CM_BASE + 24, CM_SHOWINGCHANGED = CM_BASE + 25,
               CM_ENTER = CM_BASE + 26, CM_EXIT = CM_BASE + 27, CM_DESIGNHITTEST = CM_BASE + 28,
               CM_ICONCHANGED = CM_BASE + 29, CM_WANTSPECIALKEY = CM_BASE + 30,
               CM_INVOKEHELP = CM_BASE + 31, CM_WINDOWHOOK = CM_BASE + 32,
               CM_RELEASE = CM_BASE + 33, CM_SHOWHINTCHANGED = CM_BASE + 34,
               CM_PARENTSHOWHINTCHANGED = CM_BASE + 35, CM_SYSCOLORCHANGE = CM_BASE + 36,
               CM_WININICHANGE = CM_BASE + 37, CM_FONTCHANGE = CM_BASE + 38,
               CM_TIMECHANGE = CM_BASE + 39, CM_TABSTOPCHANGED = CM_BASE + 40,
               CM_UIACTIVATE = CM_BASE + 41, CM_UIDEACTIVATE = CM_BASE + 42,
               CM_DOCWINDOWACTIVATE = CM_BASE + 43, CM_CONTROLLISTCHANGE = CM_BASE + 44,
               CM_GETDATALINK = CM_BASE + 45, CM_CHILDKEY = CM_BASE + 46, CM_DRAG = CM_BASE + 47,
               CM_HINTSHOW = CM_BASE + 48, CM_DIALOGHANDLE = CM_BASE + 49,
               CM_ISTOOLCONTROL = CM_BASE + 50, CM_RECREATEWND = CM_BASE + 51,
               CM_INVALIDATE = CM_BASE + 52, CM_SYSFONTCHANGED = CM_BASE + 53,
               CM_CONTROLCHANGE = CM_BASE + 54, CM_CHANGED = CM_BASE + 55;

// Notifications a parent reflects back to the control that caused them.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM, CN_COMMAND = CN_BASE + WM_COMMAND,
               CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM, CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
               CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG, CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
               CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX,
               CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX,
               CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR,
               CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC, CN_DELETEITEM = CN_BASE + WM_DELETEITEM,
               CN_DRAWITEM = CN_BASE + WM_DRAWITEM, CN_HSCROLL = CN_BASE + WM_HSCROLL,
               CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM, CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY,
               CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM, CN_VSCROLL = CN_BASE + WM_VSCROLL,
               CN_KEYDOWN = CN_BASE + WM_KEYDOWN, CN_KEYUP = CN_BASE + WM_KEYUP,
               CN_CHAR = CN_BASE + WM_CHAR, CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN,
               CN_SYSCHAR = CN_BASE + WM_SYSCHAR, CN_NOTIFY = CN_BASE + WM_NOTIFY;

// CM_HITTEST / CM_DESIGNHITTEST and mouse messages carry client coordinates
// in LParam, key states in WParam.
inline int MsgX(const TMessage& M) { return GET_X_LPARAM(M.LParam); }
inline int MsgY(const TMessage& M) { return GET_Y_LPARAM(M.LParam); }
inline TPoint MsgPos(const TMessage& M) { return TPoint{MsgX(M), MsgY(M)}; }

// ---- Message dispatch ---------------------------------------------------------------

class TControl;

// The handlers one class declares, sorted by message number.
class TMessageTable {
public:
    using THandler = std::function<void(TControl* Self, TMessage& Message)>;
    void Add(UINT Msg, THandler Handler);
    // Runs the handler for Message.Msg; false when this class has none.
    bool Call(TControl* Self, TMessage& Message) const;

private:
    struct TEntry {
        UINT Msg;
        THandler Handler;
    };
    std::vector<TEntry> FEntries;
};

template <class C>
class TMessageMapBuilder {
public:
    explicit TMessageMapBuilder(TMessageTable& Table) : FTable(Table) {}
    template <class B>
        requires std::is_base_of_v<B, C>
    void operator()(UINT Msg, void (B::*Handler)(TMessage&))
    {
        FTable.Add(Msg, [Handler](TControl* Self, TMessage& M) { (static_cast<C*>(Self)->*Handler)(M); });
    }

private:
    TMessageTable& FTable;
};

#define HOST_MESSAGES(Cls)                                                                 \
public:                                                                                    \
    void Dispatch(::host::TMessage& Message) override;                                     \
    static const ::host::TMessageTable& MessageTable();                                    \
    friend struct HostMessages_##Cls;                                                      \
                                                                                           \
private:

#define HOST_MESSAGE_MAP(Cls)                                                              \
    struct HostMessages_##Cls {                                                            \
        static void Declare(::host::TMessageMapBuilder<Cls>& M);                           \
    };                                                                                     \
    const ::host::TMessageTable& Cls::MessageTable()                                       \
    {                                                                                      \
        static const ::host::TMessageTable table = [] {                                    \
            ::host::TMessageTable t;                                                       \
            ::host::TMessageMapBuilder<Cls> b(t);                                          \
            HostMessages_##Cls::Declare(b);                                                \
            return t;                                                                      \
        }();                                                                               \
        return table;                                                                      \
    }                                                                                      \
    void Cls::Dispatch(::host::TMessage& Message)                                          \
    {                                                                                      \
        if (!MessageTable().Call(this, Message)) inherited::Dispatch(Message);             \
    }                                                                                      \
    inline void HostMessages_##Cls::Declare([[maybe_unused]] ::host::TMessageMapBuilder<Cls>& M)

// ---- Types -----------------------------------------------------------------------------

class TWinControl;
class TPopupMenu;
class TDragObject;

HOST_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
using TAlignSet = TSet<TAlign>;

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint
};
using TControlState = TSet<TControlStateItem>;

HOST_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
HOST_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = TSet<TShiftStateItem>;
HOST_ENUM(TDragMode, dmManual, dmAutomatic)
// Window borders: forms use all of them, controls with a BorderStyle only the first two.
HOST_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
using TBorderStyle = TFormBorderStyle;
HOST_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
HOST_ENUM(TDragState, dsDragEnter, dsDragLeave, dsDragMove)

using TCaption = std::string;
using TCursor = int16_t;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSize = -5,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21;
// The window-system cursor shown for a framework cursor: the standard ones
// for the built-in values, or one registered with SetCursorHandle.
HCURSOR CursorHandle(TCursor Cursor);
void SetCursorHandle(TCursor Cursor, HCURSOR Handle);
// A cursor that every control shows instead of its own (the screen's
// Cursor); crDefault for none.
TCursor GetGlobalCursor();
void SetGlobalCursor(TCursor Cursor);
// Cursor properties stream as their names ("crHandPoint") where they have one.
bool CursorToIdent(int64_t Cursor, std::string& Ident);
bool IdentToCursor(const std::string& Ident, int64_t& Cursor);
const TTypeInfo* CursorTypeInfo();

using TMouseEvent = TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = TEvent<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, char& Key)>;
using TDragOverEvent =
    TEvent<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = TEvent<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TStartDragEvent = TEvent<void(TObject* Sender, TDragObject*& DragObject)>;
using TEndDragEvent = TEvent<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TWndMethodEvent = TEvent<void(TMessage& Message)>;

// Modifier keys and buttons from the key flags of a mouse message, and from
// the keyboard for key messages.
TShiftState KeysToShiftState(WPARAM Keys);
TShiftState KeyboardStateToShiftState();

// What CreateParams fills in and CreateWindowHandle makes a window from.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
    LPVOID Param = nullptr;
    WNDCLASS WindowClass;
    std::string WinClassName;
};

// Called with the control in whose window procedure an exception escaped,
// while the exception is being handled (std::current_exception works). The
// application object installs itself here; without a hook the exception is
// passed on to the caller of the window procedure.
using TExceptionHandler = std::function<void(TObject* Sender)>;
TExceptionHandler SetApplicationExceptionHandler(TExceptionHandler Handler);
// Inside a catch block: passes the exception to the hook, or rethrows it.
void HandleWindowProcException(TObject* Sender);

// What a modal form answers when it closes; buttons carry one to set it.
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7, mrAll = 8;

class TCustomForm;
// The form a control sits on (the top of its parent chain when that is a
// form), or nullptr.
TCustomForm* GetParentForm(TControl* Control);

// ---- TControl ---------------------------------------------------------------------------

class TControl : public TComponent {
    HOST_CLASS(TControl, TComponent)
    friend struct HostMessages_TControl;
public:
    static const TMessageTable& MessageTable();
    explicit TControl(TComponent* AOwner);

    // Messages.
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);
    LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
    const TWndMethodEvent& GetWindowProc() const { return FWindowProc; }
    void SetWindowProc(const TWndMethodEvent& Value) { FWindowProc = Value; }

    // Tree and geometry.
    TWinControl* GetParent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    int GetLeft() const { return FLeft; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    int GetTop() const { return FTop; }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    TRect GetBoundsRect() const { return TRect{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    void SetBoundsRect(const TRect& R) { SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    virtual TRect GetClientRect();
    int GetClientWidth() { return GetClientRect().right; }
    void SetClientWidth(int Value) { SetClientSize(Value, GetClientHeight()); }
    int GetClientHeight() { return GetClientRect().bottom; }
    void SetClientHeight(int Value) { SetClientSize(GetClientWidth(), Value); }
    // The screen position of the client area's top-left corner.
    virtual TPoint GetClientOrigin();
    TPoint ClientToScreen(const TPoint& Point);
    TPoint ScreenToClient(const TPoint& Point);
    TAlign GetAlign() const { return FAlign; }
    void SetAlign(TAlign Value);
    void BringToFront() { SetZOrder(true); }
    void SendToBack() { SetZOrder(false); }

    // State.
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show();
    void Hide() { SetVisible(false); }
    virtual bool GetEnabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    // Visible and on a visible parent chain (for windowed controls: its window is shown).
    virtual bool GetShowing() const;
    TControlStyle GetControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    TControlState GetControlState() const { return FControlState; }
    void SetControlState(TControlState Value) { FControlState = Value; }

    // Text.
    std::string GetText();
    void SetText(const std::string& Value);
    std::string GetCaption() { return GetText(); }
    void SetCaption(const std::string& Value) { SetText(Value); }
    // Copies at most BufSize - 1 characters and a terminating zero; returns the count.
    int GetTextBuf(char* Buffer, int BufSize);
    int GetTextLen();
    void SetTextBuf(const char* Buffer);

    // Appearance.
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    bool GetParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    bool GetParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    bool GetCtl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    bool GetParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool Value);
    const std::string& GetHint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }
    bool GetShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool GetParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // Painting.
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }

    // Dragging.
    TDragMode GetDragMode() const { return FDragMode; }
    void SetDragMode(TDragMode Value) { FDragMode = Value; }
    TCursor GetDragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor Value) { FDragCursor = Value; }
    // Immediate starts at once; otherwise the mouse must move a few pixels first.
    void BeginDrag(bool Immediate);
    void EndDrag(bool Drop);
    bool Dragging() const;
    void DragDrop(TObject* Source, int X, int Y);

    bool GetMouseCapture();
    void SetMouseCapture(bool Value);

    // Streaming.
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;

protected:
    void Destroy() override;
    void ReadState(TReader* Reader) override;
    void Loaded() override;
    virtual void WndProc(TMessage& Message);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DoStartDrag(TDragObject*& DragObject);
    virtual void DoEndDrag(TObject* Target, int X, int Y);
    virtual void SetZOrder(bool TopMost);
    virtual void SetClientSize(int AWidth, int AHeight);
    virtual void RequestAlign();
    void InvalidateControl(bool IsVisible, bool IsOpaque);
    virtual void Resize() {}
    bool IsFontStored() const { return !FParentFont; }
    bool IsColorStored() const { return !FParentColor; }
    bool IsShowHintStored() const { return !FParentShowHint; }

    // The message handlers of TControl.
    void WMLButtonDown(TMessage& Message);
    void WMLButtonDblClk(TMessage& Message);
    void WMLButtonUp(TMessage& Message);
    void WMRButtonDown(TMessage& Message);
    void WMRButtonUp(TMessage& Message);
    void WMMButtonDown(TMessage& Message);
    void WMMButtonUp(TMessage& Message);
    void WMRButtonDblClk(TMessage& Message);
    void WMMButtonDblClk(TMessage& Message);
    void WMMouseMove(TMessage& Message);
    void WMCancelMode(TMessage& Message);
    void WMContextMenu(TMessage& Message);
    void CMVisibleChanged(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    void CMParentFontChanged(TMessage& Message);
    void CMParentColorChanged(TMessage& Message);
    void CMParentShowHintChanged(TMessage& Message);
    void CMParentCtl3DChanged(TMessage& Message);
    void CMHitTest(TMessage& Message);

    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    TControlStyle FControlStyle;
    TControlState FControlState;
    TAlign FAlign = alNone;
    bool FVisible = true;
    bool FEnabled = true;
    bool FParentFont = true;
    bool FParentColor = true;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    bool FShowHint = false;
    bool FParentShowHint = true;
    bool FIsControl = false;
    std::string FText;
    std::string FHint;
    std::unique_ptr<TFont> FFont;
    TColor FColor = clWindow;
    TCursor FCursor = crDefault;
    TCursor FDragCursor = crDrag;
    TDragMode FDragMode = dmManual;
    TPopupMenu* FPopupMenu = nullptr;

private:
    friend class TWinControl;
    friend class TDragControlObject;
    void FontChanged(TObject* Sender);
    void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
    void DoMouseUp(TMessage& Message, TMouseButton Button);
    void SendCancelMode();
    void BeginAutoDrag();
    // Mouse messages of the control that is being dragged move or end the drag.
    bool HandleDragMessage(TMessage& Message);

public:
    // For the drag machinery: asks this control whether it takes Source.
    void DragOverTarget(TObject* Source, int X, int Y, TDragState State, bool& Accept);

private:

    TWndMethodEvent FWindowProc;
};

// ---- TWinControl ------------------------------------------------------------------------

class TWinControl : public TControl {
    HOST_CLASS(TWinControl, TControl)
    HOST_MESSAGES(TWinControl)
public:
    explicit TWinControl(TComponent* AOwner);
    HWND GetHandle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    HWND GetParentWindow() const { return FParentWindow; }
    // Places a control without a parent control inside a window that no
    // control owns; it is shown there when Visible.
    void SetParentWindow(HWND Value);
    void RecreateWnd();
    void DefaultHandler(TMessage& Message) override;

    // Children: graphic controls first, then windowed ones, each in z order.
    int GetControlCount() const { return int(FControls.size() + FWinControls.size()); }
    TControl* GetControls(int Index) const;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(TControl* Control) const;
    // The graphic child (or, with AllowWinControls, any child) at Pos in
    // client coordinates that hit-tests there, topmost first.
    TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false);
    TControl* FindChildControl(const std::string& ControlName) const;
    void Broadcast(TMessage& Message);
    void PaintControls(HDC DC, TControl* First);

    // Alignment.
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    void Realign() { AlignControl(nullptr); }
    bool AlignDisabled() const { return FAlignLevel != 0; }

    // Focus and tab order.
    int GetTabOrder() const;
    void SetTabOrder(int Value);
    bool GetTabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    void GetTabOrderList(std::vector<TWinControl*>& List) const;
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    // Of a top-level control: the descendant that last got the focus. Forms
    // replace this with their ActiveControl bookkeeping.
    TWinControl* GetFocusedControl() const { return FFocusedControl; }
    virtual bool SetFocusedControl(TWinControl* Control);
    virtual void FocusControl(TWinControl* Control);
    // Of a top-level control: whether it sees its controls' keys first.
    virtual bool GetKeyPreview() const { return false; }

    void SetParent(TWinControl* AParent) override;
    TRect GetClientRect() override;
    TPoint GetClientOrigin() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    bool GetShowing() const override { return FShowing; }
    TBrush* GetBrush() const { return FBrush.get(); }
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    void SetChildOrder(TComponent* Child, int Order) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

protected:
    void Destroy() override;
    void ReadState(TReader* Reader) override;
    void Loaded() override;
    void WndProc(TMessage& Message) override;
    void MainWndProc(TMessage& Message);
    void DefWndProc(TMessage& Message);

    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWindowHandle(const TCreateParams& Params);
    virtual void CreateWnd();
    virtual void CreateHandle();
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    void DestroyHandle();
    void UpdateBounds();
    void UpdateShowing();
    void UpdateControlState();
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    virtual void AdjustClientRect(TRect&) {}
    void AlignControl(TControl* AControl);
    void RemoveFocus(bool Removing);
    void SetZOrder(bool TopMost) override;
    void SetZOrderPosition(int Position);
    // Whether this control shows without a parent control (forms do; others
    // need a ParentWindow).
    virtual bool CanShowStandalone() const { return FParentWindow != nullptr; }
    void NotifyControls(UINT Msg);
    bool DoControlMsg(HWND ControlHandle, TMessage& Message);
    virtual void PaintWindow(HDC DC);
    void PaintHandler(TMessage& Message);
    void SetClientSize(int AWidth, int AHeight) override;
    // The top of this control's parent chain, where focus is tracked.
    TWinControl* GetRootControl();

    virtual void DoEnter();
    virtual void DoExit();
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    TWinControl* KeyPreviewer();
    bool DoKeyDown(TMessage& Message);
    bool DoKeyUp(TMessage& Message);
    bool DoKeyPress(TMessage& Message);
    // The window this control's window goes after in z order.
    HWND PrecedingWindow(TWinControl* Control) const;

    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMSize(TMessage& Message);
    void WMMove(TMessage& Message);
    void WMWindowPosChanged(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMKeyDown(TMessage& Message);
    void WMKeyUp(TMessage& Message);
    void WMChar(TMessage& Message);
    void WMSetCursor(TMessage& Message);
    void WMNCDestroy(TMessage& Message);
    void WMNCHitTest(TMessage& Message);
    void WMCommand(TMessage& Message);
    void WMDrawItem(TMessage& Message);
    void WMScroll(TMessage& Message);
    void CNKeyDown(TMessage& Message);
    void CNChar(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    void CMChildKey(TMessage& Message);
    void CMEnter(TMessage& Message);
    void CMExit(TMessage& Message);
    void CMDialogKey(TMessage& Message);
    void CMFocusChanged(TMessage& Message);
    void CMShowingChanged(TMessage& Message);
    void CMVisibleChanged(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMInvalidate(TMessage& Message);
    void CMRecreateWnd(TMessage& Message);
    void CMCursorChanged(TMessage& Message);
    void WMMeasureItem(TMessage& Message);
    void CMCtl3DChanged(TMessage& Message);
    void CMShowHintChanged(TMessage& Message);

    HWND FHandle = nullptr;
    HWND FParentWindow = nullptr;
    WNDPROC FDefWndProc = nullptr;
    bool FShowing = false;
    bool FTabStop = false;
    int FTabOrder = -1;
    int FAlignLevel = 0;
    std::unique_ptr<TBrush> FBrush;

private:
    friend class TControl;
    friend LRESULT InitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    void Insert(TControl* AControl);
    void Remove(TControl* AControl);
    bool IsControlMouseMsg(TMessage& Message);
    void TrackMouseControl(TControl* Control);
    void FixupTabList();
    void UpdateTabOrder(int Value);
    void SendFocusMessages(TWinControl* Old, TWinControl* New);
    void FocusDestroyed(TWinControl* Control, bool Removing);

    WNDPROC FObjectInstance = nullptr;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FWinControls;
    std::vector<TWinControl*> FTabList;
    TWinControl* FFocusedControl = nullptr;
};

// The control whose window Wnd is; nullptr for windows no control owns.
TWinControl* FindControl(HWND Wnd);
// The control that has the mouse captured (a graphic control when its parent's
// window has the capture for it).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The control under the mouse as last tracked (CM_MOUSEENTER went to it).
TControl* GetMouseControl();

// ---- Canvases and painted controls -----------------------------------------------------

// A canvas over a control's client area; the DC is fetched when drawing
// starts and given back by FreeHandle (or when the control's window goes).
class TControlCanvas : public TCanvas {
    HOST_CLASS(TControlCanvas, TCanvas)
public:
    TControlCanvas() = default;
    ~TControlCanvas() override;
    TControl* GetControl() const { return FControl; }
    void SetControl(TControl* Value);
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl* FControl = nullptr;
    HDC FDeviceContext = nullptr;
    HWND FWindowHandle = nullptr;
};

class TGraphicControl : public TControl {
    HOST_CLASS(TGraphicControl, TControl)
    HOST_MESSAGES(TGraphicControl)
public:
    explicit TGraphicControl(TComponent* AOwner);
    TCanvas* GetCanvas() const { return FCanvas.get(); }

protected:
    void Destroy() override;
    virtual void Paint() {}
    void WMPaint(TMessage& Message);

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

class TCustomControl : public TWinControl {
    HOST_CLASS(TCustomControl, TWinControl)
    HOST_MESSAGES(TCustomControl)
public:
    explicit TCustomControl(TComponent* AOwner);
    TCanvas* GetCanvas() const { return FCanvas.get(); }

protected:
    void Destroy() override;
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;
    void DestroyWnd() override;
    void WMPaint(TMessage& Message);

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

// ---- Dragging ---------------------------------------------------------------------------

// What is being dragged; a control's drag object unless OnStartDrag supplies one.
class TDragObject : public TObject {
    HOST_CLASS(TDragObject, TObject)
public:
    TDragObject() = default;
    virtual TCursor GetDragCursor(bool Accepted, int, int) { return Accepted ? crDrag : crNoDrop; }
    virtual void Finished(TObject* Target, int X, int Y, bool Accepted);
    TPoint GetDragPos() const { return FDragPos; }
    TObject* GetDragTarget() const { return FDragTarget; }

protected:
    friend class TControl;
    friend class TDragControlObject;
    TPoint FDragPos;
    TControl* FDragTarget = nullptr;
};

class TDragControlObject : public TDragObject {
    HOST_CLASS(TDragControlObject, TDragObject)
public:
    explicit TDragControlObject(TControl* AControl = nullptr) : FControl(AControl) {}
    TControl* GetControl() const { return FControl; }
    TCursor GetDragCursor(bool Accepted, int X, int Y) override;
    void Finished(TObject* Target, int X, int Y, bool Accepted) override;

private:
    TControl* FControl;
};

// The control the mouse is over (the deepest enabled child), or nullptr.
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);

} // namespace host
