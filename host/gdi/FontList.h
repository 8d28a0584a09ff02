#pragma once
// The font families a program can offer its users (font lists of the screen
// and the printer).
#include <string>
#include <vector>

namespace host {

// The framework's classic names, which always resolve to a font, followed by
// the scalable families installed; sorted case-insensitively, no duplicates.
std::vector<std::string> GetFontFamilyNames();

} // namespace host
