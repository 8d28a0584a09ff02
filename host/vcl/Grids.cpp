#include "host/vcl/Grids.h"

#include <algorithm>

namespace host {

namespace {

const char* const kFixedColTooBig = "Fixed column count must be less than column count";
const char* const kFixedRowTooBig = "Fixed row count must be less than row count";
const char* const kIndexOutOfRange = "Grid index out of range";

void CalcAxis(TGridAxisDrawInfo& A, const TGridAxis& Axis, int FixedCount, int First, int Extent, int LineWidth)
{
    A.Axis = &Axis;
    A.EffectiveLineWidth = LineWidth;
    A.GridExtent = Extent;
    A.FixedCellCount = FixedCount;
    A.FirstGridCell = First;
    A.GridCellCount = Axis.GetCount();
    int pos = 0;
    for (int i = 0; i < FixedCount; ++i) pos += Axis.Size(i) + LineWidth;
    A.FixedBoundary = pos;
    A.FullVisBoundary = pos;
    A.LastFullVisibleCell = First - 1;
    int i = First;
    for (; i < Axis.GetCount() && pos < Extent; ++i) {
        int end = pos + Axis.Size(i);
        pos = end + LineWidth;
        if (end <= Extent) {
            A.LastFullVisibleCell = i;
            A.FullVisBoundary = pos;
        }
    }
    A.GridBoundary = pos;
    // A cell too big for the screen still counts as the one shown.
    if (A.LastFullVisibleCell < First && First < Axis.GetCount()) A.LastFullVisibleCell = First;
}

// The first cell to show so that Last ends within the scrolling area.
int FirstShowing(const TGridAxisDrawInfo& A, int Last)
{
    int available = A.GridExtent - A.FixedBoundary;
    int first = Last;
    int used = A.Extent(Last);
    while (first > A.FixedCellCount && used + A.EffectiveLineWidth + A.Extent(first - 1) <= available) {
        --first;
        used += A.EffectiveLineWidth + A.Extent(first);
    }
    return std::max(first, A.FixedCellCount);
}

} // namespace

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
    FCols.SetCount(5);
    FCols.SetDefault(64);
    FRows.SetCount(5);
    FRows.SetDefault(24);
    FOptions = TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    FTabStop = true;
    FColor = clWindow;
    FParentColor = false;
    SetBounds(0, 0, 320, 120);
}

void TCustomGrid::Destroy()
{
    if (FTimerActive && HandleAllocated()) KillTimer(FHandle, 1);
    FTimerActive = false;
    inherited::Destroy();
}

void TCustomGrid::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.Style |= WS_TABSTOP;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
    if (FBorderStyle == bsSingle) {
        if (FCtl3D)
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
}

void TCustomGrid::CreateWnd()
{
    inherited::CreateWnd();
    UpdateScrollRange();
}

void TCustomGrid::Loaded()
{
    inherited::Loaded();
    FCurrent = FAnchor = FTopLeft = TGridCoord{FFixedCols, FFixedRows};
    UpdateScrollRange();
}

void TCustomGrid::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineProperty("ColWidths", TReaderProc(this, &TCustomGrid::ReadColWidths),
                          TWriterProc(this, &TCustomGrid::WriteColWidths), FCols.HasCustomSizes());
    Filer->DefineProperty("RowHeights", TReaderProc(this, &TCustomGrid::ReadRowHeights),
                          TWriterProc(this, &TCustomGrid::WriteRowHeights), FRows.HasCustomSizes());
}

namespace {

void ReadSizes(TReader* Reader, TGridAxis& Axis)
{
    Reader->ReadListBegin();
    for (int i = 0; !Reader->EndOfList(); ++i) {
        int size = Reader->ReadInteger();
        // A list longer than the grid (a damaged form) is read and dropped.
        if (i < Axis.GetCount()) Axis.SetSize(i, size);
    }
    Reader->ReadListEnd();
}

void WriteSizes(TWriter* Writer, const TGridAxis& Axis)
{
    Writer->WriteListBegin();
    for (int i = 0; i < Axis.GetCount(); ++i) Writer->WriteInteger(Axis.Size(i));
    Writer->WriteListEnd();
}

} // namespace

