#pragma once

// The before/after record of one entity touched by a CandidateAction. The
// initial half is taken from the live entity when the record is made (the
// first time the action touches the entity), the final half when the action
// has been executed; the rules that change the entity write the rest
// (health change, score, kill and link flags). Playback and replay drive the
// views from these records alone, so nothing is recomputed after execution.

#include "rules/FlagBits.h"
#include "rules/GridSlot.h"
#include "rules/ObjectPool.h"

#include <cstdint>

class Entity;
class Game;

class ActionResultInfo {
public:
    static constexpr int32_t cAuraFlagCount = 20;
    static constexpr int32_t cFlagCount = 2;
    // Bits of mInitialFlags / mFinalFlags.
    static constexpr int32_t cFlagBloodrage = 0;
    static constexpr int32_t cFlagEquipped = 1;

    // A record of that entity; with a game, the initial half is captured
    // from the game's entity at once (nothing when the id names none).
    explicit ActionResultInfo(int32_t entityID, const Game* game = nullptr);
    virtual ~ActionResultInfo();

    // A loaded game holds thousands: kept blocks are reused.
    static void* operator new(size_t size) { return ObjectPool<ActionResultInfo>::allocate(size); }
    static void operator delete(void* block, size_t size) {
        ObjectPool<ActionResultInfo>::deallocate(block, size);
    }

    // Fills the initial half from the game's entity; nothing when the id
    // names no entity.
    void captureInitialState(const Game* game);
    // Fills the final half likewise; the final flags' bit 1 is kept.
    void captureFinalState(const Game* game);

    // The saved-state archive (CandidateAction_archive.cpp).
    template <class Archive> void serialize(Archive& ar, unsigned version);

    int32_t mEntityID;
    int32_t mInitialState = -1;
    int32_t mFinalState = -1;
    float mInitialHealthFraction = -1.0f;
    float mFinalHealthFraction = -1.0f;
    GridSlot mInitialSlot;
    GridSlot mFinalSlot;
    int32_t mHealthChange = 0;
    int32_t mScore = 0;
    int32_t mPower = -1;
    bool mKilled = false;
    bool mMaxHealthChanged = false;
    FlagBits mInitialAuraFlags;
    FlagBits mFinalAuraFlags;
    int32_t mInitialUpgradeBase = 0;
    int32_t mFinalUpgradeBase = 0;
    bool mChainTarget = false;
    FlagBits mInitialFlags;
    FlagBits mFinalFlags;
    int32_t mDestroyedGearProtoID = -1;
    int32_t mInitialCharge = 0;
    int32_t mFinalCharge = 0;
    bool mEstablishedOngoingLink = false;
    bool mBrokeOngoingLink = false;
    int32_t mInitialOngoingTarget = -1;
    int32_t mFinalOngoingTarget = -1;
    int32_t mInitialPuppetUpgradeLevel = 0;
    int32_t mFinalPuppetUpgradeLevel = 0;
    bool mSpotted = false;
    bool mBackstabbed = false;
    int32_t mEquippedGearProtoID = -1;

private:
    // The fields of one half of the record.
    struct Half {
        int32_t& state;
        float& healthFraction;
        FlagBits& auraFlags;
        int32_t& upgradeBase;
        GridSlot& slot;
        FlagBits& flags;
        int32_t& puppetUpgradeLevel;
        int32_t& charge;
    };
    // Fills the half from the entity; nothing without one.
    static void store(const Entity* entity, Half half);
};
