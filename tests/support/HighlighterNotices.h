#pragma once
// Listens to a highlighter's change notices as an editor does.
#include <algorithm>
#include <vector>

#include "editor/NibEditHighlighter.h"

/// Each notice a highlighter sends while this listens, with whether it said that the range some
/// line ends with may have changed (an editor then rescans every line) or not (a repaint does).
class THighlighterNotices : public TObject {
public:
    explicit THighlighterNotices(TNibCustomHighlighter& Highlighter) : fHighlighter(Highlighter)
    {
        fHighlighter.HookAttrChangeEvent(Hook());
    }
    ~THighlighterNotices() override { fHighlighter.UnhookAttrChangeEvent(Hook()); }
    THighlighterNotices(const THighlighterNotices&) = delete;
    THighlighterNotices& operator=(const THighlighterNotices&) = delete;

    int Count() const { return int(MayAlterRanges.size()); }
    /// The notices that had every range rescanned.
    int Rescans() const { return int(std::count(MayAlterRanges.begin(), MayAlterRanges.end(), true)); }

    std::vector<bool> MayAlterRanges;

private:
    void Changed(TObject*) { MayAlterRanges.push_back(fHighlighter.ChangeMayAlterRanges()); }
    TNibMethodChain::TMethodEvent Hook()
    {
        return TNibMethodChain::TMethodEvent::Bind<&THighlighterNotices::Changed>(this);
    }

    TNibCustomHighlighter& fHighlighter;
};
