// SPDX-License-Identifier: GPL-3.0-or-later
// What the boat's network sends as a position (NMEA 0183, gpsd, Signal K), a Signal K
// server's answers to an access request and its WebSocket's bytes: read without fault, a
// position only within the globe, a next question only to the server's own path, a token
// only of a token's characters, no frame beyond its bound or longer than what came.
#include <cmath>

#include "fuzz/FuzzSupport.h"
#include "position/Fixes.h"
#include "signalk/Access.h"
#include "signalk/WebSocket.h"

namespace {

void Check(const std::optional<position::TLatLon>& fix) {
    if (!fix) return;
    FUZZ_CHECK(std::fabs(fix->latitude) <= 90 && std::fabs(fix->longitude) <= 180);
    FUZZ_CHECK(!position::PositionText(*fix).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(position::FixFromNmea(text));
    Check(position::FixFromGpsd(text));
    Check(position::FixFromSignalK(text));
    const signalk::TAccessReply reply = signalk::ReadAccessReply(text);
    FUZZ_CHECK(reply.href.empty() ||
               (reply.href.rfind("/signalk/", 0) == 0 && reply.href.find("..") == std::string::npos));
    FUZZ_CHECK(reply.state != signalk::TAccessReply::State::Approved || signalk::ValidToken(reply.token));
    namespace ws = signalk::websocket;
    const ws::TUpgradeReply upgrade = ws::ReadUpgradeReply(text);
    FUZZ_CHECK(upgrade.headLength <= size && upgrade.status >= 0 && upgrade.status <= 999);
    std::string stream(text);
    ws::TFrame frame;
    for (size_t before = stream.size(); ws::NextFrame(stream, frame) == ws::TRead::Frame;
         before = stream.size()) {
        FUZZ_CHECK(stream.size() < before && frame.payload.size() <= ws::MaxFramePayload);
        FUZZ_CHECK(static_cast<uint8_t>(frame.opcode) < 8 || frame.payload.size() <= 125);
    }
    return 0;
}
