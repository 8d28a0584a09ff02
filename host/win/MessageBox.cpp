// MessageBox: a real modal window with an icon, the text and push buttons,
// answered by clicks, Enter and Escape (or by a test's modal hook).
#include "host/gdi/WinText.h"
#include "host/win/Modal.h"
#include "host/win/Screen.h"
#include "host/win/WinInternal.h"

#include <algorithm>
#include <memory>

namespace host::win {

namespace {

constexpr const char* kBoxClass = "#32770";
constexpr const char* kButtonClass = "Button";
constexpr int kButtonW = 75, kButtonH = 23, kGap = 6, kMargin = 12, kIcon = 32;

struct TBoxData {
    std::string Text;
    UINT Type = 0;
    int Result = 0;
    bool Done = false;
    int DefaultId = IDOK;
    int CancelId = 0;  // what Escape and the close button answer; 0: they do nothing
};

HFONT DialogFont()
{
    static HFONT font = [] {
        LOGFONT lf;
        lf.lfHeight = -11;
        lf.lfWeight = FW_NORMAL;
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "MS Sans Serif");
        return CreateFontIndirect(&lf);
    }();
    return font;
}

TBoxData* BoxData(HWND box) { return reinterpret_cast<TBoxData*>(GetWindowLongPtr(box, GWL_USERDATA)); }

void Answer(HWND box, int id)
{
    if (TBoxData* d = BoxData(box); d && !d->Done) {
        d->Result = id;
        d->Done = true;
    }
}

// ---- Push buttons ----

bool Pressed(HWND b) { return GetWindowLongPtr(b, GWL_USERDATA) != 0; }

void SetPressed(HWND b, bool pressed)
{
    if (Pressed(b) == pressed)
        return;
    SetWindowLongPtr(b, GWL_USERDATA, pressed);
    InvalidateRect(b, nullptr, FALSE);
}

void Clicked(HWND b)
{
    HWND parent = GetParent(b);
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(b), BN_CLICKED), LPARAM(b));
}

