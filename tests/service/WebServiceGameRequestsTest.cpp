// The game and chat requests against scripted replies: each request's
// fields in order and its code for every kind of reply, the local cap on
// running games, the state's base64 and the status words, the two submit
// forms, status updates, the adoption of returned games, matchmaking and
// chat.

#include "LoopbackTestSupport.h"

#include "service/GameRecordReader.h"
#include "service/ListNotifications.h"

#include "content/AvatarPack.h"

#include <functional>
#include <sstream>

using namespace std::chrono_literals;

namespace {

using GameLock = std::lock_guard<boost::recursive_mutex>;

// A "Game" element of alice against bob.
std::string gameXml(int64_t id, std::string_view attributes = "current_turn_player='alice'",
                    std::string_view children = "") {
    return "<Game id='" + std::to_string(id) + "' " + std::string(attributes) +
           "><players><p name='alice' status='active'/><p name='bob' status='active'/>"
           "</players>" +
           std::string(children) + "</Game>";
}

std::vector<std::string> fieldNames(const ReceivedRequest& request) {
    std::vector<std::string> names;
    for (const FormPart& part : request.parts)
        names.push_back(part.name);
    return names;
}

std::vector<uint8_t> sampleBytes(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
    return bytes;
}

const ScriptedReply cNoReply{200, "", 0ms, true};

class GameRequestTest : public LoopbackTest {
protected:
    void SetUp() override {
        LoopbackTest::SetUp();
        mClient.setNickname("alice");
        setGamePurgeHook([this](int64_t id) {
            mPurged.push_back(id);
            mRequestsAtPurge = mServer.requests().size();
        });
    }
    void TearDown() override {
        setGamePurgeHook({});
        gGameInitFailed = false;
    }

    // The paths of the requests after the first skip ones.
    std::vector<std::string> pathsFrom(size_t skip) {
        std::vector<std::string> paths;
        const std::vector<ReceivedRequest> requests = mServer.requests();
        for (size_t i = skip; i < requests.size(); ++i)
            paths.push_back(requests[i].path);
        return paths;
    }

    int submit(int64_t id, const std::vector<uint8_t>& state, int32_t& taunt, int32_t status = -1,
               int32_t substatus = -1) {
        return mClient.submitTurn(id, state.data(), static_cast<int32_t>(state.size()), taunt, 3,
                                  status, substatus);
    }

    std::vector<int64_t> mPurged;
    size_t mRequestsAtPurge = 0;
    const std::vector<uint8_t> mState = sampleBytes(10);
};

struct ReplyCase {
    ScriptedReply reply;
    int code;
};

struct RequestRow {
    const char* name;
    Endpoint endpoint;
    std::function<int(WebService&)> call;
    std::vector<std::string> fields;
    std::vector<ReplyCase> replies;
};

} // namespace

