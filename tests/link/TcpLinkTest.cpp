#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <optional>
#include <thread>
#include "link/LinkFixture.h"
#include "link/SocketStreamObject.h"
#include "link/TcpConsoleThread.h"
#include "platform/Sockets.h"
#include "support/FakeTarget.h"

namespace {

using Clock = std::chrono::steady_clock;

UnicodeString PortText(int port)
{
    return FromUtf8(std::to_string(port));
}

class TcpLink : public LinkFixture {
protected:
    void Open(int port) { link->OpenTcpPort(u"127.0.0.1", PortText(port)); }
    bool Connect()
    {
        Open(target.Port());
        return loop.RunUntil([&] { return connected > 0; });
    }
    /// Waits until the server has seen the link's socket closed, i.e. its thread is gone.
    bool ThreadGone()
    {
        return loop.RunUntil([&] { return target.WaitForClosed(0); });
    }

    FakeTcpTarget target;
};

TEST_F(TcpLink, ConnectsOnceAndMovesEveryByteBothWays)
{
    Open(target.Port());
    const UnicodeString hostPort = u"127.0.0.1:" + PortText(target.Port());
    EXPECT_EQ(link->ConnectionName(), u"Connecting To " + hostPort);
    EXPECT_EQ(link->PortType(), cmp_TcpClient);
    EXPECT_TRUE(link->IsActive());
    ASSERT_TRUE(loop.RunUntil([&] { return connected > 0; }));
    EXPECT_TRUE(link->IsConnected());
    EXPECT_EQ(link->ConnectionName(), u"TCP " + hostPort);

    target.SendPattern(3 * 256);
    ASSERT_TRUE(ReceiveAtLeast(3 * 256));
    EXPECT_EQ(received, Pattern(3 * 256));

    // More than one buffer: the first 2048 go when it is full, the rest after the quiet time.
    const std::string block = Pattern(3000);
    ASSERT_TRUE(link->TxBytes(reinterpret_cast<const std::uint8_t*>(block.data()), 3000, 5));
    ASSERT_TRUE(target.WaitForReceived(3000));
    EXPECT_EQ(target.Received(), block);
    loop.RunUntil([] { return false; }, 30);
    EXPECT_EQ(connected, 1);
    EXPECT_EQ(closed, 0);
}

TEST_F(TcpLink, FailedConnectsEndWithOneCloseAndNoName)
{
    const UnicodeString ports[] = {PortText(FakeTcpTarget::RefusedPort()), u"70000", u"0", u"",
                                   u"no-such-service-here"};
    for (const UnicodeString& port : ports) {
        closed = 0;
        link->OpenTcpPort(u"127.0.0.1", port);
        ASSERT_TRUE(loop.RunUntil([&] { return closed > 0; })) << ToUtf8(port);
        EXPECT_EQ(connected, 0);
        EXPECT_FALSE(link->IsActive());
        EXPECT_TRUE(link->ConnectionName().empty());
        loop.RunUntil([] { return false; }, 20);
        EXPECT_EQ(closed, 1);
    }
}

TEST_F(TcpLink, ClosingWhileConnectingFiresNothingLater)
{
    FakeTcpTarget silent(true);
    link->OpenTcpPort(u"127.0.0.1", PortText(silent.Port()));
    loop.RunUntil([] { return false; }, 100);
    ASSERT_FALSE(link->IsConnected()) << "the connect was expected to stay in progress";
    link->ClosePort();
    EXPECT_FALSE(link->IsActive());
    loop.RunUntil([] { return false; }, 200);
    EXPECT_EQ(connected, 0);
    EXPECT_EQ(closed, 0);
}

TEST_F(TcpLink, ThePeersLastBytesArriveBeforeTheClose)
{
    ASSERT_TRUE(Connect());
    std::string atClose;
    link->OnClosed = [&](TObject*) {
        atClose = received;
        ++closed;
    };
    target.Send("last words");
    ASSERT_TRUE(target.WaitForSent());
    target.HangUp();
    ASSERT_TRUE(loop.RunUntil([&] { return closed > 0; }));
    EXPECT_EQ(atClose, "last words");
    EXPECT_FALSE(link->IsActive());
    EXPECT_TRUE(link->ConnectionName().empty());
}

/// A loopback server that accepts each connection, sends a greeting and resets it at once.
class ResettingServer {
public:
    explicit ResettingServer(int connections)
    {
        fListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        EXPECT_EQ(::bind(fListen, reinterpret_cast<sockaddr*>(&address), size), 0);
        EXPECT_EQ(::listen(fListen, 8), 0);
        ::getsockname(fListen, reinterpret_cast<sockaddr*>(&address), &size);
        fPort = ntohs(address.sin_port);
        fThread = std::thread([this, connections] {
            for (int i = 0; i < connections; ++i) {
                const int fd = ::accept4(fListen, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd < 0) return;
                const std::string greeting = Greeting(i);
                EXPECT_EQ(::send(fd, greeting.data(), greeting.size(), MSG_NOSIGNAL), ssize_t(greeting.size()));
                const linger reset{1, 0};
                ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
                ::close(fd);
            }
        });
    }
    ~ResettingServer()
    {
        ::shutdown(fListen, SHUT_RDWR);
        fThread.join();
        ::close(fListen);
    }
    int Port() const { return fPort; }
    static std::string Greeting(int i) { return "hello " + std::to_string(i) + "\r\n"; }

private:
    int fListen = -1;
    int fPort = 0;
    std::thread fThread;
};

TEST_F(TcpLink, APeerThatAcceptsSendsAndResetsAtOnceGivesConnectedBytesThenClosed)
{
    constexpr int kConnections = 200;
    ResettingServer server(kConnections);
    std::string events;
    link->OnConnected = [&](TObject*) { events += '<'; };
    link->OnRxByte = [&](TObject*, std::uint8_t b) { events += char(b); };
    link->OnClosed = [&](TObject*) { events += '>'; };
    for (int i = 0; i < kConnections; ++i) {
        events.clear();
        Open(server.Port());
        ASSERT_TRUE(loop.RunUntil([&] { return !events.empty() && events.back() == '>'; })) << i;
        EXPECT_EQ(events, "<" + ResettingServer::Greeting(i) + ">") << i;
        EXPECT_FALSE(link->IsActive());
    }
}

/// Installed for its life: the connect's wait for writability reports `result`, but only once
/// the connect has ended on the wire (the peer has reset or refused it); every other wait is the
/// system's.
class ScriptedConnectWait : public SocketReadiness {
public:
    explicit ScriptedConnectWait(WaitResult result) : fResult(result) { SetSocketReadiness(this); }
    ~ScriptedConnectWait() override { SetSocketReadiness(nullptr); }
    WaitResult Wait(int socket, short events, const WakeUp* wake, int timeoutMs) override
    {
        if (events != POLLOUT || fScripted.exchange(true)) return WaitForFd(socket, events, wake, timeoutMs);
        pollfd fd{socket, POLLIN, 0};
        for (const auto limit = Clock::now() + std::chrono::seconds(5); !(fd.revents & POLLHUP) && Clock::now() < limit;)
            ::poll(&fd, 1, 100);
        return fResult;
    }
    bool Scripted() const { return fScripted; }

private:
    const WaitResult fResult;
    std::atomic<bool> fScripted{false};
};

TEST_F(TcpLink, AConnectEndedByThePeerBeforeItsWaitReturnsIsTakenAsTheSocketSays)
{
    struct Case {
        const char* name;
        bool peerAcceptsSendsAndResets;  // else nothing listens
        WaitResult waitReports;
        bool connects;
    };
    const Case cases[] = {
        {"reset, the wait reporting an error", true, WaitResult::Failed, true},
        {"reset, the wait reporting writable", true, WaitResult::Ready, true},
        {"refused, the wait reporting an error", false, WaitResult::Failed, false},
        {"refused, the wait reporting writable", false, WaitResult::Ready, false},
        {"reset, the wait running out", true, WaitResult::TimedOut, false},
    };
    std::string events;
    link->OnConnected = [&](TObject*) { events += '<'; };
    link->OnRxByte = [&](TObject*, std::uint8_t b) { events += char(b); };
    link->OnClosed = [&](TObject*) { events += '>'; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<ResettingServer> server;
        if (c.peerAcceptsSendsAndResets) server.emplace(1);
        ScriptedConnectWait wait(c.waitReports);
        events.clear();
        Open(server ? server->Port() : FakeTcpTarget::RefusedPort());
        ASSERT_TRUE(loop.RunUntil([&] { return !events.empty() && events.back() == '>'; }));
        EXPECT_TRUE(wait.Scripted()) << "the connect did not wait";
        EXPECT_EQ(events, c.connects ? "<" + ResettingServer::Greeting(0) + ">" : ">");
        EXPECT_FALSE(link->IsActive());
    }
}

TEST_F(TcpLink, ClosingFromInsideTheReceiveHandlerReturnsAndDropsTheRest)
{
    ASSERT_TRUE(Connect());
    int delivered = 0;
    link->OnRxByte = [&](TObject*, std::uint8_t) {
        ++delivered;
        link->TxByte('?', 1);
        link->ClosePort();
    };
    const auto start = Clock::now();
    target.SendPattern(5000);
    ASSERT_TRUE(loop.RunUntil([&] { return delivered > 0; }));
    EXPECT_FALSE(link->IsActive());
    ASSERT_TRUE(ThreadGone());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(delivered, 1);
    EXPECT_EQ(closed, 0);
}

TEST_F(TcpLink, AHandlerWaitingInANestedLoopGetsEveryByteOnceAndInOrder)
{
    ASSERT_TRUE(Connect());
    bool asked = false;
    link->OnRxByte = [&](TObject*, std::uint8_t b) {
        received += char(b);
        if (asked) return;
        // As a question asked from the receive handler does: the loop runs while the byte waits.
        asked = true;
        target.Send("def");
        loop.RunUntil([] { return false; }, 100);
    };
    target.Send("abc");
    ASSERT_TRUE(ReceiveAtLeast(6));
    loop.RunUntil([] { return false; }, 30);
    EXPECT_EQ(received, "abcdef");
}

TEST_F(TcpLink, AHandlerThatClosesAndThenWaitsInANestedLoopOutlivesTheThread)
{
    ASSERT_TRUE(Connect());
    int delivered = 0;
    link->OnRxByte = [&](TObject*, std::uint8_t) {
        ++delivered;
        link->ClosePort();
        // As a message shown from the handler does: meanwhile the thread ends and is freed.
        EXPECT_TRUE(loop.RunUntil([&] { return target.WaitForClosed(0); }));
        loop.RunUntil([] { return false; }, 20);
    };
    target.SendPattern(5000);
    ASSERT_TRUE(loop.RunUntil([&] { return delivered > 0; }));
    loop.RunUntil([] { return false; }, 50);
    EXPECT_EQ(delivered, 1);
}

TEST_F(TcpLink, AWaitingSendStopsWhenTheLinkDrops)
{
    ASSERT_TRUE(Connect());
    target.SetMode(FakeTarget::Mode::Deaf);
    // Fill the socket and then the link's own buffer, until its thread no longer drains it.
    std::size_t taken = 0;
    while (taken < (64u << 20) && link->TxByte('x', 1)) ++taken;
    ASSERT_LT(taken, 64u << 20);
    target.HangUp();
    const auto start = Clock::now();
    EXPECT_FALSE(link->TxByte('y', 10));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(loop.RunUntil([&] { return closed > 0; }));
}

TEST_F(TcpLink, ASendAfterTheLinkDroppedFailsBeforeTheCloseIsHandled)
{
    ASSERT_TRUE(Connect());
    // Connected once the system completed the handshake; the target hangs up what it accepted.
    ASSERT_TRUE(target.WaitForConnections(1));
    target.HangUp();
    // The main loop does not run, so the thread's end is not yet handled; the send must see it.
    int taken = 0;
    for (const auto limit = Clock::now() + std::chrono::seconds(3); Clock::now() < limit; ++taken) {
        if (!link->TxByte('x', 0)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // Refused once the thread has ended, not only once its buffer, which nothing drains now, is full.
    EXPECT_LT(taken, TTcpConsoleThread::kBufferSize);
    EXPECT_TRUE(loop.RunUntil([&] { return closed > 0; }));
}

TEST_F(TcpLink, TheTargetEchoesAndAnswersLines)
{
    ASSERT_TRUE(Connect());
    auto send = [&](const std::string& text) {
        ASSERT_TRUE(link->TxBytes(reinterpret_cast<const std::uint8_t*>(text.data()), int(text.size()), 5));
    };
    target.SetMode(FakeTarget::Mode::Echo);
    send("\r\n\x03\x11\x13");
    ASSERT_TRUE(ReceiveAtLeast(5));
    EXPECT_EQ(received, "\r\n\x03\x11\x13");

    received.clear();
    target.SetMode(FakeTarget::Mode::Prompt);
    target.SetUnknownWord("bogus");
    send("1 2 +\rbogus\r");
    const std::string answer = "1 2 +  OK\r\nbogus ?\r\n";
    ASSERT_TRUE(ReceiveAtLeast(answer.size()));
    EXPECT_EQ(received, answer);
}

TEST(TcpConsoleThread, ClearingTheSendBufferDuringAStalledFlushKeepsItsBytesApart)
{
    ManualLoop loop;
    MainLoop::SetCurrent(&loop);
    FakeTcpTarget target;
    target.SetMode(FakeTarget::Mode::Deaf);
    auto* thread = new TTcpConsoleThread("127.0.0.1", std::to_string(target.Port()));
    bool connected = false, ended = false;
    thread->OnConnected = [&](TObject*) { connected = true; };
    thread->OnTerminate = [&](TObject*) { ended = true; };
    thread->Start();
    ASSERT_TRUE(loop.RunUntil([&] { return connected; }));
    // Fill the socket and the buffer until the thread's flush waits for the peer.
    std::size_t queued = 0;
    for (auto stalled = Clock::now(); Clock::now() - stalled < std::chrono::milliseconds(300);) {
        if (!thread->WaitCanWriteByte(Clock::now())) continue;
        thread->WriteByte('x');
        ++queued;
        stalled = Clock::now();
        ASSERT_LT(queued, 64u << 20);
    }
    thread->ClearWriteBuffer();
    for (char c : std::string("tail")) thread->WriteByte(std::uint8_t(c));
    target.SetMode(FakeTarget::Mode::Record);
    ASSERT_TRUE(loop.RunUntil([&] {
        const std::string got = target.Received();
        return got.size() >= 4 && got.compare(got.size() - 4, 4, "tail") == 0;
    }));
    const std::string got = target.Received();
    EXPECT_EQ(got.find_first_not_of('x'), got.size() - 4);
    EXPECT_LE(got.size() - 4, queued);
    EXPECT_FALSE(ended);
    thread->Terminate();
    EXPECT_TRUE(loop.RunUntil([&] { return ended; }));
}

TEST(TcpConsoleThread, ReceivedBytesAreTakenOneAtATimeOrDropped)
{
    ManualLoop loop;
    MainLoop::SetCurrent(&loop);
    FakeTcpTarget target;
    auto* thread = new TTcpConsoleThread("127.0.0.1", std::to_string(target.Port()));
    bool connected = false, ended = false, drop = false;
    int drops = 0;
    std::string got;
    thread->OnConnected = [&](TObject*) { connected = true; };
    thread->OnDataReady = [&](TObject*, unsigned) {
        if (drop) {
            thread->ClearReadBuffer();
            EXPECT_FALSE(thread->CanReadByte());
            ++drops;
            return;
        }
        while (thread->CanReadByte()) got += char(thread->ReadByte());
    };
    thread->OnTerminate = [&](TObject*) { ended = true; };
    thread->Start();
    ASSERT_TRUE(loop.RunUntil([&] { return connected; }));
    EXPECT_TRUE(thread->CanWriteByte());
    EXPECT_EQ(thread->ReadByte(), 0);

    target.Send("abc");
    ASSERT_TRUE(loop.RunUntil([&] { return got == "abc"; }));
    drop = true;
    target.Send("dropped");
    ASSERT_TRUE(target.WaitForSent());
    ASSERT_TRUE(loop.RunUntil([&] { return drops > 0; }));
    loop.RunUntil([] { return false; }, 100);
    drop = false;
    target.Send("z");
    ASSERT_TRUE(loop.RunUntil([&] { return got.size() >= 4; }));
    EXPECT_EQ(got, "abcz");
    thread->Terminate();
    EXPECT_TRUE(loop.RunUntil([&] { return ended; }));
}

TEST(TcpConsoleThread, AThreadStillConnectedWhenTheLoopEndsIsStoppedAndFreed)
{
    FakeTcpTarget target;
    auto loop = std::make_unique<ManualLoop>();
    MainLoop::SetCurrent(loop.get());
    auto* thread = new TTcpConsoleThread("127.0.0.1", std::to_string(target.Port()));
    bool connected = false;
    thread->OnConnected = [&](TObject*) { connected = true; };
    thread->Start();
    ASSERT_TRUE(loop->RunUntil([&] { return connected; }));
    target.SendPattern(100);
    loop.reset();
    // Freeing the thread closes its socket; the leak checker sees the rest.
    EXPECT_TRUE(target.WaitForClosed(1000));
}

TEST(TcpSocketStream, AZeroConnectTimeOutFailsAtOnceOnAPendingConnect)
{
    FakeTcpTarget silent(true);
    TTcpSocketStream stream;
    stream.SetHostPort(std::to_string(silent.Port()));
    stream.ConnectTimeOut = 0;
    const auto start = Clock::now();
    stream.SetConnected(true);
    EXPECT_FALSE(stream.Connected());
    EXPECT_TRUE(stream.Resolved());
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
    stream.SetHostAddress("localhost");
    EXPECT_FALSE(stream.Resolved());
}

}  // namespace
