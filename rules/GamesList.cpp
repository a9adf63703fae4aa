#include "rules/GamesList.h"

#include "rules/GameRecord.h"

#include <pthread.h>
#include <unistd.h>

namespace {

class EmptyGamesList : public GamesList {
public:
    GameRecord* findGame(int64_t /*gameId*/) override { return nullptr; }
    std::string getNickname() const override { return {}; }
};

GamesList* gInstalled = nullptr;

} // namespace

GamesList::~GamesList() = default;

bool GamesList::isLoggedIn() const {
    return false;
}

int32_t GamesList::countGamesInState(LocalGameState) {
    return 0;
}

GameRecord* GamesList::findNthGameInState(int32_t, LocalGameState) {
    return nullptr;
}

// Without a service every request fails as "anything else".
int GamesList::submitTurn(int64_t, const uint8_t*, int32_t, int32_t&, int32_t, int32_t, int32_t) {
    return 2;
}

int GamesList::submitServerTurn(int64_t, const ServerTurn&, int32_t, int32_t) {
    return 2;
}

int GamesList::updatePlayerStatus(int64_t, int32_t, int32_t) {
    return 2;
}

bool GamesList::followUpGameStatus(int64_t) {
    return false;
}

int GamesList::getGameState(int64_t) {
    return 2;
}

int GamesList::login() {
    return 2;
}

void GamesList::setStoredUsername(std::string_view) {}

void GamesList::setStoredPassword(std::string_view) {}

int32_t GamesList::serverTimeOffset() const {
    return 0;
}

GamesList& gamesList() {
    static EmptyGamesList builtIn;
    return gInstalled != nullptr ? *gInstalled : builtIn;
}

void setGamesList(GamesList* list) {
    gInstalled = list;
}

boost::recursive_mutex& gameDataMutex() {
    static boost::recursive_mutex mutex;
    return mutex;
}

bool gameDataMutexHeldHere() {
#if defined(__GLIBC__) && defined(BOOST_THREAD_HAS_PTHREAD_MUTEXATTR_SETTYPE)
    // A recursive pthread mutex in glibc records its owner's thread id.
    return gameDataMutex().native_handle()->__data.__owner == gettid();
#else
    return true;
#endif
}
