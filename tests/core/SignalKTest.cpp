// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "signalk/Access.h"

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
