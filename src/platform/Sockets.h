#pragma once
// IPv4 TCP sockets as the link uses them: non-blocking, never raising SIGPIPE.
#include <sys/types.h>
#include <cstdint>
#include <optional>
#include <string>
#include "platform/WakeUp.h"

/// Address of a dotted address (used without a look-up) or of a host name, in network order.
std::optional<std::uint32_t> ResolveIPv4(const std::string& host);
/// Port of a TCP service name from the system's service database; 0 when unknown.
int TcpServicePort(const std::string& name);

/// A new non-blocking TCP socket; -1 on failure.
int OpenTcpSocket();
enum class ConnectStart { Connected, InProgress, Failed };
ConnectStart StartConnect(int socket, std::uint32_t address, int port);
/// Once a connect in progress shows writable: 0 when it succeeded (also when the peer has reset
/// it since), else its error.
int ConnectError(int socket);
/// Send and receive without blocking; -1 with errno as the system sets it.
ssize_t SocketSend(int socket, const void* data, std::size_t count);
ssize_t SocketReceive(int socket, void* data, std::size_t count);
/// Shuts both directions down and closes.
void CloseSocket(int socket);

/// The readiness wait of the link's sockets, behind an interface so that tests can script what
/// a wait reports. Called from link threads.
class SocketReadiness {
public:
    virtual ~SocketReadiness() = default;
    /// As WaitForFd: socket -1 waits for the wake-up alone.
    virtual WaitResult Wait(int socket, short events, const WakeUp* wake, int timeoutMs) = 0;
};
/// The installed wait; the system's poll while none is.
SocketReadiness& CurrentSocketReadiness();
/// Installs a wait (nullptr: the system's again); it must outlive every wait that uses it.
void SetSocketReadiness(SocketReadiness* readiness);
