#include "host/backend/x11/X11Clipboard.h"

#include <X11/Xatom.h>

#include <poll.h>

#include <chrono>
#include <vector>

namespace host::x11 {

namespace {

int RemainingMs(std::chrono::steady_clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

// Text beyond what one request carries would need the incremental protocol
// when sent; such a paste is refused instead of cut short.
size_t MaxPropertyBytes(Display* d)
{
    long words = XExtendedMaxRequestSize(d);
    if (words == 0)
        words = XMaxRequestSize(d);
    return size_t(words) * 4 - 1024;
}

}  // namespace

std::string ToXLineEnds(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out += text[i];
    return out;
}

std::string FromXLineEnds(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

// Characters beyond Latin-1, and broken sequences, become '?'.
std::string Utf8ToLatin1(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        bool whole = len > 0 && i + size_t(len) <= text.size();
        for (int k = 1; whole && k < len; ++k)
            whole = (static_cast<unsigned char>(text[i + size_t(k)]) & 0xC0) == 0x80;
        if (!whole) {
            out += '?';
            ++i;
            continue;
        }
        unsigned cp = len == 1 ? c : len == 2 ? (c & 0x1Fu) : len == 3 ? (c & 0x0Fu) : (c & 0x07u);
        for (int k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + size_t(k)]) & 0x3Fu);
        out += cp <= 0xFF ? char(cp) : '?';
        i += size_t(len);
    }
    return out;
}

