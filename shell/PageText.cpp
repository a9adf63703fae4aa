#include "shell/PageText.h"

#include <cstdio>

std::string escapedForPage(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '\\':
        case '\'':
        case '"':
            out += '\\';
            out += char(c);
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\r':
            out += "\\r";
            continue;
        case '\t':
            out += "\\t";
            continue;
        case '/':
            if (i > 0 && text[i - 1] == '<')
                out += '\\';
            out += '/';
            continue;
        default:
            break;
        }
        if (c < 0x20 || c == 0x7f) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", unsigned(c));
            out += code;
            continue;
        }
        // U+2028 and U+2029 (E2 80 A8 / A9) end a line inside a literal.
        if (c == 0xe2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            (static_cast<unsigned char>(text[i + 2]) == 0xa8 ||
             static_cast<unsigned char>(text[i + 2]) == 0xa9)) {
            out += static_cast<unsigned char>(text[i + 2]) == 0xa8 ? "\\u2028" : "\\u2029";
            i += 2;
            continue;
        }
        out += char(c);
    }
    return out;
}

void escapeQuotesForPage(std::string& text) {
    text = escapedForPage(text);
}

std::string singleQuotedForPage(std::string_view text) {
    return "'" + escapedForPage(text) + "'";
}

std::string doubleQuotedForPage(std::string_view text) {
    return "\"" + escapedForPage(text) + "\"";
}
