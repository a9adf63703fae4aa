#include "service/LegacyCipher.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/provider.h>

#include <climits>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// Reports a failing call with the library's error code, at most 128 characters.
bool failed(const char* call) {
    char line[128];
    std::snprintf(line, sizeof line, "%s failed: Error [0x%lx].", call, ERR_get_error());
    std::printf("%s\n", line);
    ERR_clear_error();
    return false;
}

struct CipherDeleter {
    void operator()(EVP_CIPHER* cipher) const { EVP_CIPHER_free(cipher); }
    void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
    void operator()(EVP_MD* md) const { EVP_MD_free(md); }
};

} // namespace

LegacyCipher::LegacyCipher() {
    mContext = OSSL_LIB_CTX_new();
    if (mContext == nullptr) {
        failed("OSSL_LIB_CTX_new");
        return;
    }
    mLegacy = OSSL_PROVIDER_load(mContext, "legacy");
    if (mLegacy == nullptr)
        failed("OSSL_PROVIDER_load(legacy)");
    mDefault = OSSL_PROVIDER_load(mContext, "default");
    if (mDefault == nullptr)
        failed("OSSL_PROVIDER_load(default)");
}

LegacyCipher::~LegacyCipher() {
    if (mDefault != nullptr)
        OSSL_PROVIDER_unload(mDefault);
    if (mLegacy != nullptr)
        OSSL_PROVIDER_unload(mLegacy);
    OSSL_LIB_CTX_free(mContext);
}

bool LegacyCipher::md5(std::span<const uint8_t> data, Digest& digest) const {
    if (!isValid())
        return false;
    const std::unique_ptr<EVP_MD, CipherDeleter> md(EVP_MD_fetch(mContext, "MD5", nullptr));
    if (!md)
        return failed("EVP_MD_fetch(MD5)");
    unsigned int size = 0;
    if (EVP_Digest(data.data(), data.size(), digest.data(), &size, md.get(), nullptr) != 1 ||
        size != digest.size())
        return failed("EVP_Digest");
    return true;
}

bool LegacyCipher::rc4(std::span<const uint8_t> key, std::span<uint8_t> data) const {
    if (!isValid() || key.empty() || key.size() > INT_MAX || data.size() > INT_MAX)
        return false;
    const std::unique_ptr<EVP_CIPHER, CipherDeleter> cipher(
        EVP_CIPHER_fetch(mContext, "RC4", nullptr));
    if (!cipher)
        return failed("EVP_CIPHER_fetch(RC4)");
    const std::unique_ptr<EVP_CIPHER_CTX, CipherDeleter> context(EVP_CIPHER_CTX_new());
    if (!context)
        return failed("EVP_CIPHER_CTX_new");
    if (EVP_CipherInit_ex2(context.get(), cipher.get(), nullptr, nullptr, 1, nullptr) != 1 ||
        EVP_CIPHER_CTX_set_key_length(context.get(), static_cast<int>(key.size())) != 1 ||
        EVP_CipherInit_ex2(context.get(), nullptr, key.data(), nullptr, 1, nullptr) != 1)
        return failed("EVP_CipherInit_ex2(RC4)");
    // Into a copy, so that a failure leaves the data as it was.
    std::vector<uint8_t> out(data.size() + 1);
    int written = 0;
    int finalWritten = 0;
    if (EVP_CipherUpdate(context.get(), out.data(), &written, data.data(),
                         static_cast<int>(data.size())) != 1 ||
        EVP_CipherFinal_ex(context.get(), out.data() + written, &finalWritten) != 1 ||
        static_cast<size_t>(written + finalWritten) != data.size())
        return failed("EVP_CipherUpdate(RC4)");
    std::copy(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(data.size()), data.begin());
    return true;
}
