#include "editor/NibEditKeyCmds.h"

#include <array>
#include <istream>
#include <ostream>

#include "editor/NibEditStrConst.h"

namespace {

struct CommandIdent {
    TNibEditorCommand Command;
    const char16_t* Ident;
};

// Sorted by number.
constexpr CommandIdent EditorCommandStrs[] = {
    {ecNone, u"ecNone"},
    {ecLeft, u"ecLeft"}, {ecRight, u"ecRight"}, {ecUp, u"ecUp"}, {ecDown, u"ecDown"},
    {ecWordLeft, u"ecWordLeft"}, {ecWordRight, u"ecWordRight"}, {ecLineStart, u"ecLineStart"},
    {ecLineEnd, u"ecLineEnd"}, {ecPageUp, u"ecPageUp"}, {ecPageDown, u"ecPageDown"},
    {ecPageLeft, u"ecPageLeft"}, {ecPageRight, u"ecPageRight"}, {ecPageTop, u"ecPageTop"},
    {ecPageBottom, u"ecPageBottom"}, {ecEditorTop, u"ecEditorTop"}, {ecEditorBottom, u"ecEditorBottom"},
    {ecGotoXY, u"ecGotoXY"},
    {ecSelLeft, u"ecSelLeft"}, {ecSelRight, u"ecSelRight"}, {ecSelUp, u"ecSelUp"}, {ecSelDown, u"ecSelDown"},
    {ecSelWordLeft, u"ecSelWordLeft"}, {ecSelWordRight, u"ecSelWordRight"},
    {ecSelLineStart, u"ecSelLineStart"}, {ecSelLineEnd, u"ecSelLineEnd"}, {ecSelPageUp, u"ecSelPageUp"},
    {ecSelPageDown, u"ecSelPageDown"}, {ecSelPageLeft, u"ecSelPageLeft"}, {ecSelPageRight, u"ecSelPageRight"},
    {ecSelPageTop, u"ecSelPageTop"}, {ecSelPageBottom, u"ecSelPageBottom"}, {ecSelEditorTop, u"ecSelEditorTop"},
    {ecSelEditorBottom, u"ecSelEditorBottom"}, {ecSelGotoXY, u"ecSelGotoXY"},
    {ecSelWord, u"ecSelWord"}, {ecSelectAll, u"ecSelectAll"}, {ecCopy, u"ecCopy"},
    {ecScrollUp, u"ecScrollUp"}, {ecScrollDown, u"ecScrollDown"}, {ecScrollLeft, u"ecScrollLeft"},
    {ecScrollRight, u"ecScrollRight"},
    {ecInsertMode, u"ecInsertMode"}, {ecOverwriteMode, u"ecOverwriteMode"}, {ecToggleMode, u"ecToggleMode"},
    {ecNormalSelect, u"ecNormalSelect"}, {ecColumnSelect, u"ecColumnSelect"}, {ecLineSelect, u"ecLineSelect"},
    {ecMatchBracket, u"ecMatchBracket"}, {ecCommentBlock, u"ecCommentBlock"},
    {301, u"ecGotoMarker0"}, {302, u"ecGotoMarker1"}, {303, u"ecGotoMarker2"}, {304, u"ecGotoMarker3"},
    {305, u"ecGotoMarker4"}, {306, u"ecGotoMarker5"}, {307, u"ecGotoMarker6"}, {308, u"ecGotoMarker7"},
    {309, u"ecGotoMarker8"}, {310, u"ecGotoMarker9"},
    {351, u"ecSetMarker0"}, {352, u"ecSetMarker1"}, {353, u"ecSetMarker2"}, {354, u"ecSetMarker3"},
    {355, u"ecSetMarker4"}, {356, u"ecSetMarker5"}, {357, u"ecSetMarker6"}, {358, u"ecSetMarker7"},
    {359, u"ecSetMarker8"}, {360, u"ecSetMarker9"},
    {ecContextHelp, u"ecContextHelp"},
    {ecDeleteLastChar, u"ecDeleteLastChar"}, {ecDeleteChar, u"ecDeleteChar"}, {ecDeleteWord, u"ecDeleteWord"},
    {ecDeleteLastWord, u"ecDeleteLastWord"}, {ecDeleteBOL, u"ecDeleteBOL"}, {ecDeleteEOL, u"ecDeleteEOL"},
    {ecDeleteLine, u"ecDeleteLine"}, {ecClearAll, u"ecClearAll"}, {ecLineBreak, u"ecLineBreak"},
    {ecInsertLine, u"ecInsertLine"}, {ecChar, u"ecChar"},
    {ecImeStr, u"ecImeStr"},
    {ecUndo, u"ecUndo"}, {ecRedo, u"ecRedo"}, {ecCut, u"ecCut"}, {ecPaste, u"ecPaste"},
    {ecBlockIndent, u"ecBlockIndent"}, {ecBlockUnindent, u"ecBlockUnindent"}, {ecTab, u"ecTab"},
    {ecShiftTab, u"ecShiftTab"},
    {ecUpperCase, u"ecUpperCase"}, {ecLowerCase, u"ecLowerCase"}, {ecToggleCase, u"ecToggleCase"},
    {ecTitleCase, u"ecTitleCase"}, {ecUpperCaseBlock, u"ecUpperCaseBlock"},
    {ecLowerCaseBlock, u"ecLowerCaseBlock"}, {ecToggleCaseBlock, u"ecToggleCaseBlock"},
    {ecString, u"ecString"}, {ecAutoCompletion, u"ecAutoCompletion"},
    {ecUserFirst, u"ecUserFirst"},
};

const CommandIdent* FindIdent(TNibEditorCommand command)
{
    for (const CommandIdent& entry : EditorCommandStrs)
        if (entry.Command == command) return &entry;
    return nullptr;
}

void WriteWord(std::ostream& out, std::uint16_t value)
{
    const char bytes[2] = {char(value & 0xFF), char(value >> 8)};
    out.write(bytes, 2);
}

std::uint32_t ReadBytes(std::istream& in, int count)
{
    unsigned char bytes[4] = {};
    if (!in.read(reinterpret_cast<char*>(bytes), count)) throw ENibError("Keystroke stream ends early");
    std::uint32_t value = 0;
    for (int i = count; i-- > 0;) value = (value << 8) | bytes[i];
    return value;
}

}  // namespace

