#include <cmath>
#include <cstring>

#include "host/vcl/Filer.h"

namespace host {

namespace {

// Restores a member on every exit.
template <class T>
struct TRestore {
    T& Ref;
    T Saved;
    TRestore(T& R, T Next) : Ref(R), Saved(R) { Ref = std::move(Next); }
    ~TRestore() { Ref = std::move(Saved); }
};

std::string CollectionBytes(TCollection* Collection)
{
    TStringStream stream;
    TWriter writer(&stream);
    writer.WriteCollection(Collection);
    return stream.GetDataString();
}
} // namespace

// ---- Values --------------------------------------------------------------------------

void TWriter::Write(const void* Buffer, int64_t Count) { FStream->WriteBuffer(Buffer, Count); }

void TWriter::WriteValue(TValueType Value)
{
    uint8_t b = Value;
    Write(&b, 1);
}

void TWriter::WriteInteger(int64_t Value)
{
    if (Value >= INT8_MIN && Value <= INT8_MAX) {
        WriteValue(vaInt8);
        int8_t v = static_cast<int8_t>(Value);
        Write(&v, 1);
    } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
        WriteValue(vaInt16);
        int16_t v = static_cast<int16_t>(Value);
        Write(&v, 2);
    } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
        WriteValue(vaInt32);
        int32_t v = static_cast<int32_t>(Value);
        Write(&v, 4);
    } else {
        WriteValue(vaInt64);
        Write(&Value, 8);
    }
}

void TWriter::WriteFloat(double Value)
{
    WriteValue(vaExtended);
    uint8_t raw[10];
    DoubleToExtended(Value, raw);
    Write(raw, 10);
}

void TWriter::WriteSingle(float Value)
{
    WriteValue(vaSingle);
    Write(&Value, 4);
}

void TWriter::WriteCurrency(double Value)
{
    WriteValue(vaCurrency);
    int64_t v = std::llround(Value * 10000.0);
    Write(&v, 8);
}

void TWriter::WriteDate(double Value)
{
    WriteValue(vaDate);
    Write(&Value, 8);
}

void TWriter::WriteStr(const std::string& Value)
{
    if (Value.size() > 255) throw EWriteError("Name too long to store: " + Value.substr(0, 32) + "...");
    uint8_t n = static_cast<uint8_t>(Value.size());
    Write(&n, 1);
    Write(Value.data(), n);
}

void TWriter::WriteString(const std::string& Value)
{
    if (Value.size() <= 255) {
        WriteValue(vaString);
        uint8_t n = static_cast<uint8_t>(Value.size());
        Write(&n, 1);
    } else {
        if (Value.size() > INT32_MAX) throw EWriteError("String too long to store");
        WriteValue(vaLString);
        int32_t n = static_cast<int32_t>(Value.size());
        Write(&n, 4);
    }
    Write(Value.data(), static_cast<int64_t>(Value.size()));
}

void TWriter::WriteIdent(const std::string& Ident)
{
    if (SameText(Ident, "False"))
        WriteValue(vaFalse);
    else if (SameText(Ident, "True"))
        WriteValue(vaTrue);
    else if (SameText(Ident, "nil"))
        WriteValue(vaNil);
    else if (SameText(Ident, "Null"))
        WriteValue(vaNull);
    else {
        WriteValue(vaIdent);
        WriteStr(Ident);
    }
}

void TWriter::WriteSet(const TTypeInfo* SetType, uint64_t Value)
{
    WriteValue(vaSet);
    for (unsigned i = 0; i < 64; ++i)
        if (Value & (uint64_t(1) << i)) WriteStr(GetEnumName(SetType ? SetType->CompType : nullptr, i));
    WriteStr("");
}

void TWriter::WriteSignature() { Write("TPF0", 4); }

void TWriter::WritePrefix(TFilerFlags Flags, int ChildPos)
{
    if (Flags.Empty()) return;
    uint8_t b = static_cast<uint8_t>(0xF0 | Flags.ToInt());
    Write(&b, 1);
    if (Flags.Contains(ffChildPos)) WriteInteger(ChildPos);
}

void TWriter::WritePropName(const std::string& Name) { WriteStr(FPropPath + Name); }

// ---- Defined properties -----------------------------------------------------------------

void TWriter::DefineProperty(const std::string& Name, TReaderProc, TWriterProc WriteData, bool HasData)
{
    if (!HasData || !WriteData) return;
    WritePropName(Name);
    WriteData(this);
}

