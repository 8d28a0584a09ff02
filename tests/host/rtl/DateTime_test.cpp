#include "host/rtl/SysUtils.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace host;

TEST(DateTime, EncodeKnownDates)
{
    struct {
        int Y, M, D;
        double Expected;
    } cases[] = {
        {1899, 12, 30, 0},   {1899, 12, 29, -1},    {1900, 1, 1, 2},         {2000, 1, 1, 36526},
        {2000, 2, 29, 36585}, {1, 1, 1, -693593},   {9999, 12, 31, 2958465}, {1970, 1, 1, 25569},
    };
    for (const auto& c : cases) EXPECT_EQ(EncodeDate(c.Y, c.M, c.D), c.Expected) << c.Y << "-" << c.M << "-" << c.D;
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), (MSecsPerDay - 1.0) / MSecsPerDay);
}

TEST(DateTime, EncodeRejectsInvalidArguments)
{
    int dates[][3] = {{2001, 2, 29}, {1900, 2, 29}, {0, 1, 1}, {10000, 1, 1}, {2000, 13, 1}, {2000, 0, 1}, {2000, 4, 31}, {2000, 1, 0}};
    for (auto& d : dates) {
        TDateTime v = 123;
        EXPECT_FALSE(TryEncodeDate(d[0], d[1], d[2], v));
        EXPECT_EQ(v, 123);
        try {
            EncodeDate(d[0], d[1], d[2]);
            ADD_FAILURE() << d[0] << "-" << d[1] << "-" << d[2];
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.GetMessage(), "Invalid argument to date encode");
        }
    }
    int times[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}};
    for (auto& t : times) {
        try {
            EncodeTime(t[0], t[1], t[2], t[3]);
            ADD_FAILURE() << t[0] << ":" << t[1] << ":" << t[2] << "." << t[3];
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.GetMessage(), "Invalid argument to time encode");
        }
    }
}

TEST(DateTime, DecodeRoundTripsEveryEra)
{
    for (int day = -693593; day <= 2958465; day += 997) {
        int y, m, d;
        DecodeDate(day, y, m, d);
        ASSERT_EQ(EncodeDate(y, m, d), day) << y << "-" << m << "-" << d;
    }
    for (int y : {1600, 1700, 1900, 2000, 2023, 2024}) {
        for (int m = 1; m <= 12; ++m) {
            int dy, dm, dd;
            DecodeDate(EncodeDate(y, m, DaysInAMonth(y, m)), dy, dm, dd);
            EXPECT_EQ(dy * 10000 + dm * 100 + dd, y * 10000 + m * 100 + DaysInAMonth(y, m));
        }
    }
}

TEST(DateTime, NegativeDatesAddTheirTime)
{
    int y, m, d, h, n, s, ms;
    DecodeDateTime(-1.25, y, m, d, h, n, s, ms);
    EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
    EXPECT_EQ(h, 6);
    EXPECT_EQ(ComposeDateTime(EncodeDate(1899, 12, 29), EncodeTime(6, 0, 0, 0)), -1.25);
    EXPECT_EQ(ComposeDateTime(EncodeDate(2000, 1, 1), EncodeTime(6, 0, 0, 0)), 36526.25);
    // Just before midnight rounds into the next day, never to hour 24.
    DecodeDateTime(1.0 - 1e-10, y, m, d, h, n, s, ms);
    EXPECT_EQ(y * 10000 + m * 100 + d, 18991231);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 0);
    EXPECT_THROW(DecodeDate(std::nan(""), y, m, d), EInvalidOp);
    EXPECT_THROW(DecodeDate(1e300, y, m, d), EInvalidOp);
}

TEST(DateTime, CalendarFacts)
{
    EXPECT_EQ(DayOfWeek(0), 7);                         // 1899-12-30 was a Saturday
    EXPECT_EQ(DayOfWeek(-1), 6);
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 8)), 3);   // a Tuesday
    EXPECT_EQ(DayOfWeek(EncodeDate(2000, 1, 2) + 0.9), 1);
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_EQ(MonthDays[true][2], 29);
    EXPECT_EQ(MonthDays[false][2], 28);
}

