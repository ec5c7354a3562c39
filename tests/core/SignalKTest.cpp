// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "common/Json.h"
#include "signalk/Access.h"
#include "signalk/Notifications.h"
#include "signalk/WebSocket.h"

using signalk::ReadAccessReply;
using State = signalk::TAccessReply::State;

TEST(SignalKAccess, TheServersAnswersAndNothingElse) {
    const auto pending =
        ReadAccessReply(R"({"state":"PENDING","requestId":"7","href":"/signalk/v1/requests/7"})");
    EXPECT_EQ(pending.state, State::Pending);
    EXPECT_EQ(pending.href, "/signalk/v1/requests/7");
    const auto approved = ReadAccessReply(
        R"({"state":"COMPLETED","statusCode":200,"accessRequest":{"permission":"APPROVED","token":"eyJh.eyJk.c2ln-_"}})");
    EXPECT_EQ(approved.state, State::Approved);
    EXPECT_EQ(approved.token, "eyJh.eyJk.c2ln-_");
    EXPECT_EQ(ReadAccessReply(R"({"state":"COMPLETED","accessRequest":{"permission":"DENIED"}})").state,
              State::Denied);
    // The next question never leaves the server, and no header is made of a strange token.
    for (const char* href : {"http://elsewhere/x", "//elsewhere/x", "/signalk/../admin", "/signalk/v1 x"})
        EXPECT_EQ(ReadAccessReply(std::string(R"({"state":"PENDING","href":")") + href + "\"}").state,
                  State::Failed)
            << href;
    EXPECT_EQ(
        ReadAccessReply(
            R"({"state":"COMPLETED","accessRequest":{"permission":"APPROVED","token":"a\r\nX-Evil: 1"}})")
            .state,
        State::Failed);
    EXPECT_EQ(ReadAccessReply("Access requests not available").state, State::Failed);
    EXPECT_EQ(
        ReadAccessReply(R"({"message":"A device with clientId 'x' has already requested access"})").message,
        "A device with clientId 'x' has already requested access");
    const std::string body =
        signalk::AccessRequestBody("0f8e2d1c-3b4a-4c5d-8e9f-a0b1c2d3e4f5", "ZEL2 \"NAVTEX\"");
    EXPECT_NE(body.find(R"("description": "ZEL2 \"NAVTEX\"")"), std::string::npos) << body;
    EXPECT_TRUE(signalk::ValidClientId("0f8e2d1c-3b4a-4c5d-8e9f-a0b1c2d3e4f5"));
    EXPECT_FALSE(signalk::ValidClientId("0f8e2d1c-3b4a-4c5d-8e9f-a0b1c2d3e4fZ"));
}

TEST(SignalKNotifications, OneDeltaWithEachStateMessageAndPosition) {
    EXPECT_EQ(signalk::NavtexPath(518, "ED04"), "notifications.navtex.518.ED04");
    for (const auto& [band, name] : std::vector<std::pair<int, std::string>>{
             {518, "E.04"}, {518, "ED0"}, {518, "ED04X"}, {600, "ED04"}, {490, "E\"04"}})
        EXPECT_EQ(signalk::NavtexPath(band, name), "") << name << " names no path of the server's";
    signalk::TNotification sar{"notifications.navtex.518.ED04", "emergency", "MAYDAY \"RELAY\"\r\nLIFERAFT",
                               48.6666667, -5.0};
    const signalk::TNotification storm{signalk::StormPath, "warn", "Avis de tempête", {}, {}};
    const std::string delta = signalk::Delta({sar, storm}, 1765000000);
    json::TValue tree;
    ASSERT_TRUE(json::Parse(delta, tree)) << delta;
    EXPECT_EQ(tree.Text("context"), "vessels.self");
    const json::TValue& update = tree.Find("updates")->items.at(0);
    EXPECT_EQ(update.Text("timestamp"), "2025-12-06T05:46:40Z");
    const json::TValue& first = update.Find("values")->items.at(0);
    EXPECT_EQ(first.Text("path"), "notifications.navtex.518.ED04");
    const json::TValue* value = first.Find("value");
    EXPECT_EQ(value->Text("state"), "emergency");
    EXPECT_EQ(value->Text("message"), "MAYDAY \"RELAY\"\nLIFERAFT");
    EXPECT_EQ(value->Find("method")->items.size(), 2u);
    double latitude = 0;
    EXPECT_TRUE(value->Find("position")->Number("latitude", latitude));
    EXPECT_NEAR(latitude, 48.666667, 1e-9);
    EXPECT_EQ(update.Find("values")->items.at(1).Find("value")->Find("position"), nullptr);
}

TEST(SignalKWebSocket, HandshakeAndFramesEitherWayAndWhatNoServerMaySend) {
    namespace ws = signalk::websocket;
    const std::string request =
        ws::UpgradeRequest("boat", 3000, "/signalk/v1/stream?subscribe=none", "a2V5", "t.k.n");
    EXPECT_EQ(request.rfind("GET /signalk/v1/stream?subscribe=none HTTP/1.1\r\nHost: boat:3000\r\n", 0), 0u);
    EXPECT_NE(request.find("\r\nAuthorization: Bearer t.k.n\r\n\r\n"), std::string::npos);
    EXPECT_EQ(ws::UpgradeRequest("b", 1, "/", "k", "").find("Authorization"), std::string::npos);

    const std::string head =
        "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nsec-websocket-accept:  "
        "s3pPLMBiTxaQ9kYGzzhZRbK+xOo= \r\n\r\n";
    EXPECT_FALSE(ws::ReadUpgradeReply(head.substr(0, head.size() - 1)).complete);
    const ws::TUpgradeReply reply = ws::ReadUpgradeReply(head + "\x81\x02hi");
    EXPECT_EQ(reply.status, 101);
    EXPECT_EQ(reply.accept, "s3pPLMBiTxaQ9kYGzzhZRbK+xOo=");
    EXPECT_EQ(reply.headLength, head.size());
    EXPECT_EQ(ws::ReadUpgradeReply("HTTP/1.1 401 Unauthorized\r\n\r\n").status, 401);
    EXPECT_EQ(ws::ReadUpgradeReply("SSH-2.0-OpenSSH\r\n\r\n").status, 0);
    EXPECT_TRUE(ws::ReadUpgradeReply(std::string(ws::MaxReplyHead, 'x')).complete)
        << "nothing more to wait for";

    // A client's frame is masked; a server's is read back in any piece sizes and lengths.
    const std::array<uint8_t, 4> mask{1, 2, 3, 4};
    const std::string masked = ws::ClientFrame(ws::TOpcode::Text, "abc", mask);
    EXPECT_EQ(masked,
              std::string("\x81\x83\x01\x02\x03\x04") + char('a' ^ 1) + char('b' ^ 2) + char('c' ^ 3));
    for (const size_t size : {size_t{0}, size_t{125}, size_t{126}, size_t{65535}, size_t{65536}}) {
        std::string frame = ws::ClientFrame(ws::TOpcode::Binary, std::string(size, 'z'), {0, 0, 0, 0});
        frame[1] = static_cast<char>(frame[1] & 0x7F);  // as a server sends it: unmasked
        frame.erase(frame.size() - size - 4, 4);
        std::string buffer = frame.substr(0, frame.size() - 1);
        ws::TFrame read;
        EXPECT_EQ(ws::NextFrame(buffer, read), ws::TRead::NeedMore) << size;
        buffer += frame.back();
        buffer += "\x89";  // the next frame's first byte stays
        ASSERT_EQ(ws::NextFrame(buffer, read), ws::TRead::Frame) << size;
        EXPECT_EQ(read.payload.size(), size);
        EXPECT_EQ(buffer, "\x89");
    }
    for (const std::string& bad :
         {std::string("\x81\x82....xx"), std::string("\xC1\x00", 2), std::string("\x83\x00", 2),
          std::string("\x09\x00", 2), std::string("\x89\x7E\x00\x80", 4),
          std::string("\x82\x7F\x00\x00\x00\x00\x00\x20\x00\x00", 10)}) {
        std::string buffer = bad;
        ws::TFrame read;
        EXPECT_EQ(ws::NextFrame(buffer, read), ws::TRead::Error) << testing::PrintToString(bad);
    }
}
