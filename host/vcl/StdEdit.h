#pragma once
// Single- and multi-line text editing: TCustomEdit, TEdit, TCustomMemo, TMemo.
//
// The window system has no edit window class, so TCustomEdit is its own
// editing engine: DefaultHandler plays the part of the native edit's window
// procedure (keys, characters, mouse, caret, painting and the EM_* messages),
// so that OnKeyDown/OnKeyPress and descendants' message handlers run first and
// can swallow input exactly as they would in front of a native edit. One
// engine serves both kinds: a memo is an edit in multi-line mode. Lines end in
// CR LF; character positions are 0-based offsets into the text, as the EM_*
// messages count them.
#include <memory>
#include <string>
#include <vector>

#include "host/rtl/Strings.h"
#include "host/vcl/Controls.h"

namespace host {

HOST_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)

class TCustomEdit : public TWinControl {
    HOST_CLASS(TCustomEdit, TWinControl)
    HOST_MESSAGES(TCustomEdit)
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    void Clear();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    void ClearUndo();
    bool GetCanUndo();
    void SelectAll();
    // Copies the selected text (at most BufSize - 1 characters and a zero).
    int GetSelTextBuf(char* Buffer, int BufSize);
    void SetSelTextBuf(const char* Buffer);

    int GetSelStart();
    void SetSelStart(int Value);
    int GetSelLength();
    void SetSelLength(int Value);
    std::string GetSelText();
    void SetSelText(const std::string& Value);
    bool GetModified();
    void SetModified(bool Value);

    bool GetAutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    bool GetAutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TEditCharCase GetCharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    bool GetHideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    int GetMaxLength() const { return FMaxLength; }
    virtual void SetMaxLength(int Value);
    bool GetOEMConvert() const { return FOEMConvert; }
    void SetOEMConvert(bool Value) { FOEMConvert = Value; }
    char GetPasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char Value);
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);

    // The on-screen layout, for tests and for descendants that draw over it:
    // the client position of the caret's top-left corner, and the number of
    // pixels the text is scrolled to the left.
    TPoint GetCaretPoint();
    int GetScrollX() const { return FScrollX; }

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Loaded() override;
    void DefaultHandler(TMessage& Message) override;
    virtual void Change();
    // Single-line edits that size themselves to their font.
    void AdjustHeight();
    bool IsMultiLine() const { return FMultiLine; }

    void CMEnter(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    void CMCtl3DChanged(TMessage& Message);
    void WMSize(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);

    bool FMultiLine = false;
    bool FWordWrap = false;
    bool FWantReturns = true;
    bool FWantTabs = false;
    TAlignment FAlignment = taLeftJustify;
    TScrollStyle FScrollBars = ssNone;
    // Pixels at the right of the client area that the text leaves free
    // (for a button inside the edit).
    int FRightInset = 0;

    bool FAutoSelect = true;
    bool FAutoSize = true;
    TBorderStyle FBorderStyle = bsSingle;
    TEditCharCase FCharCase = ecNormal;
    bool FHideSelection = true;
    int FMaxLength = 0;
    bool FOEMConvert = false;
    char FPasswordChar = '\0';
    bool FReadOnly = false;

    // ---- The engine ----
    struct TLine {
        int Start = 0;
        int Length = 0;    // without the line break
        int BreakLen = 0;  // 2 for CR LF, 1 for a bare LF, 0 for a wrap or the end
    };
    // What user input and EM_REPLACESEL share: replaces the selection by
    // Text after case conversion, cutting it to MaxLength. Returns false (and
    // beeps when Beep) when nothing could be inserted.
    bool ReplaceSelection(std::string Text, bool CanUndo, bool Beep, bool MergeTyping = false);
    void SetTextInternal(const std::string& Value);
    // Moves the caret; with Extend the anchor stays, making a selection.
    void MoveCaret(int Pos, bool Extend);
    void SetSel(int Anchor, int Caret);
    int GetLineCount();
    int LineFromChar(int Pos);
    int LineIndex(int Line);
    int LineLength(int Line);
    int GetFirstVisibleLine();
    void LineScroll(int Chars, int Lines);
    void ScrollCaret();
    int CharFromPoint(int X, int Y);
    int VisibleLineCount();
    int LineHeight();
    std::string DisplayText(int Start, int Length);
    int TextWidth(const std::string& S);
    int LineX(int Line);
    TRect FormatRect();
    void Relayout();
    void UpdateCaret();
    void UpdateScrollBars();
    void PaintText(HDC DC);
    void NotifyChanged();
    void HandleKey(WORD Key);
    void HandleChar(char Ch);
    void HandleMouse(TMessage& Message);
    void HandleScroll(int Bar, int Code, int Track);
    bool HandleEditMessage(TMessage& Message);
    bool HandleTextMessage(TMessage& Message);
    int WordStartBefore(int Pos);
    int WordEndAfter(int Pos);
    int PrevCharPos(int Pos);
    int NextCharPos(int Pos);
    int ClampPos(int Pos);
    bool SelectionShown();

    std::string FBuf;
    int FAnchor = 0;
    int FCaret = 0;
    bool FModified = false;
    bool FCanUndo = false;
    bool FTypingRun = false;
    std::string FUndoText;
    int FUndoAnchor = 0;
    int FUndoCaret = 0;
    std::vector<TLine> FLines;
    bool FLayoutValid = false;
    int FFirstLine = 0;
    int FScrollX = 0;
    int FDesiredX = -1;
    bool FSelecting = false;
    bool FHasCaret = false;
    bool FChanging = false;

private:
    class TMeasure;
    std::unique_ptr<TMeasure> FMeasure;
};

class TEdit : public TCustomEdit {
    HOST_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

class TCustomMemo;

// The lines of a memo, read from and written to the control's text.
class TMemoStrings : public TStrings {
    HOST_CLASS(TMemoStrings, TStrings)
public:
    explicit TMemoStrings(TCustomMemo* Memo) : FMemo(Memo) {}
    void Clear() override;
    void Delete(int Index) override;
    void Insert(int Index, const std::string& S) override;
    int GetCount() const override;
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    std::string GetTextStr() const override;
    void SetTextStr(const std::string& Value) override;

private:
    TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
    HOST_CLASS(TCustomMemo, TCustomEdit)
public:
    explicit TCustomMemo(TComponent* AOwner);

    TStrings* GetLines() const { return FLinesObj.get(); }
    void SetLines(TStrings* Value) { FLinesObj->Assign(Value); }
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TScrollStyle GetScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool GetWantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool GetWantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    bool GetWordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // The caret as line and column (0-based), derived from SelStart.
    TPoint GetCaretPos();

protected:
    friend class TMemoStrings;
    void CreateParams(TCreateParams& Params) override;
    void KeyPress(char& Key) override;

    std::unique_ptr<TMemoStrings> FLinesObj;
};

class TMemo : public TCustomMemo {
    HOST_CLASS(TMemo, TCustomMemo)
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

} // namespace host
