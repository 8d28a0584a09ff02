#include "general/Kelpanel.h"

#include <algorithm>
#include <vector>

#include "host/vcl/Forms.h"
#include "host/vcl/HintWindow.h"
#include "host/vcl/Menus.h"
#include "host/vcl/StdPublish.h"

namespace kel {

using namespace host;

// ---- TCustomEdgePanel ------------------------------------------------------------------------

TCustomEdgePanel::TCustomEdgePanel(TComponent* AOwner) : TCustomPanel(AOwner)
{
    FControlStyle -= csSetCaption;
}

void TCustomEdgePanel::Resize()
{
    if (OnResize) OnResize(this);
}

void TCustomEdgePanel::SetBevelEdges(TBevelEdges Value)
{
    if (FBevelEdges == Value) return;
    FBevelEdges = Value;
    Invalidate();
}

void TCustomEdgePanel::Paint()
{
    if (FBevelEdges == AllBevelEdges) return inherited::Paint();
    TCanvas* canvas = GetCanvas();
    host::TRect client = GetClientRect();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(client);
    kel::TRect r{client.left, client.top, client.right, client.bottom};
    auto bevel = [&](TBevelCut Cut) {
        if (Cut == bvNone) return;
        TColor top = Cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = Cut == bvLowered ? clBtnHighlight : clBtnShadow;
        EdgeFrame3D(canvas, r, top, bottom, GetBevelWidth(), FBevelEdges);
    };
    bevel(GetBevelOuter());
    host::TRect inner{r.Left, r.Top, r.Right, r.Bottom};
    Frame3D(canvas, inner, GetColor(), GetColor(), GetBorderWidth());
    r = kel::TRect{inner.left, inner.top, inner.right, inner.bottom};
    bevel(GetBevelInner());
    PaintCaption(host::TRect{r.Left, r.Top, r.Right, r.Bottom});
}

void TCustomEdgePanel::PaintCaption(host::TRect R)
{
    const std::string text = GetCaption();
    if (text.empty()) return;
    TCanvas* canvas = GetCanvas();
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->SetFont(GetFont());
    const int h = canvas->TextHeight("W");
    R.top = (R.bottom + R.top - h) / 2;
    R.bottom = R.top + h;
    const TAlignment alignment = GetAlignment();
    const UINT flags = DT_EXPANDTABS | DT_VCENTER |
                       (alignment == taCenter ? DT_CENTER : alignment == taRightJustify ? DT_RIGHT : DT_LEFT);
    canvas->RequiredState(TCanvasState{csHandleValid, csFontValid, csBrushValid});
    HDC dc = canvas->GetHandle();
    if (GetEnabled()) {
        DrawText(dc, text.c_str(), int(text.size()), &R, flags);
        return;
    }
    // Disabled: embossed as on a plain panel, so that an edge panel does not
    // change its look when one edge is switched off.
    OffsetRect(&R, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawText(dc, text.c_str(), int(text.size()), &R, flags);
    OffsetRect(&R, -1, -1);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawText(dc, text.c_str(), int(text.size()), &R, flags);
}

// ---- THintBar -----------------------------------------------------------------------------------

namespace {

// Every live hint bar whose handlers are installed, oldest first.
std::vector<THintBar*>& InstalledBars()
{
    static std::vector<THintBar*> list;
    return list;
}

std::string ActiveControlHint()
{
    TWinControl* control = Screen->GetActiveControl();
    return control ? control->GetHint() : std::string();
}

} // namespace

THintBar::THintBar(TComponent* AOwner) : TStatusBar(AOwner)
{
    SetHeight(20);
    SetParentFont(false);
    GetFont()->SetName("MS Sans Serif");
    GetFont()->SetSize(8);
    GetFont()->SetStyle(TFontStyles{});
    SetSimplePanel(true);
    if (GetComponentState().Contains(csDesigning)) return;
    FSavedAppHint = Application->OnHint;
    Application->OnHint = TNotifyEvent(this, &THintBar::AppHint);
    FSavedActiveControlChange = Screen->OnActiveControlChange;
    Screen->OnActiveControlChange = TNotifyEvent(this, &THintBar::ActiveControlChange);
    InstalledBars().push_back(this);
}

void THintBar::Uninstall()
{
    auto& list = InstalledBars();
    const auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    const TNotifyEvent ownHint(this, &THintBar::AppHint);
    const TNotifyEvent ownActive(this, &THintBar::ActiveControlChange);
    // Someone who hooked in after this bar keeps the handler: it is theirs now.
    if (Application->OnHint == ownHint) Application->OnHint = FSavedAppHint;
    if (Screen->OnActiveControlChange == ownActive) Screen->OnActiveControlChange = FSavedActiveControlChange;
    // Bars installed later that saved this bar's handlers fall back to what it saved.
    for (auto later = it + 1; later != list.end(); ++later) {
        if ((*later)->FSavedAppHint == ownHint) (*later)->FSavedAppHint = FSavedAppHint;
        if ((*later)->FSavedActiveControlChange == ownActive)
            (*later)->FSavedActiveControlChange = FSavedActiveControlChange;
    }
    list.erase(it);
}

void THintBar::Destroy()
{
    Uninstall();
    inherited::Destroy();
}

void THintBar::UpdateText()
{
    if ((GetEnabled() && !FHintText.empty()) || FShowEmpty)
        SetSimpleText(FHintPrefix + FHintText + FHintSuffix);
    else
        SetSimpleText(std::string());
}

void THintBar::SetHintPrefix(const std::string& Value)
{
    if (FHintPrefix == Value) return;
    FHintPrefix = Value;
    UpdateText();
}

void THintBar::SetHintSuffix(const std::string& Value)
{
    if (FHintSuffix == Value) return;
    FHintSuffix = Value;
    UpdateText();
}

void THintBar::SetShowEmpty(bool Value)
{
    if (FShowEmpty == Value) return;
    FShowEmpty = Value;
    UpdateText();
}

void THintBar::SetShowActiveControl(bool Value)
{
    if (FShowActiveControl == Value) return;
    FShowActiveControl = Value;
    FHintText = Value ? GetLongHint(ActiveControlHint()) : Application->GetHint();
    UpdateText();
}

void THintBar::CMEnabledChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    UpdateText();
}

void THintBar::AppHint(TObject* Sender)
{
    if (!FShowActiveControl) {
        FHintText = Application->GetHint();
        UpdateText();
    }
    if (FSavedAppHint) FSavedAppHint(Sender);
    if (OnHint) OnHint(this);
}

void THintBar::ActiveControlChange(TObject* Sender)
{
    if (FShowActiveControl) {
        FHintText = GetLongHint(ActiveControlHint());
        UpdateText();
    }
    if (FSavedActiveControlChange) FSavedActiveControlChange(Sender);
    if (OnActiveControlChange) OnActiveControlChange(this);
}

// ---- TCustomDragPanel ---------------------------------------------------------------------------

namespace {

constexpr WPARAM SC_DRAGMOVE = 0xF012; // move by caption, with the mouse already down

bool IsSizingHit(LRESULT Hit) { return Hit >= HTLEFT && Hit <= HTBOTTOMRIGHT; }

} // namespace

TCustomDragPanel::TCustomDragPanel(TComponent* AOwner) : TEdgePanel(AOwner)
{
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
}

bool TCustomDragPanel::Loading() const { return GetComponentState().Contains(csLoading); }

bool TCustomDragPanel::LimitsFollowBounds() const { return !FMSLocked && GetAlign() != alClient; }

void TCustomDragPanel::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.Style |= WS_THICKFRAME;
}

void TCustomDragPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // Only the left button: the move loop ends when the left button goes up,
    // so a move begun with another button would follow the mouse until then.
    if (Button != mbLeft || FMSLocked || !FOptions.Contains(smMove) || GetAlign() != alNone)
        return inherited::MouseDown(Button, Shift, X, Y);
    FMoving = true;
    ReleaseCapture();
    SendMessage(GetHandle(), WM_SYSCOMMAND, SC_DRAGMOVE, 0);
}

bool TCustomDragPanel::EdgeAllowed(TSizeMoveOption Edge) const
{
    if (!FOptions.Contains(Edge)) return false;
    const TAlign align = GetAlign();
    switch (Edge) {
    case smSizeLeft: return align == alNone || align == alRight;
    case smSizeRight: return align == alNone || align == alLeft;
    case smSizeTop: return align == alNone || align == alBottom;
    case smSizeBottom: return align == alNone || align == alTop;
    default: return false;
    }
}

// A side stays when its edge may move; a corner keeps what its two edges allow.
LRESULT TCustomDragPanel::AllowedHit(LRESULT Hit) const
{
    auto side = [this](TSizeMoveOption Edge, LRESULT Answer) { return EdgeAllowed(Edge) ? Answer : LRESULT(HTCLIENT); };
    auto corner = [this](TSizeMoveOption A, LRESULT SideA, TSizeMoveOption B, LRESULT SideB, LRESULT Both) {
        const bool a = EdgeAllowed(A), b = EdgeAllowed(B);
        return a && b ? Both : a ? SideA : b ? SideB : LRESULT(HTCLIENT);
    };
    switch (Hit) {
    case HTLEFT: return side(smSizeLeft, HTLEFT);
    case HTRIGHT: return side(smSizeRight, HTRIGHT);
    case HTTOP: return side(smSizeTop, HTTOP);
    case HTBOTTOM: return side(smSizeBottom, HTBOTTOM);
    case HTTOPLEFT: return corner(smSizeTop, HTTOP, smSizeLeft, HTLEFT, HTTOPLEFT);
    case HTTOPRIGHT: return corner(smSizeTop, HTTOP, smSizeRight, HTRIGHT, HTTOPRIGHT);
    case HTBOTTOMLEFT: return corner(smSizeBottom, HTBOTTOM, smSizeLeft, HTLEFT, HTBOTTOMLEFT);
    case HTBOTTOMRIGHT: return corner(smSizeBottom, HTBOTTOM, smSizeRight, HTRIGHT, HTBOTTOMRIGHT);
    default: return Hit;
    }
}