TEST(DateTime, IncMonthClampsTheDayAndKeepsTheTime)
{
    struct {
        int Y, M, D, Add, EY, EM, ED;
    } cases[] = {
        {2000, 1, 31, 1, 2000, 2, 29}, {2001, 1, 31, 1, 2001, 2, 28}, {2000, 3, 15, -3, 1999, 12, 15},
        {2000, 3, 15, 12, 2001, 3, 15}, {2000, 3, 31, -13, 1999, 2, 28}, {2000, 12, 1, 1, 2001, 1, 1},
        {2000, 1, 1, -1, 1999, 12, 1},
    };
    for (const auto& c : cases) {
        TDateTime r = IncMonth(EncodeDate(c.Y, c.M, c.D) + 0.5, c.Add);
        EXPECT_EQ(r, EncodeDate(c.EY, c.EM, c.ED) + 0.5) << c.Y << "-" << c.M << "-" << c.D << " + " << c.Add;
    }
    TDateTime v = EncodeDate(2000, 1, 1) + 0.25;
    ReplaceTime(v, 0.75);
    EXPECT_EQ(v, EncodeDate(2000, 1, 1) + 0.75);
    ReplaceDate(v, EncodeDate(1899, 12, 29));
    EXPECT_EQ(v, -1.75);
}

TEST(FormatDateTime, EveryLetter)
{
    TFormatSettingsGuard settings;
    TDateTime v = EncodeDate(2007, 3, 4) + EncodeTime(13, 5, 9, 7);  // a Sunday afternoon
    struct {
        const char* Format;
        const char* Expected;
    } cases[] = {
        {"d", "4"},          {"dd", "04"},           {"ddd", "Sun"},        {"dddd", "Sunday"},
        {"ddddd", "3/4/2007"}, {"dddddd", "Sunday, March 04, 2007"},      {"m", "3"},
        {"mm", "03"},        {"mmm", "Mar"},         {"MMMM", "March"},     {"yy", "07"},
        {"y", "07"},         {"yyyy", "2007"},       {"h", "13"},           {"hh", "13"},
        {"h:m", "13:5"},     {"hh:mm", "13:05"},     {"n", "5"},            {"nn", "05"},
        {"s", "9"},          {"ss", "09"},           {"z", "7"},            {"zzz", "007"},
        {"t", "1:05 PM"},    {"tt", "1:05:09 PM"},   {"c", "3/4/2007 1:05:09 PM"},
        {"", "3/4/2007 1:05:09 PM"},                 {"h am/pm", "1 pm"},   {"h AM/PM", "1 PM"},
        {"h a/p", "1 p"},    {"h A/P", "1 P"},       {"hh ampm", "01 PM"},  {"hh \"am/pm\" ampm", "01 am/pm PM"},
        {"'mm' mm", "mm 03"}, {"\"d\"d", "d4"},      {"yyyy/mm/dd", "2007/03/04"},
        {"hh:nn:ss", "13:05:09"},                    {"m/d h:m", "3/4 13:5"}, {"hh\"h\"mm", "13h05"},
        {"h:mm 'x' m", "13:05 x 3"},                 {"'unterminated", "unterminated"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.Format, v), c.Expected) << c.Format;
}

TEST(FormatDateTime, TwelveHourClockAndSettings)
{
    TFormatSettingsGuard settings;
    EXPECT_EQ(FormatDateTime("h:mm am/pm", EncodeTime(0, 30, 0, 0)), "12:30 am");
    EXPECT_EQ(FormatDateTime("h:mm am/pm", EncodeTime(12, 0, 0, 0)), "12:00 pm");
    EXPECT_EQ(FormatDateTime("h:mm am/pm", EncodeTime(11, 59, 0, 0)), "11:59 am");
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2007, 3, 4)), "3/4/2007");
    EXPECT_EQ(DateToStr(-1.25), "12/29/1899");
    EXPECT_EQ(TimeToStr(-1.25), "6:00:00 AM");
    EXPECT_EQ(DateTimeToStr(-1.25), "12/29/1899 6:00:00 AM");

    DateSeparator = '-';
    TimeSeparator = '.';
    TimeAMString = "vorm.";
    TimePMString = "nachm.";
    ShortDateFormat = "dd/mm/yyyy";
    LongTimeFormat = "hh:nn:ss";
    LongMonthNames[3] = "Maerz";
    EXPECT_EQ(DateTimeToStr(EncodeDate(2007, 3, 4) + EncodeTime(9, 5, 0, 0)), "04-03-2007 09.05.00");
    EXPECT_EQ(FormatDateTime("mmmm h ampm", EncodeDate(2007, 3, 4) + 0.75), "Maerz 6 nachm.");

    // A format that names itself stops instead of recursing forever.
    ShortDateFormat = "c";
    EXPECT_NO_THROW(FormatDateTime("c", 1.5));
}

