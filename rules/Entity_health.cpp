// Entity: health, which moves in steps of 5 and knocks the unit out when it
// reaches 0 (scoring for the local player when the unit is the other
// side's), and the revival of a knocked-out unit.

#include "rules/Entity.h"

#include "rules/AchievementTable.h"
#include "rules/AchievementTracker.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/RulesMath.h"

#include "content/protos/ProtoEntity.h"
#include "content/settings/SettingsManager.h"

#include <algorithm>

int32_t Entity::addHealth(int32_t change) {
    const int32_t before = mHealth;
    const int64_t raised = static_cast<int64_t>(before) + roundToFive(change);
    mHealth = static_cast<int32_t>(std::max<int64_t>(std::min<int64_t>(raised, getMaxHealth()), 0));
    if (mHealth <= 0 && before > 0)
        knockOut();
    return mHealth - before;
}

bool Entity::setHealth(int32_t value) {
    if (value > getMaxHealth() || value == mHealth)
        return false;
    const int32_t before = mHealth;
    mHealth = std::max(roundToFive(value), 0);
    // A unit already at 0 is not knocked out (nor scored) again.
    if (mHealth <= 0 && before > 0)
        knockOut();
    return true;
}

void Entity::knockOut() {
    // The local player scores for knocking out a unit of the other side.
    if (mGame != nullptr && mGame->isLocalTurn() && mOwner != mGame->mCurrentPlayer) {
        if (const ScoringInfo* scoring = SettingsManager::instance().mScoringInfo.get())
            mGame->addScore(mGame->mCurrentPlayer,
                            scoring->mKnockout * mGame->getScoreMultiplier(mGame->mCurrentPlayer));
        AchievementTracker::setPendingValue(cAchievementKnockoutEnemy, 0);
        AchievementTracker::countToward(cAchievementKnockout3, 0, 3);
        if (isVictoryUnit()) {
            // Two different victory units in one turn.
            AchievementTracker::incrementCounter(cAchievementTwoCrystalsOneTurn, mId, -1);
            if (AchievementTracker::countCounters(cAchievementTwoCrystalsOneTurn, -1) >= 2)
                AchievementTracker::setPendingValue(cAchievementTwoCrystalsOneTurn, 0);
        }
    }
    if (GameBoard* gameBoard = board())
        gameBoard->removeItemsOfKind(mId);
    mCharge = 0;
    if (mState != cStateKnockedOut) {
        mKnockedOutTurns = 0;
        changeState(cStateKnockedOut);
    }
}

int32_t Entity::revive(int32_t amount, float multiplier) {
    if (mState != cStateKnockedOut)
        return 0;
    const int32_t gained = addHealth(truncateToInt(static_cast<float>(amount) * multiplier));
    if (gained > 0 && mHealth > 0 && mState != cStateDeployedToGameBoard)
        changeState(cStateDeployedToGameBoard);
    return gained;
}
