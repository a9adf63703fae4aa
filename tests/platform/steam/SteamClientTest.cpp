#include "platform/steam/SteamClient.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

TEST(SteamClient, GameLanguageComesFromTheEnvironmentWithEnglishAsDefault) {
    unsetenv("TARNWICK_LANGUAGE");
    EXPECT_EQ(SteamClient::currentGameLanguage(), "english");
    setenv("TARNWICK_LANGUAGE", "", 1);
    EXPECT_EQ(SteamClient::currentGameLanguage(), "english");
    setenv("TARNWICK_LANGUAGE", "german", 1);
    EXPECT_EQ(SteamClient::currentGameLanguage(), "german");
    unsetenv("TARNWICK_LANGUAGE");
}

namespace {

class SteamClientAccount : public ::testing::Test {
protected:
    void SetUp() override {
        mFolder = std::filesystem::temp_directory_path() /
                  ("tarnwick-account-" + std::to_string(::getpid()));
        std::filesystem::remove_all(mFolder);
        SteamClient::setUserDataFolder(mFolder);
    }
    void TearDown() override {
        SteamClient::shutdown();
        SteamClient::setNotSignedIn(false);
        unsetenv(SteamClient::cNotSignedInVariable);
        SteamClient::setUserDataFolder({});
        std::filesystem::remove_all(mFolder);
    }
    std::filesystem::path mFolder;
};

} // namespace

TEST_F(SteamClientAccount, AccountIdIsMadeOnceAndKeptAcrossStarts) {
    EXPECT_EQ(SteamClient::accountId(), 0u) << "nobody is signed in before init";
    ASSERT_TRUE(SteamClient::init());
    const uint64_t first = SteamClient::accountId();
    EXPECT_GT(first, 76561197960265728ull);
    EXPECT_TRUE(std::filesystem::exists(mFolder / SteamClient::cAccountFileName));
    SteamClient::shutdown();
    EXPECT_EQ(SteamClient::accountId(), 0u);
    SteamClient::init();
    EXPECT_EQ(SteamClient::accountId(), first);
}

TEST_F(SteamClientAccount, GarbledAccountFileIsReplaced) {
    std::filesystem::create_directories(mFolder);
    std::ofstream(mFolder / SteamClient::cAccountFileName) << "not a number\n";
    testing::internal::CaptureStdout();
    SteamClient::init();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("holds no account id"),
              std::string::npos);
    const uint64_t id = SteamClient::accountId();
    EXPECT_NE(id, 0u);
    SteamClient::shutdown();
    SteamClient::init();
    EXPECT_EQ(SteamClient::accountId(), id);
}

TEST_F(SteamClientAccount, NotSignedInSwitchOffersNoUser) {
    const auto expectNoUser = [] {
        EXPECT_TRUE(SteamClient::init());
        EXPECT_TRUE(SteamClient::isRunning());
        EXPECT_FALSE(SteamClient::isSignedIn());
        EXPECT_EQ(SteamClient::accountId(), 0u);
        EXPECT_EQ(SteamClient::userStats(), nullptr);
        SteamClient::shutdown();
    };
    SteamClient::setNotSignedIn(true);
    expectNoUser();
    SteamClient::setNotSignedIn(false);
    setenv(SteamClient::cNotSignedInVariable, "1", 1);
    expectNoUser();
    EXPECT_FALSE(std::filesystem::exists(mFolder)) << "no account file is made for nobody";
    unsetenv(SteamClient::cNotSignedInVariable);
    SteamClient::init();
    EXPECT_TRUE(SteamClient::isSignedIn());
    EXPECT_NE(SteamClient::userStats(), nullptr);
}
