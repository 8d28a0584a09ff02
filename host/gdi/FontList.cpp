#include "host/gdi/FontList.h"

#include "host/gdi/FontFile.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>
#include <strings.h>

namespace host {

namespace {

const char* const kClassicNames[] = {"Arial", "Courier New", "MS Sans Serif", "Times New Roman"};

bool LessNoCase(const std::string& A, const std::string& B) { return strcasecmp(A.c_str(), B.c_str()) < 0; }
bool SameNoCase(const std::string& A, const std::string& B) { return strcasecmp(A.c_str(), B.c_str()) == 0; }

std::vector<std::string> InstalledFamilies()
{
    std::vector<std::string> names;
    std::unique_ptr<FcPattern, void (*)(FcPattern*)> pat(FcPatternCreate(), FcPatternDestroy);
    FcPatternAddBool(pat.get(), FC_SCALABLE, FcTrue);
    std::unique_ptr<FcObjectSet, void (*)(FcObjectSet*)> set(FcObjectSetBuild(FC_FAMILY, nullptr),
                                                            FcObjectSetDestroy);
    std::unique_ptr<FcFontSet, void (*)(FcFontSet*)> fonts(FcFontList(nullptr, pat.get(), set.get()),
                                                          FcFontSetDestroy);
    if (!fonts) return names;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family)
            names.emplace_back(reinterpret_cast<const char*>(family));
    }
    return names;
}

} // namespace

std::vector<std::string> GetFontFamilyNames()
{
    // Resolving a face sets fontconfig up the way the text renderer does.
    ResolveFontFile("MS Sans Serif", false, false);
    std::vector<std::string> names(std::begin(kClassicNames), std::end(kClassicNames));
    std::vector<std::string> installed = InstalledFamilies();
    names.insert(names.end(), installed.begin(), installed.end());
    std::stable_sort(names.begin(), names.end(), LessNoCase);
    names.erase(std::unique(names.begin(), names.end(), SameNoCase), names.end());
    return names;
}

} // namespace host
