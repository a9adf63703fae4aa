#include "content/TextFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr size_t cMaxLength = cFormatBufferSize - 1;
constexpr std::string_view cFlags = "-+ #0";
constexpr std::string_view cLengthLetters = "hlLqjzt";
constexpr std::string_view cIntegerConversions = "diuoxX";
constexpr std::string_view cRealConversions = "eEfFgGaA";
constexpr std::string_view cTextConversions = "sS";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// One "%..." conversion as written.
struct Conversion {
    std::string_view written; // from '%' to the conversion letter
    std::string_view flags;
    size_t width = 0;
    bool hasPrecision = false;
    size_t precision = 0;
    char letter = '\0'; // '\0' when the text ends first
};

// Reads a run of digits; larger numbers are capped, since no result is
// longer than cMaxLength anyway.
size_t readCount(std::string_view text, size_t& pos) {
    size_t value = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        value = std::min<size_t>(value * 10 + static_cast<size_t>(text[pos] - '0'), cMaxLength);
        ++pos;
    }
    return value;
}

Conversion readConversion(std::string_view format, size_t start) {
    Conversion conversion;
    size_t pos = start + 1;
    const size_t flagsStart = pos;
    while (pos < format.size() && cFlags.find(format[pos]) != std::string_view::npos)
        ++pos;
    conversion.flags = format.substr(flagsStart, pos - flagsStart);
    conversion.width = readCount(format, pos);
    if (pos < format.size() && format[pos] == '.') {
        ++pos;
        conversion.hasPrecision = true;
        conversion.precision = readCount(format, pos);
    }
    while (pos < format.size() && cLengthLetters.find(format[pos]) != std::string_view::npos)
        ++pos;
    if (pos < format.size())
        conversion.letter = format[pos++];
    conversion.written = format.substr(start, pos - start);
    return conversion;
}

bool isOneOf(char letter, std::string_view letters) {
    return letter != '\0' && letters.find(letter) != std::string_view::npos;
}

bool argumentFits(const Conversion& conversion, const FormatArg& arg) {
    using Kind = FormatArg::Kind;
    switch (arg.kind()) {
    case Kind::Signed:
    case Kind::Unsigned:
        return isOneOf(conversion.letter, cIntegerConversions);
    case Kind::Real:
        return isOneOf(conversion.letter, cRealConversions);
    case Kind::Text:
        return isOneOf(conversion.letter, cTextConversions);
    }
    return false;
}

// The conversion rebuilt for snprintf with a 64-bit integer or a double.
std::string directiveFor(const Conversion& conversion, const FormatArg& arg, char letter) {
    std::string directive = "%";
    directive += conversion.flags;
    if (conversion.width > 0)
        directive += std::to_string(conversion.width);
    if (conversion.hasPrecision)
        directive += "." + std::to_string(conversion.precision);
    if (arg.kind() == FormatArg::Kind::Signed || arg.kind() == FormatArg::Kind::Unsigned)
        directive += "ll";
    directive += letter;
    return directive;
}

void appendConverted(std::string& out, const Conversion& conversion, const FormatArg& arg) {
    // One byte more than a result may hold, so that a cut result is seen as
    // too long and cut again at a character boundary.
    char buffer[cFormatBufferSize + 1];
    int length = 0;
    const bool isSignedLetter = conversion.letter == 'd' || conversion.letter == 'i';
    switch (arg.kind()) {
    case FormatArg::Kind::Signed:
        if (isSignedLetter)
            length = std::snprintf(buffer, sizeof buffer,
                                   directiveFor(conversion, arg, 'd').c_str(), arg.signedValue());
        else
            length = std::snprintf(buffer, sizeof buffer,
                                   directiveFor(conversion, arg, conversion.letter).c_str(),
                                   static_cast<unsigned long long>(arg.signedValue()));
        break;
    case FormatArg::Kind::Unsigned:
        length = std::snprintf(
            buffer, sizeof buffer,
            directiveFor(conversion, arg, isSignedLetter ? 'u' : conversion.letter).c_str(),
            arg.unsignedValue());
        break;
    case FormatArg::Kind::Real:
        length = std::snprintf(buffer, sizeof buffer,
                               directiveFor(conversion, arg, conversion.letter).c_str(),
                               arg.realValue());
        break;
    case FormatArg::Kind::Text: {
        const std::string text(arg.text());
        length = std::snprintf(buffer, sizeof buffer, directiveFor(conversion, arg, 's').c_str(),
                               text.c_str());
        break;
    }
    }
    if (length > 0)
        out.append(buffer, std::min(static_cast<size_t>(length), sizeof buffer - 1));
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
        const Conversion conversion = readConversion(format, percent);
        pos = percent + conversion.written.size();
        const bool takesArgument = isOneOf(conversion.letter, cIntegerConversions) ||
                                   isOneOf(conversion.letter, cRealConversions) ||
                                   isOneOf(conversion.letter, cTextConversions);
        if (takesArgument && nextArg < args.size()) {
            const FormatArg& arg = args[nextArg++];
            if (argumentFits(conversion, arg)) {
                appendConverted(out, conversion, arg);
                continue;
            }
        }
        out.append(conversion.written);
    }
    truncateUtf8(out, cMaxLength);
    return out;
}

void truncateUtf8(std::string& text, size_t maxBytes) {
    if (text.size() <= maxBytes)
        return;
    size_t cut = maxBytes;
    // Back up over continuation bytes (10xxxxxx) to the start of a character.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    text.resize(cut);
}