bool EditorCommandToIdent(TNibEditorCommand Command, UnicodeString& Identifier)
{
    const CommandIdent* entry = FindIdent(Command);
    if (entry) Identifier = entry->Ident;
    return entry != nullptr;
}

bool IdentToEditorCommand(std::u16string_view Identifier, TNibEditorCommand& Command)
{
    for (const CommandIdent& entry : EditorCommandStrs)
        if (SameText(entry.Ident, Identifier)) {
            Command = entry.Command;
            return true;
        }
    return false;
}

UnicodeString EditorCommandToCodeString(TNibEditorCommand Command)
{
    UnicodeString ident;
    if (EditorCommandToIdent(Command, ident)) return ident;
    return IntToStr(Command);
}

const std::vector<TNibEditorCommand>& EditorCommands()
{
    static const std::vector<TNibEditorCommand> commands = [] {
        std::vector<TNibEditorCommand> all;
        for (const CommandIdent& entry : EditorCommandStrs) all.push_back(entry.Command);
        return all;
    }();
    return commands;
}

void TNibEditKeyStroke::Assign(const TNibEditKeyStroke& Source)
{
    FCommand = Source.FCommand;
    FKey = Source.FKey;
    FKey2 = Source.FKey2;
    FShift = Source.FShift;
    FShift2 = Source.FShift2;
}

UnicodeString TNibEditKeyStroke::GetDisplayName() const
{
    UnicodeString name = EditorCommandToCodeString(FCommand) + u" - " + ShortCutToText(GetShortCut());
    if (GetShortCut2() != 0) name += u" " + ShortCutToText(GetShortCut2());
    return name;
}

int TNibEditKeyStroke::Index() const
{
    if (!fCollection) return -1;
    for (int i = 0; i < fCollection->Count(); ++i)
        if (&fCollection->Items(i) == this) return i;
    return -1;
}

void TNibEditKeyStroke::SetShortCut(TShortCut Value)
{
    if (Value != 0 && fCollection) {
        const int found = fCollection->FindShortcut2(Value, GetShortCut2());
        if (found >= 0 && found != Index()) throw ENibKeyError(SNibDuplicateShortcut);
    }
    ShortCutToKey(Value, FKey, FShift);
}

