#pragma once
// Finding the font file for a face name: the framework's classic names map to
// fixed metric-compatible families, other names go through fontconfig, and
// DejaVu is the last resort.
#include <string>

namespace host {

struct TFontFile {
    std::string Path;
    int Index = 0;
    std::string Family; // the family actually found
    bool Bold = false;  // the file's own style; the caller synthesises the rest
    bool Italic = false;
};

// Resolves and caches. Never fails while any font is installed; raises
// EOutOfResources when none is.
const TFontFile& ResolveFontFile(const std::string& FaceName, bool Bold, bool Italic);

// The family a face name is looked up as ("Arial" -> "Liberation Sans").
std::string MappedFamily(const std::string& FaceName);

} // namespace host
