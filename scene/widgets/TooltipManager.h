#pragma once

// The one registry of objects that can explain themselves (gTooltipManager):
// the registered TooltipProtocol objects in registration order, the four
// indicator textures by tooltip kind, and the tap-to-pick mode.
//
// beginTooltipMode reveals every registered object's indicator and takes
// the next tap (priority -10, swallowing: after a pop-up tooltip, before the
// buttons and the board); that tap opens the tooltip of the object nearest
// to it within 50 scene units, puts the indicators away and ends the mode.
// Main thread only.

#include "platform/engine/CCObject.h"
#include "platform/engine/CCTouchDelegate.h"

#include <array>
#include <cstdint>
#include <vector>

namespace cocos2d {
class CCTexture2D;
}

class TooltipProtocol;

class TooltipManager : public cocos2d::CCObject, public cocos2d::CCTargetedTouchDelegate {
public:
    TooltipManager() = default;
    // Releases the loaded textures; the targets are not touched.
    ~TooltipManager() override;

    // Appends an object; false for null or one already registered.
    bool addTarget(TooltipProtocol* target);
    // Removes an object when registered (the others keep their order);
    // false for null only.
    bool removeTarget(TooltipProtocol* target);
    const std::vector<TooltipProtocol*>& targets() const { return mTargets; }

    // The indicator texture of a tooltip kind 0..3, loaded and retained on
    // first use; null for other kinds or a missing image.
    cocos2d::CCTexture2D* indicatorTexture(int32_t kind);

    // Reveals the indicators at their objects' indicator positions and
    // registers the manager for the next tap.
    void beginTooltipMode();
    // Removes the tap registration and puts every indicator away.
    void endTooltipMode();

    // The pick of a tap; always swallows it.
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

    // Forgets the targets and releases the textures (tests, and the shell
    // before it tears the engine down).
    void purge();

    // The pick radius, in scene units.
    static constexpr float cPickRadius = 50.0f;
    // The z-order of the indicators on the game scene.
    static constexpr int cIndicatorZOrder = 2000;

private:
    void releaseTextures();

    std::vector<TooltipProtocol*> mTargets;                    // not owned
    std::array<cocos2d::CCTexture2D*, 4> mIndicatorTextures{}; // retained once loaded
};

extern TooltipManager gTooltipManager;
