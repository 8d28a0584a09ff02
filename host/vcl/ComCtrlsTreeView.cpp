// The tree view on screen: rows, lines, buttons, images, selection, the
// caption editor, the mouse, the keyboard and scrolling.
#include "host/vcl/ComCtrlsTree.h"

#include <algorithm>

#include "host/vcl/StdPublish.h"

namespace host {

namespace {

constexpr int ButtonSize = 9;
constexpr UINT_PTR SlowClickTimer = 1;

void DottedH(TCanvas* C, int X1, int X2, int Y)
{
    for (int x = X1 + ((X1 + Y) & 1); x < X2; x += 2) C->SetPixels(x, Y, clGray);
}

void DottedV(TCanvas* C, int X, int Y1, int Y2)
{
    for (int y = Y1 + ((X + Y1) & 1); y < Y2; y += 2) C->SetPixels(X, y, clGray);
}

bool Inside(const TRect& R, int X, int Y) { return X >= R.left && X < R.right && Y >= R.top && Y < R.bottom; }

} // namespace

// The caption editor: Return keeps the text, Escape drops it, and leaving
// the box keeps it.
class TTreeViewEdit : public TEdit {
    HOST_CLASS(TTreeViewEdit, TEdit)
    HOST_MESSAGES(TTreeViewEdit)
public:
    TTreeViewEdit(TComponent* AOwner, TCustomTreeView* Tree) : TEdit(AOwner), FTree(Tree) {}

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override
    {
        if (Key == VK_RETURN || Key == VK_ESCAPE) {
            bool cancel = Key == VK_ESCAPE;
            Key = 0;
            FTree->EndEdit(cancel);
            return;
        }
        inherited::KeyDown(Key, Shift);
    }
    void KeyPress(char& Key) override
    {
        // The Return and Escape characters that follow the keys end nothing more.
        if (Key == '\r' || Key == 27) {
            Key = 0;
            return;
        }
        inherited::KeyPress(Key);
    }
    void WMGetDlgCode(TMessage& Message)
    {
        inherited::Dispatch(Message);
        Message.Result |= DLGC_WANTALLKEYS;
    }
    void WMKillFocus(TMessage& Message)
    {
        inherited::Dispatch(Message);
        FTree->EndEdit(false);
    }

private:
    TCustomTreeView* FTree;
};

HOST_MESSAGE_MAP(TTreeViewEdit)
{
    M(WM_GETDLGCODE, &TTreeViewEdit::WMGetDlgCode);
    M(WM_KILLFOCUS, &TTreeViewEdit::WMKillFocus);
}

// ---- TCustomTreeView --------------------------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle += csOpaque;
    FControlStyle += csDoubleClicks;
    FControlStyle += csClickEvents;
    FControlStyle += csCaptureMouse;
    FNodes = std::make_unique<TTreeNodes>(this);
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
}

void TCustomTreeView::Destroy()
{
    if (HandleAllocated()) KillTimer(GetHandle(), SlowClickTimer);
    FEditing = nullptr;
    inherited::Destroy();
    FSelected = nullptr;
    FNodes.reset();
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) {
        FImages = nullptr;
        Invalidate();
    }
    if (AComponent == FEdit) FEdit = nullptr;
}

void TCustomTreeView::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.Style |= WS_VSCROLL;
    if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateWnd()
{
    inherited::CreateWnd();
    UpdateScrollBar();
}

