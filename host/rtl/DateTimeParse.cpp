// StrToDate, StrToTime and StrToDateTime.
#include "host/rtl/SysUtils.h"

#include <cctype>

namespace host {

namespace {

enum class TDateOrder { MDY, DMY, YMD };

// The order of the first day, month or year letter in ShortDateFormat.
TDateOrder GetDateOrder(const std::string& Format)
{
    for (char c : Format) {
        switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'D': return TDateOrder::DMY;
        case 'Y': return TDateOrder::YMD;
        case 'M': return TDateOrder::MDY;
        default: break;
        }
    }
    return TDateOrder::MDY;
}

class TScanner {
public:
    explicit TScanner(const std::string& S) : FS(S) {}

    bool AtEnd() const { return FPos >= FS.size(); }

    void Blanks()
    {
        while (FPos < FS.size() && FS[FPos] == ' ') ++FPos;
    }

    // Up to four digits; Digits tells how many there were.
    bool Number(int& Value, int& Digits)
    {
        Blanks();
        size_t start = FPos;
        int v = 0;
        while (FPos < FS.size() && std::isdigit(static_cast<unsigned char>(FS[FPos]))) {
            if (FPos - start == 4) return false;
            v = v * 10 + (FS[FPos++] - '0');
        }
        Digits = static_cast<int>(FPos - start);
        Value = v;
        return Digits > 0;
    }

    bool Char(char C)
    {
        Blanks();
        if (FPos < FS.size() && FS[FPos] == C) {
            ++FPos;
            return true;
        }
        return false;
    }

    bool Text(const std::string& T)
    {
        Blanks();
        if (T.empty() || FS.size() - FPos < T.size()) return false;
        if (!SameText(FS.substr(FPos, T.size()), T)) return false;
        FPos += T.size();
        return true;
    }

    size_t GetPos() const { return FPos; }
    void SetPos(size_t P) { FPos = P; }

private:
    const std::string& FS;
    size_t FPos = 0;
};

int CurrentYear()
{
    int y, m, d;
    DecodeDate(Now(), y, m, d);
    return y;
}

// Two-digit years land in the current century, or with a window of N years
// in the hundred years that start N years before the current one.
int ExpandYear(int Year, int Digits)
{
    if (Year > 99 || Digits > 2) return Year;
    int base = CurrentYear() - TwoDigitYearCenturyWindow;
    Year += base / 100 * 100;
    if (TwoDigitYearCenturyWindow > 0 && Year < base) Year += 100;
    return Year;
}

// yyyy-mm-dd, which is read in every locale: data files and filter texts
// carry dates that way whatever the user's settings are.
bool ScanIsoDate(TScanner& Sc, TDateTime& Value)
{
    int y, m, d, ly, lm, ld;
    if (!Sc.Number(y, ly) || ly != 4 || !Sc.Char('-') || !Sc.Number(m, lm) || !Sc.Char('-') || !Sc.Number(d, ld))
        return false;
    return TryEncodeDate(y, m, d, Value);
}

bool ScanLocaleDate(TScanner& Sc, TDateTime& Value)
{
    int n1, n2, n3, l1, l2, l3;
    if (!Sc.Number(n1, l1) || !Sc.Char(DateSeparator) || !Sc.Number(n2, l2)) return false;
    TDateOrder order = GetDateOrder(ShortDateFormat);
    int y, m, d;
    size_t save = Sc.GetPos();
    if (Sc.Char(DateSeparator) && Sc.Number(n3, l3)) {
        switch (order) {
        case TDateOrder::MDY: y = ExpandYear(n3, l3), m = n1, d = n2; break;
        case TDateOrder::DMY: y = ExpandYear(n3, l3), m = n2, d = n1; break;
        default: y = ExpandYear(n1, l1), m = n2, d = n3; break;
        }
    } else {
        Sc.SetPos(save);
        y = CurrentYear();
        if (order == TDateOrder::DMY) d = n1, m = n2;
        else m = n1, d = n2;
    }
    return TryEncodeDate(y, m, d, Value);
}

bool ScanDate(TScanner& Sc, TDateTime& Value)
{
    size_t start = Sc.GetPos();
    if (ScanLocaleDate(Sc, Value)) return true;
    Sc.SetPos(start);
    return ScanIsoDate(Sc, Value);
}

bool ScanAmPm(TScanner& Sc, int& BaseHour)
{
    if (Sc.Text(TimeAMString) || Sc.Text("AM")) BaseHour = 0;
    else if (Sc.Text(TimePMString) || Sc.Text("PM")) BaseHour = 12;
    else return false;
    return true;
}

bool ScanTime(TScanner& Sc, TDateTime& Value)
{
    int baseHour = -1;
    ScanAmPm(Sc, baseHour);
    int hour, min, sec = 0, msec = 0, digits;
    if (!Sc.Number(hour, digits) || !Sc.Char(TimeSeparator) || !Sc.Number(min, digits)) return false;
    if (Sc.Char(TimeSeparator)) {
        if (!Sc.Number(sec, digits)) return false;
        if (Sc.Char(DecimalSeparator) && !Sc.Number(msec, digits)) return false;
    }
    if (baseHour < 0) ScanAmPm(Sc, baseHour);
    if (baseHour >= 0) {
        if (hour == 0 || hour > 12) return false;
        if (hour == 12) hour = 0;
        hour += baseHour;
    }
    Sc.Blanks();
    return TryEncodeTime(hour, min, sec, msec, Value);
}

} // namespace

bool TryStrToDate(const std::string& S, TDateTime& Value)
{
    TScanner sc(S);
    TDateTime d;
    if (!ScanDate(sc, d)) return false;
    sc.Blanks();
    if (!sc.AtEnd()) return false;
    Value = d;
    return true;
}

bool TryStrToTime(const std::string& S, TDateTime& Value)
{
    TScanner sc(S);
    TDateTime t;
    if (!ScanTime(sc, t) || !sc.AtEnd()) return false;
    Value = t;
    return true;
}

bool TryStrToDateTime(const std::string& S, TDateTime& Value)
{
    TScanner sc(S);
    TDateTime d, t = 0;
    if (!ScanDate(sc, d)) return false;
    sc.Blanks();
    if (!sc.AtEnd() && (!ScanTime(sc, t) || !sc.AtEnd())) return false;
    Value = ComposeDateTime(d, t);
    return true;
}

TDateTime StrToDate(const std::string& S)
{
    TDateTime v;
    if (!TryStrToDate(S, v)) ConvertErrorFmt("'%s' is not a valid date", {S});
    return v;
}

TDateTime StrToTime(const std::string& S)
{
    TDateTime v;
    if (!TryStrToTime(S, v)) ConvertErrorFmt("'%s' is not a valid time", {S});
    return v;
}

TDateTime StrToDateTime(const std::string& S)
{
    TDateTime v;
    if (!TryStrToDateTime(S, v)) ConvertErrorFmt("'%s' is not a valid date and time", {S});
    return v;
}

} // namespace host
