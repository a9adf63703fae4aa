#pragma once

// printf-style formatting of texts that come from data files. The format is
// data, so arguments are typed and a conversion only ever reads an argument
// of its own kind: one without a matching argument is copied as written.

#include <concepts>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// The longest formatted text plus its terminator.
inline constexpr size_t cFormatBufferSize = 2048;

// One argument of formatText: an integer (kept with its own width: int and
// narrower, or 64-bit), a real or a text (UTF-8).
class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Real, Text };

    template <std::signed_integral T>
    FormatArg(T value) : mKind(Kind::Signed), mWide(sizeof(T) > sizeof(int)), mSigned(value) {}
    template <std::unsigned_integral T>
    FormatArg(T value)
        : mKind(Kind::Unsigned), mWide(sizeof(T) > sizeof(unsigned)), mUnsigned(value) {}
    template <std::floating_point T>
    FormatArg(T value) : mKind(Kind::Real), mReal(static_cast<double>(value)) {}
    FormatArg(const char* text) : mKind(Kind::Text), mText(text ? text : "(null)") {}
    FormatArg(std::string_view text) : mKind(Kind::Text), mText(text) {}
    FormatArg(const std::string& text) : mKind(Kind::Text), mText(text) {}

    Kind kind() const { return mKind; }
    // An integer wider than int (as a C variadic call would pass it).
    bool isWide() const { return mWide; }
    long long signedValue() const { return mSigned; }
    unsigned long long unsignedValue() const { return mUnsigned; }
    double realValue() const { return mReal; }
    std::string_view text() const { return mText; }

private:
    Kind mKind;
    bool mWide = false;
    long long mSigned = 0;
    unsigned long long mUnsigned = 0;
    double mReal = 0.0;
    std::string_view mText;
};

// Formats format with args in order, as the C formatter would for the same
// arguments, with fmt's printf. Directives: flags, a width and a precision
// (digits or "*", each "*" taking an integer argument), the length letters
// h hh l ll j z t L, and a conversion: d i u o x X c take an integer (at its
// own width: -1 as "%x" is "ffffffff"), e E f F g G a A a real, s S a text
// (its precision and width counted in characters); "%%" gives '%'. A
// directive whose arguments are missing or of another kind, "%p", "%n" and
// any other '%' text are copied as written; every directive still uses up
// the arguments it takes, so later ones keep their own. Widths and
// precisions are capped at the longest result. The result is cut to
// cFormatBufferSize - 1 bytes, never inside a UTF-8 character.
std::string formatText(std::string_view format, std::span<const FormatArg> args);

// Cuts text to at most maxBytes without splitting a UTF-8 character: the cut
// backs up over at most the 3 continuation bytes a character can have.
void truncateUtf8(std::string& text, size_t maxBytes);
