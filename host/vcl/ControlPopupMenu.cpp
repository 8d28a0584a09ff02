// A control's popup menu: the reference to it, and showing it when the
// window system asks for a context menu.
#include "host/vcl/Controls.h"
#include "host/vcl/Menus.h"

namespace host {

void TControl::SetPopupMenu(TPopupMenu* Value)
{
    if (FPopupMenu == Value)
        return;
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && FPopupMenu && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

// A right click (or the menu key) reaches the window under it as
// WM_CONTEXTMENU; a control without a menu of its own passes it on to its
// parent window. Graphic controls have no window, so their parent looks for
// them under the point.
void TControl::WMContextMenu(TMessage& Message)
{
    POINT pt = PointFromLParam(Message.LParam);
    bool keyboard = pt.x == -1 && pt.y == -1;
    TControl* target = this;
    if (auto* win = dynamic_cast<TWinControl*>(this); win && !keyboard) {
        TControl* child = win->ControlAtPos(win->ScreenToClient(TPoint{pt.x, pt.y}), false);
        if (child && child->GetPopupMenu())
            target = child;
    }
    if (PopupControlMenu(target, pt)) {
        Message.Result = 1;
        return;
    }
    DefaultHandler(Message);
}

}  // namespace host
