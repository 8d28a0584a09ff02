// The grid's keyboard and mouse: navigation, range selection, sizing and
// moving rows and columns, scrolling while the mouse is dragged outside.
#include "host/vcl/Grids.h"

#include <algorithm>
#include <cstdlib>

namespace host {

namespace {

constexpr UINT_PTR kScrollTimer = 1;
constexpr UINT kScrollRate = 60;
// How far from a grid line the mouse may be to size the cell before it.
constexpr int kSizingZone = 3;
constexpr int kMinCellSize = 0;

} // namespace

void TCustomGrid::WMGetDlgCode(TMessage& Message)
{
    Message.Result = DLGC_WANTARROWS;
    if (FOptions.Contains(goRowSelect)) return;
    if (FOptions.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
    if (FOptions.Contains(goEditing)) Message.Result |= DLGC_WANTCHARS;
}

bool TCustomGrid::CanGridAcceptKey(WORD, TShiftState) { return true; }

void TCustomGrid::KeyDown(WORD& Key, TShiftState Shift)
{
    inherited::KeyDown(Key, Shift);
    if (Key == 0 || !CanGridAcceptKey(Key, Shift)) return;
    bool ctrl = Shift.Contains(ssCtrl);
    bool moveAnchor = !(Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect));
    bool rowSelect = FOptions.Contains(goRowSelect);
    int page = std::max(1, GetVisibleRowCount());
    TGridCoord cur = FCurrent;
    TGridCoord tl = FTopLeft;
    int lastCol = GetColCount() - 1, lastRow = GetRowCount() - 1;
    switch (Key) {
    case VK_UP: cur.Y -= 1; break;
    case VK_DOWN: cur.Y += 1; break;
    case VK_LEFT:
        if (rowSelect) {
            tl.X -= 1;
            MoveTopLeft(tl.X, tl.Y);
            Key = 0;
            return;
        }
        cur.X = ctrl ? FTopLeft.X : cur.X - 1;
        break;
    case VK_RIGHT:
        if (rowSelect) {
            MoveTopLeft(tl.X + 1, tl.Y);
            Key = 0;
            return;
        }
        cur.X += 1;
        break;
    case VK_PRIOR:
        cur.Y -= page;
        MoveTopLeft(tl.X, tl.Y - page);
        break;
    case VK_NEXT:
        cur.Y += page;
        MoveTopLeft(tl.X, tl.Y + page);
        break;
    case VK_HOME:
        if (ctrl) cur.Y = FFixedRows;
        cur.X = FFixedCols;
        break;
    case VK_END:
        if (ctrl) cur.Y = lastRow;
        cur.X = lastCol;
        break;
    case VK_TAB: {
        if (!FOptions.Contains(goTabs) || Shift.Contains(ssAlt)) return;
        bool back = Shift.Contains(ssShift);
        // The next column with a tab stop, wrapping to the next row.
        TGridCoord next = cur;
        for (int tries = 0; tries < GetColCount(); ++tries) {
            next.X += back ? -1 : 1;
            if (next.X > lastCol) {
                if (next.Y >= lastRow) break;
                next.X = FFixedCols;
                next.Y += 1;
            } else if (next.X < FFixedCols) {
                if (next.Y <= FFixedRows) break;
                next.X = lastCol;
                next.Y -= 1;
            }
            if (GetTabStops(next.X)) {
                cur = next;
                break;
            }
        }
        moveAnchor = true;
        break;
    }
    case VK_F2:
        if (FOptions.Contains(goEditing)) SetEditorMode(true);
        Key = 0;
        return;
    case VK_ESCAPE:
        if (FInplaceEdit && FInplaceEdit->IsVisible()) {
            FInplaceEdit->FUpdating = true;
            FInplaceEdit->SetText(FInplaceEdit->GetOriginalText());
            FInplaceEdit->FUpdating = false;
            SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->GetOriginalText());
            if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
            Key = 0;
        }
        return;
    default: return;
    }
    Key = 0;
    cur.X = std::clamp(cur.X, FFixedCols, lastCol);
    cur.Y = std::clamp(cur.Y, FFixedRows, lastRow);
    MoveColRow(cur.X, cur.Y, moveAnchor, true);
}

