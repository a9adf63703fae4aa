#pragma once

// Helpers of the saved-state tests: a text of every saved field of a game
// (two games with the same text hold the same state), the checks that every
// back-reference points at the game, and the archive and blob of a game
// written at chosen class versions.

#include "rules/GameArchive.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace archive_test {

inline void describeGrid(std::ostringstream& out, const Game& game, const EntityGrid* grid) {
    if (grid == nullptr) {
        out << "none;";
        return;
    }
    out << "type " << grid->getGridType() << " owner " << grid->getOwner() << " size "
        << grid->getWidth() << "x" << grid->getHeight() << " count " << grid->getEntityCount()
        << " flags " << grid->isFlagSet(cGridLinear) << grid->isFlagSet(cGridHidden) << " name "
        << grid->getName() << " game " << (grid->getGame() == &game) << " slots";
    for (int32_t id : grid->getSlots())
        out << ' ' << id;
    if (const auto* board = dynamic_cast<const GameBoard*>(grid))
        out << " layout " << const_cast<GameBoard*>(board)->getProtoIndex();
    out << ";";
}

// Where a grid is: the board, a chest, a rack, a graveyard or an entity's
// equipment.
inline std::string gridName(const Game& game, const EntityGrid* grid) {
    if (grid == nullptr)
        return "none";
    for (const Entity* entity : game.mEntities)
        if (entity->mInventory == grid)
            return "items of " + std::to_string(entity->mId);
    return "grid " + std::to_string(grid->getGridType()) + "/" + std::to_string(grid->getOwner());
}

inline void describeAction(std::ostringstream& out, const Game& game,
                           const CandidateAction* action) {
    if (action == nullptr) {
        out << "[none]";
        return;
    }
    out << "[game " << (action->mGame == &game) << " source " << action->mSourceEntity << " type "
        << action->mActionType << " from " << action->mSourceGrid << "/" << action->mSourceOwner
        << " " << action->mSourceSlot.x << "," << action->mSourceSlot.y << " to "
        << action->mTargetGrid << "/" << action->mTargetOwner << " " << action->mTargetSlot.x << ","
        << action->mTargetSlot.y << " target " << action->mTargetEntity << " states "
        << action->mInitialState << " " << action->mTargetInitialState << " victory "
        << action->mInitialVictoryHealthFraction[0] << " "
        << action->mInitialVictoryHealthFraction[1] << " " << action->mFinalVictoryHealthFraction[0]
        << " " << action->mFinalVictoryHealthFraction[1] << " debuff "
        << action->mInitialAssaultDebuff[0] << " " << action->mInitialAssaultDebuff[1] << " "
        << action->mFinalAssaultDebuff[0] << " " << action->mFinalAssaultDebuff[1] << " link "
        << action->mLinkSourceEntity << " " << action->mLinkTargetEntity << " sub "
        << action->mIsSubAction << " cost " << action->mActionPointCost << "\n";
    for (const ActionResultInfo* r : action->mResults) {
        out << "  result " << r->mEntityID << " states " << r->mInitialState << " "
            << r->mFinalState << " change " << r->mHealthChange << " score " << r->mScore
            << " fractions " << r->mInitialHealthFraction << " " << r->mFinalHealthFraction
            << " slots " << r->mInitialSlot.x << "," << r->mInitialSlot.y << " " << r->mFinalSlot.x
            << "," << r->mFinalSlot.y << " power " << r->mPower << " killed " << r->mKilled
            << " auras";
        for (bool bit : r->mInitialAuraFlags)
            out << bit;
        out << "/";
        for (bool bit : r->mFinalAuraFlags)
            out << bit;
        out << " bases " << r->mInitialUpgradeBase << " " << r->mFinalUpgradeBase << " max "
            << r->mMaxHealthChanged << " chain " << r->mChainTarget << " flags";
        for (bool bit : r->mInitialFlags)
            out << bit;
        out << "/";
        for (bool bit : r->mFinalFlags)
            out << bit;
        out << " gear " << r->mDestroyedGearProtoID << " " << r->mEquippedGearProtoID << " charge "
            << r->mInitialCharge << " " << r->mFinalCharge << " links "
            << r->mEstablishedOngoingLink << r->mBrokeOngoingLink << " ongoing "
            << r->mInitialOngoingTarget << " " << r->mFinalOngoingTarget << " levels "
            << r->mInitialPuppetUpgradeLevel << " " << r->mFinalPuppetUpgradeLevel << " spotted "
            << r->mSpotted << " backstab " << r->mBackstabbed << "\n";
    }
    for (const CandidateAction* sub : action->mSubActions)
        describeAction(out, game, sub);
    out << "]\n";
}

