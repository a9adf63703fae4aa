// Player in the saved-state archive (class version 8). Fields an older
// archive lacks get the values the format fixes for them.

#include "rules/GameArchive.h"

template <class Archive> void Player::serialize(Archive& ar, unsigned version) {
    constexpr bool loading = Archive::is_loading::value;
    checkClassVersion(version, boost::serialization::version<Player>::value);
    version = fieldVersion(ar, cArchivePlayer, version);
    ar& mGame;
    ar& mIndex;
    ar& mScore;
    ar& mTileRack;
    ar& mActionPoints;
    if (version >= 1)
        ar& mGraveyard;
    if (version >= 2)
        ar& mArchiveValue;
    if (version >= 3)
        ar& mLastTurn;
    if (version >= 4)
        ar& mVictoryUnitIds;
    if (version >= 5)
        ar& mCivId;
    else if constexpr (loading)
        mCivId = 0;
    if (version >= 6)
        ar& mCivAssigned;
    else if constexpr (loading)
        mCivAssigned = true;
    if (version >= 7)
        ar& mTileChest;
    if (version >= 8)
        ar& mHasFinishedTurn;
}

template void Player::serialize<GameIArchive>(GameIArchive&, unsigned);
template void Player::serialize<GameOArchive>(GameOArchive&, unsigned);
