// TCustomMaskEdit: an edit whose text follows an edit mask; typing
// overwrites one position at a time and steps over the literals.
#include "host/vcl/Mask.h"

#include "host/vcl/StdEditInternal.h"

#include <algorithm>

namespace host {

namespace {

const char* const kMaskEditErr = "Invalid input value.  Use escape key to abandon changes";

} // namespace

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

// ---- Mask, text and edit text ---------------------------------------------------------

void TCustomMaskEdit::SetEditMask(const std::string& Value)
{
    if (Value == FEditMask) return;
    std::string value = IsMasked() ? GetText() : TControl::GetText();
    FEditMask = Value;
    FMask = mask::ParseMask(Value);
    TCustomEdit::SetMaxLength(IsMasked() ? int(FMask.Slots.size()) : 0);
    SetText(value);
}

std::string TCustomMaskEdit::GetText()
{
    if (!IsMasked()) return TControl::GetText();
    std::string edit = GetEditText();
    std::string inputs;
    for (size_t i = 0; i < FMask.Slots.size(); ++i)
        if (FMask.Slots[i].Kind != mask::TSlotKind::Literal) inputs += i < edit.size() ? edit[i] : FMask.Blank;
    // Blanks at the open end are no input; blanks inside read as spaces.
    if (FMask.Reverse)
        inputs.erase(0, std::min(inputs.size(), inputs.find_first_not_of(FMask.Blank)));
    else
        inputs.erase(inputs.find_last_not_of(FMask.Blank) + 1);
    std::replace(inputs.begin(), inputs.end(), FMask.Blank, ' ');
    if (!FMask.SaveLiterals) return inputs;
    return MaskDoFormatText(FEditMask, inputs, ' ');
}

void TCustomMaskEdit::SetText(const std::string& Value)
{
    if (!IsMasked()) {
        TControl::SetText(Value);
        return;
    }
    std::string edit = FMask.SaveLiterals ? PadInputLiterals(FEditMask, Value, FMask.Blank)
                                          : MaskDoFormatText(FEditMask, Value, FMask.Blank);
    // Text reads blanks as spaces, so spaces in a value are blanks: the
    // value read back is the value written.
    for (size_t i = 0; i < edit.size() && i < FMask.Slots.size(); ++i)
        if (edit[i] == ' ' && FMask.Slots[i].Kind != mask::TSlotKind::Literal) edit[i] = FMask.Blank;
    SetEditText(edit);
}

void TCustomMaskEdit::SetEditText(const std::string& Value)
{
    std::string value = Value;
    if (IsMasked()) {
        // Exactly one character per position; missing ones are blank.
        size_t n = FMask.Slots.size();
        value.resize(std::min(value.size(), n));
        for (size_t i = value.size(); i < n; ++i)
            value += FMask.Slots[i].Kind == mask::TSlotKind::Literal ? FMask.Slots[i].Literal : FMask.Blank;
    }
    if (TControl::GetText() != value) TControl::SetText(value);
    FOldValue = value;
    CheckCursor();
}

void TCustomMaskEdit::SetMaxLength(int Value)
{
    if (IsMasked()) return;
    TCustomEdit::SetMaxLength(Value);
}

// ---- Validation ------------------------------------------------------------------------

bool TCustomMaskEdit::Validate(const std::string& Value, int& Pos)
{
    for (size_t i = 0; i < FMask.Slots.size(); ++i) {
        const mask::TSlot& slot = FMask.Slots[i];
        if (slot.Kind != mask::TSlotKind::Required) continue;
        char c = i < Value.size() ? Value[i] : FMask.Blank;
        if (c == FMask.Blank || mask::AcceptChar(slot, c) == '\0') {
            Pos = int(i);
            return false;
        }
    }
    return true;
}

void TCustomMaskEdit::ValidateEdit()
{
    if (!IsMasked() || !GetModified()) return;
    int pos = 0;
    if (Validate(GetEditText(), pos)) return;
    if (!GetComponentState().Contains(csDesigning)) {
        FReEnter = true;
        SetFocus();
    }
    SetCursor(pos);
    ValidateError();
}

void TCustomMaskEdit::ValidateError()
{
    MessageBeep(0);
    throw EDBEditError(kMaskEditErr);
}

bool TCustomMaskEdit::EditCanModify() { return true; }

void TCustomMaskEdit::Reset()
{
    if (!GetModified()) return;
    SetEditText(FOldValue);
    SetModified(false);
}

// ---- The caret -----------------------------------------------------------------------------

int TCustomMaskEdit::NextSlot(int Pos) const
{
    int n = int(FMask.Slots.size());
    while (Pos < n && FMask.Slots[size_t(Pos)].Kind == mask::TSlotKind::Literal) ++Pos;
    return std::min(Pos, n);
}

int TCustomMaskEdit::PrevSlot(int Pos) const
{
    for (int i = std::min(Pos, int(FMask.Slots.size())) - 1; i >= 0; --i)
        if (FMask.Slots[size_t(i)].Kind != mask::TSlotKind::Literal) return i;
    return -1;
}

// The caret sits before the selected character it will overwrite.
void TCustomMaskEdit::SetCursor(int Pos)
{
    int n = int(FMask.Slots.size());
    Pos = std::clamp(Pos, 0, n);
    if (Pos < n)
        SetSel(Pos + 1, Pos);
    else
        SetSel(n, n);
}

void TCustomMaskEdit::CheckCursor()
{
    if (!IsMasked() || !HandleAllocated()) return;
    if (GetSelLength() == 0) SetCursor(GetSelStart());
}

// ---- Input -----------------------------------------------------------------------------------

void TCustomMaskEdit::BlankRange(int Start, int End)
{
    std::string edit = GetEditText();
    End = std::min(End, int(edit.size()));
    if (Start >= End) return;
    std::string part = edit.substr(size_t(Start), size_t(End - Start));
    for (int i = Start; i < End; ++i)
        if (FMask.Slots[size_t(i)].Kind != mask::TSlotKind::Literal) part[size_t(i - Start)] = FMask.Blank;
    SetSel(Start, End);
    ReplaceSelection(part, true, false);
    SetCursor(Start);
}

void TCustomMaskEdit::InputChar(char Ch)
{
    int start = GetSelStart(), length = GetSelLength();
    if (length > 1) BlankRange(start, start + length);
    int n = int(FMask.Slots.size());
    // The literal just stepped over may be typed as well.
    if (start > 0 && start <= n && FMask.Slots[size_t(start - 1)].Kind == mask::TSlotKind::Literal &&
        FMask.Slots[size_t(start - 1)].Literal == Ch)
        return;
    // Typing a literal steps to the position after it.
    for (int k = start; k < n; ++k) {
        const mask::TSlot& s = FMask.Slots[size_t(k)];
        if (s.Kind != mask::TSlotKind::Literal) {
            if (k > start) break;
            continue;
        }
        if (s.Literal == Ch) {
            SetCursor(NextSlot(k + 1));
            return;
        }
    }
    int pos = NextSlot(start);
    char c = pos < n ? mask::AcceptChar(FMask.Slots[size_t(pos)], Ch) : '\0';
    if (c == '\0') {
        MessageBeep(0);
        return;
    }
    SetSel(pos, pos + 1);
    ReplaceSelection(std::string(1, c), true, false);
    SetCursor(NextSlot(pos + 1));
}

void TCustomMaskEdit::PasteText(const std::string& Text)
{
    for (char c : Text) {
        if (c == '\r' || c == '\n') break;
        InputChar(c);
    }
}

void TCustomMaskEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    inherited::KeyDown(Key, Shift);
    if (!IsMasked() || Key == 0 || Shift.Contains(ssAlt)) return;
    bool plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl);
    int start = GetSelStart();
    switch (Key) {
    case VK_LEFT:
    case VK_RIGHT:
        if (!plain) return;
        if (Key == VK_LEFT) {
            int prev = PrevSlot(start);
            SetCursor(prev < 0 ? start : prev);
        } else {
            SetCursor(NextSlot(start + 1));
        }
        Key = 0;
        return;
    case VK_UP:
    case VK_DOWN: Key = 0; return;
    case VK_HOME:
    case VK_END:
        if (Shift.Contains(ssShift)) return;
        SetCursor(Key == VK_HOME ? NextSlot(0) : int(FMask.Slots.size()));
        Key = 0;
        return;
    case VK_DELETE:
        if (!plain) return;
        if (!GetReadOnly() && EditCanModify()) BlankRange(start, start + std::max(1, GetSelLength()));
        Key = 0;
        return;
    default: return;
    }
}

