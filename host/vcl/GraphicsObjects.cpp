// Colours, fonts, pens and brushes.
#include <cstring>
#include <iterator>

#include "host/vcl/Graphics.h"

namespace host {

// ---- Colours ----------------------------------------------------------------------

namespace {

struct TColorName {
    TColor Value;
    const char* Name;
};

// The first name of a value wins when a colour is turned into its name.
const TColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
};

bool ColorToIdent64(int64_t Value, std::string& Ident) { return ColorToIdent(static_cast<int32_t>(Value), Ident); }

bool IdentToColor64(const std::string& Ident, int64_t& Value)
{
    int32_t c = 0;
    if (!IdentToColor(Ident, c)) return false;
    Value = c;
    return true;
}

} // namespace

COLORREF ColorToRGB(TColor Color)
{
    if (Color < 0) return GetSysColor(Color & 0xFF);
    return static_cast<COLORREF>(Color) & 0x00FFFFFF;
}

bool ColorToIdent(int32_t Color, std::string& Ident)
{
    for (const TColorName& c : kColorNames)
        if (c.Value == Color) {
            Ident = c.Name;
            return true;
        }
    return false;
}

bool IdentToColor(const std::string& Ident, int32_t& Color)
{
    for (const TColorName& c : kColorNames)
        if (SameText(Ident, c.Name)) {
            Color = c.Value;
            return true;
        }
    return false;
}

std::string ColorToString(TColor Color)
{
    std::string s;
    if (ColorToIdent(Color, s)) return s;
    return "$" + IntToHex(Color, 8);
}

TColor StringToColor(const std::string& S)
{
    int32_t c = 0;
    if (IdentToColor(S, c)) return c;
    int64_t v = 0;
    if (!TryStrToInt64(S, v) || v < INT32_MIN || v > UINT32_MAX)
        throw EConvertError("'" + S + "' is not a valid integer value");
    return static_cast<TColor>(static_cast<uint32_t>(v));
}

void GetColorValues(TGetStrProc Proc)
{
    for (const TColorName& c : kColorNames) Proc(c.Name);
}

const TTypeInfo* ColorTypeInfo()
{
    static const TTypeInfo info = MakeIntegerTypeInfo("TColor", &IdentToColor64, &ColorToIdent64);
    return &info;
}

