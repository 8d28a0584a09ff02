#pragma once
// Internal state of the window system, shared by its translation units. Not
// for use outside host/win.
#include "host/backend/Backend.h"
#include "host/gdi/Raster.h"
#include "host/gdi/Region.h"
#include "host/win/WinUser.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace host::win {

struct TWndClassRec {
    std::string Name;
    ATOM Atom = 0;
    WNDCLASSEX Info;
    bool System = false;  // built-in classes cannot be unregistered
    int Windows = 0;      // live windows of the class
};

struct TScrollBarState {
    int Min = 0;
    int Max = 100;
    UINT Page = 0;
    int Pos = 0;
    int TrackPos = 0;
    bool Tracking = false;
    UINT Disabled = ESB_ENABLE_BOTH;
};

struct TWnd {
    HWND Handle = nullptr;
    TWndClassRec* Class = nullptr;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    WNDPROC Proc = nullptr;
    TWnd* Parent = nullptr;  // the desktop for top-level windows
    TWnd* Owner = nullptr;
    std::vector<TWnd*> Children;  // first = top of the z-order
    RECT Rect;                    // in the parent's client coordinates
    RECT Client;                  // relative to the window's top-left corner
    RECT NormalRect;              // restored placement while minimised or maximised
    std::string Text;
    HINSTANCE Instance = nullptr;
    LONG_PTR UserData = 0;
    LONG_PTR Id = 0;
    std::vector<BYTE> Extra;
    std::vector<std::pair<std::string, HANDLE>> Props;

    // Invalid area in client coordinates, and what painting it needs.
    gdi::Region Update;
    bool NeedErase = false;
    bool NeedFrame = false;
    bool InternalPaint = false;

    // Top-level windows own the surface their whole tree draws on.
    std::vector<uint32_t> Pixels;
    gdi::Surface Surf;

    TScrollBarState HScroll;
    TScrollBarState VScroll;

    bool Desktop = false;
    bool Destroying = false;
    bool Created = false;  // WM_NCCREATE accepted
    bool ActiveLook = false;  // caption drawn active (WM_NCACTIVATE)
    HMENU Menu = nullptr;     // the menu bar of a top-level window
};

struct TTimer {
    HWND Wnd = nullptr;
    UINT_PTR Id = 0;
    UINT Elapse = 0;
    TIMERPROC Proc = nullptr;
    uint64_t Due = 0;
    uint64_t Seq = 0;  // orders timers that fall due together
};

enum class TInputKind { MouseMove, ButtonDown, ButtonUp, Wheel, KeyDown, KeyUp, Char };

struct TRawInput {
    TInputKind Kind = TInputKind::MouseMove;
    POINT Pt;
    int Button = 0;  // 0 left, 1 right, 2 middle
    int Delta = 0;
    int Vk = 0;  // the character for Char
    DWORD Time = 0;
    // A move of a paced gesture: delivered on its own, as a slow hand's
    // moves are, instead of merging with the moves after it.
    bool Paced = false;
};

// An interactive move, size or scroll-thumb drag: it takes the mouse until
// the button goes up, as the platform's modal tracking loops do.
struct TTracking {
    enum class Kind { None, Move, Size, ScrollThumb, ScrollButton, NcButton } What = Kind::None;
    HWND Wnd = nullptr;
    LRESULT Hit = HTNOWHERE;
    POINT Start;
    RECT StartRect;  // screen coordinates
    int Bar = SB_VERT;
    int StartPos = 0;
    WORD Code = 0;
    UINT_PTR RepeatTimer = 0;  // scroll arrows and pages repeat while held
};

struct TDcRecord {
    HDC Dc = nullptr;
    HWND Wnd = nullptr;
    bool Window = false;  // covers the non-client area
};

