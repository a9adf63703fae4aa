// tarnwick-cli sound NAME: loads the game data with its sound sets and plays
// NAME as the game does (a sound set of that name, else the file under
// "data") to its end. Without a sound device SDL's dummy driver plays it
// silently, in real time.
#include "tools/cli/CliCommand.h"

#include "scene/sound/SoundPlayback.h"
#include "scene/sound/SoundSet.h"

#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCFileUtils.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

// The longest a sound may play before the command gives up on its end.
constexpr auto cLongestSound = std::chrono::seconds(30);

} // namespace

int runSound(const CliArguments& arguments) {
    if (arguments.size() != 1 || arguments[0].empty())
        return usage();
    if (!loadGameData(true))
        return 1;
    const std::string name(arguments[0]);
    const bool isSet = SoundSet::find(name) >= 0;
    if (!isSet &&
        !cocos2d::CCFileUtils::fileExists(cocos2d::CCFileUtils::fullPathFromRelativePath(name))) {
        std::fprintf(stderr, "no sound set or sound file \"%s\"\n", name.c_str());
        return 1;
    }
    int32_t id = -1;
    if (!playSoundEffect(name, &id, false)) {
        std::fprintf(stderr, "\"%s\" did not play: sound is off\n", name.c_str());
        return 1;
    }
    if (id < 0) {
        std::fprintf(stderr, "the sound set \"%s\" has nothing to play\n", name.c_str());
        return 1;
    }
    std::printf("playing %s \"%s\"\n", isSet ? "sound set" : "file", name.c_str());
    std::fflush(stdout);
    auto* audio = CocosDenshion::SimpleAudioEngine::sharedEngine();
    const auto start = std::chrono::steady_clock::now();
    while (audio->isEffectPlaying(static_cast<unsigned int>(id))) {
        if (std::chrono::steady_clock::now() - start > cLongestSound) {
            std::fprintf(stderr, "\"%s\" still plays after 30 s; stopped\n", name.c_str());
            audio->stopEffect(static_cast<unsigned int>(id));
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        audio->update();
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("done after %.2f s\n", took.count());
    return 0;
}
