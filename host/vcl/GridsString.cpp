// The owner-drawn grid and the string grid, and what they publish.
#include "host/vcl/Grids.h"

#include "host/vcl/Menus.h"
#include "host/vcl/StdPublish.h"

namespace host {

namespace {
const char* const kInvalidStringGridOp = "Cannot insert or delete rows from grid";
}

// ---- TDrawGrid ----------------------------------------------------------------------------------

void TDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TDrawGrid::SelectCell(int ACol, int ARow)
{
    bool canSelect = true;
    OnSelectCell(this, ACol, ARow, canSelect);
    return canSelect;
}

void TDrawGrid::TopLeftChanged()
{
    inherited::TopLeftChanged();
    OnTopLeftChanged(this);
}

void TDrawGrid::ColumnMoved(int FromIndex, int ToIndex) { OnColumnMoved(this, FromIndex, ToIndex); }
void TDrawGrid::RowMoved(int FromIndex, int ToIndex) { OnRowMoved(this, FromIndex, ToIndex); }

std::string TDrawGrid::GetEditMask(int ACol, int ARow)
{
    std::string value;
    OnGetEditMask(this, ACol, ARow, value);
    return value;
}

std::string TDrawGrid::GetEditText(int ACol, int ARow)
{
    std::string value;
    OnGetEditText(this, ACol, ARow, value);
    return value;
}

void TDrawGrid::SetEditText(int ACol, int ARow, const std::string& Value) { OnSetEditText(this, ACol, ARow, Value); }

// ---- TStringGridStrings -------------------------------------------------------------------------

int TStringGridStrings::GetCount() const { return FIsColumn ? FGrid->GetRowCount() : FGrid->GetColCount(); }

std::string TStringGridStrings::Get(int Index) const
{
    return FIsColumn ? FGrid->GetCells(FIndex, Index) : FGrid->GetCells(Index, FIndex);
}

void TStringGridStrings::Put(int Index, const std::string& S)
{
    if (FIsColumn)
        FGrid->SetCells(FIndex, Index, S);
    else
        FGrid->SetCells(Index, FIndex, S);
}

TObject* TStringGridStrings::GetObject(int Index) const
{
    return FIsColumn ? FGrid->GetObjects(FIndex, Index) : FGrid->GetObjects(Index, FIndex);
}

void TStringGridStrings::PutObject(int Index, TObject* AObject)
{
    if (FIsColumn)
        FGrid->SetObjects(FIndex, Index, AObject);
    else
        FGrid->SetObjects(Index, FIndex, AObject);
}

void TStringGridStrings::Clear()
{
    for (int i = 0; i < GetCount(); ++i) {
        Put(i, "");
        PutObject(i, nullptr);
    }
}

// A row or column has as many entries as the grid has cells across it: an
// added string takes the first empty cell.
int TStringGridStrings::Add(const std::string& S)
{
    for (int i = 0; i < GetCount(); ++i) {
        if (Get(i).empty()) {
            Put(i, S);
            return i;
        }
    }
    return -1;
}

void TStringGridStrings::Delete(int) { throw EInvalidGridOperation(kInvalidStringGridOp); }
void TStringGridStrings::Insert(int, const std::string&) { throw EInvalidGridOperation(kInvalidStringGridOp); }

// ---- TStringGrid --------------------------------------------------------------------------------

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}

const TStringGrid::TCell* TStringGrid::FindCell(int ACol, int ARow) const
{
    auto row = FData.find(ARow);
    if (row == FData.end()) return nullptr;
    auto cell = row->second.find(ACol);
    return cell == row->second.end() ? nullptr : &cell->second;
}

TStringGrid::TCell* TStringGrid::CellFor(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= GetColCount() || ARow >= GetRowCount())
        throw EInvalidGridOperation("Grid index out of range");
    return &FData[ARow][ACol];
}

void TStringGrid::DropIfEmpty(int ACol, int ARow)
{
    auto row = FData.find(ARow);
    if (row == FData.end()) return;
    auto cell = row->second.find(ACol);
    if (cell != row->second.end() && cell->second.Text.empty() && !cell->second.Object) row->second.erase(cell);
    if (row->second.empty()) FData.erase(row);
}

std::string TStringGrid::GetCells(int ACol, int ARow) const
{
    const TCell* c = FindCell(ACol, ARow);
    return c ? c->Text : std::string();
}

