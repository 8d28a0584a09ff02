#pragma once
// Edits with an input mask: TCustomMaskEdit, TMaskEdit, and the mask routines.
//
// An edit mask has up to three fields separated by ';': the mask itself, '0'
// or '1' for whether Text keeps the literal characters (default: it does),
// and the character shown in empty positions (default '_'). Mask characters:
//   L letter   l letter or blank      A letter/digit   a letter/digit or blank
//   C any      c any or blank         0 digit          9 digit or blank
//   # digit, sign or blank            : time separator / date separator
//   > upper case from here   < lower case   <> no case conversion
//   ! blanks lead instead of trail    \ next character is a literal
//   _ a literal blank                 anything else is a literal
#include <string>
#include <vector>

#include "host/rtl/SysUtils.h"
#include "host/vcl/StdEdit.h"

namespace host {

// What ValidateEdit raises for an entry that does not fill the mask.
HOST_DECLARE_EXCEPTION(EDBEditError, Exception);

constexpr char DefaultBlank = '_';

// Whether Text keeps the mask's literals (the second field).
bool MaskGetMaskSave(const std::string& EditMask);
// The character shown in empty positions (the third field).
char MaskGetMaskBlank(const std::string& EditMask);
// Value holds only the input characters: the literals are put in, and
// missing characters become Blank (at the front with '!').
std::string MaskDoFormatText(const std::string& EditMask, const std::string& Value, char Blank);
// Value already has the literals in their places: it is padded to the
// mask's length, literals and Blank filling what is missing.
std::string PadInputLiterals(const std::string& EditMask, const std::string& Value, char Blank);
// Value as the mask shows it, with blanks for missing characters.
std::string FormatMaskText(const std::string& EditMask, const std::string& Value);

namespace mask {

enum class TSlotKind { Literal, Required, Optional };
enum class TCharClass { Letter, LetterDigit, Any, Digit, DigitSign };
enum class TCase { None, Upper, Lower };

// One character position of the edit text.
struct TSlot {
    TSlotKind Kind = TSlotKind::Literal;
    char Literal = ' ';
    TCharClass Class = TCharClass::Any;
    TCase Case = TCase::None;
};

struct TParsedMask {
    std::vector<TSlot> Slots;
    bool Reverse = false;  // '!' before the first position
    bool SaveLiterals = true;
    char Blank = DefaultBlank;
};

TParsedMask ParseMask(const std::string& EditMask);
// Ch as it goes into Slot (case converted), or '\0' when it may not.
char AcceptChar(const TSlot& Slot, char Ch);

} // namespace mask

class TCustomMaskEdit : public TCustomEdit {
    HOST_CLASS(TCustomMaskEdit, TCustomEdit)
    HOST_MESSAGES(TCustomMaskEdit)
public:
    explicit TCustomMaskEdit(TComponent* AOwner);

    bool IsMasked() const { return !FMask.Slots.empty(); }
    const std::string& GetEditMask() const { return FEditMask; }
    void SetEditMask(const std::string& Value);
    // The text as shown, literals and blanks included.
    std::string GetEditText() { return TControl::GetText(); }
    void SetEditText(const std::string& Value);
    // The value: without blanks, and without literals unless the mask keeps them.
    std::string GetText();
    void SetText(const std::string& Value);
    void SetMaxLength(int Value) override;
    // Empties the value; the edit text keeps the mask's literals.
    void Clear() override { SetText(""); }

    // Raises EDBEditError (after ValidateError) when a modified entry does
    // not fill the mask's required positions; the caret goes there.
    virtual void ValidateEdit();

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoEnter() override;
    virtual void ValidateError();
    // Keeps the caret on a character position, selecting it, as typing overwrites.
    virtual void CheckCursor();
    virtual bool EditCanModify();
    // Back to the value the edit had on entering it.
    virtual void Reset();
    bool Validate(const std::string& Value, int& Pos);
    void SetCursor(int Pos);
    int NextSlot(int Pos) const;
    int PrevSlot(int Pos) const;
    void InputChar(char Ch);
    void BlankRange(int Start, int End);
    void PasteText(const std::string& Text);

    void CMExit(TMessage& Message);
    void CMWantKeyMessage(TMessage& Message);
    void WMLButtonUp(TMessage& Message);
    void WMPaste(TMessage& Message);
    void WMCut(TMessage& Message);
    void WMClear(TMessage& Message);

    std::string FEditMask;
    mask::TParsedMask FMask;
    std::string FOldValue;
    bool FReEnter = false;
};

class TMaskEdit : public TCustomMaskEdit {
    HOST_CLASS(TMaskEdit, TCustomMaskEdit)
public:
    explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};

} // namespace host
