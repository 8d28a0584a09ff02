#pragma once
// The component model: components and ownership, collections, the class
// registry and form streaming (host/vcl/Filer.h).
//
// Components are made with new and released with Free(); an owner frees what it
// owns. Deleting a component directly bypasses the destruction protocol: the
// destructor is protected, and a component that still gets deleted outside the
// protocol is detected and at least unlinked from everything that knew it.
#include <cstdint>
#include <string>
#include <vector>

#include "host/rtl/Events.h"
#include "host/rtl/Object.h"
#include "host/rtl/Sets.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/TypInfo.h"

namespace host {

// Horizontal alignment of text in labels, edits, panels and fields.
HOST_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)

class TComponent;
class TReader;
class TWriter;
class TStream;

enum TComponentStateItem {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

using TComponentClass = TClass;
using TGetChildProc = TEvent<void(TComponent* Child)>;

class TComponent : public TPersistent {
    HOST_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* AOwner);
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* GetOwner() const override { return FOwner; }
    const std::string& GetName() const { return FName; }
    // Raises EComponentError for a name that is not an identifier or that
    // another component of the same owner already has (case-insensitively).
    virtual void SetName(const std::string& NewName);
    intptr_t GetTag() const { return FTag; }
    void SetTag(intptr_t Value) { FTag = Value; }
    TComponentState GetComponentState() const { return FComponentState; }
    // Packed design-time position of a non-visual component (low word Left,
    // high word Top), streamed as "Left" and "Top".
    int32_t GetDesignInfo() const { return FDesignInfo; }
    void SetDesignInfo(int32_t Value) { FDesignInfo = Value; }

    int GetComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* GetComponents(int Index) const;
    int GetComponentIndex() const;
    void SetComponentIndex(int Value);
    // Case-insensitive; nullptr when absent or Name is empty.
    TComponent* FindComponent(const std::string& AName) const;

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();
    // Marks this component and all it owns as being destroyed.
    void Destroying();

    // Asks for Notification(AComponent, opRemove) when AComponent goes; the
    // link is two-way and vanishes when either side is freed.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Streaming structure: children written inside this component.
    virtual void GetChildren(TGetChildProc Proc, TComponent* Root);
    virtual TComponent* GetChildOwner() { return nullptr; }
    virtual TComponent* GetChildParent() { return this; }
    virtual void SetChildOrder(TComponent* Child, int Order);
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* Value);
    virtual void ReadState(TReader* Reader);
    virtual void WriteState(TWriter* Writer);
    // Runs once after the component and everything read with it were read;
    // overrides call inherited::Loaded() first (it clears csLoading).
    virtual void Loaded();

    std::string GetNamePath() const override { return FName; }
    void DefineProperties(TFiler* Filer) override;

    // Marks this component and everything it owns (now or later) as designed.
    void SetDesigning(bool Value);
    void SetAncestor(bool Value);
    void Updating() { FComponentState += csUpdating; }
    void Updated() { FComponentState -= csUpdating; }

    // Public for the filer, which sets and clears the reading states.
    void SetComponentState(TComponentStateItem Item, bool On)
    {
        if (On)
            FComponentState += Item;
        else
            FComponentState -= Item;
    }

    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void ValidateRename(TComponent* AComponent, const std::string& CurName, const std::string& NewName);

    void BeforeDestruction() override;

    // The next component constructed starts with csLoading, as one the reader
    // creates does (its constructor can see that it is being read).
    static void SetNextLoading(bool Value);

protected:
    ~TComponent() override;
    void Destroy() override;
    virtual void ValidateInsert(TComponent*) {}
    virtual void ChangeName(const std::string& NewName) { FName = NewName; }
    // Points the owner's published field of this name at this component or
    // clears it.
    void SetReference(bool Enable);

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void AddFreeNotifyLink(TComponent* AComponent);
    void EraseFreeNotifyLink(TComponent* AComponent);
    void NotifyFreeClients();
    bool ReachedThroughOwner(TComponent* Client) const;
    void RunDestroyProtocol();

    TComponent* FOwner = nullptr;
    std::string FName;
    intptr_t FTag = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FComponentState;
    int32_t FDesignInfo = 0;
    bool FProtocolDone = false;
};

