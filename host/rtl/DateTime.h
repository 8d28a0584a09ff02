#pragma once
// Dates and times as TDateTime: days since 1899-12-30, the fraction being the
// time of day. Before 1899-12-30 the integer part counts back and the
// fraction still adds time: -1.25 is 1899-12-29 06:00.
#include <array>
#include <cstdint>
#include <string>

#include "host/rtl/Clock.h"

namespace host {

using TDateTime = double;

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = HoursPerDay * 60;
constexpr int SecsPerDay = MinsPerDay * 60;
constexpr int MSecsPerDay = SecsPerDay * 1000;
// Days from 0001-01-01 to 1899-12-31.
constexpr int DateDelta = 693594;

// MonthDays[IsLeapYear(Year)][Month], months 1 to 12.
extern const std::array<std::array<uint16_t, 13>, 2> MonthDays;

bool IsLeapYear(int Year);
int DaysInAMonth(int Year, int Month);

// EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time);
// Date and time joined by the sign convention above.
TDateTime ComposeDateTime(TDateTime Date, TDateTime Time);

void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec);
void DecodeDateTime(TDateTime Value, int& Year, int& Month, int& Day, int& Hour, int& Min, int& Sec, int& MSec);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime Date);

// From the installed host clock.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Adds months, keeping the time and clamping the day to the new month's end.
TDateTime IncMonth(TDateTime Date, int NumberOfMonths);
void ReplaceDate(TDateTime& DateTime, TDateTime NewDate);
void ReplaceTime(TDateTime& DateTime, TDateTime NewTime);

// Format letters: c, d dd ddd dddd ddddd dddddd, m mm mmm mmmm (minutes right
// after h or hh), yy yyyy, h hh, n nn, s ss, z zzz, t tt, am/pm a/p ampm,
// '/' and ':' for the separators, and '...' or "..." for literal text.
std::string FormatDateTime(const std::string& Format, TDateTime DateTime);
void DateTimeToString(std::string& Result, const std::string& Format, TDateTime DateTime);
std::string DateToStr(TDateTime Date);
std::string TimeToStr(TDateTime Time);
std::string DateTimeToStr(TDateTime DateTime);

// Parsing follows the order of d, m and y in ShortDateFormat; a missing year
// is the current one, two-digit years follow TwoDigitYearCenturyWindow.
// Text the settings do not fit is also read as yyyy-mm-dd.
TDateTime StrToDate(const std::string& S);
TDateTime StrToTime(const std::string& S);
TDateTime StrToDateTime(const std::string& S);
bool TryStrToDate(const std::string& S, TDateTime& Value);
bool TryStrToTime(const std::string& S, TDateTime& Value);
bool TryStrToDateTime(const std::string& S, TDateTime& Value);

} // namespace host
