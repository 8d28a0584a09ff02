#pragma once
// The tree view: nodes with captions, images and children, lines and
// buttons that open and close them, keyboard navigation, and captions the
// user edits in place (F2, or a second slow click on the selected node).
// Every change of selection, expansion and caption asks the program first
// (OnChanging, OnExpanding, OnCollapsing, OnEditing) and tells it after.
// Only the rows in view are painted.
#include <memory>
#include <string>
#include <vector>

#include "host/vcl/Controls.h"
#include "host/vcl/ImgList.h"
#include "host/vcl/StdEdit.h"

namespace host {

class TTreeNodes;
class TCustomTreeView;

HOST_ENUM(TNodeAttachMode, naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert)

class TTreeNode : public TPersistent {
    HOST_CLASS(TTreeNode, TPersistent)
public:
    TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent);

    const std::string& GetText() const { return FText; }
    void SetText(const std::string& Value);
    void* GetData() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    // Roots are level 0.
    int GetLevel() const;
    TTreeNode* GetParent() const { return FParent; }
    int GetCount() const { return int(FChildren.size()); }
    TTreeNode* GetItem(int Index) const;
    // The position among its siblings.
    int GetIndex() const;
    // The position in the whole tree, counting every node before it.
    int GetAbsoluteIndex() const;
    bool GetExpanded() const { return FExpanded; }
    void SetExpanded(bool Value);
    bool GetSelected() const;
    void SetSelected(bool Value);
    bool GetFocused() const { return GetSelected(); }
    void SetFocused(bool Value) { SetSelected(Value); }
    // True with children, or when set to show a button before the children
    // are there (they may be added in OnExpanding).
    bool GetHasChildren() const { return FHasChildren || !FChildren.empty(); }
    void SetHasChildren(bool Value);
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    int GetSelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int Value);
    // Whether every node above it is expanded.
    bool GetIsVisible() const;
    // The node list it belongs to.
    TTreeNodes* GetNodes() const { return FOwner; }
    TCustomTreeView* GetTreeView() const;

    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    // Expands the nodes above it and scrolls it into view.
    void MakeVisible();
    // Starts editing the caption; false when the view refuses.
    bool EditText();
    // Frees the node with its children.
    void Delete();
    void DeleteChildren();
    bool HasAsParent(TTreeNode* Value) const;
    void MoveTo(TTreeNode* Destination, TNodeAttachMode Mode);
    // The node's row (or with TextOnly its caption) in client coordinates;
    // empty when it is not in view.
    TRect DisplayRect(bool TextOnly) const;

    TTreeNode* getFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
    TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }
    TTreeNode* getNextSibling() const;
    TTreeNode* getPrevSibling() const;
    // The next node in tree order (children first), or nullptr.
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    TTreeNode* GetNextVisible() const;
    TTreeNode* GetPrevVisible() const;

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    std::vector<TTreeNode*>& Siblings() const;

    TTreeNodes* FOwner;
    TTreeNode* FParent;
    std::vector<TTreeNode*> FChildren;
    std::string FText;
    void* FData = nullptr;
    int FImageIndex = -1;
    int FSelectedIndex = -1;
    bool FExpanded = false;
    bool FHasChildren = false;
    int FRow = -1;  // the row it shows in, -1 when hidden; set when the view lists its rows
};

class TTreeNodes : public TPersistent {
    HOST_CLASS(TTreeNodes, TPersistent)
public:
    explicit TTreeNodes(TCustomTreeView* AOwner);
    ~TTreeNodes() override;
    void Assign(TPersistent* Source) override;

    // Node's last sibling (a last root for nullptr).
    TTreeNode* Add(TTreeNode* Node, const std::string& S);
    TTreeNode* AddObject(TTreeNode* Node, const std::string& S, void* Ptr);
    // Node's first sibling (the first root for nullptr).
    TTreeNode* AddFirst(TTreeNode* Node, const std::string& S);
    TTreeNode* AddChild(TTreeNode* Node, const std::string& S);
    TTreeNode* AddChildObject(TTreeNode* Node, const std::string& S, void* Ptr);
    TTreeNode* AddChildFirst(TTreeNode* Node, const std::string& S);
    // Before Node (a last root for nullptr).
    TTreeNode* Insert(TTreeNode* Node, const std::string& S);
    TTreeNode* InsertObject(TTreeNode* Node, const std::string& S, void* Ptr);
    void Delete(TTreeNode* Node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    // Every node in the tree.
    int GetCount() const;
    // Node Index in tree order.
    TTreeNode* GetItem(int Index) const;
    TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }
    TCustomTreeView* GetTreeView() const { return FOwner; }

protected:
    void DefineProperties(TFiler* Filer) override;

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    TTreeNode* InternalAdd(TTreeNode* Parent, int Position, const std::string& S, void* Ptr);
    void FreeNode(TTreeNode* Node);
    void Changed();
    void ReadData(TStream* Stream);
    void WriteData(TStream* Stream);