TEST_F(GameRequestTest, EachRequestSendsItsFieldsInOrderAndAnswersByItsReplyTable) {
    const std::vector<uint8_t> state = sampleBytes(5);
    const auto size = static_cast<int32_t>(state.size());
    ServerTurn turn;
    const std::string game = gameXml(5);
    const std::string gameWithoutId =
        "<Game current_turn_player='alice'><players><p name='alice'/></players></Game>";
    const std::string unreadableGame = "<Game id='5' is_complete='maybe'/>";
    const std::string player =
        "<player nickname='Bob' home_color='3' away_color='4' avatar='PACK|1'/>";
    const auto error = [](const char* text) {
        return ScriptedReply{200, std::string("<Error>") + text + "</Error>"};
    };
    const ScriptedReply broken{200, "<Game id='5'"};

    const std::vector<RequestRow> rows = {
        {"createGame",
         Endpoint::CreateGame,
         [&](WebService& client) {
             int64_t id = 0;
             return client.createGame("bob", "humans", state.data(), size, id);
         },
         {"device", "authKey", "invAccount", "civName", "wasRematch", "rematchGameID",
          "clientBuildVersion", "creationMethod", "ver", "t", "h", "state"},
         {{{200, game}, 0},
          {{200, gameWithoutId}, 1},
          {{200, "<Game id='99999999999999999999'/>"}, 1},
          {{200, unreadableGame}, 1},
          {error("InvalidCurrentTurnPlayer"), 4},
          {error("InvalidPlayer"), 4},
          {error("NotLoggedIn"), 2},
          {error("DuplicatePlayer"), 3},
          {error("TooManyGamesAlready"), 5},
          {error("Busy"), 1},
          {{200, "<Success/>"}, 1},
          {broken, 1},
          {cNoReply, 1}}},
        {"getUserRecordByNickname",
         Endpoint::GetUserRecordByNickname,
         [&](WebService& client) {
             std::string nickname;
             std::string avatar;
             int32_t home = 0;
             int32_t away = 0;
             return client.getUserRecordByNickname("bob", nickname, home, away, avatar);
         },
         {"device", "authKey", "invAccount", "ver", "t", "h"},
         {{{200, player}, 0},
          {{200, "<player nickname='Bob' home_color='3' away_color='4'/>"}, 1},
          {{200, "<player nickname='Bob' home_color='x' away_color='4' avatar='A|1'/>"}, 1},
          {error("InvalidPlayer"), 2},
          {error("NotLoggedIn"), 1},
          {{200, "<Success/>"}, 1},
          {broken, 1},
          {cNoReply, 1}}},
        {"getGameState",
         Endpoint::GetGameState,
         [](WebService& client) { return client.getGameState(5); },
         {"gameid", "device", "authKey", "ver", "t", "h"},
         {{{200, game}, 0},
          {{200, unreadableGame}, 2},
          {error("NotLoggedIn"), 1},
          {error("Busy"), 2},
          {{200, "<Success/>"}, 2},
          {broken, 2},
          {cNoReply, 2}}},
        {"submitTurn",
         Endpoint::SubmitTurn,
         [&](WebService& client) {
             int32_t taunt = 1;
             return client.submitTurn(5, state.data(), size, taunt, 3, -1, 1);
         },
         {"device", "authKey", "gameid", "tauntRequest", "clientBuildVersion", "currentTurnCount",
          "ver", "t", "h", "state", "status", "substatus", "iscomplete"},
         {{{200, gameXml(5, "current_turn_player='bob' play_taunt='1'")}, 0},
          {{200, gameXml(5, "current_turn_player='bob'")}, 0},
          {{200, gameXml(5, "current_turn_player='bob' play_taunt='many'")}, 2},
          {{200, gameXml(5, "play_taunt='1'")}, 2},
          {{200, "<Game current_turn_player='bob' play_taunt='1'/>"}, 2},
          {error("NotLoggedIn"), 1},
          {error("Busy"), 2},
          {{200, "<Success/>"}, 2},
          {broken, 2},
          {cNoReply, 2}}},
        {"submitServerTurn",
         Endpoint::SubmitTurn,
         [&](WebService& client) { return client.submitServerTurn(5, turn, -1, 1); },
         {"device", "authKey", "ver", "t", "h", "gameID", "status", "substatus", "serverTurn"},
         {{{200, "<Success/>"}, 0},
          {error("NotLoggedIn"), 1},
          {error("Busy"), 2},
          {{200, game}, 2},
          {broken, 2},
          {cNoReply, 2}}},
        {"matchAccepted",
         Endpoint::MatchAccepted,
         [&](WebService& client) { return client.matchAccepted("orcs", 5, state.data(), size); },
         {"device", "authKey", "civName", "gameid", "ver", "t", "h", "state"},
         {{{200, "<Success/>"}, 0},
          {error("NotLoggedIn"), 1},
          {error("Busy"), 2},
          {{200, game}, 2},
          {cNoReply, 2}}},
        {"updatePlayerStatus",
         Endpoint::UpdatePlayerStatus,
         [](WebService& client) { return client.updatePlayerStatus(5, cGameInactive, 5); },
         {"device", "authKey", "gameid", "status", "ver", "t", "h", "substatus", "iscomplete"},
         {{{200, "<Success/>"}, 0},
          {error("NotLoggedIn"), 2},
          {{200, game}, 2},
          {broken, 2},
          {cNoReply, 2}}},
        {"getMyWinStatsByCiv",
         Endpoint::GetMyWinStatsByCiv,
         [](WebService& client) {
             std::vector<int64_t> wins;
             return client.getMyWinStatsByCiv(wins);
         },
         {"device", "authKey", "ver", "t", "h"},
         {{{200, "<player/>"}, 0},
          {error("NotLoggedIn"), 1},
          {{200, "<Success/>"}, 1},
          {broken, 1},
          {cNoReply, 1}}},
        {"matchmake",
         Endpoint::Matchmake,
         [](WebService& client) {
             int64_t id = 0;
             return client.matchmake("orcs", id);
         },
         {"device", "authKey", "civName", "ver", "t", "h"},
         {{{200, game}, 1},
          {{200, "<Success>Queued</Success>"}, 0},
          {{200, "<Success>Waiting</Success>"}, 2},
          {{200, gameWithoutId}, 2},
          {{200, unreadableGame}, 2},
          {error("NotLoggedIn"), 3},
          {error("AlreadyQueued"), 4},
          {error("Busy"), 2},
          {broken, 2},
          {cNoReply, 2}}},
        {"getGameChats",
         Endpoint::GetGameChats,
         [](WebService& client) { return client.getGameChats(5); },
         {"device", "authKey", "gameID", "ver", "t", "h"},
         {{{200, game}, 0},
          {{200, unreadableGame}, 2},
          {error("NotLoggedIn"), 1},
          {error("Busy"), 2},
          {{200, "<Success/>"}, 2},
          {broken, 2},
          {cNoReply, 2}}},
        {"addGameChat",
         Endpoint::AddGameChat,
         [](WebService& client) { return client.addGameChat(5, "hello"); },
         {"device", "authKey", "gameid", "chat", "ver", "t", "h"},
         {{{200, "<Success/>"}, 0},
          {error("NotLoggedIn"), 1},
          {error("Busy"), 2},
          {{200, game}, 2},
          {cNoReply, 2}}},
    };

    for (const RequestRow& row : rows) {
        for (const ReplyCase& c : row.replies) {
            SCOPED_TRACE(std::string(row.name) + " <- " +
                         (c.reply.dropConnection ? "no reply" : c.reply.body));
            const size_t before = mServer.requests().size();
            script(row.endpoint, c.reply);
            EXPECT_EQ(row.call(mClient), c.code);
            const std::vector<ReceivedRequest> requests = mServer.requests();
            ASSERT_GT(requests.size(), before);
            EXPECT_EQ(requests[before].path, "/" + mClient.endpoint(row.endpoint).mPath);
            EXPECT_EQ(fieldNames(requests[before]), row.fields);
            mClient.clearGames(0);
        }
    }
}

