#include <algorithm>

#include "host/vcl/Classes.h"
#include "host/vcl/TypInfo.h"

namespace host {

TCollectionItem::TCollectionItem(TCollection* ACollection) { SetCollection(ACollection); }

TCollectionItem::~TCollectionItem()
{
    // Deleted without Free(): still leave the collection's list.
    if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::Destroy()
{
    SetCollection(nullptr);
    inherited::Destroy();
}

void TCollectionItem::SetCollection(TCollection* Value)
{
    if (FCollection == Value) return;
    if (FCollection) FCollection->RemoveItem(this);
    if (Value) Value->InsertItem(this);
}

int TCollectionItem::GetIndex() const
{
    if (!FCollection) return -1;
    auto& items = FCollection->FItems;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int Value)
{
    int cur = GetIndex();
    if (cur < 0 || cur == Value) return;
    FCollection->MoveItem(cur, Value);
    Changed(true);
}

void TCollectionItem::Changed(bool AllItems)
{
    if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

std::string TCollectionItem::GetNamePath() const
{
    if (!FCollection) return ClassName();
    return FCollection->GetNamePath() + "[" + std::to_string(GetIndex()) + "]";
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

TCollection::TCollection(TClass AItemClass) : FItemClass(AItemClass) {}

TCollection::TCollection(TPersistent* AOwner, TClass AItemClass) : FItemClass(AItemClass), FOwner(AOwner) {}

TCollection::~TCollection()
{
    FUpdateCount = 1; // no notifications to a half-destroyed owner
    Clear();
}

void TCollection::Destroy()
{
    FUpdateCount = 1;
    Clear();
    inherited::Destroy();
}

TCollectionItem* TCollection::Add()
{
    if (!FItemClass || !FItemClass->CreateItem)
        throw EInvalidOperation("Cannot create an item of " + std::string(FItemClass ? FItemClass->Name : "nil"));
    auto* item = static_cast<TCollectionItem*>(FItemClass->CreateItem(this));
    // An item class whose constructor did not join the collection still ends up in it.
    if (item->GetCollection() != this) item->SetCollection(this);
    return item;
}

TCollectionItem* TCollection::Insert(int Index)
{
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index) { GetItem(Index)->Free(); }

void TCollection::Clear()
{
    if (FItems.empty()) return;
    BeginUpdate();
    while (!FItems.empty()) FItems.back()->Free();
    EndUpdate();
}

void TCollection::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TCollection*>(Source);
    if (!src) {
        inherited::Assign(Source);
        return;
    }
    if (src == this) return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* item : src->FItems) Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate()
{
    if (FUpdateCount > 0) --FUpdateCount;
    Changed();
}

TCollectionItem* TCollection::GetItem(int Index) const
{
    if (Index < 0 || Index >= GetCount()) throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FItems[static_cast<size_t>(Index)];
}

void TCollection::SetItem(int Index, TCollectionItem* Value) { GetItem(Index)->Assign(Value); }

TCollectionItem* TCollection::FindItemID(int ID) const
{
    for (TCollectionItem* item : FItems)
        if (item->FID == ID) return item;
    return nullptr;
}

std::string TCollection::GetNamePath() const
{
    if (!FOwner) return ClassName();
    std::string owner = FOwner->GetNamePath();
    if (owner.empty()) return ClassName();
    // The owner's published property that holds this collection names it.
    for (const TPropInfo* p : GetPropList(FOwner, TTypeKinds{tkClass}))
        if (GetObjectProp(FOwner, p) == this) return owner + "." + p->Name;
    return ClassName();
}

void TCollection::Update(TCollectionItem*)
{
    if (OnChange) OnChange(this);
}

void TCollection::Changed()
{
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item)
{
    // No class check here: a new item joins from its base constructor, when
    // it does not yet know its final class.
    FItems.push_back(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item)
{
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    if (it != FItems.end()) FItems.erase(it);
    Item->FCollection = nullptr;
    Changed();
}

void TCollection::MoveItem(int CurIndex, int NewIndex)
{
    NewIndex = std::clamp(NewIndex, 0, GetCount() - 1);
    TCollectionItem* item = FItems[static_cast<size_t>(CurIndex)];
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + NewIndex, item);
}

} // namespace host
