// The folder, file, drive and filter lists on a temporary folder tree,
// driven through injected input.
#include "ControlTest.h"

#include <cstdlib>

#include "host/rtl/Drives.h"
#include "host/rtl/FileUtils.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/FileCtrl.h"
#include "host/vcl/Filer.h"

#include <fstream>
#include <stdlib.h>
#include <sys/stat.h>

namespace controltest {
namespace {

// Where the pictures of the controls go for a person to look at.
std::string ShotDir()
{
    const char* dir = std::getenv("TEST_OUTPUT_DIR");
    return dir ? dir : "/tmp";
}

std::vector<std::string> ItemsOf(TStrings* S)
{
    std::vector<std::string> out;
    for (int i = 0; i < S->GetCount(); ++i) out.push_back(S->GetStrings(i));
    return out;
}

class FileCtrlTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        char pattern[] = "/tmp/filectrlXXXXXX";
        FTree = mkdtemp(pattern);
        for (const char* d : {"/a", "/a/a1", "/a/a2", "/b", "/.cache"}) ForceDirectories(FTree + d);
        for (const char* f : {"/notes.txt", "/Report.TXT", "/run.log", "/readme", "/.profile", "/locked.txt",
                              "/a/inner.txt"})
            std::ofstream(FTree + f) << "x";
        chmod((FTree + "/locked.txt").c_str(), 0444);
        SetDriveRoot('D', FTree);
    }
    void TearDown() override
    {
        ControlTest::TearDown();
        ResetDriveRoots();
        std::system(("rm -rf '" + FTree + "'").c_str());
    }
    // Double-clicks the middle of item Index.
    void DoubleClickItem(TCustomListBox* Lb, int Index)
    {
        TRect r = Lb->ItemRect(Index);
        TPoint p = ScreenOf(Lb, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        Input::DoubleClick(p.x, p.y);
    }
    void ClickItem(TCustomListBox* Lb, int Index)
    {
        TRect r = Lb->ItemRect(Index);
        TPoint p = ScreenOf(Lb, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        Input::Click(p.x, p.y);
    }
    std::string FTree;
};

TEST_F(FileCtrlTest, DrivePathsMapToTheirRoots)
{
    SetDriveRoot('e', "/mnt/data/");
    struct Case {
        std::string Path, Native;
    } cases[] = {
        {"C:\\tmp\\x.txt", "/tmp/x.txt"},
        {"c:/tmp", "/tmp"},
        {"C:", "/"},
        {"E:\\DB\\CUSTOMER.DB", "/mnt/data/DB/CUSTOMER.DB"},
        {"e:", "/mnt/data"},
        {"E:name", "/mnt/data/name"},
        {"Q:\\nowhere", "Q:/nowhere"},  // unmapped: stays a name that matches nothing
        {"/usr/lib", "/usr/lib"},
        {"rel\\name", "rel/name"},
    };
    for (const Case& c : cases) EXPECT_EQ(DrivePathToNative(c.Path), c.Native) << c.Path;

    EXPECT_EQ(DriveOfPath("/mnt/data/DB"), 'E') << "the deepest root wins";
    EXPECT_EQ(DriveOfPath("/mnt/database"), 'C') << "a root is a whole folder name, not a prefix";
    EXPECT_EQ(NativeToDrivePath("/mnt/data/DB/x"), "E:\\DB\\x");
    EXPECT_EQ(NativeToDrivePath("/usr"), "C:\\usr");
    EXPECT_EQ(GetDriveLetters(), "CDE");
    SetDriveRoot('E', "");
    EXPECT_EQ(GetDriveLetters(), "CD");
    EXPECT_EQ(DrivePathToNative("E:\\x"), "E:/x");
}

TEST_F(FileCtrlTest, DirectoryListShowsThePathAndTheSubfolders)
{
    TTestPanel* root = Root();
    auto* dirs = Make<TDirectoryListBox>(root, "Dirs", 10, 10, 200, 200);
    dirs->SetDirectory("D:\\a");
    EXPECT_EQ(dirs->GetDirectory(), FTree + "/a");
    EXPECT_EQ(dirs->GetDrive(), 'D');
    EXPECT_EQ(ItemsOf(dirs->GetItems()), (std::vector<std::string>{"D:\\", "a", "a1", "a2"}));
    std::vector<int> levels;
    for (int i = 0; i < 4; ++i) levels.push_back(dirs->GetItemLevel(i));
    EXPECT_EQ(levels, (std::vector<int>{0, 1, 2, 2}));
    EXPECT_EQ(dirs->GetItemIndex(), 1) << "the current folder is selected";
    EXPECT_EQ(dirs->GetItemPath(2), FTree + "/a/a1");

    dirs->SetDirectory(FTree);
    EXPECT_EQ(ItemsOf(dirs->GetItems()), (std::vector<std::string>{"D:\\", "a", "b"})) << "hidden folders stay out";

    EXPECT_THROW(dirs->SetDirectory(FTree + "/missing"), EInOutError);
    EXPECT_EQ(dirs->GetDirectory(), FTree) << "a failed change leaves the list where it was";
}

TEST_F(FileCtrlTest, DoubleClickOpensAFolderAndTheOthersFollow)
{
    TTestPanel* root = Root();
    auto* label = Make<TLabel>(root, "Path", 10, 0, 200, 10);
    auto* files = Make<TFileListBox>(root, "Files", 220, 10, 150, 200);
    auto* dirs = Make<TDirectoryListBox>(root, "Dirs", 10, 20, 200, 200);
    dirs->SetDirectory(FTree);
    dirs->SetDirLabel(label);
    dirs->SetFileList(files);
    int changes = 0;
    dirs->OnChange = [&](TObject*) { ++changes; };
    ProcessPendingMessages();
    EXPECT_EQ(files->GetDirectory(), FTree);

    DoubleClickItem(dirs, 1);  // "a"
    EXPECT_EQ(dirs->GetDirectory(), FTree + "/a");
    EXPECT_EQ(label->GetCaption(), FTree + "/a");
    EXPECT_EQ(files->GetDirectory(), FTree + "/a");
    EXPECT_EQ(ItemsOf(files->GetItems()), (std::vector<std::string>{"inner.txt"}));
    EXPECT_EQ(changes, 1);

    // Return on a selected item opens it too; the root item climbs back up.
    dirs->SetFocus();
    Input::KeyPress(VK_HOME);
    Input::KeyPress(VK_RETURN);
    EXPECT_EQ(dirs->GetDirectory(), FTree);
    EXPECT_EQ(changes, 2);

    label->Free();
    EXPECT_EQ(dirs->GetDirLabel(), nullptr);
    DoubleClickItem(dirs, 2);  // "b": no label to update, no crash
    EXPECT_EQ(files->GetDirectory(), FTree + "/b");
}

TEST_F(FileCtrlTest, FileListFiltersByMaskAndFileType)
{
    TTestPanel* root = Root();
    auto* files = Make<TFileListBox>(root, "Files", 10, 10, 200, 250);
    files->SetDirectory(FTree);
    struct Case {
        std::string Mask;
        TFileType Type;
        std::vector<std::string> Expected;
    } cases[] = {
        {"*.*", TFileType{ftNormal}, {"locked.txt", "notes.txt", "readme", "Report.TXT", "run.log"}},
        {"*.txt", TFileType{ftNormal}, {"locked.txt", "notes.txt", "Report.TXT"}},
        {"*.log; *.txt", TFileType{ftNormal}, {"locked.txt", "notes.txt", "Report.TXT", "run.log"}},
        {"readme.*", TFileType{ftNormal}, {"readme"}},
        {"*.txt", TFileType{ftReadOnly}, {"locked.txt"}},
        {"*", TFileType{ftHidden}, {".profile"}},
        {"*", TFileType{ftNormal, ftHidden}, {".profile", "locked.txt", "notes.txt", "readme", "Report.TXT", "run.log"}},
        {"*.log", TFileType{ftNormal, ftDirectory}, {"run.log", "[..]", "[a]", "[b]"}},
        {"*", TFileType{ftDirectory, ftHidden}, {".profile", "[..]", "[.cache]", "[a]", "[b]"}},
        {"", TFileType{ftNormal}, {"locked.txt", "notes.txt", "readme", "Report.TXT", "run.log"}},
    };
    for (const Case& c : cases) {
        files->SetMask(c.Mask);
        files->SetFileType(c.Type);
        EXPECT_EQ(ItemsOf(files->GetItems()), c.Expected) << c.Mask << " " << c.Type.ToInt();
    }
    files->SetFileType(TFileType{ftNormal, ftDirectory});
    files->SetMask("*.log");
    EXPECT_FALSE(files->IsDirectoryItem(0));
    EXPECT_TRUE(files->IsDirectoryItem(2));
}

TEST_F(FileCtrlTest, SelectingAFileFillsTheEditAndFileName)
{
    TTestPanel* root = Root();
    auto* edit = Make<TEdit>(root, "Name", 10, 10, 200, 21);
    auto* files = Make<TFileListBox>(root, "Files", 10, 40, 200, 200);
    files->SetDirectory(FTree);
    files->SetMask("*.txt");
    files->SetFileEdit(edit);
    EXPECT_EQ(edit->GetText(), "*.txt") << "nothing selected: the edit shows the mask";
    EXPECT_EQ(files->GetFileName(), "");
    int changes = 0;
    files->OnChange = [&](TObject*) { ++changes; };
    ProcessPendingMessages();

    ClickItem(files, 1);
    EXPECT_EQ(edit->GetText(), "notes.txt");
    EXPECT_EQ(files->GetFileName(), FTree + "/notes.txt");
    EXPECT_EQ(changes, 1);
    ClickItem(files, 1);
    EXPECT_EQ(changes, 1) << "the same file again is no change";

    files->SetFileName("D:\\a\\inner.txt");
    EXPECT_EQ(files->GetDirectory(), FTree + "/a");
    EXPECT_EQ(files->GetFileName(), FTree + "/a/inner.txt");
    EXPECT_EQ(edit->GetText(), "inner.txt");

    files->SetFileName(FTree + "/report.txt");
    EXPECT_EQ(files->GetFileName(), FTree + "/Report.TXT") << "a name differing in case finds the file";

    files->ApplyFilePath("*.log");
    EXPECT_EQ(files->GetMask(), "*.log");
    EXPECT_EQ(ItemsOf(files->GetItems()), (std::vector<std::string>{"run.log"}));
    files->ApplyFilePath("D:\\a");
    EXPECT_EQ(files->GetDirectory(), FTree + "/a");
}

TEST_F(FileCtrlTest, MultiSelectFileListKeepsSeveralFiles)
{
    TTestPanel* root = Root();
    auto* files = Make<TFileListBox>(root, "Files", 10, 10, 200, 200);
    files->SetMultiSelect(true);
    files->SetDirectory(FTree);
    files->SetMask("*.txt");
    ProcessPendingMessages();
    ClickItem(files, 0);
    Input::KeyDown(VK_CONTROL);
    ClickItem(files, 2);
    Input::KeyUp(VK_CONTROL);
    std::vector<std::string> chosen;
    for (int i = 0; i < files->GetItems()->GetCount(); ++i)
        if (files->GetSelected(i)) chosen.push_back(files->GetItems()->GetStrings(i));
    EXPECT_EQ(chosen, (std::vector<std::string>{"locked.txt", "Report.TXT"}));
    EXPECT_EQ(files->GetFileName(), FTree + "/Report.TXT") << "the file with the caret";
    files->SetFileName("notes.txt");
    EXPECT_EQ(files->GetSelCount(), 1) << "naming a file selects it alone";
    EXPECT_TRUE(files->GetSelected(1));
}

TEST_F(FileCtrlTest, DriveAndFilterListsDriveTheirLists)
{
    TTestPanel* root = Root();
    auto* dirs = Make<TDirectoryListBox>(root, "Dirs", 10, 10, 150, 150);
    auto* files = Make<TFileListBox>(root, "Files", 170, 10, 150, 150);
    auto* drives = Make<TDriveComboBox>(root, "Drives", 10, 170, 150, 22);
    auto* filter = Make<TFilterComboBox>(root, "Filter", 170, 170, 150, 22);
    dirs->SetFileList(files);
    dirs->SetDirectory("/");
    drives->SetDirList(dirs);
    filter->SetFileList(files);
    EXPECT_EQ(ItemsOf(drives->GetItems()), (std::vector<std::string>{"c: /", "d: " + FTree}));
    EXPECT_EQ(drives->GetDrive(), 'C');

    drives->SetFocus();
    Input::KeyPress(VK_DOWN);
    EXPECT_EQ(drives->GetDrive(), 'D');
    EXPECT_EQ(dirs->GetDirectory(), FTree);
    EXPECT_EQ(files->GetDirectory(), FTree);

    dirs->SetDirectory("/");
    EXPECT_EQ(drives->GetDrive(), 'C') << "the drive list shows the folder list's drive";
    dirs->SetDirectory("D:\\a");
    EXPECT_EQ(drives->GetDrive(), 'D');
    EXPECT_EQ(drives->GetItemIndex(), 1);
    drives->SetDrive('c');
    EXPECT_EQ(dirs->GetDirectory(), "/");
    drives->SetDrive('D');
    EXPECT_EQ(dirs->GetDirectory(), FTree + "/a") << "a drive comes back to its last folder";
    drives->SetDrive('Z');
    EXPECT_EQ(drives->GetDrive(), 'D') << "an unmapped letter is refused";

    drives->SetTextCase(tcUpperCase);
    EXPECT_EQ(drives->GetItems()->GetStrings(0), "C: /");

    dirs->SetDirectory(FTree);
    filter->SetFilter("Text files|*.txt|Logs and text|*.log;*.txt|Everything|*.*");
    EXPECT_EQ(ItemsOf(filter->GetItems()), (std::vector<std::string>{"Text files", "Logs and text", "Everything"}));
    EXPECT_EQ(files->GetMask(), "*.txt");
    filter->SetFocus();
    Input::KeyPress(VK_DOWN);
    EXPECT_EQ(filter->GetMask(), "*.log;*.txt");
    EXPECT_EQ(files->GetMask(), "*.log;*.txt");
    EXPECT_EQ(files->GetItems()->GetCount(), 4);

    filter->SetFilter("Odd entry without a mask|Second|*.doc");
    EXPECT_EQ(filter->GetItems()->GetCount(), 2) << "pairs keep their order";
    files->Free();
    EXPECT_EQ(filter->GetFileList(), nullptr);
    EXPECT_EQ(dirs->GetFileList(), nullptr);
    drives->Free();
    dirs->SetDirectory("D:\\b");  // the freed drive list is not told
    EXPECT_EQ(dirs->GetDirectory(), FTree + "/b");
}

TEST_F(FileCtrlTest, FileControlsRoundTripTheirProperties)
{
    auto* files = new TFileListBox(nullptr);
    files->SetName("Files");
    files->SetMask("*.db;*.dbf");
    files->SetFileType(TFileType{ftNormal, ftDirectory});
    files->SetShowGlyphs(true);
    auto* copy = static_cast<TFileListBox*>(ReadComponentFromString(WriteComponentToString(files), nullptr));
    EXPECT_EQ(copy->GetMask(), "*.db;*.dbf");
    EXPECT_EQ(copy->GetFileType(), (TFileType{ftNormal, ftDirectory}));
    EXPECT_TRUE(copy->GetShowGlyphs());
    files->Free();
    copy->Free();
}

TEST_F(FileCtrlTest, PaintsFolderGlyphsAndFileNames)
{
    TTestPanel* root = Root();
    auto* dirs = Make<TDirectoryListBox>(root, "Dirs", 10, 10, 180, 120);
    auto* files = Make<TFileListBox>(root, "Files", 200, 10, 180, 120);
    auto* drives = Make<TDriveComboBox>(root, "Drives", 10, 140, 180, 22);
    files->SetShowGlyphs(true);
    files->SetFileType(TFileType{ftNormal, ftDirectory});
    dirs->SetFileList(files);
    dirs->SetDirectory("D:\\a");
    drives->SetDirList(dirs);
    ProcessPendingMessages();
    Screenshot(FHost, ShotDir() + "/filectrl.png");
    TImageData img = CaptureWindow(FHost);
    // The current folder's item: the open folder glyph, indented one level,
    // and its name highlighted.
    TRect r = dirs->ItemRect(1);
    TPoint glyph = ScreenOf(dirs, r.left + 2 + 8 + 8, r.top + 10);
    RECT host;
    GetWindowRect(FHost, &host);
    uint32_t p = img.Pixel(glyph.x - host.left, glyph.y - host.top);
    EXPECT_EQ(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF), COLORREF(ColorToRGB(TColor(0x00C0FFFF))));
    TPoint text = ScreenOf(dirs, r.left + 2 + 8 + 16 + 6, r.top + 2);
    p = img.Pixel(text.x - host.left, text.y - host.top);
    EXPECT_EQ(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF), GetSysColor(COLOR_HIGHLIGHT));
    // Every item is painted: the last subfolder's closed folder and the
    // file list's first name.
    auto ink = [&](TControl* C, const TRect& R) {
        int n = 0;
        for (int y = R.top; y < R.bottom; ++y)
            for (int x = R.left; x < R.right; ++x) {
                TPoint s = ScreenOf(C, x, y);
                uint32_t v = img.Pixel(s.x - host.left, s.y - host.top);
                n += (v & 0xFFFFFF) != 0xFFFFFF;
            }
        return n;
    };
    TRect last = dirs->ItemRect(3);
    EXPECT_GT(ink(dirs, TRect{last.left + 18, last.top, last.left + 34, last.bottom}), 20);
    TRect first = files->ItemRect(0);
    EXPECT_GT(ink(files, TRect{first.left + 20, first.top, first.right, first.bottom}), 10);
}

} // namespace
} // namespace controltest
