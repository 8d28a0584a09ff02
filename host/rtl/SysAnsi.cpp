// Letters beyond ASCII: case mapping and dictionary order over UTF-8 text.
// Every letter handled here is a two-byte UTF-8 sequence whose other case is
// two bytes too, so mapping never changes lengths or positions.
#include "host/rtl/SysUtils.h"

#include <algorithm>


namespace host {

namespace {

bool IsLowerCp(uint32_t C);

uint32_t UpperCp(uint32_t C)
{
    if (C >= 'a' && C <= 'z') return C - 32;
    if (C < 0x80) return C;
    if (C >= 0xE0 && C <= 0xFE && C != 0xF7) return C - 0x20;
    if (C == 0xFF) return 0x178;
    if ((C >= 0x100 && C <= 0x12F) || (C >= 0x132 && C <= 0x137) || (C >= 0x14A && C <= 0x177))
        return C & ~1u;
    if ((C >= 0x139 && C <= 0x148) || (C >= 0x179 && C <= 0x17E)) return (C & 1u) ? C : C - 1;
    if (C >= 0x3B1 && C <= 0x3C9) return C == 0x3C2 ? 0x3A3 : C - 0x20;
    if (C == 0x3AC) return 0x386;
    if (C >= 0x3AD && C <= 0x3AF) return C - 0x25;
    if (C == 0x3CC) return 0x38C;
    if (C == 0x3CD || C == 0x3CE) return C - 0x3F;
    if (C >= 0x430 && C <= 0x44F) return C - 0x20;
    if (C >= 0x450 && C <= 0x45F) return C - 0x50;
    return C;
}

uint32_t LowerCp(uint32_t C)
{
    if (C >= 'A' && C <= 'Z') return C + 32;
    if (C < 0x80) return C;
    if (C >= 0xC0 && C <= 0xDE && C != 0xD7) return C + 0x20;
    if (C == 0x178) return 0xFF;
    if ((C >= 0x100 && C <= 0x12F) || (C >= 0x132 && C <= 0x137) || (C >= 0x14A && C <= 0x177))
        return C | 1u;
    if ((C >= 0x139 && C <= 0x148) || (C >= 0x179 && C <= 0x17E)) return (C & 1u) ? C + 1 : C;
    if (C >= 0x391 && C <= 0x3A9 && C != 0x3A2) return C + 0x20;
    if (C == 0x386) return 0x3AC;
    if (C >= 0x388 && C <= 0x38A) return C + 0x25;
    if (C == 0x38C) return 0x3CC;
    if (C == 0x38E || C == 0x38F) return C + 0x3F;
    if (C >= 0x410 && C <= 0x42F) return C + 0x20;
    if (C >= 0x400 && C <= 0x40F) return C + 0x50;
    return C;
}

bool IsLowerCp(uint32_t C) { return UpperCp(C) != C; }
bool IsUpperCp(uint32_t C) { return LowerCp(C) != C; }

// Bytes that are not ASCII and not part of a two-byte sequence: never letters,
// and ordered by their byte value (which keeps longer UTF-8 in code order).
constexpr uint32_t RawByte = 0x110000;

// Decodes the character at S[I]: a two-byte UTF-8 sequence or a single byte.
uint32_t Decode(const std::string& S, size_t I, size_t& Len)
{
    unsigned char b = static_cast<unsigned char>(S[I]);
    if (b >= 0xC2 && b <= 0xDF && I + 1 < S.size()) {
        unsigned char c = static_cast<unsigned char>(S[I + 1]);
        if ((c & 0xC0) == 0x80) {
            Len = 2;
            return ((b & 0x1Fu) << 6) | (c & 0x3Fu);
        }
    }
    Len = 1;
    return b < 0x80 ? b : RawByte | b;
}

template <typename F>
std::string MapCase(const std::string& S, F Map)
{
    std::string r = S;
    for (size_t i = 0; i < r.size();) {
        size_t len;
        uint32_t c = Decode(r, i, len);
        uint32_t m = c < RawByte ? Map(c) : c;
        if (m != c) {
            if (len == 1) {
                r[i] = static_cast<char>(m);
            } else {
                r[i] = static_cast<char>(0xC0 | (m >> 6));
                r[i + 1] = static_cast<char>(0x80 | (m & 0x3F));
            }
        }
        i += len;
    }
    return r;
}

// Base letter of the accented Latin-1 letters (lower case).
uint32_t BaseLetter(uint32_t Lower)
{
    static const char* const Bases = "aaaaaaaceeeeiiii"  // U+00E0..U+00EF
                                     "dnooooo\0ouuuuyty"; // U+00F0..U+00FF
    if (Lower >= 0xE0 && Lower <= 0xFF && Bases[Lower - 0xE0] != '\0') return static_cast<unsigned char>(Bases[Lower - 0xE0]);
    return Lower;
}

struct TCollationKey {
    uint32_t Primary;
    uint32_t Secondary;
    uint32_t Tertiary;
};

// Punctuation sorts before digits, digits before letters, letters with their
// accented forms, then everything else by code point.
TCollationKey KeyOf(uint32_t C)
{
    uint32_t lower = LowerCp(C);
    uint32_t base = BaseLetter(lower);
    uint32_t tertiary = IsUpperCp(C) ? 1 : 0;
    if (base >= 'a' && base <= 'z') return {(2u << 24) | base, lower == base ? 0 : lower, tertiary};
    if (C >= '0' && C <= '9') return {(1u << 24) | C, 0, 0};
    if (C < 0x80) return {C, 0, 0};
    bool letter = IsLowerCp(C) || IsUpperCp(C);
    return {((letter ? 3u : 4u) << 24) | lower, 0, tertiary};
}

struct TAsciiKeys {
    TCollationKey Keys[128];
    TAsciiKeys()
    {
        for (uint32_t c = 0; c < 128; ++c) Keys[c] = KeyOf(c);
    }
};

// Most text is ASCII: its keys come from a table.
TCollationKey KeyAt(const std::string& S, size_t I, size_t& Len)
{
    static const TAsciiKeys Ascii;
    unsigned char b = static_cast<unsigned char>(S[I]);
    if (b < 0x80) {
        Len = 1;
        return Ascii.Keys[b];
    }
    return KeyOf(Decode(S, I, Len));
}

// Compares one level of the keys, walking both strings without allocating:
// string lists sort with these comparisons.
template <typename Field>
int CompareLevel(const std::string& A, const std::string& B, Field F)
{
    size_t i = 0, j = 0;
    while (i < A.size() && j < B.size()) {
        size_t la, lb;
        uint32_t a = F(KeyAt(A, i, la)), b = F(KeyAt(B, j, lb));
        if (a != b) return a < b ? -1 : 1;
        i += la;
        j += lb;
    }
    bool restA = i < A.size(), restB = j < B.size();
    return restA == restB ? 0 : (restA ? 1 : -1);
}

// The primary level over the common ASCII prefix, straight from the table:
// most comparisons are decided there. 0 leaves it to the general walk.
int ComparePrimaryAscii(const std::string& A, const std::string& B)
{
    static const TAsciiKeys Ascii;
    size_t n = std::min(A.size(), B.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char a = static_cast<unsigned char>(A[i]), b = static_cast<unsigned char>(B[i]);
        if ((a | b) >= 0x80) return 0;
        if (a == b) continue;
        uint32_t ka = Ascii.Keys[a].Primary, kb = Ascii.Keys[b].Primary;
        if (ka != kb) return ka < kb ? -1 : 1;
    }
    return 0;
}

int Collate(const std::string& S1, const std::string& S2, bool IgnoreCase)
{
    if (int r = ComparePrimaryAscii(S1, S2)) return r;
    if (int r = CompareLevel(S1, S2, [](const TCollationKey& k) { return k.Primary; })) return r;
    if (int r = CompareLevel(S1, S2, [](const TCollationKey& k) { return k.Secondary; })) return r;
    if (IgnoreCase) return 0;
    if (int r = CompareLevel(S1, S2, [](const TCollationKey& k) { return k.Tertiary; })) return r;
    int r = S1.compare(S2);
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

} // namespace

std::string AnsiUpperCase(const std::string& S) { return MapCase(S, UpperCp); }

std::string AnsiLowerCase(const std::string& S) { return MapCase(S, LowerCp); }

int AnsiCompareStr(const std::string& S1, const std::string& S2) { return Collate(S1, S2, false); }

int AnsiCompareText(const std::string& S1, const std::string& S2) { return Collate(S1, S2, true); }

bool AnsiSameStr(const std::string& S1, const std::string& S2) { return S1 == S2; }

bool AnsiSameText(const std::string& S1, const std::string& S2) { return AnsiCompareText(S1, S2) == 0; }

} // namespace host
