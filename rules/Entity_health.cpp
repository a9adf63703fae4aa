// Entity: health, which moves in steps of 5 and knocks the unit out when it
// reaches 0, and the revival of a knocked-out unit.

#include "rules/Entity.h"

#include "rules/GameBoard.h"
#include "rules/RulesMath.h"

#include "content/protos/ProtoEntity.h"

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
    mHealth = std::max(roundToFive(value), 0);
    if (mHealth <= 0)
        knockOut();
    return true;
}

void Entity::knockOut() {
    // Scoring and achievements of a knock-out belong to the attack rules.
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
