// Which backend shows the windows: KEL_BACKEND=x11|headless, otherwise real
// windows when a display is there and the in-memory screen when not.
#include "host/win/WinInternal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace host::win {

namespace {

void LogOnce(const std::string& line)
{
    static std::string last;
    if (line == last)
        return;
    last = line;
    std::fprintf(stderr, "kel: %s\n", line.c_str());
}

}  // namespace

std::unique_ptr<TBackend> CreateBackend(TBackendHost& host, SIZE screenSize)
{
    const char* choice = std::getenv("KEL_BACKEND");
    const char* display = std::getenv("DISPLAY");
    bool wantX11 = choice ? std::strcmp(choice, "x11") == 0 : display && *display;
    if (choice && !wantX11 && std::strcmp(choice, "headless") != 0)
        LogOnce(std::string("unknown KEL_BACKEND '") + choice + "', using the headless backend");
    if (wantX11) {
        if (auto b = CreateX11Backend(host, nullptr)) {
            LogOnce(std::string("using the x11 backend on ") + (display ? display : "the default display"));
            return b;
        }
        LogOnce(std::string("cannot open the display ") + (display ? display : "(unset)") +
                ", using the headless backend");
    }
    return CreateHeadlessBackend(host, screenSize);
}

}  // namespace host::win
