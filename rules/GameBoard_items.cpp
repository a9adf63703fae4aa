// GameBoard: taking items off the units on the board for the rules, the
// selection of item auras, and the overlays shown while the board is
// touched.

#include "rules/GameBoard.h"

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/Game.h"

#include "content/protos/ProtoEntity.h"

template <class Removal> bool GameBoard::removeFromUnits(int32_t player, Removal removal) {
    CandidateAction* action = mGame != nullptr ? mGame->mExecutingAction : nullptr;
    if (action == nullptr)
        return false;
    bool changedAny = false;
    forEachUnit([&](Entity& unit) {
        if (player >= 0 && unit.mOwner != player)
            return;
        // The unit's record is kept only when the removal changed the unit.
        ActionResultInfo* result = action->findResult(unit.mId);
        const bool madeHere = result == nullptr;
        if (madeHere)
            result = action->getOrCreateResult(unit.mId);
        if (removal(unit))
            changedAny = true;
        else if (madeHere)
            action->discardResult(result);
    });
    return changedAny;
}

bool GameBoard::removeItemFromUnits(int32_t protoId, int32_t creatorId, int32_t player) {
    return removeFromUnits(player, [&](Entity& unit) {
        return unit.removeEquippedItemMatching(protoId, creatorId, false);
    });
}

bool GameBoard::removeItemsOfKind(int32_t creatorId) {
    return removeFromUnits(
        -1, [&](Entity& unit) { return unit.removeEquippedItemMatching(-1, creatorId, true); });
}

bool GameBoard::consumeEndOfTurnBuffs(int32_t player) {
    return removeFromUnits(-1, [&](Entity& unit) { return unit.consumeEndOfTurnBuff(player); });
}

void GameBoard::setAurasSelected(bool selected, int32_t creatorId) {
    forEachUnit([&](Entity& unit) {
        CocosEntityLink* view = unit.getEntityLink();
        if (view == nullptr || unit.mInventory == nullptr)
            return;
        for (int32_t i = 0; i < unit.mInventory->getSlotCount(); ++i) {
            const Entity* item = unit.mInventory->getEntityAtIndex(i);
            const ProtoEntity* proto = item != nullptr ? item->getProto() : nullptr;
            if (proto != nullptr && item->mCreatorEntityID == creatorId && proto->mBuffInfo &&
                proto->mBuffInfo->mAuraType != -1)
                view->setAuraSelected(proto->mBuffInfo->mAuraType, selected, 0.0f);
        }
    });
}

void GameBoard::showEntityOverlays() {
    forEachUnit([](Entity& unit) {
        CocosEntityLink* view = unit.getEntityLink();
        if (view == nullptr)
            return;
        view->updateHealthBar(0.0f);
        view->showHealthBar(0.1f);
        for (int32_t i = 0; unit.mInventory != nullptr && i < unit.mInventory->getSlotCount(); ++i)
            if (const int32_t itemId = unit.mInventory->getEntityIdAtIndex(i); itemId >= 0)
                view->attachEquipmentSprite(itemId, true);
    });
}

void GameBoard::hideEntityOverlays() {
    forEachUnit([](Entity& unit) {
        if (CocosEntityLink* view = unit.getEntityLink()) {
            view->hideHealthBar(0.1f);
            view->hideEquipmentSprites();
        }
    });
}
