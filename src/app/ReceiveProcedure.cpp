#include "app/ReceiveProcedure.h"

namespace {

int ParamByte(const TRxState& state, std::size_t index)
{
    return static_cast<unsigned char>(state.Params[index]);
}

void RunParamCommand(TRxState& state, TSimpleTerminal& terminal)
{
    // A state set up by hand may lack bytes; such a command is dropped.
    const std::size_t needed = state.RxCmdNeedsParam == cmd_GOTOXY ? 2 : 1;
    if (state.Params.size() < needed) return;
    int column = 0;
    int row = 0;
    switch (state.RxCmdNeedsParam) {
    case cmd_GOTOXY:
        terminal.GotoXY(ParamByte(state, 1), ParamByte(state, 0));
        break;
    case cmd_GOTOX:
        terminal.GetXY(column, row);
        terminal.GotoXY(ParamByte(state, 0), row);
        break;
    case cmd_GOTOY:
        terminal.GetXY(column, row);
        terminal.GotoXY(column, ParamByte(state, 0));
        break;
    case cmd_NONE:
        break;
    }
}

void ExpectParams(TRxState& state, TCmd_Function command, std::int32_t count)
{
    state.RxCmdNeedsParam = command;
    state.ParamsRequired = count;
}

/// At a CR during a paste: a reply line other than the prompt that ends in '?' is a Forth error.
void CheckPasteReply(TRxContext& context)
{
    if (!context.InPaste || context.AbortPaste || !context.Options.AbortPasteOnForthError) return;
    if (!context.ComOkBuffer.IsOk()) context.AbortPaste = context.ComOkBuffer.LastChar() == '?';
    context.ComOkBuffer.Reset();
}

void Reply(TRxContext& context, std::uint8_t code, int first, int second)
{
    Fire(context.SendChar, code);
    Fire(context.SendChar, std::uint8_t(first));
    Fire(context.SendChar, std::uint8_t(second));
}

void RunControlCode(TRxState& state, TRxContext& context, std::uint8_t b)
{
    if (b == 13) CheckPasteReply(context);
    if (!context.Options.AllowedCtrlCodes.Contains(b)) return;
    TSimpleTerminal& terminal = context.Terminal;
    int column = 0;
    int row = 0;
    switch (b) {
    case 0:
    case 16:
        terminal.ClrScreen();
        terminal.GoHome();
        break;
    case 1: terminal.GoHome(); break;
    case 2: ExpectParams(state, cmd_GOTOXY, 2); break;
    case 3: terminal.GoPriorColumn(1); break;
    case 4: terminal.GoNextColumn(1); break;
    case 5: terminal.GoPriorRow(1, false); break;
    case 6: terminal.GoNextRow(1, false); break;
    case 7: Fire(context.Beep); break;
    case 8:
        terminal.Write(u'\b');
        if (context.Options.BackspaceErases) {
            terminal.Write(u' ');
            terminal.Write(u'\b');
        }
        break;
    case 9: terminal.Write(u'\t'); break;
    case 10: terminal.Write(u'\n'); break;
    case 11: terminal.ClrToEol(); break;
    case 12: terminal.ClrToEop(); break;
    case 13:
        terminal.Write(u'\r');
        if (context.Options.CrIsNewLine) terminal.Write(u'\n');
        break;
    case 14: ExpectParams(state, cmd_GOTOX, 1); break;
    case 15: ExpectParams(state, cmd_GOTOY, 1); break;
    case 17: terminal.SetDisplayCursor(true); break;
    case 18: terminal.SetDisplayCursor(false); break;
    case 19:
        terminal.GetXY(column, row);
        Reply(context, 19, column, row);
        break;
    case 20: Reply(context, 20, terminal.Columns(), terminal.Rows()); break;
    default: break;
    }
}

}  // namespace

void RxChar(TRxState& state, TRxContext& context, std::uint8_t b)
{
    if (state.ParamsRequired > 0) {
        state.Params.push_back(static_cast<char>(b));
        if (--state.ParamsRequired == 0) {
            RunParamCommand(state, context.Terminal);
            state.Params.clear();
            state.RxCmdNeedsParam = cmd_NONE;
        }
        return;
    }
    if (b <= 20) {
        RunControlCode(state, context, b);
    } else if (b == 128) {
        context.Terminal.Write(char16_t(b));
    } else if ((b & 0x7F) >= 32) {
        context.ComOkBuffer.AddChar(b);
        context.Terminal.Write(char16_t(b));
    }
}
