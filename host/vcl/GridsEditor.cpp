// The in-place editor and how the grid shows, places and hides it.
#include "host/vcl/Grids.h"

namespace host {

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    FGrid = dynamic_cast<TCustomGrid*>(AOwner);
    SetParentCtl3D(false);
    SetCtl3D(false);
    SetTabStop(false);
    SetBorderStyle(bsNone);
    FAutoSize = false;
    FVisible = false;
}

void TInplaceEdit::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.Style |= WS_CLIPSIBLINGS;
}

void TInplaceEdit::UpdateContents()
{
    if (!FGrid) return;
    int col = FGrid->FInplaceCol, row = FGrid->FInplaceRow;
    FUpdating = true;
    SetEditMask(FGrid->GetEditMask(col, row));
    std::string text = FGrid->GetEditText(col, row);
    SetMaxLength(FGrid->GetEditLimit());
    SetText(text);
    FOriginalText = GetText();
    SetModified(false);
    FUpdating = false;
}

void TInplaceEdit::Move(const TRect& Loc)
{
    SetBounds(Loc.left, Loc.top, Loc.right - Loc.left, Loc.bottom - Loc.top);
    FVisibleShown = true;
    SetVisible(true);
}

void TInplaceEdit::Hide()
{
    FVisibleShown = false;
    SetVisible(false);
}

bool TInplaceEdit::ForGrid(WORD Key, TShiftState Shift)
{
    bool always = FGrid->GetOptions().Contains(goAlwaysShowEditor);
    bool ctrl = Shift.Contains(ssCtrl);
    int len = GetTextLen(), start = GetSelStart(), sel = GetSelLength();
    bool leftSide = start == 0 && (sel == 0 || sel == len);
    bool rightSide = start + sel == len;
    switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE: return true;
    case VK_TAB: return !Shift.Contains(ssAlt);
    case VK_LEFT: return always && (ctrl || leftSide);
    case VK_RIGHT: return always && (ctrl || rightSide);
    case VK_HOME:
    case VK_END: return always && ctrl;
    default: return false;
    }
}

void TInplaceEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    if (FGrid && ForGrid(Key, Shift)) {
        FGrid->KeyDown(Key, Shift);
        Key = 0;
        return;
    }
    inherited::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(char& Key)
{
    if (!FGrid) {
        inherited::KeyPress(Key);
        return;
    }
    if (!FGrid->FForwardingChar) FGrid->KeyPress(Key);
    auto code = static_cast<unsigned char>(Key);
    if (code >= 32 && !FGrid->CanEditAcceptKey(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    switch (Key) {
    case '\t':
    case 0x1B: Key = 0; break;
    case '\b':
    case 0x16:  // paste
    case 0x18:  // cut
        if (!FGrid->CanEditModify()) Key = 0;
        break;
    default:
        if (static_cast<unsigned char>(Key) >= 32 && !FGrid->CanEditModify()) Key = 0;
        break;
    }
    if (Key != 0) inherited::KeyPress(Key);
}

void TInplaceEdit::Change()
{
    inherited::Change();
    if (FUpdating || !FGrid || FGrid->FInplaceCol < 0) return;
    FGrid->SetEditText(FGrid->FInplaceCol, FGrid->FInplaceRow, GetText());
}

bool TInplaceEdit::EditCanModify() { return !FGrid || FGrid->CanEditModify(); }

void TInplaceEdit::WMGetDlgCode(TMessage& Message)
{
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (FGrid && FGrid->GetOptions().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
}

void TInplaceEdit::WMKillFocus(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (FGrid) FGrid->InvalidateCell(FGrid->GetCol(), FGrid->GetRow());
}

void TInplaceEdit::WMMouseWheel(TMessage& Message)
{
    if (FGrid) Message.Result = FGrid->Perform(WM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

HOST_MESSAGE_MAP(TInplaceEdit)
{
    M(WM_GETDLGCODE, &TInplaceEdit::WMGetDlgCode);
    M(WM_KILLFOCUS, &TInplaceEdit::WMKillFocus);
    M(WM_MOUSEWHEEL, &TInplaceEdit::WMMouseWheel);
}

// ---- The grid's side ---------------------------------------------------------------------------

std::string TCustomGrid::GetEditText(int, int) { return ""; }
void TCustomGrid::SetEditText(int, int, const std::string&) {}
std::string TCustomGrid::GetEditMask(int, int) { return ""; }
int TCustomGrid::GetEditLimit() { return 0; }
bool TCustomGrid::CanEditModify() { return true; }
bool TCustomGrid::CanEditAcceptKey(char) { return true; }
TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

// The editor goes before the grid when the grid is freed, and may be freed
// on its own; the grid then makes a new one when it is next needed.
void TCustomGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent != FInplaceEdit) return;
    FInplaceEdit = nullptr;
    FInplaceCol = FInplaceRow = -1;
}

bool TCustomGrid::CanEditShow()
{
    if (FOptions.Contains(goRowSelect) || !FOptions.Contains(goEditing)) return false;
    if (!FEditorMode || GetComponentState().Contains(csDesigning) || !HandleAllocated()) return false;
    return FOptions.Contains(goAlwaysShowEditor) || IsActiveControl();
}

void TCustomGrid::SetEditorMode(bool Value)
{
    if (Value)
        ShowEditor();
    else
        HideEditor();
}

void TCustomGrid::ShowEditor()
{
    FEditorMode = true;
    if (!CanEditShow()) return;
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->FGrid = this;
        FInplaceEdit->SetFont(GetFont());
        FInplaceEdit->SetParent(this);
    }
    bool fresh = FInplaceCol != FCurrent.X || FInplaceRow != FCurrent.Y || !FInplaceEdit->IsVisible();
    if (fresh) {
        UpdateText();
        FInplaceCol = FCurrent.X;
        FInplaceRow = FCurrent.Y;
        FInplaceEdit->UpdateContents();
    }
    InvalidateEditor();
    if (GetFocus() == FHandle) FInplaceEdit->SetFocus();
    if (fresh) FInplaceEdit->SelectAll();
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::HideEditor()
{
    FEditorMode = false;
    if (!FInplaceEdit || FInplaceCol < 0) return;
    UpdateText();
    bool hadFocus = FInplaceEdit->HandleAllocated() && GetFocus() == FInplaceEdit->GetHandle();
    int col = FInplaceCol, row = FInplaceRow;
    FInplaceCol = FInplaceRow = -1;
    FInplaceEdit->Hide();
    if (hadFocus && CanFocus()) SetFocus();
    InvalidateCell(col, row);
}

void TCustomGrid::UpdateText()
{
    if (FInplaceEdit && FInplaceCol >= 0) SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->GetText());
}

// Places the editor over its cell again after scrolling or sizing; it is
// out of sight while its cell is.
void TCustomGrid::InvalidateEditor()
{
    if (!FInplaceEdit || FInplaceCol < 0) return;
    TRect r = CellRect(FInplaceCol, FInplaceRow);
    if (r.right <= r.left || r.bottom <= r.top) {
        FInplaceEdit->SetVisible(false);
        return;
    }
    FInplaceEdit->Move(r);
}

void TCustomGrid::ShowEditorChar(char Ch)
{
    ShowEditor();
    if (!FInplaceEdit || !FInplaceEdit->IsVisible()) return;
    FForwardingChar = true;
    try {
        FInplaceEdit->Perform(WM_CHAR, WPARAM(static_cast<unsigned char>(Ch)), 0);
    } catch (...) {
        FForwardingChar = false;
        throw;
    }
    FForwardingChar = false;
}

} // namespace host
