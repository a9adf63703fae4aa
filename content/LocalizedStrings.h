#pragma once

// The strings table of the current language and the lookups of displayed
// texts.
//
// The table comes from "Localizable.strings" in the folder the option
// LanguageDirectory names: UTF-16 little-endian text (a byte-order mark
// allowed) of quoted pairs, "key" = "text"; with /* */ comments between
// them. Loaded once at start-up on the main thread, read-only afterwards.

#include "content/TextFormat.h"

#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>

using LocalizedStringTable = std::map<std::string, std::string, std::less<>>;

// UTF-16LE bytes (an odd last byte ignored) as UTF-8; a lone surrogate
// becomes U+FFFD.
std::string utf16leToUtf8(std::string_view bytes);

// Adds the quoted pairs of UTF-8 strings-file text to table: a key given
// twice keeps its last text; \n, \" and \r are translated in keys and texts.
void parseLocalizableStrings(std::string_view text, LocalizedStringTable& table);

// Fills the process-wide table from the language folder's file; a file that
// cannot be read leaves the table empty.
void loadLocalizableStrings();
const LocalizedStringTable& localizedStrings();

// The text of key, or the key itself when the table has none.
std::string localizedString(std::string_view key);
// The text of key, or fallback when the table has none.
std::string localizedStringOrDefault(std::string_view key, std::string_view fallback);

// localizedString held by an autoreleased engine string: valid until the
// engine's autorelease pool drains at the end of the frame. Main thread only.
const char* localizedCString(std::string_view key);

// The text of key with every "%@" read as "%s", formatted with args
// (formatText). Main thread only.
void formatLocalizedArgs(std::string& out, std::string_view key, std::span<const FormatArg> args);

template <typename... Args>
void formatLocalized(std::string& out, std::string_view key, const Args&... args) {
    const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
    formatLocalizedArgs(out, key, list);
}