void TCustomMaskEdit::KeyPress(char& Key)
{
    inherited::KeyPress(Key);
    if (!IsMasked() || Key == 0) return;
    auto code = static_cast<unsigned char>(Key);
    if (code == 0x03 || code == 0x16 || code == 0x18 || code == 0x1A) return;  // clipboard and undo
    if (code == 0x1B) {
        Reset();
        Key = 0;
        return;
    }
    bool canModify = !GetReadOnly() && EditCanModify();
    if (code == '\b') {
        if (canModify) {
            int start = GetSelStart(), length = GetSelLength();
            if (length > 1) {
                BlankRange(start, start + length);
            } else if (int prev = PrevSlot(start); prev >= 0) {
                BlankRange(prev, prev + 1);
            }
        }
        Key = 0;
        return;
    }
    if (code >= 0x20 && code != 0x7F) {
        if (canModify) InputChar(Key); else MessageBeep(0);
    }
    Key = 0;
}

void TCustomMaskEdit::DoEnter()
{
    if (IsMasked() && !FReEnter) FOldValue = GetEditText();
    FReEnter = false;
    CheckCursor();
    inherited::DoEnter();
}

// ---- Messages ---------------------------------------------------------------------------------

void TCustomMaskEdit::CMExit(TMessage& Message)
{
    try {
        ValidateEdit();
    } catch (...) {
        SetFocus();
        throw;
    }
    inherited::Dispatch(Message);
}

