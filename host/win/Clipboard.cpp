// Movable global memory blocks and the clipboard that holds them.
#include "host/win/WinInternal.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <strings.h>

namespace host::win {

namespace {

struct TGlobal {
    std::vector<uint8_t> Bytes;
    int Locks = 0;
    bool Fixed = false;
};

std::map<uintptr_t, std::unique_ptr<TGlobal>>& Globals()
{
    static std::map<uintptr_t, std::unique_ptr<TGlobal>> globals;
    return globals;
}

uintptr_t GNextGlobal = 0x40000;

TGlobal* FindGlobal(HGLOBAL h)
{
    auto it = Globals().find(uintptr_t(h));
    return it == Globals().end() ? nullptr : it->second.get();
}

struct TClipboard {
    HWND OpenBy = nullptr;
    bool Open = false;
    HWND Owner = nullptr;
    std::vector<std::pair<UINT, HANDLE>> Data;  // in the order they were set
    std::vector<std::string> Formats;           // registered names, from 0xC000
    bool Changed = false;  // emptied or written since it was opened
};

TClipboard& Clip()
{
    static TClipboard clip;
    return clip;
}

void FreeData()
{
    for (auto& [format, h] : Clip().Data)
        if (format != CF_BITMAP && format != CF_PALETTE)
            GlobalFree(h);
        else if (h)
            DeleteObject(h);
    Clip().Data.clear();
}

std::optional<std::string> TextOf(const TClipboard& c)
{
    for (auto& [format, h] : c.Data) {
        if (format != CF_TEXT)
            continue;
        TGlobal* g = FindGlobal(h);
        if (!g)
            return std::nullopt;
        auto* bytes = reinterpret_cast<const char*>(g->Bytes.data());
        return std::string(bytes, strnlen(bytes, g->Bytes.size()));
    }
    return std::nullopt;
}

// Another program of the display copied something since: its text replaces
// what this program held, as if that program had emptied the clipboard.
void TakeForeignContents()
{
    std::optional<std::string> text = Backend().ForeignClipboardText();
    if (!text)
        return;
    TClipboard& c = Clip();
    if (c.Owner && IsWindow(c.Owner))
        SendMessage(c.Owner, WM_DESTROYCLIPBOARD, 0, 0);
    FreeData();
    c.Owner = nullptr;
    if (text->empty())
        return;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text->size() + 1);
    std::memcpy(FindGlobal(h)->Bytes.data(), text->data(), text->size());
    c.Data.emplace_back(CF_TEXT, h);
}

}  // namespace

}  // namespace host::win

