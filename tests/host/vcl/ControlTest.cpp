// Message tables, published properties and registration of the test controls.
#include "ControlTest.h"

#include "host/vcl/Filer.h"

namespace controltest {

HOST_MESSAGE_MAP(TTestPanel)
{
    M(CM_MOUSEENTER, &TTestPanel::CMMouseEnter);
    M(CM_MOUSELEAVE, &TTestPanel::CMMouseLeave);
    M(CN_COMMAND, &TTestPanel::CNCommand);
}

HOST_MESSAGE_MAP(TTestBox)
{
    M(CM_MOUSEENTER, &TTestBox::CMMouseEnter);
    M(CM_MOUSELEAVE, &TTestBox::CMMouseLeave);
}

HOST_PUBLISHED(TTestPanel)
{
    P.Property("Align", &TTestPanel::GetAlign, &TTestPanel::SetAlign).Default(alNone);
    P.Property("Caption", &TTestPanel::GetCaption, &TTestPanel::SetCaption);
    P.Property("Color", &TTestPanel::GetColor, &TTestPanel::SetColor)
        .Type(ColorTypeInfo())
        .Stored(&TTestPanel::IsColorStored);
    P.Property("Enabled", &TTestPanel::GetEnabled, &TTestPanel::SetEnabled).Default(true);
    P.Property("Font", &TTestPanel::GetFont, &TTestPanel::SetFont).Stored(&TTestPanel::IsFontStored);
    P.Property("ParentColor", &TTestPanel::GetParentColor, &TTestPanel::SetParentColor).Default(true);
    P.Property("ParentFont", &TTestPanel::GetParentFont, &TTestPanel::SetParentFont).Default(true);
    P.Property("ShowHint", &TTestPanel::GetShowHint, &TTestPanel::SetShowHint).Stored(&TTestPanel::IsShowHintStored);
    P.Property("TabOrder", &TTestPanel::GetTabOrder, &TTestPanel::SetTabOrder).Default(-1);
    P.Property("TabStop", &TTestPanel::GetTabStop, &TTestPanel::SetTabStop).Default(false);
    P.Property("Visible", &TTestPanel::GetVisible, &TTestPanel::SetVisible).Default(true);
    P.Property("OnClick", &TTestPanel::OnClick);
}

HOST_PUBLISHED(TTestBox)
{
    P.Property("Align", &TTestBox::GetAlign, &TTestBox::SetAlign).Default(alNone);
    P.Property("Caption", &TTestBox::GetCaption, &TTestBox::SetCaption);
    P.Property("Color", &TTestBox::GetColor, &TTestBox::SetColor)
        .Type(ColorTypeInfo())
        .Stored(&TTestBox::IsColorStored);
    P.Property("ParentColor", &TTestBox::GetParentColor, &TTestBox::SetParentColor).Default(true);
    P.Property("Visible", &TTestBox::GetVisible, &TTestBox::SetVisible).Default(true);
}

HOST_REGISTER_CLASSES(TTestPanel, TTestBox);

} // namespace controltest