void PaintButton(HWND b)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(b, &ps);
    RECT r;
    GetClientRect(b, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    bool focused = GetFocus() == b;
    HWND box = GetParent(b);
    TBoxData* d = BoxData(box);
    bool isDefault = focused || (d && GetDlgCtrlID(b) == d->DefaultId && !IsChild(box, GetFocus()));
    RECT e = r;
    if (isDefault) {
        FrameRect(dc, &e, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&e, -1, -1);
    }
    DrawEdge(dc, &e, Pressed(b) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    char text[64] = {};
    GetWindowText(b, text, int(sizeof text));
    HGDIOBJ old = SelectObject(dc, DialogFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT tr = r;
    if (Pressed(b))
        OffsetRect(&tr, 1, 1);
    DrawText(dc, text, -1, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    if (focused) {
        RECT f = r;
        InflateRect(&f, -4, -4);
        DrawFocusRect(dc, &f);
    }
    EndPaint(b, &ps);
}

void MoveFocus(HWND b, int step)
{
    HWND box = GetParent(b);
    std::vector<HWND> buttons;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        buttons.push_back(c);
    auto it = std::find(buttons.begin(), buttons.end(), b);
    if (it == buttons.end() || buttons.empty())
        return;
    long i = (long(it - buttons.begin()) + step + long(buttons.size())) % long(buttons.size());
    SetFocus(buttons[size_t(i)]);
}

LRESULT KeyDown(HWND b, WPARAM vk)
{
    HWND box = GetParent(b);
    TBoxData* d = BoxData(box);
    switch (vk) {
    case VK_SPACE: Clicked(b); return 0;
    case VK_RETURN: Clicked(b); return 0;
    case VK_ESCAPE:
        if (d && d->CancelId)
            SendMessage(box, WM_COMMAND, MAKEWPARAM(d->CancelId, BN_CLICKED), 0);
        return 0;
    case VK_TAB: MoveFocus(b, (GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1); return 0;
    case VK_RIGHT:
    case VK_DOWN: MoveFocus(b, 1); return 0;
    case VK_LEFT:
    case VK_UP: MoveFocus(b, -1); return 0;
    default: return 0;
    }
}

LRESULT ButtonProc(HWND b, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: PaintButton(b); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(b);
        SetCapture(b);
        SetPressed(b, true);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == b) {
            RECT r;
            GetClientRect(b, &r);
            SetPressed(b, PtInRect(&r, PointFromLParam(lParam)));
        }
        return 0;
    case WM_LBUTTONUP: {
        bool click = GetCapture() == b && Pressed(b);
        ReleaseCapture();
        SetPressed(b, false);
        if (click)
            Clicked(b);
        return 0;
    }
    case WM_CAPTURECHANGED: SetPressed(b, false); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(b, nullptr, FALSE); return 0;
    case WM_KEYDOWN: return KeyDown(b, wParam);
    case WM_GETDLGCODE: return DLGC_BUTTON;
    default: return DefWindowProc(b, msg, wParam, lParam);
    }
}

// ---- The box ----

void PaintIcon(HDC dc, UINT type, RECT r)
{
    UINT icon = type & MB_ICONMASK;
    if (!icon)
        return;
    COLORREF fill = icon == MB_ICONHAND ? RGB(255, 0, 0) : icon == MB_ICONEXCLAMATION ? RGB(255, 255, 0) : RGB(0, 0, 255);
    const char* mark = icon == MB_ICONHAND ? "X" : icon == MB_ICONQUESTION ? "?" : icon == MB_ICONEXCLAMATION ? "!" : "i";
    HBRUSH br = CreateSolidBrush(fill);
    HGDIOBJ oldBrush = SelectObject(dc, br);
    if (icon == MB_ICONEXCLAMATION) {
        POINT tri[3] = {{(r.left + r.right) / 2, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
        Polygon(dc, tri, 3);
    } else {
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
    }
    SelectObject(dc, oldBrush);
    DeleteObject(br);
    LOGFONT lf;
    lf.lfHeight = -20;
    lf.lfWeight = FW_BOLD;
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Arial");
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, icon == MB_ICONEXCLAMATION ? RGB(0, 0, 0) : RGB(255, 255, 255));
    DrawText(dc, mark, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

int TextLeft(UINT type) { return kMargin + ((type & MB_ICONMASK) ? kIcon + kMargin : 0); }

void PaintBox(HWND box)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    if (TBoxData* d = BoxData(box)) {
        PaintIcon(dc, d->Type, RECT{kMargin, kMargin, kMargin + kIcon, kMargin + kIcon});
        RECT client;
        GetClientRect(box, &client);
        RECT tr{TextLeft(d->Type), kMargin, client.right - kMargin, client.bottom - kButtonH - 2 * kMargin};
        HGDIOBJ old = SelectObject(dc, DialogFont());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawText(dc, d->Text.c_str(), int(d->Text.size()), &tr, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, old);
    }
    EndPaint(box, &ps);
}

LRESULT BoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: PaintBox(box); return 0;
    case WM_COMMAND: Answer(box, LOWORD(wParam)); return 0;
    case WM_CLOSE:
        if (TBoxData* d = BoxData(box); d && d->CancelId)
            Answer(box, d->CancelId);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            TBoxData* d = BoxData(box);
            HWND def = d ? GetDlgItem(box, d->DefaultId) : nullptr;
            if (def && !IsChild(box, GetFocus()))
                SetFocus(def);
            return 0;
        }
        break;
    default: break;
    }
    return DefWindowProc(box, msg, wParam, lParam);
}

void RegisterClasses()
{
    WNDCLASSEX wc;
    wc.lpfnWndProc = BoxProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_BTNFACE + 1));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kBoxClass;
    RegisterSystemClass(&wc);
    wc.lpfnWndProc = ButtonProc;
    wc.lpszClassName = kButtonClass;
    RegisterSystemClass(&wc);
}

struct TButtonDef {
    int Id;
    const char* Caption;
};

std::vector<TButtonDef> ButtonsOf(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    default: return {{IDOK, "OK"}};
    }
}

int CancelOf(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OK: return IDOK;  // a lone OK answers Escape and the close button too
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL: return IDCANCEL;
    default: return 0;
    }
}

