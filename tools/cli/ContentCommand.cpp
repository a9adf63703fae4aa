// tarnwick-cli content (the default): loads the game data as start-up does
// (protos, settings, boards, civs, colours, avatar and taunt packs) and the puzzle
// catalogue, and prints a summary of it. Unusable game data ends with the
// localised "Game Data Corrupt" and exit code 1.
#include "tools/cli/CliCommand.h"

#include "content/AvatarPack.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"
#include "scene/widgets/TauntPack.h"

#include <cstdio>

namespace {

void printAllocation(const TileAllocation& allocation) {
    std::printf("        tiles (%s):", allocation.mRandomize ? "shuffled" : "in order");
    for (const auto& entry : allocation.mEntries) {
        if (entry->mType == TileAllocationEntry::cRandomChoice) {
            std::printf(" [%d of", entry->mChoose);
            for (const auto& record : entry->mTiles)
                std::printf(" %s x%d", record->mName.c_str(), record->mCount);
            std::printf("]");
        } else {
            std::printf(" %s x%d", entry->mTiles[0]->mName.c_str(), entry->mTiles[0]->mCount);
        }
    }
    std::printf("\n");
}

void printBoard(const ProtoGameBoard& board) {
    int32_t victoryPieces = 0;
    for (const auto& piece : board.mPreplaced)
        victoryPieces += piece->mVictoryHealthPool ? 1 : 0;
    std::printf("%s: %d premium squares, %zu pieces placed (%d in victory pools), ",
                board.mArt.c_str(), board.mPremiumTiles->countOfType(-1), board.mPreplaced.size(),
                victoryPieces);
    if (board.mDeployZone)
        std::printf("deploy zone of %zu squares\n", board.mDeployZone->mTiles.size());
    else
        std::printf("no deploy zone\n");
}

void printColors(const char* list, const std::vector<std::unique_ptr<PlayerColor>>& colors) {
    std::printf("    %s:", list);
    for (const auto& color : colors)
        std::printf(" %s (%d, %d, %d)", color->mName.c_str(), color->mRed, color->mGreen,
                    color->mBlue);
    std::printf("\n");
}

void printCategory(const SettingsManager& settings, int32_t index, int depth) {
    std::string name;
    settings.categoryName(index, name);
    std::printf("%*s%d \"%s\"\n", 4 + 4 * depth, "", index, name.c_str());
    for (int32_t n = 0; n < settings.subcategoryCount(index); ++n)
        printCategory(settings, settings.getSubcategory(index, n), depth + 1);
    for (int32_t n = 0; n < settings.puzzleCount(index); ++n) {
        const ProtoPuzzle* puzzle = settings.getPuzzle(index, n);
        std::printf("%*s%s \"%s\": %zu teams, %s", 8 + 4 * depth, "", puzzle->mName.c_str(),
                    puzzle->mDisplayName.c_str(), puzzle->mIncludedTeams.size(),
                    puzzle->mScript ? "scripted, " : "");
        if (puzzle->mBoard)
            printBoard(*puzzle->mBoard);
        else
            std::printf("no board\n");
    }
}

} // namespace

int runContent(const CliArguments&) {
    if (!loadGameData())
        return 1;
    SettingsManager& settings = SettingsManager::instance();
    settings.loadPuzzleCategories();
    std::printf("%d protos, %zu kinds of premium square, %zu boards, %zu civs, "
                "%zu home and %zu away colours, %zu puzzle categories\n",
                Database::protoCount(), settings.mPremiumTiles.size(), settings.mGameBoards.size(),
                settings.mCivs.size(), settings.mHomeColors.size(), settings.mAwayColors.size(),
                settings.mPuzzleCategories.size());
    std::printf("civs:\n");
    for (const auto& civ : settings.mCivs) {
        std::printf("    %d %s \"%s\": %d action points\n", civ->mId, civ->mName.c_str(),
                    civ->mDisplayName.c_str(), civ->mActionsPerTurn);
        if (civ->mTileAllocation)
            printAllocation(*civ->mTileAllocation);
        else
            std::printf("        no tiles\n");
    }
    std::printf("boards:\n");
    for (size_t i = 0; i < settings.mGameBoards.size(); ++i) {
        std::printf("    %zu ", i);
        printBoard(*settings.mGameBoards[i]);
    }
    std::printf("colours:\n");
    printColors("home", settings.mHomeColors);
    printColors("away", settings.mAwayColors);
    std::printf("avatar packs:\n");
    for (const auto& pack : AvatarPack::packs())
        std::printf("    %s \"%s\": %zu avatars\n", pack->mId.c_str(), pack->mDisplayName.c_str(),
                    pack->mAvatars.size());
    std::printf("taunt packs:\n");
    for (const auto& pack : gTauntPacks)
        std::printf("    %s \"%s\": %d taunts\n", pack->SKU.c_str(), pack->displayName.c_str(),
                    pack->count);
    std::printf("puzzles:\n");
    for (int32_t root : {settings.mTutorialsCategoryIndex, settings.mChallengesCategoryIndex})
        if (root >= 0)
            printCategory(settings, root, 0);
    return 0;
}
