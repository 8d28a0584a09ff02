#pragma once
// Form streaming: TReader and TWriter over the binary form format, the text
// form format, and stored layouts.
//
// Binary format: the signature "TPF0", then the root component. A component is
// an optional prefix byte ($F0 | flags, followed by an integer child position
// when ffChildPos is set), its class name and its name as short strings, its
// properties (name as a short string, then a typed value) up to a 0 byte, its
// children (each a component) up to a 0 byte. Values start with a TValueType
// byte; integers and lengths are little-endian.
//
// Stored layouts: a class whose instances come with a designed layout (forms,
// dialogs) registers a text or binary form under its class name as a
// TResType::FormLayout resource and calls, in its constructor,
//
//     TMyDialog::TMyDialog(TComponent* AOwner) : TkelApplicationForm(AOwner)
//     {
//         FMode = dmDefault;                  // fields the layout's setters may read
//         InitInheritedComponent(this, TMyDialog::StaticClass());
//         ...                                 // code that needs the loaded components
//     }
//
// which reads the layout named after that class into this instance (creating
// its components, setting its properties and published fields, binding its
// events) before the rest of the constructor runs. Each class in a chain loads
// its own layout from its own constructor, so an inherited form's layout (with
// "inherited" entries) is read after its ancestor's. Loaded() runs at the end
// of each layout read, as the class known at that point sees it.
#include <cstdint>
#include <string>
#include <vector>

#include "host/rtl/Streams.h"
#include "host/vcl/Classes.h"
#include "host/vcl/TypInfo.h"

namespace host {

class TStrings;

enum TValueType : uint8_t {
    vaNull,
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64,
    vaUTF8String
};
constexpr int vaLastValue = vaUTF8String;

// A text form that does not parse; the message names the line.
HOST_DECLARE_EXCEPTION(EParserError, EReadError);

enum TFilerFlag { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag>;

using TReaderProc = TEvent<void(TReader* Reader)>;
using TWriterProc = TEvent<void(TWriter* Writer)>;
using TStreamProc = TEvent<void(TStream* Stream)>;
// Handled = true skips the offending value and reading goes on.
using TReaderError = TEvent<void(TReader* Reader, const std::string& Message, bool& Handled)>;
using TFindMethodEvent =
    TEvent<void(TReader* Reader, const std::string& MethodName, TMethod& Method, bool& Error)>;

// 80-bit extended floats as the format stores them.
void DoubleToExtended(double Value, uint8_t Out[10]);
double ExtendedToDouble(const uint8_t In[10]);

class TFiler : public TObject {
    HOST_CLASS(TFiler, TObject)
public:
    explicit TFiler(TStream* Stream) : FStream(Stream) {}

    // Declares a non-published property of the object being filed. The writer
    // calls WriteData when HasData; the reader calls ReadData when the stream
    // holds a property of this name.
    virtual void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) = 0;
    // The same for raw bytes, stored as vaBinary with a 4-byte length.
    virtual void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                                      bool HasData) = 0;

    TStream* GetStream() const { return FStream; }
    TComponent* GetRoot() const { return FRoot; }
    void SetRoot(TComponent* Value) { FRoot = Value; }
    TComponent* GetLookupRoot() const { return FLookupRoot; }
    // The object this one descends from when writing an inherited form; the
    // writer stores only what differs from it.
    TPersistent* GetAncestor() const { return FAncestor; }
    void SetAncestor(TPersistent* Value) { FAncestor = Value; }
    bool GetIgnoreChildren() const { return FIgnoreChildren; }
    void SetIgnoreChildren(bool Value) { FIgnoreChildren = Value; }

protected:
    TStream* FStream;
    TComponent* FRoot = nullptr;
    TComponent* FLookupRoot = nullptr;
    TPersistent* FAncestor = nullptr;
    bool FIgnoreChildren = false;
};

class TReader : public TFiler {
    HOST_CLASS(TReader, TFiler)
public:
    explicit TReader(TStream* Stream);
    ~TReader() override;