void TCustomGrid::KeyPress(char& Key)
{
    inherited::KeyPress(Key);
    if (Key == 0 || !FOptions.Contains(goEditing) || FOptions.Contains(goRowSelect)) return;
    if (Key == '\r') {
        if (!FOptions.Contains(goAlwaysShowEditor)) {
            if (FInplaceEdit && FInplaceEdit->IsVisible())
                HideEditor();
            else
                ShowEditor();
        }
        Key = 0;
        return;
    }
    // With the editor open the character is the editor's.
    if (FInplaceEdit && FInplaceEdit->IsVisible()) return;
    if (static_cast<unsigned char>(Key) < 32 || !CanEditAcceptKey(Key)) return;
    ShowEditorChar(Key);
    Key = 0;
}

void TCustomGrid::WMMouseWheel(TMessage& Message)
{
    int delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    int steps = delta / WHEEL_DELTA * int(lines);
    if (steps != 0) MoveTopLeft(FTopLeft.X, FTopLeft.Y - steps);
    Message.Result = 1;
}

// ---- Mouse --------------------------------------------------------------------------------------

bool TCustomGrid::SizingZoneAt(int X, int Y, TGridState& State, int& Index, int& SizingPos)
{
    TGridDrawInfo di;
    CalcDrawInfo(di);
    auto lineNear = [](const TGridAxisDrawInfo& A, int Pos, int& Index, int& LinePos) {
        int start = 0;
        auto check = [&](int i) {
            int end = start + A.Extent(i);
            bool near = std::abs(Pos - (end + A.EffectiveLineWidth / 2)) <= kSizingZone;
            start = end + A.EffectiveLineWidth;
            if (near) {
                Index = i;
                LinePos = end;
            }
            return near;
        };
        for (int i = 0; i < A.FixedCellCount; ++i)
            if (check(i)) return true;
        start = A.FixedBoundary;
        for (int i = A.FirstGridCell; i < A.Axis->GetCount() && start < A.GridExtent; ++i)
            if (check(i)) return true;
        return false;
    };
    if (FOptions.Contains(goColSizing) && Y < di.Vert.FixedBoundary && X < di.Horz.GridBoundary + kSizingZone &&
        lineNear(di.Horz, X, Index, SizingPos)) {
        State = gsColSizing;
        return true;
    }
    if (FOptions.Contains(goRowSizing) && X < di.Horz.FixedBoundary && Y < di.Vert.GridBoundary + kSizingZone &&
        lineNear(di.Vert, Y, Index, SizingPos)) {
        State = gsRowSizing;
        return true;
    }
    return false;
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!GetComponentState().Contains(csDesigning) && CanFocus() && !IsActiveControl()) {
        SetFocus();
        if (!IsActiveControl()) {
            inherited::MouseDown(Button, Shift, X, Y);
            return;
        }
    }
    if (Button != mbLeft) {
        inherited::MouseDown(Button, Shift, X, Y);
        return;
    }
    TGridState sizing = gsNormal;
    int index = 0, pos = 0;
    if (SizingZoneAt(X, Y, sizing, index, pos)) {
        FGridState = sizing;
        FSizingIndex = index;
        FSizingPos = pos;
        FSizingOfs = (sizing == gsColSizing ? X : Y) - pos;
    } else {
        TGridCoord cell = MouseCoord(X, Y);
        if (cell.X < 0 || cell.Y < 0) {
            inherited::MouseDown(Button, Shift, X, Y);
            return;
        }
        if (cell.Y < FFixedRows && cell.X >= FFixedCols && FOptions.Contains(goColMoving)) {
            FGridState = gsColMoving;
            FMoveIndex = FMovePos = cell.X;
            SetTimer(FHandle, kScrollTimer, kScrollRate, nullptr);
            FTimerActive = true;
        } else if (cell.X < FFixedCols && cell.Y >= FFixedRows && FOptions.Contains(goRowMoving)) {
            FGridState = gsRowMoving;
            FMoveIndex = FMovePos = cell.Y;
            SetTimer(FHandle, kScrollTimer, kScrollRate, nullptr);
            FTimerActive = true;
        } else if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
            bool onCurrent = cell == FCurrent;
            if (onCurrent && FOptions.Contains(goEditing) && !Shift.Contains(ssDouble) && FAnchor == FCurrent) {
                ShowEditor();
            } else {
                FGridState = gsSelecting;
                SetTimer(FHandle, kScrollTimer, kScrollRate, nullptr);
                FTimerActive = true;
                bool extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
                MoveColRow(cell.X, cell.Y, !extend, true);
            }
        }
    }
    inherited::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    switch (FGridState) {
    case gsSelecting: {
        TGridCoord cell = MouseCoord(X, Y);
        if (cell.X >= FFixedCols && cell.Y >= FFixedRows && !(cell == FCurrent))
            MoveColRow(cell.X, cell.Y, !FOptions.Contains(goRangeSelect), true);
        break;
    }
    case gsColSizing:
    case gsRowSizing: {
        bool cols = FGridState == gsColSizing;
        TGridDrawInfo di;
        CalcDrawInfo(di);
        const TGridAxisDrawInfo& a = cols ? di.Horz : di.Vert;
        int start = a.CellStart(FSizingIndex);
        if (start < 0) break;
        int size = std::max(kMinCellSize, (cols ? X : Y) - FSizingOfs - start);
        if (cols) {
            if (size != FCols.Size(FSizingIndex)) {
                FCols.SetSize(FSizingIndex, size);
                Invalidate();
            }
        } else if (size != FRows.Size(FSizingIndex)) {
            FRows.SetSize(FSizingIndex, size);
            Invalidate();
        }
        break;
    }
    case gsColMoving:
    case gsRowMoving: {
        TGridCoord cell = MouseCoord(X, Y);
        int target = FGridState == gsColMoving ? cell.X : cell.Y;
        int fixed = FGridState == gsColMoving ? FFixedCols : FFixedRows;
        if (target >= fixed && target != FMovePos) {
            FMovePos = target;
            Invalidate();
        }
        break;
    }
    default: break;
    }
    inherited::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGridState state = FGridState;
    FGridState = gsNormal;
    if (FTimerActive) {
        KillTimer(FHandle, kScrollTimer);
        FTimerActive = false;
    }
    switch (state) {
    case gsColSizing: ColWidthsChanged(); break;
    case gsRowSizing: RowHeightsChanged(); break;
    case gsColMoving:
        Invalidate();
        if (FMovePos != FMoveIndex) MoveColumn(FMoveIndex, FMovePos);
        break;
    case gsRowMoving:
        Invalidate();
        if (FMovePos != FMoveIndex) MoveRow(FMoveIndex, FMovePos);
        break;
    default: break;
    }
    inherited::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::WMCancelMode(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (FTimerActive && HandleAllocated()) KillTimer(FHandle, kScrollTimer);
    FTimerActive = false;
    if (FGridState == gsColSizing) ColWidthsChanged();
    if (FGridState == gsRowSizing) RowHeightsChanged();
    FGridState = gsNormal;
}

