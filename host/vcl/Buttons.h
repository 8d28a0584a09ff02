#pragma once
// Buttons with glyphs: the windowless speed button, the owner-drawn bitmap
// push button, and the glyph machinery (state images built from one bitmap of
// up to four cells, laid out beside the caption) that they share.
#include <array>
#include <memory>
#include <string>

#include "host/vcl/Controls.h"
#include "host/vcl/ImgList.h"
#include "host/vcl/StdButtons.h"

namespace host {

HOST_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
HOST_ENUM(TButtonState, bsUp, bsDisabled, bsDown, bsExclusive)
HOST_ENUM(TButtonStyle, bsAutoDetect, bsWin31, bsNew)
HOST_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll)
using TNumGlyphs = int;

// The glyph of a button: the bitmap as set (cells side by side in the order
// up, disabled, down, exclusive), and the image built per state on demand.
// A missing disabled cell is embossed from the up cell; a missing down or
// exclusive cell repeats the up cell.
class TButtonGlyph {
public:
    TButtonGlyph();
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    TBitmap* GetGlyph() const { return FOriginal.get(); }
    // Copies Value; a bitmap whose width is 1 to 4 times its height sets
    // NumGlyphs to that ratio.
    void SetGlyph(TBitmap* Value);
    TNumGlyphs GetNumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TNumGlyphs Value);
    // The size of one cell; (0, 0) without a glyph.
    SIZE GetCellSize() const;

    // The image list index of State's image, building it when needed; -1
    // without a glyph.
    int CreateButtonGlyph(TButtonState State);
    // Forgets the built images (after a colour or glyph change).
    void Invalidate();
    HIMAGELIST GetImageList() const { return FImages ? FImages->GetHandle() : nullptr; }

    // Lays out glyph and caption in Client (moved by Offset), draws both and
    // returns the caption's bounds.
    TRect Draw(TCanvas* Canvas, const TRect& Client, const TPoint& Offset, const std::string& Caption,
               TButtonLayout Layout, int Margin, int Spacing, TButtonState State, bool Transparent);
    // Where the glyph and the caption go; also used to place focus frames.
    void CalcButtonLayout(TCanvas* Canvas, const TRect& Client, const TPoint& Offset,
                          const std::string& Caption, TButtonLayout Layout, int Margin, int Spacing,
                          TPoint& GlyphPos, TRect& TextBounds);

    TNotifyEvent OnChange;

private:
    void GlyphChanged(TObject* Sender);
    void DrawButtonGlyph(TCanvas* Canvas, const TPoint& GlyphPos, TButtonState State, bool Transparent);
    void DrawButtonText(TCanvas* Canvas, const std::string& Caption, TRect TextBounds, TButtonState State);
    std::unique_ptr<TBitmap> CellBitmap(int Cell, int W, int H);
    std::unique_ptr<TBitmap> EmbossedCell(int W, int H);
    TColor TransparentColor();

    std::unique_ptr<TBitmap> FOriginal;
    TCustomImageList* FImages = nullptr;
    std::array<int, 4> FIndexes{-1, -1, -1, -1};
    TNumGlyphs FNumGlyphs = 1;
    bool FUpdating = false;
};

class TSpeedButton : public TGraphicControl {
    HOST_CLASS(TSpeedButton, TGraphicControl)
    HOST_MESSAGES(TSpeedButton)
public:
    explicit TSpeedButton(TComponent* AOwner);

    void Click() override;

    bool GetAllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    int GetGroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool GetDown() const { return FDown; }
    void SetDown(bool Value);
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool Value);
    TBitmap* GetGlyph() const { return FGlyph->GetGlyph(); }
    void SetGlyph(TBitmap* Value);
    TNumGlyphs GetNumGlyphs() const { return FGlyph->GetNumGlyphs(); }
    void SetNumGlyphs(TNumGlyphs Value);
    TButtonLayout GetLayout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int GetMargin() const { return FMargin; }
    void SetMargin(int Value);
    int GetSpacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TButtonState GetState() const { return FState; }
    bool GetMouseInControl() const { return FMouseInControl; }

