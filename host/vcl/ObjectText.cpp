// Conversion between binary and text forms.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "host/vcl/Filer.h"

namespace host {

namespace {

// ---- Binary to text -------------------------------------------------------------------

class TBinaryToText {
public:
    TBinaryToText(TStream* Input, TStream* Output) : FReader(Input), FOutput(Output) {}

    void Run()
    {
        FReader.ReadSignature();
        ConvertObject(0);
    }

private:
    void Out(const std::string& S) { FOutput->WriteBuffer(S.data(), static_cast<int64_t>(S.size())); }
    void NewLine(int Indent) { Out("\r\n" + std::string(static_cast<size_t>(Indent), ' ')); }

    void ConvertObject(int Indent)
    {
        if (++FDepth > TReader::MaxDepth) throw EReadError("Invalid stream format: nesting too deep");
        TFilerFlags flags;
        int pos;
        FReader.ReadPrefix(flags, pos);
        std::string cls = FReader.ReadStr();
        std::string name = FReader.ReadStr();
        Out(std::string(static_cast<size_t>(Indent), ' '));
        Out(flags.Contains(ffInherited) ? "inherited " : flags.Contains(ffInline) ? "inline " : "object ");
        if (!name.empty()) Out(name + ": ");
        Out(cls);
        if (flags.Contains(ffChildPos)) Out(" [" + std::to_string(pos) + "]");
        Out("\r\n");
        while (!FReader.EndOfList()) ConvertProperty(Indent + 2);
        FReader.ReadListEnd();
        while (!FReader.EndOfList()) ConvertObject(Indent + 2);
        FReader.ReadListEnd();
        Out(std::string(static_cast<size_t>(Indent), ' ') + "end\r\n");
        --FDepth;
    }

    void ConvertProperty(int Indent)
    {
        Out(std::string(static_cast<size_t>(Indent), ' ') + FReader.ReadStr() + " = ");
        ConvertValue(Indent);
        Out("\r\n");
    }

    void ConvertValue(int Indent)
    {
        if (++FDepth > TReader::MaxDepth) throw EReadError("Invalid stream format: nesting too deep");
        switch (FReader.NextValue()) {
        case vaList:
            FReader.ReadValue();
            Out("(");
            while (!FReader.EndOfList()) {
                NewLine(Indent + 2);
                ConvertValue(Indent + 2);
            }
            FReader.ReadListEnd();
            Out(")");
            break;
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64:
            Out(std::to_string(FReader.ReadInt64()));
            break;
        case vaExtended:
            Out(FloatText(FReader.ReadFloat(), 15, 17));
            break;
        case vaSingle:
            Out(FloatText(FReader.ReadFloat(), 6, 9) + "s");
            break;
        case vaCurrency:
            Out(CurrencyText());
            break;
        case vaDate:
            Out(FloatText(FReader.ReadFloat(), 15, 17) + "d");
            break;
        case vaString:
        case vaLString:
        case vaWString:
        case vaUTF8String:
            ConvertString(FReader.ReadString(), Indent);
            break;
        case vaIdent:
        case vaFalse:
        case vaTrue:
        case vaNil:
        case vaNull:
            Out(FReader.ReadIdent());
            break;
        case vaBinary:
            ConvertBinary(Indent);
            break;
        case vaSet:
            ConvertSet();
            break;
        case vaCollection:
            ConvertCollection(Indent);
            break;
        default:
            throw EReadError("Invalid stream format");
        }
        --FDepth;
    }

    static std::string FloatText(double V, int MinDigits, int MaxDigits)
    {
        if (!std::isfinite(V)) return "0.0";
        char buf[64];
        for (int digits = MinDigits; digits <= MaxDigits; ++digits) {
            std::snprintf(buf, sizeof buf, "%.*g", digits, V);
            double back = 0;
            std::from_chars(buf, buf + std::strlen(buf), back);
            if (back == V || digits == MaxDigits) break;
        }
        std::string s = buf;
        // Keep a float a float when read back.
        if (s.find_first_of(".eE") == std::string::npos) s += ".0";
        return s;
    }

