// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Network.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

namespace platform {

std::string ResolveHostAddress(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (host.empty() || ::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return {};
    char text[INET6_ADDRSTRLEN] = {};
    const void* address = found->ai_family == AF_INET6
                              ? static_cast<const void*>(&reinterpret_cast<sockaddr_in6*>(found->ai_addr)->sin6_addr)
                              : static_cast<const void*>(&reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr);
    const bool ok = ::inet_ntop(found->ai_family, address, text, sizeof text) != nullptr;
    ::freeaddrinfo(found);
    return ok ? text : std::string();
}

}  // namespace platform