void TNibEditKeyStroke::SetShortCut2(TShortCut Value)
{
    if (Value != 0 && fCollection) {
        const int found = fCollection->FindShortcut2(GetShortCut(), Value);
        if (found >= 0 && found != Index()) throw ENibKeyError(SNibDuplicateShortcut);
    }
    ShortCutToKey(Value, FKey2, FShift2);
}

TNibEditKeyStroke& TNibEditKeyStrokes::Add()
{
    fItems.push_back(std::make_unique<TNibEditKeyStroke>(this));
    return *fItems.back();
}

void TNibEditKeyStrokes::AddKey(TNibEditorCommand ACmd, std::uint16_t AKey, TShiftState AShift)
{
    TNibEditKeyStroke& stroke = Add();
    stroke.FKey = AKey;
    stroke.FShift = AShift;
    stroke.FCommand = ACmd;
}

void TNibEditKeyStrokes::Delete(int Index)
{
    if (Index < 0 || Index >= Count()) throw std::out_of_range("Keystroke index out of range");
    fItems.erase(fItems.begin() + Index);
}

void TNibEditKeyStrokes::Clear()
{
    fItems.clear();
}

void TNibEditKeyStrokes::Assign(const TNibEditKeyStrokes& Source)
{
    if (&Source == this) return;
    Clear();
    for (const auto& item : Source.fItems) Add().Assign(*item);
}

int TNibEditKeyStrokes::FindCommand(TNibEditorCommand Cmd) const
{
    for (int i = 0; i < Count(); ++i)
        if (fItems[std::size_t(i)]->FCommand == Cmd) return i;
    return -1;
}

int TNibEditKeyStrokes::FindKeycode(std::uint16_t Code, TShiftState SS) const
{
    for (int i = 0; i < Count(); ++i) {
        const TNibEditKeyStroke& k = *fItems[std::size_t(i)];
        if (k.FKey == Code && k.FShift == SS && k.FKey2 == 0) return i;
    }
    return -1;
}

int TNibEditKeyStrokes::FindKeycode2(std::uint16_t Code1, TShiftState SS1, std::uint16_t Code2,
                                     TShiftState SS2) const
{
    for (int i = 0; i < Count(); ++i) {
        const TNibEditKeyStroke& k = *fItems[std::size_t(i)];
        if (k.FKey == Code1 && k.FShift == SS1 && k.FKey2 == Code2 && k.FShift2 == SS2) return i;
    }
    return -1;
}

int TNibEditKeyStrokes::FindShortcut(TShortCut SC) const
{
    for (int i = 0; i < Count(); ++i)
        if (fItems[std::size_t(i)]->GetShortCut() == SC) return i;
    return -1;
}

int TNibEditKeyStrokes::FindShortcut2(TShortCut SC, TShortCut SC2) const
{
    for (int i = 0; i < Count(); ++i) {
        const TNibEditKeyStroke& k = *fItems[std::size_t(i)];
        if (k.GetShortCut() == SC && k.GetShortCut2() == SC2) return i;
    }
    return -1;
}

