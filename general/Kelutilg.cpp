#include "general/Kelutilg.h"

#include <cmath>
#include <limits>

namespace kel {
namespace {

// Nearest integer, halves to even, saturated to the 32-bit range so that a
// far-away rotation cannot overflow the conversion.
int32_t RoundHalfEven(double X)
{
    double whole = std::floor(X);
    double diff = X - whole;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(whole, 2.0) != 0)) whole += 1;
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    if (!(whole >= lo)) return std::numeric_limits<int32_t>::min(); // also NaN
    if (whole > hi) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(whole);
}

enum class TRotationSense { Win, Screen };

void RotateOne(TRotationSense Sense, const TPoint& Centre, TPoint& P, double Sine, double Cosine)
{
    double dx = static_cast<double>(P.x) - Centre.x;
    double dy = static_cast<double>(P.y) - Centre.y;
    if (Sense == TRotationSense::Win) {
        P.x = Centre.x + RoundHalfEven(Cosine * dx + Sine * dy);
        P.y = Centre.y - RoundHalfEven(Sine * dx - Cosine * dy);
    } else {
        P.x = Centre.x + RoundHalfEven(Cosine * dx - Sine * dy);
        P.y = Centre.y + RoundHalfEven(Sine * dx + Cosine * dy);
    }
}

void RotateMany(TRotationSense Sense, const TPoint& Centre, TPoint* Points, int High, double Sine, double Cosine)
{
    for (int i = 0; i <= High; ++i)
        if (!(Points[i] == Centre)) RotateOne(Sense, Centre, Points[i], Sine, Cosine);
}

void RotateBounds(TRotationSense Sense, const TPoint& Centre, TRect& R, double Sine, double Cosine)
{
    TPoint corners[4];
    SetRectPoints(R, corners);
    RotateMany(Sense, Centre, corners, 3, Sine, Cosine);
    R = GetPolygonBounds(corners, 3);
}

} // namespace

void OffsetPoint(TPoint& P, int32_t DX, int32_t DY)
{
    P.x += DX;
    P.y += DY;
}

void OffsetPoints(TPoint* Points, int High, int32_t DX, int32_t DY)
{
    for (int i = 0; i <= High; ++i) OffsetPoint(Points[i], DX, DY);
}

void SetRectPoints(const TRect& R, TPoint* Points)
{
    Points[0] = {R.Left, R.Top};
    Points[1] = {R.Right, R.Top};
    Points[2] = {R.Right, R.Bottom};
    Points[3] = {R.Left, R.Bottom};
}

TRect GetPolygonBounds(const TPoint* Points, int High)
{
    if (High < 0) return TRect{};
    TRect r{Points[0].x, Points[0].y, Points[0].x, Points[0].y};
    for (int i = 1; i <= High; ++i) {
        const TPoint& p = Points[i];
        if (p.x < r.Left) r.Left = p.x;
        if (p.x > r.Right) r.Right = p.x;
        if (p.y < r.Top) r.Top = p.y;
        if (p.y > r.Bottom) r.Bottom = p.y;
    }
    return r;
}

void RotateWinPoint(const TPoint& Centre, TPoint& P, double Sine, double Cosine)
{
    RotateOne(TRotationSense::Win, Centre, P, Sine, Cosine);
}

void RotateWinPolygon(const TPoint& Centre, TPoint* Points, int High, double Sine, double Cosine)
{
    RotateMany(TRotationSense::Win, Centre, Points, High, Sine, Cosine);
}

void RotateWinRect(const TPoint& Centre, const TRect& R, TPoint* Points, double Sine, double Cosine)
{
    SetRectPoints(R, Points);
    RotateMany(TRotationSense::Win, Centre, Points, 3, Sine, Cosine);
}

void RotateWinRectBounds(const TPoint& Centre, TRect& R, double Sine, double Cosine)
{
    RotateBounds(TRotationSense::Win, Centre, R, Sine, Cosine);
}

void RotatePoint(const TPoint& Centre, TPoint& P, double Sine, double Cosine)
{
    RotateOne(TRotationSense::Screen, Centre, P, Sine, Cosine);
}

void RotatePolygon(const TPoint& Centre, TPoint* Points, int High, double Sine, double Cosine)
{
    RotateMany(TRotationSense::Screen, Centre, Points, High, Sine, Cosine);
}

