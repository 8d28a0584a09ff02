#include "host/vcl/ScrollBox.h"

#include <algorithm>

#include "host/vcl/Menus.h"
#include "host/vcl/StdPublish.h"

namespace host {

// ---- TControlScrollBar ------------------------------------------------------------------------

void TControlScrollBar::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TControlScrollBar*>(Source);
    if (!s) {
        inherited::Assign(Source);
        return;
    }
    FIncrement = s->FIncrement;
    FMargin = s->FMargin;
    FTracking = s->FTracking;
    FVisible = s->FVisible;
    SetRange(s->FRange);
    SetPosition(s->FPosition);
}

int TControlScrollBar::ControlSize()
{
    if (!FControl) return 0;
    TRect r = FControl->GetClientRect();
    return FKind == sbHorizontal ? r.right - r.left : r.bottom - r.top;
}

bool TControlScrollBar::IsScrollBarVisible()
{
    return FControl && FVisible && FRange > ControlSize();
}

bool TControlScrollBar::IsRangeStored() const { return !FControl || !FControl->GetAutoScroll(); }

void TControlScrollBar::SetRange(int Value)
{
    Value = std::max(0, Value);
    if (Value == FRange) return;
    FRange = Value;
    if (FControl) FControl->UpdateScrollBars();
}

void TControlScrollBar::SetMargin(int Value)
{
    Value = std::max(0, Value);
    if (Value == FMargin) return;
    FMargin = Value;
    if (FControl) FControl->CalcAutoRange();
}

void TControlScrollBar::SetVisible(bool Value)
{
    if (Value == FVisible) return;
    FVisible = Value;
    if (FControl) FControl->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int Value)
{
    if (!FControl || FControl->GetComponentState().Contains(csLoading)) {
        FPosition = std::max(0, Value);
        return;
    }
    Value = std::clamp(Value, 0, std::max(0, FRange - ControlSize()));
    if (Value == FPosition) return;
    int delta = FPosition - Value;
    FPosition = Value;
    if (FKind == sbHorizontal)
        FControl->ScrollBy(delta, 0);
    else
        FControl->ScrollBy(0, delta);
    Update();
}

void TControlScrollBar::Update()
{
    if (!FControl || !FControl->HandleAllocated()) return;
    int bar = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
    bool show = IsScrollBarVisible();
    ShowScrollBar(FControl->GetHandle(), bar, show);
    if (!show) return;
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    si.nMin = 0;
    si.nMax = FRange - 1;
    si.nPage = UINT(std::max(1, ControlSize()));
    si.nPos = FPosition;
    SetScrollInfo(FControl->GetHandle(), bar, &si, TRUE);
}

void TControlScrollBar::ScrollMessage(const TMessage& Message)
{
    int Code = LOWORD(Message.WParam);
    int bar = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
    int page = std::max(1, ControlSize() * 9 / 10);
    switch (Code) {
    case SB_LINEUP: SetPosition(FPosition - FIncrement); break;
    case SB_LINEDOWN: SetPosition(FPosition + FIncrement); break;
    case SB_PAGEUP: SetPosition(FPosition - page); break;
    case SB_PAGEDOWN: SetPosition(FPosition + page); break;
    case SB_THUMBTRACK: {
        // The tracking position is not cut to 16 bits as the message's is.
        SCROLLINFO si;
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(FControl->GetHandle(), bar, &si);
        FThumbPos = si.nTrackPos;
        if (FTracking) SetPosition(FThumbPos);
        break;
    }
    case SB_THUMBPOSITION:
        SetPosition(FThumbPos >= 0 ? FThumbPos : HIWORD(Message.WParam));
        FThumbPos = -1;
        break;
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(FRange); break;
    default: break;
    }
}

