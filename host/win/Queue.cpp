// The message queue: sent and posted messages, retrieval in the platform's
// priority order (posted, input, quit, paint, timers), timers on the host
// clock, and waiting.
#include "host/rtl/Clock.h"
#include "host/win/Modal.h"
#include "host/win/WinInternal.h"

#include <algorithm>
#include <map>

namespace host::win {

uint64_t NowMs() { return GetClock().MonotonicMs(); }

namespace {

// Virtual time that idle waits skipped since something other than a timer
// or a paint was delivered: with only timers running, nothing would ever
// change, so past the limit a waiting loop gives up.
uint64_t GIdleSkipped = 0;
uint64_t GIdleLimit = 10 * 60 * 1000;

}  // namespace

void SetIdleLimit(uint64_t ms) { GIdleLimit = ms; }

void NoteDelivered(UINT msg)
{
    if (msg != WM_TIMER && msg != WM_PAINT)
        GIdleSkipped = 0;
}
DWORD TickNow() { return DWORD(NowMs()); }

namespace {

bool InRange(UINT msg, UINT fMin, UINT fMax)
{
    if (fMin == 0 && fMax == 0)
        return true;
    return msg >= fMin && msg <= fMax;
}

bool ForWindow(HWND target, HWND filter)
{
    if (!filter)
        return true;
    if (filter == reinterpret_cast<HWND>(-1))
        return target == nullptr;
    return target == filter || IsChild(filter, target);
}

bool PeekPosted(MSG* msg, HWND hwnd, UINT fMin, UINT fMax, UINT remove)
{
    auto& q = State().Posted;
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (!ForWindow(it->hwnd, hwnd) || !InRange(it->message, fMin, fMax))
            continue;
        *msg = *it;
        if (remove & PM_REMOVE)
            q.erase(it);
        return true;
    }
    return false;
}

bool PeekPaint(MSG* msg, HWND hwnd, UINT fMin, UINT fMax)
{
    if (!InRange(WM_PAINT, fMin, fMax))
        return false;
    TWnd* w = FindWindowToPaint();
    if (!w || !ForWindow(w->Handle, hwnd))
        return false;
    *msg = MSG{};
    msg->hwnd = w->Handle;
    msg->message = WM_PAINT;
    return true;
}

TTimer* DueTimer(HWND hwnd)
{
    uint64_t now = NowMs();
    TTimer* best = nullptr;
    for (TTimer& t : State().Timers) {
        if (t.Due > now || !ForWindow(t.Wnd, hwnd))
            continue;
        if (!best || t.Due < best->Due || (t.Due == best->Due && t.Seq < best->Seq))
            best = &t;
    }
    return best;
}

bool PeekTimer(MSG* msg, HWND hwnd, UINT fMin, UINT fMax, UINT remove)
{
    if (!InRange(WM_TIMER, fMin, fMax))
        return false;
    TTimer* t = DueTimer(hwnd);
    if (!t)
        return false;
    *msg = MSG{};
    msg->hwnd = t->Wnd;
    msg->message = WM_TIMER;
    msg->wParam = t->Id;
    msg->lParam = LPARAM(t->Proc);
    if (remove & PM_REMOVE) {
        // The next period starts when this one is delivered; ticks missed
        // while the program was busy are not made up.
        t->Due = NowMs() + std::max<UINT>(t->Elapse, 1);
        t->Seq = ++State().TimerSeq;
    }
    return true;
}

void Stamp(MSG* msg)
{
    if (msg->time == 0)
        msg->time = TickNow();
    msg->pt = State().Cursor;
}

}  // namespace

bool PeekInternal(MSG* msg, HWND hwnd, UINT fMin, UINT fMax, UINT remove)
{
    TState& s = State();
    CollectGarbage();
    if (PeekPosted(msg, hwnd, fMin, fMax, remove) ||
        ConvertInput(msg, [&](const MSG& m) { return InRange(m.message, fMin, fMax) && ForWindow(m.hwnd, hwnd); },
                     remove & PM_REMOVE)) {
        Stamp(msg);
        s.LastMsg = *msg;
        if (remove & PM_REMOVE)
            NoteDelivered(msg->message);
        return true;
    }
    if (s.QuitPending && !hwnd && InRange(WM_QUIT, fMin, fMax)) {
        *msg = MSG{};
        msg->message = WM_QUIT;
        msg->wParam = WPARAM(s.QuitCode);
        if (remove & PM_REMOVE)
            s.QuitPending = false;
        Stamp(msg);
        return true;
    }
    if (PeekPaint(msg, hwnd, fMin, fMax) || PeekTimer(msg, hwnd, fMin, fMax, remove)) {
        Stamp(msg);
        s.LastMsg = *msg;
        return true;
    }
    return false;
}

