#include "scene/views/ImagePaths.h"

#include "platform/engine/CCFileUtils.h"

using namespace cocos2d;

namespace {

constexpr std::string_view kDataPrefix = "data/";

} // namespace

bool findColorImagePath(const std::string& imagePath, std::string& colourPath) {
    colourPath = imagePath;
    const bool hadDataPrefix = colourPath.starts_with(kDataPrefix);
    if (hadDataPrefix)
        colourPath.erase(0, kDataPrefix.size());
    struct Cut {
        const char* marker;
        const char* replacement;
    };
    constexpr Cut cuts[] = {
        {"-hd.", "_Color-hd.png"}, {"-iPad.", "_Color-iPad.png"}, {".", "_Color.png"}};
    bool cut = false;
    for (const Cut& c : cuts) {
        const size_t at = colourPath.rfind(c.marker);
        if (at != std::string::npos) {
            colourPath = colourPath.substr(0, at) + c.replacement;
            cut = true;
            break;
        }
    }
    if (!cut) {
        if (hadDataPrefix)
            colourPath.insert(0, kDataPrefix);
        return false;
    }
    const std::string fullPath = CCFileUtils::fullPathFromRelativePath(colourPath);
    if (hadDataPrefix)
        colourPath.insert(0, kDataPrefix);
    return CCFileUtils::fileExists(fullPath);
}

void removePathExtension(std::string& path) {
    const size_t dot = path.rfind('.');
    if (dot != std::string::npos)
        path.erase(dot);
}

void keepPathExtension(std::string& path) {
    const size_t dot = path.rfind('.');
    if (dot != std::string::npos)
        path.erase(0, dot + 1);
}
