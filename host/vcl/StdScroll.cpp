#include "host/vcl/StdScroll.h"
#include "host/vcl/Menus.h"

#include <algorithm>

#include "host/vcl/Buttons.h"

namespace host {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
// The pause before a held arrow or page click repeats, and the repeat rate.
constexpr UINT kRepeatDelay = 400, kRepeatRate = 50;

} // namespace

HOST_MESSAGE_MAP(TScrollBar)
{
    M(WM_TIMER, &TScrollBar::WMTimer);
    M(WM_GETDLGCODE, &TScrollBar::WMGetDlgCode);
    M(WM_CANCELMODE, &TScrollBar::WMCancelMode);
    M(WM_SETFOCUS, &TScrollBar::WMSetFocus);
    M(WM_KILLFOCUS, &TScrollBar::WMKillFocus);
    M(CM_ENABLEDCHANGED, &TScrollBar::CMEnabledChanged);
}

TScrollBar::TScrollBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
    FControlStyle = TControlStyle{csFramed, csDoubleClicks, csOpaque, csCaptureMouse};
    FTabStop = true;
}

void TScrollBar::Loaded()
{
    inherited::Loaded();
    // Min, Max and Position arrive one at a time; only the result must agree.
    FMax = std::max(FMax, FMin);
    FPosition = std::clamp(FPosition, FMin, FMax);
    Invalidate();
}

void TScrollBar::SetKind(TScrollBarKind Value)
{
    if (Value == FKind) return;
    FKind = Value;
    // A bar turned on its side keeps its proportions.
    if (!GetComponentState().Contains(csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
    Invalidate();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    if (GetComponentState().Contains(csLoading)) {
        FPosition = APosition;
        FMin = AMin;
        FMax = AMax;
        return;
    }
    if (AMax < AMin || AMax < APosition || APosition < AMin)
        throw EInvalidOperation("Scroll bar property out of range");
    if (APosition == FPosition && AMin == FMin && AMax == FMax) return;
    bool moved = APosition != FPosition;
    FMin = AMin;
    FMax = AMax;
    FPosition = APosition;
    Invalidate();
    if (moved) Change();
}

void TScrollBar::Change() { OnChange(this); }

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) { OnScroll(this, ScrollCode, ScrollPos); }

void TScrollBar::DoScroll(TScrollCode Code, int Pos)
{
    int p = FPosition;
    switch (Code) {
    case scLineUp: p -= FSmallChange; break;
    case scLineDown: p += FSmallChange; break;
    case scPageUp: p -= FLargeChange; break;
    case scPageDown: p += FLargeChange; break;
    case scPosition:
    case scTrack: p = Pos; break;
    case scTop: p = FMin; break;
    case scBottom: p = FMax; break;
    case scEndScroll: break;
    }
    p = std::clamp(p, FMin, FMax);
    Scroll(Code, p);
    // A handler may move the position anywhere; the bar keeps it in range
    // rather than raising from inside a mouse or key message.
    SetPosition(std::clamp(p, FMin, FMax));
}

// ---- Geometry ------------------------------------------------------------------------------

TScrollBar::TLayout TScrollBar::GetLayout()
{
    TLayout l;
    bool horz = FKind == sbHorizontal;
    l.Length = horz ? GetClientWidth() : GetClientHeight();
    l.Thickness = horz ? GetClientHeight() : GetClientWidth();
    l.Arrow = std::min(l.Thickness, l.Length / 2);
    int track = l.Length - 2 * l.Arrow;
    l.ThumbLength = std::min(l.Thickness, track);
    // No thumb when there is nothing to scroll or no room for it.
    if (FMax <= FMin || !GetEnabled() || l.ThumbLength < 6) l.ThumbLength = 0;
    int free = track - l.ThumbLength;
    l.ThumbStart = l.Arrow;
    if (l.ThumbLength > 0 && FMax > FMin)
        l.ThumbStart += int(int64_t(FPosition - FMin) * free / (FMax - FMin));
    return l;
}

TRect TScrollBar::PartRect(int From, int To)
{
    TLayout l = GetLayout();
    return FKind == sbHorizontal ? Rect(From, 0, To, l.Thickness) : Rect(0, From, l.Thickness, To);
}

TScrollBar::TPart TScrollBar::PartAt(int X, int Y)
{
    if (X < 0 || Y < 0 || X >= GetClientWidth() || Y >= GetClientHeight()) return TPart::None;
    TLayout l = GetLayout();
    int along = FKind == sbHorizontal ? X : Y;
    if (along < l.Arrow) return TPart::LineUp;
    if (along >= l.Length - l.Arrow) return TPart::LineDown;
    if (l.ThumbLength == 0) return TPart::None;
    if (along < l.ThumbStart) return TPart::PageUp;
    if (along < l.ThumbStart + l.ThumbLength) return TPart::Thumb;
    return TPart::PageDown;
}

int TScrollBar::PosFromPixel(int Along)
{
    TLayout l = GetLayout();
    int free = l.Length - 2 * l.Arrow - l.ThumbLength;
    if (free <= 0) return FMin;
    int off = std::clamp(Along - l.Arrow, 0, free);
    return FMin + int((int64_t(off) * (FMax - FMin) + free / 2) / free);
}

// ---- Mouse and keyboard -------------------------------------------------------------------

namespace {

TScrollCode CodeOf(int Part)
{
    static const TScrollCode codes[] = {scEndScroll, scLineUp, scLineDown, scPageUp, scPageDown, scTrack};
    return codes[Part];
}

} // namespace

void TScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    inherited::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !GetEnabled() || FPressed != TPart::None) return;
    if (CanFocus() && !Focused()) SetFocus();
    TPart part = PartAt(X, Y);
    if (part == TPart::None) return;
    FPressed = part;
    FPressedInside = true;
    FMousePos = TPoint{X, Y};
    if (part == TPart::Thumb) {
        FGrabOffset = (FKind == sbHorizontal ? X : Y) - GetLayout().ThumbStart;
        FTrackPos = FPosition;
        Invalidate();
        return;
    }
    Invalidate();
    DoScroll(CodeOf(int(part)), 0);
    if (FPressed != TPart::None) SetTimer(GetHandle(), kRepeatTimer, kRepeatDelay, nullptr);
}