    TCustomTreeView* FOwner;
    std::vector<TTreeNode*> FRoots;
    int FUpdateCount = 0;
};

using TTVChangingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = TEvent<void(TObject* Sender, TTreeNode* Node, std::string& S)>;
using TTVExpandingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;

class TCustomTreeView : public TCustomControl {
    HOST_CLASS(TCustomTreeView, TCustomControl)
    HOST_MESSAGES(TCustomTreeView)
public:
    explicit TCustomTreeView(TComponent* AOwner);

    TTreeNodes* GetItems() const { return FNodes.get(); }
    void SetItems(TTreeNodes* Value) { FNodes->Assign(Value); }
    TTreeNode* GetSelected() const { return FSelected; }
    // Asks OnChanging; a refused change keeps the old selection.
    void SetSelected(TTreeNode* Value);
    TTreeNode* GetTopItem() const;
    TTreeNode* GetNodeAt(int X, int Y);
    bool IsEditing() const;
    // Ends an edit in progress, keeping the typed caption unless Cancel.
    void EndEdit(bool Cancel);
    void FullExpand();
    void FullCollapse();
    TEdit* GetEditControl() const { return FEdit; }

    bool GetShowLines() const { return FShowLines; }
    void SetShowLines(bool Value);
    bool GetShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool Value);
    bool GetShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool Value);
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool GetHideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    int GetIndent() const { return FIndent; }
    void SetIndent(int Value);
    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);

    // Where a node's button sits, empty when it has none or is out of view.
    TRect ButtonRect(const TTreeNode* Node);

    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVExpandedEvent OnDeletion;

protected:
    friend class TTreeNode;
    friend class TTreeNodes;
    friend class TTreeViewEdit;
    void Destroy() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void Resize() override;
    virtual bool CanEdit(TTreeNode* Node);
    virtual bool CanChange(TTreeNode* Node);
    virtual bool CanExpand(TTreeNode* Node);
    virtual bool CanCollapse(TTreeNode* Node);
    void WMVScroll(TMessage& Message);
    void WMMouseWheel(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMTimer(TMessage& Message);

private:
    void StructureChanged();
    void Rebuild() const;
    int RowOf(const TTreeNode* Node) const;
    int VisibleRows();
    void SetTopRow(int Value);
    void MakeRowVisible(int Row);
    void SelectRow(int Row);
    int NodeLeft(const TTreeNode* Node) const;
    int TextLeft(const TTreeNode* Node) const;
    TRect RowRect(int Row) const;
    TRect TextRect(const TTreeNode* Node);
    void NodeRemoved(TTreeNode* Node);
    bool StartEdit(TTreeNode* Node);
    void UpdateScrollBar();
    void PaintRow(TCanvas* C, const TTreeNode* Node, const TRect& Row);
    void PaintLines(TCanvas* C, const TTreeNode* Node, const TRect& Row);

    std::unique_ptr<TTreeNodes> FNodes;
    mutable std::vector<TTreeNode*> FRows;  // the nodes that show, top to bottom
    mutable bool FDirty = true;
    TTreeNode* FSelected = nullptr;
    TTreeNode* FEditing = nullptr;
    TTreeNode* FSlowClickNode = nullptr;
    TEdit* FEdit = nullptr;
    TCustomImageList* FImages = nullptr;
    int FTopRow = 0;
    int FIndent = 19;
    int FItemHeight = 18;
    bool FShowLines = true;
    bool FShowButtons = true;
    bool FShowRoot = true;
    bool FReadOnly = false;
    bool FHideSelection = true;
    bool FButtonDown = false;  // the last press was on a button
    TBorderStyle FBorderStyle = bsSingle;
};

class TTreeView : public TCustomTreeView {
    HOST_CLASS(TTreeView, TCustomTreeView)
public:
    explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
};

} // namespace host