void RotateRect(const TPoint& Centre, const TRect& R, TPoint* Points, double Sine, double Cosine)
{
    SetRectPoints(R, Points);
    RotateMany(TRotationSense::Screen, Centre, Points, 3, Sine, Cosine);
}

void RotateRectBounds(const TPoint& Centre, TRect& R, double Sine, double Cosine)
{
    RotateBounds(TRotationSense::Screen, Centre, R, Sine, Cosine);
}

// ---- 3-D frames ----------------------------------------------------------------

namespace {

struct TRing {
    host::TCanvas* C;
    host::TColor Top, Bottom;
    int32_t L, T, R, B;

    void Line(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) const
    {
        C->MoveTo(X1, Y1);
        C->LineTo(X2, Y2);
    }
    void StepTo(bool Draw, int32_t X, int32_t Y) const
    {
        if (Draw)
            C->LineTo(X, Y);
        else
            C->MoveTo(X, Y);
    }
};

// The steps every frame shares: the rectangle names its last pixel column and
// row while the rings are drawn, each ring one pixel inside the previous one.
template <class DrawRing>
void Frame(host::TCanvas* Canvas, TRect& Rect, host::TColor Top, host::TColor Bottom, int Width, DrawRing Ring)
{
    Canvas->GetPen()->SetWidth(1);
    --Rect.Right;
    --Rect.Bottom;
    for (int i = 0; i < Width; ++i) {
        Ring(TRing{Canvas, Top, Bottom, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom});
        ++Rect.Left;
        ++Rect.Top;
        --Rect.Right;
        --Rect.Bottom;
    }
    ++Rect.Right;
    ++Rect.Bottom;
}

} // namespace

void EdgeFrame3D(host::TCanvas* Canvas, TRect& Rect, host::TColor TopColor, host::TColor BottomColor, int Width,
                 TBevelEdges Edges)
{
    Frame(Canvas, Rect, TopColor, BottomColor, Width, [Edges](const TRing& r) {
        r.C->GetPen()->SetColor(r.Top);
        r.C->MoveTo(r.L, r.B);
        r.StepTo(Edges.Contains(beLeft), r.L, r.T);
        r.StepTo(Edges.Contains(beTop), r.R, r.T);
        r.C->GetPen()->SetColor(r.Bottom);
        r.StepTo(Edges.Contains(beRight), r.R, r.B);
        // One past the left edge, so the bottom edge covers (L, B) as well.
        r.StepTo(Edges.Contains(beBottom), r.L - 1, r.B);
    });
}

void RoundFrame3D(host::TCanvas* Canvas, TRect& Rect, host::TColor TopColor, host::TColor BottomColor, int Width,
                  int Radius)
{
    const int32_t d = 2 * Radius;
    Frame(Canvas, Rect, TopColor, BottomColor, Width, [Radius, d](const TRing& g) {
        const int32_t r = Radius, L = g.L, T = g.T, R = g.R, B = g.B;
        g.C->GetPen()->SetColor(g.Top);
        g.Line(L, B - r, L, T + r - 1);
        g.Line(L + r, T, R - r, T);
        if (r != 0) {
            g.C->Arc(L, B - d, L + d + 1, B, L, B - r, L + r, B);
            g.C->Arc(L, T, L + d, T + d, L + r, T, L, T + r);
        }
        g.C->GetPen()->SetColor(g.Bottom);
        g.Line(R, T + r, R, B - r);
        g.Line(R - r, B, L + r, B);
        if (r != 0) {
            g.C->Arc(R + 1, B + 1, R - d, B - d, R - r, B, R, B - r);
            g.C->Arc(R - d - 1, T, R + 1, T + d, R, T + r, R - r, T);
        }
    });
}

void EllipseFrame3D(host::TCanvas* Canvas, TRect& Rect, host::TColor TopColor, host::TColor BottomColor, int Width)
{
    Frame(Canvas, Rect, TopColor, BottomColor, Width, [](const TRing& g) {
        g.C->GetPen()->SetColor(g.Top);
        g.C->Arc(g.L, g.T, g.R + 1, g.B + 1, g.R, g.T, g.L, g.B + 1);
        g.C->GetPen()->SetColor(g.Bottom);
        g.C->Arc(g.L, g.T, g.R + 1, g.B + 1, g.L, g.B, g.R, g.T - 1);
    });
}

} // namespace kel
