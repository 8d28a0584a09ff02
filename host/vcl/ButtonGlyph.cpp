// The glyph machinery of picture buttons: state images and layout.
#include <algorithm>

#include "host/gdi/WinText.h"
#include "host/vcl/Buttons.h"

namespace host {

namespace {

uint32_t ToPixel(TColor c)
{
    COLORREF rgb = ColorToRGB(c);
    return (uint32_t(GetRValue(rgb)) << 16) | (uint32_t(GetGValue(rgb)) << 8) | GetBValue(rgb);
}

// Dark pixels carry the shape of a glyph; light ones (white, silver) and the
// transparent colour vanish when it is embossed.
bool IsInk(uint32_t Pixel, uint32_t Transparent)
{
    Pixel &= 0xFFFFFF;
    if (Pixel == Transparent) return false;
    int sum = int((Pixel >> 16) & 0xFF) + int((Pixel >> 8) & 0xFF) + int(Pixel & 0xFF);
    return sum < 3 * 0xC0;
}

} // namespace

std::unique_ptr<TBitmap> MakePatternBitmap(TColor BkColor, TColor FgColor)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(8, 8);
    uint32_t bk = ToPixel(BkColor), fg = ToPixel(FgColor);
    for (int y = 0; y < 8; ++y) {
        uint32_t* row = bmp->ScanLine(y);
        for (int x = 0; x < 8; ++x) row[x] = (x % 2 == y % 2) ? fg : bk;
    }
    bmp->Changed(bmp.get());
    return bmp;
}

TButtonGlyph::TButtonGlyph() : FOriginal(std::make_unique<TBitmap>())
{
    FOriginal->OnChange = TNotifyEvent(this, &TButtonGlyph::GlyphChanged);
}

TButtonGlyph::~TButtonGlyph()
{
    FOriginal->OnChange = TNotifyEvent();
    if (FImages) FImages->Free();
}

void TButtonGlyph::Invalidate()
{
    if (FImages) FImages->Clear();
    FIndexes.fill(-1);
}

void TButtonGlyph::GlyphChanged(TObject*)
{
    if (FUpdating) return;
    Invalidate();
    OnChange(nullptr);
}

void TButtonGlyph::SetGlyph(TBitmap* Value)
{
    Invalidate();
    FOriginal->Assign(Value);
    if (Value && Value->GetHeight() > 0 && Value->GetWidth() % Value->GetHeight() == 0) {
        int glyphs = Value->GetWidth() / Value->GetHeight();
        SetNumGlyphs(glyphs > 4 ? 1 : glyphs);
    }
}

void TButtonGlyph::SetNumGlyphs(TNumGlyphs Value)
{
    // Zero cells would divide the bitmap by nothing: one cell is the least.
    Value = std::clamp(Value, 1, 4);
    if (Value == FNumGlyphs) return;
    Invalidate();
    FNumGlyphs = Value;
    OnChange(nullptr);
}

SIZE TButtonGlyph::GetCellSize() const
{
    if (FOriginal->GetEmpty()) return SIZE{0, 0};
    return SIZE{FOriginal->GetWidth() / FNumGlyphs, FOriginal->GetHeight()};
}

TColor TButtonGlyph::TransparentColor()
{
    FUpdating = true;
    TColor c = FOriginal->GetTransparentColor();
    FUpdating = false;
    return c;
}

std::unique_ptr<TBitmap> TButtonGlyph::CellBitmap(int Cell, int W, int H)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(W, H);
    FUpdating = true;
    bmp->GetCanvas()->CopyRect(Rect(0, 0, W, H), FOriginal->GetCanvas(), Rect(Cell * W, 0, (Cell + 1) * W, H));
    FUpdating = false;
    return bmp;
}

// The disabled look: the dark pixels of the up cell stamped in the highlight
// colour one pixel down and right, then in the shadow colour in place.
std::unique_ptr<TBitmap> TButtonGlyph::EmbossedCell(int W, int H)
{
    std::unique_ptr<TBitmap> up = CellBitmap(0, W, H);
    uint32_t transparent = ToPixel(TransparentColor());
    uint32_t face = ToPixel(clBtnFace), hilite = ToPixel(clBtnHighlight), shadow = ToPixel(clBtnShadow);
    auto out = std::make_unique<TBitmap>();
    out->SetSize(W, H);
    for (int y = 0; y < H; ++y) std::fill_n(out->ScanLine(y), W, face);
    for (int pass = 0; pass < 2; ++pass) {
        int d = pass == 0 ? 1 : 0;
        for (int y = 0; y + d < H; ++y) {
            const uint32_t* src = up->ScanLine(y);
            uint32_t* dst = out->ScanLine(y + d);
            for (int x = 0; x + d < W; ++x)
                if (IsInk(src[x], transparent)) dst[x + d] = pass == 0 ? hilite : shadow;
        }
    }
    out->Changed(out.get());
    return out;
}

int TButtonGlyph::CreateButtonGlyph(TButtonState State)
{
    if (State == bsDown && FNumGlyphs < 3) State = bsUp;
    if (FIndexes[State] != -1) return FIndexes[State];
    SIZE cell = GetCellSize();
    if (cell.cx <= 0 || cell.cy <= 0) return -1;
    if (FImages && (FImages->GetWidth() != cell.cx || FImages->GetHeight() != cell.cy)) {
        FImages->Free();
        FImages = nullptr;
    }
    if (!FImages) FImages = new TCustomImageList(nullptr, cell.cx, cell.cy);
    std::unique_ptr<TBitmap> image;
    TColor mask = TransparentColor();
    if (State == bsDisabled && FNumGlyphs < 2) {
        image = EmbossedCell(cell.cx, cell.cy);
        mask = clBtnFace;
    } else {
        int source = State < FNumGlyphs ? int(State) : 0;
        image = CellBitmap(source, cell.cx, cell.cy);
    }
    FIndexes[State] = FImages->AddMasked(image.get(), mask);
    return FIndexes[State];
}

