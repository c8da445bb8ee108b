#include "serverconnect.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <QElapsedTimer>
#include <QStringList>

bool ParseServerAddress(const QString &text, quint32 &address)
{
    // Only the full dotted form is taken, as inet_pton reads it: exactly four decimal parts
    // of 0 to 255 without leading zeros. inet_addr would also read "1.2.3" or "" as some
    // address. Parsed here rather than by the socket library, so that no library needs to be
    // started for it and every platform judges alike.
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    quint32 hostOrder = 0;
    for (const QString &part : parts) {
        if (part.isEmpty() || part.size() > 3 || (part.size() > 1 && part.front() == u'0'))
            return false;
        quint32 value = 0;
        for (QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
            value = value * 10 + static_cast<quint32>(c.unicode() - '0');
        }
        if (value > 255)
            return false;
        hostOrder = (hostOrder << 8) | value;
    }
    address = htonl(hostOrder);
    return true;
}

bool ParseServerPort(const QString &text, quint16 &port)
{
    if (text.isEmpty() || text.size() > 5)
        return false;
    quint32 value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        value = value * 10 + static_cast<quint32>(c.unicode() - '0');
    }
    if (value > 65535)
        return false;
    port = static_cast<quint16>(value);
    return true;
}

#ifdef _WIN32

TConnectResult TryServerConnection(quint32 address, quint16 port, int waitMs)
{
    WSADATA data;
    const int started = WSAStartup(MAKEWORD(2, 2), &data);
    if (started != 0)
        return {TConnectOutcome::LibraryFailed, started};

    SOCKET sock = socket(AF_INET, SOCK_STREAM, 0);
    if (sock == INVALID_SOCKET) {
        const int code = WSAGetLastError();
        WSACleanup();
        return {TConnectOutcome::SocketFailed, code};
    }

    u_long nonBlocking = 1;
    ioctlsocket(sock, FIONBIO, &nonBlocking);

    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    target.sin_addr.s_addr = address;

    TConnectResult result{TConnectOutcome::Error, 0};
    if (connect(sock, reinterpret_cast<sockaddr *>(&target), sizeof(target)) == 0) {
        result.Outcome = TConnectOutcome::Connected;
    } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(sock, &writable);
        FD_SET(sock, &failed);
        timeval wait{waitMs / 1000, (waitMs % 1000) * 1000};
        const int ready = select(0, nullptr, &writable, &failed, &wait);
        if (ready == 0) {
            result.Outcome = TConnectOutcome::Timeout;
        } else if (ready > 0 && FD_ISSET(sock, &writable) && !FD_ISSET(sock, &failed)) {
            int pending = 0;
            int size = sizeof(pending);
            getsockopt(sock, SOL_SOCKET, SO_ERROR, reinterpret_cast<char *>(&pending), &size);
            if (pending == 0)
                result.Outcome = TConnectOutcome::Connected;
        }
    }

    u_long blocking = 0;
    ioctlsocket(sock, FIONBIO, &blocking);
    closesocket(sock);
    WSACleanup();
    return result;
}

#else

namespace
{

// Waits for the pending connection, restarting after a signal with what is left of the wait.
int WaitWritable(int fd, int waitMs, short &events)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        pollfd entry{fd, POLLOUT, 0};
        const int left = qMax(0, waitMs - static_cast<int>(clock.elapsed()));
        const int ready = poll(&entry, 1, left);
        if (ready < 0 && errno == EINTR)
            continue;
        events = entry.revents;
        return ready;
    }
}

} // namespace

TConnectResult TryServerConnection(quint32 address, quint16 port, int waitMs)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return {TConnectOutcome::SocketFailed, errno};

    const int flags = fcntl(fd, F_GETFL, 0);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);

    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    target.sin_addr.s_addr = address;

    TConnectResult result{TConnectOutcome::Error, 0};
    if (connect(fd, reinterpret_cast<sockaddr *>(&target), sizeof(target)) == 0) {
        result.Outcome = TConnectOutcome::Connected;
    } else if (errno == EINPROGRESS || errno == EINTR) {
        short events = 0;
        const int ready = WaitWritable(fd, waitMs, events);
        if (ready == 0) {
            result.Outcome = TConnectOutcome::Timeout;
        } else if (ready > 0) {
            // A refused connection also shows as writable here: only the socket's pending
            // error tells an established connection from a failed one.
            int pending = 0;
            socklen_t size = sizeof(pending);
            const bool known = getsockopt(fd, SOL_SOCKET, SO_ERROR, &pending, &size) == 0;
            if (known && pending == 0 && (events & POLLOUT) && !(events & (POLLERR | POLLHUP)))
                result.Outcome = TConnectOutcome::Connected;
        }
    }

    fcntl(fd, F_SETFL, flags);
    close(fd);
    return result;
}

#endif
