#include "rules/GamesList.h"

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

int32_t GamesList::countGamesInState(LocalGameState /*state*/) {
    return 0;
}

GameRecord* GamesList::findNthGameInState(int32_t /*n*/, LocalGameState /*state*/) {
    return nullptr;
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
