#pragma once

// The stand-in's text files: one record a line, words separated by blanks,
// "#" starting a comment line.

#include <charconv>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <system_error>

// The whole text as a number; false for anything else.
template <class Number> bool parseSteamNumber(const std::string& text, Number& out) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, out);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

// Hands each record of the file to read: its first word and a stream of the
// rest. A record read refuses is reported on standard output and skipped.
void readSteamRecords(
    const std::filesystem::path& path,
    const std::function<bool(const std::string& kind, std::istringstream& words)>& read);
