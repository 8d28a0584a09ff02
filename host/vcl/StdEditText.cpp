// The editing engine: the text, the selection, undo, line layout and
// scrolling, and the text and EM_* messages over them.
#include "host/vcl/StdEditInternal.h"

#include <algorithm>
#include <cstring>

namespace host {

// ---- Positions ---------------------------------------------------------------------------------

// Positions never fall between the CR and LF of a line break.
int TCustomEdit::ClampPos(int Pos)
{
    int len = int(FBuf.size());
    Pos = std::clamp(Pos, 0, len);
    if (Pos > 0 && Pos < len && FBuf[size_t(Pos - 1)] == '\r' && FBuf[size_t(Pos)] == '\n') --Pos;
    return Pos;
}

int TCustomEdit::PrevCharPos(int Pos)
{
    if (Pos <= 0) return 0;
    if (Pos >= 2 && FBuf[size_t(Pos - 2)] == '\r' && FBuf[size_t(Pos - 1)] == '\n') return Pos - 2;
    return Pos - 1;
}

int TCustomEdit::NextCharPos(int Pos)
{
    int len = int(FBuf.size());
    if (Pos >= len) return len;
    if (FBuf[size_t(Pos)] == '\r' && Pos + 1 < len && FBuf[size_t(Pos + 1)] == '\n') return Pos + 2;
    return Pos + 1;
}

// Words are runs of characters between blanks, as the classic edit breaks them.
int TCustomEdit::WordStartBefore(int Pos)
{
    while (Pos > 0 && edit::IsBlank(FBuf[size_t(Pos - 1)])) --Pos;
    while (Pos > 0 && !edit::IsBlank(FBuf[size_t(Pos - 1)])) --Pos;
    return Pos;
}

int TCustomEdit::WordEndAfter(int Pos)
{
    int len = int(FBuf.size());
    while (Pos < len && !edit::IsBlank(FBuf[size_t(Pos)])) ++Pos;
    while (Pos < len && edit::IsBlank(FBuf[size_t(Pos)])) ++Pos;
    return Pos;
}

// ---- Selection -----------------------------------------------------------------------------

void TCustomEdit::SetSel(int Anchor, int Caret)
{
    // EM_SETSEL takes -1 as "the end of the text".
    int len = int(FBuf.size());
    if (Anchor < 0) Anchor = len;
    if (Caret < 0) Caret = len;
    Anchor = ClampPos(Anchor);
    Caret = ClampPos(Caret);
    FTypingRun = false;
    FDesiredX = -1;
    if (Anchor == FAnchor && Caret == FCaret) return;
    FAnchor = Anchor;
    FCaret = Caret;
    ScrollCaret();
    Invalidate();
}

void TCustomEdit::MoveCaret(int Pos, bool Extend)
{
    int desired = FDesiredX;
    SetSel(Extend ? FAnchor : Pos, Pos);
    FDesiredX = desired;
}

// ---- Changing the text --------------------------------------------------------------------

bool TCustomEdit::ReplaceSelection(std::string Text, bool CanUndo, bool Beep, bool MergeTyping)
{
    if (!FMultiLine) {
        // A single line takes the first line of what it is given.
        size_t brk = Text.find_first_of("\r\n");
        if (brk != std::string::npos) Text.resize(brk);
    }
    Text = edit::ApplyCharCase(std::move(Text), FCharCase);
    int selStart = GetSelStart(), selEnd = selStart + GetSelLength();
    if (FMaxLength > 0) {
        int room = std::max(0, FMaxLength - (int(FBuf.size()) - (selEnd - selStart)));
        if (int(Text.size()) > room) {
            Text.resize(size_t(room));
            // Never keep half of a line break.
            if (!Text.empty() && Text.back() == '\r') Text.pop_back();
            if (Beep) MessageBeep(0);
        }
    }
    if (Text.empty() && selStart == selEnd) return false;
    if (!CanUndo)
        FCanUndo = false;
    else if (!MergeTyping || !FTypingRun) {
        FUndoText = FBuf;
        FUndoAnchor = FAnchor;
        FUndoCaret = FCaret;
        FCanUndo = true;
    }
    FBuf.replace(size_t(selStart), size_t(selEnd - selStart), Text);
    FAnchor = FCaret = selStart + int(Text.size());
    FTypingRun = MergeTyping;
    FDesiredX = -1;
    FModified = true;
    FLayoutValid = false;
    ScrollCaret();
    Invalidate();
    NotifyChanged();
    return true;
}

void TCustomEdit::SetTextInternal(const std::string& Value)
{
    FBuf = edit::ApplyCharCase(Value, FCharCase);
    FAnchor = FCaret = 0;
    FModified = false;
    FCanUndo = false;
    FTypingRun = false;
    FDesiredX = -1;
    FScrollX = 0;
    FFirstLine = 0;
    FLayoutValid = false;
    UpdateScrollBars();
    UpdateCaret();
    Invalidate();
    NotifyChanged();
}

void TCustomEdit::NotifyChanged()
{
    if (FChanging) return;
    if (GetComponentState().Contains(csLoading) || GetComponentState().Contains(csReading)) return;
    Change();
}

// ---- Layout --------------------------------------------------------------------------------

int TCustomEdit::LineHeight() { return std::max(1, FMeasure->LineHeight()); }

int TCustomEdit::TextWidth(const std::string& S) { return FMeasure->Width(S); }

std::string TCustomEdit::DisplayText(int Start, int Length)
{
    if (FPasswordChar && !FMultiLine) return std::string(size_t(Length), FPasswordChar);
    return FBuf.substr(size_t(Start), size_t(Length));
}

TRect TCustomEdit::FormatRect()
{
    TRect r;
    if (HandleAllocated()) {
        r = GetClientRect();
    } else {
        int edge = FBorderStyle == bsSingle ? (FCtl3D ? 2 : 1) : 0;
        r = TRect{0, 0, std::max(0, FWidth - 2 * edge), std::max(0, FHeight - 2 * edge)};
        if (FMultiLine && (FScrollBars == ssVertical || FScrollBars == ssBoth))
            r.right = std::max(0, int(r.right) - GetSystemMetrics(SM_CXVSCROLL));
    }
    r.left += edit::kLeftMargin;
    r.right = std::max(r.left, r.right - edit::kRightMargin - FRightInset);
    if (!FMultiLine && FBorderStyle == bsSingle) r.top += 1;
    return r;
}

namespace {

// Where a line of [Start, End) that is too wide breaks: after the last blank
// that fits (blanks hang past the edge), else at the widest part that fits.
int WrapPoint(const std::string& Buf, int Start, int End, int Fits)
{
    if (Fits < End && Buf[size_t(Fits)] == ' ') {
        while (Fits < End && Buf[size_t(Fits)] == ' ') ++Fits;
        return Fits;
    }
    for (int k = Fits; k > Start; --k)
        if (Buf[size_t(k - 1)] == ' ') return k;
    return std::max(Fits, Start + 1);
}

} // namespace

void TCustomEdit::Relayout()
{
    if (FLayoutValid) return;
    FLayoutValid = true;
    FLines.clear();
    int len = int(FBuf.size());
    if (!FMultiLine) {
        FLines.push_back(TLine{0, len, 0});
        return;
    }
    TRect fr = FormatRect();
    int wrapWidth = std::max(1, int(fr.right - fr.left));
    int i = 0;
    for (;;) {
        int e = i;
        while (e < len && FBuf[size_t(e)] != '\n' && !(FBuf[size_t(e)] == '\r' && e + 1 < len && FBuf[size_t(e + 1)] == '\n'))
            ++e;
        while (FWordWrap && e - i > 1 && TextWidth(FBuf.substr(size_t(i), size_t(e - i))) > wrapWidth) {
            // The longest prefix that fits, by bisection over its width.
            int lo = i + 1, hi = e;
            while (lo < hi) {
                int mid = (lo + hi + 1) / 2;
                if (TextWidth(FBuf.substr(size_t(i), size_t(mid - i))) <= wrapWidth) lo = mid; else hi = mid - 1;
            }
            int brk = WrapPoint(FBuf, i, e, lo);
            if (brk >= e) break;
            FLines.push_back(TLine{i, brk - i, 0});
            i = brk;
        }
        int breakLen = e >= len ? 0 : (FBuf[size_t(e)] == '\r' ? 2 : 1);
        FLines.push_back(TLine{i, e - i, breakLen});
        if (breakLen == 0) break;
        i = e + breakLen;
    }
}

int TCustomEdit::GetLineCount()
{
    Relayout();
    return int(FLines.size());
}

int TCustomEdit::LineFromChar(int Pos)
{
    Relayout();
    if (Pos < 0) Pos = GetSelStart();
    auto it = std::upper_bound(FLines.begin(), FLines.end(), Pos,
                               [](int P, const TLine& L) { return P < L.Start; });
    return std::max(0, int(it - FLines.begin()) - 1);
}

int TCustomEdit::LineIndex(int Line)
{
    Relayout();
    if (Line < 0) Line = LineFromChar(FCaret);
    if (Line >= int(FLines.size())) return -1;
    return FLines[size_t(Line)].Start;
}

int TCustomEdit::LineLength(int Line)
{
    Relayout();
    if (Line < 0 || Line >= int(FLines.size())) return 0;
    return FLines[size_t(Line)].Length;
}

int TCustomEdit::VisibleLineCount()
{
    TRect fr = FormatRect();
    return std::max(1, int(fr.bottom - fr.top) / LineHeight());
}

int TCustomEdit::GetFirstVisibleLine()
{
    if (FMultiLine) return FFirstLine;
    // A single line answers with its first visible character.
    Relayout();
    int k = 0;
    while (k < int(FBuf.size()) && TextWidth(DisplayText(0, k + 1)) <= FScrollX) ++k;
    return k;
}

int TCustomEdit::LineX(int Line)
{
    TRect fr = FormatRect();
    if (!FMultiLine || FAlignment == taLeftJustify) return fr.left;
    const TLine& l = FLines[size_t(Line)];
    int free = int(fr.right - fr.left) - TextWidth(DisplayText(l.Start, l.Length));
    if (free <= 0) return fr.left;
    return fr.left + (FAlignment == taRightJustify ? free : free / 2);
}

TPoint TCustomEdit::GetCaretPoint()
{
    Relayout();
    int line = LineFromChar(FCaret);
    const TLine& l = FLines[size_t(line)];
    TRect fr = FormatRect();
    int x = LineX(line) + TextWidth(DisplayText(l.Start, FCaret - l.Start)) - FScrollX;
    int y = fr.top + (line - FFirstLine) * LineHeight();
    return TPoint{x, y};
}

int TCustomEdit::CharFromPoint(int X, int Y)
{
    Relayout();
    TRect fr = FormatRect();
    int row = Y < fr.top ? -1 : (Y - fr.top) / LineHeight();
    int line = std::clamp(FFirstLine + row, 0, int(FLines.size()) - 1);
    const TLine& l = FLines[size_t(line)];
    int rel = X - LineX(line) + FScrollX;
    int prev = 0;
    for (int k = 0; k < l.Length; ++k) {
        int next = TextWidth(DisplayText(l.Start, k + 1));
        if (rel < (prev + next + 1) / 2) return l.Start + k;
        prev = next;
    }
    return l.Start + l.Length;
}

// ---- Scrolling ------------------------------------------------------------------------------

void TCustomEdit::ScrollCaret()
{
    Relayout();
    TRect fr = FormatRect();
    int oldFirst = FFirstLine, oldX = FScrollX;
    int line = LineFromChar(FCaret);
    if (FMultiLine) {
        int visible = VisibleLineCount();
        if (line < FFirstLine) FFirstLine = line;
        if (line >= FFirstLine + visible) FFirstLine = line - visible + 1;
        FFirstLine = std::clamp(FFirstLine, 0, std::max(0, int(FLines.size()) - 1));
    }
    if (!FMultiLine || !FWordWrap) {
        const TLine& l = FLines[size_t(line)];
        int width = std::max(1, int(fr.right - fr.left));
        int x = LineX(line) - fr.left + TextWidth(DisplayText(l.Start, FCaret - l.Start));
        if (x - FScrollX > width - 1) FScrollX = x - width + 1;
        if (x < FScrollX) FScrollX = x;
        // Text that got shorter scrolls back into view.
        if (!FMultiLine) {
            int total = TextWidth(DisplayText(0, int(FBuf.size())));
            FScrollX = std::min(FScrollX, std::max(0, total - width + 1));
        }
        FScrollX = std::max(0, FScrollX);
    } else {
        FScrollX = 0;
    }
    if (oldFirst != FFirstLine || oldX != FScrollX) Invalidate();
    UpdateScrollBars();
    UpdateCaret();
}

void TCustomEdit::LineScroll(int Chars, int Lines)
{
    Relayout();
    if (FMultiLine) FFirstLine = std::clamp(FFirstLine + Lines, 0, std::max(0, int(FLines.size()) - 1));
    if (!FWordWrap) FScrollX = std::max(0, FScrollX + Chars * std::max(1, TextWidth("x")));
    UpdateScrollBars();
    UpdateCaret();
    Invalidate();
}

// ---- Text and edit messages --------------------------------------------------------------

bool TCustomEdit::HandleTextMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<char*>(Message.LParam);
        int max = int(Message.WParam);
        Message.Result = 0;
        if (!buffer || max <= 0) return true;
        int n = std::min(int(FBuf.size()), max - 1);
        std::copy_n(FBuf.data(), n, buffer);
        buffer[n] = '\0';
        Message.Result = n;
        return true;
    }
    case WM_GETTEXTLENGTH:
        Message.Result = LRESULT(FBuf.size());
        return true;
    case WM_SETTEXT: {
        auto* text = reinterpret_cast<const char*>(Message.LParam);
        SetTextInternal(text ? text : "");
        Message.Result = 1;
        return true;
    }
    default:
        return false;
    }
}

