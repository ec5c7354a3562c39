// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Network.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace platform {

std::string ResolveHostAddress(const std::string& host) {
    // Winsock must be started in every process that resolves; it counts its users.
    static const bool started = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started || host.empty()) return {};
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return {};
    char text[INET6_ADDRSTRLEN] = {};
    void* address = found->ai_family == AF_INET6 ? static_cast<void*>(&reinterpret_cast<sockaddr_in6*>(found->ai_addr)->sin6_addr)
                                                 : static_cast<void*>(&reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr);
    const bool ok = ::inet_ntop(found->ai_family, address, text, sizeof text) != nullptr;
    ::freeaddrinfo(found);
    return ok ? text : std::string();
}

}  // namespace platform
