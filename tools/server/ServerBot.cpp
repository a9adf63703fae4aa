#include "tools/server/ServerBot.h"

#include "tools/server/ServerAccounts.h"
#include "tools/server/ServerRoutes.h"

#include "rules/Game.h"
#include "rules/GameRecord.h"
#include "rules/SelfPlay.h"

#include "content/settings/SettingsManager.h"

#include <openssl/rand.h>

#include <cstdio>
#include <exception>
#include <optional>

namespace {

// A game released when it goes out of scope.
struct GameHolder {
    GameHolder() : mGame(new Game()) {}
    ~GameHolder() { mGame->release(); }
    GameHolder(const GameHolder&) = delete;
    GameHolder& operator=(const GameHolder&) = delete;
    Game* operator->() const { return mGame; }
    Game* mGame;
};

std::vector<uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

bool civId(const std::string& name, int32_t& id) {
    return SettingsManager::instance().civIDForName(name, id) && id >= 0;
}

// The stored blob with the first state of the player at seat added, as the
// player accepting an invitation builds it; empty when it does not load.
std::vector<uint8_t> acceptedState(const ServerGame& game, int seat, const std::string& civ) {
    int32_t civIndex = -1;
    if (!civId(civ, civIndex))
        return {};
    // The cosmetic generator picks the random entries of a chest's tiles.
    gRng.seed(static_cast<uint32_t>(game.mId));
    GameHolder holder;
    holder->mCurrentPlayer = seat;
    const std::vector<uint8_t> blob = bytesOf(game.mState);
    if (!holder->loadFromBuffer(blob.data(), static_cast<int32_t>(blob.size()), game.mId, false) ||
        !holder->setUpFirstState(seat, civIndex))
        return {};
    return holder->saveToBuffer();
}

// The first state of a matched game that has none, as the player to move
// first builds it: seeded by the id's low 32 bits, both players' first
// states in seat order.
std::vector<uint8_t> matchedGameState(const ServerGame& game) {
    gRng.seed(static_cast<uint32_t>(game.mId));
    GameHolder holder;
    if (game.mPlayers.size() != 2 || !holder->init(static_cast<int32_t>(game.mId)))
        return {};
    for (int seat = 0; seat < 2; ++seat) {
        int32_t civIndex = -1;
        if (!civId(game.mPlayers[seat].mCiv, civIndex) || !holder->setUpFirstState(seat, civIndex))
            return {};
    }
    return holder->saveToBuffer();
}

std::string randomPassword() {
    unsigned char bytes[16];
    if (RAND_bytes(bytes, sizeof bytes) != 1)
        throw ServerDatabaseError("no random bytes for a password");
    std::string password;
    for (const unsigned char byte : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", byte);
        password += digits;
    }
    return password;
}

} // namespace

std::mutex& ServerBot::rulesMutex() {
    // The rules' model is process-wide (protos, remap, generators, games list).
    static std::mutex mutex;
    return mutex;
}

ServerBot::ServerBot(ServerDatabase& database, std::string nickname)
    : mDatabase(database), mNickname(std::move(nickname)) {}

ServerBot::~ServerBot() {
    stop();
}

