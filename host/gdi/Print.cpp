#include "host/gdi/Print.h"

#include "host/gdi/DcInternal.h"
#include "host/gdi/PdfWriter.h"
#include "host/gdi/PrintDevice.h"
#include "host/gdi/WinGdi.h"
#include "host/rtl/SysUtils.h"

#include <unistd.h>

#include <cstring>
#include <map>
#include <memory>

namespace host {

namespace {

struct PaperPixels {
    int Width, Height;
};

// Letter is 8.5 x 11 inches, A4 210 x 297 mm; rounded to whole pixels.
PaperPixels PaperSize(const TPrinterSettings& s)
{
    PaperPixels p = s.Paper == TPaperSize::A4
                        ? PaperPixels{(210 * s.Dpi * 10 + 127) / 254, (297 * s.Dpi * 10 + 127) / 254}
                        : PaperPixels{(17 * s.Dpi + 1) / 2, 11 * s.Dpi};
    if (s.Orientation == TPaperOrientation::Landscape)
        std::swap(p.Width, p.Height);
    return p;
}

// Document names become file names: path separators and control characters
// are replaced so a name cannot reach outside the output folder.
std::string FileNameOf(const std::string& docName)
{
    std::string s;
    for (unsigned char c : docName)
        s += (c < 32 || c == '/' || c == '\\' || c == 127) ? '_' : char(c);
    if (s.empty() || s == "." || s == "..")
        s = "Document";
    return s + ".pdf";
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty() || name.front() == '/')
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

struct PrintJob {
    TPrinterSettings Settings;
    PaperPixels Paper;
    gdi::Surface Scratch;  // drawn on outside pages; never printed
    uint32_t ScratchPixel = 0xFFFFFF;
    std::vector<uint32_t> PageBits;
    gdi::Surface Page;
    bool InDoc = false;
    bool InPage = false;
    TPrintJobRecord Record;
    std::unique_ptr<TPdfWriter> Writer;
};

std::map<HDC, std::unique_ptr<PrintJob>>& Jobs()
{
    static std::map<HDC, std::unique_ptr<PrintJob>> jobs;
    return jobs;
}

TPrintJobRecord& LastRecord()
{
    static TPrintJobRecord record;
    return record;
}

PrintJob* FindJob(HDC hdc)
{
    auto it = Jobs().find(hdc);
    return it == Jobs().end() ? nullptr : it->second.get();
}

void Retarget(HDC hdc, gdi::Surface* surface)
{
    if (gdi::Dc* dc = gdi::FindDc(hdc)) {
        dc->Target = surface;
        dc->InvalidateClip();
        gdi::RealizeAll(*dc);
    }
}

std::string OutputPathOf(const PrintJob& job, const DOCINFOA& info)
{
    const TPrinterSettings& s = job.Settings;
    if (info.lpszOutput && *info.lpszOutput)
        return info.lpszOutput;
    if (!s.OutputFile.empty())
        return JoinPath(s.OutputFolder, s.OutputFile);
    return JoinPath(s.OutputFolder, FileNameOf(info.lpszDocName ? info.lpszDocName : ""));
}

// Closes the job's file and records the outcome; the DC stays usable for
// the next document.
void FinishJob(PrintJob& job, bool aborted)
{
    job.InDoc = job.InPage = false;
    job.Record.Aborted = aborted;
    job.Writer.reset();  // removes the temporary file unless committed
    job.PageBits = {};
    job.Page = {};
    LastRecord() = std::move(job.Record);
    job.Record = {};
}

int PrinterCaps(const PrintJob& job, int index)
{
    const TPrinterSettings& s = job.Settings;
    const PaperPixels& p = job.Paper;
    switch (index) {
    case TECHNOLOGY: return DT_RASPRINTER;
    case HORZRES:
    case PHYSICALWIDTH: return p.Width;
    case VERTRES:
    case PHYSICALHEIGHT: return p.Height;
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY: return 0;
    case HORZSIZE: return MulDiv(p.Width, 254, s.Dpi * 10);
    case VERTSIZE: return MulDiv(p.Height, 254, s.Dpi * 10);
    case LOGPIXELSX:
    case LOGPIXELSY: return s.Dpi;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case ASPECTX:
    case ASPECTY: return s.Dpi;
    case ASPECTXY: return MulDiv(s.Dpi, 1414, 1000);
    case COLORRES: return 24;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT |
               RC_STRETCHDIB;
    default: return 0;
    }
}

}  // namespace

TPrinterSettings& PrinterSettings()
{
    static TPrinterSettings settings;
    return settings;
}

const TPrintJobRecord& LastPrintJob() { return LastRecord(); }

HDC CreateDC(LPCSTR driver, LPCSTR device, LPCSTR, const void*)
{
    const TPrinterSettings& s = PrinterSettings();
    bool knownDriver = !driver || !*driver || SameText(driver, "WINSPOOL");
    bool knownDevice = !device || !*device || SameText(device, s.Name);
    if (!knownDriver || !knownDevice || s.Dpi < 10 || s.Dpi > 1200)
        return nullptr;
    auto job = std::make_unique<PrintJob>();
    job->Settings = s;
    job->Paper = PaperSize(s);
    job->Scratch = gdi::Surface{&job->ScratchPixel, 1, 1, 1, false};
    HDC hdc = gdi::CreateSurfaceDc(&job->Scratch, POINT{0, 0}, std::nullopt);
    Jobs()[hdc] = std::move(job);
    return hdc;
}

HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const void* initData)
{
    return CreateDC(driver, device, port, initData);
}

