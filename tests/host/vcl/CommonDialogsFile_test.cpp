// The open and save dialogs on a temporary folder tree, worked through their
// controls and answered through the modal hook.
#include "DialogTest.h"

#include "host/vcl/Dialogs.h"
#include "host/vcl/StdCtrls.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace formstest {
namespace {

std::vector<std::string> ListItems(TForm* Form, const std::string& Name)
{
    std::vector<std::string> items;
    auto* list = Find<TListBox>(Form, Name);
    for (int i = 0; list && i < list->GetItems()->GetCount(); ++i) items.push_back(list->GetItems()->GetStrings(i));
    return items;
}

void DoubleClickItem(TForm* Form, const std::string& Name, const std::string& Item)
{
    auto* list = Find<TListBox>(Form, Name);
    if (!list) return;
    int i = list->GetItems()->IndexOf(Item);
    ASSERT_GE(i, 0) << Item;
    TRect r = list->ItemRect(i);
    TPoint p = list->ClientToScreen(TPoint{r.left + 30, (r.top + r.bottom) / 2});
    Input::DoubleClick(p.x, p.y);
}

bool AnswerMessage(HWND Wnd, std::vector<std::string>& Texts, const std::string& Button)
{
    auto* msg = dynamic_cast<TMessageForm*>(FindControl(Wnd));
    if (!msg) return false;
    Texts.push_back(dynamic_cast<TLabel*>(msg->FindComponent("Message"))->GetCaption());
    ClickCentre(msg, Button);
    return true;
}

class FileDialogTest : public FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        char pattern[] = "/tmp/kel-filedlg-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        FDir = pattern;
        for (const char* f : {"alpha.txt", "beta.txt", "notes.doc", "readme"}) std::ofstream(FDir + "/" + f) << "x";
        fs::create_directories(FDir + "/sub/deeper");
        std::ofstream(FDir + "/sub/gamma.txt") << "x";
        FCwd = fs::current_path();
    }
    void TearDown() override
    {
        fs::current_path(FCwd);
        fs::remove_all(FDir);
        FormsTest::TearDown();
    }
    // A dialog of class T opened in the temporary folder.
    template <class T>
    T* MakeDialog(TOpenOptions Options)
    {
        auto* d = new T(nullptr);
        d->SetInitialDir(FDir);
        d->SetFilter("Text files (*.txt)|*.txt|Documents|*.doc|All files (*.*)|*.*");
        d->SetOptions(Options + ofNoChangeDir);
        FDialogs.push_back(d);
        return d;
    }
    void FreeDialogs()
    {
        for (TObject* d : FDialogs) d->Free();
        FDialogs.clear();
    }

    std::string FDir;
    fs::path FCwd;
    std::vector<TObject*> FDialogs;
};

TEST_F(FileDialogTest, OpenDialogTakesATypedNameOrADoubleClickedFile)
{
    TOpenDialog* dialog = MakeDialog<TOpenDialog>(TOpenOptions{ofFileMustExist});
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        EXPECT_EQ(form->GetCaption(), "Open");
        EXPECT_EQ(ListItems(form, "Files"), (std::vector<std::string>{"alpha.txt", "beta.txt"}));
        EXPECT_TRUE(Find(form, "ReadOnly")->GetVisible());
        EXPECT_FALSE(Find(form, "Help")->GetVisible());
        if (const char* dir = std::getenv("KEL_SCREENSHOTS")) Screenshot(Wnd, std::string(dir) + "/open-dialog.png");
        TypeInto(form, "FileName", "beta.txt");
        ClickCentre(form, "OK");
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->GetFileName(), FDir + "/beta.txt");
    ASSERT_EQ(dialog->GetFiles()->GetCount(), 1);
    EXPECT_EQ(dialog->GetFiles()->GetStrings(0), FDir + "/beta.txt");

    SetModalHook([&](HWND Wnd) { DoubleClickItem(FormOf(Wnd), "Files", "alpha.txt"); });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->GetFileName(), FDir + "/alpha.txt");
    FreeDialogs();
    EXPECT_EQ(Screen->GetFormCount(), 0);
}

TEST_F(FileDialogTest, FileMustExistNamesTheMissingFileAndKeepsTheDialogOpen)
{
    TOpenDialog* dialog = MakeDialog<TOpenDialog>(TOpenOptions{ofFileMustExist});
    std::vector<std::string> messages;
    SetModalHook([&](HWND Wnd) {
        if (AnswerMessage(Wnd, messages, "OK")) return;
        TForm* form = FormOf(Wnd);
        TypeInto(form, "FileName", "missing.txt");
        ClickCentre(form, "OK");
        EXPECT_TRUE(form->GetVisible());   // still choosing
        TypeInto(form, "FileName", "alpha.txt");
        ClickCentre(form, "OK");
    });
    ASSERT_TRUE(dialog->Execute());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], FDir + "/missing.txt\nFile not found.\nCheck the file name and try again.");
    EXPECT_EQ(dialog->GetFileName(), FDir + "/alpha.txt");
    FreeDialogs();
}