    std::string CurrencyText()
    {
        FReader.ReadValue();
        int64_t c;
        FReader.Read(&c, 8);
        bool neg = c < 0;
        uint64_t a = neg ? uint64_t(0) - static_cast<uint64_t>(c) : static_cast<uint64_t>(c);
        std::string s = (neg ? "-" : "") + std::to_string(a / 10000);
        std::string frac = std::to_string(a % 10000);
        frac = std::string(4 - frac.size(), '0') + frac;
        while (!frac.empty() && frac.back() == '0') frac.pop_back();
        return s + (frac.empty() ? "" : "." + frac) + "c";
    }

    void ConvertString(const std::string& S, int Indent)
    {
        if (S.empty()) {
            Out("''");
            return;
        }
        const size_t lineLength = 64;
        for (size_t start = 0; start < S.size(); start += lineLength) {
            if (start > 0) {
                Out(" +");
                NewLine(Indent + 2);
            }
            Out(QuoteSegment(S.substr(start, lineLength)));
        }
    }

    static std::string QuoteSegment(const std::string& S)
    {
        std::string out;
        bool inQuote = false;
        for (char ch : S) {
            unsigned char c = static_cast<unsigned char>(ch);
            if (c >= ' ' && c != 127) {
                if (!inQuote) out += '\'';
                inQuote = true;
                out += ch;
                if (ch == '\'') out += '\'';
            } else {
                if (inQuote) out += '\'';
                inQuote = false;
                out += "#" + std::to_string(c);
            }
        }
        if (inQuote) out += '\'';
        return out;
    }

    void ConvertBinary(int Indent)
    {
        FReader.ReadValue();
        int32_t n;
        FReader.Read(&n, 4);
        if (n < 0 || n > FReader.GetStream()->GetSize() - FReader.GetStream()->GetPosition())
            throw EReadError("Stream read error");
        Out("{");
        static const char hex[] = "0123456789ABCDEF";
        const int bytesPerLine = 32;
        std::vector<uint8_t> chunk(bytesPerLine);
        for (int32_t done = 0; done < n; done += bytesPerLine) {
            int count = std::min<int32_t>(bytesPerLine, n - done);
            FReader.Read(chunk.data(), count);
            NewLine(Indent + 2);
            std::string line;
            for (int i = 0; i < count; ++i) {
                line += hex[chunk[static_cast<size_t>(i)] >> 4];
                line += hex[chunk[static_cast<size_t>(i)] & 15];
            }
            Out(line);
        }
        Out("}");
    }

    void ConvertSet()
    {
        FReader.ReadValue();
        Out("[");
        bool first = true;
        for (std::string s = FReader.ReadStr(); !s.empty(); s = FReader.ReadStr()) {
            if (!first) Out(", ");
            first = false;
            Out(s);
        }
        Out("]");
    }

    void ConvertCollection(int Indent)
    {
        FReader.ReadValue();
        Out("<");
        while (!FReader.EndOfList()) {
            NewLine(Indent + 2);
            Out("item");
            TValueType v = FReader.NextValue();
            if (v == vaInt8 || v == vaInt16 || v == vaInt32) Out(" [" + std::to_string(FReader.ReadInteger()) + "]");
            FReader.ReadListBegin();
            Out("\r\n");
            while (!FReader.EndOfList()) ConvertProperty(Indent + 4);
            FReader.ReadListEnd();
            Out(std::string(static_cast<size_t>(Indent + 2), ' ') + "end");
        }
        FReader.ReadListEnd();
        Out(">");
    }

    TReader FReader;
    TStream* FOutput;
    int FDepth = 0;
};

// ---- Text to binary --------------------------------------------------------------------

enum TToken { toEOF, toSymbol, toString, toInteger, toFloat, toChar };

class TParser {
public:
    explicit TParser(std::string Text) : FText(std::move(Text))
    {
        if (FText.compare(0, 3, "\xEF\xBB\xBF") == 0) FPos = 3; // a UTF-8 byte order mark
        Next();
    }

    TToken Token() const { return FToken; }
    char Char() const { return FChar; }
    const std::string& Text() const { return FTokenText; }
    char FloatSuffix() const { return FSuffix; }

