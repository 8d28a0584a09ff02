#include "host/vcl/Forms.h"

namespace host {

TCustomForm* GetParentForm(TControl* Control)
{
    if (!Control) return nullptr;
    while (Control->GetParent()) Control = Control->GetParent();
    return dynamic_cast<TCustomForm*>(Control);
}

} // namespace host