TEST_F(FileDialogTest, SaveDialogAsksBeforeReplacingAnExistingFile)
{
    struct Case {
        TOpenOptions Options;
        std::string Answer;   // to the confirmation
        bool Asked;
        bool Result;
    } cases[] = {
        {TOpenOptions{ofOverwritePrompt}, "Yes", true, true},
        {TOpenOptions{ofOverwritePrompt}, "No", true, false},
        {TOpenOptions{}, "", false, true},
    };
    for (const Case& k : cases) {
        TSaveDialog* dialog = MakeDialog<TSaveDialog>(k.Options);
        std::vector<std::string> messages;
        SetModalHook([&](HWND Wnd) {
            if (AnswerMessage(Wnd, messages, k.Answer)) return;
            TForm* form = FormOf(Wnd);
            EXPECT_EQ(form->GetCaption(), "Save As");
            TypeInto(form, "FileName", "beta.txt");
            ClickCentre(form, "OK");
            if (form->GetModalResult() == mrNone) ClickCentre(form, "Cancel");
        });
        EXPECT_EQ(dialog->Execute(), k.Result) << k.Answer;
        ASSERT_EQ(messages.size(), k.Asked ? 1u : 0u);
        if (k.Asked) {
            EXPECT_EQ(messages[0], FDir + "/beta.txt already exists.\nDo you want to replace it?");
        }
    }
    FreeDialogs();
}

TEST_F(FileDialogTest, DefaultExtIsAppendedToNamesWithoutOne)
{
    struct Case {
        bool Save;
        std::string Typed;
        std::string Expected;
        bool ExtensionDifferent;
    } cases[] = {
        {true, "report", "report.txt", false},
        {true, "report.doc", "report.doc", true},
        {true, "report.TXT", "report.TXT", false},
        {false, "alpha", "alpha.txt", false},
        {false, "readme", "readme", true},  // exists as typed; readme.txt does not
    };
    for (const Case& k : cases) {
        TOpenDialog* dialog = k.Save ? MakeDialog<TSaveDialog>(TOpenOptions{}) : MakeDialog<TOpenDialog>(TOpenOptions{});
        dialog->SetDefaultExt("txt");
        SetModalHook([&](HWND Wnd) {
            TForm* form = FormOf(Wnd);
            TypeInto(form, "FileName", k.Typed);
            ClickCentre(form, "OK");
        });
        ASSERT_TRUE(dialog->Execute()) << k.Typed;
        EXPECT_EQ(dialog->GetFileName(), FDir + "/" + k.Expected);
        EXPECT_EQ(dialog->GetOptions().Contains(ofExtensionDifferent), k.ExtensionDifferent) << k.Typed;
    }
    FreeDialogs();
}

TEST_F(FileDialogTest, FilterIndexChoosesTheListedFilesAndComesBack)
{
    struct Case {
        int FilterIndex;
        std::vector<std::string> Listed;
    } cases[] = {
        {1, {"alpha.txt", "beta.txt"}},
        {2, {"notes.doc"}},
        {3, {"alpha.txt", "beta.txt", "notes.doc", "readme"}},
        {9, {"alpha.txt", "beta.txt"}},  // out of range: the first type
    };
    for (const Case& k : cases) {
        TOpenDialog* dialog = MakeDialog<TOpenDialog>(TOpenOptions{});
        dialog->SetFilterIndex(k.FilterIndex);
        std::vector<std::string> listed;
        SetModalHook([&](HWND Wnd) {
            listed = ListItems(FormOf(Wnd), "Files");
            Input::KeyPress(VK_ESCAPE);
        });
        EXPECT_FALSE(dialog->Execute());
        EXPECT_EQ(listed, k.Listed) << k.FilterIndex;
    }
    // Choosing another type in the dialog lists its files and is returned.
    TOpenDialog* dialog = MakeDialog<TOpenDialog>(TOpenOptions{});
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        auto* types = Find<TComboBox>(form, "FileTypes");
        EXPECT_EQ(types->GetItems()->GetCount(), 3);
        types->SetFocus();
        Input::KeyPress(VK_DOWN);
        EXPECT_EQ(ListItems(form, "Files"), std::vector<std::string>{"notes.doc"});
        DoubleClickItem(form, "Files", "notes.doc");
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->GetFilterIndex(), 2);
    EXPECT_EQ(dialog->GetFileName(), FDir + "/notes.doc");
    FreeDialogs();
}

