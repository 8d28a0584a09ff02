#include "host/gdi/PdfWriter.h"
#include "host/gdi/Print.h"
#include "host/gdi/PrintText.h"
#include "host/gdi/WinGdi.h"
#include "host/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace host {
namespace {

namespace fs = std::filesystem;

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Saved = PrinterSettings();
        char pattern[] = "/tmp/kel-print-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        Folder = pattern;
        PrinterSettings().OutputFolder = Folder;
    }
    void TearDown() override
    {
        PrinterSettings() = Saved;
        fs::remove_all(Folder);
    }
    std::vector<std::string> FilesInFolder() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(Folder))
            names.push_back(e.path().filename().string());
        return names;
    }

    TPrinterSettings Saved;
    std::string Folder;
};

std::string ReadFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A minimal reader of what the writer produces: the xref table must point at
// every object, and each object's text is looked up through it.
struct ParsedPdf {
    std::string Data;
    std::map<int, std::string> Objects;  // number -> text from "N 0 obj" to "endobj"

    explicit ParsedPdf(std::string data) : Data(std::move(data))
    {
        size_t sx = Data.rfind("startxref\n");
        if (sx == std::string::npos)
            throw std::runtime_error("no startxref");
        size_t xref = std::stoul(Data.substr(sx + 10));
        if (Data.compare(xref, 5, "xref\n") != 0)
            throw std::runtime_error("startxref does not point at the xref table");
        std::istringstream in(Data.substr(xref + 5));
        int first = 0, count = 0;
        in >> first >> count;
        in.ignore(1);
        for (int n = first; n < first + count; ++n) {
            char entry[21] = {};
            in.read(entry, 20);
            if (entry[17] != 'n')
                continue;
            size_t offset = std::stoul(std::string(entry, 10));
            std::string head = std::to_string(n) + " 0 obj\n";
            if (Data.compare(offset, head.size(), head) != 0)
                throw std::runtime_error("xref entry " + std::to_string(n) + " is off");
            size_t end = Data.find("endobj", offset);
            Objects[n] = Data.substr(offset, end - offset);
        }
    }
    int Count(const std::string& what) const
    {
        int n = 0;
        for (const auto& [num, text] : Objects)
            n += text.find(what) != std::string::npos;
        return n;
    }
    // The inflated stream of the first image object.
    std::vector<uint8_t> FirstImage(int& width, int& height) const
    {
        for (const auto& [num, text] : Objects) {
            if (text.find("/Subtype /Image") == std::string::npos)
                continue;
            width = std::stoi(text.substr(text.find("/Width ") + 7));
            height = std::stoi(text.substr(text.find("/Height ") + 8));
            size_t len = std::stoul(text.substr(text.find("/Length ") + 8));
            size_t start = text.find("stream\n") + 7;
            return InflateBytes(reinterpret_cast<const uint8_t*>(text.data() + start), len,
                                size_t(width) * height * 3);
        }
        throw std::runtime_error("no image");
    }
};

void FillBox(HDC dc, int l, int t, int r, int b, COLORREF c)
{
    HBRUSH brush = CreateSolidBrush(c);
    RECT rc{l, t, r, b};
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
}

TEST_F(PrintTest, ThreePagesMakeAValidPdf)
{
    PrinterSettings().Dpi = 72;
    TPrinterDC printer;
    HDC dc = printer.Handle();
    DOCINFO info;
    info.lpszDocName = "Three (pages) \\ report";
    ASSERT_GT(StartDoc(dc, &info), 0);
    for (int page = 0; page < 3; ++page) {
        ASSERT_GT(StartPage(dc), 0);
        FillBox(dc, 10, 20, 30, 40, RGB(255, 0, 0));
        ASSERT_GT(EndPage(dc), 0);
    }
    ASSERT_GT(EndDoc(dc), 0);

    std::string path = Folder + "/Three (pages) _ report.pdf";
    EXPECT_EQ(LastPrintJob().OutputPath, path);
    EXPECT_EQ(LastPrintJob().PageCount, 3);
    EXPECT_EQ(FilesInFolder().size(), 1u);  // no temporary file left behind
    ParsedPdf pdf(ReadFile(path));
    EXPECT_EQ(pdf.Data.compare(0, 9, "%PDF-1.4\n"), 0);
    EXPECT_EQ(pdf.Count("/Type /Pages /Kids"), 1);
    EXPECT_EQ(pdf.Count("/Count 3"), 1);
    EXPECT_EQ(pdf.Count("/Type /Page "), 3);
    // Letter at 72 dpi: 612 x 792 pixels, as many points.
    EXPECT_EQ(pdf.Count("/MediaBox [0 0 612 792]"), 3);
    EXPECT_EQ(pdf.Count("/Title (Three \\050pages\\051 \\134 report)"), 1);

    int w = 0, h = 0;
    std::vector<uint8_t> rgb = pdf.FirstImage(w, h);
    ASSERT_EQ(w, 612);
    ASSERT_EQ(h, 792);
    auto at = [&](int x, int y) {
        const uint8_t* p = &rgb[(size_t(y) * w + x) * 3];
        return RGB(p[0], p[1], p[2]);
    };
    EXPECT_EQ(at(10, 20), RGB(255, 0, 0));
    EXPECT_EQ(at(29, 39), RGB(255, 0, 0));
    EXPECT_EQ(at(30, 39), RGB(255, 255, 255));
    EXPECT_EQ(at(9, 20), RGB(255, 255, 255));
}

