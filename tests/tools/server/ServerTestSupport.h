#pragma once

// A fresh temporary folder per test, and seed files written into it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class ServerFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        mFolder = std::filesystem::temp_directory_path() /
                  ("tarnwick-server-" + std::to_string(getpid()) + "-" + info->name());
        std::filesystem::remove_all(mFolder);
        std::filesystem::create_directories(mFolder);
    }
    void TearDown() override { std::filesystem::remove_all(mFolder); }

    std::filesystem::path writeSeed(const std::string& name, const std::string& text) {
        const std::filesystem::path file = mFolder / name;
        std::ofstream(file) << text;
        return file;
    }
    static unsigned modeOf(const std::filesystem::path& file) {
        struct stat info {};
        return stat(file.c_str(), &info) == 0 ? (info.st_mode & 0777) : 0;
    }

    std::filesystem::path mFolder;
};

inline std::string clockSeed(int64_t offset) {
    return "<ServerSeed><Setting name=\"clockOffset\" value=\"" + std::to_string(offset) +
           "\"/></ServerSeed>";
}
