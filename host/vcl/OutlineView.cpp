// The outline on screen: rows, tree lines, buttons and pictures, the mouse,
// the keyboard and scrolling. Painting touches only the rows in view.
#include "host/vcl/FileCtrl.h"
#include "host/vcl/Outline.h"
#include "host/vcl/StdPublish.h"

#include <algorithm>

namespace host {

namespace {

constexpr int Indent = 16;      // per level
constexpr int PictureWidth = 18;
constexpr int ButtonSize = 9;

void DottedH(TCanvas* C, int X1, int X2, int Y)
{
    for (int x = X1 + ((X1 + Y) & 1); x < X2; x += 2) C->SetPixels(x, Y, clGray);
}

void DottedV(TCanvas* C, int X, int Y1, int Y2)
{
    for (int y = Y1 + ((X + Y1) & 1); y < Y2; y += 2) C->SetPixels(X, y, clGray);
}

} // namespace

void TCustomOutline::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.Style |= WS_VSCROLL;
    if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomOutline::CreateWnd()
{
    inherited::CreateWnd();
    UpdateScrollBar();
}

void TCustomOutline::SetOutlineStyle(TOutlineStyle Value)
{
    if (FOutlineStyle == Value) return;
    FOutlineStyle = Value;
    Invalidate();
}

void TCustomOutline::SetOptions(TOutlineOptions Value)
{
    if (FOptions == Value) return;
    FOptions = Value;
    Invalidate();
}

void TCustomOutline::SetStyle(TOutlineType Value)
{
    if (FStyle == Value) return;
    FStyle = Value;
    Invalidate();
}

void TCustomOutline::SetItemHeight(int Value)
{
    if (Value < 1 || FItemHeight == Value) return;
    FItemHeight = Value;
    UpdateScrollBar();
    Invalidate();
}

void TCustomOutline::SetBorderStyle(TBorderStyle Value)
{
    if (FBorderStyle == Value) return;
    FBorderStyle = Value;
    RecreateWnd();
}

// Assigning nothing empties the picture: the outline's own comes back.
void TCustomOutline::SetPicture(int Which, TBitmap* Value) { FPictures[Which]->Assign(Value); }

void TCustomOutline::PictureChanged(TObject*) { Invalidate(); }

bool TCustomOutline::DrawPicture(TCanvas* C, TBitmap* Picture, int X, int Y, int CellHeight)
{
    if (Picture->GetEmpty()) return false;
    int h = Picture->GetHeight(), w = Picture->GetWidth();
    if (FOptions.Contains(ooStretchBitmaps)) {
        C->StretchDraw(TRect{X, Y, X + 16, Y + CellHeight}, Picture);
        return true;
    }
    C->Draw(X + (16 - w) / 2, Y + (CellHeight - h) / 2, Picture);
    return true;
}

bool TCustomOutline::IsTreeStyle() const { return FOutlineStyle == osTreeText || FOutlineStyle == osTreePictureText; }

bool TCustomOutline::HasPlusMinus() const
{
    return FOutlineStyle == osPlusMinusText || FOutlineStyle == osPlusMinusPictureText;
}

bool TCustomOutline::HasPicture() const
{
    return FOutlineStyle == osPictureText || FOutlineStyle == osPlusMinusPictureText ||
           FOutlineStyle == osTreePictureText;
}

// Where the item's own drawing starts: tree styles keep a column for the
// lines and the button before it (also at the top level with ooDrawTreeRoot).
int TCustomOutline::ContentLeft(const TOutlineNode* Node) const
{
    int column = Node->GetLevel() - 1;
    if (IsTreeStyle() && FOptions.Contains(ooDrawTreeRoot)) ++column;
    return 2 + column * Indent;
}

// ---- Rows ----------------------------------------------------------------------------------------

int TCustomOutline::VisibleRows() { return std::max(1, GetClientHeight() / FItemHeight); }

int TCustomOutline::VisibleRowOf(const TOutlineNode* Node)
{
    Rebuild();
    return Node ? Node->FRow : -1;
}

TRect TCustomOutline::ItemRect(int Index)
{
    int row = VisibleRowOf(Index > 0 ? GetItem(Index) : nullptr);
    if (row < FTopRow || row >= FTopRow + VisibleRows() + 1) return TRect{0, 0, 0, 0};
    int top = (row - FTopRow) * FItemHeight;
    return TRect{0, top, GetClientWidth(), top + FItemHeight};
}

TRect TCustomOutline::ButtonRect(int Index)
{
    TOutlineNode* node = GetItem(Index);
    TRect row = ItemRect(Index);
    if (!node->GetHasItems() || row.bottom == 0) return TRect{0, 0, 0, 0};
    int x = ContentLeft(node), cy = (row.top + row.bottom) / 2;
    int cx;
    if (IsTreeStyle()) {
        if (x < 2 + Indent) return TRect{0, 0, 0, 0};  // a top-level item without a root column
        cx = x - Indent / 2;
    } else if (HasPlusMinus()) {
        cx = x + Indent / 2;
    } else {
        return TRect{0, 0, 0, 0};
    }
    return TRect{cx - ButtonSize / 2, cy - ButtonSize / 2, cx - ButtonSize / 2 + ButtonSize, cy - ButtonSize / 2 + ButtonSize};
}

int TCustomOutline::GetItemAt(int, int Y)
{
    Rebuild();
    if (Y < 0) return 0;
    int row = FTopRow + Y / FItemHeight;
    return row < int(FVisible.size()) ? FVisible[row]->GetIndex() : 0;
}

void TCustomOutline::SetTopRow(int Value)
{
    Rebuild();
    Value = std::clamp(Value, 0, std::max(0, int(FVisible.size()) - VisibleRows()));
    if (FTopRow == Value) return;
    FTopRow = Value;
    UpdateScrollBar();
    Invalidate();
}

void TCustomOutline::MakeRowVisible(int Row)
{
    if (Row < FTopRow)
        SetTopRow(Row);
    else if (Row >= FTopRow + VisibleRows())
        SetTopRow(Row - VisibleRows() + 1);
}

void TCustomOutline::SelectRow(int Row)
{
    Rebuild();
    if (FVisible.empty()) return;
    Row = std::clamp(Row, 0, int(FVisible.size()) - 1);
    FSelected = FVisible[Row];
    MakeRowVisible(Row);
    Invalidate();
}

// Selecting a hidden item opens the items above it first.
void TCustomOutline::SetSelectedItem(int Value)
{
    if (Value == 0) {
        FSelected = nullptr;
        Invalidate();
        return;
    }
    TOutlineNode* node = GetItem(Value);
    BeginUpdate();
    for (TOutlineNode* p = node->GetParent(); p; p = p->GetParent()) p->Expand();
    EndUpdate();
    SelectRow(VisibleRowOf(node));
}

void TCustomOutline::UpdateScrollBar()
{
    if (!HandleAllocated()) return;
    Rebuild();
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    si.nMin = 0;
    si.nMax = std::max(0, int(FVisible.size()) - 1);
    si.nPage = UINT(VisibleRows());
    si.nPos = FTopRow;
    SetScrollInfo(GetHandle(), SB_VERT, &si, TRUE);
}

void TCustomOutline::Resize()
{
    inherited::Resize();
    SetTopRow(FTopRow);
    UpdateScrollBar();
}

// ---- Painting ------------------------------------------------------------------------------------

void TCustomOutline::PaintButton(TCanvas* C, const TRect& Box, bool Expanded)
{
    C->GetPen()->SetColor(clGray);
    C->GetBrush()->SetColor(clWindow);
    C->Rectangle(Box);
    C->GetPen()->SetColor(clBlack);
    int cx = (Box.left + Box.right) / 2, cy = (Box.top + Box.bottom) / 2;
    C->MoveTo(Box.left + 2, cy);
    C->LineTo(Box.right - 2, cy);
    if (!Expanded) {
        C->MoveTo(cx, Box.top + 2);
        C->LineTo(cx, Box.bottom - 2);
    }
}

void TCustomOutline::PaintTreeLines(TCanvas* C, const TOutlineNode* Node, const TRect& Row)
{
    auto hasNext = [](const TOutlineNode* N) {
        const auto& siblings = N->FParent->FChildren;
        return siblings.back() != N;
    };
    int cy = (Row.top + Row.bottom) / 2;
    int x = ContentLeft(Node);
    if (x >= 2 + Indent) {
        int cx = x - Indent / 2;
        DottedH(C, cx, x, cy);
        bool first = Node->FParent == FRoot.get() && FRoot->FChildren.front() == Node;
        DottedV(C, cx, first ? cy : Row.top, hasNext(Node) ? Row.bottom : cy + 1);
    }
    // Ancestors with items still to come carry their line through this row.
    for (const TOutlineNode* a = Node->GetParent(); a; a = a->GetParent()) {
        int ax = ContentLeft(a);
        if (ax >= 2 + Indent && hasNext(a)) DottedV(C, ax - Indent / 2, Row.top, Row.bottom);
    }
}

void TCustomOutline::DrawItem(int Index, const TRect& Rect, bool Selected)
{
    TCanvas* c = GetCanvas();
    if (FStyle == otOwnerDraw) {
        OnDrawItem(this, Index, Rect, Selected);
        return;
    }
    TOutlineNode* node = FAll[Index - 1];
    if (IsTreeStyle()) PaintTreeLines(c, node, Rect);
    TRect box = ButtonRect(Index);
    if (box.right > box.left) {
        TBitmap* own = node->FExpanded ? FPictures[1].get() : FPictures[0].get();
        int cellLeft = (box.left + box.right) / 2 - 8;
        if (!DrawPicture(c, own, cellLeft, Rect.top, Rect.bottom - Rect.top)) PaintButton(c, box, node->FExpanded);
    }
    int x = ContentLeft(node) + (HasPlusMinus() ? Indent : 0);
    if (HasPicture()) {
        TFileGlyph glyph = !node->GetHasItems() ? TFileGlyph::File
                           : node->FExpanded    ? TFileGlyph::OpenFolder
                                                : TFileGlyph::ClosedFolder;
        TBitmap* own = !node->GetHasItems() ? FPictures[4].get()
                       : node->FExpanded    ? FPictures[2].get()
                                            : FPictures[3].get();
        if (!DrawPicture(c, own, x, Rect.top, Rect.bottom - Rect.top))
            DrawFileGlyph(c, x, Rect.top + (Rect.bottom - Rect.top - 16) / 2, glyph);
        x += PictureWidth;
    }
    c->SetFont(GetFont());
    int w = c->TextWidth(node->FText) + 4;
    TRect text{x, Rect.top, x + w, Rect.bottom};
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(Selected ? clHighlight : GetColor());
    c->FillRect(text);
    if (Selected) c->GetFont()->SetColor(clHighlightText);
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(x + 2, Rect.top + (Rect.bottom - Rect.top - c->TextHeight(node->FText)) / 2, node->FText);
    c->GetBrush()->SetStyle(bsSolid);
    if (Selected && Focused() && FOptions.Contains(ooDrawFocusRect)) {
        RECT f = text;
        DrawFocusRect(c->GetHandle(), &f);
    }
}

void TCustomOutline::Paint()
{
    Rebuild();
    TCanvas* c = GetCanvas();
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(GetClientRect());
    int rows = VisibleRows() + 1;
    for (int r = FTopRow; r < int(FVisible.size()) && r < FTopRow + rows; ++r) {
        int top = (r - FTopRow) * FItemHeight;
        TRect rect{0, top, GetClientWidth(), top + FItemHeight};
        c->GetBrush()->SetColor(GetColor());
        c->GetPen()->SetColor(clBlack);
        DrawItem(FVisible[r]->FIndex, rect, FVisible[r] == FSelected);
    }
}

// ---- Input ---------------------------------------------------------------------------------------

void TCustomOutline::ToggleNode(TOutlineNode* Node)
{
    if (!Node || !Node->GetHasItems()) return;
    Node->SetExpanded(!Node->FExpanded);
}

void TCustomOutline::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CanFocus() && !Focused()) SetFocus();
    if (Button == mbLeft) {
        int index = GetItemAt(X, Y);
        if (index > 0) {
            TRect box = ButtonRect(index);
            FButtonDown = X >= box.left - 2 && X < box.right + 2 && Y >= box.top - 2 && Y < box.bottom + 2;
            SelectRow(VisibleRowOf(FAll[index - 1]));
            if (FButtonDown) ToggleNode(FAll[index - 1]);
        }
    }
    inherited::MouseDown(Button, Shift, X, Y);
}

