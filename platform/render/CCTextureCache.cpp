#include "platform/render/CCTextureCache.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/render/CCImage.h"
#include "platform/render/CCTexture2D.h"

namespace cocos2d {

namespace {

CCTextureCache* gSharedCache = nullptr;

// The path with "-hd" before its extension.
std::string withHDSuffix(std::string path) {
    CCFileUtils::ccRemoveHDSuffixFromFile(path);
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.rfind('.');
    const size_t at =
        dot == std::string::npos || (slash != std::string::npos && dot < slash) ? path.size() : dot;
    path.insert(at, "-hd");
    return path;
}

bool hasHDSuffix(const std::string& path) {
    std::string plain = path;
    CCFileUtils::ccRemoveHDSuffixFromFile(plain);
    return plain != path;
}

} // namespace

CCTextureCache* CCTextureCache::sharedTextureCache() {
    if (!gSharedCache)
        gSharedCache = new CCTextureCache();
    return gSharedCache;
}

void CCTextureCache::purgeSharedTextureCache() {
    delete gSharedCache;
    gSharedCache = nullptr;
}

CCTextureCache::~CCTextureCache() {
    removeAllTextures();
}

std::string CCTextureCache::resolveImagePath(const std::string& path, float* contentScale) {
    const bool hd =
        CCDirector::hasSharedDirector() && CCDirector::sharedDirector()->getIsHighDefinition();
    const float scale =
        CCDirector::hasSharedDirector() ? CCDirector::sharedDirector()->getContentScaleFactor() : 1;
    if (hd) {
        const std::string full = CCFileUtils::fullPathFromRelativePath(withHDSuffix(path));
        if (CCFileUtils::fileExists(full)) {
            *contentScale = scale;
            return full;
        }
    }
    const std::string full = CCFileUtils::fullPathFromRelativePath(path);
    if (!CCFileUtils::fileExists(full))
        return std::string();
    *contentScale = hasHDSuffix(path) ? scale : 1.0f;
    return full;
}

CCTexture2D* CCTextureCache::addImage(const std::string& path) {
    if (path.empty())
        return nullptr;
    if (CCTexture2D* cached = textureForKey(path))
        return cached;
    float contentScale = 1.0f;
    const std::string file = resolveImagePath(path, &contentScale);
    CCImage image;
    if (file.empty() || !image.initWithImageFile(file))
        return nullptr;
    auto* texture = new CCTexture2D();
    if (!texture->initWithImage(&image, contentScale)) {
        texture->release();
        return nullptr;
    }
    mTextures[path] = texture;
    return texture;
}

CCTexture2D* CCTextureCache::textureForKey(const std::string& path) const {
    const auto found = mTextures.find(path);
    return found == mTextures.end() ? nullptr : found->second;
}

void CCTextureCache::removeUnusedTextures() {
    for (auto it = mTextures.begin(); it != mTextures.end();) {
        if (it->second->isSingleReference()) {
            it->second->release();
            it = mTextures.erase(it);
        } else {
            ++it;
        }
    }
}

void CCTextureCache::removeTexture(CCTexture2D* texture) {
    for (auto it = mTextures.begin(); it != mTextures.end();) {
        if (it->second == texture) {
            it->second->release();
            it = mTextures.erase(it);
        } else {
            ++it;
        }
    }
}

void CCTextureCache::removeTextureForKey(const std::string& path) {
    const auto found = mTextures.find(path);
    if (found != mTextures.end()) {
        found->second->release();
        mTextures.erase(found);
    }
}

void CCTextureCache::removeAllTextures() {
    std::map<std::string, CCTexture2D*> old;
    old.swap(mTextures);
    for (auto& entry : old)
        entry.second->release();
}

} // namespace cocos2d
