#pragma once

// A test of the platform stand-in with the user's files in a scratch folder
// of its own (named after the process and the test).

#include "platform/steam/SteamClient.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

class SteamFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        mFolder = std::filesystem::temp_directory_path() /
                  ("tarnwick-steam-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(mFolder);
        SteamClient::setUserDataFolder(mFolder);
    }
    void TearDown() override {
        SteamClient::setCallsFail(false);
        SteamClient::shutdown();
        SteamClient::setUserDataFolder({});
        std::filesystem::remove_all(mFolder);
    }
    std::filesystem::path mFolder;
};
