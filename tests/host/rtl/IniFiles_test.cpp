#include "host/rtl/IniFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

#include "host/rtl/Strings.h"

using namespace host;
namespace fs = std::filesystem;

namespace {

class IniFiles : public testing::Test {
protected:
    void SetUp() override
    {
        std::string tmpl = (fs::temp_directory_path() / "kel_ini_XXXXXX").string();
        FDir = ::mkdtemp(tmpl.data());
        FOldWindowsDir = GetWindowsDirectory();
    }
    void TearDown() override
    {
        SetWindowsDirectory(FOldWindowsDir);
        fs::remove_all(FDir);
    }
    std::string Path(const std::string& name) const { return FDir + "/" + name; }
    std::string Put(const std::string& name, const std::string& text) const
    {
        std::ofstream(Path(name), std::ios::binary) << text;
        return Path(name);
    }
    std::string Get(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::vector<std::string> Files() const
    {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(FDir)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    std::string FDir;
    std::string FOldWindowsDir;
};

std::vector<std::string> Items(const TStrings& s)
{
    std::vector<std::string> out;
    for (int i = 0; i < s.GetCount(); ++i) out.push_back(s[i]);
    return out;
}

} // namespace

TEST_F(IniFiles, ReadingFollowsProfileRules)
{
    const std::string text =
        "orphan=before any section\r\n"
        "[Main]\r\n"
        "; Key=commented out\r\n"
        "  Name  =  Alice Smith  \r\n"
        "Quoted=\"  padded  \"\r\n"
        "Single='x'\r\n"
        "Mismatched=\"x'\r\n"
        "Lonely=\"\r\n"
        "Empty=\r\n"
        "no equals sign here\r\n"
        "=no name\r\n"
        "Dup=first\r\n"
        "DUP=second\r\n"
        "Eq=a=b\r\n"
        "[Broken\r\n"
        "AfterBroken=still main\r\n"
        "[ Other ]\r\n"
        "Name=Bob\r\n"
        "[main]\r\n"
        "Name=shadowed\r\n"
        "Extra=only in second\r"
        "[CR]\r"
        "k=cr only\r"
        "[Last]";
    TIniFile ini(Put("read.ini", text));
    struct Case {
        const char* section;
        const char* key;
        std::string expected;
    };
    const Case cases[] = {
        {"Main", "Name", "Alice Smith"},
        {"MAIN", "name", "Alice Smith"},
        {" Main ", " Name ", "Alice Smith"},
        {"Main", "Quoted", "  padded  "},
        {"Main", "Single", "x"},
        {"Main", "Mismatched", "\"x'"},
        {"Main", "Lonely", "\""},
        {"Main", "Empty", ""},
        {"Main", "Key", "<default>"},
        {"Main", "; Key", "<default>"},
        {"Main", "no equals sign here", "<default>"},
        {"Main", "Dup", "first"},
        {"Main", "Eq", "a=b"},
        {"Main", "AfterBroken", "still main"},
        {"Main", "Extra", "<default>"},
        {"Other", "Name", "Bob"},
        {"CR", "k", "cr only"},
        {"", "orphan", "<default>"},
        {"Missing", "Name", "<default>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.expected) << c.section << "/" << c.key;

    TStringList list;
    list.Add("stale");
    ini.ReadSection("main", &list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"Name", "Quoted", "Single", "Mismatched", "Lonely", "Empty", "Dup",
                                                     "Eq", "AfterBroken"}));
    ini.ReadSectionValues("Other", &list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"Name=Bob"}));
    ini.ReadSections(&list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"Main", "Other", "CR", "Last"}));
    EXPECT_TRUE(ini.SectionExists("other"));
    EXPECT_FALSE(ini.SectionExists("Broken"));
    EXPECT_TRUE(ini.ValueExists("Main", "empty"));
    EXPECT_FALSE(ini.ValueExists("Main", "Extra"));
}

TEST_F(IniFiles, NulBytesStayInValues)
{
    TIniFile ini(Put("nul.ini", std::string("[S]\nk=a\0b\n", 11)));
    EXPECT_EQ(ini.ReadString("S", "k", ""), std::string("a\0b", 3));
}

