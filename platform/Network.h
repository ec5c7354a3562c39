// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace platform {

// The first address the system's resolver gives for host, as text ("192.0.2.7", "fe80::1"),
// or empty when it has none. Blocks for as long as the resolver takes (a DNS server that
// never answers: many seconds), so never call it on the window's thread.
std::string ResolveHostAddress(const std::string& host);

// A listening TCP socket of our own, so that a failed accept is seen and answered (Qt's
// server tries again at once, for ever, when the process has no descriptor left).
class TcpListener {
public:
    enum class Accept { Client, NoneWaiting, OutOfDescriptors, Failed };

    TcpListener() = default;
    ~TcpListener() { Close(); }
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    // Non-blocking, on 127.0.0.1 or on every interface (IPv6 and IPv4); port 0 takes a free
    // one. False when the port is taken or cannot be had.
    bool Listen(bool allInterfaces, int port);
    void Close();
    bool IsListening() const { return handle != -1; }
    long long Handle() const { return handle; }
    int Port() const { return port; }
    // One waiting connection: its descriptor in client (non-blocking), to be handed on.
    Accept AcceptOne(long long& client);
    // With no descriptor left, the oldest waiting connection is taken with the one held in
    // reserve (see KeepDescriptorInReserve) and closed at once: its client hears "no" rather
    // than waiting. False when there was none to refuse.
    bool RefuseOne();
    static void CloseClient(long long client);

private:
    long long handle = -1;
    int port = 0;
};

}  // namespace platform
