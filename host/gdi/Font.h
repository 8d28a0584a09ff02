#pragma once
// Realised fonts: a logical font request turned into a FreeType face at a pixel
// size, with its text metrics and a cache of rendered glyphs. Realised fonts are
// shared between font handles that ask for the same thing and kept warm in a
// small bounded pool, since canvases create and delete fonts all the time.
#include "host/gdi/Glyph.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

namespace host {

// The fields of a logical font that realisation looks at.
struct TFontRequest {
    int Height = 0;      // < 0 character (em) height, > 0 cell height, 0 default
    int Width = 0;       // 0 natural, else average character width
    int Escapement = 0;  // tenths of a degree, counter-clockwise
    int Orientation = 0;
    int Weight = 0;      // 0 normal, >= 600 bold
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    uint8_t CharSet = 0;
    uint8_t Quality = 0; // ANTIALIASED_QUALITY (4) and CLEARTYPE_QUALITY (5) smooth
    uint8_t PitchAndFamily = 0;
    std::string FaceName;

    std::string Key() const;
};

constexpr uint8_t kAntialiasedQuality = 4;
constexpr uint8_t kClearTypeQuality = 5;
// What a zero height asks for, in pixels of character height.
constexpr int kDefaultFontEm = 13;

struct TFontMetrics {
    int Height = 0, Ascent = 0, Descent = 0;
    int InternalLeading = 0, ExternalLeading = 0;
    int AveCharWidth = 0, MaxCharWidth = 0;
    int Weight = 400;
    bool Italic = false, Underlined = false, StruckOut = false;
    uint8_t PitchAndFamily = 0, CharSet = 0;
    // Decoration lines, in pixels relative to the baseline (positive downwards):
    // the first row of each line and its thickness.
    int UnderlineTop = 0, UnderlineSize = 1;
    int StrikeOutTop = 0, StrikeOutSize = 1;
};

class TFontInstance {
public:
    // The shared realisation of Request.
    static std::shared_ptr<TFontInstance> Realize(const TFontRequest& Request);
    ~TFontInstance();

    const TFontRequest& Request() const { return FRequest; }
    const TFontMetrics& Metrics() const { return FMetrics; }
    // The family actually used (after mapping and substitution).
    const std::string& Family() const { return FFamily; }
    bool Antialiased() const { return FAntialiased; }
    bool Rotated() const { return FRequest.Escapement % 3600 != 0; }
    // Unit vector of the text direction on screen (y grows downwards).
    double DirX() const { return FCos; }
    double DirY() const { return -FSin; }

    // The glyph for a character, rendered rotated by the escapement. The
    // reference stays valid until the next call: a full cache is emptied.
    const TGlyph& Glyph(char32_t Ch);
    // The unrotated advance of a character in whole pixels.
    int Advance(char32_t Ch) { return Glyph(Ch).Advance; }

    // Glyphs cached in this realisation (for tests and the benchmark).
    size_t CachedGlyphs() const;

private:
    explicit TFontInstance(const TFontRequest& Request);
    void Setup();
    void ComputeMetrics(double EmPx, int RequestedCell);
    std::unique_ptr<TGlyph> Render(char32_t Ch);

    TFontRequest FRequest;
    TFontMetrics FMetrics;
    std::string FFamily;
    struct TFace;
    std::unique_ptr<TFace> FFace;
    bool FAntialiased = false;
    bool FSynthBold = false, FSynthItalic = false;
    int FBoldPixels = 0;
    double FCos = 1, FSin = 0;
    std::array<std::unique_ptr<TGlyph>, 256> FLatin;
    std::unordered_map<char32_t, std::unique_ptr<TGlyph>> FOther;
    size_t FCacheBytes = 0;
};

// Empties the shared pool of realised fonts (fonts still in use stay alive).
void FlushFontPool();

} // namespace host