HDC CreatePrinterDC() { return CreateDC(nullptr, nullptr, nullptr, nullptr); }

int StartDoc(HDC hdc, const DOCINFO* info)
{
    PrintJob* job = FindJob(hdc);
    if (!job || !info || job->InDoc)
        return SP_ERROR;
    job->Record = {};
    job->Record.DocName = info->lpszDocName ? info->lpszDocName : "";
    job->Record.Dpi = job->Settings.Dpi;
    try {
        job->Writer = std::make_unique<TPdfWriter>(OutputPathOf(*job, *info));
    } catch (const Exception& e) {
        job->Record.Error = e.GetMessage();
        job->Record.Aborted = true;
        LastRecord() = std::move(job->Record);
        job->Record = {};
        return SP_ERROR;
    }
    job->Writer->SetTitle(job->Record.DocName);
    job->InDoc = true;
    return 1;
}

int StartDocA(HDC hdc, const DOCINFOA* info) { return StartDoc(hdc, info); }

int StartPage(HDC hdc)
{
    PrintJob* job = FindJob(hdc);
    if (!job || !job->InDoc || job->InPage)
        return SP_ERROR;
    const PaperPixels& p = job->Paper;
    job->PageBits.assign(size_t(p.Width) * p.Height, 0xFFFFFF);
    job->Page = gdi::Surface{job->PageBits.data(), p.Width, p.Height, p.Width, false};
    Retarget(hdc, &job->Page);
    job->InPage = true;
    return 1;
}

int EndPage(HDC hdc)
{
    PrintJob* job = FindJob(hdc);
    if (!job || !job->InPage)
        return SP_ERROR;
    Retarget(hdc, &job->Scratch);
    job->InPage = false;
    TImageData image;
    image.Width = job->Page.Width;
    image.Height = job->Page.Height;
    image.Pixels = std::move(job->PageBits);
    job->PageBits = {};
    job->Page = {};
    try {
        job->Writer->AddPage(image, job->Settings.Dpi, job->Settings.Dpi);
    } catch (const Exception& e) {
        job->Record.Error = e.GetMessage();
        FinishJob(*job, true);
        return SP_ERROR;
    }
    ++job->Record.PageCount;
    if (job->Settings.KeepPageImages)
        job->Record.Pages.push_back(std::move(image));
    return 1;
}

int EndDoc(HDC hdc)
{
    PrintJob* job = FindJob(hdc);
    if (!job || !job->InDoc)
        return SP_ERROR;
    if (job->InPage && EndPage(hdc) <= 0)
        return SP_ERROR;
    if (job->Record.PageCount == 0) {
        FinishJob(*job, false);
        return 1;
    }
    try {
        job->Writer->Commit();
    } catch (const Exception& e) {
        job->Record.Error = e.GetMessage();
        FinishJob(*job, true);
        return SP_ERROR;
    }
    job->Record.OutputPath = job->Writer->GetFileName();
    FinishJob(*job, false);
    return 1;
}

int AbortDoc(HDC hdc)
{
    PrintJob* job = FindJob(hdc);
    if (!job || !job->InDoc)
        return SP_ERROR;
    Retarget(hdc, &job->Scratch);
    FinishJob(*job, true);
    return 1;
}

namespace gdi {

bool PrinterDeviceCaps(HDC hdc, int index, int& value)
{
    PrintJob* job = FindJob(hdc);
    if (!job)
        return false;
    value = PrinterCaps(*job, index);
    return true;
}

bool DeletePrinterDc(HDC hdc)
{
    auto it = Jobs().find(hdc);
    if (it == Jobs().end())
        return false;
    if (it->second->InDoc)
        AbortDoc(hdc);
    DestroySurfaceDc(hdc);  // before the job, which owns the surface
    Jobs().erase(it);
    return true;
}

}  // namespace gdi

TPrinterDC::TPrinterDC() : FHandle(CreatePrinterDC())
{
    if (!FHandle)
        throw Exception("Printer \"" + PrinterSettings().Name + "\" is not available");
}

TPrinterDC::~TPrinterDC() { DeleteDC(FHandle); }

TPrintDocScope::TPrintDocScope(HDC Dc, const std::string& DocName, const std::string& Output)
    : FDc(Dc)
{
    DOCINFO info;
    info.lpszDocName = DocName.c_str();
    info.lpszOutput = Output.empty() ? nullptr : Output.c_str();
    if (StartDoc(FDc, &info) <= 0) {
        std::string why = LastPrintJob().Error;
        throw Exception("Cannot start printing \"" + DocName + "\"" +
                        (why.empty() ? std::string() : ": " + why));
    }
}

TPrintDocScope::~TPrintDocScope()
{
    if (FOpen)
        AbortDoc(FDc);
}

void TPrintDocScope::NewPage()
{
    if (FInPage && EndPage(FDc) <= 0) {
        FOpen = FInPage = false;
        throw Exception("Printing failed: " + LastPrintJob().Error);
    }
    FInPage = StartPage(FDc) > 0;
    if (!FInPage)
        throw Exception("Cannot start a new page");
}

void TPrintDocScope::End()
{
    FOpen = FInPage = false;
    if (EndDoc(FDc) <= 0)
        throw Exception("Printing failed: " + LastPrintJob().Error);
}

}  // namespace host
