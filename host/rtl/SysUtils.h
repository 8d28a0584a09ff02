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

std::string Format(const std::string& Fmt, TVarRecs Args);

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

} // namespace host