void TCustomDragPanel::WMNCHitTest(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (FMSLocked || GetAlign() == alClient)
        Message.Result = HTCLIENT;
    else
        Message.Result = AllowedHit(Message.Result);
    if (IsSizingHit(Message.Result)) FSizing = true;
}

void TCustomDragPanel::WMGetMinMaxInfo(TMessage& Message)
{
    inherited::Dispatch(Message);
    auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
    info->ptMinTrackSize = POINT{FSizeMinWidth, FSizeMinHeight};
    if (FSizeMaxWidth != 0) info->ptMaxTrackSize.x = FSizeMaxWidth;
    if (FSizeMaxHeight != 0) info->ptMaxTrackSize.y = FSizeMaxHeight;
}

void TCustomDragPanel::ClampToParent(WINDOWPOS& Pos, int Width, int Height) const
{
    TWinControl* parent = GetParent();
    if (!parent) return;
    const int clientWidth = parent->GetClientWidth(), clientHeight = parent->GetClientHeight();
    Pos.x = std::max(Pos.x, 0);
    Pos.y = std::max(Pos.y, 0);
    if (Pos.x + Width > clientWidth) Pos.x = Width < clientWidth ? clientWidth - Width : 0;
    if (Pos.y + Height > clientHeight) Pos.y = Height < clientHeight ? clientHeight - Height : 0;
}

void TCustomDragPanel::WMWindowPosChanging(TMessage& Message)
{
    inherited::Dispatch(Message);
    auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
    if (!FMoving || (pos->flags & SWP_NOMOVE)) return;
    pos->x = std::max(pos->x, FMoveMinLeft);
    pos->y = std::max(pos->y, FMoveMinTop);
    if (FMoveMaxLeft != 0) pos->x = std::min(pos->x, FMoveMaxLeft);
    if (FMoveMaxTop != 0) pos->y = std::min(pos->y, FMoveMaxTop);
    const bool keepsSize = pos->flags & SWP_NOSIZE;
    if (FOptions.Contains(smMoveInParent))
        ClampToParent(*pos, keepsSize ? GetWidth() : pos->cx, keepsSize ? GetHeight() : pos->cy);
}

