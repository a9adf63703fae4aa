#pragma once

// The process-wide table of named sprite frames (sheets register theirs
// here; sprites and animations look them up by name).

#include "platform/engine/CCSpriteFrame.h"

#include <map>
#include <string>

namespace cocos2d {

class CCSpriteFrameCache {
public:
    static CCSpriteFrameCache* sharedSpriteFrameCache();
    // Drops every frame and the cache itself.
    static void purgeSharedSpriteFrameCache();

    // Registers (retains) the frame under the name, replacing any other.
    void addSpriteFrame(CCSpriteFrame* frame, const std::string& name);
    // The frame of that name, or null.
    CCSpriteFrame* spriteFrameByName(const std::string& name) const;
    void removeSpriteFrameByName(const std::string& name);
    void removeSpriteFrames();
    size_t count() const { return mFrames.size(); }

private:
    CCSpriteFrameCache() = default;
    ~CCSpriteFrameCache();

    std::map<std::string, CCSpriteFrame*> mFrames; // each retained
};

} // namespace cocos2d