void TNibEditKeyStrokes::ResetDefaults()
{
    constexpr TShiftState none = 0, shift = ssShift, ctrl = ssCtrl, alt = ssAlt;
    Clear();

    // The caret keys: plain, Shift, Ctrl, Ctrl+Shift (ecNone: no binding).
    struct CaretKey {
        std::uint16_t Key;
        TNibEditorCommand Plain, Shift, Ctrl, CtrlShift;
    };
    constexpr CaretKey caretKeys[] = {
        {VK::UP, ecUp, ecSelUp, ecScrollUp, ecNone},
        {VK::DOWN, ecDown, ecSelDown, ecScrollDown, ecNone},
        {VK::LEFT, ecLeft, ecSelLeft, ecWordLeft, ecSelWordLeft},
        {VK::RIGHT, ecRight, ecSelRight, ecWordRight, ecSelWordRight},
        {VK::NEXT, ecPageDown, ecSelPageDown, ecPageBottom, ecSelPageBottom},
        {VK::PRIOR, ecPageUp, ecSelPageUp, ecPageTop, ecSelPageTop},
        {VK::HOME, ecLineStart, ecSelLineStart, ecEditorTop, ecSelEditorTop},
        {VK::END, ecLineEnd, ecSelLineEnd, ecEditorBottom, ecSelEditorBottom},
    };
    for (const CaretKey& k : caretKeys) {
        AddKey(k.Plain, k.Key, none);
        AddKey(k.Shift, k.Key, shift);
        AddKey(k.Ctrl, k.Key, ctrl);
        if (k.CtrlShift != ecNone) AddKey(k.CtrlShift, k.Key, ctrl | shift);
    }

    AddKey(ecToggleMode, VK::INSERT, none);
    AddKey(ecCopy, VK::INSERT, ctrl);
    AddKey(ecCut, VK::DELETE_, shift);
    AddKey(ecPaste, VK::INSERT, shift);
    AddKey(ecDeleteChar, VK::DELETE_, none);
    AddKey(ecDeleteLastChar, VK::BACK, none);
    AddKey(ecDeleteLastChar, VK::BACK, shift);
    AddKey(ecDeleteLastWord, VK::BACK, ctrl);
    AddKey(ecUndo, VK::BACK, alt);
    AddKey(ecRedo, VK::BACK, alt | shift);
    AddKey(ecLineBreak, VK::RETURN, none);
    AddKey(ecLineBreak, VK::RETURN, shift);
    AddKey(ecTab, VK::TAB, none);
    AddKey(ecShiftTab, VK::TAB, shift);
    AddKey(ecContextHelp, VK::F1, none);

    AddKey(ecSelectAll, 'A', ctrl);
    AddKey(ecCopy, 'C', ctrl);
    AddKey(ecPaste, 'V', ctrl);
    AddKey(ecCut, 'X', ctrl);
    AddKey(ecBlockIndent, 'I', ctrl | shift);
    AddKey(ecBlockUnindent, 'U', ctrl | shift);
    AddKey(ecLineBreak, 'M', ctrl);
    AddKey(ecInsertLine, 'N', ctrl);
    AddKey(ecDeleteWord, 'T', ctrl);
    AddKey(ecDeleteLine, 'Y', ctrl);
    AddKey(ecDeleteEOL, 'Y', ctrl | shift);
    AddKey(ecUndo, 'Z', ctrl);
    AddKey(ecRedo, 'Z', ctrl | shift);

    for (int i = 0; i <= 9; ++i) AddKey(TNibEditorCommand(ecGotoMarker0 + i), std::uint16_t('0' + i), ctrl);
    for (int i = 0; i <= 9; ++i) AddKey(TNibEditorCommand(ecSetMarker0 + i), std::uint16_t('0' + i), ctrl | shift);

    AddKey(ecNormalSelect, 'N', ctrl | shift);
    AddKey(ecColumnSelect, 'C', ctrl | shift);
    AddKey(ecLineSelect, 'L', ctrl | shift);
    AddKey(ecMatchBracket, 'B', ctrl | shift);
}

void TNibEditKeyStrokes::SaveToStream(std::ostream& Stream) const
{
    const std::uint32_t count = std::uint32_t(Count());
    WriteWord(Stream, std::uint16_t(count & 0xFFFF));
    WriteWord(Stream, std::uint16_t(count >> 16));
    for (const auto& k : fItems) {
        WriteWord(Stream, k->FKey);
        WriteWord(Stream, k->FShift);
        WriteWord(Stream, k->FKey2);
        WriteWord(Stream, k->FShift2);
        WriteWord(Stream, k->FCommand);
    }
}

void TNibEditKeyStrokes::LoadFromStream(std::istream& Stream)
{
    const auto count = std::int32_t(ReadBytes(Stream, 4));
    std::vector<std::unique_ptr<TNibEditKeyStroke>> loaded;
    for (std::int32_t i = 0; i < count; ++i) {
        auto k = std::make_unique<TNibEditKeyStroke>(this);
        k->FKey = std::uint16_t(ReadBytes(Stream, 2));
        k->FShift = TShiftState(ReadBytes(Stream, 2));
        k->FKey2 = std::uint16_t(ReadBytes(Stream, 2));
        k->FShift2 = TShiftState(ReadBytes(Stream, 2));
        k->FCommand = TNibEditorCommand(ReadBytes(Stream, 2));
        loaded.push_back(std::move(k));
    }
    fItems = std::move(loaded);
}
