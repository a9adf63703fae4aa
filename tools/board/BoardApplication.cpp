#include "tools/board/BoardApplication.h"

#include "content/DataPath.h"
#include "puzzle/PuzzleSceneSupport.h"
#include "rules/Game.h"
#include "rules/SceneServices.h"
#include "rules/SelfPlay.h"
#include "scene/GameScene.h"
#include "scene/widgets/TooltipManager.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCEGLView.h"

#include <SDL2/SDL.h>

#include <cstdio>

using namespace cocos2d;

BoardApplication::BoardApplication(int32_t seed, std::array<int32_t, 2> civs)
    : mSeed(seed), mCivs(civs) {}

BoardApplication::~BoardApplication() {
    // The scenes and their views go while the window and the services they
    // reach still exist.
    if (CCDirector::hasSharedDirector())
        CCDirector::sharedDirector()->purgeDirector();
    if (mGame != nullptr)
        mGame->release();
    gCurrentGame = nullptr;
    setSceneServices(nullptr);
}

bool BoardApplication::createViewAsChild(void* parentWindow, int width, int height) {
    mView = std::make_unique<CCEGLView>();
    if (!mView->CreateAsChild(parentWindow, width, height)) {
        std::fprintf(stderr, "no OpenGL window: %s\n", SDL_GetError());
        return false;
    }
    mView->setKeyHandler([this](int key) { onKey(key); });
    return true;
}

bool BoardApplication::applicationDidFinishLaunching() {
    CCDirector* director = CCDirector::sharedDirector();
    director->setOpenGLView(mView.get());
    // Before any sprite: the art's scale, its "-hd" twins and where it is.
    director->setContentScaleFactor(2.0f);
    director->setIsHighDefinition(true);
    CCFileUtils::setResourcePath(resolvePath("data").string());
    setSceneDims(0, 0, cWidth, cHeight, cWidth, cHeight);
    GameScene::setLayoutMode(2);
    setSceneServices(&mServices);
    installPuzzleSceneSupport();

    // A new game, saved and opened as an opener does, player 0 to move.
    Game* fresh = new Game();
    const bool setUp = SelfPlay::setUpNewGame(*fresh, mSeed, mCivs);
    const std::vector<uint8_t> blob = setUp ? fresh->saveToBuffer() : std::vector<uint8_t>();
    fresh->release();
    Game* game = blob.empty() ? nullptr : openLocalGame(blob, 0);
    if (game == nullptr) {
        std::fprintf(stderr, "the game could not be set up\n");
        return false;
    }
    showGame(game);
    return true;
}

Game* BoardApplication::openLocalGame(const std::vector<uint8_t>& blob, int32_t current) {
    // The blob keeps neither the local flag nor whose screen this is.
    Game* game = new Game();
    game->mFlags |= cGameLocal;
    game->mPuzzleCategory = -1;
    game->mPuzzleIndex = -1;
    game->mCurrentPlayer = current;
    if (!game->loadFromBuffer(blob.data(), int32_t(blob.size()), -1, true) ||
        game->getCurrentPlayer() == nullptr) {
        game->release();
        return nullptr;
    }
    return game;
}

void BoardApplication::showGame(Game* game) {
    Game* old = mGame;
    mGame = game;
    gCurrentGame = game;
    CCDirector* director = CCDirector::sharedDirector();
    if (director->getRunningScene() == nullptr)
        director->runWithScene(GameScene::sceneWithGame());
    else
        director->replaceScene(GameScene::sceneWithGame());
    // The old scene keeps its own reference until it goes.
    if (old != nullptr)
        old->release();
    mAppearIn = 1;
}

bool BoardApplication::passTurn() {
    // A finished game has no turn to pass.
    if (mGame == nullptr || mGame->mGameOver || !mGame->finishTurn(0))
        return false;
    const int32_t next = mGame->mCurrentPlayer == 0 ? 1 : 0;
    Game* game = openLocalGame(mGame->saveToBuffer(), next);
    if (game == nullptr)
        return false;
    showGame(game);
    return true;
}

void BoardApplication::onKey(int key) {
    if (key == SDLK_F1) {
        gTooltipManager.beginTooltipMode();
    } else if (key == SDLK_n) {
        if (!passTurn())
            std::printf("the turn could not be passed\n");
    }
}

void BoardApplication::drawFrame() {
    runTick();
    if (mAppearIn > 0 && --mAppearIn == 0)
        CCDirector::sharedDirector()->viewDidAppear(false);
}

bool BoardApplication::runFrame() {
    if (!mView->pollEvents())
        return false;
    if (checkRunTick()) {
        drawFrame();
        mView->swapBuffers();
    } else {
        SDL_Delay(1);
    }
    return true;
}
