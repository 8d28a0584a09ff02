// Edit masks: parsing and formatting values with them.
#include "host/vcl/Mask.h"

#include "host/rtl/SysLocale.h"

#include <algorithm>
#include <cctype>

namespace host {

namespace mask {

namespace {

// The mask field ends at the first ';' that is not escaped.
size_t MaskFieldEnd(const std::string& EditMask)
{
    for (size_t i = 0; i < EditMask.size(); ++i) {
        if (EditMask[i] == '\\') ++i;
        else if (EditMask[i] == ';') return i;
    }
    return EditMask.size();
}

// The second and third fields, after the mask field.
std::vector<std::string> TrailingFields(const std::string& EditMask)
{
    std::vector<std::string> fields;
    size_t end = MaskFieldEnd(EditMask);
    if (end >= EditMask.size()) return fields;
    std::string rest = EditMask.substr(end + 1);
    size_t semi = rest.find(';');
    fields.push_back(rest.substr(0, semi));
    if (semi != std::string::npos) fields.push_back(rest.substr(semi + 1));
    return fields;
}

bool MaskChar(char C, TSlot& Slot)
{
    struct Entry {
        char C;
        TSlotKind Kind;
        TCharClass Class;
    } static const table[] = {
        {'L', TSlotKind::Required, TCharClass::Letter},    {'l', TSlotKind::Optional, TCharClass::Letter},
        {'A', TSlotKind::Required, TCharClass::LetterDigit}, {'a', TSlotKind::Optional, TCharClass::LetterDigit},
        {'C', TSlotKind::Required, TCharClass::Any},       {'c', TSlotKind::Optional, TCharClass::Any},
        {'0', TSlotKind::Required, TCharClass::Digit},     {'9', TSlotKind::Optional, TCharClass::Digit},
        {'#', TSlotKind::Optional, TCharClass::DigitSign},
    };
    for (const Entry& e : table)
        if (e.C == C) {
            Slot.Kind = e.Kind;
            Slot.Class = e.Class;
            return true;
        }
    return false;
}

} // namespace

TParsedMask ParseMask(const std::string& EditMask)
{
    TParsedMask m;
    std::vector<std::string> fields = TrailingFields(EditMask);
    if (!fields.empty() && !fields[0].empty()) m.SaveLiterals = fields[0][0] != '0';
    if (fields.size() > 1 && !fields[1].empty()) m.Blank = fields[1][0];
    std::string body = EditMask.substr(0, MaskFieldEnd(EditMask));
    TCase currentCase = TCase::None;
    for (size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        TSlot slot;
        slot.Case = currentCase;
        if (c == '!') {
            if (m.Slots.empty()) m.Reverse = true;
            continue;
        }
        if (c == '<' && i + 1 < body.size() && body[i + 1] == '>') {
            currentCase = TCase::None;
            ++i;
            continue;
        }
        if (c == '>' || c == '<') {
            currentCase = c == '>' ? TCase::Upper : TCase::Lower;
            continue;
        }
        if (c == '\\') {
            if (++i >= body.size()) break;
            slot.Literal = body[i];
        } else if (c == ':') {
            slot.Literal = TimeSeparator;
        } else if (c == '/') {
            slot.Literal = DateSeparator;
        } else if (c == '_') {
            slot.Literal = ' ';
        } else if (!MaskChar(c, slot)) {
            slot.Literal = c;
        }
        m.Slots.push_back(slot);
    }
    return m;
}

char AcceptChar(const TSlot& Slot, char Ch)
{
    if (Slot.Kind == TSlotKind::Literal) return '\0';
    auto u = static_cast<unsigned char>(Ch);
    bool blankOk = Slot.Kind == TSlotKind::Optional && Ch == ' ';
    bool ok = false;
    switch (Slot.Class) {
    case TCharClass::Letter: ok = std::isalpha(u) || u >= 0x80; break;
    case TCharClass::LetterDigit: ok = std::isalnum(u) || u >= 0x80; break;
    case TCharClass::Any: ok = u >= 0x20; break;
    case TCharClass::Digit: ok = std::isdigit(u); break;
    case TCharClass::DigitSign: ok = std::isdigit(u) || Ch == '+' || Ch == '-'; break;
    }
    if (!ok && !blankOk) return '\0';
    if (Slot.Case == TCase::Upper) return char(std::toupper(u));
    if (Slot.Case == TCase::Lower) return char(std::tolower(u));
    return Ch;
}

} // namespace mask

bool MaskGetMaskSave(const std::string& EditMask) { return mask::ParseMask(EditMask).SaveLiterals; }

char MaskGetMaskBlank(const std::string& EditMask) { return mask::ParseMask(EditMask).Blank; }

std::string MaskDoFormatText(const std::string& EditMask, const std::string& Value, char Blank)
{
    mask::TParsedMask m = mask::ParseMask(EditMask);
    if (m.Slots.empty()) return Value;
    std::string out(m.Slots.size(), Blank);
    int n = int(m.Slots.size());
    int inputs = int(std::count_if(m.Slots.begin(), m.Slots.end(),
                                   [](const mask::TSlot& s) { return s.Kind != mask::TSlotKind::Literal; }));
    // With '!' the value fills the last positions; extra characters drop off the front.
    int skip = m.Reverse ? std::max(0, int(Value.size()) - inputs) : 0;
    int lead = m.Reverse ? std::max(0, inputs - int(Value.size())) : 0;
    int next = skip, seen = 0;
    for (int i = 0; i < n; ++i) {
        const mask::TSlot& s = m.Slots[size_t(i)];
        if (s.Kind == mask::TSlotKind::Literal) {
            out[size_t(i)] = s.Literal;
            continue;
        }
        if (seen++ < lead) continue;
        if (next < int(Value.size())) out[size_t(i)] = Value[size_t(next++)];
    }
    return out;
}

std::string PadInputLiterals(const std::string& EditMask, const std::string& Value, char Blank)
{
    mask::TParsedMask m = mask::ParseMask(EditMask);
    if (m.Slots.empty()) return Value;
    size_t n = m.Slots.size();
    std::string out(n, Blank);
    // With '!' a short value lines up with the end of the mask.
    size_t offset = m.Reverse && Value.size() < n ? n - Value.size() : 0;
    for (size_t i = 0; i < n; ++i) {
        const mask::TSlot& s = m.Slots[i];
        if (s.Kind == mask::TSlotKind::Literal)
            out[i] = s.Literal;
        else if (i >= offset && i - offset < Value.size())
            out[i] = Value[i - offset];
    }
    return out;
}

std::string FormatMaskText(const std::string& EditMask, const std::string& Value)
{
    if (MaskGetMaskSave(EditMask)) return PadInputLiterals(EditMask, Value, ' ');
    return MaskDoFormatText(EditMask, Value, ' ');
}

} // namespace host
