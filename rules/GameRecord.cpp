#include "rules/GameRecord.h"

#include <boost/algorithm/string/predicate.hpp>

PlayerRecord* GameRecord::getPlayer(int32_t index) const {
    if (index < 0 || index >= static_cast<int32_t>(mPlayers.size()))
        return nullptr;
    return mPlayers[static_cast<size_t>(index)].get();
}

int32_t GameRecord::findPlayerIndex(std::string_view name) const {
    for (size_t i = 0; i < mPlayers.size(); ++i)
        if (boost::algorithm::iequals(mPlayers[i]->mName, name))
            return static_cast<int32_t>(i);
    return -1;
}

bool GameRecord::isLocalPlayersTurn(std::string_view name) const {
    const PlayerRecord* player = getPlayer(findPlayerIndex(name));
    return player != nullptr && player->mStatus == cGameActive &&
           boost::algorithm::iequals(mCurrentTurnPlayer, name);
}
