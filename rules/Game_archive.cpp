// Game in the saved-state archive (class version 10), and the fix-up that
// follows every read. Every saved class is registered with the archive
// before the first field, so pointers can name each by its class id. A read
// is checked whole (GameArchiveCheck) before the fix-up uses any of it.

#include "rules/GameArchiveCheck.h"

#include "content/protos/Database.h"

#include <cmath>

namespace {

// A list the game owns through unique_ptr, in the archive as a vector of
// plain pointers. Records read are owned by the list at once; on a failed
// read the archive's list of created objects frees them instead.
template <class Archive, class T>
void serializeOwned(Archive& ar, std::vector<std::unique_ptr<T>>& owned) {
    std::vector<T*> pointers;
    if constexpr (Archive::is_saving::value) {
        pointers.reserve(owned.size());
        for (const auto& record : owned)
            pointers.push_back(record.get());
        ar& pointers;
    } else {
        ar& pointers;
        owned.clear();
        for (T* record : pointers)
            owned.emplace_back(record);
    }
}

} // namespace

template <class Archive> void Game::serialize(Archive& ar, unsigned version) {
    constexpr bool loading = Archive::is_loading::value;
    checkClassVersion(version, boost::serialization::version<Game>::value);
    if constexpr (loading) {
        // Games are never saved through a pointer except back to the root.
        if (ar.getRoot() != this)
            throw ArchiveRefusal("a second game");
    }
    registerArchiveClasses(ar);
    if constexpr (loading)
        ar.setClassesRegistered();
    version = fieldVersion(ar, cArchiveGame, version);
    ar& mTileChest;
    ar& mGameBoard;
    ar& mPlayers;
    ar& mEntities;
    if (version >= 1)
        ar& mRng;
    if (version >= 2)
        ar& mGameOver;
    else if constexpr (loading)
        mGameOver = false;
    if (version >= 4) {
        ar& mTurnCount;
        ar& mActions;
    }
    if (version >= 6)
        serializeOwned(ar, mTaunts);
    if (version == 7) {
        // A list only that version had; nothing follows it.
        std::vector<int32_t> dropped;
        ar& dropped;
    } else {
        if (version >= 9)
            serializeOwned(ar, mKnockOutFades);
        if (version >= 10)
            ar& mProtoNames;
    }
    if constexpr (loading) {
        if (version < 10 && ar.getKeptProtoNames() != nullptr)
            mProtoNames = *ar.getKeptProtoNames();
        GameArchiveCheck::validate(ar, *this);
        fixupAfterLoad();
    }
}

template void Game::serialize<GameIArchive>(GameIArchive&, unsigned);
template void Game::serialize<GameOArchive>(GameOArchive&, unsigned);

void Game::fixupAfterLoad() {
    // Only this game's saved ids are remapped; another game's remap would
    // send ids this one does not name to other protos. A load that fails
    // puts back the remap it found (Game_blob.cpp).
    Database::restoreRemap({});
    for (const auto& [savedId, name] : mProtoNames)
        Database::setRemap(savedId, Database::getProtoIndexByName(name));
    for (Entity* entity : mEntities) {
        const float fraction = entity->mSavedHealthFraction;
        // A negative fraction keeps the health read; NaN fails below.
        if (fraction < 0.0f)
            continue;
        const int32_t maxHealth = entity->getMaxHealth();
        const float scaled = static_cast<float>(maxHealth) * fraction;
        if (!(scaled >= 0.0f && scaled <= static_cast<float>(GameArchiveCheck::cMaxValue)))
            throw ArchiveRefusal("health fraction");
        const auto truncated = static_cast<int32_t>(scaled);
        const auto steps = static_cast<float>(truncated / 5.0 + 0.5);
        entity->mHealth = static_cast<int32_t>(std::floor(steps) * 5.0f);
    }
}
