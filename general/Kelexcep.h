#pragma once
// An application-wide handler for exceptions no code caught: it lets the
// program veto the handling, shows a configurable message, appends a record
// to a comma-separated log and can end the program.
#include <memory>
#include <string>

#include "host/rtl/Strings.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/Classes.h"
#include "host/vcl/Dialogs.h"
#include "host/vcl/TypInfo.h"

namespace kel {

// Re-raises a system error under a friendly message while keeping the system
// error's class, message and address for the diagnostics.
class EOverrideSysError : public host::Exception {
public:
    EOverrideSysError(const host::Exception& SysError, const std::string& Msg, const void* Addr);
    const char* ClassName() const noexcept override { return "EOverrideSysError"; }
    std::string SysClass;
    std::string SysMsg;
    std::string SysAddr;
};

HOST_ENUM(TErrMsgBoxType, mbDelphi, mbWinAPI)

using TExceptionEvent = host::TEvent<void(host::TObject* Sender, host::Exception* E, bool& Cancel)>;
using TLogAppendEvent = host::TEvent<void(host::TObject* Sender, host::TStrings* Fields)>;

// What is shown for an exception.
class TExcepMsg : public host::TPersistent {
    HOST_CLASS(TExcepMsg, host::TPersistent)
public:
    TExcepMsg();
    ~TExcepMsg() override;
    void Assign(host::TPersistent* Source) override;
    virtual void ShowExceptionDelphi(host::Exception* E);
    virtual void ShowExceptionWinAPI(host::Exception* E);
    virtual void ShowExceptionMsg(host::Exception* E);

    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    bool GetBeep() const { return FBeep; }
    void SetBeep(bool Value) { FBeep = Value; }
    TErrMsgBoxType GetMsgBox() const { return FMsgBox; }
    void SetMsgBox(TErrMsgBoxType Value) { FMsgBox = Value; }
    const std::string& GetTitle() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    host::TStrings* GetLines() const { return FLines.get(); }
    void SetLines(host::TStrings* Value) { FLines->Assign(Value); }
    bool GetShowExcMsg() const { return FShowExcMsg; }
    void SetShowExcMsg(bool Value) { FShowExcMsg = Value; }
    bool GetShowDebug() const { return FShowDebug; }
    void SetShowDebug(bool Value) { FShowDebug = Value; }
    host::TMsgDlgType GetMsgType() const { return FMsgType; }
    void SetMsgType(host::TMsgDlgType Value) { FMsgType = Value; }

private:
    bool FEnabled = true;
    bool FBeep = false;
    TErrMsgBoxType FMsgBox = mbWinAPI;
    std::string FTitle;
    std::unique_ptr<host::TStringList> FLines;
    bool FShowExcMsg = true;
    bool FShowDebug = false;
    host::TMsgDlgType FMsgType = host::mtWarning;
};

// Where and what is logged for an exception.
class TExcepLog : public host::TPersistent {
    HOST_CLASS(TExcepLog, host::TPersistent)
public:
    TExcepLog() = default;
    void Assign(host::TPersistent* Source) override;
    virtual void LogException(host::TObject* Sender, host::Exception* E);
    // FileName, or the program's path with its extension replaced by ".LOG"
    // (".LOG" appended when the program name has no extension).
    std::string LogFileName() const;

    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    const std::string& GetFileName() const { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    const std::string& GetUserName() const { return FUserName; }
    void SetUserName(const std::string& Value) { FUserName = Value; }
    bool GetLogExeName() const { return FLogExeName; }
    void SetLogExeName(bool Value) { FLogExeName = Value; }
    bool GetLogAppTitle() const { return FLogAppTitle; }
    void SetLogAppTitle(bool Value) { FLogAppTitle = Value; }
    bool GetLogSender() const { return FLogSender; }
    void SetLogSender(bool Value) { FLogSender = Value; }
    bool GetLogDebug() const { return FLogDebug; }
    void SetLogDebug(bool Value) { FLogDebug = Value; }

    TLogAppendEvent LogExtraInfo;

private:
    bool FEnabled = true;
    std::string FFileName;
    std::string FUserName;
    bool FLogExeName = true;
    bool FLogAppTitle = true;
    bool FLogSender = true;
    bool FLogDebug = true;
};

class TAppException : public host::TComponent {
    HOST_CLASS(TAppException, host::TComponent)
public:
    explicit TAppException(host::TComponent* AOwner);

    // Called by the application for every exception no code caught.
    virtual void ApplicationExceptionHandler(host::TObject* Sender, host::Exception* E);

    TExcepMsg* GetExcepMsg() const { return FExcepMsg.get(); }
    void SetExcepMsg(TExcepMsg* Value) { FExcepMsg->Assign(Value); }
    TExcepLog* GetExcepLog() const { return FExcepLog.get(); }
    void SetExcepLog(TExcepLog* Value) { FExcepLog->Assign(Value); }
    bool GetTerminate() const { return FTerminate; }
    void SetTerminate(bool Value) { FTerminate = Value; }
    TLogAppendEvent GetLogExtraInfo() const;
    void SetLogExtraInfo(const TLogAppendEvent& Value);
    // The address of the exception being handled, as the log writes it.
    const std::string& GetExceptAddr() const { return FExceptAddr; }

    TExceptionEvent OnException;

protected:
    void Destroy() override;

    bool FCancel = false;
    std::unique_ptr<TExcepMsg> FExcepMsg;
    std::unique_ptr<TExcepLog> FExcepLog;
    bool FTerminate = false;
    std::string FExceptAddr;

private:
    // Takes this component's handler out of the application and out of the
    // chain of handlers installed after it.
    void Uninstall();
    // The application's handler before this one was installed.
    host::TEvent<void(host::TObject*, host::Exception*)> FPreviousHandler;
};

// The TAppException that handles exceptions now, or nullptr.
extern TAppException* AppException;

// An address as the handler prints it: upper-case hexadecimal, as wide as a
// pointer on this platform.
std::string kelAddressText(const void* Address);

} // namespace kel
