#include "platform/steam/SteamClient.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(SteamClient, GameLanguageComesFromTheEnvironmentWithEnglishAsDefault) {
    unsetenv("TARNWICK_LANGUAGE");
    EXPECT_EQ(SteamClient::currentGameLanguage(), "english");
    setenv("TARNWICK_LANGUAGE", "", 1);
    EXPECT_EQ(SteamClient::currentGameLanguage(), "english");
    setenv("TARNWICK_LANGUAGE", "german", 1);
    EXPECT_EQ(SteamClient::currentGameLanguage(), "german");
    unsetenv("TARNWICK_LANGUAGE");
}