namespace edit {

void PutClipboardText(HWND Owner, const std::string& Text)
{
    if (!OpenClipboard(Owner)) return;
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
    if (auto* p = static_cast<char*>(GlobalLock(mem))) {
        std::memcpy(p, Text.c_str(), Text.size() + 1);
        GlobalUnlock(mem);
        SetClipboardData(CF_TEXT, mem);
    }
    CloseClipboard();
}

std::string GetClipboardText(HWND Owner)
{
    std::string text;
    if (!OpenClipboard(Owner)) return text;
    HGLOBAL mem = GetClipboardData(CF_TEXT);
    if (auto* p = static_cast<const char*>(GlobalLock(mem))) {
        // The block may lack its terminator: never read past its size.
        size_t size = GlobalSize(mem);
        text.assign(p, strnlen(p, size));
        GlobalUnlock(mem);
    }
    CloseClipboard();
    return text;
}

} // namespace edit

bool TCustomEdit::HandleEditMessage(TMessage& Message)
{
    WPARAM w = Message.WParam;
    LPARAM l = Message.LParam;
    LRESULT& r = Message.Result;
    switch (Message.Msg) {
    case EM_GETSEL: {
        int s = GetSelStart(), e = s + GetSelLength();
        if (w) *reinterpret_cast<DWORD*>(w) = DWORD(s);
        if (l) *reinterpret_cast<DWORD*>(l) = DWORD(e);
        r = MAKELRESULT(std::min(s, 0xFFFF), std::min(e, 0xFFFF));
        return true;
    }
    case EM_SETSEL: SetSel(int(w), int(l)); return true;
    case EM_REPLACESEL:
        ReplaceSelection(l ? reinterpret_cast<const char*>(l) : "", w != 0, false);
        return true;
    case EM_LIMITTEXT: SetMaxLength(int(w)); return true;
    case EM_GETLIMITTEXT: r = FMaxLength > 0 ? FMaxLength : 0x7FFFFFFE; return true;
    case EM_SETREADONLY: SetReadOnly(w != 0); r = 1; return true;
    case EM_CANUNDO: r = FCanUndo; return true;
    case EM_UNDO:
    case WM_UNDO: {
        if (!FCanUndo) return r = 0, true;
        std::string text = FBuf;
        int anchor = FAnchor, caret = FCaret;
        FBuf = FUndoText;
        FAnchor = ClampPos(FUndoAnchor);
        FCaret = ClampPos(FUndoCaret);
        // Undo can itself be undone.
        FUndoText = text;
        FUndoAnchor = anchor;
        FUndoCaret = caret;
        FTypingRun = false;
        FModified = true;
        FLayoutValid = false;
        ScrollCaret();
        Invalidate();
        NotifyChanged();
        r = 1;
        return true;
    }
    case EM_EMPTYUNDOBUFFER: FCanUndo = false; FTypingRun = false; return true;
    case EM_GETMODIFY: r = FModified; return true;
    case EM_SETMODIFY: FModified = w != 0; return true;
    case EM_GETLINECOUNT: r = GetLineCount(); return true;
    case EM_LINEFROMCHAR: r = LineFromChar(int(w)); return true;
    case EM_LINEINDEX: r = LineIndex(int(w)); return true;
    case EM_LINELENGTH: {
        if (int(w) < 0) {
            // The unselected part of the lines the selection touches.
            int s = GetSelStart(), e = s + GetSelLength();
            int first = LineFromChar(s), last = LineFromChar(e);
            r = (s - LineIndex(first)) + (LineIndex(last) + LineLength(last) - e);
        } else {
            r = LineLength(LineFromChar(int(w)));
        }
        return true;
    }
    case EM_GETLINE: {
        int line = int(w);
        auto* buffer = reinterpret_cast<char*>(l);
        r = 0;
        if (!buffer || line < 0 || line >= GetLineCount()) return true;
        WORD max = 0;
        std::memcpy(&max, buffer, sizeof max);
        int n = std::min(LineLength(line), int(max));
        std::memcpy(buffer, FBuf.data() + LineIndex(line), size_t(n));
        r = n;
        return true;
    }
    case EM_GETFIRSTVISIBLELINE: r = GetFirstVisibleLine(); return true;
    case EM_LINESCROLL: LineScroll(int(w), int(l)); r = 1; return true;
    case EM_SCROLLCARET: ScrollCaret(); r = 1; return true;
    case EM_SETPASSWORDCHAR: SetPasswordChar(char(w)); return true;
    case EM_GETPASSWORDCHAR: r = static_cast<unsigned char>(FPasswordChar); return true;
    case EM_POSFROMCHAR: {
        int saved = FCaret;
        FCaret = ClampPos(int(w));
        TPoint p = GetCaretPoint();
        FCaret = saved;
        r = MAKELRESULT(p.x, p.y);
        return true;
    }
    case EM_CHARFROMPOS: {
        int pos = CharFromPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l));
        r = MAKELRESULT(pos, LineFromChar(pos));
        return true;
    }
    case WM_COPY:
        // A password is never handed out.
        if (!FPasswordChar && GetSelLength() > 0) edit::PutClipboardText(FHandle, GetSelText());
        return true;
    case WM_CUT:
        if (FPasswordChar || FReadOnly || GetSelLength() == 0) return true;
        edit::PutClipboardText(FHandle, GetSelText());
        ReplaceSelection("", true, false);
        return true;
    case WM_CLEAR:
        if (!FReadOnly && GetSelLength() > 0) ReplaceSelection("", true, false);
        return true;
    case WM_PASTE:
        if (!FReadOnly) ReplaceSelection(edit::GetClipboardText(FHandle), true, true);
        return true;
    default:
        return false;
    }
}

} // namespace host
