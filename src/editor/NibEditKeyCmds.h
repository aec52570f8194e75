#pragma once
// Editor commands, their identifiers, and the table of keystrokes that leads keys to them.
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string_view>
#include <vector>

#include "editor/NibEditTypes.h"
#include "platform/Control.h"
#include "platform/ShortCut.h"
#include "platform/Text.h"

/// An editor command: a fixed number per action of the editor.
using TNibEditorCommand = std::uint16_t;

constexpr TNibEditorCommand ecNone = 0;
constexpr TNibEditorCommand ecLeft = 1, ecRight = 2, ecUp = 3, ecDown = 4, ecWordLeft = 5, ecWordRight = 6,
                            ecLineStart = 7, ecLineEnd = 8, ecPageUp = 9, ecPageDown = 10, ecPageLeft = 11,
                            ecPageRight = 12, ecPageTop = 13, ecPageBottom = 14, ecEditorTop = 15,
                            ecEditorBottom = 16, ecGotoXY = 17;
/// The moves that extend the selection: the move's number + ecSelection.
constexpr TNibEditorCommand ecSelection = 100;
constexpr TNibEditorCommand ecSelLeft = 101, ecSelRight = 102, ecSelUp = 103, ecSelDown = 104,
                            ecSelWordLeft = 105, ecSelWordRight = 106, ecSelLineStart = 107, ecSelLineEnd = 108,
                            ecSelPageUp = 109, ecSelPageDown = 110, ecSelPageLeft = 111, ecSelPageRight = 112,
                            ecSelPageTop = 113, ecSelPageBottom = 114, ecSelEditorTop = 115,
                            ecSelEditorBottom = 116, ecSelGotoXY = 117;
constexpr TNibEditorCommand ecSelWord = 198, ecSelectAll = 199, ecCopy = 201;
constexpr TNibEditorCommand ecScrollUp = 211, ecScrollDown = 212, ecScrollLeft = 213, ecScrollRight = 214;
constexpr TNibEditorCommand ecInsertMode = 221, ecOverwriteMode = 222, ecToggleMode = 223;
constexpr TNibEditorCommand ecNormalSelect = 231, ecColumnSelect = 232, ecLineSelect = 233;
constexpr TNibEditorCommand ecMatchBracket = 250, ecCommentBlock = 251;
constexpr TNibEditorCommand ecGotoMarker0 = 301, ecGotoMarker9 = 310;
constexpr TNibEditorCommand ecSetMarker0 = 351, ecSetMarker9 = 360;
constexpr TNibEditorCommand ecContextHelp = 490;
constexpr TNibEditorCommand ecDeleteLastChar = 501, ecDeleteChar = 502, ecDeleteWord = 503,
                            ecDeleteLastWord = 504, ecDeleteBOL = 505, ecDeleteEOL = 506, ecDeleteLine = 507,
                            ecClearAll = 508, ecLineBreak = 509, ecInsertLine = 510, ecChar = 511;
constexpr TNibEditorCommand ecImeStr = 550;
constexpr TNibEditorCommand ecUndo = 601, ecRedo = 602, ecCut = 603, ecPaste = 604;
constexpr TNibEditorCommand ecBlockIndent = 610, ecBlockUnindent = 611, ecTab = 612, ecShiftTab = 613;
constexpr TNibEditorCommand ecUpperCase = 620, ecLowerCase = 621, ecToggleCase = 622, ecTitleCase = 623,
                            ecUpperCaseBlock = 625, ecLowerCaseBlock = 626, ecToggleCaseBlock = 627;
constexpr TNibEditorCommand ecString = 630, ecAutoCompletion = 650;
/// The first number free for the user's own commands.
constexpr TNibEditorCommand ecUserFirst = 1001;

/// True and the identifier ("ecUp") when the command has one.
bool EditorCommandToIdent(TNibEditorCommand Command, UnicodeString& Identifier);
/// True and the command of an identifier; identifiers compare without case.
bool IdentToEditorCommand(std::u16string_view Identifier, TNibEditorCommand& Command);
/// The identifier, or the decimal number when the command has none.
UnicodeString EditorCommandToCodeString(TNibEditorCommand Command);
/// Every command with an identifier, in numeric order.
const std::vector<TNibEditorCommand>& EditorCommands();

