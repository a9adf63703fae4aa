#include "rules/GamesList.h"

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
