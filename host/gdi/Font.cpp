#include "host/gdi/Font.h"

#include "host/gdi/FontFace.h"
#include "host/gdi/FontFile.h"
#include "host/rtl/SysUtils.h"

#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <list>
#include <map>
#include <numbers>

namespace host {

namespace {

constexpr size_t kPoolSize = 48;

struct TPool {
    std::list<std::shared_ptr<TFontInstance>> Order; // most recently used first
    std::unordered_map<std::string, std::list<std::shared_ptr<TFontInstance>>::iterator> ByKey;
};

TPool& Pool()
{
    static TPool pool;
    return pool;
}

int RoundPx(double V) { return int(std::lround(V)); }

} // namespace

FT_Library FreeTypeLibrary()
{
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l)) throw EOutOfResources("Cannot initialise the font engine");
        return l;
    }();
    return lib;
}

FT_Face OpenFace(const std::string& Path, int Index)
{
    static std::map<std::pair<std::string, int>, FT_Face> faces;
    auto key = std::make_pair(Path, Index);
    auto it = faces.find(key);
    if (it != faces.end()) return it->second;
    FT_Face face = nullptr;
    if (FT_New_Face(FreeTypeLibrary(), Path.c_str(), Index, &face))
        throw EOutOfResources("Cannot open font file \"" + Path + "\"");
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    faces.emplace(key, face);
    return face;
}

std::string TFontRequest::Key() const
{
    return std::to_string(Height) + '|' + std::to_string(Width) + '|' + std::to_string(Escapement) + '|' +
           std::to_string(Weight) + '|' + char('0' + Italic) + char('0' + Underline) + char('0' + StrikeOut) + '|' +
           std::to_string(CharSet) + '|' + std::to_string(Quality) + '|' + std::to_string(PitchAndFamily) + '|' +
           FaceName;
}

std::shared_ptr<TFontInstance> TFontInstance::Realize(const TFontRequest& Request)
{
    TPool& pool = Pool();
    std::string key = Request.Key();
    auto it = pool.ByKey.find(key);
    if (it != pool.ByKey.end()) {
        pool.Order.splice(pool.Order.begin(), pool.Order, it->second);
        return pool.Order.front();
    }
    std::shared_ptr<TFontInstance> inst(new TFontInstance(Request));
    pool.Order.push_front(inst);
    pool.ByKey[key] = pool.Order.begin();
    if (pool.Order.size() > kPoolSize) {
        pool.ByKey.erase(pool.Order.back()->FRequest.Key());
        pool.Order.pop_back();
    }
    return inst;
}

void FlushFontPool()
{
    Pool().ByKey.clear();
    Pool().Order.clear();
}

TFontInstance::TFontInstance(const TFontRequest& Request) : FRequest(Request), FFace(std::make_unique<TFace>())
{
    Setup();
}

TFontInstance::~TFontInstance()
{
    if (FFace->Size) FT_Done_Size(FFace->Size);
}

size_t TFontInstance::CachedGlyphs() const
{
    return FOther.size() + size_t(std::count_if(FLatin.begin(), FLatin.end(), [](auto& g) { return g != nullptr; }));
}

