// Helpers shared by the commands of tarnwick-cli.
#include "tools/cli/CliCommand.h"

#include "content/AvatarPack.h"
#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"
#include "puppet/PuppetRegistry.h"
#include "puzzle/PuzzleScriptLoader.h"
#include "rules/Entity.h"
#include "scene/sound/SoundPlayback.h"
#include "scene/sound/SoundSet.h"
#include "scene/widgets/TauntPack.h"

#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCFileUtils.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

const char* onOff(bool value) {
    return value ? "on" : "off";
}

// The game-data steps of start-up: every loader runs, a failing one prints
// its line; false when one failed. Sound files are found under "data", as
// the engine's resource root is set at start-up; a missing sound-set list
// only warns, since every sound still plays as a file.
bool loadGameData(bool soundDevice) {
    // Commands that play nothing keep off the sound device (unless the
    // caller's environment names a driver).
    if (!soundDevice)
        setenv("SDL_AUDIODRIVER", "dummy", 0);
    cocos2d::CCFileUtils::setResourcePath(resolvePath("data").string());
    // The audio device closes before the program's globals go.
    std::atexit([] { CocosDenshion::SimpleAudioEngine::end(); });
    loadSoundSetting();
    if (!loadSoundSets("sound/SoundSets"))
        std::printf("Warning: no sound sets loaded.\n");
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
    if (!AvatarPack::loadAll()) {
        std::printf("failed to init avatar manager\n");
        loaded = false;
    }
    if (!loadTauntPacks()) {
        std::printf("failed to init taunt packs\n");
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
