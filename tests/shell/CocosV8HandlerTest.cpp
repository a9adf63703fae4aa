// The bridge's dispatch: names, counts, argument conversion, the road's bad
// requests, and the server version check.

#include "BridgeTestSupport.h"
#include "PageScript.h"

#include "shell/ServerVersionCheck.h"

#include "platform/browser/ClientOSRHandler.h"
#include "platform/browser/PageSink.h"

#include <limits>

using BridgeDispatchTest = BridgeTest;

TEST(BridgeTable, NamesTheSeventyThreeFunctionsOnceEachInDeclarationOrder) {
    const std::vector<std::string> expected = {"manualRequestGamesList",
                                               "hideGameView",
                                               "closeGameView",
                                               "showGameView",
                                               "selectGame",
                                               "selectGameDeferred",
                                               "reloadGame",
                                               "createGame",
                                               "viewSource",
                                               "testPopup",
                                               "setNotFirstGame",
                                               "loginButton",
                                               "logoutButton",
                                               "autoLogin",
                                               "isLoggedIn",
                                               "prepLaunch",
                                               "populateTeamSelect",
                                               "acceptGame",
                                               "declineGame",
                                               "matchmake",
                                               "chatTyped",
                                               "teamRosterSelection",
                                               "resetPassword",
                                               "createAccount",
                                               "getLayoutMode",
                                               "locString",
                                               "displayError",
                                               "initPuzzles",
                                               "getPuzzleTutorialCategory",
                                               "getPuzzleChallengeCategory",
                                               "requestPuzzleList",
                                               "launchPuzzle",
                                               "launchFirstTutorial",
                                               "populateFriends",
                                               "getColorString",
                                               "getPlayerColor",
                                               "selectPlayerColor",
                                               "getLocalAvatar",
                                               "getLocalAvatarColor",
                                               "addAvatarsForPack",
                                               "selectAvatar",
                                               "showLeaderboard",
                                               "populateTeamDetails",
                                               "getNewsURL",
                                               "getGameGuideURL",
                                               "areSoundsEnabled",
                                               "toggleSound",
                                               "playSound",
                                               "checkPref",
                                               "togglePref",
                                               "formatByPrefValue",
                                               "cyclePrefValue",
                                               "setPassword",
                                               "enableGamesList",
                                               "openExternalLink",
                                               "getCurrentUserNickname",
                                               "showSteamOverlay",
                                               "getTwitterText",
                                               "setKeyboardFocus",
                                               "markNewsRead",
                                               "getNumUnreadNewsItems",
                                               "getAvatarColorize",
                                               "closeSplashScreen",
                                               "printf",
                                               "allowLayoutSetting",
                                               "getUseSmallMOTD",
                                               "getUseSmallTeamDetails",
                                               "getUseSmallLoginForm",
                                               "getSmallGameDetailText",
                                               "getUseWideColorText",
                                               "getCurrentGame",
                                               "steamFriendClicked",
                                               "checkServerVersion"};
    std::vector<std::string> names;
    for (const BridgeFunction& function : bridgeFunctions()) {
        names.emplace_back(function.name);
        // The count a row needs is the number of its declared parameters.
        const std::string parameters = function.parameters;
        const size_t declared =
            parameters.empty() ? 0
                               : size_t(std::count(parameters.begin(), parameters.end(), ',')) + 1;
        EXPECT_EQ(function.needed, declared) << function.name;
    }
    EXPECT_EQ(names, expected);
}

TEST(BridgeArgumentsTest, ReadValuesByJavaScriptsConversions) {
    using json = nlohmann::json;
    const struct {
        json value;
        const char* text;
        int32_t integer;
        bool boolean;
    } cases[] = {
        {"12", "12", 12, true},
        {"", "", 0, false},
        {" 0x10 ", " 0x10 ", 16, true},
        {"abc", "abc", 0, true},
        {"-7.9", "-7.9", -7, true},
        {12, "12", 12, true},
        {3.75, "3.75", 3, true},
        {-1.5, "-1.5", -1, true},
        {2.0, "2", 2, true},
        {4294967297.0, "4294967297", 1, true},
        {2147483648u, "2147483648", std::numeric_limits<int32_t>::min(), true},
        {0, "0", 0, false},
        {true, "true", 1, true},
        {false, "false", 0, false},
        {nullptr, "null", 0, false},
        {json::array({1, nullptr, "a"}), "1,,a", 0, true},
        {json::array({"5"}), "5", 5, true},
        {json::object(), "[object Object]", 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.dump());
        const json values = json::array({c.value});
        const BridgeArguments arguments(values);
        EXPECT_EQ(arguments.text(0), c.text);
        EXPECT_EQ(arguments.integer(0), c.integer);
        EXPECT_EQ(arguments.boolean(0), c.boolean);
    }
}

