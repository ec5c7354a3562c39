// SPDX-License-Identifier: GPL-3.0-or-later
#include "signalk/WebSocket.h"

#include <cctype>

namespace signalk::websocket {

std::string UpgradeRequest(const std::string& host, int port, const std::string& target,
                           const std::string& key, const std::string& token) {
    std::string request = "GET " + target + " HTTP/1.1\r\nHost: " + host + ":" + std::to_string(port) +
                          "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: " + key +
                          "\r\nSec-WebSocket-Version: 13\r\n";
    if (!token.empty()) request += "Authorization: Bearer " + token + "\r\n";
    return request + "\r\n";
}

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

TUpgradeReply ReadUpgradeReply(std::string_view bytes) {
    TUpgradeReply reply;
    const size_t end = bytes.find("\r\n\r\n");
    if (end == std::string_view::npos || end + 4 > MaxReplyHead) {
        reply.complete = bytes.size() >= MaxReplyHead;  // never more to wait for
        return reply;
    }
    reply.complete = true;
    reply.headLength = end + 4;
    std::string_view head = bytes.substr(0, end);
    size_t lineEnd = head.find("\r\n");
    const std::string_view status = head.substr(0, lineEnd);
    if (status.size() < 12 || status.substr(0, 7) != "HTTP/1." || status[8] != ' ') return reply;
    int code = 0;
    for (size_t i = 9; i < 12; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(status[i]))) return reply;
        code = code * 10 + (status[i] - '0');
    }
    reply.status = code;
    while (lineEnd != std::string_view::npos) {
        head.remove_prefix(lineEnd + 2);
        lineEnd = head.find("\r\n");
        const std::string_view line = head.substr(0, lineEnd);
        const size_t colon = line.find(':');
        if (colon != std::string_view::npos && Lower(Trim(line.substr(0, colon))) == "sec-websocket-accept")
            reply.accept = std::string(Trim(line.substr(colon + 1)));
    }
    return reply;
}

std::string ClientFrame(TOpcode opcode, std::string_view payload, const std::array<uint8_t, 4>& mask) {
    std::string frame;
    frame += static_cast<char>(0x80 | static_cast<uint8_t>(opcode));
    const uint64_t size = payload.size();
    if (size < 126) {
        frame += static_cast<char>(0x80 | size);
    } else if (size <= 0xFFFF) {
        frame += static_cast<char>(0x80 | 126);
        frame += static_cast<char>(size >> 8);
        frame += static_cast<char>(size & 0xFF);
    } else {
        frame += static_cast<char>(0x80 | 127);
        for (int shift = 56; shift >= 0; shift -= 8) frame += static_cast<char>((size >> shift) & 0xFF);
    }
    for (const uint8_t m : mask) frame += static_cast<char>(m);
    for (size_t i = 0; i < payload.size(); ++i) frame += static_cast<char>(payload[i] ^ mask[i % 4]);
    return frame;
}

TRead NextFrame(std::string& buffer, TFrame& frame) {
    if (buffer.size() < 2) return TRead::NeedMore;
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(buffer[i]); };
    const uint8_t opcode = byte(0) & 0x0F;
    const bool fin = (byte(0) & 0x80) != 0;
    if ((byte(0) & 0x70) != 0 || (byte(1) & 0x80) != 0) return TRead::Error;  // reserved bits, masked
    if ((opcode > 2 && opcode < 8) || opcode > 10) return TRead::Error;
    uint64_t size = byte(1) & 0x7F;
    size_t head = 2;
    if (size == 126 || size == 127) {
        const size_t bytes = size == 126 ? 2 : 8;
        if (buffer.size() < 2 + bytes) return TRead::NeedMore;
        size = 0;
        for (size_t i = 0; i < bytes; ++i) size = (size << 8) | byte(2 + i);
        head += bytes;
    }
    if (opcode >= 8 && (size > 125 || !fin)) return TRead::Error;
    if (size > MaxFramePayload) return TRead::Error;
    if (buffer.size() - head < size) return TRead::NeedMore;
    frame.opcode = static_cast<TOpcode>(opcode);
    frame.fin = fin;
    frame.payload = buffer.substr(head, size);
    buffer.erase(0, head + size);
    return TRead::Frame;
}

}  // namespace signalk::websocket