int PenModeToRop2(TPenMode Mode)
{
    static const int kRops[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
    int i = static_cast<int>(Mode);
    return i >= 0 && i < static_cast<int>(std::size(kRops)) ? kRops[i] : R2_COPYPEN;
}

// ---- TGraphicsObject ----------------------------------------------------------------

void TGraphicsObject::Changed()
{
    if (OnChange) OnChange(this);
}

// ---- TFont -----------------------------------------------------------------------------

TFont::TFont() : FHeight(-MulDiv(8, 96, 72)) {}

TFont::~TFont() { ReleaseHandle(); }

void TFont::Destroy()
{
    ReleaseHandle();
    inherited::Destroy();
}

void TFont::ReleaseHandle()
{
    if (!FHandle) return;
    DeleteObject(FHandle);
    FHandle = nullptr;
}

void TFont::Changed()
{
    ReleaseHandle();
    FAdopted.reset();
    inherited::Changed();
}

void TFont::Assign(TPersistent* Source)
{
    auto* f = dynamic_cast<TFont*>(Source);
    if (!f) return inherited::Assign(Source);
    if (f == this) return;
    FColor = f->FColor;
    FHeight = f->FHeight;
    FName = f->FName;
    FPitch = f->FPitch;
    FStyle = f->FStyle;
    FCharset = f->FCharset;
    FPixelsPerInch = f->FPixelsPerInch;
    std::optional<LOGFONT> adopted = f->FAdopted;
    Changed();
    // The copy keeps the source's escapement and weight; its handle is its own.
    FAdopted = adopted;
}

LOGFONT TFont::GetLogFont() const
{
    if (FAdopted) return *FAdopted;
    LOGFONT lf;
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    std::strncpy(lf.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
    return lf;
}

HFONT TFont::GetHandle()
{
    if (FHandle) return FHandle;
    LOGFONT lf = GetLogFont();
    FHandle = CreateFontIndirect(&lf);
    if (!FHandle) throw EOutOfResources("Out of system resources");
    return FHandle;
}

void TFont::SetHandle(HFONT Value)
{
    if (Value == FHandle) return;
    LOGFONT lf;
    if (!Value || GetObject(Value, sizeof lf, &lf) == 0) throw EInvalidGraphicOperation("Invalid font handle");
    ReleaseHandle();
    FHeight = lf.lfHeight;
    FName = lf.lfFaceName;
    FStyle = TFontStyles{};
    if (lf.lfWeight >= FW_BOLD) FStyle += fsBold;
    if (lf.lfItalic) FStyle += fsItalic;
    if (lf.lfUnderline) FStyle += fsUnderline;
    if (lf.lfStrikeOut) FStyle += fsStrikeOut;
    FCharset = lf.lfCharSet;
    BYTE pitch = lf.lfPitchAndFamily & 0x03;
    FPitch = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
    FHandle = Value;
    FAdopted = lf;
    TGraphicsObject::Changed();
}

void TFont::SetColor(TColor Value)
{
    if (Value == FColor) return;
    FColor = Value;
    // The colour is a DC attribute, not part of the handle; an adopted font stays.
    TGraphicsObject::Changed();
}

void TFont::SetHeight(int Value)
{
    if (Value == FHeight && !FAdopted) return;
    FHeight = Value;
    Changed();
}

void TFont::SetName(const TFontName& Value)
{
    if (Value.empty() || (Value == FName && !FAdopted)) return;
    FName = Value;
    Changed();
}

void TFont::SetPitch(TFontPitch Value)
{
    if (Value == FPitch && !FAdopted) return;
    FPitch = Value;
    Changed();
}

int TFont::GetSize() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, FPixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles Value)
{
    if (Value == FStyle && !FAdopted) return;
    FStyle = Value;
    Changed();
}

void TFont::SetCharset(TFontCharset Value)
{
    if (Value == FCharset && !FAdopted) return;
    FCharset = Value;
    Changed();
}

HOST_PUBLISHED(TFont)
{
    P.Property("Charset", &TFont::GetCharset, &TFont::SetCharset);
    P.Property("Color", &TFont::GetColor, &TFont::SetColor).Type(ColorTypeInfo());
    P.Property("Height", &TFont::GetHeight, &TFont::SetHeight);
    P.Property("Name", &TFont::GetName, &TFont::SetName);
    P.Property("Pitch", &TFont::GetPitch, &TFont::SetPitch).Default(fpDefault);
    P.Property("Size", &TFont::GetSize, &TFont::SetSize).Stored(false);
    P.Property("Style", &TFont::GetStyle, &TFont::SetStyle).Default(TFontStyles{});
}

// ---- TPen ----------------------------------------------------------------------------------

TPen::~TPen() { ReleaseHandle(); }

void TPen::Destroy()
{
    ReleaseHandle();
    inherited::Destroy();
}

void TPen::ReleaseHandle()
{
    if (!FHandle) return;
    DeleteObject(FHandle);
    FHandle = nullptr;
}

void TPen::Changed()
{
    ReleaseHandle();
    inherited::Changed();
}

void TPen::Assign(TPersistent* Source)
{
    auto* p = dynamic_cast<TPen*>(Source);
    if (!p) return inherited::Assign(Source);
    if (p == this) return;
    FColor = p->FColor;
    FMode = p->FMode;
    FStyle = p->FStyle;
    FWidth = p->FWidth;
    Changed();
}

HPEN TPen::GetHandle()
{
    if (FHandle) return FHandle;
    static const int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    FHandle = CreatePen(kStyles[FStyle], FWidth, ColorToRGB(FColor));
    if (!FHandle) throw EOutOfResources("Out of system resources");
    return FHandle;
}

void TPen::SetHandle(HPEN Value)
{
    if (Value == FHandle) return;
    LOGPEN lp;
    if (!Value || GetObject(Value, sizeof lp, &lp) == 0) throw EInvalidGraphicOperation("Invalid pen handle");
    ReleaseHandle();
    FColor = static_cast<TColor>(lp.lopnColor);
    FWidth = lp.lopnWidth.x;
    int style = static_cast<int>(lp.lopnStyle) & PS_STYLE_MASK;
    FStyle = style <= PS_INSIDEFRAME ? static_cast<TPenStyle>(style) : psSolid;
    FHandle = Value;
    inherited::Changed();
}

void TPen::SetColor(TColor Value)
{
    if (Value == FColor) return;
    FColor = Value;
    Changed();
}

void TPen::SetMode(TPenMode Value)
{
    if (Value == FMode) return;
    FMode = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

void TPen::SetWidth(int Value)
{
    if (Value < 0 || Value == FWidth) return;
    FWidth = Value;
    Changed();
}

HOST_PUBLISHED(TPen)
{
    P.Property("Color", &TPen::GetColor, &TPen::SetColor).Type(ColorTypeInfo()).Default(clBlack);
    P.Property("Mode", &TPen::GetMode, &TPen::SetMode).Default(pmCopy);
    P.Property("Style", &TPen::GetStyle, &TPen::SetStyle).Default(psSolid);
    P.Property("Width", &TPen::GetWidth, &TPen::SetWidth).Default(1);
}

// ---- TBrush ----------------------------------------------------------------------------------

TBrush::~TBrush() { ReleaseHandle(); }

void TBrush::Destroy()
{
    ReleaseHandle();
    inherited::Destroy();
}

void TBrush::ReleaseHandle()
{
    if (!FHandle) return;
    DeleteObject(FHandle);
    FHandle = nullptr;
}

void TBrush::Changed()
{
    ReleaseHandle();
    inherited::Changed();
}

void TBrush::Assign(TPersistent* Source)
{
    auto* b = dynamic_cast<TBrush*>(Source);
    if (!b) return inherited::Assign(Source);
    if (b == this) return;
    FBitmap = b->FBitmap;
    FColor = b->FColor;
    FStyle = b->FStyle;
    Changed();
}

HBRUSH TBrush::GetHandle()
{
    if (FHandle) return FHandle;
    LOGBRUSH lb;
    lb.lbColor = ColorToRGB(FColor);
    if (FBitmap && !FBitmap->GetEmpty()) {
        FHandle = CreatePatternBrush(FBitmap->GetHandle());
    } else {
        switch (FStyle) {
        case bsSolid: lb.lbStyle = BS_SOLID; break;
        case bsClear: lb.lbStyle = BS_HOLLOW; break;
        default:
            lb.lbStyle = BS_HATCHED;
            lb.lbHatch = static_cast<ULONG_PTR>(FStyle - bsHorizontal);
            break;
        }
        FHandle = CreateBrushIndirect(&lb);
    }
    if (!FHandle) throw EOutOfResources("Out of system resources");
    return FHandle;
}

void TBrush::SetHandle(HBRUSH Value)
{
    if (Value == FHandle) return;
    LOGBRUSH lb;
    if (!Value || GetObject(Value, sizeof lb, &lb) == 0) throw EInvalidGraphicOperation("Invalid brush handle");
    ReleaseHandle();
    FBitmap = nullptr;
    FColor = static_cast<TColor>(lb.lbColor);
    if (lb.lbStyle == BS_HOLLOW)
        FStyle = bsClear;
    else if (lb.lbStyle == BS_HATCHED && lb.lbHatch <= HS_DIAGCROSS)
        FStyle = static_cast<TBrushStyle>(bsHorizontal + lb.lbHatch);
    else
        FStyle = bsSolid;
    FHandle = Value;
    inherited::Changed();
}

void TBrush::SetBitmap(TBitmap* Value)
{
    if (Value == FBitmap) return;
    FBitmap = Value;
    Changed();
}

void TBrush::SetColor(TColor Value)
{
    if (Value == FColor) return;
    FColor = Value;
    // A colour set on a clear brush makes it solid, as users expect.
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

HOST_PUBLISHED(TBrush)
{
    P.Property("Color", &TBrush::GetColor, &TBrush::SetColor).Type(ColorTypeInfo()).Default(clWhite);
    P.Property("Style", &TBrush::GetStyle, &TBrush::SetStyle).Default(bsSolid);
}

} // namespace host
