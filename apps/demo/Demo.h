#pragma once
// The demo's forms. Each file that adds a form registers it with a name; the
// main form offers a button per form, and a run without a display shows each
// form in turn and writes its screenshot.
#include <functional>
#include <string>
#include <vector>

#include "host/vcl/Forms.h"

namespace demo {

struct TDemoForm {
    std::string Name;    // the screenshot's file name, without ".png"
    std::string Caption; // the main form's button for it
    std::function<host::TForm*(host::TComponent* Owner)> Create;
};

std::vector<TDemoForm>& DemoForms();

// Registers a form at start-up: static demo::TRegisterForm reg{"name", "&Caption...", Create};
struct TRegisterForm {
    TRegisterForm(std::string Name, std::string Caption, std::function<host::TForm*(host::TComponent*)> Create)
    {
        DemoForms().push_back({std::move(Name), std::move(Caption), std::move(Create)});
    }
};

// A dialog the run without a display opens and photographs. Open builds and
// executes it: a modal dialog is photographed and cancelled by the caller as
// soon as it shows; a modeless one is shown and its window returned.
struct TDemoDialog {
    std::string Name;
    std::function<host::HWND(host::TComponent* Owner)> Open;
};

std::vector<TDemoDialog>& DemoDialogs();

struct TRegisterDialog {
    TRegisterDialog(std::string Name, std::function<host::HWND(host::TComponent*)> Open)
    {
        DemoDialogs().push_back({std::move(Name), std::move(Open)});
    }
};

// A control of class T owned by Form, named and placed on Parent.
template <class T>
T* Add(host::TForm* Form, host::TWinControl* Parent, const std::string& Name, int Left, int Top, int Width, int Height)
{
    auto* c = new T(Form);
    c->SetName(Name);
    c->SetBounds(Left, Top, Width, Height);
    c->SetParent(Parent);
    return c;
}

// Fills the main form, with a button that opens each registered form.
void BuildMainForm(host::TForm* Form);

} // namespace demo
