#include "general/Kelutilf.h"

#include "host/design/DsgnIntf.h"
#include "host/gdi/WinGdi.h"
#include "host/vcl/Clipbrd.h"
#include "host/vcl/Controls.h"
#include "host/vcl/Forms.h"
#include "host/vcl/Printers.h"

#include <memory>
#include <utility>
#include <vector>

namespace kel {
namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UpperAscii(std::string S)
{
    for (char& c : S) c = UpperAscii(c);
    return S;
}

// Finds Find in Source. Upper-casing keeps every byte in place, so an index in
// the folded text applies to Source itself.
class TFinder {
public:
    TFinder(const std::string& Find, const std::string& Source, bool CaseSensitive)
        : FNeedle(CaseSensitive ? Find : UpperAscii(Find)), FHaystack(CaseSensitive ? Source : UpperAscii(Source))
    {
    }
    // Index of the first occurrence at or after From, or npos; an empty Find
    // never matches.
    size_t Next(size_t From) const
    {
        if (FNeedle.empty()) return std::string::npos;
        return FHaystack.find(FNeedle, From);
    }

private:
    std::string FNeedle;
    std::string FHaystack;
};

bool IsPathSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

// Index where the name part of a path begins.
size_t NameStart(const std::string& FileName)
{
    for (size_t i = FileName.size(); i > 0; --i)
        if (IsPathSeparator(FileName[i - 1])) return i;
    return 0;
}

} // namespace

std::string kelLTrim(const std::string& S)
{
    size_t first = S.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : S.substr(first);
}

std::string kelRTrim(const std::string& S)
{
    size_t last = S.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : S.substr(0, last + 1);
}

std::string kelLRTrim(const std::string& S) { return kelLTrim(kelRTrim(S)); }

std::string kelReplaceStr(const std::string& Find, const std::string& Replace, const std::string& Source,
                          bool CaseSensitive)
{
    size_t p = TFinder(Find, Source, CaseSensitive).Next(0);
    if (p == std::string::npos) return Source;
    return Source.substr(0, p) + Replace + Source.substr(p + Find.size());
}

std::string kelReplaceAll(const std::string& Find, const std::string& Replace, const std::string& Source,
                          bool CaseSensitive)
{
    // Searching on from the end of each match is the same as applying the
    // replacement again to the tail, without recursion depth growing with the
    // number of matches.
    TFinder finder(Find, Source, CaseSensitive);
    std::string result;
    size_t from = 0;
    for (;;) {
        size_t p = finder.Next(from);
        if (p == std::string::npos) break;
        result.append(Source, from, p - from);
        result += Replace;
        from = p + Find.size();
    }
    result.append(Source, from, std::string::npos);
    return result;
}

std::string kelProperCase(const std::string& S)
{
    std::string result;
    result.reserve(S.size());
    bool capitalise = true;
    for (char c : S) {
        c = LowerAscii(c);
        if (c == ' ') {
            capitalise = true;
        } else if (c >= 'a' && c <= 'z' && capitalise) {
            c = UpperAscii(c);
            capitalise = false;
        }
        result += c;
    }
    return result;
}

std::string kelFileNamePart(const std::string& FileName)
{
    std::string name = FileName.substr(NameStart(FileName));
    return name.substr(0, name.find('.'));
}

std::string kelReplaceFileExt(const std::string& FileName, const std::string& NewExt)
{
    // The dot is looked for in the name part only: a dot in a folder name
    // ("c:\my.dir\file.txt") is not an extension.
    size_t dot = FileName.find('.', NameStart(FileName));
    if (dot == std::string::npos) return FileName;
    return FileName.substr(0, dot) + NewExt;
}

} // namespace kel

// ---- Clipboard, printing and designer --------------------------------------------------

namespace kel {
namespace {

using namespace host;

// The screen cursor of the window system: what shows over every window while
// it is set.
void SetScreenCursor(TCursor Cursor) { SetCursor(CursorHandle(Cursor)); }

class THourGlass {
public:
    THourGlass() { SetScreenCursor(crHourGlass); }
    ~THourGlass() { SetScreenCursor(crDefault); }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;
};

// The memory DC a control is painted into, and the bitmap selected in it;
// the bitmap is deleted unless someone took it.
class TCaptureDC {
public:
    TCaptureDC(int Width, int Height)
    {
        FScreen = GetDC(nullptr);
        FDC = CreateCompatibleDC(FScreen);
        FBitmap = CreateCompatibleBitmap(FScreen, Width, Height);
        if (!FDC || !FBitmap) {
            Release();
            throw EOutOfResources("Out of system resources");
        }
        FOld = SelectObject(FDC, FBitmap);
    }
    ~TCaptureDC() { Release(); }
    TCaptureDC(const TCaptureDC&) = delete;
    TCaptureDC& operator=(const TCaptureDC&) = delete;

