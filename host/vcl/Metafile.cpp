// TMetafile: canvas calls recorded by a TMetafileCanvas and replayed scaled.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/rtl/Streams.h"
#include "host/vcl/CanvasRecorder.h"
#include "host/vcl/Graphics.h"

namespace host {

namespace {

constexpr char kMagic[4] = {'K', 'M', 'F', '1'};
// Bounds that keep a forged stream from making us allocate without limit.
constexpr uint32_t kMaxRecords = 1u << 22;
constexpr uint32_t kMaxArgs = 1u << 20;
constexpr uint32_t kMaxText = 1u << 26;
constexpr int kMaxPenWidth = 1000;
constexpr int kMaxFontHeight = 2000;

std::vector<int32_t> PenState(TPen* P)
{
    return {P->GetColor(), P->GetMode(), P->GetStyle(), P->GetWidth()};
}

std::vector<int32_t> BrushState(TBrush* B) { return {B->GetColor(), B->GetStyle()}; }

std::vector<int32_t> FontState(TFont* F)
{
    LOGFONT lf = F->GetLogFont();
    return {F->GetColor(), F->GetHeight(), F->GetPitch(), static_cast<int32_t>(F->GetStyle().ToInt()),
            F->GetCharset(), lf.lfEscapement, lf.lfWeight};
}

void WriteU32(TStream* S, uint32_t V) { S->WriteBuffer(&V, 4); }

uint32_t ReadU32(TStream* S)
{
    uint32_t v = 0;
    S->ReadBuffer(&v, 4);
    return v;
}

// Maps recorded coordinates onto the target rectangle, within the range the
// rasterizer accepts.
struct TScaler {
    double SX, SY;
    int OX, OY;
    static int Clamp(double V) { return static_cast<int>(std::lround(std::clamp(V, -134217728.0, 134217728.0))); }
    int X(int V) const { return Clamp(OX + V * SX); }
    int Y(int V) const { return Clamp(OY + V * SY); }
    int W(int V) const { return Clamp(V * SX); }
    int H(int V) const { return Clamp(V * SY); }
};

} // namespace

// ---- Recording ---------------------------------------------------------------------

void TCanvasRecorder::SyncState(TCanvas* Canvas)
{
    std::vector<int32_t> pen = PenState(Canvas->GetPen());
    if (pen != FLastPen) Records.push_back({TMetaOp::Pen, FLastPen = pen, {}});
    std::vector<int32_t> brush = BrushState(Canvas->GetBrush());
    if (brush != FLastBrush) Records.push_back({TMetaOp::Brush, FLastBrush = brush, {}});
    std::vector<int32_t> font = FontState(Canvas->GetFont());
    if (font != FLastFont || Canvas->GetFont()->GetName() != FLastFontName) {
        FLastFontName = Canvas->GetFont()->GetName();
        Records.push_back({TMetaOp::Font, FLastFont = font, FLastFontName});
    }
}

void TCanvasRecorder::Add(TCanvas* Canvas, TMetaOp Op, std::vector<int32_t> Args, std::string Text)
{
    if (Op != TMetaOp::MoveTo) SyncState(Canvas);
    Records.push_back({Op, std::move(Args), std::move(Text)});
}

void TCanvasRecorder::AddGraphic(TCanvas* Canvas, const TRect& Rect, TGraphic* Graphic)
{
    TMemoryStream ms;
    Graphic->SaveToStream(&ms);
    std::string text = Graphic->ClassName();
    text.push_back('\0');
    text.append(static_cast<const char*>(ms.GetMemory()), static_cast<size_t>(ms.GetSize()));
    Add(Canvas, TMetaOp::Graphic, {Rect.left, Rect.top, Rect.right, Rect.bottom}, std::move(text));
}

// ---- Replay ----------------------------------------------------------------------------

namespace {

void ApplyState(TCanvas* T, const TMetaRecord& R, const TScaler& S)
{
    const auto& a = R.Args;
    if (R.Op == TMetaOp::Pen && a.size() >= 4) {
        T->GetPen()->SetColor(a[0]);
        T->GetPen()->SetMode(static_cast<TPenMode>(std::clamp(a[1], 0, int(pmNotXor))));
        T->GetPen()->SetStyle(static_cast<TPenStyle>(std::clamp(a[2], 0, int(psInsideFrame))));
        // Clamped: a recording from outside must not ask for absurd pens or fonts.
        T->GetPen()->SetWidth(std::clamp(a[3] <= 1 ? a[3] : std::max(1, S.W(a[3])), 0, kMaxPenWidth));
    } else if (R.Op == TMetaOp::Brush && a.size() >= 2) {
        T->GetBrush()->SetBitmap(nullptr);
        T->GetBrush()->SetColor(a[0]);
        T->GetBrush()->SetStyle(static_cast<TBrushStyle>(std::clamp(a[1], 0, int(bsDiagCross))));
    } else if (R.Op == TMetaOp::Font && a.size() >= 7) {
        TFont* f = T->GetFont();
        f->SetName(R.Text);
        int height = std::clamp(std::abs(S.H(std::clamp(a[1], -kMaxFontHeight, kMaxFontHeight))), 1, kMaxFontHeight);
        f->SetHeight(a[1] == 0 ? 0 : a[1] < 0 ? -height : height);
        f->SetPitch(static_cast<TFontPitch>(std::clamp(a[2], 0, int(fpFixed))));
        f->SetStyle(TFontStyles::FromInt(static_cast<uint32_t>(a[3]) & 0xF));
        f->SetCharset(static_cast<TFontCharset>(a[4]));
        if (a[5] != 0) {
            LOGFONT lf = f->GetLogFont();
            lf.lfEscapement = lf.lfOrientation = a[5];
            lf.lfWeight = a[6];
            f->SetHandle(CreateFontIndirect(&lf));
        }
        f->SetColor(a[0]);
    }
}

void ReplayGraphic(TCanvas* T, const TMetaRecord& R, const TScaler& S)
{
    size_t nul = R.Text.find('\0');
    if (nul == std::string::npos || R.Args.size() < 4) return;
    TClass cls = nullptr;
    for (TClass c : {TBitmap::StaticClass(), TIcon::StaticClass(), TMetafile::StaticClass()})
        if (R.Text.compare(0, nul, c->Name) == 0) cls = c;
    if (!cls) return;
    TGraphic* g = static_cast<TGraphic*>(cls->NewInstance());
    try {
        TMemoryStream ms;
        ms.WriteBuffer(R.Text.data() + nul + 1, static_cast<int64_t>(R.Text.size() - nul - 1));
        ms.SetPosition(0);
        g->LoadFromStream(&ms);
        const auto& a = R.Args;
        T->StretchDraw(Rect(S.X(a[0]), S.Y(a[1]), S.X(a[2]), S.Y(a[3])), g);
    } catch (...) {
        g->Free();
        throw;
    }
    g->Free();
}

void ReplayPoints(TCanvas* T, const TMetaRecord& R, const TScaler& S)
{
    std::vector<TPoint> pts;
    for (size_t i = 0; i + 1 < R.Args.size(); i += 2) pts.push_back(Point(S.X(R.Args[i]), S.Y(R.Args[i + 1])));
    if (R.Op == TMetaOp::Polygon)
        T->Polygon(pts);
    else if (R.Op == TMetaOp::Polyline)
        T->Polyline(pts);
    else
        T->PolyBezier(pts);
}

size_t ArgCount(TMetaOp Op)
{
    switch (Op) {
    case TMetaOp::MoveTo: case TMetaOp::LineTo: return 2;
    case TMetaOp::Pixel: return 3;
    case TMetaOp::Rectangle: case TMetaOp::Ellipse: case TMetaOp::FillRect: case TMetaOp::FrameRect:
    case TMetaOp::FocusRect: case TMetaOp::Graphic: return 4;
    case TMetaOp::RoundRect: case TMetaOp::TextRect: return 6;
    case TMetaOp::Arc: case TMetaOp::Chord: case TMetaOp::Pie: return 8;
    case TMetaOp::TextOut: return 2;
    default: return 0;
    }
}

void ReplayOne(TCanvas* T, const TMetaRecord& R, const TScaler& S)
{
    const auto& a = R.Args;
    if (a.size() < ArgCount(R.Op)) return;
    switch (R.Op) {
    case TMetaOp::Pen: case TMetaOp::Brush: case TMetaOp::Font: return ApplyState(T, R, S);
    case TMetaOp::MoveTo: return T->MoveTo(S.X(a[0]), S.Y(a[1]));
    case TMetaOp::LineTo: return T->LineTo(S.X(a[0]), S.Y(a[1]));
    case TMetaOp::Pixel: return T->SetPixels(S.X(a[0]), S.Y(a[1]), a[2]);
    case TMetaOp::Rectangle: return T->Rectangle(S.X(a[0]), S.Y(a[1]), S.X(a[2]), S.Y(a[3]));
    case TMetaOp::Ellipse: return T->Ellipse(S.X(a[0]), S.Y(a[1]), S.X(a[2]), S.Y(a[3]));
    case TMetaOp::RoundRect:
        return T->RoundRect(S.X(a[0]), S.Y(a[1]), S.X(a[2]), S.Y(a[3]), S.W(a[4]), S.H(a[5]));
    case TMetaOp::Arc: return T->Arc(S.X(a[0]), S.Y(a[1]), S.X(a[2]), S.Y(a[3]), S.X(a[4]), S.Y(a[5]), S.X(a[6]), S.Y(a[7]));
    case TMetaOp::Chord:
        return T->Chord(S.X(a[0]), S.Y(a[1]), S.X(a[2]), S.Y(a[3]), S.X(a[4]), S.Y(a[5]), S.X(a[6]), S.Y(a[7]));
    case TMetaOp::Pie: return T->Pie(S.X(a[0]), S.Y(a[1]), S.X(a[2]), S.Y(a[3]), S.X(a[4]), S.Y(a[5]), S.X(a[6]), S.Y(a[7]));
    case TMetaOp::Polygon: case TMetaOp::Polyline: case TMetaOp::PolyBezier: return ReplayPoints(T, R, S);
    case TMetaOp::FillRect: return T->FillRect(Rect(S.X(a[0]), S.Y(a[1]), S.X(a[2]), S.Y(a[3])));
    case TMetaOp::FrameRect: return T->FrameRect(Rect(S.X(a[0]), S.Y(a[1]), S.X(a[2]), S.Y(a[3])));
    case TMetaOp::FocusRect: return T->DrawFocusRect(Rect(S.X(a[0]), S.Y(a[1]), S.X(a[2]), S.Y(a[3])));
    case TMetaOp::TextOut: return T->TextOut(S.X(a[0]), S.Y(a[1]), R.Text);
    case TMetaOp::TextRect:
        return T->TextRect(Rect(S.X(a[0]), S.Y(a[1]), S.X(a[2]), S.Y(a[3])), S.X(a[4]), S.Y(a[5]), R.Text);
    case TMetaOp::Graphic: return ReplayGraphic(T, R, S);
    default: return;
    }
}

} // namespace

void TCanvasRecorder::Replay(TCanvas* Target, const TRect& Rect, int Width, int Height) const
{
    if (Width <= 0 || Height <= 0) return;
    TScaler s{double(Rect.right - Rect.left) / Width, double(Rect.bottom - Rect.top) / Height, Rect.left, Rect.top};
    // Replay changes the target's tools; the caller gets its own back.
    TFont font;
    TPen pen;
    TBrush brush;
    font.Assign(Target->GetFont());
    pen.Assign(Target->GetPen());
    brush.Assign(Target->GetBrush());
    for (const TMetaRecord& r : Records) ReplayOne(Target, r, s);
    Target->SetFont(&font);
    Target->SetPen(&pen);
    Target->SetBrush(&brush);
}

// ---- Stream format -------------------------------------------------------------------

void TCanvasRecorder::Save(TStream* Stream, int Width, int Height) const
{
    Stream->WriteBuffer(kMagic, 4);
    WriteU32(Stream, static_cast<uint32_t>(Width));
    WriteU32(Stream, static_cast<uint32_t>(Height));
    WriteU32(Stream, static_cast<uint32_t>(Records.size()));
    for (const TMetaRecord& r : Records) {
        uint8_t op = static_cast<uint8_t>(r.Op);
        Stream->WriteBuffer(&op, 1);
        WriteU32(Stream, static_cast<uint32_t>(r.Args.size()));
        if (!r.Args.empty()) Stream->WriteBuffer(r.Args.data(), static_cast<int64_t>(r.Args.size() * 4));
        WriteU32(Stream, static_cast<uint32_t>(r.Text.size()));
        if (!r.Text.empty()) Stream->WriteBuffer(r.Text.data(), static_cast<int64_t>(r.Text.size()));
    }
}

void TCanvasRecorder::Load(TStream* Stream, int& Width, int& Height)
{
    auto fail = [] { throw EInvalidGraphic("Metafile is not valid"); };
    char magic[4] = {};
    if (Stream->Read(magic, 4) != 4 || std::memcmp(magic, kMagic, 4) != 0) fail();
    std::vector<TMetaRecord> records;
    try {
        int32_t w = static_cast<int32_t>(ReadU32(Stream)), h = static_cast<int32_t>(ReadU32(Stream));
        uint32_t count = ReadU32(Stream);
        if (w < 0 || h < 0 || count > kMaxRecords) fail();
        int64_t left = Stream->GetSize() - Stream->GetPosition();
        for (uint32_t i = 0; i < count; ++i) {
            TMetaRecord r;
            uint8_t op = 0;
            Stream->ReadBuffer(&op, 1);
            if (op >= static_cast<uint8_t>(TMetaOp::Count)) fail();
            r.Op = static_cast<TMetaOp>(op);
            uint32_t n = ReadU32(Stream);
            if (n > kMaxArgs || int64_t(n) * 4 > left) fail();
            r.Args.resize(n);
            if (n) Stream->ReadBuffer(r.Args.data(), int64_t(n) * 4);
            uint32_t len = ReadU32(Stream);
            if (len > kMaxText || int64_t(len) > left) fail();
            r.Text.resize(len);
            if (len) Stream->ReadBuffer(r.Text.data(), len);
            records.push_back(std::move(r));
        }
        Width = w;
        Height = h;
    } catch (const EReadError&) {
        fail();
    }
    Records = std::move(records);
}

// ---- TMetafile -------------------------------------------------------------------------

TMetafile::TMetafile() : FRecords(std::make_shared<TCanvasRecorder>()) {}

TMetafile::~TMetafile() = default;

void TMetafile::Clear()
{
    FRecords = std::make_shared<TCanvasRecorder>();
    Changed(this);
}

bool TMetafile::GetEmpty() const { return FRecords->Records.empty(); }
int TMetafile::GetRecordCount() const { return static_cast<int>(FRecords->Records.size()); }

void TMetafile::SetWidth(int Value)
{
    if (Value == FWidth || Value < 0) return;
    FWidth = Value;
    Changed(this);
}

void TMetafile::SetHeight(int Value)
{
    if (Value == FHeight || Value < 0) return;
    FHeight = Value;
    Changed(this);
}

void TMetafile::Assign(TPersistent* Source)
{
    if (!Source) return Clear();
    auto* m = dynamic_cast<TMetafile*>(Source);
    if (!m) return inherited::Assign(Source);
    if (m == this) return;
    // Recordings are never changed in place, so copies can share one.
    FRecords = m->FRecords;
    FWidth = m->FWidth;
    FHeight = m->FHeight;
    Changed(this);
}

void TMetafile::LoadFromStream(TStream* Stream)
{
    auto records = std::make_shared<TCanvasRecorder>();
    records->Load(Stream, FWidth, FHeight);
    FRecords = std::move(records);
    Changed(this);
}

void TMetafile::SaveToStream(TStream* Stream) { FRecords->Save(Stream, FWidth, FHeight); }

void TMetafile::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (!ACanvas || GetEmpty()) return;
    std::shared_ptr<TCanvasRecorder> keep = FRecords;
    keep->Replay(ACanvas, Rect, FWidth, FHeight);
}

