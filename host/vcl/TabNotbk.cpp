#include "host/vcl/TabNotbk.h"

#include <algorithm>

#include "host/vcl/StdPublish.h"

namespace host {

namespace {

constexpr int FrameInset = 4;  // from the notebook's edge to a page
constexpr int RowStagger = 4;  // rows behind the front row shift right
constexpr int Rise = 2;        // the selected tab stands out of its row

} // namespace

TTabbedNotebook::TTabbedNotebook(TComponent* AOwner) : TPageHost(AOwner)
{
    FControlStyle += csOpaque;
    // OnClick reports a change of page by a tab click, not every click.
    FControlStyle -= csClickEvents;
    FTabFont = std::make_unique<TFont>();
    FTabFont->OnChange = TNotifyEvent(this, &TTabbedNotebook::TabFontChanged);
    SetBounds(0, 0, 300, 250);
    SetColor(clBtnFace);
    SetTabStop(true);
    GetPages()->Add("Default");
}

TPage* TTabbedNotebook::CreatePage() { return new TTabPage(this); }

void TTabbedNotebook::TabFontChanged(TObject*)
{
    Realign();
    Invalidate();
}

void TTabbedNotebook::SetTabsPerRow(int Value)
{
    Value = std::max(Value, 1);
    if (FTabsPerRow == Value) return;
    FTabsPerRow = Value;
    Realign();
    Invalidate();
}

int TTabbedNotebook::GetRowCount() const
{
    return std::max(1, (GetPageCount() + FTabsPerRow - 1) / FTabsPerRow);
}

int TTabbedNotebook::RowHeight()
{
    TCanvas* c = GetCanvas();
    if (!HandleAllocated()) {
        if (!FMeasure) FMeasure = std::make_unique<TBitmap>();
        c = FMeasure->GetCanvas();
    }
    c->SetFont(FTabFont.get());
    return c->TextHeight("Ag") + 6;
}

int TTabbedNotebook::TabAreaHeight() { return GetRowCount() * RowHeight() + Rise; }

void TTabbedNotebook::AdjustClientRect(TRect& Rect)
{
    inherited::AdjustClientRect(Rect);
    Rect.top += TabAreaHeight() + FrameInset;
    InflateRect(&Rect, -FrameInset, 0);
    Rect.bottom -= FrameInset;
    if (Rect.bottom < Rect.top) Rect.bottom = Rect.top;
}

TRect TTabbedNotebook::GetTabRect(int Index)
{
    if (Index < 0 || Index >= GetPageCount()) return TRect{0, 0, 0, 0};
    int rows = GetRowCount();
    int selRow = std::max(FPageIndex, 0) / FTabsPerRow;
    int row = Index / FTabsPerRow, col = Index % FTabsPerRow;
    // The selected tab's row comes to the front, next to the page.
    int visual = (row - selRow + rows) % rows;
    int rowHeight = RowHeight();
    int bottom = TabAreaHeight() - visual * rowHeight;
    int width = std::max(1, (GetClientWidth() - 4 - (rows - 1) * RowStagger) / FTabsPerRow);
    int left = 2 + visual * RowStagger + col * width;
    TRect r{left, bottom - rowHeight, left + width, bottom};
    // Covering the two lines of the page frame joins the selected tab to its page.
    if (Index == FPageIndex) r = TRect{r.left - 2, r.top - Rise, r.right + 2, r.bottom + 2};
    return r;
}

int TTabbedNotebook::TabAtPos(const TPoint& Pos)
{
    auto inside = [&](const TRect& r) { return Pos.x >= r.left && Pos.x < r.right && Pos.y >= r.top && Pos.y < r.bottom; };
    if (FPageIndex >= 0 && inside(GetTabRect(FPageIndex))) return FPageIndex;
    for (int i = 0; i < GetPageCount(); ++i)
        if (inside(GetTabRect(i))) return i;
    return -1;
}

bool TTabbedNotebook::CanChange(int NewIndex)
{
    bool allow = true;
    OnChange(this, NewIndex, allow);
    return allow;
}

void TTabbedNotebook::PageChanged()
{
    // Rows may have swapped places: the page area stays, the tabs move.
    Invalidate();
}

void TTabbedNotebook::PagesChanged()
{
    Realign();
    Invalidate();
}

void TTabbedNotebook::SelectNext(bool Direction)
{
    int count = GetPageCount();
    if (count < 2) return;
    int next = Direction ? (FPageIndex + 1) % count : (FPageIndex <= 0 ? count - 1 : FPageIndex - 1);
    SetPageIndex(next);
}

void TTabbedNotebook::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    inherited::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    int index = TabAtPos(TPoint{X, Y});
    if (index < 0) return;
    if (CanFocus()) SetFocus();
    int before = FPageIndex;
    SetPageIndex(index);
    if (FPageIndex != before) Click();
}

