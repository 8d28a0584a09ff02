#pragma once
// Field types, field values and record buffers shared by the engine and the
// dataset framework above it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// The framework's logical field types, in their established ordinal order.
enum TFieldType : uint8_t {
    ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD, ftDate, ftTime,
    ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic, ftFmtMemo, ftParadoxOle, ftDBaseOle,
    ftTypedBinary, ftCursor, ftFixedChar, ftWideString, ftLargeint
};

} // namespace host

namespace host::engine {

// How a value is held: the storage classes of the underlying store. Booleans
// are integers 0/1; dates and times are TDateTime doubles.
enum class TValueKind : uint8_t { Null, Integer, Float, Text, Blob };

struct TValue {
    TValueKind Kind = TValueKind::Null;
    int64_t Int = 0;
    double Float = 0;
    std::string Bytes; // text or blob contents

    TValue() = default;
    static TValue Null() { return {}; }
    static TValue OfInt(int64_t V);
    static TValue OfFloat(double V);
    static TValue OfBool(bool V) { return OfInt(V ? 1 : 0); }
    static TValue OfText(std::string_view V);
    static TValue OfBlob(std::string_view V);

    bool IsNull() const { return Kind == TValueKind::Null; }
    bool IsNumeric() const { return Kind == TValueKind::Integer || Kind == TValueKind::Float; }
    double AsFloat() const { return Kind == TValueKind::Float ? Float : static_cast<double>(Int); }
    int64_t AsInt() const { return Kind == TValueKind::Float ? static_cast<int64_t>(Float) : Int; }
    bool AsBool() const { return IsNumeric() && AsFloat() != 0; }
    std::string AsString() const;
    bool operator==(const TValue& Other) const;
};

enum class TCollation : uint8_t { Binary, NoCase };

// Orders two values the way the store's ORDER BY does: NULL first, then numbers,
// then texts (by bytes, or ASCII case folded), then blobs.
int CompareValues(const TValue& A, const TValue& B, TCollation Coll = TCollation::Binary);
int CompareText(std::string_view A, std::string_view B, TCollation Coll);
// Whether Text begins with Prefix under Coll.
bool HasPrefix(std::string_view Text, std::string_view Prefix, TCollation Coll);

// Read access to one row's fields by field number (0-based), implemented over a
// record buffer and over a row of a running scan.
class TRowAccess {
public:
    virtual ~TRowAccess() = default;
    virtual TValueKind KindOf(int Field) const = 0;
    virtual int64_t IntOf(int Field) const = 0;
    virtual double FloatOf(int Field) const = 0;
    virtual std::string_view BytesOf(int Field) const = 0;
};

// A record buffer: one value per field of the table, and the row identifier.
struct TRecord : TRowAccess {
    int64_t RowId = 0;
    std::vector<TValue> Values;

    TRecord() = default;
    explicit TRecord(size_t FieldCount) : Values(FieldCount) {}

    TValueKind KindOf(int Field) const override { return Values[Field].Kind; }
    int64_t IntOf(int Field) const override { return Values[Field].AsInt(); }
    double FloatOf(int Field) const override { return Values[Field].AsFloat(); }
    std::string_view BytesOf(int Field) const override { return Values[Field].Bytes; }
};

} // namespace host::engine
