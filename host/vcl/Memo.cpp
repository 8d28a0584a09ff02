// TCustomMemo: the edit engine in multi-line mode, and its Lines.
#include "host/vcl/StdEditInternal.h"
#include "host/vcl/Menus.h"

#include <algorithm>

namespace host {

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLinesObj(std::make_unique<TMemoStrings>(this))
{
    FMultiLine = true;
    FWordWrap = true;
    FWantReturns = true;
    FAutoSize = false;
    FControlStyle -= csFixedHeight;
    SetBounds(FLeft, FTop, 185, 89);
}

void TCustomMemo::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.Style |= ES_MULTILINE;
    if (!FWordWrap) Params.Style |= ES_AUTOHSCROLL; else Params.Style &= ~DWORD(ES_AUTOHSCROLL);
    if (FWantReturns) Params.Style |= ES_WANTRETURN;
    if (FAlignment == taRightJustify) Params.Style |= ES_RIGHT;
    if (FAlignment == taCenter) Params.Style |= ES_CENTER;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
}

// Without WantReturns a plain Return belongs to the dialog; Ctrl+Return
// (a line feed) still breaks the line.
void TCustomMemo::KeyPress(char& Key)
{
    inherited::KeyPress(Key);
    if (Key == '\r' && !FWantReturns) Key = 0;
    if (Key == '\t' && !FWantTabs) Key = 0;
}

void TCustomMemo::SetAlignment(TAlignment Value)
{
    if (FAlignment == Value) return;
    FAlignment = Value;
    RecreateWnd();
    Invalidate();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value)
{
    if (FScrollBars == Value) return;
    FScrollBars = Value;
    FLayoutValid = false;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value)
{
    if (FWordWrap == Value) return;
    FWordWrap = Value;
    FLayoutValid = false;
    FScrollX = 0;
    RecreateWnd();
    ScrollCaret();
    Invalidate();
}

TPoint TCustomMemo::GetCaretPos()
{
    int line = LineFromChar(FCaret);
    return TPoint{FCaret - LineIndex(line), line};
}

// ---- Lines ---------------------------------------------------------------------------------------

// Like the framework's memo lines, these are the lines as shown: with word
// wrap on, a wrapped paragraph counts as several. An empty last line (text
// ending in a line break) is not counted.
int TMemoStrings::GetCount() const
{
    int count = FMemo->GetLineCount();
    if (count > 0 && FMemo->LineLength(count - 1) == 0) --count;
    return count;
}

std::string TMemoStrings::Get(int Index) const
{
    if (Index < 0 || Index >= GetCount()) Error("List index out of bounds (%d)", Index);
    return FMemo->FBuf.substr(size_t(FMemo->LineIndex(Index)), size_t(FMemo->LineLength(Index)));
}

void TMemoStrings::Put(int Index, const std::string& S)
{
    if (Index < 0 || Index >= GetCount()) Error("List index out of bounds (%d)", Index);
    int start = FMemo->LineIndex(Index);
    FMemo->SetSel(start, start + FMemo->LineLength(Index));
    FMemo->ReplaceSelection(S, false, false);
}

void TMemoStrings::Insert(int Index, const std::string& S)
{
    int count = GetCount();
    if (Index < 0 || Index > count) Error("List index out of bounds (%d)", Index);
    if (Index < count) {
        int start = FMemo->LineIndex(Index);
        FMemo->SetSel(start, start);
        FMemo->ReplaceSelection(S + "\r\n", false, false);
        return;
    }
    // At the end: after the last line's own break, or starting one.
    int len = int(FMemo->FBuf.size());
    bool endsInBreak = len > 0 && FMemo->FBuf.back() == '\n';
    FMemo->SetSel(len, len);
    FMemo->ReplaceSelection((len > 0 && !endsInBreak ? "\r\n" : "") + S + "\r\n", false, false);
}

void TMemoStrings::Delete(int Index)
{
    if (Index < 0 || Index >= GetCount()) Error("List index out of bounds (%d)", Index);
    int start = FMemo->LineIndex(Index);
    int end = Index + 1 < FMemo->GetLineCount() ? FMemo->LineIndex(Index + 1) : int(FMemo->FBuf.size());
    FMemo->SetSel(start, end);
    FMemo->ReplaceSelection("", false, false);
}

void TMemoStrings::Clear() { FMemo->Clear(); }

std::string TMemoStrings::GetTextStr() const { return FMemo->FBuf; }

