#include "host/gdi/FontObject.h"
#include "host/gdi/TextPaint.h"
#include "host/gdi/WinGdi.h"
#include "host/gdi/WinText.h"

#include <algorithm>
#include <cstdlib>

namespace host::gdi {

namespace {

// Where a tab at pen position Pen (relative to the run's start) moves to.
struct TTabStops {
    int Count = 0;
    const INT* Stops = nullptr;
    int Spacing = 0; // for no or one stop
    int Shift = 0;   // run start minus tab origin

    int Next(int Pen) const
    {
        int at = Pen + Shift;
        if (Count > 1) {
            for (int i = 0; i < Count; ++i)
                if (std::abs(Stops[i]) > at) return std::abs(Stops[i]) - Shift;
            // Past the last stop a tab is as wide as a space would be.
            return Pen;
        }
        int sp = Count == 1 && Stops && Stops[0] ? std::abs(Stops[0]) : Spacing;
        if (sp <= 0) return Pen;
        return (at / sp + 1) * sp - Shift;
    }
};

// Lays out Chars; tabs become blanks that reach the next stop when Tabs is given.
TTextRun LayoutWithTabs(Dc& dc, TFontInstance& font, std::u32string chars, const TTabStops* tabs)
{
    std::vector<int> dx(chars.size());
    int pen = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        if (tabs && chars[i] == U'\t') {
            chars[i] = U' ';
            int next = tabs->Next(pen);
            dx[i] = next > pen ? next - pen : font.Advance(U' ') + dc.S.TextCharExtra;
        } else {
            dx[i] = font.Advance(chars[i]) + dc.S.TextCharExtra;
        }
        pen += dx[i];
    }
    return LayoutRun(font, std::move(chars), dx.data(), dx.size());
}

struct TLine {
    std::u32string Chars;
    int Underline = -1;
};

// Strips mnemonic prefixes: "&x" underlines x, "&&" is a literal '&'.
std::u32string StripPrefixes(const std::u32string& In, UINT Format, std::vector<int>& Underlined)
{
    if (Format & DT_NOPREFIX) return In;
    std::u32string out;
    for (size_t i = 0; i < In.size(); ++i) {
        if (In[i] != U'&') { out.push_back(In[i]); continue; }
        if (i + 1 >= In.size()) break;
        ++i;
        if (In[i] != U'&' && !(Format & DT_HIDEPREFIX)) Underlined.push_back(int(out.size()));
        out.push_back(In[i]);
    }
    return out;
}

class TDrawTextLayout {
public:
    TDrawTextLayout(Dc& D, TFontInstance& F, UINT Format, int Width) : FDc(D), FFont(F), FFormat(Format), FWidth(Width)
    {
        const int ave = F.Metrics().AveCharWidth;
        FTabs.Spacing = ave * ((Format & DT_TABSTOP) ? int((Format >> 8) & 0xFF) : 8);
    }

    std::vector<TLine> Lines(const std::u32string& Text)
    {
        std::vector<int> marks;
        std::u32string text = StripPrefixes(Text, FFormat, marks);
        size_t underline = marks.empty() ? std::u32string::npos : size_t(marks.front());
        std::vector<TLine> lines;
        size_t start = 0;
        while (true) {
            size_t end = (FFormat & DT_SINGLELINE) ? text.size() : text.find_first_of(U"\r\n", start);
            if (end == std::u32string::npos) end = text.size();
            AddParagraph(text.substr(start, end - start), underline >= start && underline < end ? int(underline - start) : -1, lines);
            if (end >= text.size()) break;
            start = end + ((text[end] == U'\r' && end + 1 < text.size() && text[end + 1] == U'\n') ? 2 : 1);
        }
        return lines;
    }

    TTextRun Run(const std::u32string& Chars) { return LayoutWithTabs(FDc, FFont, Chars, Tabs()); }

private:
    const TTabStops* Tabs() const { return (FFormat & DT_EXPANDTABS) ? &FTabs : nullptr; }
    int Measure(const std::u32string& S) { return Run(S).Width(); }

    void AddParagraph(std::u32string Para, int Underline, std::vector<TLine>& Out)
    {
        if (!(FFormat & DT_WORDBREAK) || (FFormat & DT_SINGLELINE)) {
            Out.push_back({Ellipsize(std::move(Para)), Underline});
            return;
        }
        TTextRun run = Run(Para);
        size_t begin = 0;
        do {
            size_t end = BreakPoint(run, begin);
            size_t next = end;
            while (next < Para.size() && Para[next] == U' ') ++next;
            int u = Underline >= int(begin) && Underline < int(end) ? Underline - int(begin) : -1;
            Out.push_back({Ellipsize(Para.substr(begin, end - begin)), u});
            begin = next;
        } while (begin < Para.size());
    }

    // The end of the longest run of whole words from Begin that fits; a word
    // wider than the rectangle stands alone on its line.
    size_t BreakPoint(const TTextRun& R, size_t Begin)
    {
        const std::u32string& s = R.Chars;
        size_t lastBreak = 0;
        for (size_t i = Begin; i < s.size(); ++i) {
            if (s[i] == U' ' && i > Begin && s[i - 1] != U' ') lastBreak = i;
            if (R.Offsets[i + 1] - R.Offsets[Begin] > FWidth && s[i] != U' ') {
                if (lastBreak > Begin) return lastBreak;
                size_t e = i;
                while (e < s.size() && s[e] != U' ') ++e;
                return e;
            }
        }
        size_t e = s.size();
        while (e > Begin && s[e - 1] == U' ') --e;
        return e;
    }

