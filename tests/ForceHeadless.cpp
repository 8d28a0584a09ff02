// Linked into every test program: the tests draw on the in-memory screen of
// a known size even when a display is there. The x11 backend's own tests
// choose their display themselves.
#include <cstdlib>

namespace {

const bool GHeadless = [] { return setenv("KEL_BACKEND", "headless", 1) == 0; }();

}  // namespace
