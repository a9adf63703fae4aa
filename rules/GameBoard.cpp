#include "rules/GameBoard.h"

#include "rules/CocosGameBoardLink.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/Player.h"
#include "rules/RulesMath.h"

#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"

#include <algorithm>
#include <cstdio>
#include <new>

GameBoard::GameBoard(int32_t owner, Game* game) : EntityGrid(owner, game) {
    mGridType = cGridGameBoard;
    mName = "\"Game board\"";
}

GameBoard::~GameBoard() {
    unlink();
}

void GameBoard::createLink() {
    mLink = new (std::nothrow) CocosGameBoardLink(this);
}

CocosGameBoardLink* GameBoard::boardView() const {
    return dynamic_cast<CocosGameBoardLink*>(mLink);
}

int32_t GameBoard::getProtoIndex() {
    return mProtoIndex;
}

ProtoGameBoard* GameBoard::getProtoGameBoard() const {
    const SettingsManager& settings = SettingsManager::instance();
    if (mGame == nullptr || mGame->mPuzzleIndex < 0)
        return settings.getGameBoard(mProtoIndex);
    const ProtoPuzzle* puzzle = settings.getPuzzle(mGame->mPuzzleCategory, mGame->mPuzzleIndex);
    return puzzle != nullptr ? puzzle->mBoard.get() : nullptr;
}

const PremiumTileInfo* GameBoard::getPremiumSquares() const {
    const ProtoGameBoard* layout = getProtoGameBoard();
    if (layout == nullptr || !layout->mPremiumTiles || layout->mPremiumTiles->mEntries.empty())
        return nullptr;
    return layout->mPremiumTiles.get();
}

bool GameBoard::setUp() {
    if (mGame == nullptr)
        return false;
    const SettingsManager& settings = SettingsManager::instance();
    const auto boardCount = static_cast<uint32_t>(settings.mGameBoards.size());
    if (mGame->isLocalGame())
        mProtoIndex = -1;
    else if (boardCount > 0)
        mProtoIndex = static_cast<int32_t>(mGame->mRng.randInt(boardCount - 1));
    setSize(settings.mBoardWidth, settings.mBoardHeight);
    const ProtoGameBoard* layout = getProtoGameBoard();
    if (layout == nullptr)
        return false;

    for (const auto& piece : layout->mPreplaced) {
        const int32_t id =
            mGame->createEntity(Database::getProtoIdByName(piece->mName), piece->mPlayer);
        if (id < 0) {
            std::printf("WARNING: unknown preplaced entity %s, skipping\n", piece->mName.c_str());
            continue;
        }
        if (!placeEntityAt(id, GridSlot(piece->mX, piece->mY))) {
            std::printf("WARNING: preplaced entity %s does not fit at (%d, %d), skipping\n",
                        piece->mName.c_str(), piece->mX, piece->mY);
            continue;
        }
        Player* owner = mGame->getPlayer(piece->mPlayer);
        if (piece->mVictoryHealthPool && owner != nullptr) {
            std::vector<int32_t>& victoryUnits = owner->mVictoryUnitIds;
            if (std::find(victoryUnits.begin(), victoryUnits.end(), id) == victoryUnits.end())
                victoryUnits.push_back(id);
        }
        onEntityAdded(id, nullptr);
        Entity* entity = mGame->getEntity(id);
        if (piece->mHealthFraction < 1.0f)
            entity->setHealth(
                truncateToInt(static_cast<float>(entity->getMaxHealth()) * piece->mHealthFraction));
    }
    return true;
}

bool GameBoard::canPlaceEntityAt(int32_t id, const GridSlot& slot) {
    if (!EntityGrid::canPlaceEntityAt(id, slot))
        return false;
    const Entity* entity = entityFor(id);
    const ProtoEntity* proto = entity != nullptr ? entity->getProto() : nullptr;
    if (proto == nullptr)
        return false;
    switch (entity->mState) {
    case cStateOnTileRack:
        return proto->mDeployToEntityState != -1 || entity->canDeployAt(slot);
    case cStateDeployedToGameBoard:
    case cStateCandidateDeployment:
    case cStateCandidateMovement:
    case cStateCandidateAttack:
        return entity->canMoveTo(slot);
    case cStateKnockedOut:
        return true;
    default:
        return false;
    }
}

void GameBoard::onEntityAdded(int32_t id, EntityGrid* /*source*/) {
    Entity* entity = entityFor(id);
    if (entity != nullptr && entity->mState != cStateDeployedToGameBoard)
        entity->changeState(cStateDeployedToGameBoard);
}

void GameBoard::onEntityPlaced(int32_t id, const GridSlot& /*slot*/) {
    if (Entity* entity = entityFor(id))
        entity->refreshView();
}

bool GameBoard::isInDeployZone(int32_t player, const GridSlot& slot) {
    const ProtoGameBoard* layout = getProtoGameBoard();
    if (layout == nullptr || !layout->mDeployZone)
        return false;
    // The zone lists player 0's squares; player 1's are their mirror image.
    const int32_t x = player == 1 ? mWidth - 1 - slot.x : slot.x;
    const std::vector<DeployTile>& tiles = layout->mDeployZone->mTiles;
    return std::any_of(tiles.begin(), tiles.end(),
                       [&](const DeployTile& tile) { return tile.x == x && tile.y == slot.y; });
}

float GameBoard::getCrystalSpikesBonus(int32_t player) {
    const ProtoGameBoard* layout = getProtoGameBoard();
    if (layout == nullptr || layout->mPremiumTiles->mEntries.empty())
        return 0.0f;
    int32_t total = 0;
    for (int32_t i = 0; i < getSlotCount(); ++i) {
        const Entity* entity = getEntityAtIndex(i);
        const ProtoEntity* proto = entity != nullptr ? entity->getProto() : nullptr;
        if (proto == nullptr || !entity->isAlive() || entity->mOwner != player)
            continue;
        const GridSlot slot = coordsOfIndex(i);
        layout->mPremiumTiles->applyBonusAt(slot.x, slot.y, cPremiumCrystalSpikes, total,
                                            proto->mPremiumBonus);
    }
    return static_cast<float>(total) * 0.01f;
}
