#include "service/BSecureStorage.h"

#include "service/LegacyCipher.h"

#include <uuid/uuid.h>

namespace {

constexpr std::string_view cDeviceIdKey = "UDID";
constexpr std::string_view cUsernameKey = "Username";
constexpr std::string_view cPasswordKey = "Password";
constexpr std::string_view cAuthKeyKey = "AuthKey";
constexpr std::string_view cAvatarKey = "LocalPlayerAvatar";

// A new GUID in its registry form: braces around upper case 8-4-4-4-12.
std::string newDeviceId() {
    uuid_t id;
    uuid_generate_random(id);
    char text[37];
    uuid_unparse_upper(id, text);
    return "{" + std::string(text) + "}";
}

} // namespace

BSecureStorage& secureStorage() {
    static BSecureStorage store;
    return store;
}

const std::string* BSecureStorage::findLocked(std::string_view key) const {
    const auto found = mValues.find(key);
    return found == mValues.end() ? nullptr : &found->second;
}

void BSecureStorage::setLocked(std::string_view key, std::string value) {
    mValues.insert_or_assign(std::string(key), std::move(value));
}

bool BSecureStorage::getValue(std::string_view key, std::string& out) const {
    const std::lock_guard lock(mMutex);
    const std::string* value = findLocked(key);
    out = value ? *value : std::string();
    return value != nullptr;
}

void BSecureStorage::setValue(std::string_view key, std::string_view value) {
    const std::lock_guard lock(mMutex);
    setLocked(key, std::string(value));
}

bool BSecureStorage::prefGetBool(std::string_view key, bool& out) {
    const std::lock_guard lock(mMutex);
    const std::string* value = findLocked(key);
    if (value)
        out = *value == "true";
    return value != nullptr;
}

void BSecureStorage::prefSetBool(std::string_view key, bool value) {
    const std::lock_guard lock(mMutex);
    setLocked(key, value ? "true" : "false");
    saveLocked();
}

bool BSecureStorage::prefGetInt(std::string_view key, int32_t& out) {
    const std::lock_guard lock(mMutex);
    const std::string* value = findLocked(key);
    if (value)
        out = preferenceTextToInt(*value);
    return value != nullptr;
}

void BSecureStorage::prefSetInt(int32_t value, std::string_view key) {
    const std::lock_guard lock(mMutex);
    setLocked(key, std::to_string(value));
    saveLocked();
}

void BSecureStorage::togglePref(std::string_view key) {
    const std::lock_guard lock(mMutex);
    const std::string* value = findLocked(key);
    setLocked(key, value && *value == "true" ? "false" : "true");
    saveLocked();
}

void BSecureStorage::setLocalPlayerAvatar(std::string_view value) {
    const std::lock_guard lock(mMutex);
    setLocked(cAvatarKey, std::string(value));
    saveLocked();
}

int32_t BSecureStorage::ensureDeviceId() {
    const std::lock_guard lock(mMutex);
    if (findLocked(cDeviceIdKey))
        return 1;
    setLocked(cDeviceIdKey, newDeviceId());
    return 0;
}

std::string BSecureStorage::getStoredUDID() {
    const std::lock_guard lock(mMutex);
    if (const std::string* value = findLocked(cDeviceIdKey))
        return *value;
    std::string id = newDeviceId();
    setLocked(cDeviceIdKey, id);
    return id;
}

std::string BSecureStorage::getStoredUsername() const {
    std::string value;
    getValue(cUsernameKey, value);
    return value;
}

std::string BSecureStorage::getStoredPassword() const {
    std::string value;
    getValue(cPasswordKey, value);
    return value;
}

std::string BSecureStorage::getStoredAuthKey() const {
    std::string value;
    getValue(cAuthKeyKey, value);
    return value;
}

void BSecureStorage::setStoredUsername(std::string_view value) {
    setValue(cUsernameKey, value);
}

void BSecureStorage::setStoredPassword(std::string_view value) {
    setValue(cPasswordKey, value);
}

void BSecureStorage::setStoredAuthKey(std::string_view value) {
    setValue(cAuthKeyKey, value);
}

int32_t ensureDeviceId() {
    return secureStorage().ensureDeviceId();
}

std::string getStoredUDID() {
    return secureStorage().getStoredUDID();
}

std::string getStoredUsername() {
    return secureStorage().getStoredUsername();
}

std::string getStoredPassword() {
    return secureStorage().getStoredPassword();
}

std::string getStoredAuthKey() {
    return secureStorage().getStoredAuthKey();
}

void setStoredUsername(std::string_view value) {
    secureStorage().setStoredUsername(value);
}

void setStoredPassword(std::string_view value) {
    secureStorage().setStoredPassword(value);
}

void setStoredAuthKey(std::string_view value) {
    secureStorage().setStoredAuthKey(value);
}

void setLocalPlayerAvatar(std::string_view value) {
    secureStorage().setLocalPlayerAvatar(value);
}
