// A small showcase of the engine's drawing: unit sprites with their team
// colour layers running actions, TrueType and bitmap-font labels, a
// progress bar, a particle effect and a coloured layer, at the program's
// content scale 2.0 with "-hd" art.
//
// Usage: engine-demo [--root FOLDER] [--page] [--screenshot FILE]. The
// root holds data/ (default: the current folder). With --screenshot the
// demo renders offscreen (no display needed), runs 1.5 s of animation,
// writes the frame as a PNG and exits; otherwise it opens a window until it
// is closed. With --page the scene is the board of the large layout: the
// interface page html/GameLayoutLarge.html of the root is drawn under it
// over the whole 1434 x 990 window (the page needs an X display, e.g.
// xvfb-run -a -s "-screen 0 1600x1200x24").

#include "platform/browser/ClientOSRHandler.h"
#include "platform/browser/OffscreenPage.h"
#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCActionRotate.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/engine/CCLayerColor.h"
#include "platform/engine/CCProgressFromTo.h"
#include "platform/engine/CCRepeat.h"
#include "platform/engine/CCScene.h"
#include "platform/engine/CCSequence.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCGLRenderer.h"
#include "platform/render/CCImage.h"
#include "platform/render/CCLabelBMFont.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCParticleSystemQuad.h"
#include "platform/render/CCProgressTimer.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCSpriteFrameCache.h"
#include "platform/render/CCTextureCache.h"

#include <GLES/gl.h>
#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace cocos2d;

namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 640;
// The large layout: window, and the board's rectangle in it.
constexpr int kPageWidth = 1434, kPageHeight = 990;
constexpr PageRect kBoard{395, 14, 1024, 768};

// A unit with its "_Color" layer tinted in the team's colour.
CCSprite* unit(const std::string& civ, const std::string& name, ccColor3B team) {
    CCSprite* sprite = CCSprite::spriteWithFile("Civ/" + civ + "/" + name + ".png");
    CCSprite* colour = CCSprite::spriteWithFile("Civ/" + civ + "/" + name + "_Color.png");
    colour->setColor(team);
    colour->setPosition(
        CCPoint(sprite->getContentSize().width / 2, sprite->getContentSize().height / 2));
    sprite->addChild(colour, 1);
    return sprite;
}

