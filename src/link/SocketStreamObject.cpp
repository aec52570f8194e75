#include "link/SocketStreamObject.h"

#include <poll.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include "platform/Sockets.h"

namespace {

/// A port given as digits must lie in 1..65535; other text names a service.
int PortNumber(const AnsiString& text)
{
    if (text.find_first_not_of("0123456789") != AnsiString::npos) return TcpServicePort(text);
    if (text.size() > 5) return 0;
    const int port = std::stoi(text);
    return port <= 65535 ? port : 0;
}

std::int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

TTcpSocketStream::~TTcpSocketStream()
{
    Close();
}

void TTcpSocketStream::SetHostAddress(const AnsiString& host)
{
    fServerAddress = host;
    fAddressResolved = false;
}

void TTcpSocketStream::SetHostPort(const AnsiString& port)
{
    fServerPort = port;
    fAddressResolved = false;
}

void TTcpSocketStream::SetConnected(bool value)
{
    if (!value) {
        Close();
        return;
    }
    if (fSocket >= 0) return;
    fAbortFlag = false;
    fWake.Clear();
    fConnectionIsActive = false;
    if (!fAddressResolved) {
        if (!Resolve()) return;
        fAddressResolved = true;
    }
    fConnectionIsActive = ConnectSocket();
}

bool TTcpSocketStream::Resolve()
{
    if (fServerAddress.empty() || fServerPort.empty()) return false;
    fPort = PortNumber(fServerPort);
    if (fPort == 0) return false;
    auto address = ResolveIPv4(fServerAddress);
    if (!address) return false;
    fAddress = *address;
    return true;
}

bool TTcpSocketStream::ConnectSocket()
{
    if (fSocket >= 0) {
        CloseSocket(fSocket);
        fSocket = -1;
    }
    fSocket = OpenTcpSocket();
    if (fSocket < 0) return false;
    bool connected = false;
    switch (StartConnect(fSocket, fAddress, fPort)) {
    case ConnectStart::Connected: connected = true; break;
    case ConnectStart::InProgress:
        // A refused connect shows as writable too, and one reset right after it was made as an
        // error: only the socket's error tells.
        connected = ConnectTimeOut >= 1 && WaitFor(POLLOUT, ConnectTimeOut) != Ready::No && ConnectError(fSocket) == 0;
        break;
    case ConnectStart::Failed: break;
    }
    if (!connected) {
        CloseSocket(fSocket);
        fSocket = -1;
    }
    return connected;
}

void TTcpSocketStream::Close()
{
    fConnectionIsActive = false;
    fAbortFlag = true;
    if (fSocket >= 0) {
        CloseSocket(fSocket);
        fSocket = -1;
    }
}

void TTcpSocketStream::Abort()
{
    fAbortFlag = true;
    fWake.Signal();
}

TTcpSocketStream::Ready TTcpSocketStream::WaitFor(short events, int timeOutSeconds)
{
    const std::int64_t deadline = NowMs() + (timeOutSeconds > 0 ? timeOutSeconds * 1000 : 0);
    for (;;) {
        if (fAbortFlag || fSocket < 0) return Ready::No;
        const int left = int(std::max<std::int64_t>(deadline - NowMs(), 0));
        switch (CurrentSocketReadiness().Wait(fSocket, events, &fWake, left)) {
        case WaitResult::Ready: return Ready::Yes;
        case WaitResult::Failed: return Ready::Error;
        case WaitResult::TimedOut: return Ready::No;
        case WaitResult::Woken:
            // An Interrupt is meant for WaitForEvent; an Abort is seen at the top.
            if (!fAbortFlag) fWake.Clear();
            if (left == 0) return Ready::No;
            break;
        }
    }
}

int TTcpSocketStream::Read(void* Buffer, int Count)
{
    if (fSocket < 0 || fAbortFlag) return 0;
    auto* bytes = static_cast<std::uint8_t*>(Buffer);
    int total = 0;
    bool error = false;
    while (!error && Count - total >= 1) {
        const Ready ready = WaitFor(POLLIN, RxTimeOut);
        if (ready == Ready::Error) {
            // A closed or reset peer may still have bytes for us; recv tells which.
        } else if (ready == Ready::No) {
            break;
        }
        const ssize_t n = SocketReceive(fSocket, bytes + total, std::size_t(Count - total));
        if (n >= 1) {
            total += int(n);
            if (!FullBlockReads) break;
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR) && ready != Ready::Error) {
            continue;
        } else {
            error = true;
        }
    }
    if (error && fSocket >= 0 && DisconnectOnError) Close();
    return total;
}

int TTcpSocketStream::Write(const void* Buffer, int Count)
{
    if (fSocket < 0 || fAbortFlag || Count < 1) return 0;
    const auto* bytes = static_cast<const std::uint8_t*>(Buffer);
    int total = 0;
    bool error = false;
    while (total < Count) {
        const Ready ready = WaitFor(POLLOUT, TxTimeOut);
        if (ready == Ready::No) break;
        const ssize_t n = SocketSend(fSocket, bytes + total, std::size_t(Count - total));
        if (n >= 0) {
            total += int(n);
        } else if (errno != EAGAIN && errno != EINTR && errno != ENOBUFS) {
            error = true;
            total = 0;
            break;
        }
    }
    if (error && DisconnectOnError) Close();
    return total;
}

void TTcpSocketStream::WaitForEvent(int timeoutMs, bool readable, bool writable)
{
    if (fAbortFlag || fSocket < 0) return;
    const short events = short((readable ? POLLIN : 0) | (writable ? POLLOUT : 0));
    // Waiting for neither leaves the socket out: a reset one would end every wait at once.
    if (CurrentSocketReadiness().Wait(events ? fSocket : -1, events, &fWake, timeoutMs) == WaitResult::Woken &&
        !fAbortFlag)
        fWake.Clear();
}
