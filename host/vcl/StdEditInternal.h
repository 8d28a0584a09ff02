#pragma once
// Shared by the translation units of the edit controls.
#include "host/vcl/StdEdit.h"

#include <cctype>

namespace host {

// Text is measured on a memory DC of its own, so that layout works before
// the control has a window.
class TCustomEdit::TMeasure {
public:
    TMeasure() : FDC(CreateCompatibleDC(nullptr)) { FCanvas.SetHandle(FDC); }
    ~TMeasure()
    {
        FCanvas.SetHandle(nullptr);
        DeleteDC(FDC);
    }
    TMeasure(const TMeasure&) = delete;
    TMeasure& operator=(const TMeasure&) = delete;
    void SetFont(TFont* Font)
    {
        FCanvas.SetFont(Font);
        FLineHeight = FCanvas.TextHeight("Wg");
    }
    int Width(const std::string& S) { return S.empty() ? 0 : FCanvas.TextWidth(S); }
    int LineHeight() const { return FLineHeight; }

private:
    HDC FDC;
    TCanvas FCanvas;
    int FLineHeight = 13;
};

namespace edit {

inline std::string ApplyCharCase(std::string S, TEditCharCase Case)
{
    if (Case == ecUpperCase)
        for (char& c : S) c = char(std::toupper(static_cast<unsigned char>(c)));
    else if (Case == ecLowerCase)
        for (char& c : S) c = char(std::tolower(static_cast<unsigned char>(c)));
    return S;
}

inline bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; }

constexpr int kLeftMargin = 2;
constexpr int kRightMargin = 1;

} // namespace edit
} // namespace host
