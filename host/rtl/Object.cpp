#include "host/rtl/Object.h"

#include "host/rtl/SysUtils.h"

namespace host {

void TObject::Free()
{
    BeforeDestruction();
    Destroy();
    delete this;
}

void TPersistent::Assign(TPersistent* Source)
{
    if (Source)
        Source->AssignTo(this);
    else
        throw EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* Dest)
{
    std::string source = ClassName();
    throw EConvertError("Cannot assign a " + source + " to a " + (Dest ? Dest->ClassName() : std::string("nil")));
}

void TPersistent::DefineProperties(TFiler*) {}

std::string TPersistent::GetNamePath() const
{
    std::string result = ClassName();
    if (TPersistent* owner = GetOwner()) {
        std::string path = owner->GetNamePath();
        if (!path.empty()) result = path + "." + result;
    }
    return result;
}

} // namespace host
