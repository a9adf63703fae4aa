#include "rules/Player.h"

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameSceneInterface.h"
#include "rules/Graveyard.h"

#include <algorithm>

Player::Player(Game* game, int32_t index) : mGame(game), mIndex(index) {}

Player::~Player() {
    delete mGraveyard;
    unlink();
}

void Player::addActionPoints(int32_t amount) {
    mActionPoints += amount;
    if (gGameScene != nullptr && mGame != nullptr && mGame->mCurrentPlayer == mIndex)
        gGameScene->refreshPlayerBanners();
}

void Player::distributeVictoryDamage(int32_t amount) {
    if (amount < 1 || mGame == nullptr)
        return;
    auto standing = [this](int32_t id) {
        const Entity* entity = mGame->getEntity(id);
        return entity != nullptr && entity->mState != cStateDead &&
               entity->mState != cStateKnockedOut;
    };
    const auto living = static_cast<int32_t>(
        std::count_if(mVictoryUnitIds.begin(), mVictoryUnitIds.end(), standing));
    if (living == 0)
        return;
    // The shares are fixed before the hits: a unit that dies on the way
    // changes nothing for the others.
    const int32_t share = amount / living;
    for (int32_t id : mVictoryUnitIds) {
        CandidateAction* action = mGame->mExecutingAction;
        if (action == nullptr)
            return;
        if (!standing(id))
            continue;
        Entity* entity = mGame->getEntity(id);
        ActionResultInfo* result = action->getOrCreateResult(id);
        result->mInitialHealthFraction = entity->getHealthFraction();
        result->mInitialState = entity->mState;
        const int32_t dealt = entity->takeDamage(share, 0, 0);
        result->mFinalState = entity->mState;
        result->mFinalHealthFraction = entity->getHealthFraction();
        result->mHealthChange = -dealt;
    }
}
