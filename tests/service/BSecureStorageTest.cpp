#include "SecureStorageTestSupport.h"

#include "service/LegacyCipher.h"

#include <cstdio>
#include <csignal>
#include <sstream>
#include <string_view>

#include <sys/resource.h>

namespace {

std::string hex(const uint8_t* bytes, size_t size) {
    std::string text;
    char digits[3];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
        text += digits;
    }
    return text;
}

template <class Bytes>
std::string hex(const Bytes& bytes) {
    return hex(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::vector<uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

} // namespace

TEST(SecureStorageCrypto, Rc4AndKeyDerivationMatchKnownAnswers) {
    const LegacyCipher cipher;
    ASSERT_TRUE(cipher.isValid());
    std::vector<uint8_t> data = bytesOf("Plaintext");
    ASSERT_TRUE(cipher.rc4(bytesOf("Key"), data));
    EXPECT_EQ(hex(data), "bbf316e8d940af0ad3");

    // Salt with its NUL in 16 bytes, then the account id little-endian.
    const BSecureStorage::KeySeed seed = BSecureStorage::keySeed(cAccountA);
    EXPECT_EQ(hex(seed), "71756965746c796f766572646f6e6500ba56000001001001");
    LegacyCipher::Digest digest{};
    ASSERT_TRUE(cipher.md5(seed, digest));
    EXPECT_EQ(hex(digest), "415725e19c4cf4e9c31210795ebe71b7");
    EXPECT_EQ(hex(BSecureStorage::keyFromDigest(digest)), "415725e19c0000000000000000000000");

    BSecureStorage store;
    ASSERT_TRUE(store.initCrypto(cAccountA));
    std::string text = "22 serialization::archive";
    ASSERT_TRUE(store.encrypt(reinterpret_cast<uint8_t*>(text.data()), text.size()));
    EXPECT_EQ(hex(text), "19e63ec0857c7b74fb50768216eda73634c42d939047141d03");
    ASSERT_TRUE(store.decrypt(reinterpret_cast<uint8_t*>(text.data()), text.size()));
    EXPECT_EQ(text, "22 serialization::archive");
}

TEST(SecureStorageCrypto, NoKeyOrNoBytesLeavesTheBufferAlone) {
    BSecureStorage store;
    std::string text = "plain";
    EXPECT_FALSE(store.hasKey());
    EXPECT_FALSE(store.encrypt(reinterpret_cast<uint8_t*>(text.data()), text.size()));
    EXPECT_EQ(text, "plain");
    ASSERT_TRUE(store.initCrypto(cAccountA));
    EXPECT_FALSE(store.decrypt(reinterpret_cast<uint8_t*>(text.data()), 0));
    EXPECT_EQ(text, "plain");
    store.releaseCrypto();
    EXPECT_FALSE(store.hasKey());
    EXPECT_FALSE(store.decrypt(reinterpret_cast<uint8_t*>(text.data()), text.size()));
}

TEST_F(SecureStorageTest, SaveLeavesThePasswordInMemoryOnly) {
    BSecureStorage first;
    openQuietly(first, cAccountA);
    EXPECT_EQ(first.filePath(), file());
    first.setStoredUsername("sam");
    first.setStoredPassword("hunter2");
    first.setStoredAuthKey("auth-1234");
    ASSERT_TRUE(first.save());
    const std::string bytes = readFile(file());
    EXPECT_EQ(bytes.find("sam"), std::string::npos) << "the file is encrypted";

    BSecureStorage second;
    openQuietly(second, cAccountA);
    EXPECT_EQ(second.getStoredUsername(), "sam");
    EXPECT_EQ(second.getStoredAuthKey(), "auth-1234");
    std::string password = "x";
    EXPECT_FALSE(second.getValue("Password", password));
    EXPECT_EQ(password, "");
    EXPECT_EQ(first.getStoredPassword(), "hunter2");
}

TEST_F(SecureStorageTest, WithoutEncryptionTheFileIsArchiveText) {
    setEncryption(false);
    BSecureStorage store;
    openQuietly(store, cAccountA);
    store.setValue("Vellix_AvatarColor", "true");
    ASSERT_TRUE(store.save());
    const std::string text = readFile(file());
    EXPECT_EQ(text.rfind("22 serialization::archive", 0), 0u) << text;
    EXPECT_NE(text.find("18 Vellix_AvatarColor 4 true"), std::string::npos) << text;
}

TEST_F(SecureStorageTest, OlderArchiveVersionsLoad) {
    setEncryption(false);
    writeFile(file(), "22 serialization::archive 10 0 0 2 0 0 0 8 Username 3 sam 13 SoundsEnabled "
                      "5 false\n");
    BSecureStorage store;
    openQuietly(store, 0);
    EXPECT_EQ(store.getStoredUsername(), "sam");
    bool sounds = true;
    EXPECT_TRUE(store.prefGetBool("SoundsEnabled", sounds));
    EXPECT_FALSE(sounds);
}

// A file read in the other mode fails, is kept as ".bad" and is never
// overwritten by the next save.
TEST_F(SecureStorageTest, FileOfTheOtherModeIsKeptAsBad) {
    for (const bool writeEncrypted : {true, false}) {
        SCOPED_TRACE(writeEncrypted ? "written encrypted" : "written plain");
        std::filesystem::remove_all(folder());
        setEncryption(writeEncrypted);
        BSecureStorage writer;
        openQuietly(writer, cAccountA);
        writer.setStoredAuthKey("auth-1234");
        ASSERT_TRUE(writer.save());
        const std::string original = readFile(file());

        setEncryption(!writeEncrypted);
        BSecureStorage reader;
        ASSERT_TRUE(reader.initCrypto(cAccountA));
        testing::internal::CaptureStdout();
        ASSERT_TRUE(reader.open());
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("Secure Storage - Boost Serialization Read Exception: "),
                  std::string::npos)
            << out;
        EXPECT_EQ(out.find("auth-1234"), std::string::npos) << out;
        EXPECT_EQ(reader.getStoredAuthKey(), "");
        EXPECT_FALSE(std::filesystem::exists(file()));
        EXPECT_EQ(readFile(badFile()), original);

        reader.setStoredUsername("new");
        ASSERT_TRUE(reader.save());
        EXPECT_EQ(readFile(badFile()), original) << "the save leaves the copy alone";
        EXPECT_TRUE(std::filesystem::exists(file()));
    }
}