void TCustomGrid::ReadColWidths(TReader* Reader) { ReadSizes(Reader, FCols); }
void TCustomGrid::WriteColWidths(TWriter* Writer) { WriteSizes(Writer, FCols); }
void TCustomGrid::ReadRowHeights(TReader* Reader) { ReadSizes(Reader, FRows); }
void TCustomGrid::WriteRowHeights(TWriter* Writer) { WriteSizes(Writer, FRows); }

// ---- Geometry -------------------------------------------------------------------------------

void TCustomGrid::CalcDrawInfo(TGridDrawInfo& DrawInfo)
{
    TRect client = GetClientRect();
    int horzLine = (FOptions.Contains(goVertLine) || FOptions.Contains(goFixedVertLine)) ? FGridLineWidth : 0;
    int vertLine = (FOptions.Contains(goHorzLine) || FOptions.Contains(goFixedHorzLine)) ? FGridLineWidth : 0;
    CalcAxis(DrawInfo.Horz, FCols, FFixedCols, FTopLeft.X, client.right, horzLine);
    CalcAxis(DrawInfo.Vert, FRows, FFixedRows, FTopLeft.Y, client.bottom, vertLine);
}

TGridCoord TCustomGrid::CalcCoordFromPoint(int X, int Y, const TGridDrawInfo& DrawInfo)
{
    return TGridCoord{DrawInfo.Horz.CellAt(X), DrawInfo.Vert.CellAt(Y)};
}

TGridCoord TCustomGrid::CalcMaxTopLeft(const TGridCoord& Coord, const TGridDrawInfo& DrawInfo)
{
    TGridCoord r;
    r.X = Coord.X < FFixedCols ? FFixedCols : FirstShowing(DrawInfo.Horz, Coord.X);
    r.Y = Coord.Y < FFixedRows ? FFixedRows : FirstShowing(DrawInfo.Vert, Coord.Y);
    return r;
}

TRect TCustomGrid::CellRect(int ACol, int ARow)
{
    TGridDrawInfo di;
    CalcDrawInfo(di);
    int x = di.Horz.CellStart(ACol), y = di.Vert.CellStart(ARow);
    if (x < 0 || y < 0) return TRect{0, 0, 0, 0};
    return TRect{x, y, x + di.Horz.Extent(ACol), y + di.Vert.Extent(ARow)};
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow)
{
    TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y)
{
    TGridDrawInfo di;
    CalcDrawInfo(di);
    TGridCoord c = CalcCoordFromPoint(X, Y, di);
    if (c.X < 0) c.Y = -1;
    if (c.Y < 0) c.X = -1;
    return c;
}

int TCustomGrid::GetVisibleColCount()
{
    TGridDrawInfo di;
    CalcDrawInfo(di);
    return std::max(0, di.Horz.LastFullVisibleCell - FTopLeft.X + 1);
}

int TCustomGrid::GetVisibleRowCount()
{
    TGridDrawInfo di;
    CalcDrawInfo(di);
    return std::max(0, di.Vert.LastFullVisibleCell - FTopLeft.Y + 1);
}

// ---- Properties -------------------------------------------------------------------------------

void TCustomGrid::SetColCount(int Value)
{
    Value = std::max(1, Value);
    if (Value == GetColCount()) return;
    int oldCols = GetColCount(), oldRows = GetRowCount();
    if (FFixedCols >= Value) FFixedCols = Value - 1;
    FCols.SetCount(Value);
    FTabStops.erase(FTabStops.lower_bound(Value), FTabStops.end());
    SizeChanged(oldCols, oldRows);
}

void TCustomGrid::SetRowCount(int Value)
{
    Value = std::max(1, Value);
    if (Value == GetRowCount()) return;
    int oldCols = GetColCount(), oldRows = GetRowCount();
    if (FFixedRows >= Value) FFixedRows = Value - 1;
    FRows.SetCount(Value);
    SizeChanged(oldCols, oldRows);
}

