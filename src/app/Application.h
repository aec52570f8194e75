#pragma once
// The application object: it owns what outlives the forms (the connection manager) and frees it
// after them, when the program ends.
#include <memory>
#include <vector>
#include "platform/Events.h"

class TApplication {
public:
    TApplication() = default;
    /// Frees what it owns, the last taken first.
    ~TApplication()
    {
        while (!fOwned.empty()) fOwned.pop_back();
    }
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    /// Keeps the object until the application object goes.
    template <typename T>
    T* Own(std::unique_ptr<T> object)
    {
        T* raw = object.get();
        fOwned.push_back(std::move(object));
        return raw;
    }

private:
    std::vector<std::unique_ptr<TObject>> fOwned;
};

/// The application object of the running program (set while it exists).
inline TApplication* Application = nullptr;