void TWriter::DefineBinaryProperty(const std::string& Name, TStreamProc, TStreamProc WriteData, bool HasData)
{
    if (!HasData || !WriteData) return;
    WritePropName(Name);
    WriteValue(vaBinary);
    TMemoryStream data;
    WriteData(&data);
    if (data.GetSize() > INT32_MAX) throw EWriteError("Binary property too large to store");
    int32_t n = static_cast<int32_t>(data.GetSize());
    Write(&n, 4);
    Write(data.GetMemory(), n);
}

// ---- Components ------------------------------------------------------------------------

void TWriter::WriteRootComponent(TComponent* Root) { WriteDescendent(Root, nullptr); }

void TWriter::WriteDescendent(TComponent* Root, TComponent* AAncestor)
{
    FRootAncestor = AAncestor;
    FAncestor = AAncestor;
    FRoot = FLookupRoot = Root;
    WriteSignature();
    WriteComponent(Root);
}

void TWriter::WriteComponent(TComponent* Component)
{
    bool wasWriting = Component->GetComponentState().Contains(csWriting);
    Component->SetComponentState(csWriting, true);
    try {
        Component->WriteState(this);
    } catch (...) {
        if (!wasWriting) Component->SetComponentState(csWriting, false);
        throw;
    }
    if (!wasWriting) Component->SetComponentState(csWriting, false);
}

void TWriter::WriteData(TComponent* Instance)
{
    TFilerFlags flags;
    if (FAncestor) flags += ffInherited;
    WritePrefix(flags, 0);
    WriteStr(Instance->ClassName());
    WriteStr(Instance->GetName());
    WriteProperties(Instance);
    WriteListEnd();
    if (!FIgnoreChildren) WriteChildren(Instance);
    WriteListEnd();
}

void TWriter::WriteChildren(TComponent* Instance)
{
    TPersistent* savedAncestor = FAncestor;
    TComponent* ancestorOwner = FRootAncestor;
    TGetChildProc proc = [&](TComponent* Child) {
        TComponent* childAncestor = nullptr;
        if (ancestorOwner && !Child->GetName().empty()) childAncestor = ancestorOwner->FindComponent(Child->GetName());
        TRestore<TPersistent*> anc(FAncestor, childAncestor);
        WriteComponent(Child);
    };
    try {
        Instance->GetChildren(proc, FRoot);
    } catch (...) {
        FAncestor = savedAncestor;
        throw;
    }
    FAncestor = savedAncestor;
}

// ---- Properties ----------------------------------------------------------------------

void TWriter::WriteProperties(TPersistent* Instance)
{
    for (const TPropInfo* prop : GetPropList(Instance))
        if (IsStoredProp(Instance, prop)) WriteProperty(Instance, prop);
    CallDefineProperties(Instance, this);
}

std::string TWriter::ComponentReferenceName(TComponent* Value)
{
    if (Value->GetName().empty()) return {};
    TComponent* owner = Value->GetOwner();
    if (Value == FLookupRoot || owner == FLookupRoot || !owner || owner->GetName().empty()) return Value->GetName();
    return owner->GetName() + "." + Value->GetName();
}

std::string TWriter::MethodNameOf(const TMethod& Method)
{
    if (!Method.Assigned() || !FLookupRoot || Method.Data != FLookupRoot) return {};
    return MethodName(FLookupRoot->ClassType(), Method);
}

