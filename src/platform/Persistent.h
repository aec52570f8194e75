#pragma once
// Objects whose settings can be copied from another object of their class.
#include <stdexcept>
#include "platform/Events.h"

/// Base of the option objects: Assign copies the settings of an object of the same class.
class TPersistent : public TObject {
public:
    /// Copies what a descendant knows how to copy; a source it does not know throws std::invalid_argument.
    virtual void Assign(const TPersistent& Source)
    {
        throw std::invalid_argument("Cannot assign an object of another class");
    }
};
