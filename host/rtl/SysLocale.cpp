#include "host/rtl/SysLocale.h"

namespace host {

std::string CurrencyString = "$";
int CurrencyFormat = 0;
int NegCurrFormat = 0;
int CurrencyDecimals = 2;
char ThousandSeparator = ',';
char DecimalSeparator = '.';
char DateSeparator = '/';
char TimeSeparator = ':';
std::string ShortDateFormat = "M/d/yyyy";
std::string LongDateFormat = "dddd, MMMM dd, yyyy";
std::string ShortTimeFormat = "h:mm AMPM";
std::string LongTimeFormat = "h:mm:ss AMPM";
std::string TimeAMString = "AM";
std::string TimePMString = "PM";
TMonthNameArray ShortMonthNames({"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct",
                                 "Nov", "Dec"});
TMonthNameArray LongMonthNames({"January", "February", "March", "April", "May", "June", "July",
                                "August", "September", "October", "November", "December"});
TDayNameArray ShortDayNames({"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"});
TDayNameArray LongDayNames({"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
                            "Saturday"});
int TwoDigitYearCenturyWindow = 0;

TFormatSettings DefaultFormatSettings()
{
    return {"$", 0, 0, 2, ',', '.', '/', ':', "M/d/yyyy", "dddd, MMMM dd, yyyy", "h:mm AMPM",
            "h:mm:ss AMPM", "AM", "PM",
            TMonthNameArray({"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct",
                             "Nov", "Dec"}),
            TMonthNameArray({"January", "February", "March", "April", "May", "June", "July",
                             "August", "September", "October", "November", "December"}),
            TDayNameArray({"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}),
            TDayNameArray({"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
                           "Saturday"}),
            0};
}

TFormatSettings GetFormatSettings()
{
    return {CurrencyString, CurrencyFormat, NegCurrFormat, CurrencyDecimals, ThousandSeparator,
            DecimalSeparator, DateSeparator, TimeSeparator, ShortDateFormat, LongDateFormat,
            ShortTimeFormat, LongTimeFormat, TimeAMString, TimePMString, ShortMonthNames,
            LongMonthNames, ShortDayNames, LongDayNames, TwoDigitYearCenturyWindow};
}

void SetFormatSettings(const TFormatSettings& S)
{
    CurrencyString = S.CurrencyString;
    CurrencyFormat = S.CurrencyFormat;
    NegCurrFormat = S.NegCurrFormat;
    CurrencyDecimals = S.CurrencyDecimals;
    ThousandSeparator = S.ThousandSeparator;
    DecimalSeparator = S.DecimalSeparator;
    DateSeparator = S.DateSeparator;
    TimeSeparator = S.TimeSeparator;
    ShortDateFormat = S.ShortDateFormat;
    LongDateFormat = S.LongDateFormat;
    ShortTimeFormat = S.ShortTimeFormat;
    LongTimeFormat = S.LongTimeFormat;
    TimeAMString = S.TimeAMString;
    TimePMString = S.TimePMString;
    ShortMonthNames = S.ShortMonthNames;
    LongMonthNames = S.LongMonthNames;
    ShortDayNames = S.ShortDayNames;
    LongDayNames = S.LongDayNames;
    TwoDigitYearCenturyWindow = S.TwoDigitYearCenturyWindow;
}

TFormatSettingsGuard::TFormatSettingsGuard(TStart Start) : FSaved(GetFormatSettings())
{
    if (Start == TStart::ResetToDefaults) SetFormatSettings(DefaultFormatSettings());
}

TFormatSettingsGuard::~TFormatSettingsGuard() { SetFormatSettings(FSaved); }

} // namespace host
