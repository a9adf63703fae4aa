// Command-line front of the game's content and rules, run from the folder that
// holds "data" and "vellix" (or with --root pointing at it).
//
//   tarnwick-cli [--root DIR] [content | options | strings [KEY...] | protos | settings |
//                newgame [SEED] [CIV1 CIV2] |
//                selfplay [SEED [GAMES]] [CIV1 CIV2] [--max-turns N] [--check] [--quiet]]
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
// newgame: loads the game data and sets up a new online game from SEED
//          (default 1; it also seeds the cosmetic generator, so a run
//          repeats) for the civs named CIV1 and CIV2 (default the first two
//          civs), as a new game is set up (racks filled units first), and
//          prints the board, the chests and the racks as text.

#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"
#include "content/StartupOptions.h"
#include "content/protos/AuraType.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"
#include "platform/steam/SteamClient.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/Player.h"
#include "rules/SelfPlay.h"
#include "rules/TileChest.h"
#include "rules/TileRack.h"

#include <charconv>
#include <chrono>

#include <climits>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

int usage() {
    std::fprintf(stderr, "usage: tarnwick-cli [--root DIR] [content | options | strings [KEY...] | "
                         "protos | settings | newgame [SEED] [CIV1 CIV2] |\n"
                         "       selfplay [SEED [GAMES]] [CIV1 CIV2] [--max-turns N] [--check] "
                         "[--quiet]]\n");
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

// The proto name of an entity, "?" when it has none.
std::string protoName(const Entity* entity) {
    const ProtoEntity* proto = entity != nullptr ? entity->getProto() : nullptr;
    return proto != nullptr ? proto->mName : std::string("?");
}

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

// The civ id named by a command argument; false when no civ has that name.
bool civArgument(std::string_view name, int32_t& civId) {
    const std::string text(name);
    if (SettingsManager::instance().civIDForName(text, civId) && civId >= 0)
        return true;
    std::fprintf(stderr, "unknown civ \"%s\"\n", text.c_str());
    return false;
}

// A whole non-negative number; false for any other text.
bool numberArgument(std::string_view text, int32_t& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && out >= 0;
}

int newGame(const std::vector<std::string_view>& arguments) {
    int32_t seed = 1;
    if (!arguments.empty() && !numberArgument(arguments[0], seed))
        return usage();
    if (arguments.size() != 1 && arguments.size() != 3 && !arguments.empty())
        return usage();
    if (!loadGameData())
        return 1;
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

const char* reasonText(int32_t reason) {
    return reason == 1 ? "victory health" : "attrition";
}

void printTurn(const SelfPlayTurn& turn) {
    std::printf("turn %d, player %d:", turn.mTurn, turn.mPlayer);
    int32_t total = 0;
    for (int32_t type = 0; type < cActionTypeCount; ++type) {
        const int32_t count = turn.mActions[static_cast<size_t>(type)];
        total += count;
        if (count > 0)
            std::printf(" %.*s %d", static_cast<int>(cActionTypeNames[type].size()),
                        cActionTypeNames[type].data(), count);
    }
    if (total == 0)
        std::printf(" no drop");
    std::printf(", %d action points left; score %d/%d, victory health %d/%d, units %d/%d\n",
                turn.mActionPointsLeft, turn.mScore[0], turn.mScore[1], turn.mVictoryHealth[0],
                turn.mVictoryHealth[1], turn.mUnitsLeft[0], turn.mUnitsLeft[1]);
}

int selfPlay(const std::vector<std::string_view>& arguments) {
    SelfPlayOptions options;
    int32_t games = 1;
    bool quiet = false;
    std::vector<int32_t> numbers; // SEED, GAMES
    std::vector<std::string_view> civNames;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view arg = arguments[i];
        if (arg == "--check") {
            options.mCheckInvariants = true;
        } else if (arg == "--quiet") {
            quiet = true;
        } else if (arg == "--max-turns" && i + 1 < arguments.size()) {
            if (!numberArgument(arguments[++i], options.mMaxTurns))
                return usage();
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else if (int32_t number = 0;
                   civNames.empty() && numbers.size() < 2 && numberArgument(arg, number)) {
            numbers.push_back(number);
        } else {
            civNames.push_back(arg);
        }
    }
    if (!civNames.empty() && civNames.size() != 2)
        return usage();
    if (!numbers.empty())
        options.mSeed = numbers[0];
    if (numbers.size() == 2)
        games = numbers[1];
    // Game n plays seed SEED + n, which must stay a seed.
    if (games < 1 || games - 1 > INT32_MAX - options.mSeed)
        return usage();
    if (!loadGameData())
        return 1;
    const SettingsManager& settings = SettingsManager::instance();
    for (size_t i = 0; i < 2; ++i) {
        if (civNames.size() == 2) {
            if (!civArgument(civNames[i], options.mCivs[i]))
                return 1;
        } else if (i < settings.mCivs.size()) {
            options.mCivs[i] = settings.mCivs[i]->mId;
        }
    }

    const int32_t firstSeed = options.mSeed;
    int32_t wins[2][3] = {};
    int32_t draws = 0;
    int32_t turnCaps = 0;
    int32_t actionCaps = 0;
    int64_t turns = 0;
    int64_t actions = 0;
    bool sound = true;
    const auto start = std::chrono::steady_clock::now();
    for (int32_t n = 0; n < games; ++n) {
        options.mSeed = firstSeed + n;
        SelfPlay game(options);
        if (!quiet && games == 1)
            game.mOnTurn = printTurn;
        const SelfPlayResult result = game.run();
        if (!result.mSetUp) {
            std::fprintf(stderr, "the game could not be set up\n");
            return 1;
        }
        turns += result.mTurns;
        actions += result.mActions;
        actionCaps += result.mActionCap ? 1 : 0;
        std::string outcome;
        if (!result.mProblems.empty()) {
            sound = false;
            outcome = "stopped: " + result.mProblems.front();
        } else if (result.mWinner >= 0) {
            ++wins[result.mWinner][result.mReason];
            outcome = "player " + std::to_string(result.mWinner) + " wins by " +
                      reasonText(result.mReason);
        } else if (result.mReason != 0) {
            ++draws;
            outcome = "no side has units left";
        } else {
            ++turnCaps;
            outcome = "no winner at the turn cap";
        }
        if (!quiet || !result.mProblems.empty())
            std::printf("game %d (seed %d): %s after %d turns, %d actions\n", n, options.mSeed,
                        outcome.c_str(), result.mTurns, result.mActions);
        for (size_t i = 1; i < result.mProblems.size(); ++i)
            std::printf("    %s\n", result.mProblems[i].c_str());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (games > 1 || quiet) {
        std::printf("%d games: player 0 won %d (victory health %d, attrition %d), player 1 won %d "
                    "(victory health %d, attrition %d), %d without units, %d at the turn cap",
                    games, wins[0][1] + wins[0][2], wins[0][1], wins[0][2], wins[1][1] + wins[1][2],
                    wins[1][1], wins[1][2], draws, turnCaps);
        if (actionCaps > 0)
            std::printf(", %d with a turn at the action cap", actionCaps);
        std::printf("\n%lld turns (%.1f a game), %lld actions, %.2f s\n",
                    static_cast<long long>(turns),
                    static_cast<double>(turns) / static_cast<double>(games),
                    static_cast<long long>(actions), seconds);
    }
    return sound ? 0 : 1;
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
    if (command == "newgame")
        return newGame(arguments);
    if (command == "selfplay")
        return selfPlay(arguments);
    return usage();
}
