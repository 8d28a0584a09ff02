// The combo box's field: painting (edges, drop-down button, the selected
// item or the edit text) and the editing of the text in the styles that
// have an edit part.
#include "host/gdi/WinText.h"
#include "host/vcl/StdListsComboState.h"
#include "host/vcl/StdListsWindow.h"

#include <algorithm>

namespace host::lists {

namespace {

constexpr int kEdge = 2;

int SelMin(const TComboState& S) { return std::min(S.SelStart, S.SelEnd); }
int SelMax(const TComboState& S) { return std::max(S.SelStart, S.SelEnd); }

int TextWidth(TComboState& S, HDC DC, int Chars)
{
    SIZE sz{};
    GetTextExtentPoint32(DC, S.Text.c_str(), std::clamp(Chars, 0, int(S.Text.size())), &sz);
    return sz.cx;
}

HDC FieldDC(TComboState& S, HGDIOBJ& Old)
{
    HDC dc = GetDC(S.Wnd);
    Old = S.Font ? SelectObject(dc, S.Font) : nullptr;
    return dc;
}

void ReleaseFieldDC(TComboState& S, HDC DC, HGDIOBJ Old)
{
    if (Old) SelectObject(DC, Old);
    ReleaseDC(S.Wnd, DC);
}

// Keeps the caret inside the field by scrolling the text sideways.
void ScrollToCaret(TComboState& S, HDC DC)
{
    RECT f = FieldRect(S);
    int width = f.right - f.left - 4;
    int x = TextWidth(S, DC, S.SelEnd);
    if (x - S.ScrollX > width) S.ScrollX = x - width;
    if (x < S.ScrollX) S.ScrollX = x;
    S.ScrollX = std::max(0, S.ScrollX);
}

void Changed(TComboState& S)
{
    PlaceCaret(S);
    InvalidateRect(S.Wnd, nullptr, FALSE);
    NotifyCombo(S, CBN_EDITUPDATE);
    NotifyCombo(S, CBN_EDITCHANGE);
}

void ReplaceSelection(TComboState& S, const std::string& With)
{
    std::string text = S.Text.substr(0, size_t(SelMin(S))) + With + S.Text.substr(size_t(SelMax(S)));
    if (S.Limit > 0 && int(text.size()) > S.Limit) return (void)MessageBeep(0);
    S.Text = text;
    S.SelStart = S.SelEnd = SelMin(S) + int(With.size());
    Changed(S);
}

HBRUSH FieldColors(TComboState& S, HDC DC)
{
    HBRUSH brush = HBRUSH(SendMessage(S.Wnd, WM_CTLCOLORLISTBOX, WPARAM(DC), LPARAM(S.Wnd)));
    if (brush) return brush;
    SetTextColor(DC, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(DC, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}

void DrawArrow(HDC DC, const RECT& R, bool Pushed, bool Enabled)
{
    int cx = (R.left + R.right) / 2 + (Pushed ? 1 : 0), cy = (R.top + R.bottom) / 2 - 1 + (Pushed ? 1 : 0);
    auto row = [&](COLORREF Colour, int Dx, int Dy) {
        HBRUSH b = CreateSolidBrush(Colour);
        for (int i = 0; i < 4; ++i) {
            RECT line{cx - 3 + i + Dx, cy - 1 + i + Dy, cx + 4 - i + Dx, cy + i + Dy};
            FillRect(DC, &line, b);
        }
        DeleteObject(b);
    };
    if (!Enabled) row(GetSysColor(COLOR_BTNHIGHLIGHT), 1, 1);
    row(GetSysColor(Enabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW), 0, 0);
}

void PaintButton(TComboState& S, HDC DC)
{
    RECT b = ButtonRect(S);
    FillRect(DC, &b, GetSysColorBrush(COLOR_BTNFACE));
    bool pushed = S.Dropped || S.ButtonDown;
    RECT edge = b;
    if (pushed) {
        HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW);
        FrameRect(DC, &edge, shadow);
    } else {
        DrawEdge(DC, &edge, EDGE_RAISED, BF_RECT);
    }
    DrawArrow(DC, b, pushed, IsWindowEnabled(S.Wnd));
}

void PaintListField(TComboState& S, HDC DC, const RECT& F, HBRUSH Back, bool Enabled)
{
    int index = int(SendMessage(S.List, LB_GETCURSEL, 0, 0));
    bool focused = S.Focused && !S.Dropped;
    if (S.Style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
        DRAWITEMSTRUCT dis;
        dis.CtlType = ODT_COMBOBOX;
        dis.CtlID = UINT(GetDlgCtrlID(S.Wnd));
        dis.itemID = UINT(index);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = ODS_COMBOBOXEDIT | (focused ? ODS_SELECTED | ODS_FOCUS : 0) | (Enabled ? 0 : ODS_DISABLED);
        dis.hwndItem = S.Wnd;
        dis.hDC = DC;
        dis.rcItem = F;
        dis.itemData = index >= 0 ? ULONG_PTR(SendMessage(S.List, LB_GETITEMDATA, WPARAM(index), 0)) : 0;
        FillRect(DC, &F, Back);
        int saved = SaveDC(DC);
        SendMessage(S.Notify ? S.Notify : S.Wnd, WM_DRAWITEM, dis.CtlID, LPARAM(&dis));
        RestoreDC(DC, saved);
        return;
    }
    RECT inner = F;
    InflateRect(&inner, -1, -1);
    FillRect(DC, &F, Back);
    if (focused) FillRect(DC, &inner, GetSysColorBrush(COLOR_HIGHLIGHT));
    if (index >= 0) {
        LRESULT len = SendMessage(S.List, LB_GETTEXTLEN, WPARAM(index), 0);
        std::string text(size_t(std::max<LRESULT>(0, len)) + 1, '\0');
        SendMessage(S.List, LB_GETTEXT, WPARAM(index), LPARAM(text.data()));
        text.resize(size_t(std::max<LRESULT>(0, len)));
        COLORREF colour = !Enabled ? GetSysColor(COLOR_GRAYTEXT)
                          : focused ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                    : GetTextColor(DC);
        SetTextColor(DC, colour);
        ExtTextOut(DC, inner.left + 1, inner.top, ETO_CLIPPED, &inner, text.c_str(), UINT(text.size()), nullptr);
    }
    if (focused) DrawFocusRect(DC, &inner);
}

void PaintEditField(TComboState& S, HDC DC, const RECT& F, HBRUSH Back, bool Enabled)
{
    FillRect(DC, &F, Back);
    ScrollToCaret(S, DC);
    int x0 = F.left + 2 - S.ScrollX, y = F.top + 1;
    COLORREF normal = Enabled ? GetTextColor(DC) : GetSysColor(COLOR_GRAYTEXT);
    SetTextColor(DC, normal);
    ExtTextOut(DC, x0, y, ETO_CLIPPED, &F, S.Text.c_str(), UINT(S.Text.size()), nullptr);
    if (!S.Focused || SelMin(S) == SelMax(S)) return;
    RECT sel{x0 + TextWidth(S, DC, SelMin(S)), F.top + 1, x0 + TextWidth(S, DC, SelMax(S)), F.bottom - 1};
    IntersectRect(&sel, &sel, &F);
    FillRect(DC, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(DC, GetSysColor(COLOR_HIGHLIGHTTEXT));
    ExtTextOut(DC, x0, y, ETO_CLIPPED, &sel, S.Text.c_str(), UINT(S.Text.size()), nullptr);
}

}  // namespace

RECT ButtonRect(const TComboState& S)
{
    RECT c;
    GetClientRect(S.Wnd, &c);
    if (ComboKind(S) == CBS_SIMPLE) return RECT{c.right, 0, c.right, 0};
    int w = GetSystemMetrics(SM_CXVSCROLL);
    return RECT{c.right - kEdge - w, kEdge, c.right - kEdge, std::max<LONG>(kEdge, c.bottom - kEdge)};
}

RECT FieldRect(const TComboState& S)
{
    RECT c;
    GetClientRect(S.Wnd, &c);
    RECT b = ButtonRect(S);
    if (ComboKind(S) == CBS_SIMPLE) return RECT{kEdge, kEdge, c.right - kEdge, kEdge + S.FieldHeight + 2};
    return RECT{kEdge, kEdge, b.left, b.bottom};
}

void PaintCombo(TComboState& S)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(S.Wnd, &ps);
    HGDIOBJ oldFont = S.Font ? SelectObject(dc, S.Font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    bool enabled = IsWindowEnabled(S.Wnd);
    HBRUSH back = FieldColors(S, dc);
    if (!enabled) back = GetSysColorBrush(COLOR_BTNFACE);
    RECT c;
    GetClientRect(S.Wnd, &c);
    RECT edge = c;
    if (ComboKind(S) == CBS_SIMPLE) edge.bottom = std::min<LONG>(c.bottom, S.FieldHeight + 6);
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    RECT f = FieldRect(S);
    if (HasEdit(S))
        PaintEditField(S, dc, f, back, enabled);
    else
        PaintListField(S, dc, f, back, enabled);
    if (ComboKind(S) != CBS_SIMPLE) PaintButton(S, dc);
    if (oldFont) SelectObject(dc, oldFont);
    EndPaint(S.Wnd, &ps);
}

void PlaceCaret(TComboState& S)
{
    if (!HasEdit(S) || !S.Focused) return;
    HGDIOBJ old;
    HDC dc = FieldDC(S, old);
    ScrollToCaret(S, dc);
    RECT f = FieldRect(S);
    SetCaretPos(f.left + 2 - S.ScrollX + TextWidth(S, dc, S.SelEnd), f.top + 1);
    ReleaseFieldDC(S, dc, old);
}

int EditPosFromX(TComboState& S, int X)
{
    HGDIOBJ old;
    HDC dc = FieldDC(S, old);
    RECT f = FieldRect(S);
    int x = X - (f.left + 2) + S.ScrollX, best = 0;
    for (int i = 0; i <= int(S.Text.size()); ++i) {
        int w = TextWidth(S, dc, i);
        if (w <= x) best = i;
        if (i > 0 && w > x) {
            // The nearer edge of the character under the point.
            if (x - TextWidth(S, dc, i - 1) > w - x) best = i;
            break;
        }
    }
    ReleaseFieldDC(S, dc, old);
    return best;
}

void EditMouse(TComboState& S, POINT P, bool Extend)
{
    int pos = EditPosFromX(S, P.x);
    if (!Extend) S.SelStart = pos;
    S.SelEnd = pos;
    PlaceCaret(S);
    InvalidateRect(S.Wnd, nullptr, FALSE);
}

void EditSetText(TComboState& S, const std::string& Text, bool SelectAll)
{
    S.Text = Text;
    S.SelStart = SelectAll ? 0 : int(Text.size());
    S.SelEnd = int(Text.size());
    S.ScrollX = 0;
    PlaceCaret(S);
    InvalidateRect(S.Wnd, nullptr, FALSE);
}

void EditChar(TComboState& S, char C)
{
    if (C == '\b') {
        if (SelMin(S) == SelMax(S)) {
            if (S.SelEnd == 0) return;
            S.SelStart = S.SelEnd - 1;
        }
        ReplaceSelection(S, "");
        return;
    }
    if (static_cast<unsigned char>(C) < ' ') return;
    ReplaceSelection(S, std::string(1, C));
}

bool EditKey(TComboState& S, int Vk)
{
    int n = int(S.Text.size());
    bool shift = GetKeyState(VK_SHIFT) < 0;
    int to;
    switch (Vk) {
    case VK_LEFT: to = (SelMin(S) != SelMax(S) && !shift) ? SelMin(S) : std::max(0, S.SelEnd - 1); break;
    case VK_RIGHT: to = (SelMin(S) != SelMax(S) && !shift) ? SelMax(S) : std::min(n, S.SelEnd + 1); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = n; break;
    case VK_DELETE:
        if (SelMin(S) == SelMax(S)) {
            if (S.SelEnd >= n) return true;
            S.SelStart = S.SelEnd + 1;
        }
        ReplaceSelection(S, "");
        return true;
    default: return false;
    }
    if (!shift) S.SelStart = to;
    S.SelEnd = to;
    PlaceCaret(S);
    InvalidateRect(S.Wnd, nullptr, FALSE);
    return true;
}

}  // namespace host::lists
