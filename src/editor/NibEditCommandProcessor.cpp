// The editor control: keys to commands (with two-stroke chords), and the one path every command
// takes past the application's events and the hooked handlers to ExecuteCommand.
#include "editor/NibEdit.h"

namespace {

/// VK_ACCEPT .. VK_SCROLL: the keys that may start a chord.
constexpr std::uint16_t FirstChordKey = 30;
constexpr std::uint16_t LastChordKey = 145;

} // namespace

TNibEditorCommand TCustomNibEdit::TranslateKeyCode(std::uint16_t Code, TShiftState Shift, void*& Data)
{
    Data = nullptr;
    TNibEditorCommand result = ecNone;
    int i = fKeyStrokes->FindKeycode2(fLastKey, fLastShiftState, Code, Shift);
    if (i >= 0) {
        result = fKeyStrokes->Items(i).Command();
    } else {
        i = fKeyStrokes->FindKeycode(Code, Shift);
        if (i >= 0) result = fKeyStrokes->Items(i).Command();
    }
    if (result == ecNone && Code >= FirstChordKey && Code <= LastChordKey) {
        fLastKey = Code;
        fLastShiftState = Shift;
    } else {
        fLastKey = 0;
        fLastShiftState = 0;
    }
    return result;
}

void TCustomNibEdit::CommandProcessor(TNibEditorCommand Command, char16_t AChar, void* Data)
{
    DoOnProcessCommand(Command, AChar, Data);
    if (Command != ecNone) {
        NotifyHookedCommandHandlers(false, Command, AChar, Data);
        if (Command != ecNone && Command < ecUserFirst) ExecuteCommand(Command, AChar, Data);
        if (Command != ecNone) NotifyHookedCommandHandlers(true, Command, AChar, Data);
    }
    DoOnCommandProcessed(Command, AChar, Data);
}

void TCustomNibEdit::DoOnProcessCommand(TNibEditorCommand& Command, char16_t& AChar, void* Data)
{
    if (Command < ecUserFirst) Fire(OnProcessCommand, this, Command, AChar, Data);
    else Fire(OnProcessUserCommand, this, Command, AChar, Data);
}

void TCustomNibEdit::DoOnCommandProcessed(TNibEditorCommand Command, char16_t AChar, void* Data)
{
    Fire(OnCommandProcessed, this, Command, AChar, Data);
}

void TCustomNibEdit::NotifyHookedCommandHandlers(bool AfterProcessing, TNibEditorCommand& Command, char16_t& AChar,
                                                 void* Data)
{
    bool handled = false;
    // A handler may unregister itself (or another) while it runs: walk a copy.
    const std::vector<THookedCommandHandlerEntry> handlers = fHookedCommandHandlers;
    for (const THookedCommandHandlerEntry& entry : handlers)
        entry.Event(this, AfterProcessing, handled, Command, AChar, Data, entry.Data);
    if (handled) Command = ecNone;
}

void TCustomNibEdit::RegisterCommandHandler(const THookedCommandEvent& AHandlerProc, void* AHandlerData)
{
    if (!AHandlerProc) return;
    for (const THookedCommandHandlerEntry& entry : fHookedCommandHandlers)
        if (entry.Event == AHandlerProc && entry.Data == AHandlerData) return;
    fHookedCommandHandlers.push_back({AHandlerProc, AHandlerData});
}

void TCustomNibEdit::UnregisterCommandHandler(const THookedCommandEvent& AHandlerProc, void* AHandlerData)
{
    for (auto i = fHookedCommandHandlers.size(); i-- > 0;)
        if (fHookedCommandHandlers[i].Event == AHandlerProc && fHookedCommandHandlers[i].Data == AHandlerData) {
            fHookedCommandHandlers.erase(fHookedCommandHandlers.begin() + std::ptrdiff_t(i));
            return;
        }
}
