#include "host/vcl/TypInfo.h"

#include <cctype>
#include <cstring>
#include <map>
#include <mutex>
#include <typeindex>

namespace host {

namespace {



std::map<TClass, TPublishFn>& PublishFns()
{
    static std::map<TClass, TPublishFn> fns;
    return fns;
}

// Tables stay alive for the program: property infos are handed out by pointer.
std::vector<std::unique_ptr<TClassRtti>>& Tables()
{
    static std::vector<std::unique_ptr<TClassRtti>> tables;
    return tables;
}

[[noreturn]] void RaiseUnknown(const std::string& Name)
{
    throw EPropertyError(Format("Property %s does not exist", {Name}));
}

[[noreturn]] void RaiseWrongKind(const TPropInfo* P)
{
    throw EPropertyError(Format("Invalid property type: %s", {P ? P->Name : std::string("nil")}));
}

[[noreturn]] void RaiseReadOnly(const TPropInfo* P)
{
    throw EPropertyError(Format("Property %s is read-only", {P->Name}));
}

const TPropInfo* Need(TObject* Instance, const std::string& Name)
{
    const TPropInfo* p = GetPropInfo(Instance, Name);
    if (!p) RaiseUnknown(Name);
    return p;
}

} // namespace

static TTypeInfo Plain(TTypeKind Kind, const char* Name)
{
    TTypeInfo t;
    t.Kind = Kind;
    t.Name = Name;
    return t;
}

namespace detail {

[[noreturn]] void RaiseInvalidPropertyValue() { throw EPropertyError("Invalid property value"); }

const TTypeInfo* IntegerInfo()
{
    static const TTypeInfo info = Plain(tkInteger, "Integer");
    return &info;
}
const TTypeInfo* CharInfo()
{
    static const TTypeInfo info = Plain(tkChar, "Char");
    return &info;
}
const TTypeInfo* BooleanInfo()
{
    static const TTypeInfo info = MakeEnumTypeInfo("Boolean", "False, True");
    return &info;
}
const TTypeInfo* Int64Info()
{
    static const TTypeInfo info = Plain(tkInt64, "Int64");
    return &info;
}
const TTypeInfo* FloatInfo(TFloatType Type)
{
    static const TTypeInfo single = [] { TTypeInfo t = Plain(tkFloat, "Single"); t.FloatType = ftSingle; return t; }();
    static const TTypeInfo dbl = [] { TTypeInfo t = Plain(tkFloat, "Double"); t.FloatType = ftDouble; return t; }();
    static const TTypeInfo ext = [] { TTypeInfo t = Plain(tkFloat, "Extended"); t.FloatType = ftExtended; return t; }();
    return Type == ftSingle ? &single : Type == ftDouble ? &dbl : &ext;
}
const TTypeInfo* StringInfo()
{
    static const TTypeInfo info = Plain(tkLString, "string");
    return &info;
}
const TTypeInfo* ClassInfo(TClass AClass)
{
    static std::map<TClass, std::unique_ptr<TTypeInfo>> infos;
    auto& slot = infos[AClass];
    if (!slot) {
        slot = std::make_unique<TTypeInfo>();
        slot->Kind = tkClass;
        slot->Name = AClass->Name;
        slot->ClassType = AClass;
    }
    return slot.get();
}
const TTypeInfo* MethodInfo(const std::type_info& Signature)
{
    static std::map<std::type_index, std::unique_ptr<TTypeInfo>> infos;
    auto& slot = infos[std::type_index(Signature)];
    if (!slot) {
        slot = std::make_unique<TTypeInfo>();
        slot->Kind = tkMethod;
        slot->Name = "TMethod";
        slot->Signature = &Signature;
    }
    return slot.get();
}
const TTypeInfo* SetInfo(const TTypeInfo* CompType)
{
    static std::map<const TTypeInfo*, std::unique_ptr<TTypeInfo>> infos;
    auto& slot = infos[CompType];
    if (!slot) {
        slot = std::make_unique<TTypeInfo>();
        slot->Kind = tkSet;
        slot->Name = "set of " + CompType->Name;
        slot->CompType = CompType;
    }
    return slot.get();
}

} // namespace detail

TTypeInfo MakeEnumTypeInfo(const char* Name, const char* CommaSeparatedNames)
{
    TTypeInfo info = Plain(tkEnumeration, Name);
    std::string all = CommaSeparatedNames;
    size_t start = 0;
    while (start <= all.size()) {
        size_t comma = all.find(',', start);
        if (comma == std::string::npos) comma = all.size();
        std::string item = Trim(all.substr(start, comma - start));
        if (!item.empty()) info.EnumNames.push_back(item);
        start = comma + 1;
    }
    return info;
}

TTypeInfo MakeIntegerTypeInfo(const char* Name, TIdentToInt ToInt, TIntToIdent ToIdent)
{
    TTypeInfo info = Plain(tkInteger, Name);
    info.IdentToInt = ToInt;
    info.IntToIdent = ToIdent;
    return info;
}

std::string GetEnumName(const TTypeInfo* TypeInfo, int64_t Value)
{
    if (!TypeInfo) return {};
    if (TypeInfo->Kind == tkInteger || TypeInfo->Kind == tkInt64) return std::to_string(Value);
    if (Value < 0 || Value >= static_cast<int64_t>(TypeInfo->EnumNames.size())) return {};
    return TypeInfo->EnumNames[static_cast<size_t>(Value)];
}

int GetEnumValue(const TTypeInfo* TypeInfo, const std::string& Name)
{
    if (!TypeInfo) return -1;
    for (size_t i = 0; i < TypeInfo->EnumNames.size(); ++i)
        if (SameText(TypeInfo->EnumNames[i], Name)) return static_cast<int>(i);
    return -1;
}

std::string SetToString(const TTypeInfo* SetType, uint64_t Value, bool Brackets)
{
    std::string result;
    const TTypeInfo* comp = SetType ? SetType->CompType : nullptr;
    for (unsigned i = 0; i < 64; ++i) {
        if (!(Value & (uint64_t(1) << i))) continue;
        if (!result.empty()) result += ',';
        std::string name = GetEnumName(comp, i);
        result += name.empty() ? std::to_string(i) : name;
    }
    return Brackets ? "[" + result + "]" : result;
}

uint64_t StringToSet(const TTypeInfo* SetType, const std::string& Value)
{
    std::string s = Trim(Value);
    if (!s.empty() && s.front() == '[') s.erase(0, 1);
    if (!s.empty() && s.back() == ']') s.pop_back();
    uint64_t result = 0;
    size_t start = 0;
    while (start <= s.size()) {
        size_t comma = s.find(',', start);
        if (comma == std::string::npos) comma = s.size();
        std::string item = Trim(s.substr(start, comma - start));
        start = comma + 1;
        if (item.empty()) continue;
        int v = GetEnumValue(SetType ? SetType->CompType : nullptr, item);
        if (v < 0 || v >= 64) throw EPropertyError(Format("Invalid property element: %s", {item}));
        result |= uint64_t(1) << v;
    }
    return result;
}

void RegisterPublished(TClass AClass, TPublishFn Fn)
{
    auto& fns = PublishFns();
    auto it = fns.find(AClass);
    if (it != fns.end() && it->second == Fn) return;
    fns[AClass] = Fn;
    AClass->Rtti = nullptr; // rebuilt on next use
}

const TClassRtti& GetClassRtti(TClass AClass)
{
    if (!AClass->Rtti) {
        auto table = std::make_unique<TClassRtti>();
        auto it = PublishFns().find(AClass);
        if (it != PublishFns().end()) it->second(*table);
        AClass->Rtti = table.get();
        Tables().push_back(std::move(table));
    }
    return *static_cast<const TClassRtti*>(AClass->Rtti);
}

namespace {
const std::vector<const TPropInfo*>& AllProps(TClass AClass)
{
    const TClassRtti& own = GetClassRtti(AClass);
    if (own.AllBuilt) return own.AllProps;
    std::vector<const TPropInfo*> list;
    if (AClass->Parent) list = AllProps(AClass->Parent);
    for (auto& p : own.Props) {
        bool replaced = false;
        for (auto& q : list)
            if (SameText(q->Name, p->Name)) {
                q = p.get();
                replaced = true;
                break;
            }
        if (!replaced) list.push_back(p.get());
    }
    own.AllProps = std::move(list);
    own.AllBuilt = true;
    return own.AllProps;
}
} // namespace

std::vector<const TPropInfo*> GetPropList(TClass AClass, TTypeKinds Kinds)
{
    std::vector<const TPropInfo*> result;
    if (!AClass) return result;
    for (const TPropInfo* p : AllProps(AClass))
        if (Kinds.Contains(p->Kind())) result.push_back(p);
    return result;
}

std::vector<const TPropInfo*> GetPropList(const TObject* Instance, TTypeKinds Kinds)
{
    return Instance ? GetPropList(Instance->ClassType(), Kinds) : std::vector<const TPropInfo*>{};
}

const TPropInfo* GetPropInfo(TClass AClass, const std::string& PropName, TTypeKinds Kinds)
{
    if (!AClass) return nullptr;
    for (const TPropInfo* p : AllProps(AClass))
        if (SameText(p->Name, PropName)) return Kinds.Contains(p->Kind()) ? p : nullptr;
    return nullptr;
}

const TPropInfo* GetPropInfo(const TObject* Instance, const std::string& PropName, TTypeKinds Kinds)
{
    return Instance ? GetPropInfo(Instance->ClassType(), PropName, Kinds) : nullptr;
}

bool IsPublishedProp(TClass AClass, const std::string& PropName) { return GetPropInfo(AClass, PropName) != nullptr; }
bool IsPublishedProp(const TObject* Instance, const std::string& PropName)
{
    return GetPropInfo(Instance, PropName) != nullptr;
}

TTypeKind PropType(const TObject* Instance, const std::string& PropName)
{
    const TPropInfo* p = GetPropInfo(Instance, PropName);
    if (!p) RaiseUnknown(PropName);
    return p->Kind();
}

bool IsStoredProp(TObject* Instance, const TPropInfo* PropInfo)
{
    if (!PropInfo) return false;
    if (PropInfo->StoredFn) return PropInfo->StoredFn(Instance);
    return PropInfo->StoredConst;
}

int64_t GetOrdProp(TObject* Instance, const TPropInfo* P)
{
    if (!P || !P->GetOrd) RaiseWrongKind(P);
    return P->GetOrd(Instance);
}
void SetOrdProp(TObject* Instance, const TPropInfo* P, int64_t Value)
{
    if (!P || !P->GetOrd) RaiseWrongKind(P);
    if (!P->SetOrd) RaiseReadOnly(P);
    P->SetOrd(Instance, Value);
}
std::string GetStrProp(TObject* Instance, const TPropInfo* P)
{
    if (!P || !P->GetStr) RaiseWrongKind(P);
    return P->GetStr(Instance);
}
void SetStrProp(TObject* Instance, const TPropInfo* P, const std::string& Value)
{
    if (!P || !P->GetStr) RaiseWrongKind(P);
    if (!P->SetStr) RaiseReadOnly(P);
    P->SetStr(Instance, Value);
}
double GetFloatProp(TObject* Instance, const TPropInfo* P)
{
    if (!P || !P->GetFloat) RaiseWrongKind(P);
    return P->GetFloat(Instance);
}
void SetFloatProp(TObject* Instance, const TPropInfo* P, double Value)
{
    if (!P || !P->GetFloat) RaiseWrongKind(P);
    if (!P->SetFloat) RaiseReadOnly(P);
    P->SetFloat(Instance, Value);
}
int64_t GetInt64Prop(TObject* Instance, const TPropInfo* P) { return GetOrdProp(Instance, P); }
void SetInt64Prop(TObject* Instance, const TPropInfo* P, int64_t Value) { SetOrdProp(Instance, P, Value); }
TObject* GetObjectProp(TObject* Instance, const TPropInfo* P)
{
    if (!P || !P->GetObj) RaiseWrongKind(P);
    return P->GetObj(Instance);
}
void SetObjectProp(TObject* Instance, const TPropInfo* P, TObject* Value)
{
    if (!P || !P->GetObj) RaiseWrongKind(P);
    if (!P->SetObj) RaiseReadOnly(P);
    P->SetObj(Instance, Value);
}
TMethod GetMethodProp(TObject* Instance, const TPropInfo* P)
{
    if (!P || !P->GetMeth) RaiseWrongKind(P);
    return P->GetMeth(Instance);
}
void SetMethodProp(TObject* Instance, const TPropInfo* P, const TMethod& Value)
{
    if (!P || !P->GetMeth) RaiseWrongKind(P);
    if (!P->SetMeth) RaiseReadOnly(P);
    P->SetMeth(Instance, Value);
}
std::string GetEnumProp(TObject* Instance, const TPropInfo* P)
{
    return GetEnumName(P ? P->PropType : nullptr, GetOrdProp(Instance, P));
}
void SetEnumProp(TObject* Instance, const TPropInfo* P, const std::string& Value)
{
    if (!P || P->Kind() != tkEnumeration) RaiseWrongKind(P);
    int v = GetEnumValue(P->PropType, Value);
    if (v < 0) throw EPropertyError(Format("Invalid property element: %s", {Value}));
    SetOrdProp(Instance, P, v);
}
std::string GetSetProp(TObject* Instance, const TPropInfo* P, bool Brackets)
{
    if (!P || P->Kind() != tkSet) RaiseWrongKind(P);
    return SetToString(P->PropType, static_cast<uint64_t>(GetOrdProp(Instance, P)), Brackets);
}
void SetSetProp(TObject* Instance, const TPropInfo* P, const std::string& Value)
{
    if (!P || P->Kind() != tkSet) RaiseWrongKind(P);
    SetOrdProp(Instance, P, static_cast<int64_t>(StringToSet(P->PropType, Value)));
}

int64_t GetOrdProp(TObject* I, const std::string& N) { return GetOrdProp(I, Need(I, N)); }
void SetOrdProp(TObject* I, const std::string& N, int64_t V) { SetOrdProp(I, Need(I, N), V); }
std::string GetStrProp(TObject* I, const std::string& N) { return GetStrProp(I, Need(I, N)); }
void SetStrProp(TObject* I, const std::string& N, const std::string& V) { SetStrProp(I, Need(I, N), V); }
double GetFloatProp(TObject* I, const std::string& N) { return GetFloatProp(I, Need(I, N)); }
void SetFloatProp(TObject* I, const std::string& N, double V) { SetFloatProp(I, Need(I, N), V); }
int64_t GetInt64Prop(TObject* I, const std::string& N) { return GetInt64Prop(I, Need(I, N)); }
void SetInt64Prop(TObject* I, const std::string& N, int64_t V) { SetInt64Prop(I, Need(I, N), V); }
TObject* GetObjectProp(TObject* I, const std::string& N) { return GetObjectProp(I, Need(I, N)); }
void SetObjectProp(TObject* I, const std::string& N, TObject* V) { SetObjectProp(I, Need(I, N), V); }
TMethod GetMethodProp(TObject* I, const std::string& N) { return GetMethodProp(I, Need(I, N)); }
void SetMethodProp(TObject* I, const std::string& N, const TMethod& V) { SetMethodProp(I, Need(I, N), V); }
std::string GetEnumProp(TObject* I, const std::string& N) { return GetEnumProp(I, Need(I, N)); }
void SetEnumProp(TObject* I, const std::string& N, const std::string& V) { SetEnumProp(I, Need(I, N), V); }
std::string GetSetProp(TObject* I, const std::string& N, bool B) { return GetSetProp(I, Need(I, N), B); }
void SetSetProp(TObject* I, const std::string& N, const std::string& V) { SetSetProp(I, Need(I, N), V); }

TMethod MethodAddress(TObject* Instance, const std::string& Name)
{
    if (!Instance) return {};
    for (TClass c = Instance->ClassType(); c; c = c->Parent)
        for (const TMethodEntry& e : GetClassRtti(c).Methods)
            if (SameText(e.Name, Name)) {
                TMethod m = e.Proto;
                m.Self = e.Cast(Instance);
                if (!m.Self) return {};
                m.Data = Instance;
                return m;
            }
    return {};
}

std::string MethodName(TClass AClass, const TMethod& Method)
{
    if (!Method.Assigned() || Method.Closure) return {};
    for (TClass c = AClass; c; c = c->Parent)
        for (const TMethodEntry& e : GetClassRtti(c).Methods)
            if (std::memcmp(e.Proto.Code, Method.Code, sizeof Method.Code) == 0 &&
                e.Proto.SameSignature(*Method.Signature))
                return e.Name;
    return {};
}

bool SetPublishedField(TObject* Owner, const std::string& Name, TObject* Value)
{
    if (!Owner || Name.empty()) return false;
    for (TClass c = Owner->ClassType(); c; c = c->Parent)
        for (const TFieldEntry& e : GetClassRtti(c).Fields)
            if (SameText(e.Name, Name)) return e.Set(Owner, Value);
    return false;
}

TObject* GetPublishedField(TObject* Owner, const std::string& Name)
{
    if (!Owner) return nullptr;
    for (TClass c = Owner->ClassType(); c; c = c->Parent)
        for (const TFieldEntry& e : GetClassRtti(c).Fields)
            if (SameText(e.Name, Name)) return e.Get(Owner);
    return nullptr;
}

} // namespace host
