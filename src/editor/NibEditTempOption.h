#pragma once
// An editor option switched on (or off) for a scope, and back at its end when it was otherwise before.
#include "editor/NibEditOptions.h"

class TNibTempOption {
public:
    TNibTempOption(TNibEditorOptions& Options, TNibEditorOption Option, bool On = true)
        : fOptions(Options), fOption(Option), fOn(On), fChanged(Options.Contains(Option) != On)
    {
        Set(fOn);
    }
    ~TNibTempOption()
    {
        if (fChanged) Set(!fOn);
    }
    TNibTempOption(const TNibTempOption&) = delete;
    TNibTempOption& operator=(const TNibTempOption&) = delete;

private:
    void Set(bool On)
    {
        if (On) fOptions.Include(fOption);
        else fOptions.Exclude(fOption);
    }

    TNibEditorOptions& fOptions;
    TNibEditorOption fOption;
    bool fOn;
    bool fChanged;
};
