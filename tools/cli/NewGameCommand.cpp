// tarnwick-cli newgame [SEED] [CIV1 CIV2]: loads the game data and sets up a
// new online game from SEED (default 1; it also seeds the cosmetic generator,
// so a run repeats) for the civs named CIV1 and CIV2 (default the first two
// civs), as a new game is set up (racks filled units first), and prints the
// board, the chests and the racks as text.
#include "tools/cli/CliCommand.h"

#include "content/settings/SettingsManager.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/Player.h"
#include "rules/SelfPlay.h"
#include "rules/TileChest.h"
#include "rules/TileRack.h"
#include "scene/sound/SoundPlayback.h"

#include <cstdio>
#include <string>

namespace {

// A grid's tiles: a chest's in the order they are drawn (last slot first),
// a rack's in slot order.
void printTiles(const std::string& title, const EntityGrid* grid) {
    if (grid == nullptr) {
        std::printf("%s: none\n", title.c_str());
        return;
    }
    const bool chest = grid->getGridType() == cGridTileChest;
    std::printf("%s, %d tiles%s:", title.c_str(), grid->getEntityCount(),
                chest ? ", next first" : "");
    for (int32_t n = 0; n < grid->getSlotCount(); ++n) {
        const int32_t index = chest ? grid->getSlotCount() - 1 - n : n;
        if (const Entity* entity = grid->getEntityAtIndex(index))
            std::printf(" %s", protoName(entity).c_str());
    }
    std::printf("\n");
}

// The board as rows of entity ids ("." for an empty square), then its
// entities.
void printGameBoard(const Game& game) {
    GameBoard* board = game.mGameBoard;
    std::printf("board %d (%d x %d):\n", board->getProtoIndex(), board->getWidth(),
                board->getHeight());
    for (int32_t y = 0; y < board->getHeight(); ++y) {
        std::printf("    ");
        for (int32_t x = 0; x < board->getWidth(); ++x) {
            const int32_t id = board->getEntityIdAt(GridSlot(x, y));
            if (id < 0)
                std::printf("   .");
            else
                std::printf("%4d", id);
        }
        std::printf("\n");
    }
    for (int32_t i = 0; i < board->getSlotCount(); ++i) {
        const Entity* entity = board->getEntityAtIndex(i);
        if (entity == nullptr)
            continue;
        std::printf("    %d %s of player %d at (%d, %d), health %d\n", entity->mId,
                    protoName(entity).c_str(), entity->mOwner, entity->mSlot.x, entity->mSlot.y,
                    entity->mHealth);
    }
}

} // namespace

int runNewGame(const CliArguments& arguments) {
    int32_t seed = 1;
    if (!arguments.empty() && !numberArgument(arguments[0], seed))
        return usage();
    if (arguments.size() != 1 && arguments.size() != 3 && !arguments.empty())
        return usage();
    if (!loadGameData())
        return 1;
    // Headless games play no sound.
    muteAudio();
    SettingsManager& settings = SettingsManager::instance();
    int32_t civs[2] = {-1, -1};
    for (size_t i = 0; i < 2; ++i) {
        if (arguments.size() == 3) {
            if (!civArgument(arguments[i + 1], civs[i]))
                return 1;
        } else if (i < settings.mCivs.size()) {
            civs[i] = settings.mCivs[i]->mId;
        }
    }

    Game* game = new Game();
    if (!SelfPlay::setUpNewGame(*game, seed, {civs[0], civs[1]})) {
        std::fprintf(stderr, "the game could not be set up\n");
        game->release();
        return 1;
    }
    game->mCurrentPlayer = 0;

    std::printf("seed %d, turn %d, %s tile chests\n", seed, game->mTurnCount,
                settings.mSplitTileChest ? "split" : "shared");
    for (const Player* player : game->mPlayers) {
        std::string civ;
        settings.civNameForID(player->mCivId, civ);
        std::printf("player %d: %s, %d action points, victory units", player->mIndex, civ.c_str(),
                    player->mActionPoints);
        for (int32_t id : player->mVictoryUnitIds)
            std::printf(" %d", id);
        std::printf(" (health %d of %d)\n", player->getVictoryHealth(),
                    player->getVictoryMaxHealth());
    }
    printGameBoard(*game);
    if (!settings.mSplitTileChest)
        printTiles("shared chest", game->mTileChest);
    for (const Player* player : game->mPlayers) {
        const std::string title = "player " + std::to_string(player->mIndex);
        if (settings.mSplitTileChest)
            printTiles(title + " chest", player->mTileChest);
        printTiles(title + " rack", player->mTileRack);
    }
    game->release();
    return 0;
}
