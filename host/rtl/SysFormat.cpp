// Format: printf-like formatting over an array of typed arguments.
#include "host/rtl/SysUtils.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace host {

namespace {

// Keeps a hostile format ("%999999999d") from allocating gigabytes.
constexpr int MaxFieldWidth = 1 << 20;

struct TSpec {
    bool Left = false;
    int Width = 0;
    int Prec = -1;
    char Type = 0;
};

class TFormatter {
public:
    TFormatter(const std::string& Fmt, TVarRecs Args) : FFmt(Fmt), FArgs(Args.begin(), Args.end()) {}

    std::string Run()
    {
        size_t i = 0;
        while (i < FFmt.size()) {
            size_t pct = FFmt.find('%', i);
            if (pct == std::string::npos) {
                FOut.append(FFmt, i, std::string::npos);
                break;
            }
            FOut.append(FFmt, i, pct - i);
            i = pct + 1;
            if (i < FFmt.size() && FFmt[i] == '%') {
                FOut += '%';
                ++i;
                continue;
            }
            Directive(i);
        }
        return FOut;
    }

private:
    [[noreturn]] void Fail() const
    {
        ConvertErrorFmt("Format '%s' invalid or incompatible with argument", {FFmt});
    }

    const TVarRec& NextArg()
    {
        if (FArgIndex < 0 || FArgIndex >= static_cast<int>(FArgs.size())) Fail();
        return FArgs[static_cast<size_t>(FArgIndex++)];
    }

    // Reads a number or '*' into V; false when there is neither.
    bool Number(size_t& I, int& V)
    {
        if (I < FFmt.size() && FFmt[I] == '*') {
            ++I;
            const TVarRec& a = NextArg();
            if (a.GetKind() != TVarRec::Kind::Integer) Fail();
            int64_t v = a.AsInteger();
            if (v > MaxFieldWidth || v < -MaxFieldWidth) Fail();
            V = static_cast<int>(v);
            return true;
        }
        if (I >= FFmt.size() || FFmt[I] < '0' || FFmt[I] > '9') return false;
        int64_t v = 0;
        for (; I < FFmt.size() && FFmt[I] >= '0' && FFmt[I] <= '9'; ++I) {
            v = v * 10 + (FFmt[I] - '0');
            if (v > MaxFieldWidth) Fail();
        }
        V = static_cast<int>(v);
        return true;
    }

    TSpec ParseSpec(size_t& I)
    {
        TSpec s;
        int n = 0;
        bool haveNumber = Number(I, n);
        if (haveNumber && I < FFmt.size() && FFmt[I] == ':') {
            if (n < 0) Fail();
            FArgIndex = n;
            ++I;
            haveNumber = false;
        }
        if (!haveNumber) {
            if (I < FFmt.size() && FFmt[I] == '-') {
                s.Left = true;
                ++I;
            }
            haveNumber = Number(I, n);
        }
        if (haveNumber) s.Width = n;
        if (s.Width < 0) {
            // A negative width from '*' left-justifies.
            s.Left = true;
            s.Width = -s.Width;
        }
        if (I < FFmt.size() && FFmt[I] == '.') {
            ++I;
            int p = 0;
            s.Prec = Number(I, p) ? std::max(p, 0) : 0;
        }
        if (I >= FFmt.size()) Fail();
        s.Type = static_cast<char>(FFmt[I] >= 'a' && FFmt[I] <= 'z' ? FFmt[I] - 32 : FFmt[I]);
        ++I;
        return s;
    }

    void Directive(size_t& I)
    {
        TSpec s = ParseSpec(I);
        std::string text = Convert(s, NextArg());
        int pad = s.Width - static_cast<int>(text.size());
        if (pad <= 0) FOut += text;
        else if (s.Left) FOut += text + std::string(static_cast<size_t>(pad), ' ');
        else FOut += std::string(static_cast<size_t>(pad), ' ') + text;
    }

    std::string Convert(const TSpec& S, const TVarRec& A)
    {
        using K = TVarRec::Kind;
        switch (S.Type) {
        case 'D':
        case 'U':
        case 'X':
            if (A.GetKind() != K::Integer) Fail();
            return IntegerText(S, A.AsInteger());
        case 'E':
        case 'F':
        case 'G':
        case 'N':
        case 'M':
            if (A.GetKind() != K::Extended) Fail();
            return FloatText(S, A.AsExtended());
        case 'S':
            if (A.GetKind() != K::String && A.GetKind() != K::Char) Fail();
            return S.Prec >= 0 ? A.AsString().substr(0, static_cast<size_t>(S.Prec)) : A.AsString();
        case 'C':
            if (A.GetKind() != K::Char) Fail();
            return A.AsString();
        case 'P': {
            if (A.GetKind() != K::Pointer) Fail();
            char buf[32];
            std::snprintf(buf, sizeof buf, "%0*llX", static_cast<int>(sizeof(void*) * 2),
                          static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(A.AsPointer())));
            return buf;
        }
        default: Fail();
        }
    }

    static std::string IntegerText(const TSpec& S, int64_t V)
    {
        std::string digits;
        bool negative = false;
        if (S.Type == 'D') {
            negative = V < 0;
            uint64_t mag = negative ? 0 - static_cast<uint64_t>(V) : static_cast<uint64_t>(V);
            digits = std::to_string(mag);
        } else {
            // Negative 32-bit values show as their 32-bit two's complement.
            uint64_t u = V < 0 && V >= INT32_MIN ? static_cast<uint32_t>(V) : static_cast<uint64_t>(V);
            char buf[32];
            std::snprintf(buf, sizeof buf, S.Type == 'X' ? "%llX" : "%llu", static_cast<unsigned long long>(u));
            digits = buf;
        }
        if (static_cast<int>(digits.size()) < S.Prec) digits.insert(0, static_cast<size_t>(S.Prec) - digits.size(), '0');
        return negative ? "-" + digits : digits;
    }

    static std::string FloatText(const TSpec& S, double V)
    {
        switch (S.Type) {
        case 'E': return FloatToStrF(V, ffExponent, S.Prec < 0 ? 15 : S.Prec, 3);
        case 'G': return FloatToStrF(V, ffGeneral, S.Prec < 0 ? 15 : S.Prec, 0);
        case 'F': return FloatToStrF(V, ffFixed, 18, S.Prec < 0 ? 2 : S.Prec);
        case 'N': return FloatToStrF(V, ffNumber, 18, S.Prec < 0 ? 2 : S.Prec);
        default: return FloatToStrF(V, ffCurrency, 18, S.Prec < 0 ? CurrencyDecimals : S.Prec);
        }
    }

    const std::string& FFmt;
    std::vector<TVarRec> FArgs;
    int FArgIndex = 0;
    std::string FOut;
};

} // namespace

std::string Format(const std::string& Fmt, TVarRecs Args) { return TFormatter(Fmt, Args).Run(); }

void FmtStr(std::string& Result, const std::string& Fmt, TVarRecs Args) { Result = Format(Fmt, Args); }

void ConvertError(const std::string& Msg) { throw EConvertError(Msg); }

void ConvertErrorFmt(const std::string& Fmt, TVarRecs Args) { throw EConvertError(Format(Fmt, Args)); }

} // namespace host
