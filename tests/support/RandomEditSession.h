#pragma once
// Seeded random edit sequences on an editor, checked state by state against undo and redo. Every
// edit that records a change is a point of the sequence; undo and redo, interleaved at random,
// must land on a point and give back its text character by character, and Modified must be false
// exactly at the last saved point. Texts hold tabs, blanks, wide glyphs, empty lines and lines of up
// to 2,000 characters, past MaxScrollWidth, which may also be small; options, tab width, word wrap
// and insert mode change between steps; carets and selections reach past line ends in every
// selection mode; drags copy and move; input-method strings hold line breaks.
#include <random>
#include <string>
#include <vector>

#include "editor/NibEdit.h"

/// What a sequence starts from.
struct RandomEditSetup {
    std::vector<UnicodeString> Lines;
    TNibEditorOptions Options;
    int TabWidth = 8;
    int MaxScrollWidth = 1024;
    bool WordWrap = false;
    bool InsertMode = true;
    /// The undo limit; 0 for one that no sequence reaches.
    int UndoLimit = 0;
};

/// One command of a sequence with everything it needs, so that a sequence can be replayed.
struct RandomEditStep {
    enum Kind : std::uint8_t {
        Caret, Select, Command, Type, Ime, Paste, SelText, Search, Drag, Undo, Redo, Save, Option, ColumnShift,
    };
    /// What an Option step changes besides an editor option (N >= 0 toggles TNibEditorOption(N)).
    enum OptionKind : int { SetTabWidth = -1, SetWordWrap = -2, SetInsertMode = -3 };
    Kind What = Caret;
    TNibEditorCommand Cmd = ecNone;
    TNibSelectionMode Mode = smNormal;
    TBufferCoord A{1, 1};
    TBufferCoord B{1, 1};
    /// Commands, undo and redo: repeats; paste: the mode byte of the private format, 3 for none;
    /// search: option bits; drag: 1 copies; option: the option or an OptionKind, with A.Char the
    /// tab width or the on/off value; column shift: 1 shifts left, and Text is typed after it.
    int N = 1;
    UnicodeString Text;
    UnicodeString Text2;
    /// The answers to prompted replacements, in turn.
    std::vector<TNibReplaceAction> Answers;
};

/// The kinds of sequence: every edit on every text; the same under a small undo limit, where
/// every text undo and redo give must be one the sequence had; or trimmed indents: short texts of
/// empty and blank lines with trailing blanks trimmed, where block indents and outdents by a tab stop
/// or by one column put blanks that the trim takes back, with selections, deletions and typing around
/// them.
enum class RandomEditClass : std::uint8_t { Everything, SmallUndoLimit, TrimmedIndents };

/// A random setup and the steps made so far for one seed.
class RandomEditSequence {
public:
    explicit RandomEditSequence(unsigned seed, RandomEditClass Class = RandomEditClass::Everything);
    const RandomEditSetup& Setup() const { return fSetup; }
    /// A random step for the editor as it stands.
    RandomEditStep NextStep(const TCustomNibEdit& edit);

private:
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(fRng); }
    RandomEditStep NextTrimmedIndentStep(const TCustomNibEdit& edit);
    char16_t Letter();
    UnicodeString Piece(int maxLength);
    UnicodeString Block(int maxBreaks, bool oddBreaks);
    TBufferCoord Position(const TCustomNibEdit& edit);

    std::mt19937 fRng;
    RandomEditClass fClass;
    RandomEditSetup fSetup;
};

/// Runs steps on a fresh editor made from a setup, checking every state, then undoes everything and
/// redoes everything, checked the same way. Returns an empty text when every state was right, else
/// what differed (or what was thrown).
std::string CheckUndoRedo(const RandomEditSetup& setup, const std::vector<RandomEditStep>& steps);

/// One seed end to end: Steps random steps, checked; on a failure the steps are shrunk to a
/// smallest failing subset, and the report lists the setup and those steps. ChangedSteps, when
/// given, grows by the number of steps that recorded a change.
std::string RunRandomEditSeed(unsigned seed, int Steps, int* ChangedSteps = nullptr,
                              RandomEditClass Class = RandomEditClass::Everything);
/// Every step of a seed with the text after it, to look at what a sequence does.
std::string TraceRandomEditSeed(unsigned seed, int Steps, RandomEditClass Class = RandomEditClass::Everything);

/// A readable line for a step and for a setup, for reports.
std::string Describe(const RandomEditStep& step);
std::string Describe(const RandomEditSetup& setup);
