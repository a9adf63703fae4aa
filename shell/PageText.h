#pragma once

// Texts placed into statements run in the page. Every text a statement
// carries goes between quotes through escapeQuotesForPage, so that the page
// receives exactly the same string whatever it holds.

#include <string>
#include <string_view>

// Escapes text in place for a JavaScript string literal in either kind of
// quotes: backslash and both quotes get a backslash, control characters
// become \n, \r, \t or \u00XX, U+2028 and U+2029 become \u2028 and \u2029,
// and "</" becomes "<\/" so the text cannot close a script element.
void escapeQuotesForPage(std::string& text);
// The escaped copy of text.
std::string escapedForPage(std::string_view text);
// The escaped copy of text between single quotes, or double quotes: one
// argument of a page call.
std::string singleQuotedForPage(std::string_view text);
std::string doubleQuotedForPage(std::string_view text);