struct TState {
    std::unordered_map<uintptr_t, std::unique_ptr<TWnd>> Windows;
    uintptr_t NextHandle = 0x10000;
    TWnd* Desktop = nullptr;
    std::vector<std::unique_ptr<TWndClassRec>> Classes;
    ATOM NextAtom = 0xC000;

    std::deque<MSG> Posted;
    std::deque<TRawInput> Input;
    bool QuitPending = false;
    int QuitCode = 0;
    MSG LastMsg;
    std::vector<TTimer> Timers;
    uint64_t TimerSeq = 0;
    UINT_PTR NextTimerId = 0x1000;

    HWND Focus = nullptr;
    HWND Active = nullptr;
    HWND Capture = nullptr;
    // The window the last mouse message went to: told with WM_MOUSELEAVE
    // when the pointer leaves all the program's windows.
    HWND MouseWnd = nullptr;
    bool AppActive = false;
    BYTE Keys[256] = {};       // as of the message being processed
    BYTE AsyncKeys[256] = {};  // as of the latest input
    POINT Cursor;
    HCURSOR CurrentCursor = nullptr;
    int CursorShow = 0;
    UINT DoubleClickTime = 500;
    // The last button press, for double clicks.
    HWND LastClickWnd = nullptr;
    UINT LastClickMsg = 0;
    DWORD LastClickTime = 0;
    POINT LastClickPt;
    LRESULT LastClickHit = HTNOWHERE;
    int LastKeyVk = 0;

    TTracking Tracking;
    std::vector<TDcRecord> Dcs;
    std::unique_ptr<TBackend> Backend;
    int ModalDepth = 0;
    int BeepCount = 0;
    UINT LastBeep = 0;
};

TState& State();
// The window system as its backend sees it.
TBackendHost& ScreenBackendHost();
int& SendDepth();
// Frees destroyed windows once no message is running on them.
void CollectGarbage();
ATOM RegisterSystemClass(const WNDCLASSEX* wc);
MINMAXINFO DefaultMinMaxInfo(HWND hwnd);
// The backend, created on first use (headless unless one was installed).
TBackend& Backend();

TWnd* FindWnd(HWND h);
bool IsTopLevel(const TWnd* w);
TWnd* TopLevelOf(TWnd* w);
// Screen position of the window's top-left corner and of its client area.
POINT ScreenOrigin(const TWnd* w);
POINT ClientScreenOrigin(const TWnd* w);
RECT ScreenRect(const TWnd* w);
RECT ClientScreenRect(const TWnd* w);
bool IsReallyVisible(const TWnd* w);  // it and all its ancestors are visible
bool HasThickFrame(DWORD style);
bool HasCaption(DWORD style);

// Calls the window procedure; a destroyed window gets nothing.
LRESULT CallProc(TWnd* w, UINT msg, WPARAM wParam, LPARAM lParam);

// Window geometry (WindowPos.cpp).
void RecalcClient(TWnd* w);
void SendSizeMove(TWnd* w, UINT flags);
void ResizeSurface(TWnd* top);
void UnlinkFromParent(TWnd* w);
void InsertInZOrder(TWnd* w, HWND insertAfter);

// Non-client area (NonClient.cpp).
struct TFrameMetrics {
    int Border = 0;  // frame thickness on each side
    int Caption = 0;
    int Edge = 0;    // WS_EX_CLIENTEDGE
};
TFrameMetrics FrameMetrics(DWORD style, DWORD exStyle);
RECT ClientFromWindow(const RECT& window, DWORD style, DWORD exStyle);
LRESULT NcHitTest(TWnd* w, POINT screen);
void NcPaint(TWnd* w);
bool IsActiveLook(TWnd* w);
RECT CaptionRect(TWnd* w);  // window coordinates
RECT CloseButtonRect(TWnd* w);
// Scroll-bar rectangles in window coordinates (empty when hidden).
RECT ScrollBarRect(TWnd* w, int bar);
void PaintScrollBar(TWnd* w, HDC hdc, int bar);
LRESULT ScrollBarHit(TWnd* w, int bar, POINT windowPt, WORD& code);
TScrollBarState& ScrollState(TWnd* w, int bar);
bool StartScrollTracking(TWnd* w, int bar, POINT screen);