/// Raised when a shortcut would duplicate another binding's.
class ENibKeyError : public ENibError {
public:
    using ENibError::ENibError;
};

class TNibEditKeyStrokes;

/// One binding: a key chord, or a sequence of two, and the command it runs.
class TNibEditKeyStroke {
public:
    explicit TNibEditKeyStroke(TNibEditKeyStrokes* Collection) : fCollection(Collection) {}

    /// Copies command and keys, without the duplicate check.
    void Assign(const TNibEditKeyStroke& Source);
    /// "ecUp - Up", with the second chord after a blank when there is one.
    UnicodeString GetDisplayName() const;
    /// The position in the owning collection, or -1.
    int Index() const;

    TNibEditorCommand Command() const { return FCommand; }
    void SetCommand(TNibEditorCommand Value) { FCommand = Value; }
    std::uint16_t Key() const { return FKey; }
    void SetKey(std::uint16_t Value) { FKey = Value; }
    TShiftState Shift() const { return FShift; }
    void SetShift(TShiftState Value) { FShift = Value; }
    std::uint16_t Key2() const { return FKey2; }
    void SetKey2(std::uint16_t Value) { FKey2 = Value; }
    TShiftState Shift2() const { return FShift2; }
    void SetShift2(TShiftState Value) { FShift2 = Value; }
    TShortCut GetShortCut() const { return ::ShortCut(FKey, FShift); }
    TShortCut GetShortCut2() const { return ::ShortCut(FKey2, FShift2); }
    /// Raise ENibKeyError and change nothing when another binding already has the resulting pair.
    void SetShortCut(TShortCut Value);
    void SetShortCut2(TShortCut Value);

private:
    friend class TNibEditKeyStrokes;
    TNibEditKeyStrokes* fCollection;
    std::uint16_t FKey = 0;
    TShiftState FShift = 0;
    std::uint16_t FKey2 = 0;
    TShiftState FShift2 = 0;
    TNibEditorCommand FCommand = ecNone;
};

/// The editor's bindings, in an order that matters: every lookup gives the first match.
class TNibEditKeyStrokes {
public:
    explicit TNibEditKeyStrokes(TObject* AOwner) : fOwner(AOwner) {}
    TNibEditKeyStrokes(const TNibEditKeyStrokes&) = delete;
    TNibEditKeyStrokes& operator=(const TNibEditKeyStrokes&) = delete;

    TObject* Owner() const { return fOwner; }
    int Count() const { return int(fItems.size()); }
    TNibEditKeyStroke& Items(int Index) const { return *fItems.at(std::size_t(Index)); }
    /// A new empty binding at the end.
    TNibEditKeyStroke& Add();
    /// Appends a single-chord binding without the duplicate check.
    void AddKey(TNibEditorCommand ACmd, std::uint16_t AKey, TShiftState AShift);
    void Delete(int Index);
    void Clear();
    /// Replaces the bindings by copies of Source's.
    void Assign(const TNibEditKeyStrokes& Source);

    int FindCommand(TNibEditorCommand Cmd) const;
    /// Single-chord bindings only.
    int FindKeycode(std::uint16_t Code, TShiftState SS) const;
    int FindKeycode2(std::uint16_t Code1, TShiftState SS1, std::uint16_t Code2, TShiftState SS2) const;
    /// Compares the first chord only.
    int FindShortcut(TShortCut SC) const;
    int FindShortcut2(TShortCut SC, TShortCut SC2) const;

    /// The 82 default bindings.
    void ResetDefaults();
    /// A 32-bit count, then Key, Shift, Key2, Shift2, Command (16 bits each) per binding, little-endian.
    void SaveToStream(std::ostream& Stream) const;
    /// Replaces the bindings by those of the stream; a stream that ends early raises ENibError and
    /// leaves the bindings as they were.
    void LoadFromStream(std::istream& Stream);

private:
    friend class TNibEditKeyStroke;
    TObject* fOwner;
    std::vector<std::unique_ptr<TNibEditKeyStroke>> fItems;
};
