// Entity in the saved-state archive (class version 10). From version 7 the
// health travels as a fraction of the maximum health, which the game's
// post-load fix-up turns back into health once every proto is resolved.

#include "rules/GameArchive.h"

template <class Archive> void Entity::serialize(Archive& ar, unsigned version) {
    constexpr bool loading = Archive::is_loading::value;
    checkClassVersion(version, boost::serialization::version<Entity>::value);
    version = fieldVersion(ar, cArchiveEntity, version);
    ar& mGame;
    ar& mId;
    ar& mProtoId;
    ar& mOwner;
    ar& mState;
    if (version < 7) {
        ar& mHealth;
        if constexpr (loading)
            mSavedHealthFraction = -1.0f;
    }
    if (version >= 9)
        ar& mShields;
    ar& mGrid;
    ar& mSlot;
    if (version >= 1)
        ar& mInventory;
    if (version >= 2)
        ar& mKnockedOutTurns;
    if (version >= 3)
        ar& mCharge;
    if (version >= 4)
        ar& mCreatorEntityID;
    if (version >= 5)
        ar& mLastGridChangeTurn;
    if (version >= 6)
        ar& mMaxHealthBonus;
    if (version >= 8)
        ar& mPuppetUpgradeLevel;
    if (version >= 10)
        ar& mOngoingTargetEntityID;
    if (version >= 7) {
        if constexpr (loading) {
            ar& mSavedHealthFraction;
        } else {
            const int32_t maxHealth = getMaxHealth();
            float fraction = 0.0f;
            if (maxHealth > 0)
                fraction = static_cast<float>(static_cast<double>(mHealth) / maxHealth);
            ar& fraction;
        }
    }
}

template void Entity::serialize<GameIArchive>(GameIArchive&, unsigned);
template void Entity::serialize<GameOArchive>(GameOArchive&, unsigned);
