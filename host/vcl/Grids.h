#pragma once
// Grids: TCustomGrid (cells in rows and columns, fixed rows and columns at the
// top and left that do not scroll, keyboard and mouse navigation, sizing and
// moving rows and columns with the mouse, an in-place editor), TDrawGrid
// (owner-drawn cells) and TStringGrid (cells holding strings and objects).
//
// Geometry is computed, not stored per cell: an axis keeps its default size
// and only the sizes that differ from it, so painting, hit testing and
// scrolling cost depends on the cells on the screen, never on the row count.
// Each cell is followed by its grid line (GridLineWidth pixels) when lines of
// that direction are on.
#include <map>
#include <memory>
#include <string>

#include "host/rtl/Strings.h"
#include "host/vcl/Filer.h"
#include "host/vcl/Mask.h"

namespace host {

HOST_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);

HOST_ENUM(TGridOption, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
          goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs,
          goRowSelect, goAlwaysShowEditor, goThumbTracking)
using TGridOptions = TSet<TGridOption>;
HOST_ENUM(TGridDrawStateItem, gdSelected, gdFocused, gdFixed)
using TGridDrawState = TSet<TGridDrawStateItem>;
HOST_ENUM(TGridScrollDirectionItem, sdLeft, sdRight, sdUp, sdDown)
using TGridScrollDirection = TSet<TGridScrollDirectionItem>;
enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

struct TGridCoord {
    int X = 0;
    int Y = 0;
    bool operator==(const TGridCoord&) const = default;
};

struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TGridRect&) const = default;
    bool Contains(int ACol, int ARow) const { return ACol >= Left && ACol <= Right && ARow >= Top && ARow <= Bottom; }
};

using TSelectCellEvent = TEvent<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TDrawCellEvent = TEvent<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
using TGetEditEvent = TEvent<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TSetEditEvent = TEvent<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;
using TMovedEvent = TEvent<void(TObject* Sender, int FromIndex, int ToIndex)>;

// The sizes of the cells along one direction: a default and the exceptions.
class TGridAxis {
public:
    int GetCount() const { return FCount; }
    // Sizes of cells beyond the new count are forgotten.
    void SetCount(int Value);
    int GetDefault() const { return FDefault; }
    // Every cell takes the new default: set sizes are forgotten.
    void SetDefault(int Value);
    int Size(int Index) const;
    void SetSize(int Index, int Value);
    // The size entry travels with the cell moved from From to To.
    void Move(int From, int To);
    bool HasCustomSizes() const { return !FSizes.empty(); }

private:
    int FCount = 0;
    int FDefault = 0;
    std::map<int, int> FSizes;
};

// Where the cells along one direction lie on the screen right now.
struct TGridAxisDrawInfo {
    const TGridAxis* Axis = nullptr;
    int EffectiveLineWidth = 0;
    int FixedBoundary = 0;     // where the fixed cells (with their lines) end
    int GridBoundary = 0;      // where the last cell shown (with its line) ends
    int GridExtent = 0;        // the client size along this direction
    int LastFullVisibleCell = 0;
    int FullVisBoundary = 0;   // where the last fully visible cell ends
    int FixedCellCount = 0;
    int FirstGridCell = 0;     // the first scrolling cell shown
    int GridCellCount = 0;
    int Extent(int Index) const { return Axis->Size(Index); }
    // The cell at pixel Pos, or -1 beyond the last cell shown.
    int CellAt(int Pos) const;
    // The start of a cell shown, or -1 when it is scrolled out of view.
    int CellStart(int Index) const;
};

struct TGridDrawInfo {
    TGridAxisDrawInfo Horz;
    TGridAxisDrawInfo Vert;
};

class TCustomGrid;

// The editor a grid shows over its current cell.
class TInplaceEdit : public TCustomMaskEdit {
    HOST_CLASS(TInplaceEdit, TCustomMaskEdit)
    HOST_MESSAGES(TInplaceEdit)
public:
    explicit TInplaceEdit(TComponent* AOwner);
    TCustomGrid* GetGrid() const { return FGrid; }
    // Takes text, mask and limit for the grid's current cell.
    void UpdateContents();
    void Move(const TRect& Loc);
    void Hide();
    bool IsVisible() const { return FVisibleShown; }
    // The text the cell had when the editor took it, for Escape.
    const std::string& GetOriginalText() const { return FOriginalText; }

protected:
    friend class TCustomGrid;
    friend class TStringGrid;
    void CreateParams(TCreateParams& Params) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void Change() override;
    bool EditCanModify() override;
    void WMGetDlgCode(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMMouseWheel(TMessage& Message);
    // Whether the key leaves the editor for the grid (arrows at the ends of
    // the text, page keys, Tab).
    bool ForGrid(WORD Key, TShiftState Shift);

    TCustomGrid* FGrid = nullptr;
    std::string FOriginalText;
    bool FVisibleShown = false;
    bool FUpdating = false;
};

class TCustomGrid : public TCustomControl {
    HOST_CLASS(TCustomGrid, TCustomControl)
    HOST_MESSAGES(TCustomGrid)
public:
    explicit TCustomGrid(TComponent* AOwner);

