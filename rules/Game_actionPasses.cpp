// Game: the passes over the board's units that follow an action (the
// executing action runs them), and the count of units on victory-damage
// squares that the action records keep for the crystal-debuff display.

#include "rules/Game.h"

#include "rules/Entity.h"
#include "rules/GameBoard.h"

#include "content/settings/PremiumTileInfo.h"

namespace {

// Calls visit(entity) for the entity in each board slot, reading the slot
// afresh each time (the passes may move or remove units).
template <class Visit> void forEachBoardEntity(GameBoard* board, Visit visit) {
    for (int32_t i = 0; board != nullptr && i < board->getSlotCount(); ++i)
        if (Entity* entity = board->getEntityAtIndex(i))
            visit(*entity);
}

} // namespace

void Game::updateOngoingLinks(CandidateAction* action) {
    forEachBoardEntity(mGameBoard, [&](Entity& entity) { entity.updateOngoingLink(action); });
}

void Game::applyOngoingEffects(CandidateAction* action) {
    forEachBoardEntity(mGameBoard, [&](Entity& entity) { entity.applyOngoingEffects(action); });
}

int32_t Game::countUnitsOnVictoryDamageSquares(int32_t player) const {
    const PremiumTileInfo* squares =
        mGameBoard != nullptr ? mGameBoard->getPremiumSquares() : nullptr;
    if (squares == nullptr)
        return 1;
    int32_t count = 0;
    for (int32_t i = 0; i < mGameBoard->getSlotCount(); ++i) {
        const Entity* unit = mGameBoard->getEntityAtIndex(i);
        if (unit == nullptr || unit->mOwner != player || !unit->isAlive())
            continue;
        const PremiumTileEntry* entry = squares->getEntryAt(unit->mSlot.x, unit->mSlot.y);
        if (entry != nullptr && entry->mType == cPremiumVictoryDamageAdd)
            ++count;
    }
    return count;
}
