#include "rules/GameRecord.h"

#include "content/NoCase.h"

#include <algorithm>

namespace {

constexpr const char* cUnknownWord = "unknown";
constexpr const char* cStatusWords[] = {"active", "inactive", "deleted"};
constexpr const char* cSubstatusWords[] = {"none",     "won",      "lost",
                                           "resigned", "declined", "lostnotseen"};

// Words from value 1, ignoring case; 0 for any other word.
template <size_t N>
int32_t wordValue(const char* const (&words)[N], std::string_view word) {
    for (size_t i = 0; i < N; ++i)
        if (equalsNoCase(word, words[i]))
            return static_cast<int32_t>(i + 1);
    return 0;
}

template <size_t N>
const char* valueWord(const char* const (&words)[N], int32_t value) {
    if (value < 1 || value > static_cast<int32_t>(N))
        return cUnknownWord;
    return words[value - 1];
}

} // namespace

int32_t gameStatusFromString(std::string_view word) {
    return wordValue(cStatusWords, word);
}

int32_t playerSubstatusFromString(std::string_view word) {
    return wordValue(cSubstatusWords, word);
}

const char* gameStatusToString(int32_t status) {
    return valueWord(cStatusWords, status);
}

const char* playerSubstatusToString(int32_t substatus) {
    return valueWord(cSubstatusWords, substatus);
}

const std::array<std::string, 3>& creationMethodNames() {
    static const std::array<std::string, 3> names = {"CUSTOM", "FACEBOOK", "MATCHMADE"};
    return names;
}

PlayerRecord* GameRecord::getPlayer(int32_t index) const {
    if (index < 0 || index >= static_cast<int32_t>(mPlayers.size()))
        return nullptr;
    return mPlayers[static_cast<size_t>(index)].get();
}

int32_t GameRecord::findPlayerIndex(std::string_view name) const {
    for (size_t i = 0; i < mPlayers.size(); ++i)
        if (equalsNoCase(mPlayers[i]->mName, name))
            return static_cast<int32_t>(i);
    return -1;
}

int32_t GameRecord::findOtherPlayerIndex(std::string_view name) const {
    for (size_t i = 0; i < mPlayers.size(); ++i)
        if (!equalsNoCase(mPlayers[i]->mName, name))
            return static_cast<int32_t>(i);
    return -1;
}

bool GameRecord::isLocalPlayersTurn(std::string_view name) const {
    const PlayerRecord* player = getPlayer(findPlayerIndex(name));
    return player != nullptr && player->mStatus == cGameActive &&
           equalsNoCase(mCurrentTurnPlayer, name);
}

PlayerRecord* GameRecord::getLocalPlayer() const {
    if (!mPlayers.empty() && mPlayers[0]->mIsLocal)
        return mPlayers[0].get();
    return getPlayer(1);
}

PlayerRecord* GameRecord::getOpponent() const {
    if (mPlayers.size() < 2)
        return nullptr;
    return mPlayers[0]->mIsLocal ? mPlayers[1].get() : mPlayers[0].get();
}

LocalGameState GameRecord::getLocalPlayerGameState(std::string_view nickname) const {
    const PlayerRecord* player = getPlayer(findPlayerIndex(nickname));
    if (player == nullptr)
        return cNotInGame;
    if (player->mStatus != cGameActive)
        return cNotActive;
    return isLocalPlayersTurn(nickname) ? cMyTurn : cOpponentsTurn;
}

void GameRecord::copyFrom(const GameRecord* fresh) {
    if (fresh == nullptr)
        return;
    const size_t shared = std::min(mPlayers.size(), fresh->mPlayers.size());
    for (size_t i = 0; i < shared; ++i)
        *mPlayers[i] = *fresh->mPlayers[i];
    mChats.clear();
    for (const std::unique_ptr<ChatRecord>& chat : fresh->mChats)
        mChats.push_back(std::make_unique<ChatRecord>(*chat));
    mLastTurnTime = fresh->mLastTurnTime;
    mHasLastTurnTime = fresh->mHasLastTurnTime;
    mCurrentTurnPlayer = fresh->mCurrentTurnPlayer;
    mTurnCount = fresh->mTurnCount;
    mIsComplete = fresh->mIsComplete;
}

void GameRecord::setState(const uint8_t* bytes, int32_t size) {
    mStateData.reset();
    mStateSize = 0;
    if (bytes == nullptr || size <= 0)
        return;
    mStateData = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(size));
    std::copy_n(bytes, size, mStateData.get());
    mStateSize = size;
}