void TButtonGlyph::CalcButtonLayout(TCanvas* Canvas, const TRect& Client, const TPoint& Offset,
                                    const std::string& Caption, TButtonLayout Layout, int Margin, int Spacing,
                                    TPoint& GlyphPos, TRect& TextBounds)
{
    SIZE clientSize{Client.right - Client.left, Client.bottom - Client.top};
    SIZE glyph = GetCellSize();
    TextBounds = Rect(0, 0, clientSize.cx, 0);
    if (!Caption.empty()) {
        Canvas->RequiredState(csAllValid);
        DrawText(Canvas->GetHandle(), Caption.c_str(), int(Caption.size()), &TextBounds,
                 DT_CALCRECT | DT_SINGLELINE);
    } else {
        TextBounds = Rect(0, 0, 0, 0);
    }
    SIZE text{TextBounds.right - TextBounds.left, TextBounds.bottom - TextBounds.top};
    bool across = Layout == blGlyphLeft || Layout == blGlyphRight;
    TPoint textPos{0, 0};
    GlyphPos = TPoint{0, 0};
    // Centred on the other axis.
    if (across) {
        GlyphPos.y = (clientSize.cy - glyph.cy + 1) / 2;
        textPos.y = (clientSize.cy - text.cy + 1) / 2;
    } else {
        GlyphPos.x = (clientSize.cx - glyph.cx + 1) / 2;
        textPos.x = (clientSize.cx - text.cx + 1) / 2;
    }
    if (text.cx == 0 || glyph.cx == 0) Spacing = 0;
    int client = across ? clientSize.cx : clientSize.cy;
    int g = across ? glyph.cx : glyph.cy, t = across ? text.cx : text.cy;
    // Margin -1 centres the pair; Spacing -1 spreads the rest evenly.
    if (Margin == -1) {
        if (Spacing == -1) {
            Margin = (client - (g + t)) / 3;
            Spacing = Margin;
        } else {
            Margin = (client - (g + Spacing + t) + 1) / 2;
        }
    } else if (Spacing == -1) {
        Spacing = (client - (Margin + g) - t) / 2;
    }
    switch (Layout) {
    case blGlyphLeft:
        GlyphPos.x = Margin;
        textPos.x = GlyphPos.x + glyph.cx + Spacing;
        break;
    case blGlyphRight:
        GlyphPos.x = clientSize.cx - Margin - glyph.cx;
        textPos.x = GlyphPos.x - Spacing - text.cx;
        break;
    case blGlyphTop:
        GlyphPos.y = Margin;
        textPos.y = GlyphPos.y + glyph.cy + Spacing;
        break;
    case blGlyphBottom:
        GlyphPos.y = clientSize.cy - Margin - glyph.cy;
        textPos.y = GlyphPos.y - Spacing - text.cy;
        break;
    }
    GlyphPos.x += Client.left + Offset.x;
    GlyphPos.y += Client.top + Offset.y;
    int left = textPos.x + Client.left + Offset.x, top = textPos.y + Client.top + Offset.y;
    TextBounds = Rect(left, top, left + text.cx, top + text.cy);
}

void TButtonGlyph::DrawButtonGlyph(TCanvas* Canvas, const TPoint& GlyphPos, TButtonState State, bool Transparent)
{
    int index = CreateButtonGlyph(State);
    if (index < 0) return;
    Canvas->RequiredState(csAllValid);
    HDC dc = Canvas->GetHandle();
    if (Transparent || State == bsExclusive)
        ImageList_DrawEx(FImages->GetHandle(), index, dc, GlyphPos.x, GlyphPos.y, 0, 0, CLR_NONE, CLR_NONE,
                         ILD_TRANSPARENT);
    else
        ImageList_DrawEx(FImages->GetHandle(), index, dc, GlyphPos.x, GlyphPos.y, 0, 0, ColorToRGB(clBtnFace),
                         CLR_NONE, ILD_NORMAL);
}

void TButtonGlyph::DrawButtonText(TCanvas* Canvas, const std::string& Caption, TRect TextBounds,
                                  TButtonState State)
{
    if (Caption.empty()) return;
    constexpr UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    Canvas->GetBrush()->SetStyle(bsClear);
    auto draw = [&](const TRect& R) {
        TRect r = R;
        Canvas->RequiredState(csAllValid);
        DrawText(Canvas->GetHandle(), Caption.c_str(), int(Caption.size()), &r, flags);
    };
    if (State == bsDisabled) {
        TColor old = Canvas->GetFont()->GetColor();
        TRect shifted = TextBounds;
        OffsetRect(&shifted, 1, 1);
        Canvas->GetFont()->SetColor(clBtnHighlight);
        draw(shifted);
        Canvas->GetFont()->SetColor(clBtnShadow);
        draw(TextBounds);
        Canvas->GetFont()->SetColor(old);
        return;
    }
    draw(TextBounds);
}

TRect TButtonGlyph::Draw(TCanvas* Canvas, const TRect& Client, const TPoint& Offset, const std::string& Caption,
                         TButtonLayout Layout, int Margin, int Spacing, TButtonState State, bool Transparent)
{
    TPoint glyphPos;
    TRect textBounds;
    CalcButtonLayout(Canvas, Client, Offset, Caption, Layout, Margin, Spacing, glyphPos, textBounds);
    DrawButtonGlyph(Canvas, glyphPos, State, Transparent);
    DrawButtonText(Canvas, Caption, textBounds, State);
    return textBounds;
}

} // namespace host
