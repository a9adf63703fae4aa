#include "platform/render/CCSpriteFrameCache.h"

namespace cocos2d {

namespace {

CCSpriteFrameCache* gSharedFrameCache = nullptr;

} // namespace

CCSpriteFrameCache* CCSpriteFrameCache::sharedSpriteFrameCache() {
    if (!gSharedFrameCache)
        gSharedFrameCache = new CCSpriteFrameCache();
    return gSharedFrameCache;
}

void CCSpriteFrameCache::purgeSharedSpriteFrameCache() {
    delete gSharedFrameCache;
    gSharedFrameCache = nullptr;
}

CCSpriteFrameCache::~CCSpriteFrameCache() {
    removeSpriteFrames();
}

void CCSpriteFrameCache::addSpriteFrame(CCSpriteFrame* frame, const std::string& name) {
    if (!frame)
        return;
    frame->retain();
    auto [it, inserted] = mFrames.try_emplace(name, frame);
    if (!inserted) {
        it->second->release();
        it->second = frame;
    }
}

CCSpriteFrame* CCSpriteFrameCache::spriteFrameByName(const std::string& name) const {
    const auto found = mFrames.find(name);
    return found == mFrames.end() ? nullptr : found->second;
}

void CCSpriteFrameCache::removeSpriteFrameByName(const std::string& name) {
    const auto found = mFrames.find(name);
    if (found != mFrames.end()) {
        found->second->release();
        mFrames.erase(found);
    }
}

void CCSpriteFrameCache::removeSpriteFrames() {
    std::map<std::string, CCSpriteFrame*> old;
    old.swap(mFrames);
    for (auto& entry : old)
        entry.second->release();
}

} // namespace cocos2d
