// Window classes, window creation and destruction, window data and the
// window tree.
#include "host/win/WinInternal.h"
#include "host/win/Screen.h"
#include "host/rtl/SysUtils.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace host::win {

namespace {

TState* GState = nullptr;
// Windows destroyed while a message may still be running on them: their
// memory outlives the handle until no message is being sent.
std::vector<std::unique_ptr<TWnd>> GGraveyard;
int GSendDepth = 0;

bool SameName(const std::string& a, LPCSTR b) { return strcasecmp(a.c_str(), b) == 0; }

TWndClassRec* FindClass(LPCSTR name)
{
    for (auto& c : State().Classes) {
        if (IS_INTRESOURCE(name) ? c->Atom == ATOM(uintptr_t(name)) : SameName(c->Name, name))
            return c.get();
    }
    return nullptr;
}

void CreateDesktop(TState& s)
{
    auto d = std::make_unique<TWnd>();
    d->Handle = reinterpret_cast<HWND>(s.NextHandle);
    s.NextHandle += 4;
    d->Desktop = true;
    d->Style = WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_POPUP;
    d->Proc = DefWindowProc;
    SIZE sz = s.Backend->ScreenSize();
    d->Rect = RECT{0, 0, sz.cx, sz.cy};
    d->Client = d->Rect;
    d->Text = "Desktop";
    s.Desktop = d.get();
    s.Windows[uintptr_t(d->Handle)] = std::move(d);
}

}  // namespace

TState& State()
{
    if (!GState)
        ResetWindowSystem();
    return *GState;
}

TBackend& Backend() { return *State().Backend; }

int& SendDepth() { return GSendDepth; }

void CollectGarbage()
{
    if (GSendDepth == 0)
        GGraveyard.clear();
}

TWnd* FindWnd(HWND h)
{
    if (!h || !GState)
        return nullptr;
    auto it = GState->Windows.find(uintptr_t(h));
    return it == GState->Windows.end() ? nullptr : it->second.get();
}

bool IsTopLevel(const TWnd* w) { return w && !w->Desktop && w->Parent && w->Parent->Desktop; }

TWnd* TopLevelOf(TWnd* w)
{
    while (w && !w->Desktop && !IsTopLevel(w))
        w = w->Parent;
    return w;
}

POINT ScreenOrigin(const TWnd* w)
{
    POINT p{w->Rect.left, w->Rect.top};
    for (const TWnd* q = w->Parent; q && !q->Desktop; q = q->Parent) {
        p.x += q->Rect.left + q->Client.left;
        p.y += q->Rect.top + q->Client.top;
    }
    return p;
}

POINT ClientScreenOrigin(const TWnd* w)
{
    POINT p = ScreenOrigin(w);
    return POINT{p.x + w->Client.left, p.y + w->Client.top};
}

RECT ScreenRect(const TWnd* w)
{
    POINT p = ScreenOrigin(w);
    return RECT{p.x, p.y, p.x + (w->Rect.right - w->Rect.left), p.y + (w->Rect.bottom - w->Rect.top)};
}

RECT ClientScreenRect(const TWnd* w)
{
    POINT p = ClientScreenOrigin(w);
    return RECT{p.x, p.y, p.x + (w->Client.right - w->Client.left),
                p.y + (w->Client.bottom - w->Client.top)};
}

bool IsReallyVisible(const TWnd* w)
{
    for (; w && !w->Desktop; w = w->Parent)
        if (!(w->Style & WS_VISIBLE))
            return false;
    return w != nullptr;
}

bool HasThickFrame(DWORD style) { return (style & WS_THICKFRAME) != 0; }
bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

LRESULT CallProc(TWnd* w, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!w || !FindWnd(w->Handle) || !w->Proc)
        return 0;
    ++GSendDepth;
    struct Guard {
        ~Guard() { --GSendDepth; }
    } guard;
    return w->Proc(w->Handle, msg, wParam, lParam);
}

void UnlinkFromParent(TWnd* w)
{
    if (!w->Parent)
        return;
    auto& v = w->Parent->Children;
    v.erase(std::remove(v.begin(), v.end(), w), v.end());
}