void TMemoStrings::SetTextStr(const std::string& Value)
{
    if (Value == FMemo->FBuf) return;
    FMemo->SetTextInternal(Value);
}

// ---- Form files --------------------------------------------------------------------------------

HOST_PUBLISHED(TMemo)
{
    P.Property("Align", &TMemo::GetAlign, &TMemo::SetAlign).Default(alNone);
    P.Property("Alignment", &TMemo::GetAlignment, &TMemo::SetAlignment).Default(taLeftJustify);
    P.Property("BorderStyle", &TMemo::GetBorderStyle, &TMemo::SetBorderStyle).Default(bsSingle);
    P.Property("Color", &TMemo::GetColor, &TMemo::SetColor).Type(ColorTypeInfo()).Default(clWindow);
    P.Property("Ctl3D", &TMemo::GetCtl3D, &TMemo::SetCtl3D).Default(true);
    P.Property("DragMode", &TMemo::GetDragMode, &TMemo::SetDragMode).Default(dmManual);
    P.Property("Enabled", &TMemo::GetEnabled, &TMemo::SetEnabled).Default(true);
    P.Property("Font", &TMemo::GetFont, &TMemo::SetFont).Stored(&TMemo::IsFontStored);
    P.Property("HideSelection", &TMemo::GetHideSelection, &TMemo::SetHideSelection).Default(true);
    P.Property("Lines", &TMemo::GetLines, &TMemo::SetLines);
    P.Property("MaxLength", &TMemo::GetMaxLength, &TMemo::SetMaxLength).Default(0);
    P.Property("OEMConvert", &TMemo::GetOEMConvert, &TMemo::SetOEMConvert).Default(false);
    P.Property("ParentColor", &TMemo::GetParentColor, &TMemo::SetParentColor).Default(false);
    P.Property("ParentCtl3D", &TMemo::GetParentCtl3D, &TMemo::SetParentCtl3D).Default(true);
    P.Property("ParentFont", &TMemo::GetParentFont, &TMemo::SetParentFont).Default(true);
    P.Property("ParentShowHint", &TMemo::GetParentShowHint, &TMemo::SetParentShowHint).Default(true);
    P.Property("PopupMenu", &TMemo::GetPopupMenu, &TMemo::SetPopupMenu);
    P.Property("ReadOnly", &TMemo::GetReadOnly, &TMemo::SetReadOnly).Default(false);
    P.Property("ScrollBars", &TMemo::GetScrollBars, &TMemo::SetScrollBars).Default(ssNone);
    P.Property("ShowHint", &TMemo::GetShowHint, &TMemo::SetShowHint).Stored(&TMemo::IsShowHintStored);
    P.Property("TabOrder", &TMemo::GetTabOrder, &TMemo::SetTabOrder).Default(-1);
    P.Property("TabStop", &TMemo::GetTabStop, &TMemo::SetTabStop).Default(true);
    P.Property("Visible", &TMemo::GetVisible, &TMemo::SetVisible).Default(true);
    P.Property("WantReturns", &TMemo::GetWantReturns, &TMemo::SetWantReturns).Default(true);
    P.Property("WantTabs", &TMemo::GetWantTabs, &TMemo::SetWantTabs).Default(false);
    P.Property("WordWrap", &TMemo::GetWordWrap, &TMemo::SetWordWrap).Default(true);
    P.Property("OnChange", &TMemo::OnChange);
    P.Property("OnClick", &TMemo::OnClick);
    P.Property("OnDblClick", &TMemo::OnDblClick);
    P.Property("OnDragDrop", &TMemo::OnDragDrop);
    P.Property("OnDragOver", &TMemo::OnDragOver);
    P.Property("OnEndDrag", &TMemo::OnEndDrag);
    P.Property("OnEnter", &TMemo::OnEnter);
    P.Property("OnExit", &TMemo::OnExit);
    P.Property("OnKeyDown", &TMemo::OnKeyDown);
    P.Property("OnKeyPress", &TMemo::OnKeyPress);
    P.Property("OnKeyUp", &TMemo::OnKeyUp);
    P.Property("OnMouseDown", &TMemo::OnMouseDown);
    P.Property("OnMouseMove", &TMemo::OnMouseMove);
    P.Property("OnMouseUp", &TMemo::OnMouseUp);
    P.Property("OnStartDrag", &TMemo::OnStartDrag);
}

HOST_REGISTER_CLASSES(TMemo);

} // namespace host