// Painting (Paint.cpp).
void InvalidateWindow(TWnd* w, const gdi::Region* clientArea, bool erase, bool children);
void InvalidateFrame(TWnd* w);
TWnd* FindWindowToPaint();
// The part of the window that shows, in its top-level's surface coordinates.
gdi::Region VisibleRegion(TWnd* w, bool client, bool clipChildren);
void RetargetDcs(TWnd* top);
enum class TDcArea { Client, Window, Frame };  // Frame: the window without its client area
// clipChildren: 1 or 0 to choose, -1 to follow WS_CLIPCHILDREN.
HDC MakeDc(TWnd* w, TDcArea area, const gdi::Region* clip = nullptr, int clipChildren = -1);
void ForgetDcs(TWnd* w);
void NotifyBackend(TWnd* w);

// Messages (Queue.cpp).
bool PeekInternal(MSG* msg, HWND hwnd, UINT fMin, UINT fMax, UINT remove);
void RemoveMessagesOf(HWND hwnd);
void KillTimersOf(HWND hwnd);
uint64_t NowMs();
DWORD TickNow();
// Milliseconds until the next timer falls due (0 if one is due, -1 if none).
int64_t NextTimerDelay();
bool HasReadyWork();
void SetIdleLimit(uint64_t ms);
// Something other than a timer or a paint was delivered: the program is not idle.
void NoteDelivered(UINT msg);
// Lets time pass until a message can be delivered; raises EIdleLoop with
// describe()'s text when nothing ever could.
void WaitForWork(const std::function<std::string()>& describe);

// Input (InputQueue.cpp).
// The window under a screen point as mouse input finds it (WM_NCHITTEST
// decides; HTTRANSPARENT lets the point through to windows beneath).
HWND HitTestWindow(POINT screen, LRESULT* hit);
// Turns the oldest input into a message when accept takes it; input that
// nobody asked for stays queued.
bool ConvertInput(MSG* msg, const std::function<bool(const MSG&)>& accept, bool remove);
void ResetInputState();
// A character that no key produces (e.g. a UTF-8 byte), delivered as WM_CHAR.
void PushCharInput(char ch);
void PaceLastInput();
// The key and shift state that type ch on the standard layout.
bool CharToKey(char ch, int& vk, bool& shift);

// Focus and activation (Focus.cpp).
void ActivateWindow(TWnd* w, WORD how);
void WindowGoing(TWnd* w);
// Ends a move, size or scroll drag (WM_EXITSIZEMOVE for moves and sizes).
void EndTracking();  // focus, capture and activation leave a dying window

// Tracking (SizeMove.cpp).
bool TrackInput(const TRawInput& in);
bool TrackKey(const TRawInput& in);
// Delivers messages while a drag is tracked, as the platform's modal loops
// do, so that the call that started it returns when it ends. When input
// stops before the button is released (a test pausing between calls), it
// returns and the queue drives the rest of the drag.
void RunTrackingLoop();
void StartSizeMove(TWnd* w, WPARAM command, POINT screen);

// Caret (Caret.cpp): painting hides it; its window's end destroys it.
void HideCaretForPaint(HWND wnd, bool hide);
void CaretWindowGoing(HWND wnd);

// Cursors (Cursor.cpp).
void UpdateCursorForWindow();
int StandardCursorId(HICON cursor);
// A cursor's picture and hot spot; false for shapes without one.
bool CursorImage(HICON cursor, TImageData& image, POINT& hotSpot);

// The backend that KEL_BACKEND or the presence of a display asks for
// (BackendChoice.cpp).
std::unique_ptr<TBackend> CreateBackend(TBackendHost& host, SIZE screenSize);

}  // namespace host::win
