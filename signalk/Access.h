// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// A Signal K server with its security on lets a device in through an access request: the
// device asks once, someone approves it in the server's administration, and the device
// keeps the token it is then given.
namespace signalk {

// The request's body: who asks, in the words the server's administrator will read.
std::string AccessRequestBody(const std::string& clientId, const std::string& description);

struct TAccessReply {
    enum class State { Pending, Approved, Denied, Failed };
    State state = State::Failed;
    std::string href;     // where to ask again while pending ("/signalk/v1/requests/…")
    std::string token;    // once approved
    std::string message;  // the server's words when it refuses
};

// The server's answer to the request and to each question after it.
TAccessReply ReadAccessReply(std::string_view json);

// A token as servers give them (a JWT: letters, digits, '-', '_', '.'): nothing else is kept
// in the settings or put in a request's header.
bool ValidToken(const std::string& token);
// A client identifier as the program makes them (a UUID).
bool ValidClientId(const std::string& id);

}  // namespace signalk
