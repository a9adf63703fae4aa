#pragma once

// The process-wide cache of textures loaded from image files, keyed by the
// path the caller gave. In high-definition mode (the director's flag) the
// "-hd" file beside an image is preferred and its texture measures its
// content in points (pixels divided by the content scale factor); a name
// that already ends in "-hd" is taken as it is, also measured in points.

#include "platform/engine/CCObject.h"

#include <map>
#include <string>

namespace cocos2d {

class CCTexture2D;

class CCTextureCache {
public:
    static CCTextureCache* sharedTextureCache();
    // Drops every texture and the cache itself.
    static void purgeSharedTextureCache();

    // The texture of the image file (relative to the resource root), loaded
    // on first use; the same texture for the same path; null when the file
    // is missing or no image. The cache holds its own reference.
    CCTexture2D* addImage(const std::string& path);
    // The cached texture of the path, or null.
    CCTexture2D* textureForKey(const std::string& path) const;
    // Drops the textures nobody else holds.
    void removeUnusedTextures();
    void removeTexture(CCTexture2D* texture);
    void removeTextureForKey(const std::string& path);
    void removeAllTextures();
    size_t count() const { return mTextures.size(); }

    // The file that addImage reads for a path, with its pixels per point;
    // empty when none is readable.
    static std::string resolveImagePath(const std::string& path, float* contentScale);

private:
    CCTextureCache() = default;
    ~CCTextureCache();

    std::map<std::string, CCTexture2D*> mTextures; // each retained
};

} // namespace cocos2d