    HDC DC() const { return FDC; }
    HBITMAP Take()
    {
        SelectObject(FDC, FOld);
        FOld = nullptr;
        return std::exchange(FBitmap, nullptr);
    }

private:
    void Release()
    {
        if (FOld) SelectObject(FDC, FOld);
        if (FBitmap) DeleteObject(FBitmap);
        if (FDC) DeleteDC(FDC);
        if (FScreen) ReleaseDC(nullptr, FScreen);
        FBitmap = nullptr;
        FDC = FScreen = nullptr;
    }

    HDC FScreen = nullptr;
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOld = nullptr;
};

int ScreenPixelsPerInch(int Index)
{
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, Index);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

TCustomForm* FormOf(TComponent* Component)
{
    if (auto* control = dynamic_cast<TControl*>(Component)) return GetParentForm(control);
    for (TComponent* c = Component; c; c = c->GetOwner())
        if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
    return nullptr;
}

} // namespace

void kelStrToClip(const std::string& S) { Clipboard()->SetAsText(S); }

void kelPrintStrings(TStrings* Strings)
{
    TPrnTextFile f;
    AssignPrn(f);
    f.Rewrite();
    try {
        for (int i = 0; i < Strings->GetCount(); ++i) f.WriteLn(Strings->GetStrings(i));
    } catch (...) {
        // The device is closed whatever went wrong; the first error is the one reported.
        try {
            f.CloseFile();
        } catch (...) {
        }
        throw;
    }
    f.CloseFile();
}

void kelPrintStringsFormat(TStrings* Strings, uint8_t X, uint8_t LinesPerPage)
{
    THourGlass hourGlass;
    TPrinter* printer = Printer();
    TPrinterDocScope doc(printer);
    int line = 0;
    int y = 0;
    for (int i = 0; i < Strings->GetCount(); ++i) {
        ++line;
        y += 100;
        if (line > LinesPerPage) {
            // The first page is already open: turning it before the first
            // line would only leave it empty.
            if (i > 0) printer->NewPage();
            y = 100;
            line = 1;
        }
        printer->GetCanvas()->TextOut(X, y, Strings->GetStrings(i));
    }
    doc.End();
}

TBitmap* kelGetControlBitmap(TWinControl* Control)
{
    HWND wnd = Control->GetHandle();
    RECT client{};
    GetClientRect(wnd, &client);
    auto result = std::make_unique<TBitmap>();
    if (client.right <= 0 || client.bottom <= 0) return result.release();
    TCaptureDC capture(client.right, client.bottom);
    FillRect(capture.DC(), &client, HBRUSH(GetStockObject(WHITE_BRUSH)));
    SendMessage(wnd, WM_ERASEBKGND, WPARAM(capture.DC()), 0);
    SendMessage(wnd, WM_PAINT, WPARAM(capture.DC()), 0);
    HBITMAP bitmap = capture.Take();
    try {
        result->SetHandle(bitmap);
    } catch (...) {
        DeleteObject(bitmap);
        throw;
    }
    return result.release();
}

void kelPrintControlImage(TWinControl* Control)
{
    TPrinter* printer = Printer();
    TPrinterDocScope doc(printer);
    std::unique_ptr<TBitmap, void (*)(TBitmap*)> bitmap(kelGetControlBitmap(Control),
                                                        [](TBitmap* b) { b->Free(); });
    int width = bitmap->GetWidth();
    int height = bitmap->GetHeight();
    if (width > 0 && height > 0) {
        BITMAPINFO info{};
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        std::vector<uint32_t> bits(size_t(width) * size_t(height));
        HDC screen = GetDC(nullptr);
        int rows = GetDIBits(screen, bitmap->GetHandle(), 0, UINT(height), bits.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        if (rows != height) throw EOutOfResources("Out of system resources");
        int destWidth = MulDiv(width, GetDeviceCaps(printer->GetHandle(), LOGPIXELSX), ScreenPixelsPerInch(LOGPIXELSX));
        int destHeight =
            MulDiv(height, GetDeviceCaps(printer->GetHandle(), LOGPIXELSY), ScreenPixelsPerInch(LOGPIXELSY));
        StretchDIBits(printer->GetCanvas()->GetHandle(), 0, 0, destWidth, destHeight, 0, 0, width, height,
                      bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    }
    doc.End();
}

void kelDesignerModified(TComponent* Component)
{
    if (!Component || !Component->GetComponentState().Contains(csDesigning)) return;
    TCustomForm* form = FormOf(Component);
    if (!form) return;
    if (TDesigner* designer = GetFormDesigner(form)) designer->Modified();
}

} // namespace kel
