// The loopback server's game, matchmaking and chat paths, posted as the
// client posts them: one row per request and reply kind, then what each
// request leaves stored (turns, statuses, the running-games limit, the
// matchmaking queue, chat counts, wins per civ) and how a game ends.

#include "ServerTestSupport.h"
#include "ServiceClientSupport.h"

#include "tools/server/LoopbackServer.h"
#include "tools/server/ServerGames.h"

#include "rules/ServerTurn.h"

#include <boost/archive/binary_iarchive.hpp>

#include <sstream>

namespace {

const std::string cAccounts =
    "<Account login='alice' password='pw' nickname='Alice' home='2' away='4' avatar='P|1'/>"
    "<Account login='bob' password='pw' nickname='Bob'/>"
    "<Account login='carol' password='pw' nickname='Carol'/>";

// Alice's finished games: two won with orcs (one written Orcs), one lost.
const std::string cFinishedGames =
    "<Game id='21' created='2026-03-01 10:00:00' creator='Alice' complete='1'>"
    "<Player name='Alice' status='inactive' substatus='won' civ='orcs'/>"
    "<Player name='Bob' status='inactive' substatus='lost' civ='humans'/></Game>"
    "<Game id='22' created='2026-03-01 10:00:00' creator='Bob' complete='1'>"
    "<Player name='Bob' status='inactive' substatus='lost' civ='humans'/>"
    "<Player name='Alice' status='inactive' substatus='won' civ='Orcs'/></Game>"
    "<Game id='23' created='2026-03-01 10:00:00' creator='Bob' complete='1'>"
    "<Player name='Bob' status='inactive' substatus='won' civ='dwarves'/>"
    "<Player name='Alice' status='inactive' substatus='lost' civ='dwarves'/></Game>";

// The id the next created game gets.
const std::string cNewGame = "24";

std::vector<uint8_t> blobOf(const std::string& text) {
    return {text.begin(), text.end()};
}

// Bytes that are no text: every byte value, over several base64 lines.
std::vector<uint8_t> binaryState() {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 600; ++i)
        bytes.push_back(static_cast<uint8_t>(i * 7));
    return bytes;
}

FormFields submitFields(const std::string& id, int taunt) {
    return {{"gameid", id},
            {"tauntRequest", std::to_string(taunt)},
            {"clientBuildVersion", "1039"},
            {"currentTurnCount", "1"}};
}

FormFields stateFields(const std::vector<uint8_t>& state, const std::string& status,
                       const std::string& substatus = {}) {
    FormFields fields = {{"state", base64(state)}, {"status", status}};
    if (!substatus.empty())
        fields.emplace_back("substatus", substatus);
    fields.emplace_back("iscomplete", "0");
    return fields;
}

class ServerGameRoutesTest : public ServerFolderTest {
protected:
    void start(const std::string& games = cFinishedGames) {
        LoopbackServerOptions options;
        options.database = mFolder / "server.sqlite3";
        options.seed = writeSeed("seed.xml", "<ServerSeed>" + cAccounts + games + "</ServerSeed>");
        mServer = std::make_unique<LoopbackServer>(options);
        ASSERT_TRUE(mServer->start()) << mServer->error();
        for (const char* name : {"alice", "bob", "carol"}) {
            mClients.emplace(name, ServiceClient(mServer->baseUrl()));
            ASSERT_TRUE(mClients.at(name).login(name, "pw"));
        }
        mClients.emplace("nobody", ServiceClient(mServer->baseUrl(), "no-such-key"));
    }
    const ServiceClient& as(const std::string& name) const { return mClients.at(name); }

