#include "host/vcl/Printers.h"

#include "host/gdi/WinGdi.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace host;
namespace fs = std::filesystem;

class PrintersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Saved = PrinterSettings();
        char pattern[] = "/tmp/kel-printers-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        Folder = pattern;
        PrinterSettings().OutputFolder = Folder;
        PrinterSettings().Dpi = 72;
        PrinterSettings().KeepPageImages = true;
        P = std::make_unique<TPrinter>();
    }
    void TearDown() override
    {
        P.reset();
        PrinterSettings() = Saved;
        fs::remove_all(Folder);
    }
    static std::string ReadFile(const std::string& Name)
    {
        std::ifstream in(Name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static int CountOf(const std::string& Text, const std::string& What)
    {
        int n = 0;
        for (size_t p = Text.find(What); p != std::string::npos; p = Text.find(What, p + 1)) ++n;
        return n;
    }
    static uint32_t PagePixel(int Page, int X, int Y) { return LastPrintJob().Pages.at(size_t(Page)).Pixel(X, Y); }

    TPrinterSettings Saved;
    std::string Folder;
    std::unique_ptr<TPrinter> P;
};

void Box(TCanvas* Canvas, TColor Color, int L, int T, int R, int B)
{
    Canvas->GetBrush()->SetColor(Color);
    Canvas->FillRect(Rect(L, T, R, B));
}

TEST_F(PrintersTest, ThreePagesBecomeOnePdf)
{
    P->SetTitle("Quarterly");
    P->BeginDoc();
    EXPECT_TRUE(P->GetPrinting());
    EXPECT_EQ(P->GetPageNumber(), 1);
    Box(P->GetCanvas(), clRed, 10, 10, 50, 50);
    P->NewPage();
    EXPECT_EQ(P->GetPageNumber(), 2);
    Box(P->GetCanvas(), clBlue, 100, 200, 140, 240);
    P->NewPage();
    P->GetCanvas()->TextOut(20, 20, "third");
    P->EndDoc();
    EXPECT_FALSE(P->GetPrinting());
    EXPECT_EQ(P->GetPageNumber(), 0);

    const TPrintJobRecord& job = LastPrintJob();
    EXPECT_EQ(job.PageCount, 3);
    EXPECT_FALSE(job.Aborted);
    EXPECT_EQ(job.OutputPath, Folder + "/Quarterly.pdf");
    EXPECT_EQ(P->OutputPath(), job.OutputPath);
    ASSERT_EQ(job.Pages.size(), 3u);
    EXPECT_EQ(PagePixel(0, 30, 30), 0xFF0000u);
    EXPECT_EQ(PagePixel(0, 120, 220), 0xFFFFFFu) << "page 2's box leaked onto page 1";
    EXPECT_EQ(PagePixel(1, 120, 220), 0x0000FFu);
    EXPECT_EQ(PagePixel(1, 30, 30), 0xFFFFFFu) << "page 1's box stayed on page 2";

    std::string pdf = ReadFile(job.OutputPath);
    EXPECT_EQ(pdf.rfind("%PDF-1.", 0), 0u);
    EXPECT_NE(pdf.find("%%EOF", pdf.size() - 8), std::string::npos);
    EXPECT_EQ(CountOf(pdf, "/Type /Page\n") + CountOf(pdf, "/Type /Page "), 3);
    EXPECT_NE(pdf.find("(Quarterly)"), std::string::npos) << "the title is the document's";
}

// A standard reader must accept the file, with its page count and size.
TEST_F(PrintersTest, PdfOpensInAStandardReader)
{
    if (std::system("command -v pdfinfo > /dev/null 2>&1") != 0) GTEST_SKIP() << "pdfinfo is not installed";
    P->SetTitle("Checked");
    P->BeginDoc();
    P->GetCanvas()->TextOut(72, 72, "Hello, paper");
    P->NewPage();
    P->EndDoc();
    std::string info = Folder + "/info.txt";
    std::string cmd = "pdfinfo '" + LastPrintJob().OutputPath + "' > '" + info + "' 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << ReadFile(info);
    std::string out = ReadFile(info);
    size_t pages = out.find("Pages:");
    ASSERT_NE(pages, std::string::npos) << out;
    EXPECT_EQ(std::stoi(out.substr(pages + 6)), 2) << out;
    EXPECT_NE(out.find("612 x 792 pts"), std::string::npos) << out;
}

TEST_F(PrintersTest, OrientationSwapsThePageAndIsFixedWhilePrinting)
{
    EXPECT_EQ(P->GetPageWidth(), 612);
    EXPECT_EQ(P->GetPageHeight(), 792);
    P->SetOrientation(poLandscape);
    EXPECT_EQ(P->GetPageWidth(), 792);
    EXPECT_EQ(P->GetPageHeight(), 612);
    P->BeginDoc();
    EXPECT_THROW(P->SetOrientation(poPortrait), EPrinter);
    EXPECT_EQ(P->GetOrientation(), poLandscape);
    P->EndDoc();
    EXPECT_EQ(LastPrintJob().Pages.at(0).Width, 792);
    EXPECT_EQ(PrinterSettings().Orientation, TPaperOrientation::Portrait) << "the shared settings stay";
}

TEST_F(PrintersTest, CallsOutOfOrderRaise)
{
    struct {
        const char* what;
        bool printing;
        void (*call)(TPrinter*);
    } cases[] = {
        {"NewPage idle", false, [](TPrinter* p) { p->NewPage(); }},
        {"EndDoc idle", false, [](TPrinter* p) { p->EndDoc(); }},
        {"Abort idle", false, [](TPrinter* p) { p->Abort(); }},
        {"BeginDoc twice", true, [](TPrinter* p) { p->BeginDoc(); }},
        {"PrinterIndex while printing", true, [](TPrinter* p) { p->SetPrinterIndex(0); }},
    };
    for (auto c : cases) {
        if (c.printing) P->BeginDoc();
        EXPECT_THROW(c.call(P.get()), EPrinter) << c.what;
        EXPECT_EQ(P->GetPrinting(), c.printing) << c.what;
        if (c.printing) P->Abort();
    }
}

TEST_F(PrintersTest, AbortWritesNothingAndStaysAbortedUntilTheNextDocument)
{
    P->SetTitle("Dropped");
    P->BeginDoc();
    Box(P->GetCanvas(), clRed, 0, 0, 10, 10);
    P->NewPage();
    P->Abort();
    EXPECT_TRUE(P->GetAborted());
    EXPECT_FALSE(P->GetPrinting());
    EXPECT_TRUE(LastPrintJob().Aborted);
    EXPECT_FALSE(fs::exists(Folder + "/Dropped.pdf"));
    EXPECT_TRUE(fs::is_empty(Folder)) << "no temporary file left behind";

    P->BeginDoc();
    EXPECT_FALSE(P->GetAborted());
    P->EndDoc();
    EXPECT_TRUE(fs::exists(Folder + "/Dropped.pdf"));
}

TEST_F(PrintersTest, ScopeAbortsAJobLeftByAnException)
{
    P->SetTitle("Broken");
    try {
        TPrinterDocScope doc(P.get());
        Box(P->GetCanvas(), clRed, 0, 0, 10, 10);
        throw Exception("disk on fire");
    } catch (const Exception& e) {
        EXPECT_EQ(e.GetMessage(), "disk on fire");
    }
    EXPECT_FALSE(P->GetPrinting());
    EXPECT_TRUE(LastPrintJob().Aborted);
    EXPECT_FALSE(fs::exists(Folder + "/Broken.pdf"));

    TPrinterDocScope again(P.get());
    again.End();
    EXPECT_TRUE(fs::exists(Folder + "/Broken.pdf"));
}

TEST_F(PrintersTest, OutputFileNames)
{
    struct { const char *title, *file, *expected; } cases[] = {
        {"Report", "", "Report.pdf"},
        {"", "", "Document.pdf"},
        {"../up/and\\away", "", ".._up_and_away.pdf"},
        {"Ignored", "chosen.pdf", "chosen.pdf"},
    };
    for (auto c : cases) {
        P->SetTitle(c.title);
        P->SetFileName(c.file);
        P->BeginDoc();
        P->EndDoc();
        EXPECT_EQ(LastPrintJob().OutputPath, Folder + "/" + c.expected) << c.title;
        EXPECT_TRUE(fs::exists(Folder + "/" + c.expected)) << c.title;
    }
    P->SetFileName(Folder + "/sub-absent/x.pdf");
    EXPECT_THROW(P->BeginDoc(), EPrinter);
    EXPECT_FALSE(P->GetPrinting());
}

TEST_F(PrintersTest, DefaultFolderIsTheUsersDocuments)
{
    const char* home = std::getenv("HOME");
    std::string saved = home ? home : "";
    setenv("HOME", Folder.c_str(), 1);
    EXPECT_EQ(DefaultPrintFolder(), Folder);
    fs::create_directory(Folder + "/Documents");
    EXPECT_EQ(DefaultPrintFolder(), Folder + "/Documents");
    PrinterSettings().OutputFolder.clear();
    P->SetTitle("Home");
    EXPECT_EQ(P->OutputPath(), Folder + "/Documents/Home.pdf");
    setenv("HOME", saved.c_str(), 1);
}

TEST_F(PrintersTest, CanvasFontKeepsItsPointSize)
{
    PrinterSettings().Dpi = 300;
    P = std::make_unique<TPrinter>();
    TFont* font = P->GetCanvas()->GetFont();
    font->SetSize(10);
    int screenHeight = P->GetCanvas()->TextHeight("Xg");
    EXPECT_EQ(font->GetSize(), 10);
    EXPECT_EQ(font->GetHeight(), -MulDiv(10, 300, 72));
    EXPECT_GT(screenHeight, 30) << "text is measured at the printer's resolution";
}

TEST_F(PrintersTest, PrinterListAndFonts)
{
    ASSERT_EQ(P->GetPrinters()->GetCount(), 1);
    EXPECT_EQ(P->GetPrinters()->GetStrings(0), "PDF");
    EXPECT_EQ(P->GetPrinterIndex(), 0);
    P->SetPrinterIndex(-1);
    EXPECT_THROW(P->SetPrinterIndex(1), EPrinter);
    EXPECT_THROW(P->SetCopies(0), EPrinter);
    P->SetCopies(2);
    EXPECT_EQ(P->GetCopies(), 2);
    TStrings* fonts = P->GetFonts();
    EXPECT_GE(fonts->IndexOf("Courier New"), 0);
    EXPECT_GE(fonts->IndexOf("Arial"), 0);
    for (int i = 1; i < fonts->GetCount(); ++i)
        EXPECT_LT(strcasecmp(fonts->GetStrings(i - 1).c_str(), fonts->GetStrings(i).c_str()), 0) << "sorted without duplicates";
}

TEST_F(PrintersTest, TextDeviceTurnsPagesWhenTheyAreFull)
{
    SetPrinter(P.release());
    int lineHeight = Printer()->GetCanvas()->TextHeight("0");
    int perPage = Printer()->GetPageHeight() / lineHeight;
    struct { int lines; int pages; } cases[] = {{0, 1}, {1, 1}, {perPage, 1}, {perPage + 1, 2}, {2 * perPage + 3, 3}};
    for (auto c : cases) {
        TPrnTextFile f;
        AssignPrn(f);
        f.Rewrite();
        for (int i = 0; i < c.lines; ++i) f.WriteLn("line " + std::to_string(i));
        f.CloseFile();
        EXPECT_EQ(LastPrintJob().PageCount, c.pages) << c.lines << " lines";
    }
    {
        TPrnTextFile f;
        AssignPrn(f);
        f.Rewrite();
        f.Write("unfinished");
    }
    EXPECT_FALSE(Printer()->GetPrinting()) << "a text file going out of scope closes the device";
    P.reset(SetPrinter(nullptr));
}

} // namespace
