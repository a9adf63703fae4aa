// tarnwick-cli puppet NAME [--state S] [--time T] [--colour R,G,B]
// [--screenshot FILE]: draws one puppet, in the player colour given, at the
// pose of a state (a name or number; "Idle" by default) at a time in seconds,
// offscreen through the engine's GL view, and writes the picture as a PNG
// (NAME.png by default). Exits 1 when the puppet does not load or the picture
// cannot be written, 2 on bad arguments.
#include "tools/cli/CliCommand.h"

#include "content/DataPath.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/engine/CCLayerColor.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCSpriteFrameCache.h"
#include "platform/render/CCTextureCache.h"
#include "puppet/AnimState.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace cocos2d;

namespace {

constexpr int cViewSize = 256;

// "R,G,B" of three bytes; false for any other text.
bool colourArgument(std::string_view text, ccColor3B& out) {
    int32_t parts[3];
    for (int i = 0; i < 3; ++i) {
        const size_t comma = i < 2 ? text.find(',') : text.size();
        if (comma == std::string_view::npos || !numberArgument(text.substr(0, comma), parts[i]) ||
            parts[i] > 255)
            return false;
        text = i < 2 ? text.substr(comma + 1) : std::string_view();
    }
    out = ccc3(uint8_t(parts[0]), uint8_t(parts[1]), uint8_t(parts[2]));
    return true;
}

} // namespace

int runPuppet(const CliArguments& arguments) {
    if (arguments.empty() || arguments[0].empty() || arguments[0][0] == '-')
        return usage();
    const std::string name(arguments[0]);
    int32_t state = 0;
    float time = 0.0f;
    ccColor3B colour = ccc3(255, 255, 255);
    std::string screenshot = name.substr(name.find_last_of('/') + 1) + ".png";
    for (size_t i = 1; i < arguments.size(); i += 2) {
        if (i + 1 >= arguments.size())
            return usage();
        const std::string_view option = arguments[i];
        const std::string value(arguments[i + 1]);
        if (option == "--state") {
            state = animStateFromName(value);
            if (state < 0 && !numberArgument(value, state))
                return usage();
        } else if (option == "--time") {
            char* end = nullptr;
            time = std::strtof(value.c_str(), &end);
            if (value.empty() || *end != '\0' || time < 0.0f)
                return usage();
        } else if (option == "--colour") {
            if (!colourArgument(value, colour))
                return usage();
        } else if (option == "--screenshot") {
            screenshot = value;
        } else {
            return usage();
        }
    }
    if (state >= cAnimStateCount)
        return usage();

    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    CCFileUtils::setResourcePath(resolvePath("data").string());
    PuppetRegistry::loadAttachmentsFile("Attachments");
    const int32_t index = PuppetRegistry::loadPuppet(name);
    if (index < 0) {
        std::fprintf(stderr, "puppet \"%s\" does not load\n", name.c_str());
        return 1;
    }

    CCDirector* director = CCDirector::sharedDirector();
    auto* view = new CCEGLView();
    if (!view->Create("Tarnwick puppet", cViewSize, cViewSize)) {
        delete view;
        std::fprintf(stderr, "no GL view\n");
        return 1;
    }
    director->setOpenGLView(view);
    CCScene* scene = CCScene::node();
    scene->addChild(CCLayerColor::layerWithColor(ccc4(40, 40, 48, 255)));
    PuppetInstance* puppet = PuppetInstance::create(index, colour);
    puppet->setPosition(CCPoint(cViewSize * 0.5f, cViewSize * 0.5f));
    scene->addChild(puppet);
    director->runWithScene(scene);
    director->tick(0.0f);
    puppet->playAnimation(state, 0.0f, true, 0.0f);
    puppet->update(time);
    director->tick(0.0f);

    int status = 0;
    if (view->saveScreenshot(screenshot)) {
        std::printf("wrote %s\n", screenshot.c_str());
    } else {
        std::fprintf(stderr, "could not write %s\n", screenshot.c_str());
        status = 1;
    }
    director->purgeDirector();
    delete view;
    PuppetRegistry::clear();
    CCSpriteFrameCache::purgeSharedSpriteFrameCache();
    CCTextureCache::purgeSharedTextureCache();
    return status;
}
