#pragma once
// Panels: one with bevels on any of its four edges, a status bar that shows
// hints, a panel the user moves and sizes with the mouse, and a panel that
// lays its children out in a grid of equal cells.
#include <cstdint>
#include <string>

#include "general/Kelutilg.h"
#include "host/vcl/ComCtrls.h"
#include "host/vcl/ExtPanels.h"

namespace kel {

// ---- Edge panel --------------------------------------------------------------------------------

class TCustomEdgePanel : public host::TCustomPanel {
    HOST_CLASS(TCustomEdgePanel, host::TCustomPanel)
public:
    explicit TCustomEdgePanel(host::TComponent* AOwner);

    host::TNotifyEvent OnResize;

protected:
    // With all four edges this is a plain panel's painting.
    void Paint() override;
    void Resize() override;

    TBevelEdges GetBevelEdges() const { return FBevelEdges; }
    void SetBevelEdges(TBevelEdges Value);

private:
    void PaintCaption(host::TRect R);

    TBevelEdges FBevelEdges = AllBevelEdges;
};

class TEdgePanel : public TCustomEdgePanel {
    HOST_CLASS(TEdgePanel, TCustomEdgePanel)
public:
    explicit TEdgePanel(host::TComponent* AOwner) : TCustomEdgePanel(AOwner) {}
    using TCustomEdgePanel::GetBevelEdges;
    using TCustomEdgePanel::SetBevelEdges;
    using TCustomPanel::GetAlignment;
    using TCustomPanel::GetBevelInner;
    using TCustomPanel::GetBevelOuter;
    using TCustomPanel::GetBevelWidth;
    using TCustomPanel::GetBorderStyle;
    using TCustomPanel::GetBorderWidth;
    using TCustomPanel::GetLocked;
    using TCustomPanel::SetAlignment;
    using TCustomPanel::SetBevelInner;
    using TCustomPanel::SetBevelOuter;
    using TCustomPanel::SetBevelWidth;
    using TCustomPanel::SetBorderStyle;
    using TCustomPanel::SetBorderWidth;
    using TCustomPanel::SetLocked;
};

// ---- Hint bar ----------------------------------------------------------------------------------

// Shows the application's current hint, or with ShowActiveControl the long
// hint (after "|") of the focused control, between HintPrefix and HintSuffix.
// It hooks Application->OnHint and Screen->OnActiveControlChange and calls the
// handlers it replaced.
class THintBar : public host::TStatusBar {
    HOST_CLASS(THintBar, host::TStatusBar)
    HOST_MESSAGES(THintBar)
public:
    explicit THintBar(host::TComponent* AOwner);

    const std::string& GetHintPrefix() const { return FHintPrefix; }
    void SetHintPrefix(const std::string& Value);
    const std::string& GetHintSuffix() const { return FHintSuffix; }
    void SetHintSuffix(const std::string& Value);
    bool GetShowActiveControl() const { return FShowActiveControl; }
    void SetShowActiveControl(bool Value);
    bool GetShowEmpty() const { return FShowEmpty; }
    void SetShowEmpty(bool Value);

    host::TNotifyEvent OnActiveControlChange;
    host::TNotifyEvent OnHint;

protected:
    void Destroy() override;
    void UpdateText();
    void CMEnabledChanged(host::TMessage& Message);

private:
    void AppHint(host::TObject* Sender);
    void ActiveControlChange(host::TObject* Sender);
    // Takes this bar's handlers out of the application and the screen, and
    // out of the saved handlers of bars installed after it.
    void Uninstall();

    std::string FHintText;
    std::string FHintPrefix;
    std::string FHintSuffix;
    host::TNotifyEvent FSavedAppHint;
    host::TNotifyEvent FSavedActiveControlChange;
    bool FShowActiveControl = false;
    bool FShowEmpty = false;
};

// ---- Drag panel --------------------------------------------------------------------------------

HOST_ENUM(TSizeMoveOption, smMove, smMoveInParent, smSizeLeft, smSizeRight, smSizeTop, smSizeBottom)
using TSizeMoveOptions = host::TSet<TSizeMoveOption>;
inline const TSizeMoveOptions AllSizeMoveOptions{smMove, smMoveInParent, smSizeLeft, smSizeRight, smSizeTop,
                                                 smSizeBottom};

// Moved by dragging anywhere inside it, sized by dragging its frame, both
// through the window system's move and size loop and within the limits.
class TCustomDragPanel : public TEdgePanel {
    HOST_CLASS(TCustomDragPanel, TEdgePanel)
    HOST_MESSAGES(TCustomDragPanel)
public:
    explicit TCustomDragPanel(host::TComponent* AOwner);
    // The limits widen to contain the new bounds.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    host::TNotifyEvent OnMove;
    host::TNotifyEvent OnSize;

protected:
    void CreateParams(host::TCreateParams& Params) override;
    void MouseDown(host::TMouseButton Button, host::TShiftState Shift, int X, int Y) override;

