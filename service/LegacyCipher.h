#pragma once

// MD5 and RC4 through OpenSSL 3, in a library context of their own. RC4 lives
// in the "legacy" provider; the "default" one (MD5) is loaded explicitly too,
// since once any provider is loaded explicitly the default one no longer loads
// by itself. The process's own context (the TLS of the requests) is left alone.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

struct ossl_lib_ctx_st;
struct ossl_provider_st;

class LegacyCipher {
public:
    using Digest = std::array<uint8_t, 16>;

    // Loads both providers; failures print "<call> failed: Error [0x<code>]."
    // and leave the cipher invalid.
    LegacyCipher();
    LegacyCipher(const LegacyCipher&) = delete;
    LegacyCipher& operator=(const LegacyCipher&) = delete;
    ~LegacyCipher();

    bool isValid() const { return mDefault != nullptr && mLegacy != nullptr; }

    // The MD5 digest of data; false when the library fails.
    bool md5(std::span<const uint8_t> data, Digest& digest) const;
    // RC4 with key over data in place, as one final block; false, leaving data
    // as it was, when the library fails.
    bool rc4(std::span<const uint8_t> key, std::span<uint8_t> data) const;

private:
    ossl_lib_ctx_st* mContext = nullptr;
    ossl_provider_st* mLegacy = nullptr;
    ossl_provider_st* mDefault = nullptr;
};
