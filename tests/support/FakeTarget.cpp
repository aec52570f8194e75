#include "support/FakeTarget.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void MakeRaw(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0) throw std::runtime_error("pty: tcgetattr failed");
    cfmakeraw(&t);
    if (tcsetattr(fd, TCSANOW, &t) != 0) throw std::runtime_error("pty: tcsetattr failed");
}

sockaddr_in Loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(std::uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int BoundPort(int fd)
{
    sockaddr_in address{};
    socklen_t size = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}

}  // namespace

FakeTarget::~FakeTarget()
{
    Stop();
}

void FakeTarget::Start(int streamFd, int listenFd)
{
    fStreamFd = streamFd;
    fListenFd = listenFd;
    fThread = std::thread([this] { Serve(); });
}

void FakeTarget::Stop()
{
    if (!fThread.joinable()) return;
    {
        std::lock_guard<std::mutex> l(fLock);
        fStop = true;
    }
    fWake.Signal();
    fThread.join();
    CloseStream();
}

void FakeTarget::SetMode(Mode mode)
{
    {
        std::lock_guard<std::mutex> l(fLock);
        fMode = mode;
    }
    fWake.Signal();
}

void FakeTarget::SetUnknownWord(std::string word)
{
    std::lock_guard<std::mutex> l(fLock);
    fUnknownWord = std::move(word);
}

void FakeTarget::SetResponder(Responder* responder)
{
    std::lock_guard<std::mutex> l(fLock);
    fResponder = responder;
}

void FakeTarget::Send(std::string_view bytes)
{
    {
        std::lock_guard<std::mutex> l(fLock);
        fOutgoing.append(bytes);
    }
    fWake.Signal();
}

void FakeTarget::SendPattern(std::size_t count)
{
    std::string pattern(count, '\0');
    for (std::size_t i = 0; i < count; ++i) pattern[i] = char(i & 0xFF);
    Send(pattern);
}

std::string FakeTarget::Received() const
{
    std::lock_guard<std::mutex> l(fLock);
    return fReceived;
}

bool FakeTarget::WaitForReceived(std::size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> l(fLock);
    return fChanged.wait_for(l, std::chrono::milliseconds(timeoutMs), [&] { return fReceived.size() >= count; });
}

bool FakeTarget::WaitForSent(int timeoutMs) const
{
    std::unique_lock<std::mutex> l(fLock);
    return fChanged.wait_for(l, std::chrono::milliseconds(timeoutMs), [&] { return fOutgoing.size() == fSentPos; });
}

void FakeTarget::HangUp()
{
    {
        std::lock_guard<std::mutex> l(fLock);
        fHangUp = true;
    }
    fWake.Signal();
}

void FakeTarget::CloseStream()
{
    if (fStreamFd < 0) return;
    close(fStreamFd);
    fStreamFd = -1;
    StreamChanged(false);
}

void FakeTarget::Arrived(const char* data, std::size_t n)
{
    std::lock_guard<std::mutex> l(fLock);
    fReceived.append(data, n);
    if (fResponder) {
        fResponder->Arrived(std::string_view(data, n), fOutgoing);
    } else if (fMode == Mode::Echo) {
        fOutgoing.append(data, n);
    } else if (fMode == Mode::Prompt) {
        for (std::size_t i = 0; i < n; ++i) {
            if (data[i] != '\r') {
                fLine += data[i];
                continue;
            }
            const bool unknown = fLine.find(fUnknownWord) != std::string::npos;
            fOutgoing += fLine + (unknown ? " ?\r\n" : "  OK\r\n");
            fLine.clear();
        }
    }
    fChanged.notify_all();
}

