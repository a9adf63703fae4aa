// Option files and option text.
//
// An option file holds one option per line: "name value" or "name=value" sets
// it, a name alone or behind "+" defines it, "-name" unsets it, "//" starts a
// comment line, and lines beginning with "/*" and "*/" open and close nested
// comment blocks. Option text (the service's "Server.cfg") is the same in
// words separated by blanks: "+name", "-name", "name=value".

#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/NumberText.h"

#include <cstdio>
#include <memory>

namespace {

constexpr size_t cMaxReadLength = 1023;   // one read of an option file
constexpr size_t cMaxParsedLength = 999;  // copied for splitting into words
constexpr size_t cMaxQuotedLength = 511;  // of a quoted value
constexpr size_t cMaxOptionText = 2047;   // of an option text
constexpr size_t cMaxOptionWords = 64;    // of an option text
constexpr const char* cWordSeparators = " \n\r=";

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool isNumberStart(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-'; }

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

} // namespace

int BConfig::loadFile(const std::string& path, int32_t level) {
    std::unique_ptr<FILE, FileCloser> file(std::fopen(resolvePath(path).c_str(), "r"));
    if (!file)
        return 1;

    const int32_t savedLevel = mCurrentLevel;
    mCurrentLevel = level;
    int commentDepth = 0;

    char buffer[cMaxReadLength + 1];
    while (std::fgets(buffer, sizeof buffer, file.get()) != nullptr) {
        std::string_view line(buffer);
        line = line.substr(0, line.find('\r'));

        std::string_view head = line;
        head.remove_prefix(std::min(head.find_first_not_of(" \t\r\n"), head.size()));
        if (startsWith(head, "/*"))
            ++commentDepth;
        else if (startsWith(head, "*/"))
            --commentDepth;
        else if (commentDepth <= 0)
            parseLine(line, nullptr);
    }

    mCurrentLevel = savedLevel;
    return 0;
}

bool BConfig::parseLine(std::string_view line, std::string* outName) {
    if (startsWith(line, "//"))
        return false;
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.empty())
        return false;

    if (line[0] == '-' || line[0] == '+') {
        const std::string name(line.substr(1));
        if (line[0] == '-')
            unset(name);
        else
            define(name);
        if (outName)
            *outName = name;
        return true;
    }

    const std::string_view words = line.substr(0, cMaxParsedLength);
    const size_t nameStart = words.find_first_not_of(cWordSeparators);
    if (nameStart == std::string_view::npos)
        return false;
    const size_t nameEnd = std::min(words.find_first_of(cWordSeparators, nameStart), words.size());
    const std::string name(words.substr(nameStart, nameEnd - nameStart));
    if (outName)
        *outName = name;

    if (words.find_first_not_of(cWordSeparators, nameEnd) == std::string_view::npos) {
        define(name);
        return true;
    }

    // The value follows the name after blanks and at most one "=".
    size_t valueStart = nameEnd;
    auto skipBlanks = [&] {
        while (valueStart < line.size() && line[valueStart] == ' ')
            ++valueStart;
    };
    skipBlanks();
    if (valueStart < line.size() && line[valueStart] == '=')
        ++valueStart;
    skipBlanks();
    const std::string value(line.substr(valueStart));

    if (value[0] == '"') {
        std::string quoted = value.substr(1, cMaxQuotedLength);
        const size_t closing = quoted.rfind('"');
        if (closing != std::string::npos)
            quoted.resize(closing);
        setString(name, quoted);
    } else if (isNumberStart(value[0])) {
        // Out-of-range numbers saturate (a float to infinity).
        if (value.find('.') != std::string::npos)
            setFloat(name, parseFloatText(value));
        else
            setInt(name, parseIntText(value));
    } else {
        setString(name, value);
    }
    return true;
}

void BConfig::parseOptionString(std::string_view text) {
    text = text.substr(0, cMaxOptionText);
    size_t applied = 0;
    size_t pos = 0;
    while (applied < cMaxOptionWords) {
        const size_t start = text.find_first_not_of(" \r\n", pos);
        if (start == std::string_view::npos)
            break;
        const size_t end = std::min(text.find_first_of(" \r\n", start), text.size());
        parseOptionToken(text.substr(start, end - start));
        ++applied;
        pos = end;
    }
}

void BConfig::parseOptionToken(std::string_view word) {
    if (word.empty())
        return;
    if (word[0] == '-') {
        unset(word.substr(1));
        return;
    }
    if (word[0] == '+')
        define(word.substr(1));
    const size_t equals = word.find('=');
    if (equals != std::string_view::npos) {
        std::string line(word);
        line[equals] = ' ';
        parseLine(line, nullptr);
    }
}
