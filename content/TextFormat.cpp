#include "content/TextFormat.h"

#include <fmt/args.h>
#include <fmt/printf.h>

#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr size_t cMaxLength = cFormatBufferSize - 1;
constexpr long long cMaxCount = static_cast<long long>(cMaxLength);
constexpr std::string_view cFlags = "-+ #0";
constexpr std::string_view cLengthLetters = "hlLqjzt";
constexpr std::array<std::string_view, 8> cLengths = {"h", "hh", "l", "ll", "j", "z", "t", "L"};
constexpr std::string_view cIntegerConversions = "diuoxXc";
constexpr std::string_view cRealConversions = "eEfFgGaA";
constexpr std::string_view cTextConversions = "sS";
// Conversions that take an argument but are never formatted: no argument is
// a pointer, and nothing stores a count.
constexpr std::string_view cSkippedConversions = "pn";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isOneOf(char letter, std::string_view letters) {
    return letter != '\0' && letters.find(letter) != std::string_view::npos;
}

// A width or a precision: absent, written as digits, or "*" (an argument).
struct Count {
    enum class Source { None, Written, Argument };
    Source source = Source::None;
    long long value = 0;
};

// One "%..." directive as written.
struct Directive {
    std::string_view written; // from '%' to the conversion letter
    std::string_view flags;
    Count width;
    Count precision;
    std::string_view length;
    char letter = '\0'; // '\0' when the text ends first

    bool takesArgument() const {
        return isOneOf(letter, cIntegerConversions) || isOneOf(letter, cRealConversions) ||
               isOneOf(letter, cTextConversions) || isOneOf(letter, cSkippedConversions);
    }
    // The arguments the directive uses up: its "*" counts, then its value.
    size_t argumentCount() const {
        if (!takesArgument())
            return 0;
        return 1 + (width.source == Count::Source::Argument ? 1 : 0) +
               (precision.source == Count::Source::Argument ? 1 : 0);
    }
};

// Digits or "*"; larger numbers are capped, since no result is longer than
// cMaxLength anyway.
Count readCount(std::string_view text, size_t& pos) {
    Count count;
    if (pos < text.size() && text[pos] == '*') {
        ++pos;
        count.source = Count::Source::Argument;
        return count;
    }
    while (pos < text.size() && isDigit(text[pos])) {
        count.source = Count::Source::Written;
        count.value = std::min(count.value * 10 + (text[pos] - '0'), cMaxCount);
        ++pos;
    }
    return count;
}

Directive readDirective(std::string_view format, size_t start) {
    Directive directive;
    size_t pos = start + 1;
    const size_t flagsStart = pos;
    while (pos < format.size() && cFlags.find(format[pos]) != std::string_view::npos)
        ++pos;
    directive.flags = format.substr(flagsStart, pos - flagsStart);
    directive.width = readCount(format, pos);
    if (pos < format.size() && format[pos] == '.') {
        ++pos;
        directive.precision = readCount(format, pos);
        if (directive.precision.source == Count::Source::None)
            directive.precision.source = Count::Source::Written; // "." alone is 0
    }
    const size_t lengthStart = pos;
    while (pos < format.size() && cLengthLetters.find(format[pos]) != std::string_view::npos)
        ++pos;
    directive.length = format.substr(lengthStart, pos - lengthStart);
    if (pos < format.size())
        directive.letter = format[pos++];
    directive.written = format.substr(start, pos - start);
    return directive;
}

bool isInteger(const FormatArg& arg) {
    return arg.kind() == FormatArg::Kind::Signed || arg.kind() == FormatArg::Kind::Unsigned;
}

bool argumentFits(char letter, const FormatArg& arg) {
    switch (arg.kind()) {
    case FormatArg::Kind::Signed:
    case FormatArg::Kind::Unsigned:
        return isOneOf(letter, cIntegerConversions);
    case FormatArg::Kind::Real:
        return isOneOf(letter, cRealConversions);
    case FormatArg::Kind::Text:
        return isOneOf(letter, cTextConversions);
    }
    return false;
}

// The value of a "*" argument, capped like a written count.
long long countArgument(const FormatArg& arg) {
    if (arg.kind() == FormatArg::Kind::Unsigned)
        return static_cast<long long>(std::min<unsigned long long>(arg.unsignedValue(), cMaxCount));
    return std::clamp(arg.signedValue(), -cMaxCount, cMaxCount);
}

