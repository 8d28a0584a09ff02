// FormatFloat: picture formats of digit placeholders.
#include "host/rtl/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace host {

namespace {

struct TToken {
    enum class TKind { Zero, Hash, Point, Literal, Exponent } Kind;
    std::string Text;     // Literal text, or "E+" / "e-" for an exponent
    int ExpDigits = 0;
};

struct TPicture {
    std::vector<TToken> Tokens;
    bool Thousands = false;
    bool Scientific = false;
    int IntSlots = 0;
    int MinInt = 0;    // integer digits always shown ('0' from the first one on)
    int DecSlots = 0;
    int MinDec = 0;    // decimals always shown (up to the last '0')
};

std::vector<std::string> SplitSections(const std::string& Format)
{
    std::vector<std::string> sections(1);
    char quote = 0;
    for (char c : Format) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

void AddLiteral(TPicture& P, const std::string& Text)
{
    if (!P.Tokens.empty() && P.Tokens.back().Kind == TToken::TKind::Literal) P.Tokens.back().Text += Text;
    else P.Tokens.push_back({TToken::TKind::Literal, Text});
}

TPicture ParsePicture(const std::string& S)
{
    TPicture p;
    bool afterPoint = false;
    int firstZero = -1;
    for (size_t i = 0; i < S.size(); ++i) {
        char c = S[i];
        if (c == '"' || c == '\'') {
            size_t end = S.find(c, i + 1);
            if (end == std::string::npos) end = S.size();
            AddLiteral(p, S.substr(i + 1, end - i - 1));
            i = end;
        } else if ((c == '0' || c == '#') && !p.Scientific) {
            p.Tokens.push_back({c == '0' ? TToken::TKind::Zero : TToken::TKind::Hash, ""});
            if (afterPoint) {
                ++p.DecSlots;
                if (c == '0') p.MinDec = p.DecSlots;
            } else {
                if (c == '0' && firstZero < 0) firstZero = p.IntSlots;
                ++p.IntSlots;
            }
        } else if (c == '.' && !afterPoint && !p.Scientific) {
            afterPoint = true;
            p.Tokens.push_back({TToken::TKind::Point, ""});
        } else if (c == '.') {
            // Only the first point counts; later ones are dropped.
        } else if (c == ',') {
            p.Thousands = true;
        } else if ((c == 'E' || c == 'e') && i + 1 < S.size() && (S[i + 1] == '+' || S[i + 1] == '-')
                   && !p.Scientific) {
            TToken t{TToken::TKind::Exponent, S.substr(i, 2)};
            i += 2;
            while (i < S.size() && S[i] == '0') {
                ++t.ExpDigits;
                ++i;
            }
            --i;
            t.ExpDigits = std::min(t.ExpDigits, 4);
            p.Tokens.push_back(t);
            p.Scientific = true;
        } else {
            AddLiteral(p, std::string(1, c));
        }
    }
    p.MinInt = firstZero < 0 ? 0 : p.IntSlots - firstZero;
    return p;
}

struct TDigits {
    std::string Int;
    std::string Frac;
    int Exponent = 0;
    bool Zero = true;
};

void TrimFraction(std::string& Frac, int MinDec)
{
    while (static_cast<int>(Frac.size()) > MinDec && Frac.back() == '0') Frac.pop_back();
}

TDigits FixedDigits(const TPicture& P, double Value)
{
    TDigits d;
    TFloatRec r = FloatToDecimal(Value, 18, P.DecSlots);
    d.Zero = r.Digits.empty();
    int e = d.Zero ? 0 : r.Exponent;
    for (int i = 0; i < e; ++i) d.Int += i < static_cast<int>(r.Digits.size()) ? r.Digits[static_cast<size_t>(i)] : '0';
    for (int i = 0; i < P.DecSlots; ++i) {
        int k = e + i;
        d.Frac += k >= 0 && k < static_cast<int>(r.Digits.size()) ? r.Digits[static_cast<size_t>(k)] : '0';
    }
    if (static_cast<int>(d.Int.size()) < P.MinInt) d.Int.insert(0, static_cast<size_t>(P.MinInt) - d.Int.size(), '0');
    TrimFraction(d.Frac, P.MinDec);
    return d;
}

TDigits ScientificDigits(const TPicture& P, double Value)
{
    TDigits d;
    int precision = std::clamp(P.IntSlots + P.DecSlots, 1, 18);
    TFloatRec r = FloatToDecimal(Value, precision, 9999);
    d.Zero = r.Digits.empty();
    std::string all = r.Digits;
    all.append(static_cast<size_t>(precision) - all.size(), '0');
    size_t intCount = std::min<size_t>(static_cast<size_t>(P.IntSlots), all.size());
    d.Int = all.substr(0, intCount);
    d.Frac = all.substr(intCount);
    d.Exponent = d.Zero ? 0 : r.Exponent - P.IntSlots;
    if (d.Zero) {
        while (static_cast<int>(d.Int.size()) > P.MinInt && !d.Int.empty()) d.Int.erase(0, 1);
    }
    TrimFraction(d.Frac, P.MinDec);
    return d;
}

class TPictureWriter {
public:
    TPictureWriter(const TPicture& P, const TDigits& D) : FP(P), FD(D) {}

    std::string Write()
    {
        for (const TToken& t : FP.Tokens) {
            switch (t.Kind) {
            case TToken::TKind::Zero:
            case TToken::TKind::Hash: WriteSlot(); break;
            case TToken::TKind::Point:
                FlushInteger();
                if (!FD.Frac.empty()) FOut += DecimalSeparator;
                break;
            case TToken::TKind::Literal: FOut += t.Text; break;
            case TToken::TKind::Exponent: WriteExponent(t); break;
            }
        }
        FlushInteger();
        return FOut;
    }

private:
    void WriteSlot()
    {
        if (FIntSlot < FP.IntSlots && !FPastPoint()) {
            // Slots are right-aligned with the digits; the first slot also takes
            // every digit beyond the number of slots.
            int lead = static_cast<int>(FD.Int.size()) - FP.IntSlots;
            int pos = FIntSlot + lead;
            if (FIntSlot == 0)
                for (int k = 0; k < lead; ++k) EmitIntDigit(k);
            if (pos >= 0) EmitIntDigit(pos);
            ++FIntSlot;
            if (FIntSlot == FP.IntSlots) FIntDone = true;
            return;
        }
        FlushInteger();
        if (FDecSlot < static_cast<int>(FD.Frac.size())) FOut += FD.Frac[static_cast<size_t>(FDecSlot)];
        ++FDecSlot;
    }

    bool FPastPoint() const { return FIntDone; }

    void EmitIntDigit(int Pos)
    {
        FOut += FD.Int[static_cast<size_t>(Pos)];
        int after = static_cast<int>(FD.Int.size()) - 1 - Pos;
        if (FP.Thousands && after > 0 && after % 3 == 0 && ThousandSeparator != '\0') FOut += ThousandSeparator;
    }

    // Integer digits not yet written because the picture has no integer slots.
    void FlushInteger()
    {
        if (FIntDone) return;
        FIntDone = true;
        for (int k = 0; k < static_cast<int>(FD.Int.size()); ++k) EmitIntDigit(k);
    }

    void WriteExponent(const TToken& T)
    {
        FlushInteger();
        FOut += T.Text[0];
        if (FD.Exponent < 0) FOut += '-';
        else if (T.Text[1] == '+') FOut += '+';
        std::string n = std::to_string(std::abs(FD.Exponent));
        if (static_cast<int>(n.size()) < T.ExpDigits) n.insert(0, static_cast<size_t>(T.ExpDigits) - n.size(), '0');
        FOut += n;
    }

    const TPicture& FP;
    const TDigits& FD;
    std::string FOut;
    int FIntSlot = 0;
    int FDecSlot = 0;
    bool FIntDone = false;
};

struct TSectionResult {
    std::string Text;
    bool Zero;
};

// Formats the magnitude of Value; the caller decides about the sign.
TSectionResult FormatSection(const std::string& Section, double Value)
{
    TPicture p = ParsePicture(Section);
    if (p.IntSlots == 0 && p.DecSlots == 0) {
        std::string out;
        for (const TToken& t : p.Tokens)
            if (t.Kind == TToken::TKind::Literal) out += t.Text;
        return {out, false};
    }
    TDigits d = p.Scientific ? ScientificDigits(p, std::fabs(Value)) : FixedDigits(p, std::fabs(Value));
    return {TPictureWriter(p, d).Write(), d.Zero};
}

bool HasPlaceholders(const std::string& Section)
{
    TPicture p = ParsePicture(Section);
    return p.IntSlots + p.DecSlots > 0;
}

} // namespace

std::string FormatFloat(const std::string& Format, double Value)
{
    if (Format.empty() || !std::isfinite(Value)) return FloatToStr(Value);
    std::vector<std::string> sections = SplitSections(Format);
    auto usable = [&](size_t i) { return i < sections.size() && !sections[i].empty(); };

    if (Value == 0 && usable(2)) return FormatSection(sections[2], 0).Text;
    if (Value < 0 && usable(1)) {
        TSectionResult r = FormatSection(sections[1], Value);
        if (!r.Zero) return r.Text;
    } else {
        TSectionResult r = FormatSection(sections[0], Value);
        if (!r.Zero) return Value < 0 && HasPlaceholders(sections[0]) ? "-" + r.Text : r.Text;
    }
    // The value rounds to zero in its section: it shows as zero, never as "-0".
    if (usable(2)) return FormatSection(sections[2], 0).Text;
    return FormatSection(sections[0], 0).Text;
}

} // namespace host