    std::u32string Ellipsize(std::u32string S)
    {
        if (!(FFormat & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) || Measure(S) <= FWidth) return S;
        if (FFormat & DT_PATH_ELLIPSIS) {
            size_t slash = S.find_last_of(U"\\/");
            if (slash != std::u32string::npos && slash > 0) {
                std::u32string tail = S.substr(slash);
                for (size_t keep = slash; keep-- > 0;) {
                    std::u32string t = S.substr(0, keep) + U"..." + tail;
                    if (Measure(t) <= FWidth) return t;
                }
                S = U"..." + tail;
                if (Measure(S) <= FWidth) return S;
            }
        }
        for (size_t keep = S.size(); keep-- > 0;) {
            std::u32string t = S.substr(0, keep) + U"...";
            if (Measure(t) <= FWidth) return t;
        }
        return U"...";
    }

    Dc& FDc;
    TFontInstance& FFont;
    UINT FFormat;
    int FWidth;
    TTabStops FTabs;
};

// Device rectangle of a logical one.
RECT ToDeviceRect(Dc& dc, const RECT& r)
{
    POINT tl = dc.ToDevice(POINT{r.left, r.top}), br = dc.ToDevice(POINT{r.right, r.bottom});
    return RECT{tl.x, tl.y, br.x, br.y};
}

LONG TabbedRun(HDC hdc, int x, int y, LPCSTR text, int count, int tabCount, const INT* tabStops, int tabOrigin,
               bool draw)
{
    Dc* dc = FindDc(hdc);
    TFontInstance* f = SelectedFont(hdc);
    if (!dc || !f) return 0;
    TTabStops tabs;
    tabs.Count = tabStops ? tabCount : 0;
    tabs.Stops = tabStops;
    tabs.Spacing = 8 * f->Metrics().AveCharWidth;
    tabs.Shift = x - tabOrigin;
    TTextRun run = LayoutWithTabs(*dc, *f, DecodeText(TextArg(text, count)), &tabs);
    if (draw) {
        TRunPaint how;
        how.Ref = dc->ToDevice(POINT{x, y});
        how.Align = dc->S.TextAlign & ~TA_UPDATECP;
        how.OpaqueBox = dc->S.BkMode == OPAQUE;
        PaintRun(*dc, *f, run, how);
    }
    return LONG(MAKELONG(WORD(run.Width()), WORD(f->Metrics().Height)));
}

} // namespace

}  // namespace host::gdi

namespace host {

using namespace gdi;

int DrawText(HDC hdc, LPCSTR text, int count, RECT* rect, UINT format)
{
    Dc* dc = FindDc(hdc);
    TFontInstance* f = SelectedFont(hdc);
    if (!dc || !f || !rect) return 0;
    TDrawTextLayout layout(*dc, *f, format, rect->right - rect->left);
    std::vector<TLine> lines = layout.Lines(DecodeText(TextArg(text, count)));
    const TFontMetrics& m = f->Metrics();
    const int lineHeight = m.Height + ((format & DT_EXTERNALLEADING) ? m.ExternalLeading : 0);
    const int total = lineHeight * int(lines.size());
    int y = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
        else if (format & DT_BOTTOM) y = rect->bottom - lineHeight;
    }
    const int result = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? y + total - rect->top : total;
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const TLine& l : lines) widest = std::max(widest, layout.Run(l.Chars).Width());
        rect->right = rect->left + widest;
        rect->bottom = rect->top + total;
        return result;
    }
    RECT clip = ToDeviceRect(*dc, *rect);
    for (const TLine& l : lines) {
        TTextRun run = layout.Run(l.Chars);
        int x = rect->left;
        if (format & DT_CENTER) x = rect->left + (rect->right - rect->left - run.Width()) / 2;
        else if (format & DT_RIGHT) x = rect->right - run.Width();
        TRunPaint how;
        how.Ref = dc->ToDevice(POINT{x, y});
        how.OpaqueBox = dc->S.BkMode == OPAQUE;
        how.Clip = (format & DT_NOCLIP) ? nullptr : &clip;
        how.UnderlineChar = l.Underline;
        PaintRun(*dc, *f, run, how);
        y += lineHeight;
    }
    return result;
}

int DrawTextA(HDC hdc, LPCSTR text, int count, RECT* rect, UINT format)
{
    return DrawText(hdc, text, count, rect, format);
}

LONG TabbedTextOut(HDC hdc, int x, int y, LPCSTR text, int count, int tabCount, const INT* tabStops, int tabOrigin)
{
    return TabbedRun(hdc, x, y, text, count, tabCount, tabStops, tabOrigin, true);
}

LONG TabbedTextOutA(HDC hdc, int x, int y, LPCSTR text, int count, int tabCount, const INT* tabStops, int tabOrigin)
{
    return TabbedTextOut(hdc, x, y, text, count, tabCount, tabStops, tabOrigin);
}

DWORD GetTabbedTextExtent(HDC hdc, LPCSTR text, int count, int tabCount, const INT* tabStops)
{
    return DWORD(TabbedRun(hdc, 0, 0, text, count, tabCount, tabStops, 0, false));
}

DWORD GetTabbedTextExtentA(HDC hdc, LPCSTR text, int count, int tabCount, const INT* tabStops)
{
    return GetTabbedTextExtent(hdc, text, count, tabCount, tabStops);
}

}  // namespace host
