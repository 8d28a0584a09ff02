// Until the forms land, the demo shows the library's foundation at work:
// cheque amounts written out in words in each fraction format, and cheque
// dates in the locale's formats.
#include <cstdio>

#include "general/Kelcurlb.h"
#include "host/rtl/DateTime.h"

namespace {

void PrintCheques()
{
    struct {
        double amount;
        kel::TCurrFractionFormat format;
    } cheques[] = {
        {123.45, kel::ffHundredths},     {1000, kel::ffUnitsWords},      {0.5, kel::ffUnitsDigits},
        {1014000.99, kel::ffUnitsWords}, {2147483647, kel::ffNoFraction}, {1.995, kel::ffHundredths},
        {-5, kel::ffHundredths},
    };
    std::puts("Cheque amounts in words:");
    for (auto c : cheques) {
        std::string words = kel::NumToWords("dollars", "cents", c.format, c.amount, true, true);
        std::printf("  %14.3f  %s\n", c.amount, words.c_str());
    }
}

void PrintDates()
{
    const host::TDateTime dates[] = {
        host::EncodeDate(1999, 12, 31),
        host::ComposeDateTime(host::EncodeDate(2000, 2, 29), host::EncodeTime(14, 5, 0, 0)),
        host::Date(),
    };
    std::puts("Cheque dates:");
    for (host::TDateTime d : dates) {
        std::printf("  %-12s %-32s %s\n", host::DateToStr(d).c_str(),
                    host::FormatDateTime("dddd, d mmmm yyyy", d).c_str(), host::FormatDateTime("hh:nn ampm", d).c_str());
    }
}

} // namespace

int main()
{
    std::puts("KEL demo");
    PrintCheques();
    PrintDates();
    return 0;
}
