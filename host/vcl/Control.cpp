// TControl: geometry, visibility, text, appearance and streaming.
#include "host/vcl/Controls.h"
#include "host/vcl/ControlsInternal.h"
#include "host/vcl/Filer.h"

namespace host {

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    FWindowProc = TWndMethodEvent(this, &TControl::WndProc);
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FFont = std::make_unique<TFont>();
    FFont->OnChange = TNotifyEvent(this, &TControl::FontChanged);
}

void TControl::Destroy()
{
    controls::CancelDragOf(this);
    SetParent(nullptr);
    controls::ControlDestroyed(this);
    FFont->OnChange = nullptr;
    inherited::Destroy();
}

// ---- Tree and geometry ----------------------------------------------------------------

void TControl::SetParent(TWinControl* AParent)
{
    if (FParent == AParent) return;
    if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    InvalidateControl(FVisible, false);
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    Invalidate();
    WINDOWPOS pos{nullptr, nullptr, FLeft, FTop, FWidth, FHeight, 0};
    Perform(WM_WINDOWPOSCHANGED, 0, LPARAM(&pos));
    RequestAlign();
    if (!GetComponentState().Contains(csLoading)) Resize();
}

TRect TControl::GetClientRect() { return TRect{0, 0, FWidth, FHeight}; }

TPoint TControl::GetClientOrigin()
{
    if (!FParent) controls::ParentRequired(this);
    TPoint p = FParent->GetClientOrigin();
    return TPoint{p.x + FLeft, p.y + FTop};
}

TPoint TControl::ClientToScreen(const TPoint& Point)
{
    TPoint o = GetClientOrigin();
    return TPoint{Point.x + o.x, Point.y + o.y};
}

TPoint TControl::ScreenToClient(const TPoint& Point)
{
    TPoint o = GetClientOrigin();
    return TPoint{Point.x - o.x, Point.y - o.y};
}

void TControl::SetClientSize(int AWidth, int AHeight)
{
    TRect client = GetClientRect();
    SetBounds(FLeft, FTop, FWidth - client.right + AWidth, FHeight - client.bottom + AHeight);
}

void TControl::SetAlign(TAlign Value)
{
    if (FAlign == Value) return;
    TAlign old = FAlign;
    FAlign = Value;
    auto vertical = [](TAlign a) { return a == alTop || a == alBottom; };
    auto sided = [](TAlign a) { return a != alNone && a != alClient; };
    // Turning a top bar into a side bar keeps its thickness.
    if (!GetComponentState().Contains(csLoading) && sided(old) && sided(Value) && vertical(old) != vertical(Value))
        SetBounds(FLeft, FTop, FHeight, FWidth);
    RequestAlign();
}

void TControl::RequestAlign()
{
    if (FParent) FParent->AlignControl(this);
}

void TControl::SetZOrder(bool TopMost)
{
    if (!FParent) return;
    auto& list = FParent->FControls;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    if (TopMost)
        list.push_back(this);
    else
        list.insert(list.begin(), this);
    InvalidateControl(FVisible, true);
}

// ---- State ------------------------------------------------------------------------------

void TControl::SetVisible(bool Value)
{
    if (FVisible == Value) return;
    FVisible = Value;
    Perform(CM_VISIBLECHANGED, WPARAM(Value), 0);
    RequestAlign();
}

void TControl::Show() { SetVisible(true); }

void TControl::SetEnabled(bool Value)
{
    if (FEnabled == Value) return;
    FEnabled = Value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

bool TControl::GetShowing() const { return FVisible && FParent && FParent->GetShowing(); }

// ---- Text ---------------------------------------------------------------------------------

int TControl::GetTextBuf(char* Buffer, int BufSize)
{
    return int(Perform(WM_GETTEXT, WPARAM(BufSize), LPARAM(Buffer)));
}

int TControl::GetTextLen() { return int(Perform(WM_GETTEXTLENGTH, 0, 0)); }

void TControl::SetTextBuf(const char* Buffer)
{
    Perform(WM_SETTEXT, 0, LPARAM(Buffer));
    Perform(CM_TEXTCHANGED, 0, 0);
}

std::string TControl::GetText()
{
    int len = GetTextLen();
    if (len <= 0) return std::string();
    std::string s(size_t(len) + 1, '\0');
    int n = GetTextBuf(s.data(), len + 1);
    s.resize(size_t(std::max(0, std::min(n, len))));
    return s;
}

void TControl::SetText(const std::string& Value)
{
    if (GetText() == Value) return;
    SetTextBuf(Value.c_str());
}

// ---- Appearance ------------------------------------------------------------------------

void TControl::FontChanged(TObject*)
{
    FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value)
{
    if (FColor == Value) return;
    FColor = Value;
    FParentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value)
{
    if (FParentFont == Value) return;
    FParentFont = Value;
    if (FParent && !GetComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value)
{
    if (FParentColor == Value) return;
    FParentColor = Value;
    if (FParent && !GetComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetCtl3D(bool Value)
{
    if (FCtl3D == Value) return;
    FCtl3D = Value;
    FParentCtl3D = false;
    Perform(CM_CTL3DCHANGED, 0, 0);
}

void TControl::SetParentCtl3D(bool Value)
{
    if (FParentCtl3D == Value) return;
    FParentCtl3D = Value;
    if (FParent && !GetComponentState().Contains(csReading)) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value)
{
    if (FShowHint == Value) return;
    FShowHint = Value;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value)
{
    if (FParentShowHint == Value) return;
    FParentShowHint = Value;
    if (FParent && !GetComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value)
{
    if (FCursor == Value) return;
    FCursor = Value;
    Perform(CM_CURSORCHANGED, 0, 0);
}

// ---- Painting -----------------------------------------------------------------------------

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque)
{
    if (!IsVisible || !FParent || !FParent->HandleAllocated()) return;
    TRect r = GetBoundsRect();
    bool erase = !(IsOpaque || FParent->FControlStyle.Contains(csOpaque));
    InvalidateRect(FParent->FHandle, &r, erase);
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::Update()
{
    if (FParent) FParent->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

// ---- Streaming ----------------------------------------------------------------------------

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* Value)
{
    if (auto* parent = dynamic_cast<TWinControl*>(Value)) SetParent(parent);
}

void TControl::ReadState(TReader* Reader)
{
    FControlState += csReadingState;
    // Parented before the properties are read, so ParentFont and the rest
    // see the parent's values.
    // The reader names the root as its own parent while reading it.
    auto* parent = dynamic_cast<TWinControl*>(Reader->GetParent());
    if (parent && parent != this) SetParent(parent);
    try {
        inherited::ReadState(Reader);
    } catch (...) {
        FControlState -= csReadingState;
        throw;
    }
    FControlState -= csReadingState;
    if (FParent) {
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
        Perform(CM_PARENTFONTCHANGED, 0, 0);
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        Perform(CM_PARENTCTL3DCHANGED, 0, 0);
    }
}

void TControl::Loaded()
{
    inherited::Loaded();
    RequestAlign();
}

HOST_PUBLISHED(TControl)
{
    P.Property("Left", &TControl::GetLeft, &TControl::SetLeft);
    P.Property("Top", &TControl::GetTop, &TControl::SetTop);
    P.Property("Width", &TControl::GetWidth, &TControl::SetWidth);
    P.Property("Height", &TControl::GetHeight, &TControl::SetHeight);
    P.Property("Cursor", &TControl::GetCursor, &TControl::SetCursor).Type(CursorTypeInfo()).Default(crDefault);
    P.Property("Hint", &TControl::GetHint, &TControl::SetHint);
}

} // namespace host
