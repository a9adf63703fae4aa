// Candidate actions (class version 5) and their result records (class
// version 21) in the saved-state archive. Fields an older archive lacks keep
// a new action's values; an older record gets the defaults the format
// fixes, its puppet upgrade levels derived from the upgrade bases and the
// bloodrage bit.

#include "rules/GameArchive.h"

namespace {

// Leaves the action's nesting level when the fields are read or a read fails.
class ActionDepth {
public:
    explicit ActionDepth(GameIArchive& ar) : mArchive(&ar) { ar.enterAction(); }
    explicit ActionDepth(GameOArchive& /*ar*/) {}
    ~ActionDepth() {
        if (mArchive != nullptr)
            mArchive->leaveAction();
    }
    ActionDepth(const ActionDepth&) = delete;
    ActionDepth& operator=(const ActionDepth&) = delete;

private:
    GameIArchive* mArchive = nullptr;
};

// The puppet upgrade level of a record older than version 17.
int32_t derivedUpgradeLevel(int32_t upgradeBase, const FlagBits& flags) {
    if (flags.size() >= 2 && flags[ActionResultInfo::cFlagBloodrage])
        return 1;
    return upgradeBase;
}

} // namespace

template <class Archive> void CandidateAction::serialize(Archive& ar, unsigned version) {
    checkClassVersion(version, boost::serialization::version<CandidateAction>::value);
    version = fieldVersion(ar, cArchiveCandidateAction, version);
    const ActionDepth depth(ar);
    ar& mGame;
    ar& mSourceEntity;
    ar& mActionType;
    ar& mSourceGrid;
    ar& mSourceOwner;
    ar& mSourceSlot;
    ar& mTargetGrid;
    ar& mTargetOwner;
    ar& mTargetSlot;
    ar& mTargetEntity;
    ar& mInitialState;
    ar& mTargetInitialState;
    ar& mResults;
    if (version >= 1) {
        ar& mInitialVictoryHealthFraction[0];
        ar& mInitialVictoryHealthFraction[1];
        ar& mFinalVictoryHealthFraction[0];
        ar& mFinalVictoryHealthFraction[1];
    }
    if (version >= 3) {
        ar& mInitialAssaultDebuff[0];
        ar& mInitialAssaultDebuff[1];
        ar& mFinalAssaultDebuff[0];
        ar& mFinalAssaultDebuff[1];
    }
    if (version >= 4) {
        ar& mLinkSourceEntity;
        ar& mLinkTargetEntity;
        ar& mSubActions;
        ar& mIsSubAction;
    }
    if (version >= 5)
        ar& mActionPointCost;
}

template <class Archive> void ActionResultInfo::serialize(Archive& ar, unsigned version) {
    constexpr bool loading = Archive::is_loading::value;
    constexpr unsigned current = boost::serialization::version<ActionResultInfo>::value;
    checkClassVersion(version, current);
    version = fieldVersion(ar, cArchiveActionResultInfo, version);
    ar& mEntityID;
    ar& mInitialState;
    ar& mFinalState;
    ar& mHealthChange;
    if (loading && version < 6 && mHealthChange == -1)
        mHealthChange = 0;
    if (version >= 1)
        ar& mScore;
    if (version >= 2) {
        ar& mInitialHealthFraction;
        // Older records stored a percentage. A current one may hold more
        // than 1.0 (health above the maximum) and is taken as it is.
        if (loading && version < current && mInitialHealthFraction > 1.0f)
            mInitialHealthFraction *= 0.01f;
    }
    if (version >= 3) {
        ar& mInitialSlot;
        ar& mFinalSlot;
    } else if constexpr (loading) {
        mInitialSlot = GridSlot();
        mFinalSlot = GridSlot();
    }
    if (version >= 4)
        ar& mPower;
    if (version >= 5)
        ar& mFinalHealthFraction;
    if (version >= 7)
        ar& mKilled;
    else if (loading && mInitialState == cStateKnockedOut && mFinalState == cStateDead)
        mKilled = true;
    if (version >= 8) {
        ar& mInitialAuraFlags;
        ar& mFinalAuraFlags;
    } else if constexpr (loading) {
        mInitialAuraFlags.assign(cAuraFlagCount, false);
        mFinalAuraFlags.assign(cAuraFlagCount, false);
    }
    if (version >= 9) {
        ar& mInitialUpgradeBase;
        ar& mFinalUpgradeBase;
    }
    if (version >= 10)
        ar& mMaxHealthChanged;
    if (version >= 11)
        ar& mChainTarget;
    if (version >= 12) {
        ar& mInitialFlags;
        ar& mFinalFlags;
    } else if constexpr (loading) {
        mInitialFlags.assign(cFlagCount, false);
        mFinalFlags.assign(cFlagCount, false);
    }
    if (version >= 13)
        ar& mDestroyedGearProtoID;
    if (version >= 14) {
        ar& mInitialCharge;
        ar& mFinalCharge;
    }
    if (version >= 15) {
        ar& mEstablishedOngoingLink;
        ar& mBrokeOngoingLink;
    }
    if (version >= 16)
        ar& mFinalOngoingTarget;
    if (version >= 17) {
        ar& mInitialPuppetUpgradeLevel;
        ar& mFinalPuppetUpgradeLevel;
    } else if constexpr (loading) {
        mInitialPuppetUpgradeLevel = derivedUpgradeLevel(mInitialUpgradeBase, mInitialFlags);
        mFinalPuppetUpgradeLevel = derivedUpgradeLevel(mFinalUpgradeBase, mFinalFlags);
    }
    if (version >= 18)
        ar& mSpotted;
    if (version >= 19)
        ar& mBackstabbed;
    if (version >= 20)
        ar& mInitialOngoingTarget;
    if (version >= 21)
        ar& mEquippedGearProtoID;
}

template void CandidateAction::serialize<GameIArchive>(GameIArchive&, unsigned);
template void CandidateAction::serialize<GameOArchive>(GameOArchive&, unsigned);
template void ActionResultInfo::serialize<GameIArchive>(GameIArchive&, unsigned);
template void ActionResultInfo::serialize<GameOArchive>(GameOArchive&, unsigned);
