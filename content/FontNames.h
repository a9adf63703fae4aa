#pragma once

// The process-wide names of the interface's two fonts: the header font
// (titles, buttons, notices) and the details font (help texts, numbers).
// The game-data load sets them from the options "HeaderFont" and
// "DetailsFont"; every label reads them here. Both are empty until set, and
// an empty name draws with the default sans font (CCFontTable). Main thread
// only.

#include <string>

const char* getHeaderFontName();
const char* getDetailsFontName();
void setInterfaceFontNames(const std::string& headerFont, const std::string& detailsFont);