    void WMNCHitTest(host::TMessage& Message);
    void WMGetMinMaxInfo(host::TMessage& Message);
    void WMWindowPosChanging(host::TMessage& Message);
    void WMMove(host::TMessage& Message);
    void WMSize(host::TMessage& Message);
    void WMEnterSizeMove(host::TMessage& Message);
    void WMExitSizeMove(host::TMessage& Message);

    bool GetMSLocked() const { return FMSLocked; }
    void SetMSLocked(bool Value) { FMSLocked = Value; }
    int GetMoveMaxLeft() const { return FMoveMaxLeft; }
    void SetMoveMaxLeft(int Value);
    int GetMoveMaxTop() const { return FMoveMaxTop; }
    void SetMoveMaxTop(int Value);
    int GetMoveMinLeft() const { return FMoveMinLeft; }
    void SetMoveMinLeft(int Value);
    int GetMoveMinTop() const { return FMoveMinTop; }
    void SetMoveMinTop(int Value);
    TSizeMoveOptions GetOptions() const { return FOptions; }
    void SetOptions(TSizeMoveOptions Value);
    int GetSizeMaxHeight() const { return FSizeMaxHeight; }
    void SetSizeMaxHeight(int Value);
    int GetSizeMaxWidth() const { return FSizeMaxWidth; }
    void SetSizeMaxWidth(int Value);
    int GetSizeMinHeight() const { return FSizeMinHeight; }
    void SetSizeMinHeight(int Value);
    int GetSizeMinWidth() const { return FSizeMinWidth; }
    void SetSizeMinWidth(int Value);

private:
    bool Loading() const;
    bool LimitsFollowBounds() const;
    // Which frame edges may be dragged, given Options and Align.
    bool EdgeAllowed(TSizeMoveOption Edge) const;
    host::LRESULT AllowedHit(host::LRESULT Hit) const;
    void ClampToParent(host::WINDOWPOS& Pos, int Width, int Height) const;

    bool FMSLocked = false;
    int FMoveMaxLeft = 0;
    int FMoveMaxTop = 0;
    int FMoveMinLeft = 0;
    int FMoveMinTop = 0;
    bool FMoving = false;
    bool FSizing = false;
    bool FInSizeMove = false;
    TSizeMoveOptions FOptions = AllSizeMoveOptions;
    int FSizeMaxHeight = 0;
    int FSizeMaxWidth = 0;
    int FSizeMinHeight = 30;
    int FSizeMinWidth = 30;
};

class TDragPanel : public TCustomDragPanel {
    HOST_CLASS(TDragPanel, TCustomDragPanel)
public:
    explicit TDragPanel(host::TComponent* AOwner) : TCustomDragPanel(AOwner) {}
    using TCustomDragPanel::GetMoveMaxLeft;
    using TCustomDragPanel::GetMoveMaxTop;
    using TCustomDragPanel::GetMoveMinLeft;
    using TCustomDragPanel::GetMoveMinTop;
    using TCustomDragPanel::GetMSLocked;
    using TCustomDragPanel::GetOptions;
    using TCustomDragPanel::GetSizeMaxHeight;
    using TCustomDragPanel::GetSizeMaxWidth;
    using TCustomDragPanel::GetSizeMinHeight;
    using TCustomDragPanel::GetSizeMinWidth;
    using TCustomDragPanel::SetMoveMaxLeft;
    using TCustomDragPanel::SetMoveMaxTop;
    using TCustomDragPanel::SetMoveMinLeft;
    using TCustomDragPanel::SetMoveMinTop;
    using TCustomDragPanel::SetMSLocked;
    using TCustomDragPanel::SetOptions;
    using TCustomDragPanel::SetSizeMaxHeight;
    using TCustomDragPanel::SetSizeMaxWidth;
    using TCustomDragPanel::SetSizeMinHeight;
    using TCustomDragPanel::SetSizeMinWidth;
};

// ---- Speed panel -------------------------------------------------------------------------------

using TPosInt = int32_t;

// Fits N cells into a grid given a requested count X of columns (or rows);
// returns the other count and adjusts X. With Grow, a count that does not
// divide evenly grows X rather than shrinking it.
int FitGrid(int N, int& X, bool Grow);

class TCustomSpeedPanel : public TCustomEdgePanel {
    HOST_CLASS(TCustomSpeedPanel, TCustomEdgePanel)
public:
    explicit TCustomSpeedPanel(host::TComponent* AOwner);

