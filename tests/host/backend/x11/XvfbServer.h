#pragma once
// A private virtual X server for the tests: started once on the first free
// display number from :90 upwards, stopped when the test program ends.
#include <string>
#include <sys/types.h>

namespace x11test {

class TXvfb {
public:
    // Empty when the server could not be started; Reason() says why.
    static const std::string& Display();
    static const std::string& Reason();
    static void Stop();
    // Another server, for a test that ends it on its own; Pid 0 when none
    // could start.
    struct TExtra {
        pid_t Pid = 0;
        std::string Display;
    };
    static TExtra StartExtra();
};

}  // namespace x11test
