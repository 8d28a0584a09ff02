// Keyboard state and the translation of key strokes into characters on a
// standard US layout.
#include "host/win/WinInternal.h"

#include <cctype>
#include <cstring>

namespace host::win {

namespace {

// Punctuation keys: unshifted and shifted character.
struct TOemKey {
    int Vk;
    char Plain;
    char Shifted;
};
constexpr TOemKey kOemKeys[] = {
    {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'},
    {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},     {VK_OEM_5, '\\', '|'},
    {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'},
};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

bool Down(const BYTE* keys, int vk) { return keys[vk] & 0x80; }

// The character a key gives, or 0.
int KeyChar(int vk, const BYTE* keys)
{
    bool shift = Down(keys, VK_SHIFT), ctrl = Down(keys, VK_CONTROL);
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl)
            return vk - 'A' + 1;
        bool upper = shift != bool(keys[VK_CAPITAL] & 0x01);
        return upper ? vk : std::tolower(vk);
    }
    if (ctrl) {
        switch (vk) {
        case VK_OEM_4: return 0x1B;
        case VK_OEM_5: return 0x1C;
        case VK_OEM_6: return 0x1D;
        case VK_RETURN: return '\n';
        case VK_BACK: return 0x7F;
        default: return 0;
        }
    }
    if (vk >= '0' && vk <= '9')
        return shift ? kShiftedDigits[vk - '0'] : vk;
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return (keys[VK_NUMLOCK] & 0x01) ? '0' + (vk - VK_NUMPAD0) : 0;
    switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_BACK: return '\b';
    case VK_TAB: return '\t';
    case VK_ESCAPE: return 0x1B;
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DIVIDE: return '/';
    case VK_DECIMAL: return (keys[VK_NUMLOCK] & 0x01) ? '.' : 0;
    default: break;
    }
    for (const TOemKey& k : kOemKeys)
        if (k.Vk == vk)
            return shift ? k.Shifted : k.Plain;
    return 0;
}

}  // namespace

bool CharToKey(char ch, int& vk, bool& shift)
{
    unsigned char c = static_cast<unsigned char>(ch);
    shift = false;
    if (c >= 'a' && c <= 'z') {
        vk = std::toupper(c);
        return true;
    }
    if (c >= 'A' && c <= 'Z') {
        vk = c;
        shift = true;
        return true;
    }
    if (c >= '0' && c <= '9') {
        vk = c;
        return true;
    }
    if (const char* p = std::strchr(kShiftedDigits, c); p && c) {
        vk = '0' + int(p - kShiftedDigits);
        shift = true;
        return true;
    }
    switch (c) {
    case ' ': vk = VK_SPACE; return true;
    case '\r':
    case '\n': vk = VK_RETURN; return true;
    case '\t': vk = VK_TAB; return true;
    case '\b': vk = VK_BACK; return true;
    case 0x1B: vk = VK_ESCAPE; return true;
    default: break;
    }
    for (const TOemKey& k : kOemKeys) {
        if (k.Plain == char(c)) {
            vk = k.Vk;
            return true;
        }
        if (k.Shifted == char(c)) {
            vk = k.Vk;
            shift = true;
            return true;
        }
    }
    return false;
}

}  // namespace host::win

namespace host {

using namespace win;

SHORT GetKeyState(int vk)
{
    BYTE b = State().Keys[vk & 0xFF];
    return SHORT(((b & 0x80) ? 0x8000 : 0) | (b & 0x01));
}

SHORT GetAsyncKeyState(int vk)
{
    return (State().AsyncKeys[vk & 0xFF] & 0x80) ? SHORT(0x8000) : SHORT(0);
}

BOOL GetKeyboardState(BYTE* state)
{
    if (!state)
        return FALSE;
    std::memcpy(state, State().Keys, 256);
    return TRUE;
}

BOOL SetKeyboardState(const BYTE* state)
{
    if (!state)
        return FALSE;
    std::memcpy(State().Keys, state, 256);
    std::memcpy(State().AsyncKeys, state, 256);
    return TRUE;
}

UINT MapVirtualKey(UINT code, UINT mapType)
{
    // Scan codes of a standard keyboard for the keys that have one; enough
    // for the lParam of key messages.
    static const BYTE kRow1[] = "QWERTYUIOP";
    static const BYTE kRow2[] = "ASDFGHJKL";
    static const BYTE kRow3[] = "ZXCVBNM";
    if (mapType != 0)
        return 0;
    for (int i = 0; kRow1[i]; ++i)
        if (code == kRow1[i]) return 0x10 + UINT(i);
    for (int i = 0; kRow2[i]; ++i)
        if (code == kRow2[i]) return 0x1E + UINT(i);
    for (int i = 0; kRow3[i]; ++i)
        if (code == kRow3[i]) return 0x2C + UINT(i);
    if (code >= '1' && code <= '9')
        return 0x02 + (code - '1');
    switch (int(code)) {
    case '0': return 0x0B;
    case VK_ESCAPE: return 0x01;
    case VK_BACK: return 0x0E;
    case VK_TAB: return 0x0F;
    case VK_RETURN: return 0x1C;
    case VK_CONTROL:
    case VK_LCONTROL: return 0x1D;
    case VK_SHIFT:
    case VK_LSHIFT: return 0x2A;
    case VK_RSHIFT: return 0x36;
    case VK_MENU:
    case VK_LMENU: return 0x38;
    case VK_SPACE: return 0x39;
    case VK_CAPITAL: return 0x3A;
    case VK_HOME: return 0x47;
    case VK_UP: return 0x48;
    case VK_PRIOR: return 0x49;
    case VK_LEFT: return 0x4B;
    case VK_RIGHT: return 0x4D;
    case VK_END: return 0x4F;
    case VK_DOWN: return 0x50;
    case VK_NEXT: return 0x51;
    case VK_INSERT: return 0x52;
    case VK_DELETE: return 0x53;
    default: return (code >= UINT(VK_F1) && code <= UINT(VK_F10)) ? 0x3B + (code - VK_F1) : 0;
    }
}

BOOL TranslateMessage(const MSG* msg)
{
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN))
        return FALSE;
    int ch = KeyChar(int(msg->wParam), State().Keys);
    if (!ch)
        return FALSE;
    PostMessage(msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, WPARAM(ch), msg->lParam);
    return TRUE;
}

}  // namespace host
