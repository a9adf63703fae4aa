#pragma once

// The bot's tests: the sample content loaded once per process, games made
// and turns played with the rules as a client makes and plays them (under
// the server's rules lock, since an in-process bot shares the model), and a
// wait for the bot's answer.

#include "ServiceClientSupport.h"

#include "tools/server/ServerBot.h"
#include "tools/server/ServerContent.h"

#include "rules/Game.h"
#include "rules/SelfPlay.h"

#include "content/DataPath.h"
#include "content/settings/SettingsManager.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

inline bool loadSampleContent() {
    static const bool loaded = [] {
        setBaseFolder(TARNWICK_SOURCE_DIR);
        std::string error;
        const bool done = loadServerContent(error);
        if (!done)
            ADD_FAILURE() << error;
        return done;
    }();
    return loaded;
}

inline int32_t civIdOf(const std::string& name) {
    int32_t id = -1;
    SettingsManager::instance().civIDForName(name, id);
    return id;
}

// A game built by the rules as self-play sets one up: the cosmetic generator
// and the game seeded with seed, then the first states of the (seat, civ)
// pairs, saved.
inline std::vector<uint8_t> firstState(int32_t seed,
                                       const std::vector<std::pair<int32_t, std::string>>& seats) {
    const std::lock_guard rules(ServerBot::rulesMutex());
    gRng.seed(static_cast<uint32_t>(seed));
    Game* game = new Game();
    std::vector<uint8_t> blob;
    if (game->init(seed)) {
        bool set = true;
        for (const auto& [seat, civ] : seats)
            set = set && game->setUpFirstState(seat, civIdOf(civ));
        if (set)
            blob = game->saveToBuffer();
    }
    game->release();
    return blob;
}

// The turn of the player at seat on state, as self-play plays it; winner
// gets the winner after it (-1 none) and the reason (0 the game goes on).
inline std::vector<uint8_t> playedTurn(const std::vector<uint8_t>& state, int32_t seat,
                                       int32_t seed, int32_t turns,
                                       std::pair<int32_t, int32_t>* winner = nullptr) {
    const std::lock_guard rules(ServerBot::rulesMutex());
    SelfPlayOptions options;
    options.mSeed = seed;
    gRng.seed(static_cast<uint32_t>(seed));
    SelfPlay play(options);
    SelfPlayTurn turn;
    SelfPlayResult result;
    std::vector<uint8_t> next = play.playTurn(state, seat, turns, turn, result);
    for (const std::string& problem : result.mProblems)
        ADD_FAILURE() << problem;
    if (winner != nullptr)
        *winner = {result.mWinner, turn.mGameOver ? std::max(result.mReason, 1) : result.mReason};
    return next;
}

// True when the blob loads into a game with seat as its current player.
inline bool loads(const std::vector<uint8_t>& blob, int32_t seat) {
    const std::lock_guard rules(ServerBot::rulesMutex());
    Game* game = new Game();
    game->mCurrentPlayer = seat;
    const bool loaded =
        game->loadFromBuffer(blob.data(), static_cast<int32_t>(blob.size()), 1, false);
    game->release();
    return loaded;
}

inline std::vector<uint8_t> stateOf(const GameRecord& record) {
    return {record.mStateData.get(), record.mStateData.get() + record.mStateSize};
}

// The game as client sees it once its current turn player is nickname;
// null after a minute without.
inline std::unique_ptr<GameRecord> waitForTurn(const ServiceClient& client, int64_t id,
                                               const std::string& nickname) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < deadline) {
        std::unique_ptr<GameRecord> game =
            client.post("Game/getGameState", {}, {}, {{"gameid", std::to_string(id)}})
                .game(nickname);
        if (game != nullptr && game->mCurrentTurnPlayer == nickname)
            return game;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return nullptr;
}

inline FormFields submitTurnFields(int64_t id) {
    return {{"gameid", std::to_string(id)},
            {"tauntRequest", "0"},
            {"clientBuildVersion", "1039"},
            {"currentTurnCount", "1"}};
}

inline FormFields submittedState(const std::vector<uint8_t>& state) {
    return {{"state", base64(state)}, {"status", "none"}, {"iscomplete", "0"}};
}

