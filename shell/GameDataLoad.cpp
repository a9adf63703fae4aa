#include "shell/GameDataLoad.h"

#include "shell/AppDelegate.h"
#include "shell/LayoutModes.h"
#include "shell/MainLoop.h"
#include "shell/MessageBoxes.h"
#include "shell/PageHost.h"
#include "shell/PageText.h"
#include "shell/ShellState.h"

#include "content/AvatarPack.h"
#include "content/BConfig.h"
#include "content/FontNames.h"
#include "content/LocalizedStrings.h"
#include "content/Preferences.h"
#include "content/RegisteredOptions.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"
#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCDirector.h"
#include "platform/render/CCTexture2D.h"
#include "puppet/PuppetRegistry.h"
#include "rules/AchievementTracker.h"
#include "rules/GameRecord.h"
#include "rules/GamesList.h"
#include "scene/GameScene.h"
#include "scene/sound/SoundPlayback.h"
#include "scene/sound/SoundSet.h"
#include "scene/widgets/TauntPack.h"
#include "service/BSecureStorage.h"
#include "service/WebService.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* cLoopbackServer = "http://127.0.0.1:8787/";

constexpr const char* cPreloadedEffects[] = {
    "sound/UI_Front_End_Back_Option.mp3", "sound/UI_Front_End_Begin_Battle.mp3",
    "sound/UI_Front_End_Select.mp3",      "sound/UI_Front_End_Tutorial_SlideThrough.mp3",
    "sound/Game_Select_Character.mp3",    "sound/Game_Touch_Scroll.mp3",
    "sound/Game_Ponder_LP.mp3",           "sound/UI_Characters_Spawn_In.mp3",
};
constexpr const char* cPreloadedMusic = "sound/Amb_Field_LP.mp3";

void printWord(const char* word) {
    std::printf("%s\n", word);
    std::fflush(stdout);
}

void failLoader(const char* line) {
    std::printf("%s\n", line);
    gGameInitFailed = true;
}

std::string rectArguments(const LayoutRect& rect) {
    return std::to_string(rect.x) + ", " + std::to_string(rect.y) + ", " +
           std::to_string(rect.width) + ", " + std::to_string(rect.height);
}

} // namespace

void positionPageElements(int mode) {
    LayoutRect rect;
    if (layoutNavMenuRect(mode, rect))
        runInPage("positionElement('navmenu-outer', " + rectArguments(rect) + ");");
    if (layoutBoardRect(mode, rect)) {
        runInPage("positionElement('boardContainer', " + rectArguments(rect) + ");");
        runInPage("setBoardSize(" + std::to_string(rect.width) + ", " +
                  std::to_string(rect.height) + ");");
    }
    if (layoutChatRect(mode, rect))
        runInPage("positionElement('ChatArea', " + rectArguments(rect) + ");");
}

std::string serverBaseUrl() {
    const char* url = std::getenv("TARNWICK_SERVER_URL");
    return url != nullptr && *url != '\0' ? std::string(url) : std::string(cLoopbackServer);
}

std::string backgroundStatement(int layoutMode) {
    if (layoutMode == 2)
        return "$('#BackgroundFrame').attr(\"src\", \"tarnwick://UI/GameScreen_Lge.png\");";
    if (layoutMode == 1)
        return "$('#BackgroundFrame').attr(\"src\", \"tarnwick://UI/GameScreen-Nav_Med.png\");";
    return {};
}

void prepLaunch() {
    if (gPrepLaunchDone)
        return;
    gPrepLaunchDone = true;
    recordShellCall("prepLaunch");
    initGame();
    fillLoginPage(GameScene::layoutMode());
}

