#pragma once
// The locale settings that formatting and parsing read: plain globals with the
// English (United States) defaults, settable by the program and pinned by tests.
#include <array>
#include <stdexcept>
#include <string>

namespace host {

// A table of names indexed from 1, as the month and day tables are:
// LongMonthNames[1] is "January", LongDayNames[1] is "Sunday".
template <size_t N>
class TNameTable {
public:
    TNameTable(std::array<std::string, N> Names) : FNames(std::move(Names)) {}
    std::string& operator[](int Index) { return FNames.at(CheckIndex(Index)); }
    const std::string& operator[](int Index) const { return FNames.at(CheckIndex(Index)); }
    static constexpr int Count() { return static_cast<int>(N); }
    bool operator==(const TNameTable&) const = default;

private:
    static size_t CheckIndex(int Index)
    {
        if (Index < 1 || Index > static_cast<int>(N)) throw std::out_of_range("name table index");
        return static_cast<size_t>(Index - 1);
    }
    std::array<std::string, N> FNames;
};

using TMonthNameArray = TNameTable<12>;
using TDayNameArray = TNameTable<7>;

extern std::string CurrencyString;
extern int CurrencyFormat;   // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
extern int NegCurrFormat;    // 0 "($1)" ... 15 "(1 $)"
extern int CurrencyDecimals;
extern char ThousandSeparator;
extern char DecimalSeparator;
extern char DateSeparator;
extern char TimeSeparator;
extern std::string ShortDateFormat;
extern std::string LongDateFormat;
extern std::string ShortTimeFormat;
extern std::string LongTimeFormat;
extern std::string TimeAMString;
extern std::string TimePMString;
extern TMonthNameArray ShortMonthNames;
extern TMonthNameArray LongMonthNames;
extern TDayNameArray ShortDayNames;
extern TDayNameArray LongDayNames;
// Two-digit years: 0 places them in the current century; N > 0 places them
// within the N years before the current year and the years after it.
extern int TwoDigitYearCenturyWindow;

// A copy of every setting above.
struct TFormatSettings {
    std::string CurrencyString;
    int CurrencyFormat;
    int NegCurrFormat;
    int CurrencyDecimals;
    char ThousandSeparator;
    char DecimalSeparator;
    char DateSeparator;
    char TimeSeparator;
    std::string ShortDateFormat;
    std::string LongDateFormat;
    std::string ShortTimeFormat;
    std::string LongTimeFormat;
    std::string TimeAMString;
    std::string TimePMString;
    TMonthNameArray ShortMonthNames;
    TMonthNameArray LongMonthNames;
    TDayNameArray ShortDayNames;
    TDayNameArray LongDayNames;
    int TwoDigitYearCenturyWindow;
};

TFormatSettings GetFormatSettings();
void SetFormatSettings(const TFormatSettings& Settings);
// The English (United States) defaults the globals start with.
TFormatSettings DefaultFormatSettings();

// Saves the settings and puts them back when it goes out of scope; with
// ResetToDefaults it also starts from the defaults (what tests want).
class TFormatSettingsGuard {
public:
    enum class TStart { Keep, ResetToDefaults };
    explicit TFormatSettingsGuard(TStart Start = TStart::ResetToDefaults);
    ~TFormatSettingsGuard();
    TFormatSettingsGuard(const TFormatSettingsGuard&) = delete;
    TFormatSettingsGuard& operator=(const TFormatSettingsGuard&) = delete;

private:
    TFormatSettings FSaved;
};

} // namespace host
