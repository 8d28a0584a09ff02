#include <string>
#include <string_view>

#include "host/rtl/IniFiles.h"

using host::TIniDocument;

namespace {

void Check(bool Condition)
{
    if (!Condition) __builtin_trap();
}

bool Contains(const std::vector<std::string>& Names, const std::string& Name)
{
    for (const std::string& n : Names)
        if (n == Name) return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string_view text(reinterpret_cast<const char*>(Data), Size);
    TIniDocument doc(text);
    // An unedited document writes back byte for byte.
    Check(doc.Serialize() == text);

    const std::vector<std::string> sections = doc.Sections();
    for (size_t i = 0; i < sections.size() && i < 64; ++i) {
        std::string value;
        for (const std::string& key : doc.Keys(sections[i])) Check(doc.ReadValue(sections[i], key, value));
        doc.SectionValues(sections[i]);
    }

    // Edit a section the input names (or a new one) and read the edit back;
    // names taken from the input may be refused, but only with an exception.
    const std::string section = sections.empty() ? std::string("Fuzz") : sections.front();
    const std::string other = sections.size() > 1 ? sections.back() : std::string();
    std::vector<std::string> otherValues = other.empty() ? std::vector<std::string>{} : doc.SectionValues(other);
    try {
        doc.WriteValue(section, "FuzzKey", "fuzz value");
        TIniDocument again(doc.Serialize());
        std::string value;
        Check(again.ReadValue(section, "fuzzkey", value) && value == "fuzz value");
        if (!other.empty() && !host::AnsiSameText(other, section)) Check(again.SectionValues(other) == otherValues);

        Check(again.DeleteKey(section, "FuzzKey"));
        Check(!again.ReadValue(section, "FuzzKey", value));
        again.EraseSection(section);
        Check(!Contains(TIniDocument(again.Serialize()).Sections(), section));
    } catch (const host::EIniFileException&) {
    }

    // A key name from the input, which may be anything.
    const std::string key(text.substr(0, 24));
    try {
        doc.WriteValue("Fuzz", key, "v");
        std::string value;
        Check(TIniDocument(doc.Serialize()).ReadValue("Fuzz", key, value) && value == "v");
    } catch (const host::EIniFileException&) {
    }
    return 0;
}