void TCustomGrid::WMSetCursor(TMessage& Message)
{
    if (HWND(Message.WParam) == FHandle && LOWORD(uintptr_t(Message.LParam)) == HTCLIENT) {
        TGridState state = FGridState;
        if (state != gsColSizing && state != gsRowSizing) {
            POINT p;
            GetCursorPos(&p);
            TPoint client = ScreenToClient(p);
            int index = 0, pos = 0;
            if (!SizingZoneAt(client.x, client.y, state, index, pos)) state = gsNormal;
        }
        if (state == gsColSizing || state == gsRowSizing) {
            ::host::SetCursor(CursorHandle(state == gsColSizing ? crHSplit : crVSplit));
            Message.Result = 1;
            return;
        }
    }
    inherited::Dispatch(Message);
}

// While the mouse selects outside the scrolling cells, the grid scrolls
// towards it one cell per tick.
void TCustomGrid::WMTimer(TMessage& Message)
{
    if (Message.WParam != kScrollTimer) return;
    if (FGridState != gsSelecting && FGridState != gsRowMoving && FGridState != gsColMoving) return;
    POINT p;
    GetCursorPos(&p);
    TPoint pt = ScreenToClient(p);
    TGridDrawInfo di;
    CalcDrawInfo(di);
    TGridScrollDirection dir;
    if (pt.x < di.Horz.FixedBoundary) dir += sdLeft;
    if (pt.x > std::min(di.Horz.FullVisBoundary, di.Horz.GridExtent)) dir += sdRight;
    if (pt.y < di.Vert.FixedBoundary) dir += sdUp;
    if (pt.y > std::min(di.Vert.FullVisBoundary, di.Vert.GridExtent)) dir += sdDown;
    // A moving row only scrolls up and down, a moving column sideways.
    if (FGridState == gsRowMoving) dir = dir - sdLeft - sdRight;
    if (FGridState == gsColMoving) dir = dir - sdUp - sdDown;
    if (!dir.Empty()) TimedScroll(dir);
}

