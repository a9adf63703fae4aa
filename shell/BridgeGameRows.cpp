#include "shell/BridgeGameRows.h"

#include "shell/BridgeUpdate.h"
#include "shell/PageHost.h"
#include "shell/PageText.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "content/TextFormat.h"
#include "platform/engine/CCDirector.h"
#include "rules/Game.h"
#include "scene/GameScene.h"
#include "scene/sound/SoundPlayback.h"

#include <algorithm>
#include <string>

namespace {

// A chat line is cut to this many bytes (at a whole character).
constexpr size_t cChatLineBytes = 141;

GameScene* shownGameScene() {
    return dynamic_cast<GameScene*>(gGameScene);
}

// The page leaves the game on screen before asking for another.
void leaveShownGame() {
    if (GameScene* scene = shownGameScene())
        scene->onBackButton();
}

void setGameViewShown(bool shown) {
    if (PageHost* host = pageHost())
        host->setGameViewShown(shown);
}

bool onlyBlanks(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

} // namespace

void playOpeningSound(std::string_view function) {
    if (function == "selectGame" || function == "selectGameDeferred")
        playSoundEffectSimple("sound/UI_Front_End_Begin_Battle.mp3");
}

BridgeResult bridgeSelectGame(CocosV8Handler& handler, const BridgeArguments& arguments) {
    leaveShownGame();
    handler.mGameToOpen = arguments.gameId(0);
    handler.mShowLoadingOverlay = arguments.boolean(1);
    return std::nullopt;
}

BridgeResult bridgeSelectGameDeferred(CocosV8Handler& handler, const BridgeArguments& arguments) {
    leaveShownGame();
    handler.mDeferredGameID = arguments.gameId(0);
    handler.mShowLoadingOverlay = arguments.boolean(1);
    return std::nullopt;
}

BridgeResult bridgeReloadGame(CocosV8Handler& handler, const BridgeArguments& arguments) {
    leaveShownGame();
    handler.mShowLoadingOverlay = false;
    handler.mGameToOpen = arguments.gameId(0);
    return std::nullopt;
}

BridgeResult bridgeManualRequestGamesList(CocosV8Handler& handler, const BridgeArguments&) {
    handler.mGamesListRequested = true;
    handler.mGamesListBuilt = false;
    return std::nullopt;
}

BridgeResult bridgeShowGameView(CocosV8Handler&, const BridgeArguments&) {
    setGameViewShown(true);
    // The scene shown learns that its view appeared.
    if (cocos2d::CCDirector::hasSharedDirector())
        cocos2d::CCDirector::sharedDirector()->viewDidAppear(false);
    return std::nullopt;
}

BridgeResult bridgeHideGameView(CocosV8Handler&, const BridgeArguments&) {
    setGameViewShown(false);
    return std::nullopt;
}

BridgeResult bridgeCloseGameView(CocosV8Handler& handler, const BridgeArguments&) {
    if (GameScene* scene = shownGameScene())
        scene->backToGames();
    if (BConfig::instance().isSetById(cOptSound))
        playTitleMusic();
    setGameViewShown(false);
    handler.mCurrentGameID = 0;
    return std::nullopt;
}

BridgeResult bridgeGetCurrentGame(CocosV8Handler& handler, const BridgeArguments&) {
    return nlohmann::json(std::to_string(handler.mCurrentGameID.load()));
}

BridgeResult bridgeEnableGamesList(CocosV8Handler& handler, const BridgeArguments& arguments) {
    handler.mGamesListEnabled = arguments.boolean(0);
    setPageFocusElement("ChatInput");
    return std::nullopt;
}

BridgeResult bridgeChatTyped(CocosV8Handler& handler, const BridgeArguments& arguments) {
    const int64_t gameId = handler.mCurrentGameID;
    std::string text = arguments.text(0);
    if (gameId == 0 || onlyBlanks(text))
        return std::nullopt;
    truncateUtf8(text, cChatLineBytes);
    startSendChatWorker(handler, gameId, text);
    const bool mine = gCurrentGame != nullptr && gCurrentGame->mCurrentPlayer == 0;
    runInPage(std::string("showChat(\"") + (mine ? "1" : "0") + "\", \"" + escapedForPage(text) +
              "\");");
    runInPage("$('#ChatText').scrollTop(10000);");
    return std::nullopt;
}
