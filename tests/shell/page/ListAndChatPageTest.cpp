// The games list and the chat panel on the real menu page (run under
// xvfb-run): the client logs in to the in-process loopback server seeded
// with a game in each state a listed game can have, the list is rebuilt
// and a game's chat refreshed into the page, and the page's DOM is read
// back through its native call road.

#include "../../tools/server/ServiceClientSupport.h"

#include "shell/BrowserPageHost.h"
#include "shell/ChatPage.h"
#include "shell/CocosV8Handler.h"
#include "shell/GamesListPage.h"
#include "shell/PageHost.h"

#include "content/Preferences.h"
#include "platform/engine/CCDirector.h"
#include "puzzle/PuzzleSceneSupport.h"
#include "puzzle/PuzzleScriptLoader.h"
#include "rules/Game.h"
#include "rules/PuzzleScript.h"
#include "rules/SceneServices.h"
#include "scene/GameScene.h"
#include "scene/GameSceneServices.h"
#include "scene/sound/SoundPlayback.h"
#include "shell/GameOpening.h"
#include "shell/PuzzleMenus.h"

#include "content/AvatarPack.h"
#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/StartupOptions.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"
#include "platform/browser/BridgeDispatcher.h"
#include "platform/browser/OffscreenPage.h"
#include "platform/engine/CCFileUtils.h"
#include "service/BSecureStorage.h"
#include "service/WebService.h"
#include "tools/server/LoopbackServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace {

// demo waits in games 1 and 2 (2 the older), Ann in game 3; demo has won
// game 4.
constexpr const char* cSeed = R"(<ServerSeed>
  <Account login="demo" password="demo" nickname="demo"/>
  <Account login="ann" password="ann" nickname="Ann"/>
  <Account login="bo" password="bo" nickname="Bo"/>
  <Account login="cy" password="cy" nickname="Cy"/>
  <Game id="1" created="2026-03-01 10:00:00" lastTurn="2026-03-02 10:00:00" creator="demo" turnPlayer="demo">
    <Player name="demo" civ="humans"/><Player name="Ann" civ="orcs" chats="0"/>
  </Game>
  <Game id="2" created="2026-03-01 10:00:00" lastTurn="2026-03-02 09:00:00" creator="Bo" turnPlayer="demo">
    <Player name="Bo" civ="orcs"/><Player name="demo" civ="humans"/>
  </Game>
  <Game id="3" created="2026-03-01 10:00:00" lastTurn="2026-03-02 08:00:00" creator="Ann" turnPlayer="Ann">
    <Player name="Ann" civ="orcs"/><Player name="demo" civ="humans"/>
  </Game>
  <Game id="4" created="2026-03-01 10:00:00" lastTurn="2026-03-02 07:00:00" creator="demo" turnPlayer="Cy" complete="1">
    <Player name="demo" civ="humans" status="inactive" substatus="won"/><Player name="Cy" civ="orcs" status="inactive" substatus="lost"/>
  </Game>
</ServerSeed>)";

class ListAndChatPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("NO_AT_BRIDGE", "1", 1);
        // No session bus: with a display set, D-Bus would try to start one
        // through X and keep what it allocated for that.
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
        char pattern[] = "/tmp/list-chat-page-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        sFolder = pattern;
        setenv("XDG_DATA_HOME", sFolder.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", sFolder.c_str(), 1);
        sOldFolder = std::filesystem::current_path();

        setBaseFolder(TARNWICK_SOURCE_DIR);
        cocos2d::CCFileUtils::setResourcePath(TARNWICK_SOURCE_DIR "/data");
        setupLanguageAndPaths("english");
        loadLocalizableStrings();
        ASSERT_TRUE(Database::init());
        ASSERT_TRUE(SettingsManager::instance().init());
        ASSERT_TRUE(AvatarPack::loadAll());

        std::ofstream(sFolder / "seed.xml") << cSeed;
        LoopbackServerOptions options;
        options.seed = sFolder / "seed.xml";
        sServer = new LoopbackServer(options);
        ASSERT_TRUE(sServer->start()) << sServer->error();

        ASSERT_TRUE(OffscreenPage::initToolkit()) << "needs an X display (xvfb-run -a)";
        setBridgeDispatcher(recordCall);
        sHost = new BrowserPageHost(TARNWICK_SOURCE_DIR);
        setPageHost(sHost);
        ASSERT_TRUE(pumpUntil([] {
            return getOSRBrowser() != nullptr && !getOSRBrowser()->isLoading() &&
                   read("typeof addGameEntry + typeof prepChat") == "functionfunction";
        }));
    }
    static void TearDownTestSuite() {
        setPageHost(nullptr);
        delete sHost;
        sHost = nullptr;
        setBridgeDispatcher({});
        delete sServer;
        sServer = nullptr;
        AvatarPack::clear();
        SettingsManager::instance().clear();
        Database::clear();
        std::filesystem::current_path(sOldFolder);
        std::filesystem::remove_all(sFolder);
    }

    // The page's native calls are only recorded.
    static std::optional<nlohmann::json> recordCall(const std::string& function,
                                                    const nlohmann::json& arguments) {
        sCalls.push_back(function + arguments.dump());
        return std::nullopt;
    }

    // Pumps the page until the condition holds (false after 10 s).
    static bool pumpUntil(const std::function<bool()>& condition) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            sHost->doWork();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    // The text of an expression of the page, which reports it through its
    // native call road once the statements before it ran.
    static std::string read(const std::string& expression) {
        sCalls.clear();
        runInPage("cef.uiapp.report(String(" + expression + "));");
        std::string value = "<no report>";
        pumpUntil([&] {
            for (const std::string& call : sCalls)
                if (call.starts_with("report")) {
                    value = nlohmann::json::parse(call.substr(6))[0].get<std::string>();
                    return true;
                }
            return false;
        });
        return value;
    }

    // The client on the server, logged in as demo.
    static void logInAsDemo(WebService& client, BSecureStorage& store) {
        client.setSecureStorage(&store);
        const std::string base = sServer->baseUrl();
        client.setBaseUrls(base, base, base, base);
        client.setStoredUsername("demo");
        client.setStoredPassword("demo");
        ASSERT_EQ(client.login(), 0);
    }

    static inline std::filesystem::path sFolder;
    static inline std::filesystem::path sOldFolder;
    static inline LoopbackServer* sServer = nullptr;
    static inline BrowserPageHost* sHost = nullptr;
    static inline std::vector<std::string> sCalls;
};

