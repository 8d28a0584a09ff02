// Tree view nodes and the node list, with their stored form.
#include "host/vcl/ComCtrlsTree.h"

#include <algorithm>

#include "host/rtl/Streams.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/Filer.h"

namespace host {

// ---- TTreeNode -------------------------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent) : FOwner(AOwner), FParent(AParent) {}

std::vector<TTreeNode*>& TTreeNode::Siblings() const { return FParent ? FParent->FChildren : FOwner->FRoots; }

TCustomTreeView* TTreeNode::GetTreeView() const { return FOwner->FOwner; }

void TTreeNode::SetText(const std::string& Value)
{
    if (FText == Value) return;
    FText = Value;
    GetTreeView()->Invalidate();
}

int TTreeNode::GetLevel() const
{
    int level = 0;
    for (TTreeNode* p = FParent; p; p = p->FParent) ++level;
    return level;
}

TTreeNode* TTreeNode::GetItem(int Index) const
{
    if (Index < 0 || Index >= int(FChildren.size()))
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return FChildren[Index];
}

int TTreeNode::GetIndex() const
{
    const auto& s = Siblings();
    return int(std::find(s.begin(), s.end(), this) - s.begin());
}

int TTreeNode::GetAbsoluteIndex() const
{
    int index = 0;
    for (const TTreeNode* n = GetPrev(); n; n = n->GetPrev()) ++index;
    return index;
}

bool TTreeNode::GetSelected() const { return GetTreeView()->FSelected == this; }

void TTreeNode::SetSelected(bool Value)
{
    TCustomTreeView* view = GetTreeView();
    if (Value)
        view->SetSelected(this);
    else if (view->FSelected == this)
        view->SetSelected(nullptr);
}

void TTreeNode::SetHasChildren(bool Value)
{
    if (FHasChildren == Value) return;
    FHasChildren = Value;
    GetTreeView()->Invalidate();
}

void TTreeNode::SetImageIndex(int Value)
{
    if (FImageIndex == Value) return;
    FImageIndex = Value;
    GetTreeView()->Invalidate();
}

void TTreeNode::SetSelectedIndex(int Value)
{
    if (FSelectedIndex == Value) return;
    FSelectedIndex = Value;
    GetTreeView()->Invalidate();
}

bool TTreeNode::GetIsVisible() const
{
    for (TTreeNode* p = FParent; p; p = p->FParent)
        if (!p->FExpanded) return false;
    return true;
}

void TTreeNode::SetExpanded(bool Value)
{
    if (Value)
        Expand(false);
    else
        Collapse(false);
}

// OnExpanding may add the children of a node that only promised them; a
// node that still has none loses its button instead of opening.
void TTreeNode::Expand(bool Recurse)
{
    TCustomTreeView* view = GetTreeView();
    if (!FExpanded && GetHasChildren() && view->CanExpand(this)) {
        if (FChildren.empty()) {
            FHasChildren = false;
            view->Invalidate();
        } else {
            FExpanded = true;
            view->StructureChanged();
            view->OnExpanded(view, this);
        }
    }
    if (Recurse)
        for (TTreeNode* c : std::vector<TTreeNode*>(FChildren)) c->Expand(true);
}

void TTreeNode::Collapse(bool Recurse)
{
    TCustomTreeView* view = GetTreeView();
    if (Recurse)
        for (TTreeNode* c : std::vector<TTreeNode*>(FChildren)) c->Collapse(true);
    if (!FExpanded || !view->CanCollapse(this)) return;
    FExpanded = false;
    // A selection that goes out of sight comes up to this node.
    if (view->FSelected && view->FSelected != this && view->FSelected->HasAsParent(this)) {
        view->EndEdit(false);
        view->FSelected = this;
        view->OnChange(view, this);
    }
    view->StructureChanged();
    view->OnCollapsed(view, this);
}

void TTreeNode::MakeVisible()
{
    for (TTreeNode* p = FParent; p; p = p->FParent)
        if (!p->FExpanded) p->Expand(false);
    TCustomTreeView* view = GetTreeView();
    int row = view->RowOf(this);
    if (row >= 0) view->MakeRowVisible(row);
}

bool TTreeNode::EditText() { return GetTreeView()->StartEdit(this); }

void TTreeNode::Delete() { FOwner->Delete(this); }

void TTreeNode::DeleteChildren()
{
    FOwner->BeginUpdate();
    while (!FChildren.empty()) FOwner->Delete(FChildren.back());
    FOwner->EndUpdate();
}

bool TTreeNode::HasAsParent(TTreeNode* Value) const
{
    for (TTreeNode* p = FParent; p; p = p->FParent)
        if (p == Value) return true;
    return false;
}

void TTreeNode::MoveTo(TTreeNode* Destination, TNodeAttachMode Mode)
{
    if (Destination == this || (Destination && Destination->HasAsParent(this)))
        throw EInvalidOperation("A node cannot move below itself");
    auto& from = Siblings();
    from.erase(std::find(from.begin(), from.end(), this));
    bool child = Mode == naAddChild || Mode == naAddChildFirst;
    TTreeNode* parent = child ? Destination : (Destination ? Destination->FParent : nullptr);
    FParent = parent;
    auto& to = Siblings();
    size_t position = to.size();
    if (Mode == naAddFirst || Mode == naAddChildFirst) position = 0;
    if (Mode == naInsert && Destination) position = std::find(to.begin(), to.end(), Destination) - to.begin();
    to.insert(to.begin() + position, this);
    FOwner->Changed();
}

TTreeNode* TTreeNode::getNextSibling() const
{
    const auto& s = Siblings();
    auto it = std::find(s.begin(), s.end(), this);
    return it + 1 < s.end() ? *(it + 1) : nullptr;
}

TTreeNode* TTreeNode::getPrevSibling() const
{
    const auto& s = Siblings();
    auto it = std::find(s.begin(), s.end(), this);
    return it != s.begin() ? *(it - 1) : nullptr;
}

TTreeNode* TTreeNode::GetNext() const
{
    if (!FChildren.empty()) return FChildren.front();
    for (const TTreeNode* n = this; n; n = n->FParent)
        if (TTreeNode* s = n->getNextSibling()) return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const
{
    TTreeNode* n = getPrevSibling();
    if (!n) return FParent;
    while (!n->FChildren.empty()) n = n->FChildren.back();
    return n;
}

TTreeNode* TTreeNode::GetNextVisible() const
{
    TCustomTreeView* view = GetTreeView();
    int row = view->RowOf(this);
    view->Rebuild();
    return row >= 0 && row + 1 < int(view->FRows.size()) ? view->FRows[row + 1] : nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const
{
    TCustomTreeView* view = GetTreeView();
    int row = view->RowOf(this);
    return row > 0 ? view->FRows[row - 1] : nullptr;
}

TRect TTreeNode::DisplayRect(bool TextOnly) const
{
    TCustomTreeView* view = GetTreeView();
    int row = view->RowOf(this);
    if (row < view->FTopRow || row > view->FTopRow + view->VisibleRows()) return TRect{0, 0, 0, 0};
    return TextOnly ? view->TextRect(this) : view->RowRect(row);
}

// ---- TTreeNodes ------------------------------------------------------------------------------

TTreeNodes::TTreeNodes(TCustomTreeView* AOwner) : FOwner(AOwner) {}

TTreeNodes::~TTreeNodes()
{
    for (TTreeNode* n : FRoots) FreeNode(n);
}

void TTreeNodes::FreeNode(TTreeNode* Node)
{
    for (TTreeNode* c : Node->FChildren) FreeNode(c);
    delete Node;
}

TTreeNode* TTreeNodes::InternalAdd(TTreeNode* Parent, int Position, const std::string& S, void* Ptr)
{
    auto* node = new TTreeNode(this, Parent);
    node->FText = S;
    node->FData = Ptr;
    auto& list = Parent ? Parent->FChildren : FRoots;
    if (Position < 0 || Position > int(list.size())) Position = int(list.size());
    list.insert(list.begin() + Position, node);
    Changed();
    return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Node, const std::string& S) { return AddObject(Node, S, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* Node, const std::string& S, void* Ptr)
{
    return InternalAdd(Node ? Node->FParent : nullptr, -1, S, Ptr);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Node, const std::string& S)
{
    return InternalAdd(Node ? Node->FParent : nullptr, 0, S, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Node, const std::string& S) { return AddChildObject(Node, S, nullptr); }

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Node, const std::string& S, void* Ptr)
{
    return InternalAdd(Node, -1, S, Ptr);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Node, const std::string& S) { return InternalAdd(Node, 0, S, nullptr); }

TTreeNode* TTreeNodes::Insert(TTreeNode* Node, const std::string& S) { return InsertObject(Node, S, nullptr); }

TTreeNode* TTreeNodes::InsertObject(TTreeNode* Node, const std::string& S, void* Ptr)
{
    if (!Node) return InternalAdd(nullptr, -1, S, Ptr);
    return InternalAdd(Node->FParent, Node->GetIndex(), S, Ptr);
}

void TTreeNodes::Delete(TTreeNode* Node)
{
    if (!Node) return;
    FOwner->NodeRemoved(Node);
    auto& s = Node->Siblings();
    s.erase(std::find(s.begin(), s.end(), Node));
    FreeNode(Node);
    Changed();
}

void TTreeNodes::Clear()
{
    BeginUpdate();
    while (!FRoots.empty()) Delete(FRoots.back());
    EndUpdate();
}

void TTreeNodes::BeginUpdate() { ++FUpdateCount; }

void TTreeNodes::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TTreeNodes::Changed()
{
    FOwner->FDirty = true;
    if (FUpdateCount == 0) FOwner->StructureChanged();
}

int TTreeNodes::GetCount() const
{
    int count = 0;
    for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext()) ++count;
    return count;
}

TTreeNode* TTreeNodes::GetItem(int Index) const
{
    TTreeNode* n = GetFirstNode();
    for (int i = 0; n && i < Index; ++i) n = n->GetNext();
    if (!n || Index < 0) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return n;
}

void TTreeNodes::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TTreeNodes*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    BeginUpdate();
    Clear();
    auto copy = [&](auto&& self, TTreeNode* From, TTreeNode* Parent) -> void {
        TTreeNode* n = InternalAdd(Parent, -1, From->FText, From->FData);
        n->FImageIndex = From->FImageIndex;
        n->FSelectedIndex = From->FSelectedIndex;
        n->FHasChildren = From->FHasChildren;
        for (TTreeNode* c : From->FChildren) self(self, c, n);
    };
    for (TTreeNode* r : source->FRoots) copy(copy, r, nullptr);
    EndUpdate();
}

// ---- Stored form: per node its image, selected image, child count and
// caption, depth first; 32-bit little-endian numbers.

namespace {

constexpr int MaxStoredDepth = 256;

void WriteInt(TStream* S, int32_t V) { S->WriteBuffer(&V, sizeof V); }

int32_t ReadInt(TStream* S)
{
    int32_t v = 0;
    S->ReadBuffer(&v, sizeof v);
    return v;
}

} // namespace

void TTreeNodes::WriteData(TStream* Stream)
{
    auto write = [&](auto&& self, TTreeNode* N) -> void {
        WriteInt(Stream, N->FImageIndex);
        WriteInt(Stream, N->FSelectedIndex);
        WriteInt(Stream, int32_t(N->FChildren.size()));
        WriteInt(Stream, int32_t(N->FText.size()));
        Stream->WriteBuffer(N->FText.data(), int64_t(N->FText.size()));
        for (TTreeNode* c : N->FChildren) self(self, c);
    };
    WriteInt(Stream, int32_t(FRoots.size()));
    for (TTreeNode* r : FRoots) write(write, r);
}

// Counts and lengths come from outside: each is checked against what the
// stream still holds before anything is built from it.
void TTreeNodes::ReadData(TStream* Stream)
{
    auto remaining = [&] { return Stream->GetSize() - Stream->GetPosition(); };
    auto count = [&](int64_t Unit) {
        int32_t n = ReadInt(Stream);
        if (n < 0 || int64_t(n) * Unit > remaining()) throw EReadError("Invalid tree view data");
        return n;
    };
    auto read = [&](auto&& self, TTreeNode* Parent, int Depth) -> void {
        if (Depth > MaxStoredDepth) throw EReadError("Invalid tree view data");
        int32_t image = ReadInt(Stream), selected = ReadInt(Stream);
        int32_t children = ReadInt(Stream);
        int32_t length = count(1);
        std::string text(size_t(length), '\0');
        Stream->ReadBuffer(text.data(), length);
        if (children < 0 || int64_t(children) * 16 > remaining()) throw EReadError("Invalid tree view data");
        TTreeNode* n = InternalAdd(Parent, -1, text, nullptr);
        n->FImageIndex = image;
        n->FSelectedIndex = selected;
        for (int32_t i = 0; i < children; ++i) self(self, n, Depth + 1);
    };
    BeginUpdate();
    try {
        Clear();
        int32_t roots = count(16);
        for (int32_t i = 0; i < roots; ++i) read(read, nullptr, 0);
    } catch (...) {
        Clear();
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TTreeNodes::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineBinaryProperty("Data", TStreamProc(this, &TTreeNodes::ReadData),
                                TStreamProc(this, &TTreeNodes::WriteData), !FRoots.empty());
}

} // namespace host