// Every field the archive carries, as text.
inline std::string describe(const Game& game) {
    std::ostringstream out;
    out << "chest ";
    describeGrid(out, game, game.mTileChest);
    out << "\nboard ";
    describeGrid(out, game, game.mGameBoard);
    out << "\n";
    for (const Player* p : game.mPlayers) {
        out << "player " << p->mIndex << " game " << (p->mGame == &game) << " score " << p->mScore
            << " ap " << p->mActionPoints << " value " << p->mArchiveValue << " last "
            << p->mLastTurn << " civ " << p->mCivId << " " << p->mCivAssigned << " finished "
            << p->mHasFinishedTurn << " victory";
        for (int32_t id : p->mVictoryUnitIds)
            out << ' ' << id;
        out << "\n rack ";
        describeGrid(out, game, p->mTileRack);
        out << "\n graveyard ";
        describeGrid(out, game, p->mGraveyard);
        out << "\n chest ";
        describeGrid(out, game, p->mTileChest);
        out << "\n";
    }
    for (const Entity* e : game.mEntities) {
        out << "entity " << e->mId << " game " << (e->mGame == &game) << " proto " << e->mProtoId
            << " owner " << e->mOwner << " state " << e->mState << " health " << e->mHealth
            << " shields " << e->mShields << " in " << gridName(game, e->mGrid) << " at "
            << e->mSlot.x << "," << e->mSlot.y << " out " << e->mKnockedOutTurns << " charge "
            << e->mCharge << " creator " << e->mCreatorEntityID << " moved "
            << e->mLastGridChangeTurn << " bonus " << e->mMaxHealthBonus << " upgrade "
            << e->mPuppetUpgradeLevel << " ongoing " << e->mOngoingTargetEntityID << " items ";
        describeGrid(out, game, e->mInventory);
        out << "\n";
    }
    out << "over " << game.mGameOver << " turn " << game.mTurnCount << "\n";
    for (const CandidateAction* action : game.mActions)
        describeAction(out, game, action);
    for (const auto& taunt : game.mTaunts)
        out << "taunt " << taunt->mEntityId << " " << taunt->mAnimType << "\n";
    for (const auto& fade : game.mKnockOutFades)
        out << "fade " << fade->mEntityId << " " << fade->mSlot.x << "," << fade->mSlot.y << "\n";
    for (const auto& [id, name] : game.mProtoNames)
        out << "proto " << id << " " << name << "\n";
    return out.str();
}

// The bare archive of a game, each listed class written at the version given.
inline std::vector<uint8_t>
archiveOf(const Game& game,
          std::initializer_list<std::pair<ArchiveClass, unsigned>> versions = {}) {
    std::vector<uint8_t> bytes;
    ArchiveSink sink(bytes);
    GameOArchive ar(sink);
    for (const auto& [archiveClass, version] : versions)
        ar.setClassVersion(archiveClass, version);
    ar << game;
    return bytes;
}

inline bool load(Game& game, const std::vector<uint8_t>& bytes, bool pushSnapshot = false) {
    return game.loadFromBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), 42, pushSnapshot);
}

// The next draws of a generator, from a copy.
inline std::vector<uint32_t> nextDraws(const RNG& rng) {
    RNG copy = rng;
    std::vector<uint32_t> draws;
    for (int i = 0; i < 700; ++i)
        draws.push_back(copy.randInt());
    return draws;
}

} // namespace archive_test
