#include "rules/core/RNG.h"

#include <sys/random.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <utility>

namespace {

constexpr int32_t N = RNG::cStateWords;
constexpr int32_t M = 397;
constexpr uint32_t cMatrix = 0x9908B0DFu;
constexpr uint32_t cUpperMask = 0x80000000u;
constexpr uint32_t cLowerMask = 0x7FFFFFFFu;

uint32_t twist(uint32_t m, uint32_t u, uint32_t v) {
    const uint32_t mix = (u & cUpperMask) | (v & cLowerMask);
    return m ^ (mix >> 1) ^ ((v & 1u) ? cMatrix : 0u);
}

// Hash of the bytes of a value in memory order, as the clock seed takes it.
template <class T> uint32_t hashBytes(T value) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
    uint32_t h = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        h = h * 257u + bytes[i];
    return h;
}

// Makes two clock seeds taken in the same tick differ.
std::atomic<uint32_t> gDiffer{0};

RNG::EntropySource gEntropySource = &RNG::systemEntropy;

} // namespace

RNG gRng;

RNG::RNG() {
    autoSeed();
}

void RNG::initialize(uint32_t seed) {
    mState[0] = seed;
    for (int32_t i = 1; i < N; ++i)
        mState[i] =
            1812433253u * (mState[i - 1] ^ (mState[i - 1] >> 30)) + static_cast<uint32_t>(i);
}

void RNG::seed(uint32_t seed) {
    initialize(seed);
    reload();
}

void RNG::seedArray(std::span<const uint32_t> key) {
    initialize(19650218u);
    const size_t length = key.size();
    auto keyWord = [&](size_t j) { return length == 0 ? 0u : key[j]; };
    int32_t i = 1;
    size_t j = 0;
    for (size_t k = std::max<size_t>(N, length); k > 0; --k) {
        mState[i] = (mState[i] ^ ((mState[i - 1] ^ (mState[i - 1] >> 30)) * 1664525u)) +
                    keyWord(j) + static_cast<uint32_t>(j);
        ++i;
        ++j;
        if (i >= N) {
            mState[0] = mState[N - 1];
            i = 1;
        }
        if (j >= length)
            j = 0;
    }
    for (int32_t k = N - 1; k > 0; --k) {
        mState[i] = (mState[i] ^ ((mState[i - 1] ^ (mState[i - 1] >> 30)) * 1566083941u)) -
                    static_cast<uint32_t>(i);
        ++i;
        if (i >= N) {
            mState[0] = mState[N - 1];
            i = 1;
        }
    }
    mState[0] = 0x80000000u;
    reload();
}

void RNG::autoSeed() {
    std::array<uint32_t, N> words;
    if (gEntropySource && gEntropySource(words.data(), words.size())) {
        seedArray(words);
        return;
    }
    const auto calendar = static_cast<int64_t>(std::time(nullptr));
    const auto ticks = static_cast<uint32_t>(std::clock());
    seed((hashBytes(calendar) + gDiffer.fetch_add(1)) ^ hashBytes(ticks));
}

void RNG::reload() {
    int32_t i = 0;
    for (; i < N - M; ++i)
        mState[i] = twist(mState[i + M], mState[i], mState[i + 1]);
    for (; i < N - 1; ++i)
        mState[i] = twist(mState[i + M - N], mState[i], mState[i + 1]);
    mState[N - 1] = twist(mState[M - 1], mState[N - 1], mState[0]);
    mLeft = N;
    mNext = 0;
}

uint32_t RNG::randInt() {
    if (mLeft == 0)
        reload();
    --mLeft;
    uint32_t y = mState[mNext++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    return y ^ (y >> 18);
}

uint32_t RNG::randInt(uint32_t n) {
    uint32_t used = n;
    used |= used >> 1;
    used |= used >> 2;
    used |= used >> 4;
    used |= used >> 8;
    used |= used >> 16;
    uint32_t value;
    do
        value = randInt() & used;
    while (value > n);
    return value;
}

double RNG::rand() {
    return static_cast<double>(randInt()) * (1.0 / 4294967295.0);
}

RNG::EntropySource RNG::setEntropySource(EntropySource source) {
    return std::exchange(gEntropySource, source);
}

bool RNG::systemEntropy(uint32_t* words, size_t count) {
    auto* bytes = reinterpret_cast<unsigned char*>(words);
    size_t wanted = count * sizeof(uint32_t);
    while (wanted > 0) {
        const ssize_t got = getrandom(bytes, wanted, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += got;
        wanted -= static_cast<size_t>(got);
    }
    return true;
}
