#include "rules/ServerTurn.h"

#include "rules/GameArchive.h"
#include "rules/GameRecord.h"

#include <boost/archive/binary_iarchive.hpp>
#include <boost/archive/binary_oarchive.hpp>
#include <boost/serialization/vector.hpp>

#include <sstream>

ServerTurn::ServerTurn(const Game& game)
    : mPlayer(game.mCurrentPlayer), mTaunt(game.countTaunts(game.mCurrentPlayer) > 0 ? 1 : 0),
      mTurn(game.mTurnCount) {
    const GameRecord* record = game.getGameRecord();
    mComplete = record != nullptr && record->mIsComplete ? 1 : 0;
    mCommands.reserve(game.mCommands.size());
    for (const auto& command : game.mCommands)
        mCommands.push_back(command.get());
}

std::string ServerTurn::toArchive() const {
    std::ostringstream bytes(std::ios::binary);
    {
        boost::archive::binary_oarchive archive(bytes);
        archive << *this;
    }
    return std::move(bytes).str();
}

template <class Archive> void ServerTurn::serialize(Archive& ar, unsigned /*version*/) {
    ar& mBuildNumber;
    ar& mPlayer;
    ar& mTaunt;
    ar& mTurn;
    ar& mComplete;
    ar& mCommands;
}

template <class Archive> void ServerGameCommand::serialize(Archive& ar, unsigned /*version*/) {
    ar& mEntityId;
    ar& mGridType;
    ar& mTarget;
}

template void ServerTurn::serialize(boost::archive::binary_oarchive&, unsigned);
template void ServerTurn::serialize(boost::archive::binary_iarchive&, unsigned);
template void ServerGameCommand::serialize(boost::archive::binary_oarchive&, unsigned);
template void ServerGameCommand::serialize(boost::archive::binary_iarchive&, unsigned);
