#include "general/Kelexcep.h"

#include <algorithm>
#include <vector>

#include "general/KelLogFile.h"
#include "host/rtl/Clock.h"
#include "host/rtl/DateTime.h"
#include "host/rtl/FileUtils.h"
#include "host/vcl/Forms.h"
#include "host/win/WinUser.h"

namespace kel {

using namespace host;

TAppException* AppException = nullptr;

namespace {

const char* const LogHeader =
    "DateTime,User,Exception Class,Exception Message,EXE,Application,Sender Class, Sender ComponentName,"
    "Exception Address, System Class, System Msg, System Address";

using TAppHandler = TEvent<void(TObject*, Exception*)>;

// Every live, installed handler, oldest first: a handler that goes hands its
// predecessor on to the one installed after it, so no saved hook ever points
// at a destroyed component.
std::vector<TAppException*>& Installed()
{
    static std::vector<TAppException*> list;
    return list;
}

std::string CurrentExceptAddr() { return AppException ? AppException->GetExceptAddr() : std::string(); }

UINT IconFor(TMsgDlgType Type)
{
    switch (Type) {
    case mtWarning: return MB_ICONEXCLAMATION;
    case mtError: return MB_ICONHAND;
    case mtInformation: return MB_ICONASTERISK;
    case mtConfirmation: return MB_ICONQUESTION;
    default: return 0;
    }
}

void ShowDelphiLine(const std::string& Text, TMsgDlgType Type) { MessageDlg(Text, Type, TMsgDlgButtons{mbOK}, 0); }

} // namespace

std::string kelAddressText(const void* Address) { return Format("%p", {Address}); }

// ---- EOverrideSysError ----------------------------------------------------------------

EOverrideSysError::EOverrideSysError(const Exception& SysError, const std::string& Msg, const void* Addr)
    : Exception(Msg), SysClass(SysError.ClassName()), SysMsg(SysError.GetMessage()), SysAddr(kelAddressText(Addr))
{
}

// ---- TExcepMsg ------------------------------------------------------------------------

HOST_PUBLISHED(TExcepMsg)
{
    P.Property("Enabled", &TExcepMsg::GetEnabled, &TExcepMsg::SetEnabled).Default(true);
    P.Property("Beep", &TExcepMsg::GetBeep, &TExcepMsg::SetBeep).Default(false);
    P.Property("MsgBox", &TExcepMsg::GetMsgBox, &TExcepMsg::SetMsgBox).Default(mbWinAPI);
    P.Property("Title", &TExcepMsg::GetTitle, &TExcepMsg::SetTitle);
    P.Property("Lines", &TExcepMsg::GetLines, &TExcepMsg::SetLines);
    P.Property("ShowExcMsg", &TExcepMsg::GetShowExcMsg, &TExcepMsg::SetShowExcMsg).Default(true);
    P.Property("ShowDebug", &TExcepMsg::GetShowDebug, &TExcepMsg::SetShowDebug).Default(false);
    P.Property("MsgType", &TExcepMsg::GetMsgType, &TExcepMsg::SetMsgType).Default(mtWarning);
}

TExcepMsg::TExcepMsg() : FLines(std::make_unique<TStringList>()) {}

TExcepMsg::~TExcepMsg() = default;

void TExcepMsg::Assign(TPersistent* Source)
{
    auto* Other = dynamic_cast<TExcepMsg*>(Source);
    if (!Other) return inherited::Assign(Source);
    FEnabled = Other->FEnabled;
    FBeep = Other->FBeep;
    FMsgBox = Other->FMsgBox;
    FTitle = Other->FTitle;
    FLines->Assign(Other->FLines.get());
    FShowExcMsg = Other->FShowExcMsg;
    FShowDebug = Other->FShowDebug;
    FMsgType = Other->FMsgType;
}

void TExcepMsg::ShowExceptionMsg(Exception* E)
{
    if (!FEnabled) return;
    if (FBeep) MessageBeep(IconFor(FMsgType));
    if (FMsgBox == mbDelphi)
        ShowExceptionDelphi(E);
    else
        ShowExceptionWinAPI(E);
}

void TExcepMsg::ShowExceptionDelphi(Exception* E)
{
    for (int I = 0; I < FLines->GetCount(); ++I) ShowDelphiLine(FLines->GetStrings(I), FMsgType);
    if (FShowExcMsg) ShowDelphiLine(E ? E->GetMessage() : std::string(), FMsgType);
    if (!FShowDebug) return;
    ShowDelphiLine("Exception occured at: " + CurrentExceptAddr(), FMsgType);
    if (auto* Sys = dynamic_cast<EOverrideSysError*>(E)) {
        if (!Sys->SysClass.empty()) ShowDelphiLine("SysClass: " + Sys->SysClass, FMsgType);
        if (!Sys->SysMsg.empty()) ShowDelphiLine("SysMsg: " + Sys->SysMsg, FMsgType);
        if (!Sys->SysAddr.empty()) ShowDelphiLine("SysAddr: " + Sys->SysAddr, FMsgType);
    }
}

void TExcepMsg::ShowExceptionWinAPI(Exception* E)
{
    try {
        std::string Text;
        for (int I = 0; I < FLines->GetCount(); ++I) Text += FLines->GetStrings(I) + "\r\n";
        if (FShowExcMsg && E && !E->GetMessage().empty()) Text += E->GetMessage();
        if (FShowDebug) {
            Text += "\r\nAddress: " + CurrentExceptAddr();
            if (auto* Sys = dynamic_cast<EOverrideSysError*>(E)) {
                if (!Sys->SysClass.empty()) Text += "\r\nSysClass: " + Sys->SysClass;
                if (!Sys->SysMsg.empty()) Text += "\r\nSysMsg: " + Sys->SysMsg;
                if (!Sys->SysAddr.empty()) Text += "\r\nSysAddr: " + Sys->SysAddr;
            }
        }
        if (Text.empty()) Text = "An exception occured in your application.";
        const std::string Caption = FTitle.empty() ? Application->GetTitle() : FTitle;
        Application->MessageBox(Text, Caption, MB_OK | IconFor(FMsgType));
    } catch (...) {
        // A handler that fails while reporting must not raise a second error.
    }
}

// ---- TExcepLog ------------------------------------------------------------------------

HOST_PUBLISHED(TExcepLog)
{
    P.Property("Enabled", &TExcepLog::GetEnabled, &TExcepLog::SetEnabled).Default(true);
    P.Property("FileName", &TExcepLog::GetFileName, &TExcepLog::SetFileName);
    P.Property("UserName", &TExcepLog::GetUserName, &TExcepLog::SetUserName);
    P.Property("LogExeName", &TExcepLog::GetLogExeName, &TExcepLog::SetLogExeName).Default(true);
    P.Property("LogAppTitle", &TExcepLog::GetLogAppTitle, &TExcepLog::SetLogAppTitle).Default(true);
    P.Property("LogSender", &TExcepLog::GetLogSender, &TExcepLog::SetLogSender).Default(true);
    P.Property("LogDebug", &TExcepLog::GetLogDebug, &TExcepLog::SetLogDebug).Default(true);
    P.Property("LogExtraInfo", &TExcepLog::LogExtraInfo);
}

void TExcepLog::Assign(TPersistent* Source)
{
    auto* Other = dynamic_cast<TExcepLog*>(Source);
    if (!Other) return inherited::Assign(Source);
    FEnabled = Other->FEnabled;
    FFileName = Other->FFileName;
    FUserName = Other->FUserName;
    FLogExeName = Other->FLogExeName;
    FLogAppTitle = Other->FLogAppTitle;
    FLogSender = Other->FLogSender;
    FLogDebug = Other->FLogDebug;
    LogExtraInfo = Other->LogExtraInfo;
}

std::string TExcepLog::LogFileName() const
{
    if (!FFileName.empty()) return FFileName;
    const std::string Exe = Application->GetExeName();
    if (ExtractFileExt(Exe).empty()) return Exe + ".LOG";
    return ChangeFileExt(Exe, ".LOG");
}

void TExcepLog::LogException(TObject* Sender, Exception* E)
{
    std::vector<std::string> Columns;
    Columns.push_back(FormatDateTime("ddddd tt", Now()));
    Columns.push_back(FUserName);
    Columns.push_back(E ? E->ClassName() : "");
    Columns.push_back(E ? E->GetMessage() : "");
    Columns.push_back(FLogExeName ? Application->GetExeName() : "");
    Columns.push_back(FLogAppTitle ? Application->GetTitle() : "");
    auto* SenderComponent = dynamic_cast<TComponent*>(Sender);
    Columns.push_back(FLogSender && Sender ? std::string(Sender->ClassName()) : "");
    Columns.push_back(FLogSender && SenderComponent ? SenderComponent->GetName() : "");
    auto* Sys = dynamic_cast<EOverrideSysError*>(E);
    Columns.push_back(FLogDebug ? CurrentExceptAddr() : "");
    Columns.push_back(FLogDebug && Sys ? Sys->SysClass : "");
    Columns.push_back(FLogDebug && Sys ? Sys->SysMsg : "");
    Columns.push_back(FLogDebug && Sys ? Sys->SysAddr : "");
    if (LogExtraInfo.Assigned()) {
        TStringList Extra;
        LogExtraInfo(this, &Extra);
        for (int I = 0; I < Extra.GetCount(); ++I) Columns.push_back(Extra.GetStrings(I));
    }
    std::string Line;
    for (size_t I = 0; I < Columns.size(); ++I) {
        if (I) Line += ',';
        Line += kelLogValue(Columns[I]);
    }
    kelAppendLogLine(LogFileName(), LogHeader, Line);
}

// ---- TAppException --------------------------------------------------------------------

HOST_PUBLISHED(TAppException)
{
    P.Property("ExcepMsg", &TAppException::GetExcepMsg, &TAppException::SetExcepMsg);
    P.Property("ExcepLog", &TAppException::GetExcepLog, &TAppException::SetExcepLog);
    P.Property("Terminate", &TAppException::GetTerminate, &TAppException::SetTerminate).Default(false);
    P.Property("OnException", &TAppException::OnException);
    P.Property("LogExtraInfo", &TAppException::GetLogExtraInfo, &TAppException::SetLogExtraInfo);
}

TAppException::TAppException(TComponent* AOwner)
    : TComponent(AOwner), FExcepMsg(nullptr), FExcepLog(std::make_unique<TExcepLog>())
{
    FExcepMsg = std::make_unique<TExcepMsg>();
    if (GetComponentState().Contains(csDesigning)) return;
    AppException = this;
    FPreviousHandler = Application->OnException;
    Application->OnException = TAppHandler(this, &TAppException::ApplicationExceptionHandler);
    Installed().push_back(this);
}

void TAppException::Uninstall()
{
    auto& List = Installed();
    const auto It = std::find(List.begin(), List.end(), this);
    if (It == List.end()) return;
    const TAppHandler Own(this, &TAppException::ApplicationExceptionHandler);
    if (Application->OnException == Own) Application->OnException = FPreviousHandler;
    // Whoever was installed after this one now falls back to this one's predecessor.
    if (It + 1 != List.end() && (*(It + 1))->FPreviousHandler == Own) (*(It + 1))->FPreviousHandler = FPreviousHandler;
    List.erase(It);
    if (AppException != this) return;
    // The component whose handler is active again reports the addresses.
    AppException = nullptr;
    for (TAppException* Other : List)
        if (Application->OnException == TAppHandler(Other, &TAppException::ApplicationExceptionHandler))
            AppException = Other;
}

void TAppException::Destroy()
{
    Uninstall();
    if (AppException == this) AppException = nullptr;
    FExcepMsg.reset();
    FExcepLog.reset();
    inherited::Destroy();
}

TLogAppendEvent TAppException::GetLogExtraInfo() const
{
    return FExcepLog ? FExcepLog->LogExtraInfo : TLogAppendEvent();
}

void TAppException::SetLogExtraInfo(const TLogAppendEvent& Value)
{
    if (FExcepLog) FExcepLog->LogExtraInfo = Value;
}

void TAppException::ApplicationExceptionHandler(TObject* Sender, Exception* E)
{
    // The raising code's address is not recoverable here; the exception
    // object's address identifies the failure instead.
    FExceptAddr = kelAddressText(E);
    FCancel = false;
    if (OnException.Assigned()) OnException(Sender, E, FCancel);
    if (FCancel) return;
    FExcepMsg->ShowExceptionMsg(E);
    if (FExcepLog->GetEnabled()) FExcepLog->LogException(Sender, E);
    if (FTerminate) Application->Terminate();
}

HOST_REGISTER_CLASSES(TAppException);

} // namespace kel