// Topmost top-level windows stay above the others.
void InsertInZOrder(TWnd* w, HWND insertAfter)
{
    auto& v = w->Parent->Children;
    bool topmost = IsTopLevel(w) && (w->ExStyle & WS_EX_TOPMOST);
    auto firstNonTopmost = [&] {
        return std::find_if(v.begin(), v.end(),
                            [](TWnd* c) { return !(c->ExStyle & WS_EX_TOPMOST) || !IsTopLevel(c); });
    };
    if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST) {
        v.insert(topmost ? v.begin() : firstNonTopmost(), w);
        return;
    }
    if (insertAfter == HWND_BOTTOM || insertAfter == HWND_NOTOPMOST) {
        if (topmost)
            v.insert(firstNonTopmost(), w);
        else
            v.push_back(w);
        return;
    }
    TWnd* after = FindWnd(insertAfter);
    auto it = std::find(v.begin(), v.end(), after);
    if (it == v.end()) {
        v.insert(topmost ? v.begin() : firstNonTopmost(), w);
        return;
    }
    v.insert(it + 1, w);
}

}  // namespace host::win

namespace host {

using namespace win;

void ResetWindowSystem(SIZE screenSize)
{
    if (GState) {
        // Destroy what is left, top-level windows first, quietly enough that
        // a broken procedure cannot stop the reset.
        std::vector<HWND> tops;
        for (TWnd* c : GState->Desktop->Children)
            tops.push_back(c->Handle);
        for (HWND h : tops) {
            try {
                DestroyWindow(h);
            } catch (...) {
            }
        }
    }
    GGraveyard.clear();
    std::unique_ptr<TState> old(GState);
    GState = new TState;
    TState& s = *GState;
    if (old)
        for (auto& c : old->Classes)
            if (c->System)
                s.Classes.push_back(std::move(c));
    s.Backend = CreateBackend(ScreenBackendHost(), screenSize);
    CreateDesktop(s);
    ResetInputState();
    NoteDelivered(WM_NULL);
}

SIZE GetScreenSize() { return Backend().ScreenSize(); }

// ---- Classes ----

ATOM RegisterClassEx(const WNDCLASSEX* wc)
{
    if (!wc || !wc->lpszClassName)
        return 0;
    TState& s = State();
    if (!IS_INTRESOURCE(wc->lpszClassName) && FindClass(wc->lpszClassName))
        return 0;  // ERROR_CLASS_ALREADY_EXISTS
    auto c = std::make_unique<TWndClassRec>();
    c->Name = IS_INTRESOURCE(wc->lpszClassName) ? "#" + std::to_string(uintptr_t(wc->lpszClassName))
                                                : std::string(wc->lpszClassName);
    c->Atom = s.NextAtom++;
    c->Info = *wc;
    c->Info.lpszClassName = nullptr;
    c->Info.lpszMenuName = nullptr;
    ATOM a = c->Atom;
    s.Classes.push_back(std::move(c));
    return a;
}

ATOM RegisterClass(const WNDCLASS* wc)
{
    if (!wc)
        return 0;
    WNDCLASSEX ex;
    ex.style = wc->style;
    ex.lpfnWndProc = wc->lpfnWndProc;
    ex.cbClsExtra = wc->cbClsExtra;
    ex.cbWndExtra = wc->cbWndExtra;
    ex.hInstance = wc->hInstance;
    ex.hIcon = wc->hIcon;
    ex.hCursor = wc->hCursor;
    ex.hbrBackground = wc->hbrBackground;
    ex.lpszClassName = wc->lpszClassName;
    return RegisterClassEx(&ex);
}

ATOM RegisterClassA(const WNDCLASS* wc) { return RegisterClass(wc); }

// Marks a class as belonging to the window system itself.
ATOM win::RegisterSystemClass(const WNDCLASSEX* wc)
{
    if (TWndClassRec* c = FindClass(wc->lpszClassName))
        return c->Atom;
    ATOM a = RegisterClassEx(wc);
    if (TWndClassRec* c = FindClass(MAKEINTATOM(a)))
        c->System = true;
    return a;
}

BOOL UnregisterClass(LPCSTR className, HINSTANCE)
{
    TWndClassRec* c = className ? FindClass(className) : nullptr;
    if (!c || c->System || c->Windows > 0)
        return FALSE;
    auto& v = State().Classes;
    v.erase(std::remove_if(v.begin(), v.end(), [c](auto& p) { return p.get() == c; }), v.end());
    return TRUE;
}

BOOL GetClassInfoEx(HINSTANCE, LPCSTR className, WNDCLASSEX* wc)
{
    TWndClassRec* c = className ? FindClass(className) : nullptr;
    if (!c || !wc)
        return FALSE;
    *wc = c->Info;
    wc->lpszClassName = className;
    return TRUE;
}

BOOL GetClassInfo(HINSTANCE instance, LPCSTR className, WNDCLASS* wc)
{
    WNDCLASSEX ex;
    if (!wc || !GetClassInfoEx(instance, className, &ex))
        return FALSE;
    wc->style = ex.style;
    wc->lpfnWndProc = ex.lpfnWndProc;
    wc->cbClsExtra = ex.cbClsExtra;
    wc->cbWndExtra = ex.cbWndExtra;
    wc->hInstance = ex.hInstance;
    wc->hIcon = ex.hIcon;
    wc->hCursor = ex.hCursor;
    wc->hbrBackground = ex.hbrBackground;
    wc->lpszMenuName = nullptr;
    wc->lpszClassName = className;
    return TRUE;
}

int GetClassName(HWND hwnd, LPSTR buffer, int max)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || !buffer || max <= 0)
        return 0;
    std::string name = w->Desktop ? "#32769" : w->Class->Name;
    int n = std::min<int>(int(name.size()), max - 1);
    std::memcpy(buffer, name.data(), size_t(n));
    buffer[n] = 0;
    return n;
}

