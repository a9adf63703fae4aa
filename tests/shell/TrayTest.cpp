#include "ShellTestSupport.h"

#include "shell/DesktopTray.h"
#include "shell/PageHost.h"
#include "shell/Tray.h"

#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/StartupOptions.h"
#include "rules/GamesList.h"
#include "scene/sound/SoundPlayback.h"

#include <cstdlib>
#include <memory>

namespace {

// Waiting games in order, oldest first, each against an opponent of its
// own; a login flag and the nickname "Ada".
class WaitingGames : public GamesList {
public:
    WaitingGames() { setGamesList(this); }
    ~WaitingGames() override { setGamesList(nullptr); }

    GameRecord* findGame(int64_t gameId) override {
        for (const auto& record : mRecords)
            if (record->mGameID == gameId)
                return record.get();
        return nullptr;
    }
    std::string getNickname() const override { return "Ada"; }
    bool isLoggedIn() const override { return mLoggedIn; }
    int32_t countGamesInState(LocalGameState state) override {
        return state == cMyTurn ? int32_t(mRecords.size()) : 0;
    }
    GameRecord* findNthGameInState(int32_t n, LocalGameState state) override {
        return state == cMyTurn && n >= 0 && n < int32_t(mRecords.size()) ? mRecords[n].get()
                                                                          : nullptr;
    }

    // Games 1..count against "Foe1".."FoeN", Ada playing humans and the
    // opponents orcs.
    void setWaiting(int count) {
        mRecords.clear();
        for (int i = 1; i <= count; ++i)
            add(i, "Foe" + std::to_string(i), "orcs");
    }
    GameRecord& add(int64_t id, const std::string& opponent, const std::string& civ) {
        auto record = std::make_unique<GameRecord>();
        record->mGameID = id;
        record->mCreationPlayer = opponent;
        for (const auto& [name, playerCiv] :
             {std::pair<std::string, std::string>{"Ada", "Humans"}, {opponent, civ}}) {
            auto player = std::make_unique<PlayerRecord>();
            player->mName = name;
            player->mStatus = cGameActive;
            player->mCivName = playerCiv;
            player->mIsLocal = name == "Ada";
            record->mPlayers.push_back(std::move(player));
        }
        mRecords.push_back(std::move(record));
        return *mRecords.back();
    }

    bool mLoggedIn = true;
    std::vector<std::unique_ptr<GameRecord>> mRecords;
};

class TrayTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        setBaseFolder(TARNWICK_SOURCE_DIR);
        setupLanguageAndPaths("english");
        loadLocalizableStrings();
        setTrayBackend(&mTray);
        setPageHost(&mPage);
        resetTray();
        gAppMinimized = false;
    }
    void TearDown() override {
        setTrayBackend(nullptr);
        setPageHost(nullptr);
        setBaseFolder({});
        BConfig::instance().unset("MinimizeToTray");
        ShellTest::TearDown();
    }

    std::vector<int> ids(const std::vector<TrayMenuItem>& items) {
        std::vector<int> out;
        for (const TrayMenuItem& item : items)
            out.push_back(item.id);
        return out;
    }

    WaitingGames mGames;
    LoggingTrayBackend mTray;
    RecordingPageHost mPage;
};

} // namespace

TEST_F(TrayTest, TheMenuListsTheSevenNewestWaitingGamesNewestFirst) {
    struct Case {
        bool loggedIn;
        int waiting;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {false, 3, {cTrayOpen, cTrayExit}},
        {true, 0, {cTrayGames, cTrayDivider, cTrayOpen, cTrayExit}},
        {true,
         9,
         {cTrayGames, cTrayDivider, 1028, 1029, 1030, 1031, 1032, 1033, 1034, cTrayDivider,
          cTrayOpen, cTrayExit}},
    };
    for (const Case& c : cases) {
        mGames.mLoggedIn = c.loggedIn;
        mGames.setWaiting(c.waiting);
        const std::vector<TrayMenuItem> items = buildTrayMenu();
        EXPECT_EQ(ids(items), c.ids) << c.waiting;
    }
    // The last case: newest (game 9) first, down to game 3.
    EXPECT_EQ(gTrayMenuGames.at(1028), 9);
    EXPECT_EQ(gTrayMenuGames.at(1034), 3);
    const std::vector<TrayMenuItem> items = buildTrayMenu();
    EXPECT_EQ(items[0].text, "Ada's Games (9)");
    EXPECT_TRUE(items[0].isDefault);
    EXPECT_EQ(items[2].text, "Foe9");
    EXPECT_EQ(items[2].localCivIcon, "interface/TrayCiv_humans.png");
    EXPECT_EQ(items[2].opponentCivIcon, "interface/TrayCiv_orcs.png");
    EXPECT_EQ(items.back().text, "Exit");
}

