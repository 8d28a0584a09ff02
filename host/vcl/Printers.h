#pragma once
// The printer object: documents drawn on a canvas at the printer's resolution
// and written, page by page, as one PDF file (see host/gdi/Print.h).
//
// Where a document goes: the file set with SetFileName, else the document's
// Title (or "Document") with ".pdf" in the printer's output folder
// (PrinterSettings().OutputFolder), else in DefaultPrintFolder(): the user's
// $HOME/Documents when it exists, else $HOME, else the current directory. A
// file of the same name is replaced when the document ends successfully; an
// aborted or failed document leaves no file behind.
#include <memory>
#include <string>

#include "host/gdi/Print.h"
#include "host/rtl/Strings.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/Graphics.h"

namespace host {

HOST_DECLARE_EXCEPTION(EPrinter, Exception);

HOST_ENUM(TPrinterOrientation, poPortrait, poLandscape)

class TPrinter;

// The canvas of a printer: its DC is the printer's, and its font keeps its
// point size at the printer's resolution.
class TPrinterCanvas : public TCanvas {
    HOST_CLASS(TPrinterCanvas, TCanvas)
public:
    explicit TPrinterCanvas(TPrinter* APrinter) : FPrinter(APrinter) {}

    // Drops the DC, so that the next drawing call asks the printer again.
    void FreeHandle() { SetHandle(nullptr); }

protected:
    void CreateHandle() override;

private:
    void UpdateFont();
    TPrinter* FPrinter;
};

class TPrinter : public TObject {
    HOST_CLASS(TPrinter, TObject)
public:
    TPrinter();
    // Aborts a document still being printed.
    ~TPrinter() override;
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Starts a document on page 1; raises EPrinter when printing already or
    // when the output file cannot be made.
    void BeginDoc();
    // Ends the document and writes the file; raises EPrinter when it cannot
    // be written (the document is closed all the same).
    void EndDoc();
    void NewPage();
    // Drops the document: no file is written. Aborted stays true until the
    // next BeginDoc.
    void Abort();

    bool GetAborted() const { return FAborted; }
    bool GetPrinting() const { return FPrinting; }
    TCanvas* GetCanvas();
    // The printer's DC, made on demand (also outside documents, for measuring).
    HDC GetHandle();
    int GetPageWidth();
    int GetPageHeight();
    int GetPageNumber() const { return FPageNumber; }
    // Pixels per inch of the printer.
    int GetResolution();

    TPrinterOrientation GetOrientation() const { return FOrientation; }
    // Raises EPrinter while printing.
    void SetOrientation(TPrinterOrientation Value);
    const std::string& GetTitle() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    // How many copies the user asked for (at least 1). The PDF holds each
    // page once; the number is for the program that prints the file.
    int GetCopies() const { return FCopies; }
    void SetCopies(int Value);

    // The installed printers' names.
    TStrings* GetPrinters();
    // The selected printer; setting -1 selects the default one. Setting
    // raises EPrinter for an index that names no printer, or while printing.
    int GetPrinterIndex();
    void SetPrinterIndex(int Value);
    // The font families the printer can print.
    TStrings* GetFonts();

    // The PDF file of the next documents; empty: named after the Title.
    const std::string& GetFileName() const { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    // Where the current or last document went (or would go).
    std::string OutputPath() const;

private:
    void CheckPrinting(bool Value) const;
    void FreeDC();
    void StartPageOrFail();

    HDC FDC = nullptr;
    std::unique_ptr<TPrinterCanvas> FCanvas;
    std::unique_ptr<TStringList> FPrinters;
    std::unique_ptr<TStringList> FFonts;
    std::string FTitle;
    std::string FFileName;
    std::string FOutput;
    TPrinterOrientation FOrientation = poPortrait;
    int FCopies = 1;
    int FPrinterIndex = -1;
    int FPageNumber = 0;
    bool FPrinting = false;
    bool FAborted = false;
};

// The application's printer object, made on first use.
TPrinter* Printer();
// Replaces the printer object; returns the previous one, which the caller
// then owns. The object passed is owned by the library.
TPrinter* SetPrinter(TPrinter* NewPrinter);

std::string DefaultPrintFolder();

// A document in progress on a printer: BeginDoc on construction, Abort on
// destruction unless End was called, so an exception in between never leaves
// the printer printing.
class TPrinterDocScope {
public:
    explicit TPrinterDocScope(TPrinter* APrinter);
    ~TPrinterDocScope();
    TPrinterDocScope(const TPrinterDocScope&) = delete;
    TPrinterDocScope& operator=(const TPrinterDocScope&) = delete;
    void End();

private:
    TPrinter* FPrinter;
    bool FOpen = true;
};

// The printer opened as a text device: lines go down the page in the
// canvas's font from the top-left corner; a line that would cross the
// bottom starts a new page. Tabs advance to the next multiple of eight
// characters. Bound to Printer() by AssignPrn.
class TPrnTextFile {
public:
    TPrnTextFile() = default;
    // Aborts a document that was not closed.
    ~TPrnTextFile();
    TPrnTextFile(const TPrnTextFile&) = delete;
    TPrnTextFile& operator=(const TPrnTextFile&) = delete;

    // Starts the document.
    void Rewrite();
    // Text without a line end; "\n" inside Text ends the line.
    void Write(const std::string& Text);
    void WriteLn(const std::string& Text = {});
    // Ends the document and writes the file.
    void CloseFile();
    bool IsOpen() const { return FOpen; }

private:
    friend void AssignPrn(TPrnTextFile& F);
    void NewLine();
    void Emit(const std::string& Text);

    TPrinter* FPrinter = nullptr;
    bool FOpen = false;
    int FX = 0;
    int FY = 0;
    int FColumn = 0;
};

void AssignPrn(TPrnTextFile& F);

} // namespace host