    void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
    void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    // Values.
    TValueType NextValue();
    TValueType ReadValue();
    void CheckValue(TValueType Value);
    bool EndOfList();
    void ReadListBegin();
    void ReadListEnd();
    bool ReadBoolean();
    char ReadChar();
    double ReadFloat();
    float ReadSingle();
    double ReadCurrency();
    double ReadDate();
    std::string ReadIdent();
    int32_t ReadInteger();
    int64_t ReadInt64();
    std::string ReadString();
    // A short string: one length byte, then the characters.
    std::string ReadStr();
    uint64_t ReadSet(const TTypeInfo* SetType);
    void ReadSignature();
    void ReadPrefix(TFilerFlags& Flags, int& AChildPos);
    void SkipValue();
    void Read(void* Buffer, int64_t Count);

    // Components.
    TComponent* ReadRootComponent(TComponent* Root);
    TComponent* ReadComponent(TComponent* Component);
    // Reads properties and children of Instance (called from ReadState).
    void ReadData(TComponent* Instance);
    void ReadCollection(TCollection* Collection);

    TComponent* GetOwner() const { return FOwner; }
    void SetOwner(TComponent* Value) { FOwner = Value; }
    TComponent* GetParent() const { return FParent; }
    void SetParent(TComponent* Value) { FParent = Value; }

    TReaderError OnError;
    TFindMethodEvent OnFindMethod;

    // The largest nesting of components, lists and collections accepted.
    static constexpr int MaxDepth = 256;

private:
    friend class TComponent;
    struct TFixup {
        TPersistent* Instance;
        const TPropInfo* Prop;
        std::string Name;
        TComponent* Component; // the component being read when it was made
    };

    void ReadProperty(TPersistent* Instance);
    void ReadPropValue(TPersistent* Instance, const TPropInfo* Prop);
    void ReadObjectValue(TPersistent* Instance, const TPropInfo* Prop);
    void ReadStringsValue(TStrings* Strings);
    TPersistent* ResolvePath(TPersistent* Instance, const std::string& Path, std::string& Last);
    void ReadDataInner(TComponent* Instance);
    bool HandleError(const std::string& Message);
    [[noreturn]] void Fail(const std::string& Message);
    void PropertyError(const std::string& Message);
    void CheckRemaining(int64_t Count);
    int64_t ReadLength(int64_t Size);
    void FixupReferences();
    TComponent* CreateNamedComponent(TFilerFlags Flags, const std::string& ClassName, const std::string& Name,
                                     bool& Created);
    std::string ReadWideString();
    void SetComponentName(TComponent* Component, const std::string& Name);
    TMethod FindMethod(const std::string& Name);

    TComponent* FOwner = nullptr;
    TComponent* FParent = nullptr;
    TComponent* FCurrent = nullptr;
    int64_t FStreamSize = 0; // the stream does not change while it is read
    std::vector<TFixup> FFixups;
    std::vector<TComponent*> FLoaded;
    bool FFixupsActive = false;
    std::string FPropName;      // property being read, for DefineProperty
    bool FPropFound = false;
    std::string FContext;       // "Form1.Button1.Caption", for messages
    int FDepth = 0;
};

class TWriter : public TFiler {
    HOST_CLASS(TWriter, TFiler)
public:
    explicit TWriter(TStream* Stream) : TFiler(Stream) {}

