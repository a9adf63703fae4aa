#include "platform/render/CCFontTable.h"

#include "platform/engine/CCFileUtils.h"

#include <SDL2/SDL_ttf.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>

namespace cocos2d {

namespace {

constexpr const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";
constexpr const char* kDefaultFont = "DejaVuSans.ttf";

std::string normalized(const std::string& name) {
    std::string key;
    for (char c : name) {
        if (c != ' ' && c != '-' && c != '_')
            key.push_back(char(std::tolower(static_cast<unsigned char>(c))));
    }
    if (key.size() > 4 && key.compare(key.size() - 4, 4, ".ttf") == 0)
        key.resize(key.size() - 4);
    return key;
}

std::map<std::string, std::string>& table() {
    static std::map<std::string, std::string> files = [] {
        const std::pair<const char*, const char*> entries[] = {
            {"ArialRoundedMTBold", "DejaVuSans-Bold.ttf"},
            {"Arial", "DejaVuSans.ttf"},
            {"Arial-BoldMT", "DejaVuSans-Bold.ttf"},
            {"Helvetica", "DejaVuSans.ttf"},
            {"Helvetica-Bold", "DejaVuSans-Bold.ttf"},
            {"Tarnwick Sans", "DejaVuSans.ttf"},
            {"Tarnwick Serif", "DejaVuSerif-Bold.ttf"},
            {"BlambotFXProHeavyLowerCapsBB", "DejaVuSans-Bold.ttf"},
            {"BlambotFXProLightBB", "DejaVuSans.ttf"},
            {"NanumGothic", "DejaVuSans.ttf"},
            {"NanumGothicBold", "DejaVuSans-Bold.ttf"},
        };
        std::map<std::string, std::string> result;
        for (const auto& [name, file] : entries)
            result[normalized(name)] = std::string(kFontFolder) + file;
        return result;
    }();
    return files;
}

bool isFontFile(const std::string& path) {
    return path.size() > 4 && CCFileUtils::fileExists(path);
}

} // namespace

std::string CCFontTable::fileForName(const std::string& name) {
    const auto found = table().find(normalized(name));
    if (found != table().end())
        return found->second;
    if (isFontFile(name))
        return name;
    const std::string underRoot = CCFileUtils::fullPathFromRelativePath(name);
    if (isFontFile(underRoot))
        return underRoot;
    return std::string(kFontFolder) + kDefaultFont;
}

void CCFontTable::setFileForName(const std::string& name, const std::string& file) {
    table()[normalized(name)] = file;
}

namespace {

// The open fonts, closed at exit.
struct OpenFonts {
    ~OpenFonts() {
        for (auto& entry : fonts)
            TTF_CloseFont(entry.second);
        if (TTF_WasInit())
            TTF_Quit();
    }
    std::map<std::pair<std::string, int>, TTF_Font*> fonts;
};

} // namespace

TTF_Font* CCFontTable::fontForName(const std::string& name, int pixelSize) {
    static OpenFonts open;
    std::map<std::pair<std::string, int>, TTF_Font*>& fonts = open.fonts;
    if (!TTF_WasInit() && TTF_Init() != 0) {
        std::printf("Font engine failed to start: %s\n", TTF_GetError());
        return nullptr;
    }
    const std::string file = fileForName(name);
    const auto key = std::make_pair(file, std::max(pixelSize, 1));
    const auto found = fonts.find(key);
    if (found != fonts.end())
        return found->second;
    TTF_Font* font = TTF_OpenFont(file.c_str(), key.second);
    if (!font && file != std::string(kFontFolder) + kDefaultFont)
        font = TTF_OpenFont((std::string(kFontFolder) + kDefaultFont).c_str(), key.second);
    if (!font) {
        std::printf("Font not found: %s\n", name.c_str());
        return nullptr;
    }
    fonts[key] = font;
    return font;
}

} // namespace cocos2d
