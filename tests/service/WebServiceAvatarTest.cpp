// The local colours and avatar: loaded from the preferences at start-up,
// read from avatar values, and posted when the player changes them.

#include "LoopbackTestSupport.h"

#include <map>
#include <vector>

using namespace std::chrono_literals;

TEST(LocalAvatarTest, AValueReadsAsIdAndVariantOrFallsBack) {
    const struct {
        const char* value;
        const char* id;
        int32_t variant;
    } cases[] = {
        {"PACK_A|3", "PACK_A", 3},
        {"PACK_A||3", "PACK_A", 3},
        {"PACK_A|3|extra", "PACK_A", 3},
        {"PACK_A|-2", "PACK_A", -2},
        {"PACK_A|x", cFallbackAvatar, 0},
        {"PACK_A|3x", cFallbackAvatar, 0},
        {"PACK_A|", cFallbackAvatar, 0},
        {"PACK_A", cFallbackAvatar, 0},
        {"", cFallbackAvatar, 0},
        {"PACK_A|99999999999", cFallbackAvatar, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        WebService client;
        client.setLocalAvatar("OTHER|7");
        client.setLocalAvatar(c.value);
        EXPECT_EQ(client.localAvatar().mId, c.id);
        EXPECT_EQ(client.localAvatar().mVariant, c.variant);
    }
}

TEST(LocalAvatarTest, StartUpLoadsTheStoredChoice) {
    const struct {
        const char* avatar; // null: none stored
        const char* home;
        const char* id;
        int32_t variant;
        int32_t homeColor;
    } cases[] = {
        {"PACK_A|3", "4", "PACK_A", 3, 4},
        {"PACK_A||3", nullptr, "PACK_A", 3, 0},
        {"PACK_A|x", nullptr, cFallbackAvatar, 0, 0},
        {nullptr, nullptr, cFallbackAvatar, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.avatar ? c.avatar : "none");
        BSecureStorage store;
        if (c.avatar)
            store.setValue("LocalPlayerAvatar", c.avatar);
        if (c.home)
            store.setValue("LocalPlayerHomeColor", c.home);
        WebService client;
        client.setSecureStorage(&store);
        client.setBaseUrls("s/", "n/", "c/", "x/");
        EXPECT_EQ(client.localAvatar().mId, c.id);
        EXPECT_EQ(client.localAvatar().mVariant, c.variant);
        EXPECT_EQ(client.localHomeColor(), c.homeColor);
        EXPECT_EQ(client.localAwayColor(), 0);
    }
}

class ColorAvatarUpdateTest : public LoopbackTest {};

TEST_F(ColorAvatarUpdateTest, AChoiceIsStoredAndPostedEvenLoggedOut) {
    mClient.setAuthKey("");
    mClient.updateHomeColor(6);
    mClient.updateAwayColor(2);
    mClient.updateAvatar("PACK_B", 4);
    EXPECT_EQ(mClient.localHomeColor(), 6);
    EXPECT_EQ(mClient.localAwayColor(), 2);
    EXPECT_EQ(mClient.localAvatar().mId, "PACK_B");
    EXPECT_EQ(mClient.localAvatar().mVariant, 4);
    std::string value;
    EXPECT_TRUE(mStore.getValue("LocalPlayerHomeColor", value) && value == "6");
    EXPECT_TRUE(mStore.getValue("LocalPlayerAwayColor", value) && value == "2");
    EXPECT_TRUE(mStore.getValue("LocalPlayerAvatar", value) && value == "PACK_B|4");

    // Three workers: the server receives them in any order.
    ASSERT_TRUE(mServer.waitForRequests(3, 5s));
    std::map<std::string, std::vector<std::string>> fields;
    for (const ReceivedRequest& request : mServer.requests())
        for (const FormPart& part : request.parts)
            fields[request.path].push_back(part.name + "=" + (part.name == "t" || part.name == "h"
                                                                  ? std::string("*")
                                                                  : part.value));
    const std::vector<std::string> tail = {"ver=1", "t=*", "h=*"};
    const auto expected = [&](const std::string& own) {
        std::vector<std::string> all = {"device=device-01", "authKey=", own};
        all.insert(all.end(), tail.begin(), tail.end());
        return all;
    };
    EXPECT_EQ(fields["/Accounts/updatePlayerHomeColorByBrassmoorID"], expected("homeColor=6"));
    EXPECT_EQ(fields["/Accounts/updatePlayerAwayColorByBrassmoorID"], expected("awayColor=2"));
    EXPECT_EQ(fields["/Accounts/updatePlayerAvatarByBrassmoorID"], expected("avatar=PACK_B|4"));
}
