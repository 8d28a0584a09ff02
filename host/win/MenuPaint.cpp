// Menu layout and painting in the classic look: popups with check marks,
// submenu arrows, separators, shortcut texts and columns; the menu bar.
#include "host/gdi/WinText.h"
#include "host/win/MenuInternal.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace host::win {

namespace {

constexpr int kFrame = 3;         // raised edge plus one line of menu colour
constexpr int kItemHeight = 18;
constexpr int kSeparatorHeight = 9;
constexpr int kCheckColumn = 18;  // check marks live left of the label
constexpr int kArrowColumn = 18;  // submenu arrows right of everything
constexpr int kShortCutGap = 16;
constexpr int kBarHeight = 19;
constexpr int kBarPad = 7;

SIZE TextSize(HDC dc, const std::string& text)
{
    // '&' marks the accelerator and takes no room; "&&" is one ampersand.
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    SIZE s{};
    GetTextExtentPoint32(dc, shown.c_str(), int(shown.size()), &s);
    return s;
}

void FillSys(HDC dc, RECT r, int colour) { FillRect(dc, &r, GetSysColorBrush(colour)); }

void DrawLabel(HDC dc, const std::string& text, RECT r, UINT align, COLORREF colour)
{
    SetTextColor(dc, colour);
    DrawText(dc, text.c_str(), int(text.size()), &r, align | DT_SINGLELINE | DT_VCENTER);
}

// Text in the item's colours; disabled text is embossed unless selected.
void DrawItemText(HDC dc, const std::string& text, RECT r, UINT align, bool disabled, bool selected)
{
    if (disabled && !selected) {
        RECT shifted = r;
        OffsetRect(&shifted, 1, 1);
        DrawLabel(dc, text, shifted, align, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawLabel(dc, text, r, align, GetSysColor(COLOR_BTNSHADOW));
        return;
    }
    int colour = selected ? (disabled ? COLOR_GRAYTEXT : COLOR_HIGHLIGHTTEXT) : COLOR_MENUTEXT;
    DrawLabel(dc, text, r, align, GetSysColor(colour));
}

void SolidRect(HDC dc, int l, int t, int r, int b, COLORREF c)
{
    HBRUSH br = CreateSolidBrush(c);
    RECT rc{l, t, r, b};
    FillRect(dc, &rc, br);
    DeleteObject(br);
}

// A tick seven pixels wide, three pixels thick, centred in the box.
void DrawCheck(HDC dc, RECT box, COLORREF c)
{
    int x = (box.left + box.right) / 2 - 3, y = (box.top + box.bottom) / 2 - 1;
    for (int i = 0; i < 7; ++i) {
        int top = i < 3 ? y + i : y + 4 - i;
        SolidRect(dc, x + i, top, x + i + 1, top + 3, c);
    }
}

void DrawRadio(HDC dc, RECT box, COLORREF c)
{
    int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    static const int half[] = {1, 2, 3, 3, 2, 1};
    for (int i = 0; i < 6; ++i)
        SolidRect(dc, cx - half[i], cy - 3 + i, cx + half[i], cy - 2 + i, c);
}

void DrawArrow(HDC dc, RECT box, COLORREF c)
{
    int x = (box.left + box.right) / 2 - 2, cy = (box.top + box.bottom) / 2;
    for (int i = 0; i < 4; ++i)
        SolidRect(dc, x + i, cy - 3 + i, x + i + 1, cy + 4 - i, c);
}

struct TColumn {
    int Label = 0;
    int ShortCut = 0;
    bool Arrow = false;
    int Height = 0;
};

int ItemHeight(const TMenuItemRec& it) { return it.IsSeparator() ? kSeparatorHeight : kItemHeight; }

int ColumnWidth(const TColumn& c)
{
    return kCheckColumn + c.Label + (c.ShortCut ? kShortCutGap + c.ShortCut : 0) + kArrowColumn;
}

void PaintPopupItem(HDC dc, const TMenuItemRec& it, RECT r, bool selected, const TPopupLayout& layout)
{
    if (it.IsSeparator()) {
        RECT line{r.left + 1, (r.top + r.bottom) / 2 - 1, r.right - 1, (r.top + r.bottom) / 2 + 1};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    FillSys(dc, r, selected ? COLOR_HIGHLIGHT : COLOR_MENU);
    bool disabled = it.IsDisabled();
    COLORREF ink = GetSysColor(selected ? (disabled ? COLOR_GRAYTEXT : COLOR_HIGHLIGHTTEXT)
                                        : (disabled ? COLOR_BTNSHADOW : COLOR_MENUTEXT));
    RECT check{r.left, r.top, r.left + kCheckColumn, r.bottom};
    if (it.IsChecked()) {
        if (disabled && !selected) {
            RECT shifted = check;
            OffsetRect(&shifted, 1, 1);
            (it.Type & MFT_RADIOCHECK) ? DrawRadio(dc, shifted, GetSysColor(COLOR_BTNHIGHLIGHT))
                                       : DrawCheck(dc, shifted, GetSysColor(COLOR_BTNHIGHLIGHT));
        }
        (it.Type & MFT_RADIOCHECK) ? DrawRadio(dc, check, ink) : DrawCheck(dc, check, ink);
    }
    HFONT font = MenuFont((it.State & MFS_DEFAULT) != 0);
    HGDIOBJ old = SelectObject(dc, font);
    RECT label{r.left + kCheckColumn, r.top, r.left + kCheckColumn + layout.TextWidth, r.bottom};
    DrawItemText(dc, ItemLabel(it), label, DT_LEFT, disabled, selected);
    std::string sc = ItemShortCut(it);
    if (!sc.empty()) {
        RECT right{label.right, r.top, r.right - kArrowColumn, r.bottom};
        DrawItemText(dc, sc, right, DT_RIGHT | DT_NOPREFIX, disabled, selected);
    }
    SelectObject(dc, old);
    if (it.Sub)
        DrawArrow(dc, RECT{r.right - kArrowColumn, r.top, r.right, r.bottom}, ink);
}

}  // namespace

HFONT MenuFont(bool bold)
{
    static HFONT fonts[2] = {};
    HFONT& f = fonts[bold ? 1 : 0];
    if (!f) {
        LOGFONT lf;
        lf.lfHeight = -11;
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "MS Sans Serif");
        f = CreateFontIndirect(&lf);
    }
    return f;
}

std::string ItemLabel(const TMenuItemRec& item)
{
    size_t tab = item.Text.find('\t');
    return tab == std::string::npos ? item.Text : item.Text.substr(0, tab);
}

std::string ItemShortCut(const TMenuItemRec& item)
{
    size_t tab = item.Text.find('\t');
    return tab == std::string::npos ? std::string() : item.Text.substr(tab + 1);
}

char ItemAccel(const TMenuItemRec& item)
{
    std::string label = ItemLabel(item);
    for (size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != '&')
            continue;
        if (label[i + 1] != '&')
            return char(std::toupper(static_cast<unsigned char>(label[i + 1])));
        ++i;
    }
    return 0;
}

