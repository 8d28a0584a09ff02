#pragma once
// The tabbed notebook: a notebook with its page names as tabs along the
// top, in rows of TabsPerRow. The row of the selected tab moves next to the
// page; clicking a tab, the arrow keys on the focused tabs or Ctrl+Tab
// (Ctrl+Shift+Tab backwards) from anywhere inside change the page, each
// asking OnChange first.
#include <memory>

#include "host/vcl/ExtNotebook.h"
#include "host/vcl/Tabs.h"

namespace host {

class TTabPage : public TPage {
    HOST_CLASS(TTabPage, TPage)
public:
    explicit TTabPage(TComponent* AOwner) : TPage(AOwner) {}
};

class TTabbedNotebook : public TPageHost {
    HOST_CLASS(TTabbedNotebook, TPageHost)
    HOST_MESSAGES(TTabbedNotebook)
public:
    // Starts with one page, "Default".
    explicit TTabbedNotebook(TComponent* AOwner);

    int GetTabsPerRow() const { return FTabsPerRow; }
    void SetTabsPerRow(int Value);
    TFont* GetTabFont() const { return FTabFont.get(); }
    void SetTabFont(TFont* Value) { FTabFont->Assign(Value); }
    // The rectangle of tab Index (client coordinates).
    TRect GetTabRect(int Index);
    // The tab under Pos, or -1.
    int TabAtPos(const TPoint& Pos);
    int GetRowCount() const;
    void SelectNext(bool Direction);

    TTabChangeEvent OnChange;

protected:
    TPage* CreatePage() override;
    bool CanChange(int NewIndex) override;
    void PageChanged() override;
    void PagesChanged() override;
    void AdjustClientRect(TRect& Rect) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void Resize() override;
    void CMDialogKey(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);

private:
    int RowHeight();
    int TabAreaHeight();
    void PaintTab(TCanvas* C, int Index);
    void TabFontChanged(TObject* Sender);

    int FTabsPerRow = 3;
    std::unique_ptr<TFont> FTabFont;
    std::unique_ptr<TBitmap> FMeasure;
};

} // namespace host
