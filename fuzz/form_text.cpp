// Text form input: parsing, reading and writing back must end in an exception
// at worst.
#include <cstddef>
#include <cstdint>

#include "tests/host/vcl/TestForms.h"

using namespace host;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static bool registered = (testforms::RegisterTestClasses(), true);
    (void)registered;
    std::string input(reinterpret_cast<const char*>(Data), Size);
    try {
        std::string binary = ObjectTextToBinary(input);
        ObjectBinaryToText(binary);
        TComponent* root = ReadComponentFromString(binary, nullptr);
        std::string written = WriteComponentToString(root);
        root->Free();
        ObjectBinaryToText(written);
    } catch (const Exception&) {
    }
    return 0;
}