    // Lays the children out in the grid and sizes the panel round it.
    virtual void AlignControlRows();
    // Puts the children in order of their top, then left position.
    void SortControls();

    void SetAlign(host::TAlign Value);

protected:
    void Loaded() override;
    void AlignControls(host::TControl* AControl, host::TRect& Rect) override;

    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TPosInt GetCtrlCols() const { return FCtrlCols; }
    void SetCtrlCols(TPosInt Value);
    TPosInt GetCtrlRows() const { return FCtrlRows; }
    void SetCtrlRows(TPosInt Value);
    TPosInt GetCtrlHeight() const { return FCtrlHeight; }
    void SetCtrlHeight(TPosInt Value);
    TPosInt GetCtrlWidth() const { return FCtrlWidth; }
    void SetCtrlWidth(TPosInt Value);
    bool GetInsertCols() const { return FInsertCols; }
    void SetInsertCols(bool Value) { FInsertCols = Value; }
    int GetMarginCol() const { return FMarginCol; }
    void SetMarginCol(int Value);
    int GetMarginH() const { return FMarginH; }
    void SetMarginH(int Value);
    int GetMarginRow() const { return FMarginRow; }
    void SetMarginRow(int Value);
    int GetMarginV() const { return FMarginV; }
    void SetMarginV(int Value);
    bool GetSizeVisibleOnly() const { return FSizeVisibleOnly; }
    void SetSizeVisibleOnly(bool Value);
    bool GetSorted() const { return FSorted; }
    void SetSorted(bool Value);

private:
    bool Loading() const;
    void SetGridValue(int& Field, int Value);
    void SetGridFlag(bool& Field, bool Value);
    int CountedChildren() const;
    int FrameWidth() const;
    void PlaceChildren(int B);
    void FitPanel(int B);

    bool FArranging = false;
    bool FAutoSize = false;
    TPosInt FCtrlCols = 0;
    TPosInt FCtrlHeight = 24;
    TPosInt FCtrlRows = 1;
    TPosInt FCtrlWidth = 24;
    bool FInsertCols = false;
    int FMarginCol = 0;
    int FMarginH = 5;
    int FMarginRow = 0;
    int FMarginV = 5;
    bool FReordering = false;
    bool FSizeVisibleOnly = false;
    bool FSorted = true;
};

class TSpeedPanel : public TCustomSpeedPanel {
    HOST_CLASS(TSpeedPanel, TCustomSpeedPanel)
public:
    explicit TSpeedPanel(host::TComponent* AOwner) : TCustomSpeedPanel(AOwner) {}
    using TCustomEdgePanel::GetBevelEdges;
    using TCustomEdgePanel::SetBevelEdges;
    using TCustomPanel::GetAlignment;
    using TCustomPanel::GetBevelInner;
    using TCustomPanel::GetBevelOuter;
    using TCustomPanel::GetBevelWidth;
    using TCustomPanel::GetBorderStyle;
    using TCustomPanel::GetBorderWidth;
    using TCustomPanel::GetLocked;
    using TCustomPanel::SetAlignment;
    using TCustomPanel::SetBevelInner;
    using TCustomPanel::SetBevelOuter;
    using TCustomPanel::SetBevelWidth;
    using TCustomPanel::SetBorderStyle;
    using TCustomPanel::SetBorderWidth;
    using TCustomPanel::SetLocked;
    using TCustomSpeedPanel::GetAutoSize;
    using TCustomSpeedPanel::GetCtrlCols;
    using TCustomSpeedPanel::GetCtrlHeight;
    using TCustomSpeedPanel::GetCtrlRows;
    using TCustomSpeedPanel::GetCtrlWidth;
    using TCustomSpeedPanel::GetInsertCols;
    using TCustomSpeedPanel::GetMarginCol;
    using TCustomSpeedPanel::GetMarginH;
    using TCustomSpeedPanel::GetMarginRow;
    using TCustomSpeedPanel::GetMarginV;
    using TCustomSpeedPanel::GetSizeVisibleOnly;
    using TCustomSpeedPanel::GetSorted;
    using TCustomSpeedPanel::SetAutoSize;
    using TCustomSpeedPanel::SetCtrlCols;
    using TCustomSpeedPanel::SetCtrlHeight;
    using TCustomSpeedPanel::SetCtrlRows;
    using TCustomSpeedPanel::SetCtrlWidth;
    using TCustomSpeedPanel::SetInsertCols;
    using TCustomSpeedPanel::SetMarginCol;
    using TCustomSpeedPanel::SetMarginH;
    using TCustomSpeedPanel::SetMarginRow;
    using TCustomSpeedPanel::SetMarginV;
    using TCustomSpeedPanel::SetSizeVisibleOnly;
    using TCustomSpeedPanel::SetSorted;
};

} // namespace kel
