#include "host/design/DsgnIntf.h"

#include "host/vcl/Forms.h"

#include <map>

namespace host {

namespace {

// Holds the slots and hears when a form goes, so that a freed form never
// leaves a dangling entry behind for a new object at the same address.
class TDesignerSlots : public TComponent {
    HOST_CLASS(TDesignerSlots, TComponent)
public:
    TDesignerSlots() : TComponent(nullptr) {}
    std::map<const TComponent*, TDesigner*> Slots;

    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        inherited::Notification(AComponent, Operation);
        if (Operation == opRemove) Slots.erase(AComponent);
    }
};

TDesignerSlots& Slots()
{
    // Never freed: forms may outlive any static destruction order.
    static TDesignerSlots* slots = new TDesignerSlots();
    return *slots;
}

} // namespace

void SetFormDesigner(TCustomForm* Form, TDesigner* Designer)
{
    if (!Form) return;
    TDesignerSlots& s = Slots();
    if (!Designer) {
        if (s.Slots.erase(Form)) s.RemoveFreeNotification(Form);
        return;
    }
    s.Slots[Form] = Designer;
    s.FreeNotification(Form);
}

TDesigner* GetFormDesigner(const TCustomForm* Form)
{
    if (!Form) return nullptr;
    const auto& slots = Slots().Slots;
    auto it = slots.find(Form);
    return it == slots.end() ? nullptr : it->second;
}

} // namespace host