// A live drag moves the window at every mouse step, so the flags last until
// the move or size loop ends, not just until the first step.
void TCustomDragPanel::WMMove(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (!FMoving) return;
    if (!FInSizeMove) FMoving = false;
    if (GetParent()) GetParent()->Realign();
    if (OnMove) OnMove(this);
}

void TCustomDragPanel::WMSize(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (!FSizing) return;
    if (!FInSizeMove) FSizing = false;
    if (GetParent()) GetParent()->Realign();
    if (OnSize) OnSize(this);
}

void TCustomDragPanel::WMEnterSizeMove(TMessage& Message)
{
    inherited::Dispatch(Message);
    FInSizeMove = true;
}

void TCustomDragPanel::WMExitSizeMove(TMessage& Message)
{
    inherited::Dispatch(Message);
    FInSizeMove = false;
    FMoving = false;
    FSizing = false;
}

void TCustomDragPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!LimitsFollowBounds()) return;
    auto widenMax = [](int& Max, int Value) {
        if (Max != 0 && Max < Value) Max = Value;
    };
    auto widenMin = [](int& Min, int Value) {
        if (Min > Value) Min = Value;
    };
    widenMax(FMoveMaxLeft, GetLeft());
    widenMin(FMoveMinLeft, GetLeft());
    widenMax(FMoveMaxTop, GetTop());
    widenMin(FMoveMinTop, GetTop());
    widenMax(FSizeMaxWidth, GetWidth());
    widenMin(FSizeMinWidth, GetWidth());
    widenMax(FSizeMaxHeight, GetHeight());
    widenMin(FSizeMinHeight, GetHeight());
}

namespace {

// A lower limit never lies above the current value; an upper limit (0 for
// none) never below it.
int LowerLimit(int Value, int Current) { return std::min(Value, Current); }
int UpperLimit(int Value, int Current) { return Value != 0 && Value < Current ? Current : Value; }

} // namespace

void TCustomDragPanel::SetMoveMinLeft(int Value)
{
    if (FMoveMinLeft == Value) return;
    FMoveMinLeft = Loading() ? Value : LowerLimit(Value, GetLeft());
}

void TCustomDragPanel::SetMoveMaxLeft(int Value)
{
    if (FMoveMaxLeft == Value) return;
    FMoveMaxLeft = Loading() ? Value : UpperLimit(Value, GetLeft());
}

void TCustomDragPanel::SetMoveMinTop(int Value)
{
    if (FMoveMinTop == Value) return;
    FMoveMinTop = Loading() ? Value : LowerLimit(Value, GetTop());
}

void TCustomDragPanel::SetMoveMaxTop(int Value)
{
    if (FMoveMaxTop == Value) return;
    FMoveMaxTop = Loading() ? Value : UpperLimit(Value, GetTop());
}

void TCustomDragPanel::SetSizeMinWidth(int Value)
{
    if (FSizeMinWidth == Value) return;
    FSizeMinWidth = Loading() ? Value : LowerLimit(Value, GetWidth());
}

void TCustomDragPanel::SetSizeMaxWidth(int Value)
{
    if (FSizeMaxWidth == Value) return;
    FSizeMaxWidth = Loading() ? Value : UpperLimit(Value, GetWidth());
}

void TCustomDragPanel::SetSizeMinHeight(int Value)
{
    if (FSizeMinHeight == Value) return;
    FSizeMinHeight = Loading() ? Value : LowerLimit(Value, GetHeight());
}

void TCustomDragPanel::SetSizeMaxHeight(int Value)
{
    if (FSizeMaxHeight == Value) return;
    FSizeMaxHeight = Loading() ? Value : UpperLimit(Value, GetHeight());
}

