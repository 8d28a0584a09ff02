#pragma once
// FreeType objects behind a realised font; only the font sources include this.
#include "host/gdi/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H

namespace host {

struct TFontInstance::TFace {
    FT_Face Face = nullptr; // shared, owned by the face table
    FT_Size Size = nullptr; // this realisation's own size object
    FT_Int32 LoadFlags = 0;
};

FT_Library FreeTypeLibrary();
// Opens (once) the face of a file; never closed while the program runs.
FT_Face OpenFace(const std::string& Path, int Index);

} // namespace host