void TCustomGrid::SizeChanged(int, int)
{
    auto clampCoord = [this](TGridCoord& c) {
        c.X = std::clamp(c.X, FFixedCols, std::max(FFixedCols, GetColCount() - 1));
        c.Y = std::clamp(c.Y, FFixedRows, std::max(FFixedRows, GetRowCount() - 1));
    };
    if (FEditorMode && FInplaceEdit) HideEditor();
    clampCoord(FCurrent);
    clampCoord(FAnchor);
    clampCoord(FTopLeft);
    if (HandleAllocated()) {
        TGridDrawInfo di;
        CalcDrawInfo(di);
        TGridCoord maxTL = CalcMaxTopLeft(TGridCoord{GetColCount() - 1, GetRowCount() - 1}, di);
        FTopLeft.X = std::min(FTopLeft.X, maxTL.X);
        FTopLeft.Y = std::min(FTopLeft.Y, maxTL.Y);
    }
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetFixedCols(int Value)
{
    if (Value == FFixedCols) return;
    if (Value < 0) throw EInvalidGridOperation(kIndexOutOfRange);
    if (Value >= GetColCount()) throw EInvalidGridOperation(kFixedColTooBig);
    FFixedCols = Value;
    if (GetComponentState().Contains(csLoading)) return;
    HideEditor();
    FCurrent.X = FAnchor.X = FTopLeft.X = Value;
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int Value)
{
    if (Value == FFixedRows) return;
    if (Value < 0) throw EInvalidGridOperation(kIndexOutOfRange);
    if (Value >= GetRowCount()) throw EInvalidGridOperation(kFixedRowTooBig);
    FFixedRows = Value;
    if (GetComponentState().Contains(csLoading)) return;
    HideEditor();
    FCurrent.Y = FAnchor.Y = FTopLeft.Y = Value;
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int Value)
{
    if (Value == FCols.GetDefault() && !FCols.HasCustomSizes()) return;
    FCols.SetDefault(Value);
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int Value)
{
    if (Value == FRows.GetDefault() && !FRows.HasCustomSizes()) return;
    FRows.SetDefault(Value);
    RowHeightsChanged();
}

void TCustomGrid::SetColWidths(int Index, int Value)
{
    if (Index < 0 || Index >= GetColCount()) throw EInvalidGridOperation(kIndexOutOfRange);
    if (FCols.Size(Index) == std::max(0, Value)) return;
    FCols.SetSize(Index, Value);
    ColWidthsChanged();
}

void TCustomGrid::SetRowHeights(int Index, int Value)
{
    if (Index < 0 || Index >= GetRowCount()) throw EInvalidGridOperation(kIndexOutOfRange);
    if (FRows.Size(Index) == std::max(0, Value)) return;
    FRows.SetSize(Index, Value);
    RowHeightsChanged();
}

void TCustomGrid::ColWidthsChanged()
{
    UpdateScrollRange();
    InvalidateEditor();
    Invalidate();
}

void TCustomGrid::RowHeightsChanged()
{
    UpdateScrollRange();
    InvalidateEditor();
    Invalidate();
}

bool TCustomGrid::GetTabStops(int Index) const
{
    auto it = FTabStops.find(Index);
    return it == FTabStops.end() || it->second;
}

void TCustomGrid::SetTabStops(int Index, bool Value)
{
    if (Index < 0 || Index >= GetColCount()) throw EInvalidGridOperation(kIndexOutOfRange);
    if (Value)
        FTabStops.erase(Index);
    else
        FTabStops[Index] = false;
}

void TCustomGrid::SetGridLineWidth(int Value)
{
    Value = std::max(0, Value);
    if (Value == FGridLineWidth) return;
    FGridLineWidth = Value;
    UpdateScrollRange();
    InvalidateEditor();
    Invalidate();
}

void TCustomGrid::SetFixedColor(TColor Value)
{
    if (Value == FFixedColor) return;
    FFixedColor = Value;
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions Value)
{
    if (Value == FOptions) return;
    if (Value.Contains(goRowSelect)) Value -= goAlwaysShowEditor;
    FOptions = Value;
    if (!FOptions.Contains(goEditing)) HideEditor();
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FCurrent.X;
    if (FOptions.Contains(goAlwaysShowEditor) && FOptions.Contains(goEditing)) {
        FEditorMode = true;
        if (IsActiveControl()) ShowEditor();
    }
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value)
{
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    RecreateWnd();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value)
{
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TCustomGrid::SetCol(int Value)
{
    if (Value == FCurrent.X) return;
    FocusCell(Value, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int Value)
{
    if (Value == FCurrent.Y) return;
    FocusCell(FCurrent.X, Value, true);
}

TGridRect TCustomGrid::GetSelection() const
{
    TGridRect r{std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y), std::max(FAnchor.X, FCurrent.X),
                std::max(FAnchor.Y, FCurrent.Y)};
    if (FOptions.Contains(goRowSelect)) {
        r.Left = FFixedCols;
        r.Right = GetColCount() - 1;
    }
    return r;
}

void TCustomGrid::SetSelection(const TGridRect& Value)
{
    TGridCoord anchor{Value.Left, Value.Top};
    MoveColRow(Value.Right, Value.Bottom, true, true);
    if (!FOptions.Contains(goRangeSelect)) return;
    anchor.X = std::clamp(anchor.X, FFixedCols, GetColCount() - 1);
    anchor.Y = std::clamp(anchor.Y, FFixedRows, GetRowCount() - 1);
    FAnchor = anchor;
    Invalidate();
}

void TCustomGrid::SetLeftCol(int Value)
{
    if (Value == FTopLeft.X) return;
    MoveTopLeft(Value, FTopLeft.Y);
}

void TCustomGrid::SetTopRow(int Value)
{
    if (Value == FTopLeft.Y) return;
    MoveTopLeft(FTopLeft.X, Value);
}

// ---- Moving around -----------------------------------------------------------------------------

bool TCustomGrid::SelectCell(int, int) { return true; }
void TCustomGrid::TopLeftChanged() {}
void TCustomGrid::ColumnMoved(int, int) {}
void TCustomGrid::RowMoved(int, int) {}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor) { MoveColRow(ACol, ARow, MoveAnchor, true); }

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    ACol = std::clamp(ACol, FFixedCols, std::max(FFixedCols, GetColCount() - 1));
    ARow = std::clamp(ARow, FFixedRows, std::max(FFixedRows, GetRowCount() - 1));
    TGridCoord target{ACol, ARow};
    bool moving = !(target == FCurrent);
    if (moving && !SelectCell(ACol, ARow)) return;
    bool anchorMoves = MoveAnchor || !FOptions.Contains(goRangeSelect);
    if (!moving && (!anchorMoves || FAnchor == FCurrent)) {
        if (Show) ClampInView(FCurrent);
        return;
    }
    if (moving) {
        if (!FOptions.Contains(goAlwaysShowEditor))
            HideEditor();
        else if (FInplaceEdit && FInplaceEdit->IsVisible())
            UpdateText();
    }
    TGridRect oldSel = GetSelection();
    bool wasRange = !(oldSel == TGridRect{FCurrent.X, FCurrent.Y, FCurrent.X, FCurrent.Y});
    TGridCoord old = FCurrent;
    FCurrent = target;
    if (anchorMoves) FAnchor = target;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FCurrent.X;
    if (Show) ClampInView(FCurrent);
    if (wasRange || !(GetSelection() == TGridRect{ACol, ARow, ACol, ARow})) {
        Invalidate();
    } else if (FOptions.Contains(goRowSelect)) {
        InvalidateRow(old.Y);
        InvalidateRow(ARow);
    } else {
        InvalidateCell(old.X, old.Y);
        InvalidateCell(ACol, ARow);
    }
    if (FOptions.Contains(goAlwaysShowEditor) && FEditorMode) ShowEditor();
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop)
{
    TGridDrawInfo di;
    CalcDrawInfo(di);
    TGridCoord maxTL = CalcMaxTopLeft(TGridCoord{GetColCount() - 1, GetRowCount() - 1}, di);
    ALeft = std::clamp(ALeft, FFixedCols, std::max(FFixedCols, maxTL.X));
    ATop = std::clamp(ATop, FFixedRows, std::max(FFixedRows, maxTL.Y));
    if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
    FTopLeft = TGridCoord{ALeft, ATop};
    Invalidate();
    UpdateScrollPos();
    InvalidateEditor();
    TopLeftChanged();
}

