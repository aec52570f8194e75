#include <gtest/gtest.h>

#include <cerrno>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include "link/ComRx.h"
#include "platform/ManualLoop.h"
#include "support/FakeTarget.h"
#include "support/RecordingModemLines.h"

namespace {

/// The serial component on its own, recording each event it fires with the thread it ran in.
class ComRxEvents : public testing::Test {
protected:
    ComRxEvents()
    {
        MainLoop::SetCurrent(&loop);
        port.SetPortName(FromUtf8(target.SlavePath()));
        port.SetModemLines(lines);
        port.OnDataBlock = [this](TObject*, const std::uint8_t* data, unsigned count) {
            Log("[" + std::string(reinterpret_cast<const char*>(data), count) + "]");
        };
        port.OnDataReady = [this](TObject*, std::uint8_t byte) { Log(std::string(1, char(byte))); };
        port.OnModemEvent = [this](TObject*, TComModemEvents events) {
            std::lock_guard<std::mutex> l(lock);
            modem.push_back(events);
            modemThreads.push_back(std::this_thread::get_id());
        };
    }
    ~ComRxEvents() override
    {
        port.SetActive(false);
        loop.RunPending();
    }

    void Log(const std::string& text)
    {
        std::lock_guard<std::mutex> l(lock);
        log += text;
        threads.push_back(std::this_thread::get_id());
    }
    std::size_t ModemCount()
    {
        std::lock_guard<std::mutex> l(lock);
        return modem.size();
    }
    std::string Logged()
    {
        std::lock_guard<std::mutex> l(lock);
        return log;
    }

    ManualLoop loop;
    FakePtyTarget target;
    std::shared_ptr<RecordingModemLines> lines = std::make_shared<RecordingModemLines>();
    TComRx port;
    std::mutex lock;
    std::string log;
    std::vector<TComModemEvents> modem;
    std::vector<std::thread::id> threads;
    std::vector<std::thread::id> modemThreads;
};

TComModemEvents Events(std::initializer_list<TComModemEvent> members)
{
    TComModemEvents events;
    for (TComModemEvent e : members) events.Include(e);
    return events;
}

/// Bytes of the log's blocks, in order; each block must be followed by its own bytes one by one.
std::string BlocksFollowedByTheirBytes(const std::string& log)
{
    std::string bytes;
    std::size_t at = 0;
    while (at < log.size()) {
        if (log[at] != '[') return "byte without its block at " + std::to_string(at);
        const std::size_t close = log.find(']', at);
        const std::string block = log.substr(at + 1, close - at - 1);
        if (log.compare(close + 1, block.size(), block) != 0) return "block not followed by its bytes: " + block;
        bytes += block;
        at = close + 1 + block.size();
    }
    return bytes;
}

TEST_F(ComRxEvents, DataEventsRunWhereTheSwitchSaysAndModemEventsInTheReader)
{
    const std::vector<TComModemEvents> expected = {
        Events({cme_RING}), Events({cme_CTS}), Events({cme_DSR, cme_RLSD}), Events({cme_CTS})};
    for (bool synchronize : {true, false}) {
        SCOPED_TRACE(synchronize ? "synchronized" : "in the reader");
        {
            std::lock_guard<std::mutex> l(lock);
            log.clear();
            modem.clear();
            threads.clear();
            modemThreads.clear();
        }
        // The reader takes the first reading as where the counts stand; each later one that
        // differs is an event naming the lines that moved.
        lines->ScriptCounts({{0, 0, 0, 0}, {1, 0, 0, 0}, {1, 1, 0, 0}, {1, 1, 0, 0}, {1, 1, 1, 1}, {1, 2, 1, 1}});
        port.SetSynchronizeCallbacks(synchronize);
        port.SetActive(true);
        target.Send("abc");
        ASSERT_TRUE(loop.RunUntil([&] { return ModemCount() >= expected.size() && Logged().size() >= 8; }));
        loop.RunUntil([] { return false; }, 50);
        port.SetActive(false);

        std::lock_guard<std::mutex> l(lock);
        EXPECT_EQ(modem, expected);
        EXPECT_EQ(BlocksFollowedByTheirBytes(log), "abc") << log;
        for (std::thread::id id : threads) EXPECT_EQ(id == std::this_thread::get_id(), synchronize);
        // All in the one reader of this open; in the unsynchronized run, the data's thread too.
        ASSERT_FALSE(modemThreads.empty());
        for (std::thread::id id : modemThreads) {
            EXPECT_NE(id, std::this_thread::get_id());
            EXPECT_EQ(id, modemThreads.front());
            if (!synchronize) {
                EXPECT_EQ(id, threads.front());
            }
        }
    }
}

TEST_F(ComRxEvents, AFailingDeviceReportsItsErrorThenItsLoss)
{
    struct Case {
        bool synchronize;
        bool closeFromTheErrorHandler;
        std::vector<std::string> ends;
    };
    const std::string eio = "error " + std::to_string(EIO);
    const Case cases[] = {
        {true, false, {eio, "lost"}},
        {false, false, {eio, "lost"}},
        // Closed on request: no loss to report, and no hang-up of the reader's hand-over.
        {true, true, {eio}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.synchronize ? "synchronized" : "in the reader") +
                     (c.closeFromTheErrorHandler ? ", closed by the handler" : ""));
        FakePtyTarget device;
        std::vector<std::string> ends;
        std::vector<std::thread::id> endThreads;
        auto end = [&](TObject* sender, const std::string& what) {
            std::lock_guard<std::mutex> l(lock);
            ends.push_back(sender == &port ? what : what + " from another sender");
            endThreads.push_back(std::this_thread::get_id());
        };
        port.OnError = [&](TObject* sender, int error, bool& abortOnError) {
            end(sender, "error " + std::to_string(error) + (abortOnError ? " aborting" : ""));
            if (c.closeFromTheErrorHandler) port.SetActive(false);
        };
        port.OnPortLost = [&](TObject* sender) { end(sender, "lost"); };
        {
            std::lock_guard<std::mutex> l(lock);
            log.clear();
        }
        port.SetPortName(FromUtf8(device.SlavePath()));
        port.SetSynchronizeCallbacks(c.synchronize);
        port.SetActive(true);
        device.Send("x");
        ASSERT_TRUE(loop.RunUntil([&] { return Logged() == "[x]x"; }));
        device.HangUp();
        ASSERT_TRUE(loop.RunUntil([&] { return !port.Active(); }));
        loop.RunUntil([] { return false; }, 50);

        std::lock_guard<std::mutex> l(lock);
        EXPECT_EQ(ends, c.ends);
        ASSERT_EQ(endThreads.size(), c.ends.size());
        EXPECT_EQ(endThreads[0] == std::this_thread::get_id(), c.synchronize) << "the error";
        if (endThreads.size() > 1) {
            EXPECT_EQ(endThreads[1], std::this_thread::get_id()) << "the loss";
        }
    }
}

