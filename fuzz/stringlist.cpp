#include <string>
#include <vector>

#include "host/rtl/Strings.h"

using host::TStringList;

namespace {

void Check(bool Condition)
{
    if (!Condition) __builtin_trap();
}

std::vector<std::string> Items(const TStringList& L)
{
    std::vector<std::string> out;
    for (int i = 0; i < L.GetCount(); ++i) out.push_back(L[i]);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string text(reinterpret_cast<const char*>(Data), Size);

    // Lines: whatever is read writes back and reads again the same.
    TStringList lines;
    lines.SetText(text);
    TStringList again;
    again.SetText(lines.GetText());
    Check(again.Equals(&lines));

    // Comma text: read, write, read gives the same items.
    TStringList comma;
    comma.SetCommaText(text);
    again.SetCommaText(comma.GetCommaText());
    Check(Items(again) == Items(comma));

    // Any items at all survive a comma-text round trip: the lines of the
    // input split further at '|' make items with every kind of byte.
    TStringList pieces;
    for (int i = 0; i < lines.GetCount(); ++i) {
        const std::string line = lines[i];
        size_t start = 0;
        for (size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1)
            pieces.Add(line.substr(start, bar - start));
        pieces.Add(line.substr(start));
    }
    again.SetCommaText(pieces.GetCommaText());
    Check(Items(again) == Items(pieces));

    // Sorting keeps every item and finds each of them.
    pieces.SetDuplicates(host::dupAccept);
    const int count = pieces.GetCount();
    pieces.SetSorted(true);
    Check(pieces.GetCount() == count);
    for (int i = 1; i < count; ++i) Check(host::AnsiCompareText(pieces[i - 1], pieces[i]) <= 0);
    for (int i = 0; i < count; ++i) {
        int index = -1;
        Check(pieces.Find(pieces[i], index) && host::AnsiCompareText(pieces[index], pieces[i]) == 0 && index <= i);
    }

    // Names and values never fail on odd input.
    for (int i = 0; i < lines.GetCount() && i < 32; ++i) {
        const std::string name = lines.GetNames(i);
        if (!name.empty()) lines.GetValues(name);
    }
    return 0;
}
