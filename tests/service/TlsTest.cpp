// HTTPS with peer verification: a certificate made now for 127.0.0.1 is
// trusted only when the request is given it as its certificate authority.

#include "tools/server/LoopbackServer.h"

#include "service/ServerRequest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

using namespace std::chrono_literals;

class TlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        mFolder =
            std::filesystem::temp_directory_path() / ("tarnwick-tls-" + std::to_string(getpid()));
        std::filesystem::create_directories(mFolder);
        const std::string command =
            "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1"
            " -addext subjectAltName=IP:127.0.0.1 -keyout '" +
            (mFolder / "key.pem").string() + "' -out '" + (mFolder / "cert.pem").string() +
            "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << "the openssl command-line tool is needed";
    }
    void TearDown() override { std::filesystem::remove_all(mFolder); }

    std::filesystem::path mFolder;
};

TEST_F(TlsTest, TheRequestSucceedsOnlyWithTheCertificateAsAuthority) {
    LoopbackServerOptions options;
    options.tlsCertificate = mFolder / "cert.pem";
    options.tlsKey = mFolder / "key.pem";
    LoopbackServer server(options);
    ASSERT_TRUE(server.start()) << server.error();
    const std::string url = server.baseUrl() + "Accounts/getTime";
    ASSERT_EQ(url.rfind("https://127.0.0.1:", 0), 0u);

    ServerRequest trusted(url);
    trusted.setCaBundle(options.tlsCertificate.string());
    trusted.setTimeout(5s);
    EXPECT_TRUE(trusted());
    EXPECT_EQ(trusted.getResponseString().rfind("<root t=\"", 0), 0u);

    ServerRequest untrusted(url);
    untrusted.setTimeout(5s);
    EXPECT_FALSE(untrusted());
    EXPECT_EQ(untrusted.httpStatus(), 0);
}

TEST_F(TlsTest, AMissingKeyIsReportedAtStart) {
    LoopbackServerOptions options;
    options.tlsCertificate = mFolder / "cert.pem";
    options.tlsKey = mFolder / "absent.pem";
    LoopbackServer server(options);
    EXPECT_FALSE(server.start());
    EXPECT_NE(server.error().find("absent.pem"), std::string::npos);
}
