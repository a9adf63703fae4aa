#include "PageScript.h"
#include "ShellTestSupport.h"

#include "shell/GameDataLoad.h"
#include "shell/PageHost.h"
#include "shell/PageText.h"

#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/Preferences.h"
#include "content/StartupOptions.h"
#include "platform/engine/CCFileUtils.h"
#include "rules/AchievementTracker.h"
#include "rules/GamesList.h"
#include "scene/GameScene.h"
#include "service/BSecureStorage.h"
#include "service/WebService.h"

namespace {

class GameDataLoadTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        startFrom(TARNWICK_SOURCE_DIR);
        setPageHost(&mPage);
        gAppRunning = true;
        gGameInitFailed = false;
        secureStorage().setStoredUsername("");
        secureStorage().setStoredPassword("");
    }

    void TearDown() override {
        setPageHost(nullptr);
        setGamesList(nullptr);
        setBaseFolder({});
        ShellTest::TearDown();
    }

    static void startFrom(const std::filesystem::path& root) {
        setBaseFolder(root.string());
        cocos2d::CCFileUtils::setResourcePath((root / "data").string() + "/");
        setupLanguageAndPaths("english");
        loadLocalizableStrings();
    }

    RecordingPageHost mPage;
};

// A games list holding a number of games the local player no longer plays.
class FinishedGames : public GamesList {
public:
    explicit FinishedGames(int32_t count) : mCount(count) {}
    GameRecord* findGame(int64_t) override { return nullptr; }
    std::string getNickname() const override { return "me"; }
    int32_t countGamesInState(LocalGameState state) override {
        return state == cNotActive ? mCount : 0;
    }

private:
    int32_t mCount;
};

} // namespace

TEST_F(GameDataLoadTest, PrepLaunchLoadsOnceAndTheCredentialsArriveUnchanged) {
    const std::string user = "O'Brien \"the\" \\great\\";
    const std::string password = "p'a\"s\\s</script>";
    secureStorage().setStoredUsername(user);
    secureStorage().setStoredPassword(password);
    GameScene::setLayoutMode(1);

    prepLaunch();
    EXPECT_FALSE(gGameInitFailed);
    EXPECT_TRUE(gAppRunning);
    const std::vector<std::string> statements = mPage.statements();
    prepLaunch();
    EXPECT_EQ(mPage.statements(), statements) << "the second call does nothing";
    const std::vector<std::string> calls = shellCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "initGameSystems"), 1);

    PageScript page;
    for (const std::string& statement : statements)
        EXPECT_TRUE(page.run(statement)) << statement;
    ASSERT_TRUE(page.run("var wanted = '" + escapedForPage(user) + "';"));
    EXPECT_EQ(page.text("received.indexOf(wanted) >= 0"), "true");
    EXPECT_EQ(page.text("received[received.length - 2]"), password);
    EXPECT_EQ(page.text("received[received.length - 1]"), "1") << "a first-time player";
}

TEST_F(GameDataLoadTest, LoginPageStatementsPerLayoutMode) {
    const std::string tail[] = {"prepLocText();", "setUsername(''); ",
                                "setPassword(''); $(\"#account\").focus();", "loadingFinished(1);"};
    struct Case {
        int mode;
        std::vector<std::string> head;
    };
    const Case cases[] = {
        {0,
         {"positionElement('navmenu-outer', 4, 44, 300, 540);",
          "positionElement('boardContainer', 315, 14, 480, 320);", "setBoardSize(480, 320);",
          "positionElement('ChatArea', 315, 380, 480, 205);"}},
        {1,
         {"positionElement('navmenu-outer', 6, 58, 302, 299);",
          "positionElement('boardContainer', 313, 14, 960, 640);", "setBoardSize(960, 640);",
          "positionElement('ChatArea', 7, 364, 300, 288);",
          "$('#BackgroundFrame').attr(\"src\", \"tarnwick://UI/GameScreen-Nav_Med.png\");"}},
        {2,
         {"positionElement('navmenu-outer', 14, 54, 370, 922);",
          "positionElement('boardContainer', 395, 14, 1024, 768);", "setBoardSize(1024, 768);",
          "positionElement('ChatArea', 395, 795, 1025, 183);",
          "$('#BackgroundFrame').attr(\"src\", \"tarnwick://UI/GameScreen_Lge.png\");"}},
    };
    for (const Case& c : cases) {
        RecordingPageHost page;
        setPageHost(&page);
        fillLoginPage(c.mode);
        std::vector<std::string> expected = c.head;
        expected.insert(expected.end(), std::begin(tail), std::end(tail));
        EXPECT_EQ(page.statements(), expected) << c.mode;
    }
}