    // Alice's game against Bob, accepted by Bob: game cNewGame, Alice to move.
    void startGame() {
        ASSERT_EQ(as("alice")
                      .post("Game/createGame", createGameFields("Bob", "orcs"),
                            {{"state", base64(blobOf("first"))}})
                      .mRoot,
                  "Game");
        ASSERT_EQ(as("bob")
                      .post("Game/matchAccepted", {{"civName", "humans"}, {"gameid", cNewGame}},
                            {{"state", base64(blobOf("accepted"))}})
                      .mRoot,
                  "Success");
    }
    std::unique_ptr<GameRecord> gameFor(const std::string& name, const std::string& nickname,
                                        const std::string& id = cNewGame) const {
        return as(name).post("Game/getGameState", {}, {}, {{"gameid", id}}).game(nickname);
    }
    std::optional<ServerGame> stored(int64_t id) {
        std::optional<ServerGame> game;
        mServer->database().transaction([&] { game = ServerGames(mServer->database()).find(id); });
        return game;
    }

    std::unique_ptr<LoopbackServer> mServer;
    std::map<std::string, ServiceClient> mClients;
};

std::string turnRecordArchive(ServerGameCommand& command) {
    ServerTurn turn;
    turn.mPlayer = 1;
    turn.mTaunt = 1;
    turn.mTurn = 2;
    turn.mCommands = {&command, &command};
    return turn.toArchive();
}

} // namespace

// Each row one request as the client posts it, in order: the reply's root
// and text (for an "Error", the error's name).
TEST_F(ServerGameRoutesTest, EachRequestAnswersWithItsReplyKinds) {
    start();
    ServerGameCommand command(4, 2, GridSlot(1, 2));
    const std::string archive = turnRecordArchive(command);
    const std::string record = encodeBase64(archive);
    // The two commands' count made one no archive could hold: the count
    // (8 bytes) and the item version (4) end the archive of a record
    // without commands.
    std::string huge = archive;
    const size_t count = ServerTurn().toArchive().size() - 12;
    ASSERT_EQ(huge.substr(count, 8), std::string("\x02\0\0\0\0\0\0\0", 8));
    huge.replace(count, 8, std::string("\0\0\0\x10\0\0\0\0", 8));
    const std::string hugeCount = encodeBase64(huge);
    struct Row {
        const char* who;
        const char* path;
        FormFields before;
        FormFields after;
        const char* root;
        const char* text;
        FormFields leading = {};
    };
    const std::vector<Row> rows = {
        {"alice",
         "Game/createGame",
         createGameFields("Bob", "orcs"),
         {{"state", base64(blobOf("first"))}},
         "Game",
         ""},
        {"alice",
         "Game/createGame",
         createGameFields("alice", "orcs"),
         {{"state", base64(blobOf("first"))}},
         "Error",
         "DuplicatePlayer"},
        {"alice",
         "Game/createGame",
         createGameFields("Nobody", "orcs"),
         {{"state", base64(blobOf("first"))}},
         "Error",
         "InvalidPlayer"},
        {"alice",
         "Game/createGame",
         createGameFields("Bob", "orcs"),
         {{"state", ""}},
         "Error",
         "InvalidState"},
        {"nobody",
         "Game/createGame",
         createGameFields("Bob", "orcs"),
         {{"state", base64(blobOf("first"))}},
         "Error",
         "NotLoggedIn"},
        {"alice", "Game/getUserRecordByNickname", {{"invAccount", "bob"}}, {}, "player", ""},
        {"alice",
         "Game/getUserRecordByNickname",
         {{"invAccount", "Nobody"}},
         {},
         "Error",
         "InvalidPlayer"},
        {"bob", "Game/getGameState", {}, {}, "Game", "", {{"gameid", cNewGame}}},
        {"bob", "Game/getGameState", {}, {}, "Error", "InvalidGameID", {{"gameID", cNewGame}}},
        {"carol", "Game/getGameState", {}, {}, "Error", "InvalidGameID", {{"gameid", cNewGame}}},
        {"bob",
         "Game/matchAccepted",
         {{"civName", "humans"}, {"gameid", cNewGame}},
         {{"state", base64(blobOf("accepted"))}},
         "Success",
         ""},
        {"bob", "Game/submitTurn", submitFields(cNewGame, 0), stateFields(blobOf("turn"), "none"),
         "Error", "NotYourTurn"},
        {"alice", "Game/submitTurn", submitFields(cNewGame, 0),
         stateFields(blobOf("turn"), "bogus"), "Error", "InvalidStatus"},
        {"alice", "Game/submitTurn", submitFields(cNewGame, 0), stateFields(blobOf("turn"), "none"),
         "Game", ""},
        {"bob",
         "Game/submitTurn",
         {},
         {{"gameID", cNewGame}, {"status", "none"}, {"serverTurn", "!!"}},
         "Error",
         "InvalidTurn"},
        {"bob",
         "Game/submitTurn",
         {},
         {{"gameid", cNewGame}, {"status", "none"}, {"serverTurn", record}},
         "Error",
         "InvalidGameID"},
        {"bob",
         "Game/submitTurn",
         {},
         {{"gameID", cNewGame}, {"status", "none"}, {"serverTurn", record}},
         "Success",
         ""},
        {"alice",
         "Game/updatePlayerStatus",
         {{"gameid", cNewGame}, {"status", "bogus"}},
         {{"iscomplete", "0"}},
         "Error",
         "InvalidStatus"},
        {"alice",
         "Game/updatePlayerStatus",
         {{"gameid", cNewGame}, {"status", "active"}},
         {{"substatus", "none"}, {"iscomplete", "0"}},
         "Success",
         ""},
        {"alice", "Game/getMyWinStatsByCiv", {}, {}, "player", ""},
        {"alice", "Match/matchmake", {{"civName", "orcs"}}, {}, "Success", "Queued"},
        {"alice", "Match/matchmake", {{"civName", "orcs"}}, {}, "Error", "AlreadyQueued"},
        {"bob", "Match/matchmake", {{"civName", "humans"}}, {}, "Game", ""},
        {"bob", "Chat/addGameChat", {{"gameid", cNewGame}, {"chat", "hello"}}, {}, "Success", ""},
        {"carol",
         "Chat/addGameChat",
         {{"gameid", cNewGame}, {"chat", "hello"}},
         {},
         "Error",
         "InvalidGameID"},
        {"alice", "Chat/getGameChats", {{"gameID", cNewGame}}, {}, "Game", ""},
        {"alice", "Chat/getGameChats", {{"gameid", cNewGame}}, {}, "Error", "InvalidGameID"},
        {"nobody",
         "Chat/addGameChat",
         {{"gameid", cNewGame}, {"chat", "hello"}},
         {},
         "Error",
         "NotLoggedIn"},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const ServiceReplyText reply =
            as(row.who).post(row.path, row.before, row.after, row.leading);
        EXPECT_EQ(reply.mRoot, row.root) << "row " << i << " " << row.path << ": " << reply.mBody;
        EXPECT_EQ(reply.mText, row.text) << "row " << i << " " << row.path;
    }
}

