#pragma once
// Point and rectangle geometry: offsets, bounds and rotation about a centre.
// A point list is a caller-owned array passed with its highest index (count
// minus one); the routines work in place and do not check its length.
#include <cstdint>
#include <initializer_list>

#include "host/vcl/Graphics.h"

namespace kel {

struct TPoint {
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    friend bool operator==(const TRect&, const TRect&) = default;
};

// A set of up to eight enumeration values held as one byte, bit n standing for
// the value of ordinal n (the storage a form file keeps).
template <typename E>
class TByteSet {
public:
    // The element type and integer view the published-property machinery uses.
    using TElement = E;

    constexpr TByteSet() = default;
    constexpr TByteSet(std::initializer_list<E> Values)
    {
        for (E v : Values) FBits |= Bit(v);
    }
    static constexpr TByteSet FromByte(uint8_t Bits)
    {
        TByteSet s;
        s.FBits = Bits;
        return s;
    }

    static constexpr TByteSet FromInt(uint64_t Bits) { return FromByte(static_cast<uint8_t>(Bits)); }

    constexpr uint8_t ToByte() const { return FBits; }
    constexpr uint64_t ToInt() const { return FBits; }
    constexpr bool Contains(E Value) const { return (FBits & Bit(Value)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TByteSet& Include(E Value) { FBits |= Bit(Value); return *this; }
    constexpr TByteSet& Exclude(E Value) { FBits &= static_cast<uint8_t>(~Bit(Value)); return *this; }

    friend constexpr TByteSet operator+(TByteSet A, TByteSet B) { return FromByte(A.FBits | B.FBits); }
    friend constexpr TByteSet operator*(TByteSet A, TByteSet B) { return FromByte(A.FBits & B.FBits); }
    friend constexpr TByteSet operator-(TByteSet A, TByteSet B)
    {
        return FromByte(static_cast<uint8_t>(A.FBits & ~B.FBits));
    }
    friend constexpr bool operator==(TByteSet, TByteSet) = default;

private:
    static constexpr uint8_t Bit(E Value) { return static_cast<uint8_t>(1u << static_cast<unsigned>(Value)); }
    uint8_t FBits = 0;
};

// Which edges of a panel carry a bevel.
enum TBevelEdge : uint8_t { beLeft, beTop, beRight, beBottom };
HOST_ENUM_NAMES(TBevelEdge, beLeft, beTop, beRight, beBottom)
using TBevelEdges = TByteSet<TBevelEdge>;
inline constexpr TBevelEdges AllBevelEdges{beLeft, beTop, beRight, beBottom};

void OffsetPoint(TPoint& P, int32_t DX, int32_t DY);
void OffsetPoints(TPoint* Points, int High, int32_t DX, int32_t DY);

// Writes the four corners of R into Points[0..3], clockwise on screen starting
// at (Left, Top).
void SetRectPoints(const TRect& R, TPoint* Points);

// Smallest and largest x and y of the points; Right and Bottom are the largest
// coordinates themselves. An empty list (High < 0) gives an empty rectangle.
TRect GetPolygonBounds(const TPoint* Points, int High);

// Rotation counter-clockwise as seen on screen (the sense of font escapement).
// Angles come as their sine and cosine; results round halves to even.
void RotateWinPoint(const TPoint& Centre, TPoint& P, double Sine, double Cosine);
void RotateWinPolygon(const TPoint& Centre, TPoint* Points, int High, double Sine, double Cosine);
void RotateWinRect(const TPoint& Centre, const TRect& R, TPoint* Points, double Sine, double Cosine);
void RotateWinRectBounds(const TPoint& Centre, TRect& R, double Sine, double Cosine);

// Rotation clockwise as seen on screen: the mathematical rotation applied to
// coordinates that grow downwards.
void RotatePoint(const TPoint& Centre, TPoint& P, double Sine, double Cosine);
void RotatePolygon(const TPoint& Centre, TPoint* Points, int High, double Sine, double Cosine);
void RotateRect(const TPoint& Centre, const TRect& R, TPoint* Points, double Sine, double Cosine);
void RotateRectBounds(const TPoint& Centre, TRect& R, double Sine, double Cosine);

// 3-D frames of Width one-pixel rings drawn in TopColor (top and left) and
// BottomColor (bottom and right). Rect is the frame's outer bounds (right and
// bottom exclusive); it comes back as the area inside the frame. A width of 0
// or less draws nothing. The canvas's pen is left at width 1 and the last colour.
void RoundFrame3D(host::TCanvas* Canvas, TRect& Rect, host::TColor TopColor, host::TColor BottomColor, int Width,
                  int Radius);
void EllipseFrame3D(host::TCanvas* Canvas, TRect& Rect, host::TColor TopColor, host::TColor BottomColor, int Width);
// Only the edges named in Edges get their ring segment.
void EdgeFrame3D(host::TCanvas* Canvas, TRect& Rect, host::TColor TopColor, host::TColor BottomColor, int Width,
                 TBevelEdges Edges);

} // namespace kel
