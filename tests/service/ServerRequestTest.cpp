// Requests against the loopback server: the signed form's order and bytes,
// the headers, GET without fields, and the result of every kind of reply.

#include "LoopbackTestSupport.h"

#include "service/RequestHash.h"

#include <algorithm>

using namespace std::chrono_literals;

class ServerRequestTest : public LoopbackTest {};

TEST_F(ServerRequestTest, SignedPartsArriveInOrderAndWhole) {
    script(Endpoint::SubmitTurn, {200, "<Success/>"});
    const std::string withNul("a\0b", 3);
    const std::string nonAscii = "\xC3\xA9t\xC3\xA9 \xFF\x80";

    const RequestStamp stamp = mClient.stamp(Endpoint::SubmitTurn);
    ServerRequest request(stamp.mUrl);
    stamp.addIdentity(request);
    request.addFormInt64("gameid", -9000000000LL);
    request.addFormString("taunt", withNul);
    stamp.addSignature(request);
    request.addFormString("state", nonAscii);
    request.addFormStatusNone();
    const bool delivered = request();
    ServiceReply reply(request, delivered);
    EXPECT_EQ(reply.result("Success"), cReplySuccess);

    ASSERT_TRUE(mServer.waitForRequests(1, 5s));
    const ReceivedRequest received = mServer.requests().at(0);
    EXPECT_EQ(received.method, "POST");
    EXPECT_EQ(received.path, "/Game/submitTurn");
    std::vector<std::string> names;
    for (const FormPart& part : received.parts)
        names.push_back(part.name);
    EXPECT_EQ(names, (std::vector<std::string>{"device", "authKey", "gameid", "taunt", "ver", "t",
                                               "h", "state", "status"}));
    std::string hash;
    computeRequestHash("device-01", "auth-key-01", static_cast<int32_t>(cTestClock), hash);
    const std::vector<std::string> values = {"device-01", "auth-key-01", "-9000000000",
                                             withNul,     "2",           "1700000000",
                                             hash,        nonAscii,      "none"};
    for (size_t i = 0; i < values.size() && i < received.parts.size(); ++i)
        EXPECT_EQ(received.parts[i].value, values[i]) << received.parts[i].name;

    ASSERT_NE(received.header("Accept-Language"), nullptr);
    EXPECT_EQ(*received.header("Accept-Language"), "en");
    EXPECT_EQ(received.header("Expect"), nullptr);
}

TEST_F(ServerRequestTest, ARequestWithoutFieldsIsAGet) {
    ServerRequest request(mClient.endpointUrl(Endpoint::GetTime));
    EXPECT_FALSE(request.hasForm());
    EXPECT_TRUE(request());
    EXPECT_EQ(request.httpStatus(), 200);
    ASSERT_TRUE(mServer.waitForRequests(1, 5s));
    EXPECT_EQ(mServer.requests().at(0).method, "GET");
    EXPECT_TRUE(mServer.requests().at(0).parts.empty());
    EXPECT_EQ(request.getResponseString().rfind("<root t=\"", 0), 0u);
}

TEST_F(ServerRequestTest, AWrongSignatureIsAnsweredWithAnError) {
    RequestStamp stamp = mClient.stamp(Endpoint::Logout);
    ServerRequest request(stamp.mUrl);
    stamp.addIdentity(request);
    stamp.mTime += 1; // signs another time than it sends
    request.addFormInt("ver", stamp.mVersion);
    request.addFormInt("t", stamp.mTime - 1);
    std::string hash;
    computeRequestHash(stamp.mDeviceId, stamp.mAuthKey, stamp.mTime, hash);
    request.addFormString("h", hash);
    const bool delivered = request();
    ServiceReply reply(request, delivered);
    EXPECT_EQ(reply.result("Success"), cReplyError);
    EXPECT_TRUE(reply.rootTextIs("InvalidHash"));
}

namespace {

// A request of the server clock's kind: "root" with a required "t"; 99 when
// no reply came.
int readClock(ServerRequest& request, int64_t& outTime) {
    const bool delivered = request();
    ServiceReply reply(request, delivered);
    const int code = reply.result("root", {.noReply = cReplyNoReply});
    if (code != cReplySuccess)
        return code;
    const char* t = reply.attribute("t");
    if (t == nullptr)
        return cReplyOther;
    outTime = std::strtoll(t, nullptr, 10);
    return cReplySuccess;
}

struct ReplyCase {
    const char* name;
    ScriptedReply reply;
    int expected;
};

const ReplyCase cReplyCases[] = {
    {"200", {200, "<root t=\"5\"/>"}, cReplySuccess},
    {"405", {405, "<root t=\"5\"/>"}, cReplySuccess},
    {"byte-order mark", {200, "\xEF\xBB\xBF<?xml version=\"1.0\"?><root t=\"5\"/>"}, cReplySuccess},
    {"500", {500, "<root t=\"5\"/>"}, cReplyNoReply},
    {"slower than the time-out", {200, "<root t=\"5\"/>", 3000ms}, cReplyNoReply},
    {"dropped connection", {200, "", 0ms, true}, cReplyNoReply},
    {"Error", {200, "<Error>NotLoggedIn</Error>"}, cReplyError},
    {"empty body", {200, ""}, cReplyOther},
    {"malformed XML", {200, "<root t=\"5\""}, cReplyOther},
    {"text only", {200, "root"}, cReplyOther},
    {"unknown root", {200, "<Games t=\"5\"/>"}, cReplyOther},
    {"missing attribute", {200, "<root time=\"5\"/>"}, cReplyOther},
    {"deep nesting", {200, std::string(100000, '<')}, cReplyOther},
};

} // namespace

TEST_F(ServerRequestTest, EveryKindOfReplyGivesItsCode) {
    for (const ReplyCase& c : cReplyCases) {
        SCOPED_TRACE(c.name);
        script(Endpoint::GetTime, c.reply);
        ServerRequest request(mClient.endpointUrl(Endpoint::GetTime));
        request.setTimeout(1s);
        int64_t time = 0;
        EXPECT_EQ(readClock(request, time), c.expected);
        EXPECT_EQ(time, c.expected == cReplySuccess ? 5 : 0);
    }
}

TEST_F(ServerRequestTest, ARefusedConnectionIsNoReply) {
    const std::string url = mClient.endpointUrl(Endpoint::GetTime);
    mServer.stop();
    ServerRequest request(url);
    request.setTimeout(1s);
    int64_t time = 0;
    EXPECT_EQ(readClock(request, time), cReplyNoReply);
    EXPECT_EQ(request.httpStatus(), 0);
}

TEST_F(ServerRequestTest, TheHandOverKeepsTheForm) {
    script(Endpoint::UpdateAvatar, {200, "<Success/>"});
    const RequestStamp stamp = mClient.stamp(Endpoint::UpdateAvatar);
    ServerRequest first(stamp.mUrl);
    stamp.addIdentity(first);
    first.addFormString("avatar", "PACK|3");
    stamp.addSignature(first);
    ServerRequest moved(std::move(first));
    EXPECT_FALSE(first.hasForm());
    EXPECT_TRUE(moved());
    EXPECT_EQ(moved.getResponseString(), "<Success/>");
    ASSERT_TRUE(mServer.waitForRequests(1, 5s));
    EXPECT_EQ(*mServer.requests().at(0).field("avatar"), "PACK|3");
}
