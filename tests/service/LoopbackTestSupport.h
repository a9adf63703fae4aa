#pragma once

// A loopback server in memory on a free port, and a client whose bases point
// at it (the server base at its root, the others at "news/", "cfg/" and
// "extra/"), with a fixed clock, device id and auth key.

#include "tools/server/LoopbackServer.h"

#include "service/ServerRequest.h"
#include "service/ServiceReply.h"
#include "service/WebService.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

inline constexpr int64_t cTestClock = 1700000000;

class LoopbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mServer.start()) << mServer.error();
        mClient.setBaseUrls(mServer.baseUrl(), mServer.baseUrl() + "news/",
                            mServer.baseUrl() + "cfg/", mServer.baseUrl() + "extra/");
        mClient.setClock([] { return cTestClock; });
        mClient.setDeviceIdProvider([] { return std::string("device-01"); });
        mClient.setAuthKey("auth-key-01");
    }

    // Scripts the reply of an endpoint on the server base.
    void script(Endpoint endpoint, ScriptedReply reply) {
        mServer.script(mClient.endpoint(endpoint).mPath, std::move(reply));
    }

    LoopbackServer mServer;
    WebService mClient;
};
