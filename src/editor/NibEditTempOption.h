#pragma once
// An editor option switched on for a scope, and back off at its end when it was off before.
#include "editor/NibEditOptions.h"

class TNibTempOption {
public:
    TNibTempOption(TNibEditorOptions& Options, TNibEditorOption Option)
        : fOptions(Options), fOption(Option), fAdded(!Options.Contains(Option))
    {
        fOptions.Include(fOption);
    }
    ~TNibTempOption()
    {
        if (fAdded) fOptions.Exclude(fOption);
    }
    TNibTempOption(const TNibTempOption&) = delete;
    TNibTempOption& operator=(const TNibTempOption&) = delete;

private:
    TNibEditorOptions& fOptions;
    TNibEditorOption fOption;
    bool fAdded;
};
