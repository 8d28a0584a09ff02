// Cursors and icons: the standard shapes, shapes registered as resources,
// the current cursor and the cursor position; sounds that only count.
#include "host/gdi/Ico.h"
#include "host/rtl/Resources.h"
#include "host/win/WinInternal.h"

#include <cstdlib>
#include <deque>
#include <strings.h>

namespace host::win {

namespace {

struct TCursorRec {
    std::string Name;
    bool Icon = false;
    int HotX = 0;
    int HotY = 0;
    TImageData Image;
};

std::deque<TCursorRec>& Cursors()
{
    static std::deque<TCursorRec> cursors;
    return cursors;
}

TCursorRec* FindCursor(HICON h)
{
    for (TCursorRec& c : Cursors())
        if (reinterpret_cast<HICON>(&c) == h)
            return &c;
    return nullptr;
}

std::string ResName(LPCSTR name)
{
    return IS_INTRESOURCE(name) ? "#" + std::to_string(uintptr_t(name)) : std::string(name);
}

HICON Load(LPCSTR name, bool icon)
{
    if (!name)
        return nullptr;
    std::string key = (icon ? "icon:" : "cursor:") + ResName(name);
    for (TCursorRec& c : Cursors())
        if (strcasecmp(c.Name.c_str(), key.c_str()) == 0)
            return reinterpret_cast<HICON>(&c);
    TCursorRec rec;
    rec.Name = key;
    rec.Icon = icon;
    if (!IS_INTRESOURCE(name)) {
        auto data = FindResourceData(icon ? TResType::Icon : TResType::Cursor, name);
        if (!data)
            return nullptr;
        auto bytes = reinterpret_cast<const uint8_t*>(data->data());
        try {
            rec.Image = LoadIco(bytes, data->size(), 32, 32);
            auto entries = ListIcoEntries(bytes, data->size());
            if (!entries.empty()) {
                rec.HotX = entries.front().HotSpotX;
                rec.HotY = entries.front().HotSpotY;
            }
        } catch (...) {
            return nullptr;  // not a cursor file
        }
    }
    Cursors().push_back(std::move(rec));
    return reinterpret_cast<HICON>(&Cursors().back());
}

}  // namespace

int StandardCursorId(HICON cursor)
{
    TCursorRec* c = FindCursor(cursor);
    if (!c || c->Icon || c->Name.compare(0, 8, "cursor:#") != 0)
        return 0;
    return std::atoi(c->Name.c_str() + 8);
}

bool CursorImage(HICON cursor, TImageData& image, POINT& hotSpot)
{
    TCursorRec* c = FindCursor(cursor);
    if (!c || c->Image.Empty())
        return false;
    image = c->Image;
    hotSpot = POINT{c->HotX, c->HotY};
    return true;
}

}  // namespace host::win

namespace host {

using namespace win;

HCURSOR LoadCursor(HINSTANCE, LPCSTR name) { return Load(name, false); }
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) { return LoadCursor(instance, name); }
HICON LoadIcon(HINSTANCE, LPCSTR name) { return Load(name, true); }

HCURSOR SetCursor(HCURSOR cursor)
{
    HCURSOR old = State().CurrentCursor;
    if (old != cursor) {
        State().CurrentCursor = cursor;
        State().Backend->CursorChanged(cursor);
    }
    return old;
}

HCURSOR GetCursor() { return State().CurrentCursor; }

int ShowCursor(BOOL show) { return show ? ++State().CursorShow : --State().CursorShow; }

BOOL DestroyCursor(HCURSOR) { return TRUE; }  // loaded shapes are shared and live on
BOOL DestroyIcon(HICON) { return TRUE; }

BOOL GetIconInfo(HICON icon, ICONINFO* info)
{
    TCursorRec* c = FindCursor(icon);
    if (!c || !info)
        return FALSE;
    info->fIcon = c->Icon;
    info->xHotspot = DWORD(c->HotX);
    info->yHotspot = DWORD(c->HotY);
    info->hbmMask = nullptr;
    info->hbmColor = nullptr;
    if (!c->Image.Empty()) {
        info->hbmColor = CreateBitmap(c->Image.Width, c->Image.Height, 1, 32, nullptr);
        SetBitmapBits(info->hbmColor, DWORD(c->Image.Pixels.size() * 4), c->Image.Pixels.data());
    }
    return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon)
{
    TCursorRec* c = FindCursor(icon);
    if (!c)
        return FALSE;
    const TImageData& img = c->Image;
    for (int j = 0; j < img.Height; ++j)
        for (int i = 0; i < img.Width; ++i)
            if (img.AlphaAt(i, j) >= 128)
                SetPixelV(hdc, x + i, y + j, gdi::PixelToColor(img.Pixel(i, j)));
    return TRUE;
}

BOOL GetCursorPos(POINT* pt)
{
    if (!pt)
        return FALSE;
    *pt = State().Cursor;
    return TRUE;
}

// Moving the cursor is input: windows under it see a mouse move.
BOOL SetCursorPos(int x, int y)
{
    ScreenBackendHost().MouseMoveInput(POINT{x, y});
    State().Cursor = POINT{x, y};
    return TRUE;
}

UINT GetDoubleClickTime() { return State().DoubleClickTime; }

BOOL SetDoubleClickTime(UINT ms)
{
    State().DoubleClickTime = ms ? ms : 500;
    return TRUE;
}

BOOL MessageBeep(UINT type)
{
    ++State().BeepCount;
    State().LastBeep = type;
    return TRUE;
}

BOOL Beep(DWORD, DWORD) { return MessageBeep(0xFFFFFFFF); }


}  // namespace host
