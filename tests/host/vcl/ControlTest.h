#pragma once
// Controls under test: a windowed panel and a graphic box that record what
// happens to them, on a fresh screen inside a plain host window.
#include "host/rtl/Clock.h"
#include "host/vcl/Controls.h"
#include "host/win/Input.h"
#include "host/win/Screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace controltest {

using namespace host;

inline std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

class TTestPanel : public TCustomControl {
    HOST_CLASS(TTestPanel, TCustomControl)
    HOST_MESSAGES(TTestPanel)
public:
    explicit TTestPanel(TComponent* AOwner) : TCustomControl(AOwner)
    {
        FControlStyle += csAcceptsControls;
        SetBounds(0, 0, 100, 50);
    }
    using TWinControl::AlignDisabled;
    using TWinControl::GetRootControl;
    TPoint LastDown{-1, -1};
    TShiftState LastShift;
    int Paints = 0;
    WORD SwallowKey = 0;

protected:
    void Destroy() override
    {
        Log().push_back("destroy " + GetName());
        inherited::Destroy();
    }
    void Paint() override
    {
        ++Paints;
        GetCanvas()->GetBrush()->SetColor(GetColor());
        GetCanvas()->FillRect(GetClientRect());
    }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        LastDown = TPoint{X, Y};
        LastShift = Shift;
        inherited::MouseDown(Button, Shift, X, Y);
    }
    void KeyDown(WORD& Key, TShiftState Shift) override
    {
        Log().push_back(GetName() + " keydown " + std::to_string(Key));
        if (Key == SwallowKey) Key = 0;
        inherited::KeyDown(Key, Shift);
    }
    void DoEnter() override
    {
        Log().push_back("enter " + GetName());
        inherited::DoEnter();
    }
    void DoExit() override
    {
        Log().push_back("exit " + GetName());
        inherited::DoExit();
    }
    void CMMouseEnter(TMessage&) { Log().push_back("mouseenter " + GetName()); }
    void CMMouseLeave(TMessage&) { Log().push_back("mouseleave " + GetName()); }
    void CNCommand(TMessage& Message)
    {
        Log().push_back("command " + GetName() + " " + std::to_string(HIWORD(Message.WParam)));
        Message.Result = 5;
    }
};

class TTestBox : public TGraphicControl {
    HOST_CLASS(TTestBox, TGraphicControl)
    HOST_MESSAGES(TTestBox)
public:
    explicit TTestBox(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 20, 20); }
    TPoint LastDown{-1, -1};
    int Paints = 0;

protected:
    void Destroy() override
    {
        Log().push_back("destroy " + GetName());
        inherited::Destroy();
    }
    void Paint() override
    {
        ++Paints;
        GetCanvas()->GetBrush()->SetColor(GetColor());
        GetCanvas()->FillRect(GetClientRect());
    }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        LastDown = TPoint{X, Y};
        inherited::MouseDown(Button, Shift, X, Y);
    }
    void CMMouseEnter(TMessage&) { Log().push_back("mouseenter " + GetName()); }
    void CMMouseLeave(TMessage&) { Log().push_back("mouseleave " + GetName()); }
};

// A screen with one plain top-level window that hosts the control tree.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem(SIZE{640, 480});
        Log().clear();
        WNDCLASS wc;
        wc.lpfnWndProc = &DefWindowProc;
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = "ControlTestHost";
        RegisterClass(&wc);
        FHost = CreateWindowEx(0, "ControlTestHost", "Host", WS_POPUP | WS_VISIBLE, 20, 30, 400, 300, nullptr,
                               nullptr, HInstance(), nullptr);
    }
    void TearDown() override
    {
        for (auto it = FRoots.rbegin(); it != FRoots.rend(); ++it) (*it)->Free();
        FRoots.clear();
        ResetWindowSystem();
    }

    // A panel filling the host window, shown in it.
    TTestPanel* Root(const std::string& Name = "Root")
    {
        auto* root = new TTestPanel(nullptr);
        root->SetName(Name);
        root->SetBounds(0, 0, 400, 300);
        root->SetParentWindow(FHost);
        FRoots.push_back(root);
        return root;
    }
    template <class T>
    T* Make(TWinControl* Parent, const std::string& Name, int L, int T_, int W, int H, TComponent* Owner = nullptr)
    {
        auto* c = new T(Owner);
        c->SetName(Name);
        c->SetBounds(L, T_, W, H);
        c->SetParent(Parent);
        return c;
    }
    TPoint ScreenOf(TControl* C, int X, int Y) { return C->ClientToScreen(TPoint{X, Y}); }

    HWND FHost = nullptr;
    std::vector<TControl*> FRoots;
    TVirtualClock FClock;
    TClockOverride FOverride{FClock};
};

inline std::vector<std::string> TakeLog()
{
    std::vector<std::string> l = Log();
    Log().clear();
    return l;
}

} // namespace controltest
