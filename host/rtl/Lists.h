#pragma once
// TList: a growable array of untyped pointers.
#include <memory>

#include "host/rtl/Object.h"
#include "host/rtl/SysUtils.h"

namespace host {

// Negative when Item1 sorts first, zero when equal, positive otherwise.
using TListSortCompare = int (*)(void* Item1, void* Item2);

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// The largest number of items a list may hold.
constexpr int MaxListSize = 0x7FFFFFFF / 16;

class TList : public TObject {
    HOST_CLASS(TList, TObject)
public:
    TList() = default;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;
    ~TList() override;

    int Add(void* Item);
    void Insert(int Index, void* Item);
    void Delete(int Index);
    // The index the item had, or -1.
    int Remove(void* Item);
    // Removes the first occurrence of Item and returns it, or nullptr.
    void* Extract(void* Item);
    int IndexOf(void* Item) const;
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    // Removes every nil item.
    void Pack();
    void Sort(TListSortCompare Compare);
    virtual void Clear();
    void* First() const { return Get(0); }
    void* Last() const { return Get(FCount - 1); }
    TList* Expand();
    void Assign(TList* Source);

    void* Get(int Index) const;
    void Put(int Index, void* Item);
    void* operator[](int Index) const { return Get(Index); }
    int GetCount() const { return FCount; }
    // Growing the count appends nil items; shrinking deletes from the end.
    void SetCount(int NewCount);
    int GetCapacity() const { return FCapacity; }
    void SetCapacity(int NewCapacity);
    // The raw item array, valid until the capacity changes.
    void** List() const { return FList.get(); }

    [[noreturn]] static void Error(const std::string& Msg, int Data);

protected:
    virtual void Grow();
    // Called after an item was added and before one leaves the list.
    virtual void Notify(void* Ptr, TListNotification Action);

private:
    void CheckIndex(int Index) const;

    std::unique_ptr<void*[]> FList;
    int FCount = 0;
    int FCapacity = 0;
};

} // namespace host