TEST_F(SecureStorageTest, DamagedFilesLoadAsAnEmptyMap) {
    setEncryption(false);
    const std::string good =
        "22 serialization::archive 18 0 0 2 0 0 0 7 AuthKey 4 abcd 8 Username 3 sam\n";
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"zero bytes", ""},
        {"truncated header", good.substr(0, 20)},
        {"truncated value", good.substr(0, good.size() - 3)},
        {"garbled", "\x7f\x01garbage that is no archive"},
        {"huge string length", "22 serialization::archive 18 0 0 1 0 0 0 99999999999999 a 1 b"},
        {"huge count", "22 serialization::archive 18 0 0 99999999999999 0 0 0 1 a 1 b"},
        {"newer archive version", "22 serialization::archive 99 0 0 0\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(file(), c.bytes);
        std::filesystem::remove(badFile());
        BSecureStorage store;
        store.setValue("Stale", "1");
        testing::internal::CaptureStdout();
        ASSERT_TRUE(store.open());
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("Read Exception"), std::string::npos) << out;
        std::string value;
        EXPECT_FALSE(store.getValue("Stale", value));
        EXPECT_FALSE(store.getValue("AuthKey", value));
        EXPECT_EQ(readFile(badFile()), c.bytes);
    }
}

TEST_F(SecureStorageTest, EachAccountReadsOnlyItsOwnFile) {
    const auto writeAs = [this](uint64_t account) {
        BSecureStorage store;
        openQuietly(store, account);
        store.setStoredUsername("sam");
        EXPECT_TRUE(store.save());
        return readFile(file());
    };
    const auto loadsAs = [](uint64_t account) {
        BSecureStorage store;
        store.initCrypto(account);
        testing::internal::CaptureStdout();
        store.open();
        testing::internal::GetCapturedStdout();
        return store.getStoredUsername() == "sam";
    };
    const std::string fileA = writeAs(cAccountA);
    EXPECT_NE(fileA, writeAs(cAccountB));
    EXPECT_FALSE(loadsAs(cAccountA)) << "the file is account B's";
    writeAs(cAccountB);
    EXPECT_TRUE(loadsAs(cAccountB));
    writeAs(cAccountA);
    EXPECT_TRUE(loadsAs(cAccountA));
}

