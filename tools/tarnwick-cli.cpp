// Command-line front of the game's content and rules, run from the folder that
// holds "data" and "vellix" (or with --root pointing at it).
//
//   tarnwick-cli [--root DIR] [content | options | strings [KEY...] | protos | settings]
//
// Every command first runs start-up's content steps: the option files, then
// the strings table of the chosen language.
// options: prints every registered option with its value.
// strings: prints the localised texts of the keys (by default the start-up
//          texts and two formatted examples).
// protos:  loads the entity proto database and prints one line per proto.
// settings: loads the proto database and the rules settings and prints a
//          summary of the settings.
// content: (the default) loads the game data as start-up does (protos,
//          settings, boards, civs, colours) and the puzzle catalogue, and
//          prints a summary of it. Unusable game data ends with the
//          localised "Game Data Corrupt" and exit code 1.

#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"
#include "content/StartupOptions.h"
#include "content/protos/AuraType.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"
#include "platform/steam/SteamClient.h"

#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

int usage() {
    std::fprintf(stderr, "usage: tarnwick-cli [--root DIR] [content | options | strings [KEY...] | "
                         "protos | settings]\n");
    return 2;
}

int printOptions() {
    const BConfig& config = BConfig::instance();
    std::printf("%-4s %-30s %-6s %s\n", "id", "option", "level", "value");
    for (int32_t id = 0; id < cRegisteredOptionCount; ++id) {
        const OptionDesc* desc = config.descriptor(id);
        const OptionValue* record = config.valueById(id);
        if (!config.isSetById(id)) {
            std::printf("%-4d %-30s %-6s (unset)\n", id, desc->name.c_str(), "");
            continue;
        }
        std::string value;
        BConfig::valueToString(*record, value);
        if (record->type == cOptionDefined)
            value = "(defined)";
        else if (record->type == cOptionString)
            value = "\"" + value + "\"";
        std::printf("%-4d %-30s %-6d %s\n", id, desc->name.c_str(), record->level, value.c_str());
    }
    return 0;
}

int printStrings(const std::vector<std::string_view>& keys) {
    static constexpr std::string_view cStartupKeys[] = {
        "Tarnwick",          "OnlyOneInstanceError", "32BitDesktopRequired",
        "ScreenResTooSmall", "Game Data Corrupt",    "Loading...",
    };
    std::printf("%zu texts in %s\n", localizedStrings().size(),
                BConfig::instance().stringById(cOptLanguageDirectory, "").c_str());
    const auto print = [](std::string_view key, const std::string& text) {
        std::printf("%-22.*s %s\n", static_cast<int>(key.size()), key.data(), text.c_str());
    };
    for (std::string_view key : keys.empty() ? std::span(cStartupKeys) : std::span(keys))
        print(key, localizedString(key));
    if (keys.empty()) {
        std::string text;
        formatLocalized(text, "TrayMouseover", 3);
        print("TrayMouseover", text);
        formatLocalized(text, "NewTurnBalloon", "Mira");
        print("NewTurnBalloon", text);
    }
    return 0;
}

int printProtos() {
    if (!Database::init()) {
        std::printf("failed to init database\n");
        return 1;
    }
    for (int32_t id = 0; id < Database::protoCount(); ++id)
        Database::getProto(id)->dump();
    return 0;
}

const char* onOff(bool value) {
    return value ? "on" : "off";
}

// The game-data steps of start-up: every loader runs, a failing one prints
// its line; false when one failed.
bool loadGameData() {
    bool loaded = true;
    if (!Database::init()) {
        std::printf("failed to init database\n");
        loaded = false;
    }
    if (!SettingsManager::instance().init()) {
        std::printf("failed to init settings\n");
        loaded = false;
    }
    std::fflush(stdout);
    if (!loaded)
        std::fprintf(stderr, "%s\n", localizedString("Game Data Corrupt").c_str());
    return loaded;
}

int printSettings() {
    if (!loadGameData())
        return 1;
    const SettingsManager& settings = SettingsManager::instance();
    std::printf("board %d x %d (far rows %.2f wide), tile rack %d\n", settings.mBoardWidth,
                settings.mBoardHeight, static_cast<double>(settings.mBoardMaxDistanceWidthScale),
                settings.mTileRackWidth);
    std::printf("%d action points per turn, knocked-out units die after %d turns, "
                "%d units first\n",
                settings.mActionPointsPerTurn, settings.mKnockoutDeathThreshold,
                settings.mInitialUnitWeighting);
    std::printf("action costs:");
    for (int32_t type = 0; type < cActionTypeCount; ++type)
        std::printf(" %.*s %d", static_cast<int>(cActionTypeNames[type].size()),
                    cActionTypeNames[type].data(), settings.mDefaultActionCost[type]);
    std::printf("\nscore to win %d, victory health pool %s, corpse stomp %d victory damage\n",
                settings.mScoreToWin, onOff(settings.mUseVictoryHealthPool),
                settings.mVictoryDamageOnCorpseStomp);
    if (const ScoringInfo* scoring = settings.mScoringInfo.get())
        std::printf("scoring: deploy %d, damage %d, knockout %d, equip %d, heal %d, revive %d, "
                    "score tile %d\n",
                    scoring->mDeploy, scoring->mDamage, scoring->mKnockout, scoring->mEquip,
                    scoring->mHeal, scoring->mRevive, scoring->mScoreTile);
    else
        std::printf("scoring: none\n");
    std::printf("restricted targeting %s, ranged attack blocking %s (version 2 %s), "
                "split tile chest %s\n",
                onOff(settings.mRestrictedTargeting), onOff(settings.mRangedAttackBlocking),
                onOff(settings.mRangedAttackBlockingVersion2), onOff(settings.mSplitTileChest));
    std::printf("%zu premium squares:\n", settings.mPremiumTiles.size());
    for (const auto& kind : settings.mPremiumTiles) {
        const std::string_view name = premiumTileTypeName(kind->mType);
        std::printf("    %-22.*s %4d  \"%s\"\n", static_cast<int>(name.size()), name.data(),
                    kind->mAmount, kind->mTooltipTitle.c_str());
    }
    std::printf("%zu auras:\n", settings.mAuras.size());
    for (const auto& aura : settings.mAuras) {
        const std::string_view name = aura->mType >= 0 ? cAuraTypeNames[aura->mType] : "(unknown)";
        std::printf("    %-34.*s %s\n", static_cast<int>(name.size()), name.data(),
                    aura->mEffect.c_str());
    }
    return 0;
}

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

int printContent() {
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
    std::printf("puzzles:\n");
    for (int32_t root : {settings.mTutorialsCategoryIndex, settings.mChallengesCategoryIndex})
        if (root >= 0)
            printCategory(settings, root, 0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string_view command;
    std::vector<std::string_view> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--root" && i + 1 < argc)
            setBaseFolder(argv[++i]);
        else if (!arg.empty() && arg[0] != '-' && command.empty())
            command = arg;
        else if (!command.empty())
            arguments.push_back(arg);
        else
            return usage();
    }
    if (command.empty())
        command = "content";

    setupLanguageAndPaths(SteamClient::currentGameLanguage());
    loadLocalizableStrings();

    if (command == "content" && arguments.empty())
        return printContent();
    if (command == "options" && arguments.empty())
        return printOptions();
    if (command == "strings")
        return printStrings(arguments);
    if (command == "protos" && arguments.empty())
        return printProtos();
    if (command == "settings" && arguments.empty())
        return printSettings();
    return usage();
}
