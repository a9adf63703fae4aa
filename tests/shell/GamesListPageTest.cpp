// The games list page's statements: the rebuild's order of sections and
// entries, each entry's arguments as the page receives them, the list
// notifications, what follows a rebuild, the puzzle mark, the purge from a
// worker and the build version text.

#include "GamesListTestSupport.h"

#include "shell/GamesListPage.h"
#include "shell/TimeTexts.h"

#include <limits>
#include <regex>
#include <thread>

namespace {

// The ids of the games whose entries were sent, in order, with "select N"
// for a selection.
std::vector<std::string> entryOrder(const std::vector<std::string>& statements) {
    const std::regex entry(R"(^addGameEntry\('(-?\d+)')");
    const std::regex select(R"(^selectGameIfNotActive\('(-?\d+)'\);$)");
    std::vector<std::string> out;
    std::smatch match;
    for (const std::string& statement : statements) {
        if (std::regex_search(statement, match, entry))
            out.push_back(match[1]);
        else if (std::regex_search(statement, match, select))
            out.push_back("select " + match[1].str());
    }
    return out;
}

} // namespace

TEST_F(GamesListTest, AnEmptyListSendsTheCreateEntryFourTitlesAndTheStyleCall) {
    mClient.setNickname("O'Brien <b>");
    rebuildGamesList(*mHandler);
    const std::string title = R"($('#YourTurnText').html('O\'Brien &lt;b>\'s Turn'))";
    EXPECT_EQ(statements(), (std::vector<std::string>{"addCreateEntry();", title, title, title,
                                                      title, "overrideStyleByLayoutType();"}));
    EXPECT_TRUE(mHandler->mGamesListBuilt);
    ASSERT_TRUE(runStatements());
    EXPECT_EQ(mScript.text("calls[1]"), R"(#YourTurnText.html["O'Brien &lt;b>'s Turn"])");
}

