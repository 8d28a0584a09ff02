#pragma once
// Run-time type information: type descriptions, published properties,
// published methods and published fields, used by name by the form reader and
// writer, the designer and the library.
//
// Declaring a class's published members: one block, next to the class, in the
// class's own namespace (it may name protected members of the class):
//
//     HOST_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
//
//     class TMyLabel : public TComponent {
//         HOST_CLASS(TMyLabel, TComponent)
//     public:
//         ...
//     protected:
//         const std::string& GetCaption() const;   void SetCaption(const std::string&);
//         TAlignment GetAlignment() const;         void SetAlignment(TAlignment);
//         bool IsCaptionStored() const;
//         TNotifyEvent FOnClick;
//     };
//
//     HOST_PUBLISHED(TMyLabel)                 // in the .cpp
//     {
//         P.Property("Alignment", &TMyLabel::GetAlignment, &TMyLabel::SetAlignment).Default(taLeftJustify);
//         P.Property("Caption", &TMyLabel::GetCaption, &TMyLabel::SetCaption).Stored(&TMyLabel::IsCaptionStored);
//         P.Property("Width", &TMyLabel::GetWidth, &TMyLabel::SetWidth).Default(64);
//         P.Property("OnClick", &TMyLabel::FOnClick);     // a field: read and written directly
//         P.Method("LabelClick", &TMyLabel::LabelClick);  // callable by name ("OnClick = LabelClick")
//         P.Field("Button1", &TMyForm::Button1);          // set when a component of that name is owned
//     }
//
// The property kind follows the C++ type: integers, bool, char, enumerations
// declared with HOST_ENUM / HOST_ENUM_NAMES, TSet<E>, floating point,
// std::string, pointers to TObject classes and TEvent<...>. Other types get a
// description through an ADL function `const TTypeInfo* HostTypeInfo(T*)` in
// their namespace, or per property with .Type(info).
//
// Defaults follow the framework: an ordinal property without .Default() is
// always stored; strings are stored when not empty, floats when not zero,
// objects and events when assigned. A descendant that declares a property of
// the same name replaces the inherited declaration in place (to change its
// default, say). Declaration order is stream order.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "host/rtl/Events.h"
#include "host/rtl/Object.h"
#include "host/rtl/Sets.h"
#include "host/rtl/SysUtils.h"

namespace host {

class TComponent;

enum TTypeKind {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkString,
    tkSet,
    tkClass,
    tkMethod,
    tkWChar,
    tkLString,
    tkWString,
    tkVariant,
    tkArray,
    tkRecord,
    tkInterface,
    tkInt64,
    tkDynArray
};
using TTypeKinds = TSet<TTypeKind>;
inline const TTypeKinds tkAny = TTypeKinds::FromInt(~uint64_t(0));
inline const TTypeKinds tkProperties = TTypeKinds::FromInt(~uint64_t(0)) - tkMethod;

enum TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

using TIdentToInt = bool (*)(const std::string& Ident, int64_t& Value);
using TIntToIdent = bool (*)(int64_t Value, std::string& Ident);

struct TTypeInfo {
    TTypeKind Kind = tkUnknown;
    std::string Name;
    // Enumerations: value i is named EnumNames[i].
    std::vector<std::string> EnumNames;
    // Sets: the element type.
    const TTypeInfo* CompType = nullptr;
    // Classes.
    TClass ClassType = nullptr;
    // Methods: typeid of the signature R(Args...).
    const std::type_info* Signature = nullptr;
    TFloatType FloatType = ftDouble;
    // Integers streamed as identifiers where possible (colours, cursors).
    TIdentToInt IdentToInt = nullptr;
    TIntToIdent IntToIdent = nullptr;

