#include "host/vcl/Filer.h"
#include "host/vcl/ReaderInternal.h"

namespace host {

void AddGlobalFixup(TPersistent* Instance, TComponent* InstanceComponent, TComponent* InstanceRoot,
                    const TPropInfo* Prop, const std::string& RootName, const std::string& Name);

namespace {
using namespace reader;

bool IsStringValue(TValueType V) { return V == vaString || V == vaLString || V == vaWString || V == vaUTF8String; }
bool IsFloatValue(TValueType V)
{
    return V == vaExtended || V == vaSingle || V == vaCurrency || V == vaDate || IsIntValue(V) || V == vaInt64;
}


// Restores a string member (the error context) on every exit.
struct TContextGuard {
    std::string& Ref;
    std::string Saved;
    TContextGuard(std::string& R, const std::string& Next) : Ref(R), Saved(R) { Ref = Next; }
    ~TContextGuard() { Ref = Saved; }
};

// A second instance of a stored form takes the name "Form1_1", as the first
// one (a global component, or a sibling under the same owner) holds "Form1".
std::string UniqueRootName(TComponent* Root, const std::string& Name)
{
    if (Name.empty()) return Name;
    auto taken = [Root](const std::string& N) {
        TComponent* global = FindGlobalComponent(N);
        if (global && global != Root) return true;
        TComponent* owner = Root->GetOwner();
        TComponent* sibling = owner ? owner->FindComponent(N) : nullptr;
        return sibling && sibling != Root;
    };
    std::string result = Name;
    for (int i = 1; taken(result) && i < 1000000; ++i) result = Name + "_" + std::to_string(i);
    return result;
}

std::string Join(const std::string& A, const std::string& B) { return A.empty() ? B : B.empty() ? A : A + "." + B; }
} // namespace

// A name the stream gives that is no identifier or already taken is an error
// of the stream.
void TReader::SetComponentName(TComponent* Component, const std::string& Name)
{
    try {
        Component->SetName(Name);
    } catch (const EComponentError& e) {
        Fail(e.GetMessage());
    }
}

// ---- Components ------------------------------------------------------------------

TComponent* TReader::ReadRootComponent(TComponent* Root)
{
    ReadSignature();
    TFilerFlags flags;
    int pos;
    ReadPrefix(flags, pos);
    std::string className = ReadStr();
    std::string name = ReadStr();
    bool created = false;
    TComponent* result = Root;
    if (!result) {
        TClass cls = FindClass(className);
        if (!cls->InheritsFrom(TComponent::StaticClass()) || !cls->CreateOwned)
            Fail("Cannot create a component of class " + className);
        TComponent::SetNextLoading(true);
        try {
            result = CreateComponent(cls, nullptr);
        } catch (...) {
            TComponent::SetNextLoading(false);
            throw;
        }
        TComponent::SetNextLoading(false);
        created = true;
    }
    FRoot = FLookupRoot = result;
    FOwner = FParent = result;
    FLoaded.clear();
    FFixups.clear();
    FFixupsActive = true;
    try {
        TContextGuard ctx(FContext, name);
        FCurrent = result;
        if (!result->GetComponentState().Contains(csDesigning)) SetComponentName(result, UniqueRootName(result, name));
        result->SetComponentState(csLoading, true);
        result->SetComponentState(csReading, true);
        FLoaded.push_back(result);
        result->ReadState(this);
        result->SetComponentState(csReading, false);
        FixupReferences();
        FFixupsActive = false;
        for (size_t i = 0; i < FLoaded.size(); ++i) FLoaded[i]->Loaded();
    } catch (...) {
        FFixupsActive = false;
        FFixups.clear();
        RemoveFixupReferences(result);
        if (created) {
            result->Free();
        } else {
            for (TComponent* c : FLoaded) {
                c->SetComponentState(csLoading, false);
                c->SetComponentState(csReading, false);
            }
        }
        FLoaded.clear();
        throw;
    }
    FLoaded.clear();
    GlobalFixupReferences();
    return result;
}

TComponent* TReader::CreateNamedComponent(TFilerFlags Flags, const std::string& ClassName, const std::string& Name,
                                          bool& Created)
{
    Created = false;
    if (Flags.Contains(ffInherited)) {
        TComponent* existing = FOwner ? FOwner->FindComponent(Name) : nullptr;
        if (!existing && FRoot) existing = FRoot->FindComponent(Name);
        if (!existing) Fail("Ancestor for '" + Name + "' not found");
        return existing;
    }
    TClass cls = FindClass(ClassName);
    if (!cls->InheritsFrom(TComponent::StaticClass()) || !cls->CreateOwned)
        Fail("Cannot create a component of class " + ClassName);
    TComponent::SetNextLoading(true);
    TComponent* result;
    try {
        result = CreateComponent(cls, FOwner);
    } catch (...) {
        TComponent::SetNextLoading(false);
        throw;
    }
    TComponent::SetNextLoading(false);
    Created = true;
    return result;
}

TComponent* TReader::ReadComponent(TComponent* Component)
{
    TDepthGuard depth(FDepth, MaxDepth);
    TFilerFlags flags;
    int childPos;
    ReadPrefix(flags, childPos);
    std::string className = ReadStr();
    std::string name = ReadStr();
    TContextGuard ctx(FContext, name.empty() ? className : name);
    bool created = false;
    TComponent* result = Component ? Component : CreateNamedComponent(flags, className, name, created);
    TComponent* savedCurrent = FCurrent;
    FCurrent = result;
    try {
        result->SetComponentState(csLoading, true);
        if (!flags.Contains(ffInherited)) SetComponentName(result, name);
        result->SetComponentState(csReading, true);
        result->ReadState(this);
        result->SetComponentState(csReading, false);
        if (FParent && result->HasParent() && result->GetParentComponent() != FParent)
            result->SetParentComponent(FParent);
        if (flags.Contains(ffChildPos) && FParent) FParent->SetChildOrder(result, childPos);
        FLoaded.push_back(result);
    } catch (...) {
        FCurrent = savedCurrent;
        if (created) result->Free();
        throw;
    }
    FCurrent = savedCurrent;
    return result;
}

void TReader::ReadData(TComponent* Instance)
{
    if (FFixupsActive) {
        ReadDataInner(Instance);
        return;
    }
    FFixupsActive = true;
    try {
        ReadDataInner(Instance);
        FixupReferences();
    } catch (...) {
        FFixupsActive = false;
        FFixups.clear();
        throw;
    }
    FFixupsActive = false;
}

void TReader::ReadDataInner(TComponent* Instance)
{
    while (!EndOfList()) ReadProperty(Instance);
    ReadListEnd();
    TComponent* oldParent = FParent;
    TComponent* oldOwner = FOwner;
    FParent = Instance->GetChildParent();
    FOwner = Instance->GetChildOwner();
    if (!FOwner) FOwner = FRoot ? FRoot : Instance;
    try {
        while (!EndOfList()) ReadComponent(nullptr);
        ReadListEnd();
    } catch (...) {
        FParent = oldParent;
        FOwner = oldOwner;
        throw;
    }
    FParent = oldParent;
    FOwner = oldOwner;
}

// ---- Properties ---------------------------------------------------------------------

TPersistent* TReader::ResolvePath(TPersistent* Instance, const std::string& Path, std::string& Last)
{
    TPersistent* obj = Instance;
    size_t start = 0;
    for (;;) {
        size_t dot = Path.find('.', start);
        if (dot == std::string::npos) {
            Last = Path.substr(start);
            return obj;
        }
        const TPropInfo* p = GetPropInfo(obj, Path.substr(start, dot - start));
        if (!p || p->Kind() != tkClass) return nullptr;
        obj = dynamic_cast<TPersistent*>(GetObjectProp(obj, p));
        if (!obj) return nullptr;
        start = dot + 1;
    }
}

void TReader::ReadProperty(TPersistent* Instance)
{
    std::string path = ReadStr();
    TContextGuard ctx(FContext, Join(FContext, path));
    std::string last;
    TPersistent* target = ResolvePath(Instance, path, last);
    const TPropInfo* prop = target ? GetPropInfo(target, last) : nullptr;
    if (prop) {
        ReadPropValue(target, prop);
        return;
    }
    if (target) {
        std::string savedName = FPropName;
        bool savedFound = FPropFound;
        FPropName = last;
        FPropFound = false;
        try {
            CallDefineProperties(target, this);
        } catch (...) {
            FPropName = savedName;
            FPropFound = savedFound;
            throw;
        }
        bool found = FPropFound;
        FPropName = savedName;
        FPropFound = savedFound;
        if (found) return;
    }
    PropertyError(Format("Property %s does not exist", {path}));
    SkipValue();
}

void TReader::ReadPropValue(TPersistent* Instance, const TPropInfo* Prop)
{
    TValueType next = NextValue();
    auto reject = [&] {
        SkipValue();
        PropertyError(SInvalidPropertyValue);
    };
    // Setters may refuse a value; that is an error of this property.
    auto apply = [&](auto&& fn) {
        try {
            fn();
        } catch (const EReadError&) {
            throw;
        } catch (const Exception& e) {
            PropertyError(e.GetMessage());
        }
    };
    const TTypeInfo* type = Prop->PropType;
    switch (Prop->Kind()) {
    case tkInteger:
        if (next == vaIdent && type->IdentToInt) {
            std::string ident = ReadIdent();
            int64_t v;
            if (!type->IdentToInt(ident, v)) return PropertyError(SInvalidPropertyValue);
            return apply([&] { SetOrdProp(Instance, Prop, v); });
        }
        if (!IsIntValue(next)) return reject();
        {
            int32_t v = ReadInteger();
            return apply([&] { SetOrdProp(Instance, Prop, v); });
        }
    case tkInt64:
        if (!IsIntValue(next) && next != vaInt64) return reject();
        {
            int64_t v = ReadInt64();
            return apply([&] { SetOrdProp(Instance, Prop, v); });
        }
    case tkChar:
    case tkWChar:
        if (!IsStringValue(next)) return reject();
        {
            std::string s = ReadString();
            if (s.size() != 1) return PropertyError(SInvalidPropertyValue);
            return apply([&] { SetOrdProp(Instance, Prop, static_cast<unsigned char>(s[0])); });
        }
    case tkEnumeration:
        if (next != vaIdent && next != vaFalse && next != vaTrue) return reject();
        {
            int v = GetEnumValue(type, ReadIdent());
            if (v < 0) return PropertyError(SInvalidPropertyValue);
            return apply([&] { SetOrdProp(Instance, Prop, v); });
        }
    case tkSet:
        if (next != vaSet) return reject();
        {
            uint64_t v = ReadSet(type);
            return apply([&] { SetOrdProp(Instance, Prop, static_cast<int64_t>(v)); });
        }
    case tkFloat:
        if (!IsFloatValue(next)) return reject();
        {
            double v = ReadFloat();
            return apply([&] { SetFloatProp(Instance, Prop, v); });
        }
    case tkString:
    case tkLString:
    case tkWString:
        if (!IsStringValue(next)) return reject();
        {
            std::string v = ReadString();
            return apply([&] { SetStrProp(Instance, Prop, v); });
        }
    case tkMethod:
        if (next == vaNil) {
            ReadValue();
            return apply([&] { SetMethodProp(Instance, Prop, TMethod{}); });
        }
        if (next != vaIdent) return reject();
        {
            std::string name = ReadIdent();
            TMethod m = FindMethod(name);
            if (!m.Assigned()) return PropertyError(SInvalidPropertyValue);
            return apply([&] { SetMethodProp(Instance, Prop, m); });
        }
    case tkClass:
        return ReadObjectValue(Instance, Prop);
    default:
        return reject();
    }
}

void TReader::ReadObjectValue(TPersistent* Instance, const TPropInfo* Prop)
{
    TValueType next = NextValue();
    if (next == vaNil) {
        ReadValue();
        if (Prop->SetObj) SetObjectProp(Instance, Prop, nullptr);
        return;
    }
    if (next == vaIdent && Prop->PropType->ClassType &&
        Prop->PropType->ClassType->InheritsFrom(TComponent::StaticClass()) && Prop->SetObj) {
        std::string name = ReadIdent();
        FFixups.push_back({Instance, Prop, name, FCurrent});
        return;
    }
    if (next == vaCollection) {
        if (auto* collection = dynamic_cast<TCollection*>(GetObjectProp(Instance, Prop))) {
            ReadValue();
            ReadCollection(collection);
            return;
        }
    }
    SkipValue();
    PropertyError(SInvalidPropertyValue);
}

void TReader::ReadCollection(TCollection* Collection)
{
    TDepthGuard depth(FDepth, MaxDepth);
    Collection->BeginUpdate();
    try {
        if (!EndOfList()) Collection->Clear();
        while (!EndOfList()) {
            if (IsIntValue(NextValue())) ReadInteger();
            TCollectionItem* item = Collection->Add();
            TContextGuard ctx(FContext, FContext + "[" + std::to_string(item->GetIndex()) + "]");
            ReadListBegin();
            while (!EndOfList()) ReadProperty(item);
            ReadListEnd();
        }
        ReadListEnd();
    } catch (...) {
        Collection->EndUpdate();
        throw;
    }
    Collection->EndUpdate();
}

TMethod TReader::FindMethod(const std::string& Name)
{
    TMethod m;
    if (OnFindMethod) {
        bool error = true;
        OnFindMethod(this, Name, m, error);
        if (m.Assigned() || !error) return m;
    }
    return MethodAddress(FRoot, Name);
}

// ---- Fix-ups ------------------------------------------------------------------------

void TReader::FixupReferences()
{
    std::vector<TFixup> fixups;
    fixups.swap(FFixups);
    for (const TFixup& f : fixups) {
        std::string rootName, name = f.Name;
        size_t dot = name.find('.');
        if (dot != std::string::npos) {
            rootName = name.substr(0, dot);
            name = name.substr(dot + 1);
        }
        TComponent* root = FRoot;
        if (!rootName.empty() && !(FRoot && SameText(rootName, FRoot->GetName()))) root = FindGlobalComponent(rootName);
        TComponent* target = nullptr;
        if (root) target = (rootName.empty() && SameText(name, root->GetName())) ? root : root->FindComponent(name);
        if (!target) {
            // A reference into a root that is not loaded yet waits for it.
            if (!rootName.empty() && root != FRoot) {
                AddGlobalFixup(f.Instance, f.Component ? f.Component : FRoot, FRoot, f.Prop, rootName, name);
            }
            continue;
        }
        try {
            SetObjectProp(f.Instance, f.Prop, target);
        } catch (const EReadError&) {
            throw;
        } catch (const Exception& e) {
            TContextGuard ctx(FContext, f.Prop->Name);
            PropertyError(e.GetMessage());
        }
    }
}

} // namespace host
