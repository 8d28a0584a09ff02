#pragma once
// Amounts of money in English words, as written on cheques:
// 123.45 -> "One hundred twenty three dollars and 45/100". The words come from
// the string table, so a translated table changes them without code changes.
#include <string>

namespace kel {

// How the cents follow the whole units.
enum TCurrFractionFormat {
    ffHundredths,  // "dollars and 45/100"
    ffUnitsDigits, // "dollars and 45 cents"
    ffUnitsWords,  // "dollars and forty five cents"
    ffNoFraction,  // "dollars"
};

// Value is first rounded to whole cents (halves to even, judged on the
// shortest decimal text of the double, so 1.995 counts as 1.995 and not as the
// binary 1.99499...), then written as words. Negative amounts and amounts of
// 2^31 units or more cannot be written: with HandleException the result is
// "#ERROR#", otherwise EConvertError (not a valid amount) or ERangeError (too
// large) is raised.
std::string NumToWords(const std::string& CurrText, const std::string& CurrFractionText,
                       TCurrFractionFormat FractionFormat, double Value, bool FirstUpperCase,
                       bool HandleException);

} // namespace kel