CCScene* buildScene() {
    CCScene* scene = CCScene::node();
    const CCSize win = CCDirector::sharedDirector()->getWinSize();
    scene->addChild(CCLayerColor::layerWithColor(ccc4(34, 40, 52, 255)), -10);
    CCLayerColor* board =
        CCLayerColor::layerWithColorWidthHeight(ccc4(80, 110, 70, 255), win.width - 40, 150);
    board->setPosition(CCPoint(20, 60));
    scene->addChild(board, -5);

    const DropShadowInfo shadow(2.0f, 2.0f, 0.8f, 0.0f, 2.0f);
    OutlineFillInfo outline(ccc4(153, 146, 64, 255), 1.0f, ccc4(255, 255, 255, 255));
    outline.gradient.addColor(ccc4(255, 255, 255, 255), 0.1f);
    outline.gradient.addColor(ccc4(211, 211, 211, 255), 0.6f);
    outline.gradient.addColor(ccc4(181, 181, 181, 255), 1.0f);
    CCLabelTTF* title =
        CCLabelTTF::labelWithString("Tarnwick engine demo", CCSize(400, 40), CCTextAlignmentCenter,
                                    "Tarnwick Serif", 28, 12, &shadow, &outline);
    title->setPosition(CCPoint(win.width / 2, win.height - 30));
    scene->addChild(title);

    CCLabelTTF* note = CCLabelTTF::labelWithString(
        "Sprites, labels, a bar and sparks, drawn with OpenGL ES 1.1", "Tarnwick Sans", 12);
    note->setColor(ccc3(200, 210, 230));
    note->setPosition(CCPoint(win.width / 2, win.height - 58));
    scene->addChild(note);

    const char* humans[] = {"Knight", "Archer", "Wizard"};
    const char* orcs[] = {"Warrior", "Witch", "Chieftain"};
    for (int i = 0; i < 3; ++i) {
        CCSprite* human = unit("Humans", humans[i], ccc3(60, 120, 255));
        human->setPosition(CCPoint(70 + 55.0f * i, 110 + 30.0f * (i % 2)));
        human->runAction(CCRepeatForever::actionWithAction(
            CCSequence::actions(CCMoveBy::actionWithDuration(0.8f, CCPoint(20, 0)),
                                CCMoveBy::actionWithDuration(0.8f, CCPoint(-20, 0)))));
        scene->addChild(human);
        CCSprite* orc = unit("Orcs", orcs[i], ccc3(230, 60, 50));
        orc->setFlipX(true);
        orc->setPosition(CCPoint(win.width - 70 - 55.0f * i, 110 + 30.0f * (i % 2)));
        orc->runAction(CCRepeatForever::actionWithAction(
            CCSequence::actions(CCScaleTo::actionWithDuration(0.6f, 1.15f),
                                CCScaleTo::actionWithDuration(0.6f, 1.0f))));
        scene->addChild(orc);
    }

    CCSprite* crystal = CCSprite::spriteWithFile("Civ/Humans/Crystal.png");
    crystal->setPosition(CCPoint(win.width / 2, 230));
    crystal->setTintColor(ccc3(90, 90, 0));
    crystal->runAction(CCRepeatForever::actionWithAction(CCRotateBy::actionWithDuration(3, 360)));
    scene->addChild(crystal);

    CCProgressTimer* bar = CCProgressTimer::progressWithFile("Civ/Humans/Knight_LargePortrait.png");
    bar->setType(kCCProgressTimerTypeVerticalBarBT);
    bar->setScale(0.5f);
    bar->setPosition(CCPoint(40, 236));
    bar->runAction(CCProgressFromTo::actionWithDuration(1.5f, 0, 65));
    scene->addChild(bar);

    if (CCLabelBMFont* digits = CCLabelBMFont::labelWithString("1234567890", "number.fnt")) {
        digits->setColor(ccc3(0, 255, 255));
        digits->setPosition(CCPoint(win.width - 90, 250));
        scene->addChild(digits);
    }

    CCParticleSystemQuad* sparks = CCParticleSystemQuad::particleWithFile("Effects/Sparkle.plist");
    sparks->setPosition(CCPoint(win.width / 2, 120));
    scene->addChild(sparks, 10);
    return scene;
}

} // namespace

// The whole window as drawn so far, as a PNG.
bool saveWindow(CCEGLView* view, int width, int height, const std::string& path) {
    if (!view->makeCurrent())
        return false;
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<uint8_t> rows(pixels.size());
    const size_t row = size_t(width) * 4;
    for (int y = 0; y < height; ++y) // GL rows run from the bottom
        std::copy_n(pixels.begin() + ptrdiff_t(size_t(y) * row), row,
                    rows.begin() + ptrdiff_t(size_t(height - 1 - y) * row));
    for (size_t i = 3; i < rows.size(); i += 4)
        rows[i] = 255;
    CCImage image;
    return image.initWithRawData(std::move(rows), width, height, false) && image.saveToFile(path);
}

