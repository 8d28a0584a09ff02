#pragma once
// The root object and class references of the framework.
#include <string>

namespace host {

class TObject;
class TFiler;

// A class reference: the class's name and parent, enough to answer ClassName,
// ClassParent and InheritsFrom without the C++ RTTI.
struct TMetaClass {
    const char* Name;
    const TMetaClass* Parent;

    bool InheritsFrom(const TMetaClass* AClass) const
    {
        for (const TMetaClass* c = this; c; c = c->Parent)
            if (c == AClass) return true;
        return false;
    }
};
using TClass = const TMetaClass*;

class TObject {
public:
    virtual ~TObject() = default;

    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }
    std::string ClassName() const { return ClassType()->Name; }
    TClass ClassParent() const { return ClassType()->Parent; }
    bool InheritsFrom(TClass AClass) const { return ClassType()->InheritsFrom(AClass); }
};

// In a class body: the class reference of Cls, whose parent class is Parent.
#define HOST_CLASS(Cls, Parent)                                                    \
public:                                                                            \
    using inherited = Parent;                                                      \
    static ::host::TClass StaticClass()                                            \
    {                                                                              \
        static const ::host::TMetaClass meta{#Cls, Parent::StaticClass()};         \
        return &meta;                                                              \
    }                                                                              \
    ::host::TClass ClassType() const override { return StaticClass(); }            \
                                                                                   \
private:

inline TClass TObject::StaticClass()
{
    static const TMetaClass meta{"TObject", nullptr};
    return &meta;
}

class TPersistent : public TObject {
    HOST_CLASS(TPersistent, TObject)
public:
    virtual void Assign(TPersistent* Source);
    virtual std::string GetNamePath() const;

protected:
    virtual void AssignTo(TPersistent* Dest);
    virtual void DefineProperties(TFiler* Filer);
    virtual TPersistent* GetOwner() const { return nullptr; }
};

} // namespace host