// A whole game of alice against the bot: alice creates it against bot with
// a first state, plays her turns with self-play and submits them (Inactive
// with Won or Lost when her turn decides the game); the bot answers until a
// winner, and a loss alice has not seen is settled as her follow-up does.
// Every fetched blob loads and the statuses end as the winner says. The
// blobs of the game in turn order; empty after a failure.
inline std::vector<std::vector<uint8_t>> playWholeGame(const ServiceClient& alice,
                                                       const std::string& bot) {
    std::vector<std::vector<uint8_t>> blobs;
    std::vector<uint8_t> state = firstState(2, {{0, "orcs"}});
    const std::unique_ptr<GameRecord> created =
        alice.post("Game/createGame", createGameFields(bot, "orcs"), {{"state", base64(state)}})
            .game("Alice");
    if (created == nullptr) {
        ADD_FAILURE() << "the game was not created";
        return {};
    }
    const std::string id = std::to_string(created->mGameID);
    state = stateOf(*created);
    int aliceWon = -1; // 1 won, 0 lost, -1 open
    for (int round = 0; round < 600 && aliceWon < 0; ++round) {
        std::pair<int32_t, int32_t> winner;
        const std::vector<uint8_t> mine = playedTurn(state, 0, round, 2 * round, &winner);
        blobs.push_back(mine);
        FormFields fields = submittedState(mine);
        if (winner.second != 0 && winner.first >= 0) {
            aliceWon = winner.first == 0 ? 1 : 0;
            fields = {{"state", base64(mine)},
                      {"status", "inactive"},
                      {"substatus", aliceWon == 1 ? "won" : "lost"},
                      {"iscomplete", "0"}};
        }
        if (mine.empty() ||
            alice.post("Game/submitTurn", submitTurnFields(created->mGameID), fields).mRoot !=
                "Game") {
            ADD_FAILURE() << "round " << round << ": the turn was not submitted";
            return {};
        }
        if (aliceWon >= 0)
            break;
        const std::unique_ptr<GameRecord> answered = waitForTurn(alice, created->mGameID, "Alice");
        if (answered == nullptr || !loads(stateOf(*answered), 0)) {
            ADD_FAILURE() << "round " << round << ": no answer that loads";
            return {};
        }
        state = stateOf(*answered);
        blobs.push_back(state);
        if (!answered->mIsComplete)
            continue;
        const PlayerRecord* played = answered->getLocalPlayer();
        aliceWon = played->mSubstatus == cSubstatusWon ? 1 : 0;
        if (played->mSubstatus == cSubstatusLostNotSeen) {
            EXPECT_EQ(played->mStatus, cGameActive);
            // The follow-up of a loss not yet seen.
            EXPECT_EQ(alice
                          .post("Game/updatePlayerStatus", {{"gameid", id}, {"status", "inactive"}},
                                {{"substatus", "lost"}, {"iscomplete", "1"}})
                          .mRoot,
                      "Success");
        }
    }
    if (aliceWon < 0) {
        ADD_FAILURE() << "no winner in 600 rounds";
        return {};
    }
    const std::unique_ptr<GameRecord> final =
        alice.post("Game/getGameState", {}, {}, {{"gameid", id}}).game("Alice");
    if (final == nullptr) {
        ADD_FAILURE() << "the finished game does not read";
        return {};
    }
    EXPECT_TRUE(final->mIsComplete);
    EXPECT_EQ(final->getLocalPlayerGameState("Alice"), cNotActive);
    EXPECT_EQ(final->getLocalPlayer()->mSubstatus, aliceWon == 1 ? cSubstatusWon : cSubstatusLost);
    EXPECT_EQ(final->getOpponent()->mStatus, cGameInactive);
    EXPECT_EQ(final->getOpponent()->mSubstatus, aliceWon == 1 ? cSubstatusLost : cSubstatusWon);
    EXPECT_TRUE(loads(stateOf(*final), 0));
    std::printf("Alice %s after %zu turns\n", aliceWon == 1 ? "won" : "lost", blobs.size());
    return blobs;
}