TEST_F(ComRxEvents, ADeviceThatCountsNothingGivesNoModemEvents)
{
    port.SetActive(true);
    target.Send("x");
    ASSERT_TRUE(loop.RunUntil([&] { return Logged() == "[x]x"; }));
    loop.RunUntil([] { return false; }, 50);
    EXPECT_EQ(ModemCount(), 0u);
}

TEST_F(ComRxEvents, ClosingFromAByteHandlerStopsTheRestOfTheBlock)
{
    port.OnDataReady = [this](TObject*, std::uint8_t byte) {
        Log(std::string(1, char(byte)));
        port.SetActive(false);
    };
    port.SetActive(true);
    target.Send("abc");
    ASSERT_TRUE(loop.RunUntil([&] { return !port.Active(); }));
    loop.RunUntil([] { return false; }, 50);
    const std::string logged = Logged();
    EXPECT_EQ(logged.substr(logged.find(']') + 1), logged.substr(1, 1)) << "only the block's first byte";
}

TEST_F(ComRxEvents, APortMadeActiveWhileLoadingOpensWhenLoaded)
{
    TComRx loading;
    loading.Loading();
    loading.SetActive(true);
    EXPECT_TRUE(loading.Active());
    loading.SetPortName(FromUtf8(target.SlavePath()));  // the order of the settings does not matter
    loading.OnDataBlock = [this](TObject*, const std::uint8_t* data, unsigned count) {
        Log(std::string(reinterpret_cast<const char*>(data), count));
    };
    target.Send("early");
    loop.RunUntil([] { return false; }, 50);
    EXPECT_EQ(Logged(), "");  // nothing is open yet
    loading.Loaded();
    EXPECT_TRUE(loading.Active());
    target.Send("!");
    EXPECT_TRUE(loop.RunUntil([&] { return Logged().find('!') != std::string::npos; }));

    // Turned off again before Loaded, nothing opens.
    TComRx undecided;
    undecided.Loading();
    undecided.SetActive(true);
    undecided.SetActive(false);
    undecided.Loaded();
    EXPECT_FALSE(undecided.Active());
}

}  // namespace