TEST_F(IniFiles, TypedValues)
{
    TFormatSettingsGuard settings;
    TIniFile ini(Put("typed.ini", "[T]\n"
                                  "dec=42\nneg= -17 \nhex=$1F\nchex=0x1f\nbig=2147483648\nwrap=$FFFFFFFF\n"
                                  "junk=12abc\nword=true\nzero=0\nfloat=2.5\nexp=-1e3\nbadfloat=1,5\n"));
    struct Case {
        const char* key;
        int integer;
        bool boolean;
    };
    const Case cases[] = {
        {"dec", 42, true},  {"neg", -17, true}, {"hex", 31, true},    {"chex", 31, true},
        {"big", -5, true},  {"wrap", -1, true}, {"junk", -5, true},   {"word", -5, true},
        {"zero", 0, false}, {"missing", -5, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ini.ReadInteger("T", c.key, -5), c.integer) << c.key;
        EXPECT_EQ(ini.ReadBool("T", c.key, true), c.boolean) << c.key;
    }
    EXPECT_FALSE(ini.ReadBool("T", "word", false)) << "text that is no number gives the default";
    EXPECT_DOUBLE_EQ(ini.ReadFloat("T", "float", 0), 2.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("T", "exp", 0), -1000);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("T", "badfloat", 7), 7);

    ini.WriteInteger("T", "dec", -123);
    ini.WriteBool("T", "b1", true);
    ini.WriteBool("T", "b0", false);
    ini.WriteFloat("T", "f", 0.1);
    EXPECT_EQ(ini.ReadString("T", "dec", ""), "-123");
    EXPECT_EQ(ini.ReadString("T", "b1", ""), "1");
    EXPECT_EQ(ini.ReadString("T", "b0", ""), "0");
    EXPECT_EQ(ini.ReadString("T", "f", ""), "0.1");
    EXPECT_DOUBLE_EQ(ini.ReadFloat("T", "f", 0), 0.1);

    // Floats follow the locale's decimal separator both ways.
    DecimalSeparator = ',';
    ini.WriteFloat("T", "f", 2.25);
    EXPECT_EQ(ini.ReadString("T", "f", ""), "2,25");
    EXPECT_DOUBLE_EQ(ini.ReadFloat("T", "f", 0), 2.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("T", "badfloat", 0), 1.5);
}

TEST_F(IniFiles, DatesAndTimes)
{
    TFormatSettingsGuard settings;
    DateSeparator = '-';
    ShortDateFormat = "yyyy-mm-dd";
    TimeSeparator = ':';
    LongTimeFormat = "hh:nn:ss";
    TIniFile ini(Path("dates.ini"));
    const TDateTime day = EncodeDate(2024, 2, 29);
    const TDateTime time = EncodeTime(13, 5, 9, 0);
    ini.WriteDate("D", "day", day);
    ini.WriteTime("D", "time", time);
    ini.WriteDateTime("D", "both", day + time);
    ini.WriteString("D", "bad", "2024-13-01");
    EXPECT_EQ(Get("dates.ini"), "[D]\r\nday=2024-02-29\r\ntime=13:05:09\r\nboth=2024-02-29 13:05:09\r\nbad=2024-13-01\r\n");
    EXPECT_DOUBLE_EQ(ini.ReadDate("D", "day", 0), day);
    EXPECT_NEAR(ini.ReadTime("D", "time", 0), time, 1e-9);
    EXPECT_NEAR(ini.ReadDateTime("D", "both", 0), day + time, 1e-9);
    EXPECT_DOUBLE_EQ(ini.ReadDate("D", "bad", 7), 7);
    EXPECT_DOUBLE_EQ(ini.ReadTime("D", "missing", 8), 8);
}

TEST_F(IniFiles, WritesKeepEverythingElse)
{
    Put("keep.ini", "; settings\r\n"
                    "[A]\r\n"
                    "x = 1 ; inline\r\n"
                    "; about y\r\n"
                    "y=2\r\n"
                    "\r\n"
                    "[B]\r\n"
                    "z=3\r\n");
    TIniFile ini(Path("keep.ini"));
    ini.WriteString("a", "X", "10");
    ini.WriteString("A", "new", "n");
    ini.WriteString("C", "c", "see");
    EXPECT_EQ(Get("keep.ini"), "; settings\r\n"
                               "[A]\r\n"
                               "x=10\r\n"
                               "; about y\r\n"
                               "y=2\r\n"
                               "new=n\r\n"
                               "\r\n"
                               "[B]\r\n"
                               "z=3\r\n"
                               "\r\n"
                               "[C]\r\n"
                               "c=see\r\n");
    ini.DeleteKey("A", "Y");
    ini.EraseSection("b");
    EXPECT_EQ(Get("keep.ini"), "; settings\r\n"
                               "[A]\r\n"
                               "x=10\r\n"
                               "; about y\r\n"
                               "new=n\r\n"
                               "\r\n"
                               "[C]\r\n"
                               "c=see\r\n");

    // LF files stay LF, and a missing final line end is supplied.
    Put("lf.ini", "[S]\nk=v");
    TIniFile lf(Path("lf.ini"));
    lf.WriteString("S", "j", "w");
    EXPECT_EQ(Get("lf.ini"), "[S]\nk=v\nj=w\n");
}

