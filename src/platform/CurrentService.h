#pragma once
// The one installed instance of a platform service (main loop, dialogs, clipboard, graphics).
#include <atomic>
#include <stdexcept>
#include <string>

template <typename Service>
class CurrentService {
public:
    /// The installed service; throws std::logic_error naming `what` when none is.
    static Service& Get(const char* what)
    {
        Service* s = fSlot.load();
        if (!s) throw std::logic_error(std::string("No ") + what + " is installed");
        return *s;
    }
    static Service* GetOrNull() { return fSlot.load(); }
    static void Set(Service* service) { fSlot.store(service); }
    /// A service being destroyed stops being the current one, so nothing reaches it afterwards.
    static void Forget(Service* service) { fSlot.compare_exchange_strong(service, nullptr); }

private:
    static inline std::atomic<Service*> fSlot{nullptr};
};