TEST_F(GamesListTest, SectionsComeInOrderEachByLastTurnWithTheCurrentGameSelectedOnlyInMyTurn) {
    const Seat ada{"Ada"}, foe{"Foe", "orcs"};
    list(1, 300, {ada, foe});
    list(2, 100, {ada, foe});
    list(3, 200, {foe, ada});
    list(4, 50, {ada, foe}, "Foe");
    list(5, 10, {{"Ada", "humans", cGameInactive}, {"Ann", "orcs"}});
    list(6, 20, {{"Bo"}, foe});
    const struct {
        int64_t current;
        std::vector<std::string> order;
    } cases[] = {
        {3, {"2", "select 3", "3", "1", "4", "5", "6"}},
        {4, {"2", "3", "1", "4", "5", "6"}},
        {0, {"2", "3", "1", "4", "5", "6"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        mark();
        mHandler->mCurrentGameID = c.current;
        rebuildGamesList(*mHandler);
        EXPECT_EQ(entryOrder(sent()), c.order);
    }
}

TEST_F(GamesListTest, AnEntryCarriesTheThirteenArgumentsOfItsGame) {
    const struct {
        const char* localCiv;
        const char* opponentCiv;
        const char* emblems;
    } cases[] = {
        {"humans", "orcs", R"("Civ/Humans/Emblem.png","Civ/Orcs/PlayerCardEmblem.png")"},
        {"Random", "orcs", R"("UI/Random-Emblem-hd.png","UI/Random-Emblem-hd.png")"},
        {"humans", "elves", R"("Civ/Humans/Emblem.png","UI/Random-Emblem-hd.png")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.localCiv);
        mark();
        GameRecord game;
        game.mGameID = 77;
        game.mCreationTime = std::numeric_limits<int64_t>::max(); // no calendar shows it
        game.mLastTurnTime = unixTimeNow() - 5;
        for (const Seat& seat :
             {Seat{"O'Brien \"x\" \\", c.opponentCiv}, Seat{"Ada", c.localCiv}}) {
            auto player = std::make_unique<PlayerRecord>();
            player->mName = seat.name;
            player->mCivName = seat.civ;
            player->mIsLocal = seat.name == "Ada";
            player->mAvatar = "UI/Avatars/Council02-hd.png";
            player->mColor = player->mIsLocal ? 2 : 6;
            player->mNewChatCount = player->mIsLocal ? 3 : 9;
            game.mPlayers.push_back(std::move(player));
        }
        addGameEntry(game, cOpponentsTurn);
        ASSERT_EQ(sent().size(), 1u);
        EXPECT_TRUE(sent()[0].ends_with(", false, 1, 6, 3 )")) << sent()[0];
        ASSERT_TRUE(runStatements());
        EXPECT_EQ(pageCalls(),
                  std::string(R"(addGameEntry["77","O'Brien \"x\" \\",)") +
                      R"("UI/Avatars/Council02.png","UI/Avatars/Council02_Color.png",)" +
                      R"(2,"Last move: Moments ago","Created: unknown",)" + c.emblems +
                      ",false,1,6,3]");
    }
}

TEST_F(GamesListTest, AGameWithoutALocalPlayerAndAnOpponentGetsNoEntry) {
    GameRecord alone;
    alone.mPlayers.push_back(std::make_unique<PlayerRecord>());
    alone.mPlayers.back()->mIsLocal = true;
    GameRecord empty;
    addGameEntry(alone, cMyTurn);
    addGameEntry(empty, cNotInGame);
    EXPECT_TRUE(statements().empty());
}

TEST_F(GamesListTest, AnUnchangedListRedrawsOnlyOnceAfterThePageAskedForAFreshOne) {
    const struct {
        const char* step; // a notification, "rebuild" or "clear" (the page asks again)
        bool rebuildFlag;
    } steps[] = {
        {"AsyncGamesListUpdatedAndUnchanged", true}, // nothing built yet
        {"rebuild", false},
        {"AsyncGamesListUpdatedAndUnchanged", false},
        {"asyncgameslistupdated", true},
        {"rebuild", false},
        {"clear", false},
        {"AsyncGamesListUpdatedAndUnchanged", true},
        {"rebuild", false},
        {"AsyncGamesListUpdatedAndUnchanged", false},
        {"LargestNewsIDUpdated", false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        const std::string step = s.step;
        if (step == "rebuild") {
            // As the per-frame update does.
            mHandler->mRebuildGamesList = false;
            rebuildGamesList(*mHandler);
        } else if (step == "clear") {
            mHandler->mGamesListBuilt = false;
        } else {
            onGamesListNotification(*mHandler, step);
        }
        EXPECT_EQ(mHandler->mRebuildGamesList, s.rebuildFlag);
    }
}

TEST_F(GamesListTest, ARebuildOpensTheDeferredGameOrElsePreparesTheCurrentGamesChat) {
    list(8, 100, {{"Ada"}, {"Foe", "orcs"}});
    mHandler->mCurrentGameID = 8;
    mHandler->mDeferredGameID = 9;
    rebuildGamesList(*mHandler);
    EXPECT_EQ(mHandler->mGameToOpen, 9);
    EXPECT_EQ(mHandler->mDeferredGameID, 0);
    EXPECT_FALSE(statements().back().starts_with("prepChat("));

    rebuildGamesList(*mHandler);
    EXPECT_EQ(mHandler->mGameToOpen, 9);
    ASSERT_TRUE(statements().back().starts_with("prepChat(")) << statements().back();
    EXPECT_TRUE(statements().back().ends_with(", 1);")) << statements().back();
}

TEST_F(GamesListTest, ThePuzzleMarkNamesItsButtonUnlessAnIndexIsMinusOne) {
    const struct {
        int32_t category, index;
        std::vector<std::string> sent;
    } cases[] = {
        {2, 5, {"showCurrentPuzzleEntry(\"NavPuzzleButton2-5\"); "}},
        {0, 0, {"showCurrentPuzzleEntry(\"NavPuzzleButton0-0\"); "}},
        {2, -1, {}},
        {-1, 5, {}},
    };
    for (const auto& c : cases) {
        mark();
        showCurrentPuzzleEntry(c.category, c.index);
        EXPECT_EQ(sent(), c.sent) << c.category << "-" << c.index;
    }
}

TEST_F(GamesListTest, APurgeOnAWorkerReachesThePageOnTheMainThread) {
    installGamesListHooks();
    list(12, 100, {{"Ada"}, {"Foe"}});
    std::thread worker([this] { mClient.removeGame(12); });
    worker.join();
    EXPECT_TRUE(statements().empty());
    EXPECT_TRUE(listedIds().empty());
    mPage.doWork();
    EXPECT_EQ(statements(),
              (std::vector<std::string>{"purgeGameFromAll('12'); hideBoardElements(); "
                                        "$('#GamesListScreen').show(); "}));
}

TEST_F(GamesListTest, TheBuildVersionTextCarriesTheFourVersionNumbers) {
    EXPECT_EQ(buildVersionText(), "Build version: 1.0.0.1039");
    installGamesListHooks();
    EXPECT_EQ(shellSeams().buildVersionText(), "Build version: 1.0.0.1039");
}