ULONG_PTR GetClassLongPtr(HWND hwnd, int index)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || !w->Class)
        return 0;
    const WNDCLASSEX& i = w->Class->Info;
    switch (index) {
    case GCL_HBRBACKGROUND: return ULONG_PTR(i.hbrBackground);
    case GCL_HCURSOR: return ULONG_PTR(i.hCursor);
    case GCL_HICON: return ULONG_PTR(i.hIcon);
    case GCL_CBWNDEXTRA: return ULONG_PTR(i.cbWndExtra);
    case GCL_CBCLSEXTRA: return ULONG_PTR(i.cbClsExtra);
    case GCL_WNDPROC: return ULONG_PTR(i.lpfnWndProc);
    case GCL_STYLE: return i.style;
    case GCW_ATOM: return w->Class->Atom;
    default: return 0;
    }
}

ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || !w->Class)
        return 0;
    WNDCLASSEX& i = w->Class->Info;
    ULONG_PTR old = GetClassLongPtr(hwnd, index);
    switch (index) {
    case GCL_HBRBACKGROUND: i.hbrBackground = reinterpret_cast<HBRUSH>(value); break;
    case GCL_HCURSOR: i.hCursor = reinterpret_cast<HCURSOR>(value); break;
    case GCL_HICON: i.hIcon = reinterpret_cast<HICON>(value); break;
    case GCL_WNDPROC: i.lpfnWndProc = reinterpret_cast<WNDPROC>(value); break;
    case GCL_STYLE: i.style = UINT(value); break;
    default: return 0;
    }
    return old;
}

DWORD GetClassLong(HWND hwnd, int index) { return DWORD(GetClassLongPtr(hwnd, index)); }
DWORD SetClassLong(HWND hwnd, int index, LONG value) { return DWORD(SetClassLongPtr(hwnd, index, value)); }

// ---- Creation ----