TPopupLayout LayoutPopup(TMenuRec* menu)
{
    TPopupLayout out;
    HDC dc = CreateCompatibleDC(nullptr);
    std::vector<TColumn> cols(1);
    out.Column.resize(menu->Items.size());
    for (size_t i = 0; i < menu->Items.size(); ++i) {
        const TMenuItemRec& it = menu->Items[i];
        if (it.StartsColumn() && i > 0)
            cols.emplace_back();
        TColumn& c = cols.back();
        out.Column[i] = int(cols.size()) - 1;
        c.Height += ItemHeight(it);
        if (it.IsSeparator())
            continue;
        HGDIOBJ old = SelectObject(dc, MenuFont((it.State & MFS_DEFAULT) != 0));
        c.Label = std::max<int>(c.Label, TextSize(dc, ItemLabel(it)).cx);
        std::string sc = ItemShortCut(it);
        if (!sc.empty())
            c.ShortCut = std::max<int>(c.ShortCut, TextSize(dc, sc).cx);
        SelectObject(dc, old);
    }
    DeleteDC(dc);
    // One label width for the whole popup keeps the shortcut texts aligned
    // from column to column.
    int label = 0, shortcut = 0, height = 0;
    for (const TColumn& c : cols) {
        label = std::max(label, c.Label);
        shortcut = std::max(shortcut, c.ShortCut);
        height = std::max(height, c.Height);
    }
    out.TextWidth = label;
    TColumn uniform{label, shortcut, true, 0};
    int width = ColumnWidth(uniform);
    out.Items.resize(menu->Items.size());
    int x = kFrame, y = kFrame, col = 0;
    for (size_t i = 0; i < menu->Items.size(); ++i) {
        const TMenuItemRec& it = menu->Items[i];
        if (out.Column[i] != col) {
            col = out.Column[i];
            x += width;
            if (it.Type & MFT_MENUBARBREAK) {
                out.BarLines.push_back(x + 1);
                x += 4;
            }
            y = kFrame;
        }
        out.Items[i] = RECT{x, y, x + width, y + ItemHeight(it)};
        y += ItemHeight(it);
    }
    int cx = menu->Items.empty() ? 2 * kFrame + kCheckColumn : x + width + kFrame;
    out.Size = SIZE{cx, height + 2 * kFrame};
    return out;
}

