#include "content/XmlNesting.h"

#include <rapidxml/rapidxml.hpp>

#include <cstring>

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

} // namespace

// The walk follows the parser's own reading of markup, so the parser never
// recurses deeper than counted here before it either finishes or fails; the
// walk stops where the parser would fail.
const char* tooDeepXmlElement(const char* p, int limit) {
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
