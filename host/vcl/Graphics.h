#pragma once
// The framework's drawing classes: colours, fonts, pens, brushes, the canvas
// over a device context, and the graphics (bitmaps, icons, metafiles) that a
// canvas draws and a picture holds.
//
// Graphics objects realise their GDI handle lazily and drop it on every change;
// a canvas selects them into its DC on demand (RequiredState) and deselects
// them when they change, so a property change is seen by the next drawing call.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/gdi/WinGdi.h"
#include "host/rtl/Events.h"
#include "host/rtl/Object.h"
#include "host/rtl/Sets.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/Classes.h"
#include "host/vcl/TypInfo.h"

namespace host {

class TStream;
class TCanvas;
class TBitmap;
class TGraphic;
class TPicture;
struct TImageData;

using TRect = RECT;
using TPoint = POINT;

inline TRect Rect(int Left, int Top, int Right, int Bottom) { return TRect{Left, Top, Right, Bottom}; }
inline TPoint Point(int X, int Y) { return TPoint{X, Y}; }

// ---- Colours ----------------------------------------------------------------

// An RGB value (0x00BBGGRR), or a system colour (0x80000000 | COLOR_xxx), or
// one of the markers clNone and clDefault.
using TColor = int32_t;

constexpr TColor clSystemColor = TColor(0x80000000u);
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB value of Color: system colours through GetSysColor, the others with
// their top byte cleared.
COLORREF ColorToRGB(TColor Color);
// "clRed", or "$00123456" for colours without a name.
std::string ColorToString(TColor Color);
// Accepts a colour name or a number ("$FF", "255"); raises EConvertError otherwise.
TColor StringToColor(const std::string& S);
bool ColorToIdent(int32_t Color, std::string& Ident);
bool IdentToColor(const std::string& Ident, int32_t& Color);
using TGetStrProc = TEvent<void(const std::string& S)>;
// Calls Proc with the name of every named colour.
void GetColorValues(TGetStrProc Proc);
// The RTTI description of TColor properties: integers streamed as colour names.
const TTypeInfo* ColorTypeInfo();

// ---- Enumerations -------------------------------------------------------------

HOST_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;
HOST_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
using TFontName = std::string;
using TFontCharset = uint8_t;
HOST_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
HOST_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
          pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)
HOST_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross,
          bsDiagCross)
HOST_ENUM(TFillStyle, fsSurface, fsBorder)
HOST_ENUM(TTransparentMode, tmAuto, tmFixed)
HOST_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom)

// A raster operation (ROP3) for CopyRect and Draw.
using TCopyMode = int32_t;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

// The ROP2 of each pen mode.
int PenModeToRop2(TPenMode Mode);

// ---- Graphics objects ------------------------------------------------------------

class TGraphicsObject : public TPersistent {
    HOST_CLASS(TGraphicsObject, TPersistent)
public:
    TGraphicsObject() = default;
    TGraphicsObject(const TGraphicsObject&) = delete;
    TGraphicsObject& operator=(const TGraphicsObject&) = delete;

    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

class TFont : public TGraphicsObject {
    HOST_CLASS(TFont, TGraphicsObject)
public:
    TFont();
    ~TFont() override;
    void Assign(TPersistent* Source) override;

    // Realised on first use from the properties; a new one after each change.
    HFONT GetHandle();
    // Adopts a font made elsewhere (with escapement, say): the properties take
    // its values and the font owns the handle from now on.
    void SetHandle(HFONT Value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value);
    const TFontName& GetName() const { return FName; }
    void SetName(const TFontName& Value);
    TFontPitch GetPitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    int GetSize() const;
    void SetSize(int Value);
    TFontStyles GetStyle() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TFontCharset GetCharset() const { return FCharset; }
    void SetCharset(TFontCharset Value);
    int GetPixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value > 0 ? Value : 96; }

    // The LOGFONT the handle is (or would be) made from.
    LOGFONT GetLogFont() const;

protected:
    void Changed() override;
    void Destroy() override;

private:
    void ReleaseHandle();

    HFONT FHandle = nullptr;
    TColor FColor = clWindowText;
    int FHeight;
    TFontName FName = "MS Sans Serif";
    TFontPitch FPitch = fpDefault;
    TFontStyles FStyle;
    TFontCharset FCharset = DEFAULT_CHARSET;
    int FPixelsPerInch = 96;
    // Escapement, weight and the rest of an adopted font, until a property changes.
    std::optional<LOGFONT> FAdopted;
};

class TPen : public TGraphicsObject {
    HOST_CLASS(TPen, TGraphicsObject)
public:
    TPen() = default;
    ~TPen() override;
    void Assign(TPersistent* Source) override;

