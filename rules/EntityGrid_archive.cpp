// The grids in the saved-state archive: the EntityGrid part (class version
// 1) and each subclass, which writes that part as its base object. A rack
// or graveyard of version 0 carries its player after the base, which is
// read and dropped.

#include "rules/GameArchive.h"

template <class Archive> void EntityGrid::serialize(Archive& ar, unsigned version) {
    checkClassVersion(version, boost::serialization::version<EntityGrid>::value);
    version = fieldVersion(ar, cArchiveEntityGrid, version);
    if (version >= 1) {
        ar& mGridType;
        ar& mOwner;
    }
    ar& mGame;
    ar& mSlots;
    ar& mCount;
    ar& mWidth;
    ar& mHeight;
    ar& mFlags;
}

template <class Archive> void TileChest::serialize(Archive& ar, unsigned version) {
    checkClassVersion(version, boost::serialization::version<TileChest>::value);
    ar& boost::serialization::base_object<EntityGrid>(*this);
}

template <class Archive> void GameBoard::serialize(Archive& ar, unsigned version) {
    checkClassVersion(version, boost::serialization::version<GameBoard>::value);
    version = fieldVersion(ar, cArchiveGameBoard, version);
    ar& boost::serialization::base_object<EntityGrid>(*this);
    if (version >= 1)
        ar& mProtoIndex;
}

namespace {

// The player a rack or graveyard of version 0 names after its base: the
// owner's when writing; read and dropped.
template <class Archive> void playerOfVersion0(Archive& ar, const EntityGrid& grid) {
    Player* player = nullptr;
    if constexpr (Archive::is_saving::value) {
        if (grid.getGame() != nullptr)
            player = grid.getGame()->getPlayer(grid.getOwner());
    }
    ar& player;
}

} // namespace

template <class Archive> void TileRack::serialize(Archive& ar, unsigned version) {
    checkClassVersion(version, boost::serialization::version<TileRack>::value);
    version = fieldVersion(ar, cArchiveTileRack, version);
    ar& boost::serialization::base_object<EntityGrid>(*this);
    if (version == 0)
        playerOfVersion0(ar, *this);
}

template <class Archive> void Graveyard::serialize(Archive& ar, unsigned version) {
    checkClassVersion(version, boost::serialization::version<Graveyard>::value);
    version = fieldVersion(ar, cArchiveGraveyard, version);
    ar& boost::serialization::base_object<EntityGrid>(*this);
    if (version == 0)
        playerOfVersion0(ar, *this);
}

template void EntityGrid::serialize<GameIArchive>(GameIArchive&, unsigned);
template void EntityGrid::serialize<GameOArchive>(GameOArchive&, unsigned);
template void TileChest::serialize<GameIArchive>(GameIArchive&, unsigned);
template void TileChest::serialize<GameOArchive>(GameOArchive&, unsigned);
template void GameBoard::serialize<GameIArchive>(GameIArchive&, unsigned);
template void GameBoard::serialize<GameOArchive>(GameOArchive&, unsigned);
template void TileRack::serialize<GameIArchive>(GameIArchive&, unsigned);
template void TileRack::serialize<GameOArchive>(GameOArchive&, unsigned);
template void Graveyard::serialize<GameIArchive>(GameIArchive&, unsigned);
template void Graveyard::serialize<GameOArchive>(GameOArchive&, unsigned);
