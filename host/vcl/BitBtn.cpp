// The bitmap push button: a TButton that draws its own face, glyph and
// caption, and the standard kinds (OK, Cancel, Yes, ...) that fill them in.
#include "host/vcl/Buttons.h"
#include "host/vcl/Forms.h"
#include "host/vcl/StdPublish.h"

namespace host {

namespace {

struct TKindInfo {
    const char* Caption;
    TModalResult Result;
};

constexpr TKindInfo kKinds[] = {
    {"", mrNone},           // bkCustom
    {"OK", mrOk},           // bkOK
    {"Cancel", mrCancel},   // bkCancel
    {"&Help", mrNone},      // bkHelp
    {"&Yes", mrYes},        // bkYes
    {"&No", mrNo},          // bkNo
    {"&Close", mrNone},     // bkClose
    {"Abort", mrAbort},     // bkAbort
    {"&Retry", mrRetry},    // bkRetry
    {"&Ignore", mrIgnore},  // bkIgnore
    {"&All", mrAll},        // bkAll
};

bool IsDefaultKind(TBitBtnKind Kind) { return Kind == bkOK || Kind == bkYes; }
bool IsCancelKind(TBitBtnKind Kind) { return Kind == bkCancel || Kind == bkNo; }

// Lends the button's canvas the item's device context for one drawing.
class TCanvasOnDC {
public:
    TCanvasOnDC(TCanvas* Canvas, HDC DC) : FCanvas(Canvas)
    {
        FCanvas->Lock();
        if (auto* own = dynamic_cast<TControlCanvas*>(FCanvas)) own->FreeHandle();
        FCanvas->SetHandle(DC);
    }
    ~TCanvasOnDC()
    {
        FCanvas->SetHandle(nullptr);
        FCanvas->Unlock();
    }
    TCanvasOnDC(const TCanvasOnDC&) = delete;
    TCanvasOnDC& operator=(const TCanvasOnDC&) = delete;

private:
    TCanvas* FCanvas;
};

} // namespace

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TButtonGlyph>())
{
    FGlyph->OnChange = TNotifyEvent(this, &TBitBtn::GlyphChanged);
}

void TBitBtn::Destroy()
{
    FGlyph->OnChange = TNotifyEvent();
    inherited::Destroy();
}

std::string TBitBtn::KindCaption(TBitBtnKind Kind) { return kKinds[Kind].Caption; }

TModalResult TBitBtn::KindModalResult(TBitBtnKind Kind) { return kKinds[Kind].Result; }

void TBitBtn::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.Style = (Params.Style & ~DWORD(BS_TYPEMASK)) | BS_OWNERDRAW;
}

// The window keeps BS_OWNERDRAW; the default frame is ours to draw.
void TBitBtn::SetButtonStyle(bool ADefault)
{
    if (ADefault == FIsFocused) return;
    FIsFocused = ADefault;
    Invalidate();
}

// A Close button closes its form instead of clicking; like the framework's,
// it does not fire OnClick then (OnClose/OnCloseQuery are the hooks).
void TBitBtn::Click()
{
    if (GetKind() == bkClose) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
            return;
        }
    }
    inherited::Click();
}

// ---- Kinds ---------------------------------------------------------------------------------

TBitBtnKind TBitBtn::GetKind() const
{
    if (FKind == bkCustom) return bkCustom;
    bool changed = IsDefaultKind(FKind) != FDefault || IsCancelKind(FKind) != FCancel ||
                   FModalResult != KindModalResult(FKind) || FModifiedGlyph;
    return changed ? bkCustom : FKind;
}

void TBitBtn::SetKind(TBitBtnKind Value)
{
    if (Value < bkCustom || Value > bkAll || Value == GetKind()) return;
    if (Value != bkCustom) {
        SetDefault(IsDefaultKind(Value));
        SetCancel(IsCancelKind(Value));
        // A caption read from a form file before the kind stays.
        bool loading = GetComponentState().Contains(csLoading);
        if (!loading || GetCaption().empty()) SetCaption(KindCaption(Value));
        SetModalResult(KindModalResult(Value));
        std::unique_ptr<TBitmap> glyph = MakeBitBtnGlyph(Value);
        FGlyph->SetGlyph(glyph.get());
        FModifiedGlyph = false;
    }
    FKind = Value;
    Invalidate();
}

// GetCaption asks the window for its text, which is not a const operation.
bool TBitBtn::IsCustomCaption() const
{
    return const_cast<TBitBtn*>(this)->GetCaption() != KindCaption(GetKind());
}

// ---- Properties ----------------------------------------------------------------------------

void TBitBtn::GlyphChanged(TObject*)
{
    if (!GetComponentState().Contains(csDestroying)) Invalidate();
}

void TBitBtn::SetGlyph(TBitmap* Value)
{
    FGlyph->SetGlyph(Value);
    FModifiedGlyph = true;
    Invalidate();
}

void TBitBtn::SetNumGlyphs(TNumGlyphs Value)
{
    FGlyph->SetNumGlyphs(Value);
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout Value)
{
    if (Value == FLayout) return;
    FLayout = Value;
    Invalidate();
}

void TBitBtn::SetMargin(int Value)
{
    if (Value == FMargin || Value < -1) return;
    FMargin = Value;
    Invalidate();
}

void TBitBtn::SetSpacing(int Value)
{
    if (Value == FSpacing) return;
    FSpacing = Value;
    Invalidate();
}

void TBitBtn::SetStyle(TButtonStyle Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    Invalidate();
}

// ---- Drawing -------------------------------------------------------------------------------

