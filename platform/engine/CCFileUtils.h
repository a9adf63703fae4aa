#pragma once

// File paths of the engine: the resource root (the program's "data" folder)
// and the high-definition "-hd" file suffix. Paths may be written with
// backslashes; they are resolved with '/'.

#include <string>

namespace cocos2d {

class CCFileUtils {
public:
    // The folder relative paths are taken from; empty means the current one.
    static void setResourcePath(const std::string& path);
    static const std::string& getResourcePath();
    // The resource root joined with the path; an absolute path as it is.
    static std::string fullPathFromRelativePath(const std::string& relativePath);
    // Removes "-hd" from the end of the file name, before its extension
    // when it has one ("UI/Face-hd.png" becomes "UI/Face.png"); other names
    // stay as they are.
    static void ccRemoveHDSuffixFromFile(std::string& path);
    // True when the path names a regular file that can be read.
    static bool fileExists(const std::string& fullPath);
};

} // namespace cocos2d
