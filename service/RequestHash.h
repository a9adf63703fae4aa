#pragma once

// The signature "h" of a signed request: SHA-256 over the first text, the
// second text, the key shared with the game service and the request time in
// signed decimal, written as 64 uppercase hexadecimal digits. Signed requests
// pass the device id and the auth key; the login passes the user name and
// the password. The server checks it with the same function.

#include <cstdint>
#include <string>
#include <string_view>

// The key shared with the game service; fixed in the build.
inline constexpr std::string_view cRequestHashKey = "7B0E4A19D2C6F385";

void computeRequestHash(std::string_view first, std::string_view second, int32_t t,
                        std::string& out);

// SHA-256 of text as 64 uppercase hexadecimal digits.
std::string sha256Hex(std::string_view text);
