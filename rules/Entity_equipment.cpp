// Entity: taking gear and buffs off a unit, the buffs an action, a move or
// a turn's end uses up, and the questions about what a unit carries. A
// removed item goes to its owner's graveyard and the executing action notes
// it; a buff that consumes all others takes every other item of its proto
// off its owner's units.

#include "rules/Entity.h"

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/CocosEntityLink.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/Graveyard.h"
#include "rules/Player.h"

#include "content/protos/Database.h"

#include "platform/engine/CCNode.h"

#include <algorithm>

namespace {

// The buff part of an item that is a buff; null otherwise.
const BuffInfo* buffOf(const Entity& item) {
    const ProtoEntity* proto = item.getProto();
    return proto != nullptr && proto->mType == cEntityBuff ? proto->mBuffInfo.get() : nullptr;
}

} // namespace

bool Entity::removeEquippedItem(int32_t itemId) {
    Entity* item = mGame != nullptr ? mGame->getEntity(itemId) : nullptr;
    if (item == nullptr || mInventory == nullptr)
        return false;
    const std::vector<int32_t>& slots = mInventory->getSlots();
    if (std::find(slots.begin(), slots.end(), itemId) == slots.end())
        return false;
    ActionResultInfo* result = resultIn(mGame->mExecutingAction);
    const Player* owner = item->getOwner();
    Graveyard* graveyard = owner != nullptr ? owner->mGraveyard : nullptr;
    if (graveyard == nullptr || !mInventory->moveEntityToFirstFree(itemId, graveyard))
        mInventory->removeEntity(itemId);

    const ProtoEntity* proto = item->getProto();
    if (proto != nullptr && proto->mHitPoints > 0 && mHealth > getMaxHealth())
        setHealth(getMaxHealth());
    if (const CocosEntityLink* view = item->getEntityLink())
        if (cocos2d::CCNode* node = view->getMainNode())
            node->setIsVisible(false);
    if (result != nullptr)
        result->mDestroyedGearProtoID = item->mProtoId;
    if (proto != nullptr && proto->mBuffInfo && proto->mBuffInfo->mConsumesAllOthers)
        if (GameBoard* gameBoard = board())
            gameBoard->removeItemFromUnits(item->mProtoId, -1, item->mOwner);
    return true;
}

bool Entity::removeEquippedItemMatching(int32_t protoId, int32_t creatorId,
                                        bool onlyDiesWithCaster) {
    for (const Entity* item : items()) {
        if ((protoId >= 0 && item->mProtoId != protoId) ||
            (creatorId >= 0 && item->mCreatorEntityID != creatorId))
            continue;
        if (onlyDiesWithCaster) {
            const ProtoEntity* proto = item->getProto();
            if (proto == nullptr || !proto->mBuffInfo || !proto->mBuffInfo->mDiesWithCaster)
                continue;
        }
        return removeEquippedItem(item->mId);
    }
    return false;
}

bool Entity::resetEquipment() {
    bool removed = false;
    for (const Entity* item : items())
        removed = removeEquippedItem(item->mId) || removed;
    return removed;
}

bool Entity::consumeEndOfTurnBuff(int32_t player) {
    for (const Entity* item : items()) {
        const BuffInfo* buff = buffOf(*item);
        if (buff == nullptr)
            continue;
        if ((item->mOwner == player && buff->mConsumeType == cConsumeEndOfTurn) ||
            (item->mOwner == 1 - player && buff->mConsumeType == cConsumeEndOfEnemyTurn))
            return removeEquippedItem(item->mId);
    }
    return false;
}

void Entity::consumeBuffs(std::initializer_list<int32_t> consumeTypes) {
    for (const Entity* item : items()) {
        const BuffInfo* buff = buffOf(*item);
        if (buff != nullptr && item->mState == cStateEquipped &&
            std::find(consumeTypes.begin(), consumeTypes.end(), buff->mConsumeType) !=
                consumeTypes.end())
            removeEquippedItem(item->mId);
    }
}

void Entity::consumeActionBuffs(bool usedPower) {
    if (usedPower)
        consumeBuffs({cConsumeAction, cConsumeActionOrMove, cConsumeActionOrDamage,
                      cConsumeActionOrMoveOrDamage, cConsumePowerUsingAction});
    else
        consumeBuffs({cConsumeAction, cConsumeActionOrMove, cConsumeActionOrDamage,
                      cConsumeActionOrMoveOrDamage});
}

void Entity::consumeMoveBuffs() {
    consumeBuffs({cConsumeMove, cConsumeActionOrMove, cConsumeActionOrMoveOrDamage});
}

bool Entity::hasEquippedProto(int32_t protoId) const {
    if (protoId < 0)
        return false;
    const std::vector<Entity*> carried = items();
    return std::any_of(carried.begin(), carried.end(), [protoId](const Entity* item) {
        return item->mProtoId == protoId && item->mState == cStateEquipped;
    });
}

bool Entity::carriesBuffEffect(int32_t effectType) const {
    for (const Entity* item : items()) {
        const BuffInfo* buff = buffOf(*item);
        if (buff != nullptr && buff->hasEffectOfType(effectType))
            return true;
    }
    return false;
}

bool Entity::hasEquipRoomFor(int32_t protoId) const {
    const ProtoEntity* proto = Database::getProto(protoId);
    const ProtoEntity* own = getProto();
    if (proto == nullptr || own == nullptr)
        return false;
    // An item of the same proto, or gear of the same class, needs
    // ReplaceEquip or MultiEquip.
    const bool classesCount = proto->mType == cEntityGear && !own->mIgnoresEquipClassRestrictions;
    for (const Entity* item : items()) {
        const ProtoEntity* itemProto = item->getProto();
        if (item->mState != cStateEquipped || itemProto == nullptr)
            continue;
        const bool clash = item->mProtoId == protoId ||
                           (classesCount && itemProto->mClassName == proto->mClassName);
        if (clash && !proto->mReplaceEquip && !proto->mMultiEquip)
            return false;
    }
    return true;
}

int32_t Entity::findEquippedByClass(const std::string& className) const {
    for (const Entity* item : items()) {
        const ProtoEntity* proto = item->getProto();
        if (proto != nullptr && proto->mClassName == className)
            return item->mProtoId;
    }
    return -1;
}

int32_t Entity::getFirstGearProto() const {
    for (const Entity* item : items()) {
        const ProtoEntity* proto = item->getProto();
        if (proto != nullptr && proto->mType != cEntityBuff && proto->mEquipCategory != -1)
            return item->mProtoId;
    }
    return -1;
}

Entity* Entity::getBloodrageBuffItem() const {
    const int32_t bloodrage = Database::getProtoIdByName("bloodrageBuff");
    for (Entity* item : items())
        if (bloodrage >= 0 && item->mProtoId == bloodrage && item->mState == cStateEquipped)
            return item;
    return nullptr;
}

bool Entity::hasBloodrageBuff() const {
    return getBloodrageBuffItem() != nullptr;
}
