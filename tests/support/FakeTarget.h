#pragma once
// The target's side of a link for tests: a peer on a pseudo-terminal or on a loopback TCP server.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>
#include "platform/WakeUp.h"

/// A peer that serves one byte stream on its own thread: echoes, records, answers lines, or stops reading.
class FakeTarget {
public:
    enum class Mode {
        Record,  ///< keeps what arrives
        Echo,    ///< keeps it and sends it back
        Prompt,  ///< keeps it and answers each CR-ended line with "  OK", or "?" when it holds UnknownWord
        Deaf,    ///< stops reading, so the link's buffers fill up
    };

    /// Speaks a protocol in place of the mode: sees every byte that arrives and queues its answers.
    /// Called on the serving thread with the target's lock held, so it must not call the target.
    class Responder {
    public:
        virtual ~Responder() = default;
        virtual void Arrived(std::string_view data, std::string& outgoing) = 0;
    };

    virtual ~FakeTarget();
    FakeTarget(const FakeTarget&) = delete;
    FakeTarget& operator=(const FakeTarget&) = delete;

    void SetMode(Mode mode);
    /// Lines holding this word are answered with "?".
    void SetUnknownWord(std::string word);
    /// nullptr goes back to the mode.
    void SetResponder(Responder* responder);
    /// Queues bytes to send; they go out in order as fast as the link takes them.
    void Send(std::string_view bytes);
    /// Queues count bytes counting 0, 1, ..., 255, 0, ...
    void SendPattern(std::size_t count);
    /// Every byte received so far.
    std::string Received() const;
    /// Waits, at most timeoutMs of real time, until at least count bytes have arrived.
    bool WaitForReceived(std::size_t count, int timeoutMs = 5000) const;
    /// Waits until every queued byte has been written.
    bool WaitForSent(int timeoutMs = 5000) const;
    /// Drops the line: the pty master or the TCP connection is closed.
    void HangUp();

protected:
    FakeTarget() = default;
    /// Starts serving; `listenFd` >= 0 makes the peer accept connections on it.
    void Start(int streamFd, int listenFd);
    void Stop();
    /// Called from the serving thread when a connection was accepted or has ended.
    virtual void StreamChanged(bool open) {}

private:
    void Serve();
    void Arrived(const char* data, std::size_t n);
    void CloseStream();

    mutable std::mutex fLock;
    mutable std::condition_variable fChanged;
    Mode fMode = Mode::Record;
    std::string fUnknownWord = "???";
    Responder* fResponder = nullptr;
    std::string fReceived;
    std::string fLine;
    std::string fOutgoing;
    /// Bytes of fOutgoing already written.
    std::size_t fSentPos = 0;
    bool fHangUp = false;
    bool fStop = false;
    int fStreamFd = -1;
    int fListenFd = -1;
    WakeUp fWake;
    std::thread fThread;
};

/// A pseudo-terminal pair, raw on both sides; the link opens SlavePath(), the target holds the master.
class FakePtyTarget : public FakeTarget {
public:
    FakePtyTarget();
    ~FakePtyTarget() override;
    const std::string& SlavePath() const { return fSlavePath; }
    /// A descriptor of the slave side held by the target, to read the settings the link made.
    int SlaveFd() const { return fSlaveFd; }

private:
    std::string fSlavePath;
    int fSlaveFd = -1;
};

/// A TCP server on 127.0.0.1 with a port that the system picked; serves one connection at a time.
class FakeTcpTarget : public FakeTarget {
public:
    /// `neverAccept`: the server's queue is kept full, so a connect stays in progress.
    explicit FakeTcpTarget(bool neverAccept = false);
    ~FakeTcpTarget() override;
    int Port() const { return fPort; }
    /// Waits until `count` connections have been accepted in all, and until the last has ended.
    bool WaitForConnections(int count, int timeoutMs = 5000) const;
    bool WaitForClosed(int timeoutMs = 5000) const;
    /// A loopback port on which nothing listens, so a connect is refused.
    static int RefusedPort();

protected:
    void StreamChanged(bool open) override;

private:
    int fPort = 0;
    int fListenFd = -1;
    std::vector<int> fFillers;
    mutable std::mutex fLock;
    mutable std::condition_variable fChanged;
    int fAccepted = 0;
    bool fOpen = false;
};