void RemoveMessagesOf(HWND hwnd)
{
    auto& q = State().Posted;
    q.erase(std::remove_if(q.begin(), q.end(), [&](const MSG& m) { return m.hwnd == hwnd; }), q.end());
}

void KillTimersOf(HWND hwnd)
{
    auto& v = State().Timers;
    v.erase(std::remove_if(v.begin(), v.end(), [&](const TTimer& t) { return t.Wnd == hwnd; }), v.end());
}

int64_t NextTimerDelay()
{
    auto& v = State().Timers;
    if (v.empty())
        return -1;
    uint64_t now = NowMs();
    uint64_t due = std::min_element(v.begin(), v.end(), [](auto& a, auto& b) { return a.Due < b.Due; })->Due;
    return due <= now ? 0 : int64_t(due - now);
}

bool HasReadyWork()
{
    TState& s = State();
    return !s.Posted.empty() || !s.Input.empty() || s.QuitPending || FindWindowToPaint() ||
           NextTimerDelay() == 0;
}

// Lets time pass until something can be delivered. With a virtual clock the
// clock jumps to the next timer; when nothing at all can happen, waiting
// would never end, so it fails instead.
void WaitForWork(const std::function<std::string()>& describe)
{
    if (HasReadyWork())
        return;
    int64_t delay = NextTimerDelay();
    if (auto* vc = dynamic_cast<TVirtualClock*>(&GetClock())) {
        if (delay < 0)
            throw EIdleLoop(describe());
        GIdleSkipped += uint64_t(delay);
        if (GIdleSkipped > GIdleLimit) {
            GIdleSkipped = 0;
            throw EIdleLoop(describe() + " (only timers ran for " + std::to_string(GIdleLimit) + " ms)");
        }
        vc->Advance(uint64_t(delay));
        return;
    }
    if (!State().Backend->WaitForEvents(delay > INT32_MAX ? INT32_MAX : int(delay)) && delay < 0)
        throw EIdleLoop(describe());
}

}  // namespace host::win

namespace host {

using namespace win;

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (hwnd == HWND_BROADCAST) {
        std::vector<HWND> tops;
        for (TWnd* c : State().Desktop->Children)
            tops.push_back(c->Handle);
        for (HWND h : tops)
            SendMessage(h, msg, wParam, lParam);
        return 0;
    }
    return CallProc(FindWnd(hwnd), msg, wParam, lParam);
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return SendMessage(hwnd, msg, wParam, lParam);
}

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (hwnd && hwnd != HWND_BROADCAST && !FindWnd(hwnd))
        return FALSE;
    if (hwnd == HWND_BROADCAST) {
        for (TWnd* c : State().Desktop->Children)
            PostMessage(c->Handle, msg, wParam, lParam);
        return TRUE;
    }
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = TickNow();
    m.pt = State().Cursor;
    State().Posted.push_back(m);
    return TRUE;
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return PostMessage(hwnd, msg, wParam, lParam);
}

DWORD GetCurrentThreadId() { return 1; }

BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (threadId != GetCurrentThreadId())
        return FALSE;
    return PostMessage(nullptr, msg, wParam, lParam);
}

void PostQuitMessage(int exitCode)
{
    State().QuitPending = true;
    State().QuitCode = exitCode;
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove)
{
    if (!msg)
        return FALSE;
    return PeekInternal(msg, hwnd, filterMin, filterMax, remove) ? TRUE : FALSE;
}

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove)
{
    return PeekMessage(msg, hwnd, filterMin, filterMax, remove);
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax)
{
    if (!msg)
        return -1;
    while (!PeekInternal(msg, hwnd, filterMin, filterMax, PM_REMOVE))
        WaitForWork([] { return std::string("The message loop is idle and nothing can wake it"); });
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax)
{
    return GetMessage(msg, hwnd, filterMin, filterMax);
}

namespace {
TDispatchHook GDispatchHook = nullptr;
}  // namespace

TDispatchHook SetDispatchHook(TDispatchHook Hook)
{
    TDispatchHook old = GDispatchHook;
    GDispatchHook = Hook;
    return old;
}

