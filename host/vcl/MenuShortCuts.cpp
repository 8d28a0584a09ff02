// Shortcut keys: packing a key with its modifiers and the texts menus show.
#include "host/rtl/SysUtils.h"
#include "host/vcl/Menus.h"

#include <cctype>

namespace host {

namespace {

const char* const kShift = "Shift+";
const char* const kCtrl = "Ctrl+";
const char* const kAlt = "Alt+";

struct TKeyName {
    WORD Key;
    const char* Name;
};

const TKeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},     {VK_ESCAPE, "Esc"},  {VK_RETURN, "Enter"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"},  {VK_NEXT, "PgDn"},   {VK_END, "End"},
    {VK_HOME, "Home"},   {VK_LEFT, "Left"},   {VK_UP, "Up"},       {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},   {VK_INSERT, "Ins"},  {VK_DELETE, "Del"},  {VK_MULTIPLY, "Num *"},
    {VK_ADD, "Num +"},   {VK_SUBTRACT, "Num -"}, {VK_DECIMAL, "Num Del"}, {VK_DIVIDE, "Num /"},
    {VK_OEM_1, ";"},     {VK_OEM_PLUS, "="},  {VK_OEM_COMMA, ","}, {VK_OEM_MINUS, "-"},
    {VK_OEM_PERIOD, "."}, {VK_OEM_2, "/"},    {VK_OEM_3, "`"},     {VK_OEM_4, "["},
    {VK_OEM_5, "\\"},    {VK_OEM_6, "]"},     {VK_OEM_7, "'"},     {VK_PAUSE, "Pause"},
};

std::string KeyName(WORD key)
{
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, char(key));
    if (key >= VK_F1 && key <= VK_F1 + 23)
        return "F" + std::to_string(key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return "Num " + std::to_string(key - VK_NUMPAD0);
    for (const TKeyName& k : kKeyNames)
        if (k.Key == key)
            return k.Name;
    return "";
}

// Strips a modifier prefix from the front of text; true when it was there.
bool TakePrefix(std::string& text, const char* prefix)
{
    size_t n = std::char_traits<char>::length(prefix);
    if (text.size() <= n || !SameText(text.substr(0, n), prefix))
        return false;
    text.erase(0, n);
    return true;
}

}  // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift)
{
    if (Key & 0xFF00)
        return 0;  // not a virtual key
    TShortCut s = Key;
    if (Shift.Contains(ssShift)) s |= scShift;
    if (Shift.Contains(ssCtrl)) s |= scCtrl;
    if (Shift.Contains(ssAlt)) s |= scAlt;
    return s;
}

void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift)
{
    Key = ShortCut & ~(scShift | scCtrl | scAlt);
    Shift = {};
    if (ShortCut & scShift) Shift += ssShift;
    if (ShortCut & scCtrl) Shift += ssCtrl;
    if (ShortCut & scAlt) Shift += ssAlt;
}

std::string ShortCutToText(TShortCut ShortCut)
{
    std::string name = KeyName(WORD(ShortCut & 0xFF));
    if (name.empty())
        return "";
    std::string text;
    if (ShortCut & scShift) text += kShift;
    if (ShortCut & scCtrl) text += kCtrl;
    if (ShortCut & scAlt) text += kAlt;
    return text + name;
}

TShortCut TextToShortCut(const std::string& Text)
{
    std::string rest = Text;
    TShortCut mods = 0;
    // Modifiers in any order, each at most once.
    for (bool more = true; more;) {
        more = false;
        if (!(mods & scShift) && TakePrefix(rest, kShift)) mods |= scShift, more = true;
        if (!(mods & scCtrl) && TakePrefix(rest, kCtrl)) mods |= scCtrl, more = true;
        if (!(mods & scAlt) && TakePrefix(rest, kAlt)) mods |= scAlt, more = true;
    }
    if (rest.empty())
        return 0;
    for (int key = 0x08; key <= 0xFF; ++key) {
        std::string name = KeyName(WORD(key));
        if (!name.empty() && SameText(name, rest))
            return TShortCut(key | mods);
    }
    return 0;
}

TShortCut ShortCutFromMessage(const TMessage& Message)
{
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0) shift += ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift += ssCtrl;
    if (Message.LParam & (LPARAM(1) << 29)) shift += ssAlt;
    return ShortCut(WORD(Message.WParam), shift);
}

}  // namespace host
