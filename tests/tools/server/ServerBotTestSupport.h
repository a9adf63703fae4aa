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

// A game built by the rules: init with seed, then the first states of the
// (seat, civ) pairs, saved.
inline std::vector<uint8_t> firstState(int32_t seed,
                                       const std::vector<std::pair<int32_t, std::string>>& seats) {
    const std::lock_guard rules(ServerBot::rulesMutex());
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
