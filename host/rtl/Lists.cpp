#include "host/rtl/Lists.h"

#include <algorithm>
#include <cstring>

namespace host {

TList::~TList()
{
    // Derived Notify overrides are already gone here, so this only releases memory.
    FCount = 0;
}

void TList::Error(const std::string& Msg, int Data) { throw EListError(Format(Msg, {Data})); }

void TList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= FCount) Error("List index out of bounds (%d)", Index);
}

int TList::Add(void* Item)
{
    const int result = FCount;
    if (result == FCapacity) Grow();
    FList[result] = Item;
    ++FCount;
    if (Item) Notify(Item, lnAdded);
    return result;
}

void TList::Insert(int Index, void* Item)
{
    if (Index < 0 || Index > FCount) Error("List index out of bounds (%d)", Index);
    if (FCount == FCapacity) Grow();
    std::memmove(FList.get() + Index + 1, FList.get() + Index, sizeof(void*) * static_cast<size_t>(FCount - Index));
    FList[Index] = Item;
    ++FCount;
    if (Item) Notify(Item, lnAdded);
}

void TList::Delete(int Index)
{
    CheckIndex(Index);
    void* item = FList[Index];
    --FCount;
    std::memmove(FList.get() + Index, FList.get() + Index + 1, sizeof(void*) * static_cast<size_t>(FCount - Index));
    if (item) Notify(item, lnDeleted);
}

int TList::Remove(void* Item)
{
    const int result = IndexOf(Item);
    if (result >= 0) Delete(result);
    return result;
}

void* TList::Extract(void* Item)
{
    const int i = IndexOf(Item);
    if (i < 0) return nullptr;
    --FCount;
    std::memmove(FList.get() + i, FList.get() + i + 1, sizeof(void*) * static_cast<size_t>(FCount - i));
    Notify(Item, lnExtracted);
    return Item;
}

int TList::IndexOf(void* Item) const
{
    for (int i = 0; i < FCount; ++i)
        if (FList[i] == Item) return i;
    return -1;
}

void TList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FList[Index1], FList[Index2]);
}

void TList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex) return;
    CheckIndex(NewIndex);
    CheckIndex(CurIndex);
    void** items = FList.get();
    void* item = items[CurIndex];
    if (CurIndex < NewIndex)
        std::memmove(items + CurIndex, items + CurIndex + 1, sizeof(void*) * static_cast<size_t>(NewIndex - CurIndex));
    else
        std::memmove(items + NewIndex + 1, items + NewIndex, sizeof(void*) * static_cast<size_t>(CurIndex - NewIndex));
    items[NewIndex] = item;
}

void TList::Pack()
{
    int kept = 0;
    for (int i = 0; i < FCount; ++i)
        if (FList[i]) FList[kept++] = FList[i];
    FCount = kept;
}

void TList::Clear()
{
    SetCount(0);
    SetCapacity(0);
}

TList* TList::Expand()
{
    if (FCount == FCapacity) Grow();
    return this;
}

void TList::Assign(TList* Source)
{
    if (Source == this) return;
    Clear();
    SetCapacity(Source->FCapacity);
    for (int i = 0; i < Source->FCount; ++i) Add(Source->FList[i]);
}

void* TList::Get(int Index) const
{
    CheckIndex(Index);
    return FList[Index];
}

void TList::Put(int Index, void* Item)
{
    CheckIndex(Index);
    void* old = FList[Index];
    if (old == Item) return;
    FList[Index] = Item;
    if (old) Notify(old, lnDeleted);
    if (Item) Notify(Item, lnAdded);
}

void TList::SetCount(int NewCount)
{
    if (NewCount < 0 || NewCount > MaxListSize) Error("List count out of bounds (%d)", NewCount);
    if (NewCount > FCapacity) SetCapacity(NewCount);
    if (NewCount > FCount) {
        std::fill(FList.get() + FCount, FList.get() + NewCount, nullptr);
        FCount = NewCount;
    } else {
        for (int i = FCount - 1; i >= NewCount; --i) Delete(i);
    }
}

void TList::SetCapacity(int NewCapacity)
{
    if (NewCapacity < FCount || NewCapacity > MaxListSize) Error("List capacity out of bounds (%d)", NewCapacity);
    if (NewCapacity == FCapacity) return;
    std::unique_ptr<void*[]> list;
    if (NewCapacity > 0) {
        list = std::make_unique<void*[]>(static_cast<size_t>(NewCapacity));
        std::copy(FList.get(), FList.get() + FCount, list.get());
    }
    FList = std::move(list);
    FCapacity = NewCapacity;
}

void TList::Grow()
{
    const int delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
    SetCapacity(std::min(FCapacity + delta, std::max(MaxListSize, FCapacity + 1)));
}

void TList::Notify(void*, TListNotification) {}

namespace {

// Quicksort with bounds on every scan, so that a compare function that is not
// a consistent order can leave the list unsorted but never runs off its ends.
void QuickSort(void** list, int L, int R, TListSortCompare Compare)
{
    while (L < R) {
        int I = L, J = R;
        void* P = list[(L + R) >> 1];
        do {
            while (I < R && Compare(list[I], P) < 0) ++I;
            while (J > L && Compare(list[J], P) > 0) --J;
            if (I <= J) {
                std::swap(list[I], list[J]);
                ++I;
                --J;
            }
        } while (I <= J);
        // Recurse into the smaller half to keep the stack shallow.
        if (J - L < R - I) {
            if (L < J) QuickSort(list, L, J, Compare);
            L = I;
        } else {
            if (I < R) QuickSort(list, I, R, Compare);
            R = J;
        }
    }
}

} // namespace

void TList::Sort(TListSortCompare Compare)
{
    if (FCount > 1) QuickSort(FList.get(), 0, FCount - 1, Compare);
}

} // namespace host
