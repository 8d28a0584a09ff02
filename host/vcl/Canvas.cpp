// TCanvas: the framework's drawing surface over a device context.
#include <algorithm>
#include <cmath>

#include "host/vcl/CanvasRecorder.h"
#include "host/vcl/Graphics.h"

namespace host {

namespace {

const TCanvasState kShapeState{csHandleValid, csPenValid, csBrushValid};
const TCanvasState kLineState{csHandleValid, csPenValid};
const TCanvasState kTextState{csHandleValid, csFontValid, csBrushValid};
const TCanvasState kFontState{csHandleValid, csFontValid};
const TCanvasState kBrushState{csHandleValid, csBrushValid};

enum TShapeKind { skArc, skChord, skPie, skPolygon, skPolyline, skPolyBezier };

// Appends the points of one cubic curve (excluding its start) to Out; enough
// steps that neighbouring points are about two pixels apart.
void FlattenBezier(const TPoint& P0, const TPoint& P1, const TPoint& P2, const TPoint& P3, std::vector<TPoint>& Out)
{
    auto dist = [](const TPoint& a, const TPoint& b) { return std::hypot(double(b.x - a.x), double(b.y - a.y)); };
    double len = dist(P0, P1) + dist(P1, P2) + dist(P2, P3);
    int steps = std::clamp(static_cast<int>(len / 2), 1, 1000);
    for (int i = 1; i <= steps; ++i) {
        double t = double(i) / steps, u = 1 - t;
        double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        Out.push_back(TPoint{static_cast<LONG>(std::lround(a * P0.x + b * P1.x + c * P2.x + d * P3.x)),
                             static_cast<LONG>(std::lround(a * P0.y + b * P1.y + c * P2.y + d * P3.y))});
    }
}

} // namespace

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>())
{
    FFont->OnChange = TNotifyEvent(this, &TCanvas::FontChanged);
    FPen->OnChange = TNotifyEvent(this, &TCanvas::PenChanged);
    FBrush->OnChange = TNotifyEvent(this, &TCanvas::BrushChanged);
}

TCanvas::~TCanvas()
{
    // A canvas never owns the DC it was given; descendants free their own first.
    if (FHandle) DeselectHandles();
}

// ---- State -----------------------------------------------------------------------

HDC TCanvas::GetHandle()
{
    RequiredState(csAllValid);
    return FHandle;
}

void TCanvas::SetHandle(HDC Value)
{
    if (Value == FHandle) return;
    if (FHandle) {
        DeselectHandles();
        FState -= csHandleValid;
    }
    FHandle = Value;
    if (FHandle) FState += csHandleValid;
}

void TCanvas::DeselectHandles()
{
    if (!FHandle) return;
    if (FState.Contains(csPenValid)) SelectObject(FHandle, GetStockObject(BLACK_PEN));
    if (FState.Contains(csBrushValid)) SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
    if (FState.Contains(csFontValid)) SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    FState -= TCanvasState{csPenValid, csBrushValid, csFontValid};
}

void TCanvas::RequiredState(TCanvasState ReqState)
{
    TCanvasState needed = ReqState - FState;
    if (needed.Empty()) return;
    if (needed.Contains(csHandleValid)) {
        CreateHandle();
        if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
        FState += csHandleValid;
    }
    if (needed.Contains(csFontValid)) CreateFont();
    if (needed.Contains(csPenValid)) CreatePen();
    if (needed.Contains(csBrushValid)) CreateBrush();
}

void TCanvas::CreateFont()
{
    SelectObject(FHandle, FFont->GetHandle());
    SetTextColor(FHandle, ColorToRGB(FFont->GetColor()));
    FState += csFontValid;
}

void TCanvas::CreatePen()
{
    SelectObject(FHandle, FPen->GetHandle());
    SetROP2(FHandle, PenModeToRop2(FPen->GetMode()));
    FState += csPenValid;
}

void TCanvas::CreateBrush()
{
    SelectObject(FHandle, FBrush->GetHandle());
    // Hatches and text backgrounds are opaque only under a solid brush; the
    // background colour is what a monochrome bitmap's white becomes.
    SetBkColor(FHandle, ColorToRGB(FBrush->GetColor()));
    SetBkMode(FHandle, FBrush->GetStyle() == bsSolid ? OPAQUE : TRANSPARENT);
    FState += csBrushValid;
}