void TCustomDragPanel::SetOptions(TSizeMoveOptions Value)
{
    if (Value.Contains(smMoveInParent)) Value += smMove;
    FOptions = Value;
}

// ---- TCustomSpeedPanel ------------------------------------------------------------------------

int FitGrid(int N, int& X, bool Grow)
{
    if (N <= 0) {
        X = 0;
        return 0;
    }
    if (X >= N) {
        X = N;
        return 1;
    }
    if (X <= 0) X = 1;
    int r = (N + X - 1) / X;
    const int d = (N + r - 1) / r;
    if (d == X) return r;
    if (Grow) {
        --r; // r >= 2 here: one row would have meant X >= N
        X = N / r;
    } else {
        X = d;
    }
    return r;
}

TCustomSpeedPanel::TCustomSpeedPanel(TComponent* AOwner) : TCustomEdgePanel(AOwner) {}

bool TCustomSpeedPanel::Loading() const { return GetComponentState().Contains(csLoading); }

void TCustomSpeedPanel::Loaded()
{
    inherited::Loaded();
    AlignControlRows();
}

void TCustomSpeedPanel::SetGridValue(int& Field, int Value)
{
    if (Field == Value) return;
    Field = Value;
    AlignControlRows();
}

void TCustomSpeedPanel::SetGridFlag(bool& Field, bool Value)
{
    if (Field == Value) return;
    Field = Value;
    AlignControlRows();
}

void TCustomSpeedPanel::SetAutoSize(bool Value) { SetGridFlag(FAutoSize, Value); }
void TCustomSpeedPanel::SetCtrlHeight(TPosInt Value) { SetGridValue(FCtrlHeight, std::max(Value, 0)); }
void TCustomSpeedPanel::SetCtrlWidth(TPosInt Value) { SetGridValue(FCtrlWidth, std::max(Value, 0)); }
void TCustomSpeedPanel::SetMarginCol(int Value) { SetGridValue(FMarginCol, Value); }
void TCustomSpeedPanel::SetMarginH(int Value) { SetGridValue(FMarginH, Value); }
void TCustomSpeedPanel::SetMarginRow(int Value) { SetGridValue(FMarginRow, Value); }
void TCustomSpeedPanel::SetMarginV(int Value) { SetGridValue(FMarginV, Value); }
void TCustomSpeedPanel::SetSizeVisibleOnly(bool Value) { SetGridFlag(FSizeVisibleOnly, Value); }
void TCustomSpeedPanel::SetSorted(bool Value) { SetGridFlag(FSorted, Value); }

// An empty panel keeps the requested count: fitting it to no children would
// turn it into 0 and lose it before the first child arrives.
void TCustomSpeedPanel::SetCtrlCols(TPosInt Value)
{
    Value = std::max(Value, 0);
    if (FCtrlCols == Value) return;
    if (Loading() || GetControlCount() == 0) {
        FCtrlCols = Value;
        return;
    }
    FCtrlRows = FitGrid(GetControlCount(), Value, Value > FCtrlCols);
    FCtrlCols = Value;
    AlignControlRows();
}

void TCustomSpeedPanel::SetCtrlRows(TPosInt Value)
{
    Value = std::max(Value, 0);
    if (FCtrlRows == Value) return;
    if (Loading() || GetControlCount() == 0) {
        FCtrlRows = Value;
        return;
    }
    FCtrlCols = FitGrid(GetControlCount(), Value, Value > FCtrlRows);
    FCtrlRows = Value;
    AlignControlRows();
}

void TCustomSpeedPanel::SetAlign(TAlign Value)
{
    TControl::SetAlign(Value);
    AlignControlRows();
}

void TCustomSpeedPanel::AlignControls(TControl* AControl, host::TRect& Rect)
{
    inherited::AlignControls(AControl, Rect);
    if (!FArranging && !FReordering) AlignControlRows();
}

