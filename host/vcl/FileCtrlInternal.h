#pragma once
// What the file-system controls share between their sources.
#include <string>

#include "host/vcl/Graphics.h"

namespace host::filectrl {

constexpr int GlyphSize = 16;

// An absolute native path without a trailing '/' ("/" for the root).
std::string CanonicalDir(const std::string& Value);
// CanonicalDir of a folder that exists; EInOutError otherwise.
std::string CheckedDirectory(const std::string& Value);
std::string JoinPath(const std::string& Dir, const std::string& Name);
// An item's background, and its text in the selection colours when selected.
void DrawItemText(TCanvas* C, TColor Back, const TRect& Rect, int TextLeft, const std::string& Text,
                  bool Selected);

} // namespace host::filectrl
