// Object instances: window procedures that call a method. Each instance is
// one of a fixed set of real functions, so the pointer can be stored as a
// window procedure, compared, and called like any other.
#include "host/rtl/SysUtils.h"
#include "host/win/WinInternal.h"

#include <array>
#include <utility>

namespace host::win {

namespace {

constexpr size_t kInstances = 4096;

struct TSlot {
    TWndMethod Method;
    bool Used = false;
};

std::array<TSlot, kInstances>& Slots()
{
    static std::array<TSlot, kInstances> slots;
    return slots;
}

template <size_t N>
LRESULT Thunk(HWND, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    // Copied so that the method may free its own instance while it runs.
    TWndMethod method = Slots()[N].Method;
    if (method)
        method(m);
    return m.Result;
}

template <size_t... N>
constexpr std::array<WNDPROC, sizeof...(N)> MakeThunks(std::index_sequence<N...>)
{
    return {&Thunk<N>...};
}

const std::array<WNDPROC, kInstances> kThunks = MakeThunks(std::make_index_sequence<kInstances>());

size_t GNextFree = 0;

}  // namespace

}  // namespace host::win

namespace host {

using namespace win;

WNDPROC MakeObjectInstance(TWndMethod Method)
{
    auto& slots = Slots();
    for (size_t i = 0; i < kInstances; ++i) {
        size_t k = (GNextFree + i) % kInstances;
        if (slots[k].Used)
            continue;
        slots[k].Used = true;
        slots[k].Method = std::move(Method);
        GNextFree = k + 1;
        return kThunks[k];
    }
    throw EOutOfResources("Too many window procedure instances");
}

void FreeObjectInstance(WNDPROC Instance)
{
    if (!Instance)
        return;
    auto& slots = Slots();
    for (size_t i = 0; i < kInstances; ++i)
        if (kThunks[i] == Instance) {
            slots[i].Method = nullptr;
            slots[i].Used = false;
            return;
        }
}

namespace {

LRESULT UtilWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND AllocateHWnd(TWndMethod Method)
{
    WNDCLASSEX wc;
    wc.lpfnWndProc = UtilWindowProc;
    wc.lpszClassName = "TPUtilWindow";
    RegisterSystemClass(&wc);
    HWND h = CreateWindowEx(WS_EX_TOOLWINDOW, "TPUtilWindow", "", WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, HInstance(), nullptr);
    if (h && Method)
        SetWindowLongPtr(h, GWL_WNDPROC, LONG_PTR(MakeObjectInstance(std::move(Method))));
    return h;
}

void DeallocateHWnd(HWND Wnd)
{
    TWnd* w = FindWnd(Wnd);
    if (!w)
        return;
    WNDPROC instance = w->Proc;
    DestroyWindow(Wnd);
    if (instance != UtilWindowProc)
        FreeObjectInstance(instance);
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!proc)
        return 0;
    ++SendDepth();
    struct Guard {
        ~Guard() { --SendDepth(); }
    } guard;
    return proc(hwnd, msg, wParam, lParam);
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProc(proc, hwnd, msg, wParam, lParam);
}

}  // namespace host
