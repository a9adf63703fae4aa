// The settings, layout, news, link and diagnostic functions of the bridge.

#include "BridgeTestSupport.h"
#include "PageScript.h"

#include "shell/BridgeSettingsRows.h"
#include "shell/LayoutModes.h"
#include "shell/Popup.h"

#include "content/Preferences.h"
#include "scene/sound/SoundPlayback.h"
#include "service/ServiceWorkers.h"

#include <chrono>
#include <limits>
#include <thread>

namespace {

class BridgeSettingsTest : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        setPreferenceStore(&mStore);
        setLinkOpener([this](const std::string& address) { mOpened.push_back(address); });
    }
    void TearDown() override {
        // No worker may outlive the client it uses.
        waitUntil([this] { return mHandler->workers().runningCount() == 0; });
        setLinkOpener({});
        setPreferenceStore(nullptr);
        BridgeTest::TearDown();
    }
    static bool waitUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return done();
    }
    int32_t storedInt(const char* key) {
        int32_t value = -12345;
        mStore.prefGetInt(key, value);
        return value;
    }

    std::vector<std::string> mOpened;
};

TEST_F(BridgeSettingsTest, CyclePrefValueWrapsAboveTheMaximumAndNeedsFourArguments) {
    EXPECT_EQ(call("cyclePrefValue", {"FirstTurnAP", 0, 2}), std::nullopt);
    int32_t untouched = 0;
    EXPECT_FALSE(mStore.prefGetInt("FirstTurnAP", untouched));
    for (int32_t expected : {0, 1, 2, 0}) {
        EXPECT_EQ(call("cyclePrefValue", {"FirstTurnAP", 0, 2, 2}), std::nullopt);
        EXPECT_EQ(storedInt("FirstTurnAP"), expected);
    }
    // The largest value wraps rather than overflowing.
    mStore.prefSetInt(std::numeric_limits<int32_t>::max(), "Huge");
    call("cyclePrefValue", {"Huge", 3, std::numeric_limits<int32_t>::max(), 0});
    EXPECT_EQ(storedInt("Huge"), 3);
}

TEST_F(BridgeSettingsTest, FormatByPrefValueKeepsUnmatchedConversionsAsWritten) {
    mStore.prefSetInt(5, "Stored");
    const struct {
        const char* fragment;
        const char* pref;
        const char* expected;
    } cases[] = {
        {"AP: %d", "Never", "AP: 2"},
        {"AP: %d", "Stored", "AP: 5"},
        {"AP: %s", "Never", "AP: %s"},
        {"%d of %d", "Stored", "5 of %d"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(call("formatByPrefValue", {c.fragment, c.pref, 2}), c.expected) << c.fragment;
    EXPECT_EQ(call("formatByPrefValue", {"AP: %d", "Stored"}), std::nullopt);
}

TEST_F(BridgeSettingsTest, CheckPrefHasNoValueUntilStoredAndTextsFallBackToTheirKeys) {
    EXPECT_EQ(call("checkPref", {"PartialUndo"}), std::nullopt);
    call("togglePref", {"PartialUndo"});
    EXPECT_EQ(call("checkPref", {"PartialUndo"}), true);
    call("togglePref", {"PartialUndo"});
    EXPECT_EQ(call("checkPref", {"PartialUndo"}), false);

    EXPECT_EQ(call("locString", {"NoSuchKey \"x\""}), "NoSuchKey \"x\"");
    call("displayError", {"Something went wrong"});
    EXPECT_TRUE(messageBoxShown());
    EXPECT_EQ(gPopupText, "Something went wrong");
    closePopup();
}

TEST_F(BridgeSettingsTest, SimpleValuesAndSwitches) {
    const bool sound = isSoundEnabled();
    EXPECT_EQ(call("areSoundsEnabled"), sound);
    call("toggleSound");
    EXPECT_EQ(call("areSoundsEnabled"), !sound);
    call("toggleSound");

    EXPECT_EQ(call("getNewsURL"), mClient.getNewsUrl());
    EXPECT_EQ(call("getGameGuideURL"), mClient.getGameGuideUrl());
    EXPECT_EQ(call("allowLayoutSetting"), chooseLayoutMode(false) == 2);
    for (const char* name :
         {"getLayoutMode", "getUseSmallMOTD", "getUseSmallTeamDetails", "getUseSmallLoginForm",
          "getSmallGameDetailText", "getUseWideColorText", "getTwitterText"})
        EXPECT_NE(call(name), std::nullopt) << name;
    EXPECT_EQ(call("testPopup"), std::nullopt);

    call("setKeyboardFocus", {"ChatInput"});
    EXPECT_EQ(pageFocusElement(), "ChatInput");

    testing::internal::CaptureStderr();
    call("printf", {"50% of \"it\""});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "50% of \"it\"");

    // The page hands its HTML, with a line end, to printf.
    call("viewSource");
    ASSERT_EQ(statements().size(), 1u);
    PageScript script;
    ASSERT_TRUE(script.run("var document = {documentElement: {outerHTML: '<p a=\\\"1\\\">'}};"
                           "var cef = {uiapp: {printf: keep}};"));
    ASSERT_TRUE(script.run(statements()[0]));
    EXPECT_EQ(script.text("received.join('|')"), "<p a=\"1\">\n");
}

TEST_F(BridgeSettingsTest, OpenExternalLinkOpensOnlyWebAddresses) {
    const struct {
        const char* address;
        bool opened;
    } cases[] = {
        {"https://example.org/a?b=1", true}, {"http://example.org/", true},
        {"file:///etc/passwd", false},       {"javascript:x", false},
        {"/usr/bin/xterm", false},           {"https://example.org/\nrm", false},
        {"HTTPS://example.org/", false},     {"", false},
    };
    for (const auto& c : cases) {
        mOpened.clear();
        call("openExternalLink", {c.address});
        EXPECT_EQ(mOpened.size(), c.opened ? 1u : 0u) << c.address;
        if (c.opened && !mOpened.empty()) {
            EXPECT_EQ(mOpened[0], c.address);
        }
    }
}

TEST_F(BridgeSettingsTest, UnreadNewsReturnsThePreviousCountWhileTheReplyIsLate) {
    mClient.mNewsDiff = 2;
    script(Endpoint::GetNews,
           {200, "<root key=\"9\" diff=\"4\"/>", std::chrono::milliseconds(1500)});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(call("getNumUnreadNewsItems"), 2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1400));
    EXPECT_TRUE(waitUntil([this] { return mClient.mNewsDiff == 4; }));

    script(Endpoint::GetNews, {200, "<root key=\"9\" diff=\"3\"/>"});
    EXPECT_EQ(call("getNumUnreadNewsItems"), 3);
}

TEST_F(BridgeSettingsTest, MarkNewsReadStoresTheLastKeyAndClearsTheCount) {
    mClient.mNewsKey = 17;
    mClient.mNewsDiff = 5;
    call("markNewsRead");
    EXPECT_EQ(storedInt("HighestNewsRead"), 17);
    EXPECT_TRUE(waitUntil([this] { return mClient.mNewsDiff == 0; }));
}

} // namespace
