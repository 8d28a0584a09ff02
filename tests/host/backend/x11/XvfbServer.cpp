#include "XvfbServer.h"

#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace x11test {

namespace {

pid_t GPid = 0;
std::string GDisplay;
std::string GReason;
bool GTried = false;

bool Exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::string FindXvfb()
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        std::string candidate = dirs.substr(start, end - start) + "/Xvfb";
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

bool WaitUntilReady(const std::string& display, pid_t pid)
{
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return false;  // it exited: the number was taken after all
        if (::Display* d = XOpenDisplay(display.c_str())) {
            XCloseDisplay(d);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// Starts a server on the first free display number from first upwards.
bool Launch(int first, std::string& display, pid_t& pidOut, std::string& reason)
{
    std::string xvfb = FindXvfb();
    if (xvfb.empty()) {
        reason = "Xvfb is not installed";
        return false;
    }
    for (int n = first; n < first + 50; ++n) {
        std::string num = std::to_string(n);
        if (Exists("/tmp/.X11-unix/X" + num) || Exists("/tmp/.X" + num + "-lock"))
            continue;
        std::string name = ":" + num;
        pid_t pid = fork();
        if (pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);  // a crashed test leaves no server behind
            execl(xvfb.c_str(), "Xvfb", name.c_str(), "-screen", "0", "800x600x24", "-nolisten", "tcp",
                  "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid < 0)
            break;
        if (WaitUntilReady(name, pid)) {
            pidOut = pid;
            display = name;
            return true;
        }
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    reason = "Xvfb did not start on any display from :" + std::to_string(first) + " to :" +
             std::to_string(first + 49);
    return false;
}

void Start()
{
    GTried = true;
    if (Launch(90, GDisplay, GPid, GReason))
        std::atexit(TXvfb::Stop);
}

}  // namespace

const std::string& TXvfb::Display()
{
    if (!GTried)
        Start();
    return GDisplay;
}

const std::string& TXvfb::Reason() { return GReason; }

TXvfb::TExtra TXvfb::StartExtra()
{
    TExtra extra;
    std::string reason;
    Launch(140, extra.Display, extra.Pid, reason);
    return extra;
}

void TXvfb::Stop()
{
    if (GPid <= 0)
        return;
    kill(GPid, SIGTERM);
    waitpid(GPid, nullptr, 0);
    GPid = 0;
}

}  // namespace x11test
