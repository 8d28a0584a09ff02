#pragma once
// Runtime library: exceptions, formatting, conversions, file names, date and time.
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

namespace host {

// One argument of Format: the framework's "array of const" element.
class TVarRec {
public:
    enum class Kind { Integer, Extended, String, Char, Pointer, Boolean };

    TVarRec(int v) : FKind(Kind::Integer), FInt(v) {}
    TVarRec(unsigned v) : FKind(Kind::Integer), FInt(v) {}
    TVarRec(long v) : FKind(Kind::Integer), FInt(v) {}
    TVarRec(unsigned long v) : FKind(Kind::Integer), FInt(static_cast<int64_t>(v)) {}
    TVarRec(long long v) : FKind(Kind::Integer), FInt(v) {}
    TVarRec(unsigned long long v) : FKind(Kind::Integer), FInt(static_cast<int64_t>(v)) {}
    TVarRec(double v) : FKind(Kind::Extended), FFloat(v) {}
    TVarRec(long double v) : FKind(Kind::Extended), FFloat(static_cast<double>(v)) {}
    TVarRec(const char* v) : FKind(Kind::String), FStr(v ? v : "") {}
    TVarRec(std::string v) : FKind(Kind::String), FStr(std::move(v)) {}
    TVarRec(std::string_view v) : FKind(Kind::String), FStr(v) {}
    TVarRec(char v) : FKind(Kind::Char), FStr(1, v) {}
    TVarRec(bool v) : FKind(Kind::Boolean), FInt(v ? 1 : 0) {}
    TVarRec(const void* v) : FKind(Kind::Pointer), FPtr(v) {}

    Kind GetKind() const { return FKind; }
    int64_t AsInteger() const { return FInt; }
    double AsExtended() const { return FFloat; }
    const std::string& AsString() const { return FStr; }
    const void* AsPointer() const { return FPtr; }

private:
    Kind FKind;
    int64_t FInt = 0;
    double FFloat = 0;
    std::string FStr;
    const void* FPtr = nullptr;
};

using TVarRecs = std::initializer_list<TVarRec>;

// Formats Args into Fmt: %[index:][-][width][.precision]type with the types
// d u x e f g n m s p c, '*' taking a width, precision or index from the
// arguments, and %% for a percent sign. A directive that does not fit its
// argument, or lacks one, raises EConvertError.
std::string Format(const std::string& Fmt, TVarRecs Args);
void FmtStr(std::string& Result, const std::string& Fmt, TVarRecs Args);

// The root of the framework's exceptions. ClassName reports the most derived
// class, as handlers and logs show it.
class Exception : public std::exception {
public:
    explicit Exception(std::string Msg, int AHelpContext = 0)
        : FMessage(std::move(Msg)), FHelpContext(AHelpContext) {}
    Exception(const std::string& Fmt, TVarRecs Args, int AHelpContext = 0)
        : FMessage(Format(Fmt, Args)), FHelpContext(AHelpContext) {}
    ~Exception() override = default;

    static Exception CreateFmt(const std::string& Fmt, TVarRecs Args) { return Exception(Fmt, Args); }
    static Exception CreateRes(int Ident);

    virtual const char* ClassName() const noexcept { return "Exception"; }
    const char* what() const noexcept override { return FMessage.c_str(); }

