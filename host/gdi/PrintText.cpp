#include "host/gdi/PrintText.h"

#include "host/gdi/WinGdi.h"
#include "host/rtl/SysUtils.h"

namespace host {

namespace {

constexpr int kFontPoints = 10;
constexpr int kTabColumns = 8;

std::string ExpandTabs(const std::string& Line)
{
    std::string s;
    for (char c : Line) {
        if (c == '\t')
            s.append(size_t(kTabColumns - s.size() % kTabColumns), ' ');
        else if (c != '\r')
            s += c;
    }
    return s;
}

}  // namespace

TTextPrintJob::TTextPrintJob(const std::string& DocName, const std::string& Output)
    : FDc(std::make_unique<TPrinterDC>())
{
    HDC dc = FDc->Handle();
    FDoc = std::make_unique<TPrintDocScope>(dc, DocName, Output);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    FFont = CreateFont(-MulDiv(kFontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                       0, 0, 0, FIXED_PITCH, "Courier New");
    SelectObject(dc, FFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    FLineHeight = std::max(1, int(tm.tmHeight + tm.tmExternalLeading));
    // Half an inch all round: inside the unprintable border of any real printer.
    FMargin = dpi / 2;
    int usable = GetDeviceCaps(dc, VERTRES) - 2 * FMargin;
    FLinesPerPage = std::max(1, usable / FLineHeight);
}

TTextPrintJob::~TTextPrintJob()
{
    FDoc.reset();  // aborts an unfinished document
    if (FDc)
        SelectObject(FDc->Handle(), GetStockObject(SYSTEM_FONT));
    FDc.reset();
    if (FFont)
        DeleteObject(FFont);
}

void TTextPrintJob::EjectPage()
{
    FDoc->NewPage();
    FLine = 0;
}

void TTextPrintJob::PrintText(const std::string& Text)
{
    if (!FDoc)
        throw Exception("The text print job is closed");
    if (FLine == 0 || FLine >= FLinesPerPage)
        EjectPage();
    std::string s = ExpandTabs(Text);
    HDC dc = FDc->Handle();
    RECT clip{FMargin, 0, GetDeviceCaps(dc, HORZRES) - FMargin, GetDeviceCaps(dc, VERTRES)};
    int y = FMargin + FLine * FLineHeight;
    ExtTextOut(dc, FMargin, y, ETO_CLIPPED, &clip, s.data(), UINT(s.size()), nullptr);
    ++FLine;
}

void TTextPrintJob::WriteLine(const std::string& Line)
{
    size_t start = 0, feed;
    while ((feed = Line.find('\f', start)) != std::string::npos) {
        if (feed > start)
            PrintText(Line.substr(start, feed - start));
        if (!FDoc)
            throw Exception("The text print job is closed");
        // The line after a form feed opens a fresh page.
        if (FLine == 0)
            EjectPage();
        FLine = FLinesPerPage;
        start = feed + 1;
    }
    if (start < Line.size() || start == 0)
        PrintText(Line.substr(start));
}

void TTextPrintJob::Close()
{
    if (!FDoc)
        return;
    std::unique_ptr<TPrintDocScope> doc = std::move(FDoc);
    doc->End();
}

}  // namespace host
