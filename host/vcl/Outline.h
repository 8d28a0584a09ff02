#pragma once
// The outline: a list of items at levels, each of which may hold items of
// the next level and be expanded (its items show) or collapsed. Items are
// numbered from 1 in outline order, collapsed or not; 0 is no item. Lines
// gives every item's text preceded by one tab per level below the top, the
// form LoadFromFile reads.
#include <memory>
#include <string>
#include <vector>

#include "host/rtl/Strings.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/Controls.h"

namespace host {

HOST_ENUM(TOutlineStyle, osText, osPlusMinusText, osPictureText, osPlusMinusPictureText, osTreeText,
          osTreePictureText)
HOST_ENUM(TOutlineOption, ooDrawTreeRoot, ooDrawFocusRect, ooStretchBitmaps)
using TOutlineOptions = TSet<TOutlineOption>;
HOST_ENUM(TOutlineType, otStandard, otOwnerDraw)
HOST_ENUM(TAttachMode, oaAdd, oaAddChild, oaInsert)

HOST_DECLARE_EXCEPTION(EOutlineError, Exception);

using TOutlineEvent = TEvent<void(TObject* Sender, int Index)>;
using TOutlineDrawItemEvent = TEvent<void(TObject* Sender, int Index, TRect Rect, bool Selected)>;

class TCustomOutline;

class TOutlineNode : public TPersistent {
    HOST_CLASS(TOutlineNode, TPersistent)
public:
    TOutlineNode(TCustomOutline* Outline, TOutlineNode* Parent);

    const std::string& GetText() const { return FText; }
    void SetText(const std::string& Value);
    void* GetData() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    // Top-level items are level 1.
    int GetLevel() const;
    bool GetExpanded() const { return FExpanded; }
    void SetExpanded(bool Value);
    bool GetHasItems() const { return !FChildren.empty(); }
    // nullptr for a top-level item.
    TOutlineNode* GetParent() const;
    // The item's number in the outline (from 1).
    int GetIndex() const;
    // The texts from the top level down to this item, joined by the
    // outline's ItemSeparator.
    std::string GetFullPath() const;
    // Whether every item above it is expanded.
    bool GetIsVisible() const;
    // The number of this item's top-level ancestor (itself at the top).
    int GetTopItem() const;
    int GetChildCount() const { return int(FChildren.size()); }
    TOutlineNode* GetChild(int Index) const { return FChildren.at(Index); }

    void Expand() { SetExpanded(true); }
    void Collapse() { SetExpanded(false); }
    // This item and every item below it.
    void FullExpand();
    void FullCollapse();
    // Numbers of related items; -1 when there is none.
    int getFirstChild() const;
    int getLastChild() const;
    int getNextChild(int Value) const;
    int getPrevChild(int Value) const;

private:
    friend class TCustomOutline;
    TCustomOutline* FOutline;
    TOutlineNode* FParent;  // the outline's hidden root for top-level items
    std::vector<TOutlineNode*> FChildren;
    std::string FText;
    void* FData = nullptr;
    bool FExpanded = false;
    int FIndex = 0;  // set when the outline renumbers
    int FRow = -1;   // the row it shows in, -1 when hidden; set with FIndex
};

class TCustomOutline : public TCustomControl {
    HOST_CLASS(TCustomOutline, TCustomControl)
    HOST_MESSAGES(TCustomOutline)
public:
    explicit TCustomOutline(TComponent* AOwner);

    // Adds Text as the last item of Index's level (top level for 0); the
    // new item's number.
    int Add(int Index, const std::string& Text);
    int AddObject(int Index, const std::string& Text, void* Data);
    // Adds Text as the last item below Index (top level for 0).
    int AddChild(int Index, const std::string& Text);
    int AddChildObject(int Index, const std::string& Text, void* Data);
    // Inserts Text before Index at its level (appends at the top level for 0).
    int Insert(int Index, const std::string& Text);
    int InsertObject(int Index, const std::string& Text, void* Data);
    // Removes Index with every item below it.
    void Delete(int Index);
    void Clear();
    // Moves Index (with its items) to Destination by Mode.
    void MoveTo(int Index, int Destination, TAttachMode Mode);

    TOutlineNode* GetItem(int Index);
    int GetItemCount();
    // The item at a client point, or 0.
    int GetItemAt(int X, int Y);
    // The first item with that text or that data, or 0.
    int GetTextItem(const std::string& Text);
    int GetDataItem(void* Data);
    int GetSelectedItem() const { return FSelected ? FSelected->GetIndex() : 0; }
    void SetSelectedItem(int Value);
    void FullExpand();
    void FullCollapse();
    void BeginUpdate();
    void EndUpdate();
    void LoadFromFile(const std::string& FileName);
    void LoadFromStream(TStream* Stream);
    void SaveToFile(const std::string& FileName);
    void SaveToStream(TStream* Stream);
    // The rectangle of Index's row when it is visible; empty otherwise.
    TRect ItemRect(int Index);
    // Where Index's plus/minus box (or picture) sits, empty when it has none.
    TRect ButtonRect(int Index);
    int GetTopRow() const { return FTopRow; }
    void SetTopRow(int Value);