void TCustomOutline::DblClick()
{
    // The double click first selected the item; it opens or closes it. On
    // a button it was two clicks there, each of which toggled already.
    if (!FButtonDown) ToggleNode(FSelected);
    inherited::DblClick();
}

void TCustomOutline::KeyDown(WORD& Key, TShiftState Shift)
{
    inherited::KeyDown(Key, Shift);
    int row = VisibleRowOf(FSelected);
    switch (Key) {
    case VK_UP: SelectRow(row < 0 ? 0 : row - 1); break;
    case VK_DOWN: SelectRow(row + 1); break;
    case VK_HOME: SelectRow(0); break;
    case VK_END: SelectRow(int(FVisible.size()) - 1); break;
    case VK_PRIOR: SelectRow(row - VisibleRows() + 1); break;
    case VK_NEXT: SelectRow(row + VisibleRows() - 1); break;
    case VK_LEFT:
        if (FSelected && FSelected->FExpanded)
            FSelected->Collapse();
        else if (FSelected && FSelected->GetParent())
            SelectRow(VisibleRowOf(FSelected->GetParent()));
        break;
    case VK_RIGHT:
        if (FSelected) FSelected->Expand();
        break;
    default: return;
    }
    Key = 0;
}

void TCustomOutline::KeyPress(char& Key)
{
    inherited::KeyPress(Key);
    if (!FSelected) return;
    switch (Key) {
    case '+': FSelected->Expand(); break;
    case '-': FSelected->Collapse(); break;
    case '*': FSelected->FullExpand(); break;
    default: return;
    }
    Key = 0;
}

