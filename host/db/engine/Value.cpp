#include "host/db/engine/Value.h"

#include <algorithm>
#include <cstring>

namespace host::engine {

TValue TValue::OfInt(int64_t V)
{
    TValue r;
    r.Kind = TValueKind::Integer;
    r.Int = V;
    return r;
}

TValue TValue::OfFloat(double V)
{
    TValue r;
    r.Kind = TValueKind::Float;
    r.Float = V;
    return r;
}

TValue TValue::OfText(std::string_view V)
{
    TValue r;
    r.Kind = TValueKind::Text;
    r.Bytes = V;
    return r;
}

TValue TValue::OfBlob(std::string_view V)
{
    TValue r;
    r.Kind = TValueKind::Blob;
    r.Bytes = V;
    return r;
}

std::string TValue::AsString() const
{
    switch (Kind) {
    case TValueKind::Null: return {};
    case TValueKind::Integer: return std::to_string(Int);
    case TValueKind::Float: {
        char buf[32];
        snprintf(buf, sizeof buf, "%.15g", Float);
        return buf;
    }
    default: return Bytes;
    }
}

bool TValue::operator==(const TValue& Other) const
{
    if (Kind != Other.Kind) return false;
    switch (Kind) {
    case TValueKind::Null: return true;
    case TValueKind::Integer: return Int == Other.Int;
    case TValueKind::Float: return Float == Other.Float;
    default: return Bytes == Other.Bytes;
    }
}

namespace {

int Rank(TValueKind K)
{
    switch (K) {
    case TValueKind::Null: return 0;
    case TValueKind::Integer:
    case TValueKind::Float: return 1;
    case TValueKind::Text: return 2;
    default: return 3;
    }
}

unsigned char Fold(unsigned char C) { return (C >= 'A' && C <= 'Z') ? C + 32 : C; }

int Sign(int64_t V) { return V < 0 ? -1 : (V > 0 ? 1 : 0); }

} // namespace

int CompareText(std::string_view A, std::string_view B, TCollation Coll)
{
    size_t n = std::min(A.size(), B.size());
    if (Coll == TCollation::Binary) {
        int c = n ? std::memcmp(A.data(), B.data(), n) : 0;
        if (c) return c < 0 ? -1 : 1;
    } else {
        for (size_t i = 0; i < n; ++i) {
            unsigned char a = Fold(A[i]), b = Fold(B[i]);
            if (a != b) return a < b ? -1 : 1;
        }
    }
    return Sign(static_cast<int64_t>(A.size()) - static_cast<int64_t>(B.size()));
}

bool HasPrefix(std::string_view Text, std::string_view Prefix, TCollation Coll)
{
    if (Text.size() < Prefix.size()) return false;
    return CompareText(Text.substr(0, Prefix.size()), Prefix, Coll) == 0;
}

int CompareValues(const TValue& A, const TValue& B, TCollation Coll)
{
    int ra = Rank(A.Kind), rb = Rank(B.Kind);
    if (ra != rb) return ra < rb ? -1 : 1;
    switch (ra) {
    case 0: return 0;
    case 1:
        if (A.Kind == TValueKind::Integer && B.Kind == TValueKind::Integer) return (A.Int > B.Int) - (A.Int < B.Int);
        return A.AsFloat() < B.AsFloat() ? -1 : (A.AsFloat() > B.AsFloat() ? 1 : 0);
    case 2: return CompareText(A.Bytes, B.Bytes, Coll);
    default: return CompareText(A.Bytes, B.Bytes, TCollation::Binary);
    }
}

} // namespace host::engine
