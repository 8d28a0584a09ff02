// The outline's items: the tree, its numbering and its text form.
#include "host/vcl/Outline.h"

#include <algorithm>

namespace host {

namespace {

[[noreturn]] void InvalidIndex(int Index) { throw EOutlineError("Invalid outline index " + IntToStr(Index)); }

// "\t\tText" is level 3 with text "Text".
int LevelOfLine(const std::string& Line, std::string& Text)
{
    size_t tabs = 0;
    while (tabs < Line.size() && Line[tabs] == '\t') ++tabs;
    Text = Line.substr(tabs);
    return int(tabs) + 1;
}

} // namespace

// The outline's items as text lines, one tab per level below the top.
class TOutlineStrings : public TStrings {
    HOST_CLASS(TOutlineStrings, TStrings)
public:
    explicit TOutlineStrings(TCustomOutline* Outline) : FOutline(Outline) {}
    int GetCount() const override { return FOutline->GetItemCount(); }
    void Clear() override { FOutline->Clear(); }
    void Delete(int Index) override { FOutline->Delete(Index + 1); }
    void Insert(int Index, const std::string& S) override
    {
        std::string text;
        int level = LevelOfLine(S, text);
        if (Index < GetCount()) {
            FOutline->Insert(Index + 1, text);
            return;
        }
        if (Index > GetCount()) throw EOutlineError("Invalid outline index " + IntToStr(Index));
        FOutline->Attach(FOutline->ParentFor(level), -1, text, nullptr);
    }
    void SetTextStr(const std::string& Value) override { FOutline->SetLinesText(Value); }

protected:
    std::string Get(int Index) const override
    {
        TOutlineNode* node = FOutline->GetItem(Index + 1);
        return std::string(size_t(node->GetLevel() - 1), '\t') + node->GetText();
    }
    void Put(int Index, const std::string& S) override
    {
        std::string text;
        LevelOfLine(S, text);
        FOutline->GetItem(Index + 1)->SetText(text);
    }
    void SetUpdateState(bool Updating) override
    {
        if (Updating)
            FOutline->BeginUpdate();
        else
            FOutline->EndUpdate();
    }

private:
    TCustomOutline* FOutline;
};

// ---- TOutlineNode ----------------------------------------------------------------------------

TOutlineNode::TOutlineNode(TCustomOutline* Outline, TOutlineNode* Parent) : FOutline(Outline), FParent(Parent) {}

void TOutlineNode::SetText(const std::string& Value)
{
    if (FText == Value) return;
    FText = Value;
    FOutline->Invalidate();
}

int TOutlineNode::GetLevel() const
{
    int level = 0;
    for (const TOutlineNode* n = this; n->FParent; n = n->FParent) ++level;
    return level;
}

TOutlineNode* TOutlineNode::GetParent() const
{
    return FParent && FParent->FParent ? FParent : nullptr;
}

int TOutlineNode::GetIndex() const
{
    FOutline->Rebuild();
    return FIndex;
}

std::string TOutlineNode::GetFullPath() const
{
    std::string path = FText;
    for (const TOutlineNode* n = GetParent(); n; n = n->GetParent()) path = n->FText + FOutline->FItemSeparator + path;
    return path;
}

bool TOutlineNode::GetIsVisible() const
{
    for (const TOutlineNode* n = GetParent(); n; n = n->GetParent())
        if (!n->FExpanded) return false;
    return true;
}

int TOutlineNode::GetTopItem() const
{
    const TOutlineNode* n = this;
    while (n->GetParent()) n = n->GetParent();
    return n->GetIndex();
}

void TOutlineNode::SetExpanded(bool Value)
{
    // Only items that hold items open or close.
    if (FExpanded == Value || FChildren.empty()) return;
    FExpanded = Value;
    FOutline->ExpandedChanged(this);
}

void TOutlineNode::FullExpand()
{
    FOutline->BeginUpdate();
    Expand();
    for (TOutlineNode* c : FChildren) c->FullExpand();
    FOutline->EndUpdate();
}

void TOutlineNode::FullCollapse()
{
    FOutline->BeginUpdate();
    for (TOutlineNode* c : FChildren) c->FullCollapse();
    Collapse();
    FOutline->EndUpdate();
}

int TOutlineNode::getFirstChild() const { return FChildren.empty() ? -1 : FChildren.front()->GetIndex(); }

int TOutlineNode::getLastChild() const { return FChildren.empty() ? -1 : FChildren.back()->GetIndex(); }

int TOutlineNode::getNextChild(int Value) const
{
    for (size_t i = 0; i + 1 < FChildren.size(); ++i)
        if (FChildren[i]->GetIndex() == Value) return FChildren[i + 1]->GetIndex();
    return -1;
}

int TOutlineNode::getPrevChild(int Value) const
{
    for (size_t i = 1; i < FChildren.size(); ++i)
        if (FChildren[i]->GetIndex() == Value) return FChildren[i - 1]->GetIndex();
    return -1;
}

// ---- TCustomOutline: items ---------------------------------------------------------------------

TCustomOutline::TCustomOutline(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle += csOpaque;
    FControlStyle += csDoubleClicks;
    FControlStyle += csClickEvents;
    FControlStyle += csCaptureMouse;
    FRoot = std::make_unique<TOutlineNode>(this, nullptr);
    FRoot->FExpanded = true;
    FLines = std::make_unique<TOutlineStrings>(this);
    for (auto& picture : FPictures) {
        picture = std::make_unique<TBitmap>();
        picture->OnChange = TNotifyEvent(this, &TCustomOutline::PictureChanged);
    }
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
}

void TCustomOutline::Destroy()
{
    inherited::Destroy();
    for (TOutlineNode* c : FRoot->FChildren) FreeNode(c);
    FRoot->FChildren.clear();
}


TOutlineNode* TCustomOutline::NodeOf(int Index)
{
    Rebuild();
    if (Index == 0) return FRoot.get();
    if (Index < 0 || Index > int(FAll.size())) InvalidIndex(Index);
    return FAll[Index - 1];
}

TOutlineNode* TCustomOutline::GetItem(int Index)
{
    if (Index == 0) InvalidIndex(Index);
    return NodeOf(Index);
}

int TCustomOutline::GetItemCount()
{
    Rebuild();
    return int(FAll.size());
}

// The item that a new last item of Level hangs from: the last item of the
// level above. Levels may only go one deeper than the line before.
TOutlineNode* TCustomOutline::ParentFor(int Level)
{
    TOutlineNode* parent = FRoot.get();
    for (int l = 1; l < Level; ++l) {
        if (parent->FChildren.empty())
            throw EOutlineError("Outline level " + IntToStr(Level) + " has no item above it");
        parent = parent->FChildren.back();
    }
    return parent;
}

TOutlineNode* TCustomOutline::Attach(TOutlineNode* Parent, int Position, const std::string& Text, void* Data)
{
    auto* node = new TOutlineNode(this, Parent);
    node->FText = Text;
    node->FData = Data;
    auto& list = Parent->FChildren;
    if (Position < 0 || Position > int(list.size())) Position = int(list.size());
    list.insert(list.begin() + Position, node);
    Changed();
    return node;
}

int TCustomOutline::Add(int Index, const std::string& Text) { return AddObject(Index, Text, nullptr); }

int TCustomOutline::AddObject(int Index, const std::string& Text, void* Data)
{
    TOutlineNode* node = NodeOf(Index);
    return Attach(node == FRoot.get() ? node : node->FParent, -1, Text, Data)->GetIndex();
}

int TCustomOutline::AddChild(int Index, const std::string& Text) { return AddChildObject(Index, Text, nullptr); }

int TCustomOutline::AddChildObject(int Index, const std::string& Text, void* Data)
{
    return Attach(NodeOf(Index), -1, Text, Data)->GetIndex();
}

int TCustomOutline::Insert(int Index, const std::string& Text) { return InsertObject(Index, Text, nullptr); }

int TCustomOutline::InsertObject(int Index, const std::string& Text, void* Data)
{
    TOutlineNode* node = NodeOf(Index);
    if (node == FRoot.get()) return Attach(node, -1, Text, Data)->GetIndex();
    auto& siblings = node->FParent->FChildren;
    int position = int(std::find(siblings.begin(), siblings.end(), node) - siblings.begin());
    return Attach(node->FParent, position, Text, Data)->GetIndex();
}

void TCustomOutline::FreeNode(TOutlineNode* Node)
{
    for (TOutlineNode* c : Node->FChildren) FreeNode(c);
    if (FSelected == Node) FSelected = nullptr;
    delete Node;
}

void TCustomOutline::Delete(int Index)
{
    TOutlineNode* node = GetItem(Index);
    int row = VisibleRowOf(FSelected);
    bool selectionGoes = false;
    for (TOutlineNode* n = FSelected; n; n = n->FParent) selectionGoes |= n == node;
    auto& siblings = node->FParent->FChildren;
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));
    FreeNode(node);
    Changed();
    // The selection falls to the row that takes the removed one's place.
    if (selectionGoes && row >= 0) {
        Rebuild();
        if (!FVisible.empty()) FSelected = FVisible[std::min(row, int(FVisible.size()) - 1)];
    }
}

