// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Network.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace platform {
namespace {

// Winsock must be started in every process that uses it; it counts its users.
bool Started() {
    static const bool started = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

}  // namespace

std::string ResolveHostAddress(const std::string& host) {
    if (!Started() || host.empty()) return {};
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return {};
    char text[INET6_ADDRSTRLEN] = {};
    void* address = found->ai_family == AF_INET6
                        ? static_cast<void*>(&reinterpret_cast<sockaddr_in6*>(found->ai_addr)->sin6_addr)
                        : static_cast<void*>(&reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr);
    const bool ok = ::inet_ntop(found->ai_family, address, text, sizeof text) != nullptr;
    ::freeaddrinfo(found);
    return ok ? text : std::string();
}

bool TcpListener::Listen(bool allInterfaces, int wanted) {
    Close();
    if (!Started()) return false;
    SOCKET s = INVALID_SOCKET;
    const BOOL yes = TRUE;
    const DWORD no = 0;
    if (allInterfaces) {
        s = ::socket(AF_INET6, SOCK_STREAM, IPPROTO_TCP);
        if (s != INVALID_SOCKET) {
            ::setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&yes), sizeof yes);
            ::setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&no), sizeof no);
            sockaddr_in6 address{};
            address.sin6_family = AF_INET6;
            address.sin6_addr = in6addr_any;
            address.sin6_port = htons(static_cast<u_short>(wanted));
            if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
                const int error = ::WSAGetLastError();
                ::closesocket(s);
                s = INVALID_SOCKET;
                if (error == WSAEADDRINUSE || error == WSAEACCES) return false;
            }
        }
    }
    if (s == INVALID_SOCKET) {
        s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET) return false;
        ::setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&yes), sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(allInterfaces ? INADDR_ANY : INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<u_short>(wanted));
        if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::closesocket(s);
            return false;
        }
    }
    u_long nonBlocking = 1;
    if (::ioctlsocket(s, FIONBIO, &nonBlocking) != 0 || ::listen(s, 64) != 0) {
        ::closesocket(s);
        return false;
    }
    sockaddr_storage bound{};
    int length = sizeof bound;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&bound), &length);
    port = bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port)
                                       : ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    handle = static_cast<long long>(s);
    return true;
}

void TcpListener::Close() {
    if (handle != -1) ::closesocket(static_cast<SOCKET>(handle));
    handle = -1;
    port = 0;
}

TcpListener::Accept TcpListener::AcceptOne(long long& client) {
    if (handle == -1) return Accept::Failed;
    while (true) {
        const SOCKET s = ::accept(static_cast<SOCKET>(handle), nullptr, nullptr);
        if (s != INVALID_SOCKET) {
            u_long nonBlocking = 1;
            ::ioctlsocket(s, FIONBIO, &nonBlocking);
            client = static_cast<long long>(s);
            return Accept::Client;
        }
        switch (::WSAGetLastError()) {
            case WSAEINTR:
            case WSAECONNRESET:
                continue;
            case WSAEWOULDBLOCK:
                return Accept::NoneWaiting;
            case WSAEMFILE:
            case WSAENOBUFS:
                return Accept::OutOfDescriptors;
            default:
                return Accept::Failed;
        }
    }
}

// Windows has no per-process descriptor limit to hold one back from: nothing to refuse with.
bool TcpListener::RefuseOne() {
    return false;
}

void TcpListener::CloseClient(long long client) {
    if (client != -1) ::closesocket(static_cast<SOCKET>(client));
}

}  // namespace platform
