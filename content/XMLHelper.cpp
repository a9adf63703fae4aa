#include "content/XMLHelper.h"

#include "content/DataPath.h"

#include <libdeflate.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Lookup = rapidxml::internal::lookup_tables<0>;

bool isWhitespace(char c) {
    return Lookup::lookup_whitespace[static_cast<unsigned char>(c)] != 0;
}
bool isNodeName(char c) {
    return Lookup::lookup_node_name[static_cast<unsigned char>(c)] != 0;
}
bool isAttributeName(char c) {
    return Lookup::lookup_attribute_name[static_cast<unsigned char>(c)] != 0;
}

const char* skipWhitespace(const char* p) {
    while (isWhitespace(*p))
        ++p;
    return p;
}

const char* skipNodeName(const char* p) {
    while (isNodeName(*p))
        ++p;
    return p;
}

// The first c at or after p, or null when the text ends first: strchr, inlined
// for the short runs between the marks of markup, where a call costs more
// than the scan.
const char* findChar(const char* p, char c) {
    while (*p != c) {
        if (*p == '\0')
            return nullptr;
        ++p;
    }
    return p;
}

// Just past the next terminator at or after p; null when the text ends first.
const char* skipPast(const char* p, const char* terminator) {
    const char* found = std::strstr(p, terminator);
    return found ? found + std::strlen(terminator) : nullptr;
}

// p is just past "<!DOCTYPE ": skips to past its '>', over nested [...].
const char* skipDoctype(const char* p) {
    while (*p != '>') {
        if (*p == '\0')
            return nullptr;
        if (*p++ != '[')
            continue;
        for (int depth = 1; depth > 0; ++p) {
            if (*p == '\0')
                return nullptr;
            depth += (*p == '[') - (*p == ']');
        }
    }
    return p + 1;
}

// p is just past "<!": skips a comment, CDATA, DOCTYPE or other "<!" markup.
const char* skipBangMarkup(const char* p) {
    if (std::strncmp(p, "--", 2) == 0)
        return skipPast(p + 2, "-->");
    if (std::strncmp(p, "[CDATA[", 7) == 0)
        return skipPast(p + 7, "]]>");
    if (std::strncmp(p, "DOCTYPE", 7) == 0 && isWhitespace(p[7]))
        return skipDoctype(p + 8);
    const char* end = std::strchr(p, '>');
    return end ? end + 1 : nullptr;
}

// p is just past "<name": skips the attributes. Null when the tag is broken.
const char* skipAttributes(const char* p) {
    p = skipWhitespace(p);
    while (isAttributeName(*p)) {
        while (isAttributeName(*p))
            ++p;
        p = skipWhitespace(p);
        if (*p++ != '=')
            return nullptr;
        p = skipWhitespace(p);
        const char quote = *p++;
        if (quote != '"' && quote != '\'')
            return nullptr;
        p = findChar(p, quote);
        if (!p)
            return nullptr;
        p = skipWhitespace(p + 1);
    }
    return p;
}

// The first element nested deeper than limit, or null. The walk follows the
// parser's own reading of markup, so the parser never recurses deeper than
// counted here before it either finishes or fails; the walk stops where the
// parser would fail.
const char* tooDeepElement(const char* p, int limit) {
    int depth = 0;
    while ((p = findChar(p, '<')) != nullptr) {
        const char* start = p++;
        if (*p == '/') {
            p = skipWhitespace(skipNodeName(p + 1));
            if (depth == 0 || *p != '>')
                return nullptr;
            --depth;
            ++p;
        } else if (*p == '?') {
            p = skipPast(p + 1, "?>");
        } else if (*p == '!') {
            p = skipBangMarkup(p + 1);
        } else {
            if (++depth > limit)
                return start;
            const char* name = p;
            p = skipNodeName(p);
            if (p == name || !(p = skipAttributes(p)))
                return nullptr;
            if (*p == '/' && p[1] == '>') {
                --depth;
                p += 2;
            } else if (*p++ != '>') {
                return nullptr;
            }
        }
        if (!p)
            return nullptr;
    }
    return nullptr;
}

void printParseError(const char* what, const char* where) {
    std::printf("parse error: %s at %s", what, where);
}

} // namespace

XMLHelper::XMLHelper() = default;

XMLHelper::~XMLHelper() {
    mDocument.clear();
}

void XMLHelper::clear() {
    mDocument.clear();
}

void XMLHelper::setText(std::string_view bytes) {
    mText.assign(bytes.begin(), bytes.end());
    mText.push_back('\0');
}

bool XMLHelper::parse(XmlNode*& outRoot) {
    mDocument.clear();
    if (mText.empty() || mText.back() != '\0')
        mText.push_back('\0');
    char* text = mText.data();
    if (const char* deep = tooDeepElement(text, cMaxXmlNesting)) {
        printParseError("element nesting too deep", deep);
        return false;
    }
    try {
        mDocument.parse<0>(text);
    } catch (const rapidxml::parse_error& error) {
        printParseError(error.what(), error.where<char>());
        mDocument.clear();
        return false;
    }
    outRoot = mDocument.first_node();
    return true;
}

bool loadXmlFile(std::string_view name, XmlNode*& outRoot, XMLHelper& holder,
                 std::string_view extension, uint32_t expectedCrc, bool checkCrc) {
    holder.clear();
    std::string path;
    dataFilePath(name, path, extension);
    const std::filesystem::path file = resolvePath(path);

    // One open, one fstat and reads straight into the holder's text: start-up
    // opens many small files, where a stream's set-up and seeks cost more
    // than the reading. A folder opens on Linux but has no bytes to read;
    // a pipe opens without waiting for a writer and is refused as well.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    const off_t length = status.st_size;
    std::vector<char>& text = holder.text();
    bool complete = false;
    bool ended = false;  // the file ended before its length
    bool failed = false; // a read failed, errno tells why
    // zlib's CRC-32, computed by libdeflate with the processor's carry-less
    // multiply, over each piece as it is read, while the piece is still in
    // the cache: a large file is then brought in from memory once.
    constexpr off_t cPiece = 256 << 10;
    uint32_t crc = 0;
    try {
        text.assign(static_cast<size_t>(length) + 1, '\0');
        off_t done = 0;
        while (done < length) {
            const ssize_t got = ::read(fd, text.data() + done,
                                       static_cast<size_t>(std::min(length - done, cPiece)));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                (got == 0 ? ended : failed) = true;
                break;
            }
            if (checkCrc)
                crc = libdeflate_crc32(crc, text.data() + done, static_cast<size_t>(got));
            done += got;
        }
        complete = done == length;
    } catch (const std::bad_alloc&) {
        complete = false;
    }
    const int readError = errno;
    ::close(fd);
    if (!complete) {
        if (ended)
            std::printf("fsdfsd");
        else if (failed)
            std::printf("err: %d", readError);
        std::printf("failed to read %.*s\n", static_cast<int>(name.size()), name.data());
        return false;
    }

    if (checkCrc && crc != expectedCrc)
        return false;
    return holder.parse(outRoot);
}