    bool SymbolIs(const char* S) const
    {
        if (FToken != toSymbol || FTokenText.size() != std::strlen(S)) return false;
        for (size_t i = 0; i < FTokenText.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(FTokenText[i])) != std::tolower(static_cast<unsigned char>(S[i])))
                return false;
        return true;
    }
    bool CharIs(char C) const { return FToken == toChar && FChar == C; }

    [[noreturn]] void Error(const std::string& Message) const
    {
        throw EParserError(Message + " on line " + std::to_string(FLine));
    }
    void CheckChar(char C)
    {
        if (!CharIs(C)) Error(std::string("'") + C + "' expected");
        Next();
    }
    std::string CheckSymbol()
    {
        if (FToken != toSymbol) Error("Identifier expected");
        std::string s = FTokenText;
        Next();
        return s;
    }

    // Hex digits up to '}', read raw (the '{' was the current token).
    std::string ReadHex()
    {
        std::string bytes;
        int nibbles = 0, acc = 0;
        for (;;) {
            if (FPos >= FText.size()) Error("'}' expected");
            char c = FText[FPos++];
            if (c == '}') break;
            if (c == '\n') ++FLine;
            if (std::isspace(static_cast<unsigned char>(c))) continue;
            int v = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                    : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                    : (c >= 'a' && c <= 'f')                    ? c - 'a' + 10
                                                                : -1;
            if (v < 0) Error("Invalid binary value");
            acc = acc * 16 + v;
            if (++nibbles % 2 == 0) {
                bytes += static_cast<char>(acc);
                acc = 0;
            }
        }
        if (nibbles % 2) Error("Invalid binary value");
        Next();
        return bytes;
    }

    void Next()
    {
        SkipBlanks();
        FTokenText.clear();
        FSuffix = 0;
        if (FPos >= FText.size()) {
            FToken = toEOF;
            return;
        }
        char c = FText[FPos];
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t start = FPos;
            while (FPos < FText.size() && (std::isalnum(static_cast<unsigned char>(FText[FPos])) || FText[FPos] == '_'))
                ++FPos;
            FTokenText = FText.substr(start, FPos - start);
            FToken = toSymbol;
        } else if (c == '\'' || c == '#') {
            ReadStringToken();
        } else if (c == '$') {
            ReadHexNumber();
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '-' && FPos + 1 < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos + 1])))) {
            ReadNumber();
        } else {
            FToken = toChar;
            FChar = c;
            ++FPos;
        }
    }

private:
    void SkipBlanks()
    {
        while (FPos < FText.size()) {
            char c = FText[FPos];
            if (c == '\n') ++FLine;
            if (!std::isspace(static_cast<unsigned char>(c))) break;
            ++FPos;
        }
    }

    void ReadStringToken()
    {
        FToken = toString;
        while (FPos < FText.size()) {
            char c = FText[FPos];
            if (c == '\'') {
                ++FPos;
                for (;;) {
                    if (FPos >= FText.size() || FText[FPos] == '\n' || FText[FPos] == '\r') Error("Unterminated string");
                    char d = FText[FPos++];
                    if (d == '\'') {
                        if (FPos < FText.size() && FText[FPos] == '\'') {
                            FTokenText += '\'';
                            ++FPos;
                            continue;
                        }
                        break;
                    }
                    FTokenText += d;
                }
            } else if (c == '#') {
                ++FPos;
                size_t start = FPos;
                int base = 10;
                if (FPos < FText.size() && FText[FPos] == '$') {
                    base = 16;
                    start = ++FPos;
                }
                while (FPos < FText.size() && std::isxdigit(static_cast<unsigned char>(FText[FPos]))) ++FPos;
                unsigned value = 0;
                auto r = std::from_chars(FText.data() + start, FText.data() + FPos, value, base);
                if (start == FPos || r.ptr != FText.data() + FPos || value > 255) Error("Invalid character code");
                FTokenText += static_cast<char>(value);
            } else {
                break;
            }
        }
    }

    void ReadHexNumber()
    {
        size_t start = ++FPos;
        while (FPos < FText.size() && std::isxdigit(static_cast<unsigned char>(FText[FPos]))) ++FPos;
        uint64_t v = 0;
        auto r = std::from_chars(FText.data() + start, FText.data() + FPos, v, 16);
        if (start == FPos || r.ec != std::errc()) Error("Invalid integer");
        FTokenText = std::to_string(static_cast<int64_t>(v));
        FToken = toInteger;
    }

    void ReadNumber()
    {
        size_t start = FPos;
        if (FText[FPos] == '-') ++FPos;
        bool isFloat = false;
        while (FPos < FText.size()) {
            char c = FText[FPos];
            if (std::isdigit(static_cast<unsigned char>(c))) {
                ++FPos;
            } else if (c == '.' && !isFloat) {
                isFloat = true;
                ++FPos;
            } else if ((c == 'e' || c == 'E') && FPos + 1 < FText.size() &&
                       (std::isdigit(static_cast<unsigned char>(FText[FPos + 1])) || FText[FPos + 1] == '-' ||
                        FText[FPos + 1] == '+')) {
                isFloat = true;
                FPos += 2;
            } else {
                break;
            }
        }
        FTokenText = FText.substr(start, FPos - start);
        FToken = isFloat ? toFloat : toInteger;
        if (FPos < FText.size()) {
            char s = static_cast<char>(std::tolower(static_cast<unsigned char>(FText[FPos])));
            if (s == 's' || s == 'c' || s == 'd') {
                FSuffix = s;
                FToken = toFloat;
                ++FPos;
            }
        }
    }

    std::string FText;
    size_t FPos = 0;
    int FLine = 1;
    TToken FToken = toEOF;
    char FChar = 0;
    char FSuffix = 0;
    std::string FTokenText;
};

