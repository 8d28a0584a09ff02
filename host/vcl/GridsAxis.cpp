#include "host/vcl/Grids.h"

#include <algorithm>

namespace host {

void TGridAxis::SetCount(int Value)
{
    FCount = std::max(0, Value);
    FSizes.erase(FSizes.lower_bound(FCount), FSizes.end());
}

void TGridAxis::SetDefault(int Value)
{
    FDefault = std::max(0, Value);
    FSizes.clear();
}

int TGridAxis::Size(int Index) const
{
    if (Index < 0 || Index >= FCount) return 0;
    auto it = FSizes.find(Index);
    return it == FSizes.end() ? FDefault : it->second;
}

void TGridAxis::SetSize(int Index, int Value)
{
    if (Index < 0 || Index >= FCount) return;
    Value = std::max(0, Value);
    if (Value == FDefault)
        FSizes.erase(Index);
    else
        FSizes[Index] = Value;
}

void TGridAxis::Move(int From, int To)
{
    if (From == To || From < 0 || To < 0 || From >= FCount || To >= FCount) return;
    int size = Size(From);
    // The cells between shift by one towards From; only set sizes need moving.
    std::map<int, int> moved;
    int lo = std::min(From, To), hi = std::max(From, To);
    for (auto it = FSizes.lower_bound(lo); it != FSizes.end() && it->first <= hi;) {
        if (it->first != From) moved[From < To ? it->first - 1 : it->first + 1] = it->second;
        it = FSizes.erase(it);
    }
    for (auto& [index, value] : moved) FSizes[index] = value;
    SetSize(To, size);
}

int TGridAxisDrawInfo::CellAt(int Pos) const
{
    if (Pos < 0) return -1;
    int start = 0;
    if (Pos < FixedBoundary) {
        for (int i = 0; i < FixedCellCount; ++i) {
            start += Extent(i) + EffectiveLineWidth;
            if (Pos < start) return i;
        }
        return -1;
    }
    if (Pos >= GridBoundary) return -1;
    start = FixedBoundary;
    for (int i = FirstGridCell; i < Axis->GetCount(); ++i) {
        start += Extent(i) + EffectiveLineWidth;
        if (Pos < start) return i;
    }
    return -1;
}

int TGridAxisDrawInfo::CellStart(int Index) const
{
    if (Index < 0 || Index >= Axis->GetCount()) return -1;
    int start = 0;
    if (Index < FixedCellCount) {
        for (int i = 0; i < Index; ++i) start += Extent(i) + EffectiveLineWidth;
        return start;
    }
    if (Index < FirstGridCell) return -1;
    start = FixedBoundary;
    for (int i = FirstGridCell; i < Index; ++i) {
        start += Extent(i) + EffectiveLineWidth;
        if (start >= GridExtent) return -1;
    }
    return start < GridExtent ? start : -1;
}

} // namespace host
