#include "rules/core/RNG.h"

#include <boost/archive/binary_iarchive.hpp>
#include <boost/archive/binary_oarchive.hpp>
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>
#include <string>

namespace {

std::string saveRng(const RNG& rng) {
    std::ostringstream out;
    {
        boost::archive::binary_oarchive archive(out);
        archive << rng;
    }
    return out.str();
}

void loadRng(RNG& rng, const std::string& bytes) {
    std::istringstream in(bytes);
    boost::archive::binary_iarchive archive(in);
    archive >> rng;
}

// The binary archive ends with the 625 saved words in native order.
constexpr size_t cSavedWordsSize = (RNG::cStateWords + 1) * sizeof(uint32_t);

void patchWord(std::string& bytes, int32_t index, uint32_t value) {
    std::memcpy(bytes.data() + bytes.size() - cSavedWordsSize + index * sizeof(uint32_t), &value,
                sizeof value);
}

// The state word whose tempered output is y.
uint32_t untemper(uint32_t y) {
    y ^= y >> 18;
    y ^= (y << 15) & 0xEFC60000u;
    uint32_t x = y;
    for (int i = 0; i < 5; ++i)
        x = y ^ ((x << 7) & 0x9D2C5680u);
    uint32_t z = x;
    for (int i = 0; i < 3; ++i)
        z = x ^ (z >> 11);
    return z;
}

bool failingEntropy(uint32_t*, size_t) {
    return false;
}

bool countingEntropy(uint32_t* words, size_t count) {
    for (size_t i = 0; i < count; ++i)
        words[i] = static_cast<uint32_t>(i * 7 + 1);
    return true;
}

struct EntropyOverride {
    explicit EntropyOverride(RNG::EntropySource source) : previous(RNG::setEntropySource(source)) {}
    ~EntropyOverride() { RNG::setEntropySource(previous); }
    RNG::EntropySource previous;
};

} // namespace

TEST(RNGTest, SeedMatchesReferenceGenerator) {
    RNG rng;
    rng.seed(5489);
    EXPECT_EQ(rng.randInt(), 3499211612u);
    EXPECT_EQ(rng.randInt(), 581869302u);
    EXPECT_EQ(rng.randInt(), 3890346734u);
    std::mt19937 reference(5489);
    reference.discard(3);
    for (int i = 0; i < 5000; ++i) // crosses several reloads
        ASSERT_EQ(rng.randInt(), reference()) << i;
}

TEST(RNGTest, SeedArrayMatchesReferenceInitByArray) {
    RNG rng;
    const uint32_t key[] = {0x123, 0x234, 0x345, 0x456};
    rng.seedArray(key);
    const uint32_t expected[] = {1067595299u, 955945823u, 477289528u, 4107218783u, 4228976476u};
    for (uint32_t word : expected)
        EXPECT_EQ(rng.randInt(), word);
}

TEST(RNGTest, SeedArrayAcceptsEmptyKey) {
    RNG a, b;
    a.seedArray({});
    const uint32_t zero[] = {0};
    b.seedArray(zero);
    EXPECT_EQ(a.randInt(), b.randInt());
}

TEST(RNGTest, RandIntStaysInsideInclusiveRange) {
    RNG rng;
    rng.seed(1);
    RNG reference;
    reference.seed(1);
    EXPECT_EQ(rng.randInt(0), 0u);
    reference.randInt();
    EXPECT_EQ(rng.randInt(), reference.randInt()) << "randInt(0) consumes exactly one word";

    rng.seed(2);
    reference.seed(2);
    EXPECT_EQ(rng.randInt(0xFFFFFFFFu), reference.randInt());

    bool sawLow = false, sawHigh = false;
    for (int i = 0; i < 2000; ++i) {
        const uint32_t v = rng.randInt(5);
        ASSERT_LE(v, 5u);
        sawLow |= v == 0;
        sawHigh |= v == 5;
    }
    EXPECT_TRUE(sawLow && sawHigh);
}

TEST(RNGTest, SaveAfterDrawsContinuesSameSequence) {
    for (int draws : {0, 1, 623, 624, 1000}) {
        RNG saved;
        saved.seed(42);
        for (int i = 0; i < draws; ++i)
            saved.randInt();
        const std::string bytes = saveRng(saved);
        RNG restored;
        loadRng(restored, bytes);
        for (int i = 0; i < 1300; ++i)
            ASSERT_EQ(restored.randInt(), saved.randInt()) << draws << " draws, then " << i;
    }
}

TEST(RNGTest, LoadedLeftCountDecidesNextWord) {
    RNG rng;
    rng.seed(7);
    std::string bytes = saveRng(rng);

    // A left count of 0 reloads before the next draw.
    patchWord(bytes, RNG::cStateWords, 0);
    RNG reloaded;
    loadRng(reloaded, bytes);
    RNG expected = rng;
    expected.reload();
    EXPECT_EQ(reloaded.randInt(), expected.randInt());

    // Left 4 reads state word 620; its tempered value 0xFFFFFFFF is exactly 1.0.
    patchWord(bytes, 620, untemper(0xFFFFFFFFu));
    patchWord(bytes, RNG::cStateWords, 4);
    RNG top;
    loadRng(top, bytes);
    EXPECT_EQ(top.rand(), 1.0);

    patchWord(bytes, 620, untemper(0));
    RNG bottom;
    loadRng(bottom, bytes);
    EXPECT_EQ(bottom.rand(), 0.0);
}

TEST(RNGTest, LoadRefusesLeftCountBeyondState) {
    RNG rng;
    rng.seed(7);
    std::string bytes = saveRng(rng);
    patchWord(bytes, RNG::cStateWords, RNG::cStateWords + 1);
    RNG target;
    EXPECT_THROW(loadRng(target, bytes), boost::archive::archive_exception);
}

TEST(RNGTest, AutoSeedUsesEntropySource) {
    EntropyOverride entropy(&countingEntropy);
    RNG automatic;
    std::vector<uint32_t> words(RNG::cStateWords);
    countingEntropy(words.data(), words.size());
    RNG manual;
    manual.seedArray(words);
    EXPECT_EQ(automatic.randInt(), manual.randInt());
}

TEST(RNGTest, ClockSeedsInSameTickDiffer) {
    EntropyOverride entropy(&failingEntropy);
    RNG a, b;
    EXPECT_NE(a.randInt(), b.randInt());
}