    int64_t MinValue() const { return 0; }
    int64_t MaxValue() const { return static_cast<int64_t>(EnumNames.size()) - 1; }
};

// Builds an enumeration description from "a, b, c" (as HOST_ENUM stringizes it).
TTypeInfo MakeEnumTypeInfo(const char* Name, const char* CommaSeparatedNames);
TTypeInfo MakeIntegerTypeInfo(const char* Name, TIdentToInt ToInt, TIntToIdent ToIdent);

// Declares an enumeration with values 0, 1, 2, ... and its names.
#define HOST_ENUM(Name, ...)                                                        \
    enum Name { __VA_ARGS__ };                                                      \
    inline const ::host::TTypeInfo* HostTypeInfo(Name*)                             \
    {                                                                               \
        static const ::host::TTypeInfo info = ::host::MakeEnumTypeInfo(#Name, #__VA_ARGS__); \
        return &info;                                                               \
    }

// The same with an underlying type: HOST_ENUM_T(TBorderEffect, uint8_t, beNone, beRaised)
#define HOST_ENUM_T(Name, Underlying, ...)                                          \
    enum Name : Underlying { __VA_ARGS__ };                                         \
    inline const ::host::TTypeInfo* HostTypeInfo(Name*)                             \
    {                                                                               \
        static const ::host::TTypeInfo info = ::host::MakeEnumTypeInfo(#Name, #__VA_ARGS__); \
        return &info;                                                               \
    }

// Names the values of an enumeration declared elsewhere; the values must be
// 0, 1, 2, ... in the order given (checked at compile time).
#define HOST_ENUM_NAMES(Name, ...)                                                  \
    inline const ::host::TTypeInfo* HostTypeInfo(Name*)                             \
    {                                                                               \
        static_assert(::host::detail::Sequential<Name>({__VA_ARGS__}),              \
                      "enumeration values must be 0, 1, 2, ... in the order named"); \
        static const ::host::TTypeInfo info = ::host::MakeEnumTypeInfo(#Name, #__VA_ARGS__); \
        return &info;                                                               \
    }

namespace detail {
template <class E>
constexpr bool Sequential(std::initializer_list<E> Values)
{
    int i = 0;
    for (E v : Values)
        if (static_cast<int>(v) != i++) return false;
    return true;
}
template <class T>
concept HasHostTypeInfo = requires(T* p) { HostTypeInfo(p); };
template <class T>
concept IsSetType = requires(T s) {
    typename T::TElement;
    { s.ToInt() } -> std::convertible_to<uint64_t>;
    T::FromInt(0);
};
template <class T>
concept IsEventType = requires(const T& e) {
    typename T::TSignature;
    { e.GetMethod() } -> std::convertible_to<const TMethod&>;
};
template <class T>
concept IsObjectPtr = std::is_pointer_v<T> && std::is_base_of_v<TObject, std::remove_cv_t<std::remove_pointer_t<T>>>;

const TTypeInfo* IntegerInfo();
const TTypeInfo* CharInfo();
const TTypeInfo* BooleanInfo();
const TTypeInfo* Int64Info();
const TTypeInfo* FloatInfo(TFloatType Type);
const TTypeInfo* StringInfo();
const TTypeInfo* ClassInfo(TClass AClass);
const TTypeInfo* MethodInfo(const std::type_info& Signature);
const TTypeInfo* SetInfo(const TTypeInfo* CompType);
} // namespace detail

// The description of a C++ type.
template <class T>
const TTypeInfo* TypeInfo()
{
    using U = std::remove_cvref_t<T>;
    if constexpr (detail::HasHostTypeInfo<U>)
        return HostTypeInfo(static_cast<U*>(nullptr));
    else if constexpr (std::is_same_v<U, bool>)
        return detail::BooleanInfo();
    else if constexpr (std::is_same_v<U, char>)
        return detail::CharInfo();
    else if constexpr (std::is_integral_v<U> && sizeof(U) <= 4)
        return detail::IntegerInfo();
    else if constexpr (std::is_integral_v<U>)
        return detail::Int64Info();
    else if constexpr (std::is_same_v<U, float>)
        return detail::FloatInfo(ftSingle);
    else if constexpr (std::is_same_v<U, double>)
        return detail::FloatInfo(ftDouble);
    else if constexpr (std::is_same_v<U, long double>)
        return detail::FloatInfo(ftExtended);
    else if constexpr (std::is_same_v<U, std::string>)
        return detail::StringInfo();
    else if constexpr (detail::IsSetType<U>)
        return detail::SetInfo(TypeInfo<typename U::TElement>());
    else if constexpr (detail::IsEventType<U>)
        return detail::MethodInfo(typeid(typename U::TSignature));
    else if constexpr (detail::IsObjectPtr<U>)
        return detail::ClassInfo(std::remove_cv_t<std::remove_pointer_t<U>>::StaticClass());
    else
        static_assert(sizeof(U) == 0, "no type information for this type: declare HostTypeInfo(T*) or use .Type()");
}

std::string GetEnumName(const TTypeInfo* TypeInfo, int64_t Value);
// -1 when Name is not one of the type's names (compared without regard to case).
int GetEnumValue(const TTypeInfo* TypeInfo, const std::string& Name);
// "[fsBold,fsItalic]" (with Brackets) or "fsBold,fsItalic".
std::string SetToString(const TTypeInfo* SetType, uint64_t Value, bool Brackets = false);
// Accepts "[a, b]" or "a,b"; raises EPropertyError "Invalid property element: %s".
uint64_t StringToSet(const TTypeInfo* SetType, const std::string& Value);

constexpr int64_t NoDefault = INT64_MIN;

struct TPropInfo {
    std::string Name;
    const TTypeInfo* PropType = nullptr;
    TClass DeclaringClass = nullptr;
    int Index = -1;
    int64_t Default = NoDefault;
    bool StoredConst = true;
    std::function<bool(TObject*)> StoredFn;

    std::function<int64_t(TObject*)> GetOrd;
    std::function<void(TObject*, int64_t)> SetOrd;
    std::function<double(TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<std::string(TObject*)> GetStr;
    std::function<void(TObject*, const std::string&)> SetStr;
    std::function<TObject*(TObject*)> GetObj;
    std::function<void(TObject*, TObject*)> SetObj;
    std::function<TMethod(TObject*)> GetMeth;
    std::function<void(TObject*, const TMethod&)> SetMeth;

    TTypeKind Kind() const { return PropType ? PropType->Kind : tkUnknown; }
    bool HasDefault() const { return Default != NoDefault; }
    bool Writable() const { return SetOrd || SetFloat || SetStr || SetObj || SetMeth; }
};

struct TMethodEntry {
    std::string Name;
    TMethod Proto;                    // Data and Self empty
    void* (*Cast)(TObject*) = nullptr; // the instance as the method's class
};

struct TFieldEntry {
    std::string Name;
    TClass FieldClass = nullptr;
    std::function<bool(TObject* Owner, TObject* Value)> Set;
    std::function<TObject*(TObject* Owner)> Get;
};

// The published members one class declares.
struct TClassRtti {
    std::vector<std::unique_ptr<TPropInfo>> Props;
    std::vector<TMethodEntry> Methods;
    std::vector<TFieldEntry> Fields;
    // Inherited and own properties in stream order; built on first use.
    mutable std::vector<const TPropInfo*> AllProps;
    mutable bool AllBuilt = false;
};

namespace detail {
[[noreturn]] void RaiseInvalidPropertyValue();

template <class C>
C* Self(TObject* Obj)
{
    C* c = dynamic_cast<C*>(Obj);
    if (!c) throw EPropertyError("Invalid property value");
    return c;
}

template <class T>
int64_t ToOrd(const T& v)
{
    if constexpr (IsSetType<T>)
        return static_cast<int64_t>(v.ToInt());
    else if constexpr (std::is_same_v<T, char>)
        return static_cast<unsigned char>(v);
    else
        return static_cast<int64_t>(v);
}
template <class T>
T FromOrd(int64_t v)
{
    if constexpr (IsSetType<T>)
        return T::FromInt(static_cast<uint64_t>(v));
    else if constexpr (std::is_same_v<T, bool>)
        return v != 0;
    else
        return static_cast<T>(v);
}

// Binds the kind-specific accessors of Info to a value getter and setter.
template <class C, class T, class GetFn, class SetFn>
void BindAccessors(TPropInfo& Info, GetFn Get, SetFn Set, bool HasSet)
{
    if constexpr (IsEventType<T>) {
        Info.GetMeth = [Get](TObject* o) { return TMethod(Get(Self<C>(o)).GetMethod()); };
        if (HasSet)
            Info.SetMeth = [Set](TObject* o, const TMethod& m) {
                if (!T::Accepts(m)) RaiseInvalidPropertyValue();
                Set(Self<C>(o), T(m));
            };
    } else if constexpr (IsObjectPtr<T>) {
        using Obj = std::remove_pointer_t<T>;
        Info.GetObj = [Get](TObject* o) -> TObject* { return const_cast<std::remove_cv_t<Obj>*>(Get(Self<C>(o))); };
        if (HasSet)
            Info.SetObj = [Set](TObject* o, TObject* v) {
                T typed = dynamic_cast<T>(v);
                if (v && !typed) RaiseInvalidPropertyValue();
                Set(Self<C>(o), typed);
            };
    } else if constexpr (std::is_same_v<T, std::string>) {
        Info.GetStr = [Get](TObject* o) { return std::string(Get(Self<C>(o))); };
        if (HasSet) Info.SetStr = [Set](TObject* o, const std::string& v) { Set(Self<C>(o), v); };
    } else if constexpr (std::is_floating_point_v<T>) {
        Info.GetFloat = [Get](TObject* o) { return static_cast<double>(Get(Self<C>(o))); };
        if (HasSet) Info.SetFloat = [Set](TObject* o, double v) { Set(Self<C>(o), static_cast<T>(v)); };
    } else {
        Info.GetOrd = [Get](TObject* o) { return ToOrd<T>(Get(Self<C>(o))); };
        if (HasSet) Info.SetOrd = [Set](TObject* o, int64_t v) { Set(Self<C>(o), FromOrd<T>(v)); };
    }
}

template <class M>
struct MemberTraits;
template <class R, class B>
struct MemberTraits<R (B::*)() const> {
    using Value = std::remove_cvref_t<R>;
};
template <class R, class B>
struct MemberTraits<R (B::*)()> {
    using Value = std::remove_cvref_t<R>;
};
template <class R, class B>
struct MemberTraits<R (B::*)() const noexcept> {
    using Value = std::remove_cvref_t<R>;
};
template <class R, class B>
struct MemberTraits<R (B::*)(int) const> {
    using Value = std::remove_cvref_t<R>;
};
} // namespace detail

// Fluent modifiers of one declared property.
template <class C>
class TPropBuilder {
public:
    explicit TPropBuilder(TPropInfo& Info) : FInfo(Info) {}

    template <class T>
    TPropBuilder& Default(const T& Value)
    {
        FInfo.Default = detail::ToOrd<T>(Value);
        return *this;
    }
    TPropBuilder& NoDefault()
    {
        FInfo.Default = host::NoDefault;
        return *this;
    }
    TPropBuilder& Stored(bool Value)
    {
        FInfo.StoredConst = Value;
        FInfo.StoredFn = nullptr;
        return *this;
    }
    template <class B>
    TPropBuilder& Stored(bool (B::*Fn)() const)
    {
        FInfo.StoredFn = [Fn](TObject* o) { return (detail::Self<C>(o)->*Fn)(); };
        return *this;
    }
    // Overrides the type description (an integer streamed as identifiers).
    TPropBuilder& Type(const TTypeInfo* Info)
    {
        FInfo.PropType = Info;
        return *this;
    }

private:
    TPropInfo& FInfo;
};

template <class C>
class TPublisher {
public:
    explicit TPublisher(TClassRtti& Table) : FTable(Table) {}

    // A property read and written through accessor methods (of C or a base).
    template <class G, class S>
        requires std::is_member_function_pointer_v<G> && std::is_member_function_pointer_v<S>
    TPropBuilder<C> Property(const char* Name, G Getter, S Setter)
    {
        using T = typename detail::MemberTraits<G>::Value;
        TPropInfo& info = Add<T>(Name);
        detail::BindAccessors<C, T>(
            info, [Getter](C* c) -> T { return (c->*Getter)(); }, [Setter](C* c, T v) { (c->*Setter)(v); }, true);
        return TPropBuilder<C>(info);
    }

    // A read-only property (sub-objects such as Font are read through it).
    template <class G>
        requires std::is_member_function_pointer_v<G>
    TPropBuilder<C> Property(const char* Name, G Getter)
    {
        using T = typename detail::MemberTraits<G>::Value;
        TPropInfo& info = Add<T>(Name);
        detail::BindAccessors<C, T>(
            info, [Getter](C* c) -> T { return (c->*Getter)(); }, [](C*, T) {}, false);
        return TPropBuilder<C>(info);
    }

    // A property over a field, read and written directly.
    template <class T, class B>
        requires(!std::is_function_v<T>)
    TPropBuilder<C> Property(const char* Name, T B::*Field)
    {
        TPropInfo& info = Add<T>(Name);
        detail::BindAccessors<C, T>(
            info, [Field](C* c) -> T { return c->*Field; }, [Field](C* c, T v) { c->*Field = std::move(v); }, true);
        return TPropBuilder<C>(info);
    }

    // An indexed property: Getter(Index) and Setter(Index, Value).
    template <class G, class S>
    TPropBuilder<C> IndexedProperty(const char* Name, int Index, G Getter, S Setter)
    {
        using T = typename detail::MemberTraits<G>::Value;
        TPropInfo& info = Add<T>(Name);
        info.Index = Index;
        detail::BindAccessors<C, T>(
            info, [Getter, Index](C* c) -> T { return (c->*Getter)(Index); },
            [Setter, Index](C* c, T v) { (c->*Setter)(Index, v); }, true);
        return TPropBuilder<C>(info);
    }

    // A method that streams bind to by name.
    template <class B, class R, class... A>
    void Method(const char* Name, R (B::*Fn)(A...))
    {
        TMethodEntry e;
        e.Name = Name;
        e.Proto = MakeMethod<B>(static_cast<B*>(nullptr), Fn);
        e.Cast = [](TObject* o) -> void* {
            C* c = dynamic_cast<C*>(o);
            return c ? static_cast<B*>(c) : nullptr;
        };
        FTable.Methods.push_back(std::move(e));
    }

    // A field that refers to the owned component of the same name.
    template <class T, class B>
    void Field(const char* Name, T* B::*Member)
    {
        TFieldEntry e;
        e.Name = Name;
        e.FieldClass = T::StaticClass();
        e.Set = [Member](TObject* owner, TObject* value) {
            C* c = dynamic_cast<C*>(owner);
            T* typed = dynamic_cast<T*>(value);
            if (!c || (value && !typed)) return false;
            c->*Member = typed;
            return true;
        };
        e.Get = [Member](TObject* owner) -> TObject* {
            C* c = dynamic_cast<C*>(owner);
            return c ? c->*Member : nullptr;
        };
        FTable.Fields.push_back(std::move(e));
    }

private:
    template <class T>
    TPropInfo& Add(const char* Name)
    {
        auto info = std::make_unique<TPropInfo>();
        info->Name = Name;
        info->PropType = TypeInfo<T>();
        info->DeclaringClass = C::StaticClass();
        FTable.Props.push_back(std::move(info));
        return *FTable.Props.back();
    }

    TClassRtti& FTable;
};

using TPublishFn = void (*)(TClassRtti& Table);
void RegisterPublished(TClass AClass, TPublishFn Fn);

template <class C, class Block>
struct TPublishedRegistration {
    TPublishedRegistration()
    {
        RegisterPublished(C::StaticClass(), [](TClassRtti& t) {
            TPublisher<C> p(t);
            Block::Declare(p);
        });
    }
};

#define HOST_PUBLISHED(Cls)                                                                \
    struct HostPublished_##Cls {                                                           \
        static void Declare(::host::TPublisher<Cls>& P);                                   \
    };                                                                                     \
    static const ::host::TPublishedRegistration<Cls, HostPublished_##Cls>                  \
        hostPublishedRegistration_##Cls;                                                   \
    inline void HostPublished_##Cls::Declare([[maybe_unused]] ::host::TPublisher<Cls>& P)

// ---- Queries ---------------------------------------------------------------------

// The published members AClass itself declares (empty when none).
const TClassRtti& GetClassRtti(TClass AClass);

std::vector<const TPropInfo*> GetPropList(TClass AClass, TTypeKinds Kinds = tkAny);
std::vector<const TPropInfo*> GetPropList(const TObject* Instance, TTypeKinds Kinds = tkAny);
// nullptr when absent; names compare without regard to case.
const TPropInfo* GetPropInfo(TClass AClass, const std::string& PropName, TTypeKinds Kinds = tkAny);
const TPropInfo* GetPropInfo(const TObject* Instance, const std::string& PropName, TTypeKinds Kinds = tkAny);
bool IsPublishedProp(TClass AClass, const std::string& PropName);
bool IsPublishedProp(const TObject* Instance, const std::string& PropName);
TTypeKind PropType(const TObject* Instance, const std::string& PropName);
bool IsStoredProp(TObject* Instance, const TPropInfo* PropInfo);

// Each accessor raises EPropertyError when the property is of another kind or
// read-only; the name forms raise "Property %s does not exist" when absent.
int64_t GetOrdProp(TObject* Instance, const TPropInfo* PropInfo);
void SetOrdProp(TObject* Instance, const TPropInfo* PropInfo, int64_t Value);
std::string GetStrProp(TObject* Instance, const TPropInfo* PropInfo);
void SetStrProp(TObject* Instance, const TPropInfo* PropInfo, const std::string& Value);
double GetFloatProp(TObject* Instance, const TPropInfo* PropInfo);
void SetFloatProp(TObject* Instance, const TPropInfo* PropInfo, double Value);
int64_t GetInt64Prop(TObject* Instance, const TPropInfo* PropInfo);
void SetInt64Prop(TObject* Instance, const TPropInfo* PropInfo, int64_t Value);
TObject* GetObjectProp(TObject* Instance, const TPropInfo* PropInfo);
void SetObjectProp(TObject* Instance, const TPropInfo* PropInfo, TObject* Value);
TMethod GetMethodProp(TObject* Instance, const TPropInfo* PropInfo);
void SetMethodProp(TObject* Instance, const TPropInfo* PropInfo, const TMethod& Value);
std::string GetEnumProp(TObject* Instance, const TPropInfo* PropInfo);
void SetEnumProp(TObject* Instance, const TPropInfo* PropInfo, const std::string& Value);
std::string GetSetProp(TObject* Instance, const TPropInfo* PropInfo, bool Brackets = false);
void SetSetProp(TObject* Instance, const TPropInfo* PropInfo, const std::string& Value);

int64_t GetOrdProp(TObject* Instance, const std::string& PropName);
void SetOrdProp(TObject* Instance, const std::string& PropName, int64_t Value);
std::string GetStrProp(TObject* Instance, const std::string& PropName);
void SetStrProp(TObject* Instance, const std::string& PropName, const std::string& Value);
double GetFloatProp(TObject* Instance, const std::string& PropName);
void SetFloatProp(TObject* Instance, const std::string& PropName, double Value);
int64_t GetInt64Prop(TObject* Instance, const std::string& PropName);
void SetInt64Prop(TObject* Instance, const std::string& PropName, int64_t Value);
TObject* GetObjectProp(TObject* Instance, const std::string& PropName);
void SetObjectProp(TObject* Instance, const std::string& PropName, TObject* Value);
TMethod GetMethodProp(TObject* Instance, const std::string& PropName);
void SetMethodProp(TObject* Instance, const std::string& PropName, const TMethod& Value);
std::string GetEnumProp(TObject* Instance, const std::string& PropName);
void SetEnumProp(TObject* Instance, const std::string& PropName, const std::string& Value);
std::string GetSetProp(TObject* Instance, const std::string& PropName, bool Brackets = false);
void SetSetProp(TObject* Instance, const std::string& PropName, const std::string& Value);

// The published method Name of Instance's class, bound to Instance;
// unassigned when there is none.
TMethod MethodAddress(TObject* Instance, const std::string& Name);
// The name under which Method's code is published in AClass; empty if none.
std::string MethodName(TClass AClass, const TMethod& Method);

// Sets Owner's published field Name to Value (nullptr clears it); false when
// Owner publishes no such field or Value does not fit it.
bool SetPublishedField(TObject* Owner, const std::string& Name, TObject* Value);
TObject* GetPublishedField(TObject* Owner, const std::string& Name);

} // namespace host
