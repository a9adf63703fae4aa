// The colour and avatar functions of the bridge, on the sample avatar packs
// and a client of the loopback server.

#include "BridgeTestSupport.h"
#include "PageScript.h"

#include "shell/BridgeAppearanceRows.h"

#include "content/AvatarPack.h"
#include "content/DataPath.h"
#include "content/Preferences.h"
#include "content/settings/SettingsManager.h"
#include "platform/engine/CCFileUtils.h"

namespace {

class BridgeAppearanceTest : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        setPreferenceStore(&mStore);
        setBaseFolder(TARNWICK_SOURCE_DIR);
        cocos2d::CCFileUtils::setResourcePath(TARNWICK_SOURCE_DIR "/data/");
        ASSERT_TRUE(AvatarPack::loadAll());
        SettingsManager& settings = SettingsManager::instance();
        for (const auto& [red, green, blue] : {std::tuple{0, 0, 255}, std::tuple{10, 20, 30}}) {
            auto color = std::make_unique<PlayerColor>();
            color->mRed = uint8_t(red);
            color->mGreen = uint8_t(green);
            color->mBlue = uint8_t(blue);
            settings.mHomeColors.push_back(std::move(color));
        }
        auto red = std::make_unique<PlayerColor>();
        red->mRed = 255;
        red->mGreen = 0;
        red->mBlue = 0;
        settings.mAwayColors.push_back(std::move(red));
    }
    void TearDown() override {
        AvatarPack::clear();
        SettingsManager::instance().clear();
        setBaseFolder({});
        setPreferenceStore(nullptr);
        BridgeTest::TearDown();
    }
    // Waits for the posted change to reach the server (false after 5 s).
    bool posted(Endpoint endpoint) {
        for (int i = 0; i < 500 && !requested(endpoint); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return requested(endpoint);
    }
};

TEST_F(BridgeAppearanceTest, ColorStringsByListAndIndex) {
    const struct {
        nlohmann::json arguments;
        std::optional<nlohmann::json> expected;
    } cases[] = {
        {{false, 0}, "rgb(255, 0, 0);"},    {{true, 0}, "rgb(0, 0, 255);"},
        {{true, 1}, "rgb(10, 20, 30);"},    {{true, -1}, std::nullopt},
        {{true, 2}, std::nullopt},          {{false, 1}, std::nullopt},
        {{"yes", "1"}, "rgb(10, 20, 30);"}, {{true}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(call("getColorString", c.arguments), c.expected) << c.arguments.dump();
}

TEST_F(BridgeAppearanceTest, AddAvatarsForPackSendsOneEntryPerAvatar) {
    EXPECT_EQ(call("addAvatarsForPack", {"NO_SUCH_PACK", 10}), std::nullopt);
    EXPECT_EQ(call("addAvatarsForPack", {"AVATAR_COUNCIL_FREE"}), std::nullopt);
    EXPECT_TRUE(statements().empty());

    mClient.updateHomeColor(1);
    EXPECT_EQ(call("addAvatarsForPack", {"AVATAR_COUNCIL_FREE", 10}), 14);
    PageScript page;
    ASSERT_TRUE(page.run("function addAvatarPackEntry() {"
                         "  received.push(Array.prototype.slice.call(arguments).join('|')); }"));
    for (const std::string& statement : statements())
        ASSERT_TRUE(page.run(statement)) << statement;
    // The colour layer's path whether or not its file exists.
    EXPECT_EQ(
        page.text("received.join(' ')"),
        "10|AVATAR_COUNCIL_FREE|0|UI/Avatars/Council01.png|UI/Avatars/Council01_Color.png|1|1 "
        "11|AVATAR_COUNCIL_FREE|1|UI/Avatars/Council02.png|UI/Avatars/Council02_Color.png|1|1 "
        "12|AVATAR_COUNCIL_FREE|2|UI/Avatars/Council03.png|UI/Avatars/Council03_Color.png|1|1 "
        "13|AVATAR_COUNCIL_FREE|3|UI/Avatars/Council04.png|UI/Avatars/Council04_Color.png|1|1");
}

TEST_F(BridgeAppearanceTest, TheLocalAvatarAndItsColourLayer) {
    EXPECT_EQ(call("getLocalAvatar"), "UI/Avatars/Council01.png");
    // The sample avatars have no colour layer.
    EXPECT_EQ(call("getLocalAvatarColor"), std::nullopt);
    EXPECT_EQ(call("getAvatarColorize"), false);
    mStore.prefSetBool("Vellix_AvatarColor", true);
    EXPECT_EQ(call("getAvatarColorize"), true);
}

TEST_F(BridgeAppearanceTest, ChoicesReachTheServer) {
    EXPECT_EQ(call("getPlayerColor", {true}), 0);
    call("selectPlayerColor", {true, 2});
    call("selectPlayerColor", {false, 1});
    call("selectAvatar", {"AVATAR_TRIBE_FREE", 3});
    call("selectPlayerColor", {true});
    EXPECT_EQ(call("getPlayerColor", {true}), 2);
    EXPECT_EQ(call("getPlayerColor", {false}), 1);
    EXPECT_EQ(call("getLocalAvatar"), "UI/Avatars/Tribe04.png");
    for (const Endpoint endpoint :
         {Endpoint::UpdateHomeColor, Endpoint::UpdateAwayColor, Endpoint::UpdateAvatar})
        EXPECT_TRUE(posted(endpoint)) << pathOf(endpoint);
    std::vector<std::string> values;
    for (const ReceivedRequest& request : mServer.requests())
        for (const char* field : {"homeColor", "awayColor", "avatar"})
            if (const std::string* value = request.field(field))
                values.push_back(std::string(field) + "=" + *value);
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (std::vector<std::string>{"avatar=AVATAR_TRIBE_FREE|3", "awayColor=1",
                                                "homeColor=2"}));
}

} // namespace