    HPEN GetHandle();
    void SetHandle(HPEN Value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    // Selected as the DC's ROP2; not part of the handle.
    TPenMode GetMode() const { return FMode; }
    void SetMode(TPenMode Value);
    TPenStyle GetStyle() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value);

protected:
    void Changed() override;
    void Destroy() override;

private:
    void ReleaseHandle();

    HPEN FHandle = nullptr;
    TColor FColor = clBlack;
    TPenMode FMode = pmCopy;
    TPenStyle FStyle = psSolid;
    int FWidth = 1;
};

class TBrush : public TGraphicsObject {
    HOST_CLASS(TBrush, TGraphicsObject)
public:
    TBrush() = default;
    ~TBrush() override;
    void Assign(TPersistent* Source) override;

    HBRUSH GetHandle();
    void SetHandle(HBRUSH Value);
    // A pattern bitmap the brush refers to but does not own; it overrides
    // Style and Color. Its pixels are copied when the handle is made.
    TBitmap* GetBitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* Value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle GetStyle() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

protected:
    void Changed() override;
    void Destroy() override;

private:
    void ReleaseHandle();

    HBRUSH FHandle = nullptr;
    TBitmap* FBitmap = nullptr;
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

// ---- Canvas -------------------------------------------------------------------------

enum TCanvasStateItem { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStateItem>;
inline const TCanvasState csAllValid{csHandleValid, csFontValid, csPenValid, csBrushValid};

class TCanvasRecorder;

class TCanvas : public TPersistent {
    HOST_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    // Copies Source of Bitmap to Dest, painting the pixels of Color with the brush.
    void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);
    void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    // Stretches Source of Canvas onto Dest with CopyMode.
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
    void Draw(int X, int Y, TGraphic* Graphic);
    void DrawFocusRect(const TRect& Rect);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& Rect) { Ellipse(Rect.left, Rect.top, Rect.right, Rect.bottom); }
    void FillRect(const TRect& Rect);
    // fsSurface fills the area of Color around (X, Y); fsBorder fills up to a
    // border of Color.
    void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);
    void FrameRect(const TRect& Rect);
    void LineTo(int X, int Y);
    void MoveTo(int X, int Y);
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Polygon(const std::vector<TPoint>& Points);
    void Polyline(const std::vector<TPoint>& Points);
    // 3n + 1 points: a start point, then two control points and an end point per curve.
    void PolyBezier(const std::vector<TPoint>& Points);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& Rect) { Rectangle(Rect.left, Rect.top, Rect.right, Rect.bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void StretchDraw(const TRect& Rect, TGraphic* Graphic);
    SIZE TextExtent(const std::string& Text);
    int TextHeight(const std::string& Text);
    // Draws Text at (X, Y) and leaves the pen position after it.
    void TextOut(int X, int Y, const std::string& Text);
    // Text clipped to Rect, whose background the brush fills unless it is bsClear.
    void TextRect(const TRect& Rect, int X, int Y, const std::string& Text);
    int TextWidth(const std::string& Text);

    // Drops the DC's selections so that the next drawing call reselects the
    // font, pen and brush.
    void Refresh();
    // Nesting counter: a locked canvas belongs to one drawing sequence.
    void Lock();
    void Unlock();
    bool TryLock();
    int GetLockCount() const { return FLockCount; }

    // The DC, made by CreateHandle when needed; raises EInvalidOperation
    // "Canvas does not allow drawing" when there is none.
    HDC GetHandle();
    void SetHandle(HDC Value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TRect GetClipRect();
    TCopyMode GetCopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TPen* GetPen() const { return FPen.get(); }
    void SetPen(TPen* Value) { FPen->Assign(Value); }
    TBrush* GetBrush() const { return FBrush.get(); }
    void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
    TPoint GetPenPos();
    void SetPenPos(TPoint Value) { MoveTo(Value.x, Value.y); }
    // Pixels[X][Y]
    TColor GetPixels(int X, int Y);
    void SetPixels(int X, int Y, TColor Value);
    int GetTextFlags() const { return FTextFlags; }
    void SetTextFlags(int Value) { FTextFlags = Value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    // Selects what State names into the DC, making the DC first if needed.
    void RequiredState(TCanvasState ReqState);

protected:
    virtual void Changed();
    virtual void Changing();
    // Makes the DC for a canvas that owns one (a bitmap's, a control's).
    virtual void CreateHandle() {}
    void DeselectHandles();
    TCanvasState GetState() const { return FState; }
    // The DC as it is, without making one.
    HDC PeekHandle() const { return FHandle; }

    // A metafile canvas records instead of drawing.
    TCanvasRecorder* FRecorder = nullptr;
    friend class TMetafile;

private:
    void CreateFont();
    void CreatePen();
    void CreateBrush();
    void FontChanged(TObject* Sender);
    void PenChanged(TObject* Sender);
    void BrushChanged(TObject* Sender);
    void Shape4(int Kind, int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void PointList(int Kind, const std::vector<TPoint>& Points);

    HDC FHandle = nullptr;
    TCanvasState FState;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TPoint FPenPos;
    TCopyMode FCopyMode = cmSrcCopy;
    int FTextFlags = 0;
    int FLockCount = 0;
};

// ---- Graphics -----------------------------------------------------------------------

class TGraphic : public TPersistent {
    HOST_CLASS(TGraphic, TPersistent)
public:
    TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    virtual bool GetEmpty() const = 0;
    virtual int GetHeight() const = 0;
    virtual void SetHeight(int Value) = 0;
    virtual int GetWidth() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual bool GetTransparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);
    bool GetModified() const { return FModified; }
    void SetModified(bool Value);

    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void SaveToStream(TStream* Stream) = 0;
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);

    TNotifyEvent OnChange;

    // Paints the graphic stretched over Rect of ACanvas.
    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
    // How a picture streams the graphic: by default the saved file.
    virtual void ReadData(TStream* Stream) { LoadFromStream(Stream); }
    virtual void WriteData(TStream* Stream) { SaveToStream(Stream); }

protected:
    virtual void Changed(TObject* Sender);
    void DefineProperties(TFiler* Filer) override;

    bool FTransparent = false;

private:
    bool FModified = false;
};

using TGraphicClass = TClass;

class TBitmapCanvas;
struct TBitmapImage;

class TBitmap : public TGraphic {
    HOST_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    ~TBitmap() override;
    void Assign(TPersistent* Source) override;

    // The canvas draws on this bitmap (a private copy once the image is shared).
    TCanvas* GetCanvas();
    HBITMAP GetHandle();
    // Adopts Value: the bitmap owns and frees it from now on.
    void SetHandle(HBITMAP Value);
    bool HandleAllocated() const;
    // Gives up the handle to the caller; the bitmap keeps a copy of the image.
    HBITMAP ReleaseHandle();

    bool GetEmpty() const override;
    int GetHeight() const override;
    void SetHeight(int Value) override;
    int GetWidth() const override;
    void SetWidth(int Value) override;
    void SetSize(int AWidth, int AHeight);
    bool GetMonochrome() const;
    // Turning monochrome keeps white only the pixels of the canvas's brush
    // colour (white when the bitmap has no canvas yet).
    void SetMonochrome(bool Value);
    // Becomes a monochrome mask: white where the image had TransparentColor.
    void Mask(TColor TransparentColor);
    // Colour bitmaps are 32-bit in memory whatever the format; it decides the
    // depth a saved file gets.
    TPixelFormat GetPixelFormat() const;
    void SetPixelFormat(TPixelFormat Value);
    // A row of 32-bit pixels (0x00RRGGBB) of a colour bitmap; raises
    // EInvalidGraphicOperation for a monochrome one or a row out of range.
    uint32_t* ScanLine(int Row);

    // tmAuto: the bottom-left pixel; tmFixed: the colour set.
    TColor GetTransparentColor();
    void SetTransparentColor(TColor Value);
    TTransparentMode GetTransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);

    // Frees the GDI resources and keeps the pixels; they come back on demand.
    void Dormant();
    // Makes sure the image is not shared with another bitmap.
    void FreeImage();

    void LoadFromStream(TStream* Stream) override;
    // A BMP file with the depth of PixelFormat.
    void SaveToStream(TStream* Stream) override;
    // A bitmap resource registered with host::RegisterResource.
    void LoadFromResourceName(const std::string& ResName);

    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    // A 4-byte length and the BMP file.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

    void Changed(TObject* Sender) override;

protected:
    void Destroy() override;

private:
    friend class TBitmapCanvas;
    void HandleNeeded();
    void Unshare();
    void FreeContext();
    void NewImage(HBITMAP Handle, bool Monochrome, TPixelFormat Format);
    void LoadImageData(const TImageData& Image);
    void CanvasChanging(TObject* Sender);
    HBITMAP CopyHandle() const;
    HBITMAP MonochromeCopy(TColor Background);

    std::shared_ptr<TBitmapImage> FImage;
    std::unique_ptr<TBitmapCanvas> FCanvas;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};

class TIcon : public TGraphic {
    HOST_CLASS(TIcon, TGraphic)
public:
    TIcon();
    ~TIcon() override;
    void Assign(TPersistent* Source) override;

    bool GetEmpty() const override;
    int GetHeight() const override;
    // Icons keep their size: raises EInvalidGraphicOperation.
    void SetHeight(int Value) override;
    int GetWidth() const override;
    void SetWidth(int Value) override;

    void LoadFromStream(TStream* Stream) override;
    // The icon file as loaded, or a new one when the icon was made otherwise.
    void SaveToStream(TStream* Stream) override;
    void LoadFromResourceName(const std::string& ResName);

    // Draws the image through its mask: pixels outside it stay untouched.
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    struct TIconData;
    std::shared_ptr<TIconData> FData;
};

// A recorded sequence of canvas drawing calls. The drawings keep the
// coordinates they were made with; Draw replays them scaled from
// (0, 0, Width, Height) to the target rectangle.
class TMetafile : public TGraphic {
    HOST_CLASS(TMetafile, TGraphic)
public:
    TMetafile();
    ~TMetafile() override;
    void Assign(TPersistent* Source) override;
    void Clear();

    bool GetEmpty() const override;
    int GetHeight() const override { return FHeight; }
    void SetHeight(int Value) override;
    int GetWidth() const override { return FWidth; }
    void SetWidth(int Value) override;
    int GetRecordCount() const;

    // The stream format is the library's own: "KMF1", width, height, record
    // count (32-bit little-endian), then per record an op byte, an argument
    // count, the 32-bit arguments, and a length-prefixed text.
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;

    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    friend class TMetafileCanvas;
    friend class TCanvasRecorder;
    std::shared_ptr<TCanvasRecorder> FRecords;
    int FWidth = 0;
    int FHeight = 0;
};

// Records what is drawn on it into a metafile; the metafile takes the
// recording when the canvas is freed (the previous content is replaced).
class TMetafileCanvas : public TCanvas {
    HOST_CLASS(TMetafileCanvas, TCanvas)
public:
    // ReferenceDevice is accepted for compatibility; text is measured on a
    // screen-compatible DC.
    TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice);
    ~TMetafileCanvas() override;

protected:
    void CreateHandle() override;

private:
    TMetafile* FMetafile;
    std::shared_ptr<TCanvasRecorder> FRecording;
    HDC FMeasureDC = nullptr;
};

