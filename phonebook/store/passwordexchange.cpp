#include "phonebook/store/passwordexchange.h"

#include "phonebook/store/socketready.h"

#include <QtEndian>
#include <netdb.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr quint32 sslRequest = 80877103;
constexpr quint32 protocol3 = 196608;
constexpr quint32 authenticationOk = 0;
constexpr quint32 cleartextPassword = 3;
constexpr quint32 md5Password = 5;
constexpr quint32 sasl = 10;

class Socket {
public:
    explicit Socket(std::chrono::steady_clock::time_point deadline) : deadline_(deadline) {}
    ~Socket() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;

    bool connectTo(const QString &host, int port) {
        addrinfo hints{};
        hints.ai_socktype = SOCK_STREAM;
        addrinfo *found = nullptr;
        if (::getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints,
                          &found) != 0)
            return false;
        for (addrinfo *address = found; address && fd_ < 0; address = address->ai_next) {
            const int fd = ::socket(address->ai_family,
                                    address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (fd < 0)
                continue;
            if (::connect(fd, address->ai_addr, address->ai_addrlen) == 0 ||
                (errno == EINPROGRESS && wait(fd, POLLOUT) && connected(fd)))
                fd_ = fd;
            else
                ::close(fd);
        }
        ::freeaddrinfo(found);
        return fd_ >= 0;
    }

    bool send(const QByteArray &bytes) {
        for (qsizetype sent = 0; sent < bytes.size();) {
            const ssize_t n =
                ::send(fd_, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
            if (n > 0)
                sent += n;
            else if (n < 0 && errno == EAGAIN && wait(fd_, POLLOUT))
                continue;
            else
                return false;
        }
        return true;
    }

    bool receive(char *into, size_t size) {
        for (size_t got = 0; got < size;) {
            const ssize_t n = ::recv(fd_, into + got, size - got, 0);
            if (n > 0)
                got += size_t(n);
            else if (n < 0 && errno == EAGAIN && wait(fd_, POLLIN))
                continue;
            else
                return false;
        }
        return true;
    }

private:
    bool wait(int fd, short events) const { return socketReadyBefore(fd, events, deadline_); }
    static bool connected(int fd) {
        int error = 0;
        socklen_t size = sizeof error;
        return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }

    std::chrono::steady_clock::time_point deadline_;
    int fd_ = -1;
};

QByteArray number(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QString loginName() {
    const passwd *entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}
} // namespace

PasswordExchange passwordExchange(const PasswordServer &server,
                                  std::chrono::steady_clock::time_point deadline) {
    Socket socket(deadline);
    if (!socket.connectTo(server.host, server.port))
        return PasswordExchange::Unknown;
    if (server.tryTls) {
        char answer = 0;
        if (!socket.send(number(8) + number(sslRequest)) || !socket.receive(&answer, 1))
            return PasswordExchange::Unknown;
        if (answer == 'S')
            return PasswordExchange::Safe; // the connection will go over TLS
    }
    const QString user = server.user.isEmpty() ? loginName() : server.user;
    QByteArray startup = number(protocol3);
    startup += "user";
    startup += '\0';
    startup += user.toUtf8() + '\0';
    startup += "database";
    startup += '\0';
    startup += (server.database.isEmpty() ? user : server.database).toUtf8() + '\0';
    startup += '\0';
    char header[9];
    if (!socket.send(number(quint32(startup.size() + 4)) + startup) || !socket.receive(header, 9))
        return PasswordExchange::Unknown;
    if (header[0] != 'R')
        return PasswordExchange::Safe; // a refusal, which the connection will tell
    const quint32 method = qFromBigEndian<quint32>(header + 5);
    if (method == cleartextPassword || method == md5Password)
        return PasswordExchange::InTheClear;
    return method == authenticationOk || method == sasl ? PasswordExchange::Safe
                                                        : PasswordExchange::Unknown;
}
