#pragma once
// A window manager of the smallest kind for the tests, on its own
// connection: it reparents each managed window into a frame with a title
// bar, answers configure requests, keeps WM_STATE and _NET_WM_STATE, and
// can minimise a window as a user's click on its button would. It runs
// only when the test calls Process().
#include <X11/Xlib.h>

#include <map>
#include <string>
#include <vector>

namespace x11test {

class TFakeWm {
public:
    static constexpr int kBorder = 3;
    static constexpr int kTitle = 18;

    explicit TFakeWm(const std::string& display);
    ~TFakeWm();
    TFakeWm(const TFakeWm&) = delete;
    TFakeWm& operator=(const TFakeWm&) = delete;

    // False when another manager already runs.
    bool Running() const { return FRunning; }
    void Process();
    // The frame around a managed client, or 0.
    Window FrameOf(Window client) const;
    // The user resized or moved a window through its frame.
    void MoveResize(Window client, int x, int y, int width, int height);
    void Iconify(Window client);
    void Deiconify(Window client);
    // The user pressed the maximise button: the manager changes the state.
    void SetMaximized(Window client, bool on);
    // _NET_WM_STATE requests received, as "add:ATOM" / "remove:ATOM".
    std::vector<std::string> StateRequests;
    // Windows whose program asked for them to be activated.
    std::vector<Window> ActivationRequests;
    // Windows that asked to be mapped (override-redirect ones never do).
    std::vector<Window> MapRequests;

private:
    Display* FDisplay = nullptr;
    Window FRoot = 0;
    Window FSelectionOwner = 0;
    bool FRunning = false;
    std::map<Window, Window> FFrames;  // client -> frame
    std::map<Window, int> FOwnUnmaps;  // unmaps of clients the manager made itself
    Atom FWmState, FNetWmState, FMaxV, FMaxH, FActive;

    void Manage(Window client);
    void Configure(const XConfigureRequestEvent& e);
    void SendConfigureNotify(Window client);
    void SetWmState(Window client, long state);
    void ChangeNetState(Window client, long action, Atom a1, Atom a2);
};

}  // namespace x11test
