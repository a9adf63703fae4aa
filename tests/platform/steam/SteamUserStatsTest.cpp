#include "platform/steam/SteamUserStats.h"
#include "platform/steam/SteamClient.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Restores an environment variable when the test ends.
class EnvironmentGuard {
public:
    explicit EnvironmentGuard(const char* name) : mName(name) {
        const char* value = std::getenv(name);
        mHad = value != nullptr;
        mValue = mHad ? value : "";
    }
    ~EnvironmentGuard() {
        if (mHad)
            setenv(mName, mValue.c_str(), 1);
        else
            unsetenv(mName);
    }

private:
    const char* mName;
    bool mHad;
    std::string mValue;
};

class SteamUserStatsTest : public ::testing::Test {
protected:
    void SetUp() override {
        mFolder = std::filesystem::temp_directory_path() /
                  ("tarnwick-steam-" + std::to_string(::getpid()));
        std::filesystem::remove_all(mFolder);
        SteamClient::setUserDataFolder(mFolder);
    }
    void TearDown() override {
        SteamClient::shutdown();
        SteamClient::setUserDataFolder({});
        std::filesystem::remove_all(mFolder);
    }
    std::filesystem::path mFolder;
};

} // namespace

TEST_F(SteamUserStatsTest, TheUserDataFolderIsSetOrFollowsTheEnvironment) {
    EXPECT_EQ(SteamClient::userDataFolder(), mFolder);
    EXPECT_EQ(SteamUserStats::statsFile(), mFolder / "userstats.txt");
    SteamClient::setUserDataFolder({});
    EnvironmentGuard data("XDG_DATA_HOME");
    EnvironmentGuard home("HOME");
    setenv("XDG_DATA_HOME", "/tmp/xdg", 1);
    setenv("HOME", "/tmp/home", 1);
    EXPECT_EQ(SteamClient::userDataFolder(), std::filesystem::path("/tmp/xdg/tarnwick"));
    setenv("XDG_DATA_HOME", "", 1);
    EXPECT_EQ(SteamClient::userDataFolder(),
              std::filesystem::path("/tmp/home/.local/share/tarnwick"));
}

TEST_F(SteamUserStatsTest, StatisticsExistOnlyWhileTheClientRuns) {
    EXPECT_EQ(SteamClient::userStats(), nullptr);
    EXPECT_TRUE(SteamClient::init());
    SteamUserStats* stats = SteamClient::userStats();
    ASSERT_NE(stats, nullptr);
    EXPECT_FALSE(stats->hasCurrentStats());
    EXPECT_TRUE(stats->requestCurrentStats()); // no file yet: a new user
    EXPECT_FALSE(stats->hasCurrentStats()) << "delivered only by runCallbacks";
    SteamClient::runCallbacks();
    EXPECT_TRUE(stats->hasCurrentStats());
    EXPECT_TRUE(stats->stats().empty());
    SteamClient::shutdown();
    EXPECT_EQ(SteamClient::userStats(), nullptr);
}

TEST_F(SteamUserStatsTest, StoredStatisticsComeBackAndBadLinesAreSkipped) {
    SteamClient::init();
    SteamUserStats* stats = SteamClient::userStats();
    EXPECT_TRUE(stats->setStat("WINS_OVERALL", 7));
    EXPECT_TRUE(stats->setStat("WINS_TRIBE", -2));
    EXPECT_TRUE(stats->setAchievement("TAUNT"));
    EXPECT_FALSE(stats->setStat("", 1));
    EXPECT_FALSE(stats->setStat("TWO WORDS", 1));
    EXPECT_FALSE(stats->setAchievement(""));
    int32_t value = 99;
    EXPECT_FALSE(stats->getStat("NEVER_SET", value));
    EXPECT_EQ(value, 99);
    ASSERT_TRUE(stats->storeStats());
    {
        std::ofstream file(SteamUserStats::statsFile(), std::ios::app);
        file << "stat BROKEN x\nachievement\nsomething else\nstat EXTRA 1 2\n\n# note\n";
    }
    SteamClient::shutdown();
    SteamClient::init();
    stats = SteamClient::userStats();
    testing::internal::CaptureStdout();
    ASSERT_TRUE(stats->requestCurrentStats());
    SteamClient::runCallbacks();
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("userstats.txt:7: skipping malformed line"), std::string::npos);
    ASSERT_TRUE(stats->getStat("WINS_OVERALL", value));
    EXPECT_EQ(value, 7);
    ASSERT_TRUE(stats->getStat("WINS_TRIBE", value));
    EXPECT_EQ(value, -2);
    EXPECT_EQ(stats->stats().size(), 2u);
    bool achieved = false;
    ASSERT_TRUE(stats->getAchievement("TAUNT", achieved));
    EXPECT_TRUE(achieved);

    ASSERT_TRUE(stats->resetAllStats(false));
    EXPECT_TRUE(stats->stats().empty());
    EXPECT_EQ(stats->achievements().size(), 1u);
    ASSERT_TRUE(stats->resetAllStats(true));
    EXPECT_TRUE(stats->achievements().empty());
}
