// The team-selection and team-details pages' statements, run in
// JavaScriptCore against stubs that keep each call: the roster's places,
// the title and the players' header for each kind of selection (the other
// player read from the loopback server), the details of a civ and its
// tiles, the create button's arming, and the board's two ways in.

#include "GamesListTestSupport.h"

#include "shell/DesktopShellServices.h"
#include "shell/TeamSelect.h"

#include "content/AvatarPack.h"
#include "content/protos/ProtoEntity.h"

namespace {

// A civ of the list, with its name as display name and a large emblem.
std::unique_ptr<ProtoCiv> makeCiv(int32_t id, const std::string& name) {
    auto civ = std::make_unique<ProtoCiv>(id);
    civ->mName = name;
    civ->mDisplayName = name + " team";
    civ->mLargeEmblemImage = "UI/" + name + ".png";
    return civ;
}

// A single-tile entry of an allocation.
std::unique_ptr<TileAllocationEntry> tileEntry(const std::string& name, int32_t count) {
    auto entry = std::make_unique<TileAllocationEntry>();
    entry->mTiles.push_back(std::make_unique<TileRecord>(TileRecord{name, count}));
    return entry;
}

constexpr const char* cTeamStubs = R"JS(
var calls = [];
function stub(name) {
  return function () { calls.push(name + JSON.stringify(Array.prototype.slice.call(arguments))); };
}
['clearTeamSelectRoster', 'addToTeamSelectRoster', 'setTeamSelectTitle', 'setTeamSelectAvatars',
 'navigateToCreateGame', 'locAlert', 'addTeamLongDesc', 'addTeamDetails', 'addDetailEntry',
 'showTeamDetails', 'addTeamHelpBackButton', 'showTeamSelect', 'clearButton', 'requestGame']
    .forEach(function (name) { this[name] = stub(name); }, this);
// The armed button is pressed at once.
function fixupButtonWithHeight(id, left, top, down, up, handler, width, textWidth, height) {
  calls.push('fixupButtonWithHeight' + JSON.stringify([id, left, top, down, up, width, textWidth, height]));
  handler();
}
var $ = function (selector) { return { css: stub(selector + '.css') }; };
)JS";

} // namespace

class TeamSelectTest : public GamesListTest {
protected:
    void SetUp() override {
        GamesListTest::SetUp();
        ASSERT_TRUE(AvatarPack::loadAll());
        mClient.mLocalHomeColor = 2;
        mClient.mLocalAwayColor = 4;
    }
    void TearDown() override {
        AvatarPack::clear();
        GamesListTest::TearDown();
    }

    // Runs what was sent since the last mark over the stubs: the calls, one
    // a line.
    std::string pageCallsOfSent() {
        if (!mScript.run(cTeamStubs))
            return "<stubs failed>";
        for (const std::string& statement : sent())
            if (!mScript.run(statement))
                return "<failed: " + statement + ">";
        return pageCalls();
    }
    // The calls whose name starts with prefix.
    std::vector<std::string> callsOf(const std::string& prefix) {
        std::vector<std::string> found;
        std::istringstream lines(pageCallsOfSent());
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with(prefix))
                found.push_back(line);
        return found;
    }
};