TEST_F(ListAndChatPageTest, TheListShowsEachSectionInOrderAndTheChatAGamesLines) {
    BSecureStorage store;
    WebService client;
    ASSERT_NO_FATAL_FAILURE(logInAsDemo(client, store));
    const std::string base = sServer->baseUrl();
    ASSERT_EQ(client.addGameChat(3, "it's \"on\" <b>"), 0);
    ServiceClient ann(base);
    ASSERT_TRUE(ann.login("ann", "ann"));
    ASSERT_EQ(ann.post("Chat/addGameChat", {{"gameid", "3"}, {"chat", "good luck"}}).mRoot,
              "Success");
    ASSERT_EQ(client.getGameList(), 0);
    CocosV8Handler handler(client, store);

    rebuildGamesList(handler);
    runInPage("navigateTo('GamesList');");
    EXPECT_EQ(read("$('#YourTurnText').text()"), "demo's Turn");
    EXPECT_EQ(
        read("$('.GamesSection:visible').map(function () { return $(this).attr('data-state'); "
             "}).get().join(',')"),
        "1,2,3");
    EXPECT_EQ(read("$('.GameEntry').map(function () { return $(this).attr('data-game') + ' ' + "
                   "$(this).find('.EntryName').text() + ' ' + "
                   "$(this).closest('.GamesSection').attr('data-state'); }).get().join(', ')"),
              "2 Bo 1, 1 Ann 1, 3 Ann 2, 4 Cy 3");
    EXPECT_EQ(read("$('.GameEntry[data-game=3] .EntryUnread').text()"), "1");
    EXPECT_EQ(read("$('.GameEntry[data-game=3] .EntryAvatar').attr('src')"),
              "tarnwick://data/UI/Avatars/Council01.png");

    {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        prepChat(handler, 3, false);
    }
    refreshChat(handler, 3, true);
    EXPECT_EQ(
        read("$('#ChatPlayer1 .ChatName').text() + ' / ' + $('#ChatPlayer2 .ChatName').text()"),
        "Ann / demo");
    EXPECT_EQ(read("$('#ChatText .ChatLine').map(function () { return $(this).text(); })"
                   ".get().join(' | ')"),
              "Ann: good luck | demo: it's \"on\" <b>");
    // The entry sent again replaced the first one.
    EXPECT_EQ(read("$('.GameEntry[data-game=3]').length + ' ' + "
                   "$('.GameEntry[data-game=3] .EntryUnread').is(':visible')"),
              "1 false");

    purgeGameFromPage(4);
    EXPECT_EQ(read("$('.GameEntry').length + ' ' + $('#GamesSection3').is(':visible')"), "3 false");

    read("$('.GameEntry[data-game=1]').click()");
    EXPECT_EQ(sCalls.front(), R"(selectGame["1",true])");
}

// A client that is not logged in, with preferences of its own, whose
// handler answers the page's calls (the page's reports are recorded) while
// it lives.
struct HandledPage {
    using Recorder = std::optional<nlohmann::json> (*)(const std::string&, const nlohmann::json&);
    explicit HandledPage(Recorder record) : record(record) {
        client.setSecureStorage(&store);
        setPreferenceStore(&store);
        setBridgeDispatcher([this](const std::string& function, const nlohmann::json& arguments) {
            return function == "report" ? this->record(function, arguments)
                                        : handler.Execute(function, arguments);
        });
    }
    ~HandledPage() {
        setBridgeDispatcher(record);
        setPreferenceStore(nullptr);
    }
    Recorder record;
    BSecureStorage store;
    WebService client;
    CocosV8Handler handler{client, store};
};

using SettingsPageTest = ListAndChatPageTest;

TEST_F(SettingsPageTest, TheSettingsScreenTogglesSoundAndCyclesTheFirstTurnActionPoints) {
    HandledPage page(recordCall);
    const bool sound = isSoundEnabled();
    const auto onOff = [](bool on) { return std::string(on ? "on" : "off"); };

    // Every screen's button is in the nav, the social ones added by their script.
    EXPECT_EQ(read("$('#NavButtons .NavButton').map(function () { return $(this).text(); "
                   "}).get().join('|')"),
              "Games|Tutorials|Challenges|Appearance|Settings|News|Leaderboards|Friends");
    runInPage("$('#SettingsNav').click();");
    EXPECT_EQ(read("$('#SettingsScreen').is(':visible')"), "true");
    EXPECT_EQ(read("$('#SoundSetting').text()"), "Sound: " + onOff(sound));
    EXPECT_EQ(read("$('#FirstTurnAPSetting').text()"), "First turn action points: 5");
    read("$('#SoundSetting').click()");
    EXPECT_EQ(isSoundEnabled(), !sound);
    EXPECT_EQ(read("$('#SoundSetting').text()"), "Sound: " + onOff(!sound));
    for (const char* points : {"1", "2"}) {
        read("$('#FirstTurnAPSetting').click()");
        EXPECT_EQ(read("$('#FirstTurnAPSetting').text()"),
                  std::string("First turn action points: ") + points);
    }
    int32_t stored = 0;
    EXPECT_TRUE(page.store.prefGetInt("Vellix_FirstTurnAP", stored));
    EXPECT_EQ(stored, 2);

    toggleSound();
}