namespace {

// Overlapped windows with CW_USEDEFAULT cascade from the top-left corner.
void DefaultPlacement(TState& s, DWORD style, int& x, int& y, int& cx, int& cy)
{
    static int cascade = 0;
    if (style & (WS_CHILD | WS_POPUP)) {
        if (x == CW_USEDEFAULT) x = y = 0;
        if (cx == CW_USEDEFAULT) cx = cy = 0;
        return;
    }
    SIZE scr = s.Backend->ScreenSize();
    if (x == CW_USEDEFAULT) {
        int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
        x = y = (cascade++ % 8) * step;
    }
    if (cx == CW_USEDEFAULT) {
        cx = scr.cx * 3 / 4;
        cy = scr.cy * 3 / 4;
    }
}

// Sizable and overlapped windows start within their tracking limits.
void ApplyMinMax(TWnd* w, int& cx, int& cy)
{
    if (!HasThickFrame(w->Style) && (w->Style & (WS_POPUP | WS_CHILD)))
        return;
    MINMAXINFO mmi = DefaultMinMaxInfo(w->Handle);
    SendMessage(w->Handle, WM_GETMINMAXINFO, 0, LPARAM(&mmi));
    cx = std::clamp<int>(cx, std::min<int>(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x), mmi.ptMaxTrackSize.x);
    cy = std::clamp<int>(cy, std::min<int>(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y), mmi.ptMaxTrackSize.y);
}

void DestroyHalfMade(HWND h)
{
    if (TWnd* w = FindWnd(h))
        w->Style &= ~WS_VISIBLE;
    DestroyWindow(h);
}

}  // namespace

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    LPVOID param)
{
    TState& s = State();
    CollectGarbage();
    TWndClassRec* cls = className ? FindClass(className) : nullptr;
    if (!cls)
        return nullptr;
    TWnd* parentWnd = parent && parent != HWND_MESSAGE ? FindWnd(parent) : nullptr;
    if ((style & WS_CHILD) && !parentWnd)
        return nullptr;  // a child needs a parent
    DefaultPlacement(s, style, x, y, width, height);

    auto owned = std::make_unique<TWnd>();
    TWnd* w = owned.get();
    w->Handle = reinterpret_cast<HWND>(s.NextHandle);
    s.NextHandle += 4;
    w->Class = cls;
    w->Proc = cls->Info.lpfnWndProc;
    w->Instance = instance;
    w->Style = style & ~WS_VISIBLE;
    w->ExStyle = exStyle;
    if (!(style & (WS_CHILD | WS_POPUP))) {
        w->Style |= WS_CLIPSIBLINGS | WS_CAPTION;  // overlapped windows always have both
        w->ExStyle |= WS_EX_WINDOWEDGE;
    }
    if (style & WS_CHILD) {
        w->Parent = parentWnd;
        w->Id = LONG_PTR(menu);
    } else {
        w->Parent = s.Desktop;
        w->Owner = parentWnd ? TopLevelOf(parentWnd) : nullptr;
        if (w->Owner && w->Owner->Desktop)
            w->Owner = nullptr;
    }
    w->Extra.assign(size_t(std::max(0, cls->Info.cbWndExtra)), 0);
    w->Rect = RECT{x, y, x + width, y + height};
    w->Client = RECT{0, 0, width, height};
    HWND h = w->Handle;
    s.Windows[uintptr_t(h)] = std::move(owned);
    ++cls->Windows;
    InsertInZOrder(w, (style & WS_CHILD) ? HWND_BOTTOM : HWND_TOP);

    int cx = width, cy = height;
    ApplyMinMax(w, cx, cy);
    if (!(w = FindWnd(h)))
        return nullptr;
    w->Rect.right = w->Rect.left + cx;
    w->Rect.bottom = w->Rect.top + cy;
    if (IsTopLevel(w))
        ResizeSurface(w);

    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.style = LONG(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (!SendMessage(h, WM_NCCREATE, 0, LPARAM(&cs))) {
        DestroyHalfMade(h);
        return nullptr;
    }
    if (!(w = FindWnd(h)))
        return nullptr;
    w->Created = true;
    RecalcClient(w);
    if (SendMessage(h, WM_CREATE, 0, LPARAM(&cs)) == -1) {
        DestroyHalfMade(h);
        return nullptr;
    }
    if (!(w = FindWnd(h)))
        return nullptr;
    SendSizeMove(w, 0);
    if ((w = FindWnd(h)) && (w->Style & WS_CHILD) && !(w->ExStyle & WS_EX_NOPARENTNOTIFY))
        SendMessage(w->Parent->Handle, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, int(w->Id)), LPARAM(h));
    if (!FindWnd(h))
        return nullptr;
    NotifyBackend(FindWnd(h));
    if (style & WS_VISIBLE) {
        int cmd = (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                  : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                                          : SW_SHOW;
        ShowWindow(h, cmd);
    }
    return FindWnd(h) ? h : nullptr;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param)
{
    return CreateWindowEx(exStyle, className, windowName, style, x, y, width, height, parent,
                          menu, instance, param);
}

HWND CreateWindow(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, menu,
                          instance, param);
}

// ---- Destruction ----