void TCustomGrid::ClampInView(const TGridCoord& Coord)
{
    if (!HandleAllocated()) return;
    TGridDrawInfo di;
    CalcDrawInfo(di);
    TGridCoord tl = FTopLeft;
    if (!FOptions.Contains(goRowSelect) && Coord.X >= FFixedCols) {
        if (Coord.X < tl.X)
            tl.X = Coord.X;
        else if (Coord.X > di.Horz.LastFullVisibleCell)
            tl.X = FirstShowing(di.Horz, Coord.X);
    }
    if (Coord.Y >= FFixedRows) {
        if (Coord.Y < tl.Y)
            tl.Y = Coord.Y;
        else if (Coord.Y > di.Vert.LastFullVisibleCell)
            tl.Y = FirstShowing(di.Vert, Coord.Y);
    }
    MoveTopLeft(tl.X, tl.Y);
}

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex == ToIndex) return;
    int count = GetColCount();
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= count || ToIndex >= count)
        throw EInvalidGridOperation(kIndexOutOfRange);
    HideEditor();
    FCols.Move(FromIndex, ToIndex);
    ColumnMoved(FromIndex, ToIndex);
    ColWidthsChanged();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex)
{
    if (FromIndex == ToIndex) return;
    int count = GetRowCount();
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= count || ToIndex >= count)
        throw EInvalidGridOperation(kIndexOutOfRange);
    HideEditor();
    FRows.Move(FromIndex, ToIndex);
    RowMoved(FromIndex, ToIndex);
    RowHeightsChanged();
}

