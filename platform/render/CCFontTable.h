#pragma once

// Font names to font files. The program's data names fonts (the option
// fonts, "ArialRoundedMTBold", the shell's private fonts); free fonts from
// the system stand in for them through one table. Names compare without
// regard to case, blanks, '-' and a ".ttf" ending; a name that is itself a
// readable font file (absolute, or under the resource root) is used as it
// is; unknown names get the default sans font.

#include <string>

typedef struct _TTF_Font TTF_Font;

namespace cocos2d {

class CCFontTable {
public:
    // The font file that draws the named font.
    static std::string fileForName(const std::string& name);
    // Adds or replaces a name's file.
    static void setFileForName(const std::string& name, const std::string& file);
    // The font of that name at that pixel size, opened once and kept for the
    // life of the process; null when no file can be opened.
    static TTF_Font* fontForName(const std::string& name, int pixelSize);
};

} // namespace cocos2d