TEST_F(TrayTest, CivIconsCompareWithoutCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"HUMANS", "interface/TrayCiv_humans.png"},
        {"darkElves", "interface/TrayCiv_darkelves.png"},
        {"dwarves", "interface/TrayCiv_dwarves.png"},
        {"Kx4a", "interface/TrayCiv_kx4a.png"},
        {"", "interface/TrayCiv_other.png"},
        {"pirates", "interface/TrayCiv_other.png"},
    };
    for (const auto& [civ, icon] : cases)
        EXPECT_EQ(civIconBitmap(civ), icon) << civ;
}

TEST_F(TrayTest, NewTurnsShowOneBalloonForTheChange) {
    struct Case {
        int before;
        int after;
        bool refuse;
        const char* balloon; // empty for none
        int count;
    };
    const Case cases[] = {
        {2, 3, false, "Tarnwick: Foe3 has played. It is your turn!", 3},
        {0, 3, false, "Tarnwick: 3 of your games wait for your move.", 3},
        {3, 2, false, "", 2},
        {2, 3, true, "", 2}, // refused
    };
    for (const Case& c : cases) {
        gLastWaitingCount = c.before;
        mGames.setWaiting(c.after);
        mTray.refuseBalloons = c.refuse;
        mTray.mLines.clear();
        notifyNewTurns();
        std::string balloon;
        for (const std::string& line : mTray.mLines)
            if (line.starts_with("balloon ") && !line.starts_with("balloon refused"))
                balloon = line.substr(8);
        EXPECT_EQ(balloon, c.balloon) << c.before << " to " << c.after;
        EXPECT_EQ(gLastWaitingCount, c.count) << c.before << " to " << c.after;
        EXPECT_TRUE(gTrayIconWaiting);
    }
    mGames.setWaiting(0);
    notifyNewTurns();
    EXPECT_FALSE(gTrayIconWaiting);
    EXPECT_EQ(mTray.mLines.back(), "icon normal");
}

TEST_F(TrayTest, AGameCreatedByThePlayerWhoseOpponentHasNoCivShowsNoBalloon) {
    mGames.setWaiting(1);
    GameRecord& created = mGames.add(2, "Newcomer", "");
    created.mCreationPlayer = "ada";
    gLastWaitingCount = 1;
    notifyNewTurns();
    EXPECT_EQ(gLastWaitingCount, 2);
    for (const std::string& line : mTray.mLines)
        EXPECT_FALSE(line.starts_with("balloon")) << line;
}

TEST_F(TrayTest, TheTipKeepsAtMost127UnitsWithoutSplittingACharacter) {
    struct Case {
        std::string text;
        size_t bytes; // of the tip kept
    };
    const std::string a300(300, 'a');
    // 126 letters, then characters outside the basic plane (two units each).
    const std::string astral = std::string(126, 'b') + "\xF0\x9F\x8E\xB2\xF0\x9F\x8E\xB2";
    const Case cases[] = {
        {a300, 127},
        {"Tarnwick", 8},
        {astral, 126},
        {std::string(126, 'c') + "\xC3\xA4\xC3\xA4", 128}, // 126 + one two-byte letter
        {"ok\xFF"
         "bad",
         2}, // invalid bytes end it
    };
    for (const Case& c : cases) {
        mTray.mLines.clear();
        setTrayTip(c.text);
        ASSERT_EQ(mTray.mLines.size(), 1u);
        EXPECT_EQ(mTray.mLines[0].size() - 4, c.bytes) << c.text;
    }
}