using PuzzlePagesTest = ListAndChatPageTest;

TEST_F(PuzzlePagesTest, TheTutorialsMenuListsTheSampleCategoriesAndStartsTheFirstTutorial) {
    HandledPage page(recordCall);
    // The board's scene on a hand-stepped director, with the program's
    // puzzle scripts.
    installPuzzleScriptSupport();
    GameSceneServices sceneServices;
    setSceneServices(&sceneServices);
    installPuzzleSceneSupport();
    cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
    director->setWinSizeInPixels(cocos2d::CCSize(1024, 768));
    GameScene::setLayoutMode(2);

    runInPage("$('#TutorialsNav').click();");
    EXPECT_EQ(read("$('#TutorialsScreen').is(':visible')"), "true");
    const SettingsManager& settings = SettingsManager::instance();
    const int32_t tutorials = settings.mTutorialsCategoryIndex;
    ASSERT_GE(tutorials, 0);
    ASSERT_NE(settings.getPuzzle(tutorials, 0), nullptr);
    const std::string first = puzzleMenuTitle(*settings.getPuzzle(tutorials, 0));
    EXPECT_EQ(read("$('#TutorialsScreen .PuzzleEntry').map(function () { return $(this).text(); "
                   "}).get().join('|')"),
              "Meet the Council|Meet the Dark Elves|Meet the Dwarves|Meet the Tribe|" + first +
                  "|" + puzzleMenuTitle(*settings.getPuzzle(tutorials, 1)));
    // Entries carry the large layout's art.
    EXPECT_NE(read("$('#TutorialsScreen .PuzzleEntry').first().css('background-image')")
                  .find("MenuNav-Incomplete-Up_Lge.png"),
              std::string::npos);

    const std::string entry = "#NavPuzzleButton" + std::to_string(tutorials) + "-0";
    // A completed puzzle's entry changes its art in place.
    updatePuzzleMenuEntry(tutorials, 0);
    EXPECT_NE(
        read("$('" + entry + "').css('background-image')").find("MenuNav-Complete-Up_Lge.png"),
        std::string::npos);
    EXPECT_EQ(read("$('" + entry + "').text() + ' ' + $('.PuzzleEntry').length"), first + " 6");
    read("$('" + entry + "').click()");
    director->tick(0);
    ASSERT_NE(gCurrentGame, nullptr);
    EXPECT_EQ(gCurrentGame->mPuzzleCategory, tutorials);
    EXPECT_EQ(gCurrentGame->mPuzzleIndex, 0);
    ASSERT_NE(gGameScene, nullptr);
    EXPECT_EQ(gGameScene->getGame(), gCurrentGame);
    EXPECT_TRUE(sHost->gameViewShown());
    EXPECT_EQ(read("$('#GameBoard').is(':visible') + ' ' + $('#GameBackButton').is(':visible')"),
              "true true");
    // Back leaves the board for the games list.
    read("$('#GameBackButton').click()");
    EXPECT_FALSE(sHost->gameViewShown());
    EXPECT_EQ(read("$('#GamesListScreen').is(':visible')"), "true");

    // The other category's menu: its own list.
    runInPage("$('#ChallengesNav').click();");
    EXPECT_EQ(read("$('#ChallengesScreen').is(':visible')"), "true");
    EXPECT_EQ(read("$('#ChallengesScreen .PuzzleEntry').length > 0"), "true");

    director->end();
    director->tick(0);
    releaseOpenedGame();
    gCurrentGame = nullptr;
    sHost->setGameViewShown(false);
    setSceneServices(nullptr);
    setPuzzleScriptFactory(nullptr);
    GameScene::setDialogManagerFactory(nullptr);
    GameScene::setLayoutMode(0);
}

