// Keys and typed text: the input method composes characters (dead keys,
// compose sequences, other scripts); without one, the key's keysym does.
#include "host/backend/x11/X11Backend.h"
#include "host/backend/x11/X11Keys.h"

#include <X11/Xlocale.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstring>
#include <string>
#include <vector>

namespace host::x11 {

namespace {

bool IsUtf8Locale(const char* name)
{
    std::string n = name ? name : "";
    for (char& c : n)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return n.find("utf-8") != std::string::npos || n.find("utf8") != std::string::npos;
}

// Code points of UTF-8 text; a broken sequence ends it.
std::vector<unsigned> CodePoints(const std::string& s)
{
    std::vector<unsigned> out;
    for (size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + size_t(len) > s.size())
            break;
        unsigned cp = len == 1 ? c : len == 2 ? (c & 0x1Fu) : len == 3 ? (c & 0x0Fu) : (c & 0x07u);
        for (int k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + size_t(k)]) & 0x3Fu);
        out.push_back(cp);
        i += size_t(len);
    }
    return out;
}

std::string Utf8Of(unsigned ch)
{
    std::string s;
    if (ch < 0x80) {
        s += char(ch);
    } else if (ch < 0x800) {
        s += char(0xC0 | (ch >> 6));
        s += char(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        s += char(0xE0 | (ch >> 12));
        s += char(0x80 | ((ch >> 6) & 0x3F));
        s += char(0x80 | (ch & 0x3F));
    } else {
        s += char(0xF0 | ((ch >> 18) & 0x07));
        s += char(0x80 | ((ch >> 12) & 0x3F));
        s += char(0x80 | ((ch >> 6) & 0x3F));
        s += char(0x80 | (ch & 0x3F));
    }
    return s;
}

}  // namespace

// The input method works in the locale it was opened in. A program left in
// the "C" locale would get one that composes nothing, so it is opened under
// a UTF-8 locale for the moment of opening; the program's locale stays as
// it was.
void TX11Backend::OpenInputMethod()
{
    std::string saved = std::setlocale(LC_CTYPE, nullptr);
    bool switched = false;
    if (!IsUtf8Locale(saved.c_str()))
        for (const char* utf8 : {"C.UTF-8", "C.utf8", "en_US.UTF-8"})
            if (std::setlocale(LC_CTYPE, utf8)) {
                switched = true;
                break;
            }
    if (XSupportsLocale()) {
        // XMODIFIERS names a running input method; without one, the built-in
        // method still handles dead keys and compose sequences.
        if (XSetLocaleModifiers(""))
            FIm = XOpenIM(FDisplay, nullptr, nullptr, nullptr);
        if (!FIm && XSetLocaleModifiers("@im=none"))
            FIm = XOpenIM(FDisplay, nullptr, nullptr, nullptr);
    }
    if (switched)
        std::setlocale(LC_CTYPE, saved.c_str());
    if (!FIm)
        return;
    XIMStyles* styles = nullptr;
    bool plain = false;
    if (!XGetIMValues(FIm, XNQueryInputStyle, &styles, nullptr) && styles) {
        for (int i = 0; i < styles->count_styles; ++i)
            plain = plain || styles->supported_styles[i] == (XIMPreeditNothing | XIMStatusNothing);
        XFree(styles);
    }
    if (!plain) {  // only styles that draw into our windows, which we cannot offer
        XCloseIM(FIm);
        FIm = nullptr;
        return;
    }
    // An input method server that goes away takes its contexts with it:
    // typing falls back to the keysyms instead of using dead handles.
    XIMCallback gone{reinterpret_cast<XPointer>(this), InputMethodGone};
    XSetIMValues(FIm, XNDestroyCallback, &gone, nullptr);
}

void TX11Backend::InputMethodGone(XIM, XPointer self, XPointer)
{
    auto* b = reinterpret_cast<TX11Backend*>(self);
    b->FIm = nullptr;
    for (auto& [wnd, xw] : b->FWindows)
        xw.Ic = nullptr;
}

void TX11Backend::CreateIc(TXWin& xw)
{
    if (!FIm)
        return;
    xw.Ic = XCreateIC(FIm, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, xw.Xw,
                      XNFocusWindow, xw.Xw, nullptr);
    if (!xw.Ic)
        return;
    // The method may need events the window does not select yet.
    unsigned long filter = 0;
    XGetICValues(xw.Ic, XNFilterEvents, &filter, nullptr);
    XWindowAttributes a;
    if (filter && XGetWindowAttributes(FDisplay, xw.Xw, &a))
        XSelectInput(FDisplay, xw.Xw, a.your_event_mask | long(filter));
}

// A key reports its virtual key, and the window system types the character
// the standard layout gives it. When the keyboard types something else
// (another layout, AltGr, Caps Lock, a dead key's result, an input method's
// text), the text goes in on its own instead, so that it is neither lost
// nor typed twice.
void TX11Backend::HandleKey(XKeyEvent& e, bool down)
{
    int vk = e.keycode ? KeysymToVk(XLookupKeysym(&e, 0)) : 0;
    if (!down) {
        if (vk && FKeyDown[vk]) {
            FKeyDown[vk] = false;
            FHost.KeyInput(vk, false);
        }
        return;
    }
    std::string text;
    auto it = FWindows.find(FindHwnd(e.window));
    XIC ic = it != FWindows.end() ? it->second.Ic : nullptr;
    if (ic) {
        char buf[64];
        KeySym sym = NoSymbol;
        Status status = 0;
        int n = Xutf8LookupString(ic, &e, buf, sizeof buf - 1, &sym, &status);
        if (status == XBufferOverflow) {
            std::vector<char> big(size_t(n) + 1);
            n = Xutf8LookupString(ic, &e, big.data(), n, &sym, &status);
            text.assign(big.data(), size_t(std::max(n, 0)));
        } else if (status == XLookupChars || status == XLookupBoth) {
            text.assign(buf, size_t(std::max(n, 0)));
        }
    } else {
        char buf[32];
        KeySym sym = NoSymbol;
        XLookupString(&e, buf, sizeof buf, &sym, nullptr);
        if (unsigned ch = KeysymToChar(sym))
            text = Utf8Of(ch);
    }
    TypeText(text, vk, (e.state & ShiftMask) != 0, (e.state & (ControlMask | Mod1Mask)) != 0);
}

void TX11Backend::TypeText(const std::string& utf8, int vk, bool shift, bool command)
{
    std::vector<unsigned> chars = CodePoints(utf8);
    // Control characters (Tab, Return, Backspace, Escape) come with their
    // keys, and so do the shortcuts typed with Ctrl or Alt.
    bool printable = !chars.empty() && !(chars.size() == 1 && (chars[0] < 0x20 || chars[0] == 0x7F));
    bool standard = chars.size() == 1 && vk && UsLayoutChar(vk, shift) == chars[0];
    if (printable && !standard && !command) {
        for (unsigned ch : chars)
            FHost.CharInput(ch);
        return;
    }
    if (vk) {
        FKeyDown[vk] = true;
        FHost.KeyInput(vk, true);
    }
}

}  // namespace host::x11