TEST_F(GameRequestTest, CreateGameRefusesAtFortyRunningGamesAndWithoutState) {
    // Finished games do not count.
    for (int64_t id = 1; id <= 3; ++id) {
        auto finished = aliceAgainstBob(id, true);
        finished->mPlayers[0]->mStatus = cGameInactive;
        mClient.insertGame(std::move(finished));
    }
    for (int64_t id = 100; id < 125; ++id)
        mClient.insertGame(aliceAgainstBob(id, false));
    for (int64_t id = 200; id < 215; ++id)
        mClient.insertGame(aliceAgainstBob(id, true));
    const auto size = static_cast<int32_t>(mState.size());
    int64_t id = 7;
    EXPECT_EQ(mClient.createGame("bob", "humans", mState.data(), size, id), 5);
    EXPECT_EQ(id, -1);
    EXPECT_EQ(mServer.requests().size(), 0u);

    mClient.removeGame(214);
    script(Endpoint::CreateGame, {200, gameXml(300, "current_turn_player='bob'")});
    EXPECT_EQ(mClient.createGame("bob", "humans", mState.data(), size, id), 0);
    EXPECT_EQ(id, 300);
    ASSERT_EQ(mServer.requests().size(), 1u);
    const ReceivedRequest sent = mServer.requests()[0];
    for (const auto& [name, value] : {std::pair{"invAccount", "bob"},
                                      {"civName", "humans"},
                                      {"wasRematch", "0"},
                                      {"rematchGameID", "0"},
                                      {"clientBuildVersion", "1039"},
                                      {"creationMethod", "CUSTOM"},
                                      {"ver", "1"}})
        EXPECT_EQ(*sent.field(name), value) << name;
    EXPECT_EQ(decodeBase64(*sent.field("state")), mState);
    EXPECT_EQ(mClient.countGamesInState(cOpponentsTurn), 26);

    EXPECT_EQ(mClient.createGame("bob", "humans", nullptr, size, id), 1);
    EXPECT_EQ(mClient.createGame("bob", "humans", mState.data(), 0, id), 1);
    EXPECT_EQ(id, -1);
    EXPECT_EQ(mServer.requests().size(), 1u);
}

