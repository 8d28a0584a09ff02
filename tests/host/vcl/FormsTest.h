#pragma once
// Forms under test: a fresh screen, a virtual clock, a fresh application
// object, and a small focusable control.
#include "host/rtl/Clock.h"
#include "host/vcl/Forms.h"
#include "host/win/Input.h"
#include "host/win/Modal.h"
#include "host/win/Screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace formstest {

using namespace host;

// A control that takes the focus with Tab and records its keys.
class TFocusBox : public TCustomControl {
    HOST_CLASS(TFocusBox, TCustomControl)
public:
    explicit TFocusBox(TComponent* AOwner) : TCustomControl(AOwner)
    {
        SetTabStop(true);
        SetBounds(0, 0, 60, 24);
    }
    std::vector<WORD> Keys;
    std::string Typed;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override
    {
        Keys.push_back(Key);
        inherited::KeyDown(Key, Shift);
    }
    void KeyPress(char& Key) override
    {
        Typed += Key;
        inherited::KeyPress(Key);
    }
    void Paint() override
    {
        GetCanvas()->GetBrush()->SetColor(Focused() ? clHighlight : clWindow);
        GetCanvas()->FillRect(GetClientRect());
    }
};

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem(SIZE{800, 600});
        DoneApplication();
        SetModalIdleLimit(60 * 1000);
    }
    void TearDown() override
    {
        SetModalHook(nullptr);
        for (auto it = FForms.rbegin(); it != FForms.rend(); ++it) Free(*it);
        FForms.clear();
        DoneApplication();
        ResetWindowSystem();
    }
    // A form nobody owns, freed at the end of the test unless the test frees it.
    template <class T = TForm>
    T* MakeForm(const std::string& Name, int L = 100, int T_ = 80, int W = 300, int H = 200)
    {
        auto* f = new T(nullptr);
        f->SetName(Name);
        f->SetBounds(L, T_, W, H);
        FForms.push_back(f);
        return f;
    }
    template <class T>
    T* Make(TWinControl* Parent, const std::string& Name, int L, int T_, int W, int H)
    {
        auto* c = new T(Parent);
        c->SetName(Name);
        c->SetBounds(L, T_, W, H);
        c->SetParent(Parent);
        return c;
    }
    // Forgets a form the test freed (or had freed) itself.
    void Forget(TObject* Form) { std::erase(FForms, Form); }

    std::vector<TObject*> FForms;
    TVirtualClock FClock;
    TClockOverride FOverride{FClock};
};

} // namespace formstest