TEST_F(SecureStorageTest, OpenCreatesTheMissingFolderChain) {
    const std::filesystem::path home = mDataHome / "new home";
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    BSecureStorage store;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(store.open());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Secure Storage - Unable to open file for read: " + (home / BSecureStorage::cFolder /
                                                                   BSecureStorage::cFileName)
                                                                      .string() +
                  "\n");
    EXPECT_TRUE(std::filesystem::is_directory(home / "Brassmoor Entertainment" / "Tarnwick" / "1.0"));
    EXPECT_FALSE(std::filesystem::exists(badFile())) << "a missing file is no bad file";
}

TEST_F(SecureStorageTest, FolderThatCannotBeMadeLeavesTheStoreClosed) {
    writeFile(mDataHome / "Brassmoor Entertainment", "a file in the way");
    BSecureStorage store;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(store.open());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "BSecureStorage: Unable to create user directory " +
                  (mDataHome / "Brassmoor Entertainment").string() +
                  " failed: Error [0x11].\n");
    EXPECT_TRUE(store.filePath().empty());
    store.prefSetBool("SoundsEnabled", true);
    EXPECT_FALSE(store.save()) << "nothing is written while closed";
    bool sounds = false;
    EXPECT_TRUE(store.prefGetBool("SoundsEnabled", sounds));
    EXPECT_TRUE(sounds);

    unsetenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    unsetenv("HOME");
    EXPECT_TRUE(BSecureStorage::dataHome().empty());
    EXPECT_FALSE(store.open());
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(BSecureStorage::dataHome(), std::filesystem::path("/home/someone/.local/share"));
    setenv("XDG_DATA_HOME", "relative/path", 1);
    EXPECT_EQ(BSecureStorage::dataHome(), std::filesystem::path("/home/someone/.local/share"))
        << "a relative XDG_DATA_HOME is ignored";
    setenv("HOME", savedHome.c_str(), 1);
}

// Tests run as root, which writes into read-only folders: the file size limit
// makes the write fail instead.
TEST_F(SecureStorageTest, FailedWriteKeepsTheOldFile) {
    BSecureStorage store;
    openQuietly(store, cAccountA);
    store.setStoredUsername("sam");
    ASSERT_TRUE(store.save());
    const std::string before = readFile(file());
    store.setStoredUsername("a much longer name that makes a longer file");

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    testing::internal::CaptureStdout();
    const bool saved16 = store.save();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    const std::string out = testing::internal::GetCapturedStdout();

    EXPECT_FALSE(saved16);
    EXPECT_NE(out.find("Secure Storage - Unable to write file: " + file().string()),
              std::string::npos)
        << out;
    EXPECT_EQ(readFile(file()), before);
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder()))
        ++entries;
    EXPECT_EQ(entries, 1u) << "no temporary file is left behind";
}

// A folder where the store's file belongs is set aside like an unreadable
// file, and the store starts empty and can save again.
TEST_F(SecureStorageTest, AFolderInPlaceOfTheFileIsSetAside) {
    std::filesystem::create_directories(file());
    BSecureStorage store;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(store.open());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Unable to open file for read"), std::string::npos) << out;
    EXPECT_TRUE(std::filesystem::is_directory(badFile()));
    store.setValue("AuthKey", "abcd");
    EXPECT_TRUE(store.save());
    EXPECT_TRUE(std::filesystem::is_regular_file(file()));
}
