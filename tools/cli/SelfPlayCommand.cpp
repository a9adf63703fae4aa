// tarnwick-cli selfplay [SEED [GAMES]] [CIV1 CIV2] [--max-turns N] [--check]
// [--replay] [--quiet]: plays whole games headless by random legal drops and
// prints each turn and the result (with several games, the totals). With
// --replay every saved turn is also opened as the opponent opens it and
// replayed headless, to its end and skipped at a random tick, and must save
// back to the same bytes.
#include "tools/cli/CliCommand.h"

#include "content/settings/SettingsManager.h"
#include "rules/SelfPlay.h"
#include "rules/core/RNG.h"
#include "scene/sound/SoundPlayback.h"
#include "tools/scenefakes/HeadlessReplay.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <string>

namespace {

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

} // namespace

int runSelfPlay(const CliArguments& arguments) {
    SelfPlayOptions options;
    int32_t games = 1;
    bool quiet = false;
    bool replay = false;
    std::vector<int32_t> numbers; // SEED, GAMES
    std::vector<std::string_view> civNames;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view arg = arguments[i];
        if (arg == "--check") {
            options.mCheckInvariants = true;
        } else if (arg == "--replay") {
            replay = true;
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
    // Headless games play no sound.
    muteAudio();
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
    int64_t replays = 0;
    int32_t longestReplay = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int32_t n = 0; n < games; ++n) {
        options.mSeed = firstSeed + n;
        SelfPlay game(options);
        if (!quiet && games == 1)
            game.mOnTurn = printTurn;
        RNG skips;
        skips.seed(static_cast<uint32_t>(options.mSeed));
        if (replay)
            game.mCheckSavedTurn = [&](const std::vector<uint8_t>& blob, int64_t gameId,
                                       int32_t opener) -> std::string {
                HeadlessReplayOptions opening;
                opening.mOpener = opener;
                opening.mGameId = gameId;
                const HeadlessReplayResult whole = HeadlessReplay::run(blob, opening);
                if (!whole.problem().empty() || !whole.mReplayed)
                    return whole.problem();
                ++replays;
                longestReplay = std::max(longestReplay, whole.mTicks);
                opening.mSkipAtTick = static_cast<int32_t>(
                    skips.randInt(static_cast<uint32_t>(std::max(whole.mTicks - 1, 0))));
                const HeadlessReplayResult skipped = HeadlessReplay::run(blob, opening);
                if (!skipped.problem().empty())
                    return "skipped at tick " + std::to_string(opening.mSkipAtTick) + ": " +
                           skipped.problem();
                return {};
            };
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
    if (replay)
        std::printf("%lld turns replayed to their end and skipped, the longest in %.1f s of game "
                    "time\n",
                    static_cast<long long>(replays),
                    static_cast<double>(longestReplay) * HeadlessReplay::cTick);
    return sound ? 0 : 1;
}
