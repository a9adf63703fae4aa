// The request signature against digests computed apart from the program
// (sha256sum of the joined text, in uppercase).

#include "service/RequestHash.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {

struct HashCase {
    const char* first;
    const char* second;
    int32_t t;
    const char* expected;
};

const HashCase cHashCases[] = {
    {"device-01", "auth-key-01", 1700000000,
     "C8FCBC424E3B2FB2A8E2C11E8AD2BC1A70ECDE49627DC871ABE5DE38366C6FD4"},
    // Nobody logged in: no auth key.
    {"device-01", "", 1700000000,
     "ED1933B5B734544BAC7FA900D96D4FE01C2D45BFB2321335E8A26C550FA7948D"},
    {"device-01", "auth-key-01", -30,
     "871EB38AE9F2E0DA3FB39005D9B14B965B83E1C57DD02691B4CFEFA4D26EB7A2"},
    // One byte of the device id changed.
    {"device-02", "auth-key-01", 1700000000,
     "6B83DE34583872C6C54B96D96419D0F67CA9096D55A2D60C9B34C7D7587D8F6F"},
    // The login's user name and password.
    {"alice", "secret", 0, "389DEE0EB5B5D1CF381A8337CC5EF6F6CAFD410FBB04A4F9E78D381C592C5A9C"},
};

} // namespace

TEST(RequestHashTest, MatchesIndependentDigestsAsUppercaseHex) {
    for (const HashCase& c : cHashCases) {
        std::string hash = "left over";
        computeRequestHash(c.first, c.second, c.t, hash);
        EXPECT_EQ(hash, c.expected) << c.first << " " << c.second << " " << c.t;
        ASSERT_EQ(hash.size(), 64u);
        EXPECT_TRUE(std::all_of(hash.begin(), hash.end(), [](char ch) {
            return std::isdigit(static_cast<unsigned char>(ch)) || (ch >= 'A' && ch <= 'F');
        }));
    }
}
