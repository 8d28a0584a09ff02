// The edit's own window procedure: keys, characters, mouse, focus and
// caret, scroll bars and painting.
#include "host/vcl/StdEditInternal.h"

#include <algorithm>

namespace host {

void TCustomEdit::DefaultHandler(TMessage& Message)
{
    if (HandleTextMessage(Message) || HandleEditMessage(Message)) return;
    if (!FHandle) {
        inherited::DefaultHandler(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = HDC(Message.WParam);
        if (!dc) dc = BeginPaint(FHandle, &ps);
        PaintText(dc);
        if (!Message.WParam) EndPaint(FHandle, &ps);
        return;
    }
    case WM_KEYDOWN: HandleKey(WORD(Message.WParam)); return;
    case WM_CHAR: HandleChar(char(Message.WParam)); return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        HandleMouse(Message);
        if (Message.Msg == WM_CAPTURECHANGED) break;
        return;
    case WM_SETFOCUS:
        CreateCaret(FHandle, nullptr, 1, LineHeight());
        FHasCaret = true;
        UpdateCaret();
        ShowCaret(FHandle);
        Invalidate();
        break;
    case WM_KILLFOCUS:
        if (FHasCaret) DestroyCaret();
        FHasCaret = false;
        FSelecting = false;
        Invalidate();
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (Message.LParam) break;
        HandleScroll(Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(Message.WParam), SHORT(HIWORD(Message.WParam)));
        return;
    case WM_MOUSEWHEEL:
        if (!FMultiLine) break;
        LineScroll(0, -3 * GET_WHEEL_DELTA_WPARAM(Message.WParam) / WHEEL_DELTA);
        return;
    default:
        break;
    }
    inherited::DefaultHandler(Message);
}

// ---- Keys ------------------------------------------------------------------------------------

void TCustomEdit::HandleKey(WORD Key)
{
    bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    Relayout();
    int line = LineFromChar(FCaret);
    auto vertical = [&](int Lines) {
        if (!FMultiLine) {
            MoveCaret(Lines < 0 ? PrevCharPos(FCaret) : NextCharPos(FCaret), shift);
            return;
        }
        if (FDesiredX < 0) FDesiredX = GetCaretPoint().x;
        int target = std::clamp(line + Lines, 0, GetLineCount() - 1);
        int y = FormatRect().top + (target - FFirstLine) * LineHeight();
        int desired = FDesiredX;
        if (target < FFirstLine || target >= FFirstLine + VisibleLineCount()) {
            // Scroll first, so that the target line has a place on screen.
            FFirstLine = std::clamp(FFirstLine + (target - line), 0, std::max(0, GetLineCount() - 1));
            y = FormatRect().top + (target - FFirstLine) * LineHeight();
            Invalidate();
        }
        MoveCaret(CharFromPoint(desired, y), shift);
        FDesiredX = desired;
    };
    switch (Key) {
    case VK_LEFT: MoveCaret(ctrl ? WordStartBefore(FCaret) : PrevCharPos(FCaret), shift); break;
    case VK_RIGHT: MoveCaret(ctrl ? WordEndAfter(FCaret) : NextCharPos(FCaret), shift); break;
    case VK_UP: vertical(-1); break;
    case VK_DOWN: vertical(1); break;
    case VK_PRIOR: vertical(-VisibleLineCount()); break;
    case VK_NEXT: vertical(VisibleLineCount()); break;
    case VK_HOME: MoveCaret(ctrl ? 0 : LineIndex(line), shift); break;
    case VK_END: MoveCaret(ctrl ? int(FBuf.size()) : LineIndex(line) + LineLength(line), shift); break;
    case VK_INSERT:
        if (ctrl && !shift) Perform(WM_COPY, 0, 0);
        else if (shift && !ctrl) Perform(WM_PASTE, 0, 0);
        break;
    case VK_DELETE:
        if (FReadOnly) {
            MessageBeep(0);
        } else if (shift) {
            Perform(WM_CUT, 0, 0);
        } else {
            if (GetSelLength() == 0) SetSel(FCaret, ctrl ? WordEndAfter(FCaret) : NextCharPos(FCaret));
            ReplaceSelection("", true, false);
        }
        break;
    default:
        break;
    }
}

void TCustomEdit::HandleChar(char Ch)
{
    auto code = static_cast<unsigned char>(Ch);
    switch (code) {
    case 0x03: Perform(WM_COPY, 0, 0); return;   // Ctrl+C
    case 0x16: Perform(WM_PASTE, 0, 0); return;  // Ctrl+V
    case 0x18: Perform(WM_CUT, 0, 0); return;    // Ctrl+X
    case 0x1A:                                   // Ctrl+Z
        if (!FReadOnly) Perform(WM_UNDO, 0, 0);
        return;
    default: break;
    }
    std::string text;
    if (code == '\b') {
        if (FReadOnly) {
            MessageBeep(0);
            return;
        }
        if (GetSelLength() == 0) SetSel(FCaret, PrevCharPos(FCaret));
        ReplaceSelection("", true, false);
        return;
    }
    if (code == '\r' || code == '\n') {
        if (!FMultiLine) return;
        text = "\r\n";
    } else if (code == '\t') {
        if (!FMultiLine) return;
        text = "\t";
    } else if (code < 0x20 || code == 0x7F) {
        return;
    } else {
        text.assign(1, Ch);
    }
    if (FReadOnly) {
        MessageBeep(0);
        return;
    }
    ReplaceSelection(text, true, true, true);
}

// ---- Mouse ------------------------------------------------------------------------------------

void TCustomEdit::HandleMouse(TMessage& Message)
{
    int x = GET_X_LPARAM(Message.LParam), y = GET_Y_LPARAM(Message.LParam);
    switch (Message.Msg) {
    case WM_LBUTTONDOWN: {
        if (!Focused()) SetFocus();
        int pos = CharFromPoint(x, y);
        MoveCaret(pos, (Message.WParam & MK_SHIFT) != 0);
        FDesiredX = -1;
        FSelecting = true;
        SetCapture(FHandle);
        break;
    }
    case WM_LBUTTONDBLCLK: {
        if (!Focused()) SetFocus();
        int pos = CharFromPoint(x, y);
        int start = pos, end = pos;
        while (start > 0 && !edit::IsBlank(FBuf[size_t(start - 1)])) --start;
        while (end < int(FBuf.size()) && !edit::IsBlank(FBuf[size_t(end)])) ++end;
        SetSel(start, end);
        break;
    }
    case WM_MOUSEMOVE:
        if (FSelecting) MoveCaret(CharFromPoint(x, y), true);
        break;
    case WM_LBUTTONUP:
        if (FSelecting) {
            FSelecting = false;
            if (GetCapture() == FHandle) ReleaseCapture();
        }
        break;
    case WM_CAPTURECHANGED:
        FSelecting = false;
        break;
    default:
        break;
    }
}

// ---- Scroll bars -----------------------------------------------------------------------------

void TCustomEdit::HandleScroll(int Bar, int Code, int Track)
{
    Relayout();
    int page = Bar == SB_VERT ? VisibleLineCount() : std::max(1, int(FormatRect().right - FormatRect().left));
    int pos = Bar == SB_VERT ? FFirstLine : FScrollX;
    int line = Bar == SB_VERT ? 1 : std::max(1, TextWidth("x"));
    switch (Code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = Track; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = 1 << 30; break;
    default: return;
    }
    if (Bar == SB_VERT)
        LineScroll(0, pos - FFirstLine);
    else {
        int widest = 0;
        for (const TLine& l : FLines) widest = std::max(widest, TextWidth(DisplayText(l.Start, l.Length)));
        FScrollX = std::clamp(pos, 0, std::max(0, widest - page + 1));
        UpdateScrollBars();
        UpdateCaret();
        Invalidate();
    }
}

void TCustomEdit::UpdateScrollBars()
{
    if (!HandleAllocated() || !FMultiLine) return;
    Relayout();
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        si.nMin = 0;
        si.nMax = std::max(0, int(FLines.size()) - 1);
        si.nPage = UINT(VisibleLineCount());
        si.nPos = FFirstLine;
        SetScrollInfo(FHandle, SB_VERT, &si, TRUE);
    }
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) {
        int widest = 0;
        for (const TLine& l : FLines) widest = std::max(widest, TextWidth(DisplayText(l.Start, l.Length)));
        TRect fr = FormatRect();
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        si.nMin = 0;
        si.nMax = widest;
        si.nPage = UINT(std::max(1, int(fr.right - fr.left)));
        si.nPos = FScrollX;
        SetScrollInfo(FHandle, SB_HORZ, &si, TRUE);
    }
}