TEST_F(ServerGameRoutesTest, ASubmitKeepsTheStateBytesAndHandsTheTurnOn) {
    start();
    startGame();
    const std::vector<uint8_t> state = binaryState();
    const ServiceReplyText reply =
        as("alice").post("Game/submitTurn", submitFields(cNewGame, 1), stateFields(state, "none"));
    ASSERT_EQ(reply.mRoot, "Game") << reply.mBody;
    EXPECT_EQ(reply.attribute("play_taunt"), "1");
    const std::unique_ptr<GameRecord> submitted = reply.game("Alice");
    ASSERT_NE(submitted, nullptr);
    EXPECT_EQ(submitted->mCurrentTurnPlayer, "Bob");
    EXPECT_EQ(submitted->mTurnCount, 1);
    EXPECT_TRUE(submitted->mHasLastTurnTime);

    const std::unique_ptr<GameRecord> bobs = gameFor("bob", "Bob");
    ASSERT_NE(bobs, nullptr);
    ASSERT_EQ(bobs->mStateSize, static_cast<int32_t>(state.size()));
    EXPECT_TRUE(std::equal(state.begin(), state.end(), bobs->mStateData.get()));
    EXPECT_EQ(bobs->getLocalPlayer()->mPlayTaunt, 1);
    EXPECT_EQ(bobs->getLocalPlayerGameState("Bob"), cMyTurn);
    EXPECT_EQ(bobs->getLocalPlayer()->mCivName, "humans");

    // The second form: the record kept as sent, the state left as it was.
    ServerGameCommand command(4, 2, GridSlot(1, 2));
    const std::string archive = turnRecordArchive(command);
    ASSERT_EQ(
        as("bob")
            .post("Game/submitTurn", {},
                  {{"gameID", cNewGame}, {"status", "none"}, {"serverTurn", encodeBase64(archive)}})
            .mRoot,
        "Success");
    std::vector<std::string> records;
    mServer->database().transaction(
        [&] { records = ServerGames(mServer->database()).turnRecords(24); });
    ASSERT_EQ(records, std::vector<std::string>{archive});
    ServerTurn read;
    std::istringstream bytes(records[0], std::ios::binary);
    {
        boost::archive::binary_iarchive in(bytes);
        in >> read;
    }
    EXPECT_EQ(read.mBuildNumber, 1039u);
    EXPECT_EQ(read.mPlayer, 1);
    EXPECT_EQ(read.mTaunt, 1);
    EXPECT_EQ(read.mTurn, 2);
    ASSERT_EQ(read.mCommands.size(), 2u);
    EXPECT_EQ(read.mCommands[0], read.mCommands[1]);
    EXPECT_EQ(read.mCommands[0]->mEntityId, 4);
    EXPECT_EQ(read.mCommands[0]->mGridType, 2);
    EXPECT_EQ(read.mCommands[0]->mTarget, GridSlot(1, 2));
    delete read.mCommands[0];

    const std::unique_ptr<GameRecord> alices = gameFor("alice", "Alice");
    ASSERT_NE(alices, nullptr);
    EXPECT_EQ(alices->mCurrentTurnPlayer, "Alice");
    EXPECT_EQ(alices->mTurnCount, 2);
    EXPECT_EQ(alices->mStateSize, static_cast<int32_t>(state.size()));
    EXPECT_EQ(alices->getLocalPlayer()->mPlayTaunt, 1);
}

