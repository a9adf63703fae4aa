#pragma once

// Start-up's option step: resets the option table and reads the option files
// in order, choosing the language folder on the way.

#include <string>
#include <string_view>

// The language folder for a platform language name ("german" gives
// "vellix\de.lproj"); letter case is ignored and unknown names give English.
std::string languageFolderFor(std::string_view language);

// Resets the table with notification off, then reads data/Game.cfg (level 1),
// sets LanguageDirectory from the platform language (or from the option
// "overrideLanguage" when set), reads the folder's Localized.cfg and
// Localized_win32.cfg (level 0), data/Game_win32.cfg (level 1) and User.cfg
// (level 4). A missing file is skipped; each file read overrides the earlier.
void setupLanguageAndPaths(const std::string& platformLanguage);
// The same; without the platform running (platformRunning false) the
// language stays English and "overrideLanguage" is not looked at.
void setupLanguageAndPaths(const std::string& platformLanguage, bool platformRunning);
