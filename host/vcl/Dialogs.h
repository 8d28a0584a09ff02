#pragma once
// Message dialogs and input boxes: real modal forms built to fit their text.
// Their buttons are named after their kind ("Yes", "No", "OK", "Cancel",
// "Abort", "Retry", "Ignore", "All", "Help"), the text label "Message", so
// tests and programs can find them with FindComponent.
#include <string>

#include "host/rtl/SysUtils.h"
#include "host/vcl/Forms.h"

namespace host {

HOST_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
HOST_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbHelp)
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The dialog a message dialog shows: an icon for the type, the text, the
// buttons in a centred row. Free it after ShowModal.
class TMessageForm : public TForm {
    HOST_CLASS(TMessageForm, TForm)
public:
    explicit TMessageForm(TComponent* AOwner);
    TMsgDlgType GetDlgType() const { return FDlgType; }
    int GetHelpContext() const { return FHelpContext; }

protected:
    friend TForm* CreateMessageDialog(const std::string&, TMsgDlgType, TMsgDlgButtons);
    friend int MessageDlgPos(const std::string&, TMsgDlgType, TMsgDlgButtons, int, int, int);
    void Paint() override;
    void HelpButtonClick(TObject* Sender);

    TMsgDlgType FDlgType = mtCustom;
    TPoint FIconPos;
    int FHelpContext = 0;
};

TForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
// The dialog's modal result (mrYes, mrCancel...).
int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
// The same with the dialog's top-left at X, Y (-1 keeps it centred on that axis).
int MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                  int Y);
// An OK box titled with the application's title.
void ShowMessage(const std::string& Msg);
void ShowMessageFmt(const std::string& Msg, TVarRecs Params);
// A dialog with a prompt and an edit holding Value; true (and the edited
// Value) when OK closed it.
bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value);
// The edited text, or ADefault when the dialog was cancelled.
std::string InputBox(const std::string& ACaption, const std::string& APrompt, const std::string& ADefault);

} // namespace host

// The common dialogs (file, font, colour, print, find) belong to this unit too.
#include "host/vcl/CommonDialogs.h"
