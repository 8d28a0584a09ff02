#include "host/gdi/FontObject.h"

#include "host/gdi/DcInternal.h"
#include "host/gdi/WinGdi.h"
#include "host/gdi/WinText.h"

#include <algorithm>
#include <cstring>

namespace host::gdi {

namespace {

HFONT MakeStockFont(int index)
{
    LOGFONT lf;
    switch (index) {
    case OEM_FIXED_FONT: case ANSI_FIXED_FONT: case SYSTEM_FIXED_FONT:
        lf.lfHeight = -13;
        lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
        std::strcpy(lf.lfFaceName, "Courier New");
        break;
    case ANSI_VAR_FONT: case DEFAULT_GUI_FONT:
        lf.lfHeight = -11;
        std::strcpy(lf.lfFaceName, "MS Sans Serif");
        break;
    default: // SYSTEM_FONT, DEVICE_DEFAULT_FONT: the classic bold system face
        lf.lfHeight = 16;
        lf.lfWeight = FW_BOLD;
        std::strcpy(lf.lfFaceName, "System");
        break;
    }
    return CreateFontIndirect(&lf);
}

[[maybe_unused]] const bool gStockFontsRegistered = (RegisterStockFontFactory(MakeStockFont), true);

} // namespace

TFontRequest RequestFromLogFont(const LOGFONT& Log)
{
    TFontRequest r;
    r.Height = Log.lfHeight;
    r.Width = std::abs(Log.lfWidth);
    r.Escapement = Log.lfEscapement;
    r.Orientation = Log.lfOrientation;
    r.Weight = Log.lfWeight;
    r.Italic = Log.lfItalic != 0;
    r.Underline = Log.lfUnderline != 0;
    r.StrikeOut = Log.lfStrikeOut != 0;
    r.CharSet = Log.lfCharSet;
    r.Quality = Log.lfQuality;
    r.PitchAndFamily = Log.lfPitchAndFamily;
    r.FaceName.assign(Log.lfFaceName, strnlen(Log.lfFaceName, LF_FACESIZE));
    return r;
}

FontObject::FontObject(const LOGFONT& L) : GdiObject(OBJ_FONT), Log(L)
{
    Log.lfFaceName[LF_FACESIZE - 1] = 0;
    // Escapement is kept within one turn so that equal angles share glyphs.
    TFontRequest r = RequestFromLogFont(Log);
    r.Escapement = ((r.Escapement % 3600) + 3600) % 3600;
    Instance = TFontInstance::Realize(r);
}

// A short buffer gets the leading part of the structure, as callers that
// know only the older, shorter layouts expect.
int FontObject::GetObjectData(int cb, void* out) const
{
    if (!out) return int(sizeof(LOGFONT));
    int n = std::clamp(cb, 0, int(sizeof(LOGFONT)));
    std::memcpy(out, &Log, size_t(n));
    return n;
}

FontObject* SelectedFontObject(HDC hdc)
{
    Dc* dc = FindDc(hdc);
    if (!dc) return nullptr;
    if (auto* f = FindObjectAs<FontObject>(dc->S.Font, OBJ_FONT)) return f;
    return FindObjectAs<FontObject>(GetStockObject(SYSTEM_FONT), OBJ_FONT);
}

TFontInstance* SelectedFont(HDC hdc)
{
    FontObject* f = SelectedFontObject(hdc);
    return f ? f->Instance.get() : nullptr;
}

} // namespace host::gdi

namespace host {

HFONT CreateFontIndirect(const LOGFONT* lf)
{
    if (!lf) return nullptr;
    return static_cast<HFONT>(gdi::AddObject(std::make_unique<gdi::FontObject>(*lf)));
}

HFONT CreateFontIndirectA(const LOGFONTA* lf) { return CreateFontIndirect(lf); }

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                 DWORD quality, DWORD pitchAndFamily, LPCSTR faceName)
{
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = BYTE(italic != 0);
    lf.lfUnderline = BYTE(underline != 0);
    lf.lfStrikeOut = BYTE(strikeOut != 0);
    lf.lfCharSet = BYTE(charSet);
    lf.lfOutPrecision = BYTE(outPrecision);
    lf.lfClipPrecision = BYTE(clipPrecision);
    lf.lfQuality = BYTE(quality);
    lf.lfPitchAndFamily = BYTE(pitchAndFamily);
    if (faceName) std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR faceName)
{
    return CreateFont(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                      outPrecision, clipPrecision, quality, pitchAndFamily, faceName);
}

} // namespace host
