#include "general/Kelexcep.h"

#include "host/rtl/Clock.h"
#include "host/rtl/DateTime.h"
#include "host/rtl/FileUtils.h"
#include "host/rtl/SysLocale.h"
#include "host/vcl/Forms.h"
#include "host/win/Input.h"
#include "host/win/Modal.h"
#include "host/win/Screen.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace host;
using namespace kel;

namespace {

std::string ReadFile(const std::string& Name)
{
    std::ifstream In(Name, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
}

const std::string Header = "DateTime,User,Exception Class,Exception Message,EXE,Application,Sender Class, Sender "
                           "ComponentName,Exception Address, System Class, System Msg, System Address\r\n";

class AppExceptionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem(SIZE{800, 600});
        DoneApplication();
        SetModalIdleLimit(60 * 1000);
        Application->SetTitle("Payroll");
        Dir = std::filesystem::temp_directory_path() /
              ("kel_excep_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Dir);
        Log = (Dir / "app.log").string();
        // Every message box is recorded and answered.
        SetModalHook([this](HWND Wnd) {
            std::string Text;
            UINT Type = 0;
            if (GetMessageBoxContent(Wnd, Text, Type)) {
                char Caption[256] = {};
                GetWindowText(Wnd, Caption, int(sizeof Caption));
                Boxes.push_back({Caption, Text, Type});
                Input::KeyPress(VK_RETURN);
                return;
            }
            auto* Form = dynamic_cast<TForm*>(FindControl(Wnd));
            ASSERT_NE(Form, nullptr) << "an unexpected modal window";
            Dialogs.push_back(Form->GetCaption() + ": " + DialogText(Form));
            Form->SetModalResult(mrOk);
        });
    }
    void TearDown() override
    {
        SetModalHook(nullptr);
        DoneApplication();
        ResetWindowSystem();
        std::filesystem::remove_all(Dir);
    }
    // The message of a message dialog: the caption of its one label.
    static std::string DialogText(TForm* Form)
    {
        for (int I = 0; I < Form->GetComponentCount(); ++I)
            if (auto* L = dynamic_cast<TControl*>(Form->GetComponents(I)); L && L->GetName() == "Message")
                return L->GetText();
        return "?";
    }
    // Raises E inside a catch block and lets the application handle it, as
    // the message loop does for an exception escaping an event handler.
    template <class E>
    void Raise(const E& Error, TObject* Sender = nullptr)
    {
        try {
            throw Error;
        } catch (...) {
            Application->HandleException(Sender);
        }
    }
    struct TBox {
        std::string Caption, Text;
        UINT Type;
    };
    std::vector<TBox> Boxes;
    std::vector<std::string> Dialogs;
    TFormatSettingsGuard Settings;
    TVirtualClock Clock{EncodeDate(2026, 12, 8) + EncodeTime(9, 30, 15, 0)};
    TClockOverride Override{Clock};
    std::filesystem::path Dir;
    std::string Log;
};

TEST_F(AppExceptionTest, CancelledExceptionsAreNeitherShownLoggedNorTerminating)
{
    TAppException Handler(nullptr);
    Handler.GetExcepLog()->SetFileName(Log);
    Handler.SetTerminate(true);
    int Calls = 0;
    Handler.OnException = kel::TExceptionEvent([&](TObject*, Exception* E, bool& Cancel) {
        ++Calls;
        EXPECT_EQ(E->GetMessage(), "boom");
        Cancel = true;
    });
    Raise(EConvertError("boom"));
    EXPECT_EQ(Calls, 1);
    EXPECT_TRUE(Boxes.empty());
    EXPECT_FALSE(FileExists(Log));
    EXPECT_FALSE(Application->GetTerminated());
}

TEST_F(AppExceptionTest, ShownThenLoggedThenTerminated)
{
    TAppException Handler(nullptr);
    Handler.GetExcepLog()->SetFileName(Log);
    Handler.GetExcepLog()->SetUserName("ada");
    Handler.SetTerminate(true);
    auto* Sender = new TComponent(nullptr);
    Sender->SetName("SaveButton");
    Raise(EConvertError("'x' is not a valid integer value"), Sender);
    Sender->Free();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Payroll");
    EXPECT_EQ(Boxes[0].Text, "'x' is not a valid integer value");
    EXPECT_EQ(Boxes[0].Type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
    const std::string Exe = Application->GetExeName();
    const std::string Expected = Header + "12/8/2026 9:30:15 AM,ada,EConvertError,'x' is not a valid integer value," +
                                 Exe + ",Payroll,TComponent,SaveButton," + Handler.GetExceptAddr() + ",,,\r\n";
    EXPECT_EQ(ReadFile(Log), Expected);
    EXPECT_FALSE(Handler.GetExceptAddr().empty());
    EXPECT_TRUE(Application->GetTerminated());
}

TEST_F(AppExceptionTest, LogColumnsBySwitchesAndExceptionKind)
{
    TAppException Handler(nullptr);
    Handler.GetExcepMsg()->SetEnabled(false);
    TExcepLog* L = Handler.GetExcepLog();
    L->SetFileName(Log);
    const EConvertError Sys("Invalid floating point operation");
    const int Marker = 0;
    struct Case {
        bool Debug;
        bool Override;
        std::string Tail; // columns 9 to 12
    };
    // Columns 9 to 12 after the handler ran, as the record must show them.
    Raise(EOverrideSysError(Sys, "Please check the rate", &Marker));
    const std::string SysAddr = kelAddressText(&Marker);
    const std::string Addr1 = Handler.GetExceptAddr();
    L->SetLogDebug(false);
    Raise(EOverrideSysError(Sys, "Please check the rate", &Marker));
    L->SetLogDebug(true);
    Raise(Exception("plain"));
    const std::string Addr3 = Handler.GetExceptAddr();
    L->SetLogExeName(false);
    L->SetLogAppTitle(false);
    L->SetLogSender(false);
    L->SetLogDebug(false);
    Raise(Exception("all off"));

    std::stringstream In(ReadFile(Log));
    std::string Line;
    std::vector<std::string> Lines;
    while (std::getline(In, Line)) Lines.push_back(Line);
    ASSERT_EQ(Lines.size(), 5u);
    const std::string Stamp = "12/8/2026 9:30:15 AM,";
    const std::string Exe = Application->GetExeName();
    EXPECT_EQ(Lines[1], Stamp + ",EOverrideSysError,Please check the rate," + Exe + ",Payroll,,," + Addr1 +
                            ",EConvertError,Invalid floating point operation," + SysAddr + "\r");
    EXPECT_EQ(Lines[2], Stamp + ",EOverrideSysError,Please check the rate," + Exe + ",Payroll,,,,,,\r");
    EXPECT_EQ(Lines[3], Stamp + ",Exception,plain," + Exe + ",Payroll,,," + Addr3 + ",,,\r");
    // All switches off: date-time, user, class, message, then eight commas.
    EXPECT_EQ(Lines[4], Stamp + ",Exception,all off,,,,,,,,\r");
}

TEST_F(AppExceptionTest, ValuesWithSeparatorsAreQuotedAndExtraColumnsFollow)
{
    TAppException Handler(nullptr);
    Handler.GetExcepMsg()->SetEnabled(false);
    Handler.GetExcepLog()->SetFileName(Log);
    Handler.GetExcepLog()->SetLogExeName(false);
    Handler.GetExcepLog()->SetLogDebug(false);
    Handler.SetLogExtraInfo(TLogAppendEvent([](TObject* Sender, TStrings* Fields) {
        EXPECT_NE(dynamic_cast<TExcepLog*>(Sender), nullptr);
        Fields->Add("shift 2");
        Fields->Add("a,b");
    }));
    Raise(EConvertError("line one\r\nsaid \"no\", twice"));
    EXPECT_EQ(ReadFile(Log), Header + "12/8/2026 9:30:15 AM,,EConvertError,\"line one\r\nsaid \"\"no\"\", twice\",,"
                                      "Payroll,,,,,,,shift 2,\"a,b\"\r\n");
}

TEST_F(AppExceptionTest, AnExistingLogOnlyGainsTheRecordAndADisabledLogIsNotTouched)
{
    {
        std::ofstream Out(Log, std::ios::binary);
        Out << "older record\r\n";
    }
    TAppException Handler(nullptr);
    Handler.GetExcepMsg()->SetEnabled(false);
    Handler.GetExcepLog()->SetFileName(Log);
    Handler.GetExcepLog()->SetLogExeName(false);
    Handler.GetExcepLog()->SetLogDebug(false);
    Raise(Exception("x"));
    EXPECT_EQ(ReadFile(Log), "older record\r\n12/8/2026 9:30:15 AM,,Exception,x,,Payroll,,,,,,\r\n");

    const std::string Other = (Dir / "never.log").string();
    Handler.GetExcepLog()->SetFileName(Other);
    Handler.GetExcepLog()->SetEnabled(false);
    Raise(Exception("y"));
    EXPECT_FALSE(FileExists(Other));
}

TEST_F(AppExceptionTest, DefaultLogNameReplacesTheExtensionOrAppendsOne)
{
    TExcepLog L;
    const std::string Exe = Application->GetExeName();
    ASSERT_TRUE(ExtractFileExt(Exe).empty()) << "test programs here have no extension";
    EXPECT_EQ(L.LogFileName(), Exe + ".LOG");
    L.SetFileName("/var/log/pay.csv");
    EXPECT_EQ(L.LogFileName(), "/var/log/pay.csv");
}

TEST_F(AppExceptionTest, SystemBoxTexts)
{
    TAppException Handler(nullptr);
    Handler.GetExcepLog()->SetEnabled(false);
    TExcepMsg* M = Handler.GetExcepMsg();
    const EConvertError Sys("Access violation");
    const int Marker = 0;

    Raise(Exception("")); // nothing to show
    M->GetLines()->Add("The payroll could not be saved.");
    M->GetLines()->Add("Call the office.");
    M->SetTitle("Payroll error");
    M->SetMsgType(mtError);
    Raise(Exception("Disk full"));
    M->GetLines()->Clear();
    M->SetShowDebug(true);
    Raise(EOverrideSysError(Sys, "Friendly", &Marker));

    ASSERT_EQ(Boxes.size(), 3u);
    EXPECT_EQ(Boxes[0].Text, "An exception occured in your application.");
    EXPECT_EQ(Boxes[0].Caption, "Payroll");
    EXPECT_EQ(Boxes[1].Text, "The payroll could not be saved.\r\nCall the office.\r\nDisk full");
    EXPECT_EQ(Boxes[1].Caption, "Payroll error");
    EXPECT_EQ(Boxes[1].Type & MB_ICONMASK, UINT(MB_ICONHAND));
    EXPECT_EQ(Boxes[2].Text, "Friendly\r\nAddress: " + Handler.GetExceptAddr() +
                                 "\r\nSysClass: EConvertError\r\nSysMsg: Access violation\r\nSysAddr: " +
                                 kelAddressText(&Marker));
}

TEST_F(AppExceptionTest, FrameworkDialogsOneAfterTheOther)
{
    TAppException Handler(nullptr);
    Handler.GetExcepLog()->SetEnabled(false);
    TExcepMsg* M = Handler.GetExcepMsg();
    M->SetMsgBox(mbDelphi);
    for (const char* Line : {"one", "two", "three"}) M->GetLines()->Add(Line);
    Raise(Exception("the message"));
    EXPECT_EQ(Dialogs, (std::vector<std::string>{"Warning: one", "Warning: two", "Warning: three",
                                                 "Warning: the message"}));
    Dialogs.clear();
    M->GetLines()->Clear();
    M->SetShowExcMsg(false);
    M->SetShowDebug(true);
    const int Marker = 0;
    Raise(EOverrideSysError(EConvertError("raw"), "Friendly", &Marker));
    EXPECT_EQ(Dialogs, (std::vector<std::string>{"Warning: Exception occured at: " + Handler.GetExceptAddr(),
                                                 "Warning: SysClass: EConvertError", "Warning: SysMsg: raw",
                                                 "Warning: SysAddr: " + kelAddressText(&Marker)}));
}

TEST_F(AppExceptionTest, DestroyingAHandlerPutsBackWhatItReplacedWithoutDanglingHooks)
{
    int Earlier = 0;
    Application->OnException = TEvent<void(TObject*, Exception*)>([&](TObject*, Exception*) { ++Earlier; });
    auto* First = new TAppException(nullptr);
    First->GetExcepMsg()->SetEnabled(false);
    First->GetExcepLog()->SetEnabled(false);
    auto* Second = new TAppException(nullptr);
    Second->GetExcepMsg()->SetEnabled(false);
    Second->GetExcepLog()->SetEnabled(false);
    EXPECT_EQ(AppException, Second);

    First->Free(); // not the installed one: the application's hook stays with Second
    EXPECT_EQ(AppException, Second);
    int SecondCalls = 0;
    Second->OnException = kel::TExceptionEvent([&](TObject*, Exception*, bool&) { ++SecondCalls; });
    Raise(Exception("a"));
    EXPECT_EQ(SecondCalls, 1);

    Second->Free(); // Second replaced First, which is gone: the program's own handler comes back
    EXPECT_EQ(AppException, nullptr);
    Raise(Exception("b"));
    EXPECT_EQ(Earlier, 1);
    Application->OnException = nullptr;
}

TEST_F(AppExceptionTest, AnExceptionInAnEventHandlerReachesTheHandler)
{
    TAppException Handler(nullptr);
    Handler.GetExcepLog()->SetFileName(Log);
    TForm* Form = nullptr;
    Application->CreateForm(Form);
    Form->SetName("Main");
    Form->OnClick = TNotifyEvent([](TObject*) { throw EConvertError("from a click"); });
    Form->Show();
    ProcessPendingMessages();
    POINT P{Form->GetClientWidth() / 2, Form->GetClientHeight() / 2};
    ClientToScreen(Form->GetHandle(), &P);
    Input::Click(P.x, P.y);
    ProcessPendingMessages();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "from a click");
    const std::string Record = ReadFile(Log);
    EXPECT_NE(Record.find(",EConvertError,from a click,"), std::string::npos) << Record;
    EXPECT_NE(Record.find(",TForm,Main,"), std::string::npos) << Record;
}

} // namespace