// ---- Caret and painting ---------------------------------------------------------------------

void TCustomEdit::UpdateCaret()
{
    if (!FHasCaret || !HandleAllocated()) return;
    TPoint p = GetCaretPoint();
    SetCaretPos(p.x, p.y);
}

bool TCustomEdit::SelectionShown() { return GetSelLength() > 0 && (!FHideSelection || Focused()); }

void TCustomEdit::PaintText(HDC DC)
{
    Relayout();
    TCanvas canvas;
    canvas.SetHandle(DC);
    canvas.SetFont(FFont.get());
    TRect client = GetClientRect();
    canvas.GetBrush()->SetColor(FColor);
    canvas.FillRect(client);
    TRect fr = FormatRect();
    int saved = SaveDC(DC);
    IntersectClipRect(DC, fr.left, client.top, fr.right, client.bottom);
    TColor textColor = GetEnabled() ? FFont->GetColor() : clGrayText;
    int selStart = GetSelStart(), selEnd = selStart + GetSelLength();
    bool showSel = SelectionShown();
    int lh = LineHeight();
    for (int line = FFirstLine; line < int(FLines.size()); ++line) {
        int y = fr.top + (line - FFirstLine) * lh;
        if (y >= client.bottom) break;
        const TLine& l = FLines[size_t(line)];
        std::string text = DisplayText(l.Start, l.Length);
        int x = LineX(line) - FScrollX;
        canvas.GetBrush()->SetStyle(bsClear);
        canvas.GetFont()->SetColor(textColor);
        canvas.TextOut(x, y, text);
        int s = std::max(selStart, l.Start) - l.Start, e = std::min(selEnd, l.Start + l.Length) - l.Start;
        if (!showSel || s >= e) continue;
        int xs = x + TextWidth(text.substr(0, size_t(s))), xe = x + TextWidth(text.substr(0, size_t(e)));
        canvas.GetBrush()->SetStyle(bsSolid);
        canvas.GetBrush()->SetColor(clHighlight);
        canvas.FillRect(TRect{xs, y, xe, y + lh});
        canvas.GetBrush()->SetStyle(bsClear);
        canvas.GetFont()->SetColor(clHighlightText);
        canvas.TextOut(xs, y, text.substr(size_t(s), size_t(e - s)));
    }
    RestoreDC(DC, saved);
    canvas.SetHandle(nullptr);
}

} // namespace host