void TFontInstance::Setup()
{
    const bool wantBold = FRequest.Weight >= 600;
    const TFontFile& file = ResolveFontFile(FRequest.FaceName, wantBold, FRequest.Italic);
    FFamily = file.Family;
    FSynthBold = wantBold && !file.Bold;
    FSynthItalic = FRequest.Italic && !file.Italic;
    FAntialiased = FRequest.Quality == kAntialiasedQuality || FRequest.Quality == kClearTypeQuality;
    FT_Face face = OpenFace(file.Path, file.Index);
    FFace->Face = face;
    if (FT_New_Size(face, &FFace->Size)) throw EOutOfResources("Cannot size font \"" + FFamily + "\"");
    FT_Activate_Size(FFace->Size);

    const double upem = face->units_per_EM ? face->units_per_EM : 2048;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const double cellUnits = os2 && os2->usWinAscent + os2->usWinDescent > 0
                                 ? double(os2->usWinAscent + os2->usWinDescent)
                                 : double(face->ascender - face->descender);
    double em;
    int cell = 0;
    if (FRequest.Height < 0) em = -double(FRequest.Height);
    else if (FRequest.Height > 0) { cell = FRequest.Height; em = cell * upem / cellUnits; }
    else em = kDefaultFontEm;
    em = std::min(em, 2000.0);
    // A requested average width scales the face horizontally.
    double emX = em;
    if (FRequest.Width > 0) {
        double avg = os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : upem / 2;
        emX = std::min(FRequest.Width * upem / avg, 4000.0);
    }
    FT_Size_RequestRec req{FT_SIZE_REQUEST_TYPE_NOMINAL, FT_Long(std::lround(emX * 64)), FT_Long(std::lround(em * 64)), 0, 0};
    if (FT_Request_Size(face, &req)) throw EOutOfResources("Cannot size font \"" + FFamily + "\"");
    FFace->LoadFlags = FT_LOAD_NO_BITMAP | (FAntialiased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
    FBoldPixels = FSynthBold ? std::max(1, RoundPx(em / 32)) : 0;
    double a = FRequest.Escapement / 10.0 * std::numbers::pi / 180.0;
    FCos = std::cos(a);
    FSin = std::sin(a);
    // Exact quarter turns keep exactly integral directions.
    if (FRequest.Escapement % 900 == 0) { FCos = std::round(FCos); FSin = std::round(FSin); }
    ComputeMetrics(em, cell);
}

void TFontInstance::ComputeMetrics(double EmPx, int RequestedCell)
{
    FT_Face face = FFace->Face;
    const double upem = face->units_per_EM ? face->units_per_EM : 2048;
    const double sy = EmPx / upem;
    const double sx = double(FFace->Size->metrics.x_scale) / 65536.0 / 64.0;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    double asc = os2 ? os2->usWinAscent : face->ascender;
    double desc = os2 ? os2->usWinDescent : -face->descender;
    TFontMetrics& m = FMetrics;
    m.Ascent = RoundPx(asc * sy);
    m.Descent = RequestedCell ? RequestedCell - m.Ascent : RoundPx(desc * sy);
    m.Height = m.Ascent + m.Descent;
    m.InternalLeading = std::max(0, m.Height - RoundPx(EmPx));
    double lineUnits = hhea ? hhea->Ascender - hhea->Descender + hhea->Line_Gap : asc + desc;
    m.ExternalLeading = std::max(0, RoundPx((lineUnits - (asc + desc)) * sy));
    m.AveCharWidth = RoundPx((os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : upem / 2) * sx) + FBoldPixels;
    m.MaxCharWidth = RoundPx(face->max_advance_width * sx) + FBoldPixels;
    m.Weight = FRequest.Weight ? FRequest.Weight : 400;
    m.Italic = FRequest.Italic;
    m.Underlined = FRequest.Underline;
    m.StruckOut = FRequest.StrikeOut;
    m.CharSet = FRequest.CharSet;
    const bool fixed = FT_IS_FIXED_WIDTH(face);
    uint8_t family = FRequest.PitchAndFamily & 0xF0;
    if (!family) family = fixed ? 0x30 : (FFamily.find("Serif") != std::string::npos &&
                                          FFamily.find("Sans") == std::string::npos) ? 0x10 : 0x20;
    // The pitch bit is set for variable pitch fonts, as the platform has it.
    m.PitchAndFamily = uint8_t(family | (fixed ? 0 : 0x01) | 0x02 | 0x04);
    m.UnderlineSize = std::max(1, RoundPx(face->underline_thickness * sy));
    m.UnderlineTop = std::max(1, RoundPx(-face->underline_position * sy) - m.UnderlineSize / 2);
    m.UnderlineTop = std::min(m.UnderlineTop, std::max(1, m.Descent - m.UnderlineSize));
    m.StrikeOutSize = std::max(1, RoundPx((os2 && os2->yStrikeoutSize > 0 ? os2->yStrikeoutSize : face->underline_thickness) * sy));
    double strikePos = os2 && os2->yStrikeoutPosition > 0 ? os2->yStrikeoutPosition : upem * 0.26;
    m.StrikeOutTop = -RoundPx(strikePos * sy);
}

} // namespace host