#define TREEVIEW_SETTER(Name)                                                                      \
    void TCustomTreeView::Set##Name(bool Value)                                                    \
    {                                                                                              \
        if (F##Name == Value) return;                                                              \
        F##Name = Value;                                                                           \
        Invalidate();                                                                              \
    }
TREEVIEW_SETTER(ShowLines)
TREEVIEW_SETTER(ShowButtons)
TREEVIEW_SETTER(ShowRoot)
TREEVIEW_SETTER(HideSelection)
#undef TREEVIEW_SETTER

void TCustomTreeView::SetIndent(int Value)
{
    if (Value < 1 || FIndent == Value) return;
    FIndent = Value;
    Invalidate();
}

void TCustomTreeView::SetImages(TCustomImageList* Value)
{
    if (FImages == Value) return;
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    Invalidate();
}

void TCustomTreeView::SetBorderStyle(TBorderStyle Value)
{
    if (FBorderStyle == Value) return;
    FBorderStyle = Value;
    RecreateWnd();
}

// ---- Rows ---------------------------------------------------------------------------------------

void TCustomTreeView::StructureChanged()
{
    FDirty = true;
    if (FNodes && FNodes->FUpdateCount > 0) return;
    Rebuild();
    SetTopRow(FTopRow);
    UpdateScrollBar();
    Invalidate();
}

void TCustomTreeView::Rebuild() const
{
    if (!FDirty || !FNodes) return;
    FDirty = false;
    FRows.clear();
    // Every node learns its row (or that it has none), so finding a node's
    // row while painting costs nothing.
    auto walk = [&](auto&& self, const std::vector<TTreeNode*>& List, bool Shown) -> void {
        for (TTreeNode* n : List) {
            n->FRow = Shown ? int(FRows.size()) : -1;
            if (Shown) FRows.push_back(n);
            self(self, n->FChildren, Shown && n->FExpanded);
        }
    };
    walk(walk, FNodes->FRoots, true);
}

int TCustomTreeView::RowOf(const TTreeNode* Node) const
{
    Rebuild();
    return Node ? Node->FRow : -1;
}

int TCustomTreeView::VisibleRows() { return std::max(1, GetClientHeight() / FItemHeight); }

TRect TCustomTreeView::RowRect(int Row) const
{
    int top = (Row - FTopRow) * FItemHeight;
    return TRect{0, top, const_cast<TCustomTreeView*>(this)->GetClientWidth(), top + FItemHeight};
}

TTreeNode* TCustomTreeView::GetTopItem() const
{
    Rebuild();
    return FTopRow < int(FRows.size()) ? FRows[FTopRow] : nullptr;
}

TTreeNode* TCustomTreeView::GetNodeAt(int, int Y)
{
    Rebuild();
    if (Y < 0) return nullptr;
    int row = FTopRow + Y / FItemHeight;
    return row < int(FRows.size()) ? FRows[row] : nullptr;
}

void TCustomTreeView::SetTopRow(int Value)
{
    Rebuild();
    Value = std::clamp(Value, 0, std::max(0, int(FRows.size()) - VisibleRows()));
    if (FTopRow == Value) return;
    FTopRow = Value;
    EndEdit(false);
    UpdateScrollBar();
    Invalidate();
}

void TCustomTreeView::MakeRowVisible(int Row)
{
    if (Row < FTopRow)
        SetTopRow(Row);
    else if (Row >= FTopRow + VisibleRows())
        SetTopRow(Row - VisibleRows() + 1);
}

void TCustomTreeView::SelectRow(int Row)
{
    Rebuild();
    if (FRows.empty()) return;
    SetSelected(FRows[std::clamp(Row, 0, int(FRows.size()) - 1)]);
}

void TCustomTreeView::UpdateScrollBar()
{
    if (!HandleAllocated()) return;
    Rebuild();
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    si.nMin = 0;
    si.nMax = std::max(0, int(FRows.size()) - 1);
    si.nPage = UINT(VisibleRows());
    si.nPos = FTopRow;
    SetScrollInfo(GetHandle(), SB_VERT, &si, TRUE);
}

void TCustomTreeView::Resize()
{
    inherited::Resize();
    SetTopRow(FTopRow);
    UpdateScrollBar();
}

// Where the node's image (or caption) starts: one indent per level, and one
// more for the root's lines and buttons when ShowRoot.
int TCustomTreeView::NodeLeft(const TTreeNode* Node) const
{
    int columns = Node->GetLevel() + (FShowRoot && (FShowLines || FShowButtons) ? 1 : 0);
    return 2 + columns * FIndent;
}

int TCustomTreeView::TextLeft(const TTreeNode* Node) const
{
    return NodeLeft(Node) + (FImages ? FImages->GetWidth() + 3 : 0);
}

TRect TCustomTreeView::TextRect(const TTreeNode* Node)
{
    int row = RowOf(Node);
    if (row < 0) return TRect{0, 0, 0, 0};
    TRect r = RowRect(row);
    GetCanvas()->SetFont(GetFont());
    int left = TextLeft(Node);
    return TRect{left, r.top, left + GetCanvas()->TextWidth(Node->FText) + 4, r.bottom};
}

TRect TCustomTreeView::ButtonRect(const TTreeNode* Node)
{
    int row = RowOf(Node);
    int left = NodeLeft(Node);
    if (!FShowButtons || row < FTopRow || !Node->GetHasChildren() || left < 2 + FIndent) return TRect{0, 0, 0, 0};
    TRect r = RowRect(row);
    int cx = left - FIndent / 2, cy = (r.top + r.bottom) / 2;
    return TRect{cx - ButtonSize / 2, cy - ButtonSize / 2, cx - ButtonSize / 2 + ButtonSize,
                 cy - ButtonSize / 2 + ButtonSize};
}

// ---- Selection and changes ---------------------------------------------------------------------

bool TCustomTreeView::CanChange(TTreeNode* Node)
{
    bool allow = true;
    OnChanging(this, Node, allow);
    return allow;
}

bool TCustomTreeView::CanExpand(TTreeNode* Node)
{
    bool allow = true;
    OnExpanding(this, Node, allow);
    return allow;
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node)
{
    bool allow = true;
    OnCollapsing(this, Node, allow);
    return allow;
}

bool TCustomTreeView::CanEdit(TTreeNode* Node)
{
    // A read-only tree does not even ask.
    if (FReadOnly) return false;
    bool allow = true;
    OnEditing(this, Node, allow);
    return allow;
}

void TCustomTreeView::SetSelected(TTreeNode* Value)
{
    if (Value == FSelected) return;
    if (!CanChange(Value)) return;
    EndEdit(false);
    FSelected = Value;
    if (Value) Value->MakeVisible();
    Invalidate();
    OnChange(this, Value);
}

// A node about to go: the selection moves to a neighbour, an edit of it ends.
void TCustomTreeView::NodeRemoved(TTreeNode* Node)
{
    if (FEditing && (FEditing == Node || FEditing->HasAsParent(Node))) EndEdit(true);
    if (FSlowClickNode && (FSlowClickNode == Node || FSlowClickNode->HasAsParent(Node))) FSlowClickNode = nullptr;
    auto notify = [&](auto&& self, TTreeNode* N) -> void {
        for (TTreeNode* c : N->FChildren) self(self, c);
        OnDeletion(this, N);
    };
    notify(notify, Node);
    if (FSelected && (FSelected == Node || FSelected->HasAsParent(Node))) {
        TTreeNode* next = Node->getNextSibling();
        if (!next) next = Node->getPrevSibling();
        if (!next) next = Node->FParent;
        FSelected = next;
        if (!(GetComponentState().Contains(csDestroying))) OnChange(this, next);
    }
    FDirty = true;
}

void TCustomTreeView::FullExpand()
{
    FNodes->BeginUpdate();
    for (TTreeNode* r : std::vector<TTreeNode*>(FNodes->FRoots)) r->Expand(true);
    FNodes->EndUpdate();
}

void TCustomTreeView::FullCollapse()
{
    FNodes->BeginUpdate();
    for (TTreeNode* r : std::vector<TTreeNode*>(FNodes->FRoots)) r->Collapse(true);
    FNodes->EndUpdate();
}

// ---- Editing ------------------------------------------------------------------------------------

bool TCustomTreeView::IsEditing() const { return FEditing != nullptr; }

bool TCustomTreeView::StartEdit(TTreeNode* Node)
{
    if (!Node || FEditing == Node) return FEditing == Node;
    EndEdit(false);
    if (!CanEdit(Node)) return false;
    Node->MakeVisible();
    if (!FEdit) {
        FEdit = new TTreeViewEdit(this, this);
        FEdit->SetVisible(false);
        FEdit->SetParent(this);
    }
    FEditing = Node;
    TRect r = TextRect(Node);
    FEdit->SetBounds(r.left, r.top, std::max<int>(r.right - r.left + 40, 60), r.bottom - r.top);
    FEdit->SetFont(GetFont());
    FEdit->SetText(Node->FText);
    FEdit->SetVisible(true);
    FEdit->SetFocus();
    FEdit->SelectAll();
    return true;
}

void TCustomTreeView::EndEdit(bool Cancel)
{
    TTreeNode* node = FEditing;
    if (!node) return;
    FEditing = nullptr;
    std::string text = FEdit ? FEdit->GetText() : node->FText;
    bool hadFocus = FEdit && FEdit->Focused();
    if (FEdit) FEdit->SetVisible(false);
    if (hadFocus && CanFocus()) SetFocus();
    if (Cancel) return;
    OnEdited(this, node, text);
    node->SetText(text);
}

// ---- Painting -----------------------------------------------------------------------------------

void TCustomTreeView::PaintLines(TCanvas* C, const TTreeNode* Node, const TRect& Row)
{
    auto hasNext = [](const TTreeNode* N) { return N->Siblings().back() != N; };
    int cy = (Row.top + Row.bottom) / 2;
    int left = NodeLeft(Node);
    if (left >= 2 + FIndent) {
        int cx = left - FIndent / 2;
        DottedH(C, cx, left - 2, cy);
        bool first = !Node->FParent && FNodes->FRoots.front() == Node;
        DottedV(C, cx, first ? cy : Row.top, hasNext(Node) ? Row.bottom : cy + 1);
    }
    for (const TTreeNode* a = Node->FParent; a; a = a->FParent) {
        int ax = NodeLeft(a);
        if (ax >= 2 + FIndent && hasNext(a)) DottedV(C, ax - FIndent / 2, Row.top, Row.bottom);
    }
}

void TCustomTreeView::PaintRow(TCanvas* C, const TTreeNode* Node, const TRect& Row)
{
    if (FShowLines) PaintLines(C, Node, Row);
    TRect box = ButtonRect(Node);
    if (box.right > box.left) {
        C->GetPen()->SetColor(clGray);
        C->GetBrush()->SetColor(clWindow);
        C->Rectangle(box);
        C->GetPen()->SetColor(clBlack);
        int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
        C->MoveTo(box.left + 2, cy);
        C->LineTo(box.right - 2, cy);
        if (!Node->FExpanded) {
            C->MoveTo(cx, box.top + 2);
            C->LineTo(cx, box.bottom - 2);
        }
    }
    bool selected = Node == FSelected;
    if (FImages) {
        int image = selected && Node->FSelectedIndex >= 0 ? Node->FSelectedIndex : Node->FImageIndex;
        if (image >= 0 && image < FImages->GetCount())
            FImages->Draw(C, NodeLeft(Node), Row.top + (Row.bottom - Row.top - FImages->GetHeight()) / 2, image);
    }
    int left = TextLeft(Node);
    C->SetFont(GetFont());
    TRect text{left, Row.top + 1, left + C->TextWidth(Node->FText) + 4, Row.bottom - 1};
    bool focused = Focused() || (FEdit && FEdit->Focused());
    bool marked = selected && (focused || !FHideSelection);
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(!marked ? GetColor() : focused ? clHighlight : clBtnFace);
    C->FillRect(text);
    if (marked && focused) C->GetFont()->SetColor(clHighlightText);
    C->GetBrush()->SetStyle(bsClear);
    C->TextOut(left + 2, text.top + (text.bottom - text.top - C->TextHeight(Node->FText)) / 2, Node->FText);
    C->GetBrush()->SetStyle(bsSolid);
    if (selected && Focused()) {
        RECT f = text;
        DrawFocusRect(C->GetHandle(), &f);
    }
}

void TCustomTreeView::Paint()
{
    Rebuild();
    TCanvas* c = GetCanvas();
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(GetClientRect());
    int last = std::min(int(FRows.size()), FTopRow + VisibleRows() + 1);
    for (int r = FTopRow; r < last; ++r) PaintRow(c, FRows[r], RowRect(r));
}

// ---- Input --------------------------------------------------------------------------------------

void TCustomTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    bool wasFocused = Focused();
    if (CanFocus() && !Focused()) SetFocus();
    TTreeNode* node = Button == mbLeft ? GetNodeAt(X, Y) : nullptr;
    if (node) {
        TRect box = ButtonRect(node);
        FButtonDown = box.right > box.left && Inside(TRect{box.left - 3, box.top - 3, box.right + 3, box.bottom + 3}, X, Y);
        if (FButtonDown) {
            node->SetExpanded(!node->FExpanded);
        } else if (node == FSelected && wasFocused && !Shift.Contains(ssDouble) && Inside(TextRect(node), X, Y)) {
            // A second, slow click on the caption edits it unless a double click follows.
            FSlowClickNode = node;
            SetTimer(GetHandle(), SlowClickTimer, GetDoubleClickTime(), nullptr);
        } else {
            SetSelected(node);
        }
    }
    inherited::MouseDown(Button, Shift, X, Y);
}

