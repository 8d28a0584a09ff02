#include <algorithm>
#include <cctype>

#include "host/vcl/Classes.h"
#include "host/vcl/Filer.h"
#include "host/vcl/TypInfo.h"

namespace host {

namespace {
bool GNextLoading = false;

bool SameName(const std::string& A, const std::string& B)
{
    if (A.size() != B.size()) return false;
    for (size_t i = 0; i < A.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(A[i])) != std::tolower(static_cast<unsigned char>(B[i])))
            return false;
    return true;
}
} // namespace

bool IsValidComponentIdent(const std::string& Ident)
{
    if (Ident.empty()) return false;
    auto alpha = [](unsigned char c) { return std::isalpha(c) || c == '_'; };
    if (!alpha(static_cast<unsigned char>(Ident[0]))) return false;
    return std::all_of(Ident.begin() + 1, Ident.end(),
                       [&](char c) { return alpha(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)); });
}

TComponent* CreateComponent(TComponentClass AClass, TComponent* AOwner)
{
    if (!AClass || !AClass->CreateOwned)
        throw EInvalidOperation("Cannot create an instance of " + std::string(AClass ? AClass->Name : "nil"));
    TObject* obj = AClass->CreateOwned(AOwner);
    return static_cast<TComponent*>(obj);
}

void TComponent::SetNextLoading(bool Value) { GNextLoading = Value; }

TComponent::TComponent(TComponent* AOwner)
{
    if (GNextLoading) {
        FComponentState += csLoading;
        GNextLoading = false;
    }
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    // Deleted without Free(): the derived parts are gone already, but the
    // component must not stay listed with its owner and its clients.
    if (!FProtocolDone) RunDestroyProtocol();
}

void TComponent::BeforeDestruction()
{
    if (!FComponentState.Contains(csDestroying)) Destroying();
}

void TComponent::Destroy()
{
    RunDestroyProtocol();
    inherited::Destroy();
}

void TComponent::RunDestroyProtocol()
{
    if (FProtocolDone) return;
    FProtocolDone = true;
    Destroying();
    RemoveFixupReferences(this);
    NotifyFreeClients();
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Destroying()
{
    if (FComponentState.Contains(csDestroying)) return;
    FComponentState += csDestroying;
    for (size_t i = 0; i < FComponents.size(); ++i) FComponents[i]->Destroying();
}

// A client that the owner's opRemove broadcast reaches anyway: it lies in the
// tree of the (living) owner.
bool TComponent::ReachedThroughOwner(TComponent* Client) const
{
    if (!FOwner || FOwner->FComponentState.Contains(csDestroying)) return false;
    for (TComponent* c = Client; c; c = c->FOwner)
        if (c == FOwner) return true;
    return false;
}

void TComponent::NotifyFreeClients()
{
    while (!FFreeNotifies.empty()) {
        TComponent* client = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        client->EraseFreeNotifyLink(this);
        if (!ReachedThroughOwner(client)) client->Notification(this, opRemove);
    }
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* instance = FComponents.back();
        Remove(instance);
        instance->Free();
    }
}

TComponent* TComponent::GetComponents(int Index) const
{
    if (Index < 0 || Index >= GetComponentCount())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FComponents[Index];
}

int TComponent::GetComponentIndex() const
{
    if (!FOwner) return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int Value)
{
    if (!FOwner) return;
    int cur = GetComponentIndex();
    if (cur < 0) return;
    auto& list = FOwner->FComponents;
    Value = std::clamp(Value, 0, static_cast<int>(list.size()) - 1);
    if (Value == cur) return;
    list.erase(list.begin() + cur);
    list.insert(list.begin() + Value, this);
}

TComponent* TComponent::FindComponent(const std::string& AName) const
{
    if (AName.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameName(c->FName, AName)) return c;
    return nullptr;
}

void TComponent::SetName(const std::string& NewName)
{
    if (FName == NewName) return;
    if (!NewName.empty() && !IsValidComponentIdent(NewName))
        throw EComponentError(Format("'%s' is not a valid component name", {NewName}));
    if (FOwner)
        FOwner->ValidateRename(this, FName, NewName);
    else
        ValidateRename(nullptr, FName, NewName);
    SetReference(false);
    ChangeName(NewName);
    SetReference(true);
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName, const std::string& NewName)
{
    if (AComponent && !SameName(CurName, NewName) && FindComponent(NewName))
        throw EComponentError(Format("A component named %s already exists", {NewName}));
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent) return;
    ValidateInsert(AComponent);
    ValidateRename(AComponent, "", AComponent->FName);
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    AComponent->SetReference(true);
    if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner != this) return;
    Notification(AComponent, opRemove);
    AComponent->SetReference(false);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end()) FComponents.erase(it);
    AComponent->FOwner = nullptr;
}

void TComponent::SetReference(bool Enable)
{
    if (!FOwner || FName.empty()) return;
    SetPublishedField(FOwner, FName, Enable ? this : nullptr);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent) EraseFreeNotifyLink(AComponent);
    // Index loop: a handler may free a sibling while the broadcast runs.
    for (size_t i = 0; i < FComponents.size(); ++i) FComponents[i]->Notification(AComponent, Operation);
}

void TComponent::AddFreeNotifyLink(TComponent* AComponent)
{
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    FComponentState += csFreeNotification;
}

void TComponent::EraseFreeNotifyLink(TComponent* AComponent)
{
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this) return;
    AddFreeNotifyLink(AComponent);
    AComponent->AddFreeNotifyLink(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent) return;
    EraseFreeNotifyLink(AComponent);
    AComponent->EraseFreeNotifyLink(this);
}

void TComponent::GetChildren(TGetChildProc, TComponent*) {}

void TComponent::SetChildOrder(TComponent*, int) {}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::Loaded() { FComponentState -= csLoading; }

void TComponent::SetDesigning(bool Value)
{
    if (Value)
        FComponentState += csDesigning;
    else
        FComponentState -= csDesigning;
    for (TComponent* c : FComponents) c->SetDesigning(Value);
}

void TComponent::SetAncestor(bool Value)
{
    if (Value)
        FComponentState += csAncestor;
    else
        FComponentState -= csAncestor;
    for (TComponent* c : FComponents) c->SetAncestor(Value);
}

} // namespace host

namespace host {

// The name travels in each component's header, not as a property.
HOST_PUBLISHED(TComponent)
{
    P.Property("Name", &TComponent::GetName, &TComponent::SetName).Stored(false);
    P.Property("Tag", &TComponent::GetTag, &TComponent::SetTag).Default(0).Type(TypeInfo<int>());
}

} // namespace host