void TStringGrid::SetCells(int ACol, int ARow, const std::string& Value)
{
    if (GetCells(ACol, ARow) == Value) return;
    CellFor(ACol, ARow)->Text = Value;
    DropIfEmpty(ACol, ARow);
    InvalidateCell(ACol, ARow);
    // A change from outside shows in an open editor on that cell.
    if (FInplaceEdit && FInplaceCol == ACol && FInplaceRow == ARow && FInplaceEdit->GetText() != Value &&
        !FInplaceEdit->FUpdating)
        FInplaceEdit->UpdateContents();
}

TObject* TStringGrid::GetObjects(int ACol, int ARow) const
{
    const TCell* c = FindCell(ACol, ARow);
    return c ? c->Object : nullptr;
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value)
{
    if (GetObjects(ACol, ARow) == Value) return;
    CellFor(ACol, ARow)->Object = Value;
    DropIfEmpty(ACol, ARow);
}

TStrings* TStringGrid::GetCols(int Index)
{
    if (Index < 0 || Index >= GetColCount()) throw EInvalidGridOperation("Grid index out of range");
    auto& view = FColsViews[Index];
    if (!view) view = std::make_unique<TStringGridStrings>(this, true, Index);
    return view.get();
}

TStrings* TStringGrid::GetRows(int Index)
{
    if (Index < 0 || Index >= GetRowCount()) throw EInvalidGridOperation("Grid index out of range");
    auto& view = FRowsViews[Index];
    if (!view) view = std::make_unique<TStringGridStrings>(this, false, Index);
    return view.get();
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    if (FDefaultDrawing) {
        if (const TCell* c = FindCell(ACol, ARow); c && !c->Text.empty())
            GetCanvas()->TextRect(ARect, ARect.left + 2, ARect.top + 2, c->Text);
    }
    inherited::DrawCell(ACol, ARow, ARect, AState);
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    for (auto& [row, cells] : FData) {
        std::map<int, TCell> moved;
        int lo = std::min(FromIndex, ToIndex), hi = std::max(FromIndex, ToIndex);
        for (auto it = cells.lower_bound(lo); it != cells.end() && it->first <= hi;) {
            int to = it->first == FromIndex ? ToIndex : (FromIndex < ToIndex ? it->first - 1 : it->first + 1);
            moved[to] = std::move(it->second);
            it = cells.erase(it);
        }
        for (auto& [col, cell] : moved) cells[col] = std::move(cell);
    }
    inherited::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    std::map<int, TRowCells> moved;
    int lo = std::min(FromIndex, ToIndex), hi = std::max(FromIndex, ToIndex);
    for (auto it = FData.lower_bound(lo); it != FData.end() && it->first <= hi;) {
        int to = it->first == FromIndex ? ToIndex : (FromIndex < ToIndex ? it->first - 1 : it->first + 1);
        moved[to] = std::move(it->second);
        it = FData.erase(it);
    }
    for (auto& [row, cells] : moved) FData[row] = std::move(cells);
    inherited::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    FData.erase(FData.lower_bound(GetRowCount()), FData.end());
    for (auto it = FData.begin(); it != FData.end();) {
        it->second.erase(it->second.lower_bound(GetColCount()), it->second.end());
        it = it->second.empty() ? FData.erase(it) : std::next(it);
    }
    // The list views stay: callers may hold them, and they read the grid's counts.
    inherited::SizeChanged(OldColCount, OldRowCount);
}

std::string TStringGrid::GetEditText(int ACol, int ARow)
{
    std::string value = GetCells(ACol, ARow);
    OnGetEditText(this, ACol, ARow, value);
    return value;
}

void TStringGrid::SetEditText(int ACol, int ARow, const std::string& Value)
{
    SetCells(ACol, ARow, Value);
    inherited::SetEditText(ACol, ARow, Value);
}

// ---- Publishing ---------------------------------------------------------------------------------