void TCustomOutline::Clear()
{
    for (TOutlineNode* c : FRoot->FChildren) FreeNode(c);
    FRoot->FChildren.clear();
    FSelected = nullptr;
    FTopRow = 0;
    Changed();
}

void TCustomOutline::MoveTo(int Index, int Destination, TAttachMode Mode)
{
    TOutlineNode* node = GetItem(Index);
    TOutlineNode* dest = NodeOf(Destination);
    for (TOutlineNode* n = dest; n; n = n->FParent)
        if (n == node) throw EOutlineError("Cannot move an outline item below itself");
    auto& from = node->FParent->FChildren;
    from.erase(std::find(from.begin(), from.end(), node));
    TOutlineNode* parent = Mode == oaAddChild || dest == FRoot.get() ? dest : dest->FParent;
    int position = -1;
    if (Mode == oaInsert && dest != FRoot.get())
        position = int(std::find(parent->FChildren.begin(), parent->FChildren.end(), dest) - parent->FChildren.begin());
    node->FParent = parent;
    auto& to = parent->FChildren;
    to.insert(position < 0 ? to.end() : to.begin() + position, node);
    Changed();
}

int TCustomOutline::GetTextItem(const std::string& Text)
{
    Rebuild();
    for (TOutlineNode* n : FAll)
        if (n->FText == Text) return n->FIndex;
    return 0;
}