// ---- Scroll bars --------------------------------------------------------------------------------

void TCustomGrid::UpdateScrollRange()
{
    if (!HandleAllocated() || GetComponentState().Contains(csLoading)) return;
    // Showing one bar narrows the client area, which may call for the other.
    for (int pass = 0; pass < 2; ++pass) {
        TGridDrawInfo di;
        CalcDrawInfo(di);
        TGridCoord maxTL = CalcMaxTopLeft(TGridCoord{GetColCount() - 1, GetRowCount() - 1}, di);
        bool wantV = (FScrollBars == ssVertical || FScrollBars == ssBoth) && maxTL.Y > FFixedRows;
        bool wantH = (FScrollBars == ssHorizontal || FScrollBars == ssBoth) && maxTL.X > FFixedCols;
        if (FScrollBars == ssVertical || FScrollBars == ssBoth) ShowScrollBar(FHandle, SB_VERT, wantV);
        if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) ShowScrollBar(FHandle, SB_HORZ, wantH);
        FTopLeft.X = std::min(FTopLeft.X, std::max(FFixedCols, maxTL.X));
        FTopLeft.Y = std::min(FTopLeft.Y, std::max(FFixedRows, maxTL.Y));
        if (wantV) {
            SCROLLINFO si;
            si.fMask = SIF_ALL;
            si.nMin = 0;
            si.nPage = UINT(std::max(1, di.Vert.LastFullVisibleCell - FTopLeft.Y + 1));
            si.nMax = maxTL.Y - FFixedRows + int(si.nPage) - 1;
            si.nPos = FTopLeft.Y - FFixedRows;
            SetScrollInfo(FHandle, SB_VERT, &si, TRUE);
        }
        if (wantH) {
            SCROLLINFO si;
            si.fMask = SIF_ALL;
            si.nMin = 0;
            si.nPage = UINT(std::max(1, di.Horz.LastFullVisibleCell - FTopLeft.X + 1));
            si.nMax = maxTL.X - FFixedCols + int(si.nPage) - 1;
            si.nPos = FTopLeft.X - FFixedCols;
            SetScrollInfo(FHandle, SB_HORZ, &si, TRUE);
        }
    }
}

