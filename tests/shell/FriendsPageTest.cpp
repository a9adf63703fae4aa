// The page's friends list against the platform stand-in's friends and the
// loopback server's answer of which friends have accounts.

#include "BridgeTestSupport.h"

#include "shell/FriendsPage.h"
#include "shell/Popup.h"

#include "platform/steam/SteamClient.h"
#include "platform/steam/SteamFriends.h"

namespace {

class FriendsPageTest : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        ASSERT_TRUE(SteamClient::init());
        mFriends = SteamClient::friends();
        mFriends->setFriends({});
    }
    void TearDown() override {
        SteamClient::shutdown();
        resetPopups();
        BridgeTest::TearDown();
    }

    size_t syncs() {
        size_t count = 0;
        for (const std::string& path : requestedPaths())
            count += path == pathOf(Endpoint::GetSteamFriends) ? 1 : 0;
        return count;
    }

    SteamFriends* mFriends = nullptr;
};

std::string entry(int position, const std::string& name, int state, const std::string& id,
                  int flag) {
    return "addFriendEntry(" + std::to_string(position) + ", \"" + name + "\", " +
           std::to_string(state) + ", \"" + id + "\", " + std::to_string(flag) + ");";
}

} // namespace

TEST_F(FriendsPageTest, OnlineFriendsComeFirstThenNamesIgnoringCase) {
    const struct {
        std::vector<SteamFriends::Friend> friends;
        std::vector<std::string> names;
    } cases[] = {
        {{{1, 3, "Alice"}, {2, 0, "carol"}, {3, 1, "bob"}}, {"bob", "Alice", "carol"}},
        {{{1, 1, "Zed"}, {2, 1, "adam"}}, {"adam", "Zed"}},
    };
    for (const auto& c : cases) {
        std::vector<FriendListEntry> list;
        for (const SteamFriends::Friend& person : c.friends)
            list.push_back({person.mId, person.mState, person.mName});
        std::sort(list.begin(), list.end(), compareFriendsForList);
        std::vector<std::string> names;
        for (const FriendListEntry& listed : list)
            names.push_back(listed.mName);
        EXPECT_EQ(names, c.names);
    }
}

TEST_F(FriendsPageTest, TheFirstListingSyncsOnceUnderTheOverlayAndClicksUseItsAnswer) {
    mFriends->setFriends({{7, 0, "carol"}, {18446744073709551615ull, 1, "say \"hi\""}});
    script(Endpoint::GetSteamFriends, {200, "<Success>Hiker,!,</Success>"});
    clearShellCalls();
    ASSERT_EQ(call("populateFriends"), std::nullopt);
    EXPECT_EQ(syncs(), 1u);
    EXPECT_EQ(callsWithoutPasses(),
              (std::vector<std::string>{"progressHUD:show", "progressHUD:hide", "page:runStatement",
                                        "page:runStatement"}));
    EXPECT_FALSE(progressHudShown());
    const std::vector<std::string> listed = {
        entry(0, "say \\\"hi\\\"", 1, "18446744073709551615", 1), entry(1, "carol", 0, "7", 0)};
    EXPECT_EQ(statements(), listed);

    // Later calls list again without a sync; friends gained since get 0.
    mFriends->setFriendPersona(8, 1, "dan");
    call("populateFriends");
    EXPECT_EQ(syncs(), 1u);
    EXPECT_EQ(statements().back(), entry(2, "carol", 0, "7", 0));
    EXPECT_EQ(statements()[2], entry(0, "dan", 1, "8", 0));

    call("steamFriendClicked", {"18446744073709551615"});
    EXPECT_EQ(statements().back(),
              "$('#CreateGameOpponentName').val('Hiker'); showTeamSelect('0', '', false);");
    call("steamFriendClicked", {"7"});
    EXPECT_EQ(statements().back(), "locAlert('SteamFriendNotPlayingTW');");
}

TEST_F(FriendsPageTest, NoFriendsOrNoPlatformUserMeansNoSyncAndNoCall) {
    call("populateFriends");
    SteamClient::shutdown();
    mFriends = nullptr;
    call("populateFriends");
    EXPECT_EQ(syncs(), 0u);
    EXPECT_TRUE(statements().empty());
}

TEST_F(FriendsPageTest, ANameChangedDuringTheListingLeavesAConsistentOrder) {
    mFriends->setFriends({{1, 1, "mia"}, {2, 1, "kim"}, {3, 1, "lou"}, {4, 1, "ned"}});
    mClient.mSteamFriendsRequested = true;
    // Every read renames someone: the list must still read in order.
    int reads = 0;
    mFriends->setPersonaReadHook([&](uint64_t) {
        ++reads;
        mFriends->setFriendPersona(1 + uint64_t(reads % 4), 1, reads % 2 ? "aaa" : "zzz");
    });
    call("populateFriends");
    mFriends->setPersonaReadHook({});
    ASSERT_EQ(statements().size(), 4u);
    std::vector<FriendListEntry> sent;
    for (const std::string& statement : statements()) {
        const size_t open = statement.find('"') + 1;
        sent.push_back({0, 1, statement.substr(open, statement.find('"', open) - open)});
    }
    EXPECT_TRUE(std::is_sorted(sent.begin(), sent.end(), compareFriendsForList));
}