TEST_F(GameRequestTest, TheStateGoesOutInLinesOfSeventyTwoAndTheStatusesAsWords) {
    // Past one 65536-byte chunk of the encoder.
    const std::vector<uint8_t> blob = sampleBytes(100000);
    const struct {
        int32_t status;
        int32_t substatus;
        const char* statusWord;
        const char* substatusWord; // null: not sent
    } cases[] = {
        {-1, -1, "none", nullptr},
        {0, 0, "unknown", "unknown"},
        {cGameInactive, cSubstatusWon, "inactive", "won"},
        {cGameActive, -3, "active", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statusWord);
        const size_t before = mServer.requests().size();
        script(Endpoint::SubmitTurn, {200, "<Error>Busy</Error>"});
        int32_t taunt = 0;
        EXPECT_EQ(submit(5, blob, taunt, c.status, c.substatus), 2);
        const ReceivedRequest sent = mServer.requests().at(before);
        EXPECT_EQ(*sent.field("status"), c.statusWord);
        if (c.substatusWord == nullptr)
            EXPECT_EQ(sent.field("substatus"), nullptr);
        else
            EXPECT_EQ(*sent.field("substatus"), c.substatusWord);

        const std::string& text = *sent.field("state");
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.back(), '\n');
        std::istringstream lines(text);
        std::vector<std::string> all;
        for (std::string line; std::getline(lines, line);)
            all.push_back(line);
        ASSERT_GT(all.size(), 1u);
        for (size_t i = 0; i + 1 < all.size(); ++i)
            ASSERT_EQ(all[i].size(), 72u) << "line " << i;
        EXPECT_GT(all.back().size(), 0u);
        EXPECT_LE(all.back().size(), 72u);
        EXPECT_EQ(decodeBase64(text), blob);
    }
}

