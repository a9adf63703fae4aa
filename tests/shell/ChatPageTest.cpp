// The chat panel's statements: when a refresh fetches, the lines last to
// first with their seat marks, the scrolls, the unread count and the entry
// sent again, a fetch that loses the game, and the panel's preparation.

#include "GamesListTestSupport.h"

#include "shell/ChatPage.h"

namespace {

// Ann sits first, Ada (local) second; both play.
constexpr const char* cChatGame = "<Game id='20' current_turn_player='Ada'><players>"
                                  "<p name='Ann' status='active' civ_name='orcs'/>"
                                  "<p name='Ada' status='active' civ_name='humans' "
                                  "new_chat_count='%d'/></players><chats>"
                                  "<c from='Ann'>one</c><c from='Ada'>say \"hi\"</c>"
                                  "<c from='Ann'>three</c></chats></Game>";

std::string chatReply(int unread) {
    std::string body = cChatGame;
    body.replace(body.find("%d"), 2, std::to_string(unread));
    return body;
}

} // namespace

class ChatPageTest : public GamesListTest {
protected:
    // Game 20 listed with one line of its own and Ada's unread count.
    GameRecord& listChatGame(int unread) {
        GameRecord& game = list(20, 100, {{"Ann", "orcs"}, {"Ada"}});
        game.mPlayers[1]->mNewChatCount = unread;
        game.mChats.push_back(std::make_unique<ChatRecord>(ChatRecord{"Ada", "kept", 0}));
        return game;
    }
};

TEST_F(ChatPageTest, WithoutForceOrUnreadLinesNothingIsFetchedOrSent) {
    listChatGame(0);
    refreshChat(*mHandler, 20, false);
    refreshChat(*mHandler, 21, true); // not listed
    EXPECT_TRUE(mServer.requests().empty());
    EXPECT_TRUE(statements().empty());
}

TEST_F(ChatPageTest, TheLinesReachThePageLastToFirstMarkedBySeatThenTheCountIsRead) {
    const std::string three = R"(showChat("1", "three");)";
    const std::string hi = R"(showChat("0", "say \"hi\"");)";
    const std::string one = R"(showChat("1", "one");)";
    const std::string kept = R"(showChat("0", "kept");)";
    const std::string scroll = "$('#ChatText').scrollTop(10000);";
    const struct {
        const char* name;
        int listedUnread;
        bool force;
        ScriptedReply reply;
        std::vector<std::string> lines;
    } cases[] = {
        {"forced, all read", 0, true, {200, chatReply(0)}, {three, hi, one, scroll}},
        {"unread lines", 1, false, {200, chatReply(2)}, {three, hi, one, scroll, scroll}},
        {"failed fetch", 1, false, {200, "<Error>NotLoggedIn</Error>"}, {kept, scroll, scroll}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        mClient.clearGames(0);
        GameRecord& game = listChatGame(c.listedUnread);
        script(Endpoint::GetGameChats, c.reply);
        mark();
        refreshChat(*mHandler, 20, c.force);
        std::vector<std::string> expected{"$('#ChatText').empty();"};
        expected.insert(expected.end(), c.lines.begin(), c.lines.end());
        std::vector<std::string> drawn = sent();
        ASSERT_EQ(drawn.size(), expected.size() + 1);
        EXPECT_TRUE(drawn.back().starts_with("addGameEntry('20', 'Ann'")) << drawn.back();
        EXPECT_TRUE(drawn.back().ends_with(", 0 )")) << drawn.back();
        drawn.pop_back();
        EXPECT_EQ(drawn, expected);
        EXPECT_EQ(game.mPlayers[1]->mNewChatCount, 0);
    }
    ASSERT_TRUE(runStatements());
    EXPECT_NE(pageCalls().find(R"(showChat["0","kept"])"), std::string::npos) << pageCalls();
    mark();
    script(Endpoint::GetGameChats, {200, chatReply(0)});
    refreshChat(*mHandler, 20, true);
    ASSERT_TRUE(runStatements());
    EXPECT_NE(pageCalls().find(R"(showChat["0","say \"hi\""])"), std::string::npos) << pageCalls();
}

TEST_F(ChatPageTest, AFetchThatLosesTheGameStopsTheRefresh) {
    listChatGame(1);
    // A game whose lines do not read: the client drops it.
    script(Endpoint::GetGameChats, {200, "<Game><chats><c sent_datetime='soon'/></chats></Game>"});
    refreshChat(*mHandler, 20, false);
    EXPECT_TRUE(requested(Endpoint::GetGameChats));
    EXPECT_TRUE(listedIds().empty());
    EXPECT_TRUE(statements().empty());
}

TEST_F(ChatPageTest, ThePanelIsPreparedWithBothPlayersForAGameOfTwo) {
    GameRecord& game = list(30, 100, {{"O'Brien \"x\" \\", "orcs"}, {"Ada"}});
    game.mPlayers[0]->mColor = 4;
    game.mPlayers[1]->mColor = 2;
    game.mPlayers[1]->mAvatar = "UI/Avatars/Tribe01.png";
    list(31, 100, {{"Ada"}});
    prepChat(*mHandler, 30, false);
    prepChat(*mHandler, 31, true);
    prepChat(*mHandler, 32, true); // not listed
    ASSERT_EQ(
        statements(),
        (std::vector<std::string>{
            R"(prepChat('O\'Brien \"x\" \\', 'tarnwick://data/UI/Avatars/Council01-hd.png', )"
            R"('UI/Avatars/Council01_Color-hd.png',4,'Ada', )"
            R"('tarnwick://data/UI/Avatars/Tribe01.png', 'UI/Avatars/Tribe01_Color.png',2, 0);)"}));
    ASSERT_TRUE(runStatements());
    EXPECT_EQ(
        pageCalls(),
        R"(prepChat["O'Brien \"x\" \\","tarnwick://data/UI/Avatars/Council01-hd.png",)"
        R"("UI/Avatars/Council01_Color-hd.png",4,"Ada","tarnwick://data/UI/Avatars/Tribe01.png",)"
        R"("UI/Avatars/Tribe01_Color.png",2,0])");
}
