// Helpers shared by the commands of tarnwick-cli.
#include "tools/cli/CliCommand.h"

#include "content/LocalizedStrings.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"
#include "puppet/PuppetRegistry.h"
#include "puzzle/PuzzleScriptLoader.h"
#include "rules/Entity.h"

#include <charconv>
#include <cstdio>

const char* onOff(bool value) {
    return value ? "on" : "off";
}

// The game-data steps of start-up: every loader runs, a failing one prints
// its line; false when one failed.
bool loadGameData() {
    bool loaded = true;
    // The catalogue reads the puzzles' scripts through it.
    installPuzzleScriptSupport();
    // As at start-up, puppets do without the shared attachments when their
    // file fails: no line, not corrupt.
    PuppetRegistry::loadAttachmentsFile("Attachments");
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

// The proto name of an entity, "?" when it has none.
std::string protoName(const Entity* entity) {
    const ProtoEntity* proto = entity != nullptr ? entity->getProto() : nullptr;
    return proto != nullptr ? proto->mName : std::string("?");
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