TEST(StrToDate, FollowsTheShortDateFormatOrder)
{
    TFormatSettingsGuard settings;
    TVirtualClock clock(EncodeDate(2026, 6, 15));
    TClockOverride use(clock);
    struct {
        const char* Format;
        char Separator;
        int Window;
        const char* Text;
        int Y, M, D;
    } cases[] = {
        {"M/d/yyyy", '/', 0, "3/4/2007", 2007, 3, 4},
        {"M/d/yyyy", '/', 0, " 12 / 31 / 1999 ", 1999, 12, 31},
        {"d/M/yyyy", '/', 0, "3/4/2007", 2007, 4, 3},
        {"yyyy-MM-dd", '-', 0, "2007-03-04", 2007, 3, 4},
        {"dd.MM.yyyy", '.', 0, "04.03.2007", 2007, 3, 4},
        {"M/d/yyyy", '/', 0, "3/4", 2026, 3, 4},
        {"d/M/yyyy", '/', 0, "3/4", 2026, 4, 3},
        {"yyyy/M/d", '/', 0, "3/4", 2026, 3, 4},
        {"M/d/yy", '/', 0, "3/4/07", 2007, 3, 4},
        {"M/d/yy", '/', 0, "3/4/99", 2099, 3, 4},
        {"M/d/yy", '/', 50, "3/4/80", 1980, 3, 4},
        {"M/d/yy", '/', 50, "3/4/76", 1976, 3, 4},
        {"M/d/yy", '/', 50, "3/4/75", 2075, 3, 4},
        {"M/d/yy", '/', 0, "3/4/0007", 7, 3, 4},
        {"yy/M/d", '/', 0, "07/3/4", 2007, 3, 4},
        {"M/d/yyyy", '/', 0, "2007-03-04", 2007, 3, 4},
        {"dd.MM.yyyy", '.', 0, "2007-3-4", 2007, 3, 4},
    };
    for (const auto& c : cases) {
        ShortDateFormat = c.Format;
        DateSeparator = c.Separator;
        TwoDigitYearCenturyWindow = c.Window;
        TDateTime v = -1;
        ASSERT_TRUE(TryStrToDate(c.Text, v)) << c.Text << " as " << c.Format;
        EXPECT_EQ(v, EncodeDate(c.Y, c.M, c.D)) << c.Text << " as " << c.Format;
    }
}

TEST(StrToDate, RejectsWhatIsNoDate)
{
    TFormatSettingsGuard settings;
    for (const char* text : {"", "3", "3/", "2/30/2007", "13/1/2007", "3/4/2007x", "3-4-2007", "3/4/12345",
                             "a/b/c", "3//4", "0/1/2000",
                             "07-03-04", "2007-02-30", "2007-03"}) {
        TDateTime v;
        EXPECT_FALSE(TryStrToDate(text, v)) << text;
    }
    try {
        StrToDate("31/31/2000");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.GetMessage(), "'31/31/2000' is not a valid date");
    }
}

TEST(StrToTime, HoursMinutesSecondsAndAmPm)
{
    TFormatSettingsGuard settings;
    struct {
        const char* Text;
        bool Valid;
        int H, N, S;
    } cases[] = {
        {"13:05", true, 13, 5, 0},   {"1:05 PM", true, 13, 5, 0},  {"1:05:09 pm", true, 13, 5, 9},
        {"12:00 AM", true, 0, 0, 0}, {"12:30 PM", true, 12, 30, 0}, {"PM 1:05", true, 13, 5, 0},
        {" 9:00 ", true, 9, 0, 0},   {"13:05 PM", false, 0, 0, 0}, {"0:05 AM", false, 0, 0, 0},
        {"25:00", false, 0, 0, 0},   {"12", false, 0, 0, 0},       {"12:60", false, 0, 0, 0},
        {"1:05 XM", false, 0, 0, 0}, {"", false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        TDateTime v = -1;
        EXPECT_EQ(TryStrToTime(c.Text, v), c.Valid) << c.Text;
        if (c.Valid) {
            EXPECT_EQ(v, EncodeTime(c.H, c.N, c.S, 0)) << c.Text;
        }
    }
    EXPECT_THROW(StrToTime("x"), EConvertError);
}

TEST(StrToDateTime, RoundTripsThroughText)
{
    TFormatSettingsGuard settings;
    EXPECT_EQ(StrToDateTime("2007-03-04 13:05"), EncodeDate(2007, 3, 4) + EncodeTime(13, 5, 0, 0));
    for (TDateTime v : {EncodeDate(2007, 3, 4) + EncodeTime(13, 5, 9, 0), EncodeDate(1950, 12, 31),
                        ComposeDateTime(EncodeDate(1850, 1, 2), EncodeTime(23, 59, 58, 0)), 0.5}) {
        EXPECT_EQ(StrToDateTime(DateTimeToStr(v)), v) << DateTimeToStr(v);
        EXPECT_EQ(StrToDate(DateToStr(v)), std::trunc(v)) << DateToStr(v);
    }
    try {
        StrToDateTime("3/4/2007 x");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.GetMessage(), "'3/4/2007 x' is not a valid date and time");
    }
}