namespace {

// WM_DESTROY goes to a window before its children.
void SendDestroy(HWND h)
{
    TWnd* w = FindWnd(h);
    if (!w)
        return;
    WindowGoing(w);
    SendMessage(h, WM_DESTROY, 0, 0);
    if (!(w = FindWnd(h)))
        return;
    std::vector<HWND> kids;
    for (TWnd* c : w->Children)
        kids.push_back(c->Handle);
    for (HWND k : kids)
        SendDestroy(k);
}

// WM_NCDESTROY goes to the children first; then the window is gone.
void FreeWindow(HWND h)
{
    TWnd* w = FindWnd(h);
    if (!w)
        return;
    std::vector<HWND> kids;
    for (TWnd* c : w->Children)
        kids.push_back(c->Handle);
    for (HWND k : kids)
        FreeWindow(k);
    if (!(w = FindWnd(h)))
        return;
    SendMessage(h, WM_NCDESTROY, 0, 0);
    if (!(w = FindWnd(h)))
        return;
    TState& s = State();
    RemoveMessagesOf(h);
    KillTimersOf(h);
    ForgetDcs(w);
    bool top = IsTopLevel(w);
    UnlinkFromParent(w);
    for (auto& [k, other] : s.Windows)
        if (other->Owner == w)
            other->Owner = nullptr;
    --w->Class->Windows;
    auto it = s.Windows.find(uintptr_t(h));
    GGraveyard.push_back(std::move(it->second));
    s.Windows.erase(it);
    if (top)
        s.Backend->TopLevelDestroyed(h);
}

}  // namespace

BOOL DestroyWindow(HWND hwnd)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || w->Desktop || w->Destroying)
        return FALSE;
    w->Destroying = true;
    if (IsTopLevel(w) && (w->Style & WS_VISIBLE))
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Owned windows go before their owner.
    std::vector<HWND> owned;
    for (auto& [k, other] : State().Windows)
        if (other->Owner && other->Owner->Handle == hwnd)
            owned.push_back(other->Handle);
    for (HWND o : owned)
        DestroyWindow(o);
    if (!(w = FindWnd(hwnd)))
        return TRUE;
    if ((w->Style & WS_CHILD) && !(w->ExStyle & WS_EX_NOPARENTNOTIFY) && w->Parent)
        SendMessage(w->Parent->Handle, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, int(w->Id)),
                    LPARAM(hwnd));
    if ((w = FindWnd(hwnd)) && (w->Style & WS_CHILD) && (w->Style & WS_VISIBLE)) {
        // The parent shows again where the child was.
        TWnd* p = w->Parent;
        RECT r = w->Rect;
        gdi::Region area(r);
        InvalidateWindow(p, &area, true, true);
    }
    SendDestroy(hwnd);
    FreeWindow(hwnd);
    return TRUE;
}

// ---- Queries ----

BOOL IsWindow(HWND hwnd) { return FindWnd(hwnd) != nullptr; }

BOOL IsWindowVisible(HWND hwnd) { return IsReallyVisible(FindWnd(hwnd)); }