    // Geometry.
    TRect CellRect(int ACol, int ARow);
    void MouseToCell(int X, int Y, int& ACol, int& ARow);
    TGridCoord MouseCoord(int X, int Y);
    void CalcDrawInfo(TGridDrawInfo& DrawInfo);
    int GetVisibleColCount();
    int GetVisibleRowCount();

    int GetColCount() const { return FCols.GetCount(); }
    void SetColCount(int Value);
    int GetRowCount() const { return FRows.GetCount(); }
    void SetRowCount(int Value);
    int GetFixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    int GetFixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);
    int GetDefaultColWidth() const { return FCols.GetDefault(); }
    void SetDefaultColWidth(int Value);
    int GetDefaultRowHeight() const { return FRows.GetDefault(); }
    void SetDefaultRowHeight(int Value);
    int GetColWidths(int Index) const { return FCols.Size(Index); }
    void SetColWidths(int Index, int Value);
    int GetRowHeights(int Index) const { return FRows.Size(Index); }
    void SetRowHeights(int Index, int Value);
    bool GetTabStops(int Index) const;
    void SetTabStops(int Index, bool Value);
    int GetGridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    TColor GetFixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);
    bool GetDefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value) { FDefaultDrawing = Value; }
    TGridOptions GetOptions() const { return FOptions; }
    void SetOptions(TGridOptions Value);
    TScrollStyle GetScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);

    // The current cell, the selection and the scroll position.
    int GetCol() const { return FCurrent.X; }
    void SetCol(int Value);
    int GetRow() const { return FCurrent.Y; }
    void SetRow(int Value);
    TGridRect GetSelection() const;
    void SetSelection(const TGridRect& Value);
    int GetLeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int Value);
    int GetTopRow() const { return FTopLeft.Y; }
    void SetTopRow(int Value);
    TGridState GetGridState() const { return FGridState; }

    bool GetEditorMode() const { return FEditorMode; }
    void SetEditorMode(bool Value);
    TInplaceEdit* GetInplaceEditor() const { return FInplaceEdit; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    friend class TInplaceEdit;
    void Destroy() override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Loaded() override;
    // Sizes that differ from the defaults stream as lists, one entry a cell.
    void DefineProperties(TFiler* Filer) override;
    void ReadColWidths(TReader* Reader);
    void WriteColWidths(TWriter* Writer);
    void ReadRowHeights(TReader* Reader);
    void WriteRowHeights(TWriter* Writer);
    void Paint() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    // What descendants fill in.
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;
    virtual bool SelectCell(int ACol, int ARow);
    virtual void TopLeftChanged();
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    virtual std::string GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const std::string& Value);
    virtual std::string GetEditMask(int ACol, int ARow);
    virtual int GetEditLimit();
    virtual bool CanEditModify();
    virtual bool CanEditShow();
    virtual bool CanEditAcceptKey(char Key);
    virtual bool CanGridAcceptKey(WORD Key, TShiftState Shift);
    virtual TInplaceEdit* CreateEditor();
    // Scrolls one cell towards Direction while the mouse is dragged outside.
    virtual void TimedScroll(TGridScrollDirection Direction);
    virtual void InvalidateEditor();

    // Moves a column or row (with its size) and tells ColumnMoved/RowMoved.
    void MoveColumn(int FromIndex, int ToIndex);
    void MoveRow(int FromIndex, int ToIndex);
    void FocusCell(int ACol, int ARow, bool MoveAnchor);
    void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
    void ShowEditor();
    void HideEditor();
    void ShowEditorChar(char Ch);
    void UpdateText();
    void InvalidateCell(int ACol, int ARow);
    void InvalidateCol(int ACol);
    void InvalidateRow(int ARow);
    void InvalidateGrid() { Invalidate(); }
    bool IsActiveControl();
    TGridCoord CalcCoordFromPoint(int X, int Y, const TGridDrawInfo& DrawInfo);
    // The top-left cell that shows the last rows and columns.
    TGridCoord CalcMaxTopLeft(const TGridCoord& Coord, const TGridDrawInfo& DrawInfo);
    void MoveTopLeft(int ALeft, int ATop);
    void ClampInView(const TGridCoord& Coord);
    void UpdateScrollRange();
    void UpdateScrollPos();
    void ModifyScrollBar(int ScrollBar, int ScrollCode, int Pos);
    // The grid line near (X, Y) that the mouse can size, in the fixed area.
    bool SizingZoneAt(int X, int Y, TGridState& State, int& Index, int& SizingPos);
    void PaintMoveMark(const TGridDrawInfo& DrawInfo);

    void WMGetDlgCode(TMessage& Message);
    void WMHScroll(TMessage& Message);
    void WMVScroll(TMessage& Message);
    void WMSetCursor(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMTimer(TMessage& Message);
    void WMCancelMode(TMessage& Message);
    void WMMouseWheel(TMessage& Message);
    void WMSize(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMCtl3DChanged(TMessage& Message);

    TGridAxis FCols;
    TGridAxis FRows;
    std::map<int, bool> FTabStops;  // only the columns without a tab stop
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FGridLineWidth = 1;
    TColor FFixedColor = clBtnFace;
    bool FDefaultDrawing = true;
    TGridOptions FOptions;
    TScrollStyle FScrollBars = ssBoth;
    TBorderStyle FBorderStyle = bsSingle;
    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1};
    TGridCoord FTopLeft{1, 1};
    TGridState FGridState = gsNormal;
    bool FEditorMode = false;
    TInplaceEdit* FInplaceEdit = nullptr;
    int FInplaceCol = -1;
    int FInplaceRow = -1;
    // Sizing and moving with the mouse.
    int FSizingIndex = 0;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = 0;
    int FMovePos = 0;
    bool FTimerActive = false;
    // Where the thumb was last dragged to, for the position that ends the drag.
    int FThumbPos = -1;
    bool FForwardingChar = false;
};