// ---- Picture --------------------------------------------------------------------------

class TPicture : public TPersistent {
    HOST_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    void Assign(TPersistent* Source) override;
    // Chooses the graphic class by the file's extension; raises EInvalidGraphic
    // "Unknown picture file extension (.%s)" for one no format claims.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);

    // Each accessor replaces the graphic with an empty one of its kind unless
    // it already is one.
    TBitmap* GetBitmap();
    void SetBitmap(TBitmap* Value);
    TIcon* GetIcon();
    void SetIcon(TIcon* Value);
    TMetafile* GetMetafile();
    void SetMetafile(TMetafile* Value);
    TGraphic* GetGraphic() const { return FGraphic; }
    // Copies Value (nullptr empties the picture).
    void SetGraphic(TGraphic* Value);
    int GetHeight() const { return FGraphic ? FGraphic->GetHeight() : 0; }
    int GetWidth() const { return FGraphic ? FGraphic->GetWidth() : 0; }

    TNotifyEvent OnChange;

    static void RegisterFileFormat(const std::string& AExtension, const std::string& ADescription,
                                   TGraphicClass AGraphicClass);
    static void UnregisterGraphicClass(TGraphicClass AClass);
    // Whether the picture can hold a graphic of this class.
    static bool SupportsClipboardFormat(int) { return false; }

protected:
    virtual void Changed(TObject* Sender);
    void DefineProperties(TFiler* Filer) override;
    void AssignTo(TPersistent* Dest) override;
    void Destroy() override;

private:
    template <class G>
    G* ForceType();
    void ReplaceGraphic(TGraphic* NewGraphic);
    void ReadData(TStream* Stream);
    void WriteData(TStream* Stream);

    TGraphic* FGraphic = nullptr;
};

// "All (*.bmp;*.ico)|*.bmp;*.ico|Bitmaps (*.bmp)|*.bmp|..." for the formats
// whose class inherits from GraphicClass.
std::string GraphicFilter(TGraphicClass GraphicClass);
// The first extension registered for GraphicClass ("bmp"), empty if none.
std::string GraphicExtension(TGraphicClass GraphicClass);
// "*.bmp;*.ico" for the formats of GraphicClass and its descendants.
std::string GraphicFileMask(TGraphicClass GraphicClass);

} // namespace host
