#include "host/vcl/Tabs.h"

#include <algorithm>

#include "host/rtl/SysUtils.h"
#include "host/vcl/StdPublish.h"

namespace host {

namespace {

constexpr int EdgeWidth = 9;      // the slanted side of a tab
constexpr int TextMargin = 4;     // between the slant and the caption
constexpr int ScrollerButton = 16;

bool Inside(const TRect& R, const TPoint& P) { return P.x >= R.left && P.x < R.right && P.y >= R.top && P.y < R.bottom; }

} // namespace

TTabSet::TTabSet(TComponent* AOwner) : TCustomControl(AOwner)
{
    // OnClick reports a change of tab (SetTabIndex), not every click.
    FControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
    FTabs = std::make_unique<TStringList>();
    FTabs->SetOnChange(TNotifyEvent(this, &TTabSet::TabsChanged));
    SetBounds(0, 0, 185, 21);
}

void TTabSet::TabsChanged(TObject*)
{
    // Removing tabs may leave the selection or the first tab past the end.
    int count = FTabs->GetCount();
    if (FTabIndex >= count) FTabIndex = count - 1;
    if (FFirstIndex >= count) FFirstIndex = std::max(0, count - 1);
    Invalidate();
}

// A stored TabIndex past the stored tabs selects the last one.
void TTabSet::Loaded()
{
    inherited::Loaded();
    FTabIndex = std::clamp(FTabIndex, -1, FTabs->GetCount() - 1);
}

bool TTabSet::CanChange(int NewIndex)
{
    bool allow = true;
    OnChange(this, NewIndex, allow);
    return allow;
}

void TTabSet::SetTabIndex(int Value)
{
    if (Value == FTabIndex) return;
    // While loading the tabs may not be there yet.
    if (GetComponentState().Contains(csLoading)) {
        FTabIndex = Value;
        return;
    }
    if (Value < -1 || Value >= FTabs->GetCount()) throw EInvalidOperation("Tab index out of bounds");
    if (!CanChange(Value)) return;
    FTabIndex = Value;
    if (FAutoScroll && Value >= 0) MakeVisible(Value);
    Invalidate();
    Click();
}

void TTabSet::SetFirstIndex(int Value)
{
    Value = std::clamp(Value, 0, std::max(0, FTabs->GetCount() - 1));
    if (FFirstIndex == Value) return;
    FFirstIndex = Value;
    Invalidate();
}

void TTabSet::MakeVisible(int Index)
{
    if (Index < FFirstIndex) {
        SetFirstIndex(Index);
        return;
    }
    // Move the first tab on until Index fits.
    while (FFirstIndex < Index) {
        Layout();
        if (Index < FFirstIndex + int(FPlaces.size())) return;
        ++FFirstIndex;
    }
    Invalidate();
}

#define TABSET_SETTER(Name, Type)                                                                  \
    void TTabSet::Set##Name(Type Value)                                                            \
    {                                                                                              \
        if (F##Name == Value) return;                                                              \
        F##Name = Value;                                                                           \
        Invalidate();                                                                              \
    }
TABSET_SETTER(StartMargin, int)
TABSET_SETTER(EndMargin, int)
TABSET_SETTER(SelectedColor, TColor)
TABSET_SETTER(UnselectedColor, TColor)
TABSET_SETTER(BackgroundColor, TColor)
TABSET_SETTER(DitherBackground, bool)
TABSET_SETTER(AutoScroll, bool)
TABSET_SETTER(Style, TTabStyle)
#undef TABSET_SETTER

void TTabSet::SetTabHeight(int Value)
{
    Value = std::max(Value, 6);
    if (FTabHeight == Value) return;
    FTabHeight = Value;
    Invalidate();
}

int TTabSet::MeasureTab(int Index)
{
    // Without a window yet (tabs set up in code) a bitmap's canvas measures.
    TCanvas* c = GetCanvas();
    if (!HandleAllocated()) {
        if (!FMeasure) FMeasure = std::make_unique<TBitmap>();
        c = FMeasure->GetCanvas();
    }
    c->SetFont(GetFont());
    int width = c->TextWidth(FTabs->GetStrings(Index)) + 2 * TextMargin;
    if (FStyle == tsOwnerDraw) OnMeasureTab(this, Index, width);
    return std::max(width, 0);
}

TRect TTabSet::ScrollerRect(bool Right)
{
    int right = GetClientWidth() - 1;
    int left = right - 2 * ScrollerButton;
    int top = 2;
    int bottom = std::min(GetClientHeight(), top + ScrollerButton - 2);
    return Right ? TRect{left + ScrollerButton, top, right, bottom} : TRect{left, top, left + ScrollerButton, bottom};
}

// Places the tabs from FirstIndex on while they fit; the scroller takes the
// right end when some do not.
void TTabSet::Layout()
{
    auto place = [&](int Limit) {
        FPlaces.clear();
        int x = FStartMargin;
        for (int i = FFirstIndex; i < FTabs->GetCount(); ++i) {
            int w = MeasureTab(i);
            if (x + 2 * EdgeWidth + w > Limit && !FPlaces.empty()) return false;
            FPlaces.push_back({i, x, w});
            x += EdgeWidth + w;
        }
        return true;
    };
    int width = GetClientWidth();
    FScroller = FFirstIndex > 0 || !place(width - FEndMargin);
    if (FScroller) place(ScrollerRect(false).left - FEndMargin);
}

int TTabSet::GetVisibleTabs()
{
    Layout();
    return int(FPlaces.size());
}

bool TTabSet::ScrollerShown()
{
    Layout();
    return FScroller;
}

TRect TTabSet::ItemRect(int Index)
{
    Layout();
    for (const TTabPlace& p : FPlaces)
        if (p.Index == Index) return TRect{p.Left + EdgeWidth, 0, p.Left + EdgeWidth + p.Width, FTabHeight};
    return TRect{0, 0, 0, 0};
}

int TTabSet::ItemAtPos(const TPoint& Pos)
{
    Layout();
    if (Pos.y < 0 || Pos.y >= FTabHeight) return -1;
    // The selected tab lies on top of its neighbours' edges.
    for (const TTabPlace& p : FPlaces)
        if (p.Index == FTabIndex && Pos.x >= p.Left + EdgeWidth / 2 && Pos.x < p.Left + EdgeWidth * 3 / 2 + p.Width)
            return p.Index;
    for (const TTabPlace& p : FPlaces)
        if (Pos.x >= p.Left + EdgeWidth / 2 && Pos.x < p.Left + EdgeWidth * 3 / 2 + p.Width) return p.Index;
    return -1;
}

void TTabSet::SelectNext(bool Direction)
{
    int count = FTabs->GetCount();
    if (count == 0) return;
    int next = Direction ? (FTabIndex + 1) % count : (FTabIndex <= 0 ? count - 1 : FTabIndex - 1);
    SetTabIndex(next);
}

void TTabSet::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    inherited::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    Layout();
    TPoint pos{X, Y};
    if (FScroller) {
        if (Inside(ScrollerRect(false), pos)) {
            SetFirstIndex(FFirstIndex - 1);
            return;
        }
        if (Inside(ScrollerRect(true), pos)) {
            if (FFirstIndex + int(FPlaces.size()) < FTabs->GetCount()) SetFirstIndex(FFirstIndex + 1);
            return;
        }
    }
    int index = ItemAtPos(pos);
    if (index >= 0) SetTabIndex(index);
}

void TTabSet::Resize()
{
    inherited::Resize();
    Invalidate();
}

// ---- Painting -----------------------------------------------------------------------------------

void TTabSet::PaintBackground(TCanvas* C)
{
    TRect r = GetClientRect();
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(FBackgroundColor);
    C->FillRect(r);
    if (FDitherBackground) {
        // Every other pixel in white: the classic half-tone strip.
        TColor white = clWhite;
        for (int y = r.top + 1; y < r.bottom; ++y)
            for (int x = r.left + (y & 1); x < r.right; x += 2) C->SetPixels(x, y, white);
    }
    // The line the tabs hang from, where the page above ends.
    C->GetPen()->SetColor(clBlack);
    C->MoveTo(r.left, r.top);
    C->LineTo(r.right, r.top);
}

void TTabSet::PaintTab(TCanvas* C, const TTabPlace& Place, bool Selected)
{
    int x = Place.Left, w = Place.Width, bottom = FTabHeight - 1;
    std::vector<TPoint> shape{{x, 0}, {x + EdgeWidth, bottom}, {x + EdgeWidth + w, bottom}, {x + 2 * EdgeWidth + w, 0}};
    C->GetPen()->SetColor(clBlack);
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(Selected ? FSelectedColor : FUnselectedColor);
    C->Polygon(shape);
    // A shadow inside the bottom and right edges gives the tab depth.
    C->GetPen()->SetColor(clBtnShadow);
    C->MoveTo(x + EdgeWidth + 1, bottom - 1);
    C->LineTo(x + EdgeWidth + w, bottom - 1);
    C->LineTo(x + 2 * EdgeWidth + w - 1, 0);
    if (Selected) {
        // The selected tab joins the page: no line along its top.
        C->GetPen()->SetColor(FSelectedColor);
        C->MoveTo(x + 1, 0);
        C->LineTo(x + 2 * EdgeWidth + w - 1, 0);
        C->GetPen()->SetColor(clBtnHighlight);
        C->MoveTo(x + 2, 1);
        C->LineTo(x + EdgeWidth, bottom - 1);
    }
    TRect face{x + EdgeWidth, 1, x + EdgeWidth + w, bottom - 1};
    DrawTab(C, face, Place.Index, Selected);
}

void TTabSet::DrawTab(TCanvas* TabCanvas, const TRect& R, int Index, bool Selected)
{
    if (FStyle == tsOwnerDraw) {
        OnDrawTab(this, TabCanvas, R, Index, Selected);
        return;
    }
    const std::string& text = FTabs->GetStrings(Index);
    TabCanvas->SetFont(GetFont());
    TabCanvas->GetBrush()->SetStyle(bsClear);
    int y = R.top + (R.bottom - R.top - TabCanvas->TextHeight(text)) / 2;
    if (!GetEnabled()) {
        TabCanvas->GetFont()->SetColor(clBtnHighlight);
        TabCanvas->TextOut(R.left + TextMargin + 1, y + 1, text);
        TabCanvas->GetFont()->SetColor(clBtnShadow);
    }
    TabCanvas->TextOut(R.left + TextMargin, y, text);
    TabCanvas->GetBrush()->SetStyle(bsSolid);
}

void TTabSet::Paint()
{
    TCanvas* c = GetCanvas();
    Layout();
    PaintBackground(c);
    for (const TTabPlace& p : FPlaces)
        if (p.Index != FTabIndex) PaintTab(c, p, false);
    for (const TTabPlace& p : FPlaces)
        if (p.Index == FTabIndex) PaintTab(c, p, true);
    if (FScroller) {
        RECT left = ScrollerRect(false), right = ScrollerRect(true);
        bool more = FFirstIndex + int(FPlaces.size()) < FTabs->GetCount();
        DrawFrameControl(c->GetHandle(), &left, DFC_SCROLL, DFCS_SCROLLLEFT | (FFirstIndex > 0 ? 0 : DFCS_INACTIVE));
        DrawFrameControl(c->GetHandle(), &right, DFC_SCROLL, DFCS_SCROLLRIGHT | (more ? 0 : DFCS_INACTIVE));
    }
}

// ---- Published properties -----------------------------------------------------------------------

HOST_PUBLISHED(TTabSet)
{
    P.Property("Align", &TTabSet::GetAlign, &TTabSet::SetAlign).Default(alNone);
    P.Property("AutoScroll", &TTabSet::GetAutoScroll, &TTabSet::SetAutoScroll).Default(true);
    P.Property("BackgroundColor", &TTabSet::GetBackgroundColor, &TTabSet::SetBackgroundColor)
        .Type(ColorTypeInfo())
        .Default(clBtnFace);
    P.Property("DitherBackground", &TTabSet::GetDitherBackground, &TTabSet::SetDitherBackground).Default(true);
    P.Property("DragCursor", &TTabSet::GetDragCursor, &TTabSet::SetDragCursor).Type(CursorTypeInfo()).Default(crDrag);
    P.Property("DragMode", &TTabSet::GetDragMode, &TTabSet::SetDragMode).Default(dmManual);
    P.Property("Enabled", &TTabSet::GetEnabled, &TTabSet::SetEnabled).Default(true);
    P.Property("EndMargin", &TTabSet::GetEndMargin, &TTabSet::SetEndMargin).Default(5);
    P.Property("Font", &TTabSet::GetFont, &TTabSet::SetFont).Stored(&TTabSet::IsFontStored);
    P.Property("ParentFont", &TTabSet::GetParentFont, &TTabSet::SetParentFont).Default(true);
    P.Property("ParentShowHint", &TTabSet::GetParentShowHint, &TTabSet::SetParentShowHint).Default(true);
    P.Property("SelectedColor", &TTabSet::GetSelectedColor, &TTabSet::SetSelectedColor)
        .Type(ColorTypeInfo())
        .Default(clBtnFace);
    P.Property("ShowHint", &TTabSet::GetShowHint, &TTabSet::SetShowHint).Stored(&TTabSet::IsShowHintStored);
    P.Property("StartMargin", &TTabSet::GetStartMargin, &TTabSet::SetStartMargin).Default(5);
    P.Property("Style", &TTabSet::GetStyle, &TTabSet::SetStyle).Default(tsStandard);
    P.Property("TabHeight", &TTabSet::GetTabHeight, &TTabSet::SetTabHeight).Default(20);
    P.Property("Tabs", &TTabSet::GetTabs, &TTabSet::SetTabs);
    P.Property("TabIndex", &TTabSet::GetTabIndex, &TTabSet::SetTabIndex).Default(-1);
    P.Property("UnselectedColor", &TTabSet::GetUnselectedColor, &TTabSet::SetUnselectedColor)
        .Type(ColorTypeInfo())
        .Default(clWindow);
    P.Property("Visible", &TTabSet::GetVisible, &TTabSet::SetVisible).Default(true);
    P.Property("OnChange", &TTabSet::OnChange);
    P.Property("OnClick", &TTabSet::OnClick);
    P.Property("OnDragDrop", &TTabSet::OnDragDrop);
    P.Property("OnDragOver", &TTabSet::OnDragOver);
    P.Property("OnDrawTab", &TTabSet::OnDrawTab);
    P.Property("OnEndDrag", &TTabSet::OnEndDrag);
    P.Property("OnEnter", &TTabSet::OnEnter);
    P.Property("OnExit", &TTabSet::OnExit);
    P.Property("OnMeasureTab", &TTabSet::OnMeasureTab);
    P.Property("OnStartDrag", &TTabSet::OnStartDrag);
}

HOST_REGISTER_CLASSES(TTabSet);

} // namespace host