TEST_F(PuzzlePagesTest, TheAppearanceScreenChangesColourAndAvatar) {
    HandledPage page(recordCall);
    const std::string base = sServer->baseUrl();
    page.client.setBaseUrls(base, base, base, base);
    runInPage("$('#AppearanceNav').click();");
    EXPECT_EQ(read("$('#AppearanceScreen').is(':visible')"), "true");
    const SettingsManager& settings = SettingsManager::instance();
    EXPECT_EQ(read("$('#HomeColors .ColorSwatch').length + ' ' + "
                   "$('#AwayColors .ColorSwatch').length + ' ' + "
                   "$('#HomeColors .ColorSwatch').index($('#HomeColors .Selected'))"),
              std::to_string(settings.mHomeColors.size()) + " " +
                  std::to_string(settings.mAwayColors.size()) + " 0");
    read("$('#HomeColors .ColorSwatch').eq(1).click()");
    EXPECT_EQ(page.client.localHomeColor(), 1);
    EXPECT_EQ(read("$('#HomeColors .ColorSwatch').index($('#HomeColors .Selected'))"), "1");

    // The second pack's second avatar.
    EXPECT_EQ(read("$('#AvatarPacks .AvatarEntry').length"), "11");
    read("$('#AvatarPacks .AvatarEntry').eq(5).click()");
    EXPECT_EQ(page.client.localAvatarPackId(), "AVATAR_TRIBE_FREE");
    EXPECT_EQ(page.client.localAvatarIndex(), 1);
    EXPECT_EQ(read("$('#AvatarPacks .AvatarEntry').index($('#AvatarPacks .Selected'))"), "5");
}

using TeamSelectScreenTest = ListAndChatPageTest;

TEST_F(TeamSelectScreenTest, TheScreenShowsTheRosterAndAPickArmsTheCreateButton) {
    BSecureStorage store;
    WebService client;
    ASSERT_NO_FATAL_FAILURE(logInAsDemo(client, store));
    CocosV8Handler handler(client, store);
    // The page's calls reach the handler, but for the game requests, which
    // are only recorded.
    setBridgeDispatcher([&handler](const std::string& function, const nlohmann::json& arguments) {
        if (function == "report" || function == "createGame" || function == "acceptGame" ||
            function == "matchmake")
            return recordCall(function, arguments);
        return handler.Execute(function, arguments);
    });

    runInPage("showTeamSelect('0', 'Ann', false);");
    EXPECT_EQ(read("$('#TeamSelectScreen').is(':visible')"), "true");
    EXPECT_EQ(read("$('#TeamSelectRoster .RosterEntry').map(function () { return "
                   "$(this).attr('data-team'); }).get().join(',')"),
              "random,humans,orcs");
    EXPECT_EQ(read("$('#TeamSelectTitle').text()"), "Start game with Ann");
    EXPECT_EQ(read("$('#TeamSelectPlayer1 .TeamSelectName').text() + ' / ' + "
                   "$('#TeamSelectPlayer2 .TeamSelectName').text()"),
              "demo / Ann");
    EXPECT_EQ(read("$('#TeamSelectCreateGame').is(':visible')"), "false");
    read("$('.RosterEntry[data-team=orcs]').click()");
    EXPECT_EQ(read("$('#TeamSelectCreateGame').is(':visible')"), "true");
    read("$('#TeamSelectCreateGame').click()");
    EXPECT_EQ(sCalls.front(), R"(createGame["Ann","orcs"])");

    // The team's details, with the way back to the roster.
    read("$('.RosterEntry[data-team=orcs] .RosterDetails').click()");
    EXPECT_EQ(read("$('#TeamDetailsScreen').is(':visible') + ' ' + "
                   "$('#TeamDetailsHeader .TeamDetailsName').text()"),
              "true " + SettingsManager::instance().civForName("orcs")->mDisplayName);
    EXPECT_NE(read("$('#TeamDetailsTiles .DetailEntry').length"), "0");
    read("$('#TeamDetailsBack').click()");
    EXPECT_EQ(read("$('#TeamSelectScreen').is(':visible')"), "true");
    setBridgeDispatcher(recordCall);
}

} // namespace
