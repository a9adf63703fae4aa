// Entity: death. A killed entity leaves its grid for good (it keeps its grid
// pointer and square as they were) and is Dead. Its owner's victory pool may
// take damage for it, its side's units with bloodrage are enraged when the
// other side killed it, and a killer with "APForStomp" gains an action point.

#include "rules/Entity.h"

#include "rules/AchievementTable.h"
#include "rules/AchievementTracker.h"
#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/CocosEntityLink.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/Player.h"

#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"

#include <vector>

void Entity::kill(bool byAction, int32_t killerId) {
    const ProtoEntity* proto = getProto();
    if (mGame == nullptr || proto == nullptr)
        return;
    CandidateAction* action = mGame->mExecutingAction;
    ActionResultInfo* result = byAction ? resultIn(action) : nullptr;

    if (mGrid != nullptr)
        mGrid->removeEntity(mId);
    if (mState != cStateDead) {
        if (CocosEntityLink* view = getEntityLink())
            view->hideTooltipIndicator();
        changeState(cStateDead);
    }
    if (result != nullptr)
        result->mKilled = true;

    const SettingsManager& settings = SettingsManager::instance();
    Player* owner = getOwner();
    if (settings.mUseVictoryHealthPool && settings.mVictoryDamageOnCorpseStomp > 0 &&
        owner != nullptr)
        owner->distributeVictoryDamage(settings.mVictoryDamageOnCorpseStomp);

    const Entity* killer = mGame->getEntity(killerId);
    const bool enemyKiller = killer != nullptr && killer->mOwner != mOwner;
    const bool victoryUnit = isVictoryUnit();
    if (!victoryUnit && enemyKiller)
        enrageAllies(action);

    const ProtoEntity* killerProto = killer != nullptr ? killer->getProto() : nullptr;
    if (enemyKiller && killerProto != nullptr && killerProto->mAPForStomp && !victoryUnit &&
        !proto->mDiesOnKnockOut)
        if (Player* gainer = killer->getOwner())
            gainer->addActionPoints(1);

    if (mOwner != mGame->mCurrentPlayer)
        AchievementTracker::countToward(cAchievementStompTwoHeroes, 0, 2);
}

void Entity::enrageAllies(CandidateAction* action) {
    GameBoard* gameBoard = board();
    if (gameBoard == nullptr)
        return;
    std::vector<Entity*> enraged;
    for (int32_t i = 0; i < gameBoard->getSlotCount(); ++i) {
        Entity* unit = gameBoard->getEntityAtIndex(i);
        const ProtoEntity* proto = unit != nullptr ? unit->getProto() : nullptr;
        if (proto != nullptr && proto->mBloodrage && unit != this && unit->mOwner == mOwner &&
            unit->isAlive() && !unit->isVictoryUnit())
            enraged.push_back(unit);
    }
    if (enraged.empty())
        return;
    const int32_t plain = Database::getProtoIdByName("bloodrageBuff");
    const bool strong = getProto()->mTriggersStrongerBloodrage;
    const int32_t buffProto = strong ? Database::getProtoIdByName("bloodrageStrongBuff") : plain;
    const ProtoEntity* buff = Database::getProto(buffProto);
    if (buff == nullptr)
        return;
    // One rage per unit: the earlier ones go first, all at once, so the new
    // items are not taken off each other.
    if (buff->mBuffInfo && buff->mBuffInfo->mOnePerCaster) {
        gameBoard->removeItemFromUnits(buffProto, -1, -1);
        if (strong)
            gameBoard->removeItemFromUnits(plain, -1, -1);
    }
    for (Entity* unit : enraged)
        giveItem(buffProto, unit->mOwner, mId, unit, action);
}