// The 3-D face: a black line round the default or focused button, a plain
// shadow frame while pressed, the raised push-button frame otherwise.
TRect TBitBtn::DrawFaceNew(TCanvas* Canvas, bool IsDown, bool Framed)
{
    HDC dc = Canvas->GetHandle();
    TRect r = GetClientRect();
    if (Framed) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    if (IsDown) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
        InflateRect(&r, -1, -1);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    } else {
        UINT flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (GetEnabled() ? 0 : DFCS_INACTIVE);
        DrawFrameControl(dc, &r, DFC_BUTTON, flags);
    }
    TRect content = GetClientRect();
    InflateRect(&content, -2, -2);
    return content;
}

// The older look: a black outline with cut corners (doubled when framed),
// two raised bevels, or a shadow line top and left while pressed.
TRect TBitBtn::DrawFaceWin31(TCanvas* Canvas, bool IsDown, bool Framed)
{
    HDC dc = Canvas->GetHandle();
    TRect r = GetClientRect();
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    SetPixel(dc, r.left, r.top, face);
    SetPixel(dc, r.right - 1, r.top, face);
    SetPixel(dc, r.left, r.bottom - 1, face);
    SetPixel(dc, r.right - 1, r.bottom - 1, face);
    InflateRect(&r, -1, -1);
    if (Framed) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    if (IsDown) {
        DrawEdge(dc, &r, BDR_SUNKENINNER, BF_TOPLEFT | BF_SOFT | BF_ADJUST);
    } else {
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    }
    return r;
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& Item)
{
    TCanvas* canvas = GetButtonCanvas();
    TCanvasOnDC loan(canvas, Item.hDC);
    bool isDown = (Item.itemState & ODS_SELECTED) != 0;
    bool hasFocus = (Item.itemState & ODS_FOCUS) != 0;
    TButtonState state = !GetEnabled() ? bsDisabled : isDown ? bsDown : bsUp;
    bool framed = FIsFocused || hasFocus;
    bool win31 = FStyle == bsWin31;
    canvas->RequiredState(csAllValid);
    TRect content = win31 ? DrawFaceWin31(canvas, isDown, framed) : DrawFaceNew(canvas, isDown, framed);
    canvas->SetFont(GetFont());
    TPoint offset = isDown ? TPoint{1, 1} : TPoint{0, 0};
    TRect text = FGlyph->Draw(canvas, content, offset, GetCaption(), FLayout, FMargin, FSpacing, state, false);
    if (!hasFocus) return;
    // New look: inside the face; older look: round the caption.
    TRect focus = GetClientRect();
    if (win31 && !GetCaption().empty()) {
        focus = text;
        InflateRect(&focus, 2, 1);
    } else {
        InflateRect(&focus, -4, -4);
    }
    canvas->GetFont()->SetColor(clBtnText);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->RequiredState(csAllValid);
    SetTextColor(Item.hDC, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(Item.hDC, GetSysColor(COLOR_BTNFACE));
    ::host::DrawFocusRect(Item.hDC, &focus);
}

// ---- Messages ------------------------------------------------------------------------------

void TBitBtn::CNDrawItem(TMessage& Message)
{
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
    Message.Result = 1;
}

void TBitBtn::CMFontChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

void TBitBtn::CMEnabledChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

void TBitBtn::CMSysColorChange(TMessage& Message)
{
    inherited::Dispatch(Message);
    FGlyph->Invalidate();
    Invalidate();
}

// A quick second click is a second press, not a double click.
void TBitBtn::WMLButtonDblClk(TMessage& Message)
{
    Perform(WM_LBUTTONDOWN, Message.WParam, Message.LParam);
}

HOST_MESSAGE_MAP(TBitBtn)
{
    M(CN_DRAWITEM, &TBitBtn::CNDrawItem);
    M(CM_FONTCHANGED, &TBitBtn::CMFontChanged);
    M(CM_ENABLEDCHANGED, &TBitBtn::CMEnabledChanged);
    M(CM_SYSCOLORCHANGE, &TBitBtn::CMSysColorChange);
    M(WM_LBUTTONDBLCLK, &TBitBtn::WMLButtonDblClk);
}

// The kind's own values are not stored: reading Kind brings them back.
HOST_PUBLISHED(TBitBtn)
{
    P.Property("Cancel", &TBitBtn::GetCancel, &TBitBtn::SetCancel).Default(false).Stored(&TBitBtn::IsCustom);
    P.Property("Caption", &TBitBtn::GetCaption, &TBitBtn::SetCaption).Stored(&TBitBtn::IsCustomCaption);
    P.Property("Default", &TBitBtn::GetDefault, &TBitBtn::SetDefault).Default(false).Stored(&TBitBtn::IsCustom);
    P.Property("Glyph", &TBitBtn::GetGlyph, &TBitBtn::SetGlyph).Stored(&TBitBtn::IsCustom);
    P.Property("Kind", &TBitBtn::GetKind, &TBitBtn::SetKind).Default(bkCustom);
    P.Property("Layout", &TBitBtn::GetLayout, &TBitBtn::SetLayout).Default(blGlyphLeft);
    P.Property("Margin", &TBitBtn::GetMargin, &TBitBtn::SetMargin).Default(-1);
    P.Property("ModalResult", &TBitBtn::GetModalResult, &TBitBtn::SetModalResult)
        .Default(mrNone)
        .Stored(&TBitBtn::IsCustom);
    P.Property("NumGlyphs", &TBitBtn::GetNumGlyphs, &TBitBtn::SetNumGlyphs).Default(1).Stored(&TBitBtn::IsCustom);
    P.Property("Spacing", &TBitBtn::GetSpacing, &TBitBtn::SetSpacing).Default(4);
    P.Property("Style", &TBitBtn::GetStyle, &TBitBtn::SetStyle).Default(bsAutoDetect);
}

HOST_REGISTER_CLASSES(TBitBtn);

} // namespace host
