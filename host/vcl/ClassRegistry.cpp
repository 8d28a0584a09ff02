#include <cctype>
#include <map>

#include "host/vcl/Classes.h"

namespace host {

namespace {
struct TCaseLess {
    bool operator()(const std::string& A, const std::string& B) const
    {
        size_t n = std::min(A.size(), B.size());
        for (size_t i = 0; i < n; ++i) {
            int a = std::tolower(static_cast<unsigned char>(A[i]));
            int b = std::tolower(static_cast<unsigned char>(B[i]));
            if (a != b) return a < b;
        }
        return A.size() < B.size();
    }
};

std::map<std::string, TClass, TCaseLess>& Registry()
{
    static std::map<std::string, TClass, TCaseLess> registry;
    return registry;
}
} // namespace

void RegisterClass(TClass AClass)
{
    auto& reg = Registry();
    for (TClass c = AClass; c; c = c->Parent) {
        auto it = reg.find(c->Name);
        if (it != reg.end()) {
            if (it->second != c) throw EFilerError(Format("A class named %s already exists", {c->Name}));
        } else {
            reg.emplace(c->Name, c);
        }
        if (c == TPersistent::StaticClass()) break;
    }
}

void RegisterClasses(std::initializer_list<TClass> Classes)
{
    for (TClass c : Classes) RegisterClass(c);
}

void RegisterClassAlias(TClass AClass, const std::string& Alias)
{
    RegisterClass(AClass);
    Registry()[Alias] = AClass;
}

void UnRegisterClass(TClass AClass)
{
    auto& reg = Registry();
    for (auto it = reg.begin(); it != reg.end();)
        it = it->second == AClass ? reg.erase(it) : std::next(it);
}

void UnRegisterClasses(std::initializer_list<TClass> Classes)
{
    for (TClass c : Classes) UnRegisterClass(c);
}

TClass GetClass(const std::string& ClassName)
{
    auto& reg = Registry();
    auto it = reg.find(ClassName);
    return it == reg.end() ? nullptr : it->second;
}

TClass FindClass(const std::string& ClassName)
{
    TClass c = GetClass(ClassName);
    if (!c) throw EClassNotFound(Format("Class %s not found", {ClassName}));
    return c;
}

} // namespace host
