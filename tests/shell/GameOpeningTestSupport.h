#pragma once

// The game data loaded as the program loads it, the application started on
// a small view, alice logged in to a client of the loopback server, and
// games listed with first states built by the rules.

#include "BridgeTestSupport.h"

#include "shell/AppDelegate.h"
#include "shell/GameDataLoad.h"
#include "shell/GameOpening.h"
#include "shell/GamesPageHooks.h"

#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/StartupOptions.h"
#include "content/settings/SettingsManager.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCFileUtils.h"
#include "rules/Game.h"
#include "rules/GamesList.h"

// A seat of a listed game.
struct Seat {
    std::string name;
    std::string civ;
    int32_t substatus = cSubstatusNone;
};

// The game data loaded as the program loads it, the application started on
// a small view, alice logged in to the client.
class GameOpeningTest : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        setBaseFolder(TARNWICK_SOURCE_DIR);
        cocos2d::CCFileUtils::setResourcePath(std::string(TARNWICK_SOURCE_DIR) + "/data/");
        setupLanguageAndPaths("english");
        loadLocalizableStrings();
        gAppRunning = true;
        gGameInitFailed = false;
        ASSERT_TRUE(appDelegate().runStart(nullptr, 64, 48));
        prepLaunch();
        ASSERT_FALSE(gGameInitFailed);
        // The program's own client took the games list: the test's takes it
        // back.
        const std::string base = mServer.baseUrl();
        mClient.setBaseUrls(base, base, base, base);
        mClient.setNickname("alice");
        mClient.mLoggedIn = true;
        mSeen = statements().size();
    }
    void TearDown() override {
        cocos2d::CCDirector::sharedDirector()->purgeDirector();
        releaseOpenedGame();
        appDelegate().destroyView();
        setGamesList(nullptr);
        setBaseFolder({});
        resetGamesPageHooks();
        BridgeTest::TearDown();
    }

    static int32_t civId(const std::string& name) {
        int32_t id = -1;
        SettingsManager::instance().civIDForName(name, id);
        return id;
    }
    // A first state of orcs against humans.
    static std::vector<uint8_t> firstState(int32_t seed) {
        // Setting a game up reads the games list, which wants the game lock.
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        Game* game = new Game();
        std::vector<uint8_t> blob;
        if (game->init(seed) && game->setUpFirstState(0, civId("orcs")) &&
            game->setUpFirstState(1, civId("humans")))
            blob = game->saveToBuffer();
        game->release();
        return blob;
    }

    // Lists a game of the players (alice first and bob with civs unless
    // given) with that state.
    GameRecord* listGame(int64_t id, const std::vector<uint8_t>& state,
                         std::vector<Seat> players = {{"alice", "orcs"}, {"bob", "humans"}}) {
        auto record = std::make_unique<GameRecord>();
        record->mGameID = id;
        record->mCurrentTurnPlayer = players.front().name;
        record->mTurnCount = 1;
        for (const Seat& seat : players) {
            auto player = std::make_unique<PlayerRecord>();
            player->mName = seat.name;
            player->mCivName = seat.civ;
            player->mStatus = cGameActive;
            player->mSubstatus = seat.substatus;
            player->mIsLocal = seat.name == "alice";
            record->mPlayers.push_back(std::move(player));
        }
        record->setState(state.data(), int32_t(state.size()));
        GameRecord* listed = record.get();
        mClient.insertGame(std::move(record));
        return listed;
    }
    // The next number of the generator saved in the state.
    static uint32_t nextDraw(const std::vector<uint8_t>& state) {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        Game* game = new Game();
        game->mCurrentPlayer = 0;
        const bool loaded = game->loadFromBuffer(state.data(), int32_t(state.size()), -1, false);
        const uint32_t draw = loaded ? game->mRng.randInt() : 0;
        game->release();
        return draw;
    }
    std::vector<uint8_t> stateOf(int64_t id) {
        return mClient.withGame(id, [](const GameRecord* record) {
            if (record == nullptr || record->mStateData == nullptr)
                return std::vector<uint8_t>();
            return std::vector<uint8_t>(record->mStateData.get(),
                                        record->mStateData.get() + record->mStateSize);
        });
    }
    // What the page was told since the last call.
    std::vector<std::string> newStatements() {
        std::vector<std::string> out(statements().begin() + ptrdiff_t(mSeen), statements().end());
        mSeen = statements().size();
        return out;
    }
    // gotoGame as the update calls it; what it printed.
    std::string open(int64_t id) {
        testing::internal::CaptureStdout();
        gotoGame(mClient, mHandler.get(), id, false);
        return testing::internal::GetCapturedStdout();
    }

    size_t mSeen = 0;
};