bool ServerBot::start(std::string& error) {
    try {
        mDatabase.transaction([&] {
            ServerAccounts accounts(mDatabase);
            if (std::optional<ServerAccount> account = accounts.byNickname(mNickname)) {
                mNickname = account->mNickname;
                return;
            }
            ServerAccount account;
            account.mLogin = mNickname;
            account.mNickname = mNickname;
            account.mPassword = randomPassword();
            const AccountRefusal refusal = accounts.create(account);
            if (refusal != AccountRefusal::None)
                throw ServerDatabaseError("the bot cannot be \"" + mNickname +
                                          "\": " + refusalText(refusal));
        });
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    {
        const std::lock_guard lock(mMutex);
        mStopping = false;
        mWoken = true;
    }
    mThread = std::thread([this] { run(); });
    return true;
}

void ServerBot::stop() {
    {
        const std::lock_guard lock(mMutex);
        mStopping = true;
    }
    mWake.notify_all();
    if (mThread.joinable())
        mThread.join();
}

void ServerBot::wake() {
    {
        const std::lock_guard lock(mMutex);
        mWoken = true;
    }
    mWake.notify_all();
}

std::string ServerBot::pickCiv(int64_t gameId) const {
    const auto& civs = SettingsManager::instance().mCivs;
    RNG rng;
    rng.seed(static_cast<uint32_t>(gameId) * 2654435761u + 17u);
    // Drawn again while the draw names no civ, as the client's pick is.
    for (int attempt = 0; attempt < 64 && !civs.empty(); ++attempt) {
        const uint32_t index = rng.randInt(static_cast<uint32_t>(civs.size() - 1));
        if (index < civs.size() && civs[index] != nullptr)
            return civs[index]->mName;
    }
    for (const auto& civ : civs)
        if (civ != nullptr)
            return civ->mName;
    return {};
}

bool ServerBot::accept(ServerGame& game) {
    const int seat = seatOf(game, mNickname);
    if (seat < 0)
        return false;
    const std::string civ = pickCiv(game.mId);
    std::vector<uint8_t> state;
    try {
        const std::lock_guard rules(rulesMutex());
        state = acceptedState(game, seat, civ);
    } catch (const std::exception&) {
        state.clear();
    }
    if (state.empty())
        return false;
    game.mPlayers[static_cast<size_t>(seat)].mCiv = civ;
    game.mState.assign(state.begin(), state.end());
    return true;
}

void ServerBot::run() {
    std::unique_lock lock(mMutex);
    while (!mStopping) {
        if (!mWoken) {
            mWake.wait(lock, [this] { return mStopping || mWoken; });
            continue;
        }
        mWoken = false;
        lock.unlock();
        playWaitingGames();
        lock.lock();
    }
}

void ServerBot::playWaitingGames() {
    std::vector<int64_t> ids;
    try {
        mDatabase.transaction([&] { ids = ServerGames(mDatabase).waitingFor(mNickname); });
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarnwick-server: the bot cannot read its games: %s\n", e.what());
        return;
    }
    for (const int64_t id : ids) {
        {
            const std::lock_guard lock(mMutex);
            if (mStopping)
                return;
        }
        try {
            playGame(id);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "tarnwick-server: the bot's turn in game %lld failed: %s\n",
                         static_cast<long long>(id), e.what());
            mFailed.insert({id, -1});
        }
    }
}

void ServerBot::playGame(int64_t id) {
    std::optional<ServerGame> read;
    mDatabase.transaction([&] { read = ServerGames(mDatabase).find(id); });
    if (!read || mFailed.contains({id, read->mTurnCount}) || mFailed.contains({id, -1}))
        return;
    ServerGame game = std::move(*read);
    const int seat = seatOf(game, mNickname);
    if (seat < 0 || game.mPlayers.size() != 2)
        return;

    std::vector<uint8_t> blob;
    std::vector<uint8_t> next;
    std::string civ = game.mPlayers[static_cast<size_t>(seat)].mCiv;
    SelfPlayTurn turn;
    SelfPlayResult result;
    {
        const std::lock_guard rules(rulesMutex());
        if (civ.empty() && !game.mState.empty()) {
            civ = pickCiv(game.mId);
            blob = acceptedState(game, seat, civ);
        } else {
            blob = game.mState.empty() ? matchedGameState(game) : bytesOf(game.mState);
        }
        if (!blob.empty()) {
            SelfPlayOptions options;
            options.mSeed =
                static_cast<int32_t>((game.mId * 1000003 + game.mTurnCount) & 0x7fffffff);
            gRng.seed(static_cast<uint32_t>(options.mSeed));
            SelfPlay play(options);
            next = play.playTurn(blob, seat, static_cast<int32_t>(game.mTurnCount), turn, result);
        }
    }
    if (next.empty()) {
        std::fprintf(stderr, "tarnwick-server: the bot cannot play game %lld: %s\n",
                     static_cast<long long>(id),
                     result.mProblems.empty() ? "the state does not load"
                                              : result.mProblems.front().c_str());
        mFailed.insert({id, game.mTurnCount});
        return;
    }

    mDatabase.transaction([&] {
        ServerGames games(mDatabase);
        std::optional<ServerGame> now = games.find(id);
        // Played on what was stored: a game changed meanwhile keeps its change.
        if (!now || now->mTurnCount != game.mTurnCount || now->mState != game.mState ||
            now->mIsComplete || seatOf(*now, now->mCurrentTurnPlayer) != seat ||
            now->mPlayers.size() != 2 ||
            gameStatusFromString(now->mPlayers[static_cast<size_t>(seat)].mStatus) != cGameActive)
            return;
        ServerGamePlayer& bot = now->mPlayers[static_cast<size_t>(seat)];
        bot.mCiv = civ;
        now->mState.assign(next.begin(), next.end());
        passTurn(*now, seat, serverClock(mDatabase));
        if (result.mReason != 0 || turn.mGameOver)
            endGame(*now, result.mWinner, mNickname);
        games.store(*now);
    });
}