BOOL IsWindowEnabled(HWND hwnd)
{
    TWnd* w = FindWnd(hwnd);
    return w && !(w->Style & WS_DISABLED);
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    TWnd* w = FindWnd(hwnd);
    if (!w)
        return FALSE;
    BOOL wasDisabled = (w->Style & WS_DISABLED) ? TRUE : FALSE;
    if (enable && wasDisabled) {
        w->Style &= ~WS_DISABLED;
        SendMessage(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        SendMessage(hwnd, WM_CANCELMODE, 0, 0);
        if (!(w = FindWnd(hwnd)))
            return FALSE;
        w->Style |= WS_DISABLED;
        TState& s = State();
        if (s.Focus && (s.Focus == hwnd || IsChild(hwnd, s.Focus)))
            SetFocus(nullptr);
        SendMessage(hwnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

BOOL IsChild(HWND parent, HWND hwnd)
{
    TWnd* w = FindWnd(hwnd);
    for (; w && (w->Style & WS_CHILD); w = w->Parent)
        if (w->Parent && w->Parent->Handle == parent)
            return TRUE;
    return FALSE;
}

BOOL IsIconic(HWND hwnd)
{
    TWnd* w = FindWnd(hwnd);
    return w && (w->Style & WS_MINIMIZE);
}

BOOL IsZoomed(HWND hwnd)
{
    TWnd* w = FindWnd(hwnd);
    return w && (w->Style & WS_MAXIMIZE);
}

HINSTANCE HInstance()
{
    static int instance;
    return reinterpret_cast<HINSTANCE>(&instance);
}

// ---- Window data ----

LONG_PTR GetWindowLongPtr(HWND hwnd, int index)
{
    TWnd* w = FindWnd(hwnd);
    if (!w)
        return 0;
    switch (index) {
    case GWL_WNDPROC: return LONG_PTR(w->Proc);
    case GWL_HINSTANCE: return LONG_PTR(w->Instance);
    case GWL_HWNDPARENT: return LONG_PTR(w->Owner ? w->Owner->Handle : nullptr);
    case GWL_STYLE: return LONG_PTR(DWORD(w->Style));
    case GWL_EXSTYLE: return LONG_PTR(DWORD(w->ExStyle));
    case GWL_USERDATA: return w->UserData;
    case GWL_ID: return w->Id;
    default: break;
    }
    if (index < 0 || size_t(index) + sizeof(LONG_PTR) > w->Extra.size())
        return 0;
    LONG_PTR v;
    std::memcpy(&v, w->Extra.data() + index, sizeof v);
    return v;
}

namespace {

LONG_PTR SetStyle(TWnd* w, int index, LONG_PTR value)
{
    HWND h = w->Handle;
    STYLESTRUCT ss;
    ss.styleOld = index == GWL_STYLE ? w->Style : w->ExStyle;
    ss.styleNew = DWORD(value);
    SendMessage(h, WM_STYLECHANGING, WPARAM(index), LPARAM(&ss));
    if (!(w = FindWnd(h)))
        return 0;
    if (index == GWL_STYLE)
        w->Style = ss.styleNew;
    else
        w->ExStyle = ss.styleNew;
    SendMessage(h, WM_STYLECHANGED, WPARAM(index), LPARAM(&ss));
    return LONG_PTR(ss.styleOld);
}

}  // namespace

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || w->Desktop)
        return 0;
    LONG_PTR old = GetWindowLongPtr(hwnd, index);
    switch (index) {
    case GWL_WNDPROC: w->Proc = reinterpret_cast<WNDPROC>(value); return old;
    case GWL_HINSTANCE: w->Instance = reinterpret_cast<HINSTANCE>(value); return old;
    case GWL_HWNDPARENT: {
        TWnd* o = FindWnd(reinterpret_cast<HWND>(value));
        if (!(w->Style & WS_CHILD))
            w->Owner = o ? TopLevelOf(o) : nullptr;
        return old;
    }
    case GWL_STYLE:
    case GWL_EXSTYLE: return SetStyle(w, index, value);
    case GWL_USERDATA: w->UserData = value; return old;
    case GWL_ID: w->Id = value; return old;
    default: break;
    }
    if (index < 0 || size_t(index) + sizeof(LONG_PTR) > w->Extra.size())
        return 0;
    std::memcpy(w->Extra.data() + index, &value, sizeof value);
    return old;
}

LONG_PTR GetWindowLong(HWND hwnd, int index) { return GetWindowLongPtr(hwnd, index); }
LONG_PTR SetWindowLong(HWND hwnd, int index, LONG_PTR value) { return SetWindowLongPtr(hwnd, index, value); }
LONG_PTR GetWindowLongA(HWND hwnd, int index) { return GetWindowLongPtr(hwnd, index); }
LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value) { return SetWindowLongPtr(hwnd, index, value); }

// ---- Text and properties ----

int SetWindowText(HWND hwnd, LPCSTR text)
{
    return SendMessage(hwnd, WM_SETTEXT, 0, LPARAM(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowText(HWND hwnd, LPSTR buffer, int max)
{
    if (!buffer || max <= 0)
        return 0;
    buffer[0] = 0;
    return int(SendMessage(hwnd, WM_GETTEXT, WPARAM(max), LPARAM(buffer)));
}

int GetWindowTextLength(HWND hwnd) { return int(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

BOOL SetProp(HWND hwnd, LPCSTR name, HANDLE data)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || !name)
        return FALSE;
    std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(uintptr_t(name)) : name;
    for (auto& p : w->Props)
        if (strcasecmp(p.first.c_str(), key.c_str()) == 0) {
            p.second = data;
            return TRUE;
        }
    w->Props.emplace_back(key, data);
    return TRUE;
}

HANDLE GetProp(HWND hwnd, LPCSTR name)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || !name)
        return nullptr;
    std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(uintptr_t(name)) : name;
    for (auto& p : w->Props)
        if (strcasecmp(p.first.c_str(), key.c_str()) == 0)
            return p.second;
    return nullptr;
}

HANDLE RemoveProp(HWND hwnd, LPCSTR name)
{
    TWnd* w = FindWnd(hwnd);
    HANDLE old = GetProp(hwnd, name);
    if (!w || !old)
        return nullptr;
    std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(uintptr_t(name)) : name;
    auto& v = w->Props;
    v.erase(std::remove_if(v.begin(), v.end(),
                           [&](auto& p) { return strcasecmp(p.first.c_str(), key.c_str()) == 0; }),
            v.end());
    return old;
}

}  // namespace host
