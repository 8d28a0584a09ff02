#include "host/rtl/SysUtils.h"

#include "host/rtl/Drives.h"
#include "host/rtl/Streams.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

using namespace host;

TEST(FileNames, BothSeparatorsAndDrives)
{
    struct {
        const char* Name;
        const char* Path;
        const char* Dir;
        const char* File;
        const char* Ext;
        const char* Drive;
    } cases[] = {
        {"c:\\dir\\report.final.txt", "c:\\dir\\", "c:\\dir", "report.final.txt", ".txt", "c:"},
        {"/usr/lib/libx.so", "/usr/lib/", "/usr/lib", "libx.so", ".so", ""},
        {"a/b\\c.d", "a/b\\", "a/b", "c.d", ".d", ""},
        {"c:\\file", "c:\\", "c:\\", "file", "", "c:"},
        {"c:file.x", "c:", "c:", "file.x", ".x", "c:"},
        {"/file", "/", "/", "file", "", ""},
        {"my.dir/file", "my.dir/", "my.dir", "file", "", ""},
        {"noext", "", "", "noext", "", ""},
        {".bashrc", "", "", ".bashrc", ".bashrc", ""},
        {"dir/", "dir/", "dir", "", "", ""},
        {"\\\\server\\share\\dir\\f.txt", "\\\\server\\share\\dir\\", "\\\\server\\share\\dir", "f.txt", ".txt",
         "\\\\server\\share"},
        {"//server/share", "//server/", "//server", "share", "", "//server/share"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.Name), c.Path) << c.Name;
        EXPECT_EQ(ExtractFileDir(c.Name), c.Dir) << c.Name;
        EXPECT_EQ(ExtractFileName(c.Name), c.File) << c.Name;
        EXPECT_EQ(ExtractFileExt(c.Name), c.Ext) << c.Name;
        EXPECT_EQ(ExtractFileDrive(c.Name), c.Drive) << c.Name;
    }
    EXPECT_EQ(ChangeFileExt("c:\\my.dir\\file.txt", ".ini"), "c:\\my.dir\\file.ini");
    EXPECT_EQ(ChangeFileExt("my.dir/file", ".ini"), "my.dir/file.ini");
    EXPECT_EQ(ChangeFileExt("a.tar.gz", ""), "a.tar");
    EXPECT_EQ(IncludeTrailingPathDelimiter("a"), "a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("a\\"), "a\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("a/"), "a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("a\\"), "a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("a/"), "a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("a"), "a");
}

TEST(FileNames, ExpandFileName)
{
    std::string cwd = GetCurrentDir();
    EXPECT_EQ(ExpandFileName("/a/b/../c/./d"), "/a/c/d");
    EXPECT_EQ(ExpandFileName("/a//b/"), "/a/b/");
    EXPECT_EQ(ExpandFileName("/.."), "/");
    EXPECT_EQ(ExpandFileName("x\\y"), cwd + "/x/y");
    EXPECT_EQ(ExpandFileName("."), cwd);
    EXPECT_EQ(ExpandFileName("c:\\dir\\..\\f"), "c:/f");
}

class FileSystem : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/kel_files_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        FDir = tmpl;
        FDir += '/';
    }
    void TearDown() override { ASSERT_EQ(std::system(("rm -rf '" + FDir + "'").c_str()), 0); }

    void Touch(const std::string& Name, size_t Size = 0)
    {
        std::ofstream(FDir + Name) << std::string(Size, 'x');
    }

    std::vector<std::string> List(const std::string& Mask, int Attr = 0)
    {
        std::vector<std::string> names;
        TSearchRec sr;
        for (int r = FindFirst(FDir + Mask, Attr, sr); r == 0; r = FindNext(sr)) names.push_back(sr.Name);
        FindClose(sr);
        return names;
    }

    std::string FDir;
};