using ArgStore = fmt::dynamic_format_arg_store<fmt::printf_context>;

// Pushes an argument as the C caller would have passed it: integers at
// their own width, texts up to their first NUL.
void pushValue(ArgStore& store, const FormatArg& arg) {
    switch (arg.kind()) {
    case FormatArg::Kind::Signed:
        if (arg.isWide())
            store.push_back(arg.signedValue());
        else
            store.push_back(static_cast<int>(arg.signedValue()));
        break;
    case FormatArg::Kind::Unsigned:
        if (arg.isWide())
            store.push_back(arg.unsignedValue());
        else
            store.push_back(static_cast<unsigned>(arg.unsignedValue()));
        break;
    case FormatArg::Kind::Real:
        store.push_back(arg.realValue());
        break;
    case FormatArg::Kind::Text: {
        const std::string_view text = arg.text();
        store.push_back(text.substr(0, text.find('\0')));
        break;
    }
    }
}

// The directive formatted with its arguments (taken: exactly those it
// uses up), or nothing when it is to be copied as written.
std::optional<std::string> formatDirective(const Directive& directive,
                                           std::span<const FormatArg> taken) {
    if (isOneOf(directive.letter, cSkippedConversions))
        return std::nullopt;
    if (!directive.length.empty() &&
        std::find(cLengths.begin(), cLengths.end(), directive.length) == cLengths.end())
        return std::nullopt;
    const FormatArg& value = taken.back();
    if (!argumentFits(directive.letter, value))
        return std::nullopt;

    // Counts are handed to fmt as "*" arguments, so that they are capped.
    ArgStore store;
    std::string format = "%";
    format += directive.flags;
    size_t next = 0;
    for (const Count* count : {&directive.width, &directive.precision}) {
        long long number = count->value;
        if (count->source == Count::Source::Argument) {
            if (!isInteger(taken[next]))
                return std::nullopt;
            number = countArgument(taken[next++]);
        }
        const bool isPrecision = count == &directive.precision;
        if (count->source == Count::Source::None || (isPrecision && number < 0))
            continue; // a negative precision argument is no precision
        format += isPrecision ? ".*" : "*";
        store.push_back(static_cast<int>(number));
    }
    format += directive.length;
    char letter = directive.letter;
    if (letter == 'S')
        letter = 's';
    else if ((letter == 'd' || letter == 'i') && value.kind() == FormatArg::Kind::Unsigned)
        letter = 'u'; // an unsigned argument prints as its own value
    format += letter;
    pushValue(store, value);
    try {
        return fmt::vsprintf(format, store);
    } catch (const fmt::format_error&) {
        return std::nullopt;
    }
}

} // namespace

std::string formatText(std::string_view format, std::span<const FormatArg> args) {
    std::string out;
    size_t nextArg = 0;
    size_t pos = 0;
    while (pos < format.size() && out.size() <= cMaxLength) {
        const size_t percent = format.find('%', pos);
        out.append(format.substr(pos, percent - pos));
        if (percent == std::string_view::npos)
            break;
        if (format.substr(percent, 2) == "%%") {
            out.push_back('%');
            pos = percent + 2;
            continue;
        }
        const Directive directive = readDirective(format, percent);
        pos = percent + directive.written.size();
        const size_t wanted = directive.argumentCount();
        const std::span<const FormatArg> taken =
            args.subspan(nextArg, std::min(wanted, args.size() - nextArg));
        nextArg += taken.size();
        std::optional<std::string> converted;
        if (wanted > 0 && taken.size() == wanted)
            converted = formatDirective(directive, taken);
        out.append(converted ? *converted : std::string(directive.written));
    }
    truncateUtf8(out, cMaxLength);
    return out;
}

void truncateUtf8(std::string& text, size_t maxBytes) {
    if (text.size() <= maxBytes)
        return;
    auto byteAt = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    // The character that holds the first byte cut off starts at most 3
    // continuation bytes (10xxxxxx) before it.
    size_t start = maxBytes;
    while (start > 0 && maxBytes - start < 3 && (byteAt(start) & 0xC0) == 0x80)
        --start;
    const unsigned char lead = byteAt(start);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    // Cut before that character when it runs past the limit; stray
    // continuation bytes are cut at the limit itself.
    text.resize(start < maxBytes && start + length > maxBytes ? start : maxBytes);
}