int TCustomSpeedPanel::CountedChildren() const
{
    if (!FSizeVisibleOnly) return GetControlCount();
    int n = 0;
    for (int i = 0; i < GetControlCount(); ++i)
        if (GetControls(i)->GetVisible()) ++n;
    return n;
}

int TCustomSpeedPanel::FrameWidth() const
{
    int b = GetBorderWidth();
    if (GetBevelInner() != bvNone) b += GetBevelWidth();
    if (GetBevelOuter() != bvNone) b += GetBevelWidth();
    return b;
}

// A hidden child (with SizeVisibleOnly) takes the place of the next visible one.
void TCustomSpeedPanel::PlaceChildren(int B)
{
    int x = FMarginH + B, y = FMarginV + B, column = 1;
    for (int i = 0; i < GetControlCount(); ++i) {
        TControl* child = GetControls(i);
        child->SetBounds(x, y, FCtrlWidth, FCtrlHeight);
        if (!child->GetVisible() && FSizeVisibleOnly) continue;
        if (column >= FCtrlCols) {
            column = 1;
            x = B + FMarginH;
            y += FCtrlHeight + FMarginRow;
        } else {
            ++column;
            x += FCtrlWidth + FMarginCol;
        }
    }
}

void TCustomSpeedPanel::FitPanel(int B)
{
    int height = (FCtrlHeight + FMarginRow) * FCtrlRows + 2 * (B + FMarginV) - FMarginRow;
    int width = (FCtrlWidth + FMarginCol) * FCtrlCols + 2 * (B + FMarginH) - FMarginCol;
    const TAlign align = GetAlign();
    if (align == alTop || align == alBottom || align == alClient) width = GetWidth();
    if (align == alLeft || align == alRight || align == alClient) height = GetHeight();
    SetBounds(GetLeft(), GetTop(), width, height);
}

void TCustomSpeedPanel::AlignControlRows()
{
    if (Loading() || !FAutoSize || GetControlCount() == 0 || FArranging) return;
    FArranging = true;
    try {
        if (FSorted) SortControls();
        FCtrlRows = FitGrid(CountedChildren(), FCtrlCols, FInsertCols);
        const int b = FrameWidth();
        PlaceChildren(b);
        FitPanel(b);
    } catch (...) {
        FArranging = false;
        throw;
    }
    FArranging = false;
}

void TCustomSpeedPanel::SortControls()
{
    const int count = GetControlCount();
    if (count == 0) return;
    std::vector<TControl*> list;
    for (int i = 0; i < count; ++i) {
        TControl* child = GetControls(i);
        // Stable: a later child goes after earlier ones at the same place.
        auto at = list.end();
        while (at != list.begin()) {
            TControl* prev = *(at - 1);
            if (prev->GetTop() < child->GetTop() ||
                (prev->GetTop() == child->GetTop() && prev->GetLeft() <= child->GetLeft()))
                break;
            --at;
        }
        list.insert(at, child);
    }
    if (int(list.size()) != GetControlCount()) throw Exception("List Invalid");
    bool inOrder = true;
    for (int i = 0; i < count && inOrder; ++i) inOrder = GetControls(i) == list[size_t(i)];
    if (inOrder) return;
    // Bringing each child to the front in turn leaves them in list order and
    // keeps the windows (and the focus) of windowed children.
    FReordering = true;
    try {
        for (TControl* child : list) child->BringToFront();
    } catch (...) {
        FReordering = false;
        throw;
    }
    FReordering = false;
}

// ---- Published properties -----------------------------------------------------------------------

