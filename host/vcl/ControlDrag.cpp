// Drag and drop between controls.
#include "host/vcl/Controls.h"
#include "host/vcl/ControlsInternal.h"

#include <cstdlib>

namespace host {

namespace {

// The mouse must move this far before a drag that was not immediate starts.
constexpr int DragThreshold = 5;

struct TDragInfo {
    TControl* Control = nullptr;
    TDragObject* Object = nullptr;
    bool OwnsObject = false;
    bool Active = false;
    bool Accepted = false;
    TPoint Start{};
    TPoint Pos{};
    TControl* Target = nullptr;
};

TDragInfo& Drag()
{
    static TDragInfo state;
    return state;
}

// What handlers see as the Source: the dragged control for a control's drag
// object, the object otherwise.
TObject* DragSource()
{
    auto* obj = dynamic_cast<TDragControlObject*>(Drag().Object);
    return obj && obj->GetControl() ? static_cast<TObject*>(obj->GetControl()) : Drag().Object;
}

bool SendDragOver(TControl* Target, TDragState State)
{
    TPoint p = Target->ScreenToClient(Drag().Pos);
    bool accept = false;
    Target->DragOverTarget(DragSource(), p.x, p.y, State, accept);
    return accept;
}

void DragTo(const TPoint& Pos)
{
    TDragInfo& d = Drag();
    d.Pos = Pos;
    TControl* target = FindDragTarget(Pos, false);
    if (target != d.Target) {
        if (d.Target) SendDragOver(d.Target, dsDragLeave);
        d.Target = target;
        d.Accepted = target && SendDragOver(target, dsDragEnter);
    } else if (target) {
        d.Accepted = SendDragOver(target, dsDragMove);
    }
    if (d.Object) ::host::SetCursor(CursorHandle(d.Object->GetDragCursor(d.Accepted, Pos.x, Pos.y)));
}

} // namespace

namespace controls {

void CancelDragOf(TControl* Control)
{
    TDragInfo& d = Drag();
    if (d.Target == Control) {
        d.Target = nullptr;
        d.Accepted = false;
    }
    if (d.Control != Control) return;
    TDragObject* obj = d.OwnsObject ? d.Object : nullptr;
    d = TDragInfo{};
    Free(obj);
}

} // namespace controls

void TControl::DragOverTarget(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    DragOver(Source, X, Y, State, Accept);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    Accept = false;
    if (!OnDragOver) return;
    Accept = true;
    OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) { OnDragDrop(this, Source, X, Y); }

void TControl::DoStartDrag(TDragObject*& DragObject) { OnStartDrag(this, DragObject); }

void TControl::DoEndDrag(TObject* Target, int X, int Y) { OnEndDrag(this, Target, X, Y); }

bool TControl::Dragging() const { return Drag().Control == this; }

void TControl::BeginAutoDrag() { BeginDrag(false); }

void TControl::BeginDrag(bool Immediate)
{
    if (Drag().Control) return;
    TDragObject* obj = nullptr;
    DoStartDrag(obj);
    TDragInfo d;
    d.Control = this;
    d.OwnsObject = obj == nullptr;
    d.Object = obj ? obj : new TDragControlObject(this);
    GetCursorPos(&d.Start);
    d.Pos = d.Start;
    d.Active = Immediate;
    Drag() = d;
    SetMouseCapture(true);
    if (Immediate) DragTo(d.Start);
}

void TControl::EndDrag(bool Drop)
{
    if (!Dragging()) return;
    TDragInfo d = Drag();
    Drag() = TDragInfo{};
    if (GetMouseCapture()) SetMouseCapture(false);
    bool accepted = d.Active && d.Accepted && d.Target;
    TPoint p{0, 0};
    if (accepted) p = d.Target->ScreenToClient(d.Pos);
    TObject* source = d.Object;
    if (auto* obj = dynamic_cast<TDragControlObject*>(d.Object); obj && obj->GetControl()) source = obj->GetControl();
    if (Drop && accepted) d.Target->DragDrop(source, p.x, p.y);
    if (d.Object) {
        d.Object->FDragTarget = accepted ? d.Target : nullptr;
        d.Object->FDragPos = d.Pos;
        d.Object->Finished(accepted ? d.Target : nullptr, p.x, p.y, Drop && accepted);
    }
    if (d.OwnsObject) ::host::Free(d.Object);
}

bool TControl::HandleDragMessage(TMessage& Message)
{
    TDragInfo& d = Drag();
    switch (Message.Msg) {
    case WM_MOUSEMOVE: {
        TPoint pos = ClientToScreen(MsgPos(Message));
        if (!d.Active && (std::abs(pos.x - d.Start.x) >= DragThreshold || std::abs(pos.y - d.Start.y) >= DragThreshold))
            d.Active = true;
        if (d.Active) DragTo(pos);
        return true;
    }
    case WM_LBUTTONUP:
        EndDrag(true);
        return true;
    case WM_RBUTTONDOWN:
        EndDrag(false);
        return true;
    default:
        return Message.Msg != WM_MOUSEWHEEL;
    }
}

void TDragObject::Finished(TObject*, int, int, bool) {}

TCursor TDragControlObject::GetDragCursor(bool Accepted, int, int)
{
    return Accepted && FControl ? FControl->GetDragCursor() : crNoDrop;
}

void TDragControlObject::Finished(TObject* Target, int X, int Y, bool)
{
    if (FControl) FControl->DoEndDrag(Target, X, Y);
}

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled)
{
    HWND wnd = WindowFromPoint(Pos);
    TWinControl* win = nullptr;
    while (wnd && !(win = FindControl(wnd))) wnd = GetParent(wnd);
    if (!win) return nullptr;
    TControl* c = win->ControlAtPos(win->ScreenToClient(Pos), AllowDisabled);
    return c ? c : win;
}

} // namespace host
