// Painted controls: the control canvas, graphic controls and custom controls.
#include "host/vcl/Controls.h"
#include "host/vcl/ControlsInternal.h"

namespace host {

namespace {
// Lends the canvas the paint DC for the length of one Paint call, also when
// Paint throws, so the canvas never keeps a DC that EndPaint releases.
template <class F>
void PaintOnCanvas(TControlCanvas& Canvas, HDC DC, F&& DoPaint)
{
    Canvas.Lock();
    Canvas.FreeHandle();
    Canvas.SetHandle(DC);
    struct TRelease {
        TControlCanvas& C;
        ~TRelease()
        {
            C.SetHandle(nullptr);
            C.Unlock();
        }
    } release{Canvas};
    DoPaint();
}
} // namespace


// ---- TControlCanvas ---------------------------------------------------------------------

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* Value)
{
    if (FControl == Value) return;
    FreeHandle();
    FControl = Value;
}

void TControlCanvas::FreeHandle()
{
    if (!FDeviceContext) return;
    HDC dc = FDeviceContext;
    FDeviceContext = nullptr;
    SetHandle(nullptr);
    if (IsWindow(FWindowHandle)) ReleaseDC(FWindowHandle, dc);
    FWindowHandle = nullptr;
}

// A graphic control draws through its parent's window, moved to its own
// top-left corner and clipped to its bounds.
void TControlCanvas::CreateHandle()
{
    if (!FControl) return;
    HWND wnd;
    HDC dc;
    if (auto* win = dynamic_cast<TWinControl*>(FControl)) {
        wnd = win->GetHandle();
        dc = GetDC(wnd);
    } else {
        TWinControl* parent = FControl->GetParent();
        if (!parent) controls::ParentRequired(FControl);
        wnd = parent->GetHandle();
        dc = GetDC(wnd);
        SetViewportOrgEx(dc, FControl->GetLeft(), FControl->GetTop(), nullptr);
        IntersectClipRect(dc, 0, 0, FControl->GetWidth(), FControl->GetHeight());
    }
    FDeviceContext = dc;
    FWindowHandle = wnd;
    SetHandle(dc);
}

// ---- TGraphicControl ----------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner)
{
    FCanvas = std::make_unique<TControlCanvas>();
    FCanvas->SetControl(this);
}

void TGraphicControl::Destroy()
{
    FCanvas.reset();
    inherited::Destroy();
}

void TGraphicControl::WMPaint(TMessage& Message)
{
    if (!Message.WParam) return;
    PaintOnCanvas(*FCanvas, HDC(Message.WParam), [this] { Paint(); });
}

HOST_MESSAGE_MAP(TGraphicControl)
{
    M(WM_PAINT, &TGraphicControl::WMPaint);
}

// ---- TCustomControl -------------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner)
{
    FCanvas = std::make_unique<TControlCanvas>();
    FCanvas->SetControl(this);
}

void TCustomControl::Destroy()
{
    FCanvas->FreeHandle();
    inherited::Destroy();
    FCanvas.reset();
}

void TCustomControl::DestroyWnd()
{
    FCanvas->FreeHandle();
    inherited::DestroyWnd();
}

void TCustomControl::WMPaint(TMessage& Message)
{
    FControlState += csCustomPaint;
    try {
        inherited::Dispatch(Message);
    } catch (...) {
        FControlState -= csCustomPaint;
        throw;
    }
    FControlState -= csCustomPaint;
}

void TCustomControl::PaintWindow(HDC DC)
{
    PaintOnCanvas(*FCanvas, DC, [this] { Paint(); });
}

HOST_MESSAGE_MAP(TCustomControl)
{
    M(WM_PAINT, &TCustomControl::WMPaint);
}

} // namespace host
