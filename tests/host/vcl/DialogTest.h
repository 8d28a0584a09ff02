#pragma once
// Working a dialog form through its named controls with injected input.
#include "FormsTest.h"

#include "host/vcl/StdCtrls.h"

namespace formstest {

inline TForm* FormOf(HWND Wnd) { return dynamic_cast<TForm*>(FindControl(Wnd)); }

// The form's component of that name and class; a missing one fails the test.
template <class T = TControl>
T* Find(TForm* Form, const std::string& Name)
{
    auto* c = dynamic_cast<T*>(Form->FindComponent(Name));
    EXPECT_NE(c, nullptr) << Name;
    return c;
}

inline void ClickAt(TControl* C, int X, int Y)
{
    TPoint p = C->ClientToScreen(TPoint{X, Y});
    Input::Click(p.x, p.y);
}

inline void ClickCentre(TForm* Form, const std::string& Name)
{
    TControl* c = Find(Form, Name);
    if (c) ClickAt(c, c->GetWidth() / 2, c->GetHeight() / 2);
}

// Replaces an edit's text the way a user does: click in it, select all, type.
inline void TypeInto(TForm* Form, const std::string& Name, const std::string& Text)
{
    auto* e = Find<TEdit>(Form, Name);
    if (!e) return;
    ClickAt(e, 4, e->GetHeight() / 2);
    e->SelectAll();
    if (Text.empty())
        Input::KeyPress(VK_DELETE);
    else
        Input::TypeText(Text);
}

} // namespace formstest