void TCustomTreeView::WMTimer(TMessage& Message)
{
    if (Message.WParam != SlowClickTimer) {
        inherited::Dispatch(Message);
        return;
    }
    KillTimer(GetHandle(), SlowClickTimer);
    TTreeNode* node = FSlowClickNode;
    FSlowClickNode = nullptr;
    if (node && node == FSelected) StartEdit(node);
}

void TCustomTreeView::DblClick()
{
    if (HandleAllocated()) KillTimer(GetHandle(), SlowClickTimer);
    FSlowClickNode = nullptr;
    // A double click on a button was two clicks on it; elsewhere it opens or closes the node.
    if (FSelected && !FButtonDown) FSelected->SetExpanded(!FSelected->FExpanded);
    inherited::DblClick();
}

void TCustomTreeView::KeyDown(WORD& Key, TShiftState Shift)
{
    inherited::KeyDown(Key, Shift);
    int row = FSelected ? RowOf(FSelected) : -1;
    switch (Key) {
    case VK_UP: SelectRow(row < 0 ? 0 : row - 1); break;
    case VK_DOWN: SelectRow(row + 1); break;
    case VK_HOME: SelectRow(0); break;
    case VK_END: SelectRow(int(FRows.size()) - 1); break;
    case VK_PRIOR: SelectRow(row - VisibleRows() + 1); break;
    case VK_NEXT: SelectRow(row + VisibleRows() - 1); break;
    case VK_LEFT:
        if (FSelected && FSelected->FExpanded)
            FSelected->Collapse(false);
        else if (FSelected && FSelected->FParent)
            SetSelected(FSelected->FParent);
        break;
    case VK_RIGHT:
        if (FSelected && !FSelected->FExpanded)
            FSelected->Expand(false);
        else if (FSelected && !FSelected->FChildren.empty())
            SetSelected(FSelected->FChildren.front());
        break;
    case VK_ADD:
        if (FSelected) FSelected->Expand(false);
        break;
    case VK_SUBTRACT:
        if (FSelected) FSelected->Collapse(false);
        break;
    case VK_MULTIPLY:
        if (FSelected) FSelected->Expand(true);
        break;
    case VK_F2:
        if (FSelected) StartEdit(FSelected);
        break;
    default: return;
    }
    Key = 0;
}

