#pragma once
// The class library's free notification: an object tells those that hold on to it that it is
// being destroyed, so that none of them keeps a dangling reference.
#include <algorithm>
#include <vector>
#include "platform/Events.h"

/// Called with the object that is being destroyed.
using TFreeNotification = TMethod<void(TObject* Sender)>;

class TFreeNotifier {
public:
    /// A handler given twice is called once.
    void AddFreeNotification(const TFreeNotification& h)
    {
        if (std::find(fFreeNotifications.begin(), fFreeNotifications.end(), h) == fFreeNotifications.end())
            fFreeNotifications.push_back(h);
    }
    void RemoveFreeNotification(const TFreeNotification& h) { std::erase(fFreeNotifications, h); }

protected:
    ~TFreeNotifier() = default;
    /// Newest first; a deriving class calls it at the start of its destructor, while it is whole.
    void NotifyFree(TObject* Sender)
    {
        while (!fFreeNotifications.empty()) {
            const TFreeNotification notify = fFreeNotifications.back();
            fFreeNotifications.pop_back();
            notify(Sender);
        }
    }

private:
    std::vector<TFreeNotification> fFreeNotifications;
};
