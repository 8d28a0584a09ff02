#pragma once
// Forms, the application object and the screen object.
//
// A form is a top-level window (or, as an MDI child, a window inside its
// frame's client area). A form class that comes with a designed layout
// reads it in its own constructor:
//
//     TMyForm::TMyForm(TComponent* AOwner) : TForm(AOwner)
//     {
//         InitInheritedComponent(this, TMyForm::StaticClass());
//     }
//
// OnCreate runs once, when the first layout has been read (Loaded).
//
// Application and Screen are made on first use; a program that wants the
// framework's start-up order calls Application->Initialize() first.
#include <memory>
#include <string>
#include <vector>

#include "host/rtl/Strings.h"
#include "host/vcl/Controls.h"

namespace host {

class TMainMenu;
class TCustomForm;
class TForm;
class THintWindow;

HOST_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
HOST_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;
HOST_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
HOST_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter)
HOST_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;
// A key message before any control sees it; Handled stops it there.
using TShortCutEvent = TEvent<void(TMessage& Msg, bool& Handled)>;
using TExceptionEvent = TEvent<void(TObject* Sender, Exception* E)>;
using TIdleEvent = TEvent<void(TObject* Sender, bool& Done)>;
using TMessageEvent = TEvent<void(MSG& Msg, bool& Handled)>;
using THelpEvent = TEvent<bool(WORD Command, LPARAM Data, bool& CallHelp)>;

// ---- TCustomForm ----------------------------------------------------------------------------

class TCustomForm : public TWinControl {
    HOST_CLASS(TCustomForm, TWinControl)
    HOST_MESSAGES(TCustomForm)
public:
    explicit TCustomForm(TComponent* AOwner);

    TModalResult GetModalResult() const { return FModalResult; }
    // Setting it on a modal form ends its modal loop.
    virtual void SetModalResult(TModalResult Value) { FModalResult = Value; }
    // The control that has (or gets, when the form becomes active) the focus.
    TWinControl* GetActiveControl() const { return FActiveControl; }
    virtual void SetActiveControl(TWinControl* Control);

    void Show();
    void Hide();
    virtual int ShowModal();
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the message loop gets back to it: safe inside the
    // form's own event handlers.
    void Release();
    void FocusControl(TWinControl* Control) override;
    bool SetFocusedControl(TWinControl* Control) override;
    void SetFocus() override;
    bool CanFocus() const override { return GetVisible() && GetEnabled(); }
    // Whether this form is the active window.
    bool GetActive() const { return FActive; }
    TFormState GetFormState() const { return FFormState; }
    // A key that the form (OnShortCut, then its menu) takes as a command.
    virtual bool IsShortCut(TMessage& Message);

