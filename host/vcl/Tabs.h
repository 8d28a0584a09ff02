#pragma once
// The tab set: a strip of tabs hanging from its top edge, usually under a
// notebook whose pages it picks. The selected tab joins the page above it;
// when the tabs do not fit, arrow buttons at the right end scroll them.
#include <memory>
#include <vector>

#include "host/rtl/Strings.h"
#include "host/vcl/Controls.h"

namespace host {

HOST_ENUM(TTabStyle, tsStandard, tsOwnerDraw)

using TTabChangeEvent = TEvent<void(TObject* Sender, int NewTab, bool& AllowChange)>;
// R is the tab's face between its slanted edges.
using TDrawTabEvent = TEvent<void(TObject* Sender, TCanvas* TabCanvas, TRect R, int Index, bool Selected)>;
using TMeasureTabEvent = TEvent<void(TObject* Sender, int Index, int& TabWidth)>;

class TTabSet : public TCustomControl {
    HOST_CLASS(TTabSet, TCustomControl)
public:
    explicit TTabSet(TComponent* AOwner);

    TStrings* GetTabs() const { return FTabs.get(); }
    void SetTabs(TStrings* Value) { FTabs->Assign(Value); }
    int GetTabIndex() const { return FTabIndex; }
    // -1 selects nothing; other values outside the tabs raise
    // EInvalidOperation. OnChange may refuse the change.
    void SetTabIndex(int Value);
    // The first tab shown at the left end.
    int GetFirstIndex() const { return FFirstIndex; }
    void SetFirstIndex(int Value);
    // How many tabs fit from FirstIndex on.
    int GetVisibleTabs();
    int GetStartMargin() const { return FStartMargin; }
    void SetStartMargin(int Value);
    int GetEndMargin() const { return FEndMargin; }
    void SetEndMargin(int Value);
    int GetTabHeight() const { return FTabHeight; }
    void SetTabHeight(int Value);
    TColor GetSelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);
    TColor GetUnselectedColor() const { return FUnselectedColor; }
    void SetUnselectedColor(TColor Value);
    TColor GetBackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor Value);
    bool GetDitherBackground() const { return FDitherBackground; }
    void SetDitherBackground(bool Value);
    bool GetAutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value);
    TTabStyle GetStyle() const { return FStyle; }
    void SetStyle(TTabStyle Value);

    // The tab under Pos (client coordinates), or -1.
    int ItemAtPos(const TPoint& Pos);
    // The face of tab Index when it is shown; empty otherwise.
    TRect ItemRect(int Index);
    // Selects the next tab (or the previous one), wrapping round.
    void SelectNext(bool Direction);
    bool ScrollerShown();

    TTabChangeEvent OnChange;
    TDrawTabEvent OnDrawTab;
    TMeasureTabEvent OnMeasureTab;

protected:
    void Loaded() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Resize() override;
    virtual bool CanChange(int NewIndex);
    virtual void DrawTab(TCanvas* TabCanvas, const TRect& R, int Index, bool Selected);
    virtual int MeasureTab(int Index);

private:
    struct TTabPlace {
        int Index;
        int Left;   // where the left slant starts at the top edge
        int Width;  // the face between the slants
    };
    void TabsChanged(TObject* Sender);
    void Layout();
    TRect ScrollerRect(bool Right);
    void PaintBackground(TCanvas* C);
    void PaintTab(TCanvas* C, const TTabPlace& Place, bool Selected);
    void MakeVisible(int Index);

    std::unique_ptr<TStringList> FTabs;
    std::unique_ptr<TBitmap> FMeasure;
    std::vector<TTabPlace> FPlaces;
    bool FScroller = false;
    int FTabIndex = -1;
    int FFirstIndex = 0;
    int FStartMargin = 5;
    int FEndMargin = 5;
    int FTabHeight = 20;
    TColor FSelectedColor = clBtnFace;
    TColor FUnselectedColor = clWindow;
    TColor FBackgroundColor = clBtnFace;
    bool FDitherBackground = true;
    bool FAutoScroll = true;
    TTabStyle FStyle = tsStandard;
};

} // namespace host