TEST_F(GameDataLoadTest, FirstTimePlayerCases) {
    struct Case {
        bool force;
        const char* stored; // "EverPlayedGame", null when absent
        int32_t finishedGames;
        bool firstTime;
        const char* storedAfter;
    };
    const Case cases[] = {
        {true, "true", 0, true, "true"},    {false, "true", 0, false, "true"},
        {false, "false", 1, false, "true"}, {false, nullptr, 2, false, "true"},
        {false, "false", 0, true, "false"}, {false, nullptr, 0, true, nullptr},
    };
    for (const Case& c : cases) {
        BConfig::instance().reset();
        if (c.force)
            BConfig::instance().parseLine("ForceFirstTimeUser", nullptr);
        builtInPreferenceStore().clear();
        if (c.stored != nullptr)
            builtInPreferenceStore().setValue("EverPlayedGame", c.stored);
        FinishedGames list(c.finishedGames);
        setGamesList(&list);
        EXPECT_EQ(checkEverPlayedGame(), c.firstTime) << c.force << c.finishedGames;
        const auto& values = builtInPreferenceStore().values();
        const auto found = values.find("EverPlayedGame");
        if (c.storedAfter == nullptr)
            EXPECT_EQ(found, values.end());
        else if (found != values.end())
            EXPECT_EQ(found->second, c.storedAfter);
        else
            ADD_FAILURE() << "not stored";
        RecordingPageHost page;
        setPageHost(&page);
        fillLoginPage(0);
        EXPECT_EQ(page.statements().back(),
                  std::string("loadingFinished(") + (c.firstTime ? "1" : "0") + ");");
        setGamesList(nullptr);
    }
}

TEST_F(GameDataLoadTest, ABrokenDatabaseStopsTheGameAfterEveryLoaderRan) {
    const std::filesystem::path root = brokenDatabaseContent();
    startFrom(root);

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    initGame();
    const std::string output = testing::internal::GetCapturedStdout();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(output.find("failed to init database\n"), std::string::npos) << output;
    EXPECT_NE(output.find("GameInitFailure\n"), std::string::npos);
    EXPECT_NE(errors.find("Fatal Error: Game Data Corrupt. Please delete the app and re-install."),
              std::string::npos)
        << errors;
    EXPECT_TRUE(gGameInitFailed);
    EXPECT_FALSE(gAppRunning) << "the program quits";
    const std::vector<std::string> calls = callsWithoutPasses();
    for (const char* loader :
         {"Database::init", "SettingsManager::init", "loadTauntPacks", "AvatarPack::loadAll",
          "postInitGame", "messageBox:Fatal Error", "quitApplication"})
        EXPECT_NE(std::find(calls.begin(), calls.end(), loader), calls.end()) << loader;
}

TEST_F(GameDataLoadTest, ResetAchievementsQueuesTheResetRecord) {
    AchievementTracker::setFlushEnabled(false);
    postInitGame();
    EXPECT_TRUE(AchievementTracker::queuedRecords().empty());
    BConfig::instance().parseLine("ResetAchievements", nullptr);
    postInitGame();
    ASSERT_EQ(AchievementTracker::queuedRecords().size(), 1u);
    EXPECT_EQ(AchievementTracker::queuedRecords()[0].mId, AchievementTracker::cResetAllStats);
    EXPECT_EQ(AchievementTracker::queuedRecords()[0].mValue, 0);
    AchievementTracker::reset();
}