LRESULT DispatchMessage(const MSG* msg)
{
    if (!msg)
        return 0;
    if (GDispatchHook && msg->hwnd && msg->message != WM_PAINT) {
        MSG copy = *msg;
        if (GDispatchHook(copy))
            return 0;
    }
    if (msg->message == WM_TIMER && msg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        proc(msg->hwnd, WM_TIMER, UINT_PTR(msg->wParam), TickNow());
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    TWnd* w = FindWnd(msg->hwnd);
    if (!w)
        return 0;
    if (msg->message != WM_PAINT)
        return CallProc(w, msg->message, msg->wParam, msg->lParam);
    gdi::Region before = w->Update;
    bool frameBefore = w->NeedFrame, internalBefore = w->InternalPaint;
    LRESULT r = CallProc(w, WM_PAINT, 0, 0);
    // A handler that ignores WM_PAINT would get it forever; what it left
    // unchanged counts as painted.
    if ((w = FindWnd(msg->hwnd)) && w->Update == before && w->NeedFrame == frameBefore &&
        w->InternalPaint == internalBefore) {
        w->Update = gdi::Region();
        w->NeedErase = false;
        w->NeedFrame = false;
        w->InternalPaint = false;
    }
    return r;
}

LRESULT DispatchMessageA(const MSG* msg) { return DispatchMessage(msg); }

BOOL WaitMessage()
{
    WaitForWork([] { return std::string("WaitMessage: nothing can wake the message loop"); });
    return TRUE;
}

DWORD GetMessageTime() { return State().LastMsg.time; }
DWORD GetMessagePos() { return MAKELONG(WORD(State().LastMsg.pt.x), WORD(State().LastMsg.pt.y)); }

DWORD GetQueueStatus(UINT flags)
{
    TState& s = State();
    DWORD st = 0;
    if (!s.Posted.empty())
        st |= QS_POSTMESSAGE;
    for (const TRawInput& in : s.Input)
        st |= in.Kind == TInputKind::MouseMove ? QS_MOUSEMOVE
              : (in.Kind == TInputKind::KeyDown || in.Kind == TInputKind::KeyUp) ? QS_KEY
                                                                                  : QS_MOUSEBUTTON;
    if (FindWindowToPaint())
        st |= QS_PAINT;
    if (NextTimerDelay() == 0)
        st |= QS_TIMER;
    st &= flags;
    return MAKELONG(WORD(st), WORD(st));
}

UINT RegisterWindowMessage(LPCSTR name)
{
    static std::map<std::string, UINT> registered;
    if (!name || !*name)
        return 0;
    auto it = registered.find(name);
    if (it != registered.end())
        return it->second;
    UINT id = UINT(0xC000 + registered.size());
    registered[name] = id;
    return id;
}

// ---- Timers ----

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    TState& s = State();
    if (hwnd && !FindWnd(hwnd))
        return 0;
    // Without a window, an id that names an existing timer resets it;
    // otherwise the timer gets a fresh id.
    if (!hwnd && std::none_of(s.Timers.begin(), s.Timers.end(),
                              [&](const TTimer& t) { return !t.Wnd && t.Id == id && id; }))
        id = s.NextTimerId++;
    elapse = std::clamp<UINT>(elapse, 10, 0x7FFFFFFF);
    for (TTimer& t : s.Timers)
        if (t.Wnd == hwnd && t.Id == id) {
            t.Elapse = elapse;
            t.Proc = proc;
            t.Due = NowMs() + elapse;
            t.Seq = ++s.TimerSeq;
            return hwnd ? 1 : id;
        }
    TTimer t;
    t.Wnd = hwnd;
    t.Id = id;
    t.Elapse = elapse;
    t.Proc = proc;
    t.Due = NowMs() + elapse;
    t.Seq = ++s.TimerSeq;
    s.Timers.push_back(t);
    return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    auto& v = State().Timers;
    auto it = std::find_if(v.begin(), v.end(), [&](const TTimer& t) { return t.Wnd == hwnd && t.Id == id; });
    if (it == v.end())
        return FALSE;
    v.erase(it);
    // A WM_TIMER of a killed timer is never delivered.
    auto& q = State().Posted;
    q.erase(std::remove_if(q.begin(), q.end(),
                           [&](const MSG& m) { return m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == id; }),
            q.end());
    return TRUE;
}

int ProcessPendingMessages()
{
    int n = 0;
    MSG msg;
    while (PeekInternal(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
        ++n;
    }
    return n;
}

}  // namespace host