void TCustomOutline::WMVScroll(TMessage& Message)
{
    switch (LOWORD(Message.WParam)) {
    case SB_LINEUP: SetTopRow(FTopRow - 1); break;
    case SB_LINEDOWN: SetTopRow(FTopRow + 1); break;
    case SB_PAGEUP: SetTopRow(FTopRow - VisibleRows()); break;
    case SB_PAGEDOWN: SetTopRow(FTopRow + VisibleRows()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetTopRow(short(HIWORD(Message.WParam))); break;
    case SB_TOP: SetTopRow(0); break;
    case SB_BOTTOM: SetTopRow(int(FVisible.size())); break;
    }
    Message.Result = 0;
}

void TCustomOutline::WMMouseWheel(TMessage& Message)
{
    SetTopRow(FTopRow - 3 * GET_WHEEL_DELTA_WPARAM(Message.WParam) / WHEEL_DELTA);
    Message.Result = 0;
}

void TCustomOutline::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TCustomOutline::WMSetFocus(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

void TCustomOutline::WMKillFocus(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

HOST_MESSAGE_MAP(TCustomOutline)
{
    M(WM_VSCROLL, &TCustomOutline::WMVScroll);
    M(WM_MOUSEWHEEL, &TCustomOutline::WMMouseWheel);
    M(WM_GETDLGCODE, &TCustomOutline::WMGetDlgCode);
    M(WM_SETFOCUS, &TCustomOutline::WMSetFocus);
    M(WM_KILLFOCUS, &TCustomOutline::WMKillFocus);
}

// ---- Published properties ------------------------------------------------------------------------

HOST_PUBLISHED(TOutline)
{
    HOST_PUBLISH_CONTROL_LOOK(TOutline);
    HOST_PUBLISH_MOUSE_EVENTS(TOutline);
    HOST_PUBLISH_FOCUS(TOutline);
    P.Property("BorderStyle", &TOutline::GetBorderStyle, &TOutline::SetBorderStyle).Default(bsSingle);
    P.Property("ItemHeight", &TOutline::GetItemHeight, &TOutline::SetItemHeight).Default(17);
    P.Property("ItemSeparator", &TOutline::GetItemSeparator, &TOutline::SetItemSeparator);
    P.Property("Lines", &TOutline::GetLines, &TOutline::SetLines);
    P.Property("PictureClosed", &TOutline::GetPictureClosed, &TOutline::SetPictureClosed);
    P.Property("PictureLeaf", &TOutline::GetPictureLeaf, &TOutline::SetPictureLeaf);
    P.Property("PictureMinus", &TOutline::GetPictureMinus, &TOutline::SetPictureMinus);
    P.Property("PictureOpen", &TOutline::GetPictureOpen, &TOutline::SetPictureOpen);
    P.Property("PicturePlus", &TOutline::GetPicturePlus, &TOutline::SetPicturePlus);
    P.Property("Options", &TOutline::GetOptions, &TOutline::SetOptions)
        .Default(TOutlineOptions{ooDrawTreeRoot, ooDrawFocusRect});
    P.Property("OutlineStyle", &TOutline::GetOutlineStyle, &TOutline::SetOutlineStyle).Default(osTreePictureText);
    P.Property("Style", &TOutline::GetStyle, &TOutline::SetStyle).Default(otStandard);
    P.Property("OnCollapse", &TOutline::OnCollapse);
    P.Property("OnDrawItem", &TOutline::OnDrawItem);
    P.Property("OnExpand", &TOutline::OnExpand);
}

HOST_REGISTER_CLASSES(TOutline);

} // namespace host
