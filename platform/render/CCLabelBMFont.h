#pragma once

// A label drawn from a bitmap font: an AngelCode text ".fnt" file (lines of
// "info", "common", "page", "char" and "kerning" records with key=value
// fields) and its page images. In high-definition mode the "-hd" font file
// is preferred; its pixel measures then count as content-scale pixels per
// point. The content size is the widest line by the lines' height.

#include "platform/engine/CCNode.h"
#include "platform/engine/CCProtocols.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace cocos2d {

class CCTexture2D;

// One parsed font file, cached by path.
class CCBMFontConfiguration {
public:
    struct Glyph {
        int x = 0, y = 0, width = 0, height = 0;
        int xOffset = 0, yOffset = 0, xAdvance = 0;
        int page = 0;
    };

    // The parsed file of the path (relative to the resource root), or null
    // when it is missing or has no "common" record or no page.
    static const CCBMFontConfiguration* configurationWithFile(const std::string& path);
    static void purgeCachedData();
    // Parses the text of a file; false when it is no usable font.
    bool parse(const std::string& text);

    int lineHeight = 0;
    int base = 0;
    float contentScale = 1.0f; // pixels per point
    std::string folder;        // of the file, relative to the resource root
    std::map<int, std::string> pages;
    std::map<uint32_t, Glyph> glyphs;
    std::map<uint64_t, int> kernings; // (first << 32) | second

    int kerning(uint32_t first, uint32_t second) const;
};

class CCLabelBMFont : public CCNode, public CCRGBAProtocol {
public:
    // Null when the font file cannot be used.
    static CCLabelBMFont* labelWithString(const char* text, const char* fntFile);
    // The label, or when the font cannot be used an empty one that keeps
    // its text and draws nothing; never null.
    static CCLabelBMFont* labelOrEmpty(const char* text, const char* fntFile);
    ~CCLabelBMFont() override;
    bool initWithString(const char* text, const char* fntFile);

    virtual void setString(const char* text);
    const char* getString() const { return mText.c_str(); }

    void setColor(const ccColor3B& color) override;
    ccColor3B getColor() override { return mColor; }
    uint8_t getOpacity() override { return mOpacity; }
    void setOpacity(uint8_t opacity) override;
    void setIsOpacityModifyRGB(bool value) override { mOpacityModifyRGB = value; }
    bool getIsOpacityModifyRGB() override { return mOpacityModifyRGB; }

    // The number of glyph quads laid out.
    size_t getGlyphCount() const { return mQuads.size(); }
    void draw() override;

private:
    struct PlacedQuad {
        int page;
        ccV3F_C4B_T2F_Quad quad;
    };
    void layout();

    const CCBMFontConfiguration* mConfig = nullptr;
    std::map<int, CCTexture2D*> mPages; // retained
    std::string mText;
    std::vector<PlacedQuad> mQuads;
    ccColor3B mColor = ccWHITE;
    uint8_t mOpacity = 255;
    bool mOpacityModifyRGB = true;
};

} // namespace cocos2d