#define KEL_PUBLISH_EDGE_PANEL(C)                                                                   \
    P.Property("Align", &C::GetAlign, &C::SetAlign).Default(alNone);                               \
    P.Property("Alignment", &C::GetAlignment, &C::SetAlignment).Default(taCenter);                 \
    P.Property("BevelEdges", &C::GetBevelEdges, &C::SetBevelEdges).Default(AllBevelEdges);         \
    P.Property("BevelInner", &C::GetBevelInner, &C::SetBevelInner).Default(bvNone);                \
    P.Property("BevelOuter", &C::GetBevelOuter, &C::SetBevelOuter).Default(bvRaised);              \
    P.Property("BevelWidth", &C::GetBevelWidth, &C::SetBevelWidth).Default(1);                     \
    P.Property("BorderWidth", &C::GetBorderWidth, &C::SetBorderWidth).Default(0);                  \
    P.Property("BorderStyle", &C::GetBorderStyle, &C::SetBorderStyle).Default(bsNone);             \
    P.Property("Caption", &C::GetCaption, &C::SetCaption);                                         \
    P.Property("Color", &C::GetColor, &C::SetColor)                                                \
        .Type(ColorTypeInfo())                                                                      \
        .Stored(&C::IsColorStored)                                                                  \
        .Default(clBtnFace);                                                                        \
    P.Property("DragCursor", &C::GetDragCursor, &C::SetDragCursor)                                 \
        .Type(CursorTypeInfo())                                                                     \
        .Default(crDrag);                                                                           \
    P.Property("DragMode", &C::GetDragMode, &C::SetDragMode).Default(dmManual);                    \
    P.Property("Enabled", &C::GetEnabled, &C::SetEnabled).Default(true);                           \
    P.Property("Font", &C::GetFont, &C::SetFont).Stored(&C::IsFontStored);                         \
    P.Property("Locked", &C::GetLocked, &C::SetLocked).Default(false);                             \
    P.Property("ParentColor", &C::GetParentColor, &C::SetParentColor).Default(false);              \
    P.Property("ParentFont", &C::GetParentFont, &C::SetParentFont).Default(true);                  \
    P.Property("ParentShowHint", &C::GetParentShowHint, &C::SetParentShowHint).Default(true);      \
    P.Property("PopupMenu", &C::GetPopupMenu, &C::SetPopupMenu);                                   \
    P.Property("ShowHint", &C::GetShowHint, &C::SetShowHint).Stored(&C::IsShowHintStored);         \
    P.Property("Visible", &C::GetVisible, &C::SetVisible).Default(true);                           \
    HOST_PUBLISH_FOCUS(C);                                                                          \
    HOST_PUBLISH_MOUSE_EVENTS(C);                                                                   \
    P.Property("OnResize", &C::OnResize)

HOST_PUBLISHED(TEdgePanel)
{
    KEL_PUBLISH_EDGE_PANEL(TEdgePanel);
}

HOST_PUBLISHED(THintBar)
{
    P.Property("HintPrefix", &THintBar::GetHintPrefix, &THintBar::SetHintPrefix);
    P.Property("HintSuffix", &THintBar::GetHintSuffix, &THintBar::SetHintSuffix);
    P.Property("ShowActiveControl", &THintBar::GetShowActiveControl, &THintBar::SetShowActiveControl).Default(false);
    P.Property("ShowEmpty", &THintBar::GetShowEmpty, &THintBar::SetShowEmpty).Default(false);
    P.Property("SimplePanel", &THintBar::GetSimplePanel, &THintBar::SetSimplePanel).Default(true);
    // What the bar shows follows the hints; it is not stored.
    P.Property("SimpleText", &THintBar::GetSimpleText);
    P.Property("OnActiveControlChange", &THintBar::OnActiveControlChange);
    P.Property("OnHint", &THintBar::OnHint);
}

