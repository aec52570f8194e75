#pragma once
// Seeded random edit sequences on an editor, checked against undo and redo: after a sequence,
// undoing everything gives back the first text and redoing everything the last, character by
// character. Texts hold tabs, blanks, wide glyphs and empty lines; options, tab width, word wrap,
// insert mode and the selection modes vary; carets and selections reach past line ends.
#include <random>
#include <string>
#include <vector>

#include "editor/NibEdit.h"

/// What a sequence starts from.
struct RandomEditSetup {
    std::vector<UnicodeString> Lines;
    TNibEditorOptions Options;
    int TabWidth = 8;
    bool WordWrap = false;
    bool InsertMode = true;
    /// After every step that changed the text, one undo and one redo, then two of each, must give
    /// the text after the step back.
    bool CheckEachStep = false;
};

/// One command of a sequence with everything it needs, so that a sequence can be replayed.
struct RandomEditStep {
    enum Kind : std::uint8_t {
        Caret, Select, Command, Type, Ime, Paste, SelText, Search, Drag, UndoRedo,
    };
    Kind What = Caret;
    TNibEditorCommand Cmd = ecNone;
    TNibSelectionMode Mode = smNormal;
    TBufferCoord A{1, 1};
    TBufferCoord B{1, 1};
    /// Commands: repeats; paste: the mode byte of the private format, 3 for none; search: option
    /// bits; drag: 1 copies; undo and redo: how many undos, then B.Char redos.
    int N = 1;
    UnicodeString Text;
    UnicodeString Text2;
    /// The answers to prompted replacements, in turn.
    std::vector<TNibReplaceAction> Answers;
};

/// A random setup and the steps made so far for one seed.
class RandomEditSequence {
public:
    explicit RandomEditSequence(unsigned seed);
    const RandomEditSetup& Setup() const { return fSetup; }
    /// A random step for the editor as it stands.
    RandomEditStep NextStep(const TCustomNibEdit& edit);

private:
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(fRng); }
    char16_t Letter();
    UnicodeString Piece(int maxLength);
    UnicodeString Block(int maxBreaks, bool oddBreaks);
    TBufferCoord Position(const TCustomNibEdit& edit);

    std::mt19937 fRng;
    RandomEditSetup fSetup;
};

/// Runs steps on a fresh editor made from a setup, then undoes and redoes everything. Returns an
/// empty text when both ends come back exactly, else what differed (or what was thrown).
std::string CheckUndoRedo(const RandomEditSetup& setup, const std::vector<RandomEditStep>& steps);

/// One seed end to end: Steps random steps, checked; on a failure the steps are shrunk to a
/// smallest failing subset, and the report lists the setup and those steps. ChangedSteps, when
/// given, grows by the number of steps that changed the text.
std::string RunRandomEditSeed(unsigned seed, int Steps, int* ChangedSteps = nullptr);
/// Every step of a seed with the text after it, to look at what a sequence does.
std::string TraceRandomEditSeed(unsigned seed, int Steps);

/// A readable line for a step and for a setup, for reports.
std::string Describe(const RandomEditStep& step);
std::string Describe(const RandomEditSetup& setup);
