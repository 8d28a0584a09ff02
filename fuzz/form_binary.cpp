// Binary form input: reading, skipping bad properties and conversion to text
// must end in an exception at worst.
#include <cstddef>
#include <cstdint>

#include "tests/host/vcl/TestForms.h"

using namespace host;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static bool registered = (testforms::RegisterTestClasses(), true);
    (void)registered;
    std::string input(reinterpret_cast<const char*>(Data), Size);
    for (bool skipErrors : {false, true}) {
        TStringStream stream(input);
        TReader reader(&stream);
        if (skipErrors) reader.OnError = [](TReader*, const std::string&, bool& Handled) { Handled = true; };
        try {
            TComponent* root = reader.ReadRootComponent(nullptr);
            std::string again = WriteComponentToString(root);
            root->Free();
            ReadComponentFromString(again, nullptr)->Free();
        } catch (const Exception&) {
        }
    }
    try {
        std::string text = ObjectBinaryToText(input);
        ObjectTextToBinary(text);
    } catch (const Exception&) {
    }
    return 0;
}
