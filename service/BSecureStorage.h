#pragma once

// The user's preferences and credentials: one process-wide map of text keys
// to text values, kept in the file "vellixSS.dat" in the folder
// "Brassmoor Entertainment/Tarnwick/1.0" of the user's data folder
// ($XDG_DATA_HOME, else ~/.local/share).
//
// The file is the map as a Boost text archive, without "Password" (which
// stays in memory only), encrypted with RC4 under a key derived from the
// signed-in platform user's account id. Without a signed-in user there is no
// key and the file is the plain archive text; the option "DisableEncryption"
// reads and writes it plain as well.
//
// An existing file that fails to load is kept as "vellixSS.dat.bad" (one
// generation) before anything is saved over it. A save writes a temporary
// file beside the store and renames it over the old one, so a failed save
// leaves the old file whole. Before open, everything works on the map only.
//
// One mutex guards the map, the key and the file: every member may be called
// from any thread (signed requests read the device id on worker threads).

#include "content/Preferences.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

class LegacyCipher;

class BSecureStorage : public PreferenceStore {
public:
    static constexpr const char* cFolder = "Brassmoor Entertainment/Tarnwick/1.0";
    static constexpr const char* cFileName = "vellixSS.dat";
    static constexpr const char* cBadSuffix = ".bad";

    using KeySeed = std::array<uint8_t, 24>;
    using Key = std::array<uint8_t, 16>;

    BSecureStorage();
    BSecureStorage(const BSecureStorage&) = delete;
    BSecureStorage& operator=(const BSecureStorage&) = delete;
    // Releases the key.
    ~BSecureStorage() override;

    // The seed of an account's key: the salt "quietlyoverdone" with its NUL in
    // a 16-byte field, then the account id little-endian.
    static KeySeed keySeed(uint64_t accountId);
    // The RC4 key that CryptoAPI's base provider derives from an MD5 digest
    // at its default length of 40 bits: the first 5 digest bytes, then 11
    // zero bytes of salt.
    static Key keyFromDigest(const std::array<uint8_t, 16>& digest);

    // Derives the key of the signed-in platform user; false, with no key,
    // when nobody is signed in or the crypto library fails.
    bool initCrypto();
    // Derives the key of that account.
    bool initCrypto(uint64_t accountId);
    bool hasKey() const;
    // Forgets the key and the crypto library's state.
    void releaseCrypto();
    // RC4 over the buffer in place; false, leaving it as it was, when there is
    // no key, the size is 0 or the library fails.
    bool encrypt(uint8_t* buffer, size_t size) const;
    bool decrypt(uint8_t* buffer, size_t size) const;

    // The user's data folder: $XDG_DATA_HOME when it is an absolute path,
    // else $HOME/.local/share; empty when neither is known.
    static std::filesystem::path dataHome();
    // Creates the store's folder, sets the file's path and loads the file.
    // True when the folder and path are set up, whatever the load gave.
    bool open();
    // Creates every missing level of path; false, printing the level and the
    // errno value, when one cannot be created.
    static bool createUserDirectory(const std::filesystem::path& path);
    // The store file; empty before open.
    std::filesystem::path filePath() const;

    // When key is stored: out = its value, true. Else out = "", false.
    bool getValue(std::string_view key, std::string& out) const;
    // Stores value under key in the map only.
    void setValue(std::string_view key, std::string_view value);

    // Writes the map to the file; false before open or on any failure.
    bool save();
    // Replaces the map with the file's content; false, with an empty map,
    // when there is no file or it cannot be read.
    bool load();

    // Preferences: the setters save at once.
    bool prefGetBool(std::string_view key, bool& out) override;
    void prefSetBool(std::string_view key, bool value) override;
    bool prefGetInt(std::string_view key, int32_t& out) override;
    void prefSetInt(int32_t value, std::string_view key) override;
    void togglePref(std::string_view key) override;
    // "LocalPlayerAvatar": the avatar id, "|" and the variant number.
    void setLocalPlayerAvatar(std::string_view value);

    // Credentials: the setters change the map only.
    // Makes the device id "UDID" when absent: 0 when made, 1 when it existed.
    int32_t ensureDeviceId();
    // The device id, made first when absent: a GUID, "{" 8-4-4-4-12 upper case
    // hexadecimal digits "}".
    std::string getStoredUDID();
    std::string getStoredUsername() const;
    std::string getStoredPassword() const;
    std::string getStoredAuthKey() const;
    void setStoredUsername(std::string_view value);
    void setStoredPassword(std::string_view value);
    void setStoredAuthKey(std::string_view value);

private:
    using ValueMap = std::map<std::string, std::string, std::less<>>;

    const std::string* findLocked(std::string_view key) const;
    void setLocked(std::string_view key, std::string value);
    bool cryptLocked(uint8_t* buffer, size_t size) const;
    bool saveLocked();
    bool loadLocked();
    bool writeFileLocked(const std::string& bytes) const;
    void keepBadCopyLocked() const;

    mutable std::mutex mMutex;
    ValueMap mValues;
    std::filesystem::path mFilePath;
    std::unique_ptr<LegacyCipher> mCryptProvider;
    std::optional<std::array<uint8_t, 16>> mCryptHash; // MD5 of the seed
    std::optional<Key> mCryptKey;
};

// The process-wide store, built on first use (the service client builds it
// before itself, so that it outlives the client's workers).
BSecureStorage& secureStorage();

// The credential accessors of the process-wide store.
int32_t ensureDeviceId();
std::string getStoredUDID();
std::string getStoredUsername();
std::string getStoredPassword();
std::string getStoredAuthKey();
void setStoredUsername(std::string_view value);
void setStoredPassword(std::string_view value);
void setStoredAuthKey(std::string_view value);
void setLocalPlayerAvatar(std::string_view value);