TEST_F(TrayTest, MenuCommandsAndTheBalloonClickReachThePage) {
    mGames.setWaiting(2);
    buildTrayMenu();
    gAppMinimized = true;
    trayMenuCommand(cTrayGames);
    ASSERT_EQ(mPage.statements().size(), 1u);
    EXPECT_EQ(mPage.statements()[0], "navigateTo('GamesList');");
    EXPECT_FALSE(gAppMinimized);

    const std::string opened = "$('#gameslist').scrollTop(0); navigateTo('GamesList'); "
                               "$('#GameBoard').show(); cef.uiapp.showGameView(); "
                               "cef.uiapp.selectGameDeferred('1', true); ";
    trayMenuCommand(1029); // the second newest: game 1
    EXPECT_EQ(mPage.statements().back(), opened);

    // A help balloon's click does nothing; a new-turn balloon's opens the
    // newest waiting game.
    const size_t before = mPage.statements().size();
    showTrayBalloon(false, "Tarnwick", "help");
    handleTrayEvent(TrayEvent::BalloonClicked);
    EXPECT_EQ(mPage.statements().size(), before);
    showTrayBalloon(true, "Tarnwick", "turn");
    handleTrayEvent(TrayEvent::BalloonClicked);
    EXPECT_NE(mPage.statements().back().find("selectGameDeferred('2', true)"), std::string::npos);

    // A game that left the list opens all the same.
    mGames.setWaiting(0);
    trayMenuCommand(1028);
    EXPECT_NE(mPage.statements().back().find("selectGameDeferred('2', true)"), std::string::npos);
}

TEST_F(TrayTest, ADoubleClickRestoresOnTheRelease) {
    gAppMinimized = true;
    handleTrayEvent(TrayEvent::LeftButtonUp);
    EXPECT_TRUE(gAppMinimized) << "a single click does nothing";
    handleTrayEvent(TrayEvent::LeftDoubleClick);
    EXPECT_TRUE(gAppMinimized);
    handleTrayEvent(TrayEvent::LeftButtonUp);
    EXPECT_FALSE(gAppMinimized);
    EXPECT_FALSE(gTrayDoubleClicked);
}

TEST_F(TrayTest, MinimisingShowsTheHelpBalloonAndMutes) {
    struct Case {
        bool loggedIn;
        bool toTray;
        std::vector<std::string> balloons; // over two minimises
        const char* windowCall;
    };
    const Case cases[] = {
        {true, false, {"TrayBalloonHelp"}, "minimizeMainWindow"},
        {false, true, {"NotLoggedInBalloon", "NotLoggedInBalloon"}, "hideMainWindow"},
    };
    for (const Case& c : cases) {
        resetTray();
        mTray.mLines.clear();
        clearShellCalls();
        mGames.mLoggedIn = c.loggedIn;
        if (c.toTray)
            BConfig::instance().define("MinimizeToTray");
        else
            BConfig::instance().unset("MinimizeToTray");
        std::vector<std::string> balloons;
        for (int i = 0; i < 2; ++i) {
            gSoundsEnabled = true;
            onMainWindowMinimized();
            EXPECT_TRUE(gAppMinimized);
            EXPECT_FALSE(gSoundsEnabled) << "muted";
            onMainWindowRestored();
            EXPECT_FALSE(gAppMinimized);
        }
        for (const std::string& line : mTray.mLines)
            for (const char* key : {"TrayBalloonHelp", "NotLoggedInBalloon"})
                if (line.find(localizedString(key)) != std::string::npos)
                    balloons.push_back(key);
        EXPECT_EQ(balloons, c.balloons) << c.loggedIn;
        const std::vector<std::string> calls = shellCalls();
        EXPECT_EQ(std::count(calls.begin(), calls.end(), c.windowCall), 2) << c.windowCall;
    }
}

TEST(DesktopTrayTest, WithoutASessionBusTheLoggingBackEndStays) {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const std::string saved = address != nullptr ? address : "";
    for (const char* value : {"", "unix:path=/nonexistent"}) {
        setenv("DBUS_SESSION_BUS_ADDRESS", value, 1);
        EXPECT_FALSE(trayHostPresent()) << value;
        EXPECT_FALSE(installDesktopTray(TARNWICK_SOURCE_DIR "/data/interface")) << value;
        EXPECT_NE(dynamic_cast<LoggingTrayBackend*>(&trayBackend()), nullptr) << value;
    }
    if (address != nullptr)
        setenv("DBUS_SESSION_BUS_ADDRESS", saved.c_str(), 1);
    else
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
}
