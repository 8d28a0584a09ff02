// TApplication: the message loop, exceptions, message boxes and key reflection.
#include "host/rtl/FileUtils.h"
#include "host/vcl/Forms.h"
#include "host/vcl/HintWindow.h"
#include "host/win/Modal.h"

#include <unistd.h>

namespace host {

namespace {

constexpr const char* ApplicationProp = "HostApplication";

bool IsKeyDown(const MSG& Msg) { return Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN; }

// Installed while the library loads, so that key reflection works in every
// loop, also for controls that are not on forms and before anything makes
// the application object.
bool DispatchHook(MSG& Msg)
{
    if (ApplicationCreated()) return GetApplication()->ProcessDispatch(Msg);
    if (IsKeyDown(Msg) && TApplication::IsFormShortCut(Msg)) return true;
    return TApplication::IsKeyMsg(Msg);
}

const bool DispatchHookInstalled = (SetDispatchHook(&DispatchHook), true);

} // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
    (void)DispatchHookInstalled;
    GetHandle();
    SetApplicationExceptionHandler([this](TObject* Sender) { HandleException(Sender); });
}

void TApplication::Destroy()
{
    SetApplicationExceptionHandler(nullptr);
    StopHintTimer();
    inherited::Destroy();
    if (FHandle && IsWindow(FHandle) && GetProp(FHandle, ApplicationProp) == HANDLE(this)) DeallocateHWnd(FHandle);
    FHandle = nullptr;
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FMainForm) FMainForm = nullptr;
    if (AComponent == FHintControl) FHintControl = nullptr;
    if (AComponent == FHintWindow) FHintWindow = nullptr;
}

// The utility window goes with the window system when it is reset; a
// window of the same number then is not ours.
HWND TApplication::GetHandle()
{
    if (FHandle && IsWindow(FHandle) && GetProp(FHandle, ApplicationProp) == HANDLE(this)) return FHandle;
    FHandle = AllocateHWnd([this](TMessage& M) { WndProc(M); });
    SetProp(FHandle, ApplicationProp, HANDLE(this));
    FHintTimerOn = false;
    return FHandle;
}

std::string TApplication::GetExeName() const
{
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, size_t(n)) : std::string();
}

std::string TApplication::GetTitle() const
{
    if (!FTitle.empty()) return FTitle;
    return ChangeFileExt(ExtractFileName(GetExeName()), "");
}

// ---- Forms ----------------------------------------------------------------------------------

void TApplication::FormCreated(TCustomForm* Form)
{
    auto* form = dynamic_cast<TForm*>(Form);
    if (!FMainForm && form) {
        FMainForm = form;
        form->FreeNotification(this);
    }
}

void TApplication::CreateForm(TClass FormClass, TCustomForm*& Reference)
{
    TObject* made = FormClass ? FormClass->NewInstance(this) : nullptr;
    auto* form = dynamic_cast<TCustomForm*>(made);
    if (!form) {
        if (made) made->Free();
        throw EInvalidOperation("Cannot create form of class " + (FormClass ? FormClass->ClassName() : std::string("nil")));
    }
    Reference = form;
    FormCreated(form);
}

// ---- The message loop -----------------------------------------------------------------------

