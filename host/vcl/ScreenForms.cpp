// TScreen: the forms, the active form and control, cursors and fonts.
#include "host/vcl/Forms.h"

#include <algorithm>

namespace host {

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner)
{
    FHintFont = std::make_unique<TFont>();
}

void TScreen::Destroy()
{
    SetGlobalCursor(crDefault);
    inherited::Destroy();
}

// Forms register while their TCustomForm part is built, before their
// class is known; which of them are TForms is asked when needed.
int TScreen::GetFormCount() const
{
    int count = 0;
    for (TCustomForm* f : FCustomForms) count += dynamic_cast<TForm*>(f) != nullptr;
    return count;
}

TForm* TScreen::GetForms(int Index) const
{
    for (TCustomForm* f : FCustomForms)
        if (auto* form = dynamic_cast<TForm*>(f); form && Index-- == 0) return form;
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

TCustomForm* TScreen::GetCustomForms(int Index) const
{
    if (Index < 0 || Index >= int(FCustomForms.size()))
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FCustomForms[size_t(Index)];
}

TForm* TScreen::GetActiveForm() const { return dynamic_cast<TForm*>(FActiveCustomForm); }

void TScreen::AddForm(TCustomForm* Form) { FCustomForms.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form)
{
    std::erase(FCustomForms, Form);
    if (ApplicationCreated() && GetApplication()->FMainForm == Form) GetApplication()->FMainForm = nullptr;
    if (FActiveCustomForm != Form) return;
    FActiveCustomForm = nullptr;
    FActiveControl = nullptr;
    OnActiveControlChange(this);
    OnActiveFormChange(this);
}

void TScreen::SetFocusedForm(TCustomForm* Form)
{
    if (FActiveCustomForm == Form) return;
    TCustomForm* old = FActiveCustomForm;
    FActiveCustomForm = Form;
    if (old) old->Perform(CM_DEACTIVATE, 0, 0);
    if (Form && FActiveCustomForm == Form) Form->Perform(CM_ACTIVATE, 0, 0);
    OnActiveFormChange(this);
}

void TScreen::SetActiveControl(TCustomForm* Form, TWinControl* Control)
{
    SetFocusedForm(Form);
    if (FActiveControl == Control) return;
    FActiveControl = Control;
    if (Control) Control->FreeNotification(this);
    OnActiveControlChange(this);
}

void TScreen::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FActiveControl) FActiveControl = nullptr;
}

// When the active form hides, the next visible form in z order takes over.
void TScreen::BringFormToFront(TCustomForm* Hidden)
{
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        auto* form = dynamic_cast<TCustomForm*>(FindControl(w));
        if (!form || form == Hidden || !IsWindowVisible(w) || !IsWindowEnabled(w)) continue;
        SetActiveWindow(w);
        return;
    }
    if (FActiveCustomForm == Hidden) {
        FActiveControl = nullptr;
        SetFocusedForm(nullptr);
        OnActiveControlChange(this);
    }
}

void TScreen::SetCursor(TCursor Value)
{
    if (FCursor == Value) return;
    FCursor = Value;
    SetGlobalCursor(Value);
    if (Value != crDefault) {
        ::host::SetCursor(CursorHandle(Value));
        return;
    }
    // The window under the mouse shows its own cursor again.
    POINT p;
    GetCursorPos(&p);
    if (HWND w = WindowFromPoint(p))
        SendMessage(w, WM_SETCURSOR, WPARAM(w), MAKELPARAM(WORD(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y))), WM_MOUSEMOVE));
}

HCURSOR TScreen::GetCursors(int Index) const { return CursorHandle(TCursor(Index)); }

void TScreen::SetCursors(int Index, HCURSOR Handle) { SetCursorHandle(TCursor(Index), Handle); }

int TScreen::GetWidth() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::GetHeight() const { return GetSystemMetrics(SM_CYSCREEN); }

// The font names the framework maps to installed faces.
TStrings* TScreen::GetFonts()
{
    if (!FFonts) {
        auto list = std::make_unique<TStringList>();
        for (const char* name : {"Arial", "Courier New", "MS Sans Serif", "Times New Roman"}) list->Add(name);
        list->SetSorted(true);
        FFonts = std::move(list);
    }
    return FFonts.get();
}

// ---- The global objects -----------------------------------------------------------------------

namespace {
TApplication* GApplication = nullptr;
TScreen* GScreen = nullptr;
} // namespace

TApplication* GetApplication()
{
    if (!GApplication) GApplication = new TApplication(nullptr);
    return GApplication;
}

TScreen* GetScreen()
{
    if (!GScreen) GScreen = new TScreen(nullptr);
    return GScreen;
}

bool ApplicationCreated() { return GApplication != nullptr; }

void DoneApplication()
{
    if (TApplication* app = GApplication) {
        app->Free();
        GApplication = nullptr;
    }
    if (TScreen* screen = GScreen) {
        // Forms nobody owns are left to whoever made them; the screen forgets them.
        GScreen = nullptr;
        screen->Free();
    }
}

} // namespace host