std::string Latin1ToUtf8(const std::string& text)
{
    std::string out;
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

TX11Clipboard::TX11Clipboard(Display* display) : FDisplay(display)
{
    XSetWindowAttributes a{};
    a.event_mask = PropertyChangeMask;
    FWin = XCreateWindow(FDisplay, DefaultRootWindow(FDisplay), -10, -10, 1, 1, 0, 0, InputOnly,
                         CopyFromParent, CWEventMask, &a);
    FClipboard = XInternAtom(FDisplay, "CLIPBOARD", False);
    FTargets = XInternAtom(FDisplay, "TARGETS", False);
    FUtf8 = XInternAtom(FDisplay, "UTF8_STRING", False);
    FTextAtom = XInternAtom(FDisplay, "TEXT", False);
    FIncr = XInternAtom(FDisplay, "INCR", False);
    FProperty = XInternAtom(FDisplay, "KEL_SELECTION", False);
    FTimestamp = XInternAtom(FDisplay, "TIMESTAMP", False);
    FStamp = XInternAtom(FDisplay, "KEL_TIMESTAMP", False);
}

TX11Clipboard::~TX11Clipboard() { XDestroyWindow(FDisplay, FWin); }

void TX11Clipboard::Own(const std::optional<std::string>& text)
{
    FOffered = text ? std::optional<std::string>(ToXLineEnds(*text)) : std::nullopt;
    // Ownership wants a real server time, not CurrentTime: a zero-length
    // append to a property of our own window reports one.
    XChangeProperty(FDisplay, FWin, FStamp, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent e;
    bool stamped = false;
    while (!stamped && WaitFor(PropertyNotify, e, kTimeoutMs))
        stamped = e.xproperty.atom == FStamp;  // older notices of transfers are no time of ours
    FOwnedSince = stamped ? e.xproperty.time : CurrentTime;
    XSetSelectionOwner(FDisplay, FClipboard, FWin, FOwnedSince);
    FOwned = XGetSelectionOwner(FDisplay, FClipboard) == FWin;
}

bool TX11Clipboard::Handle(const XEvent& e)
{
    if (e.type == SelectionClear && e.xselectionclear.window == FWin) {
        // Another program copied: the next paste asks it. The notice may be
        // older than the program's own copy since, which still stands.
        if (XGetSelectionOwner(FDisplay, FClipboard) != FWin) {
            FOwned = false;
            FOffered.reset();
        }
        return true;
    }
    if (e.type == SelectionRequest && e.xselectionrequest.owner == FWin) {
        Answer(e.xselectionrequest);
        return true;
    }
    return e.type == SelectionNotify && e.xselection.requestor == FWin;  // a late answer
}

void TX11Clipboard::Answer(const XSelectionRequestEvent& r)
{
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.requestor = r.requestor;
    reply.selection = r.selection;
    reply.target = r.target;
    reply.time = r.time;
    reply.property = None;
    // Obsolete clients name no property: the target stands for it.
    Atom property = r.property != None ? r.property : r.target;
    bool mine = FOwned && r.selection == FClipboard;
    if (mine && r.target == FTargets) {
        std::vector<Atom> targets{FTargets, FTimestamp};
        if (FOffered)
            targets.insert(targets.end(), {FUtf8, XA_STRING, FTextAtom});
        XChangeProperty(FDisplay, r.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(targets.data()), int(targets.size()));
        reply.property = property;
    } else if (mine && r.target == FTimestamp) {
        long t = long(FOwnedSince);
        XChangeProperty(FDisplay, r.requestor, property, XA_INTEGER, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&t), 1);
        reply.property = property;
    } else if (mine && FOffered && (r.target == FUtf8 || r.target == FTextAtom || r.target == XA_STRING)) {
        std::string data = r.target == XA_STRING ? Utf8ToLatin1(*FOffered) : *FOffered;
        Atom type = r.target == XA_STRING ? XA_STRING : FUtf8;
        if (data.size() <= MaxPropertyBytes(FDisplay)) {
            XChangeProperty(FDisplay, r.requestor, property, type, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
            reply.property = property;
        }
    }
    XSendEvent(FDisplay, r.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    XFlush(FDisplay);
}

// Waits for an event of the type on the utility window, leaving every other
// event queued for the program's loop.
bool TX11Clipboard::WaitFor(int type, XEvent& out, int timeoutMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (XCheckTypedWindowEvent(FDisplay, FWin, type, &out))
            return true;
        int left = RemainingMs(deadline);
        if (left == 0)
            return false;
        pollfd p{ConnectionNumber(FDisplay), POLLIN, 0};
        poll(&p, 1, left);
    }
}

std::optional<std::string> TX11Clipboard::Foreign()
{
    Window owner = XGetSelectionOwner(FDisplay, FClipboard);
    if (owner == None || owner == FWin)
        return std::nullopt;
    FTimedOut = false;
    std::optional<std::string> text = Fetch(FUtf8);
    // An owner that did not answer in time is not asked again.
    if (!text && !FTimedOut) {
        text = Fetch(XA_STRING);
        if (text)
            text = Latin1ToUtf8(*text);
    }
    return FromXLineEnds(text.value_or(std::string()));
}

// One conversion of the selection to target; nullopt when the owner
// refuses it or does not answer in time.
std::optional<std::string> TX11Clipboard::Fetch(Atom target)
{
    XDeleteProperty(FDisplay, FWin, FProperty);
    XConvertSelection(FDisplay, FClipboard, target, FProperty, FWin, CurrentTime);
    XEvent e;
    if (!WaitFor(SelectionNotify, e, kTimeoutMs)) {
        FTimedOut = true;
        return std::nullopt;
    }
    if (e.xselection.property == None)
        return std::nullopt;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(FDisplay, FWin, FProperty, 0, long(MaxPropertyBytes(FDisplay) / 4), True,
                           AnyPropertyType, &type, &format, &count, &after, &data) != Success)
        return std::nullopt;
    if (type == FIncr) {
        XFree(data);
        return ReadIncrementally();
    }
    std::optional<std::string> text;
    if (format == 8 && data)
        text = std::string(reinterpret_cast<const char*>(data), count);
    XFree(data);
    return text;
}

// Large contents come in pieces: each deletion of the property asks for the
// next, and an empty piece ends them.
std::optional<std::string> TX11Clipboard::ReadIncrementally()
{
    std::string text;
    for (;;) {
        XEvent e;
        do {
            if (!WaitFor(PropertyNotify, e, kTimeoutMs))
                return std::nullopt;
        } while (e.xproperty.atom != FProperty || e.xproperty.state != PropertyNewValue);
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(FDisplay, FWin, FProperty, 0, long(MaxPropertyBytes(FDisplay) / 4), True,
                               AnyPropertyType, &type, &format, &count, &after, &data) != Success)
            return std::nullopt;
        bool last = count == 0;
        if (format == 8 && data)
            text.append(reinterpret_cast<const char*>(data), count);
        XFree(data);
        if (last)
            return text;
    }
}

}  // namespace host::x11
