#pragma once
// Events: closures of an object and one of its methods.
//
//     TNotifyEvent FOnChange;
//     FOnChange = TNotifyEvent(this, &TMyForm::ListChanged);  // object + method
//     FOnChange = [&](TObject* Sender) { ++changes; };       // a free callable
//     if (FOnChange) FOnChange(this);
//
// Events copy, compare and test for assignment. Two events are equal when they
// call the same method of the same object, or are copies of the same bound
// callable; so a hook can check that the handler installed now is still its
// own and restore the one it replaced. The form reader binds events by the
// name of a published method (host/vcl/TypInfo.h).
#include <cstring>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "host/rtl/Object.h"

namespace host {

using TGenericFn = void (*)();

// The type-erased closure behind every TEvent: what a published method
// property stores and what GetMethodProp / SetMethodProp pass around.
struct TMethod {
    // The object whose method is called (nullptr for a free callable or for an
    // object that is not a TObject).
    TObject* Data = nullptr;
    // The object as the method's own class sees it.
    void* Self = nullptr;
    // The bytes of the member-function pointer; identifies the method.
    alignas(void*) unsigned char Code[2 * sizeof(void*)] = {};
    // Signature-specific trampoline; nullptr for an unassigned method.
    TGenericFn Invoke = nullptr;
    // A bound free callable, shared between copies.
    std::shared_ptr<void> Closure;
    // typeid of the signature R(Args...), to check conversions.
    const std::type_info* Signature = nullptr;

    bool Assigned() const { return Invoke != nullptr; }
    bool SameSignature(const std::type_info& Sig) const { return Signature && *Signature == Sig; }

    friend bool operator==(const TMethod& A, const TMethod& B)
    {
        if (!A.Assigned() || !B.Assigned()) return A.Assigned() == B.Assigned();
        return A.Self == B.Self && A.Closure == B.Closure && std::memcmp(A.Code, B.Code, sizeof A.Code) == 0 &&
               A.SameSignature(*B.Signature);
    }
};

namespace detail {
template <class C, class R, class... A>
R InvokeMember(const TMethod& M, A... Args)
{
    R (C::*pm)(A...);
    std::memcpy(&pm, M.Code, sizeof pm);
    return (static_cast<C*>(M.Self)->*pm)(std::forward<A>(Args)...);
}
template <class C, class R, class... A>
R InvokeConstMember(const TMethod& M, A... Args)
{
    R (C::*pm)(A...) const;
    std::memcpy(&pm, M.Code, sizeof pm);
    return (static_cast<const C*>(M.Self)->*pm)(std::forward<A>(Args)...);
}
template <class F, class R, class... A>
R InvokeClosure(const TMethod& M, A... Args)
{
    return (*static_cast<F*>(M.Closure.get()))(std::forward<A>(Args)...);
}
template <class C>
TObject* AsTObject(C* Obj)
{
    if constexpr (std::is_base_of_v<TObject, C>)
        return Obj;
    else
        return (void)Obj, nullptr;
}
} // namespace detail

// A closure of Obj and its method M, type-erased.
template <class C, class R, class... A>
TMethod MakeMethod(C* Obj, R (C::*M)(A...))
{
    static_assert(sizeof M <= sizeof(TMethod::Code), "member pointer too large");
    TMethod m;
    m.Data = detail::AsTObject(Obj);
    m.Self = Obj;
    std::memcpy(m.Code, &M, sizeof M);
    m.Invoke = reinterpret_cast<TGenericFn>(&detail::InvokeMember<C, R, A...>);
    m.Signature = &typeid(R(A...));
    return m;
}

template <class C, class R, class... A>
TMethod MakeMethod(const C* Obj, R (C::*M)(A...) const)
{
    static_assert(sizeof M <= sizeof(TMethod::Code), "member pointer too large");
    TMethod m;
    m.Data = detail::AsTObject(const_cast<C*>(Obj));
    m.Self = const_cast<C*>(Obj);
    std::memcpy(m.Code, &M, sizeof M);
    m.Invoke = reinterpret_cast<TGenericFn>(&detail::InvokeConstMember<C, R, A...>);
    m.Signature = &typeid(R(A...));
    return m;
}

template <class Sig>
class TEvent;

template <class R, class... A>
class TEvent<R(A...)> {
public:
    using TSignature = R(A...);
    using TInvoker = R (*)(const TMethod&, A...);

    TEvent() = default;
    TEvent(std::nullptr_t) {}

    template <class C, class D>
        requires std::is_base_of_v<C, D>
    TEvent(D* Obj, R (C::*M)(A...)) : FMethod(MakeMethod<C>(Obj, M))
    {
    }

    template <class C, class D>
        requires std::is_base_of_v<C, D>
    TEvent(const D* Obj, R (C::*M)(A...) const) : FMethod(MakeMethod<C>(Obj, M))
    {
    }

    // Binds a free callable (a lambda); copies of the event share it.
    template <class F>
        requires(!std::is_same_v<std::decay_t<F>, TEvent> && !std::is_same_v<std::decay_t<F>, std::nullptr_t> &&
                 !std::is_same_v<std::decay_t<F>, TMethod> && std::is_invocable_r_v<R, std::decay_t<F>&, A...>)
    TEvent(F&& Fn)
    {
        using FD = std::decay_t<F>;
        FMethod.Closure = std::make_shared<FD>(std::forward<F>(Fn));
        FMethod.Invoke = reinterpret_cast<TGenericFn>(&detail::InvokeClosure<FD, R, A...>);
        FMethod.Signature = &typeid(TSignature);
    }

    // From a type-erased method; an unassigned one or one of another signature
    // gives an unassigned event (CheckedFrom tells them apart).
    explicit TEvent(const TMethod& M)
    {
        if (M.Assigned() && M.SameSignature(typeid(TSignature))) FMethod = M;
    }
    static bool Accepts(const TMethod& M) { return !M.Assigned() || M.SameSignature(typeid(TSignature)); }

    const TMethod& GetMethod() const { return FMethod; }
    TObject* GetData() const { return FMethod.Data; }

    explicit operator bool() const { return FMethod.Assigned(); }
    bool Assigned() const { return FMethod.Assigned(); }

    // Calling an unassigned event does nothing and returns R().
    R operator()(A... Args) const
    {
        if (!FMethod.Invoke) {
            if constexpr (std::is_void_v<R>)
                return;
            else
                return R();
        }
        return reinterpret_cast<TInvoker>(FMethod.Invoke)(FMethod, std::forward<A>(Args)...);
    }

    friend bool operator==(const TEvent& X, const TEvent& Y) { return X.FMethod == Y.FMethod; }
    friend bool operator==(const TEvent& X, std::nullptr_t) { return !X.Assigned(); }

private:
    TMethod FMethod;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

} // namespace host