bool TWriter::IsDefaultValue(TPersistent* Instance, const TPropInfo* Prop)
{
    TPersistent* ancestor = FAncestor && FAncestor->InheritsFrom(Prop->DeclaringClass) ? FAncestor : nullptr;
    switch (Prop->Kind()) {
    case tkFloat: {
        double v = GetFloatProp(Instance, Prop);
        return ancestor ? v == GetFloatProp(ancestor, Prop) : v == 0.0;
    }
    case tkString:
    case tkLString:
    case tkWString: {
        std::string v = GetStrProp(Instance, Prop);
        return ancestor ? v == GetStrProp(ancestor, Prop) : v.empty();
    }
    case tkMethod: {
        std::string v = MethodNameOf(GetMethodProp(Instance, Prop));
        if (!ancestor) return v.empty();
        TMethod a = GetMethodProp(ancestor, Prop);
        std::string av = a.Assigned() && a.Data == FRootAncestor ? MethodName(FRootAncestor->ClassType(), a) : "";
        return SameText(v, av);
    }
    case tkClass:
        return false; // decided by WriteObjectProperty
    default: {
        int64_t v = GetOrdProp(Instance, Prop);
        if (ancestor) return v == GetOrdProp(ancestor, Prop);
        return Prop->HasDefault() && v == Prop->Default;
    }
    }
}

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo* Prop)
{
    if (Prop->Kind() == tkClass) {
        WriteObjectProperty(Instance, Prop);
        return;
    }
    if (!Prop->Writable() || IsDefaultValue(Instance, Prop)) return;
    const TTypeInfo* type = Prop->PropType;
    switch (Prop->Kind()) {
    case tkInteger: {
        int64_t v = GetOrdProp(Instance, Prop);
        std::string ident;
        WritePropName(Prop->Name);
        if (type->IntToIdent && type->IntToIdent(v, ident))
            WriteIdent(ident);
        else
            WriteInteger(v);
        return;
    }
    case tkInt64:
        WritePropName(Prop->Name);
        WriteInteger(GetOrdProp(Instance, Prop));
        return;
    case tkChar:
    case tkWChar:
        WritePropName(Prop->Name);
        WriteChar(static_cast<char>(GetOrdProp(Instance, Prop)));
        return;
    case tkEnumeration:
        WritePropName(Prop->Name);
        WriteIdent(GetEnumName(type, GetOrdProp(Instance, Prop)));
        return;
    case tkSet:
        WritePropName(Prop->Name);
        WriteSet(type, static_cast<uint64_t>(GetOrdProp(Instance, Prop)));
        return;
    case tkFloat:
        WritePropName(Prop->Name);
        if (type->FloatType == ftSingle)
            WriteSingle(static_cast<float>(GetFloatProp(Instance, Prop)));
        else
            WriteFloat(GetFloatProp(Instance, Prop));
        return;
    case tkString:
    case tkLString:
    case tkWString:
        WritePropName(Prop->Name);
        WriteString(GetStrProp(Instance, Prop));
        return;
    case tkMethod: {
        std::string name = MethodNameOf(GetMethodProp(Instance, Prop));
        WritePropName(Prop->Name);
        if (name.empty())
            WriteValue(vaNil); // the ancestor had a handler this one dropped
        else
            WriteIdent(name);
        return;
    }
    default:
        return;
    }
}

void TWriter::WriteObjectProperty(TPersistent* Instance, const TPropInfo* Prop)
{
    TObject* value = GetObjectProp(Instance, Prop);
    TPersistent* ancestor = FAncestor && FAncestor->InheritsFrom(Prop->DeclaringClass) ? FAncestor : nullptr;
    TObject* ancestorValue = ancestor ? GetObjectProp(ancestor, Prop) : nullptr;
    if (auto* component = dynamic_cast<TComponent*>(value); component || (!value && Prop->SetObj)) {
        if (!Prop->SetObj) return;
        std::string name = component ? ComponentReferenceName(component) : "";
        auto* ancestorComponent = dynamic_cast<TComponent*>(ancestorValue);
        std::string ancestorName = ancestorComponent ? ancestorComponent->GetName() : "";
        if (component && name.empty()) return; // an unnamed component cannot be referred to
        if (ancestor ? SameText(component ? component->GetName() : "", ancestorName) : !component) return;
        WritePropName(Prop->Name);
        if (component)
            WriteIdent(name);
        else
            WriteValue(vaNil);
        return;
    }
    if (auto* collection = dynamic_cast<TCollection*>(value)) {
        auto* ancestorCollection = dynamic_cast<TCollection*>(ancestorValue);
        if (ancestorCollection ? CollectionBytes(collection) == CollectionBytes(ancestorCollection)
                               : collection->GetCount() == 0)
            return;
        WritePropName(Prop->Name);
        WriteCollection(collection);
        return;
    }
    if (auto* persistent = dynamic_cast<TPersistent*>(value)) {
        TRestore<std::string> path(FPropPath, FPropPath + Prop->Name + ".");
        TRestore<TPersistent*> anc(FAncestor, dynamic_cast<TPersistent*>(ancestorValue));
        WriteProperties(persistent);
    }
}

void TWriter::WriteCollection(TCollection* Value)
{
    WriteValue(vaCollection);
    TRestore<std::string> path(FPropPath, std::string());
    TRestore<TPersistent*> anc(FAncestor, nullptr);
    for (int i = 0; i < Value->GetCount(); ++i) {
        WriteListBegin();
        WriteProperties(Value->GetItem(i));
        WriteListEnd();
    }
    WriteListEnd();
}

} // namespace host