class TDrawGrid : public TCustomGrid {
    HOST_CLASS(TDrawGrid, TCustomGrid)
public:
    explicit TDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}
    using TCustomGrid::GetCanvas;

    TNotifyEvent OnTopLeftChanged;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;
    TDrawCellEvent OnDrawCell;
    TGetEditEvent OnGetEditMask;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    TSelectCellEvent OnSelectCell;

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void TopLeftChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    std::string GetEditMask(int ACol, int ARow) override;
    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;
};

class TStringGrid;

// One row or column of a string grid, seen as a string list.
class TStringGridStrings : public TStrings {
    HOST_CLASS(TStringGridStrings, TStrings)
public:
    TStringGridStrings(TStringGrid* Grid, bool IsColumn, int Index)
        : FGrid(Grid), FIsColumn(IsColumn), FIndex(Index)
    {
    }
    void Clear() override;
    int Add(const std::string& S) override;
    void Delete(int Index) override;
    void Insert(int Index, const std::string& S) override;
    int GetCount() const override;
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;

private:
    TStringGrid* FGrid;
    bool FIsColumn;
    int FIndex;
};

class TStringGrid : public TDrawGrid {
    HOST_CLASS(TStringGrid, TDrawGrid)
public:
    explicit TStringGrid(TComponent* AOwner);

    std::string GetCells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const std::string& Value);
    TObject* GetObjects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, TObject* Value);
    // A list view of one column or row; it stays valid while the grid lives.
    TStrings* GetCols(int Index);
    void SetCols(int Index, TStrings* Value) { GetCols(Index)->Assign(Value); }
    TStrings* GetRows(int Index);
    void SetRows(int Index, TStrings* Value) { GetRows(Index)->Assign(Value); }

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;

private:
    struct TCell {
        std::string Text;
        TObject* Object = nullptr;
    };
    using TRowCells = std::map<int, TCell>;
    const TCell* FindCell(int ACol, int ARow) const;
    TCell* CellFor(int ACol, int ARow);
    void DropIfEmpty(int ACol, int ARow);

    // Rows that hold something, by row; each holds its cells by column.
    std::map<int, TRowCells> FData;
    std::map<int, std::unique_ptr<TStringGridStrings>> FColsViews;
    std::map<int, std::unique_ptr<TStringGridStrings>> FRowsViews;
};

} // namespace host