    void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
    void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    void WriteValue(TValueType Value);
    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { WriteValue(vaNull); }
    void WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }
    void WriteChar(char Value) { WriteString(std::string(1, Value)); }
    void WriteFloat(double Value);
    void WriteSingle(float Value);
    void WriteCurrency(double Value);
    void WriteDate(double Value);
    // vaFalse, vaTrue, vaNil and vaNull for those words, vaIdent otherwise.
    void WriteIdent(const std::string& Ident);
    // The smallest of vaInt8, vaInt16, vaInt32, vaInt64 that holds Value.
    void WriteInteger(int64_t Value);
    // vaString with a one-byte length up to 255 characters, else vaLString
    // with a four-byte length.
    void WriteString(const std::string& Value);
    void WriteStr(const std::string& Value);
    void WriteSet(const TTypeInfo* SetType, uint64_t Value);
    void WriteSignature();
    void WritePrefix(TFilerFlags Flags, int ChildPos);
    void Write(const void* Buffer, int64_t Count);

    void WriteRootComponent(TComponent* Root);
    void WriteDescendent(TComponent* Root, TComponent* AAncestor);
    void WriteComponent(TComponent* Component);
    // Writes prefix, class, name, properties and children of Instance
    // (called from WriteState).
    void WriteData(TComponent* Instance);
    void WriteProperties(TPersistent* Instance);
    void WriteCollection(TCollection* Value);

private:
    void WriteProperty(TPersistent* Instance, const TPropInfo* Prop);
    void WriteObjectProperty(TPersistent* Instance, const TPropInfo* Prop);
    bool IsDefaultValue(TPersistent* Instance, const TPropInfo* Prop);
    void WritePropName(const std::string& Name);
    void WriteChildren(TComponent* Instance);
    void WriteComponentWithAncestor(TComponent* Child, TComponent* OwnerAncestor);
    std::string ComponentReferenceName(TComponent* Value);
    std::string MethodNameOf(const TMethod& Method);

    std::string FPropPath;
    TComponent* FRootAncestor = nullptr;
    bool FAncestorIsChild = false;
};

// ---- Fix-ups of component references across roots -------------------------------

// Finds a root component (a form or data module) by name for references such
// as "Form2.Button1"; several finders may be registered.
using TFindGlobalComponent = TComponent* (*)(const std::string& Name);
void RegisterFindGlobalComponentProc(TFindGlobalComponent Proc);
void UnregisterFindGlobalComponentProc(TFindGlobalComponent Proc);
TComponent* FindGlobalComponent(const std::string& Name);
// Resolves pending references to other roots that can be found now.
void GlobalFixupReferences();
// Drops pending references held by or pointing into Root (called as
// components die).
void RemoveFixupReferences(TComponent* Root);
int PendingGlobalFixupCount();

// Calls the external DefineProperties registered for classes the rtl defines
// (TStrings stores its items as "Strings").
using TDefinePropertiesProc = void (*)(TPersistent* Instance, TFiler* Filer);
void RegisterDefineProperties(TClass AClass, TDefinePropertiesProc Proc);
void CallDefineProperties(TPersistent* Instance, TFiler* Filer);

// ---- Stream helpers ------------------------------------------------------------

// Reads a binary or text form from Stream into Instance (or a new component of
// the stored class when Instance is nullptr).
TComponent* ReadComponent(TStream* Stream, TComponent* Instance);
void WriteComponent(TStream* Stream, TComponent* Instance);
TComponent* ReadComponentFromString(const std::string& Data, TComponent* Instance);
std::string WriteComponentToString(TComponent* Instance);

// Reads the FormLayout resource ResName into Instance; false when absent.
bool ReadComponentRes(const std::string& ResName, TComponent* Instance);
// Reads the stored layout of LayoutClass into Instance; false when the class
// has none.
bool InitInheritedComponent(TComponent* Instance, TClass LayoutClass);

// ---- Text forms --------------------------------------------------------------

enum TStreamOriginalFormat { sofUnknown, sofBinary, sofText };
// Tells binary from text by the "TPF0" signature; the position is unchanged.
TStreamOriginalFormat TestStreamFormat(TStream* Stream);
void ObjectBinaryToText(TStream* Input, TStream* Output);
void ObjectTextToBinary(TStream* Input, TStream* Output);
std::string ObjectBinaryToText(const std::string& Binary);
std::string ObjectTextToBinary(const std::string& Text);

} // namespace host
