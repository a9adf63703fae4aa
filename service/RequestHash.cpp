#include "service/RequestHash.h"

#include <openssl/evp.h>

#include <array>
#include <cstdio>
#include <memory>

void computeRequestHash(std::string_view first, std::string_view second, int32_t t,
                        std::string& out) {
    std::string text;
    text.reserve(first.size() + second.size() + cRequestHashKey.size() + 12);
    text.append(first).append(second).append(cRequestHashKey).append(std::to_string(t));
    out = sha256Hex(text);
}

std::string sha256Hex(std::string_view text) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                          &EVP_MD_CTX_free);
    EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr);
    EVP_DigestUpdate(context.get(), text.data(), text.size());
    EVP_DigestFinal_ex(context.get(), digest.data(), &length);

    std::string out;
    char hex[3];
    for (unsigned int i = 0; i < length; ++i) {
        std::snprintf(hex, sizeof hex, "%02X", digest[i]);
        out.append(hex, 2);
    }
    return out;
}