TEST_F(GameRequestTest, AnAcceptedSubmitStoresTheStateWritesTheTauntBackAndRefreshes) {
    auto listed = aliceAgainstBob(7, true);
    listed->mIsComplete = true;
    mClient.insertGame(std::move(listed));

    script(Endpoint::SubmitTurn,
           {200, gameXml(7, "current_turn_player='bob' turn_count='4' play_taunt='1'")});
    script(Endpoint::GetGameList, {200, "<Games hash='h'/>"});
    int32_t taunt = 0;
    EXPECT_EQ(submit(7, mState, taunt), 0);
    EXPECT_EQ(taunt, 1);
    EXPECT_EQ(pathsFrom(0), (std::vector<std::string>{"/Game/submitTurn", "/Game/getGameList"}));
    const ReceivedRequest sent = mServer.requests()[0];
    for (const auto& [name, value] : {std::pair{"gameid", "7"},
                                      {"tauntRequest", "0"},
                                      {"clientBuildVersion", "1039"},
                                      {"currentTurnCount", "3"},
                                      {"iscomplete", "1"},
                                      {"ver", "2"}})
        EXPECT_EQ(*sent.field(name), value) << name;
    mClient.withGame(7, [&](GameRecord* record) {
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->mCurrentTurnPlayer, "bob");
        EXPECT_EQ(record->mTurnCount, 4);
        ASSERT_EQ(record->mStateSize, 10);
        EXPECT_TRUE(std::equal(mState.begin(), mState.end(), record->mStateData.get()));
    });

    // The service took the turn: no "play_taunt" is no taunt, and success.
    const std::vector<uint8_t> next = sampleBytes(12);
    script(Endpoint::SubmitTurn, {200, gameXml(7, "current_turn_player='alice'")});
    script(Endpoint::GetGameList, {200, "<Games hash='h'/>"});
    taunt = 1;
    EXPECT_EQ(submit(7, next, taunt), 0);
    EXPECT_EQ(taunt, 0);
    EXPECT_EQ(pathsFrom(2).size(), 2u);
    EXPECT_EQ(mClient.withGame(7, [](GameRecord* record) { return record->mStateSize; }), 12);

    // An unlisted game sends "iscomplete" 0 and lists nothing.
    script(Endpoint::SubmitTurn, {200, gameXml(8, "current_turn_player='bob'")});
    EXPECT_EQ(submit(8, next, taunt), 0);
    EXPECT_EQ(*mServer.requests()[4].field("iscomplete"), "0");
    EXPECT_EQ(listedIds(), (std::vector<int64_t>{7}));
}

TEST_F(GameRequestTest, NeitherSubmitFormSendsAfterTheGameDataFailedOrWithoutState) {
    int32_t taunt = 0;
    EXPECT_EQ(mClient.submitTurn(7, nullptr, 10, taunt, 1, -1, -1), 2);
    EXPECT_EQ(mClient.submitTurn(7, mState.data(), 0, taunt, 1, -1, -1), 2);
    EXPECT_EQ(mClient.matchAccepted("orcs", 7, nullptr, 10), 2);
    gGameInitFailed = true;
    EXPECT_EQ(submit(7, mState, taunt), 2);
    EXPECT_EQ(mClient.submitServerTurn(7, ServerTurn(), -1, -1), 2);
    EXPECT_EQ(mServer.requests().size(), 0u);
}

TEST_F(GameRequestTest, TheSecondFormSendsTheTurnRecordAndLeavesTheGameNotActive) {
    mClient.insertGame(aliceAgainstBob(7, true));
    ServerGameCommand deploy(5, 2, GridSlot(3, 4));
    ServerGameCommand swap(9, 0, GridSlot(0, 7));
    ServerTurn turn;
    turn.mPlayer = 1;
    turn.mTaunt = 1;
    turn.mTurn = 7;
    turn.mCommands = {&deploy, &swap};
    script(Endpoint::SubmitTurn, {200, "<Success/>"});
    EXPECT_EQ(mClient.submitServerTurn(7, turn, cGameInactive, cSubstatusWon), 0);
    EXPECT_EQ(mClient.countGamesInState(cNotActive), 1);
    // Nothing refreshed.
    ASSERT_EQ(mServer.requests().size(), 1u);
    const ReceivedRequest sent = mServer.requests()[0];
    EXPECT_EQ(*sent.field("gameID"), "7");
    EXPECT_EQ(*sent.field("status"), "inactive");
    EXPECT_EQ(*sent.field("substatus"), "won");

    // The record's archive exactly (reading it back is the record's own test).
    const std::vector<uint8_t> bytes = decodeBase64(*sent.field("serverTurn"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), turn.toArchive());
}