    TFormStyle GetFormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons GetBorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TWindowState GetWindowState() const;
    void SetWindowState(TWindowState Value);
    TPosition GetPosition() const { return FPosition; }
    void SetPosition(TPosition Value);
    bool GetKeyPreview() const override { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    TIcon* GetIcon() const { return FIcon.get(); }
    void SetIcon(TIcon* Value);
    TCanvas* GetCanvas() const { return FCanvas.get(); }
    TMainMenu* GetMenu() const { return FMenu; }
    // The menus layer wires the menu bar; here the form only keeps the slot.
    virtual void SetMenu(TMainMenu* Value);
    // Forms are top-level: their own client area sizes them.
    TRect GetClientRect() override;

    // MDI frames.
    HWND GetClientHandle() const { return FClientHandle; }
    int GetMDIChildCount() const;
    TForm* GetMDIChildren(int I) const;
    TForm* GetActiveMDIChild() const;

    TNotifyEvent OnActivate;
    TNotifyEvent OnCreate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnHide;
    TNotifyEvent OnPaint;
    TNotifyEvent OnResize;
    TNotifyEvent OnShow;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

protected:
    void Destroy() override;
    void BeforeDestruction() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWindowHandle() override;
    bool CanShowStandalone() const override { return true; }
    void PaintWindow(HDC DC) override;
    void Resize() override;
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;

    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    virtual void Activate();
    virtual void Deactivate();
    virtual void Paint();

    void WMActivate(TMessage& Message);
    void WMClose(TMessage& Message);
    void WMPaint(TMessage& Message);
    void WMSize(TMessage& Message);
    void WMCommand(TMessage& Message);
    void WMInitMenuPopup(TMessage& Message);
    void CMActivate(TMessage& Message);
    void CMDeactivate(TMessage& Message);
    void CMDialogKey(TMessage& Message);
    void CMRelease(TMessage& Message);
    void CMShowingChanged(TMessage& Message);

    TModalResult FModalResult = mrNone;
    TWinControl* FActiveControl = nullptr;
    TFormStyle FFormStyle = fsNormal;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TWindowState FWindowState = wsNormal;
    TPosition FPosition = poDesigned;
    TFormState FFormState;
    bool FKeyPreview = false;
    bool FActive = false;
    TMainMenu* FMenu = nullptr;
    HWND FClientHandle = nullptr;

private:
    friend class TApplication;
    friend class TScreen;
    void SetWindowFocus();
    void ApplyPosition();
    void ApplyWindowState();
    void ApplyStayOnTop();
    void CloseModal();
    void CreateMDIClient();
    void MergeFrameIntoClientRect(TRect& R) const;
    TCustomForm* MDIFrame() const;

    std::unique_ptr<TControlCanvas> FCanvas;
    std::unique_ptr<TIcon> FIcon;
    bool FCreated = false;
    bool FPositioned = false;
};

class TForm : public TCustomForm {
    HOST_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* AOwner);
    void Cascade();
    void Tile();
    void Next();
    void Previous();
    void ArrangeIcons() {}
};

// ---- TApplication -------------------------------------------------------------------------

class TApplication : public TComponent {
    HOST_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* AOwner);

    void Initialize() {}
    // Creates a form of class T owned by the application; the first one
    // becomes the main form.
    template <class T>
    void CreateForm(T*& Reference)
    {
        auto* form = new T(this);
        Reference = form;
        FormCreated(form);
    }
    void CreateForm(TClass FormClass, TCustomForm*& Reference);
    void Run();
    void ProcessMessages();
    // One message, or when there is none, OnIdle and then a wait for the next.
    void HandleMessage();
    void Terminate();
    bool GetTerminated() const { return FTerminated; }
    // Inside a catch block: OnException, or ShowException when not assigned.
    void HandleException(TObject* Sender);
    void ShowException(Exception* E);
    int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags = MB_OK);
    // Calls OnHelp; false when nothing shows help.
    bool HelpContext(int Context);
    bool HelpCommand(WORD Command, LPARAM Data);
    void CancelHint();
    void ActivateHint(const TPoint& CursorPos);

    HWND GetHandle();
    TForm* GetMainForm() const { return FMainForm; }
    std::string GetTitle() const;
    void SetTitle(const std::string& Value) { FTitle = Value; }
    std::string GetExeName() const;
    bool GetActive() const { return FActive; }
    const std::string& GetHint() const { return FHint; }
    void SetHint(const std::string& Value);
    bool GetShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    TColor GetHintColor() const { return FHintColor; }
    void SetHintColor(TColor Value) { FHintColor = Value; }
    int GetHintPause() const { return FHintPause; }
    void SetHintPause(int Value) { FHintPause = Value; }
    int GetHintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int Value) { FHintHidePause = Value; }
    THintWindow* GetHintWindow() const { return FHintWindow; }
    int GetCurrentHelpContext() const { return FHelpContext; }

    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    TNotifyEvent OnHint;
    TMessageEvent OnMessage;
    TShortCutEvent OnShortCut;
    THelpEvent OnHelp;

    // Runs before each message is dispatched, in every loop (the
    // application's, modal ones and the test helpers'): hints, OnMessage and
    // key reflection. True when the message was handled.
    bool ProcessDispatch(MSG& Msg);
    // Key reflection: a key message goes first to the control it is for as
    // CN_KEYDOWN/CN_CHAR..., so that dialog keys and shortcuts work.
    static bool IsKeyMsg(MSG& Msg);
    // The shortcuts of the form the key message is for.
    static bool IsFormShortCut(MSG& Msg);