void TCustomGrid::TimedScroll(TGridScrollDirection Direction)
{
    if (FGridState == gsRowMoving || FGridState == gsColMoving) {
        // The drop target follows the edge that scrolls into view.
        bool rows = FGridState == gsRowMoving;
        bool back = Direction.Contains(rows ? sdUp : sdLeft);
        if (rows)
            MoveTopLeft(FTopLeft.X, FTopLeft.Y + (back ? -1 : 1));
        else
            MoveTopLeft(FTopLeft.X + (back ? -1 : 1), FTopLeft.Y);
        int first = rows ? FTopLeft.Y : FTopLeft.X;
        int visible = rows ? GetVisibleRowCount() : GetVisibleColCount();
        FMovePos = back ? first : std::min(first + visible - 1, (rows ? GetRowCount() : GetColCount()) - 1);
        Invalidate();
        return;
    }
    TGridCoord cell = FCurrent;
    if (Direction.Contains(sdLeft)) cell.X = std::max(FFixedCols, FTopLeft.X - 1);
    if (Direction.Contains(sdRight)) cell.X = std::min(GetColCount() - 1, GetVisibleColCount() + FTopLeft.X);
    if (Direction.Contains(sdUp)) cell.Y = std::max(FFixedRows, FTopLeft.Y - 1);
    if (Direction.Contains(sdDown)) cell.Y = std::min(GetRowCount() - 1, GetVisibleRowCount() + FTopLeft.Y);
    if (cell == FCurrent) return;
    MoveColRow(cell.X, cell.Y, !FOptions.Contains(goRangeSelect), true);
}

// ---- Focus --------------------------------------------------------------------------------------

void TCustomGrid::WMSetFocus(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (FEditorMode && FOptions.Contains(goAlwaysShowEditor)) ShowEditor();
    InvalidateCell(FCurrent.X, FCurrent.Y);
    if (FOptions.Contains(goRowSelect)) InvalidateRow(FCurrent.Y);
}

void TCustomGrid::WMKillFocus(TMessage& Message)
{
    inherited::Dispatch(Message);
    InvalidateCell(FCurrent.X, FCurrent.Y);
    if (FOptions.Contains(goRowSelect)) InvalidateRow(FCurrent.Y);
}

} // namespace host
