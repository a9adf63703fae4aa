#pragma once

// The game of the attack, damage and heal tests: the content of
// tests/fixtures/rules/combat (an 8 x 5 board with a crystal per side at
// (0, 2) and (7, 2), one proto per rule), local, player 0 to move, on the
// bare board unless a test picks the one with premium squares. Actions made
// here are the game's executing action and are released at the end; drops
// played through the game leave the undo stack empty at the end; the
// achievement tracker starts and ends empty.

#include "ActionsTestSupport.h"

#include "rules/AchievementTracker.h"
#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/Player.h"

#include <vector>

inline const std::string cCombatFixture = std::string(TARNWICK_FIXTURES_DIR) + "/rules/combat";

class CombatTest : public ActionsGameTest {
protected:
    static constexpr int32_t cPremiumBoard = 0;
    static constexpr int32_t cBareBoard = 1;

    CombatTest() : ActionsGameTest(cCombatFixture) {}

    void SetUp() override {
        ActionsGameTest::SetUp();
        board()->setProtoIndex(cBareBoard);
        AchievementTracker::popScope(true);
    }
    void TearDown() override {
        if (mGame != nullptr) {
            mGame->mExecutingAction = nullptr;
            mGame->clearUndoStack();
        }
        for (CandidateAction* action : mActions)
            action->release();
        mActions.clear();
        AchievementTracker::popScope(true);
        ActionsGameTest::TearDown();
    }
    // A fresh game for the next row of a table.
    void restart() {
        TearDown();
        mGame = nullptr;
        SetUp();
    }

    // A new action of that type from source, made the executing one.
    CandidateAction* executing(int32_t type, const Entity* source) {
        auto* action = new CandidateAction(mGame, 1);
        action->mActionType = type;
        action->mSourceEntity = source != nullptr ? source->mId : -1;
        mActions.push_back(action);
        mGame->mExecutingAction = action;
        return action;
    }
    // source attacks target in a new executing action; the action.
    CandidateAction* attack(Entity* source, const Entity* target) {
        CandidateAction* action = executing(cActionAttack, source);
        source->attack(target != nullptr ? target->mId : -1, action);
        return action;
    }
    CandidateAction* heal(Entity* source, const Entity* target) {
        CandidateAction* action = executing(cActionHeal, source);
        source->heal(target->mId, action);
        return action;
    }
    // source dropped on target's square and performed by the game, as in
    // play; the action the game recorded, null when the drop was refused.
    CandidateAction* play(const Entity* source, const Entity* target) {
        if (!mGame->dropEntity(source->mId, cGridGameBoard, target->mSlot))
            return nullptr;
        return mGame->mActions.back();
    }
    // Player 1's crystal and player 0's.
    Entity* enemyCrystal() const { return at(7, 2); }
    Entity* ownCrystal() const { return at(0, 2); }

    std::vector<CandidateAction*> mActions;
};