TEST_F(FileSystem, FindFirstMasks)
{
    Touch("a.txt", 3);
    Touch("B.TXT");
    Touch("c.dat");
    Touch("noext");
    Touch("ab.txt");
    Touch(".hidden");
    ASSERT_TRUE(CreateDir(FDir + "sub"));
    using V = std::vector<std::string>;
    struct {
        const char* Mask;
        int Attr;
        V Expected;
    } cases[] = {
        {"*.txt", 0, {"a.txt", "ab.txt", "B.TXT"}},
        {"*.TXT", 0, {"a.txt", "ab.txt", "B.TXT"}},
        {"?.txt", 0, {"a.txt", "B.TXT"}},
        {"*", 0, {"a.txt", "ab.txt", "B.TXT", "c.dat", "noext"}},
        {"*.*", 0, {"a.txt", "ab.txt", "B.TXT", "c.dat", "noext"}},
        {"n*.*", 0, {"noext"}},
        {"*", faDirectory, {".", "..", "a.txt", "ab.txt", "B.TXT", "c.dat", "noext", "sub"}},
        {"*", faAnyFile, {".", "..", ".hidden", "a.txt", "ab.txt", "B.TXT", "c.dat", "noext", "sub"}},
        {"s*", faDirectory, {"sub"}},
        {"s*", 0, {}},
        {"*.none", faAnyFile, {}},
        {"[ab]*.txt", 0, {"a.txt", "ab.txt", "B.TXT"}},
    };
    for (const auto& c : cases) EXPECT_EQ(List(c.Mask, c.Attr), c.Expected) << c.Mask << " attr " << c.Attr;

    TSearchRec sr;
    ASSERT_EQ(FindFirst(FDir + "a.txt", faAnyFile, sr), 0);
    EXPECT_EQ(sr.Size, 3);
    EXPECT_EQ(sr.Attr & faDirectory, 0);
    EXPECT_NEAR(sr.Time, FileAge(FDir + "a.txt"), 1.0 / SecsPerDay);
    EXPECT_EQ(FindNext(sr), 18);
    FindClose(sr);
    ASSERT_EQ(FindFirst(FDir + "sub", faDirectory, sr), 0);
    EXPECT_NE(sr.Attr & faDirectory, 0);
    FindClose(sr);
    EXPECT_EQ(FindFirst(FDir + "*.none", 0, sr), 2);
    EXPECT_EQ(FindFirst(FDir + "missing/*", 0, sr), 3);
}

TEST_F(FileSystem, CreateRenameDelete)
{
    std::string deep = FDir + "x\\y/z";
    EXPECT_FALSE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(FDir + "x/y/z"));
    EXPECT_TRUE(ForceDirectories(deep + "/"));
    EXPECT_FALSE(CreateDir(deep));
    EXPECT_FALSE(FileExists(deep));

    Touch("one", 1);
    Touch("two", 2);
    EXPECT_TRUE(FileExists(FDir + "one"));
    EXPECT_FALSE(RenameFile(FDir + "one", FDir + "two"));  // never replaces
    TSearchRec sr;
    ASSERT_EQ(FindFirst(FDir + "two", 0, sr), 0);
    EXPECT_EQ(sr.Size, 2);
    EXPECT_TRUE(RenameFile(FDir + "one", FDir + "three"));
    EXPECT_FALSE(FileExists(FDir + "one"));
    EXPECT_TRUE(DeleteFile(FDir + "three"));
    EXPECT_FALSE(DeleteFile(FDir + "three"));
    EXPECT_FALSE(DeleteFile(FDir + "x"));  // a folder is no file
    EXPECT_FALSE(RemoveDir(FDir + "x"));   // not empty
    EXPECT_TRUE(RemoveDir(deep));
    EXPECT_FALSE(DirectoryExists(deep));
}