int TCustomOutline::GetDataItem(void* Data)
{
    Rebuild();
    for (TOutlineNode* n : FAll)
        if (n->FData == Data) return n->FIndex;
    return 0;
}

void TCustomOutline::FullExpand()
{
    BeginUpdate();
    for (TOutlineNode* c : FRoot->FChildren) c->FullExpand();
    EndUpdate();
}

void TCustomOutline::FullCollapse()
{
    BeginUpdate();
    for (TOutlineNode* c : FRoot->FChildren) c->FullCollapse();
    EndUpdate();
}

void TCustomOutline::BeginUpdate() { ++FUpdateCount; }

void TCustomOutline::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCustomOutline::Changed()
{
    FDirty = true;
    if (FUpdateCount > 0) return;
    Rebuild();
    UpdateScrollBar();
    Invalidate();
}

// Numbers every item in outline order and lists the rows that show.
void TCustomOutline::Rebuild()
{
    if (!FDirty) return;
    FDirty = false;
    FAll.clear();
    FVisible.clear();
    auto walk = [&](auto&& self, TOutlineNode* Parent, bool Shown) -> void {
        for (TOutlineNode* n : Parent->FChildren) {
            FAll.push_back(n);
            n->FIndex = int(FAll.size());
            n->FRow = Shown ? int(FVisible.size()) : -1;
            if (Shown) FVisible.push_back(n);
            self(self, n, Shown && n->FExpanded);
        }
    };
    walk(walk, FRoot.get(), true);
    FTopRow = std::clamp(FTopRow, 0, std::max(0, int(FVisible.size()) - 1));
}

void TCustomOutline::ExpandedChanged(TOutlineNode* Node)
{
    // A collapsed item hides the selection inside it: the item takes it.
    if (!Node->FExpanded)
        for (TOutlineNode* n = FSelected ? FSelected->FParent : nullptr; n; n = n->FParent)
            if (n == Node) FSelected = Node;
    Changed();
    int index = Node->GetIndex();
    if (Node->FExpanded)
        OnExpand(this, index);
    else
        OnCollapse(this, index);
}

// ---- Text form -------------------------------------------------------------------------------

void TCustomOutline::SetLines(TStrings* Value) { FLines->Assign(Value); }

// Checks every line's level before anything changes: a bad file leaves the
// outline as it was.
void TCustomOutline::SetLinesText(const std::string& Text)
{
    auto lines = std::make_unique<TStringList>();
    lines->SetText(Text);
    std::vector<std::pair<int, std::string>> parsed;
    int previous = 0;
    for (int i = 0; i < lines->GetCount(); ++i) {
        std::string text;
        int level = LevelOfLine(lines->GetStrings(i), text);
        if (level > previous + 1)
            throw EOutlineError("Outline line " + IntToStr(i + 1) + " is indented more than one level below the line before it");
        parsed.emplace_back(level, text);
        previous = level;
    }
    BeginUpdate();
    try {
        Clear();
        for (const auto& [level, text] : parsed) Attach(ParentFor(level), -1, text, nullptr);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCustomOutline::LoadFromStream(TStream* Stream)
{
    auto lines = std::make_unique<TStringList>();
    lines->LoadFromStream(Stream);
    SetLinesText(lines->GetText());
}

void TCustomOutline::LoadFromFile(const std::string& FileName)
{
    auto lines = std::make_unique<TStringList>();
    lines->LoadFromFile(FileName);
    SetLinesText(lines->GetText());
}

void TCustomOutline::SaveToStream(TStream* Stream) { FLines->SaveToStream(Stream); }

void TCustomOutline::SaveToFile(const std::string& FileName) { FLines->SaveToFile(FileName); }

} // namespace host
