// SPDX-License-Identifier: GPL-3.0-or-later
#include "signalk/Access.h"

#include "common/Json.h"

namespace signalk {

std::string AccessRequestBody(const std::string& clientId, const std::string& description) {
    return "{\"clientId\": " + json::Quote(clientId) + ", \"description\": " + json::Quote(description) +
           ", \"permissions\": \"readwrite\"}";
}

TAccessReply ReadAccessReply(std::string_view text) {
    TAccessReply reply;
    json::TValue v;
    if (!json::Parse(text, v) || v.kind != json::TValue::Kind::Object) return reply;
    reply.message = v.Text("message");
    const std::string state = v.Text("state");
    const std::string href = v.Text("href");
    // Only the server's own path: the next question goes nowhere else.
    if (href.rfind("/signalk/", 0) == 0 && href.find("..") == std::string::npos &&
        href.find_first_of("?#@\\ \t\r\n") == std::string::npos)
        reply.href = href;
    if (state == "PENDING") {
        reply.state = reply.href.empty() ? TAccessReply::State::Failed : TAccessReply::State::Pending;
        return reply;
    }
    if (state != "COMPLETED") return reply;
    const json::TValue* access = v.Find("accessRequest");
    const std::string permission = access ? access->Text("permission") : std::string();
    if (permission == "APPROVED" && ValidToken(access->Text("token"))) {
        reply.state = TAccessReply::State::Approved;
        reply.token = access->Text("token");
    } else if (permission == "DENIED") {
        reply.state = TAccessReply::State::Denied;
    }
    return reply;
}

bool ValidToken(const std::string& token) {
    if (token.empty() || token.size() > 4096) return false;
    for (unsigned char c : token) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '-' || c == '_' || c == '.';
        if (!ok) return false;
    }
    return true;
}

bool ValidClientId(const std::string& id) {
    if (id.size() != 36) return false;
    for (size_t i = 0; i < id.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(id[i]);
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

}  // namespace signalk