// ---- TScrollingWinControl ---------------------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner),
      FHorzScrollBar(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      FVertScrollBar(std::make_unique<TControlScrollBar>(this, sbVertical))
{
}

void TScrollingWinControl::SetAutoScroll(bool Value)
{
    if (Value == FAutoScroll) return;
    FAutoScroll = Value;
    if (Value)
        CalcAutoRange();
    else {
        FHorzScrollBar->SetRange(0);
        FVertScrollBar->SetRange(0);
    }
}

void TScrollingWinControl::CreateWnd()
{
    inherited::CreateWnd();
    CalcAutoRange();
    UpdateScrollBars();
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect)
{
    inherited::AlignControls(AControl, Rect);
    CalcAutoRange();
}

// The children's extent counts from the unscrolled origin, so it does not
// change while the content scrolls. Controls aligned to the far side add
// their size; the others follow the client area and do not count. The
// margin is room beyond the last control.
void TScrollingWinControl::CalcAutoRange()
{
    if (!FAutoScroll || FCalcingRange || GetComponentState().Contains(csLoading)) return;
    FCalcingRange = true;
    int right = 0, bottom = 0, rightAligned = 0, bottomAligned = 0;
    for (int i = 0; i < GetControlCount(); ++i) {
        TControl* c = GetControls(i);
        if (!c->GetVisible() && !GetComponentState().Contains(csDesigning)) continue;
        switch (c->GetAlign()) {
        case alNone:
            right = std::max(right, FHorzScrollBar->FPosition + c->GetLeft() + c->GetWidth());
            bottom = std::max(bottom, FVertScrollBar->FPosition + c->GetTop() + c->GetHeight());
            break;
        case alRight: rightAligned += c->GetWidth(); break;
        case alBottom: bottomAligned += c->GetHeight(); break;
        default: break;
        }
    }
    FHorzScrollBar->FRange = right + rightAligned + FHorzScrollBar->FMargin;
    FVertScrollBar->FRange = bottom + bottomAligned + FVertScrollBar->FMargin;
    UpdateScrollBars();
    FCalcingRange = false;
}

void TScrollingWinControl::UpdateScrollBars()
{
    if (FUpdatingScrollBars || !HandleAllocated()) return;
    FUpdatingScrollBars = true;
    // Showing one bar narrows the other's room; a second pass settles it.
    for (int pass = 0; pass < 2; ++pass) {
        FHorzScrollBar->Update();
        FVertScrollBar->Update();
    }
    // A bigger client area may leave a position past the end.
    FHorzScrollBar->SetPosition(FHorzScrollBar->FPosition);
    FVertScrollBar->SetPosition(FVertScrollBar->FPosition);
    FUpdatingScrollBars = false;
}

void TScrollingWinControl::ScrollBy(int DeltaX, int DeltaY)
{
    if (DeltaX == 0 && DeltaY == 0) return;
    DisableAlign();
    bool calcing = FCalcingRange;
    FCalcingRange = true;
    for (int i = 0; i < GetControlCount(); ++i) {
        TControl* c = GetControls(i);
        c->SetBounds(c->GetLeft() + DeltaX, c->GetTop() + DeltaY, c->GetWidth(), c->GetHeight());
    }
    FCalcingRange = calcing;
    FControlState -= csAlignmentNeeded;
    EnableAlign();
    Invalidate();
}

void TScrollingWinControl::ScrollInView(TControl* AControl)
{
    if (!AControl || !ContainsControl(AControl)) return;
    TRect r = AControl->GetBoundsRect();
    // Bounds in our client coordinates, through any containers between.
    for (TWinControl* p = AControl->GetParent(); p && p != this; p = p->GetParent()) OffsetRect(&r, p->GetLeft(), p->GetTop());
    int hm = FHorzScrollBar->FMargin, vm = FVertScrollBar->FMargin;
    r.left -= hm;
    r.right += hm;
    r.top -= vm;
    r.bottom += vm;
    TRect client = GetClientRect();
    auto adjust = [](TControlScrollBar* bar, int lo, int hi, int size) {
        if (lo < 0)
            bar->SetPosition(bar->GetPosition() + lo);
        else if (hi > size)
            bar->SetPosition(bar->GetPosition() + std::min(hi - size, lo));
    };
    adjust(FHorzScrollBar.get(), r.left, r.right, client.right);
    adjust(FVertScrollBar.get(), r.top, r.bottom, client.bottom);
}

void TScrollingWinControl::AutoScrollInView(TControl* AControl)
{
    if (AControl && FAutoScroll && !AControl->GetComponentState().Contains(csLoading) &&
        !GetComponentState().Contains(csLoading))
        ScrollInView(AControl);
}

void TScrollingWinControl::WMHScroll(TMessage& Message)
{
    if (Message.LParam) {
        inherited::Dispatch(Message);
        return;
    }
    FHorzScrollBar->ScrollMessage(Message);
}

void TScrollingWinControl::WMVScroll(TMessage& Message)
{
    if (Message.LParam) {
        inherited::Dispatch(Message);
        return;
    }
    FVertScrollBar->ScrollMessage(Message);
}

void TScrollingWinControl::WMSize(TMessage& Message)
{
    inherited::Dispatch(Message);
    UpdateScrollBars();
}

void TScrollingWinControl::CMFocusChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
    if (focused && focused != this && ContainsControl(focused)) AutoScrollInView(focused);
}