TEST(BridgeArgumentsTest, GameIdsReadTheirLeadingDecimalDigits) {
    const struct {
        const char* text;
        int64_t id;
    } cases[] = {
        {"12ab", 12},
        {"ab", 0},
        {" -5", -5},
        {"+7", 7},
        {"", 0},
        {"- 5", 0},
        {"3 4", 3},
        {"9223372036854775807", std::numeric_limits<int64_t>::max()},
        {"99999999999999999999", std::numeric_limits<int64_t>::max()},
        {"-99999999999999999999", std::numeric_limits<int64_t>::min()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readGameId(c.text), c.id) << c.text;
    EXPECT_EQ(readPlatformId("76561197960287930x"), 76561197960287930ull);
    EXPECT_EQ(readPlatformId("99999999999999999999"), std::numeric_limits<uint64_t>::max());
}

TEST_F(BridgeDispatchTest, UnknownNamesUnbuiltRowsAndBadRequestsGiveNoValue) {
    for (const char* name : {"nope", "SelectGame", "isloggedin", "IsLoggedIn", "", "selectGame"})
        EXPECT_EQ(call(name, {"1", true}), std::nullopt) << name;
    // Every row not built yet.
    for (const BridgeFunction& row : bridgeFunctions()) {
        if (row.body == nullptr) {
            EXPECT_EQ(call(row.name, {"1", true}), std::nullopt) << row.name;
        }
    }
    EXPECT_EQ(answerBridgeCall("isLoggedIn", "not json"), "{}");
    EXPECT_EQ(answerBridgeCall("isLoggedIn", "{\"a\":1}"), "{}");
    EXPECT_TRUE(mServer.requests().empty());
    EXPECT_TRUE(statements().empty());
}

TEST_F(BridgeDispatchTest, TooFewArgumentsChangeNothingAndExtraOnesAreIgnored) {
    mStore.setStoredUsername("before");
    const struct {
        const char* name;
        nlohmann::json arguments;
    } shortCalls[] = {
        {"loginButton", {"demo"}},
        {"logoutButton", {"x"}},
        {"createAccount", {"a@b.c", "A"}},
        {"resetPassword", nlohmann::json::array()},
        {"setPassword", nlohmann::json::array()},
    };
    for (const auto& c : shortCalls)
        EXPECT_EQ(call(c.name, c.arguments), std::nullopt) << c.name;
    EXPECT_TRUE(mServer.requests().empty());
    EXPECT_TRUE(statements().empty());
    EXPECT_EQ(mStore.getStoredUsername(), "before");

    EXPECT_EQ(call("isLoggedIn", {1, "two", nullptr}), 0);
    EXPECT_EQ(call("checkServerVersion", {"extra"}), true);
}

TEST_F(BridgeDispatchTest, ServerVersionCheckPassesOnlyAKnownProtocol) {
    const struct {
        const char* name;
        const char* protocol; // null: the reply names none
        bool passes;
    } cases[] = {
        {"current", "1039", true},
        {"older", "1000", true},
        {"newer", "1040", false},
        {"none", nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        mClient.mProtocolVersion = 99999999;
        const size_t before = statements().size();
        if (c.protocol != nullptr)
            mServer.database().setSetting("protocolVersion", c.protocol);
        else
            script(Endpoint::GetVersions, {200, "<root lowerGame=\"1\" upperGame=\"2000\"/>"});
        const size_t requestsBefore = mServer.requests().size();
        EXPECT_EQ(checkServerVersion(mClient), c.passes);
        std::vector<std::string> paths = requestedPaths();
        paths.erase(paths.begin(), paths.begin() + ptrdiff_t(requestsBefore));
        EXPECT_NE(std::find(paths.begin(), paths.end(), pathOf(Endpoint::GetTime)), paths.end());
        EXPECT_EQ(std::find(paths.begin(), paths.end(), pathOf(Endpoint::Logout)) != paths.end(),
                  !c.passes);
        const std::vector<std::string> alerts(statements().begin() + ptrdiff_t(before),
                                              statements().end());
        EXPECT_EQ(alerts, c.passes ? std::vector<std::string>{}
                                   : std::vector<std::string>{"locAlert(\"ProtocolVersionOld\");"});
    }
}

TEST_F(BridgeDispatchTest, NoServerGivesTheConnectAlertWithALineBreak) {
    mServer.stop();
    EXPECT_EQ(call("checkServerVersion"), false);
    ASSERT_EQ(statements().size(), 1u);
    PageScript page;
    ASSERT_TRUE(page.run("var alerted = ''; function locAlert(text) { alerted = text; }"));
    ASSERT_TRUE(page.run(statements()[0]));
    EXPECT_EQ(page.text("alerted"), "Failed to connect to the server.\nPlease try again later.");
}

namespace {

// A page that keeps the statements its client runs.
class StatementSink : public PageSink {
public:
    void sendMouseMove(int, int) override {}
    void sendMouseButton(int, int, MouseButton, bool) override {}
    void sendMouseWheel(int, int, int) override {}
    void sendKey(KeyType, int, int) override {}
    void sendText(const std::string&) override {}
    void sendFocus(bool) override {}
    void sendCaptureLost() override {}
    void setViewSize(int, int) override {}
    void runScript(const std::string& statement) override { statements.push_back(statement); }
    std::vector<std::string> statements;
};

} // namespace

TEST(PageFocusElementTest, IsTheElementTheOffscreenClientFocuses) {
    StatementSink sink;
    ClientOSRHandler client([] { return 0u; });
    client.setPage(&sink);
    client.setGameViewShown(true);
    setPageFocusElement("ChatInput");
    client.focusPageElement();
    EXPECT_EQ(pageFocusElement(), "ChatInput");
    EXPECT_EQ(sink.statements, std::vector<std::string>{"$('#ChatInput').focus();"});
    setPageFocusElement("");
}