// ---- TMetafileCanvas -------------------------------------------------------------------

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC)
    : FMetafile(AMetafile), FRecording(std::make_shared<TCanvasRecorder>())
{
    FRecorder = FRecording.get();
}

TMetafileCanvas::~TMetafileCanvas()
{
    SetHandle(nullptr);
    if (FMeasureDC) DeleteDC(FMeasureDC);
    if (!FMetafile) return;
    FMetafile->FRecords = FRecording;
    // A metafile without a size takes the extent of what was drawn.
    if (FMetafile->FWidth == 0 || FMetafile->FHeight == 0) {
        int w = 0, h = 0;
        for (const TMetaRecord& r : FRecording->Records) {
            if (r.Op <= TMetaOp::Font) continue;
            size_t n = r.Args.size();
            if (r.Op == TMetaOp::Pixel) n = 2;
            if (r.Op == TMetaOp::RoundRect || r.Op == TMetaOp::TextRect || r.Op == TMetaOp::Graphic) n = 4;
            size_t m = std::min(n, r.Args.size());
            for (size_t i = 0; i + 1 < m; i += 2) {
                w = std::max(w, r.Args[i]);
                h = std::max(h, r.Args[i + 1]);
            }
        }
        if (FMetafile->FWidth == 0) FMetafile->FWidth = w;
        if (FMetafile->FHeight == 0) FMetafile->FHeight = h;
    }
    FMetafile->Changed(FMetafile);
}

void TMetafileCanvas::CreateHandle()
{
    // Text is measured on a memory DC; nothing is drawn on it.
    if (!FMeasureDC) FMeasureDC = CreateCompatibleDC(nullptr);
    SetHandle(FMeasureDC);
}

} // namespace host
