#pragma once

// The games list and chat pages' tests: the bridge's test set-up with the
// shipped civs and English texts loaded, the nickname "Ada", games listed
// by hand, and the page's statements run in JavaScriptCore against stubs
// that keep each call with its arguments.

#include "BridgeTestSupport.h"
#include "PageScript.h"

#include "shell/Tray.h"

#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/StartupOptions.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"
#include "platform/engine/CCFileUtils.h"
#include "service/ListNotifications.h"

#include <string>
#include <vector>

// One seat of a listed game.
struct Seat {
    std::string name;
    std::string civ = "humans";
    int32_t status = cGameActive;
};

class GamesListTest : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        setBaseFolder(TARNWICK_SOURCE_DIR);
        cocos2d::CCFileUtils::setResourcePath(TARNWICK_SOURCE_DIR "/data");
        setupLanguageAndPaths("english");
        loadLocalizableStrings();
        Database::clear();
        ASSERT_TRUE(Database::init());
        ASSERT_TRUE(SettingsManager::instance().init());
        setTrayBackend(&mTray);
        resetTray();
        mClient.setNickname("Ada");
    }
    void TearDown() override {
        setGamePurgeHook({});
        setListNotificationHook({});
        setTrayBackend(nullptr);
        SettingsManager::instance().clear();
        Database::clear();
        setBaseFolder({});
        BridgeTest::TearDown();
    }

    // Lists a game of those seats (Ada is local where seated) whose turn
    // player is turn.
    GameRecord& list(int64_t id, int64_t lastTurn, const std::vector<Seat>& seats,
                     const std::string& turn = "Ada") {
        auto record = std::make_unique<GameRecord>();
        record->mGameID = id;
        record->mLastTurnTime = lastTurn;
        record->mCreationTime = lastTurn;
        record->mCurrentTurnPlayer = turn;
        for (const Seat& seat : seats) {
            auto player = std::make_unique<PlayerRecord>();
            player->mName = seat.name;
            player->mCivName = seat.civ;
            player->mStatus = seat.status;
            player->mIsLocal = seat.name == "Ada";
            player->mAvatar = "UI/Avatars/Council01-hd.png";
            record->mPlayers.push_back(std::move(player));
        }
        GameRecord& kept = *record;
        mClient.insertGame(std::move(record));
        return kept;
    }

    // The statements sent since the last mark.
    std::vector<std::string> sent() const {
        return {statements().begin() + std::ptrdiff_t(mMark), statements().end()};
    }
    void mark() { mMark = statements().size(); }

    // Runs the statements sent since the last mark in JavaScriptCore over
    // fresh stubs; false at the first that throws or does not parse.
    bool runStatements() {
        if (!mScript.run(cPageStubs))
            return false;
        for (const std::string& statement : sent())
            if (!mScript.run(statement))
                return false;
        return true;
    }
    // The calls the stubs kept, one a line, each its name and its
    // arguments as JSON.
    std::string pageCalls() { return mScript.text("calls.join('\\n')"); }

    static constexpr const char* cPageStubs = R"JS(
var calls = [];
function stub(name) {
  return function () { calls.push(name + JSON.stringify(Array.prototype.slice.call(arguments))); };
}
var addCreateEntry = stub('addCreateEntry'), overrideStyleByLayoutType = stub('overrideStyleByLayoutType'),
    selectGameIfNotActive = stub('selectGameIfNotActive'), addGameEntry = stub('addGameEntry'),
    showCurrentPuzzleEntry = stub('showCurrentPuzzleEntry'), purgeGameFromAll = stub('purgeGameFromAll'),
    hideBoardElements = stub('hideBoardElements'), prepChat = stub('prepChat'), showChat = stub('showChat');
var $ = function (selector) {
  return { html: stub(selector + '.html'), show: stub(selector + '.show'),
           empty: stub(selector + '.empty'), scrollTop: stub(selector + '.scrollTop') };
};
)JS";

    LoggingTrayBackend mTray;
    PageScript mScript;
    size_t mMark = 0;
};
