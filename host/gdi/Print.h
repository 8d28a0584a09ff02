#pragma once
// Printing: printer device contexts and print jobs with the Win32 names. The
// one printer, "PDF", turns each document into a PDF file; pages are drawn by
// the normal rasterizer at the printer's resolution, so every drawing and text
// call works on a printer DC as on a bitmap.
#include "host/gdi/Image.h"
#include "host/gdi/WinTypes.h"

#include <string>
#include <vector>

namespace host {

struct DOCINFOA {
    int cbSize = sizeof(DOCINFOA);
    LPCSTR lpszDocName = nullptr;
    LPCSTR lpszOutput = nullptr;  // the PDF file; none: named after the document
    LPCSTR lpszDatatype = nullptr;
    DWORD fwType = 0;
};
using DOCINFO = DOCINFOA;

constexpr int SP_ERROR = -1;

enum class TPaperSize { Letter, A4 };
enum class TPaperOrientation { Portrait, Landscape };

// The printer's configuration. A DC takes a copy when it is created, so a
// change affects the next printer DC, not a job already running.
struct TPrinterSettings {
    std::string Name = "PDF";
    // Where documents without an explicit output file go; empty: the current directory.
    std::string OutputFolder;
    // The file for the next documents (relative names are in OutputFolder);
    // empty: the document name with ".pdf".
    std::string OutputFile;
    TPaperSize Paper = TPaperSize::Letter;
    TPaperOrientation Orientation = TPaperOrientation::Portrait;
    int Dpi = 300;
    // Keep each finished page's pixels in the job record (for tests; costs memory).
    bool KeepPageImages = false;
};

TPrinterSettings& PrinterSettings();

// What the last finished or abandoned job did.
struct TPrintJobRecord {
    std::string DocName;
    std::string OutputPath;  // empty when no file was written
    int PageCount = 0;
    int Dpi = 0;
    bool Aborted = false;
    std::string Error;  // why EndDoc failed, if it did
    std::vector<TImageData> Pages;  // when KeepPageImages was set
};

const TPrintJobRecord& LastPrintJob();

// driver may be null or "WINSPOOL"; device must name the printer (null: the
// default printer). Returns null for an unknown printer.
HDC CreateDC(LPCSTR driver, LPCSTR device, LPCSTR port, const void* initData);
HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const void* initData);
HDC CreatePrinterDC();

// Each returns a positive value on success and SP_ERROR (or 0) on failure.
// A document without pages writes no file. DeleteDC on a DC with an
// unfinished document aborts it.
int StartDoc(HDC hdc, const DOCINFO* info);
int StartDocA(HDC hdc, const DOCINFOA* info);
int StartPage(HDC hdc);
int EndPage(HDC hdc);
int EndDoc(HDC hdc);
int AbortDoc(HDC hdc);

// Owns a printer DC; DeleteDC on destruction.
class TPrinterDC {
public:
    TPrinterDC();  // the default printer; raises Exception when it cannot be opened
    ~TPrinterDC();
    TPrinterDC(const TPrinterDC&) = delete;
    TPrinterDC& operator=(const TPrinterDC&) = delete;
    HDC Handle() const { return FHandle; }

private:
    HDC FHandle;
};

// A running document: StartDoc on construction, AbortDoc on destruction
// unless End succeeded, so an exception between the two cannot leave a job open.
class TPrintDocScope {
public:
    TPrintDocScope(HDC Dc, const std::string& DocName, const std::string& Output = "");
    ~TPrintDocScope();
    TPrintDocScope(const TPrintDocScope&) = delete;
    TPrintDocScope& operator=(const TPrintDocScope&) = delete;
    void NewPage();  // EndPage of the open page, if any, then StartPage
    // Ends the open page and the document; raises Exception when the file
    // cannot be written (the job is aborted then).
    void End();

private:
    HDC FDc;
    bool FOpen = true;
    bool FInPage = false;
};

}  // namespace host