void FakeTarget::Serve()
{
    std::vector<char> buffer(65536);
    for (;;) {
        pollfd fds[2] = {{fWake.Fd(), POLLIN, 0}, {-1, 0, 0}};
        {
            std::lock_guard<std::mutex> l(fLock);
            if (fStop) return;
            if (fHangUp) {
                fHangUp = false;
                CloseStream();
                fOutgoing.clear();
                fSentPos = 0;
                fChanged.notify_all();
            }
            if (fStreamFd >= 0) {
                fds[1].fd = fStreamFd;
                fds[1].events = short((fMode != Mode::Deaf ? POLLIN : 0) | (fSentPos < fOutgoing.size() ? POLLOUT : 0));
            } else if (fListenFd >= 0) {
                fds[1].fd = fListenFd;
                fds[1].events = POLLIN;
            }
        }
        if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
        if (fds[0].revents & POLLIN) fWake.Clear();
        if (fds[1].fd < 0 || fds[1].revents == 0) continue;
        if (fds[1].fd == fListenFd) {
            const int client = accept4(fListenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (client >= 0) {
                fStreamFd = client;
                StreamChanged(true);
            }
            continue;
        }
        if (fds[1].revents & POLLOUT) {
            std::lock_guard<std::mutex> l(fLock);
            // A peer that closed must not end the test program through SIGPIPE.
            const char* data = fOutgoing.data() + fSentPos;
            const std::size_t count = fOutgoing.size() - fSentPos;
            ssize_t n = send(fStreamFd, data, count, MSG_NOSIGNAL);
            if (n < 0 && errno == ENOTSOCK) n = write(fStreamFd, data, count);
            if (n > 0) fSentPos += std::size_t(n);
            if (fSentPos == fOutgoing.size()) {
                fOutgoing.clear();
                fSentPos = 0;
                fChanged.notify_all();
            }
        }
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            const ssize_t n = read(fStreamFd, buffer.data(), buffer.size());
            if (n > 0) {
                Arrived(buffer.data(), std::size_t(n));
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                std::lock_guard<std::mutex> l(fLock);
                CloseStream();
                fChanged.notify_all();
            }
        }
    }
}

FakePtyTarget::FakePtyTarget()
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        throw std::runtime_error("pty: no pseudo-terminal");
    char name[128];
    if (ptsname_r(master, name, sizeof name) != 0) throw std::runtime_error("pty: no slave name");
    fSlavePath = name;
    fSlaveFd = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fSlaveFd < 0) throw std::runtime_error("pty: slave does not open");
    // Raw before any byte moves: a fresh tty turns CR into LF and eats ^C, XON and XOFF.
    MakeRaw(fSlaveFd);
    MakeRaw(master);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    Start(master, -1);
}

FakePtyTarget::~FakePtyTarget()
{
    Stop();
    close(fSlaveFd);
}

FakeTcpTarget::FakeTcpTarget(bool neverAccept)
{
    fListenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    setsockopt(fListenFd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    // A small receive window, so that a deaf target soon stops the link's sending.
    const int window = 8192;
    setsockopt(fListenFd, SOL_SOCKET, SO_RCVBUF, &window, sizeof window);
    sockaddr_in address = Loopback(0);
    if (bind(fListenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fListenFd, neverAccept ? 0 : 4) != 0)
        throw std::runtime_error("tcp: no loopback server");
    fPort = BoundPort(fListenFd);
    if (!neverAccept) {
        Start(-1, fListenFd);
        return;
    }
    // Fill the accept queue: the system then drops further SYNs, and a connect stays in progress.
    for (int i = 0; i < 4; ++i) {
        const int filler = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_in target = Loopback(fPort);
        connect(filler, reinterpret_cast<sockaddr*>(&target), sizeof target);
        fFillers.push_back(filler);
        pollfd p{filler, POLLOUT, 0};
        if (poll(&p, 1, 200) == 0) break;
    }
}

FakeTcpTarget::~FakeTcpTarget()
{
    Stop();
    for (int filler : fFillers) close(filler);
    close(fListenFd);
}

void FakeTcpTarget::StreamChanged(bool open)
{
    std::lock_guard<std::mutex> l(fLock);
    if (open) ++fAccepted;
    fOpen = open;
    fChanged.notify_all();
}

bool FakeTcpTarget::WaitForConnections(int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> l(fLock);
    return fChanged.wait_for(l, std::chrono::milliseconds(timeoutMs), [&] { return fAccepted >= count; });
}

bool FakeTcpTarget::WaitForClosed(int timeoutMs) const
{
    std::unique_lock<std::mutex> l(fLock);
    return fChanged.wait_for(l, std::chrono::milliseconds(timeoutMs), [&] { return fAccepted > 0 && !fOpen; });
}

int FakeTcpTarget::RefusedPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    const int port = BoundPort(fd);
    close(fd);
    return port;
}
