#include "host/backend/x11/X11Keys.h"

#include "host/gdi/WinTypes.h"

#include <X11/keysym.h>

namespace host::x11 {

namespace {

struct TKeyPair {
    KeySym Sym;
    int Vk;
};

// Virtual-key codes of the platform, spelt out: the window system's key
// constants live in a layer above this one.
constexpr TKeyPair kKeys[] = {
    {XK_BackSpace, 0x08}, {XK_Tab, 0x09}, {XK_ISO_Left_Tab, 0x09}, {XK_Return, 0x0D},
    {XK_KP_Enter, 0x0D}, {XK_Shift_L, 0x10}, {XK_Shift_R, 0x10}, {XK_Control_L, 0x11},
    {XK_Control_R, 0x11}, {XK_Alt_L, 0x12}, {XK_Alt_R, 0x12}, {XK_Meta_L, 0x12},
    {XK_Meta_R, 0x12}, {XK_Pause, 0x13}, {XK_Caps_Lock, 0x14}, {XK_Escape, 0x1B},
    {XK_space, 0x20}, {XK_Prior, 0x21}, {XK_Next, 0x22}, {XK_End, 0x23}, {XK_Home, 0x24},
    {XK_Left, 0x25}, {XK_Up, 0x26}, {XK_Right, 0x27}, {XK_Down, 0x28}, {XK_Print, 0x2C},
    {XK_Insert, 0x2D}, {XK_Delete, 0x2E}, {XK_KP_Prior, 0x21}, {XK_KP_Next, 0x22},
    {XK_KP_End, 0x23}, {XK_KP_Home, 0x24}, {XK_KP_Left, 0x25}, {XK_KP_Up, 0x26},
    {XK_KP_Right, 0x27}, {XK_KP_Down, 0x28}, {XK_KP_Insert, 0x2D}, {XK_KP_Delete, 0x2E},
    {XK_KP_Multiply, 0x6A}, {XK_KP_Add, 0x6B}, {XK_KP_Subtract, 0x6D},
    {XK_KP_Decimal, 0x6E}, {XK_KP_Divide, 0x6F}, {XK_Num_Lock, 0x90},
    {XK_Scroll_Lock, 0x91}, {XK_Menu, 0x5D},
    // Punctuation where the US layout has it (VK_OEM_*).
    {XK_semicolon, 0xBA}, {XK_equal, 0xBB}, {XK_comma, 0xBC}, {XK_minus, 0xBD},
    {XK_period, 0xBE}, {XK_slash, 0xBF}, {XK_grave, 0xC0}, {XK_bracketleft, 0xDB},
    {XK_backslash, 0xDC}, {XK_bracketright, 0xDD}, {XK_apostrophe, 0xDE},
};

struct TUsPunct {
    int Vk;
    char Plain;
    char Shifted;
};

constexpr TUsPunct kUsPunct[] = {
    {0xBA, ';', ':'}, {0xBB, '=', '+'}, {0xBC, ',', '<'}, {0xBD, '-', '_'},
    {0xBE, '.', '>'}, {0xBF, '/', '?'}, {0xC0, '`', '~'}, {0xDB, '[', '{'},
    {0xDC, '\\', '|'}, {0xDD, ']', '}'}, {0xDE, '\'', '"'},
};

constexpr char kShiftedDigits[] = ")!@#$%^&*(";

}  // namespace

int KeysymToVk(KeySym sym)
{
    if (sym >= XK_a && sym <= XK_z)
        return int('A' + (sym - XK_a));
    if (sym >= XK_A && sym <= XK_Z)
        return int(sym);
    if (sym >= XK_0 && sym <= XK_9)
        return int(sym);
    if (sym >= XK_F1 && sym <= XK_F24)
        return int(0x70 + (sym - XK_F1));
    if (sym >= XK_KP_0 && sym <= XK_KP_9)
        return int(0x60 + (sym - XK_KP_0));
    for (const TKeyPair& k : kKeys)
        if (k.Sym == sym)
            return k.Vk;
    return 0;
}

unsigned UsLayoutChar(int vk, bool shift)
{
    if (vk >= 'A' && vk <= 'Z')
        return shift ? unsigned(vk) : unsigned(vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9')
        return shift ? unsigned(kShiftedDigits[vk - '0']) : unsigned(vk);
    if (vk == 0x20)
        return ' ';
    for (const TUsPunct& p : kUsPunct)
        if (p.Vk == vk)
            return unsigned(shift ? p.Shifted : p.Plain);
    return 0;
}

unsigned KeysymToChar(KeySym sym)
{
    if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF))
        return unsigned(sym);  // Latin-1 keysyms are their own code points
    if ((sym & 0xFF000000) == 0x01000000)
        return unsigned(sym & 0x00FFFFFF);
    if (sym >= XK_KP_0 && sym <= XK_KP_9)
        return unsigned('0' + (sym - XK_KP_0));
    return 0;
}

}  // namespace host::x11