bool TApplication::ProcessMessage(MSG& Msg)
{
    if (!PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (Msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    TranslateMessage(&Msg);
    DispatchMessage(&Msg);
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::Idle()
{
    bool done = true;
    try {
        OnIdle(this, done);
    } catch (...) {
        HandleException(this);
    }
    if (done) WaitMessage();
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (!ProcessMessage(msg)) Idle();
}

void TApplication::Run()
{
    if (FMainForm && !FMainForm->GetVisible()) FMainForm->Show();
    while (!FTerminated) {
        try {
            HandleMessage();
        } catch (const EIdleLoop&) {
            // Nothing can ever wake the loop (a test without input): say so.
            throw;
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::Terminate()
{
    FTerminated = true;
    PostQuitMessage(0);
}

void TApplication::WndProc(TMessage& Message)
{
    try {
        if (Message.Msg == WM_TIMER) {
            HintTimerExpired();
            return;
        }
        if (Message.Msg == WM_ACTIVATEAPP) {
            ActiveChanged(Message.WParam != 0);
            return;
        }
        Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::ActiveChanged(bool Active)
{
    if (FActive == Active) return;
    FActive = Active;
    if (Active)
        OnActivate(this);
    else
        OnDeactivate(this);
}

// ---- Before dispatch --------------------------------------------------------------------------

bool TApplication::ProcessDispatch(MSG& Msg)
{
    // Its window hears when the program's windows gain or lose activation.
    GetHandle();
    bool handled = false;
    OnMessage(Msg, handled);
    if (handled) return true;
    HintMouseMessage(Msg);
    if (IsKeyDown(Msg) && IsShortCut(Msg)) return true;
    return IsKeyMsg(Msg);
}

// Shortcuts: the form of the focused control, OnShortCut, then the main form.
bool TApplication::IsFormShortCut(MSG& Msg)
{
    TMessage m{Msg.message, Msg.wParam, Msg.lParam, 0};
    TCustomForm* form = GetParentForm(FindControl(Msg.hwnd));
    return form && form->GetEnabled() && form->IsShortCut(m);
}

bool TApplication::IsShortCut(MSG& Msg)
{
    if (IsFormShortCut(Msg)) return true;
    TMessage m{Msg.message, Msg.wParam, Msg.lParam, 0};
    TCustomForm* form = GetParentForm(FindControl(Msg.hwnd));
    bool handled = false;
    OnShortCut(m, handled);
    if (handled) return true;
    return FMainForm && FMainForm != form && FMainForm->HandleAllocated() && IsWindowEnabled(FMainForm->GetHandle()) &&
           FMainForm->IsShortCut(m);
}

bool TApplication::IsKeyMsg(MSG& Msg)
{
    if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
    HWND wnd = GetCapture();
    if (!wnd) {
        // The nearest window a control owns: others cannot take CN_ messages.
        wnd = Msg.hwnd;
        while (wnd && !FindControl(wnd)) wnd = GetParent(wnd);
    }
    TWinControl* control = FindControl(wnd);
    if (!control || control->Dragging()) return false;
    if (SendMessage(wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) == 0) return false;
    // The loop has already translated the key just handled; its character
    // must not arrive as typing.
    if (Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN) {
        UINT charMsg = Msg.message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
        MSG dropped;
        PeekMessage(&dropped, Msg.hwnd, charMsg, charMsg, PM_REMOVE);
    }
    return true;
}

// ---- Exceptions and message boxes ---------------------------------------------------------------

void TApplication::HandleException(TObject* Sender)
{
    if (!std::current_exception()) return;
    if (HWND capture = GetCapture()) SendMessage(capture, WM_CANCELMODE, 0, 0);
    auto report = [&](Exception& E) {
        if (OnException)
            OnException(Sender, &E);
        else
            ShowException(&E);
    };
    try {
        throw;
    } catch (const EAbort&) {
        // Silent by definition.
    } catch (Exception& e) {
        report(e);
    } catch (const std::exception& e) {
        Exception wrapped(e.what());
        report(wrapped);
    } catch (...) {
        Exception wrapped("Unknown exception");
        report(wrapped);
    }
}

void TApplication::ShowException(Exception* E)
{
    std::string text = E ? E->GetMessage() : std::string();
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    MessageBox(text, GetTitle(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, UINT Flags)
{
    HWND owner = GetActiveWindow();
    std::vector<HWND> disabled = DisableTaskWindows(nullptr);
    struct TRestore {
        std::vector<HWND>& Windows;
        HWND Owner;
        ~TRestore()
        {
            EnableTaskWindows(Windows);
            if (Owner && IsWindow(Owner) && IsWindowVisible(Owner)) SetActiveWindow(Owner);
        }
    } restore{disabled, owner};
    return ::host::MessageBox(owner, Text.c_str(), Caption.c_str(), Flags);
}

bool TApplication::HelpContext(int Context)
{
    FHelpContext = Context;
    return HelpCommand(0x0001 /* HELP_CONTEXT */, LPARAM(Context));
}

bool TApplication::HelpCommand(WORD Command, LPARAM Data)
{
    bool callHelp = true;
    if (!OnHelp) return false;
    return OnHelp(Command, Data, callHelp);
}

} // namespace host
