// Published properties of the list and combo boxes, and their registration
// for form files.
#include "host/vcl/StdLists.h"

namespace host {

HOST_PUBLISHED(TListBox)
{
    P.Property("Align", &TListBox::GetAlign, &TListBox::SetAlign).Default(alNone);
    P.Property("Color", &TListBox::GetColor, &TListBox::SetColor)
        .Type(ColorTypeInfo())
        .Stored(&TListBox::IsColorStored)
        .NoDefault();
    P.Property("Columns", &TListBox::GetColumns, &TListBox::SetColumns).Default(0);
    P.Property("Ctl3D", &TListBox::GetCtl3D, &TListBox::SetCtl3D).Default(true);
    P.Property("DragCursor", &TListBox::GetDragCursor, &TListBox::SetDragCursor)
        .Type(CursorTypeInfo())
        .Default(crDrag);
    P.Property("DragMode", &TListBox::GetDragMode, &TListBox::SetDragMode).Default(dmManual);
    P.Property("Enabled", &TListBox::GetEnabled, &TListBox::SetEnabled).Default(true);
    P.Property("ExtendedSelect", &TListBox::GetExtendedSelect, &TListBox::SetExtendedSelect).Default(true);
    P.Property("Font", &TListBox::GetFont, &TListBox::SetFont).Stored(&TListBox::IsFontStored);
    P.Property("IntegralHeight", &TListBox::GetIntegralHeight, &TListBox::SetIntegralHeight).Default(false);
    P.Property("ItemHeight", &TListBox::GetItemHeight, &TListBox::SetItemHeight)
        .Stored(&TListBox::IsItemHeightStored);
    P.Property("Items", &TListBox::GetItems, &TListBox::SetItems);
    P.Property("MultiSelect", &TListBox::GetMultiSelect, &TListBox::SetMultiSelect).Default(false);
    P.Property("ParentColor", &TListBox::GetParentColor, &TListBox::SetParentColor).Default(false);
    P.Property("ParentCtl3D", &TListBox::GetParentCtl3D, &TListBox::SetParentCtl3D).Default(true);
    P.Property("ParentFont", &TListBox::GetParentFont, &TListBox::SetParentFont).Default(true);
    P.Property("ParentShowHint", &TListBox::GetParentShowHint, &TListBox::SetParentShowHint).Default(true);
    P.Property("ShowHint", &TListBox::GetShowHint, &TListBox::SetShowHint).Stored(&TListBox::IsShowHintStored);
    P.Property("Sorted", &TListBox::GetSorted, &TListBox::SetSorted).Default(false);
    P.Property("Style", &TListBox::GetStyle, &TListBox::SetStyle).Default(lbStandard);
    P.Property("TabOrder", &TListBox::GetTabOrder, &TListBox::SetTabOrder).Default(-1);
    P.Property("TabStop", &TListBox::GetTabStop, &TListBox::SetTabStop).Default(true);
    P.Property("Visible", &TListBox::GetVisible, &TListBox::SetVisible).Default(true);
    P.Property("OnClick", &TListBox::OnClick);
    P.Property("OnDblClick", &TListBox::OnDblClick);
    P.Property("OnDragDrop", &TListBox::OnDragDrop);
    P.Property("OnDragOver", &TListBox::OnDragOver);
    P.Property("OnDrawItem", &TListBox::FOnDrawItem);
    P.Property("OnEndDrag", &TListBox::OnEndDrag);
    P.Property("OnEnter", &TListBox::OnEnter);
    P.Property("OnExit", &TListBox::OnExit);
    P.Property("OnKeyDown", &TListBox::OnKeyDown);
    P.Property("OnKeyPress", &TListBox::OnKeyPress);
    P.Property("OnKeyUp", &TListBox::OnKeyUp);
    P.Property("OnMeasureItem", &TListBox::FOnMeasureItem);
    P.Property("OnMouseDown", &TListBox::OnMouseDown);
    P.Property("OnMouseMove", &TListBox::OnMouseMove);
    P.Property("OnMouseUp", &TListBox::OnMouseUp);
    P.Property("OnStartDrag", &TListBox::OnStartDrag);
}

HOST_REGISTER_CLASSES(TListBox);

}  // namespace host