void TCustomGrid::UpdateScrollPos()
{
    if (!HandleAllocated()) return;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) SetScrollPos(FHandle, SB_VERT, FTopLeft.Y - FFixedRows, TRUE);
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        SetScrollPos(FHandle, SB_HORZ, FTopLeft.X - FFixedCols, TRUE);
}

void TCustomGrid::ModifyScrollBar(int ScrollBar, int ScrollCode, int Pos)
{
    bool vert = ScrollBar == SB_VERT;
    int page = std::max(1, vert ? GetVisibleRowCount() : GetVisibleColCount());
    int cur = vert ? FTopLeft.Y : FTopLeft.X;
    int fixed = vert ? FFixedRows : FFixedCols;
    int target = cur;
    switch (ScrollCode) {
    case SB_LINEUP: target = cur - 1; break;
    case SB_LINEDOWN: target = cur + 1; break;
    case SB_PAGEUP: target = cur - page; break;
    case SB_PAGEDOWN: target = cur + page; break;
    case SB_THUMBTRACK:
        if (!FOptions.Contains(goThumbTracking)) return;
        target = fixed + Pos;
        break;
    case SB_THUMBPOSITION: target = fixed + Pos; break;
    case SB_TOP: target = fixed; break;
    case SB_BOTTOM: target = vert ? GetRowCount() - 1 : GetColCount() - 1; break;
    default: return;
    }
    if (vert)
        MoveTopLeft(FTopLeft.X, target);
    else
        MoveTopLeft(target, FTopLeft.Y);
}

namespace {

// The thumb position of a scroll message: the window system's tracking
// position while dragging (it is not cut to 16 bits), the last one of those
// when the drag ends.
int ThumbPos(HWND Wnd, int Bar, const TMessage& Message, int& Last)
{
    WORD code = LOWORD(Message.WParam);
    if (code == SB_THUMBTRACK) {
        SCROLLINFO si;
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(Wnd, Bar, &si);
        Last = si.nTrackPos;
        return Last;
    }
    if (code == SB_THUMBPOSITION) return Last >= 0 ? Last : HIWORD(Message.WParam);
    Last = -1;
    return 0;
}

} // namespace

void TCustomGrid::WMHScroll(TMessage& Message)
{
    int pos = ThumbPos(FHandle, SB_HORZ, Message, FThumbPos);
    ModifyScrollBar(SB_HORZ, LOWORD(Message.WParam), pos);
    if (LOWORD(Message.WParam) == SB_THUMBPOSITION) FThumbPos = -1;
}

void TCustomGrid::WMVScroll(TMessage& Message)
{
    int pos = ThumbPos(FHandle, SB_VERT, Message, FThumbPos);
    ModifyScrollBar(SB_VERT, LOWORD(Message.WParam), pos);
    if (LOWORD(Message.WParam) == SB_THUMBPOSITION) FThumbPos = -1;
}

void TCustomGrid::WMSize(TMessage& Message)
{
    inherited::Dispatch(Message);
    UpdateScrollRange();
    InvalidateEditor();
}

// ---- Painting -----------------------------------------------------------------------------------

void TCustomGrid::InvalidateCell(int ACol, int ARow)
{
    if (!HandleAllocated()) return;
    TRect r = CellRect(ACol, ARow);
    if (r.right <= r.left) return;
    InflateRect(&r, FGridLineWidth + 1, FGridLineWidth + 1);
    InvalidateRect(FHandle, &r, FALSE);
}

void TCustomGrid::InvalidateCol(int ACol)
{
    if (!HandleAllocated()) return;
    TGridDrawInfo di;
    CalcDrawInfo(di);
    int x = di.Horz.CellStart(ACol);
    if (x < 0) return;
    TRect r{x - 1, 0, x + di.Horz.Extent(ACol) + FGridLineWidth + 1, di.Vert.GridExtent};
    InvalidateRect(FHandle, &r, FALSE);
}