namespace host {

using namespace win;

HGLOBAL GlobalAlloc(UINT flags, size_t bytes)
{
    auto g = std::make_unique<TGlobal>();
    g->Bytes.assign(std::max<size_t>(bytes, 1), 0);
    g->Fixed = !(flags & GMEM_MOVEABLE);
    // A fixed block's handle is its address, as callers of the platform expect.
    uintptr_t key = g->Fixed ? uintptr_t(g->Bytes.data()) : (GNextGlobal += 8);
    Globals()[key] = std::move(g);
    return reinterpret_cast<HGLOBAL>(key);
}

HGLOBAL GlobalReAlloc(HGLOBAL mem, size_t bytes, UINT flags)
{
    TGlobal* g = FindGlobal(mem);
    if (!g)
        return nullptr;
    if (!g->Fixed) {
        g->Bytes.resize(std::max<size_t>(bytes, 1), 0);
        return mem;
    }
    HGLOBAL n = GlobalAlloc(flags & ~GMEM_MOVEABLE, bytes);
    TGlobal* ng = FindGlobal(n);
    std::memcpy(ng->Bytes.data(), g->Bytes.data(), std::min(ng->Bytes.size(), g->Bytes.size()));
    GlobalFree(mem);
    return n;
}

LPVOID GlobalLock(HGLOBAL mem)
{
    TGlobal* g = FindGlobal(mem);
    if (!g)
        return nullptr;
    ++g->Locks;
    return g->Bytes.data();
}

BOOL GlobalUnlock(HGLOBAL mem)
{
    TGlobal* g = FindGlobal(mem);
    if (!g || g->Locks == 0)
        return FALSE;
    return --g->Locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL mem)
{
    auto it = Globals().find(uintptr_t(mem));
    if (it == Globals().end())
        return mem;  // failure returns the handle
    Globals().erase(it);
    return nullptr;
}

size_t GlobalSize(HGLOBAL mem)
{
    TGlobal* g = FindGlobal(mem);
    return g ? g->Bytes.size() : 0;
}

HGLOBAL GlobalHandle(LPCVOID p)
{
    for (auto& [k, g] : Globals())
        if (g->Bytes.data() == p)
            return reinterpret_cast<HGLOBAL>(k);
    return nullptr;
}

BOOL OpenClipboard(HWND owner)
{
    TClipboard& c = Clip();
    if (c.Open && c.OpenBy != owner)
        return FALSE;
    if (!c.Open)
        TakeForeignContents();
    c.Open = true;
    c.OpenBy = owner;
    c.Changed = false;
    return TRUE;
}

BOOL CloseClipboard()
{
    TClipboard& c = Clip();
    if (!c.Open)
        return FALSE;
    c.Open = false;
    c.OpenBy = nullptr;
    if (c.Changed) {
        c.Changed = false;
        Backend().ClipboardChanged(TextOf(c));
    }
    return TRUE;
}

BOOL EmptyClipboard()
{
    TClipboard& c = Clip();
    if (!c.Open)
        return FALSE;
    if (c.Owner && c.Owner != c.OpenBy && IsWindow(c.Owner))
        SendMessage(c.Owner, WM_DESTROYCLIPBOARD, 0, 0);
    FreeData();
    c.Owner = c.OpenBy;
    c.Changed = true;
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data)
{
    TClipboard& c = Clip();
    if (!c.Open || format == 0)
        return nullptr;
    c.Changed = true;
    for (auto& [f, h] : c.Data)
        if (f == format) {
            if (h != data)
                GlobalFree(h);
            h = data;
            return data;
        }
    c.Data.emplace_back(format, data);
    return data;
}

HANDLE GetClipboardData(UINT format)
{
    TClipboard& c = Clip();
    if (!c.Open)
        return nullptr;
    for (auto& [f, h] : c.Data)
        if (f == format)
            return h;
    return nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    if (!Clip().Open)
        TakeForeignContents();
    for (auto& [f, h] : Clip().Data)
        if (f == format)
            return TRUE;
    return FALSE;
}

UINT EnumClipboardFormats(UINT format)
{
    auto& d = Clip().Data;
    if (format == 0)
        return d.empty() ? 0 : d.front().first;
    for (size_t i = 0; i + 1 < d.size(); ++i)
        if (d[i].first == format)
            return d[i + 1].first;
    return 0;
}

int CountClipboardFormats()
{
    if (!Clip().Open)
        TakeForeignContents();
    return int(Clip().Data.size());
}

UINT RegisterClipboardFormat(LPCSTR name)
{
    if (!name || !*name)
        return 0;
    auto& f = Clip().Formats;
    for (size_t i = 0; i < f.size(); ++i)
        if (strcasecmp(f[i].c_str(), name) == 0)
            return UINT(0xC000 + i);
    f.emplace_back(name);
    return UINT(0xC000 + f.size() - 1);
}

int GetClipboardFormatName(UINT format, LPSTR buffer, int max)
{
    auto& f = Clip().Formats;
    if (format < 0xC000 || format - 0xC000 >= f.size() || !buffer || max <= 0)
        return 0;
    const std::string& s = f[format - 0xC000];
    int n = std::min<int>(int(s.size()), max - 1);
    std::memcpy(buffer, s.data(), size_t(n));
    buffer[n] = 0;
    return n;
}

HWND GetClipboardOwner() { return Clip().Owner; }
HWND GetOpenClipboardWindow() { return Clip().Open ? Clip().OpenBy : nullptr; }

}  // namespace host