// A submit with Inactive and Won or Lost ends the game: the winner Won, a
// loser who has not seen it LostNotSeen, which its follow-up settles.
TEST_F(ServerGameRoutesTest, AWinningSubmitEndsTheGameAndTheLoserSettlesIt) {
    start();
    startGame();
    ASSERT_EQ(as("alice")
                  .post("Game/submitTurn", submitFields(cNewGame, 0),
                        stateFields(blobOf("won"), "inactive", "won"))
                  .mRoot,
              "Game");
    std::unique_ptr<GameRecord> bobs = gameFor("bob", "Bob");
    ASSERT_NE(bobs, nullptr);
    EXPECT_TRUE(bobs->mIsComplete);
    EXPECT_EQ(bobs->getOpponent()->mStatus, cGameInactive);
    EXPECT_EQ(bobs->getOpponent()->mSubstatus, cSubstatusWon);
    EXPECT_EQ(bobs->getLocalPlayer()->mStatus, cGameActive);
    EXPECT_EQ(bobs->getLocalPlayer()->mSubstatus, cSubstatusLostNotSeen);
    ASSERT_EQ(as("bob")
                  .post("Game/updatePlayerStatus", {{"gameid", cNewGame}, {"status", "inactive"}},
                        {{"substatus", "lost"}, {"iscomplete", "1"}})
                  .mRoot,
              "Success");
    bobs = gameFor("bob", "Bob");
    ASSERT_NE(bobs, nullptr);
    EXPECT_EQ(bobs->getLocalPlayerGameState("Bob"), cNotActive);
    EXPECT_EQ(bobs->getLocalPlayer()->mSubstatus, cSubstatusLost);
}

