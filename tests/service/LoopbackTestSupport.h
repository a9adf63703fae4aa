#pragma once

// A loopback server in memory on a free port, and a client whose bases point
// at it (the server base at its root, the others at "news/", "cfg/" and
// "extra/"), with a fixed clock, device id and auth key, and preferences in a
// store of its own.

#include "tools/server/LoopbackServer.h"

#include "service/BSecureStorage.h"
#include "service/ServerRequest.h"
#include "service/ServiceReply.h"
#include "service/WebService.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

inline constexpr int64_t cTestClock = 1700000000;

// A listed record of alice against bob, both active, alice the local player;
// alice to move when aliceToMove.
inline std::unique_ptr<GameRecord> aliceAgainstBob(int64_t id, bool aliceToMove) {
    auto record = std::make_unique<GameRecord>();
    record->mGameID = id;
    record->mCurrentTurnPlayer = aliceToMove ? "alice" : "bob";
    for (const char* name : {"alice", "bob"}) {
        auto player = std::make_unique<PlayerRecord>();
        player->mName = name;
        player->mStatus = cGameActive;
        player->mIsLocal = player->mName == "alice";
        record->mPlayers.push_back(std::move(player));
    }
    return record;
}

struct LoopbackClient {
    // Starts the server and points the client at it; the store is read by
    // setBaseUrls, so it is filled before.
    void startLoopback() {
        ASSERT_TRUE(mServer.start()) << mServer.error();
        mClient.setSecureStorage(&mStore);
        mClient.setClock([] { return cTestClock; });
        mClient.setDeviceIdProvider([] { return std::string("device-01"); });
        mClient.setBaseUrls(mServer.baseUrl(), mServer.baseUrl() + "news/",
                            mServer.baseUrl() + "cfg/", mServer.baseUrl() + "extra/");
        mClient.setAuthKey("auth-key-01");
    }

    // Scripts the reply of an endpoint at its address on the loopback server.
    void script(Endpoint endpoint, ScriptedReply reply) {
        const std::string url = mClient.endpointUrl(endpoint);
        mServer.script(url.substr(mServer.baseUrl().size()), std::move(reply));
    }

    // The ids of the client's listed games, in list order.
    std::vector<int64_t> listedIds() {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        std::vector<int64_t> ids;
        for (const auto& record : mClient.mGames)
            ids.push_back(record->mGameID);
        return ids;
    }

    BSecureStorage mStore;
    LoopbackServer mServer;
    WebService mClient;
};

class LoopbackTest : public ::testing::Test, protected LoopbackClient {
protected:
    void SetUp() override { startLoopback(); }
};
