#include "content/LocalizedStrings.h"

#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/RegisteredOptions.h"
#include "platform/engine/CCString.h"

#include <boost/algorithm/string/replace.hpp>
#include <utf8.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

LocalizedStringTable& table() {
    static LocalizedStringTable strings;
    return strings;
}

// Walks strings-file text code point by code point.
class StringsScanner {
public:
    explicit StringsScanner(std::string_view text)
        : mPos(text.data()), mEnd(text.data() + text.size()) {}

    // Moves past the next double quote outside /* */ comments.
    bool findOpeningQuote() {
        bool inComment = false;
        while (mPos != mEnd) {
            const uint32_t c = utf8::next(mPos, mEnd);
            if (inComment) {
                if (c == '*' && mPos != mEnd && *mPos == '/') {
                    ++mPos;
                    inComment = false;
                }
            } else if (c == '/' && mPos != mEnd && *mPos == '*') {
                ++mPos;
                inComment = true;
            } else if (c == '"') {
                return true;
            }
        }
        return false;
    }

    // Takes the text up to the closing double quote, a backslash making the
    // next code point literal, and moves past the quote.
    bool findClosingQuote(std::string& out) {
        const char* start = mPos;
        while (mPos != mEnd) {
            const char* here = mPos;
            const uint32_t c = utf8::next(mPos, mEnd);
            if (c == '\\' && mPos != mEnd) {
                utf8::next(mPos, mEnd);
            } else if (c == '"') {
                out.assign(start, here);
                return true;
            }
        }
        return false;
    }

private:
    const char* mPos;
    const char* mEnd;
};

void translateEscapes(std::string& text) {
    boost::algorithm::replace_all(text, "\\n", "\n");
    boost::algorithm::replace_all(text, "\\\"", "\"");
    boost::algorithm::replace_all(text, "\\r", "\r");
}

std::string readWholeFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {};
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

std::string utf16leToUtf8(std::string_view bytes) {
    const auto unitAt = [bytes](size_t i) -> uint32_t {
        return static_cast<unsigned char>(bytes[2 * i]) |
               static_cast<uint32_t>(static_cast<unsigned char>(bytes[2 * i + 1])) << 8;
    };
    const size_t units = bytes.size() / 2;
    std::string out;
    out.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        uint32_t codePoint = unitAt(i);
        if (codePoint >= 0xD800 && codePoint < 0xDC00 && i + 1 < units && unitAt(i + 1) >= 0xDC00 &&
            unitAt(i + 1) < 0xE000) {
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00);
            ++i;
        } else if (codePoint >= 0xD800 && codePoint < 0xE000) {
            codePoint = 0xFFFD;
        }
        utf8::append(codePoint, std::back_inserter(out));
    }
    return out;
}

void parseLocalizableStrings(std::string_view text, LocalizedStringTable& table) {
    StringsScanner scanner(text);
    std::string key;
    std::string value;
    try {
        while (scanner.findOpeningQuote() && scanner.findClosingQuote(key) &&
               scanner.findOpeningQuote() && scanner.findClosingQuote(value)) {
            translateEscapes(key);
            translateEscapes(value);
            table[key] = value;
        }
    } catch (const utf8::exception&) {
        // Text that is not UTF-8 ends the scan; the pairs before it stay.
    }
}

void loadLocalizableStrings() {
    const std::string folder = BConfig::instance().stringById(cOptLanguageDirectory, "");
    const std::string bytes = readWholeFile(resolvePath(folder + "\\Localizable.strings"));
    table().clear();
    parseLocalizableStrings(utf16leToUtf8(bytes), table());
}

const LocalizedStringTable& localizedStrings() {
    return table();
}

std::string localizedString(std::string_view key) {
    return localizedStringOrDefault(key, key);
}

std::string localizedStringOrDefault(std::string_view key, std::string_view fallback) {
    const auto found = table().find(key);
    return std::string(found != table().end() ? std::string_view(found->second) : fallback);
}

const char* localizedCString(std::string_view key) {
    return cocos2d::CCString::stringWithString(localizedString(key))->getCString();
}

void formatLocalizedArgs(std::string& out, std::string_view key, std::span<const FormatArg> args) {
    std::string format = localizedString(key);
    boost::algorithm::replace_all(format, "%@", "%s");
    out = formatText(format, args);
}