TEST_F(IniFiles, DuplicatesAreRemovedWhole)
{
    Put("dup.ini", "[S]\nk=1\nK=2\n[s]\nk=3\n[T]\nt=1\n");
    TIniFile ini(Path("dup.ini"));
    ini.WriteString("S", "k", "one");
    EXPECT_EQ(ini.ReadString("S", "k", ""), "one");
    ini.DeleteKey("S", "k");
    EXPECT_EQ(ini.ReadString("S", "k", "gone"), "gone") << "a later duplicate must not surface";
    ini.EraseSection("S");
    EXPECT_EQ(Get("dup.ini"), "[T]\nt=1\n");
}

TEST_F(IniFiles, RefusesWhatTheFormatCannotHold)
{
    const std::string original = "[S]\nk=v\n";
    TIniFile ini(Put("bad.ini", original));
    const std::vector<std::array<std::string, 3>> writes = {
        {"S", "k", "line\nbreak"}, {"S", "k", "cr\ronly"}, {"S", "a=b", "v"}, {"S", "", "v"},
        {"S", "[k", "v"},          {"S", ";k", "v"},       {"S]", "k", "v"}, {"S\n", "k", "v"},
    };
    for (const auto& w : writes) {
        EXPECT_THROW(ini.WriteString(w[0], w[1], w[2]), EIniFileException) << w[0] << "/" << w[1] << "/" << w[2];
    }
    EXPECT_EQ(Get("bad.ini"), original);
}

TEST_F(IniFiles, FailedWriteLeavesOldFileWhole)
{
    // A file-size limit makes the write fail even for root, like a full disk.
    std::string original = "[Big]\n";
    for (int i = 0; i < 200; ++i) original += "key" + std::to_string(i) + "=value\n";
    TIniFile ini(Put("atomic.ini", original));
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(ini.WriteString("Big", "more", "x"), EIniFileException);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(Get("atomic.ini"), original);
    EXPECT_EQ(Files(), (std::vector<std::string>{"atomic.ini"})) << "the temporary file is removed";

    // Writing into a missing folder fails clearly.
    TIniFile nowhere(Path("no/such/folder.ini"));
    try {
        nowhere.WriteString("S", "k", "v");
        FAIL() << "writing into a missing folder succeeded";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Unable to write to " + Path("no/such/folder.ini"), 0), 0u) << e.what();
    }
    EXPECT_EQ(nowhere.ReadString("S", "k", "def"), "def");
}

TEST_F(IniFiles, ReplacesTheLinkTargetAndKeepsItsMode)
{
    Put("real.ini", "[S]\nk=v\n");
    ::chmod(Path("real.ini").c_str(), 0640);
    fs::create_symlink(Path("real.ini"), Path("link.ini"));
    TIniFile ini(Path("link.ini"));
    ini.WriteString("S", "k", "new");
    EXPECT_TRUE(fs::is_symlink(Path("link.ini")));
    EXPECT_EQ(Get("real.ini"), "[S]\nk=new\n");
    struct stat st{};
    ::stat(Path("real.ini").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(IniFiles, BareNamesLiveInTheWindowsDirectory)
{
    SetWindowsDirectory(Path("windows/"));
    EXPECT_EQ(GetWindowsDirectory(), Path("windows"));
    TIniFile ini("app.ini");
    EXPECT_EQ(ini.GetFileName(), "app.ini");
    EXPECT_EQ(ini.GetPath(), Path("windows/app.ini"));
    EXPECT_EQ(ini.ReadString("S", "k", "none"), "none");
    ini.WriteString("S", "k", "v");
    EXPECT_EQ(Get("windows/app.ini"), "[S]\r\nk=v\r\n");
}

TEST_F(IniFiles, InstancesSeeEachOthersWrites)
{
    TIniFile a(Path("shared.ini")), b(Path("shared.ini"));
    EXPECT_EQ(b.ReadString("S", "k", "none"), "none");
    a.WriteString("S", "k", "1");
    EXPECT_EQ(b.ReadString("S", "k", "none"), "1");
    b.WriteString("S", "k", "2");
    EXPECT_EQ(a.ReadString("S", "k", "none"), "2");
    Put("shared.ini", "[S]\nk=outside\n");
    EXPECT_EQ(a.ReadString("S", "k", "none"), "outside");
}

TEST_F(IniFiles, OversizedAndSpecialFiles)
{
    {
        std::ofstream(Path("huge.ini"));
    }
    fs::resize_file(Path("huge.ini"), MaxIniFileSize + 1);
    TIniFile huge(Path("huge.ini"));
    EXPECT_THROW(huge.ReadString("S", "k", ""), EIniFileException);
    EXPECT_THROW(huge.WriteString("S", "k", "v"), EIniFileException);
    EXPECT_EQ(fs::file_size(Path("huge.ini")), static_cast<uintmax_t>(MaxIniFileSize + 1));

    fs::create_directory(Path("folder.ini"));
    TIniFile folder(Path("folder.ini"));
    EXPECT_EQ(folder.ReadString("S", "k", "def"), "def");
    EXPECT_THROW(folder.WriteString("S", "k", "v"), EIniFileException);
}
