#pragma once

// What one action did to one entity: its state before (taken when the record
// is made) and the changes the rules noted while the action ran. Playback
// shows the action from these records without recomputing it. Owned by the
// CandidateAction whose mResults holds it.

#include "rules/GridSlot.h"

#include <cstdint>
#include <vector>

class Game;

class ActionResultInfo {
public:
    // Bits of the initial and final flag vectors.
    static constexpr int32_t cFlagBloodrage = 0;
    static constexpr int32_t cFlagEquipped = 1;

    // A record of that entity with the entity's present state as its
    // initial half (nothing taken when the game has no such entity).
    ActionResultInfo(Game* game, int32_t entityId);
    virtual ~ActionResultInfo();

    // Fills the initial half from the live entity.
    void captureInitialState(Game* game);

    int32_t mEntityID;
    int32_t mInitialState = -1;
    int32_t mFinalState = -1;
    float mInitialHealthFraction = -1.0f;
    float mFinalHealthFraction = -1.0f;
    GridSlot mInitialSlot;
    int32_t mHealthChange = 0;
    bool mMaxHealthChanged = false;
    std::vector<bool> mInitialAuraFlags;
    int32_t mInitialUpgradeBase = 0;
    std::vector<bool> mInitialFlags;
    std::vector<bool> mFinalFlags;
    int32_t mDestroyedGearProtoID = -1;
    int32_t mInitialCharge = 0;
    bool mEstablishedOngoingLink = false;
    bool mBrokeOngoingLink = false;
    int32_t mInitialOngoingTarget = -1;
    int32_t mFinalOngoingTarget = -1;
    int32_t mInitialPuppetUpgradeLevel = 0;
    int32_t mEquippedGearProtoID = -1;
};