void TScrollBar::MouseMove(TShiftState Shift, int X, int Y)
{
    inherited::MouseMove(Shift, X, Y);
    if (FPressed == TPart::None) return;
    FMousePos = TPoint{X, Y};
    if (FPressed == TPart::Thumb) {
        int pos = PosFromPixel((FKind == sbHorizontal ? X : Y) - FGrabOffset);
        if (pos == FTrackPos) return;
        FTrackPos = pos;
        DoScroll(scTrack, pos);
        return;
    }
    bool inside = PartAt(X, Y) == FPressed;
    if (inside == FPressedInside) return;
    FPressedInside = inside;
    Invalidate();
}

void TScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    inherited::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || FPressed == TPart::None) return;
    TPart part = FPressed;
    StopRepeat();
    if (part == TPart::Thumb) DoScroll(scPosition, FTrackPos);
    DoScroll(scEndScroll, 0);
}

void TScrollBar::StopRepeat()
{
    if (HandleAllocated()) KillTimer(FHandle, kRepeatTimer);
    FPressed = TPart::None;
    FPressedInside = false;
    Invalidate();
}

void TScrollBar::WMTimer(TMessage& Message)
{
    if (Message.WParam != kRepeatTimer) return;
    if (FPressed == TPart::None || FPressed == TPart::Thumb) {
        KillTimer(FHandle, kRepeatTimer);
        return;
    }
    SetTimer(FHandle, kRepeatTimer, kRepeatRate, nullptr);
    // A page click repeats only until the thumb reaches the mouse.
    if (PartAt(FMousePos.x, FMousePos.y) == FPressed) DoScroll(CodeOf(int(FPressed)), 0);
}

void TScrollBar::WMCancelMode(TMessage& Message)
{
    bool wasPressed = FPressed != TPart::None;
    StopRepeat();
    if (wasPressed) SetMouseCapture(false);
    inherited::Dispatch(Message);
}

