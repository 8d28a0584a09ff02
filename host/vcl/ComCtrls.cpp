#include "host/vcl/ComCtrls.h"
#include "host/vcl/Menus.h"

#include "host/vcl/StdPublish.h"

namespace host {

namespace {

constexpr int PanelGap = 2;   // between panels, and above them
constexpr int TextIndent = 2; // inside a panel's bevel
constexpr int GripSize = 12;

struct TCanvasLoan {
    TControlCanvas& Canvas;
    TCanvasLoan(TControlCanvas& C, HDC DC) : Canvas(C)
    {
        Canvas.Lock();
        Canvas.FreeHandle();
        Canvas.SetHandle(DC);
    }
    ~TCanvasLoan()
    {
        Canvas.SetHandle(nullptr);
        Canvas.Unlock();
    }
};

} // namespace

// ---- TStatusPanel ---------------------------------------------------------------------------

TStatusPanel::TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}

void TStatusPanel::Assign(TPersistent* Source)
{
    if (auto* p = dynamic_cast<TStatusPanel*>(Source)) {
        FAlignment = p->FAlignment;
        FBevel = p->FBevel;
        FStyle = p->FStyle;
        FText = p->FText;
        FWidth = p->FWidth;
        Changed(false);
        return;
    }
    inherited::Assign(Source);
}

std::string TStatusPanel::GetDisplayName() const { return FText.empty() ? inherited::GetDisplayName() : FText; }

void TStatusPanel::SetAlignment(TAlignment Value)
{
    if (FAlignment == Value) return;
    FAlignment = Value;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value)
{
    if (FBevel == Value) return;
    FBevel = Value;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value)
{
    if (FStyle == Value) return;
    FStyle = Value;
    Changed(false);
}

void TStatusPanel::SetText(const std::string& Value)
{
    if (FText == Value) return;
    FText = Value;
    Changed(false);
}

void TStatusPanel::SetWidth(int Value)
{
    if (Value < 0) Value = 0;
    if (FWidth == Value) return;
    FWidth = Value;
    // A wider panel moves every panel after it.
    Changed(true);
}

// ---- TStatusPanels --------------------------------------------------------------------------

TStatusPanels::TStatusPanels(TStatusBar* StatusBar)
    : TCollection(StatusBar, TStatusPanel::StaticClass()), FStatusBar(StatusBar)
{
}

void TStatusPanels::Update(TCollectionItem* Item)
{
    inherited::Update(Item);
    if (!FStatusBar->HandleAllocated()) return;
    if (Item && !FStatusBar->FSimplePanel) {
        RECT r = FStatusBar->PanelRect(Item->GetIndex());
        InvalidateRect(FStatusBar->GetHandle(), &r, TRUE);
        return;
    }
    FStatusBar->Invalidate();
}

// ---- TStatusBar -----------------------------------------------------------------------------

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    FPanels = std::make_unique<TStatusPanels>(this);
    FCanvas = std::make_unique<TControlCanvas>();
    FCanvas->SetControl(this);
    SetColor(clBtnFace);
    SetBounds(0, 0, 150, 19);
    SetAlign(alBottom);
}

void TStatusBar::Destroy()
{
    FCanvas->FreeHandle();
    inherited::Destroy();
    FCanvas.reset();
}

void TStatusBar::DestroyWnd()
{
    FCanvas->FreeHandle();
    inherited::DestroyWnd();
}

void TStatusBar::SetSimplePanel(bool Value)
{
    if (FSimplePanel == Value) return;
    FSimplePanel = Value;
    Invalidate();
}

void TStatusBar::SetSimpleText(const std::string& Value)
{
    if (FSimpleText == Value) return;
    FSimpleText = Value;
    if (FSimplePanel) Invalidate();
}

void TStatusBar::SetSizeGrip(bool Value)
{
    if (FSizeGrip == Value) return;
    FSizeGrip = Value;
    Invalidate();
}