void TCustomGrid::InvalidateRow(int ARow)
{
    if (!HandleAllocated()) return;
    TGridDrawInfo di;
    CalcDrawInfo(di);
    int y = di.Vert.CellStart(ARow);
    if (y < 0) return;
    TRect r{0, y - 1, di.Horz.GridExtent, y + di.Vert.Extent(ARow) + FGridLineWidth + 1};
    InvalidateRect(FHandle, &r, FALSE);
}

bool TCustomGrid::IsActiveControl()
{
    if (!HandleAllocated()) return false;
    HWND focus = GetFocus();
    return focus == FHandle || (FInplaceEdit && FInplaceEdit->HandleAllocated() && focus == FInplaceEdit->GetHandle());
}

void TCustomGrid::Paint()
{
    TGridDrawInfo di;
    CalcDrawInfo(di);
    TCanvas* c = GetCanvas();
    c->SetFont(GetFont());
    TGridRect sel = GetSelection();
    bool focused = IsActiveControl();
    bool highlightFocus = FOptions.Contains(goDrawFocusSelected) || FOptions.Contains(goRowSelect);
    bool edges = FCtl3D && FOptions.Contains(goFixedVertLine) && FOptions.Contains(goFixedHorzLine);
    TColor fontColor = GetFont()->GetColor();
    TRect clip = c->GetClipRect();
    int hl = di.Horz.EffectiveLineWidth, vl = di.Vert.EffectiveLineWidth;

    auto paintRows = [&](int rowFrom, int rowTo, int y0, int colFrom, int colTo, int x0) {
        int y = y0;
        for (int r = rowFrom; r < rowTo && y < di.Vert.GridExtent; ++r) {
            int h = FRows.Size(r);
            if (y + h + vl <= clip.top || y >= clip.bottom) {
                y += h + vl;
                continue;
            }
            int x = x0;
            for (int col = colFrom; col < colTo && x < di.Horz.GridExtent; ++col) {
                int w = FCols.Size(col);
                if (x + w + hl <= clip.left || x >= clip.right) {
                    x += w + hl;
                    continue;
                }
                TRect where{x, y, x + w, y + h};
                bool fixed = col < FFixedCols || r < FFixedRows;
                TGridDrawState state;
                if (fixed) {
                    state += gdFixed;
                    c->GetBrush()->SetColor(FFixedColor);
                    c->GetFont()->SetColor(fontColor);
                } else {
                    if (focused && r == FCurrent.Y && col == FCurrent.X) state += gdFocused;
                    if (sel.Contains(col, r)) state += gdSelected;
                    bool highlight = state.Contains(gdSelected) && (!state.Contains(gdFocused) || highlightFocus);
                    c->GetBrush()->SetColor(highlight ? clHighlight : FColor);
                    c->GetFont()->SetColor(highlight ? clHighlightText : fontColor);
                }
                if (FDefaultDrawing) c->FillRect(where);
                DrawCell(col, r, where, state);
                if (FDefaultDrawing && fixed && edges) {
                    TRect e = where;
                    DrawEdge(c->GetHandle(), &e, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
                    e = where;
                    DrawEdge(c->GetHandle(), &e, BDR_RAISEDINNER, BF_TOPLEFT);
                }
                // The grid lines after the cell, or its own colour where lines are off.
                bool vLine = FOptions.Contains(fixed ? goFixedVertLine : goVertLine);
                bool hLine = FOptions.Contains(fixed ? goFixedHorzLine : goHorzLine);
                TColor lineColor = fixed ? clWindowText : clBtnFace;
                TColor cellColor = fixed ? FFixedColor : FColor;
                if (hl > 0) {
                    c->GetBrush()->SetColor(vLine ? lineColor : cellColor);
                    c->FillRect(TRect{x + w, y, x + w + hl, y + h + vl});
                }
                if (vl > 0) {
                    c->GetBrush()->SetColor(hLine ? lineColor : cellColor);
                    c->FillRect(TRect{x, y + h, x + w + hl, y + h + vl});
                }
                x += w + hl;
            }
            y += h + vl;
        }
    };
    int cols = GetColCount(), rows = GetRowCount();
    paintRows(0, FFixedRows, 0, 0, FFixedCols, 0);
    paintRows(0, FFixedRows, 0, FTopLeft.X, cols, di.Horz.FixedBoundary);
    paintRows(FTopLeft.Y, rows, di.Vert.FixedBoundary, 0, FFixedCols, 0);
    paintRows(FTopLeft.Y, rows, di.Vert.FixedBoundary, FTopLeft.X, cols, di.Horz.FixedBoundary);

    // What lies beyond the last cells.
    c->GetBrush()->SetColor(FColor);
    if (di.Horz.GridBoundary < di.Horz.GridExtent)
        c->FillRect(TRect{di.Horz.GridBoundary, 0, di.Horz.GridExtent, di.Vert.GridExtent});
    if (di.Vert.GridBoundary < di.Vert.GridExtent)
        c->FillRect(TRect{0, di.Vert.GridBoundary, std::min(di.Horz.GridBoundary, di.Horz.GridExtent), di.Vert.GridExtent});

    if (FGridState == gsRowMoving || FGridState == gsColMoving) PaintMoveMark(di);

    bool editorShown = FInplaceEdit && FInplaceEdit->IsVisible();
    if (focused && !editorShown && !GetComponentState().Contains(csDesigning)) {
        TRect focus = CellRect(FCurrent.X, FCurrent.Y);
        if (FOptions.Contains(goRowSelect) && focus.right > focus.left) {
            focus.left = di.Horz.FixedBoundary;
            focus.right = std::min(di.Horz.GridBoundary, di.Horz.GridExtent);
        }
        if (focus.right > focus.left) {
            c->GetBrush()->SetColor(FColor);
            c->GetFont()->SetColor(fontColor);
            c->DrawFocusRect(focus);
        }
    }
}

// Where a row or column being dragged will go: a bar on the side of the
// target cell it will take, before it when moving back, after it otherwise.
void TCustomGrid::PaintMoveMark(const TGridDrawInfo& DrawInfo)
{
    bool rows = FGridState == gsRowMoving;
    const TGridAxisDrawInfo& a = rows ? DrawInfo.Vert : DrawInfo.Horz;
    const TGridAxisDrawInfo& across = rows ? DrawInfo.Horz : DrawInfo.Vert;
    int start = a.CellStart(FMovePos);
    if (start < 0 || FMovePos == FMoveIndex) return;
    int at = FMovePos < FMoveIndex ? start : start + a.Extent(FMovePos) + a.EffectiveLineWidth;
    int end = std::min(across.GridBoundary, across.GridExtent);
    TRect mark = rows ? TRect{0, at - 1, end, at + 1} : TRect{at - 1, 0, at + 1, end};
    GetCanvas()->GetBrush()->SetColor(clHighlight);
    GetCanvas()->FillRect(mark);
}

void TCustomGrid::CMFontChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (FInplaceEdit) FInplaceEdit->SetFont(GetFont());
    Invalidate();
}

void TCustomGrid::CMCtl3DChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    RecreateWnd();
}

HOST_MESSAGE_MAP(TCustomGrid)
{
    M(WM_GETDLGCODE, &TCustomGrid::WMGetDlgCode);
    M(WM_HSCROLL, &TCustomGrid::WMHScroll);
    M(WM_VSCROLL, &TCustomGrid::WMVScroll);
    M(WM_SETCURSOR, &TCustomGrid::WMSetCursor);
    M(WM_SETFOCUS, &TCustomGrid::WMSetFocus);
    M(WM_KILLFOCUS, &TCustomGrid::WMKillFocus);
    M(WM_TIMER, &TCustomGrid::WMTimer);
    M(WM_CANCELMODE, &TCustomGrid::WMCancelMode);
    M(WM_MOUSEWHEEL, &TCustomGrid::WMMouseWheel);
    M(WM_SIZE, &TCustomGrid::WMSize);
    M(CM_FONTCHANGED, &TCustomGrid::CMFontChanged);
    M(CM_CTL3DCHANGED, &TCustomGrid::CMCtl3DChanged);
}

} // namespace host