HOST_PUBLISHED(TDrawGrid)
{
    P.Property("Align", &TDrawGrid::GetAlign, &TDrawGrid::SetAlign).Default(alNone);
    P.Property("BorderStyle", &TDrawGrid::GetBorderStyle, &TDrawGrid::SetBorderStyle).Default(bsSingle);
    P.Property("Color", &TDrawGrid::GetColor, &TDrawGrid::SetColor)
        .Type(ColorTypeInfo())
        .Stored(&TDrawGrid::IsColorStored)
        .Default(clWindow);
    P.Property("ColCount", &TDrawGrid::GetColCount, &TDrawGrid::SetColCount).Default(5);
    P.Property("Ctl3D", &TDrawGrid::GetCtl3D, &TDrawGrid::SetCtl3D).Default(true);
    P.Property("DefaultColWidth", &TDrawGrid::GetDefaultColWidth, &TDrawGrid::SetDefaultColWidth).Default(64);
    P.Property("DefaultRowHeight", &TDrawGrid::GetDefaultRowHeight, &TDrawGrid::SetDefaultRowHeight).Default(24);
    P.Property("DefaultDrawing", &TDrawGrid::GetDefaultDrawing, &TDrawGrid::SetDefaultDrawing).Default(true);
    P.Property("DragCursor", &TDrawGrid::GetDragCursor, &TDrawGrid::SetDragCursor)
        .Type(CursorTypeInfo())
        .Default(crDrag);
    P.Property("DragMode", &TDrawGrid::GetDragMode, &TDrawGrid::SetDragMode).Default(dmManual);
    P.Property("Enabled", &TDrawGrid::GetEnabled, &TDrawGrid::SetEnabled).Default(true);
    P.Property("FixedColor", &TDrawGrid::GetFixedColor, &TDrawGrid::SetFixedColor)
        .Type(ColorTypeInfo())
        .Default(clBtnFace);
    P.Property("FixedCols", &TDrawGrid::GetFixedCols, &TDrawGrid::SetFixedCols).Default(1);
    P.Property("RowCount", &TDrawGrid::GetRowCount, &TDrawGrid::SetRowCount).Default(5);
    P.Property("FixedRows", &TDrawGrid::GetFixedRows, &TDrawGrid::SetFixedRows).Default(1);
    P.Property("Font", &TDrawGrid::GetFont, &TDrawGrid::SetFont).Stored(&TDrawGrid::IsFontStored);
    P.Property("GridLineWidth", &TDrawGrid::GetGridLineWidth, &TDrawGrid::SetGridLineWidth).Default(1);
    P.Property("Options", &TDrawGrid::GetOptions, &TDrawGrid::SetOptions)
        .Default(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect});
    P.Property("ParentColor", &TDrawGrid::GetParentColor, &TDrawGrid::SetParentColor).Default(false);
    P.Property("ParentCtl3D", &TDrawGrid::GetParentCtl3D, &TDrawGrid::SetParentCtl3D).Default(true);
    P.Property("ParentFont", &TDrawGrid::GetParentFont, &TDrawGrid::SetParentFont).Default(true);
    P.Property("ParentShowHint", &TDrawGrid::GetParentShowHint, &TDrawGrid::SetParentShowHint).Default(true);
    P.Property("PopupMenu", &TDrawGrid::GetPopupMenu, &TDrawGrid::SetPopupMenu);
    P.Property("ScrollBars", &TDrawGrid::GetScrollBars, &TDrawGrid::SetScrollBars).Default(ssBoth);
    P.Property("ShowHint", &TDrawGrid::GetShowHint, &TDrawGrid::SetShowHint).Stored(&TDrawGrid::IsShowHintStored);
    P.Property("TabOrder", &TDrawGrid::GetTabOrder, &TDrawGrid::SetTabOrder).Default(-1);
    P.Property("TabStop", &TDrawGrid::GetTabStop, &TDrawGrid::SetTabStop).Default(true);
    P.Property("Visible", &TDrawGrid::GetVisible, &TDrawGrid::SetVisible).Default(true);
    HOST_PUBLISH_MOUSE_EVENTS(TDrawGrid);
    P.Property("OnColumnMoved", &TDrawGrid::OnColumnMoved);
    P.Property("OnDrawCell", &TDrawGrid::OnDrawCell);
    P.Property("OnEnter", &TDrawGrid::OnEnter);
    P.Property("OnExit", &TDrawGrid::OnExit);
    P.Property("OnGetEditMask", &TDrawGrid::OnGetEditMask);
    P.Property("OnGetEditText", &TDrawGrid::OnGetEditText);
    P.Property("OnKeyDown", &TDrawGrid::OnKeyDown);
    P.Property("OnKeyPress", &TDrawGrid::OnKeyPress);
    P.Property("OnKeyUp", &TDrawGrid::OnKeyUp);
    P.Property("OnRowMoved", &TDrawGrid::OnRowMoved);
    P.Property("OnSelectCell", &TDrawGrid::OnSelectCell);
    P.Property("OnSetEditText", &TDrawGrid::OnSetEditText);
    P.Property("OnTopLeftChanged", &TDrawGrid::OnTopLeftChanged);
}

HOST_REGISTER_CLASSES(TDrawGrid, TStringGrid);

} // namespace host
