#include <cstring>

#include "host/vcl/Filer.h"
#include "host/vcl/ReaderInternal.h"

namespace host {

void AddGlobalFixup(TPersistent* Instance, TComponent* InstanceComponent, TComponent* InstanceRoot,
                    const TPropInfo* Prop, const std::string& RootName, const std::string& Name);

namespace {
using namespace reader;
const char* const SReadError = "Stream read error";
} // namespace

TReader::TReader(TStream* Stream) : TFiler(Stream), FStreamSize(Stream->GetSize()) {}

TReader::~TReader() = default;

// ---- Errors ------------------------------------------------------------------------

void TReader::Fail(const std::string& Message)
{
    std::string where = " at offset " + std::to_string(FStream->GetPosition());
    if (FContext.empty()) throw EReadError(Message + where);
    throw EReadError("Error reading " + FContext + ": " + Message + where);
}

bool TReader::HandleError(const std::string& Message)
{
    bool handled = false;
    if (OnError) OnError(this, Message, handled);
    return handled;
}

void TReader::PropertyError(const std::string& Message)
{
    if (HandleError(Message)) return; // caller skips or moves on
    Fail(Message);
}

// ---- Raw values --------------------------------------------------------------------

void TReader::CheckRemaining(int64_t Count)
{
    if (Count < 0 || Count > FStreamSize - FStream->GetPosition()) Fail(SReadError);
}

void TReader::Read(void* Buffer, int64_t Count)
{
    CheckRemaining(Count);
    if (Count > 0 && FStream->Read(Buffer, Count) != Count) Fail(SReadError);
}

int64_t TReader::ReadLength(int64_t Size)
{
    int64_t n = 0;
    if (Size == 1) {
        uint8_t b;
        Read(&b, 1);
        n = b;
    } else {
        int32_t v;
        Read(&v, 4);
        n = v;
    }
    CheckRemaining(n);
    return n;
}

TValueType TReader::ReadValue()
{
    uint8_t b;
    Read(&b, 1);
    if (b > vaLastValue) {
        FStream->Seek(-1, soCurrent);
        Fail(SInvalidImage);
    }
    return static_cast<TValueType>(b);
}

TValueType TReader::NextValue()
{
    TValueType v = ReadValue();
    FStream->Seek(-1, soCurrent);
    return v;
}

void TReader::CheckValue(TValueType Value)
{
    if (ReadValue() != Value) {
        FStream->Seek(-1, soCurrent);
        SkipValue();
        Fail(SInvalidPropertyValue);
    }
}

// Peeks the raw byte: a component's prefix ($F0..$F7) is no value type.
bool TReader::EndOfList()
{
    uint8_t b;
    Read(&b, 1);
    FStream->Seek(-1, soCurrent);
    return b == vaNull;
}

void TReader::ReadListBegin() { CheckValue(vaList); }

void TReader::ReadListEnd() { CheckValue(vaNull); }

bool TReader::ReadBoolean()
{
    TValueType v = ReadValue();
    if (v == vaTrue) return true;
    if (v == vaFalse) return false;
    FStream->Seek(-1, soCurrent);
    Fail(SInvalidPropertyValue);
}

char TReader::ReadChar()
{
    std::string s = ReadString();
    if (s.size() != 1) Fail(SInvalidPropertyValue);
    return s[0];
}

int32_t TReader::ReadInteger()
{
    int64_t v = ReadInt64();
    if (v < INT32_MIN || v > INT32_MAX) Fail(SInvalidPropertyValue);
    return static_cast<int32_t>(v);
}

int64_t TReader::ReadInt64()
{
    switch (ReadValue()) {
    case vaInt8: {
        int8_t v;
        Read(&v, 1);
        return v;
    }
    case vaInt16: {
        int16_t v;
        Read(&v, 2);
        return v;
    }
    case vaInt32: {
        int32_t v;
        Read(&v, 4);
        return v;
    }
    case vaInt64: {
        int64_t v;
        Read(&v, 8);
        return v;
    }
    default:
        FStream->Seek(-1, soCurrent);
        Fail(SInvalidPropertyValue);
    }
}

double TReader::ReadFloat()
{
    TValueType v = NextValue();
    if (IsIntValue(v) || v == vaInt64) return static_cast<double>(ReadInt64());
    ReadValue();
    switch (v) {
    case vaExtended: {
        uint8_t raw[10];
        Read(raw, 10);
        return ExtendedToDouble(raw);
    }
    case vaSingle: {
        float f;
        Read(&f, 4);
        return f;
    }
    case vaCurrency: {
        int64_t c;
        Read(&c, 8);
        return static_cast<double>(c) / 10000.0;
    }
    case vaDate: {
        double d;
        Read(&d, 8);
        return d;
    }
    default:
        FStream->Seek(-1, soCurrent);
        Fail(SInvalidPropertyValue);
    }
}

float TReader::ReadSingle() { return static_cast<float>(ReadFloat()); }
double TReader::ReadCurrency() { return ReadFloat(); }
double TReader::ReadDate() { return ReadFloat(); }

std::string TReader::ReadStr()
{
    int64_t n = ReadLength(1);
    std::string s(static_cast<size_t>(n), '\0');
    Read(s.data(), n);
    return s;
}

std::string TReader::ReadWideString()
{
    // The length counts UTF-16 units.
    int32_t n;
    Read(&n, 4);
    int64_t units = n;
    CheckRemaining(units * 2);
    std::string out;
    for (int64_t i = 0; i < units; ++i) {
        uint8_t b[2];
        Read(b, 2);
        uint32_t cp = b[0] | (b[1] << 8);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < units) {
            uint8_t c[2];
            Read(c, 2);
            uint32_t lo = c[0] | (c[1] << 8);
            ++i;
            cp = (lo >= 0xDC00 && lo < 0xE000) ? 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00) : 0xFFFD;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string TReader::ReadString()
{
    TValueType v = ReadValue();
    if (v == vaWString) return ReadWideString();
    int64_t n;
    if (v == vaString)
        n = ReadLength(1);
    else if (v == vaLString || v == vaUTF8String)
        n = ReadLength(4);
    else {
        FStream->Seek(-1, soCurrent);
        Fail(SInvalidPropertyValue);
    }
    std::string s(static_cast<size_t>(n), '\0');
    Read(s.data(), n);
    return s;
}

std::string TReader::ReadIdent()
{
    switch (ReadValue()) {
    case vaIdent:
        return ReadStr();
    case vaFalse:
        return "False";
    case vaTrue:
        return "True";
    case vaNil:
        return "nil";
    case vaNull:
        return "Null";
    default:
        FStream->Seek(-1, soCurrent);
        Fail(SInvalidPropertyValue);
    }
}

uint64_t TReader::ReadSet(const TTypeInfo* SetType)
{
    CheckValue(vaSet);
    std::vector<std::string> names;
    for (std::string s = ReadStr(); !s.empty(); s = ReadStr()) names.push_back(s);
    uint64_t result = 0;
    for (const std::string& name : names) {
        int v = GetEnumValue(SetType ? SetType->CompType : nullptr, name);
        if (v < 0 || v >= 64) {
            if (HandleError(SInvalidPropertyValue)) continue;
            Fail(SInvalidPropertyValue);
        }
        result |= uint64_t(1) << v;
    }
    return result;
}

void TReader::ReadSignature()
{
    char sig[4];
    if (FStreamSize - FStream->GetPosition() < 4) Fail(SInvalidImage);
    Read(sig, 4);
    if (std::memcmp(sig, "TPF0", 4) != 0) Fail(SInvalidImage);
}

void TReader::ReadPrefix(TFilerFlags& Flags, int& AChildPos)
{
    Flags = {};
    AChildPos = 0;
    uint8_t b;
    Read(&b, 1);
    if ((b & 0xF0) != 0xF0) {
        FStream->Seek(-1, soCurrent);
        return;
    }
    Flags = TFilerFlags::FromInt(b & 0x07);
    if (Flags.Contains(ffChildPos)) AChildPos = ReadInteger();
}

void TReader::SkipValue()
{
    TDepthGuard guard(FDepth, MaxDepth);
    switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
        return;
    case vaList:
        while (!EndOfList()) SkipValue();
        ReadListEnd();
        return;
    case vaInt8:
        FStream->Seek(1, soCurrent);
        break;
    case vaInt16:
        FStream->Seek(2, soCurrent);
        break;
    case vaInt32:
    case vaSingle:
        FStream->Seek(4, soCurrent);
        break;
    case vaExtended:
        FStream->Seek(10, soCurrent);
        break;
    case vaCurrency:
    case vaDate:
    case vaInt64:
        FStream->Seek(8, soCurrent);
        break;
    case vaIdent:
    case vaString:
        FStream->Seek(ReadLength(1), soCurrent);
        break;
    case vaLString:
    case vaUTF8String:
    case vaBinary:
        FStream->Seek(ReadLength(4), soCurrent);
        break;
    case vaWString: {
        int32_t units;
        Read(&units, 4);
        CheckRemaining(int64_t(units) * 2);
        FStream->Seek(int64_t(units) * 2, soCurrent);
        break;
    }
    case vaSet:
        while (!ReadStr().empty()) {
        }
        return;
    case vaCollection:
        while (!EndOfList()) {
            if (IsIntValue(NextValue())) ReadInteger();
            ReadListBegin();
            while (!EndOfList()) {
                ReadStr();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        return;
    }
    if (FStream->GetPosition() > FStreamSize) Fail(SReadError);
}

// ---- Defined properties ----------------------------------------------------------------

void TReader::DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc, bool)
{
    if (FPropFound || !ReadData || !SameText(Name, FPropName)) return;
    FPropFound = true;
    ReadData(this);
}

void TReader::DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc, bool)
{
    if (FPropFound || !ReadData || !SameText(Name, FPropName)) return;
    FPropFound = true;
    CheckValue(vaBinary);
    int64_t n = ReadLength(4);
    TMemoryStream data;
    data.SetSize(n);
    Read(data.GetMemory(), n);
    data.SetPosition(0);
    ReadData(&data);
}

} // namespace host
