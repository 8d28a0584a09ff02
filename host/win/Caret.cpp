// The caret: one per program, owned by a window, drawn by inverting its
// rectangle and blinking on a timer. Painting hides it so that the paint
// and the inversion never mix.
#include "host/win/WinInternal.h"

namespace host::win {

namespace {

struct TCaret {
    HWND Wnd = nullptr;
    int Width = 1;
    int Height = 1;
    POINT Pos;
    int HideCount = 1;  // created hidden
    bool Drawn = false;
    bool BlinkOn = true;
    UINT_PTR Timer = 0;
    UINT BlinkTime = 530;
};

TCaret& Caret()
{
    static TCaret caret;
    return caret;
}

void Invert()
{
    TCaret& c = Caret();
    if (!IsWindow(c.Wnd))
        return;
    HDC dc = GetDC(c.Wnd);
    PatBlt(dc, c.Pos.x, c.Pos.y, c.Width, c.Height, DSTINVERT);
    ReleaseDC(c.Wnd, dc);
    c.Drawn = !c.Drawn;
}

bool ShouldShow()
{
    TCaret& c = Caret();
    return c.Wnd && c.HideCount == 0 && c.BlinkOn;
}

void Refresh()
{
    if (Caret().Drawn != ShouldShow())
        Invert();
}

void Blink(HWND, UINT, UINT_PTR, DWORD)
{
    TCaret& c = Caret();
    c.BlinkOn = !c.BlinkOn;
    Refresh();
}

// Shows the caret solid and starts a new blink period, as after a keystroke.
void Restart()
{
    TCaret& c = Caret();
    c.BlinkOn = true;
    if (c.Wnd)
        c.Timer = SetTimer(nullptr, c.Timer, c.BlinkTime, Blink);
    Refresh();
}

}  // namespace

void HideCaretForPaint(HWND wnd, bool hide)
{
    TCaret& c = Caret();
    if (c.Wnd != wnd)
        return;
    c.HideCount += hide ? 1 : -1;
    Refresh();
}

void CaretWindowGoing(HWND wnd)
{
    if (Caret().Wnd == wnd)
        DestroyCaret();
}

}  // namespace host::win

namespace host {

using namespace win;

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height)
{
    if (!IsWindow(hwnd))
        return FALSE;
    DestroyCaret();
    TCaret& c = Caret();
    c.Wnd = hwnd;
    c.Width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
    c.Height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
    c.Pos = POINT{};
    c.HideCount = 1;
    c.Drawn = false;
    return TRUE;
}

BOOL DestroyCaret()
{
    TCaret& c = Caret();
    if (!c.Wnd)
        return FALSE;
    if (c.Drawn)
        Invert();
    if (c.Timer)
        KillTimer(nullptr, c.Timer);
    UINT blink = c.BlinkTime;
    c = TCaret{};
    c.BlinkTime = blink;
    return TRUE;
}

BOOL ShowCaret(HWND hwnd)
{
    TCaret& c = Caret();
    if (!c.Wnd || (hwnd && hwnd != c.Wnd) || c.HideCount == 0)
        return FALSE;
    --c.HideCount;
    Restart();
    return TRUE;
}

BOOL HideCaret(HWND hwnd)
{
    TCaret& c = Caret();
    if (!c.Wnd || (hwnd && hwnd != c.Wnd))
        return FALSE;
    ++c.HideCount;
    Refresh();
    return TRUE;
}

BOOL SetCaretPos(int x, int y)
{
    TCaret& c = Caret();
    if (!c.Wnd)
        return FALSE;
    if (c.Drawn)
        Invert();
    c.Pos = POINT{x, y};
    Restart();
    return TRUE;
}

BOOL GetCaretPos(POINT* pt)
{
    if (!pt || !Caret().Wnd)
        return FALSE;
    *pt = Caret().Pos;
    return TRUE;
}

BOOL SetCaretBlinkTime(UINT ms)
{
    Caret().BlinkTime = ms ? ms : 530;
    return TRUE;
}

UINT GetCaretBlinkTime() { return Caret().BlinkTime; }

}  // namespace host
