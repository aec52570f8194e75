#pragma once
// A connection manager driven by a manual main loop, recording what it reports.
#include <gtest/gtest.h>

#include <string>
#include "link/ConnectionManager.h"
#include "platform/ManualLoop.h"

class LinkFixture : public testing::Test {
protected:
    LinkFixture()
    {
        MainLoop::SetCurrent(&loop);
        link = std::make_unique<TConnectionMod>();
        link->OnRxByte = [this](TObject*, std::uint8_t b) { received += char(b); };
        link->OnConnected = [this](TObject*) { ++connected; };
        link->OnClosed = [this](TObject*) { ++closed; };
    }
    ~LinkFixture() override
    {
        link.reset();
        loop.RunPending();
    }

    /// Runs the loop until `count` bytes have arrived (real time is bounded).
    bool ReceiveAtLeast(std::size_t count, int limitMs = 5000)
    {
        return loop.RunUntil([&] { return received.size() >= count; }, limitMs);
    }

    static std::string Pattern(std::size_t count)
    {
        std::string bytes(count, '\0');
        for (std::size_t i = 0; i < count; ++i) bytes[i] = char(i & 0xFF);
        return bytes;
    }

    ManualLoop loop;
    std::unique_ptr<TConnectionMod> link;
    std::string received;
    int connected = 0;
    int closed = 0;
};
