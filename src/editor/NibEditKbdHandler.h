#pragma once
// Chains of keyboard and mouse handlers through which other components watch and intercept the
// editor's input without taking over its event properties.
#include <cstdint>
#include <vector>

#include "editor/NibEditTypes.h"
#include "platform/Control.h"
#include "platform/Events.h"

/// An ordered list of handlers that can be removed by identity; one handler may be listed twice.
template <typename Signature>
class TMethodList {
public:
    using Method = TMethod<Signature>;

    void Add(const Method& aHandler) { fData.push_back(aHandler); }
    /// Removes the newest entry equal to aHandler; nothing when there is none.
    void Remove(const Method& aHandler)
    {
        for (auto i = fData.size(); i-- > 0;)
            if (fData[i] == aHandler) {
                fData.erase(fData.begin() + std::ptrdiff_t(i));
                return;
            }
    }
    int Count() const { return int(fData.size()); }
    const Method& Items(int Index) const { return fData.at(std::size_t(Index)); }

private:
    std::vector<Method> fData;
};

using TNibKeyPressHandler = TMethod<void(TObject* Sender, char16_t& Key)>;
using TNibKeyHandler = TMethod<void(TObject* Sender, std::uint16_t& Key, TShiftState Shift)>;
using TNibMouseHandler = TMethod<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TNibMouseCursorHandler = TMethod<void(TObject* Sender, const TBufferCoord& aLineCharPos, TCursorShape& aCursor)>;

/// The editor's six input chains. Each runs newest handler first; a key chain stops once a handler
/// has set the key to 0, and no chain re-enters itself.
class TNibEditKbdHandler {
public:
    void AddKeyDownHandler(const TNibKeyHandler& aHandler) { fKeyDownChain.Add(aHandler); }
    void RemoveKeyDownHandler(const TNibKeyHandler& aHandler) { fKeyDownChain.Remove(aHandler); }
    void AddKeyUpHandler(const TNibKeyHandler& aHandler) { fKeyUpChain.Add(aHandler); }
    void RemoveKeyUpHandler(const TNibKeyHandler& aHandler) { fKeyUpChain.Remove(aHandler); }
    void AddKeyPressHandler(const TNibKeyPressHandler& aHandler) { fKeyPressChain.Add(aHandler); }
    void RemoveKeyPressHandler(const TNibKeyPressHandler& aHandler) { fKeyPressChain.Remove(aHandler); }
    void AddMouseDownHandler(const TNibMouseHandler& aHandler) { fMouseDownChain.Add(aHandler); }
    void RemoveMouseDownHandler(const TNibMouseHandler& aHandler) { fMouseDownChain.Remove(aHandler); }
    void AddMouseUpHandler(const TNibMouseHandler& aHandler) { fMouseUpChain.Add(aHandler); }
    void RemoveMouseUpHandler(const TNibMouseHandler& aHandler) { fMouseUpChain.Remove(aHandler); }
    void AddMouseCursorHandler(const TNibMouseCursorHandler& aHandler) { fMouseCursorChain.Add(aHandler); }
    void RemoveMouseCursorHandler(const TNibMouseCursorHandler& aHandler) { fMouseCursorChain.Remove(aHandler); }

    void ExecuteKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
    void ExecuteKeyUp(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
    void ExecuteKeyPress(TObject* Sender, char16_t& Key);
    void ExecuteMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ExecuteMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ExecuteMouseCursor(TObject* Sender, const TBufferCoord& aLineCharPos, TCursorShape& aCursor);

private:
    TMethodList<void(TObject*, char16_t&)> fKeyPressChain;
    TMethodList<void(TObject*, std::uint16_t&, TShiftState)> fKeyDownChain;
    TMethodList<void(TObject*, std::uint16_t&, TShiftState)> fKeyUpChain;
    TMethodList<void(TObject*, TMouseButton, TShiftState, int, int)> fMouseDownChain;
    TMethodList<void(TObject*, TMouseButton, TShiftState, int, int)> fMouseUpChain;
    TMethodList<void(TObject*, const TBufferCoord&, TCursorShape&)> fMouseCursorChain;
    bool fInKeyPress = false;
    bool fInKeyDown = false;
    bool fInKeyUp = false;
    bool fInMouseDown = false;
    bool fInMouseUp = false;
    bool fInMouseCursor = false;
};