TEST_F(FileDialogTest, FoldersListOpensSubfoldersAndTypedPathsWork)
{
    TOpenDialog* dialog = MakeDialog<TOpenDialog>(TOpenOptions{ofFileMustExist});
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        std::vector<std::string> folders = ListItems(form, "Folders");
        ASSERT_GE(folders.size(), 2u);
        EXPECT_EQ(folders.front(), "/");
        EXPECT_EQ(folders.back(), "sub");
        DoubleClickItem(form, "Folders", "sub");
        EXPECT_EQ(ListItems(form, "Files"), std::vector<std::string>{"gamma.txt"});
        EXPECT_EQ(ListItems(form, "Folders").back(), "deeper");
        // A typed folder changes the folder; a typed mask filters.
        TypeInto(form, "FileName", "..");
        ClickCentre(form, "OK");
        EXPECT_EQ(ListItems(form, "Files"), (std::vector<std::string>{"alpha.txt", "beta.txt"}));
        TypeInto(form, "FileName", "*.doc");
        ClickCentre(form, "OK");
        EXPECT_EQ(ListItems(form, "Files"), std::vector<std::string>{"notes.doc"});
        TypeInto(form, "FileName", "sub/gamma.txt");
        ClickCentre(form, "OK");
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->GetFileName(), FDir + "/sub/gamma.txt");
    FreeDialogs();
}

TEST_F(FileDialogTest, DrivesAreTheRootAndTheHomeFolder)
{
    std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", (FDir + "/sub").c_str(), 1);
    TOpenDialog* dialog = MakeDialog<TOpenDialog>(TOpenOptions{});
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        auto* drives = Find<TComboBox>(form, "Drives");
        ASSERT_EQ(drives->GetItems()->GetCount(), 2);
        EXPECT_EQ(drives->GetItemIndex(), 0);
        drives->SetFocus();
        Input::KeyPress(VK_DOWN);
        EXPECT_EQ(ListItems(form, "Files"), std::vector<std::string>{"gamma.txt"});
        Input::KeyPress(VK_UP);
        EXPECT_EQ(Find<TLabel>(form, "Path")->GetCaption(), "/");
        std::vector<std::string> folders = ListItems(form, "Folders");
        ASSERT_FALSE(folders.empty());
        EXPECT_EQ(folders[0], "/");
        EXPECT_NE(std::find(folders.begin(), folders.end(), "tmp"), folders.end());
        Input::KeyPress(VK_ESCAPE);
    });
    EXPECT_FALSE(dialog->Execute());
    setenv("HOME", oldHome.c_str(), 1);
    FreeDialogs();
}

TEST_F(FileDialogTest, MultiSelectReturnsEveryChosenFile)
{
    TOpenDialog* dialog = MakeDialog<TOpenDialog>(TOpenOptions{ofAllowMultiSelect, ofFileMustExist});
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        TypeInto(form, "FileName", "\"alpha.txt\" \"beta.txt\"");
        ClickCentre(form, "OK");
    });
    ASSERT_TRUE(dialog->Execute());
    ASSERT_EQ(dialog->GetFiles()->GetCount(), 2);
    EXPECT_EQ(dialog->GetFiles()->GetStrings(0), FDir + "/alpha.txt");
    EXPECT_EQ(dialog->GetFiles()->GetStrings(1), FDir + "/beta.txt");
    EXPECT_EQ(dialog->GetFileName(), FDir + "/alpha.txt");
    FreeDialogs();
}

TEST_F(FileDialogTest, OptionsShapeTheDialogAndItsAnswers)
{
    // Hidden read-only box, help button, and the read-only state coming back.
    TOpenDialog* dialog = MakeDialog<TOpenDialog>(TOpenOptions{ofHideReadOnly, ofShowHelp});
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        EXPECT_FALSE(Find(form, "ReadOnly")->GetVisible());
        EXPECT_TRUE(Find(form, "Help")->GetVisible());
        Input::KeyPress(VK_ESCAPE);
    });
    EXPECT_FALSE(dialog->Execute());
    dialog = MakeDialog<TOpenDialog>(TOpenOptions{});
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        ClickCentre(form, "ReadOnly");
        TypeInto(form, "FileName", "alpha.txt");
        ClickCentre(form, "OK");
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_TRUE(dialog->GetOptions().Contains(ofReadOnly));
    // Without ofNoChangeDir the folder of the file becomes the current one.
    dialog->SetOptions(TOpenOptions{});
    dialog->SetFileName("");  // a name with a folder would choose the starting folder
    dialog->SetInitialDir(FDir + "/sub");
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        TypeInto(form, "FileName", "gamma.txt");
        ClickCentre(form, "OK");
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(fs::current_path(), fs::path(FDir + "/sub"));
    FreeDialogs();
}