    TStrings* GetLines() const { return FLines.get(); }
    void SetLines(TStrings* Value);
    const std::string& GetItemSeparator() const { return FItemSeparator; }
    void SetItemSeparator(const std::string& Value) { FItemSeparator = Value; }
    TOutlineStyle GetOutlineStyle() const { return FOutlineStyle; }
    void SetOutlineStyle(TOutlineStyle Value);
    TOutlineOptions GetOptions() const { return FOptions; }
    void SetOptions(TOutlineOptions Value);
    TOutlineType GetStyle() const { return FStyle; }
    void SetStyle(TOutlineType Value);
    int GetItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    // The pictures of the picture styles; while one is empty the outline
    // draws its own (a plus or minus box, an open or closed folder, a sheet).
    TBitmap* GetPicturePlus() const { return FPictures[0].get(); }
    void SetPicturePlus(TBitmap* Value) { SetPicture(0, Value); }
    TBitmap* GetPictureMinus() const { return FPictures[1].get(); }
    void SetPictureMinus(TBitmap* Value) { SetPicture(1, Value); }
    TBitmap* GetPictureOpen() const { return FPictures[2].get(); }
    void SetPictureOpen(TBitmap* Value) { SetPicture(2, Value); }
    TBitmap* GetPictureClosed() const { return FPictures[3].get(); }
    void SetPictureClosed(TBitmap* Value) { SetPicture(3, Value); }
    TBitmap* GetPictureLeaf() const { return FPictures[4].get(); }
    void SetPictureLeaf(TBitmap* Value) { SetPicture(4, Value); }

    TOutlineEvent OnExpand;
    TOutlineEvent OnCollapse;
    TOutlineDrawItemEvent OnDrawItem;

protected:
    friend class TOutlineNode;
    friend class TOutlineStrings;
    void Destroy() override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void Resize() override;
    virtual void DrawItem(int Index, const TRect& Rect, bool Selected);
    void WMVScroll(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMMouseWheel(TMessage& Message);

private:
    TOutlineNode* NodeOf(int Index);
    TOutlineNode* ParentFor(int Index);
    TOutlineNode* Attach(TOutlineNode* Parent, int Position, const std::string& Text, void* Data);
    void FreeNode(TOutlineNode* Node);
    void Changed();
    void Rebuild();
    void ExpandedChanged(TOutlineNode* Node);
    int VisibleRows();
    int VisibleRowOf(const TOutlineNode* Node);
    void MakeRowVisible(int Row);
    void SelectRow(int Row);
    void UpdateScrollBar();
    bool IsTreeStyle() const;
    bool HasPlusMinus() const;
    bool HasPicture() const;
    int ContentLeft(const TOutlineNode* Node) const;
    void PaintTreeLines(TCanvas* C, const TOutlineNode* Node, const TRect& Row);
    void PaintButton(TCanvas* C, const TRect& Box, bool Expanded);
    void ToggleNode(TOutlineNode* Node);
    void SetLinesText(const std::string& Text);
    void SetPicture(int Which, TBitmap* Value);
    void PictureChanged(TObject* Sender);
    // Draws Picture in the 16-pixel cell at (X, Y); false when it is empty.
    bool DrawPicture(TCanvas* C, TBitmap* Picture, int X, int Y, int CellHeight);

    std::unique_ptr<TOutlineNode> FRoot;
    std::unique_ptr<TStrings> FLines;
    std::vector<TOutlineNode*> FAll;      // outline order; FAll[i] is item i + 1
    std::vector<TOutlineNode*> FVisible;  // the rows, top to bottom
    bool FDirty = false;
    int FUpdateCount = 0;
    TOutlineNode* FSelected = nullptr;
    int FTopRow = 0;
    std::string FItemSeparator = "\\";
    TOutlineStyle FOutlineStyle = osTreePictureText;
    TOutlineOptions FOptions{ooDrawTreeRoot, ooDrawFocusRect};
    TOutlineType FStyle = otStandard;
    int FItemHeight = 17;
    TBorderStyle FBorderStyle = bsSingle;
    bool FButtonDown = false;  // the last press was on a button
    std::unique_ptr<TBitmap> FPictures[5];  // plus, minus, open, closed, leaf
};

class TOutline : public TCustomOutline {
    HOST_CLASS(TOutline, TCustomOutline)
public:
    explicit TOutline(TComponent* AOwner) : TCustomOutline(AOwner) {}
};

} // namespace host
