// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The client's side of a WebSocket (RFC 6455) as bytes: the opening handshake and the
// frames. The socket itself is the caller's.
namespace signalk::websocket {

// The GET that asks to upgrade; key is the base64 of 16 random bytes; a token goes as a
// bearer authorization.
std::string UpgradeRequest(const std::string& host, int port, const std::string& target,
                           const std::string& key, const std::string& token);

// The server's answer to it, once its head has come whole.
struct TUpgradeReply {
    bool complete = false;  // false: more bytes are needed
    int status = 0;         // 101 when switched; 0 for a head that is no HTTP answer
    std::string accept;     // Sec-WebSocket-Accept
    size_t headLength = 0;  // the bytes after it are frames
};
inline constexpr size_t MaxReplyHead = 16 * 1024;  // a longer head is refused (status 0)
TUpgradeReply ReadUpgradeReply(std::string_view bytes);

enum class TOpcode : uint8_t { Continuation = 0, Text = 1, Binary = 2, Close = 8, Ping = 9, Pong = 10 };

// A client's frame: whole (FIN), masked with mask as the RFC asks of every client.
std::string ClientFrame(TOpcode opcode, std::string_view payload, const std::array<uint8_t, 4>& mask);

struct TFrame {
    TOpcode opcode = TOpcode::Text;
    bool fin = true;
    std::string payload;
};
enum class TRead { Frame, NeedMore, Error };
inline constexpr uint64_t MaxFramePayload = 1 << 20;
// Takes the first frame a server sent off buffer. Error for what no server may send: a
// masked frame, reserved bits or opcodes, a control frame over 125 bytes or in pieces, or
// a payload over MaxFramePayload.
TRead NextFrame(std::string& buffer, TFrame& frame);

}  // namespace signalk::websocket
