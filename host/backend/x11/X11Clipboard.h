#pragma once
// The CLIPBOARD selection of the display: the program owns it while its own
// clipboard holds the newest contents, and asks the owner for text when
// another program copied something since.
#include <X11/Xlib.h>

#include <optional>
#include <string>

namespace host::x11 {

class TX11Clipboard {
public:
    explicit TX11Clipboard(Display* display);
    ~TX11Clipboard();
    TX11Clipboard(const TX11Clipboard&) = delete;
    TX11Clipboard& operator=(const TX11Clipboard&) = delete;

    // Takes the selection, offering text (or nothing) to other programs.
    void Own(const std::optional<std::string>& text);
    // Another program's text, fetched from it within a bounded wait; nullopt
    // when this program owns the selection or nobody does.
    std::optional<std::string> Foreign();
    // Answers requests for the selection; true when the event was one of its.
    bool Handle(const XEvent& e);
    Window Utility() const { return FWin; }

    // How long a paste waits for the owner before it gives up.
    static constexpr int kTimeoutMs = 1500;

private:
    Display* FDisplay;
    Window FWin;
    Atom FClipboard, FTargets, FUtf8, FTextAtom, FIncr, FProperty, FTimestamp, FStamp;
    bool FOwned = false;
    std::optional<std::string> FOffered;  // what this program offers, CR LF as LF
    Time FOwnedSince = CurrentTime;
    bool FTimedOut = false;  // the owner did not answer the last request

    void Answer(const XSelectionRequestEvent& r);
    bool WaitFor(int type, XEvent& out, int timeoutMs);
    std::optional<std::string> Fetch(Atom target);
    std::optional<std::string> ReadIncrementally();
};

// Line ends and encodings between the program's clipboard (CR LF, UTF-8)
// and X clients (LF; STRING is Latin-1).
std::string ToXLineEnds(const std::string& text);
std::string FromXLineEnds(const std::string& text);
std::string Utf8ToLatin1(const std::string& text);
std::string Latin1ToUtf8(const std::string& text);

}  // namespace host::x11
