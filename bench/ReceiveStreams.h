#pragma once
// What the receive benchmarks feed to RxChar, and the main window's receive set-up they feed it to.
#include <cstdint>
#include <string>
#include <vector>
#include "app/ReceiveProcedure.h"

namespace bench {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t StreamSize = 64 * 1024;

inline void Append(Bytes& bytes, const std::string& text) { bytes.insert(bytes.end(), text.begin(), text.end()); }

/// Printable text, CR LF after every 80 characters.
inline Bytes TextStream()
{
    Bytes bytes;
    int next = 0;
    while (bytes.size() < StreamSize) {
        for (int i = 0; i < 80; ++i) bytes.push_back(std::uint8_t(33 + (next++ % 94)));
        bytes.push_back(13);
        bytes.push_back(10);
    }
    bytes.resize(StreamSize);
    // End on a whole line so that every pass starts at the same place.
    bytes.back() = 10;
    bytes[bytes.size() - 2] = 13;
    return bytes;
}

/// A full-screen program's output: clear screen, positioned fields, tabs, partial clears.
inline Bytes MixedStream()
{
    Bytes bytes;
    int frame = 0;
    while (bytes.size() < StreamSize) {
        bytes.push_back(0);
        for (std::uint8_t row = 0; row < 20; ++row) {
            bytes.insert(bytes.end(), {2, row, std::uint8_t(row % 7)});
            Append(bytes, "Field " + std::to_string(frame) + ":" + std::to_string(row));
            bytes.push_back(9);
            Append(bytes, "value");
            bytes.push_back(9);
            Append(bytes, "1234.5");
            bytes.push_back(11);
            bytes.insert(bytes.end(), {14, 60});
            Append(bytes, "[ok]");
            bytes.insert(bytes.end(), {15, 22});
            Append(bytes, "status line text");
            bytes.insert(bytes.end(), {13, 10});
        }
        bytes.insert(bytes.end(), {2, 21, 0, 12});
        ++frame;
    }
    return bytes;
}

inline const Bytes& Text()
{
    static const Bytes bytes = TextStream();
    return bytes;
}

inline const Bytes& Mixed()
{
    static const Bytes bytes = MixedStream();
    return bytes;
}

/// The main window's receive set-up with the default options; without `drawn`, the model alone.
struct Receiver {
    explicit Receiver(bool drawn = false)
    {
        Terminal.SetRows(Options.DisplayRows);
        Terminal.SetColumns(Options.DisplayColumns);
        Terminal.SetHorzTabSpacing(Options.DisplayTabSize);
        if (!drawn) Terminal.SetObserver(nullptr);
    }

    TSimpleTerminal Terminal;
    TComOkBuffer ComOkBuffer;
    TConfigTermOptions Options;
    bool InPaste = false;
    bool AbortPaste = false;
    TRxState State;
    TRxContext Context{Terminal, ComOkBuffer, Options, InPaste, AbortPaste, [](std::uint8_t) {}, [] {}};
};

}  // namespace bench
