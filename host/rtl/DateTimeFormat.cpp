// FormatDateTime and the routines built on it.
#include "host/rtl/SysUtils.h"

#include <cctype>
#include <cstring>

namespace host {

namespace {

// Nested formats (ddddd, c, t) may name each other; two levels are enough for
// every real format and stop a format that names itself.
constexpr int MaxNesting = 2;

bool StartsWithNoCase(const char* P, const char* Prefix)
{
    for (; *Prefix; ++P, ++Prefix)
        if (*P == '\0' || std::toupper(static_cast<unsigned char>(*P)) != *Prefix) return false;
    return true;
}

class TDateTimeFormatter {
public:
    explicit TDateTimeFormatter(TDateTime Value) : FValue(Value)
    {
        DecodeDate(Value, FYear, FMonth, FDay);
        DecodeTime(Value, FHour, FMin, FSec, FMSec);
    }

    std::string Run(const std::string& Format)
    {
        Append(Format.c_str());
        return FOut;
    }

private:
    void Number(int Value, int MinDigits)
    {
        std::string s = std::to_string(Value);
        if (static_cast<int>(s.size()) < MinDigits) s.insert(0, static_cast<size_t>(MinDigits) - s.size(), '0');
        FOut += s;
    }

    void Nested(const std::string& Format)
    {
        if (FLevel >= MaxNesting) return;
        ++FLevel;
        Append(Format.c_str());
        --FLevel;
    }

    // An h uses the 12-hour clock when an am/pm specifier follows it before
    // the next h (quoted text does not count).
    static bool Uses12Hour(const char* P)
    {
        char quote = 0;
        for (; *P; ++P) {
            if (quote) {
                if (*P == quote) quote = 0;
                continue;
            }
            if (*P == '\'' || *P == '"') quote = *P;
            else if (*P == 'h' || *P == 'H') return false;
            else if (*P == 'a' || *P == 'A')
                return StartsWithNoCase(P, "AM/PM") || StartsWithNoCase(P, "A/P") || StartsWithNoCase(P, "AMPM");
        }
        return false;
    }

    void AmPm(const char*& P)
    {
        bool pm = FHour >= 12;
        if (StartsWithNoCase(P, "AM/PM")) {
            FOut.append(P + (pm ? 3 : 0), 2);
            P += 5;
        } else if (StartsWithNoCase(P, "A/P")) {
            FOut += P[pm ? 2 : 0];
            P += 3;
        } else if (StartsWithNoCase(P, "AMPM")) {
            FOut += pm ? TimePMString : TimeAMString;
            P += 4;
        } else {
            FOut += *P++;
        }
    }

    void Append(const char* P)
    {
        char lastToken = ' ';
        while (*P) {
            char starter = *P;
            char token = static_cast<char>(std::toupper(static_cast<unsigned char>(starter)));
            if (token >= 'A' && token <= 'Z') {
                // m right after an h means minutes.
                if (token == 'M' && lastToken == 'H') token = 'N';
                lastToken = token;
            }
            if (token == 'A') {
                AmPm(P);
                continue;
            }
            const char* start = P;
            if (std::strchr("CDMYHNSZT", token) != nullptr) {
                while (*P && std::toupper(static_cast<unsigned char>(*P)) == std::toupper(static_cast<unsigned char>(starter)))
                    ++P;
            } else {
                ++P;
            }
            Token(token, static_cast<int>(P - start), starter, P);
        }
    }

    void Token(char Token, int Count, char Starter, const char*& P)
    {
        switch (Token) {
        case 'Y': Count <= 2 ? Number(FYear % 100, 2) : Number(FYear, 4); break;
        case 'M':
            if (Count <= 2) Number(FMonth, Count);
            else if (FMonth >= 1) FOut += Count == 3 ? ShortMonthNames[FMonth] : LongMonthNames[FMonth];
            break;
        case 'D': DayToken(Count); break;
        case 'H': {
            int h = FHour;
            if (Uses12Hour(P)) h = h == 0 ? 12 : h > 12 ? h - 12 : h;
            Number(h, Count > 2 ? 2 : Count);
            break;
        }
        case 'N': Number(FMin, Count > 2 ? 2 : Count); break;
        case 'S': Number(FSec, Count > 2 ? 2 : Count); break;
        case 'Z': Number(FMSec, Count <= 2 ? 1 : 3); break;
        case 'T': Nested(Count == 1 ? ShortTimeFormat : LongTimeFormat); break;
        case 'C':
            Nested(ShortDateFormat);
            if (FHour != 0 || FMin != 0 || FSec != 0) {
                FOut += ' ';
                Nested(LongTimeFormat);
            }
            break;
        case '/': if (DateSeparator != '\0') FOut += DateSeparator; break;
        case ':': if (TimeSeparator != '\0') FOut += TimeSeparator; break;
        case '\'':
        case '"': {
            const char* end = std::strchr(P, Starter);
            if (end == nullptr) end = P + std::strlen(P);
            FOut.append(P, static_cast<size_t>(end - P));
            P = *end ? end + 1 : end;
            break;
        }
        default: FOut += Starter; break;
        }
    }

    void DayToken(int Count)
    {
        switch (Count) {
        case 1:
        case 2: Number(FDay, Count); break;
        case 3:
        case 4:
            if (FDay >= 1) {
                int dow = DayOfWeek(FValue);
                FOut += Count == 3 ? ShortDayNames[dow] : LongDayNames[dow];
            }
            break;
        case 5: Nested(ShortDateFormat); break;
        default: Nested(LongDateFormat); break;
        }
    }

    TDateTime FValue;
    int FYear, FMonth, FDay, FHour, FMin, FSec, FMSec;
    int FLevel = 0;
    std::string FOut;
};

} // namespace

std::string FormatDateTime(const std::string& Format, TDateTime DateTime)
{
    return TDateTimeFormatter(DateTime).Run(Format.empty() ? "c" : Format);
}

void DateTimeToString(std::string& Result, const std::string& Format, TDateTime DateTime)
{
    Result = FormatDateTime(Format, DateTime);
}

std::string DateToStr(TDateTime Date) { return FormatDateTime("ddddd", Date); }

std::string TimeToStr(TDateTime Time) { return FormatDateTime("tt", Time); }

std::string DateTimeToStr(TDateTime DateTime) { return FormatDateTime("c", DateTime); }

} // namespace host
