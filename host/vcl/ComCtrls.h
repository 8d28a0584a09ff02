#pragma once
// The status bar: a strip at the bottom of a form with text panels, or one
// simple panel, and a sizing grip. The tree view is in ComCtrlsTree.h.
#include "host/vcl/ComCtrlsTree.h"
#include "host/vcl/Controls.h"

namespace host {

HOST_ENUM(TStatusPanelStyle, psText, psOwnerDraw)
HOST_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)

class TStatusBar;

class TStatusPanel : public TCollectionItem {
    HOST_CLASS(TStatusPanel, TCollectionItem)
public:
    explicit TStatusPanel(TCollection* Collection);
    void Assign(TPersistent* Source) override;
    std::string GetDisplayName() const override;

    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TStatusPanelBevel GetBevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel Value);
    TStatusPanelStyle GetStyle() const { return FStyle; }
    void SetStyle(TStatusPanelStyle Value);
    const std::string& GetText() const { return FText; }
    void SetText(const std::string& Value);
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value);

private:
    TAlignment FAlignment = taLeftJustify;
    TStatusPanelBevel FBevel = pbLowered;
    TStatusPanelStyle FStyle = psText;
    std::string FText;
    int FWidth = 50;
};

class TStatusPanels : public TCollection {
    HOST_CLASS(TStatusPanels, TCollection)
public:
    explicit TStatusPanels(TStatusBar* StatusBar);
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* GetItem(int Index) const { return static_cast<TStatusPanel*>(TCollection::GetItem(Index)); }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TStatusBar* FStatusBar;
};

using TDrawPanelEvent = TEvent<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

class TStatusBar : public TWinControl {
    HOST_CLASS(TStatusBar, TWinControl)
    HOST_MESSAGES(TStatusBar)
public:
    explicit TStatusBar(TComponent* AOwner);
    TCanvas* GetCanvas() const { return FCanvas.get(); }

    TStatusPanels* GetPanels() const { return FPanels.get(); }
    void SetPanels(TStatusPanels* Value) { FPanels->Assign(Value); }
    bool GetSimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool Value);
    const std::string& GetSimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& Value);
    bool GetSizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value);

    // The rectangle panel Index takes (its bevel included); the last panel
    // reaches to the right end of the bar.
    TRect PanelRect(int Index);

    TDrawPanelEvent OnDrawPanel;
    TNotifyEvent OnResize;

protected:
    void Destroy() override;
    void DestroyWnd() override;
    void PaintWindow(HDC DC) override;
    void Resize() override;
    // Paints an owner-drawn panel: OnDrawPanel with the canvas ready.
    virtual void DrawPanel(TStatusPanel* Panel, const TRect& Rect);
    void WMEraseBkgnd(TMessage& Message);
    void WMPaint(TMessage& Message);
    void WMSize(TMessage& Message);
    void CMFontChanged(TMessage& Message);

private:
    friend class TStatusPanels;
    bool ShowsGrip();
    TRect GripRect();
    void PaintPanel(TCanvas* Canvas, const TRect& Rect, const std::string& Text, TAlignment Alignment,
                    TStatusPanelBevel Bevel);

    std::unique_ptr<TStatusPanels> FPanels;
    std::unique_ptr<TControlCanvas> FCanvas;
    bool FSimplePanel = false;
    std::string FSimpleText;
    bool FSizeGrip = true;
};

} // namespace host
