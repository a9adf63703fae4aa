#include "service/BSecureStorage.h"

#include "platform/steam/SteamClient.h"
#include "service/LegacyCipher.h"

#include <openssl/crypto.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr char cSalt[] = "quietlyoverdone";
constexpr size_t cSaltField = 16;
// The base provider's default RC4 key length: 40 bits.
constexpr size_t cKeyBytes = 5;

} // namespace

BSecureStorage::BSecureStorage() {
    // OpenSSL registers its clean-up at exit now, before this store's
    // destructor, which so runs first and releases the key while it can.
    OPENSSL_init_crypto(0, nullptr);
}

BSecureStorage::~BSecureStorage() {
    releaseCrypto();
}

BSecureStorage::KeySeed BSecureStorage::keySeed(uint64_t accountId) {
    static_assert(sizeof cSalt <= cSaltField);
    KeySeed seed{};
    std::memcpy(seed.data(), cSalt, sizeof cSalt);
    for (size_t i = 0; i < 8; ++i)
        seed[cSaltField + i] = static_cast<uint8_t>(accountId >> (8 * i));
    return seed;
}

BSecureStorage::Key BSecureStorage::keyFromDigest(const std::array<uint8_t, 16>& digest) {
    Key key{};
    std::copy_n(digest.begin(), cKeyBytes, key.begin());
    return key;
}

bool BSecureStorage::initCrypto() {
    if (SteamClient::isSignedIn())
        return initCrypto(SteamClient::accountId());
    releaseCrypto();
    return false;
}

bool BSecureStorage::initCrypto(uint64_t accountId) {
    const std::lock_guard lock(mMutex);
    mCryptKey.reset();
    mCryptHash.reset();
    if (!mCryptProvider)
        mCryptProvider = std::make_unique<LegacyCipher>();
    if (!mCryptProvider->isValid())
        return false;
    const KeySeed seed = keySeed(accountId);
    std::array<uint8_t, 16> digest{};
    if (!mCryptProvider->md5(seed, digest))
        return false;
    mCryptHash = digest;
    mCryptKey = keyFromDigest(digest);
    return true;
}

bool BSecureStorage::hasKey() const {
    const std::lock_guard lock(mMutex);
    return mCryptKey.has_value();
}

void BSecureStorage::releaseCrypto() {
    const std::lock_guard lock(mMutex);
    mCryptKey.reset();
    mCryptHash.reset();
    mCryptProvider.reset();
}

bool BSecureStorage::cryptLocked(uint8_t* buffer, size_t size) const {
    if (!mCryptKey || size == 0)
        return false;
    return mCryptProvider->rc4(*mCryptKey, {buffer, size});
}

bool BSecureStorage::encrypt(uint8_t* buffer, size_t size) const {
    const std::lock_guard lock(mMutex);
    return cryptLocked(buffer, size);
}

bool BSecureStorage::decrypt(uint8_t* buffer, size_t size) const {
    const std::lock_guard lock(mMutex);
    return cryptLocked(buffer, size);
}