void TCustomTreeView::KeyPress(char& Key)
{
    inherited::KeyPress(Key);
    // The numeric keypad's keys were handled as keys; their characters are spent.
    if (Key == '+' || Key == '-' || Key == '*') Key = 0;
}

void TCustomTreeView::WMVScroll(TMessage& Message)
{
    switch (LOWORD(Message.WParam)) {
    case SB_LINEUP: SetTopRow(FTopRow - 1); break;
    case SB_LINEDOWN: SetTopRow(FTopRow + 1); break;
    case SB_PAGEUP: SetTopRow(FTopRow - VisibleRows()); break;
    case SB_PAGEDOWN: SetTopRow(FTopRow + VisibleRows()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetTopRow(short(HIWORD(Message.WParam))); break;
    case SB_TOP: SetTopRow(0); break;
    case SB_BOTTOM: SetTopRow(int(FRows.size())); break;
    }
    Message.Result = 0;
}

void TCustomTreeView::WMMouseWheel(TMessage& Message)
{
    SetTopRow(FTopRow - 3 * GET_WHEEL_DELTA_WPARAM(Message.WParam) / WHEEL_DELTA);
    Message.Result = 0;
}

void TCustomTreeView::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TCustomTreeView::WMSetFocus(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

void TCustomTreeView::WMKillFocus(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

HOST_MESSAGE_MAP(TCustomTreeView)
{
    M(WM_VSCROLL, &TCustomTreeView::WMVScroll);
    M(WM_MOUSEWHEEL, &TCustomTreeView::WMMouseWheel);
    M(WM_GETDLGCODE, &TCustomTreeView::WMGetDlgCode);
    M(WM_SETFOCUS, &TCustomTreeView::WMSetFocus);
    M(WM_KILLFOCUS, &TCustomTreeView::WMKillFocus);
    M(WM_TIMER, &TCustomTreeView::WMTimer);
}

// ---- Published properties -----------------------------------------------------------------------

HOST_PUBLISHED(TTreeView)
{
    HOST_PUBLISH_CONTROL_LOOK(TTreeView);
    HOST_PUBLISH_MOUSE_EVENTS(TTreeView);
    HOST_PUBLISH_FOCUS(TTreeView);
    P.Property("BorderStyle", &TTreeView::GetBorderStyle, &TTreeView::SetBorderStyle).Default(bsSingle);
    P.Property("HideSelection", &TTreeView::GetHideSelection, &TTreeView::SetHideSelection).Default(true);
    P.Property("Images", &TTreeView::GetImages, &TTreeView::SetImages);
    P.Property("Indent", &TTreeView::GetIndent, &TTreeView::SetIndent).Default(19);
    P.Property("Items", &TTreeView::GetItems, &TTreeView::SetItems);
    P.Property("ReadOnly", &TTreeView::GetReadOnly, &TTreeView::SetReadOnly).Default(false);
    P.Property("ShowButtons", &TTreeView::GetShowButtons, &TTreeView::SetShowButtons).Default(true);
    P.Property("ShowLines", &TTreeView::GetShowLines, &TTreeView::SetShowLines).Default(true);
    P.Property("ShowRoot", &TTreeView::GetShowRoot, &TTreeView::SetShowRoot).Default(true);
    P.Property("OnChange", &TTreeView::OnChange);
    P.Property("OnChanging", &TTreeView::OnChanging);
    P.Property("OnCollapsed", &TTreeView::OnCollapsed);
    P.Property("OnCollapsing", &TTreeView::OnCollapsing);
    P.Property("OnDeletion", &TTreeView::OnDeletion);
    P.Property("OnEdited", &TTreeView::OnEdited);
    P.Property("OnEditing", &TTreeView::OnEditing);
    P.Property("OnExpanded", &TTreeView::OnExpanded);
    P.Property("OnExpanding", &TTreeView::OnExpanding);
}

HOST_REGISTER_CLASSES(TTreeView);

} // namespace host
