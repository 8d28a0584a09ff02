#pragma once
// The root object and class references of the framework.
//
// Every framework class names itself with HOST_CLASS(Cls, Parent) in its body.
// That gives it a class reference (Cls::StaticClass(), a TClass) which knows the
// class's name and parent and can create an instance of the class without the
// caller knowing its C++ type: a TPersistent class with no arguments, a
// TComponent class with an owner, a collection item class with its collection.
//
// Lifetime: an object is released with Free() (or the null-safe host::Free),
// which runs BeforeDestruction and the virtual Destroy chain while the object is
// still its full dynamic type, then deletes it. C++ destructors cannot dispatch
// to a derived class, so work that needs the derived class belongs in Destroy:
//
//     void TMyControl::Destroy()
//     {
//         FCanvas.reset();            // what the derived class must undo
//         inherited::Destroy();       // last, as the base class does its part
//     }
#include <string>
#include <type_traits>

namespace host {

class TObject;
class TComponent;
class TCollection;
class TFiler;

// A class reference. Created once per class by HOST_CLASS; compared by address.
struct TMetaClass {
    const char* Name;
    const TMetaClass* Parent;
    TObject* (*CreateDefault)();
    TObject* (*CreateOwned)(TComponent* AOwner);
    TObject* (*CreateItem)(TCollection* ACollection);
    // Published properties, methods and fields; owned by the RTTI layer.
    mutable const void* Rtti = nullptr;

    bool InheritsFrom(const TMetaClass* AClass) const
    {
        for (const TMetaClass* c = this; c; c = c->Parent)
            if (c == AClass) return true;
        return false;
    }
    std::string ClassName() const { return Name; }
    // Whether instances can be made through this reference with these arguments.
    bool CanCreate() const { return CreateDefault || CreateOwned; }
    // Creates an instance by whichever constructor the class has: the owner
    // form for components, the default one otherwise. nullptr for abstract
    // classes and classes without such a constructor.
    TObject* NewInstance(TComponent* AOwner = nullptr) const
    {
        if (CreateOwned) return CreateOwned(AOwner);
        if (CreateDefault) return CreateDefault();
        return nullptr;
    }
};
using TClass = const TMetaClass*;

namespace detail {
// new-expressions rather than is_constructible: components have protected
// destructors, which is_constructible may count against them.
template <class C>
concept DefaultNewable = requires { new C(); };
template <class C, class Arg>
concept NewableWith = requires(Arg* a) { new C(a); };

template <class C>
TObject* NewDefault()
{
    return new C();
}
template <class C, class Arg>
TObject* NewWith(Arg* A)
{
    return new C(A);
}
template <class C>
constexpr auto DefaultFactory()
{
    if constexpr (!std::is_abstract_v<C> && DefaultNewable<C>)
        return &NewDefault<C>;
    else
        return static_cast<TObject* (*)()>(nullptr);
}
template <class C, class Arg>
constexpr auto ArgFactory()
{
    if constexpr (!std::is_abstract_v<C> && NewableWith<C, Arg>)
        return &NewWith<C, Arg>;
    else
        return static_cast<TObject* (*)(Arg*)>(nullptr);
}
} // namespace detail

class TObject {
public:
    TObject() = default;
    virtual ~TObject() = default;

    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }
    std::string ClassName() const { return ClassType()->Name; }
    TClass ClassParent() const { return ClassType()->Parent; }
    bool InheritsFrom(TClass AClass) const { return ClassType()->InheritsFrom(AClass); }

    // Runs the destruction protocol and deletes the object. Only for objects
    // made with new.
    void Free();

    virtual void AfterConstruction() {}
    virtual void BeforeDestruction() {}

protected:
    // The destructor body that still sees the full dynamic type; overrides end
    // with inherited::Destroy().
    virtual void Destroy() {}
};

// Null-safe Free.
inline void Free(TObject* Obj)
{
    if (Obj) Obj->Free();
}

// Frees Obj and clears the reference first, so that nothing reached from the
// destruction protocol sees a dangling pointer.
template <class T>
void FreeAndNil(T*& Obj)
{
    T* p = Obj;
    Obj = nullptr;
    Free(p);
}

// In a class body: the class reference of Cls, whose parent class is Parent.
// HostPublished_<Cls> is the class's published-member declaration block (see
// host/vcl/TypInfo.h); befriending it lets that block name protected members.
#define HOST_CLASS(Cls, Parent)                                                    \
public:                                                                            \
    using inherited = Parent;                                                      \
    friend struct HostPublished_##Cls;                                             \
    static ::host::TClass StaticClass()                                            \
    {                                                                              \
        static const ::host::TMetaClass meta{                                      \
            #Cls, Parent::StaticClass(), ::host::detail::DefaultFactory<Cls>(),    \
            ::host::detail::ArgFactory<Cls, ::host::TComponent>(),                 \
            ::host::detail::ArgFactory<Cls, ::host::TCollection>()};               \
        return &meta;                                                              \
    }                                                                              \
    ::host::TClass ClassType() const override { return StaticClass(); }            \
                                                                                   \
private:

inline TClass TObject::StaticClass()
{
    static const TMetaClass meta{"TObject", nullptr, &detail::NewDefault<TObject>, nullptr, nullptr};
    return &meta;
}

class TPersistent : public TObject {
    HOST_CLASS(TPersistent, TObject)
public:
    // Copies Source into this object; raises EConvertError when neither side
    // knows how ("Cannot assign a TFont to a TBrush").
    virtual void Assign(TPersistent* Source);
    // The dotted path that names this object to a designer ("Form1.Button1.Font").
    virtual std::string GetNamePath() const;
    // Streams data that is not a published property; overrides call
    // Filer->DefineProperty / DefineBinaryProperty. Public so the filer can call it.
    virtual void DefineProperties(TFiler* Filer);
    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    virtual void AssignTo(TPersistent* Dest);
};

} // namespace host
