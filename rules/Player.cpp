#include "rules/Player.h"

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameSceneInterface.h"
#include "rules/Graveyard.h"
#include "rules/PuzzleScript.h"
#include "rules/SceneServices.h"
#include "rules/TileChest.h"
#include "rules/TileRack.h"

#include "content/settings/SettingsManager.h"

#include "platform/engine/CCDirector.h"

#include <algorithm>

using cocos2d::CCPoint;

namespace {

bool splitTileChest() {
    return SettingsManager::instance().mSplitTileChest;
}

} // namespace

Player::Player(Game* game, int32_t index) : mGame(game), mIndex(index) {}

Player::~Player() {
    unlink();
    delete mTileRack;
    delete mGraveyard;
    delete mTileChest;
}

bool Player::linkAt(const CCPoint& position) {
    if (!link(position, cocos2d::CCSize(0.0f, 0.0f)))
        return false;
    if (mGame == nullptr || mGame->getCurrentPlayer() != this)
        return true;
    if (gGameScene != nullptr)
        gGameScene->refreshPlayerBanners();
    bool linked = true;
    if (mTileRack != nullptr) {
        const float width = cocos2d::CCDirector::hasSharedDirector()
                                ? cocos2d::CCDirector::sharedDirector()->getWinSize().width
                                : 0.0f;
        linked = mTileRack->linkAt(CCPoint(width / 2.0f + 8.0f, 21.0f)) && linked;
    }
    if (splitTileChest() && mTileChest != nullptr)
        linked = mTileChest->linkAt(CCPoint(25.0f, 25.0f)) && linked;
    return linked;
}

void Player::unlink() {
    if (mTileRack != nullptr)
        mTileRack->unlink();
    if (mTileChest != nullptr)
        mTileChest->unlink();
    CocosLinkageDelegate::unlink();
}

bool Player::createGrids() {
    mHasFinishedTurn = false;
    delete mTileRack;
    mTileRack = new TileRack(mIndex, mGame);
    mTileRack->setSize(SettingsManager::instance().mTileRackWidth, 1);
    delete mGraveyard;
    mGraveyard = new Graveyard(mIndex, mGame);
    mGraveyard->setSize(1, 1);
    return true;
}

bool Player::createTileChest() {
    if (mTileChest != nullptr)
        return true;
    mTileChest = new TileChest(mIndex, mGame);
    mTileChest->setSize(1, 1);
    TileChest::fill(mTileChest);
    return true;
}

bool Player::setCiv(int32_t civId, bool keepEntities) {
    if (SettingsManager::instance().getCiv(civId) == nullptr)
        return false;
    mCivId = civId;
    if (keepEntities || mGame == nullptr)
        return true;
    for (Entity* entity : mGame->mEntities)
        if (entity->mOwner == mIndex)
            entity->applyCivVariant(civId);
    return true;
}

void Player::addActionPoints(int32_t amount) {
    mActionPoints += amount;
    if (gGameScene == nullptr)
        return;
    if (mGame != nullptr && mGame->getCurrentPlayer() == this)
        gGameScene->refreshPlayerBanners();
    if (PuzzleScript* script = gGameScene->getPuzzleScript())
        script->onAPRemaining(this);
}

const EntityGrid* Player::board() const {
    return mGame != nullptr ? mGame->getGrid(cGridGameBoard, mIndex) : nullptr;
}

bool Player::hasUnitsLeft() const {
    return EntityGrid::countLiving(mTileRack, mIndex, nullptr) ||
           EntityGrid::countLiving(board(), mIndex, nullptr) ||
           (splitTileChest() && EntityGrid::countLiving(mTileChest, -1, nullptr));
}

int32_t Player::countRemainingUnits() const {
    int32_t count = 0;
    EntityGrid::countLiving(mTileRack, mIndex, &count);
    EntityGrid::countLiving(board(), mIndex, &count);
    if (splitTileChest())
        EntityGrid::countLiving(mTileChest, -1, &count);
    return count;
}

int32_t Player::getVictoryHealth() const {
    int32_t health = 0;
    for (int32_t id : mVictoryUnitIds)
        if (const Entity* entity = mGame != nullptr ? mGame->getEntity(id) : nullptr)
            health += entity->mHealth;
    return health;
}

int32_t Player::getVictoryMaxHealth() const {
    int32_t health = 0;
    for (int32_t id : mVictoryUnitIds)
        if (const Entity* entity = mGame != nullptr ? mGame->getEntity(id) : nullptr)
            health += entity->getMaxHealth();
    return health;
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
