#pragma once
// Events are properties holding a callable; Sender is the object that fires them.
#include <functional>
#include <utility>

/// Root of the system's objects, so that events can pass a Sender.
class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

template <typename Signature>
class TMethod;

/// A handler that compares equal to another bound to the same object and member function, for
/// handler chains that remove a handler by identity (which std::function cannot do).
/// Made by TMethod<void(TObject*)>::Bind<&TEditor::DoKey>(this).
template <typename R, typename... Args>
class TMethod<R(Args...)> {
public:
    TMethod() = default;

    template <auto Member, typename T>
    static TMethod Bind(T* object)
    {
        TMethod m;
        m.fObject = object;
        m.fCall = [](void* o, Args... args) -> R { return (static_cast<T*>(o)->*Member)(std::forward<Args>(args)...); };
        m.fMember = &Tag<Member>::id;
        return m;
    }

    explicit operator bool() const { return fCall != nullptr; }
    R operator()(Args... args) const { return fCall(fObject, std::forward<Args>(args)...); }
    friend bool operator==(const TMethod& a, const TMethod& b)
    {
        return a.fObject == b.fObject && a.fMember == b.fMember;
    }

private:
    /// One writable variable per member function: its address names the member, and linkers never
    /// merge writable data.
    template <auto Member>
    struct Tag {
        static inline char id = 0;
    };
    void* fObject = nullptr;
    R (*fCall)(void*, Args...) = nullptr;
    const void* fMember = nullptr;
};

/// Fires an event when it is assigned.
template <typename Event, typename... Args>
void Fire(const Event& event, Args&&... args)
{
    if (event) event(std::forward<Args>(args)...);
}