TEST_F(FileDialogTest, CreatePromptAndPathMustExistGuardNewNames)
{
    struct Case {
        TOpenOptions Options;
        std::string Typed;
        std::string Answer;
        std::string Message;   // the text after the full name
        bool Result;
    } cases[] = {
        {TOpenOptions{ofCreatePrompt}, "new.txt", "Yes", "\nThis file does not exist.\nDo you want to create it?", true},
        {TOpenOptions{ofCreatePrompt}, "new.txt", "No", "\nThis file does not exist.\nDo you want to create it?", false},
        {TOpenOptions{ofPathMustExist}, "nowhere/new.txt", "OK", "\nPath does not exist.\nCheck the path and try again.",
         false},
        {TOpenOptions{}, "nowhere/new.txt", "OK", "\nThe file cannot be created.\nCheck the folder name and its permissions.",
         false},
        {TOpenOptions{ofNoTestFileCreate}, "nowhere/new.txt", "", "", true},
    };
    for (const Case& k : cases) {
        TSaveDialog* dialog = MakeDialog<TSaveDialog>(k.Options);
        std::vector<std::string> messages;
        SetModalHook([&](HWND Wnd) {
            if (AnswerMessage(Wnd, messages, k.Answer)) return;
            TForm* form = FormOf(Wnd);
            TypeInto(form, "FileName", k.Typed);
            ClickCentre(form, "OK");
            if (form->GetModalResult() == mrNone) ClickCentre(form, "Cancel");
        });
        EXPECT_EQ(dialog->Execute(), k.Result) << k.Typed << " " << k.Answer;
        if (k.Message.empty()) {
            EXPECT_TRUE(messages.empty());
        } else {
            ASSERT_EQ(messages.size(), 1u) << k.Typed;
            EXPECT_EQ(messages[0], FDir + "/" + k.Typed + k.Message);
        }
    }
    FreeDialogs();
}

TEST_F(FileDialogTest, LinksAndReadOnlyFilesFollowTheOptions)
{
    fs::create_symlink(FDir + "/sub/gamma.txt", FDir + "/link.txt");
    fs::permissions(FDir + "/beta.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    struct Case {
        TOpenOptions Options;
        std::string Typed;
        std::string Expected;  // empty: refused with a message
    } cases[] = {
        {TOpenOptions{}, "link.txt", "sub/gamma.txt"},
        {TOpenOptions{ofNoDereferenceLinks}, "link.txt", "link.txt"},
        {TOpenOptions{}, "beta.txt", "beta.txt"},
        {TOpenOptions{ofNoReadOnlyReturn}, "beta.txt", ""},
        {TOpenOptions{ofNoReadOnlyReturn}, "alpha.txt", "alpha.txt"},
    };
    for (const Case& k : cases) {
        TOpenDialog* dialog = MakeDialog<TOpenDialog>(k.Options);
        std::vector<std::string> messages;
        SetModalHook([&](HWND Wnd) {
            if (AnswerMessage(Wnd, messages, "OK")) return;
            TForm* form = FormOf(Wnd);
            TypeInto(form, "FileName", k.Typed);
            ClickCentre(form, "OK");
            if (form->GetModalResult() == mrNone) ClickCentre(form, "Cancel");
        });
        EXPECT_EQ(dialog->Execute(), !k.Expected.empty()) << k.Typed;
        if (k.Expected.empty()) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0], FDir + "/" + k.Typed + "\nThis file is read-only.\nUse a different file name.");
        } else {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(dialog->GetFileName(), FDir + "/" + k.Expected);
        }
    }
    FreeDialogs();
}

TEST_F(FileDialogTest, HistoryListOffersEarlierNamesAndHelpAsksForTheContext)
{
    TOpenDialog* dialog = MakeDialog<TOpenDialog>(TOpenOptions{ofShowHelp, ofFileMustExist});
    dialog->GetHistoryList()->Add(FDir + "/beta.txt");
    dialog->GetHistoryList()->Add(FDir + "/notes.doc");
    dialog->SetHelpContext(4321);
    int helped = 0;
    Application->OnHelp = [&](WORD, LPARAM Data, bool&) {
        helped = int(Data);
        return true;
    };
    SetModalHook([&](HWND Wnd) {
        TForm* form = FormOf(Wnd);
        auto* name = Find<TComboBox>(form, "FileName");
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->GetItems()->GetCount(), 2);
        ClickCentre(form, "Help");
        EXPECT_TRUE(form->GetVisible());
        name->SetFocus();
        Input::KeyPress(VK_DOWN);  // the first earlier name
        Input::KeyPress(VK_RETURN);
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(helped, 4321);
    EXPECT_EQ(dialog->GetFileName(), FDir + "/beta.txt");
    FreeDialogs();
}

} // namespace
} // namespace formstest