void PaintPopup(HDC dc, TMenuRec* menu, const TPopupLayout& layout, int selected, RECT client)
{
    FillSys(dc, client, COLOR_MENU);
    RECT frame = client;
    DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);
    for (int x : layout.BarLines) {
        RECT line{x, kFrame, x + 2, client.bottom - kFrame};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
    }
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < menu->Items.size() && i < layout.Items.size(); ++i)
        PaintPopupItem(dc, menu->Items[i], layout.Items[i], int(i) == selected, layout);
}

std::vector<RECT> LayoutMenuBar(TMenuRec* menu, int width)
{
    std::vector<RECT> out;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, MenuFont());
    int x = 0, y = 0;
    for (const TMenuItemRec& it : menu->Items) {
        int w = it.IsSeparator() ? 8 : TextSize(dc, ItemLabel(it)).cx + 2 * kBarPad;
        // Items that do not fit wrap to a new row, as do explicit breaks.
        if (x > 0 && (x + w > width || it.StartsColumn())) {
            x = 0;
            y += kBarHeight;
        }
        out.push_back(RECT{x, y, x + w, y + kBarHeight});
        x += w;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return out;
}

int MenuBarHeightFor(TMenuRec* menu, int width)
{
    std::vector<RECT> items = LayoutMenuBar(menu, width);
    return items.empty() ? kBarHeight : items.back().bottom;
}

void PaintMenuBarItems(HDC dc, TMenuRec* menu, RECT bar, int selected, bool pushed)
{
    FillSys(dc, bar, COLOR_MENU);
    std::vector<RECT> items = LayoutMenuBar(menu, bar.right - bar.left);
    HGDIOBJ old = SelectObject(dc, MenuFont());
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < items.size(); ++i) {
        const TMenuItemRec& it = menu->Items[i];
        RECT r = items[i];
        OffsetRect(&r, bar.left, bar.top);
        if (it.IsSeparator())
            continue;
        bool on = int(i) == selected || (it.State & MFS_HILITE);
        if (on)
            DrawEdge(dc, &r, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        RECT text = r;
        if (on && pushed)
            OffsetRect(&text, 1, 1);
        DrawItemText(dc, ItemLabel(it), text, DT_CENTER, it.IsDisabled(), false);
    }
    SelectObject(dc, old);
}

}  // namespace host::win
