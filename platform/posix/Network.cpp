// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Network.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Files.h"
#include "platform/posix/Reserve.h"

namespace platform {

std::string ResolveHostAddress(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (host.empty() || ::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return {};
    char text[INET6_ADDRSTRLEN] = {};
    const void* address =
        found->ai_family == AF_INET6
            ? static_cast<const void*>(&reinterpret_cast<sockaddr_in6*>(found->ai_addr)->sin6_addr)
            : static_cast<const void*>(&reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr);
    const bool ok = ::inet_ntop(found->ai_family, address, text, sizeof text) != nullptr;
    ::freeaddrinfo(found);
    return ok ? text : std::string();
}

bool TcpListener::Listen(bool allInterfaces, int wanted) {
    Close();
    int fd = -1;
    const int yes = 1, no = 0;
    if (allInterfaces) {
        fd = ::socket(AF_INET6, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd >= 0) {
            ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
            ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &no, sizeof no);
            sockaddr_in6 address{};
            address.sin6_family = AF_INET6;
            address.sin6_addr = in6addr_any;
            address.sin6_port = htons(static_cast<uint16_t>(wanted));
            if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
                const int error = errno;
                ::close(fd);
                fd = -1;
                if (error == EADDRINUSE) return false;
            }
        }
    }
    if (fd < 0) {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(allInterfaces ? INADDR_ANY : INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(wanted));
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            return false;
        }
    }
    if (::listen(fd, 64) != 0) {
        ::close(fd);
        return false;
    }
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
    port = bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port)
                                       : ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    handle = fd;
    return true;
}

void TcpListener::Close() {
    if (handle != -1) ::close(static_cast<int>(handle));
    handle = -1;
    port = 0;
}

TcpListener::Accept TcpListener::AcceptOne(long long& client) {
    if (handle == -1) return Accept::Failed;
    while (true) {
        const int fd = ::accept4(static_cast<int>(handle), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) {
            client = fd;
            return Accept::Client;
        }
        switch (errno) {
            case EINTR:
            case ECONNABORTED:
            case EPROTO:
                continue;
            case EAGAIN:
                return Accept::NoneWaiting;
            case EMFILE:
            case ENFILE:
            case ENOBUFS:
            case ENOMEM:
                return Accept::OutOfDescriptors;
            default:
                return Accept::Failed;
        }
    }
}

bool TcpListener::RefuseOne() {
    if (handle == -1) return false;
    posix::ReleaseReserve();
    const int fd = ::accept4(static_cast<int>(handle), nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) ::close(fd);
    KeepDescriptorInReserve();
    return fd >= 0;
}

void TcpListener::CloseClient(long long client) {
    if (client >= 0) ::close(static_cast<int>(client));
}

}  // namespace platform