void TCanvas::FontChanged(TObject*)
{
    if (!FState.Contains(csFontValid)) return;
    FState -= csFontValid;
    SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
}

void TCanvas::PenChanged(TObject*)
{
    if (!FState.Contains(csPenValid)) return;
    FState -= csPenValid;
    SelectObject(FHandle, GetStockObject(BLACK_PEN));
}

void TCanvas::BrushChanged(TObject*)
{
    if (!FState.Contains(csBrushValid)) return;
    FState -= csBrushValid;
    SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::Changing()
{
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange) OnChange(this);
}

void TCanvas::Lock() { ++FLockCount; }

void TCanvas::Unlock()
{
    if (FLockCount > 0) --FLockCount;
}

bool TCanvas::TryLock()
{
    if (FLockCount > 0) return false;
    Lock();
    return true;
}

TRect TCanvas::GetClipRect()
{
    RequiredState({csHandleValid});
    TRect r;
    GetClipBox(FHandle, &r);
    return r;
}

TPoint TCanvas::GetPenPos()
{
    if (FRecorder) return FPenPos;
    RequiredState({csHandleValid});
    GetCurrentPositionEx(FHandle, &FPenPos);
    return FPenPos;
}

TColor TCanvas::GetPixels(int X, int Y)
{
    RequiredState({csHandleValid});
    return static_cast<TColor>(GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value)
{
    Changing();
    if (FRecorder) {
        FRecorder->Add(this, TMetaOp::Pixel, {X, Y, Value});
    } else {
        RequiredState({csHandleValid, csPenValid});
        SetPixel(FHandle, X, Y, ColorToRGB(Value));
    }
    Changed();
}

// ---- Lines and shapes ------------------------------------------------------------------

void TCanvas::MoveTo(int X, int Y)
{
    FPenPos = TPoint{X, Y};
    if (FRecorder) return FRecorder->Add(this, TMetaOp::MoveTo, {X, Y});
    RequiredState({csHandleValid});
    MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y)
{
    Changing();
    FPenPos = TPoint{X, Y};
    if (FRecorder) {
        FRecorder->Add(this, TMetaOp::LineTo, {X, Y});
    } else {
        RequiredState(kLineState);
        host::LineTo(FHandle, X, Y);
    }
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    Changing();
    if (FRecorder) {
        FRecorder->Add(this, TMetaOp::Rectangle, {X1, Y1, X2, Y2});
    } else {
        RequiredState(kShapeState);
        host::Rectangle(FHandle, X1, Y1, X2, Y2);
    }
    Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
    Changing();
    if (FRecorder) {
        FRecorder->Add(this, TMetaOp::RoundRect, {X1, Y1, X2, Y2, X3, Y3});
    } else {
        RequiredState(kShapeState);
        host::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
    }
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    Changing();
    if (FRecorder) {
        FRecorder->Add(this, TMetaOp::Ellipse, {X1, Y1, X2, Y2});
    } else {
        RequiredState(kShapeState);
        host::Ellipse(FHandle, X1, Y1, X2, Y2);
    }
    Changed();
}

void TCanvas::Shape4(int Kind, int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    Changing();
    if (FRecorder) {
        TMetaOp op = Kind == skArc ? TMetaOp::Arc : Kind == skChord ? TMetaOp::Chord : TMetaOp::Pie;
        FRecorder->Add(this, op, {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
    } else {
        RequiredState(Kind == skArc ? kLineState : kShapeState);
        if (Kind == skArc)
            host::Arc(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
        else if (Kind == skChord)
            host::Chord(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
        else
            host::Pie(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    }
    Changed();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    Shape4(skArc, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    Shape4(skChord, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    Shape4(skPie, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::PointList(int Kind, const std::vector<TPoint>& Points)
{
    if (Points.empty()) return;
    Changing();
    if (FRecorder) {
        std::vector<int32_t> args;
        for (const TPoint& p : Points) {
            args.push_back(p.x);
            args.push_back(p.y);
        }
        TMetaOp op = Kind == skPolygon ? TMetaOp::Polygon : Kind == skPolyline ? TMetaOp::Polyline : TMetaOp::PolyBezier;
        FRecorder->Add(this, op, std::move(args));
    } else if (Kind == skPolygon) {
        RequiredState(kShapeState);
        host::Polygon(FHandle, Points.data(), static_cast<int>(Points.size()));
    } else if (Kind == skPolyline) {
        RequiredState(kLineState);
        host::Polyline(FHandle, Points.data(), static_cast<int>(Points.size()));
    } else {
        RequiredState(kLineState);
        std::vector<TPoint> flat{Points[0]};
        for (size_t i = 1; i + 2 < Points.size(); i += 3) FlattenBezier(Points[i - 1], Points[i], Points[i + 1], Points[i + 2], flat);
        // Unlike a polyline, a curve reaches its end point.
        if (flat.size() > 1) {
            host::Polyline(FHandle, flat.data(), static_cast<int>(flat.size()));
            SetPixel(FHandle, flat.back().x, flat.back().y, ColorToRGB(FPen->GetColor()));
        }
    }
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) { PointList(skPolygon, Points); }
void TCanvas::Polyline(const std::vector<TPoint>& Points) { PointList(skPolyline, Points); }
void TCanvas::PolyBezier(const std::vector<TPoint>& Points) { PointList(skPolyBezier, Points); }

void TCanvas::FillRect(const TRect& Rect)
{
    Changing();
    if (FRecorder) {
        FRecorder->Add(this, TMetaOp::FillRect, {Rect.left, Rect.top, Rect.right, Rect.bottom});
    } else {
        RequiredState(kBrushState);
        host::FillRect(FHandle, &Rect, FBrush->GetHandle());
    }
    Changed();
}

void TCanvas::FrameRect(const TRect& Rect)
{
    Changing();
    if (FRecorder) {
        FRecorder->Add(this, TMetaOp::FrameRect, {Rect.left, Rect.top, Rect.right, Rect.bottom});
    } else {
        RequiredState(kBrushState);
        host::FrameRect(FHandle, &Rect, FBrush->GetHandle());
    }
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect)
{
    Changing();
    if (FRecorder) {
        FRecorder->Add(this, TMetaOp::FocusRect, {Rect.left, Rect.top, Rect.right, Rect.bottom});
    } else {
        RequiredState(kBrushState);
        host::DrawFocusRect(FHandle, &Rect);
    }
    Changed();
}

// ---- Text -----------------------------------------------------------------------------

void TCanvas::TextOut(int X, int Y, const std::string& Text)
{
    Changing();
    if (FRecorder) {
        FRecorder->Add(this, TMetaOp::TextOut, {X, Y}, Text);
        FPenPos = TPoint{X + TextWidth(Text), Y};
    } else {
        RequiredState(kTextState);
        ExtTextOut(FHandle, X, Y, static_cast<UINT>(FTextFlags), nullptr, Text.data(),
                   static_cast<UINT>(Text.size()), nullptr);
        MoveTo(X + TextWidth(Text), Y);
    }
    Changed();
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const std::string& Text)
{
    Changing();
    if (FRecorder) {
        FRecorder->Add(this, TMetaOp::TextRect, {Rect.left, Rect.top, Rect.right, Rect.bottom, X, Y}, Text);
    } else {
        RequiredState(kTextState);
        UINT options = ETO_CLIPPED | static_cast<UINT>(FTextFlags);
        if (FBrush->GetStyle() != bsClear) options |= ETO_OPAQUE;
        ExtTextOut(FHandle, X, Y, options, &Rect, Text.data(), static_cast<UINT>(Text.size()), nullptr);
    }
    Changed();
}

SIZE TCanvas::TextExtent(const std::string& Text)
{
    RequiredState(kFontState);
    SIZE s;
    GetTextExtentPoint32(FHandle, Text.data(), static_cast<int>(Text.size()), &s);
    return s;
}

int TCanvas::TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
int TCanvas::TextHeight(const std::string& Text) { return TextExtent(Text).cy; }

// ---- Copying and filling -------------------------------------------------------------

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source)
{
    if (!Canvas) return;
    Changing();
    if (FRecorder) {
        // A recording keeps the copied pixels as a bitmap.
        TBitmap copy;
        copy.SetSize(Source.right - Source.left, Source.bottom - Source.top);
        copy.GetCanvas()->CopyRect(Rect(0, 0, copy.GetWidth(), copy.GetHeight()), Canvas, Source);
        if (!copy.GetEmpty()) FRecorder->AddGraphic(this, Dest, &copy);
        return Changed();
    }
    RequiredState(kTextState);
    Canvas->RequiredState(kBrushState);
    StretchBlt(FHandle, Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top, Canvas->FHandle,
               Source.left, Source.top, Source.right - Source.left, Source.bottom - Source.top,
               static_cast<DWORD>(FCopyMode));
    Changed();
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic)
{
    if (!Graphic || Graphic->GetEmpty()) return;
    StretchDraw(Rect(X, Y, X + Graphic->GetWidth(), Y + Graphic->GetHeight()), Graphic);
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic)
{
    if (!Graphic || Graphic->GetEmpty()) return;
    Changing();
    if (FRecorder) {
        FRecorder->AddGraphic(this, Rect, Graphic);
    } else {
        RequiredState(csAllValid);
        Graphic->Draw(this, Rect);
    }
    Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color)
{
    // D = D ^ (S & (P ^ D)): the brush where the mask is white, else the copy.
    constexpr DWORD ROP_DSPDxax = 0x00E20746;
    if (!Bitmap || Bitmap->GetEmpty()) return;
    Lock();
    Changing();
    RequiredState(kBrushState);
    int srcW = Source.right - Source.left, srcH = Source.bottom - Source.top;
    int dstW = Dest.right - Dest.left, dstH = Dest.bottom - Dest.top;
    HDC srcDC = Bitmap->GetCanvas()->GetHandle();
    HDC maskDC = CreateCompatibleDC(nullptr);
    HBITMAP mask = CreateBitmap(std::max(srcW, 1), std::max(srcH, 1), 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(maskDC, mask);
    // Pixels of the background colour become white in a monochrome copy.
    COLORREF oldSrcBk = SetBkColor(srcDC, ColorToRGB(Color));
    BitBlt(maskDC, 0, 0, srcW, srcH, srcDC, Source.left, Source.top, SRCCOPY);
    SetBkColor(srcDC, oldSrcBk);
    COLORREF oldText = SetTextColor(FHandle, RGB(0, 0, 0));
    COLORREF oldBk = SetBkColor(FHandle, RGB(255, 255, 255));
    StretchBlt(FHandle, Dest.left, Dest.top, dstW, dstH, srcDC, Source.left, Source.top, srcW, srcH, SRCCOPY);
    StretchBlt(FHandle, Dest.left, Dest.top, dstW, dstH, maskDC, 0, 0, srcW, srcH, ROP_DSPDxax);
    SetTextColor(FHandle, oldText);
    SetBkColor(FHandle, oldBk);
    SelectObject(maskDC, oldMask);
    DeleteObject(mask);
    DeleteDC(maskDC);
    Changed();
    Unlock();
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle)
{
    Changing();
    RequiredState(kBrushState);
    TRect clip;
    GetClipBox(FHandle, &clip);
    const COLORREF target = ColorToRGB(Color);
    auto inside = [&](int x, int y) {
        COLORREF c = GetPixel(FHandle, x, y);
        return FillStyle == fsSurface ? c == target : c != target;
    };
    const int w = clip.right - clip.left, h = clip.bottom - clip.top;
    if (w <= 0 || h <= 0 || X < clip.left || Y < clip.top || X >= clip.right || Y >= clip.bottom || !inside(X, Y))
        return Changed();
    // Scan-line fill; the visited map keeps it finite when the brush paints
    // the very colour being searched for.
    std::vector<uint8_t> seen(static_cast<size_t>(w) * h, 0);
    auto visited = [&](int x, int y) -> uint8_t& { return seen[static_cast<size_t>(y - clip.top) * w + (x - clip.left)]; };
    std::vector<TPoint> stack{TPoint{X, Y}};
    while (!stack.empty()) {
        TPoint p = stack.back();
        stack.pop_back();
        if (visited(p.x, p.y) || !inside(p.x, p.y)) continue;
        int x1 = p.x, x2 = p.x;
        while (x1 > clip.left && !visited(x1 - 1, p.y) && inside(x1 - 1, p.y)) --x1;
        while (x2 + 1 < clip.right && !visited(x2 + 1, p.y) && inside(x2 + 1, p.y)) ++x2;
        for (int x = x1; x <= x2; ++x) {
            visited(x, p.y) = 1;
            if (p.y > clip.top) stack.push_back(TPoint{x, p.y - 1});
            if (p.y + 1 < clip.bottom) stack.push_back(TPoint{x, p.y + 1});
        }
        PatBlt(FHandle, x1, p.y, x2 - x1 + 1, 1, PATCOPY);
    }
    Changed();
}

} // namespace host