TEST_F(PrintTest, DeviceCapsFollowPaperOrientationAndResolution)
{
    struct Case {
        TPaperSize Paper;
        TPaperOrientation Orientation;
        int Dpi, Width, Height;
    } cases[] = {
        {TPaperSize::Letter, TPaperOrientation::Portrait, 300, 2550, 3300},
        {TPaperSize::Letter, TPaperOrientation::Landscape, 300, 3300, 2550},
        {TPaperSize::A4, TPaperOrientation::Portrait, 300, 2480, 3508},
        {TPaperSize::A4, TPaperOrientation::Landscape, 600, 7016, 4961},
        {TPaperSize::Letter, TPaperOrientation::Portrait, 75, 638, 825},
    };
    for (const Case& c : cases) {
        PrinterSettings().Paper = c.Paper;
        PrinterSettings().Orientation = c.Orientation;
        PrinterSettings().Dpi = c.Dpi;
        TPrinterDC printer;
        HDC dc = printer.Handle();
        SCOPED_TRACE(c.Dpi);
        EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), c.Dpi);
        EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), c.Dpi);
        EXPECT_EQ(GetDeviceCaps(dc, HORZRES), c.Width);
        EXPECT_EQ(GetDeviceCaps(dc, VERTRES), c.Height);
        EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), c.Width);
        EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), c.Height);
        EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 0);
        EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETY), 0);
        EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
    }
    PrinterSettings() = Saved;
    EXPECT_EQ(CreateDC("WINSPOOL", "No such printer", nullptr, nullptr), nullptr);
}