SIZE MeasureText(const std::string& text, int maxWidth)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, DialogFont());
    RECT r{0, 0, maxWidth, 0};
    DrawText(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteDC(dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// Creates the box, centred on the screen, with its buttons.
HWND CreateBox(HWND owner, TBoxData& data, LPCSTR caption, const std::vector<TButtonDef>& buttons)
{
    SIZE screen = GetScreenSize();
    SIZE text = MeasureText(data.Text, screen.cx * 2 / 3);
    int buttonsW = int(buttons.size()) * kButtonW + int(buttons.size() - 1) * kGap;
    int clientW = std::max(TextLeft(data.Type) + text.cx + kMargin, buttonsW + 2 * kMargin);
    int textH = std::max<int>(text.cy, (data.Type & MB_ICONMASK) ? kIcon : 0);
    int clientH = kMargin + textH + kMargin + kButtonH + kMargin;
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME | WS_CLIPCHILDREN;
    RECT r{0, 0, clientW, clientH};
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_DLGMODALFRAME);
    int w = r.right - r.left, h = r.bottom - r.top;
    HWND box = CreateWindowEx(WS_EX_DLGMODALFRAME | ((data.Type & MB_TOPMOST) ? WS_EX_TOPMOST : 0),
                              kBoxClass, caption ? caption : "Error", style, (screen.cx - w) / 2,
                              (screen.cy - h) / 2, w, h, owner, nullptr, HInstance(), nullptr);
    if (!box)
        return nullptr;
    SetWindowLongPtr(box, GWL_USERDATA, LONG_PTR(&data));
    int x = (clientW - buttonsW) / 2, y = clientH - kMargin - kButtonH;
    for (const TButtonDef& b : buttons) {
        std::string label;
        for (const char* p = b.Caption; *p; ++p)
            if (*p != '&')
                label += *p;
        CreateWindowEx(0, kButtonClass, label.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, kButtonW,
                       kButtonH, box, reinterpret_cast<HMENU>(uintptr_t(b.Id)), HInstance(), nullptr);
        x += kButtonW + kGap;
    }
    return box;
}

}  // namespace

}  // namespace host::win

namespace host {

using namespace win;

HWND GetDlgItem(HWND dialog, int id)
{
    TWnd* w = FindWnd(dialog);
    if (!w)
        return nullptr;
    for (TWnd* c : w->Children)
        if (c->Id == id)
            return c->Handle;
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd)
{
    TWnd* w = FindWnd(hwnd);
    return w && (w->Style & WS_CHILD) ? int(w->Id) : 0;
}

bool GetMessageBoxContent(HWND box, std::string& text, UINT& type)
{
    char cls[16] = {};
    if (!IsWindow(box) || GetClassName(box, cls, int(sizeof cls)) == 0 || std::string(cls) != kBoxClass) return false;
    TBoxData* d = BoxData(box);
    if (!d) return false;
    text = d->Text;
    type = d->Type;
    return true;
}

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    RegisterClasses();
    TBoxData data;
    data.Text = text ? text : "";
    data.Type = type;
    std::vector<TButtonDef> buttons = ButtonsOf(type);
    size_t def = std::min<size_t>((type & MB_DEFMASK) >> 8, buttons.size() - 1);
    data.DefaultId = buttons[def].Id;
    data.CancelId = CancelOf(type);
    HWND previous = GetActiveWindow();
    if (owner && !IsWindow(owner))
        owner = nullptr;
    HWND box = CreateBox(owner, data, caption, buttons);
    if (!box)
        return 0;
    std::vector<HWND> disabled = DisableTaskWindows(box);
    // Whatever ends the loop (an answer or a failure), the box goes and the
    // other windows come back.
    struct Cleanup {
        HWND Box;
        std::vector<HWND>& Disabled;
        HWND Previous;
        ~Cleanup()
        {
            EnableTaskWindows(Disabled);
            if (IsWindow(Box)) {
                SetWindowLongPtr(Box, GWL_USERDATA, 0);
                DestroyWindow(Box);
            }
            if (Previous && IsWindow(Previous) && IsWindowVisible(Previous))
                SetActiveWindow(Previous);
        }
    } cleanup{box, disabled, previous};
    ShowWindow(box, SW_SHOWNORMAL);
    MessageBeep(type & MB_ICONMASK);
    RunModalLoop(box, [&] { return data.Done || !IsWindow(box); });
    return data.Done ? data.Result : 0;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    return MessageBox(owner, text, caption, type);
}

}  // namespace host
