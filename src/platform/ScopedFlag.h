#pragma once
// A flag that says "inside this scope": set for the life of the object, cleared at its end, also
// when an error passes.

class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : fFlag(flag) { fFlag = true; }
    ~ScopedFlag() { fFlag = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& fFlag;
};