class TTextToBinary {
public:
    TTextToBinary(std::string Text, TStream* Output) : FParser(std::move(Text)), FWriter(Output) {}

    void Run()
    {
        FWriter.WriteSignature();
        try {
            ConvertObject();
        } catch (const EWriteError& e) {
            FParser.Error(e.GetMessage()); // a name longer than the format allows
        }
    }

private:
    void Enter()
    {
        if (++FDepth > TReader::MaxDepth) FParser.Error("Nesting too deep");
    }

    bool AtObject() const
    {
        return FParser.SymbolIs("object") || FParser.SymbolIs("inherited") || FParser.SymbolIs("inline");
    }

    void ConvertObject()
    {
        Enter();
        if (!AtObject()) FParser.Error("'object' expected");
        TFilerFlags flags;
        if (FParser.SymbolIs("inherited")) flags += ffInherited;
        if (FParser.SymbolIs("inline")) flags += ffInline;
        FParser.Next();
        std::string name, cls = FParser.CheckSymbol();
        if (FParser.CharIs(':')) {
            FParser.Next();
            name = cls;
            cls = FParser.CheckSymbol();
        }
        int pos = 0;
        if (FParser.CharIs('[')) {
            FParser.Next();
            pos = static_cast<int>(ParseInteger());
            flags += ffChildPos;
            FParser.CheckChar(']');
        }
        FWriter.WritePrefix(flags, pos);
        FWriter.WriteStr(cls);
        FWriter.WriteStr(name);
        while (!FParser.SymbolIs("end") && !AtObject()) ConvertProperty();
        FWriter.WriteListEnd();
        while (!FParser.SymbolIs("end")) ConvertObject();
        FWriter.WriteListEnd();
        FParser.Next();
        --FDepth;
    }

    std::string DottedName()
    {
        std::string name = FParser.CheckSymbol();
        while (FParser.CharIs('.')) {
            FParser.Next();
            name += "." + FParser.CheckSymbol();
        }
        return name;
    }

    void ConvertProperty()
    {
        if (FParser.Token() == toEOF) FParser.Error("'end' expected");
        FWriter.WriteStr(DottedName());
        FParser.CheckChar('=');
        ConvertValue();
    }

    int64_t ParseInteger()
    {
        if (FParser.Token() != toInteger) FParser.Error("Integer expected");
        int64_t v = 0;
        const std::string& t = FParser.Text();
        auto r = std::from_chars(t.data(), t.data() + t.size(), v);
        if (r.ec != std::errc() || r.ptr != t.data() + t.size()) FParser.Error("Invalid integer " + t);
        FParser.Next();
        return v;
    }

