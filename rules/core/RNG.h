#pragma once

// The Mersenne Twister (MT19937) behind every random draw.
//
// The game's own generator is saved with the game, so its whole state is the
// 624 words plus the count left before the next reload; a restored generator
// continues with exactly the words the saved one would have produced. gRng is
// the process-wide cosmetic generator (animation variants, sound picks, the
// random entries of tile allocations): auto-seeded, never saved.

#include <boost/archive/archive_exception.hpp>
#include <boost/serialization/nvp.hpp>
#include <boost/serialization/split_member.hpp>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

class RNG {
public:
    static constexpr int32_t cStateWords = 624;

    // Fills words with count values of system entropy; false when it cannot.
    using EntropySource = bool (*)(uint32_t* words, size_t count);

    // Auto-seeded.
    RNG();

    // Initialises from one word, then reloads.
    void seed(uint32_t seed);
    // Initialises from a key array, then reloads. An empty key counts as one
    // zero word.
    void seedArray(std::span<const uint32_t> key);
    // Seeds from the entropy source, or from a hash of the clock when it fails.
    void autoSeed();
    // Regenerates all 624 state words.
    void reload();

    // The next tempered word, uniform over 0 .. 2^32 - 1.
    uint32_t randInt();
    // Uniform in [0, n], both ends included.
    uint32_t randInt(uint32_t n);
    // Uniform in [0, 1], both ends included.
    double rand();

    // Replaces the entropy source autoSeed reads (tests); returns the old one.
    static EntropySource setEntropySource(EntropySource source);
    // The operating system's entropy (getrandom).
    static bool systemEntropy(uint32_t* words, size_t count);

    // Saved form: one array "mtState" of the 624 state words and the left count.
    template <class Archive> void save(Archive& ar, unsigned /*version*/) const {
        uint32_t words[cStateWords + 1];
        std::copy(mState.begin(), mState.end(), words);
        words[cStateWords] = static_cast<uint32_t>(mLeft);
        ar& boost::serialization::make_nvp("mtState", words);
    }
    template <class Archive> void load(Archive& ar, unsigned /*version*/) {
        uint32_t words[cStateWords + 1];
        ar& boost::serialization::make_nvp("mtState", words);
        if (words[cStateWords] > static_cast<uint32_t>(cStateWords))
            throw boost::archive::archive_exception(
                boost::archive::archive_exception::other_exception, "RNG: left count out of range");
        std::copy(words, words + cStateWords, mState.begin());
        mLeft = static_cast<int32_t>(words[cStateWords]);
        mNext = cStateWords - mLeft;
    }
    BOOST_SERIALIZATION_SPLIT_MEMBER()

private:
    void initialize(uint32_t seed);

    std::array<uint32_t, cStateWords> mState{};
    int32_t mNext = 0; // position of the next word to temper
    int32_t mLeft = 0; // words unread before the next reload
};

// The process-wide cosmetic generator.
extern RNG gRng;
