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

// One argument of formatText: an integer, a real or a text (UTF-8).
class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Real, Text };

    template <std::signed_integral T> FormatArg(T value) : mKind(Kind::Signed), mSigned(value) {}
    template <std::unsigned_integral T>
    FormatArg(T value) : mKind(Kind::Unsigned), mUnsigned(value) {}
    template <std::floating_point T>
    FormatArg(T value) : mKind(Kind::Real), mReal(static_cast<double>(value)) {}
    FormatArg(const char* text) : mKind(Kind::Text), mText(text ? text : "(null)") {}
    FormatArg(std::string_view text) : mKind(Kind::Text), mText(text) {}
    FormatArg(const std::string& text) : mKind(Kind::Text), mText(text) {}

    Kind kind() const { return mKind; }
    long long signedValue() const { return mSigned; }
    unsigned long long unsignedValue() const { return mUnsigned; }
    double realValue() const { return mReal; }
    std::string_view text() const { return mText; }

private:
    Kind mKind;
    long long mSigned = 0;
    unsigned long long mUnsigned = 0;
    double mReal = 0.0;
    std::string_view mText;
};

// Formats format with args in order. Conversions (flags, width, precision
// and length letters allowed): d i u o x X take an integer, e E f F g G a A a
// real, s S a text; "%%" gives '%'. A conversion whose argument is missing or
// of another kind is copied as written (a wrong argument is still used up);
// any other '%' text is copied as written. The result is cut to
// cFormatBufferSize - 1 bytes, never inside a UTF-8 character.
std::string formatText(std::string_view format, std::span<const FormatArg> args);

// Cuts text to at most maxBytes without splitting a UTF-8 character.
void truncateUtf8(std::string& text, size_t maxBytes);
