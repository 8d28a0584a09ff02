#pragma once
// The printer opened as a text device: lines in, pages out. Lines are set in
// the printer's default font (Courier New 10 pt) from the top margin down;
// a page that is full is ejected and the next line starts a new one.
#include "host/gdi/Print.h"

#include <memory>
#include <string>

namespace host {

class TTextPrintJob {
public:
    // Opens the default printer and starts the document; raises Exception
    // when either fails.
    explicit TTextPrintJob(const std::string& DocName = "Untitled", const std::string& Output = "");
    // Aborts the document unless Close succeeded, so an error between the
    // two never leaves the printer open.
    ~TTextPrintJob();
    TTextPrintJob(const TTextPrintJob&) = delete;
    TTextPrintJob& operator=(const TTextPrintJob&) = delete;

    // Prints one line. Tabs advance to the next multiple of eight columns; a
    // form feed ends the page; text beyond the right margin is cut off.
    void WriteLine(const std::string& Line);
    // Ends the document and writes the file; raises Exception on failure.
    void Close();

    HDC GetHandle() const { return FDc->Handle(); }
    int GetLineHeight() const { return FLineHeight; }
    int GetLinesPerPage() const { return FLinesPerPage; }
    int GetMargin() const { return FMargin; }

private:
    void PrintText(const std::string& Text);
    void EjectPage();

    std::unique_ptr<TPrinterDC> FDc;
    std::unique_ptr<TPrintDocScope> FDoc;
    HFONT FFont = nullptr;
    int FMargin = 0;
    int FLineHeight = 1;
    int FLinesPerPage = 1;
    int FLine = 0;  // lines on the current page; 0: no page open
};

}  // namespace host