// Programs written with drive letters reach their files through the mapped folders.
TEST_F(FileSystem, DriveLettersReachTheMappedFolders)
{
    Touch("data.txt", 3);
    ForceDirectories(FDir + "sub");
    SetDriveRoot('D', ExcludeTrailingPathDelimiter(FDir));
    struct Case {
        std::string Name;
        bool File, Dir;
    } cases[] = {
        {"D:\\data.txt", true, false}, {"d:/data.txt", true, false}, {"D:data.txt", true, false},
        {"D:\\sub", false, true},      {"D:\\", false, true},      {"D:\\missing.txt", false, false},
        {"Q:\\data.txt", false, false}, // not mapped: names nothing rather than another file
        {"C:" + FDir + "data.txt", true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileExists(c.Name), c.File) << c.Name;
        EXPECT_EQ(DirectoryExists(c.Name), c.Dir) << c.Name;
    }
    {
        TFileStream in("D:\\data.txt", fmOpenRead);
        EXPECT_EQ(in.GetSize(), 3);
        TFileStream out("D:\\sub\\new.txt", fmCreate);
        out.WriteBuffer("ab", 2);
    }
    EXPECT_TRUE(FileExists(FDir + "sub/new.txt"));
    EXPECT_EQ(ExpandFileName("D:\\sub\\..\\data.txt"), "D:/data.txt"); // a name operation keeps the drive
    ResetDriveRoots();
    EXPECT_FALSE(FileExists("D:\\data.txt"));
}

TEST_F(FileSystem, FileDates)
{
    Touch("f");
    EXPECT_EQ(FileAge(FDir + "missing"), -1);
    EXPECT_NEAR(FileAge(FDir + "f"), TSystemClock().Now(), 60.0 / SecsPerDay);
    TDateTime when = EncodeDate(2001, 2, 3) + EncodeTime(4, 5, 6, 0);
    ASSERT_TRUE(FileSetDate(FDir + "f", when));
    EXPECT_NEAR(FileAge(FDir + "f"), when, 0.5 / SecsPerDay);
    FILE* fp = std::fopen((FDir + "f").c_str(), "r");
    ASSERT_NE(fp, nullptr);
    EXPECT_NEAR(FileGetDate(fileno(fp)), when, 0.5 / SecsPerDay);
    std::fclose(fp);
}

TEST_F(FileSystem, CurrentAndTempDir)
{
    std::string old = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(FDir));
    EXPECT_EQ(IncludeTrailingPathDelimiter(GetCurrentDir()), FDir);
    Touch("rel");
    EXPECT_TRUE(FileExists("rel"));
    EXPECT_EQ(ExpandFileName("rel"), FDir + "rel");
    EXPECT_EQ(List("*"), std::vector<std::string>{"rel"});
    ASSERT_TRUE(SetCurrentDir(old));
    EXPECT_FALSE(SetCurrentDir(FDir + "missing"));
    EXPECT_EQ(GetTempDir().back(), '/');
    EXPECT_TRUE(DirectoryExists(GetTempDir()));
}

TEST(MatchesMask, Patterns)
{
    struct {
        const char* Name;
        const char* Mask;
        bool Expected;
    } cases[] = {
        {"report.txt", "*.txt", true},   {"REPORT.TXT", "*.txt", true},  {"report.txt", "*.doc", false},
        {"a", "?", true},                {"ab", "?", false},             {"", "*", true},
        {"abc", "a*c", true},            {"abcbc", "a*bc", true},        {"abcbd", "a*bc", false},
        {"x.tar.gz", "*.*.*", true},     {"b1", "[a-c]?", true},         {"d1", "[a-c]?", false},
        {"d1", "[!a-c]?", true},         {"B", "[abc]", true},           {"\xc3\xa9.txt", "?.txt", true},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*c", false},
    };
    for (const auto& c : cases) EXPECT_EQ(MatchesMask(c.Name, c.Mask), c.Expected) << c.Name << " ~ " << c.Mask;
    EXPECT_THROW(MatchesMask("a", "[abc"), EMaskException);
    EXPECT_THROW(MatchesMask("a", "[]"), EMaskException);
}