void TScrollBar::KeyDown(WORD& Key, TShiftState Shift)
{
    inherited::KeyDown(Key, Shift);
    TScrollCode code;
    switch (Key) {
    case VK_LEFT:
    case VK_UP: code = scLineUp; break;
    case VK_RIGHT:
    case VK_DOWN: code = scLineDown; break;
    case VK_PRIOR: code = scPageUp; break;
    case VK_NEXT: code = scPageDown; break;
    case VK_HOME: code = scTop; break;
    case VK_END: code = scBottom; break;
    default: return;
    }
    FKeyScrolled = true;
    DoScroll(code, 0);
}

void TScrollBar::KeyUp(WORD& Key, TShiftState Shift)
{
    inherited::KeyUp(Key, Shift);
    if (!FKeyScrolled) return;
    FKeyScrolled = false;
    DoScroll(scEndScroll, 0);
}

void TScrollBar::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

void TScrollBar::WMSetFocus(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

void TScrollBar::WMKillFocus(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

void TScrollBar::CMEnabledChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (!GetEnabled()) StopRepeat();
    Invalidate();
}

// ---- Painting -------------------------------------------------------------------------------

void TScrollBar::PaintArrow(const TRect& R, bool First, bool Pressed)
{
    TCanvas* c = GetCanvas();
    c->GetBrush()->SetColor(clBtnFace);
    c->GetBrush()->SetStyle(bsSolid);
    c->FillRect(R);
    TRect e = R;
    HDC dc = c->GetHandle();
    if (Pressed) {
        c->GetBrush()->SetColor(clBtnShadow);
        c->FrameRect(R);
    } else {
        DrawEdge(dc, &e, EDGE_RAISED, BF_RECT);
    }
    bool vertical = FKind == sbVertical;
    int d = Pressed ? 1 : 0;
    int cx = (R.left + R.right) / 2 + d, cy = (R.top + R.bottom) / 2 + d;
    int size = std::clamp((std::min(R.right - R.left, R.bottom - R.top) - 4) / 3, 1, 5);
    auto triangle = [&](int ox, int oy, TColor Color) {
        c->GetBrush()->SetColor(Color);
        for (int i = 0; i < size; ++i) {
            // Row i of the arrow, from its tip: across it, 2 * step + 1 wide.
            int step = First ? i : size - 1 - i;
            int along = (vertical ? cy : cx) - size / 2 + i, mid = vertical ? cx : cy;
            TRect line = vertical ? Rect(mid - step, along, mid + step + 1, along + 1)
                                  : Rect(along, mid - step, along + 1, mid + step + 1);
            OffsetRect(&line, ox, oy);
            c->FillRect(line);
        }
    };
    if (GetEnabled()) {
        triangle(0, 0, clBtnText);
        return;
    }
    triangle(1, 1, clBtnHighlight);
    triangle(0, 0, clBtnShadow);
}

void TScrollBar::PaintTrack(TLayout L)
{
    TCanvas* c = GetCanvas();
    std::unique_ptr<TBitmap> pattern = MakePatternBitmap(clBtnFace, clBtnHighlight);
    c->GetBrush()->SetBitmap(pattern.get());
    c->FillRect(PartRect(L.Arrow, L.Length - L.Arrow));
    c->GetBrush()->SetBitmap(nullptr);
    if (FPressedInside && (FPressed == TPart::PageUp || FPressed == TPart::PageDown)) {
        // The pressed page area shows the track's checker inverted: dark.
        std::unique_ptr<TBitmap> dark = MakePatternBitmap(cl3DDkShadow, clBtnShadow);
        c->GetBrush()->SetBitmap(dark.get());
        c->FillRect(FPressed == TPart::PageUp ? PartRect(L.Arrow, L.ThumbStart)
                                              : PartRect(L.ThumbStart + L.ThumbLength, L.Length - L.Arrow));
        c->GetBrush()->SetBitmap(nullptr);
    }
    if (L.ThumbLength == 0) return;
    TRect thumb = PartRect(L.ThumbStart, L.ThumbStart + L.ThumbLength);
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(thumb);
    TRect e = thumb;
    DrawEdge(c->GetHandle(), &e, EDGE_RAISED, BF_RECT);
    if (!Focused()) return;
    InflateRect(&thumb, -3, -3);
    c->GetBrush()->SetColor(clBtnFace);
    c->GetFont()->SetColor(clBtnText);
    c->DrawFocusRect(thumb);
}

void TScrollBar::Paint()
{
    TLayout l = GetLayout();
    if (l.Length <= 0 || l.Thickness <= 0) return;
    GetCanvas()->RequiredState(csAllValid);
    PaintArrow(PartRect(0, l.Arrow), true, FPressed == TPart::LineUp && FPressedInside);
    PaintArrow(PartRect(l.Length - l.Arrow, l.Length), false, FPressed == TPart::LineDown && FPressedInside);
    if (l.Length > 2 * l.Arrow) PaintTrack(l);
}

HOST_PUBLISHED(TScrollBar)
{
    P.Property("Align", &TScrollBar::GetAlign, &TScrollBar::SetAlign).Default(alNone);
    P.Property("Ctl3D", &TScrollBar::GetCtl3D, &TScrollBar::SetCtl3D).Default(true);
    P.Property("DragCursor", &TScrollBar::GetDragCursor, &TScrollBar::SetDragCursor)
        .Type(CursorTypeInfo())
        .Default(crDrag);
    P.Property("DragMode", &TScrollBar::GetDragMode, &TScrollBar::SetDragMode).Default(dmManual);
    P.Property("Enabled", &TScrollBar::GetEnabled, &TScrollBar::SetEnabled).Default(true);
    P.Property("Kind", &TScrollBar::GetKind, &TScrollBar::SetKind).Default(sbHorizontal);
    P.Property("LargeChange", &TScrollBar::GetLargeChange, &TScrollBar::SetLargeChange).Default(8);
    P.Property("Max", &TScrollBar::GetMax, &TScrollBar::SetMax).Default(100);
    P.Property("Min", &TScrollBar::GetMin, &TScrollBar::SetMin).Default(0);
    P.Property("ParentCtl3D", &TScrollBar::GetParentCtl3D, &TScrollBar::SetParentCtl3D).Default(true);
    P.Property("ParentShowHint", &TScrollBar::GetParentShowHint, &TScrollBar::SetParentShowHint).Default(true);
    P.Property("PopupMenu", &TScrollBar::GetPopupMenu, &TScrollBar::SetPopupMenu);
    P.Property("Position", &TScrollBar::GetPosition, &TScrollBar::SetPosition).Default(0);
    P.Property("ShowHint", &TScrollBar::GetShowHint, &TScrollBar::SetShowHint).Stored(&TScrollBar::IsShowHintStored);
    P.Property("SmallChange", &TScrollBar::GetSmallChange, &TScrollBar::SetSmallChange).Default(1);
    P.Property("TabOrder", &TScrollBar::GetTabOrder, &TScrollBar::SetTabOrder).Default(-1);
    P.Property("TabStop", &TScrollBar::GetTabStop, &TScrollBar::SetTabStop).Default(true);
    P.Property("Visible", &TScrollBar::GetVisible, &TScrollBar::SetVisible).Default(true);
    P.Property("OnChange", &TScrollBar::OnChange);
    P.Property("OnDragDrop", &TScrollBar::OnDragDrop);
    P.Property("OnDragOver", &TScrollBar::OnDragOver);
    P.Property("OnEndDrag", &TScrollBar::OnEndDrag);
    P.Property("OnEnter", &TScrollBar::OnEnter);
    P.Property("OnExit", &TScrollBar::OnExit);
    P.Property("OnKeyDown", &TScrollBar::OnKeyDown);
    P.Property("OnKeyPress", &TScrollBar::OnKeyPress);
    P.Property("OnKeyUp", &TScrollBar::OnKeyUp);
    P.Property("OnScroll", &TScrollBar::OnScroll);
    P.Property("OnStartDrag", &TScrollBar::OnStartDrag);
}

HOST_REGISTER_CLASSES(TScrollBar);

} // namespace host
