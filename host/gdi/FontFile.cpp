#include "host/gdi/FontFile.h"

#include "host/rtl/SysUtils.h"

#include <fontconfig/fontconfig.h>
#include <fontconfig/fcfreetype.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <tuple>

#if defined(__SANITIZE_ADDRESS__)
#define KEL_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KEL_LSAN 1
#endif
#endif
#ifdef KEL_LSAN
#include <sanitizer/lsan_interface.h>
#endif

namespace host {

namespace {

// Loading the configuration once leaks a few bytes inside fontconfig's XML
// parser; keep that out of our leak reports.
bool InitFontconfig()
{
#ifdef KEL_LSAN
    __lsan_disable();
#endif
    bool ok = FcInit();
#ifdef KEL_LSAN
    __lsan_enable();
#endif
    return ok;
}

std::string Lower(std::string S)
{
    std::transform(S.begin(), S.end(), S.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return S;
}

struct TPatternDeleter {
    void operator()(FcPattern* P) const { FcPatternDestroy(P); }
};
using TPattern = std::unique_ptr<FcPattern, TPatternDeleter>;

// Asks fontconfig for Family; empty when it only offers an unrelated substitute.
bool MatchFamily(const std::string& Family, bool Bold, bool Italic, TFontFile& Out)
{
    static bool ready = InitFontconfig();
    if (!ready) return false;
    TPattern pat(FcPatternCreate());
    FcPatternAddString(pat.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(Family.c_str()));
    FcPatternAddInteger(pat.get(), FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat.get(), FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pat.get(), FcMatchPattern);
    FcDefaultSubstitute(pat.get());
    FcResult res;
    TPattern match(FcFontMatch(nullptr, pat.get(), &res));
    if (!match) return false;
    FcChar8 *file = nullptr, *family = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return false;
    if (FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch) return false;
    if (Lower(reinterpret_cast<const char*>(family)) != Lower(Family)) return false;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    // The match reports the style asked for when fontconfig would synthesise
    // it; the file's own description tells what it really holds.
    int count = 0;
    TPattern own(FcFreeTypeQuery(file, index, nullptr, &count));
    const FcPattern* style = own ? own.get() : match.get();
    FcPatternGetInteger(style, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(style, FC_SLANT, 0, &slant);
    Out.Path = reinterpret_cast<const char*>(file);
    Out.Index = index;
    Out.Family = reinterpret_cast<const char*>(family);
    Out.Bold = weight >= FC_WEIGHT_DEMIBOLD;
    Out.Italic = slant != FC_SLANT_ROMAN;
    return true;
}

TFontFile Resolve(const std::string& FaceName, bool Bold, bool Italic)
{
    TFontFile f;
    if (MatchFamily(MappedFamily(FaceName), Bold, Italic, f)) return f;
    if (MatchFamily("DejaVu Sans", Bold, Italic, f)) return f;
    // Without a usable fontconfig, the usual install location.
    f.Path = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    f.Family = "DejaVu Sans";
    return f;
}

} // namespace

std::string MappedFamily(const std::string& FaceName)
{
    static const std::map<std::string, std::string> kFixed = {
        {"", "Liberation Sans"},
        {"arial", "Liberation Sans"},
        {"ms sans serif", "Liberation Sans"},
        {"helvetica", "Liberation Sans"},
        {"system", "Liberation Sans"},
        {"times new roman", "Liberation Serif"},
        {"ms serif", "Liberation Serif"},
        {"courier new", "Liberation Mono"},
        {"courier", "Liberation Mono"},
    };
    auto it = kFixed.find(Lower(FaceName));
    return it != kFixed.end() ? it->second : FaceName;
}

const TFontFile& ResolveFontFile(const std::string& FaceName, bool Bold, bool Italic)
{
    static std::map<std::tuple<std::string, bool, bool>, TFontFile> cache;
    auto key = std::make_tuple(Lower(FaceName), Bold, Italic);
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, Resolve(FaceName, Bold, Italic)).first;
    return it->second;
}

} // namespace host
