// tarnwick-board: a local hot-seat game of two sample civs on the game scene,
// standing in for the shell. Run from the folder holding "data" and
// "vellix" (or with --root pointing at it).
//
// Usage: tarnwick-board [--root DIR] [--seed N] [--civs CIV1 CIV2]
//                       [--screenshot FILE [--frames N]]
// The mouse drags tiles, N passes the turn, F1 starts the tooltip mode and
// Esc is Back. With --screenshot the board renders offscreen (no display
// needed), runs N frames of 1/60 s (default 60), writes the last as a PNG
// and exits.

#include "tools/board/BoardApplication.h"
#include "tools/cli/CliCommand.h"

#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/StartupOptions.h"
#include "content/settings/SettingsManager.h"
#include "platform/steam/SteamClient.h"
#include "scene/widgets/TooltipManager.h"

#include "platform/render/CCEGLView.h"
#include "platform/render/CCSpriteFrameCache.h"
#include "platform/render/CCTextureCache.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace cocos2d;

int usage() {
    std::fprintf(stderr, "usage: tarnwick-board [--root DIR] [--seed N] [--civs CIV1 CIV2] "
                         "[--screenshot FILE [--frames N]]\n");
    return 2;
}

namespace {

// Runs the frames of a screenshot on a clock of 1/60 s a frame, then
// writes the last one.
int runScreenshot(BoardApplication& app, int32_t frames, const std::string& file) {
    double now = 0.0;
    app.setClock([&now] { return now; });
    for (int32_t frame = 0; frame < frames; ++frame) {
        now += 1.0 / 60.0;
        if (app.checkRunTick())
            app.drawFrame();
    }
    if (!app.view()->saveScreenshot(file)) {
        std::fprintf(stderr, "could not write %s\n", file.c_str());
        return 1;
    }
    std::printf("wrote %s\n", file.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    int32_t seed = 1;
    int32_t frames = 60;
    std::string screenshot;
    std::string civNames[2];
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--root" && i + 1 < argc)
            setBaseFolder(argv[++i]);
        else if (arg == "--seed" && i + 1 < argc && numberArgument(argv[i + 1], seed))
            ++i;
        else if (arg == "--frames" && i + 1 < argc && numberArgument(argv[i + 1], frames))
            ++i;
        else if (arg == "--screenshot" && i + 1 < argc)
            screenshot = argv[++i];
        else if (arg == "--civs" && i + 2 < argc) {
            civNames[0] = argv[++i];
            civNames[1] = argv[++i];
        } else
            return usage();
    }
    if (!screenshot.empty())
        setenv("SDL_VIDEODRIVER", "offscreen", 0);

    setupLanguageAndPaths(SteamClient::currentGameLanguage());
    loadLocalizableStrings();
    if (!loadGameData(screenshot.empty()))
        return 1;
    const SettingsManager& settings = SettingsManager::instance();
    std::array<int32_t, 2> civs{-1, -1};
    for (size_t i = 0; i < 2; ++i) {
        if (!civNames[i].empty()) {
            if (!civArgument(civNames[i], civs[i]))
                return 1;
        } else if (i < settings.mCivs.size()) {
            civs[i] = settings.mCivs[i]->mId;
        }
    }

    int status = 0;
    {
        BoardApplication app(seed, civs);
        if (!app.runStart(nullptr, BoardApplication::cWidth, BoardApplication::cHeight))
            status = 1;
        else if (!screenshot.empty())
            status = runScreenshot(app, frames, screenshot);
        else
            while (app.runFrame()) {
            }
    }
    gTooltipManager.purge();
    CCSpriteFrameCache::purgeSharedSpriteFrameCache();
    CCTextureCache::purgeSharedTextureCache();
    return status;
}