protected:
    void Destroy() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TCustomForm;
    friend class TScreen;
    void FormCreated(TCustomForm* Form);
    bool ProcessMessage(MSG& Msg);
    void Idle();
    void WndProc(TMessage& Message);
    void HintMouseMessage(const MSG& Msg);
    void HintTimerExpired();
    void StartHintTimer(UINT Delay);
    void StopHintTimer();
    bool IsShortCut(MSG& Msg);
    void ActiveChanged(bool Active);

    HWND FHandle = nullptr;
    TForm* FMainForm = nullptr;
    std::string FTitle;
    std::string FHint;
    bool FTerminated = false;
    bool FActive = false;
    bool FShowHint = true;
    TColor FHintColor = clInfoBk;
    int FHintPause = 500;
    int FHintHidePause = 2500;
    int FHelpContext = 0;
    THintWindow* FHintWindow = nullptr;
    TControl* FHintControl = nullptr;
    bool FHintTimerOn = false;
    bool FHintShowing = false;
};

// ---- TScreen --------------------------------------------------------------------------------

class TScreen : public TComponent {
    HOST_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* AOwner);

    int GetFormCount() const;
    TForm* GetForms(int Index) const;
    int GetCustomFormCount() const { return int(FCustomForms.size()); }
    TCustomForm* GetCustomForms(int Index) const;
    TForm* GetActiveForm() const;
    TCustomForm* GetActiveCustomForm() const { return FActiveCustomForm; }
    TWinControl* GetActiveControl() const { return FActiveControl; }
    TCursor GetCursor() const { return FCursor; }
    // A cursor for every window (crHourGlass while busy); crDefault lets each
    // control show its own again.
    void SetCursor(TCursor Value);
    HCURSOR GetCursors(int Index) const;
    void SetCursors(int Index, HCURSOR Handle);
    int GetPixelsPerInch() const { return 96; }
    int GetWidth() const;
    int GetHeight() const;
    TStrings* GetFonts();
    TFont* GetHintFont() const { return FHintFont.get(); }
    void SetHintFont(TFont* Value) { FHintFont->Assign(Value); }

    TNotifyEvent OnActiveControlChange;
    TNotifyEvent OnActiveFormChange;

protected:
    void Destroy() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* Form);
    void RemoveForm(TCustomForm* Form);
    // The form whose window is active now, and its focused control.
    void SetFocusedForm(TCustomForm* Form);
    void SetActiveControl(TCustomForm* Form, TWinControl* Control);
    void BringFormToFront(TCustomForm* Form);

    std::vector<TCustomForm*> FCustomForms;
    TCustomForm* FActiveCustomForm = nullptr;
    TWinControl* FActiveControl = nullptr;
    TCursor FCursor = crDefault;
    std::unique_ptr<TFont> FHintFont;
    std::unique_ptr<TStrings> FFonts;
};

// The global objects, made on first use. They convert to the object pointer,
// so `new TMyForm(Application)` and `Application->Run()` both read naturally.
template <class T>
struct TGlobalObject {
    T* (*Get)();
    T* operator->() const { return Get(); }
    operator T*() const { return Get(); }
};
TApplication* GetApplication();
TScreen* GetScreen();
inline constexpr TGlobalObject<TApplication> Application{&GetApplication};
inline constexpr TGlobalObject<TScreen> Screen{&GetScreen};
// Whether the application object exists (without making it).
bool ApplicationCreated();
// Frees the application (with the forms it owns) and the screen; the next
// use makes fresh ones. For the end of a program, and tests that start over.
void DoneApplication();

} // namespace host