HOST_MESSAGE_MAP(TScrollingWinControl)
{
    M(WM_HSCROLL, &TScrollingWinControl::WMHScroll);
    M(WM_VSCROLL, &TScrollingWinControl::WMVScroll);
    M(WM_SIZE, &TScrollingWinControl::WMSize);
    M(CM_FOCUSCHANGED, &TScrollingWinControl::CMFocusChanged);
}

// ---- TScrollBox -------------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner)
{
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TBorderStyle Value)
{
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    if (FBorderStyle != bsSingle) return;
    if (FCtl3D)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
        Params.Style |= WS_BORDER;
}

HOST_PUBLISHED(TControlScrollBar)
{
    P.Property("Margin", &TControlScrollBar::GetMargin, &TControlScrollBar::SetMargin).Default(0);
    P.Property("Increment", &TControlScrollBar::GetIncrement, &TControlScrollBar::SetIncrement).Default(8);
    P.Property("Range", &TControlScrollBar::GetRange, &TControlScrollBar::SetRange)
        .Stored(&TControlScrollBar::IsRangeStored)
        .Default(0);
    P.Property("Position", &TControlScrollBar::GetPosition, &TControlScrollBar::SetPosition).Default(0);
    P.Property("Tracking", &TControlScrollBar::GetTracking, &TControlScrollBar::SetTracking).Default(false);
    P.Property("Visible", &TControlScrollBar::GetVisible, &TControlScrollBar::SetVisible).Default(true);
}

HOST_PUBLISHED(TScrollBox)
{
    HOST_PUBLISH_CONTROL_LOOK(TScrollBox);
    P.Property("AutoScroll", &TScrollBox::GetAutoScroll, &TScrollBox::SetAutoScroll).Default(true);
    P.Property("BorderStyle", &TScrollBox::GetBorderStyle, &TScrollBox::SetBorderStyle).Default(bsSingle);
    P.Property("Ctl3D", &TScrollBox::GetCtl3D, &TScrollBox::SetCtl3D).Default(true);
    P.Property("HorzScrollBar", &TScrollBox::GetHorzScrollBar, &TScrollBox::SetHorzScrollBar);
    P.Property("ParentCtl3D", &TScrollBox::GetParentCtl3D, &TScrollBox::SetParentCtl3D).Default(true);
    P.Property("PopupMenu", &TScrollBox::GetPopupMenu, &TScrollBox::SetPopupMenu);
    P.Property("VertScrollBar", &TScrollBox::GetVertScrollBar, &TScrollBox::SetVertScrollBar);
    HOST_PUBLISH_MOUSE_EVENTS(TScrollBox);
    HOST_PUBLISH_FOCUS(TScrollBox);
}

HOST_REGISTER_CLASSES(TScrollBox);

} // namespace host
