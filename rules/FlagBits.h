#pragma once

// A short run of flags with vector<bool>'s interface, held inline up to 64
// flags: a record holds a few such runs and a loaded game thousands of
// records, where a heap block per run cost more than the reading. Longer
// runs (only a saved state can ask for one) spill to the heap. Flags past
// the size are kept clear, so runs compare by words.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <vector>

class FlagBits {
public:
    // A flag of a run, assignable like vector<bool>'s reference.
    class Reference {
    public:
        Reference(uint64_t& word, uint64_t mask) : mWord(word), mMask(mask) {}
        operator bool() const { return (mWord & mMask) != 0; }
        Reference& operator=(bool value) {
            mWord = value ? mWord | mMask : mWord & ~mMask;
            return *this;
        }
        Reference& operator=(const Reference& other) { return *this = static_cast<bool>(other); }

    private:
        uint64_t& mWord;
        uint64_t mMask;
    };

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = bool;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = bool;
        const_iterator() = default;
        const_iterator(const FlagBits* bits, size_t at) : mBits(bits), mAt(at) {}
        bool operator*() const { return (*mBits)[mAt]; }
        const_iterator& operator++() {
            ++mAt;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++mAt;
            return before;
        }
        bool operator==(const const_iterator& other) const { return mAt == other.mAt; }

    private:
        const FlagBits* mBits = nullptr;
        size_t mAt = 0;
    };
    using iterator = const_iterator;
    using value_type = bool;
    using size_type = size_t;

    FlagBits() = default;
    explicit FlagBits(size_t size, bool value = false) { assign(size, value); }
    FlagBits(std::initializer_list<bool> values) { *this = values; }
    FlagBits(const std::vector<bool>& values) { *this = values; }
    FlagBits& operator=(std::initializer_list<bool> values) {
        return setFrom(values.begin(), values.size());
    }
    FlagBits& operator=(const std::vector<bool>& values) {
        return setFrom(values.begin(), values.size());
    }
    operator std::vector<bool>() const { return std::vector<bool>(begin(), end()); }

    size_t size() const { return mSize; }
    bool empty() const { return mSize == 0; }
    void clear() { resize(0); }
    void assign(size_t size, bool value) {
        if (size <= cInlineBits) {
            mSpill.clear();
            mSize = size;
            mInline = value ? lowBits(size) : 0;
            return;
        }
        resize(0);
        resize(size, value);
    }
    void resize(size_t size, bool value = false) {
        const size_t old = mSize;
        if (size > cInlineBits && wordsOf(size) != mSpill.size()) {
            if (old <= cInlineBits) {
                mSpill.assign(wordsOf(size), 0);
                mSpill[0] = mInline;
            } else {
                mSpill.resize(wordsOf(size), 0);
            }
        } else if (size <= cInlineBits && old > cInlineBits) {
            mInline = mSpill[0];
            mSpill.clear();
        }
        mSize = size;
        uint64_t* all = words();
        if (size < old) {
            // Clears the flags past the new size in its last word.
            if (size % 64 != 0)
                all[size / 64] &= lowBits(size % 64);
            else if (size == 0)
                all[0] = 0;
        }
        for (size_t at = old; value && at < size; ++at)
            all[at / 64] |= uint64_t{1} << (at % 64);
    }

    bool operator[](size_t at) const { return (words()[at / 64] >> (at % 64) & 1) != 0; }
    Reference operator[](size_t at) {
        return Reference(words()[at / 64], uint64_t{1} << (at % 64));
    }

    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, mSize); }

    // The flags as bits of words, flag i at bit i % 64 of word i / 64.
    const uint64_t* words() const { return mSize > cInlineBits ? mSpill.data() : &mInline; }
    uint64_t* words() { return mSize > cInlineBits ? mSpill.data() : &mInline; }
    static size_t wordsOf(size_t size) { return size == 0 ? 1 : (size + 63) / 64; }

    friend bool operator==(const FlagBits& a, const FlagBits& b) {
        if (a.mSize != b.mSize)
            return false;
        for (size_t i = 0; i < wordsOf(a.mSize); ++i)
            if (a.words()[i] != b.words()[i])
                return false;
        return true;
    }
    friend bool operator==(const FlagBits& a, const std::vector<bool>& b) {
        return a == FlagBits(b);
    }

private:
    static constexpr size_t cInlineBits = 64;

    template <class Iterator> FlagBits& setFrom(Iterator from, size_t size) {
        assign(size, false);
        for (size_t at = 0; at < size; ++at, ++from)
            if (*from)
                (*this)[at] = true;
        return *this;
    }
    // The low count bits of a word, count at most 64.
    static uint64_t lowBits(size_t count) {
        return count >= 64 ? ~uint64_t{0} : (uint64_t{1} << count) - 1;
    }

    size_t mSize = 0;
    uint64_t mInline = 0;
    std::vector<uint64_t> mSpill; // the words when the run is longer than inline
};