void TTabbedNotebook::KeyDown(WORD& Key, TShiftState Shift)
{
    inherited::KeyDown(Key, Shift);
    if (Key == VK_LEFT || Key == VK_RIGHT) {
        SelectNext(Key == VK_RIGHT);
        Key = 0;
    }
}

void TTabbedNotebook::Resize()
{
    inherited::Resize();
    Invalidate();
}

void TTabbedNotebook::CMDialogKey(TMessage& Message)
{
    bool inside = Focused() || ContainsControl(FindControl(GetFocus()));
    if (inside && WORD(Message.WParam) == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        SelectNext(GetKeyState(VK_SHIFT) >= 0);
        Message.Result = 1;
        return;
    }
    inherited::Dispatch(Message);
}

void TTabbedNotebook::WMSetFocus(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

void TTabbedNotebook::WMKillFocus(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

void TTabbedNotebook::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

// ---- Painting -----------------------------------------------------------------------------------

void TTabbedNotebook::PaintTab(TCanvas* C, int Index)
{
    TRect r = GetTabRect(Index);
    bool selected = Index == FPageIndex;
    HDC dc = C->GetHandle();
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(GetColor());
    C->FillRect(r);
    // Rounded top corners: white left and top, black and shadow on the right.
    C->GetPen()->SetColor(clBtnHighlight);
    C->Polyline({{r.left, r.bottom - 1}, {r.left, r.top + 2}, {r.left + 2, r.top}, {r.right - 2, r.top}});
    C->GetPen()->SetColor(clBlack);
    C->Polyline({{r.right - 2, r.top + 1}, {r.right - 1, r.top + 2}, {r.right - 1, r.bottom}});
    C->GetPen()->SetColor(clBtnShadow);
    C->MoveTo(r.right - 2, r.top + 2);
    C->LineTo(r.right - 2, r.bottom);
    const std::string& text = FPages[Index]->GetCaption();
    C->SetFont(FTabFont.get());
    C->GetBrush()->SetStyle(bsClear);
    RECT t{r.left + 3, r.top + 2, r.right - 3, r.bottom - (selected ? 1 : 0)};
    if (!GetEnabled()) C->GetFont()->SetColor(clGrayText);
    DrawText(dc, text.c_str(), int(text.size()), &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    C->GetBrush()->SetStyle(bsSolid);
    if (selected && Focused()) {
        int w = std::min<int>(C->TextWidth(text) + 4, t.right - t.left);
        int h = C->TextHeight(text) + 2;
        int cx = (t.left + t.right) / 2, cy = (t.top + t.bottom) / 2;
        RECT f{cx - w / 2, cy - h / 2, cx - w / 2 + w, cy - h / 2 + h};
        DrawFocusRect(dc, &f);
    }
}

void TTabbedNotebook::Paint()
{
    TCanvas* c = GetCanvas();
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(GetClientRect());
    RECT frame{0, TabAreaHeight(), GetClientWidth(), GetClientHeight()};
    DrawEdge(c->GetHandle(), &frame, EDGE_RAISED, BF_RECT);
    for (int i = 0; i < GetPageCount(); ++i)
        if (i != FPageIndex) PaintTab(c, i);
    // The selected tab last: it covers its neighbours and the frame's top line.
    if (FPageIndex >= 0 && FPageIndex < GetPageCount()) PaintTab(c, FPageIndex);
}

HOST_MESSAGE_MAP(TTabbedNotebook)
{
    M(CM_DIALOGKEY, &TTabbedNotebook::CMDialogKey);
    M(WM_SETFOCUS, &TTabbedNotebook::WMSetFocus);
    M(WM_KILLFOCUS, &TTabbedNotebook::WMKillFocus);
    M(WM_GETDLGCODE, &TTabbedNotebook::WMGetDlgCode);
}

// ---- Published properties -----------------------------------------------------------------------

HOST_PUBLISHED(TTabPage)
{
    P.Property("Caption", &TTabPage::GetCaption, &TTabPage::SetCaption);
}

HOST_PUBLISHED(TTabbedNotebook)
{
    HOST_PUBLISH_CONTROL_LOOK(TTabbedNotebook);
    HOST_PUBLISH_MOUSE_EVENTS(TTabbedNotebook);
    HOST_PUBLISH_FOCUS(TTabbedNotebook);
    P.Property("PageIndex", &TTabbedNotebook::GetPageIndex, &TTabbedNotebook::SetPageIndex).Default(0);
    P.Property("Pages", &TTabbedNotebook::GetPages, &TTabbedNotebook::SetPages).Stored(false);
    P.Property("TabFont", &TTabbedNotebook::GetTabFont, &TTabbedNotebook::SetTabFont);
    P.Property("TabsPerRow", &TTabbedNotebook::GetTabsPerRow, &TTabbedNotebook::SetTabsPerRow).Default(3);
    P.Property("OnChange", &TTabbedNotebook::OnChange);
}

HOST_REGISTER_CLASSES(TTabPage, TTabbedNotebook);

} // namespace host
