#pragma once
// Events are properties holding a callable; Sender is the object that fires them.
#include <functional>

/// Root of the system's objects, so that events can pass a Sender.
class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

/// Fires an event when it is assigned.
template <typename Event, typename... Args>
void Fire(const Event& event, Args&&... args)
{
    if (event) event(std::forward<Args>(args)...);
}
