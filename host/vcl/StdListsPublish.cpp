// Published properties of the list and combo boxes, and their registration
// for form files.
#include "host/vcl/StdLists.h"
#include "host/vcl/Menus.h"

namespace host {

HOST_PUBLISHED(TListBox)
{
    P.Property("Align", &TListBox::GetAlign, &TListBox::SetAlign).Default(alNone);
    P.Property("Color", &TListBox::GetColor, &TListBox::SetColor)
        .Type(ColorTypeInfo())
        .Stored(&TListBox::IsColorStored)
        .NoDefault();
    P.Property("BorderStyle", &TListBox::GetBorderStyle, &TListBox::SetBorderStyle).Default(bsSingle);
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
    P.Property("PopupMenu", &TListBox::GetPopupMenu, &TListBox::SetPopupMenu);
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

HOST_PUBLISHED(TComboBox)
{
    P.Property("Style", &TComboBox::GetStyle, &TComboBox::SetStyle).Default(csDropDown);
    P.Property("Align", &TComboBox::GetAlign, &TComboBox::SetAlign).Default(alNone);
    P.Property("Color", &TComboBox::GetColor, &TComboBox::SetColor)
        .Type(ColorTypeInfo())
        .Stored(&TComboBox::IsColorStored)
        .NoDefault();
    P.Property("Ctl3D", &TComboBox::GetCtl3D, &TComboBox::SetCtl3D).Default(true);
    P.Property("DragCursor", &TComboBox::GetDragCursor, &TComboBox::SetDragCursor)
        .Type(CursorTypeInfo())
        .Default(crDrag);
    P.Property("DragMode", &TComboBox::GetDragMode, &TComboBox::SetDragMode).Default(dmManual);
    P.Property("DropDownCount", &TComboBox::GetDropDownCount, &TComboBox::SetDropDownCount).Default(8);
    P.Property("Enabled", &TComboBox::GetEnabled, &TComboBox::SetEnabled).Default(true);
    P.Property("Font", &TComboBox::GetFont, &TComboBox::SetFont).Stored(&TComboBox::IsFontStored);
    P.Property("ItemHeight", &TComboBox::GetItemHeight, &TComboBox::SetItemHeight)
        .Stored(&TComboBox::IsItemHeightStored);
    P.Property("MaxLength", &TComboBox::GetMaxLength, &TComboBox::SetMaxLength).Default(0);
    P.Property("ParentColor", &TComboBox::GetParentColor, &TComboBox::SetParentColor).Default(false);
    P.Property("ParentCtl3D", &TComboBox::GetParentCtl3D, &TComboBox::SetParentCtl3D).Default(true);
    P.Property("ParentFont", &TComboBox::GetParentFont, &TComboBox::SetParentFont).Default(true);
    P.Property("ParentShowHint", &TComboBox::GetParentShowHint, &TComboBox::SetParentShowHint).Default(true);
    P.Property("PopupMenu", &TComboBox::GetPopupMenu, &TComboBox::SetPopupMenu);
    P.Property("ShowHint", &TComboBox::GetShowHint, &TComboBox::SetShowHint).Stored(&TComboBox::IsShowHintStored);
    P.Property("Sorted", &TComboBox::GetSorted, &TComboBox::SetSorted).Default(false);
    P.Property("TabOrder", &TComboBox::GetTabOrder, &TComboBox::SetTabOrder).Default(-1);
    P.Property("TabStop", &TComboBox::GetTabStop, &TComboBox::SetTabStop).Default(true);
    P.Property("Text", &TComboBox::GetText, &TComboBox::SetText);
    P.Property("Visible", &TComboBox::GetVisible, &TComboBox::SetVisible).Default(true);
    P.Property("OnChange", &TComboBox::FOnChange);
    P.Property("OnClick", &TComboBox::OnClick);
    P.Property("OnDblClick", &TComboBox::OnDblClick);
    P.Property("OnDragDrop", &TComboBox::OnDragDrop);
    P.Property("OnDragOver", &TComboBox::OnDragOver);
    P.Property("OnDrawItem", &TComboBox::FOnDrawItem);
    P.Property("OnDropDown", &TComboBox::FOnDropDown);
    P.Property("OnEndDrag", &TComboBox::OnEndDrag);
    P.Property("OnEnter", &TComboBox::OnEnter);
    P.Property("OnExit", &TComboBox::OnExit);
    P.Property("OnKeyDown", &TComboBox::OnKeyDown);
    P.Property("OnKeyPress", &TComboBox::OnKeyPress);
    P.Property("OnKeyUp", &TComboBox::OnKeyUp);
    P.Property("OnMeasureItem", &TComboBox::FOnMeasureItem);
    P.Property("OnStartDrag", &TComboBox::OnStartDrag);
    // After Text: a drop-down list shows the item the text names once the
    // items are there.
    P.Property("Items", &TComboBox::GetItems, &TComboBox::SetItems);
}

HOST_REGISTER_CLASSES(TListBox, TComboBox);

}  // namespace host
