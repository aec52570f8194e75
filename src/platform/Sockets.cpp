#include "platform/Sockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include "platform/CurrentService.h"

std::optional<std::uint32_t> ResolveIPv4(const std::string& host)
{
    in_addr address{};
    if (inet_aton(host.c_str(), &address)) return address.s_addr;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return std::nullopt;
    const std::uint32_t result = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return result;
}

int TcpServicePort(const std::string& name)
{
    servent entry{};
    servent* found = nullptr;
    char buffer[1024];
    if (getservbyname_r(name.c_str(), "tcp", &entry, buffer, sizeof buffer, &found) != 0 || !found)
        return 0;
    return ntohs(std::uint16_t(found->s_port));
}

int OpenTcpSocket()
{
    return socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
}

ConnectStart StartConnect(int socket, std::uint32_t address, int port)
{
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(std::uint16_t(port));
    target.sin_addr.s_addr = address;
    if (connect(socket, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0)
        return ConnectStart::Connected;
    return errno == EINPROGRESS || errno == EINTR ? ConnectStart::InProgress : ConnectStart::Failed;
}

int ConnectError(int socket)
{
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return errno;
    // A reset or a closed peer means the connection was made: what the peer sent before is still
    // there to read, and the next read sees the end.
    return error == ECONNRESET || error == EPIPE ? 0 : error;
}

ssize_t SocketSend(int socket, const void* data, std::size_t count)
{
    return send(socket, data, count, MSG_NOSIGNAL | MSG_DONTWAIT);
}

ssize_t SocketReceive(int socket, void* data, std::size_t count)
{
    return recv(socket, data, count, MSG_DONTWAIT);
}

void CloseSocket(int socket)
{
    shutdown(socket, SHUT_RDWR);
    close(socket);
}

namespace {
class SystemSocketReadiness : public SocketReadiness {
public:
    WaitResult Wait(int socket, short events, const WakeUp* wake, int timeoutMs) override
    {
        return WaitForFd(socket, events, wake, timeoutMs);
    }
};
}  // namespace

SocketReadiness& CurrentSocketReadiness()
{
    static SystemSocketReadiness system;
    SocketReadiness* installed = CurrentService<SocketReadiness>::GetOrNull();
    return installed ? *installed : system;
}

void SetSocketReadiness(SocketReadiness* readiness)
{
    CurrentService<SocketReadiness>::Set(readiness);
}
