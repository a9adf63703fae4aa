#include "platform/engine/CCFileUtils.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace cocos2d {

namespace {

constexpr std::string_view kHDSuffix = "-hd";

std::string& resourcePath() {
    static std::string path;
    return path;
}

std::string portable(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

} // namespace

void CCFileUtils::setResourcePath(const std::string& path) {
    resourcePath() = portable(path);
}

const std::string& CCFileUtils::getResourcePath() {
    return resourcePath();
}

std::string CCFileUtils::fullPathFromRelativePath(const std::string& relativePath) {
    const std::string path = portable(relativePath);
    if (path.empty() || path.front() == '/' || resourcePath().empty())
        return path;
    std::string full = resourcePath();
    if (full.back() != '/')
        full.push_back('/');
    return full + path;
}

void CCFileUtils::ccRemoveHDSuffixFromFile(std::string& path) {
    const size_t nameStart =
        path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\") + 1;
    size_t end = path.rfind('.');
    if (end == std::string::npos || end < nameStart)
        end = path.size();
    if (end - nameStart >= kHDSuffix.size() &&
        path.compare(end - kHDSuffix.size(), kHDSuffix.size(), kHDSuffix) == 0)
        path.erase(end - kHDSuffix.size(), kHDSuffix.size());
}

bool CCFileUtils::fileExists(const std::string& fullPath) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(portable(fullPath), error))
        return false;
    std::ifstream file(portable(fullPath), std::ios::binary);
    return file.good();
}

} // namespace cocos2d