// Escape abandons a changed entry instead of cancelling the dialog.
void TCustomMaskEdit::CMWantKeyMessage(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (Message.WParam == WPARAM(VK_ESCAPE) && IsMasked() && GetModified()) Message.Result = 1;
}

void TCustomMaskEdit::WMLButtonUp(TMessage& Message)
{
    inherited::Dispatch(Message);
    CheckCursor();
}

void TCustomMaskEdit::WMPaste(TMessage& Message)
{
    if (!IsMasked()) {
        inherited::Dispatch(Message);
        return;
    }
    if (GetReadOnly() || !EditCanModify()) return;
    PasteText(edit::GetClipboardText(FHandle));
}

void TCustomMaskEdit::WMCut(TMessage& Message)
{
    if (!IsMasked()) {
        inherited::Dispatch(Message);
        return;
    }
    Perform(WM_COPY, 0, 0);
    if (!GetReadOnly() && EditCanModify()) BlankRange(GetSelStart(), GetSelStart() + GetSelLength());
}

void TCustomMaskEdit::WMClear(TMessage& Message)
{
    if (!IsMasked()) {
        inherited::Dispatch(Message);
        return;
    }
    if (!GetReadOnly() && EditCanModify()) BlankRange(GetSelStart(), GetSelStart() + GetSelLength());
}

HOST_MESSAGE_MAP(TCustomMaskEdit)
{
    M(CM_EXIT, &TCustomMaskEdit::CMExit);
    M(CM_WANTSPECIALKEY, &TCustomMaskEdit::CMWantKeyMessage);
    M(WM_LBUTTONUP, &TCustomMaskEdit::WMLButtonUp);
    M(WM_PASTE, &TCustomMaskEdit::WMPaste);
    M(WM_CUT, &TCustomMaskEdit::WMCut);
    M(WM_CLEAR, &TCustomMaskEdit::WMClear);
}

HOST_PUBLISHED(TMaskEdit)
{
    P.Property("EditMask", &TMaskEdit::GetEditMask, &TMaskEdit::SetEditMask);
    edit::PublishEditProperties(P, &TMaskEdit::IsFontStored, &TMaskEdit::IsShowHintStored);
}

HOST_REGISTER_CLASSES(TMaskEdit);

} // namespace host
