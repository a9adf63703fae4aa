#include "rules/Entity.h"

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/CocosEntityLink.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/GameRecord.h"
#include "rules/Player.h"
#include "rules/SceneServices.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"

#include "platform/engine/CCNode.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using cocos2d::CCPoint;

ProtoEntity* Entity::getProto() const {
    return Database::getProto(mProtoId);
}

Player* Entity::getOwner() const {
    return mGame != nullptr ? mGame->getPlayer(mOwner) : nullptr;
}

GameBoard* Entity::board() const {
    return mGame != nullptr ? mGame->mGameBoard : nullptr;
}

bool Entity::isOnBoard() const {
    return mGrid != nullptr && mGrid == board();
}

std::vector<Entity*> Entity::items() const {
    std::vector<Entity*> found;
    for (int32_t i = 0; mInventory != nullptr && i < mInventory->getSlotCount(); ++i)
        if (Entity* item = mInventory->getEntityAtIndex(i))
            found.push_back(item);
    return found;
}

ActionResultInfo* Entity::resultIn(CandidateAction* action) const {
    return action != nullptr ? action->getOrCreateResult(mId) : nullptr;
}

bool Entity::isAlive() const {
    return mState != cStateKnockedOut && mState != cStateDead;
}

bool Entity::isVictoryUnit() const {
    const Player* owner = getOwner();
    if (owner == nullptr)
        return false;
    const std::vector<int32_t>& ids = owner->mVictoryUnitIds;
    return std::find(ids.begin(), ids.end(), mId) != ids.end();
}

bool Entity::canBeDragged() const {
    const ProtoEntity* proto = getProto();
    if (proto == nullptr || !proto->mSelectable || mGame == nullptr)
        return false;
    if (mOwner != mGame->mCurrentPlayer)
        return false;
    if (mState == cStateDead || (mState == cStateKnockedOut && !proto->mCanRespawn))
        return false;
    if (!mGame->isLocalTurn() || mGame->isReplaying())
        return false;
    return mState != cStateInTileChest && mState != cStateEquipped;
}

float Entity::getHealthFraction() const {
    const int32_t maxHealth = getMaxHealth();
    if (maxHealth < 1)
        return 0.0f;
    return static_cast<float>(mHealth) / static_cast<float>(maxHealth);
}

bool Entity::isLowHealth(float fraction) const {
    if (fraction < 0.0f)
        fraction = getHealthFraction();
    return fraction <= (isVictoryUnit() ? 0.25f : 0.5f);
}

int32_t Entity::distanceTo(int32_t otherId, bool manhattan) const {
    const Entity* other = mGame != nullptr ? mGame->getEntity(otherId) : nullptr;
    if (other == nullptr || mGrid == nullptr || other->mGrid != mGrid)
        return cFarAway;
    const int32_t dx = std::abs(other->mSlot.x - mSlot.x);
    const int32_t dy = std::abs(other->mSlot.y - mSlot.y);
    return manhattan ? dx + dy : std::max(dx, dy);
}

bool Entity::containsPoint(const CCPoint& point) const {
    const cocos2d::CCNode* node = viewNode();
    if (node == nullptr)
        return false;
    const ProtoEntity* proto = getProto();
    if (proto != nullptr && !proto->mPuppetName.empty())
        return getEntityLink()->hitTestPuppet(point);
    const cocos2d::CCSize half = sceneServices().tileTouchHalfExtents();
    const CCPoint& centre = node->getPosition();
    return std::fabs(point.x - centre.x) <= half.width &&
           std::fabs(point.y - centre.y) <= half.height;
}

int32_t Entity::countRepeatedAttacks() const {
    if (mGame == nullptr)
        return 0;
    const CandidateAction* executing = mGame->mExecutingAction;
    if (executing == nullptr)
        return 0; // nothing performed now: a tooltip's figures
    // The game records an action after executing it, so the one executing
    // now is usually not in the list yet: the run then ends at the list's end.
    const std::vector<CandidateAction*>& actions = mGame->mActions;
    const auto current = std::find(actions.begin(), actions.end(), executing);
    int32_t count = 0;
    for (auto it = current; it != actions.begin();) {
        --it;
        if (*it == nullptr || (*it)->mActionType != cActionAttack || (*it)->mSourceEntity != mId)
            break;
        ++count;
    }
    return count;
}

namespace {

// A colour option read as a byte, with its registered default.
uint8_t colorOption(int32_t id, int32_t fallback) {
    int32_t value = fallback;
    BConfig::instance().getInt(id, value);
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

} // namespace

cocos2d::ccColor3B Entity::getTeamColor() const {
    const bool home = mOwner == 0;
    if (mGame != nullptr && mGame->isLocalGame())
        return home ? cocos2d::ccc3(50, 50, 235) : cocos2d::ccc3(235, 50, 50);
    const GameRecord* record = mGame != nullptr ? mGame->getGameRecord() : nullptr;
    const PlayerRecord* player = record != nullptr ? record->getPlayer(mOwner) : nullptr;
    if (player == nullptr)
        return cocos2d::ccWHITE;
    const SettingsManager& settings = SettingsManager::instance();
    const PlayerColor* color =
        home ? settings.getHomeColor(player->mColor) : settings.getAwayColor(player->mColor);
    if (color != nullptr)
        return cocos2d::ccc3(color->mRed, color->mGreen, color->mBlue);
    if (home)
        return cocos2d::ccc3(colorOption(cOptPlayer1Red, 50), colorOption(cOptPlayer1Green, 50),
                             colorOption(cOptPlayer1Blue, 235));
    return cocos2d::ccc3(colorOption(cOptPlayer2Red, 235), colorOption(cOptPlayer2Green, 50),
                         colorOption(cOptPlayer2Blue, 50));
}