protected:
    void Destroy() override;
    void Loaded() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // Tells the other buttons of the group that this one went down.
    void UpdateExclusive();
    // Re-checks whether the mouse is over a flat button.
    void UpdateTracking();
    void GlyphChanged(TObject* Sender);
    bool IsInside(int X, int Y);

    void CMButtonPressed(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMTextChanged(TMessage& Message);
    void CMSysColorChange(TMessage& Message);
    void CMMouseEnter(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    void WMLButtonDblClk(TMessage& Message);

    std::unique_ptr<TButtonGlyph> FGlyph;
    TButtonState FState = bsUp;
    TButtonLayout FLayout = blGlyphLeft;
    int FGroupIndex = 0;
    int FMargin = -1;
    int FSpacing = 4;
    bool FAllowAllUp = false;
    bool FDown = false;
    bool FDragging = false;
    bool FFlat = false;
    bool FMouseInControl = false;
};

// A push button with a glyph beside its caption, drawn by itself through
// BS_OWNERDRAW. A Kind other than bkCustom gives the standard glyph, caption,
// modal result and Default/Cancel of that kind; changing any of those except
// the caption makes the button custom again.
class TBitBtn : public TButton {
    HOST_CLASS(TBitBtn, TButton)
    HOST_MESSAGES(TBitBtn)
public:
    explicit TBitBtn(TComponent* AOwner);

    void Click() override;

    TBitmap* GetGlyph() const { return FGlyph->GetGlyph(); }
    void SetGlyph(TBitmap* Value);
    TBitBtnKind GetKind() const;
    void SetKind(TBitBtnKind Value);
    TButtonLayout GetLayout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int GetMargin() const { return FMargin; }
    void SetMargin(int Value);
    TNumGlyphs GetNumGlyphs() const { return FGlyph->GetNumGlyphs(); }
    void SetNumGlyphs(TNumGlyphs Value);
    int GetSpacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TButtonStyle GetStyle() const { return FStyle; }
    void SetStyle(TButtonStyle Value);

    // What each kind brings; the caption is empty and the result mrNone for
    // bkCustom.
    static std::string KindCaption(TBitBtnKind Kind);
    static TModalResult KindModalResult(TBitBtnKind Kind);

protected:
    void Destroy() override;
    void CreateParams(TCreateParams& Params) override;
    void SetButtonStyle(bool ADefault) override;
    bool IsCustom() const { return GetKind() == bkCustom; }
    bool IsCustomCaption() const;
    void GlyphChanged(TObject* Sender);
    // Draws the face in the look Style asks for; returns the content area.
    TRect DrawFaceNew(TCanvas* Canvas, bool IsDown, bool Framed);
    TRect DrawFaceWin31(TCanvas* Canvas, bool IsDown, bool Framed);
    void DrawItem(const DRAWITEMSTRUCT& Item);

    void CNDrawItem(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMSysColorChange(TMessage& Message);
    void WMLButtonDblClk(TMessage& Message);

    std::unique_ptr<TButtonGlyph> FGlyph;
    TBitBtnKind FKind = bkCustom;
    TButtonLayout FLayout = blGlyphLeft;
    TButtonStyle FStyle = bsAutoDetect;
    int FMargin = -1;
    int FSpacing = 4;
    bool FModifiedGlyph = false;
};

// An 8 x 8 checker of the two colours, as exclusive buttons show their face.
std::unique_ptr<TBitmap> MakePatternBitmap(TColor BkColor, TColor FgColor);

// The standard glyph of a bitmap button kind (one 16 x 16 cell on
// fuchsia); nullptr for bkCustom.
std::unique_ptr<TBitmap> MakeBitBtnGlyph(TBitBtnKind Kind);

} // namespace host
