#include "platform/steam/SteamFriends.h"
#include "SteamFolderTest.h"

#include "platform/steam/SteamClient.h"

#include <filesystem>
#include <fstream>
#include <string>

using SteamFriendsTest = SteamFolderTest;

TEST_F(SteamFriendsTest, ANewUserGetsTheSampleFriends) {
    SteamClient::init();
    SteamFriends* friends = SteamClient::friends();
    ASSERT_NE(friends, nullptr);
    EXPECT_TRUE(std::filesystem::exists(mFolder / SteamFriends::cFileName));
    ASSERT_EQ(friends->getFriendCount(SteamFriends::cFriendFlagImmediate), 3);
    EXPECT_EQ(friends->getFriendCount(1), 0) << "only direct friends exist";
    const uint64_t bot = friends->getFriendByIndex(0, SteamFriends::cFriendFlagImmediate);
    EXPECT_EQ(friends->getFriendPersonaName(bot), "Bot");
    EXPECT_EQ(friends->getFriendPersonaState(bot), SteamFriends::cPersonaStateOnline);
    EXPECT_EQ(friends->getFriendByIndex(3, SteamFriends::cFriendFlagImmediate), 0u);
}

TEST_F(SteamFriendsTest, TheFileGivesFriendsUsersAndOwnNameAndBadLinesAreSkipped) {
    std::filesystem::create_directories(mFolder);
    std::ofstream(mFolder / SteamFriends::cFileName)
        << "# note\nme Our \"Hero\"\nfriend 5 3 Alice Smith\nuser 9 stranger\n"
           "friend x 1 bad\nfriend 6 1\nuser 0 nobody\nwhat\n";
    SteamClient::init();
    SteamFriends* friends = SteamClient::friends();
    EXPECT_EQ(friends->getFriendCount(SteamFriends::cFriendFlagImmediate), 1);
    EXPECT_EQ(friends->getFriendPersonaName(5), "Alice Smith");
    EXPECT_EQ(friends->getFriendPersonaState(5), 3);
    EXPECT_EQ(friends->getFriendPersonaName(9), "stranger");
    EXPECT_FALSE(friends->isFriend(9));
    EXPECT_EQ(friends->getFriendPersonaName(SteamClient::accountId()), "Our \"Hero\"");
    EXPECT_EQ(friends->getFriendPersonaName(42), "[unknown]");
    EXPECT_EQ(friends->getFriendPersonaState(42), SteamFriends::cPersonaStateOffline);

    // Saved and read back.
    friends->setFriendPersona(7, 1, "bob");
    ASSERT_TRUE(friends->save());
    SteamClient::shutdown();
    testing::internal::CaptureStdout();
    SteamClient::init();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(SteamClient::friends()->getFriendCount(SteamFriends::cFriendFlagImmediate), 2);
    EXPECT_EQ(SteamClient::friends()->getFriendPersonaName(7), "bob");
}

TEST_F(SteamFriendsTest, TheOverlayIsLoggedAndNobodySignedInHasNoFriends) {
    SteamClient::init();
    testing::internal::CaptureStdout();
    SteamClient::friends()->activateGameOverlay("Achievements");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Platform overlay: Achievements\n");
    EXPECT_EQ(SteamClient::friends()->overlayLog().size(), 1u);
    SteamClient::shutdown();
    SteamClient::setNotSignedIn(true);
    SteamClient::init();
    EXPECT_EQ(SteamClient::friends(), nullptr);
    SteamClient::setNotSignedIn(false);
}