// Deleted takes the game out of that player's list only, and out of the
// database once both deleted it; a resignation completes the game.
TEST_F(ServerGameRoutesTest, StatusUpdatesDeleteForOnePlayerOrSetTheSubstatus) {
    start();
    startGame();
    const auto update = [&](const char* who, const char* status, const char* substatus) {
        FormFields after;
        if (substatus != nullptr)
            after.emplace_back("substatus", substatus);
        after.emplace_back("iscomplete", "0");
        return as(who)
            .post("Game/updatePlayerStatus", {{"gameid", cNewGame}, {"status", status}}, after)
            .mRoot;
    };
    ASSERT_EQ(update("alice", "inactive", "resigned"), "Success");
    std::unique_ptr<GameRecord> bobs = gameFor("bob", "Bob");
    ASSERT_NE(bobs, nullptr);
    EXPECT_TRUE(bobs->mIsComplete);
    EXPECT_EQ(bobs->getOpponent()->mSubstatus, cSubstatusResigned);
    EXPECT_EQ(bobs->getLocalPlayer()->mStatus, cGameActive);

    ASSERT_EQ(update("bob", "deleted", nullptr), "Success");
    EXPECT_EQ(as("bob").post("Game/getGameState", {}, {}, {{"gameid", cNewGame}}).mText,
              "InvalidGameID");
    EXPECT_EQ(as("bob").post("Game/getGameList", {}).mBody.find("id=\"24\""), std::string::npos);
    ASSERT_NE(gameFor("alice", "Alice"), nullptr);
    EXPECT_EQ(gameFor("alice", "Alice")->getOpponent()->mStatus, cGameDeleted);
    ASSERT_EQ(update("alice", "deleted", nullptr), "Success");
    EXPECT_FALSE(stored(24).has_value());
}

// A player active in 40 games may create no other; in 39 it may.
TEST_F(ServerGameRoutesTest, FortyRunningGamesRefuseANewOne) {
    for (const int running : {39, 40}) {
        SCOPED_TRACE(running);
        std::string games;
        for (int i = 0; i < running; ++i)
            games += "<Game id='" + std::to_string(100 + i) +
                     "' created='2026-03-01 10:00:00' creator='Alice'>"
                     "<Player name='Alice' civ='orcs'/><Player name='" +
                     (i % 2 == 0 ? "Bob" : "Carol") + "'/></Game>";
        // Finished games do not count.
        games += cFinishedGames;
        start(games);
        const ServiceReplyText reply = as("alice").post(
            "Game/createGame", createGameFields("Carol", "orcs"), {{"state", base64(blobOf("s"))}});
        EXPECT_EQ(reply.mRoot, running < 40 ? "Game" : "Error");
        EXPECT_EQ(reply.mText, running < 40 ? "" : "TooManyGamesAlready");
        mServer.reset();
        mClients.clear();
        std::filesystem::remove_all(mFolder);
        std::filesystem::create_directories(mFolder);
    }
}

// The player who waited is paired with the next one: a matched game without
// state, each player with its civ, the waiting one to move first.
TEST_F(ServerGameRoutesTest, MatchmakingPairsTheWaitingPlayerWithTheNext) {
    start();
    ASSERT_EQ(as("alice").post("Match/matchmake", {{"civName", "orcs"}}).mText, "Queued");
    const ServiceReplyText reply = as("bob").post("Match/matchmake", {{"civName", "humans"}});
    ASSERT_EQ(reply.mRoot, "Game") << reply.mBody;
    const std::unique_ptr<GameRecord> game = reply.game("Bob");
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->mGameID, 24);
    EXPECT_EQ(game->mWasMatchmade, 1);
    EXPECT_EQ(game->mCreationMethod, "MATCHMADE");
    EXPECT_EQ(game->mStateData, nullptr);
    ASSERT_EQ(game->mPlayers.size(), 2u);
    EXPECT_EQ(game->mPlayers[0]->mName, "Alice");
    EXPECT_EQ(game->mPlayers[0]->mCivName, "orcs");
    EXPECT_EQ(game->mPlayers[1]->mCivName, "humans");
    EXPECT_EQ(game->mCurrentTurnPlayer, "Alice");
    // The queue is empty again.
    EXPECT_EQ(as("carol").post("Match/matchmake", {{"civName", "orcs"}}).mText, "Queued");
    EXPECT_NE(gameFor("alice", "Alice"), nullptr);
}

