#pragma once

// A temporary user data folder ($XDG_DATA_HOME) for secure stores, encryption
// on, and helpers to read and write the store file.

#include "service/BSecureStorage.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

inline constexpr uint64_t cAccountA = 76561197960287930ull;
inline constexpr uint64_t cAccountB = 76561197960287931ull;

class SecureStorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        mDataHome = std::filesystem::temp_directory_path() /
                    ("tarnwick-store-" + std::to_string(::getpid()));
        std::filesystem::remove_all(mDataHome);
        std::filesystem::create_directories(mDataHome);
        setenv("XDG_DATA_HOME", mDataHome.c_str(), 1);
        setEncryption(true);
    }
    void TearDown() override {
        setEncryption(true);
        unsetenv("XDG_DATA_HOME");
        std::filesystem::remove_all(mDataHome);
    }

    static void setEncryption(bool on) {
        if (on)
            BConfig::instance().unsetById(cOptDisableEncryption);
        else
            BConfig::instance().defineById(cOptDisableEncryption);
    }

    std::filesystem::path folder() const { return mDataHome / BSecureStorage::cFolder; }
    std::filesystem::path file() const { return folder() / BSecureStorage::cFileName; }
    std::filesystem::path badFile() const {
        return folder() / (std::string(BSecureStorage::cFileName) + BSecureStorage::cBadSuffix);
    }

    static std::string readFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void writeFile(const std::filesystem::path& path, const std::string& bytes) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // Opens store under account (0: no key), its messages swallowed.
    static void openQuietly(BSecureStorage& store, uint64_t account) {
        if (account != 0) {
            ASSERT_TRUE(store.initCrypto(account));
        }
        testing::internal::CaptureStdout();
        const bool opened = store.open();
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(opened);
    }

    std::filesystem::path mDataHome;
};