    const std::string& GetMessage() const { return FMessage; }
    void SetMessage(std::string Value) { FMessage = std::move(Value); }
    int GetHelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

private:
    std::string FMessage;
    int FHelpContext;
};

#define HOST_DECLARE_EXCEPTION(Name, Base)                                          \
    class Name : public Base {                                                      \
    public:                                                                         \
        using Base::Base;                                                           \
        static Name CreateFmt(const std::string& Fmt, ::host::TVarRecs Args)        \
        {                                                                           \
            return Name(Fmt, Args);                                                 \
        }                                                                           \
        const char* ClassName() const noexcept override { return #Name; }           \
    }

HOST_DECLARE_EXCEPTION(EAbort, Exception);
HOST_DECLARE_EXCEPTION(EConvertError, Exception);
HOST_DECLARE_EXCEPTION(EListError, Exception);
HOST_DECLARE_EXCEPTION(EStringListError, Exception);
HOST_DECLARE_EXCEPTION(EInvalidOperation, Exception);
HOST_DECLARE_EXCEPTION(EInvalidPointer, Exception);
HOST_DECLARE_EXCEPTION(EComponentError, Exception);
HOST_DECLARE_EXCEPTION(EClassNotFound, Exception);
HOST_DECLARE_EXCEPTION(EResNotFound, Exception);
HOST_DECLARE_EXCEPTION(EStreamError, Exception);
HOST_DECLARE_EXCEPTION(EFilerError, EStreamError);
HOST_DECLARE_EXCEPTION(EReadError, EFilerError);
HOST_DECLARE_EXCEPTION(EWriteError, EFilerError);
HOST_DECLARE_EXCEPTION(EFOpenError, EStreamError);
HOST_DECLARE_EXCEPTION(EFCreateError, EStreamError);
HOST_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
HOST_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
HOST_DECLARE_EXCEPTION(EOutOfResources, Exception);
HOST_DECLARE_EXCEPTION(EOutOfMemory, Exception);
HOST_DECLARE_EXCEPTION(EIntError, Exception);
HOST_DECLARE_EXCEPTION(EDivByZero, EIntError);
HOST_DECLARE_EXCEPTION(ERangeError, EIntError);
HOST_DECLARE_EXCEPTION(EIntOverflow, EIntError);
HOST_DECLARE_EXCEPTION(EMathError, Exception);
HOST_DECLARE_EXCEPTION(EOverflow, EMathError);
HOST_DECLARE_EXCEPTION(EZeroDivide, EMathError);
HOST_DECLARE_EXCEPTION(EInvalidOp, EMathError);
HOST_DECLARE_EXCEPTION(EPropertyError, Exception);
HOST_DECLARE_EXCEPTION(EMaskException, Exception);

class EInOutError : public Exception {
public:
    EInOutError(std::string Msg, int AErrorCode) : Exception(std::move(Msg)), FErrorCode(AErrorCode) {}
    const char* ClassName() const noexcept override { return "EInOutError"; }
    int GetErrorCode() const { return FErrorCode; }

private:
    int FErrorCode;
};

// Raises the silent exception that handlers pass over without a message.
[[noreturn]] void Abort();

[[noreturn]] void ConvertError(const std::string& Msg);
[[noreturn]] void ConvertErrorFmt(const std::string& Fmt, TVarRecs Args);

// ---- Strings (1-based positions) ----

// Trimming removes every control character and space (bytes <= ' ').
std::string Trim(const std::string& S);
std::string TrimLeft(const std::string& S);
std::string TrimRight(const std::string& S);

// ASCII letters only.
std::string UpperCase(const std::string& S);
std::string LowerCase(const std::string& S);
// Letters beyond ASCII too (UTF-8 encoded Latin, Greek and Cyrillic); other
// bytes, including malformed UTF-8, pass through unchanged.
std::string AnsiUpperCase(const std::string& S);
std::string AnsiLowerCase(const std::string& S);

// Byte-wise comparisons: < 0, 0 or > 0. CompareText ignores ASCII case.
int CompareStr(const std::string& S1, const std::string& S2);
int CompareText(const std::string& S1, const std::string& S2);
bool SameText(const std::string& S1, const std::string& S2);
// Dictionary order: letters compare by their base letter first, then accents,
// then case, so "a" < "B" and "e" < "\xc3\xa9" (e acute) < "f". AnsiCompareText
// ignores case.
int AnsiCompareStr(const std::string& S1, const std::string& S2);
int AnsiCompareText(const std::string& S1, const std::string& S2);
bool AnsiSameStr(const std::string& S1, const std::string& S2);
bool AnsiSameText(const std::string& S1, const std::string& S2);

// Position of the first Substr in S, 1-based; 0 when absent or Substr is empty.
int Pos(const std::string& Substr, const std::string& S);
int AnsiPos(const std::string& Substr, const std::string& S);
// Index and Count are clamped to the string.
std::string Copy(const std::string& S, int Index, int Count);
void Delete(std::string& S, int Index, int Count);
void Insert(const std::string& Source, std::string& S, int Index);
std::string StringOfChar(char Ch, int Count);
// Position of the last character of S that is one of Delimiters; 0 if none.
int LastDelimiter(const std::string& Delimiters, const std::string& S);
bool IsDelimiter(const std::string& Delimiters, const std::string& S, int Index);
bool IsValidIdent(const std::string& Ident);

enum TReplaceFlag { rfReplaceAll = 1, rfIgnoreCase = 2 };

class TReplaceFlags {
public:
    TReplaceFlags() = default;
    TReplaceFlags(TReplaceFlag Flag) : FBits(Flag) {}
    TReplaceFlags(std::initializer_list<TReplaceFlag> Flags)
    {
        for (TReplaceFlag f : Flags) FBits |= f;
    }
    bool Contains(TReplaceFlag Flag) const { return (FBits & Flag) != 0; }

private:
    unsigned FBits = 0;
};

// Replaces the first (or with rfReplaceAll every) occurrence of OldPattern;
// replaced text is never searched again. An empty OldPattern changes nothing.
std::string StringReplace(const std::string& S, const std::string& OldPattern,
                          const std::string& NewPattern, TReplaceFlags Flags);

std::string QuotedStr(const std::string& S);
std::string AnsiQuotedStr(const std::string& S, char Quote);
// Reads a quoted string at P (doubled quotes stand for one) and moves P past
// the closing quote. Returns "" and leaves P alone when P does not start with
// Quote; an unterminated string runs to the end.
std::string AnsiExtractQuotedStr(const char*& P, char Quote);
// S without its quotes when it is quoted, else S.
std::string AnsiDequotedStr(const std::string& S, char Quote);

// ---- Integers ----

std::string IntToStr(int64_t Value);
// Upper-case hex digits, at least Digits of them. A 32-bit value prints as
// 32 bits (IntToHex(-1, 1) is "FFFFFFFF"), a 64-bit one as 64 bits.
std::string IntToHex(int32_t Value, int Digits);
std::string IntToHex(int64_t Value, int Digits);
// Accept leading blanks, a sign and '$' or 0x for hex; nothing may follow.
int StrToInt(const std::string& S);
int64_t StrToInt64(const std::string& S);
int StrToIntDef(const std::string& S, int Default);
int64_t StrToInt64Def(const std::string& S, int64_t Default);
bool TryStrToInt(const std::string& S, int& Value);
bool TryStrToInt64(const std::string& S, int64_t& Value);

// Number * Numerator / Denominator with a 64-bit intermediate, rounded half
// away from zero; -1 when Denominator is 0 or the result overflows.
int MulDiv(int Number, int Numerator, int Denominator);

} // namespace host

#include "host/rtl/SysLocale.h"
#include "host/rtl/SysFloat.h"
#include "host/rtl/DateTime.h"
#include "host/rtl/FileUtils.h"