TEST_F(ServerGameRoutesTest, AChatLineRaisesTheOtherPlayersCountUntilItReads) {
    start();
    startGame();
    for (const char* line : {"hello", "  good luck  "})
        ASSERT_EQ(
            as("alice").post("Chat/addGameChat", {{"gameid", cNewGame}, {"chat", line}}).mRoot,
            "Success");
    EXPECT_EQ(as("alice").post("Chat/addGameChat", {{"gameid", cNewGame}, {"chat", ""}}).mText,
              "InvalidChat");
    std::unique_ptr<GameRecord> bobs = gameFor("bob", "Bob");
    ASSERT_NE(bobs, nullptr);
    EXPECT_EQ(bobs->getLocalPlayer()->mNewChatCount, 2);
    EXPECT_EQ(bobs->getOpponent()->mNewChatCount, 0);

    const std::unique_ptr<GameRecord> chats =
        as("bob").post("Chat/getGameChats", {{"gameID", cNewGame}}).game("Bob");
    ASSERT_NE(chats, nullptr);
    ASSERT_EQ(chats->mChats.size(), 2u);
    EXPECT_EQ(chats->mChats[0]->mFrom, "Alice");
    EXPECT_EQ(chats->mChats[0]->mText, "hello");
    EXPECT_EQ(chats->mChats[1]->mText, "good luck");
    EXPECT_GT(chats->mChats[1]->mSentTime, 0);
    EXPECT_EQ(chats->getLocalPlayer()->mNewChatCount, 0);
    bobs = gameFor("bob", "Bob");
    ASSERT_NE(bobs, nullptr);
    EXPECT_EQ(bobs->getLocalPlayer()->mNewChatCount, 0);
}

TEST_F(ServerGameRoutesTest, WinsAreCountedPerCivIgnoringCase) {
    start();
    const ServiceReplyText reply = as("alice").post("Game/getMyWinStatsByCiv", {});
    EXPECT_EQ(reply.mBody, "<player><civs><civ name=\"orcs\" wins=\"2\"/></civs></player>");
    EXPECT_EQ(as("carol").post("Game/getMyWinStatsByCiv", {}).mBody,
              "<player><civs></civs></player>");
}

TEST_F(ServerGameRoutesTest, TheUserRecordCarriesColoursAndAvatar) {
    start();
    const ServiceReplyText reply =
        as("bob").post("Game/getUserRecordByNickname", {{"invAccount", "alice"}});
    EXPECT_EQ(reply.attribute("nickname"), "Alice");
    EXPECT_EQ(reply.attribute("home_color"), "2");
    EXPECT_EQ(reply.attribute("away_color"), "4");
    EXPECT_EQ(reply.attribute("avatar"), "P|1");
}

// How a decided game leaves the statuses, against a player and the bot.
TEST(ServerGameEnd, TheWinnerWinsAndTheLoserLosesOrHasNotSeenIt) {
    struct Row {
        int winner;
        const char* bot;
        const char* loserStatus; // seat 1 loses when seat 0 wins
        const char* loserSubstatus;
    };
    for (const Row& row :
         {Row{0, "", "active", "lostnotseen"}, Row{0, "bob", "inactive", "lost"},
          Row{1, "bob", "active", "lostnotseen"}, Row{-1, "", "inactive", "none"}}) {
        ServerGame game;
        game.mPlayers.resize(2);
        game.mPlayers[0].mName = "Alice";
        game.mPlayers[1].mName = "Bob";
        endGame(game, row.winner, row.bot);
        EXPECT_TRUE(game.mIsComplete);
        const int loser = row.winner == 1 ? 0 : 1;
        EXPECT_EQ(game.mPlayers[loser].mStatus, row.loserStatus) << row.winner << row.bot;
        EXPECT_EQ(game.mPlayers[loser].mSubstatus, row.loserSubstatus) << row.winner << row.bot;
        if (row.winner >= 0) {
            EXPECT_EQ(game.mPlayers[row.winner].mStatus, "inactive");
            EXPECT_EQ(game.mPlayers[row.winner].mSubstatus, "won");
        }
    }
}