HOST_PUBLISHED(TDragPanel)
{
    P.Property("BevelInner", &TDragPanel::GetBevelInner, &TDragPanel::SetBevelInner).Default(bvNone);
    P.Property("BevelOuter", &TDragPanel::GetBevelOuter, &TDragPanel::SetBevelOuter).Default(bvNone);
    P.Property("MSLocked", &TDragPanel::GetMSLocked, &TDragPanel::SetMSLocked).Default(false);
    P.Property("MoveMaxLeft", &TDragPanel::GetMoveMaxLeft, &TDragPanel::SetMoveMaxLeft).Default(0);
    P.Property("MoveMaxTop", &TDragPanel::GetMoveMaxTop, &TDragPanel::SetMoveMaxTop).Default(0);
    P.Property("MoveMinLeft", &TDragPanel::GetMoveMinLeft, &TDragPanel::SetMoveMinLeft).Default(0);
    P.Property("MoveMinTop", &TDragPanel::GetMoveMinTop, &TDragPanel::SetMoveMinTop).Default(0);
    P.Property("Options", &TDragPanel::GetOptions, &TDragPanel::SetOptions).Default(AllSizeMoveOptions);
    P.Property("SizeMaxHeight", &TDragPanel::GetSizeMaxHeight, &TDragPanel::SetSizeMaxHeight).Default(0);
    P.Property("SizeMaxWidth", &TDragPanel::GetSizeMaxWidth, &TDragPanel::SetSizeMaxWidth).Default(0);
    P.Property("SizeMinHeight", &TDragPanel::GetSizeMinHeight, &TDragPanel::SetSizeMinHeight).Default(30);
    P.Property("SizeMinWidth", &TDragPanel::GetSizeMinWidth, &TDragPanel::SetSizeMinWidth).Default(30);
    P.Property("OnMove", &TDragPanel::OnMove);
    P.Property("OnSize", &TDragPanel::OnSize);
}

HOST_PUBLISHED(TSpeedPanel)
{
    KEL_PUBLISH_EDGE_PANEL(TSpeedPanel);
    P.Property("AutoSize", &TSpeedPanel::GetAutoSize, &TSpeedPanel::SetAutoSize).Default(false);
    P.Property("CtrlCols", &TSpeedPanel::GetCtrlCols, &TSpeedPanel::SetCtrlCols).Default(0);
    P.Property("CtrlHeight", &TSpeedPanel::GetCtrlHeight, &TSpeedPanel::SetCtrlHeight).Default(24);
    P.Property("CtrlRows", &TSpeedPanel::GetCtrlRows, &TSpeedPanel::SetCtrlRows).Default(1);
    P.Property("CtrlWidth", &TSpeedPanel::GetCtrlWidth, &TSpeedPanel::SetCtrlWidth).Default(24);
    P.Property("InsertCols", &TSpeedPanel::GetInsertCols, &TSpeedPanel::SetInsertCols).Default(false);
    P.Property("MarginCol", &TSpeedPanel::GetMarginCol, &TSpeedPanel::SetMarginCol).Default(0);
    P.Property("MarginH", &TSpeedPanel::GetMarginH, &TSpeedPanel::SetMarginH).Default(5);
    P.Property("MarginRow", &TSpeedPanel::GetMarginRow, &TSpeedPanel::SetMarginRow).Default(0);
    P.Property("MarginV", &TSpeedPanel::GetMarginV, &TSpeedPanel::SetMarginV).Default(5);
    P.Property("SizeVisibleOnly", &TSpeedPanel::GetSizeVisibleOnly, &TSpeedPanel::SetSizeVisibleOnly).Default(false);
    P.Property("Sorted", &TSpeedPanel::GetSorted, &TSpeedPanel::SetSorted).Default(true);
}

HOST_REGISTER_CLASSES(TEdgePanel, THintBar, TDragPanel, TSpeedPanel);

HOST_MESSAGE_MAP(THintBar)
{
    M(CM_ENABLEDCHANGED, &THintBar::CMEnabledChanged);
}

HOST_MESSAGE_MAP(TCustomDragPanel)
{
    M(WM_NCHITTEST, &TCustomDragPanel::WMNCHitTest);
    M(WM_GETMINMAXINFO, &TCustomDragPanel::WMGetMinMaxInfo);
    M(WM_WINDOWPOSCHANGING, &TCustomDragPanel::WMWindowPosChanging);
    M(WM_MOVE, &TCustomDragPanel::WMMove);
    M(WM_SIZE, &TCustomDragPanel::WMSize);
    M(WM_ENTERSIZEMOVE, &TCustomDragPanel::WMEnterSizeMove);
    M(WM_EXITSIZEMOVE, &TCustomDragPanel::WMExitSizeMove);
}

} // namespace kel
