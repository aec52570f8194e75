#pragma once
// The terminal's protocol interpreter: every byte from the target goes through RxChar.
#include <cstdint>
#include <functional>
#include "link/ComOkBuffer.h"
#include "platform/Text.h"
#include "settings/ConfigUnit.h"
#include "terminal/SimpleTerminal.h"

/// The positioning command that waits for its parameter bytes.
enum TCmd_Function { cmd_NONE, cmd_GOTOXY, cmd_GOTOX, cmd_GOTOY };

/// What survives between received bytes: the parameter bytes still expected and those collected.
struct TRxState {
    std::int32_t ParamsRequired = 0;
    AnsiString Params;
    TCmd_Function RxCmdNeedsParam = cmd_NONE;
};

/// What RxChar acts on; the main window owns all of it.
struct TRxContext {
    TSimpleTerminal& Terminal;
    TComOkBuffer& ComOkBuffer;
    const TConfigTermOptions& Options;
    bool& InPaste;
    bool& AbortPaste;
    /// Sends one reply byte; may throw when the link is gone.
    std::function<void(std::uint8_t)> SendChar;
    std::function<void()> Beep;
};

/// Interprets one received byte: parameter bytes, control codes 0..20 (each only when allowed),
/// the paste check at CR, and printable bytes to the OK buffer and the screen.
void RxChar(TRxState& state, TRxContext& context, std::uint8_t b);