TEST_F(TeamSelectTest, FiveCivsFillTheRosterThreeToARowAfterTheRandomEntry) {
    auto& civs = SettingsManager::instance().mCivs;
    civs.clear();
    const char* names[] = {"one", "two", "three", "four", "five"};
    for (int32_t i = 0; i < 5; ++i) {
        civs.push_back(makeCiv(i, names[i]));
        if (i == 1)
            civs.push_back(nullptr); // takes no place
    }
    mark();
    populateTeamSelect(mClient, "", 0, true, false);
    EXPECT_EQ(
        callsOf("addToTeamSelectRoster"),
        (std::vector<std::string>{
            R"(addToTeamSelectRoster["random","Random","tarnwick://data/UI/Random-Emblem-hd.png",0,0])",
            R"(addToTeamSelectRoster["one","one team","tarnwick://data/UI/one.png",1,0])",
            R"(addToTeamSelectRoster["two","two team","tarnwick://data/UI/two.png",2,0])",
            R"(addToTeamSelectRoster["three","three team","tarnwick://data/UI/three.png",0,1])",
            R"(addToTeamSelectRoster["four","four team","tarnwick://data/UI/four.png",1,1])",
            R"(addToTeamSelectRoster["five","five team","tarnwick://data/UI/five.png",2,1])"}));
    EXPECT_EQ(sent().front(), "clearTeamSelectRoster();");
}

TEST_F(TeamSelectTest, TheTitleAndHeaderFollowTheKindOfSelection) {
    const std::string bo =
        "<player nickname='Bo' home_color='3' away_color='5' avatar='AVATAR_COUNCIL_FREE|0'/>";
    // Both avatars are the free pack's first, which has no colour layer.
    const std::string council = "tarnwick://data/UI/Avatars/Council01.png";
    const auto avatars = [&](const std::string& first, const std::string& second, int firstColor,
                             int secondColor, const std::string& firstAvatar,
                             const std::string& secondAvatar) {
        return "setTeamSelectAvatars" + nlohmann::json{first,       second,      firstColor,
                                                       secondColor, firstAvatar, secondAvatar,
                                                       "",          "",          1}
                                            .dump();
    };
    const std::string quoted = "O'Brien \"Bo\" \\";
    const struct {
        const char* name;
        std::string opponent;
        int64_t gameId;
        bool matchmake;
        bool rematch;
        std::optional<ScriptedReply> reply;
        std::vector<std::string> calls; // after the roster
    } cases[] = {
        {"matchmaking",
         "",
         0,
         true,
         false,
         std::nullopt,
         {R"(setTeamSelectTitle["Find a random opponent"])",
          avatars("Ada", "??", 2, 0, council, "tarnwick://data/UI/Avatars/UnknownAvatar.jpg")}},
        {"a new game",
         "bo",
         0,
         false,
         false,
         ScriptedReply{200, bo},
         {R"(setTeamSelectTitle["Start game with Bo"])",
          avatars("Ada", "Bo", 2, 5, council, council)}},
        {"a rematch",
         "bo",
         -1,
         false,
         true,
         ScriptedReply{200, bo},
         {R"(setTeamSelectTitle["Invite Bo to play again"])",
          avatars("Ada", "Bo", 2, 5, council, council)}},
        {"an invitation",
         "bo",
         12345,
         false,
         false,
         ScriptedReply{200, bo},
         {R"(setTeamSelectTitle["Bo has invited you to play"])",
          avatars("Bo", "Ada", 3, 4, council, council)}},
        {"an unknown opponent",
         "Nobody 'x'",
         0,
         false,
         false,
         ScriptedReply{200, "<Error>InvalidPlayer</Error>"},
         {"navigateToCreateGame[]", R"(locAlert["Invalid player name."])",
          R"(setTeamSelectTitle["Start game with Nobody 'x'"])",
          avatars("Ada", "", 2, 0, council, "tarnwick://data/")}},
        {"a nickname with quotes",
         "q",
         0,
         false,
         false,
         ScriptedReply{200, "<player nickname='O&apos;Brien \"Bo\" \\' home_color='1' "
                            "away_color='6' avatar='AVATAR_COUNCIL_FREE|0'/>"},
         {"setTeamSelectTitle" + nlohmann::json{"Start game with " + quoted}.dump(),
          avatars("Ada", quoted, 2, 6, council, council)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.reply)
            script(Endpoint::GetUserRecordByNickname, *c.reply);
        const size_t requests = mServer.requests().size();
        mark();
        populateTeamSelect(mClient, c.opponent, c.gameId, c.matchmake, c.rematch);
        EXPECT_EQ(mServer.requests().size(), requests + (c.matchmake ? 0 : 1));
        std::vector<std::string> calls;
        for (const std::string& line : callsOf(""))
            if (!line.starts_with("clearTeamSelectRoster") &&
                !line.starts_with("addToTeamSelectRoster"))
                calls.push_back(line);
        EXPECT_EQ(calls, c.calls);
    }
}

TEST_F(TeamSelectTest, TheServersOwnAnswerForAnUnknownNameGivesTheInvalidNameText) {
    ASSERT_EQ(call("createAccount", {"ada@example.com", "Ada", "secret"}), 0);
    mark();
    ASSERT_EQ(call("populateTeamSelect", {"Ghost", "0", false, false}), std::nullopt);
    EXPECT_TRUE(ran("navigateToCreateGame(); locAlert('Invalid player name.');"));
    EXPECT_TRUE(ran("setTeamSelectTitle('Start game with Ghost'); "));
    EXPECT_EQ(mHandler->mTeamSelectOpponent, "Ghost");
}

TEST_F(TeamSelectTest, TheDetailsColourHalvesEachComponentInTwoHexDigits) {
    const struct {
        int32_t r, g, b;
        const char* text;
    } cases[] = {
        {60, 60, 60, "#1e1e1e"},
        {20, 255, 0, "#0a7f00"},
        {1, 2, 3, "#000101"},
        {-5, 300, 255, "#007f7f"}, // held to 0 to 255
    };
    for (const auto& c : cases) {
        ProtoCiv civ(0);
        civ.mBackgroundR = c.r;
        civ.mBackgroundG = c.g;
        civ.mBackgroundB = c.b;
        EXPECT_EQ(teamDetailsColor(civ), c.text);
    }
    EXPECT_EQ(teamDetailsColor(ProtoCiv(0)), "#1e1e1e");
}

TEST_F(TeamSelectTest, TheDetailsCarryTheCivsTextsAndOneEntryPerKnownTile) {
    ProtoCiv civ(7);
    civ.mName = "say\"x";
    civ.mDisplayName = "Say's";
    civ.mLongDescription = "Line one\nline \"two\"";
    civ.mShortDescription = "short";
    civ.mTeamDetailImage = "UI/detail.png";
    civ.mEmblemImage = "UI/emblem.png";
    civ.mTeamBonusIcon = "UI/bonus.png";
    civ.mTeamBonusTitle = "Bonus";
    civ.mTeamBonusDescription = "More";
    civ.mBackgroundR = 20;
    civ.mTileAllocation = std::make_unique<TileAllocation>();
    auto& entries = civ.mTileAllocation->mEntries;
    entries.push_back(tileEntry("knight", 3));
    entries.push_back(tileEntry("archer", 1));
    auto random = std::make_unique<TileAllocationEntry>();
    random->mType = TileAllocationEntry::cRandomChoice;
    random->mTiles.push_back(std::make_unique<TileRecord>(TileRecord{"cleric", 1}));
    entries.push_back(std::move(random));
    entries.push_back(tileEntry("wizard", 2)); // after a random entry: counted 0
    const int32_t knight = Database::getProtoIdByName("knight");
    const int32_t archer = Database::getProtoIdByName("archer");
    const int32_t wizard = Database::getProtoIdByName("wizard");
    civ.mTileAllocation->mProtoIds = {knight, archer, 987654, wizard};
    ProtoEntity* knightProto = Database::getProto(knight);
    ProtoEntity* archerProto = Database::getProto(archer);
    ProtoEntity* wizardProto = Database::getProto(wizard);
    ASSERT_TRUE(knightProto && archerProto && wizardProto);
    knightProto->mDetailedHelp = "detailed";
    archerProto->mDetailedHelp.clear();
    archerProto->mShortHelp = "short help";
    wizardProto->mDetailedHelp = "zap";

    mark();
    populateTeamDetails(civ);
    const auto entry = [](int column, const std::string& label, const ProtoEntity& proto,
                          const std::string& help) {
        return "addDetailEntry" +
               nlohmann::json{column, label, proto.mClassDisplayName, proto.mLargePortrait, help}
                   .dump();
    };
    EXPECT_EQ(pageCallsOfSent(),
              R"(addTeamLongDesc["Line one line \"two\""])"
              "\n"
              R"(addTeamDetails["say\"x","Say's","#0a1e1e","short","UI/detail.png",)"
              R"("UI/emblem.png","UI/bonus.png","Bonus","More"])"
              "\n" +
                  entry(0, knightProto->mDisplayName + " (x3)", *knightProto, "detailed") + "\n" +
                  entry(1, archerProto->mDisplayName, *archerProto, "short help") + "\n" +
                  entry(0, wizardProto->mDisplayName + " (x0)", *wizardProto, "zap"));
}

TEST_F(TeamSelectTest, TheDetailsRowBuildsOnlyForAKnownCivName) {
    for (const char* name : {"Random", "random", "nobody", ""}) {
        ASSERT_EQ(call("populateTeamDetails", {name}), std::nullopt);
        EXPECT_TRUE(statements().empty()) << name;
    }
    ASSERT_EQ(call("populateTeamDetails", {"humans"}), std::nullopt);
    EXPECT_TRUE(statements().front().starts_with("addTeamLongDesc(\""));
}

TEST_F(TeamSelectTest, APickedTeamArmsTheCreateButtonWithTheSelection) {
    const struct {
        nlohmann::json arguments;
        const char* team;
        const char* request;
    } cases[] = {
        {{"O'Brien \"Bo\"", "0", false, false},
         "orcs",
         R"(requestGame["0","O'Brien \"Bo\"","orcs",0])"},
        {{"", "0", true, false}, "random", R"(requestGame["0","","random",1])"},
        {{"Bo", "12345", false, false}, "it's", R"(requestGame["12345","Bo","it's",0])"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.team);
        script(Endpoint::GetUserRecordByNickname, {200, "<Error>InvalidPlayer</Error>"});
        ASSERT_EQ(call("populateTeamSelect", c.arguments), std::nullopt);
        mark();
        ASSERT_EQ(call("teamRosterSelection", {c.team}), std::nullopt);
        ASSERT_EQ(sent().size(), 3u);
        EXPECT_EQ(sent()[0], "clearButton(\"TeamSelectCreateGame\");");
        EXPECT_EQ(sent()[2], "$('#TeamSelectCreateGame').css(\"background\", "
                             "\"url('tarnwick://UI/AccountGreenButton-Up.png') transparent "
                             "no-repeat\");");
        EXPECT_EQ(
            pageCallsOfSent(),
            std::string(R"(clearButton["TeamSelectCreateGame"])"
                        "\n"
                        R"(fixupButtonWithHeight["TeamSelectCreateGame",45,25,)"
                        R"("AccountGreenButton-Dn.png","AccountGreenButton-Up.png",210,210,39])"
                        "\n") +
                c.request + "\n" + R"(#TeamSelectCreateGame.css["background",)" +
                R"("url('tarnwick://UI/AccountGreenButton-Up.png') transparent no-repeat"])");
    }
    EXPECT_EQ(mHandler->mCurrentGameID, 12345);
}

TEST_F(TeamSelectTest, TheBoardOpensTheDetailsOfItsCivAndARematchAgainstTheOpponent) {
    const int32_t humans = SettingsManager::instance().civIndexForName("humans");
    ASSERT_GE(humans, 0);
    const int32_t humansId = SettingsManager::instance().mCivs[size_t(humans)]->mId;
    // The board reaches the page through the shell's services.
    DesktopShellServices services;
    services.showTeamDetailsFromBoard(9999);
    EXPECT_TRUE(statements().empty());
    services.showTeamDetailsFromBoard(humansId);
    EXPECT_EQ(statements(),
              (std::vector<std::string>{"showTeamDetails('humans'); "
                                        "addTeamHelpBackButton('GameBoard', true);"}));

    list(40, 100, {{"Ada"}, {"O'Brien"}});
    list(41, 100, {{"Bo"}, {"Ada"}});
    list(42, 100, {{"Ada"}});
    mark();
    for (const int64_t game : {40, 41, 42, 43})
        showTeamSelectForOpponent(mClient, game);
    EXPECT_EQ(sent(), (std::vector<std::string>{"showTeamSelect('0', 'O\\'Brien', false);",
                                                "showTeamSelect('0', 'Bo', false);"}));
}
