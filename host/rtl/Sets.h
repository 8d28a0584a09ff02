#pragma once
// Set types over enumerations whose values lie in 0..63:
//
//     enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
//     using TFontStyles = TSet<TFontStyle>;
//     TFontStyles s{fsBold, fsItalic};
//     if (s.Contains(fsBold)) s -= fsBold;
//
// ToInt / FromInt give the ordinal bit mask that RTTI and streaming use.
#include <cstdint>
#include <initializer_list>

namespace host {

template <class E>
class TSet {
public:
    using TElement = E;

    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> Items)
    {
        for (E e : Items) FBits |= Bit(e);
    }

    static constexpr TSet FromInt(uint64_t Bits)
    {
        TSet s;
        s.FBits = Bits;
        return s;
    }
    constexpr uint64_t ToInt() const { return FBits; }

    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E e) { FBits |= Bit(e); return *this; }
    constexpr TSet& Exclude(E e) { FBits &= ~Bit(e); return *this; }

    constexpr TSet& operator+=(E e) { return Include(e); }
    constexpr TSet& operator-=(E e) { return Exclude(e); }
    constexpr TSet& operator+=(TSet s) { FBits |= s.FBits; return *this; }
    constexpr TSet& operator-=(TSet s) { FBits &= ~s.FBits; return *this; }
    constexpr TSet& operator*=(TSet s) { FBits &= s.FBits; return *this; }

    friend constexpr TSet operator+(TSet a, TSet b) { return a += b; }
    friend constexpr TSet operator-(TSet a, TSet b) { return a -= b; }
    friend constexpr TSet operator*(TSet a, TSet b) { return a *= b; }
    friend constexpr TSet operator+(TSet a, E e) { return a += e; }
    friend constexpr TSet operator-(TSet a, E e) { return a -= e; }
    friend constexpr bool operator==(TSet a, TSet b) { return a.FBits == b.FBits; }
    // Whether every member of a is in b.
    friend constexpr bool operator<=(TSet a, TSet b) { return (a.FBits & ~b.FBits) == 0; }

private:
    static constexpr uint64_t Bit(E e) { return uint64_t(1) << static_cast<unsigned>(e); }
    uint64_t FBits = 0;
};

} // namespace host