// The page of the large layout under the board: one frame a pass.
int runWithPage(const std::string& root, const std::string& screenshot) {
    if (!OffscreenPage::initToolkit()) {
        std::fprintf(stderr, "the page needs an X display (try xvfb-run -a)\n");
        return 1;
    }
    SDL_Init(SDL_INIT_VIDEO);
    SDL_Window* window =
        SDL_CreateWindow("Tarnwick engine demo", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                         kPageWidth, kPageHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    auto view = std::make_unique<CCEGLView>();
    if (!window || !view->CreateWithWindow(window, kBoard.width, kBoard.height)) {
        std::fprintf(stderr, "no OpenGL window: %s\n", SDL_GetError());
        return 1;
    }
    view->translate(kBoard.left, kBoard.top);
    CCDirector* director = CCDirector::sharedDirector();
    director->setOpenGLView(view.get());
    static_cast<CCGLRenderer*>(director->getRenderer())->setClearsFrame(false);
    director->runWithScene(buildScene());

    // The scheme's files are relative to the current folder.
    std::filesystem::current_path(root);
    int status = 0;
    {
        ClientOSRHandler client;
        OffscreenPage page(kPageWidth, kPageHeight);
        client.setPage(&page);
        client.setViewHandler([&view](const SDL_Event& event) { view->handleEvent(event); });
        client.setGameViewShown(true);
        client.setPageGLView(view.get());
        client.createBrowserTexture(kPageWidth, kPageHeight);
        int paints = 0;
        page.setPaintHandler([&](const uint8_t* argb, int width, int height, int stride) {
            paints += client.takePaint(argb, width, height, stride) ? 1 : 0;
        });
        page.loadInterfacePage(std::filesystem::current_path().string(), "GameLayoutLarge.html");

        Uint64 last = SDL_GetPerformanceCounter();
        const Uint64 start = last;
        bool open = true;
        for (int frame = 0; open; ++frame) {
            page.pump();
            SDL_Event event;
            while (SDL_PollEvent(&event)) {
                client.handleEvent(event);
                if (event.type == SDL_QUIT)
                    open = false;
            }
            const Uint64 now = SDL_GetPerformanceCounter();
            const double seconds = double(now - start) / double(SDL_GetPerformanceFrequency());
            client.drawBrowserOverlay();
            director->tick(float(double(now - last) / double(SDL_GetPerformanceFrequency())));
            last = now;
            // A screenshot waits for the loaded page's paints (at most 10 s).
            if (!screenshot.empty() && frame >= 90 &&
                ((!page.isLoading() && paints > 3) || seconds > 10)) {
                if (!saveWindow(view.get(), kPageWidth, kPageHeight, screenshot)) {
                    std::fprintf(stderr, "could not write %s\n", screenshot.c_str());
                    status = 1;
                } else {
                    std::printf("wrote %s\n", screenshot.c_str());
                }
                break;
            }
            view->swapBuffers();
            SDL_Delay(screenshot.empty() ? 1 : 0);
        }
        client.setPageGLView(nullptr);
    }
    director->purgeDirector();
    view.reset();
    SDL_DestroyWindow(window);
    CCSpriteFrameCache::purgeSharedSpriteFrameCache();
    CCTextureCache::purgeSharedTextureCache();
    return status;
}

int main(int argc, char** argv) {
    std::string root = ".";
    std::string screenshot;
    bool withPage = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--root" && i + 1 < argc)
            root = argv[++i];
        else if (arg == "--page")
            withPage = true;
        else if (arg == "--screenshot" && i + 1 < argc)
            screenshot = argv[++i];
        else {
            std::fprintf(stderr,
                         "usage: engine-demo [--root FOLDER] [--page] [--screenshot FILE]\n");
            return 2;
        }
    }
    if (!screenshot.empty())
        setenv("SDL_VIDEODRIVER", "offscreen", 0);

    CCFileUtils::setResourcePath(root + "/data/");
    CCDirector* director = CCDirector::sharedDirector();
    director->setContentScaleFactor(2.0f);
    director->setIsHighDefinition(true);
    if (withPage)
        return runWithPage(std::filesystem::absolute(root).string(), screenshot);
    auto* view = new CCEGLView();
    if (!view->Create("Tarnwick engine demo", kWidth, kHeight)) {
        delete view;
        return 1;
    }
    director->setOpenGLView(view);
    director->runWithScene(buildScene());

    int status = 0;
    if (!screenshot.empty()) {
        for (int frame = 0; frame < 90; ++frame)
            director->tick(1.0f / 60.0f);
        if (!view->saveScreenshot(screenshot)) {
            std::fprintf(stderr, "could not write %s\n", screenshot.c_str());
            status = 1;
        } else {
            std::printf("wrote %s\n", screenshot.c_str());
        }
    } else {
        Uint64 last = SDL_GetPerformanceCounter();
        while (view->pollEvents()) {
            const Uint64 now = SDL_GetPerformanceCounter();
            director->tick(float(double(now - last) / double(SDL_GetPerformanceFrequency())));
            last = now;
            view->swapBuffers();
            SDL_Delay(1);
        }
    }
    director->purgeDirector();
    delete view;
    CCSpriteFrameCache::purgeSharedSpriteFrameCache();
    CCTextureCache::purgeSharedTextureCache();
    return status;
}
