#include "host/gdi/Font.h"
#include "host/gdi/FontFace.h"

#include FT_OUTLINE_H

#include <cmath>

namespace host {

namespace {

// Synthetic italic leans glyphs by about 12 degrees.
constexpr FT_Fixed kSlant = 0x366A;
// A font's glyph cache is emptied when it grows past either bound: the count
// bounds many small glyphs, the bytes a few huge ones.
constexpr size_t kMaxOtherGlyphs = 4096;
constexpr size_t kMaxCacheBytes = size_t(16) << 20;

FT_Fixed ToFixed(double V) { return FT_Fixed(std::lround(V * 65536.0)); }

void CopyBitmap(const FT_Bitmap& B, TGlyph& G)
{
    G.Width = int(B.width);
    G.Height = int(B.rows);
    G.Coverage.assign(size_t(G.Width) * G.Height, 0);
    for (int y = 0; y < G.Height; ++y) {
        const uint8_t* src = B.buffer + std::ptrdiff_t(y) * B.pitch;
        uint8_t* dst = &G.Coverage[size_t(y) * G.Width];
        if (B.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int x = 0; x < G.Width; ++x) dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
        } else {
            for (int x = 0; x < G.Width; ++x) dst[x] = src[x];
        }
    }
}

} // namespace

const TGlyph& TFontInstance::Glyph(char32_t Ch)
{
    if (Ch < 256 && FLatin[Ch]) return *FLatin[Ch];
    if (Ch >= 256) {
        auto it = FOther.find(Ch);
        if (it != FOther.end()) return *it->second;
    }
    std::unique_ptr<TGlyph> g = Render(Ch);
    const size_t bytes = g->Coverage.size() + sizeof(TGlyph);
    if (FCacheBytes + bytes > kMaxCacheBytes || (Ch >= 256 && FOther.size() >= kMaxOtherGlyphs)) {
        for (auto& slot : FLatin) slot.reset();
        FOther.clear();
        FCacheBytes = 0;
    }
    FCacheBytes += bytes;
    if (Ch < 256) return *(FLatin[Ch] = std::move(g));
    return *FOther.emplace(Ch, std::move(g)).first->second;
}

std::unique_ptr<TGlyph> TFontInstance::Render(char32_t Ch)
{
    auto g = std::make_unique<TGlyph>();
    FT_Face face = FFace->Face;
    FT_Activate_Size(FFace->Size);
    FT_UInt index = FT_Get_Char_Index(face, Ch);
    if (FT_Load_Glyph(face, index, FFace->LoadFlags) || face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return g; // nothing drawable: an empty glyph without advance
    FT_GlyphSlot slot = face->glyph;
    g->Advance = int(std::lround(slot->advance.x / 64.0));
    FT_Outline* outline = &slot->outline;
    if (FSynthBold) {
        FT_Outline_EmboldenXY(outline, FBoldPixels * 64, 0);
        g->Advance += FBoldPixels;
    }
    if (FSynthItalic) {
        FT_Matrix shear{0x10000, kSlant, 0, 0x10000};
        FT_Outline_Transform(outline, &shear);
    }
    if (Rotated()) {
        // FreeType's y axis points up, so this turns counter-clockwise on screen.
        FT_Matrix rot{ToFixed(FCos), ToFixed(-FSin), ToFixed(FSin), ToFixed(FCos)};
        FT_Outline_Transform(outline, &rot);
    }
    if (FT_Render_Glyph(slot, FAntialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO)) return g;
    CopyBitmap(slot->bitmap, *g);
    g->Left = slot->bitmap_left;
    g->Top = -slot->bitmap_top;
    return g;
}

} // namespace host