// Whether Ident is a valid identifier: a letter or underscore, then letters,
// digits and underscores.
bool IsValidComponentIdent(const std::string& Ident);

// Creates an instance of a component class with an owner; raises
// EInvalidOperation when the class cannot be created that way.
TComponent* CreateComponent(TComponentClass AClass, TComponent* AOwner);

// ---- Collections -----------------------------------------------------------

class TCollectionItem : public TPersistent {
    HOST_CLASS(TCollectionItem, TPersistent)
public:
    explicit TCollectionItem(TCollection* ACollection);
    ~TCollectionItem() override;

    TCollection* GetCollection() const { return FCollection; }
    void SetCollection(TCollection* Value);
    int GetIndex() const;
    virtual void SetIndex(int Value);
    int GetID() const { return FID; }
    virtual std::string GetDisplayName() const { return ClassName(); }
    virtual void SetDisplayName(const std::string&) { Changed(false); }
    std::string GetNamePath() const override;
    TPersistent* GetOwner() const override;

protected:
    // Tells the collection that this item (or, with AllItems, every item) changed.
    void Changed(bool AllItems);
    void Destroy() override;

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

class TCollection : public TPersistent {
    HOST_CLASS(TCollection, TPersistent)
public:
    explicit TCollection(TClass AItemClass);
    // A collection published by AOwner; it names itself through the owner.
    TCollection(TPersistent* AOwner, TClass AItemClass);
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;
    ~TCollection() override;

    TCollectionItem* Add();
    TCollectionItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    void Assign(TPersistent* Source) override;
    virtual void BeginUpdate();
    virtual void EndUpdate();

    int GetCount() const { return static_cast<int>(FItems.size()); }
    TCollectionItem* GetItem(int Index) const;
    void SetItem(int Index, TCollectionItem* Value);
    template <class T>
    T* Items(int Index) const
    {
        return dynamic_cast<T*>(GetItem(Index));
    }
    TClass GetItemClass() const { return FItemClass; }
    TCollectionItem* FindItemID(int ID) const;
    std::string GetNamePath() const override;
    TPersistent* GetOwner() const override { return FOwner; }
    int GetUpdateCount() const { return FUpdateCount; }

    // Called after a change when no update is pending: Item changed, or with
    // nullptr, the collection as a whole.
    TNotifyEvent OnChange;

protected:
    virtual void Update(TCollectionItem* Item);
    void Changed();
    void Destroy() override;

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);
    void MoveItem(int CurIndex, int NewIndex);

    TClass FItemClass;
    TPersistent* FOwner = nullptr;
    std::vector<TCollectionItem*> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
};

// ---- Class registry ----------------------------------------------------------

// Makes AClass (and its ancestors up to TPersistent) creatable by name.
// Raises EFilerError when another class of the same name is registered.
void RegisterClass(TClass AClass);
void RegisterClasses(std::initializer_list<TClass> Classes);
void RegisterClassAlias(TClass AClass, const std::string& Alias);
void UnRegisterClass(TClass AClass);
void UnRegisterClasses(std::initializer_list<TClass> Classes);
// nullptr when no class of that name is registered.
TClass GetClass(const std::string& ClassName);
// Raises EClassNotFound "Class %s not found".
TClass FindClass(const std::string& ClassName);

// Registers classes while the library loads and unregisters them when it
// unloads: HOST_REGISTER_CLASSES(TSubLabel, TSplitPane);
template <class... Cls>
struct TClassRegistration {
    TClassRegistration() { RegisterClasses({Cls::StaticClass()...}); }
    ~TClassRegistration() { UnRegisterClasses({Cls::StaticClass()...}); }
};
#define HOST_REG_CONCAT2(a, b) a##b
#define HOST_REG_CONCAT(a, b) HOST_REG_CONCAT2(a, b)
#define HOST_REGISTER_CLASSES(...)                                                             \
    static const ::host::TClassRegistration<__VA_ARGS__> HOST_REG_CONCAT(hostClassRegistration_, \
                                                                          __LINE__)

} // namespace host
