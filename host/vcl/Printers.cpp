#include "host/vcl/Printers.h"

#include "host/gdi/FontList.h"
#include "host/gdi/WinGdi.h"

#include <sys/stat.h>

#include <cstdlib>

namespace host {

namespace {

bool IsFolder(const std::string& Path)
{
    struct stat st;
    return !Path.empty() && stat(Path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string JoinPath(const std::string& Folder, const std::string& Name)
{
    if (Folder.empty() || (!Name.empty() && Name.front() == '/')) return Name;
    return Folder.back() == '/' ? Folder + Name : Folder + "/" + Name;
}

// A title becomes a file name: separators and control characters cannot
// lead the file out of its folder.
std::string FileNameOfTitle(const std::string& Title)
{
    std::string s;
    for (unsigned char c : Title) s += (c < 32 || c == '/' || c == '\\' || c == 127) ? '_' : char(c);
    if (s.empty() || s == "." || s == "..") s = "Document";
    return s + ".pdf";
}

TPrinter*& ThePrinter()
{
    static TPrinter* printer = nullptr;
    return printer;
}

} // namespace

std::string DefaultPrintFolder()
{
    const char* home = std::getenv("HOME");
    if (!home || !*home) return ".";
    std::string documents = JoinPath(home, "Documents");
    return IsFolder(documents) ? documents : std::string(home);
}

// ---- Canvas -----------------------------------------------------------------------------

void TPrinterCanvas::CreateHandle()
{
    UpdateFont();
    SetHandle(FPrinter->GetHandle());
}

// The font was made for the screen; the same point size needs more pixels
// on paper.
void TPrinterCanvas::UpdateFont()
{
    int dpi = FPrinter->GetResolution();
    TFont* font = GetFont();
    if (font->GetPixelsPerInch() == dpi) return;
    int size = font->GetSize();
    font->SetPixelsPerInch(dpi);
    font->SetSize(size);
}

// ---- Printer ----------------------------------------------------------------------------

TPrinter::TPrinter() = default;

TPrinter::~TPrinter()
{
    if (FPrinting) AbortDoc(FDC);
    FreeDC();
}

void TPrinter::CheckPrinting(bool Value) const
{
    if (FPrinting == Value) return;
    throw EPrinter(Value ? "Printer is not currently printing" : "Printing in progress");
}

HDC TPrinter::GetHandle()
{
    if (FDC) return FDC;
    // The DC takes the printer's configuration when it is made; the
    // orientation is this object's.
    TPrinterSettings saved = PrinterSettings();
    PrinterSettings().Orientation =
        FOrientation == poLandscape ? TPaperOrientation::Landscape : TPaperOrientation::Portrait;
    FDC = CreatePrinterDC();
    PrinterSettings() = saved;
    if (!FDC) throw EPrinter("Printer selected is not valid");
    return FDC;
}

void TPrinter::FreeDC()
{
    if (FCanvas) FCanvas->FreeHandle();
    if (FDC) DeleteDC(FDC);
    FDC = nullptr;
}

TCanvas* TPrinter::GetCanvas()
{
    if (!FCanvas) FCanvas = std::make_unique<TPrinterCanvas>(this);
    return FCanvas.get();
}

int TPrinter::GetPageWidth() { return GetDeviceCaps(GetHandle(), HORZRES); }
int TPrinter::GetPageHeight() { return GetDeviceCaps(GetHandle(), VERTRES); }
int TPrinter::GetResolution() { return GetDeviceCaps(GetHandle(), LOGPIXELSY); }

void TPrinter::SetOrientation(TPrinterOrientation Value)
{
    if (Value == FOrientation) return;
    CheckPrinting(false);
    FOrientation = Value;
    FreeDC();
}

void TPrinter::SetCopies(int Value)
{
    if (Value < 1) throw EPrinter("Invalid number of copies: %d", {Value});
    FCopies = Value;
}

TStrings* TPrinter::GetPrinters()
{
    if (!FPrinters) FPrinters = std::make_unique<TStringList>();
    // The one printer there is may be renamed in its settings.
    FPrinters->Clear();
    FPrinters->Add(PrinterSettings().Name);
    return FPrinters.get();
}

int TPrinter::GetPrinterIndex() { return FPrinterIndex < 0 ? 0 : FPrinterIndex; }

void TPrinter::SetPrinterIndex(int Value)
{
    CheckPrinting(false);
    if (Value < -1 || Value >= GetPrinters()->GetCount()) throw EPrinter("Printer selected is not valid");
    FPrinterIndex = Value;
    FreeDC();
    FFonts.reset();
}

TStrings* TPrinter::GetFonts()
{
    if (!FFonts) {
        FFonts = std::make_unique<TStringList>();
        for (const std::string& name : GetFontFamilyNames()) FFonts->Add(name);
    }
    return FFonts.get();
}

std::string TPrinter::OutputPath() const
{
    if (FPrinting || !FOutput.empty()) return FOutput;
    const std::string& folder =
        PrinterSettings().OutputFolder.empty() ? DefaultPrintFolder() : PrinterSettings().OutputFolder;
    return JoinPath(folder, FFileName.empty() ? FileNameOfTitle(FTitle) : FFileName);
}

void TPrinter::StartPageOrFail()
{
    if (StartPage(FDC) > 0) return;
    AbortDoc(FDC);
    FPrinting = false;
    FAborted = true;
    FPageNumber = 0;
    throw EPrinter("Cannot start a new page");
}

void TPrinter::BeginDoc()
{
    CheckPrinting(false);
    HDC dc = GetHandle();
    FOutput.clear();
    std::string output = OutputPath();
    DOCINFO info;
    info.lpszDocName = FTitle.c_str();
    info.lpszOutput = output.c_str();
    if (StartDoc(dc, &info) <= 0) {
        std::string why = LastPrintJob().Error;
        throw EPrinter("Cannot print \"" + FTitle + "\"" + (why.empty() ? std::string() : ": " + why));
    }
    FOutput = output;
    FPrinting = true;
    FAborted = false;
    FPageNumber = 1;
    StartPageOrFail();
    GetCanvas()->Refresh();
}

void TPrinter::NewPage()
{
    CheckPrinting(true);
    if (EndPage(FDC) <= 0) {
        FPrinting = false;
        FAborted = true;
        FPageNumber = 0;
        throw EPrinter("Printing failed: " + LastPrintJob().Error);
    }
    StartPageOrFail();
    ++FPageNumber;
    GetCanvas()->Refresh();
}

void TPrinter::EndDoc()
{
    CheckPrinting(true);
    FPrinting = false;
    FPageNumber = 0;
    if (::host::EndDoc(FDC) <= 0) {
        FAborted = true;
        throw EPrinter("Printing failed: " + LastPrintJob().Error);
    }
}

void TPrinter::Abort()
{
    CheckPrinting(true);
    AbortDoc(FDC);
    FPrinting = false;
    FAborted = true;
    FPageNumber = 0;
}

TPrinter* Printer()
{
    TPrinter*& p = ThePrinter();
    if (!p) p = new TPrinter();
    return p;
}

TPrinter* SetPrinter(TPrinter* NewPrinter)
{
    TPrinter* old = ThePrinter();
    ThePrinter() = NewPrinter;
    return old;
}

// ---- Scope ------------------------------------------------------------------------------

TPrinterDocScope::TPrinterDocScope(TPrinter* APrinter) : FPrinter(APrinter) { FPrinter->BeginDoc(); }

TPrinterDocScope::~TPrinterDocScope()
{
    if (FOpen && FPrinter->GetPrinting()) FPrinter->Abort();
}

void TPrinterDocScope::End()
{
    FOpen = false;
    FPrinter->EndDoc();
}

} // namespace host
