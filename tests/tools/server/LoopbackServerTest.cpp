// The server in-process: malformed forms, signature checks, the clock from
// the database.

#include "ServerTestSupport.h"

#include "tools/server/LoopbackServer.h"

#include "service/RequestHash.h"
#include "service/ServerRequest.h"

#include <curl/curl.h>

using namespace std::chrono_literals;

class LoopbackServerTest : public ServerFolderTest {};

TEST_F(LoopbackServerTest, AMalformedFormGets400AndTheServerKeepsRunning) {
    LoopbackServer server;
    ASSERT_TRUE(server.start()) << server.error();
    const std::string url = server.baseUrl() + "Accounts/getTime";
    // A multipart body whose boundary never appears, and a plain body.
    for (const char* type : {"Content-Type: multipart/form-data; boundary=XYZ",
                             "Content-Type: application/octet-stream"}) {
        CURL* curl = curl_easy_init();
        curl_slist* headers = curl_slist_append(nullptr, type);
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, "--ABC\r\nbroken");
        curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
        curl_easy_setopt(
            curl, CURLOPT_WRITEFUNCTION, +[](char*, size_t s, size_t n, void*) { return s * n; });
        curl_easy_perform(curl);
        long status = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        EXPECT_EQ(status, 400) << type;
        curl_slist_free_all(headers);
        curl_easy_cleanup(curl);
    }
    ServerRequest request(url);
    EXPECT_TRUE(request());
}

TEST_F(LoopbackServerTest, TheLoginIsSignedWithUserNameAndPassword) {
    LoopbackServer server;
    ASSERT_TRUE(server.start()) << server.error();
    const auto login = [&](const char* signedPassword) {
        std::string hash;
        computeRequestHash("alice", signedPassword, 77, hash);
        ServerRequest request(server.baseUrl() + "Accounts/login");
        request.addFormString("username", "alice");
        request.addFormString("password", "secret");
        request.addFormString("device", "device-01");
        request.addFormInt("ver", 1);
        request.addFormInt("t", 77);
        request.addFormString("h", hash);
        request();
        return request.getResponseString();
    };
    // The right signature passes the check to the accounts (which know no
    // alice).
    EXPECT_EQ(login("secret"), "<LoginError>InvalidPassword</LoginError>");
    EXPECT_EQ(login("other"), "<Error>InvalidHash</Error>");
}

TEST_F(LoopbackServerTest, TheClockFollowsTheStoredOffset) {
    LoopbackServerOptions options;
    options.seed = writeSeed("seed.xml", clockSeed(-100000));
    LoopbackServer server(options);
    ASSERT_TRUE(server.start()) << server.error();
    ServerRequest request(server.baseUrl() + "Accounts/getTime");
    ASSERT_TRUE(request());
    const std::string reply = request.getResponseString();
    ASSERT_EQ(reply.rfind("<root t=\"", 0), 0u) << reply;
    const int64_t t = std::stoll(reply.substr(9));
    const int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    EXPECT_NEAR(static_cast<double>(t), static_cast<double>(now - 100000), 5.0);
}

TEST_F(LoopbackServerTest, ABusyPortIsReported) {
    LoopbackServer first;
    ASSERT_TRUE(first.start()) << first.error();
    LoopbackServerOptions options;
    options.port = first.port();
    LoopbackServer second(options);
    EXPECT_FALSE(second.start());
    EXPECT_NE(second.error().find(std::to_string(first.port())), std::string::npos);
}
