#include "host/rtl/SysUtils.h"

#include <cmath>

namespace host {

const std::array<std::array<uint16_t, 13>, 2> MonthDays = {{
    {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
}};

namespace {

// Beyond this many days (about 270,000 years) a value is no date at all.
constexpr double MaxDays = 1e8;

// Whole days and milliseconds of the day. The time is rounded to the
// millisecond as a whole, so 23:59:59.9996 carries into the next day instead
// of showing hour 24.
void SplitDateTime(TDateTime Value, int64_t& Days, int& MSecs)
{
    if (!std::isfinite(Value) || std::fabs(Value) > MaxDays) throw EInvalidOp("Invalid floating point operation");
    int64_t total = static_cast<int64_t>(std::round(std::fabs(Value) * MSecsPerDay));
    int64_t d = total / MSecsPerDay;
    MSecs = static_cast<int>(total % MSecsPerDay);
    Days = Value < 0 ? -d : d;
}

} // namespace

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInAMonth(int Year, int Month)
{
    if (Month < 1 || Month > 12) return 0;
    return MonthDays[IsLeapYear(Year)][static_cast<size_t>(Month)];
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date)
{
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInAMonth(Year, Month))
        return false;
    int64_t days = Day;
    for (int m = 1; m < Month; ++m) days += DaysInAMonth(Year, m);
    int64_t y = Year - 1;
    Date = static_cast<double>(y * 365 + y / 4 - y / 100 + y / 400 + days - DateDelta);
    return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time)
{
    if (Hour < 0 || Hour >= 24 || Min < 0 || Min >= 60 || Sec < 0 || Sec >= 60 || MSec < 0 || MSec >= 1000)
        return false;
    Time = (Hour * 3600000.0 + Min * 60000.0 + Sec * 1000.0 + MSec) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day)
{
    TDateTime d;
    if (!TryEncodeDate(Year, Month, Day, d)) ConvertError("Invalid argument to date encode");
    return d;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec)
{
    TDateTime t;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, t)) ConvertError("Invalid argument to time encode");
    return t;
}

TDateTime ComposeDateTime(TDateTime Date, TDateTime Time)
{
    return Date < 0 ? Date - std::fabs(Time) : Date + std::fabs(Time);
}

void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day)
{
    int64_t days;
    int ms;
    SplitDateTime(Date, days, ms);
    int64_t t = days + DateDelta;
    if (t <= 0) {
        Year = Month = Day = 0;
        return;
    }
    const int64_t D1 = 365, D4 = D1 * 4 + 1, D100 = D4 * 25 - 1, D400 = D100 * 4 + 1;
    --t;
    int64_t y = 1 + t / D400 * 400;
    t %= D400;
    int64_t i = t / D100, d = t % D100;
    if (i == 4) {
        --i;
        d += D100;
    }
    y += i * 100;
    y += d / D4 * 4;
    d %= D4;
    i = d / D1;
    d %= D1;
    if (i == 4) {
        --i;
        d += D1;
    }
    y += i;
    Year = static_cast<int>(y);
    int m = 1;
    while (d >= DaysInAMonth(Year, m)) {
        d -= DaysInAMonth(Year, m);
        ++m;
    }
    Month = m;
    Day = static_cast<int>(d) + 1;
}

void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec)
{
    int64_t days;
    int ms;
    SplitDateTime(Time, days, ms);
    Hour = ms / 3600000;
    Min = ms / 60000 % 60;
    Sec = ms / 1000 % 60;
    MSec = ms % 1000;
}

void DecodeDateTime(TDateTime Value, int& Year, int& Month, int& Day, int& Hour, int& Min, int& Sec, int& MSec)
{
    DecodeDate(Value, Year, Month, Day);
    DecodeTime(Value, Hour, Min, Sec, MSec);
}

int DayOfWeek(TDateTime Date)
{
    int64_t days;
    int ms;
    SplitDateTime(Date, days, ms);
    int64_t r = (days + DateDelta) % 7;
    return static_cast<int>(r < 0 ? r + 7 : r) + 1;
}

TDateTime Now() { return GetClock().Now(); }

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time()
{
    TDateTime n = Now();
    return std::fabs(n - std::trunc(n));
}

void ReplaceTime(TDateTime& DateTime, TDateTime NewTime)
{
    DateTime = ComposeDateTime(std::trunc(DateTime), std::fabs(NewTime - std::trunc(NewTime)));
}

void ReplaceDate(TDateTime& DateTime, TDateTime NewDate)
{
    TDateTime time = std::fabs(DateTime - std::trunc(DateTime));
    DateTime = ComposeDateTime(std::trunc(NewDate), time);
}

TDateTime IncMonth(TDateTime Date, int NumberOfMonths)
{
    int y, m, d;
    DecodeDate(Date, y, m, d);
    int64_t months = static_cast<int64_t>(y) * 12 + (m - 1) + NumberOfMonths;
    int64_t ny = months >= 0 ? months / 12 : (months - 11) / 12;
    int nm = static_cast<int>(months - ny * 12) + 1;
    if (ny < 1 || ny > 9999) ConvertError("Invalid argument to date encode");
    int year = static_cast<int>(ny);
    if (d > DaysInAMonth(year, nm)) d = DaysInAMonth(year, nm);
    TDateTime r = EncodeDate(year, nm, d);
    ReplaceTime(r, Date);
    return r;
}

} // namespace host
