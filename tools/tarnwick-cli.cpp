// Command-line front of the game's content and rules, run from the folder that
// holds "data" and "vellix" (or with --root pointing at it).
//
//   tarnwick-cli [--root DIR] [options | strings [KEY...] | protos | settings]
//
// Every command first runs start-up's content steps: the option files, then
// the strings table of the chosen language.
// options: prints every registered option with its value.
// strings: prints the localised texts of the keys (by default the start-up
//          texts and two formatted examples).
// protos:  loads the entity proto database and prints one line per proto.
// settings: loads the proto database and the rules settings and prints a
//          summary of the settings.

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
    std::fprintf(stderr, "usage: tarnwick-cli [--root DIR] [options | strings [KEY...] | protos | "
                         "settings]\n");
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

int printSettings() {
    if (!Database::init()) {
        std::printf("failed to init database\n");
        return 1;
    }
    SettingsManager& settings = SettingsManager::instance();
    if (!settings.init()) {
        std::printf("failed to init settings\n");
        return 1;
    }
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
        command = "options";

    setupLanguageAndPaths(SteamClient::currentGameLanguage());
    loadLocalizableStrings();

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