TEST_F(PrintTest, PageIsDrawnAtPrinterResolution)
{
    PrinterSettings().KeepPageImages = true;
    TPrinterDC printer;
    HDC dc = printer.Handle();
    TPrintDocScope doc(dc, "Drawing");
    doc.NewPage();
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(dc, red);
    Rectangle(dc, 300, 600, 900, 1200);
    SelectObject(dc, old);
    DeleteObject(red);
    HFONT font = CreateFont(-MulDiv(12, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL,
                            0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SIZE ext{};
    GetTextExtentPoint32(dc, "Printed", 7, &ext);
    TextOut(dc, 1500, 300, "Printed", 7);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    doc.End();

    ASSERT_EQ(LastPrintJob().Pages.size(), 1u);
    const TImageData& page = LastPrintJob().Pages[0];
    ASSERT_EQ(page.Width, 2550);
    EXPECT_EQ(page.Pixel(300, 600), 0x000000u);   // the pen's corner
    EXPECT_EQ(page.Pixel(600, 900), 0xFF0000u);   // the brush inside
    EXPECT_EQ(page.Pixel(900, 1200), 0xFFFFFFu);  // right and bottom excluded
    EXPECT_EQ(page.Pixel(299, 600), 0xFFFFFFu);
    // 12 pt at 300 dpi is 50 pixels: the text must be that large, not screen-sized.
    EXPECT_GT(ext.cy, 45);
    int dark = 0, rowsWithInk = 0;
    for (int y = 300; y < 300 + ext.cy; ++y) {
        int before = dark;
        for (int x = 1500; x < 1500 + ext.cx; ++x)
            dark += page.Pixel(x, y) != 0xFFFFFFu;
        rowsWithInk += dark > before;
    }
    EXPECT_GT(dark, 500);
    EXPECT_GT(rowsWithInk, 30);
}

TEST_F(PrintTest, UnfinishedJobsLeaveNoFile)
{
    auto drawOnePage = [](HDC dc) {
        EXPECT_GT(StartPage(dc), 0);
        FillBox(dc, 0, 0, 50, 50, RGB(0, 0, 255));
    };
    {  // AbortDoc
        TPrinterDC printer;
        DOCINFO info;
        info.lpszDocName = "Aborted";
        ASSERT_GT(StartDoc(printer.Handle(), &info), 0);
        drawOnePage(printer.Handle());
        EXPECT_GT(AbortDoc(printer.Handle()), 0);
        EXPECT_TRUE(LastPrintJob().Aborted);
        EXPECT_LE(EndDoc(printer.Handle()), 0);  // nothing left to end
    }
    {  // DeleteDC in the middle of a job
        HDC dc = CreatePrinterDC();
        DOCINFO info;
        info.lpszDocName = "Deleted";
        ASSERT_GT(StartDoc(dc, &info), 0);
        drawOnePage(dc);
        EXPECT_TRUE(DeleteDC(dc));
        EXPECT_TRUE(LastPrintJob().Aborted);
    }
    {  // an exception unwinds through the document scope
        TPrinterDC printer;
        try {
            TPrintDocScope doc(printer.Handle(), "Thrown");
            doc.NewPage();
            throw Exception("drawing failed");
        } catch (const Exception&) {
        }
        EXPECT_TRUE(LastPrintJob().Aborted);
    }
    EXPECT_TRUE(FilesInFolder().empty());

    // An output folder that does not exist fails at StartDoc, reported as such.
    TPrinterDC printer;
    EXPECT_THROW(TPrintDocScope(printer.Handle(), "x", Folder + "/missing/x.pdf"), Exception);
    EXPECT_FALSE(LastPrintJob().Error.empty());
}

TEST_F(PrintTest, CallsOutOfOrderFailWithoutHarm)
{
    PrinterSettings().Dpi = 20;
    TPrinterDC printer;
    HDC dc = printer.Handle();
    DOCINFO info;
    info.lpszDocName = "Order";
    // Drawing outside a page goes nowhere and must not crash.
    FillBox(dc, 0, 0, 100, 100, RGB(0, 0, 0));
    struct Step {
        int (*Call)(HDC);
        bool Ok;
    } steps[] = {
        {StartPage, false}, {EndPage, false}, {EndDoc, false}, {AbortDoc, false},
        {[](HDC h) { DOCINFO i; i.lpszDocName = "Order"; return StartDoc(h, &i); }, true},
        {[](HDC h) { DOCINFO i; return StartDoc(h, &i); }, false},  // already started
        {EndPage, false}, {StartPage, true}, {StartPage, false}, {EndPage, true},
        {EndPage, false}, {EndDoc, true}, {EndDoc, false},
    };
    int i = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(i++);
        EXPECT_EQ(step.Call(dc) > 0, step.Ok);
    }
    EXPECT_EQ(LastPrintJob().PageCount, 1);
    EXPECT_EQ(StartDoc(nullptr, &info), SP_ERROR);
    EXPECT_EQ(StartDoc(dc, nullptr), SP_ERROR);
}

TEST_F(PrintTest, FileThatCannotBeFinishedIsReportedAndRemoved)
{
    PrinterSettings().Dpi = 20;
    std::string sub = Folder + "/sub";
    fs::create_directory(sub);
    TPrinterDC printer;
    TPrintDocScope doc(printer.Handle(), "Lost", sub + "/lost.pdf");
    doc.NewPage();
    fs::remove_all(sub);  // the folder vanishes while the job runs
    EXPECT_THROW(doc.End(), Exception);
    EXPECT_TRUE(LastPrintJob().Aborted);
    EXPECT_TRUE(LastPrintJob().OutputPath.empty());
    EXPECT_FALSE(LastPrintJob().Error.empty());
    EXPECT_TRUE(FilesInFolder().empty());
}

TEST_F(PrintTest, DocumentNamesStayInsideTheOutputFolder)
{
    PrinterSettings().Dpi = 20;
    struct Case {
        const char* DocName;
        const char* File;
    } cases[] = {
        {"../escape", ".._escape.pdf"},
        {"a/b\\c", "a_b_c.pdf"},
        {"", "Document.pdf"},
        {"..", "Document.pdf"},
    };
    for (const Case& c : cases) {
        TPrinterDC printer;
        TPrintDocScope doc(printer.Handle(), c.DocName);
        doc.NewPage();
        doc.End();
        EXPECT_EQ(LastPrintJob().OutputPath, Folder + "/" + c.File);
        EXPECT_TRUE(fs::exists(Folder + "/" + c.File)) << c.File;
    }
    EXPECT_EQ(FilesInFolder().size(), 3u);  // "" and ".." share a name
}

// Rows of page that hold ink between the margins.
std::vector<int> InkedLines(const TImageData& page, int margin, int lineHeight)
{
    std::vector<int> lines;
    for (int line = 0; margin + (line + 1) * lineHeight <= page.Height; ++line) {
        bool ink = false;
        for (int y = margin + line * lineHeight; y < margin + (line + 1) * lineHeight && !ink; ++y)
            for (int x = margin; x < page.Width - margin && !ink; ++x)
                ink = page.Pixel(x, y) != 0xFFFFFFu;
        if (ink)
            lines.push_back(line);
    }
    return lines;
}

TEST_F(PrintTest, TextJobBreaksPagesWhenFull)
{
    PrinterSettings().Dpi = 100;
    PrinterSettings().KeepPageImages = true;
    int perPage = 0, margin = 0, lineHeight = 0;
    {
        TTextPrintJob job("Lines");
        perPage = job.GetLinesPerPage();
        margin = job.GetMargin();
        lineHeight = job.GetLineHeight();
        TEXTMETRIC tm{};
        GetTextMetrics(job.GetHandle(), &tm);
        EXPECT_EQ(lineHeight, tm.tmHeight + tm.tmExternalLeading);
        char face[64] = {};
        GetTextFace(job.GetHandle(), sizeof face, face);
        EXPECT_STREQ(face, "Courier New");
        EXPECT_EQ(perPage, (GetDeviceCaps(job.GetHandle(), VERTRES) - 2 * margin) / lineHeight);
        for (int i = 0; i < 2 * perPage + 1; ++i)
            job.WriteLine("Line " + std::to_string(i + 1));
        job.Close();
    }
    const TPrintJobRecord& rec = LastPrintJob();
    ASSERT_EQ(rec.PageCount, 3);
    ASSERT_EQ(rec.Pages.size(), 3u);
    std::vector<int> all(static_cast<size_t>(perPage));
    for (int i = 0; i < perPage; ++i)
        all[size_t(i)] = i;
    EXPECT_EQ(InkedLines(rec.Pages[0], margin, lineHeight), all);
    EXPECT_EQ(InkedLines(rec.Pages[1], margin, lineHeight), all);
    EXPECT_EQ(InkedLines(rec.Pages[2], margin, lineHeight), std::vector<int>{0});
    EXPECT_TRUE(fs::exists(Folder + "/Lines.pdf"));
}

TEST_F(PrintTest, TextJobFormFeedsEmptyLinesAndEmptyJobs)
{
    PrinterSettings().Dpi = 50;
    PrinterSettings().KeepPageImages = true;
    {
        TTextPrintJob job("Feeds");
        job.WriteLine("first");
        job.WriteLine("");
        job.WriteLine("\tthird\fsecond page");
        job.WriteLine("after");
        job.Close();
        const TPrintJobRecord& rec = LastPrintJob();
        ASSERT_EQ(rec.PageCount, 2);
        EXPECT_EQ(InkedLines(rec.Pages[0], job.GetMargin(), job.GetLineHeight()),
                  (std::vector<int>{0, 2}));
        EXPECT_EQ(InkedLines(rec.Pages[1], job.GetMargin(), job.GetLineHeight()),
                  (std::vector<int>{0, 1}));
    }
    {  // nothing printed: the device opens and closes, and no file appears
        TTextPrintJob job("Empty");
        job.Close();
        EXPECT_EQ(LastPrintJob().PageCount, 0);
        EXPECT_FALSE(LastPrintJob().Aborted);
        EXPECT_FALSE(fs::exists(Folder + "/Empty.pdf"));
    }
    {  // destroyed without Close, e.g. by an exception: aborted, no file
        TTextPrintJob job("Unclosed");
        job.WriteLine("lost");
    }
    EXPECT_TRUE(LastPrintJob().Aborted);
    EXPECT_FALSE(fs::exists(Folder + "/Unclosed.pdf"));
}

}  // namespace
}  // namespace host