TEST_F(GameRequestTest, UpdatePlayerStatusRemovesADeletedGameBeforeTheRefresh) {
    mClient.insertGame(aliceAgainstBob(7, true));
    mClient.insertGame(aliceAgainstBob(8, true));
    script(Endpoint::UpdatePlayerStatus, {200, "<Success/>"});
    script(Endpoint::GetGameList, {200, "<Games hash='h'/>"});
    EXPECT_EQ(mClient.updatePlayerStatus(7, cGameDeleted, -1), 0);
    EXPECT_EQ(mPurged, (std::vector<int64_t>{7}));
    EXPECT_EQ(mRequestsAtPurge, 1u);
    EXPECT_EQ(listedIds(), (std::vector<int64_t>{8}));
    EXPECT_EQ(pathsFrom(0),
              (std::vector<std::string>{"/Game/updatePlayerStatus", "/Game/getGameList"}));
    EXPECT_EQ(*mServer.requests()[0].field("status"), "deleted");
    EXPECT_EQ(mServer.requests()[0].field("substatus"), nullptr);

    script(Endpoint::UpdatePlayerStatus, {200, "<Success/>"});
    script(Endpoint::GetGameList, {200, "<Games hash='h'/>"});
    EXPECT_EQ(mClient.updatePlayerStatus(8, cGameInactive, cSubstatusDeclined), 0);
    EXPECT_EQ(mPurged.size(), 1u);
    EXPECT_EQ(listedIds(), (std::vector<int64_t>{8}));
    EXPECT_EQ(pathsFrom(2),
              (std::vector<std::string>{"/Game/updatePlayerStatus", "/Game/getGameList"}));
    EXPECT_EQ(*mServer.requests()[2].field("status"), "inactive");
    EXPECT_EQ(*mServer.requests()[2].field("substatus"), "declined");

    // A refusal changes nothing and refreshes nothing.
    script(Endpoint::UpdatePlayerStatus, {200, "<Error>Busy</Error>"});
    EXPECT_EQ(mClient.updatePlayerStatus(8, cGameDeleted, -1), 2);
    EXPECT_EQ(listedIds(), (std::vector<int64_t>{8}));
    EXPECT_EQ(mServer.requests().size(), 5u);
}

TEST_F(GameRequestTest, AFetchedGameIsReadIntoItsListedRecordOrListedAnew) {
    const std::string state = "<state>" + encodeBase64("blob") + "</state>";
    script(Endpoint::GetGameState, {200, gameXml(5, "turn_count='2'", state)});
    testing::internal::CaptureStdout();
    EXPECT_EQ(mClient.getGameState(5), 0);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed.rfind("retrieved game in ", 0), 0u) << printed;
    EXPECT_EQ(printed.substr(printed.size() - 5), " sec\n");
    GameRecord* first = mClient.withGame(5, [](GameRecord* record) { return record; });
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->mStateSize, 4);

    script(Endpoint::GetGameState, {200, gameXml(5, "turn_count='3'")});
    EXPECT_EQ(mClient.getGameState(5), 0);
    mClient.withGame(5, [&](GameRecord* record) {
        EXPECT_EQ(record, first);
        EXPECT_EQ(record->mTurnCount, 3);
    });

    // A read that fails removes the listed game.
    script(Endpoint::GetGameState, {200, "<Game id='5' is_complete='maybe'/>"});
    EXPECT_EQ(mClient.getGameState(5), 2);
    EXPECT_TRUE(listedIds().empty());
    EXPECT_EQ(mPurged, (std::vector<int64_t>{5}));
}

