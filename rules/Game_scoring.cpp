// Game: the premium-square sums that scoring and the attack rules read, and
// adding score. A "living board unit" is an entity on the game board that is
// neither knocked out nor dead.

#include "rules/Game.h"

#include "rules/Entity.h"
#include "rules/GameBoard.h"
#include "rules/GameSceneInterface.h"
#include "rules/Player.h"

#include "content/protos/ProtoEntity.h"
#include "content/settings/ProtoGameBoard.h"
#include "content/settings/SettingsManager.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace {

// The board's premium squares; null when the board or its layout has none.
const PremiumTileInfo* premiumSquares(const GameBoard* board) {
    const ProtoGameBoard* layout = board != nullptr ? board->getProtoGameBoard() : nullptr;
    if (layout == nullptr || !layout->mPremiumTiles || layout->mPremiumTiles->mEntries.empty())
        return nullptr;
    return layout->mPremiumTiles.get();
}

// Calls visit(unit) for each living board unit, in slot order.
template <class Visit> void forEachLivingUnit(const GameBoard& board, Visit visit) {
    for (int32_t i = 0; i < board.getSlotCount(); ++i) {
        const Entity* unit = board.getEntityAtIndex(i);
        if (unit != nullptr && unit->isAlive() && unit->getProto() != nullptr)
            visit(*unit);
    }
}

} // namespace

int32_t Game::getScoreMultiplier(int32_t player) const {
    const PremiumTileInfo* squares = premiumSquares(mGameBoard);
    if (squares == nullptr)
        return 1;
    int32_t multiplier = 1;
    forEachLivingUnit(*mGameBoard, [&](const Entity& unit) {
        if (unit.mOwner == player)
            squares->applyBonusAt(unit.mSlot.x, unit.mSlot.y, cPremiumScoreMultiplier, multiplier,
                                  1.0f);
    });
    return multiplier;
}

int32_t Game::getVictoryDamageModifier(int32_t player) const {
    const PremiumTileInfo* squares = premiumSquares(mGameBoard);
    if (squares == nullptr)
        return 1;
    int32_t modifier = 0;
    forEachLivingUnit(*mGameBoard, [&](const Entity& unit) {
        const int32_t type =
            unit.mOwner == player ? cPremiumVictoryDamageAdd : cPremiumVictoryDamageSubtract;
        squares->applyBonusAt(unit.mSlot.x, unit.mSlot.y, type, modifier,
                              unit.getProto()->mPremiumBonus);
    });
    return modifier;
}

void Game::addScore(int32_t player, int32_t points) {
    Player* scorer = getPlayer(player);
    if (scorer == nullptr || points == 0)
        return;
    scorer->mScore += points;
    refreshBannerText(player);
}

void Game::refreshBannerText(int32_t player) const {
    if (gGameScene != nullptr && getPlayer(player) != nullptr)
        gGameScene->setPlayerHealthText(player, player == mCurrentPlayer ? 0 : 1, -1);
}

void Game::awardTurnStartScore() {
    // A snapshot that undo reloads holds this turn's award already.
    if (std::exchange(mSkipTurnStartScore, false))
        return;
    Player* player = getCurrentPlayer();
    const PremiumTileInfo* squares = premiumSquares(mGameBoard);
    if (player == nullptr || SettingsManager::instance().mScoreToWin == 0 || squares == nullptr)
        return;
    const int32_t multiplier = getScoreMultiplier(mCurrentPlayer);
    std::vector<const Entity*> units;
    forEachLivingUnit(*mGameBoard, [&](const Entity& unit) {
        if (unit.mOwner == mCurrentPlayer)
            units.push_back(&unit);
    });
    std::sort(units.begin(), units.end(),
              [](const Entity* a, const Entity* b) { return a->mId < b->mId; });
    int32_t total = 0;
    int32_t awards = 0;
    for (const Entity* unit : units) {
        int32_t amount = 0;
        squares->applyBonusAt(unit->mSlot.x, unit->mSlot.y, cPremiumScore, amount, 1.0f);
        if (amount <= 0)
            continue;
        const int32_t points = amount * multiplier;
        total += points;
        mScoreFlyouts.push_back(std::make_unique<ScoreFlyoutInfo>(
            ScoreFlyoutInfo{points, unit->mId, 1.0f + 0.15f * static_cast<float>(awards++)}));
    }
    if (total > 0)
        player->mScore += total;
}