void fillLoginPage(int mode) {
    printWord("getLayoutMode");
    positionPageElements(mode);
    if (const std::string background = backgroundStatement(mode); !background.empty())
        runInPage(background);

    printWord("prepLocText");
    runInPage("prepLocText();");
    // The stored credentials go into the page escaped: a quote in either
    // would otherwise end the literal and run the rest as script.
    printWord("getUsernameFromSecureStorage");
    runInPage("setUsername('" + escapedForPage(getStoredUsername()) + "'); ");
    runInPage("setPassword('" + escapedForPage(getStoredPassword()) +
              "'); $(\"#account\").focus();");
    printWord("getUserLogin");
    runInPage(std::string("loadingFinished(") + (checkEverPlayedGame() ? "1" : "0") + ");");

    if (BConfig::instance().isSetById(cOptShowBuildVersion)) {
        AppDelegate& app = appDelegate();
        if (app.mBuildVersion.empty())
            app.mBuildVersion = shellSeams().buildVersionText();
        runInPage("$('#BuildVersionText').html('" + escapedForPage(app.mBuildVersion) +
                  "'); $('#BuildVersionText').show();");
    }
    printWord("prepLaunchFinished");
}

void initGame() {
    initGameSystems();
    postInitGame();
    if (!gGameInitFailed)
        return;
    std::printf("GameInitFailure\n");
    std::fprintf(stderr, "Error: GameInitFailure\n");
    showMessageBox("Fatal Error", localizedString("Game Data Corrupt") + ". " +
                                      localizedString("Please delete the app and re-install."));
    quitApplication();
}

void initGameSystems() {
    recordShellCall("initGameSystems");
    BConfig& config = BConfig::instance();
    AppDelegate& app = appDelegate();
    if (config.isSetById(cOptDetailsFont))
        app.mDetailsFont = config.stringById(cOptDetailsFont, "");
    if (config.isSetById(cOptHeaderFont))
        app.mHeaderFont = config.stringById(cOptHeaderFont, "");
    setInterfaceFontNames(app.mHeaderFont, app.mDetailsFont);

    loadSoundSetting();
    loadSoundSets("sound/SoundSets");
    PuppetRegistry::loadAttachmentsFile("Attachments");
    cocos2d::CCTexture2D::setDefaultAlphaPixelFormat(cocos2d::kCCTexture2DPixelFormat_RGBA8888);

    recordShellCall("Database::init");
    if (!Database::init())
        failLoader("failed to init database");
    recordShellCall("SettingsManager::init");
    if (!SettingsManager::instance().init())
        failLoader("failed to init settings");
    recordShellCall("loadTauntPacks");
    if (!loadTauntPacks())
        failLoader("failed to init taunt packs");
    printWord("avatar manager.");
    recordShellCall("AvatarPack::loadAll");
    if (!AvatarPack::loadAll())
        failLoader("failed to init avatar manager");

    const uint32_t start = shellMilliseconds();
    auto* audio = CocosDenshion::SimpleAudioEngine::sharedEngine();
    for (const char* effect : cPreloadedEffects)
        audio->preloadEffect(effect);
    audio->preloadBackgroundMusic(cPreloadedMusic);
    std::printf("Preloaded sounds in %gs\n", double(shellMilliseconds() - start) / 1000.0);
    std::fflush(stdout);
}

void postInitGame() {
    recordShellCall("postInitGame");
    BConfig& config = BConfig::instance();
    if (config.isSetById(cOptShowFPS))
        cocos2d::CCDirector::sharedDirector()->setDisplayFPS(true);
    printWord("ASI init.");
    const std::string base = serverBaseUrl();
    webService().setBaseUrls(base, base, base, base);
    ensureDeviceId();
    if (config.isSetById(cOptResetAchievements))
        AchievementTracker::queueValue(AchievementTracker::cResetAllStats, 0);
    printWord("finish post-initgame.");
}

bool checkEverPlayedGame() {
    if (BConfig::instance().isSetById(cOptForceFirstTimeUser))
        return true;
    bool played = false;
    if (prefGetBool("EverPlayedGame", played) && played)
        return false;
    if (gamesList().countGamesInState(cNotActive) > 0) {
        prefSetBool("EverPlayedGame", true);
        return false;
    }
    return true;
}