// The grip only means something where it can size the window: at the bottom
// of a window with a sizing frame.
bool TStatusBar::ShowsGrip()
{
    if (!FSizeGrip || !HandleAllocated()) return false;
    HWND root = GetAncestor(GetHandle(), GA_ROOT);
    return root && (GetWindowLongPtr(root, GWL_STYLE) & WS_THICKFRAME);
}

TRect TStatusBar::GripRect()
{
    TRect c = GetClientRect();
    return TRect{c.right - GripSize, c.bottom - GripSize, c.right, c.bottom};
}

TRect TStatusBar::PanelRect(int Index)
{
    TRect c = GetClientRect();
    int right = c.right - (ShowsGrip() ? GripSize : 0);
    int left = c.left;
    for (int i = 0; i < Index && i < FPanels->GetCount(); ++i) left += FPanels->GetItem(i)->GetWidth() + PanelGap;
    bool last = Index >= FPanels->GetCount() - 1;
    int end = last ? right : std::min(right, left + FPanels->GetItem(Index)->GetWidth());
    return TRect{left, c.top + PanelGap, std::max(left, end), c.bottom};
}

void TStatusBar::PaintPanel(TCanvas* Canvas, const TRect& Rect, const std::string& Text, TAlignment Alignment,
                            TStatusPanelBevel Bevel)
{
    HDC dc = Canvas->GetHandle();
    RECT r = Rect;
    if (Bevel != pbNone) DrawEdge(dc, &r, Bevel == pbRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (Text.empty()) return;
    InflateRect(&r, -TextIndent, 0);
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS |
                 (Alignment == taCenter ? DT_CENTER : Alignment == taRightJustify ? DT_RIGHT : DT_LEFT);
    Canvas->GetBrush()->SetStyle(bsClear);
    Canvas->SetFont(GetFont());
    Canvas->RequiredState(TCanvasState{csHandleValid, csFontValid, csBrushValid});
    DrawText(dc, Text.c_str(), int(Text.size()), &r, flags);
}

void TStatusBar::PaintWindow(HDC DC)
{
    TCanvasLoan loan(*FCanvas, DC);
    TCanvas* canvas = FCanvas.get();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(GetClientRect());
    if (FSimplePanel || FPanels->GetCount() == 0) {
        TRect r = GetClientRect();
        r.top += PanelGap;
        if (ShowsGrip()) r.right -= GripSize;
        PaintPanel(canvas, r, FSimplePanel ? FSimpleText : std::string(), taLeftJustify,
                   FSimplePanel ? pbLowered : pbNone);
    } else {
        for (int i = 0; i < FPanels->GetCount(); ++i) {
            TStatusPanel* panel = FPanels->GetItem(i);
            TRect r = PanelRect(i);
            if (panel->GetStyle() == psOwnerDraw) {
                RECT face = r;
                if (panel->GetBevel() != pbNone)
                    DrawEdge(DC, &face, panel->GetBevel() == pbRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER,
                             BF_RECT | BF_ADJUST);
                canvas->GetBrush()->SetColor(GetColor());
                canvas->GetBrush()->SetStyle(bsSolid);
                canvas->SetFont(GetFont());
                DrawPanel(panel, face);
                continue;
            }
            PaintPanel(canvas, r, panel->GetText(), panel->GetAlignment(), panel->GetBevel());
        }
    }
    if (ShowsGrip()) {
        RECT g = GripRect();
        DrawFrameControl(DC, &g, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
}

void TStatusBar::DrawPanel(TStatusPanel* Panel, const TRect& Rect)
{
    if (OnDrawPanel)
        OnDrawPanel(this, Panel, Rect);
    else
        FCanvas->FillRect(Rect);
}

void TStatusBar::Resize() { OnResize(this); }

void TStatusBar::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

// The bar paints itself (PaintWindow) rather than leaving it to its window class.
void TStatusBar::WMPaint(TMessage& Message)
{
    FControlState += csCustomPaint;
    try {
        inherited::Dispatch(Message);
    } catch (...) {
        FControlState -= csCustomPaint;
        throw;
    }
    FControlState -= csCustomPaint;
}

void TStatusBar::WMSize(TMessage& Message)
{
    inherited::Dispatch(Message);
    // The last panel and the grip follow the right edge.
    Invalidate();
}

void TStatusBar::CMFontChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

HOST_MESSAGE_MAP(TStatusBar)
{
    M(WM_ERASEBKGND, &TStatusBar::WMEraseBkgnd);
    M(WM_PAINT, &TStatusBar::WMPaint);
    M(WM_SIZE, &TStatusBar::WMSize);
    M(CM_FONTCHANGED, &TStatusBar::CMFontChanged);
}

// ---- Published properties -------------------------------------------------------------------

HOST_PUBLISHED(TStatusPanel)
{
    P.Property("Alignment", &TStatusPanel::GetAlignment, &TStatusPanel::SetAlignment).Default(taLeftJustify);
    P.Property("Bevel", &TStatusPanel::GetBevel, &TStatusPanel::SetBevel).Default(pbLowered);
    P.Property("Style", &TStatusPanel::GetStyle, &TStatusPanel::SetStyle).Default(psText);
    P.Property("Text", &TStatusPanel::GetText, &TStatusPanel::SetText);
    P.Property("Width", &TStatusPanel::GetWidth, &TStatusPanel::SetWidth).Default(50);
}

HOST_PUBLISHED(TStatusBar)
{
    P.Property("Align", &TStatusBar::GetAlign, &TStatusBar::SetAlign).Default(alBottom);
    P.Property("Color", &TStatusBar::GetColor, &TStatusBar::SetColor)
        .Type(ColorTypeInfo())
        .Stored(&TStatusBar::IsColorStored)
        .Default(clBtnFace);
    P.Property("DragCursor", &TStatusBar::GetDragCursor, &TStatusBar::SetDragCursor)
        .Type(CursorTypeInfo())
        .Default(crDrag);
    P.Property("DragMode", &TStatusBar::GetDragMode, &TStatusBar::SetDragMode).Default(dmManual);
    P.Property("Enabled", &TStatusBar::GetEnabled, &TStatusBar::SetEnabled).Default(true);
    P.Property("Font", &TStatusBar::GetFont, &TStatusBar::SetFont).Stored(&TStatusBar::IsFontStored);
    P.Property("Panels", &TStatusBar::GetPanels, &TStatusBar::SetPanels);
    P.Property("ParentFont", &TStatusBar::GetParentFont, &TStatusBar::SetParentFont).Default(true);
    P.Property("ParentShowHint", &TStatusBar::GetParentShowHint, &TStatusBar::SetParentShowHint).Default(true);
    P.Property("PopupMenu", &TStatusBar::GetPopupMenu, &TStatusBar::SetPopupMenu);
    P.Property("ShowHint", &TStatusBar::GetShowHint, &TStatusBar::SetShowHint).Stored(&TStatusBar::IsShowHintStored);
    P.Property("SimplePanel", &TStatusBar::GetSimplePanel, &TStatusBar::SetSimplePanel).Default(false);
    P.Property("SimpleText", &TStatusBar::GetSimpleText, &TStatusBar::SetSimpleText);
    P.Property("SizeGrip", &TStatusBar::GetSizeGrip, &TStatusBar::SetSizeGrip).Default(true);
    P.Property("Visible", &TStatusBar::GetVisible, &TStatusBar::SetVisible).Default(true);
    P.Property("OnClick", &TStatusBar::OnClick);
    P.Property("OnDblClick", &TStatusBar::OnDblClick);
    P.Property("OnDrawPanel", &TStatusBar::OnDrawPanel);
    P.Property("OnMouseDown", &TStatusBar::OnMouseDown);
    P.Property("OnMouseMove", &TStatusBar::OnMouseMove);
    P.Property("OnMouseUp", &TStatusBar::OnMouseUp);
    P.Property("OnResize", &TStatusBar::OnResize);
}

static const bool statusBarRegistered = (RegisterClass(TStatusBar::StaticClass()), true);

} // namespace host
