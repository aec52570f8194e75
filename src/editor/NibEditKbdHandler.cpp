#include "editor/NibEditKbdHandler.h"

#include "platform/ScopedFlag.h"

namespace {

// Calls the handlers from the newest to the oldest until `stop` says so. Handlers may add or
// remove handlers of the same chain: the index is checked against the count before every call,
// and the handler is copied before it runs.
template <typename Signature, typename Stop, typename... Args>
void RunChain(const TMethodList<Signature>& chain, bool& inProgress, Stop stop, Args&&... args)
{
    if (inProgress) return;
    ScopedFlag guard(inProgress);
    for (int i = chain.Count() - 1; i >= 0; --i) {
        if (i >= chain.Count()) {
            i = chain.Count();
            continue;
        }
        const auto handler = chain.Items(i);
        handler(args...);
        if (stop()) return;
    }
}

}  // namespace

void TNibEditKbdHandler::ExecuteKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift)
{
    RunChain(fKeyDownChain, fInKeyDown, [&] { return Key == 0; }, Sender, Key, Shift);
}

void TNibEditKbdHandler::ExecuteKeyUp(TObject* Sender, std::uint16_t& Key, TShiftState Shift)
{
    RunChain(fKeyUpChain, fInKeyUp, [&] { return Key == 0; }, Sender, Key, Shift);
}

void TNibEditKbdHandler::ExecuteKeyPress(TObject* Sender, char16_t& Key)
{
    RunChain(fKeyPressChain, fInKeyPress, [&] { return Key == 0; }, Sender, Key);
}

void TNibEditKbdHandler::ExecuteMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    RunChain(fMouseDownChain, fInMouseDown, [] { return false; }, Sender, Button, Shift, X, Y);
}

void TNibEditKbdHandler::ExecuteMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    RunChain(fMouseUpChain, fInMouseUp, [] { return false; }, Sender, Button, Shift, X, Y);
}

void TNibEditKbdHandler::ExecuteMouseCursor(TObject* Sender, const TBufferCoord& aLineCharPos, TCursorShape& aCursor)
{
    RunChain(fMouseCursorChain, fInMouseCursor, [] { return false; }, Sender, aLineCharPos, aCursor);
}