    void ConvertFloat()
    {
        const std::string& t = FParser.Text();
        double v = 0;
        auto r = std::from_chars(t.data(), t.data() + t.size(), v);
        if (r.ec != std::errc() || r.ptr != t.data() + t.size()) FParser.Error("Invalid floating point number " + t);
        char suffix = FParser.FloatSuffix();
        FParser.Next();
        if (suffix == 's')
            FWriter.WriteSingle(static_cast<float>(v));
        else if (suffix == 'c')
            FWriter.WriteCurrency(v);
        else if (suffix == 'd')
            FWriter.WriteDate(v);
        else
            FWriter.WriteFloat(v);
    }

    void ConvertValue()
    {
        Enter();
        switch (FParser.Token()) {
        case toInteger:
            FWriter.WriteInteger(ParseInteger());
            break;
        case toFloat:
            ConvertFloat();
            break;
        case toString: {
            std::string s = FParser.Text();
            FParser.Next();
            while (FParser.CharIs('+')) {
                FParser.Next();
                if (FParser.Token() != toString) FParser.Error("String expected");
                s += FParser.Text();
                FParser.Next();
            }
            FWriter.WriteString(s);
            break;
        }
        case toSymbol:
            FWriter.WriteIdent(DottedName());
            break;
        case toChar:
            ConvertBracketed();
            break;
        case toEOF:
            FParser.Error("Value expected");
        }
        --FDepth;
    }

    void ConvertBracketed()
    {
        if (FParser.CharIs('[')) {
            FParser.Next();
            FWriter.WriteValue(vaSet);
            while (!FParser.CharIs(']')) {
                FWriter.WriteStr(FParser.CheckSymbol());
                if (FParser.CharIs(',')) FParser.Next();
                else if (!FParser.CharIs(']')) FParser.Error("']' expected");
            }
            FWriter.WriteStr("");
            FParser.Next();
        } else if (FParser.CharIs('(')) {
            FParser.Next();
            FWriter.WriteListBegin();
            while (!FParser.CharIs(')')) ConvertValue();
            FWriter.WriteListEnd();
            FParser.Next();
        } else if (FParser.CharIs('{')) {
            std::string bytes = FParser.ReadHex();
            FWriter.WriteValue(vaBinary);
            int32_t n = static_cast<int32_t>(bytes.size());
            FWriter.Write(&n, 4);
            FWriter.Write(bytes.data(), n);
        } else if (FParser.CharIs('<')) {
            FParser.Next();
            ConvertCollection();
        } else {
            FParser.Error("Invalid property value");
        }
    }

    void ConvertCollection()
    {
        FWriter.WriteValue(vaCollection);
        while (!FParser.CharIs('>')) {
            if (!FParser.SymbolIs("item")) FParser.Error("'item' expected");
            FParser.Next();
            if (FParser.CharIs('[')) {
                FParser.Next();
                FWriter.WriteInteger(ParseInteger());
                FParser.CheckChar(']');
            }
            FWriter.WriteListBegin();
            while (!FParser.SymbolIs("end")) ConvertProperty();
            FWriter.WriteListEnd();
            FParser.Next();
        }
        FWriter.WriteListEnd();
        FParser.Next();
    }

    TParser FParser;
    TWriter FWriter;
    int FDepth = 0;
};

std::string ReadAll(TStream* Input)
{
    int64_t n = Input->GetSize() - Input->GetPosition();
    std::string text(static_cast<size_t>(std::max<int64_t>(n, 0)), '\0');
    if (n > 0) Input->ReadBuffer(text.data(), n);
    return text;
}

} // namespace

void ObjectBinaryToText(TStream* Input, TStream* Output)
{
    TBinaryToText(Input, Output).Run();
}

void ObjectTextToBinary(TStream* Input, TStream* Output)
{
    TTextToBinary(ReadAll(Input), Output).Run();
}

std::string ObjectBinaryToText(const std::string& Binary)
{
    TStringStream in(Binary), out;
    ObjectBinaryToText(&in, &out);
    return out.GetDataString();
}

std::string ObjectTextToBinary(const std::string& Text)
{
    TStringStream in(Text), out;
    ObjectTextToBinary(&in, &out);
    return out.GetDataString();
}

} // namespace host
