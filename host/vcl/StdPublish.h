#pragma once
// The published properties the standard controls share, for use inside a
// HOST_PUBLISHED block (where protected members of the class may be named).
#include "host/vcl/Controls.h"
#include "host/vcl/Menus.h"

#define HOST_PUBLISH_CONTROL_LOOK(C)                                                              \
    P.Property("Align", &C::GetAlign, &C::SetAlign).Default(::host::alNone);                      \
    P.Property("Color", &C::GetColor, &C::SetColor)                                               \
        .Type(::host::ColorTypeInfo())                                                            \
        .Stored(&C::IsColorStored)                                                                \
        .NoDefault();                                                                             \
    P.Property("DragCursor", &C::GetDragCursor, &C::SetDragCursor)                                \
        .Type(::host::CursorTypeInfo())                                                           \
        .Default(::host::crDrag);                                                                 \
    P.Property("DragMode", &C::GetDragMode, &C::SetDragMode).Default(::host::dmManual);           \
    P.Property("Enabled", &C::GetEnabled, &C::SetEnabled).Default(true);                          \
    P.Property("Font", &C::GetFont, &C::SetFont).Stored(&C::IsFontStored);                        \
    P.Property("ParentColor", &C::GetParentColor, &C::SetParentColor).Default(true);              \
    P.Property("ParentFont", &C::GetParentFont, &C::SetParentFont).Default(true);                 \
    P.Property("ParentShowHint", &C::GetParentShowHint, &C::SetParentShowHint).Default(true);     \
    P.Property("PopupMenu", &C::GetPopupMenu, &C::SetPopupMenu);                                  \
    P.Property("ShowHint", &C::GetShowHint, &C::SetShowHint).Stored(&C::IsShowHintStored);        \
    P.Property("Visible", &C::GetVisible, &C::SetVisible).Default(true)

#define HOST_PUBLISH_MOUSE_EVENTS(C)                                                              \
    P.Property("OnClick", &C::OnClick);                                                           \
    P.Property("OnDblClick", &C::OnDblClick);                                                     \
    P.Property("OnDragDrop", &C::OnDragDrop);                                                     \
    P.Property("OnDragOver", &C::OnDragOver);                                                     \
    P.Property("OnEndDrag", &C::OnEndDrag);                                                       \
    P.Property("OnMouseDown", &C::OnMouseDown);                                                   \
    P.Property("OnMouseMove", &C::OnMouseMove);                                                   \
    P.Property("OnMouseUp", &C::OnMouseUp);                                                       \
    P.Property("OnStartDrag", &C::OnStartDrag)

#define HOST_PUBLISH_FOCUS(C)                                                                     \
    P.Property("TabOrder", &C::GetTabOrder, &C::SetTabOrder);                                     \
    P.Property("TabStop", &C::GetTabStop, &C::SetTabStop);                                        \
    P.Property("OnEnter", &C::OnEnter);                                                           \
    P.Property("OnExit", &C::OnExit);                                                             \
    P.Property("OnKeyDown", &C::OnKeyDown);                                                       \
    P.Property("OnKeyPress", &C::OnKeyPress);                                                     \
    P.Property("OnKeyUp", &C::OnKeyUp)