TEST_F(GameRequestTest, MatchmakingListsOnlyAGameWithAnId) {
    int64_t id = 3;
    script(Endpoint::Matchmake, {200, "<Success>Queued</Success>"});
    EXPECT_EQ(mClient.matchmake("orcs", id), 0);
    EXPECT_EQ(id, -1);
    script(Endpoint::Matchmake, {200, "<Success>Matched</Success>"});
    EXPECT_EQ(mClient.matchmake("orcs", id), 2);

    script(Endpoint::Matchmake,
           {200, "<Game creation_method='MATCHMADE'><players><p name='alice'/></players></Game>"});
    EXPECT_EQ(mClient.matchmake("orcs", id), 2);
    EXPECT_EQ(id, -1);
    EXPECT_TRUE(listedIds().empty());

    script(Endpoint::Matchmake, {200, gameXml(12, "was_matchmade='1'")});
    EXPECT_EQ(mClient.matchmake("orcs", id), 1);
    EXPECT_EQ(id, 12);
    EXPECT_EQ(listedIds(), (std::vector<int64_t>{12}));
    EXPECT_EQ(*mServer.requests()[0].field("civName"), "orcs");

    script(Endpoint::Matchmake, {200, "<Game id='12' is_complete='maybe'/>"});
    EXPECT_EQ(mClient.matchmake("orcs", id), 2);
    EXPECT_EQ(id, 12);
    EXPECT_TRUE(listedIds().empty());
}

TEST_F(GameRequestTest, ChatLinesComeWithTheGameAndABadLineDropsIt) {
    const std::string lines = "<chats><c from='bob' sent_datetime='2026-01-01 10:00:00'>hi</c>"
                              "<c from='alice' sent_datetime='2026-01-01 10:01:00'>hello</c>"
                              "</chats>";
    script(Endpoint::GetGameChats, {200, gameXml(6, "current_turn_player='bob'", lines)});
    EXPECT_EQ(mClient.getGameChats(6), 0);
    mClient.withGame(6, [](GameRecord* record) {
        ASSERT_NE(record, nullptr);
        ASSERT_EQ(record->mChats.size(), 2u);
        EXPECT_EQ(record->mChats[0]->mText, "hi");
        EXPECT_EQ(record->mChats[1]->mFrom, "alice");
    });
    EXPECT_EQ(*mServer.requests()[0].field("gameID"), "6");

    script(Endpoint::GetGameChats,
           {200, gameXml(6, "current_turn_player='bob'",
                         "<chats><c from='bob' sent_datetime='yesterday'>hi</c></chats>")});
    EXPECT_EQ(mClient.getGameChats(6), 2);
    EXPECT_TRUE(listedIds().empty());
    EXPECT_EQ(mPurged, (std::vector<int64_t>{6}));

    script(Endpoint::AddGameChat, {200, "<Error>NotLoggedIn</Error>"});
    EXPECT_EQ(mClient.addGameChat(6, "good game, well played"), 1);
    const ReceivedRequest sent = mServer.requests().back();
    EXPECT_EQ(*sent.field("gameid"), "6");
    EXPECT_EQ(*sent.field("chat"), "good game, well played");
}

TEST_F(GameRequestTest, AnotherPlayersRecordKeepsWhatWasReadBeforeAMissingAttribute) {
    std::string nickname;
    std::string avatar = "before";
    int32_t home = 0;
    int32_t away = 0;
    script(Endpoint::GetUserRecordByNickname,
           {200, "<player nickname='Bob' home_color='3' away_color='4' avatar='PACK|1'/>"});
    EXPECT_EQ(mClient.getUserRecordByNickname("bob", nickname, home, away, avatar), 0);
    EXPECT_EQ(nickname, "Bob");
    EXPECT_EQ(home, 3);
    EXPECT_EQ(away, 4);
    EXPECT_EQ(avatar, parseAvatarString("PACK|1"));
    EXPECT_EQ(*mServer.requests()[0].field("invAccount"), "bob");

    script(Endpoint::GetUserRecordByNickname,
           {200, "<player nickname='Cy' home_color='5' away_color='6'/>"});
    avatar = "before";
    EXPECT_EQ(mClient.getUserRecordByNickname("cy", nickname, home, away, avatar), 1);
    EXPECT_EQ(nickname, "Cy");
    EXPECT_EQ(away, 6);
    EXPECT_EQ(avatar, "before");
}
